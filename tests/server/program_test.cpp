// kvanta-catalog as a process: it serves, logs a line per request and stops on SIGTERM.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <regex>
#include <string>

#include "core/util/catalogwire.h"
#include "tests/support/catalogprocess.h"
#include "tests/support/support.h"

namespace {

// Reads the child's standard error up to and including the next line.
std::string readLine(int fd)
{
    std::string line;
    char c = 0;
    while (::read(fd, &c, 1) == 1 && c != '\n') line += c;
    return line;
}

TEST(CatalogProgram, ServesLogsEachRequestAndStopsOnSigterm)
{
    kv::test::TempDir dir;
    const std::string db = (dir / "c.db").string();
    int err[2];
    ASSERT_EQ(::pipe(err), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::dup2(err[1], 2);
        ::execl(KV_CATALOG_PROGRAM, KV_CATALOG_PROGRAM, "--db", db.c_str(), "--listen", "127.0.0.1:0", "--seed-demo",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(err[1]);
    EXPECT_EQ(readLine(err[0]), "kvanta-catalog: the empty catalogue got its demo entries");
    const std::string serving = readLine(err[0]);
    std::smatch m;
    ASSERT_TRUE(std::regex_match(serving, m, std::regex("kvanta-catalog: serving .*c\\.db on 127\\.0\\.0\\.1:([0-9]+)")))
        << serving;
    httplib::Client client("127.0.0.1", std::stoi(m[1].str()));
    const auto r = client.Post("/scripts/sys_getlist.php", "comblen=8&maxnums=20", "application/x-www-form-urlencoded");
    ASSERT_TRUE(r);
    EXPECT_EQ(kv::util::ReadTaggedRows(r->body).size(), 4u);
    EXPECT_TRUE(std::regex_match(readLine(err[0]),
                                 std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d 127\\.0\\.0\\.1 POST "
                                            "/scripts/sys_getlist\\.php 200 \\d+ \\d+\\.\\d")));
    ::kill(pid, SIGTERM);
    EXPECT_EQ(readLine(err[0]), "kvanta-catalog: SIGTERM, stopping");
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ::close(err[0]);
}

// The exit status of the program run with `args` and no input or output.
int exitStatus(std::vector<std::string> args)
{
    args.insert(args.begin(), KV_CATALOG_PROGRAM);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execv(KV_CATALOG_PROGRAM, argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CatalogProgram, AWrongLimitIsRefusedBeforeAnythingStarts)
{
    const std::vector<std::vector<std::string>> wrong = {
        {"--page-kb", "0"},          {"--page-kb"},           {"--page-size", "100001"}, {"--idle-timeout", "-1"},
        {"--max-connections", "x"}, {"--per-address", "1e3"}, {"--threads", "65"},       {"--bogus"},
    };
    for (const auto& args : wrong) EXPECT_EQ(exitStatus(args), 2) << args[0];
    EXPECT_EQ(exitStatus({"--help"}), 0);
}

TEST(CatalogProgram, ThePageSizeOfTheCommandLineReachesTheList)
{
    kv::test::TempDir dir;
    const kv::test::CatalogProcess server(KV_CATALOG_PROGRAM, (dir / "c.db").string(), dir / "log",
                                          {"--seed-demo", "--page-size", "2"});
    const auto rows = kv::util::ReadTaggedRows(server.Post("/scripts/scr_getlist.php", {{"fltid", "1"}}));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(kv::util::RowField(rows[1], "next_offset"), "2");
}

} // namespace

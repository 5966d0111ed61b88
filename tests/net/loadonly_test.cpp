#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/archive/archive.h"
#include "core/archive/drawpage.h"
#include "core/archive/sample.h"
#include "tests/net/localserver.h"
#include "tests/support/drawpages.h"
#include "tests/support/support.h"

#ifdef KV_PROGRAM

using namespace kv;

namespace {

struct ProgramRun {
    int code = -1;
    std::string err;
};

// The program as cron starts it: no display, the operator's address from the environment.
ProgramRun RunProgram(const std::filesystem::path& dataDir, const std::string& operatorUrl)
{
    const std::string errFile = (dataDir / "stderr.txt").string();
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM KVANTA_OPERATOR_URL='" + operatorUrl +
                                "' '" KV_PROGRAM "' --data-dir '" + dataDir.string() + "' loadonly 2>'" + errFile + "'";
    ProgramRun r;
    const int status = std::system(command.c_str());
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = test::ReadBytes(errFile);
    return r;
}

} // namespace

TEST(LoadOnly, DownloadsFromTheSiteAndExitsZero)
{
    const game::TDrawsArray site = archive::SyntheticDraws(130, 21, 1);
    test::LocalServer s;
    std::vector<std::string> asked;
    s.server.Get("/zarvik/archive", [&](const httplib::Request& req, httplib::Response& res) {
        asked.push_back(req.get_param_value("firstDraw") + "-" + req.get_param_value("lastDraw"));
        const int first = std::stoi(req.get_param_value("firstDraw"));
        const int last = std::stoi(req.get_param_value("lastDraw"));
        res.set_content(test::OperatorPageFor(site, first, last), "text/html; charset=utf-8");
    });
    s.Start();
    test::TempDir dir;
    archive::WriteArchiveFile(dir / archive::ArchiveFileName, game::TDrawsArray(site.begin(), site.begin() + 20));

    const ProgramRun r = RunProgram(dir.path(), s.Url());
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(asked, (std::vector<std::string>{"00021-00070", "00071-00120", "00121-00170"}));
    EXPECT_EQ(archive::ReadArchiveFile(dir / archive::ArchiveFileName).draws, site);
    EXPECT_NE(r.err.find("Загрузка архива тиражей завершена, добавлено тиражей: 110"), std::string::npos) << r.err;
}

TEST(LoadOnly, ASiteThatNeverRunsOutEndsByItself)
{
    // Every asked range comes back full: only the download's own limit ends the run.
    test::LocalServer s;
    s.server.Get("/zarvik/archive", [&](const httplib::Request& req, httplib::Response& res) {
        const int first = std::stoi(req.get_param_value("firstDraw"));
        game::TDrawsArray page = archive::SyntheticDraws(archive::DrawPageRange, static_cast<uint32_t>(first), first);
        for (game::TDraw& d : page) d.SetDateText("01.02.2020 10:00");
        std::reverse(page.begin(), page.end());
        res.set_content(test::OperatorPage(page), "text/html; charset=utf-8");
    });
    s.Start();
    test::TempDir dir;
    const game::TDrawsArray had = archive::SyntheticDraws(30, 3, 1);
    archive::WriteArchiveFile(dir / archive::ArchiveFileName, had);

    const auto started = std::chrono::steady_clock::now();
    const ProgramRun r = RunProgram(dir.path(), s.Url());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::minutes(2));
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("За одну загрузку принимается не больше 100000 тиражей; загрузка остановлена, следующая "
                         "продолжит с тиража 100031."),
              std::string::npos)
        << r.err;
    const game::TDrawsArray now = archive::ReadArchiveFile(dir / archive::ArchiveFileName).draws;
    ASSERT_EQ(now.size(), 100030u);
    EXPECT_EQ(game::TDrawsArray(now.begin(), now.begin() + 30), had);
}

TEST(LoadOnly, AFailingSiteExitsNonZeroAndKeepsTheArchive)
{
    test::LocalServer s;
    int calls = 0;
    s.server.Get("/zarvik/archive", [&](const httplib::Request&, httplib::Response& res) {
        ++calls;
        res.status = 500;
        res.set_content("down", "text/plain");
    });
    s.Start();
    test::TempDir dir;
    const game::TDrawsArray had = archive::SyntheticDraws(7, 3, 1);
    archive::WriteArchiveFile(dir / archive::ArchiveFileName, had);

    const ProgramRun r = RunProgram(dir.path(), s.Url());
    EXPECT_NE(r.code, 0);
    EXPECT_EQ(calls, 1) << "no question, no retry";
    EXPECT_NE(r.err.find("The requested URL returned error: 500"), std::string::npos) << r.err;
    EXPECT_EQ(archive::ReadArchiveFile(dir / archive::ArchiveFileName).draws, had);

    // Nobody listening at all.
    const std::string dead = s.Url();
    s.Stop();
    const ProgramRun gone = RunProgram(dir.path(), dead);
    EXPECT_NE(gone.code, 0);
    EXPECT_NE(gone.err.find("Failed to connect to 127.0.0.1"), std::string::npos) << gone.err;
}

#endif

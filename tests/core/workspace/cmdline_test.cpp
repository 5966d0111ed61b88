#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>

#include "core/online/batch.h"
#include "core/workspace/cmdline.h"
#include "tests/support/support.h"

using namespace kv;

TEST(CommandLine, WordForms)
{
    struct Case { const char* arg; const char* word; bool match; };
    const Case cases[] = {
        {"restart", "restart", true},       {"RESTART", "restart", true},
        {"-Restart", "restart", true},      {"--restart", "restart", true},
        {"/LOADONLY", "loadonly", true},    {"\\fullRecreate", "fullrecreate", true},
        {"--No-Language", "no-language", true},
        {"---restart", "restart", false},   {"restarts", "restart", false},
        {"-", "restart", false},            {"", "restart", false},
        {"//restart", "restart", false},    {"fullrefresh", "fullrecreate", false},
    };
    for (const Case& c : cases) EXPECT_EQ(workspace::MatchesWord(c.arg, c.word), c.match) << c.arg;
}

TEST(CommandLine, ParseAndDataDir)
{
    const workspace::CommandLine cmd = workspace::ParseCommandLine({"/LoadOnly", "--data-dir", "/x/y", "-fullrefresh", "what"});
    EXPECT_TRUE(cmd.loadOnly);
    EXPECT_TRUE(cmd.fullRefresh);
    EXPECT_FALSE(cmd.fullRecreate);
    EXPECT_FALSE(cmd.restart);
    EXPECT_EQ(cmd.dataDir, "/x/y");
    EXPECT_EQ(cmd.unknown, std::vector<std::string>{"what"});
    EXPECT_EQ(cmd.error, "лишнее слово what");
    EXPECT_TRUE(workspace::IsBatchRun(cmd));
    EXPECT_FALSE(workspace::IsBatchRun(workspace::ParseCommandLine({"restart", "no-language"})));
    EXPECT_EQ(workspace::ParseCommandLine({"--data-dir=/a b"}).dataDir, "/a b");

    const workspace::CommandLine info = workspace::ParseCommandLine({"--version", "-h"});
    EXPECT_TRUE(info.version);
    EXPECT_TRUE(info.help);
    EXPECT_TRUE(info.unknown.empty());
    EXPECT_TRUE(workspace::ParseCommandLine({"/?"}).help);
    EXPECT_EQ(workspace::VersionText(), std::string("Kvanta_8x20 ") + KV_VERSION + "\n");
    for (const char* word : {"--data-dir", "loadonly", "fullrecreate", "fullrefresh", "restart", "no-language",
                             "--version", "--help", "KVANTA_DATA_DIR", "XDG_DATA_HOME"})
        EXPECT_NE(workspace::UsageText().find(word), std::string::npos) << word;
}

TEST(CommandLine, NumbersAreReadWholeAndEchoesAreSafe)
{
    const struct {
        const char* text;
        bool ok;
        int64_t value;
    } numbers[] = {{"5", true, 5},         {"1", true, 1},      {"100", true, 100}, {"0", false, 0},  {"101", false, 0},
                   {"5x", false, 0},       {"1e3", false, 0},   {" 5", false, 0},   {"+5", false, 0}, {"", false, 0},
                   {"-1", false, 0},       {"4294967297", false, 0},               {"99999999999999999999", false, 0}};
    for (const auto& n : numbers) {
        int64_t v = 0;
        EXPECT_EQ(workspace::ParseWholeNumber(n.text, 1, 100, v), n.ok) << n.text;
        EXPECT_EQ(v, n.value) << n.text;
    }
    EXPECT_EQ(workspace::SafeText("NUMS"), "NUMS");
    EXPECT_EQ(workspace::SafeText("Числа"), "Числа");
    EXPECT_EQ(workspace::SafeText("a\xff\x1b[2Jb"), "a\\xFF\\x1B[2Jb");
    EXPECT_EQ(workspace::SafeText("\xd0\xa7\n"), "Ч\\x0A");
    // Qt's own options pass to a window start only, with their values.
    EXPECT_EQ(workspace::ParseCommandLine({"-platform", "offscreen", "restart"}).qtArgs,
              (std::vector<std::string>{"-platform", "offscreen"}));
    EXPECT_EQ(workspace::ParseCommandLine({"-style"}).error, "не задано значение параметра -style");
}

TEST(CommandLine, DataDirOrder)
{
    test::TempDir exe;
    const std::string writable = exe.path().string();
    const std::string missing = (exe / "gone").string();   // a folder that cannot be written
    // A writable prefix with the program installed into it.
    std::filesystem::create_directories(exe / "usr/bin");
    std::filesystem::create_directories(exe / "usr/share/applications");
    test::WriteBytes(exe / "usr/share/applications/kvanta-8x20.desktop", "[Desktop Entry]\n");
    const std::string installed = (exe / "usr/bin").string();
    struct Case {
        const char* what;
        std::vector<std::string> args;
        const char* env;
        const char* xdg;
        const char* home;
        std::string exeDir;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"portable: beside a writable executable", {}, nullptr, "/xdg", "/home/u", writable, writable},
        {"installed: the XDG data folder", {}, nullptr, "/xdg", "/home/u", missing, "/xdg/Kvanta_8x20"},
        {"installed into a writable prefix", {}, nullptr, "/xdg", "/home/u", installed, "/xdg/Kvanta_8x20"},
        {"installed without XDG_DATA_HOME", {}, nullptr, nullptr, "/home/u", missing, "/home/u/.local/share/Kvanta_8x20"},
        {"a relative XDG_DATA_HOME is ignored", {}, nullptr, "rel", "/home/u", missing, "/home/u/.local/share/Kvanta_8x20"},
        {"the environment before the executable", {}, "/env", "/xdg", "/home/u", writable, "/env"},
        {"the command line first", {"--data-dir", "/cmd"}, "/env", "/xdg", "/home/u", missing, "/cmd"},
    };
    const auto put = [](const char* name, const char* value) {
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    };
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    for (const Case& c : cases) {
        put("KVANTA_DATA_DIR", c.env);
        put("XDG_DATA_HOME", c.xdg);
        put("HOME", c.home);
        EXPECT_EQ(workspace::ResolveDataDir(workspace::ParseCommandLine(c.args), c.exeDir), c.expected) << c.what;
    }
    put("KVANTA_DATA_DIR", nullptr);
    put("XDG_DATA_HOME", nullptr);
    put("HOME", savedHome.c_str());
}

TEST(CommandLine, DataDirBesideAReadOnlyProgram)
{
    // A folder without write permission counts as the system's (root may write anywhere).
    test::TempDir exe;
    const std::string writable = exe.path().string();
    std::filesystem::permissions(exe.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (::access(writable.c_str(), W_OK) == 0) {
        std::filesystem::permissions(exe.path(), std::filesystem::perms::owner_all);
        GTEST_SKIP() << "running as root: every folder is writable";
    }
    ::setenv("XDG_DATA_HOME", "/xdg", 1);
    EXPECT_EQ(workspace::ResolveDataDir(workspace::CommandLine{}, writable), "/xdg/Kvanta_8x20");
    ::unsetenv("XDG_DATA_HOME");
    std::filesystem::permissions(exe.path(), std::filesystem::perms::owner_all);
}

TEST(CommandLine, PrepareDataDirNamesTheFolderAndWhatIsWrong)
{
    test::TempDir dir;
    const auto nested = dir.path() / "a" / "b";
    EXPECT_EQ(workspace::PrepareDataDir(nested), "");
    EXPECT_TRUE(std::filesystem::is_directory(nested));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(nested), {}), 0) << "the write probe is removed";

    const auto file = dir.path() / "file";
    test::WriteBytes(file, "x");
    struct Case {
        std::filesystem::path path;
        const char* start;
    };
    // Root passes permission checks, so the failures come from what nobody can do.
    for (const Case& c : {Case{file, "Папка данных программы недоступна:\n"},
                          Case{file / "sub", "Не удалось создать папку данных программы:\n"},
                          Case{"/proc/self", "Папка данных программы недоступна для записи:\n"}}) {
        const std::string text = workspace::PrepareDataDir(c.path);
        EXPECT_EQ(text.rfind(c.start, 0), 0u) << text;
        EXPECT_NE(text.find(c.path.string()), std::string::npos) << text;
        EXPECT_NE(text.find("--data-dir"), std::string::npos) << text;
    }
}

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/shell/batch.h"
#include "core/shell/cmdline.h"
#include "core/shell/formsettings.h"
#include "core/shell/process.h"
#include "core/shell/shell.h"
#include "core/shell/workspace.h"
#include "core/stakes/stakesfile.h"
#include "core/util/error.h"
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
    for (const Case& c : cases) EXPECT_EQ(shell::MatchesWord(c.arg, c.word), c.match) << c.arg;
}

TEST(CommandLine, ParseAndDataDir)
{
    const shell::CommandLine cmd = shell::ParseCommandLine({"/LoadOnly", "--data-dir", "/x/y", "-fullrefresh", "what"});
    EXPECT_TRUE(cmd.loadOnly);
    EXPECT_TRUE(cmd.fullRefresh);
    EXPECT_FALSE(cmd.fullRecreate);
    EXPECT_FALSE(cmd.restart);
    EXPECT_EQ(cmd.dataDir, "/x/y");
    EXPECT_EQ(cmd.unknown, std::vector<std::string>{"what"});
    EXPECT_TRUE(shell::IsBatchRun(cmd));
    EXPECT_FALSE(shell::IsBatchRun(shell::ParseCommandLine({"restart", "no-language"})));
    EXPECT_EQ(shell::ParseCommandLine({"--data-dir=/a b"}).dataDir, "/a b");

    const shell::CommandLine info = shell::ParseCommandLine({"--version", "-h"});
    EXPECT_TRUE(info.version);
    EXPECT_TRUE(info.help);
    EXPECT_TRUE(info.unknown.empty());
    EXPECT_TRUE(shell::ParseCommandLine({"/?"}).help);
    EXPECT_EQ(shell::VersionText(), std::string("Kvanta_8x20 ") + KV_VERSION + "\n");
    for (const char* word : {"--data-dir", "loadonly", "fullrecreate", "fullrefresh", "restart", "no-language",
                             "--version", "--help", "KVANTA_DATA_DIR", "XDG_DATA_HOME"})
        EXPECT_NE(shell::UsageText().find(word), std::string::npos) << word;
}

TEST(CommandLine, DataDirOrder)
{
    test::TempDir exe;
    const std::string writable = exe.path().string();
    const std::string missing = (exe / "gone").string();   // a folder that cannot be written
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
        EXPECT_EQ(shell::ResolveDataDir(shell::ParseCommandLine(c.args), c.exeDir), c.expected) << c.what;
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
    EXPECT_EQ(shell::ResolveDataDir(shell::CommandLine{}, writable), "/xdg/Kvanta_8x20");
    ::unsetenv("XDG_DATA_HOME");
    std::filesystem::permissions(exe.path(), std::filesystem::perms::owner_all);
}

TEST(ShellServices, BusyCounterAndQuestions)
{
    test::ScriptedShell sh;
    sh.UnmarkBusy();
    EXPECT_EQ(sh.BusyCount(), 0) << "never below zero";
    {
        shell::BusyScope outer(sh, "Загрузка...");
        shell::BusyScope inner(sh);
        EXPECT_EQ(sh.BusyCount(), 2);
    }
    EXPECT_FALSE(sh.IsBusy());
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Загрузка...", ""}));

    EXPECT_EQ(shell::Shell::DeleteQuestion(1), "Удалить выделенную запись?");
    EXPECT_EQ(shell::Shell::DeleteQuestion(3), "Удалить все выделенные записи (всего будет удалено 3 записи(ей))?");
    sh.answers = {true};
    EXPECT_TRUE(sh.AskDelete(2));
    EXPECT_FALSE(sh.AskDelete(1)) << "No is preselected";
    ASSERT_EQ(sh.questions.size(), 2u);
    EXPECT_EQ(sh.questions[0].caption, "Предупреждение");
    EXPECT_FALSE(sh.questions[0].yesIsDefault);
    EXPECT_TRUE(sh.Confirm("?"));
    EXPECT_EQ(sh.questions.back().caption, "Подтверждение");

    sh.ShowFailure("Ошибка чтения файла тиражей!", "причина");
    ASSERT_EQ(sh.messages.size(), 1u);
    EXPECT_EQ(sh.messages[0].kind, shell::MessageKind::Error);
    EXPECT_EQ(sh.messages[0].text, "Ошибка чтения файла тиражей!\n\nпричина");
}

TEST(ShellServices, ProgressWindow)
{
    test::ScriptedShell sh;
    sh.ProgressOpen(10, true);
    try {
        sh.ProgressOpen(5, false);
        FAIL() << "a second progress window";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Окно индикатора уже создано!");
    }
    EXPECT_EQ(sh.ProgressMaximum(), 10) << "the first window stays as it was";
    sh.ProgressStep(4);
    sh.ProgressStep(20);
    EXPECT_EQ(sh.ProgressPosition(), 10);
    sh.ProgressSetPosition(-3);
    EXPECT_EQ(sh.ProgressPosition(), 0);
    EXPECT_FALSE(sh.ProgressCancelled());
    sh.cancelProgress = true;
    EXPECT_TRUE(sh.ProgressCancelled());
    sh.ProgressClose();
    EXPECT_FALSE(sh.ProgressCancelled()) << "no window, nothing to cancel";
    sh.ProgressOpen(1, false);
    EXPECT_TRUE(sh.ProgressIsOpen());
}

TEST(StakesLock, SecondOpenIsRefusedUntilTheFirstCloses)
{
    test::TempDir dir;
    const auto path = dir / stakes::TStakesFile::FileName;
    stakes::TStakesFile first, second;
    first.Open(path);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(first.Size(), 0);
    EXPECT_THROW(second.Open(path), Error);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_TRUE(first.IsOpen());
    first.Close();
    EXPECT_NO_THROW(second.Open(path));
}

TEST(StakesLock, BatchRunRefusesALockedDirectory)
{
    test::TempDir dir;
    shell::Workspace running(dir.path());
    ASSERT_TRUE(running.OpenStakesFile());
    shell::Workspace batch(dir.path());
    test::ScriptedShell sh;
    EXPECT_EQ(shell::RunBatch(batch, sh, shell::ParseCommandLine({"fullrefresh"})), 1);
    ASSERT_EQ(sh.messages.size(), 1u);
    EXPECT_EQ(sh.messages[0].text.substr(0, 56), std::string(shell::Workspace::ExclusiveAccessText()).substr(0, 56));
    EXPECT_TRUE(running.StakesFile().IsOpen());
}

TEST(FormSettingsFile, OneKeyAtATime)
{
    test::TempDir dir;
    const auto path = dir / "Kvanta_8x20.frm";
    test::WriteBytes(path, "[TFormRepeats]\r\nLen=5\r\n[TFormMain]\r\nSortedDraws=1\r\nNormPos=1,2,x,4\r\nWeekLen=abc\r\n");
    const shell::FormSettings frm(path);
    EXPECT_TRUE(frm.ReadBool("SortedDraws", false));
    EXPECT_EQ(frm.ReadInt("WeekLen", 1000), 1000) << "garbage takes the default";
    EXPECT_EQ(frm.ReadInt("DrawsStatLen", 1000), 1000);
    int rect[4] = {9, 9, 9, 9};
    EXPECT_FALSE(frm.ReadRect("NormPos", rect));
    EXPECT_EQ(rect[0], 9);

    frm.WriteBool("ColorDraws", false);
    const int r[4] = {10, 20, 810, 620};
    frm.WriteRect("NormPos", r);
    EXPECT_TRUE(frm.ReadRect("NormPos", rect));
    EXPECT_EQ(rect[2], 810);
    EXPECT_EQ(test::ReadBytes(path),
              "[TFormRepeats]\r\nLen=5\r\n[TFormMain]\r\nSortedDraws=1\r\nNormPos=10,20,810,620\r\nWeekLen=abc\r\nColorDraws=0\r\n");
    EXPECT_EQ(frm.WithSection("TFormRepeats").ReadInt("Len", 0), 5);
}

TEST(Processes, FindsOnlyOtherProcesses)
{
    // A copy of sleep under a name nobody else uses: found while it runs, not after.
    test::TempDir dir;
    const std::string name = "kvwait" + std::to_string(::getpid());
    const auto exe = dir / name;
    std::filesystem::copy_file("/bin/sleep", exe);
    EXPECT_FALSE(shell::OtherProcessRunning(name));
    pid_t child = 0;
    char arg0[] = "kvwait";
    char arg1[] = "30";
    char* argv[] = {arg0, arg1, nullptr};
    ASSERT_EQ(::posix_spawn(&child, exe.c_str(), nullptr, nullptr, argv, environ), 0);
    EXPECT_TRUE(shell::OtherProcessRunning(name));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(shell::OtherProcessRunning(name));
}

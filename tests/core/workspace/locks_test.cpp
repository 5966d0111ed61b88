#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/online/batch.h"
#include "core/workspace/cmdline.h"
#include "core/workspace/formsettings.h"
#include "core/workspace/process.h"
#include "core/shell/shell.h"
#include "core/workspace/workspace.h"
#include "core/stakes/stakesfile.h"
#include "core/util/error.h"
#include "tests/support/support.h"

using namespace kv;

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
    workspace::Workspace running(dir.path());
    ASSERT_TRUE(running.OpenStakesFile());
    workspace::Workspace batch(dir.path());
    test::ScriptedShell sh;
    EXPECT_EQ(online::RunBatch(batch, sh, workspace::ParseCommandLine({"fullrefresh"})), 1);
    ASSERT_EQ(sh.messages.size(), 1u);
    EXPECT_EQ(sh.messages[0].text, batch.ExclusiveAccessText());
    EXPECT_TRUE(running.StakesFile().IsOpen());
}

TEST(FormSettingsFile, OneKeyAtATime)
{
    test::TempDir dir;
    const auto path = dir / "Kvanta_8x20.frm";
    // Unreadable values, and a last line of binary garbage that another editor left.
    const std::string damaged = test::ReadBytes(std::filesystem::path(KV_TEST_DATA) / "broken" / "damaged.frm");
    test::WriteBytes(path, damaged);
    const workspace::FormSettings frm(path);
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
    // The garbage line is kept: a rewrite never drops what it cannot read.
    EXPECT_EQ(test::ReadBytes(path), std::string("[TFormRepeats]\r\nLen=5\r\n[TFormMain]\r\nSortedDraws=1\r\n"
                                                 "NormPos=10,20,810,620\r\nWeekLen=abc\r\nColorDraws=0\r\n"
                                                 "\0\xFF\xFE garbage without a sign\r\n",
                                                 129));
    EXPECT_EQ(frm.WithSection("TFormRepeats").ReadInt("Len", 0), 5);
}

TEST(Processes, FindsOnlyOtherProcesses)
{
    // A copy of sleep under a name nobody else uses: found while it runs, not after.
    test::TempDir dir;
    const std::string name = "kvwait" + std::to_string(::getpid());
    const auto exe = dir / name;
    std::filesystem::copy_file("/bin/sleep", exe);
    EXPECT_FALSE(workspace::OtherProcessRunning(name));
    pid_t child = 0;
    char arg0[] = "kvwait";
    char arg1[] = "30";
    char* argv[] = {arg0, arg1, nullptr};
    ASSERT_EQ(::posix_spawn(&child, exe.c_str(), nullptr, nullptr, argv, environ), 0);
    EXPECT_TRUE(workspace::OtherProcessRunning(name));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(workspace::OtherProcessRunning(name));
}

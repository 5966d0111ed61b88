#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/workspace/formsettings.h"
#include "core/workspace/viewsettings.h"
#include "core/workspace/workspace.h"
#include "tests/support/support.h"

using namespace kv;
using workspace::TViewSettings;

namespace {

std::string frmPath(const test::TempDir& dir)
{
    return (dir / workspace::Workspace::FormFileName).string();
}

} // namespace

TEST(ViewSettings, AMissingFileGivesTheDefaultsAndIsNotCreated)
{
    test::TempDir dir;
    workspace::Workspace ws(dir.path());
    ws.LoadViewSettings();
    const TViewSettings& v = ws.View();
    EXPECT_FALSE(v.SortedDraws);
    EXPECT_TRUE(v.ColorDraws);
    EXPECT_TRUE(v.ColorCombs);
    EXPECT_FALSE(v.PrefetchsEnabled);
    EXPECT_TRUE(v.ShowTotalLine);
    EXPECT_FALSE(v.StakesLogEnabled);
    EXPECT_TRUE(v.StakesScrollEnabled);
    EXPECT_TRUE(v.StakesCheckOnLine);
    EXPECT_FALSE(v.ScriptLogEnabled);
    EXPECT_TRUE(v.TabTables);
    EXPECT_EQ(v.RatingsEffMode, 1);
    EXPECT_EQ(v.DownloadDrawsOnStart, 0);
    EXPECT_FALSE(std::filesystem::exists(frmPath(dir)));
}

TEST(ViewSettings, EveryKeyIsWrittenUnderItsNameAndReadBack)
{
    test::TempDir dir;
    test::WriteBytes(frmPath(dir), "[TFormMain]\r\nNormPos=1,2,3,4\r\n");
    TViewSettings changed;
    changed.SortedDraws = true;
    changed.ColorDraws = false;
    changed.ColorCombs = false;
    changed.PrefetchsEnabled = true;
    changed.ShowTotalLine = false;
    changed.StakesLogEnabled = true;
    changed.StakesScrollEnabled = false;
    changed.StakesCheckOnLine = false;
    changed.ScriptLogEnabled = true;
    changed.TabTables = false;
    changed.RatingsEffMode = 2;
    changed.DownloadDrawsOnStart = 1;
    {
        workspace::Workspace ws(dir.path());
        ws.LoadViewSettings();
        ws.SetViewSettings(changed);
        EXPECT_EQ(ws.View(), changed);
    }
    EXPECT_EQ(test::ReadBytes(frmPath(dir)),
              "[TFormMain]\r\nNormPos=1,2,3,4\r\nSortedDraws=1\r\nColorDraws=0\r\nColorCombs=0\r\nPrefetchsEnabled=1\r\n"
              "ShowTotalLine=0\r\nStakesLogEnabled=1\r\nStakesScrollEnabled=0\r\nStakesCheckOnLine=0\r\n"
              "ScriptLogEnabled=1\r\nTabTables=0\r\nRatingsEffMode=2\r\n"
              "DownloadDrawsOnStart=1\r\n");

    workspace::Workspace again(dir.path());
    again.LoadViewSettings();
    EXPECT_EQ(again.View(), changed);
}

TEST(ViewSettings, OnlyTheChangedKeyIsWritten)
{
    test::TempDir dir;
    test::WriteBytes(frmPath(dir), "[TFormRepeats]\r\nLen=5\r\n[TFormMain]\r\nShowTotalLine=1\r\n");
    workspace::Workspace ws(dir.path());
    ws.LoadViewSettings();
    ws.SetViewFlag(&TViewSettings::ShowTotalLine, true);
    EXPECT_EQ(test::ReadBytes(frmPath(dir)), "[TFormRepeats]\r\nLen=5\r\n[TFormMain]\r\nShowTotalLine=1\r\n");
    ws.SetViewFlag(&TViewSettings::StakesScrollEnabled, false);
    ws.SetViewFlag(&TViewSettings::ShowTotalLine, false);
    EXPECT_EQ(test::ReadBytes(frmPath(dir)),
              "[TFormRepeats]\r\nLen=5\r\n[TFormMain]\r\nShowTotalLine=0\r\nStakesScrollEnabled=0\r\n");
    EXPECT_FALSE(ws.View().StakesScrollEnabled);
    EXPECT_FALSE(ws.View().ShowTotalLine);
}

TEST(ViewSettings, ADamagedValueIsReadAsTheDefault)
{
    struct Case {
        const char* line;
        bool TViewSettings::* flag;   // nullptr: the line is that of an integer key
        int expected;
    };
    const std::vector<Case> cases = {
        {"SortedDraws=maybe", &TViewSettings::SortedDraws, 0},
        {"SortedDraws=", &TViewSettings::SortedDraws, 0},
        {"SortedDraws=true", &TViewSettings::SortedDraws, 1},
        {"ColorDraws=x1", &TViewSettings::ColorDraws, 1},
        {"ColorDraws=0", &TViewSettings::ColorDraws, 0},
        {"ShowTotalLine=FALSE", &TViewSettings::ShowTotalLine, 0},
        {"StakesCheckOnLine=2", &TViewSettings::StakesCheckOnLine, 1},
        {"TabTables=off", &TViewSettings::TabTables, 1},
        {"PrefetchsEnabled=-1", &TViewSettings::PrefetchsEnabled, 1},
        {"RatingsEffMode=7", nullptr, 1},
        {"RatingsEffMode=-1", nullptr, 1},
        {"RatingsEffMode=abc", nullptr, 1},
        {"RatingsEffMode=0", nullptr, 0},
        {"RatingsEffMode=2", nullptr, 2},
        {"DownloadDrawsOnStart=3", nullptr, 0},
        {"DownloadDrawsOnStart=-1", nullptr, 0},
        {"DownloadDrawsOnStart=two", nullptr, 0},
        {"DownloadDrawsOnStart=2", nullptr, 2},
        {"DownloadDrawsOnStart=1", nullptr, 1},
        {"TabWeek=0", &TViewSettings::TabWeek, 0},
        {"LayoutGradient=no", &TViewSettings::LayoutGradient, 1},
        {"WeekChartType=1", &TViewSettings::WeekChartType, 1},
        {"WeekChartMode=2", nullptr, 0},
        {"WeekChartMode=1", nullptr, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        test::TempDir dir;
        test::WriteBytes(frmPath(dir), std::string("[TFormMain]\r\n") + c.line + "\r\n");
        workspace::Workspace ws(dir.path());
        ws.LoadViewSettings();
        const auto key = [&c](const char* name) { return std::string(c.line).rfind(name, 0) == 0; };
        const int got = c.flag                           ? int(ws.View().*c.flag)
                        : key("DownloadDrawsOnStart") ? ws.View().DownloadDrawsOnStart
                        : key("WeekChartMode")        ? ws.View().WeekChartMode
                                                      : ws.View().RatingsEffMode;
        EXPECT_EQ(got, c.expected);
    }
}

TEST(ViewSettings, PrefetchsInitIsWrittenOnceWithTheFlagBesideIt)
{
    test::TempDir dir;
    test::WriteBytes(frmPath(dir), "[TFormMain]\r\nPrefetchsEnabled=1\r\n");
    workspace::Workspace ws(dir.path());
    ws.LoadViewSettings();
    ws.InitPrefetchsFlag();
    EXPECT_EQ(test::ReadBytes(frmPath(dir)), "[TFormMain]\r\nPrefetchsEnabled=1\r\nPrefetchsInit=1\r\n");

    test::WriteBytes(frmPath(dir), "[TFormMain]\r\nPrefetchsInit=1\r\n");
    ws.InitPrefetchsFlag();
    EXPECT_EQ(test::ReadBytes(frmPath(dir)), "[TFormMain]\r\nPrefetchsInit=1\r\n");

    test::TempDir fresh;
    workspace::Workspace first(fresh.path());
    first.LoadViewSettings();
    first.InitPrefetchsFlag();
    EXPECT_EQ(test::ReadBytes(frmPath(fresh)), "[TFormMain]\r\nPrefetchsInit=1\r\nPrefetchsEnabled=0\r\n");
}

TEST(ViewSettings, AFailedWriteThrowsAndMemoryKeepsTheChange)
{
    test::TempDir dir;
    // A folder where the file should be: the rewrite cannot succeed.
    std::filesystem::create_directories(frmPath(dir));
    workspace::Workspace ws(dir.path());
    ws.LoadViewSettings();
    EXPECT_EQ(ws.View(), TViewSettings{});
    EXPECT_ANY_THROW(ws.SetViewFlag(&TViewSettings::SortedDraws, true));
    EXPECT_TRUE(ws.View().SortedDraws);
}

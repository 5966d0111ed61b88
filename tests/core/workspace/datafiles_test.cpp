#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/stakes/ratings.h"
#include "core/stakes/regulars.h"
#include "core/stakes/stakerecord.h"
#include "core/stats/statlist.h"
#include "core/util/cp1251.h"
#include "core/online/batch.h"
#include "core/workspace/cmdline.h"
#include "core/workspace/headless.h"
#include "core/workspace/workspace.h"
#include "tests/support/drawpages.h"
#include "tests/support/support.h"

using namespace kv;
namespace fs = std::filesystem;

namespace {

using Files = std::map<std::string, std::string>;   // path below the data folder -> bytes

Files Snapshot(const fs::path& dir)
{
    Files files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file()) files[fs::relative(e.path(), dir).string()] = test::ReadBytes(e.path());
    return files;
}

std::set<std::string> RatingNames(const std::string& bytes)
{
    std::set<std::string> names;
    for (const stakes::TRatingRecord& r : stakes::ParseRatingsFile(bytes).Rows) names.insert(r.Name);
    return names;
}

int RunWord(const fs::path& dir, const std::vector<std::string>& words, const game::TDrawsArray& site)
{
    workspace::Workspace ws(dir);
    test::ScriptedShell sh;
    const workspace::CommandLine cmd = workspace::ParseCommandLine(words);
    EXPECT_EQ(cmd.error, "");
    if (workspace::IsHeadlessRun(cmd)) {
        std::ostringstream out;
        return workspace::RunHeadless(ws, sh, cmd, out);
    }
    online::TWebAccess web;
    web.GetPage = [&](const std::string& url, const workspace::TProxyServer&, bool) {
        const int first = std::stoi(url.substr(url.find("firstDraw=") + 10, 5));
        return util::Utf8ToCp1251(test::OperatorPageFor(site, first, first + archive::DrawPageRange - 1));
    };
    return online::RunBatch(ws, sh, cmd, web);
}

// A data folder holding every kind of file the program keeps: the archive, stakes waiting for
// the next draw and checked ones, a rating made by a test, regulars, the current scenario,
// favourites, both settings files, stake and run logs, the prefetch cache and a system.
struct EveryKindOfFile {
    test::TempDir dir;
    game::TDrawsArray site = archive::SyntheticDraws(205, 7, 1);

    EveryKindOfFile()
    {
        archive::WriteArchiveFile(dir / archive::ArchiveFileName, game::TDrawsArray(site.begin(), site.begin() + 200));
        test::WriteBytes(dir / "Kvanta_8x20.ini", "[ONLINE]\r\nOperatorUrl=http://site.local/\r\n");
        test::WriteBytes(dir / "Kvanta_8x20.frm", "[TFormMain]\r\nStakesLogEnabled=1\r\nScriptLogEnabled=1\r\n");
        const std::string line = "FULL:0#FIRST|TMD1#NUMS:30#LNO:#ST:2| | | | | | |";
        test::WriteBytes(dir / "a.lsc", line + "a\r\n");
        test::WriteBytes(dir / "b.lsc", line + "b\r\n");
        test::WriteBytes(dir / "Kvanta_8x20.lss", line + "current\r\n");
        stakes::TRegularRecord regular;
        regular.Name = "regular";
        regular.Start = regular.Current = {1, 2, 3, 4, 5, 6, 7, 8};
        regular.Step = 1;
        test::WriteBytes(dir / stakes::TRegulars::FileName, stakes::RegularsFileBytes({regular}));
        stats::TStatList favourites;
        favourites.BuildMethodList();
        test::ScriptedShell sh;
        EXPECT_TRUE(favourites.SaveFilterList(dir / "Kvanta_8x20.flt", true, false, sh));
        fs::create_directories(dir / "Systems");
        test::WriteBytes(dir / "Systems" / "club.lsc", line + "system\r\n");
        EXPECT_EQ(RunWord(dir.path(), {"fullrefresh"}, site), 0);
        EXPECT_EQ(RunWord(dir.path(), {"scripttest", "10", "--scenario", (dir / "a.lsc").string()}, site), 0);
        EXPECT_EQ(RunWord(dir.path(), {"scriptrun", "--scenario", (dir / "b.lsc").string()}, site), 0);
    }
};

} // namespace

TEST(DataFiles, EveryWordLeavesWhatItDoesNotOwnByteIdentical)
{
    const EveryKindOfFile folder;
    const Files before = Snapshot(folder.dir.path());
    for (const char* kind : {"Kvanta_8x20.ldr", "Kvanta_8x20.lsk", "Kvanta_8x20.lrt", "Kvanta_8x20.ltb", "Kvanta_8x20.lss",
                             "Kvanta_8x20.flt", "Kvanta_8x20.frm", "Kvanta_8x20.ini", "Prefetchs/Kvanta_8x20_NUMS.dfc",
                             "Systems/club.lsc"})
        EXPECT_TRUE(before.count(kind)) << kind;
    ASSERT_EQ(RatingNames(before.at("Kvanta_8x20.lrt")).size(), 1u);

    // What each word may change: files it owns, and files it feeds, which only gain records.
    const struct {
        std::vector<std::string> words;
        std::set<std::string> fed;
        std::vector<std::string> owns;   // files whose path begins with one of these
    } words[] = {
        {{"loadonly"}, {"Kvanta_8x20.ldr", "Kvanta_8x20.lsk", "Kvanta_8x20.lrt"}, {}},
        {{"fullrecreate"}, {}, {"Prefetchs/"}},
        {{"fullrefresh"}, {}, {}},
        // The last test's survival and its record (ScriptTest.ini, ScriptTest-*.lrt).
        {{"scripttest", "5", "--scenario", "a.lsc"}, {"Kvanta_8x20.lsk", "Kvanta_8x20.lrt"}, {"ScriptSurvival.csv", "ScriptTest"}},
        {{"scriptrun", "--scenario", "b.lsc"}, {"Kvanta_8x20.lsk"}, {}},
        {{"stattable", "NUMS", "--len", "50"}, {}, {}},
        {{"stattable", "SUMS", "--compare"}, {}, {}},
    };
    for (const auto& w : words) {
        SCOPED_TRACE(w.words[0] + (w.words.size() > 1 ? " " + w.words[1] : ""));
        test::TempDir copy;
        fs::copy(folder.dir.path(), copy.path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        std::vector<std::string> args = w.words;
        for (std::string& a : args)
            if (a.size() > 4 && a.substr(a.size() - 4) == ".lsc") a = (copy / a).string();
        EXPECT_EQ(RunWord(copy.path(), args, folder.site), 0);
        const Files after = Snapshot(copy.path());
        for (const auto& [name, bytes] : before) {
            SCOPED_TRACE(name);
            ASSERT_TRUE(after.count(name)) << "removed";
            const std::string& now = after.at(name);
            const bool log = name.rfind("Kvanta_8x20-", 0) == 0 || name.rfind("ScriptLog_", 0) == 0;
            if (std::any_of(w.owns.begin(), w.owns.end(), [&](const std::string& p) { return name.rfind(p, 0) == 0; })) continue;
            if (name == "Kvanta_8x20.lrt" && w.fed.count(name)) {
                const std::set<std::string> had = RatingNames(bytes), has = RatingNames(now);
                EXPECT_TRUE(std::includes(has.begin(), has.end(), had.begin(), had.end()));
            } else if (name == "Kvanta_8x20.lsk" && w.fed.count(name)) {
                EXPECT_GE(now.size(), bytes.size());
            } else if (w.fed.count(name) || log) {
                EXPECT_EQ(now.substr(0, bytes.size()), bytes) << "only gains";
            } else {
                EXPECT_TRUE(now == bytes) << "changed";
            }
        }
        for (const auto& [name, bytes] : after) {
            if (!before.count(name)) {
                EXPECT_TRUE(name.rfind("ScriptLog_", 0) == 0 || name.rfind("Kvanta_8x20-", 0) == 0) << name << " is new";
            }
        }
    }
}

TEST(DataFiles, LoadOnlyKeepsTheRatingOfEarlierTests)
{
    const EveryKindOfFile folder;
    EXPECT_EQ(RunWord(folder.dir.path(), {"loadonly"}, folder.site), 0);
    EXPECT_EQ(archive::ReadArchiveFile(folder.dir / archive::ArchiveFileName).draws.size(), 205u);
    const std::set<std::string> names = RatingNames(test::ReadBytes(folder.dir / stakes::TRatings::FileName));
    ASSERT_EQ(names.size(), 2u) << "the test's row and the checked forecast's";
    EXPECT_NE(names.begin()->find(": a @"), std::string::npos) << *names.begin();
    EXPECT_NE(names.rbegin()->find(": b @"), std::string::npos) << *names.rbegin();
}

TEST(DataFiles, AFileThatWasNotReadIsNeverWritten)
{
    // Each owner of a file that is rewritten whole, saved without having read it.
    test::TempDir dir;
    const std::string rating = stakes::RatingsFileBytes({stakes::TRatingRecord{}});
    test::WriteBytes(dir / stakes::TRatings::FileName, rating);
    test::WriteBytes(dir / stakes::TRegulars::FileName, "regulars");
    test::WriteBytes(dir / archive::ArchiveFileName, "archive");
    test::WriteBytes(dir / "Kvanta_8x20.lss", "scenario");
    test::ScriptedShell sh;
    workspace::Workspace ws(dir.path());
    EXPECT_DEBUG_DEATH(ws.Ratings().SaveRatings(sh), "never read");
    EXPECT_DEBUG_DEATH(ws.Regulars().SaveTables(sh), "never read");
    EXPECT_DEBUG_DEATH(ws.SaveArchive(sh), "never read");
    EXPECT_DEBUG_DEATH(ws.Scenario().SaveCurrent(sh), "never read");
    EXPECT_EQ(test::ReadBytes(dir / stakes::TRatings::FileName), rating);
    EXPECT_EQ(test::ReadBytes(dir / stakes::TRegulars::FileName), "regulars");
    EXPECT_EQ(test::ReadBytes(dir / archive::ArchiveFileName), "archive");
    EXPECT_EQ(test::ReadBytes(dir / "Kvanta_8x20.lss"), "scenario");
#ifdef NDEBUG
    // Where the saves ran to their end, each was refused with a message naming the file.
    ASSERT_EQ(sh.messages.size(), 4u);
    for (const test::ScriptedShell::Message& m : sh.messages)
        EXPECT_NE(m.text.find("не был прочитан при этом запуске программы"), std::string::npos) << m.text;
#endif

    // A file that could not be read at all stays as it is too.
    fs::remove(dir / stakes::TRatings::FileName);
    fs::create_directory(dir / stakes::TRatings::FileName);
    ws.Ratings().LoadRatings(sh);
    ws.Ratings().AddRating("new", 3, {});
    EXPECT_FALSE(ws.Ratings().SaveRatings(sh));
    EXPECT_TRUE(fs::is_directory(dir / stakes::TRatings::FileName));
}

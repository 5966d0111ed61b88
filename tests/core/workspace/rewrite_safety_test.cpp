#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/scenario/scenario.h"
#include "core/stakes/ratings.h"
#include "core/stakes/regulars.h"
#include "core/stakes/stakesfile.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/util/files.h"
#include "core/workspace/formsettings.h"
#include "core/workspace/workspace.h"
#include "tests/core/stakes/stakestest.h"
#include "tests/support/support.h"

using namespace kv;

namespace {

// A disk that fills up after a few bytes, for as long as the guard lives.
struct FullDisk {
    explicit FullDisk(int64_t bytes) { util::SimulateDiskSpace(bytes); }
    ~FullDisk() { util::SimulateDiskSpace(-1); }
};

struct Kind {
    const char* name;
    const char* file;   // in the data directory
    // Writes the old file (through the program's own writers).
    std::function<void(const std::filesystem::path& dir)> make;
    // The rewrite, which must fail half-way and say so through the shell.
    std::function<void(const std::filesystem::path& dir, shell::Shell& shell)> rewrite;
};

const stats::TStatList& Registry()
{
    static const stats::TStatList list = [] {
        static game::TDrawsArray draws;
        stats::TStatList l;
        l.SetDraws(&draws);
        l.BuildMethodList();
        return l;
    }();
    return list;
}

stakes::TRatingRecord Row(const char* name)
{
    stakes::TRatingRecord r;
    r.Name = name;
    r.StakeCount = r.Hits[2] = 3;
    r.HitSum = 6;
    return r;
}

const std::vector<Kind>& Kinds()
{
    static const std::vector<Kind> kinds = {
        {"archive", archive::ArchiveFileName,
         [](const auto& dir) { archive::WriteArchiveFile(dir / archive::ArchiveFileName, archive::SyntheticDraws(50, 1)); },
         [](const auto& dir, shell::Shell& sh) {
             workspace::Workspace ws(dir);
             ws.LoadArchive(sh);
             ws.AddDraw(sh, archive::SyntheticDraws(1, 2, 51)[0]);
         }},
        {"stakes", stakes::TStakesFile::FileName,
         [](const auto& dir) {
             test::WriteBytes(dir / stakes::TStakesFile::FileName,
                              test::FileOf({test::Stake(1, {1, 2, 3, 4, 5, 6, 7, 8}), test::Stake(2, {1, 2, 3, 4, 5, 6, 7, 9}),
                                            test::Stake(3, {1, 2, 3, 4, 5, 6, 7, 10})}));
         },
         [](const auto& dir, shell::Shell& sh) {
             stakes::TStakesFile file;
             file.Open(dir / stakes::TStakesFile::FileName);
             file.DeleteSelectedStakes(sh, 1, 1);
         }},
        {"ratings", stakes::TRatings::FileName,
         [](const auto& dir) {
             test::WriteBytes(dir / stakes::TRatings::FileName, stakes::RatingsFileBytes({Row("a"), Row("b")}));
         },
         [](const auto& dir, shell::Shell& sh) {
             stakes::TRatings ratings(dir / stakes::TRatings::FileName);
             ratings.LoadRatings(sh);
             ratings.AddRating(stakes::NewSeparator());
             ratings.SaveRatings(sh);
         }},
        {"regular stakes", stakes::TRegulars::FileName,
         [](const auto& dir) {
             stakes::TRegularRecord r;
             r.Name = "регулярная";
             r.Step = 1;
             test::WriteBytes(dir / stakes::TRegulars::FileName, stakes::RegularsFileBytes({r, r}));
         },
         [](const auto& dir, shell::Shell& sh) {
             stakes::TRegulars regulars(dir / stakes::TRegulars::FileName);
             regulars.LoadTables(sh);
             regulars.SaveTables(sh);
         }},
        {"scenario", scenario::TScenario::FileName,
         [](const auto& dir) {
             const std::vector<std::string> lines = {"EXCL:5#ALL|TSD1#NUMS:10#LNO:#SF:1|", "EXCL:0|"};
             test::WriteBytes(dir / scenario::TScenario::FileName, scenario::ScenarioToBytes(lines));
         },
         [](const auto& dir, shell::Shell& sh) {
             scenario::TScenario s(dir / scenario::TScenario::FileName);
             s.LoadCurrent(sh);
             s.SaveCurrent(sh);
         }},
        {"favourites", "Kvanta_8x20.flt",
         [](const auto& dir) { test::WriteBytes(dir / "Kvanta_8x20.flt", "[FILTERS]\r\nFavorites=NUMS\r\n"); },
         [](const auto& dir, shell::Shell& sh) {
             stats::TStatList list = Registry();
             list.SetFavorites("EVEN");
             list.SaveFilterList(dir / "Kvanta_8x20.flt", true, true, sh);
         }},
        {"window settings", "Kvanta_8x20.frm",
         [](const auto& dir) { test::WriteBytes(dir / "Kvanta_8x20.frm", "[FormMain]\r\nLeft=10\r\nTop=20\r\n"); },
         [](const auto& dir, shell::Shell& sh) {
             try {
                 workspace::FormSettings(dir / "Kvanta_8x20.frm", "FormMain").WriteInt("Left", 11);
             } catch (const std::exception& e) {
                 sh.ShowError(e.what());
             }
         }},
        {"prefetch", "Prefetchs/Kvanta_8x20_NUMS.dfc",
         [](const auto& dir) {
             std::filesystem::create_directories(dir / stats::TPrefetchCache::FolderName);
             test::WriteBytes(dir / "Prefetchs/Kvanta_8x20_NUMS.dfc", std::string(24, '\0'));
         },
         [](const auto& dir, shell::Shell& sh) {
             stats::TPrefetchCache(dir).Create(Registry(), Registry().FindMethod("NUMS"), sh);
         }},
    };
    return kinds;
}

} // namespace

TEST(RewriteSafety, AWriteThatFailsHalfWayLeavesTheOldFileAndTellsTheUser)
{
    for (const Kind& k : Kinds()) {
        SCOPED_TRACE(k.name);
        test::TempDir dir;
        k.make(dir.path());
        const std::string before = test::ReadBytes(dir / k.file);
        ASSERT_FALSE(before.empty());
        test::ScriptedShell sh;
        {
            FullDisk disk(7);
            k.rewrite(dir.path(), sh);
        }
        EXPECT_EQ(test::ReadBytes(dir / k.file), before);
        ASSERT_FALSE(sh.messages.empty());
        EXPECT_NE(sh.messages.back().text.find("Нет места на устройстве"), std::string::npos) << sh.messages.back().text;
        for (const auto& e : std::filesystem::recursive_directory_iterator(dir.path()))
            EXPECT_EQ(e.path().filename().string().find("tmp"), std::string::npos) << e.path();
    }
}

TEST(RewriteSafety, ADamagedFileWhoseCopyFailsIsNeverRewritten)
{
    struct Case {
        const char* fixture;
        const char* file;
        std::function<bool(const std::filesystem::path&, shell::Shell&)> loadAndSave;
    };
    const std::vector<Case> cases = {
        {"ratings-partial.lrt", stakes::TRatings::FileName,
         [](const auto& path, shell::Shell& sh) {
             stakes::TRatings r(path);
             r.LoadRatings(sh);
             return r.SaveRatings(sh);
         }},
        {"regulars-badstep.ltb", stakes::TRegulars::FileName,
         [](const auto& path, shell::Shell& sh) {
             stakes::TRegulars r(path);
             r.LoadTables(sh);
             return r.SaveTables(sh);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        test::TempDir dir;
        const std::string bytes = test::ReadBytes(std::filesystem::path(KV_TEST_DATA) / "broken" / c.fixture);
        test::WriteBytes(dir / c.file, bytes);
        std::filesystem::create_directory(dir / (std::string(c.file) + ".bak"));
        test::ScriptedShell sh;
        EXPECT_FALSE(c.loadAndSave(dir / c.file, sh));
        EXPECT_EQ(test::ReadBytes(dir / c.file), bytes);
        ASSERT_EQ(sh.messages.size(), 2u);
        EXPECT_NE(sh.messages[0].text.find("Копия файла не сохранена."), std::string::npos) << sh.messages[0].text;
        EXPECT_NE(sh.messages[1].text.find("не будет перезаписан до завершения работы программы"), std::string::npos)
            << sh.messages[1].text;
    }
}

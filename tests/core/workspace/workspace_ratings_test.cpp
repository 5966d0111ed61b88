#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/game/numbers.h"
#include "core/workspace/workspace.h"
#include "core/stakes/ratings.h"
#include "core/stakes/regulars.h"
#include "core/stakes/prizetable.h"
#include "core/stats/config.h"
#include "tests/support/support.h"

using namespace kv;

namespace {

// An archive of draws 101..110, the stakes file open, a prize table of 10 per stake and 50 for
// 4 hits.
struct Fixture {
    test::TempDir dir;
    test::ScriptedShell sh;
    workspace::Workspace ws{dir.path()};
    stakes::TPrizeTable prizes;
    game::TDrawsArray draws = archive::SyntheticDraws(10, 42, 101);
    int viewRefreshes = 0;
    int listRefreshes = 0;

    Fixture()
    {
        archive::WriteArchiveFile(dir / archive::ArchiveFileName, draws);
        stats::TConfigData config;
        config.Cost = util::Currency::FromUnits(10);
        config.Profits = {{4, util::Currency::FromUnits(50)}};
        prizes = stakes::TPrizeTable(config);
        ws.onViewsRefresh = [this] { ++viewRefreshes; };
        ws.onDrawListChanged = [this](bool) { ++listRefreshes; };
        ws.LoadArchive(sh);
        EXPECT_TRUE(ws.OpenStakesFile());
    }
    void Stake(int32_t drawNo, game::TComb nums, const std::string& comment)
    {
        ws.StakesFile().AppendStakes(stakes::NewStake(stakes::OriginManual, drawNo, 0, nums, comment, prizes), 1);
    }
    int Hits(int32_t drawNo, const game::TComb& nums) const
    {
        return game::IntersectNumSet(draws[static_cast<std::size_t>(drawNo - 101)], game::CombToNumSet(nums)).Count;
    }
};

constexpr game::TComb A = {1, 2, 3, 4, 5, 6, 7, 8};
constexpr game::TComb B = {13, 14, 15, 16, 17, 18, 19, 20};

} // namespace

TEST(WorkspaceRatings, CheckPassFeedsTheRatingAndSavesItInTheViewOrder)
{
    Fixture f;
    f.Stake(105, A, "Alpha");
    f.Stake(106, B, "ALPHA");
    f.Stake(107, A, "Beta");
    f.Stake(200, B, "Gamma");   // its draw is still to come
    f.ws.Ratings().SetSortOrder(1, true);
    ASSERT_TRUE(f.ws.CheckStakesAndReload(f.sh, f.prizes, false));

    const stakes::TRatings& r = f.ws.Ratings();
    ASSERT_EQ(r.Count(), 2);
    EXPECT_EQ(r[0].Name, "Alpha") << "two stakes before one";
    EXPECT_EQ(r[0].StakeCount, 2);
    EXPECT_EQ(r[0].HitSum, f.Hits(105, A) + f.Hits(106, B));
    EXPECT_EQ(r[1].Name, "Beta");
    EXPECT_EQ(r[1].Hits[f.Hits(107, A)], 1);
    EXPECT_EQ(test::ReadBytes(f.dir / stakes::TRatings::FileName), stakes::RatingsFileBytes(r.Items()));
    EXPECT_TRUE(f.sh.messages.empty());

    // Nothing due: the rating stays as it is.
    EXPECT_FALSE(f.ws.CheckStakesAndReload(f.sh, f.prizes, false));
    EXPECT_EQ(f.ws.Ratings().Count(), 2);
    EXPECT_EQ(f.ws.Ratings()[0].StakeCount, 2);

    // The rebuild reaches the same rating from the stakes file.
    const stakes::TRatingsArray before = f.ws.Ratings().Items();
    f.sh.answers = {true};
    EXPECT_TRUE(f.ws.RatingsRefresh(f.sh));
    EXPECT_EQ(f.ws.Ratings().Items(), before);
}

TEST(WorkspaceRatings, StartUpLoadsTheRatingAndTheShownRegulars)
{
    Fixture f;
    test::WriteBytes(f.dir / stakes::TRatings::FileName,
                     stakes::RatingsFileBytes({stakes::TRatingRecord{"saved", 1, 2, {0, 0, 1}, {}}}));
    stakes::TRegularRecord regular;
    regular.Name = "Регуляр";
    regular.Step = 2;
    test::WriteBytes(f.dir / stakes::TRegulars::FileName, stakes::RegularsFileBytes({regular}));

    f.ws.Regulars().SetVisible(false);
    f.ws.LoadRatingsAndTables(f.sh);
    EXPECT_EQ(f.ws.Ratings().Count(), 1);
    EXPECT_EQ(f.ws.Regulars().Count(), 0) << "the tab is hidden";

    f.ws.Regulars().SetVisible(true);
    f.ws.LoadRatingsAndTables(f.sh);
    ASSERT_EQ(f.ws.Regulars().Count(), 1);
    EXPECT_EQ(f.ws.Regulars()[0], regular);
    EXPECT_TRUE(f.sh.messages.empty());
}

TEST(WorkspaceRatings, RegularTestMovesTheWindowWithoutRecomputingTheViews)
{
    Fixture f;
    ASSERT_TRUE(f.ws.SetDrawsOffset(1));
    const int views = f.viewRefreshes;
    const int lists = f.listRefreshes;
    stakes::TRegularRecord regular;
    regular.Name = "Сдвиг";
    regular.Start = regular.Current = A;
    regular.Step = 1;
    const stakes::TSelectedComb one{0, A};
    f.ws.Regulars().TablesAdd(f.sh, regular, std::span<const stakes::TSelectedComb>(&one, 1));

    stakes::TStakeViewHooks hooks;
    int checks = 0;
    hooks.Check = [&] {
        ++checks;
        f.ws.CheckStakesAndReload(f.sh, f.prizes, false);
    };
    const std::vector<int> rows = {0};
    ASSERT_TRUE(f.ws.TablesStakeTest(f.sh, f.prizes, rows, 3, false, hooks));

    EXPECT_EQ(f.viewRefreshes, views) << "the analysis views are not recomputed during the test";
    EXPECT_GT(f.listRefreshes, lists) << "the draw list follows the window";
    EXPECT_EQ(f.ws.DrawsOffset(), 1);
    EXPECT_FALSE(f.ws.ViewsRefreshSuspended());
    EXPECT_EQ(checks, 1);
    // Stakes for draws 108, 109 and 110, all in the archive, so all checked and rated.
    ASSERT_EQ(f.ws.Ratings().Count(), 1);
    EXPECT_EQ(f.ws.Ratings()[0].Name, "Сдвиг");
    EXPECT_EQ(f.ws.Ratings()[0].StakeCount, 3);
    EXPECT_EQ(f.ws.Regulars()[0].Count, 3);
    EXPECT_EQ(f.ws.Regulars()[0].Current, (game::TComb{4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(f.ws.StakesFile().RecordCount(), 3);
    EXPECT_EQ(f.ws.StakesFile().ReadStake(0).DrawNo, 108);
    EXPECT_EQ(f.ws.StakesFile().ReadStake(0).Checked, 1);
}

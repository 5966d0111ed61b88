#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/workspace/sharedstate.h"

using kv::workspace::TChange;
using kv::workspace::TSharedState;

namespace {

// Every kind heard, in order.
struct Recorder {
    std::vector<TChange> heard;
    std::vector<std::shared_ptr<void>> tokens;
    void listenToAll(TSharedState& s)
    {
        for (TChange c : {TChange::ExcludedDraws, TChange::Statistics, TChange::CombSelection, TChange::RatingSelection,
                          TChange::Stakes, TChange::Ratings, TChange::Analysis, TChange::Parameters, TChange::Choosers,
                          TChange::Registry})
            tokens.push_back(s.Subscribe(c, [this, c] { heard.push_back(c); }));
    }
};

} // namespace

TEST(SharedState, EachSetterAnnouncesItsKindOnlyWhenTheValueChanges)
{
    struct Case {
        const char* name;
        std::function<void(TSharedState&)> set;
        TChange kind;
    };
    const std::vector<Case> cases = {
        {"excluded", [](TSharedState& s) { s.SetExcludedDraws(5); }, TChange::ExcludedDraws},
        {"method", [](TSharedState& s) { s.SetStatistics(3, 0); }, TChange::Statistics},
        {"length", [](TSharedState& s) { s.SetStatistics(-1, 1000); }, TChange::Statistics},
        {"comb rows", [](TSharedState& s) { s.SetCombSelection({4, 2}, -1); }, TChange::CombSelection},
        {"comb current", [](TSharedState& s) { s.SetCombSelection({}, 0); }, TChange::CombSelection},
        {"rating names", [](TSharedState& s) { s.SetRatingSelection({"a"}); }, TChange::RatingSelection},
        {"stakes", [](TSharedState& s) { s.AnnounceStakes({}); }, TChange::Stakes},
        {"ratings", [](TSharedState& s) { s.AnnounceRatings(); }, TChange::Ratings},
        {"analysis", [](TSharedState& s) { s.AnnounceAnalysis(); }, TChange::Analysis},
        {"parameters", [](TSharedState& s) { s.AnnounceParameters(); }, TChange::Parameters},
        {"choosers", [](TSharedState& s) { s.AnnounceChoosers({}); }, TChange::Choosers},
        {"registry", [](TSharedState& s) { s.AnnounceRegistry(); }, TChange::Registry},
    };
    for (const Case& c : cases) {
        TSharedState state;
        Recorder r;
        r.listenToAll(state);
        c.set(state);
        EXPECT_EQ(r.heard, std::vector<TChange>{c.kind}) << c.name;
        c.set(state);
        // A value set again is no change; an announcement always is one.
        const bool announcement = c.kind >= TChange::Stakes;
        EXPECT_EQ(r.heard.size(), announcement ? 2u : 1u) << c.name;
    }
}

TEST(SharedState, ListenersReadTheNewValuesAndTheStakesChange)
{
    TSharedState state;
    EXPECT_EQ(state.StatMethod(), -1);
    EXPECT_EQ(state.CurrentCombRow(), -1);
    std::vector<int> rows;
    int current = -2;
    kv::workspace::TStakesChange how;
    const auto combs = state.Subscribe(TChange::CombSelection, [&] {
        rows = state.CombRows();
        current = state.CurrentCombRow();
    });
    const auto stakes = state.Subscribe(TChange::Stakes, [&] { how = state.StakesChange(); });
    state.SetCombSelection({7, 1, 3}, 3);
    EXPECT_EQ(rows, (std::vector<int>{1, 3, 7})) << "the rows come sorted";
    EXPECT_EQ(current, 3);
    state.AnnounceStakes({.Rows = true, .GoToLast = false, .Repaint = true});
    EXPECT_TRUE(how.Rows && !how.GoToLast && how.Repaint);
}

TEST(SharedState, ADroppedTokenEndsTheSubscriptionEvenDuringAnAnnouncement)
{
    TSharedState state;
    int first = 0;
    int second = 0;
    std::shared_ptr<void> later;
    const std::shared_ptr<void> early = state.Subscribe(TChange::Ratings, [&] {
        ++first;
        later.reset();   // the next listener's owner goes away while the announcement runs
    });
    later = state.Subscribe(TChange::Ratings, [&] { ++second; });
    state.AnnounceRatings();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0) << "a listener dropped before its turn is skipped";
    std::shared_ptr<void> again = state.Subscribe(TChange::Ratings, [&] { ++second; });
    state.AnnounceRatings();
    EXPECT_EQ(second, 1);
    again.reset();
    state.AnnounceRatings();
    EXPECT_EQ(first, 3);
    EXPECT_EQ(second, 1);
}

TEST(SharedState, AnalysisIsHeldWhileAScenarioRunsAndChoosersSayHowToFollow)
{
    TSharedState state;
    int analysed = 0;
    kv::workspace::TChooserChange how;
    const auto analysis = state.Subscribe(TChange::Analysis, [&] { ++analysed; });
    const auto choosers = state.Subscribe(TChange::Choosers, [&] { how = state.ChooserChange(); });
    state.SetScenarioRunning(true);
    state.AnnounceAnalysis();
    EXPECT_EQ(analysed, 0) << "a run rebuilds the statistics itself";
    state.SetScenarioRunning(false);
    state.AnnounceAnalysis();
    EXPECT_EQ(analysed, 1);
    state.AnnounceChoosers({.Reloaded = true, .KeepSelection = false});
    EXPECT_TRUE(how.Reloaded && !how.KeepSelection);
    state.AnnounceChoosers({.Reloaded = false, .KeepSelection = true});
    EXPECT_TRUE(!how.Reloaded && how.KeepSelection);
}

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/stakes/stakegrid.h"
#include "core/util/format.h"
#include "tests/core/stakes/stakestest.h"

using namespace kv;
using namespace kv::stakes;

namespace {

TStakeRecord CheckedStake()
{
    TStakeRecord r = test::Stake(1234, {1, 5, 7, 9, 12, 13, 18, 20}, "Сценарий 01.001", OriginScenario);
    r.SampleSize = 125970;
    r.Checked = 1;
    r.DrawNums = {3, 7, 1, 15, 9, 20, 11, 4};
    r.Matched = {4, {1, 7, 9, 20, 0, 0, 0, 0}};
    r.Profit = util::Currency::FromUnits(40);
    return r;
}

std::vector<std::string> Texts(const TStakeRecord& r)
{
    std::vector<std::string> t;
    for (int c = 0; c < StakeGridColumnCount; ++c) t.push_back(StakeCellText(r, c));
    return t;
}

} // namespace

TEST(StakeGrid, ColumnsAndCellTexts)
{
    std::vector<std::string> captions;
    std::vector<int> widths;
    for (int c = 0; c < StakeGridColumnCount; ++c) {
        captions.push_back(StakeGridCaption(c));
        widths.push_back(StakeGridWidth(c));
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"№ тиража", "Вид ставки", "Моя ставка", "Выборка", "Результаты тиража",
                                                  "Совпадений", "Совпадения", "Профит", "Комментарий"}));
    EXPECT_EQ(widths, (std::vector<int>{60, 60, 120, 60, 120, 60, 60, 60, 1000}));
    EXPECT_EQ(StakeGridAlign(0), TCellAlign::Center);
    EXPECT_EQ(StakeGridAlign(6), TCellAlign::Center);
    EXPECT_EQ(StakeGridAlign(7), TCellAlign::Right);
    EXPECT_EQ(StakeGridAlign(8), TCellAlign::Left);

    EXPECT_EQ(Texts(CheckedStake()),
              (std::vector<std::string>{"1234", "Сценарий", "1;5;7;9;12;13;18;20", "125970", "3;7;1;15;9;20;11;4", "4",
                                        "1 7 9 20", "40.00", "Сценарий 01.001"}));

    TStakeRecord unchecked = test::Stake(77, {2, 4, 6, 8, 10, 12, 14, 16}, "Ставка \"вручную\"");
    unchecked.Profit = util::Currency::FromRaw(-100000);
    EXPECT_EQ(Texts(unchecked), (std::vector<std::string>{"77", "Вручную", "2;4;6;8;10;12;14;16", "100", "", "", "",
                                                          "-10.00", "Ставка \"вручную\""}));

    TStakeRecord noHits = CheckedStake();
    noHits.Origin = OriginSystem;
    noHits.Matched = {0, {}};
    noHits.Profit = util::Currency::FromRaw(-5);   // rounds to zero: no minus sign
    EXPECT_EQ(Texts(noHits)[1], "Система");
    EXPECT_EQ(Texts(noHits)[5], "0");
    EXPECT_EQ(Texts(noHits)[6], "");
    EXPECT_EQ(Texts(noHits)[7], "0.00");

    // Separators and anything else without a draw are empty rows.
    const std::vector<std::string> empty(StakeGridColumnCount);
    EXPECT_EQ(Texts(NewSeparator()), empty);
    TStakeRecord zero = CheckedStake();
    zero.DrawNo = 0;
    EXPECT_EQ(Texts(zero), empty);

    // The profit follows the user's decimal separator.
    const char sep = util::DecimalSeparator();
    util::SetDecimalSeparator(',');
    EXPECT_EQ(StakeCellText(CheckedStake(), 7), "40,00");
    util::SetDecimalSeparator(sep);
}

TEST(StakeGrid, Colours)
{
    EXPECT_EQ(StakeRowColor(OriginSeparator), std::nullopt);
    EXPECT_EQ(StakeRowColor(OriginManual), 0xEAFFEAu);
    EXPECT_EQ(StakeRowColor(OriginRegular), 0xFFEAEAu);
    EXPECT_EQ(StakeRowColor(OriginScenario), 0xEAFFFFu);
    EXPECT_EQ(StakeRowColor(OriginSystem), 0xFCFDD9u);
    EXPECT_EQ(StakeRowColor(5), std::nullopt);

    // With Cost 10 and a prize of 50 for 4 hits: 40.00 in green; 3 hits without a prize row:
    // -10.00 in red; an unchecked stake keeps the window's text colour.
    TStakeRecord win = CheckedStake();
    TStakeRecord loss = CheckedStake();
    loss.Matched = {3, {1, 7, 9, 0, 0, 0, 0, 0}};
    loss.Profit = util::Currency::FromUnits(-10);
    TStakeRecord evenMoney = CheckedStake();
    evenMoney.Profit = util::Currency::FromRaw(0);
    TStakeRecord unchecked = test::Stake(77, {2, 4, 6, 8, 10, 12, 14, 16});
    unchecked.Profit = util::Currency::FromUnits(-10);
    for (int c = 0; c < StakeGridColumnCount; ++c) {
        const bool result = c >= 5 && c <= 7;
        EXPECT_EQ(StakeResultColor(win, c), result ? std::optional<uint32_t>(0x008000) : std::nullopt) << c;
        EXPECT_EQ(StakeResultColor(loss, c), result ? std::optional<uint32_t>(0xFF0000) : std::nullopt) << c;
        EXPECT_EQ(StakeResultColor(evenMoney, c), result ? std::optional<uint32_t>(0xFF0000) : std::nullopt) << c;
        EXPECT_EQ(StakeResultColor(unchecked, c), std::nullopt) << c;
    }
}

TEST(StakeGrid, MatchedNumbersOfTheStakeAndTheDraw)
{
    const TStakeRecord r = CheckedStake();
    using N = TStakeNumber;
    EXPECT_EQ(StakeCellNumbers(r, 2), (std::vector<N>{{1, true}, {5, false}, {7, true}, {9, true}, {12, false},
                                                      {13, false}, {18, false}, {20, true}}));
    EXPECT_EQ(StakeCellNumbers(r, 4), (std::vector<N>{{3, false}, {7, true}, {1, true}, {15, false}, {9, true},
                                                      {20, true}, {11, false}, {4, false}}));
    EXPECT_TRUE(StakeCellNumbers(r, 3).empty());

    // Before the check nothing is matched and the draw column is empty.
    const TStakeRecord unchecked = test::Stake(77, {2, 4, 6, 8, 10, 12, 14, 16});
    const auto stake = StakeCellNumbers(unchecked, 2);
    ASSERT_EQ(stake.size(), 8u);
    for (const N& n : stake) EXPECT_FALSE(n.Matched);
    EXPECT_TRUE(StakeCellNumbers(unchecked, 4).empty());
    EXPECT_FALSE(IsMatchedNumber(unchecked, 0)) << "Count -1 holds no numbers, not even the zero bytes";
    EXPECT_TRUE(StakeCellNumbers(NewSeparator(), 2).empty());
}

TEST(StakeGrid, ViewRefreshAndStatusText)
{
    EXPECT_EQ(StakesCountText(0), "Ставок: 0");
    EXPECT_EQ(StakesCountText(1234), "Ставок: 1234");

    struct Case {
        const char* name;
        int gridRows, records;
        bool refresh, goToLast, visible;
        TStakeViewPlan plan;
    };
    const std::vector<Case> cases = {
        {"no records", 7, 0, false, false, false, {true, 2, 1, true, true}},
        {"grown, refresh", 3, 5, true, false, true, {true, 6, -1, false, true}},
        {"grown, go to last", 3, 5, false, true, false, {true, 6, 5, false, true}},
        {"grown, neither", 3, 5, false, false, true, {false, 0, -1, false, false}},
        {"same size, refresh, visible", 6, 5, true, false, true, {false, 0, -1, true, false}},
        {"same size, refresh, hidden", 6, 5, true, false, false, {false, 0, -1, false, false}},
        {"same size, go to last", 6, 5, false, true, true, {false, 0, 5, false, false}},
        {"same size, both", 6, 5, true, true, true, {false, 0, 5, true, false}},
    };
    for (const Case& c : cases) {
        const TStakeViewPlan p = PlanStakeViewRefresh(c.gridRows, c.records, c.refresh, c.goToLast, c.visible);
        EXPECT_EQ(p.SetRowCount, c.plan.SetRowCount) << c.name;
        EXPECT_EQ(p.RowCount, c.plan.RowCount) << c.name;
        EXPECT_EQ(p.SelectRow, c.plan.SelectRow) << c.name;
        EXPECT_EQ(p.Repaint, c.plan.Repaint) << c.name;
        EXPECT_EQ(p.ShowCount, c.plan.ShowCount) << c.name;
    }
}

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "core/game/counting.h"
#include "core/filters/combchecks.h"
#include "core/filters/generate.h"
#include "core/game/texts.h"
#include "tests/core/filters/combtest.h"
#include "tests/support/support.h"

using namespace kv;
using game::TComb;

namespace {

const TComb A{1, 2, 3, 4, 5, 6, 7, 8};
const TComb C{13, 14, 15, 16, 17, 18, 19, 20};

TEST(FindInDraws, HitsNewestFirstInAnyOrder)
{
    game::TDrawsArray draws = {
        test::MakeDraw(1, TComb{8, 7, 6, 5, 4, 3, 2, 1}, 2, "01.02.2020 10:05"),
        test::MakeDraw(2, C, 3, ""),
        test::MakeDraw(3, TComb{3, 1, 2, 4, 5, 6, 7, 8}, 4, "03.02.2020 10:05"),
        test::MakeDraw(4, TComb{1, 2, 3, 4, 5, 6, 7, 9}, 1, ""),
    };
    EXPECT_EQ(filters::FindInDraws(A, draws),
              "Выделенная комбинация найдена в следующих тиражах:\n\n"
              "Тираж № 3 от 03.02.2020 10:05, значения: 3;1;2;4;5;6;7;8 e:4\n"
              "Тираж № 1 от 01.02.2020 10:05, значения: 8;7;6;5;4;3;2;1 e:2");
    EXPECT_EQ(filters::FindInDraws(TComb{1, 2, 3, 4, 5, 6, 7, 10}, draws),
              "Выделенная комбинация не найдена архиве тиражей!");
    EXPECT_EQ(filters::FindInDraws(A, {}), "Выделенная комбинация не найдена архиве тиражей!");

    test::ScriptedShell sh;
    filters::ShowFindInDraws(C, draws, sh);
    ASSERT_EQ(sh.messages.size(), 1u);
    EXPECT_EQ(sh.messages[0].kind, shell::MessageKind::Information);
    EXPECT_EQ(sh.messages[0].text, "Выделенная комбинация найдена в следующих тиражах:\n\n"
                                   "Тираж № 2 от , значения: 13;14;15;16;17;18;19;20 e:3");
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Поиск по архиву тиражей...", ""}));
}

TEST(FindInDraws, StopsAfterTwentySixHits)
{
    for (int hits : {25, 26, 27, 40}) {
        game::TDrawsArray draws;
        for (int i = 1; i <= hits; ++i) draws.push_back(test::MakeDraw(i, A, 1, ""));
        const std::string text = filters::FindInDraws(A, draws);
        const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) - 1;
        EXPECT_EQ(lines, std::min(hits, 26)) << hits;
        const std::string lastLine = text.substr(text.rfind('\n') + 1);
        EXPECT_EQ(lastLine, game::DrawToText(draws[static_cast<std::size_t>(hits - std::min(hits, 26))])) << hits;
    }
}

TEST(DistinctNumbers, CountsTheFieldOnly)
{
    game::TCombsArray full;
    game::EnumerateAllCombs(full);
    struct Case {
        std::vector<TComb> combs;
        int count;
    };
    const std::vector<Case> cases = {
        {{}, 0},
        {{A}, 8},
        {{A, A}, 8},
        {{A, C}, 16},
        {{TComb{0, 21, 255, 1, 1, 2, 2, 3}}, 3},
        {{TComb{0, 0, 0, 0, 0, 0, 0, 0}}, 0},
        {{A, C, TComb{9, 10, 11, 12, 30, 40, 50, 60}}, 20},
        {{full.begin(), full.end()}, 20},
    };
    for (const Case& c : cases) EXPECT_EQ(filters::CountDistinctNumbers(c.combs), c.count);

    test::ScriptedShell sh;
    filters::ShowDistinctNumbers(std::vector<TComb>{A, C}, sh);
    ASSERT_EQ(sh.messages.size(), 1u);
    EXPECT_EQ(sh.messages[0].kind, shell::MessageKind::Information);
    EXPECT_EQ(sh.messages[0].text, "В текущем списке комбинаций содержится 16 уникальных номеров");
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Подождите пожалуйста...", ""}));
}

TEST(SumDistribution, TheoryOverAllCombinations)
{
    test::ScriptedShell sh;
    const filters::TSumDistribution d = filters::TotalSumCombs({}, sh);
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Идет сбор статистики....", ""}));

    // Counted independently by walking every combination.
    game::TCombsArray full;
    game::EnumerateAllCombs(full);
    std::vector<int> bySum(game::MaxSum + 1, 0);
    for (const TComb& c : full) ++bySum[static_cast<std::size_t>(std::accumulate(c.begin(), c.end(), 0))];

    ASSERT_EQ(d.Theory.size(), 97u);
    EXPECT_EQ(d.Theory.front().Key, 36);
    EXPECT_EQ(d.Theory.back().Key, 132);
    int total = 0;
    for (std::size_t i = 0; i < d.Theory.size(); ++i) {
        EXPECT_EQ(d.Theory[i].Key, 36 + static_cast<int>(i));
        EXPECT_EQ(d.Theory[i].Count, bySum[static_cast<std::size_t>(d.Theory[i].Key)]) << d.Theory[i].Key;
        total += d.Theory[i].Count;
    }
    EXPECT_EQ(total, game::CombCount);
    EXPECT_EQ(d.MaxT, 3788);
    EXPECT_EQ(d.MinT, 1);
    EXPECT_EQ(d.MaxA, 0);
    EXPECT_TRUE(d.Actual.empty());

    struct Level {
        int t, lower, upper;
        std::string title;
        uint32_t color;
    };
    const Level levels[3] = {
        {1263, 65, 103, "Диапазон 1 (от 1/3 и выше по оси Y) - суммы 65-103", 0x008000},
        {1895, 69, 99, "Диапазон 2 (от 1/2 и выше по оси Y) - суммы 69-99", 0x0000FF},
        {2526, 72, 96, "Диапазон 3 (от 2/3 и выше по оси Y) - суммы 72-96", 0xFF00FF},
    };
    ASSERT_EQ(d.Series.size(), 5u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(d.T[k], levels[k].t);
        EXPECT_EQ(d.Lower[k], levels[k].lower);
        EXPECT_EQ(d.Upper[k], levels[k].upper);
        EXPECT_EQ(d.Series[static_cast<std::size_t>(k) + 2].Title, levels[k].title);
        EXPECT_EQ(d.Series[static_cast<std::size_t>(k) + 2].Color, levels[k].color);
        EXPECT_EQ(d.Series[static_cast<std::size_t>(k) + 2].Points.size(), 97u);
    }
}

TEST(SumDistribution, ActualDrawsAndScaling)
{
    const game::TDrawsArray draws = {
        test::MakeDraw(1, A), test::MakeDraw(2, C), test::MakeDraw(3, TComb{8, 7, 6, 5, 4, 3, 2, 1}),
        test::MakeDraw(4, TComb{1, 2, 3, 4, 5, 6, 7, 10}),
    };
    test::ScriptedShell sh;
    const filters::TSumDistribution d = filters::TotalSumCombs(draws, sh);
    EXPECT_EQ(d.Actual, (game::TStatSimpleArray{{36, 2}, {38, 1}, {132, 1}}));
    EXPECT_EQ(d.MaxA, 2);

    const auto& actual = d.Series[0];
    EXPECT_EQ(actual.Title, "Фактическое распределение сумм (по тиражам)");
    EXPECT_EQ(actual.Color, 0xFF0000u);
    EXPECT_TRUE(actual.ShowMarks);
    EXPECT_EQ(actual.Points, (std::vector<filters::TChartPoint>{{36, 2}, {38, 1}, {132, 1}}));

    // Theoretical counts and levels are drawn to the scale of the draws: MaxT maps to MaxA.
    const auto& theory = d.Series[1];
    EXPECT_EQ(theory.Title, "Теоретическое распределение сумм (по комбинациям)");
    EXPECT_EQ(theory.Color, 0x800000u);
    ASSERT_EQ(theory.Points.size(), 97u);
    EXPECT_EQ(theory.Points[84 - 36].X, 84);
    EXPECT_DOUBLE_EQ(theory.Points[84 - 36].Y, 2.0);
    EXPECT_DOUBLE_EQ(theory.Points[0].Y, 2.0 / 3788);
    EXPECT_DOUBLE_EQ(d.Series[2].Points[10].Y, 1263 * 2.0 / 3788);
    EXPECT_DOUBLE_EQ(d.Series[4].Points.back().Y, 2526 * 2.0 / 3788);
}

} // namespace

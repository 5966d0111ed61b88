#include "core/filters/combchecks.h"

#include <algorithm>
#include <array>

#include "core/game/numbers.h"
#include "core/game/texts.h"
#include "core/shell/shell.h"
#include "core/util/format.h"

namespace kv::filters {

using game::TComb;

namespace {

TComb Sorted(TComb comb)
{
    game::SortComb(comb);
    return comb;
}

int NumsSum(const TComb& comb)
{
    int s = 0;
    for (uint8_t x : comb) s += x;
    return s;
}

// Combinations of the game by their sum: ways[s] 8-sets of 1..20 add up to s.
std::array<int, game::MaxSum + 1> TheoreticalSums()
{
    constexpr int K = game::NumsPerDraw;
    // ways[k][s]: k-sets of the numbers taken so far with sum s.
    std::array<std::array<int, game::MaxSum + 1>, K + 1> ways{};
    ways[0][0] = 1;
    for (int n = game::MinNumber; n <= game::MaxNumber; ++n)
        for (int k = K; k >= 1; --k)
            for (int s = game::MaxSum; s >= n; --s) ways[k][s] += ways[k - 1][s - n];
    return ways[K];
}

} // namespace

std::string FindInDraws(const TComb& comb, const game::TDrawsArray& draws)
{
    // Draws keep the order their numbers were drawn in; the list holds them ascending.
    const TComb key = Sorted(comb);
    std::string hits;
    int found = 0;
    for (auto it = draws.rbegin(); it != draws.rend() && found < MaxFoundDraws; ++it) {
        if (Sorted(it->Nums) != key) continue;
        hits += '\n';
        hits += game::DrawToText(*it);
        ++found;
    }
    if (found == 0) return "Выделенная комбинация не найдена архиве тиражей!";
    return "Выделенная комбинация найдена в следующих тиражах:\n" + hits;
}

void ShowFindInDraws(const TComb& comb, const game::TDrawsArray& draws, shell::Shell& shell)
{
    std::string text;
    {
        shell::BusyScope busy(shell, "Поиск по архиву тиражей...");
        text = FindInDraws(comb, draws);
    }
    shell.ShowInfo(text);
}

int CountDistinctNumbers(std::span<const TComb> combs)
{
    // Opened or pasted lists may hold any byte; only the numbers of the field are counted, so
    // the answer stays within 0..20 and means what the user asks.
    std::array<bool, game::MaxNumber + 1> seen{};
    int count = 0;
    for (const TComb& c : combs) {
        for (uint8_t x : c) {
            if (x < game::MinNumber || x > game::MaxNumber || seen[x]) continue;
            seen[x] = true;
            if (++count == game::MaxNumber) return count;
        }
    }
    return count;
}

std::string DistinctNumbersText(int count)
{
    return util::Format("В текущем списке комбинаций содержится %d уникальных номеров", {count});
}

void ShowDistinctNumbers(std::span<const TComb> combs, shell::Shell& shell)
{
    int count = 0;
    {
        shell::BusyScope busy(shell, "Подождите пожалуйста...");
        count = CountDistinctNumbers(combs);
    }
    shell.ShowInfo(DistinctNumbersText(count));
}

TSumDistribution TotalSumCombs(const game::TDrawsArray& draws, shell::Shell& shell)
{
    shell::BusyScope busy(shell, "Идет сбор статистики....");
    TSumDistribution d;

    const auto theory = TheoreticalSums();
    for (int s = 0; s <= game::MaxSum; ++s)
        if (theory[static_cast<std::size_t>(s)] > 0) d.Theory.push_back({s, theory[static_cast<std::size_t>(s)]});
    d.MaxT = d.Theory.front().Count;
    d.MinT = d.Theory.front().Count;
    for (const auto& p : d.Theory) {
        d.MaxT = std::max(d.MaxT, p.Count);
        d.MinT = std::min(d.MinT, p.Count);
    }

    // Archive draws may hold any bytes; 8 x 255 bounds their sums.
    std::vector<int> actual(8 * 255 + 1, 0);
    for (const auto& draw : draws) ++actual[static_cast<std::size_t>(NumsSum(draw.Nums))];
    for (std::size_t s = 0; s < actual.size(); ++s) {
        if (actual[s] == 0) continue;
        d.Actual.push_back({static_cast<int32_t>(s), actual[s]});
        d.MaxA = std::max(d.MaxA, actual[s]);
    }

    const double span = d.MaxT - d.MinT + 1;
    d.T[0] = static_cast<int>(d.MinT + span / 3);
    d.T[1] = static_cast<int>(d.MinT + span / 2);
    d.T[2] = static_cast<int>(d.MinT + 2 * span / 3);
    const int count = static_cast<int>(d.Theory.size());
    const int half = count / 2;
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i <= half && i < count; ++i)
            if (d.Theory[static_cast<std::size_t>(i)].Count >= d.T[k]) {
                d.Lower[k] = d.Theory[static_cast<std::size_t>(i)].Key;
                break;
            }
        for (int i = count - 1; i >= half; --i)
            if (d.Theory[static_cast<std::size_t>(i)].Count >= d.T[k]) {
                d.Upper[k] = d.Theory[static_cast<std::size_t>(i)].Key;
                break;
            }
    }

    const double scale = static_cast<double>(d.MaxA) / d.MaxT;
    TChartSeries actualSeries{"Фактическое распределение сумм (по тиражам)", 0xFF0000, true, {}};
    for (const auto& p : d.Actual) actualSeries.Points.push_back({double(p.Key), double(p.Count)});
    TChartSeries theorySeries{"Теоретическое распределение сумм (по комбинациям)", 0x800000, false, {}};
    for (const auto& p : d.Theory) theorySeries.Points.push_back({double(p.Key), p.Count * scale});
    d.Series.push_back(std::move(actualSeries));
    d.Series.push_back(std::move(theorySeries));

    static constexpr const char* Fractions[3] = {"1/3", "1/2", "2/3"};
    static constexpr uint32_t Colors[3] = {0x008000, 0x0000FF, 0xFF00FF};
    for (int k = 0; k < 3; ++k) {
        TChartSeries level{util::Format("Диапазон %d (от %s и выше по оси Y) - суммы %d-%d",
                                        {k + 1, Fractions[k], d.Lower[k], d.Upper[k]}),
                           Colors[k], false, {}};
        for (const auto& p : d.Theory) level.Points.push_back({double(p.Key), d.T[k] * scale});
        d.Series.push_back(std::move(level));
    }
    return d;
}

} // namespace kv::filters

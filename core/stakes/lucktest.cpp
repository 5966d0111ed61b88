#include "core/stakes/lucktest.h"

#include <algorithm>
#include <array>
#include <random>

#include "core/game/bits.h"
#include "core/stakes/sametext.h"
#include "core/stakes/stakerecord.h"
#include "core/stakes/stakesfile.h"
#include "core/util/cp1251.h"
#include "core/util/format.h"

namespace kv::stakes {

namespace {

uint32_t maskOf(const uint8_t* nums, int count)
{
    uint32_t m = 0;
    for (int i = 0; i < count; ++i)
        if (nums[i] >= game::MinNumber && nums[i] <= game::MaxNumber) m |= 1u << nums[i];
    return m;
}

// 8 distinct numbers of 1..20, each set equally likely: a partial shuffle. The reduction of the
// generator's output to a range is written out so that a seed gives the same draws everywhere.
uint32_t randomDraw(std::mt19937_64& gen)
{
    std::array<uint8_t, game::MaxNumber> pool{};
    for (int i = 0; i < game::MaxNumber; ++i) pool[std::size_t(i)] = uint8_t(i + 1);
    uint32_t m = 0;
    for (int i = 0; i < game::NumsPerDraw; ++i) {
        const auto left = uint64_t(game::MaxNumber - i);
        const auto j = std::size_t(i) + std::size_t((gen() >> 11) * left >> 53);
        std::swap(pool[std::size_t(i)], pool[j]);
        m |= 1u << pool[std::size_t(i)];
    }
    return m;
}

} // namespace

std::vector<TLuckGroup> LuckGroups(TStakesFile& file, std::string_view name)
{
    std::vector<TLuckGroup> groups;
    std::vector<int32_t> drawNos;
    file.Flush();
    const int total = file.RecordCount();
    constexpr int chunk = 4096;
    std::vector<uint8_t> buf(std::size_t(std::min(total, chunk)) * TStakeRecord::RecordSize);
    for (int first = 0; first < total; first += chunk) {
        const int n = std::min(chunk, total - first);
        file.ReadRecords(first, n, buf.data());
        for (int i = 0; i < n; ++i) {
            TStakeRecord r;
            r.Read(buf.data() + std::size_t(i) * TStakeRecord::RecordSize);
            if (!r.IsStake() || r.Checked == 0 || r.Matched.Count < 0 || r.Stake.Count != game::NumsPerDraw) continue;
            if (!SameText(r.Comment, name)) continue;
            std::size_t g = 0;
            while (g < drawNos.size() && drawNos[g] != r.DrawNo) ++g;
            if (g == drawNos.size()) {
                drawNos.push_back(r.DrawNo);
                groups.push_back({maskOf(r.DrawNums.data(), game::NumsPerDraw), {}});
            }
            groups[g].Stakes.push_back(maskOf(r.Stake.Nums.data(), game::NumsPerDraw));
        }
    }
    return groups;
}

TLuckResult LuckTest(const std::vector<TLuckGroup>& groups, const TPrizeTable& prizes, const TLuckSettings& settings,
                     const std::function<bool(int done, int total)>& progress)
{
    TLuckResult result;
    std::array<int64_t, game::NumsPerDraw + 1> prize{};
    for (int h = 0; h <= game::NumsPerDraw; ++h) prize[std::size_t(h)] = prizes.StakeResult(game::NumsPerDraw, h).raw;
    // What one draw gives a group: hits and profit, profit through the count of stakes per hit count.
    const auto evaluate = [&](const TLuckGroup& g, uint32_t draw, int64_t& hits, int64_t& profit) {
        std::array<int32_t, game::NumsPerDraw + 1> byHits{};
        for (uint32_t s : g.Stakes) ++byHits[std::size_t(game::BitCount(s & draw))];
        for (int h = 0; h <= game::NumsPerDraw; ++h) {
            hits += int64_t(h) * byHits[std::size_t(h)];
            profit += prize[std::size_t(h)] * byHits[std::size_t(h)];
        }
    };
    int64_t hits = 0, profit = 0;
    for (const TLuckGroup& g : groups) {
        evaluate(g, g.Draw, hits, profit);
        result.Stakes += int(g.Stakes.size());
    }
    result.Hits = hits;
    result.Profit = util::Currency::FromRaw(profit);
    if (settings.Draws <= 0 || groups.empty()) return result;

    std::mt19937_64 gen(settings.Seed);
    int atLeastHits = 0, atLeastProfit = 0;
    const int step = std::max(1, settings.Draws / 100);
    for (int r = 0; r < settings.Draws; ++r) {
        if (progress && r % step == 0 && !progress(r, settings.Draws)) {
            result.Cancelled = true;
            return result;
        }
        int64_t h = 0, p = 0;
        for (const TLuckGroup& g : groups) evaluate(g, randomDraw(gen), h, p);
        if (h >= hits) ++atLeastHits;
        if (p >= profit) ++atLeastProfit;
    }
    if (progress) progress(settings.Draws, settings.Draws);
    result.PHits = double(atLeastHits) / settings.Draws;
    result.PProfit = double(atLeastProfit) / settings.Draws;
    return result;
}

const TLuckResult* TLuckCache::Find(const TRatingRecord& row) const
{
    const std::string key = UpperCp1251(util::Utf8ToCp1251(row.Name));
    for (const Entry& e : m_entries)
        if (e.Key == key)
            return e.StakeCount == row.StakeCount && e.HitSum == row.HitSum && e.ProfitSum == row.ProfitSum.raw ? &e.Result
                                                                                                            : nullptr;
    return nullptr;
}

void TLuckCache::Store(const TRatingRecord& row, const TLuckResult& result)
{
    const std::string key = UpperCp1251(util::Utf8ToCp1251(row.Name));
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.Key == key; });
    if (it == m_entries.end()) {
        it = m_entries.insert(m_entries.end(), Entry{});
        it->Key = key;
    }
    it->StakeCount = row.StakeCount;
    it->HitSum = row.HitSum;
    it->ProfitSum = row.ProfitSum.raw;
    it->Result = result;
}

std::string LuckPText(double p, int draws)
{
    if (draws > 0 && p * draws < 1) return util::Format("< %.4f", {1.0 / draws});
    return util::Format("%.4f", {p});
}

} // namespace kv::stakes

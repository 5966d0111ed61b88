#include "core/stakes/lucktest.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <numeric>
#include <tuple>

#include "core/game/bits.h"
#include "core/game/counting.h"
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

// Every ticket as a bit set, in the order of the full list: a random draw is one of them.
const std::vector<uint32_t>& ticketMasks()
{
    static const std::vector<uint32_t> masks = [] {
        std::vector<uint32_t> m;
        const game::TCombsArray& all = *game::AllCombs();
        m.reserve(all.size());
        for (const game::TComb& c : all) m.push_back(maskOf(c.data(), game::NumsPerDraw));
        return m;
    }();
    return masks;
}

uint64_t mix(uint64_t z)
{
    z += 0x9e3779b97f4a7c15ull;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

// The random draw of repetition `rep` in place of draw `drawNo`: every ticket equally likely
// (to 2^-47), the same on every machine.
uint32_t randomDraw(const std::vector<uint32_t>& masks, uint64_t seedKey, int rep, int32_t drawNo)
{
    const uint64_t h = mix(seedKey + ((uint64_t(uint32_t(rep)) << 32) | uint32_t(drawNo)) * 0x9e3779b97f4a7c15ull);
    __extension__ using Wide = unsigned __int128;
    const auto index = std::size_t((Wide(h) * masks.size()) >> 64);
    return masks[index];
}

// One group of one row in the order of the pass.
struct Entry {
    int Row = 0;
    int Draw = 0;          // index among the distinct draw numbers
    int First = 0, End = 0;   // its stakes in the flat list
    bool Holdout = false;
    int Point = -1;        // the band point it closes, or -1
};

int64_t quantile(std::vector<int64_t>& v, double q)
{
    const auto k = std::size_t(std::lround(q * double(v.size() - 1)));
    std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(k), v.end());
    return v[k];
}

} // namespace

std::vector<std::vector<TLuckGroup>> LuckGroups(TStakesFile& file, std::span<const std::string> names)
{
    std::vector<std::vector<TLuckGroup>> rows(names.size());
    std::map<std::string, std::size_t> byKey;
    for (std::size_t i = 0; i < names.size(); ++i) byKey.emplace(UpperCp1251(util::Utf8ToCp1251(names[i])), i);
    std::vector<std::map<int32_t, std::size_t>> groupOf(names.size());
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
            const auto it = byKey.find(UpperCp1251(util::Utf8ToCp1251(r.Comment)));
            if (it == byKey.end()) continue;
            std::vector<TLuckGroup>& groups = rows[it->second];
            const auto [g, added] = groupOf[it->second].try_emplace(r.DrawNo, groups.size());
            if (added) groups.push_back({maskOf(r.DrawNums.data(), game::NumsPerDraw), {}, r.DrawNo});
            groups[g->second].Stakes.push_back(maskOf(r.Stake.Nums.data(), game::NumsPerDraw));
        }
    }
    return rows;
}

std::vector<TLuckGroup> LuckGroups(TStakesFile& file, std::string_view name)
{
    const std::string names[1] = {std::string(name)};
    return std::move(LuckGroups(file, names).front());
}

std::vector<double> BenjaminiHochberg(std::span<const double> p)
{
    const std::size_t m = p.size();
    std::vector<std::size_t> order(m);
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return p[a] < p[b]; });
    std::vector<double> q(m);
    double least = 1;
    for (std::size_t i = m; i-- > 0;) {
        least = std::min(least, p[order[i]] * double(m) / double(i + 1));
        q[order[i]] = least;
    }
    return q;
}

double LuckPValue(int atLeast, int repetitions)
{
    return (double(atLeast) + 1) / (double(repetitions) + 1);
}

TLuckRowsResult LuckTestRows(const std::vector<std::vector<TLuckGroup>>& rows, const TPrizeTable& prizes,
                             const TLuckRowsSettings& settings, std::span<const bool> band,
                             const std::function<bool(int done, int total)>& progress)
{
    TLuckRowsResult result;
    const int nRows = int(rows.size());
    result.Rows.resize(rows.size());
    std::array<int64_t, game::NumsPerDraw + 1> prize{};
    for (int h = 0; h <= game::NumsPerDraw; ++h) prize[std::size_t(h)] = prizes.StakeResult(game::NumsPerDraw, h).raw;

    // The distinct draws in order, and every group as an entry of the pass in that order.
    std::vector<int32_t> drawNos;
    for (const auto& groups : rows)
        for (const TLuckGroup& g : groups) drawNos.push_back(g.DrawNo);
    std::sort(drawNos.begin(), drawNos.end());
    drawNos.erase(std::unique(drawNos.begin(), drawNos.end()), drawNos.end());
    std::vector<uint32_t> stakes;
    std::vector<Entry> entries;
    std::vector<int> points(rows.size(), 0);
    for (int r = 0; r < nRows; ++r) {
        const std::vector<TLuckGroup>& groups = rows[std::size_t(r)];
        std::vector<std::size_t> order(groups.size());
        std::iota(order.begin(), order.end(), std::size_t(0));
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return groups[a].DrawNo < groups[b].DrawNo; });
        const bool banded = settings.BandPoints > 0 && (band.empty() || (std::size_t(r) < band.size() && band[std::size_t(r)]));
        const int n = int(groups.size());
        const int p = banded ? std::min(settings.BandPoints, n) : 0;
        points[std::size_t(r)] = p;
        TLuckBand& b = result.Rows[std::size_t(r)].Band;
        int nextPoint = 0;
        for (int k = 0; k < n; ++k) {
            const TLuckGroup& g = groups[order[std::size_t(k)]];
            Entry e;
            e.Row = r;
            e.Draw = int(std::lower_bound(drawNos.begin(), drawNos.end(), g.DrawNo) - drawNos.begin());
            e.First = int(stakes.size());
            stakes.insert(stakes.end(), g.Stakes.begin(), g.Stakes.end());
            e.End = int(stakes.size());
            e.Holdout = settings.HoldoutFrom > 0 && g.DrawNo >= settings.HoldoutFrom;
            // Points spread evenly over the row's draws, the last one at its last draw.
            if (nextPoint < p && int64_t(k + 1) * p >= int64_t(nextPoint + 1) * n) {
                e.Point = nextPoint++;
                b.DrawNo.push_back(g.DrawNo);
            }
            entries.push_back(e);
            TLuckPart& part = e.Holdout ? result.Rows[std::size_t(r)].Holdout : result.Rows[std::size_t(r)].Tuning;
            ++part.Draws;
            part.Stakes += int(g.Stakes.size());
            // The observed totals, and the observed line of the band.
            int64_t h = 0, pr = 0;
            for (uint32_t s : g.Stakes) {
                const int k2 = game::BitCount(s & g.Draw);
                h += k2;
                pr += prize[std::size_t(k2)];
            }
            part.Hits += h;
            part.Profit = util::Currency::FromRaw(part.Profit.raw + pr);
            if (e.Point >= 0) {
                const TLuckRowResult& rr = result.Rows[std::size_t(r)];
                b.Stakes.push_back(rr.Tuning.Stakes + rr.Holdout.Stakes);
                b.Hits.push_back(rr.Tuning.Hits + rr.Holdout.Hits);
                b.Profit.push_back(rr.Tuning.Profit.raw + rr.Holdout.Profit.raw);
            }
        }
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.Draw < b.Draw; });
    for (TLuckRowResult& rr : result.Rows) {
        rr.All.Draws = rr.Tuning.Draws + rr.Holdout.Draws;
        rr.All.Stakes = rr.Tuning.Stakes + rr.Holdout.Stakes;
        rr.All.Hits = rr.Tuning.Hits + rr.Holdout.Hits;
        rr.All.Profit = util::Currency::FromRaw(rr.Tuning.Profit.raw + rr.Holdout.Profit.raw);
    }
    const int reps = std::max(0, settings.Draws);
    result.Repetitions = reps;
    if (reps == 0 || entries.empty()) return result;

    const int bandReps = std::min(reps, std::max(1, settings.BandRepetitions));
    std::vector<std::vector<int64_t>> bandHits(rows.size()), bandProfit(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        bandHits[r].resize(std::size_t(points[r]) * std::size_t(bandReps));
        bandProfit[r].resize(bandHits[r].size());
    }
    struct Acc {
        int64_t TuneHits = 0, TuneProfit = 0, HoldHits = 0, HoldProfit = 0;
    };
    std::vector<Acc> acc(rows.size());
    const std::vector<uint32_t>& masks = ticketMasks();
    const uint64_t seedKey = mix(settings.Seed);
    std::vector<uint32_t> randoms(drawNos.size());
    const int step = std::max(1, reps / 100);
    for (int rep = 0; rep < reps; ++rep) {
        if (progress && rep % step == 0 && !progress(rep, reps)) {
            result.Cancelled = true;
            return result;
        }
        std::fill(acc.begin(), acc.end(), Acc{});
        // All draws of the repetition first: their table reads overlap.
        for (std::size_t d = 0; d < drawNos.size(); ++d) randoms[d] = randomDraw(masks, seedKey, rep, drawNos[d]);
        for (const Entry& e : entries) {
            const uint32_t x = randoms[std::size_t(e.Draw)];
            int64_t h = 0, pr = 0;
            for (int i = e.First; i < e.End; ++i) {
                const uint32_t both = stakes[std::size_t(i)] & x;
                const int k = game::BitCounts11[both & 2047] + game::BitCounts11[both >> 11];
                h += k;
                pr += prize[std::size_t(k)];
            }
            Acc& a = acc[std::size_t(e.Row)];
            if (e.Holdout) {
                a.HoldHits += h;
                a.HoldProfit += pr;
            } else {
                a.TuneHits += h;
                a.TuneProfit += pr;
            }
            if (e.Point >= 0 && rep < bandReps) {
                const std::size_t at = std::size_t(e.Point) * std::size_t(bandReps) + std::size_t(rep);
                bandHits[std::size_t(e.Row)][at] = a.TuneHits + a.HoldHits;
                bandProfit[std::size_t(e.Row)][at] = a.TuneProfit + a.HoldProfit;
            }
        }
        for (std::size_t r = 0; r < rows.size(); ++r) {
            TLuckRowResult& rr = result.Rows[r];
            const Acc& a = acc[r];
            const auto count = [](TLuckPart& part, int64_t h, int64_t p) {
                if (part.Draws == 0) return;
                part.AtLeastHits += h >= part.Hits;
                part.AtLeastProfit += p >= part.Profit.raw;
            };
            count(rr.Tuning, a.TuneHits, a.TuneProfit);
            count(rr.Holdout, a.HoldHits, a.HoldProfit);
            count(rr.All, a.TuneHits + a.HoldHits, a.TuneProfit + a.HoldProfit);
        }
    }
    if (progress) progress(reps, reps);

    // p of every part, q over the rows that have draws in it.
    const auto finish = [&](TLuckPart TLuckRowResult::*which) {
        std::vector<double> ph, pp;
        std::vector<TLuckPart*> parts;
        for (TLuckRowResult& rr : result.Rows) {
            TLuckPart& part = rr.*which;
            if (part.Draws == 0) continue;
            part.PHits = double(part.AtLeastHits) / reps;
            part.PProfit = double(part.AtLeastProfit) / reps;
            ph.push_back(LuckPValue(part.AtLeastHits, reps));
            pp.push_back(LuckPValue(part.AtLeastProfit, reps));
            parts.push_back(&part);
        }
        const std::vector<double> qh = BenjaminiHochberg(ph), qp = BenjaminiHochberg(pp);
        for (std::size_t i = 0; i < parts.size(); ++i) {
            parts[i]->QHits = qh[i];
            parts[i]->QProfit = qp[i];
        }
    };
    finish(&TLuckRowResult::All);
    finish(&TLuckRowResult::Tuning);
    finish(&TLuckRowResult::Holdout);

    for (std::size_t r = 0; r < rows.size(); ++r) {
        TLuckBand& b = result.Rows[r].Band;
        std::vector<int64_t> column;
        for (int p = 0; p < points[r]; ++p) {
            const auto from = std::ptrdiff_t(p) * bandReps;
            for (auto [buf, low, high] : {std::tuple{&bandHits[r], &b.HitsLow, &b.HitsHigh},
                                          std::tuple{&bandProfit[r], &b.ProfitLow, &b.ProfitHigh}}) {
                column.assign(buf->begin() + from, buf->begin() + from + bandReps);
                low->push_back(quantile(column, 0.05));
                high->push_back(quantile(column, 0.95));
            }
        }
    }
    return result;
}

TLuckResult LuckTest(const std::vector<TLuckGroup>& groups, const TPrizeTable& prizes, const TLuckSettings& settings,
                     const std::function<bool(int done, int total)>& progress)
{
    const TLuckRowsResult rows =
        LuckTestRows({groups}, prizes, {.Draws = settings.Draws, .Seed = settings.Seed}, {}, progress);
    const TLuckPart& all = rows.Rows.front().All;
    TLuckResult result;
    result.Hits = all.Hits;
    result.Profit = all.Profit;
    result.Stakes = all.Stakes;
    result.Cancelled = rows.Cancelled;
    if (rows.Cancelled || all.Draws == 0 || rows.Repetitions == 0) return result;
    result.PHits = all.PHits;
    result.PProfit = all.PProfit;
    result.Repetitions = rows.Repetitions;
    result.AtLeastHits = all.AtLeastHits;
    result.AtLeastProfit = all.AtLeastProfit;
    return result;
}

void SetLuckQValues(std::span<TLuckResult*> results)
{
    std::vector<double> ph, pp;
    for (const TLuckResult* r : results) {
        ph.push_back(LuckPValue(r->AtLeastHits, r->Repetitions));
        pp.push_back(LuckPValue(r->AtLeastProfit, r->Repetitions));
    }
    const std::vector<double> qh = BenjaminiHochberg(ph), qp = BenjaminiHochberg(pp);
    for (std::size_t i = 0; i < results.size(); ++i) {
        results[i]->QHits = qh[i];
        results[i]->QProfit = qp[i];
    }
}

std::string LuckChanceText(int rows, int belowP, int belowQ)
{
    const double chance = rows * 0.05;
    const std::string expected = std::fabs(chance - std::round(chance)) < 1e-9 ? util::Format("%d", {int(std::lround(chance))})
                                                                                : util::Format("%.1f", {chance});
    const std::string level = util::Format("%.2f", {0.05});
    return util::Format("Из %d проверенных строк около %s получили бы p < %s чисто случайно, даже если ни одна идея "
                        "не работает; у вас p < %s у %d, а после поправки на число строк (q < %s) - у %d.",
                        {rows, expected, level, level, belowP, level, belowQ});
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

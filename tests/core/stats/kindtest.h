#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/filters/generate.h"
#include "core/game/texts.h"
#include "core/game/types.h"
#include "core/stats/stat.h"

// What the tests of the statistic kinds share: an archive with its settings, values and marked
// sets built from keys, and the table's way of evaluating a window.
namespace kv::test {

using game::TComb;
using game::TDraw;
using game::TDrawsArray;

// A statistic kind of the catalogue by its code template ("NUMS", "POS%d"); codes are unique.
inline const stats::TStatKind& KindOf(const std::string& code)
{
    for (const stats::TStatKind* k : stats::Catalogue())
        if (k->GetCode() == code) return *k;
    throw std::runtime_error("no kind " + code);
}

inline game::TDraw MakeDraw(int drawNo, game::TComb nums, int extra = 1)
{
    game::TDraw d;
    d.DrawNo = drawNo;
    d.Nums = nums;
    d.Extra = static_cast<uint8_t>(extra);
    return d;
}

// Default settings but for the one a family reads.
inline stats::TConfigData Channels(int width)
{
    stats::TConfigData c;
    c.ChannelSize = width;
    return c;
}

inline stats::TConfigData Columns(int cols)
{
    stats::TConfigData c;
    c.MatrixCols = cols;
    return c;
}

// One segment digit per number 1..20, as the settings file writes the layout; "" puts every
// number into segment 1.
inline stats::TConfigData Layout(const char* segments, int channelWidth = 4)
{
    stats::TConfigData c = Channels(channelWidth);
    c.MatrixSegments = game::TextToSegments(segments);
    return c;
}

// An archive and the settings its instances are created with. Instances keep a reference to
// it, so it stays where it was built.
struct Env {
    game::TDrawsArray draws;
    stats::TStatEnv env;

    explicit Env(game::TDrawsArray d = {}, stats::TConfigData config = {}) : draws(std::move(d))
    {
        env.Draws = &draws;
        env.Config = std::move(config);
    }
    Env(const Env&) = delete;
    Env& operator=(const Env&) = delete;

    std::unique_ptr<stats::TCustomStat> Create(const std::string& code, int param = 0) const
    {
        return KindOf(code).Create(env, param);
    }
};

// A value with these keys and no counters.
inline stats::TStatDrawItem Value(int k0, int k1 = 0, int k2 = 0, int k3 = 0)
{
    stats::TStatDrawItem v;
    v.Key = {int16_t(k0), int16_t(k1), int16_t(k2), int16_t(k3)};
    return v;
}

// A value that is a 32-bit word in Key[0..1] (masks, sums), with a second word in Key[2..3].
inline stats::TStatDrawItem LongValue(int32_t lo, int32_t hi = 0)
{
    stats::TStatDrawItem v;
    v.SetLongKey(lo);
    v.Key[2] = int16_t(uint16_t(uint32_t(hi) & 0xFFFF));
    v.Key[3] = int16_t(uint16_t(uint32_t(hi) >> 16));
    return v;
}

// The values a user marked in the table, as the filter pass receives them.
inline stats::TStatDrawArray Marked(const std::vector<stats::TStatDrawItem>& items)
{
    stats::TStatDrawArray a;
    for (const stats::TStatDrawItem& it : items) stats::AddStatDraw(a, it, false);
    return a;
}

// The entry of a value that the table must hold.
inline const stats::TStatDrawItem& At(const stats::TStatDrawArray& values, const stats::TStatDrawItem& key)
{
    const int i = values.Find(key);
    if (i < 0) throw std::runtime_error("value not in the table");
    return values[i];
}

// The four keys of every value, in table order.
inline std::vector<std::array<int, 4>> Keys(const stats::TStatDrawArray& values)
{
    std::vector<std::array<int, 4>> r;
    for (const stats::TStatDrawItem& it : values) r.push_back({it.Key[0], it.Key[1], it.Key[2], it.Key[3]});
    return r;
}

// A window evaluated as the statistics table does it: listed values first, then every draw from
// the oldest, with one period list and one work area for the whole window (handed back when
// asked for).
inline stats::TStatDrawArray Window(stats::TCustomStat& stat, int first, int last, bool sorted,
                                    stats::TWorkArea* workOut = nullptr)
{
    stats::TStatDrawArray values;
    stats::TLastValueArray lastValues;
    stats::TWorkArea work{};
    stat.ListValues(last, values);
    for (int i = first; i <= last; ++i) stat.CalcDraw(i, last, sorted, values, lastValues, work);
    if (workOut) *workOut = work;
    return values;
}

// Each value's text with its count, in table order.
using Texts = std::vector<std::pair<std::string, int>>;

inline Texts TextCounts(const stats::TCustomStat& stat, const stats::TStatDrawArray& values)
{
    Texts r;
    for (const stats::TStatDrawItem& it : values) r.emplace_back(stat.ValueToText(it), it.Count);
    return r;
}

// The values of one draw alone, as texts with counts.
inline Texts DrawTexts(stats::TCustomStat& stat, int index, bool sorted)
{
    stats::TStatDrawArray values;
    stats::TLastValueArray lastValues;
    stats::TWorkArea work{};
    stat.CalcDraw(index, index, sorted, values, lastValues, work);
    return TextCounts(stat, values);
}

// All 125970 combinations in lexicographic order, (1..8) first.
inline std::vector<game::TComb> AllCombs()
{
    game::TCombsArray all;
    filters::EnumerateAllCombs(all);
    return all;
}

// Every step-th of them, from the first.
inline std::vector<game::TComb> EveryNthComb(std::size_t step)
{
    const std::vector<game::TComb> all = AllCombs();
    std::vector<game::TComb> r;
    for (std::size_t i = 0; i < all.size(); i += step) r.push_back(all[i]);
    return r;
}

// The kinds one family registers, in its order.
inline std::vector<const stats::TStatKind*> KindsOf(void (*add)(std::vector<const stats::TStatKind*>&))
{
    std::vector<const stats::TStatKind*> k;
    add(k);
    return k;
}

template <void (*Add)(std::vector<const stats::TStatKind*>&)>
const std::vector<const stats::TStatKind*>& FamilyOf()
{
    static const std::vector<const stats::TStatKind*> kinds = KindsOf(Add);
    return kinds;
}

// The code templates of some kinds, in their order.
inline std::vector<std::string> Codes(const std::vector<const stats::TStatKind*>& kinds)
{
    std::vector<std::string> r;
    for (const stats::TStatKind* k : kinds) r.push_back(k->GetCode());
    return r;
}

// Whether the filter keeps (or, deleting, removes) one combination: CombMatches after the
// filter pass's loading of the window, which the batch pass over that combination alone must
// repeat.
inline bool Matches(stats::TCustomStat& stat, const game::TComb& comb, const stats::TStatDrawArray& marked,
                    int lastIndex, bool sorted, bool exclude)
{
    stat.LoadDraws(-1, lastIndex, sorted);
    const bool one = stat.CombMatches(comb, marked, lastIndex, sorted, exclude);
    std::vector<uint8_t> batch;
    stat.MatchCombs(std::span<const game::TComb>(&comb, 1), marked, lastIndex, sorted, exclude, batch);
    EXPECT_EQ(batch, std::vector<uint8_t>{uint8_t(one ? 1 : 0)}) << "the batch pass over the combination alone";
    return one;
}

// How many of the combinations the filter pass keeps (or, deleting, removes).
inline long Kept(stats::TCustomStat& stat, std::span<const game::TComb> combs, const stats::TStatDrawArray& marked,
                 int lastIndex, bool sorted, bool exclude)
{
    stat.LoadDraws(-1, lastIndex, sorted);
    std::vector<uint8_t> result;
    stat.MatchCombs(combs, marked, lastIndex, sorted, exclude, result);
    long n = 0;
    for (uint8_t r : result) n += r != 0;
    return n;
}

// The filter pass over many combinations answers as one CombMatches call per combination does,
// each instance having loaded the window's draws as the filter pass does.
inline testing::AssertionResult BatchAgrees(stats::TCustomStat& batch, stats::TCustomStat& single,
                                            std::span<const game::TComb> combs, const stats::TStatDrawArray& marked,
                                            int lastIndex, bool sorted, bool exclude)
{
    batch.LoadDraws(-1, lastIndex, sorted);
    single.LoadDraws(-1, lastIndex, sorted);
    std::vector<uint8_t> result;
    batch.MatchCombs(combs, marked, lastIndex, sorted, exclude, result);
    if (result.size() != combs.size())
        return testing::AssertionFailure() << result.size() << " answers for " << combs.size() << " combinations";
    for (std::size_t i = 0; i < combs.size(); ++i) {
        const bool one = single.CombMatches(combs[i], marked, lastIndex, sorted, exclude);
        if ((result[i] != 0) != one) {
            testing::AssertionResult failure = testing::AssertionFailure();
            failure << "combination " << i << " {";
            for (uint8_t n : combs[i]) failure << ' ' << int(n);
            return failure << " }: the batch says " << int(result[i]) << ", one call " << one;
        }
    }
    return testing::AssertionSuccess();
}

} // namespace kv::test

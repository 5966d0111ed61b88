#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/game/counting.h"
#include "core/game/texts.h"
#include "core/game/types.h"
#include "core/game/widevectors.h"
#include "core/stats/stat.h"
#include "core/stats/statitem.h"
#include "tests/support/wideforms.h"

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

// Draws numbered from firstNo on, one a combination in drawn order.
inline game::TDrawsArray Draws(int firstNo, const std::vector<game::TComb>& combs)
{
    game::TDrawsArray d;
    for (const game::TComb& c : combs) d.push_back(MakeDraw(firstNo++, c));
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

// Key[0] .. Key[0] of values first..last, the other keys 0: a closed range of counts or items.
inline std::vector<std::array<int, 4>> KeyRange(int first, int last)
{
    std::vector<std::array<int, 4>> r;
    for (int k = first; k <= last; ++k) r.push_back({k, 0, 0, 0});
    return r;
}

// Items 1..items, each with the counts 0..most in Key[1].
inline std::vector<std::array<int, 4>> KeyGrid(int items, int most)
{
    std::vector<std::array<int, 4>> r;
    for (int g = 1; g <= items; ++g)
        for (int c = 0; c <= most; ++c) r.push_back({g, c, 0, 0});
    return r;
}

// The counters of a value: how often, where last, how deep, and the periods between.
struct Counters {
    int count = 0;
    int lastDrawNo = 0;
    int depth = 0;
    int periodMin = 0;
    int periodMax = 0;
    bool operator==(const Counters&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Counters& c)
{
    return os << "{count " << c.count << ", draw " << c.lastDrawNo << ", depth " << c.depth << ", periods "
              << c.periodMin << ".." << c.periodMax << "}";
}

inline Counters CountersOf(const stats::TStatDrawItem& v)
{
    return {v.Count, v.LastDrawNo, v.Depth, v.PeriodMin, v.PeriodMax};
}

// A value that pairs an item with a number (its period, its run), with its counters.
struct PairEntry {
    int item;
    int k;
    int count;
    int lastDrawNo;
    int depth;
    bool operator==(const PairEntry&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const PairEntry& e)
{
    return os << "{" << e.item << " x " << e.k << ", count " << e.count << ", draw " << e.lastDrawNo << ", depth "
              << e.depth << "}";
}

inline std::vector<PairEntry> PairEntries(const stats::TStatDrawArray& values)
{
    std::vector<PairEntry> r;
    for (const stats::TStatDrawItem& it : values) {
        EXPECT_EQ(it.Key[2], 0);
        EXPECT_EQ(it.Key[3], 0);
        r.push_back({it.Key[0], it.Key[1], it.Count, it.LastDrawNo, it.Depth});
    }
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

// The values of draw index alone, in the window ending at lastIndex.
inline stats::TStatDrawArray DrawValues(stats::TCustomStat& stat, int index, int lastIndex, bool sorted)
{
    stats::TStatDrawArray values;
    stats::TLastValueArray lastValues;
    stats::TWorkArea work{};
    stat.CalcDraw(index, lastIndex, sorted, values, lastValues, work);
    return values;
}

// The values of one draw alone, as texts with counts.
inline Texts DrawTexts(stats::TCustomStat& stat, int index, bool sorted)
{
    return TextCounts(stat, DrawValues(stat, index, index, sorted));
}

// All 125970 combinations in lexicographic order, (1..8) first.
inline std::vector<game::TComb> AllCombs()
{
    game::TCombsArray all;
    game::EnumerateAllCombs(all);
    return {all.begin(), all.end()};
}

// The values of one combination alone: no draw, so no draw number and no period.
inline stats::TStatDrawArray CombValues(const Env& e, const std::string& code, int param, const game::TComb& comb)
{
    stats::TStatDrawArray values;
    e.Create(code, param)->CalcComb(comb, values);
    for (const stats::TStatDrawItem& it : values) {
        EXPECT_EQ(it.LastDrawNo, 0) << code;
        EXPECT_EQ(it.PeriodMin, 0) << code;
    }
    return values;
}

// A combination and the keys of its values, in the order the kind gives them.
struct CombCase {
    const char* code;
    game::TComb comb;
    std::vector<std::array<int, 4>> keys;
};

inline void ExpectCombKeys(const Env& e, const std::vector<CombCase>& cases)
{
    for (const CombCase& c : cases) EXPECT_EQ(Keys(CombValues(e, c.code, 0, c.comb)), c.keys) << c.code;
}

// The full-set distribution of a method in one pass over every combination, ordered by value.
inline stats::TStatDrawArray FullSetValues(const Env& e, const std::string& code, int param = 0)
{
    static const std::vector<game::TComb> all = AllCombs();
    stats::TStatDrawArray values;
    e.Create(code, param)->CalcCombs(all, values);
    stats::SortStatDraw(values);
    return values;
}

// Each value as Key[0..1] read as one word, with its count.
inline std::vector<std::pair<int, int>> LongKeyCounts(const stats::TStatDrawArray& values)
{
    std::vector<std::pair<int, int>> r;
    for (const stats::TStatDrawItem& it : values) r.emplace_back(it.LongKey(), it.Count);
    return r;
}

// Each value's four keys with its count.
inline std::vector<std::pair<std::array<int, 4>, int>> KeyCounts(const stats::TStatDrawArray& values)
{
    std::vector<std::pair<std::array<int, 4>, int>> r;
    for (const stats::TStatDrawItem& it : values) r.push_back({{it.Key[0], it.Key[1], it.Key[2], it.Key[3]}, it.Count});
    return r;
}

// The values a kind lists before the draws of a window: every one with zero counters, whatever
// the instance's current value held.
inline stats::TStatDrawArray Listed(stats::TCustomStat& stat, int lastIndex = 0)
{
    stat.Cur.Count = 3;
    stat.Cur.LastDrawNo = 9;
    stats::TStatDrawArray values;
    stat.ListValues(lastIndex, values);
    for (const stats::TStatDrawItem& it : values) {
        EXPECT_EQ(it.Count, 0);
        EXPECT_EQ(it.LastDrawNo, 0);
        EXPECT_EQ(it.Depth, 0);
    }
    return values;
}

// A kind whose values are not plain numbers: a typed number reads as itself (TextToValue) but is
// none of its values (ParseValue 0); it charts nothing and a combination alone gives no value.
inline void ExpectNoPlainValues(stats::TCustomStat& stat, int typed, int index = 0, int lastIndex = 0)
{
    const std::string text = std::to_string(typed);
    EXPECT_EQ(stat.ParseValue(text), 0) << text;
    EXPECT_EQ(stat.TextToValue(text), typed) << text;
    EXPECT_EQ(stat.GetGraphValue({1, 2, 3, 4, 5, 6, 7, 8}, index, lastIndex, false), 0);
    stats::TStatDrawArray values;
    stat.CalcComb({1, 2, 3, 4, 5, 6, 7, 8}, values);
    EXPECT_TRUE(values.Empty());
}

// A value, its text and the ParseValue of that text, under some settings.
struct TextCase {
    const char* code;
    int param;
    stats::TStatDrawItem value;
    const char* text;
    int parsed;
    stats::TConfigData config = {};
};

inline void ExpectTexts(const std::vector<TextCase>& cases)
{
    for (const TextCase& c : cases) {
        const Env e({}, c.config);
        auto stat = e.Create(c.code, c.param);
        EXPECT_EQ(stat->ValueToText(c.value), c.text) << c.code << " " << c.param;
        EXPECT_EQ(stat->ParseValue(c.text), c.parsed) << c.code << " " << c.param << " \"" << c.text << "\"";
    }
}

// The keys a method lists under some settings.
struct ListCase {
    const char* code;
    stats::TConfigData config;
    std::vector<std::array<int, 4>> keys;
};

inline void ExpectListed(const std::vector<ListCase>& cases)
{
    for (const ListCase& c : cases) {
        const Env e({}, c.config);
        EXPECT_EQ(Keys(Listed(*e.Create(c.code, 1))), c.keys) << c.code;
    }
}

// The values of one draw alone, as texts with counts, under some settings.
struct DrawCase {
    const char* code;
    int param;
    stats::TConfigData config;
    game::TComb draw;
    bool sorted;
    Texts values;
};

inline void ExpectDrawTexts(const std::vector<DrawCase>& cases)
{
    for (const DrawCase& c : cases) {
        const Env e({MakeDraw(1, c.draw)}, c.config);
        EXPECT_EQ(DrawTexts(*e.Create(c.code, c.param), 0, c.sorted), c.values)
            << c.code << " " << c.param << (c.sorted ? " sorted" : "") << ", case " << &c - cases.data();
    }
}

// A text typed into a filter and the number read from it.
struct ParseCase {
    const char* code;
    const char* text;
    int value;
};

// ParseValue: one typed integer, or 0.
inline void ExpectParsed(const Env& e, const std::vector<ParseCase>& cases, int param = 0)
{
    for (const ParseCase& c : cases)
        EXPECT_EQ(e.Create(c.code, param)->ParseValue(c.text), c.value) << c.code << " \"" << c.text << "\"";
}

// TextToValue: the kind's own reading of its texts.
inline void ExpectRead(const Env& e, const std::vector<ParseCase>& cases)
{
    for (const ParseCase& c : cases)
        EXPECT_EQ(e.Create(c.code)->TextToValue(c.text), c.value) << c.code << " \"" << c.text << "\"";
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
    stat.MatchCombs(std::span<const game::TComb>(&comb, 1), marked, {.LastIndex = lastIndex, .Sorted = sorted, .Exclude = exclude}, batch);
    EXPECT_EQ(batch, std::vector<uint8_t>{uint8_t(one ? 1 : 0)}) << "the batch pass over the combination alone";
    return one;
}

// A combination, the values marked for it, and whether the filter keeps it.
struct MatchCase {
    const char* code;
    int param;
    std::vector<stats::TStatDrawItem> marked;
    game::TComb comb;
    bool expected;
};

// Every case, by CombMatches and by the batch pass, keeping and deleting alike, the window ending
// at lastIndex with its draws sorted and in drawn order.
inline void ExpectMatches(const Env& e, const std::vector<MatchCase>& cases, int lastIndex = 0)
{
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " " << c.param << ", case " << &c - cases.data());
        auto stat = e.Create(c.code, c.param);
        const stats::TStatDrawArray marked = Marked(c.marked);
        for (bool sorted : {true, false})
            for (bool exclude : {false, true})
                EXPECT_EQ(Matches(*stat, c.comb, marked, lastIndex, sorted, exclude), c.expected)
                    << (sorted ? "sorted" : "drawn order") << (exclude ? ", deleting" : ", keeping");
    }
}

// How many of the combinations the filter pass keeps (or, deleting, removes).
inline long Kept(stats::TCustomStat& stat, std::span<const game::TComb> combs, const stats::TStatDrawArray& marked,
                 int lastIndex, bool sorted, bool exclude)
{
    stat.LoadDraws(-1, lastIndex, sorted);
    std::vector<uint8_t> result;
    stat.MatchCombs(combs, marked, {.LastIndex = lastIndex, .Sorted = sorted, .Exclude = exclude}, result);
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
    single.LoadDraws(-1, lastIndex, sorted);
    testing::AssertionResult outcome = testing::AssertionSuccess();
    // Every wide vector form the CPU has, and the plain one.
    ForEachWideForm([&](game::TWideForm form) {
        if (!outcome) return;
        batch.LoadDraws(-1, lastIndex, sorted);
        std::vector<uint8_t> result;
        batch.MatchCombs(combs, marked, {.LastIndex = lastIndex, .Sorted = sorted, .Exclude = exclude}, result);
        if (result.size() != combs.size()) {
            outcome = testing::AssertionFailure() << result.size() << " answers for " << combs.size() << " combinations";
            return;
        }
        for (std::size_t i = 0; i < combs.size(); ++i) {
            const bool one = single.CombMatches(combs[i], marked, lastIndex, sorted, exclude);
            if ((result[i] != 0) != one) {
                outcome = testing::AssertionFailure() << game::WideFormName(form) << " combination " << i << " {";
                for (uint8_t n : combs[i]) outcome << ' ' << int(n);
                outcome << " }: the batch says " << int(result[i]) << ", one call " << one;
                return;
            }
        }
    });
    return outcome;
}

} // namespace kv::test

// What every statistic kind of the catalogue must do alike: show the descriptor the golden list
// gives for it, count the full set in one pass as one combination at a time does, and filter
// many combinations in one pass as one CombMatches call per combination does.
#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <map>
#include <set>
#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/archive/sample.h"
#include "core/game/numbers.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/stat.h"

using namespace kv::stats;
using namespace kv::test;

namespace {

// ---- the golden list ------------------------------------------------------------------------

// tests/data/statkinds.tsv: a header line, then one line per kind in catalogue order, its cells
// separated by tabs. An empty flag set or the lack of a parameter is written "-".
enum Column {
    ColPosition,
    ColCode,
    ColClass,
    ColCaption,
    ColHelpCode,
    ColGroup,
    ColFlags,        // GetFlags
    ColMethodFlags,  // GetMethodFlags: with the G of charted kinds
    ColNumeric,      // yes / no
    ColAvailable,    // yes / no
    ColParams,       // "1..8" under the default settings, "-" without a parameter
    ColCode2,        // FormatCode(2)
    ColCaption2,     // FormatCaption(2)
    ColumnCount
};

using Row = std::vector<std::string>;

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> cells;
    std::string cell;
    std::istringstream in(line);
    while (std::getline(in, cell, '\t')) cells.push_back(cell);
    if (!line.empty() && line.back() == '\t') cells.emplace_back();
    return cells;
}

const std::vector<Row>& GoldenRows()
{
    static const std::vector<Row> rows = [] {
        const std::string path = std::string(KV_TEST_DATA) + "/statkinds.tsv";
        std::ifstream in(path, std::ios::binary);
        if (!in) throw std::runtime_error("cannot read " + path);
        std::vector<Row> r;
        std::string line;
        std::getline(in, line);   // the header
        while (std::getline(in, line))
            if (!line.empty()) r.push_back(SplitTabs(line));
        return r;
    }();
    return rows;
}

std::string OrDash(const std::string& s) { return s.empty() ? "-" : s; }
std::string YesNo(bool b) { return b ? "yes" : "no"; }

std::string ParamsText(const TStatKind& k)
{
    if (!k.HasParam()) return "-";
    const auto [first, last] = k.GetParamRange(TConfigData{});
    return std::to_string(first) + ".." + std::to_string(last);
}

TEST(EveryKindList, OneRowPerKindInCatalogueOrder)
{
    const auto& rows = GoldenRows();
    ASSERT_EQ(rows.size(), Catalogue().size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), std::size_t(ColumnCount)) << "row " << i + 1;
        EXPECT_EQ(rows[i][ColPosition], std::to_string(i + 1));
    }
}

class EveryKind : public testing::TestWithParam<const TStatKind*> {};

TEST_P(EveryKind, DescriptorIsTheListedOne)
{
    const TStatKind& k = *GetParam();
    const auto& rows = GoldenRows();
    ASSERT_GE(k.Position(), 1);
    ASSERT_LE(std::size_t(k.Position()), rows.size());
    const Row& row = rows[std::size_t(k.Position() - 1)];
    ASSERT_EQ(row.size(), std::size_t(ColumnCount));
    EXPECT_EQ(std::to_string(k.Position()), row[ColPosition]);
    EXPECT_EQ(k.GetCode(), row[ColCode]);
    EXPECT_EQ(k.ClassName(), row[ColClass]);
    EXPECT_EQ(k.GetCaption(), row[ColCaption]);
    EXPECT_EQ(k.GetHelpCode(), row[ColHelpCode]);
    EXPECT_EQ(std::to_string(k.GetGroup()), row[ColGroup]);
    EXPECT_EQ(OrDash(FlagLetters(k.GetFlags())), row[ColFlags]);
    EXPECT_EQ(OrDash(FlagLetters(k.GetMethodFlags())), row[ColMethodFlags]);
    EXPECT_EQ(YesNo(k.HasNumericValue()), row[ColNumeric]);
    EXPECT_EQ(YesNo(k.IsAvailable()), row[ColAvailable]);
    EXPECT_EQ(ParamsText(k), row[ColParams]);
    EXPECT_EQ(k.FormatCode(2), row[ColCode2]);
    EXPECT_EQ(k.FormatCaption(2), row[ColCaption2]);

    // The flags the other answers follow from.
    EXPECT_EQ(k.IsGraph(), row[ColMethodFlags].find('G') != std::string::npos);
    EXPECT_EQ(k.HasPrefetch(), row[ColFlags].find('N') != std::string::npos);
    EXPECT_EQ(k.GetMethodFlags(), k.GetFlags() | (k.IsGraph() ? unsigned(FlagG) : 0u));
    EXPECT_TRUE(k.IsListed());
    const Env none;
    const int param = k.HasParam() ? k.GetParamRange(TConfigData{}).first : 0;
    EXPECT_EQ(k.Create(none.env, param)->GetName(), k.FormatCaption(param));
    EXPECT_EQ(k.Create(none.env, param)->Param(), param);
    if (!k.HasParam()) {
        EXPECT_EQ(k.GetParamRange(TConfigData{}), std::make_pair(0, 0));
        for (int p : {0, 1, 3, 7}) {
            EXPECT_EQ(k.FormatCode(p), k.GetCode()) << p;
            EXPECT_EQ(k.FormatCaption(p), k.GetCaption()) << p;
        }
    }
}

// ---- one archive, settings and combinations for every kind ----------------------------------

// The settings under which the kinds made of channels, matrix lines and segments are checked;
// the first serves every other kind. Channel widths, column counts and segment layouts each
// reach a boundary somewhere: two numbers a channel, a single column or row, unused and zero
// segment digits.
struct Settings {
    const char* name;
    int channelWidth;
    int matrixCols;
    const char* segments;
};

const std::vector<Settings>& AllSettings()
{
    static const std::vector<Settings> s = {
        {"width 3, 3 columns, scattered", 3, 3, "12312312312312312312"},
        {"width 4, 4 columns, quarters", 4, 4, "11111222223333344444"},
        {"width 2, 1 column, shuffled", 2, 1, "33333111112222255555"},
        {"width 4, 20 columns, one segment", 4, 20, "11111111111111111111"},
        {"width 3, 4 columns, ten segments", 3, 4, "01234567890123456789"},
    };
    return s;
}

// What a kind takes from the settings when it is created: a channel width, a column count or a
// segment layout; empty for the kinds that take nothing (periods, series and transitions follow
// channels and segments too, but the first settings give them items of several numbers).
std::string SettingOf(const TStatKind* k, const TConfigData& c)
{
    auto in = [k](void (*add)(std::vector<const TStatKind*>&)) {
        const auto family = KindsOf(add);
        return std::find(family.begin(), family.end(), k) != family.end();
    };
    if (in(kinds::AddChannelKinds)) return "width " + std::to_string(c.ChannelSize);
    if (in(kinds::AddMatrixKinds)) return "columns " + std::to_string(c.MatrixCols);
    if (in(kinds::AddSegmentKinds)) return std::string(c.MatrixSegments.begin(), c.MatrixSegments.end());
    return "";
}

// The shared archive: long enough that windows of a hundred draws end on it.
constexpr int ArchiveSize = 150;
constexpr int LastIndex = ArchiveSize - 1;

TConfigData ConfigOf(const Settings& s)
{
    TConfigData c = Layout(s.segments, s.channelWidth);
    c.MatrixCols = s.matrixCols;
    return c;
}

struct KindEnv : Env {
    explicit KindEnv(const Settings& s) : Env(kv::archive::SyntheticDraws(ArchiveSize, 21), ConfigOf(s))
    {
        // One formula per shredding parameter: the default one with five digits, one that
        // reads the last draw of the window, one that can be negative.
        env.Shredding.Formula1Digits = 5;
        env.Shredding.Formula2 = "n1/p1";
        env.Shredding.Formula3 = "n8-n1*3";
    }
};

// Tickets a filter can be handed besides the lexicographic list: drawn orders, repeated numbers,
// bytes outside the field, the cards' corner cases.
const std::vector<TComb>& OddCombs()
{
    static const std::vector<TComb> odd = {
        {20, 19, 18, 17, 16, 15, 14, 13}, {0, 21, 100, 255, 1, 2, 3, 4},     {199, 10, 110, 11, 0, 0, 0, 0},
        {0, 255, 0, 255, 0, 255, 0, 255}, {255, 0, 255, 0, 255, 0, 255, 0},  {5, 5, 5, 5, 5, 5, 5, 5},
        {3, 7, 1, 15, 9, 20, 11, 4},      {0, 0, 0, 0, 0, 0, 0, 0},          {255, 255, 255, 255, 255, 255, 255, 255},
        {2, 2, 4, 0, 4, 8, 200, 100},     {20, 1, 13, 7, 8, 9, 2, 16},       {1, 5, 9, 13, 17, 2, 6, 10},
        {14, 10, 1, 5, 2, 6, 9, 13},      {1, 5, 13, 17, 3, 11, 19, 8},      {1, 5, 9, 3, 11, 19, 8, 16},
        {19, 20, 1, 2, 3, 16, 17, 18},    {40, 44, 48, 41, 45, 49, 200, 204}, {17, 3, 12, 8, 1, 20, 9, 14},
        {9, 8, 7, 1, 2, 15, 16, 20},      {254, 255, 0, 1, 2, 3, 3, 4},      {1, 21, 2, 22, 3, 23, 4, 24},
        {8, 1, 7, 2, 6, 3, 5, 4},         {2, 4, 5, 7, 10, 12, 13, 15},
    };
    return odd;
}

// Every combination and the odd ones after them.
const std::vector<TComb>& FullSet()
{
    static const std::vector<TComb> all = [] {
        std::vector<TComb> r = AllCombs();
        r.insert(r.end(), OddCombs().begin(), OddCombs().end());
        return r;
    }();
    return all;
}

// Every step-th combination and the odd ones after them; one list per step for the whole run.
const std::vector<TComb>& EveryNth(std::size_t step)
{
    static std::map<std::size_t, std::vector<TComb>> samples;
    auto [it, added] = samples.try_emplace(step);
    if (added) {
        const std::vector<TComb> all = AllCombs();
        for (std::size_t i = 0; i < all.size(); i += step) it->second.push_back(all[i]);
        it->second.insert(it->second.end(), OddCombs().begin(), OddCombs().end());
    }
    return it->second;
}

// Every 22nd: the passes that vary one more thing, the draws in drawn order, deleting instead of
// keeping, or an early end of the window.
const std::vector<TComb>& HalfSample() { return EveryNth(22); }

// The methods of a kind under some settings: every parameter of a range of up to ten; of a
// longer one (a line of a one-column card per parameter) the first two and the last.
std::vector<int> Params(const TStatKind& k, const TConfigData& config)
{
    if (!k.HasParam()) return {0};
    const auto [from, to] = k.GetParamRange(config);
    std::vector<int> p;
    for (int i = from; i <= to; ++i)
        if (to - from < 10 || i <= from + 1 || i == to) p.push_back(i);
    return p;
}

std::string Name(const TStatKind& k, int param, const Settings& s)
{
    return k.FormatCode(param) + " under " + s.name;
}

// Every method of a kind: under each of the settings that configure it differently, each
// parameter checked there.
template <class Check>
void ForEachMethod(const TStatKind& k, Check check)
{
    const auto& settings = AllSettings();
    std::set<std::string> seen;
    for (std::size_t v = 0; v < settings.size(); ++v) {
        const KindEnv e(settings[v]);
        const std::string taken = SettingOf(&k, e.env.Config);
        if (v > 0 && (taken.empty() || !seen.insert(taken).second)) continue;
        seen.insert(taken);
        for (int param : Params(k, e.env.Config)) {
            SCOPED_TRACE(Name(k, param, settings[v]));
            check(v, e, param);
        }
    }
}

// ---- marked sets ---------------------------------------------------------------------------

using Set = std::vector<TStatDrawItem>;

// Keys each family's values are made of: counts, masks, tuples, sums in two words, periods;
// with keys beside them that no value has. Each marked set is tried on every step-th
// combination: the families with few and fast kinds on more of them.
struct FamilyKeys {
    void (*add)(std::vector<const TStatKind*>&);
    std::size_t step;
    std::vector<Set> sets;
};

const std::vector<FamilyKeys>& FamilySets()
{
    static const std::vector<FamilyKeys> f = {
        {kinds::AddNumberKinds, 1,
         {{Value(5), Value(12), Value(19)}, {Value(0)}, {Value(4)}, {Value(8, 3)}, {Value(170), Value(85), Value(1)},
          {Value(255), Value(-1), Value(200)}, {Value(2), Value(7, 0, 1, 0)}}},
        {kinds::AddDifferenceKinds, 5,
         {{Value(1)}, {Value(4), Value(13)}, {Value(2, 3), Value(1, 7)}, {Value(7), Value(1, 1)},
          {Value(2, 1), Value(1, 1, 1)}, {Value(2, 2, 4, 5), Value(1, 1, 1, 1)},
          {Value(255), Value(0, 7), Value(255, 1)}}},
        {kinds::AddSumKinds, 7,
         {{LongValue(1)}, {LongValue(0)}, {LongValue(-1), LongValue(3)}, {LongValue(84), LongValue(90), LongValue(100)},
          {LongValue(20), LongValue(40, 90), LongValue(84, 70)}, {LongValue(2040), LongValue(0, 2040)},
          {LongValue(-6), LongValue(12), LongValue(168)}}},
        {kinds::AddChannelKinds, 11,
         {{Value(1), Value(2, 2), Value(1, 1, 1, 1)}, {Value(3, 3, 3), Value(1, 2, 3), Value(5, 4, 3, 2)}}},
        {kinds::AddMatrixKinds, 11,
         {{Value(1), Value(2, 2), Value(1, 1, 1, 1)}, {LongValue(12), LongValue(1 << 19 | 1), Value(3, 3, 3)}}},
        {kinds::AddSegmentKinds, 11,
         {{Value(0), Value(1, 1), Value(0, 0, 0, 0)}, {Value(1, 2, 0), Value(0, 1, 2), Value(0, 0, 1, 1)}}},
        {kinds::AddSequenceKinds, 3,
         {{Value(0)}, {Value(1)}, {Value(4), Value(8)}, {Value(2, 1)}, {Value(3)}, {Value(255)}}},
        {kinds::AddRepeatKinds, 11,
         {{Value(0)}, {Value(3)}, {Value(8)}, {Value(1), Value(2), Value(20)}, {Value(5, 1)},
          {Value(19), Value(7), Value(2, 0, 0, 1)}, {Value(-1), Value(255)}}},
        {kinds::AddTupleKinds, 11,
         {{Value(1, 2), Value(3, 8, 17), Value(1, 2, 3, 4)},
          {Value(5, 6), Value(6, 7, 8), Value(5, 6, 7, 8)},
          {Value(19, 20), Value(18, 19, 20), Value(17, 18, 19, 20), Value(4, 9, 0, 1)},
          {Value(0, 21), Value(21, 2, 22), Value(255, 1, 2, 3), Value(100, 255, 0, 0)},
          {Value(0, 0), Value(0, 0, 0), Value(0, 0, 0, 0), Value(-1, 2)},
          {Value(20, 1), Value(13, 20), Value(1, 20), Value(8, 12, 15, 20)}}},
        {kinds::AddKarvelKinds, 11,
         {{Value(0)}, {Value(1), Value(2)}, {Value(3, 1, 0, 2), Value(18)}, {Value(20), Value(7)},
          {Value(255), Value(-1), Value(510)}}},
        {kinds::AddTransitionKinds, 11, {{Value(1, 3), Value(9, 0), Value(4, 4, 2), Value(17, 2, 5), Value(20, 20)}}},
    };
    return f;
}

FamilyKeys OwnFamily(const TStatKind* k)
{
    for (const FamilyKeys& f : FamilySets()) {
        const auto family = KindsOf(f.add);
        if (std::find(family.begin(), family.end(), k) != family.end()) return f;
    }
    return {nullptr, 11, {}};
}

// The sets a method is checked with: none; its family's keys; keys no value has. Then the values
// of its own window of a hundred draws (every third, and all of them) and every fourth value with
// all the family's keys: those belong to the window ending at the last draw.
struct MarkedSets {
    std::vector<Set> sets;
    std::size_t fixed = 0;   // the sets before the window's
};

MarkedSets SetsFor(const TStatKind* k, TCustomStat& stat)
{
    const std::vector<Set> own = OwnFamily(k).sets;
    std::vector<Set> sets = {{}};
    sets.insert(sets.end(), own.begin(), own.end());
    sets.push_back({Value(-1, 3), Value(40, 40), Value(2, 3, 4, 5)});
    const std::size_t fixed = sets.size();
    const TStatDrawArray window = Window(stat, LastIndex - 99, LastIndex, false);
    Set some, every, mixed;
    for (int i = 0; i < window.Count(); ++i) {
        every.push_back(window[i]);
        if (i % 3 == 0) some.push_back(window[i]);
        if (i % 4 == 0) mixed.push_back(window[i]);
    }
    for (const Set& s : own) mixed.insert(mixed.end(), s.begin(), s.end());
    sets.push_back(some);
    sets.push_back(every);
    sets.push_back(mixed);
    return {sets, fixed};
}

// ---- the full-set pass ---------------------------------------------------------------------

// Cards on which no two numbers of a line are neighbours: one column has no row pairs, one row
// no column pairs.
bool NoValueOnTheCard(const TStatKind& k, const TConfigData& config)
{
    return (k.GetCode() == "ROWA" && config.MatrixCols == 1) || (k.GetCode() == "COLA" && config.MatrixCols == 20);
}

TEST_P(EveryKind, FullSetPassEqualsOneCombinationAtATime)
{
    const TStatKind& k = *GetParam();
    ForEachMethod(k, [&](std::size_t, const KindEnv& e, int param) {
        auto batch = k.Create(e.env, param);
        auto single = k.Create(e.env, param);
        if (!k.HasPrefetch()) {
            // No full-set distribution: neither pass gives a value.
            TStatDrawArray a, b;
            batch->CalcCombs(EveryNth(11), a);
            for (const TComb& c : EveryNth(11)) single->CalcComb(c, b);
            EXPECT_TRUE(a.Empty());
            EXPECT_TRUE(b.Empty());
            return;
        }
        // The lexicographic list first, then the odd tickets added to the same table; then merged
        // into a table that already holds the listed values and the draws. Each vector form
        // gives what one combination at a time gives.
        const std::span<const TComb> all(FullSet());
        const std::size_t valid = std::size_t(kv::game::CombCount);
        TStatDrawArray b;
        for (const TComb& c : all.first(valid)) single->CalcComb(c, b);
        const Set lexicographic = b.Items();
        for (const TComb& c : all.subspan(valid)) single->CalcComb(c, b);
        TStatDrawArray lb = Window(*single, 0, LastIndex, false);
        for (const TComb& c : all.subspan(500, 5500)) single->CalcComb(c, lb);
        ForEachWideForm([&](kv::game::TWideForm) {
            auto wide = k.Create(e.env, param);
            TStatDrawArray a;
            wide->CalcCombs(all.first(valid), a);
            ASSERT_EQ(a.Items(), lexicographic);
            EXPECT_EQ(a.Empty(), NoValueOnTheCard(k, e.env.Config));
            wide->CalcCombs(all.subspan(valid), a);
            ASSERT_EQ(a.Items(), b.Items());
            TStatDrawArray la = Window(*wide, 0, LastIndex, false);
            wide->CalcCombs(all.subspan(500, 5500), la);
            ASSERT_EQ(la.Items(), lb.Items());
        });
    });
}

// ---- the filter pass -----------------------------------------------------------------------

// Windows that end at the first draws of the archive, where the draws before them run out.
const int EarlyLasts[] = {0, 1, 2, 3, 20, 39};

TEST_P(EveryKind, FilterPassEqualsOneCombMatchesPerCombination)
{
    const TStatKind& k = *GetParam();
    const bool readsDraws = (k.GetFlags() & (FlagD | FlagP)) != 0;
    const std::vector<TComb>& sample = EveryNth(OwnFamily(&k).step);
    ForEachMethod(k, [&](std::size_t settings, const KindEnv& e, int param) {
        // One pair of instances for every pass: a pass must not keep what the last one marked.
        auto batch = k.Create(e.env, param);
        auto single = k.Create(e.env, param);
        const auto [sets, fixed] = SetsFor(&k, *single);
        for (std::size_t s = 0; s < sets.size(); ++s) {
            SCOPED_TRACE("marked set " + std::to_string(s));
            const TStatDrawArray marked = Marked(sets[s]);
            ASSERT_TRUE(BatchAgrees(*batch, *single, sample, marked, LastIndex, true, false));
            // Keep and delete with the draws in drawn order, for the sets up to every third value of
            // the window; the early windows for the sets that do not come from the last one.
            if (settings != 0 || s > fixed) continue;
            ASSERT_TRUE(BatchAgrees(*batch, *single, HalfSample(), marked, LastIndex, false, false));
            ASSERT_TRUE(BatchAgrees(*batch, *single, HalfSample(), marked, LastIndex, false, true));
            if (readsDraws && s < fixed)
                for (int last : EarlyLasts) {
                    SCOPED_TRACE("last " + std::to_string(last));
                    ASSERT_TRUE(BatchAgrees(*batch, *single, HalfSample(), marked, last, true, false));
                }
        }
        // Nothing marked keeps nothing, also after passes with marked values; a sum range that is
        // not marked keeps the sums outside it.
        ASSERT_TRUE(BatchAgrees(*batch, *single, sample, TStatDrawArray{}, LastIndex, true, false));
        std::vector<uint8_t> result;
        batch->MatchCombs(sample, TStatDrawArray{}, {.LastIndex = LastIndex, .Sorted = true, .Exclude = false}, result);
        if (k.GetCode() != "SUM%d") {
            EXPECT_EQ(std::count(result.begin(), result.end(), 0), std::ptrdiff_t(result.size()));
        }
    });
}

std::string KindName(const testing::TestParamInfo<const TStatKind*>& info)
{
    return info.param->ClassName();
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryKind, testing::ValuesIn(Catalogue()), KindName);

} // namespace

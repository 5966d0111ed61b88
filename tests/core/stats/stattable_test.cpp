#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <filesystem>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/game/types.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"
#include "core/util/format.h"
#include "tests/support/support.h"

using namespace kv;
using namespace kv::stats;
using game::TComb;
using game::TDraw;
using game::TDrawsArray;

namespace {

using kv::test::AllCombs;

using kv::test::MakeDraw;

using Texts = std::array<std::string, StatColumns>;


// Ten draws, numbered 100..110 without 103. The numbers 1..7 are placed so that each shows one
// situation of the table; 8..19 fill the draws up; 20 never occurs.
TDrawsArray HandArchive()
{
    return {
        MakeDraw(100, {1, 3, 8, 9, 10, 11, 12, 13}),
        MakeDraw(101, {13, 1, 8, 6, 9, 10, 11, 12}),
        MakeDraw(102, {14, 2, 1, 7, 15, 16, 17, 18}),
        MakeDraw(104, {8, 3, 4, 7, 1, 9, 10, 11}),
        MakeDraw(105, {12, 1, 7, 13, 14, 15, 16, 17}),
        MakeDraw(106, {18, 19, 1, 3, 5, 8, 9, 10}),
        MakeDraw(107, {2, 11, 12, 13, 1, 14, 15, 16}),
        MakeDraw(108, {17, 18, 19, 8, 9, 1, 10, 11}),
        MakeDraw(109, {4, 12, 13, 14, 15, 16, 17, 18}),
        MakeDraw(110, {19, 8, 9, 1, 2, 10, 11, 12}),
    };
}

std::vector<const TStatKind*> NumberKinds()
{
    std::vector<const TStatKind*> k;
    kinds::AddNumberKinds(k);
    return k;
}

// Nearest integer to num / den (den > 0, num >= 0), halves to even: exact, no floating point.
int64_t RoundRatio(int64_t num, int64_t den)
{
    int64_t q = num / den;
    const int64_t r = num % den;
    if (2 * r > den || (2 * r == den && q % 2 != 0)) ++q;
    return q;
}

// Every combination in lexicographic order, enumerated here rather than by the code under test.
struct Fixture {
    TDrawsArray draws;
    TStatList list;
    test::TempDir dir;
    TPrefetchCache cache{dir.path()};
    test::ScriptedShell sh;
    TStatTable table;

    explicit Fixture(TDrawsArray d = HandArchive()) : draws(std::move(d))
    {
        list.SetDraws(&draws);
        list.BuildMethodList(NumberKinds());
    }

    int method(const std::string& code) const
    {
        const int m = list.FindMethod(code);
        EXPECT_GE(m, 0) << code;
        return m;
    }
    TStatTableRequest request(const std::string& code, int len, int offset, bool prefetch = false) const
    {
        TStatTableRequest r;
        r.Method = method(code);
        r.DrawsStatLen = len;
        r.DrawsOffset = offset;
        r.PrefetchsEnabled = prefetch;
        return r;
    }
    bool build(const TStatTableRequest& r, bool force = true) { return table.Build(list, cache, r, sh, force); }

    // Display index of the row of the value shown as caption, or -1.
    int row(const std::string& caption) const
    {
        for (int i = 0; i < table.RowCount(); ++i)
            if (table.CellText(i, 0) == caption) return i;
        return -1;
    }
    Texts texts(const std::string& caption) const
    {
        const int r = row(caption);
        EXPECT_GE(r, 0) << caption;
        return r >= 0 ? table.RowTexts(r) : Texts{};
    }
    // Occurrences of number n in the draws first..last.
    int countIn(int n, int first, int last) const
    {
        int c = 0;
        for (int i = first; i <= last; ++i)
            for (uint8_t x : draws[std::size_t(i)].Nums) c += x == n;
        return c;
    }
};

Texts AllDash(const std::string& caption, const std::string& count, const std::string& pct)
{
    Texts t;
    t.fill("-");
    t[0] = caption;
    t[1] = count;
    t[2] = pct;
    return t;
}

// Restores the decimal separator that the other tests expect.
struct SeparatorGuard {
    ~SeparatorGuard() { util::SetDecimalSeparator('.'); }
};

} // namespace

// Window: offset 2 and length 7 give the draws 101..108 (indexes 1..7, W = 7); 109 and 110
// are the draws that followed it.
TEST(StatTable, NumsColumnsOverAWindowWithAGapAndAnOffset)
{
    Fixture f;
    EXPECT_TRUE(f.build(f.request("NUMS", 7, 2)));
    EXPECT_EQ(f.table.FirstIndex(), 1);
    EXPECT_EQ(f.table.LastIndex(), 7);
    EXPECT_EQ(f.table.WindowLength(), 7);
    EXPECT_FALSE(f.table.HasNorm());
    ASSERT_EQ(f.table.RowCount(), 20);
    EXPECT_EQ(f.table.Summary().Total, 56);
    EXPECT_EQ(f.table.Summary().MaxDepth, 7);

    const std::map<std::string, Texts> expected = {
        // every draw of the window; gaps 1, 2 (over the missing 103), 1, 1, 1, 1; next in 110
        {"1", {"1", "7", "12.50000", "-", "-", "-", "1", "14.29", "1.00", "108", "1", "1.0000", "2", "109", "123",
               "123", "110", "-1", "+13", "+13"}},
        // 102 and 107: 7/2 + 107 = 110.5 and 3*107/2 = 160.5 both round down to the even number
        {"2", {"2", "2", "3.57143", "-", "-", "-", "2", "28.57", "2.00", "107", "5", "3.5000", "5", "110", "160",
               "144", "110", "0", "+50", "+34"}},
        // 104 and 106 (100 lies before the window): 3.5 + 106 = 109.5 rounds up to 110; never again
        {"3", {"3", "2", "3.57143", "-", "-", "-", "3", "42.86", "3.00", "106", "2", "3.5000", "2", "110", "159",
               "143", "-", "-", "-", "-"}},
        // once (104): no periods and no ПРД; 3*105/2 = 157.5 rounds to 158; shown again by 109
        {"4", {"4", "1", "1.78571", "-", "-", "-", "5", "71.43", "5.00", "104", "-", "-", "-", "-", "208", "158",
               "109", "-", "+99", "+49"}},
        // once (106): 3*107/2 = 160.5 rounds to 160
        {"5", {"5", "1", "1.78571", "-", "-", "-", "3", "42.86", "3.00", "106", "-", "-", "-", "-", "212", "160",
               "-", "-", "-", "-"}},
        // once, in the oldest draw of the window: the largest depth
        {"6", {"6", "1", "1.78571", "-", "-", "-", "7", "100.00", "7.00", "101", "-", "-", "-", "-", "202", "153",
               "-", "-", "-", "-"}},
        // 102, 104, 105: 7/3 = 2.3333; 5*106/4 = 132.5 rounds to 132
        {"7", {"7", "3", "5.35714", "-", "-", "-", "4", "57.14", "4.00", "105", "1", "2.3333", "2", "107", "140",
               "132", "-", "-", "-", "-"}},
        {"20", AllDash("20", "0", "0.00000")},
    };
    for (const auto& [caption, want] : expected) {
        const Texts got = f.texts(caption);
        for (int c = 0; c < StatColumns; ++c)
            EXPECT_EQ(got[std::size_t(c)], want[std::size_t(c)]) << "value " << caption << ", column " << c << " "
                                                                  << StatColumnCaption(c);
    }
    // The counters of every row against an independent count of the window.
    for (int n = 1; n <= 20; ++n) {
        const int r = f.row(std::to_string(n));
        ASSERT_GE(r, 0) << n;
        EXPECT_EQ(f.table.Row(r).Item.Count, f.countIn(n, 1, 7)) << n;
        EXPECT_EQ(f.table.CellText(r, 1), std::to_string(f.countIn(n, 1, 7))) << n;
    }
    EXPECT_TRUE(f.sh.messages.empty());
    EXPECT_EQ(f.sh.statusTexts, (std::vector<std::string>{"Анализ тиражей и расчет статистики...", ""}));
    EXPECT_EQ(f.sh.BusyCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(f.dir / TPrefetchCache::FolderName)) << "comparison off opens no cache file";
}

TEST(StatTable, ColumnCaptions)
{
    const std::vector<std::string> want = {"Значение",   "Количество", "Кол-во в %",  "Норма",      "Отклонение",
                                           "Откл-ие в %", "Глубина",    "Глубина в %", "Вес",        "Посл. тираж",
                                           "Период min", "Период",     "Период max",  "Ожд. ПРД",   "Ожд. СТФ",
                                           "Ожд. КРН",   "Факт",       "+/- ПРД",     "+/- СТФ",    "+/- КРН"};
    for (int c = 0; c < StatColumns; ++c) EXPECT_EQ(StatColumnCaption(c), want[std::size_t(c)]) << c;
    EXPECT_STREQ(StatColumnCaption(-1), "");
    EXPECT_STREQ(StatColumnCaption(20), "");
    for (int c = 0; c < StatColumns; ++c) EXPECT_EQ(IsNormColumn(c), c >= 3 && c <= 5) << c;
}

TEST(StatTable, WithoutOffsetNothingFollowsTheWindow)
{
    Fixture f;
    f.build(f.request("NUMS", 7, 0));
    ASSERT_EQ(f.table.RowCount(), 20);
    for (int r = 0; r < f.table.RowCount(); ++r)
        for (int c = 16; c <= 19; ++c) EXPECT_EQ(f.table.CellText(r, c), "-") << f.table.CellText(r, 0) << " column " << c;
    // 3 occurs in 104 and 106 only: the window 104..110 still counts both.
    EXPECT_EQ(f.texts("3")[1], "2");
}

TEST(StatTable, WindowLongerThanTheArchiveStartsAtTheFirstDraw)
{
    for (int len : {10, 11, 1000, 2147483647}) {
        SCOPED_TRACE(len);
        Fixture f;
        f.build(f.request("NUMS", len, 0));
        EXPECT_EQ(f.table.FirstIndex(), 0);
        EXPECT_EQ(f.table.LastIndex(), 9);
        EXPECT_EQ(f.table.WindowLength(), 10);
        // 1 occurs 9 times: W/Count = 10/9, and round(10/9 + 110) = 111.
        const Texts one = f.texts("1");
        EXPECT_EQ(one[1], "9");
        EXPECT_EQ(one[11], "1.1111");
        EXPECT_EQ(one[13], "111");
        EXPECT_EQ(f.texts("3")[11], "3.3333");   // 100, 104, 106
        EXPECT_EQ(f.table.Summary().Total, 80);
    }
}

TEST(StatTable, WindowOfOneDraw)
{
    Fixture f;
    f.build(f.request("NUMS", 1, 0));
    ASSERT_EQ(f.table.RowCount(), 20);
    int occurred = 0;
    for (int i = 0; i < f.table.RowCount(); ++i) {
        const Texts t = f.table.RowTexts(i);
        if (f.table.Row(i).Item.Count == 0) {
            EXPECT_EQ(t[6], "-") << t[0];
            continue;
        }
        ++occurred;
        EXPECT_EQ(f.table.Row(i).Item.Count, 1);
        EXPECT_EQ(t[6], "1");
        EXPECT_EQ(t[7], "100.00");
        EXPECT_EQ(t[9], "110");
        EXPECT_EQ(t[2], "12.50000");
    }
    EXPECT_EQ(occurred, 8);
}

TEST(StatTable, NothingToBuild)
{
    // No method chosen, an empty archive, an offset past the archive: no rows, no failure.
    {
        Fixture f;
        TStatTableRequest r = f.request("NUMS", 7, 0);
        f.build(r);
        ASSERT_EQ(f.table.RowCount(), 20);
        r.Method = -1;
        EXPECT_TRUE(f.build(r));
        EXPECT_EQ(f.table.RowCount(), 0);
        EXPECT_TRUE(f.table.ActualLine().empty());
    }
    {
        Fixture f(TDrawsArray{});
        EXPECT_TRUE(f.build(f.request("NUMS", 7, 0)));
        EXPECT_EQ(f.table.RowCount(), 0);
        EXPECT_TRUE(f.sh.statusTexts.empty()) << "an empty archive is not analysed";
    }
    {
        Fixture f;
        f.build(f.request("NUMS", 7, 10));
        EXPECT_EQ(f.table.RowCount(), 0);
        EXPECT_TRUE(f.sh.messages.empty());
    }
}

TEST(StatTable, DecimalSeparatorOfTheUser)
{
    SeparatorGuard guard;
    util::SetDecimalSeparator(',');
    Fixture f;
    f.build(f.request("NUMS", 7, 2));
    const Texts one = f.texts("1");
    EXPECT_EQ(one[2], "12,50000");
    EXPECT_EQ(one[7], "14,29");
    EXPECT_EQ(one[8], "1,00");
    EXPECT_EQ(one[11], "1,0000");
    EXPECT_EQ(f.texts("7")[11], "2,3333");
}

TEST(StatTable, NumsNormIsTheMiddleOfTheWindowCounts)
{
    struct Case {
        int len, offset;
    };
    for (const Case c : {Case{7, 2}, Case{7, 0}, Case{1000, 0}, Case{3, 5}, Case{2, 0}, Case{1, 0}}) {
        SCOPED_TRACE(testing::Message() << "len " << c.len << " offset " << c.offset);
        Fixture f;
        f.build(f.request("NUMS", c.len, c.offset, true));
        ASSERT_TRUE(f.table.HasNorm());
        const int last = 9 - c.offset;
        const int first = std::max(0, last - c.len + 1);
        int minCount = 1 << 30, maxCount = 0;
        for (int n = 1; n <= 20; ++n) {
            minCount = std::min(minCount, f.countIn(n, first, last));
            maxCount = std::max(maxCount, f.countIn(n, first, last));
        }
        const int64_t norm = RoundRatio(minCount + maxCount, 2);
        for (int n = 1; n <= 20; ++n) {
            const Texts t = f.texts(std::to_string(n));
            const int count = f.countIn(n, first, last);
            EXPECT_EQ(t[3], std::to_string(norm)) << n;
            EXPECT_EQ(t[4], std::to_string(count - norm)) << n;
        }
    }
}

// n draws, 1 in every one of them and 20 in none: MaxCount n, MinCount 0.
TDrawsArray OneInEveryDraw(int n)
{
    TDrawsArray draws;
    for (int i = 0; i < n; ++i) {
        TComb nums{};
        nums[0] = 1;
        for (int j = 1; j < 8; ++j) nums[std::size_t(j)] = uint8_t((i * 7 + j) % 18 + 2);
        draws.push_back(MakeDraw(1 + i, nums));
    }
    return draws;
}

TEST(StatTable, NormsThatAreExactHalvesGoToTheEvenNeighbour)
{
    // Uniform distribution: the norm is (MaxCount + MinCount) / 2 = n / 2.
    struct Case {
        int draws;
        const char* norm;
    };
    for (const Case c : {Case{53, "26"}, Case{55, "28"}, Case{57, "28"}, Case{61, "30"}, Case{1, "0"}, Case{3, "2"}}) {
        SCOPED_TRACE(c.draws);
        Fixture f(OneInEveryDraw(c.draws));
        f.build(f.request("NUMS", 1000, 0, true));
        EXPECT_EQ(f.texts("1")[3], c.norm);
        EXPECT_EQ(f.texts("20")[3], c.norm);
        EXPECT_EQ(f.table.Summary().MaxCount, c.draws);
    }
    // A distribution with two counts: ratio MaxCount / 44100, and 1 lies in half as many
    // combinations as the others, so its norm is n / 2 while the others' is n.
    for (const Case c : {Case{3, "2"}, Case{7, "4"}, Case{53, "26"}, Case{6, "3"}}) {
        SCOPED_TRACE(c.draws);
        Fixture f(OneInEveryDraw(c.draws));
        std::string file;
        const auto put = [&file](int64_t v, int bytes) {
            for (int i = 0; i < bytes; ++i) file += char((v >> (8 * i)) & 0xFF);
        };
        for (int n = 1; n <= 20; ++n) {
            put(n, 2);
            put(0, 6);
            put(n == 1 ? 22050 : 44100, 4);
        }
        put(22050, 4);
        put(44100, 4);
        put(0, 4);
        std::filesystem::create_directories(f.dir / TPrefetchCache::FolderName);
        test::WriteBytes(f.cache.PrefetchPath("NUMS"), file);
        f.build(f.request("NUMS", 1000, 0, true));
        EXPECT_EQ(f.texts("1")[3], c.norm);
        EXPECT_EQ(f.texts("2")[3], std::to_string(c.draws));
        EXPECT_EQ(test::ReadBytes(f.cache.PrefetchPath("NUMS")), file) << "a valid file is used as it is";
    }
}

TEST(StatTable, NormColumnsAndWeightWithTheComparisonOn)
{
    Fixture f;
    f.build(f.request("NUMS", 7, 2, true));
    ASSERT_TRUE(f.table.HasNorm());
    // MaxCount 7, MinCount 0: (7 + 0) / 2 = 3.5 rounds to the even 4.
    struct Case {
        const char* value;
        const char* norm;
        const char* deviation;
        const char* deviationPct;
        const char* weight;   // Depth - (Count - Norm)
    };
    for (const Case c : {Case{"1", "4", "3", "75.00000", "-2.00"}, Case{"2", "4", "-2", "-50.00000", "4.00"},
                         Case{"4", "4", "-3", "-75.00000", "8.00"}, Case{"7", "4", "-1", "-25.00000", "5.00"},
                         Case{"20", "4", "-4", "-100.00000", "-"}}) {
        const Texts t = f.texts(c.value);
        EXPECT_EQ(t[3], c.norm) << c.value;
        EXPECT_EQ(t[4], c.deviation) << c.value;
        EXPECT_EQ(t[5], c.deviationPct) << c.value;
        EXPECT_EQ(t[8], c.weight) << c.value;
    }
    EXPECT_TRUE(std::filesystem::exists(f.cache.PrefetchPath("NUMS")));
    EXPECT_TRUE(f.sh.messages.empty());

    // The same table with percents: Count*100/Total + (Count-Norm)*100/Norm + Depth*100/MaxDepth.
    f.list.Config().Weights = TWeightCoefs{1, 1, 1, true, false};
    f.build(f.request("NUMS", 7, 2, true));
    EXPECT_EQ(f.texts("1")[8], "101.79");   // 12.5 + 75 + 14.2857
    EXPECT_EQ(f.texts("4")[8], "-1.79");    // 1.7857 - 75 + 71.4286
    f.list.Config().Weights.UseAbsolute = true;
    f.build(f.request("NUMS", 7, 2, true));
    EXPECT_EQ(f.texts("4")[8], "148.21");   // 1.7857 + 75 + 71.4286
}

TEST(StatTable, RowAsTexts)
{
    Fixture f;
    f.build(f.request("NUMS", 7, 2, true));
    int row = -1;
    for (int i = 0; i < f.table.RowCount(); ++i)
        if (f.table.CellText(i, 0) == "1") row = i;
    ASSERT_GE(row, 0);
    const TStatValues v = f.table.RowToStatValues(row);
    EXPECT_EQ(v.Caption, "1");
    EXPECT_EQ(v.Value, 0);
    EXPECT_EQ(v.Count, "7");
    EXPECT_EQ(v.CountPct, "12.50000");
    EXPECT_EQ(v.Deviation, "3");
    EXPECT_EQ(v.DeviationPct, "75.00000");
    EXPECT_EQ(v.Depth, "1");
    EXPECT_EQ(v.DepthPct, "14.29");
    EXPECT_EQ(v.Weight, "-2.00");
    EXPECT_EQ(v.PeriodMin, "1");
    EXPECT_EQ(v.Period, "1.0000");
    EXPECT_EQ(v.PeriodMax, "2");
}

TEST(StatTable, MaskNormUsesTheLargestCounts)
{
    // EVNV: the full-set counts differ from mask to mask, so ratio = MaxCount / TMax.
    std::map<int, int64_t> full;
    for (const TComb& c : AllCombs()) {
        int m = 0;
        for (uint8_t x : c) m = m * 2 + (x % 2);
        ++full[m];
    }
    int64_t tmax = 0;
    for (const auto& [m, n] : full) tmax = std::max(tmax, n);

    for (bool sorted : {false, true}) {
        SCOPED_TRACE(sorted);
        Fixture f;
        TStatTableRequest r = f.request("EVNV", 1000, 0, true);
        r.SortedDraws = sorted;
        f.build(r);
        ASSERT_TRUE(f.table.HasNorm());
        ASSERT_EQ(f.table.RowCount(), 256);
        std::map<int, int> window;
        for (const TDraw& d : f.draws) {
            TComb nums = d.Nums;
            if (sorted) std::sort(nums.begin(), nums.end());
            int m = 0;
            for (uint8_t x : nums) m = m * 2 + (x % 2);
            ++window[m];
        }
        int maxCount = 0;
        for (const auto& [m, n] : window) maxCount = std::max(maxCount, n);
        int zeroNormUnseen = 0, zeroNormSeen = 0;
        for (int i = 0; i < f.table.RowCount(); ++i) {
            const TStatRow& row = f.table.Row(i);
            const int m = row.Item.LongKey();
            const int64_t norm = RoundRatio(full[m] * maxCount, tmax);
            const int count = window.count(m) ? window[m] : 0;
            EXPECT_EQ(row.Item.Norm, norm) << m;
            EXPECT_EQ(f.table.CellText(i, 3), std::to_string(norm)) << m;
            EXPECT_EQ(row.Item.Count, count) << m;
            EXPECT_EQ(f.table.CellText(i, 4), std::to_string(count - norm)) << m;
            if (norm == 0) {
                // No percentage of a zero norm: 0 for a value that did not occur, else 100.
                EXPECT_EQ(f.table.CellText(i, 5), count == 0 ? "0.00000" : "100.00000") << m;
                ++(count == 0 ? zeroNormUnseen : zeroNormSeen);
            }
        }
        EXPECT_GT(zeroNormUnseen, 0);
        EXPECT_GT(zeroNormSeen, 0);
    }
}

TEST(StatTable, ChartWithNormFollowsTheFullSetRecords)
{
    // SMLV of sorted draws: the masks 2^k - 1 with k numbers above 10, the only masks of the full
    // set, whose counts are C(10, 8-k) * C(10, k). The window 101..108 has k = 3, 5, 1, 6, 2, 6, 4.
    const std::vector<int64_t> fullCounts = {45, 1200, 9450, 30240, 44100, 30240, 9450, 1200, 45};
    const std::vector<std::string> labels = {"11111111 (000)", "11111112 (001)", "11111122 (003)",
                                             "11111222 (007)", "11112222 (015)", "11122222 (031)",
                                             "11222222 (063)", "12222222 (127)", "22222222 (255)"};
    const std::map<int, int> windowCounts = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 2}};   // k -> count
    const double ratio = 2.0 / 44100;

    for (bool showTotal : {true, false}) {
        SCOPED_TRACE(showTotal);
        Fixture f;
        TStatTableRequest r = f.request("SMLV", 7, 2, true);
        r.SortedDraws = true;
        r.ShowTotalLine = showTotal;
        f.build(r);
        ASSERT_TRUE(f.table.HasNorm());
        ASSERT_EQ(f.table.RowCount(), 6);

        EXPECT_EQ(f.table.HasTotalLine(), showTotal);
        if (showTotal) {
            ASSERT_EQ(f.table.TotalLine().size(), 9u);
            for (std::size_t i = 0; i < 9; ++i) {
                EXPECT_EQ(f.table.TotalLine()[i].X, double(i + 1));
                EXPECT_NEAR(f.table.TotalLine()[i].Y, double(fullCounts[i]) * ratio, 1e-12);
                EXPECT_EQ(f.table.PointLabel(f.table.TotalLine()[i]), labels[i]);
            }
        } else {
            EXPECT_TRUE(f.table.TotalLine().empty());
        }
        // Actual points only at the records whose masks occurred (k = 0, 7, 8 did not).
        ASSERT_EQ(f.table.ActualLine().size(), windowCounts.size());
        std::size_t i = 0;
        for (const auto& [k, count] : windowCounts) {
            const TChartPoint& p = f.table.ActualLine()[i++];
            EXPECT_EQ(p.X, double(k + 1));
            EXPECT_EQ(p.Y, double(count));
            EXPECT_EQ(f.table.PointLabel(p), labels[std::size_t(k)]);
        }
        // round(C * 2 / 44100): 63 -> 0.43 -> 0, 15 -> 2, 7 and 31 -> 1.37 -> 1.
        EXPECT_EQ(f.texts("11222222 (063)")[3], "0");
        EXPECT_EQ(f.texts("11112222 (015)")[3], "2");
        EXPECT_EQ(f.texts("11111222 (007)")[3], "1");
        EXPECT_EQ(f.texts("11122222 (031)")[3], "1");
        EXPECT_EQ(f.texts("11112222 (015)")[5], "-50.00000");
        EXPECT_EQ(f.texts("11222222 (063)")[5], "100.00000");
    }
}

TEST(StatTable, ChartWithoutNormIsInKeyOrder)
{
    // DIGS lists nothing, so its values come in the order the digits first appear (1, 3 of 13
    // in draw 101 first); the chart shows them by key.
    Fixture f;
    f.build(f.request("DIGS", 7, 2));
    ASSERT_FALSE(f.table.HasNorm());
    std::array<int, 10> digits{};
    for (int i = 1; i <= 7; ++i)
        for (uint8_t x : f.draws[std::size_t(i)].Nums) {
            if (x >= 10) ++digits[x / 10];
            ++digits[x % 10];
        }
    const auto& line = f.table.ActualLine();
    ASSERT_EQ(line.size(), 10u);
    for (int d = 0; d < 10; ++d) {
        EXPECT_EQ(f.table.PointLabel(line[std::size_t(d)]), std::to_string(d));
        EXPECT_EQ(line[std::size_t(d)].Y, double(digits[std::size_t(d)])) << d;
        if (d > 0) {
            EXPECT_GT(line[std::size_t(d)].X, line[std::size_t(d - 1)].X);
        }
    }
    EXPECT_TRUE(f.table.TotalLine().empty());
    EXPECT_FALSE(f.table.HasTotalLine());
}

TEST(StatTable, NoChartForASingleValue)
{
    for (bool prefetch : {false, true}) {
        SCOPED_TRACE(prefetch);
        Fixture f;
        f.build(f.request("SMLV", 1, 0, prefetch));
        EXPECT_EQ(f.table.RowCount(), 1);
        EXPECT_EQ(f.table.HasNorm(), prefetch);
        EXPECT_TRUE(f.table.ActualLine().empty());
        EXPECT_TRUE(f.table.TotalLine().empty());
    }
}

TEST(StatTable, NormChartOfNumsHasEveryNumber)
{
    Fixture f;
    f.build(f.request("NUMS", 7, 2, true));
    ASSERT_EQ(f.table.TotalLine().size(), 20u);
    ASSERT_EQ(f.table.ActualLine().size(), 20u);
    for (int n = 1; n <= 20; ++n) {
        const TChartPoint& t = f.table.TotalLine()[std::size_t(n - 1)];
        const TChartPoint& a = f.table.ActualLine()[std::size_t(n - 1)];
        EXPECT_EQ(t.X, double(n));
        EXPECT_NEAR(t.Y, 3.5, 1e-9);
        EXPECT_EQ(f.table.PointLabel(t), std::to_string(n));
        EXPECT_EQ(a.X, double(n));
        EXPECT_EQ(a.Y, double(f.countIn(n, 1, 7)));
        EXPECT_EQ(f.table.PointLabel(a), std::to_string(n));
    }
}

TEST(StatTable, RepeatedRequestIsFree)
{
    Fixture f;
    const TStatTableRequest base = f.request("NUMS", 7, 2);
    EXPECT_TRUE(f.build(base, false));
    std::vector<Texts> rows;
    for (int i = 0; i < f.table.RowCount(); ++i) rows.push_back(f.table.RowTexts(i));
    const std::size_t statuses = f.sh.statusTexts.size();

    EXPECT_FALSE(f.build(base, false));
    EXPECT_EQ(f.sh.statusTexts.size(), statuses) << "nothing was computed";
    ASSERT_EQ(f.table.RowCount(), 20);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(f.table.RowTexts(i), rows[std::size_t(i)]);

    // Only the archive length, the offset, the window length and the method are remembered; the
    // callers force a build when other settings change.
    TStatTableRequest other = base;
    other.SortedDraws = true;
    other.PrefetchsEnabled = true;
    EXPECT_FALSE(f.build(other, false));
    EXPECT_FALSE(f.table.HasNorm());
    EXPECT_FALSE(std::filesystem::exists(f.dir / TPrefetchCache::FolderName));
    EXPECT_TRUE(f.build(base, true)) << "forced";

    other = base;
    other.DrawsOffset = 1;
    EXPECT_TRUE(f.build(other, false));
    EXPECT_EQ(f.table.LastIndex(), 8);
    EXPECT_FALSE(f.build(other, false));

    other.DrawsStatLen = 6;
    EXPECT_TRUE(f.build(other, false));
    EXPECT_EQ(f.table.FirstIndex(), 3);

    other.Method = f.method("EVNV");
    EXPECT_TRUE(f.build(other, false));
    EXPECT_EQ(f.table.RowCount(), 256);

    f.draws.push_back(MakeDraw(111, {1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_TRUE(f.build(other, false));
    EXPECT_EQ(f.table.LastIndex(), 9);
    EXPECT_FALSE(f.build(other, false));
}

TEST(StatTable, SortRowsByColumn)
{
    Fixture f;
    f.build(f.request("NUMS", 7, 2, true));
    EXPECT_EQ(f.table.SortColumn(), 1);
    EXPECT_TRUE(f.table.SortAscending());

    // Number of a cell, read independently of the sort keys the table keeps.
    const auto number = [](const std::string& s) { return std::stold(s); };
    const auto keyOf = [](const Texts& r) { return std::stoi(r[0]); };
    for (int column : {1, 2, 4, 5, 8, 9, 11, 14, 16, 17, 18}) {
        for (bool ascending : {true, false}) {
            SCOPED_TRACE(testing::Message() << "column " << column << (ascending ? " ascending" : " descending"));
            f.table.SortRows(0, true);
            f.table.SortRows(column, ascending);
            EXPECT_EQ(f.table.SortColumn(), column);
            EXPECT_EQ(f.table.SortAscending(), ascending);
            std::vector<Texts> rows;
            for (int i = 0; i < f.table.RowCount(); ++i) rows.push_back(f.table.RowTexts(i));
            ASSERT_EQ(rows.size(), 20u);
            for (std::size_t i = 1; i < rows.size(); ++i) {
                const std::string& a = rows[i - 1][std::size_t(column)];
                const std::string& b = rows[i][std::size_t(column)];
                const bool dashA = a == "-", dashB = b == "-";
                if (dashA || dashB) {
                    // "-" cells sort before every number
                    EXPECT_TRUE(ascending ? (dashA || !dashB) : (dashB || !dashA)) << a << " / " << b;
                    if (dashA && dashB) {
                        EXPECT_LT(keyOf(rows[i - 1]), keyOf(rows[i])) << "stable";
                    }
                    continue;
                }
                const long double x = number(a), y = number(b);
                EXPECT_TRUE(ascending ? x <= y : x >= y) << a << " / " << b;
                if (x == y) {
                    EXPECT_LT(keyOf(rows[i - 1]), keyOf(rows[i])) << "stable";
                }
            }
        }
    }
    // The value column sorts by key, not by text ("10" after "9").
    f.table.SortRows(0, true);
    for (int i = 0; i < 20; ++i) EXPECT_EQ(f.table.CellText(i, 0), std::to_string(i + 1));
    f.table.SortRows(0, false);
    EXPECT_EQ(f.table.CellText(0, 0), "20");
    // Out of range: nothing changes.
    f.table.SortRows(20, true);
    EXPECT_EQ(f.table.SortColumn(), 0);
    EXPECT_EQ(f.table.CellText(0, 0), "20");

    // A rebuild keeps the user's order.
    f.table.SortRows(9, false);
    f.build(f.request("NUMS", 7, 2, true));
    EXPECT_EQ(f.table.SortColumn(), 9);
    EXPECT_EQ(f.table.CellText(0, 9), "108");
    EXPECT_EQ(f.table.CellText(19, 9), "-");
}

TEST(StatTable, DiffText)
{
    struct Case {
        const char* expected;
        int actual;
        const char* text;
    };
    for (const Case c : {Case{"-", 5, "-"}, Case{"120", 117, "+3"}, Case{"117", 120, "-3"}, Case{"0", 0, "0"},
                         Case{"5", 0, "+5"}, Case{"0", 7, "-7"}, Case{"", 1, "-"}, Case{"-3", 1, "-"},
                         Case{"12.5", 1, "-"}, Case{"abc", 1, "-"}, Case{"2147483647", -1, "+2147483648"}}) {
        EXPECT_EQ(DiffText(c.expected, c.actual), c.text) << c.expected << " " << c.actual;
    }
}

TEST(StatTable, RoundHalfEven)
{
    struct Case {
        long double v;
        int64_t r;
    };
    for (const Case c : {Case{0.5L, 0}, Case{1.5L, 2}, Case{2.5L, 2}, Case{3.5L, 4}, Case{-0.5L, 0}, Case{-1.5L, -2},
                         Case{-2.5L, -2}, Case{2.4999L, 2}, Case{2.5001L, 3}, Case{110.5L, 110}, Case{109.5L, 110},
                         Case{7.0L, 7}}) {
        EXPECT_EQ(RoundHalfEven(c.v), c.r) << static_cast<double>(c.v);
    }
}

TEST(StatTable, Weight)
{
    struct Case {
        const char* name;
        TWeightCoefs coefs;
        int count, norm, depth;
        bool hasNorm;
        int64_t total;
        int maxDepth;
        long double weight;
    };
    const long double inf = std::numeric_limits<long double>::infinity();
    const Case cases[] = {
        {"defaults: Depth - d", {0, -1, 1, false, false}, 7, 4, 1, true, 56, 7, -2},
        {"defaults without norm: d = 0", {0, -1, 1, false, false}, 7, 4, 1, false, 56, 7, 1},
        {"percents", {1, 1, 1, true, false}, 7, 4, 1, true, 56, 7, 12.5L + 75 + 100.0L / 7},
        {"percents, norm 0", {1, 1, 1, true, false}, 7, 0, 1, true, 56, 7, 12.5L + 100.0L / 7},
        {"percents, no norm", {1, 1, 1, true, false}, 7, 4, 1, false, 56, 7, 12.5L + 100.0L / 7},
        {"percents, empty totals", {1, 1, 1, true, false}, 7, 4, 1, true, 0, 0, 75},
        {"plain, negative deviation", {0, 1, 1, false, false}, 1, 4, 5, true, 56, 7, 2},
        {"absolute", {0, 1, 1, false, true}, 1, 4, 5, true, 56, 7, 8},
        {"absolute percents", {1, 1, 0, true, true}, 1, 4, 5, true, 56, 7, 100.0L / 56 + 75},
        {"absolute keeps the coefficients' signs", {-1, -1, 0, false, true}, 1, 4, 5, true, 56, 7, -4},
        {"overflow", {LDBL_MAX, 0, 0, false, false}, 7, 4, 1, true, 56, 7, -999.99L},
        {"not a number", {inf, 0, 0, false, false}, 0, 4, 1, true, 56, 7, -999.99L},
    };
    for (const Case& c : cases) {
        TStatList list;
        list.Config().Weights = c.coefs;
        TStatDrawItem item;
        item.Count = c.count;
        item.Norm = c.norm;
        item.Depth = c.depth;
        TStatSummary s;
        s.Total = c.total;
        s.MaxDepth = c.maxDepth;
        const long double w = TStatTable::Weight(list, item, c.hasNorm, s);
        EXPECT_NEAR(static_cast<double>(w), static_cast<double>(c.weight), 1e-12) << c.name;
    }
}

namespace {

// The full catalogue over a synthetic archive (1400 draws unless a test needs fewer).
struct CatalogueFixture {
    game::TDrawsArray draws;
    TStatList list;
    test::ScriptedShell sh;
    test::TempDir dir;
    TPrefetchCache cache{dir.path()};
    TStatTable table;

    explicit CatalogueFixture(int count = 1400, uint32_t seed = 77)
        : draws(archive::SyntheticDraws(count, seed))
    {
        list.SetDraws(&draws);
        list.BuildMethodList();
    }
    void build(const std::string& code, int len, int offset, bool sorted, bool prefetch)
    {
        TStatTableRequest r;
        r.Method = list.FindMethod(code);
        ASSERT_GE(r.Method, 0) << code;
        r.DrawsStatLen = len;
        r.DrawsOffset = offset;
        r.SortedDraws = sorted;
        r.PrefetchsEnabled = prefetch;
        table.Build(list, cache, r, sh, true);
        ASSERT_TRUE(sh.messages.empty()) << code;
        ASSERT_EQ(table.HasNorm(), prefetch) << code;
    }
    int row(const std::string& caption) const
    {
        for (int i = 0; i < table.RowCount(); ++i)
            if (table.CellText(i, 0) == caption) return i;
        return -1;
    }
};

} // namespace

// Methods of every family whose tables have the column "Факт".
constexpr const char* FactCodes[] = {"NUMS", "EVNV", "SUMC", "DIFO", "CHNV", "COLA", "SEQL", "RPV2", "PRV+1", "KNM3",
                                     "KNS2", "KDS3", "GRPV", "GRCP", "PRDV", "SDP2", "SCM3", "KRL3", "SHR1"};

TEST(StatTable, FactColumnEqualsTheSearchPerValue)
{
    // The table finds the next occurrences in one pass over the draws; every method must give
    // what a search per value gives, the series kinds (which carry state from draw to draw)
    // included.
    CatalogueFixture f(260, 31);
    auto& [draws, list, sh, dir, cache, table] = f;
    int found = 0;
    for (const char* code : FactCodes) {
        SCOPED_TRACE(code);
        const int method = list.FindMethod(code);
        ASSERT_GE(method, 0);
        TStatTableRequest request;
        request.Method = method;
        request.DrawsStatLen = 60;
        request.DrawsOffset = 40;
        TStatTable table;
        table.Build(list, cache, request, sh, true);
        const auto stat = list.CreateStat(method);
        for (int i = 0; i < table.RowCount(); ++i) {
            const TStatRow& row = table.Row(i);
            std::string expected = "-";
            if (row.Item.Depth != 0) {
                const int p = archive::FindDrawIndex(draws, row.Item.LastDrawNo);
                const int32_t fact = stat->FindValueDraw(row.Item, p + 1, table.LastIndex(), false);
                if (fact != -1) expected = std::to_string(fact), ++found;
            }
            EXPECT_EQ(table.CellText(i, 16), expected) << table.CellText(i, 0);
            EXPECT_EQ(row.Fact, expected == "-" ? -1 : std::stoi(expected));
        }
    }
    EXPECT_GT(found, 1000) << "the offset leaves draws to find values in";
    EXPECT_TRUE(sh.messages.empty());
}

// Where values show, found once for many tables, gives every table's "Факт" that reading the
// draws after its window gives: windows a draw apart as a test moves them, then far away and
// back, draws as drawn and sorted.
TEST(StatTable, FactColumnFromTheSightingsOfTheRun)
{
    CatalogueFixture f(260, 31);
    auto& [draws, list, sh, dir, cache, table] = f;
    TSightings sightings;
    int facts = 0;
    for (const bool sorted : {false, true})
        for (const int offset : {100, 99, 98, 40, 41, 99})
            for (const char* code : FactCodes) {
                SCOPED_TRACE(std::string(code) + (sorted ? " sorted, offset " : " offset ") + std::to_string(offset));
                TStatTableRequest request;
                request.Method = list.FindMethod(code);
                request.DrawsStatLen = 60;
                request.DrawsOffset = offset;
                request.SortedDraws = sorted;
                TStatTable read, known;
                read.Build(list, cache, request, sh, true);
                request.Sightings = &sightings;
                known.Build(list, cache, request, sh, true);
                ASSERT_EQ(known.RowCount(), read.RowCount());
                for (int i = 0; i < read.RowCount(); ++i) {
                    EXPECT_EQ(known.Row(i).Fact, read.Row(i).Fact) << read.CellText(i, 0);
                    facts += read.Row(i).Fact != -1 ? 1 : 0;
                }
            }
    EXPECT_GT(facts, 12000);
    EXPECT_TRUE(sh.messages.empty());
}

namespace {

Texts SplitCells(const std::string& line)
{
    Texts t;
    std::size_t at = 0;
    for (std::string& cell : t) {
        const std::size_t bar = line.find('|', at);
        cell = line.substr(at, bar - at);
        at = bar + 1;
    }
    return t;
}

} // namespace

TEST(StatTable, KnownRowsOfLargeTables)
{
    // Rows of tuple, mask, number and series tables, with and without the comparison, with
    // "+/-" cells of both signs and zero: the texts these windows have always shown.
    struct Case {
        const char* code;
        int len, offset;
        bool sorted, prefetch, percents;
        int rows;
        const char* cells;
    };
    const Case cases[] = {
        {"KNM3", 1000, 100, false, false, false, 6836,
         "2:20:13|2|0.00357|-|-|-|1|0.11|1.00|1300|977|500.0000|977|1800|1950|1735|1324|+476|+626|+411"},
        {"KNM3", 1000, 100, false, false, false, 6836,
         "15:2:19|2|0.00357|-|-|-|900|100.00|900.00|401|37|500.0000|37|901|602|536|1333|-432|-731|-797"},
        {"KNM3", 1000, 100, false, false, false, 6836,
         "11:4:2|1|0.00179|-|-|-|569|63.22|569.00|732|-|-|-|-|1464|1100|1370|-|+94|-270"},
        {"NUMS", 300, 50, true, true, false, 20,
         "17|101|4.20833|117|-16|-13.67521|5|71.43|21.00|1346|1|2.9703|18|1349|1359|1360|1351|-2|+8|+9"},
        {"NUMS", 300, 50, true, true, false, 20,
         "5|105|4.37500|117|-12|-10.25641|2|28.57|14.00|1349|1|2.8571|13|1352|1362|1363|1352|0|+10|+11"},
        {"EVNV", 120, 7, false, true, true, 256,
         "нЧнЧнннЧ (174)|2|1.66667|2|0|0.00000|38|32.20|33.87|1356|10|60.0000|10|1416|2034|1809|1395|+21|+639|+414"},
        {"EVNV", 120, 7, false, true, true, 256,
         "нЧЧнЧЧнЧ (146)|1|0.83333|2|-1|-50.00000|29|24.58|-24.59|1365|-|-|-|-|2730|2049|1398|-|+1332|+651"},
        {"SEQL", 1000, 100, false, false, false, 8,
         "1|7372|96.00208|-|-|-|1|0.16|1.00|1300|0|0.1356|1|1300|1300|1301|1301|-1|-1|0"},
    };
    for (const Case& c : cases) {
        const Texts want = SplitCells(c.cells);
        SCOPED_TRACE(testing::Message() << c.code << " " << want[0]);
        CatalogueFixture f;
        f.list.Config().Weights = c.percents ? TWeightCoefs{1, 1, 1, true, false} : TWeightCoefs{};
        f.build(c.code, c.len, c.offset, c.sorted, c.prefetch);
        EXPECT_EQ(f.table.RowCount(), c.rows);
        // In any order of the rows: sorting moves the row, never changes its cells.
        for (const auto& [column, ascending] : {std::pair{1, true}, std::pair{17, false}, std::pair{0, false}}) {
            f.table.SortRows(column, ascending);
            const int r = f.row(want[0]);
            ASSERT_GE(r, 0);
            EXPECT_EQ(f.table.RowTexts(r), want);
            for (int col = 0; col < StatColumns; ++col)
                EXPECT_EQ(f.table.CellText(r, col), want[std::size_t(col)]) << "column " << col;
            const TStatValues v = f.table.RowToStatValues(r);
            EXPECT_EQ((std::array<std::string, 11>{v.Caption, v.Count, v.CountPct, v.Deviation, v.DeviationPct, v.Depth,
                                                  v.DepthPct, v.Weight, v.PeriodMin, v.Period, v.PeriodMax}),
                      (std::array<std::string, 11>{want[0], want[1], want[2], want[4], want[5], want[6], want[7],
                                                  want[8], want[10], want[11], want[12]}));
        }
    }
}

TEST(StatTable, TextsAreThoseOfTheBuild)
{
    // The texts are made when they are read, but from the settings of the build: weights and
    // separator changed afterwards show only after the next build.
    SeparatorGuard guard;
    Fixture f;
    f.build(f.request("NUMS", 7, 2, true));
    const Texts before = f.texts("1");
    EXPECT_EQ(before[8], "-2.00");
    EXPECT_EQ(before[2], "12.50000");
    f.list.Config().Weights = TWeightCoefs{1, 1, 1, true, false};
    util::SetDecimalSeparator(',');
    EXPECT_EQ(f.texts("1"), before);
    EXPECT_EQ(f.table.PointLabel(f.table.ActualLine()[0]), "1");

    f.build(f.request("NUMS", 7, 2, true));
    EXPECT_EQ(f.texts("1")[8], "101,79");
    EXPECT_EQ(f.texts("1")[2], "12,50000");
    EXPECT_EQ(f.texts("1")[1], "7");

    // Outside the table: empty texts, no numbers.
    EXPECT_EQ(f.table.CellText(-1, 1), "");
    EXPECT_EQ(f.table.CellText(20, 1), "");
    EXPECT_EQ(f.table.CellText(0, -1), "");
    EXPECT_EQ(f.table.CellText(0, StatColumns), "");
    EXPECT_FALSE(f.table.CellNumber(20, 1).has_value());
    EXPECT_FALSE(f.table.CellNumber(0, StatColumns).has_value());
    f.table.Clear();
    EXPECT_EQ(f.table.CellText(0, 0), "");
    EXPECT_EQ(f.table.RowTexts(0), Texts{});
}

TEST(StatTable, CellNumbersAgreeWithTheirTexts)
{
    // The sort key of a cell is the number its text shows; "+/-" is DiffText of the expectation
    // and "Факт" texts.
    const std::set<int> fixed2 = {7, 8}, fixed4 = {11}, fixed5 = {2, 5};
    for (const char* code : {"NUMS", "EVNV", "KNM3", "KDS3", "SEQL", "DIFO", "CHNV"}) {
        SCOPED_TRACE(code);
        CatalogueFixture f;
        const bool prefetch = f.list.HasPrefetch(f.list.FindMethod(code));
        f.build(code, 300, 60, false, prefetch);
        ASSERT_GT(f.table.RowCount(), 0);
        int diffs = 0;
        for (int r = 0; r < f.table.RowCount(); ++r) {
            const Texts t = f.table.RowTexts(r);
            EXPECT_FALSE(f.table.CellNumber(r, 0).has_value());
            for (int c = 1; c < StatColumns; ++c) {
                const std::string& text = t[std::size_t(c)];
                const std::optional<long double> n = f.table.CellNumber(r, c);
                ASSERT_EQ(n.has_value(), text != "-") << t[0] << " column " << c << " " << text;
                if (!n) continue;
                if (fixed2.count(c) || fixed4.count(c) || fixed5.count(c)) {
                    const int decimals = fixed2.count(c) ? 2 : fixed4.count(c) ? 4 : 5;
                    EXPECT_EQ(text.size() - text.find('.') - 1, std::size_t(decimals)) << text;
                    EXPECT_LE(std::fabs(static_cast<double>(*n - std::stold(text))), 0.5 * std::pow(10.0, -decimals) + 1e-9)
                        << t[0] << " column " << c << " " << text;
                } else {
                    EXPECT_EQ(*n, static_cast<long double>(std::stoll(text))) << t[0] << " column " << c << " " << text;
                }
            }
            for (int c = 17; c <= 19; ++c) {
                const std::string want = t[16] == "-" ? "-" : DiffText(t[std::size_t(c - 4)], std::stoi(t[16]));
                EXPECT_EQ(t[std::size_t(c)], want) << t[0] << " column " << c;
                diffs += want != "-";
            }
        }
        EXPECT_GT(diffs, 0) << "the offset leaves draws after the window";
    }
}

TEST(StatTable, SortRowsOfLargeTablesIsAStableSortOfTheCells)
{
    // Tables of thousands of rows, with negative, zero and fractional cells: every column in both
    // directions gives what a stable sort of the previous order by the cells' numbers gives
    // ("-" first ascending, last descending; column 0 by the keys).
    for (const auto& [code, prefetch] : {std::pair{"KNM3", false}, std::pair{"EVNV", true}, std::pair{"KDS3", false}}) {
        SCOPED_TRACE(code);
        CatalogueFixture f;
        f.build(code, 1000, 100, false, prefetch);
        ASSERT_GT(f.table.RowCount(), 200);
        struct Entry {
            TStatDrawItem item;
            std::optional<long double> number;
        };
        for (int column = 0; column < StatColumns; ++column) {
            for (bool ascending : {true, false}) {
                SCOPED_TRACE(testing::Message() << "column " << column << (ascending ? " ascending" : " descending"));
                f.table.SortRows(9, false);
                std::vector<Entry> want;
                for (int r = 0; r < f.table.RowCount(); ++r) want.push_back({f.table.Row(r).Item, f.table.CellNumber(r, column)});
                const auto less = [column](const Entry& a, const Entry& b) {
                    if (column == 0) return CompareStatKey(a.item, b.item) < 0;
                    if (a.number.has_value() != b.number.has_value()) return !a.number.has_value();
                    return a.number.has_value() && *a.number < *b.number;
                };
                if (ascending)
                    std::stable_sort(want.begin(), want.end(), less);
                else
                    std::stable_sort(want.begin(), want.end(), [&](const Entry& a, const Entry& b) { return less(b, a); });
                f.table.SortRows(column, ascending);
                ASSERT_EQ(f.table.RowCount(), int(want.size()));
                int wrong = 0;
                for (int r = 0; r < f.table.RowCount(); ++r) wrong += f.table.Row(r).Item.Key != want[std::size_t(r)].item.Key;
                EXPECT_EQ(wrong, 0);
            }
        }
    }
}

TEST(StatTable, ValueNeverCountedExpectsOnlyByTheKrnRule)
{
    // KRL3 over a window ending at the newest draw: every value has Count 0 and Depth 1.
    Fixture f;
    std::vector<const TStatKind*> k;
    kinds::AddKarvelKinds(k);
    f.list.BuildMethodList(k);
    ASSERT_TRUE(f.build(f.request("KRL3", 1, 0)));
    ASSERT_GT(f.table.RowCount(), 0);
    for (int r = 0; r < f.table.RowCount(); ++r) {
        EXPECT_EQ(f.table.CellText(r, 1), "0");
        EXPECT_EQ(f.table.CellText(r, 6), "1");
        EXPECT_EQ(f.table.CellText(r, 14), "-") << "divides by the count";
        EXPECT_EQ(f.table.CellText(r, 15), "222") << "(0 + 2) x (110 + 1) / 1";
    }
}

TEST(StatTable, WholeWordValuesSortByTheWholeValue)
{
    // Five digits of n1 x 0.32768 reach past 65535 (65536 for n1 = 2, 93216 for n1 = 12).
    Fixture f;
    std::vector<const TStatKind*> k;
    kinds::AddShreddingKinds(k);
    f.list.Shredding().Formula1 = "n1*0.32768";
    f.list.Shredding().Formula1Digits = 5;
    f.list.BuildMethodList(k);
    ASSERT_TRUE(f.build(f.request("SHR1", 10, 0)));
    for (bool ascending : {true, false}) {
        f.table.SortRows(0, ascending);
        std::vector<long long> shown;
        for (int r = 0; r < f.table.RowCount(); ++r) shown.push_back(std::stoll(f.table.CellText(r, 0)));
        ASSERT_GT(*std::max_element(shown.begin(), shown.end()), 65535);
        if (!ascending) std::reverse(shown.begin(), shown.end());
        EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
    }
    std::vector<long long> chart;
    for (const TChartPoint& p : f.table.ActualLine()) chart.push_back(std::stoll(f.table.PointLabel(p)));
    EXPECT_EQ(chart.size(), std::size_t(f.table.RowCount()));
    EXPECT_TRUE(std::is_sorted(chart.begin(), chart.end()));
}

// A copied table shows what the build showed, cell by cell and point by point, stays so when
// the original is rebuilt for another window, and sorts and rebuilds as the original would.
TEST(StatTable, ACopyShowsAndBehavesAsTheBuild)
{
    const auto shown = [](const TStatTable& t) {
        std::vector<std::string> s;
        for (int r = 0; r < t.RowCount(); ++r)
            for (const std::string& cell : t.RowTexts(r)) s.push_back(cell);
        for (const auto* line : {&t.ActualLine(), &t.TotalLine()})
            for (const TChartPoint& p : *line) s.push_back(std::to_string(p.X) + ":" + std::to_string(p.Y) + ":" + t.PointLabel(p));
        s.push_back(std::to_string(t.FirstIndex()) + ".." + std::to_string(t.LastIndex()) + " " + std::to_string(t.HasNorm())
                    + std::to_string(t.HasTotalLine()) + " " + std::to_string(t.Summary().Total));
        return s;
    };
    for (const char* code : {"SMLV", "DIGS", "NUMS"}) {
        SCOPED_TRACE(code);
        Fixture f;
        TStatTableRequest r = f.request(code, 7, 2, true);
        r.SortedDraws = true;
        f.table.SortRows(3, false);
        f.build(r);
        const std::vector<std::string> built = shown(f.table);
        ASSERT_GT(f.table.RowCount(), 1);

        TStatTable copy;
        copy.CopyFrom(f.table, f.list);
        f.build(f.request(code, 3, 0, true));
        EXPECT_NE(shown(f.table), built);
        EXPECT_EQ(shown(copy), built);

        f.build(r);
        for (int column : {0, 1, 5}) {
            f.table.SortRows(column, true);
            copy.SortRows(column, true);
            EXPECT_EQ(shown(copy), shown(f.table)) << column;
        }
        EXPECT_FALSE(copy.Build(f.list, f.cache, r, f.sh, false));
    }
}

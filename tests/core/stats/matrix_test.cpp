#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/stats/kinds/kinds.h"
#include "core/stats/stat.h"
#include "core/stats/statlist.h"

using namespace kv::stats;
using namespace kv::test;

namespace {

constexpr auto Family = FamilyOf<kinds::AddMatrixKinds>;

// A mask of lines in Key[0..1].
TStatDrawItem Mask(int m) { return LongValue(m); }

// With 4 columns the card reads
//    1  2  3  4
//    5  6  7  8
//    9 10 11 12
//   13 14 15 16
//   17 18 19 20
const TComb Ladder = {1, 2, 5, 6, 9, 10, 13, 14};          // two full-height runs in columns 1, 2
const TComb LadderMixed = {14, 10, 1, 5, 2, 6, 9, 13};     // the same numbers in drawn order
const TComb NoPair = {2, 4, 5, 7, 10, 12, 13, 15};         // 4-5 and 12-13 split by row ends
const TComb TwoPairs = {1, 5, 13, 17, 3, 11, 19, 8};       // column 1: 1-5 and 13-17
const TComb ColumnRun = {1, 5, 9, 3, 11, 19, 8, 16};             // column 1: 1-5-9
const TComb Woven = {1, 5, 9, 13, 17, 2, 6, 10};
// With 3 columns the last of 7 rows holds 19 and 20.
const TComb ShortRow = {19, 20, 1, 2, 3, 16, 17, 18};

// The rest of each descriptor is in the golden list of every kind.
TEST(MatrixKinds, FamilyAndNames)
{
    EXPECT_EQ(Codes(Family()), (std::vector<std::string>{"COLS", "ROWS", "COLV", "ROWV", "COLN", "ROWN", "COLM", "ROWM",
                                                         "COLA", "ROWA", "COLC", "ROWC", "KFM2", "KFM3", "KFM4", "KFS2",
                                                         "KFS3", "KFS4", "KRM2", "KRM3", "KRM4", "KRS2", "KRS3", "KRS4",
                                                         "COL%d", "ROW%d"}));
    EXPECT_EQ(KindOf("COL%d").GetParamRange(TConfigData{}), std::make_pair(1, 4));
    EXPECT_EQ(KindOf("ROW%d").GetParamRange(TConfigData{}), std::make_pair(1, 5));
    Env e;
    EXPECT_EQ(e.Create("COL%d", 2)->GetName(), "Количество чисел в 2 столбце матрицы");
    EXPECT_EQ(e.Create("ROW%d", 5)->GetName(), "Количество чисел в 5 строке матрицы");
    EXPECT_EQ(KindOf("ROW%d").FormatCode(5), "ROW5");
}

TEST(MatrixKinds, ParameterRangesFollowTheColumns)
{
    auto codes = [](const char* prefix, int last) {
        std::vector<std::string> r;
        for (int p = 1; p <= last; ++p) r.push_back(prefix + std::to_string(p));
        return r;
    };
    struct Case {
        int cols;
        int columns;   // COL1..COLn
        int rows;      // ROW1..ROWn
    };
    const std::vector<Case> cases = {{4, 4, 5}, {5, 5, 4}, {3, 3, 7}, {1, 1, 20}, {20, 20, 1},
                                     {7, 7, 3}, {0, 0, 0}, {-2, 0, 0}};
    for (const Case& c : cases) {
        TStatList list;
        list.Config().MatrixCols = c.cols;
        list.BuildMethodList(Family());
        std::vector<std::string> params;
        for (int i = 0; i < list.MethodCount(); ++i)
            if (list.Method(i).Kind->HasParam()) params.push_back(list.Method(i).MethodCode());
        std::vector<std::string> expected = codes("COL", c.columns);
        const std::vector<std::string> rows = codes("ROW", c.rows);
        expected.insert(expected.end(), rows.begin(), rows.end());
        EXPECT_EQ(params, expected) << "columns " << c.cols;
        EXPECT_EQ(list.MethodCount(), 24 + c.columns + c.rows);
    }
}

TEST(MatrixKinds, ValuesOfDraws)
{
    const std::vector<DrawCase> cases = {
        {"COLS", 0, Columns(4), Ladder, false, {{"1", 4}, {"2", 4}}},
        {"ROWS", 0, Columns(4), Ladder, false, {{"1", 2}, {"2", 2}, {"3", 2}, {"4", 2}}},
        {"ROWS", 0, Columns(4), LadderMixed, false, {{"4", 2}, {"3", 2}, {"1", 2}, {"2", 2}}},
        {"COLV", 0, Columns(4), Ladder, false, {{"1 x 4", 1}, {"2 x 4", 1}, {"3 x 0", 1}, {"4 x 0", 1}}},
        {"ROWV", 0, Columns(4), Ladder, false, {{"1 x 2", 1}, {"2 x 2", 1}, {"3 x 2", 1}, {"4 x 2", 1}, {"5 x 0", 1}}},
        {"COLN", 0, Columns(4), Ladder, false, {{"2", 1}}},
        {"ROWN", 0, Columns(4), Ladder, false, {{"4", 1}}},
        {"COLN", 0, Columns(4), NoPair, false, {{"4", 1}}},
        {"COLM", 0, Columns(4), Ladder, false, {{"1100 (012)", 1}}},
        {"ROWM", 0, Columns(4), Ladder, false, {{"11110 (030)", 1}}},
        {"COLM", 0, Columns(4), TwoPairs, false, {{"1011 (011)", 1}}},
        {"COLA", 0, Columns(4), Ladder, false, {{"1 x 4", 1}, {"2 x 4", 1}}},
        {"COLA", 0, Columns(4), LadderMixed, false, {{"2 x 4", 1}, {"1 x 4", 1}}},   // order of the first pairs
        {"COLA", 0, Columns(4), LadderMixed, true, {{"1 x 4", 1}, {"2 x 4", 1}}},
        {"ROWA", 0, Columns(4), Ladder, false, {{"1 x 2", 1}, {"2 x 2", 1}, {"3 x 2", 1}, {"4 x 2", 1}}},
        {"ROWA", 0, Columns(4), LadderMixed, false, {{"4 x 2", 1}, {"3 x 2", 1}, {"1 x 2", 1}, {"2 x 2", 1}}},
        {"COLC", 0, Columns(4), Ladder, false, {{"2", 1}}},
        {"ROWC", 0, Columns(4), Ladder, false, {{"4", 1}}},
        // 4-5 and 12-13 are consecutive but split by the end of a row.
        {"COLA", 0, Columns(4), NoPair, false, {}},
        {"ROWA", 0, Columns(4), NoPair, false, {}},
        {"COLC", 0, Columns(4), NoPair, false, {{"0", 1}}},
        {"ROWC", 0, Columns(4), NoPair, false, {{"0", 1}}},
        // Two separate pairs in a column give the same value as a run of three.
        {"COLA", 0, Columns(4), TwoPairs, false, {{"1 x 3", 1}}},
        {"COLA", 0, Columns(4), ColumnRun, false, {{"1 x 3", 1}}},
        {"COLC", 0, Columns(4), TwoPairs, false, {{"1", 1}}},
        {"ROWC", 0, Columns(4), TwoPairs, false, {{"0", 1}}},
        {"COL%d", 1, Columns(4), Ladder, false, {{"4", 1}}},
        {"COL%d", 3, Columns(4), Ladder, false, {{"0", 1}}},
        {"ROW%d", 5, Columns(4), Ladder, false, {{"0", 1}}},
        {"ROW%d", 2, Columns(4), Ladder, true, {{"2", 1}}},
        // Three columns: seven rows, the last one short.
        {"ROWV", 0, Columns(3), ShortRow, false,
         {{"1 x 3", 1}, {"2 x 0", 1}, {"3 x 0", 1}, {"4 x 0", 1}, {"5 x 0", 1}, {"6 x 3", 1}, {"7 x 2", 1}}},
        {"ROWA", 0, Columns(3), ShortRow, false, {{"7 x 2", 1}, {"1 x 3", 1}, {"6 x 3", 1}}},
        {"COLA", 0, Columns(3), ShortRow, false, {{"1 x 2", 1}, {"2 x 2", 1}}},
        {"ROWM", 0, Columns(3), ShortRow, false, {{"1000011 (067)", 1}}},
        {"COLM", 0, Columns(3), ShortRow, false, {{"111 (007)", 1}}},
        {"ROWN", 0, Columns(3), ShortRow, false, {{"3", 1}}},
        {"ROW%d", 7, Columns(3), ShortRow, false, {{"2", 1}}},
        {"COL%d", 3, Columns(3), ShortRow, false, {{"2", 1}}},
        // Tuples of columns and rows follow the order of the numbers.
        {"KFS2", 0, Columns(4), Woven, false, {{"1:1", 4}, {"1:2", 1}, {"2:2", 2}}},
        {"KFS2", 0, Columns(4), Woven, true, {{"1:2", 3}, {"2:1", 3}, {"1:1", 1}}},
        {"KRS2", 0, Columns(4), Woven, false, {{"1:2", 2}, {"2:3", 2}, {"3:4", 1}, {"4:5", 1}, {"5:1", 1}}},
        {"KRS2", 0, Columns(4), Woven, true,
         {{"1:1", 1}, {"1:2", 1}, {"2:2", 1}, {"2:3", 1}, {"3:3", 1}, {"3:4", 1}, {"4:5", 1}}},
        {"KFM2", 0, Columns(4), Ladder, false, {{"1:2", 10}, {"1:1", 6}, {"2:1", 6}, {"2:2", 6}}},
        {"KRS3", 0, Columns(4), Ladder, false,
         {{"1:1:2", 1}, {"1:2:2", 1}, {"2:2:3", 1}, {"2:3:3", 1}, {"3:3:4", 1}, {"3:4:4", 1}}},
        {"KFS4", 0, Columns(4), Woven, false, {{"1:1:1:1", 2}, {"1:1:1:2", 1}, {"1:1:2:2", 1}, {"1:2:2:2", 1}}},
        {"KRM4", 0, Columns(20), Woven, false, {{"1:1:1:1", 70}}},
    };
    ExpectDrawTexts(cases);
    // The first two of 56 tuples of three columns of one row.
    const Env wide({MakeDraw(7, {3, 1, 2, 4, 5, 6, 7, 8})}, Columns(20));
    Texts first = DrawTexts(*wide.Create("KFM3"), 0, false);
    ASSERT_EQ(first.size(), 56u);
    first.resize(2);
    EXPECT_EQ(first, (Texts{{"3:1:2", 1}, {"3:1:4", 1}}));
}

TEST(MatrixKinds, CombinationValues)
{
    const std::vector<CombCase> cases = {
        {"COLS", LadderMixed, {{2, 0, 0, 0}, {1, 0, 0, 0}}},
        {"COLV", NoPair, {{1, 2, 0, 0}, {2, 2, 0, 0}, {3, 2, 0, 0}, {4, 2, 0, 0}}},
        {"COLM", Ladder, {{12, 0, 0, 0}}},
        {"ROWA", LadderMixed, {{4, 2, 0, 0}, {3, 2, 0, 0}, {1, 2, 0, 0}, {2, 2, 0, 0}}},
        {"COLC", NoPair, {{0, 0, 0, 0}}},
        {"KFM2", Ladder, {}},
        {"KRS4", Ladder, {}},
    };
    Env e;
    ExpectCombKeys(e, cases);
    // A 20-row mask needs both halves of the word.
    Env single({}, Columns(1));
    TStatDrawArray rows;
    single.Create("ROWM")->CalcComb({1, 2, 3, 4, 5, 6, 7, 20}, rows);
    ASSERT_EQ(rows.Count(), 1);
    EXPECT_EQ(rows[0].LongKey(), 0b11111110000000000001);
    EXPECT_EQ(rows[0].Key[1], 0b1111);
}

TEST(MatrixKinds, TextsAndParsing)
{
    const std::vector<TextCase> cases = {
        {"COLS", 1, Value(3), "3", 3, Columns(4)},
        {"ROWN", 1, Value(5), "5", 5, Columns(4)},
        {"COLC", 1, Value(0), "0", 0, Columns(4)},
        {"ROW%d", 1, Value(4), "4", 4, Columns(4)},
        {"COLV", 1, Value(2, 3), "2 x 3", 0, Columns(4)},
        {"ROWV", 1, Value(7, 0), "7 x 0", 0, Columns(3)},
        {"COLA", 1, Value(1, 4), "1 x 4", 0, Columns(4)},
        {"ROWA", 1, Value(5, 2), "5 x 2", 0, Columns(4)},
        {"COLM", 1, Mask(12), "1100 (012)", 12, Columns(4)},
        {"COLM", 1, Mask(0), "0000 (000)", 0, Columns(4)},
        {"COLM", 1, Mask(15), "1111 (015)", 15, Columns(4)},
        {"ROWM", 1, Mask(22), "10110 (022)", 22, Columns(4)},
        {"ROWM", 1, Mask(30), "11110 (030)", 30, Columns(4)},
        {"COLM", 1, Mask(7), "111 (007)", 7, Columns(3)},
        {"ROWM", 1, Mask(67), "1000011 (067)", 67, Columns(3)},
        {"ROWM", 1, Mask(1 << 19), "10000000000000000000 (524288)", 1 << 19, Columns(1)},
        {"COLM", 1, Mask(12), "01100 (012)", 12, Columns(5)},
        {"KFM3", 1, Value(1, 2, 1), "1:2:1", 0, Columns(4)},
        {"KRS2", 1, Value(5, 1), "5:1", 0, Columns(4)},
        {"KRM4", 1, Value(1, 2, 3, 4), "1:2:3:4", 0, Columns(4)},
    };
    ExpectTexts(cases);

    const std::vector<ParseCase> parses = {
        {"COLM", "1100", 12},   {"COLM", "0011 (003)", 3}, {"COLM", "11", 12},  {"COLM", "", 0},
        {"COLM", "1x1x", 10},   {"COLM", "11111", 15},     {"ROWM", "1", 16},   {"ROWM", "10110 (022)", 22},
        {"COLM", "ЧЧ11", 3},    {"COLS", "abc", 0},        {"COLS", "2", 2},
    };
    Env e;
    ExpectRead(e, parses);
    // Every mask reads back from its own text.
    for (int cols : {3, 4, 5}) {
        Env ec({}, Columns(cols));
        for (const char* code : {"COLM", "ROWM"}) {
            auto s = ec.Create(code);
            const int lines = std::string(code) == "COLM" ? cols : (20 + cols - 1) / cols;
            for (int m = 0; m < (1 << lines); ++m)
                ASSERT_EQ(s->TextToValue(s->ValueToText(Mask(m))), m) << code << " " << cols << " " << m;
        }
    }
}

TEST(MatrixKinds, ListedValues)
{
    ExpectListed({
        {"COLS", Columns(4), KeyRange(1, 4)},   {"ROWS", Columns(4), KeyRange(1, 5)},
        {"COLV", Columns(4), KeyGrid(4, 5)},    {"ROWV", Columns(4), KeyGrid(5, 4)},
        {"COLN", Columns(4), KeyRange(1, 4)},   {"ROWN", Columns(4), KeyRange(1, 5)},
        {"COL%d", Columns(4), KeyRange(1, 5)},  {"ROW%d", Columns(4), KeyRange(1, 4)},
        {"COLS", Columns(3), KeyRange(1, 3)},   {"ROWS", Columns(3), KeyRange(1, 7)},
        {"COLV", Columns(3), KeyGrid(3, 7)},    {"ROWV", Columns(3), KeyGrid(7, 3)},
        {"COLN", Columns(3), KeyRange(1, 3)},   {"ROWN", Columns(3), KeyRange(1, 7)},
        {"COL%d", Columns(3), KeyRange(1, 7)},  {"ROW%d", Columns(3), KeyRange(1, 3)},
        {"ROWV", Columns(1), KeyGrid(20, 1)},   {"COLV", Columns(1), KeyGrid(1, 8)},
        {"ROWN", Columns(1), KeyRange(1, 8)},   {"COL%d", Columns(20), KeyRange(1, 1)},
        {"COLM", Columns(4), {}},               {"ROWM", Columns(4), {}},
        {"COLA", Columns(4), {}},               {"ROWA", Columns(4), {}},
        {"COLC", Columns(4), {}},               {"ROWC", Columns(4), {}},
        {"KFM2", Columns(4), {}},               {"KRS4", Columns(4), {}},
    });
}

TEST(MatrixKinds, WindowOfDraws)
{
    // COLS counts numbers, not draws: a column shared by four numbers of one draw adds 4, and
    // its repeats inside the draw clear the minimum period.
    Env e({MakeDraw(10, Ladder), MakeDraw(12, NoPair), MakeDraw(13, TwoPairs)});
    auto cols = e.Create("COLS");
    const TStatDrawArray c = Window(*cols, 0, 2, false);
    ASSERT_EQ(Keys(c), (std::vector<std::array<int, 4>>{{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}, {4, 0, 0, 0}}));
    EXPECT_EQ(c[0].Count, 4 + 2 + 4);
    EXPECT_EQ(CountersOf(c[1]), (Counters{4 + 2, 12, 2, 0, 2}));

    // COLC lists nothing: 0 shows only because a draw has it, after the values seen before.
    auto colc = e.Create("COLC");
    const TStatDrawArray pairs = Window(*colc, 0, 2, false);
    ASSERT_EQ(Keys(pairs), (std::vector<std::array<int, 4>>{{2, 0, 0, 0}, {0, 0, 0, 0}, {1, 0, 0, 0}}));
    EXPECT_EQ(pairs[1].Depth, 2);
    EXPECT_EQ(pairs[2].Depth, 1);
}

TEST(MatrixKinds, CombMatchesMarkedValues)
{
    const std::vector<MatchCase> cases = {
        {"COLS", 0, {Value(2)}, Ladder, true}, {"COLS", 0, {Value(3)}, Ladder, false},
        {"COLS", 0, {Value(2, 7)}, Ladder, true},   // a column is Key[0] alone
        {"ROWS", 0, {Value(5)}, Ladder, false}, {"ROWS", 0, {Value(4), Value(9)}, Ladder, true},
        {"COLV", 0, {Value(3, 0)}, Ladder, true}, {"COLV", 0, {Value(3, 1)}, Ladder, false},
        {"COLV", 0, {Value(1, 4, 1)}, Ladder, false},
        {"ROWV", 0, {Value(5, 0)}, Ladder, true}, {"ROWV", 0, {Value(1, 3)}, Ladder, false},
        {"COLN", 0, {Value(2)}, Ladder, true}, {"COLN", 0, {Value(4)}, NoPair, true},
        {"ROWN", 0, {Value(4, 1)}, Ladder, true},
        {"COLM", 0, {Mask(12)}, Ladder, true},
        {"COLM", 0, {Value(12, 0, 5, 5)}, Ladder, true},   // a mask is Key[0..1]
        {"COLM", 0, {Value(12, 1)}, Ladder, false}, {"COLM", 0, {Mask(15)}, NoPair, true},
        {"ROWM", 0, {Mask(30)}, NoPair, true}, {"ROWM", 0, {Mask(31)}, Ladder, false},
        {"COLA", 0, {Value(1, 4)}, Ladder, true}, {"COLA", 0, {Value(1, 3)}, Ladder, false},
        {"COLA", 0, {Value(1, 3)}, TwoPairs, true}, {"COLA", 0, {Value(1, 3)}, ColumnRun, true},
        {"COLA", 0, {Value(1, 1), Value(2, 1), Value(3, 1), Value(4, 1)}, NoPair, false},
        {"ROWA", 0, {Value(2, 2)}, Ladder, true}, {"ROWA", 0, {Value(2, 3)}, Ladder, false},
        {"COLC", 0, {Value(0)}, NoPair, true}, {"COLC", 0, {Value(0)}, Ladder, false},
        {"ROWC", 0, {Value(4)}, Ladder, true}, {"ROWC", 0, {Value(0)}, TwoPairs, true},
        {"COL%d", 1, {Value(4)}, Ladder, true}, {"COL%d", 3, {Value(0)}, Ladder, true},
        {"ROW%d", 5, {Value(0)}, Ladder, true}, {"ROW%d", 5, {Value(1)}, Ladder, false},
        {"KFM2", 0, {Value(2, 1)}, Ladder, true}, {"KFM2", 0, {Value(3, 4)}, Ladder, false},
        {"KFS2", 0, {Value(1, 2)}, Ladder, true}, {"KFS2", 0, {Value(1, 1)}, Ladder, false},
        {"KRS2", 0, {Value(1, 1)}, Ladder, true}, {"KRS2", 0, {Value(1, 3)}, Ladder, false},
        {"KRM3", 0, {Value(1, 2, 4)}, Ladder, true}, {"KRM3", 0, {Value(4, 1, 1)}, Ladder, false},
        {"KRM3", 0, {Value(4, 1, 1)}, LadderMixed, true},
        {"KRS4", 0, {Value(2, 2, 3, 3)}, Ladder, true},
        {"KFM4", 0, {Value(2, 1, 2, 1)}, Ladder, true},
        {"KFM4", 0, {Value(2, 2, 2, 2), Value(1, 1, 1, 2)}, Ladder, true},
        {"KFS3", 0, {Value(1, 1, 1)}, Ladder, false},
    };
    ExpectMatches(Env({MakeDraw(1, Ladder)}), cases);
}

TEST(MatrixKinds, GraphValues)
{
    Env e({MakeDraw(1, Ladder), MakeDraw(2, NoPair)});
    EXPECT_EQ(e.Create("COLN")->GetGraphValue(Ladder, 0, 1, false), 2);
    EXPECT_EQ(e.Create("ROWN")->GetDrawGraphValue(0, 1, false), 4);
    EXPECT_EQ(e.Create("COLC")->GetDrawGraphValue(1, 1, false), 0);
    EXPECT_EQ(e.Create("ROWC")->GetGraphValue(LadderMixed, 0, 1, false), 4);
    EXPECT_EQ(e.Create("COL%d", 1)->GetDrawGraphValue(0, 1, true), 4);
    EXPECT_EQ(e.Create("ROW%d", 3)->GetDrawGraphValue(1, 1, true), 2);
    for (const char* code : {"COLS", "COLV", "COLM", "COLA", "KFM2"}) EXPECT_FALSE(KindOf(code).IsGraph()) << code;
}

TEST(MatrixKinds, ColumnsAreTakenWhenCreated)
{
    Env e;
    const auto mask = e.Create("COLM"), rows = e.Create("ROW%d", 1);
    e.env.Config = Columns(5);
    EXPECT_EQ(mask->ValueToText(Mask(12)), "1100 (012)");
    EXPECT_EQ(e.Create("COLM")->ValueToText(Mask(12)), "01100 (012)");
    EXPECT_EQ(rows->GetGraphValue(Ladder, 0, 0, false), 2);
    EXPECT_EQ(e.Create("ROW%d", 1)->GetGraphValue(Ladder, 0, 0, false), 3);   // 1 2 5 of 1..5
    TStatDrawArray listed;
    rows->ListValues(0, listed);
    EXPECT_EQ(listed.Count(), 4);
}

TEST(MatrixKinds, FullSetDistributions)
{
    Env e;
    auto count = [&](const std::string& code, int param) { return LongKeyCounts(FullSetValues(e, code, param)); };
    // A column holds 5 numbers, a row 4; each number is in Binomial(19, 7) = 50388 tickets.
    EXPECT_EQ(count("COLS", 0),
              (std::vector<std::pair<int, int>>{{1, 251940}, {2, 251940}, {3, 251940}, {4, 251940}}));
    EXPECT_EQ(count("ROWS", 0).size(), 5u);
    EXPECT_EQ(count("ROWS", 0).front(), std::make_pair(1, 201552));
    // k numbers of a column: C(5, k) * C(15, 8 - k); of a row: C(4, k) * C(16, 8 - k).
    EXPECT_EQ(count("COL%d", 2), (std::vector<std::pair<int, int>>{
                                     {0, 6435}, {1, 32175}, {2, 50050}, {3, 30030}, {4, 6825}, {5, 455}}));
    EXPECT_EQ(count("ROW%d", 5), (std::vector<std::pair<int, int>>{
                                     {0, 12870}, {1, 45760}, {2, 48048}, {3, 17472}, {4, 1820}}));
    // Two columns fill a ticket only with all 10 of their numbers: 45 tickets per pair; three
    // columns C(15, 8) - 3 * C(10, 8); all four the rest.
    EXPECT_EQ(count("COLM", 0), (std::vector<std::pair<int, int>>{{3, 45}, {5, 45}, {6, 45}, {7, 6300}, {9, 45},
                                                                  {10, 45}, {11, 6300}, {12, 45}, {13, 6300},
                                                                  {14, 6300}, {15, 100500}}));
    EXPECT_EQ(count("COLN", 0),
              (std::vector<std::pair<int, int>>{{2, 270}, {3, 25200}, {4, 100500}}));
    EXPECT_TRUE(count("KRM2", 0).empty());
}

} // namespace

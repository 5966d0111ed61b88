#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/archive/sample.h"
#include "core/filters/generate.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/stat.h"
#include "core/stats/statlist.h"

using namespace kv::stats;
using kv::game::TComb;
using kv::game::TDraw;
using kv::game::TDrawsArray;

namespace {

using kv::test::KindOf;
using kv::test::MakeDraw;
using kv::test::Window;

constexpr auto Family = kv::test::FamilyOf<kinds::AddMatrixKinds>;



struct Env {
    TDrawsArray draws;
    TStatEnv env;
    explicit Env(TDrawsArray d = {}, int cols = 4) : draws(std::move(d))
    {
        env.Draws = &draws;
        env.Config.MatrixCols = cols;
    }
    std::unique_ptr<TCustomStat> Create(const std::string& code, int param = 0) const
    {
        return KindOf(code).Create(env, param);
    }
};


using Texts = std::vector<std::pair<std::string, int>>;

Texts DrawTexts(TCustomStat& stat, int index, bool sorted)
{
    TStatDrawArray values;
    TLastValueArray lastValues;
    TWorkArea work{};
    stat.CalcDraw(index, index, sorted, values, lastValues, work);
    Texts r;
    for (const TStatDrawItem& it : values) r.emplace_back(stat.ValueToText(it), it.Count);
    return r;
}

std::vector<std::array<int, 4>> Keys(const TStatDrawArray& values)
{
    std::vector<std::array<int, 4>> r;
    for (const TStatDrawItem& it : values) r.push_back({it.Key[0], it.Key[1], it.Key[2], it.Key[3]});
    return r;
}

TStatDrawItem Value(int k0, int k1 = 0, int k2 = 0, int k3 = 0)
{
    TStatDrawItem v;
    v.Key = {int16_t(k0), int16_t(k1), int16_t(k2), int16_t(k3)};
    return v;
}

TStatDrawItem Mask(int m)
{
    TStatDrawItem v;
    v.SetLongKey(m);
    return v;
}

TStatDrawArray Marked(const std::vector<TStatDrawItem>& items)
{
    TStatDrawArray a;
    for (const TStatDrawItem& it : items) AddStatDraw(a, it, false);
    return a;
}

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

TEST(MatrixKinds, Descriptors)
{
    struct Case {
        const char* code;
        int position;
        const char* className;
        const char* caption;
        const char* flags;
        bool numeric;
        const char* helpCode;
        std::pair<int, int> range;   // with the default 4 columns
    };
    const std::pair<int, int> none{0, 0};
    const std::vector<Case> cases = {
        {"COLS", 25, "TstColumns", "Столбцы матрицы (не пустые)", "N", true, "COLS", none},
        {"ROWS", 26, "TstRows", "Строки матрицы (не пустые)", "N", true, "ROWS", none},
        {"COLV", 27, "TstColValues", "Количество чисел в столбце матрицы", "N", false, "COLV", none},
        {"ROWV", 28, "TstRowValues", "Количество чисел в строке матрицы", "N", false, "ROWV", none},
        {"COLN", 29, "TstColCount", "Количество не пустых столбцов в матрице", "NG", true, "COLN", none},
        {"ROWN", 30, "TstRowCount", "Количество не пустых строк в матрице", "NG", true, "ROWN", none},
        {"COLM", 31, "TstColMask", "Сочетания столбцов матрицы", "N", true, "COLM", none},
        {"ROWM", 32, "TstRowMask", "Сочетания строк матрицы", "N", true, "ROWM", none},
        {"COLA", 33, "TstColAjacent", "Столбцы матрицы со смежными числами", "N", true, "COLA", none},
        {"ROWA", 34, "TstRowAjacent", "Строки матрицы со смежными числами", "N", true, "ROWA", none},
        {"COLC", 35, "TstColAjacentCnt", "Количество столбцов матрицы со смежными числами", "NG", true, "COLC", none},
        {"ROWC", 36, "TstRowAjacentCnt", "Количество строк матрицы со смежными числами", "NG", true, "ROWC", none},
        {"KFM2", 84, "TstCombColMix2", "Сочетания из 2 столбцов по всем числам тиража", "S", false, "KFM2", none},
        {"KFM3", 85, "TstCombColMix3", "Сочетания из 3 столбцов по всем числам тиража", "S", false, "KFM3", none},
        {"KFM4", 86, "TstCombColMix4", "Сочетания из 4 столбцов по всем числам тиража", "S", false, "KFM4", none},
        {"KFS2", 87, "TstCombColSeq2", "Сочетания из 2 столбцов по соседним числам", "S", false, "KFS2", none},
        {"KFS3", 88, "TstCombColSeq3", "Сочетания из 3 столбцов по соседним числам", "S", false, "KFS3", none},
        {"KFS4", 89, "TstCombColSeq4", "Сочетания из 4 столбцов по соседним числам", "S", false, "KFS4", none},
        {"KRM2", 90, "TstCombRowMix2", "Сочетания из 2 строк по всем числам тиража", "S", false, "KRM2", none},
        {"KRM3", 91, "TstCombRowMix3", "Сочетания из 3 строк по всем числам тиража", "S", false, "KRM3", none},
        {"KRM4", 92, "TstCombRowMix4", "Сочетания из 4 строк по всем числам тиража", "S", false, "KRM4", none},
        {"KRS2", 93, "TstCombRowSeq2", "Сочетания из 2 строк по соседним числам", "S", false, "KRS2", none},
        {"KRS3", 94, "TstCombRowSeq3", "Сочетания из 3 строк по соседним числам", "S", false, "KRS3", none},
        {"KRS4", 95, "TstCombRowSeq4", "Сочетания из 4 строк по соседним числам", "S", false, "KRS4", none},
        {"COL%d", 105, "TstColValCnt", "Количество чисел в %0:d столбце матрицы", "NG", true, "COLx", {1, 4}},
        {"ROW%d", 106, "TstRowValCnt", "Количество чисел в %0:d строке матрицы", "NG", true, "ROWx", {1, 5}},
    };
    ASSERT_EQ(Family().size(), cases.size());
    const TConfigData config;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const TStatKind& k = *Family()[i];
        SCOPED_TRACE(c.code);
        EXPECT_EQ(k.GetCode(), c.code);
        EXPECT_EQ(k.Position(), c.position);
        EXPECT_STREQ(k.ClassName(), c.className);
        EXPECT_EQ(k.GetCaption(), c.caption);
        EXPECT_EQ(k.GetGroup(), 4);
        EXPECT_EQ(FlagLetters(k.GetMethodFlags()), c.flags);
        EXPECT_EQ(k.HasNumericValue(), c.numeric);
        EXPECT_EQ(k.GetHelpCode(), c.helpCode);
        EXPECT_TRUE(k.IsAvailable());
        EXPECT_EQ(k.HasParam(), c.range != none);
        EXPECT_EQ(k.GetParamRange(config), c.range);
    }
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
    struct Case {
        const char* code;
        int param;
        int cols;
        TComb draw;
        bool sorted;
        Texts values;
    };
    const std::vector<Case> cases = {
        {"COLS", 0, 4, Ladder, false, {{"1", 4}, {"2", 4}}},
        {"ROWS", 0, 4, Ladder, false, {{"1", 2}, {"2", 2}, {"3", 2}, {"4", 2}}},
        {"ROWS", 0, 4, LadderMixed, false, {{"4", 2}, {"3", 2}, {"1", 2}, {"2", 2}}},
        {"COLV", 0, 4, Ladder, false, {{"1 x 4", 1}, {"2 x 4", 1}, {"3 x 0", 1}, {"4 x 0", 1}}},
        {"ROWV", 0, 4, Ladder, false, {{"1 x 2", 1}, {"2 x 2", 1}, {"3 x 2", 1}, {"4 x 2", 1}, {"5 x 0", 1}}},
        {"COLN", 0, 4, Ladder, false, {{"2", 1}}},
        {"ROWN", 0, 4, Ladder, false, {{"4", 1}}},
        {"COLN", 0, 4, NoPair, false, {{"4", 1}}},
        {"COLM", 0, 4, Ladder, false, {{"1100 (012)", 1}}},
        {"ROWM", 0, 4, Ladder, false, {{"11110 (030)", 1}}},
        {"COLM", 0, 4, TwoPairs, false, {{"1011 (011)", 1}}},
        {"COLA", 0, 4, Ladder, false, {{"1 x 4", 1}, {"2 x 4", 1}}},
        {"COLA", 0, 4, LadderMixed, false, {{"2 x 4", 1}, {"1 x 4", 1}}},   // order of the first pairs
        {"COLA", 0, 4, LadderMixed, true, {{"1 x 4", 1}, {"2 x 4", 1}}},
        {"ROWA", 0, 4, Ladder, false, {{"1 x 2", 1}, {"2 x 2", 1}, {"3 x 2", 1}, {"4 x 2", 1}}},
        {"ROWA", 0, 4, LadderMixed, false, {{"4 x 2", 1}, {"3 x 2", 1}, {"1 x 2", 1}, {"2 x 2", 1}}},
        {"COLC", 0, 4, Ladder, false, {{"2", 1}}},
        {"ROWC", 0, 4, Ladder, false, {{"4", 1}}},
        // 4-5 and 12-13 are consecutive but split by the end of a row.
        {"COLA", 0, 4, NoPair, false, {}},
        {"ROWA", 0, 4, NoPair, false, {}},
        {"COLC", 0, 4, NoPair, false, {{"0", 1}}},
        {"ROWC", 0, 4, NoPair, false, {{"0", 1}}},
        // Two separate pairs in a column give the same value as a run of three.
        {"COLA", 0, 4, TwoPairs, false, {{"1 x 3", 1}}},
        {"COLA", 0, 4, ColumnRun, false, {{"1 x 3", 1}}},
        {"COLC", 0, 4, TwoPairs, false, {{"1", 1}}},
        {"ROWC", 0, 4, TwoPairs, false, {{"0", 1}}},
        {"COL%d", 1, 4, Ladder, false, {{"4", 1}}},
        {"COL%d", 3, 4, Ladder, false, {{"0", 1}}},
        {"ROW%d", 5, 4, Ladder, false, {{"0", 1}}},
        {"ROW%d", 2, 4, Ladder, true, {{"2", 1}}},
        // Three columns: seven rows, the last one short.
        {"ROWV", 0, 3, ShortRow, false,
         {{"1 x 3", 1}, {"2 x 0", 1}, {"3 x 0", 1}, {"4 x 0", 1}, {"5 x 0", 1}, {"6 x 3", 1}, {"7 x 2", 1}}},
        {"ROWA", 0, 3, ShortRow, false, {{"7 x 2", 1}, {"1 x 3", 1}, {"6 x 3", 1}}},
        {"COLA", 0, 3, ShortRow, false, {{"1 x 2", 1}, {"2 x 2", 1}}},
        {"ROWM", 0, 3, ShortRow, false, {{"1000011 (067)", 1}}},
        {"COLM", 0, 3, ShortRow, false, {{"111 (007)", 1}}},
        {"ROWN", 0, 3, ShortRow, false, {{"3", 1}}},
        {"ROW%d", 7, 3, ShortRow, false, {{"2", 1}}},
        {"COL%d", 3, 3, ShortRow, false, {{"2", 1}}},
        // Tuples of columns and rows follow the order of the numbers.
        {"KFS2", 0, 4, Woven, false, {{"1:1", 4}, {"1:2", 1}, {"2:2", 2}}},
        {"KFS2", 0, 4, Woven, true, {{"1:2", 3}, {"2:1", 3}, {"1:1", 1}}},
        {"KRS2", 0, 4, Woven, false, {{"1:2", 2}, {"2:3", 2}, {"3:4", 1}, {"4:5", 1}, {"5:1", 1}}},
        {"KRS2", 0, 4, Woven, true,
         {{"1:1", 1}, {"1:2", 1}, {"2:2", 1}, {"2:3", 1}, {"3:3", 1}, {"3:4", 1}, {"4:5", 1}}},
        {"KFM2", 0, 4, Ladder, false, {{"1:2", 10}, {"1:1", 6}, {"2:1", 6}, {"2:2", 6}}},
        {"KRS3", 0, 4, Ladder, false,
         {{"1:1:2", 1}, {"1:2:2", 1}, {"2:2:3", 1}, {"2:3:3", 1}, {"3:3:4", 1}, {"3:4:4", 1}}},
        {"KFS4", 0, 4, Woven, false, {{"1:1:1:1", 2}, {"1:1:1:2", 1}, {"1:1:2:2", 1}, {"1:2:2:2", 1}}},
        {"KRM4", 0, 20, Woven, false, {{"1:1:1:1", 70}}},
        {"KFM3", 0, 20, {3, 1, 2, 4, 5, 6, 7, 8}, false, {{"3:1:2", 1}, {"3:1:4", 1}}},
    };
    for (const Case& c : cases) {
        Env e({MakeDraw(7, c.draw)}, c.cols);
        auto s = e.Create(c.code, c.param);
        Texts got = DrawTexts(*s, 0, c.sorted);
        if (std::string(c.code) == "KFM3") got.resize(2);   // the first two of 56 tuples
        EXPECT_EQ(got, c.values) << c.code << c.param << " columns " << c.cols << (c.sorted ? " sorted" : "");
    }
}

TEST(MatrixKinds, CombinationValues)
{
    struct Case {
        const char* code;
        TComb comb;
        std::vector<std::array<int, 4>> keys;
    };
    const std::vector<Case> cases = {
        {"COLS", LadderMixed, {{2, 0, 0, 0}, {1, 0, 0, 0}}},
        {"COLV", NoPair, {{1, 2, 0, 0}, {2, 2, 0, 0}, {3, 2, 0, 0}, {4, 2, 0, 0}}},
        {"COLM", Ladder, {{12, 0, 0, 0}}},
        {"ROWA", LadderMixed, {{4, 2, 0, 0}, {3, 2, 0, 0}, {1, 2, 0, 0}, {2, 2, 0, 0}}},
        {"COLC", NoPair, {{0, 0, 0, 0}}},
        {"KFM2", Ladder, {}},
        {"KRS4", Ladder, {}},
    };
    Env e;
    for (const Case& c : cases) {
        TStatDrawArray values;
        e.Create(c.code)->CalcComb(c.comb, values);
        EXPECT_EQ(Keys(values), c.keys) << c.code;
    }
    // A 20-row mask needs both halves of the word.
    Env single({}, 1);
    TStatDrawArray rows;
    single.Create("ROWM")->CalcComb({1, 2, 3, 4, 5, 6, 7, 20}, rows);
    ASSERT_EQ(rows.Count(), 1);
    EXPECT_EQ(rows[0].LongKey(), 0b11111110000000000001);
    EXPECT_EQ(rows[0].Key[1], 0b1111);
}

TEST(MatrixKinds, TextsAndParsing)
{
    struct Case {
        const char* code;
        int cols;
        TStatDrawItem value;
        const char* text;
        int parsed;   // ParseValue of the text
    };
    const std::vector<Case> cases = {
        {"COLS", 4, Value(3), "3", 3},
        {"ROWN", 4, Value(5), "5", 5},
        {"COLC", 4, Value(0), "0", 0},
        {"ROW%d", 4, Value(4), "4", 4},
        {"COLV", 4, Value(2, 3), "2 x 3", 0},
        {"ROWV", 3, Value(7, 0), "7 x 0", 0},
        {"COLA", 4, Value(1, 4), "1 x 4", 0},
        {"ROWA", 4, Value(5, 2), "5 x 2", 0},
        {"COLM", 4, Mask(12), "1100 (012)", 12},
        {"COLM", 4, Mask(0), "0000 (000)", 0},
        {"COLM", 4, Mask(15), "1111 (015)", 15},
        {"ROWM", 4, Mask(22), "10110 (022)", 22},
        {"ROWM", 4, Mask(30), "11110 (030)", 30},
        {"COLM", 3, Mask(7), "111 (007)", 7},
        {"ROWM", 3, Mask(67), "1000011 (067)", 67},
        {"ROWM", 1, Mask(1 << 19), "10000000000000000000 (524288)", 1 << 19},
        {"COLM", 5, Mask(12), "01100 (012)", 12},
        {"KFM3", 4, Value(1, 2, 1), "1:2:1", 0},
        {"KRS2", 4, Value(5, 1), "5:1", 0},
        {"KRM4", 4, Value(1, 2, 3, 4), "1:2:3:4", 0},
    };
    for (const Case& c : cases) {
        Env e({}, c.cols);
        auto s = e.Create(c.code, 1);
        EXPECT_EQ(s->ValueToText(c.value), c.text) << c.code;
        EXPECT_EQ(s->ParseValue(c.text), c.parsed) << c.code << " " << c.text;
    }

    struct Parse {
        const char* code;
        const char* text;
        int value;
    };
    const std::vector<Parse> parses = {
        {"COLM", "1100", 12},   {"COLM", "0011 (003)", 3}, {"COLM", "11", 12},  {"COLM", "", 0},
        {"COLM", "1x1x", 10},   {"COLM", "11111", 15},     {"ROWM", "1", 16},   {"ROWM", "10110 (022)", 22},
        {"COLM", "ЧЧ11", 3},    {"COLS", "abc", 0},        {"COLS", "2", 2},
    };
    Env e;
    for (const Parse& p : parses) EXPECT_EQ(e.Create(p.code)->TextToValue(p.text), p.value) << p.code << " " << p.text;
    // Every mask reads back from its own text.
    for (int cols : {3, 4, 5}) {
        Env ec({}, cols);
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
    auto range = [](int first, int last) {
        std::vector<std::array<int, 4>> r;
        for (int k = first; k <= last; ++k) r.push_back({k, 0, 0, 0});
        return r;
    };
    auto grid = [](int lines, int most) {
        std::vector<std::array<int, 4>> r;
        for (int l = 1; l <= lines; ++l)
            for (int k = 0; k <= most; ++k) r.push_back({l, k, 0, 0});
        return r;
    };
    struct Case {
        const char* code;
        int cols;
        std::vector<std::array<int, 4>> keys;
    };
    const std::vector<Case> cases = {
        {"COLS", 4, range(1, 4)},  {"ROWS", 4, range(1, 5)},  {"COLV", 4, grid(4, 5)},  {"ROWV", 4, grid(5, 4)},
        {"COLN", 4, range(1, 4)},  {"ROWN", 4, range(1, 5)},  {"COL%d", 4, range(1, 5)}, {"ROW%d", 4, range(1, 4)},
        {"COLS", 3, range(1, 3)},  {"ROWS", 3, range(1, 7)},  {"COLV", 3, grid(3, 7)},  {"ROWV", 3, grid(7, 3)},
        {"COLN", 3, range(1, 3)},  {"ROWN", 3, range(1, 7)},  {"COL%d", 3, range(1, 7)}, {"ROW%d", 3, range(1, 3)},
        {"ROWV", 1, grid(20, 1)},  {"COLV", 1, grid(1, 8)},   {"ROWN", 1, range(1, 8)}, {"COL%d", 20, range(1, 1)},
        {"COLM", 4, {}},           {"ROWM", 4, {}},           {"COLA", 4, {}},          {"ROWA", 4, {}},
        {"COLC", 4, {}},           {"ROWC", 4, {}},           {"KFM2", 4, {}},          {"KRS4", 4, {}},
    };
    for (const Case& c : cases) {
        Env e({}, c.cols);
        auto s = e.Create(c.code, 1);
        s->Cur.Count = 2;
        TStatDrawArray values;
        s->ListValues(0, values);
        EXPECT_EQ(Keys(values), c.keys) << c.code << " columns " << c.cols;
        for (const TStatDrawItem& it : values) EXPECT_EQ(it.Count, 0) << c.code;
    }
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
    EXPECT_EQ(c[1].Count, 4 + 2);
    EXPECT_EQ(c[1].Depth, 2);
    EXPECT_EQ(c[1].LastDrawNo, 12);
    EXPECT_EQ(c[1].PeriodMin, 0);
    EXPECT_EQ(c[1].PeriodMax, 2);

    // COLC lists nothing: 0 shows only because a draw has it, after the values seen before.
    auto colc = e.Create("COLC");
    const TStatDrawArray pairs = Window(*colc, 0, 2, false);
    ASSERT_EQ(Keys(pairs), (std::vector<std::array<int, 4>>{{2, 0, 0, 0}, {0, 0, 0, 0}, {1, 0, 0, 0}}));
    EXPECT_EQ(pairs[1].Depth, 2);
    EXPECT_EQ(pairs[2].Depth, 1);
}

TEST(MatrixKinds, CombMatchesMarkedValues)
{
    struct Case {
        const char* code;
        int param;
        std::vector<TStatDrawItem> marked;
        TComb comb;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"COLS", 0, {Value(2)}, Ladder, true},
        {"COLS", 0, {Value(3)}, Ladder, false},
        {"COLS", 0, {Value(2, 7)}, Ladder, true},   // a column is Key[0] alone
        {"ROWS", 0, {Value(5)}, Ladder, false},
        {"ROWS", 0, {Value(4), Value(9)}, Ladder, true},
        {"COLV", 0, {Value(3, 0)}, Ladder, true},
        {"COLV", 0, {Value(3, 1)}, Ladder, false},
        {"COLV", 0, {Value(1, 4, 1)}, Ladder, false},
        {"ROWV", 0, {Value(5, 0)}, Ladder, true},
        {"ROWV", 0, {Value(1, 3)}, Ladder, false},
        {"COLN", 0, {Value(2)}, Ladder, true},
        {"COLN", 0, {Value(4)}, NoPair, true},
        {"ROWN", 0, {Value(4, 1)}, Ladder, true},
        {"COLM", 0, {Mask(12)}, Ladder, true},
        {"COLM", 0, {Value(12, 0, 5, 5)}, Ladder, true},   // a mask is Key[0..1]
        {"COLM", 0, {Value(12, 1)}, Ladder, false},
        {"COLM", 0, {Mask(15)}, NoPair, true},
        {"ROWM", 0, {Mask(30)}, NoPair, true},
        {"ROWM", 0, {Mask(31)}, Ladder, false},
        {"COLA", 0, {Value(1, 4)}, Ladder, true},
        {"COLA", 0, {Value(1, 3)}, Ladder, false},
        {"COLA", 0, {Value(1, 3)}, TwoPairs, true},
        {"COLA", 0, {Value(1, 3)}, ColumnRun, true},
        {"COLA", 0, {Value(1, 1), Value(2, 1), Value(3, 1), Value(4, 1)}, NoPair, false},
        {"ROWA", 0, {Value(2, 2)}, Ladder, true},
        {"ROWA", 0, {Value(2, 3)}, Ladder, false},
        {"COLC", 0, {Value(0)}, NoPair, true},
        {"COLC", 0, {Value(0)}, Ladder, false},
        {"ROWC", 0, {Value(4)}, Ladder, true},
        {"ROWC", 0, {Value(0)}, TwoPairs, true},
        {"COL%d", 1, {Value(4)}, Ladder, true},
        {"COL%d", 3, {Value(0)}, Ladder, true},
        {"ROW%d", 5, {Value(0)}, Ladder, true},
        {"ROW%d", 5, {Value(1)}, Ladder, false},
        {"KFM2", 0, {Value(2, 1)}, Ladder, true},
        {"KFM2", 0, {Value(3, 4)}, Ladder, false},
        {"KFS2", 0, {Value(1, 2)}, Ladder, true},
        {"KFS2", 0, {Value(1, 1)}, Ladder, false},
        {"KRS2", 0, {Value(1, 1)}, Ladder, true},
        {"KRS2", 0, {Value(1, 3)}, Ladder, false},
        {"KRM3", 0, {Value(1, 2, 4)}, Ladder, true},
        {"KRM3", 0, {Value(4, 1, 1)}, Ladder, false},
        {"KRM3", 0, {Value(4, 1, 1)}, LadderMixed, true},
        {"KRS4", 0, {Value(2, 2, 3, 3)}, Ladder, true},
        {"KFM4", 0, {Value(2, 1, 2, 1)}, Ladder, true},
        {"KFM4", 0, {Value(2, 2, 2, 2), Value(1, 1, 1, 2)}, Ladder, true},
        {"KFS3", 0, {Value(1, 1, 1)}, Ladder, false},
    };
    Env e({MakeDraw(1, Ladder)});
    for (const Case& c : cases) {
        auto s = e.Create(c.code, c.param);
        s->LoadDraws(-1, 0, true);
        const TStatDrawArray marked = Marked(c.marked);
        EXPECT_EQ(s->CombMatches(c.comb, marked, 0, true, false), c.expected) << c.code << c.param;
        EXPECT_EQ(s->CombMatches(c.comb, marked, 0, true, true), c.expected) << c.code << c.param;
        std::vector<uint8_t> batch;
        s->MatchCombs(std::vector<TComb>{c.comb}, marked, 0, true, false, batch);
        ASSERT_EQ(batch.size(), 1u);
        EXPECT_EQ(batch[0] != 0, c.expected) << c.code << c.param << " batch";
    }
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
    auto mask = e.Create("COLM");
    auto rows = e.Create("ROW%d", 1);
    e.env.Config.MatrixCols = 5;
    auto wider = e.Create("COLM");
    EXPECT_EQ(mask->ValueToText(Mask(12)), "1100 (012)");
    EXPECT_EQ(wider->ValueToText(Mask(12)), "01100 (012)");
    EXPECT_EQ(rows->GetGraphValue(Ladder, 0, 0, false), 2);
    EXPECT_EQ(e.Create("ROW%d", 1)->GetGraphValue(Ladder, 0, 0, false), 3);   // 1 2 5 of 1..5
    TStatDrawArray listed;
    rows->ListValues(0, listed);
    EXPECT_EQ(listed.Count(), 4);
}

TEST(MatrixKinds, BatchPassesEqualSingleCalls)
{
    kv::game::TCombsArray all;
    kv::game::EnumerateAllCombs(all);
    ASSERT_EQ(all.size(), std::size_t(kv::game::CombCount));
    std::vector<TComb> sample;
    for (std::size_t i = 0; i < all.size(); i += 11) sample.push_back(all[i]);
    for (const TComb& c : {LadderMixed, NoPair, TwoPairs, ColumnRun, Woven, ShortRow}) sample.push_back(c);
    sample.push_back({0, 21, 100, 255, 1, 2, 3, 4});   // bytes outside the field
    sample.push_back({40, 44, 48, 41, 45, 49, 200, 204});
    sample.push_back({0, 0, 0, 0, 0, 0, 0, 0});

    // 1 column: 20-row masks beyond the dense table; 20 columns: a single row.
    for (int cols : {4, 3, 1, 20}) {
        Env e(kv::archive::SyntheticDraws(40, 9), cols);
        std::vector<std::pair<std::string, int>> methods;
        for (const TStatKind* k : Family()) {
            if (!k->HasParam()) {
                methods.emplace_back(k->GetCode(), 0);
            } else {
                const int last = k->GetParamRange(e.env.Config).second;
                methods.emplace_back(k->GetCode(), 1);
                if (last > 1) methods.emplace_back(k->GetCode(), last);
            }
        }
        for (const auto& [code, param] : methods) {
            SCOPED_TRACE(code + std::to_string(param) + " columns " + std::to_string(cols));
            auto batch = e.Create(code, param);
            auto single = e.Create(code, param);
            if (KindOf(code).HasPrefetch()) {
                TStatDrawArray a, b;
                batch->CalcCombs(all, a);
                for (const TComb& c : all) single->CalcComb(c, b);
                ASSERT_EQ(a.Items(), b.Items());
                // No pairs fit on a card of one column (row pairs) or of one row (column pairs).
                const bool noPairs = (code == "ROWA" && cols == 1) || (code == "COLA" && cols == 20);
                ASSERT_EQ(a.Empty(), noPairs);
                // Merged into a table that already holds listed values and draws.
                TStatDrawArray la = Window(*batch, 0, 39, false), lb = Window(*single, 0, 39, false);
                batch->CalcCombs(std::span<const TComb>(all).subspan(500, 3000), la);
                for (std::size_t i = 500; i < 3500; ++i) single->CalcComb(all[i], lb);
                ASSERT_EQ(la.Items(), lb.Items());
            }
            const TStatDrawArray window = Window(*single, 30, 39, false);
            std::vector<std::vector<TStatDrawItem>> sets = {{}, {Value(1), Value(2, 2), Value(1, 1, 1, 1)},
                                                            {Value(-1, 3), Value(40, 40), Value(2, 3, 4, 5)},
                                                            {Mask(12), Mask(1 << 19 | 1), Value(3, 3, 3)}};
            std::vector<TStatDrawItem> some, every;
            for (int i = 0; i < window.Count(); ++i) {
                every.push_back(window[i]);
                if (i % 4 == 0) some.push_back(window[i]);
            }
            sets.push_back(some);
            sets.push_back(every);
            for (const auto& set : sets) {
                const TStatDrawArray marked = Marked(set);
                batch->LoadDraws(-1, 39, true);
                single->LoadDraws(-1, 39, true);
                std::vector<uint8_t> result;
                batch->MatchCombs(sample, marked, 39, true, false, result);
                ASSERT_EQ(result.size(), sample.size());
                for (std::size_t i = 0; i < sample.size(); ++i)
                    ASSERT_EQ(result[i] != 0, single->CombMatches(sample[i], marked, 39, true, false))
                        << "combination " << i << " marked set " << (&set - sets.data());
            }
        }
    }
}

TEST(MatrixKinds, FullSetDistributions)
{
    kv::game::TCombsArray all;
    kv::game::EnumerateAllCombs(all);
    Env e;
    auto count = [&](const std::string& code, int param) {
        TStatDrawArray values;
        e.Create(code, param)->CalcCombs(all, values);
        SortStatDraw(values);
        std::vector<std::pair<int, int>> r;
        for (const TStatDrawItem& it : values) r.emplace_back(it.LongKey(), it.Count);
        return r;
    };
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

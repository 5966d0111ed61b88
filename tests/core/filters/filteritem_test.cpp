#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/filters/filteritem.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"
#include "core/util/error.h"
#include "tests/core/filters/filtertest.h"
#include "tests/support/support.h"

using namespace kv;
using filters::TFilterField;
using filters::TFilterItem;
using filters::TFilterPart;
using filters::TFilterRec;

namespace {

// The full catalogue: NUMS, EVEN, POS3 ... exist whatever else is registered.
stats::TStatList& Registry()
{
    static game::TDrawsArray draws;
    static stats::TStatList list = [] {
        stats::TStatList l;
        l.SetDraws(&draws);
        l.BuildMethodList();
        return l;
    }();
    return list;
}

int Method(const char* code)
{
    const int m = Registry().FindMethod(code);
    EXPECT_GE(m, 0) << code;
    return m;
}

// Kinds with parameters past 9, so that one code is a prefix of another (TK1 / TK10), and a kind
// without a numeric value.
stats::TStatList& TestRegistry()
{
    static const stats::TStatKind tk = test::TestKind(1, "TK%d", "Тест %d", 0, stats::FlagN, true, 1, 12);
    static const stats::TStatKind pair = test::TestKind(2, "TPAIR", "Пары теста", 9, stats::FlagN, false);
    static game::TDrawsArray draws;
    static stats::TStatList list = [] {
        stats::TStatList l;
        l.SetDraws(&draws);
        l.BuildMethodList({&tk, &pair});
        return l;
    }();
    return list;
}

TEST(FilterTables, CodesAndCaptions)
{
    std::string codes;
    for (int c = 0; c < filters::FilterConditionCount; ++c) codes += std::string(filters::ConditionCode(c)) + " ";
    EXPECT_EQ(codes, "LNO LMV LMP LLV LLP LDV LDP DMV DMP DLV DLP DDV DDP CMV CMP CLV CLP CDV CDP WMV WLV WDV PIM PIL PIR "
                     "PAM PAL PAR PXM PXL PXR LVA ");
    const std::vector<std::pair<int, const char*>> captions = {
        {0, "Весь список (без условий)"},
        {1, "\"Глубина\": не менее заданного значения"},
        {6, "\"Глубина\": из заданного списка процентов"},
        {10, "\"Отклонение\": не более заданного процента"},
        {18, "\"Количество\": из заданного списка процентов"},
        {21, "\"Вес\": из заданного списка значений"},
        {23, "\"Период min\": не более заданного значения"},
        {27, "\"Период\": из заданного списка значений"},
        {28, "\"Период max\": не менее заданного значения"},
        {31, "\"Значения\": из заданного списка значений"},
        {32, ""},
        {-1, ""},
    };
    for (const auto& [c, caption] : captions) EXPECT_EQ(filters::ConditionCaption(c), caption) << c;
    EXPECT_EQ(filters::ConditionCode(32), "");

    const std::vector<std::pair<const char*, const char*>> stops = {
        {"SF", "Обработать все записи"},
        {"SC", "Количеству оставшихся комбинаций"},
        {"SZ", "Пока список не будет пуст и откатить на шаг"},
        {"ST", "Количеству шагов"},
        {"SV", "Значению в списке статистики"},
        {"SP", "Процентному соотношению в списке статистики"},
    };
    for (int m = 0; m < filters::StopModeCount; ++m) {
        EXPECT_EQ(filters::StopModeCode(m), stops[std::size_t(m)].first);
        EXPECT_EQ(filters::StopModeCaption(m), stops[std::size_t(m)].second);
    }
    EXPECT_EQ(filters::StopModeCode(6), "");
    EXPECT_EQ(filters::StopModeCaption(-1), "");

    std::string expanding, weighted;
    for (int c = 0; c < filters::FilterConditionCount; ++c) {
        if (filters::ConditionExpandsValues(c)) expanding += std::to_string(c) + " ";
        if (filters::ConditionUsesWeights(c)) weighted += std::to_string(c) + " ";
    }
    EXPECT_EQ(expanding, "1 2 3 4 7 8 9 10 13 14 15 16 19 20 21 22 23 24 25 26 27 28 29 30 ");
    EXPECT_EQ(weighted, "19 20 21 ");
}

TEST(FilterText, ReadAndWriteBack)
{
    struct Case {
        const char* text;
        const char* written;
    };
    const std::vector<Case> cases = {
        {"TSD1#NUMS:10#LNO:#SF:1", "TSD1#NUMS:10#LNO:#SF:1"},
        // SUMS is kept as text when its family is not registered, and as a method when it is.
        {"BMF8#SUMS:10, 20#WMV:5#SV:3#1.5:0.5:1:0:1", "BMF8#SUMS:10, 20#WMV:5#SV:3#1.5:0.5:1:0:1"},
        {"TSD1#ZZZZ:5#LMV:3#ST:2", "TSD1#ZZZZ:5#LMV:3#ST:2"},
        {"TSD12", "TSD12##LNO:#SF:0"},
        {"tsd1#nums: 10 #lmv: 3 #sf: 7", "TSD1#NUMS:10#LMV:3#SF:7"},
        {"BSD3#EVEN:5-20;5#LDV:1-3;1#SC:abc", "BSD3#EVEN:5-20;5#LDV:1-3;1#SC:1"},
        {"BSD3#EVEN:5#LDV:1#SC", "BSD3#EVEN:5#LDV:1#SC:1"},
        {"TSDx#POS3:7", "TSD1#POS3:7#LNO:#SF:0"},
        {"T#NUMS:1#XYZ:5#QQ:4", "TSD1#NUMS:1#LNO:5#SF:4"},
        {"TSD1#NUMS", "TSD1#NUMS:#LNO:#SF:0"},
        {"TMF1#NUMS:1#LNO:#SF:1#1,5:-0.25:abc:1:0", "TMF1#NUMS:1#LNO:#SF:1#1.5:-0.25:0:1:0"},
        {"TSD1#NUMS:1#LNO:#SF:1#", "TSD1#NUMS:1#LNO:#SF:1#0:0:0:0:0"},
        {"TSD1#NUMS:1#LNO:#SF:1#2e3x:1.2.3:--1:yes:1 ", "TSD1#NUMS:1#LNO:#SF:1#2000:0:0:0:0"},
        {"MBF19#POS3:10#pxr:4,5#sp:2#x#extra", "BMF19#POS3:10#PXR:4,5#SP:2#0:0:0:0:0"},
    };
    for (const Case& c : cases) {
        const TFilterItem item = filters::TextToFilterItem(c.text, Registry());
        EXPECT_TRUE(item.Defined) << c.text;
        EXPECT_EQ(filters::FilterItemToText(item, Registry()), c.written) << c.text;
    }
}

TEST(FilterText, FieldsOfTheItem)
{
    const TFilterItem a = filters::TextToFilterItem("BMF8#SUMS:10, 20#WMV:5#SV:3#1.5:0.5:1:0:1", Registry());
    EXPECT_TRUE(a.BottomUp);
    EXPECT_TRUE(a.MultiSelect);
    EXPECT_TRUE(a.KeepSelected);
    EXPECT_EQ(a.SortColumn, 8);
    EXPECT_EQ(a.StatText, "SUMS:10, 20");
    EXPECT_EQ(a.Method, Registry().FindMethod("SUMS"));
    EXPECT_EQ(a.DrawsText, a.Method >= 0 ? "10, 20" : "");
    EXPECT_EQ(a.Condition, 19);
    EXPECT_EQ(a.ConditionText, "5");
    EXPECT_EQ(a.StopMode, filters::StopByCount);
    EXPECT_EQ(a.StopValue, 3);
    EXPECT_TRUE(a.OverrideWeights);
    EXPECT_EQ(a.Weights, (stats::TWeightCoefs{1.5L, 0.5L, 1.0L, false, true}));

    const TFilterItem b = filters::TextToFilterItem("TSD1#NUMS:10#LNO:#SF:1", Registry());
    EXPECT_FALSE(b.BottomUp || b.MultiSelect || b.KeepSelected || b.OverrideWeights);
    EXPECT_EQ(b.SortColumn, 1);
    EXPECT_EQ(b.Method, Method("NUMS"));
    EXPECT_EQ(b.DrawsText, "10");
    EXPECT_EQ(b.Condition, 0);
    EXPECT_EQ(b.StopValue, 1);

    const TFilterItem unknown = filters::TextToFilterItem("TSD1#ZZZZ:5#LMV:3#ST:2", Registry());
    EXPECT_EQ(unknown.Method, -1);
    EXPECT_EQ(unknown.StatText, "ZZZZ:5");
    EXPECT_EQ(unknown.DrawsText, "");

    // Letters of the first section are read as written: "b", "m", "f" mean nothing.
    const TFilterItem lower = filters::TextToFilterItem("bmf2#NUMS:1", Registry());
    EXPECT_FALSE(lower.BottomUp || lower.MultiSelect || lower.KeepSelected);
    EXPECT_EQ(lower.SortColumn, 2);

    EXPECT_EQ(filters::TextToFilterItem("", Registry()), TFilterItem{}) << "an empty text is the all-zero item";
    EXPECT_EQ(filters::FilterItemToText(TFilterItem{}, Registry()), "");
}

TEST(FilterText, ACodeFollowedByItsColonWinsOverAShorterPrefix)
{
    const stats::TStatList& list = TestRegistry();
    struct Case {
        const char* text;
        const char* code;
        const char* draws;
    };
    const std::vector<Case> cases = {
        {"TSD1#TK10:5", "TK10", "5"},
        {"TSD1#tk1:5", "TK1", "5"},
        {"TSD1#TK12", "TK12", ""},
        // No code followed by ":": the first code that is a prefix, as older files were read.
        {"TSD1#TK10X:5", "TK1", "5"},
        {"TSD1#TK13:6", "TK1", "6"},
    };
    for (const Case& c : cases) {
        const TFilterItem item = filters::TextToFilterItem(c.text, list);
        ASSERT_GE(item.Method, 0) << c.text;
        EXPECT_EQ(list.Method(item.Method).MethodCode(), c.code) << c.text;
        EXPECT_EQ(item.DrawsText, c.draws) << c.text;
    }
}

TEST(FilterText, CoefficientsUseAPointWhateverTheSeparator)
{
    test::DecimalSeparatorScope comma(',');
    struct Case {
        stats::TWeightCoefs w;
        const char* tail;
    };
    const std::vector<Case> cases = {
        {{1.5L, -0.25L, 0.00001L, true, false}, "#1.5:-0.25:1E-5:1:0"},
        {{1.0L / 3, 1e20L, 123456.75L, false, true}, "#0.333333333333333:1E20:123456.75:0:1"},
        {{0, -1, 1, false, false}, "#0:-1:1:0:0"},
    };
    for (const Case& c : cases) {
        TFilterItem item = filters::TextToFilterItem("TSD1#NUMS:10#LNO:#SF:1", Registry());
        item.OverrideWeights = true;
        item.Weights = c.w;
        const std::string text = filters::FilterItemToText(item, Registry());
        EXPECT_EQ(text, std::string("TSD1#NUMS:10#LNO:#SF:1") + c.tail);

        TFilterPart part;
        part.Defined = true;
        part.Method = Method("NUMS");
        part.DrawsLen = 10;
        part.SortColumn = 1;
        part.OverrideWeights = true;
        part.Weights = c.w;
        part.StopValue = 1;
        EXPECT_EQ(filters::FilterPartToText(part, Registry()), std::string("TSD1#NUMS:10#LNO:#SF:1") + c.tail);
    }
    const TFilterItem read = filters::TextToFilterItem("TSD1#NUMS:10#LNO:#SF:1#1,5:-0.25:1E-5:1:0", Registry());
    EXPECT_EQ(read.Weights.CoefCount, 1.5L);
    EXPECT_EQ(read.Weights.CoefDeviation, -0.25L);
    EXPECT_EQ(read.Weights.CoefDepth, 1E-5L);

    // What the writer puts in exponent form comes back as written.
    for (const stats::TWeightCoefs& w : {stats::TWeightCoefs{5E-5L, 1E16L, -2.5E-300L, true, false},
                                         stats::TWeightCoefs{1E300L, -1E-300L, 123456789012345L, false, true}}) {
        TFilterItem item = filters::TextToFilterItem("TSD1#NUMS:10#LNO:#SF:1", Registry());
        item.OverrideWeights = true;
        item.Weights = w;
        const TFilterItem back = filters::TextToFilterItem(filters::FilterItemToText(item, Registry()), Registry());
        EXPECT_EQ(back.Weights.CoefCount, w.CoefCount);
        EXPECT_EQ(back.Weights.CoefDeviation, w.CoefDeviation);
        EXPECT_EQ(back.Weights.CoefDepth, w.CoefDepth);
    }

    const std::vector<std::pair<const char*, long double>> lenient = {
        {"", 0}, {"abc", 0}, {"-", 0}, {"7", 7}, {" 2,5 ", 2.5L}, {"x-3.5y", -3.5L}, {"1.2.3", 0}, {"3-", 0},
        {"1E+16", 1E16L}, {"2,5e-3", 2.5E-3L}, {"e5", 5}, {"7 e", 7}, {"1e", 1}};
    for (const auto& [text, v] : lenient) EXPECT_EQ(filters::LenientFloat(text), v) << text;
}

TEST(FilterDialog, RefusalsInTheirOrder)
{
    const stats::TStatList& list = TestRegistry();
    const int numeric = 0;                      // TK1
    const int tuples = list.MethodCount() - 1;  // TPAIR
    const std::string badRange = "Введен некорректный диапазон значений!";
    const std::string noList = "Для данного вида статистики не доступен режим выделения по списку значений!";
    const std::string multiStop =
        "В режиме мультивыделения остановка сценария по количеству комбинаций или чисел не может быть выполнена!\n"
        "Выберите другой способ останова.";
    struct Case {
        const char* draws;
        int condition;
        const char* values;
        int method;
        bool multi;
        int stop;
        std::string message;   // empty: accepted
        TFilterField focus;
    };
    const std::vector<Case> cases = {
        {"10", 0, "", numeric, false, 0, "", TFilterField::Draws},
        {"", 0, "", numeric, false, 0, badRange, TFilterField::Draws},
        {"0", 0, "", numeric, false, 0, badRange, TFilterField::Draws},
        {"0,5", 0, "", numeric, false, 0, "", TFilterField::Draws},
        {"1-10", 0, "", numeric, false, 0, badRange, TFilterField::Draws},
        {"5-20;5", 0, "", numeric, false, 0, "", TFilterField::Draws},
        {"10", 1, "", numeric, false, 0, badRange, TFilterField::ConditionText},
        {"10", 1, "1-3", numeric, false, 0, badRange, TFilterField::ConditionText},
        {"10", 1, "3", numeric, false, 0, "", TFilterField::Draws},
        {"10", 31, "1,2", numeric, false, 0, "", TFilterField::Draws},
        {"10", 31, "1,2", tuples, false, 0, noList, TFilterField::Condition},
        {"10", 31, "", tuples, false, 0, noList, TFilterField::Condition},
        {"10", 31, "1", -1, false, 0, noList, TFilterField::Condition},
        {"10", 30, "1,2", tuples, false, 0, "", TFilterField::Draws},
        {"10", 0, "", numeric, true, 1, multiStop, TFilterField::StopMode},
        {"10", 0, "", numeric, false, 1, "", TFilterField::Draws},
        {"10", 0, "", numeric, true, 2, "", TFilterField::Draws},
        {"", 1, "", numeric, true, 1, badRange, TFilterField::Draws},
        {"10", 5, "", numeric, true, 1, badRange, TFilterField::ConditionText},
    };
    for (const Case& c : cases) {
        TFilterItem item;
        item.Defined = true;
        item.Method = c.method;
        item.DrawsText = c.draws;
        item.Condition = static_cast<uint8_t>(c.condition);
        item.ConditionText = c.values;
        item.MultiSelect = c.multi;
        item.StopMode = static_cast<uint8_t>(c.stop);
        item.StopValue = 1;
        const auto refusal = filters::CheckFilterItem(item, list);
        const std::string what = std::string(c.draws) + " / " + std::to_string(c.condition) + " / " + c.values;
        if (c.message.empty()) {
            EXPECT_FALSE(refusal) << what << ": " << refusal->Message;
            continue;
        }
        ASSERT_TRUE(refusal) << what;
        EXPECT_EQ(refusal->Message, c.message) << what;
        EXPECT_EQ(refusal->Focus, c.focus) << what;
    }

    std::string accepted;
    for (char32_t k : {U'0', U'9', U',', U';', U'-', U'\b', U'\r', U'a', U' ', U'.', U'+', U'Я'})
        accepted += filters::FilterFieldAccepts(k) ? '1' : '0';
    EXPECT_EQ(accepted, "111111100000");
}

std::vector<TFilterItem> Items(std::initializer_list<const char*> texts)
{
    std::vector<TFilterItem> items;
    for (const char* t : texts) items.push_back(filters::TextToFilterItem(t, Registry()));
    return items;
}

std::vector<int32_t> DrawsLens(filters::TFilterVar vars)
{
    std::vector<int32_t> lens;
    while (!vars.Empty()) lens.push_back(vars.TakeFirst()[0].DrawsLen);
    return lens;
}

TEST(FilterVariants, DrawsListsAndRefusedDescriptions)
{
    struct Case {
        const char* draws;
        std::vector<int32_t> lens;   // empty: refused
    };
    const std::vector<Case> cases = {
        {"5-20;5", {5, 10, 15, 20}},
        {"20-5;5", {}},
        {"1-10;0", {}},
        {"1-10", {}},
        {"5-4;2", {5}},
        {"10, 20", {10, 20}},
        {"7", {7}},
        {"", {}},
    };
    test::ScriptedShell sh;
    for (const Case& c : cases) {
        const std::string text = std::string("TSD1#NUMS:") + c.draws + "#LNO:#SF:1";
        const auto items = Items({text.c_str()});
        bool abort = false;
        if (c.lens.empty()) {
            try {
                filters::ExpandFilterVariants(items, Registry(), abort, sh);
                FAIL() << text;
            } catch (const Error& e) {
                EXPECT_EQ(std::string(e.what()), "Некорректное описание фильтра: " + text + "!");
            }
            continue;
        }
        EXPECT_EQ(DrawsLens(filters::ExpandFilterVariants(items, Registry(), abort, sh)), c.lens) << text;
    }

    // The second item is refused although the first is fine; a condition needs its values.
    bool abort = false;
    const auto bad = Items({"TSD1#NUMS:10#LNO:#SF:1", "TSD1#EVEN:10#LMV:#SF:1"});
    try {
        filters::ExpandFilterVariants(bad, Registry(), abort, sh);
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Некорректное описание фильтра: TSD1#EVEN:10#LMV:#SF:1!");
    }
    // A step without filters.
    try {
        filters::ExpandFilterVariants({}, Registry(), abort, sh);
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Некорректное описание фильтра: !");
    }
    EXPECT_FALSE(abort);
    EXPECT_TRUE(sh.messages.empty());
}

TEST(FilterVariants, ThirtySixVariantsWithItemOneSlowest)
{
    const auto items = Items({"TSD1#NUMS:10,20,30#LMV:1,2#SF:1", "BMD6#EVEN:5-15;5#CMV:3;4#ST:2#1:-1:0.5:0:1"});
    bool abort = false;
    test::ScriptedShell sh;
    filters::TFilterVar vars = filters::ExpandFilterVariants(items, Registry(), abort, sh);
    ASSERT_EQ(vars.Count(), 36);
    EXPECT_EQ(filters::FilterRecToText(vars.At(0), Registry()),
              "TSD1#NUMS:10#LMV:1#SF:1 + BMD6#EVEN:5#CMV:3#ST:2#1:-1:0.5:0:1");

    std::vector<std::string> expected;
    for (int d1 : {10, 20, 30})
        for (int v1 : {1, 2})
            for (int d2 : {5, 10, 15})
                for (int v2 : {3, 4})
                    expected.push_back(std::to_string(d1) + "/" + std::to_string(v1) + " " + std::to_string(d2) + "/"
                                       + std::to_string(v2));
    std::vector<std::string> got;
    int left = 36;
    while (!vars.Empty()) {
        const TFilterRec rec = vars.TakeFirst();
        EXPECT_EQ(vars.Count(), --left);
        got.push_back(std::to_string(rec[0].DrawsLen) + "/" + rec[0].ConditionValue + " " + std::to_string(rec[1].DrawsLen)
                      + "/" + rec[1].ConditionValue);
        EXPECT_EQ(rec[0].ConditionText, rec[0].ConditionValue);
        for (std::size_t i = 2; i < rec.size(); ++i) EXPECT_EQ(rec[i], TFilterPart{}) << "unused parts are all zero";
        EXPECT_TRUE(rec[1].Defined && rec[1].BottomUp && rec[1].MultiSelect && !rec[1].KeepSelected);
        EXPECT_EQ(rec[1].SortColumn, 6);
        EXPECT_EQ(rec[1].Method, Method("EVEN"));
        EXPECT_EQ(rec[1].StopMode, filters::StopSteps);
        EXPECT_EQ(rec[1].StopValue, 2);
        EXPECT_EQ(rec[1].Weights, (stats::TWeightCoefs{1, -1, 0.5L, false, true}));
    }
    EXPECT_EQ(got, expected);
    EXPECT_EQ(vars.TakeFirst(), TFilterRec{}) << "nothing left to take";
}

TEST(FilterVariants, ListConditionsTakeTheWholeList)
{
    struct Case {
        const char* text;
        std::vector<std::pair<std::string, std::string>> parts;   // (value, text) per variant
    };
    const std::vector<Case> cases = {
        {"TSD1#NUMS:10,20#LDV:1-3;1#SF:1", {{"1,2,3", "1-3;1"}, {"1,2,3", "1-3;1"}}},
        {"TSD1#NUMS:10#CDP:4; 8#SF:1", {{"4,8", "4; 8"}}},
        {"TSD1#NUMS:10#LVA:3,20#SF:1", {{"3,20", "3,20"}}},
        {"TSD1#NUMS:10#LNO:whatever#SF:1", {{"whatever", "whatever"}}},
        // The list conditions of the weight and the periods make a variant of each value.
        {"TSD1#NUMS:10#WDV:1;2;3#SF:1", {{"1", "1"}, {"2", "2"}, {"3", "3"}}},
        {"TSD1#NUMS:10#PXR:7-9;2#SF:1", {{"7", "7"}, {"9", "9"}}},
    };
    test::ScriptedShell sh;
    for (const Case& c : cases) {
        bool abort = false;
        filters::TFilterVar vars = filters::ExpandFilterVariants(Items({c.text}), Registry(), abort, sh);
        std::vector<std::pair<std::string, std::string>> got;
        while (!vars.Empty()) {
            const TFilterRec rec = vars.TakeFirst();
            got.emplace_back(rec[0].ConditionValue, rec[0].ConditionText);
        }
        EXPECT_EQ(got, c.parts) << c.text;
    }

    // An unknown statistic travels to the part, which names it in its text.
    bool abort = false;
    filters::TFilterVar vars = filters::ExpandFilterVariants(Items({"TSD1#ZZZZ:10#LNO:#SF:1"}), Registry(), abort, sh);
    ASSERT_EQ(vars.Count(), 1);
    const TFilterRec rec = vars.TakeFirst();
    EXPECT_EQ(rec[0].Method, -1);
    EXPECT_EQ(rec[0].StatCode, "ZZZZ");
    EXPECT_EQ(filters::FilterRecToText(rec, Registry()), "TSD1#ZZZZ:10#LNO:#SF:1");
    try {
        filters::ExpandFilterVariants(Items({"TSD1#ZZZZ#LNO:#SF:1"}), Registry(), abort, sh);
        FAIL() << "no draws lengths at all";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Некорректное описание фильтра: TSD1#ZZZZ#LNO:#SF:1!");
    }
}

TEST(FilterVariants, ProgressAbortAndTheLimit)
{
    test::ScriptedShell sh;
    {
        bool abort = true;
        EXPECT_EQ(filters::ExpandFilterVariants(Items({"TSD1#NUMS:1-5;1#LNO:#SF:1"}), Registry(), abort, sh).Count(), 0);
    }
    {
        // The flag is polled before each draws length: set at the 1000th variant, it stops there.
        bool abort = false;
        std::vector<std::string> texts;
        const auto vars = filters::ExpandFilterVariants(Items({"TSD1#NUMS:1-2500;1#LNO:#SF:1"}), Registry(), abort, sh,
                                                        [&](const std::string& t) {
                                                            texts.push_back(t);
                                                            abort = true;
                                                        });
        EXPECT_EQ(vars.Count(), 1000);
        EXPECT_EQ(texts, (std::vector<std::string>{"Создание всех вариантов фильтров ( 1000 )..."}));
    }
    {
        bool abort = false;
        sh.statusTexts.clear();
        const auto vars = filters::ExpandFilterVariants(Items({"TSD1#NUMS:1-2;1#LNO:#SF:1", "TSD1#EVEN:1-1000;1#LNO:#SF:1"}),
                                                        Registry(), abort, sh);
        EXPECT_EQ(vars.Count(), 2000);
        EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Создание всех вариантов фильтров ( 1000 )...",
                                                            "Создание всех вариантов фильтров ( 2000 )..."}));
    }
    {
        bool abort = false;
        const auto vars = filters::ExpandFilterVariants(Items({"TSD1#NUMS:1-1001;1#LMV:1-1000;1#SF:1"}), Registry(), abort, sh);
        EXPECT_TRUE(abort);
        EXPECT_EQ(vars.Count(), 0);
        ASSERT_EQ(sh.messages.size(), 1u);
        EXPECT_EQ(sh.messages[0].kind, shell::MessageKind::Error);
        EXPECT_EQ(sh.messages[0].text,
                  "Вы задали слишком много вариантов фильтров - программа не сможет обработать их все!\n"
                  "Пожалуйста, уменьшите в каждом из фильтров количество вариантов длины выборки и глубины, а затем "
                  "повторите попытку.\n\nВариантов фильтров: 1001000, наибольшее допустимое количество: 1000000.");
    }
    {
        // Exactly the limit is made.
        bool abort = false;
        sh.messages.clear();
        filters::TFilterVar vars = filters::ExpandFilterVariants(
            Items({"TSD1#NUMS:1-1000;1#LNO:#SF:1", "TSD1#EVEN:1-1000;1#LMV:7#SF:1"}), Registry(), abort, sh,
            [](const std::string&) {});
        EXPECT_FALSE(abort);
        EXPECT_TRUE(sh.messages.empty());
        ASSERT_EQ(vars.Count(), filters::MaxFilterVariants);
        EXPECT_EQ(filters::FilterRecToText(vars.At(filters::MaxFilterVariants - 1), Registry()),
                  "TSD1#NUMS:1000#LNO:#SF:1 + TSD1#EVEN:1000#LMV:7#SF:1");
        const TFilterRec first = vars.TakeFirst();
        EXPECT_EQ(first[0].DrawsLen, 1);
        EXPECT_EQ(first[1].DrawsLen, 1);
        EXPECT_EQ(vars.TakeFirst()[1].DrawsLen, 2);
    }
}

stats::TStatValues Row(std::string caption, int value, std::string count, std::string countPct, std::string deviation,
                       std::string deviationPct, std::string depth, std::string depthPct, std::string weight,
                       std::string periodMin, std::string period, std::string periodMax)
{
    stats::TStatValues v;
    v.Caption = std::move(caption);
    v.Value = value;
    v.Count = std::move(count);
    v.CountPct = std::move(countPct);
    v.Deviation = std::move(deviation);
    v.DeviationPct = std::move(deviationPct);
    v.Depth = std::move(depth);
    v.DepthPct = std::move(depthPct);
    v.Weight = std::move(weight);
    v.PeriodMin = std::move(periodMin);
    v.Period = std::move(period);
    v.PeriodMax = std::move(periodMax);
    return v;
}

TEST(RowMatchesCondition, EveryConditionWithItsNonNumberRule)
{
    const auto A = Row("5", 5, "12", "6.00000", "-3", "-20.00000", "4", "40.00", "7.50", "2", "8.3333", "15");
    // The same row as the table shows it with a "," decimal separator.
    const auto C = Row("5", 5, "12", "6,00000", "-3", "-20,00000", "4", "40,00", "7,50", "2", "8,3333", "15");
    const auto B = Row("ab", 0, "3", "1.50000", "0", "0.00000", "1", "100.00", "-2.00", "1", "4.0000", "1");
    // A value that did not occur in the window (and no comparison with the full set).
    const auto D = Row("9", 9, "0", "0.00000", "-", "-", "-", "-", "-", "-", "-", "-");
    struct Case {
        int condition;
        const char* value;
        const stats::TStatValues& row;
        bool match;
    };
    const std::vector<Case> cases = {
        {0, "junk", A, true}, {0, "", D, true},
        {1, "4", A, true}, {1, "5", A, false}, {1, "0", D, true}, {1, "1", D, false},
        {2, "40", A, true}, {2, "41", A, false}, {2, "40", C, true}, {2, "0", D, true}, {2, "1", D, false},
        {3, "4", A, true}, {3, "3", A, false}, {3, "65535", D, true}, {3, "65534", D, false},
        {4, "40", A, true}, {4, "39", A, false}, {4, "39", C, false}, {4, "65535", D, true}, {4, "1000", D, false},
        {5, "1,4", A, true}, {5, "3;5", A, false}, {5, " 2 ; 4 ", A, true},
        {6, "40", A, true}, {6, "41, 39", A, false}, {6, "40", C, true}, {6, "100", B, true},
        {7, "-3", A, true}, {7, "-2", A, false}, {7, "0", D, true}, {7, "1", D, false},
        {8, "-20", A, true}, {8, "-19", A, false}, {8, "-20", C, true}, {8, "0", D, true},
        {9, "-3", A, true}, {9, "-4", A, false}, {9, "65535", D, true}, {9, "0", D, false},
        {10, "-20", A, true}, {10, "-21", A, false}, {10, "65535", D, true}, {10, "0", D, false},
        {11, "-3", A, true}, {11, "3", A, false}, {11, "5,0", B, true},
        {12, "-20", A, true}, {12, "20", A, false}, {12, "0", B, true},
        {13, "12", A, true}, {13, "13", A, false}, {13, "0", D, true},
        {14, "6", A, true}, {14, "7", A, false}, {14, "6", C, true},
        {15, "12", A, true}, {15, "11", A, false}, {15, "0", D, true},
        {16, "6", A, true}, {16, "5", A, false},
        {17, "11;12", A, true}, {17, "13", A, false}, {17, "0", D, true},
        {18, "6", A, true}, {18, "0", A, false}, {18, "0", D, true}, {18, "6", C, true},
        {19, "7", A, true}, {19, "8", A, false}, {19, "7", C, true}, {19, "0", D, true}, {19, "1", D, false},
        {20, "8", A, true}, {20, "7", A, false}, {20, "0", D, true}, {20, "-1", D, false}, {20, "-2", B, true},
        {21, "7,8", A, false}, {21, "-2", B, true},
        {22, "2", A, true}, {22, "3", A, false}, {22, "0", D, true}, {22, "1", D, false},
        {23, "2", A, true}, {23, "1", A, false}, {23, "65535", D, true}, {23, "65534", D, false},
        {24, "1,2", A, true}, {24, "3", A, false},
        {25, "8", A, true}, {25, "9", A, false}, {25, "8", C, true}, {25, "0", D, true}, {25, "1", D, false},
        {26, "9", A, true}, {26, "8", A, false}, {26, "0", D, true}, {26, "-1", D, false},
        {27, "4", B, true}, {27, "8", A, false},
        {28, "15", A, true}, {28, "16", A, false}, {28, "0", D, true},
        {29, "15", A, true}, {29, "14", A, false}, {29, "65535", D, true}, {29, "100", D, false},
        {30, "15", A, true}, {30, "1", B, true}, {30, "2", B, false},
        {31, "4,5", A, true}, {31, "4", A, false}, {31, "0", B, true},
        {32, "x", D, true}, {255, "", A, true},
    };
    // The filter makes only the texts of the value and of ConditionColumn: the rest stays empty.
    const auto onlyRead = [](const stats::TStatValues& full, int column) {
        stats::TStatValues v;
        v.Caption = full.Caption;
        v.Value = full.Value;
        const std::pair<int, std::string stats::TStatValues::*> fields[] = {
            {1, &stats::TStatValues::Count},        {2, &stats::TStatValues::CountPct},
            {4, &stats::TStatValues::Deviation},    {5, &stats::TStatValues::DeviationPct},
            {6, &stats::TStatValues::Depth},        {7, &stats::TStatValues::DepthPct},
            {8, &stats::TStatValues::Weight},       {10, &stats::TStatValues::PeriodMin},
            {11, &stats::TStatValues::Period},      {12, &stats::TStatValues::PeriodMax}};
        for (const auto& [at, field] : fields)
            if (at == column) v.*field = full.*field;
        return v;
    };
    for (const Case& c : cases) {
        TFilterPart part;
        part.Defined = true;
        part.Condition = static_cast<uint8_t>(c.condition);
        part.ConditionValue = c.value;
        EXPECT_EQ(filters::RowMatchesCondition(part, c.row), c.match)
            << filters::ConditionCode(c.condition) << " " << c.value << " [" << c.row.Caption << "]";
        EXPECT_EQ(filters::RowMatchesCondition(part, onlyRead(c.row, filters::ConditionColumn(part))), c.match)
            << "column " << filters::ConditionColumn(part) << " of " << filters::ConditionCode(c.condition);
    }
}

TEST(RowMatchesCondition, ConversionFailures)
{
    const auto A = Row("5", 5, "12", "6.00000", "-3", "-20.00000", "4", "40.00", "7.50", "2", "8.3333", "15");
    const auto D = Row("9", 9, "0", "0.00000", "-", "-", "-", "-", "-", "-", "-", "-");
    struct Case {
        int condition;
        const char* value;
        const stats::TStatValues& row;
        const char* message;
    };
    const std::vector<Case> cases = {
        {1, "abc", A, "Некорректное целое число: \"abc\"!"},
        {19, "", A, "Некорректное целое число: \"\"!"},
        {19, "7.5", A, "Некорректное целое число: \"7.5\"!"},
        // In list tests the row text is converted as strictly as the words.
        {5, "1,4", D, "Некорректное целое число: \"-\"!"},
        {11, "-3", D, "Некорректное целое число: \"-\"!"},
        {21, "7", D, "Некорректное число: \"-\"!"},
        {27, "8", D, "Некорректное число: \"-\"!"},
        {30, "1", D, "Некорректное целое число: \"-\"!"},
        // Every word is converted, also after a match.
        {5, "4,x", A, "Некорректное целое число: \"x\"!"},
        {5, "4,", A, "Некорректное целое число: \"\"!"},
        {6, "40;y", A, "Некорректное число: \"y\"!"},
        {31, "a", A, "Некорректное целое число: \"a\"!"},
        // The row's text fails before a bad word does.
        {5, "x", D, "Некорректное целое число: \"-\"!"},
    };
    for (const Case& c : cases) {
        TFilterPart part;
        part.Condition = static_cast<uint8_t>(c.condition);
        part.ConditionValue = c.value;
        // A part read once fails only when a row is tested (a part may test none), and each time.
        std::optional<filters::TRowCondition> once;
        ASSERT_NO_THROW(once.emplace(part));
        for (int pass = 0; pass < 3; ++pass) {
            try {
                if (pass < 2) once->Matches(c.row);
                else filters::RowMatchesCondition(part, c.row);
                ADD_FAILURE() << filters::ConditionCode(c.condition) << " " << c.value;
            } catch (const Error& e) {
                EXPECT_STREQ(e.what(), c.message) << filters::ConditionCode(c.condition) << " " << c.value;
            }
        }
    }
}

} // namespace

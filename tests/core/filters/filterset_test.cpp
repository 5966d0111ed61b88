#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "core/filters/filterset.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"
#include "core/util/error.h"
#include "tests/core/filters/combtest.h"
#include "tests/core/filters/filtertest.h"
#include "tests/support/support.h"

using namespace kv;
using filters::TFilterPart;
using filters::THistoryKind;
using filters::THistoryRow;
using game::TComb;

namespace {

const TComb C1{1, 4, 5, 6, 7, 8, 9, 10};
const TComb C2{4, 5, 6, 7, 8, 9, 10, 11};
const TComb C3{2, 4, 5, 6, 7, 8, 9, 10};
const TComb C4{10, 11, 12, 13, 14, 15, 16, 17};
const TComb C5{3, 12, 13, 14, 15, 16, 17, 18};
// Made only of the numbers that came more than once.
const TComb C6{1, 2, 3, 4, 5, 9, 11, 13};

// Four draws. NUMS over them, rows by count descending (ties in number order):
//   row 0: 1 (4 times), rows 1-2: 2, 3 (3 times), rows 3-7: 4, 5, 9, 11, 13 (twice),
//   rows 8-19: 6, 7, 8, 10, 12, 14, 15, 16, 17, 18, 19, 20 (once).
// Depth 1: 1 3 5 9 11 13 19 20; depth 2: 2 14..18; depth 3: 4 10 12; depth 4: 6 7 8.
struct Fixture {
    game::TDrawsArray draws{
        test::MakeDraw(1, {1, 2, 3, 4, 5, 6, 7, 8}),
        test::MakeDraw(2, {1, 2, 3, 4, 9, 10, 11, 12}),
        test::MakeDraw(3, {1, 2, 13, 14, 15, 16, 17, 18}),
        test::MakeDraw(4, {1, 3, 5, 13, 19, 20, 9, 11}),
    };
    stats::TStatList list;
    test::TempDir dir;
    stats::TPrefetchCache cache{dir.path()};
    stats::TStatTable table;
    filters::TCombList combs;
    filters::TFilterHistory history;
    test::ScriptedShell sh;
    bool abort = false;
    std::vector<std::string> log;
    std::vector<filters::TStatViewState> views;
    test::DecimalSeparatorScope point{'.'};
    filters::TFilterSetContext ctx{.List = list,
                                   .Cache = cache,
                                   .Table = table,
                                   .Combs = combs,
                                   .History = history,
                                   .Abort = abort,
                                   .Shell = sh,
                                   .Log = {},
                                   .OnStatView = {}};

    explicit Fixture(std::vector<TComb> start = {C1, C2, C3, C4, C5})
    {
        list.SetDraws(&draws);
        list.BuildMethodList();
        combs.Init(16);
        test::SetList(combs, start);
        ctx.Log = [this](const std::string& line) { log.push_back(line); };
        ctx.OnStatView = [this](const filters::TStatViewState& s) { views.push_back(s); };
    }

    TFilterPart part(const char* code, int condition, const char* value, bool multi, bool keep, int stop = 0,
                     int stopValue = 1, bool bottomUp = false) const
    {
        TFilterPart p;
        p.Defined = true;
        p.Method = list.FindMethod(code);
        EXPECT_GE(p.Method, 0) << code;
        p.StatCode = code;
        p.DrawsLen = 10;
        p.SortColumn = 1;
        p.BottomUp = bottomUp;
        p.MultiSelect = multi;
        p.KeepSelected = keep;
        p.Condition = static_cast<uint8_t>(condition);
        p.ConditionValue = p.ConditionText = value;
        p.StopMode = static_cast<uint8_t>(stop);
        p.StopValue = stopValue;
        return p;
    }
    std::string name(const char* code) const { return list.GetDisplayName(list.FindMethod(code), true); }
    std::vector<THistoryRow> rows() const
    {
        std::vector<THistoryRow> r;
        for (int i = 0; i < history.Count(); ++i) r.push_back(history.Row(i));
        return r;
    }
};

const std::string Nums = "{ num } Числа тиража [ N ]";

THistoryRow Keep(const std::string& values, const char* count) { return {Nums, values, count, THistoryKind::Keep}; }
THistoryRow Del(const std::string& values, const char* count) { return {Nums, values, count, THistoryKind::Delete}; }
THistoryRow Undone(const char* count) { return {"Отмена последней операции", "", count, THistoryKind::Undo}; }

TEST(ApplyFilterPart, MultiSelectMarksAllMatchingRowsAndFiltersOnce)
{
    Fixture f;
    ASSERT_EQ(f.name("NUMS"), Nums);
    filters::ApplyFilterPart(f.part("NUMS", 13, "3", true, true), f.ctx);
    EXPECT_EQ(test::ListOf(f.combs), (std::vector<TComb>{C1, C3, C5}));
    EXPECT_EQ(f.rows(), (std::vector<THistoryRow>{Keep("1; 2; 3", "3")}));
    EXPECT_EQ(f.combs.UndoCount(), 5);

    ASSERT_EQ(f.log.size(), 1u + 20u + 3u + 2u);
    EXPECT_EQ(f.log[0], "Анализ тиражей и расчет статистики \"Числа тиража\" для выборки в 10 тиражей...");
    EXPECT_EQ(f.log[1], "< [1] кол-во: 4 (12.50000 %), отклонение: - (- %), глубина: 1 (25.00 %), вес: 1.00 >");
    EXPECT_EQ(f.log[20], "< [20] кол-во: 1 (3.12500 %), отклонение: - (- %), глубина: 1 (25.00 %), вес: 1.00 >");
    EXPECT_EQ(f.log[21],
              "Шаг 001. Выделение строки: < [1] кол-во: 4 (12.50000 %), отклонение: - (- %), глубина: 1 (25.00 %), "
              "вес: 1.00 >");
    EXPECT_EQ(f.log[22],
              "Шаг 002. Выделение строки: < [2] кол-во: 3 (9.37500 %), отклонение: - (- %), глубина: 2 (50.00 %), "
              "вес: 2.00 >");
    EXPECT_EQ(f.log[23].rfind("Шаг 003. Выделение строки: < [3] кол-во: 3 (9.37500 %)", 0), 0u) << f.log[23];
    EXPECT_EQ(f.log[24], "Оставляем выделенные значения...");
    EXPECT_EQ(f.log[25], "Количество комбинаций в списке: 3");

    // The view follows: method and window, the three rows selected, then the selection cleared.
    ASSERT_GE(f.views.size(), 5u);
    EXPECT_EQ(f.views.front().Method, f.list.FindMethod("NUMS"));
    EXPECT_EQ(f.views.front().DrawsLen, 10);
    EXPECT_EQ(f.views.front().SortColumn, 1);
    EXPECT_EQ(f.views[f.views.size() - 2].Selected, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(f.views.back().Selected.empty());
    EXPECT_EQ(f.table.SortColumn(), 1);
    EXPECT_FALSE(f.table.SortAscending());
    EXPECT_FALSE(f.sh.IsBusy());
}

TEST(ApplyFilterPart, StopModesAndDirections)
{
    struct Case {
        const char* what;
        TFilterPart part;
        std::vector<TComb> start;
        std::vector<TComb> left;
        std::vector<THistoryRow> history;
    };
    const Fixture p;   // only to make parts
    const std::vector<TComb> all{C1, C2, C3, C4, C5};
    const std::vector<Case> cases = {
        {"multi delete", p.part("NUMS", 13, "3", true, false), all, {C2, C4}, {Del("1; 2; 3", "2")}},
        // One at a time, a row that empties the list is rolled back; SZ ends the visit there.
        {"one at a time, SZ", p.part("NUMS", 13, "3", false, true, 2), {C2, C4, C5}, {C2, C4, C5},
         {Keep("1", "0"), Undone("3")}},
        {"one at a time, SF", p.part("NUMS", 13, "3", false, true, 0), {C2, C4, C5}, {C5},
         {Keep("1", "0"), Undone("3"), Keep("2", "0"), Undone("3"), Keep("3", "1")}},
        // Steps: rolled-back rows do not count.
        {"ST 2", p.part("NUMS", 0, "", false, false, 3, 2), all, {C2, C4, C5}, {Del("1", "4"), Del("2", "3")}},
        {"ST 1 after a roll-back", p.part("NUMS", 13, "3", false, true, 3, 1), {C2, C4, C5}, {C5},
         {Keep("1", "0"), Undone("3"), Keep("2", "0"), Undone("3"), Keep("3", "1")}},
        {"multi ST 2", p.part("NUMS", 0, "", true, true, 3, 2), all, {C1, C3}, {Keep("1; 2", "2")}},
        // SC: the list holds at most StopValue combinations.
        {"SC 4", p.part("NUMS", 0, "", false, false, 1, 4), all, {C2, C3, C4, C5}, {Del("1", "4")}},
        {"SC 5", p.part("NUMS", 0, "", false, false, 1, 5), all, all, {}},
        // SV: downwards until a count at most the value, upwards until one at least the value.
        {"SV down", p.part("NUMS", 0, "", true, true, 4, 2), all, {C1, C3, C5}, {Keep("1; 2; 3", "3")}},
        {"SV up", p.part("NUMS", 0, "", true, false, 4, 2, true), {C1, C6}, {C6},
         {Del("6; 7; 8; 10; 12; 14; 15; 16; 17; 18; 19; 20", "1")}},
        // SP: 4 of 32 values is 12.5 %, 3 is 9.375 %, 2 is 6.25 %.
        {"SP down", p.part("NUMS", 0, "", true, true, 5, 7), all, {C1, C3, C5}, {Keep("1; 2; 3", "3")}},
        {"SP down 10", p.part("NUMS", 0, "", true, true, 5, 10), all, {C1}, {Keep("1", "1")}},
        // LVA reads the value of each row back from its caption.
        {"values", p.part("NUMS", 31, "13,5", true, true), all, {C1, C2, C3, C4, C5}, {Keep("5; 13", "5")}},
        {"values delete", p.part("NUMS", 31, "18", true, false), all, {C1, C2, C3, C4}, {Del("18", "4")}},
        // A multi-select filter that empties the list is rolled back too.
        {"multi empties", p.part("NUMS", 0, "", true, false), all, all, {Del(
            "1; 2; 3; 4; 5; 9; 11; 13; 6; 7; 8; 10; 12; 14; 15; 16; 17; 18; 19; 20", "0"), Undone("5")}},
    };
    for (const Case& c : cases) {
        Fixture f(c.start);
        filters::ApplyFilterPart(c.part, f.ctx);
        EXPECT_EQ(test::ListOf(f.combs), c.left) << c.what;
        EXPECT_EQ(f.rows(), c.history) << c.what;
        EXPECT_FALSE(f.sh.IsBusy()) << c.what;
    }
}

TEST(ApplyFilterPart, RollBackIsLogged)
{
    Fixture f({C2, C4, C5});
    filters::ApplyFilterPart(f.part("NUMS", 13, "3", false, true, 2), f.ctx);
    ASSERT_GE(f.log.size(), 3u);
    EXPECT_EQ(f.log[f.log.size() - 3], "Оставляем выделенные значения...");
    EXPECT_EQ(f.log[f.log.size() - 2], "Количество комбинаций в списке: 0");
    EXPECT_EQ(f.log.back(), "{UNDO} Откат изменений...");
    EXPECT_EQ(f.combs.UndoCount(), 0) << "the roll-back used the undo copy up";
    EXPECT_NE(std::find(f.sh.statusTexts.begin(), f.sh.statusTexts.end(), "Отмена изменений..."), f.sh.statusTexts.end());
}

TEST(ApplyFilterPart, WeightsOfThePartOrTheSavedOnes)
{
    Fixture f;
    f.list.SavedWeights = {0, 0, 2, false, false};
    TFilterPart own = f.part("NUMS", 19, "4", true, true);
    own.OverrideWeights = true;
    own.Weights = {1, 0, 0, false, false};
    filters::ApplyFilterPart(own, f.ctx);
    EXPECT_EQ(f.list.Config().Weights, own.Weights);
    EXPECT_EQ(f.table.RowToStatValues(0).Weight, "4.00") << "weight = count";
    EXPECT_EQ(f.rows(), (std::vector<THistoryRow>{Keep("1", "1")}));

    Fixture g;
    g.list.SavedWeights = {0, 0, 2, false, false};
    g.list.Config().Weights = {5, 5, 5, true, true};
    filters::ApplyFilterPart(g.part("NUMS", 19, "8", true, true), g.ctx);
    EXPECT_EQ(g.list.Config().Weights, g.list.SavedWeights);
    EXPECT_EQ(g.table.RowToStatValues(8).Weight, "8.00") << "weight = 2 x depth; row 8 is 6, depth 4";
    EXPECT_EQ(g.rows(), (std::vector<THistoryRow>{Keep("6; 7; 8", "3")}));
}

TEST(ApplyFilterPart, TheMethodMustBeOfferedByTheChooser)
{
    Fixture f;
    f.list.SetFavorites("EVEN");
    try {
        filters::ApplyFilterPart(f.part("NUMS", 0, "", true, true), f.ctx);
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Метод расчета статистики \"NUMS\" на найден!\nЧисла тиража\n\nВозможно, Вы отключили "
                               "данных метод расчета либо использовали сценарий от другой модификации программы.");
    }
    TFilterPart unknown = f.part("EVEN", 0, "", true, true);
    unknown.Method = -1;
    unknown.StatCode = "SUMX";
    try {
        filters::ApplyFilterPart(unknown, f.ctx);
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Метод расчета статистики \"SUMX\" на найден!\n\n\nВозможно, Вы отключили данных метод "
                               "расчета либо использовали сценарий от другой модификации программы.");
    }
    EXPECT_EQ(test::ListOf(f.combs).size(), 5u);
    EXPECT_EQ(f.history.Count(), 0);
    EXPECT_TRUE(f.log.empty());
    EXPECT_TRUE(f.views.empty());
}

TEST(ApplyFilterPart, AConversionErrorEndsThePart)
{
    // Without the comparison with the full set every "Отклонение" cell is "-".
    Fixture f;
    try {
        filters::ApplyFilterPart(f.part("NUMS", 11, "0", false, true), f.ctx);
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Некорректное целое число: \"-\"!");
    }
    EXPECT_EQ(test::ListOf(f.combs).size(), 5u);
    EXPECT_EQ(f.history.Count(), 0);
    EXPECT_FALSE(f.sh.IsBusy());
}

TEST(ApplyFilterPart, AbortStopsBeforeAnyRow)
{
    Fixture f;
    f.abort = true;
    filters::ApplyFilterPart(f.part("NUMS", 0, "", true, false), f.ctx);
    EXPECT_EQ(test::ListOf(f.combs).size(), 5u) << "an aborted multi-select visit does not filter";
    EXPECT_EQ(f.history.Count(), 0);
    EXPECT_EQ(f.table.RowCount(), 20);

    // Set while one-at-a-time rows are applied: the visit ends at the next row.
    Fixture g;
    g.ctx.OnStatView = [&g](const filters::TStatViewState& s) {
        if (!s.Selected.empty()) g.abort = true;
    };
    filters::ApplyFilterPart(g.part("NUMS", 0, "", false, false), g.ctx);
    EXPECT_EQ(g.rows(), (std::vector<THistoryRow>{Del("1", "4")}));
}

TEST(ApplyFilterSet, PartsRunWhileTheListHoldsMoreThanOne)
{
    {
        // The first part leaves one combination: the second, which would delete it, is skipped.
        Fixture f;
        filters::TFilterRec rec{};
        rec[0] = f.part("NUMS", 31, "3", true, true);
        rec[2] = f.part("NUMS", 0, "", true, false);
        filters::ApplyFilterSet(rec, f.ctx);
        EXPECT_EQ(test::ListOf(f.combs), (std::vector<TComb>{C5}));
        EXPECT_EQ(f.rows(), (std::vector<THistoryRow>{Keep("3", "1")}));
    }
    for (const std::vector<TComb>& start : {std::vector<TComb>{}, std::vector<TComb>{C4}}) {
        Fixture f(start);
        filters::TFilterRec rec{};
        rec[0] = f.part("NUMS", 0, "", true, false);
        filters::ApplyFilterSet(rec, f.ctx);
        EXPECT_EQ(test::ListOf(f.combs), start);
        EXPECT_EQ(f.history.Count(), 0);
        EXPECT_TRUE(f.views.empty()) << "no table is built for a skipped part";
    }
    {
        // Parts are applied in slot order, undefined slots skipped; the abort flag ends the set.
        Fixture f;
        filters::TFilterRec rec{};
        rec[1] = f.part("NUMS", 31, "1", true, false);
        rec[4] = f.part("NUMS", 31, "2", true, false);
        rec[6] = f.part("NUMS", 31, "13", true, false);
        f.ctx.OnStatView = [&f](const filters::TStatViewState&) {
            if (f.history.Count() == 2) f.abort = true;
        };
        filters::ApplyFilterSet(rec, f.ctx);
        EXPECT_EQ(test::ListOf(f.combs), (std::vector<TComb>{C2, C4, C5}));
        EXPECT_EQ(f.rows(), (std::vector<THistoryRow>{Del("1", "4"), Del("2", "3")}));
    }
}

TEST(ApplyFilterSet, FromTheTextOfAScenarioStep)
{
    Fixture f;
    bool abort = false;
    const std::vector<filters::TFilterItem> items{
        filters::TextToFilterItem("TMF1#NUMS:4#CMV:3#SF:1", f.list),
        filters::TextToFilterItem("TSD6#NUMS:4#LDV:3;1#SF:1", f.list)};
    filters::TFilterVar vars = filters::ExpandFilterVariants(items, f.list, abort, f.sh);
    ASSERT_EQ(vars.Count(), 1);
    filters::ApplyFilterSet(vars.TakeFirst(), f.ctx);
    // Keep 1, 2, 3 leaves C1, C3, C5. Then one at a time by depth (6, 7, 8 / 4, 10, 12 / 2, 14..18
    // / 1, 3, 5, 9, 11, 13, 19, 20), deleting each number of depth 3 or 1: the part goes on below
    // two combinations, and each deletion that would empty the list is rolled back.
    EXPECT_EQ(f.rows(), (std::vector<THistoryRow>{Keep("1; 2; 3", "3"), Del("4", "1"), Del("10", "1"), Del("12", "0"),
                                                  Undone("1"), Del("1", "1"), Del("3", "0"), Undone("1"), Del("5", "1"),
                                                  Del("9", "1"), Del("11", "1"), Del("13", "0"), Undone("1"),
                                                  Del("19", "1"), Del("20", "1")}));
    EXPECT_EQ(test::ListOf(f.combs), (std::vector<TComb>{C5}));
    EXPECT_EQ(f.table.SortColumn(), 6);
    EXPECT_FALSE(f.table.SortAscending());

    // A statistic of another edition of the program stops the step where it is applied.
    Fixture g;
    const std::vector<filters::TFilterItem> other{filters::TextToFilterItem("TSD1#SUMX:10#LNO:#SF:1", g.list)};
    filters::TFilterVar otherVars = filters::ExpandFilterVariants(other, g.list, abort, g.sh);
    ASSERT_EQ(otherVars.Count(), 1);
    try {
        filters::ApplyFilterSet(otherVars.TakeFirst(), g.ctx);
        FAIL();
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Метод расчета статистики \"SUMX\" на найден!\n\n\nВозможно, Вы отключили данных метод "
                               "расчета либо использовали сценарий от другой модификации программы.");
    }
    EXPECT_EQ(g.history.Count(), 0);
}

} // namespace

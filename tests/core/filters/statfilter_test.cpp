#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "core/filters/statfilter.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"
#include "core/util/error.h"
#include "tests/core/filters/combtest.h"
#include "tests/core/filters/filtertest.h"
#include "tests/support/support.h"

using namespace kv;
using filters::THistoryKind;
using filters::THistoryRow;
using game::TComb;

namespace {

const TComb C1{1, 4, 5, 6, 7, 8, 9, 10};
const TComb C2{4, 5, 6, 7, 8, 9, 10, 11};
const TComb C3{2, 4, 5, 6, 7, 8, 9, 10};
const TComb C4{10, 11, 12, 13, 14, 15, 16, 17};
const TComb C5{3, 12, 13, 14, 15, 16, 17, 18};

const std::vector<const stats::TStatKind*>& TestKinds()
{
    static const stats::TStatKind plain = test::TestKind(1, "TNUM", "Числа теста", 0);
    static const stats::TStatKind dynamic = test::TestKind(2, "TDYN", "Числа с опорным тиражом", 7, stats::FlagD);
    static const std::vector<const stats::TStatKind*> kinds{&plain, &dynamic};
    return kinds;
}

struct Fixture {
    game::TDrawsArray draws{
        test::MakeDraw(11, {5, 1, 9, 3, 12, 7, 20, 15}),
        test::MakeDraw(12, {8, 2, 6, 4, 10, 14, 16, 18}),
        test::MakeDraw(13, {19, 17, 1, 3, 5, 7, 9, 11}),
        test::MakeDraw(14, {20, 2, 13, 4, 6, 15, 8, 10}),
        test::MakeDraw(15, {12, 14, 16, 18, 20, 1, 2, 3}),
    };
    stats::TStatList list;
    filters::TCombList combs;
    filters::TFilterHistory history;
    test::ScriptedShell sh;
    int refreshes = 0;

    Fixture()
    {
        list.SetDraws(&draws);
        list.BuildMethodList(TestKinds());
        combs.Init(16);
        combs.onListChanged = [this] { ++refreshes; };
        test::SetList(combs, {C1, C2, C3, C4, C5});
        combs.MakeUndoCopy(sh);
        sh.statusTexts.clear();
        test::RecordingStat::calls() = {};
        test::RecordingStat::failing() = false;
    }
    filters::TFilterScope scope(int offset = 0, bool sorted = false)
    {
        return {combs, history, draws, offset, sorted, sh};
    }
    static filters::TMarkedValues numbers(std::initializer_list<int> ns)
    {
        filters::TMarkedValues m;
        for (int n : ns) m.AddNumber(n);
        return m;
    }
};

TEST(FilterCombs, KeepsOrDeletesTheMatchingCombinationsInTheirOrder)
{
    struct Case {
        std::vector<int> marked;
        bool exclude;
        std::vector<TComb> left;
        THistoryRow row;
    };
    const std::vector<Case> cases = {
        {{3, 17}, false, {C4, C5}, {"Числа теста", "3; 17", "2", THistoryKind::Keep}},
        {{3, 17}, true, {C1, C2, C3}, {"Числа теста", "3; 17", "3", THistoryKind::Delete}},
        {{11, 1, 11}, false, {C1, C2, C4}, {"Числа теста", "11; 1", "3", THistoryKind::Keep}},
        // A value no combination shows: keep empties the list, delete leaves it whole.
        {{19}, false, {}, {"Числа теста", "19", "0", THistoryKind::Keep}},
        {{19}, true, {C1, C2, C3, C4, C5}, {"Числа теста", "19", "5", THistoryKind::Delete}},
    };
    for (const Case& c : cases) {
        Fixture f;
        filters::TMarkedValues marked;
        for (int n : c.marked) marked.AddNumber(n);
        const auto stat = f.list.CreateStat(0);
        EXPECT_TRUE(filters::FilterCombs(*stat, "Числа теста", marked, c.exclude, f.scope()));
        EXPECT_EQ(test::ListOf(f.combs), c.left) << c.row.Values;
        ASSERT_EQ(f.history.Count(), 1);
        EXPECT_EQ(f.history.Row(0), c.row);
        EXPECT_EQ(f.combs.UndoCount(), 5) << "the undo copy keeps the list before the filter";
        EXPECT_EQ(test::RecordingStat::calls().matchCombs, 1) << "one batch pass";
        EXPECT_EQ(test::RecordingStat::calls().combMatches, 0);
        EXPECT_EQ(test::RecordingStat::calls().spanSize, 5u);
        EXPECT_EQ(test::RecordingStat::calls().exclude, c.exclude);
        EXPECT_EQ(f.sh.statusTexts, (std::vector<std::string>{"Фильтрация комбинаций...", ""}));
        EXPECT_FALSE(f.sh.IsBusy());
        EXPECT_EQ(f.refreshes, 1);
    }
}

TEST(FilterCombs, NothingMarkedOrNothingToFilter)
{
    {
        Fixture f;
        test::SetList(f.combs, {C5});
        const auto stat = f.list.CreateStat(0);
        EXPECT_FALSE(filters::FilterCombs(*stat, "Числа теста", {}, false, f.scope()));
        EXPECT_EQ(test::ListOf(f.combs), (std::vector<TComb>{C5})) << "the list stays as it is";
        EXPECT_EQ(f.history.Count(), 0);
        EXPECT_EQ(test::RecordingStat::calls().matchCombs, 0);
        EXPECT_FALSE(f.sh.IsBusy());
    }
    {
        Fixture f;
        f.combs.DiscardUndoCopy();
        const auto stat = f.list.CreateStat(0);
        EXPECT_FALSE(filters::FilterCombs(*stat, "Числа теста", Fixture::numbers({3}), false, f.scope()));
        EXPECT_TRUE(f.combs.Empty()) << "rebuilt from an empty undo copy";
        EXPECT_EQ(f.history.Count(), 0);
        EXPECT_EQ(test::RecordingStat::calls().matchCombs, 0);
        EXPECT_EQ(f.refreshes, 1);
    }
}

TEST(FilterCombs, DynamicKindsSeeTheLatestDrawInUse)
{
    struct Case {
        int offset;
        bool sorted;
        int last;
        TComb ref;
    };
    const std::vector<Case> cases = {
        {0, false, 4, {12, 14, 16, 18, 20, 1, 2, 3}},
        {0, true, 4, {1, 2, 3, 12, 14, 16, 18, 20}},
        {2, false, 2, {19, 17, 1, 3, 5, 7, 9, 11}},
        {4, false, 0, {5, 1, 9, 3, 12, 7, 20, 15}},
        // An offset past the archive: the oldest draw.
        {9, true, 0, {1, 3, 5, 7, 9, 12, 15, 20}},
    };
    for (const Case& c : cases) {
        Fixture f;
        const auto stat = f.list.CreateStat(1);
        filters::FilterCombs(*stat, "Числа с опорным тиражом", Fixture::numbers({1}), true, f.scope(c.offset, c.sorted));
        const auto& calls = test::RecordingStat::calls();
        EXPECT_EQ(calls.lastIndex, c.last) << c.offset;
        EXPECT_EQ(calls.sorted, c.sorted);
        EXPECT_EQ(calls.refDraw.Nums, c.ref) << c.offset;
        EXPECT_EQ(filters::LatestDrawInUse(f.draws, c.offset), c.last);
    }
    EXPECT_EQ(filters::LatestDrawInUse({}, 0), 0);
}

TEST(FilterCombs, AFailureKeepsWhatWasRebuiltAndClearsTheBusyState)
{
    Fixture f;
    test::RecordingStat::failing() = true;
    const auto stat = f.list.CreateStat(0);
    try {
        filters::FilterCombs(*stat, "Числа теста", Fixture::numbers({3}), false, f.scope());
        FAIL() << "the failure must reach the caller";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Сбой проверки комбинации!");
    }
    EXPECT_TRUE(f.combs.Empty());
    EXPECT_EQ(f.combs.UndoCount(), 5) << "Undo can still bring the list back";
    EXPECT_EQ(f.history.Count(), 0);
    EXPECT_FALSE(f.sh.IsBusy());
    EXPECT_EQ(f.sh.statusTexts.back(), "");
    EXPECT_EQ(f.refreshes, 1) << "the list view shows the list as it was left";
}

TEST(FilterCombs, MarkedRowsFollowTheTableOrder)
{
    // NUMS over the fixture's draws: sorted by count descending, the rows run 1, 2, 3, 20 (three
    // times each), then 4, 5, ... (twice).
    Fixture f;
    f.list.BuildMethodList();
    const int nums = f.list.FindMethod("NUMS");
    ASSERT_GE(nums, 0);
    test::TempDir dir;
    const stats::TPrefetchCache cache(dir.path());
    stats::TStatTable table;
    stats::TStatTableRequest request;
    request.Method = nums;
    request.DrawsStatLen = 5;
    table.SortRows(1, false);
    table.Build(f.list, cache, request, f.sh, true);
    ASSERT_EQ(table.RowCount(), 20);
    ASSERT_EQ(table.CellText(0, 0), "1");
    ASSERT_EQ(table.CellText(3, 0), "20");

    const std::vector<int> selected{3, 0, 3, 99, -1};
    const filters::TMarkedValues marked = filters::MarkedRows(table, selected);
    EXPECT_EQ(marked.Text(), "1; 20");
    EXPECT_EQ(marked.Count(), 2);

    EXPECT_TRUE(filters::FilterCombs(f.list, nums, "{ num } Числа тиража [ N ]", marked, false, f.scope()));
    EXPECT_EQ(test::ListOf(f.combs), (std::vector<TComb>{C1}));
    EXPECT_EQ(f.history.Row(0), (THistoryRow{"{ num } Числа тиража [ N ]", "1; 20", "1", THistoryKind::Keep}));
}

// A repeated pass is answered from the memo with the list the pass itself made; once a method's
// first 32 kept passes were met again less than once in four, its new passes are no longer kept
// (and so not answered), while those kept before still are.
TEST(FilterMemo, RepeatsAreAnsweredUntilAMethodProvesNotToRepeat)
{
    Fixture f;
    f.combs.SetContentId(filters::TCombList::FullSetId);
    f.combs.MakeUndoCopy(f.sh);
    filters::TFilterMemo memo;
    filters::TFilterScope scope = f.scope();
    scope.Memo = &memo;
    const auto stat = f.list.CreateStat(0);
    // Returns the list the pass left and whether the kind was asked (no answer from the memo).
    const auto pass = [&](int number, bool exclude) {
        const int before = test::RecordingStat::calls().matchCombs;
        filters::FilterCombs(*stat, "Числа теста", Fixture::numbers({number}), exclude, scope);
        return std::make_pair(test::ListOf(f.combs), test::RecordingStat::calls().matchCombs != before);
    };
    const auto first = pass(1, false);
    EXPECT_TRUE(first.second);
    EXPECT_EQ(pass(1, false), std::make_pair(first.first, false));
    EXPECT_EQ(memo.Hits(), 1);

    // 31 more passes, none repeated: the trial ends with 1 hit for 32 kept passes.
    std::vector<std::pair<int, bool>> passes;
    for (int n = 2; n <= 20; ++n)
        for (bool exclude : {false, true}) passes.emplace_back(n, exclude);
    for (std::size_t i = 0; i < 31; ++i) EXPECT_TRUE(pass(passes[i].first, passes[i].second).second);
    const auto late = pass(passes[31].first, passes[31].second);
    EXPECT_TRUE(late.second);
    EXPECT_EQ(pass(passes[31].first, passes[31].second), std::make_pair(late.first, true)) << "not kept";
    const auto [n, exclude] = passes[30];
    std::vector<TComb> expected;
    for (const TComb& c : {C1, C2, C3, C4, C5})
        if ((std::find(c.begin(), c.end(), n) != c.end()) != exclude) expected.push_back(c);
    EXPECT_EQ(pass(n, exclude), std::make_pair(expected, false)) << "kept before the trial ended";
    EXPECT_EQ(memo.Hits(), 2);
}

// Passes are known by the list they ran over and the set of values: the same values in another
// order are the same pass, a pass that took nothing away leaves its input's name, and a list
// without a name is never answered.
TEST(FilterMemo, PassesAreKnownByTheirInputsNameAndTheSetOfValues)
{
    Fixture f;
    filters::TFilterMemo memo;
    filters::TFilterScope scope = f.scope();
    scope.Memo = &memo;
    const auto stat = f.list.CreateStat(0);
    const auto pass = [&](std::initializer_list<int> numbers, uint64_t input) {
        test::SetList(f.combs, {C1, C2, C3, C4, C5});
        f.combs.SetContentId(input);
        f.combs.MakeUndoCopy(f.sh);
        filters::FilterCombs(*stat, "Числа теста", Fixture::numbers(numbers), false, scope);
        return std::make_pair(test::ListOf(f.combs), f.combs.ContentId());
    };
    const auto first = pass({3, 9}, 5);
    EXPECT_NE(first.second, 0u);
    const auto swapped = pass({9, 3}, 5);
    EXPECT_EQ(swapped, first);
    EXPECT_EQ(memo.Hits(), 1);
    EXPECT_NE(pass({3, 9}, 6).second, first.second) << "another input, another name";
    EXPECT_EQ(pass({3, 9}, 0).second, 0u);
    EXPECT_EQ(memo.Hits(), 1);
    const auto everything = pass({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}, 5);
    EXPECT_EQ(everything.first, (std::vector<TComb>{C1, C2, C3, C4, C5}));
    EXPECT_EQ(everything.second, 5u);
}

// A list answered from the memo shares the kept list; when that entry later makes room for
// another pass, the list still shows what it was given.
TEST(FilterMemo, AListShowingAKeptPassKeepsItWhenTheEntryMakesRoom)
{
    Fixture f;
    filters::TFilterMemo memo;
    filters::TCombList keeper;
    keeper.Init(16);
    const auto stat = f.list.CreateStat(0);
    const auto pass = [&](filters::TCombList& combs, int number, uint64_t input) {
        test::SetList(combs, {C1, C2, C3, C4, C5});
        combs.SetContentId(input);
        combs.MakeUndoCopy(f.sh);
        const filters::TFilterScope scope{combs, f.history, f.draws, 0, false, f.sh, &memo};
        filters::FilterCombs(*stat, "Числа теста", Fixture::numbers({number}), false, scope);
        return test::ListOf(combs);
    };
    const std::vector<TComb> first = pass(f.combs, 1, 2);
    ASSERT_EQ(pass(keeper, 1, 2), first);
    ASSERT_EQ(memo.Hits(), 1);
    // 32 more kept passes, the first 8 met again so that the method keeps storing: the entry
    // the keeper shows is the least recently used one when the last pass needs room.
    for (uint64_t input = 3; input <= 34; ++input) {
        const std::vector<TComb> other = pass(f.combs, 2, input);
        ASSERT_NE(other, first);
        if (input <= 10) {
            ASSERT_EQ(pass(f.combs, 2, input), other);
        }
    }
    EXPECT_EQ(test::ListOf(keeper), first);
}

TEST(NumberFilter, GathersTheNumbersOfEachView)
{
    struct Case {
        filters::TNumberView view;
        std::vector<int> numbers;
        bool exclude;
        std::vector<TComb> left;
        THistoryRow row;
    };
    const std::vector<std::string> card{"", " 5", "  ", "12", "5"};
    const std::vector<std::string> layout{"3, [18]", "18", "", "[1]"};
    const std::vector<Case> cases = {
        {filters::TNumberView::Card, filters::CardCellNumbers(card), false, {C1, C2, C3, C4, C5},
         {"Карта", "5; 12", "5", THistoryKind::Keep}},
        {filters::TNumberView::Layout, filters::LayoutCellNumbers(layout), true, {C2, C3, C4},
         {"Схема", "3; 18; 1", "3", THistoryKind::Delete}},
        {filters::TNumberView::Week, {11}, false, {C2, C4}, {"Неделя", "11", "2", THistoryKind::Keep}},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.list.BuildMethodList();
        filters::NumberFilter(f.list, c.view, c.numbers, c.exclude, f.scope());
        EXPECT_EQ(test::ListOf(f.combs), c.left) << c.row.Caption;
        ASSERT_EQ(f.history.Count(), 1);
        EXPECT_EQ(f.history.Row(0), c.row);
    }
    // A registry without NUMS still filters by numbers.
    Fixture f;
    filters::NumberFilter(f.list, filters::TNumberView::Week, std::vector<int>{17}, false, f.scope());
    EXPECT_EQ(test::ListOf(f.combs), (std::vector<TComb>{C4, C5}));
}

TEST(NumberFilter, NothingMarkedFailsAfterTheUndoCopy)
{
    Fixture f;
    f.list.BuildMethodList();
    f.history.Append("Последние тиражи", "3", 5, THistoryKind::Delete);
    const std::vector<std::string> empty{"", " ", "\t"};
    for (const std::vector<int>& numbers : {filters::CardCellNumbers(empty), filters::LayoutCellNumbers(empty),
                                            std::vector<int>{}}) {
        try {
            filters::NumberFilter(f.list, filters::TNumberView::Card, numbers, false, f.scope());
            FAIL() << "nothing marked must be refused";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "В выделенном диапазоне нет значений для фильтра!");
        }
    }
    EXPECT_EQ(test::ListOf(f.combs), (std::vector<TComb>{C1, C2, C3, C4, C5}));
    EXPECT_EQ(f.history.Count(), 1);
    EXPECT_FALSE(f.sh.IsBusy());
    // The undo copy equals the list: Undo brings back nothing new.
    EXPECT_TRUE(f.combs.Undo(f.history, f.sh));
    EXPECT_EQ(test::ListOf(f.combs), (std::vector<TComb>{C1, C2, C3, C4, C5}));
}

TEST(NumberFilter, CellsThatAreNotNumbersAreRefused)
{
    struct Case {
        std::vector<std::string> cells;
        bool layout;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{"5", "x"}, false, "Некорректное целое число: \"x\"!"},
        {{"5, 7a"}, true, "Некорректное целое число: \" 7a\"!"},
        {{"[5] [6]"}, true, "Некорректное целое число: \"5 6\"!"},
    };
    for (const Case& c : cases) {
        try {
            c.layout ? filters::LayoutCellNumbers(c.cells) : filters::CardCellNumbers(c.cells);
            FAIL() << c.message;
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_EQ(filters::LayoutCellNumbers(std::vector<std::string>{"[20], 4,", ", 7"}), (std::vector<int>{20, 4, 7}));
    EXPECT_EQ(filters::CardCellNumbers(std::vector<std::string>{" 20 ", "$A"}), (std::vector<int>{20, 10}));
}

} // namespace

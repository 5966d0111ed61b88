#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <utility>

#include "core/archive/sample.h"
#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "core/filters/generate.h"
#include "core/game/numbers.h"
#include "tests/core/filters/combtest.h"
#include "tests/support/support.h"

using namespace kv;
using filters::THistoryKind;
using filters::THistoryRow;
using game::TComb;
using game::TCombsArray;

namespace {

const TComb A{1, 2, 3, 4, 5, 6, 7, 8};
const TComb B{2, 4, 6, 8, 10, 12, 14, 16};
const TComb C{13, 14, 15, 16, 17, 18, 19, 20};
const TComb D{20, 19, 18, 17, 16, 15, 14, 13};

TEST(FilterHistory, RowsAndNotifications)
{
    filters::TFilterHistory h;
    int changes = 0;
    h.onChanged = [&] { ++changes; };
    h.RemoveLast();   // nothing to remove: no crash
    h.Append("NUMS", "1; 2", 1234, THistoryKind::Keep);
    h.Append("Последние тиражи", "5", 0, THistoryKind::Delete);
    ASSERT_EQ(h.Count(), 2);
    EXPECT_EQ(h.Row(0), (THistoryRow{"NUMS", "1; 2", "1234", THistoryKind::Keep}));
    EXPECT_EQ(h.Row(1), (THistoryRow{"Последние тиражи", "5", "0", THistoryKind::Delete}));
    h.RemoveLast();
    ASSERT_EQ(h.Count(), 1);
    EXPECT_EQ(h.Row(0).Caption, "NUMS");
    h.Clear();
    EXPECT_EQ(h.Count(), 0);
    EXPECT_EQ(changes, 4) << "removing from an empty history changes nothing";
    EXPECT_STREQ(filters::TFilterHistory::ColumnCaptions[2], "Комбинаций");
}

TEST(CombList, CapacityIsReservedAndNeverGivenBack)
{
    filters::TCombList list;
    list.Init();
    EXPECT_GE(list.Items().capacity(), static_cast<std::size_t>(game::CombCount));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.BufferOffset(), -1);
    EXPECT_EQ(list.BufferDraws(), -1);
    const TComb* storage = list.Items().data();

    test::ScriptedShell sh;
    filters::TFilterHistory h;
    filters::GenerateCombs(true, {}, list, h, sh);
    EXPECT_EQ(list.Items().data(), storage) << "the full list fits the reserved storage";
    list.MakeUndoCopy(sh);
    const TComb* undoStorage = list.UndoCombs().data();
    EXPECT_NE(undoStorage, storage);
    list.Clear();
    list.RestoreUndoCopy(sh);
    // The copy's storage changes places with the list's: both were reserved, nothing is copied
    // or allocated.
    EXPECT_EQ(list.Items().data(), undoStorage);
    EXPECT_GE(list.Items().capacity(), static_cast<std::size_t>(game::CombCount));
    EXPECT_EQ(list.Count(), game::CombCount);
    EXPECT_EQ(list.UndoCount(), 0);

    // Lists beyond the game's size (files, the clipboard) grow the arrays.
    for (int i = 0; i < 10; ++i) list.Append(A);
    list.MakeUndoCopy(sh, false);
    EXPECT_EQ(list.UndoCount(), game::CombCount + 10);
    EXPECT_EQ(list.UndoCombs().back(), A);
}

TEST(CombList, ListContainsComparesBytesInOrder)
{
    filters::TCombList list;
    test::SetList(list, {A, D});
    EXPECT_TRUE(list.ListContains(A));
    EXPECT_TRUE(list.ListContains(D));
    EXPECT_FALSE(list.ListContains(C)) << "same numbers, other order";
    EXPECT_FALSE(list.ListContains(B));
    list.Clear();
    EXPECT_FALSE(list.ListContains(A));
}

TEST(CombList, UndoCopyStatusAndRestore)
{
    test::ScriptedShell sh;
    filters::TCombList list;
    int refreshes = 0;
    list.onListChanged = [&] { ++refreshes; };
    test::SetList(list, {A, B, C});

    list.MakeUndoCopy(sh, false);
    EXPECT_TRUE(sh.statusTexts.empty());
    list.MakeUndoCopy(sh);
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Создание файла отката...", ""}));
    EXPECT_TRUE(list.HasUndo());
    EXPECT_EQ(list.UndoCount(), 3);

    test::SetList(list, {D});
    sh.statusTexts.clear();
    list.RestoreUndoCopy(sh);
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Отмена изменений...", ""}));
    EXPECT_EQ(test::ListOf(list), (std::vector<TComb>{A, B, C}));
    EXPECT_FALSE(list.HasUndo());
    EXPECT_EQ(refreshes, 1);
    EXPECT_FALSE(sh.IsBusy());

    list.MakeUndoCopy(sh);
    list.DiscardUndoCopy();
    EXPECT_FALSE(list.HasUndo());
}

// The filter memo answers a list by its name alone, so every way of changing the list must
// forget the name, and the undo copy must carry the name of the list it holds.
TEST(CombList, AChangedListLosesItsNameAndTheUndoCopyKeepsIt)
{
    test::ScriptedShell sh;
    filters::TCombList list;
    filters::TFilterHistory history;
    filters::GenerateCombs(true, {}, list, history, sh);
    EXPECT_EQ(list.ContentId(), filters::TCombList::FullSetId) << "the full list is named";
    filters::GenerateCombs(true, {.Mode = filters::GenerateWithout, .Parameters = "1"}, list, history, sh);
    EXPECT_EQ(list.ContentId(), 0u) << "a partial list is not the full one";

    const std::vector<std::function<void(filters::TCombList&)>> changes = {
        [](filters::TCombList& l) { l.Items().pop_back(); },
        [](filters::TCombList& l) { l.Combs()[0] = D; },
        [](filters::TCombList& l) { l.Append(D); },
        [](filters::TCombList& l) { l.Clear(); },
        [](filters::TCombList& l) { l.Refill().push_back(D); },
        [](filters::TCombList& l) { l.KeepFromUndo([](const TComb&) { return true; }); },
        [&](filters::TCombList& l) { l.DeleteSelected({0}, history, sh); },
        [&](filters::TCombList& l) { l.RemoveLastDraws(1, {}, 0, history, sh); },
    };
    // A list of its own and one sharing content held elsewhere, which no change may touch; a
    // change of a shared list leaves what the same change of its own list leaves.
    const auto shared = std::make_shared<const TCombsArray>(TCombsArray{A, B, C});
    std::vector<std::vector<TComb>> changed(changes.size());
    for (const bool share : {false, true})
        for (std::size_t i = 0; i < changes.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "change " << i << (share ? ", shared" : ""));
            test::SetList(list, {A, B, C});
            list.SetContentId(7);
            if (share) list.Share(shared, 7);
            list.MakeUndoCopy(sh);
            EXPECT_EQ(list.UndoContentId(), 7u);
            changes[i](list);
            EXPECT_EQ(list.ContentId(), 0u);
            EXPECT_EQ(*shared, (TCombsArray{A, B, C}));
            if (share) EXPECT_EQ(test::ListOf(list), changed[i]);
            else changed[i] = test::ListOf(list);
            list.RestoreUndoCopy(sh);
            EXPECT_EQ(list.ContentId(), 7u);
            EXPECT_EQ(list.UndoContentId(), 0u);
            EXPECT_EQ(test::ListOf(list), (std::vector<TComb>{A, B, C}));
        }
    list.StoreCombsBuffer(3, 5, sh);
    list.Clear();
    ASSERT_TRUE(list.LoadCombsBuffer(3, 5, sh));
    EXPECT_EQ(list.ContentId(), 7u) << "the buffer keeps the name";
    list.MoveToUndo(sh);
    EXPECT_EQ(list.ContentId(), 0u);
    EXPECT_EQ(list.UndoContentId(), 7u);
    list.SetUndoSnapshot({A}, {});
    EXPECT_EQ(list.UndoContentId(), 0u);

    // Handed over, the content is the holder's and the list shows it under the new name.
    test::SetList(list, {A, B, C});
    const auto holder = std::make_shared<TCombsArray>(TCombsArray{D});
    list.HandOver(holder, 9);
    EXPECT_EQ(*holder, (TCombsArray{A, B, C}));
    EXPECT_TRUE(std::ranges::equal(std::as_const(list).Combs(), *holder));
    EXPECT_EQ(list.ContentId(), 9u);
}

TEST(CombList, UndoAfterDeleteRemovesTheRowOnlyOnce)
{
    test::ScriptedShell sh;
    filters::TFilterHistory h;
    filters::TCombList list;
    list.Init();
    test::SetList(list, {A, B, C, D, A});
    h.Append("NUMS", "3", 5, THistoryKind::Keep);

    list.MakeUndoCopy(sh);
    sh.statusTexts.clear();
    // Unsorted, repeated and outside rows: only rows 0 and 3 exist to be removed.
    list.DeleteSelected({3, 0, 3, 99, -1}, h, sh);
    EXPECT_EQ(test::ListOf(list), (std::vector<TComb>{B, C, A}));
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Удаление выделенных комбинаций...", ""}));
    ASSERT_EQ(h.Count(), 2);
    EXPECT_EQ(h.Row(1), (THistoryRow{"Выделенные комбинации", "2", "3", THistoryKind::Delete}));

    EXPECT_TRUE(list.Undo(h, sh));
    EXPECT_EQ(test::ListOf(list), (std::vector<TComb>{A, B, C, D, A}));
    ASSERT_EQ(h.Count(), 1);
    EXPECT_EQ(h.Row(0).Caption, "NUMS");
    EXPECT_FALSE(list.HasUndo());

    EXPECT_FALSE(list.Undo(h, sh)) << "one level of undo only";
    EXPECT_EQ(h.Count(), 1) << "the earlier row stays";
    EXPECT_EQ(list.Count(), 5);
    EXPECT_FALSE(sh.IsBusy());
}

TEST(CombList, CombsBufferLabels)
{
    test::ScriptedShell sh;
    filters::TCombList list;
    list.Init();
    EXPECT_FALSE(list.LoadCombsBuffer(-1, -1, sh)) << "an invalid buffer is empty";

    test::SetList(list, {A, B});
    list.StoreCombsBuffer(5, 2, sh);
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Создание буфера комбинаций...", ""}));
    EXPECT_EQ(list.BufferOffset(), 5);
    EXPECT_EQ(list.BufferDraws(), 2);
    EXPECT_EQ(list.BufferCount(), 2);

    // The same label does not copy again.
    test::SetList(list, {C});
    sh.statusTexts.clear();
    list.StoreCombsBuffer(5, 2, sh);
    EXPECT_TRUE(sh.statusTexts.empty());
    EXPECT_EQ(list.BufferCount(), 2);

    struct Case {
        int offset, n;
        bool loads;
    };
    for (const Case& c : {Case{5, 3, false}, Case{4, 2, false}, Case{-1, -1, false}, Case{2, 5, false},
                          Case{5, 2, true}}) {
        test::SetList(list, {C});
        EXPECT_EQ(list.LoadCombsBuffer(c.offset, c.n, sh), c.loads) << c.offset << "," << c.n;
        EXPECT_EQ(test::ListOf(list), (c.loads ? std::vector<TComb>{A, B} : std::vector<TComb>{C}));
    }

    sh.statusTexts.clear();
    EXPECT_TRUE(list.LoadCombsBuffer(5, 2, sh));
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Загрузка буфера комбинаций...", ""}));

    // Another label copies the current list; an empty buffer is never loaded.
    list.Clear();
    list.StoreCombsBuffer(6, 0, sh);
    EXPECT_EQ(list.BufferCount(), 0);
    test::SetList(list, {C});
    EXPECT_FALSE(list.LoadCombsBuffer(6, 0, sh));
    EXPECT_EQ(test::ListOf(list), std::vector<TComb>{C});

    list.StoreCombsBuffer(7, 1, sh);
    list.InvalidateCombsBuffer();
    EXPECT_EQ(list.BufferOffset(), -1);
    EXPECT_EQ(list.BufferDraws(), -1);
    EXPECT_EQ(list.BufferCount(), 0);
    EXPECT_FALSE(list.LoadCombsBuffer(7, 1, sh));
    EXPECT_TRUE(sh.messages.empty());
}

// Ten draws; `sorted` puts their numbers in ascending order, as generated combinations hold them.
game::TDrawsArray TenDraws(bool sorted)
{
    game::TDrawsArray draws = archive::SyntheticDraws(10, 77, 501);
    if (sorted)
        for (auto& d : draws) game::SortDrawNums(d);
    return draws;
}

TEST(CombList, RemoveLastDrawsWindow)
{
    struct Case {
        int n, offset;
        int first, last;   // archive indexes of the removed draws; first > last: none
    };
    const std::vector<Case> cases = {
        {3, 0, 7, 9}, {3, 2, 5, 7}, {100, 0, 0, 9}, {0, 0, 1, 0}, {5, 9, 0, 0},
        {5, 10, 1, 0},   // the offset hides the whole archive
        {1, 0, 9, 9},
    };
    test::ScriptedShell sh;
    filters::TCombList full;
    filters::TFilterHistory h;
    filters::GenerateCombs(false, {}, full, h, sh);

    for (bool sorted : {true, false}) {
        const game::TDrawsArray draws = TenDraws(sorted);
        std::set<TComb> drawn;
        for (const auto& d : draws) {
            TComb c = d.Nums;
            game::SortComb(c);
            drawn.insert(c);
        }
        ASSERT_EQ(drawn.size(), 10u) << "the sample must hold ten different draws";

        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "N=" << c.n << " offset=" << c.offset << " sorted=" << sorted);
            filters::TCombList list;
            list.Init();
            list.Items() = full.Items();
            filters::TFilterHistory hist;
            list.MakeUndoCopy(sh);
            list.RemoveLastDraws(c.n, draws, c.offset, hist, sh);

            const int removed = std::max(0, c.last - c.first + 1);
            EXPECT_EQ(list.Count(), game::CombCount - removed);
            for (int i = 0; i < 10; ++i) {
                TComb k = draws[i].Nums;
                game::SortComb(k);
                const bool inWindow = i >= c.first && i <= c.last;
                EXPECT_EQ(std::binary_search(list.Combs().begin(), list.Combs().end(), k), !inWindow) << "draw " << i;
            }
            EXPECT_TRUE(std::is_sorted(list.Combs().begin(), list.Combs().end())) << "order kept";
            ASSERT_EQ(hist.Count(), 1);
            EXPECT_EQ(hist.Row(0), (THistoryRow{"Последние тиражи", std::to_string(c.n),
                                                std::to_string(game::CombCount - removed), THistoryKind::Delete}));
        }
    }
    EXPECT_FALSE(sh.IsBusy());
    EXPECT_TRUE(sh.messages.empty());
}

TEST(CombList, RemoveLastDrawsProgressEveryPercent)
{
    test::ScriptedShell sh;
    filters::TFilterHistory h;
    filters::TCombList list;
    test::SetList(list, {A, B, C});
    list.MakeUndoCopy(sh, false);
    int refreshes = 0;
    list.onListChanged = [&] { ++refreshes; };
    list.RemoveLastDraws(2, {test::MakeDraw(1, B)}, 0, h, sh);
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{
                                  "Удаление из списка комбинаций 2 последних тиражей...",
                                  "Удаление из списка комбинаций 2 последних тиражей ( завершено 33 % )...",
                                  "Удаление из списка комбинаций 2 последних тиражей ( завершено 67 % )...",
                                  "Удаление из списка комбинаций 2 последних тиражей ( завершено 100 % )...",
                                  "",
                              }));
    EXPECT_EQ(test::ListOf(list), (std::vector<TComb>{A, C}));
    EXPECT_EQ(refreshes, 1);

    // A full list reports at most once per percent.
    filters::GenerateCombs(false, {}, list, h, sh);
    list.MakeUndoCopy(sh, false);
    sh.statusTexts.clear();
    list.RemoveLastDraws(1, {test::MakeDraw(1, A)}, 0, h, sh);
    const auto progress = std::count_if(sh.statusTexts.begin(), sh.statusTexts.end(),
                                        [](const std::string& s) { return s.find("завершено") != std::string::npos; });
    EXPECT_EQ(progress, 101);
    EXPECT_EQ(sh.statusTexts[sh.statusTexts.size() - 2],
              "Удаление из списка комбинаций 1 последних тиражей ( завершено 100 % )...");
    EXPECT_EQ(list.Count(), game::CombCount - 1);
    EXPECT_EQ(list[0], (TComb{1, 2, 3, 4, 5, 6, 7, 9}));
}

} // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>

#include "core/game/counting.h"
#include "core/filters/combfiles.h"
#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "core/filters/generate.h"
#include "core/util/files.h"
#include "tests/core/filters/combtest.h"
#include "tests/support/support.h"

using namespace kv;
using filters::THistoryKind;
using game::TComb;

namespace {

TEST(Generate, NumberSetFromParameters)
{
    struct Case {
        std::string text;
        std::vector<int> numbers;
        bool named;   // at least one number of the field was read
    };
    const std::vector<Case> cases = {
        {"1; 2, 25, x", {0, 1, 2, 25}, true},
        {"", {0}, false},
        {"20", {20}, true},
        {"255,256,-1,$FF", {255}, false},
        {" 3 ;; 7 ", {0, 3, 7}, true},
        {"1 2", {0}, false},
        {"1 3 5 7 9 11 13 15 17 19", {0}, false},
        {"21;0", {0, 21}, false},
    };
    for (const Case& c : cases) {
        const filters::TGenerateNumbers set = filters::ParseGenerateNumbers(c.text);
        std::vector<int> got;
        for (int v = 0; v < 256; ++v)
            if (set.test(static_cast<std::size_t>(v))) got.push_back(v);
        EXPECT_EQ(got, c.numbers) << "\"" << c.text << "\"";
        EXPECT_EQ(filters::NamesFieldNumbers(c.text), c.named) << "\"" << c.text << "\"";
    }
}

TEST(Generate, Modes)
{
    struct Case {
        int mode;
        std::string params;
        int count;
        TComb first, last;
    };
    const TComb none{};
    const std::vector<Case> cases = {
        {0, "", 125970, {1, 2, 3, 4, 5, 6, 7, 8}, {13, 14, 15, 16, 17, 18, 19, 20}},
        {0, "1,2,3", 125970, {1, 2, 3, 4, 5, 6, 7, 8}, {13, 14, 15, 16, 17, 18, 19, 20}},
        {9, "1", 125970, {1, 2, 3, 4, 5, 6, 7, 8}, {13, 14, 15, 16, 17, 18, 19, 20}},
        {1, "1", 50388, {1, 2, 3, 4, 5, 6, 7, 8}, {1, 14, 15, 16, 17, 18, 19, 20}},
        {3, "1", 75582, {2, 3, 4, 5, 6, 7, 8, 9}, {13, 14, 15, 16, 17, 18, 19, 20}},
        {1, "20", 50388, {1, 2, 3, 4, 5, 6, 7, 20}, {13, 14, 15, 16, 17, 18, 19, 20}},
        {2, "1,2,3,4,5,6,7,8,9,10", 45, {1, 2, 3, 4, 5, 6, 7, 8}, {3, 4, 5, 6, 7, 8, 9, 10}},
        {2, "20;13;14;15;16;17;18;19", 1, {13, 14, 15, 16, 17, 18, 19, 20}, {13, 14, 15, 16, 17, 18, 19, 20}},
        {2, "1,2,3,4,5,6,7", 0, none, none},
        {1, "", 0, none, none},
        {1, "abc", 0, none, none},
        {1, "0, 21, 255, 300", 0, none, none},
        {3, "", 125970, {1, 2, 3, 4, 5, 6, 7, 8}, {13, 14, 15, 16, 17, 18, 19, 20}},
        {3, "abc", 125970, {1, 2, 3, 4, 5, 6, 7, 8}, {13, 14, 15, 16, 17, 18, 19, 20}},
        // 25 is in the set but never drawn, x reads as 0: only 1 and 2 count.
        {1, "1; 2, 25, x", 125970 - 43758, {1, 2, 3, 4, 5, 6, 7, 8}, {2, 14, 15, 16, 17, 18, 19, 20}},
        {2, "1; 2, 25, x", 0, none, none},
        {3, "1; 2, 25, x", 43758, {3, 4, 5, 6, 7, 8, 9, 10}, {13, 14, 15, 16, 17, 18, 19, 20}},
    };
    filters::TCombList list;
    list.Init();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " \"" << c.params << "\"");
        test::ScriptedShell sh;
        filters::TFilterHistory h;
        EXPECT_TRUE(filters::GenerateCombs(false, {static_cast<uint8_t>(c.mode), c.params}, list, h, sh));
        ASSERT_EQ(list.Count(), c.count);
        if (c.count == 0) continue;
        EXPECT_EQ(list[0], c.first);
        EXPECT_EQ(list[c.count - 1], c.last);
        // Strictly increasing both within each combination and from one to the next.
        for (const TComb& comb : list.Combs())
            ASSERT_TRUE(std::adjacent_find(comb.begin(), comb.end(), std::greater_equal<>()) == comb.end());
        EXPECT_TRUE(std::adjacent_find(list.Combs().begin(), list.Combs().end(), std::greater_equal<>()) ==
                    list.Combs().end());
        EXPECT_TRUE(sh.messages.empty());
    }
}

TEST(Generate, ModesOneAndThreeSplitTheFullList)
{
    test::ScriptedShell sh;
    filters::TFilterHistory h;
    filters::TCombList with, without, all;
    filters::GenerateCombs(false, {filters::GenerateWithAny, "4;9;17"}, with, h, sh);
    filters::GenerateCombs(false, {filters::GenerateWithout, "4;9;17"}, without, h, sh);
    filters::GenerateCombs(false, {}, all, h, sh);
    ASSERT_EQ(with.Count() + without.Count(), game::CombCount);
    game::TCombsArray merged;
    std::merge(with.Combs().begin(), with.Combs().end(), without.Combs().begin(), without.Combs().end(),
               std::back_inserter(merged));
    EXPECT_EQ(merged, all.Items());
}

TEST(Generate, EnumerateAllCombsFillsTheGivenStorage)
{
    game::TCombsArray out(200000, TComb{9, 9, 9, 9, 9, 9, 9, 9});
    const TComb* storage = out.data();
    game::EnumerateAllCombs(out);
    EXPECT_EQ(out.size(), static_cast<std::size_t>(game::CombCount));
    EXPECT_EQ(out.data(), storage);
    EXPECT_EQ(out[1], (TComb{1, 2, 3, 4, 5, 6, 7, 9}));
    EXPECT_EQ(out[13], (TComb{1, 2, 3, 4, 5, 6, 8, 9}));

    test::ScriptedShell sh;
    filters::TFilterHistory h;
    filters::TCombList list;
    filters::GenerateCombs(false, {filters::GenerateWithout, ""}, list, h, sh);
    EXPECT_EQ(list.Items(), out) << "the fast path and the filtered path enumerate alike";
}

struct Prepared {
    test::ScriptedShell sh;
    filters::TCombList list;
    filters::TFilterHistory h;
    int refreshes = 0;

    Prepared()
    {
        list.Init();
        test::SetList(list, {TComb{1, 2, 3, 4, 5, 6, 7, 8}});
        list.MakeUndoCopy(sh, false);
        list.StoreCombsBuffer(0, 3, sh);
        h.Append("NUMS", "1", 1, THistoryKind::Keep);
        sh.statusTexts.clear();
        list.onListChanged = [this] { ++refreshes; };
    }
};

TEST(Generate, InteractiveStartsAfresh)
{
    Prepared p;
    ASSERT_TRUE(filters::GenerateCombs(true, {filters::GenerateOnlyFrom, "1,2,3,4,5,6,7,8,9"}, p.list, p.h, p.sh));
    EXPECT_EQ(p.list.Count(), 9);
    EXPECT_FALSE(p.list.HasUndo()) << "Undo is disabled";
    EXPECT_EQ(p.h.Count(), 0);
    EXPECT_EQ(p.list.BufferCount(), 0);
    EXPECT_EQ(p.list.BufferOffset(), -1);
    EXPECT_EQ(p.list.BufferDraws(), -1);
    EXPECT_EQ(p.refreshes, 1);
    EXPECT_EQ(p.sh.statusTexts, (std::vector<std::string>{"Генерация возможных комбинаций...", ""}));
    EXPECT_FALSE(p.sh.IsBusy());
}

TEST(Generate, NonInteractiveTouchesOnlyTheList)
{
    Prepared p;
    ASSERT_TRUE(filters::GenerateCombs(false, {}, p.list, p.h, p.sh));
    EXPECT_EQ(p.list.Count(), game::CombCount);
    EXPECT_TRUE(p.list.HasUndo());
    EXPECT_EQ(p.h.Count(), 1);
    EXPECT_EQ(p.list.BufferCount(), 1);
    EXPECT_EQ(p.list.BufferDraws(), 3);
    EXPECT_EQ(p.refreshes, 0);
    EXPECT_TRUE(p.sh.statusTexts.empty());
}

TEST(Generate, FromFile)
{
    test::TempDir dir;
    const auto file = dir / "mine.lcv";
    test::WriteBytes(file, "20;19;18;17;16;15;14;13\r\n1;2;3;4;5;6;7\r\n1;2;3;4;5;6;7;8\r\n");
    {
        Prepared p;
        ASSERT_TRUE(filters::GenerateCombs(true, {filters::GenerateFromFile, file.string()}, p.list, p.h, p.sh));
        EXPECT_EQ(test::ListOf(p.list),
                  (std::vector<TComb>{{20, 19, 18, 17, 16, 15, 14, 13}, {1, 2, 3, 4, 5, 6, 7, 8}}));
        EXPECT_EQ(p.h.Count(), 0);
        EXPECT_FALSE(p.list.HasUndo());
    }
    {
        Prepared p;
        const auto missing = dir / "missing.lcv";
        EXPECT_FALSE(filters::GenerateCombs(true, {filters::GenerateFromFile, missing.string()}, p.list, p.h, p.sh));
        EXPECT_EQ(p.list.Count(), 0);
        ASSERT_EQ(p.sh.messages.size(), 1u);
        EXPECT_EQ(p.sh.messages[0].text, "Ошибка чтения файла \"" + missing.string() +
                                             "\"!\n\nНе удалось открыть файл \"" + missing.string() +
                                             "\": " + util::ErrnoText(ENOENT));
        EXPECT_EQ(p.h.Count(), 0) << "the new (empty) list still starts afresh";
        EXPECT_FALSE(p.list.HasUndo());
        EXPECT_FALSE(p.sh.IsBusy());
    }
}

} // namespace

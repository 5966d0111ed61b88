#include <gtest/gtest.h>

#include <cerrno>

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

const TComb A{1, 2, 3, 4, 5, 6, 7, 8};
const TComb B{2, 4, 6, 8, 10, 12, 14, 16};
const TComb D{20, 19, 18, 17, 16, 15, 14, 13};

std::string ReadFailure(const std::filesystem::path& p)
{
    return "Ошибка чтения файла \"" + p.string() + "\"!\n\nНе удалось открыть файл \"" + p.string() + "\": " +
           util::ErrnoText(ENOENT);
}

TEST(CombFile, WrittenBytesAndReadBack)
{
    test::TempDir dir;
    test::ScriptedShell sh;
    const auto file = dir / "list.lcv";
    const std::vector<TComb> combs = {A, D, TComb{0, 255, 100, 9, 10, 99, 1, 1}};
    ASSERT_TRUE(filters::SaveCombFile(file, combs, sh));
    EXPECT_EQ(test::ReadBytes(file), "1;2;3;4;5;6;7;8\r\n20;19;18;17;16;15;14;13\r\n0;255;100;9;10;99;1;1\r\n");
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Сохранение файла \"" + file.string() + "\"...", ""}));

    filters::TCombList list;
    ASSERT_TRUE(filters::ReadCombFile(file, list, sh));
    EXPECT_EQ(test::ListOf(list), combs) << "kept as written: not sorted, not range-checked";
    EXPECT_TRUE(sh.messages.empty());

    EXPECT_EQ(filters::CombFileBytes({}), "");
}

TEST(CombFile, LineRules)
{
    struct Case {
        std::string bytes;
        game::TCombsArray combs;
    };
    const std::vector<Case> cases = {
        {"1;2;3;4;5;6;7\r\n", {}},
        {"20;19;18;17;16;15;14;13", {D}},
        {"1,2,3,4,5,6,7,8\r\n", {A}},
        {" 1 ; 2;3\t;4;5;6;7; 8 \r\n", {A}},
        {"1;2,3;4,5;6,7;8\n\n\r\n2;4;6;8;10;12;14;16\r", {A, B}},
        {"1;2;3;4;5;6;7;8;\r\n", {}},          // a trailing separator makes a ninth word
        {"1;2;3;4;5;6;7;8;9\r\n", {}},
        {";2;3;4;5;6;7;8\r\n", {TComb{0, 2, 3, 4, 5, 6, 7, 8}}},
        {"x;2;3;4;5;6;7;1.5\r\n", {TComb{0, 2, 3, 4, 5, 6, 7, 0}}},
        {"300;-1;3;4;5;6;7;$10\r\n", {TComb{0, 0, 3, 4, 5, 6, 7, 16}}},
        {"1;1;1;1;1;1;1;1\r\n", {TComb{1, 1, 1, 1, 1, 1, 1, 1}}},
        {"1;2;3;4;5;6;7;8\r\nbad line\r\n1 2 3 4 5 6 7 8\r\n2;4;6;8;10;12;14;16\r\n", {A, B}},
        {"\xc0\xc1;2;3;4;5;6;7;8\r\n", {TComb{0, 2, 3, 4, 5, 6, 7, 8}}},
        {"", {}},
        {"\r\n\r\n", {}},
    };
    for (const Case& c : cases) {
        game::TCombsArray out;
        filters::ParseCombFileBytes(c.bytes, out);
        EXPECT_EQ(out, c.combs) << "\"" << c.bytes << "\"";
    }
}

TEST(CombFile, LargeFilesGrowTheListAndSurviveReadBoundaries)
{
    test::TempDir dir;
    test::ScriptedShell sh;
    filters::TCombList list;
    list.Init();
    filters::TFilterHistory h;
    filters::GenerateCombs(false, {}, list, h, sh);
    game::TCombsArray expected = list.Items();
    for (int i = 0; i < 5; ++i) expected.push_back(D);

    // Lines of varying length split anywhere by the read buffer; more lines than the capacity.
    const auto file = dir / "big.lcv";
    test::WriteBytes(file, filters::CombFileBytes(expected));
    ASSERT_TRUE(filters::ReadCombFile(file, list, sh));
    EXPECT_EQ(list.Items(), expected);

    // Lines of 17 bytes put a CR at the end of the first MiB and its LF at the start of the next.
    const auto even = dir / "even.lcv";
    std::string bytes;
    for (int i = 0; i < 70000; ++i) bytes += "1;2;3;4;5;6;7;8\r\n";
    ASSERT_EQ(bytes.substr((1 << 20) - 2, 2), "8\r");
    test::WriteBytes(even, bytes);
    ASSERT_TRUE(filters::ReadCombFile(even, list, sh));
    EXPECT_EQ(list.Count(), 70000);
    EXPECT_EQ(list.Items().back(), A);
    EXPECT_TRUE(sh.messages.empty());
}

TEST(CombFile, ReadFailureMessage)
{
    test::TempDir dir;
    test::ScriptedShell sh;
    filters::TCombList list;
    test::SetList(list, {A, B});
    const auto missing = dir / "missing.lcv";
    EXPECT_FALSE(filters::ReadCombFile(missing, list, sh));
    ASSERT_EQ(sh.messages.size(), 1u);
    EXPECT_EQ(sh.messages[0].kind, shell::MessageKind::Error);
    EXPECT_EQ(sh.messages[0].text, ReadFailure(missing));
    EXPECT_EQ(list.Count(), 0) << "reading starts a new list; nothing was read";
}

TEST(CombFile, OpenCommand)
{
    struct Case {
        bool exists;
        std::vector<TComb> expected;
    };
    for (const Case& c : {Case{true, {B, D}}, Case{false, {A, B}}}) {
        SCOPED_TRACE(c.exists);
        test::TempDir dir;
        test::ScriptedShell sh;
        const auto file = dir / "open.lcv";
        if (c.exists) test::WriteBytes(file, "2;4;6;8;10;12;14;16\r\n1;2;3\r\n20;19;18;17;16;15;14;13\r\n");
        filters::TCombList list;
        filters::TFilterHistory h;
        int refreshes = 0;
        list.onListChanged = [&] { ++refreshes; };
        test::SetList(list, {A, B});
        h.Append("NUMS", "1", 2, THistoryKind::Keep);

        EXPECT_EQ(filters::OpenCombFile(file, list, h, sh), c.exists);
        EXPECT_EQ(test::ListOf(list), c.expected);
        EXPECT_FALSE(list.HasUndo());
        EXPECT_EQ(h.Count(), 0) << "cleared in every case";
        EXPECT_GE(refreshes, 1);
        EXPECT_FALSE(sh.IsBusy());
        if (c.exists) {
            EXPECT_TRUE(sh.messages.empty());
            EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Создание файла отката...", "",
                                                                 "Загрузка файла \"" + file.string() + "\"...", ""}));
        } else {
            ASSERT_EQ(sh.messages.size(), 1u);
            EXPECT_EQ(sh.messages[0].text, ReadFailure(file));
        }
    }
}

TEST(CombFile, SaveFailureKeepsTheOldFile)
{
    test::TempDir dir;
    test::ScriptedShell sh;
    const auto nowhere = dir / "no-such-dir" / "list.lcv";
    EXPECT_FALSE(filters::SaveCombFile(nowhere, std::vector<TComb>{A}, sh));
    ASSERT_EQ(sh.messages.size(), 1u);
    EXPECT_EQ(sh.messages[0].text, "Ошибка записи в файл \"" + nowhere.string() + "\"!\n\nНе удалось открыть файл \"" +
                                       nowhere.string() + "\": " + util::ErrnoText(ENOENT));
    EXPECT_FALSE(sh.IsBusy());
}

TEST(Clipboard, CopyText)
{
    const std::vector<TComb> combs = {A, B, D};
    struct Case {
        std::vector<int> rows;
        std::string text;
    };
    const std::vector<Case> cases = {
        {{}, ""},
        {{0}, "01 02 03 04 05 06 07 08\r\n"},
        {{2, 0}, "01 02 03 04 05 06 07 08\r\n20 19 18 17 16 15 14 13\r\n"},
        {{1, 1, 5, -1}, "02 04 06 08 10 12 14 16\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(filters::CombsClipboardText(combs, c.rows), c.text);

    test::ScriptedShell sh;
    filters::TCombList list;
    test::SetList(list, combs);
    EXPECT_EQ(filters::CopyCombs(list, {1}, sh), "02 04 06 08 10 12 14 16\r\n");
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Подождите пожалуйста...", ""}));
}

TEST(Clipboard, Paste)
{
    struct Case {
        std::string text;
        bool replaced;
        std::vector<TComb> list;   // after the paste
        std::string message;       // empty: none
    };
    const std::vector<Case> cases = {
        {"01 02 03 04 05 06 07 08\r\n20 19 18 17 16 15 14 13\r\n", true, {A, D}, ""},
        {"1-2-3-4-5-6-7-8\n2,4,6,8,10,12,14,16\r\n\r\n", true, {A, B}, ""},
        {"\t1|2|3|4|5|6|7|8 ", true, {A}, ""},
        {"01 02 03 04 05 06 07 08\r\n1 2 3\r\n02 04 06 08 10 12 14 16\r\n", false, {B, B, B},
         "Некорректная комбинация: \"1 2 3\"!"},
        {"1 2 3 4 5 6 7 8 9", false, {B, B, B}, "Некорректная комбинация: \"1 2 3 4 5 6 7 8 9\"!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        test::ScriptedShell sh;
        filters::TCombList list;
        filters::TFilterHistory h;
        test::SetList(list, {B, B, B});
        list.MakeUndoCopy(sh, false);
        h.Append("NUMS", "1", 3, THistoryKind::Keep);

        EXPECT_EQ(filters::PasteCombs(c.text, list, h, sh), c.replaced);
        EXPECT_EQ(test::ListOf(list), c.list);
        EXPECT_FALSE(list.HasUndo()) << "Undo is disabled after any paste";
        EXPECT_EQ(h.Count(), c.replaced ? 0 : 1);
        if (c.message.empty()) {
            EXPECT_TRUE(sh.messages.empty());
        } else {
            ASSERT_EQ(sh.messages.size(), 1u);
            EXPECT_EQ(sh.messages[0].kind, shell::MessageKind::Error);
            EXPECT_EQ(sh.messages[0].text, c.message);
        }
        EXPECT_FALSE(sh.IsBusy());
    }
}

TEST(Clipboard, EmptyTextChangesNothing)
{
    for (const std::string text : {"", "\r\n", " \r\n\t\n"}) {
        test::ScriptedShell sh;
        filters::TCombList list;
        filters::TFilterHistory h;
        test::SetList(list, {A});
        list.MakeUndoCopy(sh, false);
        h.Append("NUMS", "1", 1, THistoryKind::Keep);
        EXPECT_FALSE(filters::PasteCombs(text, list, h, sh));
        EXPECT_EQ(test::ListOf(list), std::vector<TComb>{A});
        EXPECT_TRUE(list.HasUndo());
        EXPECT_EQ(h.Count(), 1);
        EXPECT_TRUE(sh.messages.empty());
    }
}

TEST(Clipboard, CopyPasteRoundTrip)
{
    test::ScriptedShell sh;
    filters::TCombList list;
    filters::TFilterHistory h;
    filters::GenerateCombs(false, {filters::GenerateOnlyFrom, "1,3,5,7,9,11,13,15,17,19"}, list, h, sh);
    std::vector<int> rows(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) rows[static_cast<std::size_t>(i)] = list.Count() - 1 - i;
    const auto before = test::ListOf(list);
    const std::string text = filters::CombsClipboardText(list.Combs(), rows);
    list.Clear();
    ASSERT_TRUE(filters::PasteCombs(text, list, h, sh));
    EXPECT_EQ(test::ListOf(list), before);
    EXPECT_EQ(list.Count(), 45);
}

} // namespace

#include <gtest/gtest.h>

#include "core/archive/archive.h"
#include "core/archive/drawedit.h"
#include "core/archive/sample.h"
#include "core/game/game.h"
#include "core/util/cp1251.h"
#include "tests/support/support.h"

#include <filesystem>

using namespace kv;
using game::TDraw;

TEST(DrawDialog, NumbersFieldRules)
{
    struct Case { const char* text; bool ok; game::TComb nums; int extra; };
    const Case cases[] = {
        {"5,1;20;7 ; 3;9;11;2;4", true, {5, 1, 20, 7, 3, 9, 11, 2}, 4},
        {"1;2;3;4;5;6;7;8;1", true, {1, 2, 3, 4, 5, 6, 7, 8}, 1},
        {";;1;2;3;4;5;6;7;8;;4;", true, {1, 2, 3, 4, 5, 6, 7, 8}, 4},   // runs count as one
        {"1;2;3;4;5;6;7;7;1", false, {}, 0},     // repeated number
        {"0;2;3;4;5;6;7;8;1", false, {}, 0},     // 0
        {"21;2;3;4;5;6;7;8;1", false, {}, 0},    // 21
        {"1;2;3;4;5;6;7;8", false, {}, 0},       // no extra number
        {"1;2;3;4;5;6;7;8;5", false, {}, 0},     // extra 5
        {"1;2;3;4;5;6;7;8;0", false, {}, 0},     // extra 0
        {"1;2;3;4;5;6;7;8;1;2", false, {}, 0},   // a tenth word
        {"1;2;3;4;5;6;7;x;1", false, {}, 0},     // not a number reads as 0
        {"0;0;0;0;0;0;0;0;0", false, {}, 0},     // the new-draw template
        {"", false, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        game::TComb nums{9, 9, 9, 9, 9, 9, 9, 9};
        uint8_t extra = 9;
        EXPECT_EQ(archive::ParseDrawNumbers(c.text, nums, extra), c.ok);
        if (c.ok) {
            EXPECT_EQ(nums, c.nums);
            EXPECT_EQ(extra, c.extra);
        } else {
            EXPECT_EQ(nums, (game::TComb{9, 9, 9, 9, 9, 9, 9, 9})) << "a refused text must not change the result";
        }
    }
}

TEST(DrawDialog, RecordFromFields)
{
    TDraw d;
    d.DrawNo = 17;
    d.Nums = {3, 7, 1, 15, 9, 20, 11, 4};
    d.Extra = 2;
    EXPECT_EQ(archive::DrawNumbersText(d), "3;7;1;15;9;20;11;4;2");
    EXPECT_EQ(archive::DrawNumbersText(TDraw{}), "0;0;0;0;0;0;0;0;0");

    // The date field's day with the time field's time of day.
    const game::TDateTime date = game::EncodeDateTime(2021, 3, 12, 23, 59, 0);
    const game::TDateTime time = game::EncodeDateTime(1999, 1, 1, 10, 5, 0);
    const TDraw made = archive::MakeDialogDraw(1024, d.Nums, 2, date, time);
    EXPECT_EQ(made.DrawNo, 1024);
    EXPECT_EQ(made.Nums, d.Nums);
    EXPECT_EQ(made.Extra, 2);
    EXPECT_EQ(made.DateText(), "12.03.2021 10:05");
}

TEST(DrawsText, SplitLine)
{
    struct Case { const char* line; std::vector<std::string> fields; };
    const Case cases[] = {
        {"1024;\"12.03.2021 10:05\";3;7", {"1024", "12.03.2021 10:05", "3", "7"}},
        {"1;12.03.2021 10:05;3", {"1", "12.03.2021", "10:05", "3"}},
        {"  1 ;\t2;  3  ", {"1", "2", "3"}},
        {"1;;3", {"1", "", "3"}},
        {"1;2;", {"1", "2", ""}},
        {";1", {"", "1"}},
        {"\"a\"\"b\";\"\"", {"a\"b", ""}},
        {"\"unclosed;2", {"unclosed;2"}},
        {"   ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(archive::SplitDrawsLine(c.line), c.fields);
    }
}

TEST(DrawsText, ExportLineIsExact)
{
    TDraw d;
    d.DrawNo = 1024;
    d.Nums = {3, 7, 1, 15, 9, 20, 11, 4};
    d.Extra = 2;
    d.SetDateText("12.03.2021 10:05");
    TDraw q = d;
    q.DrawNo = 1025;
    q.SetDateText("12.03.2021\"10:05");
    // Only what the import reads back is written: a date that is no date, or one holding a line
    // break, is left out and counted.
    TDraw free = d;
    free.SetDateText("ночной тираж");
    TDraw broken = d;
    broken.SetDateText("12.03.2021\n10:05");
    int skipped = 0;
    EXPECT_EQ(archive::ExportDrawsText({d, free, q, broken}, &skipped),
              "1024;\"12.03.2021 10:05\";3;7;1;15;9;20;11;4;2\r\n"
              "1025;\"12.03.2021\"\"10:05\";3;7;1;15;9;20;11;4;2\r\n");
    EXPECT_EQ(skipped, 2);
    EXPECT_EQ(archive::ExportDrawsText({}), "");
}

TEST(DrawsText, ImportRules)
{
    game::TDrawsArray draws = archive::SyntheticDraws(500, 5);
    const std::string text =
        "\"01.01.2030 10:00\";1;2;3;4;5;6;7;8;3\r\n"      // 10 fields: number 501
        "\r\n"
        "   \n"
        "\"02.01.2030 10:00\";1;2;3;4;5;6;7;8;3\n"        // 10 fields again: number 502
        "600;01.01.2030 10:00;1;2;3;4;5;6;7;8;3\n"        // unquoted date and time: 12 fields
        "650;\"03.01.2030\";1;2;3;4;5;6;7;8;1";          // a date without a time
    EXPECT_EQ(archive::ImportDrawsText(draws, text), 3);
    ASSERT_EQ(draws.size(), 503u);
    EXPECT_EQ(draws[500].DrawNo, 501);
    EXPECT_EQ(draws[500].DateText(), "01.01.2030 10:00");
    EXPECT_EQ(draws[501].DrawNo, 502);
    EXPECT_EQ(draws[502].DrawNo, 650);

    // A 10-field line is refused when the number it would get (count + 1) exists already.
    game::TDrawsArray small = archive::SyntheticDraws(3, 1);
    small[2].DrawNo = 4;
    EXPECT_EQ(archive::ImportDrawsText(small, "\"01.01.2030\";1;2;3;4;5;6;7;8;1"), 0);
    EXPECT_EQ(small.size(), 3u);
}

TEST(DrawsText, InvalidLinesAreRefusedWithTheirLineNumbers)
{
    const game::TDrawsArray archive = archive::SyntheticDraws(3, 1);
    const std::string text =
        util::Cp1251ToUtf8(test::ReadBytes(std::filesystem::path(KV_TEST_DATA) / "broken" / "draws-invalid.csv"));
    const archive::TDrawsImport import = archive::ParseDrawsText(archive, text);
    ASSERT_EQ(import.Draws.size(), 1u);
    EXPECT_EQ(import.Draws[0].DrawNo, 2005);
    EXPECT_EQ(import.Refused, 11);
    EXPECT_EQ(archive::DrawsImportReport(import),
              "Отклонено строк: 11.\n"
              "строка 1: числа вне диапазона 1..20\n"
              "строка 2: дополнительное число вне диапазона 1..4\n"
              "строка 4: тираж № 2005 уже есть в архиве\n"
              "строка 5: некорректная дата\n"
              "строка 6: повторяющиеся числа\n"
              "строка 8: номер тиража вне диапазона 1..999999999\n"
              "строка 9: тираж № 3 уже есть в архиве\n"
              "строка 10: ожидается 10 или 11 полей, прочитано 2\n"
              "строка 11: ожидается 10 или 11 полей, прочитано 2\n"
              "строка 12: ожидается 10 или 11 полей, прочитано 2\n"
              "... и еще 1.");
}

TEST(DrawsText, ExportThenImportReproducesTheArchive)
{
    const game::TDrawsArray original = archive::SyntheticDraws(300, 11);
    game::TDrawsArray copy;
    EXPECT_EQ(archive::ImportDrawsText(copy, archive::ExportDrawsText(original)), 300);
    EXPECT_EQ(copy, original);
}

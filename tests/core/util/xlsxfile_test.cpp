#include <gtest/gtest.h>

#include <filesystem>

#include "core/util/error.h"
#include "core/util/sheet.h"
#include "core/util/xlsxfile.h"
#include "tests/support/support.h"
#include "tests/support/xlsxread.h"

using namespace kv;
namespace fs = std::filesystem;

TEST(ShownNumber, ReadsWhatListsShow)
{
    struct Case {
        const char* text;
        bool number;
        double value;
        const char* format;
    };
    const Case cases[] = {
        {"12", true, 12, "0"},           {"-3", true, -3, "0"},
        {"+4", true, 4, "+0;-0;0"},      {"2,50", true, 2.5, "0.00"},
        {"2.50", true, 2.5, "0.00"},     {"14.792%", true, 0.14792, "0.000%"},
        {"05", true, 5, "00"},           {"0", true, 0, "0"},
        {"0,5", true, 0.5, "0.0"},       {"", false, 0, ""},
        {"-", false, 0, ""},             {"+", false, 0, ""},
        {"1 234", false, 0, ""},         {"1e5", false, 0, ""},
        {"3;5;7", false, 0, ""},         {"12.", false, 0, ""},
        {".5", false, 0, ""},            {"1234567890123456", false, 0, ""},
        {"Чётные", false, 0, ""},        {"%", false, 0, ""},
    };
    for (const Case& c : cases) {
        const auto n = util::ParseShownNumber(c.text);
        ASSERT_EQ(n.has_value(), c.number) << c.text;
        if (!n) continue;
        EXPECT_DOUBLE_EQ(n->Value, c.value) << c.text;
        EXPECT_EQ(n->NumFormat, c.format) << c.text;
    }
}

TEST(ShownNumber, DatesAreTheSpreadsheetsDayNumbers)
{
    const struct {
        const char* text;
        double serial;   // 0: not a date
        const char* format;
    } cases[] = {
        {"01.02.2024 10:00", 45323 + 10.0 / 24, "dd.mm.yyyy hh:mm"},
        {"29.02.2024", 45351, "dd.mm.yyyy"},
        {"01.03.1901 00:00", 426, "dd.mm.yyyy hh:mm"},
        {"31.12.9999 23:59", 2958465 + 1439.0 / 1440, "dd.mm.yyyy hh:mm"},
        {"29.02.2023", 0, ""},          {"31.04.2024 10:00", 0, ""}, {"01.02.2024 24:00", 0, ""},
        {"01.02.2024 10:60", 0, ""},    {"1.2.2024", 0, ""},         {"01.02.2024T10:00", 0, ""},
        {"31.12.1900", 0, ""},          {"", 0, ""},                 {"ab.cd.efgh", 0, ""},
    };
    for (const auto& c : cases) {
        const auto d = util::ParseShownDate(c.text);
        ASSERT_EQ(d.has_value(), c.serial != 0) << c.text;
        if (!d) continue;
        EXPECT_DOUBLE_EQ(d->Value, c.serial) << c.text;
        EXPECT_EQ(d->NumFormat, c.format) << c.text;
    }
}

TEST(ShownNumber, SheetNamesTheSpreadsheetAccepts)
{
    EXPECT_EQ(util::SafeSheetName("Архив тиражей"), "Архив тиражей");
    EXPECT_EQ(util::SafeSheetName("a[b]:c*d?e/f\\g"), "abcdefg");
    EXPECT_EQ(util::SafeSheetName("'Рейтинг'"), "Рейтинг");
    EXPECT_EQ(util::SafeSheetName("/*?"), "Лист1");
    // 31 characters, not 31 bytes: a Cyrillic name is not cut inside a letter.
    EXPECT_EQ(util::SafeSheetName(std::string(20, 'x') + "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ"), std::string(20, 'x') + "ЖЖЖЖЖЖЖЖЖЖЖ");
}

namespace {

// The deflate option in the flags of the workbook's first part: 6 for the fastest level, 0 for
// the normal one.
int packOption(const fs::path& file)
{
    const std::string bytes = test::ReadBytes(file);
    return bytes.size() > 7 && bytes.compare(0, 4, "PK\x03\x04") == 0 ? uint8_t(bytes[6]) & 6 : -1;
}

} // namespace

TEST(XlsxFile, LayoutOfTheSheet)
{
    test::TempDir dir;
    const util::TExportSheet sheet = util::TExportSheet::FromTexts(
        "Карта", {"Число", "Имя"}, {{"7", "семь & <восемь>"}, {"+2", ""}, {"x", "3"}}, {true, false});
    util::TExportOptions options;
    options.Note = "Примечание";
    options.SheetName = "Лист [карты]";
    options.Landscape = true;
    util::WriteXlsx(dir / "c.xlsx", sheet, options);
    const test::XlsxSheet read = test::ReadXlsx(dir / "c.xlsx");
    EXPECT_EQ(read.Name, "Лист карты");
    EXPECT_EQ(read.Cells.at("A1").Text, "Карта");
    EXPECT_EQ(read.Cells.at("A2").Text, "Примечание");
    EXPECT_EQ(read.Cells.at("A4").Text, "Число");
    EXPECT_EQ(read.Cells.at("B4").Text, "Имя");
    EXPECT_EQ(read.Cells.at("A5").Number, 7);
    EXPECT_EQ(read.Cells.at("B5").Text, "семь & <восемь>");
    EXPECT_EQ(read.Cells.at("A6").Number, 2);
    EXPECT_FALSE(read.Cells.count("B6"));
    EXPECT_EQ(read.Cells.at("A7").Text, "x");
    // Not a numeric column: the digits stay text.
    EXPECT_EQ(read.Cells.at("B7").Text, "3");
    EXPECT_FALSE(read.Cells.at("B7").Number);
    EXPECT_NE(read.Xml.find(R"(<pane ySplit="4" topLeftCell="A5" activePane="bottomLeft" state="frozen"/>)"), std::string::npos);
    EXPECT_NE(read.Xml.find(R"(<autoFilter ref="A4:B7"/>)"), std::string::npos);
    EXPECT_NE(read.Xml.find(R"(orientation="landscape")"), std::string::npos);
    EXPECT_EQ(packOption(dir / "c.xlsx"), 0);
}

TEST(XlsxFile, FailureLeavesNoHalfWrittenFile)
{
    test::TempDir dir;
    const util::TExportSheet sheet = util::TExportSheet::FromTexts("Архив", {"A"}, {{"1"}});
    // A folder that does not exist: the error names the file, and nothing is created.
    const fs::path missing = dir / "нет/такой/папки.xlsx";
    try {
        util::WriteXlsx(missing, sheet, {});
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Не удалось записать файл \"" + missing.string() + "\""), std::string::npos)
            << e.what();
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));

    // The workbook cannot be written beside an older file: the older file stays as it was.
    test::WriteBytes(dir / "old.xlsx", "old bytes");
    fs::create_directories(dir / "old.xlsx.tmp~" / "blocked");
    EXPECT_THROW(util::WriteXlsx(dir / "old.xlsx", sheet, {}), Error);
    EXPECT_EQ(test::ReadBytes(dir / "old.xlsx"), "old bytes");
    fs::remove_all(dir / "old.xlsx.tmp~");
    util::WriteXlsx(dir / "old.xlsx", sheet, {});
    EXPECT_EQ(test::ReadXlsx(dir / "old.xlsx").Cells.at("A1").Text, "Архив");
    EXPECT_FALSE(fs::exists(dir / "old.xlsx.tmp~"));
}

// Progress comes every 4096 rows and once before the packing; answering false stops the export
// with Cancelled, leaving an older file as it was and nothing else.
TEST(XlsxFile, ProgressAndCancel)
{
    test::TempDir dir;
    std::vector<std::vector<std::string>> rows(10000, std::vector<std::string>{"1"});
    const util::TExportSheet sheet = util::TExportSheet::FromTexts("Список", {"A"}, rows);
    for (const int stopAt : {0, 1, 3, -1}) {
        test::WriteBytes(dir / "old.xlsx", "old bytes");
        const std::vector<int> all{0, 4096, 8192, 10000};
        std::vector<int> heard;
        const auto progress = [&](int written, int total) {
            EXPECT_EQ(total, 10000);
            heard.push_back(written);
            return int(heard.size()) - 1 != stopAt;
        };
        if (stopAt >= 0) {
            EXPECT_THROW(util::WriteXlsx(dir / "old.xlsx", sheet, {}, progress), Cancelled) << stopAt;
            EXPECT_EQ(test::ReadBytes(dir / "old.xlsx"), "old bytes");
            EXPECT_EQ(heard, std::vector<int>(all.begin(), all.begin() + stopAt + 1));
        } else {
            util::WriteXlsx(dir / "old.xlsx", sheet, {}, progress);
            EXPECT_EQ(heard, all);
            EXPECT_EQ(test::ReadXlsx(dir / "old.xlsx").Cells.at("A10003").Text, "1");
            // As many rows as make a big sheet: packed at the fastest level, and still read.
            static_assert(util::FastPackRows == 10000);
            EXPECT_EQ(packOption(dir / "old.xlsx"), 6);
        }
        EXPECT_FALSE(fs::exists(dir / "old.xlsx.tmp~"));
    }
}

TEST(ExportOptions, RoundTripAndDamagedFiles)
{
    test::TempDir dir;
    const fs::path file = dir / "Kvanta_8x20_Draws.exp";
    EXPECT_EQ(util::LoadExportOptions(file), util::TExportOptions{});

    util::TExportOptions o;
    o.Title = "Архив тиражей за год";
    o.Note = "Выгружено вручную";
    o.SheetName = "Тиражи";
    o.Landscape = true;
    o.FontSize = 12;
    o.OpenAfter = true;
    o.Folder = (dir / "выгрузка").string();
    util::SaveExportOptions(file, o);
    EXPECT_EQ(util::LoadExportOptions(file), o);

    // Bad values fall back one by one; the good ones stay.
    test::WriteBytes(file, "[EXPORT]\r\nFontSize=999\r\nLandscape=maybe\r\nNote=ok\r\n");
    util::TExportOptions expected;
    expected.Note = "ok";
    EXPECT_EQ(util::LoadExportOptions(file), expected);
    // Binary garbage, or a folder in the file's place: defaults, and the next save writes over it.
    test::WriteBytes(file, std::string("\x00\xff\x13[EXP\x00ORT\n=\n", 13));
    EXPECT_EQ(util::LoadExportOptions(file), util::TExportOptions{});
    util::SaveExportOptions(file, o);
    EXPECT_EQ(util::LoadExportOptions(file), o);
    fs::create_directories(dir / "dir.exp");
    EXPECT_EQ(util::LoadExportOptions(dir / "dir.exp"), util::TExportOptions{});
}

#include <gtest/gtest.h>

#include "core/archive/drawlist.h"
#include "core/game/numbers.h"
#include "core/stakes/lucktest.h"
#include "core/stakes/ratings.h"
#include "core/archive/sample.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"
#include "core/util/xlsxfile.h"
#include "core/workspace/listexport.h"
#include "tests/support/support.h"
#include "tests/support/xlsxread.h"

using namespace kv;

namespace {

// Every cell of a written sheet against the texts the list shows: numbers where the column is
// numeric and the text reads as one, the text itself otherwise.
void ExpectCells(const test::XlsxSheet& read, const util::TExportSheet& sheet, int firstRow)
{
    std::vector<util::TSheetCell> cells(sheet.Captions.size());
    for (int r = 0; r < sheet.RowCount; ++r) {
        for (auto& c : cells) c = {};
        sheet.Row(r, cells);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const std::string ref = test::CellRef(firstRow + r, static_cast<int>(c));
            const auto it = read.Cells.find(ref);
            if (cells[c].Text.empty()) {
                EXPECT_TRUE(it == read.Cells.end() || (it->second.Text.empty() && !it->second.Number)) << ref;
                continue;
            }
            ASSERT_NE(it, read.Cells.end()) << ref;
            const auto number = cells[c].Numeric ? util::ParseShownNumber(cells[c].Text)
                                : cells[c].Date  ? util::ParseShownDate(cells[c].Text)
                                                 : std::nullopt;
            if (!number) {
                EXPECT_EQ(it->second.Text, cells[c].Text) << ref;
                continue;
            }
            ASSERT_TRUE(it->second.Number) << ref << " " << cells[c].Text;
            // The file keeps 15 significant digits: a time of day comes back within that.
            EXPECT_NEAR(*it->second.Number, number->Value, 1e-9) << ref << " " << cells[c].Text;
        }
    }
}

game::TDraw Draw(int no, game::TComb nums, int extra, const char* date)
{
    game::TDraw d;
    d.DrawNo = no;
    d.Nums = nums;
    d.Extra = static_cast<uint8_t>(extra);
    d.SetDateText(date);
    return d;
}

} // namespace

TEST(ListExport, DrawListReadBack)
{
    test::TempDir dir;
    const game::TDrawsArray draws = {
        Draw(101, {20, 3, 15, 7, 1, 11, 9, 4}, 2, "01.02.2024 10:00"),
        Draw(102, {2, 4, 6, 8, 10, 12, 14, 16}, 4, "02.02.2024 10:00"),
        Draw(103, {1, 2, 3, 4, 5, 6, 7, 8}, 1, "03.02.2024 10:00"),
    };
    const util::TExportSheet sheet = workspace::DrawsSheet(draws, 1, false, true, 4);
    util::WriteXlsx(dir / "draws.xlsx", sheet, {});
    const test::XlsxSheet read = test::ReadXlsx(dir / "draws.xlsx");
    EXPECT_EQ(read.Name, "Архив тиражей");
    EXPECT_EQ(read.Cells.at("A1").Text, "Архив тиражей");
    const char* captions[] = {"Тираж", "1", "2", "3", "4", "5", "6", "7", "8", "E", "S", "Дата тиража"};
    for (int c = 0; c < 12; ++c) EXPECT_EQ(read.Cells.at(test::CellRef(2, c)).Text, captions[c]);
    ExpectCells(read, sheet, 3);
    // Newest first; the numbers in drawn order; the date a date (the day number with its time).
    EXPECT_EQ(read.Cells.at("A4").Number, 103);
    EXPECT_EQ(read.Cells.at("A6").Number, 101);
    EXPECT_EQ(read.Cells.at("B6").Number, 20);
    EXPECT_EQ(read.Cells.at("K6").Number, 70);
    EXPECT_DOUBLE_EQ(*read.Cells.at("L6").Number, 45323 + 10.0 / 24);
    // Row 1 (draw 102) is the current last draw at offset 1; number cells keep channel colours.
    EXPECT_EQ(read.Cells.at("A5").Fill, "FFAAAA");
    EXPECT_EQ(read.Cells.at("L5").Fill, "FFAAAA");
    EXPECT_EQ(read.Cells.at("A4").Fill, "");
    for (int c = 1; c <= 8; ++c) {
        char hex[7];
        std::snprintf(hex, sizeof hex, "%06X", game::ChannelColor(draws[0].Nums[c - 1], 4));
        EXPECT_EQ(read.Cells.at(test::CellRef(5, c)).Fill, hex) << c;
    }
}

TEST(ListExport, RatingReadBack)
{
    test::TempDir dir;
    stakes::TRatings ratings;
    stakes::TRatingRecord a;
    a.Name = "Сценарий «Чётные»";
    a.StakeCount = 10;
    a.Hits = {0, 0, 1, 5, 3, 1, 0, 0, 0};
    a.HitSum = 2 + 15 + 12 + 5;
    a.ProfitSum = util::Currency::FromDouble(-123.5);
    stakes::TRatingRecord b;
    b.Name = "12";   // a name made of digits stays a name
    ratings.Assign({a, b});
    for (int mode = 0; mode < stakes::RatingEffModeCount; ++mode) {
        ratings.SetEffMode(mode);
        const util::TExportSheet sheet = workspace::RatingsSheet(ratings);
        util::WriteXlsx(dir / "r.xlsx", sheet, {});
        const test::XlsxSheet read = test::ReadXlsx(dir / "r.xlsx");
        EXPECT_EQ(read.Cells.at("A1").Text, "Рейтинг");
        for (int c = 0; c < stakes::RatingColumnCount; ++c)
            EXPECT_EQ(read.Cells.at(test::CellRef(2, c)).Text, stakes::RatingColumnCaption(c));
        ExpectCells(read, sheet, 3);
        EXPECT_EQ(read.Cells.at("A5").Text, "12");
        EXPECT_EQ(read.Cells.at("B4").Number, 10);
        EXPECT_EQ(read.Cells.at("E4").Number, -123.5);
    }

    // The luck test's columns: numbers where computed, empty where not, "-" without prizes.
    stakes::TLuckCache luck;
    stakes::TLuckResult tested;
    tested.PHits = 0.0123;
    tested.PProfit = 0.00001;
    luck.Store(a, tested);
    for (const bool noPrizes : {false, true}) {
        const util::TExportSheet sheet = workspace::RatingsSheet(ratings, {&luck, 10000, noPrizes});
        ASSERT_EQ(sheet.Captions.size(), std::size_t(stakes::RatingColumnCount + 2));
        EXPECT_EQ(sheet.Captions.back(), "p (профит)");
        util::WriteXlsx(dir / "r.xlsx", sheet, {});
        const test::XlsxSheet read = test::ReadXlsx(dir / "r.xlsx");
        ExpectCells(read, sheet, 3);
        const std::string hits = test::CellRef(3, stakes::RatingColumnCount);
        const std::string profit = test::CellRef(3, stakes::RatingColumnCount + 1);
        EXPECT_EQ(read.Cells.at(hits).Number, 0.0123);
        EXPECT_EQ(read.Cells.at(profit).Text, noPrizes ? "-" : "< 0.0001");
    }
}

// The values of a number method go out as numbers, a table of names keeps them as texts.
TEST(ListExport, StatTableValuesAreNumbersWhenAllAre)
{
    test::TempDir dir;
    test::ScriptedShell sh;
    const game::TDrawsArray draws = archive::SyntheticDraws(200, 3, 1);
    stats::TStatList list;
    list.SetDraws(&draws);
    list.BuildMethodList();
    const stats::TPrefetchCache cache(dir.path());
    for (const char* code : {"NUMS", "SUMS", "EVEN", "DIGS"}) {
        stats::TStatTable table;
        stats::TStatTableRequest request;
        request.Method = list.FindMethod(code);
        request.DrawsStatLen = 200;
        ASSERT_TRUE(table.Build(list, cache, request, sh, true)) << code;
        bool numbers = true;
        for (int r = 0; r < table.RowCount(); ++r) numbers = numbers && util::ParseShownNumber(table.CellText(r, 0));
        if (std::string(code) == "NUMS") {
            ASSERT_TRUE(numbers) << "the numbers 1..20";
        }
        const util::TExportSheet sheet = workspace::StatTableSheet(table, false);
        std::vector<util::TSheetCell> cells(sheet.Captions.size());
        sheet.Row(0, cells);
        EXPECT_EQ(cells[0].Numeric, numbers) << code << " " << cells[0].Text;
        util::WriteXlsx(dir / "s.xlsx", sheet, {});
        ExpectCells(test::ReadXlsx(dir / "s.xlsx"), sheet, 3);
    }
}

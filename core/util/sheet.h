#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::util {

// One cell of an exported list: the text as the list shows it. A numeric cell whose text reads
// as a number goes to the spreadsheet as that number; a fill is the cell's background (0xRRGGBB).
struct TSheetCell {
    std::string Text;
    bool Numeric = false;
    bool Date = false;   // "dd.mm.yyyy hh:nn" or "dd.mm.yyyy": written as a date the sheet can sort
    std::optional<uint32_t> Fill;
};

// A list or grid of the window as shown on screen, handed to the spreadsheet export: the title
// (the caption of the view's tab), the column captions and the rows in the displayed order.
// Rows are asked for one at a time, so exporting the full ticket list copies nothing.
struct TExportSheet {
    std::string Title;
    std::vector<std::string> Captions;
    int RowCount = 0;
    // Fills `cells` (sized to the captions, emptied before each call) for one row.
    std::function<void(int row, std::vector<TSheetCell>& cells)> Row;

    // A small grid already held as texts (the number card, the layout); numericColumns marks
    // the columns whose number texts become numbers.
    static TExportSheet FromTexts(std::string title, std::vector<std::string> captions,
                                  std::vector<std::vector<std::string>> rows, std::vector<bool> numericColumns = {});
};

// A number as a list shows it ("12", "-3", "+4", "2,50", "14.792%", "05"), with the spreadsheet
// number format that shows it the same way ("0", "+0;-0;0", "0.00", "0.000%", "00"). Either
// decimal separator is read. Anything else (empty, "-", "1 234", "1e5", text) is no number.
struct TShownNumber {
    double Value = 0;
    std::string NumFormat;
};
std::optional<TShownNumber> ParseShownNumber(std::string_view text);
// A date as the lists show it, "dd.mm.yyyy hh:nn" or "dd.mm.yyyy", as the spreadsheet's day
// number (days since 30.12.1899, the time as a fraction) with its display format; nothing for
// another text, an impossible date or one before 1901 (where the spreadsheet's calendar is off
// by a day).
std::optional<TShownNumber> ParseShownDate(std::string_view text);

// A sheet name the spreadsheet accepts: at most 31 characters, none of []:*?/\ and no
// apostrophe at either end; "Лист1" when nothing is left.
std::string SafeSheetName(std::string_view name);

} // namespace kv::util

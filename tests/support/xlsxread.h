#pragma once
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace kv::test {

// One cell of a written workbook's first sheet as the file stores it.
struct XlsxCell {
    std::string Text;                 // an inline string, unescaped
    std::optional<double> Number;     // a number cell
    std::string Fill;                 // "RRGGBB" of a solid fill; empty without one
};

// The first sheet of an .xlsx file, read back with unzip: cells by reference ("A1"), and the
// sheet's name from the workbook.
struct XlsxSheet {
    std::string Name;
    std::map<std::string, XlsxCell> Cells;
    std::string Xml;   // the sheet as written, for checks of panes and filters
};
XlsxSheet ReadXlsx(const std::filesystem::path& file);

// "A1"-style reference of a 0-based row and column.
std::string CellRef(int row, int column);

} // namespace kv::test

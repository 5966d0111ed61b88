#pragma once
#include <string>
#include <vector>

namespace kv::analysis {

// A grid as a spreadsheet export receives it: a title, the column captions and the cell texts
// row by row, in the order the view shows them.
struct TGridExport {
    std::string Title;
    std::vector<std::string> Captions;
    std::vector<std::vector<std::string>> Cells;
};

} // namespace kv::analysis

#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/analysis/buildmemory.h"
#include "core/analysis/gridexport.h"
#include "core/game/types.h"

namespace kv::shell {
class Shell;
}

namespace kv::analysis {

// A number's appearances in a window: in how many draws it came and the newest draw with it.
struct TNumberEntry {
    int Number = 0;
    int Count = 0;
    int32_t LastDrawNo = 0;
    bool operator==(const TNumberEntry&) const = default;
};

// The numbers of the window in the order first met walking from the newest draw back (each
// draw in stored order). Numbers outside the field and absent numbers have no entry.
std::vector<TNumberEntry> WindowNumberStats(const game::TDrawsArray& draws, const TDrawWindow& window);

// The layout: a column per newest-draw number (descending), a row per count (descending); a
// cell lists the numbers of that class in entry order joined by ", ", a number of the hidden
// next draw written "[n]". Row and column indexes here are those of the data cells; the counts
// and draw numbers are the captions.
struct TLayoutGrid {
    std::vector<int> Counts;
    std::vector<int32_t> DrawNos;
    std::vector<std::string> Cells;   // Counts.size() rows of DrawNos.size() cells
    int Rows() const { return static_cast<int>(Counts.size()); }
    int Cols() const { return static_cast<int>(DrawNos.size()); }
    const std::string& Cell(int row, int col) const { return Cells[static_cast<std::size_t>(row * Cols() + col)]; }
};
// `hidden`: bit n for each number of the hidden next draw.
TLayoutGrid BuildLayoutGrid(const std::vector<TNumberEntry>& entries, uint32_t hidden);

// The background of data cell (row, col) of a grid of `rows` x `cols` data cells; a cell
// holding a number of the hidden next draw is green whatever the mode.
uint32_t LayoutCellColor(int row, int col, int rows, int cols, bool gradient, bool hiddenNumber);

// A comparison list: the window's first and last draw numbers as caption, a row per count
// (largest first) with the numbers having it in entry order.
struct TCompareList {
    std::string Caption;   // "first - last"; empty for an empty window
    std::vector<std::pair<int, std::string>> Rows;
};
TCompareList BuildCompareList(const game::TDrawsArray& draws, const TDrawWindow& window);

// The tab "Схема" with the memories of its two builds.
class TLayout {
public:
    static constexpr int CompareLists = 5;
    static constexpr const char* StatusText = "Построение схемы выпадения номеров...";
    static constexpr const char* Title = "Схема выпадения номеров";

    // Unless forced nothing happens when the archive, offset and length are those of the last
    // grid build; returns whether the grid changed.
    bool BuildGrid(const game::TDrawsArray& draws, int offset, int length, shell::Shell& shell, bool force);
    // Unless forced nothing happens when the archive and offset are those of the last lists
    // build (the lengths are not compared); returns whether the lists changed.
    bool BuildLists(const game::TDrawsArray& draws, int offset, const std::array<int, CompareLists>& lengths,
                    shell::Shell& shell, bool force);

    const TLayoutGrid& Grid() const { return m_grid; }
    const TCompareList& List(int i) const { return m_lists[static_cast<std::size_t>(i)]; }
    // The grid for the spreadsheet export: the first caption empty, then the draw numbers; each
    // row the count, then the cells.
    TGridExport Export() const;

private:
    TBuildMemory m_gridMemory;
    TBuildMemory m_listsMemory;
    TLayoutGrid m_grid;
    std::array<TCompareList, CompareLists> m_lists;
};

} // namespace kv::analysis

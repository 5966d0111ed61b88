#include "core/analysis/layout.h"

#include <algorithm>
#include <cmath>

#include "core/archive/archive.h"
#include "core/game/numbers.h"
#include "core/shell/shell.h"

namespace kv::analysis {

std::vector<TNumberEntry> WindowNumberStats(const game::TDrawsArray& draws, const TDrawWindow& window)
{
    std::vector<TNumberEntry> entries;
    std::array<int, game::MaxNumber + 1> slot;
    slot.fill(-1);
    for (int i = window.Last; i >= window.First; --i) {
        const game::TDraw& d = draws[static_cast<std::size_t>(i)];
        uint32_t seen = 0;   // a damaged draw may hold a number twice: it still counts one draw
        for (uint8_t n : d.Nums) {
            if (n < game::MinNumber || n > game::MaxNumber || (seen >> n & 1u)) continue;
            seen |= 1u << n;
            if (slot[n] < 0) {
                slot[n] = static_cast<int>(entries.size());
                entries.push_back({n, 0, d.DrawNo});
            }
            ++entries[static_cast<std::size_t>(slot[n])].Count;
        }
    }
    return entries;
}

TLayoutGrid BuildLayoutGrid(const std::vector<TNumberEntry>& entries, uint32_t hidden)
{
    TLayoutGrid g;
    for (const TNumberEntry& e : entries) {
        if (std::find(g.Counts.begin(), g.Counts.end(), e.Count) == g.Counts.end()) g.Counts.push_back(e.Count);
        if (std::find(g.DrawNos.begin(), g.DrawNos.end(), e.LastDrawNo) == g.DrawNos.end())
            g.DrawNos.push_back(e.LastDrawNo);
    }
    game::SortIntsDesc(g.Counts);
    game::SortIntsDesc(g.DrawNos);
    g.Cells.assign(static_cast<std::size_t>(g.Rows() * g.Cols()), {});
    for (const TNumberEntry& e : entries) {
        const auto row = std::find(g.Counts.begin(), g.Counts.end(), e.Count) - g.Counts.begin();
        const auto col = std::find(g.DrawNos.begin(), g.DrawNos.end(), e.LastDrawNo) - g.DrawNos.begin();
        std::string& cell = g.Cells[static_cast<std::size_t>(row * g.Cols() + col)];
        if (!cell.empty()) cell += ", ";
        const std::string text = std::to_string(e.Number);
        cell += (hidden >> e.Number & 1u) ? "[" + text + "]" : text;
    }
    return g;
}

uint32_t LayoutCellColor(int row, int col, int rows, int cols, bool gradient, bool hiddenNumber)
{
    if (hiddenNumber) return 0x00FF00;
    // The formulas count the captions row and column, as the grid on screen has them.
    const int r = row + 1, c = col + 1;
    if (gradient) {
        const double R = rows + 1, C = cols + 1;
        // Banker's rounding, as the colours were always computed.
        const auto round = [](double v) { return static_cast<uint32_t>(std::nearbyint(v)); };
        const uint32_t red = round(255 - 155 * r / R);
        const uint32_t green = round(255 - 155 * c / C);
        const uint32_t blue = round(100 + 155 * r / R);
        return red << 16 | green << 8 | blue;
    }
    // Bands of five: 1..5, 11..15, 21..25 and so on are marked.
    const auto marked = [](int i) { return i >= 1 && (i - 1) / 5 % 2 == 0; };
    return marked(r) != marked(c) ? 0xFFEAEA : 0xEAFFEA;
}

TCompareList BuildCompareList(const game::TDrawsArray& draws, const TDrawWindow& window)
{
    TCompareList list;
    if (window.Empty()) return list;
    list.Caption = std::to_string(draws[static_cast<std::size_t>(window.First)].DrawNo) + " - "
                   + std::to_string(draws[static_cast<std::size_t>(window.Last)].DrawNo);
    for (const TNumberEntry& e : WindowNumberStats(draws, window)) {
        auto it = std::find_if(list.Rows.begin(), list.Rows.end(), [&](const auto& r) { return r.first == e.Count; });
        if (it == list.Rows.end()) list.Rows.emplace_back(e.Count, std::to_string(e.Number));
        else it->second += ", " + std::to_string(e.Number);
    }
    std::stable_sort(list.Rows.begin(), list.Rows.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    return list;
}

bool TLayout::BuildGrid(const game::TDrawsArray& draws, int offset, int length, shell::Shell& shell, bool force)
{
    const int count = static_cast<int>(draws.size());
    if (!m_gridMemory.NeedsBuild({.Count = count, .Offset = offset, .Length = length, .Archive = ArchiveStamp(draws)},
                                 force))
        return false;
    shell::BusyScope busy(shell, StatusText);
    const TDrawWindow window = DrawWindow(count, offset, length);
    m_grid = BuildLayoutGrid(WindowNumberStats(draws, window), archive::HiddenNextDrawSet(draws, offset));
    return true;
}

bool TLayout::BuildLists(const game::TDrawsArray& draws, int offset, const std::array<int, CompareLists>& lengths,
                         shell::Shell& shell, bool force)
{
    const int count = static_cast<int>(draws.size());
    if (!m_listsMemory.NeedsBuild({.Count = count, .Offset = offset, .Archive = ArchiveStamp(draws)}, force))
        return false;
    shell::BusyScope busy(shell, StatusText);
    for (int i = 0; i < CompareLists; ++i)
        m_lists[static_cast<std::size_t>(i)] = BuildCompareList(draws, DrawWindow(count, offset, lengths[static_cast<std::size_t>(i)]));
    return true;
}

TGridExport TLayout::Export() const
{
    TGridExport e;
    e.Title = Title;
    e.Captions.emplace_back();
    for (int32_t d : m_grid.DrawNos) e.Captions.push_back(std::to_string(d));
    for (int r = 0; r < m_grid.Rows(); ++r) {
        std::vector<std::string> cells{std::to_string(m_grid.Counts[static_cast<std::size_t>(r)])};
        for (int c = 0; c < m_grid.Cols(); ++c) cells.push_back(m_grid.Cell(r, c));
        e.Cells.push_back(std::move(cells));
    }
    return e;
}

} // namespace kv::analysis

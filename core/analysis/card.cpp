#include "core/analysis/card.h"

#include "core/game/numbers.h"
#include "core/shell/shell.h"

namespace kv::analysis {

namespace {

constexpr uint32_t Cyan = 0x00FFFF;
constexpr uint32_t Green = 0x00FF00;
constexpr uint32_t Yellow = 0xFFFF00;

} // namespace

bool TCard::Build(const game::TDrawsArray& draws, shell::Shell& shell, bool force)
{
    const TBuildInputs inputs{.Count = static_cast<int>(draws.size()), .Archive = ArchiveStamp(draws)};
    if (!m_memory.NeedsBuild(inputs, force)) return false;
    shell::BusyScope busy(shell, StatusText);
    m_rows.clear();
    m_rows.reserve(draws.size());
    for (auto it = draws.rbegin(); it != draws.rend(); ++it) m_rows.push_back({it->DrawNo, DrawMask(*it), it->Extra});
    return true;
}

std::string TCard::Caption(int column)
{
    if (column >= game::MinNumber && column <= game::MaxNumber) return std::to_string(column);
    return column == ExtraColumn ? "E" : "";
}

uint32_t TCard::maskAt(int row) const
{
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[static_cast<std::size_t>(row)].Mask : 0;
}

bool TCard::HasNumber(int row, int number) const
{
    return number >= game::MinNumber && number <= game::MaxNumber && (maskAt(row) >> number & 1u) != 0;
}

std::string TCard::CellText(int row, int column) const
{
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return {};
    const Row& r = m_rows[static_cast<std::size_t>(row)];
    if (column == 0) return std::to_string(r.DrawNo);
    if (column == ExtraColumn) return std::to_string(r.Extra);
    return HasNumber(row, column) ? std::to_string(column) : std::string();
}

TCardCellColor TCard::CellColor(int row, int column, const TCardColors& colors) const
{
    if (column < game::MinNumber || column > game::MaxNumber) return {};
    if (colors.ColorCardSequences && HasNumber(row, column)) {
        // The rows next to this one are the draws before and after it; the captions row is none.
        const bool repeated = HasNumber(row - 1, column) || HasNumber(row + 1, column);
        const bool run = (column > game::MinNumber && HasNumber(row, column - 1))
                         || (column < game::MaxNumber && HasNumber(row, column + 1));
        if (repeated) return run ? TCardCellColor{TCardShade::RepeatInRun, Yellow} : TCardCellColor{TCardShade::Repeat, Green};
        if (run) return {TCardShade::Run, Cyan};
    }
    if (colors.ColorCard) return {TCardShade::Channel, game::ChannelColor(column, colors.ChannelSize)};
    return {};
}

std::vector<TCardLegendEntry> CardLegend(const TCardColors& colors)
{
    std::vector<TCardLegendEntry> legend;
    if (colors.ColorCardSequences) {
        legend.push_back({TCardShade::Repeat, Green, "число выпало и в соседнем тираже"});
        legend.push_back({TCardShade::RepeatInRun, Yellow, "такой повтор рядом с другим числом тиража"});
        legend.push_back({TCardShade::Run, Cyan, "рядом соседнее число того же тиража"});
    }
    if (colors.ColorCard)
        legend.push_back({TCardShade::Channel, game::ChannelColor(game::MinNumber, colors.ChannelSize), "цвет канала"});
    return legend;
}

TGridExport TCard::Export() const
{
    TGridExport e;
    e.Title = Title;
    for (int c = 0; c < Columns; ++c) e.Captions.push_back(Caption(c));
    e.Cells.reserve(m_rows.size());
    for (int r = 0; r < static_cast<int>(m_rows.size()); ++r) {
        std::vector<std::string> cells;
        cells.reserve(Columns);
        for (int c = 0; c < Columns; ++c) cells.push_back(CellText(r, c));
        e.Cells.push_back(std::move(cells));
    }
    return e;
}

} // namespace kv::analysis

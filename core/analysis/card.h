#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/analysis/buildmemory.h"
#include "core/analysis/gridexport.h"
#include "core/game/types.h"

namespace kv::shell {
class Shell;
}

namespace kv::analysis {

// How a cell of the number card is painted.
enum class TCardShade {
    Plain,
    Channel,       // the channel colour of the column
    Run,           // cyan: a neighbour number in the same draw
    Repeat,        // green: the number also came in the draw before or after
    RepeatInRun,   // yellow: both
};

struct TCardCellColor {
    TCardShade Shade = TCardShade::Plain;
    uint32_t Rgb = 0;   // 0xRRGGBB; not significant for Plain
    bool operator==(const TCardCellColor&) const = default;
};

struct TCardColors {
    bool ColorCard = true;            // channel colours
    bool ColorCardSequences = true;   // runs and repeats
    int ChannelSize = 1;
};

// The legend the view shows under the card: what each colour in force means (the channel entry
// with the colour of the first channel). Empty when nothing is coloured.
struct TCardLegendEntry {
    TCardShade Shade;
    uint32_t Rgb;
    const char* Text;
};
std::vector<TCardLegendEntry> CardLegend(const TCardColors& colors);

// The tab "Карта": every draw of the archive, newest first, a number standing in its own
// column. Columns: 0 the draw number, 1..20 the numbers, 21 the extra number. Rows here are the
// data rows (the captions row is the view's header); an empty archive keeps one empty row.
class TCard {
public:
    static constexpr int Columns = 22;
    static constexpr int ExtraColumn = 21;
    static constexpr const char* StatusText = "Обновление карты тиражей...";
    static constexpr const char* Title = "Карта тиражей";

    // Unless forced nothing happens when the archive is the one of the last build; returns
    // whether the card changed.
    bool Build(const game::TDrawsArray& draws, shell::Shell& shell, bool force);

    int RowCount() const { return m_rows.empty() ? 1 : static_cast<int>(m_rows.size()); }
    // "", "1".."20", "E".
    static std::string Caption(int column);
    std::string CellText(int row, int column) const;
    bool HasNumber(int row, int number) const;
    TCardCellColor CellColor(int row, int column, const TCardColors& colors) const;
    // The whole card for the spreadsheet export.
    TGridExport Export() const;

private:
    struct Row {
        int32_t DrawNo;
        uint32_t Mask;
        uint8_t Extra;
    };
    uint32_t maskAt(int row) const;

    TBuildMemory m_memory;
    std::vector<Row> m_rows;
};

} // namespace kv::analysis

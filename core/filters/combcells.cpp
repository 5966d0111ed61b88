#include "core/filters/combcells.h"
#include "core/util/translate.h"

#include "core/game/game.h"

namespace kv::filters {

const char* CombListCaption(int column)
{
    static const char* const captions[CombListColumns] = {"№ п.п.", "1", "2", "3", "4", "5", "6", "7", "8", "S"};
    return column >= 0 && column < CombListColumns ? util::TrText(captions[column]) : "";
}

std::string CombCellText(const game::TComb& comb, int row, int column)
{
    if (column == 0) return std::to_string(row + 1);
    if (column >= 1 && column <= 8) return std::to_string(comb[column - 1]);
    if (column == 9) {
        int sum = 0;
        for (uint8_t n : comb) sum += n;
        return std::to_string(sum);
    }
    return {};
}

uint32_t CombCellColor(const game::TComb& comb, int column, bool colorCombs, int channelSize)
{
    if (colorCombs && column >= 1 && column <= 8) return game::ChannelColor(comb[column - 1], channelSize);
    return 0xFFFFFF;
}

} // namespace kv::filters

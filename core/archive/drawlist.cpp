#include "core/archive/drawlist.h"
#include "core/util/translate.h"

#include <algorithm>

#include "core/game/game.h"

namespace kv::archive {

const char* DrawListCaption(int column)
{
    static const char* const captions[DrawListColumns] = {
        "Тираж", "1", "2", "3", "4", "5", "6", "7", "8", "E", "S", "Дата тиража"};
    return column >= 0 && column < DrawListColumns ? util::TrText(captions[column]) : "";
}

game::TComb DisplayedNums(const game::TDraw& draw, bool sorted)
{
    game::TComb nums = draw.Nums;
    if (sorted) game::SortComb(nums);
    return nums;
}

std::string DrawCellText(const game::TDraw& draw, int column, bool sorted)
{
    if (column == 0) return std::to_string(draw.DrawNo);
    if (column >= 1 && column <= 8) return std::to_string(DisplayedNums(draw, sorted)[column - 1]);
    if (column == 9) return std::to_string(draw.Extra);
    if (column == 10) {
        int sum = 0;
        for (uint8_t n : draw.Nums) sum += n;
        return std::to_string(sum);
    }
    if (column == 11) return draw.DateText();
    return {};
}

uint32_t DrawCellColor(const game::TDraw& draw, int row, int column, int offset, bool colorDraws,
                       int channelSize, bool sorted)
{
    const uint32_t rowColor = row == offset ? OffsetRowColor : WhiteColor;
    if (colorDraws && column >= 1 && column <= 8)
        return game::ChannelColor(DisplayedNums(draw, sorted)[column - 1], channelSize);
    return rowColor;
}

} // namespace kv::archive

#pragma once
#include <cstdint>
#include <string>

#include "core/game/types.h"

namespace kv::archive {

// The draw list: "Тираж", "1".."8", "E", "S", "Дата тиража".
constexpr int DrawListColumns = 12;
const char* DrawListCaption(int column);

constexpr uint32_t OffsetRowColor = 0xFFAAAA;
constexpr uint32_t WhiteColor = 0xFFFFFF;

// The numbers as the list shows them: stored order, or ascending when sorted is on.
game::TComb DisplayedNums(const game::TDraw& draw, bool sorted);
std::string DrawCellText(const game::TDraw& draw, int column, bool sorted);

// Background of a cell: the row showing the current last draw (row == offset) is #FFAAAA;
// with channel colouring on, the 8 number cells take their channel's colour and the other cells
// stay white (or #FFAAAA on that row).
uint32_t DrawCellColor(const game::TDraw& draw, int row, int column, int offset, bool colorDraws,
                       int channelSize, bool sorted);

} // namespace kv::archive

#pragma once
#include <cstdint>
#include <string>

#include "core/game/types.h"

namespace kv::filters {

// The combination list: "№ п.п.", "1".."8", "S".
constexpr int CombListColumns = 10;
const char* CombListCaption(int column);
std::string CombCellText(const game::TComb& comb, int row, int column);
// The 8 number cells take their channel's colour when colouring is on; everything else is white.
uint32_t CombCellColor(const game::TComb& comb, int column, bool colorCombs, int channelSize);

} // namespace kv::filters

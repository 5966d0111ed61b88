#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/stakes/stakerecord.h"

namespace kv::stakes {

// The stakes grid of the main window: one header row, then one row per record (record i is
// row i + 1). Separator records, and any record without a draw, are empty rows.
constexpr int StakeGridColumnCount = 9;
const char* StakeGridCaption(int column);   // "№ тиража" ... "Комментарий"
int StakeGridWidth(int column);             // initial widths in pixels

enum class TCellAlign { Center, Right, Left };
// Columns 0..6 centred, the profit right-aligned and the comment left-aligned, both kept this
// many pixels off the cell's edge.
TCellAlign StakeGridAlign(int column);
constexpr int StakeGridTextMargin = 2;
// Columns 2 and 4 draw every number on its own, this many pixels apart.
constexpr int StakeNumberGap = 3;

std::string StakeCellText(const TStakeRecord& stake, int column);

// Background of a row that is not selected: the origin's colour (0xRRGGBB), or nothing for the
// window's own background (separators, unknown origins).
std::optional<uint32_t> StakeRowColor(uint8_t origin);

// The numbers of columns 2 (the stake) and 4 (the draw, once checked), each marked when it is
// among the matched numbers: those are drawn bold in MatchedNumberColor.
struct TStakeNumber {
    uint8_t Number = 0;
    bool Matched = false;
    bool operator==(const TStakeNumber&) const = default;
};
std::vector<TStakeNumber> StakeCellNumbers(const TStakeRecord& stake, int column);
bool IsMatchedNumber(const TStakeRecord& stake, uint8_t number);
constexpr uint32_t MatchedNumberColor = 0x0000FF;

// Text colour of columns 5..7 of a checked stake: green for a win, red otherwise; nothing (the
// window's text colour) for other cells and for unchecked stakes.
std::optional<uint32_t> StakeResultColor(const TStakeRecord& stake, int column);
constexpr uint32_t WinColor = 0x008000;
constexpr uint32_t LossColor = 0xFF0000;

// The stakes panel (field 4) of the status bar; separators count as stakes.
std::string StakesCountText(int records);

// What RefreshStakeView does to the grid for n records.
struct TStakeViewPlan {
    bool SetRowCount = false;
    int RowCount = 0;
    int SelectRow = -1;       // -1: the selection stays
    bool Repaint = false;
    bool ShowCount = false;   // put StakesCountText(records) into the status bar
};
TStakeViewPlan PlanStakeViewRefresh(int gridRows, int records, bool refresh, bool goToLast, bool tabVisible);

} // namespace kv::stakes

#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/game/types.h"

namespace kv::archive {

// Text of the draw dialog's numbers field: the 8 numbers then the extra number, joined by ";".
std::string DrawNumbersText(const game::TDraw& draw);

// Reads the draw dialog's numbers field: exactly 9 words split at ";" and "," (runs count as
// one), 8 pairwise different numbers 1..20 in the order typed and an extra number 1..4.
// False when any rule fails.
bool ParseDrawNumbers(std::string_view text, game::TComb& nums, uint8_t& extra);

// The record the draw dialog makes: the date part of `date` with the time part of `time`.
game::TDraw MakeDialogDraw(int32_t drawNo, const game::TComb& nums, uint8_t extra,
                           game::TDateTime date, game::TDateTime time);

constexpr const char* InvalidDrawText = "Введена некорректная комбинация!\n"
                                        "Ожидаются 8 разных чисел от 1 до 20 и последним дополнительное число от 1 "
                                        "до 4 через точку с запятой или запятую, например: 1;5;8;11;13;16;18;20;3";

// Splits one line of a draws text file: ";" separates, a double quote quotes (doubled inside),
// and outside quotes a space or control character ends a field too.
std::vector<std::string> SplitDrawsLine(std::string_view line);

// Appends the draws of a draws text file (UTF-8 text) to the archive: 11 fields (number, date,
// 8 numbers, extra) or 10 (no number: the archive's count plus 1). Lines of other field counts,
// with draw number 0 or with a number already present are skipped. Returns the count appended.
int ImportDrawsText(game::TDrawsArray& draws, std::string_view text);

// The export text, one CR LF line per draw in archive order: «1024;"12.03.2021 10:05";3;...;2».
std::string ExportDrawsText(const game::TDrawsArray& draws);

} // namespace kv::archive

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

// The draws of a draws text file (UTF-8 text) that may join the archive: lines of 11 fields
// (number, date, 8 numbers, extra) or 10 (no number: the archive's count plus 1, counting the
// draws taken before). Blank lines are passed over; every other line that is not a sound draw
// (CheckDraw), has an unreadable date or a draw number already present (in the archive or
// earlier in the file) is refused with its line number and reason. One pass over the text.
struct TDrawsImport {
    game::TDrawsArray Draws;            // in file order
    int Refused = 0;
    std::vector<std::string> Notes;     // "строка 3: повторяющиеся числа" for the first ten
    static constexpr int NoteLimit = 10;
};
TDrawsImport ParseDrawsText(const game::TDrawsArray& archive, std::string_view text);
// The user's report of the refused lines; empty when none was.
std::string DrawsImportReport(const TDrawsImport& import);
// Appends what ParseDrawsText takes; returns the count appended.
int ImportDrawsText(game::TDrawsArray& draws, std::string_view text);

// Whether the import can take the draw back as it stands: sound (CheckDraw) with a blank or
// readable date that holds no line break.
bool IsExportableDraw(const game::TDraw& draw);
// The export text, one CR LF line per exportable draw in archive order:
// «1024;"12.03.2021 10:05";3;...;2». skipped (when given) receives the count left out.
std::string ExportDrawsText(const game::TDrawsArray& draws, int* skipped = nullptr);

} // namespace kv::archive

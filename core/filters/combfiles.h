#pragma once
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/game/types.h"

namespace kv::shell {
class Shell;
}

namespace kv::filters {

class TCombList;
class TFilterHistory;

// Combination files ("*.lcv"): CP1251 text, one combination per line, "1;2;3;4;5;6;7;8",
// lines ended by CR LF.
constexpr const char* CombFileFilter = "Файлы комбинаций (*.lcv)|*.lcv";
constexpr const char* CombFileExtension = "lcv";

// The bytes of a combination file holding `combs` in their order.
std::string CombFileBytes(std::span<const game::TComb> combs);

// Appends the combinations of combination-file bytes. A line counts when it splits at "," and
// ";" into exactly 8 words; each word is read as a number (a non-number as 0) and kept as it
// stands: no range, order or repetition check.
void ParseCombFileBytes(std::string_view bytes, game::TCombsArray& out);

// Replaces the list with the file's combinations. A failure shows "Ошибка чтения файла "<file>"!"
// with the reason and gives false; what was read before it stays in the list. Used by the open
// command and by generation from a file.
bool ReadCombFile(const std::filesystem::path& file, TCombList& list, shell::Shell& shell);

// The CombsOpen command after the file was chosen: a failed read brings the previous list back;
// either way Undo is no longer possible and the filter history starts afresh.
bool OpenCombFile(const std::filesystem::path& file, TCombList& list, TFilterHistory& history,
                  shell::Shell& shell);

// The CombsSave command after the file was chosen. A failure shows "Ошибка записи в файл
// "<file>"!" with the reason and gives false; the old file then stays as it was.
bool SaveCombFile(const std::filesystem::path& file, std::span<const game::TComb> combs, shell::Shell& shell);

// The clipboard text of the given list rows, in row order whatever the selection order:
// "01 05 07 11 12 14 18 20" lines ended by CR LF. No rows give an empty text.
std::string CombsClipboardText(std::span<const game::TComb> combs, std::vector<int> rows);

// The CombsCopy command: the text to put on the clipboard.
std::string CopyCombs(const TCombList& list, std::vector<int> rows, shell::Shell& shell);

// The CombsPaste command with the clipboard's text (UTF-8): every non-blank line must be a
// combination. A bad line is reported with its own message and leaves the list as it was;
// success replaces the list and clears the filter history. Either way Undo is no longer
// possible. A text without combinations changes nothing. True when the list was replaced.
bool PasteCombs(std::string_view text, TCombList& list, TFilterHistory& history, shell::Shell& shell);

} // namespace kv::filters

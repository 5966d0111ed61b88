#include "core/filters/combfiles.h"

#include <algorithm>

#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "core/game/texts.h"
#include "core/shell/shell.h"
#include "core/util/error.h"
#include "core/util/files.h"
#include "core/util/format.h"

namespace kv::filters {

using game::TComb;

namespace {

// The numbers of a combination file are plain ASCII digits, the same in CP1251 and UTF-8, and
// anything else in a word makes it a non-number either way: the bytes are parsed unconverted.

uint8_t NumberByte(std::string_view word)
{
    // Like ParseComb: a value that does not fit a byte would wrap to a plausible number.
    const int32_t v = game::TextToInt(word);
    return (v >= 0 && v <= 255) ? static_cast<uint8_t>(v) : 0;
}

void ParseLine(std::string_view line, game::TCombsArray& out)
{
    TComb comb{};
    int words = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] != ',' && line[i] != ';') continue;
        if (words < game::NumsPerDraw) comb[static_cast<std::size_t>(words)] = NumberByte(line.substr(start, i - start));
        ++words;
        start = i + 1;
    }
    if (words == game::NumsPerDraw) out.push_back(comb);
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Calls `onLine` for every line of a text broken by CR LF, LF or CR; a final line break ends
// the last line instead of starting an empty one. Returns the unfinished tail.
template <typename OnLine>
std::string_view ForEachLine(std::string_view text, OnLine onLine)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsLineBreak(text[i])) continue;
        onLine(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    return text.substr(start);
}

void AppendNumber(std::string& out, uint8_t v)
{
    if (v >= 100) out += static_cast<char>('0' + v / 100);
    if (v >= 10) out += static_cast<char>('0' + v / 10 % 10);
    out += static_cast<char>('0' + v % 10);
}

std::string ReadFailureText(const std::filesystem::path& file)
{
    return util::Format("Ошибка чтения файла \"%s\"!", {file.string()});
}

} // namespace

std::string CombFileBytes(std::span<const TComb> combs)
{
    std::string out;
    out.reserve(combs.size() * 26);
    for (const TComb& c : combs) {
        for (std::size_t i = 0; i < c.size(); ++i) {
            if (i > 0) out += ';';
            AppendNumber(out, c[i]);
        }
        out += "\r\n";
    }
    return out;
}

void ParseCombFileBytes(std::string_view bytes, game::TCombsArray& out)
{
    // Empty lines are among those without 8 words, so every line break may end a line.
    const std::string_view tail = ForEachLine(bytes, [&out](std::string_view line) { ParseLine(line, out); });
    ParseLine(tail, out);
}

bool ReadCombFile(const std::filesystem::path& file, TCombList& list, shell::Shell& shell)
{
    game::TCombsArray& out = list.Refill();
    try {
        // Whole lines are parsed as they arrive, so an error halfway keeps what came before it.
        std::string carry;
        util::ReadFileInChunks(file, 1 << 20, [&](std::string_view chunk) {
            if (!carry.empty()) {
                const auto end = std::find_if(chunk.begin(), chunk.end(), IsLineBreak);
                carry.append(chunk.begin(), end);
                if (end == chunk.end()) return;
                ParseLine(carry, out);
                carry.clear();
                chunk.remove_prefix(static_cast<std::size_t>(end - chunk.begin()));
            }
            carry = ForEachLine(chunk, [&out](std::string_view line) { ParseLine(line, out); });
        });
        ParseLine(carry, out);
    } catch (const std::exception& e) {
        shell.ShowFailure(ReadFailureText(file), e.what());
        return false;
    }
    return true;
}

bool OpenCombFile(const std::filesystem::path& file, TCombList& list, TFilterHistory& history,
                  shell::Shell& shell)
{
    bool ok = false;
    try {
        list.MakeUndoCopy(shell);
        {
            shell::BusyScope busy(shell, util::Format("Загрузка файла \"%s\"...", {file.string()}));
            ok = ReadCombFile(file, list, shell);
        }
        if (!ok) list.RestoreUndoCopy(shell);
    } catch (const std::exception& e) {
        // Only memory can run out here; the list then holds what could be kept.
        shell.ShowFailure(ReadFailureText(file), e.what());
        ok = false;
    }
    list.DiscardUndoCopy();
    history.Clear();
    list.NotifyChanged();
    return ok;
}

bool SaveCombFile(const std::filesystem::path& file, std::span<const TComb> combs, shell::Shell& shell)
{
    shell::BusyScope busy(shell, util::Format("Сохранение файла \"%s\"...", {file.string()}));
    try {
        util::RewriteFile(file, CombFileBytes(combs));
    } catch (const std::exception& e) {
        shell.ShowFailure(util::Format("Ошибка записи в файл \"%s\"!", {file.string()}), e.what());
        return false;
    }
    return true;
}

std::string CombsClipboardText(std::span<const TComb> combs, std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::string text;
    for (int r : rows) {
        if (r < 0 || static_cast<std::size_t>(r) >= combs.size()) continue;
        text += game::CombToSpacedText(combs[static_cast<std::size_t>(r)]);
        text += "\r\n";
    }
    return text;
}

std::string CopyCombs(const TCombList& list, std::vector<int> rows, shell::Shell& shell)
{
    shell::BusyScope busy(shell, "Подождите пожалуйста...");
    return CombsClipboardText(list.Combs(), std::move(rows));
}

bool PasteCombs(std::string_view text, TCombList& list, TFilterHistory& history, shell::Shell& shell)
{
    shell::BusyScope busy(shell, "Подождите пожалуйста...");
    // Blank lines (an editor's trailing empty line) carry no combination and are passed over.
    std::vector<std::string_view> lines;
    const std::string_view tail = ForEachLine(text, [&lines](std::string_view line) {
        if (!game::TrimText(line).empty()) lines.push_back(line);
    });
    if (!game::TrimText(tail).empty()) lines.push_back(tail);
    if (lines.empty()) return false;

    bool ok = true;
    try {
        list.MakeUndoCopy(shell, false);
    } catch (const std::exception& e) {
        shell.ShowError(e.what());
        return false;
    }
    try {
        game::TCombsArray& out = list.Refill();
        for (std::string_view line : lines) out.push_back(game::ParseComb(line));
    } catch (const std::exception& e) {
        shell.ShowError(e.what());
        ok = false;
        try {
            list.RestoreUndoCopy(shell);
        } catch (const std::exception&) {
            // The list is empty then; there is nothing better to offer.
        }
    }
    if (ok) history.Clear();
    list.DiscardUndoCopy();
    list.NotifyChanged();
    return ok;
}

} // namespace kv::filters

#include "core/archive/drawedit.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "core/archive/archive.h"
#include "core/game/game.h"

namespace kv::archive {

namespace {

bool isBlankChar(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

std::string trimmed(std::string_view s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && isBlankChar(s[b])) ++b;
    while (e > b && isBlankChar(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

} // namespace

std::string DrawNumbersText(const game::TDraw& draw)
{
    std::string s;
    for (uint8_t n : draw.Nums) {
        s += std::to_string(n);
        s += ';';
    }
    s += std::to_string(draw.Extra);
    return s;
}

bool ParseDrawNumbers(std::string_view text, game::TComb& nums, uint8_t& extra)
{
    std::vector<std::string_view> words;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == ';' || text[i] == ',') {
            if (i > start) words.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    if (words.size() != 9) return false;
    game::TComb parsed{};
    uint32_t seen = 0;
    for (int i = 0; i < 8; ++i) {
        const int n = game::TextToInt(words[i]);
        if (n < 1 || n > 20 || (seen & (1u << n))) return false;
        seen |= 1u << n;
        parsed[i] = static_cast<uint8_t>(n);
    }
    const int e = game::TextToInt(words[8]);
    if (e < 1 || e > 4) return false;
    nums = parsed;
    extra = static_cast<uint8_t>(e);
    return true;
}

game::TDraw MakeDialogDraw(int32_t drawNo, const game::TComb& nums, uint8_t extra,
                           game::TDateTime date, game::TDateTime time)
{
    game::TDraw draw;
    draw.DrawNo = drawNo;
    draw.Nums = nums;
    draw.Extra = extra;
    const double when = std::floor(date) + (time - std::floor(time));
    draw.SetDateText(game::DateTimeToDrawText(when));
    return draw;
}

std::vector<std::string> SplitDrawsLine(std::string_view s)
{
    std::vector<std::string> fields;
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n && isBlankChar(s[i])) ++i;
    if (i >= n) return fields;
    for (;;) {
        std::string field;
        if (s[i] == '"') {
            ++i;
            while (i < n) {
                if (s[i] == '"') {
                    if (i + 1 < n && s[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += s[i++];
            }
        } else {
            while (i < n && s[i] != ';' && !isBlankChar(s[i])) field += s[i++];
        }
        fields.push_back(std::move(field));
        while (i < n && isBlankChar(s[i])) ++i;
        if (i >= n) break;
        if (s[i] == ';') {
            ++i;
            while (i < n && isBlankChar(s[i])) ++i;
            if (i >= n) {
                fields.emplace_back();
                break;
            }
        }
    }
    return fields;
}

namespace {

// Why a date field cannot be taken; nullptr when it can. A blank date is "no date".
const char* dateDefect(std::string_view text)
{
    for (char c : text)
        if (c == '\r' || c == '\n') return "перевод строки в дате";
    try {
        game::DrawTextToDateTime(text);
    } catch (const std::exception&) {
        return "некорректная дата";
    }
    return nullptr;
}

} // namespace

TDrawsImport ParseDrawsText(const game::TDrawsArray& archive, std::string_view text)
{
    TDrawsImport result;
    std::unordered_set<int32_t> taken;
    taken.reserve(archive.size() + text.size() / 32);
    for (const game::TDraw& d : archive) taken.insert(d.DrawNo);
    auto refuse = [&](int lineNo, std::string_view reason) {
        if (result.Refused++ < TDrawsImport::NoteLimit)
            result.Notes.push_back("строка " + std::to_string(lineNo) + ": " + std::string(reason));
    };
    std::size_t pos = 0;
    for (int lineNo = 1; pos <= text.size(); ++lineNo) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;

        if (!trimmed(line).empty()) {
            const std::vector<std::string> f = SplitDrawsLine(line);
            if (f.size() != 11 && f.size() != 10) {
                refuse(lineNo, "ожидается 10 или 11 полей, прочитано " + std::to_string(f.size()));
            } else {
                const std::size_t base = f.size() == 11 ? 1 : 0;
                game::TDraw draw;
                draw.DrawNo = f.size() == 11
                                  ? game::TextToInt(f[0])
                                  : static_cast<int32_t>(std::min<std::size_t>(
                                        archive.size() + result.Draws.size() + 1, game::MaxDrawNo + 1u));
                draw.SetDateText(f[base]);
                for (int k = 0; k < 8; ++k)
                    draw.Nums[k] = static_cast<uint8_t>(std::clamp(game::TextToInt(f[base + 1 + k]), 0, 255));
                draw.Extra = static_cast<uint8_t>(std::clamp(game::TextToInt(f[base + 9]), 0, 255));
                const DrawDefect defect = CheckDraw(draw);
                // The date as stored (cut to its field), which is what an export writes back.
                const char* badDate = dateDefect(draw.DateText());
                if (defect != DrawDefect::None) refuse(lineNo, DrawDefectText(defect));
                else if (badDate) refuse(lineNo, badDate);
                else if (!taken.insert(draw.DrawNo).second)
                    refuse(lineNo, "тираж № " + std::to_string(draw.DrawNo) + " уже есть в архиве");
                else result.Draws.push_back(draw);
            }
        }
        if (end >= text.size()) break;
    }
    return result;
}

std::string DrawsImportReport(const TDrawsImport& import)
{
    if (import.Refused == 0) return {};
    std::string text = "Отклонено строк: " + std::to_string(import.Refused) + ".";
    for (const std::string& note : import.Notes) text += "\n" + note;
    if (import.Refused > TDrawsImport::NoteLimit)
        text += "\n... и еще " + std::to_string(import.Refused - TDrawsImport::NoteLimit) + ".";
    return text;
}

int ImportDrawsText(game::TDrawsArray& draws, std::string_view text)
{
    TDrawsImport import = ParseDrawsText(draws, text);
    draws.insert(draws.end(), import.Draws.begin(), import.Draws.end());
    return static_cast<int>(import.Draws.size());
}

bool IsExportableDraw(const game::TDraw& draw)
{
    return CheckDraw(draw) == DrawDefect::None && dateDefect(draw.DateText()) == nullptr;
}

std::string ExportDrawsText(const game::TDrawsArray& draws, int* skipped)
{
    std::string out;
    out.reserve(draws.size() * 48);
    int left = 0;
    for (const game::TDraw& d : draws) {
        if (!IsExportableDraw(d)) {
            ++left;
            continue;
        }
        out += std::to_string(d.DrawNo);
        out += ";\"";
        for (char c : d.DateText()) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
        for (uint8_t n : d.Nums) {
            out += ';';
            out += std::to_string(n);
        }
        out += ';';
        out += std::to_string(d.Extra);
        out += "\r\n";
    }
    if (skipped) *skipped = left;
    return out;
}

} // namespace kv::archive

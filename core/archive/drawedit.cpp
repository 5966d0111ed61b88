#include "core/archive/drawedit.h"

#include <cmath>

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

int ImportDrawsText(game::TDrawsArray& draws, std::string_view text)
{
    int added = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;

        if (trimmed(line).empty()) continue;
        const std::vector<std::string> f = SplitDrawsLine(line);
        if (f.size() != 11 && f.size() != 10) continue;
        const std::size_t base = f.size() == 11 ? 1 : 0;
        game::TDraw draw;
        draw.DrawNo = f.size() == 11 ? game::TextToInt(f[0])
                                     : static_cast<int32_t>(draws.size()) + 1;
        draw.SetDateText(f[base]);
        for (int k = 0; k < 8; ++k)
            draw.Nums[k] = static_cast<uint8_t>(game::TextToInt(f[base + 1 + k]));
        draw.Extra = static_cast<uint8_t>(game::TextToInt(f[base + 9]));
        if (draw.DrawNo > 0 && FindDrawIndex(draws, draw.DrawNo) < 0) {
            draws.push_back(draw);
            ++added;
        }
        if (end >= text.size()) break;
    }
    return added;
}

std::string ExportDrawsText(const game::TDrawsArray& draws)
{
    std::string out;
    out.reserve(draws.size() * 48);
    for (const game::TDraw& d : draws) {
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
    return out;
}

} // namespace kv::archive

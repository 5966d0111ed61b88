#include "core/game/texts.h"

#include <algorithm>
#include <array>

#include "core/util/error.h"

namespace kv::game {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Bytes taken by the UTF-8 character that starts at s[i]; a stray byte counts as one.
std::size_t CharLen(std::string_view s, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t len = 1;
    if (lead >= 0xF0 && lead <= 0xF7) len = 4;
    else if (lead >= 0xE0) len = lead <= 0xEF ? 3 : 1;
    else if (lead >= 0xC0) len = 2;
    return std::min(len, s.size() - i);
}

void AppendInt(std::string& out, int64_t v) { out += std::to_string(v); }

template <typename Range>
std::string JoinInts(const Range& values, std::size_t count, std::string_view sep)
{
    std::string r;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) r += sep;
        AppendInt(r, values[i]);
    }
    return r;
}

bool IsCombSeparator(char c)
{
    switch (c) {
    case '\t': case ' ': case ',': case '-': case '.': case ':': case ';': case '|':
        return true;
    default:
        return false;
    }
}

bool TryListForm(std::string_view text, TIntArray& out)
{
    out.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find_first_of(",;", start);
        const std::string_view word =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        int32_t v = 0;
        if (!TryTextToInt(word, v)) return false;
        out.push_back(v);
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

bool TryRangeForm(std::string_view text, TIntArray& out)
{
    out.clear();
    if (text.size() < 2) return false;
    const std::size_t dash = text.find('-', 1);
    if (dash == std::string_view::npos) return false;
    const std::size_t sep = text.find_first_of(",;", dash + 1);
    const std::string_view fromText = text.substr(0, dash);
    const std::string_view toText =
        text.substr(dash + 1, sep == std::string_view::npos ? std::string_view::npos : sep - dash - 1);
    const std::string_view stepText =
        sep == std::string_view::npos ? std::string_view() : text.substr(sep + 1);
    int32_t from = 0, to = 0, step = 0;
    if (!TryTextToInt(fromText, from) || !TryTextToInt(toText, to) || !TryTextToInt(stepText, step))
        return false;
    if (step == 0) return false;
    // 64-bit, so that wide ranges cannot overflow before they are judged.
    const int64_t count = (int64_t(to) - from) / step + 1;
    if (count < 0 || count > MaxIntListRange) return false;
    out.reserve(static_cast<std::size_t>(count));
    for (int64_t i = 0; i < count; ++i) out.push_back(static_cast<int32_t>(from + i * step));
    return true;
}

} // namespace

std::string_view TrimText(std::string_view text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && IsBlank(text[b])) ++b;
    while (e > b && IsBlank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

std::string_view CopyChars(std::string_view text, int index, int count)
{
    if (index < 1) index = 1;
    if (count <= 0) return {};
    std::size_t i = 0;
    for (int skip = index - 1; skip > 0 && i < text.size(); --skip) i += CharLen(text, i);
    std::size_t e = i;
    for (int take = count; take > 0 && e < text.size(); --take) e += CharLen(text, e);
    return text.substr(i, e - i);
}

bool TryTextToInt(std::string_view text, int32_t& value)
{
    const std::string_view s = TrimText(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < s.size() && s[i] == '$') {
        hex = true;
        i += 1;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= s.size()) return false;

    uint64_t magnitude = 0;
    const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; i < s.size(); ++i) {
        const int d = hex ? HexDigit(s[i]) : (IsDigit(s[i]) ? s[i] - '0' : -1);
        if (d < 0) return false;
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<uint64_t>(d);
        if (magnitude > limit) return false;
    }
    // Hexadecimal texts give the 32-bit pattern; the sign then negates it with wrap-around.
    uint32_t bits = static_cast<uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    value = static_cast<int32_t>(bits);
    return true;
}

int32_t TextToInt(std::string_view text)
{
    int32_t v = 0;
    return TryTextToInt(text, v) ? v : 0;
}

std::string DrawValuesText(const TDraw& draw)
{
    std::string r = JoinInts(draw.Nums, draw.Nums.size(), ";");
    r += " e:";
    AppendInt(r, draw.Extra);
    return r;
}

std::string DrawToText(const TDraw& draw)
{
    std::string r = "Тираж № ";
    AppendInt(r, draw.DrawNo);
    r += " от ";
    r += draw.DateText();
    r += ", значения: ";
    r += DrawValuesText(draw);
    return r;
}

std::string CombToText(const TComb& comb) { return JoinInts(comb, comb.size(), ";"); }

std::string CombToSpacedText(const TComb& comb)
{
    std::string r;
    r.reserve(comb.size() * 3);
    for (std::size_t i = 0; i < comb.size(); ++i) {
        if (i > 0) r += ' ';
        if (comb[i] < 10) r += '0';
        AppendInt(r, comb[i]);
    }
    return r;
}

std::string NumSetToText(const TNumSet& set, std::string_view sep)
{
    const auto count = static_cast<std::size_t>(std::clamp<int32_t>(set.Count, 0, NumsPerDraw));
    return JoinInts(set.Nums, count, sep);
}

std::string IntListToText(const TIntArray& arr, std::string_view sep)
{
    return JoinInts(arr, arr.size(), sep);
}

TComb ParseComb(std::string_view text)
{
    TComb comb{};
    int words = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsCombSeparator(text[i])) ++i;
        if (i >= text.size()) break;
        const std::size_t start = i;
        while (i < text.size() && !IsCombSeparator(text[i])) ++i;
        if (words < NumsPerDraw) {
            // Numbers that do not fit a byte would wrap to a plausible number; 0 is refused
            // by every check that follows.
            const int32_t v = TextToInt(text.substr(start, i - start));
            comb[words] = (v >= 0 && v <= 255) ? static_cast<uint8_t>(v) : 0;
        }
        ++words;
    }
    if (words != NumsPerDraw)
        throw Error("Некорректная комбинация: \"" + std::string(text) + "\"!");
    return comb;
}

TIntArray ParseIntList(std::string_view text)
{
    TIntArray r;
    if (text.empty()) return r;
    if (TryListForm(text, r)) return r;
    if (TryRangeForm(text, r)) return r;
    r.clear();
    return r;
}

std::string StakeOriginCaption(int code)
{
    switch (code) {
    case 1: return "Вручную";
    case 2: return "Регуляр";
    case 3: return "Сценарий";
    case 4: return "Система";
    default: return {};
    }
}

std::string SegmentsToText(const TNumMap& seg)
{
    std::string r;
    r.reserve(seg.size());
    for (uint8_t s : seg) AppendInt(r, s);
    return r;
}

TNumMap TextToSegments(std::string_view text)
{
    TNumMap seg;
    seg.fill(1);
    std::size_t pos = 0;
    for (std::size_t n = 0; n < seg.size() && pos < text.size(); ++n) {
        const std::size_t len = CharLen(text, pos);
        if (len == 1 && IsDigit(text[pos])) seg[n] = static_cast<uint8_t>(text[pos] - '0');
        pos += len;
    }
    return seg;
}

} // namespace kv::game

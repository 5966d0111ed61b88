#include "core/util/textcut.h"

#include <array>

#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "core/util/format.h"

namespace kv::util {

namespace {

using UpperTable = std::array<unsigned char, 256>;

// Windows-1251 case pairs outside a..z and а..я, as the system's ANSI upper case folds them.
constexpr std::array<std::pair<unsigned char, unsigned char>, 11> CyrillicPairs = {{
    {0x90, 0x80}, {0x83, 0x81}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D}, {0x9E, 0x8E},
    {0x9F, 0x8F}, {0xA2, 0xA1}, {0xB8, 0xA8}, {0xBA, 0xAA}, {0xBF, 0xAF},
}};

constexpr UpperTable makeUpperTable()
{
    UpperTable t{};
    for (int i = 0; i < 256; ++i) t[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
    for (int c = 'a'; c <= 'z'; ++c) t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c - 32);
    for (int c = 0xE0; c <= 0xFF; ++c) t[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c - 32);
    for (const auto& [lower, upper] : CyrillicPairs) t[lower] = upper;
    t[0xB3] = 0xB2;  // і
    t[0xB4] = 0xA5;  // ґ
    t[0xBC] = 0xA3;  // ј
    t[0xBE] = 0xBD;  // ѕ
    return t;
}

constexpr UpperTable Upper = makeUpperTable();

inline unsigned char up(char c)
{
    return Upper[static_cast<unsigned char>(c)];
}

struct Found {
    bool begin = false;       // the begin marker is there
    bool end = false;         // and the end marker after it
    std::size_t from = 0;     // the piece's first byte
    std::size_t to = 0;       // one past its last byte
    std::size_t consumed = 0; // bytes up to and including the end marker
};

Found locate(std::string_view text, std::string_view begin, std::string_view end)
{
    Found f;
    const std::size_t b = AnsiFindNoCase(text, begin);
    if (b == std::string_view::npos) return f;
    f.begin = true;
    f.from = b + begin.size();
    if (end.empty()) {
        f.end = true;
        f.to = f.consumed = text.size();
        return f;
    }
    const std::size_t e = AnsiFindNoCase(text, end, f.from);
    if (e == std::string_view::npos) return f;
    f.end = true;
    f.to = e;
    f.consumed = e + end.size();
    return f;
}

std::string piece(std::string_view text, std::size_t from, std::size_t to)
{
    return UnquoteText(TrimControl(text.substr(from, to - from)));
}

} // namespace

char AnsiUpperChar(char c)
{
    return static_cast<char>(up(c));
}

std::size_t AnsiFindNoCase(std::string_view text, std::string_view what, std::size_t from)
{
    if (from > text.size()) return std::string_view::npos;
    if (what.empty()) return from;
    if (what.size() > text.size() - from) return std::string_view::npos;
    const unsigned char first = up(what[0]);
    const std::size_t last = text.size() - what.size();
    for (std::size_t i = from; i <= last; ++i) {
        if (up(text[i]) != first) continue;
        std::size_t k = 1;
        while (k < what.size() && up(text[i + k]) == up(what[k])) ++k;
        if (k == what.size()) return i;
    }
    return std::string_view::npos;
}

std::string AnsiRemoveNoCase(std::string_view text, std::string_view what)
{
    if (what.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t at = AnsiFindNoCase(text, what, pos);
        if (at == std::string_view::npos) break;
        out.append(text.substr(pos, at - pos));
        pos = at + what.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::string_view TrimControl(std::string_view text)
{
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
    return text.substr(b, e - b);
}

std::string UnquoteText(std::string_view text)
{
    std::string s(text);
    if (s.size() < 2 || s.front() != '"' || s.back() != '"') return s;
    s = s.substr(1, s.size() - 2);
    // From the end: every quote goes, but one preceded by a quote leaves that partner in place.
    for (std::size_t i = s.size(); i-- > 0;) {
        if (s[i] != '"') continue;
        const bool doubled = i > 0 && s[i - 1] == '"';
        s.erase(i, 1);
        if (doubled) --i;
    }
    return s;
}

std::string PairMessage(std::string_view text, std::string_view begin, std::string_view end)
{
    std::string shown(text.substr(0, PairMessageTextLimit));
    if (text.size() > PairMessageTextLimit) shown += "...";
    return Format("Не удалось найти пару идентификаторов \"%1:s\" - \"%2:s\" в тексте\n\n[%0:s]!",
                  {Cp1251ToUtf8(shown), Cp1251ToUtf8(begin), Cp1251ToUtf8(end)});
}

std::string CutBetween(std::string_view text, std::string_view begin, std::string_view end, CutMode mode)
{
    const Found f = locate(text, begin, end);
    if (!f.begin) return {};
    if (f.end) return piece(text, f.from, f.to);
    switch (mode) {
    case CutMode::Fail: throw Error(PairMessage(text, begin, end));
    case CutMode::Empty: return {};
    case CutMode::ToEnd: break;
    }
    return piece(text, f.from, text.size());
}

std::string CutBetweenAndConsume(std::string& text, std::string_view begin, std::string_view end, CutMode mode)
{
    const Found f = locate(text, begin, end);
    if (!f.begin) return {};
    std::string result;
    if (f.end) {
        result = piece(text, f.from, f.to);
        text.erase(0, f.consumed);
        return result;
    }
    switch (mode) {
    case CutMode::Fail: throw Error(PairMessage(text, begin, end));
    case CutMode::Empty: return {};
    case CutMode::ToEnd: break;
    }
    result = piece(text, f.from, text.size());
    text.clear();
    return result;
}

std::string CutSection(std::string& text, std::string_view marker)
{
    const std::size_t b = AnsiFindNoCase(text, marker);
    if (b == std::string::npos) return {};
    const std::size_t from = b + marker.size();
    const std::size_t next = marker.empty() ? std::string::npos : AnsiFindNoCase(text, marker, from);
    if (next == std::string::npos) {
        std::string result = piece(text, from, text.size());
        text.clear();
        return result;
    }
    std::string result = piece(text, from, next);
    text.erase(0, next);
    return result;
}

std::string CutTwice(std::string_view text, std::string_view begin1, std::string_view end1, std::string_view begin2,
                     std::string_view end2, CutMode mode)
{
    return CutBetween(CutBetween(text, begin1, end1, mode), begin2, end2, mode);
}

} // namespace kv::util

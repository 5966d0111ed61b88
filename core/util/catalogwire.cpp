#include "core/util/catalogwire.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/util/error.h"
#include "core/util/textcut.h"

namespace kv::util {

namespace {

constexpr char Base64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int base64Digit(char c)
{
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percentDecode(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < s.size() && hexDigit(s[i + 1]) >= 0 && hexDigit(s[i + 2]) >= 0) {
            out += static_cast<char>(hexDigit(s[i + 1]) * 16 + hexDigit(s[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

void percentEncode(std::string& out, std::string_view s)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
}

// Days since 1970-01-01 of a civil date (proleptic Gregorian), without the C library's
// time zone.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

} // namespace

std::string EncodeBase64(std::string_view bytes)
{
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += Base64Alphabet[v >> 18];
        out += Base64Alphabet[(v >> 12) & 63];
        out += Base64Alphabet[(v >> 6) & 63];
        out += Base64Alphabet[v & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (rest == 2) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += Base64Alphabet[v >> 18];
        out += Base64Alphabet[(v >> 12) & 63];
        out += rest == 2 ? Base64Alphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::optional<std::string> DecodeBase64(std::string_view text)
{
    std::string out;
    out.reserve(text.size() / 4 * 3);
    unsigned acc = 0;
    int bits = 0;
    std::size_t digits = 0;
    std::size_t padding = 0;
    for (const char c : text) {
        if (c == '\r' || c == '\n' || c == ' ' || c == '\t') continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const int d = base64Digit(c);
        if (d < 0 || padding > 0) return std::nullopt;
        ++digits;
        acc = (acc << 6) | static_cast<unsigned>(d);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((acc >> bits) & 0xFFu);
        }
    }
    // A lone digit in the last group carries no whole byte; padding, when present, completes
    // the last group and nothing more.
    if (digits % 4 == 1) return std::nullopt;
    if (padding > 0 && (digits + padding) % 4 != 0) return std::nullopt;
    if (padding > 2) return std::nullopt;
    return out;
}

std::string DecodeBase64Prefix(std::string_view text)
{
    std::string out;
    unsigned acc = 0;
    int bits = 0;
    for (const char c : text) {
        const int d = base64Digit(c);
        if (d < 0) break;
        acc = (acc << 6) | static_cast<unsigned>(d);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((acc >> bits) & 0xFFu);
        }
    }
    return out;
}

std::string EscapeCatalogText(std::string_view text)
{
    static constexpr char controls[] = "0123456abtnvfr";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 13) {
            out += '\\';
            out += controls[u];
        } else if (u == 27) {
            out += "\\e";
        } else if (c == '"' || c == '\'' || c == '?' || c == '\\') {
            out += '\\';
            out += c;
        } else {
            out += c;
        }
    }
    return out;
}

std::string UnescapeCatalogText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char n = text[++i];
        switch (n) {
        case 'a': out += '\a'; break;
        case 'b': out += '\b'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'v': out += '\v'; break;
        case 'f': out += '\f'; break;
        case 'r': out += '\r'; break;
        case 'e': out += '\x1b'; break;
        default:
            if (n >= '0' && n <= '6') out += static_cast<char>(n - '0');
            else out += n;
        }
    }
    return out;
}

std::string FormEncode(const TFormFields& fields)
{
    std::string out;
    for (const auto& [name, value] : fields) {
        if (!out.empty()) out += '&';
        percentEncode(out, name);
        out += '=';
        percentEncode(out, value);
    }
    return out;
}

TFormFields FormDecode(std::string_view body)
{
    TFormFields out;
    std::size_t pos = 0;
    while (pos <= body.size()) {
        std::size_t amp = body.find('&', pos);
        if (amp == std::string_view::npos) amp = body.size();
        const std::string_view pair = body.substr(pos, amp - pos);
        if (!pair.empty()) {
            const std::size_t eq = pair.find('=');
            if (eq == std::string_view::npos) out.emplace_back(percentDecode(pair), std::string());
            else out.emplace_back(percentDecode(pair.substr(0, eq)), percentDecode(pair.substr(eq + 1)));
        }
        pos = amp + 1;
    }
    return out;
}

std::optional<std::string> FormValue(const TFormFields& fields, std::string_view name)
{
    for (const auto& [n, v] : fields)
        if (n == name) return v;
    return std::nullopt;
}

std::string FormatUtcTime(std::int64_t unixSeconds)
{
    if (unixSeconds <= 0) return {};
    const auto t = static_cast<std::time_t>(unixSeconds);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

std::optional<std::int64_t> ParseUtcTime(std::string_view text)
{
    if (text.empty()) return 0;
    static constexpr std::string_view pattern = "dddd-dd-dd dd:dd:dd";
    if (text.size() != pattern.size()) return std::nullopt;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (pattern[i] == 'd' ? !digit : text[i] != pattern[i]) return std::nullopt;
    }
    const auto num = [&](std::size_t at, std::size_t len) {
        int v = 0;
        for (std::size_t i = at; i < at + len; ++i) v = v * 10 + (text[i] - '0');
        return v;
    };
    const int y = num(0, 4), mo = num(5, 2), d = num(8, 2), h = num(11, 2), mi = num(14, 2), s = num(17, 2);
    static constexpr int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1970 || mo < 1 || mo > 12 || d < 1 || h > 23 || mi > 59 || s > 59) return std::nullopt;
    if (d > monthDays[mo - 1] + (mo == 2 && isLeap(y) ? 1 : 0)) return std::nullopt;
    return daysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) * 86400 + h * 3600 + mi * 60 + s;
}

std::vector<std::string_view> SplitSystemWords(std::string_view line)
{
    static constexpr std::string_view separators = " *+,-./:;=\\_|~\t";
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        i = line.find_first_not_of(separators, i);
        if (i == std::string_view::npos) break;
        const std::size_t end = std::min(line.find_first_of(separators, i), line.size());
        words.push_back(line.substr(i, end - i));
        i = end;
    }
    return words;
}

void AppendTaggedRow(std::string& out, const TTaggedRow& row)
{
    out += "<row>";
    for (const auto& [tag, value] : row) {
        out += '<';
        out += tag;
        out += '>';
        out += value;
        out += "</";
        out += tag;
        out += '>';
    }
    out += "</row>";
}

std::string TaggedAnswer(const std::vector<TTaggedRow>& rows)
{
    std::string out = "<result>";
    for (const TTaggedRow& row : rows) AppendTaggedRow(out, row);
    out += "</result>";
    return out;
}

std::string TaggedError(std::string_view message) { return TaggedAnswer({{{"error", std::string(message)}}}); }

std::vector<std::string> ReadTaggedRows(std::string_view body)
{
    if (AnsiFindNoCase(body, "<result>") == std::string_view::npos)
        throw Error("Ответ сервера не содержит результата");
    std::string rest = CutBetween(body, "<result>", "</result>", CutMode::Fail);
    std::vector<std::string> rows;
    while (AnsiFindNoCase(rest, "<row>") != std::string::npos) {
        std::string row = CutBetweenAndConsume(rest, "<row>", "</row>", CutMode::Fail);
        if (AnsiFindNoCase(row, "<error>") != std::string::npos) {
            const std::string message = CutBetween(row, "<error>", "</error>", CutMode::ToEnd);
            throw Error(message.empty() ? std::string("Сервер сообщил об ошибке") : message);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string RowField(std::string_view row, std::string_view tag)
{
    std::string open;
    open.reserve(tag.size() + 2);
    open.append("<").append(tag).append(">");
    std::string close;
    close.reserve(tag.size() + 3);
    close.append("</").append(tag).append(">");
    return CutBetween(row, open, close, CutMode::Fail);
}

} // namespace kv::util

#include "core/util/ini.h"

#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "core/util/files.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <utility>
#include <cmath>

namespace kv::util {

namespace {


std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool iequals(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

// A line break inside a written key or value would split it into junk lines on the next read.
std::string singleLine(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        if (c == '\r' || c == '\n') c = ' ';
    return r;
}

bool isBlank(std::string_view line) { return trim(line).empty(); }

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    c = lowerAscii(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

IniFile IniFile::Load(const std::filesystem::path& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return IniFile{};
    return Parse(ReadWholeFile(path));
}

IniFile IniFile::Parse(std::string_view cp1251Text)
{
    // A file that a modern editor saved as UTF-8 (with a BOM or without) is read as such and
    // written back in CP1251 like every other settings file.
    const std::string text = TextFileToUtf8(cp1251Text);
    IniFile ini;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t brk = text.find_first_of("\r\n", pos);
        const std::size_t end = brk == std::string::npos ? text.size() : brk;
        const std::string_view line(text.data() + pos, end - pos);
        pos = end;
        if (pos < text.size()) pos += text.compare(pos, 2, "\r\n") == 0 ? 2 : 1;

        const std::string_view t = trim(line);
        if (!t.empty() && t.front() == '[') {
            const std::size_t close = t.find(']');
            const std::string_view inner =
                t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
            ini.m_sections.push_back(Section{std::string(trim(inner)), std::string(line), {}});
            continue;
        }
        if (ini.m_sections.empty()) ini.m_sections.push_back(Section{});
        Line l{std::string(line), {}, {}};
        const std::size_t eq = line.find('=');
        if (!t.empty() && t.front() != ';' && eq != std::string_view::npos) {
            const std::string_view key = trim(line.substr(0, eq));
            if (!key.empty()) {
                l.key = std::string(key);
                l.value = std::string(trim(line.substr(eq + 1)));
            }
        }
        ini.m_sections.back().lines.push_back(std::move(l));
    }
    return ini;
}

void IniFile::Save(const std::filesystem::path& path) const { RewriteFile(path, ToText()); }

std::string IniFile::ToText() const
{
    std::string out;
    for (const Section& s : m_sections) {
        if (!s.header.empty()) {
            out += s.header;
            out += "\r\n";
        }
        for (const Line& l : s.lines) {
            out += l.text;
            out += "\r\n";
        }
    }
    return Utf8ToCp1251(out);
}

const IniFile::Section* IniFile::findSection(std::string_view name) const
{
    for (const Section& s : m_sections)
        if (!s.header.empty() && iequals(s.name, name)) return &s;
    return nullptr;
}

IniFile::Section* IniFile::findSection(std::string_view name)
{
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

bool IniFile::HasSection(std::string_view section) const { return findSection(section) != nullptr; }

bool IniFile::HasKey(std::string_view section, std::string_view key) const
{
    return Value(section, key).has_value();
}

std::optional<std::string> IniFile::Value(std::string_view section, std::string_view key) const
{
    const Section* s = findSection(section);
    if (!s) return std::nullopt;
    for (const Line& l : s->lines)
        if (!l.key.empty() && iequals(l.key, key)) return l.value;
    return std::nullopt;
}

std::vector<std::string> IniFile::Sections() const
{
    std::vector<std::string> names;
    for (const Section& s : m_sections)
        if (!s.header.empty() && findSection(s.name) == &s) names.push_back(s.name);
    return names;
}

std::vector<std::string> IniFile::Keys(std::string_view section) const
{
    std::vector<std::string> keys;
    const Section* s = findSection(section);
    if (!s) return keys;
    for (const Line& l : s->lines) {
        if (l.key.empty()) continue;
        bool seen = false;
        for (const std::string& k : keys) seen = seen || iequals(k, l.key);
        if (!seen) keys.push_back(l.key);
    }
    return keys;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const
{
    auto v = Value(section, key);
    return v ? *v : std::string(def);
}

int64_t IniFile::ReadInteger(std::string_view section, std::string_view key, int64_t def) const
{
    int64_t v;
    const auto text = Value(section, key);
    return text && TryParseInt(*text, v) ? v : def;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const
{
    const auto text = Value(section, key);
    if (!text) return def;
    int64_t v;
    if (TryParseInt(*text, v)) return v != 0;
    if (iequals(*text, "true")) return true;
    if (iequals(*text, "false")) return false;
    return def;
}

double IniFile::ReadFloat(std::string_view section, std::string_view key, double def) const
{
    double v;
    const auto text = Value(section, key);
    return text && TryParseFloat(*text, v) ? v : def;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string k = singleLine(trim(key));
    if (k.empty()) return;
    const std::string v = singleLine(value);
    Section* s = findSection(section);
    if (!s) {
        // Sections are kept apart by a blank line, as the files written by hand usually are.
        if (!m_sections.empty()) {
            Section& last = m_sections.back();
            if (!last.lines.empty() ? !isBlank(last.lines.back().text) : !last.header.empty())
                last.lines.push_back(Line{});
        }
        const std::string name = singleLine(section);
        m_sections.push_back(Section{name, "[" + name + "]", {}});
        s = &m_sections.back();
    }
    for (Line& l : s->lines) {
        if (!l.key.empty() && iequals(l.key, k)) {
            l.value = std::string(trim(v));
            l.text = l.key + "=" + v;
            return;
        }
    }
    // A new key goes after the section's last key, ahead of the blank lines and comments that
    // usually introduce the next section.
    std::size_t at = 0;
    for (std::size_t i = 0; i < s->lines.size(); ++i)
        if (!s->lines[i].key.empty()) at = i + 1;
    if (at == 0)
        for (std::size_t i = 0; i < s->lines.size(); ++i)
            if (!isBlank(s->lines[i].text)) at = i + 1;
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at),
                    Line{k + "=" + v, k, std::string(trim(v))});
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int64_t value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteFloat(std::string_view section, std::string_view key, double value)
{
    WriteString(section, key, FloatToIniText(value));
}

void IniFile::EraseKey(std::string_view section, std::string_view key)
{
    Section* s = findSection(section);
    if (!s) return;
    std::erase_if(s->lines, [&](const Line& l) { return !l.key.empty() && iequals(l.key, key); });
}

void IniFile::EraseSection(std::string_view section)
{
    std::erase_if(m_sections, [&](const Section& s) {
        return !s.header.empty() && iequals(s.name, section);
    });
}

std::string FloatToIniText(double v)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

bool TryParseFloat(std::string_view text, double& out)
{
    std::string s(trim(text));
    if (!s.empty() && s.front() == '+') {
        s.erase(0, 1);
        if (!s.empty() && s.front() == '-') return false;
    }
    bool separator = false;
    for (char& c : s) {
        if (c == ',' || c == '.') {
            if (separator) return false;
            separator = true;
            c = '.';
        }
    }
    double v;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || r.ec != std::errc{} || r.ptr != s.data() + s.size() || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

bool TryParseInt(std::string_view text, int64_t& out)
{
    std::string_view s = trim(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    uint64_t magnitude = 0;
    if (s.starts_with('$') || s.starts_with("0x") || s.starts_with("0X")) {
        s.remove_prefix(s.front() == '$' ? 1 : 2);
        if (s.empty()) return false;
        for (char c : s) {
            const int d = hexDigit(c);
            if (d < 0 || magnitude >> 60 != 0) return false;
            magnitude = magnitude << 4 | static_cast<unsigned>(d);
        }
        out = static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
        return true;
    }
    if (s.empty()) return false;
    const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        const unsigned d = static_cast<unsigned>(c - '0');
        if (magnitude > (limit - d) / 10) return false;
        magnitude = magnitude * 10 + d;
    }
    out = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

} // namespace kv::util

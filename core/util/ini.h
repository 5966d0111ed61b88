#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::util {

// An INI document as Windows keeps it: sections and keys compared without regard to ASCII case,
// their order and every other line (comments, blank lines) preserved, so writing one key keeps
// the rest of the file as it was. Files are CP1251 with CR LF line ends; memory is UTF-8.
// Lines may end in CR LF, LF or CR; keys and values are trimmed of spaces and tabs; a line
// starting with ";" is a comment. Where a key or a section appears twice, the first one is
// read and written. Lines before the first section header belong to no section.
class IniFile {
public:
    IniFile() = default;

    // A missing file gives an empty document; an unreadable one fails with kv::Error.
    static IniFile Load(const std::filesystem::path& path);
    static IniFile Parse(std::string_view cp1251Text);
    // Writes the whole document through RewriteFile. Fails with kv::Error.
    void Save(const std::filesystem::path& path) const;
    std::string ToText() const; // CP1251, CR LF

    bool HasSection(std::string_view section) const;
    bool HasKey(std::string_view section, std::string_view key) const;
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    std::vector<std::string> Sections() const;
    std::vector<std::string> Keys(std::string_view section) const;

    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    // Decimal (or "$" / "0x" hexadecimal) integer; anything else, or out of range, gives def.
    int64_t ReadInteger(std::string_view section, std::string_view key, int64_t def) const;
    // An integer value, non-zero meaning true, or "true"/"false" in any case; anything else
    // gives def.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    // Accepts "." or "," as decimal point; anything else gives def.
    double ReadFloat(std::string_view section, std::string_view key, double def) const;

    // Replaces the value in place, or appends the key at the end of its section (creating the
    // section at the end of the document when missing).
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int64_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value); // "1" / "0"
    void WriteFloat(std::string_view section, std::string_view key, double value); // "." always

    void EraseKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);

private:
    struct Line {
        std::string text;    // the line as written out: as read, rebuilt when the value changes
        std::string key;     // non-empty for key=value lines
        std::string value;
    };
    struct Section {
        std::string name;    // empty for lines before the first section header
        std::string header;  // the header line as read; empty only for that leading block
        std::vector<Line> lines;
    };
    std::vector<Section> m_sections;

    const Section* findSection(std::string_view name) const;
    Section* findSection(std::string_view name);
};

// Text of a double for settings files: shortest round-trip form with "." ("0.5", "3", "1.25").
std::string FloatToIniText(double v);
// Parses a decimal number with "." or "," as decimal point; false when the text is not one.
bool TryParseFloat(std::string_view text, double& out);
// Parses a decimal integer (optional sign, surrounding spaces allowed) or hexadecimal with
// Delphi's "$" or C's "0x". Decimal text must lie in the int64 range; hexadecimal is read as a
// 64-bit pattern, as Delphi reads it ("$FFFFFFFFFFFFFFFF" is -1).
bool TryParseInt(std::string_view text, int64_t& out);

} // namespace kv::util

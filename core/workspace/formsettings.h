#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv::workspace {

// The window-settings file (".frm", an INI file). Every read opens the file, reads one key and
// closes it; every write opens it, writes one key and writes the whole file back, so several
// windows and dialogs can keep their sections in one file without stepping on each other.
// Missing or unreadable keys give the default; a failed write is reported by the caller.
class FormSettings {
public:
    explicit FormSettings(std::filesystem::path path, std::string section = "TFormMain")
        : m_path(std::move(path)), m_section(std::move(section)) {}

    const std::filesystem::path& Path() const { return m_path; }
    const std::string& Section() const { return m_section; }
    FormSettings WithSection(std::string section) const { return FormSettings(m_path, std::move(section)); }

    bool Has(std::string_view key) const;
    std::string ReadString(std::string_view key, std::string_view def) const;
    int ReadInt(std::string_view key, int def) const;
    bool ReadBool(std::string_view key, bool def) const;
    // "%d,%d,%d,%d"; false (and rect untouched) when the key is missing or malformed.
    bool ReadRect(std::string_view key, int rect[4]) const;

    void WriteString(std::string_view key, std::string_view value) const;
    void WriteInt(std::string_view key, int value) const;
    void WriteBool(std::string_view key, bool value) const;
    void WriteRect(std::string_view key, const int rect[4]) const;
    // Several keys in one rewrite of the file (the window state at shutdown).
    void WriteAll(const std::vector<std::pair<std::string, std::string>>& values) const;

private:
    std::filesystem::path m_path;
    std::string m_section;
};

} // namespace kv::workspace

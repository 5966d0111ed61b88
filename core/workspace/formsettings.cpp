#include "core/workspace/formsettings.h"

#include <limits>

#include "core/util/format.h"
#include "core/util/ini.h"

namespace kv::workspace {

namespace {

util::IniFile loadQuietly(const std::filesystem::path& path)
{
    try {
        return util::IniFile::Load(path);
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace

bool FormSettings::Has(std::string_view key) const
{
    return loadQuietly(m_path).HasKey(m_section, key);
}

std::string FormSettings::ReadString(std::string_view key, std::string_view def) const
{
    return loadQuietly(m_path).ReadString(m_section, key, def);
}

int FormSettings::ReadInt(std::string_view key, int def) const
{
    const int64_t v = loadQuietly(m_path).ReadInteger(m_section, key, def);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return def;
    return static_cast<int>(v);
}

bool FormSettings::ReadBool(std::string_view key, bool def) const
{
    return loadQuietly(m_path).ReadBool(m_section, key, def);
}

bool FormSettings::ReadRect(std::string_view key, int rect[4]) const
{
    const std::string text = ReadString(key, "");
    int v[4];
    std::size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = text.find(',', pos);
        const std::string part = text.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
        int64_t n = 0;
        if (!util::TryParseInt(part, n) || n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
            return false;
        v[i] = static_cast<int>(n);
        if (i < 3) {
            if (comma == std::string::npos) return false;
            pos = comma + 1;
        } else if (comma != std::string::npos) {
            return false;
        }
    }
    for (int i = 0; i < 4; ++i) rect[i] = v[i];
    return true;
}

void FormSettings::WriteString(std::string_view key, std::string_view value) const
{
    util::IniFile ini = util::IniFile::Load(m_path);
    ini.WriteString(m_section, key, value);
    ini.Save(m_path);
}

void FormSettings::WriteInt(std::string_view key, int value) const
{
    WriteString(key, std::to_string(value));
}

void FormSettings::WriteBool(std::string_view key, bool value) const
{
    WriteString(key, value ? "1" : "0");
}

void FormSettings::WriteRect(std::string_view key, const int rect[4]) const
{
    WriteString(key, util::Format("%d,%d,%d,%d", {rect[0], rect[1], rect[2], rect[3]}));
}

void FormSettings::WriteAll(const std::vector<std::pair<std::string, std::string>>& values) const
{
    util::IniFile ini = util::IniFile::Load(m_path);
    for (const auto& [key, value] : values) ini.WriteString(m_section, key, value);
    ini.Save(m_path);
}

} // namespace kv::workspace

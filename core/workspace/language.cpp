#include "core/workspace/language.h"

#include "core/util/format.h"

namespace kv::workspace {

namespace {

// The languages a module can be made for, by locale identifier (Windows' LCIDs and their
// three-letter abbreviations, which the module and help names use).
constexpr TLanguage Languages[] = {
    {1031, "DEU", "Deutsch"},    {1033, "ENU", "English"},     {1036, "FRA", "Français"},
    {1045, "PLK", "Polski"},     {1049, "RUS", "Русский"},     {1058, "UKR", "Українська"},
    {1059, "BEL", "Беларуская"}, {1063, "LTH", "Lietuvių"},    {1087, "KKZ", "Қазақ тілі"},
};

} // namespace

const TLanguage* FindLanguage(int id)
{
    for (const TLanguage& l : Languages)
        if (l.Id == id) return &l;
    return nullptr;
}

std::filesystem::path LanguageModulePath(const std::filesystem::path& exePath, std::string_view abbrev)
{
    std::filesystem::path stem = exePath;
    stem.replace_extension();
    std::string name = stem.filename().string();
    name.append("_").append(abbrev).append(".lng");
    return stem.parent_path() / name;
}

std::vector<TLanguage> ScanLanguages(const std::filesystem::path& exePath)
{
    std::vector<TLanguage> found{*FindLanguage(RussianLanguage)};
    // Every identifier that has a language is tried; the table is in identifier order.
    for (const TLanguage& l : Languages) {
        std::error_code ec;
        if (l.Id != RussianLanguage && std::filesystem::is_regular_file(LanguageModulePath(exePath, l.Abbrev), ec))
            found.push_back(l);
    }
    return found;
}

int ChosenLanguage(int languageKey, const CommandLine& cmd)
{
    if (cmd.noLanguage || !FindLanguage(languageKey)) return RussianLanguage;
    return languageKey;
}

std::string ModuleMissingText(const std::filesystem::path& module)
{
    return util::Format("Языковый модуль \"%s\" не найден!", {module.filename().string()});
}

std::string ModuleDamagedText(const std::filesystem::path& module)
{
    return util::Format("Языковый модуль \"%s\" поврежден и не может быть загружен!", {module.filename().string()});
}

std::vector<std::string> RestartArguments(const CommandLine& cmd)
{
    std::vector<std::string> args{"restart"};
    if (!cmd.dataDir.empty()) {
        args.emplace_back("--data-dir");
        args.push_back(cmd.dataDir.string());
    }
    return args;
}

} // namespace kv::workspace

#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/workspace/cmdline.h"

namespace kv::workspace {

// An interface language: its locale identifier, the three-letter abbreviation that names its
// module and its help, and its own name for the menu "Язык интерфейса".
struct TLanguage {
    int Id = 0;
    const char* Abbrev = "";
    const char* Name = "";
};
// The built-in language.
constexpr int RussianLanguage = 1049;

// The language of a locale identifier; nullptr for an identifier without one.
const TLanguage* FindLanguage(int id);
// "<executable without extension>_<abbreviation>.lng".
std::filesystem::path LanguageModulePath(const std::filesystem::path& exePath, std::string_view abbrev);
// The languages on offer: Russian (built in) first, then, in the order of their identifiers,
// every language whose module lies beside the executable.
std::vector<TLanguage> ScanLanguages(const std::filesystem::path& exePath);
// The language of this start: the Language key of the window settings, Russian with
// "no-language" or for an identifier no language has.
int ChosenLanguage(int languageKey, const CommandLine& cmd);
// "Языковый модуль "<file>" не найден!" and the text for a module that cannot be read.
std::string ModuleMissingText(const std::filesystem::path& module);
std::string ModuleDamagedText(const std::filesystem::path& module);

// The arguments of the instance that replaces this one: "restart" and the data folder when
// one was given, so the new instance works on the same files.
std::vector<std::string> RestartArguments(const CommandLine& cmd);

} // namespace kv::workspace

#pragma once
#include <filesystem>
#include <string_view>

namespace kv::workspace {

// The help file "Varta_<language>.chm" (language: "RUS"): looked for in the program's folder,
// then in its "help" subfolder, then in a "help" folder beside the program's folder. Empty when
// none of them holds it; statistics then have no description address.
std::filesystem::path FindHelpFile(const std::filesystem::path& programDir, std::string_view language);

} // namespace kv::workspace

#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace kv::workspace {

// The help: a folder of HTML pages "Kvanta_8x20_<language>" (language: "RUS") whose contents
// page is "index.html". Looked for in the program's folder, then in its "help" subfolder, then
// in a "help" folder beside the program's folder, then where an installed program keeps its
// shared files (bin/../share/kvanta-8x20/help). The result is the contents page; empty when
// none of the places holds it, and statistics then have no description address.
std::filesystem::path FindHelpFile(const std::filesystem::path& programDir, std::string_view language);

// The folder name of the help in a language ("Kvanta_8x20_RUS").
std::string HelpFolderName(std::string_view language);

} // namespace kv::workspace

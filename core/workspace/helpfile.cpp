#include "core/workspace/helpfile.h"

#include <string>

namespace kv::workspace {

std::string HelpFolderName(std::string_view language)
{
    std::string name = "Kvanta_8x20_";
    name.append(language);
    return name;
}

std::filesystem::path FindHelpFile(const std::filesystem::path& programDir, std::string_view language)
{
    const std::filesystem::path name = std::filesystem::path(HelpFolderName(language)) / "index.html";
    // "dir/" and "dir" must find the same parent folder.
    const std::filesystem::path dir = programDir.lexically_normal().has_filename()
                                          ? programDir.lexically_normal()
                                          : programDir.lexically_normal().parent_path();
    for (const std::filesystem::path& candidate : {dir / name, dir / "help" / name, dir.parent_path() / "help" / name,
                                                   dir.parent_path() / "share" / "kvanta-8x20" / "help" / name}) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
    }
    return {};
}

} // namespace kv::workspace

#include "core/workspace/helpfile.h"

#include <string>

namespace kv::workspace {

std::filesystem::path FindHelpFile(const std::filesystem::path& programDir, std::string_view language)
{
    const std::string name = "Varta_" + std::string(language) + ".chm";
    // "dir/" and "dir" must find the same parent folder.
    const std::filesystem::path dir = programDir.lexically_normal().has_filename()
                                          ? programDir.lexically_normal()
                                          : programDir.lexically_normal().parent_path();
    // The last place is where an installed program's shared files go (bin/../share/...).
    for (const std::filesystem::path& candidate : {dir / name, dir / "help" / name, dir.parent_path() / "help" / name,
                                                   dir.parent_path() / "share" / "kvanta-8x20" / "help" / name}) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
    }
    return {};
}

} // namespace kv::workspace

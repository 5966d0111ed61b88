#include "core/workspace/process.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace kv::workspace {

bool OtherProcessRunning(const std::string& exeFileName)
{
    const std::string self = std::to_string(::getpid());
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string pid = entry.path().filename().string();
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos || pid == self) continue;
        std::error_code linkError;
        const auto exe = std::filesystem::read_symlink(entry.path() / "exe", linkError);
        std::string name;
        if (!linkError) {
            name = exe.filename().string();
            // A replaced executable shows as "name (deleted)".
            const std::string deleted = " (deleted)";
            if (name.size() > deleted.size() && name.compare(name.size() - deleted.size(), deleted.size(), deleted) == 0)
                name.resize(name.size() - deleted.size());
        } else {
            // Processes of other users hide their executable; the command name (cut to 15
            // characters by the kernel) is the best we can see.
            std::ifstream comm(entry.path() / "comm");
            std::getline(comm, name);
            if (name.size() == 15 && exeFileName.size() > 15 && exeFileName.compare(0, 15, name) == 0) return true;
        }
        if (name == exeFileName) return true;
    }
    return false;
}

} // namespace kv::workspace

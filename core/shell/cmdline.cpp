#include "core/shell/cmdline.h"

#include <cstdlib>

namespace kv::shell {

namespace {

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

} // namespace

bool MatchesWord(std::string_view arg, std::string_view word)
{
    if (equalsNoCase(arg, word)) return true;
    for (std::string_view prefix : {"--", "-", "/", "\\"}) {
        if (arg.size() > prefix.size() && arg.substr(0, prefix.size()) == prefix
            && equalsNoCase(arg.substr(prefix.size()), word))
            return true;
    }
    return false;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine cmd;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--data-dir" && i + 1 < args.size()) {
            cmd.dataDir = args[++i];
        } else if (a.rfind("--data-dir=", 0) == 0) {
            cmd.dataDir = a.substr(11);
        } else if (MatchesWord(a, "restart")) {
            cmd.restart = true;
        } else if (MatchesWord(a, "loadonly")) {
            cmd.loadOnly = true;
        } else if (MatchesWord(a, "fullrecreate")) {
            cmd.fullRecreate = true;
        } else if (MatchesWord(a, "fullrefresh")) {
            cmd.fullRefresh = true;
        } else if (MatchesWord(a, "no-language")) {
            cmd.noLanguage = true;
        } else {
            cmd.unknown.push_back(a);
        }
    }
    return cmd;
}

std::filesystem::path ResolveDataDir(const CommandLine& cmd, const std::filesystem::path& exeDir)
{
    if (!cmd.dataDir.empty()) return cmd.dataDir;
    if (const char* env = std::getenv("KVANTA_DATA_DIR"); env && *env) return env;
    return exeDir;
}

} // namespace kv::shell

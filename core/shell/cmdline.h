#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv::shell {

// True when arg names the word: w, -w, --w, /w or \w, ignoring ASCII case.
bool MatchesWord(std::string_view arg, std::string_view word);

struct CommandLine {
    bool restart = false;
    bool loadOnly = false;
    bool fullRecreate = false;
    bool fullRefresh = false;
    bool noLanguage = false;
    std::filesystem::path dataDir;   // empty: not given
    std::vector<std::string> unknown;
};

// Reads the program's words and "--data-dir DIR" / "--data-dir=DIR" (arguments without argv[0]).
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The data directory: the command line's, else $KVANTA_DATA_DIR, else the executable's.
std::filesystem::path ResolveDataDir(const CommandLine& cmd, const std::filesystem::path& exeDir);

} // namespace kv::shell

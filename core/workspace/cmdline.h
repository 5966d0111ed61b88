#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kv::workspace {

// True when arg names the word: w, -w, --w, /w or \w, ignoring ASCII case.
bool MatchesWord(std::string_view arg, std::string_view word);

// R of the luck test that --luck may give.
constexpr int MinLuckDraws = 100;
constexpr int MaxLuckDraws = 10000000;

struct CommandLine {
    bool restart = false;
    bool loadOnly = false;
    bool fullRecreate = false;
    bool fullRefresh = false;
    bool noLanguage = false;
    bool version = false;            // --version: print the version and end
    bool help = false;               // --help, -h: print the usage and end
    std::filesystem::path dataDir;   // empty: not given
    std::vector<std::string> unknown;
    // Qt's own options (-platform NAME, -style NAME, -reverse, ...), which a window start hands
    // to Qt; anything else that is not a word is an error.
    std::vector<std::string> qtArgs;
    // The first thing on the command line that could not be read, in the user's words (an
    // unknown word or option, a missing value, a number not whole or out of range); the
    // program then prints it with the usage lines and exits with code 2.
    std::string error;

    // Headless commands: the word (scripttest, scriptrun, stattable, in lower case), the words
    // after it and their options. A value that is missing or not a number is named in `error`
    // (and, for the headless words, in headlessError as well).
    std::string headless;
    std::vector<std::string> headlessArgs;
    std::filesystem::path scenarioFile;   // --scenario FILE
    std::filesystem::path outFile;        // --out FILE
    int statLen = -1;                     // --len L (-1: not given)
    int statOffset = 0;                   // --offset K
    bool compare = false;                 // --compare
    int holdout = 0;                      // --holdout K: scripttest keeps its last K draws apart
    int luckDraws = 0;                    // --luck R (MinLuckDraws .. MaxLuckDraws): p and q (0: not given)
    std::filesystem::path reportFile;     // --report FILE.html: scripttest writes its report
    std::string headlessError;
};

// True when the command line turns the start into a batch run ("loadonly", "fullrecreate",
// "fullrefresh"): the program does its task without a window and ends.
bool IsBatchRun(const CommandLine& cmd);

// Reads the program's words and "--data-dir DIR" / "--data-dir=DIR" (arguments without argv[0]).
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// A whole decimal number within min..max ("5x", "1e3", " 5", "" and overflowing ones are not).
bool ParseWholeNumber(std::string_view text, int64_t min, int64_t max, int64_t& out);
// What the user typed, safe to echo: control characters and bytes that are not UTF-8 as \xHH.
std::string SafeText(std::string_view text);
// Where --out may not write: one of the program's own files in the data folder (its name begins
// with the program's name or it lies in Prefetchs/ or Systems/), or the scenario file the run
// reads. Empty when the target is allowed; otherwise the reason.
std::string OutFileProblem(const std::filesystem::path& target, const std::filesystem::path& dataDir,
                           const std::filesystem::path& scenarioFile);

// The data directory: the command line's, else $KVANTA_DATA_DIR, else the executable's folder
// when it can be written (the portable layout), else $XDG_DATA_HOME/Kvanta_8x20 (an installed
// program, whose folder belongs to the system: one that cannot be written, or <prefix>/bin with
// the program's menu entry in <prefix>/share/applications).
std::filesystem::path ResolveDataDir(const CommandLine& cmd, const std::filesystem::path& exeDir);
// Creates the data directory when missing and tries to list it and to create a file in it.
// Empty when it can be used; otherwise the one message for the user, naming the directory,
// what is wrong and how to choose another.
std::string PrepareDataDir(const std::filesystem::path& dir);

// "Kvanta_8x20 <version>" and a line break.
std::string VersionText();

// What --help prints: the words, --data-dir and the environment variables.
std::string UsageText();
// Its first lines, the forms of the command line: what a refused command line is shown with.
std::string UsageLines();
// The one message for a command line that could not be read: "Kvanta_8x20: <error>" and the
// usage lines.
std::string CommandLineErrorText(const CommandLine& cmd);

// True when a window can be shown: a display is named or Qt was given a platform.
bool HasDisplay();

// The one line shown instead of Qt's plugin error when there is no display.
std::string NoDisplayText();

} // namespace kv::workspace

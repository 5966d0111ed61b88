#pragma once
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/game/types.h"

namespace kv::shell {
class Shell;
}

namespace kv::filters {

class TCombList;
class TFilterHistory;

// How a new combination list is made (settings CombsGenerateMode / CombsGenerateParameters).
enum TGenerateMode : uint8_t {
    GenerateAll = 0,        // every combination of the game
    GenerateWithAny = 1,    // those with at least one of my numbers
    GenerateOnlyFrom = 2,   // those made of my numbers only
    GenerateWithout = 3,    // those with none of my numbers
    GenerateFromFile = 4,   // the combinations of a combination file
};
constexpr int GenerateModeCount = 5;

struct TGenerateSettings {
    uint8_t Mode = GenerateAll;   // a value above 4 generates the full list
    std::string Parameters;       // my numbers for modes 1..3, the file name for mode 4
};

// The captions of the modes in the generation dialog, by mode.
extern const char* const GenerateModeCaptions[GenerateModeCount];

// My numbers: the Parameters text split at "," and ";", each word read as a number (a non-number
// as 0); values 0..255 are kept, others dropped. Only 1..20 can ever match a combination.
using TGenerateNumbers = std::bitset<256>;
TGenerateNumbers ParseGenerateNumbers(std::string_view parameters);
// True when the text names at least one number of the field: "1 3 5" (spaces) names none, and
// a list of my numbers that names none would silently make an empty or a full list.
bool NamesFieldNumbers(std::string_view parameters);
// What the generation dialog says instead of making such a list; %s is the text as typed.
inline constexpr const char* UnreadNumbersText =
    "Числа \"%s\" не распознаны. Числа от 1 до 20 пишутся через точку с запятой или запятую, "
    "например 3;7;12 или 3, 7, 12.";

// Replaces the list as the settings say. Interactive (a user's or scenario's new list): busy
// with a status text, then the filter history, the undo copy and the combination buffer are
// emptied. Non-interactive (the prefetch builder): none of that. Failures are shown in both
// cases and give false; the list keeps what was made until then.
bool GenerateCombs(bool interactive, const TGenerateSettings& settings, TCombList& list,
                   TFilterHistory& history, shell::Shell& shell);

} // namespace kv::filters

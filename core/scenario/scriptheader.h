#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv::stats {
class TStatList;
}

namespace kv::scenario {

// Where a step's combination list comes from.
enum TStartList : uint8_t {
    StartFull = 0,      // FULL: a freshly generated list
    StartExclude = 1,   // EXCL: the generated list without the combinations of the last N draws
    StartCurrent = 2,   // CURR: the list as the previous step left it
};
constexpr int StartListCount = 3;

// What a step stakes from the filtered list when more than one combination is left.
enum TStakeMode : uint8_t {
    StakeRandom = 0,    // RAND
    StakeFirst = 1,     // FIRST
    StakeLast = 2,      // LAST
    StakeAll = 3,       // ALL
    StakeSystemAll = 4, // SYSA
    StakeSystemComb = 5,// SYSC
    StakeStop = 6,      // STOP
    StakeSkip = 7,      // SKIP
    StakeNone = 8,      // NONE
};
constexpr int StakeModeCount = 9;

// The caption of a value outside its table.
constexpr const char* EnumErrorCaption = "# ERROR #";

// Codes and captions by value; codes are empty and captions EnumErrorCaption outside the tables.
std::string_view StartListCode(int value);
std::string_view StartListEditorCaption(int value);
std::string_view StartListShortCaption(int value);   // "Исключить %d тиражей" keeps its %d
std::string_view StakeModeCode(int value);
std::string_view StakeModeEditorCaption(int value);
std::string_view StakeModeShortCaption(int value);

constexpr const char* StakeModeLabel = "В случае неоднозначного результата после применения фильтров:";

// The options of one step.
struct TScriptHeader {
    int32_t ExcludeCount = 0;   // N for StartExclude
    uint8_t StartList = StartFull;
    uint8_t StakeMode = StakeRandom;
    bool ClearStakes = false;   // empty the stakes file before the step
    bool NewOnly = false;       // skip a stake that already stands for that draw

    bool operator==(const TScriptHeader&) const = default;
};

// Reads a header leniently: codes in any case, unknown words ignored, what is missing stays 0.
TScriptHeader ParseScriptHeader(std::string_view text);
// The stored form, "EXCL:5#ALL#CLR#NEX".
std::string ScriptHeaderToText(const TScriptHeader& h);
// The form of logs and stake names: N only for EXCL, no CLR ("EXCL:5#ALL#NEX").
std::string ScriptHeaderToRunText(const TScriptHeader& h);
// "Исключить 5 тиражей; Все; Удалить ставки; Только новые ставки".
std::string ScriptHeaderCaption(const TScriptHeader& h);

// --- step lines ----------------------------------------------------------------------------------

constexpr int StepFilterSlots = 7;
constexpr int StepFieldCount = 9;   // header, seven filters, comment

// The words of a text split at `sep`: maximal runs of other characters, so runs of separators
// count as one and leading or trailing ones vanish. Words are returned untrimmed.
std::vector<std::string_view> SplitWords(std::string_view text, char sep);

// Field n of a step line (1 header, 2..8 filters, 9 comment), trimmed; empty when missing.
std::string StepField(std::string_view line, int n);
// A line of blanks only is a separator (the runner still runs it as a step).
bool IsSeparatorLine(std::string_view line);

// The editor's line: the header, each filter text (one blank for an empty slot) and the
// comment when it is not blank, joined by "|". Texts are written as typed.
std::string BuildStepLine(std::string_view header, const std::array<std::string, StepFilterSlots>& filters,
                          std::string_view comment);

// The step editor's fields ("Элемент сценария").
struct TStepFields {
    TScriptHeader Header;
    std::array<std::string, StepFilterSlots> Filters;   // "Фильтр 1:" .. "Фильтр 7:"
    std::string Comment;                                 // "Комментарии:"
};
// The editor opened with a line: a step fills every field from it; an empty line gives the
// defaults with "Кол-во тиражей:" at the window's count of latest draws to exclude.
TStepFields ReadStepLine(std::string_view line, int32_t excludeCount);
// The line the editor writes on confirmation.
std::string WriteStepLine(const TStepFields& fields);

// --- the scenario view ---------------------------------------------------------------------------

constexpr int ScenarioColumnCount = 2 + StepFilterSlots;
// "Комментарии", "Опции", "Фильтр 1" .. "Фильтр 7".
std::string ScenarioColumnCaption(int column);
// The texts of one row: the comment, the header caption and each filter normalised by a read
// and a write (empty for an empty slot). A separator row is empty.
std::array<std::string, ScenarioColumnCount> ScenarioRowTexts(std::string_view line, const stats::TStatList& list);
// The first panel of the scenario status bar.
std::string ScenarioLinesText(int count);   // "Строк: %d"

} // namespace kv::scenario

#pragma once
#include <string>
#include <utility>
#include <vector>

#include "core/stakes/ratings.h"

namespace kv::scenario {
struct TScriptRunOptions;
}

namespace kv::workspace {

class FormSettings;

// The view flags of the main window and its views, kept in section TFormMain of the .frm file
// under the fields' own names.
struct TViewSettings {
    bool SortedDraws = false;
    bool ColorDraws = true;
    bool ColorCombs = true;
    bool PrefetchsEnabled = false;
    bool ShowTotalLine = true;
    bool StakesLogEnabled = false;
    bool StakesScrollEnabled = true;
    bool StakesCheckOnLine = true;
    bool ScriptLogEnabled = false;
    bool TabTables = true;
    int RatingsEffMode = stakes::DefaultRatingEffMode;
    int DownloadDrawsOnStart = 0;   // 0 ask, 1 download without asking, 2 never
    // The analysis tabs and their colours.
    bool TabGraphs = true;
    bool TabCard = true;
    bool TabLayout = true;
    bool TabWeek = true;
    bool ColorCard = true;
    bool ColorCardSequences = true;
    bool LayoutGradient = true;
    bool WeekChartType = false;   // line (on) or bars
    int WeekChartMode = 0;        // 1: the chart runs over the weekdays
    // The online services: the catalogue panel under the scenario, the systems tab, the check
    // for a newer version at start-up.
    bool ScriptLibraryOn = true;
    bool SystemsEnabled = true;
    bool AutoUpdates = true;


    bool operator==(const TViewSettings&) const = default;
};

// Every key of the settings; a missing or damaged value gives the field's default.
TViewSettings ReadViewSettings(const FormSettings& frm);
// The keys with their text in the file ("1"/"0" for a flag), in a fixed order.
std::vector<std::pair<std::string, std::string>> ViewSettingsValues(const TViewSettings& settings);
// Writes the keys whose values differ from `before`, all in one rewrite of the file; nothing
// when none differs.
void WriteViewSettings(const FormSettings& frm, const TViewSettings& settings, const TViewSettings& before);

// A scenario run follows the view flags that the run shares with the program (logs, the stake
// check, the draws' order, the prefetch cache, the total line).
void ApplyToRun(const TViewSettings& view, scenario::TScriptRunOptions& options);

} // namespace kv::workspace

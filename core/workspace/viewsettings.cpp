#include "core/workspace/viewsettings.h"

#include "core/scenario/scriptrunner.h"
#include "core/workspace/formsettings.h"

namespace kv::workspace {

namespace {

struct FlagKey {
    const char* key;
    bool TViewSettings::* field;
};

constexpr FlagKey Flags[] = {
    {"SortedDraws", &TViewSettings::SortedDraws},
    {"ColorDraws", &TViewSettings::ColorDraws},
    {"ColorCombs", &TViewSettings::ColorCombs},
    {"PrefetchsEnabled", &TViewSettings::PrefetchsEnabled},
    {"ShowTotalLine", &TViewSettings::ShowTotalLine},
    {"StakesLogEnabled", &TViewSettings::StakesLogEnabled},
    {"StakesScrollEnabled", &TViewSettings::StakesScrollEnabled},
    {"StakesCheckOnLine", &TViewSettings::StakesCheckOnLine},
    {"ScriptLogEnabled", &TViewSettings::ScriptLogEnabled},
    {"TabTables", &TViewSettings::TabTables},
    {"TabGraphs", &TViewSettings::TabGraphs},
    {"TabCard", &TViewSettings::TabCard},
    {"TabLayout", &TViewSettings::TabLayout},
    {"TabWeek", &TViewSettings::TabWeek},
    {"ColorCard", &TViewSettings::ColorCard},
    {"ColorCardSequences", &TViewSettings::ColorCardSequences},
    {"LayoutGradient", &TViewSettings::LayoutGradient},
    {"WeekChartType", &TViewSettings::WeekChartType},
    {"ScriptLibraryOn", &TViewSettings::ScriptLibraryOn},
    {"SystemsEnabled", &TViewSettings::SystemsEnabled},
    {"AutoUpdates", &TViewSettings::AutoUpdates},
};

constexpr const char* EffModeKey = "RatingsEffMode";
constexpr const char* DownloadKey = "DownloadDrawsOnStart";
constexpr const char* WeekModeKey = "WeekChartMode";

} // namespace

TViewSettings ReadViewSettings(const FormSettings& frm)
{
    TViewSettings s;
    for (const FlagKey& f : Flags) s.*f.field = frm.ReadBool(f.key, s.*f.field);
    // A mode the ratings do not know is read as the default, as the ratings themselves do.
    s.RatingsEffMode = stakes::NormalizeRatingEffMode(frm.ReadInt(EffModeKey, s.RatingsEffMode));
    // An unknown choice asks, which never downloads behind the user's back.
    const int download = frm.ReadInt(DownloadKey, s.DownloadDrawsOnStart);
    s.DownloadDrawsOnStart = download >= 0 && download <= 2 ? download : 0;
    s.WeekChartMode = frm.ReadInt(WeekModeKey, s.WeekChartMode) == 1 ? 1 : 0;
    return s;
}

std::vector<std::pair<std::string, std::string>> ViewSettingsValues(const TViewSettings& settings)
{
    std::vector<std::pair<std::string, std::string>> values;
    for (const FlagKey& f : Flags) values.emplace_back(f.key, settings.*f.field ? "1" : "0");
    values.emplace_back(EffModeKey, std::to_string(settings.RatingsEffMode));
    values.emplace_back(DownloadKey, std::to_string(settings.DownloadDrawsOnStart));
    values.emplace_back(WeekModeKey, std::to_string(settings.WeekChartMode));
    return values;
}

void WriteViewSettings(const FormSettings& frm, const TViewSettings& settings, const TViewSettings& before)
{
    const auto now = ViewSettingsValues(settings);
    const auto old = ViewSettingsValues(before);
    std::vector<std::pair<std::string, std::string>> changed;
    for (std::size_t i = 0; i < now.size(); ++i)
        if (now[i].second != old[i].second) changed.push_back(now[i]);
    if (!changed.empty()) frm.WriteAll(changed);
}

void ApplyToRun(const TViewSettings& view, scenario::TScriptRunOptions& options)
{
    options.LogEnabled = view.ScriptLogEnabled;
    options.CheckOnLine = view.StakesCheckOnLine;
    options.StakesScrollEnabled = view.StakesScrollEnabled;
    options.StakesLogEnabled = view.StakesLogEnabled;
    options.SortedDraws = view.SortedDraws;
    options.PrefetchsEnabled = view.PrefetchsEnabled;
    options.ShowTotalLine = view.ShowTotalLine;
}

} // namespace kv::workspace

#pragma once
#include <functional>

#include "app/commandunit.h"

namespace kv::stats {
class TPrefetchCache;
}

// The dialogs that change the statistics registry: the system's parameters, the shredding
// formulas and the favourite statistics, and the description of the chosen one. The registry
// changes here; what shows it (the choosers, the table, the views of channels and prizes) is the
// window's, which says how it follows through Follow, so nothing here knows a view.
class SettingsCommands : public CommandUnit {
public:
    struct Follow {
        // The choosers refilled from the registry, each keeping its position; `reload` rebuilds
        // the registry's lists first.
        std::function<void(bool reload)> choosers;
        // The statistics table built again.
        std::function<void()> statistics;
        // The parameters changed: every view that shows channels, prizes or charted values,
        // the statistics table included.
        std::function<void()> parameters;
    };

    SettingsCommands(const UnitContext& ctx, const kv::stats::TPrefetchCache& cache, Follow follow);

    void createCommands();
    // "Параметры системы"; prizeTable: opened at the prize table.
    void editConfig(bool prizeTable = false);

private:
    void editShredding();
    void filtersManager();
    void filtersReset();
    void filtersInfo();

    const kv::stats::TPrefetchCache& m_cache;
    Follow m_follow;
};

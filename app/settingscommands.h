#pragma once

#include "app/commandunit.h"

namespace kv::stats {
class TPrefetchCache;
}

// The dialogs that change the statistics registry: the system's parameters, the shredding
// formulas and the favourite statistics, and the description of the chosen one. The registry
// changes here and is announced through the workspace's shared state; the views that show it
// (the choosers, the table, the views of channels and prizes) follow, so nothing here knows a view.
class SettingsCommands : public CommandUnit {
public:
    SettingsCommands(const UnitContext& ctx, const kv::stats::TPrefetchCache& cache);

    void createCommands();
    // "Параметры системы"; prizeTable: opened at the prize table.
    void editConfig(bool prizeTable = false);

private:
    // The choosers refilled from the registry, each keeping its position; `reload` rebuilds
    // the registry's lists first.
    void fillChoosers(bool reload);
    void editShredding();
    void filtersManager();
    void filtersReset();
    void filtersInfo();

    const kv::stats::TPrefetchCache& m_cache;
};

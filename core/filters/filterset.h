#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/filters/filteritem.h"
#include "core/stats/config.h"
#include "core/stats/stattable.h"

namespace kv::shell {
class Shell;
}

namespace kv::stats {
class TPrefetchCache;
class TStatList;
class TStatTable;
} // namespace kv::stats

namespace kv::filters {

class TCombList;
class TFilterHistory;
class TFilterMemo;

// What the statistics view must show while a filter set runs: the chosen method, the window
// length, the sort (descending) and the selected rows of the table.
struct TStatViewState {
    int Method = -1;
    int DrawsLen = 0;
    int SortColumn = 1;
    std::vector<int> Selected;
};

// Statistics tables a scenario step builds again and again, and the texts of their rows: every
// variant of a test offset builds the tables of its later parts anew, with the same method,
// window, weights and order, so the same rows. Such a table is built once and copied, and the
// texts of a row are made once per table. Valid while the archive stands still.
class TTableTextsMemo {
public:
    struct Key {
        int Method = -1, DrawsLen = 0, DrawsOffset = 0, SortColumn = 0, RowCount = 0;
        bool Sorted = false, PrefetchsEnabled = false;
        stats::TWeightCoefs Weights;
        bool ShowTotalLine = true;
        bool operator==(const Key&) const = default;
    };
    // The texts of a row made so far: Made has bit c set once the text of column c is there.
    struct RowTexts {
        stats::TStatValues Values;
        uint32_t Made = 0;
    };
    // The rows of that table, no text made until asked.
    std::vector<RowTexts>& Rows(const Key& key);
    // The table an identical earlier build made (RowCount is not part of this key), or null.
    const stats::TStatTable* Table(const Key& key) const;
    void KeepTable(const Key& key, const stats::TStatTable& table, const stats::TStatList& list);
    // The name of a method as the history shows it, made once: it depends only on the
    // settings, which stand still for longer than the archive does (a whole scenario run).
    const std::string& Caption(const stats::TStatList& list, int method);
    // The tables and their texts go when the window moves; the names stay until Clear.
    void ClearTables()
    {
        m_tables.clear();
        m_built.clear();
    }
    void Clear()
    {
        ClearTables();
        m_captions.clear();
    }

private:
    static constexpr std::size_t MaxTables = 32;
    std::vector<std::pair<Key, std::vector<RowTexts>>> m_tables;
    std::size_t m_next = 0;
    std::vector<std::pair<Key, stats::TStatTable>> m_built;
    std::size_t m_nextBuilt = 0;
    std::deque<std::pair<int, std::string>> m_captions;   // a deque: references stay valid
};

// Everything a filter set works with; the scenario runner fills it from the main window's state.
// The archive is the registry's (TStatList::Env().Draws).
struct TFilterSetContext {
    stats::TStatList& List;              // registry; ApplyWeights changes its weight coefficients
    const stats::TPrefetchCache& Cache;
    stats::TStatTable& Table;            // the statistics view's table, rebuilt per part
    TCombList& Combs;
    TFilterHistory& History;
    int DrawsOffset = 0;
    bool Sorted = false;                 // SortedDraws
    bool PrefetchsEnabled = false;
    bool ShowTotalLine = true;
    bool& Abort;                         // polled before each row, after letting the window work
    shell::Shell& Shell;
    // The scenario log; empty while the log is off (the lines are then not even made).
    std::function<void(const std::string&)> Log;
    // The statistics view must show this state (table rebuilt, method, selection).
    std::function<void(const TStatViewState&)> OnStatView;
    // Earlier passes that an identical pass may take its list from; none: every pass runs.
    TFilterMemo* Memo = nullptr;
    // A ticket tested beside the list (in a scenario test: the draw that followed the window).
    // ApplyFilterPart sets ProbeKept to whether every filtering of the part that stayed (was not
    // rolled back) would have kept it.
    const game::TComb* Probe = nullptr;
    bool ProbeKept = true;
    // Row texts of identical earlier tables; none: every row is made from its table.
    TTableTextsMemo* TableTexts = nullptr;
    // Where values show in the archive, for the tables' column "Факт"; none: read per table.
    stats::TSightings* Sightings = nullptr;
};

// Applies one part: the statistics table of its method and window, ordered by its column
// (descending), rows marked by its condition and filtered all at once (multi-select) or one at
// a time, until its stop mode ends the visit. An application that empties the list is rolled
// back. Fails with "Метод расчета статистики "%s" на найден!..." when the method is not among
// the chooser's entries; other failures (conversions of the condition) are passed on.
void ApplyFilterPart(const TFilterPart& part, TFilterSetContext& ctx);

// Applies the defined parts in order, each only while the list holds more than one combination;
// nothing more once the abort flag is set.
void ApplyFilterSet(const TFilterRec& rec, TFilterSetContext& ctx);

} // namespace kv::filters

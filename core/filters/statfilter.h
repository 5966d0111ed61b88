#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/game/types.h"
#include "core/stats/statitem.h"

namespace kv::shell {
class Shell;
}

namespace kv::stats {
class TCustomStat;
class TStatList;
class TStatTable;
} // namespace kv::stats

namespace kv::filters {

class TCombList;
class TFilterHistory;
class TFilterMemo;

// Where a filter works: the list with its undo copy, the history under it, and the analysis
// window (the archive up to DrawsOffset draws before the newest).
struct TFilterScope {
    TCombList& Combs;
    TFilterHistory& History;
    const game::TDrawsArray& Draws;
    int DrawsOffset = 0;
    bool Sorted = false;   // the SortedDraws setting
    shell::Shell& Shell;
    TFilterMemo* Memo = nullptr;   // earlier passes to answer from; none: every pass runs
};

// The values a filter tests combinations against, with the captions the history shows. Only
// the four keys of an item take part in the test; a value marked twice is kept once.
class TMarkedValues {
public:
    void Add(const stats::TStatDrawItem& item, std::string caption);
    void Reserve(int count)
    {
        m_values.Reserve(count);
        m_captions.reserve(std::size_t(std::max(count, 0)));
    }
    // A number of the number views: Key[0] the number, everything else 0.
    void AddNumber(int number);
    bool Empty() const { return m_values.Empty(); }
    int Count() const { return m_values.Count(); }
    const stats::TStatDrawArray& Values() const { return m_values; }
    const std::vector<std::string>& Captions() const { return m_captions; }
    // The history's "Значения" column: the captions joined with "; ".
    std::string Text() const;

private:
    stats::TStatDrawArray m_values;
    std::vector<std::string> m_captions;
};

// Earlier filter passes of kinds whose values follow from the combination alone (those with a
// full-set distribution): such a pass over the same list with the same marked values leaves the
// same list whatever the window, and a scenario test meets it again at offset after offset.
// Lists are known by the names the memo gives them (TCombList::ContentId): the full list has
// its own, and every pass over a named list names the list it leaves, the same pass over the
// same list always by the same name. So a hit is exact without comparing lists, and a list is
// never copied to be compared; the list a hit gives is shared with the memo, not copied. The
// lists of a few dozen names are kept, the least recently used one making room. A method whose
// kept lists are seldom met again (under a quarter of them after the first few dozen) keeps no
// more: they would be copied for nothing; its passes are still named. Valid while the engine
// settings stand still (one scenario run).
class TFilterMemo {
public:
    static bool Applies(const stats::TCustomStat& stat);
    // What is known of a pass over the list named `input`: the name of the list it leaves (0:
    // never seen) and that list when it is kept (null otherwise).
    struct Answer {
        uint64_t Id = 0;
        std::shared_ptr<const game::TCombsArray> List;
    };
    Answer Find(const stats::TCustomStat& stat, const TMarkedValues& marked, bool exclude, bool sorted,
                uint64_t input);
    // A pass that ran over the list named `input` left `list`: returns the name of what it left
    // (0 when the pass or its input cannot be named) and keeps that while its method repeats,
    // taking the list's content over (the list then shares it).
    uint64_t Store(const stats::TCustomStat& stat, const TMarkedValues& marked, bool exclude, bool sorted,
                   uint64_t input, TCombList& list);
    // A name no list has had, for a list made otherwise that is met again as it is (a start
    // list without the last draws, kept in the buffer for the variants of one offset).
    uint64_t NewId();
    void Clear()
    {
        m_entries.clear();
        m_methods.clear();
        m_names.clear();
        m_hits = 0;
    }
    int Hits() const { return m_hits; }

private:
    // How the kept passes of one method fared.
    struct MethodUse {
        const void* Kind = nullptr;
        int32_t Param = 0;
        int Stored = 0, Hits = 0;
    };
    static constexpr int TrialStores = 32;
    MethodUse& use(const stats::TCustomStat& stat);
    std::vector<MethodUse> m_methods;

    // A pass: what it ran over and with what.
    struct Pass {
        const void* Kind = nullptr;
        int32_t Param = 0;
        bool Exclude = false, Sorted = false;
        uint64_t Input = 0;
        std::vector<std::array<int16_t, 4>> Keys;
        bool operator==(const Pass&) const = default;
    };
    struct PassHash {
        std::size_t operator()(const Pass& p) const;
    };
    static Pass passOf(const stats::TCustomStat& stat, const TMarkedValues& marked, bool exclude, bool sorted,
                       uint64_t input);
    // Names of the lists passes left. Names are never given twice, so forgetting them all when
    // there are too many only costs later hits.
    static constexpr std::size_t MaxNames = 1 << 16;
    std::unordered_map<Pass, uint64_t, PassHash> m_names;
    uint64_t m_nextId = 0;

    struct Entry {
        uint64_t Id = 0;
        std::shared_ptr<game::TCombsArray> Output;
        uint64_t Used = 0;
    };
    static constexpr std::size_t MaxEntries = 32;
    std::vector<Entry> m_entries;
    uint64_t m_clock = 0;
    int m_hits = 0;
};

// The items of the given statistics-table rows, in row order whatever order they were selected
// in, with the rows' "Значение" texts.
TMarkedValues MarkedRows(const stats::TStatTable& table, std::span<const int> rows);
// The same with the captions (column 0) of rows whose texts the caller has made already.
TMarkedValues MarkedRows(const stats::TStatTable& table, std::span<const int> rows,
                         const std::function<std::string(int)>& caption);

// The index of the latest draw in use: the newest draw less the offset, 0 when the offset hides
// the whole archive.
int LatestDrawInUse(const game::TDrawsArray& draws, int drawsOffset);

// Rebuilds the list from the undo copy (the caller has made it): keep leaves the combinations
// that show a marked value, delete the others, in their order; a history row `caption`, the
// values and the new count records it. Nothing marked: the list stays as it is and false is
// returned. Failures are passed on, with the list as far as it was rebuilt.
bool FilterCombs(stats::TCustomStat& stat, std::string_view caption, const TMarkedValues& marked, bool exclude,
                 const TFilterScope& scope);
// The same with a fresh instance of a registry method, freed afterwards.
bool FilterCombs(const stats::TStatList& list, int method, std::string_view caption, const TMarkedValues& marked,
                 bool exclude, const TFilterScope& scope);

// --- the number views ---------------------------------------------------------------------------------

enum class TNumberView { Card, Layout, Week };
// The views' tab captions, which head their history rows: "Карта", "Схема", "Неделя".
std::string_view NumberViewCaption(TNumberView view);

// Numbers of the selected card cells: every non-empty cell, converted strictly.
std::vector<int> CardCellNumbers(std::span<const std::string> cells);
// Numbers of the selected layout cells: each cell split at ",", "[" and "]" removed from each
// word; empty words are skipped, the others converted strictly.
std::vector<int> LayoutCellNumbers(std::span<const std::string> cells);

// The number filter of the card, layout and week views with a temporary "NUMS" instance: keep
// leaves the combinations holding at least one marked number. Fails with "В выделенном
// диапазоне нет значений для фильтра!" when no number is marked (the caller's undo copy is made
// by then; the list is unchanged).
void NumberFilter(const stats::TStatList& list, TNumberView view, std::span<const int> numbers, bool exclude,
                  const TFilterScope& scope);

} // namespace kv::filters

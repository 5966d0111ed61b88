#pragma once
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/game/types.h"
#include "core/stats/config.h"
#include "core/stats/prefetch.h"
#include "core/stats/statitem.h"

namespace kv::shell {
class Shell;
}

namespace kv::stats {

class TCustomStat;
class TStatList;

constexpr int StatColumns = 20;
// "Значение", "Количество", ... "+/- КРН".
const char* StatColumnCaption(int column);
// Columns 3..5 exist only while the comparison with the full set is on.
constexpr bool IsNormColumn(int column) { return column >= 3 && column <= 5; }

// `DiffText`: e - actual with a leading "+" when positive, when the expected text is a
// non-negative integer e; "-" otherwise.
std::string DiffText(std::string_view expectedText, int actual);

// Rounding of the expectation columns: to the nearest integer, halves to even.
int64_t RoundHalfEven(long double v);

// A table row as texts, as scenario steps test it.
struct TStatValues {
    std::string Caption, Count, CountPct, Deviation, DeviationPct, Depth, DepthPct, Weight,
        PeriodMin, Period, PeriodMax;
    int Value = 0;
};

// A table row as the table keeps it. Every cell follows from these and the settings of the
// build, so the texts are made only for the rows that are read: tables of tuple kinds have tens
// of thousands of rows of which a view shows a screenful.
struct TStatRow {
    TStatDrawItem Item;   // the value with its counters (filters read it)
    int32_t Fact = -1;    // "Факт": the draw that showed the value next after the window; -1 none
};

// A point of a chart series. Its label is the text of the value it stands for, which
// TStatTable::PointLabel makes.
struct TChartPoint {
    double X = 0;
    double Y = 0;
    std::array<int16_t, 4> Key{};   // the value's keys
};

// What one build of the statistics table is asked to do.
// Where each value of a method shows when the archive's draws are read one at a time, for the
// column "Факт" of the many tables a scenario test builds over one archive: found once per method
// instead of reading the draws after the window again for every table. Only kinds whose values
// follow from the draw alone are kept. Valid while the archive and the engine settings stand
// still (one scenario run).
class TSightings {
public:
    // The draws (index, the draw number the value carries) at which each value (packed keys)
    // shows, oldest first; null for a kind whose values depend on more than the draw.
    struct Draw {
        int Index;
        int32_t DrawNo;
    };
    struct Seen {
        std::vector<Draw> Draws;
        // Where the last search ended: a test moves its window a draw at a time, so the next
        // search for the value ends there or just after.
        mutable std::size_t Hint = 0;
        // The first of Draws at or after index `from` (Draws.size() for none).
        std::size_t From(int from) const;
    };
    using Map = std::unordered_map<uint64_t, Seen>;
    const Map* Of(int method, bool sorted, TCustomStat& stat, const game::TDrawsArray& draws);
    void Clear() { m_methods.clear(); }

private:
    std::map<std::pair<int, bool>, Map> m_methods;
};

struct TStatTableRequest {
    int Method = -1;              // registry index of the chosen method; -1: none chosen
    int DrawsStatLen = 1000;      // N
    int DrawsOffset = 0;
    bool SortedDraws = false;
    bool PrefetchsEnabled = false;
    bool ShowTotalLine = true;
    TSightings* Sightings = nullptr;   // none: the draws after the window are read for each table
};

// The statistics table over a window of draws, compared with the full-set distribution.
class TStatTable {
public:
    TStatTable();
    ~TStatTable();
    TStatTable(TStatTable&&) noexcept;
    TStatTable& operator=(TStatTable&&) noexcept;

    // Builds rows and chart. Without force, a request with the same archive length, offset,
    // window length and method as the last build does nothing and returns false.
    bool Build(const TStatList& list, const TPrefetchCache& cache, const TStatTableRequest& request,
               shell::Shell& shell, bool force);
    void Clear();
    // Becomes what `other` shows (rows, order, chart, summary), with an instance of its method
    // made afresh from the registry that built it, as if the same build had run here.
    void CopyFrom(const TStatTable& other, const TStatList& list);

    int RowCount() const { return static_cast<int>(m_rows.size()); }
    // Rows in display order.
    const TStatRow& Row(int i) const { return m_rows[static_cast<std::size_t>(m_order[static_cast<std::size_t>(i)])]; }
    std::vector<TStatRow> Rows() const;
    // The text of a cell of row i (display order), "-" where the cell has no number; "" outside
    // the table.
    std::string CellText(int row, int column) const;
    std::array<std::string, StatColumns> RowTexts(int row) const;
    // The number a cell shows, which sorting uses; none for "-" cells and for column 0 (which
    // sorts by the value's keys).
    std::optional<long double> CellNumber(int row, int column) const;
    TStatValues RowToStatValues(int row) const;
    // Keeps the rows sorted by a column (stable); the order carries no other meaning.
    void SortRows(int column, bool ascending);
    int SortColumn() const { return m_sortColumn; }
    bool SortAscending() const { return m_sortAscending; }

    bool HasNorm() const { return m_hasNorm; }
    int FirstIndex() const { return m_first; }
    int LastIndex() const { return m_last; }
    int WindowLength() const { return m_last >= m_first ? m_last - m_first + 1 : 0; }
    const TStatSummary& Summary() const { return m_summary; }

    // Chart series: "Фактические данные" and, with a norm and ShowTotalLine, "Все возможные
    // комбинации".
    const std::vector<TChartPoint>& ActualLine() const { return m_actual; }
    const std::vector<TChartPoint>& TotalLine() const { return m_total; }
    bool HasTotalLine() const { return m_totalShown; }
    // The label of a point of either series: its value as column 0 shows it.
    std::string PointLabel(const TChartPoint& point) const;

    // The weight of column 8 (extended precision; -999.99 when the arithmetic fails).
    static long double Weight(const TStatList& list, const TStatDrawItem& item, bool hasNorm,
                              const TStatSummary& summary);
    static long double Weight(const TWeightCoefs& coefs, const TStatDrawItem& item, bool hasNorm,
                              const TStatSummary& summary);

private:
    struct Key {
        int drawCount = -1, offset = -1, len = -1, method = -2;
        std::string code;
        bool operator==(const Key&) const = default;
    };
    struct Cell;
    Cell cell(const TStatRow& row, int column) const;
    std::string cellText(const TStatRow& row, int column) const;

    Key m_key;
    std::vector<TStatRow> m_rows;     // in the order of the values
    std::vector<int> m_order;         // display order: sorting moves indexes, not rows
    // What the texts are made from besides the rows, as of the build: the instance that names
    // the values (it names them by what it took from the settings when it was created), the
    // weights and the decimal separator then in force.
    std::unique_ptr<TCustomStat> m_stat;
    TWeightCoefs m_weights;
    char m_separator = '.';
    // Buffers kept from build to build: the values of the window, the sort keys.
    TStatDrawArray m_values;
    struct SortEntry {
        long double Key = 0;
        int64_t Integer = 0;      // Key of an integer cell, for the counting sort
        int32_t Index = 0;
        bool HasNumber = false;   // "-" cells sort first
    };
    std::vector<SortEntry> m_sortKeys;
    std::vector<int32_t> m_buckets;                    // counting sort of integer columns
    std::vector<std::pair<uint64_t, int32_t>> m_keyOrder, m_keyBuffer; // values in the order of the keys
    TKeyOrder m_valueOrder = TKeyOrder::Keys;
    // Column 0 sorts by the value order of the kind, as one 64-bit number (which a long double
    // holds exactly).
    uint64_t keyRank(const TStatDrawItem& item) const { return StatKeyRank(item.Key, m_valueOrder); }
    std::vector<TChartPoint> m_actual, m_total;
    bool m_totalShown = false;
    bool m_hasNorm = false;
    int m_first = 0, m_last = -1;
    TStatSummary m_summary;
    int m_sortColumn = 1;
    bool m_sortAscending = true;
};

} // namespace kv::stats

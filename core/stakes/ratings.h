#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/stakes/stakecharts.h"
#include "core/util/currency.h"
#include "core/util/files.h"

namespace kv::shell {
class Shell;
}

namespace kv::stakes {

struct TStakeRecord;
class TStakesFile;

// One row of the rating: every checked stake whose comment equals Name (in any case). Also the
// record of the rating file, 312 bytes, little-endian:
//   0  u8        length of Name (0..255), then 255 CP1251 bytes
// 256  int32     StakeCount
// 260  int32     HitSum
// 264  9 x int32 Hits[0..8]: stakes with exactly h hits
// 300  4 bytes   reserved (alignment of the next field; written as zero, never read)
// 304  int64     ProfitSum (Currency)
struct TRatingRecord {
    static constexpr std::size_t RecordSize = 312;
    static constexpr std::size_t NameCapacity = 255;
    static constexpr int HitsCount = 9;

    static constexpr std::size_t OffName = 0;
    static constexpr std::size_t OffStakeCount = 256;
    static constexpr std::size_t OffHitSum = 260;
    static constexpr std::size_t OffHits = 264;
    static constexpr std::size_t OffProfitSum = 304;

    std::string Name;   // UTF-8; written as CP1251 and cut to 255 characters
    int32_t StakeCount = 0;
    int32_t HitSum = 0;
    std::array<int32_t, HitsCount> Hits{};
    util::Currency ProfitSum;

    void Read(const uint8_t* p);
    void Write(uint8_t* p) const;

    // The counters agree with each other the way adding stakes keeps them: no negative counts,
    // StakeCount = the sum of Hits, HitSum = the sum of h x Hits[h]. Bytes of another format
    // read as a rating record practically never do.
    bool IsConsistent() const;

    bool operator==(const TRatingRecord&) const = default;
};
using TRatingsArray = std::vector<TRatingRecord>;

// --- what pure chance gives -----------------------------------------------------------------

// For h = 0..8: Expected[h] = MatchCount(20, 8, h), the combinations of the full list that
// share exactly h numbers with a draw (495, 6336, 25872, 44352, 34650, 12320, 1848, 96, 1), and
// Share[h] = Expected[h] / CombCount. Computed once, on first use.
struct TChanceDistribution {
    std::array<int64_t, TRatingRecord::HitsCount> Expected{};
    std::array<long double, TRatingRecord::HitsCount> Share{};
};
const TChanceDistribution& ChanceDistribution();

// --- the rating view --------------------------------------------------------------------------

// What the columns E0..E8 show (the RatingsEffMode flag of the window settings).
enum TRatingEffMode : int {
    EffExpected = 0,   // round(StakeCount x Share[h]): the stakes chance would give h hits
    EffAbsolute = 1,   // Hits[h] share minus chance's share, in percentage points
    EffRelative = 2,   // Hits[h] share as a percentage of chance's share
};
constexpr int RatingEffModeCount = 3;
constexpr int DefaultRatingEffMode = EffAbsolute;
// "Ожидаемые значения совпадений", "Абсолютные значения эффективности", "Относительные
// значения эффективности"; empty for an unknown mode.
const char* RatingEffModeCaption(int mode);
// A mode read from the settings file: anything outside 0..2 is the default.
int NormalizeRatingEffMode(int mode);

// The rating view has 24 columns: 0 "Комментарий", 1 "Ставок", 2 "Совпало", 3 "Среднее",
// 4 "Профит", 5 "Ср. профит", 6..14 "0".."8" (Hits), 15..23 "E0".."E8" (efficiency).
constexpr int RatingColumnCount = 24;
constexpr int RatingHitsColumn = 6;
constexpr int RatingEffColumn = 15;
const char* RatingColumnCaption(int column);   // empty outside 0..23
// The view starts sorted by "Среднее", descending.
constexpr int DefaultRatingSortColumn = 3;
constexpr bool DefaultRatingSortDescending = true;

// ProfitSum / StakeCount rounded to the Currency unit (halves away from zero); 0 for no stakes.
util::Currency MeanProfit(const TRatingRecord& r);

// Text of column E<h> in the given mode; empty when the row has no stakes or the mode or h is
// unknown. Mode 1 of 10 stakes with Hits[3] = 5 is "14.792%", mode 2 "142.012%", mode 0 "4".
std::string RatingEffText(const TRatingRecord& r, int h, int mode);
// Text of one cell of the rating view; columns outside 0..23 are empty. Decimal numbers use
// the user's decimal separator.
std::string RatingCellText(const TRatingRecord& r, int column, int mode);
// The same for a row of the array: a row that cannot be formatted (it is not there, because
// the view asked before it heard of a change) shows BadRatingRowText in its first column.
std::string RatingCellText(const TRatingsArray& rows, int row, int column, int mode);
constexpr const char* BadRatingRowText = "# bad data #";
// The rating panel (field 5) of the status bar: "Рейтинг: %d".
std::string RatingsCountText(int rows);

// --- sorting ------------------------------------------------------------------------------------

// Names in the order of the user's (Russian) alphabet: letters of one word compare by their
// place in the alphabet (Latin before Cyrillic, Ё right after Е) whatever their case; only
// names equal that way are ordered by case (lower before upper) and then byte by byte. Other
// characters keep their code page order, before the letters. Negative, zero or positive.
int CompareRatingNames(std::string_view a, std::string_view b);

// The comparison of SortRatings for one column, ascending: negative, zero or positive. Rows
// without stakes compare equal to everything; means and profits that differ by less than
// half of the last shown digit (0.005) compare equal; columns 15..23 always compare equal.
// Not a strict weak order (equality is not transitive), so only SortRatingsArray may use it.
int CompareRatings(const TRatingRecord& a, const TRatingRecord& b, int column);

// Quicksort of the rows by CompareRatings; equal rows end up in whatever order the sort leaves
// them. Safe for the comparison's non-transitive equality, which std::sort is not.
void SortRatingsArray(TRatingsArray& rows, int column, bool descending);

// --- the file and the export ---------------------------------------------------------------

// The file bytes of the rows, one record each, in array order.
std::string RatingsFileBytes(const TRatingsArray& rows);

// What a rating file holds: the whole records up to the first one that is not a rating record
// (BadRecord, -1 when all are), and how many bytes of a partial record trail the last one.
struct TRatingsFileContent {
    TRatingsArray Rows;
    int BadRecord = -1;
    std::size_t TrailingBytes = 0;
};
TRatingsFileContent ParseRatingsFile(std::string_view bytes);

// The CSV export (UTF-8; the file is CP1251): a header of the 24 captions, quoted, then one
// line per row in array order: the quoted name, StakeCount, HitSum, "%.3f" of the mean hits,
// "%.2f" of ProfitSum and of the mean profit, Hits[0..8] (15 fields). Fields are separated by
// ";", every line ends in CR LF. A row without stakes leaves its two means empty.
std::string RatingsCsvHeader();
std::string RatingsCsvLine(const TRatingRecord& r);
std::string RatingsCsvText(const TRatingsArray& rows);
// The save dialog of RatingsExport.
constexpr const char* RatingsExportExtension = "csv";
constexpr const char* RatingsExportFilter = "CSV-файлы (*.csv)|*.csv";
// A field in double quotes, inner double quotes doubled.
std::string CsvQuoted(std::string_view text);

// RatingsGraphOverlap for the selected rows (indexes; those outside the array are skipped):
// the chance line "Нормальные значения" scaled to the largest StakeCount among them, then one
// line of Hits[0..8] per row.
TChartData RatingsOverlapChart(const TRatingsArray& rows, std::span<const int> selected);
// The RatingsGraphOverlap command: the same, busy with "Создание графиков..." meanwhile.
TChartData RatingsGraphOverlap(shell::Shell& shell, const TRatingsArray& rows, std::span<const int> selected);
// The names of the selected rows, for StakesGraphOverlap and StakesGraphProfits.
std::vector<std::string> RatingNames(const TRatingsArray& rows, std::span<const int> selected);

// --- the rating of a running program ------------------------------------------------------

// The rating array with its file and the order the view shows. The commands report to the
// Shell with the texts of the program; onChanged is what SaveRatings always does to the view:
// set its row count, repaint, show RatingsCountText.
class TRatings {
public:
    static constexpr const char* FileName = "Kvanta_8x20.lrt";

    TRatings() = default;
    explicit TRatings(std::filesystem::path path) : m_path(std::move(path)) {}

    const std::filesystem::path& Path() const { return m_path; }
    void SetPath(std::filesystem::path path) { m_path = std::move(path); }

    const TRatingsArray& Items() const { return m_items; }
    int Count() const { return static_cast<int>(m_items.size()); }
    bool Empty() const { return m_items.empty(); }
    const TRatingRecord& operator[](int row) const { return m_items[static_cast<std::size_t>(row)]; }
    // Replaces the rows (no sort, no save).
    void Assign(TRatingsArray rows);
    void Clear();

    // Adds one checked stake (Matched.Count 0..8; other stakes are not rated and give false) to
    // the first row whose name equals its comment in any case, or appends a row for it. No sort
    // and no save: the check pass does both once at its end.
    bool AddRating(const TStakeRecord& stake);
    // The same from the fields of a stored record: the comment as its CP1251 bytes.
    bool AddRating(std::string_view cp1251Comment, int hits, util::Currency profit);
    // The first row whose name equals this one in any case; -1 when none does.
    int Find(std::string_view name) const;

    // The view's order, used by LoadRatings and RatingsRefresh (and by SortRatings itself).
    int SortColumn() const { return m_sortColumn; }
    bool SortDescending() const { return m_sortDescending; }
    // Sets the order without sorting (from the window settings, before LoadRatings).
    void SetSortOrder(int column, bool descending);

    // The efficiency mode of the columns E0..E8 (normalised to 0..2).
    int EffMode() const { return m_effMode; }
    void SetEffMode(int mode) { m_effMode = NormalizeRatingEffMode(mode); }

    // Sorts by the column (nothing to sort for a negative column or fewer than two rows), with
    // the status "Сортировка рейтинга...", remembers the order and saves.
    void SortRatings(shell::Shell& shell, int column, bool descending);
    // Rewrites the file safely with every row; a failure shows "Ошибка записи в файл
    // рейтинга!" with the reason and gives false. Calls onChanged in any case.
    bool SaveRatings(shell::Shell& shell);
    // Start-up: reads the file when it exists, then sorts by the view's order (which saves). Until
    // it was read (or found missing) no save is made: one would drop every row of the file. A
    // file that ends in a partial record, or whose records stop being rating records, is read
    // up to there, after a copy of it was kept as "Kvanta_8x20.lrt.bak" and the user told; a
    // file that cannot be read at all is never rewritten in this run.
    void LoadRatings(shell::Shell& shell);
    // Rebuilds the rating from the checked stakes of the stakes file, after asking when the
    // rating is not empty (false when the user says no). A failure shows "Ошибка обновления
    // рейтинга!" with the reason and keeps the rows as they were.
    bool RatingsRefresh(shell::Shell& shell, TStakesFile& stakes);
    // Writes the CSV export; a failure is shown with its reason.
    bool RatingsExport(shell::Shell& shell, const std::filesystem::path& file) const;

    std::function<void()> onChanged;

private:
    int findKey(const std::string& key) const;
    void rebuildIndex() const;
    void changed();

    std::filesystem::path m_path;
    bool m_readOnly = false;   // a damaged file whose copy failed is never rewritten
    util::TReadBeforeWrite m_read;
    TRatingsArray m_items;
    // Upper-cased CP1251 name -> the first row of that name; rebuilt after anything reorders.
    mutable std::unordered_map<std::string, int> m_index;
    mutable bool m_indexValid = false;
    std::string m_key;   // reused for every stake, so adding allocates nothing
    int m_sortColumn = DefaultRatingSortColumn;
    bool m_sortDescending = DefaultRatingSortDescending;
    int m_effMode = DefaultRatingEffMode;
};

} // namespace kv::stakes

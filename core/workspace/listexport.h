#pragma once
#include <filesystem>
#include <string>

#include "core/game/types.h"
#include "core/util/sheet.h"

namespace kv::filters {
class TCombList;
}
namespace kv::stakes {
class TLuckCache;
class TRatings;
class TStakesFile;
}
namespace kv::stats {
class TStatTable;
}

// The lists of the main window as the spreadsheet export takes them: each as shown on screen,
// titled with its tab's caption, numbers flagged as numbers and row colours kept as fills.
namespace kv::workspace {

// The names of the exported lists: each keeps its export options in "<program>_<name>.exp".
namespace ExportList {
constexpr const char* Draws = "Draws";
constexpr const char* StatTable = "StatTable";
constexpr const char* Combs = "Combs";
constexpr const char* Stakes = "Stakes";
constexpr const char* Ratings = "Ratings";
constexpr const char* Card = "Card";
constexpr const char* Layout = "Layout";
// Lists exported as the window shows them.
constexpr const char* Regulars = "Tables";
constexpr const char* Systems = "Systems";
constexpr const char* Catalogue = "ScriptLibrary";
constexpr const char* Survival = "Survival";
constexpr const char* Week = "Week";
constexpr const char* LayoutCompare = "LayoutCompare";
constexpr const char* Repeats = "Repeats";
} // namespace ExportList

// "<dataDir>/<baseName>_<list>.exp".
std::filesystem::path ExportOptionsPath(const std::filesystem::path& dataDir, const std::string& baseName,
                                        const std::string& list);

// "Архив тиражей": newest first, the current last draw's row and the channel colours filled.
util::TExportSheet DrawsSheet(const game::TDrawsArray& draws, int offset, bool sorted, bool colorDraws,
                              int channelSize);
// "Статистика": the columns of the comparison with the full set only when they are shown; the
// values are numbers when every value of the table reads as one (NUMS, SUMS), else texts.
util::TExportSheet StatTableSheet(const stats::TStatTable& table, bool normShown);
// "Комбинации".
util::TExportSheet CombsSheet(const filters::TCombList& combs, bool colorCombs, int channelSize);
// "Ставки": one row per record, filled with its origin's colour; a record that cannot be read
// fails the export (kv::Error) rather than leaving a silent gap.
util::TExportSheet StakesSheet(stakes::TStakesFile& file);
// The luck test's p values as the rating view shows them: none (no columns) without a cache;
// with an empty prize table the profit's p is "-".
struct TLuckColumns {
    const stakes::TLuckCache* Cache = nullptr;
    int Draws = 0;
    bool PrizesEmpty = false;
};
// "Рейтинг": in its sort order, the efficiency columns in the mode shown, then "p (совпадения)"
// and "p (профит)" when `luck` has a cache.
util::TExportSheet RatingsSheet(const stakes::TRatings& ratings, const TLuckColumns& luck = {});

} // namespace kv::workspace

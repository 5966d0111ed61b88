#pragma once
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/game/types.h"
#include "core/stakes/stakerecord.h"

namespace kv::shell {
class Shell;
}

namespace kv::stakes {

class TStakesFile;

// What the check pass needs besides the stakes file.
struct TCheckSettings {
    const game::TDrawsArray* Draws = nullptr;       // the whole archive, not only the window
    TPrizeTable Prizes;
    bool LogEnabled = false;                        // the StakesLogEnabled flag
    std::filesystem::path LogDir;                   // where Kvanta_8x20-<h>.log live
    // Every stake the pass checked, after it was written back: the rating's AddRating.
    std::function<void(const TStakeRecord&)> OnChecked;
    // The local time for the log lines; the clock of the system when empty.
    std::function<std::tm()> Clock;
    // Records before this index are known to hold nothing this archive can check (a caller that
    // checked them against the same archive and only appended since); the pass starts there.
    int FirstRecord = 0;
    // The smallest and largest draw numbers of Draws when the caller knows them already (a
    // scenario run checks after every variant against an archive that stands still); found
    // from Draws otherwise.
    std::optional<std::pair<int32_t, int32_t>> DrawNoRange;
};

// The check pass: every due stake (unchecked, DrawNo > 0, 8 numbers) whose draw is in the
// archive gets Checked 1, the draw's numbers, the matched numbers ascending and the profit of
// the prize table, is written back, fed to OnChecked and logged. Busy meanwhile, with the
// status "Проверка результатов ставок..." and its percentage. A failure shows "Ошибка
// проверки ставок!" with the reason; what was written stays. True when a stake was checked.
bool CheckStakes(TStakesFile& file, const TCheckSettings& settings, shell::Shell& shell);
// The smallest and largest draw numbers of the archive (max, min of int32 for none).
std::pair<int32_t, int32_t> DrawNoRange(const game::TDrawsArray& draws);

// CheckStakes, and after a pass that checked something the reopen of the stakes file (which
// empties the read cache) and onRatingsChanged (the rating is re-sorted and saved there).
bool CheckStakesAndReload(TStakesFile& file, const TCheckSettings& settings, shell::Shell& shell,
                          const std::function<void()>& onRatingsChanged);

// The outcome of one stake against its draw, as the check writes it into the record.
void ApplyDraw(TStakeRecord& stake, const game::TDraw& draw, const TPrizeTable& prizes);

// --- logs ------------------------------------------------------------------------------------

// "Kvanta_8x20-<hits>.log".
std::string StakeLogFileName(int hits);
// A log past 256 MiB (268435456 bytes) is started afresh before the next line.
constexpr int64_t StakeLogLimit = 268435456;
constexpr bool StakeLogNeedsReset(int64_t size) { return size > StakeLogLimit; }
// "2024.03.05 14:07:09: Тираж № 12. Ставка: "..." [1;2;...] {125970}. Результаты тиража:
// [...]. Совпадений: 3. Профит: -10.00." (UTF-8, without the line end).
std::string StakeLogLine(const TStakeRecord& stake, const std::tm& time);
// Appends the line (CP1251, CR LF) to the log of the stake's hit count in dir, starting the log
// afresh when it grew past the limit. Failures are shown and do not stop the caller.
void WriteStakeLog(const std::filesystem::path& dir, const TStakeRecord& stake, const std::tm& time,
                   shell::Shell& shell);

// The LogStakesDelete command: deletes every Kvanta_8x20-*.log in dir and shows the summary
// (information when every file went, warning otherwise), or "Файлы журналов не найдены!".
void LogStakesDelete(const std::filesystem::path& dir, shell::Shell& shell);

// What a deletion of several files did: a title and details for the summary box.
struct TDeleteSummary {
    int Total = 0;
    int Deleted = 0;
    int Skipped = 0;
    int Warnings = 0;
    int Errors = 0;
    std::string Title;
    std::string Details;
    bool AllDeleted() const { return Errors == 0 && Deleted == Total; }
};
// Deletes the regular files of dir whose names start with prefix and end with suffix, going on
// after a file that cannot be deleted.
TDeleteSummary DeleteMatchingFiles(const std::filesystem::path& dir, std::string_view prefix,
                                   std::string_view suffix);

} // namespace kv::stakes

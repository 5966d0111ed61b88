#pragma once
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "core/game/types.h"
#include "core/stakes/stakerecord.h"

namespace kv::shell {
class Shell;
}

namespace kv::stakes {

class TStakesFile;

// What the stake commands ask of the program around them. Empty hooks are skipped.
struct TStakeViewHooks {
    // RefreshStakeView(refresh, go to last); PlanStakeViewRefresh says what it does.
    std::function<void(bool refresh, bool goToLast)> RefreshView;
    // The check pass with its reload (CheckStakesAndReload with the program's settings).
    std::function<void()> Check;
    // Repaints the grid at the end of a delete command, after a failure too.
    std::function<void()> Repaint;
    // The RatingsRefresh command, which StakeClear runs at its end.
    std::function<void()> RefreshRatings;
};

constexpr const char* OutdatedStakesText =
    "Обнаружен файл ставок устаревшей версии - имеющиеся в файле ставки будут удалены!";

// Start-up, right after the file was opened: a file of an older version is emptied after the
// warning. True when that happened (the grid then goes back to its initial columns).
bool DiscardOutdatedStakes(TStakesFile& file, shell::Shell& shell);

// StakeAdd, StakeAddRandom and regular stakes: status "Создание ставки...", append, then the
// check and RefreshView(refresh, go to last). The result of the append.
bool AddStake(TStakesFile& file, shell::Shell& shell, const TStakeRecord& stake, int drawsCount,
              const TStakeViewHooks& hooks);

// One stake of a series (multi-stakes, regulars, scenarios, systems): status "Создание
// ставок..." (left to the series when bulk), append, then RefreshView(no refresh, go to last
// unless bulk without scrolling). The caller runs the check once after its series.
bool AddStakes(TStakesFile& file, shell::Shell& shell, const TStakeRecord& stake, int drawsCount, bool bulk,
               bool scrollEnabled, const TStakeViewHooks& hooks);

// StakeAddSelected and StakeAddAll after the multi-stake dialog: one manual stake per
// combination, in list order, written in bulk; stops at the first failure. After a complete
// series, the check and RefreshView(refresh, go to last). True when every stake was added.
// From BulkStakeQuestionFrom stakes on, the player first confirms BulkStakeQuestion.
constexpr int64_t BulkStakeQuestionFrom = 1000;
std::string BulkStakeQuestion(std::size_t combs, int drawsCount);
bool AddStakesForCombs(TStakesFile& file, shell::Shell& shell, std::span<const game::TComb> combs,
                       int32_t drawNo, int drawsCount, std::string_view comment, int32_t sampleSize,
                       const TPrizeTable& prizes, bool scrollEnabled, const TStakeViewHooks& hooks,
                       uint8_t origin = OriginManual);

// StakeDel for the grid rows topRow..bottomRow: the delete question, then the rewrite, the
// check and RefreshView(refresh). False when refused or failed.
bool StakeDel(TStakesFile& file, shell::Shell& shell, int topRow, int bottomRow, const TStakeViewHooks& hooks);
// StakeFilter after the condition dialog (mode 0..4, hit count 0..8).
bool StakeFilter(TStakesFile& file, shell::Shell& shell, int mode, int value, const TStakeViewHooks& hooks);
// StakeClear: the delete question with the number of records, then the file is emptied,
// reopened, RefreshView(no refresh, no move) and the rating rebuilt.
bool StakeClear(TStakesFile& file, shell::Shell& shell, const TStakeViewHooks& hooks);

} // namespace kv::stakes

#include "core/stakes/stakecommands.h"

#include <algorithm>

#include "core/util/format.h"
#include "core/shell/shell.h"
#include "core/stakes/stakesfile.h"
#include "core/util/files.h"
#include "core/util/format.h"

namespace kv::stakes {

namespace {

constexpr const char* DeleteStatus = "Удаление ставок...";
constexpr const char* AddManyStatus = "Создание ставок...";

void refreshView(const TStakeViewHooks& hooks, bool refresh, bool goToLast)
{
    if (hooks.RefreshView) hooks.RefreshView(refresh, goToLast);
}

void runCheck(const TStakeViewHooks& hooks)
{
    if (hooks.Check) hooks.Check();
}

// The part the two delete commands share once the user has agreed.
template <typename Delete>
bool deleteStakes(shell::Shell& shell, const TStakeViewHooks& hooks, Delete del)
{
    bool ok = false;
    {
        shell::BusyScope busy(shell, DeleteStatus);
        ok = del();
        if (ok) {
            runCheck(hooks);
            refreshView(hooks, true, false);
        }
    }
    if (hooks.Repaint) hooks.Repaint();
    return ok;
}

} // namespace

bool DiscardOutdatedStakes(TStakesFile& file, shell::Shell& shell)
{
    try {
        if (!file.IsOutdated()) return false;
        // Nothing goes before a copy of the file as it was is kept beside it.
        const util::TBackupCopy copy = util::KeepBackupCopy(file.Path());
        const int64_t trailing = file.Size() % TStakesFile::RecordSize;
        const bool partial = file.FirstVersion() == TStakeRecord::CurrentVersion;
        const std::string name = file.Path().filename().string();
        if (!copy.Saved) {
            file.SetReadOnly();
            shell.ShowMessage(shell::MessageKind::Warning,
                util::Format("Файл ставок \"%s\" другой версии или поврежден.", {name}) + "\n\n" + copy.Note);
            return false;
        }
        shell.ShowMessage(shell::MessageKind::Warning,
            (partial ? util::Format("Файл ставок \"%s\" заканчивается неполной записью (%d байт); она удалена, "
                                    "ставки сохранены.",
                                    {name, trailing})
                     : std::string(OutdatedStakesText))
                + "\n\n" + copy.Note);
        // A stray tail after records of this version costs only the tail.
        file.Truncate(partial ? file.RecordCount() : 0);
        return !partial;
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка чтения файла ставок!", e.what());
        return false;
    }
}

bool AddStake(TStakesFile& file, shell::Shell& shell, const TStakeRecord& stake, int drawsCount,
              const TStakeViewHooks& hooks)
{
    shell.SetStatusText("Создание ставки...");
    const bool ok = file.AppendStakes(shell, stake, drawsCount);
    if (ok) {
        runCheck(hooks);
        refreshView(hooks, true, true);
    }
    shell.SetStatusText("");
    return ok;
}

bool AddStakes(TStakesFile& file, shell::Shell& shell, const TStakeRecord& stake, int drawsCount, bool bulk,
               bool scrollEnabled, const TStakeViewHooks& hooks)
{
    // A series shows its status once; a status per stake would repaint the window thousands of
    // times for nothing.
    if (!bulk) shell.SetStatusText(AddManyStatus);
    const bool ok = file.AppendStakes(shell, stake, drawsCount);
    if (ok) refreshView(hooks, false, !bulk || scrollEnabled);
    return ok;
}

std::string BulkStakeQuestion(std::size_t combs, int drawsCount)
{
    const int64_t draws = std::max(1, drawsCount);
    const int64_t stakes = static_cast<int64_t>(combs) * draws;
    // Each stake of a series over several draws stands behind a separator row.
    const int64_t records = draws >= 2 ? 2 * stakes : stakes;
    const double megabytes = static_cast<double>(records) * TStakesFile::RecordSize / (1024.0 * 1024.0);
    return util::Format("Будет сделано ставок: %d (комбинаций: %d, тиражей: %d).\n"
                        "Файл ставок увеличится примерно на %.1f МБ.\n\nПродолжить?",
                        {stakes, static_cast<int64_t>(combs), draws, megabytes});
}

bool AddStakesForCombs(TStakesFile& file, shell::Shell& shell, std::span<const game::TComb> combs,
                       int32_t drawNo, int drawsCount, std::string_view comment, int32_t sampleSize,
                       const TPrizeTable& prizes, bool scrollEnabled, const TStakeViewHooks& hooks, uint8_t origin)
{
    if (static_cast<int64_t>(combs.size()) * std::max(1, drawsCount) >= BulkStakeQuestionFrom &&
        !shell.Confirm(BulkStakeQuestion(combs.size(), drawsCount)))
        return false;
    bool ok = true;
    {
        shell::BusyScope busy(shell, AddManyStatus);
        TStakesFile::TBulkAppend bulk(file);
        for (const game::TComb& comb : combs) {
            const TStakeRecord stake = NewStake(origin, drawNo, sampleSize, comb, comment, prizes);
            if (!AddStakes(file, shell, stake, drawsCount, true, scrollEnabled, hooks)) {
                ok = false;
                break;
            }
        }
        if (!bulk.Finish(shell)) ok = false;
    }
    if (ok && !combs.empty()) {
        runCheck(hooks);
        refreshView(hooks, true, true);
    }
    return ok;
}

bool StakeDel(TStakesFile& file, shell::Shell& shell, int topRow, int bottomRow, const TStakeViewHooks& hooks)
{
    if (!shell.AskDelete(bottomRow - topRow + 1)) return false;
    return deleteStakes(shell, hooks, [&] { return file.DeleteSelectedStakes(shell, topRow, bottomRow); });
}

bool StakeFilter(TStakesFile& file, shell::Shell& shell, int mode, int value, const TStakeViewHooks& hooks)
{
    return deleteStakes(shell, hooks, [&] { return file.DeleteStakesByCondition(shell, mode, value); });
}

bool StakeClear(TStakesFile& file, shell::Shell& shell, const TStakeViewHooks& hooks)
{
    // The question counts what the player placed, not the separator rows between groups.
    int stakes = 0;
    try {
        stakes = file.StakeCount();
    } catch (const std::exception& e) {
        shell.ShowFailure("Ошибка чтения файла ставок!", e.what());
        return false;
    }
    if (!shell.AskDelete(stakes)) return false;
    bool ok = false;
    {
        shell::BusyScope busy(shell, DeleteStatus);
        try {
            file.Truncate();
            ok = true;
        } catch (const std::exception& e) {
            shell.ShowFailure("Ошибка удаления записи из файла ставок!", e.what());
        }
        if (ok) {
            ok = file.Reopen(shell);
            refreshView(hooks, false, false);
            if (hooks.RefreshRatings) hooks.RefreshRatings();
        }
    }
    if (hooks.Repaint) hooks.Repaint();
    return ok;
}

} // namespace kv::stakes

#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "core/game/types.h"
#include "core/stakes/ratings.h"
#include "core/stakes/regulars.h"
#include "core/stakes/stakecheck.h"
#include "core/scenario/scenario.h"
#include "core/scenario/scriptstate.h"
#include "core/stakes/stakesfile.h"
#include "core/stats/stattable.h"
#include "core/util/files.h"
#include "core/workspace/formsettings.h"
#include "core/workspace/proxy.h"
#include "core/workspace/sharedstate.h"
#include "core/workspace/viewsettings.h"

namespace kv::shell {
class Shell;
}

namespace kv::workspace {

// The application state that the main window owns in a running program. The Qt window presents
// it; batch runs and tests drive it directly. Operations that report to the user take a Shell.
class Workspace final : public scenario::TScriptState {
public:
    explicit Workspace(std::filesystem::path dataDir);

    static constexpr const char* SettingsFileName = "Kvanta_8x20.ini";
    // The names under the default program name; FormFilePath and FilterListPath follow the
    // executable's own name.
    static constexpr const char* FilterListFileName = "Kvanta_8x20.flt";
    static constexpr const char* FormFileName = "Kvanta_8x20.frm";
    std::filesystem::path FormFilePath() const;
    std::filesystem::path FilterListPath() const;

    const std::filesystem::path& DataDir() const override { return m_dataDir; }
    std::filesystem::path FilePath(const std::string& name) const { return m_dataDir / name; }

    // --- draws archive -------------------------------------------------------------------
    const game::TDrawsArray& Draws() const override { return m_draws; }
    using TScriptState::DrawCount;
    int DrawsOffset() const override { return m_drawsOffset; }
    // Clamped to 0..count-1; returns true when the offset changed (views then refresh).
    bool SetDrawsOffset(int offset) override;
    // Archive index of the current last draw (count - 1 - offset); -1 for an empty archive.
    int LastDrawIndex() const;
    int NextDrawNo() const override;             // the next draw everywhere in the system
    uint32_t HiddenNextDraw() const;    // bit n for each number of the hidden next draw
    std::string HiddenNextDrawText() const;
    // The draw shown at list row `row` (newest first).
    const game::TDraw& DrawAtRow(int row) const { return m_draws[m_draws.size() - 1 - row]; }

    // Reads the archive file with the status text "Загрузка файла тиражей..."; a read error
    // shows "Ошибка чтения файла тиражей!" with the reason, keeps what was read and never
    // rewrites the file in this run. No save is made before the archive was read.
    void LoadArchive(shell::Shell& shell);
    // Rewrites the archive file; a failure shows "Ошибка записи в файл тиражей!" with the
    // reason and returns false (memory keeps the change; the next change saves it again).
    bool SaveArchive(shell::Shell& shell);
    void ClearArchive();

    void AddDraw(shell::Shell& shell, const game::TDraw& draw);
    // Appends draws (a downloaded page) to the archive file, then to memory, and refreshes the
    // analysis views; false when the save failed (shown with "Ошибка записи в файл тиражей!";
    // neither the file nor memory holds any of the draws then, so nothing unsaved is checked
    // or counted).
    bool AppendDraws(shell::Shell& shell, const game::TDrawsArray& draws);
    // For a newcomer's first look: only while the archive is empty and after DemoArchiveQuestion,
    // DemoArchiveDraws invented draws (a fixed seed) are appended and saved. False when nothing was made.
    static constexpr int DemoArchiveDraws = 2000;
    static constexpr const char* DemoArchiveQuestion =
        "Создать демонстрационный архив из 2000 вымышленных тиражей?\n\nЭто не настоящие результаты лотереи: "
        "перед работой с настоящими тиражами удалите их (Тиражи → Удалить).";
    bool CreateDemoArchive(shell::Shell& shell);
    void ReplaceDraw(shell::Shell& shell, int index, const game::TDraw& draw);
    // Deletes the draws shown at the given list rows (any order), walking from the last row up.
    void DeleteDrawRows(shell::Shell& shell, std::vector<int> rows);
    // Import and export of draws text files; failures are shown with the reason. Import returns
    // the number of draws appended (-1 on failure, the archive then unchanged).
    int ImportDraws(shell::Shell& shell, const std::filesystem::path& file);
    bool ExportDraws(shell::Shell& shell, const std::filesystem::path& file);

    // --- combination list and the filter history -----------------------------------------
    filters::TCombList& Combs() override { return m_combs; }
    const filters::TCombList& Combs() const { return m_combs; }
    filters::TFilterHistory& History() override { return m_history; }
    const filters::TFilterHistory& History() const { return m_history; }

    // --- stakes file ---------------------------------------------------------------------
    // Opens and locks the stakes file; false when that is impossible (another instance holds it
    // or the directory cannot be written). The caller shows ExclusiveAccessText and ends.
    bool OpenStakesFile();
    void CloseStakesFile() { m_stakes.Close(); }
    stakes::TStakesFile& StakesFile() override { return m_stakes; }
    std::string ExclusiveAccessText() const;

    // --- ratings and regular stakes ----------------------------------------------------------
    // Both live beside the stakes file in the data directory. Every change writes them at once,
    // so shutdown only drops them.
    stakes::TRatings& Ratings() { return m_ratings; }
    const stakes::TRatings& Ratings() const { return m_ratings; }
    stakes::TRegulars& Regulars() { return m_regulars; }
    const stakes::TRegulars& Regulars() const { return m_regulars; }

    // The start-up step after the archive and the combination list: the rating (read, sorted in
    // the view's order, saved) and, while the tab "Регуляры" is shown, the regulars. The view
    // order (Ratings().SetSortOrder), the efficiency mode and the tab's state come from the
    // window settings before this.
    void LoadRatingsAndTables(shell::Shell& shell);

    // The check pass with the program's settings: every stake it checks is added to the rating,
    // which is then sorted in the view's order and saved once; the stakes file is reopened.
    stakes::TCheckSettings CheckSettings(const stakes::TPrizeTable& prizes, bool logEnabled);
    bool CheckStakesAndReload(shell::Shell& shell, const stakes::TPrizeTable& prizes, bool logEnabled);
    // The hooks of a stake command run outside the stakes grid: the grid and the rating follow
    // through the shared state's announcements, Check runs CheckStakesAndReload with the log
    // setting of the view settings. `prizes` is copied, `shell` must outlive the hooks.
    stakes::TStakeViewHooks StakeViewHooks(shell::Shell& shell, const stakes::TPrizeTable& prizes);
    // After a pass that checked something (here or in a scenario run): the rating sorted in the
    // view's order and saved.
    void RatingsAfterCheck(shell::Shell& shell);
    // "Обновить рейтинг" over the open stakes file (asks first when the rating is not empty).
    bool RatingsRefresh(shell::Shell& shell);

    // What staking a regular needs: the archive, the current window, the size of the
    // combination list, the stakes file. hooks.Check should run CheckStakesAndReload.
    stakes::TRegularStakeContext RegularStakeContext(const stakes::TPrizeTable& prizes, bool scrollEnabled,
                                                     const stakes::TStakeViewHooks& hooks);
    // TablesStakeAdd for the regular at row, with the program's stake dialog.
    bool TablesStakeAdd(shell::Shell& shell, const stakes::TPrizeTable& prizes, int row, bool scrollEnabled,
                        const stakes::TStakeViewHooks& hooks, const stakes::TStakeDialog& dialog);
    // TablesStakeTest of the selected regulars over the last n draws. The window moves through
    // the offsets without recomputing the analysis views, and comes back to where it was.
    bool TablesStakeTest(shell::Shell& shell, const stakes::TPrizeTable& prizes, std::span<const int> rows, int n,
                         bool scrollEnabled, const stakes::TStakeViewHooks& hooks);

    // While set, offset changes do not recompute the analysis views (the draw list still follows).
    bool ViewsRefreshSuspended() const { return m_viewsRefreshSuspended; }
    void SetViewsRefreshSuspended(bool suspended) { m_viewsRefreshSuspended = suspended; }
    // --- scenario ------------------------------------------------------------------------
    // The scenario being edited, mirrored in Kvanta_8x20.lss of the data directory.
    scenario::TScenario& Scenario() override { return m_scenario; }
    const scenario::TScenario& Scenario() const { return m_scenario; }

    // --- what more than one view reads, with its announcements ---------------------------
    TSharedState& Shared() { return m_shared; }
    const TSharedState& Shared() const { return m_shared; }
    // The statistics table the statistics view shows and a scenario run rebuilds.
    stats::TStatTable& StatTable() { return m_statTable; }

    // --- proxy settings (section PROXY of the settings file) ------------------------------
    TProxy& Proxy() { return m_proxy; }
    const TProxy& Proxy() const { return m_proxy; }

    // --- view settings -------------------------------------------------------------------
    // The window-settings file beside the data (section TFormMain).
    const FormSettings& FormFile() const { return m_frm; }
    const TViewSettings& View() const { return m_view; }
    // Reads the view settings from the .frm; missing or damaged keys give the defaults.
    void LoadViewSettings();
    // Takes the settings and writes the keys that changed at once. A failed write throws; the
    // settings in memory keep the change.
    void SetViewSettings(const TViewSettings& settings);
    void SetViewFlag(bool TViewSettings::* flag, bool value);
    // The first start of a program that knows the prefetch flag writes PrefetchsInit once, with
    // PrefetchsEnabled beside it.
    void InitPrefetchsFlag();

    // --- listeners -----------------------------------------------------------------------
    // The draw list must be brought up to date (force: redraw even when the count is the same).
    std::function<void(bool force)> onDrawListChanged;
    // The analysis views must be recalculated (after an archive or offset change); the views
    // themselves hear it as Shared()'s Analysis, announced right after this.
    std::function<void()> onViewsRefresh;

private:
    void drawListChanged(bool force);
    void viewsRefresh();

    std::filesystem::path m_dataDir;
    game::TDrawsArray m_draws;
    bool m_archiveReadOnly = false;   // a damaged archive whose copy failed is never rewritten
    util::TReadBeforeWrite m_archiveRead;
    int m_drawsOffset = 0;
    stakes::TStakesFile m_stakes;
    filters::TCombList m_combs;
    filters::TFilterHistory m_history;
    stakes::TRatings m_ratings;
    stakes::TRegulars m_regulars;
    bool m_viewsRefreshSuspended = false;
    scenario::TScenario m_scenario;
    FormSettings m_frm;
    TViewSettings m_view;
    TProxy m_proxy;
    TSharedState m_shared;
    stats::TStatTable m_statTable;
};

// The rating's order as the rating view keeps it in the window settings: "RatingsList.SortType"
// is the column and the direction (0 ascending); a missing or damaged value leaves the order.
constexpr const char* RatingsListName = "RatingsList";
void ApplyRatingsSortOrder(const FormSettings& frm, stakes::TRatings& ratings);

} // namespace kv::workspace

#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "core/game/types.h"
#include "core/scenario/scenario.h"
#include "core/stakes/stakesfile.h"

namespace kv::shell {

class Shell;

// The application state that the main window owns in a running program. The Qt window presents
// it; batch runs and tests drive it directly. Operations that report to the user take a Shell.
class Workspace {
public:
    explicit Workspace(std::filesystem::path dataDir);

    static constexpr const char* SettingsFileName = "Kvanta_8x20.ini";
    static constexpr const char* FilterListFileName = "Kvanta_8x20.flt";
    static constexpr const char* FormFileName = "Kvanta_8x20.frm";

    const std::filesystem::path& DataDir() const { return m_dataDir; }
    std::filesystem::path FilePath(const std::string& name) const { return m_dataDir / name; }

    // --- draws archive -------------------------------------------------------------------
    const game::TDrawsArray& Draws() const { return m_draws; }
    int DrawCount() const { return static_cast<int>(m_draws.size()); }
    int DrawsOffset() const { return m_drawsOffset; }
    // Clamped to 0..count-1; returns true when the offset changed (views then refresh).
    bool SetDrawsOffset(int offset);
    // Archive index of the current last draw (count - 1 - offset); -1 for an empty archive.
    int LastDrawIndex() const;
    int NextDrawNo() const;             // the next draw everywhere in the system
    uint32_t HiddenNextDraw() const;    // bit n for each number of the hidden next draw
    std::string HiddenNextDrawText() const;
    // The draw shown at list row `row` (newest first).
    const game::TDraw& DrawAtRow(int row) const { return m_draws[m_draws.size() - 1 - row]; }

    // Reads the archive file with the status text "Загрузка файла тиражей..."; a read error
    // shows "Ошибка чтения файла тиражей!" with the reason and keeps what was read.
    void LoadArchive(Shell& shell);
    // Rewrites the archive file; a failure shows "Ошибка записи в файл тиражей!" with the
    // reason and returns false (memory keeps the change; the next change saves it again).
    bool SaveArchive(Shell& shell);
    void ClearArchive();

    void AddDraw(Shell& shell, const game::TDraw& draw);
    void ReplaceDraw(Shell& shell, int index, const game::TDraw& draw);
    // Deletes the draws shown at the given list rows (any order), walking from the last row up.
    void DeleteDrawRows(Shell& shell, std::vector<int> rows);
    // Import and export of draws text files; failures are shown with the reason. Import returns
    // the number of draws appended (-1 on failure, the archive then unchanged).
    int ImportDraws(Shell& shell, const std::filesystem::path& file);
    bool ExportDraws(Shell& shell, const std::filesystem::path& file);

    // --- combination list and the filter history -----------------------------------------
    filters::TCombList& Combs() { return m_combs; }
    const filters::TCombList& Combs() const { return m_combs; }
    filters::TFilterHistory& History() { return m_history; }
    const filters::TFilterHistory& History() const { return m_history; }

    // --- stakes file ---------------------------------------------------------------------
    // Opens and locks the stakes file; false when that is impossible (another instance holds it
    // or the directory cannot be written). The caller shows ExclusiveAccessText and ends.
    bool OpenStakesFile();
    void CloseStakesFile() { m_stakes.Close(); }
    stakes::TStakesFile& StakesFile() { return m_stakes; }
    static const char* ExclusiveAccessText();

    // --- scenario ------------------------------------------------------------------------
    // The scenario being edited, mirrored in Kvanta_8x20.lss of the data directory.
    scenario::TScenario& Scenario() { return m_scenario; }
    const scenario::TScenario& Scenario() const { return m_scenario; }

    // --- listeners -----------------------------------------------------------------------
    // The draw list must be brought up to date (force: redraw even when the count is the same).
    std::function<void(bool force)> onDrawListChanged;
    // The analysis views must be recalculated (after an archive or offset change).
    std::function<void()> onViewsRefresh;

private:
    void drawListChanged(bool force);
    void viewsRefresh();

    std::filesystem::path m_dataDir;
    game::TDrawsArray m_draws;
    int m_drawsOffset = 0;
    stakes::TStakesFile m_stakes;
    filters::TCombList m_combs;
    filters::TFilterHistory m_history;
    scenario::TScenario m_scenario;
};

} // namespace kv::shell

#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/filters/filterset.h"

namespace kv::workspace {

// What a change of the shared state is about; a listener hears only its own kind.
enum class TChange {
    ExcludedDraws,     // the draws the combination list leaves out
    Statistics,        // the statistics method or window length
    CombSelection,     // the selected combination rows
    RatingSelection,   // the selected rating rows
    Stakes,            // the stakes file changed; StakesChange() says how the grid follows
    Ratings,           // the rating must be read again
    StatView,          // the statistics view is to show StatView() (a scenario run's step)
    Analysis,          // the archive, its offset or its order changed: the analysis views recompute
    Parameters,        // the system's parameters changed: whatever shows channels, prizes or charts
    Choosers,          // the registry's methods changed; ChooserChange() says how the choosers follow
    Registry,          // the registry's formulas or favourites changed: the statistics are built again
};

// How the statistics choosers follow the registry: Reloaded says the registry's lists were
// rebuilt (another method may now sit at the chosen place), KeepSelection keeps the position.
struct TChooserChange {
    bool Reloaded = false;
    bool KeepSelection = false;
};

// How the stakes grid follows its file: Rows re-reads the row count, GoToLast selects the last
// row, Repaint only repaints.
struct TStakesChange {
    bool Rows = false;
    bool GoToLast = false;
    bool Repaint = false;
};

// The state that more than one view reads (one view sets it, the others read it) and the
// announcements one view makes to another. Views subscribe to the kinds they follow instead
// of asking each other, so that each can be built and tested without the others.
class TSharedState {
public:
    using TListener = std::function<void()>;
    // Calls `listener` after every change of `what` for as long as the returned token is kept;
    // dropping the token ends it, so a listener never outlives the one that subscribed.
    [[nodiscard]] std::shared_ptr<void> Subscribe(TChange what, TListener listener);

    int ExcludedDraws() const { return m_excludedDraws; }
    void SetExcludedDraws(int draws);

    // The chosen statistics method (-1: none) and the window length in draws.
    int StatMethod() const { return m_statMethod; }
    int StatLength() const { return m_statLength; }
    void SetStatistics(int method, int length);

    // The selected combination rows, ascending, and the current row (-1: none).
    const std::vector<int>& CombRows() const { return m_combRows; }
    int CurrentCombRow() const { return m_currentCombRow; }
    void SetCombSelection(std::vector<int> rows, int current);

    // The names of the selected rating rows.
    const std::vector<std::string>& RatingNames() const { return m_ratingNames; }
    void SetRatingSelection(std::vector<std::string> names);

    // Announcements: the listeners of Stakes read StakesChange() while they run.
    void AnnounceStakes(TStakesChange how);
    const TStakesChange& StakesChange() const { return m_stakesChange; }
    void AnnounceRatings() { announce(TChange::Ratings); }
    void AnnounceStatView(filters::TStatViewState state);
    const filters::TStatViewState& StatView() const { return m_statView; }

    // A scenario run rebuilds the statistics itself, window by window, so Analysis is not
    // announced while it runs.
    bool ScenarioRunning() const { return m_scenarioRunning; }
    void SetScenarioRunning(bool running) { m_scenarioRunning = running; }
    void AnnounceAnalysis();
    void AnnounceParameters() { announce(TChange::Parameters); }
    void AnnounceChoosers(TChooserChange how);
    const TChooserChange& ChooserChange() const { return m_chooserChange; }
    void AnnounceRegistry() { announce(TChange::Registry); }

private:
    struct Entry {
        TChange what;
        std::weak_ptr<TListener> listener;
    };
    void announce(TChange what);

    std::vector<Entry> m_listeners;
    int m_excludedDraws = 0;
    int m_statMethod = -1;
    int m_statLength = 0;
    std::vector<int> m_combRows;
    int m_currentCombRow = -1;
    std::vector<std::string> m_ratingNames;
    TStakesChange m_stakesChange;
    filters::TStatViewState m_statView;
    bool m_scenarioRunning = false;
    TChooserChange m_chooserChange;
};

} // namespace kv::workspace

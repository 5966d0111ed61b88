#include "core/workspace/sharedstate.h"

#include <algorithm>
#include <utility>

namespace kv::workspace {

std::shared_ptr<void> TSharedState::Subscribe(TChange what, TListener listener)
{
    auto held = std::make_shared<TListener>(std::move(listener));
    std::erase_if(m_listeners, [](const Entry& e) { return e.listener.expired(); });
    m_listeners.push_back({what, held});
    return held;
}

void TSharedState::announce(TChange what)
{
    // A listener may subscribe or drop a token while it runs: walk a copy, and skip a listener
    // whose token is gone by the time its turn comes.
    const std::vector<Entry> listeners = m_listeners;
    for (const Entry& e : listeners) {
        if (e.what != what) continue;
        if (const std::shared_ptr<TListener> listener = e.listener.lock()) (*listener)();
    }
}

void TSharedState::SetExcludedDraws(int draws)
{
    if (draws == m_excludedDraws) return;
    m_excludedDraws = draws;
    announce(TChange::ExcludedDraws);
}

void TSharedState::SetStatistics(int method, int length)
{
    if (method == m_statMethod && length == m_statLength) return;
    m_statMethod = method;
    m_statLength = length;
    announce(TChange::Statistics);
}

void TSharedState::SetCombSelection(std::vector<int> rows, int current)
{
    std::sort(rows.begin(), rows.end());
    if (rows == m_combRows && current == m_currentCombRow) return;
    m_combRows = std::move(rows);
    m_currentCombRow = current;
    announce(TChange::CombSelection);
}

void TSharedState::SetRatingSelection(std::vector<std::string> names)
{
    if (names == m_ratingNames) return;
    m_ratingNames = std::move(names);
    announce(TChange::RatingSelection);
}

void TSharedState::AnnounceStakes(TStakesChange how)
{
    m_stakesChange = how;
    announce(TChange::Stakes);
}

void TSharedState::AnnounceStatView(filters::TStatViewState state)
{
    m_statView = std::move(state);
    announce(TChange::StatView);
}

void TSharedState::AnnounceAnalysis()
{
    if (!m_scenarioRunning) announce(TChange::Analysis);
}

void TSharedState::AnnounceChoosers(TChooserChange how)
{
    m_chooserChange = how;
    announce(TChange::Choosers);
}

} // namespace kv::workspace

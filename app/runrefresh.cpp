#include "app/runrefresh.h"

#include <algorithm>
#include <utility>

RunRefresh::RunRefresh(QWidget* window) : m_window(window)
{
    QObject::connect(&m_paint, &QTimer::timeout, m_window, [this] {
        m_paint.setInterval(IntervalMs);
        paint();
    });
}

void RunRefresh::paint()
{
    for (Due& d : m_due)
        if (d.refresh && d.shownBy && d.shownBy->isVisible()) {
            d.last.start();
            std::exchange(d.refresh, nullptr)();
        }
    m_window->setUpdatesEnabled(true);
    m_window->repaint();
    m_window->setUpdatesEnabled(false);
}

RunRefresh::Due& RunRefresh::entry(const void* key)
{
    const auto it = std::find_if(m_due.begin(), m_due.end(), [key](const Due& d) { return d.key == key; });
    if (it != m_due.end()) return *it;
    m_due.push_back({key, nullptr, {}, {}});
    return m_due.back();
}

void RunRefresh::request(const void* key, const QWidget* shownBy, std::function<void()> refresh)
{
    if (!m_running) {
        refresh();
        return;
    }
    Due& due = entry(key);
    due.shownBy = shownBy;
    if (shownBy && shownBy->isVisible() && (!due.last.isValid() || due.last.elapsed() >= IntervalMs)) {
        due.last.start();
        due.refresh = nullptr;
        refresh();
        return;
    }
    due.refresh = std::move(refresh);
}

bool RunRefresh::isDue(const void* key) const
{
    return std::any_of(m_due.begin(), m_due.end(), [key](const Due& d) { return d.key == key && d.refresh; });
}

void RunRefresh::setRunning(bool running)
{
    if (running == m_running) return;
    m_running = running;
    if (running) {
        // Every event is still handled at each of the run's checks; only painting waits.
        m_window->setUpdatesEnabled(false);
        m_paint.start(FirstPaintMs);
        return;
    }
    m_paint.stop();
    // A refresh may ask for another; outside a run that one is done at once.
    std::vector<Due> due = std::exchange(m_due, {});
    for (Due& d : due)
        if (d.refresh) d.refresh();
    m_window->setUpdatesEnabled(true);
}

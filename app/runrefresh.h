#pragma once
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

// While a scenario runs, the window is not rebuilt and repainted at every offset and filter:
// each change of a view asks here. A view the user sees follows at most once per IntervalMs, the
// window is painted as often, after the shown views still due (the status panels and the
// progress move, "Стоп" answers), and
// every view still due is refreshed once, in the order first asked, when the run ends. Outside a
// run a refresh is done at once.
class RunRefresh {
public:
    static constexpr int IntervalMs = 500;
    // The first paint of a run comes sooner: what a closed dialog uncovered is not left unpainted
    // for long, while a run shorter than this is painted only at its end.
    static constexpr int FirstPaintMs = 250;

    // `window` is the one whose painting waits during a run.
    explicit RunRefresh(QWidget* window);

    // `key` names what is refreshed (a later request replaces an earlier one of the same key);
    // `shownBy` is the widget whose visibility lets it follow during a run (none: never).
    void request(const void* key, const QWidget* shownBy, std::function<void()> refresh);
    bool isDue(const void* key) const;
    bool running() const { return m_running; }
    // The end of a run refreshes whatever is due and paints the window.
    void setRunning(bool running);

private:
    struct Due {
        const void* key;
        const QWidget* shownBy;
        std::function<void()> refresh;   // empty: done
        QElapsedTimer last;              // the last refresh during this run
    };
    Due& entry(const void* key);
    void paint();

    QWidget* m_window;
    QTimer m_paint;
    bool m_running = false;
    std::vector<Due> m_due;
};

#pragma once
#include <QObject>
#include <functional>

class QWidget;
class TCommandSet;
namespace kv::shell {
class Shell;
}
namespace kv::workspace {
class FormSettings;
class Workspace;
}

// The colour commands of the lists and the analysis views, and the repeats dialog of the
// extended statistics. A colour command turns its flag over; what it colours is repainted the
// way the window says, so nothing here knows a view.
class AnalysisCommands : public QObject {
public:
    struct Repaints {
        std::function<void()> draws;   // the channels of the draw list
        std::function<void()> combs;   // the channels of the combination list
        std::function<void()> card;    // the card's channels and sequences
        std::function<void()> layout;  // the layout's gradient
    };

    AnalysisCommands(kv::workspace::Workspace& ws, kv::shell::Shell& shell, const kv::workspace::FormSettings& frm,
                     TCommandSet& commands, QWidget* window, Repaints repaints);

    // The colour commands, before the analysis views that put them in their context menus.
    void createColorCommands();
    // "Количество повторов в зависимости от тиража".
    void createRepeatsCommand();

private:
    kv::workspace::Workspace& m_ws;
    kv::shell::Shell& m_shell;
    const kv::workspace::FormSettings& m_frm;
    TCommandSet& m_commands;
    QWidget* m_window;
    Repaints m_repaints;
};

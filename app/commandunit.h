#pragma once
#include <QObject>

class QWidget;
class TCommandSet;
namespace kv::shell {
class Shell;
}
namespace kv::stats {
class TStatList;
}
namespace kv::workspace {
class Workspace;
}

// Everything a command unit is built with: what a view gets but the host; the window is the
// parent of the unit's dialogs.
struct UnitContext {
    kv::workspace::Workspace& workspace;
    kv::stats::TStatList& stats;
    kv::shell::Shell& shell;
    TCommandSet& commands;
    QWidget* window;
};

// A unit of commands that belong to no view: it registers them when the window calls it (the
// window keeps the order of registration) and holds their slots. It knows no view; what must
// follow its change it asks of the window through functions the window gives it.
class CommandUnit : public QObject {
protected:
    explicit CommandUnit(const UnitContext& ctx)
        : m_ws(ctx.workspace), m_stats(ctx.stats), m_shell(ctx.shell), m_commands(ctx.commands), m_window(ctx.window) {}

    kv::workspace::Workspace& m_ws;
    kv::stats::TStatList& m_stats;
    kv::shell::Shell& m_shell;
    TCommandSet& m_commands;
    QWidget* m_window;
};

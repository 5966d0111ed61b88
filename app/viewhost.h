#pragma once
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include <QString>
#include <QWidget>

#include "core/workspace/formsettings.h"
#include "core/workspace/sharedstate.h"

class QWidget;
class TCommandSet;
namespace kv::shell {
class Shell;
}
namespace kv::stats {
class TPrefetchCache;
class TStatList;
}
namespace kv::workspace {
class Workspace;
}

// How the stakes grid follows the file: Rows re-reads the rows, GoToLast selects the last one.
struct StakeGridRefresh {
    bool Rows = false;
    bool GoToLast = false;
};

// What a view needs of the window around it. The main window implements it; a view never sees
// the main window itself, nor another view: what views share lives in the workspace
// (Workspace::Shared), which announces its changes to the views that subscribe.
class ViewHost {
public:
    virtual ~ViewHost() = default;

    // The parent of the view's dialogs and chart windows.
    virtual QWidget* mainWindow() = 0;
    virtual void setStatusField(int field, const QString& text) = 0;
    // Brings the tab holding `page` to the front.
    virtual void showTab(QWidget* page) = 0;
    // Shows or hides the tab of `page`; a shown tab comes to the front.
    virtual void setTabShown(QWidget* page, bool visible) = 0;
    // A scenario run starts or ends: the draws, combination and statistics tabs are shut for it.
    virtual void setRunning(bool running) = 0;
    // A view's refresh after a change: at once, or during a scenario run at most a few times a
    // second while `view` is shown and once when the run ends (`key` names the refresh).
    virtual void refreshView(const void* key, const QWidget* view, std::function<void()> refresh) = 0;
};

// Everything a view is built with.
struct ViewContext {
    kv::workspace::Workspace& workspace;
    kv::stats::TStatList& stats;
    const kv::stats::TPrefetchCache& cache;
    kv::shell::Shell& shell;
    TCommandSet& commands;
    ViewHost& host;
};

// Window-settings keys and their values, in the order they are written.
using SettingValues = std::vector<std::pair<std::string, std::string>>;

// A view: a widget that holds what every view is built with, taken from its ViewContext.
class ContextView : public QWidget {
public:
    // The view's own keys of the window settings: read once at start, after every command is
    // registered; written with the window's keys when it closes. A view without settings of
    // its own keeps these empty.
    virtual void restoreSettings(const kv::workspace::FormSettings& frm) { (void)frm; }
    virtual void saveSettings(SettingValues& values) const { (void)values; }

protected:
    explicit ContextView(const ViewContext& ctx)
        : QWidget(ctx.host.mainWindow()), m_ws(ctx.workspace), m_stats(ctx.stats), m_cache(ctx.cache),
          m_shell(ctx.shell), m_commands(ctx.commands), m_host(ctx.host) {}

    // Runs `listener` after every announcement of `what` by the workspace's shared state, for
    // as long as the view lives: this is how a view follows changes made elsewhere, instead of
    // the window calling it.
    void follow(kv::workspace::TChange what, std::function<void()> listener);

    kv::workspace::Workspace& m_ws;
    kv::stats::TStatList& m_stats;
    const kv::stats::TPrefetchCache& m_cache;
    kv::shell::Shell& m_shell;
    TCommandSet& m_commands;
    ViewHost& m_host;

private:
    std::vector<std::shared_ptr<void>> m_follows;
};

#pragma once
#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/downloadcommands.h"
#include "app/runrefresh.h"
#include "app/viewhost.h"
#include "core/workspace/cmdline.h"
#include "core/workspace/formsettings.h"
#include "core/workspace/workspace.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"

class QAction;
class AnalysisCommands;
class HelpCommands;
class LanguageCommands;
class SettingsCommands;
class StatusBar;
class TCommandSet;
class QSplitter;
class QTabWidget;
class QTableView;
class QTimer;
class ContextView;
class DrawsView;
class QtShell;
class StatsView;
class CombsView;
class RatingsView;
class RegularsView;
class StakesView;
class ScenarioView;
class GraphsView;
class CardView;
class LayoutView;
class WeekView;
class QMenu;
class CatalogView;
class SystemsView;

// The main window: presents the workspace and runs the commands. It owns no domain state.
class TFormMain : public QMainWindow, private ViewHost {
    Q_OBJECT
public:
    TFormMain(const std::filesystem::path& dataDir, const kv::workspace::CommandLine& cmd,
              QWidget* parent = nullptr);
    ~TFormMain() override;

    kv::workspace::Workspace& workspace() { return m_ws; }
    kv::stats::TStatList& statList() { return m_stats; }
    void showTab(QWidget* page) override;
    void setStatusField(int field, const QString& text) override;

    kv::shell::Shell& shell();
    TCommandSet& commands() { return *m_commands; }
    QAction* command(const QString& name) const;
    QString statusText(int field) const;
    bool isInitialised() const { return m_initialised; }
    bool hasEnded() const { return m_ended; }
    // True while DrawsDownload runs (its wait window is up).
    bool isDownloading() const { return m_downloads->isDownloading(); }
    // What the last DrawsDownload did.
    const kv::online::TDownloadResult& lastDownload() const { return m_downloads->lastDownload(); }

    // Enable state of every command; called when the window is idle.
    void updateActions();
    void setRunning(bool running) override;
    void refreshView(const void* key, const QWidget* view, std::function<void()> refresh) override;

signals:
    // The program must end (exclusive-access failure, a finished batch run).
    void programEnded(int exitCode);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    // What the views ask of the window and of each other.
    QWidget* mainWindow() override { return this; }
    void setTabShown(QWidget* page, bool visible) override;

    ViewContext viewContext();
    QAction* addCommand(const char* name, const QString& caption, const QString& hint, std::function<void()> execute,
                        std::function<bool()> enabled = {});
    // The command units beside the views: what they ask of the window is wired here.
    void createUnits();
    void createCommands();
    void createExportCommands();
    void createMenus();
    void createWidgets();
    // The window's placement, then every view's own keys.
    void restoreSettings();
    void saveSettings();
    void initialise();
    void endProgram(int code);
    // Runs a command's body, reporting any failure with the command's fixed text.
    void guarded(const char* failureText, const std::function<void()>& body);

    kv::workspace::CommandLine m_cmd;
    kv::workspace::Workspace m_ws;
    kv::workspace::FormSettings m_frm;
    kv::stats::TStatList m_stats;
    kv::stats::TPrefetchCache m_cache;
    std::unique_ptr<QtShell> m_shell;
    TCommandSet* m_commands = nullptr;

    bool m_initialised = false;
    bool m_ended = false;
    bool m_stateSaved = false;
    RunRefresh m_runRefresh{this};
    std::unique_ptr<DownloadCommands> m_downloads;
    std::unique_ptr<LanguageCommands> m_languages;
    std::unique_ptr<HelpCommands> m_helpCommands;
    std::unique_ptr<SettingsCommands> m_settings;
    std::unique_ptr<AnalysisCommands> m_analysis;

    QSplitter* m_splitter = nullptr;
    QTabWidget* m_leftTabs = nullptr;
    QTabWidget* m_rightTabs = nullptr;
    // Every view in the order its settings are read and written.
    std::vector<ContextView*> m_views;
    DrawsView* m_drawsView = nullptr;
    std::unique_ptr<StatusBar> m_status;
    QTimer* m_idleTimer = nullptr;
    StatsView* m_statsView = nullptr;
    CombsView* m_combsView = nullptr;
    RatingsView* m_ratingsView = nullptr;
    RegularsView* m_regularsView = nullptr;
    StakesView* m_stakesView = nullptr;
    ScenarioView* m_scenarioView = nullptr;
    GraphsView* m_graphsView = nullptr;
    CardView* m_cardView = nullptr;
    LayoutView* m_layoutView = nullptr;
    WeekView* m_weekView = nullptr;
    CatalogView* m_catalogView = nullptr;
    SystemsView* m_systemsView = nullptr;
};

#pragma once
#include <QMainWindow>
#include <QPointer>
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
#include "core/stakes/stakecommands.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"

class QAction;
class TCommandSet;
class QLabel;
class QSpinBox;
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
class TFormHelp;
class QMenu;
class CatalogView;
class SystemsView;

// The main window: presents the workspace and runs the commands. It owns no domain state.
class TFormMain : public QMainWindow, private ViewHost {
    Q_OBJECT
public:
    static constexpr int StatusFields = 7;
    // The property of a tab's page that names its help page ("stattable.html"); a view added
    // later sets it on itself, and F1 opens that page while the view is in front.
    static constexpr const char* HelpPageProperty = "helpPage";

    TFormMain(const std::filesystem::path& dataDir, const kv::workspace::CommandLine& cmd,
              QWidget* parent = nullptr);
    ~TFormMain() override;

    kv::workspace::Workspace& workspace() { return m_ws; }
    kv::stats::TStatList& statList() { return m_stats; }
    const kv::stats::TPrefetchCache& prefetchCache() const { return m_cache; }
    StatsView* statsView() const { return m_statsView; }
    CombsView* combsView() const { return m_combsView; }
    RatingsView* ratingsView() const { return m_ratingsView; }
    RegularsView* regularsView() const { return m_regularsView; }
    StakesView* stakesView() const { return m_stakesView; }
    QTabWidget* leftTabs() const { return m_leftTabs; }
    QTabWidget* rightTabs() const { return m_rightTabs; }
    ScenarioView* scenarioView() const { return m_scenarioView; }
    GraphsView* graphsView() const { return m_graphsView; }
    CardView* cardView() const { return m_cardView; }
    LayoutView* layoutView() const { return m_layoutView; }
    WeekView* weekView() const { return m_weekView; }
    CatalogView* catalogView() const { return m_catalogView; }
    SystemsView* systemsView() const { return m_systemsView; }
    void showTab(QWidget* page) override;
    bool sortedDraws() const { return m_ws.View().SortedDraws; }
    bool prefetchsEnabled() const { return m_ws.View().PrefetchsEnabled; }
    bool showTotalLine() const { return m_ws.View().ShowTotalLine; }
    bool colorCombs() const { return m_ws.View().ColorCombs; }
    void setStatusField(int field, const QString& text) override;
    struct ChooserFill {
        bool Reload = false;          // rebuild the registry's lists first (settings or favourites changed)
        bool KeepSelection = false;   // the chooser keeps its position
    };
    // Refills the choosers from the registry.
    void fillChoosers(ChooserFill fill);
    void refreshViews();

    kv::shell::Shell& shell();
    const kv::workspace::FormSettings& formSettings() const { return m_frm; }
    TCommandSet& commands() { return *m_commands; }
    QAction* command(const QString& name) const;
    QTableView* drawsView() const;
    QSpinBox* offsetEdit() const;
    QString statusText(int field) const;
    bool isInitialised() const { return m_initialised; }
    bool hasEnded() const { return m_ended; }
    // True while DrawsDownload runs (its wait window is up).
    bool isDownloading() const { return m_downloads->isDownloading(); }
    // What the last DrawsDownload did.
    const kv::online::TDownloadResult& lastDownload() const { return m_downloads->lastDownload(); }
    int exitCode() const { return m_exitCode; }
    // The help window (after the first F1) and the help page of the view in front.
    TFormHelp* helpWindow() const { return m_help; }
    QString frontHelpPage() const;
    // The interface language of this run (a locale identifier).
    int language() const { return m_language; }

    // Enable state of every command; called when the window is idle.
    void updateActions();
    void setRunning(bool running) override;
    void refreshView(const void* key, const QWidget* view, std::function<void()> refresh) override;
    // The stakes grid's own hooks (its check pass with the reload).
    kv::stakes::TStakeViewHooks stakeViewHooks();

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
    void createCommands();
    void createExportCommands();
    void createMenus();
    void createWidgets();
    // The window's placement, then every view's own keys.
    void restoreSettings();
    void saveSettings();
    void waitForPreviousInstance();
    void initialise();
    void endProgram(int code);
    // Runs a command's body, reporting any failure with the command's fixed text.
    void guarded(const char* failureText, const std::function<void()>& body);
    // Turns a view flag over: its command's check, the settings and their key in the .frm.
    void toggleViewFlag(bool kv::workspace::TViewSettings::* flag, const char* command);

    void drawsStatePrefetchsEnabled();
    void drawsStatShowTotalLine();
    void editShredding();
    // "Параметры системы"; prizeTable: opened at the prize table.
    void editConfig(bool prizeTable = false);
    void filtersManager();
    void filtersReset();
    void filtersInfo();
    void about();
    void getHelp();
    void chooseStartLanguage();
    void createLanguageMenu(QMenu* settings);
    void chooseLanguage(int id);
    void restartProgram();
    void showFirstRun();
    // The analysis views' share of the window: colour commands and the repeats dialog.
    void createAnalysisCommands();
    void analyzeRepeats();

    kv::workspace::CommandLine m_cmd;
    kv::workspace::Workspace m_ws;
    kv::workspace::FormSettings m_frm;
    kv::stats::TStatList m_stats;
    kv::stats::TPrefetchCache m_cache;
    std::unique_ptr<QtShell> m_shell;
    TCommandSet* m_commands = nullptr;

    bool m_initialised = false;
    // The data folder had no window settings file at start: a newcomer's first run.
    bool m_newcomer = false;
    bool m_ended = false;
    bool m_stateSaved = false;
    int m_exitCode = 0;
    RunRefresh m_runRefresh{this};
    std::unique_ptr<DownloadCommands> m_downloads;

    QSplitter* m_splitter = nullptr;
    QTabWidget* m_leftTabs = nullptr;
    QTabWidget* m_rightTabs = nullptr;
    // Every view in the order its settings are read and written.
    std::vector<ContextView*> m_views;
    DrawsView* m_drawsView = nullptr;
    QLabel* m_status[StatusFields] = {};
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
    TFormHelp* m_help = nullptr;
    int m_language = 1049;   // the interface language of this run
    CatalogView* m_catalogView = nullptr;
    SystemsView* m_systemsView = nullptr;
};

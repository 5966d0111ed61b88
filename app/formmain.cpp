#include "app/formmain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <initializer_list>
#include <utility>

#include "app/analysiscommands.h"
#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/downloadcommands.h"
#include "app/helpcommands.h"
#include "app/languagecommands.h"
#include "app/language.h"
#include "app/menubar.h"
#include "app/views/combsview.h"
#include "app/views/ratingsview.h"
#include "app/views/stakesview.h"
#include "app/views/scenarioview.h"
#include "app/views/catalogview.h"
#include "app/views/systemsview.h"
#include "app/views/statsview.h"
#include "app/views/regularsview.h"
#include "app/views/cardview.h"
#include "app/views/graphsview.h"
#include "app/views/layoutview.h"
#include "app/views/weekview.h"
#include "core/filters/generate.h"
#include "core/workspace/engine.h"
#include "app/qtshell.h"
#include "app/settingscommands.h"
#include "app/statusbar.h"
#include "app/windowsettings.h"
#include "app/viewutil.h"
#include "app/views/drawsview.h"

using namespace kv;

TFormMain::TFormMain(const std::filesystem::path& dataDir, const workspace::CommandLine& cmd, QWidget* parent)
    : QMainWindow(parent),
      m_cmd(cmd),
      m_ws(dataDir),
      m_frm(m_ws.FormFilePath()),
      m_cache(dataDir),
      m_shell(std::make_unique<QtShell>(this))
{
    setObjectName(QStringLiteral("TFormMain"));
    setWindowTitle(QStringLiteral("Kvanta 8x20"));
    m_commands = new TCommandSet(this, [this] { return m_shell->IsBusy(); });
    createUnits();
    try {
        if (m_cmd.restart && !m_languages->waitForPreviousInstance()) {
            m_ended = true;
            QTimer::singleShot(0, this, [this] { emit programEnded(1); close(); });
            return;
        }
        m_ws.Combs().onListChanged = [this] {
            if (m_combsView) m_runRefresh.request(m_combsView, m_combsView, [this] { m_combsView->refresh(); });
        };
        m_ws.LoadViewSettings();
        m_languages->chooseStartLanguage();
        createWidgets();
        m_helpCommands->setTabs(m_leftTabs, m_rightTabs);
        createCommands();
        createMenus();
        try {
            restoreSettings();
        } catch (const std::exception& e) {
            m_shell->ShowFailure("Ошибка загрузки параметров программы!", e.what());
        }
        workspace::LoadEngine(m_stats, m_ws, *m_shell);
        m_downloads->open();
        m_helpCommands->open();
        m_drawsView->followSettings();
        m_ws.Shared().AnnounceChoosers({});

        m_idleTimer = new QTimer(this);
        m_idleTimer->setInterval(150);
        connect(m_idleTimer, &QTimer::timeout, this, &TFormMain::updateActions);
        m_idleTimer->start();
        QTimer::singleShot(100, this, &TFormMain::initialise);
    } catch (const std::exception& e) {
        m_shell->ShowFailure("Ошибка запуска программы!", e.what());
    }
}

TFormMain::~TFormMain()
{
    m_downloads.reset();
    if (!m_stateSaved && !m_ended) saveSettings();
    if (m_ws.StakesFile().IsOpen()) {
        m_shell->SetStatusText("Сохранение файла ставок...");
        m_ws.StakesFile().Close(*m_shell);
    }
    m_ws.ClearArchive();
}

shell::Shell& TFormMain::shell()
{
    return *m_shell;
}

QAction* TFormMain::command(const QString& name) const
{
    return m_commands->command(name);
}

QString TFormMain::statusText(int field) const
{
    return m_status ? m_status->text(field) : QString();
}

QAction* TFormMain::addCommand(const char* name, const QString& caption, const QString& hint,
                               std::function<void()> execute, std::function<bool()> enabled)
{
    return m_commands->add(name, caption, hint, std::move(execute), std::move(enabled));
}

ViewContext TFormMain::viewContext()
{
    return {m_ws, m_stats, m_cache, *m_shell, *m_commands, *this};
}

void TFormMain::createUnits()
{
    m_downloads = std::make_unique<DownloadCommands>(m_ws, m_stats, *m_shell, *m_commands, this);
    const UnitContext unit{m_ws, m_stats, *m_shell, *m_commands, this};
    m_languages = std::make_unique<LanguageCommands>(unit, m_frm, m_cmd, [this] { endProgram(0); });
    m_helpCommands = std::make_unique<HelpCommands>(unit, m_frm);
    m_settings = std::make_unique<SettingsCommands>(unit, m_cache);
    AnalysisCommands::Repaints repaints;
    repaints.draws = [this] { m_drawsView->followSettings(); };
    repaints.combs = [this] { m_combsView->refresh(); };
    repaints.card = [this] { m_cardView->repaint(); };
    repaints.layout = [this] { m_layoutView->repaint(); };
    m_analysis = std::make_unique<AnalysisCommands>(unit, m_frm, std::move(repaints));
}

void TFormMain::createCommands()
{
    m_drawsView->createCommands();
    m_statsView->createTableCommands();
    m_settings->createCommands();
    m_combsView->createCommands();
    m_stakesView->createCommands();
    m_statsView->createCommands();
    m_statsView->attachCommands();
    m_ratingsView->createCommands();
    m_regularsView->createCommands();
    m_scenarioView->createCommands();
    m_scenarioView->attachCommands();
    m_analysis->createColorCommands();
    // The views put the colour commands in their context menus.
    m_graphsView->createCommands();
    m_cardView->createCommands();
    m_layoutView->createCommands();
    m_weekView->createCommands();
    m_analysis->createRepeatsCommand();
    m_catalogView->createCommands();
    m_systemsView->createCommands();
    m_helpCommands->createUpdateCommand();
    m_downloads->createCommands();
    QAction* exitAction = addCommand(cmd::ExitProgram, QStringLiteral("Выход"), QString(), [this] { close(); });
    exitAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    m_helpCommands->createCommands();
    createExportCommands();
}

void TFormMain::createExportCommands()
{
    m_drawsView->createExportCommand();
    m_statsView->createExportCommand();
    m_combsView->createExportCommand();
    m_stakesView->createExportCommand();
    m_ratingsView->createExportCommand();
    m_cardView->createExportCommand();
    m_layoutView->createExportCommand();
}

void TFormMain::createMenus()
{
    MenuBarParts parts;
    parts.ratings = [this](QMenu* menu) { m_ratingsView->createMenus(menu); };
    parts.regulars = [this](QMenu* menu) { m_regularsView->createMenus(menu); };
    parts.settings = [this](QMenu* menu) { m_languages->createMenu(menu); };
    CreateMenuBar(menuBar(), *m_commands, parts);
    TranslateTabs(m_leftTabs);
    TranslateTabs(m_rightTabs);

    m_drawsView->createMenus();
}

void TFormMain::createWidgets()
{
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_leftTabs = new QTabWidget;
    m_rightTabs = new QTabWidget;

    m_drawsView = new DrawsView(viewContext());
    m_leftTabs->addTab(m_drawsView, QString::fromUtf8(DrawsView::TabCaption));
    // The draw order changed, or draws were added: the stakes grid and the other views follow.
    connect(m_drawsView, &DrawsView::sortedChanged, this, [this] {
        m_stakesView->followSettings();
        m_ws.Shared().AnnounceAnalysis();
    });
    connect(m_drawsView, &DrawsView::archiveGrew, this, [this] { m_stakesView->archiveGrew(); });
    m_combsView = new CombsView(viewContext());
    m_leftTabs->addTab(m_combsView, QStringLiteral("Комбинации"));
    m_statsView = new StatsView(viewContext());
    m_rightTabs->addTab(m_statsView, QStringLiteral("Статистика"));
    m_graphsView = new GraphsView(viewContext());
    m_rightTabs->addTab(m_graphsView, QString::fromUtf8(GraphsView::TabCaption));
    m_cardView = new CardView(viewContext());
    m_rightTabs->addTab(m_cardView, QString::fromUtf8(CardView::TabCaption));
    m_layoutView = new LayoutView(viewContext());
    m_rightTabs->addTab(m_layoutView, QString::fromUtf8(LayoutView::TabCaption));
    m_weekView = new WeekView(viewContext());
    m_rightTabs->addTab(m_weekView, QString::fromUtf8(WeekView::TabCaption));
    m_stakesView = new StakesView(viewContext());
    m_rightTabs->addTab(m_stakesView, QStringLiteral("Ставки"));
    connect(m_stakesView, &StakesView::prizeTableAsked, this, [this] { m_settings->editConfig(true); });
    m_ratingsView = new RatingsView(viewContext());
    m_rightTabs->addTab(m_ratingsView, QStringLiteral("Рейтинг"));
    m_regularsView = new RegularsView(viewContext());
    m_rightTabs->addTab(m_regularsView, QString::fromUtf8(RegularsView::TabCaption));
    m_scenarioView = new ScenarioView(viewContext());
    m_rightTabs->addTab(m_scenarioView, QStringLiteral("Сценарий"));
    // The online catalogue sits under the scenario lines; the systems have a tab of their own.
    m_catalogView = new CatalogView(viewContext(), m_scenarioView, m_scenarioView->view(),
                                    [this] { m_scenarioView->refresh(); });
    m_systemsView = new SystemsView(viewContext());
    m_rightTabs->addTab(m_systemsView, QString::fromUtf8(SystemsView::TabCaption));

    // The help page of each tab, which F1 opens.
    const std::pair<QWidget*, const char*> helpPages[] = {
        {m_drawsView, "archive.html"},    {m_combsView, "combinations.html"}, {m_statsView, "stattable.html"},
        {m_stakesView, "stakes.html"},    {m_ratingsView, "ratings.html"},    {m_regularsView, "regulars.html"},
        {m_scenarioView, "scenario.html"}, {m_graphsView, "analysis.html#graphs"}, {m_cardView, "analysis.html#card"},
        {m_layoutView, "analysis.html#layout"}, {m_weekView, "analysis.html#week"},
        {m_systemsView, "online.html#systems"}};
    for (const auto& [page, name] : helpPages) page->setProperty(HelpCommands::PageProperty, QString::fromLatin1(name));

    m_splitter->addWidget(m_leftTabs);
    m_splitter->addWidget(m_rightTabs);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);

    m_status = std::make_unique<StatusBar>(statusBar(), *m_shell, m_runRefresh);

    // A double click on a combination stakes it.
    connect(m_combsView->view(), &QTableView::doubleClicked, this, [this] {
        if (m_ws.StakesFile().IsOpen()) command(cmd::StakeAdd)->trigger();
    });
    m_views = {m_drawsView, m_combsView,  m_statsView,  m_stakesView,  m_scenarioView, m_ratingsView, m_regularsView,
               m_graphsView, m_cardView,   m_layoutView, m_weekView,    m_catalogView,  m_systemsView};
    resize(1240, 760);
}

void TFormMain::restoreSettings()
{
    RestorePlacement(*this, *m_splitter, m_frm);
    // The check marks of the units' commands follow the view flags; the views set their own.
    m_downloads->restoreSettings();
    m_analysis->restoreSettings();
    m_helpCommands->restoreSettings();
    for (ContextView* v : m_views) v->restoreSettings(m_frm);
    m_rightTabs->setCurrentIndex(0);

    m_ws.InitPrefetchsFlag();
}

void TFormMain::saveSettings()
{
    m_stateSaved = true;
    SettingValues values = PlacementValues(*this, *m_splitter);
    const SettingValues views = ViewSettingValues(m_views);
    values.insert(values.end(), views.begin(), views.end());
    try {
        m_frm.WriteAll(values);
    } catch (const std::exception& e) {
        // The window is going away; the settings file keeps its previous state.
        std::fprintf(stderr, "%s\n", e.what());
    }
}

void TFormMain::initialise()
{
    if (m_initialised || m_ended) return;
    try {
        m_shell->SetStatusText("Инициализация...");
        setWindowTitle(windowTitle() + TrText(QStringLiteral(" версия ")) + QStringLiteral(KV_VERSION));
        if (m_frm.ReadInt("LeftPanelWidth", -1) <= 0) {
            // First start: the draw list fits without a horizontal scroll bar.
            const int left = m_drawsView->fittingWidth();
            m_splitter->setSizes({left, std::max(100, m_splitter->width() - left)});
        }
        m_ws.SetDrawsOffset(0);
        m_shell->SetStatusText("Загрузка файла ставок...");
        if (!m_ws.OpenStakesFile()) {
            m_shell->SetStatusText("");
            m_shell->ShowError(m_ws.ExclusiveAccessText());
            endProgram(1);
            return;
        }
        m_stakesView->fileOpened();
        m_shell->SetStatusText("Инициализация...");
        m_ws.Combs().Init();
        m_ws.LoadArchive(*m_shell);
        filters::GenerateCombs(true, {m_stats.CombsGenerateMode, m_stats.CombsGenerateParameters}, m_ws.Combs(),
                               m_ws.History(), *m_shell);
        m_drawsView->refreshDrawList(true);
        m_combsView->refresh();
        m_ws.Shared().AnnounceAnalysis();
        m_ws.LoadRatingsAndTables(*m_shell);
        m_ratingsView->refresh();
        m_cache.CreatePrefetchFiles(m_stats, {.Enabled = m_ws.View().PrefetchsEnabled}, *m_shell);
        m_ws.Scenario().LoadCurrent(*m_shell);
        if (!m_cmd.loadOnly && !m_cmd.fullRecreate && !m_cmd.fullRefresh) {
            m_systemsView->start();
            m_catalogView->start();
        }
        m_initialised = true;
        m_shell->SetStatusText("");
        if (!m_cmd.loadOnly && !m_cmd.fullRecreate && !m_cmd.fullRefresh)
            m_helpCommands->checkAtStart([this](const QString& notice) { setStatusField(StatusBar::Messages, notice); });
        m_downloads->startupDownload(m_cmd.restart);
        m_helpCommands->showFirstRun();
    } catch (const std::exception& e) {
        m_shell->SetStatusText("");
        m_shell->ShowFailure("Ошибка инициализации программы!", e.what());
    }
    updateActions();
}

void TFormMain::endProgram(int code)
{
    if (code != 0) {
        // A refused start leaves the running instance's files alone, the window state included.
        m_ended = true;
    } else {
        saveSettings();
        m_ended = true;
    }
    if (m_idleTimer) m_idleTimer->stop();
    emit programEnded(code);
    close();
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    // The run lives on this call stack: it is asked to stop, and the window closes after it.
    if (m_scenarioView && !m_scenarioView->allowClose()) {
        event->ignore();
        return;
    }
    if (m_downloads && m_downloads->holdClose()) {
        event->ignore();
        return;
    }
    if (!m_ended && !m_stateSaved) saveSettings();
    event->accept();
}

bool TFormMain::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        // Hints go to the last status field, and only while nothing else is reported there.
        m_status->showHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TFormMain::updateActions()
{
    m_commands->updateActions();
}

void TFormMain::setRunning(bool running)
{
    for (QWidget* page : std::initializer_list<QWidget*>{m_drawsView, m_combsView, m_statsView})
        page->setEnabled(!running);
    // The run reorders and rebuilds the statistics table under the view.
    if (!running && !m_runRefresh.isDue(m_statsView)) m_runRefresh.request(m_statsView, nullptr, [this] { m_statsView->showTable(); });
    m_runRefresh.setRunning(running);
    updateActions();
}

void TFormMain::refreshView(const void* key, const QWidget* view, std::function<void()> refresh)
{
    m_runRefresh.request(key, view, std::move(refresh));
}

void TFormMain::setTabShown(QWidget* page, bool visible)
{
    const int index = m_rightTabs->indexOf(page);
    if (index < 0) return;
    m_rightTabs->setTabVisible(index, visible);
    if (visible) m_rightTabs->setCurrentIndex(index);
}

void TFormMain::setStatusField(int field, const QString& text)
{
    if (m_status) m_status->setText(field, text);
}

void TFormMain::showTab(QWidget* page)
{
    for (QTabWidget* tabs : {m_leftTabs, m_rightTabs}) {
        const int i = tabs->indexOf(page);
        if (i >= 0) tabs->setCurrentIndex(i);
    }
}

void TFormMain::guarded(const char* failureText, const std::function<void()>& body)
{
    m_shell->Guarded(failureText, body);
}

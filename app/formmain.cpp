#include "app/formmain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <string_view>
#include <utility>

#include "app/analysiscommands.h"
#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/downloadcommands.h"
#include "app/helpcommands.h"
#include "app/languagecommands.h"
#include "app/language.h"
#include "app/menubar.h"
#include "app/xlsexport.h"
#include "core/workspace/listexport.h"
#include "app/views/combsview.h"
#include "app/views/ratingsview.h"
#include "app/views/stakesview.h"
#include "app/views/scenarioview.h"
#include "app/views/catalogview.h"
#include "app/views/systemsview.h"
#include "app/onlineaccess.h"
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
#include "app/statusfield.h"
#include "app/viewflags.h"
#include "app/viewutil.h"
#include "app/views/drawsview.h"
#include "core/workspace/process.h"
#include "core/archive/archive.h"
#include "core/util/format.h"
#include "core/util/ini.h"

using namespace kv;

namespace {

// The order the views' keys have always had in a fresh .frm, when the window wrote them: a
// key begins with one of these, in this order, before every other key of the views.
constexpr std::string_view FileKeyOrder[] = {
    "DrawsList.", "CombsList.", "StatTable.Column", "FiltersList.", "StakesGrid.", "ScriptList.", "FiltersHeight",
    "StatTable.SortType", "DrawsExclude", "DrawsStatLen", "DrawsStatMethod", "DrawsStatHeight"};

// Puts the views' keys in the order of FileKeyOrder, the rest after them as the views gave them,
// so the same window state writes the same bytes whatever order the views are visited in.
void OrderLikeTheFile(SettingValues& values)
{
    const auto rank = [](const std::string& key) {
        const auto* it = std::find_if(std::begin(FileKeyOrder), std::end(FileKeyOrder),
                                      [&key](std::string_view prefix) { return key.starts_with(prefix); });
        return it - std::begin(FileKeyOrder);
    };
    std::stable_sort(values.begin(), values.end(), [&rank](const auto& a, const auto& b) { return rank(a.first) < rank(b.first); });
}

} // namespace

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
        if (m_cmd.restart) waitForPreviousInstance();
        if (m_ended) return;
        m_ws.Combs().onListChanged = [this] {
            if (m_combsView) m_runRefresh.request(m_combsView, m_combsView, [this] { m_combsView->refresh(); });
        };
        m_ws.onViewsRefresh = [this] { refreshViews(); };
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
        fillChoosers({});

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

QTableView* TFormMain::drawsView() const
{
    return findChild<QTableView*>(QString::fromLatin1(DrawsView::ListName));
}

QSpinBox* TFormMain::offsetEdit() const
{
    return findChild<QSpinBox*>(QStringLiteral("DrawsOffset"));
}

QAction* TFormMain::command(const QString& name) const
{
    return m_commands->command(name);
}

QString TFormMain::statusText(int field) const
{
    return field >= 0 && field < StatusFields && m_status[field] ? m_status[field]->text() : QString();
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
    SettingsCommands::Follow follow;
    follow.choosers = [this](bool reload) { fillChoosers({.Reload = reload, .KeepSelection = true}); };
    follow.statistics = [this] { m_statsView->build(true); };
    follow.parameters = [this] { followParameters(); };
    m_settings = std::make_unique<SettingsCommands>(unit, m_cache, std::move(follow));
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
    QAction* selfUpdate = addCommand(cmd::AutoSelfUpdate, QStringLiteral("Автоматическое обновление"),
                                     QStringLiteral("Проверять наличие новой версии при запуске"),
                                     [this] {
                                         ToggleViewFlag(m_ws, *m_shell, *m_commands, &workspace::TViewSettings::AutoUpdates,
                                                        cmd::AutoSelfUpdate);
                                     });
    selfUpdate->setCheckable(true);
    m_downloads->createCommands();
    QAction* exitAction = addCommand(cmd::ExitProgram, QStringLiteral("Выход"), QString(), [this] { close(); });
    exitAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    m_helpCommands->createCommands();
    createExportCommands();
}

void TFormMain::createExportCommands()
{
    addCommand(cmd::DrawsXlsExport, QStringLiteral("Экспорт в Microsoft Excel"), QStringLiteral("Экспорт списка тиражей в Microsoft Excel"),
               [this] {
                   ExportSheet(this, *m_shell, m_ws.DataDir(), workspace::ExportList::Draws,
                               workspace::DrawsSheet(m_ws.Draws(), m_ws.DrawsOffset(), m_ws.View().SortedDraws,
                                                     m_ws.View().ColorDraws, m_stats.Config().ChannelSize));
               }, [this] { return m_ws.DrawCount() > 0; });
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
        refreshViews();
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

    for (int i = 0; i < StatusFields; ++i) {
        m_status[i] = new StatusField(i == 6, i == 6 ? 200 : i == 2 ? 150 : 80);
        m_status[i]->setObjectName(QStringLiteral("StatusField%1").arg(i));
        statusBar()->addWidget(m_status[i], i == 6 ? 1 : 0);
    }
    m_status[2]->setAlignment(Qt::AlignCenter);
    m_shell->SetStatusLabel(m_status[6]);
    m_shell->routeStatus = [this](const QLabel* label, std::function<void()> show) {
        m_runRefresh.request(label, label, std::move(show));
    };

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
    // Window placement: only where the saved pixel density matches the screen's, so a file
    // written on another monitor never throws the window off screen.
    const int dpi = screen() ? qRound(screen()->logicalDotsPerInchY()) : 96;
    const QSize screenSize = screen() ? screen()->size() : QSize();
    if (m_frm.ReadInt("PixelsPerInch", -1) == dpi) {
        int rect[4];
        const std::string sized = util::Format("NormPos_%dx%d", {screenSize.width(), screenSize.height()});
        if (m_frm.ReadRect(sized, rect) || m_frm.ReadRect("NormPos", rect)) {
            if (rect[2] > rect[0] && rect[3] > rect[1]) setGeometry(rect[0], rect[1], rect[2] - rect[0], rect[3] - rect[1]);
        }
        if (m_frm.ReadInt("ShowCmd", 1) == 3) setWindowState(windowState() | Qt::WindowMaximized);
    }
    const int left = m_frm.ReadInt("LeftPanelWidth", -1);
    if (left > 0) m_splitter->setSizes({left, std::max(100, width() - left)});

    // The check marks of the window's own commands follow the view flags.
    const workspace::TViewSettings& view = m_ws.View();
    command(cmd::DrawsStatePrefetchsEnabled)->setChecked(view.PrefetchsEnabled);
    command(cmd::DrawsStatShowTotalLine)->setChecked(view.ShowTotalLine);
    m_downloads->restoreSettings();
    command(cmd::ViewColorDraws)->setChecked(view.ColorDraws);
    command(cmd::ViewColorCombs)->setChecked(view.ColorCombs);
    command(cmd::ViewColorCard)->setChecked(view.ColorCard);
    command(cmd::ViewColorCardSequences)->setChecked(view.ColorCardSequences);
    command(cmd::ViewLayoutGradient)->setChecked(view.LayoutGradient);
    command(cmd::AutoSelfUpdate)->setChecked(view.AutoUpdates);
    for (ContextView* v : m_views) v->restoreSettings(m_frm);
    m_rightTabs->setCurrentIndex(0);

    m_ws.InitPrefetchsFlag();
}

void TFormMain::saveSettings()
{
    m_stateSaved = true;
    const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
    const int dpi = screen() ? qRound(screen()->logicalDotsPerInchY()) : 96;
    const QSize screenSize = screen() ? screen()->size() : QSize();
    const std::string norm = util::Format("%d,%d,%d,%d", {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
    const std::string minMax = "-1,-1,-1,-1";
    SettingValues values = {
        {"Flags", "0"},
        {"ShowCmd", isMaximized() ? "3" : isMinimized() ? "2" : "1"},
        {"PixelsPerInch", std::to_string(dpi)},
        {"MinMaxPos", minMax},
        {"NormPos", norm},
        {util::Format("MinMaxPos_%dx%d", {screenSize.width(), screenSize.height()}), minMax},
        {util::Format("NormPos_%dx%d", {screenSize.width(), screenSize.height()}), norm},
        {"LeftPanelWidth", std::to_string(m_splitter->sizes().value(0))},
    };
    SettingValues views;
    for (const ContextView* v : m_views) v->saveSettings(views);
    OrderLikeTheFile(views);
    values.insert(values.end(), views.begin(), views.end());
    try {
        m_frm.WriteAll(values);
    } catch (const std::exception& e) {
        // The window is going away; the settings file keeps its previous state.
        std::fprintf(stderr, "%s\n", e.what());
    }
}

void TFormMain::waitForPreviousInstance()
{
    // The instance that restarted us may still be saving its files: give it about a minute.
    const std::string exeName = std::filesystem::path(QCoreApplication::applicationFilePath().toStdString()).filename().string();
    for (int i = 0; i < 601; ++i) {
        if (!workspace::OtherProcessRunning(exeName)) return;
        QThread::msleep(100);
        QCoreApplication::processEvents();
    }
    if (workspace::OtherProcessRunning(exeName)) {
        m_ended = true;
        QTimer::singleShot(0, this, [this] { emit programEnded(1); close(); });
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
        refreshViews();
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
        if (!m_cmd.loadOnly && !m_cmd.fullRecreate && !m_cmd.fullRefresh && m_ws.View().AutoUpdates)
            setStatusField(StatusFields - 1, CheckForUpdate(m_ws));
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
        if (!m_shell->IsBusy()) m_status[6]->setText(static_cast<QStatusTipEvent*>(event)->tip());
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

void TFormMain::refreshViews()
{
    // A scenario builds the statistics table itself, window by window.
    if (m_scenarioView && m_scenarioView->runner().Running()) return;
    if (m_statsView) m_statsView->build(false);
    if (m_graphsView) m_graphsView->refresh(false);
    if (m_cardView) m_cardView->refresh(false);
    if (m_layoutView) {
        m_layoutView->refreshGrid(false);
        m_layoutView->refreshLists(false);
    }
    if (m_weekView) m_weekView->refresh(false);
}

void TFormMain::followParameters()
{
    // Channel colours follow the channel width.
    m_drawsView->followSettings();
    m_combsView->refresh();
    m_statsView->build(true);
    // The charted values and the card's channels follow the settings.
    m_graphsView->refresh(true);
    m_cardView->repaint();
    m_stakesView->followSettings();
    m_ratingsView->refresh();
}

void TFormMain::setStatusField(int field, const QString& text)
{
    if (field >= 0 && field < StatusFields) m_status[field]->setText(text);
}

void TFormMain::fillChoosers(ChooserFill fill)
{
    if (fill.Reload) {
        const auto flt = m_ws.FilterListPath();
        m_stats.SaveFilterList(flt, true, false, *m_shell);
        m_stats.BuildMethodList();
        m_stats.SetAllFavorites();
        m_stats.LoadFilterList(flt, true, *m_shell);
    }
    const stats::TChoosers choosers = stats::BuildChoosers(m_stats);
    m_statsView->fillChooser(choosers, fill.KeepSelection);
    m_graphsView->fillChooser(choosers, fill.KeepSelection);
    // A rebuilt registry may put another method at the chosen place.
    if (fill.Reload) m_graphsView->refresh(true);
    // The scenario shows its filters through the registry's codes.
    if (m_scenarioView) m_scenarioView->refresh();
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

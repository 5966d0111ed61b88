#include "app/formmain.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTableView>
#include <QThread>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <string_view>
#include <utility>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/downloadcommands.h"
#include "app/formfirstrun.h"
#include "app/formhelp.h"
#include "app/language.h"
#include "core/workspace/language.h"
#include <QFileInfo>
#include "app/formconfig.h"
#include "app/formfavorites.h"
#include "app/formmethodinfo.h"
#include "app/formshredding.h"
#include "app/formwait.h"
#include "app/xlsexport.h"
#include "core/workspace/listexport.h"
#include "core/stats/configops.h"
#include "core/stats/settingsops.h"
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
#include "app/views/repeatsview.h"
#include "app/views/weekview.h"
#include "core/filters/generate.h"
#include "core/filters/favorites.h"
#include "core/workspace/engine.h"
#include "core/workspace/helpfile.h"
#include "app/qtshell.h"
#include "app/statusfield.h"
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
    std::error_code missing;
    m_newcomer = !std::filesystem::exists(m_ws.FormFilePath(), missing);
    m_commands = new TCommandSet(this, [this] { return m_shell->IsBusy(); });
    m_downloads = std::make_unique<DownloadCommands>(m_ws, m_stats, *m_shell, *m_commands, this);
    try {
        if (m_cmd.restart) waitForPreviousInstance();
        if (m_ended) return;
        m_ws.Combs().onListChanged = [this] {
            if (m_combsView) m_runRefresh.request(m_combsView, m_combsView, [this] { m_combsView->refresh(); });
        };
        m_ws.onViewsRefresh = [this] { refreshViews(); };
        m_ws.LoadViewSettings();
        chooseStartLanguage();
        createWidgets();
        createCommands();
        createMenus();
        try {
            restoreSettings();
        } catch (const std::exception& e) {
            m_shell->ShowFailure("Ошибка загрузки параметров программы!", e.what());
        }
        workspace::LoadEngine(m_stats, m_ws, *m_shell);
        m_downloads->open();
        std::filesystem::path help = workspace::FindHelpFile(m_ws.DataDir(), m_stats.Language);
        if (help.empty())
            help = workspace::FindHelpFile(QCoreApplication::applicationDirPath().toStdString(), m_stats.Language);
        m_stats.Env().HelpFile = help.string();
        qApp->installEventFilter(new TDialogHelp([this] { return qs(m_stats.Env().HelpFile); }, this));
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

void TFormMain::createCommands()
{
    m_drawsView->createCommands();
    addCommand(cmd::DrawsStatCalc, QStringLiteral("Обновить"), QStringLiteral("Пересчитать статистику по выбранным параметрам"),
               [this] { m_statsView->build(true); },
               [this] { return m_ws.DrawCount() > 0 && m_statsView->chosenMethod() >= 0; });
    QAction* prefetch = addCommand(cmd::DrawsStatePrefetchsEnabled,
                                   QStringLiteral("Использовать сравнение с полным набором комбинаций"), QString(),
                                   [this] { drawsStatePrefetchsEnabled(); });
    prefetch->setCheckable(true);
    QAction* totalLine = addCommand(cmd::DrawsStatShowTotalLine, QStringLiteral("График идеального распределения"), QString(),
                                    [this] { drawsStatShowTotalLine(); }, [this] { return m_ws.View().PrefetchsEnabled; });
    totalLine->setCheckable(true);
    addCommand(cmd::EditConfig, QStringLiteral("Параметры"), QStringLiteral("Редактирование параметров системы"),
               [this] { editConfig(); });
    addCommand(cmd::EditShredding, QStringLiteral("Формулы шинковки"), QString(), [this] { editShredding(); });
    addCommand(cmd::FiltersManager, QStringLiteral("Избранные статистики"), QString(), [this] { filtersManager(); });
    addCommand(cmd::FiltersReset, QStringLiteral("Все доступные статистики"), QString(), [this] { filtersReset(); });
    addCommand(cmd::FiltersInfo, QStringLiteral("Описание статистики"), QString(), [this] { filtersInfo(); },
               [this] { return m_statsView->chosenMethod() >= 0; });
    m_combsView->createCommands();
    m_stakesView->createCommands();
    m_statsView->createCommands();
    m_statsView->attachCommands();
    m_ratingsView->createCommands();
    m_regularsView->createCommands();
    m_scenarioView->createCommands();
    m_scenarioView->attachCommands();
    createAnalysisCommands();
    m_catalogView->createCommands();
    m_systemsView->createCommands();
    QAction* selfUpdate = addCommand(cmd::AutoSelfUpdate, QStringLiteral("Автоматическое обновление"),
                                     QStringLiteral("Проверять наличие новой версии при запуске"),
                                     [this] { toggleViewFlag(&workspace::TViewSettings::AutoUpdates, cmd::AutoSelfUpdate); });
    selfUpdate->setCheckable(true);
    m_downloads->createCommands();
    QAction* exitAction = addCommand(cmd::ExitProgram, QStringLiteral("Выход"), QString(), [this] { close(); });
    exitAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    addCommand(cmd::About, QStringLiteral("О программе"), QString(), [this] { about(); });
    addCommand(cmd::SelfUpdate, QStringLiteral("Поиск обновлений"),
               QStringLiteral("Узнать у каталога, есть ли новая версия программы"),
               [this] { SearchForUpdate(m_ws, *m_shell); });
    QAction* help = addCommand(cmd::GetHelp, QStringLiteral("Справка"), QString(), [this] { getHelp(); },
                               [this] { return !m_stats.Env().HelpFile.empty(); });
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::ApplicationShortcut);
    createExportCommands();
}

void TFormMain::createExportCommands()
{
    const auto exportSheet = [this](const char* list, const util::TExportSheet& sheet) {
        ExportSheet(this, *m_shell, m_ws.DataDir(), list, sheet);
    };
    const QString excel = QStringLiteral("Экспорт в Microsoft Excel");
    addCommand(cmd::DrawsXlsExport, excel, QStringLiteral("Экспорт списка тиражей в Microsoft Excel"), [=, this] {
        exportSheet(workspace::ExportList::Draws, workspace::DrawsSheet(m_ws.Draws(), m_ws.DrawsOffset(), sortedDraws(),
                                                                         m_ws.View().ColorDraws, m_stats.Config().ChannelSize));
    }, [this] { return m_ws.DrawCount() > 0; });
    addCommand(cmd::DrawsStatExportToExcel, QStringLiteral("Экспорт статистики в Microsoft Excel"), QString(), [=, this] {
        exportSheet(workspace::ExportList::StatTable, workspace::StatTableSheet(m_statsView->table(), prefetchsEnabled()));
    }, [this] { return m_statsView->table().RowCount() > 0; });
    addCommand(cmd::CombsXlsExport, excel, QStringLiteral("Экспорт списка комбинаций в Microsoft Excel"), [=, this] {
        exportSheet(workspace::ExportList::Combs,
                    workspace::CombsSheet(m_ws.Combs(), colorCombs(), m_stats.Config().ChannelSize));
    }, [this] { return m_ws.Combs().Count() > 0; });
    addCommand(cmd::StakesXlsExport, QStringLiteral("Экспорт ставок в Microsoft Excel"), QString(), [=, this] {
        exportSheet(workspace::ExportList::Stakes, workspace::StakesSheet(m_ws.StakesFile()));
    }, [this] { return m_ws.StakesFile().IsOpen() && m_ws.StakesFile().RecordCount() > 0; });
    addCommand(cmd::RatingsXlsExport, QStringLiteral("Экспорт рейтинга в Microsoft Excel"), QString(), [=, this] {
        exportSheet(workspace::ExportList::Ratings,
                    workspace::RatingsSheet(m_ws.Ratings(), {&m_ratingsView->luck(), m_ratingsView->luckDraws(),
                                                            m_stats.Config().Profits.empty()}));
    }, [this] { return !m_ws.Ratings().Empty(); });
    // The card and the layout hand over their cells as shown; number texts become numbers.
    const auto gridSheet = [](analysis::TGridExport grid) {
        const std::vector<bool> numeric(grid.Captions.size(), true);
        return util::TExportSheet::FromTexts(std::move(grid.Title), std::move(grid.Captions), std::move(grid.Cells), numeric);
    };
    addCommand(cmd::CardXlsExport, QStringLiteral("Экспорт карты тиражей в Microsoft Excel"), QString(), [=, this] {
        exportSheet(workspace::ExportList::Card, gridSheet(m_cardView->exportGrid()));
    }, [this] { return m_cardView->tabShown(); });
    addCommand(cmd::LayoutXlsExport, QStringLiteral("Экспорт схемы в Microsoft Excel"), QString(), [=, this] {
        exportSheet(workspace::ExportList::Layout, gridSheet(m_layoutView->exportGrid()));
    }, [this] { return m_layoutView->tabShown() && m_layoutView->grid()->columnCount() > 2; });
    // The lists' own context menus end with their export.
    const char* const sep = TCommandSet::Separator;
    m_commands->fillContextMenu(m_combsView->view(), {sep, cmd::CombsXlsExport});
    m_commands->fillContextMenu(m_stakesView->view(), {sep, cmd::StakesXlsExport});
    m_commands->fillContextMenu(m_statsView->tableView(), {sep, cmd::DrawsStatExportToExcel});
    m_commands->fillContextMenu(m_cardView->view(), {sep, cmd::CardXlsExport});
    m_commands->fillContextMenu(m_layoutView->grid(), {sep, cmd::LayoutXlsExport});
}

void TFormMain::createMenus()
{
    const char* const sep = TCommandSet::Separator;
    const std::vector<TCommandSet::TMenuLayout> menus = {
        {cmd::menu::File, QStringLiteral("Файл"), {cmd::DrawsImport, cmd::DrawsExport, cmd::DrawsXlsExport, sep, cmd::ExitProgram}},
        {cmd::menu::Draws, QStringLiteral("Тиражи"),
         {cmd::DrawsDownload, cmd::OpenLotoSite, sep, cmd::DrawsAdd, cmd::DrawsEdit, cmd::DrawsDel, sep, cmd::DrawsSorted, cmd::DrawsInfo}},
        {cmd::menu::Combs, QStringLiteral("Комбинации"),
         {cmd::CombsGen, cmd::CombsUndo, cmd::CombsDelExists, cmd::CombsDelSelected, sep, cmd::CombsOpen, cmd::CombsSave, cmd::CombsCopy,
          cmd::CombsPaste, cmd::CombsSelectAll, sep, cmd::CombsFindInDraws, cmd::CombsCheckNums, cmd::CombsInfo, cmd::TotalSumCombs,
          sep, cmd::CombsXlsExport}},
        {cmd::menu::Stats, QStringLiteral("Статистика"),
         {cmd::StatFilter_Include, cmd::StatFilter_Exclude, sep, cmd::DrawsStatCalc, cmd::DrawsStatePrefetchsEnabled,
          cmd::DrawsStatShowTotalLine, sep, cmd::FiltersManager, cmd::FiltersReset, cmd::FiltersInfo, sep, cmd::EditShredding,
          cmd::EditConfig, sep, cmd::DrawsStatExportToExcel}},
        {cmd::menu::Stakes, QStringLiteral("Ставки"),
         {cmd::StakeAdd, cmd::StakeAddRandom, cmd::StakeAddSelected, cmd::StakeAddAll, sep, cmd::StakeDel, cmd::StakeFilter, cmd::StakeClear,
          sep, cmd::StakesCheckManual, cmd::StakesScroll, cmd::StakesCheckLine, sep, cmd::LogStakes, cmd::LogStakesDelete, sep,
          cmd::StakesGraphDraws, cmd::StakesGraphOverlap, cmd::StakesGraphProfits, sep, cmd::StakesXlsExport}},
        {cmd::menu::Scenario, QStringLiteral("Сценарий"),
         {cmd::ScriptOpen, cmd::ScriptSave, cmd::ScriptLoad, sep, cmd::ScriptAdd, cmd::ScriptEmpty, cmd::ScriptClone, cmd::ScriptEdit,
          cmd::ScriptDel, cmd::ScriptClr, sep, cmd::ScriptUp, cmd::ScriptDown, sep, cmd::ScriptRun, cmd::ScriptTest, cmd::ScriptStop, sep,
          cmd::LogToggle, cmd::LogsDelete, cmd::ScriptSurvival, cmd::ScriptReport}},
    };
    for (const TCommandSet::TMenuLayout& layout : menus) m_commands->addMenu(menuBar(), layout);
    m_ratingsView->createMenus(TCommandSet::addMenu(menuBar(), cmd::menu::Ratings, QStringLiteral("Рейтинг")));
    m_regularsView->createMenus(TCommandSet::addMenu(menuBar(), cmd::menu::Regulars, QStringLiteral("Регуляры")));
    m_commands->addMenu(menuBar(), {cmd::menu::View, QStringLiteral("Вид"),
                                    {cmd::TabGraps, cmd::TabCard, cmd::TabLayout, cmd::TabWeek, cmd::TabTables, sep, cmd::ViewColorDraws,
                                     cmd::ViewColorCombs, cmd::ViewColorCard, cmd::ViewColorCardSequences, cmd::ViewLayoutGradient, sep,
                                     cmd::ViewWeekChartMode, cmd::ViewWeekChartType}});
    if (auto* stats = menuBar()->findChild<QMenu*>(cmd::menu::Stats)) {
        stats->addSeparator();
        m_commands->fillMenu(TCommandSet::addSubmenu(stats, cmd::menu::ExtendedStats, QStringLiteral("Расширенная статистика")),
                             {cmd::AnalyzeRepeats});
    }
    QMenu* settings = m_commands->addMenu(menuBar(), {cmd::menu::Settings, QStringLiteral("Настройки"), {cmd::EditProxy, cmd::EditOperatorUrl}});
    m_commands->fillMenu(TCommandSet::addSubmenu(settings, cmd::menu::AutoDownload, QStringLiteral("Загрузка тиражей при запуске")),
                         {cmd::AutoDownload0, cmd::AutoDownload1, cmd::AutoDownload2});
    m_commands->fillMenu(settings, {sep, cmd::AutoSelfUpdate});
    createLanguageMenu(settings);
    m_commands->addMenu(menuBar(), {cmd::menu::Catalog, QStringLiteral("Каталог"),
                                    {cmd::ScriptLibrary, sep, cmd::ScriptLibraryRefresh, cmd::ScriptLibraryDownload,
                                     cmd::ScriptLibraryUpload, cmd::ScriptLibraryReplace, cmd::ScriptLibraryDelete, sep,
                                     cmd::ScriptLibraryView, cmd::ScriptLibraryRates, sep, cmd::ScriptLibraryRate1,
                                     cmd::ScriptLibraryRate2, cmd::ScriptLibraryRate3, cmd::ScriptLibraryRate4,
                                     cmd::ScriptLibraryRate5, cmd::ScriptLibraryRate0, cmd::ScriptLibraryHide}});
    m_commands->addMenu(menuBar(), {cmd::menu::Systems, QStringLiteral("Системы"),
                                    {cmd::SystemsOn, sep, cmd::SystemsRefresh, cmd::SystemsDownload, cmd::SystemsAdd, cmd::SystemsProp,
                                     cmd::SystemsDel, sep, cmd::SystemStakeAll, cmd::SystemStakeFilter}});
    m_commands->addMenu(menuBar(), {cmd::menu::Help, QStringLiteral("Справка"), {cmd::GetHelp, sep, cmd::SelfUpdate, cmd::About}});
    TranslateMenus(menuBar());
    TranslateTabs(m_leftTabs);
    TranslateTabs(m_rightTabs);

    m_drawsView->createMenus();
    TCommandSet::assignMnemonics(menuBar());
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
    connect(m_stakesView, &StakesView::prizeTableAsked, this, [this] { editConfig(true); });
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
        {m_drawsView, "archive.html"},      {m_combsView, "combinations.html"}, {m_statsView, "stattable.html"},
        {m_stakesView, "stakes.html"},    {m_ratingsView, "ratings.html"},    {m_regularsView, "regulars.html"},
        {m_scenarioView, "scenario.html"}, {m_graphsView, "analysis.html#graphs"}, {m_cardView, "analysis.html#card"},
        {m_layoutView, "analysis.html#layout"}, {m_weekView, "analysis.html#week"},
        {m_systemsView, "online.html#systems"}};
    for (const auto& [page, name] : helpPages) page->setProperty(HelpPageProperty, QString::fromLatin1(name));

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
        m_exitCode = 1;
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
        m_cache.CreatePrefetchFiles(m_stats, {.Enabled = prefetchsEnabled()}, *m_shell);
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
        showFirstRun();
    } catch (const std::exception& e) {
        m_shell->SetStatusText("");
        m_shell->ShowFailure("Ошибка инициализации программы!", e.what());
    }
    updateActions();
}

void TFormMain::endProgram(int code)
{
    m_exitCode = code;
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

stakes::TStakeViewHooks TFormMain::stakeViewHooks()
{
    return m_stakesView->hooks();
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

void TFormMain::drawsStatePrefetchsEnabled()
{
    toggleViewFlag(&workspace::TViewSettings::PrefetchsEnabled, cmd::DrawsStatePrefetchsEnabled);
    m_cache.CreatePrefetchFiles(m_stats, {.Enabled = prefetchsEnabled()}, *m_shell);
    m_statsView->applyNormColumns();
    m_statsView->build(true);
}

void TFormMain::editConfig(bool prizeTable)
{
    TFormConfig dialog(m_stats.Config(), this);
    if (prizeTable) dialog.showPrizeTable();
    if (dialog.exec() != QDialog::Accepted) return;
    const stats::TConfigApplyResult applied =
        stats::ApplyConfig(m_stats, dialog.data(), m_ws.FilePath(workspace::Workspace::SettingsFileName), *m_shell);
    fillChoosers({.Reload = true, .KeepSelection = true});
    m_cache.CreatePrefetchFiles(m_stats, {.Rebuild = applied.Groups, .Enabled = prefetchsEnabled()}, *m_shell);
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

void TFormMain::editShredding()
{
    TFormShredding dialog(m_stats.Shredding(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    stats::ApplyShredding(m_stats, dialog.data(), m_ws.FilePath(workspace::Workspace::SettingsFileName), *m_shell);
    m_cache.CreatePrefetchFiles(m_stats, {.Rebuild = stats::GroupBit(stats::GroupShredding), .Enabled = prefetchsEnabled()},
                                *m_shell);
    fillChoosers({.Reload = true, .KeepSelection = true});
    m_statsView->build(true);
}

void TFormMain::filtersManager()
{
    const auto own = m_ws.FilterListPath();
    const std::vector<std::string> captions = filters::CustomCaptions(m_stats);
    TFormFavorites dialog(m_stats, m_ws.DataDir(), *m_shell, this);
    if (dialog.exec() != QDialog::Accepted) {
        // An import in the cancelled window has already renamed the methods.
        if (filters::KeepImportedNames(m_stats, captions, own, *m_shell)) {
            fillChoosers({.KeepSelection = true});
            m_statsView->build(true);
        }
        return;
    }
    {
        shell::BusyScope busy(*m_shell, filters::FavoritesWaitText);
        filters::ConfirmFavorites(dialog.tree(), m_stats, own, *m_shell);
        fillChoosers({.Reload = true, .KeepSelection = true});
    }
    m_statsView->build(true);
}

void TFormMain::filtersReset()
{
    if (!filters::ResetFavorites(m_stats, m_ws.FilterListPath(), *m_shell)) return;
    fillChoosers({.Reload = true, .KeepSelection = true});
    m_statsView->build(true);
}

void TFormMain::filtersInfo()
{
    const int method = m_statsView->chosenMethod();
    if (method < 0) return;
    TFormMethodInfo dialog(qs(m_stats.GetHelpURL(method)), this);
    dialog.exec();
}

void TFormMain::drawsStatShowTotalLine()
{
    shell::BusyScope busy(*m_shell, "Создание графиков...");
    toggleViewFlag(&workspace::TViewSettings::ShowTotalLine, cmd::DrawsStatShowTotalLine);
    m_statsView->build(true);
}

void TFormMain::toggleViewFlag(bool workspace::TViewSettings::* flag, const char* command)
{
    const bool on = !(m_ws.View().*flag);
    this->command(QString::fromLatin1(command))->setChecked(on);
    guarded("Ошибка сохранения параметров программы!", [&] { m_ws.SetViewFlag(flag, on); });
}

void TFormMain::guarded(const char* failureText, const std::function<void()>& body)
{
    m_shell->Guarded(failureText, body);
}

void TFormMain::chooseStartLanguage()
{
    m_language = workspace::ChosenLanguage(m_frm.ReadInt("Language", workspace::RussianLanguage), m_cmd);
    const std::string problem = InstallLanguage(m_language, QCoreApplication::applicationFilePath().toStdString());
    if (!problem.empty()) {
        m_language = workspace::RussianLanguage;
        m_shell->ShowError(problem);
    }
    static TWindowTextTranslator* translator = nullptr;
    if (!translator) {
        translator = new TWindowTextTranslator(qApp);
        qApp->installEventFilter(translator);
    }
}

void TFormMain::createLanguageMenu(QMenu* settings)
{
    QMenu* menu = TCommandSet::addSubmenu(settings, cmd::menu::Language, QStringLiteral("Язык интерфейса"));
    auto* group = new QActionGroup(this);
    for (const workspace::TLanguage& language : workspace::ScanLanguages(QCoreApplication::applicationFilePath().toStdString())) {
        const std::string name = cmd::Language(language.Id);
        const int id = language.Id;
        QAction* a = addCommand(name.c_str(), QString::fromUtf8(language.Name), QString(), [this, id] { chooseLanguage(id); });
        a->setCheckable(true);
        a->setChecked(id == m_language);
        group->addAction(a);
        menu->addAction(a);
    }
}

void TFormMain::chooseLanguage(int id)
{
    const auto keepCheck = [this] {
        if (QAction* a = command(QString::fromStdString(cmd::Language(m_language)))) a->setChecked(true);
    };
    if (id == m_language) return;
    const workspace::TLanguage* language = workspace::FindLanguage(id);
    const std::filesystem::path exe = QCoreApplication::applicationFilePath().toStdString();
    std::error_code ec;
    if (!language || (id != workspace::RussianLanguage
                      && !std::filesystem::is_regular_file(workspace::LanguageModulePath(exe, language->Abbrev), ec))) {
        keepCheck();
        m_shell->ShowError(workspace::ModuleMissingText(workspace::LanguageModulePath(exe, language ? language->Abbrev : "")));
        return;
    }
    bool written = false;
    guarded("Ошибка сохранения параметров программы!", [&] {
        m_frm.WriteInt("Language", id);
        written = true;
    });
    if (!written) {
        keepCheck();
        return;
    }
    restartProgram();
}

void TFormMain::restartProgram()
{
    QStringList args;
    for (const std::string& a : workspace::RestartArguments(m_cmd)) args << qs(a);
    const QString program = QCoreApplication::applicationFilePath();
    if (!StartProgramInstance || !StartProgramInstance(program, args, QFileInfo(program).absolutePath())) {
        m_shell->ShowError("Не удалось перезапустить программу!");
        return;
    }
    endProgram(0);
}

void TFormMain::showFirstRun()
{
    // A folder without window settings is a newcomer's: the dialog comes up until ticked off.
    if (!m_frm.ReadBool("FirstRun", m_newcomer)) return;
    std::function<void()> help;
    if (!m_stats.Env().HelpFile.empty()) help = [this] { getHelp(); };
    TFormFirstRun dialog(help, this);
    dialog.exec();
    if (dialog.dontShowAgain() || m_newcomer)
        guarded("Ошибка сохранения параметров программы!", [&] { m_frm.WriteBool("FirstRun", !dialog.dontShowAgain()); });
}

QString TFormMain::frontHelpPage() const
{
    // The tab the keyboard is in, else the right-hand one that shows the work in front.
    QTabWidget* tabs = m_rightTabs;
    if (QWidget* focus = QApplication::focusWidget(); focus && m_leftTabs->isAncestorOf(focus)) tabs = m_leftTabs;
    const QWidget* page = tabs->currentWidget();
    const QVariant name = page ? page->property(HelpPageProperty) : QVariant();
    return name.isValid() ? name.toString() : QStringLiteral("index.html");
}

void TFormMain::getHelp()
{
    const QString index = qs(m_stats.Env().HelpFile);
    if (index.isEmpty()) return;
    if (!m_help) m_help = new TFormHelp(index, this);
    m_help->showPage(frontHelpPage());
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void TFormMain::about()
{
    QMessageBox::about(this, TrText(QStringLiteral("О программе")),
                       TrText(QStringLiteral("<b>Kvanta 8x20</b> версия %1<br><br>"
                                             "Анализатор тиражной лотереи 8 из 20: архив тиражей, статистики, "
                                             "фильтры, ставки, рейтинги и сценарии."))
                           .arg(QStringLiteral(KV_VERSION)));
}

void TFormMain::createAnalysisCommands()
{
    struct ColorCommand {
        const char* name;
        const char* caption;
        bool workspace::TViewSettings::* flag;
        std::function<void()> repaint;
    };
    const ColorCommand colors[] = {
        {cmd::ViewColorDraws, "Выделять каналы в списке тиражей", &workspace::TViewSettings::ColorDraws,
         [this] { m_drawsView->followSettings(); }},
        {cmd::ViewColorCombs, "Выделять каналы в списке комбинаций", &workspace::TViewSettings::ColorCombs,
         [this] { m_combsView->refresh(); }},
        {cmd::ViewColorCard, "Выделять каналы в карте тиражей", &workspace::TViewSettings::ColorCard,
         [this] { m_cardView->repaint(); }},
        {cmd::ViewColorCardSequences, "Выделять последовательности в карте тиражей",
         &workspace::TViewSettings::ColorCardSequences, [this] { m_cardView->repaint(); }},
        {cmd::ViewLayoutGradient, "Градиентная раскраска схемы", &workspace::TViewSettings::LayoutGradient,
         [this] { m_layoutView->repaint(); }},
    };
    for (const ColorCommand& c : colors) {
        const char* name = c.name;
        QAction* a = addCommand(name, QString::fromUtf8(c.caption), QString(), [this, name, flag = c.flag, repaint = c.repaint] {
            toggleViewFlag(flag, name);
            repaint();
        });
        a->setCheckable(true);
    }
    // The views put the colour commands in their context menus.
    m_graphsView->createCommands();
    m_cardView->createCommands();
    m_layoutView->createCommands();
    m_weekView->createCommands();
    addCommand(cmd::AnalyzeRepeats, QStringLiteral("Количество повторов в зависимости от тиража"), QString(),
               [this] { analyzeRepeats(); }, [this] { return m_ws.DrawCount() > 0; });
}

void TFormMain::analyzeRepeats()
{
    TFormRepeats dialog(m_ws.Draws(), *m_shell, m_frm, this);
    dialog.exec();
}

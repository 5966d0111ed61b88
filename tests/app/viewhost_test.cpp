// The views and the command units against a small host and a workspace of their own, without
// the main window: what one view publishes reaches the others through the workspace's shared
// state, and what a unit changes reaches the window through the functions it was given.
#include <QAction>
#include <QCheckBox>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>
#include <filesystem>
#include <algorithm>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/analysiscommands.h"
#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/formconfig.h"
#include "app/formfirstrun.h"
#include "app/formhelp.h"
#include "app/helpcommands.h"
#include "app/settingscommands.h"
#include "app/views/analysischart.h"
#include "app/viewhost.h"
#include "app/views/catalogview.h"
#include "app/views/combsview.h"
#include "app/views/drawsview.h"
#include "app/views/graphsview.h"
#include "app/views/layoutview.h"
#include "app/views/ratingsview.h"
#include "app/views/regularsview.h"
#include "app/views/scenarioview.h"
#include "app/views/stakesview.h"
#include "app/views/statsview.h"
#include "app/views/systemsview.h"
#include "app/views/weekview.h"
#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"
#include "core/util/ini.h"
#include "core/workspace/workspace.h"
#include "tests/app/apptest.h"
#include "tests/support/support.h"

using namespace kv;

namespace {

// What a window does for a view, recorded; a refresh runs at once, as outside a scenario run.
class FakeHost : public ViewHost {
public:
    QWidget* mainWindow() override { return &window; }
    void setStatusField(int field, const QString& text) override { status[field] = text; }
    void showTab(QWidget* page) override { front = page; }
    void setTabShown(QWidget* page, bool visible) override { front = visible ? page : nullptr; }
    void setRunning(bool on) override { running = on; }
    void refreshView(const void*, const QWidget*, std::function<void()> refresh) override { refresh(); }

    QWidget window;
    std::map<int, QString> status;
    QWidget* front = nullptr;
    bool running = false;
};

// A workspace in a fresh folder (with `draws` seeded draws) with its registry, and the context
// a view or a unit is built from.
struct Views {
    test::TempDir dir;
    workspace::Workspace ws{dir.path()};
    workspace::FormSettings frm{ws.FormFilePath()};
    stats::TStatList stats;
    stats::TPrefetchCache cache{dir.path()};
    test::ScriptedShell shell;
    FakeHost host;
    TCommandSet commands{&host.window, [] { return false; }};
    ViewContext context() { return {ws, stats, cache, shell, commands, host}; }
    UnitContext unit() { return {ws, stats, shell, commands, &host.window}; }
    explicit Views(int draws = 0)
    {
        if (draws > 0) SeedArchive(dir, draws);
        ws.LoadArchive(shell);
        stats.SetDraws(&ws.Draws());
        stats.BuildMethodList();
    }
    QAction* enabledCommand(const char* name)
    {
        commands.updateActions();
        QAction* a = commands.command(name);
        return a && a->isEnabled() ? a : nullptr;
    }
};

} // namespace

class ViewHostTest : public QObject {
    Q_OBJECT
private slots:
    void statisticsChoicesReachTheSharedStateAndARunStepReachesTheView();
    void stakesCommandsFollowTheSharedSelections();
    void theScenarioReadsTheRatingSelectionOfTheSharedState();
    void theTableComparesWithTheFullSet();
    void colourCommandsTurnTheirFlagAndRepaintWhatTheyColour();
    void settingsCommandsAnnounceWhatFollows();
    void firstRunDialog_data();
    void firstRunDialog();
    void theDrawsViewFromAnEmptyArchiveToTheDemoArchive();
    void theDrawsViewCommandsOffsetAndArchiveChanges();
    void everyViewRestoresWhatItSaved();
};

void ViewHostTest::statisticsChoicesReachTheSharedStateAndARunStepReachesTheView()
{
    Views v;
    auto* view = new StatsView(v.context());
    view->fillChooser(stats::BuildChoosers(v.stats), false);
    const workspace::TSharedState& shared = v.ws.Shared();
    QVERIFY(view->chosenMethod() >= 0);
    QCOMPARE(shared.StatMethod(), view->chosenMethod());
    QCOMPARE(shared.StatLength(), 1000);

    int heard = 0;
    const auto token = v.ws.Shared().Subscribe(workspace::TChange::Statistics, [&heard] { ++heard; });
    auto* length = view->findChild<QSpinBox*>(QStringLiteral("DrawsStatLen"));
    length->setValue(250);
    QCOMPARE(shared.StatLength(), 250);
    view->chooser()->setCurrentIndex(view->chooser()->count() - 1);
    QCOMPARE(shared.StatMethod(), view->chosenMethod());
    QCOMPARE(heard, 2);

    // A scenario step announces what the table shows; the view takes method and length over
    // (its own signals blocked) and the shared state follows it.
    const int first = v.stats.FindMethod("NUMS");
    QVERIFY(first >= 0);
    v.ws.Shared().AnnounceStatView({.Method = first, .DrawsLen = 40, .SortColumn = 1, .Selected = {}});
    QCOMPARE(view->chosenMethod(), first);
    QCOMPARE(length->value(), 40);
    QCOMPARE(shared.StatMethod(), first);
    QCOMPARE(shared.StatLength(), 40);
}

void ViewHostTest::stakesCommandsFollowTheSharedSelections()
{
    Views v;
    QVERIFY(v.ws.OpenStakesFile());
    auto* view = new StakesView(v.context());
    view->createCommands();
    QAction* selected = v.commands.command(cmd::StakeAddSelected);
    QVERIFY(selected);
    v.commands.updateActions();
    QVERIFY(!selected->isEnabled());
    v.ws.Shared().SetCombSelection({0}, 0);
    v.commands.updateActions();
    QVERIFY(selected->isEnabled());
    v.ws.Shared().SetCombSelection({}, -1);
    v.commands.updateActions();
    QVERIFY(!selected->isEnabled());

    // A refresh announced by another view reaches the grid and its status field.
    v.ws.Shared().AnnounceStakes({.Rows = true});
    QCOMPARE(v.host.status[4], QStringLiteral("Ставок: 0"));
    v.ws.CloseStakesFile();
}

void ViewHostTest::theScenarioReadsTheRatingSelectionOfTheSharedState()
{
    Views v;
    auto* view = new ScenarioView(v.context());
    QVERIFY(view->selectedRatingNames().empty());
    v.ws.Shared().SetRatingSelection({"Система 1", "Система 2"});
    QCOMPARE(view->selectedRatingNames(), (std::vector<std::string>{"Система 1", "Система 2"}));
}

void ViewHostTest::theTableComparesWithTheFullSet()
{
    Views v(200);
    auto* view = new StatsView(v.context());
    view->createTableCommands();
    view->fillChooser(stats::BuildChoosers(v.stats), false);
    view->findChild<QSpinBox*>(QStringLiteral("DrawsStatLen"))->setValue(100);
    QVERIFY(!v.enabledCommand(cmd::DrawsStatShowTotalLine));
    v.enabledCommand(cmd::DrawsStatePrefetchsEnabled)->trigger();
    QVERIFY(v.ws.View().PrefetchsEnabled);
    QVERIFY(v.commands.command(cmd::DrawsStatePrefetchsEnabled)->isChecked());
    for (int c = 3; c <= 5; ++c) QVERIFY(!view->tableView()->isColumnHidden(c));
    const auto file = v.dir / "Prefetchs" / "Kvanta_8x20_NUMS.dfc";
    QVERIFY(std::filesystem::exists(file));
    QCOMPARE(std::filesystem::file_size(file), std::uintmax_t(12 * 21));
    // Turned on, the comparison writes the files of every method, not only the one in front.
    const auto files = std::filesystem::directory_iterator(v.dir / "Prefetchs");
    QVERIFY(std::distance(std::filesystem::begin(files), std::filesystem::end(files)) > 1);
    // NUMS is uniform over the full set: every norm is the mean of the window's extremes.
    const stats::TStatTable& table = view->table();
    QVERIFY(table.HasNorm());
    QCOMPARE(table.RowCount(), 20);
    const int64_t expected = stats::RoundHalfEven((table.Summary().MaxCount + table.Summary().MinCount) / 2.0L);
    for (int r = 0; r < table.RowCount(); ++r) QCOMPARE(int64_t(table.Row(r).Item.Norm), expected);
    const auto series = view->chartView()->chart()->series();
    QCOMPARE(series.size(), qsizetype(2));
    QCOMPARE(series.at(1)->name(), QStringLiteral("Все возможные комбинации"));
    QCOMPARE(static_cast<QLineSeries*>(series.at(1))->count(), 20);

    v.enabledCommand(cmd::DrawsStatShowTotalLine)->trigger();
    QCOMPARE(view->chartView()->chart()->series().size(), qsizetype(1));
    const util::IniFile frm = util::IniFile::Load(v.ws.FormFilePath());
    QVERIFY(!frm.ReadBool("TFormMain", "ShowTotalLine", true));
    QVERIFY(frm.ReadBool("TFormMain", "PrefetchsEnabled", false));
    // Back off: the comparison columns go and the ideal line's command with them.
    v.enabledCommand(cmd::DrawsStatePrefetchsEnabled)->trigger();
    for (int c = 3; c <= 5; ++c) QVERIFY(view->tableView()->isColumnHidden(c));
    QVERIFY(!v.enabledCommand(cmd::DrawsStatShowTotalLine));
}

void ViewHostTest::colourCommandsTurnTheirFlagAndRepaintWhatTheyColour()
{
    Views v;
    QStringList repainted;
    AnalysisCommands::Repaints repaints;
    repaints.draws = [&] { repainted << "draws"; };
    repaints.combs = [&] { repainted << "combs"; };
    repaints.card = [&] { repainted << "card"; };
    repaints.layout = [&] { repainted << "layout"; };
    AnalysisCommands unit(v.unit(), v.frm, repaints);
    unit.createColorCommands();
    unit.createRepeatsCommand();
    const struct {
        const char* name;
        bool workspace::TViewSettings::* flag;
        const char* key;
        const char* repaint;
    } cases[] = {
        {cmd::ViewColorDraws, &workspace::TViewSettings::ColorDraws, "ColorDraws", "draws"},
        {cmd::ViewColorCombs, &workspace::TViewSettings::ColorCombs, "ColorCombs", "combs"},
        {cmd::ViewColorCard, &workspace::TViewSettings::ColorCard, "ColorCard", "card"},
        {cmd::ViewColorCardSequences, &workspace::TViewSettings::ColorCardSequences, "ColorCardSequences", "card"},
        {cmd::ViewLayoutGradient, &workspace::TViewSettings::LayoutGradient, "LayoutGradient", "layout"},
    };
    for (const auto& c : cases)
        for (int turn = 0; turn < 2; ++turn) {
            const bool before = v.ws.View().*c.flag;
            repainted.clear();
            v.enabledCommand(c.name)->trigger();
            QCOMPARE(v.ws.View().*c.flag, !before);
            QCOMPARE(v.commands.command(c.name)->isChecked(), !before);
            QCOMPARE(v.frm.ReadBool(c.key, before), !before);
            QCOMPARE(repainted, QStringList{QString::fromLatin1(c.repaint)});
        }
    // The repeats need draws.
    QVERIFY(!v.enabledCommand(cmd::AnalyzeRepeats));
}

void ViewHostTest::settingsCommandsAnnounceWhatFollows()
{
    Views v;
    QStringList follows;
    std::vector<std::shared_ptr<void>> tokens;
    const std::pair<workspace::TChange, const char*> kinds[] = {
        {workspace::TChange::Choosers, "choosers"}, {workspace::TChange::Registry, "statistics"},
        {workspace::TChange::Parameters, "parameters"}};
    for (const auto& [kind, name] : kinds)
        tokens.push_back(v.ws.Shared().Subscribe(kind, [&follows, &v, kind = kind, name = name] {
            const workspace::TChooserChange how = v.ws.Shared().ChooserChange();
            // A chooser refilled by a command keeps its place; "reload": the registry was rebuilt.
            if (kind == workspace::TChange::Choosers && !how.KeepSelection) follows << "lost place";
            follows << (kind == workspace::TChange::Choosers && how.Reloaded ? "reload" : name);
        }));
    SettingsCommands unit(v.unit(), v.cache);
    unit.createCommands();
    // The description needs a chosen method, which the statistics view publishes.
    QVERIFY(!v.enabledCommand(cmd::FiltersInfo));
    v.ws.Shared().SetStatistics(0, 100);
    QVERIFY(v.enabledCommand(cmd::FiltersInfo));

    // Declined, the reset changes nothing; confirmed, the choosers are rebuilt, then the table.
    v.shell.answers = {false, true};
    v.enabledCommand(cmd::FiltersReset)->trigger();
    QCOMPARE(follows, QStringList());
    v.enabledCommand(cmd::FiltersReset)->trigger();
    QCOMPARE(follows, (QStringList{"reload", "statistics"}));
    QCOMPARE(v.shell.questions.size(), std::size_t(2));

    // New parameters: the registry first, then every view that shows them; cancelled, nothing.
    for (const bool accept : {false, true}) {
        follows.clear();
        onNextDialog<TFormConfig>([accept](TFormConfig* d) { accept ? d->accept() : d->reject(); });
        v.enabledCommand(cmd::EditConfig)->trigger();
        QCOMPARE(follows, accept ? (QStringList{"reload", "parameters"}) : QStringList());
    }
    QVERIFY(std::filesystem::exists(v.dir / workspace::Workspace::SettingsFileName));
}

void ViewHostTest::firstRunDialog_data()
{
    QTest::addColumn<QString>("frm");      // the settings file before the start ("-": none)
    QTest::addColumn<bool>("help");        // help pages in the folder
    QTest::addColumn<bool>("tick");        // "Больше не показывать данный диалог"
    QTest::addColumn<bool>("shown");
    QTest::addColumn<int>("firstRun");     // FirstRun afterwards (-1: absent)
    QTest::newRow("newcomer") << "-" << true << false << true << 1;
    QTest::newRow("newcomer ticks") << "-" << false << true << true << 0;
    QTest::newRow("asked for") << "FirstRun=1" << false << false << true << 1;
    QTest::newRow("asked for, ticks") << "FirstRun=1" << true << true << true << 0;
    QTest::newRow("ticked before") << "FirstRun=0" << true << false << false << 0;
    QTest::newRow("an old hand") << "Language=1049" << true << false << false << -1;
}

void ViewHostTest::firstRunDialog()
{
    QFETCH(QString, frm);
    QFETCH(bool, help);
    QFETCH(bool, tick);
    QFETCH(bool, shown);
    QFETCH(int, firstRun);
    Views v;
    if (frm != "-") test::WriteBytes(v.ws.FormFilePath(), "[TFormMain]\r\n" + frm.toStdString() + "\r\n");
    if (help) {
        std::filesystem::create_directories(v.dir / "help/Kvanta_8x20_RUS");
        test::WriteBytes(v.dir / "help/Kvanta_8x20_RUS/index.html", "<html><body><h1>Содержание</h1></body></html>");
    }
    HelpCommands unit(v.unit(), v.frm);
    unit.createCommands();
    unit.open();
    QCOMPARE(v.enabledCommand(cmd::GetHelp) != nullptr, help);
    // The watcher lives in this test only: a dialog that should not come up is closed and seen.
    bool seen = false, helpOffered = false;
    QTimer watcher;
    watcher.setInterval(20);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* d = qobject_cast<TFormFirstRun*>(QApplication::activeModalWidget());
        if (!d || !d->isVisible() || seen) return;
        seen = true;
        QCOMPARE(d->windowTitle(), QStringLiteral("Справочная информация"));
        QCOMPARE(d->dontShowBox()->text(), QStringLiteral("Больше не показывать данный диалог"));
        helpOffered = d->helpButton()->isEnabled();
        d->helpButton()->click();
        d->dontShowBox()->setChecked(tick);
        d->accept();
    });
    watcher.start();
    unit.showFirstRun();
    QCOMPARE(seen, shown);
    QCOMPARE(v.frm.ReadInt("FirstRun", -1), firstRun);
    // The dialog's button opens the help's contents, when there is help.
    QCOMPARE(helpOffered, shown && help);
    auto* window = v.host.window.findChild<TFormHelp*>();
    QCOMPARE(window != nullptr, shown && help);
    if (window) QCOMPARE(window->currentPage(), QStringLiteral("index.html"));
}

namespace {

// A draws view over the fixture's archive, its commands registered and its list filled.
DrawsView* DrawsOf(Views& v)
{
    auto* view = new DrawsView(v.context());
    view->createCommands();
    view->refreshDrawList(true);
    v.commands.updateActions();
    return view;
}

bool Enabled(Views& v, const char* name)
{
    return v.commands.command(name)->isEnabled();
}

} // namespace

void ViewHostTest::theDrawsViewFromAnEmptyArchiveToTheDemoArchive()
{
    Views v;
    DrawsView* view = DrawsOf(v);
    auto* hint = view->findChild<QWidget*>(QStringLiteral("EmptyArchiveHint"));
    QVERIFY(hint && hint->isVisibleTo(view));
    QCOMPARE(v.host.status[0], QStringLiteral("Архив тиражей: 0"));
    QVERIFY(!Enabled(v, cmd::DrawsExport) && !Enabled(v, cmd::DrawsInfo) && Enabled(v, cmd::DrawsAdd));

    // Declined, then accepted: only the second press writes the archive.
    v.shell.answers = {false, true};
    auto* demo = hint->findChild<QPushButton*>(QStringLiteral("DemoArchive"));
    demo->click();
    QCOMPARE(v.ws.DrawCount(), 0);
    QVERIFY(hint->isVisibleTo(view));
    demo->click();
    QCOMPARE(v.ws.DrawCount(), workspace::Workspace::DemoArchiveDraws);
    QVERIFY(!hint->isVisibleTo(view));
    QCOMPARE(view->findChild<QTableView*>(DrawsView::ListName)->model()->rowCount(), workspace::Workspace::DemoArchiveDraws);
    QCOMPARE(view->findChild<QSpinBox*>(QStringLiteral("DrawsOffset"))->maximum(), workspace::Workspace::DemoArchiveDraws - 1);
    QCOMPARE(v.host.status[0], QStringLiteral("Архив тиражей: %1").arg(workspace::Workspace::DemoArchiveDraws));
    QVERIFY(Enabled(v, cmd::DrawsExport));
}

void ViewHostTest::theDrawsViewCommandsOffsetAndArchiveChanges()
{
    Views v(10);
    DrawsView* view = DrawsOf(v);
    auto* list = view->findChild<QTableView*>(DrawsView::ListName);
    auto* offset = view->findChild<QSpinBox*>(QStringLiteral("DrawsOffset"));
    QCOMPARE(list->model()->rowCount(), 10);
    QCOMPARE(v.host.status[1], QStringLiteral("Следующий тираж: 11"));
    QVERIFY(!Enabled(v, cmd::DrawsEdit) && !Enabled(v, cmd::DrawsDel));

    // The offset goes to the workspace, up to the oldest draw.
    offset->setValue(3);
    QCOMPARE(v.ws.DrawsOffset(), 3);
    offset->setValue(50);
    QCOMPARE(offset->value(), 9);
    QCOMPARE(v.ws.DrawsOffset(), 9);

    // The order inside a draw: the flag is written and the other views are told.
    QSignalSpy sorted(view, &DrawsView::sortedChanged);
    const game::TDraw& newest = v.ws.DrawAtRow(0);
    v.commands.command(cmd::DrawsSorted)->trigger();
    QCOMPARE(sorted.count(), 1);
    QVERIFY(v.ws.View().SortedDraws && v.commands.command(cmd::DrawsSorted)->isChecked());
    QCOMPARE(list->model()->index(0, 1).data().toInt(), int(*std::min_element(newest.Nums.begin(), newest.Nums.end())));
    QVERIFY(workspace::FormSettings(v.ws.FormFilePath()).ReadBool("SortedDraws", false));

    // A draw appended elsewhere reaches the list through the workspace; deleting asks first.
    game::TDraw next = newest;
    next.DrawNo = v.ws.NextDrawNo();
    v.ws.AddDraw(v.shell, next);
    QCOMPARE(list->model()->rowCount(), 11);
    QCOMPARE(v.host.status[0], QStringLiteral("Архив тиражей: 11"));
    list->selectRow(0);
    v.commands.updateActions();
    QVERIFY(Enabled(v, cmd::DrawsEdit) && Enabled(v, cmd::DrawsDel));
    v.shell.answers = {false};
    v.commands.command(cmd::DrawsDel)->trigger();
    QCOMPARE(v.ws.DrawCount(), 11);
    v.shell.answers = {true};
    v.commands.command(cmd::DrawsDel)->trigger();
    QCOMPARE(v.ws.DrawCount(), 10);
    QCOMPARE(list->model()->rowCount(), 10);
    QCOMPARE(v.ws.DrawAtRow(0).DrawNo, newest.DrawNo);
}

void ViewHostTest::everyViewRestoresWhatItSaved()
{
    // Each view with keys of its own: what it saves, changed by `changed`, is written; a fresh
    // view restores it and saves exactly that again.
    struct Case {
        const char* name;
        std::function<ContextView*(Views&)> make;
        SettingValues changed;
        std::function<void(Views&, ContextView*)> settle = {};   // what the window does after restoring
    };
    const auto plain = [](auto* view) {
        view->createCommands();
        return view;
    };
    const Case cases[] = {
        {"draws", [&](Views& v) { return plain(new DrawsView(v.context())); }, {{"DrawsList.Column11", "133"}}},
        {"combinations", [&](Views& v) { return plain(new CombsView(v.context())); },
         {{"CombsList.Column0", "71"}, {"FiltersList.Column1", "72"}, {"DrawsExclude", "7"}, {"FiltersHeight", "150"}}},
        {"statistics", [&](Views& v) { return plain(new StatsView(v.context())); },
         {{"StatTable.Column2", "73"}, {"StatTable.SortType", "2,1"}, {"DrawsStatLen", "250"}, {"DrawsStatMethod", "SUMS"}, {"DrawsStatHeight", "150"}},
         [](Views& v, ContextView* view) { static_cast<StatsView*>(view)->fillChooser(stats::BuildChoosers(v.stats), false); }},
        {"stakes", [&](Views& v) { return plain(new StakesView(v.context())); }, {{"StakesGrid.Column3", "74"}}},
        {"scenario", [&](Views& v) { return plain(new ScenarioView(v.context())); }, {{"ScriptList.Column2", "75"}}},
        {"ratings", [&](Views& v) { return plain(new RatingsView(v.context())); },
         {{"RatingsList.Column1", "76"}, {"LuckTestDraws", "500"}, {"RatingsList.SortType", "2,1"}}},
        {"regulars", [&](Views& v) { return plain(new RegularsView(v.context())); }, {{"TablesList.Column0", "77"}}},
        {"graphs", [&](Views& v) { return plain(new GraphsView(v.context())); }, {{"DrawsGraphLen", "150"}}},
        {"layout", [&](Views& v) { return plain(new LayoutView(v.context())); }, {{"LayoutLen", "60"}, {"LayoutCompareLen2", "30"}, {"LayoutCompareHeight", "150"}}},
        {"week", [&](Views& v) { return plain(new WeekView(v.context())); }, {{"WeekLen", "400"}, {"WeekHeight", "150"}}},
        {"catalogue",
         [&](Views& v) {
             auto* page = new ScenarioView(v.context());
             return plain(new CatalogView(v.context(), page, page->findChild<QTableView*>(QStringLiteral("ScriptList")), [] {}));
         },
         {{"ScriptLibraryList.Column1", "78"}, {"ScriptLibraryFilter", "1"}}},
        {"systems", [&](Views& v) { return plain(new SystemsView(v.context())); }, {{"SystemsList.Column2", "79"}}},
    };
    for (const Case& c : cases) {
        Views v;
        const workspace::FormSettings frm(v.ws.FormFilePath());
        // As in the window, a view saves after it restored (here from no file at all).
        const auto restored = [&c, &v, &frm] {
            ContextView* view = c.make(v);
            view->restoreSettings(frm);
            if (c.settle) c.settle(v, view);
            return view;
        };
        SettingValues written;
        restored()->saveSettings(written);
        for (const auto& [key, value] : c.changed) {
            const auto it = std::find_if(written.begin(), written.end(), [&key](const auto& kv) { return kv.first == key; });
            QVERIFY2(it != written.end(), (std::string(c.name) + ": " + key).c_str());
            QVERIFY2(it->second != value, (std::string(c.name) + ": " + key).c_str());
            it->second = value;
        }
        frm.WriteAll(written);
        SettingValues again;
        restored()->saveSettings(again);
        const auto differs = std::mismatch(written.begin(), written.end(), again.begin(), again.end());
        QVERIFY2(differs.first == written.end() && differs.second == again.end(),
                 (std::string(c.name) + ": " + (differs.first == written.end() ? "end" : differs.first->first)).c_str());
    }
}

QTEST_MAIN(ViewHostTest)
#include "viewhost_test.moc"

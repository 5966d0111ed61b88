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
#include <functional>
#include <iterator>
#include <map>
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
#include "app/views/scenarioview.h"
#include "app/views/stakesview.h"
#include "app/views/statsview.h"
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
        if (draws > 0) {
            SeedArchive(dir, draws);
            ws.LoadArchive(shell);
        }
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
    void settingsCommandsTellTheWindowWhatFollows();
    void firstRunDialog_data();
    void firstRunDialog();
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
    view->lengthEdit()->setValue(250);
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
    QCOMPARE(view->lengthEdit()->value(), 40);
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
    view->lengthEdit()->setValue(100);
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

void ViewHostTest::settingsCommandsTellTheWindowWhatFollows()
{
    Views v;
    QStringList follows;
    SettingsCommands::Follow follow;
    follow.choosers = [&](bool reload) { follows << (reload ? "reload" : "choosers"); };
    follow.statistics = [&] { follows << "statistics"; };
    follow.parameters = [&] { follows << "parameters"; };
    SettingsCommands unit(v.unit(), v.cache, follow);
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

QTEST_MAIN(ViewHostTest)
#include "viewhost_test.moc"

// The views against a small host and a workspace of their own, without the main window: what
// one view publishes reaches the others through the workspace's shared state.
#include <QAction>
#include <QComboBox>
#include <QSpinBox>
#include <QtTest>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/viewhost.h"
#include "app/views/scenarioview.h"
#include "app/views/stakesview.h"
#include "app/views/statsview.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/workspace/workspace.h"
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

// A workspace in a fresh folder with its registry, and the context a view is built from.
struct Views {
    test::TempDir dir;
    workspace::Workspace ws{dir.path()};
    stats::TStatList stats;
    stats::TPrefetchCache cache{dir.path()};
    test::ScriptedShell shell;
    FakeHost host;
    TCommandSet commands{&host.window, [] { return false; }};
    ViewContext context() { return {ws, stats, cache, shell, commands, host}; }
    Views()
    {
        stats.SetDraws(&ws.Draws());
        stats.BuildMethodList();
    }
};

} // namespace

class ViewHostTest : public QObject {
    Q_OBJECT
private slots:
    void statisticsChoicesReachTheSharedStateAndARunStepReachesTheView();
    void stakesCommandsFollowTheSharedSelections();
    void theScenarioReadsTheRatingSelectionOfTheSharedState();
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

QTEST_MAIN(ViewHostTest)
#include "viewhost_test.moc"

#include <QAction>
#include <QChart>
#include <QValueAxis>
#include <QWheelEvent>
#include <QXYSeries>
#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>
#include <functional>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/formmain.h"
#include "app/qtshell.h"
#include "app/views/analysischart.h"
#include "app/views/cardview.h"
#include "app/views/graphsview.h"
#include "app/views/layoutview.h"
#include "app/views/repeatsview.h"
#include "app/views/weekview.h"
#include "core/game/counting.h"
#include "tests/app/apptest.h"

using namespace kv;

class AnalysisViewsTest : public QObject {
    Q_OBJECT

private slots:
    void tabCommandHidesShowsAndSaves_data();
    void tabCommandHidesShowsAndSaves();
    void graphFollowsTheOffset();
    void filtersKeepTheRightCombinations_data();
    void filtersKeepTheRightCombinations();
    void colourCommandSavesItsKey();
    void repeatsDialogComputesAndSaves();
};

namespace {

constexpr int Draws = 60;

QWidget* page(TFormMain& w, const QString& command)
{
    if (command == cmd::TabGraps) return viewOf<GraphsView>(w);
    if (command == cmd::TabCard) return viewOf<CardView>(w);
    if (command == cmd::TabLayout) return viewOf<LayoutView>(w);
    return viewOf<WeekView>(w);
}

// Combinations of 8 of 20 holding at least one of k given numbers.
int withAnyOf(int k)
{
    return game::CombCount - static_cast<int>(game::Binomial(20 - k, 8));
}

void selectCells(QTableView* view, int top, int left, int bottom, int right)
{
    const QItemSelection rect(view->model()->index(top, left), view->model()->index(bottom, right));
    view->selectionModel()->select(rect, QItemSelectionModel::ClearAndSelect);
}

} // namespace

void AnalysisViewsTest::tabCommandHidesShowsAndSaves_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("key");
    QTest::newRow("graphs") << cmd::TabGraps << "TabGraphs";
    QTest::newRow("card") << cmd::TabCard << "TabCard";
    QTest::newRow("layout") << cmd::TabLayout << "TabLayout";
    QTest::newRow("week") << cmd::TabWeek << "TabWeek";
}

void AnalysisViewsTest::tabCommandHidesShowsAndSaves()
{
    QFETCH(QString, command);
    QFETCH(QString, key);
    test::TempDir dir;
    {
        StartedWindow win(dir);
        QVERIFY(win.ok);
        TFormMain& w = *win.window;
        QTabWidget* tabs = rightTabs(w);
        const int index = tabs->indexOf(page(w, command));
        QVERIFY(index > 0);
        QVERIFY(tabs->isTabVisible(index));
        QVERIFY(w.command(command)->isChecked());
        w.command(command)->trigger();
        QVERIFY(!tabs->isTabVisible(index));
        QVERIFY(!w.command(command)->isChecked());
        QCOMPARE(savedSettings(w).ReadBool(us(key), true), false);
    }
    {
        // The next start keeps the tab hidden; showing it brings it to the front.
        StartedWindow win(dir);
        QVERIFY(win.ok);
        TFormMain& w = *win.window;
        QTabWidget* tabs = rightTabs(w);
        const int index = tabs->indexOf(page(w, command));
        QVERIFY(!tabs->isTabVisible(index));
        w.command(command)->trigger();
        QVERIFY(tabs->isTabVisible(index));
        QCOMPARE(tabs->currentIndex(), index);
        QVERIFY(w.command(command)->isChecked());
        QCOMPARE(savedSettings(w).ReadBool(us(key), false), true);
    }
}

void AnalysisViewsTest::graphFollowsTheOffset()
{
    StartedWindow win(Draws);
    QVERIFY(win.ok);
    TFormMain& w = *win.window;
    GraphsView* graphs = viewOf<GraphsView>(w);
    QVERIFY(graphs->chooser()->count() > 0);
    QCOMPARE(graphs->graph().Values.size(), std::size_t(Draws));   // the default 100 draws start at the oldest
    QCOMPARE(graphs->graph().Values.back().DrawNo, win.draws.back().DrawNo);
    drawsOffset(w)->setValue(5);
    // The chart ends at the draw shown on row 5 of the draw list.
    QCOMPARE(graphs->graph().Values.back().DrawNo, w.workspace().DrawAtRow(5).DrawNo);
    QCOMPARE(graphs->graph().Values.size(), std::size_t(Draws - 5));
    graphs->findChild<QSpinBox*>(QStringLiteral("DrawsGraphLen"))->setValue(10);
    w.command(cmd::DrawsGraphDraw)->trigger();
    QCOMPARE(graphs->graph().Values.size(), std::size_t(10));
    QCOMPARE(graphs->chart()->chart()->series().size(), 4);   // values, average, most frequent, marks

    // The check box shows the value labels of the first series only.
    const auto labels = [&] {
        QList<bool> on;
        for (QAbstractSeries* s : graphs->chart()->chart()->series())
            on << static_cast<QXYSeries*>(s)->pointLabelsVisible();
        return on;
    };
    QCOMPARE(labels(), (QList<bool>{false, false, false, false}));
    graphs->marksBox()->setChecked(true);
    QCOMPARE(labels(), (QList<bool>{true, false, false, false}));

    // The wheel zooms in around the mouse; a double click shows the whole chart again.
    AnalysisChart* chart = graphs->chart();
    w.showTab(graphs);
    QTest::qWait(50);
    const double span = chart->axisX()->max() - chart->axisX()->min();
    const QPoint centre = chart->viewport()->rect().center();
    QWheelEvent wheel(centre, chart->viewport()->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart->viewport(), &wheel);
    QVERIFY(chart->axisX()->max() - chart->axisX()->min() < span * 0.9);
    QTest::mouseDClick(chart->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    QCOMPARE(chart->axisX()->max() - chart->axisX()->min(), span);
}

void AnalysisViewsTest::filtersKeepTheRightCombinations_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("left");
    QTest::addColumn<QString>("caption");
    QTest::newRow("card keep") << cmd::CardFilter_Include << -1 << "Карта";
    QTest::newRow("layout delete") << cmd::LayoutFilter_Exclude << -1 << "Схема";
    QTest::newRow("week keep") << cmd::WeekFilter_Include << withAnyOf(2) << "Неделя";
}

void AnalysisViewsTest::filtersKeepTheRightCombinations()
{
    QFETCH(QString, command);
    QFETCH(int, left);
    QFETCH(QString, caption);
    StartedWindow win(Draws);
    QVERIFY(win.ok);
    TFormMain& w = *win.window;
    QCOMPARE(w.workspace().Combs().Count(), game::CombCount);
    int marked = 0;
    if (command.startsWith("Card")) {
        // The newest two draws, numbers 1..6: the numbers among them are marked.
        selectCells(viewOf<CardView>(w)->view(), 0, 1, 1, 6);
        for (int n = 1; n <= 6; ++n) marked += viewOf<CardView>(w)->card().HasNumber(0, n) || viewOf<CardView>(w)->card().HasNumber(1, n);
        left = withAnyOf(marked);
        // A rectangle reaching the draw numbers cannot filter.
        selectCells(viewOf<CardView>(w)->view(), 0, 0, 1, 6);
        w.updateActions();
        QVERIFY(!w.command(command)->isEnabled());
        selectCells(viewOf<CardView>(w)->view(), 0, 1, 1, 6);
    } else if (command.startsWith("Layout")) {
        QTableWidget* grid = viewOf<LayoutView>(w)->grid();
        QVERIFY(grid->rowCount() > 0);
        selectCells(grid, 0, 0, 0, grid->columnCount() - 1);
        for (int c = 0; c < grid->columnCount(); ++c)
            if (!grid->item(0, c)->text().isEmpty()) marked += static_cast<int>(grid->item(0, c)->text().count(',')) + 1;
        left = game::CombCount - withAnyOf(marked);
    } else {
        QTableWidget* table = viewOf<WeekView>(w)->table();
        selectCells(table, 1, 2, 4, 2);
        table->selectionModel()->select(table->model()->index(6, 4), QItemSelectionModel::Select);
    }
    QVERIFY(marked > 0 || command.startsWith("Week"));
    w.updateActions();
    QVERIFY(w.command(command)->isEnabled());
    w.command(command)->trigger();
    QCOMPARE(w.workspace().Combs().Count(), left);
    QCOMPARE(qs(w.workspace().History().Row(w.workspace().History().Count() - 1).Caption), caption);
    // Undo brings the whole list back.
    QVERIFY(w.workspace().Combs().Undo(w.workspace().History(), w.shell()));
    QCOMPARE(w.workspace().Combs().Count(), game::CombCount);
}

void AnalysisViewsTest::colourCommandSavesItsKey()
{
    StartedWindow win(Draws);
    QVERIFY(win.ok);
    TFormMain& w = *win.window;
    for (const char* name : {cmd::ViewColorDraws, cmd::ViewColorCombs, cmd::ViewColorCard, cmd::ViewColorCardSequences,
                             cmd::ViewLayoutGradient}) {
        QAction* a = w.command(name);
        QVERIFY2(a && a->isChecked(), name);
        a->trigger();
        QVERIFY2(!a->isChecked(), name);
    }
    for (const char* key : {"ColorDraws", "ColorCombs", "ColorCard", "ColorCardSequences", "LayoutGradient"})
        QVERIFY2(!savedSettings(w).ReadBool(key, true), key);
    // Both card colours off: plain cells.
    const QModelIndex cell = viewOf<CardView>(w)->view()->model()->index(0, 3);
    QVERIFY(!cell.data(Qt::BackgroundRole).isValid());
    QVERIFY(w.commands().missingNames().isEmpty());

    // The week chart: bars, or a line once the type is switched; 20 numbers, or 7 weekdays.
    const auto chartKind = [&] {
        const QList<QAbstractSeries*> series = viewOf<WeekView>(w)->chart()->chart()->series();
        return series.isEmpty() ? -1 : int(series.first()->type());
    };
    QCOMPARE(chartKind(), int(QAbstractSeries::SeriesTypeBar));
    w.command(cmd::ViewWeekChartType)->trigger();
    QCOMPARE(chartKind(), int(QAbstractSeries::SeriesTypeLine));
    QCOMPARE(static_cast<QXYSeries*>(viewOf<WeekView>(w)->chart()->chart()->series().first())->count(), 20);
    w.command(cmd::ViewWeekChartMode)->trigger();
    QCOMPARE(static_cast<QXYSeries*>(viewOf<WeekView>(w)->chart()->chart()->series().first())->count(), 7);
    QCOMPARE(savedSettings(w).ReadInt("WeekChartMode", 0), 1);
    QCOMPARE(savedSettings(w).ReadBool("WeekChartType", false), true);
}

void AnalysisViewsTest::repeatsDialogComputesAndSaves()
{
    StartedWindow win(Draws);
    QVERIFY(win.ok);
    TFormMain& w = *win.window;
    bool checked = false;
    onNextDialog<TFormRepeats>([&](TFormRepeats* dialog) {
        QTRY_VERIFY(!dialog->repeats().Rows.empty());
        // 60 draws, each against the draws before it: every draw but the oldest has rows.
        QCOMPARE(dialog->repeats().Rows.front().DrawNo, win.draws.back().DrawNo);
        QCOMPARE(dialog->repeats().Rows.back().DrawNo, win.draws[1].DrawNo);
        dialog->depthEdit()->setValue(1);
        dialog->compute();
        QCOMPARE(dialog->repeats().Rows.size(), std::size_t(Draws - 1));
        QCOMPARE(dialog->list()->model()->rowCount(), Draws - 1);
        checked = true;
        dialog->reject();
    });
    w.command(cmd::AnalyzeRepeats)->trigger();
    QVERIFY(checked);
    const workspace::FormSettings frm = savedSettings(w).WithSection(TFormRepeats::Section);
    QCOMPARE(frm.ReadInt("DrawsDeep", 0), 1);
    QCOMPARE(frm.ReadInt("DrawsLength", 0), 100);
    QVERIFY(frm.ReadInt("GraphHeight", 0) > 0);
}

QTEST_MAIN(AnalysisViewsTest)
#include "analysisviews_test.moc"

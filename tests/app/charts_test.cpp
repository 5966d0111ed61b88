#include <QCategoryAxis>
#include <QChart>
#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLegend>
#include <QLineEdit>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QLineSeries>
#include <QSpinBox>
#include <QValueAxis>
#include <QGraphicsTextItem>
#include <QMessageBox>
#include <QTabWidget>
#include <QtTest>

#include "app/formchart.h"
#include "app/views/analysischart.h"
#include "app/qtshell.h"
#include "app/views/statsview.h"
#include "core/archive/sample.h"
#include "core/stakes/stakecharts.h"
#include "core/util/format.h"
#include "tests/app/apptest.h"

using namespace kv;

class ChartsTest : public QObject {
    Q_OBJECT

private slots:
    void statisticsChartStandsAtTheValues();
    void yLabelsAfterTheDrawsChange();
    void chartWindowFitsAndFollowsTheSeparator();
    void chooserAndHeadersExplainThemselves();
    void statusFieldsShowWholeNumbers();
};

namespace {

// Chooses the first method whose name starts with `prefix` and builds its table.
bool choose(StatsView* view, const QString& prefix)
{
    for (int i = 0; i < view->chooser()->count(); ++i)
        if (view->chooser()->itemText(i).startsWith(prefix)) {
            view->chooser()->setCurrentIndex(i);
            view->build(true);
            return true;
        }
    return false;
}

} // namespace

void ChartsTest::statisticsChartStandsAtTheValues()
{
    StartedWindow started(300);
    QVERIFY(started.ok);
    StatsView* view = viewOf<StatsView>(*started.window);
    view->findChild<QSpinBox*>(QStringLiteral("DrawsStatLen"))->setValue(300);
    AnalysisChart* chart = view->chartView();

    // Sums of eight numbers of 1..20 lie in 36..132: the axis shows them, not the rows 1..n.
    QVERIFY(choose(view, QStringLiteral("{ sum } Сумма")));
    QVERIFY(qobject_cast<QCategoryAxis*>(chart->axisX()) == nullptr);
    QVERIFY2(chart->axisX()->min() > 30 && chart->axisX()->max() < 140,
             qPrintable(QStringLiteral("%1..%2").arg(chart->axisX()->min()).arg(chart->axisX()->max())));
    const auto* actual = static_cast<QLineSeries*>(chart->chart()->series().at(0));
    double minX = 1e9;
    for (const QPointF& p : actual->points()) minX = std::min(minX, p.x());
    QVERIFY(minX >= 36);

    // Numbers: each shows about 120 times in 300 draws; fitted, the axis starts near them.
    QVERIFY(choose(view, QStringLiteral("{ num } Числа")));
    QVERIFY(!view->zeroBox()->isChecked());
    double minY = 1e9;
    for (const QPointF& p : static_cast<QLineSeries*>(chart->chart()->series().at(0))->points()) minY = std::min(minY, p.y());
    QVERIFY(chart->axisY()->min() > 0 && chart->axisY()->min() <= minY);
    const double interval = chart->axisY()->tickInterval();
    QVERIFY(interval == 1 || interval == 2 || interval == 5 || interval == 10 || interval == 20);
    QCOMPARE(std::fmod(chart->axisY()->min(), interval), 0.0);
    view->zeroBox()->setChecked(true);
    QCOMPARE(chart->axisY()->min(), 0.0);

    // Values that are no numbers stand in their order, named by the axis and the tooltip.
    QVERIFY(choose(view, QStringLiteral("{ num } Количество четных")));
    auto* categories = qobject_cast<QCategoryAxis*>(chart->axisX());
    QVERIFY(categories != nullptr);
    QVERIFY(!categories->categoriesLabels().isEmpty());
    const QString first = qs(view->table().PointLabel(view->table().ActualLine().front()));
    QCOMPARE(chart->xLabel(view->table().ActualLine().front().X), first);
    QVERIFY(categories->categoriesLabels().contains(first));
}

// The texts the chart draws left of its plot area: the labels of the y axis, as the user sees
// them after the scene has been painted.
QStringList yLabels(AnalysisChart* chart)
{
    chart->grab();
    QStringList labels;
    const QRectF plot = chart->chart()->plotArea();
    for (QGraphicsItem* item : chart->scene()->items()) {
        auto* text = dynamic_cast<QGraphicsTextItem*>(item);
        if (!text || !text->isVisible() || text->toPlainText().isEmpty()) continue;   // the axis title
        const QRectF at = text->sceneBoundingRect();
        if (at.right() <= plot.left() + 1 && at.center().y() >= plot.top() - 2 && at.center().y() <= plot.bottom() + 2)
            labels << text->toPlainText();
    }
    return labels;
}

void ChartsTest::yLabelsAfterTheDrawsChange()
{
    StartedWindow started(50);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    rightTabs(w)->setCurrentWidget(viewOf<StatsView>(w));
    StatsView* view = viewOf<StatsView>(w);
    QVERIFY(choose(view, QStringLiteral("{ num } Числа")));
    AnalysisChart* chart = view->chartView();
    QTRY_VERIFY(!yLabels(chart).isEmpty());
    // New draws arrive (as a download appends its pages) while a message is up, and after it.
    const game::TDrawsArray more = archive::SyntheticDraws(950, 5, 51);
    bool whileUp = true;
    QStringList shownWhileUp;
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
        w.workspace().AppendDraws(w.shell(), more);
        QTest::qWait(100);
        shownWhileUp = yLabels(chart);
        QApplication::activeModalWidget()->close();
        whileUp = false;
    });
    w.shell().ShowMessage(shell::MessageKind::Warning, "Пропущено тиражей: 1");
    QTRY_VERIFY(!whileUp);
    const QStringList after = yLabels(chart);
    for (const QStringList& labels : {shownWhileUp, after}) {
        QVERIFY(!labels.isEmpty());
        for (const QString& label : labels) {
            QVERIFY2(!label.contains(QStringLiteral("…")) && !label.contains(QStringLiteral("...")), qPrintable(labels.join(' ')));
            bool number = false;
            label.toDouble(&number);
            QVERIFY2(number, qPrintable(QStringLiteral("[%1]").arg(labels.join(QStringLiteral("] [")))));
        }
        // One label per tick, never old ones beside the new.
        const int ticks = qRound((chart->axisY()->max() - chart->axisY()->min()) / chart->axisY()->tickInterval()) + 1;
        QVERIFY2(labels.size() <= ticks, qPrintable(labels.join(' ')));
    }
    // The counts grew twentyfold: the top label says so.
    double top = 0;
    for (const QString& label : after) top = std::max(top, label.toDouble());
    QVERIFY2(top >= 350, qPrintable(after.join(' ')));
}

void ChartsTest::chartWindowFitsAndFollowsTheSeparator()
{
    const char saved = util::DecimalSeparator();
    util::SetDecimalSeparator(',');
    stakes::TChartData data;
    data.Caption = "Прибыль";
    data.Series.push_back({"Прибыль", 0, true, false, {{1001, 382.5, "1001"}, {1002, 430, "1002"}, {1003, 401, "1003"}}});
    TFormChart window(QStringLiteral("Прибыль"));
    window.setChart(data);
    AnalysisChart* chart = window.chart();
    QCOMPARE(chart->chart()->locale().decimalPoint(), QStringLiteral(","));
    QVERIFY(chart->chart()->legend()->showToolTips());
    QCOMPARE(AnalysisChart::numberText(382.5), QStringLiteral("382,50"));
    QCOMPARE(chart->xLabel(1002), QStringLiteral("1002"));
    QVERIFY(chart->axisY()->min() >= 300 && chart->axisY()->min() <= 382.5);
    QVERIFY(chart->axisY()->max() >= 430);
    QVERIFY(chart->axisX()->min() <= 1001 && chart->axisX()->max() >= 1003 && chart->axisX()->min() > 1000);
    window.zeroBox()->setChecked(true);
    QCOMPARE(chart->axisY()->min(), 0.0);
    util::SetDecimalSeparator('.');
    chart->fitValueAxes();
    QCOMPARE(chart->chart()->locale().decimalPoint(), QStringLiteral("."));
    util::SetDecimalSeparator(saved);
}

void ChartsTest::chooserAndHeadersExplainThemselves()
{
    StartedWindow started(50);
    QVERIFY(started.ok);
    StatsView* view = viewOf<StatsView>(*started.window);
    const QAbstractItemModel* header = view->tableView()->model();
    QCOMPARE(header->headerData(13, Qt::Horizontal, Qt::ToolTipRole).toString(),
             QStringLiteral("Ожд. ПРД: Ожидаемый тираж по периоду: округл(W / Количество + Посл. тираж); при Количестве > 1"));
    for (int c = 0; c < header->columnCount(); ++c)
        QVERIFY(!header->headerData(c, Qt::Horizontal, Qt::ToolTipRole).toString().isEmpty());

    // A group's caption stands above the method where the group begins only; positions and
    // names stay.
    QComboBox* chooser = view->chooser();
    QVERIFY(chooser->count() > 100);
    QStyleOptionViewItem option;
    option.initFrom(chooser->view());
    const QAbstractItemModel* model = chooser->model();
    int captions = 0;
    for (int i = 0; i < chooser->count(); ++i) {
        const bool first = i == 0 || model->index(i, 0).data(Qt::UserRole + 1) != model->index(i - 1, 0).data(Qt::UserRole + 1);
        const int h = chooser->itemDelegate()->sizeHint(option, model->index(i, 0)).height();
        const int plain = chooser->itemDelegate()->sizeHint(option, model->index(1, 0)).height();
        QCOMPARE(h > plain, first);
        captions += first;
    }
    QVERIFY(captions >= 13);
    QVERIFY(chooser->itemText(0).startsWith(QStringLiteral("{ num }")));

    // Typing offers the methods that hold the text anywhere in their names.
    const int chosen = chooser->findText(QStringLiteral("{ num } Числа тиража"), Qt::MatchStartsWith);
    chooser->setCurrentIndex(chosen);
    chooser->completer()->setCompletionPrefix(QStringLiteral("четн"));
    QVERIFY(chooser->completer()->completionCount() > 0);
    for (int i = 0; i < chooser->completer()->completionCount(); ++i) {
        chooser->completer()->setCurrentRow(i);
        QVERIFY(chooser->completer()->currentCompletion().contains(QStringLiteral("четн"), Qt::CaseInsensitive));
    }
    // Text left without a choice gives way to the chosen method.
    chooser->lineEdit()->setText(QStringLiteral("нет такого"));
    emit chooser->lineEdit()->editingFinished();
    QCOMPARE(chooser->currentIndex(), chosen);
    QCOMPARE(chooser->lineEdit()->text(), chooser->itemText(chosen));
}

void ChartsTest::statusFieldsShowWholeNumbers()
{
    StartedWindow started(2000);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    w.resize(1024, 700);
    w.setStatusField(3, QStringLiteral("Комбинаций: 125970"));
    const QString longText(300, QLatin1Char('x'));
    w.setStatusField(6, longText);
    QTest::qWait(50);
    w.grab();   // lays the bar out and paints it
    for (int i = 0; i <= 6; ++i) {
        auto* field = w.findChild<QLabel*>(QStringLiteral("StatusField%1").arg(i));
        QVERIFY(field != nullptr);
        const int needed = field->fontMetrics().horizontalAdvance(field->text());
        if (i < 6) {
            QVERIFY2(field->contentsRect().width() >= needed, qPrintable(field->text()));
        } else {
            QVERIFY(field->width() < needed);
            QCOMPARE(field->toolTip(), longText);
        }
    }
    // A shorter count keeps the width the widest one took.
    auto* combs = w.findChild<QLabel*>(QStringLiteral("StatusField3"));
    const int wide = combs->width();
    w.setStatusField(3, QStringLiteral("Комбинаций: 5"));
    w.grab();
    QCOMPARE(combs->width(), wide);
}

QTEST_MAIN(ChartsTest)
#include "charts_test.moc"

#include <QLabel>
#include <QAction>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include "app/commandnames.h"
#include "app/formchart.h"
#include "app/formconfig.h"
#include "app/formgenerate.h"
#include "app/formshredding.h"
#include "app/forminfo.h"
#include "app/formmain.h"
#include "app/qtshell.h"
#include "app/views/analysischart.h"
#include "app/views/combsview.h"
#include "app/views/statsview.h"
#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/stats/stattable.h"
#include "core/util/ini.h"
#include "tests/app/apptest.h"
#include "tests/support/support.h"

using namespace kv;

class ViewsTest : public QObject {
    Q_OBJECT

private slots:
    void statisticsTableOfNumbers();
    void generationWithMyNumbers();
    void deleteSelectedAndUndo();
    void generationDialogFields();
    void informationDialog();
    void listChecksAndSumChart();
    void shreddingFormulas();
    void statisticFilters();
    void configurationDialog();
};

namespace {

int64_t columnSum(const QAbstractItemModel* model, int column)
{
    int64_t sum = 0;
    for (int r = 0; r < model->rowCount(); ++r) sum += model->index(r, column).data().toString().toLongLong();
    return sum;
}

} // namespace

void ViewsTest::statisticsTableOfNumbers()
{
    StartedWindow started(300);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    StatsView* view = viewOf<StatsView>(w);
    QCOMPARE(view->chooser()->objectName(), QStringLiteral("cbDrawsStatType"));
    QCOMPARE(view->chooser()->count(), 227);
    QCOMPARE(view->chooser()->itemText(0), QStringLiteral("{ num } Числа тиража [ N ]"));
    QCOMPARE(view->chooser()->itemText(8), QStringLiteral("{ sum } Сумма тиража: все значения [ NG ]"));
    QVERIFY(view->chooser()->findText(QStringLiteral("{ num } Число в 1 позиции тиража [ SNG ]")) > 8);

    view->findChild<QSpinBox*>(QStringLiteral("DrawsStatLen"))->setValue(100);
    w.command(cmd::DrawsStatCalc)->trigger();
    const QAbstractItemModel* model = view->tableView()->model();
    QCOMPARE(model->rowCount(), 20);
    QCOMPARE(columnSum(model, 1), int64_t(800));   // 100 draws of 8 numbers
    QVERIFY(view->tableView()->isColumnHidden(3));
    QVERIFY(!view->tableView()->isColumnHidden(6));
    // Rows are sorted by the count, ascending.
    for (int r = 1; r < model->rowCount(); ++r)
        QVERIFY(model->index(r - 1, 1).data().toInt() <= model->index(r, 1).data().toInt());
    // With the offset 0 nothing follows the window: "Факт" is "-" everywhere.
    for (int r = 0; r < model->rowCount(); ++r) QCOMPARE(model->index(r, 16).data().toString(), QStringLiteral("-"));

    // Another method: EVEN lists 1..8 (and 0 only when drawn).
    view->chooser()->setCurrentIndex(2);
    QVERIFY(model->rowCount() >= 8);
    QCOMPARE(columnSum(model, 1), int64_t(100));
    // An offset rebuilds the table through the views' refresh.
    drawsOffset(w)->setValue(50);
    QCOMPARE(view->table().LastIndex(), 249);
}

void ViewsTest::generationWithMyNumbers()
{
    StartedWindow started(50);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    QCOMPARE(w.workspace().Combs().Count(), 125970);
    QCOMPARE(w.statusText(3), QStringLiteral("Комбинаций: 125970"));

    onNextDialog<TFormGenerate>([](TFormGenerate* dialog) {
        dialog->modeBox()->setCurrentIndex(2);   // only from my numbers
        dialog->parametersEdit()->setText(QStringLiteral("1;2;3;4;5;6;7;8;9;10"));
        dialog->accept();
    });
    w.command(cmd::CombsGen)->trigger();
    QCOMPARE(w.workspace().Combs().Count(), 45);
    QCOMPARE(w.statusText(3), QStringLiteral("Комбинаций: 45"));
    QVERIFY(!w.workspace().Combs().HasUndo());
    QCOMPARE(viewOf<CombsView>(w)->view()->model()->rowCount(), 45);
    QCOMPARE(viewOf<CombsView>(w)->view()->model()->index(44, 9).data().toString(), QStringLiteral("52"));   // 3+4+...+10
    // Not saved as the default: the settings file has no generation mode.
    QCOMPARE(util::IniFile::Load(dir / "Kvanta_8x20.ini").ReadInteger("GLOBAL", "CombsGenerateMode", -1), int64_t(-1));
}

void ViewsTest::deleteSelectedAndUndo()
{
    StartedWindow started(50);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    QTableView* view = viewOf<CombsView>(w)->view();
    view->selectRow(0);
    view->selectionModel()->select(view->model()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w.updateActions();
    QVERIFY(!w.command(cmd::CombsUndo)->isEnabled());
    w.command(cmd::CombsDelSelected)->trigger();
    QCOMPARE(w.workspace().Combs().Count(), 125968);
    QCOMPARE(w.workspace().History().Count(), 1);
    QCOMPARE(w.statusText(3), QStringLiteral("Комбинаций: 125968"));
    const QAbstractItemModel* history = viewOf<CombsView>(w)->findChild<QTableView*>(QStringLiteral("FiltersList"))->model();
    QCOMPARE(history->rowCount(), 1);
    QCOMPARE(history->index(0, 0).data().toString(), QStringLiteral("Выделенные комбинации"));
    QCOMPARE(history->index(0, 1).data().toString(), QStringLiteral("2"));
    QCOMPARE(history->index(0, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("Выделенные комбинации"));
    QCOMPARE(history->index(0, 2).data().toString(), QStringLiteral("125968"));
    QCOMPARE(history->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Примененные фильтры"));
    w.updateActions();
    QVERIFY(w.command(cmd::CombsUndo)->isEnabled());
    w.command(cmd::CombsUndo)->trigger();
    QCOMPARE(w.workspace().Combs().Count(), 125970);
    QCOMPARE(w.workspace().History().Count(), 0);
    QCOMPARE(history->rowCount(), 0);
    w.updateActions();
    QVERIFY(!w.command(cmd::CombsUndo)->isEnabled());

    // Exclude the last draws: the field and the command.
    viewOf<CombsView>(w)->findChild<QSpinBox*>(QStringLiteral("DrawsExclude"))->setValue(10);
    w.updateActions();
    QVERIFY(w.command(cmd::CombsDelExists)->isEnabled());
    w.command(cmd::CombsDelExists)->trigger();
    QVERIFY(w.workspace().Combs().Count() >= 125960);
    QVERIFY(w.workspace().Combs().Count() < 125970);
}

void ViewsTest::generationDialogFields()
{
    TFormGenerate dialog({4, "file.lcv"});
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Создание нового списка комбинаций"));
    QCOMPARE(dialog.modeBox()->count(), 5);
    QVERIFY(dialog.parametersEdit()->isEnabled());
    QVERIFY(dialog.fileButton()->isEnabled());
    QVERIFY(dialog.hintLabel()->text().startsWith(QStringLiteral("Файл комбинаций (*.lcv)")));
    dialog.modeBox()->setCurrentIndex(0);
    QVERIFY(!dialog.parametersEdit()->isEnabled());
    QVERIFY(!dialog.fileButton()->isEnabled());
    dialog.modeBox()->setCurrentIndex(1);
    QVERIFY(dialog.parametersEdit()->isEnabled());
    QVERIFY(!dialog.fileButton()->isEnabled());
    QVERIFY(!dialog.saveAsDefault());
    QCOMPARE(int(dialog.settings().Mode), 1);
    QCOMPARE(dialog.settings().Parameters, std::string("file.lcv"));

    // Numbers with spaces name none: the dialog stays open and says how to write them.
    dialog.show();
    dialog.parametersEdit()->setText(QStringLiteral("1 3 5 7 9 11 13 15 17 19"));
    dialog.accept();
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.errorLabel()->text(),
             QStringLiteral("Числа \"1 3 5 7 9 11 13 15 17 19\" не распознаны. Числа от 1 до 20 пишутся через точку "
                            "с запятой или запятую, например 3;7;12 или 3, 7, 12."));
    QVERIFY(dialog.errorLabel()->isVisibleTo(&dialog));
    dialog.parametersEdit()->setText(QStringLiteral("1;3;5"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
}

void ViewsTest::informationDialog()
{
    StartedWindow started(20);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const game::TComb nums{3, 7, 1, 15, 9, 20, 11, 4};
    TFormInfo dialog(w.statList(), nums, 5, false, 1024, std::string("12.03.2021 10:05"), w.shell());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Подробная информация"));
    QTableWidget* props = dialog.properties();
    // Draw number, date, then one row per charted method.
    int charted = 0;
    for (int i = 0; i < w.statList().MethodCount(); ++i) charted += w.statList().IsGraph(i) ? 1 : 0;
    QCOMPARE(props->rowCount(), 2 + charted);
    QCOMPARE(props->item(0, 0)->text(), QStringLiteral("Номер тиража:"));
    QCOMPARE(props->item(0, 1)->text(), QStringLiteral("1024"));
    QCOMPARE(props->item(1, 1)->text(), QStringLiteral("12.03.2021 10:05"));
    QCOMPARE(props->item(2, 0)->text(), QStringLiteral("Количество четных чисел в тираже (Ч:Н)"));
    QCOMPARE(props->item(2, 1)->text(), QStringLiteral("2"));    // 20 and 4
    const auto value = [props](const QString& name) {
        const auto found = props->findItems(name, Qt::MatchExactly);
        return found.isEmpty() ? QStringLiteral("?") : props->item(found.first()->row(), 1)->text();
    };
    QCOMPARE(value(QStringLiteral("Число в 1 позиции тиража")), QStringLiteral("3"));   // drawn order
    QCOMPARE(value(QStringLiteral("Сумма тиража: все значения")), QStringLiteral("70"));
    // The card: 4 columns by default, the given numbers written into their cells.
    QCOMPARE(dialog.card()->columnCount(), 4);
    QCOMPARE(dialog.card()->rowCount(), 5);
    QCOMPARE(dialog.card()->item(0, 2)->text(), QStringLiteral("3"));
    QCOMPARE(dialog.card()->item(0, 1)->text(), QString());
    dialog.columnsEdit()->setValue(3);
    QCOMPARE(dialog.card()->rowCount(), 7);
    QVERIFY(dialog.card()->item(6, 2) == nullptr);   // 21 is no number
}

void ViewsTest::listChecksAndSumChart()
{
    StartedWindow started(30);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    {
        MessageBoxAnswerer answerer;
        w.command(cmd::CombsCheckNums)->trigger();
        QCOMPARE(answerer.texts, QStringList{QStringLiteral("В текущем списке комбинаций содержится 20 уникальных номеров")});
        QCOMPARE(answerer.captions.at(0), QStringLiteral("Информация"));
    }
    {
        // The newest draw, sorted, is a combination of the list and is found in the archive.
        game::TComb newest = w.workspace().DrawAtRow(0).Nums;
        std::sort(newest.begin(), newest.end());
        const auto& combs = w.workspace().Combs().Items();
        const int row = static_cast<int>(std::find(combs.begin(), combs.end(), newest) - combs.begin());
        QVERIFY(row < w.workspace().Combs().Count());
        viewOf<CombsView>(w)->view()->selectRow(row);
        w.updateActions();
        MessageBoxAnswerer answerer;
        w.command(cmd::CombsFindInDraws)->trigger();
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY(answerer.texts.at(0).startsWith(QStringLiteral("Выделенная комбинация найдена в следующих тиражах:\n\nТираж № 30 от ")));
    }
    w.command(cmd::TotalSumCombs)->trigger();
    TFormChart* chart = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* c = qobject_cast<TFormChart*>(top)) chart = c;
    QVERIFY(chart != nullptr);
    QCOMPARE(chart->seriesCount(), 5);
    QCOMPARE(chart->chartView()->chart()->series().at(0)->name(),
             QStringLiteral("Фактическое распределение сумм (по тиражам)"));
    chart->close();
}

void ViewsTest::shreddingFormulas()
{
    StartedWindow started(30);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    QComboBox* chooser = viewOf<StatsView>(w)->chooser();
    const auto find = [chooser](const QString& text) {
        for (int i = 0; i < chooser->count(); ++i)
            if (chooser->itemText(i).contains(text)) return i;
        return -1;
    };
    QVERIFY(find(QStringLiteral("{ shr } Метод шинковки 1: (n1+n2+n3+n4)/(n5+n6+n7+n8) [ SNG ]")) >= 0);
    chooser->setCurrentIndex(5);
    onNextDialog<TFormShredding>([](TFormShredding* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Методы шинковки"));
        dialog->formulaEdit(0)->setText(QStringLiteral("n1/7"));
        dialog->digitsEdit(0)->setValue(3);
        dialog->accept();
    });
    w.command(cmd::EditShredding)->trigger();
    QVERIFY(find(QStringLiteral("{ shr } Метод шинковки 1: n1/7 [ SNG ]")) >= 0);
    QCOMPARE(chooser->currentIndex(), 5);   // the selection is kept
    const util::IniFile ini = util::IniFile::Load(dir / "Kvanta_8x20.ini");
    QCOMPARE(ini.ReadString("SHREDDING", "Formula1", ""), std::string("n1/7"));
    QCOMPARE(ini.ReadInteger("SHREDDING", "Formula1Digits", 0), int64_t(3));
    QCOMPARE(w.statList().Shredding().Formula1, std::string("n1/7"));
}

void ViewsTest::statisticFilters()
{
    StartedWindow started(120);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    StatsView* view = viewOf<StatsView>(w);
    view->findChild<QSpinBox*>(QStringLiteral("DrawsStatLen"))->setValue(100);
    w.command(cmd::DrawsStatCalc)->trigger();
    w.updateActions();
    QVERIFY(!w.command(cmd::StatFilter_Include)->isEnabled());   // no row selected
    QTableView* table = view->tableView();
    table->selectRow(0);
    table->selectionModel()->select(table->model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QString first = table->model()->index(0, 0).data().toString();
    const QString second = table->model()->index(1, 0).data().toString();
    w.updateActions();
    QVERIFY(w.command(cmd::StatFilter_Include)->isEnabled());
    w.command(cmd::StatFilter_Include)->trigger();
    // Combinations holding at least one of two numbers: C(20,8) - C(18,8).
    QCOMPARE(w.workspace().Combs().Count(), 125970 - 43758);
    const QAbstractItemModel* history = viewOf<CombsView>(w)->findChild<QTableView*>(QStringLiteral("FiltersList"))->model();
    QCOMPARE(history->rowCount(), 1);
    QCOMPARE(history->index(0, 0).data().toString(), QStringLiteral("{ num } Числа тиража [ N ]"));
    QCOMPARE(history->index(0, 1).data().toString(), first + QStringLiteral("; ") + second);
    QCOMPARE(history->index(0, 2).data().toString(), QString::number(125970 - 43758));
    QCOMPARE(w.statusText(3), QStringLiteral("Комбинаций: 82212"));

    w.command(cmd::CombsUndo)->trigger();
    QCOMPARE(w.workspace().Combs().Count(), 125970);
    w.command(cmd::StatFilter_Exclude)->trigger();
    QCOMPARE(w.workspace().Combs().Count(), 43758);
}

void ViewsTest::configurationDialog()
{
    StartedWindow started(40);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    QComboBox* chooser = viewOf<StatsView>(w)->chooser();
    QVERIFY(chooser->findText(QStringLiteral("{ grp } Количество чисел в 5 канале [ NG ]")) >= 0);
    onNextDialog<TFormConfig>([](TFormConfig* dialog) {
        dialog->channelEdit()->setValue(5);
        dialog->accept();
    });
    w.command(cmd::EditConfig)->trigger();
    QCOMPARE(w.statList().Config().ChannelSize, 5);
    // Four channels of five numbers: CHN5 is gone from the chooser.
    QVERIFY(chooser->findText(QStringLiteral("{ grp } Количество чисел в 4 канале [ NG ]")) >= 0);
    QCOMPARE(chooser->findText(QStringLiteral("{ grp } Количество чисел в 5 канале [ NG ]")), -1);
    QCOMPARE(util::IniFile::Load(dir / "Kvanta_8x20.ini").ReadInteger("GLOBAL", "ChannelSize", 0), int64_t(5));
    // The draw list colours follow: number 5 is in channel 1 now.
    const QAbstractItemModel* draws = drawList(w)->model();
    for (int c = 1; c <= 8; ++c)
        if (draws->index(0, c).data().toInt() == 5)
            QCOMPARE(draws->index(0, c).data(Qt::BackgroundRole).value<QColor>(), QColor(0xAA, 0xFF, 0xAA));
}

QTEST_MAIN(ViewsTest)
#include "views_test.moc"

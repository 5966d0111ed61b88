#include <QAction>
#include <QHeaderView>
#include <QButtonGroup>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QLineSeries>
#include <QAbstractButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include "app/commandnames.h"
#include "app/formchart.h"
#include "app/formdraw.h"
#include "app/formgenerate.h"
#include "app/formmain.h"
#include "app/formstake.h"
#include "app/qtshell.h"
#include "app/views/combsview.h"
#include "app/views/stakesview.h"
#include "core/archive/archive.h"
#include "core/archive/drawedit.h"
#include "core/archive/sample.h"
#include "core/game/numbers.h"
#include "core/game/texts.h"
#include "core/stakes/stakecommands.h"
#include "core/util/cp1251.h"
#include "core/util/ini.h"
#include "tests/app/apptest.h"
#include "tests/core/stakes/stakestest.h"
#include "tests/support/support.h"

using namespace kv;

class StakesViewTest : public QObject {
    Q_OBJECT

private slots:
    void selectedCombinationForThreeDraws();
    void deleteAndFilterAfterQuestions();
    void doubleClickStakesTheCombination();
    void stakeDialogNumbers_data();
    void stakeDialogNumbers();
    void stakeDialogFields();
    void multiStakes();
    void outdatedFileIsEmptied_data();
    void outdatedFileIsEmptied();
    void logsAndFlags();
    void profitChart();
    void importedDrawsCheckStakes();
    void wholeListInOneSeries();
    void randomStakeAndManualCheck();
};

namespace {

const QString StakesFileName = QStringLiteral("Kvanta_8x20.lsk");

// Cost 10; 4 hits win 50, 5 hits win 40.
const StartFiles::value_type Prizes{"Kvanta_8x20.ini", "[STAKES]\nCost=10\nProfits=2\nProfit_0_Overlap=4\nProfit_0_Profit=50\n"
                                                       "Profit_1_Overlap=5\nProfit_1_Profit=40\n"};

QString cell(const TFormMain& w, int row, int column, int role = Qt::DisplayRole)
{
    return viewOf<StakesView>(w)->model()->index(row, column).data(role).toString();
}

QVariant cellData(const TFormMain& w, int row, int column, int role)
{
    return viewOf<StakesView>(w)->model()->index(row, column).data(role);
}

std::vector<stakes::TStakeRecord> records(const test::TempDir& dir)
{
    return test::RecordsOf(test::ReadBytes(dir / StakesFileName.toStdString()));
}

int selectedStakeRow(const TFormMain& w)
{
    const auto rows = viewOf<StakesView>(w)->view()->selectionModel()->selectedRows();
    return rows.size() == 1 ? rows.at(0).row() : -1;
}

void selectStakeRows(TFormMain& w, int top, int bottom)
{
    QTableView* view = viewOf<StakesView>(w)->view();
    const QItemSelection range(view->model()->index(top, 0), view->model()->index(bottom, 0));
    view->selectionModel()->select(range, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    w.updateActions();
}

// Adds a draw through the draw dialog, as the user does.
void addDraw(TFormMain& w, int drawNo, const QString& numbers)
{
    onNextDialog<TFormDraw>([drawNo, numbers](TFormDraw* dialog) {
        QCOMPARE(dialog->drawNoEdit()->value(), drawNo);
        dialog->numbersEdit()->setText(numbers);
        dialog->accept();
    });
    w.command(cmd::DrawsAdd)->trigger();
}

// A view reports a double click only on the row the button went down on: press first, as a
// mouse does.
void doubleClick(QTableView* view, QPoint at)
{
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

QVariantList ints(std::initializer_list<int> values)
{
    QVariantList list;
    for (int v : values) list << v;
    return list;
}

QColor color(QRgb rgb)
{
    return QColor(rgb);
}

TFormChart* openChart()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* c = qobject_cast<TFormChart*>(top); c && c->isVisible()) return c;
    return nullptr;
}

} // namespace

void StakesViewTest::selectedCombinationForThreeDraws()
{
    StartedWindow started(50, {Prizes});
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    QCOMPARE(rightTabs(w)->tabText(rightTabs(w)->indexOf(viewOf<StakesView>(w))), QStringLiteral("Ставки"));
    QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 0"));
    QCOMPARE(viewOf<StakesView>(w)->model()->rowCount(), 1);   // the empty row of an empty file
    QCOMPARE(viewOf<StakesView>(w)->model()->headerData(8, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Комментарий"));
    w.updateActions();
    QVERIFY(w.command(cmd::StakeAdd)->isEnabled());
    QVERIFY(!w.command(cmd::StakeDel)->isEnabled());
    QVERIFY(!w.command(cmd::StakesCheckManual)->isEnabled());

    QTableView* combs = viewOf<CombsView>(w)->view();
    combs->selectRow(0);
    QCOMPARE(w.workspace().Combs()[0], (game::TComb{1, 2, 3, 4, 5, 6, 7, 8}));
    onNextDialog<TFormStake>([](TFormStake* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Добавление ставки"));
        QCOMPARE(dialog->drawNoEdit()->value(), 51);
        QCOMPARE(dialog->numbersEdit()->text(), QStringLiteral("1;2;3;4;5;6;7;8"));
        QCOMPARE(dialog->sumEdit()->text(), QStringLiteral("36"));
        QCOMPARE(dialog->commentEdit()->text(), QStringLiteral("Ставка \"вручную\""));
        QCOMPARE(dialog->drawsCountEdit()->value(), 1);
        dialog->drawsCountEdit()->setValue(3);
        dialog->accept();
    });
    w.command(cmd::StakeAdd)->trigger();

    // Stake, separator, stake, separator, stake; the last row selected.
    const auto added = records(dir);
    QCOMPARE(added.size(), size_t(5));
    QCOMPARE(added[0].DrawNo, 51);
    QCOMPARE(added[1].DrawNo, -1);
    QCOMPARE(added[2].DrawNo, 52);
    QCOMPARE(added[3].Origin, uint8_t(0));
    QCOMPARE(added[4].DrawNo, 53);
    QCOMPARE(added[4].SampleSize, 125970);
    QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 5"));
    QCOMPARE(viewOf<StakesView>(w)->model()->rowCount(), 5);
    QCOMPARE(selectedStakeRow(w), 4);

    const auto checkRow = [&w](int row, const QStringList& texts) {
        for (int c = 0; c < 9; ++c) QCOMPARE(cell(w, row, c), texts.at(c));
    };
    const QStringList unchecked51 = {"51", "Вручную", "1;2;3;4;5;6;7;8", "125970", "", "", "", "-10.00", "Ставка \"вручную\""};
    checkRow(0, unchecked51);
    checkRow(1, {"", "", "", "", "", "", "", "", ""});
    QCOMPARE(cellData(w, 0, 3, Qt::BackgroundRole).value<QColor>(), color(0xEAFFEA));
    QVERIFY(!cellData(w, 1, 3, Qt::BackgroundRole).isValid());
    QVERIFY(!cellData(w, 0, 7, Qt::ForegroundRole).isValid());   // unchecked: the window's text colour
    QCOMPARE(cellData(w, 0, 2, StakesModel::MatchedNumbersRole).toList(), QVariantList());
    QCOMPARE(cellData(w, 0, 7, Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    QCOMPARE(cellData(w, 0, 8, Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft | Qt::AlignVCenter));
    QCOMPARE(cellData(w, 0, 2, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));

    // Each new draw checks the stake that waited for it.
    addDraw(w, 51, QStringLiteral("1;2;3;4;9;10;11;12;1"));
    checkRow(0, {"51", "Вручную", "1;2;3;4;5;6;7;8", "125970", "1;2;3;4;9;10;11;12", "4", "1 2 3 4", "40.00",
                 "Ставка \"вручную\""});
    for (int c = 5; c <= 7; ++c) QCOMPARE(cellData(w, 0, c, Qt::ForegroundRole).value<QColor>(), color(0x008000));
    QVERIFY(!cellData(w, 0, 4, Qt::ForegroundRole).isValid());
    QCOMPARE(cellData(w, 0, 2, StakesModel::MatchedNumbersRole).toList(), ints({1, 2, 3, 4}));
    QCOMPARE(cellData(w, 0, 4, StakesModel::MatchedNumbersRole).toList(), ints({1, 2, 3, 4}));
    QCOMPARE(cell(w, 2, 5), QString());   // draw 52 is not in the archive yet
    QCOMPARE(cell(w, 2, 7), QStringLiteral("-10.00"));
    QVERIFY(!cellData(w, 2, 7, Qt::ForegroundRole).isValid());

    addDraw(w, 52, QStringLiteral("17;5;16;6;15;7;14;13;2"));
    checkRow(2, {"52", "Вручную", "1;2;3;4;5;6;7;8", "125970", "17;5;16;6;15;7;14;13", "3", "5 6 7", "-10.00",
                 "Ставка \"вручную\""});
    for (int c = 5; c <= 7; ++c) QCOMPARE(cellData(w, 2, c, Qt::ForegroundRole).value<QColor>(), color(0xFF0000));
    QCOMPARE(cellData(w, 2, 4, StakesModel::MatchedNumbersRole).toList(), ints({5, 6, 7}));   // in the order drawn

    addDraw(w, 53, QStringLiteral("9;10;11;12;13;14;15;16;3"));
    QCOMPARE(cell(w, 4, 5), QStringLiteral("0"));
    QCOMPARE(cell(w, 4, 6), QString());
    QCOMPARE(cellData(w, 4, 7, Qt::ForegroundRole).value<QColor>(), color(0xFF0000));
    QCOMPARE(cellData(w, 4, 2, StakesModel::MatchedNumbersRole).toList(), QVariantList());

    const auto checked = records(dir);
    QCOMPARE(checked.size(), size_t(5));
    for (int i : {0, 2, 4}) QCOMPARE(int(checked[i].Checked), 1);
    QCOMPARE(checked[0].Profit.raw, int64_t(400000));
    QCOMPARE(checked[1], stakes::NewSeparator());
    QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 5"));
}

void StakesViewTest::deleteAndFilterAfterQuestions()
{
    StartedWindow started(10, {{StakesFileName.toStdString(),
                                test::FileOf({test::Checked(1, 0), test::Checked(1, 2), stakes::NewSeparator(),
                                              test::Checked(2, 3), test::Checked(2, 5), test::Stake(30, {1, 2, 3, 4, 5, 6, 7, 8}),
                                              stakes::NewSeparator(), test::Checked(3, 4)})}});
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 8"));
    QCOMPARE(viewOf<StakesView>(w)->model()->rowCount(), 8);

    selectStakeRows(w, 1, 2);
    QVERIFY(w.command(cmd::StakeDel)->isEnabled());
    {
        MessageBoxAnswerer no(QMessageBox::No);
        w.command(cmd::StakeDel)->trigger();
        QCOMPARE(no.texts, QStringList{QStringLiteral("Удалить все выделенные записи (всего будет удалено 2 записи(ей))?")});
        QCOMPARE(no.captions, QStringList{QStringLiteral("Предупреждение")});
    }
    QCOMPARE(records(dir).size(), size_t(8));
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        w.command(cmd::StakeDel)->trigger();
        QCOMPARE(yes.texts.size(), 1);
    }
    auto left = records(dir);
    QCOMPARE(left.size(), size_t(6));
    QCOMPARE(left[0], test::Checked(1, 0));
    QCOMPARE(left[1], test::Checked(2, 3));
    QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 6"));
    QCOMPARE(viewOf<StakesView>(w)->model()->rowCount(), 6);
    QCOMPARE(cell(w, 1, 5), QStringLiteral("3"));
    QVERIFY(!std::filesystem::exists(dir / "Kvanta_8x20.~tmp"));

    selectStakeRows(w, 0, 0);
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        w.command(cmd::StakeDel)->trigger();
        QCOMPARE(yes.texts, QStringList{QStringLiteral("Удалить выделенную запись?")});
    }
    QCOMPARE(records(dir).size(), size_t(5));

    // Fewer than 4 hits: the checked stake with 3 and the one still waiting for draw 30 go;
    // separators stay.
    onNextDialog<TFormStakeFilter>([](TFormStakeFilter* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Удаление по условию"));
        QCOMPARE(dialog->modeGroup()->checkedId(), 0);
        QCOMPARE(dialog->valueEdit()->value(), 0);
        QCOMPARE(dialog->valueEdit()->maximum(), 8);
        const QStringList captions = {"Равно [ = ]", "Более [ > ]", "Не менее [ >= ]", "Менее [ < ]", "Не более [ <= ]"};
        for (int m = 0; m < 5; ++m) QCOMPARE(dialog->modeGroup()->button(m)->text(), captions.at(m));
        dialog->modeGroup()->button(3)->click();
        dialog->valueEdit()->setValue(4);
        dialog->accept();
    });
    w.command(cmd::StakeFilter)->trigger();
    left = records(dir);
    QCOMPARE(left.size(), size_t(3));
    QCOMPARE(left[0], test::Checked(2, 5));
    QCOMPARE(left[1], stakes::NewSeparator());
    QCOMPARE(left[2], test::Checked(3, 4));
    QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 3"));

    // The dialog starts afresh; cancelling removes nothing.
    onNextDialog<TFormStakeFilter>([](TFormStakeFilter* dialog) {
        QCOMPARE(dialog->modeGroup()->checkedId(), 0);
        QCOMPARE(dialog->valueEdit()->value(), 0);
        dialog->reject();
    });
    w.command(cmd::StakeFilter)->trigger();
    QCOMPARE(records(dir).size(), size_t(3));

    w.updateActions();
    {
        MessageBoxAnswerer no(QMessageBox::No);
        w.command(cmd::StakeClear)->trigger();
        QCOMPARE(no.texts, QStringList{QStringLiteral("Удалить все выделенные записи (всего будет удалено 2 записи(ей))?")});
    }
    QCOMPARE(records(dir).size(), size_t(3));
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        w.command(cmd::StakeClear)->trigger();
    }
    QCOMPARE(std::filesystem::file_size(dir / StakesFileName.toStdString()), uintmax_t(0));
    QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 0"));
    QCOMPARE(viewOf<StakesView>(w)->model()->rowCount(), 1);
    QCOMPARE(cell(w, 0, 0), QString());
    w.updateActions();
    for (const char* name : {cmd::StakeDel, cmd::StakeFilter, cmd::StakeClear, cmd::StakesCheckManual, cmd::StakesGraphDraws})
        QVERIFY2(!w.command(name)->isEnabled(), name);
    QVERIFY(w.command(cmd::StakeAdd)->isEnabled());
    QVERIFY(w.workspace().StakesFile().IsOpen());
}

void StakesViewTest::doubleClickStakesTheCombination()
{
    StartedWindow started(20);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    for (QTabWidget* tabs : w.findChildren<QTabWidget*>())
        if (tabs->indexOf(viewOf<CombsView>(w)) >= 0) tabs->setCurrentWidget(viewOf<CombsView>(w));
    QTableView* combs = viewOf<CombsView>(w)->view();
    QTRY_VERIFY(combs->isVisible());
    const game::TComb comb = w.workspace().Combs()[3];
    const QPoint at = combs->visualRect(combs->model()->index(3, 2)).center();
    QVERIFY(combs->viewport()->rect().contains(at));

    bool opened = false;
    onNextDialog<TFormStake>([&opened](TFormStake* dialog) {
        opened = true;
        dialog->reject();
    });
    doubleClick(combs, at);
    QVERIFY(opened);
    QCOMPARE(w.workspace().StakesFile().RecordCount(), 0);

    QString shown;
    onNextDialog<TFormStake>([&shown](TFormStake* dialog) {
        shown = dialog->numbersEdit()->text();
        dialog->accept();
    });
    doubleClick(combs, at);
    QCOMPARE(shown, qs(game::CombToText(comb)));
    const auto made = records(dir);
    QCOMPARE(made.size(), size_t(1));
    QCOMPARE(made[0].Stake, game::CombToNumSet(comb));
    QCOMPARE(made[0].DrawNo, 21);
    QCOMPARE(int(made[0].Origin), int(stakes::OriginManual));
    // The first stake of an empty file is counted although the grid already had one (empty) row.
    QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 1"));
    QCOMPARE(cell(w, 0, 0), QStringLiteral("21"));
    QCOMPARE(selectedStakeRow(w), 0);
}

void StakesViewTest::stakeDialogNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");   // empty: refused
    QTest::newRow("seven") << "1;2;3;4;5;6;7" << "";
    QTest::newRow("nine") << "1;2;3;4;5;6;7;8;9" << "";
    QTest::newRow("zero") << "0;2;3;4;5;6;7;8" << "";
    QTest::newRow("twenty-one") << "1;2;3;4;5;6;7;21" << "";
    QTest::newRow("twice") << "1;2;3;4;5;6;7;7" << "";
    QTest::newRow("blanks only") << "1 2 3 4 5 6 7 8" << "";
    QTest::newRow("word") << "1;2;3;4;5;6;7;x" << "";
    QTest::newRow("mixed separators") << "1,2;3, 4;5;6;7;8" << "1;2;3;4;5;6;7;8";
    QTest::newRow("sorted") << "20;19;18;17;16;15;14;13" << "13;14;15;16;17;18;19;20";
}

void StakesViewTest::stakeDialogNumbers()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    test::ScriptedShell sh;
    stakes::TStakeRecord stake = test::Stake(7, {1, 2, 3, 4, 5, 6, 7, 8}, "c");
    stake.SampleSize = 99;
    TFormStake dialog(sh, stake, 1);
    dialog.show();
    dialog.numbersEdit()->setText(text);
    dialog.accept();
    if (stored.isEmpty()) {
        QCOMPARE(sh.messages.size(), size_t(1));
        QCOMPARE(sh.messages[0].kind, shell::MessageKind::Error);
        QCOMPARE(qs(sh.messages[0].text), QStringLiteral("Введена некорректная комбинация!\nОжидаются 8 разных чисел от 1 "
                                                          "до 20 через точку с запятой или запятую, например: "
                                                          "1;5;8;11;13;16;18;20"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), dialog.numbersEdit());
    } else {
        QVERIFY(sh.messages.empty());
        QCOMPARE(dialog.QDialog::result(), int(QDialog::Accepted));
        QCOMPARE(qs(game::NumSetToText(dialog.stake().Stake, ";")), stored);
        QCOMPARE(dialog.stake().Stake.Count, 8);
        QCOMPARE(dialog.stake().SampleSize, 99);   // fields the dialog does not show stay
        QCOMPARE(dialog.stake().DrawNo, 7);
    }
}

void StakesViewTest::stakeDialogFields()
{
    test::ScriptedShell sh;
    stakes::TStakeRecord stake = stakes::NewSeparator();
    stake.DrawNo = 40;
    stake.Comment = "old";
    TFormStake dialog(sh, stake, 1);
    dialog.show();
    QCOMPARE(dialog.numbersEdit()->text(), QString());   // no combination selected
    QCOMPARE(dialog.sumEdit()->text(), QStringLiteral("0"));
    QVERIFY(dialog.sumEdit()->isReadOnly());
    dialog.numbersEdit()->setText(QStringLiteral("1;2;x;4"));
    QCOMPARE(dialog.sumEdit()->text(), QStringLiteral("7"));
    QCOMPARE(dialog.commentEdit()->maxLength(), 64);
    QCOMPARE(dialog.drawNoEdit()->minimum(), 1);
    QCOMPARE(dialog.drawNoEdit()->maximum(), 2147483647);
    QCOMPARE(dialog.drawsCountEdit()->minimum(), 1);
    QCOMPARE(dialog.drawsCountEdit()->maximum(), 65535);

    dialog.numbersEdit()->setText(QStringLiteral("8;7;6;5;4;3;2;1"));
    dialog.commentEdit()->clear();
    dialog.accept();
    QCOMPARE(sh.messages.size(), size_t(1));
    QCOMPARE(qs(sh.messages[0].text), QStringLiteral("Необходимо ввести комментарий!"));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.focusWidget(), dialog.commentEdit());

    dialog.commentEdit()->setText(QStringLiteral("Идея №1"));
    dialog.drawNoEdit()->setValue(44);
    dialog.drawsCountEdit()->setValue(2);
    dialog.accept();
    QCOMPARE(dialog.QDialog::result(), int(QDialog::Accepted));
    QCOMPARE(dialog.stake().Comment, std::string("Идея №1"));
    QCOMPARE(dialog.stake().DrawNo, 44);
    QCOMPARE(dialog.drawsCount(), 2);
}

void StakesViewTest::multiStakes()
{
    StartedWindow started(50);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    onNextDialog<TFormGenerate>([](TFormGenerate* dialog) {
        dialog->modeBox()->setCurrentIndex(2);
        dialog->parametersEdit()->setText(QStringLiteral("1;2;3;4;5;6;7;8;9;10"));
        dialog->accept();
    });
    w.command(cmd::CombsGen)->trigger();
    QCOMPARE(w.workspace().Combs().Count(), 45);

    // Every combination for draw 50, which the archive has: all are checked at once.
    MessageBoxAnswerer answerer;
    onNextDialog<TFormMultiStake>([](TFormMultiStake* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Добавление мультиставки"));
        QCOMPARE(dialog->drawNoEdit()->value(), 51);
        QCOMPARE(dialog->drawsCountEdit()->value(), 1);
        QCOMPARE(dialog->commentEdit()->text(), QStringLiteral("Ставка \"вручную\""));
        QCOMPARE(dialog->commentEdit()->maxLength(), 64);
        dialog->commentEdit()->clear();
        dialog->accept();
        QVERIFY(dialog->isVisible());
        dialog->commentEdit()->setText(QStringLiteral("Сорок пять"));
        dialog->drawNoEdit()->setValue(50);
        dialog->accept();
    });
    w.updateActions();
    w.command(cmd::StakeAddAll)->trigger();
    QCOMPARE(answerer.texts, QStringList{QStringLiteral("Необходимо ввести комментарий!")});
    auto made = records(dir);
    QCOMPARE(made.size(), size_t(45));
    const game::TDraw& draw50 = w.workspace().Draws().back();
    QCOMPARE(draw50.DrawNo, 50);
    for (int i = 0; i < 45; ++i) {
        QCOMPARE(made[i].Stake, game::CombToNumSet(w.workspace().Combs()[i]));
        QCOMPARE(made[i].Comment, std::string("Сорок пять"));
        QCOMPARE(made[i].SampleSize, 45);
        QCOMPARE(int(made[i].Checked), 1);
        QCOMPARE(made[i].DrawNums, draw50.Nums);
    }
    QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 45"));
    QCOMPARE(selectedStakeRow(w), 44);
    QCOMPARE(cell(w, 44, 5), QString::number(made[44].Matched.Count));

    // Two selected combinations for two draws: each stake behind a separator.
    QTableView* combs = viewOf<CombsView>(w)->view();
    combs->selectRow(0);
    combs->selectionModel()->select(combs->model()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w.updateActions();
    QVERIFY(w.command(cmd::StakeAddSelected)->isEnabled());
    onNextDialog<TFormMultiStake>([](TFormMultiStake* dialog) {
        dialog->drawNoEdit()->setValue(70);
        dialog->drawsCountEdit()->setValue(2);
        dialog->accept();
    });
    w.command(cmd::StakeAddSelected)->trigger();
    made = records(dir);
    QCOMPARE(made.size(), size_t(53));
    const std::vector<int32_t> draws = {-1, 70, -1, 71, -1, 70, -1, 71};
    for (int i = 0; i < 8; ++i) QCOMPARE(made[45 + i].DrawNo, draws[i]);
    QCOMPARE(made[46].Stake, game::CombToNumSet(w.workspace().Combs()[0]));
    QCOMPARE(made[50].Stake, game::CombToNumSet(w.workspace().Combs()[2]));
    QCOMPARE(made[52].Comment, std::string("Ставка \"вручную\""));
    QCOMPARE(int(made[52].Checked), 0);
    QVERIFY(viewOf<CombsView>(w)->selectedRows().empty());
    QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 53"));
    QCOMPARE(selectedStakeRow(w), 52);
    w.updateActions();
    QVERIFY(!w.command(cmd::StakeAddSelected)->isEnabled());
}

void StakesViewTest::outdatedFileIsEmptied_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("outdated");
    const std::string valid = test::RecordBytes(test::Stake(5, {1, 2, 3, 4, 5, 6, 7, 8}));
    std::string version1 = valid;
    version1[0] = 1;
    // A stray byte after records of this version costs only that byte (tested in the core).
    QTest::newRow("version 1") << QByteArray::fromStdString(version1) << true;
    QTest::newRow("current") << QByteArray::fromStdString(valid) << false;
}

void StakesViewTest::outdatedFileIsEmptied()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, outdated);
    MessageBoxAnswerer answerer;
    StartedWindow started(10, {{StakesFileName.toStdString(), bytes.toStdString()},
                               {"Kvanta_8x20.frm", "[TFormMain]\nStakesGrid.Column0=99\n"}});
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    if (outdated) {
        QCOMPARE(answerer.texts,
                 QStringList{QStringLiteral("Обнаружен файл ставок устаревшей версии - имеющиеся в файле ставки будут удалены!"
                                            "\n\nКопия файла сохранена как \"Kvanta_8x20.lsk.bak\".")});
        QCOMPARE(answerer.captions, QStringList{QStringLiteral("Предупреждение")});
        QCOMPARE(std::filesystem::file_size(dir / StakesFileName.toStdString()), uintmax_t(0));
        QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 0"));
        // Back to the initial columns, whose proportions are 60, 60, 120, 60, 120, 60, 60, 60, 1000,
        // widened where a caption would not fit.
        QTableView* grid = viewOf<StakesView>(w)->view();
        const int base = static_cast<int>(std::lround(60 * std::max(1.0, grid->fontMetrics().horizontalAdvance(QLatin1Char('0')) / 6.0)));
        for (int c : {0, 1, 3, 5, 6, 7}) {
            const QString caption = grid->model()->headerData(c, Qt::Horizontal).toString();
            const int captionWidth = grid->horizontalHeader()->fontMetrics().horizontalAdvance(caption);
            QVERIFY(grid->columnWidth(c) >= base && grid->columnWidth(c) <= std::max(base, captionWidth + 40));
        }
        for (int c : {2, 4}) QVERIFY(std::abs(grid->columnWidth(c) - 2 * base) <= 1);
        QVERIFY(std::abs(grid->columnWidth(8) - base * 1000 / 60) <= 17);
        // The widest stake fits in the grid's font: 16 digits and 7 gaps of 3 pixels.
        QVERIFY(grid->columnWidth(2) >= grid->fontMetrics().horizontalAdvance(QStringLiteral("1314151617181920")) + 21);
    } else {
        QVERIFY(answerer.texts.isEmpty());
        QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 1"));
        QCOMPARE(cell(w, 0, 0), QStringLiteral("5"));
        QCOMPARE(viewOf<StakesView>(w)->view()->columnWidth(0), 99);
    }
}

void StakesViewTest::logsAndFlags()
{
    StartedWindow started(50, {Prizes});
    QVERIFY(started.ok);
    const test::TempDir& dir = started.dir;
    {
        TFormMain& w = *started.window;
        QVERIFY(!w.command(cmd::LogStakes)->isChecked());
        QVERIFY(w.command(cmd::StakesScroll)->isChecked());
        QVERIFY(w.command(cmd::StakesCheckLine)->isChecked());
        for (const char* name : {cmd::LogStakes, cmd::StakesScroll, cmd::StakesCheckLine}) w.command(name)->trigger();
        const util::IniFile frm = util::IniFile::Load(dir / "Kvanta_8x20.frm");
        QVERIFY(frm.ReadBool("TFormMain", "StakesLogEnabled", false));
        QVERIFY(!frm.ReadBool("TFormMain", "StakesScrollEnabled", true));
        QVERIFY(!frm.ReadBool("TFormMain", "StakesCheckOnLine", true));
        QVERIFY(w.command(cmd::LogStakes)->isChecked());
        QVERIFY(!w.command(cmd::StakesScroll)->isChecked());

        {
            MessageBoxAnswerer answerer;
            w.command(cmd::LogStakesDelete)->trigger();
            QCOMPARE(answerer.texts, QStringList{QStringLiteral("Файлы журналов не найдены!")});
            QCOMPARE(answerer.captions, QStringList{QStringLiteral("Информация")});
        }

        viewOf<CombsView>(w)->view()->selectRow(0);
        onNextDialog<TFormStake>([](TFormStake* dialog) {
            dialog->commentEdit()->setText(QStringLiteral("Журнал"));
            dialog->accept();
        });
        w.command(cmd::StakeAdd)->trigger();
        addDraw(w, 51, QStringLiteral("1;2;3;4;5;9;10;11;1"));
        const std::string log = test::ReadBytes(dir / "Kvanta_8x20-5.log");
        const QString text = qs(util::Cp1251ToUtf8(log));
        const QRegularExpression line(QStringLiteral(
            "^\\d{4}\\.\\d\\d\\.\\d\\d \\d\\d:\\d\\d:\\d\\d: Тираж № 51\\. Ставка: \"Журнал\" \\[1;2;3;4;5;6;7;8\\] \\{125970\\}\\. "
            "Результаты тиража: \\[1;2;3;4;5;9;10;11\\]\\. Совпадений: 5\\. Профит: 30\\.00\\.\r\n$"));
        QVERIFY2(line.match(text).hasMatch(), qPrintable(text));

        {
            MessageBoxAnswerer answerer;
            w.command(cmd::LogStakesDelete)->trigger();
            QCOMPARE(answerer.texts, QStringList{QStringLiteral("Удаление файлов завершено.\n\nВсего - 1, обработано - 1, "
                                                                "пропущено - 0, предупреждений - 0, ошибок - 0.")});
            QCOMPARE(answerer.captions, QStringList{QStringLiteral("Информация")});
        }
        QVERIFY(!std::filesystem::exists(dir / "Kvanta_8x20-5.log"));
        viewOf<StakesView>(w)->view()->setColumnWidth(8, 333);
    }
    // The next start reads the flags and the grid's widths back.
    started.window.reset();
    StartedWindow restarted(dir);
    QVERIFY(restarted.ok);
    TFormMain& again = *restarted.window;
    QVERIFY(again.command(cmd::LogStakes)->isChecked());
    QVERIFY(!again.command(cmd::StakesScroll)->isChecked());
    QVERIFY(!again.command(cmd::StakesCheckLine)->isChecked());
    QVERIFY(viewOf<StakesView>(again)->logEnabled());
    QVERIFY(!viewOf<StakesView>(again)->scrollEnabled());
    QCOMPARE(viewOf<StakesView>(again)->view()->columnWidth(8), 333);
    QCOMPARE(again.statusText(4), QStringLiteral("Ставок: 1"));
    QCOMPARE(cell(again, 0, 5), QStringLiteral("5"));
}

void StakesViewTest::profitChart()
{
    const auto withProfit = [](int32_t drawNo, int hits, int64_t units) {
        stakes::TStakeRecord r = test::Checked(drawNo, hits);
        r.Profit = util::Currency::FromUnits(units);
        return r;
    };
    // Draw 2 nets -10 from two stakes.
    StartedWindow started(10, {{StakesFileName.toStdString(),
                                test::FileOf({withProfit(1, 4, 10), stakes::NewSeparator(), withProfit(2, 3, -20),
                                              withProfit(2, 4, 10), withProfit(3, 5, 30)})}});
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    w.updateActions();
    QVERIFY(w.command(cmd::StakesGraphDraws)->isEnabled());
    QCOMPARE(w.command(cmd::StakesGraphDraws)->text(), QStringLiteral("Суммарный профит по тиражам"));
    // No rating row can be chosen, so the charts of rating rows stay off.
    QVERIFY(!w.command(cmd::StakesGraphOverlap)->isEnabled());
    QVERIFY(!w.command(cmd::StakesGraphProfits)->isEnabled());

    w.command(cmd::StakesGraphDraws)->trigger();
    TFormChart* chart = openChart();
    QVERIFY(chart != nullptr);
    QCOMPARE(chart->windowTitle(), QStringLiteral("График суммарного профита ставок по тиражам"));
    QVERIFY(chart->isModal());
    QCOMPARE(chart->seriesCount(), 3);
    const auto series = chart->chartView()->chart()->series();
    const QStringList names = {"Суммарный профит ставок по тиражу", "Среднее значение", "Накопленное значение"};
    const std::vector<std::vector<double>> ys = {{10, -10, 30}, {10, 10, 10}, {10, 0, 30}};
    const std::vector<QRgb> colours = {0x008000, 0x0000FF, 0xFF0000};
    for (int s = 0; s < 3; ++s) {
        auto* line = qobject_cast<QLineSeries*>(series.at(s));
        QCOMPARE(line->name(), names.at(s));
        QCOMPARE(line->color(), QColor(colours[s]));
        QCOMPARE(line->pen().width(), 2);
        QCOMPARE(line->count(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(line->at(i).x(), double(i + 1));
            QCOMPARE(line->at(i).y(), ys[s][i]);
        }
        QCOMPARE(line->pointsVisible(), s != 1);
        QCOMPARE(line->pointLabelsVisible(), s != 1);
    }
    QVERIFY(chart->marksBox()->isChecked());
    QCOMPARE(chart->marksBox()->text(), QStringLiteral("Отображать метки на графиках"));
    chart->marksBox()->setChecked(false);
    for (int s = 0; s < 3; ++s) QVERIFY(!qobject_cast<QLineSeries*>(series.at(s))->pointLabelsVisible());
    chart->close();
    QTRY_VERIFY(openChart() == nullptr);

    // Stakes on one draw only: the message and no chart.
    {
        MessageBoxAnswerer answerer(QMessageBox::Yes);
        selectStakeRows(w, 2, 4);
        w.command(cmd::StakeDel)->trigger();   // yes: draws 2 and 3 go
        QCOMPARE(w.workspace().StakesFile().RecordCount(), 2);
    }
    MessageBoxAnswerer answerer;
    w.updateActions();
    w.command(cmd::StakesGraphDraws)->trigger();
    QCOMPARE(answerer.texts, QStringList{QStringLiteral(
                                 "Для построения графиков необходимо, чтобы в выделенном диапазоне данных было более одного тиража!")});
    QCOMPARE(answerer.captions, QStringList{QStringLiteral("Ошибка")});
    QVERIFY(openChart() == nullptr);
}

void StakesViewTest::importedDrawsCheckStakes()
{
    StartedWindow started(30);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    viewOf<CombsView>(w)->view()->selectRow(0);
    onNextDialog<TFormStake>([](TFormStake* dialog) {
        dialog->drawsCountEdit()->setValue(2);
        dialog->accept();
    });
    w.command(cmd::StakeAdd)->trigger();
    QCOMPARE(w.workspace().StakesFile().RecordCount(), 3);

    game::TDrawsArray more = archive::SyntheticDraws(2, 5, 31);
    more[0].Nums = {1, 2, 3, 4, 5, 6, 7, 20};
    const auto csv = dir / "more.csv";
    test::WriteBytes(csv, util::Utf8ToCp1251(archive::ExportDrawsText(more)));
    // The file dialog reads its folder in the background and may turn down an early answer:
    // the name is typed again until the dialog goes.
    QTimer answer;
    answer.setInterval(50);
    QObject::connect(&answer, &QTimer::timeout, [csv] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->setText(qs(csv.string()));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    answer.start();
    w.command(cmd::DrawsImport)->trigger();
    answer.stop();
    QCOMPARE(w.workspace().DrawCount(), 32);
    QCOMPARE(cell(w, 0, 5), QStringLiteral("7"));
    QCOMPARE(cell(w, 0, 6), QStringLiteral("1 2 3 4 5 6 7"));
    QCOMPARE(cell(w, 2, 0), QStringLiteral("32"));
    QVERIFY(!cell(w, 2, 5).isEmpty());
}

void StakesViewTest::wholeListInOneSeries()
{
    StartedWindow started(50);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    onNextDialog<TFormMultiStake>([](TFormMultiStake* dialog) { dialog->accept(); });
    w.updateActions();
    MessageBoxAnswerer yes(QMessageBox::Yes);
    w.command(cmd::StakeAddAll)->trigger();
    QCOMPARE(yes.texts.size(), 1);
    QVERIFY(yes.texts[0].startsWith(QStringLiteral("Будет сделано ставок: 125970 (")));
    QCOMPARE(w.workspace().StakesFile().RecordCount(), 125970);
    QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 125970"));
    QCOMPARE(viewOf<StakesView>(w)->model()->rowCount(), 125970);
    QCOMPARE(selectedStakeRow(w), 125969);
    QCOMPARE(cell(w, 0, 2), QStringLiteral("1;2;3;4;5;6;7;8"));
    QCOMPARE(cell(w, 125969, 2), QStringLiteral("13;14;15;16;17;18;19;20"));
    QCOMPARE(cell(w, 125969, 0), QStringLiteral("51"));
    QVERIFY(!w.shell().IsBusy());

    // Stakes of a series made elsewhere (regulars, scenarios): the grid follows once the
    // window gets to its events.
    for (int d : {90, 91, 92})
        QVERIFY(stakes::AddStakes(w.workspace().StakesFile(), w.shell(), test::Stake(d, {1, 2, 3, 4, 5, 6, 7, 9}), 1, true, true,
                                  viewOf<StakesView>(w)->hooks()));
    QTRY_COMPARE(viewOf<StakesView>(w)->model()->rowCount(), 125973);
    QCOMPARE(selectedStakeRow(w), 125972);
    QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 125973"));
    QCOMPARE(cell(w, 125972, 0), QStringLiteral("92"));
}

void StakesViewTest::randomStakeAndManualCheck()
{
    // Waiting for draw 12, which the archive already has: start-up leaves it to the check.
    StartedWindow started(20, {Prizes,
                               {StakesFileName.toStdString(), test::RecordBytes(test::Stake(12, {1, 2, 3, 4, 5, 6, 7, 8}))}});
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    QCOMPARE(cell(w, 0, 5), QString());
    w.updateActions();
    QVERIFY(w.command(cmd::StakesCheckManual)->isEnabled());
    w.command(cmd::StakesCheckManual)->trigger();
    const game::TDraw& draw12 = w.workspace().Draws()[11];
    QCOMPARE(draw12.DrawNo, 12);
    QCOMPARE(cell(w, 0, 4), qs(game::CombToText(draw12.Nums)));
    const int hits = cell(w, 0, 5).toInt();
    QCOMPARE(hits, game::IntersectNumSet(draw12, game::CombToNumSet({1, 2, 3, 4, 5, 6, 7, 8})).Count);
    QCOMPARE(int(records(dir)[0].Checked), 1);
    // The log is off by default: no log file.
    QVERIFY(!std::filesystem::exists(dir / ("Kvanta_8x20-" + std::to_string(hits) + ".log")));

    // A list of one combination: the random stake can only be that one.
    onNextDialog<TFormGenerate>([](TFormGenerate* dialog) {
        dialog->modeBox()->setCurrentIndex(2);
        dialog->parametersEdit()->setText(QStringLiteral("3;5;7;9;11;13;15;17"));
        dialog->accept();
    });
    w.command(cmd::CombsGen)->trigger();
    QCOMPARE(w.workspace().Combs().Count(), 1);
    w.updateActions();
    QVERIFY(w.command(cmd::StakeAddRandom)->isEnabled());
    QString shown;
    onNextDialog<TFormStake>([&shown](TFormStake* dialog) {
        shown = dialog->numbersEdit()->text();
        QCOMPARE(dialog->drawNoEdit()->value(), 21);
        dialog->accept();
    });
    w.command(cmd::StakeAddRandom)->trigger();
    QCOMPARE(shown, QStringLiteral("3;5;7;9;11;13;15;17"));
    QCOMPARE(records(dir).size(), size_t(2));
    QCOMPARE(records(dir)[1].SampleSize, 1);
    QCOMPARE(w.statusText(4), QStringLiteral("Ставок: 2"));
}

QTEST_MAIN(StakesViewTest)
#include "stakesview_test.moc"

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

#include "app/commandnames.h"
#include "app/formconfig.h"
#include "app/formdraw.h"
#include "app/formstake.h"
#include "app/views/combsview.h"
#include "app/views/stakesview.h"
#include "tests/app/apptest.h"

using namespace kv;

// The stakes grid as a newcomer meets it: captions, the empty grid, the order of the draw's
// numbers and the notice about the empty prize table.
class StakesGridTest : public QObject {
    Q_OBJECT

private slots:
    void emptyGridAndPrizeNotice();
    void drawNumbersFollowTheirOrder();
};

void StakesGridTest::emptyGridAndPrizeNotice()
{
    StartedWindow started(50);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    StakesView* view = viewOf<StakesView>(w);
    QTableView* grid = view->view();
    const QHeaderView* header = grid->horizontalHeader();
    for (int c = 0; c < grid->model()->columnCount(); ++c) {
        const QString caption = grid->model()->headerData(c, Qt::Horizontal).toString();
        QVERIFY2(grid->columnWidth(c) >= header->fontMetrics().horizontalAdvance(caption) + 8, qPrintable(caption));
    }

    // The empty row of an empty file stands for nothing and cannot be selected.
    grid->selectRow(0);
    view->refreshView({.Rows = true, .GoToLast = true});
    QVERIFY(!grid->selectionModel()->hasSelection());

    QVERIFY(view->prizeNotice()->isVisibleTo(view));
    auto* button = view->prizeNotice()->findChild<QPushButton*>(QStringLiteral("PrizeNoticeButton"));
    QVERIFY(button != nullptr);
    bool atPrizes = false;
    onNextDialog<TFormConfig>([&atPrizes](TFormConfig* dialog) {
        atPrizes = dialog->focusWidget() == dialog->profitTable();
        dialog->profitTable()->item(0, 1)->setText(QStringLiteral("100"));
        dialog->accept();
    });
    button->click();
    QVERIFY(atPrizes);
    QVERIFY(!view->prizeNotice()->isVisibleTo(view));
}

void StakesGridTest::drawNumbersFollowTheirOrder()
{
    StartedWindow started(50, {{"Kvanta_8x20.ini", "[STAKES]\nCost=10\nProfits=1\nProfit_0_Overlap=4\nProfit_0_Profit=50\n"}});
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    StakesModel* model = viewOf<StakesView>(w)->model();
    QVERIFY(!viewOf<StakesView>(w)->prizeNotice()->isVisibleTo(viewOf<StakesView>(w)));
    viewOf<CombsView>(w)->view()->selectRow(0);
    onNextDialog<TFormStake>([](TFormStake* dialog) { dialog->accept(); });
    w.command(cmd::StakeAdd)->trigger();
    onNextDialog<TFormDraw>([](TFormDraw* dialog) {
        dialog->numbersEdit()->setText(QStringLiteral("11;2;9;4;5;3;10;1;1"));
        dialog->accept();
    });
    w.command(cmd::DrawsAdd)->trigger();
    QCOMPARE(model->index(0, 4).data().toString(), QStringLiteral("11;2;9;4;5;3;10;1"));
    QVERIFY(model->headerData(4, Qt::Horizontal, Qt::ToolTipRole).toString().startsWith(QStringLiteral("Числа тиража в порядке выпадения")));
    w.command(cmd::DrawsSorted)->trigger();
    QCOMPARE(model->index(0, 4).data().toString(), QStringLiteral("1;2;3;4;5;9;10;11"));
    QVERIFY(model->headerData(4, Qt::Horizontal, Qt::ToolTipRole).toString().startsWith(QStringLiteral("Числа тиража по возрастанию")));
}

QTEST_MAIN(StakesGridTest)
#include "stakesgrid_test.moc"

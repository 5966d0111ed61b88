#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QDialogButtonBox>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QValidator>
#include <QtTest>

#include "app/formconfig.h"
#include "tests/app/apptest.h"

using namespace kv;

class FormConfigTest : public QObject {
    Q_OBJECT

private slots:
    void loading();
    void segmentsKeepTheirNumberAcrossColumnChanges();
    void badSegmentValuesAreRefused();
    void inputRules();
    void result();
};

namespace {

stats::TConfigData sample()
{
    stats::TConfigData c;
    c.MatrixCols = 5;
    c.ChannelSize = 3;
    c.Cost = util::Currency::FromRaw(125000);
    c.MaxStake = 10;
    // Stored from the largest overlap down: the table shows the stored order.
    for (int o = 8; o >= 0; --o)
        c.Profits.push_back({static_cast<uint8_t>(o), util::Currency::FromRaw(int64_t(o) * 1000000 + 2500)});
    c.Weights = {0.25L, -1.5L, 2.125L, true, false};
    for (int i = 0; i < 20; ++i) c.MatrixSegments[i] = static_cast<uint8_t>(i / 4 + 1);
    return c;
}

QString point()
{
    return QLocale().decimalPoint();
}

QStringList gridTexts(const QTableWidget* grid)
{
    QStringList rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c) cells << (grid->item(r, c) ? grid->item(r, c)->text() : "-");
        rows << cells.join(',');
    }
    return rows;
}

} // namespace

void FormConfigTest::loading()
{
    TFormConfig form(sample());
    QCOMPARE(form.windowTitle(), QStringLiteral("Параметры системы"));
    QCOMPARE(form.costEdit()->value(), 12.5);
    QCOMPARE(form.costEdit()->decimals(), 2);
    QVERIFY(form.maxStakeEdit()->isHidden());
    QCOMPARE(form.maxStakeEdit()->value(), 10);

    const QTableWidget* profits = form.profitTable();
    QCOMPARE(profits->rowCount(), 9);
    QCOMPARE(profits->horizontalHeaderItem(0)->text(), QStringLiteral("Совпадений"));
    QCOMPARE(profits->horizontalHeaderItem(1)->text(), QStringLiteral("Сумма выигрыша"));
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(profits->item(i, 0)->text(), QString::number(i));
        QVERIFY(!(profits->item(i, 0)->flags() & Qt::ItemIsEditable));
        QCOMPARE(profits->item(i, 1)->text(), QStringLiteral("%1%2%3").arg(QString::number((8 - i) * 100), point(), "25"));
    }

    QCOMPARE(form.coefEdit(0)->value(), 0.25);
    QCOMPARE(form.coefEdit(1)->value(), -1.5);
    QCOMPARE(form.coefEdit(2)->value(), 2.125);
    QCOMPARE(form.coefEdit(2)->decimals(), 3);
    QVERIFY(form.percentsBox()->isChecked());
    QVERIFY(!form.absoluteBox()->isChecked());
    QCOMPARE(form.channelEdit()->value(), 3);
    QCOMPARE(form.columnsEdit()->value(), 5);
    QCOMPARE(form.rowsEdit()->value(), 4);
    QVERIFY(form.rowsEdit()->isReadOnly());
    QCOMPARE(gridTexts(form.segmentGrid()),
             QStringList({"1,1,1,1,2", "2,2,2,3,3", "3,3,4,4,4", "4,5,5,5,5"}));
    QCOMPARE(form.segmentGrid()->item(0, 0)->textAlignment(), int(Qt::AlignCenter));

    // A short prize table fills the missing rows with zero.
    stats::TConfigData few = sample();
    few.Profits = {{8, util::Currency::FromUnits(7)}};
    TFormConfig second(few);
    QCOMPARE(second.profitTable()->item(0, 1)->text(), "7" + point() + "00");
    QCOMPARE(second.profitTable()->item(8, 1)->text(), "0" + point() + "00");
}

void FormConfigTest::segmentsKeepTheirNumberAcrossColumnChanges()
{
    stats::TConfigData c = sample();
    c.MatrixCols = 4;
    for (int i = 0; i < 20; ++i) c.MatrixSegments[i] = static_cast<uint8_t>(i % 9 + 1);
    TFormConfig form(c);
    QTableWidget* grid = form.segmentGrid();
    QCOMPARE(gridTexts(grid), QStringList({"1,2,3,4", "5,6,7,8", "9,1,2,3", "4,5,6,7", "8,9,1,2"}));

    form.columnsEdit()->setValue(5);
    QCOMPARE(form.rowsEdit()->value(), 4);
    QCOMPARE(gridTexts(grid), QStringList({"1,2,3,4,5", "6,7,8,9,1", "2,3,4,5,6", "7,8,9,1,2"}));
    form.columnsEdit()->setValue(4);
    QCOMPARE(gridTexts(grid), QStringList({"1,2,3,4", "5,6,7,8", "9,1,2,3", "4,5,6,7", "8,9,1,2"}));
    QCOMPARE(form.data().MatrixSegments, c.MatrixSegments);

    // Three columns leave one cell after number 20 that belongs to no number.
    form.columnsEdit()->setValue(3);
    QCOMPARE(form.rowsEdit()->value(), 7);
    QCOMPARE(grid->rowCount(), 7);
    QCOMPARE(grid->columnCount(), 3);
    QCOMPARE(grid->item(6, 1)->text(), QStringLiteral("2"));
    QVERIFY(grid->item(6, 1)->flags() & Qt::ItemIsSelectable);
    QCOMPARE(grid->item(6, 2)->text(), QString());
    QVERIFY(!(grid->item(6, 2)->flags() & (Qt::ItemIsSelectable | Qt::ItemIsEditable)));

    // An emptied cell counts as segment 1 when the layout changes.
    grid->item(0, 1)->setText(QString());
    QCOMPARE(grid->item(0, 1)->text(), QString());
    form.columnsEdit()->setValue(20);
    QCOMPARE(form.rowsEdit()->value(), 1);
    QCOMPARE(gridTexts(grid), QStringList({"1,1,3,4,5,6,7,8,9,1,2,3,4,5,6,7,8,9,1,2"}));
    form.columnsEdit()->setValue(1);
    QCOMPARE(grid->rowCount(), 20);
    QCOMPARE(grid->item(19, 0)->text(), QStringLiteral("2"));
    QCOMPARE(form.data().MatrixCols, 1);
}

void FormConfigTest::badSegmentValuesAreRefused()
{
    TFormConfig form(sample());
    QTableWidget* grid = form.segmentGrid();
    MessageBoxAnswerer answerer;
    grid->item(0, 0)->setText("0");
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("1"));
    grid->item(1, 2)->setText("10");
    QCOMPARE(grid->item(1, 2)->text(), QStringLiteral("1"));
    QCOMPARE(answerer.texts, QStringList({"Некорректное значение: 0!\n\nУкажите любое число от 1 до 9",
                                          "Некорректное значение: 10!\n\nУкажите любое число от 1 до 9"}));
    QCOMPARE(answerer.captions, QStringList({"Ошибка", "Ошибка"}));

    // Good values and an empty cell pass without a word.
    grid->item(0, 1)->setText("9");
    grid->item(0, 2)->setText(QString());
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("9"));
    QCOMPARE(grid->item(0, 2)->text(), QString());
    QCOMPARE(answerer.texts.size(), 2);
    const game::TNumMap seg = form.data().MatrixSegments;
    QCOMPARE(int(seg[0]), 1);
    QCOMPARE(int(seg[1]), 9);
    QCOMPARE(int(seg[2]), 1);
    QCOMPARE(int(seg[7]), 1); // "10" became 1
}

void FormConfigTest::inputRules()
{
    TFormConfig form(sample());
    QStyleOptionViewItem option;
    QWidget host;

    QTableWidget* grid = form.segmentGrid();
    auto* cellEdit = qobject_cast<QLineEdit*>(grid->itemDelegate()->createEditor(&host, option, grid->model()->index(0, 0)));
    QVERIFY(cellEdit && cellEdit->validator());
    QString text = "12";
    int pos = 0;
    QCOMPARE(cellEdit->validator()->validate(text, pos), QValidator::Acceptable);
    for (QString bad : {QStringLiteral("a"), QStringLiteral("-1"), QStringLiteral("1") + point()})
        QCOMPARE(cellEdit->validator()->validate(bad, pos), QValidator::Invalid);

    QTableWidget* profits = form.profitTable();
    auto* amountEdit = qobject_cast<QLineEdit*>(
        profits->itemDelegateForColumn(1)->createEditor(&host, option, profits->model()->index(0, 1)));
    QVERIFY(amountEdit && amountEdit->validator());
    QString amount = "1500" + point() + "25";
    QCOMPARE(amountEdit->validator()->validate(amount, pos), QValidator::Acceptable);
    for (QString bad : {QStringLiteral("1e5"), QStringLiteral("-3"), QStringLiteral("12 000")})
        QCOMPARE(amountEdit->validator()->validate(bad, pos), QValidator::Invalid);

    QCOMPARE(form.columnsEdit()->minimum(), 1);
    QCOMPARE(form.columnsEdit()->maximum(), 20);
    QCOMPARE(form.channelEdit()->minimum(), 2);
    QCOMPARE(form.channelEdit()->maximum(), 20);
}

void FormConfigTest::result()
{
    const stats::TConfigData original = sample();
    {
        // Untouched, the dialog gives back the settings with the prize table renumbered 0..8.
        TFormConfig form(original);
        stats::TConfigData expected = original;
        for (int i = 0; i < 9; ++i) {
            expected.Profits[i].Overlap = static_cast<uint8_t>(i);
            expected.Profits[i].Profit = util::Currency::FromRaw(int64_t(8 - i) * 1000000 + 2500);
        }
        QCOMPARE(form.data(), expected);
    }

    TFormConfig form(original);
    form.costEdit()->setValue(3.25);
    form.coefEdit(0)->setValue(1.5);
    form.coefEdit(1)->setValue(-0.125);
    form.coefEdit(2)->setValue(0);
    form.percentsBox()->setChecked(false);
    form.absoluteBox()->setChecked(true);
    form.channelEdit()->setValue(7);
    form.columnsEdit()->setValue(10);
    form.segmentGrid()->item(1, 9)->setText("6"); // number 20
    form.profitTable()->item(0, 1)->setText("1" + point() + "23456");
    form.profitTable()->item(1, 1)->setText(QString());
    form.profitTable()->item(2, 1)->setText("x");
    form.profitTable()->item(8, 1)->setText("250000");

    MessageBoxAnswerer answerer;
    QDialogButtonBox* buttons = form.findChild<QDialogButtonBox*>();
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
    form.show();
    buttons->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(answerer.texts.isEmpty());

    const stats::TConfigData d = form.data();
    QCOMPARE(d.Cost.raw, int64_t(32500));
    QCOMPARE(d.MaxStake, 10);
    QCOMPARE(double(d.Weights.CoefCount), 1.5);
    QCOMPARE(double(d.Weights.CoefDeviation), -0.125);
    QCOMPARE(double(d.Weights.CoefDepth), 0.0);
    QVERIFY(!d.Weights.UsePercents);
    QVERIFY(d.Weights.UseAbsolute);
    QCOMPARE(d.ChannelSize, 7);
    QCOMPARE(d.MatrixCols, 10);
    QCOMPARE(int(d.MatrixSegments[19]), 6);
    QCOMPARE(int(d.MatrixSegments[18]), 5);
    QCOMPARE(int(d.Profits.size()), 9);
    QCOMPARE(d.Profits[0].Profit.raw, int64_t(12346));
    QCOMPARE(d.Profits[1].Profit.raw, int64_t(0));
    QCOMPARE(d.Profits[2].Profit.raw, int64_t(0));
    QCOMPARE(d.Profits[8].Profit.raw, int64_t(2500000000));
    QCOMPARE(int(d.Profits[8].Overlap), 8);
}

QTEST_MAIN(FormConfigTest)
#include "formconfig_test.moc"

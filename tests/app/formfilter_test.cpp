#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QLabel>
#include <QtTest>
#include <functional>

#include "app/formfilter.h"
#include "core/stats/statlist.h"
#include "tests/app/apptest.h"
#include "tests/support/support.h"

using namespace kv;
using filters::TFilterItem;

class FormFilterTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void defaults();
    void loadingKeepsEveryField();
    void itemWithoutOwnWeightsShowsTheEngines();
    void unknownStatisticTakesTheFirstEntry();
    void editedFieldsAreWrittenBack();
    void weightGroupEnabling_data();
    void weightGroupEnabling();
    void refusals_data();
    void refusals();
    void keyFilter();
    void editFilterItemWritesBackOnlyOnOk();

private:
    stats::TStatList m_list;
    std::vector<stats::TChooserEntry> m_entries;
    int m_numericEntry = -1;      // chooser positions of statistics with and without values
    int m_nonNumericEntry = -1;
};

namespace {

const QString BadRange = QStringLiteral("Введен некорректный диапазон значений!");
const QString NoValueList =
    QStringLiteral("Для данного вида статистики не доступен режим выделения по списку значений!");
const QString MultiSelectStop = QStringLiteral("В режиме мультивыделения остановка сценария по количеству комбинаций "
                                               "или чисел не может быть выполнена!\nВыберите другой способ останова.");

const stats::TWeightCoefs EngineWeights{0.25L, -1.5L, 2, true, false};

QPushButton* okButton(QDialog& dialog)
{
    return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

QStringList comboItems(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

} // namespace

void FormFilterTest::initTestCase()
{
    m_list.BuildMethodList();
    m_list.Config().Weights = EngineWeights;
    m_entries = stats::BuildChoosers(m_list).Stat;
    QVERIFY(m_entries.size() > 4);
    for (int i = 0; i < static_cast<int>(m_entries.size()); ++i) {
        const bool numeric = m_list.Method(m_entries[i].Method).Kind->HasNumericValue();
        if (numeric && m_numericEntry < 0 && i > 0) m_numericEntry = i;
        if (!numeric && m_nonNumericEntry < 0) m_nonNumericEntry = i;
    }
    QVERIFY(m_numericEntry > 0);
    QVERIFY(m_nonNumericEntry >= 0);
}

void FormFilterTest::defaults()
{
    test::ScriptedShell shell;
    TFormFilter dialog(m_list, shell, m_entries[3].Method, 25);
    dialog.loadItem(TFilterItem{});   // not Defined: nothing changes

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Фильтр"));
    QCOMPARE(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
    QCOMPARE(dialog.statEdit()->count(), static_cast<int>(m_entries.size()));
    QCOMPARE(dialog.statEdit()->itemText(0), QString::fromStdString(m_entries[0].Name));
    QCOMPARE(dialog.statEdit()->currentIndex(), 3);
    QCOMPARE(dialog.drawsEdit()->text(), QStringLiteral("25"));
    QCOMPARE(dialog.sortColumnEdit()->count(), 20);
    QCOMPARE(dialog.sortColumnEdit()->itemText(0), QStringLiteral("Значение"));
    QCOMPARE(dialog.sortColumnEdit()->itemText(19), QStringLiteral("+/- КРН"));
    QCOMPARE(dialog.sortColumnEdit()->currentText(), QStringLiteral("Количество"));
    QCOMPARE(comboItems(dialog.directionEdit()), (QStringList{"Сверху-вниз", "Снизу-вверх"}));
    QCOMPARE(dialog.directionEdit()->currentIndex(), 0);
    QCOMPARE(comboItems(dialog.modeEdit()), (QStringList{"Удалить выделенные", "Оставить выделенные"}));
    QCOMPARE(dialog.modeEdit()->currentIndex(), 0);
    QCOMPARE(dialog.multiSelectCheck()->text(),
             QStringLiteral("Использовать режим одновременного выделения нескольких значений в списке"));
    QVERIFY(!dialog.multiSelectCheck()->isChecked());
    QCOMPARE(dialog.conditionEdit()->count(), 32);
    QCOMPARE(dialog.conditionEdit()->currentText(), QStringLiteral("Весь список (без условий)"));
    QCOMPARE(dialog.conditionEdit()->itemText(31), QStringLiteral("\"Значения\": из заданного списка значений"));
    QVERIFY(dialog.valuesEdit()->text().isEmpty());
    const QStringList forms = {"1 - одно значение", "1, 2, 3 - список значений через запятую",
                               "1-10;2 - нижняя и верхняя граница диапазона; шаг изменения"};
    QCOMPARE(dialog.valuesHint()->text().split(QLatin1Char('\n')), forms);
    QCOMPARE(dialog.valuesEdit()->toolTip().split(QLatin1Char('\n')), forms);
    QCOMPARE(dialog.drawsEdit()->toolTip().split(QLatin1Char('\n')), forms);
    QCOMPARE(dialog.weightGroup()->title(), QStringLiteral(" Коэффициенты для расчета значений \"Вес\" "));
    QVERIFY(!dialog.overrideCheck()->isChecked());
    QCOMPARE(dialog.coefEdit(0)->decimals(), 3);
    QCOMPARE(dialog.coefEdit(0)->value(), 0.25);
    QCOMPARE(dialog.coefEdit(1)->value(), -1.5);
    QCOMPARE(dialog.coefEdit(2)->value(), 2.0);
    QCOMPARE(dialog.percentsCheck()->text(), QStringLiteral("Использовать значения в %"));
    QVERIFY(dialog.percentsCheck()->isChecked());
    QCOMPARE(dialog.absoluteCheck()->text(), QStringLiteral("Использовать абсолютные значения"));
    QVERIFY(!dialog.absoluteCheck()->isChecked());
    QCOMPARE(comboItems(dialog.stopModeEdit()),
             (QStringList{"Обработать все записи", "Количеству оставшихся комбинаций",
                          "Пока список не будет пуст и откатить на шаг", "Количеству шагов",
                          "Значению в списке статистики", "Процентному соотношению в списке статистики"}));
    QCOMPARE(dialog.stopModeEdit()->currentIndex(), 0);
    QCOMPARE(dialog.stopValueEdit()->minimum(), 1);
    QCOMPARE(dialog.stopValueEdit()->maximum(), 2147483647);
    QCOMPARE(dialog.stopValueEdit()->value(), 1);

    const TFilterItem item = dialog.item();
    QVERIFY(item.Defined);
    QCOMPARE(item.Method, m_entries[3].Method);
    QCOMPARE(item.StatText, m_list.Method(m_entries[3].Method).MethodCode() + ":25");
    QCOMPARE(item.DrawsText, std::string("25"));
    QCOMPARE(item.SortColumn, 1);
    QVERIFY(!item.BottomUp && !item.MultiSelect && !item.KeepSelected && !item.OverrideWeights);
    QCOMPARE(int(item.Condition), 0);
    QCOMPARE(int(item.StopMode), 0);
    QCOMPARE(item.StopValue, 1);

    // A current choice that is not in the list falls back to the first entry.
    TFormFilter other(m_list, shell, -5, 10);
    QCOMPARE(other.statEdit()->currentIndex(), 0);
}

void FormFilterTest::loadingKeepsEveryField()
{
    test::ScriptedShell shell;
    const std::string code = m_list.Method(m_entries[m_numericEntry].Method).MethodCode();
    // 0.1 has no exact 3-decimal double image in extended precision: it must survive untouched.
    const TFilterItem loaded =
        filters::TextToFilterItem("BMF8#" + code + ": 10, 20-22#WMV:5;7#SV:3#1.5:0.1:-2:0:1", m_list);
    QVERIFY(loaded.Defined);
    QCOMPARE(loaded.Method, m_entries[m_numericEntry].Method);

    TFormFilter dialog(m_list, shell, m_entries[0].Method, 40);
    dialog.loadItem(loaded);
    QCOMPARE(dialog.statEdit()->currentIndex(), m_numericEntry);
    QCOMPARE(dialog.drawsEdit()->text(), QStringLiteral("10, 20-22"));
    QCOMPARE(dialog.sortColumnEdit()->currentIndex(), 8);
    QCOMPARE(dialog.directionEdit()->currentIndex(), 1);
    QCOMPARE(dialog.modeEdit()->currentIndex(), 1);
    QVERIFY(dialog.multiSelectCheck()->isChecked());
    QCOMPARE(dialog.conditionEdit()->currentIndex(), 19);
    QCOMPARE(dialog.valuesEdit()->text(), QStringLiteral("5;7"));
    QVERIFY(dialog.overrideCheck()->isChecked());
    QCOMPARE(dialog.coefEdit(0)->value(), 1.5);
    QCOMPARE(dialog.coefEdit(1)->value(), 0.1);
    QCOMPARE(dialog.coefEdit(2)->value(), -2.0);
    QVERIFY(!dialog.percentsCheck()->isChecked());
    QVERIFY(dialog.absoluteCheck()->isChecked());
    QCOMPARE(dialog.stopModeEdit()->currentIndex(), 4);
    QCOMPARE(dialog.stopValueEdit()->value(), 3);

    QVERIFY(dialog.item() == loaded);
    QCOMPARE(filters::FilterItemToText(dialog.item(), m_list), filters::FilterItemToText(loaded, m_list));
}

void FormFilterTest::itemWithoutOwnWeightsShowsTheEngines()
{
    test::ScriptedShell shell;
    const TFilterItem loaded = filters::TextToFilterItem("TSD0#" + m_list.Method(m_entries[1].Method).MethodCode()
                                                             + ":30#WLV:4#SF:1",
                                                         m_list);
    QVERIFY(!loaded.OverrideWeights);
    TFormFilter dialog(m_list, shell, m_entries[0].Method, 40);
    dialog.loadItem(loaded);
    QCOMPARE(dialog.sortColumnEdit()->currentIndex(), 0);
    QVERIFY(!dialog.overrideCheck()->isChecked());
    QCOMPARE(dialog.coefEdit(0)->value(), 0.25);
    QCOMPARE(dialog.coefEdit(1)->value(), -1.5);
    QCOMPARE(dialog.coefEdit(2)->value(), 2.0);
    QVERIFY(dialog.percentsCheck()->isChecked());
    QVERIFY(dialog.item() == loaded);

    // Turning the override on takes the shown engine coefficients as the item's own.
    dialog.overrideCheck()->setChecked(true);
    const TFilterItem own = dialog.item();
    QVERIFY(own.OverrideWeights);
    QVERIFY(own.Weights == EngineWeights);
}

void FormFilterTest::unknownStatisticTakesTheFirstEntry()
{
    test::ScriptedShell shell;
    const TFilterItem loaded = filters::TextToFilterItem("TSD1#NOSUCHSTAT7:15#LNO:#SF:1", m_list);
    QCOMPARE(loaded.Method, -1);
    TFormFilter dialog(m_list, shell, m_entries[2].Method, 40);
    dialog.loadItem(loaded);
    QCOMPARE(dialog.statEdit()->currentIndex(), 0);
    // An unknown statistic's section keeps its draws text only in StatText.
    QVERIFY(dialog.drawsEdit()->text().isEmpty());
    QCOMPARE(dialog.item().Method, m_entries[0].Method);
}

void FormFilterTest::editedFieldsAreWrittenBack()
{
    test::ScriptedShell shell;
    const std::string code = m_list.Method(m_entries[m_numericEntry].Method).MethodCode();
    TFormFilter dialog(m_list, shell, m_entries[0].Method, 40);
    dialog.loadItem(filters::TextToFilterItem("BMF8#" + code + ": 10#WMV:5#SV:3#1.5:0.1:-2:0:1", m_list));
    dialog.drawsEdit()->setText(QStringLiteral("12"));
    dialog.coefEdit(1)->setValue(0.375);
    dialog.sortColumnEdit()->setCurrentIndex(19);
    dialog.directionEdit()->setCurrentIndex(0);
    dialog.modeEdit()->setCurrentIndex(0);
    dialog.stopValueEdit()->setValue(2147483647);
    const TFilterItem item = dialog.item();
    QCOMPARE(item.StatText, code + ":12");
    QCOMPARE(item.DrawsText, std::string("12"));
    QVERIFY(item.Weights.CoefDeviation == 0.375L);
    QVERIFY(item.Weights.CoefCount == 1.5L);
    QCOMPARE(item.SortColumn, 19);
    QVERIFY(!item.BottomUp && !item.KeepSelected);
    QCOMPARE(item.StopValue, 2147483647);
    QCOMPARE(filters::FilterItemToText(item, m_list), "TMD19#" + code + ":12#WMV:5#SV:2147483647#1.5:0.375:-2:0:1");
}

void FormFilterTest::weightGroupEnabling_data()
{
    QTest::addColumn<int>("condition");
    QTest::addColumn<bool>("weights");
    for (int c = 0; c < 32; ++c) QTest::addRow("%d", c) << c << (c >= 19 && c <= 21);
}

void FormFilterTest::weightGroupEnabling()
{
    QFETCH(int, condition);
    QFETCH(bool, weights);
    test::ScriptedShell shell;
    TFormFilter dialog(m_list, shell, m_entries[0].Method, 40);
    const auto ownFieldsEnabled = [&](bool expected) {
        for (int i = 0; i < 3; ++i) QCOMPARE(dialog.coefEdit(i)->isEnabled(), expected);
        QCOMPARE(dialog.percentsCheck()->isEnabled(), expected);
        QCOMPARE(dialog.absoluteCheck()->isEnabled(), expected);
    };

    dialog.conditionEdit()->setCurrentIndex(condition);
    QCOMPARE(dialog.weightGroup()->isEnabled(), weights);
    QCOMPARE(dialog.overrideCheck()->isEnabled(), weights);
    ownFieldsEnabled(false);

    dialog.overrideCheck()->setChecked(true);
    ownFieldsEnabled(weights);
    dialog.overrideCheck()->setChecked(false);
    ownFieldsEnabled(false);

    // Leaving the weight conditions with the override checked disables everything again.
    dialog.overrideCheck()->setChecked(true);
    dialog.conditionEdit()->setCurrentIndex(weights ? 0 : 20);
    QCOMPARE(dialog.weightGroup()->isEnabled(), !weights);
    ownFieldsEnabled(!weights);
}

void FormFilterTest::refusals_data()
{
    QTest::addColumn<QString>("draws");
    QTest::addColumn<int>("statEntry");   // -1 the numeric one, -2 the one without values
    QTest::addColumn<int>("condition");
    QTest::addColumn<QString>("values");
    QTest::addColumn<bool>("multiSelect");
    QTest::addColumn<int>("stopMode");
    QTest::addColumn<QString>("message");   // empty: accepted
    QTest::addColumn<QString>("focus");

    QTest::newRow("no draws") << "" << -1 << 0 << "" << false << 0 << BadRange << "draws";
    QTest::newRow("draws 0") << "0" << -1 << 0 << "" << false << 0 << BadRange << "draws";
    QTest::newRow("draws only separators") << ",;" << -1 << 0 << "" << false << 0 << BadRange << "draws";
    QTest::newRow("draws 0 in a list") << "0,5" << -1 << 0 << "" << false << 0 << "" << "";
    QTest::newRow("draws first of all") << "" << -2 << 31 << "" << true << 1 << BadRange << "draws";
    QTest::newRow("list without values") << "30" << -2 << 31 << "1" << false << 0 << NoValueList << "condition";
    QTest::newRow("list with values") << "30" << -1 << 31 << "1-3;1" << false << 0 << "" << "";
    QTest::newRow("list before its text") << "30" << -2 << 31 << "" << false << 0 << NoValueList << "condition";
    QTest::newRow("condition without values") << "30" << -1 << 1 << "" << false << 0 << BadRange << "values";
    QTest::newRow("weight without values") << "30" << -2 << 20 << "-" << false << 0 << BadRange << "values";
    QTest::newRow("values before stop") << "30" << -1 << 5 << "" << true << 1 << BadRange << "values";
    QTest::newRow("no condition needs no values") << "30" << -2 << 0 << "" << false << 0 << "" << "";
    QTest::newRow("multi-select by count") << "30" << -1 << 1 << "4" << true << 1 << MultiSelectStop << "stop";
    QTest::newRow("multi-select by steps") << "30" << -1 << 1 << "4" << true << 3 << "" << "";
    QTest::newRow("single by count") << "30" << -1 << 1 << "4" << false << 1 << "" << "";
}

void FormFilterTest::refusals()
{
    QFETCH(QString, draws);
    QFETCH(int, statEntry);
    QFETCH(int, condition);
    QFETCH(QString, values);
    QFETCH(bool, multiSelect);
    QFETCH(int, stopMode);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    test::ScriptedShell shell;
    TFormFilter dialog(m_list, shell, m_entries[0].Method, 40);
    dialog.statEdit()->setCurrentIndex(statEntry == -1 ? m_numericEntry : m_nonNumericEntry);
    dialog.drawsEdit()->setText(draws);
    dialog.conditionEdit()->setCurrentIndex(condition);
    dialog.valuesEdit()->setText(values);
    dialog.multiSelectCheck()->setChecked(multiSelect);
    dialog.stopModeEdit()->setCurrentIndex(stopMode);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.modeEdit()->setFocus();

    okButton(dialog)->click();

    if (message.isEmpty()) {
        QVERIFY2(shell.messages.empty(), shell.messages.empty() ? "" : shell.messages[0].text.c_str());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        return;
    }
    QCOMPARE(shell.messages.size(), std::size_t(1));
    QVERIFY(shell.messages[0].kind == shell::MessageKind::Error);
    QCOMPARE(QString::fromStdString(shell.messages[0].text), message);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QWidget* expected = focus == "draws"       ? static_cast<QWidget*>(dialog.drawsEdit())
                        : focus == "condition" ? static_cast<QWidget*>(dialog.conditionEdit())
                        : focus == "values"    ? static_cast<QWidget*>(dialog.valuesEdit())
                                               : static_cast<QWidget*>(dialog.stopModeEdit());
    QCOMPARE(dialog.focusWidget(), expected);
}

void FormFilterTest::keyFilter()
{
    test::ScriptedShell shell;
    TFormFilter dialog(m_list, shell, m_entries[0].Method, 40);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    for (QLineEdit* edit : {dialog.drawsEdit(), dialog.valuesEdit()}) {
        edit->clear();
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("1a,2;3-4 x.5+z"));
        // A Cyrillic letter, as a Russian layout types it (keyClicks takes Latin-1 only).
        QKeyEvent cyrillic(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("Ж"));
        QApplication::sendEvent(edit, &cyrillic);
        QTest::keyClicks(edit, QStringLiteral("9"));
        QCOMPARE(edit->text(), QStringLiteral("1,2;3-459"));
        // Editing keys still work.
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClick(edit, Qt::Key_Delete);
        QCOMPARE(edit->text(), QStringLiteral(",2;3-45"));
    }
}

void FormFilterTest::editFilterItemWritesBackOnlyOnOk()
{
    test::ScriptedShell shell;
    const std::string code = m_list.Method(m_entries[1].Method).MethodCode();
    const TFilterItem original = filters::TextToFilterItem("TSD1#" + code + ":30#LMV:5#SF:1", m_list);

    TFilterItem item = original;
    onNextDialog<TFormFilter>([](TFormFilter* dialog) { dialog->reject(); });
    QVERIFY(!TFormFilter::EditFilterItem(item, m_list, shell, m_entries[0].Method, 40));
    QVERIFY(item == original);

    // A refused confirmation keeps the dialog up; the corrected one closes it.
    onNextDialog<TFormFilter>([](TFormFilter* dialog) {
        dialog->valuesEdit()->clear();
        okButton(*dialog)->click();
        dialog->valuesEdit()->setText(QStringLiteral("6-8;2"));
        okButton(*dialog)->click();
        if (dialog->isVisible()) dialog->reject();   // a wrong refusal fails below instead of hanging
    });
    QVERIFY(TFormFilter::EditFilterItem(item, m_list, shell, m_entries[0].Method, 40));
    QCOMPARE(shell.messages.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(shell.messages[0].text), BadRange);
    QCOMPARE(item.ConditionText, std::string("6-8;2"));
    QCOMPARE(filters::FilterItemToText(item, m_list), "TSD1#" + code + ":30#LMV:6-8;2#SF:1");

    // An empty slot starts from the statistics view's choice.
    TFilterItem empty;
    onNextDialog<TFormFilter>([](TFormFilter* dialog) {
        okButton(*dialog)->click();
        if (dialog->isVisible()) dialog->reject();
    });
    QVERIFY(TFormFilter::EditFilterItem(empty, m_list, shell, m_entries[2].Method, 17));
    QCOMPARE(filters::FilterItemToText(empty, m_list),
             "TSD1#" + m_list.Method(m_entries[2].Method).MethodCode() + ":17#LNO:#SF:1");
}

QTEST_MAIN(FormFilterTest)
#include "formfilter_test.moc"

#include <set>
#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QToolButton>
#include <QHeaderView>
#include <QScreen>
#include <QtTest>
#include <functional>

#include "app/commandnames.h"
#include "app/formfilter.h"
#include "app/formmain.h"
#include "app/formscript.h"
#include "app/formsurvival.h"
#include "app/formtestcount.h"
#include "app/runrefresh.h"
#include "app/views/combsview.h"
#include "app/views/ratingsview.h"
#include "app/views/scenarioview.h"
#include "app/views/statsview.h"
#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/stats/statlist.h"
#include "core/scenario/scriptrunner.h"
#include "core/stakes/stakesfile.h"
#include "core/util/cp1251.h"
#include "core/workspace/formsettings.h"
#include "core/scenario/scenario.h"
#include "tests/app/apptest.h"
#include "tests/support/support.h"

using namespace kv;

class ScenarioViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void editorLoadsAndWritesLines_data();
    void editorLoadsAndWritesLines();
    void editorFilterButtons();
    void linesThroughTheCommands();
    void startReadsTheMirrorFile();
    void deletingAsksFirst();
    void saveOpenAndAppend();
    void ratingNamesBecomeLines();
    void busyDisablesEverything();
    void runsNeedLinesAndDraws();
    void columnWidthsKept();
    void forecastMakesNamedStakes();
    void testStoppedInItsSecondCycle();
    void closingDuringARunStopsItFirst();
    void runLogsAndTheirDeletion();
    void survivalWindowAfterATest();
    void holdoutReportAndPictures();
    void runRefreshWaitsForTheEnd();

private:
    stats::TStatList m_list;
};

namespace {

const char* const ScenarioCommands[] = {cmd::ScriptOpen, cmd::ScriptSave, cmd::ScriptLoad, cmd::ScriptAdd,  cmd::ScriptEmpty,
                                        cmd::ScriptClone, cmd::ScriptEdit, cmd::ScriptDel, cmd::ScriptClr, cmd::ScriptUp,
                                        cmd::ScriptDown, cmd::RatingsToScript};

// Types the file name, as the directory model fills in the background and a selection made
// before it has the file is lost.
void chooseFile(QFileDialog* dialog, const std::filesystem::path& path)
{
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(path.string()));
    static_cast<QDialog*>(dialog)->accept();
}

QPushButton* okButton(QDialog* dialog)
{
    return dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

// The mirror file as UTF-8 lines joined by "\n" (each CP1251 line must end in CR LF).
QString mirror(const test::TempDir& dir)
{
    const std::string bytes = test::ReadBytes(dir / "Kvanta_8x20.lss");
    return QString::fromStdString(util::Cp1251ToUtf8(bytes));
}

QString fileOf(const QStringList& lines)
{
    QString text;
    for (const QString& l : lines) text += l + QStringLiteral("\r\n");
    return text;
}

// The mirror file with these lines, for the start.
StartFiles mirrorOf(const QStringList& lines)
{
    return {{"Kvanta_8x20.lss", util::Utf8ToCp1251(fileOf(lines).toStdString())}};
}

QStringList rowTexts(const ScenarioView* view, int row)
{
    QStringList texts;
    const QAbstractItemModel* model = view->view()->model();
    for (int c = 0; c < model->columnCount(); ++c) texts << model->index(row, c).data().toString();
    return texts;
}

// Triggers a command the way the user does: its enabled state is current (the window updates
// it on a timer), and a disabled command does nothing.
void run(TFormMain& w, const char* name)
{
    w.updateActions();
    w.command(QString::fromLatin1(name))->trigger();
}

bool enabled(TFormMain& w, const char* name)
{
    w.updateActions();
    return w.command(QString::fromLatin1(name))->isEnabled();
}

const QString Step1 = QStringLiteral("EXCL:5#ALL#NEX|TSD1#NUMS:10,20#LMV:3#SF:1| |TSD1#SUMS:10#LNO:#SF:1| | | | |моя идея");

// The comments of the stakes file's records, separators as "-".
QStringList stakeComments(TFormMain& w)
{
    QStringList comments;
    auto& file = w.workspace().StakesFile();
    for (int i = 0; i < file.RecordCount(); ++i) {
        const stakes::TStakeRecord r = file.ReadStake(i);
        comments << (r.IsStake() ? QString::fromStdString(r.Comment) : QStringLiteral("-"));
    }
    return comments;
}

// A step whose two variants (windows of 10 and 20 draws) delete the rows of the drawn numbers
// one at a time and stake the first combination left.
const QString RunStep = QStringLiteral("FULL:0#FIRST|TSD1#NUMS:10,20#LMV:1#ST:3| | | | | | |идея");

// Repeats `act` at every pass of the event loop (a run processes events at each abort check).
QTimer* onEveryPass(std::function<void()> act)
{
    auto* timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, act);
    timer->start();
    return timer;
}

} // namespace

void ScenarioViewTest::initTestCase()
{
    m_list.BuildMethodList();
}

void ScenarioViewTest::editorLoadsAndWritesLines_data()
{
    QTest::addColumn<bool>("preload");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("excludeCount");
    QTest::addColumn<int>("startList");
    QTest::addColumn<int>("exclude");
    QTest::addColumn<int>("stakeMode");
    QTest::addColumn<bool>("clearStakes");
    QTest::addColumn<bool>("newOnly");
    QTest::addColumn<QString>("filter1");
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QString>("written");

    QTest::newRow("empty line, defaults") << false << QString() << 0 << 0 << 0 << 0 << false << false << QString() << QString()
                                          << QStringLiteral("FULL:0#RAND| | | | | | | |");
    QTest::newRow("empty line keeps the window's exclude count")
        << false << QString() << 7 << 0 << 7 << 0 << false << false << QString() << QString()
        << QStringLiteral("FULL:7#RAND| | | | | | | |");
    QTest::newRow("empty line after a loaded one clears everything")
        << true << QString() << 6 << 0 << 6 << 0 << false << false << QString() << QString()
        << QStringLiteral("FULL:6#RAND| | | | | | | |");
    QTest::newRow("lower-case header") << true << QStringLiteral("excl:3#all#nex|TSD1#NUMS:10#LNO:#SF:1| | | | | | |c") << 9
                                       << 1 << 3 << 3 << false << true << QStringLiteral("TSD1#NUMS:10#LNO:#SF:1")
                                       << QStringLiteral("c")
                                       << QStringLiteral("EXCL:3#ALL#NEX|TSD1#NUMS:10#LNO:#SF:1| | | | | | |c");
    QTest::newRow("unknown stake mode reads as the first")
        << true << QStringLiteral("CURR#FOO#CLR| | | | | | | |") << 4 << 2 << 0 << 0 << true << false << QString() << QString()
        << QStringLiteral("CURR:0#RAND#CLR| | | | | | | |");
    QTest::newRow("every flag and the last stake mode")
        << false << QStringLiteral("FULL:0#NONE#CLR#NEX|BMF8#SUMS:10, 20#WMV:5#SV:3#1.5:0.5:1:0:1| | | | | | |идея 2") << 0 << 0
        << 0 << 8 << true << true << QStringLiteral("BMF8#SUMS:10, 20#WMV:5#SV:3#1.5:0.5:1:0:1")
        << QStringLiteral("идея 2")
        << QStringLiteral("FULL:0#NONE#CLR#NEX|BMF8#SUMS:10, 20#WMV:5#SV:3#1.5:0.5:1:0:1| | | | | | |идея 2");
    // Runs of "|" are one separator: the comment moves left into the empty filter slots.
    QTest::newRow("collapsed separators") << true << QStringLiteral("FULL:0#RAND|TSD1#NUMS:10#LNO:#SF:1||||||||x") << 0 << 0
                                          << 0 << 0 << false << false << QStringLiteral("TSD1#NUMS:10#LNO:#SF:1")
                                          << QString() << QStringLiteral("FULL:0#RAND|TSD1#NUMS:10#LNO:#SF:1|x| | | | | |");
}

void ScenarioViewTest::editorLoadsAndWritesLines()
{
    QFETCH(bool, preload);
    QFETCH(QString, line);
    QFETCH(int, excludeCount);
    test::ScriptedShell shell;
    TFormScript dialog(m_list, shell, QStringLiteral("Создание новой строки"), excludeCount, 0, 100);
    // A loaded line replaces everything that an earlier one left.
    if (preload) dialog.loadLine("EXCL:9#LAST#CLR#NEX|TSD1#NUMS:5#LNO:#SF:1|TSD1#NUMS:6#LNO:#SF:1| | | | | |old");
    dialog.loadLine(line.toStdString());

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Элемент сценария"));
    QCOMPARE(dialog.titleLabel()->text(), QStringLiteral("Создание новой строки"));
    QTEST(dialog.startListEdit()->currentIndex(), "startList");
    QTEST(dialog.excludeEdit()->value(), "exclude");
    QTEST(dialog.stakeModeEdit()->currentIndex(), "stakeMode");
    QTEST(dialog.clearStakesCheck()->isChecked(), "clearStakes");
    QTEST(dialog.newOnlyCheck()->isChecked(), "newOnly");
    QTEST(dialog.filterEdit(0)->text(), "filter1");
    QTEST(dialog.commentEdit()->text(), "comment");
    for (int i = 1; i < 7; ++i)
        if (!line.contains(QStringLiteral("||||"))) QVERIFY(dialog.filterEdit(i)->text().isEmpty());
    QTEST(QString::fromStdString(dialog.line()), "written");
    // N is only editable for the start list that removes draws.
    QCOMPARE(dialog.excludeEdit()->isEnabled(), dialog.startListEdit()->currentIndex() == 1);
}

void ScenarioViewTest::editorFilterButtons()
{
    test::ScriptedShell shell;
    const int nums = m_list.FindMethod("NUMS");
    const int sums = m_list.FindMethod("SUMS");
    QVERIFY(nums >= 0 && sums >= 0);
    TFormScript dialog(m_list, shell, QStringLiteral("Редактирование строки"), 0, sums, 40);
    QCOMPARE(dialog.startListEdit()->count(), 3);
    QCOMPARE(dialog.startListEdit()->itemText(1), QStringLiteral("Удалить N последних тиражей (для прогнозов)"));
    QCOMPARE(dialog.stakeModeEdit()->count(), 9);
    QCOMPARE(dialog.stakeModeEdit()->itemText(8), QStringLiteral("Не делать ставок (для последовательного выполнения)"));
    QCOMPARE(dialog.filterButton(0)->text(), QStringLiteral("..."));
    dialog.loadLine("FULL:0#RAND| |TSD1#NUMS:10#LMV:2#SF:1| | | | | |");

    // An empty slot opens the filter dialog with the statistics view's choice; OK writes the
    // filter's text form.
    QString shownDraws;
    onNextDialog<TFormFilter>([&](TFormFilter* f) {
        shownDraws = f->drawsEdit()->text();
        f->drawsEdit()->setText(QStringLiteral("10-20;5"));
        f->conditionEdit()->setCurrentIndex(19);
        f->valuesEdit()->setText(QStringLiteral("5"));
        okButton(f)->click();
    });
    dialog.filterButton(0)->click();
    QCOMPARE(shownDraws, QStringLiteral("40"));
    QCOMPARE(dialog.filterEdit(0)->text(), QStringLiteral("TSD1#SUMS:10-20;5#WMV:5#SF:1"));

    // Cancel leaves the field as it was.
    onNextDialog<TFormFilter>([](TFormFilter* f) {
        f->drawsEdit()->setText(QStringLiteral("99"));
        f->reject();
    });
    dialog.filterButton(1)->click();
    QCOMPARE(dialog.filterEdit(1)->text(), QStringLiteral("TSD1#NUMS:10#LMV:2#SF:1"));
    // The slot's tooltip reads the filter out from its parsed fields.
    QVERIFY2(dialog.filterEdit(1)->toolTip().contains(QStringLiteral("\nТиражей: 10\nСортировка: по столбцу «Количество», сверху вниз")),
             qPrintable(dialog.filterEdit(1)->toolTip()));

    // A double click in the field opens the dialog loaded with the field's filter.
    bool shownNums = false;
    onNextDialog<TFormFilter>([&](TFormFilter* f) {
        shownNums = f->statEdit()->currentIndex() == f->statEdit()->findData(nums);
        shownDraws = f->drawsEdit()->text();
        f->directionEdit()->setCurrentIndex(1);
        okButton(f)->click();
    });
    QTest::mouseDClick(dialog.filterEdit(1), Qt::LeftButton);
    QCOMPARE(shownDraws, QStringLiteral("10"));
    QVERIFY(shownNums);
    QCOMPARE(dialog.filterEdit(1)->text(), QStringLiteral("BSD1#NUMS:10#LMV:2#SF:1"));

    // Free typing is kept as typed, and a "|" in the comment splits the field when read again.
    dialog.filterEdit(6)->setText(QStringLiteral(" tsd2#sums:7#lno:#sf:1 "));
    dialog.commentEdit()->setText(QStringLiteral("a|b"));
    const std::string line = dialog.line();
    QCOMPARE(QString::fromStdString(line),
             QStringLiteral("FULL:0#RAND|TSD1#SUMS:10-20;5#WMV:5#SF:1|BSD1#NUMS:10#LMV:2#SF:1| | | | | tsd2#sums:7#lno:#sf:1 |a|b"));
    dialog.loadLine(line);
    QCOMPARE(dialog.commentEdit()->text(), QStringLiteral("a"));
    QCOMPARE(dialog.filterEdit(6)->text(), QStringLiteral("tsd2#sums:7#lno:#sf:1"));
}

void ScenarioViewTest::linesThroughTheCommands()
{
    StartedWindow started(200);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    ScenarioView* view = viewOf<ScenarioView>(w);
    auto* tabs = qobject_cast<QTabWidget*>(viewOf<StatsView>(w)->parentWidget()->parentWidget());
    QVERIFY(tabs);
    QCOMPARE(tabs->tabText(tabs->indexOf(view)), QStringLiteral("Сценарий"));
    QCOMPARE(view->view()->model()->columnCount(), 9);
    QCOMPARE(view->view()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Комментарии"));
    QCOMPARE(view->view()->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Опции"));
    QCOMPARE(view->view()->model()->headerData(8, Qt::Horizontal).toString(), QStringLiteral("Фильтр 7"));
    QCOMPARE(view->statusPanel(0), QStringLiteral("Строк: 0"));

    // An empty scenario: only opening, appending and adding.
    for (const char* name : ScenarioCommands) {
        const QString n = QString::fromLatin1(name);
        const bool expected = n == cmd::ScriptOpen || n == cmd::ScriptLoad || n == cmd::ScriptAdd;
        QVERIFY2(enabled(w, name) == expected, name);
    }
    QCOMPARE(w.command(cmd::ScriptAdd)->text(), QStringLiteral("Добавить фильтры"));
    QCOMPARE(w.command(cmd::ScriptEmpty)->text(), QStringLiteral("Добавить разделитель"));
    QCOMPARE(w.command(cmd::ScriptDown)->text(), QStringLiteral("Переместить вниз"));

    // Add: the editor starts from the window's exclude count; its "..." opens the filter dialog.
    viewOf<CombsView>(w)->findChild<QSpinBox*>(QStringLiteral("DrawsExclude"))->setValue(4);
    const int nums = w.statList().FindMethod("NUMS");
    int shownExclude = -1;
    QString title;
    onNextDialog<TFormScript>([&](TFormScript* d) {
        title = d->titleLabel()->text();
        shownExclude = d->excludeEdit()->value();
        d->startListEdit()->setCurrentIndex(1);
        d->excludeEdit()->setValue(5);
        d->stakeModeEdit()->setCurrentIndex(3);
        d->newOnlyCheck()->setChecked(true);
        onNextDialog<TFormFilter>([nums](TFormFilter* f) {
            f->statEdit()->setCurrentIndex(f->statEdit()->findData(nums));
            f->drawsEdit()->setText(QStringLiteral("10,20"));
            f->conditionEdit()->setCurrentIndex(1);
            f->valuesEdit()->setText(QStringLiteral("3"));
            okButton(f)->click();
        });
        d->filterButton(0)->click();
        d->filterEdit(2)->setText(QStringLiteral("tsd1#sums:10#lno:#sf:1"));
        d->commentEdit()->setText(QStringLiteral("моя идея"));
        okButton(d)->click();
    });
    run(w, cmd::ScriptAdd);
    QCOMPARE(title, QStringLiteral("Создание новой строки"));
    QCOMPARE(shownExclude, 4);
    const QString typed = QStringLiteral("EXCL:5#ALL#NEX|TSD1#NUMS:10,20#LMV:3#SF:1| |tsd1#sums:10#lno:#sf:1| | | | |моя идея");
    QCOMPARE(mirror(dir), fileOf({typed}));
    QCOMPARE(view->view()->model()->rowCount(), 1);
    QCOMPARE(rowTexts(view, 0), QStringList({QStringLiteral("моя идея"),
                                             QStringLiteral("Исключить 5 тиражей; Все; Только новые ставки"),
                                             QStringLiteral("TSD1#NUMS:10,20#LMV:3#SF:1"), QString(),
                                             QStringLiteral("TSD1#SUMS:10#LNO:#SF:1"), QString(), QString(), QString(),
                                             QString()}));
    QCOMPARE(view->statusPanel(0), QStringLiteral("Строк: 1"));
    QCOMPARE(view->selectedRows(), std::vector<int>({0}));
    QVERIFY(enabled(w, cmd::ScriptEdit) && enabled(w, cmd::ScriptClone) && !enabled(w, cmd::ScriptUp) && !enabled(w, cmd::ScriptDown));

    // A separator: empty in every column; not editable or clonable, but deletable and movable.
    run(w, cmd::ScriptEmpty);
    QCOMPARE(mirror(dir), fileOf({typed, QString()}));
    QCOMPARE(rowTexts(view, 1), QStringList(9, QString()));
    QCOMPARE(view->selectedRows(), std::vector<int>({1}));
    QVERIFY(!enabled(w, cmd::ScriptEdit) && !enabled(w, cmd::ScriptClone));
    QVERIFY(enabled(w, cmd::ScriptDel) && enabled(w, cmd::ScriptUp) && !enabled(w, cmd::ScriptDown));

    // Clone: the editor comes loaded with the selected line, the copy goes to the end.
    view->selectLine(0);
    bool loaded = false;
    onNextDialog<TFormScript>([&](TFormScript* d) {
        loaded = d->startListEdit()->currentIndex() == 1 && d->excludeEdit()->value() == 5
                 && d->stakeModeEdit()->currentIndex() == 3 && d->newOnlyCheck()->isChecked()
                 && !d->clearStakesCheck()->isChecked() && d->commentEdit()->text() == QStringLiteral("моя идея")
                 && d->filterEdit(0)->text() == QStringLiteral("TSD1#NUMS:10,20#LMV:3#SF:1");
        title = d->titleLabel()->text();
        d->commentEdit()->setText(QStringLiteral("копия"));
        okButton(d)->click();
    });
    run(w, cmd::ScriptClone);
    QVERIFY(loaded);
    QCOMPARE(title, QStringLiteral("Создание новой строки"));
    const QString copy = QStringLiteral("EXCL:5#ALL#NEX|TSD1#NUMS:10,20#LMV:3#SF:1| |tsd1#sums:10#lno:#sf:1| | | | |копия");
    QCOMPARE(mirror(dir), fileOf({typed, QString(), copy}));
    QCOMPARE(view->selectedRows(), std::vector<int>({2}));

    // Edit cancelled: nothing changes. Edit confirmed: the line is replaced in place.
    onNextDialog<TFormScript>([&](TFormScript* d) {
        title = d->titleLabel()->text();
        d->stakeModeEdit()->setCurrentIndex(6);
        d->reject();
    });
    run(w, cmd::ScriptEdit);
    QCOMPARE(title, QStringLiteral("Редактирование строки"));
    QCOMPARE(mirror(dir), fileOf({typed, QString(), copy}));
    onNextDialog<TFormScript>([](TFormScript* d) {
        d->stakeModeEdit()->setCurrentIndex(6);
        d->clearStakesCheck()->setChecked(true);
        d->filterEdit(2)->clear();
        okButton(d)->click();
    });
    // A double click on the list edits the selected line.
    w.showTab(view);
    QApplication::processEvents();
    const QPoint cell = view->view()->visualRect(view->view()->model()->index(2, 0)).center();
    QTest::mouseClick(view->view()->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(view->view()->viewport(), Qt::LeftButton, {}, cell);
    const QString edited = QStringLiteral("EXCL:5#STOP#CLR#NEX|TSD1#NUMS:10,20#LMV:3#SF:1| | | | | | |копия");
    QCOMPARE(mirror(dir), fileOf({typed, QString(), edited}));
    QCOMPARE(rowTexts(view, 2).mid(0, 2),
             QStringList({QStringLiteral("копия"),
                          QStringLiteral("Исключить 5 тиражей; Остановить; Удалить ставки; Только новые ставки")}));

    // Moving: the moved line stays selected; the ends refuse.
    view->selectLine(2);
    run(w, cmd::ScriptUp);
    QCOMPARE(mirror(dir), fileOf({typed, edited, QString()}));
    QCOMPARE(view->selectedRows(), std::vector<int>({1}));
    run(w, cmd::ScriptUp);
    QCOMPARE(mirror(dir), fileOf({edited, typed, QString()}));
    QCOMPARE(view->selectedRows(), std::vector<int>({0}));
    QVERIFY(!enabled(w, cmd::ScriptUp));
    run(w, cmd::ScriptDown);
    QCOMPARE(mirror(dir), fileOf({typed, edited, QString()}));
    QCOMPARE(view->selectedRows(), std::vector<int>({1}));
    QCOMPARE(rowTexts(view, 1).value(0), QStringLiteral("копия"));

}

void ScenarioViewTest::startReadsTheMirrorFile()
{
    StartedWindow started(50, mirrorOf({QStringLiteral("FULL:0#RAND|TSD1#NUMS:10#LNO:#SF:1| | | | | | |старт"), QString()}));
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    QCOMPARE(viewOf<ScenarioView>(w)->view()->model()->rowCount(), 2);
    QCOMPARE(viewOf<ScenarioView>(w)->statusPanel(0), QStringLiteral("Строк: 2"));
    QCOMPARE(rowTexts(viewOf<ScenarioView>(w), 0).value(0), QStringLiteral("старт"));
    QCOMPARE(viewOf<ScenarioView>(w)->statusPanel(1), QStringLiteral("Цикл: 0"));
    QCOMPARE(viewOf<ScenarioView>(w)->statusPanel(3), QStringLiteral("Ставок: 0"));
}

void ScenarioViewTest::deletingAsksFirst()
{
    StartedWindow started(50, mirrorOf({"a|TSD1#NUMS:10#LNO:#SF:1|", "", "b|TSD1#NUMS:20#LNO:#SF:1|", "c|TSD1#NUMS:30#LNO:#SF:1|"}));
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    ScenarioView* view = viewOf<ScenarioView>(w);
    QCOMPARE(view->view()->model()->rowCount(), 4);

    view->view()->selectRow(0);
    view->view()->selectionModel()->select(view->view()->model()->index(2, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    {
        MessageBoxAnswerer no(QMessageBox::No);
        run(w, cmd::ScriptDel);
        QCOMPARE(no.texts, QStringList{QStringLiteral("Удалить все выделенные записи (всего будет удалено 2 записи(ей))?")});
        QCOMPARE(no.captions, QStringList{QStringLiteral("Предупреждение")});
    }
    QCOMPARE(view->view()->model()->rowCount(), 4);
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        run(w, cmd::ScriptDel);
        QCOMPARE(yes.texts.size(), 1);
    }
    QCOMPARE(mirror(dir), fileOf({QString(), QStringLiteral("c|TSD1#NUMS:30#LNO:#SF:1|")}));
    QVERIFY(view->selectedRows().empty());
    QCOMPARE(view->statusPanel(0), QStringLiteral("Строк: 2"));

    view->selectLine(1);
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        run(w, cmd::ScriptDel);
        QCOMPARE(yes.texts, QStringList{QStringLiteral("Удалить выделенную запись?")});
    }
    QCOMPARE(mirror(dir), fileOf({QString()}));

    run(w, cmd::ScriptEmpty);
    run(w, cmd::ScriptEmpty);
    {
        MessageBoxAnswerer no(QMessageBox::No);
        run(w, cmd::ScriptClr);
        QCOMPARE(no.texts, QStringList{QStringLiteral("Удалить все выделенные записи (всего будет удалено 3 записи(ей))?")});
    }
    QCOMPARE(view->view()->model()->rowCount(), 3);
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        run(w, cmd::ScriptClr);
    }
    QCOMPARE(view->view()->model()->rowCount(), 0);
    QCOMPARE(test::ReadBytes(dir / "Kvanta_8x20.lss"), std::string());
    QCOMPARE(view->statusPanel(0), QStringLiteral("Строк: 0"));
    QVERIFY(!enabled(w, cmd::ScriptClr) && !enabled(w, cmd::ScriptSave) && !enabled(w, cmd::ScriptDel));
}

void ScenarioViewTest::saveOpenAndAppend()
{
    StartedWindow started(50);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    ScenarioView* view = viewOf<ScenarioView>(w);
    auto& sc = w.workspace().Scenario();
    const QString step1 = QStringLiteral("FULL:0#FIRST|TSD1#NUMS:10#LMV:2#SF:1| | | | | | |первый");
    const QString step2 = QStringLiteral("CURR:0#NONE| |TSD1#SUMS:5#LNO:#SF:1| | | | | |");
    sc.AddLine(step1.toStdString(), w.shell());
    sc.AddLine("", w.shell());
    sc.AddLine(step2.toStdString(), w.shell());
    QCOMPARE(view->view()->model()->rowCount(), 3);

    // Save: the default extension is added; the file is CP1251 with CR LF.
    QString filter;
    onNextDialog<QFileDialog>([&](QFileDialog* d) {
        filter = d->nameFilters().join(';');
        chooseFile(d, dir / "мой");
    });
    run(w, cmd::ScriptSave);
    QCOMPARE(filter, QStringLiteral("Файлы сценариев (*.lsc)"));
    const std::filesystem::path saved = dir / "мой.lsc";
    QVERIFY(std::filesystem::exists(saved));
    QCOMPARE(test::ReadBytes(saved), util::Utf8ToCp1251(fileOf({step1, QString(), step2}).toStdString()));

    // A cancelled dialog changes nothing.
    onNextDialog<QFileDialog>([](QFileDialog* d) { d->reject(); });
    run(w, cmd::ScriptOpen);
    QCOMPARE(view->view()->model()->rowCount(), 3);

    // A line added since the save is asked about first; No keeps the scenario.
    sc.AddLine("", w.shell());
    const QStringList unsaved{QString::fromUtf8(scenario::TScenario::UnsavedQuestion)};
    {
        MessageBoxAnswerer no(QMessageBox::No);
        onNextDialog<QFileDialog>([&](QFileDialog* d) { chooseFile(d, saved); });
        run(w, cmd::ScriptOpen);
        QCOMPARE(no.texts, unsaved);
    }
    QCOMPARE(view->view()->model()->rowCount(), 4);

    // Open replaces the scenario (Yes to the question) and rewrites the mirror file.
    test::WriteBytes(dir / "other.lsc", util::Utf8ToCp1251("NONE|TSD1#FOO:10#LMV:3#SF:1\nFULL:0#LAST|TSD1#NUMS:7#LNO:#SF:1| | | | | | |второй"));
    onNextDialog<QFileDialog>([&](QFileDialog* d) {
        chooseFile(d, dir / "other.lsc");
    });
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        run(w, cmd::ScriptOpen);
        QCOMPARE(yes.texts, unsaved);
    }
    const QString other2 = QStringLiteral("FULL:0#LAST|TSD1#NUMS:7#LNO:#SF:1| | | | | | |второй");
    QCOMPARE(mirror(dir), fileOf({QStringLiteral("NONE|TSD1#FOO:10#LMV:3#SF:1"), other2}));
    QCOMPARE(view->statusPanel(0), QStringLiteral("Строк: 2"));
    // An unknown start list reads as the first one; the filter column shows the unknown text.
    QCOMPARE(rowTexts(view, 0).mid(0, 3), QStringList({QString(), QStringLiteral("Исходный список; Случайно; Все создаваемые ставки"),
                                                        QStringLiteral("TSD1#FOO:10#LMV:3#SF:1")}));

    // Appending after a step puts one separator between; the saved file round-trips.
    onNextDialog<QFileDialog>([&](QFileDialog* d) {
        chooseFile(d, saved);
    });
    run(w, cmd::ScriptLoad);
    QCOMPARE(mirror(dir), fileOf({QStringLiteral("NONE|TSD1#FOO:10#LMV:3#SF:1"), other2, QString(), step1, QString(), step2}));
    QCOMPARE(view->view()->model()->rowCount(), 6);
    QCOMPARE(rowTexts(view, 3).value(0), QStringLiteral("первый"));
}

void ScenarioViewTest::ratingNamesBecomeLines()
{
    StartedWindow started(50);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    ScenarioView* view = viewOf<ScenarioView>(w);
    QVERIFY(!enabled(w, cmd::RatingsToScript));
    std::vector<std::string> names = {"03.012: my idea @ EXCL:5#RAND + TSD1#NUMS:10#LMV:3#SF:1",
                                      "Ставка \"вручную\""};
    view->selectedRatingNames = [&names] { return names; };
    QVERIFY(enabled(w, cmd::RatingsToScript));
    QCOMPARE(w.command(cmd::RatingsToScript)->text(), QStringLiteral("Добавить в сценарий"));

    auto* tabs = qobject_cast<QTabWidget*>(view->parentWidget()->parentWidget());
    QVERIFY(tabs);
    tabs->setCurrentIndex(0);
    QVERIFY(tabs->currentWidget() != view);
    MessageBoxAnswerer answerer;
    run(w, cmd::RatingsToScript);
    QCOMPARE(answerer.texts,
             QStringList{QStringLiteral("Строку\n\nСтавка \"вручную\"\n\nневозможно добавить в сценарий!")});
    QCOMPARE(mirror(dir), fileOf({QStringLiteral("EXCL:5#RAND|TSD1#NUMS:10#LMV:3#SF:1| | | | | | |03.012: my idea")}));
    QCOMPARE(tabs->currentWidget(), static_cast<QWidget*>(view));

    // Nothing usable: no line, and the tab stays where it was.
    tabs->setCurrentIndex(0);
    QCOMPARE(view->ratingsToScript({"Ставка \"вручную\""}), 0);
    QVERIFY(tabs->currentWidget() != view);
    QCOMPARE(view->view()->model()->rowCount(), 1);
    names.clear();
    QVERIFY(!enabled(w, cmd::RatingsToScript));
}

void ScenarioViewTest::busyDisablesEverything()
{
    StartedWindow started(50, mirrorOf({"FULL:0#RAND|TSD1#NUMS:10#LNO:#SF:1|", "FULL:0#RAND|TSD1#NUMS:20#LNO:#SF:1|"}));
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    viewOf<ScenarioView>(w)->selectLine(0);
    viewOf<ScenarioView>(w)->selectedRatingNames = [] { return std::vector<std::string>{"x"}; };
    for (const char* name : ScenarioCommands)
        QVERIFY2(enabled(w, name) == (QByteArray(name) != cmd::ScriptUp), name);
    w.shell().MarkBusy();
    for (const char* name : ScenarioCommands) QVERIFY2(!enabled(w, name), name);
    w.shell().UnmarkBusy();
    QVERIFY(enabled(w, cmd::ScriptDown));
}

void ScenarioViewTest::runsNeedLinesAndDraws()
{
    struct Case {
        const char* name;
        int draws;
        bool lines;
        bool runs;
    };
    for (const Case c : {Case{"no draws", 0, true, false}, Case{"no lines", 30, false, false},
                         Case{"lines and draws", 30, true, true}}) {
        StartedWindow started(c.draws, c.lines ? mirrorOf({"FULL:0#RAND|TSD1#NUMS:10#LNO:#SF:1|"}) : StartFiles{});
        QVERIFY(started.ok);
        TFormMain& w = *started.window;
        QVERIFY2(enabled(w, cmd::ScriptRun) == c.runs, c.name);
        QVERIFY2(enabled(w, cmd::ScriptTest) == c.runs, c.name);
        QVERIFY2(!enabled(w, cmd::ScriptStop), c.name);
        QVERIFY2(enabled(w, cmd::LogToggle) && enabled(w, cmd::LogsDelete), c.name);
    }
}

void ScenarioViewTest::columnWidthsKept()
{
    test::TempDir dir;
    SeedArchive(dir, 30);
    workspace::FormSettings(dir / "Kvanta_8x20.frm").WriteInt("ScriptList.Column2", 321);
    {
        StartedWindow started(dir);
        QVERIFY(started.ok);
        QCOMPARE(viewOf<ScenarioView>(*started.window)->view()->columnWidth(2), 321);
        viewOf<ScenarioView>(*started.window)->view()->setColumnWidth(8, 147);
        started.window->close();
    }
    const workspace::FormSettings frm(dir / "Kvanta_8x20.frm");
    QCOMPARE(frm.ReadInt("ScriptList.Column8", 0), 147);
    QCOMPARE(frm.ReadInt("ScriptList.Column2", 0), 321);
}

void ScenarioViewTest::forecastMakesNamedStakes()
{
    StartedWindow started(120, mirrorOf({RunStep}));
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    ScenarioView* view = viewOf<ScenarioView>(w);
    QVERIFY(enabled(w, cmd::ScriptRun) && enabled(w, cmd::ScriptTest) && !enabled(w, cmd::ScriptStop));
    QCOMPARE(w.command(cmd::ScriptRun)->text(), QStringLiteral("Прогноз"));
    QCOMPARE(w.command(cmd::ScriptTest)->text(), QStringLiteral("Тест"));
    QCOMPARE(w.command(cmd::ScriptStop)->text(), QStringLiteral("Стоп"));

    // What the window shows while the run goes on, started from the scenario tab.
    w.showTab(view);
    bool seen = false, stopOn = false, othersOff = true, viewOff = false, tabsOff = false;
    QString cycle;
    QTimer* probe = onEveryPass([&] {
        // From the first line on: the shown tab's panel takes the run's first status at once and
        // then follows a few times a second, the line's selection at once.
        if (!view->runner().Running() || seen || view->selectedRows() != std::vector<int>{0}) return;
        seen = true;
        w.updateActions();
        stopOn = w.command(cmd::ScriptStop)->isEnabled();
        for (const char* name : ScenarioCommands) othersOff = othersOff && !w.command(QString::fromLatin1(name))->isEnabled();
        othersOff = othersOff && !w.command(cmd::ScriptRun)->isEnabled() && !w.command(cmd::LogToggle)->isEnabled();
        viewOff = !view->view()->isEnabled();
        tabsOff = !viewOf<StatsView>(w)->isEnabled() && !viewOf<CombsView>(w)->isEnabled() && !drawList(w)->isEnabled();
        cycle = view->statusPanel(1);
    });
    run(w, cmd::ScriptRun);
    delete probe;
    QVERIFY(seen);
    QVERIFY(stopOn);
    QVERIFY(othersOff);
    QVERIFY(viewOff);
    QVERIFY(tabsOff);
    QCOMPARE(cycle, QStringLiteral("Цикл: 1"));

    QCOMPARE(stakeComments(w), QStringList({QStringLiteral("01.001: идея @ FULL#FIRST + TSD1#NUMS:10#LMV:1#ST:3"),
                                            QStringLiteral("01.002: идея @ FULL#FIRST + TSD1#NUMS:20#LMV:1#ST:3")}));
    const stakes::TStakeRecord first = w.workspace().StakesFile().ReadStake(0);
    QCOMPARE(first.DrawNo, w.workspace().NextDrawNo());
    QCOMPARE(first.Origin, uint8_t(3));
    QCOMPARE(view->statusPanel(3), QStringLiteral("Ставок: 2"));
    QCOMPARE(view->statusPanel(4), QStringLiteral("Сценарий завершен!"));
    QVERIFY(view->view()->isEnabled() && viewOf<StatsView>(w)->isEnabled());
    QVERIFY(view->selectedRows().empty());
    QVERIFY(!w.shell().IsBusy());
    QVERIFY(enabled(w, cmd::ScriptRun) && !enabled(w, cmd::ScriptStop) && enabled(w, cmd::ScriptAdd));

    // The second forecast starts a new group: a separator, then the same two names.
    run(w, cmd::ScriptRun);
    QCOMPARE(stakeComments(w).size(), 5);
    QCOMPARE(stakeComments(w).value(2), QStringLiteral("-"));
}

void ScenarioViewTest::testStoppedInItsSecondCycle()
{
    StartedWindow started(120, mirrorOf({RunStep}));
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    ScenarioView* view = viewOf<ScenarioView>(w);

    // Cancelling the count dialog runs nothing.
    QString caption, label, hint, note;
    int shown = 0, maximum = 0;
    onNextDialog<TFormTestCount>([&](TFormTestCount* d) {
        caption = d->windowTitle();
        label = d->findChild<QLabel*>()->text();
        note = d->findChild<QLabel*>(QStringLiteral("TestNote"))->text();
        hint = d->countEdit()->toolTip();
        shown = d->countEdit()->value();
        maximum = d->countEdit()->maximum();
        d->reject();
    });
    run(w, cmd::ScriptTest);
    QCOMPARE(caption, QStringLiteral("Количество тестов"));
    QCOMPARE(label, QStringLiteral("Укажите количество тестов:"));
    QVERIFY(note.contains(QStringLiteral("\"Отменить\"")));
    QCOMPARE(hint, QStringLiteral("Укажите количество последних тиражей, на которых будет производится тестирование"));
    QCOMPARE(shown, 10);
    QCOMPARE(maximum, 119);
    QCOMPARE(w.workspace().StakesFile().RecordCount(), 0);

    // A whole test of 2: offsets 2 and 1, each pass its own group, the offset back at 0.
    onNextDialog<TFormTestCount>([](TFormTestCount* d) {
        d->countEdit()->setValue(2);
        okButton(d)->click();
    });
    run(w, cmd::ScriptTest);
    QCOMPARE(w.workspace().DrawsOffset(), 0);
    QStringList comments = stakeComments(w);
    QCOMPARE(comments.size(), 5);
    QCOMPARE(comments.value(2), QStringLiteral("-"));
    QCOMPARE(w.workspace().StakesFile().ReadStake(0).DrawNo, w.workspace().Draws()[118].DrawNo);
    QCOMPARE(w.workspace().StakesFile().ReadStake(3).DrawNo, w.workspace().Draws()[119].DrawNo);
    QCOMPARE(view->statusPanel(4), QStringLiteral("Сценарий завершен!"));

    // The stakes checked during the run are rated, and the rating tab shows them: one row per
    // variant name, each with the stakes of both cycles.
    const auto& rating = w.workspace().Ratings();
    QCOMPARE(rating.Count(), 2);
    std::set<std::string> names;
    for (const auto& r : rating.Items()) {
        names.insert(r.Name);
        QCOMPARE(r.StakeCount, 2);
    }
    QCOMPARE(names, (std::set<std::string>{stakeComments(w).value(0).toStdString(),
                                           stakeComments(w).value(1).toStdString()}));
    QCOMPARE(viewOf<RatingsView>(w)->model()->rowCount(), 2);
    // Their names become lines again through the rating tab's selection.
    QVERIFY(!enabled(w, cmd::RatingsToScript));
    viewOf<RatingsView>(w)->view()->selectAll();
    QVERIFY(enabled(w, cmd::RatingsToScript));

    // A test of 3 stopped once the second cycle has set its window: the offset stays there.
    onNextDialog<TFormTestCount>([](TFormTestCount* d) {
        d->countEdit()->setValue(3);
        okButton(d)->click();
    });
    MessageBoxAnswerer yes(QMessageBox::Yes);
    bool stopEnabledAfter = true;
    QTimer* stopper = onEveryPass([&] {
        if (!view->runner().Running() || view->runner().AbortFlag() || w.workspace().DrawsOffset() != 2) return;
        run(w, cmd::ScriptStop);
        stopEnabledAfter = w.command(cmd::ScriptStop)->isEnabled();
    });
    run(w, cmd::ScriptTest);
    delete stopper;
    QCOMPARE(yes.texts, QStringList{QStringLiteral("Остановить выполнение сценария?")});
    QVERIFY(!stopEnabledAfter);
    QCOMPARE(w.workspace().DrawsOffset(), 2);
    QCOMPARE(drawsOffset(w)->value(), 2);
    QVERIFY(!view->runner().Running() && !view->runner().AbortFlag());
    QCOMPARE(view->statusPanel(4), QStringLiteral("Сценарий завершен!"));
    QVERIFY(stakeComments(w).size() < 5 + 1 + 6);
    QVERIFY(enabled(w, cmd::ScriptTest));
}

void ScenarioViewTest::closingDuringARunStopsItFirst()
{
    StartedWindow started(120, mirrorOf({RunStep, RunStep}));
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    ScenarioView* view = viewOf<ScenarioView>(w);
    const auto runAndClose = [&] {
        bool asked = false;
        QTimer* closer = onEveryPass([&] {
            if (asked || !view->runner().Running()) return;
            asked = true;
            w.close();
        });
        run(w, cmd::ScriptRun);
        delete closer;
    };

    // "No": the run goes on to its end and the window stays.
    {
        MessageBoxAnswerer no(QMessageBox::No);
        runAndClose();
        QCOMPARE(no.texts, QStringList{QStringLiteral("Остановить выполнение сценария?")});
    }
    QCOMPARE(stakeComments(w).size(), 4);
    QApplication::processEvents();
    QVERIFY(w.isVisible());

    // "Yes": the run stops, then the window closes.
    MessageBoxAnswerer yes(QMessageBox::Yes);
    runAndClose();
    QCOMPARE(yes.texts, QStringList{QStringLiteral("Остановить выполнение сценария?")});
    QVERIFY(stakeComments(w).size() < 4 + 1 + 4);
    QTRY_VERIFY(!w.isVisible());
}

void ScenarioViewTest::runLogsAndTheirDeletion()
{
    StartedWindow started(120, mirrorOf({RunStep}));
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    ScenarioView* view = viewOf<ScenarioView>(w);
    QAction* toggle = w.command(cmd::LogToggle);
    QCOMPARE(toggle->text(), QStringLiteral("Журнал выполнения сценария"));
    QCOMPARE(w.command(cmd::LogsDelete)->text(), QStringLiteral("Удалить журналы выполнения сценариев"));
    QVERIFY(!toggle->isChecked());
    {
        MessageBoxAnswerer answerer;
        run(w, cmd::LogsDelete);
        QCOMPARE(answerer.texts, QStringList{QStringLiteral("Файлы журналов не найдены!")});
    }

    run(w, cmd::LogToggle);
    QVERIFY(toggle->isChecked());
    QVERIFY(workspace::FormSettings(dir / "Kvanta_8x20.frm").ReadBool("ScriptLogEnabled", false));
    std::filesystem::path shownLog;
    view->runner().Hooks.OpenLog = [&](const std::filesystem::path& file) { shownLog = file; };
    run(w, cmd::ScriptRun);
    QVERIFY(!shownLog.empty());
    QCOMPARE(shownLog.parent_path(), dir.path());
    QVERIFY(QString::fromStdString(shownLog.filename().string()).startsWith(QStringLiteral("ScriptLog_")));
    const QString log = QString::fromStdString(util::Cp1251ToUtf8(test::ReadBytes(shownLog)));
    QVERIFY(log.contains(QStringLiteral("]: ### ЗАПУСК СЦЕНАРИЯ ###")));
    QVERIFY(log.contains(QStringLiteral("Выполнение строки 001: \"") + RunStep + QStringLiteral("\"\r\n")));
    QVERIFY(log.trimmed().endsWith(QStringLiteral("### ЗАВЕРШЕНИЕ СЦЕНАРИЯ ######################################################################")));

    // Off again: the next run writes nothing.
    run(w, cmd::LogToggle);
    QVERIFY(!workspace::FormSettings(dir / "Kvanta_8x20.frm").ReadBool("ScriptLogEnabled", true));
    shownLog.clear();
    run(w, cmd::ScriptRun);
    QVERIFY(shownLog.empty());

    {
        MessageBoxAnswerer answerer;
        run(w, cmd::LogsDelete);
        QCOMPARE(answerer.texts.size(), 1);
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        QVERIFY(!QString::fromStdString(entry.path().filename().string()).startsWith(QStringLiteral("ScriptLog_")));
}

// A test opens "Эффективность фильтров" with one row per filter part; the window sorts, exports
// and comes back from the file through the scenario menu.
void ScenarioViewTest::survivalWindowAfterATest()
{
    StartedWindow started(120, mirrorOf({QStringLiteral("FULL:0#FIRST|TMD1#NUMS:10,20#LNO:#ST:2| | | | | | |идея")}));
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    QVERIFY(!enabled(w, cmd::ScriptSurvival));
    onNextDialog<TFormTestCount>([](TFormTestCount* d) {
        d->countEdit()->setValue(4);
        okButton(d)->click();
    });
    run(w, cmd::ScriptTest);
    const auto windows = [&w] { return w.findChildren<TFormSurvival*>(); };
    QTRY_COMPARE(windows().size(), 1);
    TFormSurvival* form = windows().first();
    QCOMPARE(form->windowTitle(), QStringLiteral("Эффективность фильтров"));
    QTableWidget* table = form->table();
    QCOMPARE(table->columnCount(), 8);
    QCOMPARE(table->horizontalHeaderItem(5)->text(), QStringLiteral("Лифт"));
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("4"));
    table->sortItems(0, Qt::DescendingOrder);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("TMD1#NUMS:20#LNO:#ST:2"));
    const std::filesystem::path csv = started.dir / "survival.csv";
    QVERIFY(form->exportCsv(QString::fromStdString(csv.string())));
    const std::string bytes = test::ReadBytes(csv);   // UTF-8, as the README says of CSV output
    QVERIFY2(bytes.rfind("\"Фильтр\";\"Тестов\";\"Выжил\";", 0) == 0, bytes.c_str());
    QCOMPARE(std::count(bytes.begin(), bytes.end(), '\n'), 3);
    // No column is cut: the last one ends inside the table.
    QHeaderView* header = table->horizontalHeader();
    QCOMPARE(table->horizontalHeaderItem(7)->text(), QStringLiteral("Верхняя граница\n95%, %"));
    // As wide as its columns need, as far as the screen allows (the test screen is narrow).
    const int screenRoom = form->screen()->availableGeometry().width() - 40;
    QTRY_VERIFY(header->length() <= table->viewport()->width() || form->width() == screenRoom);
    for (const QString& line : table->horizontalHeaderItem(7)->text().split(QLatin1Char('\n')))
        QVERIFY(header->sectionSize(7) >= header->fontMetrics().horizontalAdvance(line));
    form->close();
    QTRY_COMPARE(windows().size(), 0);

    QVERIFY(enabled(w, cmd::ScriptSurvival));
    run(w, cmd::ScriptSurvival);
    QTRY_COMPARE(windows().size(), 1);
    QCOMPARE(windows().first()->table()->rowCount(), 2);
    windows().first()->close();
}

// "Контрольные тиражи" in the test dialog: at most the count less one, 0 at first. The survival
// window then has the hold-out columns and its picture, the report names the hold-out, and the
// picture of a rating row marks where it begins.
void ScenarioViewTest::holdoutReportAndPictures()
{
    StartedWindow started(120, mirrorOf({QStringLiteral("FULL:0#FIRST|TMD1#NUMS:10,20#LNO:#ST:2| | | | | | |идея")}));
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    QVERIFY(!enabled(w, cmd::ScriptReport));
    int first = -1, maximum = -1;
    onNextDialog<TFormTestCount>([&](TFormTestCount* d) {
        first = d->holdoutEdit()->value();
        d->countEdit()->setValue(3);
        maximum = d->holdoutEdit()->maximum();
        d->countEdit()->setValue(6);
        d->holdoutEdit()->setValue(2);
        okButton(d)->click();
    });
    run(w, cmd::ScriptTest);
    QCOMPARE(first, 0);
    QCOMPARE(maximum, 2);
    const auto windows = [&w] { return w.findChildren<TFormSurvival*>(); };
    QTRY_COMPARE(windows().size(), 1);
    TFormSurvival* form = windows().first();
    QCOMPARE(form->table()->columnCount(), 15);
    QCOMPARE(form->table()->item(0, 1)->text(), QStringLiteral("4"));
    QCOMPARE(form->table()->item(0, 8)->text(), QStringLiteral("2"));
    QCOMPARE(form->tabs()->tabText(1), QStringLiteral("График"));
    QVERIFY(form->tabs()->widget(1)->inherits("QChartView"));
    form->close();

    QVERIFY(enabled(w, cmd::ScriptReport));
    const QString file = QString::fromStdString((started.dir / "report.html").string());
    QVERIFY(viewOf<ScenarioView>(w)->writeReport(file));
    const std::string html = test::ReadBytes(started.dir / "report.html");
    QVERIFY(html.find("из них контрольных, на которых сценарий не настраивался: 2") != std::string::npos);
    QVERIFY(html.find("01.002: идея @ FULL#FIRST + TMD1#NUMS:20#LNO:#ST:2") != std::string::npos);

    RatingsView* ratings = w.findChild<RatingsView*>();
    QVERIFY(ratings);
    ratings->view()->selectRow(0);
    QWidget* chart = ratings->ratingsLuckChart();
    QVERIFY(chart);
    QStringList names;
    for (QChartView* v : chart->findChildren<QChartView*>())
        for (QAbstractSeries* series : v->chart()->series()) names << series->name();
    QVERIFY2(names.contains(QStringLiteral("Контрольные тиражи")), qPrintable(names.join(QLatin1Char(','))));
    QVERIFY(names.contains(QStringLiteral("идея")));
    chart->close();

    // The halves of the test's rating: 4 tuning stakes and 2 hold-out stakes per variant.
    QVERIFY(enabled(w, cmd::RatingsTestHalves));
    QWidget* halves = ratings->ratingsTestHalves();
    QVERIFY(halves);
    QTabWidget* tabs = halves->findChild<QTabWidget*>();
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(1), QStringLiteral("Контрольные тиражи"));
    for (int t = 0; t < 2; ++t) {
        auto* view = qobject_cast<QTableView*>(tabs->widget(t));
        QCOMPARE(view->model()->rowCount(), 2);
        QCOMPARE(view->model()->index(0, 1).data().toString(), t == 0 ? QStringLiteral("4") : QStringLiteral("2"));
    }
    halves->close();
}

// During a run a view's refresh waits: a hidden view's until the end (the latest request of a
// key, in the order first asked), a shown one's at most once per interval; the window paints only
// on the interval's tick. Outside a run everything is done at once.
void ScenarioViewTest::runRefreshWaitsForTheEnd()
{
    QWidget window;
    QWidget* shown = new QWidget(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    RunRefresh refresh(&window);
    QStringList done;
    const auto log = [&done](QString what) { return [&done, what] { done << what; }; };
    const int a = 0, b = 0, c = 0;

    refresh.request(&a, nullptr, log("idle"));
    QCOMPARE(done, QStringList{"idle"});

    refresh.setRunning(true);
    QVERIFY(!window.updatesEnabled());
    refresh.request(&a, nullptr, log("a1"));
    refresh.request(&b, nullptr, log("b"));
    refresh.request(&a, nullptr, log("a2"));
    refresh.request(&c, shown, log("c1"));   // shown: at once
    refresh.request(&c, shown, log("c2"));   // within the interval: waits for the tick
    QCOMPARE(done, (QStringList{"idle", "c1"}));
    QVERIFY(refresh.isDue(&a) && refresh.isDue(&c));
    QTRY_COMPARE_WITH_TIMEOUT(done, (QStringList{"idle", "c1", "c2"}), 5 * RunRefresh::IntervalMs);
    QVERIFY(!window.updatesEnabled());
    refresh.setRunning(false);
    QCOMPARE(done, (QStringList{"idle", "c1", "c2", "a2", "b"}));
    QVERIFY(window.updatesEnabled() && !refresh.isDue(&a));
}

QTEST_MAIN(ScenarioViewTest)
#include "scenarioview_test.moc"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>
#include <algorithm>

#include "app/commandnames.h"
#include "app/formchart.h"
#include "app/formmain.h"
#include "app/qtshell.h"
#include "app/views/ratingsview.h"
#include "app/views/stakesview.h"
#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/stakes/ratings.h"
#include "core/stakes/stakerecord.h"
#include "core/util/cp1251.h"
#include "core/util/ini.h"
#include "tests/app/apptest.h"
#include "tests/support/support.h"

using namespace kv;

class RatingsViewTest : public QObject {
    Q_OBJECT

private slots:
    void rowsAfterTheCheckPass();
    void headerClickSorts();
    void effModeSwitchChangesTexts();
    void exportWritesTheFile();
    void overlapChartOfSelectedRows();
    void startUpOrderAndModeFromSettings();
    void refreshAfterTheStakesAreGone();
    void stakeCommandsFollowTheRating();
    void luckColumnsOnRequest();
    void emptyPrizeTableLeavesProfitUntested();
};

namespace {

// The prizes and unchecked stakes on the 30 seeded draws: "Test"/"TEST" (8 and 4 hits), "Альфа"
// (4), "Идея Б" (0 and 3), and one for a draw that has not come yet.
StartFiles stakesToCheck()
{
    const game::TDrawsArray draws = archive::SyntheticDraws(30, 77, 1);
    stakes::TStakeRecord later = StakeWithHits(draws, 30, 2, "Потом");
    later.DrawNo = 31;
    return {HitPrizes, StakesFile({StakeWithHits(draws, 10, 8, "Test"), StakeWithHits(draws, 11, 4, "TEST"),
                                StakeWithHits(draws, 12, 0, "Идея Б"), StakeWithHits(draws, 13, 3, "Идея Б"),
                                StakeWithHits(draws, 14, 4, "Альфа"), later})};
}

QStringList rowTexts(const QAbstractItemModel* model, int row, int first = 0, int last = stakes::RatingColumnCount - 1)
{
    QStringList texts;
    for (int c = first; c <= last; ++c) texts << model->index(row, c).data().toString();
    return texts;
}

QStringList names(const QAbstractItemModel* model)
{
    QStringList list;
    for (int r = 0; r < model->rowCount(); ++r) list << model->index(r, 0).data().toString();
    return list;
}

// The row of the rating named `name` (-1: none).
int rowOf(const QAbstractItemModel* model, const QString& name)
{
    return static_cast<int>(names(model).indexOf(name));
}

QStringList namesInFile(const test::TempDir& dir)
{
    QStringList list;
    for (const auto& row : stakes::ParseRatingsFile(test::ReadBytes(dir / stakes::TRatings::FileName)).Rows)
        list << qs(row.Name);
    return list;
}

// Types the whole path into the dialog's name field, as a user may. selectFile() leaves the
// field alone while it has the focus, which made the dialog's answer depend on focus timing.
void typeFileName(QFileDialog* dialog, const std::filesystem::path& path)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QVERIFY(edit);
    edit->setText(qs(path.string()));
}

void clickHeader(QTableView* view, int column)
{
    QHeaderView* header = view->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// The window with the rating tab in front and the stakes above checked by the check pass.
struct CheckedWindow : StartedWindow {
    CheckedWindow() : StartedWindow(30, stakesToCheck())
    {
        if (!ok) return;
        rightTabs(*window)->setCurrentWidget(viewOf<RatingsView>(*window));
        // Header clicks need the tab laid out.
        QTRY_VERIFY_WITH_TIMEOUT(view()->isVisible() && view()->horizontalHeader()->height() > 0, 20000);
        viewOf<StakesView>(*window)->hooks().Check();
    }
    QTableView* view() const { return viewOf<RatingsView>(*window)->view(); }
    const QAbstractItemModel* model() const { return view()->model(); }
};

} // namespace

void RatingsViewTest::rowsAfterTheCheckPass()
{
    StartedWindow started(30, stakesToCheck());
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    QCOMPARE(rightTabs(w)->tabText(rightTabs(w)->indexOf(viewOf<RatingsView>(w))), QStringLiteral("Рейтинг"));
    const QAbstractItemModel* model = viewOf<RatingsView>(w)->view()->model();
    QCOMPARE(model->rowCount(), 0);
    QCOMPARE(w.statusText(5), QStringLiteral("Рейтинг: 0"));
    w.updateActions();
    QVERIFY(w.command(cmd::RatingsRefresh)->isEnabled());
    QVERIFY2(!w.command(cmd::RatingsExport)->isEnabled(), "nothing to export yet");

    w.updateActions();
    w.command(cmd::StakesCheckManual)->trigger();
    QCOMPARE(w.statusText(5), QStringLiteral("Рейтинг: 3"));
    QStringList captions;
    for (int c = 0; c < model->columnCount(); ++c) captions << model->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(captions, QStringList({"Комментарий", "Ставок", "Совпало", "Среднее", "Профит", "Ср. профит", "0", "1", "2",
                                    "3", "4", "5", "6", "7", "8", "E0", "E1", "E2", "E3", "E4", "E5", "E6", "E7", "E8",
                                    "p (совпадения)", "q (совпадения)", "p (профит)", "q (профит)"}));
    // Sorted by the mean hits, best first; Test and TEST share the row of the first of them.
    QCOMPARE(rowTexts(model, 0, 0, 14), QStringList({"Test", "2", "12", "6.000", "1030.00", "515.00", "0", "0", "0", "0",
                                                     "1", "0", "0", "0", "1"}));
    QCOMPARE(rowTexts(model, 1, 0, 14), QStringList({"Альфа", "1", "4", "4.000", "40.00", "40.00", "0", "0", "0", "0", "1",
                                                     "0", "0", "0", "0"}));
    QCOMPARE(rowTexts(model, 2, 0, 14), QStringList({"Идея Б", "2", "3", "1.500", "-20.00", "-10.00", "1", "0", "0", "1",
                                                     "0", "0", "0", "0", "0"}));
    // Mode 1 (the default): percentage points above chance.
    QCOMPARE(model->index(0, 15).data().toString(), QStringLiteral("-0.393%"));
    QCOMPARE(model->index(0, 19).data().toString(), QStringLiteral("22.493%"));
    QCOMPARE(model->index(0, 23).data().toString(), QStringLiteral("49.999%"));
    // The check pass saved the sorted rating; the stake of the draw to come was not rated.
    QCOMPARE(namesInFile(dir), QStringList({"Test", "Альфа", "Идея Б"}));
    w.updateActions();
    QVERIFY(w.command(cmd::RatingsExport)->isEnabled());
    QVERIFY2(!w.command(cmd::RatingsGraphOverlap)->isEnabled(), "no row selected");
    viewOf<RatingsView>(w)->view()->selectRow(1);
    w.updateActions();
    QVERIFY(w.command(cmd::RatingsGraphOverlap)->isEnabled());
    QCOMPARE(viewOf<RatingsView>(w)->selectedNames(), std::vector<std::string>{"Альфа"});
}

void RatingsViewTest::headerClickSorts()
{
    CheckedWindow cw;
    QVERIFY(cw.ok);
    // Column "0" (no hits): its first click puts the most on top.
    clickHeader(cw.view(), 6);
    QCOMPARE(names(cw.model()).first(), QStringLiteral("Идея Б"));
    QCOMPARE(namesInFile(cw.dir).first(), QStringLiteral("Идея Б"));
    clickHeader(cw.view(), 6);
    QCOMPARE(names(cw.model()).last(), QStringLiteral("Идея Б"));

    // The selection follows its row.
    cw.view()->selectRow(rowOf(cw.model(), QStringLiteral("Альфа")));
    clickHeader(cw.view(), 0);
    QCOMPARE(names(cw.model()), QStringList({"Test", "Альфа", "Идея Б"}));
    QCOMPARE(viewOf<RatingsView>(*cw.window)->selectedRows(), std::vector<int>{1});
    clickHeader(cw.view(), 0);
    QCOMPARE(names(cw.model()), QStringList({"Идея Б", "Альфа", "Test"}));
    QCOMPARE(namesInFile(cw.dir), QStringList({"Идея Б", "Альфа", "Test"}));
    QCOMPARE(viewOf<RatingsView>(*cw.window)->selectedNames(), std::vector<std::string>{"Альфа"});
    QCOMPARE(cw.view()->horizontalHeader()->sortIndicatorSection(), 0);
    QCOMPARE(cw.view()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

    // "Профит", descending first; the order goes to the settings file at shutdown.
    clickHeader(cw.view(), 4);
    QCOMPARE(names(cw.model()), QStringList({"Test", "Альфа", "Идея Б"}));
    const auto frm = cw.dir / "Kvanta_8x20.frm";
    cw.window.reset();
    const util::IniFile ini = util::IniFile::Load(frm);
    QCOMPARE(qs(ini.ReadString("TFormMain", "RatingsList.SortType", "")), QStringLiteral("4,1"));
    QVERIFY(ini.ReadInteger("TFormMain", "RatingsList.Column0", 0) > 0);
}

void RatingsViewTest::effModeSwitchChangesTexts()
{
    CheckedWindow cw;
    QVERIFY(cw.ok);
    struct Case {
        const char* command;
        int mode;
        QString e3, e4, e8;
    };
    const Case cases[] = {
        {cmd::RatingsEffMode0, 0, "1", "1", "0"},
        {cmd::RatingsEffMode2, 2, "0.000%", "181.775%", "6298500.000%"},
        {cmd::RatingsEffMode1, 1, "-35.208%", "22.493%", "49.999%"},
    };
    for (const Case& c : cases) {
        cw.window->command(c.command)->trigger();
        QVERIFY(cw.window->command(c.command)->isChecked());
        for (const char* other : {cmd::RatingsEffMode0, cmd::RatingsEffMode1, cmd::RatingsEffMode2})
            if (QString::fromLatin1(other) != QString::fromLatin1(c.command)) QVERIFY(!cw.window->command(other)->isChecked());
        QCOMPARE(cw.model()->index(0, 18).data().toString(), c.e3);
        QCOMPARE(cw.model()->index(0, 19).data().toString(), c.e4);
        QCOMPARE(cw.model()->index(0, 23).data().toString(), c.e8);
        QCOMPARE(savedSettings(*cw.window).ReadInt("RatingsEffMode", -1), c.mode);
        // The header of an efficiency column names the mode its numbers follow.
        QVERIFY(cw.model()->headerData(18, Qt::Horizontal, Qt::ToolTipRole).toString().startsWith(
            QStringLiteral("Эффективность для совпадений 3: ") +
            QString::fromUtf8(stakes::RatingEffModeCaption(c.mode)).toLower()));
    }
    // The eff modes sit in their own submenu of the "Рейтинг" menu.
    auto* menu = cw.window->findChild<QMenu*>(cmd::menu::RatingsEff);
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("Эффективность (столбцы E0..n)"));
    QCOMPARE(menu->actions().size(), qsizetype(3));
    QCOMPARE(menu->actions().at(0)->text(), QStringLiteral("Ожидаемые значения совпадений"));
}

void RatingsViewTest::exportWritesTheFile()
{
    CheckedWindow cw;
    QVERIFY(cw.ok);
    const auto file = cw.dir / "rating.csv";
    QString title;
    onNextDialog<QFileDialog>([&](QFileDialog* d) {
        title = d->windowTitle();
        typeFileName(d, file);
        static_cast<QDialog*>(d)->accept();
    });
    cw.window->updateActions();
    cw.window->command(cmd::RatingsExport)->trigger();
    QCOMPARE(title, QStringLiteral("Экспорт рейтинга в CSV-файл"));
    const std::string expected = util::Utf8ToCp1251(
        "\"Комментарий\";\"Ставок\";\"Совпало\";\"Среднее\";\"Профит\";\"Ср. профит\";\"0\";\"1\";\"2\";\"3\";\"4\";"
        "\"5\";\"6\";\"7\";\"8\";\"E0\";\"E1\";\"E2\";\"E3\";\"E4\";\"E5\";\"E6\";\"E7\";\"E8\"\r\n"
        "\"Test\";2;12;6.000;1030.00;515.00;0;0;0;0;1;0;0;0;1\r\n"
        "\"Альфа\";1;4;4.000;40.00;40.00;0;0;0;0;1;0;0;0;0\r\n"
        "\"Идея Б\";2;3;1.500;-20.00;-10.00;1;0;0;1;0;0;0;0;0\r\n");
    QCOMPARE(test::ReadBytes(file), expected);

    // Cancelling the dialog writes nothing.
    const auto other = cw.dir / "other.csv";
    onNextDialog<QFileDialog>([&other](QFileDialog* d) {
        typeFileName(d, other);
        d->reject();
    });
    cw.window->command(cmd::RatingsExport)->trigger();
    QVERIFY(!std::filesystem::exists(other));
}

void RatingsViewTest::overlapChartOfSelectedRows()
{
    CheckedWindow cw;
    QVERIFY(cw.ok);
    QItemSelection selection;
    for (int row : {0, 2}) selection.select(cw.model()->index(row, 0), cw.model()->index(row, cw.model()->columnCount() - 1));
    cw.view()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    TFormChart* chart = viewOf<RatingsView>(*cw.window)->ratingsGraphOverlap();
    QVERIFY(chart);
    QVERIFY(chart->isModal());
    QCOMPARE(chart->windowTitle(), QStringLiteral("График количества совпадений для выделенных строк рейтинга"));
    QCOMPARE(chart->chartView()->chart()->title(), QStringLiteral("График количества совпадений для выделенных строк рейтинга"));
    const auto series = chart->chartView()->chart()->series();
    QCOMPARE(series.size(), qsizetype(3));
    QStringList titles;
    for (auto* s : series) titles << s->name();
    QCOMPARE(titles, QStringList({"Нормальные значения", "Test", "Идея Б"}));
    auto* normal = static_cast<QLineSeries*>(series.at(0));
    QCOMPARE(normal->color(), QColor(0x80, 0x80, 0x80));
    QCOMPARE(normal->count(), 9);
    // Chance scaled to the largest stake count among the rows (2): 2 x 34650 / 125970.
    QCOMPARE(normal->at(4), QPointF(4, 2.0 * 34650 / 125970));
    auto* test = static_cast<QLineSeries*>(series.at(1));
    QCOMPARE(test->at(8), QPointF(8, 1));
    QCOMPARE(test->at(3), QPointF(3, 0));
    QVERIFY(test->pointsVisible());
    QVERIFY(!test->pointLabelsVisible());
    QCOMPARE(test->pen().width(), 2);
    QVERIFY(chart->marksBox()->isChecked());
    const QPointer<TFormChart> first(chart);
    chart->close();
    QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), 20000);

    // A double click on the list opens the same chart for the selection.
    cw.view()->selectRow(1);
    const QRect cell = cw.view()->visualRect(cw.model()->index(1, 0));
    QSignalSpy spy(cw.view(), &QTableView::doubleClicked);
    QTest::mouseClick(cw.view()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(cw.view()->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(spy.count(), 1);
    TFormChart* second = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((second = cw.window->findChild<TFormChart*>(QStringLiteral("RatingsGraphOverlapChart"))) != nullptr, 20000);
    QCOMPARE(second->chartView()->chart()->series().size(), qsizetype(2));
    QCOMPARE(second->chartView()->chart()->series().at(1)->name(), QStringLiteral("Альфа"));
    second->close();
}

void RatingsViewTest::startUpOrderAndModeFromSettings()
{
    stakes::TRatingsArray rows(3);
    const char* namesInOrder[] = {"три", "один", "два"};
    const int counts[] = {3, 1, 2};
    for (int i = 0; i < 3; ++i) {
        rows[i].Name = namesInOrder[i];
        rows[i].StakeCount = counts[i];
        rows[i].Hits[2] = counts[i];
        rows[i].HitSum = 2 * counts[i];
    }
    StartedWindow started(5, {{stakes::TRatings::FileName, stakes::RatingsFileBytes(rows)},
                              {"Kvanta_8x20.frm", "[TFormMain]\r\nRatingsList.SortType=1,0\r\nRatingsEffMode=0\r\n"
                                                  "RatingsList.Column0=300\r\n"}});
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    const QAbstractItemModel* model = viewOf<RatingsView>(w)->view()->model();
    QCOMPARE(names(model), QStringList({"один", "два", "три"}));
    QCOMPARE(namesInFile(dir), QStringList({"один", "два", "три"}));
    QCOMPARE(w.statusText(5), QStringLiteral("Рейтинг: 3"));
    QVERIFY(w.command(cmd::RatingsEffMode0)->isChecked());
    QCOMPARE(model->index(2, 17).data().toString(), QStringLiteral("1"));   // round(3 x 0.2054)
    QCOMPARE(viewOf<RatingsView>(w)->view()->columnWidth(0), 300);
    QCOMPARE(viewOf<RatingsView>(w)->view()->horizontalHeader()->sortIndicatorSection(), 1);
    QCOMPARE(viewOf<RatingsView>(w)->view()->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
}

void RatingsViewTest::refreshAfterTheStakesAreGone()
{
    CheckedWindow cw;
    QVERIFY(cw.ok);
    {
        MessageBoxAnswerer no(QMessageBox::No);
        cw.window->command(cmd::RatingsRefresh)->trigger();
        QCOMPARE(no.texts, QStringList({"Пересчитать рейтинг только по текущим ставкам?\n\nНакопленные ранее данные по "
                                        "удаленным ставкам будут потеряны."}));
    }
    QCOMPARE(cw.model()->rowCount(), 3);
    {
        // Rebuilt from the same checked stakes, the rating is what it was.
        MessageBoxAnswerer yes(QMessageBox::Yes);
        cw.window->command(cmd::RatingsRefresh)->trigger();
        QCOMPARE(yes.texts.size(), qsizetype(1));
    }
    QCOMPARE(names(cw.model()), QStringList({"Test", "Альфа", "Идея Б"}));
    QCOMPARE(rowTexts(cw.model(), 0, 1, 5), QStringList({"2", "12", "6.000", "1030.00", "515.00"}));
    cw.window->workspace().StakesFile().Truncate();
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        cw.window->command(cmd::RatingsRefresh)->trigger();
    }
    QCOMPARE(cw.model()->rowCount(), 0);
    QCOMPARE(cw.window->statusText(5), QStringLiteral("Рейтинг: 0"));
    QCOMPARE(std::filesystem::file_size(cw.dir / stakes::TRatings::FileName), std::uintmax_t(0));
}

void RatingsViewTest::stakeCommandsFollowTheRating()
{
    CheckedWindow cw;
    QVERIFY(cw.ok);
    cw.window->updateActions();
    QVERIFY2(!cw.window->command(cmd::StakesGraphOverlap)->isEnabled(), "no rating row selected");
    cw.view()->selectRow(0);
    cw.window->updateActions();
    QVERIFY(cw.window->command(cmd::StakesGraphOverlap)->isEnabled());
    QVERIFY(cw.window->command(cmd::StakesGraphProfits)->isEnabled());

    // "Удалить все ставки" ends with the rating rebuilt from the emptied file.
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        cw.window->command(cmd::StakeClear)->trigger();
        QCOMPARE(yes.texts.size(), qsizetype(2));
        QVERIFY(yes.texts.at(1).startsWith(QStringLiteral("Пересчитать рейтинг только по текущим ставкам?")));
    }
    QCOMPARE(cw.model()->rowCount(), 0);
    QCOMPARE(cw.window->statusText(5), QStringLiteral("Рейтинг: 0"));
    QCOMPARE(std::filesystem::file_size(cw.dir / stakes::TRatings::FileName), std::uintmax_t(0));
}

// The p and q columns stay empty until asked; the rows asked for keep their values through a
// sort; q corrects p for the rows tested together, and the sentence under the table counts them.
void RatingsViewTest::luckColumnsOnRequest()
{
    CheckedWindow cw;
    QVERIFY(cw.ok);
    TFormMain& w = *cw.window;
    QVERIFY(cw.model()->index(0, 24).data().toString().isEmpty());
    QVERIFY(!cw.model()->headerData(24, Qt::Horizontal, Qt::ToolTipRole).toString().isEmpty());
    QVERIFY(!cw.model()->headerData(25, Qt::Horizontal, Qt::ToolTipRole).toString().isEmpty());
    QCOMPARE(cw.model()->headerData(27, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("q (профит)"));
    RatingsView* ratings = w.findChild<RatingsView*>();
    QVERIFY(ratings && ratings->chanceLabel()->isHidden());
    // "Test": 12 hits and an 8 of 8 on two draws; "Идея Б": 3 hits on two draws, when 6.4 are usual.
    cw.view()->selectRow(0);
    cw.view()->selectionModel()->select(cw.model()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w.updateActions();
    w.command(cmd::RatingsLuckTest)->trigger();
    // 12 of 16 hits is rare (about 6 in 10000 random pairs of draws), an 8 of 8 rarer still.
    QVERIFY2(cw.model()->index(0, 24).data().toString().toDouble() < 0.002, qPrintable(cw.model()->index(0, 24).data().toString()));
    QCOMPARE(cw.model()->index(0, 26).data().toString(), QStringLiteral("< 0.0001"));
    const double p = cw.model()->index(2, 24).data().toString().toDouble();
    QVERIFY2(p > 0.97 && p < 1, qPrintable(cw.model()->index(2, 24).data().toString()));
    // Two rows: the better one's q is twice its p (as (k + 1) / (R + 1)), the other's its p.
    const double p0 = cw.model()->index(0, 24).data().toString().toDouble();
    const double q0 = cw.model()->index(0, 25).data().toString().toDouble();
    QVERIFY2(q0 > p0 && q0 < 2 * p0 + 0.0003, qPrintable(QStringLiteral("%1 %2").arg(p0).arg(q0)));
    QVERIFY(cw.model()->index(2, 25).data().toString().toDouble() >= p);
    QVERIFY(cw.model()->index(1, 24).data().toString().isEmpty());
    QVERIFY(cw.model()->index(1, 25).data().toString().isEmpty());
    QVERIFY(!ratings->chanceLabel()->isHidden());
    QVERIFY2(ratings->chanceLabel()->text().startsWith(QStringLiteral("Из 2 проверенных строк около 0")),
             qPrintable(ratings->chanceLabel()->text()));
    QVERIFY(ratings->chanceLabel()->text().endsWith(QStringLiteral("у вас p < 0.05 у 1, а после поправки на число строк (q < 0.05) - у 1."))
            || ratings->chanceLabel()->text().endsWith(QStringLiteral("у вас p < 0,05 у 1, а после поправки на число строк (q < 0,05) - у 1.")));
    QVERIFY(!w.shell().ProgressIsOpen());
    clickHeader(cw.view(), 1);
    QCOMPARE(names(cw.model()).indexOf(QStringLiteral("Альфа")) >= 0, true);
    const int test = rowOf(cw.model(), QStringLiteral("Test"));
    QCOMPARE(cw.model()->index(test, 26).data().toString(), QStringLiteral("< 0.0001"));

    // Nothing selected: every row is tested, q over all of them.
    cw.view()->clearSelection();
    w.updateActions();
    QVERIFY(w.command(cmd::RatingsLuckTest)->isEnabled());
    w.command(cmd::RatingsLuckTest)->trigger();
    for (int r = 0; r < cw.model()->rowCount(); ++r) QVERIFY(!cw.model()->index(r, 25).data().toString().isEmpty());
    QVERIFY2(ratings->chanceLabel()->text().startsWith(QStringLiteral("Из %1 проверенных строк").arg(cw.model()->rowCount())),
             qPrintable(ratings->chanceLabel()->text()));
}

void RatingsViewTest::emptyPrizeTableLeavesProfitUntested()
{
    // The same stakes without the prize table (and without a stake cost): every profit is 0.
    StartedWindow started(30, StartFiles{stakesToCheck().back()});
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    rightTabs(w)->setCurrentWidget(viewOf<RatingsView>(w));
    viewOf<StakesView>(w)->hooks().Check();
    const QAbstractItemModel* model = viewOf<RatingsView>(w)->view()->model();
    QVERIFY(model->rowCount() > 0);
    const QString hint = QString::fromUtf8(RatingsModel::PrizesEmptyHint);
    for (const int column : {4, 5, RatingsModel::LuckColumn + 2, RatingsModel::LuckColumn + 3})
        QCOMPARE(model->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString(), hint);
    QVERIFY(model->headerData(3, Qt::Horizontal, Qt::ToolTipRole).toString() != hint);
    const int test = rowOf(model, QStringLiteral("Test"));
    QCOMPARE(model->index(test, 4).data().toString(), QStringLiteral("0.00"));   // the values stay
    viewOf<RatingsView>(w)->view()->selectRow(test);
    w.updateActions();
    w.command(cmd::RatingsLuckTest)->trigger();
    QVERIFY(model->index(test, RatingsModel::LuckColumn).data().toString().toDouble() < 0.002);
    for (const int column : {RatingsModel::LuckColumn + 2, RatingsModel::LuckColumn + 3}) {
        QCOMPARE(model->index(test, column).data().toString(), QStringLiteral("-"));
        QCOMPARE(model->index(test, column).data(Qt::ToolTipRole).toString(), hint);
    }
}

QTEST_MAIN(RatingsViewTest)
#include "ratingsview_test.moc"

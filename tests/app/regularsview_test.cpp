#include <QAction>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>
#include <algorithm>

#include "app/commandnames.h"
#include "app/formmain.h"
#include "app/formregular.h"
#include "app/formstake.h"
#include "app/formtestcount.h"
#include "app/qtshell.h"
#include "app/views/combsview.h"
#include "app/views/ratingsview.h"
#include "app/views/regularsview.h"
#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/stakes/regulars.h"
#include "core/stakes/stakerecord.h"
#include "core/game/numbers.h"
#include "core/util/ini.h"
#include "tests/app/apptest.h"
#include "tests/support/support.h"

using namespace kv;

class RegularsViewTest : public QObject {
    Q_OBJECT

private slots:
    void addThroughTheDialog();
    void addOnePerSelectedCombination();
    void deleteSelected();
    void stakeTestOverTheLastDraws();
    void stakeAddThroughTheStakeDialog();
    void hidingAndShowingTheTab();
    void hiddenAtStartUp();
};

namespace {

constexpr int DrawCount = 30;

QStringList rowTexts(const QAbstractItemModel* model, int row)
{
    QStringList texts;
    for (int c = 0; c < model->columnCount(); ++c) texts << model->index(row, c).data().toString();
    return texts;
}

stakes::TRegularsArray regularsInFile(const test::TempDir& dir)
{
    return stakes::ParseTablesFile(test::ReadBytes(dir / stakes::TRegulars::FileName)).Rows;
}

std::vector<stakes::TStakeRecord> stakesInFile(TFormMain& w)
{
    std::vector<stakes::TStakeRecord> records;
    auto& file = w.workspace().StakesFile();
    for (int i = 0; i < file.RecordCount(); ++i) records.push_back(file.ReadStake(i));
    return records;
}

game::TComb sorted(game::TComb comb)
{
    game::SortComb(comb);
    return comb;
}

QString joined(const game::TComb& comb)
{
    QStringList parts;
    for (uint8_t n : comb) parts << QString::number(n);
    return parts.join(';');
}

void selectRows(QTableView* view, std::initializer_list<int> rows)
{
    QItemSelection selection;
    for (int row : rows)
        selection.select(view->model()->index(row, 0), view->model()->index(row, view->model()->columnCount() - 1));
    view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

struct Window : StartedWindow {
    explicit Window(const StartFiles& files = {}) : StartedWindow(DrawCount, files) {}
    QTableView* view() const { return viewOf<RegularsView>(*window)->view(); }
    const QAbstractItemModel* model() const { return view()->model(); }
    void trigger(const char* name) const
    {
        window->updateActions();
        QVERIFY2(window->command(name)->isEnabled(), name);
        window->command(name)->trigger();
    }
    // One regular from the first combination of the list, through the dialog.
    void addRegular(const QString& name, const QString& numbers, int step, bool useDraw = false) const
    {
        viewOf<CombsView>(*window)->view()->selectRow(0);
        onNextDialog<TFormRegular>([=](TFormRegular* d) {
            d->nameEdit()->setText(name);
            (useDraw ? d->drawChoice() : d->startChoice())->setChecked(true);
            d->numbersEdit()->setText(numbers);
            d->stepEdit()->setValue(step);
            d->accept();
        });
        trigger(cmd::TablesAdd);
    }
};

} // namespace

void RegularsViewTest::addThroughTheDialog()
{
    Window win;
    QVERIFY(win.ok);
    QTabWidget* tabs = rightTabs(*win.window);
    QCOMPARE(tabs->tabText(tabs->indexOf(viewOf<RegularsView>(*win.window))), QStringLiteral("Регуляры"));
    QVERIFY(tabs->isTabVisible(tabs->indexOf(viewOf<RegularsView>(*win.window))));
    QCOMPARE(win.window->command(cmd::TabTables)->text(), QStringLiteral("Вкладка \"Регуляры\""));
    QVERIFY(win.window->command(cmd::TabTables)->isChecked());
    QStringList captions;
    for (int c = 0; c < win.model()->columnCount(); ++c) captions << win.model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(captions, QStringList({"Комментарий", "Стартовая комбинация", "Шаг", "Текущая комбинация", "Ставок"}));

    const QString first = joined(win.window->workspace().Combs()[0]);
    viewOf<CombsView>(*win.window)->view()->selectRow(0);
    MessageBoxAnswerer answers;
    QStringList shown;
    bool numbersEnabled = false, enabledUnderDraw = true;
    onNextDialog<TFormRegular>([&](TFormRegular* d) {
        shown << d->windowTitle() << d->nameEdit()->text() << d->numbersEdit()->text()
              << QString::number(d->stepEdit()->value());
        QVERIFY(d->startChoice()->isChecked());
        numbersEnabled = d->numbersEdit()->isEnabled();
        d->drawChoice()->setChecked(true);
        enabledUnderDraw = d->numbersEdit()->isEnabled();
        d->startChoice()->setChecked(true);
        QCOMPARE(d->nameEdit()->maxLength(), 64);
        QCOMPARE(d->stepEdit()->minimum(), -20);
        QCOMPARE(d->stepEdit()->maximum(), 20);
        // Each refusal keeps the dialog open.
        d->numbersEdit()->setText(QStringLiteral("1;2;3;4;5;6;7;21"));
        d->accept();
        QVERIFY(d->isVisible());
        d->numbersEdit()->setText(QStringLiteral("8, 7;6;5;4;3;2;1"));
        d->nameEdit()->clear();
        d->accept();
        QVERIFY(d->isVisible());
        d->nameEdit()->setText(QStringLiteral("Шаг три"));
        d->stepEdit()->setValue(3);
        d->accept();
    });
    win.trigger(cmd::TablesAdd);
    QCOMPARE(shown, QStringList({"Добавление регулярной ставки", "Регулярная ставка", first, "1"}));
    QVERIFY(numbersEnabled);
    QVERIFY(!enabledUnderDraw);
    QCOMPARE(answers.texts, QStringList({stakes::BadStakeText, "Необходимо ввести комментарий!"}));
    QCOMPARE(answers.captions, QStringList({"Ошибка", "Ошибка"}));

    QCOMPARE(win.model()->rowCount(), 1);
    QCOMPARE(rowTexts(win.model(), 0), QStringList({"Шаг три", "1;2;3;4;5;6;7;8", "3", "1;2;3;4;5;6;7;8", "0"}));
    QCOMPARE(std::filesystem::file_size(win.dir / stakes::TRegulars::FileName), std::uintmax_t(284));
    const stakes::TRegularsArray stored = regularsInFile(win.dir);
    QCOMPARE(stored.size(), std::size_t(1));
    QCOMPARE(stored[0], win.window->workspace().Regulars()[0]);
    QCOMPARE(stored[0].Step, 3);
    QCOMPARE(stored[0].UseDraw, uint8_t(0));

    // The same name in another case is refused; the newest draw as base needs no numbers.
    onNextDialog<TFormRegular>([&](TFormRegular* d) {
        d->nameEdit()->setText(QStringLiteral("ШАГ ТРИ"));
        d->accept();
        QVERIFY(d->isVisible());
        d->nameEdit()->setText(QStringLiteral("По тиражу"));
        d->drawChoice()->setChecked(true);
        d->numbersEdit()->setText(QStringLiteral("мусор"));
        d->stepEdit()->setValue(0);
        d->accept();
    });
    win.trigger(cmd::TablesAdd);
    QCOMPARE(answers.texts.last(),
             QStringLiteral("Запись с таким комментарией уже присутствует в списке!\nВыберите другой комментарий."));
    QCOMPARE(win.model()->rowCount(), 2);
    QCOMPARE(win.window->workspace().Regulars()[1].UseDraw, uint8_t(1));
    QCOMPARE(regularsInFile(win.dir).size(), std::size_t(2));

    // Cancelling adds nothing.
    onNextDialog<TFormRegular>([](TFormRegular* d) { d->reject(); });
    win.trigger(cmd::TablesAdd);
    QCOMPARE(win.model()->rowCount(), 2);
}

void RegularsViewTest::addOnePerSelectedCombination()
{
    Window win;
    QVERIFY(win.ok);
    selectRows(viewOf<CombsView>(*win.window)->view(), {3, 8, 11});
    const auto& combs = win.window->workspace().Combs();
    bool numbersEnabled = true;
    QString numbersText;
    onNextDialog<TFormRegular>([&](TFormRegular* d) {
        numbersEnabled = d->numbersEdit()->isEnabled();
        numbersText = d->numbersEdit()->text();
        d->nameEdit()->setText(QStringLiteral("Test"));
        d->stepEdit()->setValue(-2);
        d->accept();
    });
    win.trigger(cmd::TablesAdd);
    QVERIFY(!numbersEnabled);
    QCOMPARE(numbersText, QStringLiteral("{...Выделенные комбинации...}"));
    QCOMPARE(win.model()->rowCount(), 3);
    const int positions[] = {4, 9, 12};
    for (int i = 0; i < 3; ++i)
        QCOMPARE(rowTexts(win.model(), i), QStringList({QStringLiteral("Test (%1)").arg(positions[i]), joined(combs[positions[i] - 1]),
                                                        "-2", joined(combs[positions[i] - 1]), "0"}));
    QCOMPARE(regularsInFile(win.dir).size(), std::size_t(3));

    // With nothing selected the constant start is refused and the dialog stays open.
    viewOf<CombsView>(*win.window)->view()->clearSelection();
    MessageBoxAnswerer answers(QMessageBox::Ok);
    bool stayedOpen = false;
    onNextDialog<TFormRegular>([&](TFormRegular* d) {
        d->nameEdit()->setText(QStringLiteral("Пусто"));
        d->accept();
        stayedOpen = d->isVisible();
        d->reject();
    });
    win.trigger(cmd::TablesAdd);
    QVERIFY(stayedOpen);
    QCOMPARE(answers.texts, QStringList({QString::fromUtf8(stakes::NoStartCombText)}));
    QCOMPARE(win.model()->rowCount(), 3);
}

void RegularsViewTest::deleteSelected()
{
    Window win;
    QVERIFY(win.ok);
    for (const char* name : {"А", "Б", "В"}) win.addRegular(QString::fromUtf8(name), QStringLiteral("1;2;3;4;5;6;7;8"), 1);
    QCOMPARE(win.model()->rowCount(), 3);
    win.window->updateActions();
    QVERIFY2(!win.window->command(cmd::TablesDel)->isEnabled(), "nothing selected");
    selectRows(win.view(), {0, 2});
    {
        MessageBoxAnswerer no(QMessageBox::No);
        win.trigger(cmd::TablesDel);
        QCOMPARE(no.texts, QStringList({"Удалить все выделенные записи (всего будет удалено 2 записи(ей))?"}));
        QCOMPARE(no.captions, QStringList({"Предупреждение"}));
    }
    QCOMPARE(win.model()->rowCount(), 3);
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        win.trigger(cmd::TablesDel);
    }
    QCOMPARE(win.model()->rowCount(), 1);
    QCOMPARE(win.model()->index(0, 0).data().toString(), QStringLiteral("Б"));
    QVERIFY(viewOf<RegularsView>(*win.window)->selectedRows().empty());
    QCOMPARE(regularsInFile(win.dir).size(), std::size_t(1));
    win.view()->selectRow(0);
    {
        MessageBoxAnswerer yes(QMessageBox::Yes);
        win.trigger(cmd::TablesDel);
        QCOMPARE(yes.texts, QStringList({"Удалить выделенную запись?"}));
    }
    QCOMPARE(win.model()->rowCount(), 0);
    QCOMPARE(std::filesystem::file_size(win.dir / stakes::TRegulars::FileName), std::uintmax_t(0));
}

void RegularsViewTest::stakeTestOverTheLastDraws()
{
    Window win;
    QVERIFY(win.ok);
    win.addRegular(QStringLiteral("Шаг три"), QStringLiteral("1;2;3;4;5;6;7;8"), 3);
    win.addRegular(QStringLiteral("Тираж"), QStringLiteral("1;2;3;4;5;6;7;8"), 0, true);
    drawsOffset(*win.window)->setValue(2);
    win.window->updateActions();
    QVERIFY2(!win.window->command(cmd::TablesStakeTest)->isEnabled(), "nothing selected");
    win.view()->selectRow(0);

    // Cancelled: nothing happens.
    onNextDialog<TFormTestCount>([](TFormTestCount* d) { d->reject(); });
    win.trigger(cmd::TablesStakeTest);
    QCOMPARE(win.window->workspace().StakesFile().RecordCount(), 0);

    int minimum = 0, maximum = 0, initial = 0;
    QString title;
    onNextDialog<TFormTestCount>([&](TFormTestCount* d) {
        title = d->windowTitle();
        minimum = d->countEdit()->minimum();
        maximum = d->countEdit()->maximum();
        initial = d->countEdit()->value();
        d->countEdit()->setValue(5);
        d->accept();
    });
    win.trigger(cmd::TablesStakeTest);
    QCOMPARE(title, QStringLiteral("Количество тестов"));
    QCOMPARE(minimum, 1);
    QCOMPARE(maximum, DrawCount - 1);
    QCOMPARE(initial, 10);

    // Five stakes for the draws after the windows at offsets 5..1, each checked at once.
    const std::vector<stakes::TStakeRecord> stakes = stakesInFile(*win.window);
    QCOMPARE(stakes.size(), std::size_t(5));
    const char* expected[] = {"4;5;6;7;8;9;10;11", "7;8;9;10;11;12;13;14", "10;11;12;13;14;15;16;17",
                              "13;14;15;16;17;18;19;20", "1;2;3;16;17;18;19;20"};
    int hitSum = 0;
    for (int i = 0; i < 5; ++i) {
        const stakes::TStakeRecord& s = stakes[static_cast<std::size_t>(i)];
        QCOMPARE(s.Origin, uint8_t(stakes::OriginRegular));
        QCOMPARE(s.DrawNo, DrawCount - 4 + i);
        QCOMPARE(qs(s.Comment), QStringLiteral("Шаг три"));
        QCOMPARE(joined(s.Stake.Nums), QString::fromLatin1(expected[i]));
        QCOMPARE(s.Checked, uint8_t(1));
        const game::TComb& drawn = win.draws[static_cast<std::size_t>(s.DrawNo - 1)].Nums;
        int hits = 0;
        for (uint8_t n : s.Stake.Nums) hits += std::count(drawn.begin(), drawn.end(), n) > 0 ? 1 : 0;
        QCOMPARE(s.Matched.Count, hits);
        hitSum += hits;
    }
    QCOMPARE(rowTexts(win.model(), 0), QStringList({"Шаг три", "1;2;3;4;5;6;7;8", "3", "1;2;3;16;17;18;19;20", "5"}));
    QCOMPARE(regularsInFile(win.dir)[0].Count, 5);
    QCOMPARE(regularsInFile(win.dir)[1].Count, 0);
    // The window is back where it was, the stakes are rated and counted.
    QCOMPARE(win.window->workspace().DrawsOffset(), 2);
    QCOMPARE(drawsOffset(*win.window)->value(), 2);
    QCOMPARE(win.window->statusText(4), QStringLiteral("Ставок: 5"));
    const QAbstractItemModel* rating = viewOf<RatingsView>(*win.window)->view()->model();
    QCOMPARE(rating->rowCount(), 1);
    QCOMPARE(rating->index(0, 0).data().toString(), QStringLiteral("Шаг три"));
    QCOMPARE(rating->index(0, 1).data().toString(), QStringLiteral("5"));
    QCOMPARE(rating->index(0, 2).data().toString(), QString::number(hitSum));
    QVERIFY(viewOf<RegularsView>(*win.window)->selectedRows() == std::vector<int>{0});

    // The draw as base with step 0 stakes the newest draw of each window.
    selectRows(win.view(), {1});
    onNextDialog<TFormTestCount>([](TFormTestCount* d) {
        d->countEdit()->setValue(2);
        d->accept();
    });
    win.trigger(cmd::TablesStakeTest);
    const std::vector<stakes::TStakeRecord> all = stakesInFile(*win.window);
    QCOMPARE(all.size(), std::size_t(7));
    QCOMPARE(all[5].DrawNo, DrawCount - 1);
    QCOMPARE(joined(all[5].Stake.Nums), joined(sorted(win.draws[DrawCount - 3].Nums)));
    QCOMPARE(joined(all[6].Stake.Nums), joined(sorted(win.draws[DrawCount - 2].Nums)));
}

void RegularsViewTest::stakeAddThroughTheStakeDialog()
{
    Window win;
    QVERIFY(win.ok);
    win.addRegular(QStringLiteral("Шаг три"), QStringLiteral("1;2;3;4;5;6;7;8"), 3);
    win.window->updateActions();
    QVERIFY2(!win.window->command(cmd::TablesStakeAdd)->isEnabled(), "no regular selected");
    win.view()->selectRow(0);

    QStringList offered;
    onNextDialog<TFormStake>([&](TFormStake* d) {
        offered << d->windowTitle() << QString::number(d->drawNoEdit()->value()) << d->numbersEdit()->text()
                << d->commentEdit()->text() << QString::number(d->drawsCountEdit()->value());
        d->reject();
    });
    win.trigger(cmd::TablesStakeAdd);
    QCOMPARE(offered, QStringList({"Добавление ставки", QString::number(DrawCount + 1), "4;5;6;7;8;9;10;11", "Шаг три", "1"}));
    // Cancelled: the regular did not move and nothing was staked.
    QCOMPARE(rowTexts(win.model(), 0).mid(3), QStringList({"1;2;3;4;5;6;7;8", "0"}));
    QCOMPARE(win.window->workspace().StakesFile().RecordCount(), 0);

    onNextDialog<TFormStake>([](TFormStake* d) { d->accept(); });
    win.trigger(cmd::TablesStakeAdd);
    QCOMPARE(rowTexts(win.model(), 0).mid(3), QStringList({"4;5;6;7;8;9;10;11", "1"}));
    QCOMPARE(regularsInFile(win.dir)[0].Count, 1);
    const std::vector<stakes::TStakeRecord> stakes = stakesInFile(*win.window);
    QCOMPARE(stakes.size(), std::size_t(1));
    QCOMPARE(stakes[0].DrawNo, DrawCount + 1);
    QCOMPARE(stakes[0].Checked, uint8_t(0));
    QCOMPARE(stakes[0].Origin, uint8_t(stakes::OriginRegular));
    QCOMPARE(qs(stakes[0].Comment), QStringLiteral("Шаг три"));
    QCOMPARE(win.window->statusText(4), QStringLiteral("Ставок: 1"));
}

void RegularsViewTest::hidingAndShowingTheTab()
{
    Window win;
    QVERIFY(win.ok);
    win.addRegular(QStringLiteral("Первый"), QStringLiteral("1;2;3;4;5;6;7;8"), 1);
    QTabWidget* tabs = rightTabs(*win.window);
    const int index = tabs->indexOf(viewOf<RegularsView>(*win.window));

    win.trigger(cmd::TabTables);
    QVERIFY(!tabs->isTabVisible(index));
    QVERIFY(!win.window->command(cmd::TabTables)->isChecked());
    QCOMPARE(savedSettings(*win.window).ReadBool("TabTables", true), false);
    QCOMPARE(win.model()->rowCount(), 0);
    win.window->updateActions();
    for (const char* name : {cmd::TablesAdd, cmd::TablesDel, cmd::TablesStakeAdd, cmd::TablesStakeTest})
        QVERIFY2(!win.window->command(name)->isEnabled(), name);
    QVERIFY(win.window->command(cmd::TabTables)->isEnabled());

    // Shown again, the tab reads the file as it is now.
    stakes::TRegularsArray rows = regularsInFile(win.dir);
    rows.push_back(rows[0]);
    rows[1].Name = "Второй";
    test::WriteBytes(win.dir / stakes::TRegulars::FileName, stakes::RegularsFileBytes(rows));
    win.trigger(cmd::TabTables);
    QVERIFY(tabs->isTabVisible(index));
    QCOMPARE(tabs->currentIndex(), index);
    QVERIFY(win.window->command(cmd::TabTables)->isChecked());
    QCOMPARE(savedSettings(*win.window).ReadBool("TabTables", false), true);
    QCOMPARE(win.model()->rowCount(), 2);
    QCOMPARE(win.model()->index(1, 0).data().toString(), QStringLiteral("Второй"));
}

void RegularsViewTest::hiddenAtStartUp()
{
    Window win(StartFiles{{"Kvanta_8x20.frm", "[TFormMain]\r\nTabTables=0\r\nTablesList.Column0=333\r\n"}});
    QVERIFY(win.ok);
    QTabWidget* tabs = rightTabs(*win.window);
    QVERIFY(!tabs->isTabVisible(tabs->indexOf(viewOf<RegularsView>(*win.window))));
    QVERIFY(!win.window->command(cmd::TabTables)->isChecked());
    QCOMPARE(win.view()->columnWidth(0), 333);
    win.window->updateActions();
    QVERIFY(!win.window->command(cmd::TablesAdd)->isEnabled());
    // The column widths go back to the settings file at shutdown.
    const auto frm = win.dir / "Kvanta_8x20.frm";
    win.window.reset();
    const util::IniFile ini = util::IniFile::Load(frm);
    QCOMPARE(ini.ReadInteger("TFormMain", "TablesList.Column0", 0), 333);
    QCOMPARE(ini.ReadInteger("TFormMain", "TabTables", 1), 0);
}

QTEST_MAIN(RegularsViewTest)
#include "regularsview_test.moc"

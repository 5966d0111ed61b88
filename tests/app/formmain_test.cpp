#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>
#include <sstream>
#include <string>
#include <vector>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/formdraw.h"
#include "app/formmain.h"
#include "app/views/statsview.h"
#include "app/qtshell.h"
#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/game/game.h"
#include "core/util/ini.h"
#include "tests/app/apptest.h"
#include "tests/support/support.h"

using namespace kv;

class FormMainTest : public QObject {
    Q_OBJECT

private slots:
    void startsAndListsTheArchive();
    void offsetRowAndStatusTexts();
    void secondInstanceIsRefused();
    void sortedDrawsChangesOnlyTheDisplay();
    void shutdownWritesWindowState();
    void drawDialogValidation();
    void qtTextsInRussian();
    void everyMenuEntryIsACommand();
    void commandSetRulesAndMissingNames();
};

void FormMainTest::startsAndListsTheArchive()
{
    StartedWindow started(10, 101);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    QCOMPARE(drawList(w)->model()->rowCount(), 10);
    QCOMPARE(drawList(w)->model()->index(0, 0).data().toString(), QStringLiteral("110"));
    QCOMPARE(drawList(w)->model()->index(9, 0).data().toString(), QStringLiteral("101"));
    QCOMPARE(w.statusText(0), QStringLiteral("Архив тиражей: 10"));
    QCOMPARE(w.statusText(1), QStringLiteral("Следующий тираж: 111"));
    QCOMPARE(w.statusText(2), QString());
    QVERIFY(w.windowTitle().contains(QStringLiteral(" версия ")));
    QCOMPARE(drawsOffset(w)->maximum(), 9);
    // A first start sizes the left panel so that every column of the list shows whole.
    QCOMPARE(drawList(w)->horizontalScrollBar()->maximum(), 0);
    w.updateActions();
    QVERIFY(w.command(cmd::DrawsExport)->isEnabled());
    QVERIFY2(!w.command(cmd::DrawsEdit)->isEnabled(), "no row selected");
    drawList(w)->selectRow(1);
    w.updateActions();
    QVERIFY(w.command(cmd::DrawsEdit)->isEnabled());
    QVERIFY(w.command(cmd::DrawsDel)->isEnabled());
    w.shell().MarkBusy();
    w.updateActions();
    QVERIFY(!w.command(cmd::DrawsAdd)->isEnabled());
    w.shell().UnmarkBusy();
}

void FormMainTest::offsetRowAndStatusTexts()
{
    StartedWindow started(10, 101);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    drawsOffset(w)->setValue(2);
    QCOMPARE(w.workspace().DrawsOffset(), 2);
    QCOMPARE(w.statusText(1), QStringLiteral("Следующий тираж: 109"));
    game::TComb hidden = w.workspace().DrawAtRow(1).Nums;
    std::sort(hidden.begin(), hidden.end());
    QCOMPARE(w.statusText(2), qs(game::CombToText(hidden)));
    QCOMPARE(drawList(w)->model()->index(1, 0).data().toString(), QStringLiteral("109"));
    const auto* model = drawList(w)->model();
    QCOMPARE(model->index(2, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(0xFF, 0xAA, 0xAA));
    QCOMPARE(model->index(2, 11).data(Qt::BackgroundRole).value<QColor>(), QColor(0xFF, 0xAA, 0xAA));
    QCOMPARE(model->index(3, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    // Number cells carry their channel colour (channel width 4 by default).
    const int n = model->index(3, 1).data().toInt();
    const uint32_t rgb = game::ChannelColor(n, 4);
    QCOMPARE(model->index(3, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(QRgb(rgb)));
}

void FormMainTest::secondInstanceIsRefused()
{
    StartedWindow started(10, 101);
    QVERIFY(started.ok);
    TFormMain& first = *started.window;
    const test::TempDir& dir = started.dir;
    const std::string frmBefore = std::filesystem::exists(dir / "Kvanta_8x20.frm") ? test::ReadBytes(dir / "Kvanta_8x20.frm") : "";

    MessageBoxAnswerer answerer;
    {
        TFormMain second(dir.path(), {});
        QSignalSpy ended(&second, &TFormMain::programEnded);
        second.show();
        QTRY_VERIFY(second.hasEnded());
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).toInt(), 1);
        QVERIFY(!second.isInitialised());
    }
    QCOMPARE(answerer.texts.size(), 1);
    QCOMPARE(answerer.captions.at(0), QStringLiteral("Ошибка"));
    QVERIFY(answerer.texts.at(0).startsWith(QStringLiteral("Невозможно получить монопольный доступ к файлам данных!")));
    QVERIFY(answerer.texts.at(0).endsWith(QStringLiteral("Программа будет закрыта!")));

    QVERIFY(first.workspace().StakesFile().IsOpen());
    QCOMPARE(first.workspace().DrawCount(), 10);
    const std::string frmAfter = std::filesystem::exists(dir / "Kvanta_8x20.frm") ? test::ReadBytes(dir / "Kvanta_8x20.frm") : "";
    QCOMPARE(frmAfter, frmBefore);
}

void FormMainTest::sortedDrawsChangesOnlyTheDisplay()
{
    StartedWindow started(10, 101);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const test::TempDir& dir = started.dir;
    const game::TDraw& newest = w.workspace().DrawAtRow(0);
    QCOMPARE(drawList(w)->model()->index(0, 1).data().toInt(), int(newest.Nums[0]));
    w.command(cmd::DrawsSorted)->trigger();
    QVERIFY(w.command(cmd::DrawsSorted)->isChecked());
    const int smallest = *std::min_element(newest.Nums.begin(), newest.Nums.end());
    QCOMPARE(drawList(w)->model()->index(0, 1).data().toInt(), smallest);
    QVERIFY(util::IniFile::Load(dir / "Kvanta_8x20.frm").ReadBool("TFormMain", "SortedDraws", false));
    QCOMPARE(test::ReadBytes(dir / archive::ArchiveFileName), archive::ArchiveBytes(started.draws));
}

void FormMainTest::shutdownWritesWindowState()
{
    StartedWindow started(10, 101);
    QVERIFY(started.ok);
    drawList(*started.window)->setColumnWidth(11, 133);
    viewOf<StatsView>(*started.window)->chooseMethodCode("SUMS");
    QCOMPARE(viewOf<StatsView>(*started.window)->chosenMethodCode(), std::string("SUMS"));
    started.window.reset();
    const util::IniFile frm = util::IniFile::Load(started.dir / "Kvanta_8x20.frm");
    QCOMPARE(frm.ReadInteger("TFormMain", "DrawsList.Column11", 0), 133);
    QVERIFY(frm.ReadInteger("TFormMain", "LeftPanelWidth", 0) > 0);
    QVERIFY(frm.HasKey("TFormMain", "NormPos"));
    QVERIFY(frm.HasKey("TFormMain", "PixelsPerInch"));
    QVERIFY(frm.ReadBool("TFormMain", "PrefetchsInit", false));
    QVERIFY(frm.HasKey("TFormMain", "PrefetchsEnabled"));
    // A fresh file keeps the order its keys have always had (a list's widths as one entry).
    std::vector<std::string> keys;
    std::istringstream lines(test::ReadBytes(started.dir / "Kvanta_8x20.frm"));
    for (std::string line; std::getline(lines, line);) {
        std::string key = line.substr(0, line.find_first_of("=\r"));
        if (const auto column = key.find(".Column"); column != std::string::npos) key = key.substr(0, column) + ".Column*";
        if (keys.empty() || keys.back() != key) keys.push_back(key);
    }
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const std::string sized = std::to_string(screen.width()) + "x" + std::to_string(screen.height());
    const std::vector<std::string> order = {
        "[TFormMain]", "DownloadDrawsOnStart", "PrefetchsInit", "PrefetchsEnabled", "Flags", "ShowCmd", "PixelsPerInch",
        "MinMaxPos", "NormPos", "MinMaxPos_" + sized, "NormPos_" + sized, "LeftPanelWidth", "DrawsList.Column*",
        "CombsList.Column*", "StatTable.Column*", "FiltersList.Column*", "StakesGrid.Column*", "ScriptList.Column*",
        "FiltersHeight", "StatTable.SortType", "DrawsExclude", "DrawsStatLen", "DrawsStatMethod", "DrawsStatHeight",
        "RatingsList.Column*", "LuckTestDraws", "RatingsList.SortType", "TablesList.Column*", "DrawsGraphLen", "LayoutLen",
        "LayoutCompareLen1", "LayoutCompareLen2", "LayoutCompareLen3", "LayoutCompareLen4", "LayoutCompareLen5",
        "LayoutCompareHeight", "WeekLen", "WeekHeight", "ScriptLibraryList.Column*", "ScriptLibraryFilter",
        "ScriptLibraryHeight", "SystemsList.Column*"};
    QCOMPARE(keys, order);

    // The next start reads the widths back, and the stakes file lock was released.
    StartedWindow again(started.dir);
    QVERIFY(again.ok);
    QCOMPARE(drawList(*again.window)->columnWidth(11), 133);
    QCOMPARE(viewOf<StatsView>(*again.window)->chosenMethodCode(), std::string("SUMS"));
}

void FormMainTest::qtTextsInRussian()
{
    QVERIFY(InstallQtRussian());
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Перейти к:"));
}

void FormMainTest::drawDialogValidation()
{
    test::ScriptedShell sh;
    game::TDraw draw;
    draw.DrawNo = 12;
    TFormDraw dialog(sh, draw, false);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Введите данные следующего тиража"));
    QCOMPARE(TFormDraw(sh, draw, true).windowTitle(), QStringLiteral("Измените данные тиража 12"));
    QCOMPARE(dialog.numbersEdit()->text(), QStringLiteral("0;0;0;0;0;0;0;0;0"));
    QCOMPARE(dialog.drawNoEdit()->value(), 12);
    dialog.show();
    dialog.accept();
    QVERIFY(dialog.isVisible());
    QCOMPARE(sh.messages.size(), size_t(1));
    QCOMPARE(qs(sh.messages[0].text), QStringLiteral("Введена некорректная комбинация!\nОжидаются 8 разных чисел от 1 до "
                                                      "20 и последним дополнительное число от 1 до 4 через точку с "
                                                      "запятой или запятую, например: 1;5;8;11;13;16;18;20;3"));
    dialog.numbersEdit()->setText(QStringLiteral("5,1;20;7 ; 3;9;11;2;4"));
    dialog.accept();
    QCOMPARE(dialog.QDialog::result(), int(QDialog::Accepted));
    QCOMPARE(dialog.draw().Nums, (game::TComb{5, 1, 20, 7, 3, 9, 11, 2}));
    QCOMPARE(int(dialog.draw().Extra), 4);
    QCOMPARE(dialog.draw().DrawNo, 12);
}


void FormMainTest::everyMenuEntryIsACommand()
{
    StartedWindow started(10, 101);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    QVERIFY2(w.commands().missingNames().isEmpty(), qPrintable(w.commands().missingNames().join(u',')));

    // The menu bar's menus, their submenus and the views' pop-up menus are all QMenu children of
    // the window; the lists with Qt::ActionsContextMenu show their own actions.
    std::vector<std::pair<QString, QList<QAction*>>> lists;
    for (QMenu* menu : w.findChildren<QMenu*>()) lists.emplace_back(menu->title(), menu->actions());
    for (QWidget* widget : w.findChildren<QWidget*>())
        if (widget->contextMenuPolicy() == Qt::ActionsContextMenu) lists.emplace_back(widget->objectName(), widget->actions());
    QSet<QString> seen;
    for (const auto& [where, actions] : lists) {
        for (QAction* a : actions) {
            if (a->isSeparator() || a->menu()) continue;
            const QString name = a->objectName();
            QVERIFY2(!name.isEmpty(), qPrintable(where + QStringLiteral(": ") + a->text()));
            QVERIFY2(w.commands().command(name) == a, qPrintable(where + QStringLiteral(": ") + name));
            seen.insert(name);
        }
    }
    // Entries of each kind of menu: the bar, a submenu, a pop-up menu of a view and a list's own.
    for (const char* name : {cmd::ExitProgram, cmd::About, cmd::RatingsEffMode0, cmd::RatingsToScript, cmd::TablesStakeTest, cmd::CombsGen,
                             cmd::StakesGraphProfits, cmd::FiltersInfo, cmd::DrawsSorted, cmd::ScriptClr, cmd::DrawsDownload, cmd::AutoDownload1,
                             cmd::EditProxy, cmd::EditOperatorUrl, cmd::OpenLotoSite, cmd::CardXlsExport, cmd::LayoutXlsExport})
        QVERIFY2(seen.contains(QString::fromLatin1(name)), name);
    // The online catalogue's menus and entries.
    for (const char* name : {cmd::ScriptLibrary, cmd::ScriptLibraryHide, cmd::SystemsDownload, cmd::SystemStakeFilter, cmd::AutoSelfUpdate})
        QVERIFY2(seen.contains(QString::fromLatin1(name)), name);
    QCOMPARE(w.findChild<QMenuBar*>()->actions().size(), 13);

    // Every menu of the bar opens with its own Alt+letter.
    QSet<QChar> letters;
    for (QAction* a : w.findChild<QMenuBar*>()->actions()) {
        const QString text = a->text();
        QCOMPARE(text.count(u'&'), 1);
        letters.insert(text.at(text.indexOf(u'&') + 1).toLower());
    }
    QCOMPARE(letters.size(), 13);
    QCOMPARE(w.findChild<QMenuBar*>()->actions().first()->text(), QStringLiteral("&Файл"));
}

void FormMainTest::commandSetRulesAndMissingNames()
{
    QWidget owner;
    bool busy = false;
    bool allowed = false;
    int runs = 0;
    TCommandSet set(&owner, [&busy] { return busy; });
    QAction* plain = set.add("Plain", QStringLiteral("Обычная"), QStringLiteral("Подсказка"), [&runs] { ++runs; });
    QAction* ruled = set.add("Ruled", QStringLiteral("С условием"), QString(), [&runs] { ++runs; }, [&allowed] { return allowed; });
    QAction* stop = set.add("Stop", QStringLiteral("Стоп"), QString(), [&runs] { runs += 10; }, {}, true);
    QCOMPARE(plain->objectName(), QStringLiteral("Plain"));
    QCOMPARE(plain->statusTip(), QStringLiteral("Подсказка"));
    QVERIFY(owner.actions().contains(ruled));
    QCOMPARE(set.command("Ruled"), ruled);
    QCOMPARE(set.command("Absent"), static_cast<QAction*>(nullptr));

    struct Case {
        bool busy, allowed;
        bool plain, ruled, stop;
    };
    for (const Case& c : {Case{false, false, true, false, true}, Case{false, true, true, true, true},
                          Case{true, true, false, false, true}}) {
        busy = c.busy;
        allowed = c.allowed;
        set.updateActions();
        QCOMPARE(plain->isEnabled(), c.plain);
        QCOMPARE(ruled->isEnabled(), c.ruled);
        QCOMPARE(stop->isEnabled(), c.stop);
    }
    // While busy only the command meant for a running operation runs, even when triggered.
    plain->setEnabled(true);
    plain->trigger();
    stop->trigger();
    QCOMPARE(runs, 10);
    // A check mark clicked then is applied when the work ends, in click order.
    std::vector<bool> applied;
    QAction* mark = set.add("Mark", QStringLiteral("Флажок"), QString(), [&] { applied.push_back(set.command("Mark")->isChecked()); });
    mark->setCheckable(true);
    mark->setEnabled(true);
    mark->trigger();
    QVERIFY(mark->isChecked());
    QVERIFY(applied.empty());
    busy = false;
    set.updateActions();
    QCOMPARE(applied, std::vector<bool>{true});
    set.updateActions();
    QCOMPARE(applied.size(), std::size_t(1));

    QMenu menu;
    set.fillMenu(&menu, {"Plain", TCommandSet::Separator, "Nope", "Stop"});
    QCOMPARE(menu.actions().size(), 3);
    QVERIFY(menu.actions().at(1)->isSeparator());
    QCOMPARE(set.missingNames(), QStringList{QStringLiteral("Nope")});
}

QTEST_MAIN(FormMainTest)
#include "formmain_test.moc"

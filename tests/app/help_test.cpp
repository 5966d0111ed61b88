#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QtTest>

#include "app/commandnames.h"
#include "app/formgenerate.h"
#include "app/formhelp.h"
#include "app/helpcommands.h"
#include "app/formmain.h"
#include "app/views/ratingsview.h"
#include "app/views/statsview.h"
#include "tests/app/apptest.h"

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void f1OpensThePageOfTheFrontView();
    void searchGoesThroughThePages();
    void withoutHelpThereIsNoCommand();
    void f1InADialogOpensItsSection();
    void everyTabNamesAShippedPage();
};

namespace {

const StartFiles HelpFiles = {
    {"help/Kvanta_8x20_RUS/index.html", "<html><body><h1>Содержание</h1><a href=\"archive.html\">Архив</a></body></html>"},
    {"help/Kvanta_8x20_RUS/archive.html", "<html><body><h1>Архив тиражей</h1><p>Смещение назад</p></body></html>"},
    {"help/Kvanta_8x20_RUS/stattable.html", "<html><body><h1>Таблица статистики</h1><p>Глубина</p></body></html>"},
};

} // namespace

void HelpTest::f1OpensThePageOfTheFrontView()
{
    StartedWindow sw(20, HelpFiles);
    QVERIFY(sw.ok);
    TFormMain& w = *sw.window;
    w.updateActions();
    QVERIFY(w.command(cmd::GetHelp)->isEnabled());
    QCOMPARE(w.command(cmd::GetHelp)->shortcut(), QKeySequence(Qt::Key_F1));

    w.showTab(viewOf<StatsView>(w));
    w.activateWindow();
    viewOf<StatsView>(w)->tableView()->setFocus();
    QTRY_VERIFY(viewOf<StatsView>(w)->tableView()->hasFocus());
    w.command(cmd::GetHelp)->trigger();
    QVERIFY(helpWindow(w) && helpWindow(w)->isVisible());
    QCOMPARE(helpWindow(w)->currentPage(), QStringLiteral("stattable.html"));
    QVERIFY(helpWindow(w)->browser()->toPlainText().startsWith(QStringLiteral("Таблица статистики")));

    // The keyboard in the draw list: its page. The view in front, not the one the keyboard is
    // in, whose page the help lacks: the contents.
    w.activateWindow();
    drawList(w)->setFocus();
    QTRY_VERIFY(drawList(w)->hasFocus());
    w.command(cmd::GetHelp)->trigger();
    QCOMPARE(helpWindow(w)->currentPage(), QStringLiteral("archive.html"));
    w.activateWindow();
    viewOf<StatsView>(w)->tableView()->setFocus();
    QTRY_VERIFY(viewOf<StatsView>(w)->tableView()->hasFocus());
    w.showTab(viewOf<RatingsView>(w));
    w.command(cmd::GetHelp)->trigger();
    QCOMPARE(helpWindow(w)->currentPage(), QStringLiteral("index.html"));

    // Back returns to the page before.
    helpWindow(w)->findChild<QPushButton*>(QStringLiteral("Back"))->click();
    QCOMPARE(helpWindow(w)->currentPage(), QStringLiteral("archive.html"));
}

void HelpTest::searchGoesThroughThePages()
{
    StartedWindow sw(5, HelpFiles);
    QVERIFY(sw.ok);
    TFormHelp help(QString::fromStdString((sw.dir / "help/Kvanta_8x20_RUS/index.html").string()));
    QCOMPARE(help.currentPage(), QStringLiteral("index.html"));
    QVERIFY(help.findText(QStringLiteral("глубина")));
    QCOMPARE(help.currentPage(), QStringLiteral("stattable.html"));
    QCOMPARE(help.browser()->textCursor().selectedText(), QStringLiteral("Глубина"));
    // From there on, round through the rest and back.
    QVERIFY(help.findText(QStringLiteral("смещение")));
    QCOMPARE(help.currentPage(), QStringLiteral("archive.html"));
    QVERIFY(!help.findText(QStringLiteral("нет такого слова")));
    QCOMPARE(help.currentPage(), QStringLiteral("archive.html"));
}

void HelpTest::f1InADialogOpensItsSection()
{
    StartFiles files = HelpFiles;
    files.emplace_back("help/Kvanta_8x20_RUS/combinations.html", "<html><body><h1>Комбинации</h1></body></html>");
    StartedWindow sw(5, files);
    QVERIFY(sw.ok);
    QString page;
    bool helpOverDialog = false;
    onNextDialog<TFormGenerate>([&](TFormGenerate* d) {
        QTest::keyClick(d->parametersEdit(), Qt::Key_F1);
        auto* help = d->findChild<TFormHelp*>();
        if (help) {
            page = help->currentPage();
            helpOverDialog = help->isVisible();
        }
        d->reject();
    });
    sw.window->command(cmd::CombsGen)->trigger();
    QCOMPARE(page, QStringLiteral("combinations.html"));
    QVERIFY(helpOverDialog);
}

void HelpTest::withoutHelpThereIsNoCommand()
{
    StartedWindow sw(5);
    QVERIFY(sw.ok);
    sw.window->updateActions();
    QVERIFY(!sw.window->command(cmd::GetHelp)->isEnabled());
}


// F1 on a tab must land on a page (and a section) the shipped help has; tabs without one of
// their own open the contents, which is only right for the few listed here.
void HelpTest::everyTabNamesAShippedPage()
{
    StartedWindow sw(5);
    QVERIFY(sw.ok);
    const QDir help(QStringLiteral(KV_SOURCE_DIR "/help/Kvanta_8x20_RUS"));
    QStringList withoutPage;
    // The dialogs' pages too, which F1 inside a dialog opens.
    QStringList names = TDialogHelp::pages();
    for (QTabWidget* tabs : {leftTabs(*sw.window), rightTabs(*sw.window)})
        for (int i = 0; i < tabs->count(); ++i) {
            const QString name = tabs->widget(i)->property(HelpCommands::PageProperty).toString();
            if (name.isEmpty()) withoutPage << tabs->tabText(i).remove(QLatin1Char('&'));
            else names << name;
        }
    for (const QString& name : names) {
        QFile page(help.filePath(name.section(QLatin1Char('#'), 0, 0)));
        QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(name));
        const QString anchor = name.section(QLatin1Char('#'), 1);
        if (!anchor.isEmpty())
            QVERIFY2(page.readAll().contains(("<a name=\"" + anchor + "\">").toUtf8()), qPrintable(name));
    }
    QCOMPARE(withoutPage, QStringList());
}

QTEST_MAIN(HelpTest)
#include "help_test.moc"

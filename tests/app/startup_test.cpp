#include <QCheckBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

#include "app/commandnames.h"
#include "app/formfirstrun.h"
#include "app/formmain.h"
#include "app/language.h"
#include "app/qtshell.h"
#include "core/online/drawdownload.h"
#include "core/workspace/formsettings.h"
#include "tests/app/apptest.h"

using namespace kv;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void languageMenuListsTheModules();
    void choosingALanguageWritesItAndRestarts();
    void englishInterfaceAndNoLanguage();
    void missingOrDamagedModuleKeepsRussian();
    void firstRunDialog();

private:
    // A language module beside this test program, as the program finds its modules.
    std::filesystem::path module(const char* abbrev) const
    {
        return std::filesystem::path(QCoreApplication::applicationFilePath().toStdString() + "_" + abbrev + ".lng");
    }
};

namespace {

QStringList menuTitles(QMenuBar* bar)
{
    QStringList titles;
    for (QAction* a : bar->actions()) titles << a->text().remove(u'&'); // without the Alt-letter marks
    return titles;
}

} // namespace

void StartupTest::initTestCase()
{
    std::filesystem::copy_file(KV_LANGUAGE_MODULE, module("ENU"), std::filesystem::copy_options::overwrite_existing);
}

void StartupTest::cleanupTestCase()
{
    for (const char* abbrev : {"ENU", "DEU"}) std::filesystem::remove(module(abbrev));
}

void StartupTest::languageMenuListsTheModules()
{
    StartedWindow sw(5);
    QVERIFY(sw.ok);
    auto* menu = sw.window->findChild<QMenu*>(cmd::menu::Language);
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("Язык интерфейса"));
    QStringList entries;
    for (QAction* a : menu->actions()) entries << a->text();
    QCOMPARE(entries, (QStringList{QStringLiteral("Русский"), QStringLiteral("English")}));
    QVERIFY(sw.window->command(QString::fromStdString(cmd::Language(1049)))->isChecked());
    QCOMPARE(interfaceLanguage(*sw.window), 1049);
}

void StartupTest::choosingALanguageWritesItAndRestarts()
{
    StartedWindow sw(5);
    QVERIFY(sw.ok);
    QString program, dir;
    QStringList args;
    StartProgramInstance = [&](const QString& p, const QStringList& a, const QString& d) {
        program = p;
        args = a;
        dir = d;
        return true;
    };
    sw.window->command(QString::fromStdString(cmd::Language(1033)))->trigger();
    StartProgramInstance = nullptr;
    QCOMPARE(workspace::FormSettings(sw.dir / "Kvanta_8x20.frm").ReadInt("Language", 0), 1033);
    QCOMPARE(program, QCoreApplication::applicationFilePath());
    QCOMPARE(args, QStringList{QStringLiteral("restart")});
    QCOMPARE(dir, QCoreApplication::applicationDirPath());
    QVERIFY(sw.window->hasEnded());
}

void StartupTest::englishInterfaceAndNoLanguage()
{
    test::TempDir dir;
    workspace::FormSettings(dir / "Kvanta_8x20.frm").WriteInt("Language", 1033);
    workspace::FormSettings(dir / "Kvanta_8x20.frm").WriteInt("DownloadDrawsOnStart", 2);
    {
        StartedWindow sw(dir);
        QVERIFY(sw.ok);
        QCOMPARE(interfaceLanguage(*sw.window), 1033);
        const QStringList titles = menuTitles(sw.window->menuBar());
        QCOMPARE(titles.mid(0, 3), (QStringList{QStringLiteral("File"), QStringLiteral("Draws"), QStringLiteral("Combinations")}));
        QCOMPARE(sw.window->command(cmd::DrawsXlsExport)->text(), QStringLiteral("Export to Microsoft Excel"));
        QCOMPARE(sw.window->command(cmd::DrawsXlsExport)->statusTip(), QStringLiteral("Export the draws to Microsoft Excel"));
        QCOMPARE(rightTabs(*sw.window)->tabText(0), QStringLiteral("Statistics"));
        QCOMPARE(drawList(*sw.window)->model()->headerData(11, Qt::Horizontal).toString(), QStringLiteral("Draw date"));
        QVERIFY(sw.window->command(QString::fromStdString(cmd::Language(1033)))->isChecked());
    }
    // "no-language" keeps Russian whatever the settings say.
    workspace::CommandLine cmd;
    cmd.noLanguage = true;
    TFormMain window(dir.path(), cmd);
    QCOMPARE(interfaceLanguage(window), 1049);
    QCOMPARE(menuTitles(window.menuBar()).value(0), QStringLiteral("Файл"));
    QCOMPARE(drawList(window)->model()->headerData(11, Qt::Horizontal).toString(), QStringLiteral("Дата тиража"));
}

void StartupTest::missingOrDamagedModuleKeepsRussian()
{
    test::WriteBytes(module("DEU"), "not a translation");
    const struct {
        int id;
        QString message;
    } cases[] = {
        {1058, QStringLiteral("Языковый модуль \"%1_UKR.lng\" не найден!")},
        {1031, QStringLiteral("Языковый модуль \"%1_DEU.lng\" поврежден и не может быть загружен!")},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        workspace::FormSettings(dir / "Kvanta_8x20.frm").WriteInt("Language", c.id);
        MessageBoxAnswerer answerer;
        StartedWindow sw(dir);
        QVERIFY(sw.ok);
        QCOMPARE(answerer.texts, QStringList{c.message.arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName())});
        QCOMPARE(interfaceLanguage(*sw.window), 1049);
        QCOMPARE(menuTitles(sw.window->menuBar()).value(0), QStringLiteral("Файл"));
    }
    // Choosing a language whose module is gone says so and keeps the language.
    StartedWindow sw(5);
    QVERIFY(sw.ok);
    std::filesystem::rename(module("ENU"), module("ENU").string() + ".away");
    MessageBoxAnswerer answerer;
    sw.window->command(QString::fromStdString(cmd::Language(1033)))->trigger();
    std::filesystem::rename(module("ENU").string() + ".away", module("ENU"));
    QCOMPARE(answerer.texts.value(0), QStringLiteral("Языковый модуль \"%1_ENU.lng\" не найден!")
                                          .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
    QVERIFY(!sw.window->hasEnded());
    QVERIFY(sw.window->command(QString::fromStdString(cmd::Language(1049)))->isChecked());
    QCOMPARE(workspace::FormSettings(sw.dir / "Kvanta_8x20.frm").ReadInt("Language", -1), -1);
}

void StartupTest::firstRunDialog()
{
    // Absent: no dialog (StartedWindow would hang on one).
    {
        StartedWindow sw(5);
        QVERIFY(sw.ok);
        QVERIFY(!sw.window->findChild<QWidget*>(QStringLiteral("EmptyArchiveHint"))->isVisible());
    }
    // A folder without window settings is a newcomer's: the dialog comes up, and on the next
    // start again until it is ticked off; the empty archive says where draws come from.
    {
        test::TempDir dir;
        int shown = 0;
        onNextDialog<TFormFirstRun>([&](TFormFirstRun* d) {
            ++shown;
            d->accept();
        });
        MessageBoxAnswerer no(QMessageBox::No);
        {
            TFormMain w(dir.path(), workspace::CommandLine{});
            w.show();
            QVERIFY(QTest::qWaitFor([&] { return w.isInitialised(); }, 20000));
            QTRY_COMPARE(shown, 1);
            QCOMPARE(no.texts, QStringList{QString::fromUtf8(online::StartupDownloadQuestion)});
            auto* hint = w.findChild<QWidget*>(QStringLiteral("EmptyArchiveHint"));
            QVERIFY(hint && hint->isVisible());
            QVERIFY(hint->findChild<QPushButton*>(QStringLiteral("DemoArchive")));
        }
        QCOMPARE(workspace::FormSettings(dir / "Kvanta_8x20.frm").ReadBool("FirstRun", false), true);
        onNextDialog<TFormFirstRun>([&](TFormFirstRun* d) {
            ++shown;
            d->dontShowBox()->setChecked(true);
            d->accept();
        });
        StartedWindow again(dir);
        QVERIFY(again.ok);
        QTRY_COMPARE(shown, 2);
        QTRY_COMPARE(workspace::FormSettings(dir / "Kvanta_8x20.frm").ReadBool("FirstRun", true), false);
    }
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"

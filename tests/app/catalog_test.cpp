// The catalogue panel and the systems tab against servers the test starts on 127.0.0.1: the
// real catalogue server, and a scripted one for answers a sound server never gives.
#include <QComboBox>
#include <set>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include "app/commandnames.h"
#include "app/commandset.h"
#include "app/formcatalog.h"
#include "app/onlineaccess.h"
#include "app/views/catalogview.h"
#include "app/views/scenarioview.h"
#include "app/views/systemsview.h"
#include "apptest.h"
#include "core/util/catalogwire.h"
#include "core/util/cp1251.h"
#include "tests/net/localserver.h"
#include "tests/support/localcatalog.h"

using namespace kv;

namespace {

const StartFiles Identity = {
    {"Kvanta_8x20.ini", "[ONLINE]\r\nAuthorName=Tester\r\nAuthorMail=tester@example.org\r\nClientKey=test-key\r\n"},
    {"Kvanta_8x20.lss", "FULL:0#RAND| | | | | | | |Idea\r\n"}};

// A list row of the scripted server.
util::TTaggedRow listRow(int id, const std::string& mail, const std::string& guid)
{
    return {{"id", std::to_string(id)}, {"key_cl_name", "X"}, {"key_cl_mail", mail}, {"key_cl_lcid", "1049"},
            {"app_name", guid}, {"app_ver", "1"}, {"app_guid", guid}, {"uniapps", "0"}, {"publics", "1"},
            {"created", ""}, {"rating_avg", "0"}, {"rating_cnt", "0"}, {"rating_you", "0"}, {"downloads", "0"},
            {"last_download", ""}, {"title", util::EncodeBase64("Entry " + std::to_string(id))}, {"descr", ""}};
}

void selectRow(QTableView* view, int row)
{
    view->setFocus();
    view->selectRow(row);
}

} // namespace

class CatalogTest : public QObject {
    Q_OBJECT
private slots:
    void noServerShowsOneLineAndNoBoxes()
    {
        MessageBoxAnswerer answers;
        StartedWindow w(20, Identity);
        QVERIFY(w.ok);
        QVERIFY(!viewOf<CatalogView>(*w.window)->notice()->isHidden());
        QVERIFY(viewOf<CatalogView>(*w.window)->notice()->text().startsWith(QStringLiteral("Каталог http://127.0.0.1:1 недоступен:")));
        QVERIFY(!viewOf<SystemsView>(*w.window)->notice()->isHidden());
        QCOMPARE(answers.texts, QStringList());
        QCOMPARE(viewOf<CatalogView>(*w.window)->model()->rowCount(), 0);
        // "Обновить" says it in the same line, which never widens the window.
        for (const char* refresh : {cmd::ScriptLibraryRefresh, cmd::SystemsRefresh}) {
            w.window->updateActions();
            w.window->command(refresh)->trigger();
        }
        QCOMPARE(answers.texts, QStringList());
        QLabel* line = viewOf<CatalogView>(*w.window)->notice();
        rightTabs(*w.window)->setCurrentWidget(viewOf<ScenarioView>(*w.window));
        line->setText(line->text() + QString(300, QLatin1Char('x')));
        QVERIFY(w.window->minimumSizeHint().width() <= 1240);
        QTRY_VERIFY(line->isVisible());
        line->repaint();   // painted: the text is cut and the tooltip holds all of it
        QTRY_COMPARE(line->toolTip(), line->text());
    }

    void aGreyedPublishSaysWhatItWaitsFor()
    {
        StartedWindow w(20, StartFiles{Identity[0]});
        QVERIFY(w.ok);
        QAction* upload = w.window->command(cmd::ScriptLibraryUpload);
        const auto state = [&] {
            w.window->updateActions();
            return std::pair{upload->isEnabled(), upload->toolTip()};
        };
        const std::pair<bool, QString> empty{false, QStringLiteral("Опубликовать нечего: в сценарии нет строк. "
                                                                   "Составьте сценарий или откройте его из файла, "
                                                                   "затем опубликуйте")};
        QCOMPARE(state(), empty);
        QCOMPARE(upload->statusTip(), empty.second);
        w.window->workspace().Scenario().AddLine("FULL:0#RAND| | | | | | | |Idea", w.window->shell());
        QCOMPARE(state(), std::pair(true, QStringLiteral("Опубликовать текущий сценарий в online-каталоге")));
        viewOf<CatalogView>(*w.window)->togglePanel();
        QCOMPARE(state(), std::pair(false, QStringLiteral("Опубликовать можно из открытого online каталога "
                                                          "сценариев: включите его в меню \"Каталог\"")));
        int menus = 0;
        for (QObject* holder : upload->associatedObjects())
            if (auto* menu = qobject_cast<QMenu*>(holder)) {
                ++menus;
                QVERIFY(menu->toolTipsVisible());
            }
        QCOMPARE(menus, 2);   // the menu bar's and the panel's own
    }

    void takenTitleKeepsTheDialogOpenAndTheNextTitleIsPublished()
    {
        test::TempDir db;
        test::LocalCatalog cat(db / "c.db");
        {
            server::TScriptWrite other;
            other.AuthorName = "Other";
            other.AuthorMail = "other@example.org";
            other.AppGuid = "Kvanta_8x20";
            other.Title = "Занято";
            other.Script = "Строка 1\r\n\r\nСтрока 3";
            server::PutScript(cat.Storage, other, "other-key", cat.Now);
        }
        qputenv("KVANTA_CATALOG_URL", cat.Url().c_str());
        MessageBoxAnswerer answers;
        StartedWindow w(20, Identity);
        QVERIFY(w.ok);
        CatalogView* panel = viewOf<CatalogView>(*w.window);
        QCOMPARE(panel->model()->rowCount(), 1);
        bool stayedOpen = false, titleFocused = false;
        onNextDialog<TFormScriptProps>([&](TFormScriptProps* form) {
            form->titleEdit()->setText(QStringLiteral("Занято"));
            form->sendButton()->click();
            stayedOpen = form->isVisible();
            titleFocused = form->focusWidget() == form->titleEdit();
            form->titleEdit()->setText(QStringLiteral("Мой сценарий"));
            form->sendButton()->click();
        });
        w.window->updateActions();
        w.window->command(cmd::ScriptLibraryUpload)->trigger();
        QVERIFY(stayedOpen);
        QVERIFY(titleFocused);
        QCOMPARE(answers.texts,
                 QStringList{QStringLiteral("Сценарий с таким названием уже существует!\nВыберите другое название.")});
        QCOMPARE(panel->model()->rowCount(), 2);
        const online::tScriptInfo* mine = panel->selected();
        QVERIFY(mine);
        QCOMPARE(mine->Title, std::string("Мой сценарий"));
        QCOMPARE(panel->model()->index(panel->view()->currentIndex().row(), 0).data().toString(), QStringLiteral("Мой"));

        // The other user's entry downloads into the scenario and its file.
        const int other = panel->model()->entries()[0].Title == "Занято" ? 0 : 1;
        selectRow(panel->view(), other);
        w.window->updateActions();
        w.window->command(cmd::ScriptLibraryDownload)->trigger();
        QCOMPARE(w.window->workspace().Scenario().Lines(), (std::vector<std::string>{"Строка 1", "", "Строка 3"}));
        QCOMPARE(test::ReadBytes(w.dir / "Kvanta_8x20.lss"), util::Utf8ToCp1251("Строка 1\r\n\r\nСтрока 3\r\n"));
        QCOMPARE(panel->selected()->Downloads, 1);
        qunsetenv("KVANTA_CATALOG_URL");
    }

    void theListComesAPageAtATimeAsItIsScrolled()
    {
        test::TempDir db;
        test::LocalCatalog cat(db / "c.db");
        constexpr int Entries = 2 * online::CatalogPageSize + 50;
        for (int i = 0; i < Entries; ++i) {
            server::TScriptWrite w;
            w.AuthorName = "Автор";
            w.AuthorMail = "author@example.org";
            w.AppGuid = "Kvanta_8x20";
            w.Title = "Сценарий " + std::to_string(i);
            w.Script = "STK 1";
            server::PutScript(cat.Storage, w, "key", cat.Now + i);
        }
        qputenv("KVANTA_CATALOG_URL", cat.Url().c_str());
        MessageBoxAnswerer answers;
        StartedWindow w(20, Identity);
        QVERIFY(w.ok);
        CatalogView* panel = viewOf<CatalogView>(*w.window);
        QCOMPARE(panel->model()->rowCount(), online::CatalogPageSize);
        for (int page = 2; page <= 3; ++page) {
            panel->view()->scrollToBottom();
            QTRY_COMPARE(panel->model()->rowCount(), std::min(page * online::CatalogPageSize, Entries));
        }
        QVERIFY(!panel->model()->canFetchMore({}));
        // Newest first, and no entry twice across the pages.
        std::set<std::string> titles;
        for (const auto& e : panel->model()->entries()) titles.insert(e.Title);
        QCOMPARE(static_cast<int>(titles.size()), Entries);
        QCOMPARE(panel->model()->entries().back().Title, std::string("Сценарий 0"));
        QCOMPARE(answers.texts, QStringList());
        qunsetenv("KVANTA_CATALOG_URL");
    }

    void scriptedAnswersChangeNothingLocally()
    {
        test::LocalServer fake;
        fake.server.Post("/scripts/scr_getlist.php", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(util::TaggedAnswer({listRow(1, "x@example.org", "Kvanta_8x20"),
                                                listRow(2, "TESTER@example.org", "Other")}),
                            "text/html");
        });
        fake.server.Post("/scripts/scr_getdata.php", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<result><row><note>no scenario</note></row></result>", "text/html");
        });
        fake.server.Post("/scripts/scr_setrate.php", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<result><row><res_code>-3</res_code></row></result>", "text/html");
        });
        fake.server.Post("/scripts/sys_getlist.php", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(util::TaggedAnswer({{{"id", "7"}, {"nums", "12"}, {"olap", "5"}, {"csize", "40"},
                                                 {"title", util::EncodeBase64("S")}, {"descr", ""}, {"author", "A"},
                                                 {"cl_mail", "a@example.org"}, {"url", ""},
                                                 {"created", "2026-12-02 08:26:40"}, {"downloads", "0"},
                                                 {"last_download", ""}}}),
                            "text/html");
        });
        fake.server.Post("/scripts/sys_getdata.php", [](const httplib::Request&, httplib::Response& res) {
            std::string list;
            for (int i = 0; i < 41; ++i) list += "01 02 03 04 05 06 07 12\r\n";
            res.set_content(util::TaggedAnswer({{{"clist", util::EncodeBase64(list)}}}), "text/html");
        });
        fake.Start();
        qputenv("KVANTA_CATALOG_URL", fake.Url().c_str());
        MessageBoxAnswerer answers;
        StartedWindow w(20, Identity);
        QVERIFY(w.ok);
        CatalogView* panel = viewOf<CatalogView>(*w.window);
        QCOMPARE(panel->model()->rowCount(), 2);
        const std::vector<std::string> before = w.window->workspace().Scenario().Lines();
        const std::string lssBefore = test::ReadBytes(w.dir / "Kvanta_8x20.lss");

        // Another program's entry, even the user's own, cannot be downloaded, replaced or deleted.
        selectRow(panel->view(), 1);
        w.window->updateActions();
        QVERIFY(panel->selected() && panel->selected()->Mine);
        for (const char* name : {cmd::ScriptLibraryDownload, cmd::ScriptLibraryReplace, cmd::ScriptLibraryDelete})
            QVERIFY2(!w.window->command(name)->isEnabled(), name);

        // An answer without a "<script>" row leaves the scenario as it was.
        selectRow(panel->view(), 0);
        w.window->updateActions();
        QVERIFY(w.window->command(cmd::ScriptLibraryDownload)->isEnabled());
        w.window->command(cmd::ScriptLibraryDownload)->trigger();
        QCOMPARE(w.window->workspace().Scenario().Lines(), before);
        QCOMPARE(test::ReadBytes(w.dir / "Kvanta_8x20.lss"), lssBefore);
        QCOMPARE(answers.texts, QStringList());

        w.window->updateActions();
        w.window->command(cmd::ScriptLibraryHide)->trigger();
        QCOMPARE(answers.texts,
                 QStringList{QStringLiteral("Ошибка сохранения оценки online-сценария!\n\nКод возврата: -3")});

        // 41 lines for a system of 40 are refused and leave no file.
        SystemsView* systems = viewOf<SystemsView>(*w.window);
        QCOMPARE(systems->model()->rowCount(), 1);
        selectRow(systems->view(), 0);
        w.window->updateActions();
        w.window->command(cmd::SystemsDownload)->trigger();
        QCOMPARE(answers.texts.value(1),
                 QStringLiteral("Ошибка загрузки системы #7!\n\nКоличество скачанных комбинаций ( 41 ) отличается от "
                                "ожидаемого значения ( 40 )"));
        QVERIFY(!std::filesystem::exists(w.dir / "Systems" / "8-12-5_0007.dat"));
        QCOMPARE(systems->model()->index(0, 6).data().toString(), QString());
        qunsetenv("KVANTA_CATALOG_URL");
    }

    void updateSearchAndStartUpLineNameTheNewVersion()
    {
        test::TempDir db;
        test::LocalCatalog cat(db / "c.db", server::TVersionInfo{"99.0", "https://example.org/kvanta", "Быстрее"});
        qputenv("KVANTA_CATALOG_URL", cat.Url().c_str());
        MessageBoxAnswerer answers;
        StartedWindow w(5, Identity);
        QVERIFY(w.ok);
        QTRY_COMPARE(w.window->statusText(6),
                     QStringLiteral("Доступна новая версия программы: 99.0 (https://example.org/kvanta)"));
        w.window->updateActions();
        QCOMPARE(w.window->command(cmd::SelfUpdate)->text(), QStringLiteral("Поиск обновлений"));
        w.window->command(cmd::SelfUpdate)->trigger();
        QCOMPARE(answers.texts.size(), 1);
        QVERIFY(answers.texts[0].startsWith(QStringLiteral("Доступна новая версия программы: 99.0 (установлена ")));
        QVERIFY(answers.texts[0].contains(QStringLiteral("Что изменилось: Быстрее")));
        QCOMPARE(answers.captions[0], QStringLiteral("Информация"));
        qunsetenv("KVANTA_CATALOG_URL");
    }

    void systemsAreDownloadedOnePerNumberAndAMissingOneIsNotPlayed()
    {
        test::TempDir db;
        test::LocalCatalog cat(db / "c.db");
        const auto add = [&](int nums, int olap, std::string title, std::string list, int csize) {
            server::TSystemWrite s;
            s.Info = {0, nums, olap, 8, csize, std::move(title), "", "Author", "a@example.org", "", 0, 0, 0};
            s.Combs = std::move(list);
            server::PutSystem(cat.Storage, s, "a-key", cat.Now);
        };
        add(12, 5, "Twelve A", "01 02 03 04 05 06 07 08\r\n05 06 07 08 09 10 11 12\r\n", 2);
        add(13, 5, "Thirteen", "01 02 03 04 05 06 07 13", 1);
        add(12, 6, "Twelve B", "01 02 03 04 09 10 11 12", 1);
        qputenv("KVANTA_CATALOG_URL", cat.Url().c_str());
        MessageBoxAnswerer answers;
        StartedWindow w(20, Identity);
        QVERIFY(w.ok);
        SystemsView* systems = viewOf<SystemsView>(*w.window);
        QCOMPARE(systems->model()->rowCount(), 3);  // by N: Twelve A, Twelve B, Thirteen
        const auto download = [&](int row) {
            selectRow(systems->view(), row);
            w.window->updateActions();
            w.window->command(cmd::SystemsDownload)->trigger();
        };
        download(0);
        QVERIFY(std::filesystem::exists(w.dir / "Systems" / "8-12-5_0001.dat"));
        QCOMPARE(systems->model()->index(0, 6).data().toString(), QStringLiteral("Загружена"));
        download(1);
        QVERIFY(!std::filesystem::exists(w.dir / "Systems" / "8-12-5_0001.dat"));
        QVERIFY(std::filesystem::exists(w.dir / "Systems" / "8-12-6_0003.dat"));
        QCOMPARE(systems->model()->index(0, 6).data().toString(), QString());
        QCOMPARE(systems->model()->index(1, 6).data().toString(), QStringLiteral("Загружена"));
        QCOMPARE(answers.texts, QStringList());

        // A refresh while the catalogue is down keeps the list and the downloaded system.
        qputenv("KVANTA_CATALOG_URL", "http://127.0.0.1:1");
        w.window->updateActions();
        w.window->command(cmd::SystemsRefresh)->trigger();
        QCOMPARE(answers.texts, QStringList());
        QCOMPARE(systems->model()->rowCount(), 3);
        QCOMPARE(systems->model()->index(1, 6).data().toString(), QStringLiteral("Загружена"));
        QVERIFY(systems->notice()->text().startsWith(QStringLiteral("Каталог http://127.0.0.1:1 недоступен: ")));
        QVERIFY(systems->notice()->text().endsWith(QString::fromUtf8(ListKeptText)));
        qputenv("KVANTA_CATALOG_URL", cat.Url().c_str());

        // The full list covers 20 numbers: no such system is here, so nothing is staked.
        const int records = w.window->workspace().StakesFile().RecordCount();
        w.window->updateActions();
        w.window->command(cmd::SystemStakeAll)->trigger();
        QCOMPARE(answers.texts.size(), 1);
        QVERIFY(answers.texts[0].startsWith(QStringLiteral("Система для 20 чисел не найдена или не загружена на компьютер!")));
        QCOMPARE(w.window->workspace().StakesFile().RecordCount(), records);
        qunsetenv("KVANTA_CATALOG_URL");
    }
};

QTEST_MAIN(CatalogTest)
#include "catalog_test.moc"

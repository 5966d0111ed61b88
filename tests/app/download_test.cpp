#include <QAction>
#include <QDesktopServices>
#include <QUrl>
#include <QActionGroup>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "app/commandnames.h"
#include "app/formmain.h"
#include "app/formproxy.h"
#include "app/formsiteaddress.h"
#include "app/formwait.h"
#include "app/views/ratingsview.h"
#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/util/cp1251.h"
#include "core/util/ini.h"
#include "core/online/online.h"
#include "core/workspace/formsettings.h"
#include "tests/app/apptest.h"
#include "tests/net/localserver.h"
#include "tests/support/drawpages.h"
#include "tests/support/support.h"

using namespace kv;

namespace {

// The operator's site on 127.0.0.1: each archive page from `draws`; the page whose range starts
// at `slowFirst` is held until released (at most 10 s), and pages from `failFrom` on answer 500.
struct OperatorSite {
    test::LocalServer http;
    game::TDrawsArray draws;
    int slowFirst = -1;
    int failFrom = -1;
    std::atomic<bool> slowEntered{false};
    std::atomic<bool> release{false};
    std::atomic<int> requests{0};

    explicit OperatorSite(game::TDrawsArray onSite) : draws(std::move(onSite))
    {
        http.server.Get("/zarvik/archive", [this](const httplib::Request& req, httplib::Response& res) {
            ++requests;
            const int first = std::stoi(req.get_param_value("firstDraw"));
            const int last = std::stoi(req.get_param_value("lastDraw"));
            if (failFrom > 0 && first >= failFrom) {
                res.status = 500;
                res.set_content("server error", "text/plain");
                return;
            }
            if (first == slowFirst) {
                slowEntered = true;
                for (int i = 0; i < 500 && !release; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            res.set_content(test::OperatorPageFor(draws, first, last), "text/html; charset=utf-8");
        });
        http.Start();
        qputenv("KVANTA_OPERATOR_URL", QByteArray::fromStdString(http.Url()));
    }
    ~OperatorSite()
    {
        release = true;
        qunsetenv("KVANTA_OPERATOR_URL");
    }
};

// A window over an archive that holds the first `have` draws of the site.
StartFiles archiveOf(const game::TDrawsArray& site, int have, const std::string& frm = {})
{
    StartFiles files{{archive::ArchiveFileName, archive::ArchiveBytes(game::TDrawsArray(site.begin(), site.begin() + have))}};
    if (!frm.empty()) files.emplace_back("Kvanta_8x20.frm", frm);
    return files;
}

game::TDrawsArray firstOf(const game::TDrawsArray& site, int n)
{
    return game::TDrawsArray(site.begin(), site.begin() + n);
}

// The archive in memory and on disk holds exactly the site's first n draws.
void expectKept(TFormMain& w, const std::filesystem::path& dir, const game::TDrawsArray& site, int n)
{
    QCOMPARE(w.workspace().Draws(), firstOf(site, n));
    QCOMPARE(test::ReadBytes(dir / archive::ArchiveFileName), archive::ArchiveBytes(firstOf(site, n)));
}

} // namespace

class DownloadTest : public QObject {
    Q_OBJECT

private slots:
    void f3AddsTheDrawsAndTheListShowsThem();
    void theRatingShowsTheStakesTheNewDrawsChecked();
    void cancelDuringASlowPageKeepsEarlierPages();
    void aFailingSiteAsksAndNoKeepsEverything();
    void startUpDownloadsAsChosen();
    void autoDownloadChoicesAreCheckedAndStored();
    void proxyDialogEnablesFieldsAndSaves();
    void siteAddressIsCheckedAndStored();
    void downloadWithoutAnAddressAsksForIt();
    void lotoSiteOpensTheGamePage();
    void closingDuringADownloadCancelsItFirst();
};

// Stands for the web browser: QDesktopServices hands it the address it would open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

void DownloadTest::f3AddsTheDrawsAndTheListShowsThem()
{
    OperatorSite site(archive::SyntheticDraws(87, 5, 1));
    StartedWindow started(0, archiveOf(site.draws, 10));
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    QCOMPARE(w.workspace().DrawCount(), 10);
    QAction* download = w.command(cmd::DrawsDownload);
    QVERIFY(download);
    QCOMPARE(download->shortcut(), QKeySequence(Qt::Key_F3));
    QCOMPARE(download->text(), QStringLiteral("Загрузка"));
    QVERIFY(download->isEnabled());
    MessageBoxAnswerer answerer(QMessageBox::No);
    download->trigger();
    QVERIFY(!w.isDownloading());
    QCOMPARE(w.lastDownload().Added, 77);
    QVERIFY(!w.lastDownload().Failed);
    QCOMPARE(site.requests.load(), 2);   // 11..60 was full, 61..110 ended it
    QCOMPARE(w.workspace().Draws(), site.draws);
    QCOMPARE(test::ReadBytes(started.dir / archive::ArchiveFileName), archive::ArchiveBytes(site.draws));
    QCOMPARE(drawList(w)->model()->rowCount(), 87);
    QCOMPARE(drawList(w)->model()->index(0, 0).data().toInt(), 87);   // the newest draw on top
    QCOMPARE(w.statusText(0), QStringLiteral("Архив тиражей: 87"));
    QCOMPARE(w.statusText(6), QString());
    QVERIFY(answerer.texts.isEmpty());
    QVERIFY(!w.findChild<TFormWait*>());
    QVERIFY(!w.shell().IsBusy());
}

void DownloadTest::theRatingShowsTheStakesTheNewDrawsChecked()
{
    OperatorSite site(archive::SyntheticDraws(87, 5, 1));
    StartFiles files = archiveOf(site.draws, 10);
    files.push_back(HitPrizes);
    files.push_back(StakesFile({StakeWithHits(site.draws, 20, 4, "Альфа")}));
    StartedWindow started(0, files);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    QCOMPARE(w.statusText(5), QStringLiteral("Рейтинг: 0"));
    MessageBoxAnswerer answerer(QMessageBox::No);
    w.command(cmd::DrawsDownload)->trigger();
    QCOMPARE(w.lastDownload().Added, 77);
    QCOMPARE(w.statusText(5), QStringLiteral("Рейтинг: 1"));
    const QAbstractItemModel* rating = viewOf<RatingsView>(w)->view()->model();
    QCOMPARE(rating->rowCount(), 1);
    QStringList row;
    for (int c = 0; c < 6; ++c) row << rating->index(0, c).data().toString();
    QCOMPARE(row, QStringList({"Альфа", "1", "4", "4.000", "40.00", "40.00"}));
}

void DownloadTest::cancelDuringASlowPageKeepsEarlierPages()
{
    OperatorSite site(archive::SyntheticDraws(150, 5, 1));
    site.slowFirst = 61;
    StartedWindow started(0, archiveOf(site.draws, 10));
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    MessageBoxAnswerer answerer(QMessageBox::No);

    // Ticks while the slow page loads show that the window's events go on; the Cancel is
    // clicked on the wait window as a user would.
    int ticks = 0;
    QString waitText;
    QTimer watcher;
    watcher.setInterval(20);
    QElapsedTimer sinceSlow;
    connect(&watcher, &QTimer::timeout, [&] {
        if (!site.slowEntered) return;
        if (!sinceSlow.isValid()) sinceSlow.start();
        ++ticks;
        auto* wait = w.findChild<TFormWait*>();
        if (wait && sinceSlow.elapsed() > 300 && wait->cancelButton()->isEnabled()) {
            waitText = wait->text();
            QVERIFY(wait->isVisible());
            wait->cancelButton()->click();
        }
    });
    watcher.start();
    QElapsedTimer clock;
    clock.start();
    w.command(cmd::DrawsDownload)->trigger();
    const qint64 took = clock.elapsed();
    watcher.stop();

    QVERIFY(site.slowEntered);
    QVERIFY2(took < 6000, qPrintable(QStringLiteral("the cancel took %1 ms").arg(took)));
    QVERIFY2(ticks >= 10, qPrintable(QStringLiteral("%1 ticks while the page loaded").arg(ticks)));
    QCOMPARE(waitText, QStringLiteral("Загрузка архива тиражей..."));
    QVERIFY(w.lastDownload().Cancelled);
    QVERIFY(!w.lastDownload().Failed);
    QCOMPARE(w.lastDownload().Added, 50);
    QVERIFY2(answerer.texts.isEmpty(), qPrintable(answerer.texts.join(QStringLiteral(" | "))));
    expectKept(w, started.dir.path(), site.draws, 60);
    QCOMPARE(drawList(w)->model()->rowCount(), 60);
    QVERIFY(!w.findChild<TFormWait*>());
    QVERIFY(!w.shell().IsBusy());
    w.updateActions();
    QVERIFY(w.command(cmd::DrawsDownload)->isEnabled());
}

void DownloadTest::aFailingSiteAsksAndNoKeepsEverything()
{
    OperatorSite site(archive::SyntheticDraws(150, 5, 1));
    site.failFrom = 61;
    StartedWindow started(0, archiveOf(site.draws, 10));
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    MessageBoxAnswerer answerer(QMessageBox::No);
    w.command(cmd::DrawsDownload)->trigger();
    QCOMPARE(answerer.texts.size(), 1);
    QCOMPARE(answerer.captions.at(0), QStringLiteral("Ошибка"));
    QVERIFY2(answerer.texts.at(0).startsWith(QStringLiteral("Ошибка загрузки архива тиражей с сайта: \"")),
             qPrintable(answerer.texts.at(0)));
    QVERIFY(answerer.texts.at(0).contains(QStringLiteral("500")));
    QVERIFY(answerer.texts.at(0).endsWith(QStringLiteral("\"\n\nПовторить попытку?")));
    QVERIFY(w.lastDownload().Failed);
    QCOMPARE(w.lastDownload().Added, 50);
    QCOMPARE(site.requests.load(), 2);
    expectKept(w, started.dir.path(), site.draws, 60);
    QVERIFY(!w.shell().IsBusy());
}

void DownloadTest::startUpDownloadsAsChosen()
{
    struct Case {
        int mode;
        QMessageBox::StandardButton answer;
        bool asks;
        int draws;
    };
    const Case cases[] = {
        {0, QMessageBox::Yes, true, 30}, {0, QMessageBox::No, true, 10}, {1, QMessageBox::No, false, 30},
        {2, QMessageBox::Yes, false, 10},
    };
    for (const Case& c : cases) {
        OperatorSite site(archive::SyntheticDraws(30, 5, 1));
        MessageBoxAnswerer answerer(c.answer);
        StartedWindow started(0, archiveOf(site.draws, 10, "[TFormMain]\r\nDownloadDrawsOnStart=" + std::to_string(c.mode) + "\r\n"));
        QVERIFY(started.ok);
        const QString what = QStringLiteral("mode %1").arg(c.mode);
        QCOMPARE(answerer.texts.size(), c.asks ? 1 : 0);
        if (c.asks) {
            QCOMPARE(answerer.captions.at(0), QStringLiteral("Подтверждение"));
            QCOMPARE(answerer.texts.at(0), QStringLiteral("Обновить список тиражей?\n\nДля выполнения обновления необходимо "
                                                          "действующее подключение к сети Интернет."));
        }
        QVERIFY2(started.window->workspace().DrawCount() == c.draws, qPrintable(what));
        QVERIFY2((site.requests.load() > 0) == (c.draws > 10), qPrintable(what));
        QVERIFY2(started.window->command(QStringLiteral("AutoDownload%1").arg(c.mode))->isChecked(), qPrintable(what));
    }
}

void DownloadTest::autoDownloadChoicesAreCheckedAndStored()
{
    StartedWindow started(5);
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    const QString captions[3] = {QStringLiteral("По запросу (по умолчанию)"), QStringLiteral("Автоматически"),
                                 QStringLiteral("Отключено")};
    for (int mode : {1, 0, 2}) {
        w.command(QStringLiteral("AutoDownload%1").arg(mode))->trigger();
        for (int other = 0; other < 3; ++other) {
            QAction* a = w.command(QStringLiteral("AutoDownload%1").arg(other));
            QCOMPARE(a->text(), captions[other]);
            QCOMPARE(a->isChecked(), other == mode);
        }
        QCOMPARE(w.workspace().View().DownloadDrawsOnStart, mode);
        QCOMPARE(workspace::FormSettings(started.dir / "Kvanta_8x20.frm").ReadInt("DownloadDrawsOnStart", -1), mode);
    }
}

void DownloadTest::proxyDialogEnablesFieldsAndSaves()
{
    StartedWindow started(5, StartFiles{{"Kvanta_8x20.ini", "[PROXY]\r\nProxyServer=old.lan\r\nProxyPort=8080\r\n"}});
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    QCOMPARE(w.command(cmd::EditProxy)->text(), QStringLiteral("Параметры proxy-сервера"));
    bool seen = false;
    onNextDialog<TFormProxy>([&](TFormProxy* d) {
        seen = true;
        QCOMPARE(d->windowTitle(), QStringLiteral("Параметры proxy-сервера"));
        // Without ProxyMode a server means the manual choice.
        QVERIFY(d->choiceButton(2)->isChecked());
        QCOMPARE(d->serverEdit()->text(), QStringLiteral("old.lan"));
        QCOMPARE(d->portEdit()->value(), 8080);
        QVERIFY(d->serverEdit()->isEnabled());
        d->choiceButton(0)->click();
        for (QWidget* f : {static_cast<QWidget*>(d->serverEdit()), static_cast<QWidget*>(d->portEdit()),
                           static_cast<QWidget*>(d->userEdit()), static_cast<QWidget*>(d->passwordEdit())})
            QVERIFY(!f->isEnabled());
        d->choiceButton(2)->click();
        QVERIFY(d->passwordEdit()->isEnabled());
        d->serverEdit()->setText(QStringLiteral("proxy.lan"));
        d->portEdit()->setValue(3128);
        d->userEdit()->setText(QStringLiteral("ivan"));
        d->passwordEdit()->setText(QStringLiteral("пароль"));
        d->accept();
    });
    w.command(cmd::EditProxy)->trigger();
    QVERIFY(seen);
    const util::IniFile ini = util::IniFile::Load(started.dir / "Kvanta_8x20.ini");
    QCOMPARE(ini.ReadInteger("PROXY", "ProxyMode", -1), 2);
    QCOMPARE(ini.ReadString("PROXY", "ProxyServer", ""), std::string("proxy.lan"));
    QCOMPARE(ini.ReadInteger("PROXY", "ProxyPort", 0), 3128);
    QCOMPARE(ini.ReadString("PROXY", "ProxyUsername", ""), std::string("ivan"));
    QCOMPARE(ini.ReadString("PROXY", "ProxyPassword", ""), std::string("пароль"));
    QVERIFY(w.workspace().Proxy().Saved);

    // The automatic search forgets the server, so the next download searches.
    onNextDialog<TFormProxy>([](TFormProxy* d) {
        QVERIFY(d->choiceButton(2)->isChecked());
        d->choiceButton(1)->click();
        QVERIFY(!d->serverEdit()->isEnabled());
        d->accept();
    });
    w.command(cmd::EditProxy)->trigger();
    const util::IniFile again = util::IniFile::Load(started.dir / "Kvanta_8x20.ini");
    QCOMPARE(again.ReadInteger("PROXY", "ProxyMode", -1), 1);
    QCOMPARE(again.ReadString("PROXY", "ProxyServer", "x"), std::string());
    QCOMPARE(again.ReadString("PROXY", "ProxyPassword", "x"), std::string());
}

void DownloadTest::siteAddressIsCheckedAndStored()
{
    qunsetenv("KVANTA_OPERATOR_URL");
    StartedWindow started(5, StartFiles{{"Kvanta_8x20.ini", "[ONLINE]\r\nOperatorUrl=https://old.example\r\n"}});
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    bool refusedKeptOpen = false;
    onNextDialog<TFormSiteAddress>([&](TFormSiteAddress* d) {
        QCOMPARE(d->windowTitle(), QStringLiteral("Адрес сайта лотереи"));
        QCOMPARE(d->addressEdit()->text(), QStringLiteral("https://old.example"));
        d->addressEdit()->setText(QStringLiteral("www.no-scheme.ru"));
        d->accept();
        refusedKeptOpen = d->isVisible() && d->result() != QDialog::Accepted;
        d->addressEdit()->setText(QStringLiteral("  http://127.0.0.1:8123/mirror  "));
        d->accept();
    });
    w.command(cmd::EditOperatorUrl)->trigger();
    QVERIFY(refusedKeptOpen);
    const util::IniFile ini = util::IniFile::Load(started.dir / "Kvanta_8x20.ini");
    QCOMPARE(ini.ReadString("ONLINE", "OperatorUrl", ""), std::string("http://127.0.0.1:8123/mirror"));
}

void DownloadTest::downloadWithoutAnAddressAsksForIt()
{
    OperatorSite site(archive::SyntheticDraws(12, 5, 1));
    qunsetenv("KVANTA_OPERATOR_URL");
    StartedWindow started(0, archiveOf(site.draws, 10));
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    // Cancel: nothing is fetched, nothing is written.
    QString reason;
    onNextDialog<TFormSiteAddress>([&](TFormSiteAddress* d) {
        auto* label = d->findChild<QLabel*>(QStringLiteral("SiteAddressReason"));
        if (label) reason = label->text();
        d->reject();
    });
    w.command(cmd::DrawsDownload)->trigger();
    QCOMPARE(reason, QString::fromUtf8(online::OperatorUrlNeededText));
    QCOMPARE(site.requests.load(), 0);
    QVERIFY(!std::filesystem::exists(started.dir / "Kvanta_8x20.ini")
            || util::IniFile::Load(started.dir / "Kvanta_8x20.ini").ReadString("ONLINE", "OperatorUrl", "").empty());

    // An address given there is stored and the download goes on with it.
    onNextDialog<TFormSiteAddress>([&](TFormSiteAddress* d) {
        d->addressEdit()->setText(QString::fromStdString(site.http.Url()));
        d->accept();
    });
    MessageBoxAnswerer answerer(QMessageBox::No);
    w.command(cmd::DrawsDownload)->trigger();
    QCOMPARE(w.lastDownload().Added, 2);
    QCOMPARE(util::IniFile::Load(started.dir / "Kvanta_8x20.ini").ReadString("ONLINE", "OperatorUrl", ""), site.http.Url());
}

void DownloadTest::lotoSiteOpensTheGamePage()
{
    OperatorSite site(archive::SyntheticDraws(5, 5, 1));
    StartedWindow started(5);
    QVERIFY(started.ok);
    UrlCatcher browser;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "open");
    started.window->command(cmd::OpenLotoSite)->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QCOMPARE(started.window->command(cmd::OpenLotoSite)->text(), QStringLiteral("Сайт лотереи"));
    QCOMPARE(browser.urls, QList<QUrl>{QUrl(QString::fromStdString(site.http.Url("/zarvik")))});
    QCOMPARE(site.requests.load(), 0);
}

void DownloadTest::closingDuringADownloadCancelsItFirst()
{
    OperatorSite site(archive::SyntheticDraws(150, 5, 1));
    site.slowFirst = 61;
    StartedWindow started(0, archiveOf(site.draws, 10));
    QVERIFY(started.ok);
    TFormMain& w = *started.window;
    MessageBoxAnswerer answerer(QMessageBox::No);
    bool closeAsked = false;
    bool closedEarly = false;
    QTimer closer;
    closer.setInterval(20);
    connect(&closer, &QTimer::timeout, [&] {
        if (!site.slowEntered || closeAsked) return;
        closeAsked = true;
        w.close();
        // The download is on the stack: the window waits for it.
        closedEarly = !w.isVisible();
    });
    closer.start();
    w.command(cmd::DrawsDownload)->trigger();
    closer.stop();
    QVERIFY(closeAsked);
    QVERIFY(!closedEarly);
    QVERIFY(w.lastDownload().Cancelled);
    QCOMPARE(test::ReadBytes(started.dir / archive::ArchiveFileName), archive::ArchiveBytes(firstOf(site.draws, 60)));
    QTRY_VERIFY(!w.isVisible());
    QVERIFY(answerer.texts.isEmpty());
}

QTEST_MAIN(DownloadTest)
#include "download_test.moc"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "core/stakes/prizetable.h"
#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/stakes/ratings.h"
#include "core/stakes/stakerecord.h"
#include "core/stats/statlist.h"
#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "core/util/files.h"
#include "core/util/format.h"
#include "core/util/ini.h"
#include "core/online/drawdownload.h"
#include "core/online/online.h"
#include "core/workspace/workspace.h"
#include "tests/support/drawpages.h"
#include "tests/support/support.h"

using namespace kv;

namespace {

constexpr const char* Site = "http://lotto.test";

std::string pageUrl(int first, int last)
{
    return archive::DrawPageUrl(Site, first, last);
}

// The operator's site in memory: it answers every page address from its draws, or with a
// scripted failure; it records what was asked and through which proxy.
struct FakeSite {
    game::TDrawsArray draws;
    std::deque<std::string> failures;    // the next requests fail with these texts first
    std::vector<std::string> asked;
    std::vector<workspace::TProxyServer> proxies;

    online::TWebAccess Web()
    {
        online::TWebAccess web;
        web.GetPage = [this](const std::string& url, const workspace::TProxyServer& proxy, bool utf8) {
            asked.push_back(url);
            proxies.push_back(proxy);
            EXPECT_TRUE(utf8);
            if (!failures.empty()) {
                const std::string f = failures.front();
                failures.pop_front();
                throw Error(f);
            }
            const std::size_t q = url.find("firstDraw=");
            const int first = std::stoi(url.substr(q + 10, 5));
            const int last = std::stoi(url.substr(url.find("lastDraw=") + 9, 5));
            return util::Utf8ToCp1251(test::OperatorPageFor(draws, first, last));
        };
        web.GetText = [](const std::string&) -> std::string { throw Error("no proxy list here"); };
        return web;
    }
};

struct Fixture {
    test::TempDir dir;
    test::ScriptedShell sh;
    workspace::Workspace ws{dir.path()};
    stats::TStatList stats;
    FakeSite site;
    online::TDownloadSettings settings;
    int viewRefreshes = 0;

    explicit Fixture(int have, int onSite)
    {
        site.draws = archive::SyntheticDraws(onSite, 5, 1);
        archive::WriteArchiveFile(dir / archive::ArchiveFileName,
                                  game::TDrawsArray(site.draws.begin(), site.draws.begin() + have));
        ws.LoadArchive(sh);
        ws.Proxy().Saved = true;
        ws.onViewsRefresh = [this] { ++viewRefreshes; };
        EXPECT_TRUE(ws.OpenStakesFile());
        settings.OperatorUrl = Site;
        settings.ProxyListUrl = "http://proxies.test/list";
        sh.statusTexts.clear();
    }
    online::TDownloadResult Run() { return online::RunDrawsDownload(ws, sh, stats, site.Web(), settings); }
    game::TDrawsArray onDisk() const { return archive::ReadArchiveFile(dir / archive::ArchiveFileName).draws; }
};

const std::string RetryQuestion(const std::string& reason)
{
    return "Ошибка загрузки архива тиражей с сайта: \"" + reason + "\"\n\nПовторить попытку?";
}

} // namespace

TEST(DrawDownload, EmptyArchiveStartsWithTheFirstFiftyAndStopsAtAShortPage)
{
    Fixture f(0, 87);
    const online::TDownloadResult r = f.Run();
    EXPECT_EQ(r.Added, 87);
    EXPECT_EQ(r.Pages, 2);
    EXPECT_FALSE(r.Failed);
    EXPECT_EQ(f.site.asked, (std::vector<std::string>{pageUrl(1, 50), pageUrl(51, 100)}));
    EXPECT_EQ(f.ws.Draws(), f.site.draws);
    EXPECT_EQ(f.onDisk(), f.site.draws);
    EXPECT_EQ(f.viewRefreshes, 2) << "the views follow every page";
    EXPECT_TRUE(f.sh.messages.empty());
    EXPECT_TRUE(f.sh.questions.empty());
    EXPECT_EQ(f.sh.BusyCount(), 0);
    const std::vector<std::string> status = {
        "Загрузка архива тиражей...", "Загрузка архива тиражей...", "Загрузка тиражей 1 - 50...",
        "Загрузка архива тиражей...", "Сохранение файла тиражей...", "",
        "Загрузка тиражей 51 - 100...", "Загрузка архива тиражей...", "Сохранение файла тиражей...", "",
    };
    ASSERT_GE(f.sh.statusTexts.size(), status.size());
    EXPECT_EQ(std::vector<std::string>(f.sh.statusTexts.begin(), f.sh.statusTexts.begin() + 10), status);
    EXPECT_EQ(f.sh.statusTexts.back(), "") << "the wait window closes last";
}

TEST(DrawDownload, ContinuesAfterTheNewestDraw)
{
    Fixture f(120, 150);
    const online::TDownloadResult r = f.Run();
    EXPECT_EQ(r.Added, 30);
    EXPECT_EQ(f.site.asked, (std::vector<std::string>{pageUrl(121, 170)}));
    EXPECT_EQ(f.ws.Draws(), f.site.draws);
}

TEST(DrawDownload, APageOfExactlyFiftyAsksForTheNext)
{
    Fixture f(0, 100);
    const online::TDownloadResult r = f.Run();
    EXPECT_EQ(r.Added, 100);
    EXPECT_EQ(f.site.asked, (std::vector<std::string>{pageUrl(1, 50), pageUrl(51, 100), pageUrl(101, 150)}));
}

TEST(DrawDownload, RetryNoKeepsEarlierPagesAndStillChecksStakes)
{
    Fixture f(0, 120);
    const stakes::TStakeRecord stake =
        stakes::NewStake(stakes::OriginManual, 30, 0, game::TComb{1, 2, 3, 4, 5, 6, 7, 8}, "Проба", stakes::TPrizeTable(f.stats.Config()));
    f.ws.StakesFile().AppendStakes(stake, 1);
    // The first page arrives, the second fails twice: Yes retries, No stops.
    f.site.failures = {};
    int calls = 0;
    online::TWebAccess web = f.site.Web();
    const auto inner = web.GetPage;
    web.GetPage = [&](const std::string& url, const workspace::TProxyServer& p, bool utf8) -> std::string {
        if (++calls >= 2) throw Error("Couldn't connect to server");
        return inner(url, p, utf8);
    };
    f.sh.answers = {true, false};
    const online::TDownloadResult r = online::RunDrawsDownload(f.ws, f.sh, f.stats, web, f.settings);
    EXPECT_EQ(r.Added, 50);
    EXPECT_TRUE(r.Failed);
    EXPECT_EQ(r.Failure, "Couldn't connect to server");
    EXPECT_EQ(calls, 3);
    ASSERT_EQ(f.sh.questions.size(), 2u);
    for (const auto& q : f.sh.questions) {
        EXPECT_EQ(q.caption, "Ошибка");
        EXPECT_EQ(q.text, RetryQuestion("Couldn't connect to server"));
        EXPECT_TRUE(q.yesIsDefault);
    }
    EXPECT_EQ(f.onDisk().size(), 50u) << "the first page stays saved";
    EXPECT_EQ(f.ws.Ratings().Count(), 1) << "the stake on draw 30 was checked";
    EXPECT_EQ(f.sh.BusyCount(), 0);
}

TEST(DrawDownload, WithoutQuestionsAFailureEndsTheDownload)
{
    Fixture f(0, 120);
    f.settings.AskRetry = false;
    f.site.failures = {"The requested URL returned error: 500"};
    const online::TDownloadResult r = f.Run();
    EXPECT_TRUE(r.Failed);
    EXPECT_EQ(r.Failure, "The requested URL returned error: 500");
    EXPECT_TRUE(f.sh.questions.empty());
    EXPECT_EQ(r.Added, 0);
    EXPECT_EQ(f.site.asked.size(), 1u);
}

TEST(DrawDownload, APageThatAddsNothingEnds)
{
    // The site lists 50 draws the archive already holds (a site that ignores the range).
    Fixture f(60, 60);
    online::TWebAccess web = f.site.Web();
    int calls = 0;
    web.GetPage = [&](const std::string&, const workspace::TProxyServer&, bool) {
        ++calls;
        return util::Utf8ToCp1251(test::OperatorPageFor(f.site.draws, 1, 50));
    };
    const online::TDownloadResult r = online::RunDrawsDownload(f.ws, f.sh, f.stats, web, f.settings);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(r.Added, 0);
    EXPECT_FALSE(r.Failed);
    EXPECT_EQ(r.Skipped[archive::TSkipReason::OutOfRange], 50);
    EXPECT_EQ(online::SkippedText(r.Skipped), "Пропущено тиражей: 50\n\nномер тиража вне запрошенного диапазона: 50");
    EXPECT_EQ(f.ws.DrawCount(), 60);
}

TEST(DrawDownload, AFullPageWithASkippedDrawGoesOn)
{
    Fixture f(0, 70);
    f.site.draws[9].Extra = 7;    // draw 10 cannot be stored
    const online::TDownloadResult r = f.Run();
    EXPECT_EQ(r.Added, 69);
    EXPECT_EQ(r.Skipped[archive::TSkipReason::BadExtra], 1);
    EXPECT_EQ(f.site.asked, (std::vector<std::string>{pageUrl(1, 50), pageUrl(51, 100)}));
    EXPECT_EQ(online::SkippedLines(r.Skipped), (std::vector<std::string>{"дополнительное число вне 1..4: 1"}));
}

TEST(DrawDownload, ABrokenPageIsAFailureOfItsRange)
{
    Fixture f(0, 10);
    online::TWebAccess web = f.site.Web();
    web.GetPage = [](const std::string&, const workspace::TProxyServer&, bool) {
        return std::string("<div class=\"data drawings_data\"><div class=\"elem\">no end of the list");
    };
    f.sh.answers = {false};
    const online::TDownloadResult r = online::RunDrawsDownload(f.ws, f.sh, f.stats, web, f.settings);
    EXPECT_TRUE(r.Failed);
    ASSERT_EQ(f.sh.questions.size(), 1u);
    EXPECT_NE(f.sh.questions[0].text.find("Не удалось найти пару идентификаторов "), std::string::npos);
    EXPECT_EQ(f.ws.DrawCount(), 0);
    EXPECT_EQ(test::ReadBytes(f.dir / archive::ArchiveFileName), "");
}

TEST(DrawDownload, AutomaticProxiesRotateSilentlyAndTheOneThatWorkedIsSaved)
{
    Fixture f(0, 20);
    f.ws.Proxy().Mode = workspace::TProxy::ModeAuto;
    f.ws.Proxy().Saved = false;
    f.ws.Proxy().Candidates = {"10.0.0.1:3128", "10.0.0.2:8080", "10.0.0.3:80"};
    f.site.failures = {"Connection timed out"};
    const online::TDownloadResult r = f.Run();
    EXPECT_EQ(r.Added, 20);
    EXPECT_TRUE(f.sh.questions.empty()) << "another proxy is tried without asking";
    ASSERT_EQ(f.site.proxies.size(), 2u);
    EXPECT_EQ(f.site.proxies[0], (workspace::TProxyServer{"10.0.0.1", 3128, "", ""}));
    EXPECT_EQ(f.site.proxies[1], (workspace::TProxyServer{"10.0.0.2", 8080, "", ""}));
    EXPECT_TRUE(f.ws.Proxy().Candidates.empty()) << "dropped at the end";
    const util::IniFile ini = util::IniFile::Load(f.dir / workspace::Workspace::SettingsFileName);
    EXPECT_EQ(ini.ReadString("PROXY", "ProxyServer", ""), "10.0.0.2");
    EXPECT_EQ(ini.ReadInteger("PROXY", "ProxyPort", 0), 8080);
    EXPECT_EQ(ini.ReadInteger("PROXY", "ProxyMode", 0), 1);
    const std::vector<std::string>& st = f.sh.statusTexts;
    EXPECT_NE(std::find(st.begin(), st.end(), "Загрузка архива тиражей...\n\nПопытка 1, proxy 10.0.0.1 : 3128"), st.end());
    EXPECT_NE(std::find(st.begin(), st.end(), "Загрузка архива тиражей...\n\nПопытка 2, proxy 10.0.0.2 : 8080"), st.end());
}

TEST(DrawDownload, NoProxyFoundEndsWithTheSearchMessage)
{
    Fixture f(0, 20);
    f.ws.Proxy().Mode = workspace::TProxy::ModeAuto;
    const online::TDownloadResult r = f.Run();
    EXPECT_TRUE(r.Failed);
    EXPECT_TRUE(f.site.asked.empty()) << "nothing is sent without a proxy";
    ASSERT_EQ(f.sh.messages.size(), 1u);
    EXPECT_EQ(f.sh.messages[0].text, "Ошибка получения списка proxy-серверов!\n\nno proxy list here");
    EXPECT_EQ(f.ws.DrawCount(), 0);

    // Without a list address the search names the missing setting and asks nobody.
    Fixture g(0, 20);
    g.ws.Proxy().Mode = workspace::TProxy::ModeAuto;
    g.settings.ProxyListUrl.clear();
    EXPECT_TRUE(g.Run().Failed);
    EXPECT_TRUE(g.site.asked.empty());
    ASSERT_EQ(g.sh.messages.size(), 1u);
    EXPECT_EQ(g.sh.messages[0].text, std::string("Ошибка получения списка proxy-серверов!\n\n") + online::NoProxyListUrlText);
}

TEST(DrawDownload, BadPagesFailTheirRangeAndLoseNothing)
{
    // No page of something else passes for "nothing new": each is a failure of its range.
    const std::string garbage(10 * 1024 * 1024, '\x07');
    const std::string ok8 = "<b>1</b><b>2</b><b>3</b><b>4</b><b>5</b><b>6</b><b>7</b><b>8</b>";
    const auto listed = [&](int no, const char* date, const std::string& extra) {
        return util::Format("<div class=\"elem\"><a href=\"/zarvik/archive/%d\">x</a><div class=\"draw_date\" "
                            "title=\"%s\">d</div><div class=\"container cleared\"><div>%s<b class=\"extra\">%s</b>"
                            "</div></div><div class=\"controls\"></div></div>",
                            {no, date, ok8, extra});
    };
    const auto list = [](const std::string& sections) {
        return "<div class=\"data drawings_data\">" + sections + "</div><div class=\"content_decor\"></div>";
    };
    const struct {
        const char* name;
        std::string page, reason;
    } cases[] = {
        {"garbage", "\x01\x02<<<>>>&&&" + garbage.substr(0, 1000),
         "Страница сайта не прочитана: на ней нет списка тиражей (получено байт: 1011)."},
        {"10 MB without markers", garbage, "Страница сайта не прочитана: на ней нет списка тиражей (получено байт: 10485760)."},
        {"10 MB with an open list", "<div class=\"data drawings_data\"><div class=\"elem\">" + garbage, ""},
        {"every draw refused", list(listed(31, "01.01.2099 10:00", "1") + listed(32, "01.02.2020 10:00", "9") + "<div class=\"elem\">"),
         "Страница сайта не прочитана: тиражей в списке 3, отклонено 3 (нет номера, даты или чисел тиража: 1; "
         "дополнительное число вне 1..4: 1; дата тиража позже завтрашнего дня: 1)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f(30, 30);
        const game::TDrawsArray before = f.ws.Draws();
        online::TWebAccess web = f.site.Web();
        web.GetPage = [&](const std::string&, const workspace::TProxyServer&, bool) { return c.page; };
        f.sh.answers = {false};
        const online::TDownloadResult r = online::RunDrawsDownload(f.ws, f.sh, f.stats, web, f.settings);
        EXPECT_EQ(r.Added, 0);
        EXPECT_TRUE(r.Failed);
        ASSERT_EQ(f.sh.questions.size(), 1u);
        EXPECT_LT(f.sh.questions[0].text.size(), 3000u) << "the page is quoted only at its start";
        if (!c.reason.empty()) {
            EXPECT_EQ(r.Failure, c.reason);
        }
        EXPECT_EQ(f.ws.Draws(), before);
        EXPECT_EQ(f.onDisk(), before);
    }
}

TEST(DrawDownload, ASiteThatNeverRunsOutStopsAtTheLimit)
{
    // Every asked range comes back full, dated in the past: only the limit ends it.
    Fixture f(10, 10);
    online::TWebAccess web = f.site.Web();
    web.GetPage = [&](const std::string& url, const workspace::TProxyServer&, bool) {
        const int first = std::stoi(url.substr(url.find("firstDraw=") + 10, 5));
        game::TDrawsArray page = archive::SyntheticDraws(archive::DrawPageRange, first, first);
        for (game::TDraw& d : page) d.SetDateText("01.02.2020 10:00");
        std::reverse(page.begin(), page.end());
        return util::Utf8ToCp1251(test::OperatorPage(page));
    };
    f.settings.MaxDraws = 120;
    f.settings.AskRetry = false;
    const online::TDownloadResult r = online::RunDrawsDownload(f.ws, f.sh, f.stats, web, f.settings);
    EXPECT_TRUE(r.Failed && r.LimitReached);
    EXPECT_EQ(r.Added, 120);
    EXPECT_EQ(r.Failure, "За одну загрузку принимается не больше 120 тиражей; загрузка остановлена, следующая "
                         "продолжит с тиража 131.");
    EXPECT_EQ(f.onDisk().size(), 130u);
    EXPECT_EQ(f.onDisk(), f.ws.Draws());
}

TEST(DrawDownload, PagesAreAppendedAndOnlyWhatWasSavedCounts)
{
    Fixture f(0, 140);
    struct stat before {};
    ASSERT_EQ(::stat((f.dir / archive::ArchiveFileName).c_str(), &before), 0);
    // Room for the first page and a half of the second.
    util::SimulateDiskSpace(75 * static_cast<int64_t>(game::TDraw::RecordSize));
    f.settings.AskRetry = false;
    const online::TDownloadResult r = f.Run();
    util::SimulateDiskSpace(-1);
    EXPECT_TRUE(r.Failed);
    EXPECT_EQ(r.Added, 50);
    EXPECT_EQ(f.ws.DrawCount(), 50) << "the draws the check sees";
    EXPECT_EQ(f.onDisk(), f.ws.Draws());
    EXPECT_EQ(test::ReadBytes(f.dir / archive::ArchiveFileName).size(), 50 * game::TDraw::RecordSize)
        << "no half page left behind";
    struct stat after {};
    ASSERT_EQ(::stat((f.dir / archive::ArchiveFileName).c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "appended to, not rewritten";

    // A file that holds more than memory (records refused at load) is rewritten whole.
    test::WriteBytes(f.dir / archive::ArchiveFileName, test::ReadBytes(f.dir / archive::ArchiveFileName) + "partial");
    workspace::Workspace again(f.dir.path());
    again.LoadArchive(f.sh);
    EXPECT_TRUE(again.AppendDraws(f.sh, {f.site.draws[50]}));
    EXPECT_EQ(archive::ReadArchiveFile(f.dir / archive::ArchiveFileName).draws,
              game::TDrawsArray(f.site.draws.begin(), f.site.draws.begin() + 51));
}

TEST(DrawDownload, ACancelEndsWithoutTheQuestionKeepsEarlierPagesAndChecksStakes)
{
    struct Case {
        const char* name;
        bool throwCancelled;   // the transfer is aborted (kv::Cancelled) rather than failing otherwise
    };
    for (const Case c : {Case{"aborted transfer", true}, Case{"another failure after the Cancel", false}}) {
        SCOPED_TRACE(c.name);
        Fixture f(0, 120);
        const stakes::TStakeRecord stake = stakes::NewStake(stakes::OriginManual, 30, 0, game::TComb{1, 2, 3, 4, 5, 6, 7, 8},
                                                            "Проба", stakes::TPrizeTable(f.stats.Config()));
        f.ws.StakesFile().AppendStakes(stake, 1);
        online::TWebAccess web = f.site.Web();
        const auto inner = web.GetPage;
        int calls = 0;
        web.GetPage = [&](const std::string& url, const workspace::TProxyServer& p, bool utf8) -> std::string {
            if (++calls < 2) return inner(url, p, utf8);
            f.sh.cancelWait = true;
            if (c.throwCancelled) throw Cancelled("Operation was aborted by an application callback");
            throw Error("Connection reset by peer");
        };
        const online::TDownloadResult r = online::RunDrawsDownload(f.ws, f.sh, f.stats, web, f.settings);
        EXPECT_TRUE(r.Cancelled);
        EXPECT_FALSE(r.Failed);
        EXPECT_EQ(r.Added, 50);
        EXPECT_EQ(calls, 2) << "nothing is asked again";
        EXPECT_TRUE(f.sh.questions.empty());
        EXPECT_TRUE(f.sh.messages.empty());
        EXPECT_EQ(f.onDisk(), game::TDrawsArray(f.site.draws.begin(), f.site.draws.begin() + 50));
        EXPECT_EQ(f.ws.Ratings().Count(), 1) << "the stake on draw 30 was checked";
        EXPECT_EQ(f.sh.BusyCount(), 0);
        EXPECT_EQ(f.sh.statusTexts.back(), "");
    }
}

TEST(DrawDownload, ACancelBetweenPagesStopsAfterThePageThatArrived)
{
    Fixture f(0, 120);
    online::TWebAccess web = f.site.Web();
    const auto inner = web.GetPage;
    web.GetPage = [&](const std::string& url, const workspace::TProxyServer& p, bool utf8) {
        std::string page = inner(url, p, utf8);
        f.sh.cancelWait = true;   // pressed while the page was on its way
        return page;
    };
    const online::TDownloadResult r = online::RunDrawsDownload(f.ws, f.sh, f.stats, web, f.settings);
    EXPECT_TRUE(r.Cancelled);
    EXPECT_EQ(r.Added, 50);
    EXPECT_EQ(f.site.asked, (std::vector<std::string>{pageUrl(1, 50)}));
    EXPECT_EQ(f.onDisk().size(), 50u);
}

TEST(DrawDownload, ACancelDuringTheProxySearchEndsQuietly)
{
    Fixture f(0, 20);
    f.ws.Proxy().Mode = workspace::TProxy::ModeAuto;
    online::TWebAccess web = f.site.Web();
    web.GetText = [](const std::string&) -> std::string { throw Cancelled("aborted"); };
    const online::TDownloadResult r = online::RunDrawsDownload(f.ws, f.sh, f.stats, web, f.settings);
    EXPECT_TRUE(r.Cancelled);
    EXPECT_FALSE(r.Failed);
    EXPECT_TRUE(f.sh.messages.empty()) << "no \"Ошибка получения списка proxy-серверов!\" for a Cancel";
    EXPECT_TRUE(f.site.asked.empty());
}

TEST(DrawDownload, StartUpAsksDownloadsOrLeavesTheNetworkAlone)
{
    struct Case {
        int mode;
        bool restarted;   // the start that follows a language change
        std::deque<bool> answers;
        bool downloads;
        bool asks;
    };
    const std::vector<Case> cases = {
        {0, false, {true}, true, true}, {0, false, {false}, false, true}, {1, false, {}, true, false},
        {2, false, {}, false, false},   {0, true, {true}, false, false},  {1, true, {}, true, false},
        {2, true, {}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode * 10 + c.restarted);
        test::ScriptedShell sh;
        sh.answers = c.answers;
        EXPECT_EQ(online::DownloadOnStart(c.mode, sh, c.restarted), c.downloads);
        ASSERT_EQ(sh.questions.size(), c.asks ? 1u : 0u);
        if (c.asks) {
            EXPECT_EQ(sh.questions[0].caption, "Подтверждение");
            EXPECT_EQ(sh.questions[0].text, "Обновить список тиражей?\n\nДля выполнения обновления необходимо действующее "
                                            "подключение к сети Интернет.");
            EXPECT_TRUE(sh.questions[0].yesIsDefault);
        }
    }
}

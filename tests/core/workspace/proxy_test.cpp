#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "core/util/error.h"
#include "core/util/ini.h"
#include "core/online/proxyroute.h"
#include "tests/support/support.h"

using namespace kv;
using workspace::TProxy;

namespace {

TProxy read(const std::string& section)
{
    return workspace::ReadProxySection(util::IniFile::Parse("[PROXY]\r\n" + section));
}

online::TProxySearch noSearch()
{
    return [](std::string_view) -> std::vector<std::string> {
        ADD_FAILURE() << "no search expected";
        return {};
    };
}

} // namespace

TEST(Proxy, SectionDefaults)
{
    struct Case {
        const char* section;
        int mode;
        int inForce;
        const char* server;
        int port;
    };
    const std::vector<Case> cases = {
        {"", 0, 0, "", 80},
        {"ProxyServer=proxy.local\r\n", 2, 2, "proxy.local", 80},   // a server alone means manual
        {"ProxyServer=p\r\nProxyMode=0\r\n", 0, 0, "p", 80},
        {"ProxyMode=1\r\nProxyPort=3128\r\n", 1, 1, "", 3128},
        {"ProxyMode=7\r\n", 7, 0, "", 80},                          // kept, but means none
        {"ProxyMode=300\r\n", 0, 0, "", 80},
        {"ProxyMode=x\r\nProxyServer=p\r\n", 2, 2, "p", 80},
        {"ProxyPort=abc\r\n", 0, 0, "", 80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        const TProxy p = read(c.section);
        EXPECT_EQ(p.Mode, c.mode);
        EXPECT_EQ(p.ModeInForce(), c.inForce);
        EXPECT_EQ(p.Server, c.server);
        EXPECT_EQ(p.Port, c.port);
        EXPECT_EQ(p.Username, "");
        EXPECT_EQ(p.Password, "");
    }
}

TEST(Proxy, SaveAndLoadRoundTripKeepsTheRestOfTheFile)
{
    test::TempDir dir;
    test::ScriptedShell sh;
    const auto ini = dir / "Kvanta_8x20.ini";
    test::WriteBytes(ini, "[GLOBAL]\r\nCost=10\r\n");
    TProxy p;
    p.Mode = TProxy::ModeManual;
    p.Server = "прокси.local";
    p.Port = 8080;
    p.Username = "user";
    p.Password = "pa ss=1";
    ASSERT_TRUE(workspace::SaveProxySettings(p, ini, sh, true));
    EXPECT_TRUE(p.Saved);
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Сохранение файла конфигурации...", ""}));
    EXPECT_EQ(sh.BusyCount(), 0);
    EXPECT_EQ(test::ReadBytes(ini), "[GLOBAL]\r\nCost=10\r\n\r\n[PROXY]\r\nProxyMode=2\r\nProxyServer=\xEF\xF0\xEE\xEA\xF1\xE8.local\r\n"
                                    "ProxyPort=8080\r\nProxyUsername=user\r\nProxyPassword=pa ss=1\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(ini.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "a password is for the owner only";

    TProxy back;
    sh.statusTexts.clear();
    ASSERT_TRUE(workspace::LoadProxySettings(back, ini, sh));
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Загрузка файла конфигурации...", ""}));
    EXPECT_TRUE(back.Saved);
    EXPECT_EQ(back.InUse(), p.InUse());
    EXPECT_EQ(back.Mode, 2);

    // Without status nothing is shown.
    sh.statusTexts.clear();
    back.Saved = false;
    ASSERT_TRUE(workspace::SaveProxySettings(back, ini, sh, false));
    EXPECT_TRUE(sh.statusTexts.empty());
    EXPECT_TRUE(back.Saved);
}

TEST(Proxy, FailuresShowTheirTextAndKeepTheSettings)
{
    test::TempDir dir;
    test::ScriptedShell sh;
    std::filesystem::create_directories(dir / "Kvanta_8x20.ini");   // a folder where the file should be
    TProxy p;
    p.Mode = TProxy::ModeManual;
    p.Server = "kept";
    EXPECT_FALSE(workspace::LoadProxySettings(p, dir / "Kvanta_8x20.ini", sh));
    EXPECT_EQ(p.Server, "kept");
    EXPECT_FALSE(p.Saved);
    ASSERT_EQ(sh.messages.size(), 1u);
    EXPECT_EQ(sh.messages[0].text.rfind("Ошибка чтения файла конфигурации!\n\n", 0), 0u) << sh.messages[0].text;
    EXPECT_FALSE(workspace::SaveProxySettings(p, dir / "Kvanta_8x20.ini", sh, true));
    EXPECT_FALSE(p.Saved);
    ASSERT_EQ(sh.messages.size(), 2u);
    EXPECT_EQ(sh.messages[1].text.rfind("Ошибка записи в файл конфигурации!\n\n", 0), 0u) << sh.messages[1].text;
    EXPECT_EQ(sh.BusyCount(), 0);
}

TEST(Proxy, ApplyByMode)
{
    struct Case {
        uint8_t mode;
        const char* server;
        bool usesProxy;
    };
    for (const Case& c : {Case{0, "p.local", false}, Case{2, "", false}, Case{2, "p.local", true}, Case{5, "p.local", false}}) {
        SCOPED_TRACE(c.mode);
        test::ScriptedShell sh;
        TProxy p;
        p.Mode = c.mode;
        p.Server = c.server;
        p.Port = 3128;
        p.Username = "u";
        workspace::TProxyServer use;
        ASSERT_TRUE(online::ApplyProxy(p, "http://x", 3, sh, noSearch(), use));
        if (c.usesProxy) {
            EXPECT_EQ(use, (workspace::TProxyServer{"p.local", 3128, "u", ""}));
            EXPECT_EQ(sh.statusTexts.back(), "Загрузка архива тиражей...\n\nПопытка 3, proxy p.local : 3128");
        } else {
            EXPECT_EQ(use, workspace::TProxyServer{});
            EXPECT_TRUE(use.Server.empty());
            EXPECT_EQ(sh.statusTexts.back(), "Загрузка архива тиражей...");
        }
        EXPECT_FALSE(online::NextProxy(p)) << "only the automatic mode rotates";
        EXPECT_EQ(p.Server, c.server);
    }
}

TEST(Proxy, AutomaticChoiceSearchesOnceAndRotates)
{
    test::ScriptedShell sh;
    TProxy p;
    p.Mode = TProxy::ModeAuto;
    p.Saved = true;
    int searches = 0;
    std::string target;
    const online::TProxySearch search = [&](std::string_view url) {
        ++searches;
        target = url;
        return std::vector<std::string>{"1.2.3.4:8080", "5.6.7.8:3128"};
    };
    workspace::TProxyServer use;
    ASSERT_TRUE(online::ApplyProxy(p, "https://site", 1, sh, search, use));
    EXPECT_EQ(target, "https://site");
    EXPECT_EQ(sh.statusTexts.front(), "Загрузка архива тиражей...\n\nПоиск proxy-серверов");
    EXPECT_EQ(use, (workspace::TProxyServer{"1.2.3.4", 8080, "", ""}));
    EXPECT_FALSE(p.Saved);
    EXPECT_TRUE(online::NextProxy(p));
    EXPECT_EQ(p.Server, "");
    ASSERT_TRUE(online::ApplyProxy(p, "https://site", 2, sh, search, use));
    EXPECT_EQ(use.Server, "5.6.7.8");
    EXPECT_EQ(searches, 1);
    EXPECT_FALSE(online::NextProxy(p)) << "the list is used up";
    online::DropCandidates(p);
    EXPECT_TRUE(p.Candidates.empty());
}

TEST(Proxy, AutomaticChoiceFailures)
{
    struct Case {
        std::vector<std::string> found;
        const char* thrown;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{}, nullptr, "Ошибка получения списка proxy-серверов!\n\nНе найдено ни одного proxy-сервера с заданными параметрами"},
        {{}, "Couldn't resolve host name", "Ошибка получения списка proxy-серверов!\n\nCouldn't resolve host name"},
        {{"1.2.3.4:port"}, nullptr, "Ошибка автоматического выбора proxy сервера!\n\nНекорректный адрес proxy-сервера: \"1.2.3.4:port\""},
        {{"1.2.3.4"}, nullptr, "Ошибка автоматического выбора proxy сервера!\n\nНекорректный адрес proxy-сервера: \"1.2.3.4\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        test::ScriptedShell sh;
        TProxy p;
        p.Mode = TProxy::ModeAuto;
        workspace::TProxyServer use{"stale", 1, "", ""};
        const online::TProxySearch search = [&](std::string_view) {
            if (c.thrown) throw Error(c.thrown);
            return c.found;
        };
        EXPECT_FALSE(online::ApplyProxy(p, "http://x", 1, sh, search, use));
        EXPECT_TRUE(use.Server.empty());
        ASSERT_EQ(sh.messages.size(), 1u);
        EXPECT_EQ(sh.messages[0].kind, shell::MessageKind::Error);
        EXPECT_EQ(sh.messages[0].text, c.message);
    }
}

TEST(Proxy, SaveIfChangedOnlyWhenNotSaved)
{
    test::TempDir dir;
    test::ScriptedShell sh;
    TProxy p;
    p.Saved = true;
    online::SaveProxyIfChanged(p, dir / "a.ini", sh);
    EXPECT_FALSE(std::filesystem::exists(dir / "a.ini"));
    p.Saved = false;
    p.Mode = TProxy::ModeAuto;
    p.Server = "9.9.9.9";
    online::SaveProxyIfChanged(p, dir / "a.ini", sh);
    EXPECT_TRUE(p.Saved);
    EXPECT_TRUE(sh.statusTexts.empty());
    EXPECT_EQ(util::IniFile::Load(dir / "a.ini").ReadString("PROXY", "ProxyServer", ""), "9.9.9.9");
}

TEST(Proxy, TheDialogChoiceTakesTheFieldsOverAndTheSearchStartsAfresh)
{
    struct Case {
        uint8_t choice;
        TProxy expected;
    };
    const workspace::TProxyServer typed{"proxy.lan", 3128, "ivan", "секрет"};
    const std::vector<Case> cases = {
        {TProxy::ModeNone, {TProxy::ModeNone, "proxy.lan", 3128, "ivan", "секрет", false, {"1.2.3.4:80"}}},
        {TProxy::ModeAuto, {TProxy::ModeAuto, "", 80, "", "", false, {"1.2.3.4:80"}}},
        {TProxy::ModeManual, {TProxy::ModeManual, "proxy.lan", 3128, "ivan", "секрет", false, {"1.2.3.4:80"}}},
        {7, {TProxy::ModeNone, "proxy.lan", 3128, "ivan", "секрет", false, {"1.2.3.4:80"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.choice));
        TProxy p{TProxy::ModeManual, "old.lan", 8080, "u", "p", true, {"1.2.3.4:80"}};
        workspace::ApplyProxyChoice(p, c.choice, typed);
        EXPECT_EQ(p.Mode, c.expected.Mode);
        EXPECT_EQ(p.InUse(), c.expected.InUse());
        EXPECT_FALSE(p.Saved);
        EXPECT_EQ(p.Candidates, c.expected.Candidates);
    }
    // Saved with the automatic choice, the next start finds no server and searches.
    test::TempDir dir;
    test::ScriptedShell sh;
    TProxy p{TProxy::ModeManual, "old.lan", 8080, "u", "p", true, {}};
    workspace::ApplyProxyChoice(p, TProxy::ModeAuto, typed);
    ASSERT_TRUE(workspace::SaveProxySettings(p, dir / "Kvanta_8x20.ini", sh, true));
    const TProxy again = workspace::ReadProxySection(util::IniFile::Load(dir / "Kvanta_8x20.ini"));
    EXPECT_EQ(again.Mode, TProxy::ModeAuto);
    EXPECT_EQ(again.Server, "");
}

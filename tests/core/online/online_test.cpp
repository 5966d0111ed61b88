#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/archive/drawpage.h"
#include "core/online/online.h"
#include "tests/support/support.h"

using namespace kv;
using online::TOnlineUrls;

TEST(OnlineUrls, FileThenEnvironment)
{
    test::TempDir dir;
    const auto ini = dir / "Kvanta_8x20.ini";
    std::map<std::string, std::string> env;
    const auto getEnv = [&](const char* name) -> const char* {
        const auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };

    TOnlineUrls u = online::ReadOnlineUrls(ini, getEnv);
    // No outside address is built in but the catalogue's, which is this machine's.
    EXPECT_EQ(u.OperatorUrl, "");
    EXPECT_EQ(u.ProxyListUrl, "");

    test::WriteBytes(ini, "[ONLINE]\r\nOperatorUrl=http://site.local\r\nProxyListUrl=http://list.local/p\r\n");
    u = online::ReadOnlineUrls(ini, getEnv);
    EXPECT_EQ(u.OperatorUrl, "http://site.local");
    EXPECT_EQ(u.ProxyListUrl, "http://list.local/p");

    env["KVANTA_OPERATOR_URL"] = "http://127.0.0.1:9";
    env["KVANTA_PROXY_LIST_URL"] = "";     // empty: not set
    u = online::ReadOnlineUrls(ini, getEnv);
    EXPECT_EQ(u.OperatorUrl, "http://127.0.0.1:9");
    EXPECT_EQ(u.ProxyListUrl, "http://list.local/p");
    env["KVANTA_PROXY_LIST_URL"] = "http://127.0.0.1:10/x";
    EXPECT_EQ(online::ReadOnlineUrls(ini, getEnv).ProxyListUrl, "http://127.0.0.1:10/x");

    env.clear();
    online::WriteOperatorUrl(ini, "https://other.site");
    EXPECT_EQ(online::ReadOnlineUrls(ini, getEnv).OperatorUrl, "https://other.site");
    EXPECT_EQ(online::ReadOnlineUrls(ini, getEnv).ProxyListUrl, "http://list.local/p");

    EXPECT_EQ(online::ReadOnlineUrls(ini, getEnv).CatalogUrl, TOnlineUrls::DefaultCatalogUrl);
    test::WriteBytes(ini, "[ONLINE]\r\nCatalogUrl=http://club.lan:8088\r\n");
    EXPECT_EQ(online::ReadOnlineUrls(ini, getEnv).CatalogUrl, "http://club.lan:8088");
    env["KVANTA_CATALOG_URL"] = "http://127.0.0.1:11";
    EXPECT_EQ(online::ReadOnlineUrls(ini, getEnv).CatalogUrl, "http://127.0.0.1:11");
}

TEST(OnlineUrls, SiteAddressesTheDownloadCanUse)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"https://www.stoloto.ru", true}, {"HTTP://127.0.0.1:8080", true}, {"http://mirror.lan/lotto/", true},
        {"https://", false}, {"http://", false}, {"ftp://host", false}, {"www.stoloto.ru", false},
        {"https:///path", false}, {"http://host name", false}, {"", false}, {"https://:80", false},
    };
    for (const auto& [url, ok] : cases) EXPECT_EQ(online::IsSiteAddress(url), ok) << url;
    EXPECT_EQ(archive::GamePageUrl("https://www.stoloto.ru/"), "https://www.stoloto.ru/zarvik");
    EXPECT_EQ(archive::GamePageUrl("http://127.0.0.1:5000"), "http://127.0.0.1:5000/zarvik");
}

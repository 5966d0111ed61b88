#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/util/error.h"
#include "core/util/format.h"
#include "core/online/proxylist.h"
#include "tests/support/proxypages.h"

using namespace kv;
using online::TProxyQuery;

namespace {

using test::HiddenText;

std::string row(const std::string& first, const std::string& second, const std::string& port)
{
    return test::ProxyRow(first, second, port);
}

std::string listPage(const std::string& rows, int offset = 0)
{
    return test::ProxyListPage(rows, offset);
}

} // namespace

TEST(ProxyList, QueryText)
{
    TProxyQuery all;
    all.Protocols = 15;
    all.Anonymity = 0b1010;
    all.Countries = "RU, UA;;DE";
    all.MinUptime = 75;
    all.MaxResponseMs = 10999;
    EXPECT_EQ(online::ProxyQueryText(all, 3),
              "protocol=http&protocol=https&protocol=socks4&protocol=socks5&anonlvl=2&anonlvl=4&country=RU&country=UA&"
              "country=DE&min_uptime=75&max_response_time=10&offset=30");
    EXPECT_EQ(online::ProxyQueryText(TProxyQuery{}, 1), "");
    EXPECT_EQ(online::ProxyQueryText(TProxyQuery{}, 2), "offset=15");
    EXPECT_EQ(online::ProxyQueryText(online::AutoProxyQuery("HTTPS://site"), 1),
              "protocol=https&min_uptime=75&max_response_time=10");
    EXPECT_EQ(online::ProxyQueryText(online::AutoProxyQuery("http://site"), 1),
              "protocol=http&protocol=https&min_uptime=75&max_response_time=10");
    EXPECT_EQ(online::AutoProxyQuery("http://site").Wanted, 30);
}

TEST(ProxyList, Decoding)
{
    EXPECT_EQ(online::DecodeHexEscapes("\\x4d\\x54\\x41\\x75"), "MTAu");
    EXPECT_EQ(online::DecodeHexEscapes("\\x4d\\x5"), "M");
    EXPECT_EQ(online::DecodeHexEscapes("\\x4g"), "");
    EXPECT_EQ(online::DecodeBase64("MTAuMjAuMzA="), "10.20.30");
    EXPECT_EQ(online::DecodeBase64("LjQ1"), ".45");
    EXPECT_EQ(online::DecodeBase64(""), "");
    EXPECT_EQ(online::DecodeBase64(online::DecodeHexEscapes(HiddenText("3.44"))), "3.44");
}

TEST(ProxyList, ReadsRowsWithThePortOffset)
{
    std::vector<std::string> found;
    const std::string page = listPage(row("192.168.", "1.10", "3000") + row("10.0.", "0.7", "8000"), 80);
    EXPECT_EQ(online::ReadProxyListPage(page, 0, found), 2);
    EXPECT_EQ(found, (std::vector<std::string>{"192.168.1.10:3080", "10.0.0.7:8080"}));
    found.clear();
    EXPECT_EQ(online::ReadProxyListPage(page, 8080, found), 2) << "filtered rows still count";
    EXPECT_EQ(found, (std::vector<std::string>{"10.0.0.7:8080"}));
    found.clear();
    EXPECT_EQ(online::ReadProxyListPage("<html>nothing</html>", 0, found), 0);
    EXPECT_TRUE(found.empty());
}

TEST(ProxyList, ANonNumericPortFailsTheSearch)
{
    for (const char* port : {"80x", "", "x"}) {
        std::vector<std::string> found;
        try {
            online::ReadProxyListPage(listPage(row("1.2.", "3.4", port)), 0, found);
            ADD_FAILURE() << "no failure for " << port;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), std::string("Некорректный номер порта proxy-сервера: \"") + port + "\"");
        }
    }
}

TEST(ProxyList, SearchWalksPagesOfFifteen)
{
    std::string page1;
    for (int i = 0; i < 15; ++i) page1 += row("10.0.", "1." + std::to_string(i), "8080");
    const std::string page2 = row("10.0.", "2.1", "3128") + row("10.0.", "2.2", "3128");
    std::vector<std::string> asked;
    const auto getText = [&](const std::string& url) {
        asked.push_back(url);
        return url.find("offset=15") != std::string::npos ? listPage(page2) : listPage(page1);
    };
    const std::vector<std::string> found =
        online::SearchProxies(getText, "http://127.0.0.1:1/list", online::AutoProxyQuery("http://x"));
    EXPECT_EQ(asked, (std::vector<std::string>{
                         "http://127.0.0.1:1/list?protocol=http&protocol=https&min_uptime=75&max_response_time=10",
                         "http://127.0.0.1:1/list?protocol=http&protocol=https&min_uptime=75&max_response_time=10&offset=15"}));
    ASSERT_EQ(found.size(), 17u);
    EXPECT_EQ(found.front(), "10.0.1.0:8080");
    EXPECT_EQ(found.back(), "10.0.2.2:3128");

    // No more than wanted, and no page beyond them.
    TProxyQuery few = online::AutoProxyQuery("http://x");
    few.Wanted = 10;
    asked.clear();
    EXPECT_EQ(online::SearchProxies(getText, "http://h/l", few).size(), 10u);
    EXPECT_EQ(asked.size(), 1u);
}

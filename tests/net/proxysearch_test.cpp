#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/util/error.h"
#include "core/online/proxylist.h"
#include "net/httpclient.h"
#include "tests/net/localserver.h"
#include "tests/support/proxypages.h"

using namespace kv;

TEST(ProxySearch, TwoPagesOfRowsFromALocalList)
{
    std::string first;
    for (int i = 0; i < 15; ++i) first += test::ProxyRow("10.1.", "0." + std::to_string(i), "3000");
    const std::string second = test::ProxyRow("10.2.", "0.1", "3000") + test::ProxyRow("10.2.", "0.2", "x");
    test::LocalServer s;
    std::vector<std::string> queries;
    bool badPort = false;
    s.server.Get("/list", [&](const httplib::Request& req, httplib::Response& res) {
        queries.push_back(req.has_param("offset") ? req.get_param_value("offset") : "-");
        const bool next = req.has_param("offset");
        const std::string rows = next ? (badPort ? second : test::ProxyRow("10.2.", "0.1", "3000")) : first;
        res.set_content(test::ProxyListPage(rows, 128), "text/html");
    });
    s.Start();
    const auto getText = [](const std::string& url) { return net::HttpGetText(url, true); };

    const std::vector<std::string> found =
        online::SearchProxies(getText, s.Url("/list"), online::AutoProxyQuery("https://site"));
    EXPECT_EQ(queries, (std::vector<std::string>{"-", "15"}));
    ASSERT_EQ(found.size(), 16u);
    EXPECT_EQ(found[0], "10.1.0.0:3128");
    EXPECT_EQ(found[15], "10.2.0.1:3128");

    // A non-numeric port on the second page fails the whole search.
    badPort = true;
    try {
        online::SearchProxies(getText, s.Url("/list"), online::AutoProxyQuery("https://site"));
        ADD_FAILURE() << "no failure";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Некорректный номер порта proxy-сервера: \"x\"");
    }
}

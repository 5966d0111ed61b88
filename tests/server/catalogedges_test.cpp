// The catalogue server against clients that do not play by the rules: slow, idle, cut short,
// too many, too eager to write, or with doubled headers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/util/catalogwire.h"
#include "tests/support/localcatalog.h"
#include "tests/support/rawhttp.h"
#include "tests/support/support.h"

namespace kv {
namespace {

using namespace std::chrono_literals;

// A server with short deadlines and small budgets, one event loop, over a SQLite file.
class CatalogEdgesTest : public ::testing::Test {
protected:
    static server::TServerLimits limits()
    {
        server::TServerLimits l;
        l.Threads = 1;
        l.ConnectionsPerAddress = 4;
        l.HeaderSeconds = 1;
        l.RequestSeconds = 2;
        l.WriteBurst = 3;
        l.WritesPerHour = 1;
        return l;
    }
    test::TempDir dir;
    test::LocalCatalog cat{(dir / "c.db").string(), {}, limits()};

    // A socket from 127.0.0.<host>, closed at the end of the test.
    int open(int host)
    {
        const int fd = test::ConnectFrom(host, cat.Port());
        EXPECT_GE(fd, 0);
        m_fds.push_back(fd);
        return fd;
    }
    void TearDown() override
    {
        for (const int fd : m_fds) ::close(fd);
    }
    static std::string post(const std::string& path, const std::string& headers, const std::string& body)
    {
        return "POST " + path + " HTTP/1.1\r\nHost: x\r\n" + headers + "\r\n" + body;
    }

private:
    std::vector<int> m_fds;
};

TEST_F(CatalogEdgesTest, SlowAndIdleConnectionsAreClosedAtTheirDeadlinesWhileOthersAreServed)
{
    const int headers = open(2), body = open(3), idle = open(4);
    test::SendAll(headers, "POST /scripts/app_version.php HTTP/1.1\r\nHost: x\r\nX-Slow: a");
    test::SendAll(body, post("/scripts/scr_getdata.php", "Content-Length: 100\r\n", "scr_id=1"));
    test::SendAll(idle, post("/scripts/app_version.php", "Content-Length: 0\r\n", ""));
    const std::string first = test::ReadUntilClosed(idle, 300ms);
    EXPECT_NE(first.find("200 OK"), std::string::npos) << first;
    // A byte now and then does not move the deadline; the one event loop still serves others.
    for (int i = 0; i < 4; ++i) {
        std::this_thread::sleep_for(200ms);
        test::SendAll(headers, "a");
        test::SendAll(body, "&");
        EXPECT_EQ(cat.Post("/scripts/app_version.php", {}), util::TaggedAnswer({}));
    }
    EXPECT_TRUE(test::ClosedWithin(headers, 1500ms));
    EXPECT_TRUE(test::ClosedWithin(idle, 1500ms));
    // A body shorter than its length is answered with a time-out, not "too large".
    const std::string answer = test::ReadUntilClosed(body, 2500ms);
    EXPECT_EQ(answer.rfind("HTTP/1.1 408 ", 0), 0u) << answer;
    EXPECT_NE(answer.find(util::TaggedError("Время ожидания запроса истекло")), std::string::npos) << answer;
}

TEST_F(CatalogEdgesTest, ConnectionsBeyondThePerAddressLimitAreRefusedOthersNot)
{
    for (int i = 0; i < 4; ++i) test::SendAll(open(5), "POST /");
    const int fifth = open(5);
    EXPECT_TRUE(test::ClosedWithin(fifth, 1000ms));
    const int other = open(6);
    test::SendAll(other, post("/scripts/app_version.php", "Content-Length: 0\r\nConnection: close\r\n", ""));
    EXPECT_NE(test::ReadUntilClosed(other, 1000ms).find("200 OK"), std::string::npos);
}

TEST_F(CatalogEdgesTest, MalformedLengthsAndWritesPastTheBudgetAreRefused)
{
    struct Case {
        std::string headers, body, status, error;
    };
    const std::vector<Case> cases = {
        {"Content-Length: 8\r\nContent-Length: 9\r\n", "scr_id=1", "400", "Неверный запрос"},
        {"Content-Length: 8\r\ncontent-length: 8\r\n", "scr_id=1", "400", "Неверный запрос"},
        {"Content-Length: 8\r\n", "scr_id=1", "200", "Сценарий #1 не найден"},
    };
    int host = 10;
    for (const Case& c : cases) {
        const int fd = open(host++);
        test::SendAll(fd, post("/scripts/scr_getdata.php", c.headers + "Connection: close\r\n", c.body));
        const std::string answer = test::ReadUntilClosed(fd, 1000ms);
        EXPECT_EQ(answer.substr(0, 12), "HTTP/1.1 " + c.status) << c.headers;
        EXPECT_NE(answer.find(util::TaggedError(c.error)), std::string::npos) << answer;
    }
    // Three writes pass, the fourth from the same address does not; reading still does.
    const util::TFormFields rate = {{"scr_id", "1"},  {"rate_value", "1"},         {"rate_notes", ""},
                                    {"cl_name", "A"}, {"cl_mail", "a@example.org"}, {"cl_key", "k"}};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(util::RowField(util::ReadTaggedRows(cat.Post("/scripts/scr_setrate.php", rate)).at(0), "res_code"),
                  "-1");
    EXPECT_EQ(cat.Post("/scripts/scr_setrate.php", rate), "HTTP 429");
    EXPECT_EQ(cat.Post("/scripts/app_version.php", {}), util::TaggedAnswer({}));
}

} // namespace
} // namespace kv

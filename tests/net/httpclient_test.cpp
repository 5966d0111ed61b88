#include <curl/curl.h>
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>
#include <zlib.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "net/httpclient.h"
#include "tests/net/localserver.h"

using namespace kv;
using namespace std::chrono_literals;

namespace {

// windowBits 31 gives a gzip stream, 15 a zlib ("deflate") one.
std::string compress(const std::string& text, int windowBits)
{
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&z, static_cast<uLong>(text.size())) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    z.avail_in = static_cast<uInt>(text.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string failureOf(const std::function<void()>& request)
{
    try {
        request();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no failure)";
}

const workspace::TProxyServer NoProxy{};

// A fresh key and a certificate for 127.0.0.1 signed by that key alone.
struct SelfSigned {
    EVP_PKEY* key = EVP_RSA_gen(2048);
    X509* cert = X509_new();
    SelfSigned()
    {
        X509_set_version(cert, 2);
        ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
        X509_gmtime_adj(X509_getm_notBefore(cert), -60);
        X509_gmtime_adj(X509_getm_notAfter(cert), 3600);
        X509_set_pubkey(cert, key);
        X509_NAME* name = X509_get_subject_name(cert);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
        X509_set_issuer_name(cert, name);
        X509_sign(cert, key, EVP_sha256());
    }
    ~SelfSigned()
    {
        X509_free(cert);
        EVP_PKEY_free(key);
    }
};

// The page fetcher's time-outs put back after a test that shortened them.
struct ShortTimeouts {
    net::TPageTimeouts saved = net::PageTimeouts();
    explicit ShortTimeouts(std::chrono::milliseconds read) { net::PageTimeouts().Read = read; }
    ~ShortTimeouts() { net::PageTimeouts() = saved; }
};

} // namespace

TEST(HttpClient, SendsTheRequestProfile)
{
    test::LocalServer s;
    httplib::Headers seen;
    std::string version;
    s.server.Get("/p", [&](const httplib::Request& req, httplib::Response& res) {
        seen = req.headers;
        version = req.version;
        res.set_content("ok", "application/octet-stream");
    });
    s.Start();
    net::PageClient pages;
    EXPECT_EQ(pages.GetPage(s.Url("/p"), NoProxy, false), "ok");
    const auto header = [&](const char* name) {
        const auto it = seen.find(name);
        return it == seen.end() ? std::string("(none)") : it->second;
    };
    EXPECT_EQ(header("Accept"), "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
    EXPECT_EQ(header("Accept-Encoding"), "gzip, deflate, sdch");
    EXPECT_EQ(header("User-Agent"),
              "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/47.0.2526.80 Safari/537.36");
    EXPECT_EQ(version, "HTTP/1.1");
    EXPECT_EQ(header("Connection"), "(none)") << "one request per connection, closed by the client";
}

TEST(HttpClient, CompressedBodiesArriveInflated)
{
    const std::string page = "<html>" + std::string(5000, 'x') + " Тираж</html>";
    struct Case {
        const char* encoding;
        int windowBits;
    };
    for (const Case& c : {Case{"gzip", 31}, Case{"deflate", 15}}) {
        SCOPED_TRACE(c.encoding);
        test::LocalServer s;
        const std::string body = compress(page, c.windowBits);
        s.server.Get("/z", [&](const httplib::Request&, httplib::Response& res) {
            res.set_header("Content-Encoding", c.encoding);
            res.set_content(body, "application/octet-stream");
        });
        s.Start();
        net::PageClient pages;
        EXPECT_EQ(pages.GetPage(s.Url("/z"), NoProxy, false), page);
        EXPECT_EQ(pages.GetPage(s.Url("/z"), NoProxy, true), util::Utf8ToCp1251(page));
        EXPECT_EQ(net::HttpGetText(s.Url("/z"), false), page);
    }
}

TEST(HttpClient, BrokenCompressedBodiesFail)
{
    const std::string whole = compress("<html>" + std::string(200000, 'y') + "</html>", 31);
    std::string damaged = whole;
    damaged[whole.size() / 2] = static_cast<char>(damaged[whole.size() / 2] ^ 0x5A);
    struct Case {
        const char* encoding;
        std::string body;
        const char* failure;
    };
    const std::vector<Case> cases = {
        {"gzip", whole.substr(0, whole.size() / 2), "Сжатый (gzip) ответ сервера оборван: данные неполны"},
        {"gzip", whole.substr(0, whole.size() - 4), "Сжатый (gzip) ответ сервера оборван: данные неполны"},
        {"deflate", compress("abc", 15).substr(0, 4), "Сжатый (deflate) ответ сервера оборван: данные неполны"},
        {"gzip", "not compressed at all", "Сжатый (gzip) ответ сервера поврежден: incorrect header check"},
        {"br", "xx", "Unrecognized content encoding type. libcurl understands deflate, gzip content encodings."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failure);
        test::LocalServer s;
        s.server.Get("/t", [&](const httplib::Request&, httplib::Response& res) {
            res.set_header("Content-Encoding", c.encoding);
            res.set_content(c.body, "application/octet-stream");
        });
        s.Start();
        net::PageClient pages;
        EXPECT_EQ(failureOf([&] { pages.GetPage(s.Url("/t"), NoProxy, true); }), c.failure);
    }
    // A damaged stream fails one way or the other, never as a page.
    test::LocalServer s;
    s.server.Get("/d", [&](const httplib::Request&, httplib::Response& res) {
        res.set_header("Content-Encoding", "gzip");
        res.set_content(damaged, "application/octet-stream");
    });
    s.Start();
    EXPECT_EQ(failureOf([&] { net::HttpGetText(s.Url("/d"), false); }).rfind("Сжатый (gzip) ответ сервера ", 0), 0u);
}

TEST(HttpClient, RedirectsAndCookies)
{
    test::LocalServer s;
    std::vector<std::string> cookies;
    s.server.Get("/old", [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/new"); });
    s.server.Get("/new", [](const httplib::Request&, httplib::Response& res) { res.set_content("moved here", "text/plain"); });
    s.server.Get("/login", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Set-Cookie", "session=abc123; Path=/");
        res.set_content("hello", "text/plain");
    });
    s.server.Get("/next", [&](const httplib::Request& req, httplib::Response& res) {
        cookies.push_back(req.get_header_value("Cookie"));
        res.set_content("next", "text/plain");
    });
    s.Start();

    net::PageClient pages;
    EXPECT_EQ(pages.GetPage(s.Url("/old"), NoProxy, false), "moved here");
    EXPECT_EQ(pages.GetPage(s.Url("/login"), NoProxy, false), "hello");
    EXPECT_EQ(pages.GetPage(s.Url("/next"), NoProxy, false), "next");
    // A stand-alone request has a client of its own: no cookie, and a redirect only when asked.
    EXPECT_EQ(net::HttpGetText(s.Url("/next"), true), "next");
    EXPECT_EQ(cookies, (std::vector<std::string>{"session=abc123", ""}));
    EXPECT_EQ(net::HttpGetText(s.Url("/old"), true), "moved here");
    EXPECT_EQ(net::HttpGetText(s.Url("/old"), false), "");
}

TEST(HttpClient, ErrorStatusesAndRefusedConnectionsFailWithCurlsText)
{
    test::LocalServer s;
    s.server.Get("/500", [](const httplib::Request&, httplib::Response& res) {
        res.status = 500;
        res.set_content("<html>oops</html>", "text/html");
    });
    s.Start();
    net::PageClient pages;
    EXPECT_EQ(failureOf([&] { pages.GetPage(s.Url("/500"), NoProxy, true); }),
              "Сервер ответил ошибкой HTTP 500 (The requested URL returned error: 500)");
    EXPECT_EQ(failureOf([&] { net::HttpGetText(s.Url("/missing"), true); }),
              "Сервер ответил ошибкой HTTP 404 (The requested URL returned error: 404)");
    const std::string dead = s.Url("/x");
    s.Stop();
    const std::string refused = failureOf([&] { net::HttpGetText(dead, true); });
    EXPECT_EQ(refused.rfind("Сервер не принимает соединение (Failed to connect to 127.0.0.1 port ", 0), 0u) << refused;
    // The client works again after a failure.
    test::LocalServer again;
    again.server.Get("/ok", [](const httplib::Request&, httplib::Response& res) { res.set_content("ok", "text/plain"); });
    again.Start();
    EXPECT_EQ(pages.GetPage(again.Url("/ok"), NoProxy, false), "ok");
}

TEST(HttpClient, CommonFailuresSayWhatWentWrongInRussian)
{
    struct Case {
        int code;
        long status;
        std::string text;
    };
    const std::vector<Case> cases = {
        {CURLE_COULDNT_RESOLVE_HOST, 0, "Не удалось найти сервер по имени: нет сети или адрес неверен (d)"},
        {CURLE_COULDNT_RESOLVE_PROXY, 0, "Не удалось найти proxy-сервер по имени (d)"},
        {CURLE_COULDNT_CONNECT, 0, "Сервер не принимает соединение (d)"},
        {CURLE_OPERATION_TIMEDOUT, 0, "Сервер не ответил вовремя (d)"},
        {CURLE_PEER_FAILED_VERIFICATION, 0,
         "Не удалось установить защищённое соединение (TLS): сертификат сайта не прошёл проверку или сайт не "
         "поддерживает TLS (d)"},
        {CURLE_HTTP_RETURNED_ERROR, 503, "Сервер ответил ошибкой HTTP 503 (d)"},
        {CURLE_HTTP_RETURNED_ERROR, 0, "Сервер ответил ошибкой HTTP (d)"},
        {CURLE_GOT_NOTHING, 0, "Соединение с сервером прервано (d)"},
        {CURLE_TOO_MANY_REDIRECTS, 0, "d"},
    };
    for (const Case& c : cases) EXPECT_EQ(net::FailureText(c.code, c.status, "d"), c.text) << c.code;
}

TEST(HttpClient, AServerThatNeverAnswersTimesOut)
{
    test::LocalServer s;
    std::atomic<bool> release{false};
    s.server.Get("/hang", [&](const httplib::Request&, httplib::Response& res) {
        for (int i = 0; i < 1000 && !release; ++i) std::this_thread::sleep_for(10ms);
        res.set_content("late", "text/plain");
    });
    s.Start();
    ShortTimeouts shortRead(1000ms);
    net::PageClient pages;
    const auto started = std::chrono::steady_clock::now();
    const std::string failure = failureOf([&] { pages.GetPage(s.Url("/hang"), NoProxy, true); });
    const auto took = std::chrono::steady_clock::now() - started;
    release = true;
    EXPECT_EQ(failure.rfind("Сервер не ответил вовремя (Operation too slow", 0), 0u) << failure;
    EXPECT_LT(took, 8s) << "the shortened read time-out, not the handler's 10 s";
}

TEST(HttpClient, ABodyThatTricklesEndsAtTheTotalLimit)
{
    // A few bytes every 200 ms: never idle long enough for the read time-out.
    test::LocalServer s;
    std::atomic<bool> release{false};
    s.server.Get("/trickle", [&](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("text/html", [&](std::size_t, httplib::DataSink& sink) {
            if (release) return false;
            std::this_thread::sleep_for(200ms);
            return sink.write("<p>x", 4);
        });
    });
    s.Start();
    EXPECT_EQ(net::PageTimeouts().Total, 60s) << "the page fetch's own limit";
    ShortTimeouts limits(1000ms);
    net::PageTimeouts().Total = 1500ms;
    net::PageClient pages;
    const auto started = std::chrono::steady_clock::now();
    const std::string failure = failureOf([&] { pages.GetPage(s.Url("/trickle"), NoProxy, true); });
    const auto took = std::chrono::steady_clock::now() - started;
    release = true;
    EXPECT_NE(failure.find("timed out"), std::string::npos) << failure;
    EXPECT_LT(took, 8s);
}

TEST(HttpClient, PostFormEncodesTheFields)
{
    test::LocalServer s;
    std::string body;
    std::string type;
    s.server.Post("/form", [&](const httplib::Request& req, httplib::Response& res) {
        body = req.body;
        type = req.get_header_value("Content-Type");
        res.set_content("posted", "text/plain");
    });
    s.Start();
    EXPECT_EQ(net::HttpPostForm(s.Url("/form"), {{"name", "Сценарий 1"}, {"a&b", "x=y+z"}, {"empty", ""}}, false),
              "posted");
    EXPECT_EQ(type, "application/x-www-form-urlencoded");
    EXPECT_EQ(body, "name=%D0%A1%D1%86%D0%B5%D0%BD%D0%B0%D1%80%D0%B8%D0%B9%201&a%26b=x%3Dy%2Bz&empty=");
}

TEST(HttpClient, TlsCertificatesAreVerified)
{
    // A server with a certificate that no authority signed: every kind of request refuses it.
    SelfSigned id;
    test::BasicLocalServer<httplib::SSLServer> s(id.cert, id.key);
    int served = 0;
    s.server.Get("/", [&](const httplib::Request&, httplib::Response& res) {
        ++served;
        res.set_content("secret", "text/plain");
    });
    s.Start();
    ASSERT_TRUE(s.server.is_valid());
    net::PageClient pages;
    for (const std::string& failure : {failureOf([&] { pages.GetPage(s.Url("/"), NoProxy, true); }),
                                       failureOf([&] { net::HttpGetText(s.Url("/"), true); }),
                                       failureOf([&] { net::HttpPostForm(s.Url("/"), {{"a", "b"}}, true); })})
        EXPECT_NE(failure.find("TLS): сертификат сайта не прошёл проверку или сайт не поддерживает TLS "
                               "(SSL certificate problem: self-signed certificate"),
                  std::string::npos)
            << failure;
    EXPECT_EQ(served, 0);

    // And a plain server does not pass for a TLS one.
    test::LocalServer plain;
    plain.server.Get("/", [](const httplib::Request&, httplib::Response& res) { res.set_content("plain", "text/plain"); });
    plain.Start();
    const std::string failure =
        failureOf([&] { net::HttpGetText("https://127.0.0.1:" + std::to_string(plain.Port()) + "/", false); });
    EXPECT_NE(failure, "(no failure)");
}

TEST(HttpClient, AbortCheckCancelsTheTransfer)
{
    test::LocalServer s;
    std::atomic<bool> release{false};
    s.server.Get("/slow", [&](const httplib::Request&, httplib::Response& res) {
        for (int i = 0; i < 500 && !release; ++i) std::this_thread::sleep_for(10ms);
        res.set_content("late", "text/plain");
    });
    s.Start();
    net::PageClient pages;
    int polls = 0;
    pages.Client().SetAbortCheck([&] { return ++polls >= 2; });
    EXPECT_THROW(pages.GetPage(s.Url("/slow"), NoProxy, false), net::RequestCancelled);
    // The core's download knows a cancel by its own type, not by net's.
    polls = 0;
    EXPECT_THROW(pages.GetPage(s.Url("/slow"), NoProxy, false), Cancelled);
    release = true;
    EXPECT_GE(polls, 2);
}

TEST(HttpClient, ProxyIsUsedWhenGiven)
{
    // The local server plays the proxy: a request through it arrives with the full address.
    test::LocalServer proxy;
    std::string target;
    std::string auth;
    proxy.server.Get(R"(.*)", [&](const httplib::Request& req, httplib::Response& res) {
        target = req.target;
        auth = req.get_header_value("Proxy-Authorization");
        res.set_content("via proxy", "text/plain");
    });
    proxy.Start();
    net::PageClient pages;
    EXPECT_EQ(pages.GetPage("http://lotto.invalid/page?x=1", {"127.0.0.1", proxy.Port(), "user", "pw"}, false),
              "via proxy");
    EXPECT_EQ(target, "http://lotto.invalid/page?x=1");
    EXPECT_EQ(auth, "Basic dXNlcjpwdw==");
    // Without a proxy the same client goes straight to the address again.
    EXPECT_EQ(pages.GetPage(proxy.Url("/direct"), NoProxy, false), "via proxy");
    EXPECT_EQ(target, "/direct");
    EXPECT_EQ(auth, "");
}

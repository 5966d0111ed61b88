#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/util/error.h"
#include "core/workspace/proxy.h"

namespace kv::net {

// Every request the program sends looks the same: a browser's Accept and User-Agent headers,
// gzip and deflate bodies inflated on arrival, HTTP/1.1, TLS certificates verified against the
// system's store (an https address is never followed to plain http), no proxy but the one the
// settings name (never one from the environment). Failures (a refused connection, a time-out,
// an error status, a certificate that does not verify, a damaged body) are kv::Error; the
// common ones say in Russian what went wrong, with curl's own text after it (FailureText).
extern const char* const AcceptHeader;
extern const char* const AcceptEncodingHeader;
extern const char* const UserAgentHeader;

// A transfer stopped by the abort check (the user's Cancel).
class RequestCancelled : public Cancelled {
public:
    using Cancelled::Cancelled;
};

// The text of a failed transfer: for a name not resolved, a refused connection, a time-out, a
// TLS failure, an error status and a broken connection a Russian sentence with `detail` (curl's
// text) in brackets after it; any other failure keeps `detail` alone.
std::string FailureText(int curlCode, long httpStatus, const std::string& detail);

// A body larger than this fails the request instead of filling the memory.
constexpr std::size_t MaxBodyBytes = 32u << 20;

struct THttpTimeouts {
    std::chrono::milliseconds Connect{0};  // 0: curl's default
    std::chrono::milliseconds Idle{0};     // no byte for this long ends the request; 0: none
    std::chrono::milliseconds Total{0};    // the whole request; 0: no limit
};

// One curl handle with the request profile. Cookies live as long as the object.
class HttpClient {
public:
    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    void SetProxy(const workspace::TProxyServer& proxy);   // empty Server: none
    void SetTimeouts(const THttpTimeouts& timeouts);
    void SetFollowRedirects(bool follow);
    // Called while a transfer runs; returning true aborts it (a Cancel button, event pumping).
    void SetAbortCheck(std::function<bool()> check);

    // The body as received. The connection is closed afterwards whatever happened.
    std::string Get(const std::string& url);
    // fields as name=value pairs, sent as application/x-www-form-urlencoded.
    std::string PostForm(const std::string& url, const std::vector<std::pair<std::string, std::string>>& fields);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

// The page fetcher's time-outs: 5 s to connect, 10 s without a byte, 60 s for the whole page (a
// body that trickles in a few bytes a second never trips the first two). Tests shorten them.
struct TPageTimeouts {
    std::chrono::milliseconds Connect{5000};
    std::chrono::milliseconds Read{10000};
    std::chrono::milliseconds Total{60000};
};
TPageTimeouts& PageTimeouts();

// The main window's fetcher: one client for the program's life (its cookies stay), following
// redirects, through the proxy it is handed.
class PageClient {
public:
    // With utf8 the body is read as UTF-8 and returned in CP1251 ("?" for what CP1251 lacks);
    // otherwise the bytes as they came.
    std::string GetPage(const std::string& url, const workspace::TProxyServer& proxy, bool utf8);
    HttpClient& Client() { return m_client; }

private:
    HttpClient m_client;
};

// Stand-alone requests: a fresh client each (no cookies kept), no proxy, 10 s to connect and 60 s
// for the whole request.
std::string HttpGetText(const std::string& url, bool followRedirects);
std::string HttpPostForm(const std::string& url, const std::vector<std::pair<std::string, std::string>>& fields,
                         bool followRedirects);
THttpTimeouts StandAloneTimeouts();

} // namespace kv::net

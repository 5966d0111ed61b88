#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::online {

// What the automatic search asks the public proxy-list service for.
struct TProxyQuery {
    enum : unsigned { Http = 1, Https = 2, Socks4 = 4, Socks5 = 8 };
    unsigned Protocols = 0;        // bits above
    unsigned Anonymity = 0;        // bit k-1 for level k of 1..4
    std::string Countries;         // words separated by "," or ";"
    int MinUptime = 0;             // percent; 0 leaves it out
    int MaxResponseMs = 0;         // 0 leaves it out; the service counts whole seconds
    int Port = 0;                  // 0: any
    int Wanted = 30;
};

// The search the download runs for a target address: https proxies only for an https target,
// else http and https; uptime at least 75; answers within 10 s; any port; 30 entries.
TProxyQuery AutoProxyQuery(std::string_view targetUrl);

// The query of page p (1, 2, ...): "protocol=http&protocol=https&min_uptime=75&max_response_time=10",
// with "&offset=15" and so on from the second page.
std::string ProxyQueryText(const TProxyQuery& query, int page);
constexpr int ProxyRowsPerPage = 15;

// Reads one page of the list: appends "address:port" for every row whose port passes the
// filter (0: any) and returns the number of rows read (0 for a page without a table body).
// Fails with kv::Error on a port that is not a number or a table body without its end.
int ReadProxyListPage(std::string_view body, int portFilter, std::vector<std::string>& out);

// "\x4d\x54" -> "MT", then Base64; used by the list's address halves. Anything that does not
// decode gives what decoded before it.
std::string DecodeHexEscapes(std::string_view text);
std::string DecodeBase64(std::string_view text);

// Asks the service page by page (getText fetches one address) until `Wanted` entries are found
// or a page gives fewer than 15 rows. Fails with kv::Error.
std::vector<std::string> SearchProxies(const std::function<std::string(const std::string&)>& getText,
                                       std::string_view listUrl, const TProxyQuery& query);

} // namespace kv::online

#include "core/online/proxylist.h"

#include <algorithm>

#include "core/game/texts.h"
#include "core/util/catalogwire.h"
#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "core/util/format.h"
#include "core/util/ini.h"
#include "core/util/textcut.h"
#include "core/online/online.h"

namespace kv::online {

namespace {

using util::CutMode;

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The port text is digits only: "80x" or "" fails the search rather than give a wrong port.
int portOf(const std::string& text)
{
    int64_t v = 0;
    const bool digits = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || !util::TryParseInt(text, v) || v > 65535)
        throw Error(util::Format("Некорректный номер порта proxy-сервера: \"%s\"", {util::Cp1251ToUtf8(text)}));
    return static_cast<int>(v);
}

} // namespace

TProxyQuery AutoProxyQuery(std::string_view targetUrl)
{
    TProxyQuery q;
    const bool https = util::AnsiFindNoCase(targetUrl, "https://") == 0;
    q.Protocols = https ? TProxyQuery::Https : TProxyQuery::Http | TProxyQuery::Https;
    q.MinUptime = 75;
    q.MaxResponseMs = 10000;
    q.Wanted = 30;
    return q;
}

std::string ProxyQueryText(const TProxyQuery& query, int page)
{
    std::vector<std::string> parts;
    const char* const protocols[] = {"http", "https", "socks4", "socks5"};
    for (unsigned bit = 0; bit < 4; ++bit)
        if (query.Protocols & (1u << bit)) parts.push_back(std::string("protocol=") + protocols[bit]);
    for (unsigned bit = 0; bit < 4; ++bit)
        if (query.Anonymity & (1u << bit)) parts.push_back(util::Format("anonlvl=%d", {bit + 1}));
    std::string word;
    for (const char c : query.Countries + ",") {
        if (c == ',' || c == ';') {
            const std::string_view w = util::TrimControl(word);
            if (!w.empty()) parts.push_back("country=" + std::string(w));
            word.clear();
        } else {
            word += c;
        }
    }
    if (query.MinUptime > 0) parts.push_back(util::Format("min_uptime=%d", {query.MinUptime}));
    if (query.MaxResponseMs > 0) parts.push_back(util::Format("max_response_time=%d", {query.MaxResponseMs / 1000}));
    if (page > 1) parts.push_back(util::Format("offset=%d", {(page - 1) * ProxyRowsPerPage}));
    std::string text;
    for (const std::string& p : parts) text += (text.empty() ? "" : "&") + p;
    return text;
}

std::string DecodeHexEscapes(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i + 4 <= text.size(); i += 4) {
        if (text[i] != '\\' || (text[i + 1] != 'x' && text[i + 1] != 'X')) break;
        const int hi = hexDigit(text[i + 2]);
        const int lo = hexDigit(text[i + 3]);
        if (hi < 0 || lo < 0) break;
        out += static_cast<char>(hi * 16 + lo);
    }
    return out;
}

std::string DecodeBase64(std::string_view text) { return util::DecodeBase64Prefix(text); }

int ReadProxyListPage(std::string_view body, int portFilter, std::vector<std::string>& out)
{
    std::string rows = util::CutBetween(body, "<tbody>", "</tbody>", CutMode::Fail);
    const int offset = game::TextToInt(
        util::CutBetween(util::CutBetween(body, "<div style=\"display:none\" data-", "</div>", CutMode::Fail), "=\"", "\"",
                         CutMode::Fail));
    int count = 0;
    for (;;) {
        const std::string row = util::CutSection(rows, "<tr>");
        if (row.empty()) break;
        const std::string script = util::CutBetween(row, "<script>", "</script>", CutMode::Fail);
        if (script.empty()) continue;
        std::string first = util::CutBetween(util::CutBetween(script, "var", "split", CutMode::Fail), "'", "'", CutMode::Fail);
        std::reverse(first.begin(), first.end());
        const std::string second = DecodeBase64(DecodeHexEscapes(util::CutBetween(script, "atob('", "'", CutMode::Fail)));
        const int port = portOf(util::CutBetween(util::CutBetween(script, "pp =", ";", CutMode::Fail), "(", " ", CutMode::Fail)) +
                         offset;
        ++count;
        if (portFilter != 0 && portFilter != port) continue;
        out.push_back(util::Format("%s:%d", {util::Cp1251ToUtf8(first + second), port}));
    }
    return count;
}

std::vector<std::string> SearchProxies(const std::function<std::string(const std::string&)>& getText,
                                       std::string_view listUrl, const TProxyQuery& query)
{
    if (listUrl.empty()) throw Error(NoProxyListUrlText);
    std::vector<std::string> found;
    for (int page = 1;; ++page) {
        const std::string q = ProxyQueryText(query, page);
        const std::string body = getText(std::string(listUrl) + (q.empty() ? "" : "?" + q));
        const int rows = ReadProxyListPage(body, query.Port, found);
        if (static_cast<int>(found.size()) >= query.Wanted || rows < ProxyRowsPerPage) break;
    }
    if (static_cast<int>(found.size()) > query.Wanted) found.resize(static_cast<std::size_t>(query.Wanted));
    return found;
}

} // namespace kv::online

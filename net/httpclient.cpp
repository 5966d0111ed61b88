#include "net/httpclient.h"

#include <curl/curl.h>
#include <zlib.h>

#include <mutex>

#include "core/util/cp1251.h"
#include "core/util/error.h"
#include "core/util/format.h"
#include "core/util/textcut.h"
#include "core/util/translate.h"

namespace kv::net {

const char* const AcceptHeader = "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
const char* const AcceptEncodingHeader = "gzip, deflate, sdch";
const char* const UserAgentHeader = "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
                                    "Chrome/47.0.2526.80 Safari/537.36";

namespace {

void globalInit()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool isHttps(const std::string& url)
{
    return util::AnsiFindNoCase(url, "https://") == 0;
}

std::string lowerTrimmed(std::string_view text)
{
    std::string s(util::TrimControl(text));
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Inflates a gzip or deflate body. The bodies are inflated here rather than by curl, which
// passes a stream that breaks off early as if it were whole: such a body fails instead.
std::string inflateBody(const std::string& raw, const std::string& encoding)
{
    if (raw.empty()) return {};
    const bool gzip = encoding == "gzip" || encoding == "x-gzip";
    // "deflate" should be a zlib stream, but some servers send the bare deflate data.
    const bool zlibHeader = raw.size() >= 2 && (static_cast<unsigned char>(raw[0]) & 0x0F) == 8 &&
                            ((static_cast<unsigned char>(raw[0]) << 8) | static_cast<unsigned char>(raw[1])) % 31 == 0;
    const int windowBits = gzip ? 16 + MAX_WBITS : zlibHeader ? MAX_WBITS : -MAX_WBITS;
    z_stream z{};
    if (inflateInit2(&z, windowBits) != Z_OK) throw Error("Не удалось распаковать ответ сервера");
    std::string out;
    char buffer[64 * 1024];
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
    z.avail_in = static_cast<uInt>(raw.size());
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - z.avail_out);
        if (out.size() > MaxBodyBytes) {
            inflateEnd(&z);
            throw Error(util::Format("Ответ сервера длиннее %d МБ", {static_cast<int>(MaxBodyBytes >> 20)}));
        }
        if (rc == Z_STREAM_END && gzip && z.avail_in > 0) rc = inflateReset(&z);   // another gzip member
        if (rc == Z_BUF_ERROR || (rc == Z_OK && z.avail_in == 0 && z.avail_out != 0)) {
            inflateEnd(&z);
            throw Error(util::Format("Сжатый (%s) ответ сервера оборван: данные неполны", {encoding}));
        }
        if (rc != Z_OK && rc != Z_STREAM_END) {
            inflateEnd(&z);
            throw Error(util::Format("Сжатый (%s) ответ сервера поврежден: %s", {encoding, z.msg ? z.msg : "inflate"}));
        }
    }
    inflateEnd(&z);
    return out;
}

} // namespace

struct HttpClient::Impl {
    CURL* curl = nullptr;
    curl_slist* headers = nullptr;
    std::string body;
    std::string encoding;   // Content-Encoding of the last response (after redirects)
    bool tooLarge = false;
    bool follow = false;
    std::function<bool()> abortCheck;
    char error[CURL_ERROR_SIZE] = {};

    static std::size_t onData(char* data, std::size_t size, std::size_t count, void* self)
    {
        auto* me = static_cast<Impl*>(self);
        const std::size_t n = size * count;
        if (me->body.size() + n > MaxBodyBytes) {
            me->tooLarge = true;
            return 0;
        }
        me->body.append(data, n);
        return n;
    }

    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* self)
    {
        auto* me = static_cast<Impl*>(self);
        const std::size_t n = size * count;
        const std::string_view line(data, n);
        if (line.rfind("HTTP/", 0) == 0) {
            me->encoding.clear();
        } else if (util::AnsiFindNoCase(line, "content-encoding:") == 0) {
            me->encoding = lowerTrimmed(line.substr(17));
        }
        return n;
    }

    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
    {
        auto* me = static_cast<Impl*>(self);
        return me->abortCheck && me->abortCheck() ? 1 : 0;
    }

    void set(CURLoption option, long value) { curl_easy_setopt(curl, option, value); }
    void set(CURLoption option, const char* value) { curl_easy_setopt(curl, option, value); }

    std::string perform(const std::string& url)
    {
        body.clear();
        encoding.clear();
        tooLarge = false;
        error[0] = 0;
        set(CURLOPT_URL, url.c_str());
        // A redirect never leaves https for plain http, and never goes anywhere but the web.
        set(CURLOPT_REDIR_PROTOCOLS_STR, isHttps(url) ? "https" : "http,https");
        set(CURLOPT_FOLLOWLOCATION, follow ? 1L : 0L);
        const CURLcode rc = curl_easy_perform(curl);
        if (rc == CURLE_OK) {
            std::string raw = std::move(body);
            body.clear();
            if (encoding.empty() || encoding == "identity") return raw;
            if (encoding == "gzip" || encoding == "x-gzip" || encoding == "deflate") return inflateBody(raw, encoding);
            // curl's own words for what it cannot decode.
            throw Error("Unrecognized content encoding type. libcurl understands deflate, gzip content encodings.");
        }
        body.clear();
        if (tooLarge)
            throw Error(util::Format("Ответ сервера длиннее %d МБ", {static_cast<int>(MaxBodyBytes >> 20)}));
        const std::string text = error[0] ? std::string(error) : std::string(curl_easy_strerror(rc));
        if (rc == CURLE_ABORTED_BY_CALLBACK) throw RequestCancelled(text);
        long status = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        throw Error(FailureText(rc, status, text));
    }
};

std::string FailureText(int curlCode, long httpStatus, const std::string& detail)
{
    std::string plain;
    switch (static_cast<CURLcode>(curlCode)) {
    case CURLE_COULDNT_RESOLVE_HOST: plain = util::TrText("Не удалось найти сервер по имени: нет сети или адрес неверен"); break;
    case CURLE_COULDNT_RESOLVE_PROXY: plain = util::TrText("Не удалось найти proxy-сервер по имени"); break;
    case CURLE_COULDNT_CONNECT: plain = util::TrText("Сервер не принимает соединение"); break;
    case CURLE_OPERATION_TIMEDOUT: plain = util::TrText("Сервер не ответил вовремя"); break;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        plain = util::TrText("Не удалось установить защищённое соединение (TLS): сертификат сайта не прошёл "
                             "проверку или сайт не поддерживает TLS");
        break;
    case CURLE_HTTP_RETURNED_ERROR:
        plain = httpStatus > 0 ? util::Format("Сервер ответил ошибкой HTTP %d", {static_cast<int>(httpStatus)})
                               : std::string(util::TrText("Сервер ответил ошибкой HTTP"));
        break;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE: plain = util::TrText("Соединение с сервером прервано"); break;
    default: return detail;
    }
    return plain + " (" + detail + ")";
}

HttpClient::HttpClient() : m(std::make_unique<Impl>())
{
    globalInit();
    m->curl = curl_easy_init();
    if (!m->curl) throw Error("Не удалось создать HTTP-клиент");
    m->headers = curl_slist_append(m->headers, (std::string("Accept: ") + AcceptHeader).c_str());
    m->headers = curl_slist_append(m->headers, (std::string("Accept-Encoding: ") + AcceptEncodingHeader).c_str());
    curl_easy_setopt(m->curl, CURLOPT_HTTPHEADER, m->headers);
    m->set(CURLOPT_USERAGENT, UserAgentHeader);
    m->set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    m->set(CURLOPT_SSL_VERIFYPEER, 1L);
    m->set(CURLOPT_SSL_VERIFYHOST, 2L);
    m->set(CURLOPT_PROTOCOLS_STR, "http,https");
    m->set(CURLOPT_MAXREDIRS, 10L);
    m->set(CURLOPT_FAILONERROR, 1L);
    m->set(CURLOPT_NOSIGNAL, 1L);
    m->set(CURLOPT_FORBID_REUSE, 1L);
    m->set(CURLOPT_COOKIEFILE, "");   // cookies in memory, for the life of the handle
    m->set(CURLOPT_PROXY, "");        // never a proxy from the environment
    curl_easy_setopt(m->curl, CURLOPT_ERRORBUFFER, m->error);
    curl_easy_setopt(m->curl, CURLOPT_WRITEFUNCTION, &Impl::onData);
    curl_easy_setopt(m->curl, CURLOPT_WRITEDATA, m.get());
    curl_easy_setopt(m->curl, CURLOPT_HEADERFUNCTION, &Impl::onHeader);
    curl_easy_setopt(m->curl, CURLOPT_HEADERDATA, m.get());
    curl_easy_setopt(m->curl, CURLOPT_XFERINFOFUNCTION, &Impl::onProgress);
    curl_easy_setopt(m->curl, CURLOPT_XFERINFODATA, m.get());
    m->set(CURLOPT_NOPROGRESS, 0L);
}

HttpClient::~HttpClient()
{
    curl_easy_cleanup(m->curl);
    curl_slist_free_all(m->headers);
}

void HttpClient::SetProxy(const workspace::TProxyServer& proxy)
{
    m->set(CURLOPT_PROXY, proxy.Server.c_str());
    m->set(CURLOPT_PROXYPORT, static_cast<long>(proxy.Port));
    m->set(CURLOPT_PROXYUSERNAME, proxy.Username.c_str());
    m->set(CURLOPT_PROXYPASSWORD, proxy.Password.c_str());
}

void HttpClient::SetTimeouts(const THttpTimeouts& t)
{
    m->set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(t.Connect.count()));
    m->set(CURLOPT_TIMEOUT_MS, static_cast<long>(t.Total.count()));
    // curl measures the idle time in whole seconds: a shorter wait rounds up to one.
    const long idleSeconds = t.Idle.count() <= 0 ? 0L : static_cast<long>((t.Idle.count() + 999) / 1000);
    m->set(CURLOPT_LOW_SPEED_LIMIT, idleSeconds > 0 ? 1L : 0L);
    m->set(CURLOPT_LOW_SPEED_TIME, idleSeconds);
}

void HttpClient::SetFollowRedirects(bool follow)
{
    m->follow = follow;
}

void HttpClient::SetAbortCheck(std::function<bool()> check)
{
    m->abortCheck = std::move(check);
}

std::string HttpClient::Get(const std::string& url)
{
    m->set(CURLOPT_HTTPGET, 1L);
    return m->perform(url);
}

std::string HttpClient::PostForm(const std::string& url, const std::vector<std::pair<std::string, std::string>>& fields)
{
    std::string form;
    for (const auto& [name, value] : fields) {
        char* n = curl_easy_escape(m->curl, name.data(), static_cast<int>(name.size()));
        char* v = curl_easy_escape(m->curl, value.data(), static_cast<int>(value.size()));
        if (!form.empty()) form += '&';
        form += std::string(n ? n : "") + "=" + (v ? v : "");
        curl_free(n);
        curl_free(v);
    }
    m->set(CURLOPT_POST, 1L);
    curl_easy_setopt(m->curl, CURLOPT_POSTFIELDSIZE, static_cast<long>(form.size()));
    m->set(CURLOPT_COPYPOSTFIELDS, form.c_str());
    return m->perform(url);
}

TPageTimeouts& PageTimeouts()
{
    static TPageTimeouts t;
    return t;
}

std::string PageClient::GetPage(const std::string& url, const workspace::TProxyServer& proxy, bool utf8)
{
    m_client.SetProxy(proxy);
    THttpTimeouts t;
    t.Connect = PageTimeouts().Connect;
    t.Idle = PageTimeouts().Read;
    t.Total = PageTimeouts().Total;
    m_client.SetTimeouts(t);
    m_client.SetFollowRedirects(true);
    std::string body = m_client.Get(url);
    return utf8 ? util::Utf8ToCp1251(body) : body;
}

THttpTimeouts StandAloneTimeouts()
{
    THttpTimeouts t;
    t.Connect = std::chrono::seconds(10);
    t.Total = std::chrono::seconds(60);
    return t;
}

std::string HttpGetText(const std::string& url, bool followRedirects)
{
    HttpClient client;
    client.SetTimeouts(StandAloneTimeouts());
    client.SetFollowRedirects(followRedirects);
    return client.Get(url);
}

std::string HttpPostForm(const std::string& url, const std::vector<std::pair<std::string, std::string>>& fields,
                         bool followRedirects)
{
    HttpClient client;
    client.SetTimeouts(StandAloneTimeouts());
    client.SetFollowRedirects(followRedirects);
    return client.PostForm(url, fields);
}

} // namespace kv::net

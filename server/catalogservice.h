#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "server/catalogstorage.h"

namespace kv::util {
struct TCatalogMessage;
}

namespace kv::server {

// The newest program version the server announces to the update check (empty: none).
struct TVersionInfo {
    std::string Version;
    std::string Url;
    std::string Notes;   // what changed, shown by the program's update check
};

struct TCatalogAnswer {
    int Status = 200;
    std::string Body;
};

// The entries of one list answer when the request names no smaller "limit" (the newest
// scenarios that pass the filter, the systems by their numbers): a program that does not ask
// for pages still gets a bounded answer.
constexpr std::int64_t DefaultPageSize = 1000;
// The long texts (titles, descriptions, links) of one list answer: past this the page ends early (the answer is
// about a third larger, for the Base64). Its last row then names where the next page begins.
constexpr std::int64_t DefaultPageBytes = 1 << 20;

// The catalogue's requests: form bodies in, tagged-row answers out, one handler per message of
// the protocol table. Every field is untrusted: numbers are range-checked, texts must be UTF-8
// without NUL and within their length, and texts shown between tags by the program must hold no
// "<" or ">". A refused request answers with an "<error>" row and changes nothing.
class TCatalogService {
public:
    // `clock` gives the current Unix time (tests set it); the default is the system clock.
    explicit TCatalogService(TCatalogStorage& storage, std::function<std::int64_t()> clock = nullptr,
                             TVersionInfo version = {}, std::int64_t pageSize = DefaultPageSize,
                             std::int64_t pageBytes = DefaultPageBytes);

    // 404 for a path it does not serve; otherwise 200 with the answer or an "<error>" row.
    TCatalogAnswer Handle(std::string_view path, std::string_view body);

    class Request;

private:
    using Handler = std::string (TCatalogService::*)(const util::TCatalogMessage&, const Request&, std::int64_t now);
    std::string scriptList(const util::TCatalogMessage&, const Request&, std::int64_t now);
    std::string scriptData(const util::TCatalogMessage&, const Request&, std::int64_t now);
    std::string scriptRate(const util::TCatalogMessage&, const Request&, std::int64_t now);
    std::string scriptTitle(const util::TCatalogMessage&, const Request&, std::int64_t now);
    std::string scriptPut(const util::TCatalogMessage&, const Request&, std::int64_t now);
    std::string scriptRates(const util::TCatalogMessage&, const Request&, std::int64_t now);
    std::string systemList(const util::TCatalogMessage&, const Request&, std::int64_t now);
    std::string systemData(const util::TCatalogMessage&, const Request&, std::int64_t now);
    std::string systemPut(const util::TCatalogMessage&, const Request&, std::int64_t now);
    std::string appVersion(const util::TCatalogMessage&, const Request&, std::int64_t now);
    // The page a list request asks for, within the server's page size and bytes.
    TPage page(const Request& q) const;

    TCatalogStorage& m_storage;
    std::function<std::int64_t()> m_clock;
    TVersionInfo m_version;
    std::int64_t m_pageSize;
    std::int64_t m_pageBytes;
};

// The catalogue's changes, each in one transaction of the store. Who may make a change is
// decided here, once for both stores: the e-mail must be tied to the key given (the first key
// seen is tied to it), an existing entry must belong to that e-mail, and a rating needs an entry
// the user can see.
TWriteResult PutScript(TCatalogStorage& storage, const TScriptWrite& data, const std::string& key, std::int64_t now);
TWriteResult DeleteScript(TCatalogStorage& storage, std::int64_t id, const std::string& mail, const std::string& key);
TWriteResult RateScript(TCatalogStorage& storage, const TRateWrite& rate, const std::string& key, std::int64_t now);
TWriteResult PutSystem(TCatalogStorage& storage, const TSystemWrite& data, const std::string& key, std::int64_t now);
TWriteResult DeleteSystem(TCatalogStorage& storage, std::int64_t id, const std::string& mail, const std::string& key);

} // namespace kv::server

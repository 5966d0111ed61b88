#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kv::workspace {

// Addresses of the outside services: section [ONLINE] of Kvanta_8x20.ini, each overridden by
// its environment variable (tests and cron runs point the program at a server of their own).
struct TOnlineUrls {
    static constexpr const char* Section = "ONLINE";
    static constexpr const char* DefaultOperatorUrl = "https://www.stoloto.ru";
    static constexpr const char* DefaultProxyListUrl = "https://hidemy.name/ru/proxy-list/";
    // The catalogue of scenarios and systems: scripts/catalog.sh serves one here.
    static constexpr const char* DefaultCatalogUrl = "http://127.0.0.1:8088";

    std::string OperatorUrl = DefaultOperatorUrl;     // the site; the page path is appended
    std::string ProxyListUrl = DefaultProxyListUrl;
    std::string CatalogUrl = DefaultCatalogUrl;     // the request paths are appended
};

// Reads the section (an unreadable or missing file gives the defaults), then KVANTA_OPERATOR_URL,
// KVANTA_PROXY_LIST_URL and KVANTA_CATALOG_URL when set and not empty. `getEnv` stands for std::getenv in tests.
TOnlineUrls ReadOnlineUrls(const std::filesystem::path& iniPath,
                           const std::function<const char*(const char*)>& getEnv = nullptr);
// True for an address the download can use: "http://" or "https://" (any case) and a host.
bool IsSiteAddress(std::string_view url);
// Stores the operator's address for the next start. Fails with kv::Error.
void WriteOperatorUrl(const std::filesystem::path& iniPath, const std::string& url);

} // namespace kv::workspace

#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kv::online {

// Addresses of the outside services: section [ONLINE] of Kvanta_8x20.ini, each overridden by
// its environment variable (tests and cron runs point the program at a server of their own).
struct TOnlineUrls {
    static constexpr const char* Section = "ONLINE";
    // The catalogue of scenarios and systems: scripts/catalog.sh serves one here.
    static constexpr const char* DefaultCatalogUrl = "http://127.0.0.1:8088";

    // No third party's address is built in: both stay empty until the user names them.
    std::string OperatorUrl;     // the site; the page path is appended
    std::string ProxyListUrl;
    std::string CatalogUrl = DefaultCatalogUrl;     // the request paths are appended
};

// Reads the section (an unreadable or missing file gives the defaults: no addresses but the catalogue's), then KVANTA_OPERATOR_URL,
// KVANTA_PROXY_LIST_URL and KVANTA_CATALOG_URL when set and not empty. `getEnv` stands for std::getenv in tests.
TOnlineUrls ReadOnlineUrls(const std::filesystem::path& iniPath,
                           const std::function<const char*(const char*)>& getEnv = nullptr);
// What a download without OperatorUrl, and the automatic proxy search without ProxyListUrl, say.
inline constexpr const char* NoOperatorUrlText =
    "Не задан адрес сайта лотереи: укажите его командой \"Адрес сайта лотереи\" (меню \"Настройки\") "
    "или ключом OperatorUrl в разделе [ONLINE] файла Kvanta_8x20.ini";
inline constexpr const char* NoProxyListUrlText =
    "Не задан адрес списка proxy-серверов: ключ ProxyListUrl в разделе [ONLINE] файла Kvanta_8x20.ini";
// The sentence the site address dialog opens with when the download finds no address.
inline constexpr const char* OperatorUrlNeededText =
    "Для загрузки тиражей нужен адрес сайта лотереи, который публикует архив тиражей игры 8x20.";

// True for an address the download can use: "http://" or "https://" (any case) and a host.
bool IsSiteAddress(std::string_view url);
// Stores the operator's address for the next start. Fails with kv::Error.
void WriteOperatorUrl(const std::filesystem::path& iniPath, const std::string& url);

} // namespace kv::online

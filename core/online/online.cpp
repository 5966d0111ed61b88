#include "core/online/online.h"

#include <cctype>
#include <cstdlib>

#include "core/util/ini.h"

namespace kv::online {

TOnlineUrls ReadOnlineUrls(const std::filesystem::path& iniPath, const std::function<const char*(const char*)>& getEnv)
{
    TOnlineUrls urls;
    try {
        const util::IniFile ini = util::IniFile::Load(iniPath);
        urls.OperatorUrl = ini.ReadString(TOnlineUrls::Section, "OperatorUrl", urls.OperatorUrl);
        urls.ProxyListUrl = ini.ReadString(TOnlineUrls::Section, "ProxyListUrl", urls.ProxyListUrl);
        urls.CatalogUrl = ini.ReadString(TOnlineUrls::Section, "CatalogUrl", urls.CatalogUrl);
    } catch (const std::exception&) {
        // The addresses are not worth a message box here: a download without one says so.
    }
    const auto env = [&](const char* name) -> const char* { return getEnv ? getEnv(name) : std::getenv(name); };
    if (const char* v = env("KVANTA_OPERATOR_URL"); v && *v) urls.OperatorUrl = v;
    if (const char* v = env("KVANTA_PROXY_LIST_URL"); v && *v) urls.ProxyListUrl = v;
    if (const char* v = env("KVANTA_CATALOG_URL"); v && *v) urls.CatalogUrl = v;
    if (urls.CatalogUrl.empty()) urls.CatalogUrl = TOnlineUrls::DefaultCatalogUrl;
    return urls;
}

bool IsSiteAddress(std::string_view url)
{
    const auto starts = [&](std::string_view scheme) {
        if (url.size() <= scheme.size()) return false;
        for (std::size_t i = 0; i < scheme.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(url[i])) != scheme[i]) return false;
        return true;
    };
    std::size_t hostAt = 0;
    if (starts("https://")) hostAt = 8;
    else if (starts("http://")) hostAt = 7;
    else return false;
    const char first = url[hostAt];
    return first != '/' && first != ':' && first != '?' && first != '#'
        && url.find_first_of(" \t\r\n") == std::string_view::npos;
}

void WriteOperatorUrl(const std::filesystem::path& iniPath, const std::string& url)
{
    util::IniFile ini = util::IniFile::Load(iniPath);
    ini.WriteString(TOnlineUrls::Section, "OperatorUrl", url);
    ini.Save(iniPath);
}

} // namespace kv::online

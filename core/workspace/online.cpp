#include "core/workspace/online.h"

#include <cstdlib>

#include "core/util/ini.h"

namespace kv::workspace {

TOnlineUrls ReadOnlineUrls(const std::filesystem::path& iniPath, const std::function<const char*(const char*)>& getEnv)
{
    TOnlineUrls urls;
    try {
        const util::IniFile ini = util::IniFile::Load(iniPath);
        urls.OperatorUrl = ini.ReadString(TOnlineUrls::Section, "OperatorUrl", urls.OperatorUrl);
        urls.ProxyListUrl = ini.ReadString(TOnlineUrls::Section, "ProxyListUrl", urls.ProxyListUrl);
    } catch (const std::exception&) {
        // The addresses are not worth a message box: the defaults still reach the site.
    }
    const auto env = [&](const char* name) -> const char* { return getEnv ? getEnv(name) : std::getenv(name); };
    if (const char* v = env("KVANTA_OPERATOR_URL"); v && *v) urls.OperatorUrl = v;
    if (const char* v = env("KVANTA_PROXY_LIST_URL"); v && *v) urls.ProxyListUrl = v;
    if (urls.OperatorUrl.empty()) urls.OperatorUrl = TOnlineUrls::DefaultOperatorUrl;
    if (urls.ProxyListUrl.empty()) urls.ProxyListUrl = TOnlineUrls::DefaultProxyListUrl;
    return urls;
}

void WriteOperatorUrl(const std::filesystem::path& iniPath, const std::string& url)
{
    util::IniFile ini = util::IniFile::Load(iniPath);
    ini.WriteString(TOnlineUrls::Section, "OperatorUrl", url);
    ini.Save(iniPath);
}

} // namespace kv::workspace

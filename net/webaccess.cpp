#include "net/webaccess.h"

namespace kv::net {

online::TWebAccess MakeWebAccess(PageClient& pages)
{
    online::TWebAccess web;
    web.GetPage = [&pages](const std::string& url, const workspace::TProxyServer& proxy, bool utf8) {
        return pages.GetPage(url, proxy, utf8);
    };
    web.GetText = [](const std::string& url) { return HttpGetText(url, true); };
    return web;
}

} // namespace kv::net

#include "net/catalogaccess.h"

#include "net/httpclient.h"

namespace kv::net {

online::TCatalogPost MakeCatalogPost(const std::string& baseUrl)
{
    std::string root = baseUrl;
    while (!root.empty() && root.back() == '/') root.pop_back();
    return [root](const std::string& path, const util::TFormFields& fields) {
        return HttpPostForm(root + "/" + path, fields, true);
    };
}

} // namespace kv::net

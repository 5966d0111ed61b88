#pragma once
#include <string>

#include "core/online/catalog.h"

namespace kv::net {

// The catalogue's requests as stand-alone form POSTs to `baseUrl` + "/" + path.
online::TCatalogPost MakeCatalogPost(const std::string& baseUrl);

} // namespace kv::net

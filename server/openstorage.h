#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "server/catalogstorage.h"

namespace kv::server {

// Whether --db names a PostgreSQL database (postgresql://... or postgres://...) rather than a
// SQLite file.
bool IsPostgresUrl(std::string_view db);

// The store --db names: a PostgreSQL database for such an address, otherwise the SQLite file
// at that path. Fails with std::runtime_error when it cannot be opened.
std::unique_ptr<TCatalogStorage> OpenCatalogStorage(const std::string& db);

// --db as the log may show it: the password of an address replaced by "***".
std::string DatabaseForLog(const std::string& db);

} // namespace kv::server

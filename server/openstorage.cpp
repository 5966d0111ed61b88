#include "server/openstorage.h"

#include "server/pgstorage.h"
#include "server/sqlitestorage.h"

namespace kv::server {

bool IsPostgresUrl(std::string_view db) { return db.starts_with("postgresql://") || db.starts_with("postgres://"); }

std::unique_ptr<TCatalogStorage> OpenCatalogStorage(const std::string& db)
{
    if (IsPostgresUrl(db)) return std::make_unique<TPgStorage>(db);
    return std::make_unique<TSqliteStorage>(db);
}

std::string DatabaseForLog(const std::string& db)
{
    if (!IsPostgresUrl(db)) return db;
    // scheme://[user[:password]@]host...: the password is what lies between the first ':' after
    // the scheme and the last '@' of the authority.
    const std::size_t start = db.find("://") + 3;
    const std::size_t end = db.find_first_of("/?", start);
    const std::size_t at = db.rfind('@', end == std::string::npos ? std::string::npos : end);
    if (at == std::string::npos || at < start) return db;
    const std::size_t colon = db.find(':', start);
    if (colon == std::string::npos || colon > at) return db;
    return db.substr(0, colon + 1) + "***" + db.substr(at);
}

} // namespace kv::server

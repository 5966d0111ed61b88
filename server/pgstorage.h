#pragma once
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "server/catalogstorage.h"

namespace kv::server {

// The catalogue in a PostgreSQL database, shared by any number of server processes. Each
// process keeps a small pool of connections; every statement is prepared once per connection and
// run with bound parameters. Uniqueness (titles, the key tied to an e-mail, one rating per user)
// is left to the database's unique indexes, so two processes racing each other cannot both win.
// A broken connection is replaced and the request tried once more; after that, or when the
// server does not answer within the time limits, the request fails with std::runtime_error.
class TPgStorage : public TCatalogStorage {
public:
    struct TOptions {
        int PoolSize = 8;                   // at most this many connections at once
        int ConnectTimeoutSeconds = 5;
        int StatementTimeoutMs = 15000;     // no statement runs longer
    };

    // `url` is a libpq connection string, normally postgresql://user@host:port/dbname. Connects,
    // and creates or brings the layout up to date; fails with std::runtime_error when the
    // database cannot be reached or was written by a newer server.
    explicit TPgStorage(std::string url, TOptions options);
    explicit TPgStorage(std::string url) : TPgStorage(std::move(url), TOptions{}) {}
    ~TPgStorage() override;
    TPgStorage(const TPgStorage&) = delete;
    TPgStorage& operator=(const TPgStorage&) = delete;

    int SchemaVersion() override;

    TScriptPage ListScripts(TScriptFilter filter, const std::string& mail, std::int64_t now, TPage page = {}) override;
    std::optional<std::string> FetchScript(std::int64_t id, std::int64_t now) override;
    bool ScriptTitleTaken(std::int64_t exceptId, const std::string& title) override;
    std::vector<TRateEntry> ListRates(std::int64_t id) override;

    TSystemPage ListSystems(int combLen, int maxNums, TPage page = {}) override;
    std::optional<std::string> FetchSystem(std::int64_t id, std::int64_t now) override;

    TWriteResult Write(const TWriteWork& work) override;

    class Connection;
    class Lease;

private:
    // Runs `work` on a pooled connection: again on a fresh connection when the link broke, and
    // again when the database chose it as the loser of a deadlock or serialization conflict.
    template <class F>
    auto run(F&& work);
    std::unique_ptr<Connection> connect();
    void migrate(Connection& c);

    std::string m_url;
    TOptions m_options;
    std::mutex m_mutex;
    std::condition_variable m_released;
    std::vector<std::unique_ptr<Connection>> m_idle;
    int m_open = 0;  // connections in use or idle
};

} // namespace kv::server

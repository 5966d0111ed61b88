#pragma once
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "server/catalogstorage.h"

struct sqlite3;
struct sqlite3_stmt;

namespace kv::server {

// The catalogue in one SQLite file (WAL journal, so readers of other tools never block the
// server). Created and brought up to the newest layout on open. One connection serves every
// thread in turn; statements are prepared once and reused with bound parameters only.
class TSqliteStorage : public TCatalogStorage {
public:
    // Fails with std::runtime_error when the file cannot be opened or migrated, or when it was
    // written by a newer server.
    explicit TSqliteStorage(const std::filesystem::path& file);
    ~TSqliteStorage() override;
    TSqliteStorage(const TSqliteStorage&) = delete;
    TSqliteStorage& operator=(const TSqliteStorage&) = delete;

    int SchemaVersion() override;

    TScriptPage ListScripts(TScriptFilter filter, const std::string& mail, std::int64_t now, TPage page = {}) override;
    std::optional<std::string> FetchScript(std::int64_t id, std::int64_t now) override;
    bool ScriptTitleTaken(std::int64_t exceptId, const std::string& title) override;
    std::vector<TRateEntry> ListRates(std::int64_t id) override;

    TSystemPage ListSystems(int combLen, int maxNums, TPage page = {}) override;
    std::optional<std::string> FetchSystem(std::int64_t id, std::int64_t now) override;

    TWriteResult Write(const TWriteWork& work) override;

    class Statement;
    class Transaction;
    class Writer;

private:
    Statement prepare(const char* sql);
    void exec(const char* sql);
    void migrate();
    void close();

    sqlite3* m_db = nullptr;
    std::map<const char*, sqlite3_stmt*> m_statements;
    std::mutex m_mutex;
};

} // namespace kv::server

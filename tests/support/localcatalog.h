#pragma once
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "core/util/catalogwire.h"
#include "server/catalogserver.h"
#include "server/openstorage.h"

namespace kv::test {

// One form POST to a catalogue server on 127.0.0.1 and that port; the body, or "HTTP <status>"
// for another status than 200.
inline std::string PostForm(int port, const std::string& path, const util::TFormFields& fields)
{
    httplib::Client client("127.0.0.1", port);
    const httplib::Result r = client.Post(path.c_str(), util::FormEncode(fields), "application/x-www-form-urlencoded");
    if (!r) return "no answer";
    return r->status == 200 ? r->body : "HTTP " + std::to_string(r->status);
}

// A catalogue server on 127.0.0.1 and a free port over a database (a SQLite file or a
// PostgreSQL address), on its own thread for the life of the object, with a clock the test sets. Header-only: only the targets that link
// kvcatalog include it.
class LocalCatalog {
public:
    static constexpr std::int64_t StartTime = 1796200000;  // 2026-12-02 08:26:40 UTC

    std::atomic<std::int64_t> Now{StartTime};

private:
    std::unique_ptr<server::TCatalogStorage> m_storage;  // before Storage, which refers to it

public:
    server::TCatalogStorage& Storage;
    server::TCatalogService Service;
    server::TCatalogServer Server;

    explicit LocalCatalog(const std::string& db, server::TVersionInfo version = {}, server::TServerLimits limits = {},
                          std::int64_t pageSize = server::DefaultPageSize)
        : m_storage(server::OpenCatalogStorage(db)), Storage(*m_storage),
          Service(Storage, [this] { return Now.load(); }, std::move(version), pageSize), Server(Service, limits, nullptr)
    {
        m_port = Server.Bind("127.0.0.1", 0);
        m_thread = std::thread([this] { Server.Run(); });
        for (int i = 0; i < 500 && !Server.IsRunning(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ~LocalCatalog()
    {
        Server.Stop();
        m_thread.join();
    }
    int Port() const { return m_port; }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(m_port); }

    std::string Post(const std::string& path, const util::TFormFields& fields) const
    {
        return PostForm(m_port, path, fields);
    }

private:
    int m_port = 0;
    std::thread m_thread;
};

} // namespace kv::test

#pragma once
#include <libpq-fe.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/support.h"

namespace kv::test {

// The PostgreSQL server the catalogue's tests and benchmarks use, once per program: the one
// KVANTA_TEST_PG_URL names (any database of it; the tests make their own databases there), or
// else a throwaway cluster of this machine's PostgreSQL programs in a temporary folder, on a free
// port of 127.0.0.1 with its socket in that folder, gone when the program ends. PostgreSQL
// refuses to run as root, so under root the cluster runs as the user postgres.
// Header-only: the benchmarks use it too.
class PgTestServer {
public:
    enum class TState { Ready, Absent, Broken };

    static PgTestServer& Get()
    {
        static PgTestServer server;
        return server;
    }

    TState State() const { return m_state; }
    const std::string& Why() const { return m_why; }

    // The address of a database of this server.
    std::string Url(const std::string& dbname) const
    {
        const std::size_t start = m_base.find("://") + 3;
        const std::size_t slash = m_base.find('/', start);
        const std::size_t query = m_base.find('?', start);
        const std::string head = m_base.substr(0, std::min(slash, query));
        return head + "/" + dbname + (query == std::string::npos ? "" : m_base.substr(query));
    }

    // A new empty database; its name.
    std::string CreateDatabase()
    {
        static std::atomic<int> counter{0};
        const std::string name = "kvt_" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
        Execute("postgres", "CREATE DATABASE " + name + " TEMPLATE template0 ENCODING 'UTF8'");
        return name;
    }
    void DropDatabase(const std::string& name) { Execute("postgres", "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)"); }

    // One statement without parameters in the database; fails with std::runtime_error.
    void Execute(const std::string& dbname, const std::string& sql) const
    {
        PGconn* c = PQconnectdb(Url(dbname).c_str());
        PGresult* r = PQstatus(c) == CONNECTION_OK ? PQexec(c, sql.c_str()) : nullptr;
        const bool ok = r && (PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK);
        const std::string why = PQerrorMessage(c);
        PQclear(r);
        PQfinish(c);
        if (!ok) throw std::runtime_error(sql + ": " + why);
    }

    ~PgTestServer()
    {
        if (m_dir.empty()) return;
        if (m_started) std::system((m_as + m_bin + "/pg_ctl -D " + m_dir + "/data -m immediate -w stop >/dev/null 2>&1").c_str());
        std::error_code ec;
        std::filesystem::remove_all(m_dir, ec);
    }
    PgTestServer(const PgTestServer&) = delete;
    PgTestServer& operator=(const PgTestServer&) = delete;

private:
    PgTestServer()
    {
        if (const char* url = std::getenv("KVANTA_TEST_PG_URL"); url && *url) {
            m_base = url;
            m_state = TState::Ready;
            return;
        }
        std::vector<std::filesystem::path> bins;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator("/usr/lib/postgresql", ec))
            if (std::filesystem::exists(e.path() / "bin/initdb") && std::filesystem::exists(e.path() / "bin/pg_ctl"))
                bins.push_back(e.path() / "bin");
        if (bins.empty()) {
            m_state = TState::Absent;
            m_why = "PostgreSQL storage not tested: no initdb/pg_ctl under /usr/lib/postgresql/*/bin "
                    "(Debian package postgresql) and KVANTA_TEST_PG_URL is not set";
            return;
        }
        std::sort(bins.begin(), bins.end(), [](const auto& a, const auto& b) {
            return std::stoi(a.parent_path().filename().string()) < std::stoi(b.parent_path().filename().string());
        });
        m_bin = bins.back().string();
        m_state = TState::Broken;
        std::string folder = (std::filesystem::temp_directory_path() / "kvpg-XXXXXX").string();
        if (!::mkdtemp(folder.data())) {
            m_why = "cannot make a folder for the PostgreSQL test cluster";
            return;
        }
        m_dir = folder;
        if (::geteuid() == 0) {
            const passwd* pw = ::getpwnam("postgres");
            if (!pw || ::chown(m_dir.c_str(), pw->pw_uid, pw->pw_gid) != 0) {
                m_why = "running as root, and there is no user postgres to run the PostgreSQL test cluster as";
                return;
            }
            m_as = "runuser -u postgres -- ";
        }
        const std::string log = m_dir + "/setup.log";
        if (!run(m_as + m_bin + "/initdb -D " + m_dir + "/data -U postgres -A trust -E UTF8 --locale=C -N >" + log +
                 " 2>&1")) {
            m_why = "initdb failed: " + read(log);
            return;
        }
        // Durability is worth nothing in a cluster thrown away at the end.
        for (int attempt = 0; attempt < 3 && !m_started; ++attempt) {
            const int port = freePort();
            m_started = run(m_as + m_bin + "/pg_ctl -D " + m_dir + "/data -l " + m_dir + "/server.log -w -t 60 -o '-p " +
                            std::to_string(port) + " -k " + m_dir +
                            " -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off"
                            " -c full_page_writes=off' start >>" + log + " 2>&1");
            m_base = "postgresql://postgres@127.0.0.1:" + std::to_string(port) + "/postgres";
        }
        if (!m_started) {
            m_why = "the PostgreSQL test cluster did not start: " + read(m_dir + "/server.log");
            return;
        }
        m_state = TState::Ready;
    }

    static bool run(const std::string& command) { return std::system(command.c_str()) == 0; }
    static std::string read(const std::string& file)
    {
        std::ifstream in(file);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static int freePort()
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        ::close(fd);
        return ntohs(a.sin_port);
    }

    TState m_state = TState::Absent;
    std::string m_why, m_base, m_bin, m_dir, m_as;
    bool m_started = false;
};

// A fresh catalogue database of one kind, "SQLite" (a file in `dir`) or "PostgreSQL" (a new
// database of the test server, dropped at the end).
class TestDatabase {
public:
    TestDatabase(std::string_view kind, const TempDir& dir)
    {
        if (kind == "SQLite") {
            m_location = (dir / "catalog.db").string();
            return;
        }
        PgTestServer& pg = PgTestServer::Get();
        if (pg.State() != PgTestServer::TState::Ready) {
            m_why = pg.Why();
            m_mustRun = pg.State() == PgTestServer::TState::Broken || std::string_view(getenvOr("CI")) == "true";
            return;
        }
        m_pgName = pg.CreateDatabase();
        m_location = pg.Url(m_pgName);
    }
    ~TestDatabase()
    {
        try {
            if (!m_pgName.empty()) PgTestServer::Get().DropDatabase(m_pgName);
        } catch (const std::exception&) {
            // The cluster goes with the program anyway.
        }
    }
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    bool Ready() const { return !m_location.empty(); }
    // Why it is not ready, and whether that is a failure rather than a reason to skip (a broken
    // cluster, or PostgreSQL missing in CI).
    const std::string& Why() const { return m_why; }
    bool MustRun() const { return m_mustRun; }
    // What kvanta-catalog --db takes.
    const std::string& Location() const { return m_location; }
    bool IsPostgres() const { return !m_pgName.empty(); }
    // A statement in the PostgreSQL database.
    void ExecutePg(const std::string& sql) const { PgTestServer::Get().Execute(m_pgName, sql); }

private:
    static const char* getenvOr(const char* name)
    {
        const char* v = std::getenv(name);
        return v ? v : "";
    }
    std::string m_location, m_pgName, m_why;
    bool m_mustRun = false;
};

} // namespace kv::test

// In a GoogleTest fixture's SetUp: skips the test when the database kind cannot run here, or
// fails it where it must run (a broken cluster, or PostgreSQL missing in CI).
#define KV_REQUIRE_DATABASE(db)                       \
    do {                                              \
        if (!(db).Ready()) {                          \
            if ((db).MustRun()) FAIL() << (db).Why(); \
            GTEST_SKIP() << (db).Why();               \
        }                                             \
    } while (false)

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/util/catalogwire.h"
#include "tests/support/catalogprocess.h"
#include "tests/support/localcatalog.h"
#include "tests/support/rawhttp.h"
#include "tests/support/testdatabase.h"

namespace {

using kv::util::TFormFields;

std::filesystem::path benchDb(const char* name)
{
    const auto dir = std::filesystem::temp_directory_path() / ("kvbench-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir / "catalog.db";
}

void seedScripts(kv::server::TCatalogStorage& storage, int count, std::int64_t now)
{
    for (int i = 0; i < count; ++i) {
        kv::server::TScriptWrite w;
        w.AuthorName = "Автор " + std::to_string(i % 20);
        w.AuthorMail = "user" + std::to_string(i % 20) + "@example.org";
        w.Lcid = 1049;
        w.AppGuid = "Kvanta_8x20";
        w.AppVer = "0.1.0";
        w.Title = "Сценарий номер " + std::to_string(i);
        w.Descr = "Описание сценария, в котором есть несколько слов о фильтрах и ставках " + std::to_string(i);
        w.Script = "FLT NUMS 100\r\nSTK 1\r\n";
        kv::server::PutScript(storage, w, "key" + std::to_string(i % 20), now);
    }
}

// A fresh catalogue database of one kind for one benchmark: a SQLite file in a folder of its
// own, or a new database of the PostgreSQL test cluster; gone at the end.
class TBenchDatabase {
public:
    TBenchDatabase(const char* kind, const char* name) : m_folder(benchDb(name).parent_path())
    {
        m_location = (m_folder / "catalog.db").string();
        if (std::string_view(kind) != "PostgreSQL") return;
        kv::test::PgTestServer& pg = kv::test::PgTestServer::Get();
        if (pg.State() != kv::test::PgTestServer::TState::Ready) {
            m_why = pg.Why();
            m_location.clear();
            return;
        }
        m_pgName = pg.CreateDatabase();
        m_location = pg.Url(m_pgName);
    }
    ~TBenchDatabase()
    {
        if (!m_pgName.empty()) kv::test::PgTestServer::Get().DropDatabase(m_pgName);
        std::filesystem::remove_all(m_folder);
    }
    const std::filesystem::path& Folder() const { return m_folder; }
    // One statement without parameters in the database; fails with std::runtime_error.
    void Execute(const std::string& sql) const
    {
        if (!m_pgName.empty()) return kv::test::PgTestServer::Get().Execute(m_pgName, sql);
        sqlite3* raw = nullptr;
        char* err = nullptr;
        const bool ok = sqlite3_open(m_location.c_str(), &raw) == SQLITE_OK &&
                        sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, &err) == SQLITE_OK;
        const std::string why = err ? err : "";
        sqlite3_free(err);
        sqlite3_close(raw);
        if (!ok) throw std::runtime_error(sql + ": " + why);
    }
    const std::string& Location() const { return m_location; }
    // False, with the benchmark skipped, when the kind cannot run here.
    bool Usable(benchmark::State& state) const
    {
        if (!m_location.empty()) return true;
        state.SkipWithError(m_why.c_str());
        for (auto _ : state) {
        }
        return false;
    }

private:
    std::filesystem::path m_folder;
    std::string m_location, m_pgName, m_why;
};

// A memory figure of a process ("self": this one) from /proc/<process>/status ("VmRSS:" now,
// "VmHWM:" the peak), in bytes.
double statusBytes(const char* key, const std::string& process = "self")
{
    std::ifstream in("/proc/" + process + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::stod(line.substr(std::strlen(key))) * 1024;
    return 0;
}
double residentBytes() { return statusBytes("VmRSS:"); }

// Connections that take the server's time without finishing a request: a third send their
// headers a byte a second, a third their body, a third sent one keep-alive request, read its
// answer and stay idle. 50 come from each address 127.0.0.2, 127.0.0.3, ...
class TSlowClients {
public:
    TSlowClients(int port, int count)
    {
        const std::string list = kv::util::FormEncode({{"fltid", "1"}});
        for (int i = 0; i < count; ++i) {
            const int fd = kv::test::ConnectFrom(2 + i / 50, port);
            if (fd < 0) continue;
            m_fds.push_back(fd);
            switch (i % 3) {
            case 0:
                kv::test::SendAll(fd, "POST /scripts/scr_getlist.php HTTP/1.1\r\nHost: x\r\nX-Slow: ");
                m_trickled.push_back(fd);
                break;
            case 1:
                kv::test::SendAll(fd, "POST /scripts/scr_getdata.php HTTP/1.1\r\nHost: x\r\nContent-Type: "
                            "application/x-www-form-urlencoded\r\nContent-Length: 100000\r\n\r\nscr_id=1");
                m_trickled.push_back(fd);
                break;
            default: {
                kv::test::SendAll(fd, "POST /scripts/app_version.php HTTP/1.1\r\nHost: x\r\nContent-Length: " +
                                std::to_string(list.size()) + "\r\n\r\n" + list);
                char buf[4096];
                (void)::recv(fd, buf, sizeof buf, 0);
            }
            }
        }
        m_trickler = std::thread([this] {
            std::unique_lock lock(m_mutex);
            while (!m_stop) {
                for (const int fd : m_trickled) (void)::send(fd, "a", 1, MSG_NOSIGNAL | MSG_DONTWAIT);
                m_wake.wait_for(lock, std::chrono::seconds(1));
            }
        });
    }
    ~TSlowClients()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_trickler.join();
        for (const int fd : m_fds) ::close(fd);
    }
    std::size_t Held() const { return m_fds.size(); }

private:
    std::vector<int> m_fds, m_trickled;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_trickler;
};

// A legitimate client's list requests (each on a fresh connection, 100 entries) to a server
// that holds `held` slow or idle connections, alternating with the same requests to a twin
// server without them: both rates come from the same moments, so the load of the machine (other
// builds) falls out of their ratio. And the loaded server's memory per held connection.
void BM_CatalogUnderSlowClients(benchmark::State& state, const char* kind)
{
    const int held = static_cast<int>(state.range(0));
    TBenchDatabase loadedDb(kind, "catalog-slow"), twinDb(kind, "catalog-twin");
    if (!loadedDb.Usable(state)) return;
    kv::test::LocalCatalog loaded(loadedDb.Location()), twin(twinDb.Location());
    seedScripts(loaded.Storage, 100, loaded.Now);
    seedScripts(twin.Storage, 100, twin.Now);
    const TFormFields fields = {{"fltid", "1"}, {"cl_mail", "reader@example.org"}};
    using Clock = std::chrono::steady_clock;
    // The time of one request, added to `total`.
    const auto request = [&](const kv::test::LocalCatalog& cat, Clock::duration& total) {
        const auto start = Clock::now();
        if (cat.Post("/scripts/scr_getlist.php", fields).size() < 100 * 300) state.SkipWithError("the list came back short");
        total += Clock::now() - start;
    };
    Clock::duration warm{}, loadedTime{}, twinTime{};
    request(loaded, warm);  // the first request prepares the statements
    request(twin, warm);
    const double before = residentBytes();
    TSlowClients slow(loaded.Port(), held);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // every connection accepted and read
    const double perConnection = (residentBytes() - before) / static_cast<double>(std::max<std::size_t>(1, slow.Held()));
    for (auto _ : state) {
        request(loaded, loadedTime);
        request(twin, twinTime);
    }
    const auto perSecond = [&](Clock::duration t) {
        return static_cast<double>(state.iterations()) / std::chrono::duration<double>(t).count();
    };
    state.counters["loaded/s"] = perSecond(loadedTime);
    state.counters["unloaded/s"] = perSecond(twinTime);
    state.counters["ratio"] = perSecond(loadedTime) / perSecond(twinTime);
    state.counters["held"] = static_cast<double>(slow.Held());
    state.counters["bytes/held"] = perConnection;
}
BENCHMARK_CAPTURE(BM_CatalogUnderSlowClients, sqlite, "SQLite")
    ->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK_CAPTURE(BM_CatalogUnderSlowClients, postgresql, "PostgreSQL")
    ->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

// `count` public scenarios in one statement (the same text for both dialects but the row
// source), a rating on every tenth, the newest last; descriptions of about 140 bytes, or for the
// newest 2,000 of `longDescr` bytes of random hex digits when that is not 0.
void seedManyScripts(const TBenchDatabase& db, bool postgres, int count, int longDescr = 0)
{
    const std::string n = std::to_string(count);
    const std::string prefix = postgres ? "" : "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + n + ") ";
    const std::string from = postgres ? " FROM generate_series(1, " + n + ") AS n(i)" : " FROM n";
    db.Execute(prefix + R"sql(INSERT INTO scripts (title, title_key, descr, script, author_name, author_mail, mail_key,
        lcid, app_guid, app_ver, universal, public, created)
        SELECT 'Сценарий номер ' || i, 'сценарий номер ' || i,
               'Описание сценария, в котором есть несколько слов о фильтрах и ставках ' || i, 'FLT NUMS 100',
               'Автор ' || (i % 20), 'user' || (i % 20) || '@example.org', 'user' || (i % 20) || '@example.org',
               1049, 'Kvanta_8x20', '0.1.0', 0, 1, 1796000000 + i)sql" + from);
    db.Execute(prefix + R"sql(INSERT INTO ratings (script_id, mail_key, author_name, lcid, app_guid, app_ver, rate, notes, created)
        SELECT i, 'rater@example.org', 'Оценщик', 1049, 'Kvanta_8x20', '0.1.0', 1 + i % 5, '', 1796000000)sql" +
               from + " WHERE i % 10 = 0");
    if (longDescr > 0) {
        const std::string text = postgres ? "(SELECT string_agg(md5(random()::text || g || s.id), '') FROM generate_series(1, " +
                                                std::to_string(longDescr / 32) + ") AS g)"
                                          : "hex(randomblob(" + std::to_string(longDescr / 2) + "))";
        db.Execute("UPDATE scripts AS s SET descr = " + text + " WHERE id > " + std::to_string(count - 2000));
    }
    // What autovacuum would learn within a minute: without it PostgreSQL sorts the whole table
    // for a page instead of walking the index.
    db.Execute("ANALYZE");
}
// One page of the list (the program's page of 200, or the 1,000 a client gets that asks for no
// page) out of a catalogue of 100,000 entries, a fresh connection each.
void BM_CatalogList(benchmark::State& state, const char* kind)
{
    const int limit = static_cast<int>(state.range(0));
    TBenchDatabase db(kind, "catalog-list");
    if (!db.Usable(state)) return;
    kv::test::LocalCatalog cat(db.Location());
    seedManyScripts(db, std::string_view(kind) == "PostgreSQL", 100000);
    TFormFields fields = {{"fltid", "1"},           {"appid", "Kvanta_8x20"}, {"appver", "0.1.0"},
                          {"cl_name", "Читатель"}, {"cl_mail", "reader@example.org"}, {"cl_lcid", "1049"}};
    if (limit != kv::server::DefaultPageSize) fields.emplace_back("limit", std::to_string(limit));
    for (auto _ : state) {
        const std::string body = cat.Post("/scripts/scr_getlist.php", fields);
        if (body.size() < static_cast<std::size_t>(limit) * 300) state.SkipWithError("the list came back short");
        benchmark::DoNotOptimize(body.data());
    }
}
BENCHMARK_CAPTURE(BM_CatalogList, sqlite, "SQLite")->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_CatalogList, postgresql, "PostgreSQL")->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// 8 clients asking for the list at once (no page named: up to 1,000 entries each) out of 100,000
// entries, from kvanta-catalog as a process of its own; its peak memory. The first argument
// gives the newest 2,000 entries descriptions of that many bytes (0: about 140); the second is
// the server's --page-kb (1024 its default, 1048576 a limit no page reaches).
void BM_CatalogListConcurrent(benchmark::State& state, const char* kind)
{
    const int descr = static_cast<int>(state.range(0));
    const std::int64_t pageKb = state.range(1);
    TBenchDatabase db(kind, "catalog-list8");
    if (!db.Usable(state)) return;
    kv::server::OpenCatalogStorage(db.Location());  // the tables
    seedManyScripts(db, std::string_view(kind) == "PostgreSQL", 100000, descr);
    kv::test::CatalogProcess server(KV_CATALOG_PROGRAM, db.Location(), db.Folder() / "server.log",
                                    {"--page-kb", std::to_string(pageKb)});
    const TFormFields fields = {{"fltid", "1"}, {"cl_mail", "reader@example.org"}};
    const std::size_t shortest = descr > 0 ? static_cast<std::size_t>(std::min<std::int64_t>(pageKb, 1024)) * 1024 : 1000 * 300;
    std::atomic<std::size_t> answerBytes{0};
    for (auto _ : state) {
        std::vector<std::thread> clients;
        for (int t = 0; t < 8; ++t)
            clients.emplace_back([&] {
                // Answers without the page byte limit take longer than a client's usual 5 s.
                httplib::Client client("127.0.0.1", server.Port());
                client.set_read_timeout(120);
                const httplib::Result r = client.Post("/scripts/scr_getlist.php", kv::util::FormEncode(fields),
                                                      "application/x-www-form-urlencoded");
                const std::string body = r ? r->body : std::string();
                if (body.size() < shortest) state.SkipWithError("the list came back short");
                answerBytes = body.size();
            });
        for (std::thread& c : clients) c.join();
    }
    state.counters["server_peak_MB"] = statusBytes("VmHWM:", std::to_string(server.Pid())) / (1 << 20);
    state.counters["answer_MB"] = static_cast<double>(answerBytes.load()) / (1 << 20);
}
BENCHMARK_CAPTURE(BM_CatalogListConcurrent, sqlite, "SQLite")
    ->Args({0, 1024})->Args({60000, 1024})->Args({60000, 1 << 20})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK_CAPTURE(BM_CatalogListConcurrent, postgresql, "PostgreSQL")
    ->Args({0, 1024})->Args({60000, 1024})->Args({60000, 1 << 20})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// What a mixed load got accepted, to be found in the database afterwards.
struct TLoadTally {
    std::atomic<int> AcceptedScripts{0}, AcceptedSystems{0}, Failures{0};
    std::set<std::pair<int, int>> Rated;  // (thread, scenario id), written after the threads end
};

// Sends one form to the catalogue for client thread `thread`; the answer's body.
using TPoster = std::function<std::string(int thread, const std::string& path, const TFormFields& fields)>;

// `threads` client threads, `perThread` requests each: lists, downloads, ratings, new scenarios
// and new systems over the first `seeded` scenarios. `round` keeps the new titles unique.
void runMixedLoad(int round, int threads, int perThread, int seeded, const TPoster& post, TLoadTally& tally)
{
    std::vector<std::vector<int>> ratedBy(static_cast<std::size_t>(threads));
    std::vector<std::thread> running;
    for (int t = 0; t < threads; ++t) {
        running.emplace_back([&, t] {
            std::mt19937 rng(static_cast<unsigned>(round * 100 + t));
            const std::string mail = "load" + std::to_string(t) + "@example.org";
            const TFormFields who = {{"appid", "Kvanta_8x20"}, {"appver", "0.1.0"}, {"cl_name", "Нагрузка"},
                                     {"cl_mail", mail},         {"cl_lcid", "1049"}, {"cl_key", "k" + mail}};
            for (int i = 0; i < perThread; ++i) {
                const int kind = static_cast<int>(rng() % 10);
                const int id = 1 + static_cast<int>(rng() % static_cast<unsigned>(seeded));
                TFormFields f;
                std::string path;
                if (kind < 4) {
                    path = "/scripts/scr_getlist.php";
                    f = {{"fltid", std::to_string(static_cast<int>(rng() % 8) - 1)}};
                } else if (kind < 6) {
                    path = "/scripts/scr_getdata.php";
                    f = {{"scr_id", std::to_string(id)}};
                } else if (kind < 8) {
                    path = "/scripts/scr_setrate.php";
                    f = {{"scr_id", std::to_string(id)}, {"rate_value", std::to_string(1 + rng() % 5)}, {"rate_notes", ""}};
                } else if (kind < 9) {
                    path = "/scripts/scr_putscript.php";
                    const std::string title = "Нагрузка " + std::to_string(round) + "-" + std::to_string(t) + "-" + std::to_string(i);
                    f = {{"del_mode", "0"},   {"scr_id", "-1"},     {"scr_uniapps", "0"}, {"scr_publics", "1"},
                         {"scr_title", title}, {"scr_descr", "x"}, {"scr_script", "STK 1"}};
                } else {
                    path = "/scripts/sys_putdata.php";
                    f = {{"del_mode", "0"}, {"sys_id", "-1"}, {"nums", "9"},    {"clen", "8"},  {"olap", "5"},
                         {"title", "Система"}, {"descr", "x"}, {"csize", "1"},
                         {"clist", kv::util::EncodeBase64("1 2 3 4 5 6 7 9")}, {"url", ""}};
                }
                for (const auto& p : who) f.push_back(p);
                try {
                    const auto rows = kv::util::ReadTaggedRows(post(t, path, f));
                    if (kind >= 8 && kind < 9) ++tally.AcceptedScripts;
                    if (kind >= 9) ++tally.AcceptedSystems;
                    if (kind >= 6 && kind < 8 && kv::util::RowField(rows.at(0), "res_code") == "0")
                        ratedBy[static_cast<std::size_t>(t)].push_back(id);
                } catch (const std::exception&) {
                    ++tally.Failures;
                }
            }
        });
    }
    for (std::thread& th : running) th.join();
    for (int t = 0; t < threads; ++t)
        for (const int id : ratedBy[static_cast<std::size_t>(t)]) tally.Rated.insert({t, id});
}

// Fails the benchmark unless every request succeeded and every accepted write is in `storage`.
void checkLoad(benchmark::State& state, kv::server::TCatalogStorage& storage, int seeded, const TLoadTally& tally)
{
    const auto all = storage.ListScripts(kv::server::TScriptFilter::All, "", 0, {0, INT32_MAX}).Entries;
    int ratings = 0;
    for (const auto& e : all) ratings += e.RatingCount;
    const bool complete = static_cast<int>(all.size()) == seeded + tally.AcceptedScripts &&
                          static_cast<int>(storage.ListSystems(8, 20, {0, INT32_MAX}).Entries.size()) == tally.AcceptedSystems &&
                          ratings == static_cast<int>(tally.Rated.size());
    if (tally.Failures > 0) state.SkipWithError("some requests failed");
    else if (!complete) state.SkipWithError("an accepted write is missing from the database");
    state.counters["writes_checked"] =
        tally.AcceptedScripts + tally.AcceptedSystems + static_cast<double>(tally.Rated.size());
}

// 8 client threads, 2,000 requests in all, against the server in this process. Afterwards every
// accepted write must be in the database.
void BM_CatalogMixedLoad(benchmark::State& state)
{
    const auto db = benchDb("catalog-mixed");
    constexpr int Threads = 8, PerThread = 250, Seeded = 100;
    {
        kv::test::LocalCatalog cat(db);
        seedScripts(cat.Storage, Seeded, cat.Now);
        TLoadTally tally;
        int round = 0;
        for (auto _ : state)
            runMixedLoad(++round, Threads, PerThread, Seeded,
                         [&](int, const std::string& path, const TFormFields& f) { return cat.Post(path, f); }, tally);
        checkLoad(state, cat.Storage, Seeded, tally);
        state.counters["requests/s"] =
            benchmark::Counter(static_cast<double>(state.iterations()) * Threads * PerThread, benchmark::Counter::kIsRate);
    }
    std::filesystem::remove_all(db.parent_path());
}
BENCHMARK(BM_CatalogMixedLoad)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same load from 8 client threads, 5,000 requests a round, against kvanta-catalog as separate
// processes: one over a SQLite file, or two sharing one PostgreSQL database (client thread t
// talks to server t % 2), the way several machines would share it behind a proxy.
void BM_CatalogTwoProcesses(benchmark::State& state, const char* kind, int processes)
{
    constexpr int Threads = 8, PerThread = 625, Seeded = 100;
    const auto folder = benchDb("catalog-processes").parent_path();
    std::string location = (folder / "catalog.db").string(), pgName;
    kv::test::PgTestServer* pg = nullptr;
    if (std::string_view(kind) == "PostgreSQL") {
        pg = &kv::test::PgTestServer::Get();
        if (pg->State() != kv::test::PgTestServer::TState::Ready) {
            state.SkipWithError(pg->Why().c_str());
            for (auto _ : state) {
            }
            return;
        }
        pgName = pg->CreateDatabase();
        location = pg->Url(pgName);
    }
    {
        const auto storage = kv::server::OpenCatalogStorage(location);
        seedScripts(*storage, Seeded, kv::test::LocalCatalog::StartTime);
        std::vector<std::unique_ptr<kv::test::CatalogProcess>> servers;
        for (int i = 0; i < processes; ++i)
            servers.push_back(std::make_unique<kv::test::CatalogProcess>(
                KV_CATALOG_PROGRAM, location, folder / ("server" + std::to_string(i) + ".log")));
        TLoadTally tally;
        int round = 0;
        for (auto _ : state)
            runMixedLoad(++round, Threads, PerThread, Seeded,
                         [&](int t, const std::string& path, const TFormFields& f) {
                             return servers[static_cast<std::size_t>(t % processes)]->Post(path, f);
                         },
                         tally);
        servers.clear();
        checkLoad(state, *storage, Seeded, tally);
        state.counters["requests/s"] =
            benchmark::Counter(static_cast<double>(state.iterations()) * Threads * PerThread, benchmark::Counter::kIsRate);
    }
    if (pg) pg->DropDatabase(pgName);
    std::filesystem::remove_all(folder);
}
BENCHMARK_CAPTURE(BM_CatalogTwoProcesses, sqlite_one_process, "SQLite", 1)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK_CAPTURE(BM_CatalogTwoProcesses, postgresql_two_processes, "PostgreSQL", 2)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

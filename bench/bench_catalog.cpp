#include <benchmark/benchmark.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/util/catalogwire.h"
#include "tests/support/localcatalog.h"

namespace {

using kv::util::TFormFields;

std::filesystem::path benchDb(const char* name)
{
    const auto dir = std::filesystem::temp_directory_path() / ("kvbench-" + std::to_string(::getpid()) + "-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir / "catalog.db";
}

void seedScripts(kv::test::LocalCatalog& cat, int count)
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
        cat.Storage.PutScript(w, "key" + std::to_string(i % 20), cat.Now);
    }
}

// The program's default list request over a catalogue of 1,000 entries, a fresh connection each.
void BM_CatalogList(benchmark::State& state)
{
    const auto db = benchDb("catalog-list");
    {
        kv::test::LocalCatalog cat(db);
        seedScripts(cat, 1000);
        const TFormFields fields = {{"fltid", "1"},           {"appid", "Kvanta_8x20"}, {"appver", "0.1.0"},
                                    {"cl_name", "Читатель"}, {"cl_mail", "reader@example.org"}, {"cl_lcid", "1049"}};
        for (auto _ : state) {
            const std::string body = cat.Post("/scripts/scr_getlist.php", fields);
            if (body.size() < 1000 * 300) state.SkipWithError("the list came back short");
            benchmark::DoNotOptimize(body.data());
        }
    }
    std::filesystem::remove_all(db.parent_path());
}
BENCHMARK(BM_CatalogList)->Unit(benchmark::kMillisecond)->UseRealTime();

// 8 client threads, 2,000 requests in all: lists, downloads, ratings, new scenarios and new
// systems. Afterwards every accepted write must be in the database.
void BM_CatalogMixedLoad(benchmark::State& state)
{
    const auto db = benchDb("catalog-mixed");
    constexpr int Threads = 8, PerThread = 250, Seeded = 100;
    {
        kv::test::LocalCatalog cat(db);
        seedScripts(cat, Seeded);
        std::atomic<int> acceptedScripts{0}, acceptedSystems{0}, failures{0};
        std::set<std::pair<int, int>> rated;  // (thread, scenario id), written after the threads end
        int round = 0;
        for (auto _ : state) {
            ++round;
            std::vector<std::vector<int>> ratedBy(Threads);
            std::vector<std::thread> threads;
            for (int t = 0; t < Threads; ++t) {
                threads.emplace_back([&, t] {
                    std::mt19937 rng(static_cast<unsigned>(round * 100 + t));
                    const std::string mail = "load" + std::to_string(t) + "@example.org";
                    const TFormFields who = {{"appid", "Kvanta_8x20"}, {"appver", "0.1.0"}, {"cl_name", "Нагрузка"},
                                             {"cl_mail", mail},         {"cl_lcid", "1049"}, {"cl_key", "k" + mail}};
                    for (int i = 0; i < PerThread; ++i) {
                        const int kind = static_cast<int>(rng() % 10);
                        const int id = 1 + static_cast<int>(rng() % Seeded);
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
                            const auto rows = kv::util::ReadTaggedRows(cat.Post(path, f));
                            if (kind >= 8 && kind < 9) ++acceptedScripts;
                            if (kind >= 9) ++acceptedSystems;
                            if (kind >= 6 && kind < 8 && kv::util::RowField(rows.at(0), "res_code") == "0")
                                ratedBy[static_cast<std::size_t>(t)].push_back(id);
                        } catch (const std::exception&) {
                            ++failures;
                        }
                    }
                });
            }
            for (std::thread& th : threads) th.join();
            for (int t = 0; t < Threads; ++t)
                for (const int id : ratedBy[static_cast<std::size_t>(t)]) rated.insert({t, id});
        }
        const auto all = cat.Storage.ListScripts(kv::server::TScriptFilter::All, "", cat.Now);
        int ratings = 0;
        for (const auto& e : all) ratings += e.RatingCount;
        const bool complete = static_cast<int>(all.size()) == Seeded + acceptedScripts &&
                              static_cast<int>(cat.Storage.ListSystems(8, 20).size()) == acceptedSystems &&
                              ratings == static_cast<int>(rated.size());
        if (failures > 0) state.SkipWithError("some requests failed");
        else if (!complete) state.SkipWithError("an accepted write is missing from the database");
        state.counters["requests/s"] =
            benchmark::Counter(static_cast<double>(state.iterations()) * Threads * PerThread, benchmark::Counter::kIsRate);
        state.counters["writes_checked"] = acceptedScripts + acceptedSystems + static_cast<double>(rated.size());
    }
    std::filesystem::remove_all(db.parent_path());
}
BENCHMARK(BM_CatalogMixedLoad)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

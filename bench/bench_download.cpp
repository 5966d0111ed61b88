#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/silentshell.h"
#include "core/archive/archive.h"
#include "core/archive/drawpage.h"
#include "core/archive/sample.h"
#include "core/util/cp1251.h"
#include "core/online/drawdownload.h"
#include "core/workspace/workspace.h"
#include "net/webaccess.h"
#include "tests/net/localserver.h"
#include "tests/support/drawpages.h"

namespace {

void BM_ParseDrawPage(benchmark::State& state)
{
    const kv::game::TDrawsArray site = kv::archive::SyntheticDraws(50, 3, 1001);
    const std::string page = kv::util::Utf8ToCp1251(kv::test::OperatorPageFor(site, 1001, 1050));
    for (auto _ : state) {
        kv::archive::TDrawPage read = kv::archive::ParseDrawPage(page);
        if (read.Draws.size() != 50) state.SkipWithError("the page did not read");
        benchmark::DoNotOptimize(read.Draws.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(page.size()));
}
BENCHMARK(BM_ParseDrawPage)->Unit(benchmark::kMicrosecond);

// 1,000 draws over 20 full pages and the empty one that ends the loop, each saved, through the
// program's page client against a server on 127.0.0.1.
void BM_DownloadLoopback(benchmark::State& state)
{
    const kv::game::TDrawsArray site = kv::archive::SyntheticDraws(1000, 9, 1);
    kv::test::LocalServer server;
    server.server.Get("/zarvik/archive", [&](const httplib::Request& req, httplib::Response& res) {
        const int first = std::stoi(req.get_param_value("firstDraw"));
        const int last = std::stoi(req.get_param_value("lastDraw"));
        res.set_content(kv::test::OperatorPageFor(site, first, last), "text/html; charset=utf-8");
    });
    server.Start();
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("kvbench-" + std::to_string(::getpid()) + "-download");
    kv::net::PageClient pages;
    const kv::online::TWebAccess web = kv::net::MakeWebAccess(pages);
    kv::online::TDownloadSettings settings;
    settings.OperatorUrl = server.Url();
    settings.AskRetry = false;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        kv::workspace::Workspace ws(dir);
        ws.Proxy().Saved = true;
        kv::bench::SilentShell shell;
        state.ResumeTiming();
        const kv::online::TDownloadResult r = kv::online::DownloadDraws(ws, shell, web, settings);
        if (r.Added != 1000 || r.Failed) state.SkipWithError(("download failed: " + r.Failure).c_str());
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_DownloadLoopback)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

// The scenario test through the main window (offscreen) beside the same test headless, in one
// run: the window may cost at most twice the engine.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "app/formmain.h"
#include "app/formtestcount.h"
#include "app/views/scenarioview.h"
#include "bench/silentshell.h"
#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/workspace/formsettings.h"
#include "core/workspace/headless.h"
#include "core/workspace/workspace.h"

namespace {

// The demo data: the archive of scripts/start.sh and the catalogue's scenario "Числа и суммы".
constexpr int DemoDraws = 2000;
constexpr uint32_t DemoSeed = 8201;
const char* const DemoScenario = "FULL#ALL#NEX|TSD1#NUMS:10#LNO:#SF:1|BMF8#SUMS:20#WMV:5#SV:3| | | | | |Числа и суммы";
constexpr int TestCount = 100;

// A fresh data folder with the demo archive and scenario, removed with everything in it.
struct DemoFolder {
    std::filesystem::path dir;

    explicit DemoFolder(const char* what)
    {
        static int made = 0;
        dir = std::filesystem::temp_directory_path() /
              ("kvbench-" + std::string(what) + "-" + std::to_string(::getpid()) + "-" + std::to_string(++made));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        kv::archive::WriteArchiveFile(dir / kv::archive::ArchiveFileName, kv::archive::SyntheticDraws(DemoDraws, DemoSeed));
        kv::bench::SilentShell shell;
        kv::workspace::Workspace ws(dir);
        ws.Scenario().LoadCurrent(shell);
        ws.Scenario().AddLine(DemoScenario, shell);
        // The start neither asks about nor starts a download.
        kv::workspace::FormSettings(dir / "Kvanta_8x20.frm").WriteInt("DownloadDrawsOnStart", 2);
    }
    ~DemoFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

// "Тест" of the scenario over the last 100 draws, as a user runs it in the window: the count is
// typed into the dialog and confirmed. The window's start is not measured.
void BM_WindowScenarioTest100(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        DemoFolder folder("window");
        auto window = std::make_unique<TFormMain>(folder.dir, kv::workspace::CommandLine{});
        window->show();
        while (!window->isInitialised()) QApplication::processEvents(QEventLoop::AllEvents, 50);
        // What the start left to do (the catalogue's lists, first paints) is not the test's.
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 1000) QApplication::processEvents(QEventLoop::AllEvents, 50);
        QTimer answer;
        answer.setInterval(5);
        QObject::connect(&answer, &QTimer::timeout, [&answer] {
            auto* dialog = qobject_cast<TFormTestCount*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) return;
            answer.stop();
            dialog->countEdit()->setValue(TestCount);
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        answer.start();
        // The user starts the test from the scenario tab (0), or keeps the statistics in view (1),
        // which must then follow the run a few times a second.
        if (state.range(0) == 0) window->showTab(window->findChild<ScenarioView*>());
        QAction* test = window->command(QStringLiteral("ScriptTest"));
        window->updateActions();
        if (!test->isEnabled()) {
            state.SkipWithError("\"Тест\" is disabled");
            break;
        }
        state.ResumeTiming();
        test->trigger();
        state.PauseTiming();
        state.counters["stakes"] = double(window->workspace().StakesFile().RecordCount());
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowScenarioTest100)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1)->MeasureProcessCPUTime();

// The same test without a window: `scripttest 100` in-process, its start (archive, settings)
// included.
void BM_HeadlessScenarioTest100(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        DemoFolder folder("headless");
        kv::bench::SilentShell shell;
        kv::workspace::CommandLine cmd;
        cmd.headless = "scripttest";
        cmd.headlessArgs = {std::to_string(TestCount)};
        std::ostringstream out;
        state.ResumeTiming();
        {
            kv::workspace::Workspace ws(folder.dir);
            if (kv::workspace::RunHeadless(ws, shell, cmd, out) != 0) state.SkipWithError(shell.LastMessage().c_str());
        }
        state.PauseTiming();
        const std::string text = out.str();
        state.counters["lines"] = double(std::count(text.begin(), text.end(), '\n'));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HeadlessScenarioTest100)->Unit(benchmark::kMillisecond)->Iterations(1)->MeasureProcessCPUTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application ends here, before the program's static objects: one ended among them
    // outlived Qt's own and crashed at exit.
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

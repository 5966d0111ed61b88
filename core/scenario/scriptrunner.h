#pragma once
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/filters/filterset.h"
#include "core/filters/statfilter.h"
#include "core/game/types.h"
#include "core/scenario/scriptheader.h"
#include "core/scenario/scriptstate.h"
#include "core/scenario/survival.h"
#include "core/scenario/testrun.h"
#include "core/stakes/ratings.h"
#include "core/stakes/prizetable.h"

namespace kv::shell {
class Shell;
}
namespace kv::stats {
class TPrefetchCache;
class TStatList;
class TStatTable;
} // namespace kv::stats
namespace kv::filters {
struct TStatViewState;
}
namespace kv::stakes {
struct TStakeRecord;
}

namespace kv::scenario {

// --- texts of the run ---------------------------------------------------------------------------

// Banner lines of the run log, 94 characters wide (OffsetBanner once formatted).
constexpr const char* StartBanner = "### ЗАПУСК СЦЕНАРИЯ ##########################################################################";
constexpr const char* EqualsLine = "==============================================================================================";
constexpr const char* OffsetBanner = "=== Выполнение сценария для смещения %.6d ==================================================";
constexpr const char* EndBanner = "### ЗАВЕРШЕНИЕ СЦЕНАРИЯ ######################################################################";
constexpr const char* StopBanner = "### ВЫПОЛНЕНИЕ СЦЕНАРИЯ ПРЕРВАНО #############################################################";
constexpr const char* DashLine = "----------------------------------------------------------------------------------------------";

constexpr const char* RunningText = "Выполнение сценария...";
constexpr const char* FinishedText = "Сценарий завершен!";
constexpr const char* StopQuestion = "Остановить выполнение сценария?";

// The name of a scenario stake, which is also its rating key:
// "03.012: my idea @ EXCL:5#RAND + TSD1#NUMS:10#LMV:3#SF:1" ("03.012: @ ..." without a comment).
std::string StakeName(int line, int variant, std::string_view comment, std::string_view stepText);

// The scenario status bar: panels 2 to 5 ("Строк: %d" is the scenario's own, ScenarioLinesText).
struct TRunStatus {
    int Cycle = 0;
    int Line = 0;
    int Stakes = 0;
    std::string Text;
};
std::string CycleText(int cycle);     // "Цикл: %d"
std::string LineText(int line);       // "Строка: %d"
std::string StakesText(int stakes);   // "Ставок: %d"
// Panel 5: "Фильтр %d из %d: %s" while variants run (total not 0), else the text alone.
std::string RunPanelText(int variant, int total, std::string_view text);

// The "Количество тестов" dialog: "Укажите количество тестов:", 1 .. draws - 1, initially 10.
constexpr int TestCountDefault = 10;
constexpr int TestCountMax(int drawCount) { return drawCount - 1; }

// --- the run log -------------------------------------------------------------------------------------

// ScriptLog_<yyyy-mm-dd-hh-nn-ss>.txt of the run's start time.
std::string ScriptLogFileName(const std::tm& start);
// "[yyyy-mm-dd hh:nn:ss]: " and the text (UTF-8, without the line end).
std::string ScriptLogLine(const std::tm& time, std::string_view text);

// The run log: a new file per run in the data directory, CP1251 with CR LF; each line is
// appended by opening and closing the file, so the log survives whatever ends the run.
class TScriptLog {
public:
    TScriptLog(std::filesystem::path dir, shell::Shell& shell) : m_dir(std::move(dir)), m_shell(shell) {}

    bool Enabled = false;                  // ScriptLogEnabled
    std::function<std::tm()> Clock;        // local time; the system's clock when empty

    // Makes the file name for a new run (when the log is on).
    void Start();
    // Writes one line when the log is on; a failure shows "Ошибка записи журнала: %s!".
    void Line(std::string_view text);
    // The end of the run: the name is forgotten; returns it (empty when nothing was logged).
    std::filesystem::path Finish();
    const std::filesystem::path& File() const { return m_file; }

private:
    std::tm now() const;

    std::filesystem::path m_dir;
    shell::Shell& m_shell;
    std::filesystem::path m_file;
};

// LogsDelete: deletes every ScriptLog_*.txt of the folder, with the summary box, or "Файлы
// журналов не найдены!" when there is none.
void ScriptLogsDelete(const std::filesystem::path& dir, shell::Shell& shell);

// --- the runner --------------------------------------------------------------------------------------

// Settings the runner reads when a run starts (the window-settings file's flags).
struct TScriptRunOptions {
    bool LogEnabled = false;           // ScriptLogEnabled
    bool CheckOnLine = true;           // StakesCheckOnLine: check after each variant, else after each pass
    bool SortedDraws = false;
    bool PrefetchsEnabled = false;
    bool ShowTotalLine = true;
    bool StakesScrollEnabled = false;
    bool StakesLogEnabled = false;
    // "Тест" records how each filter part treated the draw that followed its window.
    bool SurvivalEnabled = true;
};

// What the runner asks of the window around it. Empty hooks are skipped.
struct TScriptRunnerHooks {
    // A run starts (true: disable the draws, combinations and statistics tabs and the scenario
    // view) or ends (false: enable them); the commands re-evaluate their state either way.
    std::function<void(bool running)> RunningChanged;
    // The stop command changed the abort flag: the commands re-evaluate ("Стоп" greys out).
    std::function<void()> CommandsChanged;
    // Panels 2 to 5 of the scenario status bar.
    std::function<void(const TRunStatus&)> Status;
    // Select the line alone in the scenario view; -1 clears the selection.
    std::function<void(int line)> SelectLine;
    // RefreshStakeView(refresh, go to last).
    std::function<void(bool refresh, bool goToLast)> RefreshStakeView;
    // The statistics view must show what a filter part works on.
    std::function<void(const filters::TStatViewState&)> StatView;
    // After a check that checked something: re-sort and save the rating.
    std::function<void()> RatingsChanged;
    // The end of a logged run: show the log in the system's viewer.
    std::function<void(const std::filesystem::path&)> OpenLog;
    // Local time for the logs; the system's clock when empty.
    std::function<std::tm()> Clock;
    // Milliseconds of a steady clock, for the throttling of bulk refreshes.
    std::function<int64_t()> TickMs;
    // A uniformly random index in 0 .. count-1 (stake mode RAND).
    std::function<int(int count)> RandomIndex;
    // A test recorded filter survival: the summary, also saved in SurvivalFileName.
    std::function<void(const std::vector<TSurvivalRow>&)> SurvivalReady;
};

// The scenario runner: "Прогноз" (one pass at the current draws offset) and "Тест" (one pass
// at each of the offsets n .. 1). Everything runs on the caller's thread; the window stays
// responsive through the shell's ProcessEvents at every abort check, and the stop command,
// run from those events, sets the abort flag that every loop polls.
//
// A Qt window drives it so: build it once beside the workspace (its TScriptState) and the registry, fill Options
// from the settings before each run, connect the hooks to the views, call ScriptRun or
// ScriptTest(count) from the commands (enabled by CanStart), and ScriptStop from "Стоп"
// (enabled by CanStop); checked stakes go to the rating through `onChecked`.
class TScriptRunner {
public:
    TScriptRunner(TScriptState& ws, stats::TStatList& list, const stats::TPrefetchCache& cache,
                  stats::TStatTable& table, shell::Shell& shell,
                  std::function<void(const stakes::TStakeRecord&)> onChecked = {});

    TScriptRunOptions Options;
    TScriptRunnerHooks Hooks;

    // Reuse of work that gives the same lists again (filter passes answered from earlier identical
    // ones, variants started after the parts they share with the last one). On by default; off
    // only to check that the reuse changes nothing.
    bool ReuseWork = true;

    // ScriptRun / ScriptTest: idle, the scenario has lines and the archive has draws.
    bool CanStart() const;
    // ScriptStop: a run is in progress and the abort flag is clear.
    bool CanStop() const { return m_running && !m_abort; }
    // LogToggle and LogsDelete: idle and no run.
    bool CanChangeLogs() const;

    // "Прогноз"; nothing without lines or draws.
    void ScriptRun();
    // "Тест" after the count dialog; nothing without lines or for a count outside 1 .. draws - 1.
    // The last `holdout` of the test's draws (0 .. count - 1, "Контрольные тиражи") are kept
    // apart: the run record, the survival and the report show them separately from the
    // draws before them, on which the player tunes.
    void ScriptTest(int count, int holdout = 0);
    // "Стоп": asks, then sets the abort flag. True when the user agreed.
    bool ScriptStop();

    bool Running() const { return m_running; }
    bool AbortFlag() const { return m_abort; }
    int Cycle() const { return m_cycle; }
    int StakesMade() const { return m_stakesMade; }
    // Filter passes of the last run answered from an identical earlier pass.
    int ReusedPasses() const { return m_reusedPasses; }
    const TScriptLog& Log() const { return m_log; }
    // Filter survival of the last test (empty after "Прогноз").
    const TSurvival& Survival() const { return m_survival; }
    // The record of the last test: its draws, its hold-out and the rating rows of either half;
    // also saved in the data directory (TestRunFileName).
    const TTestRun& LastTest() const { return m_lastTest; }

private:
    struct Step;
    struct ParsedLine;

    void begin();
    void end();
    void logBanner();
    void finishSurvival();
    void finishTestRun();
    void runPass();
    void runStep(int index, const std::string& line);
    void buildStartList(const TScriptHeader& header, bool makeList);
    void makeStakes(const Step& step);
    void systemPlay(const Step& step);
    bool addScenarioStake(const Step& step, const game::TComb& comb, bool bulk);
    bool stakeStands(int32_t drawNo, const game::TComb& comb);
    void stakesChanged(bool bulk);
    void checkStakes();
    void refreshStakeView(bool refresh, bool goToLast);
    bool checkAbort();
    void showRunStatus(int line, int variant, std::string_view text, int total);
    void showPanel(std::string text);
    template <typename MakeText>
    void log(MakeText make);
    int64_t tick() const;

    TScriptState& m_ws;
    stats::TStatList& m_list;
    stakes::TPrizeTable m_prizes;
    const stats::TPrefetchCache& m_cache;
    stats::TStatTable& m_table;
    shell::Shell& m_shell;
    std::function<void(const stakes::TStakeRecord&)> m_onChecked;
    TScriptLog m_log;
    std::mt19937 m_random;

    bool m_running = false;
    bool m_abort = false;
    int m_cycle = 0;
    int m_stakesMade = 0;
    TRunStatus m_status;
    int64_t m_throttle = 0;
    int m_checkedRecords = 0;   // stakes-file records a check of this run has read
    std::optional<std::pair<int32_t, int32_t>> m_drawNoRange;   // of the archive, which a run leaves as it is
    // The stakes of 8 numbers in the file, by draw and numbers, once a NewOnly step asked.
    std::unordered_set<uint64_t> m_standing;
    bool m_standingRead = false;
    bool m_stakeFailed = false;
    filters::TFilterMemo m_memo;
    filters::TTableTextsMemo m_tableTexts;
    stats::TSightings m_sightings;
    int m_reusedPasses = 0;
    bool m_testing = false;
    TSurvival m_survival;
    TTestRun m_lastTest;
    stakes::TRatings m_tuning, m_held;   // the halves of the running test
    // The steps a test has read, by their text: every offset runs the same lines.
    std::unordered_map<std::string, std::shared_ptr<const ParsedLine>> m_parsed;
};

} // namespace kv::scenario

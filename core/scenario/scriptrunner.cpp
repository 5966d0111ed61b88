#include "core/scenario/scriptrunner.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <chrono>
#include <optional>
#include <vector>

#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "core/filters/filteritem.h"
#include "core/filters/filterset.h"
#include "core/filters/generate.h"
#include "core/game/numbers.h"
#include "core/game/texts.h"
#include "core/scenario/scenario.h"
#include "core/scenario/systemcombs.h"
#include "core/shell/shell.h"
#include "core/stakes/stakecheck.h"
#include "core/stakes/stakecommands.h"
#include "core/stakes/stakerecord.h"
#include "core/stakes/stakesfile.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"
#include "core/util/cp1251.h"
#include "core/util/files.h"
#include "core/util/format.h"

namespace kv::scenario {

namespace {

// Bulk refreshes of the stakes counter wait at least this long for each other.
constexpr int64_t ThrottleMs = 101;

// A stake of 8 distinct numbers of the field as its draw and the set of its numbers; nothing
// for anything else.
bool standingKey(int32_t drawNo, const uint8_t* nums, uint64_t& key)
{
    uint32_t mask = 0;
    for (int i = 0; i < 8; ++i) {
        if (nums[i] < game::MinNumber || nums[i] > game::MaxNumber) return false;
        mask |= 1u << nums[i];
    }
    if (std::popcount(mask) != 8) return false;
    key = (uint64_t(uint32_t(drawNo)) << 32) | mask;
    return true;
}

std::tm systemNow()
{
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

} // namespace

std::string StakeName(int line, int variant, std::string_view comment, std::string_view stepText)
{
    std::string s = util::Format("%.2d.%.3d:", {line, variant});
    s += ' ';
    if (!comment.empty()) {
        s += comment;
        s += ' ';
    }
    s += "@ ";
    s += stepText;
    return s;
}

std::string CycleText(int cycle) { return util::Format("Цикл: %d", {cycle}); }
std::string LineText(int line) { return util::Format("Строка: %d", {line}); }
std::string StakesText(int stakes) { return util::Format("Ставок: %d", {stakes}); }

std::string RunPanelText(int variant, int total, std::string_view text)
{
    if (total == 0) return std::string(text);
    return util::Format("Фильтр %d из %d: %s", {variant, total, text});
}

// --- the run log -------------------------------------------------------------------------------------

std::string ScriptLogFileName(const std::tm& t)
{
    return util::Format("ScriptLog_%.4d-%.2d-%.2d-%.2d-%.2d-%.2d.txt",
                        {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec});
}

std::string ScriptLogLine(const std::tm& t, std::string_view text)
{
    return util::Format("[%.4d-%.2d-%.2d %.2d:%.2d:%.2d]: ",
                        {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec})
        + std::string(text);
}

std::tm TScriptLog::now() const
{
    return Clock ? Clock() : systemNow();
}

void TScriptLog::Start()
{
    if (Enabled) m_file = m_dir / ScriptLogFileName(now());
}

void TScriptLog::Line(std::string_view text)
{
    if (!Enabled) return;
    if (m_file.empty()) m_file = m_dir / ScriptLogFileName(now());
    const std::string bytes = util::Utf8ToCp1251(ScriptLogLine(now(), text)) + "\r\n";
    const int err = util::AppendToFile(m_file, bytes);
    if (err != 0) m_shell.ShowError(util::Format("Ошибка записи журнала: %s!", {util::ErrnoText(err)}));
}

std::filesystem::path TScriptLog::Finish()
{
    std::filesystem::path f = std::move(m_file);
    m_file.clear();
    return f;
}

void ScriptLogsDelete(const std::filesystem::path& dir, shell::Shell& shell)
{
    constexpr std::string_view prefix = "ScriptLog_";
    constexpr std::string_view suffix = ".txt";
    bool any = false;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
        std::error_code typeEc;
        const std::string name = e.path().filename().string();
        if (e.is_regular_file(typeEc) && name.size() >= prefix.size() + suffix.size() && name.starts_with(prefix)
            && name.ends_with(suffix)) {
            any = true;
            break;
        }
    }
    if (!any) {
        shell.ShowInfo("Файлы журналов не найдены!");
        return;
    }
    stakes::TDeleteSummary summary;
    {
        shell::BusyScope busy(shell, "Поиск файлов журналов...");
        summary = stakes::DeleteMatchingFiles(dir, prefix, suffix);
    }
    shell.ShowMessage(summary.AllDeleted() ? shell::MessageKind::Information : shell::MessageKind::Warning,
                      summary.Title + "\n\n" + summary.Details);
}

// --- the runner --------------------------------------------------------------------------------------

namespace {

// The lists that filter parts of earlier variants left, one per prefix of the parts. Variants
// come item 1 slowest, so neighbours share their first parts; on the same start list those
// parts leave the same list and history, and the next variant starts after them instead of
// repeating their tables and passes. A variant keeps the states up to the prefix it shares with
// the variant after it (the shorter ones are still those of earlier variants with the same
// prefix); only parts that ran keep a copy, the others point to the copy before them (-1: the
// start list as built).
class TPrefixMemo {
public:
    // The number of leading parts of `a` and `b` that are equal.
    static int SharedParts(const filters::TFilterRec& a, const filters::TFilterRec& b)
    {
        int shared = 0;
        while (shared < filters::FilterRecParts && a[std::size_t(shared)] == b[std::size_t(shared)]) ++shared;
        return shared;
    }

    // The number of leading parts of the variant whose state is kept.
    int Shared(const filters::TFilterRec& rec) const { return std::min(m_valid, SharedParts(rec, m_rec)); }
    // Whether the state after that many parts is a kept list (not the start list).
    bool Kept(int shared) const { return m_source[std::size_t(shared)] >= 0; }

    // A variant built its start list, which left these history rows before its parts.
    void Started(const filters::TFilterHistory& history) { m_startRows = history.Count(); }

    // Puts the kept state of the variant's shared parts into the list and the history and
    // returns their number. A start list taken from the buffer (a list without the last draws,
    // which the first variant left there) comes with an empty history: the rows of the start
    // list are then left out, as building the variant afresh would.
    int Restore(const filters::TFilterRec& rec, filters::TCombList& combs, filters::TFilterHistory& history,
                bool startFromBuffer)
    {
        const int shared = Shared(rec);
        m_rec = rec;
        m_valid = shared;
        const int src = m_source[std::size_t(shared)];
        if (src >= 0) {
            combs.Share(m_lists[std::size_t(src)], m_ids[std::size_t(src)]);
            combs.DiscardUndoCopy();
            combs.NotifyChanged();
            std::vector<filters::THistoryRow> rows = m_rows[std::size_t(src)];
            m_startRows = m_starts[std::size_t(src)];
            if (startFromBuffer) {
                rows.erase(rows.begin(), rows.begin() + std::min<std::ptrdiff_t>(m_startRows, std::ssize(rows)));
                m_startRows = 0;
            }
            history.Assign(std::move(rows));
        }
        return shared;
    }

    // The state after part index `part` (0-based); `ran` tells whether it changed anything.
    // The list is kept by sharing its content: content it shows from elsewhere (a remembered
    // filter pass) is taken as it is, and its own is handed over to storage of the memo.
    void Keep(int part, bool ran, filters::TCombList& combs, const filters::TFilterHistory& history)
    {
        const std::size_t next = std::size_t(part) + 1;
        if (ran) {
            std::shared_ptr<const game::TCombsArray> content = combs.SharedContent();
            if (!content) {
                const std::shared_ptr<game::TCombsArray> holder = spareStorage();
                combs.HandOver(holder, combs.ContentId());
                content = holder;
            }
            m_lists[next] = std::move(content);
            m_ids[next] = combs.ContentId();
            m_rows[next] = history.Rows();
            m_starts[next] = m_startRows;
            m_source[next] = part + 1;
        } else {
            m_source[next] = m_source[std::size_t(part)];
        }
        m_valid = std::max(m_valid, part + 1);
    }

private:
    // Storage that no kept state and no list shows any more, with room for any list.
    std::shared_ptr<game::TCombsArray> spareStorage()
    {
        for (const std::shared_ptr<game::TCombsArray>& s : m_storage)
            if (s.use_count() == 1) return s;
        m_storage.push_back(std::make_shared<game::TCombsArray>());
        m_storage.back()->reserve(std::size_t(game::CombCount));
        return m_storage.back();
    }

    filters::TFilterRec m_rec{};
    int m_valid = 0;
    std::array<int, filters::FilterRecParts + 1> m_source{-1, -1, -1, -1, -1, -1, -1, -1};
    std::array<std::shared_ptr<const game::TCombsArray>, filters::FilterRecParts + 1> m_lists;
    std::vector<std::shared_ptr<game::TCombsArray>> m_storage;
    std::array<uint64_t, filters::FilterRecParts + 1> m_ids{};
    // The rows of the start list at the head of each kept history, and of the current variant's.
    std::array<int, filters::FilterRecParts + 1> m_starts{};
    int m_startRows = 0;
    std::array<std::vector<filters::THistoryRow>, filters::FilterRecParts + 1> m_rows;
};

} // namespace

// What the stakes of one variant are made from.
struct TScriptRunner::Step {
    int Line = 0;              // 1-based
    int Variant = 0;           // 1-based
    TScriptHeader Header;
    std::string Comment;       // field 9
    std::string StepText;      // run text + " + " + the variant's text
};

// A step line as read, with the texts of its variants and their parts. The reading depends only
// on the text and the statistics known, which a run cannot change; steps of more variants than
// this keeps are read again, as the expansion would report its progress.
struct TScriptRunner::ParsedLine {
    static constexpr int MaxVariants = 999;

    TScriptHeader Header;
    std::string Comment;
    std::string RunText;
    std::vector<filters::TFilterRec> Recs;
    std::vector<std::string> RecTexts;                                     // per variant
    std::vector<std::array<std::string, filters::FilterRecParts>> PartTexts;   // per variant, part
};

TScriptRunner::TScriptRunner(TScriptState& ws, stats::TStatList& list, const stats::TPrefetchCache& cache,
                             stats::TStatTable& table, shell::Shell& shell,
                             std::function<void(const stakes::TStakeRecord&)> onChecked)
    : m_ws(ws),
      m_list(list),
      m_cache(cache),
      m_table(table),
      m_shell(shell),
      m_onChecked(std::move(onChecked)),
      m_log(ws.DataDir(), shell),
      m_random(std::random_device{}())
{
}

bool TScriptRunner::CanStart() const
{
    return !m_shell.IsBusy() && !m_running && !m_ws.Scenario().Empty() && m_ws.DrawCount() > 0;
}

bool TScriptRunner::CanChangeLogs() const
{
    return !m_shell.IsBusy() && !m_running;
}

template <typename MakeText>
void TScriptRunner::log(MakeText make)
{
    if (m_log.Enabled) m_log.Line(make());
}

int64_t TScriptRunner::tick() const
{
    if (Hooks.TickMs) return Hooks.TickMs();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool TScriptRunner::checkAbort()
{
    m_shell.ProcessEvents();
    return m_abort;
}

void TScriptRunner::showRunStatus(int line, int variant, std::string_view text, int total)
{
    m_status.Cycle = m_cycle;
    m_status.Line = line;
    m_status.Stakes = m_stakesMade;
    m_status.Text = RunPanelText(variant, total, text);
    if (Hooks.Status) Hooks.Status(m_status);
    m_shell.ProcessEvents();
}

void TScriptRunner::showPanel(std::string text)
{
    m_status.Cycle = m_cycle;
    m_status.Stakes = m_stakesMade;
    m_status.Text = std::move(text);
    if (Hooks.Status) Hooks.Status(m_status);
}

void TScriptRunner::refreshStakeView(bool refresh, bool goToLast)
{
    if (Hooks.RefreshStakeView) Hooks.RefreshStakeView(refresh, goToLast);
}

void TScriptRunner::checkStakes()
{
    stakes::TCheckSettings settings;
    settings.Draws = &m_ws.Draws();
    settings.Prizes = m_prizes;
    settings.LogEnabled = Options.StakesLogEnabled;
    settings.LogDir = m_ws.DataDir();
    settings.OnChecked = [this](const stakes::TStakeRecord& stake) {
        if (m_onChecked) m_onChecked(stake);
        if (m_testing && stake.DrawNo >= m_lastTest.FirstDrawNo && stake.DrawNo <= m_lastTest.LastDrawNo)
            (m_lastTest.IsHoldout(stake.DrawNo) ? m_held : m_tuning).AddRating(stake);
    };
    settings.Clock = Hooks.Clock;
    // The archive stands still during a run and the run only appends, so what an earlier check
    // of this run left unchecked cannot be checked now: each check reads only the new records.
    stakes::TStakesFile& file = m_ws.StakesFile();
    settings.FirstRecord = m_checkedRecords;
    if (ReuseWork) {
        if (!m_drawNoRange) m_drawNoRange = stakes::DrawNoRange(m_ws.Draws());
        settings.DrawNoRange = m_drawNoRange;
    }
    // Nothing can put another file in the stakes file's place while a run holds the program
    // busy, so the reopen that follows a check elsewhere (to find such a file) is left out.
    if (stakes::CheckStakes(file, settings, m_shell) && Hooks.RatingsChanged) Hooks.RatingsChanged();
    m_checkedRecords = file.RecordCount();
    refreshStakeView(true, false);
}

void TScriptRunner::logBanner()
{
    log([] { return std::string(EqualsLine); });
    log([&] { return util::Format(OffsetBanner, {m_ws.DrawsOffset()}); });
    log([] { return std::string(EqualsLine); });
}

// The start of both runs: busy, the log opened, the flags reset (the cycle is the caller's).
void TScriptRunner::begin()
{
    m_shell.MarkBusy();
    // Announced before the first status or event: a window then paints nothing it would paint
    // again when the run ends (a short run is painted once).
    if (Hooks.RunningChanged) Hooks.RunningChanged(true);
    m_shell.SetStatusText(RunningText);
    m_log.Enabled = Options.LogEnabled;
    m_log.Clock = Hooks.Clock;
    m_log.Start();
    log([] { return std::string(StartBanner); });
    m_running = true;
    m_abort = false;
    m_stakesMade = 0;
    m_checkedRecords = 0;
    m_standing.clear();
    m_standingRead = false;
    m_drawNoRange.reset();
    m_status = TRunStatus{};
    m_memo.Clear();
    m_sightings.Clear();
    m_survival.Clear();
    m_parsed.clear();
    // The settings cannot change while a run holds the program busy.
    m_prizes = stakes::TPrizeTable(m_list.Config());
}

// The end of both runs, whatever happened before: flags cleared, views enabled, the log shown.
void TScriptRunner::end()
{
    m_cycle = 0;
    m_running = false;
    m_abort = false;
    m_reusedPasses = m_memo.Hits();
    m_memo.Clear();
    m_sightings.Clear();
    m_tableTexts.Clear();
    m_parsed.clear();
    if (Hooks.RunningChanged) Hooks.RunningChanged(false);
    if (m_log.Enabled) {
        log([] { return std::string(EndBanner); });
        const std::filesystem::path file = m_log.Finish();
        std::error_code ec;
        if (!file.empty() && std::filesystem::exists(file, ec) && Hooks.OpenLog) Hooks.OpenLog(file);
    }
    m_shell.SetStatusText("");
    m_shell.UnmarkBusy();
}

void TScriptRunner::ScriptRun()
{
    if (m_running || m_ws.Scenario().Empty() || m_ws.DrawCount() == 0) return;
    begin();
    m_cycle = 1;
    showRunStatus(0, 0, RunningText, 0);
    const int sortColumn = m_table.SortColumn();
    const bool sortAscending = m_table.SortAscending();
    try {
        logBanner();
        runPass();
        if (!m_abort) showPanel(FinishedText);
    } catch (const std::exception& e) {
        m_shell.ShowError(e.what());
    } catch (...) {
        m_shell.ShowError("Неизвестная ошибка!");
    }
    m_table.SortRows(sortColumn, sortAscending);
    end();
}

void TScriptRunner::ScriptTest(int count, int holdout)
{
    if (m_running || m_ws.Scenario().Empty() || count < 1 || count > TestCountMax(m_ws.DrawCount())) return;
    if (holdout < 0 || holdout >= count) return;
    begin();
    // The pass at offset o stakes on the draw o places before the end of the archive.
    const game::TDrawsArray& draws = m_ws.Draws();
    const auto drawAt = [&](int offset) { return draws[draws.size() - std::size_t(offset)].DrawNo; };
    m_lastTest = TTestRun{};
    m_lastTest.Count = count;
    m_lastTest.Holdout = holdout;
    m_lastTest.FirstDrawNo = drawAt(count);
    m_lastTest.HoldoutFrom = holdout > 0 ? drawAt(holdout) : 0;
    m_lastTest.LastDrawNo = drawAt(1);
    m_tuning.Clear();
    m_held.Clear();
    showRunStatus(0, 0, RunningText, 0);
    const int sortColumn = m_table.SortColumn();
    const bool sortAscending = m_table.SortAscending();
    const int savedOffset = m_ws.DrawsOffset();
    m_testing = true;
    // The test goes through many lists; Undo afterwards brings back the player's own.
    filters::TCombsArray listBefore = m_ws.Combs().Items();
    std::vector<filters::THistoryRow> historyBefore = m_ws.History().Rows();
    try {
        m_cycle = 0;
        m_stakesMade = 0;
        for (int i = 0; i < count; ++i) {
            const int offset = count - i;
            ++m_cycle;
            showRunStatus(0, 0, RunningText, 0);
            if (checkAbort()) break;
            m_ws.SetDrawsOffset(offset);
            if (checkAbort()) break;
            logBanner();
            if (checkAbort()) break;
            runPass();
        }
        // A stopped test stays where it stopped, so the user can look at that window.
        if (!m_abort) m_ws.SetDrawsOffset(savedOffset);
    } catch (const std::exception& e) {
        m_shell.ShowError(e.what());
    } catch (...) {
        m_shell.ShowError("Неизвестная ошибка!");
    }
    m_testing = false;
    m_ws.Combs().SetUndoSnapshot(std::move(listBefore), std::move(historyBefore));
    showPanel(FinishedText);
    m_table.SortRows(sortColumn, sortAscending);
    finishSurvival();
    finishTestRun();
    end();
}

// The halves of the test go beside the rating, so that the windows and the report can show
// them after the program started again.
void TScriptRunner::finishTestRun()
{
    m_lastTest.Tuning = m_tuning.Items();
    m_lastTest.Held = m_held.Items();
    m_tuning.Clear();
    m_held.Clear();
    try {
        SaveTestRun(m_ws.DataDir(), m_lastTest);
    } catch (const std::exception& e) {
        m_shell.ShowError(util::Format("Ошибка записи в файл \"%s\"!\n\n%s",
                                       {(m_ws.DataDir() / TestRunFileName).string(), e.what()}));
    }
}

// The end of a test that recorded survival: the summary ends the log, goes to its file and to
// the window.
void TScriptRunner::finishSurvival()
{
    if (m_survival.Empty()) return;
    const std::vector<TSurvivalRow> rows = m_survival.Summary(m_lastTest.HoldoutFrom);
    for (const std::string& line : SurvivalLogLines(rows)) log([&] { return line; });
    const std::filesystem::path file = m_ws.DataDir() / SurvivalFileName;
    try {
        SaveSurvival(file, rows);
    } catch (const std::exception& e) {
        m_shell.ShowError(util::Format("Ошибка записи в файл \"%s\"!\n\n%s", {file.string(), e.what()}));
    }
    if (Hooks.SurvivalReady) Hooks.SurvivalReady(rows);
}

bool TScriptRunner::ScriptStop()
{
    if (!CanStop()) return false;
    if (!m_shell.Confirm(StopQuestion)) return false;
    log([] { return std::string(StopBanner); });
    m_abort = true;
    if (Hooks.CommandsChanged) Hooks.CommandsChanged();
    return true;
}

void TScriptRunner::runPass()
{
    stakes::TStakesFile& file = m_ws.StakesFile();
    if (file.IsOpen() && file.HasRecords() && file.ReadStake(m_shell, -1, stakes::SeekOrigin::End).IsStake())
        file.AppendStakes(m_shell, stakes::NewSeparator(), 1);

    filters::TCombList& combs = m_ws.Combs();
    combs.InvalidateCombsBuffer();
    m_tableTexts.ClearTables();
    const stats::TWeightCoefs current = m_list.Config().Weights;
    const stats::TWeightCoefs saved = m_list.SavedWeights;
    m_list.SaveWeights();

    const scenario::TScenario& script = m_ws.Scenario();
    try {
        for (int i = 0; i < script.Count(); ++i) {
            if (checkAbort()) break;
            const std::string line = script.GetLine(i);
            if (line.empty()) continue;
            if (Hooks.SelectLine) Hooks.SelectLine(i);
            log([] { return std::string(DashLine); });
            log([&] { return util::Format("Выполнение строки %.3d: \"%s\"", {i + 1, line}); });
            log([] { return std::string(DashLine); });
            runStep(i, line);
            if (Hooks.SelectLine) Hooks.SelectLine(-1);
            if (m_abort) break;
        }
        if (!Options.CheckOnLine) checkStakes();
    } catch (...) {
        m_list.Config().Weights = current;
        m_list.SavedWeights = saved;
        combs.InvalidateCombsBuffer();
        throw;
    }
    m_list.Config().Weights = current;
    m_list.SavedWeights = saved;
    combs.InvalidateCombsBuffer();
}

void TScriptRunner::runStep(int index, const std::string& line)
{
    filters::TCombList& combs = m_ws.Combs();
    filters::TFilterVar variants;
    bool started = false;
    // However the step ends, nothing of it is left to undo and the variants not taken go.
    struct Cleanup {
        filters::TCombList& combs;
        filters::TFilterVar& variants;
        ~Cleanup()
        {
            combs.DiscardUndoCopy();
            variants.Clear();
        }
    } cleanup{combs, variants};
    try {
        combs.DiscardUndoCopy();
        Step step;
        step.Line = index + 1;
        const auto found = ReuseWork ? m_parsed.find(line) : m_parsed.end();
        std::shared_ptr<const ParsedLine> parsed = found != m_parsed.end() ? found->second : nullptr;
        if (parsed) {
            step.Header = parsed->Header;
            step.Comment = parsed->Comment;
        } else {
            step.Header = ParseScriptHeader(StepField(line, 1));
            step.Comment = StepField(line, 9);
        }
        const std::string runText = parsed ? parsed->RunText : ScriptHeaderToRunText(step.Header);
        if (checkAbort()) return;

        std::vector<filters::TFilterItem> items;
        for (int slot = 1; slot <= StepFilterSlots && !parsed; ++slot) {
            if (checkAbort()) return;
            const std::string field = StepField(line, slot + 1);
            if (!field.empty()) items.push_back(filters::TextToFilterItem(field, m_list));
        }

        log([] { return std::string("Создание всех вариантов фильтров..."); });
        showRunStatus(step.Line, 0, "Создание всех вариантов фильтров...", 0);
        if (!parsed) {
            variants = filters::ExpandFilterVariants(items, m_list, m_abort, m_shell, [&](const std::string& text) {
                showRunStatus(step.Line, 0, text, 0);
            });
            if (ReuseWork && !m_abort && variants.Count() <= ParsedLine::MaxVariants) {
                auto made = std::make_shared<ParsedLine>();
                made->Header = step.Header;
                made->Comment = step.Comment;
                made->RunText = runText;
                made->Recs.reserve(std::size_t(variants.Count()));
                for (int v = 0; v < variants.Count(); ++v) {
                    const filters::TFilterRec& rec = made->Recs.emplace_back(variants.At(v));
                    made->RecTexts.push_back(filters::FilterRecToText(rec, m_list));
                    auto& texts = made->PartTexts.emplace_back();
                    for (int p = 0; p < filters::FilterRecParts; ++p)
                        if (rec[std::size_t(p)].Defined)
                            texts[std::size_t(p)] = filters::FilterPartToText(rec[std::size_t(p)], m_list);
                }
                parsed = made;
                m_parsed.emplace(line, std::move(made));
            }
        }
        // A line read before gives its variants as they were made, without a copy.
        const int total = parsed ? static_cast<int>(parsed->Recs.size()) : variants.Count();
        log([&] { return util::Format("Создано %d вариантов фильтров.", {total}); });
        if (checkAbort()) return;

        filters::TFilterSetContext ctx{.List = m_list,
                                       .Cache = m_cache,
                                       .Table = m_table,
                                       .Combs = combs,
                                       .History = m_ws.History(),
                                       .DrawsOffset = m_ws.DrawsOffset(),
                                       .Sorted = Options.SortedDraws,
                                       .PrefetchsEnabled = Options.PrefetchsEnabled,
                                       .ShowTotalLine = Options.ShowTotalLine,
                                       .Abort = m_abort,
                                       .Shell = m_shell,
                                       .Log = {},
                                       .OnStatView = Hooks.StatView,
                                       .Memo = ReuseWork ? &m_memo : nullptr,
                                       .TableTexts = ReuseWork ? &m_tableTexts : nullptr,
                                       .Sightings = ReuseWork ? &m_sightings : nullptr};
        if (m_log.Enabled) ctx.Log = [this](const std::string& text) { m_log.Line(text); };

        // A log shows every table, and a current list changes from variant to variant: both
        // run every part.
        const bool reuse = ReuseWork && !m_log.Enabled && step.Header.StartList != StartCurrent;
        TPrefixMemo memo;

        // Filter survival: the ticket drawn after the window, when the test knows it. A part
        // that a variant takes over from the last one treated that ticket as it did there.
        std::optional<game::TComb> probe;
        const int hidden = m_ws.DrawCount() - m_ws.DrawsOffset();
        if (m_testing && Options.SurvivalEnabled && m_ws.DrawsOffset() > 0 && hidden < m_ws.DrawCount()) {
            probe = m_ws.Draws()[std::size_t(hidden)].Nums;
            game::SortComb(*probe);
            ctx.Probe = &*probe;
        }
        struct Outcome {
            bool Ran = false;
            int Before = 0, After = 0;
            bool Passed = false;
        };
        std::array<Outcome, filters::FilterRecParts> outcomes{};
        const auto record = [&](const filters::TFilterRec& rec, int part) {
            const Outcome& o = outcomes[std::size_t(part)];
            if (!probe || !rec[std::size_t(part)].Defined || m_abort) return;
            m_survival.Add({.DrawNo = m_ws.Draws()[std::size_t(hidden)].DrawNo,
                            .Line = step.Line,
                            .Variant = step.Variant,
                            .Part = part + 1,
                            .PartText = parsed ? parsed->PartTexts[std::size_t(step.Variant - 1)][std::size_t(part)]
                                               : filters::FilterPartToText(rec[std::size_t(part)], m_list),
                            .Before = o.Before,
                            .After = o.After,
                            .Passed = o.Passed,
                            .Ran = o.Ran});
        };

        filters::TFilterRec ownRec;
        std::string ownText;
        for (int v = 1; v <= total; ++v) {
            if (checkAbort()) return;
            const filters::TFilterRec& rec = parsed ? parsed->Recs[std::size_t(v - 1)] : (ownRec = variants.TakeFirst());
            started = true;
            const std::string& recText =
                parsed ? parsed->RecTexts[std::size_t(v - 1)] : (ownText = filters::FilterRecToText(rec, m_list));
            step.Variant = v;
            step.StepText = runText + " + " + recText;
            log([] { return std::string(); });
            log([] { return std::string(DashLine); });
            log([&] { return util::Format("Применение набора фильтров %.3d: \"%s\"", {v, recText}); });
            log([] { return std::string(DashLine); });
            showRunStatus(step.Line, v, recText, total);

            log([] { return std::string("Создание начального списка комбинаций..."); });
            // A variant that starts from a kept list needs the start list's side effects only.
            const bool restores = reuse && memo.Kept(memo.Shared(rec));
            buildStartList(step.Header, !restores);
            if (!restores) memo.Started(m_ws.History());
            log([&] { return util::Format("Количество комбинаций в списке: %d", {combs.Count()}); });
            if (m_abort) break;
            // ApplyFilterSet, starting after the parts this variant shares with the last one.
            const bool fromBuffer = step.Header.StartList == StartExclude && step.Header.ExcludeCount > 0;
            const int first = reuse ? memo.Restore(rec, combs, m_ws.History(), fromBuffer) : 0;
            const bool more = parsed ? v < total : !variants.Empty();
            const int keepUpTo =
                reuse && more ? TPrefixMemo::SharedParts(rec, parsed ? parsed->Recs[std::size_t(v)] : variants.At(0)) : 0;
            for (int p = 0; p < first; ++p) record(rec, p);
            for (int p = first; p < filters::FilterRecParts && !m_abort; ++p) {
                const filters::TFilterPart& part = rec[std::size_t(p)];
                const bool runs = part.Defined && combs.Count() > 1;
                const int before = combs.Count();
                if (runs) filters::ApplyFilterPart(part, ctx);
                outcomes[std::size_t(p)] = {runs && !m_abort, before, combs.Count(), ctx.ProbeKept};
                record(rec, p);
                if (p < keepUpTo && !m_abort) memo.Keep(p, runs, combs, m_ws.History());
            }
            if (m_abort) break;
            makeStakes(step);
            if (m_abort) break;
            log([] { return std::string(DashLine); });
            if (Options.CheckOnLine) checkStakes();
        }
        if (m_abort && started && Options.CheckOnLine) checkStakes();
    } catch (const std::exception& e) {
        // Whatever fails ends the whole run; the stakes made so far stay and are checked as
        // after a stop.
        m_abort = true;
        m_shell.ShowError(e.what());
        if (started && Options.CheckOnLine) checkStakes();
    }
}

void TScriptRunner::buildStartList(const TScriptHeader& header, bool makeList)
{
    filters::TCombList& combs = m_ws.Combs();
    const int offset = m_ws.DrawsOffset();
    const int n = header.ExcludeCount;
    if (makeList && (header.StartList == StartFull || header.StartList == StartExclude)) {
        const bool exclude = header.StartList == StartExclude && n > 0;
        // A new list empties the buffer, so a cached exclusion is looked up first; it gives the
        // same list that generating and removing the draws again would.
        bool cached = false;
        if (exclude && combs.BufferOffset() == offset && combs.BufferDraws() == n && combs.BufferCount() > 0) {
            cached = combs.LoadCombsBuffer(offset, n, m_shell);
            if (cached) {
                m_ws.History().Clear();
                combs.DiscardUndoCopy();
            }
        }
        if (!cached) {
            filters::TGenerateSettings settings;
            settings.Mode = m_list.CombsGenerateMode;
            settings.Parameters = m_list.CombsGenerateParameters;
            filters::GenerateCombs(true, settings, combs, m_ws.History(), m_shell);
        }
        if (checkAbort()) return;
        if (exclude && !cached) {
            combs.MakeUndoCopy(m_shell, true);
            combs.RemoveLastDraws(n, m_ws.Draws(), offset, m_ws.History(), m_shell);
            // The other variants of this offset load this list from the buffer: named, their
            // passes over it are known as the same.
            if (ReuseWork) combs.SetContentId(m_memo.NewId());
            combs.StoreCombsBuffer(offset, n, m_shell);
        }
        if (checkAbort()) return;
    }
    if (header.ClearStakes) {
        // Clearing is for keeping only the rating: stakes that wait for the check at the end
        // of the pass would leave no trace at all, so they are checked first.
        if (!Options.CheckOnLine) checkStakes();
        stakes::TStakesFile& file = m_ws.StakesFile();
        m_checkedRecords = 0;
        m_standing.clear();
        m_standingRead = false;
        file.Truncate();
        file.Reopen(m_shell);
        refreshStakeView(true, false);
    }
}

void TScriptRunner::makeStakes(const Step& step)
{
    const uint8_t mode = step.Header.StakeMode;
    log([&] { return util::Format("{*} Добавление ставки, режим: \"%s\"", {StakeModeEditorCaption(mode)}); });
    const filters::TCombList& combs = m_ws.Combs();
    const int count = combs.Count();
    if (count == 0 || mode == StakeNone) return;
    if (count > 1 && mode == StakeStop) {
        m_abort = true;
        log([] { return std::string("{!} Сценарий остановлен!"); });
        m_shell.ShowMessage(shell::MessageKind::Warning,
                            util::Format("Выполнение сценария прервано, т.к. после применения всех фильтров в списке "
                                         "комбинаций их осталось более одной: %d!\n\nФильтры: %s",
                                         {count, StakeName(step.Line, step.Variant, step.Comment, step.StepText)}));
        return;
    }
    if (count > 1 && mode == StakeSkip) {
        log([] { return std::string("{-} Ставка игнорирована!"); });
        return;
    }
    if (checkAbort()) return;

    m_throttle = tick();
    m_stakeFailed = false;
    stakes::TStakesFile& file = m_ws.StakesFile();
    {
        stakes::TStakesFile::TBulkAppend bulk(file);
        if (count == 1) {
            addScenarioStake(step, combs[0], false);
        } else {
            switch (mode) {
            case StakeRandom: {
                const int index = Hooks.RandomIndex ? Hooks.RandomIndex(count)
                                                    : std::uniform_int_distribution<int>(0, count - 1)(m_random);
                addScenarioStake(step, combs[std::clamp(index, 0, count - 1)], false);
                break;
            }
            case StakeFirst: addScenarioStake(step, combs[0], false); break;
            case StakeLast: addScenarioStake(step, combs[count - 1], false); break;
            case StakeAll:
                for (int i = 0; i < count; ++i) {
                    if (checkAbort()) break;
                    if (!addScenarioStake(step, combs[i], true)) break;
                }
                break;
            case StakeSystemAll:
            case StakeSystemComb: systemPlay(step); break;
            default: break;
            }
        }
        if (!bulk.Finish(m_shell)) m_stakeFailed = true;
    }
    // A stakes file that refuses records would refuse every later stake too: the run ends
    // after the one message the file operation showed.
    if (m_stakeFailed) m_abort = true;
    refreshStakeView(true, true);
}

void TScriptRunner::systemPlay(const Step& step)
{
    const filters::TCombList& combs = m_ws.Combs();
    const bool whole = step.Header.StakeMode == StakeSystemAll;
    const game::TByteArray numbers = game::CoveredNumbers(combs.Combs(), combs.Count());
    const int k = static_cast<int>(numbers.size());
    TSystemCombs system = LoadSystemCombs(m_ws.DataDir() / SystemsFolderName, numbers, m_shell);
    if (!system.Loaded) {
        log([&] { return util::Format("{#} Системная игра для %d чисел [ОШИБКА]: \"%s\"", {k, system.Error}); });
        return;
    }
    log([&] {
        return util::Format(whole ? "{#} Системная игра для %d чисел [все система]: загружен файл \"%s\""
                                  : "{#} Системная игра для %d чисел [система * комбинации]: загружен файл \"%s\"",
                            {k, system.File.stem().string()});
    });
    for (game::TComb& c : system.Combs) {
        game::SortComb(c);
        if (!whole && !combs.ListContains(c)) continue;
        if (!addScenarioStake(step, c, true)) break;
    }
}

bool TScriptRunner::addScenarioStake(const Step& step, const game::TComb& comb, bool bulk)
{
    stakes::TStakesFile& file = m_ws.StakesFile();
    const int32_t drawNo = m_ws.NextDrawNo();
    const stakes::TStakeRecord stake =
        stakes::NewStake(stakes::OriginScenario, drawNo, m_ws.Combs().Count(), comb,
                         StakeName(step.Line, step.Variant, step.Comment, step.StepText), m_prizes);
    bool ok = true;
    if (step.Header.NewOnly && stakeStands(drawNo, comb)) {
        log([&] {
            return util::Format("{-} Ставка на тираж %d не добавлена, так как уже имеется в списке ставок: [%s]",
                                {drawNo, game::NumSetToText(stake.Stake, ";")});
        });
    } else {
        stakes::TStakeViewHooks hooks;
        hooks.RefreshView = Hooks.RefreshStakeView;
        ok = stakes::AddStakes(file, m_shell, stake, 1, bulk, Options.StakesScrollEnabled, hooks);
        if (ok) {
            uint64_t key = 0;
            if (m_standingRead && standingKey(drawNo, comb.data(), key)) m_standing.insert(key);
            log([&] {
                return util::Format("{+} Ставка на тираж %d добавлена в список ставок: [%s]",
                                    {drawNo, game::NumSetToText(stake.Stake, ";")});
            });
            ++m_stakesMade;
        } else {
            m_stakeFailed = true;
        }
    }
    stakesChanged(bulk);
    return ok;
}

// FindStake for the stakes a run makes. A scan of the whole file per stake would make NewOnly
// over a large list quadratic; the file is read once per run instead and the run's own stakes
// are added as they are written. A stake of 8 distinct numbers is the same as another exactly
// when both have the same 8 numbers, so the set of numbers is the whole comparison; anything
// else is left to FindStake.
bool TScriptRunner::stakeStands(int32_t drawNo, const game::TComb& comb)
{
    stakes::TStakesFile& file = m_ws.StakesFile();
    uint64_t key = 0;
    if (!standingKey(drawNo, comb.data(), key)) return file.FindStake(m_shell, drawNo, game::CombToNumSet(comb));
    if (!m_standingRead) {
        try {
            file.Flush();
            const int total = file.RecordCount();
            constexpr int chunk = 4096;
            std::vector<uint8_t> buf(std::size_t(std::min(total, chunk)) * stakes::TStakeRecord::RecordSize);
            for (int first = 0; first < total; first += chunk) {
                const int n = std::min(chunk, total - first);
                file.ReadRecords(first, n, buf.data());
                for (int i = 0; i < n; ++i) {
                    stakes::TStakeRecord r;
                    r.Read(buf.data() + std::size_t(i) * stakes::TStakeRecord::RecordSize);
                    uint64_t k = 0;
                    if (r.Stake.Count == 8 && standingKey(r.DrawNo, r.Stake.Nums.data(), k)) m_standing.insert(k);
                }
            }
            m_standingRead = true;
        } catch (const std::exception&) {
            m_standing.clear();
            return file.FindStake(m_shell, drawNo, game::CombToNumSet(comb));
        }
    }
    return m_standing.count(key) != 0;
}

void TScriptRunner::stakesChanged(bool bulk)
{
    if (bulk) {
        const int64_t now = tick();
        if (now - m_throttle < ThrottleMs) return;
        m_throttle = now;
    }
    m_status.Stakes = m_stakesMade;
    if (Hooks.Status) Hooks.Status(m_status);
    m_shell.ProcessEvents();
}

} // namespace kv::scenario

#include "core/workspace/headless.h"

#include <algorithm>
#include <cerrno>
#include <sstream>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/game/texts.h"
#include "core/scenario/scenario.h"
#include "core/scenario/scriptrunner.h"
#include "core/scenario/testreport.h"
#include "core/shell/shell.h"
#include "core/stakes/prizetable.h"
#include "core/stakes/ratings.h"
#include "core/stakes/sametext.h"
#include "core/stakes/stakerecord.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"
#include "core/util/files.h"
#include "core/util/format.h"
#include "core/workspace/engine.h"
#include "core/workspace/workspace.h"

namespace kv::workspace {

namespace {

// R of the luck test of the report when --luck does not give it.
constexpr int DefaultLuckDraws = 10000;

// The header of the rating lines the export writes: the 15 columns a data line has.
std::string ratingLinesHeader()
{
    std::string line;
    for (int c = 0; c < stakes::RatingEffColumn; ++c) {
        if (c > 0) line += ';';
        line += stakes::CsvQuoted(stakes::RatingColumnCaption(c));
    }
    return line;
}

// The results go to standard output and a test of many draws changes its status text thousands
// of times: only the messages are passed on.
class TMessagesOnly final : public shell::Shell {
public:
    explicit TMessagesOnly(shell::Shell& inner) : m_inner(inner) {}
    void SetStatusText(std::string_view) override {}

protected:
    void doShowMessage(shell::MessageKind kind, std::string_view text) override { m_inner.ShowMessage(kind, text); }
    bool doAsk(std::string_view caption, std::string_view text, bool yesIsDefault) override
    {
        return m_inner.Ask(caption, text, yesIsDefault);
    }

private:
    shell::Shell& m_inner;
};

class THeadlessRun {
public:
    THeadlessRun(Workspace& ws, shell::Shell& shell, const CommandLine& cmd, std::ostream& out)
        : m_ws(ws), m_quiet(shell), m_watch(m_quiet), m_cmd(cmd), m_out(out)
    {
    }

    int Run()
    {
        if (!m_cmd.error.empty()) return usage(m_cmd.error);
        if (m_cmd.headless == "stattable") {
            if (m_cmd.headlessArgs.size() != 1) return usage("укажите один код метода: stattable КОД");
        } else if (m_cmd.headless == "scripttest") {
            if (m_cmd.headlessArgs.size() != 1) return usage("укажите количество тестов: scripttest N");
        } else if (!m_cmd.headlessArgs.empty()) {
            return usage("лишние слова после scriptrun: " + SafeText(m_cmd.headlessArgs.front()));
        }
        if (m_cmd.headless != "scripttest" && (m_cmd.holdout != 0 || m_cmd.luckDraws != 0 || !m_cmd.reportFile.empty()))
            return usage("параметры --holdout, --luck и --report - только для scripttest");
        if (!m_cmd.reportFile.empty())
            if (const std::string problem = OutFileProblem(m_cmd.reportFile, m_ws.DataDir(), m_cmd.scenarioFile); !problem.empty())
                return usage(problem);
        std::error_code ec;
        if (!m_cmd.scenarioFile.empty() && !std::filesystem::is_regular_file(m_cmd.scenarioFile, ec))
            return usage(util::Format("файл сценария \"%s\" не найден", {SafeText(m_cmd.scenarioFile.string())}));

        LoadEngine(m_list, m_ws, m_watch);
        if (!m_ws.OpenStakesFile()) {
            m_watch.ShowError(m_ws.ExclusiveAccessText());
            return HeadlessFailed;
        }
        m_ws.LoadArchive(m_watch);
        m_ws.LoadViewSettings();
        int code = 0;
        if (m_cmd.headless == "stattable") code = statTable();
        else code = script();
        m_ws.CloseStakesFile();
        if (code == 0 && m_watch.ErrorShown()) code = HeadlessFailed;
        return code;
    }

private:
    int usage(const std::string& text)
    {
        m_watch.ShowError("Kvanta_8x20 " + m_cmd.headless + ": " + text);
        return HeadlessBadUsage;
    }

    int statTable()
    {
        std::string code = m_cmd.headlessArgs.front();
        for (char& ch : code)
            if (ch >= 'a' && ch <= 'z') ch = char(ch - 'a' + 'A');
        const int method = m_list.FindMethod(code);
        if (method < 0)
            return usage(util::Format("неизвестный код метода статистики \"%s\"", {SafeText(m_cmd.headlessArgs.front())}));
        const int len = m_cmd.statLen >= 0 ? m_cmd.statLen : m_ws.FormFile().ReadInt("DrawsStatLen", 1000);
        if (len < 1) return usage("длина выборки (--len) должна быть не меньше 1");
        if (m_ws.DrawCount() == 0) return usage("архив тиражей пуст");
        if (m_cmd.statOffset < 0 || m_cmd.statOffset >= m_ws.DrawCount())
            return usage(util::Format("смещение (--offset) должно быть от 0 до %d", {m_ws.DrawCount() - 1}));
        // The saved length may exceed a short archive (the window then takes what there is);
        // one typed on the command line must fit.
        if (m_cmd.statLen >= 0 && m_cmd.statLen > m_ws.DrawCount() - m_cmd.statOffset)
            return usage(util::Format("длина выборки (--len) должна быть от 1 до %d", {m_ws.DrawCount() - m_cmd.statOffset}));
        const stats::TPrefetchCache cache(m_ws.DataDir());
        stats::TStatTable table;
        stats::TStatTableRequest request;
        request.Method = method;
        request.DrawsStatLen = len;
        request.DrawsOffset = m_cmd.statOffset;
        request.SortedDraws = m_ws.View().SortedDraws;
        request.PrefetchsEnabled = m_cmd.compare;
        request.ShowTotalLine = false;
        table.Build(m_list, cache, request, m_watch, true);
        table.SortRows(1, true);
        m_out << m_list.Method(method).MethodCode() << '\t' << m_list.Method(method).DisplayCaption() << '\t'
              << util::Format("Тиражей: %d", {table.WindowLength()}) << '\t'
              << util::Format("Смещение: %d", {m_cmd.statOffset}) << "\n";
        for (int c = 0; c < stats::StatColumns; ++c) m_out << (c ? "\t" : "") << stats::StatColumnCaption(c);
        m_out << "\n";
        for (int r = 0; r < table.RowCount(); ++r) {
            for (int c = 0; c < stats::StatColumns; ++c) m_out << (c ? "\t" : "") << table.CellText(r, c);
            m_out << "\n";
        }
        return 0;
    }

    int script()
    {
        int count = 0;
        if (m_cmd.headless == "scripttest") {
            const int most = std::max(0, scenario::TestCountMax(m_ws.DrawCount()));
            int64_t n = 0;
            if (!ParseWholeNumber(m_cmd.headlessArgs.front(), 1, most, n))
                return usage(util::Format("количество тестов должно быть целым числом от 1 до %d: \"%s\"",
                                          {most, SafeText(m_cmd.headlessArgs.front())}));
            count = static_cast<int>(n);
            if (m_cmd.holdout >= count)
                return usage(util::Format("контрольных тиражей (--holdout) должно быть от 0 до %d", {count - 1}));
        }
        scenario::TScenario& script = m_ws.Scenario();
        if (m_cmd.scenarioFile.empty()) {
            script.LoadCurrent(m_watch);
            if (script.Empty()) return usage("текущий сценарий Kvanta_8x20.lss пуст или не найден (--scenario ФАЙЛ)");
        } else {
            // The user's file is run as it is; the current scenario stays as the window left it.
            if (!script.LoadScenario(m_cmd.scenarioFile, false, m_watch)) return HeadlessBadUsage;
            if (script.Empty())
                return usage(util::Format("файл сценария \"%s\" пуст", {SafeText(m_cmd.scenarioFile.string())}));
        }
        ApplyRatingsSortOrder(m_ws.FormFile(), m_ws.Ratings());
        m_ws.LoadRatingsAndTables(m_watch);

        std::vector<std::string> touched;
        const auto rate = m_ws.CheckSettings(stakes::TPrizeTable(m_list.Config()), false).OnChecked;
        const stats::TPrefetchCache cache(m_ws.DataDir());
        stats::TStatTable table;
        scenario::TScriptRunner runner(m_ws, m_list, cache, table, m_watch, [&](const stakes::TStakeRecord& stake) {
            rate(stake);
            if (std::none_of(touched.begin(), touched.end(),
                             [&](const std::string& n) { return stakes::SameText(n, stake.Comment); }))
                touched.push_back(stake.Comment);
        });
        ApplyToRun(m_ws.View(), runner.Options);
        runner.Hooks.RatingsChanged = [this] { m_ws.RatingsAfterCheck(m_watch); };
        const int before = m_ws.StakesFile().RecordCount();
        if (count > 0) runner.ScriptTest(count, m_cmd.holdout);
        else runner.ScriptRun();

        if (count > 0) {
            const scenario::TTestRun& run = runner.LastTest();
            // The luck test of the test's rows, and the report from the same numbers.
            scenario::TTestReport report;
            const bool luck = m_cmd.luckDraws > 0, wantReport = !m_cmd.reportFile.empty();
            if (luck || wantReport) {
                scenario::TReportSettings settings;
                settings.Repetitions = luck ? m_cmd.luckDraws : DefaultLuckDraws;
                if (!wantReport) settings.ChartRows = 0;
                report = scenario::BuildTestReport(m_ws.StakesFile(), run,
                                                   runner.Survival().Summary(run.HoldoutFrom),
                                                   stakes::TPrizeTable(m_list.Config()), settings);
            }
            writeRatingLines(touched, run, luck ? &report : nullptr);
            m_out << "\r\n" << scenario::SurvivalCsvText(runner.Survival().Summary(run.HoldoutFrom));
            if (wantReport) {
                report.Scenario = m_cmd.scenarioFile.empty() ? std::string(scenario::TScenario::FileName)
                                                             : m_cmd.scenarioFile.filename().string();
                report.Created = scenario::ReportTimeNow();
                try {
                    scenario::SaveTestReport(m_cmd.reportFile, report);
                } catch (const std::exception& e) {
                    m_watch.ShowError(util::Format("Ошибка записи в файл \"%s\"!\n\n%s",
                                                   {SafeText(m_cmd.reportFile.string()), e.what()}));
                }
            }
        } else {
            m_out << "\"№ тиража\";\"Ставка\";\"Выборка\";\"Комментарий\"\r\n";
            stakes::TStakesFile& file = m_ws.StakesFile();
            for (int i = before; i < file.RecordCount(); ++i) {
                const stakes::TStakeRecord r = file.ReadStake(i);
                if (!r.IsStake()) continue;
                m_out << r.DrawNo << ';' << game::NumSetToText(r.Stake, " ") << ';' << r.SampleSize << ';'
                      << stakes::CsvQuoted(r.Comment) << "\r\n";
            }
        }
        return m_watch.ErrorShown() ? HeadlessFailed : 0;
    }

    // The rating rows the test touched: with a hold-out a line per half, the first field telling
    // which; with the luck test the p and q of the row on those draws after them.
    void writeRatingLines(const std::vector<std::string>& touched, const scenario::TTestRun& run,
                          const scenario::TTestReport* luck)
    {
        const bool holdout = run.Holdout > 0;
        std::string header;
        if (holdout) header = "\"Тиражи\";";
        header += ratingLinesHeader();
        if (luck) header += ";\"p (совпадения)\";\"q (совпадения)\";\"p (профит)\";\"q (профит)\"";
        m_out << header << "\r\n";
        const auto luckFields = [&](const std::string& name, stakes::TLuckPart stakes::TLuckRowResult::*part) {
            if (!luck) return std::string();
            for (const scenario::TReportRow& r : luck->Rows) {
                if (!stakes::SameText(r.Name, name)) continue;
                const stakes::TLuckPart& p = r.Luck.*part;
                if (p.Draws == 0) return std::string(";;;;");
                std::string fields;
                for (double v : {p.PHits, p.QHits, p.PProfit, p.QProfit}) {
                    fields += ';';
                    fields += stakes::LuckPText(v, luck->Repetitions);
                }
                return fields;
            }
            return std::string(";;;;");
        };
        const auto half = [&](const stakes::TRatingsArray& rows, const std::string& name) {
            for (const stakes::TRatingRecord& r : rows)
                if (stakes::SameText(r.Name, name)) return r;
            stakes::TRatingRecord empty;
            empty.Name = name;
            return empty;
        };
        for (const std::string& name : touched) {
            if (holdout) {
                m_out << "\"настройка\";" << stakes::RatingsCsvLine(half(run.Tuning, name))
                      << luckFields(name, &stakes::TLuckRowResult::Tuning) << "\r\n";
                m_out << "\"контроль\";" << stakes::RatingsCsvLine(half(run.Held, name))
                      << luckFields(name, &stakes::TLuckRowResult::Holdout) << "\r\n";
                continue;
            }
            const int row = m_ws.Ratings().Find(name);
            if (row >= 0)
                m_out << stakes::RatingsCsvLine(m_ws.Ratings()[row]) << luckFields(name, &stakes::TLuckRowResult::All)
                      << "\r\n";
        }
    }

    Workspace& m_ws;
    TMessagesOnly m_quiet;
    TErrorWatch m_watch;
    const CommandLine& m_cmd;
    std::ostream& m_out;
    stats::TStatList m_list;
};

} // namespace

bool IsHeadlessRun(const CommandLine& cmd)
{
    return !cmd.headless.empty();
}

int RunHeadlessCommand(Workspace& ws, shell::Shell& shell, const CommandLine& cmd, std::ostream& out)
{
    const std::string who = "Kvanta_8x20 " + cmd.headless + ": ";
    if (cmd.outFile.empty()) {
        const int code = RunHeadless(ws, shell, cmd, out);
        out.flush();
        if (out) return code;
        const int err = errno;
        shell.ShowError(who + "не удалось записать результат в стандартный вывод" +
                        (err != 0 ? ": " + util::ErrnoText(err) : std::string()));
        return HeadlessFailed;
    }
    if (const std::string problem = OutFileProblem(cmd.outFile, ws.DataDir(), cmd.scenarioFile); !problem.empty()) {
        shell.ShowError(who + problem);
        return HeadlessBadUsage;
    }
    std::ostringstream result;
    const int code = RunHeadless(ws, shell, cmd, result);
    // A refused request leaves an older result as it was.
    if (code == HeadlessBadUsage) return code;
    try {
        util::RewriteFile(cmd.outFile, result.view());
    } catch (const std::exception& e) {
        shell.ShowError(who + e.what());
        return HeadlessFailed;
    }
    return code;
}

int RunHeadless(Workspace& ws, shell::Shell& shell, const CommandLine& cmd, std::ostream& out)
{
    THeadlessRun run(ws, shell, cmd, out);
    try {
        return run.Run();
    } catch (const std::exception& e) {
        shell.ShowError(e.what());
        return HeadlessFailed;
    }
}

} // namespace kv::workspace

#pragma once
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/game/numbers.h"
#include "core/game/texts.h"
#include "core/scenario/scriptrunner.h"
#include "core/workspace/workspace.h"
#include "core/stakes/stakerecord.h"
#include "core/stakes/stakesfile.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"
#include "core/util/cp1251.h"
#include "tests/support/support.h"

namespace kv::test {

// A scripted shell whose event processing can act (the stop command is clicked from there).
class EventShell : public ScriptedShell {
public:
    std::function<void()> onEvents;
    void ProcessEvents() override
    {
        if (onEvents) onEvents();
    }
};

// A data directory with a synthetic archive, an open stakes file, the registry and a runner
// whose start lists come from a combination file the test writes.
struct RunFixture {
    TempDir dir;
    EventShell sh;
    workspace::Workspace ws{dir.path()};
    stats::TStatList list;
    stats::TPrefetchCache cache{dir.path()};
    stats::TStatTable table;
    std::vector<stakes::TStakeRecord> checked;
    std::unique_ptr<scenario::TScriptRunner> runner;
    std::vector<scenario::TRunStatus> statuses;
    std::vector<int> offsets;   // the draws offset at every views refresh

    explicit RunFixture(int draws = 40)
    {
        archive::WriteArchiveFile(dir / archive::ArchiveFileName, archive::SyntheticDraws(draws, 20261209, 1000));
        ws.LoadArchive(sh);
        ws.Combs().Init();
        if (!ws.OpenStakesFile()) throw std::runtime_error("stakes file");
        list.SetDraws(&ws.Draws());
        list.BuildMethodList();
        list.CombsGenerateMode = 4;
        list.CombsGenerateParameters = (dir / "start.lcv").string();
        runner = std::make_unique<scenario::TScriptRunner>(ws, list, cache, table, sh,
                                                           [this](const stakes::TStakeRecord& r) { checked.push_back(r); });
        runner->Hooks.Clock = [] {
            std::tm t{};
            t.tm_year = 126;
            t.tm_mon = 11;
            t.tm_mday = 9;
            t.tm_hour = 8;
            t.tm_min = 5;
            t.tm_sec = 7;
            return t;
        };
        runner->Hooks.Status = [this](const scenario::TRunStatus& s) { statuses.push_back(s); };
        ws.onViewsRefresh = [this] { offsets.push_back(ws.DrawsOffset()); };
    }

    // An archive of `count` draws that all draw 1..8 (in a mixed order): a filter that keeps the
    // numbers seen in the window always keeps the next draw.
    void DrawOneToEight(int count)
    {
        game::TDrawsArray draws = archive::SyntheticDraws(count, 1, 1000);
        for (game::TDraw& d : draws) d.Nums = {8, 1, 7, 2, 6, 3, 5, 4};
        archive::WriteArchiveFile(dir / archive::ArchiveFileName, draws);
        ws.LoadArchive(sh);
    }

    // The start list of every FULL or EXCL step, as a combination file.
    void StartList(const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& l : lines) text += l + "\r\n";
        WriteBytes(dir / "start.lcv", text);
    }

    void Script(const std::vector<std::string>& lines)
    {
        for (const std::string& l : lines) ws.Scenario().AddLine(l, sh);
    }

    std::vector<stakes::TStakeRecord> Records()
    {
        std::vector<stakes::TStakeRecord> r;
        for (int i = 0; i < ws.StakesFile().RecordCount(); ++i) r.push_back(ws.StakesFile().ReadStake(i));
        return r;
    }

    // Stakes as "<draw>:<numbers>" and separators as "-".
    std::vector<std::string> StakeRows()
    {
        std::vector<std::string> rows;
        for (const stakes::TStakeRecord& r : Records())
            rows.push_back(r.IsStake() ? std::to_string(r.DrawNo) + ":" + game::NumSetToText(r.Stake, " ") : "-");
        return rows;
    }

    int LastDrawNo() const { return ws.Draws().back().DrawNo; }

    std::vector<std::string> Messages() const
    {
        std::vector<std::string> m;
        for (const auto& x : sh.messages) m.push_back(x.text);
        return m;
    }

    // The lines of the run log without their time stamps.
    std::vector<std::string> LogLines(const std::string& name = "ScriptLog_2026-12-09-08-05-07.txt") const
    {
        const std::string text = util::Cp1251ToUtf8(ReadBytes(dir / name));
        std::vector<std::string> lines;
        const std::string stamp = "[2026-12-09 08:05:07]: ";
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t end = text.find("\r\n", pos);
            std::string line = text.substr(pos, end - pos);
            if (line.rfind(stamp, 0) == 0) line = line.substr(stamp.size());
            else line = "<no stamp> " + line;
            lines.push_back(line);
            if (end == std::string::npos) break;
            pos = end + 2;
        }
        return lines;
    }
};

} // namespace kv::test

#include "core/scenario/testrun.h"

#include <algorithm>
#include <cstdint>

#include "core/util/files.h"
#include "core/util/ini.h"

namespace kv::scenario {

namespace {

constexpr const char* Section = "TEST";

} // namespace

void SaveTestRun(const std::filesystem::path& dir, const TTestRun& run)
{
    util::RewriteFile(dir / TestRunTuningFileName, stakes::RatingsFileBytes(run.Tuning));
    util::RewriteFile(dir / TestRunHoldoutFileName, stakes::RatingsFileBytes(run.Held));
    util::IniFile ini;
    ini.WriteInteger(Section, "Count", run.Count);
    ini.WriteInteger(Section, "Holdout", run.Holdout);
    ini.WriteInteger(Section, "FirstDraw", run.FirstDrawNo);
    ini.WriteInteger(Section, "HoldoutFrom", run.HoldoutFrom);
    ini.WriteInteger(Section, "LastDraw", run.LastDrawNo);
    ini.Save(dir / TestRunFileName);
}

TTestRun LoadTestRun(const std::filesystem::path& dir)
{
    TTestRun run;
    try {
        std::error_code ec;
        if (!std::filesystem::exists(dir / TestRunFileName, ec)) return run;
        const util::IniFile ini = util::IniFile::Load(dir / TestRunFileName);
        const auto number = [&](const char* key) { return ini.ReadInteger(Section, key, 0); };
        run.Count = int(std::clamp<int64_t>(number("Count"), 0, INT32_MAX));
        run.Holdout = int(std::clamp<int64_t>(number("Holdout"), 0, run.Count));
        run.FirstDrawNo = int32_t(std::clamp<int64_t>(number("FirstDraw"), 0, INT32_MAX));
        run.HoldoutFrom = run.Holdout > 0 ? int32_t(std::clamp<int64_t>(number("HoldoutFrom"), 0, INT32_MAX)) : 0;
        run.LastDrawNo = int32_t(std::clamp<int64_t>(number("LastDraw"), 0, INT32_MAX));
        const auto halve = [&](const char* name) {
            if (!std::filesystem::exists(dir / name, ec)) return stakes::TRatingsArray{};
            return stakes::ParseRatingsFile(util::ReadWholeFile(dir / name)).Rows;
        };
        run.Tuning = halve(TestRunTuningFileName);
        run.Held = halve(TestRunHoldoutFileName);
    } catch (const std::exception&) {
        return TTestRun{};
    }
    return run;
}

} // namespace kv::scenario

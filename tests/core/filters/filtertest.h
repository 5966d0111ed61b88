#pragma once
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/game/types.h"
#include "core/stats/stat.h"
#include "core/util/error.h"
#include "core/util/format.h"

namespace kv::test {

// A statistic of the filter tests: the numbers of a combination, like "NUMS", but recording
// how the filter pass called it.
class RecordingStat : public stats::TCustomValuesStat {
public:
    using TCustomValuesStat::TCustomValuesStat;

    struct Calls {
        int matchCombs = 0;       // batch passes
        int combMatches = 0;      // single tests
        std::size_t spanSize = 0;
        int lastIndex = -2;
        bool sorted = false;
        bool exclude = false;
        game::TDraw refDraw{};
    };
    static Calls& calls()
    {
        static Calls c;
        return c;
    }
    static bool& failing()
    {
        static bool f = false;
        return f;
    }

    bool CombMatches(const game::TComb& comb, const stats::TStatDrawArray& marked, int lastIndex, bool sorted,
                     bool exclude) override
    {
        ++calls().combMatches;
        record(lastIndex, sorted, exclude);
        return test(comb, marked);
    }
    void MatchBatch(std::span<const game::TComb> combs, const stats::TStatDrawArray& marked, int lastIndex,
                    bool sorted, bool exclude, std::vector<uint8_t>& result) override
    {
        ++calls().matchCombs;
        calls().spanSize = combs.size();
        record(lastIndex, sorted, exclude);
        if (failing()) throw Error("Сбой проверки комбинации!");
        result.resize(combs.size());
        for (std::size_t i = 0; i < combs.size(); ++i) result[i] = test(combs[i], marked) ? 1 : 0;
    }

private:
    void record(int lastIndex, bool sorted, bool exclude)
    {
        calls().lastIndex = lastIndex;
        calls().sorted = sorted;
        calls().exclude = exclude;
        calls().refDraw = RefDraw;
    }
    static bool test(const game::TComb& comb, const stats::TStatDrawArray& marked)
    {
        for (uint8_t n : comb)
            if (marked.HasValue(n)) return true;
        return false;
    }
};

inline stats::TStatKind::Factory RecordingFactory()
{
    return [](const stats::TStatKind& kind, const stats::TStatEnv& env, int32_t param) -> std::unique_ptr<stats::TCustomStat> {
        return std::make_unique<RecordingStat>(kind, env, param);
    };
}

// A kind of the tests; its parameter range, when given, registers one method per value.
inline stats::TStatKind TestKind(int position, const char* code, const char* caption, int group,
                                 unsigned flags = stats::FlagN, bool numeric = true, int first = 0, int last = -1)
{
    stats::TStatKind::Info info;
    info.Position = position;
    info.ClassName = "TstTest";
    info.Code = code;
    info.Caption = caption;
    info.Group = static_cast<stats::TStatGroup>(group);
    info.Flags = flags;
    info.NumericValue = numeric;
    info.Create = RecordingFactory();
    if (last >= first) {
        info.HasParam = true;
        info.ParamRange = [first, last](const stats::TConfigData&) { return std::pair<int, int>(first, last); };
    }
    return stats::TStatKind(std::move(info));
}

// Sets the decimal separator for a test and puts the previous one back, also on failure.
class DecimalSeparatorScope {
public:
    explicit DecimalSeparatorScope(char sep) : m_saved(util::DecimalSeparator()) { util::SetDecimalSeparator(sep); }
    ~DecimalSeparatorScope() { util::SetDecimalSeparator(m_saved); }
    DecimalSeparatorScope(const DecimalSeparatorScope&) = delete;
    DecimalSeparatorScope& operator=(const DecimalSeparatorScope&) = delete;

private:
    char m_saved;
};

} // namespace kv::test

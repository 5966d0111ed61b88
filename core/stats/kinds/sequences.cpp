// The sequence kinds of group 6: runs of consecutive numbers inside one draw, a run being a
// maximal stretch of neighbouring positions that rise by exactly 1 (7, 8, 9).
#include <memory>
#include <vector>

#include "core/game/numbers.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/kinds/valuekind.h"

namespace kv::stats::kinds {

namespace {

using game::TComb;

// The table counts only rising steps; the chart also counts falling ones (9, 8, 7), so that a
// draw read in drawn order shows its runs whichever way they were drawn.
bool rises(int a, int b) { return b - a == 1; }
bool risesOrFalls(int a, int b) { return b - a == 1 || a - b == 1; }

// The number of runs of two or more numbers.
template <class Step>
int runCount(const TComb& x, Step continues)
{
    int runs = 0;
    int r = 0;   // the current run's length minus one
    for (int i = 1; i < game::NumsPerDraw; ++i) {
        if (continues(x[std::size_t(i - 1)], x[std::size_t(i)])) {
            ++r;
            if (i == game::NumsPerDraw - 1) ++runs;
        } else {
            if (r > 0) ++runs;
            r = 0;
        }
    }
    return runs;
}

// The longest run; the maximum starts at longest, so the table reads a draw without any run as
// 1 and the chart as 0.
template <class Step>
int longestRun(const TComb& x, Step continues, int longest)
{
    int len = 1;
    for (int i = 1; i < game::NumsPerDraw; ++i) {
        if (continues(x[std::size_t(i - 1)], x[std::size_t(i)])) {
            ++len;
            longest = len > longest ? len : longest;
        } else {
            len = 1;
        }
    }
    return longest;
}

// --- kinds ------------------------------------------------------------------------------------

// The length of every run, single numbers included, in order; the lengths add up to 8.
class TstSequenceLen final : public TValueKind<TstSequenceLen, TCustomNumbersStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& x, Emit&& emit) const
    {
        int len = 1;
        for (int i = 1; i < game::NumsPerDraw; ++i) {
            if (rises(x[std::size_t(i - 1)], x[std::size_t(i)])) {
                ++len;
            } else {
                emit(len);
                len = 1;
            }
        }
        emit(len);
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        listRange(lastIndex, values, 1, game::NumsPerDraw);
    }
};

class TstSequenceCnt final : public TValueKind<TstSequenceCnt, TCustomGraphStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& x, Emit&& emit) const
    {
        emit(runCount(x, rises));
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override { listRange(lastIndex, values, 0, 4); }
    int32_t GetGraphValue(const TComb& numbers, int, int, bool) override { return runCount(numbers, risesOrFalls); }
};

class TstSequenceLenMax final : public TValueKind<TstSequenceLenMax, TCustomGraphStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& x, Emit&& emit) const
    {
        emit(longestRun(x, rises, 1));
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        listRange(lastIndex, values, 1, game::NumsPerDraw);
    }
    int32_t GetGraphValue(const TComb& numbers, int, int, bool) override
    {
        return longestRun(numbers, risesOrFalls, 0);
    }
};

// --- descriptors ------------------------------------------------------------------------------

template <class T>
TStatKind::Factory factory()
{
    return [](const TStatKind& kind, const TStatEnv& env, int32_t param) -> std::unique_ptr<TCustomStat> {
        return std::make_unique<T>(kind, env, param);
    };
}

const std::vector<TStatKind>& sequenceKinds()
{
    static const std::vector<TStatKind> kinds = {
        TStatKind({.Position = 40, .ClassName = "TstSequenceLen", .Code = "SEQL",
                   .Caption = "Длина последовательности в тираже", .Group = GroupSequences, .Flags = FlagS | FlagN,
                   .Create = factory<TstSequenceLen>()}),
        TStatKind({.Position = 41, .ClassName = "TstSequenceCnt", .Code = "SEQS",
                   .Caption = "Количество последовательностей в тираже", .Group = GroupSequences, .Flags = FlagS | FlagN,
                   .Graph = true, .Create = factory<TstSequenceCnt>()}),
        TStatKind({.Position = 42, .ClassName = "TstSequenceLenMax", .Code = "LENS",
                   .Caption = "Макс. длина последовательности в тираже", .Group = GroupSequences, .Flags = FlagS | FlagN,
                   .Graph = true, .Create = factory<TstSequenceLenMax>()}),
    };
    return kinds;
}

} // namespace

void AddSequenceKinds(std::vector<const TStatKind*>& kinds)
{
    for (const TStatKind& k : sequenceKinds()) kinds.push_back(&k);
}

} // namespace kv::stats::kinds

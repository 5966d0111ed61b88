// The difference kinds of group 2: the gaps between neighbouring positions of a draw, their
// largest value, the spread of the draw, repeated gaps, and runs of two to four gaps.
#include <array>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/game/numbers.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/kinds/valuekind.h"
#include "core/util/format.h"

namespace kv::stats::kinds {

namespace {

using game::TComb;

constexpr int DiffCount = game::NumsPerDraw - 1;
using TDiffs = std::array<uint8_t, DiffCount>;

// d[j] = |n(j+1) - n(j)| in the order given; a byte for any 8 bytes.
TDiffs neighbourDiffs(const TComb& n)
{
    TDiffs d{};
    for (int j = 0; j < DiffCount; ++j) {
        const int a = n[std::size_t(j)];
        const int b = n[std::size_t(j + 1)];
        d[std::size_t(j)] = uint8_t(a < b ? b - a : a - b);
    }
    return d;
}

// How many of the differences equal d[j].
int occurrences(const TDiffs& d, int j)
{
    int c = 0;
    for (uint8_t x : d) c += x == d[std::size_t(j)] ? 1 : 0;
    return c;
}

// A difference occurs at most 7 times, so (d, c) packs into d * 8 + c for flat tables.
constexpr int PairSlots = 256 * 8;

// --- kinds ------------------------------------------------------------------------------------

class TstDiffTotal final : public TValueKind<TstDiffTotal, TCustomNumbersStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    static constexpr bool GapValues = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        for (uint8_t d : neighbourDiffs(n)) emit(d);
    }
    bool CountWide(std::span<const TComb> combs, game::TByteCounts& counts, std::array<uint32_t, 256>&) const
    {
        return game::CountBytes(combs, true, counts);
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override { listRange(lastIndex, values, 1, 19); }
    // Periods are measured only where a difference is the first of its draw; the later ones
    // still move PrevDrawNo.
    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomNumbersStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        const TDiffs d = neighbourDiffs(CurDraw.Nums);
        for (int j = 0; j < DiffCount; ++j) {
            Cur.Key[0] = d[std::size_t(j)];
            AddCur(values, j == 0);
        }
    }
};

class TstDiffMax final : public TValueKind<TstDiffMax, TCustomGraphStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        int m = 0;
        for (uint8_t d : neighbourDiffs(n)) m = d > m ? d : m;
        emit(m);
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override { listRange(lastIndex, values, 1, 19); }
};

class TstMinMaxDiffs final : public TValueKind<TstMinMaxDiffs, TCustomGraphStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        int lo = n[0], hi = n[0];
        for (uint8_t x : n) {
            lo = x < lo ? x : lo;
            hi = x > hi ? x : hi;
        }
        emit(hi - lo);
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override { listRange(lastIndex, values, 1, 19); }
};

// Each distinct difference with how often it occurs, in order of first appearance.
class TstDiffSame final : public TValueKind<TstDiffSame, TCustomStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Value;
    static constexpr bool SmallKeys = false;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        const TDiffs d = neighbourDiffs(n);
        for (int j = 0; j < DiffCount; ++j) {
            bool earlier = false;
            for (int i = 0; i < j; ++i) earlier = earlier || d[std::size_t(i)] == d[std::size_t(j)];
            if (!earlier) emit(d[std::size_t(j)], occurrences(d, j));
        }
    }
    // The full-set pass counts the packed pairs in a table instead of a hash lookup per value.
    void CalcCombs(std::span<const TComb> combs, TStatDrawArray& values) override
    {
        std::array<int32_t, PairSlots> counts{};
        std::array<uint16_t, PairSlots> order{};
        int seen = 0;
        for (const TComb& c : combs)
            Values(c, [&](int d, int k) {
                const int slot = d * 8 + k;
                if (counts[std::size_t(slot)]++ == 0) order[std::size_t(seen++)] = uint16_t(slot);
            });
        for (int i = 0; i < seen; ++i) {
            const int slot = order[std::size_t(i)];
            Cur = TStatDrawItem{};
            Cur.Key[0] = int16_t(slot / 8);
            Cur.Key[1] = int16_t(slot % 8);
            Cur.Count = counts[std::size_t(slot)];
            AddCur(values, false);
        }
        Cur = TStatDrawItem{};
        Cur.Count = 1;
    }
    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int, bool, bool,
                    std::vector<uint8_t>& result) override
    {
        std::array<uint8_t, PairSlots> known{};   // 0 not asked yet, 1 no, 2 yes
        result.resize(combs.size());
        for (std::size_t i = 0; i < combs.size(); ++i) {
            uint8_t r = 0;
            Values(combs[i], [&](int d, int k) {
                uint8_t& hit = known[std::size_t(d * 8 + k)];
                if (hit == 0) hit = marked.HasValue(d, k) ? 2 : 1;
                r |= hit == 2 ? 1 : 0;
            });
            result[i] = r;
        }
    }
    std::string ValueToText(const TStatDrawItem& value) const override
    {
        return util::Format("%0:d x %1:d", {value.Key[0], value.Key[1]});
    }
};

// How often the most frequent difference occurs.
class TstDiffSameCnt final : public TValueKind<TstDiffSameCnt, TCustomGraphStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        const TDiffs d = neighbourDiffs(n);
        int m = 0;
        for (int j = 0; j < DiffCount; ++j) {
            const int c = occurrences(d, j);
            m = c > m ? c : m;
        }
        emit(m);
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override { listRange(lastIndex, values, 1, DiffCount); }
};

// Runs of Size consecutive differences. Drawn runs only: a combination adds nothing to the full
// set, but a candidate is compared with the same runs.
template <int Size>
class TstCombDiffSeq final : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    // Like the single differences, periods are measured only for the first run of a draw.
    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        const TDiffs d = neighbourDiffs(CurDraw.Nums);
        for (int j = 0; j + Size <= DiffCount; ++j) {
            for (int i = 0; i < Size; ++i) Cur.Key[std::size_t(i)] = d[std::size_t(j + i)];
            AddCur(values, j == 0);
        }
    }
    bool CombMatches(const TComb& comb, const TStatDrawArray& marked, int, bool, bool) override
    {
        const TDiffs d = neighbourDiffs(comb);
        for (int j = 0; j + Size <= DiffCount; ++j) {
            std::array<int, 4> k{};
            for (int i = 0; i < Size; ++i) k[std::size_t(i)] = d[std::size_t(j + i)];
            if (marked.HasValue(k[0], k[1], k[2], k[3])) return true;
        }
        return false;
    }
    std::string ValueToText(const TStatDrawItem& value) const override
    {
        std::string s = std::to_string(value.Key[0]);
        for (int i = 1; i < Size; ++i) {
            s += ':';
            s += std::to_string(value.Key[std::size_t(i)]);
        }
        return s;
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

const std::vector<TStatKind>& differenceKinds()
{
    static const std::vector<TStatKind> kinds = {
        TStatKind({.Position = 17, .ClassName = "TstDiffTotal", .Code = "DIFA",
                   .Caption = "Все разности между соседними позициями", .Group = GroupDifferences, .Flags = FlagS | FlagN,
                   .Create = factory<TstDiffTotal>()}),
        TStatKind({.Position = 18, .ClassName = "TstDiffMax", .Code = "DIFM",
                   .Caption = "Максимальная разность между соседними позициями", .Group = GroupDifferences,
                   .Flags = FlagS | FlagN, .Graph = true, .Create = factory<TstDiffMax>()}),
        TStatKind({.Position = 19, .ClassName = "TstMinMaxDiffs", .Code = "DIFD",
                   .Caption = "Разность между минимальным и максимальным числом", .Group = GroupDifferences, .Flags = FlagN,
                   .Graph = true, .Create = factory<TstMinMaxDiffs>()}),
        TStatKind({.Position = 20, .ClassName = "TstDiffSame", .Code = "DIFO",
                   .Caption = "Одинаковые разности между соседними позициями", .Group = GroupDifferences,
                   .Flags = FlagS | FlagN, .NumericValue = false, .Create = factory<TstDiffSame>()}),
        TStatKind({.Position = 21, .ClassName = "TstDiffSameCnt", .Code = "DIFK",
                   .Caption = "Количество одинаковых разностей между соседними позициями", .Group = GroupDifferences,
                   .Flags = FlagS | FlagN, .Graph = true, .Create = factory<TstDiffSameCnt>()}),
        // Code and caption of the run kinds are "KDS%d" and "Сочетания из %0:d разностей между
        // числами" formatted once with the run length.
        TStatKind({.Position = 75, .ClassName = "TstCombDiffSeq2", .Code = "KDS2",
                   .Caption = "Сочетания из 2 разностей между числами", .Group = GroupDifferences, .Flags = FlagS,
                   .NumericValue = false, .Create = factory<TstCombDiffSeq<2>>()}),
        TStatKind({.Position = 76, .ClassName = "TstCombDiffSeq3", .Code = "KDS3",
                   .Caption = "Сочетания из 3 разностей между числами", .Group = GroupDifferences, .Flags = FlagS,
                   .NumericValue = false, .Create = factory<TstCombDiffSeq<3>>()}),
        TStatKind({.Position = 77, .ClassName = "TstCombDiffSeq4", .Code = "KDS4",
                   .Caption = "Сочетания из 4 разностей между числами", .Group = GroupDifferences, .Flags = FlagS,
                   .NumericValue = false, .Create = factory<TstCombDiffSeq<4>>()}),
    };
    return kinds;
}

} // namespace

void AddDifferenceKinds(std::vector<const TStatKind*>& kinds)
{
    for (const TStatKind& k : differenceKinds()) kinds.push_back(&k);
}

} // namespace kv::stats::kinds

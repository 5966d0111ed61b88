// The segment kinds of group 5: segments are groups of numbers that the user draws freely on the
// card (MatrixSegments gives each number 1..20 a segment digit). They do for segments what the
// channel kinds do for channels, with plain numbers as texts and no listed values of their own.
#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/game/types.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/kinds/tuplekinds.h"

namespace kv::stats::kinds {

namespace {

using game::TComb;

// The layout is copied when the instance is created; a later change affects only instances
// created afterwards.
template <class Base>
class TSegmentsBase : public Base {
public:
    TSegmentsBase(const TStatKind& kind, const TStatEnv& env, int32_t param)
        : Base(kind, env, param),
          Segments(env.Config.MatrixSegments),
          // A byte outside 1..20 (the numbers of an empty draw) reads as segment 0.
          m_segments(MakeGroupTable([&s = Segments](int n) {
              return n >= game::MinNumber && n <= game::MaxNumber ? s[std::size_t(n - 1)] : 0;
          }))
    {
        std::array<bool, 256> used{};
        for (uint8_t s : Segments)
            if (!used[s]) {
                used[s] = true;
                m_layout[std::size_t(m_layoutSize++)] = s;
            }
    }

    // Segments[n - 1] is the segment of number n.
    const game::TNumMap Segments;

    int SegmentOf(uint8_t n) const { return m_segments[n]; }
    const TGroupTable& TupleGroups() const { return m_segments; }
    // The segments of the layout in the order in which numbers 1..20 first use them.
    std::span<const uint8_t> Layout() const { return {m_layout.data(), std::size_t(m_layoutSize)}; }

private:
    const TGroupTable m_segments;
    std::array<uint8_t, game::MaxNumber> m_layout{};
    int m_layoutSize = 0;
};

using TCustomSegmentsStat = TSegmentsBase<TCustomNumbersStat>;
using TCustomSegmentsGraphStat = TSegmentsBase<TCustomGraphStat>;

class TstSegments final : public TValueKind<TstSegments, TCustomSegmentsStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        for (uint8_t x : n) emit(SegmentOf(x));
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        TCustomStat::ListValues(lastIndex, values);
        for (int n = game::MinNumber; n <= game::MaxNumber; ++n) {
            Cur.Key[0] = int16_t(SegmentOf(uint8_t(n)));
            AddCur(values, false);
        }
    }
};

// One value per segment of the layout, empty ones included, so every draw shows every segment:
// (segment, how many numbers lie in it).
class TstSegmValues final : public TGroupPairKind<TstSegmValues, TCustomSegmentsStat> {
public:
    using TGroupPairKind::TGroupPairKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Value;
    static constexpr bool SmallKeys = false;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        std::array<uint8_t, 256> count{};
        for (uint8_t x : n) ++count[std::size_t(SegmentOf(x))];
        for (uint8_t s : Layout()) emit(s, count[s]);
    }
    std::string ValueToText(const TStatDrawItem& value) const override { return PairText(value); }
};

// The number of distinct segments; nothing listed, so only counts that occur are shown.
class TstSegmCount final : public TValueKind<TstSegmCount, TCustomSegmentsGraphStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        emit(DistinctGroups(n, TupleGroups()));
    }
};

// How many numbers lie in the segment of the parameter (0 for a segment the layout skips).
class TstSgmValCnt final : public TValueKind<TstSgmValCnt, TCustomSegmentsGraphStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        emit(CountInGroup(n, TupleGroups(), Param()));
    }
};

template <int K>
using TstCombSegmMix = TGroupTupleStat<TCustomSegmentsStat, K, TGroupTupleForm::Mix>;
template <int K>
using TstCombSegmSeq = TGroupTupleStat<TCustomSegmentsStat, K, TGroupTupleForm::Seq>;

// --- descriptors ------------------------------------------------------------------------------

constexpr TStatGroup SegmentGroup = GroupSegments;

// min(9, smallest segment)..max(1, largest), segments that no number uses included.
std::pair<int, int> segmentParamRange(const TConfigData& config)
{
    int lo = 255, hi = 0;
    for (uint8_t s : config.MatrixSegments) {
        lo = std::min(lo, int(s));
        hi = std::max(hi, int(s));
    }
    return {std::min(9, lo), std::max(1, hi)};
}

const std::vector<TStatKind>& segmentKinds()
{
    static const char* const Mix = "Сочетания из %0:d сегментов по всем числам тиража";
    static const char* const Seq = "Сочетания из %0:d сегментов по соседним числам";
    static const std::vector<TStatKind> kinds = {
        TStatKind({.Position = 37, .ClassName = "TstSegments", .Code = "SGMS", .Caption = "Сегменты матрицы",
                   .Group = SegmentGroup, .Flags = FlagN, .Create = GroupKindFactory<TstSegments>()}),
        TStatKind({.Position = 38, .ClassName = "TstSegmValues", .Code = "SGMV",
                   .Caption = "Количество чисел в сегменте матрицы", .Group = SegmentGroup, .Flags = FlagN,
                   .NumericValue = false, .Create = GroupKindFactory<TstSegmValues>()}),
        TStatKind({.Position = 39, .ClassName = "TstSegmCount", .Code = "SGMC",
                   .Caption = "Количество не пустых сегментов в матрице", .Group = SegmentGroup, .Flags = FlagN,
                   .Graph = true, .Create = GroupKindFactory<TstSegmCount>()}),
        TupleKind(SegmentGroup, 96, "TstCombSegmMix2", "KGM%d", Mix, 2, GroupKindFactory<TstCombSegmMix<2>>()),
        TupleKind(SegmentGroup, 97, "TstCombSegmMix3", "KGM%d", Mix, 3, GroupKindFactory<TstCombSegmMix<3>>()),
        TupleKind(SegmentGroup, 98, "TstCombSegmMix4", "KGM%d", Mix, 4, GroupKindFactory<TstCombSegmMix<4>>()),
        TupleKind(SegmentGroup, 99, "TstCombSegmSeq2", "KGS%d", Seq, 2, GroupKindFactory<TstCombSegmSeq<2>>()),
        TupleKind(SegmentGroup, 100, "TstCombSegmSeq3", "KGS%d", Seq, 3, GroupKindFactory<TstCombSegmSeq<3>>()),
        TupleKind(SegmentGroup, 101, "TstCombSegmSeq4", "KGS%d", Seq, 4, GroupKindFactory<TstCombSegmSeq<4>>()),
        TStatKind({.Position = 107, .ClassName = "TstSgmValCnt", .Code = "SGM%d",
                   .Caption = "Количество чисел в %0:d сегменте матрицы", .HelpCode = "SGMx",
                   .Group = SegmentGroup, .Flags = FlagN, .Graph = true, .HasParam = true,
                   .ParamRange = segmentParamRange, .Create = GroupKindFactory<TstSgmValCnt>()}),
    };
    return kinds;
}

} // namespace

void AddSegmentKinds(std::vector<const TStatKind*>& kinds)
{
    for (const TStatKind& k : segmentKinds()) kinds.push_back(&k);
}

} // namespace kv::stats::kinds

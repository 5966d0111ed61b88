// The transition kinds of group 10: what came in the next draw after a situation that the last
// draw of the window repeats. The situation is an item of the previous draw that is also in the
// last draw (anywhere or at the same position), a two-draw pattern at one position, or the count
// of numbers in one channel or segment; items are numbers, channels or segments.
#include <array>
#include <memory>

#include "core/stats/kinds/itemmap.h"
#include "core/stats/kinds/kinds.h"

namespace kv::stats::kinds {

namespace {

using game::TComb;
using game::TDraw;

enum class TChainShape {
    All,     // every item of the previous draw that the last draw also has -> every item of the draw
    Pos,     // the previous draw's item at a position equals the last draw's there -> the item there
    Pos3,    // the same over two draws: (two draws before, previous) at a position -> the item there
    Count,   // the count in item Param of the previous draw equals the last draw's -> the count now
    Count3,  // the counts of the two draws before equal those of the last two -> the count now
    Inside,  // a number of the previous draw that is in the last draw -> the numbers of its channel
};

// What the numbers-within-channels kinds record of the numbers S of the draw that share a
// channel with x.
enum TInsideMode {
    InsideAll = 0,      // x -> each y of S, or x -> 0 when S is empty
    InsideSuccess = 1,  // x -> each y of S
    InsideFailure = 2,  // x -> 0 when S is empty
    InsideCount = 3,    // x -> |S|
};

struct TChainSetup {
    TChainShape Shape;
    TItemKind Items;
    bool OnePosition = false;   // Pos and Pos3 at the position given by the parameter only
    TInsideMode Inside = InsideAll;
};

bool threeDraws(TChainShape s) { return s == TChainShape::Pos3 || s == TChainShape::Count3; }

class TChainStat final : public TCustomStat {
public:
    TChainStat(const TStatKind& kind, const TStatEnv& env, int32_t param, const TChainSetup& setup)
        : TCustomStat(kind, env, param), m_setup(setup), m_items(setup.Items, env.Config)
    {
        if (setup.OnePosition) {
            const bool valid = param >= 1 && param <= game::NumsPerDraw;
            m_firstPos = valid ? param : 1;
            m_lastPos = valid ? param : 0;
        }
        // The "to" key that filters read: Key[1] after one "from" item, Key[2] after two.
        m_toKey = threeDraws(setup.Shape) ? 3 : 2;
    }

    std::string ValueToText(const TStatDrawItem& v) const override
    {
        if (m_setup.Shape == TChainShape::Inside) {
            const char* f = m_setup.Inside == InsideCount ? "%d -> %d" : "%.2d -> %.2d";
            return util::Format(f, {int(v.Key[0]), int(v.Key[1])});
        }
        if (threeDraws(m_setup.Shape))
            return util::Format("%0:s-%1:s -> %2:s",
                                {m_items.Text(v.Key[0]), m_items.Text(v.Key[1]), m_items.Text(v.Key[2])});
        return util::Format("%0:s -> %1:s", {m_items.Text(v.Key[0]), m_items.Text(v.Key[1])});
    }

    // The count kinds show in advance every count that can follow the last draw's situation.
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        TCustomStat::ListValues(lastIndex, values);
        const bool channels = m_items.Kind() == TItemKind::Channels;
        const int kR = count(DrawAt(Draws(), lastIndex, false).Nums);
        if (m_setup.Shape == TChainShape::Count) {
            const int last = channels ? m_items.ChannelSize() : 0;
            for (int j = 0; j <= last; ++j) listValue(values, kR, j, 0);
        } else if (m_setup.Shape == TChainShape::Count3 && channels) {
            const int kR1 = count(DrawAt(Draws(), lastIndex - 1, false).Nums);
            for (int j = 0; j <= m_items.ChannelSize(); ++j) listValue(values, kR1, kR, j);
        }
    }

    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        // A draw without a predecessor (the first of the archive) has nothing to follow.
        const TDraw p1 = DrawAt(Draws(), index - 1, sorted);
        if (p1.DrawNo <= 0) return;
        TDraw p2, r1;
        if (threeDraws(m_setup.Shape)) {
            p2 = DrawAt(Draws(), index - 2, sorted);
            if (p2.DrawNo <= 0) return;
            r1 = DrawAt(Draws(), lastIndex - 1, sorted);
        }
        const TComb& cur = CurDraw.Nums;
        const TComb& ref = RefDraw.Nums;
        switch (m_setup.Shape) {
        case TChainShape::All:
            for (uint8_t x : p1.Nums) {
                const int from = m_items.Of(x);
                if (from == NoItem || !m_items.InNums(from, ref)) continue;
                for (uint8_t y : cur) add(values, from, m_items.Of(y), 0);
            }
            break;
        case TChainShape::Pos:
            for (int i = m_firstPos; i <= m_lastPos; ++i) {
                const int from = itemAt(p1.Nums, i);
                if (from != NoItem && from == itemAt(ref, i)) add(values, from, itemAt(cur, i), 0);
            }
            break;
        case TChainShape::Pos3:
            for (int i = m_firstPos; i <= m_lastPos; ++i) {
                const int from1 = itemAt(p1.Nums, i);
                const int from2 = itemAt(p2.Nums, i);
                if (from1 != NoItem && from1 == itemAt(ref, i) && from2 != NoItem && from2 == itemAt(r1.Nums, i))
                    add(values, from2, from1, itemAt(cur, i));
            }
            break;
        case TChainShape::Count: {
            const int k1 = count(p1.Nums);
            if (k1 == count(ref)) add(values, k1, count(cur), 0);
            break;
        }
        case TChainShape::Count3: {
            const int k1 = count(p1.Nums);
            const int k2 = count(p2.Nums);
            if (k1 == count(ref) && k2 == count(r1.Nums)) add(values, k2, k1, count(cur));
            break;
        }
        case TChainShape::Inside:
            // In drawn order, whatever the sorting: the values come out in the order of the draw.
            calcInside(values, DrawAt(Draws(), index - 1, false).Nums, DrawAt(Draws(), index, false).Nums, ref);
            break;
        }
    }

    bool CombMatches(const TComb& comb, const TStatDrawArray& marked, int lastIndex, bool, bool) override
    {
        if (countShape()) return marked.HasKey(m_toKey, count(comb));
        const TComb last = lastDrawNums(lastIndex);
        return AnyNumberMatches(comb, [&](int n) { return numberMatches(n, marked, last); });
    }

    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int lastIndex, bool, bool,
                    std::vector<uint8_t>& result) override
    {
        if (countShape()) {
            std::array<uint8_t, game::NumsPerDraw + 1> hit{};
            for (int k = 0; k <= game::NumsPerDraw; ++k) hit[std::size_t(k)] = marked.HasKey(m_toKey, k) ? 1 : 0;
            std::array<uint8_t, 256> in{};
            for (int n = 0; n < 256; ++n) in[std::size_t(n)] = m_items.Of(n) == Param() ? 1 : 0;
            result.resize(combs.size());
            for (std::size_t i = 0; i < combs.size(); ++i) {
                const TComb& c = combs[i];
                result[i] = hit[std::size_t(in[c[0]] + in[c[1]] + in[c[2]] + in[c[3]] + in[c[4]] + in[c[5]]
                                            + in[c[6]] + in[c[7]])];
            }
            return;
        }
        const TComb last = lastDrawNums(lastIndex);
        MatchByNumber(combs, result, [&](int n) { return numberMatches(n, marked, last); });
    }

private:
    // Only the numbers-within-channels filter reads the last draw of the window.
    TComb lastDrawNums(int lastIndex) const
    {
        return m_setup.Shape == TChainShape::Inside ? DrawAt(Draws(), lastIndex, false).Nums : TComb{};
    }
    bool countShape() const { return m_setup.Shape == TChainShape::Count || m_setup.Shape == TChainShape::Count3; }
    int itemAt(const TComb& nums, int position) const { return m_items.Of(nums[std::size_t(position - 1)]); }
    int count(const TComb& nums) const { return m_items.CountIn(Param(), nums); }

    void add(TStatDrawArray& values, int k0, int k1, int k2)
    {
        Cur.Key = {int16_t(k0), int16_t(k1), int16_t(k2), 0};
        AddCur(values, true);
    }
    void listValue(TStatDrawArray& values, int k0, int k1, int k2)
    {
        Cur.Key = {int16_t(k0), int16_t(k1), int16_t(k2), 0};
        AddCur(values, false);
    }

    bool sameChannel(int x, int y) const
    {
        const int g = m_items.Of(x);
        return g != NoItem && g == m_items.Of(y);
    }

    void calcInside(TStatDrawArray& values, const TComb& prev, const TComb& cur, const TComb& ref)
    {
        const TInsideMode mode = m_setup.Inside;
        for (uint8_t x : prev) {
            if (!game::InComb(x, ref)) continue;
            int found = 0;
            for (uint8_t y : cur) {
                if (!sameChannel(x, y)) continue;
                ++found;
                if (mode == InsideAll || mode == InsideSuccess) add(values, x, y, 0);
            }
            if (mode == InsideCount)
                add(values, x, found, 0);
            else if (found == 0 && (mode == InsideAll || mode == InsideFailure))
                add(values, x, 0, 0);
        }
    }

    // Positional and item kinds: the item of the number is the "to" of a marked transition,
    // whatever it came from. Numbers within channels: a marked x -> y of a number x of the last
    // draw takes y, and a marked x -> 0 (or any count of x) takes every number of x's channel.
    bool numberMatches(int n, const TStatDrawArray& marked, const TComb& last) const
    {
        if (m_setup.Shape != TChainShape::Inside) {
            const int item = m_items.Of(n);
            return item != NoItem && marked.HasKey(m_toKey, item);
        }
        for (uint8_t x : last) {
            if (marked.HasValue(x, n)) return true;
            if (!sameChannel(x, n)) continue;
            if (m_setup.Inside == InsideCount ? marked.HasKey(1, x) : marked.HasValue(x, 0)) return true;
        }
        return false;
    }

    TChainSetup m_setup;
    TItemMap m_items;
    int m_firstPos = 1;
    int m_lastPos = game::NumsPerDraw;
    int m_toKey = 2;
};

TStatKind::Factory chainFactory(TChainSetup setup)
{
    return [setup](const TStatKind& kind, const TStatEnv& env, int32_t param) -> std::unique_ptr<TCustomStat> {
        return std::make_unique<TChainStat>(kind, env, param, setup);
    };
}

struct TChainRow {
    int Position;
    const char* ClassName;
    const char* Code;
    const char* HelpCode;   // nullptr: the code itself
    const char* Caption;
    bool Positional;        // flag S
    TStatKind::RangeFn ParamRange;   // empty: no parameter
    TChainSetup Setup;
};

TStatKind chainKind(const TChainRow& r)
{
    return TStatKind({.Position = r.Position, .ClassName = r.ClassName, .Code = r.Code, .Caption = r.Caption,
                      .HelpCode = r.HelpCode, .Group = GroupTransitions, .Flags = (r.Positional ? FlagS : 0u) | FlagD,
                      .NumericValue = false, .HasParam = bool(r.ParamRange), .ParamRange = r.ParamRange,
                      .Create = chainFactory(r.Setup)});
}

const std::vector<TStatKind>& transitionKinds()
{
    using enum TChainShape;
    constexpr TItemKind Nums = TItemKind::Numbers;
    constexpr TItemKind Chans = TItemKind::Channels;
    constexpr TItemKind Segs = TItemKind::Segments;
    const TStatKind::RangeFn positions = FixedParamRange(1, game::NumsPerDraw);
    const TStatKind::RangeFn none{};
    static const std::vector<TStatKind> kinds = [&] {
        const std::vector<TChainRow> rows = {
            {117, "TstChain2DrawsAll", "SDV2", nullptr, "Переходы чисел между 2 тиражами без учета позиции", false,
             none, {All, Nums}},
            {118, "TstChain2DrawsPos", "SDP2", nullptr, "Переходы чисел между 2 тиражами с учетом позиции", true,
             none, {Pos, Nums}},
            {119, "TstChain2Pos", "SDN%d", "SDNx", "Переходы чисел между 2 тиражами в %d позиции", true, positions,
             {Pos, Nums, true}},
            {120, "TstChain3DrawsPos", "SDP3", nullptr, "Переходы чисел между 3 тиражами с учетом позиции", true,
             none, {Pos3, Nums}},
            {121, "TstChain3Pos", "SDM%d", "SDMx", "Переходы чисел между 3 тиражами в %d позиции", true, positions,
             {Pos3, Nums, true}},
            {122, "TstChain2ChannelsAll", "SCV2", nullptr, "Переходы каналов между 2 тиражами без учета позиции",
             false, none, {All, Chans}},
            {123, "TstChain2ChannelsPos", "SCP2", nullptr, "Переходы каналов между 2 тиражами с учетом позиции",
             true, none, {Pos, Chans}},
            {124, "TstChain2Channel", "SCN%d", "SCNx", "Переходы каналов между 2 тиражами в %d позиции", true,
             positions, {Pos, Chans, true}},
            {125, "TstChain3ChannelsPos", "SCP3", nullptr, "Переходы каналов между 3 тиражами с учетом позиции",
             true, none, {Pos3, Chans}},
            {126, "TstChain3Channel", "SCM%d", "SCMx", "Переходы каналов между 3 тиражами в %d позиции", true,
             positions, {Pos3, Chans, true}},
            {127, "TstChain2CnlCnt", "SC2C%d", "SC2Cx", "Переходы кол-ва чисел в %d канале между 2 тиражами", false,
             ChannelParamRange, {Count, Chans}},
            {128, "TstChain3CnlCnt", "SC3C%d", "SC3Cx", "Переходы кол-ва чисел в %d канале между 3 тиражами", false,
             ChannelParamRange, {Count3, Chans}},
            {129, "TstChainChannels2InsideAll", "SDA2", nullptr, "Переходы чисел в пределах каналов (все)", false,
             none, {Inside, Chans, false, InsideAll}},
            {130, "TstChainChannels2InsideSuc", "SDG2", nullptr, "Переходы чисел в пределах каналов (N-M, удачные)",
             false, none, {Inside, Chans, false, InsideSuccess}},
            {131, "TstChainChannels2InsideBad", "SDZ2", nullptr,
             "Переходы чисел в пределах каналов (N-0, не удачные)", false, none,
             {Inside, Chans, false, InsideFailure}},
            {132, "TstChainChannels2InsideCnt", "SDC2", nullptr, "Переходы чисел в пределах каналов (количество)",
             false, none, {Inside, Chans, false, InsideCount}},
            {133, "TstChain2SegmentsAll", "SSV2", nullptr, "Переходы сегментов между 2 тиражами без учета позиции",
             false, none, {All, Segs}},
            {134, "TstChain2SegmentsPos", "SSP2", nullptr, "Переходы сегментов между 2 тиражами с учетом позиции",
             true, none, {Pos, Segs}},
            {135, "TstChain2Segment", "SSN%d", "SSNx", "Переходы сегментов между 2 тиражами в %d позиции", true,
             positions, {Pos, Segs, true}},
            {136, "TstChain3SegmentsPos", "SSP3", nullptr, "Переходы сегментов между 3 тиражами с учетом позиции",
             true, none, {Pos3, Segs}},
            {137, "TstChain3Segment", "SSM%d", "SSMx", "Переходы сегментов между 3 тиражами в %d позиции", true,
             positions, {Pos3, Segs, true}},
            {138, "TstChain2SgmCnt", "SS2C%d", "SS2Cx", "Переходы кол-ва чисел в %d сегменте между 2 тиражами",
             false, SegmentParamRange, {Count, Segs}},
            {139, "TstChain3SgmCnt", "SS3C%d", "SS3Cx", "Переходы кол-ва чисел в %d сегменте между 3 тиражами",
             false, SegmentParamRange, {Count3, Segs}},
        };
        std::vector<TStatKind> k;
        k.reserve(rows.size());
        for (const TChainRow& r : rows) k.push_back(chainKind(r));
        return k;
    }();
    return kinds;
}

} // namespace

void AddTransitionKinds(std::vector<const TStatKind*>& kinds)
{
    for (const TStatKind& k : transitionKinds()) kinds.push_back(&k);
}

} // namespace kv::stats::kinds

// The series kinds of group 8: runs of consecutive draws in which an item (a number, a channel or
// a segment) was present, or absent, reported only for the items of the last draw of the window.
#include <algorithm>
#include <array>
#include <memory>

#include "core/stats/kinds/itemmap.h"
#include "core/stats/kinds/kinds.h"

namespace kv::stats::kinds {

namespace {

using game::TComb;

enum TSerialMode : uint8_t {
    RunsOfAbsence = 0,
    RunsOfPresence = 1,
};

class TSerialStat final : public TCustomStat {
public:
    TSerialStat(const TStatKind& kind, const TStatEnv& env, int32_t param, TItemKind items, TSerialMode mode)
        : TCustomStat(kind, env, param), m_items(items, env.Config), m_mode(mode)
    {
        // The work area has one entry per item; a layout can never use more than ten segments,
        // but a range beyond the area is cut rather than written past its end.
        m_first = m_items.First();
        m_last = std::min(m_items.Last(), m_first + static_cast<int>(std::tuple_size_v<TWorkArea>) - 1);
    }

    std::string ValueToText(const TStatDrawItem& v) const override
    {
        return util::Format("%0:s x %1:d", {m_items.Text(v.Key[0]), int(v.Key[1])});
    }

    // The runs live in the caller's work area from one draw of the window to the next; a run is
    // recorded when it ends, and the one still open at the last draw is recorded there.
    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        std::array<bool, std::tuple_size_v<TWorkArea>> present{}, inRef{};
        for (uint8_t x : CurDraw.Nums) mark(present, m_items.Of(x));
        for (uint8_t x : RefDraw.Nums) mark(inRef, m_items.Of(x));
        const bool wantPresent = m_mode == RunsOfPresence;
        for (int item = m_first; item <= m_last; ++item) {
            const std::size_t slot = std::size_t(item - m_first);
            TWorkEntry& e = work[slot];
            if (present[slot] == wantPresent) {
                ++e.RunLength;
                e.DrawNo = CurDraw.DrawNo;
                e.Depth = lastIndex - index + 1;
                if (index == lastIndex && inRef[slot]) addRun(values, item, e);
            } else {
                if (e.RunLength > 0 && inRef[slot]) addRun(values, item, e);
                e = TWorkEntry{};
            }
        }
    }

    // The run length is not looked at: a marked value stands for its item.
    bool CombMatches(const TComb& comb, const TStatDrawArray& marked, int, bool, bool) override
    {
        return AnyNumberMatches(comb, [&](int n) { return numberMatches(n, marked); });
    }
    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int, bool, bool,
                    std::vector<uint8_t>& result) override
    {
        MatchByNumber(combs, result, [&](int n) { return numberMatches(n, marked); });
    }

private:
    void mark(std::array<bool, std::tuple_size_v<TWorkArea>>& set, int item) const
    {
        if (item >= m_first && item <= m_last) set[std::size_t(item - m_first)] = true;
    }

    void addRun(TStatDrawArray& values, int item, const TWorkEntry& e)
    {
        Cur.Key = {int16_t(item), int16_t(e.RunLength), 0, 0};
        Cur.LastDrawNo = e.DrawNo;
        Cur.PrevDrawNo = e.DrawNo;
        Cur.Depth = e.Depth;
        AddCur(values, true);
    }

    bool numberMatches(int n, const TStatDrawArray& marked) const
    {
        const int item = m_items.Of(n);
        return item != NoItem && marked.HasKey(1, item);
    }

    TItemMap m_items;
    TSerialMode m_mode;
    int m_first = 1;
    int m_last = 0;
};

template <TItemKind Items, TSerialMode Mode>
TStatKind::Factory serialFactory()
{
    return [](const TStatKind& kind, const TStatEnv& env, int32_t param) -> std::unique_ptr<TCustomStat> {
        return std::make_unique<TSerialStat>(kind, env, param, Items, Mode);
    };
}

TStatKind serialKind(int position, const char* className, const char* code, const char* caption,
                     TStatKind::Factory create)
{
    return TStatKind({.Position = position, .ClassName = className, .Code = code, .Caption = caption, .Group = GroupSeries,
                      .Flags = FlagD, .NumericValue = false, .Create = std::move(create)});
}

const std::vector<TStatKind>& seriesKinds()
{
    using enum TItemKind;
    static const std::vector<TStatKind> kinds = {
        serialKind(108, "TstNumGroups", "GRPV", "Повторы чисел в нескольких тиражах подряд",
                   serialFactory<Numbers, RunsOfPresence>()),
        serialKind(109, "TstNumPauses", "GRPP", "Интервалы между повторениями чисел",
                   serialFactory<Numbers, RunsOfAbsence>()),
        serialKind(110, "TstChnGroups", "GRCV", "Повторы каналов в нескольких тиражах подряд",
                   serialFactory<Channels, RunsOfPresence>()),
        serialKind(111, "TstChnPauses", "GRCP", "Интервалы между повторениями каналов",
                   serialFactory<Channels, RunsOfAbsence>()),
        serialKind(112, "TstSgmGroups", "GRSV", "Повторы сегментов в нескольких тиражах подряд",
                   serialFactory<Segments, RunsOfPresence>()),
        serialKind(113, "TstSgmPauses", "GRSP", "Интервалы между повторениями сегментов",
                   serialFactory<Segments, RunsOfAbsence>()),
    };
    return kinds;
}

} // namespace

void AddSeriesKinds(std::vector<const TStatKind*>& kinds)
{
    for (const TStatKind& k : seriesKinds()) kinds.push_back(&k);
}

} // namespace kv::stats::kinds

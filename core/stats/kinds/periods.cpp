// The period kinds of group 9: after how many draws an item (a number, a channel or a segment)
// came back inside the window, measured in draw numbers through the window's last-values list.
#include <memory>

#include "core/stats/kinds/itemmap.h"
#include "core/stats/kinds/kinds.h"

namespace kv::stats::kinds {

namespace {

using game::TComb;

class TPeriodsStat final : public TCustomStat {
public:
    TPeriodsStat(const TStatKind& kind, const TStatEnv& env, int32_t param, TItemKind items)
        : TCustomStat(kind, env, param), m_items(items, env.Config)
    {
    }

    std::string ValueToText(const TStatDrawItem& v) const override
    {
        return m_items.Text(v.Key[0]) + " x " + std::to_string(int(v.Key[1]));
    }

    // A second number of the same item in one draw measures a gap of 0 and adds nothing.
    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        for (uint8_t x : CurDraw.Nums) {
            const int item = m_items.Of(x);
            if (item == NoItem) continue;
            const int32_t k = lastValues.AddLastValue(CurDraw.DrawNo, {int16_t(item), 0, 0, 0});
            if (k <= 0) continue;
            Cur.Key = {int16_t(item), int16_t(k), 0, 0};
            AddCur(values, true);
        }
    }

    bool CombMatches(const TComb& comb, const TStatDrawArray& marked, int lastIndex, bool, bool exclude) override
    {
        return AnyNumberMatches(comb, [&](int n) { return numberMatches(n, marked, lastIndex, exclude); });
    }
    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int lastIndex, bool, bool exclude,
                    std::vector<uint8_t>& result) override
    {
        MatchByNumber(combs, result, [&](int n) { return numberMatches(n, marked, lastIndex, exclude); });
    }

private:
    // A marked period k points at the draw k draws before the candidate, the candidate being the
    // draw after lastIndex. A keep filter takes the numbers whose item was in that draw, a delete
    // filter removes the numbers whose item was not: both leave the combinations that repeat the
    // period. A draw outside the archive holds no item.
    bool numberMatches(int n, const TStatDrawArray& marked, int lastIndex, bool exclude) const
    {
        const int item = m_items.Of(n);
        if (item == NoItem || !marked.HasKey(1, item)) return false;
        for (const TStatDrawItem& v : marked) {
            if (v.Key[0] != item) continue;
            const game::TDraw d = DrawAt(Draws(), lastIndex - v.Key[1] + 1, false);
            const bool inD = m_items.InNums(item, d.Nums);
            if (inD != exclude) return true;
        }
        return false;
    }

    TItemMap m_items;
};

template <TItemKind Items>
TStatKind::Factory periodsFactory()
{
    return [](const TStatKind& kind, const TStatEnv& env, int32_t param) -> std::unique_ptr<TCustomStat> {
        return std::make_unique<TPeriodsStat>(kind, env, param, Items);
    };
}

TStatKind periodKind(int position, const char* className, const char* code, const char* caption,
                     TStatKind::Factory create)
{
    return TStatKind({.Position = position, .ClassName = className, .Code = code, .Caption = caption, .Group = GroupPeriods,
                      .Flags = FlagP, .NumericValue = false, .Create = std::move(create)});
}

const std::vector<TStatKind>& periodKinds()
{
    static const std::vector<TStatKind> kinds = {
        periodKind(114, "TstNumPeriods", "PRDV", "Периоды повторения чисел", periodsFactory<TItemKind::Numbers>()),
        periodKind(115, "TstChnPeriods", "PRDC", "Периоды повторения каналов",
                   periodsFactory<TItemKind::Channels>()),
        periodKind(116, "TstSgmPeriods", "PRDG", "Периоды повторения сегментов",
                   periodsFactory<TItemKind::Segments>()),
    };
    return kinds;
}

} // namespace

void AddPeriodKinds(std::vector<const TStatKind*>& kinds)
{
    for (const TStatKind& k : periodKinds()) kinds.push_back(&k);
}

} // namespace kv::stats::kinds

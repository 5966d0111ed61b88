// The shredding kind of group 12: the first digits after the point of a user formula over the
// numbers of a draw (n1..n8) and of the two draws before it (p1..p8, t1..t8), registered once
// per formula of the settings.
#include <memory>
#include <span>
#include <string>

#include "core/game/evaluator.h"
#include "core/game/numbers.h"
#include "core/stats/kinds/kinds.h"

namespace kv::stats::kinds {

namespace {

using game::TComb;

constexpr TComb NoDraw{};

// A value is stored as one 32-bit word in Key[0..1] (Key[0] the low half). With up to four
// digits this is exactly Key[0] = the value and Key[1] = 0; five digits reach 99999, beyond a
// 16-bit key, and the high half keeps 12345 and 77881 (= 12345 + 65536) apart. The values
// order by the whole word, so 65536 follows 65535.
class TstShreddingStat final : public TCustomGraphStat {
public:
    TstShreddingStat(const TStatKind& kind, const TStatEnv& env, int32_t param) : TCustomGraphStat(kind, env, param)
    {
        const TShreddingData& s = env.Shredding;
        switch (param) {
        case 1: Formula = s.Formula1, Digits = s.Formula1Digits; break;
        case 2: Formula = s.Formula2, Digits = s.Formula2Digits; break;
        case 3: Formula = s.Formula3, Digits = s.Formula3Digits; break;
        default: break;
        }
        // Parsed once: the instance keeps the formula that was current when it was created.
        m_formula = game::TFormula(Formula);
    }

    std::string Formula;
    int32_t Digits = 0;

    std::string ValueToText(const TStatDrawItem& value) const override { return std::to_string(value.LongKey()); }
    TKeyOrder KeyOrder() const override { return TKeyOrder::LongKey; }

    void CalcComb(const TComb& comb, TStatDrawArray& values) override
    {
        TCustomStat::CalcComb(comb, values);
        // The full set has no draws before it: p and t are zeros.
        Cur.SetLongKey(value(comb, NoDraw, NoDraw));
        AddCur(values, false);
    }

    void CalcCombs(std::span<const TComb> combs, TStatDrawArray& values) override
    {
        Cur = TStatDrawItem{};
        Cur.Count = 1;
        for (const TComb& c : combs) {
            Cur.SetLongKey(value(c, NoDraw, NoDraw));
            AddCur(values, false);
        }
    }

    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        Cur.SetLongKey(value(CurDraw.Nums, numbersOf(index - 1, sorted), numbersOf(index - 2, sorted)));
        AddCur(values, true);
    }

    // The candidate is the draw after the last draw in use, so that draw and the one before it
    // are its p and t.
    bool CombMatches(const TComb& comb, const TStatDrawArray& marked, int lastIndex, bool sorted,
                     bool /*exclude*/) override
    {
        return marked.HasLongKey(1, value(comb, numbersOf(lastIndex, sorted), numbersOf(lastIndex - 1, sorted)));
    }

    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int lastIndex, bool sorted,
                    bool /*exclude*/, std::vector<uint8_t>& result) override
    {
        const TComb p = numbersOf(lastIndex, sorted);
        const TComb t = numbersOf(lastIndex - 1, sorted);
        result.resize(combs.size());
        for (std::size_t i = 0; i < combs.size(); ++i) result[i] = marked.HasLongKey(1, value(combs[i], p, t)) ? 1 : 0;
    }

    int32_t GetGraphValue(const TComb& numbers, int index, int /*lastIndex*/, bool sorted) override
    {
        return value(numbers, numbersOf(index - 1, sorted), numbersOf(index - 2, sorted));
    }

private:
    int32_t value(const TComb& n, const TComb& p, const TComb& t) const { return m_formula.Evaluate(n, p, t, Digits); }

    // The 8 numbers of draw index (ascending when sorted); zeros for a draw that does not exist.
    TComb numbersOf(int index, bool sorted) const
    {
        const game::TDrawsArray* draws = Env().Draws;
        if (!draws || index < 0 || index >= static_cast<int>(draws->size())) return NoDraw;
        TComb nums = (*draws)[std::size_t(index)].Nums;
        if (sorted) game::SortComb(nums);
        return nums;
    }

    game::TFormula m_formula;
};

const TStatKind& shreddingKind()
{
    static const TStatKind kind({
        .Position = 143,
        .ClassName = "TstShreddingStat",
        .Code = "SHR%d",
        // The registry puts the method's formula into "%s" after the parameter is formatted.
        .Caption = "Метод шинковки %0:d: %%s",
        .HelpCode = "SHRx",
        .Group = GroupShredding,
        .Flags = FlagS | FlagN,
        .Graph = true,
        .HasParam = true,
        .ParamRange = [](const TConfigData&) { return std::pair<int, int>(1, 3); },
        .Create = [](const TStatKind& k, const TStatEnv& env, int32_t param) -> std::unique_ptr<TCustomStat> {
            return std::make_unique<TstShreddingStat>(k, env, param);
        },
    });
    return kind;
}

} // namespace

void AddShreddingKinds(std::vector<const TStatKind*>& kinds) { kinds.push_back(&shreddingKind()); }

} // namespace kv::stats::kinds

// The characteristic-number kinds of group 11: the 8 numbers reduced to one small number by
// repeated absolute differences of neighbours, plainly, with 0 and 1 replaced by a sum, and a
// dynamic variant that proposes numbers for the next draw from the last draw of the window.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/game/numbers.h"
#include "core/stats/kinds/itemmap.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/kinds/valuekind.h"
#include "core/util/format.h"

namespace kv::stats::kinds {

namespace {

using game::TComb;

// How the last difference r of the two remaining numbers a, b becomes the result.
enum class TTriangleMode {
    Plain,     // r
    SumSmall,  // a + b when r is 0 or 1, else r
    Marked,    // a + b when r is 0, the pair (1, a + b) when r is 1, else r
};

struct TTriangle {
    int Value = 0;
    bool Pair = false;   // Marked mode with r = 1: Value is a + b, the 1 is kept beside it
};

// The numbers in the order given (flag S): rows of neighbour differences until two remain.
TTriangle triangle(const TComb& x, TTriangleMode mode)
{
    std::array<int, game::NumsPerDraw> row{};
    for (int i = 0; i < game::NumsPerDraw; ++i) row[std::size_t(i)] = x[std::size_t(i)];
    // Six rows take 8 numbers down to 2. Every row is computed over the full width: the entries
    // past a row's length are never read by the entries that count, and fixed bounds let the
    // compiler unroll the passes (the full-set pass runs this for every ticket).
    for (int level = 0; level < game::NumsPerDraw - 2; ++level)
        for (int i = 0; i + 1 < game::NumsPerDraw; ++i)
            row[std::size_t(i)] = std::abs(row[std::size_t(i + 1)] - row[std::size_t(i)]);
    const int a = row[0], b = row[1];
    const int r = std::abs(b - a);
    switch (mode) {
    case TTriangleMode::Plain: return {r, false};
    case TTriangleMode::SumSmall: return {r <= 1 ? a + b : r, false};
    case TTriangleMode::Marked:
        if (r == 0) return {a + b, false};
        if (r == 1) return {a + b, true};
        return {r, false};
    }
    return {};
}

// KRL1 and KRL2: one charted value per draw or combination.
template <TTriangleMode Mode>
class TKarvelGraphStat final : public TValueKind<TKarvelGraphStat<Mode>, TCustomGraphStat> {
public:
    using TValueKind<TKarvelGraphStat<Mode>, TCustomGraphStat>::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    // Sums of two differences exceed 255 for bytes beyond the field, so the value is not
    // guaranteed to fit the 256-entry tables.
    static constexpr bool SmallKeys = false;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        emit(triangle(n, Mode).Value);
    }
};

// KRL3: only the last draw of the window counts. Its characteristic number and the numbers
// derived from it are proposals for the next draw; Count says whether that draw had them.
class TstKarvel3 final : public TCustomStat {
public:
    using TCustomStat::TCustomStat;

    std::string ValueToText(const TStatDrawItem& value) const override
    {
        std::string s = std::to_string(value.Key[0]);
        if (value.Key[3] == 2) {
            s += " (";
            s += std::to_string(value.Key[1]);
            s += ')';
        }
        return s;
    }

    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        if (CurDraw.DrawNo != RefDraw.DrawNo) return;

        TComb next{};
        const bool hasNext = lastIndex + 1 >= 0 && lastIndex + 1 < static_cast<int>(Draws().size());
        if (hasNext) next = Draws()[static_cast<std::size_t>(lastIndex + 1)].Nums;
        auto drawnNext = [&](int n) { return hasNext && game::InComb(n, next) ? 1 : 0; };

        const TTriangle t = triangle(CurDraw.Nums, TTriangleMode::Marked);
        Cur.Key = {int16_t(t.Value), int16_t(t.Pair ? 1 : 0), 0, int16_t(t.Pair ? 2 : 0)};
        Cur.Count = drawnNext(t.Value);
        AddCur(values, false);

        // Multiples of f counted down from f*f (or f*f*f while f*f is below the field's end),
        // those that are lottery numbers.
        const int f = t.Value;
        int g = f * f >= game::MaxNumber ? f * f : f * f * f;
        Cur.Key = {};
        while (g > f) {
            if (g >= game::MinNumber && g <= game::MaxNumber) {
                Cur.Key[0] = int16_t(g);
                Cur.Count = drawnNext(g);
                AddCur(values, false);
            }
            g -= f;
        }
    }

    bool CombMatches(const TComb& comb, const TStatDrawArray& marked, int, bool, bool) override
    {
        for (uint8_t x : comb)
            if (marked.HasKey(1, x)) return true;
        return false;
    }

    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int, bool, bool,
                    std::vector<uint8_t>& result) override
    {
        game::TByteTable hit{};
        for (std::size_t x = 0; x < hit.size(); ++x) hit[x] = marked.HasKey(1, static_cast<int>(x)) ? 1 : 0;
        MatchByByte(combs, result, hit);
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

// The three codes come from one template filled once with the kind's number; the descriptors
// point into this store for the whole run.
const char* formattedCode(int number)
{
    static std::deque<std::string> store;
    return store.emplace_back(util::Format("KRL%d", {number})).c_str();
}

const std::vector<TStatKind>& karvelKinds()
{
    static const std::vector<TStatKind> kinds = {
        TStatKind({.Position = 140, .ClassName = "TstKarvel1", .Code = formattedCode(1),
                   .Caption = "Число Карвела 1 (только разность)", .Group = GroupKarvel, .Flags = FlagS | FlagN,
                   .Graph = true, .Create = factory<TKarvelGraphStat<TTriangleMode::Plain>>()}),
        TStatKind({.Position = 141, .ClassName = "TstKarvel2", .Code = formattedCode(2),
                   .Caption = "Число Карвела 2 (разность + сложение, если {0,1})", .Group = GroupKarvel,
                   .Flags = FlagS | FlagN, .Graph = true,
                   .Create = factory<TKarvelGraphStat<TTriangleMode::SumSmall>>()}),
        TStatKind({.Position = 142, .ClassName = "TstKarvel3", .Code = formattedCode(3),
                   .Caption = "Числа Карвела 3 (динамический, только фильтр)", .Group = GroupKarvel,
                   .Flags = FlagS | FlagD, .NumericValue = false, .Create = factory<TstKarvel3>()}),
    };
    return kinds;
}

} // namespace

void AddKarvelKinds(std::vector<const TStatKind*>& kinds)
{
    for (const TStatKind& k : karvelKinds()) kinds.push_back(&k);
}

} // namespace kv::stats::kinds

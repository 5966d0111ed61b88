// The sum kinds of group 1: the sum of the 8 numbers, of the even and of the prime-class numbers,
// three central sum ranges, what followed a draw whose sum was like the latest draw's, and how
// often a number of the draw is the sum of two others.
#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/game/bits.h"
#include "core/game/numbers.h"
#include "core/game/widevectors.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/kinds/valuekind.h"
#include "core/util/format.h"
#include "core/util/translate.h"

namespace kv::stats::kinds {

namespace {

using game::TComb;

// Every value of this family, for any 8 bytes, lies in 0..ValueLimit - 1 (a sum is at most
// 8 x 255), so the batch passes count and look values up in flat tables.
constexpr int ValueLimit = 2048;

// The bytes are added as one word, in pairs and then by a multiply: a filter pass adds up every
// combination of its list, and eight dependent additions were most of its time.
constexpr int sumOf(const TComb& n)
{
    constexpr uint64_t evenBytes = 0x00FF00FF00FF00FFull;
    const uint64_t w = std::bit_cast<uint64_t>(n);
    const uint64_t pairs = (w & evenBytes) + ((w >> 8) & evenBytes);   // four sums of two, each < 512
    return int((pairs * 0x0001000100010001ull) >> 48);
}
static_assert(sumOf(TComb{1, 2, 3, 4, 5, 6, 7, 8}) == 36 && sumOf(TComb{255, 255, 255, 255, 255, 255, 255, 255}) == 2040);

template <class Pred>
int classSum(const TComb& n, Pred pred)
{
    int s = 0;
    for (uint8_t x : n)
        if (pred(x)) s += x;
    return s;
}

// The sum of the draw at index as stored, whatever SortedDraws says (the order cannot change a
// sum); 0 outside the archive, so the archive's first draw follows a zero sum.
int storedSum(const game::TDrawsArray* draws, int index)
{
    if (!draws || index < 0 || index >= static_cast<int>(draws->size())) return 0;
    return sumOf((*draws)[static_cast<std::size_t>(index)].Nums);
}

int sign(int v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }

void setHighWord(TStatDrawItem& item, int32_t v)
{
    item.Key[2] = int16_t(uint16_t(uint32_t(v) & 0xFFFF));
    item.Key[3] = int16_t(uint16_t(uint32_t(v) >> 16));
}

int32_t highWord(const TStatDrawItem& item)
{
    return int32_t(uint32_t(uint16_t(item.Key[2])) | (uint32_t(uint16_t(item.Key[3])) << 16));
}

// The filter pass for a test that depends on one table value of the combination (its sum, a
// count): each value's answer is asked of the marked set once, on first sight.
template <class ValueFn, class Pred>
void matchByValue(std::span<const TComb> combs, std::vector<uint8_t>& result, ValueFn&& valueOf, Pred&& pred)
{
    std::array<uint8_t, ValueLimit> known{};   // 0 not asked yet, 1 no, 2 yes
    result.resize(combs.size());
    // A plain pointer: a store of a byte may alias anything, so the vector's would be reloaded.
    uint8_t* const out = result.data();
    for (std::size_t i = 0; i < combs.size(); ++i) {
        const int v = valueOf(combs[i]);
        uint8_t& k = known[std::size_t(v)];
        if (k == 0) k = pred(v) ? 2 : 1;
        out[i] = k == 2 ? 1 : 0;
    }
}

// The body of the kinds with exactly one value per draw or combination, an int32 in Key[0..1]
// of 0..ValueLimit - 1 that depends on the 8 numbers alone. The kind supplies
//     int Value(const TComb&) const;
//     bool IsMarked(const TStatDrawArray& marked, int value) const;   // the CombMatches rule
// and gets every operation of a draw, a combination, a filter and a chart from the same value.
template <class Derived, class Base>
class TOneValueKind : public Base {
public:
    using Base::Base;

    void CalcComb(const TComb& comb, TStatDrawArray& values) override
    {
        Base::CalcComb(comb, values);
        this->Cur.SetLongKey(self().Value(comb));
        this->AddCur(values, false);
    }

    void CalcCombs(std::span<const TComb> combs, TStatDrawArray& values) override
    {
        // Counted per value and handed over in order of first appearance: the same array as
        // one CalcComb per combination.
        std::array<int32_t, ValueLimit> counts{};
        std::array<uint16_t, ValueLimit> order{};
        int seen = 0;
        std::array<uint32_t, ValueLimit> first;
        first.fill(NotSeen);
        // Counted at once, with the first combination of each value; or one at a time.
        if (countWide(combs, counts, first)) seen = OrderByFirst(counts, first, order);
        if (seen == 0) {
            counts.fill(0);
            for (const TComb& c : combs) {
                const int v = self().Value(c);
                if (counts[std::size_t(v)]++ == 0) order[std::size_t(seen++)] = uint16_t(v);
            }
        }
        for (int i = 0; i < seen; ++i) {
            this->Cur = TStatDrawItem{};
            this->Cur.SetLongKey(order[std::size_t(i)]);
            this->Cur.Count = counts[order[std::size_t(i)]];
            this->AddCur(values, false);
        }
        this->Cur = TStatDrawItem{};
        this->Cur.Count = 1;
    }

    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        Base::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        this->Cur.SetLongKey(self().Value(this->CurDraw.Nums));
        this->AddCur(values, true);
    }

    bool CombMatches(const TComb& comb, const TStatDrawArray& marked, int, bool, bool) override
    {
        return self().IsMarked(marked, self().Value(comb));
    }

    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int, bool, bool,
                    std::vector<uint8_t>& result) override
    {
        matchByValue(
            combs, result, [this](const TComb& c) { return self().Value(c); },
            [&](int v) { return self().IsMarked(marked, v); });
    }

    int32_t GetGraphValue(const TComb& numbers, int, int, bool) override { return self().Value(numbers); }

protected:
    // ListValues for the closed range first..last.
    void listRange(int lastIndex, TStatDrawArray& values, int first, int last)
    {
        TCustomStat::ListValues(lastIndex, values);
        for (int v = first; v <= last; ++v) {
            this->Cur.SetLongKey(v);
            this->AddCur(values, false);
        }
    }

private:
    const Derived& self() const { return static_cast<const Derived&>(*this); }

    // A kind whose values a wide form counts over a whole list declares
    //     bool CountWide(std::span<const TComb>, std::array<int32_t, ValueLimit>& counts,
    //                    std::array<uint32_t, ValueLimit>& first) const;
    // setting first[v] to the index of the first combination of value v.
    bool countWide(std::span<const TComb> combs, std::array<int32_t, ValueLimit>& counts,
                   std::array<uint32_t, ValueLimit>& first) const
    {
        if constexpr (requires { self().CountWide(combs, counts, first); })
            return self().CountWide(combs, counts, first);
        return false;
    }
};

// A sum marked in the table is the pair (sum, 0) of 32-bit words.
bool sumMarked(const TStatDrawArray& marked, int s) { return marked.HasKeyPair(s, 0); }

// --- kinds ------------------------------------------------------------------------------------

class TstSumValues final : public TOneValueKind<TstSumValues, TCustomGraphStat> {
public:
    using TOneValueKind::TOneValueKind;
    int Value(const TComb& n) const { return sumOf(n); }
    bool IsMarked(const TStatDrawArray& marked, int v) const { return sumMarked(marked, v); }
    bool CountWide(std::span<const TComb> combs, std::array<int32_t, ValueLimit>& counts,
                   std::array<uint32_t, ValueLimit>& first) const
    {
        std::array<int32_t, game::ByteTotals> totals{};
        std::array<uint32_t, game::ByteTotals> firstTotals;
        firstTotals.fill(NotSeen);
        if (!game::CountByteTotals(combs, totals, firstTotals)) return false;
        std::copy(totals.begin(), totals.end(), counts.begin());
        std::copy(firstTotals.begin(), firstTotals.end(), first.begin());
        return true;
    }
    // Every sum of the game is below 256: those are answered first, and the wide forms look
    // eight combinations up at a time; a larger sum (stray bytes) is asked on its own.
    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int lastIndex, bool sorted,
                    bool exclude, std::vector<uint8_t>& result) override
    {
        game::TByteTable bySum{};
        for (std::size_t v = 0; v < bySum.size(); ++v) bySum[v] = sumMarked(marked, int(v)) ? 1 : 0;
        result.resize(combs.size());
        const std::ptrdiff_t unknown = game::MatchByteTotal(combs, bySum, result.data());
        if (unknown < 0) return TOneValueKind::MatchBatch(combs, marked, lastIndex, sorted, exclude, result);
        for (std::size_t i = 0; unknown > 0 && i < combs.size(); ++i)
            if (result[i] == game::UnknownTotal) result[i] = sumMarked(marked, sumOf(combs[i])) ? 1 : 0;
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        listRange(lastIndex, values, game::MinSum, game::MaxSum);
    }
};

struct TSumRange {
    int First;
    int Last;
    int Numerator;     // the share of the draws the range is meant to hold, for the caption
    int Denominator;
};
constexpr std::array<TSumRange, 3> SumRanges = {{{65, 103, 1, 3}, {69, 99, 1, 2}, {72, 96, 2, 3}}};
constexpr const char* SumRangesCaption = "Сумма тиража: диапазон %d (%d/%d)";

// An unregistered parameter has an empty range: every sum is "Остальные".
TSumRange sumRange(int32_t param)
{
    if (param < 1 || param > static_cast<int32_t>(SumRanges.size())) return {1, 0, 0, 0};
    return SumRanges[std::size_t(param - 1)];
}

std::string sumRangesCaption(int32_t param)
{
    const TSumRange r = sumRange(param);
    return util::Format(util::TrText(SumRangesCaption), {param, r.Numerator, r.Denominator});
}

// 1 when the sum lies in the range of the parameter, 0 ("Остальные") when not.
class TstSumRanges final : public TOneValueKind<TstSumRanges, TCustomGraphStat> {
public:
    TstSumRanges(const TStatKind& kind, const TStatEnv& env, int32_t param)
        : TOneValueKind(kind, env, param), m_range(sumRange(param))
    {
    }
    int Value(const TComb& n) const
    {
        const int s = sumOf(n);
        return s >= m_range.First && s <= m_range.Last ? 1 : 0;
    }
    // Marking the range keeps the sums inside it; anything else (the rest alone, or nothing)
    // keeps the sums outside.
    bool IsMarked(const TStatDrawArray& marked, int v) const { return (v == 1) == marked.HasLongKey(1, 1); }
    void ListValues(int lastIndex, TStatDrawArray& values) override { listRange(lastIndex, values, 0, 1); }
    std::string ValueToText(const TStatDrawItem& value) const override
    {
        if (value.LongKey() == 1) return util::Format("%d-%d", {m_range.First, m_range.Last});
        return "Остальные";
    }

private:
    TSumRange m_range;
};

class TstSumEvenValues final : public TOneValueKind<TstSumEvenValues, TCustomGraphStat> {
public:
    using TOneValueKind::TOneValueKind;
    int Value(const TComb& n) const
    {
        return classSum(n, [](int x) { return game::IsEven(x); });
    }
    bool IsMarked(const TStatDrawArray& marked, int v) const { return sumMarked(marked, v); }
};

class TstSumPrimeValues final : public TOneValueKind<TstSumPrimeValues, TCustomGraphStat> {
public:
    using TOneValueKind::TOneValueKind;
    int Value(const TComb& n) const
    {
        return classSum(n, [](int x) { return game::IsPrime(x); });
    }
    bool IsMarked(const TStatDrawArray& marked, int v) const { return sumMarked(marked, v); }
};

// The ways a number of the combination is the sum of two others: position i with positions
// j < k, i apart from both, and n(j) + n(k) = n(i).
int sumTriples(const TComb& n)
{
    // Eight distinct numbers of 1..31 (every real draw and ticket) as a bit set: a pair a < b
    // counts when bit a + b is set, i.e. for each a, the set above a shifted by a, within the set.
    // Positive numbers cannot be the sum of a pair they belong to.
    uint64_t set = 0;
    bool small = true;
    for (uint8_t x : n) {
        small = small && x >= 1 && x <= 31;
        set |= uint64_t(1) << (x & 63);
    }
    if (small && game::BitCount(set) == game::NumsPerDraw) {
        int k = 0;
        for (uint8_t x : n) k += game::BitCount(((set & ~((uint64_t(2) << x) - 1)) << x) & set);
        return k;
    }
    // Anything else (repeats, zeros): how many positions hold each value; a pair's sum counts every position holding it except
    // the pair's own (which can hold it only next to a 0).
    std::array<uint8_t, 2 * 256> held{};
    for (uint8_t x : n) ++held[x];
    int k = 0;
    for (int j = 0; j < game::NumsPerDraw - 1; ++j)
        for (int l = j + 1; l < game::NumsPerDraw; ++l) {
            const int s = n[std::size_t(j)] + n[std::size_t(l)];
            if (held[std::size_t(s)] != 0)
                k += held[std::size_t(s)] - (n[std::size_t(j)] == s ? 1 : 0) - (n[std::size_t(l)] == s ? 1 : 0);
        }
    return k;
}

class TstSum2To3 final : public TOneValueKind<TstSum2To3, TCustomGraphStat> {
public:
    using TOneValueKind::TOneValueKind;
    int Value(const TComb& n) const { return sumTriples(n); }
    bool IsMarked(const TStatDrawArray& marked, int v) const { return marked.HasKey(1, v); }
};

// The kinds that look at what followed a draw P whose sum was like the sum of the reference
// draw R (the latest draw of the window). A candidate combination is judged as the draw that
// would follow R.
class TSumFollowStat : public TCustomGraphStat {
public:
    using TCustomGraphStat::TCustomGraphStat;

protected:
    // The sum of the draw before index, as stored.
    int prevSum(int index) const { return storedSum(Env().Draws, index - 1); }
};

// Which sum followed a draw whose sum equalled the latest draw's: (sum of P, sum of the draw).
class TstSumChange final : public TSumFollowStat {
public:
    using TSumFollowStat::TSumFollowStat;
    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        const int p = prevSum(index);
        if (p != sumOf(RefDraw.Nums)) return;
        Cur.SetLongKey(p);
        setHighWord(Cur, sumOf(CurDraw.Nums));
        AddCur(values, true);
    }
    // The front half is always the reference sum, so only the sum that followed is compared.
    bool CombMatches(const TComb& comb, const TStatDrawArray& marked, int, bool, bool) override
    {
        return marked.HasLongKey(2, sumOf(comb));
    }
    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int, bool, bool,
                    std::vector<uint8_t>& result) override
    {
        matchByValue(combs, result, sumOf, [&](int s) { return marked.HasLongKey(2, s); });
    }
    int32_t GetGraphValue(const TComb& numbers, int index, int, bool) override
    {
        return sumOf(numbers) - prevSum(index);
    }
    std::string ValueToText(const TStatDrawItem& value) const override
    {
        const int32_t p = value.LongKey();
        const int32_t s = highWord(value);
        if (p <= s) return util::Format("+%0:.2d : %1:d + %0:d = %2:d", {s - p, p, s});
        return util::Format("- %0:.2d : %1:d - %0:d = %2:d", {p - s, p, s});
    }
};

// Which change of the sum followed a draw whose sum was within SumTolerance of the latest's.
class TstSumChangeSome final : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        const int p = storedSum(Env().Draws, index - 1);
        const int r = sumOf(RefDraw.Nums);
        if (r < p - game::SumTolerance || r > p + game::SumTolerance) return;
        Cur.SetLongKey(sumOf(CurDraw.Nums) - p);
        AddCur(values, true);
    }
    bool CombMatches(const TComb& comb, const TStatDrawArray& marked, int lastIndex, bool sorted, bool) override
    {
        LoadDraws(lastIndex, lastIndex, sorted);
        return marked.HasLongKey(1, sumOf(comb) - sumOf(RefDraw.Nums));
    }
    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int lastIndex, bool sorted, bool,
                    std::vector<uint8_t>& result) override
    {
        LoadDraws(lastIndex, lastIndex, sorted);
        const int r = sumOf(RefDraw.Nums);
        matchByValue(combs, result, sumOf, [&](int s) { return marked.HasLongKey(1, s - r); });
    }
    std::string ValueToText(const TStatDrawItem& value) const override
    {
        const int32_t c = value.LongKey();
        if (c < 0) return util::Format("- %0:.2d", {-c});
        return util::Format("+%0:.2d", {c});
    }
};

// Which direction the sum took after a draw whose sum equalled the latest draw's.
class TstSumTrend final : public TSumFollowStat {
public:
    using TSumFollowStat::TSumFollowStat;
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        TCustomStat::ListValues(lastIndex, values);
        for (int v : {0, 1, -1}) {
            Cur.SetLongKey(v);
            AddCur(values, false);
        }
    }
    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        const int p = prevSum(index);
        if (p != sumOf(RefDraw.Nums)) return;
        Cur.SetLongKey(sign(sumOf(CurDraw.Nums) - p));
        AddCur(values, true);
    }
    bool CombMatches(const TComb& comb, const TStatDrawArray& marked, int lastIndex, bool sorted, bool) override
    {
        LoadDraws(lastIndex, lastIndex, sorted);
        return marked.HasLongKey(1, sign(sumOf(comb) - sumOf(RefDraw.Nums)));
    }
    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int lastIndex, bool sorted, bool,
                    std::vector<uint8_t>& result) override
    {
        LoadDraws(lastIndex, lastIndex, sorted);
        const int r = sumOf(RefDraw.Nums);
        matchByValue(combs, result, sumOf, [&](int s) { return marked.HasLongKey(1, sign(s - r)); });
    }
    int32_t GetGraphValue(const TComb& numbers, int index, int, bool) override
    {
        return sign(sumOf(numbers) - prevSum(index));
    }
    std::string ValueToText(const TStatDrawItem& value) const override
    {
        const int32_t t = value.LongKey();
        return t == 0 ? "=" : t > 0 ? "+" : "-";
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

const std::vector<TStatKind>& sumKinds()
{
    static const std::vector<TStatKind> kinds = {
        TStatKind({.Position = 9, .ClassName = "TstSumValues", .Code = "SUMS", .Caption = "Сумма тиража: все значения",
                   .Group = GroupSums, .Flags = FlagN, .Graph = true, .Create = factory<TstSumValues>()}),
        TStatKind({.Position = 10, .ClassName = "TstSumRanges", .Code = "SUM%d", .Caption = SumRangesCaption,
                   .Group = GroupSums, .Flags = FlagN, .Graph = true, .NumericValue = false, .HasParam = true,
                   .ParamRange = [](const TConfigData&) { return std::pair<int, int>(1, int(SumRanges.size())); },
                   .Create = factory<TstSumRanges>(), .CaptionFormat = sumRangesCaption}),
        TStatKind({.Position = 11, .ClassName = "TstSumChange", .Code = "SUMC",
                   .Caption = "Сумма тиража: изменения (точно)", .Group = GroupSums, .Flags = FlagD, .Graph = true,
                   .NumericValue = false, .Create = factory<TstSumChange>()}),
        TStatKind({.Position = 12, .ClassName = "TstSumChangeSome", .Code = "SUMV",
                   .Caption = "Сумма тиража: изменения (диапазон)", .Group = GroupSums, .Flags = FlagD,
                   .NumericValue = false, .Create = factory<TstSumChangeSome>()}),
        TStatKind({.Position = 13, .ClassName = "TstSumTrend", .Code = "SUMT",
                   .Caption = "Сумма тиража: направление изменения", .Group = GroupSums, .Flags = FlagD, .Graph = true,
                   .NumericValue = false, .Create = factory<TstSumTrend>()}),
        TStatKind({.Position = 14, .ClassName = "TstSumEvenValues", .Code = "SUME",
                   .Caption = "Сумма тиража: только четные", .Group = GroupSums, .Flags = FlagN, .Graph = true,
                   .Create = factory<TstSumEvenValues>()}),
        TStatKind({.Position = 15, .ClassName = "TstSumPrimeValues", .Code = "SUMP",
                   .Caption = "Сумма тиража: только простые", .Group = GroupSums, .Flags = FlagN, .Graph = true,
                   .Create = factory<TstSumPrimeValues>()}),
        TStatKind({.Position = 16, .ClassName = "TstSum2To3", .Code = "S2T3",
                   .Caption = "Сумма двух чисел тиража равна третьему числу", .Group = GroupSums, .Flags = FlagN,
                   .Graph = true, .Create = factory<TstSum2To3>()}),
    };
    return kinds;
}

} // namespace

void AddSumKinds(std::vector<const TStatKind*>& kinds)
{
    for (const TStatKind& k : sumKinds()) kinds.push_back(&k);
}

} // namespace kv::stats::kinds

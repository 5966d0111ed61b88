// The number kinds of group 0: the numbers themselves, their digits, the even / small / prime
// classes as counts and as masks by position, the number at a position and the extra number.
#include <array>
#include <cstring>
#include <memory>

#include "core/game/numbers.h"
#include "core/game/widevectors.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/kinds/valuekind.h"

namespace kv::stats::kinds {

namespace {

using game::TComb;

// Class membership of every byte a combination can hold, so that the hot passes read a table
// instead of branching. Bytes outside 1..20 get the same answer as the game's own predicates.
template <class Pred>
constexpr std::array<uint8_t, 256> classTable(Pred pred)
{
    std::array<uint8_t, 256> t{};
    for (int n = 0; n < 256; ++n) t[std::size_t(n)] = pred(n) ? 1 : 0;
    return t;
}
constexpr auto OddTable = classTable([](int n) { return !game::IsEven(n); });
constexpr auto EvenTable = classTable([](int n) { return game::IsEven(n); });
constexpr auto SmallTable = classTable([](int n) { return game::IsSmall(n); });
constexpr auto LargeTable = classTable([](int n) { return game::IsLarge(n); });
constexpr auto PrimeTable = classTable([](int n) { return game::IsPrime(n); });

int classCount(const TComb& n, const std::array<uint8_t, 256>& t)
{
    return t[n[0]] + t[n[1]] + t[n[2]] + t[n[3]] + t[n[4]] + t[n[5]] + t[n[6]] + t[n[7]];
}

// Evenness is the low bit of every byte: the 8 low bits of the combination read as one word are
// summed by one multiplication into the top byte, instead of 8 table reads.
constexpr bool evenIsLowBit()
{
    for (int n = 0; n < 256; ++n)
        if (EvenTable[std::size_t(n)] != ((n & 1) == 0 ? 1 : 0)) return false;
    return true;
}
static_assert(evenIsLowBit());

int evenCount(const TComb& n)
{
    constexpr uint64_t LowBits = 0x0101010101010101ull;
    uint64_t word = 0;
    std::memcpy(&word, n.data(), sizeof word);
    return game::NumsPerDraw - int(((word & LowBits) * LowBits) >> 56);
}

// The first number is the highest bit, so the first letter of the text belongs to it.
int classMask(const TComb& n, const std::array<uint8_t, 256>& t)
{
    return (t[n[0]] << 7) | (t[n[1]] << 6) | (t[n[2]] << 5) | (t[n[3]] << 4) | (t[n[4]] << 3)
         | (t[n[5]] << 2) | (t[n[6]] << 1) | t[n[7]];
}

// Decimal digits of every byte, most significant first.
struct TDigits {
    uint8_t Count = 0;
    std::array<uint8_t, 3> D{};
};
constexpr std::array<TDigits, 256> DigitTable = [] {
    std::array<TDigits, 256> t{};
    for (int n = 0; n < 256; ++n) {
        TDigits& d = t[std::size_t(n)];
        if (n >= 100) d.D[d.Count++] = uint8_t(n / 100);
        if (n >= 10) d.D[d.Count++] = uint8_t(n / 10 % 10);
        d.D[d.Count++] = uint8_t(n % 10);
    }
    return t;
}();

// --- kinds ------------------------------------------------------------------------------------

class TstValues final : public TValueKind<TstValues, TCustomValuesStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Value;
    static constexpr bool SmallKeys = true;
    static constexpr bool ByteValues = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        for (uint8_t x : n) emit(x);
    }
    bool CountWide(std::span<const TComb> combs, game::TByteCounts& counts, std::array<uint32_t, 256>&) const
    {
        return game::CountBytes(combs, false, counts);
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        listRange(lastIndex, values, game::MinNumber, game::MaxNumber);
    }
};

class TstDigits final : public TValueKind<TstDigits, TCustomNumbersStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Value;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        for (uint8_t x : n) {
            const TDigits& d = DigitTable[x];
            for (int i = 0; i < d.Count; ++i) emit(d.D[std::size_t(i)]);
        }
    }
};

// A count of a class among the 8 numbers, shown "k:8-k". A count of 0 is not listed: it shows
// in the table only when a draw of the window had it.
template <const std::array<uint8_t, 256>& Table>
class TClassCountStat final : public TValueKind<TClassCountStat<Table>, TCustomRatioStat> {
public:
    using TValueKind<TClassCountStat<Table>, TCustomRatioStat>::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        if constexpr (&Table == &EvenTable) emit(evenCount(n));
        else emit(classCount(n, Table));
    }
    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int lastIndex, bool sorted,
                    bool exclude, std::vector<uint8_t>& result) override
    {
        game::TCountAnswers byCount{};
        for (int k = 0; k <= game::NumsPerDraw; ++k) byCount[std::size_t(k)] = this->lookup(marked, k, 0, 0, 0) ? 1 : 0;
        result.resize(combs.size());
        if (game::MatchByteSum(combs, Table, byCount, result.data())) return;
        using Base = TValueKind<TClassCountStat<Table>, TCustomRatioStat>;
        Base::MatchBatch(combs, marked, lastIndex, sorted, exclude, result);
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        this->listRange(lastIndex, values, 1, game::NumsPerDraw);
    }
};
using TstEvenCount = TClassCountStat<EvenTable>;
using TstSmallCount = TClassCountStat<SmallTable>;
using TstPrimeCount = TClassCountStat<PrimeTable>;

// A mask of a class by position; Letters gives the letter of a 0 bit and of a 1 bit.
struct TMaskLetters {
    const char* Zero;
    const char* One;
    bool Listed;   // the base lists all 256 masks; a kind may list none
};

template <const std::array<uint8_t, 256>& Table, const TMaskLetters& Letters>
class TClassMaskStat final : public TValueKind<TClassMaskStat<Table, Letters>, TCustomMaskStat> {
public:
    using TValueKind<TClassMaskStat<Table, Letters>, TCustomMaskStat>::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::LongKey1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        emit(classMask(n, Table));
    }
    bool CountWide(std::span<const TComb> combs, game::TByteCounts& counts, std::array<uint32_t, 256>& first) const
    {
        return game::CountClassMasks(combs, Table, counts, first);
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        if (Letters.Listed)
            TCustomMaskStat::ListValues(lastIndex, values);
        else
            TCustomStat::ListValues(lastIndex, values);
    }
    std::string_view GetZeroLetter() const override { return Letters.Zero; }
    std::string_view GetOneLetter() const override { return Letters.One; }
};
constexpr TMaskLetters EvenLetters{"Ч", "н", true};    // a set bit is an odd number
constexpr TMaskLetters SmallLetters{"1", "2", false};  // a set bit is a number of 11..20
constexpr TMaskLetters PrimeLetters{"С", "П", true};   // a set bit is of the prime class
using TstEvenValues = TClassMaskStat<OddTable, EvenLetters>;
using TstSmallValues = TClassMaskStat<LargeTable, SmallLetters>;
using TstPrimeValues = TClassMaskStat<PrimeTable, PrimeLetters>;

class TstPosVal final : public TValueKind<TstPosVal, TCustomGraphStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        if (Param() >= 1 && Param() <= game::NumsPerDraw) emit(n[std::size_t(Param() - 1)]);
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        listRange(lastIndex, values, game::MinNumber, game::MaxNumber);
    }
};

// The extra number exists only in draws: a combination has no value, so no filter can use it.
class TstPosExt final : public TCustomGraphStat {
public:
    using TCustomGraphStat::TCustomGraphStat;
    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        Cur.Key[0] = CurDraw.Extra;
        AddCur(values, true);
    }
    bool CombMatches(const TComb&, const TStatDrawArray&, int, bool, bool) override { return false; }
    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray&, int, bool, bool,
                    std::vector<uint8_t>& result) override
    {
        result.assign(combs.size(), 0);
    }
    void CalcCombs(std::span<const TComb>, TStatDrawArray&) override
    {
        Cur = TStatDrawItem{};
        Cur.Count = 1;
    }
    int32_t GetGraphValue(const TComb&, int index, int lastIndex, bool sorted) override
    {
        LoadDraws(index, lastIndex, sorted);
        return CurDraw.Extra;
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

TStatKind::RangeFn fixedRange(int first, int last)
{
    return [first, last](const TConfigData&) { return std::pair<int, int>(first, last); };
}

const std::vector<TStatKind>& numberKinds()
{
    static const std::vector<TStatKind> kinds = {
        TStatKind({.Position = 1, .ClassName = "TstValues", .Code = "NUMS", .Caption = "Числа тиража",
                   .Group = GroupNumbers, .Flags = FlagN, .Create = factory<TstValues>()}),
        TStatKind({.Position = 2, .ClassName = "TstDigits", .Code = "DIGS", .Caption = "Цифры тиража",
                   .Group = GroupNumbers, .Flags = FlagN, .Create = factory<TstDigits>()}),
        TStatKind({.Position = 3, .ClassName = "TstEvenCount", .Code = "EVEN",
                   .Caption = "Количество четных чисел в тираже (Ч:Н)", .Group = GroupNumbers, .Flags = FlagN,
                   .Graph = true, .Create = factory<TstEvenCount>()}),
        TStatKind({.Position = 4, .ClassName = "TstEvenValues", .Code = "EVNV",
                   .Caption = "Четные и нечетные числа в тираже (Чн..нЧ)", .Group = GroupNumbers, .Flags = FlagS | FlagN,
                   .Create = factory<TstEvenValues>()}),
        TStatKind({.Position = 5, .ClassName = "TstSmallCount", .Code = "SMAL",
                   .Caption = "Количество чисел из первой половины диапазона (1П:2П)", .Group = GroupNumbers,
                   .Flags = FlagN, .Graph = true, .Create = factory<TstSmallCount>()}),
        TStatKind({.Position = 6, .ClassName = "TstSmallValues", .Code = "SMLV",
                   .Caption = "Числа из первой половины диапазона (12..12)", .Group = GroupNumbers,
                   .Flags = FlagS | FlagN, .Create = factory<TstSmallValues>()}),
        TStatKind({.Position = 7, .ClassName = "TstPrimeCount", .Code = "PRIM",
                   .Caption = "Количество простых чисел (П:С)", .Group = GroupNumbers, .Flags = FlagN, .Graph = true,
                   .Create = factory<TstPrimeCount>()}),
        TStatKind({.Position = 8, .ClassName = "TstPrimeValues", .Code = "PRMV",
                   .Caption = "Простые и составные числа (ПС..СП)", .Group = GroupNumbers, .Flags = FlagS | FlagN,
                   .Create = factory<TstPrimeValues>()}),
        TStatKind({.Position = 102, .ClassName = "TstPosVal", .Code = "POS%d",
                   .Caption = "Число в %0:d позиции тиража", .HelpCode = "POSx", .Group = GroupNumbers,
                   .Flags = FlagS | FlagN, .Graph = true, .HasParam = true, .ParamRange = fixedRange(1, 8),
                   .Create = factory<TstPosVal>()}),
        TStatKind({.Position = 103, .ClassName = "TstPosExt", .Code = "POE%d",
                   .Caption = "Extra (Bonus, Star...) - число (!без фильтра!)", .HelpCode = "POSx", .Group = GroupNumbers,
                   .Flags = 0, .Graph = true, .HasParam = true, .ParamRange = fixedRange(1, 1),
                   .Create = factory<TstPosExt>()}),
    };
    return kinds;
}

} // namespace

void AddNumberKinds(std::vector<const TStatKind*>& kinds)
{
    for (const TStatKind& k : numberKinds()) kinds.push_back(&k);
}

} // namespace kv::stats::kinds

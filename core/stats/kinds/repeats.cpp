// The repeat kinds of group 7: numbers of one draw that come back in a later draw, as the
// numbers themselves or as their count; consecutive draws, draws with a gap of one to three
// draws, three draws in a row, or shifted by +1, -1, +2, -2 around the field. Every kind
// compares with the last draw of the window (flag D): a candidate combination is judged as the
// draw that would follow it, and nothing has a full-set distribution.
#include <array>
#include <bit>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/game/bits.h"
#include "core/game/numbers.h"
#include "core/game/widevectors.h"
#include "core/stats/kinds/itemmap.h"
#include "core/stats/kinds/kinds.h"
#include "core/util/format.h"

namespace kv::stats::kinds {

namespace {

using game::TComb;

// A set of lottery numbers: bit n for number n (1..20). Bytes outside the field belong to no
// set, so an empty draw (all zeros) has no numbers.
using TNumMask = uint32_t;

// Bit n for each byte n of the field, 0 for any other byte: a table keeps the filter passes,
// which build a mask for every combination, free of branches.
constexpr std::array<TNumMask, 256> NumberBits = [] {
    std::array<TNumMask, 256> bits{};
    for (int n = game::MinNumber; n <= game::MaxNumber; ++n) bits[std::size_t(n)] = TNumMask(1) << n;
    return bits;
}();

TNumMask maskOf(const TComb& nums)
{
    TNumMask m = 0;
    for (uint8_t x : nums) m |= NumberBits[x];
    return m;
}

bool inMask(int x, TNumMask m) { return x >= game::MinNumber && x <= game::MaxNumber && ((m >> x) & 1u) != 0; }

TNumMask shiftMask(TNumMask m, int shift)
{
    if (shift == 0) return m;
    TNumMask r = 0;
    for (int n = game::MinNumber; n <= game::MaxNumber; ++n)
        if ((m >> n) & 1u) r |= TNumMask(1) << game::ShiftNumber(n, shift);
    return r;
}

// How the numbers a draw may repeat are found from the draws before it.
enum class TRepeatRule {
    Earlier,    // the draw `Distance` draws back, shifted by `Shift`
    Three,      // in both of the two draws before (three draws in a row)
    TwoOnly,    // in the draw before but not in the one before that
};

struct TRepeatShape {
    TRepeatRule Rule = TRepeatRule::Earlier;
    int Shift = 0;      // GetShift: added to every earlier number before comparing
    int Distance = 1;   // GetDistance: 1 for consecutive draws, up to 4 for a gap of 3 draws
};

// Behaviour shared by the value and the count kinds: reading earlier draws and finding the
// numbers that a draw at a given archive index repeats.
class TRepeatBase {
protected:
    explicit TRepeatBase(const TRepeatShape& shape) : m_shape(shape) {}

    // The 8 numbers of draw index (ascending when sorted); false outside the archive, where a
    // draw has no numbers: the first draws of the archive have no predecessors to repeat.
    static bool numsAt(const game::TDrawsArray& draws, int index, bool sorted, TComb& nums)
    {
        if (index < 0 || index >= static_cast<int>(draws.size())) return false;
        nums = draws[static_cast<std::size_t>(index)].Nums;
        if (sorted) game::SortComb(nums);
        return true;
    }

    static TNumMask maskAt(const game::TDrawsArray& draws, int index)
    {
        TComb nums{};
        return numsAt(draws, index, false, nums) ? maskOf(nums) : 0;
    }

    // The numbers that a draw at archive index `index` would repeat, after the shift.
    TNumMask repeatable(const game::TDrawsArray& draws, int index) const
    {
        switch (m_shape.Rule) {
        case TRepeatRule::Earlier: return shiftMask(maskAt(draws, index - m_shape.Distance), m_shape.Shift);
        case TRepeatRule::Three: return maskAt(draws, index - 1) & maskAt(draws, index - 2);
        case TRepeatRule::TwoOnly: return maskAt(draws, index - 1) & ~maskAt(draws, index - 2);
        }
        return 0;
    }

    const TRepeatShape m_shape;
};

// The repeated numbers themselves, limited to those the last draw of the window can repeat
// (its numbers shifted), which are the values listed in advance: the value is the number one
// would play after that draw.
class TRepValuesStat final : public TCustomValuesStat, private TRepeatBase {
public:
    TRepValuesStat(const TStatKind& kind, const TStatEnv& env, int32_t param, const TRepeatShape& shape)
        : TCustomValuesStat(kind, env, param), TRepeatBase(shape)
    {
    }

    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        TCustomStat::ListValues(lastIndex, values);
        TComb last{};
        if (!numsAt(Draws(), lastIndex, false, last)) return;
        for (uint8_t x : last) {
            Cur.Key[0] = int16_t(game::ShiftNumber(x, m_shape.Shift));
            AddCur(values, false);
        }
    }

    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        const TNumMask hits = repeatable(Draws(), index) & shiftMask(maskOf(RefDraw.Nums), m_shape.Shift)
                            & maskOf(CurDraw.Nums);
        if (hits == 0) return;
        // Added in the order of the draw they come from: the earlier draw for a single earlier
        // draw, the evaluated draw when two earlier draws decide.
        TComb order = CurDraw.Nums;
        if (m_shape.Rule == TRepeatRule::Earlier) {
            numsAt(Draws(), index - m_shape.Distance, sorted, order);
            order = game::ShiftComb(order, m_shape.Shift);
        }
        for (uint8_t x : order)
            if (inMask(x, hits)) {
                Cur.Key[0] = int16_t(x);
                AddCur(values, true);
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

// How many numbers of a draw are repeats: one value 0..8 per draw.
class TRepCountStat final : public TCustomNumbersStat, private TRepeatBase {
public:
    TRepCountStat(const TStatKind& kind, const TStatEnv& env, int32_t param, const TRepeatShape& shape)
        : TCustomNumbersStat(kind, env, param), TRepeatBase(shape)
    {
    }

    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        TCustomStat::ListValues(lastIndex, values);
        for (int c = 1; c <= game::NumsPerDraw; ++c) {
            Cur.Key[0] = int16_t(c);
            AddCur(values, false);
        }
    }

    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        Cur.Key[0] = int16_t(game::BitCount(repeatable(Draws(), index) & maskOf(CurDraw.Nums)));
        AddCur(values, true);
    }

    // The candidate stands in the place of the draw after the window.
    bool CombMatches(const TComb& comb, const TStatDrawArray& marked, int lastIndex, bool, bool) override
    {
        return marked.HasKey(1, game::BitCount(repeatable(Draws(), lastIndex + 1) & maskOf(comb)));
    }

    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int lastIndex, bool, bool,
                    std::vector<uint8_t>& result) override
    {
        const TNumMask source = repeatable(Draws(), lastIndex + 1);
        game::TCountAnswers hit{};
        for (int c = 0; c <= game::NumsPerDraw; ++c) hit[std::size_t(c)] = marked.HasKey(1, c) ? 1 : 0;
        result.resize(combs.size());
        uint8_t* const out = result.data();
        game::TByteTable in{};
        for (std::size_t x = 0; x < in.size(); ++x) in[x] = (NumberBits[x] & source) != 0 ? 1 : 0;
        if (game::MatchByteCount(combs, in, hit, out)) return;
        // The bits of a mask (numbers 1..20 fit 21 bits) counted by two reads of a table of
        // 11-bit counts rather than in software: the target has no instruction for it.
        const std::array<uint8_t, 2048>& bits11 = game::BitCounts11;
        for (std::size_t i = 0; i < combs.size(); ++i) {
            const TNumMask m = source & maskOf(combs[i]);
            out[i] = hit[std::size_t(bits11[m & 0x7FFu] + bits11[m >> 11])];
        }
    }
};

// --- descriptors ------------------------------------------------------------------------------

template <class T>
TStatKind::Factory factory(TRepeatShape shape)
{
    return [shape](const TStatKind& kind, const TStatEnv& env, int32_t param) -> std::unique_ptr<TCustomStat> {
        return std::make_unique<T>(kind, env, param, shape);
    };
}

// Codes and captions of the gap and shift kinds come from one template per family, filled once
// with the kind's constant; the descriptors point into this store for the whole run.
const char* formatted(std::string_view templ, util::FormatArg arg)
{
    static std::deque<std::string> store;
    return store.emplace_back(util::Format(templ, {arg})).c_str();
}

constexpr std::string_view ValuesOverCode = "PRV2O%d";
constexpr std::string_view ValuesOverCaption = "Повторяющиеся числа в 2-х тиражах через %d тираж(а)";
constexpr std::string_view CountOverCode = "PRC2O%d";
constexpr std::string_view CountOverCaption = "Количество повторов в 2-х тиражах через %d тираж(а)";
constexpr std::string_view ValuesShiftCode = "PRV%s";
constexpr std::string_view ValuesShiftCaption = "Данные предыдущего тиража %s";
constexpr std::string_view CountShiftCode = "PRC%s";
constexpr std::string_view CountShiftCaption = "Количество совпадений \"значений %s\"";

struct TShiftNames {
    int Shift;
    const char* CodePart;
    const char* CaptionPart;
};
constexpr TShiftNames Shifts[] = {{+1, "+1", "+ 1"}, {-1, "-1", "- 1"}, {+2, "+2", "+ 2"}, {-2, "-2", "- 2"}};

const std::vector<TStatKind>& repeatKinds()
{
    static const std::vector<TStatKind> kinds = [] {
        using R = TRepeatRule;
        std::vector<TStatKind> k;
        k.reserve(20);
        auto add = [&](int position, const char* className, const char* code, const char* caption,
                       TStatKind::Factory create) {
            k.emplace_back(TStatKind::Info{.Position = position, .ClassName = className, .Code = code,
                                           .Caption = caption, .Group = GroupRepeats, .Flags = FlagD,
                                           .Create = std::move(create)});
        };
        add(43, "TstRepValues2", "RPV2", "Повторяющиеся числа в 2-х тиражах подряд",
            factory<TRepValuesStat>({R::Earlier, 0, 1}));
        add(44, "TstRepValues3", "RPV3", "Повторяющиеся числа в 3-х тиражах подряд",
            factory<TRepValuesStat>({R::Three, 0, 1}));
        add(45, "TstRepValues2B3", "PRL2", "Повторяющиеся числа не более чем в 2-х тиражах",
            factory<TRepValuesStat>({R::TwoOnly, 0, 1}));
        const char* valuesOver[] = {"TstRepValues2over1", "TstRepValues2over2", "TstRepValues2over3"};
        for (int gap = 1; gap <= 3; ++gap)
            add(45 + gap, valuesOver[gap - 1], formatted(ValuesOverCode, gap), formatted(ValuesOverCaption, gap),
                factory<TRepValuesStat>({R::Earlier, 0, gap + 1}));
        const char* valuesShift[] = {"TstRepValues2P1", "TstRepValues2N1", "TstRepValues2P2", "TstRepValues2N2"};
        for (int i = 0; i < 4; ++i)
            add(49 + i, valuesShift[i], formatted(ValuesShiftCode, Shifts[i].CodePart),
                formatted(ValuesShiftCaption, Shifts[i].CaptionPart),
                factory<TRepValuesStat>({R::Earlier, Shifts[i].Shift, 1}));

        add(53, "TstRepCount2", "RPC2", "Количество повторов в 2-х тиражах подряд",
            factory<TRepCountStat>({R::Earlier, 0, 1}));
        add(54, "TstRepCount3", "RPC3", "Количество повторов в 3-х тиражах подряд",
            factory<TRepCountStat>({R::Three, 0, 1}));
        add(55, "TstRepCount2B3", "PRB2", "Количество повторов не более чем в 2-х тиражах",
            factory<TRepCountStat>({R::TwoOnly, 0, 1}));
        const char* countOver[] = {"TstRepCount2over1", "TstRepCount2over2", "TstRepCount2over3"};
        for (int gap = 1; gap <= 3; ++gap)
            // The gap-1 kind has kept an older code of its own.
            add(55 + gap, countOver[gap - 1], gap == 1 ? "RPO1" : formatted(CountOverCode, gap),
                formatted(CountOverCaption, gap), factory<TRepCountStat>({R::Earlier, 0, gap + 1}));
        const char* countShift[] = {"TstRepCount2P1", "TstRepCount2N1", "TstRepCount2P2", "TstRepCount2N2"};
        for (int i = 0; i < 4; ++i)
            add(59 + i, countShift[i], formatted(CountShiftCode, Shifts[i].CodePart),
                formatted(CountShiftCaption, Shifts[i].CaptionPart),
                factory<TRepCountStat>({R::Earlier, Shifts[i].Shift, 1}));
        return k;
    }();
    return kinds;
}

} // namespace

void AddRepeatKinds(std::vector<const TStatKind*>& kinds)
{
    for (const TStatKind& k : repeatKinds()) kinds.push_back(&k);
}

} // namespace kv::stats::kinds

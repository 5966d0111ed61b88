// The tuple kinds of group 0: pairs, triples and quadruples of the numbers of one draw taken as
// one value, over all positions, over neighbouring positions, or at one starting position. The
// tuples follow the order of the numbers (flag S), so a draw evaluated in drawn order can show
// tuples that no ascending candidate combination has. They have no full-set distribution.
#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/game/numbers.h"
#include "core/stats/kinds/kinds.h"
#include "core/util/format.h"

namespace kv::stats::kinds {

namespace {

using game::TComb;

// Tuples of lottery numbers in Key[0..Size-1], the other keys 0, shown "3:8:17".
class TCustomCombValuesStat : public TCustomStat {
public:
    TCustomCombValuesStat(const TStatKind& kind, const TStatEnv& env, int32_t param, int size)
        : TCustomStat(kind, env, param), m_size(size)
    {
    }

    std::string ValueToText(const TStatDrawItem& value) const override
    {
        std::string s = std::to_string(value.Key[0]);
        for (int i = 1; i < m_size; ++i) {
            s += ':';
            s += std::to_string(value.Key[std::size_t(i)]);
        }
        return s;
    }

protected:
    const int m_size;
};

// Which positions form the tuples of a draw.
enum class TTupleLayout {
    Mix,   // every choice of Size positions
    Seq,   // every run of Size neighbouring positions
    Pos,   // the one run that starts at the position given by the parameter
};

// Marked tuples whose numbers all lie in 0..20 are indexed in base 21.
constexpr int DenseBase = game::MaxNumber + 1;

template <int Size, TTupleLayout Layout>
class TCombValuesStat final : public TCustomCombValuesStat {
public:
    TCombValuesStat(const TStatKind& kind, const TStatEnv& env, int32_t param)
        : TCustomCombValuesStat(kind, env, param, Size)
    {
    }

    // Nothing is listed in advance, but the table of a long window grows to tens of thousands of
    // tuples: room for as many as the draws up to the window end can show is made at once rather
    // than by repeated doubling of the array and its index.
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        TCustomStat::ListValues(lastIndex, values);
        const int64_t bound = std::min<int64_t>(int64_t(TuplesPerDraw) * std::max(0, lastIndex + 1), DistinctTuples);
        values.Reserve(values.Count() + int(bound));
    }

    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        TCustomStat::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        tuples(CurDraw.Nums, [&](const std::array<uint8_t, 4>& t) {
            Cur.Key = {int16_t(t[0]), int16_t(t[1]), int16_t(t[2]), int16_t(t[3])};
            AddCur(values, true);
            return false;
        });
    }

    bool CombMatches(const TComb& comb, const TStatDrawArray& marked, int, bool, bool) override
    {
        return tuples(comb, [&](const std::array<uint8_t, 4>& t) { return marked.HasValue(t[0], t[1], t[2], t[3]); });
    }

    // The marked tuples of numbers 0..20 go into bit tables once per pass: one per prefix length,
    // so that the choices of positions of a combination are cut off as soon as their first
    // numbers begin no marked tuple, and the 70 quadruples of a combination cost a few bit tests
    // instead of 70 hash lookups. A combination with a number beyond 20 asks the marked values
    // themselves.
    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int, bool, bool,
                    std::vector<uint8_t>& result) override
    {
        m_prefixes.assign(PrefixWords, 0);
        for (const TStatDrawItem& it : marked) {
            bool dense = true;
            for (int i = 0; i < 4; ++i) {
                const uint16_t k = uint16_t(it.Key[std::size_t(i)]);
                dense = dense && (i < Size ? k < DenseBase : k == 0);
            }
            if (!dense) continue;
            int idx = 0;
            for (int level = 0; level < Size; ++level) {
                idx = idx * DenseBase + it.Key[std::size_t(level)];
                setBit(level, idx);
            }
        }
        result.resize(combs.size());
        for (std::size_t i = 0; i < combs.size(); ++i) {
            const TComb& c = combs[i];
            bool small = true;
            for (uint8_t x : c) small = small && x < DenseBase;
            bool hit;
            if (!small)
                hit = tuples(c, [&](const std::array<uint8_t, 4>& t) { return marked.HasValue(t[0], t[1], t[2], t[3]); });
            else if constexpr (Layout == TTupleLayout::Mix)
                hit = mixFrom<0>(c, 0, 0);
            else
                hit = tuples(c, [&](const std::array<uint8_t, 4>& t) {
                    int idx = 0;
                    for (int p = 0; p < Size; ++p) idx = idx * DenseBase + t[std::size_t(p)];
                    return testBit(Size - 1, idx);
                });
            result[i] = hit ? 1 : 0;
        }
    }

private:
    static constexpr int TuplesPerDraw = Layout == TTupleLayout::Mix   ? (Size == 2 ? 28 : Size == 3 ? 56 : 70)
                                       : Layout == TTupleLayout::Seq ? game::NumsPerDraw - Size + 1
                                                                     : 1;
    // Tuples of distinct numbers in any order: 20 * 19 * ... (Size factors).
    static constexpr int DistinctTuples = Size == 2 ? 380 : Size == 3 ? 6840 : 116280;

    // Bits of the prefixes of length 1..Size, in base 21 with the first number highest.
    static constexpr std::array<std::size_t, 5> PrefixOffsets = [] {
        std::array<std::size_t, 5> o{};
        std::size_t n = 1;
        for (int level = 0; level < 4; ++level) {
            n *= DenseBase;
            o[std::size_t(level + 1)] = o[std::size_t(level)] + (n + 63) / 64 * 64;
        }
        return o;
    }();
    static constexpr std::size_t PrefixWords = PrefixOffsets[Size] / 64;

    void setBit(int level, int idx)
    {
        const std::size_t bit = PrefixOffsets[std::size_t(level)] + std::size_t(idx);
        m_prefixes[bit >> 6] |= uint64_t(1) << (bit & 63);
    }
    bool testBit(int level, int idx) const
    {
        const std::size_t bit = PrefixOffsets[std::size_t(level)] + std::size_t(idx);
        return ((m_prefixes[bit >> 6] >> (bit & 63)) & 1u) != 0;
    }

    // The Mix tuples of x from position `start` on, whose first Level numbers give prefix.
    template <int Level>
    bool mixFrom(const TComb& x, int start, int prefix) const
    {
        for (int i = start; i <= 8 - (Size - Level); ++i) {
            const int idx = prefix * DenseBase + x[std::size_t(i)];
            if (!testBit(Level, idx)) continue;
            if constexpr (Level + 1 == Size)
                return true;
            else if (mixFrom<Level + 1>(x, i + 1, idx))
                return true;
        }
        return false;
    }

    // Calls f with every tuple of x in order (first position, then the following ones) until f
    // returns true; the result says whether it did.
    template <class F>
    bool tuples(const TComb& x, F&& f) const
    {
        std::array<uint8_t, 4> t{};
        if constexpr (Layout == TTupleLayout::Mix) {
            for (int i = 0; i < 8; ++i) {
                t[0] = x[std::size_t(i)];
                for (int j = i + 1; j < 8; ++j) {
                    t[1] = x[std::size_t(j)];
                    if constexpr (Size == 2) {
                        if (f(t)) return true;
                    } else {
                        for (int k = j + 1; k < 8; ++k) {
                            t[2] = x[std::size_t(k)];
                            if constexpr (Size == 3) {
                                if (f(t)) return true;
                            } else {
                                for (int l = k + 1; l < 8; ++l) {
                                    t[3] = x[std::size_t(l)];
                                    if (f(t)) return true;
                                }
                            }
                        }
                    }
                }
            }
            return false;
        } else {
            int first = 1, last = 8 - Size + 1;   // 1-based starting positions
            if constexpr (Layout == TTupleLayout::Pos) first = last = Param();
            if (first < 1 || last > 8 - Size + 1) return false;
            for (int p = first - 1; p < last; ++p) {
                for (int i = 0; i < Size; ++i) t[std::size_t(i)] = x[std::size_t(p + i)];
                if (f(t)) return true;
            }
            return false;
        }
    }

    std::vector<uint64_t> m_prefixes;   // kept between passes so that a pass does not allocate
};

// The sorted-tuple kinds stay in the catalogue unavailable: they are never registered, and an
// instance, should one be created, shows no values.
template <int Size>
class TCombValuesSorted final : public TCustomCombValuesStat {
public:
    TCombValuesSorted(const TStatKind& kind, const TStatEnv& env, int32_t param)
        : TCustomCombValuesStat(kind, env, param, Size)
    {
    }
    bool CombMatches(const TComb&, const TStatDrawArray&, int, bool, bool) override { return false; }
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

// Codes and captions of the Mix and Seq kinds come from one template each, filled once with the
// tuple size; the descriptors point into this store for the whole run.
const char* formatted(std::string_view templ, int size)
{
    static std::deque<std::string> store;
    return store.emplace_back(util::Format(templ, {size})).c_str();
}

const std::vector<TStatKind>& tupleKinds()
{
    static const std::vector<TStatKind> kinds = [] {
        std::vector<TStatKind> k;
        k.reserve(12);
        auto add = [&](TStatKind::Info info) {
            info.Group = GroupNumbers;
            info.NumericValue = false;
            k.emplace_back(std::move(info));
        };
        using L = TTupleLayout;
        const TStatKind::Factory mix[] = {factory<TCombValuesStat<2, L::Mix>>(), factory<TCombValuesStat<3, L::Mix>>(),
                                          factory<TCombValuesStat<4, L::Mix>>()};
        const TStatKind::Factory seq[] = {factory<TCombValuesStat<2, L::Seq>>(), factory<TCombValuesStat<3, L::Seq>>(),
                                          factory<TCombValuesStat<4, L::Seq>>()};
        const char* mixClass[] = {"TstCombValMix2", "TstCombValMix3", "TstCombValMix4"};
        const char* seqClass[] = {"TstCombValSeq2", "TstCombValSeq3", "TstCombValSeq4"};
        for (int size = 2; size <= 4; ++size)
            add({.Position = 61 + size, .ClassName = mixClass[size - 2], .Code = formatted("KNM%d", size),
                 .Caption = formatted("Сочетания из %0:d чисел по всем числам тиража", size), .Flags = FlagS,
                 .Create = mix[size - 2]});
        for (int size = 2; size <= 4; ++size)
            add({.Position = 64 + size, .ClassName = seqClass[size - 2], .Code = formatted("KNS%d", size),
                 .Caption = formatted("Сочетания из %0:d соседних чисел тиража", size), .Flags = FlagS,
                 .Create = seq[size - 2]});
        add({.Position = 69, .ClassName = "TstCombValPos2", .Code = "KNP2%d",
             .Caption = "Сочетания из 2-х чисел тиража начиная с %0:d позиции", .HelpCode = "KNP2", .Flags = FlagS,
             .HasParam = true, .ParamRange = fixedRange(1, 7), .Create = factory<TCombValuesStat<2, L::Pos>>()});
        add({.Position = 70, .ClassName = "TstCombValPos3", .Code = "KNP3%d",
             .Caption = "Сочетания из 3-х чисел тиража начиная с %0:d позиции", .HelpCode = "KNP3", .Flags = FlagS,
             .HasParam = true, .ParamRange = fixedRange(1, 6), .Create = factory<TCombValuesStat<3, L::Pos>>()});
        add({.Position = 71, .ClassName = "TstCombValPos4", .Code = "KNP4%d",
             .Caption = "Сочетания из 4-х чисел тиража начиная с %0:d позиции", .HelpCode = "KNP4", .Flags = FlagS,
             .HasParam = true, .ParamRange = fixedRange(1, 5), .Create = factory<TCombValuesStat<4, L::Pos>>()});
        const TStatKind::Factory sorted[] = {factory<TCombValuesSorted<2>>(), factory<TCombValuesSorted<3>>(),
                                             factory<TCombValuesSorted<4>>()};
        const char* sortedClass[] = {"TstCombValSort2", "TstCombValSort3", "TstCombValSort4"};
        for (int size = 2; size <= 4; ++size)
            add({.Position = 70 + size, .ClassName = sortedClass[size - 2], .Code = formatted("KNO%d", size),
                 .Caption = formatted("Сочетания из %0:d чисел тиража по возрастанию", size), .Available = false,
                 .Create = sorted[size - 2]});
        return k;
    }();
    return kinds;
}

} // namespace

void AddTupleKinds(std::vector<const TStatKind*>& kinds)
{
    for (const TStatKind& k : tupleKinds()) kinds.push_back(&k);
}

} // namespace kv::stats::kinds

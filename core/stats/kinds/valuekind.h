#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

#include "core/game/widevectors.h"
#include "core/stats/stat.h"

namespace kv::stats::kinds {

// How CombMatches looks one value of a combination up among the marked values.
enum class TMatchRule {
    Value,     // HasValue: all four keys
    Key1,      // HasKey(1, k0): the count or number in Key[0], whatever the other keys hold
    LongKey1,  // HasLongKey(1, k0 | k1 << 16): a mask or another 32-bit word
    KeyByte1,  // HasKeyByte(1, k0): the low byte of Key[0], whatever the rest of the keys holds
};

// The values with a count, in the order of the first combination of each (`first`, NotSeen where
// unknown), when every one of them has it; otherwise none (0).
constexpr uint32_t NotSeen = ~uint32_t(0);
template <std::size_t N, class Value>
int OrderByFirst(const std::array<int32_t, N>& counts, const std::array<uint32_t, N>& first,
                 std::array<Value, N>& order)
{
    int n = 0;
    for (std::size_t v = 0; v < N; ++v) {
        if (counts[v] == 0) continue;
        if (first[v] == NotSeen) return 0;
        order[std::size_t(n++)] = Value(v);
    }
    std::sort(order.begin(), order.begin() + n, [&](Value a, Value b) { return first[a] < first[b]; });
    return n;
}

// Kinds whose values are the bytes of the combination themselves declare
//     static constexpr bool ByteValues = true;
// and their filter passes take the wide vector forms.
template <class Derived>
concept ByteValues = requires { requires Derived::ByteValues; };
// Kinds whose values are the distances between neighbouring bytes declare GapValues the same way.
template <class Derived>
concept GapValues = requires { requires Derived::GapValues; };

// The common body of every kind whose values depend on the 8 numbers alone. The kind writes
// the values once, as
//
//     template <class Emit> void Values(const game::TComb& n, Emit&& emit) const;
//
// calling emit(k0[, k1, k2, k3]) for each value in order, and declares
//
//     static constexpr TMatchRule MatchRule = ...;
//     static constexpr bool SmallKeys = ...;   // every value is Key[0] in 0..255, other keys 0
//
// This template turns that into CalcComb, CalcDraw (after the common part of TCustomStat),
// CombMatches, GetGraphValue (the first value, for charted bases) and the batch passes, so a
// draw, a combination and a filter always see the same values. With SmallKeys the batch passes
// work on 256-entry tables instead of a hash lookup per value, which keeps the full-set pass and
// the filter pass of these kinds well under a millisecond.
template <class Derived, class Base>
class TValueKind : public Base {
public:
    using Base::Base;

    void CalcComb(const game::TComb& comb, TStatDrawArray& values) override
    {
        Base::CalcComb(comb, values);
        addValues(comb, values, false);
    }

    void CalcCombs(std::span<const game::TComb> combs, TStatDrawArray& values) override
    {
        if constexpr (Derived::SmallKeys) {
            // Counted per value, then handed over in the order in which the values first
            // appeared, so that the array equals what one CalcComb per combination builds.
            game::TByteCounts counts{};
            std::array<uint8_t, 256> order{};
            int seen = 0;
            std::array<uint32_t, 256> first;
            first.fill(NotSeen);
            if (countWide(combs, counts, first)) {
                // Counted at once. The order of first appearance follows from the first
                // combination of each value where the count knows it, else it is read from the
                // head of the list, as far as the last value to appear.
                seen = OrderByFirst(counts, first, order);
                const int distinct = int(std::count_if(counts.begin(), counts.end(), [](int32_t n) { return n != 0; }));
                std::array<bool, 256> met{};
                for (std::size_t i = 0; i < combs.size() && seen < distinct; ++i)
                    self().Values(combs[i], [&](int k0, int = 0, int = 0, int = 0) {
                        if (!met[uint8_t(k0)]) order[std::size_t(seen++)] = uint8_t(k0);
                        met[uint8_t(k0)] = true;
                    });
            } else {
                for (const game::TComb& c : combs)
                    self().Values(c, [&](int k0, int = 0, int = 0, int = 0) {
                        if (counts[uint8_t(k0)]++ == 0) order[std::size_t(seen++)] = uint8_t(k0);
                    });
            }
            for (int i = 0; i < seen; ++i) {
                this->Cur = TStatDrawItem{};
                this->Cur.Key[0] = order[std::size_t(i)];
                this->Cur.Count = counts[order[std::size_t(i)]];
                AddStatDraw(values, this->Cur, false);
            }
            this->Cur = TStatDrawItem{};
            this->Cur.Count = 1;
        } else {
            for (const game::TComb& c : combs) {
                Base::CalcComb(c, values);
                addValues(c, values, false);
            }
        }
    }

    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        Base::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        addValues(this->CurDraw.Nums, values, true);
    }

    bool CombMatches(const game::TComb& comb, const TStatDrawArray& marked, int /*lastIndex*/, bool /*sorted*/,
                     bool /*exclude*/) override
    {
        return matches(comb, marked);
    }

    void MatchBatch(std::span<const game::TComb> combs, const TStatDrawArray& marked, int /*lastIndex*/,
                    bool /*sorted*/, bool /*exclude*/, std::vector<uint8_t>& result) override
    {
        result.resize(combs.size());
        if constexpr (Derived::SmallKeys) {
            // The marked set answered once per possible value, then one table read per value.
            game::TByteTable hit{};
            for (int k = 0; k < 256; ++k) hit[std::size_t(k)] = lookup(marked, k, 0, 0, 0) ? 1 : 0;
            if constexpr (ByteValues<Derived>)
                if (game::MatchAnyByte(combs, hit, result.data())) return;
            if constexpr (GapValues<Derived>)
                if (game::MatchAnyGap(combs, hit, result.data())) return;
            for (std::size_t i = 0; i < combs.size(); ++i) {
                uint8_t r = 0;
                self().Values(combs[i], [&](int k0, int = 0, int = 0, int = 0) { r |= hit[uint8_t(k0)]; });
                result[i] = r;
            }
        } else {
            for (std::size_t i = 0; i < combs.size(); ++i) result[i] = matches(combs[i], marked) ? 1 : 0;
        }
    }

    int32_t GetGraphValue(const game::TComb& numbers, int index, int lastIndex, bool sorted) override
    {
        if constexpr (std::is_base_of_v<TCustomGraphStat, Base>) {
            bool first = true;
            int32_t v = 0;
            self().Values(numbers, [&](int k0, int = 0, int = 0, int = 0) {
                if (first) v = k0;
                first = false;
            });
            return v;
        } else {
            return Base::GetGraphValue(numbers, index, lastIndex, sorted);
        }
    }

protected:
    // One value of a combination looked up among the marked values by the kind's rule; kinds
    // with batch passes of their own use it to stay equal to CombMatches.
    static bool lookup(const TStatDrawArray& marked, int k0, int k1, int k2, int k3)
    {
        switch (Derived::MatchRule) {
        case TMatchRule::Value: return marked.HasValue(k0, k1, k2, k3);
        case TMatchRule::Key1: return marked.HasKey(1, k0);
        case TMatchRule::LongKey1:
            return marked.HasLongKey(1, int32_t(uint32_t(uint16_t(k0)) | (uint32_t(uint16_t(k1)) << 16)));
        case TMatchRule::KeyByte1: return marked.HasKeyByte(1, k0);
        }
        return false;
    }

    // ListValues for kinds with a closed range of single-key values first..last.
    void listRange(int lastIndex, TStatDrawArray& values, int first, int last)
    {
        TCustomStat::ListValues(lastIndex, values);
        for (int k = first; k <= last; ++k) {
            this->Cur.Key[0] = int16_t(k);
            AddStatDraw(values, this->Cur, false);
        }
    }

private:
    const Derived& self() const { return static_cast<const Derived&>(*this); }

    // A kind whose values a wide form counts over a whole list declares
    //     bool CountWide(std::span<const game::TComb>, game::TByteCounts&, std::array<uint32_t, 256>& first) const;
    // and with one value per combination sets first[v] to the first combination of value v.
    bool countWide(std::span<const game::TComb> combs, game::TByteCounts& counts, std::array<uint32_t, 256>& first) const
    {
        if constexpr (requires { self().CountWide(combs, counts, first); })
            return self().CountWide(combs, counts, first);
        return false;
    }

    void addValues(const game::TComb& nums, TStatDrawArray& values, bool trackPeriods)
    {
        self().Values(nums, [&](int k0, int k1 = 0, int k2 = 0, int k3 = 0) {
            this->Cur.Key = {int16_t(k0), int16_t(k1), int16_t(k2), int16_t(k3)};
            AddStatDraw(values, this->Cur, trackPeriods);
        });
    }

    bool matches(const game::TComb& comb, const TStatDrawArray& marked) const
    {
        bool hit = false;
        self().Values(comb, [&](int k0, int k1 = 0, int k2 = 0, int k3 = 0) {
            if (!hit) hit = lookup(marked, k0, k1, k2, k3);
        });
        return hit;
    }
};

} // namespace kv::stats::kinds

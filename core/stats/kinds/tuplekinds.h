#pragma once
// Machinery shared by the kinds that look at groups of numbers on the card: channels, columns,
// rows and segments. Each instance maps every number to its group once, when it is created, so
// a later change of the settings affects only instances created afterwards. On that map sit
//   - TGroupPairKind: values of two small keys, such as (channel, count) or a column mask, with
//     batch passes that count through a dense table instead of a hash lookup per value;
//   - TGroupTupleStat: the tuples of the groups of k positions (all choices, or runs of
//     neighbouring positions), the same machinery for all eight tuple families.
#include <array>
#include <bit>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "core/game/bits.h"
#include "core/stats/kinds/valuekind.h"
#include "core/util/format.h"

namespace kv::stats::kinds {

// The group of every byte a combination can hold (numbers outside 1..20 included, so that an
// empty draw or a stray byte never reads outside the table).
using TGroupTable = std::array<uint8_t, 256>;

template <class Fn>
TGroupTable MakeGroupTable(Fn groupOf)
{
    TGroupTable t{};
    for (int n = 0; n < 256; ++n) t[std::size_t(n)] = uint8_t(groupOf(n));
    return t;
}

// The groups of the 8 numbers, in their order.
inline std::array<uint8_t, 8> GroupsOf(const game::TComb& n, const TGroupTable& t)
{
    return {t[n[0]], t[n[1]], t[n[2]], t[n[3]], t[n[4]], t[n[5]], t[n[6]], t[n[7]]};
}

// How many distinct groups the 8 numbers occupy.
inline int DistinctGroups(const game::TComb& n, const TGroupTable& t)
{
    // Groups below 64 (every layout of the settings) fit one word.
    uint64_t low = 0;
    unsigned high = 0;
    for (uint8_t x : n) {
        low |= uint64_t(1) << (t[x] & 63);
        high |= t[x] & 0xC0u;
    }
    if (high == 0) return game::BitCount(low);
    std::array<uint64_t, 4> seen{};
    for (uint8_t x : n) seen[t[x] >> 6] |= uint64_t(1) << (t[x] & 63);
    return game::BitCount(seen[0]) + game::BitCount(seen[1]) + game::BitCount(seen[2]) + game::BitCount(seen[3]);
}

// How many of the 8 numbers lie in group g.
inline int CountInGroup(const game::TComb& n, const TGroupTable& t, int g)
{
    int k = 0;
    for (uint8_t x : n) k += t[x] == g ? 1 : 0;
    return k;
}

// "%0:d x %1:d" of Key[0] and Key[1]: a group and a count.
inline std::string PairText(const TStatDrawItem& v) { return util::Format("%0:d x %1:d", {v.Key[0], v.Key[1]}); }

// Values of up to two keys. Whenever Key[0] is 0..255, Key[1] 0..31 and the other keys 0 (every
// value of the group kinds with the usual settings), the batch passes count and match through a
// table of 8192 entries; any other value falls back to the hash lookups, with the same result.
template <class Derived, class Base>
class TGroupPairKind : public TValueKind<Derived, Base> {
    using Kind = TValueKind<Derived, Base>;

public:
    using Kind::Kind;

    void CalcCombs(std::span<const game::TComb> combs, TStatDrawArray& values) override
    {
        std::array<int32_t, DenseCodes> counts{};
        std::array<uint16_t, DenseCodes> order{};
        int seen = 0;
        bool dense = true;
        // Hands the counts over in the order the values first appeared, so that the array
        // equals what one CalcComb per combination builds.
        auto flush = [&] {
            TStatDrawItem item{};
            for (int i = 0; i < seen; ++i) {
                const uint16_t code = order[std::size_t(i)];
                item.Key = {int16_t(code & 0xFF), int16_t(code >> 8), 0, 0};
                item.Count = counts[code];
                AddStatDraw(values, item, false);
            }
        };
        for (const game::TComb& c : combs)
            derived().Values(c, [&](int k0, int k1 = 0, int k2 = 0, int k3 = 0) {
                if (dense && fits(k0, k1, k2, k3)) {
                    const int code = k0 | (k1 << 8);
                    if (counts[std::size_t(code)]++ == 0) order[std::size_t(seen++)] = uint16_t(code);
                    return;
                }
                if (dense) {
                    flush();
                    dense = false;
                }
                TStatDrawItem item{};
                item.Count = 1;
                item.Key = {int16_t(k0), int16_t(k1), int16_t(k2), int16_t(k3)};
                AddStatDraw(values, item, false);
            });
        if (dense) flush();
        this->Cur = TStatDrawItem{};
        this->Cur.Count = 1;
    }

    void MatchBatch(std::span<const game::TComb> combs, const TStatDrawArray& marked, int /*lastIndex*/,
                    bool /*sorted*/, bool /*exclude*/, std::vector<uint8_t>& result) override
    {
        // Each dense value is looked up once, when a combination first shows it: 0 = not yet
        // asked, 1 = not marked, 2 = marked.
        std::array<uint8_t, DenseCodes> state{};
        result.resize(combs.size());
        for (std::size_t i = 0; i < combs.size(); ++i) {
            bool hit = false;
            derived().Values(combs[i], [&](int k0, int k1 = 0, int k2 = 0, int k3 = 0) {
                if (hit) return;
                if (fits(k0, k1, k2, k3)) {
                    uint8_t& s = state[std::size_t(k0 | (k1 << 8))];
                    if (s == 0) s = Kind::lookup(marked, k0, k1, 0, 0) ? 2 : 1;
                    hit = s == 2;
                } else {
                    hit = Kind::lookup(marked, k0, k1, k2, k3);
                }
            });
            result[i] = hit ? 1 : 0;
        }
    }

private:
    static constexpr std::size_t DenseCodes = 256 * 32;

    static bool fits(int k0, int k1, int k2, int k3)
    {
        return unsigned(k0) < 256 && unsigned(k1) < 32 && k2 == 0 && k3 == 0;
    }
    const Derived& derived() const { return static_cast<const Derived&>(*this); }
};

// --- tuples of groups ---------------------------------------------------------------------------

enum class TGroupTupleForm {
    Mix,   // every choice of k positions, in lexicographic order of the positions
    Seq,   // every run of k neighbouring positions
};

// Calls visit(tuple) for every tuple of the 8 groups (the keys past k are 0) until it returns
// true; the result tells whether it did.
template <int K, TGroupTupleForm Form, class Visit>
bool ForEachGroupTuple(const std::array<uint8_t, 8>& g, Visit&& visit)
{
    static_assert(K >= 2 && K <= 4);
    std::array<uint8_t, 4> t{};
    if constexpr (Form == TGroupTupleForm::Seq) {
        for (int i = 0; i + K <= 8; ++i) {
            for (int j = 0; j < K; ++j) t[std::size_t(j)] = g[std::size_t(i + j)];
            if (visit(t)) return true;
        }
        return false;
    } else {
        std::array<int, 4> pos{};
        for (int j = 0; j < K; ++j) pos[std::size_t(j)] = j;
        for (;;) {
            for (int j = 0; j < K; ++j) t[std::size_t(j)] = g[std::size_t(pos[std::size_t(j)])];
            if (visit(t)) return true;
            int j = K - 1;
            while (j >= 0 && pos[std::size_t(j)] == 8 - K + j) --j;
            if (j < 0) return false;
            ++pos[std::size_t(j)];
            for (int m = j + 1; m < K; ++m) pos[std::size_t(m)] = pos[std::size_t(m - 1)] + 1;
        }
    }
}

// The tuple kinds: draws only (no full-set distribution, so CalcComb gives no values), shown as
// the groups joined by ":" ("1:1:3"). Base supplies TupleGroups(), the group table of its
// family (channels, columns, rows or segments).
template <class Base, int K, TGroupTupleForm Form>
class TGroupTupleStat final : public Base {
public:
    using Base::Base;

    std::string ValueToText(const TStatDrawItem& value) const override
    {
        std::string s = std::to_string(value.Key[0]);
        for (int j = 1; j < K; ++j) {
            s += ':';
            s += std::to_string(value.Key[std::size_t(j)]);
        }
        return s;
    }

    void CalcCombs(std::span<const game::TComb>, TStatDrawArray&) override
    {
        this->Cur = TStatDrawItem{};
        this->Cur.Count = 1;
    }

    void CalcDraw(int index, int lastIndex, bool sorted, TStatDrawArray& values, TLastValueArray& lastValues,
                  TWorkArea& work) override
    {
        Base::CalcDraw(index, lastIndex, sorted, values, lastValues, work);
        ForEachGroupTuple<K, Form>(GroupsOf(this->CurDraw.Nums, this->TupleGroups()), [&](const auto& t) {
            this->Cur.Key = {int16_t(t[0]), int16_t(t[1]), int16_t(t[2]), int16_t(t[3])};
            this->AddCur(values, true);
            return false;
        });
    }

    bool CombMatches(const game::TComb& comb, const TStatDrawArray& marked, int, bool, bool) override
    {
        return ForEachGroupTuple<K, Form>(GroupsOf(comb, this->TupleGroups()), [&](const auto& t) {
            return marked.HasValue(t[0], t[1], t[2], t[3]);
        });
    }

    // Up to 70 tuples per combination: instead of a hash lookup each, the marked tuples go into
    // bit sets of their prefixes (groups 0..31, 5 bits a key), and a choice of positions is
    // followed only while its prefix belongs to some marked tuple.
    void MatchBatch(std::span<const game::TComb> combs, const TStatDrawArray& marked, int lastIndex, bool sorted,
                    bool exclude, std::vector<uint8_t>& result) override
    {
        buildPrefixes(marked);
        result.resize(combs.size());
        const TGroupTable& table = this->TupleGroups();
        for (std::size_t i = 0; i < combs.size(); ++i) {
            const std::array<uint8_t, 8> g = GroupsOf(combs[i], table);
            uint8_t high = 0;
            for (uint8_t x : g) high |= x;
            if (high >= 32)
                result[i] = CombMatches(combs[i], marked, lastIndex, sorted, exclude) ? 1 : 0;
            else
                result[i] = anyMarked(g) ? 1 : 0;
        }
    }

private:
    static constexpr int KeyBits = 5;

    bool has(int level, uint32_t code) const
    {
        return (m_prefix[std::size_t(level)][code >> 6] >> (code & 63)) & 1u;
    }

    void buildPrefixes(const TStatDrawArray& marked)
    {
        for (int level = 0; level < K; ++level) {
            std::vector<uint64_t>& bits = m_prefix[std::size_t(level)];
            bits.assign((std::size_t(1) << (KeyBits * (level + 1))) / 64 + 1, 0);
        }
        for (const TStatDrawItem& it : marked) {
            bool usable = true;
            for (int j = 0; j < 4; ++j) {
                const int k = it.Key[std::size_t(j)];
                usable = usable && (j < K ? k >= 0 && k < (1 << KeyBits) : k == 0);
            }
            if (!usable) continue;   // no tuple of groups 0..31 equals it
            uint32_t code = 0;
            for (int level = 0; level < K; ++level) {
                code = (code << KeyBits) | uint32_t(it.Key[std::size_t(level)]);
                m_prefix[std::size_t(level)][code >> 6] |= uint64_t(1) << (code & 63);
            }
        }
    }

    bool anyMarked(const std::array<uint8_t, 8>& g) const
    {
        if constexpr (Form == TGroupTupleForm::Seq) {
            for (int i = 0; i + K <= 8; ++i) {
                uint32_t code = 0;
                for (int j = 0; j < K; ++j) code = (code << KeyBits) | g[std::size_t(i + j)];
                if (has(K - 1, code)) return true;
            }
            return false;
        } else {
            return extend(g, 0, 0, 0);
        }
    }

    // Positions from `from` on extend a prefix of `level` groups (code) that some marked tuple
    // starts with.
    bool extend(const std::array<uint8_t, 8>& g, int from, int level, uint32_t code) const
    {
        for (int i = from; i <= 8 - K + level; ++i) {
            const uint32_t next = (code << KeyBits) | g[std::size_t(i)];
            if (!has(level, next)) continue;
            if (level == K - 1 || extend(g, i + 1, level + 1, next)) return true;
        }
        return false;
    }

    std::array<std::vector<uint64_t>, K> m_prefix;
};

// The factory of a descriptor: an instance of T for the settings of env.
template <class T>
TStatKind::Factory GroupKindFactory()
{
    return [](const TStatKind& kind, const TStatEnv& env, int32_t param) -> std::unique_ptr<TCustomStat> {
        return std::make_unique<T>(kind, env, param);
    };
}

// Code and caption of a tuple kind: its templates formatted once with the tuple size. The texts
// live as long as the program, as the descriptors that point at them.
inline const char* TupleKindText(const char* tmpl, int size)
{
    static std::mutex guard;
    static std::deque<std::string> texts;
    const std::lock_guard<std::mutex> lock(guard);
    texts.push_back(util::Format(tmpl, {size}));
    return texts.back().c_str();
}

// The descriptor of a tuple kind of a group (channels, matrix, segments): code and caption
// formatted with the tuple size, values shown as texts.
inline TStatKind TupleKind(TStatGroup group, int position, const char* className, const char* code, const char* caption,
                           int size, TStatKind::Factory create)
{
    return TStatKind({.Position = position, .ClassName = className, .Code = TupleKindText(code, size),
                      .Caption = TupleKindText(caption, size), .Group = group, .Flags = FlagS,
                      .NumericValue = false, .Create = std::move(create)});
}

} // namespace kv::stats::kinds

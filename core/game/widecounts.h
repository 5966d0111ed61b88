#pragma once
// The counting passes over a whole list shared by the vector forms of widevectors.cpp: the
// spread tables of one value per combination and the SSE2 forms that every x86-64 CPU runs when
// it has nothing wider.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/game/widevectors.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace kv::game::wide {

// Counts of values of one per combination, spread over Ways tables so that equal values close
// together do not wait for each other's store. The combinations are taken last first, so that the
// index left for each value is that of its first combination.
template <std::size_t N, std::size_t Ways>
struct TSpreadCounts {
    std::array<std::array<int32_t, N>, Ways> tables{};
    // Value v of combination `index`, counted in table `way`.
    void Add(std::size_t way, std::size_t v, std::size_t index, std::array<uint32_t, N>& first)
    {
        ++tables[way % Ways][v];
        first[v] = uint32_t(index);
    }
    void AddTo(std::array<int32_t, N>& counts) const
    {
        for (std::size_t v = 0; v < N; ++v)
            for (const std::array<int32_t, N>& t : tables) counts[v] += t[v];
    }
};

// Bit 7 - j set when of[c[j]] != 0.
inline std::size_t ClassMask(const TComb& c, const TByteTable& of)
{
    unsigned m = 0;
    for (std::size_t j = 0; j < 8; ++j) m |= (of[c[j]] != 0 ? 0x80u : 0u) >> j;
    return m;
}

inline int ByteTotal(const TComb& c) { return c[0] + c[1] + c[2] + c[3] + c[4] + c[5] + c[6] + c[7]; }

// The different bytes b of a combination with in[b] != 0, counted one at a time.
inline int DistinctCount(const TComb& c, const TByteTable& in)
{
    int k = 0;
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (in[c[i]] == 0) continue;
        bool repeated = false;
        for (std::size_t j = 0; j < i; ++j) repeated = repeated || c[j] == c[i];
        k += repeated ? 0 : 1;
    }
    return k;
}

// The different values of[b] over the bytes b of a combination, counted one at a time.
inline int DistinctClasses(const TComb& c, const TByteTable& of)
{
    std::array<uint64_t, 4> seen{};
    for (uint8_t b : c) seen[of[b] >> 6] |= uint64_t(1) << (of[b] & 63);
    int k = 0;
    for (uint64_t w : seen) k += __builtin_popcountll(w);
    return k;
}

// The bit k of a byte that the table answers, when it answers with a bit: of[b] = bit k of b for
// every byte (inverted: its opposite); -1 for any other table.
int TableBit(const TByteTable& of, bool& inverted);

// The bytes (or gaps) of combinations too few for a whole vector, counted one at a time.
void CountBytesOneByOne(std::span<const TComb> combs, bool gaps, TByteCounts& counts);

#if defined(__x86_64__)
// The distances |c[j] - c[j - 1]| of the two combinations of a vector at bytes 1..7 of each (byte 0
// holds the first byte itself).
inline __m128i GapsOf(__m128i bytes)
{
    const __m128i before = _mm_slli_epi64(bytes, 8);
    return _mm_sub_epi8(_mm_max_epu8(bytes, before), _mm_min_epu8(bytes, before));
}

// The SSE2 forms, as CountBytes, CountClassMasks and CountByteTotals with the plain form.
bool CountBytesSse2(std::span<const TComb> combs, bool gaps, TByteCounts& counts);
bool CountClassMasksSse2(std::span<const TComb> combs, const TByteTable& of, TByteCounts& counts,
                         std::array<uint32_t, 256>& first);
bool CountByteTotalsSse2(std::span<const TComb> combs, std::array<int32_t, ByteTotals>& counts,
                         std::array<uint32_t, ByteTotals>& first);
#endif

} // namespace kv::game::wide

#include "core/game/widecounts.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace kv::game::wide {

void CountBytesOneByOne(std::span<const TComb> combs, bool gaps, TByteCounts& counts)
{
    for (const TComb& c : combs) {
        if (!gaps) {
            for (uint8_t b : c) ++counts[b];
            continue;
        }
        for (std::size_t j = 1; j < c.size(); ++j) ++counts[std::size_t(std::abs(int(c[j]) - int(c[j - 1])))];
    }
}

#if defined(__x86_64__)

namespace {

// SSE2 is part of every x86-64, so these need no question to the CPU. SSE2 has no byte lookup,
// so values are counted by comparing each vector with every value in its range: the passes keep
// that range narrow.

using TWideSums = std::array<int64_t, 256>;

constexpr int MaxBlock = 12;

// The vectors' lanes that equal base, base + 1, ... base + B - 1, counted per lane (n <= 255).
template <int B>
void countBlock(const __m128i* vectors, std::size_t n, int base, __m128i* out)
{
    __m128i count[B], value[B];
    for (int k = 0; k < B; ++k) {
        count[k] = _mm_setzero_si128();
        value[k] = _mm_set1_epi8(char(base + k));
    }
    for (std::size_t i = 0; i < n; ++i) {
        const __m128i v = _mm_load_si128(vectors + i);
        for (int k = 0; k < B; ++k) count[k] = _mm_sub_epi8(count[k], _mm_cmpeq_epi8(v, value[k]));
    }
    for (int k = 0; k < B; ++k) out[k] = count[k];
}

// countBlock<size>, for a size of 1..B.
template <int B = MaxBlock>
void countBlockOf(int size, const __m128i* vectors, std::size_t n, int base, __m128i* out)
{
    if constexpr (B > 1)
        if (size < B) return countBlockOf<B - 1>(size, vectors, n, base, out);
    countBlock<B>(vectors, n, base, out);
}

// The smallest and the largest byte of `low` and `high`.
std::pair<int, int> byteRange(__m128i low, __m128i high)
{
    alignas(16) std::array<uint8_t, 16> lows{}, highs{};
    _mm_store_si128(reinterpret_cast<__m128i*>(lows.data()), low);
    _mm_store_si128(reinterpret_cast<__m128i*>(highs.data()), high);
    return {*std::min_element(lows.begin(), lows.end()), *std::max_element(highs.begin(), highs.end())};
}

// Per value and lane, counts of up to 256 chunks of 255 vectors in sixteen bits, so that a chunk
// hands its counts over with vector additions; then moved to the sums of each lane's byte.
class TLaneSums {
public:
    explicit TLaneSums(const std::array<uint8_t, 16>& offset) : m_offset(offset) {}

    // Adds how many of the n vectors (n <= 255) hold v in each lane, their bytes lying in lo..hi.
    // Every value but the largest is compared; the largest takes what is left.
    void Count(const __m128i* vectors, std::size_t n, int lo, int hi)
    {
        if (n == 0) return;
        if (m_chunks == 256) Drain();
        ++m_chunks;
        m_lo = std::min(m_lo, lo);
        m_hi = std::max(m_hi, hi);
        __m128i left = _mm_set1_epi8(char(n));
        const int values = hi - lo;
        const int blocks = (values + MaxBlock - 1) / MaxBlock;
        int base = lo;
        for (int b = 0; b < blocks; ++b) {
            // The values shared evenly between the blocks, so that none compares more than it needs.
            const int size = (hi - base + (blocks - b) - 1) / (blocks - b);
            __m128i out[MaxBlock];
            countBlockOf(size, vectors, n, base, out);
            for (int k = 0; k < size; ++k) {
                add(base + k, out[k]);
                left = _mm_sub_epi8(left, out[k]);
            }
            base += size;
        }
        add(hi, left);
    }

    // Everything counted so far added to sums[byte].
    void Drain()
    {
        alignas(16) std::array<uint16_t, 16> lanes{};
        for (int v = m_lo; v <= m_hi; ++v) {
            const std::size_t at = 2 * std::size_t(v);
            _mm_store_si128(reinterpret_cast<__m128i*>(lanes.data()), m_halves[at]);
            _mm_store_si128(reinterpret_cast<__m128i*>(lanes.data() + 8), m_halves[at + 1]);
            for (std::size_t lane = 0; lane < 16; ++lane) Sums[std::size_t((v + m_offset[lane]) & 0xFF)] += lanes[lane];
            m_halves[at] = m_halves[at + 1] = _mm_setzero_si128();
        }
        m_chunks = 0;
    }

    TWideSums Sums{};

private:
    void add(int v, __m128i counts)
    {
        const std::size_t at = 2 * std::size_t(v);
        m_halves[at] = _mm_add_epi16(m_halves[at], _mm_unpacklo_epi8(counts, _mm_setzero_si128()));
        m_halves[at + 1] = _mm_add_epi16(m_halves[at + 1], _mm_unpackhi_epi8(counts, _mm_setzero_si128()));
    }

    std::array<uint8_t, 16> m_offset;
    __m128i m_halves[512] = {};
    int m_lo = 255, m_hi = 0, m_chunks = 0;
};

// The values of a combination's first four bytes: the bytes, or the three gaps between them.
template <class Fn>
void halfValues(uint32_t half, bool gaps, Fn&& fn)
{
    const int b0 = int(half & 0xFF), b1 = int(half >> 8 & 0xFF), b2 = int(half >> 16 & 0xFF), b3 = int(half >> 24);
    if (gaps) {
        fn(std::abs(b1 - b0));
        fn(std::abs(b2 - b1));
        fn(std::abs(b3 - b2));
        return;
    }
    fn(b0), fn(b1), fn(b2), fn(b3);
}

uint32_t firstHalf(const TComb& c)
{
    uint32_t w = 0;
    std::memcpy(&w, c.data(), sizeof w);
    return w;
}

// The bytes read in reverse order of their bits: bit 7 - j of a mask belongs to byte j.
constexpr std::array<uint8_t, 256> Reversed = [] {
    std::array<uint8_t, 256> r{};
    for (unsigned m = 0; m < 256; ++m)
        for (unsigned j = 0; j < 8; ++j) r[m] = uint8_t(r[m] | ((m >> j & 1u) << (7 - j)));
    return r;
}();

} // namespace

int TableBit(const TByteTable& of, bool& inverted)
{
    for (int k = 0; k < 8; ++k)
        for (const bool opposite : {false, true}) {
            bool equal = true;
            for (unsigned b = 0; b < 256 && equal; ++b) equal = (of[b] != 0) == (((b >> k & 1u) != 0) != opposite);
            if (!equal) continue;
            inverted = opposite;
            return k;
        }
    return -1;
}

// Lists in lexicographic order (every list of the game) change their first four bytes seldom:
// those are counted by runs, the value of a run added once at each end (minus its first index,
// plus its end), so that only the second halves, four combinations to a vector, are compared
// value by value. The second halves of numbers less their positions fall within 13 values.
bool CountBytesSse2(std::span<const TComb> combs, bool gaps, TByteCounts& counts)
{
    constexpr std::size_t Chunk = 255;
    alignas(16) __m128i chunk[Chunk];
    alignas(16) std::array<uint8_t, 16> offset{};
    if (!gaps)
        for (std::size_t k = 0; k < offset.size(); ++k) offset[k] = uint8_t(4 + k % 4);
    const __m128i offsets = _mm_load_si128(reinterpret_cast<const __m128i*>(offset.data()));
    auto lanes = std::make_unique<TLaneSums>(offset);
    TWideSums& sums = lanes->Sums;
    const std::size_t whole = combs.size() / 4;
    // The first half of the run's combinations, in each lane.
    __m128i runs = _mm_set1_epi32(whole > 0 ? int(firstHalf(combs[0])) : 0);
    for (std::size_t start = 0; start < whole; start += Chunk) {
        const std::size_t n = std::min(Chunk, whole - start);
        __m128i low = _mm_set1_epi8(-1), high = _mm_setzero_si128();
        for (std::size_t i = 0; i < n; ++i) {
            const TComb* c = combs.data() + 4 * (start + i);
            __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c));
            __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c + 2));
            const __m128i firsts = _mm_castps_si128(
                _mm_shuffle_ps(_mm_castsi128_ps(a), _mm_castsi128_ps(b), _MM_SHUFFLE(2, 0, 2, 0)));
            if (_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(firsts, runs))) != 0xF) {
                for (std::size_t j = 0; j < 4; ++j) {
                    const uint32_t before = j == 0 ? uint32_t(_mm_cvtsi128_si32(runs)) : firstHalf(c[j - 1]);
                    const uint32_t half = firstHalf(c[j]);
                    if (half == before) continue;
                    const int64_t at = int64_t(4 * (start + i) + j);
                    halfValues(before, gaps, [&](int v) { sums[std::size_t(v)] += at; });
                    halfValues(half, gaps, [&](int v) { sums[std::size_t(v)] -= at; });
                }
            }
            runs = _mm_shuffle_epi32(firsts, _MM_SHUFFLE(3, 3, 3, 3));
            if (gaps) {
                a = GapsOf(a);
                b = GapsOf(b);
            }
            const __m128i seconds = _mm_castps_si128(
                _mm_shuffle_ps(_mm_castsi128_ps(a), _mm_castsi128_ps(b), _MM_SHUFFLE(3, 1, 3, 1)));
            const __m128i values = _mm_sub_epi8(seconds, offsets);
            _mm_store_si128(chunk + i, values);
            low = _mm_min_epu8(low, values);
            high = _mm_max_epu8(high, values);
        }
        const auto [lo, hi] = byteRange(low, high);
        lanes->Count(chunk, n, lo, hi);
    }
    lanes->Drain();
    if (whole > 0)
        halfValues(uint32_t(_mm_cvtsi128_si32(runs)), gaps, [&](int v) { sums[std::size_t(v)] += int64_t(4 * whole); });
    for (std::size_t v = 0; v < sums.size(); ++v) counts[v] += int32_t(sums[v]);
    CountBytesOneByOne(combs.subspan(4 * whole), gaps, counts);
    return true;
}

// A table that answers with a bit of the byte (evenness) is read by a shift, sixteen bytes at
// once; another one by comparing the bytes with each value of the list's range in the class (or
// out of it, whichever are fewer), when they are few.
bool CountClassMasksSse2(std::span<const TComb> combs, const TByteTable& of, TByteCounts& counts,
                         std::array<uint32_t, 256>& first)
{
    constexpr int MaxValues = 16;
    bool inverted = false;
    const int bit = TableBit(of, inverted);
    const std::size_t whole = combs.size() / 2 * 2;
    __m128i values[MaxValues];
    int valueCount = 0;
    if (bit < 0) {
        __m128i low = _mm_set1_epi8(-1), high = _mm_setzero_si128();
        for (std::size_t i = 0; i < whole; i += 2) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(combs.data() + i));
            low = _mm_min_epu8(low, bytes);
            high = _mm_max_epu8(high, bytes);
        }
        const auto [lo, hi] = byteRange(low, high);
        int ones = 0;
        for (int v = lo; v <= hi; ++v) ones += of[std::size_t(v)] != 0 ? 1 : 0;
        inverted = 2 * ones > hi - lo + 1;
        for (int v = lo; v <= hi; ++v) {
            if ((of[std::size_t(v)] != 0) == inverted) continue;
            if (valueCount == MaxValues) return false;
            values[valueCount++] = _mm_set1_epi8(char(v));
        }
    }
    auto spread = std::make_unique<TSpreadCounts<256, 8>>();
    for (std::size_t i = combs.size(); i-- > whole;) spread->Add(i, ClassMask(combs[i], of), i, first);
    const __m128i shift = _mm_cvtsi32_si128(7 - bit);
    const unsigned flip = inverted ? 0xFFFFu : 0u;
    for (std::size_t i = whole; i > 0;) {
        i -= 2;
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(combs.data() + i));
        __m128i in = _mm_sll_epi16(bytes, shift);
        if (bit < 0) {
            in = _mm_setzero_si128();
            for (int k = 0; k < valueCount; ++k) in = _mm_or_si128(in, _mm_cmpeq_epi8(bytes, values[k]));
        }
        const unsigned masks = unsigned(_mm_movemask_epi8(in)) ^ flip;
        spread->Add(i + 1, Reversed[masks >> 8], i + 1, first);
        spread->Add(i, Reversed[masks & 0xFF], i, first);
    }
    spread->AddTo(counts);
    return true;
}

bool CountByteTotalsSse2(std::span<const TComb> combs, std::array<int32_t, ByteTotals>& counts,
                         std::array<uint32_t, ByteTotals>& first)
{
    auto spread = std::make_unique<TSpreadCounts<ByteTotals, 4>>();
    const std::size_t whole = combs.size() / 2 * 2;
    for (std::size_t i = combs.size(); i-- > whole;) spread->Add(i, std::size_t(ByteTotal(combs[i])), i, first);
    for (std::size_t i = whole; i > 0;) {
        i -= 2;
        const __m128i total =
            _mm_sad_epu8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(combs.data() + i)), _mm_setzero_si128());
        spread->Add(i + 1, std::size_t(_mm_extract_epi16(total, 4)), i + 1, first);
        spread->Add(i, std::size_t(_mm_extract_epi16(total, 0)), i, first);
    }
    spread->AddTo(counts);
    return true;
}

#endif

} // namespace kv::game::wide

#include "core/game/widevectors.h"

#include "core/game/plainmatch.h"
#include "core/game/widecounts.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstring>
#include <memory>
#include <string>
#include <cstdlib>

#if defined(__x86_64__)
#if defined(__GNUC__) && !defined(__clang__)
// GCC 12 warns of the intrinsics' own undefined start values (their masked forms) as uninitialized.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif
#include <immintrin.h>
#endif

namespace kv::game {

namespace {

using namespace wide;

TWideForm detected()
{
#if defined(__x86_64__)
    static const TWideForm best = [] {
        if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
            __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi"))
            return TWideForm::Avx512;
        return __builtin_cpu_supports("avx2") ? TWideForm::Avx2 : TWideForm::Plain;
    }();
    return best;
#else
    return TWideForm::Plain;
#endif
}

std::atomic<TWideForm> requested{WideFormByName(std::getenv("KVANTA_WIDE_VECTORS"))};

// The bytes b of a combination with in[b] = 1, each as often as it stands there.
int byteCount(const TComb& c, const TByteTable& in)
{
    return in[c[0]] + in[c[1]] + in[c[2]] + in[c[3]] + in[c[4]] + in[c[5]] + in[c[6]] + in[c[7]];
}

// 1 when a byte b of the combination has hit[b] != 0.
uint8_t anyByte(const TComb& c, const TByteTable& hit)
{
    return (hit[c[0]] | hit[c[1]] | hit[c[2]] | hit[c[3]] | hit[c[4]] | hit[c[5]] | hit[c[6]] | hit[c[7]]) != 0 ? 1 : 0;
}

// 1 when a distance |c[j + 1] - c[j]| between neighbours has hit[distance] != 0.
uint8_t anyGap(const TComb& c, const TByteTable& hit)
{
    uint8_t r = 0;
    for (std::size_t j = 1; j < c.size(); ++j) r |= hit[std::size_t(std::abs(int(c[j]) - int(c[j - 1])))];
    return r != 0 ? 1 : 0;
}

#if defined(__x86_64__)

#define KV_AVX2 __attribute__((target("avx2")))

// A table of 0/1 answers as a 256-bit map, each half (bytes below 128, and from 128) in both lanes
// of a register: AVX2 looks up only 16 bytes at a time, within a lane.
struct TBitTable {
    __m256i low, high;
};

KV_AVX2 TBitTable loadBits(const TByteTable& table)
{
    alignas(32) std::array<uint8_t, 32> bits{};
    for (std::size_t b = 0; b < table.size(); ++b)
        if (table[b] != 0) bits[b >> 3] = uint8_t(bits[b >> 3] | (1u << (b & 7)));
    const __m128i low = _mm_load_si128(reinterpret_cast<const __m128i*>(bits.data()));
    const __m128i high = _mm_load_si128(reinterpret_cast<const __m128i*>(bits.data() + 16));
    return {_mm256_broadcastsi128_si256(low), _mm256_broadcastsi128_si256(high)};
}

// The answer (0 or 1) of each of 32 bytes.
KV_AVX2 __m256i lookupBits(const TBitTable& t, __m256i bytes)
{
    const __m256i index = _mm256_and_si256(_mm256_srli_epi16(bytes, 3), _mm256_set1_epi8(0x0F));
    // The high bit of each byte picks the half.
    const __m256i map = _mm256_blendv_epi8(_mm256_shuffle_epi8(t.low, index), _mm256_shuffle_epi8(t.high, index), bytes);
    const __m256i bitOf = _mm256_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 0, 0, 0, 0, 0, 0, 0, 0, //
                                           1, 2, 4, 8, 16, 32, 64, -128, 0, 0, 0, 0, 0, 0, 0, 0);
    const __m256i bit = _mm256_shuffle_epi8(bitOf, _mm256_and_si256(bytes, _mm256_set1_epi8(7)));
    return _mm256_min_epu8(_mm256_and_si256(map, bit), _mm256_set1_epi8(1));
}

// With `gaps`, the bytes looked up are the 7 distances between neighbours of each combination.
KV_AVX2 void matchAnyByteAvx2(std::span<const TComb> combs, const TByteTable& hit, uint8_t* result, bool gaps)
{
    const TBitTable t = loadBits(hit);
    // The distance of the last byte to the 0 shifted in is not one of the seven.
    const __m256i inGap = _mm256_set1_epi64x(gaps ? 0x00FFFFFFFFFFFFFFll : -1ll);
    std::size_t i = 0;
    for (; i + 4 <= combs.size(); i += 4) {
        __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(combs.data() + i));
        if (gaps) {
            const __m256i next = _mm256_srli_epi64(v, 8);
            v = _mm256_sub_epi8(_mm256_max_epu8(v, next), _mm256_min_epu8(v, next));
        }
        const __m256i found = _mm256_and_si256(lookupBits(t, v), inGap);
        const int none = _mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpeq_epi64(found, _mm256_setzero_si256())));
        for (std::size_t j = 0; j < 4; ++j) result[i + j] = ((none >> j) & 1) == 0 ? 1 : 0;
    }
    for (; i < combs.size(); ++i) result[i] = gaps ? anyGap(combs[i], hit) : anyByte(combs[i], hit);
}

// The answers to the counts of four combinations (one per 64-bit place, below 16) written at out.
KV_AVX2 void storeFourAnswers(__m256i counts, __m256i answers, uint8_t* out)
{
    // The low byte of each lane's two counts to the lane's first two bytes.
    const __m256i gather = _mm256_setr_epi8(0, 8, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, //
                                            0, 8, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m256i picked = _mm256_shuffle_epi8(answers, _mm256_shuffle_epi8(counts, gather));
    const uint32_t four = uint32_t(_mm256_extract_epi16(picked, 0)) | uint32_t(_mm256_extract_epi16(picked, 8)) << 16;
    std::memcpy(out, &four, 4);
}

// Up to 16 answers in both lanes of a register.
KV_AVX2 __m256i loadAnswers(const uint8_t* first, const uint8_t* last)
{
    alignas(16) std::array<uint8_t, 16> answers{};
    std::copy(first, last, answers.begin());
    return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(answers.data())));
}

// A mask of 4 x 8 bits, set for the bytes b of strictly rising combinations (the first above 0).
KV_AVX2 uint32_t risingBytes(__m256i bytes)
{
    // The compare is signed, so both sides move by 128.
    const __m256i flip = _mm256_set1_epi8(-128);
    const __m256i before = _mm256_slli_epi64(bytes, 8);
    return uint32_t(
        _mm256_movemask_epi8(_mm256_cmpgt_epi8(_mm256_xor_si256(bytes, flip), _mm256_xor_si256(before, flip))));
}

// With `distinct`, a byte counts once however often it stands in the combination.
KV_AVX2 void matchByteCountAvx2(std::span<const TComb> combs, const TByteTable& in, const TCountAnswers& byCount,
                                uint8_t* result, bool distinct)
{
    const TBitTable t = loadBits(in);
    const __m256i byCountWide = loadAnswers(byCount.data(), byCount.data() + byCount.size());
    std::size_t i = 0;
    for (; i + 4 <= combs.size(); i += 4) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(combs.data() + i));
        storeFourAnswers(_mm256_sad_epu8(lookupBits(t, bytes), _mm256_setzero_si256()), byCountWide, result + i);
        if (!distinct) continue;
        // As in the AVX-512 form: strictly rising bytes (the first above 0) have no repeats.
        const uint32_t rising = risingBytes(bytes);
        if (rising == ~uint32_t(0)) continue;
        for (std::size_t j = 0; j < 4; ++j)
            if (((rising >> (8 * j)) & 0xFF) != 0xFF) result[i + j] = byCount[std::size_t(DistinctCount(combs[i + j], in))];
    }
    for (; i < combs.size(); ++i)
        result[i] = byCount[std::size_t(distinct ? DistinctCount(combs[i], in) : byteCount(combs[i], in))];
}

// As the AVX-512 form, for the bytes below 32 whose classes two shuffles of 16 find; a
// combination with a larger byte, or not rising, is counted one at a time.
KV_AVX2 void matchClassCountAvx2(std::span<const TComb> combs, const TByteTable& of, const TCountAnswers& byCount,
                                 uint8_t* result)
{
    const __m256i low = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(of.data())));
    const __m256i high = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(of.data() + 16)));
    // The answer for changes + 1 looked up by the number of changes.
    const __m256i byChanges = loadAnswers(byCount.data() + 1, byCount.data() + byCount.size());
    // The first byte of each combination has no neighbour before it.
    const __m256i notFirst = _mm256_set1_epi64x(0x0101010101010100ll);
    const __m256i small = _mm256_set1_epi8(31);
    std::size_t i = 0;
    for (; i + 4 <= combs.size(); i += 4) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(combs.data() + i));
        // Bit 4 of each byte, moved to the high bit, picks the half.
        const __m256i classes = _mm256_blendv_epi8(_mm256_shuffle_epi8(low, bytes), _mm256_shuffle_epi8(high, bytes),
                                                   _mm256_slli_epi16(bytes, 3));
        const __m256i same = _mm256_cmpeq_epi8(classes, _mm256_slli_epi64(classes, 8));
        const __m256i changes = _mm256_andnot_si256(same, notFirst);
        storeFourAnswers(_mm256_sad_epu8(changes, _mm256_setzero_si256()), byChanges, result + i);
        const uint32_t below32 =
            uint32_t(_mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_min_epu8(bytes, small), bytes)));
        const uint32_t plain = risingBytes(bytes) & below32;
        if (plain == ~uint32_t(0)) continue;
        for (std::size_t j = 0; j < 4; ++j)
            if (((plain >> (8 * j)) & 0xFF) != 0xFF)
                result[i + j] = byCount[std::size_t(DistinctClasses(combs[i + j], of))];
    }
    for (; i < combs.size(); ++i) result[i] = byCount[std::size_t(DistinctClasses(combs[i], of))];
}

#define KV_WIDE __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi")))

// A byte table in four registers, read for 64 bytes at once: two 128-byte halves by the low seven
// bits, the high bit choosing the half.
struct TWideTable {
    __m512i t0, t1, t2, t3;
};

KV_WIDE TWideTable loadTable(const TByteTable& table)
{
    return {_mm512_loadu_si512(table.data()), _mm512_loadu_si512(table.data() + 64),
            _mm512_loadu_si512(table.data() + 128), _mm512_loadu_si512(table.data() + 192)};
}

KV_WIDE __m512i lookup(const TWideTable& t, __m512i bytes)
{
    const __m512i low = _mm512_permutex2var_epi8(t.t0, bytes, t.t1);
    const __m512i high = _mm512_permutex2var_epi8(t.t2, bytes, t.t3);
    return _mm512_mask_blend_epi8(_mm512_movepi8_mask(bytes), low, high);
}

// Eight answers of a mask, one byte each, written at out.
KV_WIDE void storeAnswers(__mmask8 answers, uint8_t* out)
{
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_maskz_mov_epi8(answers, _mm_set1_epi8(1)));
}

// With `gaps`, the bytes looked up are the 7 distances between neighbours of each combination.
KV_WIDE void matchAnyByte(std::span<const TComb> combs, const TByteTable& hit, uint8_t* result, bool gaps)
{
    const TWideTable t = loadTable(hit);
    // The distance of the last byte to the 0 shifted in is not one of the seven.
    const __m512i inGap = _mm512_set1_epi64(gaps ? 0x00FFFFFFFFFFFFFFll : -1ll);
    std::size_t i = 0;
    for (; i + 8 <= combs.size(); i += 8) {
        __m512i v = _mm512_loadu_si512(combs.data() + i);
        if (gaps) {
            const __m512i next = _mm512_srli_epi64(v, 8);
            v = _mm512_sub_epi8(_mm512_max_epu8(v, next), _mm512_min_epu8(v, next));
        }
        storeAnswers(_mm512_test_epi64_mask(lookup(t, v), inGap), result + i);
    }
    for (; i < combs.size(); ++i) result[i] = gaps ? anyGap(combs[i], hit) : anyByte(combs[i], hit);
}

// With `distinct`, a byte counts once however often it stands in the combination.
KV_WIDE void matchByteCount(std::span<const TComb> combs, const TByteTable& in,
                            const TCountAnswers& byCount, uint8_t* result, bool distinct)
{
    const TWideTable t = loadTable(in);
    alignas(16) std::array<uint8_t, 16> answers{};
    std::copy(byCount.begin(), byCount.end(), answers.begin());
    const __m128i byCountWide = _mm_load_si128(reinterpret_cast<const __m128i*>(answers.data()));
    std::size_t i = 0;
    for (; i + 8 <= combs.size(); i += 8) {
        const __m512i bytes = _mm512_loadu_si512(combs.data() + i);
        // Bytes summed per combination count a repeated byte twice; a combination whose bytes
        // rise strictly (the first above 0) has none, the others are counted one at a time.
        const __m512i counts = _mm512_sad_epu8(lookup(t, bytes), _mm512_setzero_si512());
        _mm_storel_epi64(reinterpret_cast<__m128i*>(result + i),
                         _mm_permutexvar_epi8(_mm512_cvtepi64_epi8(counts), byCountWide));
        if (!distinct) continue;
        const __mmask64 rising = _mm512_cmpgt_epu8_mask(bytes, _mm512_slli_epi64(bytes, 8));
        if (rising == ~__mmask64(0)) continue;
        for (std::size_t j = 0; j < 8; ++j)
            if (((rising >> (8 * j)) & 0xFF) != 0xFF)
                result[i + j] = byCount[std::size_t(DistinctCount(combs[i + j], in))];
    }
    for (; i < combs.size(); ++i)
        result[i] = byCount[std::size_t(distinct ? DistinctCount(combs[i], in) : byteCount(combs[i], in))];
}

// Bytes that rise strictly (the first above 0) with classes that never fall: the classes are
// as many as the places where the class changes between neighbours, plus one.
KV_WIDE void matchClassCount(std::span<const TComb> combs, const TByteTable& of, const TCountAnswers& byCount,
                             uint8_t* result)
{
    const TWideTable t = loadTable(of);
    // The answer for changes + 1 looked up by the number of changes.
    alignas(16) std::array<uint8_t, 16> answers{};
    std::copy(byCount.begin() + 1, byCount.end(), answers.begin());
    const __m128i byChanges = _mm_load_si128(reinterpret_cast<const __m128i*>(answers.data()));
    const __m512i one = _mm512_set1_epi8(1);
    // The first byte of each combination has no neighbour before it.
    constexpr __mmask64 notFirst = 0xFEFEFEFEFEFEFEFEull;
    std::size_t i = 0;
    for (; i + 8 <= combs.size(); i += 8) {
        const __m512i bytes = _mm512_loadu_si512(combs.data() + i);
        const __m512i classes = lookup(t, bytes);
        const __mmask64 changes = _mm512_cmpneq_epi8_mask(classes, _mm512_slli_epi64(classes, 8)) & notFirst;
        const __m512i counts = _mm512_sad_epu8(_mm512_maskz_mov_epi8(changes, one), _mm512_setzero_si512());
        _mm_storel_epi64(reinterpret_cast<__m128i*>(result + i),
                         _mm_permutexvar_epi8(_mm512_cvtepi64_epi8(counts), byChanges));
        const __mmask64 rising = _mm512_cmpgt_epu8_mask(bytes, _mm512_slli_epi64(bytes, 8));
        if (rising == ~__mmask64(0)) continue;
        for (std::size_t j = 0; j < 8; ++j)
            if (((rising >> (8 * j)) & 0xFF) != 0xFF)
                result[i + j] = byCount[std::size_t(DistinctClasses(combs[i + j], of))];
    }
    for (; i < combs.size(); ++i) result[i] = byCount[std::size_t(DistinctClasses(combs[i], of))];
}

KV_WIDE std::ptrdiff_t matchByteTotal(std::span<const TComb> combs, const TByteTable& bySum, uint8_t* result)
{
    const TWideTable t = loadTable(bySum);
    const __m512i limit = _mm512_set1_epi64(255);
    std::ptrdiff_t unknown = 0;
    std::size_t i = 0;
    for (; i + 8 <= combs.size(); i += 8) {
        const __m512i sums = _mm512_sad_epu8(_mm512_loadu_si512(combs.data() + i), _mm512_setzero_si512());
        const __m512i found = lookup(t, _mm512_castsi128_si512(_mm512_cvtepi64_epi8(sums)));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(result + i), _mm512_castsi512_si128(found));
        const __mmask8 large = _mm512_cmpgt_epu64_mask(sums, limit);
        if (large == 0) continue;
        for (std::size_t j = 0; j < 8; ++j)
            if (((large >> j) & 1) != 0) result[i + j] = UnknownTotal;
        unknown += __builtin_popcount(large);
    }
    for (; i < combs.size(); ++i) {
        const int s = ByteTotal(combs[i]);
        result[i] = s < 256 ? bySum[std::size_t(s)] : UnknownTotal;
        unknown += s < 256 ? 0 : 1;
    }
    return unknown;
}

KV_AVX2 std::ptrdiff_t matchByteTotalAvx2(std::span<const TComb> combs, const TByteTable& bySum, uint8_t* result)
{
    std::ptrdiff_t unknown = 0;
    std::size_t i = 0;
    alignas(32) std::array<uint64_t, 4> sums{};
    for (; i + 4 <= combs.size(); i += 4) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(combs.data() + i));
        _mm256_store_si256(reinterpret_cast<__m256i*>(sums.data()), _mm256_sad_epu8(bytes, _mm256_setzero_si256()));
        for (std::size_t j = 0; j < 4; ++j) {
            const bool known = sums[j] < 256;
            result[i + j] = known ? bySum[std::size_t(sums[j] & 0xFF)] : UnknownTotal;
            unknown += known ? 0 : 1;
        }
    }
    for (; i < combs.size(); ++i) {
        const int s = ByteTotal(combs[i]);
        result[i] = s < 256 ? bySum[std::size_t(s)] : UnknownTotal;
        unknown += s < 256 ? 0 : 1;
    }
    return unknown;
}

// A carry-save adder on 512 one-bit columns: high:low = a + b + c.
KV_WIDE void addBits(__m512i& high, __m512i& low, __m512i a, __m512i b, __m512i c)
{
    low = _mm512_ternarylogic_epi64(a, b, c, 0x96);
    high = _mm512_ternarylogic_epi64(a, b, c, 0xE8);
}

// counts[base + k] += weight for each byte of `bits` with bit k set, values up to `last`.
KV_WIDE void addColumns(__m512i bits, int32_t weight, int base, int last, TByteCounts& counts)
{
    for (int k = 0; k < 8 && base + k <= last; ++k)
        counts[std::size_t(base + k)] +=
            weight * int32_t(__builtin_popcountll(_mm512_test_epi8_mask(bits, _mm512_set1_epi8(char(1 << k)))));
}

// The eight values base..base + 7 (all below 64) counted at once: each byte becomes the bit of
// its value, and the bits of sixteen vectors are added column by column before they are counted.
KV_WIDE void countGroup(const __m512i* vectors, std::size_t n, __mmask64 use, int base, int last,
                        TByteCounts& counts)
{
    alignas(64) std::array<uint8_t, 64> bitOf{};
    for (int x = base; x < base + 8 && x < 64; ++x) bitOf[std::size_t(x)] = uint8_t(1u << (x - base));
    const __m512i table = _mm512_load_si512(bitOf.data());
    __m512i ones = _mm512_setzero_si512(), twos = ones, fours = ones, eights = ones;
    for (std::size_t i = 0; i < n; i += 16) {
        __m512i a[16];
        for (std::size_t j = 0; j < 16; ++j)
            a[j] = i + j < n ? _mm512_maskz_permutexvar_epi8(use, vectors[i + j], table) : _mm512_setzero_si512();
        __m512i twosA, twosB, foursA, foursB, eightsA, eightsB, sixteens;
        addBits(twosA, ones, ones, a[0], a[1]);
        addBits(twosB, ones, ones, a[2], a[3]);
        addBits(foursA, twos, twos, twosA, twosB);
        addBits(twosA, ones, ones, a[4], a[5]);
        addBits(twosB, ones, ones, a[6], a[7]);
        addBits(foursB, twos, twos, twosA, twosB);
        addBits(eightsA, fours, fours, foursA, foursB);
        addBits(twosA, ones, ones, a[8], a[9]);
        addBits(twosB, ones, ones, a[10], a[11]);
        addBits(foursA, twos, twos, twosA, twosB);
        addBits(twosA, ones, ones, a[12], a[13]);
        addBits(twosB, ones, ones, a[14], a[15]);
        addBits(foursB, twos, twos, twosA, twosB);
        addBits(eightsB, fours, fours, foursA, foursB);
        addBits(sixteens, eights, eights, eightsA, eightsB);
        addColumns(sixteens, 16, base, last, counts);
    }
    addColumns(eights, 8, base, last, counts);
    addColumns(fours, 4, base, last, counts);
    addColumns(twos, 2, base, last, counts);
    addColumns(ones, 1, base, last, counts);
}

// Adds to counts[v] how many bytes of the n vectors (at most 255, so that a byte counter cannot
// overflow) at the places set in `use` are v, from the lowest byte present to the highest: below
// 64 eight values a pass as bits, otherwise each value compared with every byte, ten a pass.
KV_WIDE void countVectorBytes(const __m512i* vectors, std::size_t n, __mmask64 use, TByteCounts& counts)
{
    __m512i low = _mm512_set1_epi8(-1), high = _mm512_setzero_si512();
    for (std::size_t i = 0; i < n; ++i) {
        low = _mm512_mask_min_epu8(low, use, low, vectors[i]);
        high = _mm512_mask_max_epu8(high, use, high, vectors[i]);
    }
    alignas(64) std::array<uint8_t, 64> lows{}, highs{};
    _mm512_store_si512(lows.data(), low);
    _mm512_store_si512(highs.data(), high);
    const int first = *std::min_element(lows.begin(), lows.end());
    const int last = *std::max_element(highs.begin(), highs.end());
    if (last < 64) {
        for (int base = first; base <= last; base += 8) countGroup(vectors, n, use, base, last, counts);
        return;
    }
    constexpr int Block = 10;
    const __m512i minusOne = _mm512_set1_epi8(-1);
    for (int base = first; base <= last; base += Block) {
        __m512i value[Block], count[Block];
        for (int k = 0; k < Block; ++k) {
            value[k] = _mm512_set1_epi8(char(base + k));
            count[k] = _mm512_setzero_si512();
        }
        for (std::size_t i = 0; i < n; ++i) {
            const __m512i v = _mm512_load_si512(vectors + i);
            for (int k = 0; k < Block; ++k)
                count[k] = _mm512_mask_sub_epi8(count[k], _mm512_mask_cmpeq_epi8_mask(use, v, value[k]), count[k], minusOne);
        }
        for (int k = 0; k < Block && base + k <= last; ++k)
            counts[std::size_t(base + k)] +=
                int32_t(_mm512_reduce_add_epi64(_mm512_sad_epu8(count[k], _mm512_setzero_si512())));
    }
}

KV_WIDE bool countBytes(std::span<const TComb> combs, bool gaps, TByteCounts& counts)
{
    constexpr std::size_t Chunk = 255;
    __m512i chunk[Chunk];
    // A gap has no place before the first byte of a combination.
    const __mmask64 use = gaps ? __mmask64(0xFEFEFEFEFEFEFEFEull) : ~__mmask64(0);
    const std::size_t whole = combs.size() / 8;
    for (std::size_t start = 0; start < whole; start += Chunk) {
        const std::size_t n = std::min(Chunk, whole - start);
        for (std::size_t i = 0; i < n; ++i) {
            const __m512i bytes = _mm512_loadu_si512(combs.data() + 8 * (start + i));
            const __m512i before = _mm512_slli_epi64(bytes, 8);
            chunk[i] = gaps ? _mm512_sub_epi8(_mm512_max_epu8(bytes, before), _mm512_min_epu8(bytes, before)) : bytes;
        }
        countVectorBytes(chunk, n, use, counts);
    }
    CountBytesOneByOne(combs.subspan(8 * whole), gaps, counts);
    return true;
}

KV_WIDE bool countClassMasks(std::span<const TComb> combs, const TByteTable& of, TByteCounts& counts,
                             std::array<uint32_t, 256>& first)
{
    const TWideTable t = loadTable(of);
    // Each combination's bytes turned round, so that its mask comes out with bit 7 for byte 0.
    const __m512i turn = _mm512_set4_epi32(0x08090A0B, 0x0C0D0E0F, 0x00010203, 0x04050607);
    auto spread = std::make_unique<TSpreadCounts<256, 8>>();
    const std::size_t whole = combs.size() / 8 * 8;
    for (std::size_t i = combs.size(); i-- > whole;) spread->Add(0, ClassMask(combs[i], of), i, first);
    for (std::size_t i = whole; i > 0;) {
        i -= 8;
        const __m512i in = lookup(t, _mm512_shuffle_epi8(_mm512_loadu_si512(combs.data() + i), turn));
        const uint64_t masks = _mm512_test_epi8_mask(in, in);
        for (std::size_t j = 8; j-- > 0;) spread->Add(j, (masks >> (8 * j)) & 0xFF, i + j, first);
    }
    spread->AddTo(counts);
    return true;
}

// A carry-save adder on 256 one-bit columns: high:low = a + b + c.
KV_AVX2 void addBitsAvx2(__m256i& high, __m256i& low, __m256i a, __m256i b, __m256i c)
{
    const __m256i ab = _mm256_xor_si256(a, b);
    low = _mm256_xor_si256(ab, c);
    high = _mm256_or_si256(_mm256_and_si256(a, b), _mm256_and_si256(ab, c));
}

// counts[base + k] += weight for each byte of `bits` with bit k set, values up to `last`.
KV_AVX2 void addColumnsAvx2(__m256i bits, int32_t weight, int base, int last, TByteCounts& counts)
{
    for (int k = 0; k < 8 && base + k <= last; ++k)
        counts[std::size_t(base + k)] += weight * __builtin_popcount(unsigned(
            _mm256_movemask_epi8(_mm256_sll_epi64(bits, _mm_cvtsi32_si128(7 - k)))));
}

// The bit of each byte's value in a group of eight from `from`, 0 for a byte outside it (and,
// with Masked, for one not in use): the index of a byte outside gets its high bit set, which the
// shuffle answers with 0.
template <bool Masked>
KV_AVX2 inline __m256i groupBit(__m256i v, __m256i table, __m256i from, __m256i use)
{
    const __m256i bit = _mm256_shuffle_epi8(table, _mm256_adds_epu8(_mm256_sub_epi8(v, from), _mm256_set1_epi8(0x70)));
    return Masked ? _mm256_and_si256(bit, use) : bit;
}

// The bit columns of sixteen vectors added to ones, twos, fours and eights; returns the carry of
// sixteen.
template <bool Masked>
KV_AVX2 inline __m256i addSixteen(const __m256i* a, __m256i table, __m256i from, __m256i use, __m256i& ones,
                                  __m256i& twos, __m256i& fours, __m256i& eights)
{
    // A macro, not a lambda: a lambda would not carry the function's AVX2 target.
#define bitOf(j) groupBit<Masked>(a[j], table, from, use)
    __m256i twosA, twosB, foursA, foursB, eightsA, eightsB, sixteens;
    addBitsAvx2(twosA, ones, ones, bitOf(0), bitOf(1));
    addBitsAvx2(twosB, ones, ones, bitOf(2), bitOf(3));
    addBitsAvx2(foursA, twos, twos, twosA, twosB);
    addBitsAvx2(twosA, ones, ones, bitOf(4), bitOf(5));
    addBitsAvx2(twosB, ones, ones, bitOf(6), bitOf(7));
    addBitsAvx2(foursB, twos, twos, twosA, twosB);
    addBitsAvx2(eightsA, fours, fours, foursA, foursB);
    addBitsAvx2(twosA, ones, ones, bitOf(8), bitOf(9));
    addBitsAvx2(twosB, ones, ones, bitOf(10), bitOf(11));
    addBitsAvx2(foursA, twos, twos, twosA, twosB);
    addBitsAvx2(twosA, ones, ones, bitOf(12), bitOf(13));
    addBitsAvx2(twosB, ones, ones, bitOf(14), bitOf(15));
    addBitsAvx2(foursB, twos, twos, twosA, twosB);
    addBitsAvx2(eightsB, fours, fours, foursA, foursB);
    addBitsAvx2(sixteens, eights, eights, eightsA, eightsB);
#undef bitOf
    return sixteens;
}

// The eight values base..base + 7 counted at once, as in the AVX-512 form, with one more level of
// carries so that the columns are counted once every 32 vectors.
template <bool Masked>
KV_AVX2 void countGroupAvx2(const __m256i* vectors, std::size_t n, __m256i use, int base, int last,
                            TByteCounts& counts)
{
    const __m256i table = _mm256_setr_epi8(1, 2, 4, 8, 16, 32, 64, -128, 0, 0, 0, 0, 0, 0, 0, 0, //
                                           1, 2, 4, 8, 16, 32, 64, -128, 0, 0, 0, 0, 0, 0, 0, 0);
    const __m256i from = _mm256_set1_epi8(char(base));
    __m256i ones = _mm256_setzero_si256(), twos = ones, fours = ones, eights = ones, sixteens = ones;
    std::size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i sixteensA = addSixteen<Masked>(vectors + i, table, from, use, ones, twos, fours, eights);
        const __m256i sixteensB = addSixteen<Masked>(vectors + i + 16, table, from, use, ones, twos, fours, eights);
        __m256i thirtyTwos;
        addBitsAvx2(thirtyTwos, sixteens, sixteens, sixteensA, sixteensB);
        addColumnsAvx2(thirtyTwos, 32, base, last, counts);
    }
    if (i + 16 <= n) {
        addColumnsAvx2(addSixteen<Masked>(vectors + i, table, from, use, ones, twos, fours, eights), 16, base, last,
                       counts);
        i += 16;
    }
    for (; i < n; ++i) addColumnsAvx2(groupBit<Masked>(vectors[i], table, from, use), 1, base, last, counts);
    addColumnsAvx2(sixteens, 16, base, last, counts);
    addColumnsAvx2(eights, 8, base, last, counts);
    addColumnsAvx2(fours, 4, base, last, counts);
    addColumnsAvx2(twos, 2, base, last, counts);
    addColumnsAvx2(ones, 1, base, last, counts);
}

// The gaps between neighbours (DIFA); the drawn bytes themselves count faster by runs (CountBytesSse2).
KV_AVX2 bool countGapsAvx2(std::span<const TComb> combs, TByteCounts& counts)
{
    constexpr std::size_t Chunk = 256;
    alignas(32) __m256i chunk[Chunk];
    // A gap has no place before the first byte of a combination.
    const __m256i use = _mm256_set1_epi64x(int64_t(0xFFFFFFFFFFFFFF00ull));
    const std::size_t whole = combs.size() / 4;
    for (std::size_t start = 0; start < whole; start += Chunk) {
        const std::size_t n = std::min(Chunk, whole - start);
        __m256i low = _mm256_set1_epi8(-1), high = _mm256_setzero_si256();
        for (std::size_t i = 0; i < n; ++i) {
            const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(combs.data() + 4 * (start + i)));
            const __m256i before = _mm256_slli_epi64(bytes, 8);
            const __m256i v = _mm256_sub_epi8(_mm256_max_epu8(bytes, before), _mm256_min_epu8(bytes, before));
            chunk[i] = v;
            low = _mm256_min_epu8(low, _mm256_or_si256(v, _mm256_andnot_si256(use, _mm256_set1_epi8(-1))));
            high = _mm256_max_epu8(high, _mm256_and_si256(v, use));
        }
        alignas(32) std::array<uint8_t, 32> lows{}, highs{};
        _mm256_store_si256(reinterpret_cast<__m256i*>(lows.data()), low);
        _mm256_store_si256(reinterpret_cast<__m256i*>(highs.data()), high);
        const int first = *std::min_element(lows.begin(), lows.end());
        const int last = *std::max_element(highs.begin(), highs.end());
        for (int base = first; base <= last; base += 8)
            countGroupAvx2<true>(chunk, n, use, base, last, counts);
    }
    CountBytesOneByOne(combs.subspan(4 * whole), true, counts);
    return true;
}

KV_AVX2 bool countClassMasksAvx2(std::span<const TComb> combs, const TByteTable& of, TByteCounts& counts,
                                 std::array<uint32_t, 256>& first)
{
    const TBitTable t = loadBits(of);
    // Each combination's bytes turned round, so that its mask comes out with bit 7 for byte 0.
    const __m256i turn = _mm256_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8, //
                                          7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
    auto spread = std::make_unique<TSpreadCounts<256, 8>>();
    const std::size_t whole = combs.size() / 4 * 4;
    for (std::size_t i = combs.size(); i-- > whole;) spread->Add(0, ClassMask(combs[i], of), i, first);
    for (std::size_t i = whole; i > 0;) {
        i -= 4;
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(combs.data() + i));
        // Answers of 0 or 1 moved to the high bit of their byte.
        const uint32_t masks = uint32_t(_mm256_movemask_epi8(
            _mm256_slli_epi16(lookupBits(t, _mm256_shuffle_epi8(bytes, turn)), 7)));
        for (std::size_t j = 4; j-- > 0;) spread->Add(j, (masks >> (8 * j)) & 0xFF, i + j, first);
    }
    spread->AddTo(counts);
    return true;
}

KV_AVX2 bool countByteTotalsAvx2(std::span<const TComb> combs, std::array<int32_t, ByteTotals>& counts,
                                 std::array<uint32_t, ByteTotals>& first)
{
    auto spread = std::make_unique<TSpreadCounts<ByteTotals, 4>>();
    const std::size_t whole = combs.size() / 4 * 4;
    for (std::size_t i = combs.size(); i-- > whole;) spread->Add(0, std::size_t(ByteTotal(combs[i])), i, first);
    alignas(32) std::array<uint64_t, 4> sums{};
    for (std::size_t i = whole; i > 0;) {
        i -= 4;
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(combs.data() + i));
        _mm256_store_si256(reinterpret_cast<__m256i*>(sums.data()), _mm256_sad_epu8(bytes, _mm256_setzero_si256()));
        for (std::size_t j = 4; j-- > 0;) spread->Add(j, std::size_t(sums[j]), i + j, first);
    }
    spread->AddTo(counts);
    return true;
}

#else

// Never called: there are no wide vectors.
bool countBytes(std::span<const TComb>, bool, TByteCounts&) { return false; }
bool countClassMasks(std::span<const TComb>, const TByteTable&, TByteCounts&, std::array<uint32_t, 256>&)
{
    return false;
}
bool countGapsAvx2(std::span<const TComb>, TByteCounts&) { return false; }
bool countClassMasksAvx2(std::span<const TComb>, const TByteTable&, TByteCounts&, std::array<uint32_t, 256>&)
{
    return false;
}
bool countByteTotalsAvx2(std::span<const TComb>, std::array<int32_t, ByteTotals>&, std::array<uint32_t, ByteTotals>&)
{
    return false;
}
void matchClassCount(std::span<const TComb>, const TByteTable&, const TCountAnswers&, uint8_t*) {}
void matchClassCountAvx2(std::span<const TComb>, const TByteTable&, const TCountAnswers&, uint8_t*) {}
std::ptrdiff_t matchByteTotal(std::span<const TComb>, const TByteTable&, uint8_t*) { return -1; }
std::ptrdiff_t matchByteTotalAvx2(std::span<const TComb>, const TByteTable&, uint8_t*) { return -1; }
void matchAnyByte(std::span<const TComb>, const TByteTable&, uint8_t*, bool) {}
void matchByteCount(std::span<const TComb>, const TByteTable&, const TCountAnswers&, uint8_t*, bool) {}
void matchAnyByteAvx2(std::span<const TComb>, const TByteTable&, uint8_t*, bool) {}
void matchByteCountAvx2(std::span<const TComb>, const TByteTable&, const TCountAnswers&, uint8_t*, bool) {}

#endif

} // namespace

TWideForm BestWideForm() { return detected(); }

TWideForm WideFormByName(const char* name)
{
    std::string v = name == nullptr ? std::string() : std::string(name);
    for (char& c : v) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (v == "0" || v == "plain") return TWideForm::Plain;
    if (v == "avx2") return TWideForm::Avx2;
    return TWideForm::Avx512;
}

const char* WideFormName(TWideForm form)
{
    switch (form) {
    case TWideForm::Avx512: return "avx512";
    case TWideForm::Avx2: return "avx2";
    case TWideForm::Plain: break;
    }
    return "plain";
}

TWideForm WideForm() { return std::min(requested.load(std::memory_order_relaxed), detected()); }

TWideForm SetWideForm(TWideForm form)
{
    requested.store(form, std::memory_order_relaxed);
    return WideForm();
}

namespace {

bool matchAny(std::span<const TComb> combs, const TByteTable& hit, uint8_t* result, bool gaps)
{
    switch (WideForm()) {
    case TWideForm::Avx512: matchAnyByte(combs, hit, result, gaps); return true;
    case TWideForm::Avx2: matchAnyByteAvx2(combs, hit, result, gaps); return true;
    case TWideForm::Plain: break;
    }
#if defined(__x86_64__)
    return MatchAnySse2(combs, hit, result, gaps);
#else
    return false;
#endif
}

} // namespace

bool MatchAnyByte(std::span<const TComb> combs, const TByteTable& hit, uint8_t* result)
{
    return matchAny(combs, hit, result, false);
}

bool MatchAnyGap(std::span<const TComb> combs, const TByteTable& hit, uint8_t* result)
{
    return matchAny(combs, hit, result, true);
}

namespace {

bool matchCounts(std::span<const TComb> combs, const TByteTable& in, const TCountAnswers& byCount, uint8_t* result,
                 bool distinct)
{
    switch (WideForm()) {
    case TWideForm::Avx512: matchByteCount(combs, in, byCount, result, distinct); return true;
    case TWideForm::Avx2: matchByteCountAvx2(combs, in, byCount, result, distinct); return true;
    case TWideForm::Plain: break;
    }
#if defined(__x86_64__)
    return MatchCountSse2(combs, in, byCount, result, distinct);
#else
    return false;
#endif
}

} // namespace

bool MatchByteCount(std::span<const TComb> combs, const TByteTable& in, const TCountAnswers& byCount,
                    uint8_t* result)
{
    return matchCounts(combs, in, byCount, result, true);
}

bool MatchByteSum(std::span<const TComb> combs, const TByteTable& in, const TCountAnswers& byCount,
                  uint8_t* result)
{
    return matchCounts(combs, in, byCount, result, false);
}

bool MatchClassCount(std::span<const TComb> combs, const TByteTable& of, const TCountAnswers& byCount,
                     uint8_t* result)
{
    if (!std::is_sorted(of.begin(), of.end())) return false;
    switch (WideForm()) {
    case TWideForm::Avx512: matchClassCount(combs, of, byCount, result); return true;
    case TWideForm::Avx2: matchClassCountAvx2(combs, of, byCount, result); return true;
    case TWideForm::Plain: break;
    }
#if defined(__x86_64__)
    return MatchClassCountSse2(combs, of, byCount, result);
#else
    return false;
#endif
}

std::ptrdiff_t MatchByteTotal(std::span<const TComb> combs, const TByteTable& bySum, uint8_t* result)
{
    switch (WideForm()) {
    case TWideForm::Avx512: return matchByteTotal(combs, bySum, result);
    case TWideForm::Avx2: return matchByteTotalAvx2(combs, bySum, result);
    case TWideForm::Plain: break;
    }
#if defined(__x86_64__)
    return MatchByteTotalSse2(combs, bySum, result);
#else
    return -1;
#endif
}

bool CountBytes(std::span<const TComb> combs, bool gaps, TByteCounts& counts)
{
    switch (WideForm()) {
    case TWideForm::Avx512: return countBytes(combs, gaps, counts);
    // The numbers themselves are counted faster by runs of first halves (as the plain form
    // does) than in AVX2 bit columns; the gaps, which vary more, the other way round.
    case TWideForm::Avx2: return gaps ? countGapsAvx2(combs, counts) : CountBytesSse2(combs, gaps, counts);
    case TWideForm::Plain: break;
    }
#if defined(__x86_64__)
    return CountBytesSse2(combs, gaps, counts);
#else
    return false;
#endif
}

bool CountClassMasks(std::span<const TComb> combs, const TByteTable& of, TByteCounts& counts,
                     std::array<uint32_t, 256>& first)
{
    switch (WideForm()) {
    case TWideForm::Avx512: return countClassMasks(combs, of, counts, first);
    case TWideForm::Avx2: return countClassMasksAvx2(combs, of, counts, first);
    case TWideForm::Plain: break;
    }
#if defined(__x86_64__)
    return CountClassMasksSse2(combs, of, counts, first);
#else
    return false;
#endif
}

bool CountByteTotals(std::span<const TComb> combs, std::array<int32_t, ByteTotals>& counts,
                     std::array<uint32_t, ByteTotals>& first)
{
    switch (WideForm()) {
    // The counting of each sum bounds this pass: eight sums narrowed and taken out of a wider
    // register cost more than four, so the AVX-512 form takes the AVX2 one.
    case TWideForm::Avx512:
    case TWideForm::Avx2: return countByteTotalsAvx2(combs, counts, first);
    case TWideForm::Plain: break;
    }
#if defined(__x86_64__)
    return CountByteTotalsSse2(combs, counts, first);
#else
    return false;
#endif
}

} // namespace kv::game

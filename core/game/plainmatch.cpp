#include "core/game/plainmatch.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/game/widecounts.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace kv::game::wide {

#if defined(__x86_64__)

namespace {

// The helpers of a step work on registers only when they are inlined into the pass.
#define KV_STEP inline __attribute__((always_inline))

// Eight combinations, four vectors of two, make a step: their answers leave as one 8-byte store.
constexpr std::size_t Step = 8;
constexpr int Vectors = 4;
using TStepVectors = __m128i[Vectors];
constexpr unsigned WholeStep = (1u << Step) - 1;

// The price of a table in compares per vector: a value 1, a run of values 2 (subtract, compare).
// A read of a table per byte costs about as much as 30 (a subset of the field takes at most 14).
constexpr int MaxCost = 24;

// A byte table as compares: bit `bit` of the byte, or the values and runs of values of one answer.
struct TSetTest {
    int bit = -1;
    __m128i shift{};
    // The compares find the bytes the table answers 0 for; their answers are turned round.
    bool outside = false;
    int singles = 0, runs = 0;
    __m128i single[MaxCost];
    // A byte b is in run s when b - low[s] < limit[s] as signed bytes: the subtraction moves the
    // run to the bottom of the signed range, -128 on.
    __m128i low[MaxCost / 2], limit[MaxCost / 2];
};

// Calls run(first, last, answer) for each run of equal answers of the table.
template <class Run>
void forEachRun(const TByteTable& table, Run&& run)
{
    for (std::size_t b = 0, e = 0; b < table.size(); b = e + 1) {
        const bool answer = table[b] != 0;
        for (e = b; e + 1 < table.size() && (table[e + 1] != 0) == answer;) ++e;
        run(int(b), int(e), answer);
    }
}

bool makeSetTest(const TByteTable& table, TSetTest& t)
{
    bool inverted = false;
    t.bit = TableBit(table, inverted);
    if (t.bit >= 0) {
        t.outside = inverted;
        t.shift = _mm_cvtsi32_si128(7 - t.bit);
        return true;
    }
    std::array<int, 2> cost{};
    forEachRun(table, [&](int b, int e, bool answer) { cost[answer ? 1 : 0] += b == e ? 1 : 2; });
    t.outside = cost[0] < cost[1];
    if (cost[t.outside ? 0 : 1] > MaxCost) return false;
    forEachRun(table, [&](int b, int e, bool answer) {
        if (answer == t.outside) return;
        if (b == e) {
            t.single[t.singles++] = _mm_set1_epi8(char(b));
            return;
        }
        // A run spans at most 255 bytes: one of 256 costs nothing the other way round.
        t.low[t.runs] = _mm_set1_epi8(char(b - 128));
        t.limit[t.runs++] = _mm_set1_epi8(char(e - b - 127));
    });
    return true;
}

// Each byte 0xFF where the table answers 1, else 0.
KV_STEP void inTable(const TSetTest& t, const TStepVectors& v, TStepVectors& r)
{
    const __m128i zero = _mm_setzero_si128();
    if (t.bit >= 0) {
        // Bit `bit` of each byte moved to its high bit (a 16-bit shift keeps each byte's own bits
        // there) and spread over the byte.
        for (int k = 0; k < Vectors; ++k) r[k] = _mm_cmpgt_epi8(zero, _mm_sll_epi16(v[k], t.shift));
    } else {
        for (__m128i& x : r) x = zero;
        for (int s = 0; s < t.singles; ++s)
            for (int k = 0; k < Vectors; ++k) r[k] = _mm_or_si128(r[k], _mm_cmpeq_epi8(v[k], t.single[s]));
        for (int s = 0; s < t.runs; ++s)
            for (int k = 0; k < Vectors; ++k)
                r[k] = _mm_or_si128(r[k], _mm_cmpgt_epi8(t.limit[s], _mm_sub_epi8(v[k], t.low[s])));
    }
    if (t.outside)
        for (int k = 0; k < Vectors; ++k) r[k] = _mm_xor_si128(r[k], _mm_set1_epi8(-1));
}

// The step from combination i: the last one of a list padded with zeros.
KV_STEP void loadStep(std::span<const TComb> combs, std::size_t i, TStepVectors& v)
{
    const TComb* c = combs.data() + i;
    if (i + Step <= combs.size()) {
        for (int k = 0; k < Vectors; ++k) v[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c + 2 * k));
        return;
    }
    alignas(16) std::array<TComb, Step> rest{};
    std::copy(c, combs.data() + combs.size(), rest.begin());
    for (int k = 0; k < Vectors; ++k) v[k] = _mm_load_si128(reinterpret_cast<const __m128i*>(rest.data() + 2 * k));
}

// The answers of the step's combinations (the low 8 bytes) written for those of the list.
KV_STEP void storeStep(__m128i answers, uint8_t* out, std::size_t n)
{
    if (n >= Step) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), answers);
        return;
    }
    alignas(16) std::array<uint8_t, 16> all{};
    _mm_store_si128(reinterpret_cast<__m128i*>(all.data()), answers);
    std::memcpy(out, all.data(), n);
}

// The sum of the bytes of each combination of the step (below 32768) as eight 16-bit words, in
// order: the 64-bit sums narrowed twice.
KV_STEP __m128i stepSums(const TStepVectors& r)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_packs_epi32(_mm_sad_epu8(r[0], zero), _mm_sad_epu8(r[1], zero));
    const __m128i high = _mm_packs_epi32(_mm_sad_epu8(r[2], zero), _mm_sad_epu8(r[3], zero));
    return _mm_packs_epi32(low, high);
}

// The counts of the step (bytes 0..8) answered by a table of counts: each count with an answer
// compared.
struct TCountTest {
    int n = 0;
    __m128i count[NumsPerDraw + 1], answer[NumsPerDraw + 1];
    // `from`: the count that answers[0] belongs to.
    TCountTest(const TCountAnswers& answers, int from)
    {
        for (std::size_t k = 0; k < answers.size(); ++k) {
            if (answers[k] == 0 || int(k) < from) continue;
            count[n] = _mm_set1_epi8(char(int(k) - from));
            answer[n++] = _mm_set1_epi8(char(answers[k]));
        }
    }
    KV_STEP __m128i Answer(__m128i counts) const
    {
        __m128i r = _mm_setzero_si128();
        for (int j = 0; j < n; ++j)
            r = _mm_or_si128(r, _mm_and_si128(_mm_cmpeq_epi8(counts, count[j]), answer[j]));
        return r;
    }
};

// Bit j set for each combination j of the step whose 8 bytes are all set in `ok`, the bytes of
// `given` (a mask of the 16 bytes of a vector) taken as set.
KV_STEP unsigned passing(const TStepVectors& ok, unsigned given = 0)
{
    const __m128i all = _mm_and_si128(_mm_and_si128(ok[0], ok[1]), _mm_and_si128(ok[2], ok[3]));
    if ((unsigned(_mm_movemask_epi8(all)) | given) == 0xFFFF) return WholeStep;
    unsigned bits = 0;
    for (int k = 0; k < Vectors; ++k) {
        const unsigned m = unsigned(_mm_movemask_epi8(ok[k])) | given;
        bits |= ((m & 0xFF) == 0xFF ? 1u : 0u) << (2 * k) | ((m >> 8) == 0xFF ? 1u : 0u) << (2 * k + 1);
    }
    return bits;
}

// Bit j set for each combination j of the step whose bytes rise strictly (no repeats).
KV_STEP unsigned rising(const TStepVectors& v)
{
    // Compared as signed bytes, all moved by 128; the first byte has none before it.
    const __m128i flip = _mm_set1_epi8(-128);
    TStepVectors ok;
    for (int k = 0; k < Vectors; ++k) {
        const __m128i x = _mm_xor_si128(v[k], flip);
        ok[k] = _mm_cmpgt_epi8(x, _mm_slli_epi64(x, 8));
    }
    return passing(ok, 0x0101);
}

} // namespace

bool MatchAnySse2(std::span<const TComb> combs, const TByteTable& hit, uint8_t* result, bool gaps)
{
    TSetTest t;
    if (!makeSetTest(hit, t)) return false;
    // Byte 0 of a combination's distances is no distance.
    const __m128i used = _mm_set1_epi64x(int64_t(0xFFFFFFFFFFFFFF00ull));
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi8(1);
    for (std::size_t i = 0; i < combs.size(); i += Step) {
        TStepVectors v, r;
        loadStep(combs, i, v);
        if (gaps)
            for (__m128i& x : v) x = GapsOf(x);
        inTable(t, v, r);
        if (gaps)
            for (__m128i& x : r) x = _mm_and_si128(x, used);
        // Each combination's 8 bytes narrowed to one by three signed packs of pairs (a pair with a
        // byte set stays nonzero), in order.
        const __m128i quarters = _mm_packs_epi16(_mm_packs_epi16(r[0], r[1]), _mm_packs_epi16(r[2], r[3]));
        const __m128i any = _mm_packs_epi16(quarters, quarters);
        storeStep(_mm_andnot_si128(_mm_cmpeq_epi8(any, zero), one), result + i, combs.size() - i);
    }
    return true;
}

bool MatchCountSse2(std::span<const TComb> combs, const TByteTable& in, const TCountAnswers& byCount,
                    uint8_t* result, bool distinct)
{
    TSetTest t;
    if (!makeSetTest(in, t)) return false;
    const TCountTest answers(byCount, 0);
    const __m128i one = _mm_set1_epi8(1);
    for (std::size_t i = 0; i < combs.size(); i += Step) {
        TStepVectors v, r;
        loadStep(combs, i, v);
        inTable(t, v, r);
        for (__m128i& x : r) x = _mm_and_si128(x, one);
        const __m128i counts = stepSums(r);
        const std::size_t n = std::min(Step, combs.size() - i);
        storeStep(answers.Answer(_mm_packus_epi16(counts, counts)), result + i, n);
        // Bytes summed count a repeated byte twice: a combination with one is counted on its own.
        const unsigned plain = distinct ? rising(v) : WholeStep;
        if (plain == WholeStep) continue;
        for (std::size_t j = 0; j < n; ++j)
            if ((plain >> j & 1u) == 0) result[i + j] = byCount[std::size_t(DistinctCount(combs[i + j], in))];
    }
    return true;
}

// Bytes of the field that never fall have classes that never fall: the classes are as many as the
// places where the class changes between neighbours, plus one. A byte's class is told apart by
// how many boundaries of classes lie below it.
bool MatchClassCountSse2(std::span<const TComb> combs, const TByteTable& of, const TCountAnswers& byCount,
                         uint8_t* result)
{
    constexpr int MaxBoundaries = 10;
    __m128i boundary[MaxBoundaries];
    int boundaries = 0;
    for (std::size_t b = MinNumber; b < MaxNumber; ++b) {
        if (of[b] == of[b + 1]) continue;
        if (boundaries == MaxBoundaries) return false;
        boundary[boundaries++] = _mm_set1_epi8(char(b));
    }
    const TCountTest answers(byCount, 1);
    const __m128i notFirst = _mm_set1_epi64x(0x0101010101010100ll);
    // A combination is in the field when its bytes never fall, from at least the least number,
    // and its last byte, the largest, is at most the greatest number.
    const __m128i least = _mm_set1_epi64x(MinNumber);
    const __m128i greatest = _mm_set1_epi8(MaxNumber);
    for (std::size_t i = 0; i < combs.size(); i += Step) {
        TStepVectors v, changes, ok;
        loadStep(combs, i, v);
        for (int k = 0; k < Vectors; ++k) {
            // Classes compared as signed bytes: a byte from 128 up fails the field test anyway.
            __m128i classes = _mm_setzero_si128();
            for (int s = 0; s < boundaries; ++s)
                classes = _mm_sub_epi8(classes, _mm_cmpgt_epi8(v[k], boundary[s]));
            const __m128i same = _mm_cmpeq_epi8(classes, _mm_slli_epi64(classes, 8));
            changes[k] = _mm_andnot_si128(same, notFirst);
            const __m128i before = _mm_or_si128(_mm_slli_epi64(v[k], 8), least);
            ok[k] = _mm_cmpeq_epi8(_mm_max_epu8(v[k], before), v[k]);
        }
        const __m128i top = _mm_max_epu8(_mm_max_epu8(v[0], v[1]), _mm_max_epu8(v[2], v[3]));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(top, greatest), greatest)) != 0xFFFF)
            for (int k = 0; k < Vectors; ++k)
                ok[k] = _mm_and_si128(ok[k], _mm_cmpeq_epi8(_mm_max_epu8(v[k], greatest), greatest));
        const __m128i counts = stepSums(changes);
        const std::size_t n = std::min(Step, combs.size() - i);
        storeStep(answers.Answer(_mm_packus_epi16(counts, counts)), result + i, n);
        const unsigned plain = passing(ok);
        if (plain == WholeStep) continue;
        for (std::size_t j = 0; j < n; ++j)
            if ((plain >> j & 1u) == 0) result[i + j] = byCount[std::size_t(DistinctClasses(combs[i + j], of))];
    }
    return true;
}

std::ptrdiff_t MatchByteTotalSse2(std::span<const TComb> combs, const TByteTable& bySum, uint8_t* result)
{
    std::ptrdiff_t unknown = 0;
    alignas(16) std::array<uint8_t, 16> sums{};
    for (std::size_t i = 0; i < combs.size(); i += Step) {
        TStepVectors v;
        loadStep(combs, i, v);
        const __m128i words = stepSums(v);
        // Two bits for each sum above 255 (only stray bytes make one), which the narrowing to
        // bytes cuts to 255.
        const unsigned large = unsigned(_mm_movemask_epi8(_mm_cmpgt_epi16(words, _mm_set1_epi16(255))));
        _mm_store_si128(reinterpret_cast<__m128i*>(sums.data()), _mm_packus_epi16(words, words));
        const std::size_t n = std::min(Step, combs.size() - i);
        for (std::size_t j = 0; j < n; ++j) result[i + j] = bySum[sums[j]];
        if (large == 0) continue;
        for (std::size_t j = 0; j < n; ++j) {
            if ((large >> (2 * j) & 1u) == 0) continue;
            result[i + j] = UnknownTotal;
            ++unknown;
        }
    }
    return unknown;
}

#endif

} // namespace kv::game::wide

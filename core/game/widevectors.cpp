#include "core/game/widevectors.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string_view>

#if defined(__x86_64__)
#if defined(__GNUC__) && !defined(__clang__)
// GCC 12 warns of the intrinsics' own undefined start values (their masked forms) as uninitialized.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#endif

namespace kv::game {

namespace {

// KVANTA_WIDE_VECTORS=0 runs the plain forms, to compare the two.
std::atomic<bool> allowed{[] {
    const char* v = std::getenv("KVANTA_WIDE_VECTORS");
    return v == nullptr || std::string_view(v) != "0";
}()};

bool detected()
{
#if defined(__x86_64__)
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi");
    return has;
#else
    return false;
#endif
}

// The different bytes b of a combination with in[b] != 0 counted one at a time.
int distinctCount(const TComb& c, const TByteTable& in)
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

// The bytes b of a combination with in[b] = 1, each as often as it stands there.
int byteCount(const TComb& c, const TByteTable& in)
{
    return in[c[0]] + in[c[1]] + in[c[2]] + in[c[3]] + in[c[4]] + in[c[5]] + in[c[6]] + in[c[7]];
}

#if defined(__x86_64__)

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

KV_WIDE void matchAnyByte(std::span<const TComb> combs, const TByteTable& hit, uint8_t* result)
{
    const TWideTable t = loadTable(hit);
    std::size_t i = 0;
    for (; i + 8 <= combs.size(); i += 8) {
        const __m512i found = lookup(t, _mm512_loadu_si512(combs.data() + i));
        storeAnswers(_mm512_test_epi64_mask(found, found), result + i);
    }
    for (; i < combs.size(); ++i) {
        const TComb& c = combs[i];
        result[i] = (hit[c[0]] | hit[c[1]] | hit[c[2]] | hit[c[3]] | hit[c[4]] | hit[c[5]] | hit[c[6]] | hit[c[7]]) != 0;
    }
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
                result[i + j] = byCount[std::size_t(distinctCount(combs[i + j], in))];
    }
    for (; i < combs.size(); ++i)
        result[i] = byCount[std::size_t(distinct ? distinctCount(combs[i], in) : byteCount(combs[i], in))];
}

#else

// Never called: there are no wide vectors.
void matchAnyByte(std::span<const TComb>, const TByteTable&, uint8_t*) {}
void matchByteCount(std::span<const TComb>, const TByteTable&, const TCountAnswers&, uint8_t*, bool)
{
}

#endif

} // namespace

bool WideVectors() { return allowed.load(std::memory_order_relaxed) && detected(); }

void AllowWideVectors(bool allow) { allowed.store(allow, std::memory_order_relaxed); }

namespace {

// Runs a wide form when there are wide vectors; false otherwise.
template <class Wide>
bool runWide(Wide&& wide)
{
    if (!WideVectors()) return false;
    wide();
    return true;
}

} // namespace

bool MatchAnyByte(std::span<const TComb> combs, const TByteTable& hit, uint8_t* result)
{
    return runWide([&] { matchAnyByte(combs, hit, result); });
}

bool MatchByteCount(std::span<const TComb> combs, const TByteTable& in, const TCountAnswers& byCount,
                    uint8_t* result)
{
    return runWide([&] { matchByteCount(combs, in, byCount, result, true); });
}

bool MatchByteSum(std::span<const TComb> combs, const TByteTable& in, const TCountAnswers& byCount,
                  uint8_t* result)
{
    return runWide([&] { matchByteCount(combs, in, byCount, result, false); });
}

} // namespace kv::game

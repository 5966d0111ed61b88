#include "core/filters/compact.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/game/bits.h"
#include "core/game/widevectors.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace kv::filters {

namespace {

// Moves the kept ones of n items at `from` to `to` (at or before `from`, or another list); returns
// how many.
// Every combination is written and the end moves only past the kept ones: with about half of a
// list kept, a branch per combination would mostly be mispredicted.
std::size_t moveKept(game::TComb* to, const game::TComb* from, const uint8_t* answers, std::size_t n, bool keep)
{
    const unsigned keepWhen = keep ? 1u : 0u;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < n; ++i) {
        to[kept] = from[i];
        kept += (answers[i] != 0 ? 1u : 0u) == keepWhen ? 1u : 0u;
    }
    return kept;
}

constexpr uint64_t Low7 = 0x7F7F7F7F7F7F7F7Full;

// The high bit of each nonzero byte of a word.
uint64_t nonZeroBytes(uint64_t w)
{
    return (((w & Low7) + Low7) | w) & ~Low7;
}

// For each choice of 8 combinations (bit j for the j-th), where the chosen ones are, in order. The
// slots past them are written too (the next block writes over them) and read the last place.
constexpr std::array<std::array<uint8_t, 8>, 256> KeptPlaces = [] {
    std::array<std::array<uint8_t, 8>, 256> t{};
    for (std::size_t m = 0; m < t.size(); ++m) {
        std::size_t k = 0;
        for (uint8_t j = 0; j < 8; ++j)
            if ((m >> j) & 1) t[m][k++] = j;
        for (; k < 8; ++k) t[m][k] = 7;
    }
    return t;
}();

// The plain form eight at a time: runs of eight dropped are skipped unread; otherwise all eight
// slots are written from the kept places (a table rather than a branch per combination, which
// with about half of a list kept would mostly be mispredicted) and the end moves past the kept.
std::size_t keepPlain(game::TComb* to, const game::TComb* from, const uint8_t* answers, std::size_t total, bool keep)
{
    const uint64_t flip = keep ? 0 : ~Low7;
    std::size_t kept = 0, i = 0;
    for (; i + 8 <= total; i += 8) {
        uint64_t w;
        std::memcpy(&w, answers + i, sizeof w);
        // The high bit of each wanted answer's byte gathered into one byte.
        const unsigned take = unsigned(((nonZeroBytes(w) ^ flip) * 0x0002040810204081ull) >> 56);
        if (take == 0) continue;
        const std::array<uint8_t, 8>& places = KeptPlaces[take];
        // In place, the k-th chosen place is at or after slot k: nothing chosen is written over
        // before it is read.
#if defined(__x86_64__)
        // Two combinations to a store: written one by one, the stores were what the cut waited on.
        for (std::size_t k = 0; k < 8; k += 2) {
            const __m128i low = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(from + i + places[k]));
            const __m128d pair =
                _mm_loadh_pd(_mm_castsi128_pd(low), reinterpret_cast<const double*>(from + i + places[k + 1]));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + kept + k), _mm_castpd_si128(pair));
        }
#else
        for (std::size_t k = 0; k < 8; ++k) to[kept + k] = from[i + places[k]];
#endif
        kept += game::BitCounts11[take];
    }
    return kept + moveKept(to + kept, from + i, answers + i, total - i, keep);
}

#if defined(__x86_64__)

__attribute__((target("avx512f,avx512bw,avx512vl"))) std::size_t keepAvx512(game::TComb* to,
                                                                              const game::TComb* from,
                                                                              const uint8_t* answers,
                                                                              std::size_t total, bool keep)
{
    static_assert(sizeof(game::TComb) == sizeof(uint64_t));
    const __mmask8 flip = keep ? 0 : 0xFF;
    std::size_t kept = 0, i = 0;
    for (; i + 8 <= total; i += 8) {
        const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(answers + i));
        const __mmask8 take = static_cast<__mmask8>(_mm_test_epi8_mask(a, a) ^ flip);
        // Eight dropped are not even read: a pass that empties the list reads only its answers.
        if (take == 0) continue;
        const __m512i v = _mm512_loadu_si512(from + i);
        // The 8 slots written start at or before the 8 just read, so in place nothing unread is
        // overwritten, and into another list nothing past `total` is.
        _mm512_storeu_si512(to + kept, _mm512_maskz_compress_epi64(take, v));
        kept += game::BitCounts11[take];
    }
    return kept + moveKept(to + kept, from + i, answers + i, total - i, keep);
}

// For each choice of 4 combinations (bit j for the j-th), the 32-bit halves that bring the chosen
// ones to the front in order: AVX2 has no compress instruction, a permutation does its work.
constexpr std::array<std::array<uint32_t, 8>, 16> CompressOrder = [] {
    std::array<std::array<uint32_t, 8>, 16> t{};
    for (std::size_t m = 0; m < t.size(); ++m) {
        std::size_t k = 0;
        for (uint32_t j = 0; j < 4; ++j)
            if ((m >> j) & 1) {
                t[m][k++] = 2 * j;
                t[m][k++] = 2 * j + 1;
            }
    }
    return t;
}();

__attribute__((target("avx2"))) std::size_t keepAvx2(game::TComb* to, const game::TComb* from,
                                                      const uint8_t* answers, std::size_t total, bool keep)
{
    const unsigned flip = keep ? 0xFF : 0;
    std::size_t kept = 0, i = 0;
    for (; i + 8 <= total; i += 8) {
        const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(answers + i));
        // A bit per answer that is 0, turned to the wanted ones.
        const unsigned take = (unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(a, _mm_setzero_si128()))) & 0xFF) ^ flip;
        if (take == 0) continue;
        const __m256i v0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i));
        const __m256i v1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from + i + 4));
        // Both halves are read before either is written: each write starts at or before what it
        // replaces.
        const __m256i order0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(CompressOrder[take & 0xF].data()));
        const __m256i order1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(CompressOrder[take >> 4].data()));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + kept), _mm256_permutevar8x32_epi32(v0, order0));
        kept += game::BitCounts11[take & 0xF];
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to + kept), _mm256_permutevar8x32_epi32(v1, order1));
        kept += game::BitCounts11[take >> 4];
    }
    return kept + moveKept(to + kept, from + i, answers + i, total - i, keep);
}

#endif

} // namespace

std::size_t KeepByAnswers(game::TComb* to, const game::TComb* from, const uint8_t* answers, std::size_t total,
                          bool keep)
{
#if defined(__x86_64__)
    switch (game::WideForm()) {
    case game::TWideForm::Avx512: return keepAvx512(to, from, answers, total, keep);
    case game::TWideForm::Avx2: return keepAvx2(to, from, answers, total, keep);
    case game::TWideForm::Plain: break;
    }
#endif
    return keepPlain(to, from, answers, total, keep);
}

void AppendKept(game::TCombsArray& to, std::span<const game::TComb> from, const uint8_t* answers, bool keep)
{
    // Cut straight into the list's room (grown unwritten): through a small buffer every kept
    // combination was written twice.
    const std::size_t start = to.size();
    to.resize(start + from.size());
    to.resize(start + KeepByAnswers(to.data() + start, from.data(), answers, from.size(), keep));
}

} // namespace kv::filters

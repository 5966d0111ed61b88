#include "core/filters/compact.h"

#include "core/game/bits.h"
#include "core/game/widevectors.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace kv::filters {

namespace {

// Moves the kept ones of n items at `from` to `to` (at or before `from`); returns how many.
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

#if defined(__x86_64__)

__attribute__((target("avx512f,avx512bw,avx512vl"))) std::size_t keepAvx512(game::TComb* items,
                                                                              const uint8_t* answers,
                                                                              std::size_t total, bool keep)
{
    static_assert(sizeof(game::TComb) == sizeof(uint64_t));
    const __mmask8 flip = keep ? 0 : 0xFF;
    std::size_t kept = 0, i = 0;
    for (; i + 8 <= total; i += 8) {
        const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(answers + i));
        const __mmask8 take = static_cast<__mmask8>(_mm_test_epi8_mask(a, a) ^ flip);
        const __m512i v = _mm512_loadu_si512(items + i);
        // The 8 slots written start at or before the 8 just read, so nothing unread is overwritten.
        _mm512_storeu_si512(items + kept, _mm512_maskz_compress_epi64(take, v));
        kept += game::BitCounts11[take];
    }
    return kept + moveKept(items + kept, items + i, answers + i, total - i, keep);
}

#endif

} // namespace

std::size_t KeepByAnswers(game::TComb* items, const uint8_t* answers, std::size_t total, bool keep)
{
#if defined(__x86_64__)
    if (game::WideVectors()) return keepAvx512(items, answers, total, keep);
#endif
    return moveKept(items, items, answers, total, keep);
}

} // namespace kv::filters

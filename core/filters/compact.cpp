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

// The plain form eight at a time: most passes keep nearly all or nearly none of a list, and runs
// of eight kept are moved as one block, runs of eight dropped skipped, the rest one by one.
std::size_t keepPlain(game::TComb* to, const game::TComb* from, const uint8_t* answers, std::size_t total, bool keep)
{
    constexpr uint64_t All = ~Low7;
    std::size_t kept = 0, i = 0;
    for (; i + 8 <= total; i += 8) {
        uint64_t w;
        std::memcpy(&w, answers + i, sizeof w);
        const uint64_t wanted = keep ? nonZeroBytes(w) : nonZeroBytes(w) ^ All;
        if (wanted == All) {
            // Read whole before written: in place the block moves to or before where it was.
            std::array<game::TComb, 8> block;
            std::memcpy(block.data(), from + i, sizeof block);
            std::memcpy(to + kept, block.data(), sizeof block);
            kept += 8;
        } else if (wanted != 0) {
            kept += moveKept(to + kept, from + i, answers + i, 8, keep);
        }
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

#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/game/types.h"

namespace kv::game {

// The hottest filter passes have wide vector forms: one for CPUs with AVX-512 (F, BW, VL, VBMI),
// eight combinations at a time, and one for CPUs with AVX2, four at a time. The program itself is
// built for every x86-64 and runs the plain forms elsewhere. Each wide form gives exactly what its
// plain form gives.
enum class TWideForm : uint8_t { Plain, Avx2, Avx512 };

// The form in use: the widest the CPU has, unless KVANTA_WIDE_VECTORS (avx512, avx2, plain or 0)
// or SetWideForm asked for a narrower one.
TWideForm WideForm();
// Asks for a form, so that each can be measured and tested on one machine; a form the CPU lacks
// gives the widest below it. Returns the form now in use.
TWideForm SetWideForm(TWideForm form);
// The widest form this CPU has.
TWideForm BestWideForm();
// The form named by the environment's text (avx512, avx2, plain or 0, in any case); the widest
// for anything else, an unset variable included.
TWideForm WideFormByName(const char* name);
const char* WideFormName(TWideForm form);

// The table of a test of single bytes: one answer (0 or 1) for each byte value.
using TByteTable = std::array<uint8_t, 256>;
// An answer (0 or 1 in a filter; any byte is passed on) for each count 0..8 of a combination's bytes.
using TCountAnswers = std::array<uint8_t, NumsPerDraw + 1>;

// The filter passes below have an SSE2 form too (x86-64), which reads a table by a few compares
// per byte: it declines (false or -1, nothing written) a table that would take too many, leaving
// the work to the caller's loop, as every pass does on other CPUs.

// result[i] = 1 when combs[i] holds a byte b with hit[b] != 0, else 0.
bool MatchAnyByte(std::span<const TComb> combs, const TByteTable& hit, uint8_t* result);
// The same for the 7 distances |c[j + 1] - c[j]| between neighbours of combs[i].
bool MatchAnyGap(std::span<const TComb> combs, const TByteTable& hit, uint8_t* result);
// result[i] = byCount[k], k being the number of different bytes b of combs[i] with in[b] = 1 (the
// table holds 0 or 1).
bool MatchByteCount(std::span<const TComb> combs, const TByteTable& in, const TCountAnswers& byCount,
                    uint8_t* result);

// The same counting every byte as often as it stands in the combination.
bool MatchByteSum(std::span<const TComb> combs, const TByteTable& in, const TCountAnswers& byCount,
                  uint8_t* result);

// result[i] = byCount[k], k being the number of different classes of[b] among the bytes b of
// combs[i]. False (nothing written) for a table whose classes do not rise with the bytes (the
// vector forms count where the class changes between neighbours).
bool MatchClassCount(std::span<const TComb> combs, const TByteTable& of, const TCountAnswers& byCount,
                     uint8_t* result);

// result[i] = bySum[s], s being the sum of the bytes of combs[i], when s is below 256, and
// UnknownTotal for a larger sum (only stray bytes make one); returns how many are unknown, or -1
// (nothing written) where there is no vector form.
constexpr uint8_t UnknownTotal = 2;
std::ptrdiff_t MatchByteTotal(std::span<const TComb> combs, const TByteTable& bySum, uint8_t* result);

// Counts over a whole list, for the passes that tell how often each value occurs among all the
// combinations. Each adds to `counts`; the plain form counts with SSE2, which every x86-64 has.
// False (nothing added) on other CPUs, and where the plain form cannot read a class table in a
// few compares (a table that is no bit of the byte over stray bytes).
using TByteCounts = std::array<int32_t, 256>;
// counts[v] += how many of the 8 bytes of each combination are v; with `gaps`, how many of its 7
// distances between neighbours |c[j + 1] - c[j]| are v.
bool CountBytes(std::span<const TComb> combs, bool gaps, TByteCounts& counts);
// The passes of one value per combination also set first[v] to the index of the first
// combination with value v, for each value present (the others are left as they are).
// counts[m] += the combinations whose class mask is m: bit 7 - j set when of[c[j]] != 0.
bool CountClassMasks(std::span<const TComb> combs, const TByteTable& of, TByteCounts& counts,
                     std::array<uint32_t, 256>& first);
// counts[s] += the combinations whose bytes add up to s.
constexpr std::size_t ByteTotals = 8 * 255 + 1;
bool CountByteTotals(std::span<const TComb> combs, std::array<int32_t, ByteTotals>& counts,
                     std::array<uint32_t, ByteTotals>& first);

} // namespace kv::game

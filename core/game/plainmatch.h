#pragma once
// The filter passes of widevectors.h in SSE2, part of every x86-64: what a CPU without AVX2 runs.
// SSE2 has no byte lookup, so a table is read by a few compares of sixteen bytes (two
// combinations) at a time: a bit of the byte, or the values and the runs of values in the table
// or out of it, whichever are fewer. A table that would take more compares than a read per byte
// costs is left to the caller (false, nothing written).
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/game/widevectors.h"

namespace kv::game::wide {

#if defined(__x86_64__)
// As MatchAnyByte, or MatchAnyGap with `gaps`.
bool MatchAnySse2(std::span<const TComb> combs, const TByteTable& hit, uint8_t* result, bool gaps);
// As MatchByteCount with `distinct`, else as MatchByteSum.
bool MatchCountSse2(std::span<const TComb> combs, const TByteTable& in, const TCountAnswers& byCount,
                    uint8_t* result, bool distinct);
// As MatchClassCount, for a table whose classes rise with the bytes; false when the numbers of the
// field fall into too many classes to compare with each boundary.
bool MatchClassCountSse2(std::span<const TComb> combs, const TByteTable& of, const TCountAnswers& byCount,
                         uint8_t* result);
// As MatchByteTotal.
std::ptrdiff_t MatchByteTotalSse2(std::span<const TComb> combs, const TByteTable& bySum, uint8_t* result);
#endif

} // namespace kv::game::wide

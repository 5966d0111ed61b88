#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "core/game/types.h"

namespace kv::game {

// The hottest filter passes have wide vector forms for CPUs with AVX-512 (F, BW, VL, VBMI),
// eight combinations at a time; the program itself is built for every x86-64 and runs the plain
// forms elsewhere. Each wide form gives exactly what its plain form gives.
bool WideVectors();
// Tests turn the wide forms off to check the plain ones on the same machine; so does
// KVANTA_WIDE_VECTORS=0 in the environment.
void AllowWideVectors(bool allowed);

// The table of a test of single bytes: one answer (0 or 1) for each byte value.
using TByteTable = std::array<uint8_t, 256>;
// An answer (0 or 1) for each count 0..8 of a combination's bytes.
using TCountAnswers = std::array<uint8_t, NumsPerDraw + 1>;

// result[i] = 1 when combs[i] holds a byte b with hit[b] != 0, else 0. False (nothing written)
// without the wide forms.
bool MatchAnyByte(std::span<const TComb> combs, const TByteTable& hit, uint8_t* result);
// result[i] = byCount[k], k being the number of different bytes b of combs[i] with in[b] = 1 (the
// table holds 0 or 1).
// False (nothing written) without the wide forms.
bool MatchByteCount(std::span<const TComb> combs, const TByteTable& in, const TCountAnswers& byCount,
                    uint8_t* result);

// The same counting every byte as often as it stands in the combination.
bool MatchByteSum(std::span<const TComb> combs, const TByteTable& in, const TCountAnswers& byCount,
                  uint8_t* result);

} // namespace kv::game

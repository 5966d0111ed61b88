#pragma once
#include <cstdint>

#include "core/game/types.h"

namespace kv::archive {

// A synthetic archive for demonstrations, tests and benchmarks: `count` draws numbered from
// firstDrawNo, one a day from 01.01.2015 10:00, each 8 distinct numbers of 1..20 in drawn
// (unsorted) order and an extra number of 1..4. The same seed gives the same draws on every
// machine: the generator and its reduction to a range are fixed here, not left to the library.
game::TDrawsArray SyntheticDraws(int count, uint32_t seed, int firstDrawNo = 1);

} // namespace kv::archive

#pragma once
#include <cstddef>
#include <cstdint>

#include "core/game/types.h"

namespace kv::filters {

// The cut after a filter pass: the first `total` items keep, in place and in their order, those
// whose answer (0 or not) is `keep`; returns how many. Every pass of a scenario test ends here, so
// with wide vectors (game::WideForm) four or eight combinations are moved by one instruction.
std::size_t KeepByAnswers(game::TComb* items, const uint8_t* answers, std::size_t total, bool keep);

} // namespace kv::filters

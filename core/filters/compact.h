#pragma once
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/game/types.h"

namespace kv::filters {

// The cut after a filter pass: of the first `total` items at `from`, those whose answer (0 or not)
// is `keep` are written in their order from `to` on; returns how many. `to` is `from` (in place)
// or a list of its own with room for `total`, any of which may be written. Every pass of a
// scenario test ends here, so with wide vectors (game::WideForm) four or eight combinations are
// moved by one instruction.
std::size_t KeepByAnswers(game::TComb* to, const game::TComb* from, const uint8_t* answers, std::size_t total,
                          bool keep);

// The same cut appended to `to`, a block at a time through a small buffer: a list that is not
// yet as long as `from` is written once, without being filled first.
void AppendKept(game::TCombsArray& to, std::span<const game::TComb> from, const uint8_t* answers, bool keep);

} // namespace kv::filters

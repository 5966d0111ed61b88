#include "core/stats/kinds/kinds.h"

namespace kv::stats::kinds {

// The segments (group 5) kinds join the catalogue here as they are written.
void AddSegmentKinds(std::vector<const TStatKind*>& /*kinds*/) {}

} // namespace kv::stats::kinds

#include "core/stats/kinds/kinds.h"

namespace kv::stats::kinds {

// The repeats (group 7) kinds join the catalogue here as they are written.
void AddRepeatKinds(std::vector<const TStatKind*>& /*kinds*/) {}

} // namespace kv::stats::kinds

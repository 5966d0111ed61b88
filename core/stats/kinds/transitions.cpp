#include "core/stats/kinds/kinds.h"

namespace kv::stats::kinds {

// The transitions (group 10) kinds join the catalogue here as they are written.
void AddTransitionKinds(std::vector<const TStatKind*>& /*kinds*/) {}

} // namespace kv::stats::kinds

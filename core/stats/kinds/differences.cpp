#include "core/stats/kinds/kinds.h"

namespace kv::stats::kinds {

// The differences (group 2) kinds join the catalogue here as they are written.
void AddDifferenceKinds(std::vector<const TStatKind*>& /*kinds*/) {}

} // namespace kv::stats::kinds

#include "core/stats/kinds/kinds.h"

namespace kv::stats::kinds {

// The tuples of numbers (group 0) kinds join the catalogue here as they are written.
void AddTupleKinds(std::vector<const TStatKind*>& /*kinds*/) {}

} // namespace kv::stats::kinds

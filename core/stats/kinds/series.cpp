#include "core/stats/kinds/kinds.h"

namespace kv::stats::kinds {

// The series (group 8) kinds join the catalogue here as they are written.
void AddSeriesKinds(std::vector<const TStatKind*>& /*kinds*/) {}

} // namespace kv::stats::kinds

#include "core/stats/kinds/kinds.h"

namespace kv::stats::kinds {

// The shredding (group 12) kinds join the catalogue here as they are written.
void AddShreddingKinds(std::vector<const TStatKind*>& /*kinds*/) {}

} // namespace kv::stats::kinds

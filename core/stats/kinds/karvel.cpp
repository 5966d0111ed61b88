#include "core/stats/kinds/kinds.h"

namespace kv::stats::kinds {

// The characteristic numbers (group 11) kinds join the catalogue here as they are written.
void AddKarvelKinds(std::vector<const TStatKind*>& /*kinds*/) {}

} // namespace kv::stats::kinds

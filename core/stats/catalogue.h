#pragma once
#include <vector>

#include "core/stats/stat.h"

namespace kv::stats {

// The kinds in catalogue order (by Position, stable). Two kinds with one position or one code
// template are a programming error: std::logic_error names them. Catalogue() is this over the
// kinds of every family.
std::vector<const TStatKind*> SortedCatalogue(std::vector<const TStatKind*> kinds);

} // namespace kv::stats

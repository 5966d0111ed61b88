#pragma once
#include <vector>

#include "core/stats/stat.h"

namespace kv::stats::kinds {

// Each family file appends its kinds (static descriptors) to the list; Catalogue() sorts the
// whole list by catalogue position.
void AddNumberKinds(std::vector<const TStatKind*>& kinds);

} // namespace kv::stats::kinds

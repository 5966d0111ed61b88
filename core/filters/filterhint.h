#pragma once
#include <string>

#include "core/filters/filteritem.h"
#include "core/stats/statlist.h"

namespace kv::filters {

// A filter in words, one field a line, for the tooltip of a filter's code
// ("TSD1#PRIM:200#CLV:3#SF:1" is hard to read): the method by its full name, the draws, the
// order and direction of the rows, how many rows are marked and what becomes of them, the
// condition with its value, the stop rule and weights of its own. Empty for an empty item.
std::string FilterItemHint(const TFilterItem& item, const stats::TStatList& list);

} // namespace kv::filters

#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/game/types.h"

namespace kv::stats {

class TStatList;

// The property rows of the information dialog for 8 numbers standing at an archive position:
// "Номер тиража:" and "Дата тиража:" when given, then every charted method's name and value
// in registry order.
std::vector<std::pair<std::string, std::string>> DrawInfoRows(const TStatList& list, const game::TComb& numbers,
                                                              int position, bool sorted,
                                                              std::optional<int> drawNo,
                                                              std::optional<std::string> dateText);

} // namespace kv::stats

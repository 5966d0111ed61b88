#pragma once
#include <string>
#include <vector>

#include "server/catalogstorage.h"

namespace kv::server {

// A covering system over positions 1..nums: 8-position lines chosen greedily so that any 8
// positions share at least `olap` with one of the lines. Lines as "01 02 ... 08".
std::vector<std::string> GreedyCoveringSystem(int nums, int olap);

// Fills an empty catalogue with a few scenarios and covering systems for 9..12 numbers, so a
// fresh server shows something; a catalogue that has entries is left alone. Returns whether
// it seeded.
bool SeedDemoCatalogue(TCatalogStorage& storage, std::int64_t now);

} // namespace kv::server

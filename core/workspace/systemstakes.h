#pragma once
#include <string>

#include "core/scenario/systemcombs.h"
#include "core/stakes/stakecommands.h"

namespace kv::stakes {
class TPrizeTable;
}

namespace kv::workspace {

class Workspace;

// The comment the stake dialog proposes for system play: "Системная игра для %d чисел [вся
// система]: %s" (whole) or "... [комбинации]: %s", with the number of covered numbers and the
// system's file name without folder and extension.
std::string SystemStakeComment(bool whole, const scenario::TSystemCombs& system, int k);

// SystemStakeAll (whole) / SystemStakeFilter after the dialog: a separator when the file ends
// in a stake, then one stake (origin 4) per system combination, sorted; the filtered play
// keeps only combinations of the list. SampleSize is the list's count for the filtered play and
// the system's size for the whole one. True when every stake was added.
bool AddSystemStakes(Workspace& ws, shell::Shell& shell, const scenario::TSystemCombs& system, bool whole,
                     int32_t drawNo, int drawsCount, const std::string& comment, const stakes::TPrizeTable& prizes,
                     bool scrollEnabled, const stakes::TStakeViewHooks& hooks);

} // namespace kv::workspace

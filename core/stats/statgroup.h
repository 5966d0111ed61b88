#pragma once
#include <cstdint>

namespace kv::stats {

// The families of the catalogue, by the number that orders the choosers and names the group
// ("{ num }"). The number is what kind descriptors and the prefetch masks hold.
enum TStatGroup : int {
    GroupNumbers = 0,        // num
    GroupSums = 1,           // sum
    GroupDifferences = 2,    // dif
    GroupChannels = 3,       // grp
    GroupMatrix = 4,         // mtx
    GroupSegments = 5,       // sgm
    GroupSequences = 6,      // seq
    GroupRepeats = 7,        // rep
    GroupSeries = 8,         // ser
    GroupPeriods = 9,        // per
    GroupTransitions = 10,   // mov
    GroupKarvel = 11,        // krv
    GroupShredding = 12,     // shr
};
constexpr int GroupCountTotal = 13;

// A set of groups, bit g for group g.
using TGroupMask = uint32_t;
constexpr TGroupMask GroupBit(TStatGroup group) { return TGroupMask{1} << group; }

} // namespace kv::stats

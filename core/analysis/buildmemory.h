#pragma once
#include <cstdint>
#include <optional>

#include "core/game/types.h"

namespace kv::analysis {

// A fingerprint of the archive's draws: an edited draw changes it even when the count stays.
uint64_t ArchiveStamp(const game::TDrawsArray& draws);

// What a view was last built from. Fields a view does not use stay at their defaults.
struct TBuildInputs {
    int Count = 0;
    int Offset = 0;
    int Length = 0;
    int Choice = -1;
    bool Sorted = false;
    uint64_t Archive = 0;
    bool operator==(const TBuildInputs&) const = default;
};

// The memory of a view's last build, so that an unchanged refresh does nothing.
class TBuildMemory {
public:
    // True when the view must be built (forced, never built, or an input changed); the inputs
    // are remembered either way.
    bool NeedsBuild(const TBuildInputs& inputs, bool force);
    void Forget() { m_last.reset(); }

private:
    std::optional<TBuildInputs> m_last;
};

// The draws a view looks at: the current last draw (count - 1 - offset) and `length` draws back,
// never before the oldest. Empty for an empty archive or an offset past the oldest draw.
struct TDrawWindow {
    int First = 0;
    int Last = -1;
    bool Empty() const { return Last < First; }
    int Size() const { return Empty() ? 0 : Last - First + 1; }
};
// A length below 1 is taken as 1.
TDrawWindow DrawWindow(int count, int offset, int length);

// Bit n (1..20) for each number of the draw; numbers outside the field set no bit.
uint32_t DrawMask(const game::TDraw& draw);

} // namespace kv::analysis

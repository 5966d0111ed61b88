#pragma once
#include <filesystem>

#include "core/game/types.h"

namespace kv::filters {
class TCombList;
class TFilterHistory;
}
namespace kv::stakes {
class TStakesFile;
}

namespace kv::scenario {

class TScenario;

// What a scenario run needs of the program's state: the archive and its window, the combination
// list with its filter history, the stakes file and the scenario itself. The workspace is the
// one implementation; the runner sees no more of it than this.
class TScriptState {
public:
    virtual ~TScriptState() = default;

    virtual const std::filesystem::path& DataDir() const = 0;
    virtual const game::TDrawsArray& Draws() const = 0;
    virtual int DrawsOffset() const = 0;
    // Clamped to the archive; true when the offset changed (the views then follow).
    virtual bool SetDrawsOffset(int offset) = 0;
    virtual int NextDrawNo() const = 0;
    virtual filters::TCombList& Combs() = 0;
    virtual filters::TFilterHistory& History() = 0;
    virtual stakes::TStakesFile& StakesFile() = 0;
    virtual TScenario& Scenario() = 0;

    int DrawCount() const { return static_cast<int>(Draws().size()); }
};

} // namespace kv::scenario

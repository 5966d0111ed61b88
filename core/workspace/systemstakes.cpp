#include "core/workspace/systemstakes.h"

#include <vector>

#include "core/game/numbers.h"
#include "core/util/format.h"
#include "core/workspace/workspace.h"

namespace kv::workspace {

std::string SystemStakeComment(bool whole, const scenario::TSystemCombs& system, int k)
{
    return util::Format(whole ? "Системная игра для %d чисел [вся система]: %s" : "Системная игра для %d чисел [комбинации]: %s",
                        {k, system.File.stem().string()});
}

bool AddSystemStakes(Workspace& ws, shell::Shell& shell, const scenario::TSystemCombs& system, bool whole,
                     int32_t drawNo, int drawsCount, const std::string& comment, const stakes::TPrizeTable& prizes,
                     bool scrollEnabled, const stakes::TStakeViewHooks& hooks)
{
    stakes::TStakesFile& file = ws.StakesFile();
    if (file.HasRecords() && file.ReadStake(shell, -1, stakes::SeekOrigin::End).IsStake() &&
        !file.AppendStakes(shell, stakes::NewSeparator(), 1))
        return false;
    std::vector<game::TComb> combs;
    for (game::TComb c : system.Combs) {
        game::SortComb(c);
        if (whole || ws.Combs().ListContains(c)) combs.push_back(c);
    }
    const int32_t sample = whole ? static_cast<int32_t>(system.Combs.size()) : ws.Combs().Count();
    return stakes::AddStakesForCombs(file, shell, combs, drawNo, drawsCount, comment, sample, prizes, scrollEnabled, hooks,
                                     stakes::OriginSystem);
}

} // namespace kv::workspace

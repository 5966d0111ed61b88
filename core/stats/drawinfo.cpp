#include "core/stats/drawinfo.h"

#include "core/game/game.h"
#include "core/stats/stat.h"
#include "core/stats/statlist.h"
#include "core/util/format.h"

namespace kv::stats {

std::vector<std::pair<std::string, std::string>> DrawInfoRows(const TStatList& list, const game::TComb& numbers,
                                                              int position, bool sorted,
                                                              std::optional<int> drawNo,
                                                              std::optional<std::string> dateText)
{
    std::vector<std::pair<std::string, std::string>> rows;
    if (drawNo) rows.emplace_back("Номер тиража:", std::to_string(*drawNo));
    if (dateText) rows.emplace_back("Дата тиража:", *dateText);
    game::TComb nums = numbers;
    if (sorted) game::SortComb(nums);
    for (int i = 0; i < list.MethodCount(); ++i) {
        if (!list.IsGraph(i) || !list.IsListed(i)) continue;
        const std::unique_ptr<TCustomStat> stat = list.CreateStat(i);
        // The shredding methods' caption carries a "%s" for their formula.
        std::string name = stat->GetName();
        if (list.Method(i).Kind->GetGroup() == GroupShredding) name = util::Format(name, {list.Method(i).Formula});
        rows.emplace_back(std::move(name), std::to_string(stat->GetGraphValue(nums, position, position, sorted)));
    }
    return rows;
}

} // namespace kv::stats

#include "core/stats/catalogue.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "core/stats/kinds/kinds.h"

namespace kv::stats {

std::vector<const TStatKind*> SortedCatalogue(std::vector<const TStatKind*> kinds)
{
    std::stable_sort(kinds.begin(), kinds.end(),
                     [](const TStatKind* a, const TStatKind* b) { return a->Position() < b->Position(); });
    // Codes name methods in files, filters and scenarios, and positions fix the list order: a
    // clash is a slip in a family file and must stop the program at its first use, not
    // silently shadow a method.
    for (std::size_t i = 1; i < kinds.size(); ++i)
        if (kinds[i]->Position() == kinds[i - 1]->Position())
            throw std::logic_error("statistic kinds " + std::string(kinds[i - 1]->ClassName()) + " and "
                                   + kinds[i]->ClassName() + " share catalogue position "
                                   + std::to_string(kinds[i]->Position()));
    for (std::size_t i = 0; i < kinds.size(); ++i)
        for (std::size_t j = i + 1; j < kinds.size(); ++j)
            if (kinds[i]->GetCode() == kinds[j]->GetCode())
                throw std::logic_error("statistic kinds " + std::string(kinds[i]->ClassName()) + " and "
                                       + kinds[j]->ClassName() + " share the code " + kinds[i]->GetCode());
    return kinds;
}

const std::vector<const TStatKind*>& Catalogue()
{
    static const std::vector<const TStatKind*> kinds = [] {
        std::vector<const TStatKind*> all;
        // One line per statistic family.
        kinds::AddNumberKinds(all);
        kinds::AddSumKinds(all);
        kinds::AddDifferenceKinds(all);
        kinds::AddChannelKinds(all);
        kinds::AddMatrixKinds(all);
        kinds::AddSegmentKinds(all);
        kinds::AddSequenceKinds(all);
        kinds::AddRepeatKinds(all);
        kinds::AddTupleKinds(all);
        kinds::AddKarvelKinds(all);
        kinds::AddSeriesKinds(all);
        kinds::AddPeriodKinds(all);
        kinds::AddTransitionKinds(all);
        kinds::AddShreddingKinds(all);
        return SortedCatalogue(std::move(all));
    }();
    return kinds;
}

} // namespace kv::stats

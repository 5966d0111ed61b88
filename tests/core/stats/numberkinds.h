#pragma once
#include <vector>

#include "core/stats/catalogue.h"
#include "core/stats/kinds/kinds.h"

namespace kv::test {

// The number family alone, in catalogue order: registry tests are about the registry's rules,
// and must not change whenever another family joins the catalogue.
inline const std::vector<const stats::TStatKind*>& NumberKinds()
{
    static const std::vector<const stats::TStatKind*> kinds = [] {
        std::vector<const stats::TStatKind*> all;
        stats::kinds::AddNumberKinds(all);
        return stats::SortedCatalogue(std::move(all));
    }();
    return kinds;
}

} // namespace kv::test

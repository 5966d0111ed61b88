#pragma once
#include <stdexcept>
#include <string>
#include <vector>

#include "core/game/counting.h"
#include "core/filters/generate.h"
#include "core/game/types.h"
#include "core/stats/stat.h"

namespace kv::test {

// A statistic kind of the catalogue by its code template ("NUMS", "POS%d"); codes are unique.
inline const stats::TStatKind& KindOf(const std::string& code)
{
    for (const stats::TStatKind* k : stats::Catalogue())
        if (k->GetCode() == code) return *k;
    throw std::runtime_error("no kind " + code);
}

inline game::TDraw MakeDraw(int drawNo, game::TComb nums, int extra = 1)
{
    game::TDraw d;
    d.DrawNo = drawNo;
    d.Nums = nums;
    d.Extra = static_cast<uint8_t>(extra);
    return d;
}

// A window evaluated as the statistics table does it: listed values first, then every draw from
// the oldest, with one period list and one work area for the whole window.
inline stats::TStatDrawArray Window(stats::TCustomStat& stat, int first, int last, bool sorted)
{
    stats::TStatDrawArray values;
    stats::TLastValueArray lastValues;
    stats::TWorkArea work{};
    stat.ListValues(last, values);
    for (int i = first; i <= last; ++i) stat.CalcDraw(i, last, sorted, values, lastValues, work);
    return values;
}

// All 125970 combinations in lexicographic order, (1..8) first.
inline std::vector<game::TComb> AllCombs()
{
    game::TCombsArray all;
    game::EnumerateAllCombs(all);
    return all;
}

// The kinds one family registers, in its order.
template <void (*Add)(std::vector<const stats::TStatKind*>&)>
const std::vector<const stats::TStatKind*>& FamilyOf()
{
    static const std::vector<const stats::TStatKind*> kinds = [] {
        std::vector<const stats::TStatKind*> k;
        Add(k);
        return k;
    }();
    return kinds;
}

} // namespace kv::test

#pragma once
#include <string>
#include <vector>

#include "core/filters/comblist.h"
#include "core/game/types.h"

namespace kv::test {

inline game::TDraw MakeDraw(int drawNo, game::TComb nums, uint8_t extra = 1, const std::string& date = "01.02.2020 10:05")
{
    game::TDraw d;
    d.DrawNo = drawNo;
    d.Nums = nums;
    d.Extra = extra;
    d.SetDateText(date);
    return d;
}

inline void SetList(filters::TCombList& list, const std::vector<game::TComb>& combs)
{
    list.Clear();
    for (const auto& c : combs) list.Append(c);
}

inline std::vector<game::TComb> ListOf(const filters::TCombList& list)
{
    return {list.Combs().begin(), list.Combs().end()};
}

} // namespace kv::test

#include "core/analysis/buildmemory.h"

#include <algorithm>

namespace kv::analysis {

uint64_t ArchiveStamp(const game::TDrawsArray& draws)
{
    // FNV-1a over what the views show: draw number, numbers, extra and date.
    uint64_t h = 14695981039346656037ull;
    const auto mix = [&h](uint64_t v) {
        h ^= v;
        h *= 1099511628211ull;
    };
    for (const game::TDraw& d : draws) {
        mix(static_cast<uint32_t>(d.DrawNo));
        uint64_t nums = 0;
        for (uint8_t n : d.Nums) nums = (nums << 8) | n;
        mix(nums);
        mix(d.Extra);
        uint64_t date = d.DateLen;
        for (std::size_t i = 0; i < d.DateLen && i < d.DateBytes.size(); ++i)
            date = date * 131 + static_cast<uint8_t>(d.DateBytes[i]);
        mix(date);
    }
    return h;
}

bool TBuildMemory::NeedsBuild(const TBuildInputs& inputs, bool force)
{
    const bool same = m_last && *m_last == inputs;
    m_last = inputs;
    return force || !same;
}

TDrawWindow DrawWindow(int count, int offset, int length)
{
    TDrawWindow w;
    w.Last = count - 1 - std::max(0, offset);
    if (w.Last < 0) return {0, -1};
    w.First = std::max(0, w.Last - std::max(1, length) + 1);
    return w;
}

uint32_t DrawMask(const game::TDraw& draw)
{
    uint32_t mask = 0;
    for (uint8_t n : draw.Nums)
        if (n >= game::MinNumber && n <= game::MaxNumber) mask |= 1u << n;
    return mask;
}

} // namespace kv::analysis

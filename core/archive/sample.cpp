#include "core/archive/sample.h"

#include <random>

#include "core/game/game.h"

namespace kv::archive {

namespace {

// Unbiased value in 0..n-1 by rejection; std::uniform_int_distribution differs between
// standard libraries, this does not.
uint32_t below(std::mt19937& rng, uint32_t n)
{
    const uint32_t limit = 0xFFFFFFFFu - (0xFFFFFFFFu % n);
    uint32_t v;
    do v = static_cast<uint32_t>(rng()); while (v >= limit);
    return v % n;
}

} // namespace

game::TDrawsArray SyntheticDraws(int count, uint32_t seed, int firstDrawNo)
{
    std::mt19937 rng(seed);
    game::TDrawsArray draws;
    draws.reserve(count > 0 ? count : 0);
    const game::TDateTime start = game::EncodeDateTime(2015, 1, 1, 10, 0, 0);
    for (int i = 0; i < count; ++i) {
        game::TDraw d;
        d.DrawNo = firstDrawNo + i;
        uint8_t pool[20];
        for (int k = 0; k < 20; ++k) pool[k] = static_cast<uint8_t>(k + 1);
        for (int k = 0; k < 8; ++k) {
            const uint32_t j = k + below(rng, 20 - k);
            std::swap(pool[k], pool[j]);
            d.Nums[k] = pool[k];
        }
        d.Extra = static_cast<uint8_t>(1 + below(rng, 4));
        d.SetDateText(game::DateTimeToDrawText(start + i));
        draws.push_back(d);
    }
    return draws;
}

} // namespace kv::archive

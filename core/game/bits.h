#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace kv::game {

// The number of set bits. The program is built for every x86-64, where std::popcount becomes a
// library call per use; the filter passes count bits for every combination, and this inline
// form is several times faster there (a CPU with the instruction gains nothing from the call).
constexpr int BitCount(uint64_t x)
{
    x = x - ((x >> 1) & 0x5555555555555555ull);
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0full;
    return int((x * 0x0101010101010101ull) >> 56);
}

static_assert(BitCount(0) == 0 && BitCount(0x1ffffe) == 20 && BitCount(~0ull) == 64);

// The set bits of every 11-bit mask: two reads count a mask of the numbers 1..20 faster still.
inline constexpr std::array<uint8_t, 2048> BitCounts11 = [] {
    std::array<uint8_t, 2048> t{};
    for (std::size_t m = 0; m < t.size(); ++m) t[m] = uint8_t(BitCount(m));
    return t;
}();

} // namespace kv::game

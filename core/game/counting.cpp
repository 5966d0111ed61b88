#include "core/game/counting.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace kv::game {

namespace {

constexpr int FactorialTableSize = 256;

const std::array<long double, FactorialTableSize>& FactorialTable()
{
    static const std::array<long double, FactorialTableSize> table = [] {
        std::array<long double, FactorialTableSize> t{};
        t[0] = 1.0L;
        for (int i = 1; i < FactorialTableSize; ++i) t[i] = t[i - 1] * i;
        return t;
    }();
    return table;
}

// Results that cannot be held saturate instead of invoking undefined conversion behaviour.
int64_t RoundToInt64(long double v)
{
    constexpr long double limit = 9.2e18L;
    if (std::isnan(v)) return 0;
    if (v >= limit) return std::numeric_limits<int64_t>::max();
    if (v <= -limit) return std::numeric_limits<int64_t>::min();
    return std::llround(v);
}

// a over b as a falling product a (a-1) ... (a-b+1) divided by b!; 0 when b > a >= 0.
long double FallingBinomial(int a, int b)
{
    long double r = 1.0L;
    for (int i = 0; i < b; ++i) r *= static_cast<long double>(a - i);
    return r / Factorial(b);
}

} // namespace

long double Factorial(int n)
{
    if (n <= 0) return 1.0L;
    if (n < FactorialTableSize) return FactorialTable()[n];
    long double r = FactorialTable()[FactorialTableSize - 1];
    for (int i = FactorialTableSize; i <= n && !std::isinf(r); ++i) r *= i;
    return r;
}

int64_t Binomial(int n, int k)
{
    if (k >= n) return 1;
    if (k <= 0) return k == 0 ? 1 : 0;
    if (n < FactorialTableSize) return RoundToInt64(Factorial(n) / (Factorial(n - k) * Factorial(k)));
    // n comes from files too (a damaged stake count): multiply the falling product over the
    // smaller side and stop as soon as the result is past what an int64 holds, so the loop
    // never runs anywhere near n times.
    const int j = std::min(k, n - k);
    long double r = 1.0L;
    for (int i = 0; i < j; ++i) {
        r = r * static_cast<long double>(n - i) / static_cast<long double>(i + 1);
        if (r >= 9.2e18L) return std::numeric_limits<int64_t>::max();
    }
    return RoundToInt64(r);
}

int64_t MatchCount(int n, int k, int m)
{
    if (m >= n) return 1;
    return RoundToInt64(FallingBinomial(k, m) * FallingBinomial(n - k, k - m));
}

namespace {

void enumerate(game::TCombsArray& out)
{
    // One 8-byte store per combination into storage sized once.
    out.resize(game::CombCount);
    uint8_t* p = reinterpret_cast<uint8_t*>(out.data());
    static_assert(sizeof(TComb) == 8);
    uint8_t c[8];
    for (c[0] = 1; c[0] <= 13; ++c[0])
        for (c[1] = c[0] + 1; c[1] <= 14; ++c[1])
            for (c[2] = c[1] + 1; c[2] <= 15; ++c[2])
                for (c[3] = c[2] + 1; c[3] <= 16; ++c[3])
                    for (c[4] = c[3] + 1; c[4] <= 17; ++c[4])
                        for (c[5] = c[4] + 1; c[5] <= 18; ++c[5])
                            for (c[6] = c[5] + 1; c[6] <= 19; ++c[6])
                                for (c[7] = c[6] + 1; c[7] <= 20; ++c[7]) {
                                    std::memcpy(p, c, 8);
                                    p += 8;
                                }
}

} // namespace

const std::shared_ptr<const game::TCombsArray>& AllCombs()
{
    // The hottest generation path (a scenario test starts every variant from the full set): the
    // set is enumerated once and shared or copied, which is several times faster than
    // enumerating again.
    static const std::shared_ptr<const game::TCombsArray> full = [] {
        auto all = std::make_shared<game::TCombsArray>();
        enumerate(*all);
        return std::shared_ptr<const game::TCombsArray>(std::move(all));
    }();
    return full;
}

void EnumerateAllCombs(game::TCombsArray& out)
{
    const game::TCombsArray& all = *AllCombs();
    out.assign(all.begin(), all.end());
}

} // namespace kv::game

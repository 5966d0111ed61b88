#pragma once
#include <memory>
#include <cstdint>

#include "core/game/types.h"

namespace kv::game {

// n! in extended precision; 0! = 1 (as is n! for any n <= 0). Exact up to 25!, within the
// long double precision beyond that; used for n = 0..255.
long double Factorial(int n);

// n over k rounded to the nearest integer; 1 whenever k >= n (the game asks this only for
// k <= n, and some callers rely on the 1 for the degenerate cases).
int64_t Binomial(int n, int k);

// The number of k-sets out of n that share exactly m numbers with a given k-set:
// C(k, m) * C(n-k, k-m); 1 when m >= n. MatchCount(20, 8, m) for m = 0..8 sums to CombCount.
int64_t MatchCount(int n, int k, int m);

// a div b, plus 1 when a mod b <> 0 (truncating division, so CeilDiv(-1, 2) = 1).
// A zero divisor gives 0 instead of a crash: settings read from files may hold one.
constexpr int CeilDiv(int a, int b)
{
    if (b == 0) return 0;
    return a / b + (a % b != 0 ? 1 : 0);
}

// Groups of width w covering first..last; first = 0 means the range 1..last.
constexpr int GroupCount(int first, int last, int w)
{
    return first == 0 ? CeilDiv(last, w) : CeilDiv(last - first + 1, w);
}

// 0-based cell of a value in a grid of w columns whose first cell holds `first`.
struct TGridPos {
    int Col = 0;
    int Row = 0;
    bool operator==(const TGridPos&) const = default;
};

constexpr TGridPos GridPos(int first, int w, int value)
{
    if (w == 0) return {};
    return {(value - first) % w, (value - first) / w};
}

constexpr int GridValue(int first, int row, int w, int col) { return first + col + row * w; }

// 1-based column and row of number n on a card of `cols` columns.
constexpr int Column(int n, int cols) { return cols == 0 ? 0 : (n - 1) % cols + 1; }
constexpr int Row(int n, int cols) { return cols == 0 ? 0 : (n - 1) / cols + 1; }

// Sum of k consecutive numbers starting at a, going up (a, a+1, ...) or down (a, a-1, ...).
constexpr int SumUp(int a, int k) { return k * a + k * (k - 1) / 2; }
constexpr int SumDown(int a, int k) { return k * a - k * (k - 1) / 2; }

// Fills `out` with all 125970 combinations in lexicographic order, (1..8) first, (13..20) last.
// Writes into the vector's storage without reallocating when its capacity suffices.
void EnumerateAllCombs(game::TCombsArray& out);
// The same list, made once for the whole run and shared.
const std::shared_ptr<const game::TCombsArray>& AllCombs();

} // namespace kv::game

#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "core/game/counting.h"
#include "core/game/types.h"

namespace kv::game {

// --- Number classes -------------------------------------------------------------------------

constexpr bool IsEven(int n) { return n % 2 == 0; }
constexpr bool IsSmall(int n) { return n <= 10; }   // the first half of the field
constexpr bool IsLarge(int n) { return n > 10; }    // the second half

// The game's own prime class: 1 counts as prime (9 members in 1..20). Only numbers of the
// field can belong to it.
constexpr bool IsPrime(int n)
{
    constexpr uint32_t mask = (1u << 1) | (1u << 2) | (1u << 3) | (1u << 5) | (1u << 7) |
                              (1u << 11) | (1u << 13) | (1u << 17) | (1u << 19);
    return n >= MinNumber && n <= MaxNumber && ((mask >> n) & 1u) != 0;
}

// The decimal digits of a number's text, most significant first ("20" gives 2, 0).
// A negative number gives the digits of its absolute value.
struct TNumberDigits {
    int Count = 0;
    std::array<uint8_t, 10> Digits{};
};
TNumberDigits NumberDigits(int n);

// Channel of n for channel width w: groups of w consecutive numbers, numbered from 1.
constexpr int Channel(int n, int w) { return CeilDiv(n, w); }

// --- Channel colours (0xRRGGBB) -------------------------------------------------------------

constexpr int ChannelPaletteSize = 19;
constexpr uint32_t ChannelInvalidColor = 0xFF0000;   // numbers outside the field

// Background colour of channel g = 1..19; anything else gives ChannelInvalidColor.
uint32_t ChannelPaletteColor(int g);

// Colour of number n's channel; channels past 19 (only possible for w = 1) wrap to the start
// of the palette.
uint32_t ChannelColor(int n, int w);

// --- Shifts and membership (hot: called for every combination of the full set) -------------

// n moved by d places around the field 1..20, wrapping once (|d| < 20).
constexpr int ShiftNumber(int n, int d)
{
    if (d == 0) return n;
    int s = n + d;
    if (d > 0) {
        if (s > MaxNumber) s -= MaxNumber;
    } else if (s <= 0) {
        s += MaxNumber;
    }
    return s;
}

// Every number shifted; the order stays as it was, so the result may not be sorted.
constexpr TComb ShiftComb(const TComb& comb, int d)
{
    TComb r{};
    for (int i = 0; i < NumsPerDraw; ++i) r[i] = static_cast<uint8_t>(ShiftNumber(comb[i], d));
    return r;
}

constexpr bool InComb(int n, const TComb& comb)
{
    for (uint8_t x : comb)
        if (x == n) return true;
    return false;
}

constexpr bool InDraw(int n, const TDraw& draw) { return InComb(n, draw.Nums); }

// Some number x of the draw lies in channel g for channel width w.
constexpr bool DrawHasChannel(int g, const TDraw& draw, int w)
{
    for (uint8_t x : draw.Nums)
        if (CeilDiv(x, w) == g) return true;
    return false;
}

// Some number x of the draw has map[x] = v (map element 0 belongs to number 1). Numbers
// outside the field have no map entry and never match.
constexpr bool DrawHasMapped(int v, const TDraw& draw, const TNumMap& map)
{
    for (uint8_t x : draw.Nums)
        if (x >= MinNumber && x <= MaxNumber && map[x - 1] == v) return true;
    return false;
}

// The number of equal pairs (a[i], b[j]): for sets without repeats, the common numbers.
constexpr int HitCount(const TComb& a, const TComb& b)
{
    int hits = 0;
    for (uint8_t x : a)
        for (uint8_t y : b) hits += (x == y) ? 1 : 0;
    return hits;
}
constexpr int HitCount(const TDraw& draw, const TComb& comb) { return HitCount(draw.Nums, comb); }
constexpr int HitCount(const TDraw& a, const TDraw& b) { return HitCount(a.Nums, b.Nums); }

// --- Counted sets ---------------------------------------------------------------------------

// The draw's numbers that occur among the set's first Count entries, sorted ascending.
TNumSet IntersectNumSet(const TDraw& draw, const TNumSet& set);

// Equal counts and every one of a's numbers found among b's.
bool SameNumSet(const TNumSet& a, const TNumSet& b);

constexpr TComb DrawToComb(const TDraw& draw) { return draw.Nums; }

constexpr TNumSet CombToNumSet(const TComb& comb)
{
    TNumSet s;
    s.Count = NumsPerDraw;
    s.Nums = comb;
    return s;
}

// Distinct numbers in the first n combinations (n beyond the list means the whole list). Both
// stop reading as soon as all 20 numbers have been seen. CoveredNumbers lists them in order of
// first appearance.
int CoveredCount(std::span<const TComb> combs, int n);
TByteArray CoveredNumbers(std::span<const TComb> combs, int n);

// --- Small arrays ---------------------------------------------------------------------------

bool ByteArrayHas(uint8_t v, const TByteArray& arr);
// Appends v when it is not there yet; true when it was appended.
bool ByteArrayAddUnique(uint8_t v, TByteArray& arr);
void ByteArrayAppend(uint8_t v, TByteArray& arr);

// Adds a (only when a > 0) to the Count of key, or appends (key, a) when the key is new,
// even for a <= 0, so that a value can be listed before it is ever counted.
void AddStatSimple(TStatSimpleArray& arr, int32_t key, int32_t a);

// --- Sorting: stable insertion sorts, the fastest for the 8-element arrays they mostly get ---

void SortStatSimple(TStatSimpleArray& arr);   // ascending by Key

constexpr void SortComb(TComb& comb)
{
    for (int i = 1; i < NumsPerDraw; ++i) {
        const uint8_t v = comb[i];
        int j = i - 1;
        while (j >= 0 && comb[j] > v) {
            comb[j + 1] = comb[j];
            --j;
        }
        comb[j + 1] = v;
    }
}

constexpr void SortDrawNums(TDraw& draw) { SortComb(draw.Nums); }

void SortNumSet(TNumSet& set);    // the first Count entries
void SortIntsDesc(TIntArray& arr);

} // namespace kv::game

#include "core/game/numbers.h"

#include <algorithm>

namespace kv::game {

namespace {

constexpr std::array<uint32_t, ChannelPaletteSize> ChannelPalette = {
    0xAAFFAA, 0xFFFFAA, 0xAAFFFF, 0xFFAAAA, 0xAAAAFF, 0xFFD5AA, 0xD5AAFF,   // 1..7
    0xD4D4D4, 0xAAD5FF, 0xFFAAD5, 0xD5FFD5, 0xFFFFD5, 0xD5FFFF, 0xFFD5D5,   // 8..14
    0xD5D5FF, 0xFFEAD5, 0xEAD5FF, 0xE9E9E9, 0xD5EAFF,                       // 15..19
};

// First Count entries of a set, tolerating a damaged Count from a file.
int SetLength(const TNumSet& s) { return std::clamp<int32_t>(s.Count, 0, NumsPerDraw); }

bool SetHas(const TNumSet& s, int len, uint8_t v)
{
    for (int i = 0; i < len; ++i)
        if (s.Nums[i] == v) return true;
    return false;
}

// Walks the first n combinations and reports each number not seen before, stopping once the
// whole field has been seen.
template <typename OnNew>
int ScanCovered(std::span<const TComb> combs, int n, OnNew onNew)
{
    if (n <= 0) return 0;
    const std::size_t limit = std::min<std::size_t>(static_cast<std::size_t>(n), combs.size());
    // Indexed by the raw byte so that out-of-field numbers from foreign files cannot overrun.
    std::array<bool, 256> seen{};
    int count = 0;
    for (std::size_t c = 0; c < limit; ++c) {
        for (uint8_t x : combs[c]) {
            if (seen[x]) continue;
            seen[x] = true;
            onNew(x);
            if (++count == MaxNumber) return count;
        }
    }
    return count;
}

} // namespace

TNumberDigits NumberDigits(int n)
{
    TNumberDigits r;
    uint32_t v = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
    std::array<uint8_t, 10> reversed{};
    do {
        reversed[r.Count++] = static_cast<uint8_t>(v % 10);
        v /= 10;
    } while (v != 0);
    for (int i = 0; i < r.Count; ++i) r.Digits[i] = reversed[r.Count - 1 - i];
    return r;
}

uint32_t ChannelPaletteColor(int g)
{
    if (g < 1 || g > ChannelPaletteSize) return ChannelInvalidColor;
    return ChannelPalette[g - 1];
}

uint32_t ChannelColor(int n, int w)
{
    if (n < MinNumber || n > MaxNumber) return ChannelInvalidColor;
    int g = CeilDiv(n, w);
    if (g > ChannelPaletteSize) g -= ChannelPaletteSize;
    return ChannelPaletteColor(g);
}

TNumSet IntersectNumSet(const TDraw& draw, const TNumSet& set)
{
    const int len = SetLength(set);
    TNumSet r;
    for (uint8_t x : draw.Nums)
        if (SetHas(set, len, x)) r.Nums[r.Count++] = x;
    SortNumSet(r);
    return r;
}

bool SameNumSet(const TNumSet& a, const TNumSet& b)
{
    if (a.Count != b.Count) return false;
    const int len = SetLength(a);
    for (int i = 0; i < len; ++i)
        if (!SetHas(b, len, a.Nums[i])) return false;
    return true;
}

int CoveredCount(std::span<const TComb> combs, int n)
{
    return ScanCovered(combs, n, [](uint8_t) {});
}

TByteArray CoveredNumbers(std::span<const TComb> combs, int n)
{
    TByteArray r;
    r.reserve(MaxNumber);
    ScanCovered(combs, n, [&r](uint8_t x) { r.push_back(x); });
    return r;
}

bool ByteArrayHas(uint8_t v, const TByteArray& arr)
{
    return std::find(arr.begin(), arr.end(), v) != arr.end();
}

bool ByteArrayAddUnique(uint8_t v, TByteArray& arr)
{
    if (ByteArrayHas(v, arr)) return false;
    arr.push_back(v);
    return true;
}

void ByteArrayAppend(uint8_t v, TByteArray& arr) { arr.push_back(v); }

void AddStatSimple(TStatSimpleArray& arr, int32_t key, int32_t a)
{
    for (TStatSimple& e : arr) {
        if (e.Key == key) {
            if (a > 0) e.Count += a;
            return;
        }
    }
    arr.push_back({key, a});
}

void SortStatSimple(TStatSimpleArray& arr)
{
    for (std::size_t i = 1; i < arr.size(); ++i) {
        const TStatSimple v = arr[i];
        std::size_t j = i;
        while (j > 0 && arr[j - 1].Key > v.Key) {
            arr[j] = arr[j - 1];
            --j;
        }
        arr[j] = v;
    }
}

void SortNumSet(TNumSet& set)
{
    const int len = SetLength(set);
    for (int i = 1; i < len; ++i) {
        const uint8_t v = set.Nums[i];
        int j = i - 1;
        while (j >= 0 && set.Nums[j] > v) {
            set.Nums[j + 1] = set.Nums[j];
            --j;
        }
        set.Nums[j + 1] = v;
    }
}

void SortIntsDesc(TIntArray& arr)
{
    for (std::size_t i = 1; i < arr.size(); ++i) {
        const int32_t v = arr[i];
        std::size_t j = i;
        while (j > 0 && arr[j - 1] < v) {
            arr[j] = arr[j - 1];
            --j;
        }
        arr[j] = v;
    }
}

} // namespace kv::game

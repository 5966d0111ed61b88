#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <memory>
#include <utility>
#include <vector>

namespace kv::game {

constexpr int MinNumber = 1;
constexpr int MaxNumber = 20;
constexpr int NumsPerDraw = 8;
constexpr int MinExtra = 1;
constexpr int MaxExtra = 4;
// The highest draw number taken in: the next draw's number, and those of stakes for many draws
// ahead, must still fit in an int32.
constexpr int32_t MaxDrawNo = 999'999'999;
constexpr int CombCount = 125970;           // Binomial(20, 8)
constexpr int MinSum = 36;                  // 1 + 2 + ... + 8
constexpr int MaxSum = 132;                 // 20 + 19 + ... + 13
constexpr int SumTolerance = (MaxSum - MinSum) / 10;

// Delphi TDateTime: days since 30.12.1899, the fraction being the time of day.
using TDateTime = double;

// One combination: 8 numbers in their own order, compared byte for byte.
using TComb = std::array<uint8_t, NumsPerDraw>;

// Growing a list leaves the new elements unwritten: a pass that sizes the list and then writes
// its kept combinations straight into it would otherwise clear every byte first.
template <typename T>
struct TUninitAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = TUninitAllocator<U>;
    };
    TUninitAllocator() = default;
    template <typename U>
    TUninitAllocator(const TUninitAllocator<U>&) noexcept
    {
    }
    template <typename U>
    void construct(U* p) noexcept
    {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

using TCombsArray = std::vector<TComb, TUninitAllocator<TComb>>;
using TByteArray = std::vector<uint8_t>;
using TIntArray = std::vector<int32_t>;

// One byte per number 1..20, element 0 belonging to number 1 (segment layouts, number maps).
using TNumMap = std::array<uint8_t, MaxNumber>;

struct TStatSimple {
    int32_t Key = 0;
    int32_t Count = 0;
    bool operator==(const TStatSimple&) const = default;
};
using TStatSimpleArray = std::vector<TStatSimple>;

// One draw. File record, 32 bytes, little-endian:
//   0  int32   DrawNo
//   4  8 x u8  Nums, in the order entered or read
//  12  u8      Extra
//  13  u8      length of DateText (0..16), then 16 CP1251 bytes; bytes past the length are
//              not significant but are kept so that a loaded file saves byte for byte
//  30  2 bytes fill, written as zero, ignored on reading
struct TDraw {
    static constexpr std::size_t RecordSize = 32;
    static constexpr std::size_t DateCapacity = 16;

    int32_t DrawNo = 0;
    TComb Nums{};
    uint8_t Extra = 0;
    uint8_t DateLen = 0;
    std::array<char, DateCapacity> DateBytes{};

    std::string DateText() const;              // UTF-8
    void SetDateText(std::string_view utf8);   // converted to CP1251 and cut to 16 characters

    void Read(const uint8_t* p);
    void Write(uint8_t* p) const;

    bool operator==(const TDraw&) const = default;
};
using TDrawsArray = std::vector<TDraw>;

// A counted combination, 12 bytes: int32 Count, then 8 number bytes (zero past Count).
struct TNumSet {
    static constexpr std::size_t RecordSize = 12;
    int32_t Count = 0;
    TComb Nums{};

    void Read(const uint8_t* p);
    void Write(uint8_t* p) const;

    bool operator==(const TNumSet&) const = default;
};

} // namespace kv::game

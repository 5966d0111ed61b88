#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv::stats {

// One value of a statistic with its counters. The value is the four 16-bit keys; kinds use
// Key[0] alone, a tuple in Key[0..3], or a 32-bit word in Key[0..1] (Key[0] the low half).
struct TStatDrawItem {
    int32_t LastDrawNo = 0;   // the most recent draw of the window that showed the value
    int32_t Depth = 0;        // LastIndex - Index + 1 for that draw; 0 if none
    int32_t PrevDrawNo = 0;   // the occurrence processed last, to measure periods
    uint16_t PeriodMin = 0;   // smallest gap in draw numbers; 0 = none measured
    uint16_t PeriodMax = 0;
    int32_t Count = 0;
    int32_t Norm = 0;         // expected count from the full set (statistics table only)
    std::array<int16_t, 4> Key{};

    // The four keys as one 64-bit word (Key[0] in the low bits), for hashing and equality.
    uint64_t PackedKey() const
    {
        return uint64_t(uint16_t(Key[0])) | (uint64_t(uint16_t(Key[1])) << 16)
             | (uint64_t(uint16_t(Key[2])) << 32) | (uint64_t(uint16_t(Key[3])) << 48);
    }
    // Key[0..1] read as one little-endian int32.
    int32_t LongKey() const { return int32_t(uint32_t(uint16_t(Key[0])) | (uint32_t(uint16_t(Key[1])) << 16)); }
    void SetLongKey(int32_t v)
    {
        Key[0] = int16_t(uint16_t(uint32_t(v) & 0xFFFF));
        Key[1] = int16_t(uint16_t(uint32_t(v) >> 16));
    }
    bool operator==(const TStatDrawItem&) const = default;
};

// Values in insertion order (the order tables show) with an O(1) lookup by the four keys.
class TStatDrawArray {
public:
    TStatDrawArray() = default;

    int Count() const { return static_cast<int>(m_items.size()); }
    bool Empty() const { return m_items.empty(); }
    const TStatDrawItem& operator[](int i) const { return m_items[i]; }
    // For the counters only: the keys of a stored entry must not change (the index holds them).
    TStatDrawItem& operator[](int i) { return m_items[i]; }
    const std::vector<TStatDrawItem>& Items() const { return m_items; }
    std::vector<TStatDrawItem>::const_iterator begin() const { return m_items.begin(); }
    std::vector<TStatDrawItem>::const_iterator end() const { return m_items.end(); }

    void Clear();
    void Reserve(int n);
    // Index of the entry with these keys, or -1.
    int Find(uint64_t packedKey) const;
    int Find(const TStatDrawItem& item) const { return Find(item.PackedKey()); }
    // Appends without looking for an equal entry (the caller knows there is none).
    void Append(const TStatDrawItem& item);
    // Replaces the order of the entries (sorting); the index is rebuilt.
    void Assign(std::vector<TStatDrawItem> items);

    // Lookups of the marked values that CombMatches uses; all compare 16-bit keys bit for bit,
    // the value being cut to the width it is compared with (HasKey(1, 65535) finds a key -1,
    // HasKeyByte(1, -2) a byte 0xFE).
    // The secondary indexes behind HasKey/HasLongKey/HasKeyPair/HasKeyByte are built on first
    // use and dropped by any change, so a filter pass pays for them once.
    bool HasValue(int k0, int k1 = 0, int k2 = 0, int k3 = 0) const;
    bool HasKey(int which, int v) const;        // which 1..4: Key[which-1] == v
    bool HasLongKey(int which, int32_t v) const; // which 1: Key[0..1], 2: Key[2..3]
    bool HasKeyPair(int32_t a, int32_t b) const; // Key[0..1] == a and Key[2..3] == b
    bool HasKeyByte(int which, int v) const;     // byte which (1..8, low byte of Key[0] first) == v

private:
    void rebuildIndex(std::size_t minSlots);
    void insertSlot(uint64_t packedKey, int32_t index);
    void invalidateLookups() const { m_lookupsBuilt = 0; }
    void buildKeyBits(int which) const;
    void buildLongSet(int which) const;
    void buildKeyBytes() const;

    std::vector<TStatDrawItem> m_items;
    std::vector<int32_t> m_slots;   // open addressing: index into m_items, -1 empty
    uint64_t m_mask = 0;
    int m_shift = 64;
    // Secondary lookups (mutable caches, see above), one built bit each: bits 0..3 the 16-bit
    // key sets, 4..5 the 32-bit word sets, 6 the byte sets. The storage keeps its capacity
    // across rebuilds so that repeated filter passes do not allocate.
    mutable unsigned m_lookupsBuilt = 0;
    mutable std::array<std::vector<uint64_t>, 4> m_keyBits;    // 4 bitsets of 65536 bits
    mutable std::array<std::vector<uint16_t>, 4> m_keyWords;   // the words of each that hold a bit
    mutable std::array<uint64_t, 32> m_byteBits{};   // 8 bitsets of 256 bits
    mutable std::vector<uint64_t> m_longSet[2];      // open addressing, EmptyLong = free
};

// Adds an occurrence (or a listed value with Count 0) to the values: merges with the entry of
// equal keys, or appends a copy with Norm 0. With trackPeriods the gap in draw numbers to the
// previous occurrence updates PeriodMin/PeriodMax.
void AddStatDraw(TStatDrawArray& values, const TStatDrawItem& item, bool trackPeriods);

// How a kind's values are ordered: by Key[0], then Key[1..3], each an unsigned 16-bit number;
// or, for a kind whose value is one 32-bit word in Key[0..1] (low half first), by that whole
// word, then Key[2..3], so that 65536 follows 65535 instead of sorting with 0.
enum class TKeyOrder : uint8_t { Keys, LongKey };

// The four keys as one 64-bit number whose order is the kind's value order.
uint64_t StatKeyRank(const std::array<int16_t, 4>& key, TKeyOrder order = TKeyOrder::Keys);
int CompareStatKey(const TStatDrawItem& a, const TStatDrawItem& b, TKeyOrder order = TKeyOrder::Keys);
// Ascending by CompareStatKey, stable.
void SortStatDraw(TStatDrawArray& values, TKeyOrder order = TKeyOrder::Keys);

struct TStatSummary {
    int32_t MinCount = 2147483647;
    int32_t MaxCount = 0;
    int32_t MaxDepth = 0;
    int64_t Total = 0;
};
TStatSummary SummarizeStatDraw(const TStatDrawArray& values);

// Per key, the draw number at which it was last seen (period kinds only).
struct TLastValue {
    int32_t DrawNo = 0;
    std::array<int16_t, 4> Key{};
};
class TLastValueArray {
public:
    // Gap to the previous sighting (DrawNo - stored) and stores DrawNo; -1 when the key is new.
    int32_t AddLastValue(int32_t drawNo, const std::array<int16_t, 4>& key);
    int Count() const { return static_cast<int>(m_items.size()); }
    const TLastValue& operator[](int i) const { return m_items[i]; }
    void Clear();

private:
    // The period kinds key by a number or a small item index alone; such keys find their entry
    // at once instead of by a search through all of them, for every number of every draw.
    static constexpr int DirectKeys = 64;
    static bool direct(const std::array<int16_t, 4>& key)
    {
        return key[0] >= 0 && key[0] < DirectKeys && key[1] == 0 && key[2] == 0 && key[3] == 0;
    }

    std::vector<TLastValue> m_items;
    std::array<int32_t, DirectKeys> m_slot{};   // 1 + the index of a direct key's entry; 0: none
};

// The per-window work area of the series kinds: 20 entries of three int32.
struct TWorkEntry {
    int32_t RunLength = 0;
    int32_t DrawNo = 0;
    int32_t Depth = 0;
};
using TWorkArea = std::array<TWorkEntry, 20>;

} // namespace kv::stats

#include "core/stats/statitem.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

namespace kv::stats {

namespace {

constexpr std::size_t MinSlots = 32;
constexpr int KeyBitsWords = 65536 / 64;
constexpr uint64_t EmptyLong = ~uint64_t(0);   // no 32-bit word has this value

enum : unsigned {
    BuiltKeyBits = 1u << 0,    // 4 bits, one per key
    BuiltLongSet = 1u << 4,    // 2 bits, one per word
    BuiltKeyBytes = 1u << 6,
};

uint64_t packKeys(int k0, int k1, int k2, int k3)
{
    return uint64_t(uint16_t(k0)) | (uint64_t(uint16_t(k1)) << 16) | (uint64_t(uint16_t(k2)) << 32)
         | (uint64_t(uint16_t(k3)) << 48);
}

// The keys of an item its caller has just filled, read a half-word at a time. Kinds fill the
// keys with narrow stores, and one wide load of those waits until the stores have reached the
// cache (they cannot be forwarded), which cost more than the rest of an update. The empty asm
// keeps the compiler from joining the loads into that wide one.
uint64_t freshPackedKey(const std::array<int16_t, 4>& key)
{
    uint64_t k0 = uint16_t(key[0]), k1 = uint16_t(key[1]), k2 = uint16_t(key[2]), k3 = uint16_t(key[3]);
    __asm__("" : "+r"(k0), "+r"(k1), "+r"(k2), "+r"(k3));
    return k0 | k1 << 16 | k2 << 32 | k3 << 48;
}

std::size_t longSlot(uint32_t v, std::size_t size)
{
    // Fibonacci hashing: the top bits of the product spread small consecutive values (masks,
    // numbers) over the table.
    const int bits = std::countr_zero(size);
    return std::size_t((uint64_t(v) * 0x9E3779B97F4A7C15ull) >> (64 - bits));
}

} // namespace

// --- TStatDrawArray ---------------------------------------------------------------------------

void TStatDrawArray::Clear()
{
    m_items.clear();
    std::fill(m_slots.begin(), m_slots.end(), -1);
    invalidateLookups();
}

void TStatDrawArray::Reserve(int n)
{
    if (n <= 0) return;
    m_items.reserve(static_cast<std::size_t>(n));
    const std::size_t want = std::bit_ceil(std::max(MinSlots, 2 * static_cast<std::size_t>(n)));
    if (want > m_slots.size()) rebuildIndex(want);
}

int TStatDrawArray::Find(uint64_t packedKey) const
{
    if (m_slots.empty()) return -1;
    std::size_t s = std::size_t((packedKey * 0x9E3779B97F4A7C15ull) >> m_shift);
    for (;;) {
        const int32_t i = m_slots[s];
        if (i < 0) return -1;
        if (m_items[static_cast<std::size_t>(i)].PackedKey() == packedKey) return i;
        s = (s + 1) & m_mask;
    }
}

void TStatDrawArray::insertSlot(uint64_t packedKey, int32_t index)
{
    std::size_t s = std::size_t((packedKey * 0x9E3779B97F4A7C15ull) >> m_shift);
    for (;;) {
        const int32_t i = m_slots[s];
        if (i < 0) {
            m_slots[s] = index;
            return;
        }
        // An equal key already indexed keeps its first entry (only Assign can bring duplicates).
        if (m_items[static_cast<std::size_t>(i)].PackedKey() == packedKey) return;
        s = (s + 1) & m_mask;
    }
}

void TStatDrawArray::rebuildIndex(std::size_t minSlots)
{
    std::size_t size = std::bit_ceil(std::max({MinSlots, minSlots, 2 * m_items.size()}));
    m_slots.assign(size, -1);
    m_mask = size - 1;
    m_shift = 64 - std::countr_zero(size);
    for (std::size_t i = 0; i < m_items.size(); ++i)
        insertSlot(m_items[i].PackedKey(), static_cast<int32_t>(i));
}

void TStatDrawArray::Append(const TStatDrawItem& item)
{
    // Load factor at most one half keeps probe runs short.
    if (2 * (m_items.size() + 1) > m_slots.size()) {
        m_items.push_back(item);
        rebuildIndex(2 * m_slots.size());
    } else {
        m_items.push_back(item);
        insertSlot(item.PackedKey(), static_cast<int32_t>(m_items.size() - 1));
    }
    invalidateLookups();
}

void TStatDrawArray::Assign(std::vector<TStatDrawItem> items)
{
    m_items = std::move(items);
    rebuildIndex(0);
    invalidateLookups();
}

bool TStatDrawArray::HasValue(int k0, int k1, int k2, int k3) const
{
    return Find(packKeys(k0, k1, k2, k3)) >= 0;
}

void TStatDrawArray::buildKeyBits(int which) const
{
    // Each key's set is made on its first use: most kinds test one key, and the values a filter
    // marks are a new array every pass.
    std::vector<uint64_t>& set = m_keyBits[static_cast<std::size_t>(which)];
    if (set.empty()) set.resize(KeyBitsWords);
    uint64_t* bits = set.data();
    // A filter marks a few values: only the words the last build set are cleared, not all 8 KiB
    // (all of them after a build of more values than the list of words keeps).
    constexpr std::size_t TouchedMax = KeyBitsWords / 16;
    std::vector<uint16_t>& touched = m_keyWords[static_cast<std::size_t>(which)];
    if (touched.size() > TouchedMax) std::fill(bits, bits + KeyBitsWords, 0);
    else for (uint16_t w : touched) bits[w] = 0;
    touched.clear();
    for (const TStatDrawItem& it : m_items) {
        const uint16_t v = uint16_t(it.Key[static_cast<std::size_t>(which)]);
        bits[v >> 6] |= uint64_t(1) << (v & 63);
        if (touched.size() <= TouchedMax) touched.push_back(uint16_t(v >> 6));
    }
    m_lookupsBuilt |= BuiltKeyBits << which;
}

bool TStatDrawArray::HasKey(int which, int v) const
{
    if (which < 1 || which > 4) return false;
    const int w = which - 1;
    if (!(m_lookupsBuilt & (BuiltKeyBits << w))) buildKeyBits(w);
    const uint16_t k = uint16_t(v);
    return (m_keyBits[std::size_t(w)][k >> 6] >> (k & 63)) & 1u;
}

void TStatDrawArray::buildLongSet(int which) const
{
    std::vector<uint64_t>& set = m_longSet[which];
    set.assign(std::bit_ceil(std::max<std::size_t>(16, 2 * m_items.size())), EmptyLong);
    const std::size_t mask = set.size() - 1;
    for (const TStatDrawItem& it : m_items) {
        const uint32_t v = uint32_t(uint16_t(it.Key[std::size_t(2 * which)]))
                         | (uint32_t(uint16_t(it.Key[std::size_t(2 * which + 1)])) << 16);
        std::size_t s = longSlot(v, set.size());
        while (set[s] != EmptyLong && set[s] != v) s = (s + 1) & mask;
        set[s] = v;
    }
    m_lookupsBuilt |= BuiltLongSet << which;
}

bool TStatDrawArray::HasLongKey(int which, int32_t v) const
{
    if (which < 1 || which > 2) return false;
    const int w = which - 1;
    if (!(m_lookupsBuilt & (BuiltLongSet << w))) buildLongSet(w);
    const std::vector<uint64_t>& set = m_longSet[w];
    const uint32_t key = uint32_t(v);
    const std::size_t mask = set.size() - 1;
    for (std::size_t s = longSlot(key, set.size());; s = (s + 1) & mask) {
        if (set[s] == key) return true;
        if (set[s] == EmptyLong) return false;
    }
}

bool TStatDrawArray::HasKeyPair(int32_t a, int32_t b) const
{
    return Find(uint64_t(uint32_t(a)) | (uint64_t(uint32_t(b)) << 32)) >= 0;
}

void TStatDrawArray::buildKeyBytes() const
{
    m_byteBits.fill(0);
    for (const TStatDrawItem& it : m_items) {
        const uint64_t packed = it.PackedKey();   // byte 1 of the keys is its lowest byte
        for (int b = 0; b < 8; ++b) {
            const unsigned v = unsigned(packed >> (8 * b)) & 0xFF;
            m_byteBits[std::size_t(b * 4 + (v >> 6))] |= uint64_t(1) << (v & 63);
        }
    }
    m_lookupsBuilt |= BuiltKeyBytes;
}

bool TStatDrawArray::HasKeyByte(int which, int v) const
{
    if (which < 1 || which > 8) return false;
    if (!(m_lookupsBuilt & BuiltKeyBytes)) buildKeyBytes();
    const unsigned k = unsigned(v) & 0xFF;
    return (m_byteBits[std::size_t((which - 1) * 4 + (k >> 6))] >> (k & 63)) & 1u;
}

// --- value operations -------------------------------------------------------------------------

void AddStatDraw(TStatDrawArray& values, const TStatDrawItem& item, bool trackPeriods)
{
    const int i = values.Find(freshPackedKey(item.Key));
    if (i < 0) {
        TStatDrawItem copy = item;
        copy.Norm = 0;
        values.Append(copy);
        return;
    }
    TStatDrawItem& e = values[i];
    e.Count += item.Count;
    // Draws arrive oldest first, so the smallest positive depth is the latest occurrence.
    if (e.Depth == 0 || (item.Depth > 0 && item.Depth <= e.Depth)) {
        e.LastDrawNo = item.LastDrawNo;
        e.Depth = item.Depth;
    }
    if (trackPeriods && item.LastDrawNo > 0 && e.PrevDrawNo > 0) {
        const int64_t gap = std::llabs(int64_t(e.PrevDrawNo) - int64_t(item.LastDrawNo));
        // The counters are 16 bits wide; a longer gap shows as the widest one.
        const uint16_t g = uint16_t(std::min<int64_t>(gap, 65535));
        if (g < e.PeriodMin || e.PeriodMin == 0) e.PeriodMin = g;
        if (g > e.PeriodMax || e.PeriodMax == 0) e.PeriodMax = g;
    }
    e.PrevDrawNo = item.LastDrawNo;
}

uint64_t StatKeyRank(const std::array<int16_t, 4>& key, TKeyOrder order)
{
    const auto u = [&](std::size_t i) { return uint64_t(uint16_t(key[i])); };
    const uint64_t high = order == TKeyOrder::LongKey ? (u(1) << 16 | u(0)) : (u(0) << 16 | u(1));
    return high << 32 | u(2) << 16 | u(3);
}

int CompareStatKey(const TStatDrawItem& a, const TStatDrawItem& b, TKeyOrder order)
{
    static constexpr std::size_t Keys[] = {0, 1, 2, 3}, LongKey[] = {1, 0, 2, 3};
    for (std::size_t i : order == TKeyOrder::LongKey ? LongKey : Keys) {
        const int d = int(uint16_t(a.Key[i])) - int(uint16_t(b.Key[i]));
        if (d != 0) return d;
    }
    return 0;
}

void SortStatDraw(TStatDrawArray& values, TKeyOrder order)
{
    if (values.Count() < 2) return;
    std::vector<TStatDrawItem> items = values.Items();
    std::stable_sort(items.begin(), items.end(),
                     [order](const TStatDrawItem& a, const TStatDrawItem& b) { return CompareStatKey(a, b, order) < 0; });
    values.Assign(std::move(items));
}

TStatSummary SummarizeStatDraw(const TStatDrawArray& values)
{
    TStatSummary s;
    for (const TStatDrawItem& it : values) {
        s.Total += it.Count;
        if (it.Count < s.MinCount) s.MinCount = it.Count;
        if (it.Count > s.MaxCount) s.MaxCount = it.Count;
        if (s.MaxDepth == 0 || (it.Depth > 0 && it.Depth > s.MaxDepth)) s.MaxDepth = it.Depth;
    }
    return s;
}

void TLastValueArray::Clear()
{
    for (const TLastValue& v : m_items)
        if (direct(v.Key)) m_slot[std::size_t(v.Key[0])] = 0;
    m_items.clear();
}

int32_t TLastValueArray::AddLastValue(int32_t drawNo, const std::array<int16_t, 4>& key)
{
    const auto renew = [drawNo](TLastValue& v) {
        // Draw numbers of a damaged file can lie far apart: the gap saturates.
        const int64_t wide = int64_t{drawNo} - v.DrawNo;
        const int32_t gap = static_cast<int32_t>(std::clamp<int64_t>(wide, INT32_MIN, INT32_MAX));
        v.DrawNo = drawNo;
        return gap;
    };
    const uint64_t wanted = freshPackedKey(key);
    const bool isDirect = wanted < uint64_t(DirectKeys);
    if (isDirect) {
        const int32_t slot = m_slot[std::size_t(wanted)];
        if (slot > 0) return renew(m_items[std::size_t(slot - 1)]);
        m_slot[std::size_t(wanted)] = static_cast<int32_t>(m_items.size()) + 1;
    } else {
        // Keys compared as one word: the comparison of arrays goes through memcmp.
        for (TLastValue& v : m_items) {
            uint64_t held = 0;
            std::memcpy(&held, v.Key.data(), sizeof held);
            if (held == wanted) return renew(v);
        }
    }
    // The new entry's keys from the ones read already: a copy of `key` would be the wide load.
    const auto half = [wanted](int i) { return int16_t(uint16_t(wanted >> (16 * i))); };
    m_items.push_back({drawNo, {half(0), half(1), half(2), half(3)}});
    return -1;
}

} // namespace kv::stats

#pragma once
// Items of the series, period and transition kinds: each number of a draw belongs to one item,
// the number itself, its channel or its matrix segment. The map is fixed when an instance is
// created, so a later change of the settings affects only instances created afterwards.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/game/counting.h"
#include "core/game/numbers.h"
#include "core/game/widevectors.h"
#include "core/stats/stat.h"
#include "core/util/format.h"

namespace kv::stats::kinds {

enum class TItemKind { Numbers, Channels, Segments };

// No item: bytes outside 1..20 (the numbers of a draw read outside the archive are 0).
constexpr int NoItem = -1;

class TItemMap {
public:
    TItemMap(TItemKind kind, const TConfigData& config) : m_kind(kind)
    {
        m_of.fill(NoItem);
        switch (kind) {
        case TItemKind::Numbers:
            for (int n = game::MinNumber; n <= game::MaxNumber; ++n) m_of[std::size_t(n)] = int16_t(n);
            m_first = game::MinNumber;
            m_last = game::MaxNumber;
            break;
        case TItemKind::Channels:
            // A width of 0 or less makes no channels at all (a hand-edited settings file).
            m_first = 1;
            m_last = config.ChannelSize > 0 ? game::CeilDiv(game::MaxNumber, config.ChannelSize) : 0;
            if (m_last > 0)
                for (int n = game::MinNumber; n <= game::MaxNumber; ++n)
                    m_of[std::size_t(n)] = int16_t(game::CeilDiv(n, config.ChannelSize));
            m_size = config.ChannelSize;
            break;
        case TItemKind::Segments:
            m_first = 255;
            m_last = 0;
            for (int n = game::MinNumber; n <= game::MaxNumber; ++n) {
                const int s = config.MatrixSegments[std::size_t(n - 1)];
                m_of[std::size_t(n)] = int16_t(s);
                if (s < m_first) m_first = s;
                if (s > m_last) m_last = s;
            }
            break;
        }
    }

    TItemKind Kind() const { return m_kind; }
    int Of(int n) const { return m_of[uint8_t(n)]; }
    // The range of item numbers: numbers 1..20, channels 1..C, segments smallest..largest.
    int First() const { return m_first; }
    int Last() const { return m_last; }
    int ChannelSize() const { return m_size; }

    bool InNums(int item, const game::TComb& nums) const
    {
        for (uint8_t x : nums)
            if (Of(x) == item) return true;
        return false;
    }
    int CountIn(int item, const game::TComb& nums) const
    {
        int k = 0;
        for (uint8_t x : nums) k += Of(x) == item ? 1 : 0;
        return k;
    }
    // Channels are shown with two digits so that they sort as text ("01".."05").
    std::string Text(int item) const
    {
        // Every row of a period table is captioned through here: the usual case skips the
        // formatter.
        if (item >= 0) {
            std::string text = std::to_string(item);
            if (m_kind == TItemKind::Channels && text.size() < 2) text.insert(text.begin(), '0');
            return text;
        }
        return util::Format(m_kind == TItemKind::Channels ? "%.2d" : "%d", {item});
    }

private:
    TItemKind m_kind;
    std::array<int16_t, 256> m_of{};
    int m_first = 1;
    int m_last = 0;
    int m_size = 0;
};

// The draw at index (all zeros outside the archive), its numbers ascending when sorted.
inline game::TDraw DrawAt(const game::TDrawsArray& draws, int index, bool sorted)
{
    if (index < 0 || index >= static_cast<int>(draws.size())) return game::TDraw{};
    game::TDraw d = draws[std::size_t(index)];
    if (sorted) game::SortDrawNums(d);
    return d;
}

// Filters of these kinds decide on each number of a combination separately: the batch pass
// asks once per number 1..20 and then reads a table per combination.
// The same with an answer for every byte a combination may hold (for kinds whose single test
// asks about any byte, so that damaged lists give what one call gives).
inline void MatchByByte(std::span<const game::TComb> combs, std::vector<uint8_t>& result, const game::TByteTable& hit)
{
    result.resize(combs.size());
    if (game::MatchAnyByte(combs, hit, result.data())) return;
    for (std::size_t i = 0; i < combs.size(); ++i) {
        const game::TComb& c = combs[i];
        result[i] = hit[c[0]] | hit[c[1]] | hit[c[2]] | hit[c[3]] | hit[c[4]] | hit[c[5]] | hit[c[6]] | hit[c[7]];
    }
}

template <class Pred>
void MatchByNumber(std::span<const game::TComb> combs, std::vector<uint8_t>& result, Pred&& numberMatches)
{
    game::TByteTable hit{};
    for (int n = game::MinNumber; n <= game::MaxNumber; ++n) hit[std::size_t(n)] = numberMatches(n) ? 1 : 0;
    MatchByByte(combs, result, hit);
}

template <class Pred>
bool AnyNumberMatches(const game::TComb& comb, Pred&& numberMatches)
{
    for (uint8_t x : comb)
        if (x >= game::MinNumber && x <= game::MaxNumber && numberMatches(x)) return true;
    return false;
}

// Parameter ranges that follow the settings: channels 1..C (none without a positive width),
// segments min(9, smallest)..max(1, largest).
inline std::pair<int, int> ChannelParamRange(const TConfigData& c)
{
    return {1, c.ChannelSize > 0 ? game::CeilDiv(game::MaxNumber, c.ChannelSize) : 0};
}
inline std::pair<int, int> SegmentParamRange(const TConfigData& c)
{
    int lo = 255, hi = 0;
    for (uint8_t s : c.MatrixSegments) {
        if (s < lo) lo = s;
        if (s > hi) hi = s;
    }
    return {lo < 9 ? lo : 9, hi > 1 ? hi : 1};
}

inline TStatKind::RangeFn FixedParamRange(int first, int last)
{
    return [first, last](const TConfigData&) { return std::pair<int, int>(first, last); };
}

} // namespace kv::stats::kinds

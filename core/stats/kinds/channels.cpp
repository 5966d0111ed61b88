// The channel kinds of group 3: a channel is a run of ChannelSize consecutive numbers, number n
// lying in channel CeilDiv(n, ChannelSize). The kinds count the channels of a draw, how many
// numbers each holds and how many are occupied, and take tuples of channels by position.
#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/game/counting.h"
#include "core/game/texts.h"
#include "core/game/types.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/kinds/tuplekinds.h"
#include "core/util/format.h"

namespace kv::stats::kinds {

namespace {

using game::TComb;

// A width of 0 or less (a hand-edited settings file) puts every number in channel 0, so that no
// channel 1..C exists and the kinds give no channel values instead of dividing by it.
int channelOf(int n, int w) { return w > 0 ? game::CeilDiv(n, w) : 0; }

// The width is copied when the instance is created: the instance keeps its channels when the
// settings change under a running calculation.
template <class Base>
class TChannelsBase : public Base {
public:
    TChannelsBase(const TStatKind& kind, const TStatEnv& env, int32_t param)
        : Base(kind, env, param),
          ChannelSize(env.Config.ChannelSize),
          m_channels(MakeGroupTable([w = ChannelSize](int n) { return channelOf(n, w); })),
          m_count(channelOf(game::MaxNumber, ChannelSize))
    {
    }

    const int32_t ChannelSize;

    int ChannelOf(uint8_t n) const { return m_channels[n]; }
    // C, the number of channels.
    int Channels() const { return m_count; }
    // "01 [1-4]": the channel with its first and last number (the last may lie beyond 20).
    std::string ChannelText(int g) const
    {
        return util::Format("%.2d [%s-%s]", {g, std::to_string(ChannelSize * (g - 1) + 1),
                                             std::to_string(g * ChannelSize)});
    }
    const TGroupTable& TupleGroups() const { return m_channels; }

private:
    const TGroupTable m_channels;
    const int m_count;
};

using TCustomChannelsStat = TChannelsBase<TCustomNumbersStat>;
using TCustomChannelsGraphStat = TChannelsBase<TCustomGraphStat>;

class TstChannels final : public TValueKind<TstChannels, TCustomChannelsStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::KeyByte1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        for (uint8_t x : n) emit(ChannelOf(x));
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        TCustomStat::ListValues(lastIndex, values);
        for (int n = game::MinNumber; n <= game::MaxNumber; ++n) {
            Cur.Key[0] = int16_t(ChannelOf(uint8_t(n)));
            AddCur(values, false);
        }
    }
    std::string ValueToText(const TStatDrawItem& value) const override { return ChannelText(value.Key[0]); }
    // The channel number before the bracketed range: "02 [5-8]" -> 2.
    int32_t TextToValue(std::string_view text) const override
    {
        const std::size_t start = text.find_first_not_of(' ');
        if (start == std::string_view::npos) return 0;
        text.remove_prefix(start);
        return game::TextToInt(text.substr(0, text.find(' ')));
    }
};

// One value per channel 1..C, empty channels included: (channel, how many numbers lie in it).
class TstChanValues final : public TGroupPairKind<TstChanValues, TCustomChannelsStat> {
public:
    using TGroupPairKind::TGroupPairKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Value;
    static constexpr bool SmallKeys = false;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        std::array<uint8_t, 256> count{};
        for (uint8_t x : n) ++count[std::size_t(ChannelOf(x))];
        for (int g = 1; g <= Channels(); ++g) emit(g, count[std::size_t(g)]);
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        TCustomStat::ListValues(lastIndex, values);
        const int most = std::min(ChannelSize, game::NumsPerDraw);
        for (int g = 1; g <= Channels(); ++g)
            for (int c = 0; c <= most; ++c) {
                Cur.Key = {int16_t(g), int16_t(c), 0, 0};
                AddCur(values, false);
            }
    }
    std::string ValueToText(const TStatDrawItem& value) const override
    {
        return util::Format("%0:s x %1:d", {ChannelText(value.Key[0]), value.Key[1]});
    }
};

// The number of distinct channels. Listed 1..min(w, 8) whatever counts are possible: with w = 4
// a count of 5 shows only when it occurs.
class TstChanCount final : public TValueKind<TstChanCount, TCustomChannelsGraphStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        emit(DistinctGroups(n, TupleGroups()));
    }
    // The channel pass a scenario test runs most. Channels rise with the numbers, so the wide
    // forms count where the channel changes, eight or four combinations at a time. Otherwise the channel
    // bit of every byte is found once per pass, and a combination is the OR of its 8 bits,
    // counted (a short mask by a table). A byte of a channel beyond 62 (only stray bytes with
    // narrow channels) carries bit 63 and is counted the long way.
    void MatchBatch(std::span<const TComb> combs, const TStatDrawArray& marked, int /*lastIndex*/,
                    bool /*sorted*/, bool /*exclude*/, std::vector<uint8_t>& result) override
    {
        game::TCountAnswers hit{};
        for (int k = 0; k <= game::NumsPerDraw; ++k) hit[std::size_t(k)] = lookup(marked, k, 0, 0, 0) ? 1 : 0;
        const TGroupTable& groups = TupleGroups();
        result.resize(combs.size());
        if (game::MatchClassCount(combs, groups, hit, result.data())) return;
        std::array<uint64_t, 256> bit{};
        for (std::size_t x = 0; x < bit.size(); ++x) bit[x] = uint64_t(1) << std::min<int>(groups[x], 63);
        // Channels below 11 (every width from 2 on) answer by their mask at once.
        std::array<uint8_t, 2048> byMask{};
        for (std::size_t m = 0; m < byMask.size(); ++m)
            byMask[m] = hit[std::min<std::size_t>(game::BitCounts11[m], game::NumsPerDraw)];
        const TComb* const in = combs.data();
        uint8_t* const out = result.data();
        for (std::size_t i = 0; i < combs.size(); ++i) {
            const TComb& c = in[i];
            const uint64_t m = bit[c[0]] | bit[c[1]] | bit[c[2]] | bit[c[3]] | bit[c[4]] | bit[c[5]] | bit[c[6]] |
                               bit[c[7]];
            out[i] = m < byMask.size() ? byMask[m]
                                       : hit[std::size_t(m >> 63 == 0 ? game::BitCount(m) : DistinctGroups(c, groups))];
        }
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override
    {
        listRange(lastIndex, values, 1, std::min(ChannelSize, game::NumsPerDraw));
    }
};

// How many numbers lie in the channel of the parameter; 0 is shown only when a draw has it.
class TstChnValCnt final : public TValueKind<TstChnValCnt, TCustomChannelsGraphStat> {
public:
    using TValueKind::TValueKind;
    static constexpr TMatchRule MatchRule = TMatchRule::Key1;
    static constexpr bool SmallKeys = true;
    template <class Emit>
    void Values(const TComb& n, Emit&& emit) const
    {
        emit(CountInGroup(n, TupleGroups(), Param()));
    }
    void ListValues(int lastIndex, TStatDrawArray& values) override { listRange(lastIndex, values, 1, ChannelSize); }
};

template <int K>
using TstCombChnMix = TGroupTupleStat<TCustomChannelsStat, K, TGroupTupleForm::Mix>;
template <int K>
using TstCombChnSeq = TGroupTupleStat<TCustomChannelsStat, K, TGroupTupleForm::Seq>;

// --- descriptors ------------------------------------------------------------------------------

constexpr TStatGroup ChannelGroup = GroupChannels;

std::pair<int, int> channelParamRange(const TConfigData& config)
{
    return {1, config.ChannelSize > 0 ? game::CeilDiv(game::MaxNumber, config.ChannelSize) : 0};
}

const std::vector<TStatKind>& channelKinds()
{
    static const char* const Mix = "Сочетания из %0:d каналов по всем числам тиража";
    static const char* const Seq = "Сочетания из %0:d каналов по соседним числам";
    static const std::vector<TStatKind> kinds = {
        TStatKind({.Position = 22, .ClassName = "TstChannels", .Code = "CHAN", .Caption = "Каналы",
                   .Group = ChannelGroup, .Flags = FlagN, .Create = GroupKindFactory<TstChannels>()}),
        TStatKind({.Position = 23, .ClassName = "TstChanValues", .Code = "CHNV",
                   .Caption = "Количество чисел в канале", .Group = ChannelGroup, .Flags = FlagN,
                   .NumericValue = false, .Create = GroupKindFactory<TstChanValues>()}),
        TStatKind({.Position = 24, .ClassName = "TstChanCount", .Code = "CHNC",
                   .Caption = "Количество каналов в тираже", .Group = ChannelGroup, .Flags = FlagN,
                   .Graph = true, .Create = GroupKindFactory<TstChanCount>()}),
        TupleKind(ChannelGroup, 78, "TstCombChnMix2", "KCM%d", Mix, 2, GroupKindFactory<TstCombChnMix<2>>()),
        TupleKind(ChannelGroup, 79, "TstCombChnMix3", "KCM%d", Mix, 3, GroupKindFactory<TstCombChnMix<3>>()),
        TupleKind(ChannelGroup, 80, "TstCombChnMix4", "KCM%d", Mix, 4, GroupKindFactory<TstCombChnMix<4>>()),
        TupleKind(ChannelGroup, 81, "TstCombChnSeq2", "KCS%d", Seq, 2, GroupKindFactory<TstCombChnSeq<2>>()),
        TupleKind(ChannelGroup, 82, "TstCombChnSeq3", "KCS%d", Seq, 3, GroupKindFactory<TstCombChnSeq<3>>()),
        TupleKind(ChannelGroup, 83, "TstCombChnSeq4", "KCS%d", Seq, 4, GroupKindFactory<TstCombChnSeq<4>>()),
        TStatKind({.Position = 104, .ClassName = "TstChnValCnt", .Code = "CHN%d",
                   .Caption = "Количество чисел в %0:d канале", .HelpCode = "CHNx", .Group = ChannelGroup,
                   .Flags = FlagN, .Graph = true, .HasParam = true, .ParamRange = channelParamRange,
                   .Create = GroupKindFactory<TstChnValCnt>()}),
    };
    return kinds;
}

} // namespace

void AddChannelKinds(std::vector<const TStatKind*>& kinds)
{
    for (const TStatKind& k : channelKinds()) kinds.push_back(&k);
}

} // namespace kv::stats::kinds

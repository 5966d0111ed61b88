#include "core/stakes/stakerecord.h"

#include <algorithm>
#include <vector>

#include "core/game/numbers.h"
#include "core/game/texts.h"
#include "core/util/binio.h"
#include "core/util/cp1251.h"

namespace kv::stakes {

using namespace kv::util;

void TStakeRecord::Read(const uint8_t* p)
{
    Version = GetU8(p + OffVersion);
    Origin = GetU8(p + OffOrigin);
    DrawNo = GetI32(p + OffDrawNo);
    Checked = GetU8(p + OffChecked);
    SampleSize = GetI32(p + OffSampleSize);
    Stake.Read(p + OffStake);
    std::copy(p + OffDrawNums, p + OffDrawNums + DrawNums.size(), DrawNums.begin());
    Matched.Read(p + OffMatched);
    Profit = Currency::FromRaw(GetI64(p + OffProfit));
    Comment = GetShortString(p + OffComment, CommentCapacity);
}

void TStakeRecord::Write(uint8_t* p) const
{
    std::fill(p, p + RecordSize, uint8_t{0});
    PutU8(p + OffVersion, Version);
    PutU8(p + OffOrigin, Origin);
    PutI32(p + OffDrawNo, DrawNo);
    PutU8(p + OffChecked, Checked);
    PutI32(p + OffSampleSize, SampleSize);
    Stake.Write(p + OffStake);
    std::copy(DrawNums.begin(), DrawNums.end(), p + OffDrawNums);
    Matched.Write(p + OffMatched);
    PutI64(p + OffProfit, Profit.raw);
    PutShortString(p + OffComment, CommentCapacity, Comment);
}

namespace {

bool countsDamaged(int32_t drawNo, int32_t stakeCount, int32_t matchedCount)
{
    return drawNo > 0 && (stakeCount < 0 || stakeCount > game::NumsPerDraw || matchedCount < -1
                          || matchedCount > game::NumsPerDraw);
}

} // namespace

bool TStakeRecord::IsDamaged() const
{
    return countsDamaged(DrawNo, Stake.Count, Matched.Count);
}

bool StakeBytesDamaged(const uint8_t* p)
{
    return countsDamaged(GetI32(p + TStakeRecord::OffDrawNo), GetI32(p + TStakeRecord::OffStake),
                         GetI32(p + TStakeRecord::OffMatched));
}

bool StakeBytesDue(const uint8_t* p)
{
    return GetU8(p + TStakeRecord::OffChecked) == 0 && GetI32(p + TStakeRecord::OffDrawNo) > 0
        && GetI32(p + TStakeRecord::OffStake) == game::NumsPerDraw;
}

TStakeRecord NewSeparator()
{
    TStakeRecord r;
    r.Version = TStakeRecord::CurrentVersion;
    r.Origin = OriginSeparator;
    r.DrawNo = -1;
    r.Matched.Count = -1;
    return r;
}

TStakeRecord NewStake(uint8_t origin, int32_t drawNo, int32_t sampleSize, const game::TNumSet& stake,
                      std::string_view comment, const TPrizeTable& prizes)
{
    TStakeRecord r;
    r.Version = TStakeRecord::CurrentVersion;
    r.Origin = origin;
    r.DrawNo = drawNo;
    r.SampleSize = sampleSize;
    r.Stake = stake;
    r.Matched.Count = -1;
    r.Profit = prizes.StakeResult(stake.Count, -1);
    r.Comment = Utf8Left(comment, TStakeRecord::CommentCapacity);
    return r;
}

TStakeRecord NewStake(uint8_t origin, int32_t drawNo, int32_t sampleSize, const game::TComb& comb,
                      std::string_view comment, const TPrizeTable& prizes)
{
    return NewStake(origin, drawNo, sampleSize, game::CombToNumSet(comb), comment, prizes);
}

bool IsOutdatedStakesFile(int64_t size, uint8_t firstVersion)
{
    if (size <= 0) return false;
    return size % static_cast<int64_t>(TStakeRecord::RecordSize) != 0 || firstVersion != TStakeRecord::CurrentVersion;
}

namespace {

// Words of the numbers field: ";" and "," separate, every word is trimmed; blanks alone do not
// separate, so "1 2" stays one word and is refused.
std::vector<std::string_view> stakeWords(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == ';' || text[i] == ',') {
            words.push_back(game::TrimText(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    return words;
}

} // namespace

std::optional<game::TNumSet> ParseStakeText(std::string_view text)
{
    const std::vector<std::string_view> words = stakeWords(text);
    if (words.size() != game::NumsPerDraw) return std::nullopt;
    game::TNumSet set;
    uint32_t seen = 0;
    for (std::string_view w : words) {
        int32_t v = 0;
        if (!game::TryTextToInt(w, v) || v < game::MinNumber || v > game::MaxNumber) return std::nullopt;
        if (seen & (1u << v)) return std::nullopt;
        seen |= 1u << v;
        set.Nums[set.Count++] = static_cast<uint8_t>(v);
    }
    game::SortNumSet(set);
    return set;
}

int64_t StakeTextSum(std::string_view text)
{
    int64_t sum = 0;
    for (std::string_view w : stakeWords(text)) sum += game::TextToInt(w);
    return sum;
}

} // namespace kv::stakes

#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/game/types.h"
#include "core/stakes/prizetable.h"
#include "core/util/currency.h"

namespace kv::stakes {

// Who made a stake. The code is stored in the record and chooses the row colour of the grid.
enum TStakeOrigin : uint8_t {
    OriginSeparator = 0,
    OriginManual = 1,
    OriginRegular = 2,
    OriginScenario = 3,
    OriginSystem = 4,
};

// One stake: the record of the stakes file, 312 bytes, little-endian:
//   0  u8       Version (2)
//   1  u8       Origin (0 in a separator record)
//   2  2 bytes  reserved, written as zero
//   4  int32    DrawNo (-1 in a separator record)
//   8  u8       Checked (1 once checked against its draw)
//   9  3 bytes  reserved, written as zero
//  12  int32    SampleSize (combinations in the list when the stake was made)
//  16  TNumSet  Stake (12 bytes, numbers ascending)
//  28  8 x u8   DrawNums (the draw's numbers, filled by the check)
//  36  TNumSet  Matched (Count -1 until checked, then the hits, numbers ascending)
//  48  int64    Profit (Currency)
//  56  u8       length of Comment (0..255), then 255 CP1251 bytes
// A default-constructed record is all zeros, which is what a failed read yields; NewStake and
// NewSeparator build the records the system writes.
struct TStakeRecord {
    static constexpr std::size_t RecordSize = 312;
    static constexpr uint8_t CurrentVersion = 2;
    static constexpr std::size_t CommentCapacity = 255;

    // Offsets of the fields the file operations test without decoding a whole record.
    static constexpr std::size_t OffVersion = 0;
    static constexpr std::size_t OffOrigin = 1;
    static constexpr std::size_t OffDrawNo = 4;
    static constexpr std::size_t OffChecked = 8;
    static constexpr std::size_t OffSampleSize = 12;
    static constexpr std::size_t OffStake = 16;
    static constexpr std::size_t OffDrawNums = 28;
    static constexpr std::size_t OffMatched = 36;
    static constexpr std::size_t OffProfit = 48;
    static constexpr std::size_t OffComment = 56;

    uint8_t Version = 0;
    uint8_t Origin = 0;
    int32_t DrawNo = 0;
    uint8_t Checked = 0;
    int32_t SampleSize = 0;
    game::TNumSet Stake;
    game::TComb DrawNums{};
    game::TNumSet Matched;
    util::Currency Profit;
    std::string Comment;   // UTF-8; written as CP1251 and cut to 255 characters

    void Read(const uint8_t* p);
    void Write(uint8_t* p) const;

    // The check pass looks only at stakes that were not checked yet, are for a real draw and
    // hold a whole ticket.
    bool IsDue() const { return Checked == 0 && DrawNo > 0 && Stake.Count == game::NumsPerDraw; }
    // A stake whose counts no record can hold (more than 8 numbers, hits outside -1..8) came
    // from a damaged file: it is shown as such and never checked, priced or rated.
    bool IsDamaged() const;
    // Separator rows (and anything else without a draw) show as empty rows.
    bool IsStake() const { return DrawNo > 0; }

    bool operator==(const TStakeRecord&) const = default;
};

// The same tests on a record's bytes, for the passes that walk the file without decoding it.
bool StakeBytesDamaged(const uint8_t* p);
bool StakeBytesDue(const uint8_t* p);
constexpr const char* DamagedStakeText = "запись повреждена";

// The record that divides groups of stakes: Version 2, Origin 0, DrawNo -1, Matched.Count -1,
// everything else zero or empty.
TStakeRecord NewSeparator();

// A fresh, unchecked stake as every command builds it: Checked 0, DrawNums zero, Matched.Count
// -1 and the result of an unchecked stake (prizes.StakeResult(count, -1)) as Profit. The comment is
// cut to 255 characters, as the record keeps it.
TStakeRecord NewStake(uint8_t origin, int32_t drawNo, int32_t sampleSize, const game::TNumSet& stake,
                      std::string_view comment, const TPrizeTable& prizes);
TStakeRecord NewStake(uint8_t origin, int32_t drawNo, int32_t sampleSize, const game::TComb& comb,
                      std::string_view comment, const TPrizeTable& prizes);

// Files of earlier versions of the program cannot be read: a size that is not a whole number
// of records, or a first record whose Version is not 2. An empty file is never outdated.
bool IsOutdatedStakesFile(int64_t size, uint8_t firstVersion);

// The numbers field of the stake dialog: exactly 8 words separated by ";" or ",", each word
// (trimmed) an integer 1..20, all different. Gives the set sorted ascending (Count 8), or
// nothing when the text is refused ("Введена некорректная комбинация!").
std::optional<game::TNumSet> ParseStakeText(std::string_view text);
// The read-only "Сумма:" field of that dialog: words that are not numbers count 0.
int64_t StakeTextSum(std::string_view text);
constexpr const char* BadStakeText = "Введена некорректная комбинация!\n"
                                     "Ожидаются 8 разных чисел от 1 до 20 через точку с запятой или запятую, "
                                     "например: 1;5;8;11;13;16;18;20";
constexpr const char* NoCommentText = "Необходимо ввести комментарий!";

} // namespace kv::stakes

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/stakes/stakerecord.h"
#include "core/stakes/prizetable.h"
#include "core/stats/config.h"

using namespace kv;
using namespace kv::stakes;

namespace {

using Bytes = std::vector<uint8_t>;

// The first 56 bytes of a record as a file holds them, then the comment field: its length byte
// and characters, zero-filled to 256 bytes unless other filler is given.
Bytes RecordBytes(Bytes head, uint8_t length, const std::string& chars, uint8_t filler = 0)
{
    EXPECT_EQ(head.size(), 56u);
    Bytes b = std::move(head);
    b.push_back(length);
    b.insert(b.end(), chars.begin(), chars.end());
    b.resize(312, filler);
    return b;
}

Bytes Written(const TStakeRecord& r)
{
    Bytes b(312, 0xEE);
    r.Write(b.data());
    return b;
}

TStakeRecord Read(const Bytes& b)
{
    TStakeRecord r;
    r.Read(b.data());
    return r;
}

} // namespace

TEST(StakeRecord, LayoutBothWays)
{
    struct Case {
        const char* name;
        Bytes bytes;   // as written by this system (reserved bytes zero)
        TStakeRecord record;
    };
    TStakeRecord checked;
    checked.Version = 2;
    checked.Origin = 3;
    checked.DrawNo = 4660;
    checked.Checked = 1;
    checked.SampleSize = 125970;
    checked.Stake = {8, {1, 5, 7, 9, 12, 13, 18, 20}};
    checked.DrawNums = {3, 7, 1, 15, 9, 20, 11, 4};
    checked.Matched = {4, {1, 7, 9, 20, 0, 0, 0, 0}};
    checked.Profit = util::Currency::FromRaw(400000);
    checked.Comment = "Тест";

    TStakeRecord unchecked;
    unchecked.Version = 2;
    unchecked.Origin = 1;
    unchecked.DrawNo = 0x01020304;
    unchecked.SampleSize = 1;
    unchecked.Stake = {8, {2, 4, 6, 8, 10, 12, 14, 16}};
    unchecked.Matched = {-1, {}};
    unchecked.Profit = util::Currency::FromRaw(-100000);
    unchecked.Comment = "Ставка \"вручную\"";

    const std::vector<Case> cases = {
        {"checked scenario stake, cyrillic comment",
         RecordBytes({2, 3, 0, 0, 0x34, 0x12, 0, 0, 1, 0, 0, 0, 0x12, 0xEC, 0x01, 0x00,
                      8, 0, 0, 0, 1, 5, 7, 9, 12, 13, 18, 20,
                      3, 7, 1, 15, 9, 20, 11, 4,
                      4, 0, 0, 0, 1, 7, 9, 20, 0, 0, 0, 0,
                      0x80, 0x1A, 0x06, 0, 0, 0, 0, 0},
                     4, "\xD2\xE5\xF1\xF2"),
         checked},
        {"unchecked manual stake, negative profit, byte order",
         RecordBytes({2, 1, 0, 0, 0x04, 0x03, 0x02, 0x01, 0, 0, 0, 0, 1, 0, 0, 0,
                      8, 0, 0, 0, 2, 4, 6, 8, 10, 12, 14, 16,
                      0, 0, 0, 0, 0, 0, 0, 0,
                      0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0,
                      0x60, 0x79, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                     16, "\xD1\xF2\xE0\xE2\xEA\xE0 \"\xE2\xF0\xF3\xF7\xED\xF3\xFE\""),
         unchecked},
        {"separator",
         RecordBytes({2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0,
                      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                      0, 0, 0, 0, 0, 0, 0, 0,
                      0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0,
                      0, 0, 0, 0, 0, 0, 0, 0},
                     0, ""),
         NewSeparator()},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.bytes.size(), 312u) << c.name;
        EXPECT_EQ(Read(c.bytes), c.record) << c.name;
        EXPECT_EQ(Written(c.record), c.bytes) << c.name;
    }
}

TEST(StakeRecord, ForeignBytesAreReadButNotWrittenBack)
{
    // Reserved bytes set and characters past the comment's length: reading ignores them,
    // writing zeroes them.
    Bytes b = RecordBytes({2, 1, 0xAA, 0xBB, 7, 0, 0, 0, 0, 0xCC, 0xDD, 0xEE, 5, 0, 0, 0,
                           8, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8,
                           0, 0, 0, 0, 0, 0, 0, 0,
                           0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0,
                           0, 0, 0, 0, 0, 0, 0, 0},
                          2, "okJUNK", 0x55);
    const TStakeRecord r = Read(b);
    EXPECT_EQ(r.DrawNo, 7);
    EXPECT_EQ(r.SampleSize, 5);
    EXPECT_EQ(r.Comment, "ok");
    Bytes expected = RecordBytes({2, 1, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0,
                                  8, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8,
                                  0, 0, 0, 0, 0, 0, 0, 0,
                                  0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0,
                                  0, 0, 0, 0, 0, 0, 0, 0},
                                 2, "ok");
    EXPECT_EQ(Written(r), expected);
}

TEST(StakeRecord, CommentIsCutAt255Characters)
{
    struct Case {
        const char* name;
        std::string comment;
        uint8_t length;
        std::string stored;   // CP1251
    };
    const std::vector<Case> cases = {
        {"255 fit", std::string(255, 'x'), 255, std::string(255, 'x')},
        {"256 cut", std::string(255, 'x') + "y", 255, std::string(255, 'x')},
        {"cyrillic counted by character",
         [] { std::string s; for (int i = 0; i < 300; ++i) s += "Ж"; return s; }(), 255, std::string(255, '\xC6')},
        {"empty", "", 0, ""},
    };
    for (const Case& c : cases) {
        TStakeRecord r = NewSeparator();
        r.Comment = c.comment;
        const Bytes b = Written(r);
        EXPECT_EQ(b[56], c.length) << c.name;
        EXPECT_EQ(std::string(b.begin() + 57, b.begin() + 57 + c.length), c.stored) << c.name;
    }
    // A new stake keeps in memory exactly what the file will hold.
    const TPrizeTable prizes;
    std::string long300;
    for (int i = 0; i < 300; ++i) long300 += "Ж";
    const TStakeRecord s = NewStake(OriginManual, 5, 10, game::TComb{1, 2, 3, 4, 5, 6, 7, 8}, long300, prizes);
    EXPECT_EQ(s.Comment.size(), 255u * 2);   // 255 two-byte UTF-8 characters
    EXPECT_EQ(Read(Written(s)), s);
}

TEST(StakeRecord, NewStakeIsUncheckedWithTheCostAsLoss)
{
    stats::TConfigData config;
    config.Cost = util::Currency::FromUnits(10);
    config.Profits = {{0, util::Currency::FromUnits(500)}};   // a prize for 0 hits must not apply
    const TPrizeTable prizes(config);
    const TStakeRecord s =
        NewStake(OriginRegular, 1234, 125970, game::TComb{1, 5, 7, 9, 12, 13, 18, 20}, "Регулярная ставка", prizes);
    EXPECT_EQ(s.Version, 2);
    EXPECT_EQ(s.Origin, OriginRegular);
    EXPECT_EQ(s.DrawNo, 1234);
    EXPECT_EQ(s.Checked, 0);
    EXPECT_EQ(s.SampleSize, 125970);
    EXPECT_EQ(s.Stake, (game::TNumSet{8, {1, 5, 7, 9, 12, 13, 18, 20}}));
    EXPECT_EQ(s.DrawNums, game::TComb{});
    EXPECT_EQ(s.Matched, (game::TNumSet{-1, {}}));
    EXPECT_EQ(s.Profit, util::Currency::FromUnits(-10));
    EXPECT_TRUE(s.IsDue());
}

TEST(StakeRecord, OutdatedFormat)
{
    struct Case {
        int64_t size;
        uint8_t version;
        bool outdated;
    };
    const std::vector<Case> cases = {
        {0, 0, false},   {0, 2, false},   {312, 2, false}, {624, 2, false}, {313, 2, true},
        {311, 2, true},  {100, 2, true},  {312, 1, true},  {312, 0, true},  {312, 3, true},
        {936, 1, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsOutdatedStakesFile(c.size, c.version), c.outdated) << c.size << " bytes, version " << int(c.version);
}

TEST(StakeRecord, DialogNumbersText)
{
    struct Case {
        const char* text;
        bool accepted;
        game::TComb sorted;
        int64_t sum;
    };
    const std::vector<Case> cases = {
        {"1;2;3;4;5;6;7;8", true, {1, 2, 3, 4, 5, 6, 7, 8}, 36},
        {"1,2;3, 4;5;6;7;8", true, {1, 2, 3, 4, 5, 6, 7, 8}, 36},
        {" 20 ; 3;7;1;15;9;11;4 ", true, {1, 3, 4, 7, 9, 11, 15, 20}, 70},
        {"1;2;3;4;5;6;7", false, {}, 28},
        {"1;2;3;4;5;6;7;8;9", false, {}, 45},
        {"0;2;3;4;5;6;7;8", false, {}, 35},
        {"1;2;3;4;5;6;7;21", false, {}, 49},
        {"1;2;3;4;5;6;7;7", false, {}, 35},
        {"1 2 3 4 5 6 7 8", false, {}, 0},
        {"1;2;3;4;5;6;7;x", false, {}, 28},
        {"", false, {}, 0},
    };
    for (const Case& c : cases) {
        const auto set = ParseStakeText(c.text);
        EXPECT_EQ(set.has_value(), c.accepted) << c.text;
        if (set && c.accepted) {
            EXPECT_EQ(*set, (game::TNumSet{8, c.sorted})) << c.text;
        }
        EXPECT_EQ(StakeTextSum(c.text), c.sum) << c.text;
    }
}

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/game/game.h"

using namespace kv::game;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes WriteDraw(const TDraw& d)
{
    Bytes b(TDraw::RecordSize, 0xEE);
    d.Write(b.data());
    return b;
}

// 32 bytes of a draw record whose date bytes are given in full (length byte, 16 characters).
Bytes DrawRecord(Bytes head, uint8_t dateLen, std::string dateChars, uint8_t fill0, uint8_t fill1)
{
    dateChars.resize(16, '\0');
    Bytes b = std::move(head);
    b.push_back(dateLen);
    b.insert(b.end(), dateChars.begin(), dateChars.end());
    b.push_back(fill0);
    b.push_back(fill1);
    return b;
}

TEST(Records, DrawRecordLayout)
{
    struct Case {
        const char* name;
        Bytes bytes;             // as found in a file
        int32_t drawNo;
        TComb nums;
        uint8_t extra;
        std::string dateText;    // UTF-8
    };
    const std::vector<Case> cases = {
        {"plain",
         DrawRecord({0xD2, 0x04, 0x00, 0x00, 3, 7, 1, 15, 9, 20, 11, 4, 2}, 16, "01.02.2020 10:05", 0, 0),
         1234, {3, 7, 1, 15, 9, 20, 11, 4}, 2, "01.02.2020 10:05"},
        {"byte order and fill ignored",
         DrawRecord({0x04, 0x03, 0x02, 0x01, 1, 2, 3, 4, 5, 6, 7, 8, 4}, 10, "12.03.2021", 0xAB, 0xCD),
         0x01020304, {1, 2, 3, 4, 5, 6, 7, 8}, 4, "12.03.2021"},
        {"negative draw number, empty date",
         DrawRecord({0xFE, 0xFF, 0xFF, 0xFF, 20, 19, 18, 17, 16, 15, 14, 13, 1}, 0, "", 0, 0),
         -2, {20, 19, 18, 17, 16, 15, 14, 13}, 1, ""},
        {"cyrillic date text",
         DrawRecord({0x01, 0x00, 0x00, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 3}, 8, "\xCF\xED 01.02", 0, 0),
         1, {1, 2, 3, 4, 5, 6, 7, 8}, 3, "Пн 01.02"},
        {"bytes past the length are not text",
         DrawRecord({0x05, 0x00, 0x00, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 3}, 5, "01.02XYZ\x01\xFFq", 0, 0),
         5, {1, 2, 3, 4, 5, 6, 7, 8}, 3, "01.02"},
        {"length above the capacity is clamped",
         DrawRecord({0x06, 0x00, 0x00, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 3}, 200, "0123456789abcdef", 0, 0),
         6, {1, 2, 3, 4, 5, 6, 7, 8}, 3, "0123456789abcdef"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.bytes.size(), TDraw::RecordSize) << c.name;
        TDraw d;
        d.Read(c.bytes.data());
        EXPECT_EQ(d.DrawNo, c.drawNo) << c.name;
        EXPECT_EQ(d.Nums, c.nums) << c.name;
        EXPECT_EQ(d.Extra, c.extra) << c.name;
        EXPECT_EQ(d.DateText(), c.dateText) << c.name;

        // Writing gives the same bytes, undisplayed date bytes included, with the fill zeroed.
        Bytes expected = c.bytes;
        expected[30] = 0;
        expected[31] = 0;
        EXPECT_EQ(WriteDraw(d), expected) << c.name;
    }
}

TEST(Records, DrawDateTextIsStoredAsCp1251)
{
    struct Case {
        std::string text;     // UTF-8 given
        std::string stored;   // CP1251 bytes expected after the length byte
        std::string readBack;
    };
    const std::vector<Case> cases = {
        {"01.02.2020 10:05", "01.02.2020 10:05", "01.02.2020 10:05"},
        {"Пн 01.02", "\xCF\xED 01.02", "Пн 01.02"},
        {"Ёё", "\xA8\xB8", "Ёё"},
        {"", "", ""},
        {"01.02.2020 10:05:59", "01.02.2020 10:05", "01.02.2020 10:05"},   // cut to 16
        {"абвгдежзийклмнопрст", "\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF",
         "абвгдежзийклмноп"},
    };
    for (const Case& c : cases) {
        TDraw d;
        d.DrawNo = 7;
        d.SetDateText(c.text);
        EXPECT_EQ(d.DateText(), c.readBack) << c.text;

        const Bytes b = WriteDraw(d);
        EXPECT_EQ(b[13], c.stored.size()) << c.text;
        EXPECT_EQ(std::string(b.begin() + 14, b.begin() + 14 + static_cast<long>(c.stored.size())), c.stored)
            << c.text;
        for (std::size_t i = 14 + c.stored.size(); i < 30; ++i) EXPECT_EQ(b[i], 0) << c.text << " @" << i;

        TDraw back;
        back.Read(b.data());
        EXPECT_EQ(back, d) << c.text;
    }
}

TEST(Records, NumSetRecordLayout)
{
    struct Case {
        Bytes bytes;
        int32_t count;
        TComb nums;
    };
    const std::vector<Case> cases = {
        {{0x08, 0x00, 0x00, 0x00, 1, 5, 7, 9, 12, 13, 18, 20}, 8, {1, 5, 7, 9, 12, 13, 18, 20}},
        {{0x03, 0x00, 0x00, 0x00, 9, 15, 20, 0, 0, 0, 0, 0}, 3, {9, 15, 20, 0, 0, 0, 0, 0}},
        {{0x00, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}, 0, {}},
        {{0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8}, -1, {1, 2, 3, 4, 5, 6, 7, 8}},
        {{0x00, 0x01, 0x00, 0x00, 1, 2, 3, 4, 5, 6, 7, 8}, 256, {1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.bytes.size(), TNumSet::RecordSize);
        TNumSet s;
        s.Read(c.bytes.data());
        EXPECT_EQ(s.Count, c.count);
        EXPECT_EQ(s.Nums, c.nums);

        Bytes out(TNumSet::RecordSize, 0xEE);
        s.Write(out.data());
        EXPECT_EQ(out, c.bytes) << c.count;
    }
}

} // namespace

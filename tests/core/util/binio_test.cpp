#include "core/util/binio.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv::util {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(BinIo, NumbersAreLittleEndian)
{
    uint8_t b[8];
    PutU16(b, 0x1234);
    EXPECT_EQ(Bytes(b, b + 2), (Bytes{0x34, 0x12}));
    PutI32(b, -2);
    EXPECT_EQ(Bytes(b, b + 4), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    PutI64(b, 0x0102030405060708);
    EXPECT_EQ(Bytes(b, b + 8), (Bytes{8, 7, 6, 5, 4, 3, 2, 1}));
    PutF64(b, 1.0);
    EXPECT_EQ(Bytes(b, b + 8), (Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));

    const uint8_t in[8] = {0x80, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(GetU16(in), 0xFF80);
    EXPECT_EQ(GetI32(in), -128);
    EXPECT_EQ(GetI64(in), -128);
    EXPECT_EQ(GetU32(in + 4), 0xFFFFFFFFu);
}

TEST(BinIo, ShortStringWritesLengthCp1251AndZeros)
{
    struct Case {
        const char* what;
        std::string utf8;
        std::size_t capacity;
        Bytes field; // length byte + capacity bytes
    };
    const std::vector<Case> cases = {
        {"Cyrillic", "Архив", 8, {5, 0xC0, 0xF0, 0xF5, 0xE8, 0xE2, 0, 0, 0}},
        {"exact fit", "abc", 3, {3, 'a', 'b', 'c'}},
        {"cut at capacity", "Тираж", 3, {3, 0xD2, 0xE8, 0xF0}},
        {"empty", "", 4, {0, 0, 0, 0, 0}},
        {"zero capacity", "abc", 0, {0}},
        {"unmappable", "a中b", 5, {3, 'a', '?', 'b', 0, 0}},
        {"Ёё", "Ёё", 2, {2, 0xA8, 0xB8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Stale bytes must go, and nothing past the field may change.
        Bytes buf(c.capacity + 3, 0xAA);
        PutShortString(buf.data(), c.capacity, c.utf8);
        EXPECT_EQ(Bytes(buf.begin(), buf.begin() + c.capacity + 1), c.field);
        EXPECT_EQ(buf[c.capacity + 1], 0xAA);
        EXPECT_EQ(buf[c.capacity + 2], 0xAA);
    }
}

TEST(BinIo, ShortStringLengthNeverExceedsOneByte)
{
    Bytes buf(301, 0xAA);
    PutShortString(buf.data(), 300, std::string(280, 'x'));
    EXPECT_EQ(buf[0], 255);
    EXPECT_EQ(buf[255], 'x');
    EXPECT_EQ(buf[256], 0);
    EXPECT_EQ(buf[300], 0);
    EXPECT_EQ(GetShortString(buf.data(), 300), std::string(255, 'x'));
}

TEST(BinIo, ShortStringReads)
{
    struct Case {
        const char* what;
        Bytes field;
        std::size_t capacity;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {"Cyrillic", {3, 0xC0, 0xE1, 0xE2, 0, 0}, 4, "Абв"},
        {"empty", {0, 'x', 'y'}, 2, ""},
        {"garbage after the length is ignored", {1, 'a', 'b', 'c'}, 3, "a"},
        {"length above capacity is clamped", {200, 'a', 'b', 'c', 'd'}, 4, "abcd"},
        {"length 255 in a small field", {255, 0xDF}, 1, "Я"},
        {"bytes are not cut at a zero", {3, 'a', 0, 'b'}, 3, std::string("a\0b", 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(GetShortString(c.field.data(), c.capacity), c.utf8);
    }
}

TEST(BinIo, ShortStringRoundTrip)
{
    const std::vector<std::string> texts = {"", "Архив тиражей", "Ёё", "№ 12 «8x20»", "plain"};
    for (const std::string& t : texts) {
        SCOPED_TRACE(t);
        Bytes buf(31);
        PutShortString(buf.data(), 30, t);
        EXPECT_EQ(GetShortString(buf.data(), 30), t);
    }
}

} // namespace
} // namespace kv::util

#include <gtest/gtest.h>

#include "core/archive/archive.h"
#include "core/archive/drawlist.h"
#include "core/archive/sample.h"
#include "core/util/error.h"
#include "tests/support/support.h"

using namespace kv;
using game::TDraw;
using game::TDrawsArray;

namespace {

TDraw makeDraw(int no, game::TComb nums, int extra = 1, const char* date = "")
{
    TDraw d;
    d.DrawNo = no;
    d.Nums = nums;
    d.Extra = static_cast<uint8_t>(extra);
    d.SetDateText(date);
    return d;
}

// Draws 101..110 whose numbers are easy to tell apart: draw n starts with n - 100.
TDrawsArray draws101to110()
{
    TDrawsArray draws;
    for (int no = 101; no <= 110; ++no) {
        const auto k = static_cast<uint8_t>(no - 100);
        draws.push_back(makeDraw(no, {k, 20, 19, 18, 17, 16, 15, 14}));
    }
    return draws;
}

} // namespace

TEST(ArchiveFile, HundredBytesHoldThreeDrawsAndTheRestIsIgnored)
{
    // Three synthetic draws (seed 7) and four bytes of a fourth record, as a copy cut short leaves it.
    const std::filesystem::path path = std::filesystem::path(KV_TEST_DATA) / "broken" / "truncated-archive.ldr";
    ASSERT_EQ(std::filesystem::file_size(path), 100u);

    const archive::LoadedArchive loaded = archive::ReadArchiveFile(path);
    ASSERT_EQ(loaded.draws.size(), 3u);
    EXPECT_EQ(loaded.trailingBytes, 4);
    EXPECT_EQ(loaded.draws, archive::SyntheticDraws(3, 7));
}

TEST(ArchiveFile, LargeFilesReadAcrossChunkBoundaries)
{
    test::TempDir dir;
    const auto path = dir / archive::ArchiveFileName;
    for (int count : {2047, 2048, 2049, 4096, 5000}) {
        SCOPED_TRACE(count);
        const TDrawsArray draws = archive::SyntheticDraws(count, 9);
        for (const std::string tail : {"", "abcde"}) {
            test::WriteBytes(path, archive::ArchiveBytes(draws) + tail);
            const archive::LoadedArchive loaded = archive::ReadArchiveFile(path);
            EXPECT_EQ(loaded.draws, draws);
            EXPECT_EQ(loaded.trailingBytes, static_cast<int64_t>(tail.size()));
        }
    }
}

TEST(ArchiveFile, MissingFileIsAnEmptyArchive)
{
    test::TempDir dir;
    const archive::LoadedArchive loaded = archive::ReadArchiveFile(dir / archive::ArchiveFileName);
    EXPECT_TRUE(loaded.draws.empty());
    EXPECT_EQ(loaded.trailingBytes, 0);
}

TEST(ArchiveFile, SaveAfterLoadIsByteIdentical)
{
    // A hand-made record: draw 1024, numbers 3 7 1 15 9 20 11 4, extra 2, date text with
    // junk after its 16 characters' worth of length that must survive a load and save.
    std::string rec(32, '\0');
    rec[0] = '\x00'; rec[1] = '\x04'; // 1024 little-endian
    const char nums[8] = {3, 7, 1, 15, 9, 20, 11, 4};
    for (int i = 0; i < 8; ++i) rec[4 + i] = nums[i];
    rec[12] = 2;
    rec[13] = 10;
    const std::string date = "12.03.2021XYZ\x7f\x01!";
    rec.replace(14, 16, date);
    test::TempDir dir;
    const auto path = dir / archive::ArchiveFileName;
    const std::string file = rec + archive::ArchiveBytes(archive::SyntheticDraws(50, 3));
    test::WriteBytes(path, file);

    TDrawsArray draws = archive::ReadArchiveFile(path).draws;
    ASSERT_EQ(draws.size(), 51u);
    EXPECT_EQ(draws[0].DrawNo, 1024);
    EXPECT_EQ(draws[0].Nums, (game::TComb{3, 7, 1, 15, 9, 20, 11, 4}));
    EXPECT_EQ(draws[0].Extra, 2);
    EXPECT_EQ(draws[0].DateText(), "12.03.2021");

    archive::WriteArchiveFile(path, draws);
    EXPECT_EQ(test::ReadBytes(path), file);
}

TEST(ArchiveFile, FillBytesAreWrittenAsZero)
{
    std::string rec(32, '\0');
    rec[0] = 5;
    rec[30] = '\x55';
    rec[31] = '\x66';
    const TDrawsArray draws = archive::ParseArchiveBytes(rec);
    const std::string out = archive::ArchiveBytes(draws);
    EXPECT_EQ(out.substr(0, 30), rec.substr(0, 30));
    EXPECT_EQ(out[30], '\0');
    EXPECT_EQ(out[31], '\0');
}

TEST(ArchiveLookup, NextDrawNoAndNumsBack)
{
    const TDrawsArray draws = draws101to110();
    struct Case { int d; int next; uint8_t first; };
    const Case cases[] = {{0, 111, 10}, {2, 109, 8}, {9, 102, 1}, {10, -1, 0}, {-1, -1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.d);
        EXPECT_EQ(archive::NextDrawNo(draws, c.d), c.next);
        EXPECT_EQ(archive::DrawNumsBack(draws, c.d)[0], c.first);
    }
    EXPECT_EQ(archive::NextDrawNo({}, 0), 1);
    EXPECT_EQ(archive::DrawNumsBack({}, 0), game::TComb{});
}

TEST(ArchiveLookup, FindDrawIndex)
{
    TDrawsArray draws = draws101to110();
    draws.push_back(makeDraw(50, {1, 2, 3, 4, 5, 6, 7, 8}));   // imported out of order
    draws.push_back(makeDraw(120, {1, 2, 3, 4, 5, 6, 7, 8}));
    struct Case { int no; int index; };
    const Case cases[] = {{101, 0}, {120, 11}, {105, 4}, {110, 9}, {50, 10}, {111, -1}, {0, -1}, {-7, -1}, {1000000, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.no);
        EXPECT_EQ(archive::FindDrawIndex(draws, c.no), c.index);
    }
    EXPECT_EQ(archive::FindDrawIndex({}, 1), -1);
    // A single draw, and equal first and last numbers (the guess must not divide by zero).
    EXPECT_EQ(archive::FindDrawIndex({makeDraw(7, {})}, 7), 0);
    EXPECT_EQ(archive::FindDrawIndex({makeDraw(7, {}), makeDraw(9, {}), makeDraw(7, {})}, 9), 1);
}

TEST(ArchiveLookup, DeleteDraw)
{
    TDrawsArray draws = draws101to110();
    archive::DeleteDraw(draws, 3);
    ASSERT_EQ(draws.size(), 9u);
    EXPECT_EQ(draws[3].DrawNo, 105);
    for (int bad : {-1, 9, 100}) {
        try {
            archive::DeleteDraw(draws, bad);
            FAIL() << "no failure for index " << bad;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Запись со индексом " + std::to_string(bad) + " в файле данных не найдена!");
        }
    }
    EXPECT_EQ(draws.size(), 9u);
}

TEST(ArchiveLookup, HiddenNextDraw)
{
    TDrawsArray draws = draws101to110();
    // Offset 2: draw 108 is the current last one, draw 109 is hidden.
    EXPECT_EQ(archive::HiddenNextDrawText(draws, 2), "9;14;15;16;17;18;19;20");
    uint32_t expected = 0;
    for (int n : {9, 14, 15, 16, 17, 18, 19, 20}) expected |= 1u << n;
    EXPECT_EQ(archive::HiddenNextDrawSet(draws, 2), expected);
    for (int d : {0, 10, 11, -1}) {
        EXPECT_EQ(archive::HiddenNextDrawSet(draws, d), 0u) << d;
        EXPECT_EQ(archive::HiddenNextDrawText(draws, d), "") << d;
    }
}

TEST(DrawList, CellTextsAndColours)
{
    const TDraw d = makeDraw(1024, {3, 7, 1, 15, 9, 20, 11, 4}, 2, "12.03.2021 10:05");
    EXPECT_EQ(archive::DrawCellText(d, 0, false), "1024");
    EXPECT_EQ(archive::DrawCellText(d, 1, false), "3");
    EXPECT_EQ(archive::DrawCellText(d, 1, true), "1");
    EXPECT_EQ(archive::DrawCellText(d, 8, true), "20");
    EXPECT_EQ(archive::DrawCellText(d, 9, false), "2");
    EXPECT_EQ(archive::DrawCellText(d, 10, true), "70");
    EXPECT_EQ(archive::DrawCellText(d, 11, false), "12.03.2021 10:05");
    EXPECT_STREQ(archive::DrawListCaption(11), "Дата тиража");

    struct Case { int row; int col; bool color; bool sorted; uint32_t rgb; };
    const Case cases[] = {
        {0, 0, true, false, 0xFFFFFF},   // draw number cell, not the offset row
        {2, 0, true, false, 0xFFAAAA},   // offset row
        {2, 10, false, false, 0xFFAAAA},
        {0, 1, true, false, 0xFFFFAA},   // 3 -> channel 2 (w = 2)
        {0, 1, true, true, 0xAAFFAA},    // sorted: 1 -> channel 1
        {2, 1, false, false, 0xFFAAAA},  // colouring off: the row colour
        {0, 6, true, false, 0xFFAAD5},   // 20 with w = 2 -> channel 10
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.col);
        EXPECT_EQ(archive::DrawCellColor(d, c.row, c.col, 2, c.color, 2, c.sorted), c.rgb);
    }
}

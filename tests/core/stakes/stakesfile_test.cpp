#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/stakes/stakesfile.h"
#include "core/util/error.h"
#include "tests/core/stakes/stakestest.h"

using namespace kv;
using namespace kv::stakes;
using kv::test::Checked;
using kv::test::DrawNosOf;
using kv::test::FileOf;
using kv::test::RecordBytes;
using kv::test::RecordsOf;
using kv::test::Stake;

namespace {

constexpr game::TComb A = {1, 2, 3, 4, 5, 6, 7, 8};
constexpr game::TComb B = {2, 4, 6, 8, 10, 12, 14, 16};

struct Fixture {
    test::TempDir dir;
    std::filesystem::path path = dir / TStakesFile::FileName;
    TStakesFile file;
    test::ScriptedShell shell;

    explicit Fixture(const std::string& bytes = {})
    {
        if (!bytes.empty()) test::WriteBytes(path, bytes);
        file.Open(path);
    }
    std::string Bytes() const { return test::ReadBytes(path); }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> m;
        for (const auto& msg : shell.messages) m.push_back(msg.text);
        return m;
    }
};

// Overwrites bytes of the file through a handle of its own, as another program would.
void PatchFile(const std::filesystem::path& path, std::size_t at, const std::string& bytes)
{
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(static_cast<std::streamoff>(at));
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace

TEST(StakesFile, AppendKeepsGroupsApartWithSeparators)
{
    const auto stake = Stake(100, A);
    struct Case {
        const char* name;
        std::vector<TStakeRecord> before;
        int drawsCount;
        std::vector<int32_t> drawNos;   // of the whole file afterwards
    };
    const std::vector<Case> cases = {
        {"one draw into an empty file", {}, 1, {100}},
        {"draws count 0 counts as one", {}, 0, {100}},
        {"one draw after a stake: no separator", {Stake(7, B)}, 1, {7, 100}},
        {"three draws into an empty file", {}, 3, {100, -1, 101, -1, 102}},
        {"three draws after a stake", {Stake(7, B)}, 3, {7, -1, 100, -1, 101, -1, 102}},
        {"two draws after a separator", {Stake(7, B), NewSeparator()}, 2, {7, -1, 100, -1, 101}},
        {"after a record without a draw", {Stake(0, B)}, 2, {0, 100, -1, 101}},
    };
    for (const Case& c : cases) {
        Fixture f(FileOf(c.before));
        EXPECT_TRUE(f.file.AppendStakes(f.shell, stake, c.drawsCount)) << c.name;
        EXPECT_EQ(DrawNosOf(f.Bytes()), c.drawNos) << c.name;
        EXPECT_TRUE(f.shell.messages.empty()) << c.name;
        EXPECT_EQ(f.file.RecordCount(), static_cast<int>(c.drawNos.size())) << c.name;
    }

    // The copies differ from the stake only in their draw number; separators are exact.
    Fixture f;
    f.file.AppendStakes(stake, 2);
    const auto records = RecordsOf(f.Bytes());
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0], stake);
    EXPECT_EQ(records[1], NewSeparator());
    auto next = stake;
    next.DrawNo = 101;
    EXPECT_EQ(records[2], next);
}

TEST(StakesFile, AppendRefusals)
{
    Fixture f(FileOf({Stake(5, A)}));
    auto checked = Checked(100, 3);
    EXPECT_FALSE(f.file.AppendStakes(f.shell, checked, 1));
    EXPECT_FALSE(f.file.AppendStakes(f.shell, checked, 3));
    f.file.Close();
    EXPECT_FALSE(f.file.AppendStakes(f.shell, Stake(100, A), 1));
    EXPECT_EQ(f.Messages(), (std::vector<std::string>{
                                "Ошибка добавления записи в файл ставок!\n\nДобавление в конец файла уже проверенной ставки!",
                                "Ошибка добавления записи в файл ставок!\n\nДобавление в конец файла уже проверенной ставки!",
                                "Ошибка добавления записи в файл ставок!\n\nФайл ставок не открыт!",
                            }));
    EXPECT_EQ(f.Bytes(), FileOf({Stake(5, A)}));
}

TEST(StakesFile, BulkAppendWritesInBlocksAndReadsSeeEverything)
{
    Fixture f;
    {
        TStakesFile::TBulkAppend bulk(f.file);
        f.file.AppendStakes(Stake(100, A), 1);
        f.file.AppendStakes(Stake(101, B), 2);   // the held-back last record is a stake
        EXPECT_EQ(f.Bytes().size(), 0u) << "held in memory";
        EXPECT_EQ(f.file.RecordCount(), 5);
        EXPECT_TRUE(bulk.Finish(f.shell));
        EXPECT_EQ(DrawNosOf(f.Bytes()), (std::vector<int32_t>{100, -1, 101, -1, 102}));
    }
    {
        TStakesFile::TBulkAppend bulk(f.file);
        f.file.AppendStakes(Stake(200, A), 1);
        // A read writes what is held first.
        EXPECT_EQ(f.file.ReadStake(-1, SeekOrigin::End).DrawNo, 200);
        EXPECT_EQ(f.file.RecordCount(), 6);
        EXPECT_EQ(f.Bytes().size(), 6u * 312);
        f.file.AppendStakes(Stake(201, A), 1);
    }
    // Leaving the scope without Finish still writes.
    EXPECT_EQ(DrawNosOf(f.Bytes()), (std::vector<int32_t>{100, -1, 101, -1, 102, 200, 201}));

    // A long series is written along the way, not only at the end.
    {
        TStakesFile::TBulkAppend bulk(f.file);
        for (int i = 0; i < 5000; ++i) f.file.AppendStakes(Stake(300 + i, A), 1);
        EXPECT_GT(f.Bytes().size(), 7u * 312);
        EXPECT_TRUE(bulk.Finish(f.shell));
    }
    EXPECT_EQ(f.Bytes().size(), 5007u * 312);
    EXPECT_EQ(f.file.ReadStake(5006).DrawNo, 5299);
    EXPECT_TRUE(f.shell.messages.empty());
}

TEST(StakesFile, ReadAndWritePositions)
{
    Fixture f(FileOf({Stake(1, A), Stake(2, A), Stake(3, A)}));
    struct Case {
        int index;
        SeekOrigin origin;
        int32_t drawNo;   // 0: the position is outside the file
    };
    const std::vector<Case> cases = {
        {0, SeekOrigin::Start, 1}, {2, SeekOrigin::Start, 3}, {3, SeekOrigin::Start, 0},
        {-1, SeekOrigin::Start, 0}, {-1, SeekOrigin::End, 3}, {-3, SeekOrigin::End, 1},
        {-4, SeekOrigin::End, 0},   {0, SeekOrigin::End, 0},
    };
    for (const Case& c : cases) {
        f.shell.messages.clear();
        const TStakeRecord r = f.file.ReadStake(f.shell, c.index, c.origin);
        EXPECT_EQ(r.DrawNo, c.drawNo) << c.index;
        if (c.drawNo == 0) {
            EXPECT_EQ(r, TStakeRecord{}) << "a failed read gives an all-zero record";
            EXPECT_EQ(f.Messages(), std::vector<std::string>{
                                        "Ошибка чтения записи из файла ставок!\n\nЗапись со индексом " +
                                        std::to_string(c.index) + " в файле данных не найдена!"});
        } else {
            EXPECT_TRUE(f.shell.messages.empty());
        }
    }
    f.shell.messages.clear();
    const std::string before = f.Bytes();
    EXPECT_FALSE(f.file.WriteStakeAt(f.shell, Stake(9, B), 3));
    EXPECT_EQ(f.Messages(), std::vector<std::string>{
                                "Ошибка записи в файл ставок!\n\nЗапись со индексом 3 в файле данных не найдена!"});
    EXPECT_EQ(f.Bytes(), before) << "WriteStakeAt never appends";

    EXPECT_TRUE(f.file.WriteStakeAt(f.shell, Stake(9, B), -2, SeekOrigin::End));
    EXPECT_EQ(DrawNosOf(f.Bytes()), (std::vector<int32_t>{1, 9, 3}));
}

TEST(StakesFile, ReadCacheFollowsOwnWritesAndIsEmptiedByReopen)
{
    Fixture f(FileOf({Stake(1, A), Stake(2, A)}));
    // Our own write is seen by the next read of the same key.
    EXPECT_EQ(f.file.ReadStake(0).DrawNo, 1);
    f.file.WriteStakeAt(Stake(11, A), 0);
    EXPECT_EQ(f.file.ReadStake(0).DrawNo, 11);
    // Also when written by its position from the end.
    f.file.WriteStakeAt(Stake(12, A), -2, SeekOrigin::End);
    EXPECT_EQ(f.file.ReadStake(0).DrawNo, 12);
    // An append moves the end: "the last record" is the new one.
    EXPECT_EQ(f.file.ReadStake(-1, SeekOrigin::End).DrawNo, 2);
    f.file.AppendStakes(Stake(3, A), 1);
    EXPECT_EQ(f.file.ReadStake(-1, SeekOrigin::End).DrawNo, 3);

    // A change made behind the file's back stays unseen while cached, until a reopen.
    EXPECT_EQ(f.file.ReadStake(1).DrawNo, 2);
    PatchFile(f.path, 312 + 4, std::string("\x63\x00\x00\x00", 4));
    EXPECT_EQ(f.file.ReadStake(1).DrawNo, 2);
    EXPECT_TRUE(f.file.Reopen(f.shell));
    EXPECT_EQ(f.file.ReadStake(1).DrawNo, 99);
    EXPECT_TRUE(f.shell.messages.empty());
}

// Records just appended are read back from memory: after every kind of own write the reads must
// still give the bytes on the disk, and a change behind the file's back shows after a reopen.
TEST(StakesFile, ReadsOfTheLastAppendAgreeWithTheDisk)
{
    Fixture f(FileOf({Stake(1, A), Stake(2, A)}));
    const auto agrees = [&f](const char* after) {
        const int n = f.file.RecordCount();
        std::string read(std::size_t(n) * 312, '\0');
        f.file.ReadRecords(0, n, reinterpret_cast<uint8_t*>(read.data()));
        EXPECT_EQ(read, f.Bytes()) << after;
        if (n > 0) {
            EXPECT_EQ(f.file.ReadStake(-1, SeekOrigin::End).DrawNo, DrawNosOf(f.Bytes()).back()) << after;
        }
    };
    const std::string checked = RecordBytes(Checked(4, 2));
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"append", [&] { f.file.AppendStakes(Stake(3, A), 1); }},
        {"bulk append", [&] {
             TStakesFile::TBulkAppend bulk(f.file);
             f.file.AppendStakes(Stake(4, A), 1);
             f.file.AppendStakes(Stake(5, B), 1);
         }},
        {"write inside", [&] { f.file.WriteRecords(3, 1, reinterpret_cast<const uint8_t*>(checked.data())); }},
        {"write across", [&] {
             const std::string two = RecordBytes(Stake(20, B)) + RecordBytes(Stake(21, B));
             f.file.WriteRecords(2, 2, reinterpret_cast<const uint8_t*>(two.data()));
         }},
        {"append again", [&] { f.file.AppendStakes(Stake(6, A), 1); }},
        {"write by position", [&] { f.file.WriteStakeAt(Stake(7, B), -1, SeekOrigin::End); }},
        {"truncate", [&] { f.file.Truncate(4); }},
        {"append after truncate", [&] { f.file.AppendStakes(Stake(8, A), 1); }},
        {"delete", [&] { f.file.DeleteSelectedStakes(1, 1); }},
        {"append after delete", [&] { f.file.AppendStakes(Stake(9, A), 1); }},
        {"patched behind, reopened", [&] {
             PatchFile(f.path, 4 * 312 + 4, std::string("\x63\x00\x00\x00", 4));
             ASSERT_TRUE(f.file.Reopen(f.shell));
         }},
    };
    for (const auto& [name, step] : steps) {
        step();
        agrees(name);
    }
    EXPECT_EQ(DrawNosOf(f.Bytes()), (std::vector<int32_t>{2, 20, 21, 8, 99}));
    EXPECT_TRUE(f.shell.messages.empty());
}

TEST(StakesFile, ReopenKeepsTheLock)
{
    Fixture f(FileOf({Stake(1, A)}));
    ASSERT_TRUE(f.file.Reopen(f.shell));
    TStakesFile second;
    EXPECT_THROW(second.Open(f.path), Error);
    EXPECT_TRUE(f.file.IsOpen());
    EXPECT_EQ(f.file.RecordCount(), 1);

    // A file put in its place on the disk is followed (and locked).
    test::WriteBytes(f.dir / "other", FileOf({Stake(5, A), Stake(6, A)}));
    std::filesystem::rename(f.dir / "other", f.path);
    EXPECT_EQ(f.file.RecordCount(), 1);
    ASSERT_TRUE(f.file.Reopen(f.shell));
    EXPECT_EQ(f.file.RecordCount(), 2);
    EXPECT_EQ(f.file.ReadStake(1).DrawNo, 6);
    EXPECT_THROW(second.Open(f.path), Error);
}

TEST(StakesFile, FindStakeComparesSetsOfOneDraw)
{
    Fixture f(FileOf({Stake(10, A), NewSeparator(), Stake(11, B), Checked(12, 3)}));
    struct Case {
        int32_t drawNo;
        game::TNumSet numbers;
        bool found;
    };
    const std::vector<Case> cases = {
        {10, {8, {8, 7, 6, 5, 4, 3, 2, 1}}, true},
        {11, {8, {16, 14, 12, 10, 8, 6, 4, 2}}, true},
        {12, {8, {1, 2, 3, 4, 5, 6, 7, 8}}, true},
        {11, {8, {1, 2, 3, 4, 5, 6, 7, 8}}, false},
        {10, {8, {1, 2, 3, 4, 5, 6, 7, 9}}, false},
        {10, {7, {1, 2, 3, 4, 5, 6, 7, 0}}, false},
        {13, {8, {1, 2, 3, 4, 5, 6, 7, 8}}, false},
        {-1, {0, {}}, true},   // the separator's "stake" is an empty set
    };
    for (const Case& c : cases) EXPECT_EQ(f.file.FindStake(f.shell, c.drawNo, c.numbers), c.found) << c.drawNo;
    EXPECT_TRUE(f.shell.messages.empty());

    f.file.Close();
    EXPECT_FALSE(f.file.FindStake(f.shell, 10, {8, A}));
    EXPECT_EQ(f.Messages(), std::vector<std::string>{"Ошибка поиска записи в файле ставок!\n\nФайл ставок не открыт!"});
}

TEST(StakesFile, DeleteSelectedRows)
{
    const std::vector<TStakeRecord> records = {Stake(1, A), Stake(2, B), NewSeparator(), Stake(3, A), Stake(4, B)};
    struct Case {
        int top, bottom;   // grid rows; row 0 is the header, record i is row i + 1
        std::vector<int> kept;
    };
    const std::vector<Case> cases = {
        {2, 3, {0, 3, 4}}, {1, 1, {1, 2, 3, 4}}, {5, 5, {0, 1, 2, 3}}, {0, 1, {1, 2, 3, 4}},
        {1, 5, {}},        {4, 9, {0, 1, 2}},    {6, 7, {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        Fixture f(FileOf(records));
        EXPECT_TRUE(f.file.DeleteSelectedStakes(f.shell, c.top, c.bottom)) << c.top << ".." << c.bottom;
        std::string expected;
        for (int i : c.kept) expected += RecordBytes(records[i]);
        EXPECT_EQ(f.Bytes(), expected) << c.top << ".." << c.bottom;
        EXPECT_EQ(f.file.RecordCount(), static_cast<int>(c.kept.size()));
        EXPECT_FALSE(std::filesystem::exists(f.dir / TStakesFile::TempFileName));
        EXPECT_TRUE(f.shell.messages.empty());
    }
}

TEST(StakesFile, DeleteByHitCount)
{
    // 0 separator, 1 unchecked, 2..5 checked with 0, 2, 3 and 5 hits, 6 separator, 7 checked 8 hits.
    const std::vector<TStakeRecord> records = {NewSeparator(), Stake(9, A), Checked(1, 0), Checked(1, 2),
                                               Checked(2, 3),  Checked(2, 5), NewSeparator(), Checked(3, 8)};
    struct Case {
        int mode, value;
        std::vector<int> kept;
    };
    const std::vector<Case> cases = {
        {DeleteEqual, 3, {0, 1, 2, 3, 5, 6, 7}},
        {DeleteEqual, 0, {0, 1, 3, 4, 5, 6, 7}},
        {DeleteGreater, 3, {0, 1, 2, 3, 4, 6}},
        {DeleteNotLess, 3, {0, 1, 2, 3, 6}},
        {DeleteLess, 3, {0, 4, 5, 6, 7}},        // unchecked stakes count -1 hits and go too
        {DeleteNotGreater, 0, {0, 3, 4, 5, 6, 7}},
        {DeleteNotGreater, 8, {0, 6}},
        {DeleteGreater, 8, {0, 1, 2, 3, 4, 5, 6, 7}},
        {7, 0, {0, 1, 2, 3, 4, 5, 6, 7}},       // an unknown mode removes nothing
    };
    for (const Case& c : cases) {
        Fixture f(FileOf(records));
        EXPECT_TRUE(f.file.DeleteStakesByCondition(f.shell, c.mode, c.value)) << c.mode << " " << c.value;
        std::string expected;
        for (int i : c.kept) expected += RecordBytes(records[i]);
        EXPECT_EQ(f.Bytes(), expected) << c.mode << " " << c.value;
    }
    EXPECT_STREQ(DeleteConditionCaption(0), "Равно [ = ]");
    EXPECT_STREQ(DeleteConditionCaption(1), "Более [ > ]");
    EXPECT_STREQ(DeleteConditionCaption(2), "Не менее [ >= ]");
    EXPECT_STREQ(DeleteConditionCaption(3), "Менее [ < ]");
    EXPECT_STREQ(DeleteConditionCaption(4), "Не более [ <= ]");
    EXPECT_STREQ(DeleteConditionCaption(5), "");
}

TEST(StakesFile, RewriteKeepsBytesPermissionsAndTheLock)
{
    // Bytes the record decoder would not reproduce (reserved bytes, text past the comment's
    // length) survive a rewrite untouched.
    std::string odd = RecordBytes(Stake(5, A));
    odd[2] = '\x7F';
    odd[300] = 'Z';
    Fixture f(odd + RecordBytes(Stake(6, B)));
    ASSERT_EQ(::chmod(f.path.c_str(), 0600), 0);
    // An old temporary is replaced, not appended to.
    test::WriteBytes(f.dir / TStakesFile::TempFileName, std::string(1000, 'x'));
    EXPECT_TRUE(f.file.DeleteSelectedStakes(f.shell, 2, 2));
    EXPECT_EQ(f.Bytes(), odd);
    struct stat st {};
    ASSERT_EQ(::stat(f.path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_FALSE(std::filesystem::exists(f.dir / TStakesFile::TempFileName));

    TStakesFile second;
    EXPECT_THROW(second.Open(f.path), Error) << "the new file is locked as the old one was";
    // And the open handle is the new file.
    f.file.AppendStakes(Stake(7, A), 1);
    EXPECT_EQ(DrawNosOf(f.Bytes()), (std::vector<int32_t>{5, 7}));
}

TEST(StakesFile, FailedRewriteKeepsTheOldFileOpenAndIntact)
{
    const std::string original = FileOf({Stake(1, A), Checked(2, 1), Stake(3, B)});
    Fixture f(original);
    const auto tmp = f.dir / TStakesFile::TempFileName;
    std::filesystem::create_directory(tmp);   // the temporary cannot be created, even by root

    EXPECT_FALSE(f.file.DeleteSelectedStakes(f.shell, 1, 2));
    EXPECT_FALSE(f.file.DeleteStakesByCondition(f.shell, DeleteLess, 5));
    const std::string reason = "Ошибка удаления записи из файла ставок!\n\nНе удалось создать файл \"" + tmp.string() +
                               "\": Это каталог";
    EXPECT_EQ(f.Messages(), (std::vector<std::string>{reason, reason}));
    EXPECT_EQ(f.Bytes(), original);
    EXPECT_TRUE(std::filesystem::is_directory(tmp));

    // The file is still the open, locked stakes file.
    EXPECT_TRUE(f.file.IsOpen());
    EXPECT_EQ(f.file.ReadStake(2).DrawNo, 3);
    TStakesFile second;
    EXPECT_THROW(second.Open(f.path), Error);
    f.file.AppendStakes(Stake(4, A), 1);
    EXPECT_EQ(DrawNosOf(f.Bytes()), (std::vector<int32_t>{1, 2, 3, 4}));

    // Once the obstacle is gone the same command works.
    std::filesystem::remove(tmp);
    f.shell.messages.clear();
    EXPECT_TRUE(f.file.DeleteSelectedStakes(f.shell, 1, 2));
    EXPECT_EQ(DrawNosOf(f.Bytes()), (std::vector<int32_t>{3, 4}));
}

TEST(StakesFile, DeletingFromAnEmptyFileIsRefused)
{
    Fixture f;
    EXPECT_FALSE(f.file.DeleteSelectedStakes(f.shell, 1, 1));
    EXPECT_EQ(f.Messages(), std::vector<std::string>{"Ошибка удаления записи из файла ставок!\n\nФайл ставок не открыт!"});
    EXPECT_FALSE(std::filesystem::exists(f.dir / TStakesFile::TempFileName));
}

TEST(StakesFile, OutdatedDetectionAndTruncate)
{
    struct Case {
        const char* name;
        std::string bytes;
        bool outdated;
    };
    std::string version1 = RecordBytes(Stake(1, A));
    version1[0] = 1;
    const std::vector<Case> cases = {
        {"empty", "", false},
        {"current", FileOf({Stake(1, A), NewSeparator()}), false},
        {"313 bytes", RecordBytes(Stake(1, A)) + "x", true},
        {"first byte 1", version1 + RecordBytes(Stake(2, A)), true},
        {"later record of another version is not looked at", RecordBytes(Stake(2, A)) + version1, false},
    };
    for (const Case& c : cases) {
        Fixture f(c.bytes);
        EXPECT_EQ(f.file.IsOutdated(), c.outdated) << c.name;
    }
    Fixture f(FileOf({Stake(1, A), Stake(2, A)}));
    EXPECT_EQ(f.file.ReadStake(1).DrawNo, 2);
    f.file.Truncate();
    EXPECT_EQ(f.file.Size(), 0);
    EXPECT_FALSE(f.file.HasRecords());
    EXPECT_EQ(f.Bytes(), "");
    EXPECT_EQ(f.file.ReadStake(f.shell, 1).DrawNo, 0) << "nothing cached survives";
}

// A file written by hand (tests/data/broken/make.py) that no version of the program makes.
TEST(StakesFile, DamagedFileFixture)
{
    const std::string bytes = test::ReadBytes(std::filesystem::path(KV_TEST_DATA) / "broken" / "stakes-partial.lsk");
    Fixture f(bytes);
    EXPECT_TRUE(f.file.IsOutdated()) << "a partial record at the end";
    EXPECT_EQ(f.file.Size(), 3 * 312 + 100);
    EXPECT_EQ(f.file.RecordCount(), 3);

    TStakeRecord fresh;
    fresh.Version = 2;
    fresh.Origin = OriginManual;
    fresh.DrawNo = 101;
    fresh.SampleSize = 10;
    fresh.Stake = {8, {1, 2, 3, 4, 5, 6, 7, 8}};
    fresh.Matched.Count = -1;
    fresh.Profit = util::Currency::FromUnits(-10);
    fresh.Comment = "Тест";
    EXPECT_EQ(f.file.ReadStake(0), fresh);

    TStakeRecord odd;
    odd.Version = 2;
    odd.Origin = 9;
    odd.DrawNo = 102;
    odd.SampleSize = -5;
    odd.Stake = {40, {0, 25, 3, 4, 5, 6, 7, 8}};
    odd.Matched.Count = -1;
    for (int i = 0; i < 255; ++i) odd.Comment += "я";   // 255 bytes 0xFF
    EXPECT_EQ(f.file.ReadStake(1), odd);
    EXPECT_TRUE(odd.IsDamaged()) << "40 numbers do not fit a record";
    EXPECT_FALSE(odd.IsDue());

    TStakeRecord checked;
    checked.Version = 2;
    checked.Origin = OriginScenario;
    checked.DrawNo = 101;
    checked.Checked = 1;
    checked.SampleSize = 125970;
    checked.Stake = {8, {1, 3, 5, 7, 9, 11, 13, 15}};
    checked.DrawNums = {3, 7, 1, 15, 9, 20, 11, 4};
    checked.Matched = {6, {1, 3, 7, 9, 11, 15, 0, 0}};
    checked.Profit = util::Currency::FromUnits(99);
    checked.Comment = "01.001: Исходный список";
    EXPECT_EQ(f.file.ReadStake(2), checked);
    try {
        f.file.ReadStake(3);
        ADD_FAILURE() << "the partial record is read";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Запись со индексом 3 в файле данных не найдена!");
    }
    EXPECT_EQ(f.Bytes(), bytes) << "reading never writes";
}

TEST(StakesFile, ClosedFileOperationsSaySo)
{
    TStakesFile file;
    test::ScriptedShell shell;
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Size(), 0);
    EXPECT_FALSE(file.HasRecords());
    EXPECT_EQ(file.ReadStake(shell, 0), TStakeRecord{});
    EXPECT_FALSE(file.WriteStakeAt(shell, Stake(1, A), 0));
    ASSERT_EQ(shell.messages.size(), 2u);
    EXPECT_EQ(shell.messages[0].text, "Ошибка чтения записи из файла ставок!\n\nФайл ставок не открыт!");
    EXPECT_EQ(shell.messages[1].text, "Ошибка записи в файл ставок!\n\nФайл ставок не открыт!");
}

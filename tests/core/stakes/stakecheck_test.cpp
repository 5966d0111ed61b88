#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/stakes/stakecheck.h"
#include "core/stakes/stakegrid.h"
#include "core/stakes/stakesfile.h"
#include "core/stakes/prizetable.h"
#include "core/stats/config.h"
#include "core/util/cp1251.h"
#include "tests/core/stakes/stakestest.h"

using namespace kv;
using namespace kv::stakes;
using kv::test::Checked;
using kv::test::FileOf;
using kv::test::RecordBytes;
using kv::test::RecordsOf;
using kv::test::Stake;

namespace {

game::TDraw Draw(int32_t no, game::TComb nums)
{
    game::TDraw d;
    d.DrawNo = no;
    d.Nums = nums;
    d.Extra = 1;
    return d;
}

std::tm FixedTime()
{
    std::tm t {};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 14;
    t.tm_min = 7;
    t.tm_sec = 9;
    return t;
}

struct Fixture {
    test::TempDir dir;
    std::filesystem::path path = dir / TStakesFile::FileName;
    TStakesFile file;
    test::ScriptedShell shell;
    stakes::TPrizeTable prizes;
    // Draws 101..103, numbers in the order drawn (not sorted).
    game::TDrawsArray draws = {Draw(101, {3, 7, 1, 15, 9, 20, 11, 4}), Draw(102, {20, 19, 18, 17, 16, 15, 14, 13}),
                               Draw(103, {2, 4, 6, 8, 10, 12, 14, 16})};
    std::vector<TStakeRecord> rated;
    TCheckSettings settings;

    explicit Fixture(const std::string& bytes)
    {
        test::WriteBytes(path, bytes);
        file.Open(path);
        stats::TConfigData config;
        config.Cost = util::Currency::FromUnits(10);
        config.Profits = {{3, util::Currency::FromRaw(0)}, {4, util::Currency::FromUnits(50)},
                          {4, util::Currency::FromUnits(999)}, {8, util::Currency::FromUnits(100000)}};
        prizes = TPrizeTable(config);
        settings.Draws = &draws;
        settings.Prizes = prizes;
        settings.LogDir = dir.path();
        settings.Clock = FixedTime;
        settings.OnChecked = [this](const TStakeRecord& r) { rated.push_back(r); };
    }
    std::string Bytes() const { return test::ReadBytes(path); }
};

std::string Log(const std::filesystem::path& dir, int hits)
{
    const auto p = dir / StakeLogFileName(hits);
    return std::filesystem::exists(p) ? test::ReadBytes(p) : std::string();
}

} // namespace

TEST(CheckStakes, ChecksOnlyDueStakesWhoseDrawIsKnown)
{
    auto sevenNumbers = Stake(101, {1, 3, 4, 7, 9, 11, 15, 0});
    sevenNumbers.Stake.Count = 7;
    const std::vector<TStakeRecord> records = {
        Stake(101, {1, 3, 4, 5, 6, 7, 8, 10}, "Тест"),  // 0: 4 hits in draw 101
        NewSeparator(),                                  // 1
        Stake(104, {1, 2, 3, 4, 5, 6, 7, 8}),            // 2: draw not yet there
        Checked(101, 2),                                 // 3: checked before, left alone
        sevenNumbers,                                    // 4: not a whole ticket
        Stake(102, {13, 14, 15, 16, 17, 18, 19, 20}),    // 5: all 8 hits
        Stake(103, {1, 3, 5, 7, 9, 11, 13, 15}),         // 6: no hits
        Stake(0, {1, 2, 3, 4, 5, 6, 7, 8}),              // 7: no draw
    };
    Fixture f(FileOf(records));
    EXPECT_TRUE(CheckStakes(f.file, f.settings, f.shell));
    EXPECT_TRUE(f.shell.messages.empty());
    EXPECT_FALSE(f.shell.IsBusy());
    ASSERT_FALSE(f.shell.statusTexts.empty());
    EXPECT_EQ(f.shell.statusTexts.front(), "Проверка результатов ставок...");
    EXPECT_EQ(f.shell.statusTexts.back(), "");

    std::vector<TStakeRecord> expected = records;
    expected[0].Checked = 1;
    expected[0].DrawNums = {3, 7, 1, 15, 9, 20, 11, 4};
    expected[0].Matched = {4, {1, 3, 4, 7, 0, 0, 0, 0}};   // ascending, not in the draw's order
    expected[0].Profit = util::Currency::FromUnits(40);   // first prize row for 4 hits, less the cost
    expected[5].Checked = 1;
    expected[5].DrawNums = {20, 19, 18, 17, 16, 15, 14, 13};
    expected[5].Matched = {8, {13, 14, 15, 16, 17, 18, 19, 20}};
    expected[5].Profit = util::Currency::FromUnits(99990);
    expected[6].Checked = 1;
    expected[6].DrawNums = {2, 4, 6, 8, 10, 12, 14, 16};
    expected[6].Matched = {0, {}};
    expected[6].Profit = util::Currency::FromUnits(-10);   // no prize row for 0 hits
    EXPECT_EQ(RecordsOf(f.Bytes()), expected);
    EXPECT_EQ(f.rated, (std::vector<TStakeRecord>{expected[0], expected[5], expected[6]}));

    // A second pass finds nothing due.
    f.rated.clear();
    EXPECT_FALSE(CheckStakes(f.file, f.settings, f.shell));
    EXPECT_TRUE(f.rated.empty());

    // The missing draw arrives, out of order.
    f.draws.insert(f.draws.begin(), Draw(104, {1, 2, 3, 20, 19, 18, 17, 16}));
    EXPECT_TRUE(CheckStakes(f.file, f.settings, f.shell));
    ASSERT_EQ(f.rated.size(), 1u);
    EXPECT_EQ(f.rated[0].DrawNo, 104);
    EXPECT_EQ(f.rated[0].Matched, (game::TNumSet{3, {1, 2, 3, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(f.rated[0].Profit, util::Currency::FromUnits(-10));   // a 0 prize for 3 hits
}

TEST(CheckStakes, WritesOnlyTheCheckedFields)
{
    std::string bytes = RecordBytes(Stake(101, {1, 2, 3, 4, 5, 6, 7, 8}, "ok"));
    bytes[2] = '\x11';    // reserved
    bytes[10] = '\x22';   // reserved
    bytes[200] = 'Q';     // past the comment's length
    Fixture f(bytes);
    EXPECT_TRUE(CheckStakes(f.file, f.settings, f.shell));
    std::string expected = bytes;
    TStakeRecord r;
    r.Read(reinterpret_cast<const uint8_t*>(bytes.data()));
    ApplyDraw(r, f.draws[0], f.prizes);
    const std::string fields = RecordBytes(r);
    expected[8] = '\x01';
    expected.replace(28, 28, fields.substr(28, 28));   // DrawNums, Matched, Profit
    EXPECT_EQ(f.Bytes(), expected);
}

TEST(CheckStakes, ShowsItsProgress)
{
    // Five due stakes for a draw that is not there: the first is the start, four remain.
    Fixture f(FileOf({Stake(200, {1, 2, 3, 4, 5, 6, 7, 8}), Stake(200, {1, 2, 3, 4, 5, 6, 7, 8}),
                      Stake(200, {1, 2, 3, 4, 5, 6, 7, 8}), NewSeparator(), Stake(200, {1, 2, 3, 4, 5, 6, 7, 8}),
                      Stake(200, {1, 2, 3, 4, 5, 6, 7, 8})}));
    EXPECT_FALSE(CheckStakes(f.file, f.settings, f.shell));
    EXPECT_EQ(f.shell.statusTexts, (std::vector<std::string>{
                                       "Проверка результатов ставок...",
                                       "Проверка результатов ставок ( завершено 20 % )...",
                                       "Проверка результатов ставок ( завершено 40 % )...",
                                       "Проверка результатов ставок ( завершено 80 % )...",
                                       "Проверка результатов ставок ( завершено 100 % )...",
                                       "",
                                   }));
}

TEST(CheckStakes, EmptyOrFailingFile)
{
    Fixture f("");
    EXPECT_FALSE(CheckStakes(f.file, f.settings, f.shell));
    EXPECT_TRUE(f.shell.messages.empty());

    // The rating refuses the checked stake: the pass stops with the reason, and the stake stays
    // stored as checked, so the caller still reloads the file.
    Fixture g(FileOf({Stake(101, {1, 2, 3, 4, 5, 6, 7, 8})}));
    g.settings.OnChecked = [](const TStakeRecord&) { throw std::runtime_error("Рейтинг не записан!"); };
    EXPECT_TRUE(CheckStakes(g.file, g.settings, g.shell));
    ASSERT_EQ(g.shell.messages.size(), 1u);
    EXPECT_EQ(g.shell.messages[0].text, "Ошибка проверки ставок!\n\nРейтинг не записан!");
    EXPECT_FALSE(g.shell.IsBusy());
    const std::vector<TStakeRecord> after = RecordsOf(g.Bytes());
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].Checked, 1);
    EXPECT_EQ(after[0].Profit, util::Currency::FromUnits(-10 + 50));
}

TEST(CheckStakes, StartsAtTheFirstRecordItIsGiven)
{
    struct Case {
        int first;
        std::vector<int32_t> rated;
    };
    const std::vector<Case> cases = {{-5, {101, 102, 103}}, {0, {101, 102, 103}}, {1, {102, 103}},
                                     {2, {103}}, {3, {}}, {9, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        Fixture f(FileOf({Stake(101, {1, 2, 3, 4, 5, 6, 7, 8}), Stake(102, {1, 2, 3, 4, 5, 6, 7, 8}),
                          Stake(103, {1, 2, 3, 4, 5, 6, 7, 8})}));
        f.settings.FirstRecord = c.first;
        EXPECT_EQ(CheckStakes(f.file, f.settings, f.shell), !c.rated.empty());
        std::vector<int32_t> rated;
        for (const TStakeRecord& r : f.rated) rated.push_back(r.DrawNo);
        EXPECT_EQ(rated, c.rated);
        EXPECT_TRUE(f.shell.messages.empty());
    }
}

TEST(CheckStakes, ReloadFollowsOnlyAPassThatChecked)
{
    Fixture f(FileOf({Stake(101, {1, 2, 3, 4, 5, 6, 7, 8}), Stake(200, {1, 2, 3, 4, 5, 6, 7, 8})}));
    int ratingsSaved = 0;
    // A cached read before the pass must not survive it.
    EXPECT_EQ(f.file.ReadStake(0).Checked, 0);
    EXPECT_TRUE(CheckStakesAndReload(f.file, f.settings, f.shell, [&] { ++ratingsSaved; }));
    EXPECT_EQ(ratingsSaved, 1);
    EXPECT_EQ(f.file.ReadStake(0).Checked, 1);
    EXPECT_FALSE(CheckStakesAndReload(f.file, f.settings, f.shell, [&] { ++ratingsSaved; }));
    EXPECT_EQ(ratingsSaved, 1);
}

TEST(StakeLogs, LineFormat)
{
    TStakeRecord r = Stake(102, {1, 5, 7, 9, 12, 13, 18, 20}, "Ставка \"вручную\"");
    r.SampleSize = 125970;
    r.Checked = 1;
    r.DrawNums = {3, 7, 1, 15, 9, 20, 11, 4};
    r.Matched = {4, {1, 7, 9, 20, 0, 0, 0, 0}};
    r.Profit = util::Currency::FromRaw(400000);
    EXPECT_EQ(StakeLogLine(r, FixedTime()),
              "2024.03.05 14:07:09: Тираж № 102. Ставка: \"Ставка \"вручную\"\" [1;5;7;9;12;13;18;20] {125970}. "
              "Результаты тиража: [3;7;1;15;9;20;11;4]. Совпадений: 4. Профит: 40.00.");
    r.Matched = {0, {}};
    r.Profit = util::Currency::FromRaw(-12345);
    std::tm t {};
    t.tm_year = 1999 - 1900;
    t.tm_mday = 1;
    EXPECT_EQ(StakeLogLine(r, t),
              "1999.01.01 00:00:00: Тираж № 102. Ставка: \"Ставка \"вручную\"\" [1;5;7;9;12;13;18;20] {125970}. "
              "Результаты тиража: [3;7;1;15;9;20;11;4]. Совпадений: 0. Профит: -1.23.");
    EXPECT_EQ(StakeLogFileName(0), "Kvanta_8x20-0.log");
    EXPECT_EQ(StakeLogFileName(8), "Kvanta_8x20-8.log");
}

TEST(StakeLogs, CheckPassWritesOneLinePerStakeByHitCount)
{
    Fixture f(FileOf({Stake(102, {13, 14, 15, 16, 17, 1, 2, 3}, "первая"), Stake(101, {1, 2, 3, 4, 5, 6, 7, 8}),
                      Stake(102, {16, 17, 18, 19, 20, 1, 2, 3}, "вторая")}));
    f.settings.LogEnabled = true;
    EXPECT_TRUE(CheckStakes(f.file, f.settings, f.shell));
    const auto line = [](const char* comment, const char* stake) {
        return util::Utf8ToCp1251(std::string("2024.03.05 14:07:09: Тираж № 102. Ставка: \"") + comment + "\" [" + stake +
                                  "] {100}. Результаты тиража: [20;19;18;17;16;15;14;13]. Совпадений: 5. Профит: -10.00.") +
               "\r\n";
    };
    EXPECT_EQ(Log(f.dir.path(), 5), line("первая", "13;14;15;16;17;1;2;3") + line("вторая", "16;17;18;19;20;1;2;3"));
    EXPECT_NE(Log(f.dir.path(), 4), "");   // the stake of draw 101 hits 1, 3, 4 and 7
    EXPECT_TRUE(f.shell.messages.empty());

    // Without the flag nothing is written.
    Fixture g(FileOf({Stake(101, {1, 2, 3, 4, 5, 6, 7, 8})}));
    EXPECT_TRUE(CheckStakes(g.file, g.settings, g.shell));
    for (int h = 0; h <= 8; ++h) EXPECT_EQ(Log(g.dir.path(), h), "");
}

TEST(StakeLogs, SizeLimit)
{
    struct Case {
        int64_t size;
        bool reset;
    };
    for (const Case& c : std::vector<Case>{{0, false}, {1, false}, {268435455, false}, {268435456, false},
                                           {268435457, true}, {int64_t{1} << 40, true}})
        EXPECT_EQ(StakeLogNeedsReset(c.size), c.reset) << c.size;

    // Sparse files of those sizes cost no disk space.
    test::TempDir dir;
    test::ScriptedShell shell;
    TStakeRecord r = Checked(7, 2);
    const std::string line = util::Utf8ToCp1251(StakeLogLine(r, FixedTime())) + "\r\n";
    const auto log = dir / StakeLogFileName(2);
    test::WriteBytes(log, "x");
    std::filesystem::resize_file(log, 268435456);
    WriteStakeLog(dir.path(), r, FixedTime(), shell);
    EXPECT_EQ(std::filesystem::file_size(log), 268435456u + line.size()) << "at the limit: appended to";
    WriteStakeLog(dir.path(), r, FixedTime(), shell);
    EXPECT_EQ(test::ReadBytes(log), line) << "past the limit: started afresh";
    EXPECT_TRUE(shell.messages.empty());
}

TEST(StakeLogs, WriteFailureIsShownAndThePassGoesOn)
{
    Fixture f(FileOf({Stake(101, {1, 3, 4, 7, 10, 12, 13, 14}), Stake(103, {2, 4, 6, 8, 10, 12, 14, 16})}));
    f.settings.LogEnabled = true;
    const auto blocked = f.dir / StakeLogFileName(4);
    std::filesystem::create_directory(blocked);
    EXPECT_TRUE(CheckStakes(f.file, f.settings, f.shell));
    ASSERT_EQ(f.shell.messages.size(), 1u);
    EXPECT_EQ(f.shell.messages[0].text, "Ошибка записи в файл \"" + blocked.string() + "\"!\n\nЭто каталог");
    EXPECT_EQ(f.rated.size(), 2u);
    EXPECT_NE(Log(f.dir.path(), 8), "");
}

TEST(StakeLogs, DeleteCommand)
{
    test::TempDir dir;
    test::ScriptedShell shell;
    test::WriteBytes(dir / "Kvanta_8x20.lsk", "keep");
    test::WriteBytes(dir / "Kvanta_8x20-1.txt", "keep");
    test::WriteBytes(dir / "ScriptLog_1.txt", "keep");
    LogStakesDelete(dir.path(), shell);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].kind, shell::MessageKind::Information);
    EXPECT_EQ(shell.messages[0].text, "Файлы журналов не найдены!");

    test::WriteBytes(dir / "Kvanta_8x20-0.log", "a");
    test::WriteBytes(dir / "Kvanta_8x20-8.log", "b");
    test::WriteBytes(dir / "Kvanta_8x20-old.log", "c");
    shell.messages.clear();
    LogStakesDelete(dir.path(), shell);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].kind, shell::MessageKind::Information);
    EXPECT_EQ(shell.messages[0].text, "Удаление файлов завершено.\n\n"
                                      "Всего - 3, обработано - 3, пропущено - 0, предупреждений - 0, ошибок - 0.");
    EXPECT_EQ(shell.statusTexts, (std::vector<std::string>{"Поиск файлов журналов...", ""}));
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Kvanta_8x20-1.txt", "Kvanta_8x20.lsk", "ScriptLog_1.txt"}));
}

TEST(CheckStakes, DamagedFileFixture)
{
    // Two due stakes, one of them with fields no command writes, a checked one, and the start of
    // a fourth record: the pass checks the due ones as they are and leaves every other byte.
    const std::string bytes = test::ReadBytes(std::filesystem::path(KV_TEST_DATA) / "broken" / "stakes-partial.lsk");
    ASSERT_EQ(bytes.size(), 3 * TStakeRecord::RecordSize + 100);
    Fixture f(bytes);
    EXPECT_TRUE(CheckStakes(f.file, f.settings, f.shell));
    EXPECT_TRUE(f.shell.messages.empty());

    const std::string after = f.Bytes();
    ASSERT_EQ(after.size(), bytes.size());
    EXPECT_EQ(after.substr(3 * TStakeRecord::RecordSize), std::string(100, '\x07'));
    EXPECT_EQ(after.substr(2 * TStakeRecord::RecordSize), bytes.substr(2 * TStakeRecord::RecordSize));
    const std::vector<TStakeRecord> records = RecordsOf(after);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].Checked, 1);
    EXPECT_EQ(records[0].Matched, (game::TNumSet{4, {1, 3, 4, 7, 0, 0, 0, 0}}));
    EXPECT_EQ(records[0].Profit, util::Currency::FromUnits(40));
    // 40 numbers do not fit a record: the stake is damaged and stays as it was, unchecked.
    EXPECT_EQ(after.substr(TStakeRecord::RecordSize, TStakeRecord::RecordSize),
              bytes.substr(TStakeRecord::RecordSize, TStakeRecord::RecordSize));
    EXPECT_EQ(f.rated.size(), 1u);
}

TEST(CheckStakes, CountsNoRecordCanHoldMarkTheStakeDamaged)
{
    // 2147483647 numbers (once seconds in a factorial), 300 numbers (an overflowing price), then
    // a sound stake for draw 102.
    const std::string bytes = test::ReadBytes(std::filesystem::path(KV_TEST_DATA) / "broken" / "stakes-huge-count.lsk");
    Fixture f(bytes);
    EXPECT_TRUE(CheckStakes(f.file, f.settings, f.shell));
    const std::string after = f.Bytes();
    EXPECT_EQ(after.substr(0, 2 * TStakeRecord::RecordSize), bytes.substr(0, 2 * TStakeRecord::RecordSize));
    const std::vector<TStakeRecord> records = RecordsOf(after);
    ASSERT_EQ(f.rated.size(), 1u);
    EXPECT_EQ(f.rated[0].Comment, "целая");
    EXPECT_EQ(records[2].Checked, 1);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(records[i].IsDamaged());
        EXPECT_EQ(StakeCellText(records[i], 2), "запись повреждена");
        EXPECT_EQ(StakeCellText(records[i], 7), "");
    }
    // What the price would be saturates instead of wrapping round.
    EXPECT_EQ(f.prizes.StakeResult(2147483647, -1).raw, -INT64_MAX);
    EXPECT_EQ(f.prizes.StakeResult(300, -1).raw, -INT64_MAX);
}

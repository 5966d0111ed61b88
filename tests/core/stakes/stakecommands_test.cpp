#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/game/numbers.h"
#include "core/stakes/stakecommands.h"
#include "core/stakes/stakesfile.h"
#include "core/stakes/prizetable.h"
#include "core/stats/config.h"
#include "tests/core/stakes/stakestest.h"

using namespace kv;
using namespace kv::stakes;
using kv::test::Checked;
using kv::test::DrawNosOf;
using kv::test::FileOf;
using kv::test::RecordsOf;
using kv::test::Stake;

namespace {

constexpr game::TComb A = {1, 2, 3, 4, 5, 6, 7, 8};

// Records what the commands asked of the program, in order.
struct Recorder {
    std::vector<std::string> calls;
    TStakeViewHooks hooks;
    Recorder()
    {
        hooks.RefreshView = [this](bool refresh, bool goToLast) {
            calls.push_back(std::string("view ") + (refresh ? "refresh" : "-") + " " + (goToLast ? "last" : "-"));
        };
        hooks.Check = [this] { calls.push_back("check"); };
        hooks.Repaint = [this] { calls.push_back("repaint"); };
        hooks.RefreshRatings = [this] { calls.push_back("ratings"); };
    }
};

struct Fixture {
    test::TempDir dir;
    std::filesystem::path path = dir / TStakesFile::FileName;
    TStakesFile file;
    test::ScriptedShell shell;
    Recorder rec;

    explicit Fixture(const std::string& bytes = {})
    {
        test::WriteBytes(path, bytes);
        file.Open(path);
    }
    std::string Bytes() const { return test::ReadBytes(path); }
};

} // namespace

TEST(StakeCommands, AddStakeChecksAndGoesToTheLastRow)
{
    Fixture f(FileOf({Stake(5, A)}));
    EXPECT_TRUE(AddStake(f.file, f.shell, Stake(10, A), 3, f.rec.hooks));
    EXPECT_EQ(DrawNosOf(f.Bytes()), (std::vector<int32_t>{5, -1, 10, -1, 11, -1, 12}));
    EXPECT_EQ(f.rec.calls, (std::vector<std::string>{"check", "view refresh last"}));
    EXPECT_EQ(f.shell.statusTexts, (std::vector<std::string>{"Создание ставки...", ""}));

    f.rec.calls.clear();
    EXPECT_FALSE(AddStake(f.file, f.shell, Checked(10, 2), 1, f.rec.hooks));
    EXPECT_TRUE(f.rec.calls.empty()) << "no check and no view change after a failure";
    ASSERT_EQ(f.shell.messages.size(), 1u);
}

TEST(StakeCommands, AddStakesMovesToTheLastRowAsTheScrollFlagSays)
{
    struct Case {
        bool bulk, scroll;
        const char* view;
    };
    for (const Case& c : std::vector<Case>{{false, false, "view - last"},
                                           {false, true, "view - last"},
                                           {true, true, "view - last"},
                                           {true, false, "view - -"}}) {
        Fixture f;
        EXPECT_TRUE(AddStakes(f.file, f.shell, Stake(10, A), 1, c.bulk, c.scroll, f.rec.hooks));
        EXPECT_EQ(f.rec.calls, std::vector<std::string>{c.view}) << "the caller checks after its series";
        EXPECT_EQ(f.shell.statusTexts.empty(), c.bulk);
    }
}

TEST(StakeCommands, MultiStakeForCombinations)
{
    stats::TConfigData config;
    config.Cost = util::Currency::FromUnits(2);
    const TPrizeTable prizes(config);
    const std::vector<game::TComb> combs = {A, {9, 10, 11, 12, 13, 14, 15, 16}, {1, 3, 5, 7, 9, 11, 13, 15}};
    Fixture f(FileOf({Stake(5, A)}));
    EXPECT_TRUE(AddStakesForCombs(f.file, f.shell, combs, 20, 2, "Мультиставка", 3, prizes, false, f.rec.hooks));
    const auto records = RecordsOf(f.Bytes());
    EXPECT_EQ(DrawNosOf(f.Bytes()), (std::vector<int32_t>{5, -1, 20, -1, 21, -1, 20, -1, 21, -1, 20, -1, 21}));
    EXPECT_EQ(records[2], NewStake(OriginManual, 20, 3, combs[0], "Мультиставка", prizes));
    EXPECT_EQ(records[12].Stake, game::CombToNumSet(combs[2]));
    EXPECT_EQ(records[12].Profit, util::Currency::FromUnits(-2));
    EXPECT_EQ(f.rec.calls, (std::vector<std::string>{"view - -", "view - -", "view - -", "check", "view refresh last"}));
    EXPECT_FALSE(f.shell.IsBusy());

    // A failure stops the series before the check.
    f.file.Close();
    f.rec.calls.clear();
    EXPECT_FALSE(AddStakesForCombs(f.file, f.shell, combs, 20, 1, "x", 3, prizes, true, f.rec.hooks));
    EXPECT_TRUE(f.rec.calls.empty());
    ASSERT_EQ(f.shell.messages.size(), 1u);
    EXPECT_EQ(f.shell.messages[0].text, "Ошибка добавления записи в файл ставок!\n\nФайл ставок не открыт!");
}

TEST(StakeCommands, LargeSeriesAreConfirmedWithTheirScale)
{
    EXPECT_EQ(BulkStakeQuestion(125565, 1), "Будет сделано ставок: 125565 (комбинаций: 125565, тиражей: 1).\n"
                                            "Файл ставок увеличится примерно на 37.4 МБ.\n\nПродолжить?");
    EXPECT_EQ(BulkStakeQuestion(500, 2).rfind("Будет сделано ставок: 1000 (комбинаций: 500, тиражей: 2).\n"
                                              "Файл ставок увеличится примерно на 0.6 МБ.", 0),
              0u) << "separators double the records of a series over several draws";
    const TPrizeTable prizes{stats::TConfigData{}};
    const std::vector<game::TComb> many(999, A);
    Fixture f;
    f.shell.answers = {false};
    EXPECT_TRUE(AddStakesForCombs(f.file, f.shell, many, 20, 1, "x", 3, prizes, false, f.rec.hooks));
    EXPECT_TRUE(f.shell.questions.empty()) << "999 stakes are made without a question";
    EXPECT_FALSE(AddStakesForCombs(f.file, f.shell, many, 20, 2, "x", 3, prizes, false, f.rec.hooks));
    ASSERT_EQ(f.shell.questions.size(), 1u);
    EXPECT_EQ(f.file.RecordCount(), 999) << "refused: nothing added";
}

TEST(StakeCommands, DeleteSelectedAsksFirst)
{
    const std::string original = FileOf({Stake(1, A), Stake(2, A), Stake(3, A)});
    Fixture f(original);
    f.shell.answers = {false, true};
    EXPECT_FALSE(StakeDel(f.file, f.shell, 2, 3, f.rec.hooks));
    EXPECT_EQ(f.Bytes(), original);
    EXPECT_TRUE(f.rec.calls.empty());
    EXPECT_TRUE(f.shell.statusTexts.empty());

    EXPECT_TRUE(StakeDel(f.file, f.shell, 1, 1, f.rec.hooks));
    EXPECT_EQ(DrawNosOf(f.Bytes()), (std::vector<int32_t>{2, 3}));
    ASSERT_EQ(f.shell.questions.size(), 2u);
    EXPECT_EQ(f.shell.questions[0].caption, "Предупреждение");
    EXPECT_EQ(f.shell.questions[0].text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?");
    EXPECT_FALSE(f.shell.questions[0].yesIsDefault);
    EXPECT_EQ(f.shell.questions[1].text, "Удалить выделенную запись?");
    EXPECT_EQ(f.rec.calls, (std::vector<std::string>{"check", "view refresh -", "repaint"}));
    EXPECT_EQ(f.shell.statusTexts.front(), "Удаление ставок...");
    EXPECT_EQ(f.shell.statusTexts.back(), "");
    EXPECT_FALSE(f.shell.IsBusy());
}

TEST(StakeCommands, DeleteFailureStillRepaints)
{
    const std::string original = FileOf({Stake(1, A), Checked(2, 0)});
    Fixture f(original);
    std::filesystem::create_directory(f.dir / TStakesFile::TempFileName);
    EXPECT_FALSE(StakeFilter(f.file, f.shell, DeleteEqual, 0, f.rec.hooks));
    EXPECT_EQ(f.rec.calls, std::vector<std::string>{"repaint"});
    EXPECT_EQ(f.Bytes(), original);
    ASSERT_EQ(f.shell.messages.size(), 1u);
    EXPECT_EQ(f.shell.messages[0].text.rfind("Ошибка удаления записи из файла ставок!\n\n", 0), 0u);
    EXPECT_FALSE(f.shell.IsBusy());
    EXPECT_TRUE(f.shell.questions.empty()) << "the condition dialog is the confirmation";

    std::filesystem::remove(f.dir / TStakesFile::TempFileName);
    f.rec.calls.clear();
    EXPECT_TRUE(StakeFilter(f.file, f.shell, DeleteEqual, 0, f.rec.hooks));
    EXPECT_EQ(DrawNosOf(f.Bytes()), std::vector<int32_t>{1});
    EXPECT_EQ(f.rec.calls, (std::vector<std::string>{"check", "view refresh -", "repaint"}));
}

TEST(StakeCommands, ClearEmptiesTheFileAndRebuildsTheRating)
{
    Fixture f(FileOf({Stake(1, A), NewSeparator(), Stake(2, A)}));
    f.shell.answers = {false, true};
    EXPECT_FALSE(StakeClear(f.file, f.shell, f.rec.hooks));
    EXPECT_EQ(f.file.RecordCount(), 3);
    EXPECT_TRUE(StakeClear(f.file, f.shell, f.rec.hooks));
    EXPECT_EQ(f.Bytes(), "");
    EXPECT_TRUE(f.file.IsOpen());
    EXPECT_EQ(f.shell.questions[1].text, "Удалить все выделенные записи (всего будет удалено 2 записи(ей))?")
        << "separators are not counted";
    EXPECT_EQ(f.rec.calls, (std::vector<std::string>{"view - -", "ratings", "repaint"}));
    // The emptied file takes new stakes at its start.
    f.file.AppendStakes(Stake(7, A), 1);
    EXPECT_EQ(f.file.ReadStake(0).DrawNo, 7);
}

TEST(StakeCommands, OutdatedFileAtStartUp)
{
    std::string version1 = test::RecordBytes(Stake(1, A));
    version1[0] = 1;
    const std::string copyNote = "\n\nКопия файла сохранена как \"Kvanta_8x20.lsk.bak\".";
    struct Case {
        const char* name;
        std::string bytes;
        bool emptied;
        std::string after;
        std::string message;   // empty: none
    };
    const std::vector<Case> cases = {
        // A stray tail after records of this version costs only the tail.
        {"313 bytes", test::RecordBytes(Stake(1, A)) + "x", false, test::RecordBytes(Stake(1, A)),
         "Файл ставок \"Kvanta_8x20.lsk\" заканчивается неполной записью (1 байт); она удалена, ставки сохранены."
             + copyNote},
        {"first byte 1", version1, true, "",
         "Обнаружен файл ставок устаревшей версии - имеющиеся в файле ставки будут удалены!" + copyNote},
        {"current", FileOf({Stake(1, A)}), false, FileOf({Stake(1, A)}), ""},
        {"empty", "", false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f(c.bytes);
        EXPECT_EQ(DiscardOutdatedStakes(f.file, f.shell), c.emptied);
        EXPECT_EQ(f.Bytes(), c.after);
        if (c.message.empty()) {
            EXPECT_TRUE(f.shell.messages.empty());
            continue;
        }
        EXPECT_EQ(test::ReadBytes(f.dir / "Kvanta_8x20.lsk.bak"), c.bytes);
        ASSERT_EQ(f.shell.messages.size(), 1u);
        EXPECT_EQ(f.shell.messages[0].kind, shell::MessageKind::Warning);
        EXPECT_EQ(f.shell.messages[0].text, c.message);
    }
}

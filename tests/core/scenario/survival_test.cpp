#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/scenario/scenario.h"
#include "core/scenario/survival.h"
#include "core/scenario/testrun.h"
#include "core/util/cp1251.h"
#include "tests/core/scenario/runtest.h"

using namespace kv;
using test::RunFixture;

namespace {

std::string Line(const std::vector<std::string>& filters)
{
    std::array<std::string, 7> slots{};
    for (std::size_t i = 0; i < filters.size(); ++i) slots[i] = filters[i];
    return scenario::BuildStepLine("FULL:0#FIRST", slots, "");
}

TEST(Survival, WilsonIntervalKnownValues)
{
    const struct {
        int k, n;
        double low, high;
    } cases[] = {{0, 10, 0.0, 0.27753}, {10, 10, 0.72247, 1.0}, {5, 10, 0.23659, 0.76341}, {0, 0, 0, 0}};
    for (const auto& c : cases) {
        const auto [low, high] = scenario::WilsonInterval(c.k, c.n);
        EXPECT_NEAR(low, c.low, 1e-4) << c.k << "/" << c.n;
        EXPECT_NEAR(high, c.high, 1e-4) << c.k << "/" << c.n;
    }
}

// Every draw is 1..8: keeping the combinations with a number seen in the window always keeps the
// next draw, deleting them never does; both results end the log and go to the file, which reads
// back.
TEST(Survival, AlwaysAndNeverKeptFiltersOnAConstructedArchive)
{
    RunFixture f(30);
    f.DrawOneToEight(30);
    f.list.CombsGenerateMode = 0;
    const std::string keep = "TMF1#NUMS:10#CMV:1#SF:1", del = "TMD1#NUMS:10#CMV:1#SF:1";
    f.Script({Line({keep}), Line({del})});
    f.runner->Options.LogEnabled = true;
    std::vector<scenario::TSurvivalRow> shown;
    f.runner->Hooks.SurvivalReady = [&](const std::vector<scenario::TSurvivalRow>& rows) { shown = rows; };
    f.runner->ScriptTest(5);
    ASSERT_TRUE(f.sh.messages.empty());
    ASSERT_EQ(f.runner->Survival().Records().size(), 10u);
    EXPECT_EQ(f.runner->Survival().Records()[0].DrawNo, f.LastDrawNo() - 4);

    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].PartText, keep);
    EXPECT_EQ(shown[0].Tests, 5);
    EXPECT_EQ(shown[0].Survived, 5);
    EXPECT_NEAR(shown[0].KeptShare, (125970.0 - 495) / 125970, 1e-12);   // all but the 8 of 9..20
    EXPECT_EQ(shown[1].Survived, 0);
    EXPECT_NEAR(shown[1].KeptShare, 495.0 / 125970, 1e-12);
    EXPECT_EQ(shown[1].Lift, 0);

    const std::vector<std::string> log = f.LogLines();
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[log.size() - 5].substr(0, 30), "### ЭФФЕКТИВНОСТЬ");
    EXPECT_EQ(log[log.size() - 3], "TMF1#NUMS:10#CMV:1#SF:1\t5\t5\t100.00\t99.61\t1.004\t56.55\t100.00");
    EXPECT_EQ(log.back(), scenario::EndBanner);

    const std::vector<scenario::TSurvivalRow> back = scenario::LoadSurvival(f.dir / scenario::SurvivalFileName);
    ASSERT_EQ(back.size(), 2u);
    for (int c = 0; c < scenario::SurvivalColumns; ++c)
        EXPECT_EQ(scenario::SurvivalCellText(back[0], c), scenario::SurvivalCellText(shown[0], c)) << c;
}

// A step whose first filter leaves one ticket: the second one never runs, yet it has its row,
// named and without tests; the file is UTF-8 and reads back, as does one of an earlier version.
TEST(Survival, APartThatCouldNotRunIsNamedAndTheFileIsUtf8)
{
    RunFixture f(30);
    f.DrawOneToEight(30);
    f.list.CombsGenerateMode = 2;   // the 9 tickets of 1..9
    f.list.CombsGenerateParameters = "1,2,3,4,5,6,7,8,9";
    // Deleting the tickets with 9 leaves 1..8, the drawn one.
    const std::string del = "TMD1#NUMS:10#LVA:9#SF:1", keep = "BMF8#SUMS:10#CMV:36#SF:1";
    f.Script({Line({del, keep})});
    f.runner->ScriptTest(3);
    ASSERT_TRUE(f.sh.messages.empty());
    const std::vector<scenario::TSurvivalRow> rows = f.runner->Survival().Summary();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].PartText, del);
    EXPECT_EQ(rows[0].Tests, 3);
    EXPECT_EQ(rows[0].Survived, 3);
    EXPECT_EQ(rows[1].PartText, keep);
    EXPECT_EQ(rows[1].Tests, 0);
    std::vector<std::string> cells;
    for (int c = 0; c < scenario::SurvivalColumns; ++c) cells.push_back(scenario::SurvivalCellText(rows[1], c));
    EXPECT_EQ(cells, (std::vector<std::string>{keep, "0", "0", "", "", "", "", ""}));

    const std::filesystem::path file = f.dir / scenario::SurvivalFileName;
    EXPECT_EQ(test::ReadBytes(file), scenario::SurvivalCsvText(rows));
    EXPECT_EQ(scenario::LoadSurvival(file).size(), 2u);
    scenario::TSurvivalRow named{.PartText = "Фильтр «Б»", .Tests = 2, .Survived = 1, .Rate = 0.5, .KeptShare = 0.5};
    test::WriteBytes(file, util::Utf8ToCp1251(scenario::SurvivalCsvText({named})));
    const std::vector<scenario::TSurvivalRow> old = scenario::LoadSurvival(file);
    ASSERT_EQ(old.size(), 1u);
    EXPECT_EQ(old[0].PartText, named.PartText);
}

// Small shares keep three significant digits; ordinary ones the usual decimals.
TEST(Survival, SmallValuesKeepTheirDigits)
{
    struct Case {
        double rate, kept, lift, low, high;
        std::vector<std::string> cells;   // columns 3..7
    };
    const std::vector<Case> cases = {
        {1, 1.0 / 125970, 125970, 0.5, 1, {"100.00", "0.000794", "125970.000", "50.00", "100.00"}},
        {0, 0.25, 0, 0, 0.0123, {"0.00", "25.00", "0.000", "0.00", "1.23"}},
        {0.02, 0.5, 0.04, 0.0004567, 0.9, {"2.00", "50.00", "0.0400", "0.0457", "90.00"}},
    };
    for (const Case& c : cases) {
        const scenario::TSurvivalRow row{.PartText = "X", .Tests = 5, .Survived = 1, .Rate = c.rate,
                                         .KeptShare = c.kept, .Lift = c.lift, .Low = c.low, .High = c.high};
        std::vector<std::string> cells;
        for (int col = 3; col < scenario::SurvivalColumns; ++col) cells.push_back(scenario::SurvivalCellText(row, col));
        EXPECT_EQ(cells, c.cells);
    }
}

// Deleting the two most frequent numbers of a random archive keeps the drawn ticket about as
// often as it keeps any ticket; "Прогноз" records nothing.
TEST(Survival, RandomFilterHasALiftNearOne)
{
    RunFixture f(400);
    f.list.CombsGenerateMode = 0;
    f.Script({Line({"TMD1#NUMS:30#LNO:#ST:2"})});
    f.runner->ScriptTest(300);
    ASSERT_TRUE(f.sh.messages.empty());
    const std::vector<scenario::TSurvivalRow> rows = f.runner->Survival().Summary();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Tests, 300);
    EXPECT_NEAR(rows[0].KeptShare, 43758.0 / 125970, 1e-9);
    EXPECT_NEAR(rows[0].Lift, 1.0, 0.25);
    EXPECT_LE(rows[0].Low, rows[0].Rate);
    EXPECT_GE(rows[0].High, rows[0].Rate);

    f.runner->ScriptRun();
    EXPECT_TRUE(f.runner->Survival().Empty());
}

// A test of 5 draws keeping the last 2 apart: survival, the rating rows of either half and the
// run record split at the first hold-out draw; the file keeps the hold-out columns. A hold-out
// as long as the test leaves no tuning draw and runs nothing.
TEST(Survival, HoldoutSplitsSurvivalAndRating)
{
    RunFixture f(30);
    f.DrawOneToEight(30);
    f.list.CombsGenerateMode = 0;
    f.Script({Line({"TMF1#NUMS:10#CMV:1#SF:1"})});
    f.runner->ScriptTest(5, 5);
    EXPECT_EQ(f.ws.StakesFile().RecordCount(), 0);
    f.runner->ScriptTest(5, 2);
    ASSERT_TRUE(f.sh.messages.empty());

    const scenario::TTestRun& run = f.runner->LastTest();
    EXPECT_EQ(run.Count, 5);
    EXPECT_EQ(run.Holdout, 2);
    EXPECT_EQ(run.FirstDrawNo, f.LastDrawNo() - 4);
    EXPECT_EQ(run.HoldoutFrom, f.LastDrawNo() - 1);
    EXPECT_EQ(run.LastDrawNo, f.LastDrawNo());
    ASSERT_EQ(run.Tuning.size(), 1u);
    ASSERT_EQ(run.Held.size(), 1u);
    EXPECT_EQ(run.Tuning[0].StakeCount, 3);
    EXPECT_EQ(run.Tuning[0].Hits[8], 3);
    EXPECT_EQ(run.Held[0].StakeCount, 2);
    EXPECT_EQ(run.Held[0].HitSum, 16);
    EXPECT_EQ(run.Held[0].Name, run.Tuning[0].Name);

    const scenario::TTestRun back = scenario::LoadTestRun(f.dir.path());
    EXPECT_EQ(back.Holdout, 2);
    EXPECT_EQ(back.HoldoutFrom, run.HoldoutFrom);
    EXPECT_EQ(back.LastDrawNo, run.LastDrawNo);
    EXPECT_EQ(back.Tuning, run.Tuning);
    EXPECT_EQ(back.Held, run.Held);

    const std::vector<scenario::TSurvivalRow> rows = f.runner->Survival().Summary(run.HoldoutFrom);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Tests, 3);
    EXPECT_EQ(rows[0].HoldTests, 2);
    EXPECT_EQ(rows[0].HoldSurvived, 2);
    const std::string csv = scenario::SurvivalCsvText(rows);
    EXPECT_NE(csv.find(";\"Контроль: верхняя граница 95%, %\"\r\n"), std::string::npos);
    EXPECT_NE(csv.find("\"TMF1#NUMS:10#CMV:1#SF:1\";3;3;100.00;99.61;1.004;43.85;100.00;2;2;100.00;99.61;1.004;34.24;100.00\r\n"),
              std::string::npos)
        << csv;
    const std::vector<scenario::TSurvivalRow> saved = scenario::LoadSurvival(f.dir / scenario::SurvivalFileName);
    ASSERT_EQ(saved.size(), 1u);
    for (int c = 0; c < scenario::SurvivalHoldoutColumns; ++c)
        EXPECT_EQ(scenario::SurvivalCellText(saved[0], c), scenario::SurvivalCellText(rows[0], c)) << c;
    // Without a hold-out the file and the table keep their 8 columns.
    EXPECT_EQ(scenario::SurvivalColumnCount(f.runner->Survival().Summary()), scenario::SurvivalColumns);
}

} // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/scenario/scenario.h"
#include "core/scenario/survival.h"
#include "core/scenario/testrun.h"
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
    game::TDrawsArray draws = archive::SyntheticDraws(30, 1, 1000);
    for (game::TDraw& d : draws) d.Nums = {8, 1, 7, 2, 6, 3, 5, 4};
    archive::WriteArchiveFile(f.dir / archive::ArchiveFileName, draws);
    f.ws.LoadArchive(f.sh);
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
    game::TDrawsArray draws = archive::SyntheticDraws(30, 1, 1000);
    for (game::TDraw& d : draws) d.Nums = {8, 1, 7, 2, 6, 3, 5, 4};
    archive::WriteArchiveFile(f.dir / archive::ArchiveFileName, draws);
    f.ws.LoadArchive(f.sh);
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

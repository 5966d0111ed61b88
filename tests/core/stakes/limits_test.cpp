#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>

#include "core/game/counting.h"
#include "core/stakes/ratings.h"
#include "core/stakes/regulars.h"
#include "core/stakes/stakecommands.h"
#include "core/stakes/stakesfile.h"
#include "core/util/cp1251.h"
#include "core/util/currency.h"
#include "tests/core/stakes/stakestest.h"

using namespace kv;
using namespace kv::stakes;

namespace {

std::string Fixture(const char* name)
{
    return test::ReadBytes(std::filesystem::path(KV_TEST_DATA) / "broken" / name);
}

} // namespace

TEST(Limits, SumsAndCountsFromFilesSaturate)
{
    using util::Currency;
    EXPECT_EQ((Currency::FromRaw(INT64_MAX) + Currency::FromRaw(1)).raw, INT64_MAX);
    EXPECT_EQ((Currency::FromRaw(INT64_MIN) - Currency::FromRaw(1)).raw, INT64_MIN);
    EXPECT_EQ((Currency::FromRaw(INT64_MIN) + Currency::FromRaw(-1)).raw, INT64_MIN);
    EXPECT_EQ((Currency::FromUnits(10) * INT64_MAX).raw, INT64_MAX);
    EXPECT_EQ((Currency::FromUnits(-10) * INT64_MAX).raw, INT64_MIN);
    EXPECT_EQ((Currency::FromUnits(3) + Currency::FromUnits(4)).raw, 70000);

    // A count read from a file never drives a loop: this answers at once.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(game::Binomial(INT32_MAX, 8), INT64_MAX);
    EXPECT_EQ(game::Binomial(INT32_MAX, INT32_MAX - 1), INT32_MAX);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(game::Binomial(300, 8), 1481062243936275LL);
    EXPECT_EQ(game::Binomial(20, 8), 125970);
    EXPECT_EQ(game::Binomial(8, 8), 1);
}

TEST(Limits, RatingRowAtItsLimitsTakesNoMoreStakes)
{
    const TRatingsFileContent content = ParseRatingsFile(Fixture("ratings-at-limits.lrt"));
    ASSERT_EQ(content.Rows.size(), 1u);
    TRatings ratings("unused.lrt");
    ratings.Assign(content.Rows);
    EXPECT_FALSE(ratings.AddRating(util::Utf8ToCp1251("Предел"), 1, util::Currency::FromUnits(5)));
    EXPECT_EQ(ratings[0], content.Rows[0]);
    EXPECT_TRUE(ratings.AddRating(util::Utf8ToCp1251("Другой"), 1, util::Currency::FromUnits(5)));
}

TEST(Limits, RegularCountStaysAtItsLimit)
{
    TRegularsFileContent content = ParseTablesFile(Fixture("regulars-count-limit.ltb"));
    ASSERT_EQ(content.Rows.size(), 1u);
    AdvanceRegular(content.Rows[0], {}, 0);
    EXPECT_EQ(content.Rows[0].Count, INT32_MAX);
    EXPECT_EQ(content.Rows[0].Current, (game::TComb{2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(Limits, StrayByteKeepsEveryStakeAndAFailedCopyKeepsTheFileReadOnly)
{
    const std::string bytes = Fixture("stakes-stray-byte.lsk");
    for (const bool copyFails : {false, true}) {
        SCOPED_TRACE(copyFails ? "copy fails" : "copy made");
        test::TempDir dir;
        const auto path = dir / TStakesFile::FileName;
        test::WriteBytes(path, bytes);
        // A directory in the copy's place makes the copy fail, as a full disk would.
        if (copyFails) std::filesystem::create_directory(dir / "Kvanta_8x20.lsk.bak");
        TStakesFile file;
        file.Open(path);
        test::ScriptedShell shell;
        EXPECT_FALSE(DiscardOutdatedStakes(file, shell));
        ASSERT_EQ(shell.messages.size(), 1u);
        if (!copyFails) {
            EXPECT_EQ(file.RecordCount(), 50);
            EXPECT_EQ(test::ReadBytes(path), bytes.substr(0, 50 * TStakeRecord::RecordSize));
            EXPECT_EQ(test::ReadBytes(dir / "Kvanta_8x20.lsk.bak"), bytes);
            continue;
        }
        EXPECT_NE(shell.messages[0].text.find("Копия файла не сохранена."), std::string::npos);
        EXPECT_NE(shell.messages[0].text.find("Файл \"Kvanta_8x20.lsk\" не будет перезаписан до завершения работы "
                                              "программы"),
                  std::string::npos)
            << shell.messages[0].text;
        EXPECT_TRUE(file.IsReadOnly());
        EXPECT_FALSE(file.AppendStakes(shell, file.ReadStake(0), 1));
        EXPECT_EQ(test::ReadBytes(path), bytes);
    }
}

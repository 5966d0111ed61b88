#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/stakes/ratings.h"
#include "core/stakes/stakecommands.h"
#include "core/stakes/stakesfile.h"
#include "core/util/cp1251.h"
#include "core/util/format.h"
#include "tests/core/stakes/stakestest.h"

using namespace kv;
using namespace kv::stakes;
using kv::test::Checked;
using kv::test::FileOf;
using kv::test::Stake;

namespace {

TRatingRecord Row(const std::string& name, std::vector<int> hits, int64_t profitRaw = 0)
{
    TRatingRecord r;
    r.Name = name;
    for (std::size_t h = 0; h < hits.size(); ++h) {
        r.Hits[h] = hits[h];
        r.StakeCount += hits[h];
        r.HitSum += static_cast<int32_t>(h) * hits[h];
    }
    r.ProfitSum = util::Currency::FromRaw(profitRaw);
    return r;
}

TStakeRecord CheckedWith(int hits, const std::string& comment, int64_t profitRaw)
{
    TStakeRecord s = Checked(100, hits, comment);
    s.Profit = util::Currency::FromRaw(profitRaw);
    return s;
}

struct Fixture {
    test::TempDir dir;
    test::ScriptedShell shell;
    TRatings ratings{dir / TRatings::FileName};
    int changes = 0;
    Fixture()
    {
        ratings.onChanged = [this] { ++changes; };
    }
    std::string FileBytes() const { return test::ReadBytes(dir / TRatings::FileName); }
};

// Restores the decimal separator a test changed.
struct SeparatorGuard {
    char saved = util::DecimalSeparator();
    ~SeparatorGuard() { util::SetDecimalSeparator(saved); }
};

} // namespace

TEST(RatingRecord, BytesAtTheirOffsets)
{
    TRatingRecord r = Row("Тест", {0, 1, 2, 5, 2}, -123456);
    ASSERT_EQ(r.StakeCount, 10);
    ASSERT_EQ(r.HitSum, 28);

    std::string expected(312, '\0');
    const unsigned char name[] = {4, 0xD2, 0xE5, 0xF1, 0xF2};   // "Тест" in CP1251
    std::copy(std::begin(name), std::end(name), expected.begin());
    expected[256] = 10;         // StakeCount
    expected[260] = 28;         // HitSum
    expected[268] = 1;          // Hits[1]
    expected[272] = 2;          // Hits[2]
    expected[276] = 5;          // Hits[3]
    expected[280] = 2;          // Hits[4]
    const unsigned char profit[] = {0xC0, 0x1D, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};   // -12.3456
    std::copy(std::begin(profit), std::end(profit), expected.begin() + 304);
    EXPECT_EQ(test::RecordBytes(r), expected);

    // The alignment gap at 300 and the bytes past the name's length carry nothing: a file with
    // rubbish there reads as the same record and is written back clean.
    std::string dirty = expected;
    dirty[300] = '\x7F';
    dirty[303] = '\x01';
    dirty[200] = 'x';
    TRatingRecord back;
    back.Read(reinterpret_cast<const uint8_t*>(dirty.data()));
    EXPECT_EQ(back, r);
    EXPECT_EQ(test::RecordBytes(back), expected);

    // Names are cut to 255 characters, never inside a character.
    TRatingRecord longName = Row("", {1});
    for (int i = 0; i < 300; ++i) longName.Name += "ж";
    const std::string bytes = test::RecordBytes(longName);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 255);
    back.Read(reinterpret_cast<const uint8_t*>(bytes.data()));
    EXPECT_EQ(util::Utf8ToCp1251(back.Name), std::string(255, '\xE6'));
}

TEST(RatingRecord, ConsistencyOfTheCounters)
{
    struct Case {
        const char* what;
        TRatingRecord r;
        bool consistent;
    };
    TRatingRecord good = Row("a", {1, 0, 3, 0, 0, 0, 0, 0, 2});
    TRatingRecord badCount = good;
    badCount.StakeCount = 5;
    TRatingRecord badSum = good;
    badSum.HitSum += 1;
    TRatingRecord negative = Row("a", {});
    negative.Hits[0] = -1;
    negative.StakeCount = -1;
    for (const Case& c : std::vector<Case>{{"made by adding", good, true},
                                           {"empty", Row("", {}), true},
                                           {"count differs from the hits", badCount, false},
                                           {"hit sum differs", badSum, false},
                                           {"negative counts", negative, false}})
        EXPECT_EQ(c.r.IsConsistent(), c.consistent) << c.what;
}

TEST(Ratings, StakesMergeByNameInAnyCase)
{
    TRatings ratings;
    EXPECT_TRUE(ratings.AddRating(CheckedWith(3, "Test", 10000)));
    EXPECT_TRUE(ratings.AddRating(CheckedWith(5, "TEST", -20000)));
    EXPECT_TRUE(ratings.AddRating(CheckedWith(0, "тест", 1)));
    EXPECT_TRUE(ratings.AddRating(CheckedWith(8, "ТЕСТ", 2)));
    EXPECT_TRUE(ratings.AddRating(CheckedWith(2, "ёлка", 0)));
    EXPECT_TRUE(ratings.AddRating(CheckedWith(2, "ЁЛКА", 0)));
    EXPECT_TRUE(ratings.AddRating(CheckedWith(1, "Test ", 0)));

    TStakeRecord unchecked = Stake(100, {1, 2, 3, 4, 5, 6, 7, 8}, "Test");
    EXPECT_FALSE(ratings.AddRating(unchecked)) << "Matched.Count -1";
    TStakeRecord damaged = CheckedWith(8, "Test", 0);
    damaged.Matched.Count = 9;
    EXPECT_FALSE(ratings.AddRating(damaged)) << "no column for 9 hits";

    ASSERT_EQ(test::Names(ratings.Items()), (std::vector<std::string>{"Test", "тест", "ёлка", "Test "}));
    const TRatingRecord& t = ratings[0];
    EXPECT_EQ(t.StakeCount, 2);
    EXPECT_EQ(t.HitSum, 8);
    EXPECT_EQ(t.Hits[3], 1);
    EXPECT_EQ(t.Hits[5], 1);
    EXPECT_EQ(t.ProfitSum, util::Currency::FromRaw(-10000));
    EXPECT_EQ(ratings[1].StakeCount, 2);
    EXPECT_EQ(ratings[1].Hits[0] + ratings[1].Hits[8], 2);
    EXPECT_EQ(ratings[2].Hits[2], 2);
    EXPECT_EQ(ratings.Find("TEST "), 3);
    EXPECT_EQ(ratings.Find("нет"), -1);
}

TEST(Ratings, FirstOfEqualNamesCollectsAndSortingMovesTheRows)
{
    Fixture f;
    // A file may hold two rows whose names differ only in case; the first in array order wins.
    f.ratings.Assign({Row("b", {1}), Row("a", {1}), Row("A", {1})});
    f.ratings.AddRating(CheckedWith(4, "A", 0));
    EXPECT_EQ(f.ratings[1].StakeCount, 2);
    EXPECT_EQ(f.ratings[2].StakeCount, 1);

    // After a sort the rows sit elsewhere; stakes must still reach their own row.
    f.ratings.SortRatings(f.shell, 0, false);
    ASSERT_EQ(test::Names(f.ratings.Items()), (std::vector<std::string>{"a", "A", "b"}));
    f.ratings.AddRating(CheckedWith(1, "B", 0));
    f.ratings.AddRating(CheckedWith(1, "A", 0));
    EXPECT_EQ(f.ratings[0].StakeCount, 3);
    EXPECT_EQ(f.ratings[1].StakeCount, 1) << "the second of the equal names";
    EXPECT_EQ(f.ratings[2].StakeCount, 2);
}

TEST(Ratings, ChanceDistribution)
{
    const TChanceDistribution& c = ChanceDistribution();
    EXPECT_EQ(c.Expected, (std::array<int64_t, 9>{495, 6336, 25872, 44352, 34650, 12320, 1848, 96, 1}));
    long double total = 0;
    for (long double s : c.Share) total += s;
    EXPECT_NEAR(static_cast<double>(total), 1.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(c.Share[3]), 0.352083829483210, 1e-15);
}

TEST(Ratings, EfficiencyTexts)
{
    SeparatorGuard guard;
    util::SetDecimalSeparator('.');
    const TRatingRecord ten = Row("r", {2, 0, 1, 5, 2});   // 10 stakes, Hits[3] = 5
    struct Case {
        int h, mode;
        const char* text;
    };
    for (const Case& c : std::vector<Case>{
             {3, EffExpected, "4"},            // round(10 x 0.3521)
             {3, EffAbsolute, "14.792%"},      // 50 - 35.2084
             {3, EffRelative, "142.012%"},     // 500 / 3.52084
             {0, EffExpected, "0"},            // 10 x 0.0039
             {0, EffAbsolute, "19.607%"},      // 20 - 0.3929
             {8, EffAbsolute, "-0.001%"},      // 0 - 0.0008
             {8, EffRelative, "0.000%"},
             {4, EffRelative, "72.710%"},      // 20 / 27.5066
             {3, 7, ""},                       // an unknown mode shows nothing
             {9, EffAbsolute, ""},
         })
        EXPECT_EQ(RatingEffText(ten, c.h, c.mode), c.text) << c.h << " " << c.mode;

    EXPECT_EQ(RatingEffText(Row("empty", {}), 3, EffAbsolute), "") << "no stakes, no efficiency";
    util::SetDecimalSeparator(',');
    EXPECT_EQ(RatingEffText(ten, 3, EffAbsolute), "14,792%");

    EXPECT_STREQ(RatingEffModeCaption(0), "Ожидаемые значения совпадений");
    EXPECT_STREQ(RatingEffModeCaption(1), "Абсолютные значения эффективности");
    EXPECT_STREQ(RatingEffModeCaption(2), "Относительные значения эффективности");
    EXPECT_EQ(NormalizeRatingEffMode(2), 2);
    EXPECT_EQ(NormalizeRatingEffMode(3), 1);
    EXPECT_EQ(NormalizeRatingEffMode(-1), 1);
}

TEST(Ratings, ViewColumns)
{
    SeparatorGuard guard;
    util::SetDecimalSeparator('.');
    // 0.0299 over 2 stakes is 0.01495, rounded to the unit 0.0150 before it shows as 0.02.
    const TRatingRecord r = Row("Ряд", {0, 0, 1, 1}, 299);
    const std::vector<std::string> expected = {"Ряд", "2", "5", "2.500", "0.03", "0.02", "0", "0", "1", "1", "0",
                                               "0", "0", "0", "0", "-0.393%", "-5.030%", "29.462%", "14.792%",
                                               "-27.507%", "-9.780%", "-1.467%", "-0.076%", "-0.001%"};
    ASSERT_EQ(RatingColumnCount, 24);
    for (int c = 0; c < RatingColumnCount; ++c) EXPECT_EQ(RatingCellText(r, c, EffAbsolute), expected[c]) << c;
    EXPECT_EQ(RatingCellText(r, 24, EffAbsolute), "");

    EXPECT_EQ(RatingCellText(Row("neg", {0, 0, 1, 1}, -299), 5, EffAbsolute), "-0.02");
    EXPECT_EQ(RatingCellText(Row("neg", {0, 0, 1, 1}, -299), 4, EffAbsolute), "-0.03");
    const TRatingRecord none = Row("Пусто", {});
    for (int c : {3, 5, 15, 23}) EXPECT_EQ(RatingCellText(none, c, EffAbsolute), "") << c;
    EXPECT_EQ(RatingCellText(none, 4, EffAbsolute), "0.00");

    const TRatingsArray rows = {r};
    EXPECT_EQ(RatingCellText(rows, 0, 1, EffAbsolute), "2");
    EXPECT_EQ(RatingCellText(rows, 1, 0, EffAbsolute), BadRatingRowText);
    EXPECT_EQ(RatingCellText(rows, -1, 1, EffAbsolute), "");

    const std::vector<std::string> captions = {"Комментарий", "Ставок", "Совпало", "Среднее", "Профит", "Ср. профит",
                                               "0", "1", "2", "3", "4", "5", "6", "7", "8",
                                               "E0", "E1", "E2", "E3", "E4", "E5", "E6", "E7", "E8"};
    for (int c = 0; c < RatingColumnCount; ++c) EXPECT_EQ(RatingColumnCaption(c), captions[c]);
    EXPECT_STREQ(RatingColumnCaption(24), "");
    EXPECT_EQ(RatingsCountText(17), "Рейтинг: 17");
}

TEST(Ratings, MeanProfitRoundsToTheCurrencyUnit)
{
    struct Case {
        int64_t sum;
        int count;
        int64_t mean;
    };
    for (const Case& c : std::vector<Case>{{299, 2, 150}, {-299, 2, -150}, {10, 3, 3}, {20, 3, 7}, {-20, 3, -7},
                                           {0, 5, 0}, {5, 0, 0}, {INT64_MAX, 1, INT64_MAX}}) {
        TRatingRecord r;
        r.StakeCount = c.count;
        r.ProfitSum = util::Currency::FromRaw(c.sum);
        EXPECT_EQ(MeanProfit(r).raw, c.mean) << c.sum << "/" << c.count;
    }
}

TEST(Ratings, ComparisonPerColumn)
{
    struct Case {
        const char* what;
        TRatingRecord a, b;
        int column;
        int expected;
    };
    const TRatingRecord empty = Row("zzz", {});
    const std::vector<Case> cases = {
        {"profit, 0.0049 apart", Row("a", {1}, 10049), Row("b", {1}, 10000), 4, 0},
        {"profit, half a cent apart", Row("a", {1}, 10050), Row("b", {1}, 10000), 4, 1},
        {"profit, half a cent below", Row("a", {1}, 9950), Row("b", {1}, 10000), 4, -1},
        {"profit, 0.0051 apart", Row("a", {1}, -10051), Row("b", {1}, -10000), 4, -1},
        {"profit, extremes", Row("a", {1}, INT64_MAX), Row("b", {1}, INT64_MIN), 4, 1},
        {"mean profit within half a cent", Row("a", {2}, 20098), Row("b", {1}, 10000), 5, 0},
        {"mean profit beyond", Row("a", {2}, 20102), Row("b", {1}, 10000), 5, 1},
        {"mean hits 2.0 vs 2.004", Row("a", {0, 0, 250}), Row("b", {0, 0, 249, 1}), 3, 0},
        {"mean hits 2.0 vs 2.01", Row("a", {0, 0, 100}), Row("b", {0, 0, 99, 1}), 3, -1},
        {"stake count", Row("a", {3}), Row("b", {2}), 1, 1},
        {"hit sum", Row("a", {0, 1}), Row("b", {0, 0, 1}), 2, -1},
        {"Hits[0]", Row("a", {2}), Row("b", {1, 1}), 6, 1},
        {"Hits[8]", Row("a", {0, 0, 0, 0, 0, 0, 0, 0, 1}), Row("b", {1}), 14, 1},
        {"efficiency columns", Row("a", {0, 0, 0, 0, 9}), Row("b", {9}), 19, 0},
        {"unknown column", Row("a", {3}), Row("b", {1}), 24, 0},
        {"a row without stakes", empty, Row("b", {1}, 99999), 4, 0},
        {"a row without stakes, name", Row("a", {1}), empty, 0, 0},
        {"names by alphabet", Row("apple", {1}), Row("Banana", {1}), 0, -1},
        {"lower case first", Row("banana", {1}), Row("Banana", {1}), 0, -1},
        {"Latin before Cyrillic", Row("Zebra", {1}), Row("арбуз", {1}), 0, -1},
        {"Ё after Е", Row("ёж", {1}), Row("ель", {1}), 0, 1},
        {"Ё before Ж", Row("Ёж", {1}), Row("жук", {1}), 0, -1},
        {"Я after а", Row("Я", {1}), Row("а", {1}), 0, 1},
        {"prefix first", Row("Тест", {1}), Row("тест 2", {1}), 0, -1},
        {"same name", Row("Тест", {1}), Row("Тест", {5}), 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareRatings(c.a, c.b, c.column), c.expected) << c.what;
        EXPECT_EQ(CompareRatings(c.b, c.a, c.column), -c.expected) << c.what << " (swapped)";
    }
}

TEST(Ratings, SortByProfitKeepsRowsWithinHalfACentTogether)
{
    TRatingsArray rows = {Row("one", {1}, 10000), Row("three", {1}, 30000), Row("two", {1}, 20000),
                          Row("two'", {1}, 20049)};
    SortRatingsArray(rows, 4, true);
    const std::vector<std::string> names = test::Names(rows);
    EXPECT_EQ(names[0], "three");
    EXPECT_EQ(names[3], "one");
    EXPECT_TRUE((names[1] == "two" && names[2] == "two'") || (names[1] == "two'" && names[2] == "two"));

    TRatingsArray byName = {Row("b", {1}), Row("Б", {1}), Row("a", {1}), Row("B", {1}), Row("а", {1})};
    SortRatingsArray(byName, 0, false);
    EXPECT_EQ(test::Names(byName), (std::vector<std::string>{"a", "b", "B", "а", "Б"}));
    SortRatingsArray(byName, 1, false);   // all equal: still the same five rows
    EXPECT_EQ(byName.size(), 5u);
}

TEST(Ratings, SortSurvivesComparisonsThatAreNotAnOrder)
{
    // Rows without stakes equal everything and profits within half a cent equal each other:
    // equality is not transitive, which a library sort may answer by leaving the range. Every
    // row must come out exactly once.
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        TRatingsArray rows;
        for (int i = 0; i < 500; ++i) {
            TRatingRecord r = rng() % 4 == 0 ? Row("", {}) : Row("", {1 + static_cast<int>(rng() % 3)});
            r.Name = std::to_string(i);
            r.ProfitSum = util::Currency::FromRaw(static_cast<int64_t>(rng() % 200));
            rows.push_back(r);
        }
        for (int column : {4, 5, 1}) {
            TRatingsArray sorted = rows;
            SortRatingsArray(sorted, column, round % 2 == 0);
            std::vector<std::string> a = test::Names(rows), b = test::Names(sorted);
            std::sort(a.begin(), a.end());
            std::sort(b.begin(), b.end());
            ASSERT_EQ(a, b) << "column " << column;
        }
    }
}

TEST(Ratings, SortSavesTheFileInTheNewOrder)
{
    Fixture f;
    f.ratings.Assign({Row("low", {0, 5}), Row("high", {0, 0, 0, 5}), Row("mid", {0, 0, 5})});
    f.ratings.SortRatings(f.shell, 3, true);
    EXPECT_EQ(test::Names(f.ratings.Items()), (std::vector<std::string>{"high", "mid", "low"}));
    EXPECT_EQ(f.FileBytes(), RatingsFileBytes(f.ratings.Items()));
    EXPECT_EQ(f.shell.statusTexts,
              (std::vector<std::string>{"Сортировка рейтинга...", "", "Сохранение файла рейтинга...", ""}));
    EXPECT_EQ(f.changes, 1);
    EXPECT_EQ(f.ratings.SortColumn(), 3);
    EXPECT_TRUE(f.ratings.SortDescending());
    EXPECT_FALSE(f.shell.IsBusy());

    f.ratings.SortRatings(f.shell, 0, false);
    EXPECT_EQ(test::Names(f.ratings.Items()), (std::vector<std::string>{"high", "low", "mid"}));
    f.ratings.SortRatings(f.shell, -1, false);   // no column: the order stays, the file is written
    EXPECT_EQ(test::Names(f.ratings.Items()), (std::vector<std::string>{"high", "low", "mid"}));
    EXPECT_EQ(f.changes, 3);
}

TEST(Ratings, SaveFailureIsShownAndTheViewStillHears)
{
    Fixture f;
    f.ratings.SetPath(f.dir / "missing" / TRatings::FileName);
    f.ratings.Assign({Row("a", {1})});
    EXPECT_FALSE(f.ratings.SaveRatings(f.shell));
    ASSERT_EQ(f.shell.messages.size(), 1u);
    EXPECT_EQ(f.shell.messages[0].text.rfind("Ошибка записи в файл рейтинга!\n\n", 0), 0u) << f.shell.messages[0].text;
    EXPECT_EQ(f.changes, 1);
    EXPECT_EQ(f.ratings.Count(), 1);
}

TEST(Ratings, LoadSortsAndSaves)
{
    Fixture f;
    const TRatingsArray stored = {Row("mid", {0, 0, 5}), Row("high", {0, 0, 0, 5}), Row("low", {0, 5})};
    test::WriteBytes(f.dir / TRatings::FileName, RatingsFileBytes(stored));
    f.ratings.LoadRatings(f.shell);
    EXPECT_TRUE(f.shell.messages.empty());
    EXPECT_EQ(test::Names(f.ratings.Items()), (std::vector<std::string>{"high", "mid", "low"})) << "column 3 descending";
    EXPECT_EQ(f.FileBytes(), RatingsFileBytes(f.ratings.Items()));
    EXPECT_EQ(f.shell.statusTexts.front(), "Загрузка файла рейтинга...");
    EXPECT_EQ(f.changes, 1);

    Fixture none;
    none.ratings.LoadRatings(none.shell);
    EXPECT_TRUE(none.shell.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(none.dir / TRatings::FileName)) << "nothing to load, nothing written";
    EXPECT_EQ(none.changes, 1);
}

TEST(Ratings, LoadOfFilesThatAreNotWholeRatingRecords)
{
    const std::string good = RatingsFileBytes({Row("Один", {0, 2}), Row("Два", {0, 0, 3})});
    std::string foreign = good;
    std::string alien(312, '\x11');   // counters that no adding of stakes gives
    foreign += alien + RatingsFileBytes({Row("after", {1})});
    struct Case {
        const char* what;
        std::string bytes;
        int rows;
        shell::MessageKind kind;
        std::string message;
    };
    // Written by hand (tests/data/broken/make.py): the two rows of `good` and one byte "x".
    const std::string partial =
        test::ReadBytes(std::filesystem::path(KV_TEST_DATA) / "broken" / "ratings-partial.lrt");
    ASSERT_EQ(partial, good + "x");
    const std::vector<Case> cases = {
        {"a trailing partial record", partial, 2, shell::MessageKind::Warning,
         "Файл рейтинга \"Kvanta_8x20.lrt\" заканчивается неполной записью (1 байт); она не прочитана.\n\n"
         "Копия файла сохранена как \"Kvanta_8x20.lrt.bak\"."},
        {"too short for one record", std::string(200, '\x05'), 0, shell::MessageKind::Warning,
         "Файл рейтинга \"Kvanta_8x20.lrt\" заканчивается неполной записью (200 байт); она не прочитана.\n\n"
         "Копия файла сохранена как \"Kvanta_8x20.lrt.bak\"."},
        {"records of another format", foreign, 2, shell::MessageKind::Error,
         "Ошибка чтения файла рейтинга!\n\n"
         "Запись 3 файла \"Kvanta_8x20.lrt\" не является записью рейтинга: файл другой версии или поврежден. "
         "Прочитаны записи до нее (2).\n\nКопия файла сохранена как \"Kvanta_8x20.lrt.bak\"."},
    };
    for (const Case& c : cases) {
        Fixture f;
        test::WriteBytes(f.dir / TRatings::FileName, c.bytes);
        f.ratings.LoadRatings(f.shell);
        EXPECT_EQ(f.ratings.Count(), c.rows) << c.what;
        ASSERT_EQ(f.shell.messages.size(), 1u) << c.what;
        EXPECT_EQ(f.shell.messages[0].kind, c.kind) << c.what;
        EXPECT_EQ(f.shell.messages[0].text, c.message) << c.what;
        EXPECT_EQ(test::ReadBytes(f.dir / "Kvanta_8x20.lrt.bak"), c.bytes) << c.what << ": the original is kept";
        EXPECT_EQ(f.FileBytes().size(), static_cast<std::size_t>(c.rows) * 312) << c.what;
        EXPECT_FALSE(f.shell.IsBusy());
    }

    Fixture f;
    test::WriteBytes(f.dir / TRatings::FileName, partial);
    f.ratings.LoadRatings(f.shell);
    // The whole rows, in the view's order, saved so without the partial record.
    ASSERT_EQ(f.ratings.Count(), 2);
    EXPECT_EQ(f.ratings.Items()[0], Row("Два", {0, 0, 3}));
    EXPECT_EQ(f.ratings.Items()[1], Row("Один", {0, 2}));
    EXPECT_EQ(f.FileBytes(), RatingsFileBytes({Row("Два", {0, 0, 3}), Row("Один", {0, 2})}));
}

TEST(Ratings, UnreadableFileIsLeftAlone)
{
    Fixture f;
    std::filesystem::create_directory(f.dir / TRatings::FileName);   // exists, but cannot be read
    f.ratings.LoadRatings(f.shell);
    ASSERT_EQ(f.shell.messages.size(), 1u);
    EXPECT_EQ(f.shell.messages[0].text.rfind("Ошибка чтения файла рейтинга!\n\n", 0), 0u) << f.shell.messages[0].text;
    EXPECT_TRUE(std::filesystem::is_directory(f.dir / TRatings::FileName));
    EXPECT_EQ(f.ratings.Count(), 0);
    EXPECT_EQ(f.changes, 1);
}

TEST(Ratings, RefreshRebuildsFromTheCheckedStakes)
{
    Fixture f;
    TStakeRecord damaged = CheckedWith(3, "x", 0);
    damaged.Matched.Count = 40;   // a record no check writes
    const std::string stakes = FileOf({CheckedWith(3, "Alpha", 10000), NewSeparator(), CheckedWith(5, "ALPHA", -5000),
                                       Stake(200, {1, 2, 3, 4, 5, 6, 7, 8}, "Alpha"), CheckedWith(2, "Бета", 0),
                                       damaged});
    test::WriteBytes(f.dir / TStakesFile::FileName, stakes);
    TStakesFile file;
    file.Open(f.dir / TStakesFile::FileName);

    f.ratings.Assign({Row("old", {1})});
    f.shell.answers = {false};
    EXPECT_FALSE(f.ratings.RatingsRefresh(f.shell, file));
    ASSERT_EQ(f.shell.questions.size(), 1u);
    EXPECT_EQ(f.shell.questions[0].caption, "Подтверждение");
    EXPECT_EQ(f.shell.questions[0].text,
              "Пересчитать рейтинг только по текущим ставкам?\n\n"
              "Накопленные ранее данные по удаленным ставкам будут потеряны.");
    EXPECT_EQ(test::Names(f.ratings.Items()), std::vector<std::string>{"old"});

    f.shell.answers = {true};
    EXPECT_TRUE(f.ratings.RatingsRefresh(f.shell, file));
    EXPECT_TRUE(f.shell.messages.empty());
    ASSERT_EQ(test::Names(f.ratings.Items()), (std::vector<std::string>{"Alpha", "Бета"})) << "mean 4 before mean 2";
    EXPECT_EQ(f.ratings[0].StakeCount, 2);
    EXPECT_EQ(f.ratings[0].HitSum, 8);
    EXPECT_EQ(f.ratings[0].ProfitSum, util::Currency::FromRaw(5000));
    EXPECT_EQ(f.FileBytes(), RatingsFileBytes(f.ratings.Items()));
    EXPECT_EQ(f.shell.statusTexts.front(), "Обновление рейтинга...");

    // A failure keeps what the rating held.
    file.Close();
    f.shell.answers = {true};
    EXPECT_FALSE(f.ratings.RatingsRefresh(f.shell, file));
    ASSERT_EQ(f.shell.messages.size(), 1u);
    EXPECT_EQ(f.shell.messages[0].text, "Ошибка обновления рейтинга!\n\nФайл ставок не открыт!");
    EXPECT_EQ(f.ratings.Count(), 2);
    EXPECT_FALSE(f.shell.IsBusy());
}

TEST(Ratings, ClearingTheStakesEmptiesTheRatingAndItsFile)
{
    Fixture f;
    test::WriteBytes(f.dir / TStakesFile::FileName, FileOf({CheckedWith(3, "a", 0), CheckedWith(4, "b", 0)}));
    TStakesFile file;
    file.Open(f.dir / TStakesFile::FileName);
    ASSERT_TRUE(f.ratings.RatingsRefresh(f.shell, file));
    ASSERT_EQ(f.FileBytes().size(), 624u);

    TStakeViewHooks hooks;
    hooks.RefreshRatings = [&] { f.ratings.RatingsRefresh(f.shell, file); };
    f.shell.answers = {true, true};   // delete all stakes, then rebuild the rating
    EXPECT_TRUE(StakeClear(file, f.shell, hooks));
    EXPECT_EQ(f.shell.questions.back().text,
              "Пересчитать рейтинг только по текущим ставкам?\n\n"
              "Накопленные ранее данные по удаленным ставкам будут потеряны.");
    EXPECT_TRUE(f.ratings.Empty());
    EXPECT_EQ(f.FileBytes(), "");
    EXPECT_TRUE(f.shell.messages.empty());
}

TEST(Ratings, ExportLines)
{
    SeparatorGuard guard;
    util::SetDecimalSeparator('.');
    Fixture f;
    f.ratings.Assign({Row("Тест \"1\"", {0, 0, 1, 1}, 299), Row("Пусто", {}),
                      Row("r", {2, 0, 1, 5, 2, 0, 0, 0, 0}, -1234567)});
    const auto out = f.dir / "rating.csv";
    ASSERT_TRUE(f.ratings.RatingsExport(f.shell, out));
    const std::string expected =
        "\"Комментарий\";\"Ставок\";\"Совпало\";\"Среднее\";\"Профит\";\"Ср. профит\";"
        "\"0\";\"1\";\"2\";\"3\";\"4\";\"5\";\"6\";\"7\";\"8\";"
        "\"E0\";\"E1\";\"E2\";\"E3\";\"E4\";\"E5\";\"E6\";\"E7\";\"E8\"\r\n"
        "\"Тест \"\"1\"\"\";2;5;2.500;0.03;0.02;0;0;1;1;0;0;0;0;0\r\n"
        "\"Пусто\";0;0;;0.00;;0;0;0;0;0;0;0;0;0\r\n"
        "\"r\";10;25;2.500;-123.46;-12.35;2;0;1;5;2;0;0;0;0\r\n";
    EXPECT_EQ(test::ReadBytes(out), util::Utf8ToCp1251(expected));
    EXPECT_EQ(f.shell.statusTexts, (std::vector<std::string>{"Экспорт в CSV-файл...", ""}));

    // 24 fields in the header, 15 in every data line.
    const std::string header = RatingsCsvHeader();
    EXPECT_EQ(std::count(header.begin(), header.end(), ';'), 23);
    const std::string line = RatingsCsvLine(f.ratings[2]);
    EXPECT_EQ(std::count(line.begin(), line.end(), ';'), 14);

    EXPECT_FALSE(f.ratings.RatingsExport(f.shell, f.dir / "missing" / "rating.csv"));
    ASSERT_EQ(f.shell.messages.size(), 1u);
    EXPECT_EQ(f.shell.messages[0].kind, shell::MessageKind::Error);
    EXPECT_NE(f.shell.messages[0].text.find("rating.csv"), std::string::npos) << f.shell.messages[0].text;
}

TEST(Ratings, OverlapChart)
{
    const TRatingsArray rows = {Row("a", {0, 0, 5, 5}), Row("b", {0, 0, 0, 10, 10}), Row("c", {1})};
    const std::vector<int> selected = {1, 0, 7};
    const TChartData chart = RatingsOverlapChart(rows, selected);
    EXPECT_EQ(chart.Caption, "График количества совпадений для выделенных строк рейтинга");
    test::ScriptedShell shell;
    EXPECT_EQ(RatingsGraphOverlap(shell, rows, selected).Series.size(), chart.Series.size());
    EXPECT_EQ(shell.statusTexts, (std::vector<std::string>{"Создание графиков...", ""}));
    ASSERT_EQ(chart.Series.size(), 3u);
    const TChartLine& chance = chart.Series[0];
    EXPECT_EQ(chance.Title, "Нормальные значения");
    EXPECT_EQ(chance.Color, 0x808080u);
    EXPECT_TRUE(chance.ShowPoints);
    EXPECT_FALSE(chance.ShowMarks);
    ASSERT_EQ(chance.Points.size(), 9u);
    EXPECT_DOUBLE_EQ(chance.Points[3].Y, 44352.0 * 20 / 125970);   // scaled to the largest row, 20 stakes
    EXPECT_EQ(chance.Points[3].Label, "3");
    EXPECT_EQ(chart.Series[1].Title, "b");
    EXPECT_EQ(chart.Series[1].Color, 0u);
    EXPECT_EQ(chart.Series[1].Points[4].Y, 10);
    EXPECT_EQ(chart.Series[2].Title, "a");
    EXPECT_EQ(RatingNames(rows, selected), (std::vector<std::string>{"b", "a"}));

    const TChartData nothing = RatingsOverlapChart(rows, {});
    ASSERT_EQ(nothing.Series.size(), 1u);
    EXPECT_EQ(nothing.Series[0].Points[3].Y, 0);
}

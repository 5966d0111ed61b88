#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <ctime>
#include <limits>
#include <string>
#include <vector>

#include "core/game/game.h"
#include "core/util/error.h"

using namespace kv::game;

namespace {

TEST(Dates, EncodeKnownDayNumbers)
{
    struct Case {
        int y, m, d, h, n, s, ms;
        double expected;
    };
    const std::vector<Case> cases = {
        {1899, 12, 30, 0, 0, 0, 0, 0.0},
        {1899, 12, 31, 0, 0, 0, 0, 1.0},
        {1900, 1, 1, 0, 0, 0, 0, 2.0},
        {1900, 3, 1, 0, 0, 0, 0, 61.0},   // 1900 is not a leap year
        {2000, 1, 1, 0, 0, 0, 0, 36526.0},
        {2020, 2, 1, 0, 0, 0, 0, 43862.0},
        {2020, 2, 1, 12, 0, 0, 0, 43862.5},
        {2020, 2, 1, 18, 0, 0, 0, 43862.75},
        {1899, 12, 29, 6, 0, 0, 0, -1.25},   // before day 0 the time is subtracted
        {1, 1, 1, 0, 0, 0, 0, -693593.0},
        {9999, 12, 31, 0, 0, 0, 0, 2958465.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(EncodeDateTime(c.y, c.m, c.d, c.h, c.n, c.s, c.ms), c.expected)
            << c.d << "." << c.m << "." << c.y;
    EXPECT_NEAR(EncodeDateTime(2020, 2, 1, 10, 5), 43862.0 + 605.0 / 1440.0, 1e-12);
}

TEST(Dates, EncodeRefusesImpossibleDates)
{
    struct Case {
        int y, m, d, h, n, s, ms;
    };
    const std::vector<Case> bad = {
        {2021, 2, 29, 0, 0, 0, 0}, {1900, 2, 29, 0, 0, 0, 0}, {2020, 2, 30, 0, 0, 0, 0},
        {2020, 4, 31, 0, 0, 0, 0}, {2020, 13, 1, 0, 0, 0, 0}, {2020, 0, 1, 0, 0, 0, 0},
        {2020, 1, 0, 0, 0, 0, 0}, {0, 1, 1, 0, 0, 0, 0}, {10000, 1, 1, 0, 0, 0, 0},
        {2020, 1, 1, 24, 0, 0, 0}, {2020, 1, 1, 0, 60, 0, 0}, {2020, 1, 1, 0, 0, 60, 0},
        {2020, 1, 1, 0, 0, 0, 1000}, {2020, 1, 1, -1, 0, 0, 0},
    };
    for (const Case& c : bad) {
        EXPECT_FALSE(IsValidDateTime(c.y, c.m, c.d, c.h, c.n, c.s, c.ms)) << c.d << "." << c.m << "." << c.y;
        EXPECT_THROW(EncodeDateTime(c.y, c.m, c.d, c.h, c.n, c.s, c.ms), kv::Error);
    }
    for (int y : {2000, 2020, 2024, 1600}) EXPECT_TRUE(IsValidDateTime(y, 2, 29)) << y;

    try {
        EncodeDateTime(2021, 2, 29, 7, 5, 3);
        ADD_FAILURE() << "29.02.2021 accepted";
    } catch (const kv::Error& e) {
        EXPECT_EQ(std::string(e.what()), "Некорректная дата: \"29.02.2021 07:05:03\"!");
    }
}

TEST(Dates, DecodeRoundsToTheMillisecond)
{
    struct Case {
        double t;
        TDateTimeParts parts;
    };
    const double noon5 = 43862.0 + 725.0 / 1440.0;   // 01.02.2020 12:05
    const std::vector<Case> cases = {
        {0.0, {1899, 12, 30, 0, 0, 0, 0}},
        {43862.5, {2020, 2, 1, 12, 0, 0, 0}},
        {noon5, {2020, 2, 1, 12, 5, 0, 0}},
        {noon5 - 1e-10, {2020, 2, 1, 12, 5, 0, 0}},
        {noon5 + 1e-10, {2020, 2, 1, 12, 5, 0, 0}},
        {43862.0 + 1.0 / 86400000.0, {2020, 2, 1, 0, 0, 0, 1}},
        {0.99999999999, {1899, 12, 31, 0, 0, 0, 0}},   // rounds up into the next day
        {-1.25, {1899, 12, 29, 6, 0, 0, 0}},
        {-0.5, {1899, 12, 30, 12, 0, 0, 0}},
        {2958465.0, {9999, 12, 31, 0, 0, 0, 0}},
        {std::numeric_limits<double>::quiet_NaN(), {1899, 12, 30, 0, 0, 0, 0}},
        {std::numeric_limits<double>::infinity(), {1899, 12, 30, 0, 0, 0, 0}},
        {1e300, {1899, 12, 30, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeDateTime(c.t), c.parts) << c.t;
}

TEST(Dates, EncodeDecodeRoundTrip)
{
    // Every minute of a few days, where an off-by-a-millisecond decode would show.
    for (const auto& [y, m, d] : std::vector<std::array<int, 3>>{{2020, 2, 1}, {1899, 12, 30}, {2100, 12, 31}}) {
        for (int minute = 0; minute < 24 * 60; ++minute) {
            const TDateTimeParts p{y, m, d, minute / 60, minute % 60, 0, 0};
            EXPECT_EQ(DecodeDateTime(EncodeDateTime(y, m, d, p.Hour, p.Minute)), p) << minute;
        }
    }
    // The first and last day of every month over the whole calendar, with a time.
    for (int y = 1; y <= 9999; y += 7) {
        for (int m = 1; m <= 12; ++m) {
            for (int d : {1, 28}) {
                const TDateTimeParts p{y, m, d, 23, 59, 59, 999};
                EXPECT_EQ(DecodeDateTime(EncodeDateTime(y, m, d, 23, 59, 59, 999)), p)
                    << d << "." << m << "." << y;
            }
        }
    }
    // Consecutive day numbers are consecutive dates.
    for (int day = -1000; day < 80000; ++day) {
        const TDateTimeParts p = DecodeDateTime(day);
        ASSERT_DOUBLE_EQ(EncodeDateTime(p.Year, p.Month, p.Day), day);
    }
}

TEST(Dates, DateTimeToDrawText)
{
    struct Case {
        double t;
        std::string text;
    };
    const std::vector<Case> cases = {
        {0.0, ""},
        {-1.0, ""},
        {-1.25, ""},
        {std::numeric_limits<double>::quiet_NaN(), ""},
        {1.0, "31.12.1899 00:00"},
        {43862.0 + 605.0 / 1440.0, "01.02.2020 10:05"},
        {43862.0 + 725.0 / 1440.0 - 1e-10, "01.02.2020 12:05"},
        {43862.0 + 725.0 / 1440.0 - 30.0 / 86400.0, "01.02.2020 12:04"},   // minutes are cut
        {36526.999, "01.01.2000 23:58"},
        {2958465.999, "31.12.9999 23:58"},
    };
    for (const Case& c : cases) EXPECT_EQ(DateTimeToDrawText(c.t), c.text) << c.t;
}

TEST(Dates, DrawTextToDateTime)
{
    struct Case {
        std::string text;
        double t;
    };
    const std::vector<Case> cases = {
        {"", 0.0},
        {"  \t ", 0.0},
        {"01.02.2020 10:05", EncodeDateTime(2020, 2, 1, 10, 5)},
        {"01.02.2020", EncodeDateTime(2020, 2, 1)},
        {"12.03.2021", EncodeDateTime(2021, 3, 12)},
        {" 12.03.2021 23:59\r\n", EncodeDateTime(2021, 3, 12, 23, 59)},
        {"12/03/2021 07-30", EncodeDateTime(2021, 3, 12, 7, 30)},   // only positions matter
        {"12.03.2021 7:30", EncodeDateTime(2021, 3, 12, 0, 0)},     // "7:" and "0" read as 0
        {"12.03.2021 10:05:59", EncodeDateTime(2021, 3, 12, 10, 5)},
        {"01.02.20", EncodeDateTime(20, 2, 1)},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(DrawTextToDateTime(c.text), c.t) << "\"" << c.text << "\"";
}

TEST(Dates, DrawTextToDateTimeRefuses)
{
    const std::vector<std::string> bad = {
        "00.02.2020", "31.04.2020", "29.02.2021", "01.13.2020", "ab.cd.efgh", "01.02.2020 25:00",
        "01.02.2020 10:60", "1.2.2020", "01.02.",
    };
    for (const std::string& text : bad) {
        try {
            DrawTextToDateTime(text);
            ADD_FAILURE() << "accepted \"" << text << "\"";
        } catch (const kv::Error& e) {
            EXPECT_EQ(std::string(e.what()), "Некорректная дата: \"" + text + "\"!");
        }
    }
    try {
        DrawTextToDateTime("  32.01.2020 \n");
        ADD_FAILURE() << "32.01.2020 accepted";
    } catch (const kv::Error& e) {
        EXPECT_EQ(std::string(e.what()), "Некорректная дата: \"32.01.2020\"!");
    }
}

TEST(Dates, DrawTextRoundTrip)
{
    for (int minute = 0; minute < 24 * 60; minute += 7) {
        const TDateTime t = EncodeDateTime(2023, 10, 29, minute / 60, minute % 60);
        const std::string text = DateTimeToDrawText(t);
        ASSERT_EQ(text.size(), 16u);
        EXPECT_DOUBLE_EQ(DrawTextToDateTime(text), t) << text;
    }
}

TEST(Dates, NowIsTheLocalClock)
{
    const TDateTime now = NowDateTime();
    // The UTC day number of the same moment; the local one differs by the zone, under a day.
    const double utc = static_cast<double>(std::time(nullptr)) / 86400.0 + 25569.0;
    EXPECT_LT(std::fabs(now - utc), 1.0);
    EXPECT_EQ(DateTimeToDrawText(now).size(), 16u);
}

} // namespace

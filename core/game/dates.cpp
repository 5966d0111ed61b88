#include "core/game/dates.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "core/game/texts.h"
#include "core/util/error.h"

namespace kv::game {

namespace {

constexpr int64_t MSecsPerDay = 86400000;
// Delphi day 0 (30.12.1899) counted from 01.01.1970.
constexpr int64_t UnixEpochDelphiDay = 25569;
// Beyond year 9999 in either direction; such values come only from damaged files.
constexpr double DecodableDays = 3.0e6;

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m)
{
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : days[m - 1];
}

// Days since 01.01.1970 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
int64_t DaysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, TDateTimeParts& p)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    p.Day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    p.Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    p.Year = static_cast<int>(yoe + era * 400 + (p.Month <= 2 ? 1 : 0));
}

void AppendPadded(std::string& out, int v, int width)
{
    const std::string digits = std::to_string(v);
    for (int i = static_cast<int>(digits.size()); i < width; ++i) out += '0';
    out += digits;
}

} // namespace

bool IsValidDateTime(int year, int month, int day, int hour, int minute, int second, int msec)
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
           minute <= 59 && second >= 0 && second <= 59 && msec >= 0 && msec <= 999;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec)
{
    if (!IsValidDateTime(year, month, day, hour, minute, second, msec)) {
        std::string t;
        AppendPadded(t, day, 2);
        t += '.';
        AppendPadded(t, month, 2);
        t += '.';
        AppendPadded(t, year, 4);
        t += ' ';
        AppendPadded(t, hour, 2);
        t += ':';
        AppendPadded(t, minute, 2);
        t += ':';
        AppendPadded(t, second, 2);
        throw Error("Некорректная дата: \"" + t + "\"!");
    }
    const auto date = static_cast<double>(DaysFromCivil(year, month, day) + UnixEpochDelphiDay);
    const double time =
        static_cast<double>(((int64_t(hour) * 60 + minute) * 60 + second) * 1000 + msec) /
        static_cast<double>(MSecsPerDay);
    return date >= 0 ? date + time : date - time;
}

TDateTimeParts DecodeDateTime(TDateTime t)
{
    TDateTimeParts p;
    if (!std::isfinite(t) || std::fabs(t) > DecodableDays) return p;
    int64_t day = static_cast<int64_t>(std::trunc(t));
    int64_t ms = std::llround(std::fabs(t - std::trunc(t)) * static_cast<double>(MSecsPerDay));
    if (ms >= MSecsPerDay) {   // 23:59:59.9996 is the next midnight
        ms -= MSecsPerDay;
        ++day;
    }
    CivilFromDays(day - UnixEpochDelphiDay, p);
    p.Hour = static_cast<int>(ms / 3600000);
    p.Minute = static_cast<int>(ms / 60000 % 60);
    p.Second = static_cast<int>(ms / 1000 % 60);
    p.MSec = static_cast<int>(ms % 1000);
    return p;
}

TDateTime NowDateTime()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t secs = system_clock::to_time_t(now);
    const auto msec = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&secs, &local);
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec,
                          static_cast<int>(msec < 0 ? msec + 1000 : msec));
}

std::string DateTimeToDrawText(TDateTime t)
{
    if (!(t > 0) || !std::isfinite(t)) return {};
    const TDateTimeParts p = DecodeDateTime(t);
    std::string r;
    r.reserve(16);
    AppendPadded(r, p.Day, 2);
    r += '.';
    AppendPadded(r, p.Month, 2);
    r += '.';
    AppendPadded(r, p.Year, 4);
    r += ' ';
    AppendPadded(r, p.Hour, 2);
    r += ':';
    AppendPadded(r, p.Minute, 2);
    return r;
}

TDateTime DrawTextToDateTime(std::string_view text)
{
    const std::string_view s = TrimText(text);
    if (s.empty()) return 0;
    // Positions of "dd.mm.yyyy hh:nn"; the pattern has no seconds.
    const int day = TextToInt(CopyChars(s, 1, 2));
    const int month = TextToInt(CopyChars(s, 4, 2));
    const int year = TextToInt(CopyChars(s, 7, 4));
    const int hour = TextToInt(CopyChars(s, 12, 2));
    const int minute = TextToInt(CopyChars(s, 15, 2));
    if (!IsValidDateTime(year, month, day, hour, minute))
        throw Error("Некорректная дата: \"" + std::string(s) + "\"!");
    return EncodeDateTime(year, month, day, hour, minute);
}

} // namespace kv::game

#pragma once
#include <string>
#include <string_view>

#include "core/game/types.h"

namespace kv::game {

struct TDateTimeParts {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int MSec = 0;
    bool operator==(const TDateTimeParts&) const = default;
};

// Years 1..9999 of the proleptic Gregorian calendar, times 00:00:00.000..23:59:59.999.
bool IsValidDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                     int msec = 0);

// Delphi day number of a date and time; fails with kv::Error on an impossible one. Before
// 30.12.1899 the time is subtracted, as Delphi stores those days (-1.25 is 29.12.1899 06:00).
TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                         int second = 0, int msec = 0);

// The inverse, rounded to the millisecond first so that 12:05 never reads as 12:04:59.999.
// Values that are not finite or lie far outside the calendar decode as 30.12.1899 00:00.
TDateTimeParts DecodeDateTime(TDateTime t);

// The local time, to the millisecond.
TDateTime NowDateTime();

// "dd.mm.yyyy hh:nn"; empty for t <= 0 (no date).
std::string DateTimeToDrawText(TDateTime t);

// The inverse by fixed positions (day 1-2, month 4-5, year 7-10, hour 12-13, minute 15-16),
// whatever the separators; missing time gives midnight, a blank text 0. Fails with kv::Error
// "Некорректная дата: "<text>"!" when the pieces make no valid date.
TDateTime DrawTextToDateTime(std::string_view text);

} // namespace kv::game

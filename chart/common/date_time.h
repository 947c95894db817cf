// Date-times as days from 30 December 1899 (the fraction is the time of day), the step table of
// date-time axes, and the small conversions around them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace chart {

using TDateTime = double;

bool IsLeapYear(int year);
// Days of the month; 0 for a month outside 1..12.
int DaysInMonth(std::uint16_t year, std::uint16_t month);
// Raises ChartException for a date that does not exist (29 February of a common year, month 13,
// years outside 1..9999).
TDateTime EncodeDate(int year, int month, int day);
// False (and nothing written) when the value is not a finite date in years 1..9999. The date
// part is the value truncated toward zero, as dates before 1899 are written.
bool TryDecodeDate(TDateTime value, int& year, int& month, int& day);
// Raises ChartException where TryDecodeDate fails.
void DecodeDate(TDateTime value, int& year, int& month, int& day);

enum TDateTimeStep {
  dtOneMicroSecond,
  dtOneMillisecond,
  dtOneSecond,
  dtFiveSeconds,
  dtTenSeconds,
  dtFifteenSeconds,
  dtThirtySeconds,
  dtOneMinute,
  dtFiveMinutes,
  dtTenMinutes,
  dtFifteenMinutes,
  dtThirtyMinutes,
  dtOneHour,
  dtTwoHours,
  dtSixHours,
  dtTwelveHours,
  dtOneDay,
  dtTwoDays,
  dtThreeDays,
  dtOneWeek,
  dtHalfMonth,
  dtOneMonth,
  dtTwoMonths,
  dtThreeMonths,
  dtFourMonths,
  dtSixMonths,
  dtOneYear,
  dtNone
};

// Step lengths in days, one per step except dtNone.
extern const std::array<double, dtNone> DateTimeStep;

// The table entry after the largest one (from dtSixMonths down) that step reaches; 365 for a
// step below one microsecond.
double NextDateTimeStep(double step);
// The first entry from dtOneYear down within one microsecond of step; dtNone when none is.
TDateTimeStep FindDateTimeStep(double step);

// The component library's picture for a C library date or time format: "%d.%m.%Y" gives
// "dd.mm.yyyy", "%I:%M %p" "hh:nn AM/PM". Letters and other bytes that a picture would read
// are quoted; conversions a picture cannot show are left out.
std::string DateTimePictureOf(std::string_view format);
// The user's short date and short time formats (LC_ALL, else LC_TIME, else LANG), as pictures;
// those of the C locale when the user's cannot be loaded.
std::string LocaleShortDateFormat();
std::string LocaleShortTimeFormat();

// The short date and time pictures of date-time labels, read from the user's locale at start.
extern std::string PlotShortDateFormat;
extern std::string PlotShortTimeFormat;
// The short date picture for steps above one day, else the short time picture.
std::string DateTimeDefaultFormat(double step);

}  // namespace chart

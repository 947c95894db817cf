// The date-time step table, calendar stepping and rounding, and date encoding.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "chart/common/chart_exception.h"
#include "chart/common/date_step.h"
#include "chart/common/date_time.h"

namespace {

using namespace chart;

TEST(DateTime, EncodeAndDecode) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
  int y = 0, m = 0, d = 0;
  DecodeDate(36526.75, y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20000101);
  DecodeDate(-1.25, y, m, d);  // the date part is truncated toward zero
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
  for (auto [yy, mm, dd] : {std::array{2001, 2, 29}, std::array{2000, 13, 1},
                            std::array{2000, 0, 1}, std::array{2000, 4, 31}, std::array{0, 1, 1},
                            std::array{10000, 1, 1}, std::array{2000, 1, 0}})
    EXPECT_THROW(EncodeDate(yy, mm, dd), ChartException) << yy << "-" << mm << "-" << dd;
  EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
  for (double bad : {std::nan(""), 1e300, -1e300, 2958466.0, -693594.0})
    EXPECT_FALSE(TryDecodeDate(bad, y, m, d)) << bad;
  EXPECT_THROW(DecodeDate(std::nan(""), y, m, d), ChartException);
}

TEST(DateTime, DaysInMonth) {
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2023, 2), 28);
  EXPECT_EQ(DaysInMonth(2023, 4), 30);
  EXPECT_EQ(DaysInMonth(2023, 12), 31);
  EXPECT_EQ(DaysInMonth(2023, 0), 0);
  EXPECT_EQ(DaysInMonth(2023, 13), 0);
  EXPECT_EQ(DaysInMonth(65535, 65535), 0);
}

TEST(DateTimeStep, TableInDays) {
  EXPECT_DOUBLE_EQ(DateTimeStep[dtOneMicroSecond] * 86400e6, 1.0);
  EXPECT_DOUBLE_EQ(DateTimeStep[dtOneMillisecond] * 86400e3, 1.0);
  EXPECT_DOUBLE_EQ(DateTimeStep[dtFifteenSeconds] * 86400, 15.0);
  EXPECT_DOUBLE_EQ(DateTimeStep[dtThirtyMinutes] * 1440, 30.0);
  EXPECT_DOUBLE_EQ(DateTimeStep[dtTwoHours] * 24, 2.0);
  EXPECT_EQ(DateTimeStep[dtSixHours], 0.25);
  EXPECT_EQ(DateTimeStep[dtOneWeek], 7.0);
  EXPECT_EQ(DateTimeStep[dtHalfMonth], 15.0);
  EXPECT_EQ(DateTimeStep[dtSixMonths], 182.0);
  EXPECT_EQ(DateTimeStep[dtOneYear], 365.0);
  EXPECT_EQ(DateTimeStep.size(), 27u);
  for (int i = 1; i < dtNone; ++i) EXPECT_LT(DateTimeStep[i - 1], DateTimeStep[i]) << i;
}

TEST(DateTimeStep, NextAndFind) {
  EXPECT_EQ(NextDateTimeStep(1), 2.0);
  EXPECT_EQ(NextDateTimeStep(365), 365.0);
  EXPECT_EQ(NextDateTimeStep(0), 365.0);
  EXPECT_EQ(NextDateTimeStep(-5), 365.0);
  EXPECT_EQ(NextDateTimeStep(182), 365.0);
  EXPECT_EQ(NextDateTimeStep(100), 120.0);
  EXPECT_EQ(NextDateTimeStep(8), 15.0);
  EXPECT_DOUBLE_EQ(NextDateTimeStep(1.0 / 86400), 5.0 / 86400);
  EXPECT_EQ(NextDateTimeStep(std::nan("")), 365.0);
  EXPECT_EQ(FindDateTimeStep(7), dtOneWeek);
  EXPECT_EQ(FindDateTimeStep(8), dtNone);
  EXPECT_EQ(FindDateTimeStep(365), dtOneYear);
  EXPECT_EQ(FindDateTimeStep(1.0 / 24), dtOneHour);
  EXPECT_EQ(FindDateTimeStep(30.0 / 86400 + 1e-12), dtThirtySeconds);
  EXPECT_EQ(FindDateTimeStep(1.0 / 86400000), dtOneMillisecond);
  EXPECT_EQ(FindDateTimeStep(0.5 / 86400e6), dtOneMicroSecond);
  EXPECT_EQ(FindDateTimeStep(0), dtNone);  // exactly one microsecond off is not less than one
  EXPECT_EQ(FindDateTimeStep(std::nan("")), dtNone);
}

TEST(DateTimeStep, DefaultFormat) {
  EXPECT_EQ(DateTimeDefaultFormat(1), PlotShortTimeFormat);
  EXPECT_EQ(DateTimeDefaultFormat(0.5), PlotShortTimeFormat);
  EXPECT_EQ(DateTimeDefaultFormat(1.0001), PlotShortDateFormat);
  EXPECT_NE(PlotShortDateFormat, PlotShortTimeFormat);
}

TEST(DateTimeFormat, PicturesOfTheCLibraryFormats) {
  const struct {
    const char* format;
    const char* picture;
  } cases[] = {
      {"%d.%m.%Y", "dd.mm.yyyy"},
      {"%r", "hh:nn:ss AM/PM"},
      {"%I:%M %p", "hh:nn AM/PM"},
      {"%-d/%-m/%Y %-H:%M", "d/m/yyyy h:nn"},
      {"%e %b %Ey, %A", "d mmm yy, dddd"},
      {"%H.%M Uhr", "hh.nn \"Uhr\""},
      {"%Y\xE5\xB9\xB4%m\xE6\x9C\x88", "yyyy\"\xE5\xB9\xB4\"mm\"\xE6\x9C\x88\""},
      {"%F %%\"%Z%", "yyyy-mm-dd %'\"'"},
  };
  for (const auto& c : cases) EXPECT_EQ(DateTimePictureOf(c.format), c.picture) << c.format;
}

// The formats follow LC_ALL as the process finds it, whatever the locale the tests run under.
TEST(DateTimeFormat, ShortFormatsComeFromTheUsersLocale) {
  // An empty LC_ALL counts as none when it is put back.
  const std::string saved = std::getenv("LC_ALL") ? std::getenv("LC_ALL") : "";
  const struct {
    const char* locale;
    const char* date;
    const char* time;
  } cases[] = {
      {"en_US.UTF-8", "mm/dd/yyyy", "hh:nn:ss AM/PM"},
      {"de_DE.UTF-8", "dd.mm.yyyy", "hh:nn:ss"},
      {"C", "mm/dd/yy", "hh:nn:ss"},
  };
  for (const auto& c : cases) {
    setenv("LC_ALL", c.locale, 1);
    EXPECT_EQ(LocaleShortDateFormat(), c.date) << c.locale;
    EXPECT_EQ(LocaleShortTimeFormat(), c.time) << c.locale;
  }
  setenv("LC_ALL", saved.c_str(), 1);
  // What labels use was read at start from the same place.
  EXPECT_EQ(PlotShortDateFormat, LocaleShortDateFormat());
  EXPECT_EQ(PlotShortTimeFormat, LocaleShortTimeFormat());
}

double Step(double from, bool up, TDateTimeStep step, bool isDateTime = true, double inc = 0) {
  PlotDateTimeIncrement(isDateTime, up, from, inc, step);
  return from;
}

TEST(DateTimeIncrement, CalendarSteps) {
  struct Case {
    int y, m, d;
    bool up;
    TDateTimeStep step;
    int ry, rm, rd;
  };
  const Case cases[] = {
      {2023, 1, 31, true, dtOneMonth, 2023, 2, 1},
      {2023, 12, 31, true, dtOneMonth, 2024, 1, 1},
      {2023, 1, 10, false, dtTwoMonths, 2022, 11, 1},
      {2023, 3, 10, false, dtTwoMonths, 2023, 1, 1},
      {2023, 2, 10, false, dtTwoMonths, 2022, 12, 1},
      {2023, 11, 5, true, dtThreeMonths, 2024, 2, 1},
      {2023, 7, 5, false, dtSixMonths, 2023, 1, 1},
      {2023, 6, 5, false, dtSixMonths, 2022, 12, 1},
      {2023, 9, 30, true, dtFourMonths, 2024, 1, 1},
      // Half months: up to the next 1st or 15th, down to the previous.
      {2023, 3, 1, true, dtHalfMonth, 2023, 3, 15},
      {2023, 3, 14, true, dtHalfMonth, 2023, 3, 15},
      {2023, 3, 15, true, dtHalfMonth, 2023, 4, 1},
      {2023, 3, 20, true, dtHalfMonth, 2023, 4, 1},
      {2023, 12, 31, true, dtHalfMonth, 2024, 1, 1},
      {2023, 3, 20, false, dtHalfMonth, 2023, 3, 15},
      {2023, 3, 15, false, dtHalfMonth, 2023, 3, 1},
      {2023, 3, 2, false, dtHalfMonth, 2023, 3, 1},
      {2023, 3, 1, false, dtHalfMonth, 2023, 2, 15},
      {2023, 1, 1, false, dtHalfMonth, 2022, 12, 15},
      // Years: the same day, 29 February to 28 February in a common year.
      {2023, 5, 17, true, dtOneYear, 2024, 5, 17},
      {2024, 2, 29, true, dtOneYear, 2025, 2, 28},
      {2024, 2, 29, false, dtOneYear, 2023, 2, 28},
      {2023, 2, 28, true, dtOneYear, 2024, 2, 28},
  };
  for (const Case& c : cases) {
    const double from = EncodeDate(c.y, c.m, c.d) + 0.75;  // the time of day is dropped
    EXPECT_EQ(Step(from, c.up, c.step), EncodeDate(c.ry, c.rm, c.rd))
        << c.y << "-" << c.m << "-" << c.d << (c.up ? " up " : " down ") << c.step;
  }
}

TEST(DateTimeIncrement, HalfMonthWalksAreMonotonic) {
  double up = EncodeDate(2023, 1, 1);
  double down = EncodeDate(2025, 1, 1);
  for (int i = 0; i < 48; ++i) {
    const double nextUp = Step(up, true, dtHalfMonth);
    const double nextDown = Step(down, false, dtHalfMonth);
    EXPECT_GT(nextUp, up);
    EXPECT_LT(nextDown, down);
    up = nextUp;
    down = nextDown;
  }
  EXPECT_EQ(up, EncodeDate(2025, 1, 1));
  EXPECT_EQ(down, EncodeDate(2023, 1, 1));
}

TEST(DateTimeIncrement, NumericSteps) {
  EXPECT_DOUBLE_EQ(Step(100.5, true, dtOneDay, true, 1), 101.5);
  EXPECT_DOUBLE_EQ(Step(100.5, false, dtOneHour, true, 1.0 / 24), 100.5 - 1.0 / 24);
  // Not a date-time axis: calendar steps are plain numbers too.
  EXPECT_DOUBLE_EQ(Step(100.5, true, dtOneMonth, false, 30), 130.5);
  EXPECT_DOUBLE_EQ(Step(7, false, dtNone, true, 2), 5);
  // A year step off the calendar's end, or a value that is no date, still moves.
  EXPECT_DOUBLE_EQ(Step(EncodeDate(9999, 6, 1), true, dtOneYear, true, 365),
                   EncodeDate(9999, 6, 1) + 365);
  EXPECT_DOUBLE_EQ(Step(EncodeDate(1, 1, 5), false, dtOneMonth, true, 30),
                   EncodeDate(1, 1, 5) - 30);
  EXPECT_DOUBLE_EQ(Step(1e300, true, dtHalfMonth, true, 15), 1e300 + 15);
  EXPECT_TRUE(std::isnan(Step(std::nan(""), true, dtOneYear, true, 365)));
}

TEST(DateTimeRound, SetsBackToTheStepStart) {
  const double d = EncodeDate(2023, 7, 20) + 0.4;
  EXPECT_EQ(PlotRoundDate(d, dtHalfMonth), EncodeDate(2023, 7, 15));
  EXPECT_EQ(PlotRoundDate(EncodeDate(2023, 7, 14) + 0.4, dtHalfMonth), EncodeDate(2023, 7, 1));
  EXPECT_EQ(PlotRoundDate(EncodeDate(2023, 7, 15), dtHalfMonth), EncodeDate(2023, 7, 15));
  EXPECT_EQ(PlotRoundDate(d, dtThreeMonths), EncodeDate(2023, 7, 1));
  EXPECT_EQ(PlotRoundDate(d, dtOneYear), EncodeDate(2023, 1, 1));
  EXPECT_EQ(PlotRoundDate(d, dtOneDay), EncodeDate(2023, 7, 20));
  // On or before 1 January 1900, and values that are no date: unchanged.
  EXPECT_EQ(PlotRoundDate(1.5, dtOneYear), 1.5);
  EXPECT_EQ(PlotRoundDate(2.0, dtOneMonth), 2.0);
  EXPECT_EQ(PlotRoundDate(2.5, dtOneMonth), 2.0);  // just after the limit: rounded
  EXPECT_EQ(PlotRoundDate(-400.25, dtOneMonth), -400.25);
  EXPECT_EQ(PlotRoundDate(1e300, dtOneMonth), 1e300);
  EXPECT_TRUE(std::isnan(PlotRoundDate(std::nan(""), dtOneMonth)));
  EXPECT_EQ(PlotRoundDate(EncodeDate(1900, 1, 2) + 0.5, dtOneYear), EncodeDate(1900, 1, 1));
}

}  // namespace

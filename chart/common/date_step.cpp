#include "chart/common/date_step.h"

#include <cmath>

namespace chart {

namespace {

int MonthsOf(TDateTimeStep step) {
  switch (step) {
    case dtOneMonth:
      return 1;
    case dtTwoMonths:
      return 2;
    case dtThreeMonths:
      return 3;
    case dtFourMonths:
      return 4;
    case dtSixMonths:
      return 6;
    default:
      return 0;
  }
}

bool ValidYear(int year) {
  return year >= 1 && year <= 9999;
}

// The calendar step, or false when the result would not be a date.
bool CalendarStep(bool up, TDateTime value, TDateTimeStep step, TDateTime& result) {
  int year = 0, month = 0, day = 0;
  if (!TryDecodeDate(value, year, month, day)) return false;
  if (step == dtHalfMonth) {
    if (up) {
      if (day < 15) {
        day = 15;
      } else {
        day = 1;
        if (++month > 12) {
          month = 1;
          ++year;
        }
      }
    } else if (day > 15) {
      day = 15;
    } else if (day > 1) {
      day = 1;
    } else {
      day = 15;
      if (--month < 1) {
        month = 12;
        --year;
      }
    }
  } else if (const int months = MonthsOf(step); months > 0) {
    day = 1;
    if (up) {
      month += months;
      if (month > 12) {
        month -= 12;
        ++year;
      }
    } else if (month <= months) {
      --year;
      month += 12 - months;
    } else {
      month -= months;
    }
  } else if (step == dtOneYear) {
    year += up ? 1 : -1;
    // 29 February has no match in a common year: the last day of February stands in.
    if (month == 2 && day == 29 && !IsLeapYear(year)) day = 28;
  } else {
    return false;
  }
  if (!ValidYear(year)) return false;
  result = EncodeDate(year, month, day);
  return true;
}

}  // namespace

void PlotDateTimeIncrement(bool isDateTime, bool up, TDateTime& value, double increment,
                           TDateTimeStep step) {
  if (isDateTime) {
    TDateTime next = 0;
    if (CalendarStep(up, value, step, next)) {
      value = next;
      return;
    }
  }
  if (up)
    value += increment;
  else
    value -= increment;
}

TDateTime PlotRoundDate(TDateTime value, TDateTimeStep step) {
  static const TDateTime first1900 = EncodeDate(1900, 1, 1);
  int year = 0, month = 0, day = 0;
  if (!(value > first1900) || !TryDecodeDate(value, year, month, day)) return value;
  switch (step) {
    case dtHalfMonth:
      day = day < 15 ? 1 : 15;
      break;
    case dtOneMonth:
    case dtTwoMonths:
    case dtThreeMonths:
    case dtFourMonths:
    case dtSixMonths:
      day = 1;
      break;
    case dtOneYear:
      day = 1;
      month = 1;
      break;
    default:
      break;
  }
  return EncodeDate(year, month, day);
}

}  // namespace chart

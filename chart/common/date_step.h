// Calendar steps and rounding of date-time axis values.
#pragma once

#include "chart/common/date_time.h"

namespace chart {

// Moves value one step up or down. On a date-time axis the calendar steps (half month, months,
// year) move to the next (previous) 1st or 15th, the 1st of the month so many months on, or the
// same day a year on (29 February becomes 28 February in a common year); the time of day is
// dropped. Other steps, values that are not date-times, and dates whose step would leave years
// 1..9999 move by the increment as a number.
void PlotDateTimeIncrement(bool isDateTime, bool up, TDateTime& value, double increment,
                           TDateTimeStep step);

// The date part of value, with the day (and month) set back to where the step starts: the 1st
// or 15th for half months, the 1st for months, 1 January for years. Values on or before
// 1 January 1900, and values that are no date, come back unchanged.
TDateTime PlotRoundDate(TDateTime value, TDateTimeStep step);

}  // namespace chart

// Date-times written by a picture, the way the component library's date formatting reads one.
#pragma once

#include <string>

#include "chart/common/date_time.h"

namespace chart {

// value written by picture: d dd ddd dddd (day, weekday names), ddddd (short date), m mm mmm mmmm
// (month, or minutes right after an hour), yy yyyy, h hh (12-hour when the picture holds an
// AM/PM, am/pm, A/P, a/p or AMPM), n nn, s ss, z zzz, t tt (short time), c (short date and,
// with a time of day, the short time); text in quotes and every other character as it is.
// English names, whatever the locale. A value that is no date of years 1..9999 gives "".
std::string DateTimeToString(const std::string& picture, TDateTime value);

}  // namespace chart

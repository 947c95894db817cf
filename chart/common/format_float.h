// Number and message formatting with the library's own separators, whatever the user's locale.
#pragma once

#include <initializer_list>
#include <string>
#include <variant>

namespace chart {

// The separators number formats use. Format strings are written with "," and "."; these are
// what those two characters print as.
struct TPlotFormatSettings {
  char ThousandSeparator = ',';
  char DecimalSeparator = '.';
};
extern TPlotFormatSettings PlotFormatSettings;

// Decimal text of the integer.
std::string PlotStr(long long value);

// Formats value by a picture such as "#,##0.###", "##0.## %" or "#.0 \"x10\" E+0":
// "0" a digit always shown, "#" a digit shown when significant, "." the decimal point, ","
// (anywhere before the point) thousands grouping, "E+0"/"E-0" an exponent, quoted text and other
// characters as they are; up to three sections "positive;negative;zero". Rounds the shortest
// decimal form of the value half away from zero, so 12.345 at two places is 12.35.
std::string FormatFloat(const std::string& format, double value);

// A %s or %d argument of Format.
using FormatArg = std::variant<long long, std::string>;

// Fills "%s" and "%d" with the arguments in order; "%%" is a percent sign. A missing argument
// leaves its directive as written.
std::string Format(const std::string& format, std::initializer_list<FormatArg> args);

}  // namespace chart

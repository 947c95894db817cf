// Number and message formatting with the library's own separators, whatever the user's locale.
#pragma once

#include <initializer_list>
#include <string>
#include <type_traits>
#include <utility>
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

// The decimal places FormatFloat writes value with at most, or -1 when its section writes an
// exponent.
int FormatFloatDecimals(const std::string& format, double value);

// A %s or %d argument of Format: any integer or text.
class FormatArg {
 public:
  template <class T>
  requires std::is_integral_v<T> FormatArg(T value) : value_(static_cast<long long>(value)) {}
  FormatArg(const char* text) : value_(std::string(text ? text : "")) {}
  FormatArg(std::string text) : value_(std::move(text)) {}
  // The argument as it is written into the text.
  std::string Text() const;

 private:
  std::variant<long long, std::string> value_;
};

// Fills "%s" and "%d" with the arguments in order; "%%" is a percent sign. A missing argument
// leaves its directive as written.
std::string Format(const std::string& format, std::initializer_list<FormatArg> args);

}  // namespace chart

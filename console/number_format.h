// Number texts for the display: the component library's fixed-notation formatting, into a
// string of whatever length the value needs.
#pragma once

#include <string>

#include "platform/vcl/exception.h"

namespace console {

// The conversion error of a text that is not a number.
class EConvertError : public platform::Exception {
 public:
  using platform::Exception::Exception;
};

// A decimal integer text (see ParseDecimal) as an int; EConvertError otherwise.
int StrToInt(const std::string& text);

// Fixed notation with `digits` decimals after rounding to `precision` significant digits;
// values with more than `precision` integer digits come out in scientific notation.
// NaN and infinities give "NAN", "INF" and "-INF".
std::string FloatToStrF(double value, int precision, int digits);

// Decimal integer text: an optional '-' and at least one digit, nothing else (the form of
// every list item that goes into a command sentence). Sets *out when the value fits an int.
bool ParseDecimal(const std::string& text, int* out);

}  // namespace console

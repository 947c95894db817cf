#include "console/number_format.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace console {

std::string FloatToStrF(double value, int precision, int digits) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (precision < 1) precision = 1;
  if (precision > 18) precision = 18;
  if (digits < 0) digits = 0;
  if (digits > 18) digits = 18;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", precision - 1, value);
  double rounded = std::strtod(buf, nullptr);
  int exponent = rounded == 0 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(rounded))));
  if (exponent >= precision) {
    std::snprintf(buf, sizeof buf, "%.*E", precision - 1, rounded);
    return buf;
  }
  std::snprintf(buf, sizeof buf, "%.*f", digits, rounded);
  std::string s = buf;
  // A value that rounds to zero shows without a sign.
  if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

bool ParseDecimal(const std::string& text, int* out) {
  std::size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
  if (i == text.size()) return false;
  for (std::size_t k = i; k < text.size(); ++k)
    if (text[k] < '0' || text[k] > '9') return false;
  errno = 0;
  long v = std::strtol(text.c_str(), nullptr, 10);
  if (errno == ERANGE || v > INT_MAX || v < INT_MIN) return false;
  if (out) *out = static_cast<int>(v);
  return true;
}

int StrToInt(const std::string& text) {
  int v = 0;
  if (!ParseDecimal(text, &v)) throw EConvertError("'" + text + "' is not a valid integer value");
  return v;
}

}  // namespace console

#include "console/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace console {

// std::to_chars: the user's locale must not turn the decimal point into a comma.
std::string FloatToStrF(double value, int precision, int digits) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (precision < 1) precision = 1;
  if (precision > 18) precision = 18;
  if (digits < 0) digits = 0;
  if (digits > 18) digits = 18;
  char buf[64];
  char* end =
      std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, precision - 1).ptr;
  double rounded = 0;
  // Rounding next to the largest double can leave its range: that is an infinity.
  if (std::from_chars(buf, end, rounded).ec != std::errc()) return value > 0 ? "INF" : "-INF";
  // The rounded value's decimal exponent, as the scientific text already shows it.
  const char* e = std::find(buf, end, 'e');
  int exponent = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);
  if (exponent >= precision) {
    end =
        std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::scientific, precision - 1)
            .ptr;
    std::string s(buf, end);
    for (char& c : s)
      if (c == 'e') c = 'E';
    return s;
  }
  end = std::to_chars(buf, buf + sizeof buf, rounded, std::chars_format::fixed, digits).ptr;
  std::string s(buf, end);
  // A value that rounds to zero shows without a sign.
  if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

bool ParseDecimal(const std::string& text, int* out) {
  std::size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
  if (i == text.size()) return false;
  for (std::size_t k = i; k < text.size(); ++k)
    if (text[k] < '0' || text[k] > '9') return false;
  int v = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, v);
  if (ec != std::errc() || ptr != end) return false;
  if (out) *out = v;
  return true;
}

int StrToInt(const std::string& text) {
  int v = 0;
  if (!ParseDecimal(text, &v)) throw EConvertError("'" + text + "' is not a valid integer value");
  return v;
}

}  // namespace console

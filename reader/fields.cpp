#include "reader/fields.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>
#include <system_error>

#include "reader/nmea_checksum.h"

namespace reader {

bool ChecksumOk(const char* text, std::size_t length) {
  if (!text || length < 5) return false;
  // The first '*' that leaves two characters after it; index 1 is data even when it is a '*'.
  const void* found = std::memchr(text + 2, '*', length - 4);
  if (!found) return false;
  const auto star = static_cast<std::size_t>(static_cast<const char*>(found) - text);
  const unsigned x = NmeaChecksum(std::string_view(text + 1, star - 1));
  const auto* t = reinterpret_cast<const unsigned char*>(text);
  auto digit = [](unsigned char c) { return c >= 'A' ? int(c) - 55 : int(c) - 48; };
  // Truncating remainder: digits below '0' give a negative value that never matches.
  int value = (digit(t[star + 1]) * 16 + digit(t[star + 2])) % 256;
  return value == int(x);
}

namespace {
std::size_t FieldLength(const char* src) {
  std::size_t n = 0;
  while (src[n] && src[n] != ',' && src[n] != '*') ++n;
  return n;
}
}  // namespace

bool GetField(const char* src, char* dst, std::size_t cap) {
  if (!src) return false;
  if (cap == 0) return false;
  std::size_t n = FieldLength(src);
  // Neither ',' nor '*' ends the field: the sentence is cut short.
  if (src[n] == '\0' || n == 0 || n >= cap) {
    dst[0] = '\0';
    return false;
  }
  std::memcpy(dst, src, n);
  dst[n] = '\0';
  return true;
}

bool FieldWalker::Next() {
  // The field's own characters hold no ',', '*' or NUL: the walk may start at its end.
  const char* s = end_ ? end_ : (cur_ ? cur_ : line_);
  end_ = nullptr;
  for (; *s && *s != '*'; ++s) {
    if (*s == ',') {
      cur_ = s + 1;
      return true;
    }
  }
  return false;
}

std::size_t FieldWalker::Length() const {
  if (!cur_) return 0;
  std::size_t n = FieldLength(cur_);
  end_ = cur_ + n;
  return n;
}

FieldRead FieldWalker::Read(char* dst, std::size_t cap) const {
  if (cap == 0) return FieldRead::Bad;
  dst[0] = '\0';
  if (!cur_) return FieldRead::Empty;
  // Measures and copies in one pass; a field too long for dst is measured to its end.
  std::size_t n = 0;
  for (char c; (c = cur_[n]) && c != ',' && c != '*'; ++n)
    if (n + 1 < cap) dst[n] = c;
  end_ = cur_ + n;
  if (n == 0) return FieldRead::Empty;
  if (n >= cap) {
    dst[0] = '\0';
    return FieldRead::Bad;
  }
  dst[n] = '\0';
  return FieldRead::Ok;
}

namespace {

// The white space the C library's number readers skip in the "C" locale.
bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
  return IsDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f');
}

// Decimal exponent of the leading digit of a decimal real at p (its sign already read) plus its
// written exponent: above 0 for a value of 1 or more. Only used to tell an overflow from an
// underflow, which lie hundreds of decades apart.
std::int64_t DecimalMagnitude(const char* p) {
  std::int64_t mag = 0;
  while (*p == '0') ++p;
  for (; IsDigit(*p); ++p) ++mag;
  if (*p == '.') {
    ++p;
    if (mag == 0)
      for (; *p == '0'; ++p) --mag;
    while (IsDigit(*p)) ++p;
  }
  if ((*p | 0x20) == 'e') {
    const char* e = p + 1;
    bool negative = *e == '-';
    if (*e == '-' || *e == '+') ++e;
    std::int64_t exp = 0;
    for (; IsDigit(*e); ++e)
      if (exp < 1'000'000'000) exp = exp * 10 + (*e - '0');
    mag += negative ? -exp : exp;
  }
  return mag;
}

}  // namespace

std::int32_t ParseLong(const char* text) {
  // Most fields are a few plain digits: up to nine cannot overflow.
  if (IsDigit(text[0])) {
    std::int32_t quick = text[0] - '0';
    const char* q = text + 1;
    for (int i = 1; i < 9 && IsDigit(*q); ++i, ++q) quick = quick * 10 + (*q - '0');
    if (!IsDigit(*q)) return quick;
  }
  const char* p = text;
  while (IsSpace(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  constexpr std::int64_t kLimit = std::int64_t{INT32_MAX} + 1;
  std::int64_t v = 0;
  for (; IsDigit(*p); ++p) {
    v = v * 10 + (*p - '0');
    if (v > kLimit) v = kLimit;
  }
  if (negative) v = -v;
  if (v > INT32_MAX) return INT32_MAX;
  return static_cast<std::int32_t>(v);
}

namespace {

// Plain decimals of up to 15 significant digits and 22 decimals, the receiver's usual form:
// digits and scale are both exact doubles, so the one division rounds correctly, as the full
// reader would. False for anything else (exponent, hexadecimal, inf, nan, more digits).
bool QuickDecimal(const char* p, double& out) {
  std::uint64_t digits = 0;
  int count = 0, decimals = 0;
  bool any = false;
  for (; IsDigit(*p); ++p, any = true)
    if (count > 0 || *p != '0') digits = digits * 10 + static_cast<unsigned>(*p - '0'), ++count;
  if (*p == '.') {
    for (++p; IsDigit(*p); ++p, any = true, ++decimals)
      if (count > 0 || *p != '0') digits = digits * 10 + static_cast<unsigned>(*p - '0'), ++count;
  }
  if (!any || count > 15 || decimals > 22 || (*p | 0x20) == 'e' || (*p | 0x20) == 'x') return false;
  static constexpr double kTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                    1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  out = static_cast<double>(digits) / kTen[decimals];
  return true;
}

}  // namespace

double ParseReal(const char* text) {
  const char* p = text;
  while (IsSpace(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (double quick; QuickDecimal(p, quick)) return negative ? -quick : quick;
  // A second sign is no number; from_chars would take it.
  if (*p == '-' || *p == '+') return 0.0;
  const char* end = p + std::strlen(p);
  double v = 0.0;
  std::from_chars_result r;
  if (p[0] == '0' && (p[1] | 0x20) == 'x') {
    // "0x" without a hexadecimal digit after it reads as the 0 before the 'x'.
    const char* h = p + 2;
    if (!IsHexDigit(h[0]) && !(h[0] == '.' && IsHexDigit(h[1]))) return negative ? -0.0 : 0.0;
    // The exponent counts only when digits follow its sign; from_chars is lenient there.
    const char* m = h;
    while (IsHexDigit(*m)) ++m;
    if (*m == '.') {
      ++m;
      while (IsHexDigit(*m)) ++m;
    }
    if ((*m | 0x20) != 'p') {
      end = m;
    } else {
      const char* digit = m + 1 + (m[1] == '-' || m[1] == '+');
      if (!IsDigit(*digit)) end = m;
    }
    r = std::from_chars(h, end, v, std::chars_format::hex);
    if (r.ec == std::errc::result_out_of_range) {
      // Hexadecimal input is rare enough to settle the direction by the written exponent.
      const char* e = std::strpbrk(p, "pP");
      v = e && e[1] == '-' ? 0.0 : HUGE_VAL;
    }
  } else {
    r = std::from_chars(p, end, v);
    if (r.ec == std::errc::invalid_argument) return 0.0;
    if (r.ec == std::errc::result_out_of_range) v = DecimalMagnitude(p) > 0 ? HUGE_VAL : 0.0;
  }
  return negative ? -v : v;
}

float ToFloat(double v) {
  if (std::isnan(v)) return std::numeric_limits<float>::quiet_NaN();
  if (v > FLT_MAX) return std::numeric_limits<float>::infinity();
  if (v < -FLT_MAX) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(v);
}

}  // namespace reader

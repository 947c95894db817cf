#include "reader/fields.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace reader {

bool ChecksumOk(const char* text, std::size_t length) {
  if (!text || length < 5) return false;
  const auto* t = reinterpret_cast<const unsigned char*>(text);
  unsigned x = t[1];
  std::size_t i = 2;
  bool star = false;
  for (; i < length - 2; ++i) {
    if (t[i] == '*') {
      star = true;
      break;
    }
    x ^= t[i];
  }
  if (!star) return false;
  auto digit = [](unsigned char c) { return c >= 'A' ? int(c) - 55 : int(c) - 48; };
  // Truncating remainder: digits below '0' give a negative value that never matches.
  int value = (digit(t[i + 1]) * 16 + digit(t[i + 2])) % 256;
  return value == int(x & 0xFF);
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
  const char* s = cur_ ? cur_ : line_;
  for (; *s && *s != '*'; ++s) {
    if (*s == ',') {
      cur_ = s + 1;
      return true;
    }
  }
  return false;
}

std::size_t FieldWalker::Length() const {
  return cur_ ? FieldLength(cur_) : 0;
}

FieldRead FieldWalker::Read(char* dst, std::size_t cap) const {
  if (cap == 0) return FieldRead::Bad;
  dst[0] = '\0';
  if (!cur_) return FieldRead::Empty;
  std::size_t n = FieldLength(cur_);
  if (n == 0) return FieldRead::Empty;
  if (n >= cap) return FieldRead::Bad;
  std::memcpy(dst, cur_, n);
  dst[n] = '\0';
  return FieldRead::Ok;
}

std::int32_t ParseLong(const char* text) {
  errno = 0;
  long v = std::strtol(text, nullptr, 10);
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

double ParseReal(const char* text) {
  return std::strtod(text, nullptr);
}

float ToFloat(double v) {
  if (std::isnan(v)) return std::numeric_limits<float>::quiet_NaN();
  if (v > FLT_MAX) return std::numeric_limits<float>::infinity();
  if (v < -FLT_MAX) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(v);
}

}  // namespace reader

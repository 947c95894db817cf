// Builds test sentences with a correct checksum.
#pragma once

#include <cstdio>
#include <string>

namespace testutil {

inline std::string Hex2(unsigned v) {
  char b[3];
  std::snprintf(b, sizeof b, "%02X", v & 0xFF);
  return b;
}

inline unsigned Xor(const std::string& body) {
  unsigned x = 0;
  for (std::size_t i = 1; i < body.size(); ++i) x ^= static_cast<unsigned char>(body[i]);
  return x;
}

// "$GPGGA,..." -> "$GPGGA,...*hh"
inline std::string Nmea(const std::string& body) {
  return body + "*" + Hex2(Xor(body));
}
// The same with CR LF.
inline std::string Line(const std::string& body) {
  return Nmea(body) + "\r\n";
}

}  // namespace testutil

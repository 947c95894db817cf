// Builds test sentences with a correct checksum.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "reader/nmea_checksum.h"

namespace testutil {

inline std::string Hex2(unsigned v) {
  char b[3];
  std::snprintf(b, sizeof b, "%02X", v & 0xFF);
  return b;
}

// The checksum of "$..." (body with its '$').
inline unsigned Xor(const std::string& body) {
  return reader::NmeaChecksum(std::string_view(body).substr(1));
}

// "$GPGGA,..." -> "$GPGGA,...*hh"
inline std::string Nmea(const std::string& body) {
  return body + "*" + reader::NmeaChecksumHex(std::string_view(body).substr(1));
}
// The same with CR LF.
inline std::string Line(const std::string& body) {
  return Nmea(body) + "\r\n";
}

}  // namespace testutil

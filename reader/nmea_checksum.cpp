#include "reader/nmea_checksum.h"

#include <cstring>

namespace reader {

std::uint8_t NmeaChecksum(std::string_view body) {
  // Eight characters at a time, folded at the end: XOR does not care about order.
  const char* p = body.data();
  std::size_t n = body.size();
  std::uint64_t wide = 0;
  for (; n >= 8; p += 8, n -= 8) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    wide ^= w;
  }
  std::uint8_t x = 0;
  for (; n > 0; ++p, --n) x ^= static_cast<std::uint8_t>(*p);
  for (int shift = 0; shift < 64; shift += 8) x ^= static_cast<std::uint8_t>(wide >> shift);
  return x;
}

std::string NmeaChecksumHex(std::string_view body) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const std::uint8_t x = NmeaChecksum(body);
  return {kDigits[x >> 4], kDigits[x & 0x0F]};
}

}  // namespace reader

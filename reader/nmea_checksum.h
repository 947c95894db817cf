// The NMEA checksum: the XOR of every character between "$" and "*". One definition for the
// reader, the console's command sentences, the simulated receiver and the tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace reader {

// XOR of every character of body, which is the text between "$" and "*" (neither included).
std::uint8_t NmeaChecksum(std::string_view body);

// The checksum of body as the two upper-case hexadecimal digits sent after "*".
std::string NmeaChecksumHex(std::string_view body);

}  // namespace reader

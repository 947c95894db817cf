#include "console/sentences.h"

#include <string_view>

#include "reader/nmea_checksum.h"

namespace console {

std::string ComputeChecksumHex(const std::string& body) {
  return reader::NmeaChecksumHex(body.empty() ? std::string_view()
                                              : std::string_view(body).substr(1));
}

std::optional<std::string> BuildSentence(const std::string& body, std::size_t maxLength) {
  std::string s = body + "*" + ComputeChecksumHex(body) + "\r\n";
  if (s.size() > maxLength) return std::nullopt;
  return s;
}

}  // namespace console

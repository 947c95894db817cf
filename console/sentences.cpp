#include "console/sentences.h"

#include <cstdint>
#include <cstdio>

namespace console {

std::string ComputeChecksumHex(const std::string& body) {
  std::uint8_t x = body.size() > 1 ? static_cast<std::uint8_t>(body[1]) : 0;
  for (std::size_t i = 2; i < body.size(); ++i) x ^= static_cast<std::uint8_t>(body[i]);
  char hex[3];
  std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(x));
  return hex;
}

std::optional<std::string> BuildSentence(const std::string& body, std::size_t maxLength) {
  std::string s = body + "*" + ComputeChecksumHex(body) + "\r\n";
  if (s.size() > maxLength) return std::nullopt;
  return s;
}

}  // namespace console

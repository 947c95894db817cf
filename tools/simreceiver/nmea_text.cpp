#include "tools/simreceiver/nmea_text.h"

#include <charconv>

#include "reader/nmea_checksum.h"

namespace sim {

std::string HexByte(uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string MakeSentence(std::string_view body) {
  std::string out;
  out.reserve(body.size() + 6);
  out += '$';
  out += body;
  out += '*';
  out += reader::NmeaChecksumHex(body);
  out += "\r\n";
  return out;
}

bool ChecksumValid(std::string_view line) {
  if (line.size() >= 2 && line.substr(line.size() - 2) == "\r\n") line.remove_suffix(2);
  if (line.size() < 4 || line[0] != '$') return false;
  const size_t star = line.find('*');
  if (star == std::string_view::npos || star + 3 != line.size()) return false;
  const std::string want = reader::NmeaChecksumHex(line.substr(1, star - 1));
  return line.substr(star + 1) == want;
}

std::optional<std::vector<std::string>> SplitSentence(std::string_view line) {
  if (line.empty() || line[0] != '$') return std::nullopt;
  const size_t star = line.find('*');
  if (star == std::string_view::npos) return std::nullopt;
  std::vector<std::string> fields;
  std::string_view body = line.substr(1, star - 1);
  size_t start = 0;
  while (true) {
    const size_t comma = body.find(',', start);
    if (comma == std::string_view::npos) {
      fields.emplace_back(body.substr(start));
      break;
    }
    fields.emplace_back(body.substr(start, comma - start));
    start = comma + 1;
  }
  return fields;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes.substr(start));
      break;
    }
    lines.emplace_back(bytes.substr(start, end + 2 - start));
    start = end + 2;
  }
  return lines;
}

std::optional<long> ParseInt(std::string_view text) {
  if (text.empty()) return std::nullopt;
  if (text[0] == '+') text.remove_prefix(1);
  long value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

}  // namespace sim

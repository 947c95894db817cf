// Helpers for the simulated receiver's tests. The checksum is the project's one; its own test
// holds it to published sentences.
#pragma once

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "reader/nmea_checksum.h"

namespace simtest {

inline std::string Checksum(const std::string& body) {
  return reader::NmeaChecksumHex(body);
}

// "$" + body + "*HH\r\n".
inline std::string Sentence(const std::string& body) {
  return "$" + body + "*" + Checksum(body) + "\r\n";
}

// A line "$...*HH\r\n" whose upper-case checksum matches.
inline bool ValidLine(const std::string& line) {
  if (line.size() < 8 || line[0] != '$' || line.compare(line.size() - 2, 2, "\r\n") != 0) {
    return false;
  }
  const size_t star = line.find('*');
  if (star == std::string::npos || star + 5 != line.size()) return false;
  return line.substr(star + 1, 2) == Checksum(line.substr(1, star - 1));
}

// Lines ending in "\r\n" (kept); a tail without one is kept as the last element.
inline std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      out.push_back(bytes.substr(start));
      break;
    }
    out.push_back(bytes.substr(start, end + 2 - start));
    start = end + 2;
  }
  return out;
}

// Fields of "$TAG,a,b*HH\r\n": [TAG, a, b].
inline std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> out;
  const size_t star = line.find('*');
  const std::string body = line.substr(1, star == std::string::npos ? std::string::npos : star - 1);
  size_t start = 0;
  while (true) {
    const size_t comma = body.find(',', start);
    out.push_back(
        body.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return out;
}

inline std::string Tag(const std::string& line) {
  return Fields(line)[0];
}

// ddmm.mmmm / dddmm.mmmm with its hemisphere, as signed degrees.
inline double DegreesOf(const std::string& field, const std::string& hemisphere) {
  const size_t dot = field.find('.');
  if (dot == std::string::npos || dot < 2) return NAN;
  const double deg = std::atof(field.substr(0, dot - 2).c_str());
  const double min = std::atof(field.substr(dot - 2).c_str());
  const double v = deg + min / 60.0;
  return (hemisphere == "S" || hemisphere == "W") ? -v : v;
}

// Reads from `fd` until `done(bytes)` holds or `timeout` passes.
inline std::string ReadUntil(int fd, const std::function<bool(const std::string&)>& done,
                             std::chrono::milliseconds timeout) {
  std::string got;
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done(got)) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char buf[4096];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) break;
    got.append(buf, static_cast<size_t>(n));
  }
  return got;
}

inline bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

}  // namespace simtest

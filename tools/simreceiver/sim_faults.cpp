#include "tools/simreceiver/sim_faults.h"

#include <algorithm>
#include <cctype>

#include "reader/nmea_checksum.h"
#include "tools/simreceiver/nmea_text.h"

namespace sim {
namespace {

constexpr std::array<std::string_view, kFaultCount> kNames = {
    "bad-checksum", "split-write", "other-talkers",       "nul-bytes",
    "long-field",   "garbage",     "lower-case-checksum",
};

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// Position of the two checksum digits of "$...*HH\r\n", or npos.
size_t DigitsAt(const std::string& sentence) {
  const size_t star = sentence.find('*');
  if (star == std::string::npos || star + 3 > sentence.size()) return std::string::npos;
  return star + 1;
}

void CorruptChecksum(std::string& sentence) {
  const size_t at = DigitsAt(sentence);
  if (at == std::string::npos) return;
  const uint8_t good = reader::NmeaChecksum(std::string_view(sentence).substr(1, at - 2));
  sentence.replace(at, 2, HexByte(good ^ 0x01));
}

std::string WithLongField(const std::string& sentence) {
  auto fields = SplitSentence(sentence);
  if (!fields || fields->size() < 2) return sentence;
  (*fields)[1] = "1234567890123456789012345678901234567890";
  std::string body;
  for (size_t i = 0; i < fields->size(); ++i) {
    if (i > 0) body += ',';
    body += (*fields)[i];
  }
  return MakeSentence(body);
}

void InsertAfterLast(std::vector<std::string>& list, std::string_view prefix, std::string item) {
  auto it = std::find_if(list.rbegin(), list.rend(),
                         [&](const std::string& s) { return StartsWith(s, prefix); });
  list.insert(it == list.rend() ? list.end() : it.base(), std::move(item));
}

}  // namespace

std::string_view FaultName(Fault f) {
  return kNames[static_cast<size_t>(f)];
}

std::optional<Fault> FaultFromName(std::string_view name) {
  for (size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == name) return static_cast<Fault>(i);
  }
  return std::nullopt;
}

std::vector<std::string> FaultInjector::Apply(const std::vector<std::string>& clean) {
  std::array<bool, kFaultCount> active{};
  for (int i = 0; i < kFaultCount; ++i) active[i] = on_[i] || once_[i];
  const bool bad_once = once_[Index(Fault::kBadChecksum)] && !on_[Index(Fault::kBadChecksum)];
  once_ = {};
  auto is = [&](Fault f) { return active[Index(f)]; };

  std::vector<std::string> list = clean;
  if (is(Fault::kOtherTalkers)) {
    InsertAfterLast(list, "$GPGSV", MakeSentence("GLGSV,1,1,02,65,40,120,38,72,25,300,30"));
    InsertAfterLast(list, "$GPGSA", MakeSentence("BDGSA,A,3,201,202,205,,,,,,,,,,1.9,1.0,1.6"));
  }
  if (is(Fault::kLongField)) {
    auto it = std::find_if(list.begin(), list.end(),
                           [](const std::string& s) { return StartsWith(s, "$GP"); });
    if (it != list.end()) *it = WithLongField(*it);
  }
  if (is(Fault::kBadChecksum) && !list.empty()) {
    if (bad_once) {
      CorruptChecksum(list[Below(static_cast<uint32_t>(list.size()))]);
    } else {
      for (std::string& s : list) {
        if (++bad_counter_ % static_cast<uint64_t>(bad_every_) == 0) CorruptChecksum(s);
      }
    }
  }
  if (is(Fault::kLowerCaseChecksum)) {
    for (std::string& s : list) {
      const size_t at = DigitsAt(s);
      if (at == std::string::npos) continue;
      for (size_t i = at; i < at + 2; ++i) {
        s[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(s[i])));
      }
    }
  }
  if (list.empty()) return {};

  // Join, remembering where each sentence begins so that a split lands inside one.
  const size_t garbage_slot =
      is(Fault::kGarbage) ? Below(static_cast<uint32_t>(list.size() + 1)) : list.size() + 1;
  std::string stream;
  std::vector<std::pair<size_t, size_t>> spans;  // start, length
  for (size_t i = 0; i <= list.size(); ++i) {
    if (i == garbage_slot) {
      const uint32_t n = 8 + Below(25);
      for (uint32_t k = 0; k < n; ++k) {
        char c;
        do {
          c = static_cast<char>(1 + Below(255));
        } while (c == '$');
        stream += c;
      }
    }
    if (i < list.size()) {
      spans.emplace_back(stream.size(), list[i].size());
      stream += list[i];
    }
  }
  if (is(Fault::kNulBytes)) {
    const size_t at = Below(static_cast<uint32_t>(stream.size() + 1));
    stream.insert(stream.begin() + static_cast<std::ptrdiff_t>(at), '\0');
    for (auto& span : spans) {
      if (span.first >= at) {
        ++span.first;
      } else if (span.first + span.second > at) {
        ++span.second;
      }
    }
  }
  if (!is(Fault::kSplitWrite) || stream.size() < 2) return {stream};

  size_t cut;
  if (split_at_ >= 0) {
    cut = std::clamp<size_t>(static_cast<size_t>(split_at_), 1, stream.size() - 1);
  } else {
    const auto& span = spans[Below(static_cast<uint32_t>(spans.size()))];
    cut = span.first + 1 + Below(static_cast<uint32_t>(span.second - 1));
  }
  return {stream.substr(0, cut), stream.substr(cut)};
}

}  // namespace sim

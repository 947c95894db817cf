// The receiver's side of the "$PQVU" command set.
#include <charconv>
#include <cstdio>

#include "tools/simreceiver/nmea_text.h"
#include "tools/simreceiver/sim_receiver.h"

namespace sim {
namespace {

constexpr int kDatumCount = 223;
constexpr int kMaxRate = 255;
constexpr int kMaxFixRateHz = 10;

bool ValidBaud(long baud) {
  switch (baud) {
    case 4800:
    case 9600:
    case 14400:
    case 19200:
    case 38400:
    case 57600:
    case 115200:
      return true;
    default:
      return false;
  }
}

// Field `i` as an integer within [lo, hi]; false when absent, not a number or out of range.
bool Read(const std::vector<std::string>& f, size_t i, long lo, long hi, int& out) {
  if (i >= f.size()) return false;
  const auto v = ParseInt(f[i]);
  if (!v || *v < lo || *v > hi) return false;
  out = static_cast<int>(*v);
  return true;
}

bool ReadBaud(const std::vector<std::string>& f, size_t i, int& out) {
  int v = 0;
  if (!Read(f, i, 0, 1000000, v) || !ValidBaud(v)) return false;
  out = v;
  return true;
}

std::string Reply(int number, const std::string& fields) {
  char head[16];
  std::snprintf(head, sizeof head, "PQVU%03d", number);
  return MakeSentence(std::string(head) + (fields.empty() ? "" : "," + fields));
}

}  // namespace

std::string SimReceiver::Feed(std::string_view bytes) {
  std::string replies;
  for (const char c : bytes) {
    if (c == '\0') continue;  // the console ends some sentences with their terminating zero
    if (c == '$') {
      pending_.assign(1, c);
      in_sentence_ = true;
      continue;
    }
    if (!in_sentence_) continue;
    pending_ += c;
    if (c == '\n') {
      in_sentence_ = false;
      if (pending_.size() >= 2 && pending_[pending_.size() - 2] == '\r') {
        replies += HandleLine(std::string_view(pending_).substr(0, pending_.size() - 2));
      }
      pending_.clear();
    } else if (pending_.size() > static_cast<size_t>(kMaxCommandLength)) {
      in_sentence_ = false;
      pending_.clear();
    }
  }
  return replies;
}

std::string SimReceiver::HandleLine(std::string_view line) {
  if (!ChecksumValid(line)) return {};
  const auto fields = SplitSentence(line);
  if (!fields) return {};
  const std::string& tag = (*fields)[0];
  if (tag.size() != 7 || tag.compare(0, 4, "PQVU") != 0) return {};
  for (size_t i = 4; i < 7; ++i) {
    if (tag[i] < '0' || tag[i] > '9') return {};
  }
  const int number = (tag[4] - '0') * 100 + (tag[5] - '0') * 10 + (tag[6] - '0');
  return HandleCommand(number, std::vector<std::string>(fields->begin() + 1, fields->end()));
}

std::string SimReceiver::HandleCommand(int number, const std::vector<std::string>& args) {
  const Settings& s = settings_;
  switch (number) {
    case 400:
      return Reply(500, std::to_string(s.fix_interval_ms));
    case 401:
      return Reply(501, std::to_string(s.dgps_mode));
    case 414: {
      std::string rates;
      for (size_t i = 0; i < s.rates.size(); ++i) {
        if (i > 0) rates += ',';
        rates += std::to_string(s.rates[i]);
      }
      return Reply(514, rates);
    }
    case 419:
      return Reply(519, std::to_string(s.sbas_mode));
    case 430:
      return Reply(530, std::to_string(s.datum));
    case 456: {
      char offset[400];  // the largest double in full, with room for the decimals
      const auto r =
          std::to_chars(offset, offset + sizeof offset, tcxo_offset_, std::chars_format::fixed, 7);
      return Reply(556, std::string(HasFix() ? "1," : "0,") +
                            std::string(offset, r.ec == std::errc() ? r.ptr : offset));
    }
    case 490:
      return Reply(590, std::to_string(flash_writes_left_));
    case 602:
      return Reply(702, std::to_string(s.rtcm_a) + "," + std::to_string(s.rtcm_b) + "," +
                            std::to_string(s.rtcm_baud));
    case 605:
      return Reply(705, firmware_.version + "," + firmware_.customer + "," + firmware_.model + "," +
                            firmware_.sdk);
    case 101:
      Restart(kHotOutageMs, false);
      return {};
    case 102:
      Restart(kWarmOutageMs, false);
      return {};
    case 103:
      Restart(kColdOutageMs, false);
      return {};
    case 104:
      Restart(kColdOutageMs, true);
      return {};
    case 160:
    case 188:
    case 220:
    case 251:
    case 301:
    case 314:
    case 319:
    case 330:
    case 390: {
      const bool ok = !fail_all_ && !fail_commands_.contains(number) && ApplySetting(number, args);
      return Reply(1, std::to_string(number) + (ok ? ",3" : ",2"));
    }
    case 250:  // these are taken without an acknowledgement
    case 313:
    case 809:
      if (!fail_all_ && !fail_commands_.contains(number)) ApplySetting(number, args);
      return {};
    default:
      return {};
  }
}

bool SimReceiver::ApplySetting(int number, const std::vector<std::string>& f) {
  Settings next = settings_;
  switch (number) {
    case 160:  // power test and wake-up carry nothing to store
    case 188:
    case 809:
      return true;
    case 220:
      if (!Read(f, 0, 1000 / kMaxFixRateHz, 1000, next.fix_interval_ms)) return false;
      break;
    case 251:
      if (!ReadBaud(f, 0, next.baud)) return false;
      break;
    case 301:
      if (!Read(f, 0, 0, 2, next.dgps_mode)) return false;
      break;
    case 313: {
      int on = 0;
      return Read(f, 0, 0, 1, on);
    }
    case 250:
      if (!Read(f, 0, 0, 9, next.rtcm_a) || !Read(f, 1, 0, 9, next.rtcm_b) ||
          !ReadBaud(f, 2, next.rtcm_baud)) {
        return false;
      }
      break;
    case 314:
      if (f.size() != kRateFieldCount) return false;
      for (size_t i = 0; i < f.size(); ++i) {
        if (!Read(f, i, 0, kMaxRate, next.rates[i])) return false;
      }
      break;
    case 319:
      if (!Read(f, 0, 0, 1, next.sbas_mode)) return false;
      break;
    case 330:
      if (!Read(f, 0, 0, kDatumCount - 1, next.datum)) return false;
      break;
    case 390: {
      // protect, fix rate (Hz), baud, GLL, RMC, VTG, GSA, GSV, GGA, ZDA, MCHN, datum, DGPS, RTCM
      // baud
      int protect = 0, hz = 0;
      static constexpr int kOrder[] = {kRateGll, kRateRmc, kRateVtg, kRateGsa,
                                       kRateGsv, kRateGga, kRateZda, kRateChn};
      if (f.size() != 14 || flash_writes_left_ <= 0 || !Read(f, 0, 0, 1, protect) ||
          !Read(f, 1, 1, kMaxFixRateHz, hz) || !ReadBaud(f, 2, next.baud) ||
          !Read(f, 11, 0, kDatumCount - 1, next.datum) || !Read(f, 12, 0, 2, next.dgps_mode) ||
          !ReadBaud(f, 13, next.rtcm_baud)) {
        return false;
      }
      for (size_t i = 0; i < 8; ++i) {
        if (!Read(f, 3 + i, 0, kMaxRate, next.rates[static_cast<size_t>(kOrder[i])])) {
          return false;
        }
      }
      next.fix_interval_ms = 1000 / hz;
      --flash_writes_left_;
      break;
    }
    default:
      return false;
  }
  settings_ = next;
  return true;
}

void SimReceiver::Restart(int outage_ms, bool factory) {
  outage_ms_ = outage_ms;
  if (factory) settings_ = Settings{};
}

}  // namespace sim

#include "tools/simreceiver/sim_receiver.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "tools/simreceiver/nmea_text.h"

namespace sim {
namespace {

constexpr int kMaxGsaPrns = 12;
constexpr int kSatsPerGsv = 4;

std::string Format(const char* fmt, auto... args) {
  char buf[128];
  const int n = std::snprintf(buf, sizeof buf, fmt, args...);
  return std::string(buf, n < 0 ? 0 : std::min<size_t>(static_cast<size_t>(n), sizeof buf - 1));
}

// Fixed notation with `decimals` digits, locale-free (never a decimal comma).
std::string Fixed(double v, int decimals) {
  char buf[400];  // the largest double in full, with room for the decimals
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string();
}

// ddmm.mmmm (latitude, 2 degree digits) or dddmm.mmmm (longitude, 3).
std::string DegreesMinutes(double degrees, int degree_digits) {
  const long long units = std::llround(std::fabs(degrees) * 60.0 * 10000.0);  // 1e-4 minute
  const long long whole = units / 600000;
  const long long minutes = units % 600000;
  return Format(degree_digits == 2 ? "%02lld%02lld.%04lld" : "%03lld%02lld.%04lld", whole,
                minutes / 10000, minutes % 10000);
}

std::string TimeField(const UtcTime& t) {
  return Format("%02d%02d%02d.%02d", t.hour, t.minute, t.second, t.millisecond / 10);
}

double Round2(double v) {
  return std::round(v * 100.0) / 100.0;
}

}  // namespace

SimReceiver::SimReceiver() {
  clock_ms_ = UtcToMillis(UtcTime{});
}

void SimReceiver::SetUtc(const UtcTime& t) {
  clock_ms_ = UtcToMillis(t);
}

void SimReceiver::SetFailCommand(int command, bool fail) {
  if (fail) {
    fail_commands_.insert(command);
  } else {
    fail_commands_.erase(command);
  }
}

void SimReceiver::OverrideSnr(int prn, int snr) {
  override_prn_ = std::max(prn, 0);
  override_snr_ = std::clamp(snr, 0, 99);
}

void SimReceiver::ApplySnrOverride(std::vector<SatelliteTruth>& sats) const {
  auto it = std::find_if(sats.begin(), sats.end(),
                         [&](const SatelliteTruth& s) { return s.prn == override_prn_; });
  SatelliteTruth s;
  if (it != sats.end()) {
    s = *it;
    sats.erase(it);
  }
  s.prn = override_prn_;
  if (!s.in_view) {
    s.elevation = 45;
    s.azimuth = 180;
    s.in_view = true;
    s.eph_level = 3;
  }
  s.snr = override_snr_;
  if (s.snr == 0) s.used = false;
  // First, so that the first satellites-in-view message carries it: a reader that has decoded
  // only part of a cycle still sees it.
  sats.insert(sats.begin(), s);
}

bool SimReceiver::Due(int rate_field) const {
  const int rate = settings_.rates[static_cast<size_t>(rate_field)];
  return rate > 0 && epoch_ % static_cast<uint64_t>(rate) == 0;
}

std::vector<std::string> SimReceiver::BuildSentences() {
  EpochTruth e;
  e.utc = MillisToUtc(clock_ms_);
  e.fix = outage_ms_ <= 0;
  e.kinematics = kin_;
  e.satellites = scenario_.Satellites(static_cast<double>(elapsed_ms_) / 1000.0, e.fix);
  if (override_prn_ > 0) ApplySnrOverride(e.satellites);
  e.channels = Scenario::Channels(e.satellites, e.fix);
  for (const SatelliteTruth& s : e.satellites) {
    if (s.in_view) e.in_view.push_back(s);
    if (s.used && static_cast<int>(e.used_prns.size()) < kMaxGsaPrns) e.used_prns.push_back(s.prn);
  }
  if (e.fix && !e.used_prns.empty()) {
    e.pdop = Round2(1.0 + 8.0 / static_cast<double>(e.used_prns.size()));
    e.hdop = Round2(e.pdop * 0.55);
    e.vdop = Round2(std::sqrt(e.pdop * e.pdop - e.hdop * e.hdop));
  }

  const Kinematics& k = e.kinematics;
  const std::string time = TimeField(e.utc);
  const std::string lat = DegreesMinutes(k.latitude, 2) + (k.latitude < 0 ? ",S" : ",N");
  const std::string lon = DegreesMinutes(k.longitude, 3) + (k.longitude < 0 ? ",W" : ",E");
  const std::string date = Format("%02d%02d%02d", e.utc.day, e.utc.month, e.utc.year % 100);
  std::vector<std::string> out;
  auto add = [&](const std::string& body) { out.push_back(MakeSentence(body)); };

  if (Due(kRateGga)) {
    if (e.fix) {
      add("GPGGA," + time + "," + lat + "," + lon + ",1," +
          Format("%02d,", static_cast<int>(e.used_prns.size())) + Fixed(e.hdop, 2) + "," +
          Fixed(k.altitude_msl, 1) + ",M," + Fixed(k.geoid_separation, 1) + ",M,,");
    } else {
      add("GPGGA," + time + ",,,,,0,00,,,M,,M,,");
    }
  }
  if (Due(kRateGll))
    add(e.fix ? "GPGLL," + lat + "," + lon + "," + time + ",A,A" : "GPGLL,,,,," + time + ",V,N");
  if (Due(kRateGsa)) {
    std::string body = e.fix ? "GPGSA,A,3" : "GPGSA,A,1";
    for (int i = 0; i < kMaxGsaPrns; ++i) {
      body += ',';
      if (i < static_cast<int>(e.used_prns.size())) body += Format("%02d", e.used_prns[i]);
    }
    body += e.fix ? "," + Fixed(e.pdop, 2) + "," + Fixed(e.hdop, 2) + "," + Fixed(e.vdop, 2)
                  : std::string(",,,");
    add(body);
  }
  if (Due(kRateGsv)) {
    const int n = static_cast<int>(e.in_view.size());
    const int total = n == 0 ? 1 : (n + kSatsPerGsv - 1) / kSatsPerGsv;
    for (int m = 0; m < total; ++m) {
      std::string body = Format("GPGSV,%d,%d,%02d", total, m + 1, n);
      for (int i = m * kSatsPerGsv; i < n && i < (m + 1) * kSatsPerGsv; ++i) {
        const SatelliteTruth& s = e.in_view[static_cast<size_t>(i)];
        body += Format(",%02d,%02d,%03d,", s.prn, s.elevation, s.azimuth);
        if (s.snr > 0) body += Format("%02d", s.snr);
      }
      add(body);
    }
  }
  if (Due(kRateRmc)) {
    add(e.fix ? "GPRMC," + time + ",A," + lat + "," + lon + "," + Fixed(k.speed_knots, 2) + "," +
                    Fixed(k.course, 2) + "," + date + ",,,A"
              : "GPRMC," + time + ",V,,,,,,," + date + ",,,N");
  }
  if (Due(kRateVtg)) {
    add(e.fix ? "GPVTG," + Fixed(k.course, 2) + ",T,,M," + Fixed(k.speed_knots, 2) + ",N," +
                    Fixed(k.speed_knots * 1.852, 2) + ",K,A"
              : std::string("GPVTG,,T,,M,,N,,K,N"));
  }
  if (Due(kRateZda)) {
    add("GPZDA," + time + Format(",%02d,%02d,%04d,00,00", e.utc.day, e.utc.month, e.utc.year));
  }
  if (Due(kRateChn)) {
    std::string chn = "PQVUCHN";
    for (const ChannelTruth& c : e.channels) chn += Format(",%02d%02d%d", c.prn, c.snr, c.state);
    add(chn);
    std::string eph = Format("PQVUEPH,%d", static_cast<int>(e.satellites.size()));
    for (const SatelliteTruth& s : e.satellites) eph += Format(",%d.%d0", s.prn, s.eph_level);
    add(eph);
  }
  e.sentences = out;
  last_ = std::move(e);
  return out;
}

std::vector<std::string> SimReceiver::CycleWrites() {
  const std::vector<std::string> sentences = BuildSentences();
  const int dt = settings_.fix_interval_ms;
  clock_ms_ += dt;
  elapsed_ms_ += dt;
  Scenario::Advance(kin_, static_cast<double>(elapsed_ms_) / 1000.0, dt / 1000.0);
  if (outage_ms_ > 0) outage_ms_ -= dt;
  ++epoch_;
  return faults_.Apply(sentences);
}

std::string SimReceiver::Cycle() {
  std::string all;
  for (const std::string& w : CycleWrites()) all += w;
  return all;
}

}  // namespace sim

#include "tools/simreceiver/sim_scenario.h"

#include <algorithm>
#include <cmath>

namespace sim {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

struct Orbit {
  int prn;
  double el0;       // mean elevation, degrees
  double el_amp;    // swing of elevation, degrees
  double el_phase;  // radians
  double az0;       // degrees
  double az_rate;   // degrees per second
};

// Eleven satellites stay above the horizon (two of them too low to be used), three stay below.
constexpr double kElevationPeriod = 6.0 * 3600.0;
constexpr std::array<Orbit, 14> kOrbits = {{
    {2, 62, 8, 0.3, 40, 0.004},
    {5, 45, 10, 1.1, 95, -0.006},
    {7, 30, 8, 2.0, 150, 0.005},
    {9, 74, 6, 0.7, 210, 0.008},
    {13, 36, 9, 4.0, 265, -0.004},
    {15, 51, 10, 5.1, 320, 0.006},
    {18, 23, 5, 3.3, 15, 0.005},
    {21, 40, 8, 1.9, 120, -0.007},
    {24, 8, 3, 0.2, 185, 0.004},
    {26, 10, 3, 2.6, 290, -0.005},
    {29, 57, 9, 4.4, 345, 0.006},
    {12, -30, 6, 1.0, 60, 0.004},
    {19, -8, 3, 3.0, 240, -0.004},
    {31, -15, 5, 5.5, 300, 0.005},
}};

constexpr int kMinUsedElevation = 15;

}  // namespace

int64_t UtcToMillis(const UtcTime& t) {
  const int64_t days = DaysFromCivil(t.year, t.month, t.day);
  return (((days * 24 + t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.millisecond;
}

UtcTime MillisToUtc(int64_t ms) {
  int64_t days = ms / 86400000;
  int64_t rest = ms % 86400000;
  if (rest < 0) {
    rest += 86400000;
    --days;
  }
  UtcTime t;
  CivilFromDays(days, t.year, t.month, t.day);
  t.hour = static_cast<int>(rest / 3600000);
  t.minute = static_cast<int>(rest / 60000 % 60);
  t.second = static_cast<int>(rest / 1000 % 60);
  t.millisecond = static_cast<int>(rest % 1000);
  return t;
}

std::vector<SatelliteTruth> Scenario::Satellites(double t, bool tracking) const {
  std::vector<SatelliteTruth> sats;
  sats.reserve(kOrbits.size());
  for (const Orbit& o : kOrbits) {
    SatelliteTruth s;
    s.prn = o.prn;
    const double el = o.el0 + o.el_amp * std::sin(2 * kPi * t / kElevationPeriod + o.el_phase);
    s.elevation = static_cast<int>(std::lround(el));
    double az = std::fmod(o.az0 + o.az_rate * t, 360.0);
    if (az < 0) az += 360.0;
    s.azimuth = static_cast<int>(std::lround(az)) % 360;
    s.in_view = s.elevation >= 0;
    if (s.in_view && tracking) {
      const double jitter = 1.5 * std::sin(t / 7.0 + o.prn);
      const double snr = 20.0 + 30.0 * std::sin(std::max(el, 0.0) * kDeg) + jitter;
      s.snr = std::clamp(static_cast<int>(std::lround(snr)), 20, 50);
      s.used = s.elevation >= kMinUsedElevation;
    }
    s.eph_level = !s.in_view ? 1 : s.elevation >= 30 ? 3 : 2;
    sats.push_back(s);
  }
  return sats;
}

std::array<ChannelTruth, Scenario::kChannels> Scenario::Channels(
    const std::vector<SatelliteTruth>& sats, bool tracking) {
  std::array<ChannelTruth, kChannels> channels{};
  for (size_t i = 0; i < sats.size() && i < channels.size(); ++i) {
    ChannelTruth& c = channels[i];
    c.prn = sats[i].prn;
    const bool locked = tracking && sats[i].in_view;
    c.snr = locked ? sats[i].snr : 0;
    c.state = locked ? 2 : 1;
  }
  return channels;
}

void Scenario::Advance(Kinematics& k, double t, double dt) {
  k.speed_knots = 3.0 + 0.5 * std::sin(t / 60.0);
  k.course = 45.0 + 20.0 * std::sin(t / 600.0);
  k.altitude_msl = 50.0 + 2.0 * std::sin(t / 120.0);
  const double nm = k.speed_knots * dt / 3600.0;  // one nautical mile is one minute of latitude
  k.latitude += nm * std::cos(k.course * kDeg) / 60.0;
  k.longitude += nm * std::sin(k.course * kDeg) / (60.0 * std::cos(k.latitude * kDeg));
}

}  // namespace sim

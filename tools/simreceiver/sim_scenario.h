// The sky and the vehicle the simulated receiver sees: deterministic functions of elapsed time.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct UtcTime {
  int year = 2024;
  int month = 3;
  int day = 15;
  int hour = 8;
  int minute = 30;
  int second = 0;
  int millisecond = 0;
  bool operator==(const UtcTime&) const = default;
};

// Milliseconds since 1970-01-01 00:00 UTC and back (proleptic Gregorian calendar).
int64_t UtcToMillis(const UtcTime& t);
UtcTime MillisToUtc(int64_t ms);

struct SatelliteTruth {
  int prn = 0;
  int elevation = 0;  // whole degrees, as sent
  int azimuth = 0;    // whole degrees 0-359, as sent
  int snr = 0;        // dB-Hz; 0 when not tracked
  bool in_view = false;
  bool used = false;
  int eph_level = 0;  // 0-3
};

struct ChannelTruth {
  int prn = 0;
  int snr = 0;
  int state = 0;  // 0 idle, 1 searching, 2 tracking
};

// Where the vehicle is; integrated step by step by the receiver model.
struct Kinematics {
  double latitude = 25.0330;    // degrees, north positive
  double longitude = 121.5654;  // degrees, east positive
  double altitude_msl = 50.0;   // metres
  double geoid_separation = 16.9;
  double speed_knots = 3.0;
  double course = 45.0;  // degrees true
};

class Scenario {
 public:
  static constexpr int kChannels = 32;

  // The constellation at `t` seconds after the scenario start, in channel order.
  // `tracking` false (no fix) leaves every satellite unused and untracked.
  std::vector<SatelliteTruth> Satellites(double t, bool tracking) const;

  // Channel table derived from Satellites(): one channel per satellite, the rest idle.
  static std::array<ChannelTruth, kChannels> Channels(const std::vector<SatelliteTruth>& sats,
                                                      bool tracking);

  // Advances `k` by `dt` seconds; speed and course drift slowly with `t`.
  static void Advance(Kinematics& k, double t, double dt);
};

}  // namespace sim

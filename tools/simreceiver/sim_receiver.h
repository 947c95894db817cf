// A simulated GPS receiver: the sentences it outputs and its answers to "$PQVU" commands.
// No I/O and no locking here; sim::Link serves one of these over a pseudo-terminal or TCP.
#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tools/simreceiver/sim_faults.h"
#include "tools/simreceiver/sim_scenario.h"

namespace sim {

// Field positions of the output-rate command and reply (19 fields).
enum RateField : int {
  kRateGll = 0,
  kRateRmc = 1,
  kRateVtg = 2,
  kRateGga = 3,
  kRateGsa = 4,
  kRateGsv = 5,
  kRateZda = 17,
  kRateChn = 18,  // channel status; the ephemeris status goes out with it
  kRateFieldCount = 19,
};

struct Settings {
  int fix_interval_ms = 1000;
  std::array<int, kRateFieldCount> rates = {1, 1, 1, 1, 1, 1, 0, 0, 0, 0,
                                            0, 0, 0, 0, 0, 0, 0, 1, 1};
  int datum = 0;
  int dgps_mode = 0;  // 0 none, 1 RTCM, 2 SBAS
  int sbas_mode = 0;  // 0 test, 1 integrity
  int baud = 38400;
  int rtcm_a = 0;  // first two fields of the RTCM setting, echoed by its query
  int rtcm_b = 0;
  int rtcm_baud = 9600;
  bool operator==(const Settings&) const = default;
};

struct Firmware {
  std::string version = "2.13.07";
  std::string customer = "KORVANE";
  std::string model = "KV-32S";
  std::string sdk = "SDK 4.1";
};

// What one fix epoch put on the wire, before any fault was applied.
struct EpochTruth {
  UtcTime utc;
  bool fix = false;
  Kinematics kinematics;
  double pdop = 0, hdop = 0, vdop = 0;     // as sent (two decimals)
  std::vector<SatelliteTruth> satellites;  // every satellite, channel order
  std::vector<SatelliteTruth> in_view;     // as listed in GSV
  std::vector<int> used_prns;              // as listed in GSA
  std::array<ChannelTruth, Scenario::kChannels> channels{};
  std::vector<std::string> sentences;  // clean, each "$...*HH\r\n"
};

class SimReceiver {
 public:
  // Restart outages in milliseconds of simulated time.
  static constexpr int kHotOutageMs = 1000;
  static constexpr int kWarmOutageMs = 3000;
  static constexpr int kColdOutageMs = 5000;
  static constexpr int kMaxCommandLength = 512;
  static constexpr int kInitialFlashWrites = 100;

  SimReceiver();

  // Simulated clock; the next Cycle() reports this time.
  void SetUtc(const UtcTime& t);
  UtcTime Utc() const { return MillisToUtc(clock_ms_); }

  // One fix epoch: every sentence whose output rate is due, faults applied, as one string.
  // Advances the clock by the fix interval (1 s at 1 Hz).
  std::string Cycle();
  // The same epoch as the writes that go on the wire (two when a write is split).
  std::vector<std::string> CycleWrites();
  const EpochTruth& LastEpoch() const { return last_; }

  // Bytes from the console, split anywhere; returns the reply bytes.
  std::string Feed(std::string_view bytes);
  // Forgets a half-received command (a new client connected).
  void ResetCommandInput() {
    pending_.clear();
    in_sentence_ = false;
  }

  // Setting commands answer "$PQVU001,n,2" and change nothing while told to fail.
  void SetFailSettings(bool fail) { fail_all_ = fail; }
  void SetFailCommand(int command, bool fail);

  const Settings& CurrentSettings() const { return settings_; }
  void SetSettings(const Settings& s) { settings_ = s; }
  const Firmware& CurrentFirmware() const { return firmware_; }
  void SetFirmware(const Firmware& f) { firmware_ = f; }
  void SetTcxoOffset(double fraction) { tcxo_offset_ = fraction; }
  int FlashWritesLeft() const { return flash_writes_left_; }
  bool HasFix() const { return outage_ms_ <= 0; }
  int FixIntervalMs() const { return settings_.fix_interval_ms; }
  // Epochs produced since construction.
  uint64_t EpochCount() const { return epoch_; }

  FaultInjector& Faults() { return faults_; }

  // The signal of one satellite as an RF generator simulating it sets it, in dB-Hz, from the
  // next epoch on: 0 is not tracked. The satellite is listed first, and added high in the sky
  // when the scenario does not have it in view. Prn 0 ends the override.
  void OverrideSnr(int prn, int snr);

 private:
  std::vector<std::string> BuildSentences();
  void ApplySnrOverride(std::vector<SatelliteTruth>& sats) const;
  std::string HandleLine(std::string_view line);
  std::string HandleCommand(int number, const std::vector<std::string>& fields);
  bool ApplySetting(int number, const std::vector<std::string>& fields);
  void Restart(int outage_ms, bool factory);
  bool Due(int rate_field) const;

  Settings settings_;
  Firmware firmware_;
  Scenario scenario_;
  Kinematics kin_;
  FaultInjector faults_;
  EpochTruth last_;
  int64_t clock_ms_ = 0;
  int64_t elapsed_ms_ = 0;
  uint64_t epoch_ = 0;
  int outage_ms_ = 0;
  double tcxo_offset_ = 0.0000012;
  int flash_writes_left_ = kInitialFlashWrites;
  bool fail_all_ = false;
  std::set<int> fail_commands_;
  std::string pending_;  // command being assembled
  bool in_sentence_ = false;
  int override_prn_ = 0;  // 0: none
  int override_snr_ = 0;
};

}  // namespace sim

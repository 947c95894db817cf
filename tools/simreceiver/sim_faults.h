// Faults the simulated receiver can put into its output stream, on demand and reproducibly.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

enum class Fault {
  kBadChecksum,        // every k-th sentence carries a wrong checksum
  kSplitWrite,         // one sentence of the cycle is cut across two writes
  kOtherTalkers,       // "$GLGSV" and "$BDGSA" sentences interleaved
  kNulBytes,           // a NUL byte somewhere in the cycle
  kLongField,          // a 40-digit field in a sentence with a valid checksum
  kGarbage,            // a run of random bytes between two sentences
  kLowerCaseChecksum,  // checksum letters in lower case
};
inline constexpr int kFaultCount = 7;

// Names used on the command line: "bad-checksum", "split-write", "other-talkers", "nul-bytes",
// "long-field", "garbage", "lower-case-checksum".
std::string_view FaultName(Fault f);
std::optional<Fault> FaultFromName(std::string_view name);

class FaultInjector {
 public:
  explicit FaultInjector(uint32_t seed = 20240315) : rng_(seed) {}

  void Set(Fault f, bool on) { on_[Index(f)] = on; }
  bool IsOn(Fault f) const { return on_[Index(f)]; }
  // Applies `f` to the next cycle only (on top of the switches).
  void Once(Fault f) { once_[Index(f)] = true; }

  void SetSeed(uint32_t seed) { rng_.seed(seed); }
  // Period of kBadChecksum while switched on; 1 corrupts every sentence.
  void SetBadChecksumEvery(int k) { bad_every_ = k < 1 ? 1 : k; }
  // Byte offset in the cycle where kSplitWrite cuts; negative picks a point inside a sentence.
  void SetSplitAt(int offset) { split_at_ = offset; }

  // Turns one cycle's clean sentences into the writes that go on the wire.
  std::vector<std::string> Apply(const std::vector<std::string>& sentences);

 private:
  static size_t Index(Fault f) { return static_cast<size_t>(f); }
  uint32_t Below(uint32_t n) { return n == 0 ? 0 : static_cast<uint32_t>(rng_() % n); }

  std::array<bool, kFaultCount> on_{};
  std::array<bool, kFaultCount> once_{};
  std::mt19937 rng_;
  int bad_every_ = 5;
  uint64_t bad_counter_ = 0;
  int split_at_ = -1;
};

}  // namespace sim

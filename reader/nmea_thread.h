// The reader thread: reads the link in chunks, logs them raw, decodes them into its own
// ReceiverState and hands each update to the window thread.
#pragma once

#include <array>
#include <atomic>
#include <mutex>

#include "platform/core/thread.h"
#include "reader/decoders.h"
#include "reader/reader_owner.h"
#include "reader/receiver_state.h"

namespace reader {

// What the sensitivity tests read of the satellite table from the window thread.
struct SatelliteSignal {
  std::int32_t Prn = 0;
  std::int32_t Snr = 0;
};
using SatelliteSnapshot = std::array<SatelliteSignal, kMaxSatellites>;

class TNMEAThread : public platform::TThread, public ReceiverState, private DecoderHooks {
 public:
  // Made with platform::NewThread<TNMEAThread>(false, owner); the owner outlives the thread.
  TNMEAThread(bool CreateSuspended, ReaderOwner& owner);

  // Fix.Dimension as of the last dispatch, for restart timing on the window thread.
  std::uint8_t FixDimension() const { return fixDimension_.load(std::memory_order_acquire); }
  // A consistent copy of Prn and Snr of the satellite table as of the last dispatch.
  SatelliteSnapshot Signals() const;

 protected:
  void Execute() override;

 private:
  int ReadChunk(char* buf, int count);
  void Publish();
  void Step(void (ReaderOwner::*step)(const ReceiverState&));

  // DecoderHooks
  bool Scanning() override;
  void ScanFound() override;
  void Acknowledged(std::int32_t command, bool ok) override;
  void Reply(ReplyStep step) override;

  ReaderOwner& owner_;
  // The port whose read failed; it is not read again.
  HANDLE lostPort_ = 0;
  std::atomic<std::uint8_t> fixDimension_{0};
  mutable std::mutex signalsMutex_;
  SatelliteSnapshot signals_{};
};

}  // namespace reader

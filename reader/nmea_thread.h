// The reader thread: reads the link in chunks, logs them raw, decodes them into its own
// ReceiverState and hands each update to the window thread.
#pragma once

#include <array>
#include <atomic>
#include <functional>
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
  // The raw step, when it is still due, for the next hand-over.
  std::function<void()> TakeRawStep();

  // DecoderHooks
  bool Scanning() override;
  void ScanFound() override;
  void Acknowledged(std::int32_t command, bool ok) override;
  void Reply(ReplyStep step) override;

  ReaderOwner& owner_;
  // The port whose read failed; it is not read again.
  HANDLE lostPort_ = 0;
  // The raw step rides with the next hand-over (a reply step's or the refresh), so that most
  // chunks cost one; it shows the text as framed, before the dispatch cut it into lines.
  bool rawDue_ = false;
  char rawText_[kBufferSize];
  std::atomic<std::uint8_t> fixDimension_{0};
  mutable std::mutex signalsMutex_;
  SatelliteSnapshot signals_{};
};

}  // namespace reader

// What the reader needs of the window that owns the link: the console members it reads and
// writes, the detection dialog's scanning flag, and the display steps it hands over.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/core/serial.h"
#include "platform/core/thread.h"
#include "reader/raw_log.h"
#include "reader/receiver_state.h"

namespace platform {
class TClientSocket;
}

namespace reader {

class ReaderOwner {
 public:
  virtual ~ReaderOwner() = default;

  // The open port, 0 when closed. Set only after a successful open.
  std::atomic<HANDLE> ComHandle{0};
  // True while the link is the client socket.
  std::atomic<bool> UseSocket{false};
  // The raw log; the reader appends every chunk while it is open.
  RawLog LogFile;
  // Cleared by each new reader's constructor (on the window thread).
  bool PowerTestAcked = false;
  // Command numbers of the last success and failure acknowledgements, 0 for none.
  std::atomic<std::int32_t> AckOkCommand{0};
  std::atomic<std::int32_t> AckFailCommand{0};

  // The client socket the reader receives from while UseSocket is set.
  virtual platform::TClientSocket* ClientSocket() = 0;
  // The detection dialog's flag: 1 while a port scan waits for a valid sentence.
  virtual std::atomic<int>& Scanning() = 0;

  // Display steps, run on the window thread while the reader waits. Each gets the state of
  // the reader that calls it; the raw step gets the text of its SentenceBuffer as framed,
  // before the dispatch cut it into lines.
  virtual void ShowRawSentences(const char* /*sentences*/) {}
  virtual void RefreshDisplay(ReceiverState&) {}  // sorts Satellites in place
  virtual void ShowFixRate(const ReceiverState&) {}
  virtual void ShowDgpsSbas(const ReceiverState&) {}
  virtual void ShowDgpsRtcm(const ReceiverState&) {}
  virtual void ShowDgpsNone(const ReceiverState&) {}
  virtual void ShowNmeaRates(const ReceiverState&) {}
  virtual void ShowSbasTest(const ReceiverState&) {}
  virtual void ShowSbasIntegrity(const ReceiverState&) {}
  virtual void ShowDatum(const ReceiverState&) {}
  virtual void ShowTcxo(const ReceiverState&) {}
  virtual void ShowFlashWritesLeft(const ReceiverState&) {}
  virtual void ShowRtcmBaud(const ReceiverState&) {}
  virtual void ShowFirmwareInfo(const ReceiverState&) {}

  // Called on the reader thread. The raw log failed to write and is closed; error is errno.
  virtual void LogWriteFailed(int /*error*/) {}
  // Called on the reader thread, once per reader and port: reading the COM port failed (the
  // line hung up or the device is gone); error is errno. The reader reads that port no more.
  virtual void PortReadFailed(HANDLE /*port*/, int /*error*/) {}

 protected:
  // Runs fn on the window thread later, unless this owner is gone by then. The reader never
  // waits for it, so fn may stop the reader.
  void PostToWindow(std::function<void()> fn) {
    platform::TThread::Queue([alive = std::weak_ptr<bool>(alive_), fn = std::move(fn)] {
      if (alive.lock()) fn();
    });
  }

 private:
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace reader

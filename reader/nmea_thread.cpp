#include "reader/nmea_thread.h"

#include <poll.h>

#include <cstring>
#include <exception>

#include "platform/core/client_socket.h"
#include "platform/core/serial.h"

namespace reader {

TNMEAThread::TNMEAThread(bool CreateSuspended, ReaderOwner& owner)
    : TThread(CreateSuspended), owner_(owner) {
  owner_.PowerTestAcked = false;
  if (HANDLE h = owner_.ComHandle.load()) PurgeComm(h, PURGE_RXCLEAR);
}

SatelliteSnapshot TNMEAThread::Signals() const {
  std::lock_guard<std::mutex> lock(signalsMutex_);
  return signals_;
}

int TNMEAThread::ReadChunk(char* buf, int count) {
  if (owner_.UseSocket.load()) {
    platform::TClientSocket* socket = owner_.ClientSocket();
    int n = socket ? socket->ReceiveBuf(buf, count) : 0;
    if (n > 0) return n;
  } else {
    DWORD got = 0;
    HANDLE h = owner_.ComHandle.load();
    if (h && h != lostPort_) {
      if (ReadFile(h, buf, static_cast<DWORD>(count), &got, nullptr)) return static_cast<int>(got);
      // A port closed by the window under the read is no loss; a hang-up or an error is.
      const DWORD code = GetLastError();
      if (code != ERROR_OPERATION_ABORTED && code != ERROR_INVALID_HANDLE && !Terminated()) {
        lostPort_ = h;
        owner_.PortReadFailed(h, platform::LastSystemError());
      }
    }
  }
  // No port, a closed one or a dead link: wait out a read time-out (or the stop request)
  // instead of spinning.
  pollfd p{StopFd(), POLLIN, 0};
  poll(&p, 1, 30);
  return 0;
}

void TNMEAThread::Publish() {
  fixDimension_.store(Fix.Dimension, std::memory_order_release);
  std::lock_guard<std::mutex> lock(signalsMutex_);
  for (int i = 0; i < kMaxSatellites; ++i) signals_[i] = {Satellites[i].Prn, Satellites[i].Snr};
}

std::function<void()> TNMEAThread::TakeRawStep() {
  if (!rawDue_) return nullptr;
  rawDue_ = false;
  return [this] { owner_.ShowRawSentences(rawText_); };
}

void TNMEAThread::Step(void (ReaderOwner::*step)(const ReceiverState&)) {
  if (Terminated()) return;
  Synchronize({TakeRawStep(), [this, step] { (owner_.*step)(*this); }});
}

void TNMEAThread::Execute() {
  NameThreadForDebugger("NMEAThread");
  char buf[128];
  while (!Terminated()) {
    try {
      platform::Sleep(0);
      int n = ReadChunk(buf, kChunkMax);
      if (n <= 0) continue;
      buf[n] = '\0';
      if (const int error = owner_.LogFile.Write(buf, static_cast<std::size_t>(n)))
        owner_.LogWriteFailed(error);
      AppendChunk(*this, buf, static_cast<std::size_t>(n), *this);
      rawDue_ = !Scanning();
      if (rawDue_) std::memcpy(rawText_, SentenceBuffer, std::strlen(SentenceBuffer) + 1);
      DispatchSentences(*this, *this);
      MarkUsedSatellites(*this);
      Publish();
      std::function<void()> refresh;
      if (!Scanning()) refresh = [this] { owner_.RefreshDisplay(*this); };
      if (!Terminated()) Synchronize({TakeRawStep(), refresh});
      rawDue_ = false;
    } catch (...) {
      // The reader outlives a bad turn: the error is shown and the next chunk is read.
      platform::ReportException(std::current_exception());
    }
  }
}

bool TNMEAThread::Scanning() {
  return owner_.Scanning().load() != 0;
}

void TNMEAThread::ScanFound() {
  // A terminated reader's find belongs to a port the scan has already left.
  if (Terminated()) return;
  int expected = 1;
  owner_.Scanning().compare_exchange_strong(expected, 0);
}

void TNMEAThread::Acknowledged(std::int32_t command, bool ok) {
  (ok ? owner_.AckOkCommand : owner_.AckFailCommand).store(command);
}

void TNMEAThread::Reply(ReplyStep step) {
  using R = ReaderOwner;
  static constexpr void (R::*steps[])(const ReceiverState&) = {
      &R::ShowFixRate,   &R::ShowDgpsSbas,        &R::ShowDgpsRtcm,      &R::ShowDgpsNone,
      &R::ShowNmeaRates, &R::ShowSbasTest,        &R::ShowSbasIntegrity, &R::ShowDatum,
      &R::ShowTcxo,      &R::ShowFlashWritesLeft, &R::ShowRtcmBaud,      &R::ShowFirmwareInfo,
  };
  Step(steps[static_cast<int>(step)]);
}

}  // namespace reader

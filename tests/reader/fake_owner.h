// A stand-in for the window that owns a reader: records the steps it is handed.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/client_socket.h"
#include "platform/core/thread.h"
#include "reader/reader_owner.h"

namespace testutil {

class FakeOwner : public reader::ReaderOwner {
 public:
  platform::TClientSocket socket;
  std::atomic<int> scanning{0};
  // Written on the window thread only.
  int rawSteps = 0;
  int refreshSteps = 0;
  int replySteps = 0;
  bool stepOffMainThread = false;
  std::string rawSeen;  // every SentenceBuffer shown
  // Steps in the window's order: "raw:" + text, "fixrate:" + the rate seen, "refresh".
  std::vector<std::string> steps;
  std::int32_t lastYear = 0;
  std::uint8_t lastFixRate = 0;
  std::function<void()> onRefresh;

  // Written on the reader thread.
  std::atomic<int> portFailures{0};
  std::atomic<HANDLE> failedPort{0};
  std::atomic<int> portError{0};
  std::atomic<int> logFailures{0};
  std::atomic<int> logError{0};

  platform::TClientSocket* ClientSocket() override { return &socket; }
  void PortReadFailed(HANDLE port, int error) override {
    failedPort = port;
    portError = error;
    ++portFailures;
  }
  void LogWriteFailed(int error) override {
    logError = error;
    ++logFailures;
  }
  std::atomic<int>& Scanning() override { return scanning; }

  void ShowRawSentences(const char* sentences) override {
    Check();
    ++rawSteps;
    rawSeen += sentences;
    steps.push_back(std::string("raw:") + sentences);
  }
  void RefreshDisplay(reader::ReceiverState& s) override {
    Check();
    ++refreshSteps;
    steps.push_back("refresh");
    lastYear = s.Fix.Year;
    if (onRefresh) onRefresh();
  }
  void ShowFixRate(const reader::ReceiverState& s) override {
    Check();
    ++replySteps;
    steps.push_back("fixrate:" + std::to_string(s.FixRateHz));
    lastFixRate = s.FixRateHz;
  }

 private:
  void Check() {
    if (!platform::IsMainThread()) stepOffMainThread = true;
  }
};

// Pumps the window thread's queue until pred holds or the time is up.
inline bool PumpUntil(const std::function<bool()>& pred, int ms = 5000) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > end) return false;
    platform::CheckSynchronize(10);
  }
  return true;
}

// Waits without pumping: steps handed to the window stay pending.
inline bool WaitFor(const std::function<bool()>& pred, int ms = 5000) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace testutil

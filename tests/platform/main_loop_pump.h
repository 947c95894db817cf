// The test's main thread plays the window thread: it pumps with CheckSynchronize.
#pragma once

#include <chrono>
#include <exception>
#include <functional>
#include <string>
#include <thread>
#include <utility>

#include "platform/core/thread.h"

namespace korvane_test {

// Pumps until pred holds or timeoutMs passes; returns pred().
inline bool PumpUntil(const std::function<bool()>& pred, int timeoutMs = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred() && std::chrono::steady_clock::now() < end) platform::CheckSynchronize(10);
  return pred();
}

// Waits without pumping.
inline bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred() && std::chrono::steady_clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  return pred();
}

inline std::string Describe(std::exception_ptr e) {
  try {
    std::rethrow_exception(e);
  } catch (const std::exception& x) {
    return x.what();
  } catch (...) {
    return "(not a std::exception)";
  }
}

inline long long MsSince(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               t0)
      .count();
}

// A thread whose Execute is a function; joined before its members go.
class FnThread : public platform::TThread {
 public:
  explicit FnThread(std::function<void(FnThread&)> body, bool suspended = false)
      : TThread(suspended), body_(std::move(body)) {}
  ~FnThread() override {
    Terminate();
    WaitFor();
  }
  using TThread::NameThreadForDebugger;

 protected:
  void Execute() override { body_(*this); }

 private:
  std::function<void(FnThread&)> body_;
};

}  // namespace korvane_test

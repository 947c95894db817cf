#include "platform/core/line_trace.h"

#include <atomic>
#include <memory>
#include <mutex>

#include "platform/core/thread.h"

namespace platform {

namespace {

using Sink = std::function<void(const LineEvent&)>;

struct Trace {
  std::mutex m;
  std::shared_ptr<const Sink> sink;
  std::atomic<bool> on{false};
};

Trace& T() {
  static Trace* t = new Trace;  // never destroyed: writes may come late at exit
  return *t;
}

}  // namespace

void SetLineTrace(std::function<void(const LineEvent&)> sink) {
  auto& t = T();
  std::lock_guard lk(t.m);
  t.sink = sink ? std::make_shared<const Sink>(std::move(sink)) : nullptr;
  t.on.store(t.sink != nullptr, std::memory_order_release);
}

void TraceLine(LineEvent::Kind kind, std::string_view bytes, std::uint32_t ms) {
  auto& t = T();
  if (!t.on.load(std::memory_order_acquire) || !IsMainThread()) return;
  LineEvent e;
  e.at = std::chrono::steady_clock::now();
  std::shared_ptr<const Sink> sink;
  {
    std::lock_guard lk(t.m);
    sink = t.sink;
  }
  if (!sink) return;
  e.kind = kind;
  e.bytes.assign(bytes);
  e.ms = ms;
  (*sink)(e);
}

}  // namespace platform

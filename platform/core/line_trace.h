// What the window thread does on its lines, in call order and timed where it happens: each port
// write and socket send with its bytes, and each Sleep. Tests check the waits between writes
// here, by the writer's clock, rather than by when a reader on the far end got to the bytes.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

struct LineEvent {
  enum Kind { kPortWrite, kSocketSend, kSleep };
  Kind kind = kSleep;
  std::string bytes;                         // writes and sends: what the call was handed
  std::uint32_t ms = 0;                      // kSleep
  std::chrono::steady_clock::time_point at;  // when the call began
};

// Hands every later event to sink (nullptr stops it). The sink runs inside the call, on the
// window thread; calls on other threads are not traced.
void SetLineTrace(std::function<void(const LineEvent&)> sink);

// Called by the layer's writes, sends and Sleep.
void TraceLine(LineEvent::Kind kind, std::string_view bytes, std::uint32_t ms = 0);

}  // namespace platform

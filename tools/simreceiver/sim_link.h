// Serves a SimReceiver over a pseudo-terminal or a TCP listener on 127.0.0.1, on its own thread,
// and records every byte in both directions for tests.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tools/simreceiver/sim_receiver.h"

namespace sim {

struct LinkOptions {
  // One fix epoch every period at 1 Hz; the fix rate divides it (200 ms at 5 Hz for 1000 ms).
  int period_ms = 1000;
  bool auto_cycles = true;
  // Pause between the two halves of a split write; at most half the epoch period.
  int split_gap_ms = 100;
  // Bytes that cannot be written for this long (nobody reads the pty, slow client) are dropped.
  int write_timeout_ms = 200;
  // Pty only: output goes out only while the console's line speed is the receiver's baud rate;
  // at any other speed it is lost, as it would be on a real line.
  bool match_line_speed = false;
};

// A line speed the pty link saw the console set (match_line_speed only).
struct SpeedChange {
  uint32_t baud = 0;
  std::chrono::steady_clock::time_point time;
};

struct Chunk {
  std::string bytes;
  std::chrono::steady_clock::time_point time;  // when the read returned
};

class Link {
 public:
  explicit Link(SimReceiver model = SimReceiver(), LinkOptions options = LinkOptions());
  ~Link();
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  // Each starts the serving thread; false with a message when the endpoint cannot be made.
  bool StartPty(std::string* error = nullptr);
  bool StartTcp(uint16_t port, std::string* error = nullptr);
  // Joins the thread and closes every descriptor. Safe to call twice.
  void Stop();

  std::string SlavePath() const { return slave_path_; }  // pty only
  uint16_t Port() const { return port_; }                // tcp only, the bound port

  // Queues one epoch for writing now; returns its bytes (faults applied).
  std::string EmitCycleNow();
  // Queues bytes for writing as they are.
  void SendRaw(std::string_view bytes);

  // Runs `f` on the model under the link's lock.
  template <typename F>
  auto WithModel(F&& f) {
    std::lock_guard lock(mu_);
    return f(model_);
  }

  std::string Received() const;
  std::vector<Chunk> ReceivedChunks() const;
  std::string Sent() const;
  uint64_t DroppedBytes() const;
  // The first line speed seen and every change after it, in order.
  std::vector<SpeedChange> LineSpeeds() const;
  void ClearRecords();

  // Waits until `pred(Received())` holds; false after `timeout`.
  bool WaitReceived(const std::function<bool(const std::string&)>& pred,
                    std::chrono::milliseconds timeout) const;
  // Waits until Sent() has at least `count` bytes; false after `timeout`.
  bool WaitSent(size_t count, std::chrono::milliseconds timeout) const;

  // TCP: whether a client is connected; waits up to `timeout` for one.
  bool WaitForClient(std::chrono::milliseconds timeout) const;
  bool ClientConnected() const;
  // TCP: closes the current client (the peer sees end of stream). Returns once closed.
  void CloseClient();

 private:
  using Clock = std::chrono::steady_clock;
  struct Pending {
    std::string bytes;
    Clock::time_point not_before;
  };

  void Run();
  void Wake();
  void QueueLocked(std::vector<std::string> writes, Clock::time_point now);
  void DropQueueLocked();
  void CloseClientLocked();
  void AcceptClient();
  void ReadIo();
  void WriteIo(Clock::time_point now);
  Clock::duration EpochPeriodLocked() const;
  // Samples the pty's line speed; true when output may go out at it.
  bool LineSpeedMatchesLocked(Clock::time_point now);

  SimReceiver model_;
  const LinkOptions options_;
  std::string slave_path_;
  uint16_t port_ = 0;

  int master_fd_ = -1;  // pty
  int slave_fd_ = -1;   // kept open so that the master never sees a hang-up
  int listen_fd_ = -1;  // tcp
  int wake_rd_ = -1, wake_wr_ = -1;
  bool tcp_ = false;

  mutable std::mutex mu_;
  mutable std::condition_variable cv_;
  int client_fd_ = -1;  // written only by the thread, under mu_
  bool stop_ = false;
  bool close_client_request_ = false;
  std::deque<Pending> out_;
  Clock::time_point stalled_since_{};  // when the head of out_ first could not be written
  Clock::time_point next_cycle_{};
  std::string received_;
  std::vector<Chunk> chunks_;
  std::string sent_;
  uint64_t dropped_ = 0;
  std::vector<SpeedChange> speeds_;
  std::thread thread_;
};

}  // namespace sim

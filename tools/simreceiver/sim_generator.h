// A simulated RF signal generator on a pseudo-terminal: it takes the console's text commands
// ("MAIN:TEST 1", "MAIN:SV n", "MAIN:RFLVL l", each ending CR LF), records them, and turns the
// RF level of the simulated satellite into the signal a receiver reports for it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sim {

struct GeneratorOptions {
  // Signal in dB-Hz = RF level in dBm + this, at least 1 while tracked, at most 99.
  int snr_offset_db = 130;
  // Below this level the receiver loses the satellite (signal 0).
  int loss_level_dbm = -142;
};

// Signal of a satellite simulated at level dBm.
int SignalForLevel(int level_dbm, const GeneratorOptions& options);

class Generator {
 public:
  // Told the simulated satellite and its signal after every command that changes either, once
  // test mode is on and a satellite and a level have been given; (0, 0) when test mode ends.
  // Runs on the generator's thread.
  using SignalSink = std::function<void(int prn, int snr)>;

  explicit Generator(SignalSink sink, GeneratorOptions options = GeneratorOptions());
  ~Generator();
  Generator(const Generator&) = delete;
  Generator& operator=(const Generator&) = delete;

  // Starts the serving thread; false with a message when the pty cannot be made.
  bool StartPty(std::string* error = nullptr);
  // Joins the thread and closes the pty. Safe to call twice.
  void Stop();

  std::string SlavePath() const { return slave_path_; }
  // Every byte received, as received.
  std::string Received() const;
  // The complete command lines so far, without their line ends.
  std::vector<std::string> Commands() const;
  // Waits until at least count commands have arrived; false after timeout.
  bool WaitCommands(size_t count, std::chrono::milliseconds timeout) const;
  // The last level set, in dBm (0 before any).
  int Level() const;

 private:
  void Run();
  void Feed(const char* bytes, size_t n);
  void HandleLine(const std::string& line);

  SignalSink sink_;
  const GeneratorOptions options_;
  std::string slave_path_;
  int master_fd_ = -1;
  int slave_fd_ = -1;  // kept open so that the master never sees a hang-up
  int wake_rd_ = -1, wake_wr_ = -1;

  mutable std::mutex mu_;
  mutable std::condition_variable cv_;
  bool stop_ = false;
  std::string received_;
  std::string line_;
  std::vector<std::string> commands_;
  bool test_mode_ = false;
  int sv_ = 0;
  bool has_level_ = false;
  int level_ = 0;
  std::thread thread_;
};

}  // namespace sim

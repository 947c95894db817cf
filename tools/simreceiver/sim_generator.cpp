#include "tools/simreceiver/sim_generator.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>

#include "tools/simreceiver/raw_pty.h"

namespace sim {
namespace {

constexpr size_t kMaxLine = 256;

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

bool SetError(std::string* error, const std::string& what) {
  if (error) *error = what + ": " + std::strerror(errno);
  return false;
}

// "-85" -> -85; nothing for anything but an optional sign and digits.
std::optional<int> Number(const std::string& text) {
  size_t i = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size() || text.size() > 9) return std::nullopt;
  for (size_t k = i; k < text.size(); ++k)
    if (text[k] < '0' || text[k] > '9') return std::nullopt;
  int value = 0;
  std::from_chars(text.data() + (text[0] == '+' ? 1 : 0), text.data() + text.size(), value);
  return value;
}

// The argument of "NAME value", if the line is that command.
std::optional<int> Argument(const std::string& line, const std::string& name) {
  if (line.size() <= name.size() + 1 || line.compare(0, name.size(), name) != 0 ||
      line[name.size()] != ' ') {
    return std::nullopt;
  }
  return Number(line.substr(name.size() + 1));
}

}  // namespace

int SignalForLevel(int level_dbm, const GeneratorOptions& options) {
  if (level_dbm < options.loss_level_dbm) return 0;
  return std::clamp(level_dbm + options.snr_offset_db, 1, 99);
}

Generator::Generator(SignalSink sink, GeneratorOptions options)
    : sink_(std::move(sink)), options_(options) {}

Generator::~Generator() {
  Stop();
}

bool Generator::StartPty(std::string* error) {
  if (thread_.joinable() || master_fd_ >= 0) {
    if (error) *error = "generator already started";
    return false;
  }
  RawPty pty;
  if (!OpenRawPty(&pty, error)) return false;
  int pipefd[2];
  if (::pipe2(pipefd, O_NONBLOCK | O_CLOEXEC) != 0) {
    SetError(error, "pipe");
    ::close(pty.master);
    ::close(pty.slave);
    return false;
  }
  const int master = pty.master, slave = pty.slave;
  const std::string name = pty.path;
  master_fd_ = master;
  slave_fd_ = slave;
  wake_rd_ = pipefd[0];
  wake_wr_ = pipefd[1];
  slave_path_ = name;
  stop_ = false;
  thread_ = std::thread(&Generator::Run, this);
  return true;
}

void Generator::Stop() {
  {
    std::lock_guard lock(mu_);
    stop_ = true;
  }
  if (wake_wr_ >= 0) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_wr_, &c, 1);
  }
  if (thread_.joinable()) thread_.join();
  CloseFd(master_fd_);
  CloseFd(slave_fd_);
  CloseFd(wake_rd_);
  CloseFd(wake_wr_);
}

void Generator::Run() {
  for (;;) {
    {
      std::lock_guard lock(mu_);
      if (stop_) return;
    }
    pollfd fds[2] = {{wake_rd_, POLLIN, 0}, {master_fd_, POLLIN, 0}};
    if (::poll(fds, 2, 500) <= 0) continue;
    if (fds[1].revents & POLLIN) {
      char buf[512];
      const ssize_t n = ::read(master_fd_, buf, sizeof buf);
      if (n > 0) Feed(buf, static_cast<size_t>(n));
    } else if (fds[1].revents & (POLLHUP | POLLERR)) {
      // Cannot happen while the slave is held open; never spin if it does.
      ::usleep(10000);
    }
  }
}

void Generator::Feed(const char* bytes, size_t n) {
  std::vector<std::string> lines;
  {
    std::lock_guard lock(mu_);
    received_.append(bytes, n);
    for (size_t i = 0; i < n; ++i) {
      if (bytes[i] == '\n') {
        if (!line_.empty() && line_.back() == '\r') line_.pop_back();
        lines.push_back(line_);
        line_.clear();
      } else if (line_.size() < kMaxLine) {
        line_ += bytes[i];
      }
    }
  }
  for (const std::string& line : lines) HandleLine(line);
}

void Generator::HandleLine(const std::string& line) {
  std::optional<std::pair<int, int>> signal;
  {
    std::lock_guard lock(mu_);
    commands_.push_back(line);
    bool changed = false;
    if (auto on = Argument(line, "MAIN:TEST")) {
      test_mode_ = *on != 0;
      if (!test_mode_) signal = std::make_pair(0, 0);
      changed = test_mode_;
    } else if (auto sv = Argument(line, "MAIN:SV"); sv && *sv > 0) {
      sv_ = *sv;
      changed = true;
    } else if (auto level = Argument(line, "MAIN:RFLVL")) {
      level_ = *level;
      has_level_ = true;
      changed = true;
    }
    if (changed && test_mode_ && sv_ > 0 && has_level_)
      signal = std::make_pair(sv_, SignalForLevel(level_, options_));
    cv_.notify_all();
  }
  // Outside the lock: the sink takes the receiver's.
  if (signal && sink_) sink_(signal->first, signal->second);
}

std::string Generator::Received() const {
  std::lock_guard lock(mu_);
  return received_;
}

std::vector<std::string> Generator::Commands() const {
  std::lock_guard lock(mu_);
  return commands_;
}

bool Generator::WaitCommands(size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mu_);
  return cv_.wait_for(lock, timeout, [&] { return commands_.size() >= count; });
}

int Generator::Level() const {
  std::lock_guard lock(mu_);
  return level_;
}

}  // namespace sim

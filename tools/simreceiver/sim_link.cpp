#include "tools/simreceiver/sim_link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "tools/simreceiver/pty_speed.h"
#include "tools/simreceiver/raw_pty.h"

namespace sim {
namespace {

constexpr size_t kMaxQueuedBytes = 1 << 20;
constexpr auto kIdlePoll = std::chrono::milliseconds(500);
constexpr auto kCloseClientWait = std::chrono::seconds(2);
// How often a speed-matching pty looks at the line speed: far more often than a scan changes it.
constexpr auto kSpeedPoll = std::chrono::milliseconds(20);

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

bool SetError(std::string* error, const std::string& what) {
  if (error) *error = what + ": " + std::strerror(errno);
  return false;
}

}  // namespace

Link::Link(SimReceiver model, LinkOptions options) : model_(std::move(model)), options_(options) {}

Link::~Link() {
  Stop();
}

bool Link::StartPty(std::string* error) {
  if (thread_.joinable() || master_fd_ >= 0 || listen_fd_ >= 0) {
    if (error) *error = "link already started";
    return false;
  }
  RawPty pty;
  if (!OpenRawPty(&pty, error)) return false;
  const int master = pty.master, slave = pty.slave;
  const std::string name = pty.path;
  master_fd_ = master;
  slave_fd_ = slave;
  slave_path_ = name;
  tcp_ = false;
  int pipefd[2];
  if (::pipe2(pipefd, O_NONBLOCK | O_CLOEXEC) != 0) {
    SetError(error, "pipe");
    CloseFd(master_fd_);
    CloseFd(slave_fd_);
    return false;
  }
  wake_rd_ = pipefd[0];
  wake_wr_ = pipefd[1];
  stop_ = false;
  close_client_request_ = false;
  next_cycle_ = Clock::now() + EpochPeriodLocked();
  thread_ = std::thread(&Link::Run, this);
  return true;
}

bool Link::StartTcp(uint16_t port, std::string* error) {
  if (thread_.joinable() || master_fd_ >= 0 || listen_fd_ >= 0) {
    if (error) *error = "link already started";
    return false;
  }
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return SetError(error, "socket");
  const int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 4) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    SetError(error, "listen on 127.0.0.1:" + std::to_string(port));
    ::close(fd);
    return false;
  }
  int pipefd[2];
  if (::pipe2(pipefd, O_NONBLOCK | O_CLOEXEC) != 0) {
    SetError(error, "pipe");
    ::close(fd);
    return false;
  }
  listen_fd_ = fd;
  port_ = ntohs(addr.sin_port);
  tcp_ = true;
  wake_rd_ = pipefd[0];
  wake_wr_ = pipefd[1];
  stop_ = false;
  close_client_request_ = false;
  next_cycle_ = Clock::now() + EpochPeriodLocked();
  thread_ = std::thread(&Link::Run, this);
  return true;
}

void Link::Stop() {
  {
    std::lock_guard lock(mu_);
    stop_ = true;
  }
  Wake();
  if (thread_.joinable()) thread_.join();
  std::lock_guard lock(mu_);
  CloseClientLocked();
  CloseFd(listen_fd_);
  CloseFd(master_fd_);
  CloseFd(slave_fd_);
  CloseFd(wake_rd_);
  CloseFd(wake_wr_);
  cv_.notify_all();
}

void Link::Wake() {
  if (wake_wr_ < 0) return;
  const char c = 1;
  [[maybe_unused]] const ssize_t n = ::write(wake_wr_, &c, 1);  // a full pipe is awake already
}

Link::Clock::duration Link::EpochPeriodLocked() const {
  const int64_t us = int64_t{options_.period_ms} * model_.FixIntervalMs();
  return std::chrono::microseconds(std::max<int64_t>(us, 1000));
}

std::string Link::EmitCycleNow() {
  std::string all;
  {
    std::lock_guard lock(mu_);
    std::vector<std::string> writes = model_.CycleWrites();
    for (const std::string& w : writes) all += w;
    QueueLocked(std::move(writes), Clock::now());
  }
  Wake();
  return all;
}

void Link::SendRaw(std::string_view bytes) {
  {
    std::lock_guard lock(mu_);
    QueueLocked({std::string(bytes)}, Clock::now());
  }
  Wake();
}

void Link::QueueLocked(std::vector<std::string> writes, Clock::time_point now) {
  Clock::time_point at = out_.empty() ? now : std::max(now, out_.back().not_before);
  // A gap longer than the epoch would push every later epoch further back until the queue
  // overflows: at short periods the halves go out half an epoch apart.
  const Clock::duration gap = std::min<Clock::duration>(
      std::chrono::milliseconds(options_.split_gap_ms), EpochPeriodLocked() / 2);
  for (size_t i = 0; i < writes.size(); ++i) {
    if (i > 0) at += gap;
    if (!writes[i].empty()) out_.push_back({std::move(writes[i]), at});
  }
  size_t total = 0;
  for (const Pending& p : out_) total += p.bytes.size();
  while (total > kMaxQueuedBytes && !out_.empty()) {
    total -= out_.front().bytes.size();
    dropped_ += out_.front().bytes.size();
    out_.pop_front();
  }
}

void Link::DropQueueLocked() {
  for (const Pending& p : out_) dropped_ += p.bytes.size();
  out_.clear();
  stalled_since_ = {};
}

void Link::CloseClientLocked() {
  if (client_fd_ < 0) return;
  ::shutdown(client_fd_, SHUT_RDWR);
  CloseFd(client_fd_);
  DropQueueLocked();
  cv_.notify_all();
}

void Link::AcceptClient() {
  const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  if (fd < 0) return;
  CloseClientLocked();  // one client at a time: the newest wins
  const int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  client_fd_ = fd;
  model_.ResetCommandInput();
  cv_.notify_all();
}

void Link::ReadIo() {
  const int fd = tcp_ ? client_fd_ : master_fd_;
  if (fd < 0) return;
  char buf[4096];
  const ssize_t n = ::read(fd, buf, sizeof buf);
  if (n > 0) {
    const auto now = Clock::now();
    const std::string_view bytes(buf, static_cast<size_t>(n));
    received_.append(bytes);
    chunks_.push_back({std::string(bytes), now});
    std::string replies = model_.Feed(bytes);
    if (!replies.empty()) QueueLocked({std::move(replies)}, now);
    cv_.notify_all();
    return;
  }
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
  if (tcp_) CloseClientLocked();  // end of stream or reset
}

bool Link::LineSpeedMatchesLocked(Clock::time_point now) {
  uint32_t baud = 0;
  if (!PtyLineSpeed(master_fd_, &baud)) return false;
  if (speeds_.empty() || speeds_.back().baud != baud) speeds_.push_back({baud, now});
  return baud == static_cast<uint32_t>(model_.CurrentSettings().baud);
}

void Link::WriteIo(Clock::time_point now) {
  const int fd = tcp_ ? client_fd_ : master_fd_;
  if (!tcp_ && options_.match_line_speed && fd >= 0 && !LineSpeedMatchesLocked(now)) {
    while (!out_.empty() && out_.front().not_before <= now) {
      dropped_ += out_.front().bytes.size();
      out_.pop_front();
    }
    return;
  }
  while (!out_.empty() && out_.front().not_before <= now) {
    Pending& p = out_.front();
    if (fd < 0) {
      dropped_ += p.bytes.size();
      out_.pop_front();
      continue;
    }
    const ssize_t n = tcp_ ? ::send(fd, p.bytes.data(), p.bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT)
                           : ::write(fd, p.bytes.data(), p.bytes.size());
    if (n > 0) {
      sent_.append(p.bytes, 0, static_cast<size_t>(n));
      p.bytes.erase(0, static_cast<size_t>(n));
      if (p.bytes.empty()) out_.pop_front();
      stalled_since_ = {};
      cv_.notify_all();
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (stalled_since_ == Clock::time_point{}) stalled_since_ = now;
      if (now - stalled_since_ < std::chrono::milliseconds(options_.write_timeout_ms)) return;
      // Nobody is reading: drop everything that was due, keep what is still scheduled.
      while (!out_.empty() && out_.front().not_before <= now) {
        dropped_ += out_.front().bytes.size();
        out_.pop_front();
      }
      stalled_since_ = {};
      return;
    }
    if (tcp_) {
      CloseClientLocked();
      return;
    }
    dropped_ += p.bytes.size();
    out_.pop_front();
  }
}

void Link::Run() {
  std::unique_lock lock(mu_);
  while (!stop_) {
    if (close_client_request_) {
      CloseClientLocked();
      close_client_request_ = false;
      cv_.notify_all();
    }
    auto now = Clock::now();
    if (options_.auto_cycles && now >= next_cycle_) {
      QueueLocked(model_.CycleWrites(), now);
      next_cycle_ += EpochPeriodLocked();
      if (next_cycle_ <= now) next_cycle_ = now + EpochPeriodLocked();
    }
    WriteIo(now);

    const int io_fd = tcp_ ? client_fd_ : master_fd_;
    const bool due = !out_.empty() && out_.front().not_before <= now;
    auto wake_at = now + kIdlePoll;
    if (options_.auto_cycles) wake_at = std::min(wake_at, next_cycle_);
    if (!tcp_ && options_.match_line_speed) wake_at = std::min(wake_at, now + kSpeedPoll);
    if (!out_.empty() && !due) wake_at = std::min(wake_at, out_.front().not_before);
    if (due && stalled_since_ != Clock::time_point{}) {
      wake_at =
          std::min(wake_at, stalled_since_ + std::chrono::milliseconds(options_.write_timeout_ms));
    }
    pollfd fds[3];
    nfds_t count = 0;
    fds[count++] = {wake_rd_, POLLIN, 0};
    const nfds_t io_slot = count;
    if (io_fd >= 0) fds[count++] = {io_fd, static_cast<short>(POLLIN | (due ? POLLOUT : 0)), 0};
    const nfds_t listen_slot = count;
    if (listen_fd_ >= 0) fds[count++] = {listen_fd_, POLLIN, 0};
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(wake_at - now);
    const int timeout_ms = static_cast<int>(std::max<int64_t>(wait.count(), 0));

    lock.unlock();
    const int ready = ::poll(fds, count, timeout_ms);
    if (ready > 0 && (fds[0].revents & POLLIN)) {
      char drain[64];
      while (::read(wake_rd_, drain, sizeof drain) > 0) {
      }
    }
    lock.lock();
    if (ready <= 0 || stop_) continue;
    // Only this thread changes client_fd_, so io_fd is still the descriptor it was.
    if (io_fd >= 0 && (fds[io_slot].revents & (POLLIN | POLLHUP | POLLERR))) ReadIo();
    if (listen_fd_ >= 0 && (fds[listen_slot].revents & POLLIN)) AcceptClient();
  }
}

std::string Link::Received() const {
  std::lock_guard lock(mu_);
  return received_;
}

std::vector<Chunk> Link::ReceivedChunks() const {
  std::lock_guard lock(mu_);
  return chunks_;
}

std::string Link::Sent() const {
  std::lock_guard lock(mu_);
  return sent_;
}

uint64_t Link::DroppedBytes() const {
  std::lock_guard lock(mu_);
  return dropped_;
}

std::vector<SpeedChange> Link::LineSpeeds() const {
  std::lock_guard lock(mu_);
  return speeds_;
}

void Link::ClearRecords() {
  std::lock_guard lock(mu_);
  received_.clear();
  chunks_.clear();
  sent_.clear();
  dropped_ = 0;
}

bool Link::WaitReceived(const std::function<bool(const std::string&)>& pred,
                        std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mu_);
  return cv_.wait_for(lock, timeout, [&] { return pred(received_); });
}

bool Link::WaitSent(size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mu_);
  return cv_.wait_for(lock, timeout, [&] { return sent_.size() >= count; });
}

bool Link::WaitForClient(std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mu_);
  return cv_.wait_for(lock, timeout, [&] { return client_fd_ >= 0; });
}

bool Link::ClientConnected() const {
  std::lock_guard lock(mu_);
  return client_fd_ >= 0;
}

void Link::CloseClient() {
  std::unique_lock lock(mu_);
  if (!tcp_ || !thread_.joinable() || stop_) {
    CloseClientLocked();
    return;
  }
  close_client_request_ = true;
  Wake();
  cv_.wait_for(lock, kCloseClientWait, [&] { return !close_client_request_ || stop_; });
}

}  // namespace sim

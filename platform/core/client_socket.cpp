#include "platform/core/client_socket.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <csignal>
#include <system_error>
#include <thread>

#include "platform/core/line_trace.h"
#include "platform/core/thread.h"

namespace platform {

struct TClientSocket::Conn {
  explicit Conn(int f) : fd(f) {}
  ~Conn() { close(fd); }
  Conn(const Conn&) = delete;
  Conn& operator=(const Conn&) = delete;

  const int fd;
  // Set once the connection is over (peer, error or SetActive(false)); whoever sets it first
  // posts the one OnDisconnect.
  std::atomic<bool> ended{false};
};

namespace {

using Clock = std::chrono::steady_clock;

// Without a stop fd a waiting reader looks at Terminated() this often.
constexpr int kStopPollMs = 50;
constexpr auto kSendTimeout = std::chrono::milliseconds(100);

int RemainingMs(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  if (left.count() <= 0) return 0;
  return left.count() > INT_MAX ? INT_MAX : static_cast<int>(left.count());
}

using AddrList = std::unique_ptr<addrinfo, decltype(&freeaddrinfo)>;

struct Lookup {
  std::mutex m;
  std::condition_variable cv;
  bool done = false;
  int rc = EAI_FAIL;
  addrinfo* res = nullptr;
  ~Lookup() {
    if (res) freeaddrinfo(res);
  }
};

// A name lookup cannot be interrupted, so it runs on its own thread and is abandoned (its
// result freed by that thread's last reference) when the deadline passes first.
AddrList Resolve(const std::string& host, int port, Clock::time_point deadline, int& err) {
  const std::string service = std::to_string(port);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
  addrinfo* res = nullptr;
  if (getaddrinfo(host.c_str(), service.c_str(), &hints, &res) == 0)
    return AddrList(res, freeaddrinfo);

  auto lookup = std::make_shared<Lookup>();
  try {
    std::thread([lookup, host, service] {
      addrinfo h{};
      h.ai_family = AF_UNSPEC;
      h.ai_socktype = SOCK_STREAM;
      h.ai_flags = AI_NUMERICSERV;
      addrinfo* r = nullptr;
      const int rc = getaddrinfo(host.c_str(), service.c_str(), &h, &r);
      std::lock_guard lk(lookup->m);
      lookup->rc = rc;
      lookup->res = rc == 0 ? r : nullptr;
      lookup->done = true;
      lookup->cv.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    err = EAGAIN;
    return AddrList(nullptr, freeaddrinfo);
  }
  std::unique_lock lk(lookup->m);
  if (!lookup->cv.wait_until(lk, deadline, [&] { return lookup->done; })) {
    err = ETIMEDOUT;
    return AddrList(nullptr, freeaddrinfo);
  }
  if (lookup->rc != 0 || !lookup->res) {
    err = EHOSTUNREACH;
    return AddrList(nullptr, freeaddrinfo);
  }
  AddrList list(lookup->res, freeaddrinfo);
  lookup->res = nullptr;
  return list;
}

// Returns a connected non-blocking fd, or -1 with err set.
int ConnectTo(const std::string& host, int port, int timeoutMs, int& err) {
  if (port < 1 || port > 65535) {
    err = EINVAL;
    return -1;
  }
  if (host.empty()) {
    err = EHOSTUNREACH;
    return -1;
  }
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
  AddrList list = Resolve(host, port, deadline, err);
  if (!list) return -1;
  err = EHOSTUNREACH;
  for (addrinfo* ai = list.get(); ai; ai = ai->ai_next) {
    const int fd =
        socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol);
    if (fd < 0) {
      err = errno;
      continue;
    }
    if (connect(fd, ai->ai_addr, ai->ai_addrlen) == 0) return fd;
    if (errno != EINPROGRESS && errno != EINTR) {
      err = errno;
      close(fd);
      continue;
    }
    pollfd p{fd, POLLOUT, 0};
    int r;
    do {
      r = poll(&p, 1, RemainingMs(deadline));
    } while (r < 0 && errno == EINTR);
    if (r <= 0) {
      err = r == 0 ? ETIMEDOUT : errno;
      close(fd);
      if (r == 0) break;  // the deadline covers every address
      continue;
    }
    int soErr = 0;
    socklen_t len = sizeof soErr;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &soErr, &len) < 0) soErr = errno;
    if (soErr == 0) return fd;
    err = soErr;
    close(fd);
  }
  return -1;
}

// Events reach the socket on the window thread, and not at all once it is destroyed.
void PostEvent(std::weak_ptr<bool> alive, TClientSocket* socket,
               std::function<void(TClientSocket&)> event) {
  TThread::Queue([alive = std::move(alive), socket, event = std::move(event)] {
    if (alive.lock()) event(*socket);
  });
}

void FireDisconnect(TClientSocket& s) {
  if (s.OnDisconnect) s.OnDisconnect(s);
}

// A reader with nothing to read idles until it is told to stop.
void WaitForStop(TThread* self) {
  if (!self) return;
  const int fd = self->StopFd();
  while (!self->Terminated()) {
    pollfd p{fd, POLLIN, 0};
    poll(&p, 1, fd >= 0 ? -1 : kStopPollMs);
  }
}

}  // namespace

TClientSocket::TClientSocket() : alive_(std::make_shared<bool>(true)) {
  static std::once_flag sigpipe;
  std::call_once(sigpipe, [] { std::signal(SIGPIPE, SIG_IGN); });
}

TClientSocket::~TClientSocket() {
  std::shared_ptr<Conn> c;
  {
    std::lock_guard lk(mutex_);
    alive_.reset();
    c = std::move(conn_);
  }
  if (c) {
    c->ended.store(true);
    shutdown(c->fd, SHUT_RDWR);
  }
}

bool TClientSocket::Active() const {
  std::lock_guard lk(mutex_);
  return conn_ && !conn_->ended.load();
}

void TClientSocket::SetActive(bool value) {
  if (!value) {
    std::shared_ptr<Conn> c;
    {
      std::lock_guard lk(mutex_);
      c = std::move(conn_);
    }
    if (!c) return;
    // Wakes a ReceiveBuf in progress; its reference keeps the fd open until it returns.
    shutdown(c->fd, SHUT_RDWR);
    if (!c->ended.exchange(true)) PostEvent(alive_, this, FireDisconnect);
    return;
  }

  if (Active()) return;
  int err = 0;
  const int fd = ConnectTo(Host, Port, ConnectTimeoutMs, err);
  if (fd < 0) {
    PostEvent(alive_, this, [err](TClientSocket& s) {
      int code = err;
      if (s.OnError) s.OnError(s, code);
    });
    return;
  }
  auto fresh = std::make_shared<Conn>(fd);
  std::shared_ptr<Conn> old;
  {
    std::lock_guard lk(mutex_);
    if (conn_ && !conn_->ended.load()) return;  // connected meanwhile: drop ours
    old = std::move(conn_);
    conn_ = fresh;
  }
  PostEvent(alive_, this, [](TClientSocket& s) {
    if (s.OnConnect) s.OnConnect(s);
  });
}

int TClientSocket::ReceiveBuf(void* buf, int count) {
  std::shared_ptr<Conn> c;
  std::weak_ptr<bool> alive;
  {
    std::lock_guard lk(mutex_);
    c = conn_;
    alive = alive_;
  }
  if (!buf || count <= 0) return 0;
  TThread* self = TThread::CurrentThread();
  if (!c || c->ended.load()) {
    WaitForStop(self);
    return 0;
  }
  // From here only locals: the socket object is not touched again on this thread.
  const int stopFd = self ? self->StopFd() : -1;
  const int timeout = (self && stopFd < 0) ? kStopPollMs : -1;
  for (;;) {
    if (self && self->Terminated()) return 0;
    pollfd fds[2] = {{c->fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
    const int r = poll(fds, 2, timeout);
    if (r < 0) {
      if (errno == EINTR || errno == ENOMEM) continue;
      break;
    }
    if (r == 0) continue;
    if (fds[1].revents) return 0;
    if (fds[0].revents & POLLNVAL) break;
    if (!fds[0].revents) continue;
    const ssize_t n = recv(c->fd, buf, static_cast<size_t>(count), MSG_DONTWAIT);
    if (n > 0) return static_cast<int>(n);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
    break;  // 0: closed by the peer or by SetActive(false); < 0: broken
  }
  if (!c->ended.exchange(true)) {
    shutdown(c->fd, SHUT_RDWR);  // let the peer see our end too
    PostEvent(alive, this, FireDisconnect);
  }
  return 0;
}

int TClientSocket::SendBuf(const void* buf, int count) {
  std::shared_ptr<Conn> c;
  {
    std::lock_guard lk(mutex_);
    c = conn_;
  }
  if (!c || c->ended.load()) {
    errno = ENOTCONN;
    return -1;
  }
  if (!buf || count <= 0) return 0;
  const char* p = static_cast<const char*>(buf);
  TraceLine(LineEvent::kSocketSend, {p, static_cast<std::size_t>(count)});
  const auto deadline = Clock::now() + kSendTimeout;
  int sent = 0;
  while (sent < count) {
    const ssize_t n =
        send(c->fd, p + sent, static_cast<size_t>(count - sent), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      sent += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      const int left = RemainingMs(deadline);
      if (left <= 0) {
        errno = ETIMEDOUT;
        break;
      }
      pollfd pf{c->fd, POLLOUT, 0};
      poll(&pf, 1, left);
      continue;
    }
    if (n == 0) errno = EIO;
    break;  // reset or broken (errno says how): the reader reports the end
  }
  return sent;
}

int TClientSocket::SendText(const std::string& text) {
  const int count = text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size());
  return SendBuf(text.data(), count);
}

}  // namespace platform

// Serial reads and writes bounded by the port's time-outs, and the queue calls.
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <optional>

#include "platform/core/line_trace.h"
#include "platform/core/serial.h"
#include "platform/core/serial_port.h"

namespace {

using platform::serial_detail::Port;
using platform::serial_detail::PortRef;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A dead device with no total time-out still pauses this long before failing: no spin.
constexpr milliseconds kErrorPause{100};
// A write with no time-out set is still bounded.
constexpr milliseconds kDefaultWriteLimit{100};

enum class WaitResult { kReady, kTimeout, kClosing };

// Waits for events on the port's fd (or only for the wake signal when events is 0) until the
// deadline; nullopt deadline waits without limit.
WaitResult Wait(const Port& port, short events, std::optional<Clock::time_point> deadline,
                short* revents) {
  for (;;) {
    if (port.closing.load()) return WaitResult::kClosing;
    int timeoutMs = -1;
    if (deadline) {
      const auto left = std::chrono::ceil<milliseconds>(*deadline - Clock::now()).count();
      if (left <= 0) return WaitResult::kTimeout;
      timeoutMs = static_cast<int>(std::min<std::int64_t>(left, 1 << 30));
    }
    pollfd fds[2] = {{port.wakeFd, POLLIN, 0}, {port.fd, events, 0}};
    const int n = ::poll(fds, events ? 2 : 1, timeoutMs);
    if (n < 0 && errno != EINTR && events) {
      // Reported as a line error: the caller's next read or write decides, and fails.
      if (revents) *revents = POLLERR;
      return WaitResult::kReady;
    }
    if (fds[0].revents != 0 || port.closing.load()) return WaitResult::kClosing;
    if (n > 0 && events) {
      if (revents) *revents = fds[1].revents;
      return WaitResult::kReady;
    }
  }
}

std::optional<Clock::time_point> After(Clock::time_point start, std::uint64_t ms) {
  // Beyond about 24 days the limit makes no practical difference; keep clock arithmetic sane.
  constexpr std::uint64_t kMax = 1ull << 31;
  return start + milliseconds(static_cast<std::int64_t>(std::min(ms, kMax)));
}

struct ReadPlan {
  bool immediate = false;    // return at once with what is there
  bool returnOnAny = false;  // return as soon as some bytes have arrived
  std::optional<Clock::time_point> total;
  std::optional<milliseconds> interval;
};

ReadPlan PlanRead(const COMMTIMEOUTS& t, DWORD count, Clock::time_point start) {
  ReadPlan plan;
  if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 &&
      t.ReadTotalTimeoutConstant == 0) {
    plan.immediate = true;
    return plan;
  }
  if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
      t.ReadTotalTimeoutConstant > 0 && t.ReadTotalTimeoutConstant < MAXDWORD) {
    plan.returnOnAny = true;
    plan.total = After(start, t.ReadTotalTimeoutConstant);
    return plan;
  }
  if (t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0) {
    plan.total = After(
        start, std::uint64_t{t.ReadTotalTimeoutMultiplier} * count + t.ReadTotalTimeoutConstant);
  }
  if (t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != MAXDWORD) {
    plan.interval = milliseconds(t.ReadIntervalTimeout);
  }
  return plan;
}

COMMTIMEOUTS TimeoutsOf(Port& port) {
  std::lock_guard lock(port.mu);
  return port.timeouts;
}

// How long one character takes on the line at the port's settings; nullopt before any.
std::optional<Clock::duration> CharTime(Port& port) {
  std::lock_guard lock(port.mu);
  if (!port.dcbSet || port.dcb.BaudRate == 0) return std::nullopt;
  const DCB& d = port.dcb;
  const unsigned bits =
      1u + d.ByteSize + (d.Parity != NOPARITY ? 1u : 0u) + (d.StopBits == TWOSTOPBITS ? 2u : 1u);
  return std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(static_cast<double>(bits) / static_cast<double>(d.BaudRate)));
}

thread_local int t_systemError = 0;

BOOL Fail(DWORD code, int systemError) {
  SetLastError(code);
  t_systemError = systemError;
  return FALSE;
}

// A read of 0 bytes (end of file) or a poll hang-up is a line that hung up.
int DeviceError(ssize_t r, bool hangupSeen) {
  if (r == 0 || hangupSeen || errno == 0) return EIO;
  return errno;
}

}  // namespace

int platform::LastSystemError() {
  return t_systemError;
}

BOOL ReadFile(HANDLE hFile, void* lpBuffer, DWORD nNumberOfBytesToRead, DWORD* lpNumberOfBytesRead,
              void* lpOverlapped) {
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
  t_systemError = 0;
  PortRef port(hFile);
  if (!port) return Fail(ERROR_INVALID_HANDLE, EBADF);
  if (lpOverlapped != nullptr || (lpBuffer == nullptr && nNumberOfBytesToRead > 0)) {
    return Fail(ERROR_INVALID_PARAMETER, EINVAL);
  }
  const auto start = Clock::now();
  const ReadPlan plan = PlanRead(TimeoutsOf(*port), nNumberOfBytesToRead, start);
  const std::optional<Clock::duration> charTime = CharTime(*port);
  auto* out = static_cast<unsigned char*>(lpBuffer);
  DWORD got = 0;
  Clock::time_point lastByte;
  bool hangupSeen = false;
  bool failed = false;
  bool flowing = false;
  int systemError = 0;

  while (got < nNumberOfBytesToRead) {
    const ssize_t r = ::read(port->fd, out + got, nNumberOfBytesToRead - got);
    if (r > 0) {
      got += static_cast<DWORD>(r);
      lastByte = Clock::now();
      flowing = true;
      // A short read took all the driver had: wait for more rather than read again at once.
      if (got == nNumberOfBytesToRead) break;
    } else {
      if (r < 0 && errno == EINTR) continue;
      // 0 is end of file: a hung-up line. EAGAIN after poll reported a hang-up is the same.
      if (r == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) || hangupSeen) {
        failed = true;
        systemError = DeviceError(r, hangupSeen);
        break;
      }
    }
    if (plan.immediate || (plan.returnOnAny && got > 0)) break;
    std::optional<Clock::time_point> deadline = plan.total;
    if (plan.interval && got > 0) {
      const auto gapEnd = lastByte + *plan.interval;
      deadline = deadline ? std::min(*deadline, gapEnd) : gapEnd;
    }
    if (flowing && charTime && deadline && !plan.interval) {
      // While bytes keep coming, the rest comes at the line's speed: wait that long once
      // instead of waking for every few bytes the driver passes on. A wait that brings nothing
      // falls back to waking on the next byte. The port is not watched meanwhile, so bytes that
      // come faster than the line's speed sit until then, at most the total time-out (30 ms in
      // the console): still within what the read promises, and too short for anyone to see.
      flowing = false;
      const auto rest = *charTime * static_cast<int>(nNumberOfBytesToRead - got);
      if (Wait(*port, 0, std::min(*deadline, Clock::now() + rest), nullptr) ==
          WaitResult::kClosing) {
        if (lpNumberOfBytesRead) *lpNumberOfBytesRead = got;
        return Fail(ERROR_OPERATION_ABORTED, ECANCELED);
      }
      continue;
    }
    short revents = 0;
    const WaitResult w = Wait(*port, POLLIN, deadline, &revents);
    if (w == WaitResult::kClosing) {
      if (lpNumberOfBytesRead) *lpNumberOfBytesRead = got;
      return Fail(ERROR_OPERATION_ABORTED, ECANCELED);
    }
    if (w == WaitResult::kTimeout) break;
    if ((revents & (POLLERR | POLLHUP | POLLNVAL)) && !(revents & POLLIN)) hangupSeen = true;
  }
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = got;
  if (!failed) return TRUE;
  // Hand over what arrived before the device went; the next call reports the failure.
  if (got > 0) return TRUE;

  // A dead device fails at once on every read: wait out the time-out first so that a loop
  // calling ReadFile never spins.
  std::optional<Clock::time_point> until = plan.total;
  if (!until || plan.immediate) until = start + kErrorPause;
  if (Wait(*port, 0, until, nullptr) == WaitResult::kClosing) {
    return Fail(ERROR_OPERATION_ABORTED, ECANCELED);
  }
  return Fail(ERROR_GEN_FAILURE, systemError);
}

BOOL WriteFile(HANDLE hFile, const void* lpBuffer, DWORD nNumberOfBytesToWrite,
               DWORD* lpNumberOfBytesWritten, void* lpOverlapped) {
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
  t_systemError = 0;
  PortRef port(hFile);
  if (!port) return Fail(ERROR_INVALID_HANDLE, EBADF);
  if (lpOverlapped != nullptr || (lpBuffer == nullptr && nNumberOfBytesToWrite > 0)) {
    return Fail(ERROR_INVALID_PARAMETER, EINVAL);
  }
  platform::TraceLine(platform::LineEvent::kPortWrite,
                      {static_cast<const char*>(lpBuffer), lpBuffer ? nNumberOfBytesToWrite : 0});
  const auto start = Clock::now();
  const COMMTIMEOUTS t = TimeoutsOf(*port);
  const std::uint64_t limitMs =
      std::uint64_t{t.WriteTotalTimeoutMultiplier} * nNumberOfBytesToWrite +
      t.WriteTotalTimeoutConstant;
  const auto deadline =
      limitMs == 0 ? std::optional(start + kDefaultWriteLimit) : After(start, limitMs);

  const auto* in = static_cast<const unsigned char*>(lpBuffer);
  DWORD sent = 0;
  bool hangupSeen = false;
  DWORD error = ERROR_SUCCESS;
  int systemError = 0;
  while (sent < nNumberOfBytesToWrite) {
    const ssize_t r = ::write(port->fd, in + sent, nNumberOfBytesToWrite - sent);
    if (r > 0) {
      sent += static_cast<DWORD>(r);
      continue;
    }
    if (r < 0 && errno == EINTR) continue;
    if (r == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) || hangupSeen) {
      error = ERROR_GEN_FAILURE;
      systemError = DeviceError(r, hangupSeen);
      break;
    }
    short revents = 0;
    const WaitResult w = Wait(*port, POLLOUT, deadline, &revents);
    if (w == WaitResult::kClosing) {
      error = ERROR_OPERATION_ABORTED;
      systemError = ECANCELED;
      break;
    }
    if (w == WaitResult::kTimeout) {
      error = ERROR_SEM_TIMEOUT;
      systemError = ETIMEDOUT;
      break;
    }
    if ((revents & (POLLERR | POLLHUP | POLLNVAL)) && !(revents & POLLOUT)) hangupSeen = true;
  }
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = sent;
  if (error != ERROR_SUCCESS) return Fail(error, systemError);
  return TRUE;
}

BOOL SetCommTimeouts(HANDLE hFile, const COMMTIMEOUTS* lpCommTimeouts) {
  PortRef port(hFile);
  if (!port) return FALSE;
  if (lpCommTimeouts == nullptr) return Fail(ERROR_INVALID_PARAMETER, EINVAL);
  std::lock_guard lock(port->mu);
  port->timeouts = *lpCommTimeouts;
  return TRUE;
}

BOOL GetCommTimeouts(HANDLE hFile, COMMTIMEOUTS* lpCommTimeouts) {
  PortRef port(hFile);
  if (!port) return FALSE;
  if (lpCommTimeouts == nullptr) return Fail(ERROR_INVALID_PARAMETER, EINVAL);
  std::lock_guard lock(port->mu);
  *lpCommTimeouts = port->timeouts;
  return TRUE;
}

// The kernel sizes its own tty buffers; there is nothing to set.
BOOL SetupComm(HANDLE hFile, DWORD /*dwInQueue*/, DWORD /*dwOutQueue*/) {
  PortRef port(hFile);
  return port ? TRUE : FALSE;
}

BOOL PurgeComm(HANDLE hFile, DWORD dwFlags) {
  PortRef port(hFile);
  if (!port) return FALSE;
  constexpr DWORD kKnown = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
  if (dwFlags & ~kKnown) return Fail(ERROR_INVALID_PARAMETER, EINVAL);
  // No overlapped I/O is ever pending, so the abort flags have nothing to cancel.
  const bool rx = (dwFlags & PURGE_RXCLEAR) != 0;
  const bool tx = (dwFlags & PURGE_TXCLEAR) != 0;
  if (!rx && !tx) return TRUE;
  const int queue = rx && tx ? TCIOFLUSH : (rx ? TCIFLUSH : TCOFLUSH);
  if (::tcflush(port->fd, queue) != 0) return Fail(ERROR_GEN_FAILURE, errno);
  return TRUE;
}

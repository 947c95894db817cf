// Serial handles: names, opening, the handle table and closing.
#include "platform/core/serial.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <string_view>
#include <thread>
#include <unordered_map>

#include "platform/core/serial_port.h"

namespace {

using platform::serial_detail::Port;

thread_local DWORD t_lastError = ERROR_SUCCESS;

struct HandleTable {
  std::mutex mu;
  std::unordered_map<HANDLE, std::shared_ptr<Port>> ports;
  HANDLE next = 1;  // never reused: a stale id can never reach a newer port
};

// Never destroyed, so a thread still inside a call at process exit finds it intact.
HandleTable& Table() {
  static auto* table = new HandleTable;
  return *table;
}

struct NameOverrides {
  std::mutex mu;
  std::map<std::string, std::string> paths;
};

NameOverrides& Overrides() {
  static auto* overrides = new NameOverrides;
  return *overrides;
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

DWORD OpenError(int err) {
  switch (err) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EIO:  // a ttyS node without a UART behind it
    case ENOTTY:
      return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EWOULDBLOCK:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
      return ERROR_ACCESS_DENIED;
    default:
      return ERROR_GEN_FAILURE;
  }
}

HANDLE FailOpen(int fd, int err) {
  if (fd >= 0) ::close(fd);
  SetLastError(OpenError(err));
  return INVALID_HANDLE_VALUE;
}

// A real UART's close waits for pending output (up to 30 s by default) when flow control is
// stuck; give it a short while to drain, then drop the rest so CloseHandle stays prompt.
void DrainBriefly(int fd) {
  using namespace std::chrono;
  const auto deadline = steady_clock::now() + milliseconds(200);
  int pending = 0;
  while (::ioctl(fd, TIOCOUTQ, &pending) == 0 && pending > 0) {
    if (steady_clock::now() >= deadline) {
      ::tcflush(fd, TCOFLUSH);
      return;
    }
    std::this_thread::sleep_for(milliseconds(5));
  }
}

}  // namespace

namespace platform::serial_detail {

Port::~Port() {
  if (fd >= 0) ::close(fd);
  if (wakeFd >= 0) ::close(wakeFd);
}

PortRef::PortRef(HANDLE handle) {
  if (handle > 0) {
    HandleTable& table = Table();
    std::lock_guard lock(table.mu);
    auto it = table.ports.find(handle);
    if (it != table.ports.end()) {
      port_ = it->second;
      // Counted under the table lock: once CloseHandle has removed the entry, every call that
      // can still touch the fd is already counted.
      std::lock_guard portLock(port_->mu);
      ++port_->users;
    }
  }
  if (!port_) SetLastError(ERROR_INVALID_HANDLE);
}

PortRef::~PortRef() {
  if (!port_) return;
  std::lock_guard lock(port_->mu);
  if (--port_->users == 0) port_->idle.notify_all();
}

}  // namespace platform::serial_detail

DWORD GetLastError() {
  return t_lastError;
}

void SetLastError(DWORD code) {
  t_lastError = code;
}

namespace platform {

std::string ComDevicePath(const std::string& name) {
  std::string_view s = name;
  constexpr std::string_view kDevicePrefix = "\\\\.\\";
  if (s.starts_with(kDevicePrefix)) s.remove_prefix(kDevicePrefix.size());
  if (s.empty()) return "";
  if (s.front() == '/') return std::string(s);

  const std::string com = Upper(s);
  {
    NameOverrides& overrides = Overrides();
    std::lock_guard lock(overrides.mu);
    auto it = overrides.paths.find(com);
    if (it != overrides.paths.end()) return it->second;
  }
  if (com.size() < 4 || com.size() > 6 || !com.starts_with("COM") || com[3] == '0') return "";
  int number = 0;
  for (size_t i = 3; i < com.size(); ++i) {
    if (com[i] < '0' || com[i] > '9') return "";
    number = number * 10 + (com[i] - '0');
  }
  struct Range {
    int first, last;
    const char* device;
  };
  static constexpr Range kRanges[] = {{1, 32, "/dev/ttyS"},
                                      {33, 64, "/dev/ttyUSB"},
                                      {65, 96, "/dev/ttyACM"},
                                      {97, 100, "/dev/rfcomm"}};
  for (const Range& r : kRanges) {
    if (number >= r.first && number <= r.last) {
      return r.device + std::to_string(number - r.first);
    }
  }
  return "";
}

void SetComNameOverride(const std::string& comName, const std::string& devicePath) {
  NameOverrides& overrides = Overrides();
  std::lock_guard lock(overrides.mu);
  if (devicePath.empty()) {
    overrides.paths.erase(Upper(comName));
  } else {
    overrides.paths[Upper(comName)] = devicePath;
  }
}

}  // namespace platform

HANDLE CreateFileA(const char* lpFileName, DWORD dwDesiredAccess, DWORD /*dwShareMode*/,
                   void* /*lpSecurityAttributes*/, DWORD dwCreationDisposition,
                   DWORD /*dwFlagsAndAttributes*/, HANDLE /*hTemplateFile*/) {
  if (lpFileName == nullptr || dwCreationDisposition != OPEN_EXISTING) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  const std::string path = platform::ComDevicePath(lpFileName);
  if (path.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }

  const bool wantRead = (dwDesiredAccess & GENERIC_READ) != 0;
  const bool wantWrite = (dwDesiredAccess & GENERIC_WRITE) != 0;
  int flags = O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
  flags |= wantWrite ? (wantRead ? O_RDWR : O_WRONLY) : O_RDONLY;
  int fd;
  do {
    fd = ::open(path.c_str(), flags);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return FailOpen(-1, errno);
  if (!::isatty(fd)) return FailOpen(fd, ENOTTY);

  // flock first: a busy device is left exactly as its owner set it. TIOCEXCL then keeps out
  // programs that do not flock (root passes TIOCEXCL, so the flock is the real guard).
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) return FailOpen(fd, errno);
  ::ioctl(fd, TIOCEXCL);

  // No line discipline, as a serial port is expected to have; CLOCAL so no carrier is needed.
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0) return FailOpen(fd, errno);
  ::cfmakeraw(&tio);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) return FailOpen(fd, errno);

  auto port = std::make_shared<Port>();
  port->wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (port->wakeFd < 0) {
    ::ioctl(fd, TIOCNXCL);
    return FailOpen(fd, errno);
  }
  port->fd = fd;

  HandleTable& table = Table();
  std::lock_guard lock(table.mu);
  const HANDLE handle = table.next++;
  table.ports.emplace(handle, std::move(port));
  return handle;
}

BOOL CloseHandle(HANDLE hObject) {
  std::shared_ptr<Port> port;
  {
    HandleTable& table = Table();
    std::lock_guard lock(table.mu);
    auto it = hObject > 0 ? table.ports.find(hObject) : table.ports.end();
    if (it == table.ports.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    port = std::move(it->second);
    table.ports.erase(it);
  }

  port->closing.store(true);
  const std::uint64_t one = 1;
  [[maybe_unused]] ssize_t n = ::write(port->wakeFd, &one, sizeof one);
  {
    std::unique_lock lock(port->mu);
    port->idle.wait(lock, [&] { return port->users == 0; });
  }

  // Only now is nobody inside a call on this fd; closing it frees the device for a reopen.
  DrainBriefly(port->fd);
  ::ioctl(port->fd, TIOCNXCL);
  ::close(port->fd);
  port->fd = -1;
  ::close(port->wakeFd);
  port->wakeFd = -1;
  return TRUE;
}

// The open-port object behind a serial handle, shared by the serial sources.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/core/serial.h"

namespace platform::serial_detail {

struct Port {
  int fd = -1;
  // eventfd signalled by CloseHandle so that a read or write waiting in poll returns at once.
  int wakeFd = -1;
  std::atomic<bool> closing{false};

  std::mutex mu;  // guards everything below
  std::condition_variable idle;
  int users = 0;  // calls in progress; CloseHandle closes the fd only at 0
  COMMTIMEOUTS timeouts{};
  DCB dcb{};
  bool dcbSet = false;

  Port() = default;
  Port(const Port&) = delete;
  Port& operator=(const Port&) = delete;
  ~Port();
};

// Holds a port for the length of one call. An unknown, stale, 0 or -1 handle gives an empty
// reference and sets ERROR_INVALID_HANDLE.
class PortRef {
 public:
  explicit PortRef(HANDLE handle);
  ~PortRef();
  PortRef(const PortRef&) = delete;
  PortRef& operator=(const PortRef&) = delete;

  explicit operator bool() const { return port_ != nullptr; }
  Port* operator->() const { return port_.get(); }
  Port& operator*() const { return *port_; }

 private:
  std::shared_ptr<Port> port_;
};

}  // namespace platform::serial_detail

// What a port scan needs of the window whose link it drives. The main window implements it, so
// that the dialog never needs the window's own header.
#pragma once

#include <atomic>
#include <string>

#include "platform/vcl/vcl.h"

namespace detect {

class ScanTarget {
 public:
  virtual ~ScanTarget() = default;

  // True while the link is the client socket or the socket is still up.
  virtual bool SocketInUse() const = 0;
  virtual bool PortOpen() const = 0;
  // Puts a port or a baud rate into the window's box and shows it at once.
  virtual void ShowPortChoice(const std::string& port) = 0;
  virtual void ShowBaudChoice(const std::string& baud) = 0;
  // The window's own "Open" and "Close".
  virtual void OpenPort(platform::TObject* sender) = 0;
  virtual void ClosePort(platform::TObject* sender) = 0;
  virtual void RepaintWindow() = 0;
  // Every reader started from now on reads flag. Detaching stops a reader that reads it.
  virtual void AttachScanFlag(std::atomic<int>* flag) = 0;
  virtual void DetachScanFlag(std::atomic<int>* flag) = 0;
};

// The window that scans drive, while it exists.
inline ScanTarget* ScanWindow = nullptr;

}  // namespace detect

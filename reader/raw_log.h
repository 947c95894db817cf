// The raw log: every received chunk appended byte for byte. The reader writes while the window
// opens and closes it, so both go through one lock (never held across anything that waits).
#pragma once

#include <cstddef>
#include <cstdio>
#include <mutex>
#include <string>

namespace reader {

class RawLog {
 public:
  RawLog() = default;
  ~RawLog() { Close(); }
  RawLog(const RawLog&) = delete;
  RawLog& operator=(const RawLog&) = delete;

  // Opens (truncating) path for writing; on failure returns false and errno tells why.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const;
  // Appends all n bytes (NUL bytes included) when open; does nothing when closed. A write that
  // fails (a full disk) closes the log, keeping what reached the file before, and returns the
  // system error (errno); otherwise 0.
  int Write(const char* data, std::size_t n);

 private:
  mutable std::mutex m_;
  std::FILE* f_ = nullptr;
};

}  // namespace reader

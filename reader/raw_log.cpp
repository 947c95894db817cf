#include "reader/raw_log.h"

#include <cerrno>

namespace reader {

bool RawLog::Open(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::lock_guard<std::mutex> lock(m_);
  if (f_) std::fclose(f_);
  f_ = f;
  return true;
}

void RawLog::Close() {
  std::lock_guard<std::mutex> lock(m_);
  if (f_) {
    std::fclose(f_);
    f_ = nullptr;
  }
}

bool RawLog::IsOpen() const {
  std::lock_guard<std::mutex> lock(m_);
  return f_ != nullptr;
}

int RawLog::Write(const char* data, std::size_t n) {
  std::lock_guard<std::mutex> lock(m_);
  if (!f_) return 0;
  errno = 0;
  // Flushed per chunk so the file on disk follows the stream while logging runs.
  if (std::fwrite(data, 1, n, f_) == n && std::fflush(f_) == 0) return 0;
  const int error = errno != 0 ? errno : EIO;
  // Stopped at once: a log with holes in it would pass for the stream.
  std::fclose(f_);
  f_ = nullptr;
  return error;
}

}  // namespace reader

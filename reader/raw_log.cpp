#include "reader/raw_log.h"

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

void RawLog::Write(const char* data, std::size_t n) {
  std::lock_guard<std::mutex> lock(m_);
  if (f_) {
    std::fwrite(data, 1, n, f_);
    // Flushed per chunk so the file on disk follows the stream while logging runs.
    std::fflush(f_);
  }
}

}  // namespace reader

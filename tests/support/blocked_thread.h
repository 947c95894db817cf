// Waits for another thread to be asleep in the kernel, in a given system call: the event "it
// is blocked there now", read from /proc, where a fixed sleep would only hope that it got there.
#pragma once

#include <dirent.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <thread>

namespace korvane_test {

inline pid_t ThreadId() {
  return static_cast<pid_t>(::syscall(SYS_gettid));
}

// The calls a thread waits in for a descriptor, and for a lock or a condition.
inline const std::initializer_list<long> kPollCalls = {
#ifdef SYS_poll
    SYS_poll,
#endif
    SYS_ppoll};
inline const std::initializer_list<long> kFutexCalls = {SYS_futex};

// The first thread of this process with that name (at most 15 characters), or 0.
inline pid_t ThreadNamed(const std::string& name) {
  DIR* dir = ::opendir("/proc/self/task");
  if (!dir) return 0;
  pid_t found = 0;
  while (dirent* e = ::readdir(dir)) {
    if (e->d_name[0] == '.') continue;
    std::ifstream comm(std::string("/proc/self/task/") + e->d_name + "/comm");
    std::string line;
    if (std::getline(comm, line) && line == name) {
      found = static_cast<pid_t>(std::stol(e->d_name));
      break;
    }
  }
  ::closedir(dir);
  return found;
}

enum class Blocked { kYes, kNo, kUnknown };

// Whether thread tid sleeps in one of calls; kUnknown when /proc does not tell.
inline Blocked BlockedIn(pid_t tid, std::initializer_list<long> calls) {
  const std::string task = "/proc/self/task/" + std::to_string(tid);
  std::ifstream statFile(task + "/stat");
  const std::string stat((std::istreambuf_iterator<char>(statFile)), {});
  const auto paren = stat.rfind(')');
  if (paren == std::string::npos || paren + 2 >= stat.size()) return Blocked::kUnknown;
  std::ifstream syscallFile(task + "/syscall");
  std::string first;
  if (!(syscallFile >> first)) return Blocked::kUnknown;
  if (stat[paren + 2] != 'S') return Blocked::kNo;
  long nr = -1;
  if (std::from_chars(first.data(), first.data() + first.size(), nr).ec != std::errc())
    return Blocked::kNo;  // "running"
  for (long c : calls)
    if (c == nr) return Blocked::kYes;
  return Blocked::kNo;
}

// Waits until thread tid sleeps in one of calls. Where /proc cannot tell, returns true at once.
inline bool WaitUntilBlockedIn(pid_t tid, std::initializer_list<long> calls, int timeoutMs = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const Blocked b = BlockedIn(tid, calls);
    if (b != Blocked::kNo) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace korvane_test

// The whole window at a saturated line: the real main form, offscreen, reads the simulated
// receiver over a pseudo-terminal fed at 11,520 bytes a second (115200 baud), and the program
// prints the share of one core the window's process used meanwhile. The receiver runs in a
// child process, so its own work is not counted.
//
//   bench_window_cpu [--seconds N] [--warmup N] [--rate BYTES_PER_SECOND]
//
// Pin it to one core (taskset -c N) and compare runs side by side: the share depends on the
// machine and on what else runs on it.
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <string_view>

#include "console/main_form.h"
#include "platform/vcl/vcl.h"
#include "tools/simreceiver/raw_pty.h"
#include "tools/simreceiver/sim_receiver.h"

namespace {

struct Options {
  int seconds = 20;
  int warmup = 3;
  int rate = 11520;
};

bool ParseArgs(int argc, char** argv, Options* o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view name = argv[i];
    const std::string_view text = argv[i + 1];
    int v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || v <= 0) return false;
    if (name == "--seconds") {
      o->seconds = v;
    } else if (name == "--warmup") {
      o->warmup = v;
    } else if (name == "--rate") {
      o->rate = v;
    } else {
      return false;
    }
  }
  return argc % 2 == 1;
}

double Seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// Nanoseconds on a CPU so far, by thread name, for this process's threads.
std::map<std::string, double> ThreadTimes() {
  std::map<std::string, double> out;
  DIR* dir = opendir("/proc/self/task");
  if (!dir) return out;
  while (dirent* e = readdir(dir)) {
    if (e->d_name[0] == '.') continue;
    const std::string base = std::string("/proc/self/task/") + e->d_name;
    std::ifstream comm(base + "/comm"), stat(base + "/schedstat");
    std::string name;
    double ns = 0;
    if (std::getline(comm, name) && (stat >> ns)) out[name] += ns;
  }
  closedir(dir);
  return out;
}

// The receiver's side: the line delivers rate bytes a second, a millisecond's worth at a time
// as a USB serial adapter hands them on; commands from the console are answered after the
// sentences already on their way. Ends when the window's process does.
[[noreturn]] void FeedLine(int master, int rate) {
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  sim::SimReceiver rx;
  std::string out;
  std::size_t at = 0;
  std::uint64_t sent = 0;
  const auto start = std::chrono::steady_clock::now();
  timespec next{};
  clock_gettime(CLOCK_MONOTONIC, &next);
  for (;;) {
    next.tv_nsec += 1000000;
    if (next.tv_nsec >= 1000000000) {
      next.tv_nsec -= 1000000000;
      ++next.tv_sec;
    }
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);

    char in[512];
    ssize_t got;
    while ((got = read(master, in, sizeof in)) > 0) out += rx.Feed(std::string_view(in, got));
    if (got == 0 || (got < 0 && errno == EIO)) _exit(0);  // the line is gone

    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto due = static_cast<std::uint64_t>(elapsed * rate);
    // A line nobody read for a second has lost what it carried meanwhile.
    if (due > sent + static_cast<std::uint64_t>(rate)) sent = due;
    while (sent < due) {
      if (out.size() - at < 512) {
        out.erase(0, at);
        at = 0;
        out += rx.Cycle();  // the line is saturated: the next epoch follows at once
      }
      const std::size_t n = std::min<std::uint64_t>(due - sent, out.size() - at);
      const ssize_t w = write(master, out.data() + at, n);
      if (w <= 0) break;  // the console is not reading: the bytes wait on the line
      at += static_cast<std::size_t>(w);
      sent += static_cast<std::uint64_t>(w);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  if (!ParseArgs(argc, argv, &opt)) {
    std::fprintf(stderr, "usage: %s [--seconds N] [--warmup N] [--rate BYTES_PER_SECOND]\n",
                 argv[0]);
    return 2;
  }
  sim::RawPty pty;
  std::string error;
  if (!sim::OpenRawPty(&pty, &error)) {
    std::fprintf(stderr, "pseudo-terminal: %s\n", error.c_str());
    return 1;
  }
  // Forked before any thread exists.
  const pid_t feeder = fork();
  if (feeder < 0) {
    std::perror("fork");
    return 1;
  }
  if (feeder == 0) FeedLine(pty.master, opt.rate);
  close(pty.master);

  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  using platform::Application;
  Application->Initialize();
  int boxes = 0;
  Application->SetModalResponder([&](platform::TModalRequest& r) {
    ++boxes;
    std::fprintf(stderr, "box: %s\n", r.Text.c_str());
    return platform::IDOK;
  });
  Application->CreateForm(console::MainForm);
  console::TMainForm* form = console::MainForm;
  form->Show();
  form->CmbCom->Text = pty.path;
  form->CmbBaud->ItemIndex = 6;  // 115200
  form->BtnOpen->Click();
  if (form->ComHandle.load() == 0) {
    std::fprintf(stderr, "the window could not open %s\n", pty.path.c_str());
    kill(feeder, SIGTERM);
    return 1;
  }

  rusage before{};
  std::map<std::string, double> threadsBefore, threadsAfter;
  auto wallStart = std::chrono::steady_clock::now();
  bool measuring = false;
  double share = 0, user = 0, sys = 0, wall = 0;
  long switches = 0;
  auto* clock = new platform::TTimer(Application);
  clock->Interval = opt.warmup * 1000;
  clock->OnTimer = [&](platform::TObject*) {
    if (!measuring) {
      measuring = true;
      getrusage(RUSAGE_SELF, &before);
      threadsBefore = ThreadTimes();
      wallStart = std::chrono::steady_clock::now();
      clock->Interval = opt.seconds * 1000;
      return;
    }
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    threadsAfter = ThreadTimes();
    wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    user = Seconds(after.ru_utime) - Seconds(before.ru_utime);
    sys = Seconds(after.ru_stime) - Seconds(before.ru_stime);
    switches = (after.ru_nvcsw - before.ru_nvcsw) + (after.ru_nivcsw - before.ru_nivcsw);
    share = 100.0 * (user + sys) / wall;
    clock->Enabled = false;
    Application->Terminate();
  };
  Application->Run();
  kill(feeder, SIGTERM);
  waitpid(feeder, nullptr, 0);

  std::printf(
      "window cpu share: %.2f %% of a core over %.1f s (user %.3f s, system %.3f s, "
      "%ld context switches, %d boxes)\n",
      share, wall, user, sys, switches, boxes);
  for (const auto& [name, ns] : threadsAfter) {
    const double used = (ns - threadsBefore[name]) / 1e9;
    if (used > 0) std::printf("  thread %s: %.2f %%\n", name.c_str(), 100.0 * used / wall);
  }
  return wall > 0 ? 0 : 1;
}

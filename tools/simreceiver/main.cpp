// korvane-simreceiver: a simulated receiver to try the console with, over a pty or TCP.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tools/simreceiver/nmea_text.h"
#include "tools/simreceiver/sim_link.h"

namespace {

constexpr uint16_t kDefaultPort = 7005;

void Usage(std::FILE* to) {
  std::fprintf(to,
               "usage: korvane-simreceiver (--pty | --tcp [PORT]) [options]\n"
               "  --pty             serve on a new pseudo-terminal; prints its path\n"
               "  --tcp [PORT]      listen on 127.0.0.1:PORT (default %u, 0 picks a free port)\n"
               "  --period MS       one fix epoch every MS milliseconds at 1 Hz (default 1000)\n"
               "  --fail-settings   answer every setting command with a failure\n"
               "  --fault NAME      inject a fault, repeatable: bad-checksum, split-write,\n"
               "                    other-talkers, nul-bytes, long-field, garbage,\n"
               "                    lower-case-checksum\n"
               "  --help            show this text\n",
               static_cast<unsigned>(kDefaultPort));
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "korvane-simreceiver: %s\n", message.c_str());
  Usage(stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  enum class Mode { kNone, kPty, kTcp } mode = Mode::kNone;
  long port = kDefaultPort;
  sim::LinkOptions options;
  sim::SimReceiver model;

  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_next = i + 1 < argc;
    if (arg == "--help" || arg == "-h") {
      Usage(stdout);
      return 0;
    } else if (arg == "--pty") {
      mode = Mode::kPty;
    } else if (arg == "--tcp") {
      mode = Mode::kTcp;
      if (has_next && argv[i + 1][0] != '-') {
        const auto p = sim::ParseInt(argv[++i]);
        if (!p || *p < 0 || *p > 65535) return Fail("bad port: " + std::string(argv[i]));
        port = *p;
      }
    } else if (arg == "--period") {
      const auto ms = has_next ? sim::ParseInt(argv[++i]) : std::nullopt;
      if (!ms || *ms < 1 || *ms > 3600000) return Fail("--period needs milliseconds");
      options.period_ms = static_cast<int>(*ms);
    } else if (arg == "--fail-settings") {
      model.SetFailSettings(true);
    } else if (arg == "--fault") {
      const auto fault = has_next ? sim::FaultFromName(argv[++i]) : std::nullopt;
      if (!fault) return Fail("unknown fault: " + std::string(has_next ? argv[i] : ""));
      model.Faults().Set(*fault, true);
    } else {
      return Fail("unknown option: " + std::string(arg));
    }
  }
  if (mode == Mode::kNone) return Fail("choose --pty or --tcp");

  // Signals are taken by sigwait below; the serving thread inherits the mask.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  sim::Link link(std::move(model), options);
  std::string error;
  if (mode == Mode::kPty) {
    if (!link.StartPty(&error)) {
      std::fprintf(stderr, "korvane-simreceiver: %s\n", error.c_str());
      return 1;
    }
    std::printf("%s\n", link.SlavePath().c_str());
  } else {
    if (!link.StartTcp(static_cast<uint16_t>(port), &error)) {
      std::fprintf(stderr, "korvane-simreceiver: %s\n", error.c_str());
      return 1;
    }
    std::printf("listening on 127.0.0.1:%u\n", static_cast<unsigned>(link.Port()));
  }
  std::fflush(stdout);

  int sig = 0;
  sigwait(&stop_signals, &sig);
  link.Stop();
  return 0;
}

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/serial.h"
#include "reader/nmea_thread.h"
#include "tests/reader/fake_owner.h"
#include "tests/reader/sentence_util.h"
#include "tests/support/blocked_thread.h"

using testutil::FakeOwner;
using testutil::Line;
using testutil::PumpUntil;

namespace {

// A pseudo-terminal whose slave is opened through the serial layer, as the console opens a port.
class PtyLink {
 public:
  PtyLink() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master_);
    unlockpt(master_);
    path_ = ptsname(master_);
    handle_ = CreateFileA(("\\\\.\\" + path_).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                          OPEN_EXISTING, 0, 0);
    DCB dcb{};
    dcb.BaudRate = 115200;
    dcb.ByteSize = 8;
    dcb.fBinary = 1;
    SetCommState(handle_, &dcb);
    COMMTIMEOUTS t{};
    t.ReadTotalTimeoutConstant = 30;
    t.WriteTotalTimeoutConstant = 100;
    SetCommTimeouts(handle_, &t);
  }
  ~PtyLink() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    if (master_ >= 0) close(master_);
  }
  HANDLE handle() const { return handle_; }
  int master() const { return master_; }
  void Send(const std::string& bytes) {
    ASSERT_EQ(write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  void CloseMaster() {
    close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  std::string path_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

std::size_t FileSize(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? static_cast<std::size_t>(st.st_size) : 0;
}

std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

class ReaderThread : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(link.handle(), INVALID_HANDLE_VALUE);
    owner.ComHandle = link.handle();
  }
  void TearDown() override {
    if (reader) {
      reader->Terminate();
      reader->WaitFor();
    }
    platform::CheckSynchronize(0);  // reaps it
  }
  void Start() {
    reader = platform::NewThread<reader::TNMEAThread>(false, owner);
    reader->FreeOnTerminate = true;
  }
  PtyLink link;
  FakeOwner owner;
  reader::TNMEAThread* reader = nullptr;
};

const std::string kZda = Line("$GPZDA,201530.00,04,07,2002,00,00");
const std::string kGga =
    Line("$GPGGA,092750.000,5321.6802,N,00630.3372,W,1,8,1.03,61.7,M,55.2,M,,");

TEST_F(ReaderThread, DecodesAndHandsStepsToWindowThread) {
  owner.PowerTestAcked = true;
  Start();
  EXPECT_FALSE(owner.PowerTestAcked) << "a new reader clears it";
  link.Send(kZda + kGga + Line("$PQVU500,200") + Line("$PQVU001,220,3") + "$GP");
  ASSERT_TRUE(PumpUntil([&] { return owner.lastYear == 2002 && owner.AckOkCommand == 220; }));
  EXPECT_EQ(owner.lastFixRate, 5);
  EXPECT_EQ(owner.replySteps, 1);
  EXPECT_GE(owner.rawSteps, 1);
  EXPECT_FALSE(owner.stepOffMainThread);
  EXPECT_NE(owner.rawSeen.find("$GPZDA"), std::string::npos);
}

// A turn: its raw text, the reply steps (each seeing its reply), then the refresh.
TEST_F(ReaderThread, StepsOfATurnReachTheWindowInOrder) {
  const std::string replies[] = {Line("$PQVU500,200"), Line("$PQVU500,500")};
  Start();
  link.Send(kZda + replies[0] + replies[1] + kGga + "$GP");
  ASSERT_TRUE(PumpUntil([&] { return owner.replySteps == 2 && owner.lastYear == 2002; }));
  std::string order, raw;  // order: R raw text, F fix rate, r refresh; raw: the turn's text
  std::vector<std::string> rates;
  for (const std::string& step : owner.steps) {
    order += step == "refresh" ? 'r' : step[0] == 'r' ? 'R' : 'F';
    if (order.back() == 'R') raw = step.substr(4);
    if (order.back() == 'F') {
      EXPECT_NE(raw.find(replies[rates.empty() ? 0 : 1]), std::string::npos)
          << "the reply's line, whole, in its turn";
      rates.push_back(step.substr(8));
    }
  }
  EXPECT_TRUE(std::regex_match(order, std::regex("(RF*r)+"))) << order;
  EXPECT_EQ(rates, (std::vector<std::string>{"5", "2"}));
}

TEST_F(ReaderThread, RawLogHoldsEveryByte) {
  char path[] = "/tmp/korvane-log-XXXXXX";
  int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  ASSERT_TRUE(owner.LogFile.Open(path));
  Start();
  std::string bytes = "AB";
  bytes += '\0';
  bytes += "CD\r\n" + kZda + std::string("\xFF\x01", 2) + kGga;
  for (int i = 0; i < 20; ++i) bytes += kZda;
  link.Send(bytes);
  ASSERT_TRUE(PumpUntil([&] { return Slurp(path).size() >= bytes.size(); }));
  reader->Terminate();
  reader->WaitFor();
  owner.LogFile.Close();
  EXPECT_EQ(Slurp(path), bytes);
  unlink(path);
}

TEST_F(ReaderThread, ScanningSkipsStepsUntilValidSentence) {
  owner.scanning = 1;
  Start();
  link.Send(Line("$PQVU001,1,3") + "$GPGGA,bad*00\r\n");
  // Without a valid "$GP" the reader runs no step, though it has decoded the acknowledgement.
  ASSERT_TRUE(PumpUntil([&] { return owner.AckOkCommand == 1; }));
  EXPECT_EQ(owner.rawSteps + owner.refreshSteps, 0);
  EXPECT_EQ(owner.scanning.load(), 1);
  link.Send(kZda + kGga);
  ASSERT_TRUE(PumpUntil([&] { return owner.scanning.load() == 0 && owner.refreshSteps > 0; }));
}

TEST_F(ReaderThread, TerminatedReaderRunsNoPendingStep) {
  char path[] = "/tmp/korvane-pending-XXXXXX";
  close(mkstemp(path));
  ASSERT_TRUE(owner.LogFile.Open(path));
  Start();
  // Do not pump: the reader blocks in its first step; Terminate must cancel it.
  link.Send(kZda + kGga);
  // It logs a chunk before handing on its step, then waits for the window.
  ASSERT_TRUE(testutil::WaitFor([&] { return FileSize(path) > 0; }));
  const pid_t tid = korvane_test::ThreadNamed("NMEAThread");
  ASSERT_NE(tid, 0);
  ASSERT_TRUE(korvane_test::WaitUntilBlockedIn(tid, korvane_test::kFutexCalls));
  reader->Terminate();
  reader->WaitFor();
  platform::CheckSynchronize(0);
  reader = nullptr;  // reaped
  EXPECT_EQ(owner.rawSteps + owner.refreshSteps + owner.replySteps, 0);
  owner.LogFile.Close();
  unlink(path);
}

TEST_F(ReaderThread, DeadDeviceDoesNotSpin) {
  Start();
  link.Send(kZda + kGga);
  ASSERT_TRUE(PumpUntil([&] { return owner.refreshSteps > 0; }));
  link.CloseMaster();
  // The reader keeps waiting out its time-out; after Terminate it ends promptly.
  clock_t before = clock();
  PumpUntil([] { return false; }, 500);
  double cpu = double(clock() - before) / CLOCKS_PER_SEC;
  EXPECT_LT(cpu, 0.2) << "the test process burned CPU while the device was gone";
}

// Silence is a quiet line and keeps the link; a hang-up is reported once, with the port and
// the system error.
TEST_F(ReaderThread, HangUpIsReportedOnceAndSilenceNever) {
  Start();
  link.Send(kZda + kGga);
  ASSERT_TRUE(PumpUntil([&] { return owner.refreshSteps > 0; }));
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(owner.portFailures.load(), 0);
  link.CloseMaster();
  ASSERT_TRUE(PumpUntil([&] { return owner.portFailures.load() > 0; }, 3000));
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(owner.portFailures.load(), 1);
  EXPECT_EQ(owner.failedPort.load(), link.handle());
  EXPECT_EQ(owner.portError.load(), EIO);
}

// A port the window closes under the read is no loss.
TEST_F(ReaderThread, PortClosedByTheWindowIsNoLoss) {
  Start();
  link.Send(kZda + kGga);
  ASSERT_TRUE(PumpUntil([&] { return owner.refreshSteps > 0; }));
  ASSERT_EQ(CloseHandle(link.handle()), TRUE);
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(owner.portFailures.load(), 0);
}

// A log that cannot be written stops at the failure, keeps what it had, and the reader decodes
// on.
TEST_F(ReaderThread, FailedLogWriteStopsTheLog) {
  ASSERT_TRUE(owner.LogFile.Open("/dev/full"));
  Start();
  link.Send(kZda + kGga);
  ASSERT_TRUE(PumpUntil([&] { return owner.logFailures.load() > 0; }));
  EXPECT_EQ(owner.logError.load(), ENOSPC);
  EXPECT_FALSE(owner.LogFile.IsOpen());
  link.Send(Line("$GPZDA,201530.00,04,07,2003,00,00") + kGga);
  ASSERT_TRUE(PumpUntil([&] { return owner.lastYear == 2003; }));
  EXPECT_EQ(owner.logFailures.load(), 1);
}

TEST_F(ReaderThread, ExceptionInStepDoesNotKillReader) {
  std::vector<std::string> reported;
  platform::SetExceptionHandler([&](std::exception_ptr e) {
    try {
      std::rethrow_exception(e);
    } catch (const std::exception& ex) {
      reported.push_back(ex.what());
    }
  });
  int calls = 0;
  owner.onRefresh = [&] {
    if (++calls == 1) throw std::runtime_error("conversion error");
  };
  Start();
  link.Send(kZda + kGga);
  ASSERT_TRUE(PumpUntil([&] { return calls >= 1; }));
  link.Send(kZda + kGga + kZda);
  ASSERT_TRUE(PumpUntil([&] { return calls >= 2; }));
  EXPECT_EQ(reported.size(), 1u);
  platform::SetExceptionHandler(nullptr);
}

}  // namespace

namespace {

// A receiver that never stops talking: numbered lines, so any slice of it can be placed.
class Streamer {
 public:
  // Writes never block: the test thread that would drain the reader may be joining us.
  explicit Streamer(int fd) : fd_(fd) {
    fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) | O_NONBLOCK);
    thread_ = std::thread([this] { Run(); });
  }
  ~Streamer() { Stop(); }
  // After this, Text() holds every byte that reached the line.
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  std::string Text() const {
    std::lock_guard<std::mutex> lock(m_);
    return text_;
  }

 private:
  void Run() {
    for (int i = 0; !stop_; ++i) {
      std::string line = "$GPTXT," + std::to_string(i) + "\r\n";
      std::size_t done = 0;
      while (done < line.size() && !stop_) {
        ssize_t n = write(fd_, line.data() + done, line.size() - done);
        if (n > 0) {
          std::lock_guard<std::mutex> lock(m_);
          text_.append(line, done, static_cast<std::size_t>(n));
          done += static_cast<std::size_t>(n);
        } else {
          pollfd p{fd_, POLLOUT, 0};
          poll(&p, 1, 10);
        }
      }
      if (i % 50 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  int fd_;
  std::atomic<bool> stop_{false};
  mutable std::mutex m_;
  std::string text_;
  std::thread thread_;
};

// Each piece of `pieces` is a slice of `stream`, and they lie in stream order.
::testing::AssertionResult OrderedSlices(const std::vector<std::string>& pieces,
                                         const std::string& stream) {
  std::size_t at = 0;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (pieces[i].empty()) continue;
    std::size_t found = stream.find(pieces[i], at);
    if (found == std::string::npos)
      return ::testing::AssertionFailure() << "piece " << i << " is not a slice after " << at;
    at = found + pieces[i].size();
  }
  return ::testing::AssertionSuccess();
}

TEST(ReaderLog, TogglingTheLogWhileStreamingKeepsEachFileASlice) {
  PtyLink link;
  HANDLE h = link.handle();
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  const int master = link.master();
  FakeOwner owner;
  owner.ComHandle = h;
  auto* reader = platform::NewThread<reader::TNMEAThread>(false, owner);
  reader->FreeOnTerminate = true;
  std::vector<std::string> files;
  std::string stream;
  {
    Streamer streamer(master);
    for (int i = 0; i < 300; ++i) {
      std::string path =
          "/tmp/korvane-toggle-" + std::to_string(getpid()) + "-" + std::to_string(i);
      ASSERT_TRUE(owner.LogFile.Open(path));
      files.push_back(path);
      platform::CheckSynchronize(1);
      owner.LogFile.Close();
      platform::CheckSynchronize(0);
    }
    streamer.Stop();
    stream = streamer.Text();
  }
  reader->Terminate();
  reader->WaitFor();
  platform::CheckSynchronize(0);
  // Whatever the stream was, the files hold ordered slices of what the reader read.
  std::vector<std::string> pieces;
  std::size_t total = 0;
  for (const auto& f : files) {
    pieces.push_back(Slurp(f));
    total += pieces.back().size();
    unlink(f.c_str());
  }
  EXPECT_GT(total, 0u);
  EXPECT_TRUE(OrderedSlices(pieces, stream));
}

// A disk that fills up: the bytes before the failure stay in the file, and the log is closed.
TEST(ReaderLog, WriteFailureKeepsWhatWasWrittenAndCloses) {
  char path[] = "/tmp/korvane-full-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  reader::RawLog log;
  ASSERT_TRUE(log.Open(path));
  // The file size limit stands in for the full disk; its signal is ignored meanwhile.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit small{250, saved.rlim_max};
  auto* oldHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string offered;
  int error = 0;
  for (int i = 0; i < 10 && error == 0; ++i) {
    const std::string chunk(100, static_cast<char>('a' + i));
    offered += chunk;
    error = log.Write(chunk.data(), chunk.size());
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(error, EFBIG);
  EXPECT_EQ(offered.size(), 300u) << "the first chunk past the limit fails";
  EXPECT_FALSE(log.IsOpen());
  EXPECT_EQ(log.Write("x", 1), 0) << "a closed log takes nothing and reports nothing";
  EXPECT_EQ(Slurp(path), offered.substr(0, 250));
  unlink(path);
}

TEST(ReaderLog, ReplacedReadersNeverReadAtOnce) {
  PtyLink link;
  HANDLE h = link.handle();
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  const int master = link.master();
  char path[] = "/tmp/korvane-restarts-XXXXXX";
  close(mkstemp(path));
  FakeOwner owner;
  owner.ComHandle = h;
  ASSERT_TRUE(owner.LogFile.Open(path));
  std::string stream;
  std::vector<std::size_t> ends;  // where each reader's part of the log ends
  {
    Streamer streamer(master);
    for (int i = 0; i < 100; ++i) {
      // Stopping a reader is terminate and join, before the next one starts.
      const std::size_t before = ends.empty() ? 0 : ends.back();
      auto* r = platform::NewThread<reader::TNMEAThread>(false, owner);
      r->FreeOnTerminate = true;
      const bool logged = PumpUntil([&] { return FileSize(path) > before; });
      r->Terminate();
      r->WaitFor();
      platform::CheckSynchronize(0);
      ASSERT_TRUE(logged) << "reader " << i << " read nothing";
      ends.push_back(FileSize(path));
    }
    streamer.Stop();
    stream = streamer.Text();
  }
  owner.LogFile.Close();
  // A new reader discards what waits in the port, so the log has gaps between readers; but
  // each reader's part is one slice of the stream, and the parts are in order: no two readers
  // shared the port.
  const std::string log = Slurp(path);
  ASSERT_EQ(log.size(), ends.back());
  std::vector<std::string> parts;
  std::size_t at = 0;
  for (std::size_t end : ends) {
    parts.push_back(log.substr(at, end - at));
    at = end;
  }
  EXPECT_TRUE(OrderedSlices(parts, stream));
  unlink(path);
}

}  // namespace

#include "platform/core/client_socket.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/thread.h"
#include "tests/platform/main_loop_pump.h"
#include "tests/support/blocked_thread.h"

using korvane_test::kPollCalls;
using korvane_test::MsSince;
using korvane_test::PumpUntil;
using korvane_test::WaitUntil;
using korvane_test::WaitUntilBlockedIn;
using platform::TClientSocket;
using platform::TThread;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

// A listening socket on 127.0.0.1 with an ephemeral port; the receiver's side of the link.
class TestServer {
 public:
  TestServer() {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(fd_, 8);
    socklen_t len = sizeof a;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
  }
  ~TestServer() {
    for (int fd : peers_) close(fd);
    close(fd_);
  }
  int Port() const { return port_; }

  int Accept(int timeoutMs = 5000) {
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) != 1) return -1;
    const int fd = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) peers_.push_back(fd);
    return fd;
  }

  // Closes a peer now; with reset, by RST instead of FIN.
  void Drop(int fd, bool reset) {
    if (reset) {
      linger l{1, 0};
      setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
    }
    close(fd);
    std::erase(peers_, fd);
  }

  // Reads until n bytes or EOF or timeout.
  static std::string Read(int fd, size_t n, int timeoutMs = 5000) {
    std::string out;
    const auto t0 = Clock::now();
    while (out.size() < n && MsSince(t0) < timeoutMs) {
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, 50) != 1) continue;
      char buf[4096];
      const ssize_t r = recv(fd, buf, std::min(sizeof buf, n - out.size()), 0);
      if (r <= 0) break;
      out.append(buf, static_cast<size_t>(r));
    }
    return out;
  }

  static bool SeesEof(int fd, int timeoutMs = 3000) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) != 1) return false;
    char c;
    return recv(fd, &c, 1, 0) == 0;
  }

  static void Write(int fd, const std::string& s) {
    size_t off = 0;
    while (off < s.size()) {
      const ssize_t r = send(fd, s.data() + off, s.size() - off, MSG_NOSIGNAL);
      if (r <= 0) return;
      off += static_cast<size_t>(r);
    }
  }

 private:
  int fd_ = -1;
  int port_ = 0;
  std::vector<int> peers_;
};

// The reader's loop, cut down: read chunks of at most 100 bytes until terminated.
class SocketReader : public TThread {
 public:
  explicit SocketReader(TClientSocket& s) : TThread(false), socket_(s) {}
  ~SocketReader() override {
    Terminate();
    WaitFor();
  }
  std::string Data() {
    std::lock_guard lk(m_);
    return data_;
  }
  std::atomic<int> calls{0};
  std::atomic<int> zeros{0};
  std::atomic<int> oversize{0};
  std::atomic<pid_t> tid{0};

  // Waits until the reader sleeps in a read (or in the wait for its stop).
  bool Blocked() {
    return WaitUntil([&] { return tid.load() != 0; }) && WaitUntilBlockedIn(tid, kPollCalls);
  }
  // Stops it; false when the stop did not end it.
  bool Stop() {
    Terminate();
    return WaitUntil([&] { return Finished(); });
  }

 protected:
  void Execute() override {
    tid = korvane_test::ThreadId();
    while (!Terminated()) {
      char buf[128];
      const int n = socket_.ReceiveBuf(buf, 100);
      calls++;
      if (n > 100) oversize++;
      if (n > 0) {
        std::lock_guard lk(m_);
        data_.append(buf, static_cast<size_t>(n));
      } else {
        zeros++;
      }
    }
  }

 private:
  TClientSocket& socket_;
  std::mutex m_;
  std::string data_;
};

std::unique_ptr<SocketReader> StartReader(TClientSocket& s) {
  return std::unique_ptr<SocketReader>(platform::NewThread<SocketReader>(s));
}

// Records the socket's events (they run on the window thread).
struct EventLog {
  int connects = 0, disconnects = 0, errors = 0;
  int lastError = 0;
  bool offWindowThread = false;

  void Attach(TClientSocket& s) {
    s.OnConnect = [this](TClientSocket&) { Note(connects); };
    s.OnDisconnect = [this](TClientSocket&) { Note(disconnects); };
    s.OnError = [this](TClientSocket&, int& code) {
      Note(errors);
      lastError = code;
      code = 0;
    };
  }
  void Note(int& counter) {
    ++counter;
    if (!platform::IsMainThread()) offWindowThread = true;
  }
};

int ClosedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t len = sizeof a;
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  close(fd);
  return ntohs(a.sin_port);
}

class ClientSocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    while (platform::CheckSynchronize(0)) {
    }
    socket_.Host = "127.0.0.1";
    socket_.Port = server_.Port();
    events_.Attach(socket_);
  }
  void TearDown() override {
    platform::StopAllThreads();
    while (platform::CheckSynchronize(0)) {
    }
    EXPECT_FALSE(events_.offWindowThread) << "a socket event ran off the window thread";
  }

  // Connects and returns the server's end of the connection.
  int Connect() {
    socket_.SetActive(true);
    EXPECT_TRUE(socket_.Active());
    const int peer = server_.Accept();
    EXPECT_GE(peer, 0);
    const int before = events_.connects;
    EXPECT_TRUE(PumpUntil([&] { return events_.connects == before + 1; }));
    return peer;
  }

  TestServer server_;
  TClientSocket socket_;
  EventLog events_;
};

TEST_F(ClientSocketTest, ConnectPostsOnConnectAndBytesFlowBothWays) {
  socket_.SetActive(true);
  EXPECT_TRUE(socket_.Active());
  EXPECT_EQ(events_.connects, 0) << "OnConnect must be posted, not run inside SetActive";
  const int peer = server_.Accept();
  ASSERT_GE(peer, 0);
  ASSERT_TRUE(PumpUntil([&] { return events_.connects == 1; }));

  // Console to receiver, text and binary.
  const std::string query = "$PQVU705*2D\r\n";
  EXPECT_EQ(socket_.SendText(query), static_cast<int>(query.size()));
  EXPECT_EQ(TestServer::Read(peer, query.size()), query);
  const std::string binary("\x00\xff$GP\x00\r\n", 8);
  EXPECT_EQ(socket_.SendBuf(binary.data(), static_cast<int>(binary.size())), 8);
  EXPECT_EQ(TestServer::Read(peer, binary.size()), binary);
  EXPECT_EQ(socket_.SendText(""), 0);

  // Receiver to console: every byte in order, in chunks of at most the asked count.
  auto reader = StartReader(socket_);
  std::string stream("$GPGGA,1\x00\xfe\r\n", 13);
  for (int i = 0; stream.size() < 64 * 1024; ++i) stream += "$GPRMC," + std::to_string(i) + "\r\n";
  TestServer::Write(peer, stream);
  ASSERT_TRUE(WaitUntil([&] { return reader->Data().size() >= stream.size(); }));
  EXPECT_EQ(reader->Data(), stream);
  EXPECT_EQ(reader->oversize.load(), 0);
  EXPECT_EQ(reader->zeros.load(), 0);
  platform::CheckSynchronize(0);
  EXPECT_EQ(events_.disconnects, 0);
  EXPECT_EQ(events_.errors, 0);
}

TEST_F(ClientSocketTest, BlockedReceiveWakesOnTerminate) {
  Connect();
  auto reader = StartReader(socket_);
  ASSERT_TRUE(reader->Blocked());
  EXPECT_EQ(reader->calls.load(), 0) << "ReceiveBuf returned with no data";
  // The read waits without a time-out: only the stop can end it.
  EXPECT_TRUE(reader->Stop()) << "Terminate did not wake the read";
  reader->WaitFor();
  EXPECT_EQ(reader->calls.load(), 1);
  EXPECT_EQ(reader->zeros.load(), 1);
  platform::CheckSynchronize(50);
  EXPECT_EQ(events_.disconnects, 0);
  EXPECT_TRUE(socket_.Active());
}

TEST_F(ClientSocketTest, PeerCloseEndsTheReadOnceWithoutSpinning) {
  for (bool reset : {false, true}) {
    SCOPED_TRACE(reset ? "peer reset" : "peer closed");
    events_ = EventLog{};
    events_.Attach(socket_);
    const int peer = Connect();
    auto reader = StartReader(socket_);
    TestServer::Write(peer, "$GPGSA,A\r\n");
    ASSERT_TRUE(WaitUntil([&] { return reader->Data().size() == 10; }));
    server_.Drop(peer, reset);

    ASSERT_TRUE(WaitUntil([&] { return reader->zeros.load() >= 1; }));
    ASSERT_TRUE(PumpUntil([&] { return events_.disconnects == 1; }));
    EXPECT_FALSE(socket_.Active());
    EXPECT_EQ(socket_.SendText("$PQVU160*hh\r\n"), -1);
    // The reader keeps calling; a closed socket must make it wait, not spin.
    std::this_thread::sleep_for(200ms);
    platform::CheckSynchronize(0);
    EXPECT_EQ(reader->zeros.load(), 1);
    EXPECT_EQ(events_.disconnects, 1);
    EXPECT_TRUE(reader->Stop());
    reader.reset();
    platform::CheckSynchronize(20);
    EXPECT_EQ(events_.disconnects, 1);
    EXPECT_EQ(events_.errors, 0);
  }
  // The socket connects again afterwards, on a new connection.
  const int peer = Connect();
  auto reader = StartReader(socket_);
  TestServer::Write(peer, "again");
  EXPECT_TRUE(WaitUntil([&] { return reader->Data() == "again"; }));
}

TEST_F(ClientSocketTest, DeactivatingWakesAReaderAndDisconnectsOnce) {
  const int peer = Connect();
  auto reader = StartReader(socket_);
  ASSERT_TRUE(reader->Blocked());
  socket_.SetActive(false);
  EXPECT_FALSE(socket_.Active());
  ASSERT_TRUE(WaitUntil([&] { return reader->zeros.load() == 1; }, 2000));
  EXPECT_TRUE(TestServer::SeesEof(peer)) << "the receiver did not see the link end";
  ASSERT_TRUE(PumpUntil([&] { return events_.disconnects == 1; }));
  socket_.SetActive(false);  // already inactive: nothing more
  std::this_thread::sleep_for(100ms);
  platform::CheckSynchronize(0);
  EXPECT_EQ(events_.disconnects, 1);
  EXPECT_EQ(reader->zeros.load(), 1) << "the idle reader spins";
  EXPECT_EQ(socket_.SendText("x"), -1);
}

TEST_F(ClientSocketTest, FailedConnectsPostOnErrorWithTheSystemCode) {
  struct Case {
    const char* name;
    std::string host;
    int port;
    std::vector<int> codes;
  };
  const Case cases[] = {
      {"closed port", "127.0.0.1", ClosedPort(), {ECONNREFUSED}},
      {"port out of range", "127.0.0.1", 70000, {EINVAL}},
      {"port zero", "127.0.0.1", 0, {EINVAL}},
      {"empty host", "", server_.Port(), {EHOSTUNREACH}},
      // Without a resolver the lookup may fail or time out; either way it is bounded.
      {"unknown host", "no-such-host.invalid", server_.Port(), {EHOSTUNREACH, ETIMEDOUT}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    events_ = EventLog{};
    events_.Attach(socket_);
    socket_.Host = c.host;
    socket_.Port = c.port;
    socket_.ConnectTimeoutMs = 1000;
    const auto t0 = Clock::now();
    socket_.SetActive(true);
    EXPECT_LT(MsSince(t0), 3000);
    EXPECT_FALSE(socket_.Active());
    EXPECT_EQ(events_.errors, 0) << "OnError must be posted, not run inside SetActive";
    ASSERT_TRUE(PumpUntil([&] { return events_.errors == 1; }));
    EXPECT_NE(std::find(c.codes.begin(), c.codes.end(), events_.lastError), c.codes.end())
        << "code " << events_.lastError;
    platform::CheckSynchronize(0);
    EXPECT_EQ(events_.connects, 0);
    EXPECT_EQ(events_.disconnects, 0);
    EXPECT_EQ(socket_.SendText("x"), -1);
  }
}

TEST_F(ClientSocketTest, ConnectGivesUpAtItsTimeOut) {
  // A listener whose accept queue is full drops further SYNs: the connect hangs.
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
  listen(listener, 0);
  socklen_t len = sizeof a;
  getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len);
  std::vector<int> fillers;
  for (int i = 0; i < 8; ++i) {
    const int c = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    connect(c, reinterpret_cast<sockaddr*>(&a), sizeof a);
    fillers.push_back(c);
  }
  socket_.Port = ntohs(a.sin_port);
  socket_.ConnectTimeoutMs = 300;
  const auto t0 = Clock::now();
  socket_.SetActive(true);
  const auto elapsed = MsSince(t0);
  EXPECT_GE(elapsed, 250);
  EXPECT_LT(elapsed, 2500);
  EXPECT_FALSE(socket_.Active());
  ASSERT_TRUE(PumpUntil([&] { return events_.errors == 1; }));
  EXPECT_EQ(events_.lastError, ETIMEDOUT);
  EXPECT_EQ(events_.connects, 0);
  for (int c : fillers) close(c);
  close(listener);
}

TEST_F(ClientSocketTest, SendingToAResetPeerRaisesNoSignal) {
  const int peer = Connect();
  server_.Drop(peer, /*reset=*/true);
  std::this_thread::sleep_for(50ms);
  // Default action: a send without MSG_NOSIGNAL would end the process here.
  auto old = std::signal(SIGPIPE, SIG_DFL);
  int last = -2;
  for (int i = 0; i < 20; ++i) last = socket_.SendText("$PQVU160,1*hh\r\n");
  std::signal(SIGPIPE, old);
  EXPECT_EQ(last, 0) << "a send into a reset connection reported bytes sent";
}

TEST_F(ClientSocketTest, SendingIsBoundedWhenThePeerDoesNotRead) {
  Connect();
  const std::string big(32 * 1024 * 1024, 'x');
  const auto t0 = Clock::now();
  const int sent = socket_.SendBuf(big.data(), static_cast<int>(big.size()));
  EXPECT_LT(MsSince(t0), 2000);
  EXPECT_GT(sent, 0);
  EXPECT_LT(sent, static_cast<int>(big.size()));
}

TEST_F(ClientSocketTest, EventsOfADestroyedSocketAreDropped) {
  int connects = 0, errors = 0;
  for (bool refused : {false, true}) {
    auto s = std::make_unique<TClientSocket>();
    s->Host = "127.0.0.1";
    s->Port = refused ? ClosedPort() : server_.Port();
    s->OnConnect = [&](TClientSocket&) { ++connects; };
    s->OnError = [&](TClientSocket&, int&) { ++errors; };
    s->SetActive(true);
    s.reset();
  }
  platform::CheckSynchronize(50);
  while (platform::CheckSynchronize(0)) {
  }
  EXPECT_EQ(connects, 0);
  EXPECT_EQ(errors, 0);
}

TEST_F(ClientSocketTest, InactiveSocketNeitherSendsNorSpins) {
  EXPECT_FALSE(socket_.Active());
  EXPECT_EQ(socket_.SendText("$PQVU705*2D\r\n"), -1);
  char buf[16];
  // Off a TThread there is no stop to wait for: it returns at once.
  const auto t0 = Clock::now();
  EXPECT_EQ(socket_.ReceiveBuf(buf, sizeof buf), 0);
  EXPECT_LT(MsSince(t0), 1000);
  // On a TThread it waits for the stop.
  auto reader = StartReader(socket_);
  ASSERT_TRUE(reader->Blocked());
  EXPECT_EQ(reader->calls.load(), 0);
  EXPECT_TRUE(reader->Stop());
  EXPECT_EQ(reader->zeros.load(), 1);
  platform::CheckSynchronize(0);
  EXPECT_EQ(events_.disconnects, 0);
}

TEST_F(ClientSocketTest, WithoutAStopFdTheReaderStillStopsOnTerminate) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizer runtimes need descriptors of their own";
#endif
  // Leave no fd to spare while the thread is made, so that it gets no stop fd.
  auto makeReaderWithoutStopFd = [&] {
    rlimit old{};
    getrlimit(RLIMIT_NOFILE, &old);
    const int lowestFree = dup(0);
    close(lowestFree);
    rlimit tight = old;
    tight.rlim_cur = static_cast<rlim_t>(lowestFree);
    setrlimit(RLIMIT_NOFILE, &tight);
    std::unique_ptr<SocketReader> reader(new SocketReader(socket_));
    setrlimit(RLIMIT_NOFILE, &old);
    return reader;
  };
  for (bool connected : {true, false}) {
    SCOPED_TRACE(connected ? "connected" : "inactive");
    if (connected) {
      Connect();
    } else {
      socket_.SetActive(false);
    }
    auto reader = makeReaderWithoutStopFd();
    ASSERT_EQ(reader->StopFd(), -1);
    reader->AfterConstruction();
    ASSERT_TRUE(reader->Blocked());
    EXPECT_EQ(reader->calls.load(), 0);
    EXPECT_TRUE(reader->Stop());
    EXPECT_EQ(reader->zeros.load(), 1);
  }
}

TEST_F(ClientSocketTest, EventHandlersThatThrowAreReported) {
  std::vector<std::string> reports;
  platform::SetExceptionHandler(
      [&](std::exception_ptr e) { reports.push_back(korvane_test::Describe(e)); });
  socket_.OnConnect = [](TClientSocket&) { throw std::runtime_error("connect handler"); };
  socket_.SetActive(true);
  ASSERT_GE(server_.Accept(), 0);
  EXPECT_TRUE(PumpUntil([&] { return reports.size() == 1; }));
  platform::SetExceptionHandler(nullptr);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "connect handler");
  EXPECT_TRUE(socket_.Active());
}

}  // namespace

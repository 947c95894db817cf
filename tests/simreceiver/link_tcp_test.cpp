// The link as a TCP listener on 127.0.0.1, seen from a client as the console's socket sees it.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <thread>

#include "tests/simreceiver/sim_test_util.h"
#include "tools/simreceiver/sim_link.h"

namespace {

using namespace std::chrono_literals;
using simtest::ReadUntil;
using simtest::Sentence;
using simtest::WriteAll;

int Connect(uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// True when the peer closed: a read returns 0 (or a reset) within `timeout`.
bool SeesEndOfStream(int fd, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    char buf[4096];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) return true;
  }
  return false;
}

class TcpLink : public ::testing::Test {
 protected:
  void Start(sim::LinkOptions options) {
    link_ = std::make_unique<sim::Link>(sim::SimReceiver(), options);
    std::string error;
    ASSERT_TRUE(link_->StartTcp(0, &error)) << error;
    ASSERT_NE(link_->Port(), 0);
  }
  void TearDown() override {
    for (int fd : fds_) ::close(fd);
    if (link_) link_->Stop();
  }
  int Client() {
    const int fd = Connect(link_->Port());
    if (fd >= 0) fds_.push_back(fd);
    return fd;
  }
  static sim::LinkOptions Manual() {
    sim::LinkOptions o;
    o.auto_cycles = false;
    return o;
  }

  std::unique_ptr<sim::Link> link_;
  std::vector<int> fds_;
};

TEST_F(TcpLink, CycleQueryAndReplyWithExactRecords) {
  Start(Manual());
  const int fd = Client();
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(link_->WaitForClient(3s));
  const std::string cycle = link_->EmitCycleNow();
  EXPECT_EQ(ReadUntil(
                fd, [&](const std::string& s) { return s.size() >= cycle.size(); }, 3s),
            cycle);

  // Over the socket the console sends the text alone, without a zero byte.
  ASSERT_TRUE(WriteAll(fd, "$PQVU400*36\r\n"));
  ASSERT_TRUE(WriteAll(fd, Sentence("PQVU220,200")));
  const std::string want = Sentence("PQVU500,1000") + Sentence("PQVU001,220,3");
  EXPECT_EQ(ReadUntil(
                fd, [&](const std::string& s) { return s.size() >= want.size(); }, 3s),
            want);
  EXPECT_EQ(link_->Received(), "$PQVU400*36\r\n" + Sentence("PQVU220,200"));
  EXPECT_EQ(link_->Sent(), cycle + want);
}

TEST_F(TcpLink, ANewClientReplacesTheOldOne) {
  Start(Manual());
  const int a = Client();
  ASSERT_TRUE(link_->WaitForClient(3s));
  const int b = Client();
  ASSERT_GE(b, 0);
  EXPECT_TRUE(SeesEndOfStream(a, 3s));
  ASSERT_TRUE(link_->WaitForClient(3s));
  const std::string cycle = link_->EmitCycleNow();
  EXPECT_EQ(ReadUntil(
                b, [&](const std::string& s) { return s.size() >= cycle.size(); }, 3s),
            cycle);
}

TEST_F(TcpLink, CloseClientEndsTheStreamAndAnotherMayConnect) {
  Start(Manual());
  const int a = Client();
  ASSERT_TRUE(link_->WaitForClient(3s));
  link_->CloseClient();
  EXPECT_FALSE(link_->ClientConnected());
  EXPECT_TRUE(SeesEndOfStream(a, 3s));

  const int b = Client();
  ASSERT_TRUE(link_->WaitForClient(3s));
  ASSERT_TRUE(WriteAll(b, "$PQVU430*35\r\n"));
  EXPECT_EQ(ReadUntil(
                b, [](const std::string& s) { return s.ends_with("\r\n"); }, 3s),
            Sentence("PQVU530,0"));
}

TEST_F(TcpLink, AClientThatVanishesDoesNotHurtTheLink) {
  sim::LinkOptions o;
  o.period_ms = 20;
  Start(o);
  const int a = Client();
  ASSERT_TRUE(link_->WaitForClient(3s));
  linger hard{1, 0};  // close with a reset
  ::setsockopt(a, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  ::close(a);
  fds_.clear();
  for (int i = 0; i < 20; ++i) link_->EmitCycleNow();
  const auto give_up = std::chrono::steady_clock::now() + 3s;
  while (link_->ClientConnected() && std::chrono::steady_clock::now() < give_up) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_FALSE(link_->ClientConnected());

  const int b = Client();
  ASSERT_TRUE(link_->WaitForClient(3s));
  ASSERT_TRUE(WriteAll(b, "$PQVU605*31\r\n"));
  EXPECT_TRUE(
      simtest::ReadUntil(
          b, [](const std::string& s) { return s.find("$PQVU705,") != std::string::npos; }, 3s)
          .find("$PQVU705,2.13.07,KORVANE") != std::string::npos);
}

TEST_F(TcpLink, AClientThatClosesIsForgotten) {
  Start(Manual());
  const int a = Client();
  ASSERT_TRUE(link_->WaitForClient(3s));
  ::shutdown(a, SHUT_WR);  // an orderly end of stream, nothing to write to it
  const auto give_up = std::chrono::steady_clock::now() + 3s;
  while (link_->ClientConnected() && std::chrono::steady_clock::now() < give_up) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_FALSE(link_->ClientConnected());
  EXPECT_TRUE(SeesEndOfStream(a, 3s));
}

TEST_F(TcpLink, AHalfCommandOfTheOldClientIsNotCompletedByTheNewOne) {
  Start(Manual());
  const int a = Client();
  ASSERT_TRUE(link_->WaitForClient(3s));
  ASSERT_TRUE(WriteAll(a, "$PQVU605*31"));
  ASSERT_TRUE(link_->WaitReceived([](const std::string& r) { return r.size() == 11; }, 3s));
  const int b = Client();
  ASSERT_TRUE(SeesEndOfStream(a, 3s));
  ASSERT_TRUE(WriteAll(b, "\r\n$PQVU400*36\r\n"));
  EXPECT_EQ(ReadUntil(
                b, [](const std::string& s) { return s.ends_with("\r\n"); }, 3s),
            Sentence("PQVU500,1000"));
  EXPECT_EQ(link_->Sent(), Sentence("PQVU500,1000"));
}

TEST_F(TcpLink, WithoutAClientCyclesAreDroppedNotSent) {
  Start(Manual());
  const std::string cycle = link_->EmitCycleNow();
  const auto give_up = std::chrono::steady_clock::now() + 3s;
  while (link_->DroppedBytes() < cycle.size() && std::chrono::steady_clock::now() < give_up) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(link_->DroppedBytes(), cycle.size());
  EXPECT_EQ(link_->Sent(), "");
}

TEST_F(TcpLink, APortInUseIsReported) {
  Start(Manual());
  sim::Link other;
  std::string error;
  EXPECT_FALSE(other.StartTcp(link_->Port(), &error));
  EXPECT_NE(error.find("127.0.0.1:" + std::to_string(link_->Port())), std::string::npos) << error;
  // The first link is unaffected.
  const int fd = Client();
  ASSERT_TRUE(link_->WaitForClient(3s));
  ASSERT_TRUE(WriteAll(fd, "$PQVU419*3E\r\n"));
  EXPECT_EQ(ReadUntil(
                fd, [](const std::string& s) { return s.ends_with("\r\n"); }, 3s),
            Sentence("PQVU519,0"));
}

}  // namespace

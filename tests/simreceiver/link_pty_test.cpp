// The link over a pseudo-terminal, seen from the slave side as the console sees it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "tests/simreceiver/sim_test_util.h"
#include "tools/simreceiver/nmea_text.h"
#include "tools/simreceiver/sim_link.h"

namespace {

using namespace std::chrono_literals;
using simtest::ReadUntil;
using simtest::Sentence;
using simtest::WriteAll;

auto AtLeast(size_t n) {
  return [n](const std::string& s) { return s.size() >= n; };
}
auto EndsWithCrLf() {
  return [](const std::string& s) { return s.size() >= 2 && s.ends_with("\r\n"); };
}

class PtyLink : public ::testing::Test {
 protected:
  void Start(sim::LinkOptions options) {
    link_ = std::make_unique<sim::Link>(sim::SimReceiver(), options);
    std::string error;
    ASSERT_TRUE(link_->StartPty(&error)) << error;
    ASSERT_TRUE(link_->SlavePath().starts_with("/dev/pts/")) << link_->SlavePath();
    fd_ = ::open(link_->SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd_, 0);
  }
  void TearDown() override {
    if (fd_ >= 0) ::close(fd_);
    if (link_) link_->Stop();
  }
  static sim::LinkOptions Manual() {
    sim::LinkOptions o;
    o.auto_cycles = false;
    return o;
  }

  std::unique_ptr<sim::Link> link_;
  int fd_ = -1;
};

TEST_F(PtyLink, CycleQueryAndReplyWithExactRecords) {
  Start(Manual());
  const std::string cycle = link_->EmitCycleNow();
  ASSERT_GT(cycle.size(), 500u);
  EXPECT_EQ(ReadUntil(fd_, AtLeast(cycle.size()), 3s), cycle);

  // A fixed command as the console writes it on a serial port: with its terminating zero.
  const std::string query("$PQVU605*31\r\n", 14);
  ASSERT_TRUE(WriteAll(fd_, query));
  EXPECT_EQ(ReadUntil(fd_, EndsWithCrLf(), 3s), Sentence("PQVU705,2.13.07,KORVANE,KV-32S,SDK 4.1"));
  ASSERT_TRUE(link_->WaitReceived([&](const std::string& r) { return r.size() >= 14; }, 3s));
  EXPECT_EQ(link_->Received(), query);
  EXPECT_EQ(link_->Sent(), cycle + Sentence("PQVU705,2.13.07,KORVANE,KV-32S,SDK 4.1"));

  std::string from_chunks;
  for (const sim::Chunk& c : link_->ReceivedChunks()) from_chunks += c.bytes;
  EXPECT_EQ(from_chunks, query);

  link_->ClearRecords();
  EXPECT_EQ(link_->Received(), "");
  EXPECT_EQ(link_->Sent(), "");
  EXPECT_TRUE(link_->ReceivedChunks().empty());
}

TEST_F(PtyLink, SettingChangesWhatTheModelReports) {
  Start(Manual());
  ASSERT_TRUE(WriteAll(fd_, Sentence("PQVU330,12") + "$PQVU430*35\r\n"));
  const std::string want = Sentence("PQVU001,330,3") + Sentence("PQVU530,12");
  EXPECT_EQ(ReadUntil(fd_, AtLeast(want.size()), 3s), want);
  EXPECT_EQ(link_->WithModel([](sim::SimReceiver& m) { return m.CurrentSettings().datum; }), 12);
}

TEST_F(PtyLink, AutomaticCyclesAdvanceOneSecondEach) {
  sim::LinkOptions o;
  o.period_ms = 50;
  Start(o);
  const std::string got = ReadUntil(
      fd_,
      [](const std::string& s) {
        size_t n = 0;
        for (size_t p = s.find("$PQVUEPH"); p != std::string::npos; p = s.find("$PQVUEPH", p + 1)) {
          ++n;
        }
        return n >= 4 && s.ends_with("\r\n");
      },
      5s);
  std::vector<int> seconds;
  for (const std::string& line : simtest::Lines(got)) {
    EXPECT_TRUE(simtest::ValidLine(line)) << line;
    if (line.starts_with("$GPGGA")) seconds.push_back(std::stoi(simtest::Fields(line)[1]) % 100);
  }
  ASSERT_GE(seconds.size(), 4u);
  for (size_t i = 1; i < seconds.size(); ++i) EXPECT_EQ(seconds[i], (seconds[i - 1] + 1) % 60);
}

TEST_F(PtyLink, WritesAreRecordedPerReadWithTheirTimes) {
  Start(Manual());
  const std::string a = "$PQVU101*32\r\n";
  const std::string b = "$PQVU809*33\r\n";
  ASSERT_TRUE(WriteAll(fd_, a));
  ASSERT_TRUE(link_->WaitReceived([&](const std::string& r) { return r == a; }, 3s));
  const size_t chunks_of_a = link_->ReceivedChunks().size();
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(WriteAll(fd_, b));
  ASSERT_TRUE(link_->WaitReceived([&](const std::string& r) { return r == a + b; }, 3s));
  const auto chunks = link_->ReceivedChunks();
  ASSERT_GT(chunks.size(), chunks_of_a);
  EXPECT_GE(chunks[chunks_of_a].time - chunks[chunks_of_a - 1].time, 100ms);
  for (size_t i = 1; i < chunks.size(); ++i) EXPECT_GE(chunks[i].time, chunks[i - 1].time);
  EXPECT_FALSE(link_->WithModel([](sim::SimReceiver& m) { return m.HasFix(); }));
}

TEST_F(PtyLink, SplitWriteArrivesInTwoPiecesAfterTheGap) {
  sim::LinkOptions o = Manual();
  o.split_gap_ms = 300;
  Start(o);
  link_->WithModel([](sim::SimReceiver& m) {
    m.Faults().SetSplitAt(20);
    m.Faults().Once(sim::Fault::kSplitWrite);
  });
  const std::string cycle = link_->EmitCycleNow();
  const std::string first = ReadUntil(fd_, AtLeast(20), 3s);
  EXPECT_EQ(first, cycle.substr(0, 20));
  // Nothing more arrives before the gap is over.
  EXPECT_EQ(ReadUntil(fd_, AtLeast(1), 100ms), "");
  EXPECT_EQ(ReadUntil(fd_, AtLeast(cycle.size() - 20), 3s), cycle.substr(20));
  EXPECT_EQ(link_->Sent(), cycle);
}

TEST_F(PtyLink, SplitWritesKeepUpWithPeriodsShorterThanTheGap) {
  sim::LinkOptions o;
  o.period_ms = 20;  // the default gap is 100 ms
  link_ = std::make_unique<sim::Link>(sim::SimReceiver(), o);
  link_->WithModel([](sim::SimReceiver& m) { m.Faults().Set(sim::Fault::kSplitWrite, true); });
  std::string error;
  ASSERT_TRUE(link_->StartPty(&error)) << error;
  fd_ = ::open(link_->SlavePath().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd_, 0);
  const auto start = std::chrono::steady_clock::now();
  const std::string got = ReadUntil(
      fd_, [](const std::string&) { return false; }, 1500ms);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  size_t epochs = 0;
  for (size_t at = got.find("$GPGGA"); at != std::string::npos; at = got.find("$GPGGA", at + 1))
    ++epochs;
  // A 100 ms gap held at 20 ms would let through one epoch in five and pile up the rest.
  const auto expected = static_cast<size_t>(elapsed / 20ms);
  EXPECT_GE(epochs * 10, expected * 6) << epochs << " of " << expected;
  EXPECT_EQ(link_->DroppedBytes(), 0u);
  // The halves of one epoch are never interleaved with the next: one sentence per line.
  for (const std::string& line : sim::SplitLines(got.substr(0, got.rfind("\r\n") + 2)))
    EXPECT_EQ(std::count(line.begin(), line.end(), '$'), 1) << line;
}

TEST(PtyLinkLife, StopsAndStartsAgain) {
  sim::LinkOptions o;
  o.auto_cycles = false;
  sim::Link link(sim::SimReceiver(), o);
  for (int round = 0; round < 2; ++round) {
    std::string error;
    ASSERT_TRUE(link.StartPty(&error)) << error;
    EXPECT_FALSE(link.StartPty(&error));  // already running
    const int fd = ::open(link.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(WriteAll(fd, "$PQVU419*3E\r\n"));
    EXPECT_EQ(ReadUntil(fd, EndsWithCrLf(), 3s), Sentence("PQVU519,0")) << "round " << round;
    ::close(fd);
    link.Stop();
    link.Stop();
  }
}

TEST_F(PtyLink, SendRawGoesOutUnchanged) {
  Start(Manual());
  const std::string raw("$GPGGA,1\0\xff\r\n", 13);
  link_->SendRaw(raw);
  EXPECT_EQ(ReadUntil(fd_, AtLeast(raw.size()), 3s), raw);
}

TEST_F(PtyLink, NobodyReadingDropsBytesAndNeverBlocks) {
  sim::LinkOptions o = Manual();
  o.write_timeout_ms = 100;
  Start(o);
  link_->SendRaw(std::string(300000, 'x'));
  const auto give_up = std::chrono::steady_clock::now() + 5s;
  while (link_->DroppedBytes() == 0 && std::chrono::steady_clock::now() < give_up) {
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_GT(link_->DroppedBytes(), 0u);
  EXPECT_EQ(link_->Sent().size() + link_->DroppedBytes(), 300000u);

  // Commands still get through and, once the slave is drained, so do cycles.
  ASSERT_TRUE(WriteAll(fd_, "$PQVU400*36\r\n"));
  EXPECT_TRUE(link_->WaitReceived([](const std::string& r) { return r == "$PQVU400*36\r\n"; }, 3s));
  while (!ReadUntil(fd_, AtLeast(1), 300ms).empty()) {
  }
  const std::string cycle = link_->EmitCycleNow();
  EXPECT_EQ(ReadUntil(fd_, AtLeast(cycle.size()), 3s), cycle);

  const auto before = std::chrono::steady_clock::now();
  link_->Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
}

}  // namespace

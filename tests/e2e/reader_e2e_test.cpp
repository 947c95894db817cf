// The reader thread against the simulated receiver, over a pseudo-terminal and over TCP.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/core/serial.h"
#include "reader/nmea_checksum.h"
#include "reader/nmea_thread.h"
#include "tests/reader/fake_owner.h"
#include "tools/simreceiver/sim_link.h"

using namespace std::chrono_literals;
using testutil::FakeOwner;
using testutil::PumpUntil;

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

std::string TempPath() {
  char path[] = "/tmp/korvane-e2e-XXXXXX";
  int fd = mkstemp(path);
  close(fd);
  return path;
}

struct Endpoint {
  enum Kind { kPty, kTcp } kind;
  const char* name;
};

class ReaderE2E : public ::testing::TestWithParam<Endpoint> {
 protected:
  void SetUp() override {
    sim::LinkOptions options;
    options.auto_cycles = false;
    link = std::make_unique<sim::Link>(sim::SimReceiver(), options);
    std::string error;
    if (GetParam().kind == Endpoint::kPty) {
      ASSERT_TRUE(link->StartPty(&error)) << error;
      handle = CreateFileA(("\\\\.\\" + link->SlavePath()).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                           nullptr, OPEN_EXISTING, 0, 0);
      ASSERT_NE(handle, INVALID_HANDLE_VALUE);
      DCB dcb{};
      dcb.BaudRate = 115200;
      dcb.ByteSize = 8;
      dcb.fBinary = 1;
      ASSERT_TRUE(SetCommState(handle, &dcb));
      COMMTIMEOUTS t{};
      t.ReadTotalTimeoutConstant = 30;
      t.WriteTotalTimeoutConstant = 100;
      ASSERT_TRUE(SetCommTimeouts(handle, &t));
      owner.ComHandle = handle;
    } else {
      ASSERT_TRUE(link->StartTcp(0, &error)) << error;
      bool connected = false;
      owner.socket.OnConnect = [&](platform::TClientSocket&) { connected = true; };
      owner.socket.Host = "127.0.0.1";
      owner.socket.Port = link->Port();
      owner.socket.SetActive(true);
      ASSERT_TRUE(PumpUntil([&] { return connected; }));
      ASSERT_TRUE(link->WaitForClient(2000ms));
      owner.UseSocket = true;
    }
  }
  void TearDown() override {
    if (reader) reader->Terminate();
    owner.socket.SetActive(false);
    if (reader) reader->WaitFor();
    platform::CheckSynchronize(0);
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    owner.LogFile.Close();
    link->Stop();
  }
  void Start() {
    reader = platform::NewThread<reader::TNMEAThread>(false, owner);
    reader->FreeOnTerminate = true;
  }
  // Sends bytes to the console's side as the receiver would.
  void Write(const std::string& bytes) {
    if (GetParam().kind == Endpoint::kPty) {
      DWORD n = 0;
      WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    } else {
      owner.socket.SendText(bytes);
    }
  }

  std::unique_ptr<sim::Link> link;
  FakeOwner owner;
  HANDLE handle = INVALID_HANDLE_VALUE;
  reader::TNMEAThread* reader = nullptr;
};

TEST_P(ReaderE2E, StateAfterCycleMatchesReceiver) {
  std::string log = TempPath();
  ASSERT_TRUE(owner.LogFile.Open(log));
  Start();
  // The link writes a cycle's halves later, so what it will send is counted here.
  size_t total = link->EmitCycleNow().size();
  total += link->EmitCycleNow().size();
  // The second epoch's start releases the first epoch's last sentence.
  sim::EpochTruth truth = link->WithModel([](sim::SimReceiver& m) { return m.LastEpoch(); });
  ASSERT_TRUE(link->WaitSent(1, 2000ms));
  std::string sent;
  ASSERT_TRUE(PumpUntil([&] {
    sent = link->Sent();
    return Slurp(log).size() == sent.size() && owner.refreshSteps > 0;
  }));
  EXPECT_FALSE(owner.stepOffMainThread);
  // Read on the window thread inside a step, as the console does, once the list is complete.
  reader::FixInfo fix{};
  reader::SatelliteInfo sats[reader::kMaxSatellites]{};
  int channelsUpdated = 0;
  int complete = 0;
  owner.onRefresh = [&] {
    if (!reader->SatListComplete.load()) return;
    fix = reader->Fix;
    std::copy(std::begin(reader->Satellites), std::end(reader->Satellites), sats);
    channelsUpdated = reader->ChannelsUpdated.load();
    ++complete;
  };
  total += link->EmitCycleNow().size();
  ASSERT_TRUE(PumpUntil([&] { return complete > 0; }));
  EXPECT_EQ(fix.Dimension, truth.fix ? 2 : 0);
  EXPECT_NEAR(fix.Latitude, truth.kinematics.latitude, 1e-4);
  EXPECT_NEAR(fix.Longitude, truth.kinematics.longitude, 1e-4);
  EXPECT_EQ(fix.SatsInView, static_cast<int>(truth.in_view.size()));
  int n = std::min<int>(truth.in_view.size(), reader::kMaxSatellites);
  for (int i = 0; i < n; ++i) EXPECT_EQ(sats[i].Prn, truth.in_view[i].prn) << i;
  int used = 0;
  for (int i = 0; i < n; ++i) used += sats[i].Used;
  EXPECT_EQ(used, static_cast<int>(truth.used_prns.size()));
  EXPECT_EQ(channelsUpdated, 1);
  // Every byte the receiver sent is in the log, in order.
  ASSERT_TRUE(link->WaitSent(total, 2000ms));
  EXPECT_TRUE(PumpUntil([&] { return Slurp(log).size() >= total; }));
  reader->Terminate();
  reader->WaitFor();
  owner.LogFile.Close();
  EXPECT_EQ(Slurp(log), link->Sent());
  unlink(log.c_str());
}

TEST_P(ReaderE2E, QueryRepliesAndAcknowledgements) {
  Start();
  // A fix-rate setting, then its query: the receiver acknowledges and reports 5 Hz.
  auto sentence = [](const std::string& body) {
    return body + "*" + reader::NmeaChecksumHex(std::string_view(body).substr(1)) + "\r\n";
  };
  Write(sentence("$PQVU220,200"));
  ASSERT_TRUE(link->WaitReceived([](const std::string& r) { return r.find("$PQVU220") != r.npos; },
                                 2000ms));
  // The acknowledgement is decoded once a later sentence start arrives.
  link->EmitCycleNow();
  ASSERT_TRUE(PumpUntil([&] { return owner.AckOkCommand.load() == 220; }));
  Write(sentence("$PQVU400"));
  ASSERT_TRUE(link->WaitReceived([](const std::string& r) { return r.find("$PQVU400") != r.npos; },
                                 2000ms));
  link->EmitCycleNow();
  ASSERT_TRUE(PumpUntil([&] { return owner.replySteps > 0; }));
  EXPECT_EQ(owner.lastFixRate, 5);
  EXPECT_FALSE(owner.stepOffMainThread);
}

INSTANTIATE_TEST_SUITE_P(Links, ReaderE2E,
                         ::testing::Values(Endpoint{Endpoint::kPty, "pty"},
                                           Endpoint{Endpoint::kTcp, "tcp"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// Serial ports over pseudo-terminals: the test holds the master side, the layer opens the slave.
#include "platform/core/serial.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/blocked_thread.h"

namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class Pty {
 public:
  Pty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    char name[128] = {};
    if (::ptsname_r(master_, name, sizeof name) != 0) return;
    slave_ = name;
    termios tio{};
    ::tcgetattr(master_, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(master_, TCSANOW, &tio);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  }
  ~Pty() { CloseMaster(); }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  bool ok() const { return master_ >= 0 && !slave_.empty(); }
  int master() const { return master_; }
  const std::string& slave() const { return slave_; }
  std::string device() const { return "\\\\.\\" + slave_; }
  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

  // Writes everything into the slave's input, or fails the test after a few seconds.
  void Send(const std::string& bytes) const {
    size_t done = 0;
    const auto start = Clock::now();
    while (done < bytes.size() && MsSince(start) < 5000) {
      const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
      if (n > 0) {
        done += static_cast<size_t>(n);
      } else {
        pollfd p{master_, POLLOUT, 0};
        ::poll(&p, 1, 50);
      }
    }
    ASSERT_EQ(done, bytes.size());
  }

  // Reads what the slave wrote until count bytes have come or timeoutMs has passed.
  std::string Receive(size_t count, int timeoutMs = 3000) const {
    std::string out;
    const auto start = Clock::now();
    char buf[4096];
    while (out.size() < count && MsSince(start) < timeoutMs) {
      const ssize_t n = ::read(master_, buf, std::min(sizeof buf, count - out.size()));
      if (n > 0) {
        out.append(buf, static_cast<size_t>(n));
      } else {
        pollfd p{master_, POLLIN, 0};
        ::poll(&p, 1, 20);
      }
    }
    return out;
  }

  // Throws away what the slave has written, without waiting.
  void Discard() const {
    char buf[65536];
    while (::read(master_, buf, sizeof buf) > 0) {
    }
  }

  // Everything the slave has written so far (stops after a quiet spell).
  std::string Drain() const {
    std::string out;
    char buf[65536];
    for (;;) {
      pollfd p{master_, POLLIN, 0};
      if (::poll(&p, 1, 300) <= 0) break;
      const ssize_t n = ::read(master_, buf, sizeof buf);
      if (n <= 0) break;
      out.append(buf, static_cast<size_t>(n));
    }
    return out;
  }

 private:
  int master_ = -1;
  std::string slave_;
};

HANDLE Open(const std::string& name) {
  return CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, 0);
}

void SetTimeouts(HANDLE h, DWORD interval, DWORD mult, DWORD constant, DWORD writeConstant = 100) {
  COMMTIMEOUTS t;
  t.ReadIntervalTimeout = interval;
  t.ReadTotalTimeoutMultiplier = mult;
  t.ReadTotalTimeoutConstant = constant;
  t.WriteTotalTimeoutMultiplier = 0;
  t.WriteTotalTimeoutConstant = writeConstant;
  ASSERT_EQ(SetCommTimeouts(h, &t), TRUE);
}

// The receiver port's settings: 8N1, DTR on, RTS off, XON/XOFF characters set.
DCB ReceiverDcb(DWORD baud) {
  DCB dcb{};
  dcb.BaudRate = baud;
  dcb.fBinary = 1;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  dcb.XonLim = 4096;
  dcb.XoffLim = 1024;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
  return dcb;
}

std::string AllByteValues(int repeats) {
  std::string s;
  for (int r = 0; r < repeats; ++r) {
    for (int b = 0; b < 256; ++b) s.push_back(static_cast<char>(b));
  }
  return s;
}

std::string ReadAll(HANDLE h, size_t count, int timeoutMs = 3000) {
  std::string out;
  std::vector<char> buf(count);
  const auto start = Clock::now();
  while (out.size() < count && MsSince(start) < timeoutMs) {
    DWORD got = 0;
    if (ReadFile(h, buf.data(), static_cast<DWORD>(count - out.size()), &got, nullptr) != TRUE) {
      break;
    }
    out.append(buf.data(), got);
  }
  return out;
}

TEST(SerialNames, ComNamesMapToDevices) {
  struct Case {
    const char* name;
    const char* path;
  };
  const Case cases[] = {
      {"\\\\.\\COM1", "/dev/ttyS0"},
      {"\\\\.\\COM12", "/dev/ttyS11"},
      {"\\\\.\\COM32", "/dev/ttyS31"},
      {"\\\\.\\COM33", "/dev/ttyUSB0"},
      {"\\\\.\\COM64", "/dev/ttyUSB31"},
      {"\\\\.\\COM65", "/dev/ttyACM0"},
      {"\\\\.\\COM96", "/dev/ttyACM31"},
      {"\\\\.\\COM97", "/dev/rfcomm0"},
      {"\\\\.\\COM100", "/dev/rfcomm3"},
      {"COM34", "/dev/ttyUSB1"},
      {"\\\\.\\/dev/pts/7", "/dev/pts/7"},
      {"\\\\.\\/dev/serial/by-id/usb-x-if00", "/dev/serial/by-id/usb-x-if00"},
      {"\\\\.\\COM0", ""},
      {"\\\\.\\COM101", ""},
      {"\\\\.\\COM3A", ""},
      {"\\\\.\\COM", ""},
      {"\\\\.\\COM03", ""},
      {"\\\\.\\COM-1", ""},
      {"\\\\.\\COM+5", ""},
      {"\\\\.\\COM 5", ""},
      {"\\\\.\\COM99999999999999999999", ""},
      {"\\\\.\\LPT1", ""},
      {"\\\\.\\", ""},
      {"", ""},
      {"\\\\.\\dev/ttyS0", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ComDevicePath(c.name), c.path) << c.name;
  }

  platform::SetComNameOverride("COM7", "/tmp/korvane-test-port");
  platform::SetComNameOverride("COM101", "/tmp/korvane-test-port-101");
  EXPECT_EQ(platform::ComDevicePath("\\\\.\\COM7"), "/tmp/korvane-test-port");
  EXPECT_EQ(platform::ComDevicePath("\\\\.\\COM101"), "/tmp/korvane-test-port-101");
  EXPECT_EQ(platform::ComDevicePath("\\\\.\\COM8"), "/dev/ttyS7");
  platform::SetComNameOverride("COM7", "");
  platform::SetComNameOverride("COM101", "");
  EXPECT_EQ(platform::ComDevicePath("\\\\.\\COM7"), "/dev/ttyS6");
  EXPECT_EQ(platform::ComDevicePath("\\\\.\\COM101"), "");
}

TEST(SerialOpen, FailuresGiveInvalidHandleAndReason) {
  platform::SetComNameOverride("COM9", "/dev/korvane-no-such-device");
  struct Case {
    const char* name;
    DWORD disposition;
    DWORD error;
  };
  const Case cases[] = {
      {"\\\\.\\/dev/korvane-no-such-device", OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
      {"\\\\.\\/nonexistent-dir/tty", OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
      {"\\\\.\\COM9", OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
      {"\\\\.\\COM0", OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
      {"\\\\.\\COM101", OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
      {"\\\\.\\COM3A", OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
      {"\\\\.\\COM", OPEN_EXISTING, ERROR_FILE_NOT_FOUND},
      {"\\\\.\\/dev/null", OPEN_EXISTING, ERROR_FILE_NOT_FOUND},  // not a serial line
      {"\\\\.\\/", OPEN_EXISTING, ERROR_ACCESS_DENIED},           // a directory
      {"\\\\.\\/dev/ptmx", 2 /* create always */, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SetLastError(ERROR_SUCCESS);
    const HANDLE h =
        CreateFileA(c.name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, c.disposition, 0, 0);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
  }
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(CreateFileA(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  platform::SetComNameOverride("COM9", "");
}

TEST(SerialOpen, ExclusiveAndFreeAgainRightAfterClose) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  platform::SetComNameOverride("COM5", pty.slave());
  const HANDLE first = Open("\\\\.\\COM5");
  ASSERT_NE(first, INVALID_HANDLE_VALUE);
  EXPECT_GE(first, 1);

  for (const std::string& name : {std::string("\\\\.\\COM5"), pty.device()}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(Open(name), INVALID_HANDLE_VALUE) << name;
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED) << name;
  }

  // The refused opens left the first one working.
  SetTimeouts(first, 0, 0, 2000);
  pty.Send("ping");
  EXPECT_EQ(ReadAll(first, 4), "ping");

  ASSERT_EQ(CloseHandle(first), TRUE);
  const HANDLE again = Open("\\\\.\\COM5");
  ASSERT_NE(again, INVALID_HANDLE_VALUE);
  EXPECT_NE(again, first);
  SetTimeouts(again, 0, 0, 2000);
  DWORD written = 0;
  ASSERT_EQ(WriteFile(again, "pong", 4, &written, nullptr), TRUE);
  EXPECT_EQ(written, 4u);
  EXPECT_EQ(pty.Receive(4), "pong");
  EXPECT_EQ(CloseHandle(again), TRUE);
  platform::SetComNameOverride("COM5", "");
}

TEST(SerialOpen, OpensWhenStandardInputIsClosed) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  const int savedStdin = ::dup(0);
  ASSERT_GE(savedStdin, 0);
  ::close(0);
  const HANDLE h = Open(pty.device());
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_NE(h, 0);
  SetTimeouts(h, 0, 0, 2000);
  pty.Send("abc");
  EXPECT_EQ(ReadAll(h, 3), "abc");
  EXPECT_EQ(CloseHandle(h), TRUE);
  ::dup2(savedStdin, 0);
  ::close(savedStdin);
}

TEST(SerialIo, BytesBothWaysAreExactIncludingNul) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  const HANDLE h = Open(pty.device());
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  const DCB dcb = ReceiverDcb(9600);
  ASSERT_EQ(SetCommState(h, &dcb), TRUE);
  SetTimeouts(h, 0, 0, 3000, 3000);
  const std::string bytes = AllByteValues(4) + "\r\n\x11\x13\x03\x04\x1a";

  pty.Send(bytes);
  EXPECT_EQ(ReadAll(h, bytes.size()), bytes);

  DWORD written = 0;
  ASSERT_EQ(WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr), TRUE);
  EXPECT_EQ(written, bytes.size());
  EXPECT_EQ(pty.Receive(bytes.size()), bytes);

  // The fixed sentences go out with their terminating NUL.
  const char sentence[] = "$PQVU103*30\r\n";
  ASSERT_EQ(WriteFile(h, sentence, sizeof sentence, &written, nullptr), TRUE);
  EXPECT_EQ(pty.Receive(sizeof sentence), std::string(sentence, sizeof sentence));
  EXPECT_EQ(CloseHandle(h), TRUE);
}

TEST(SerialIo, ReadHonoursTimeouts) {
  struct Case {
    const char* what;
    DWORD interval, mult, constant;
    std::string before;  // sent before the read starts
    std::string during;  // sent once the read waits
    DWORD request;
    long long minMs, maxMs;
    DWORD baud = 0;  // line speed set on the port; 0 for none
  };
  // Reads that must end before their total time-out get one far longer than a busy machine's
  // delays, so a bound with seconds of room still tells them from a read that waited it out.
  constexpr DWORD kLong = 60000;
  constexpr long long kSoon = 10000;
  const Case cases[] = {
      {"partial data, then the total time-out", 0, 0, 300, "abc", "", 100, 300, 2500},
      {"nothing arrives", 0, 0, 150, "", "", 10, 150, 2000},
      {"enough already there", 0, 0, kLong, "0123456789", "", 10, 0, kSoon},
      {"enough arrives during the read", 0, 0, kLong, "", "$GPGGA", 6, 0, kSoon},
      {"zero bytes asked", 0, 0, kLong, "", "", 0, 0, kSoon},
      {"a gap after data ends the read", 50, 0, kLong, "hello", "", 100, 50, kSoon},
      {"multiplier adds per byte", 0, 10, 50, "", "", 10, 150, 2500},
      {"return at once", MAXDWORD, 0, 0, "", "", 10, 0, kSoon},
      {"first bytes end the wait", MAXDWORD, MAXDWORD, kLong, "", "xy", 100, 0, kSoon},
      // With bytes in hand a read waits as long as the rest takes on the line, 7 bytes of 10 bits
      // at 300 baud: 233 ms, though here they come sooner; then it returns, long before kLong.
      {"the rest at the line's speed", 0, 0, kLong, "abc", "defghij", 10, 233, kSoon, 300},
      {"a slow line keeps the total time-out", 0, 0, 300, "abc", "", 100, 300, 2500, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Pty pty;
    ASSERT_TRUE(pty.ok());
    const HANDLE h = Open(pty.device());
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetTimeouts(h, c.interval, c.mult, c.constant);
    const DCB dcb = ReceiverDcb(c.baud);
    if (c.baud) {
      ASSERT_EQ(SetCommState(h, &dcb), TRUE);
    }
    pty.Send(c.before);
    const pid_t readerTid = korvane_test::ThreadId();
    std::thread late([&] {
      if (c.during.empty()) return;
      EXPECT_TRUE(korvane_test::WaitUntilBlockedIn(readerTid, korvane_test::kPollCalls));
      pty.Send(c.during);
    });
    std::vector<char> buf(c.request + 1, '\x7f');
    DWORD got = 12345;
    const auto start = Clock::now();
    const BOOL ok = ReadFile(h, buf.data(), c.request, &got, nullptr);
    const long long ms = MsSince(start);
    late.join();
    EXPECT_EQ(ok, TRUE);
    EXPECT_EQ(platform::LastSystemError(), 0) << "a quiet line is no failure";
    const std::string expected = (c.before + c.during).substr(0, c.request);
    EXPECT_EQ(std::string(buf.data(), got), expected);
    EXPECT_EQ(buf[c.request], '\x7f') << "wrote past the count";
    EXPECT_GE(ms, c.minMs);
    EXPECT_LE(ms, c.maxMs);
    EXPECT_EQ(CloseHandle(h), TRUE);
  }
}

TEST(SerialIo, DeadDeviceReadsWaitOutTheirTimeout) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  const HANDLE h = Open(pty.device());
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SetTimeouts(h, 0, 0, 30);
  char buf[64];
  DWORD got = 0;
  // The hang-up discards what the line still held; every read from now on fails.
  pty.CloseMaster();

  const auto start = Clock::now();
  int failures = 0;
  for (int i = 0; i < 10; ++i) {
    SetLastError(ERROR_SUCCESS);
    got = 99;
    if (ReadFile(h, buf, sizeof buf, &got, nullptr) == FALSE) {
      ++failures;
      EXPECT_EQ(GetLastError(), ERROR_GEN_FAILURE);
      EXPECT_EQ(platform::LastSystemError(), EIO) << "a hang-up, not a time-out";
    }
    EXPECT_EQ(got, 0u);
  }
  const long long ms = MsSince(start);
  EXPECT_EQ(failures, 10);
  EXPECT_GE(ms, 250) << "a read loop on a dead device must not spin";
  EXPECT_LE(ms, 5000);

  // Without any total time-out, and in return-at-once mode, a failure still pauses briefly.
  for (DWORD interval : {DWORD{0}, MAXDWORD}) {
    SetTimeouts(h, interval, 0, 0);
    const auto t0 = Clock::now();
    EXPECT_EQ(ReadFile(h, buf, sizeof buf, &got, nullptr), FALSE);
    EXPECT_GE(MsSince(t0), 50);
    EXPECT_LE(MsSince(t0), 3000);
  }

  const auto t1 = Clock::now();
  DWORD written = 7;
  EXPECT_EQ(WriteFile(h, "x", 1, &written, nullptr), FALSE);
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(platform::LastSystemError(), EIO);
  EXPECT_LE(MsSince(t1), 3000);
  EXPECT_EQ(CloseHandle(h), TRUE);
}

TEST(SerialIo, WriteToUnreadLineIsBoundedAndCountsWhatWent) {
  for (DWORD writeConstant : {DWORD{200}, DWORD{0}}) {
    SCOPED_TRACE(writeConstant);
    Pty pty;
    ASSERT_TRUE(pty.ok());
    const HANDLE h = Open(pty.device());
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetTimeouts(h, 0, 0, 30, writeConstant);
    std::string big(1 << 20, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7 + i / 251);
    DWORD written = 0;
    const auto start = Clock::now();
    SetLastError(ERROR_SUCCESS);
    const BOOL ok = WriteFile(h, big.data(), static_cast<DWORD>(big.size()), &written, nullptr);
    const long long ms = MsSince(start);
    EXPECT_EQ(ok, FALSE);
    EXPECT_EQ(GetLastError(), ERROR_SEM_TIMEOUT);
    EXPECT_EQ(platform::LastSystemError(), ETIMEDOUT);
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, big.size());
    EXPECT_GE(ms, writeConstant ? 150 : 70);
    EXPECT_LE(ms, 3000);
    // The count is exactly what the other side gets.
    EXPECT_EQ(pty.Drain(), big.substr(0, written));
    EXPECT_EQ(CloseHandle(h), TRUE);
  }
}

TEST(SerialIo, ReadAndWriteOnTwoThreadsAtOnce) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  const HANDLE h = Open(pty.device());
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SetTimeouts(h, 0, 0, 30, 2000);
  std::string in(64 * 1024, '\0'), out(64 * 1024, '\0');
  for (size_t i = 0; i < in.size(); ++i) {
    in[i] = static_cast<char>(i % 253);
    out[i] = static_cast<char>(255 - i % 241);
  }

  std::string readBack;
  std::thread reader([&] { readBack = ReadAll(h, in.size(), 10000); });
  bool writeOk = true;
  std::thread writer([&] {
    for (size_t off = 0; off < out.size(); off += 1000) {
      const DWORD n = static_cast<DWORD>(std::min<size_t>(1000, out.size() - off));
      DWORD w = 0;
      if (WriteFile(h, out.data() + off, n, &w, nullptr) != TRUE || w != n) writeOk = false;
    }
  });
  // The master pumps both directions so neither side's buffer stalls.
  std::string got;
  size_t sent = 0;
  const auto start = Clock::now();
  char buf[4096];
  while ((got.size() < out.size() || sent < in.size()) && MsSince(start) < 10000) {
    if (sent < in.size()) {
      const ssize_t n =
          ::write(pty.master(), in.data() + sent, std::min<size_t>(512, in.size() - sent));
      if (n > 0) sent += static_cast<size_t>(n);
    }
    const ssize_t r = ::read(pty.master(), buf, sizeof buf);
    if (r > 0) got.append(buf, static_cast<size_t>(r));
    if (r <= 0) {
      pollfd p{pty.master(), POLLIN, 0};
      ::poll(&p, 1, 5);
    }
  }
  writer.join();
  reader.join();
  EXPECT_TRUE(writeOk);
  EXPECT_TRUE(got == out) << "written " << got.size() << " of " << out.size();
  EXPECT_TRUE(readBack == in) << "read " << readBack.size() << " of " << in.size();
  EXPECT_EQ(CloseHandle(h), TRUE);
}

TEST(SerialState, RatesAndFramingReadBack) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  const HANDLE h = Open(pty.device());
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  struct Case {
    DWORD baud;
    BYTE stopBits;
    bool xonXoff;
    bool cts;
  };
  const Case cases[] = {
      {4800, ONESTOPBIT, false, false},   {14400, ONESTOPBIT, false, false},
      {115200, ONESTOPBIT, false, false}, {9600, TWOSTOPBITS, false, false},
      {250000, ONESTOPBIT, true, false},  {38400, ONESTOPBIT, false, true},
      {1200, ONESTOPBIT, false, false},   {921600, TWOSTOPBITS, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.baud);
    DCB dcb = ReceiverDcb(c.baud);
    dcb.StopBits = c.stopBits;
    dcb.fOutX = dcb.fInX = c.xonXoff;
    dcb.fOutxCtsFlow = c.cts;
    ASSERT_EQ(SetCommState(h, &dcb), TRUE) << GetLastError();
    DCB back{};
    back.BaudRate = 1;
    ASSERT_EQ(GetCommState(h, &back), TRUE);
    EXPECT_EQ(back.BaudRate, c.baud);
    EXPECT_EQ(back.ByteSize, 8);
    EXPECT_EQ(back.Parity, NOPARITY);
    EXPECT_EQ(back.StopBits, c.stopBits);
    EXPECT_EQ(back.fOutX, c.xonXoff ? 1u : 0u);
    EXPECT_EQ(back.fInX, c.xonXoff ? 1u : 0u);
    EXPECT_EQ(back.fOutxCtsFlow, c.cts ? 1u : 0u);
    EXPECT_EQ(back.XonLim, 4096);
    EXPECT_EQ(back.fDtrControl, DTR_CONTROL_ENABLE);
  }

  // The generator's way: text through BuildCommDCBA, then applied.
  DCB gen{};
  ASSERT_EQ(BuildCommDCBA("14400,n,8,1", &gen), TRUE);
  ASSERT_EQ(SetCommState(h, &gen), TRUE) << GetLastError();
  DCB back{};
  ASSERT_EQ(GetCommState(h, &back), TRUE);
  EXPECT_EQ(back.BaudRate, 14400u);

  // A failed setting leaves the port open and usable.
  SetTimeouts(h, 0, 0, 2000);
  pty.Send("ok");
  EXPECT_EQ(ReadAll(h, 2), "ok");
  EXPECT_EQ(CloseHandle(h), TRUE);
}

TEST(SerialState, RefusedSettingsFailWithTheSystemCode) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  const HANDLE h = Open(pty.device());
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  struct Case {
    const char* what;
    DWORD baud;
    BYTE bits, parity, stop;
  };
  const Case cases[] = {
      {"rate 0", 0, 8, NOPARITY, ONESTOPBIT},
      {"4 data bits", 9600, 4, NOPARITY, ONESTOPBIT},
      {"9 data bits", 9600, 9, NOPARITY, ONESTOPBIT},
      {"unknown parity", 9600, 8, 5, ONESTOPBIT},
      {"1.5 stop bits", 9600, 8, NOPARITY, ONE5STOPBITS},
      {"unknown stop bits", 9600, 8, NOPARITY, 3},
      // A pseudo-terminal carries 8 bits without parity only; the kernel drops the rest.
      {"parity the line does not do", 9600, 8, EVENPARITY, ONESTOPBIT},
      {"7 bits the line does not do", 9600, 7, NOPARITY, ONESTOPBIT},
  };
  for (const Case& c : cases) {
    DCB dcb = ReceiverDcb(c.baud);
    dcb.ByteSize = c.bits;
    dcb.Parity = c.parity;
    dcb.StopBits = c.stop;
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(SetCommState(h, &dcb), FALSE) << c.what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(EINVAL)) << c.what;
  }
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(SetCommState(h, nullptr), FALSE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetCommState(h, nullptr), FALSE);
  EXPECT_EQ(CloseHandle(h), TRUE);
}

TEST(SerialState, BuildCommDcbParsesText) {
  struct Case {
    const char* text;
    bool ok;
    DWORD baud;
    BYTE parity, bits, stop;
  };
  // Unchanged fields keep the starting values 1, 3 (mark), 6, 2.
  const Case cases[] = {
      {"9600,n,8,1", true, 9600, NOPARITY, 8, ONESTOPBIT},
      {"19200,n,8,1", true, 19200, NOPARITY, 8, ONESTOPBIT},
      {"14400,N,8,1", true, 14400, NOPARITY, 8, ONESTOPBIT},
      {"4800,e,7,2", true, 4800, EVENPARITY, 7, TWOSTOPBITS},
      {"1200,o,5,1.5", true, 1200, ODDPARITY, 5, ONE5STOPBITS},
      {"2400,s,6,1", true, 2400, SPACEPARITY, 6, ONESTOPBIT},
      {" 9600 , n , 8 , 1 ", true, 9600, NOPARITY, 8, ONESTOPBIT},
      {"115200", true, 115200, MARKPARITY, 6, TWOSTOPBITS},
      {"38400,o", true, 38400, ODDPARITY, 6, TWOSTOPBITS},
      {"4294967295,n,8,1", true, 4294967295u, NOPARITY, 8, ONESTOPBIT},
      {"baud=9600 parity=N data=8 stop=1", true, 9600, NOPARITY, 8, ONESTOPBIT},
      {"BAUD=57600 PARITY=e DATA=7 STOP=2", true, 57600, EVENPARITY, 7, TWOSTOPBITS},
      {"  parity=o   baud=300  ", true, 300, ODDPARITY, 6, TWOSTOPBITS},
      {"stop=1.5", true, 1, MARKPARITY, 6, ONE5STOPBITS},
      {"", false, 0, 0, 0, 0},
      {"   ", false, 0, 0, 0, 0},
      {",n,8,1", false, 0, 0, 0, 0},
      {"abc", false, 0, 0, 0, 0},
      {"9600x,n,8,1", false, 0, 0, 0, 0},
      {"-9600,n,8,1", false, 0, 0, 0, 0},
      {"0,n,8,1", false, 0, 0, 0, 0},
      {"4294967296,n,8,1", false, 0, 0, 0, 0},
      {"99999999999999999999,n,8,1", false, 0, 0, 0, 0},
      {"9600,x,8,1", false, 0, 0, 0, 0},
      {"9600,n,9,1", false, 0, 0, 0, 0},
      {"9600,n,4,1", false, 0, 0, 0, 0},
      {"9600,n,8,3", false, 0, 0, 0, 0},
      {"9600,n,8,1.", false, 0, 0, 0, 0},
      {"9600,,8,1", false, 0, 0, 0, 0},
      {"9600,n,8,1,", false, 0, 0, 0, 0},
      {"9600,n,8,1,x", false, 0, 0, 0, 0},
      {"9600 n 8 1", false, 0, 0, 0, 0},
      {"baud=", false, 0, 0, 0, 0},
      {"baud=9600 parity=Q", false, 0, 0, 0, 0},
      {"baud=9600 baud=4800", false, 0, 0, 0, 0},
      {"baud=9600 speed=1", false, 0, 0, 0, 0},
      {"baud=9600 data", false, 0, 0, 0, 0},
      {"baud = 9600", false, 0, 0, 0, 0},
      {"=", false, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    DCB dcb{};
    dcb.BaudRate = 1;
    dcb.Parity = MARKPARITY;
    dcb.ByteSize = 6;
    dcb.StopBits = TWOSTOPBITS;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.XonLim = 4096;
    SetLastError(ERROR_SUCCESS);
    const BOOL ok = BuildCommDCBA(c.text, &dcb);
    EXPECT_EQ(ok, c.ok ? TRUE : FALSE) << '"' << c.text << '"';
    if (c.ok) {
      EXPECT_EQ(dcb.BaudRate, c.baud) << c.text;
      EXPECT_EQ(dcb.Parity, c.parity) << c.text;
      EXPECT_EQ(dcb.ByteSize, c.bits) << c.text;
      EXPECT_EQ(dcb.StopBits, c.stop) << c.text;
    } else {
      EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << c.text;
      EXPECT_EQ(dcb.BaudRate, 1u) << c.text;
      EXPECT_EQ(dcb.Parity, MARKPARITY) << c.text;
      EXPECT_EQ(dcb.ByteSize, 6) << c.text;
      EXPECT_EQ(dcb.StopBits, TWOSTOPBITS) << c.text;
    }
    EXPECT_EQ(dcb.fDtrControl, DTR_CONTROL_ENABLE) << c.text;
    EXPECT_EQ(dcb.XonLim, 4096) << c.text;
  }
  DCB dcb{};
  EXPECT_EQ(BuildCommDCBA(nullptr, &dcb), FALSE);
  EXPECT_EQ(BuildCommDCBA("9600,n,8,1", nullptr), FALSE);
}

TEST(SerialHandles, StaleAndUnknownHandlesFailAtOnce) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  const HANDLE closed = Open(pty.device());
  ASSERT_NE(closed, INVALID_HANDLE_VALUE);
  ASSERT_EQ(CloseHandle(closed), TRUE);
  // A newer port must not answer to the old id.
  const HANDLE live = Open(pty.device());
  ASSERT_NE(live, INVALID_HANDLE_VALUE);
  ASSERT_NE(live, closed);

  for (const HANDLE h : {closed, HANDLE{0}, INVALID_HANDLE_VALUE, HANDLE{987654321}}) {
    SCOPED_TRACE(h);
    char buf[8];
    DWORD n = 5;
    DCB dcb = ReceiverDcb(9600);
    COMMTIMEOUTS t{};
    const auto start = Clock::now();
    const BOOL results[] = {
        ReadFile(h, buf, sizeof buf, &n, nullptr),
        WriteFile(h, "abc", 3, &n, nullptr),
        SetCommState(h, &dcb),
        GetCommState(h, &dcb),
        SetCommTimeouts(h, &t),
        GetCommTimeouts(h, &t),
        SetupComm(h, 4096, 128),
        PurgeComm(h, PURGE_RXCLEAR),
        CloseHandle(h),
    };
    for (BOOL r : results) EXPECT_EQ(r, FALSE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(n, 0u);
    EXPECT_LE(MsSince(start), 1000);
  }
  EXPECT_EQ(SetupComm(live, 4096, 128), TRUE);
  EXPECT_EQ(CloseHandle(live), TRUE);
  EXPECT_EQ(CloseHandle(live), FALSE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(SerialHandles, ValuesNeverRepeat) {
  Pty a, b;
  ASSERT_TRUE(a.ok() && b.ok());
  std::set<HANDLE> seen;
  HANDLE previous = 0;
  for (int i = 0; i < 300; ++i) {
    const HANDLE ha = Open(a.device());
    const HANDLE hb = Open(b.device());
    ASSERT_NE(ha, INVALID_HANDLE_VALUE);
    ASSERT_NE(hb, INVALID_HANDLE_VALUE);
    EXPECT_GT(ha, previous);
    EXPECT_TRUE(seen.insert(ha).second);
    EXPECT_TRUE(seen.insert(hb).second);
    previous = hb;
    ASSERT_EQ(CloseHandle(ha), TRUE);
    ASSERT_EQ(CloseHandle(hb), TRUE);
  }
  EXPECT_EQ(seen.size(), 600u);
  EXPECT_GE(*seen.begin(), 1);
}

TEST(SerialHandles, CloseReturnsPromptlyWhileAnotherThreadWaits) {
  enum Kind { kRead, kWrite, kReadWaitingForTheRest };
  for (const Kind kind : {kRead, kWrite, kReadWaitingForTheRest}) {
    const bool blockedInWrite = kind == kWrite;
    SCOPED_TRACE(kind);
    Pty pty;
    ASSERT_TRUE(pty.ok());
    const HANDLE h = Open(pty.device());
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetTimeouts(h, 0, 0, 60000, 60000);
    if (kind == kReadWaitingForTheRest) {
      // At 50 baud the other 99 bytes would take 20 s.
      DCB dcb = ReceiverDcb(50);
      ASSERT_EQ(SetCommState(h, &dcb), TRUE);
      pty.Send("$");
    }
    std::atomic<bool> returned{false};
    std::atomic<pid_t> tid{0};
    BOOL result = TRUE;
    DWORD error = 0;
    std::thread worker([&] {
      tid = korvane_test::ThreadId();
      std::string buf(4 << 20, 'z');
      DWORD n = 0;
      result = blockedInWrite
                   ? WriteFile(h, buf.data(), static_cast<DWORD>(buf.size()), &n, nullptr)
                   : ReadFile(h, buf.data(), 100, &n, nullptr);
      error = GetLastError();
      returned = true;
    });
    // Once it waits in the call (a write waits when the line's buffer is full).
    while (tid.load() == 0) std::this_thread::yield();
    EXPECT_TRUE(korvane_test::WaitUntilBlockedIn(tid, korvane_test::kPollCalls));
    const auto start = Clock::now();
    EXPECT_EQ(CloseHandle(h), TRUE);
    EXPECT_LE(MsSince(start), 2000);
    worker.join();
    EXPECT_TRUE(returned.load());
    EXPECT_EQ(result, FALSE);
    EXPECT_TRUE(error == ERROR_OPERATION_ABORTED || error == ERROR_INVALID_HANDLE) << error;
    // The device is free at once.
    const HANDLE again = Open(pty.device());
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CloseHandle(again), TRUE);
  }
}

TEST(SerialHandles, CallsRacingWithCloseAndReopen) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  std::atomic<HANDLE> current{0};
  std::atomic<bool> stop{false};
  std::atomic<int> unexpected{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < 4; ++w) {
    workers.emplace_back([&, w] {
      char buf[64];
      while (!stop) {
        const HANDLE h = current.load();
        DWORD n = 0;
        DCB dcb = ReceiverDcb(9600);
        COMMTIMEOUTS t{0, 0, 5, 0, 20};
        BOOL ok = TRUE;
        switch (w) {
          case 0:
            ok = ReadFile(h, buf, sizeof buf, &n, nullptr);
            break;
          case 1:
            ok = WriteFile(h, "$PQVU160*33\r\n", 13, &n, nullptr);
            break;
          case 2:
            ok = GetCommState(h, &dcb) && SetCommTimeouts(h, &t);
            break;
          default:
            ok = PurgeComm(h, PURGE_RXCLEAR | PURGE_TXCLEAR);
            break;
        }
        const DWORD e = GetLastError();
        if (!ok && e != ERROR_INVALID_HANDLE && e != ERROR_OPERATION_ABORTED &&
            e != ERROR_SEM_TIMEOUT) {
          ++unexpected;
        }
      }
    });
  }
  const auto start = Clock::now();
  for (int i = 0; i < 100; ++i) {
    const HANDLE h = Open(pty.device());
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << "iteration " << i << " error " << GetLastError();
    COMMTIMEOUTS t{0, 0, 5, 0, 20};
    SetCommTimeouts(h, &t);
    current = h;
    pty.Discard();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_EQ(CloseHandle(h), TRUE);
  }
  stop = true;
  for (auto& t : workers) t.join();
  EXPECT_EQ(unexpected.load(), 0);
  EXPECT_LE(MsSince(start), 20000);
}

TEST(SerialQueues, PurgeDropsPendingInput) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  const HANDLE h = Open(pty.device());
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(SetupComm(h, 4096, 128), TRUE);
  SetTimeouts(h, 0, 0, 300);
  pty.Send("stale bytes");
  // Waiting in the line's input, whether or not they have reached the reading side yet.
  ASSERT_EQ(PurgeComm(h, PURGE_RXCLEAR), TRUE);
  pty.Send("fresh");
  EXPECT_EQ(ReadAll(h, 5, 2000), "fresh");

  EXPECT_EQ(PurgeComm(h, PURGE_TXCLEAR | PURGE_TXABORT | PURGE_RXABORT), TRUE);
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(PurgeComm(h, 0x100), FALSE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

  char buf[4];
  DWORD n = 0;
  int overlapped = 0;
  EXPECT_EQ(ReadFile(h, buf, 4, &n, &overlapped), FALSE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(ReadFile(h, nullptr, 4, &n, nullptr), FALSE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(WriteFile(h, nullptr, 4, &n, nullptr), FALSE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(SetCommTimeouts(h, nullptr), FALSE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(CloseHandle(h), TRUE);
}

TEST(SerialErrors, LastErrorIsPerThread) {
  SetLastError(ERROR_SEM_TIMEOUT);
  DWORD other = 1;
  std::thread t([&] {
    other = GetLastError();
    SetLastError(ERROR_ACCESS_DENIED);
  });
  t.join();
  EXPECT_EQ(other, ERROR_SUCCESS);
  EXPECT_EQ(GetLastError(), ERROR_SEM_TIMEOUT);
}

}  // namespace

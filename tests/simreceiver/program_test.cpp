// The korvane-simreceiver program, run as a person would run it.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "tests/simreceiver/sim_test_util.h"

namespace {

using namespace std::chrono_literals;

const std::string kProgram = std::string(KORVANE_BINARY_DIR) + "/tools/korvane-simreceiver";

class Program {
 public:
  explicit Program(std::vector<std::string> args) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], STDOUT_FILENO);
      const int null = ::open("/dev/null", O_WRONLY);
      if (null >= 0) ::dup2(null, STDERR_FILENO);
      std::vector<char*> argv;
      argv.push_back(const_cast<char*>(kProgram.c_str()));
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(kProgram.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    out_ = out[0];
  }
  ~Program() {
    if (pid_ > 0 && !exited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
  }
  std::string ReadLine() {
    return simtest::ReadUntil(
        out_, [](const std::string& s) { return s.find('\n') != std::string::npos; }, 5s);
  }
  std::string ReadAll() {
    return simtest::ReadUntil(
        out_, [](const std::string&) { return false; }, 5s);
  }
  // Exit status, or -1 when it did not end within `timeout`.
  int Wait(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(10ms);
    }
    return -1;
  }
  void Signal(int sig) { ::kill(pid_, sig); }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  bool exited_ = false;
};

class SimProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::access(kProgram.c_str(), X_OK) != 0) GTEST_SKIP() << "not built: " << kProgram;
  }
};

TEST_F(SimProgram, ServesAPtyUntilTerminated) {
  Program p({"--pty", "--period", "50"});
  std::string line = p.ReadLine();
  ASSERT_TRUE(line.starts_with("/dev/pts/")) << line;
  line.pop_back();
  const int fd = ::open(line.c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(fd, 0);
  const std::string got = simtest::ReadUntil(
      fd, [](const std::string& s) { return s.find("$PQVUEPH") != std::string::npos; }, 5s);
  EXPECT_NE(got.find("$GPGGA,"), std::string::npos);
  ASSERT_TRUE(simtest::WriteAll(fd, std::string("$PQVU400*36\r\n", 14)));
  const std::string reply = simtest::ReadUntil(
      fd, [](const std::string& s) { return s.find("$PQVU500,") != std::string::npos; }, 5s);
  EXPECT_NE(reply.find(simtest::Sentence("PQVU500,1000")), std::string::npos);
  ::close(fd);
  p.Signal(SIGTERM);
  EXPECT_EQ(p.Wait(3s), 0);
}

TEST_F(SimProgram, ServesTcpWithFailingSettingsAndFaults) {
  Program p({"--tcp", "0", "--period", "50", "--fail-settings", "--fault", "bad-checksum",
             "--fault", "other-talkers"});
  const std::string line = p.ReadLine();
  const std::string head = "listening on 127.0.0.1:";
  ASSERT_TRUE(line.starts_with(head) && line.ends_with("\n")) << line;
  const std::string digits = line.substr(head.size(), line.size() - head.size() - 1);
  ASSERT_TRUE(!digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos)
      << line;
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(std::stoi(digits)));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_TRUE(simtest::WriteAll(fd, simtest::Sentence("PQVU330,3")));
  const std::string ack = simtest::Sentence("PQVU001,330,2");
  const std::string got = simtest::ReadUntil(
      fd,
      [&](const std::string& s) {
        return s.find(ack) != std::string::npos && s.find("$GLGSV") != std::string::npos &&
               s.find("$PQVUEPH") != std::string::npos;
      },
      5s);
  EXPECT_NE(got.find(ack), std::string::npos);
  EXPECT_NE(got.find("$GLGSV,"), std::string::npos);
  int bad = 0;
  for (const std::string& l : simtest::Lines(got)) {
    if (l.ends_with("\r\n") && !simtest::ValidLine(l)) ++bad;
  }
  EXPECT_GT(bad, 0);
  ::close(fd);
  p.Signal(SIGINT);
  EXPECT_EQ(p.Wait(3s), 0);
}

TEST_F(SimProgram, CommandLineErrors) {
  const struct {
    std::vector<std::string> args;
    int status;
  } cases[] = {
      {{"--help"}, 0},
      {{}, 2},
      {{"--bogus"}, 2},
      {{"--pty", "--fault", "no-such"}, 2},
      {{"--pty", "--period"}, 2},
      {{"--pty", "--period", "0"}, 2},
      {{"--tcp", "70000"}, 2},
  };
  for (const auto& c : cases) {
    Program p(c.args);
    const std::string out = p.ReadAll();
    EXPECT_EQ(p.Wait(3s), c.status) << (c.args.empty() ? "" : c.args[0]);
    if (c.status == 0) {
      EXPECT_NE(out.find("usage: korvane-simreceiver"), std::string::npos);
    }
  }
}

}  // namespace

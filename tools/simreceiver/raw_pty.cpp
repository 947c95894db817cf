#include "tools/simreceiver/raw_pty.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sim {

bool OpenRawPty(RawPty* pty, std::string* error) {
  int master = -1, slave = -1;
  auto fail = [&](const char* what) {
    if (error) *error = std::string(what) + ": " + std::strerror(errno);
    if (master >= 0) ::close(master);
    if (slave >= 0) ::close(slave);
    return false;
  };
  if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return fail("openpty");
  char name[128] = {};
  termios tio{};
  if (::ptsname_r(master, name, sizeof name) != 0 || ::tcgetattr(slave, &tio) != 0)
    return fail("pty setup");
  ::cfmakeraw(&tio);
  if (::tcsetattr(slave, TCSANOW, &tio) != 0) return fail("tcsetattr");
  ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  ::fcntl(master, F_SETFD, FD_CLOEXEC);
  ::fcntl(slave, F_SETFD, FD_CLOEXEC);
  pty->master = master;
  pty->slave = slave;
  pty->path = name;
  return true;
}

}  // namespace sim

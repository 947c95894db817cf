// Only kernel tty headers here: they cannot share a source with glibc's <termios.h>.
#include "tools/simreceiver/pty_speed.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace sim {

bool PtyLineSpeed(int fd, std::uint32_t* baud) {
  // On a master the kernel answers with the slave's settings.
  struct termios2 tio {};
  if (::ioctl(fd, TCGETS2, &tio) != 0) return false;
  *baud = tio.c_ospeed;
  return true;
}

}  // namespace sim

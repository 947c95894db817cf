// Only kernel tty headers here: see serial_baud.h.
#include "platform/core/serial_baud.h"

#include <asm/ioctls.h>
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace platform::serial_detail {

int SetLineRate(int fd, std::uint32_t baud) {
  struct termios2 tio {};
  if (::ioctl(fd, TCGETS2, &tio) != 0) return errno;
  tio.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
  tio.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
  tio.c_ispeed = baud;
  tio.c_ospeed = baud;
  if (::ioctl(fd, TCSETS2, &tio) != 0) return errno;
  return 0;
}

int GetLineRate(int fd, std::uint32_t* baud) {
  struct termios2 tio {};
  if (::ioctl(fd, TCGETS2, &tio) != 0) return errno;
  *baud = tio.c_ospeed;
  return 0;
}

}  // namespace platform::serial_detail

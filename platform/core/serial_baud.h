// Line rates through the kernel's termios2, for rates glibc's termios has no constant for.
// Kept apart because the kernel's termios headers and glibc's <termios.h> cannot be included
// in the same source.
#pragma once

#include <cstdint>

namespace platform::serial_detail {

// Sets input and output rate to any value; returns 0 or the errno of the refusal.
int SetLineRate(int fd, std::uint32_t baud);
// The output rate the driver reports; returns 0 or errno.
int GetLineRate(int fd, std::uint32_t* baud);

}  // namespace platform::serial_detail

// The line speed a program set on a pseudo-terminal, read from its master side.
#pragma once

#include <cstdint>

namespace sim {

// The output speed of the terminal behind fd in bits per second, also for rates that have no
// classic constant. False when the speed cannot be read.
bool PtyLineSpeed(int fd, std::uint32_t* baud);

}  // namespace sim

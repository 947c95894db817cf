// A pseudo-terminal in raw mode whose master side the simulators serve.
#pragma once

#include <string>

namespace sim {

struct RawPty {
  int master = -1;  // non-blocking
  int slave = -1;   // kept open so that the master never sees a hang-up
  std::string path;
};

// False with a message naming the failed step.
bool OpenRawPty(RawPty* pty, std::string* error);

}  // namespace sim

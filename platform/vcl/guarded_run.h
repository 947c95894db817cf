// The program's outermost frame: start-up and message loop run inside it, and an exception that
// escapes them is shown before the program ends with a failure code.
#pragma once

#include <functional>

namespace platform {

// Runs body. An exception that escapes it is shown in the application's exception box (one not
// of the layer's Exception class as an Exception with an empty message) and the result is 1;
// otherwise 0. The result is the process's exit code.
int RunGuarded(const std::function<void()>& body);

}  // namespace platform

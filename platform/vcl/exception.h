// The component library's exception classes. Message is the text the exception box shows.
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message), Message(message) {}
  std::string Message;
};

// A layout text that cannot be read: syntax, unknown class or property, bad value.
class EReadError : public Exception {
 public:
  using Exception::Exception;
};
// An index outside a list (items, panels, grid cells).
class EListError : public Exception {
 public:
  using Exception::Exception;
};
class EStringListError : public EListError {
 public:
  using EListError::EListError;
};
class EComponentError : public Exception {
 public:
  using Exception::Exception;
};
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};
class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};
// The silent exception: it ends the current event and shows no box.
class EAbort : public Exception {
 public:
  using Exception::Exception;
};
[[noreturn]] inline void Abort() {
  throw EAbort("Operation aborted");
}

}  // namespace platform

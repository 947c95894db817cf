#include "platform/vcl/guarded_run.h"

#include <exception>

#include "platform/vcl/application.h"
#include "platform/vcl/exception.h"

namespace platform {

int RunGuarded(const std::function<void()>& body) {
  try {
    body();
    return 0;
  } catch (const Exception&) {
    Application->ShowException(std::current_exception());
  } catch (...) {
    Application->ShowException(std::make_exception_ptr(Exception("")));
  }
  return 1;
}

}  // namespace platform

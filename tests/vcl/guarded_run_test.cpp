// The program's outermost frame: the exit code, and the exception box for what escapes.
#include "platform/vcl/guarded_run.h"

#include <stdexcept>

#include "tests/vcl/vcl_test_support.h"

namespace {

using namespace platform;

class GuardedRun : public vcltest::VclTest {};

TEST_F(GuardedRun, ExitCodeAndBoxForWhatEscapes) {
  Application->Title = "Korvane";
  struct Case {
    const char* name;
    std::function<void()> body;
    int exitCode;
    int boxes;
    const char* text;  // the box's text
  } const cases[] = {
      {"ran to the end", [] {}, 0, 0, ""},
      {"layer's exception", [] { throw EListError("List index out of bounds"); }, 1, 1,
       "List index out of bounds."},
      {"other exception", [] { throw std::runtime_error("bad_alloc in disguise"); }, 1, 1, ""},
      {"not an exception class", [] { throw 42; }, 1, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Application->ClearModalLog();
    EXPECT_EQ(RunGuarded(c.body), c.exitCode);
    ASSERT_EQ(static_cast<int>(Log().size()), c.boxes);
    if (c.boxes == 0) continue;
    EXPECT_EQ(Log()[0].Kind, mkException);
    EXPECT_EQ(Log()[0].Text, c.text);
    EXPECT_EQ(Log()[0].Caption, "Korvane");
  }
}

}  // namespace

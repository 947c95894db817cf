// A hidden control takes no input: its widget is disabled while it is hidden, and Enabled
// keeps the value the program gave it.
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "tests/vcl/vcl_test_support.h"

namespace {

using namespace platform;

class HiddenControl : public vcltest::VclTest {};

// Space on the button's widget, as a keyboard user presses it.
void PressSpace(TButton* b) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
  QApplication::sendEvent(b->Widget(), &press);
  QApplication::sendEvent(b->Widget(), &release);
  vcltest::ProcessEvents();
}

TEST_F(HiddenControl, TakesNoKeysAndKeepsItsEnabled) {
  TForm form(nullptr);
  auto* button = new TButton(&form);
  button->Parent = &form;
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  struct Step {
    const char* name;
    bool visible, enabled;
    bool widgetEnabled;  // and so whether a key clicks
  } const steps[] = {
      {"shown, enabled", true, true, true},       {"hidden, enabled", false, true, false},
      {"hidden, disabled", false, false, false},  {"shown, disabled", true, false, false},
      {"shown again, enabled", true, true, true},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    button->Visible = s.visible;
    button->Enabled = s.enabled;
    EXPECT_EQ(bool(button->Enabled), s.enabled);
    EXPECT_EQ(button->Widget()->isEnabled(), s.widgetEnabled);
    const int before = clicks;
    PressSpace(button);
    EXPECT_EQ(clicks - before, s.widgetEnabled ? 1 : 0);
  }
}

}  // namespace

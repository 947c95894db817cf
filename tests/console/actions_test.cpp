// The five keyboard actions, pressed as keys on the window: each shows what it toggles, a
// second press hides it again, and nothing else changes.
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <string>

#include "tests/console/console_fixture.h"

namespace consoletest {
namespace {

class KeyboardActions : public ConsoleTest {
 protected:
  void SetUp() override {
    ConsoleTest::SetUp();
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    ASSERT_TRUE(WaitUntil([&] { return QApplication::activeWindow() == form->Widget(); }));
  }

  void Press(Qt::Key key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::ControlModifier | Qt::AltModifier);
    QCoreApplication::sendEvent(form->Widget(), &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::ControlModifier | Qt::AltModifier);
    QCoreApplication::sendEvent(form->Widget(), &up);
    platform::Application->ProcessMessages();
  }

  // Everything the actions may change, in one line.
  std::string Look() const {
    auto b = [](bool v) { return v ? "1" : "0"; };
    const console::TMainForm& f = *form;
    return std::string("tabs ") + b(f.TabSheet2->TabVisible) + b(f.TabSheet3->TabVisible) +
           b(f.TabSheet4->TabVisible) + b(f.TabSheet5->TabVisible) + " factory " +
           b(f.BtnFactory->Visible) + " comport " + b(f.GrpComport->Visible) + " socket " +
           b(f.GrpSocket->Visible) + " tcxo " + b(f.GroupBox6->Visible) + " bar " +
           std::to_string(f.StatusBar2->Tag) + " height " + std::to_string(f.ClientHeight);
  }
};

TEST_F(KeyboardActions, EachKeyTogglesItsOwnPartOnly) {
  const int h = form->ClientHeight;
  const std::string tall = std::to_string(h + int(form->StatusBar2->Height));
  const std::string start = Look();
  ASSERT_EQ(start,
            "tabs 0000 factory 0 comport 1 socket 0 tcxo 0 bar 0 height " + std::to_string(h));
  struct KeyCase {
    const char* name;
    Qt::Key key;
    std::string shown;
  } const cases[] = {
      {"Ctrl+Alt+S", Qt::Key_S,
       "tabs 1110 factory 0 comport 1 socket 0 tcxo 0 bar 0 height " + std::to_string(h)},
      {"Ctrl+Alt+F", Qt::Key_F,
       "tabs 0000 factory 1 comport 1 socket 0 tcxo 0 bar 0 height " + std::to_string(h)},
      {"Ctrl+Alt+W", Qt::Key_W,
       "tabs 0000 factory 0 comport 0 socket 1 tcxo 0 bar 0 height " + std::to_string(h)},
      {"Ctrl+Alt+T", Qt::Key_T,
       "tabs 0000 factory 0 comport 1 socket 0 tcxo 1 bar 0 height " + std::to_string(h)},
      {"Ctrl+Alt+V", Qt::Key_V,
       "tabs 0000 factory 0 comport 1 socket 0 tcxo 0 bar 1 height " + tall},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    Press(c.key);
    EXPECT_EQ(Look(), c.shown);
    Press(c.key);
    EXPECT_EQ(Look(), start);
  }
  // Other letters, or the letter without Alt, do nothing.
  Press(Qt::Key_Q);
  QKeyEvent ctrlOnly(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier);
  QCoreApplication::sendEvent(form->Widget(), &ctrlOnly);
  EXPECT_EQ(Look(), start);
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{});
}

TEST_F(KeyboardActions, SocketGroupShowsItsDefaults) {
  Press(Qt::Key_W);
  ASSERT_TRUE(form->GrpSocket->Visible);
  EXPECT_EQ(std::string(form->EditIP->Text), "127.0.0.1");
  EXPECT_EQ(std::string(form->EditSocket->Text), "7005");
}

// The pages follow "Setup": when it shows, one press hides all three.
TEST_F(KeyboardActions, PagesFollowSetup) {
  form->TabSheet2->TabVisible = true;
  form->TabSheet3->TabVisible = false;
  Press(Qt::Key_S);
  EXPECT_FALSE(form->TabSheet2->TabVisible);
  EXPECT_FALSE(form->TabSheet3->TabVisible);
  EXPECT_FALSE(form->TabSheet4->TabVisible);
}

}  // namespace
}  // namespace consoletest

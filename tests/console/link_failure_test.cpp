// A receiver that goes away, writes that fail, a log on a full disk, out-of-range baud rates and
// the button hidden under its twin.
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <cerrno>
#include <system_error>
#include <thread>

#include "tests/console/command_util.h"

namespace consoletest {
namespace {

// Taken when checked: the window shows system errors in the user's language, set up by then.
std::string IoError() {
  return std::system_category().message(EIO);
}

// Space pressed and released on the button's widget, as a keyboard user would.
void PressSpace(platform::TButton* button) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
  QApplication::sendEvent(button->Widget(), &press);
  QApplication::sendEvent(button->Widget(), &release);
  platform::Application->ProcessMessages();
}

std::vector<std::string> StatusBar(console::TMainForm* f) {
  return {f->StatusBar1->Panels[0].Text(), f->StatusBar1->Panels[1].Text()};
}

// The receiver hangs up: the loss is shown with the port and the system error, and the window
// is unlinked as after "Close", so that "Open" works again.
TEST_F(CommandTest, ReceiverThatHangsUpClosesTheLink) {
  StartPtyReceiver();
  OpenPort();
  const std::string path = link->SlavePath();
  link->EmitCycleNow();
  link->EmitCycleNow();
  ASSERT_TRUE(WaitUntil([&] { return std::string(form->LabelFix->Caption) == "3D SPS"; }));
  link->Stop();
  ASSERT_TRUE(WaitUntil([&] { return form->ComHandle.load() == 0; }, 3000));
  EXPECT_EQ(StatusBar(form), (std::vector<std::string>{"Link Lost", path + ": " + IoError()}));
  EXPECT_EQ(form->ReaderThread, nullptr);
  EXPECT_EQ(std::string(form->LabelFix->Caption), "");
  EXPECT_FALSE(form->BtnClose->Visible);
  EXPECT_TRUE(form->BtnOpen->Visible);
  EXPECT_TRUE(form->BtnOpen->Enabled);
  EXPECT_TRUE(form->CmbCom->Enabled);
  EXPECT_TRUE(form->BtnConnect->Enabled);
  EXPECT_FALSE(form->Timer1->Enabled);
  EXPECT_FALSE(form->BtnHot->Enabled);
  EXPECT_TRUE(TakeMessages().empty());

  StartPtyReceiver();
  OpenPort();
  EXPECT_TRUE(form->BtnClose->Visible);
  EXPECT_EQ(StatusBar(form), (std::vector<std::string>{"", ""}));
}

// A receiver that only says nothing keeps its link.
TEST_F(CommandTest, SilentReceiverKeepsItsLink) {
  OpenQuiet();
  const HANDLE h = form->ComHandle.load();
  Pump(600);
  EXPECT_EQ(form->ComHandle.load(), h);
  EXPECT_NE(form->ReaderThread, nullptr);
  EXPECT_TRUE(form->BtnClose->Visible);
  EXPECT_EQ(StatusBar(form), (std::vector<std::string>{"", ""}));
  // And it still hears it.
  ASSERT_TRUE(Deliver(""));
}

// A command written to a port whose other end has gone is the link's error, not a success.
TEST_F(CommandTest, WriteToAHungUpPortIsTheLinksError) {
  OpenQuiet();
  const std::string path = link->SlavePath();
  link->Stop();
  // No events run before the click: the reader's report waits in the queue.
  form->BtnQueryFixRate->Click();
  EXPECT_EQ(StatusBar(form), (std::vector<std::string>{"Write Error", path + ": " + IoError()}));
  ASSERT_TRUE(WaitUntil([&] { return form->ComHandle.load() == 0; }, 3000));
  EXPECT_EQ(StatusBar(form)[0], "Link Lost");
}

// The same over a socket whose peer has gone: a send fails (at the latest the second, once the
// peer's reset is back) and is the link's error until the disconnection unlinks the window.
TEST_F(CommandTest, WriteToAClosedSocketIsTheLinksError) {
  ConnectQuiet();
  const std::string peer = "127.0.0.1:" + std::to_string(link->Port());
  link->CloseClient();
  // Until the reader has seen the end; without running events, which would unlink the window.
  const auto end = Clock::now() + std::chrono::seconds(5);
  while (form->ClientSocket1.Active() && Clock::now() < end)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  // Two sentences 100 ms apart; no events run meanwhile.
  form->BtnDGPSQuery->Click();
  const std::vector<std::string> bar = StatusBar(form);
  EXPECT_EQ(bar[0], "Write Error");
  bool known = false;
  for (int e : {EPIPE, ECONNRESET, ENOTCONN})
    known |= bar[1] == peer + ": " + std::system_category().message(e);
  EXPECT_TRUE(known) << bar[1];
  ASSERT_TRUE(WaitUntil([&] { return !form->UseSocket.load(); }));
  EXPECT_TRUE(form->BtnConnect->Visible);
  // The disconnection that follows leaves the error shown.
  EXPECT_EQ(StatusBar(form), bar);
}

// The log on a full disk stops with the system's reason; the link goes on.
TEST_F(CommandTest, LogOnAFullDiskStops) {
  OpenQuiet();
  saveAs = "/dev/full";
  answer = platform::IDYES;  // it exists: replace it
  form->BtnLog->Click();
  ASSERT_TRUE(form->BtnLogging->Visible);
  TakeMessages();
  link->SendRaw(Sentence("GPTXT,02") + Release());
  ASSERT_TRUE(WaitUntil([&] { return !boxes.empty(); }));
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Log File Write Error!! " +
                                                     std::system_category().message(ENOSPC)});
  EXPECT_FALSE(form->LogFile.IsOpen());
  EXPECT_FALSE(form->BtnLogging->Visible);
  EXPECT_TRUE(form->BtnLog->Visible);
  EXPECT_NE(form->ComHandle.load(), 0);
  ASSERT_TRUE(Deliver(""));
  EXPECT_TRUE(TakeMessages().empty()) << "one message for one failure";
}

// A baud rate that is not a positive number opens nothing.
TEST_F(CommandTest, BaudRateBelowOneOpensNothing) {
  StartPtyReceiver();
  form->CmbCom->Text = link->SlavePath();
  for (const char* baud : {"-9600", "0", "-1"}) {
    SCOPED_TRACE(baud);
    form->CmbBaud->Text = baud;
    form->BtnOpen->Click();
    platform::Application->ProcessMessages();
    EXPECT_EQ(form->ComHandle.load(), 0);
    EXPECT_EQ(form->ReaderThread, nullptr);
    const std::vector<std::string> messages = TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(baud), std::string::npos) << messages[0];
  }
  form->CmbBaud->Text = "38400";
  form->BtnOpen->Click();
  EXPECT_NE(form->ComHandle.load(), 0) << "the port was left free";
}

// The button under its twin is hidden and takes no keys; shown again, it does.
TEST_F(CommandTest, ButtonUnderItsTwinTakesNoKeys) {
  OpenQuiet();
  const HANDLE h = form->ComHandle.load();
  for (platform::TButton* under : {form->BtnOpen, form->BtnLog}) {
    SCOPED_TRACE(std::string(under->Name));
    if (under == form->BtnLog) {
      saveAs = "/dev/null";
      form->BtnLog->Click();
      ASSERT_TRUE(form->BtnLogging->Visible);
      boxes.clear();
    }
    EXPECT_FALSE(under->Visible);
    EXPECT_FALSE(under->Widget()->isEnabled());
    PressSpace(under);
    EXPECT_TRUE(boxes.empty()) << "the hidden button acted";
    EXPECT_EQ(form->ComHandle.load(), h);
  }
  EXPECT_TRUE(form->LogFile.IsOpen());
  // After "Close" the keyboard reaches "Open" again.
  form->BtnClose->Click();
  EXPECT_TRUE(form->BtnOpen->Visible);
  EXPECT_FALSE(form->BtnClose->Visible);
  EXPECT_FALSE(form->BtnClose->Widget()->isEnabled());
  EXPECT_TRUE(form->BtnLog->Visible);
  PressSpace(form->BtnOpen);
  EXPECT_NE(form->ComHandle.load(), 0);
}

TEST_F(CommandTest, ConnectUnderDisconnectTakesNoKeys) {
  ConnectQuiet();
  EXPECT_FALSE(form->BtnConnect->Visible);
  EXPECT_FALSE(form->BtnConnect->Widget()->isEnabled());
  EXPECT_TRUE(form->BtnDisconnect->Visible);
  link->CloseClient();
  ASSERT_TRUE(WaitUntil([&] { return !form->UseSocket.load(); }));
  EXPECT_TRUE(form->BtnConnect->Visible);
  EXPECT_FALSE(form->BtnDisconnect->Visible);
}

}  // namespace
}  // namespace consoletest

// The application object: boxes through the responder, exceptions from handlers and steps,
// timers and shortcuts in the running loop, and steps of other threads on the window thread.
#include <sys/resource.h>

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/core/thread.h"
#include "tests/vcl/vcl_test_support.h"

namespace {

using namespace platform;

class App : public vcltest::VclTest {
 protected:
  // Terminates a loop that a broken test would otherwise never leave; disarmed when the
  // returned timer goes out of scope.
  static std::unique_ptr<QTimer> Watchdog(int ms = 5000) {
    auto t = std::make_unique<QTimer>();
    t->setSingleShot(true);
    QObject::connect(t.get(), &QTimer::timeout, [] { Application->Terminate(); });
    t->start(ms);
    return t;
  }
  static int Count(TModalKind kind) {
    int n = 0;
    for (const TModalRequest& r : Log()) n += r.Kind == kind;
    return n;
  }
};

TEST_F(App, BoxesGoThroughTheResponderAndAreRecorded) {
  std::vector<std::string> seen;
  Application->SetModalResponder([&](TModalRequest& r) {
    seen.push_back(r.Text);
    if (r.Kind == mkMessageBox) return r.Text == "File exists. Overwrite this file?" ? IDNO : IDYES;
    if (r.Kind == mkSaveDialog) {
      r.FileName = "/tmp/chosen.nma";
      return 1;
    }
    return IDOK;
  });
  Application->Title = "Korvane";
  ShowMessage("Please Open Com port First");
  EXPECT_EQ(Application->MessageBox("File exists. Overwrite this file?", "Save File",
                                    MB_YESNO | MB_ICONQUESTION),
            IDNO);
  EXPECT_EQ(Application->MessageBox("Other?", "Q", MB_YESNO), IDYES);
  TSaveDialog dialog(nullptr);
  dialog.FileName = "Korvane.nma";
  dialog.Filter = "NMEA Files|*.nma|Text Files|*.txt|All Files|*.*";
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, "/tmp/chosen.nma");

  ASSERT_EQ(Log().size(), 4u);
  EXPECT_EQ(Log()[0].Kind, mkMessage);
  EXPECT_EQ(Log()[0].Text, "Please Open Com port First");
  EXPECT_EQ(Log()[0].Caption, "Korvane");
  EXPECT_EQ(Log()[1].Kind, mkMessageBox);
  EXPECT_EQ(Log()[1].Caption, "Save File");
  EXPECT_EQ(Log()[1].Flags, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(Log()[1].Result, IDNO);
  EXPECT_EQ(Log()[3].Kind, mkSaveDialog);
  EXPECT_EQ(Log()[3].Filter, "NMEA Files|*.nma|Text Files|*.txt|All Files|*.*");
  EXPECT_EQ(Log()[3].FileName, "/tmp/chosen.nma");
  EXPECT_EQ(seen.size(), 4u);

  // Cancelled: the file name stays as it was.
  Application->SetModalResponder([](TModalRequest& r) {
    r.FileName = "/tmp/ignored";
    return 0;
  });
  dialog.FileName = "Korvane.nma";
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, "Korvane.nma");
}

TEST_F(App, ModalFormAnsweredByTheResponder) {
  TForm form(nullptr);
  form.Name = "FrmDetect";
  form.Caption = "NMEA Comport";
  Application->SetModalResponder([](TModalRequest& r) { return r.Kind == mkForm ? mrOk : 0; });
  EXPECT_EQ(form.ShowModal(), mrOk);
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_EQ(Log()[0].Kind, mkForm);
  EXPECT_EQ(Log()[0].Text, "FrmDetect");
  EXPECT_EQ(Log()[0].Caption, "NMEA Comport");
  EXPECT_FALSE(form.Visible);
}

TEST_F(App, ModalFormRunsItsOwnLoopUntilModalResult) {
  // Without a responder the form really runs modally; a button with a modal result ends it.
  Application->SetModalResponder(nullptr);
  TForm form(nullptr);
  auto* ok = new TButton(&form);
  ok->Parent = &form;
  ok->ModalResult = mrOk;
  int closes = 0;
  form.OnClose = [&](TObject*, TCloseAction& a) {
    ++closes;
    EXPECT_EQ(a, caHide);
  };
  QTimer::singleShot(20, ok->Widget(), [ok] { static_cast<QPushButton*>(ok->Widget())->click(); });
  QTimer::singleShot(5000, form.Widget(), [&form] { form.ModalResult = mrAbort; });
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(form.Visible);
  EXPECT_FALSE(form.Widget()->isVisible());
  Application->SetModalResponder(vcltest::DefaultAnswer);
}

TEST_F(App, ThrowingHandlerShowsOneBoxAfterItReturns) {
  TForm form(nullptr);
  auto* btn = new TButton(&form);
  btn->Parent = &form;
  bool after = false;
  btn->OnClick = [&](TObject*) { throw Exception("Please check the value"); };
  static_cast<QPushButton*>(btn->Widget())->click();
  // Not shown inside the handler: posted.
  EXPECT_EQ(Count(mkException), 0);
  vcltest::ProcessEvents();
  ASSERT_EQ(Count(mkException), 1);
  EXPECT_EQ(Log().back().Text, "Please check the value.");
  EXPECT_EQ(Log().back().Flags, MB_OK | MB_ICONSTOP);

  // Click() from code outside any handler is a boundary too.
  btn->OnClick = [&](TObject*) { throw std::out_of_range("'x' is not a valid integer value"); };
  EXPECT_NO_THROW(btn->Click());
  vcltest::ProcessEvents();
  EXPECT_EQ(Count(mkException), 2);
  EXPECT_EQ(Log().back().Text, "'x' is not a valid integer value.");

  // Inside a handler, a throwing Click() ends that handler, as in the original library.
  auto* outer = new TButton(&form);
  outer->Parent = &form;
  outer->OnClick = [&](TObject*) {
    btn->Click();
    after = true;
  };
  static_cast<QPushButton*>(outer->Widget())->click();
  vcltest::ProcessEvents();
  EXPECT_FALSE(after);
  EXPECT_EQ(Count(mkException), 3);

  // Messages that end in punctuation get no extra full stop; unknown exceptions show empty.
  btn->OnClick = [](TObject*) { throw Exception("Warning!!"); };
  btn->Click();
  btn->OnClick = [](TObject*) { throw 42; };
  btn->Click();
  vcltest::ProcessEvents();
  ASSERT_EQ(Count(mkException), 5);
  EXPECT_EQ(Log()[Log().size() - 2].Text, "Warning!!");
  EXPECT_EQ(Log().back().Text, "");

  // The application keeps running: a later click works.
  int clicks = 0;
  btn->OnClick = [&](TObject*) { ++clicks; };
  btn->Click();
  EXPECT_EQ(clicks, 1);
}

TEST_F(App, TimerFiresWhileTheLoopRuns) {
  TTimer timer(nullptr);
  timer.Interval = 10;
  int ticks = 0;
  timer.OnTimer = [&](TObject* s) {
    EXPECT_EQ(s, &timer);
    if (++ticks == 3) Application->Terminate();
  };
  const auto watchdog = Watchdog();
  Application->Run();
  EXPECT_EQ(ticks, 3);
  EXPECT_FALSE(Application->Terminated());

  // Disabled, or without an interval, it stays quiet.
  timer.Enabled = false;
  vcltest::WaitUntil([] { return false; }, 60);
  EXPECT_EQ(ticks, 3);
  timer.Enabled = true;
  timer.Interval = 0;
  vcltest::WaitUntil([] { return false; }, 60);
  EXPECT_EQ(ticks, 3);
}

TEST_F(App, TimerExceptionDoesNotStopTheTimer) {
  TTimer timer(nullptr);
  timer.Interval = 5;
  int ticks = 0;
  timer.OnTimer = [&](TObject*) {
    ++ticks;
    throw Exception("tick");
  };
  EXPECT_TRUE(vcltest::WaitUntil([&] { return ticks >= 3 && Count(mkException) >= 2; }));
  timer.Enabled = false;
}

class ShortcutForm : public TForm {
 public:
  explicit ShortcutForm(TComponent* Owner) : TForm(Owner) {
    LoadLayout(
        "object ShortcutForm: TForm\n"
        "  ClientWidth = 100\n  ClientHeight = 100\n"
        "  object ActionList1: TActionList\n"
        "    object ShowTab: TAction\n      ShortCut = 49235\n      OnExecute = Toggle\n    end\n"
        "    object ShowTCXO: TAction\n      ShortCut = 49236\n      OnExecute = Other\n    end\n"
        "  end\n"
        "end\n",
        TLayoutBindings()
            .Event("Toggle", [this](TObject*) { ++toggles; })
            .Event("Other", [this](TObject*) { ++others; })
            .Field("ShowTab", ShowTab));
  }
  TAction* ShowTab = nullptr;
  int toggles = 0, others = 0;
};

TEST_F(App, ActionShortcutFiresFromAKeyPress) {
  ShortcutForm form(nullptr);
  form.Show();
  QApplication::setActiveWindow(form.Widget());
  ASSERT_TRUE(vcltest::WaitUntil([&] { return QApplication::activeWindow() == form.Widget(); }));
  auto press = [&](Qt::Key key, Qt::KeyboardModifiers mods) {
    QKeyEvent down(QEvent::KeyPress, key, mods);
    QCoreApplication::sendEvent(form.Widget(), &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods);
    QCoreApplication::sendEvent(form.Widget(), &up);
  };
  press(Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(form.toggles, 1);
  EXPECT_EQ(form.others, 0);
  press(Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(form.others, 1);
  // Without Alt, or another letter, nothing runs.
  press(Qt::Key_S, Qt::ControlModifier);
  press(Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(form.toggles, 1);
  // A disabled action does not run.
  form.ShowTab->Enabled = false;
  press(Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_FALSE(form.ShowTab->Execute());
  EXPECT_EQ(form.toggles, 1);
}

class StepThread : public TThread {
 public:
  explicit StepThread(int steps) : TThread(false), steps_(steps) {}
  std::atomic<int> ran{0};
  std::atomic<bool> offWindowThread{false};
  std::atomic<int> afterThrow{0};

 protected:
  void Execute() override {
    for (int i = 0; i < steps_ && !Terminated(); ++i) {
      Synchronize([this] {
        if (std::this_thread::get_id() != windowThread) offWindowThread = true;
        ++ran;
      });
    }
    // A step that throws is reported; the thread carries on.
    Synchronize([] { throw Exception("step failed"); });
    Synchronize([this] { ++afterThrow; });
    Synchronize([] { Application->Terminate(); });
  }

 public:
  inline static std::thread::id windowThread;

 private:
  int steps_;
};

TEST_F(App, OtherThreadsStepsRunOnTheWindowThreadWhileRunning) {
  StepThread::windowThread = std::this_thread::get_id();
  const auto watchdog = Watchdog();
  auto* t = NewThread<StepThread>(20);
  Application->Run();
  // Run stops and joins every thread before it returns.
  EXPECT_TRUE(t->Finished());
  EXPECT_EQ(t->ran, 20);
  EXPECT_FALSE(t->offWindowThread);
  EXPECT_EQ(t->afterThrow, 1);
  vcltest::ProcessEvents();
  EXPECT_EQ(Count(mkException), 1);
  delete t;
}

TEST_F(App, StepsRunInsideModalBoxes) {
  // A box's own event loop still runs other threads' steps.
  std::atomic<int> ran{0};
  Application->SetModalResponder([&](TModalRequest&) {
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
      if (ran >= 5) loop.quit();
    });
    poll.start(1);
    loop.exec();
    return IDOK;
  });
  struct Stepper : TThread {
    explicit Stepper(std::atomic<int>& r) : TThread(false), ran(r) {}
    void Execute() override {
      for (int i = 0; i < 5 && !Terminated(); ++i) Synchronize([this] { ++ran; });
    }
    std::atomic<int>& ran;
  };
  auto* t = NewThread<Stepper>(ran);
  ShowMessage("NMEA Setting OK!!");
  EXPECT_EQ(ran, 5);
  t->WaitFor();
  delete t;
}

TEST_F(App, RunDestroysFormsAfterOnDestroyAndThreadShutdown) {
  struct Holder : TForm {
    using TForm::TForm;
  };
  Holder* form = nullptr;
  std::vector<std::string> order;
  Application->CreateForm(form);
  ASSERT_EQ(Application->MainForm(), form);
  form->OnDestroy = [&](TObject*) { order.push_back("OnDestroy"); };
  struct Waiter : TThread {
    explicit Waiter(std::vector<std::string>& o) : TThread(false), order(o) {}
    void Execute() override {
      while (!Terminated()) platform::Sleep(1);
    }
    ~Waiter() override { order.push_back("thread gone"); }
    std::vector<std::string>& order;
  };
  auto* t = NewThread<Waiter>(order);
  t->FreeOnTerminate = true;
  // Closing the main form ends the loop.
  QTimer::singleShot(10, form->Widget(), [form] { form->Close(); });
  const auto watchdog = Watchdog();
  Application->Run();
  EXPECT_EQ(Application->MainForm(), nullptr);
  EXPECT_EQ(Application->ComponentCount(), 0);
  EXPECT_EQ(order, (std::vector<std::string>{"OnDestroy", "thread gone"}));
  EXPECT_EQ(LiveThreadCount(), 0);
}

TEST_F(App, CloseHidesOrAsksOnClose) {
  TForm form(nullptr);
  form.Show();
  EXPECT_TRUE(form.Widget()->isVisible());
  form.OnClose = [](TObject*, TCloseAction& a) { a = caNone; };
  form.Close();
  EXPECT_TRUE(form.Visible);
  form.Widget()->close();  // the window system asks
  EXPECT_TRUE(form.Visible);
  form.OnClose = nullptr;
  form.Widget()->close();
  EXPECT_FALSE(form.Visible);
  EXPECT_FALSE(Application->Terminated());
}

}  // namespace

namespace {

std::chrono::microseconds CpuTime() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return std::chrono::seconds(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         std::chrono::microseconds(u.ru_utime.tv_usec + u.ru_stime.tv_usec);
}

TEST_F(App, StepsRunInsideABoxOpenedByAStep) {
  // A box opened while steps are being run still lets other threads' steps through.
  std::atomic<int> second{0};
  std::chrono::microseconds idleFrom{0}, idleCpu{-1};
  Application->SetModalResponder([&](TModalRequest&) {
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
      if (second < 3 || idleFrom.count() != 0) return;
      // All steps ran: stay idle in the box a while; the loop must not spin meanwhile.
      idleFrom = CpuTime();
      QTimer::singleShot(300, &loop, [&] {
        idleCpu = CpuTime() - idleFrom;
        loop.quit();
      });
    });
    poll.start(5);
    loop.exec();
    return IDOK;
  });
  struct Opener : TThread {
    Opener() : TThread(false) {}
    void Execute() override {
      Synchronize([] { ShowMessage("box from a step"); });
    }
  };
  struct Stepper : TThread {
    explicit Stepper(std::atomic<int>& r) : TThread(false), ran(r) {}
    void Execute() override {
      for (int i = 0; i < 3 && !Terminated(); ++i) Synchronize([this] { ++ran; });
    }
    std::atomic<int>& ran;
  };
  auto* opener = NewThread<Opener>();
  auto* stepper = NewThread<Stepper>(second);
  EXPECT_TRUE(vcltest::WaitUntil([&] { return Count(mkMessage) == 1; }));
  EXPECT_EQ(second, 3);
  EXPECT_GE(idleCpu.count(), 0);
  EXPECT_LT(idleCpu, std::chrono::milliseconds(150));
  opener->Terminate();
  stepper->Terminate();
  opener->WaitFor();
  stepper->WaitFor();
  delete opener;
  delete stepper;
}

}  // namespace

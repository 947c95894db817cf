// Timer1 against the simulated receiver: acknowledgements turned into messages, the reopen
// after a baud-rate change, time to first fix, the current-test command, and acknowledgements
// stored by the reader while the timer clears them.
#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/console/command_util.h"

namespace consoletest {
namespace {

using console::TMainForm;
using platform::TButton;

std::string Panel(platform::TStatusBar* bar, int i) {
  return bar->Panels[i].Text;
}

void Nothing(TMainForm&) {}

// Each setting the receiver acknowledges, accepted or refused, as the timer reports it.
TEST_F(CommandTest, AcknowledgementsBecomeMessagesAtTheTick) {
  ConnectQuiet();
  struct AckCase {
    const char* name;
    std::function<void(TMainForm&)> prepare;
    TButton* TMainForm::*button;
    int command;
    bool refuse;
    std::vector<std::string> messages;
  } const cases[] = {
      {"fix rate", Nothing, &TMainForm::BtnSetFixRate, 220, false, {"Fix Update Rate Change!!"}},
      {"fix rate refused",
       Nothing,
       &TMainForm::BtnSetFixRate,
       220,
       true,
       {"Change Fix Update Rate Fail!!"}},
      {"DGPS SBAS",
       [](TMainForm& f) { f.RadioWAASEnable->Checked = true; },
       &TMainForm::BtnDGPSSet,
       301,
       false,
       {"WAAS Enable!!"}},
      {"DGPS RTCM",
       [](TMainForm& f) { f.RadioRTCMEnable->Checked = true; },
       &TMainForm::BtnDGPSSet,
       301,
       false,
       {"RTCM Enable!!"}},
      {"DGPS off",
       [](TMainForm& f) { f.RadioBothDisable->Checked = true; },
       &TMainForm::BtnDGPSSet,
       301,
       false,
       {"Disable All DGPS Correction!!"}},
      {"DGPS refused", Nothing, &TMainForm::BtnDGPSSet, 301, true, {"Unknown Cmd!!"}},
      {"SBAS integrity",
       [](TMainForm& f) { f.RadioIntegrity->Checked = true; },
       &TMainForm::BtnIntegrity,
       319,
       false,
       {"WAAS Integrity Mode Enable!!"}},
      {"SBAS test",
       [](TMainForm& f) { f.RadioTest->Checked = true; },
       &TMainForm::BtnIntegrity,
       319,
       false,
       {"WAAS Test Mode Enable!!"}},
      {"datum", Nothing, &TMainForm::BtnDatumSet, 330, false, {"Datum Change!!"}},
      {"datum refused", Nothing, &TMainForm::BtnDatumSet, 330, true, {"Unknown Cmd!!"}},
      {"flash", Nothing, &TMainForm::BtnFlashSet, 390, false, {"Write Settings into Flash OK!!"}},
      {"flash refused",
       Nothing,
       &TMainForm::BtnFlashSet,
       390,
       true,
       {"Write Settings into Flash Fail!!"}},
  };
  for (const AckCase& c : cases) {
    SCOPED_TRACE(c.name);
    link->WithModel([&](sim::SimReceiver& m) { m.SetFailCommand(c.command, c.refuse); });
    link->ClearRecords();
    c.prepare(*form);
    (form->*c.button)->Click();
    ASSERT_TRUE(AwaitAnswerTo("$PQVU" + std::to_string(c.command)));
    EXPECT_EQ((c.refuse ? form->AckFailCommand : form->AckOkCommand).load(), c.command);
    // Only the timer reports.
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{});
    form->Timer1Timer(nullptr);
    EXPECT_EQ(TakeMessages(), c.messages);
    EXPECT_EQ(form->AckOkCommand.load(), 0);
    EXPECT_EQ(form->AckFailCommand.load(), 0);
    // Over the socket no reopen is armed.
    EXPECT_EQ(form->ReopenPending, 0);
    link->WithModel([&](sim::SimReceiver& m) { m.SetFailCommand(c.command, false); });
  }

  // The running timer reports by itself.
  form->Timer1->Enabled = true;
  form->CmbFixRate->ItemIndex = 1;
  form->BtnSetFixRate->Click();
  ASSERT_TRUE(AwaitAnswerTo("$PQVU220,500"));
  std::vector<std::string> seen;
  EXPECT_TRUE(WaitUntil(
      [&] {
        for (const std::string& m : TakeMessages()) seen.push_back(m);
        return !seen.empty();
      },
      4000));
  EXPECT_EQ(seen, std::vector<std::string>{"Fix Update Rate Change!!"});
}

// Acknowledgements the receiver sends on its own, or for commands the console does not name.
TEST_F(CommandTest, ProblemReportAndUnnamedAcknowledgements) {
  ConnectQuiet();
  struct ReportCase {
    const char* name;
    const char* sentence;
    int tagBefore;
    std::vector<std::string> messages;
    const char* panel0;  // nullptr: not checked
    const char* panel1;
    bool restartsEnabled;
    int okAfter;  // what stays in AckOkCommand
  } const cases[] = {
      {"problem report", "PQVU001,-1,3", 1, {}, "Problem   IC", "Please   Contact   QVU", false, 0},
      {"problem report, blink tick", "PQVU001,-1,3", 0, {}, "", "", false, 0},
      {"unknown failure", "PQVU001,777,2", 1, {"Unknown Cmd!!"}, nullptr, nullptr, true, 0},
      {"output rates refused",
       "PQVU001,314,2",
       1,
       {"NMEA Setting Fail!!"},
       nullptr,
       nullptr,
       true,
       0},
      {"unknown success stays stored", "PQVU001,777,3", 1, {}, nullptr, nullptr, true, 777},
      {"baud-rate success stays stored", "PQVU001,251,3", 1, {}, nullptr, nullptr, true, 251},
      {"wake-up acknowledged, nothing shown", "PQVU001,188,3", 1, {}, nullptr, nullptr, true, 0},
  };
  for (const ReportCase& c : cases) {
    SCOPED_TRACE(c.name);
    form->EnableCommandControls();
    form->StatusBar1->Panels[0].Text = "x";
    form->StatusBar1->Panels[1].Text = "y";
    ASSERT_TRUE(Deliver(Sentence(c.sentence)));
    form->Timer1->Tag = c.tagBefore;
    form->Timer1Timer(nullptr);
    EXPECT_EQ(TakeMessages(), c.messages);
    if (c.panel0) {
      EXPECT_EQ(Panel(form->StatusBar1, 0), c.panel0);
    }
    if (c.panel1) {
      EXPECT_EQ(Panel(form->StatusBar1, 1), c.panel1);
    }
    for (TButton* b : {form->BtnHot, form->BtnWarm, form->BtnCold, form->BtnFactory})
      EXPECT_EQ(bool(b->Enabled), c.restartsEnabled) << std::string(b->Name);
    // A second tick reports nothing again.
    form->Timer1Timer(nullptr);
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{});
    EXPECT_EQ(form->AckOkCommand.load(), c.okAfter);
    EXPECT_EQ(form->AckFailCommand.load(), 0);
    form->AckOkCommand = 0;
  }
}

// A typed rate that is in the list: the receiver accepts, its acknowledgement is not reported,
// and on the fourth tick at 1000 ms the port is closed and opened again at that rate.
TEST_F(CommandTest, BaudRateChangeReopensThePort) {
  OpenQuiet();
  EXPECT_EQ(form->ReopenWaitTicks, 0u);  // each window counts its own ticks
  const auto before = form->ComHandle.load();
  form->CmbSetBaud->Text = "9600";  // typed: the chosen item stays "38400"
  form->BtnSetBaud->Click();
  EXPECT_EQ(form->ReopenPending, 1);
  ASSERT_TRUE(AwaitAnswerTo("$PQVU251,9600*17\r\n"));
  EXPECT_EQ(form->AckOkCommand.load(), 251);
  for (int tick = 1; tick <= 3; ++tick) {
    SCOPED_TRACE(tick);
    form->Timer1Timer(nullptr);
    EXPECT_EQ(form->ComHandle.load(), before);
    EXPECT_EQ(form->ReopenPending, 1);
  }
  EXPECT_EQ(form->AckOkCommand.load(), 251);
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{});

  link->ClearRecords();
  form->Timer1Timer(nullptr);
  EXPECT_EQ(form->ReopenPending, 0);
  EXPECT_NE(form->ComHandle.load(), before);
  EXPECT_NE(form->ComHandle.load(), 0);
  EXPECT_EQ(std::string(form->CmbBaud->Text), "9600");
  EXPECT_EQ(std::string(form->CmbSetBaud->Text), "9600");
  EXPECT_NE(form->ReaderThread, nullptr);
  // The reopened port asks its start-up questions again.
  const std::string queries = std::string("$PQVU605*31\r\n", 14) +
                              "$PQVU414*33\r\n$PQVU400*36\r\n$PQVU602*36\r\n$PQVU401*37\r\n"
                              "$PQVU419*3E\r\n$PQVU490*3F\r\n$PQVU430*35\r\n";
  link->WaitReceived([&](const std::string& r) { return r.size() >= queries.size(); },
                     std::chrono::seconds(2));
  EXPECT_EQ(Visible(link->Received()), Visible(queries));
  EXPECT_EQ(link->WithModel([](sim::SimReceiver& m) { return m.CurrentSettings().baud; }), 9600);
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{});
}

// A refused baud rate or flash write cancels the pending reopen.
TEST_F(CommandTest, RefusalCancelsTheReopen) {
  OpenQuiet();
  const auto before = form->ComHandle.load();
  struct RefusalCase {
    const char* name;
    TButton* TMainForm::*button;
    int command;
    const char* message;
  } const cases[] = {
      {"baud rate", &TMainForm::BtnSetBaud, 251, "Change Baudrate Fail!!"},
      {"flash", &TMainForm::BtnFlashSet, 390, "Write Settings into Flash Fail!!"},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.name);
    link->WithModel([&](sim::SimReceiver& m) { m.SetFailCommand(c.command, true); });
    (form->*c.button)->Click();
    EXPECT_EQ(form->ReopenPending, 1);
    ASSERT_TRUE(AwaitAnswerTo("$PQVU" + std::to_string(c.command) + ","));
    form->Timer1Timer(nullptr);
    EXPECT_EQ(TakeMessages(), std::vector<std::string>{c.message});
    EXPECT_EQ(form->ReopenPending, 0);
    link->ClearRecords();
    lines.clear();
    for (int tick = 0; tick < 5; ++tick) form->Timer1Timer(nullptr);
    EXPECT_EQ(form->ComHandle.load(), before);
    EXPECT_TRUE(lines.empty()) << "the ticks wrote or waited";
    EXPECT_EQ(link->Received(), "");
  }
}

// The receiver goes away while a reopen is pending and a restart is timed: the reopen fails
// with its message, the link stays closed and later ticks do nothing.
TEST_F(CommandTest, ReopenWithTheReceiverGone) {
  OpenQuiet();
  EXPECT_EQ(form->ReopenWaitTicks, 0u);
  form->RestartKind = 3;
  form->RestartTime = form->Now();
  form->Timer1->Interval = 100;
  form->BtnSetBaud->Click();
  ASSERT_EQ(form->ReopenPending, 1);
  link->Stop();
  // Its pseudo-terminal number may go to another test's at once: name a device that is gone.
  form->CmbCom->Text = "/dev/korvane-receiver-gone";
  // 3000 ms worth of ticks at 100 ms, then the reopen.
  for (int tick = 0; tick < 31; ++tick) form->Timer1Timer(nullptr);
  EXPECT_EQ(form->ReopenPending, 0);
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Can't Open ComPort!!"});
  EXPECT_EQ(form->ComHandle.load(), 0);
  EXPECT_EQ(form->ReaderThread, nullptr);
  EXPECT_EQ(form->RestartKind, 0);
  EXPECT_FALSE(form->Timer1->Enabled);
  for (int tick = 0; tick < 3; ++tick) form->Timer1Timer(nullptr);
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{});
}

// With "Test Mode" ticked the current-test command goes out every tick at 1000 ms (14 bytes),
// never while a restart is timed at 100 ms, and no more once acknowledged.
TEST_F(CommandTest, CurrentTestCommandUntilAcknowledged) {
  OpenQuiet();
  const std::string command("$PQVU160*35\r\n", 14);
  form->ChkBoxPower->Checked = true;
  lines.clear();
  const auto start = Clock::now();
  form->Timer1Timer(nullptr);
  EXPECT_TRUE(WroteAndWaited(lines, {{"$PQVU160*35\r\n", true, 100}}, true, start, Clock::now()));
  ASSERT_TRUE(AwaitAnswerTo("$PQVU160*35"));
  EXPECT_EQ(Visible(link->Received()), Visible(command));
  EXPECT_EQ(form->AckOkCommand.load(), 160);

  link->ClearRecords();
  lines.clear();
  form->Timer1Timer(nullptr);
  EXPECT_TRUE(form->PowerTestAcked);
  EXPECT_EQ(std::string(form->LabelCurrent->Caption), "Enable");
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{});
  form->Timer1Timer(nullptr);

  form->PowerTestAcked = false;
  form->Timer1->Interval = 100;
  form->Timer1Timer(nullptr);
  EXPECT_TRUE(lines.empty()) << "a tick wrote or waited";
  EXPECT_EQ(link->Received(), "");

  form->Timer1->Interval = 1000;
  form->Timer1Timer(nullptr);
  link->WaitReceived([&](const std::string& r) { return r.size() >= command.size(); },
                     std::chrono::seconds(2));
  EXPECT_EQ(Visible(link->Received()), Visible(command));
}

// The restart name and the elapsed time, tenths of a second, until the first fix; then the
// timer goes back to 1000 ms. Over the socket the two sentences go without zero bytes.
TEST_F(CommandTest, TimeToFirstFixAfterARestart) {
  ConnectQuiet();
  UseFakeClock();
  const Clock::time_point t0 = fakeNow;
  auto at = [&](double seconds) {
    fakeNow =
        t0 + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
  };
  lines.clear();
  const auto start = Clock::now();
  form->BtnHot->Click();
  EXPECT_TRUE(WroteAndWaited(lines, {{"$PQVU101*32\r\n", true, 1000}, {"$PQVU809*33\r\n", true, 0}},
                             false, start, Clock::now()));
  const std::string sent = "$PQVU101*32\r\n$PQVU809*33\r\n";
  link->WaitReceived([&](const std::string& r) { return r.size() >= sent.size(); },
                     std::chrono::seconds(2));
  EXPECT_EQ(Visible(link->Received()), Visible(sent));
  EXPECT_EQ(form->RestartKind, 1);
  EXPECT_EQ(int(form->Timer1->Interval), 100);

  struct Step {
    double seconds;
    const char* shown;
  } const steps[] = {{0.5, "0.5 sec(s)"}, {1.5, "1.5 sec(s)"}, {3.4, "3.4 sec(s)"}};
  for (const Step& s : steps) {
    at(s.seconds);
    form->Timer1Timer(nullptr);
    EXPECT_EQ(Panel(form->StatusBar1, 0), "Hot Start");
    EXPECT_EQ(Panel(form->StatusBar1, 1), s.shown);
  }

  // The receiver's outage: a first epoch without a fix keeps the timing going.
  EXPECT_NE(link->EmitCycleNow().find("$GPGSA,A,1,"), std::string::npos);
  ASSERT_TRUE(Deliver(""));
  ASSERT_NE(form->ReaderThread, nullptr);
  EXPECT_EQ(form->ReaderThread->FixDimension(), 0);
  at(4.0);
  form->Timer1Timer(nullptr);
  EXPECT_EQ(Panel(form->StatusBar1, 1), "4.0 sec(s)");
  EXPECT_EQ(int(form->Timer1->Interval), 100);

  // The first fix: back to 1000 ms, the last time stays.
  EXPECT_NE(link->EmitCycleNow().find("$GPGSA,A,3,"), std::string::npos);
  link->SendRaw(Release());
  ASSERT_TRUE(WaitUntil([&] { return form->ReaderThread->FixDimension() != 0; }));
  at(4.5);
  form->Timer1Timer(nullptr);
  EXPECT_EQ(form->RestartKind, 0);
  EXPECT_EQ(int(form->Timer1->Interval), 1000);
  EXPECT_EQ(Panel(form->StatusBar1, 0), "Hot Start");
  EXPECT_EQ(Panel(form->StatusBar1, 1), "4.0 sec(s)");
}

// No fix for 1000 s ends the timing; the time base is monotonic, so a restart just before
// midnight still counts up.
TEST_F(CommandTest, TimeToFirstFixTimesOut) {
  ConnectQuiet();
  UseFakeClock();
  // A cold start being timed on a reader that has no fix yet.
  form->StopReader();
  form->StartReader();
  form->RestartKind = 3;
  form->RestartTime = fakeNow;
  form->Timer1->Interval = 100;
  const Clock::time_point t0 = fakeNow;
  struct Step {
    Clock::duration after;
    const char* shown;
    int interval;
    int kind;
  } const steps[] = {
      {std::chrono::milliseconds(1500), "1.5 sec(s)", 100, 3},
      {std::chrono::milliseconds(999900), "999.9 sec(s)", 100, 3},
      {std::chrono::seconds(1000), "TimeOut 1000 sec(s)", 1000, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.shown);
    fakeNow = t0 + s.after;
    form->Timer1Timer(nullptr);
    EXPECT_EQ(Panel(form->StatusBar1, 0), "Cold Start");
    EXPECT_EQ(Panel(form->StatusBar1, 1), s.shown);
    EXPECT_EQ(int(form->Timer1->Interval), s.interval);
    EXPECT_EQ(form->RestartKind, s.kind);
  }

  // A timing left running when the link goes does not show up on the next link.
  form->RestartKind = 2;
  form->Timer1->Interval = 100;
  form->BtnDisconnect->Click();
  ASSERT_TRUE(WaitUntil([&] { return !form->UseSocket.load(); }));
  Connect();
  form->Timer1->Enabled = false;
  form->Timer1Timer(nullptr);
  EXPECT_EQ(Panel(form->StatusBar1, 0), "");
  EXPECT_EQ(form->RestartKind, 0);
}

// Every 9 ticks at 1000 ms, or 90 at 100 ms, the raw-sentence box is emptied.
TEST_F(ConsoleTest, RawBoxEmptiedEveryNineSeconds) {
  form->StartReader();  // a tick without a reader stops at once
  struct RateCase {
    int interval;
    int ticks;
  } const cases[] = {{1000, 9}, {100, 90}};
  for (const RateCase& c : cases) {
    SCOPED_TRACE(c.interval);
    form->Timer1->Interval = c.interval;
    form->Timer1->Tag = 0;
    form->MemoNMEA->Lines->Add("$GPGGA,1");
    for (int i = 1; i < c.ticks; ++i) form->Timer1Timer(nullptr);
    EXPECT_EQ(form->Timer1->Tag, c.ticks - 1);
    EXPECT_EQ(form->MemoNMEA->Lines->Count(), 1);
    form->Timer1Timer(nullptr);
    EXPECT_EQ(form->Timer1->Tag, 0);
    EXPECT_EQ(form->MemoNMEA->Lines->Count(), 0);
  }
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{});
}

// The reader stores acknowledgements while the timer takes them: each one stored is either
// reported once or replaced by the next before any tick saw it, never lost in between.
TEST_F(ConsoleTest, AcknowledgementStoredDuringATickIsNotLost) {
  form->StartReader();
  const std::map<int, std::string> failures = {{220, "Change Fix Update Rate Fail!!"},
                                               {251, "Change Baudrate Fail!!"},
                                               {314, "NMEA Setting Fail!!"},
                                               {390, "Write Settings into Flash Fail!!"}};
  const std::map<int, std::string> successes = {{220, "Fix Update Rate Change!!"},
                                                {314, "NMEA Setting OK!!"},
                                                {330, "Datum Change!!"},
                                                {390, "Write Settings into Flash OK!!"}};
  const int kFail[] = {220, 251, 314, 390};
  const int kOk[] = {220, 314, 330, 390};
  constexpr int kRounds = 4000;
  std::map<std::string, int> stored, replaced;  // by message; written by the writer only
  std::atomic<bool> done{false};
  std::thread writer([&] {
    for (int i = 0; i < kRounds; ++i) {
      const int f = kFail[i % 4], o = kOk[(i / 4) % 4];
      ++stored[failures.at(f)];
      if (int prev = form->AckFailCommand.exchange(f)) ++replaced[failures.at(prev)];
      ++stored[successes.at(o)];
      if (int prev = form->AckOkCommand.exchange(o)) ++replaced[successes.at(prev)];
      std::this_thread::yield();
    }
    done = true;
  });
  while (!done.load()) form->Timer1Timer(nullptr);
  writer.join();
  form->Timer1Timer(nullptr);
  EXPECT_EQ(form->AckFailCommand.load(), 0);
  EXPECT_EQ(form->AckOkCommand.load(), 0);

  std::map<std::string, int> reported;
  for (const std::string& m : TakeMessages()) ++reported[m];
  int total = 0;
  for (const auto& [message, count] : stored) {
    EXPECT_EQ(reported[message] + replaced[message], count) << message;
    total += reported[message];
  }
  EXPECT_GT(total, 0);
}

}  // namespace
}  // namespace consoletest

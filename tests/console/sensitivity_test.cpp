// The sensitivity tests of the hidden "GPS-101" page, against a simulated signal generator that
// sets the simulated receiver's signal of one satellite. Timer2's ticks are driven by the test.
#include <memory>
#include <string>
#include <vector>

#include "console/sentences.h"
#include "tests/console/console_fixture.h"
#include "tools/simreceiver/sim_generator.h"

using namespace consoletest;

namespace {

constexpr int kSv = 14;  // the page's default satellite

class SensitivityTest : public ConsoleTest {
 protected:
  void TearDown() override {
    if (generator) generator->Stop();
    ConsoleTest::TearDown();
  }

  // The generator on its own pty, opened by the console's "Open" of the page.
  void OpenGenerator(sim::GeneratorOptions options = sim::GeneratorOptions()) {
    generator = std::make_unique<sim::Generator>(
        [this](int prn, int snr) {
          if (link) link->WithModel([&](sim::SimReceiver& m) { m.OverrideSnr(prn, snr); });
        },
        options);
    std::string error;
    ASSERT_TRUE(generator->StartPty(&error)) << error;
    form->Cmb101Com->Text = generator->SlavePath();
    form->Btn101OpenClick(form->Btn101Open);
    ASSERT_NE(form->GeneratorHandle, 0);
    ASSERT_TRUE(generator->WaitCommands(2, 2000ms));
    EXPECT_EQ(generator->Received(), "MAIN:TEST 1\r\nMAIN:SV 14\r\n");
    EXPECT_TRUE(form->Btn101Close->Visible);
    EXPECT_TRUE(form->BtnTestTrack->Enabled);
  }

  // Presses a start button and takes Timer2 over: the test ticks it from here on.
  void Start(platform::TButton* button) {
    button->Click();
    ASSERT_TRUE(form->Timer2->Enabled);
    ASSERT_TRUE(form->BtnTestStop->Enabled);
    EXPECT_FALSE(form->BtnTestAll->Enabled);
    form->Timer2->Enabled = false;
  }

  void Tick() { form->Timer2Timer(form->Timer2); }

  // The simulated satellite's signal in the reader's table; -1 when not listed.
  int Signal() const {
    if (!form->ReaderThread) return -1;
    for (const reader::SatelliteSignal& s : form->ReaderThread->Signals())
      if (s.Prn == kSv) return s.Snr;
    return -1;
  }

  // Sends epochs until the reader shows the satellite at snr.
  void ExpectSignal(int snr) {
    bool shown = false;
    for (int i = 0; i < 10 && !shown; ++i) {
      link->EmitCycleNow();
      shown = WaitUntil([&] { return Signal() == snr; }, 300);
    }
    ASSERT_TRUE(shown) << "expected " << snr << ", the reader shows " << Signal();
  }

  std::string Levels(const std::vector<int>& levels) const {
    std::string out = "MAIN:TEST 1\r\nMAIN:SV 14\r\n";
    for (int l : levels) out += "MAIN:RFLVL " + std::to_string(l) + "\r\n";
    return out;
  }

  std::unique_ptr<sim::Generator> generator;
};

struct Step {
  int signal;  // shown before the step
  int level;   // after it
};

TEST_F(SensitivityTest, TrackOnlyHalvesTheDistanceAfterTheDuration) {
  StartPtyReceiver();
  OpenPort();
  ASSERT_NO_FATAL_FAILURE(OpenGenerator());
  form->CmbTrackDur->Text = "1";
  ASSERT_NO_FATAL_FAILURE(Start(form->BtnTestTrack));
  EXPECT_EQ(form->TestPhase, 2);
  EXPECT_EQ(std::string(form->LabelTrackResult->Caption), "?");

  // Signal 45 at -85 dBm, target 15: 15 dB down, then 7, then 4. A step needs more than one
  // tick held; the tick of a step counts as the first of the next.
  const Step steps[] = {{45, -100}, {30, -107}, {23, -111}};
  int before = -85;
  int held = 2;
  for (const Step& s : steps) {
    ASSERT_NO_FATAL_FAILURE(ExpectSignal(s.signal));
    for (int i = 0; i < held; ++i) Tick();
    EXPECT_EQ(form->GenLevel, before) << "held, but not longer than the duration";
    Tick();
    EXPECT_EQ(form->GenLevel, s.level);
    before = s.level;
    held = 1;
  }
  ASSERT_TRUE(generator->WaitCommands(6, 1000ms));
  EXPECT_EQ(generator->Received(), Levels({-85, -100, -107, -111}));

  form->BtnTestStop->Click();
  EXPECT_FALSE(form->Timer2->Enabled);
  EXPECT_FALSE(form->BtnTestStop->Enabled);
  EXPECT_TRUE(form->BtnTestTrack->Enabled);
  EXPECT_EQ(std::string(form->LabelTrackResult->Caption), "?");
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(SensitivityTest, TrackOnlyStepsOneDbNearTheTargetUntilLost) {
  StartPtyReceiver();
  OpenPort();
  sim::GeneratorOptions options;
  options.snr_offset_db = 102;  // signal 17 at -85 dBm
  options.loss_level_dbm = -87;
  ASSERT_NO_FATAL_FAILURE(OpenGenerator(options));
  form->CmbTrackDur->Text = "0";
  ASSERT_NO_FATAL_FAILURE(Start(form->BtnTestTrack));
  ASSERT_NO_FATAL_FAILURE(ExpectSignal(17));
  Tick();
  EXPECT_EQ(form->GenLevel, -85);
  const Step steps[] = {{17, -86}, {16, -87}, {15, -88}};
  for (const Step& s : steps) {
    ASSERT_NO_FATAL_FAILURE(ExpectSignal(s.signal));
    Tick();
    EXPECT_EQ(form->GenLevel, s.level);
  }
  ASSERT_NO_FATAL_FAILURE(ExpectSignal(0));
  form->Timer2->Enabled = true;
  Tick();
  EXPECT_EQ(std::string(form->LabelTrackResult->Caption), "-128");
  EXPECT_FALSE(form->Timer2->Enabled);
  EXPECT_TRUE(form->BtnTestTrack->Enabled);
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Tracking Sensitivity Test Finish!"});
  EXPECT_EQ(generator->Received(), Levels({-85, -86, -87, -88}));
}

TEST_F(SensitivityTest, TrackingEndsAtTheFloor) {
  StartPtyReceiver();
  OpenPort();
  sim::GeneratorOptions options;
  options.snr_offset_db = 230;  // still held at -145 dBm
  options.loss_level_dbm = -150;
  ASSERT_NO_FATAL_FAILURE(OpenGenerator(options));
  form->CmbTrackDur->Text = "0";
  ASSERT_NO_FATAL_FAILURE(Start(form->BtnTestTrack));
  ASSERT_NO_FATAL_FAILURE(ExpectSignal(99));
  Tick();
  const Step steps[] = {{99, -127}, {99, -145}};
  for (const Step& s : steps) {
    ASSERT_NO_FATAL_FAILURE(ExpectSignal(s.signal));
    Tick();
    EXPECT_EQ(form->GenLevel, s.level);
  }
  ASSERT_NO_FATAL_FAILURE(ExpectSignal(85));
  form->Timer2->Enabled = true;
  Tick();
  EXPECT_EQ(std::string(form->LabelTrackResult->Caption), "-185");
  EXPECT_FALSE(form->Timer2->Enabled);
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Tracking Sensitivity Test Finish!"});
  EXPECT_EQ(generator->Received(), Levels({-85, -127, -145}));
}

TEST_F(SensitivityTest, AcquisitionWithoutTheSatelliteTimesOut) {
  StartPtyReceiver();
  OpenPort();
  sim::GeneratorOptions options;
  options.loss_level_dbm = -80;  // never acquired at -85 dBm
  ASSERT_NO_FATAL_FAILURE(OpenGenerator(options));
  form->CmbAcqTime->Text = "0";
  ASSERT_NO_FATAL_FAILURE(Start(form->BtnTestAcq));
  EXPECT_EQ(form->TestPhase, 1);
  EXPECT_EQ(std::string(form->LabelAcqResult->Caption), "?");
  ASSERT_NO_FATAL_FAILURE(ExpectSignal(0));
  link->ClearRecords();

  Tick();  // tick 0: a cold start, and a new reader
  ASSERT_TRUE(link->WaitReceived([](const std::string& r) { return r.size() >= 14; }, 1000ms));
  EXPECT_EQ(link->Received(), std::string(console::kColdStart) + '\0');
  ASSERT_NE(form->ReaderThread, nullptr);
  ASSERT_NO_FATAL_FAILURE(ExpectSignal(0));
  // Time-out 0 + 10 ticks after tick 0.
  for (int i = 1; i <= 10; ++i) {
    Tick();
    EXPECT_EQ(std::string(form->LabelAcqResult->Caption), "?") << "tick " << i;
  }
  EXPECT_TRUE(TakeMessages().empty());
  form->Timer2->Enabled = true;
  Tick();
  EXPECT_EQ(std::string(form->LabelAcqResult->Caption), "-125");
  EXPECT_FALSE(form->Timer2->Enabled);
  EXPECT_TRUE(form->BtnTestAcq->Enabled);
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Acquisition Sensitivity Test Finish!"});
  EXPECT_EQ(generator->Received(), Levels({-85}));
}

TEST_F(SensitivityTest, TestAllTracksFirstThenAcquires) {
  StartPtyReceiver();
  OpenPort();
  sim::GeneratorOptions options;
  options.loss_level_dbm = -100;
  ASSERT_NO_FATAL_FAILURE(OpenGenerator(options));
  form->CmbTrackDur->Text = "0";
  form->LabelTrackResult->Caption = "old";
  form->LabelAcqResult->Caption = "old";
  ASSERT_NO_FATAL_FAILURE(Start(form->BtnTestAll));
  EXPECT_EQ(form->TestPhase, 3);
  EXPECT_EQ(std::string(form->LabelTrackResult->Caption), "?");
  EXPECT_EQ(std::string(form->LabelAcqResult->Caption), "old");

  ASSERT_NO_FATAL_FAILURE(ExpectSignal(45));
  Tick();
  Tick();
  EXPECT_EQ(form->GenLevel, -100);
  ASSERT_NO_FATAL_FAILURE(ExpectSignal(30));
  Tick();
  EXPECT_EQ(form->GenLevel, -107);
  ASSERT_NO_FATAL_FAILURE(ExpectSignal(0));
  Tick();  // lost: the tracking result, then acquisition from -85 dBm at tick 1
  EXPECT_EQ(std::string(form->LabelTrackResult->Caption), "-147");
  EXPECT_EQ(std::string(form->LabelAcqResult->Caption), "?");
  EXPECT_EQ(form->TestPhase, 1);
  EXPECT_EQ(form->TestTick, 1);
  EXPECT_EQ(form->GenLevel, -85);

  // Acquired at 45 against the target 20: after more than 10 ticks seen, 12 dB down and a new
  // trial.
  ASSERT_NO_FATAL_FAILURE(ExpectSignal(45));
  for (int i = 0; i < 10; ++i) Tick();
  EXPECT_EQ(form->GenLevel, -85);
  EXPECT_EQ(form->AcqSeenCount, 10);
  Tick();
  EXPECT_EQ(form->GenLevel, -97);
  EXPECT_EQ(form->TestTick, 0);
  EXPECT_EQ(form->AcqSeenCount, 0);
  ASSERT_TRUE(generator->WaitCommands(7, 1000ms));
  EXPECT_EQ(generator->Received(), Levels({-85, -100, -107, -85, -97}));
  EXPECT_TRUE(TakeMessages().empty());
  form->BtnTestStop->Click();
}

// The socket goes away with the generator still open: the tick finds no reader.
TEST_F(SensitivityTest, TickAfterTheSocketDisconnected) {
  StartTcpReceiver();
  Connect();
  ASSERT_NO_FATAL_FAILURE(OpenGenerator());
  link->CloseClient();
  ASSERT_TRUE(WaitUntil([&] { return !form->UseSocket.load(); }));
  ASSERT_EQ(form->ReaderThread, nullptr);
  TakeMessages();
  ASSERT_NO_FATAL_FAILURE(Start(form->BtnTestTrack));
  Tick();
  EXPECT_EQ(std::string(form->LabelTrackResult->Caption), "-125");
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Tracking Sensitivity Test Finish!"});
}

TEST_F(SensitivityTest, BadNumbersStopTheStart) {
  ASSERT_NO_FATAL_FAILURE(OpenGenerator());
  struct Case {
    platform::TComboBox* combo;
    const char* text;
  };
  const Case cases[] = {{form->CmbTrackDur, "x"}, {form->CmbTrackCNR, ""},
                        {form->CmbDegrade, "4O"}, {form->Cmb101SV, "14a"},
                        {form->CmbAcqTime, "-"},  {form->CmbAcqCNR, "99999999999"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.combo->Name) + " '" + c.text + "'");
    const std::string saved = c.combo->Text;
    c.combo->Text = c.text;
    form->BtnTestTrack->Click();
    platform::Application->ProcessMessages();
    EXPECT_EQ(TakeMessages().size(), 1u);
    EXPECT_FALSE(form->Timer2->Enabled);
    EXPECT_FALSE(form->BtnTestStop->Enabled);
    EXPECT_TRUE(form->BtnTestTrack->Enabled);
    c.combo->Text = saved;
  }
  EXPECT_FALSE(generator->WaitCommands(3, 100ms)) << "no level was sent";
}

TEST_F(SensitivityTest, StartWithoutGeneratorDoesNothing) {
  form->CmbTrackDur->Text = "x";  // not even looked at
  for (platform::TButton* b : {form->BtnTestAll, form->BtnTestAcq, form->BtnTestTrack}) {
    b->Click();
    platform::Application->ProcessMessages();
    EXPECT_FALSE(form->Timer2->Enabled) << std::string(b->Name);
    EXPECT_FALSE(form->BtnTestStop->Enabled);
  }
  EXPECT_EQ(std::string(form->LabelTrackResult->Caption), "?");
  EXPECT_EQ(std::string(form->LabelAcqResult->Caption), "?");
  EXPECT_TRUE(TakeMessages().empty());
}

}  // namespace

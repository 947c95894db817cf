// Sensitivity tests with an RF signal generator on a second port: the console lowers the
// generator's level while it watches the receiver's signal of the simulated satellite.
#include <algorithm>
#include <cmath>

#include "console/main_form.h"
#include "console/number_format.h"
#include "console/sentences.h"

namespace console {

namespace {

constexpr std::int32_t kStartLevel = -85;
constexpr std::int32_t kFloorLevel = -145;

void WriteGenerator(HANDLE h, const std::string& text) {
  DWORD written = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

void TMainForm::Btn101OpenClick(TObject*) {
  HANDLE h = CreateFileA(("\\\\.\\" + std::string(Cmb101Com->Text)).c_str(),
                         GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, 0);
  if (h == INVALID_HANDLE_VALUE) {
    platform::ShowMessage("Can't Open ComPort!!");
    return;
  }
  DCB dcb{};
  if (!BuildCommDCBA((std::string(Cmb101Baud->Text) + ",n,8,1").c_str(), &dcb) ||
      !SetCommState(h, &dcb)) {
    CloseHandle(h);
    GeneratorHandle = 0;
    platform::ShowMessage("ComPort Setting Error!!");
    return;
  }
  ApplyPortTimeouts(h, 32);
  GeneratorHandle = h;
  platform::Sleep(500);
  Btn101Close->Visible = true;
  Btn101Close->BringToFront();
  for (platform::TComboBox* c : {Cmb101Com, Cmb101Baud, Cmb101SV, CmbDegrade}) c->Enabled = false;
  EnableTestControls();
  WriteGenerator(h, "MAIN:TEST 1\r\n");
  platform::Sleep(400);
  WriteGenerator(h, "MAIN:SV " + std::string(Cmb101SV->Text) + "\r\n");
  platform::Sleep(400);
}

void TMainForm::Btn101CloseClick(TObject*) {
  Timer2->Enabled = false;
  if (!GeneratorHandle) return;
  CloseHandle(GeneratorHandle);
  GeneratorHandle = 0;
  Btn101Close->Visible = false;
  for (platform::TComboBox* c : {Cmb101Com, Cmb101Baud, Cmb101SV, CmbDegrade}) c->Enabled = true;
  DisableTestControls();
  BtnTestStop->Enabled = false;
}

bool TMainForm::SetGeneratorLevel(std::int32_t level) {
  if (!GeneratorHandle) return false;
  WriteGenerator(GeneratorHandle, "MAIN:RFLVL " + std::to_string(level) + "\r\n");
  platform::Sleep(400);
  return true;
}

void TMainForm::StartTest(std::uint8_t phase) {
  // Without a generator nothing happens, whatever the texts hold.
  if (!GeneratorHandle) return;
  // Every number the ticks need is read once here: a bad one stops the start, not every tick.
  TestNumbers numbers;
  numbers.sv = StrToInt(Cmb101SV->Text);
  numbers.degrade = StrToInt(CmbDegrade->Text);
  numbers.acqCnr = StrToInt(CmbAcqCNR->Text);
  numbers.acqTime = StrToInt(CmbAcqTime->Text);
  numbers.trackCnr = StrToInt(CmbTrackCNR->Text);
  numbers.trackDur = StrToInt(CmbTrackDur->Text);
  if (!SetGeneratorLevel(kStartLevel)) return;
  testNumbers_ = numbers;
  DisableTestControls();
  TestPhase = phase;
  GenLevel = kStartLevel;
  (phase == 1 ? LabelAcqResult : LabelTrackResult)->Caption = "?";
  TestTick = 0;
  Timer2->Enabled = true;
  BtnTestStop->Enabled = true;
}

void TMainForm::BtnTestAllClick(TObject*) {
  StartTest(3);
}
void TMainForm::BtnTestAcqClick(TObject*) {
  StartTest(1);
}
void TMainForm::BtnTestTrackClick(TObject*) {
  StartTest(2);
}

void TMainForm::BtnTestStopClick(TObject*) {
  Timer2->Enabled = false;
  EnableTestControls();
  BtnTestStop->Enabled = false;
}

int TMainForm::SeenSignal() const {
  // No reader counts as not seen.
  if (!ReaderThread) return 0;
  for (const reader::SatelliteSignal& s : ReaderThread->Signals())
    if (s.Prn == testNumbers_.sv && s.Snr > 0) return s.Snr;
  return 0;
}

void TMainForm::LevelStep(int target, int signal) {
  int d = signal - target;
  if (d < 2)
    GenLevel -= 1;
  else
    GenLevel -= static_cast<std::int32_t>(std::trunc(d * 0.5));
  GenLevel = std::max(GenLevel, kFloorLevel);
  SetGeneratorLevel(GenLevel);
}

std::string TMainForm::TestResult() const {
  return std::to_string(GenLevel - testNumbers_.degrade);
}

void TMainForm::Timer2Timer(TObject*) {
  if (TestPhase == 2 || TestPhase == 3) {
    const int signal = SeenSignal();
    if (signal > 0 && TestTick > testNumbers_.trackDur) {
      TestTick = 0;
      if (GenLevel >= -144) {
        LevelStep(testNumbers_.trackCnr, signal);
        TestTick += 1;
        return;
      }
    } else if (signal > 0) {
      TestTick += 1;
      return;
    }
    // Lost, or held at the floor: the tracking phase ends.
    LabelTrackResult->Caption = TestResult();
    if (TestPhase == 2) {
      Timer2->Enabled = false;
      EnableTestControls();
      BtnTestStop->Enabled = false;
      platform::ShowMessage("Tracking Sensitivity Test Finish!");
      return;
    }
    if (SetGeneratorLevel(kStartLevel)) {
      GenLevel = kStartLevel;
      LabelAcqResult->Caption = "?";
      TestPhase = 1;
      TestTick = 0;
    }
    TestTick += 1;
    return;
  }
  if (TestPhase != 1) return;

  if (TestTick == 0) {
    if (!UseSocket.load() && ComHandle.load()) {
      StopReader();
      SendSentence(kColdStart, true, 800);
      StartReader();
    }
    TestTick += 1;
    return;
  }
  auto finish = [this] {
    Timer2->Enabled = false;
    LabelAcqResult->Caption = TestResult();
    EnableTestControls();
    BtnTestStop->Enabled = false;
    platform::ShowMessage("Acquisition Sensitivity Test Finish!");
  };
  if (TestTick > testNumbers_.acqTime + 10) return finish();
  if (TestTick == 1) AcqSeenCount = 0;
  const int signal = SeenSignal();
  if (signal > 0) {
    AcqSeenCount += 1;
    if (AcqSeenCount > 10) {
      AcqSeenCount = 0;
      if (GenLevel < -144) return finish();
      TestTick = -1;
      LevelStep(testNumbers_.acqCnr, signal);
    }
  } else {
    AcqSeenCount = 0;
  }
  TestTick += 1;
}

}  // namespace console

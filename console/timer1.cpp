// The one-second heartbeat: acknowledgements, time to first fix, the pending reopen after a
// baud-rate change, and the current-test command.
#include <chrono>

#include "console/main_form.h"
#include "console/number_format.h"
#include "console/sentences.h"

namespace console {

namespace {

// Success acknowledgements the timer reports; any other stays stored.
bool Reported(std::int32_t command) {
  switch (command) {
    case -1:
    case 160:
    case 188:
    case 220:
    case 301:
    case 314:
    case 319:
    case 330:
    case 390:
      return true;
    default:
      return false;
  }
}

}  // namespace

void TMainForm::Timer1Timer(TObject*) {
  Timer1->Tag = Timer1->Tag + 1;
  if (!ReaderThread) return;
  const unsigned interval = static_cast<unsigned>(int(Timer1->Interval));

  if (interval * static_cast<unsigned>(int(Timer1->Tag)) >= 9000u) {
    Timer1->Tag = 0;
    MemoNMEA->Lines->Clear();
  }

  if (ReopenPending) {
    if (interval * ReopenWaitTicks < 3000u) {
      ++ReopenWaitTicks;
    } else {
      ReopenWaitTicks = 0;
      ReopenPending = 0;
      // The rate sent was the text: a typed rate leaves the previously chosen item selected.
      const int sent = CmbBaud->Items->IndexOf(CmbSetBaud->Text);
      CmbBaud->ItemIndex = sent >= 0 ? sent : int(CmbSetBaud->ItemIndex);
      BtnCloseClick(this);
      platform::Sleep(500);
      BtnOpenClick(this);
      // A reopen that failed leaves no reader to time a restart with.
      if (!ReaderThread) return;
    }
  } else {
    ReopenWaitTicks = 0;
  }

  if (AckOkCommand.load() != -1) {
    static const char* const kNames[] = {"", "Hot Start", "Warm Start", "Cold Start",
                                         "Factory Reset"};
    if (RestartKind >= 1 && RestartKind <= 4) StatusBar1->Panels[0].Text = kNames[RestartKind];
    if (RestartKind != 0) {
      if (ReaderThread->FixDimension() != 0) {
        Timer1->Interval = 1000;
        RestartKind = 0;
      } else {
        double t = std::chrono::duration<double>(Now() - RestartTime).count();
        if (t >= 1000) {
          StatusBar1->Panels[1].Text = "TimeOut 1000 sec(s)";
          Timer1->Interval = 1000;
          RestartKind = 0;
        } else {
          StatusBar1->Panels[1].Text = FloatToStrF(t, 7, 1) + " sec(s)";
        }
      }
    }
  }

  // Taken and cleared in one step, so an acknowledgement that arrives meanwhile is not lost.
  std::int32_t ok = AckOkCommand.load();
  if (ok != 0 && Reported(ok) && AckOkCommand.compare_exchange_strong(ok, 0)) {
    switch (ok) {
      case -1:
        if (Timer1->Tag % 3 == 1) {
          StatusBar1->Panels[0].Text = "";
          StatusBar1->Panels[1].Text = "";
        } else {
          StatusBar1->Panels[0].Text = "Problem   IC";
          StatusBar1->Panels[1].Text = "Please   Contact   QVU";
        }
        for (platform::TButton* b : {BtnHot, BtnWarm, BtnCold, BtnFactory}) b->Enabled = false;
        break;
      case 160:
        PowerTestAcked = true;
        LabelCurrent->Caption = "Enable";
        break;
      case 220:
        platform::ShowMessage("Fix Update Rate Change!!");
        break;
      case 301:
        platform::ShowMessage(RadioWAASEnable->Checked   ? "WAAS Enable!!"
                              : RadioRTCMEnable->Checked ? "RTCM Enable!!"
                                                         : "Disable All DGPS Correction!!");
        break;
      case 314:
        platform::ShowMessage("NMEA Setting OK!!");
        break;
      case 319:
        platform::ShowMessage(RadioIntegrity->Checked ? "WAAS Integrity Mode Enable!!"
                                                      : "WAAS Test Mode Enable!!");
        break;
      case 330:
        platform::ShowMessage("Datum Change!!");
        break;
      case 390:
        platform::ShowMessage("Write Settings into Flash OK!!");
        break;
      default:
        break;
    }
  }

  std::int32_t fail = AckFailCommand.exchange(0);
  switch (fail) {
    case 0:
      break;
    case 220:
      platform::ShowMessage("Change Fix Update Rate Fail!!");
      break;
    case 251:
      ReopenPending = 0;
      platform::ShowMessage("Change Baudrate Fail!!");
      break;
    case 314:
      platform::ShowMessage("NMEA Setting Fail!!");
      break;
    case 390:
      ReopenPending = 0;
      platform::ShowMessage("Write Settings into Flash Fail!!");
      break;
    default:
      platform::ShowMessage("Unknown Cmd!!");
      break;
  }

  if (!PowerTestAcked && int(Timer1->Interval) >= 1000 && ChkBoxPower->Checked)
    SendSentence(kCurrentTest, true);
}

}  // namespace console

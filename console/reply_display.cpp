// Replies to the console's queries: each puts the receiver's setting into the controls that
// would set it, so "Set" or "Confirm" resends it unchanged.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "console/main_form.h"
#include "console/number_format.h"

namespace console {

void TMainForm::ShowDgpsSbas(const reader::ReceiverState&) {
  RadioWAASEnable->Checked = true;
}
void TMainForm::ShowDgpsRtcm(const reader::ReceiverState&) {
  RadioRTCMEnable->Checked = true;
}
void TMainForm::ShowDgpsNone(const reader::ReceiverState&) {
  RadioBothDisable->Checked = true;
}
void TMainForm::ShowSbasIntegrity(const reader::ReceiverState&) {
  RadioIntegrity->Checked = true;
}
void TMainForm::ShowSbasTest(const reader::ReceiverState&) {
  RadioTest->Checked = true;
}

void TMainForm::ShowFixRate(const reader::ReceiverState& s) {
  CmbFixRate->ItemIndex = s.FixRateHz - 1;
  LabelHz->Caption = std::to_string(s.FixRateHz);
  UpdateBandwidthEstimate(true);
}

void TMainForm::ShowDatum(const reader::ReceiverState& s) {
  CmbDatum->ItemIndex = s.DatumIndex;
}

void TMainForm::ShowTcxo(const reader::ReceiverState& s) {
  if (s.Fix.Dimension == 0)
    LabelTCXO->Caption = "No Fix(Unknown)";
  else if (std::fabs(s.TcxoPpm) < 100)
    LabelTCXO->Caption = FloatToStrF(s.TcxoPpm, 7, 1) + "  (ppm)";
  else
    LabelTCXO->Caption = "";
}

void TMainForm::ShowFirmwareInfo(const reader::ReceiverState& s) {
  const reader::FirmwareInfo& fw = s.Firmware;
  LabelVersion->Caption = fw.Version;
  LabelCustomer->Caption = fw.Customer;
  Caption = std::string("Korvane (f/w: ") + fw.Version + " " + fw.Customer + ")";
  StatusBar2->Panels[0].Text = "Model / SDK";
  std::string models = fw.Model[0] ? std::string(fw.Model) + " / " : std::string(" / ");
  if (fw.Sdk[0]) models += fw.Sdk;
  StatusBar2->Panels[1].Text = models;
}

void TMainForm::ShowRtcmBaud(const reader::ReceiverState& s) {
  int index = 1;
  switch (s.RtcmBaud) {
    case 4800:
      index = 0;
      break;
    case 14400:
      index = 2;
      break;
    case 19200:
      index = 3;
      break;
    case 38400:
      index = 4;
      break;
    case 57600:
      index = 5;
      break;
    case 115200:
      index = 6;
      break;
    default:
      break;
  }
  CmbRTCMBaud->ItemIndex = index;
}

// A reply with fewer fields leaves the combos of the missing ones as they are.
void TMainForm::ShowNmeaRates(const reader::ReceiverState& s) {
  platform::TComboBox* const targets[19] = {
      CmbGLL,  CmbRMC,  CmbVTG,  CmbGGA,  CmbGSA,  CmbGSV,  nullptr, nullptr, nullptr, nullptr,
      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, CmbZDA,  CmbMCHN};
  const char* p = s.NmeaRatesReply;
  for (int field = 0; field < 19 && p; ++field) {
    std::size_t len = std::strcspn(p, ",*");
    if (targets[field]) {
      std::string text(p, len);
      int v = 0;
      // An empty field reads 0; anything else that is no number selects nothing.
      targets[field]->ItemIndex = text.empty() ? 0 : (ParseDecimal(text, &v) ? v : -1);
    }
    p = p[len] == ',' ? p + len + 1 : nullptr;
  }
  UpdateBandwidthEstimate(true);
}

void TMainForm::ShowFlashWritesLeft(const reader::ReceiverState& s) {
  GroupBox15->Caption = "Write setting into flash (remain  " + std::to_string(s.FlashWritesLeft) +
                        "  times to modify)";
}

}  // namespace console

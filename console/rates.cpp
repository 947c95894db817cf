// Output rates of the receiver's sentences and the share of the serial line they would fill.
#include <limits>
#include <optional>

#include "console/main_form.h"
#include "console/number_format.h"
#include "console/sentences.h"

namespace console {

namespace {

constexpr platform::TColor kRed = 0x0000FF;
constexpr platform::TColor kBlack = 0x000000;

}  // namespace

void TMainForm::UpdateBandwidthEstimate(bool quiet) {
  struct Rate {
    platform::TComboBox* combo;
    int bytes;
  } const rates[] = {{CmbGLL, 60},  {CmbRMC, 75}, {CmbVTG, 41}, {CmbGSA, 65},
                     {CmbGSV, 258}, {CmbGGA, 76}, {CmbZDA, 50}, {CmbMCHN, 203}};
  int perFix = 0;
  for (const Rate& r : rates) {
    int every = r.combo->ItemIndex;
    if (every > 0) perFix += (r.bytes + every - 1) / every;
  }
  int baud = 0, hz = 0;
  if (quiet) {
    if (!ParseDecimal(CmbSetBaud->Text, &baud) || !ParseDecimal(CmbFixRate->Text, &hz)) return;
  } else {
    baud = StrToInt(CmbSetBaud->Text);
    hz = StrToInt(CmbFixRate->Text);
  }
  const int perSecond = baud / 10;
  // A line that carries nothing is overloaded by any output.
  const float load = perSecond > 0 ? static_cast<float>(double(perFix) / perSecond * 100.0 * hz)
                                   : std::numeric_limits<float>::infinity();
  if (!(load <= 100)) {
    LabelPercent->Font->Color = kRed;
    BtnConfirm->Enabled = false;
  } else {
    LabelPercent->Font->Color = kBlack;
    if (ComHandle.load()) BtnConfirm->Enabled = true;
  }
  LabelPercent->Caption = FloatToStrF(load, 7, 1) + "%";
}

void TMainForm::CmbGLLChange(TObject*) {
  UpdateBandwidthEstimate();
}
void TMainForm::CmbRMCChange(TObject*) {
  UpdateBandwidthEstimate();
}
void TMainForm::CmbVTGChange(TObject*) {
  UpdateBandwidthEstimate();
}
void TMainForm::CmbGSAChange(TObject*) {
  UpdateBandwidthEstimate();
}
void TMainForm::CmbGSVChange(TObject*) {
  UpdateBandwidthEstimate();
}
void TMainForm::CmbGGAChange(TObject*) {
  UpdateBandwidthEstimate();
}
void TMainForm::CmbZDAChange(TObject*) {
  UpdateBandwidthEstimate();
}
void TMainForm::CmbMCHNChange(TObject*) {
  UpdateBandwidthEstimate();
}
void TMainForm::CmbSetBaudChange(TObject*) {
  UpdateBandwidthEstimate();
}
void TMainForm::CmbBaudChange(TObject*) {
  UpdateBandwidthEstimate();
}

void TMainForm::CmbFixRateChange(TObject*) {
  LabelHz->Caption = CmbFixRate->Text;
  UpdateBandwidthEstimate();
}

void TMainForm::BtnDefaultClick(TObject*) {
  for (platform::TComboBox* c : {CmbGLL, CmbRMC, CmbVTG, CmbGSA, CmbGSV, CmbGGA}) c->ItemIndex = 1;
  CmbZDA->ItemIndex = 0;
  CmbMCHN->ItemIndex = 0;
  UpdateBandwidthEstimate();
}

void TMainForm::BtnConfirmClick(TObject*) {
  platform::TComboBox* const order[] = {CmbGLL, CmbRMC, CmbVTG, CmbGGA,
                                        CmbGSA, CmbGSV, CmbZDA, CmbMCHN};
  for (platform::TComboBox* c : order) {
    if (StrToInt(c->Text) > 255) {
      platform::ShowMessage("Warning!! The value of NMEA frequency doesn't allow more than 255.");
      return;
    }
  }
  std::string body = "$PQVU314,";
  for (int i = 0; i < 6; ++i) body += std::string(order[i]->Text) + ",";
  body += "0,0,0,0,0,0,0,0,0,0,0," + std::string(CmbZDA->Text) + "," + std::string(CmbMCHN->Text);
  std::optional<std::string> sentence = BuildOrRefuse(body, 400);
  if (!sentence) return;
  if (Linked()) {
    platform::Sleep(1500);
    // The state starts afresh with the new output. Replaced after the writes, the reader would
    // take the receiver's acknowledgement along: it holds a reply back until the next sentence
    // starts, and that comes after the 100 ms wait.
    StopReader();
    StartReader();
    if (UseSocket.load()) {
      ClientSocket1.SendText(*sentence);
    } else {
      const std::string& s = *sentence;
      std::size_t at = 0;
      DWORD written = 0;
      while (s.size() - at > 16) {
        WriteFile(ComHandle.load(), s.data() + at, 16, &written, nullptr);
        platform::Sleep(100);
        at += 16;
      }
      WriteFile(ComHandle.load(), s.data() + at, static_cast<DWORD>(s.size() - at), &written,
                nullptr);
    }
    platform::Sleep(100);
    if (StringGrid1->Enabled && ReaderThread) ReaderThread->ChannelsUpdated.store(0);
  }
  ClearSignalChart();
  ClearFixDisplay();
  ClearChannelGrid();
}

}  // namespace console

// Command sentences to the receiver, one handler per button.
#include <optional>

#include "console/main_form.h"
#include "console/number_format.h"
#include "console/sentences.h"

namespace console {

namespace {

// The texts that go into a sentence must be plain decimal numbers: anything else could add
// fields or whole sentences with a valid checksum.
std::string DecimalText(const std::string& text) {
  StrToInt(text);
  return text;
}

// A rate the port list does not offer would leave the reopen without a rate to open at.
std::string ListedBaud(platform::TComboBox* combo) {
  std::string text = DecimalText(combo->Text);
  if (combo->Items->IndexOf(text) < 0)
    throw EConvertError("'" + text + "' is not a valid baud rate");
  return text;
}

// 0 would divide by zero, and above 1000 Hz the interval would be 0 ms.
int TypedFixRate(platform::TComboBox* box) {
  const int hz = StrToInt(box->Text);
  if (hz <= 0 || hz > 1000)
    throw EConvertError("'" + std::string(box->Text) + "' is not a fix rate");
  return hz;
}

}  // namespace

std::optional<std::string> BuildOrRefuse(const std::string& body, std::size_t maxLength) {
  std::optional<std::string> s = BuildSentence(body, maxLength);
  if (!s) platform::ShowMessage("Command too long: nothing was sent.");
  return s;
}

void TMainForm::RestartSequence(const char* sentence, std::uint8_t kind) {
  if (!Linked()) return;
  StopReader();
  ResetStatusDisplay();
  SendSentence(sentence, true, 1000);
  RestartTime = Now();
  StartReader();
  SendSentence(kAuthorization, true, 0);
  RestartKind = kind;
  Timer1->Interval = 100;
  if (kind >= 3) SendVersionQuery();
}

void TMainForm::BtnHotClick(TObject*) {
  RestartSequence(kHotStart, 1);
}
void TMainForm::BtnWarmClick(TObject*) {
  RestartSequence(kWarmStart, 2);
}
void TMainForm::BtnColdClick(TObject*) {
  RestartSequence(kColdStart, 3);
}
void TMainForm::BtnFactoryClick(TObject*) {
  RestartSequence(kFactoryReset, 4);
}

void TMainForm::RestartReaderAfter(const char* sentence, bool withZero) {
  if (!Linked()) return;
  SendSentence(sentence, withZero);
  StopReader();
  StartReader();
}

void TMainForm::BtnAuthClick(TObject*) {
  RestartReaderAfter(kAuthorization, true);
}
void TMainForm::BtnWakeUpClick(TObject*) {
  RestartReaderAfter(kWakeUp, true);
}

void TMainForm::BtnQueryClick(TObject*) {
  SendVersionQuery();
}
void TMainForm::BtnTCXOClick(TObject*) {
  SendSentence(kTcxoQuery, true);
}
void TMainForm::BtnQueryFixRateClick(TObject*) {
  SendSentence(kFixRateQuery, false);
}
void TMainForm::BtnQIntegrityClick(TObject*) {
  SendSentence(kIntegrityQuery, false);
}
void TMainForm::BtnNMEAQueryClick(TObject*) {
  SendSentence(kNmeaRatesQuery, false);
}
void TMainForm::BtnQFlashClick(TObject*) {
  SendSentence(kFlashQuery, false);
}
void TMainForm::BtnDatumQueryClick(TObject*) {
  SendSentence(kDatumQuery, false);
}

void TMainForm::BtnDGPSQueryClick(TObject*) {
  SendSentence(kRtcmQuery, false);
  SendSentence(kDgpsQuery, false);
}

void TMainForm::BtnSetFixRateClick(TObject*) {
  const int hz = TypedFixRate(CmbFixRate);
  std::optional<std::string> s = BuildOrRefuse("$PQVU220," + std::to_string(1000 / hz));
  if (!s || !Linked()) return;
  SendSentence(*s, false);
}

void TMainForm::BtnSetBaudClick(TObject*) {
  std::optional<std::string> s = BuildOrRefuse("$PQVU251," + ListedBaud(CmbSetBaud));
  if (!s || !Linked()) return;
  if (UseSocket.load()) {
    platform::Sleep(100);
    return;
  }
  ReopenPending = 1;
  SendSentence(*s, false);
}

void TMainForm::BtnDGPSSetClick(TObject*) {
  if (RadioRTCMEnable->Checked) {
    std::optional<std::string> s = BuildOrRefuse("$PQVU250,1,0," + DecimalText(CmbRTCMBaud->Text));
    if (!s || !Linked()) return;
    SendSentence(*s, false);
    SendSentence(kDgpsRtcm, true);
    return;
  }
  if (!Linked()) return;
  const bool sbas = RadioWAASEnable->Checked;
  SendSentence(sbas ? kSbasOn : kSbasOff, false);
  StopReader();
  StartReader();
  SendSentence(sbas ? kDgpsSbas : kDgpsNone, true);
}

void TMainForm::BtnIntegrityClick(TObject*) {
  SendSentence(RadioIntegrity->Checked ? kIntegrityMode : kTestMode, false);
}

int TMainForm::DatumToSend() const {
  int index = CmbDatum->ItemIndex;
  if (index >= 0) return index;
  // At start the box shows item 0 with nothing chosen.
  return CmbDatum->Items->IndexOf(CmbDatum->Text);
}

void TMainForm::BtnDatumSetClick(TObject*) {
  int datum = DatumToSend();
  if (datum < 0) return;
  std::optional<std::string> s = BuildOrRefuse("$PQVU330," + std::to_string(datum));
  if (!s || !Linked()) return;
  SendSentence(*s, false);
}

void TMainForm::BtnFlashSetClick(TObject*) {
  TypedFixRate(CmbFixRate);
  int datum = DatumToSend();
  if (datum < 0) return;
  std::string body = "$PQVU390,";
  body += ChkFlashProtect->Checked ? "1," : "0,";
  body += DecimalText(CmbFixRate->Text) + ",";
  body += ListedBaud(CmbSetBaud) + ",";
  for (platform::TComboBox* c : {CmbGLL, CmbRMC, CmbVTG, CmbGSA, CmbGSV, CmbGGA, CmbZDA, CmbMCHN})
    body += DecimalText(c->Text) + ",";
  body += std::to_string(datum) + ",";
  body += RadioWAASEnable->Checked ? "2," : (RadioRTCMEnable->Checked ? "1," : "0,");
  body += DecimalText(CmbRTCMBaud->Text);
  std::optional<std::string> s = BuildOrRefuse(body);
  if (!s || !Linked()) return;
  if (!UseSocket.load()) ReopenPending = 1;
  SendSentence(*s, false, 0);
}

}  // namespace console

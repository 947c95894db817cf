// The receiver link: the COM port or the TCP socket, and the reader that goes with it.
#include <cerrno>
#include <system_error>

#include "console/main_form.h"
#include "console/number_format.h"
#include "console/sentences.h"

namespace console {

using platform::ShowMessage;

void TMainForm::ClearForNewLink() {
  MemoNMEA->Lines->Clear();
  EmptyStatusBars();
  AckOkCommand = 0;
  socketError_ = {};
}

void TMainForm::ShowLinkedLook() {
  Timer1->Interval = 1000;
  Timer1->Enabled = true;
  ClearSignalChart();
  ShowCleanSkyPlot();
  EnableCommandControls();
  UpdateBandwidthEstimate();
  ClearChannelGrid();
  LabelCurrent->Caption = "Disable";
}

// The button underneath is hidden too, so that the keyboard cannot reach it.
void ShowCovering(platform::TButton* top, platform::TButton* under, bool on) {
  top->Visible = on;
  under->Visible = !on;
  (on ? top : under)->BringToFront();
}

void TMainForm::ClearChannelGrid() {
  if (!StringGrid1->Enabled) return;
  for (int row = 1; row <= 32; ++row)
    for (int col = 0; col < 4; ++col) StringGrid1->SetCell(col, row, "");
  StringGrid1->Enabled = false;
}

void ApplyPortTimeouts(HANDLE h, DWORD outQueue) {
  COMMTIMEOUTS timeouts{};
  timeouts.ReadTotalTimeoutConstant = 30;
  timeouts.WriteTotalTimeoutConstant = 100;
  SetCommTimeouts(h, &timeouts);
  SetupComm(h, 4096, outQueue);
}

void TMainForm::StartReader() {
  if (ReaderThread) return;
  ReaderThread = platform::NewThread<reader::TNMEAThread>(false, *this);
  ReaderThread->FreeOnTerminate = true;
}

// The wait is short: a COM reader leaves its read within the port's time-out and a socket
// reader is woken by the stop request. Waiting means two readers never share one port.
void TMainForm::StopReader() {
  if (!ReaderThread) return;
  reader::TNMEAThread* r = ReaderThread;
  ReaderThread = nullptr;
  r->Terminate();
  r->WaitFor();
}

void TMainForm::SendSentence(const std::string& sentence, bool withZero, int waitMs) {
  if (!Linked()) return;
  if (UseSocket.load()) {
    errno = 0;
    if (ClientSocket1.SendText(sentence) != static_cast<int>(sentence.size()))
      ShowLinkError("Write Error", errno != 0 ? errno : EIO);
  } else {
    DWORD written = 0;
    DWORD n = static_cast<DWORD>(sentence.size() + (withZero ? 1 : 0));
    if (!WriteFile(ComHandle.load(), sentence.c_str(), n, &written, nullptr) || written != n) {
      const int error = platform::LastSystemError();
      ShowLinkError("Write Error", error != 0 ? error : EIO);
    }
  }
  platform::Sleep(static_cast<std::uint32_t>(waitMs));
}

void TMainForm::ShowLinkError(const char* what, int error) {
  const std::string link = UseSocket.load()
                               ? std::string(EditIP->Text) + ":" + std::string(EditSocket->Text)
                               : std::string(CmbCom->Text);
  StatusBar1->Panels[0].Text = what;
  StatusBar1->Panels[1].Text = link + ": " + std::system_category().message(error);
  // A failed send is followed by the socket's disconnection, which resets the display.
  if (UseSocket.load()) socketError_ = {what, StatusBar1->Panels[1].Text()};
}

void TMainForm::PortReadFailed(HANDLE port, int error) {
  PostToWindow([this, port, error] { ComPortLost(port, error); });
}

void TMainForm::ComPortLost(HANDLE port, int error) {
  if (port == 0 || ComHandle.load() != port) return;
  BtnCloseClick(this);
  // After the close, which empties the status bars.
  ShowLinkError("Link Lost", error);
}

void TMainForm::SendVersionQuery() {
  SendSentence(kVersionQuery, true);
}

// What a new link asks the receiver first, so the pages show its settings.
void TMainForm::SendStartupQueries() {
  SendVersionQuery();
  BtnNMEAQueryClick(this);
  BtnQueryFixRateClick(this);
  BtnDGPSQueryClick(this);
  BtnQIntegrityClick(this);
  BtnQFlashClick(this);
  BtnDatumQueryClick(this);
}

void TMainForm::BtnOpenClick(TObject*) {
  ClearForNewLink();
  const bool scanning = Scanning().load() != 0;
  // A baud text that is no positive number stops here, before anything is opened: speed 0
  // would hang up a real line.
  const int baud = StrToInt(CmbBaud->Text);
  if (baud <= 0)
    throw EConvertError("'" + std::string(CmbBaud->Text) + "' is not a valid baud rate");

  HANDLE h = CreateFileA(("\\\\.\\" + std::string(CmbCom->Text)).c_str(),
                         GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, 0);
  if (h == INVALID_HANDLE_VALUE) {
    if (!scanning) ShowMessage("Can't Open ComPort!!");
    return;
  }
  DCB dcb{};
  dcb.BaudRate = static_cast<DWORD>(baud);
  dcb.fBinary = 1;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  dcb.XonLim = 4096;
  dcb.XoffLim = 1024;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.XonChar = 0x11;
  dcb.XoffChar = 0x13;
  if (!SetCommState(h, &dcb)) {
    DWORD code = GetLastError();
    CloseHandle(h);
    ComHandle = 0;
    if (!scanning) ShowMessage("ComPort Setting Error!! Err_Code:" + std::to_string(code));
    return;
  }
  ApplyPortTimeouts(h, 128);
  ComHandle = h;

  StartReader();
  ShowCovering(BtnClose, BtnOpen, true);
  BtnDetect->Enabled = false;
  CmbCom->Enabled = false;
  CmbBaud->Enabled = false;
  ShowLinkedLook();
  CmbSetBaud->ItemIndex = CmbBaud->ItemIndex;

  if (!scanning) {
    SendStartupQueries();
  }
  BtnConnect->Enabled = false;
}

void TMainForm::BtnCloseClick(TObject*) {
  Timer1->Enabled = false;
  Timer2->Enabled = false;
  ResetStatusDisplay();
  RestartKind = 0;
  if (GeneratorHandle) {
    CloseHandle(GeneratorHandle);
    GeneratorHandle = 0;
    DisableTestControls();
    BtnTestStop->Enabled = false;
    Btn101Close->Visible = false;
  }
  if (ComHandle.load()) {
    StopReader();
    CloseHandle(ComHandle.exchange(0));
    ShowCovering(BtnClose, BtnOpen, false);
    BtnDetect->Enabled = true;
    CmbCom->Enabled = true;
    CmbBaud->Enabled = true;
    DisableCommandControls();
    LabelVersion->Caption = "";
    LabelTCXO->Caption = "";
    BtnConnect->Enabled = true;
  }
  ShowLogging(false);
  LogFile.Close();
}

void TMainForm::BtnConnectClick(TObject*) {
  if (ClientSocket1.Active()) return;
  const int port = StrToInt(EditSocket->Text);
  // A port number that does not fit would connect somewhere else.
  if (port < 1 || port > 65535)
    throw EConvertError("'" + std::string(EditSocket->Text) + "' is not a valid port number");
  ClientSocket1.Port = port;
  ClientSocket1.Host = EditIP->Text;
  ClientSocket1.SetActive(true);
}

void TMainForm::BtnDisconnectClick(TObject*) {
  ClientSocket1.SetActive(false);
}

void TMainForm::ClientSocket1Connect(platform::TClientSocket&) {
  ClearForNewLink();
  EditIP->Enabled = false;
  EditSocket->Enabled = false;
  ShowCovering(BtnDisconnect, BtnConnect, true);
  BtnOpen->Enabled = false;
  ShowLinkedLook();
  UseSocket = true;
  SendStartupQueries();
  StartReader();
}

void TMainForm::ClientSocket1Disconnect(platform::TClientSocket&) {
  EditIP->Enabled = true;
  EditSocket->Enabled = true;
  ShowCovering(BtnDisconnect, BtnConnect, false);
  BtnOpen->Enabled = true;
  Timer1->Enabled = false;
  Timer2->Enabled = false;
  ResetStatusDisplay();
  RestartKind = 0;
  ShowLogging(false);
  LogFile.Close();
  LabelVersion->Caption = "";
  LabelCustomer->Caption = "";
  LabelTCXO->Caption = "";
  DisableCommandControls();
  UseSocket = false;
  StopReader();
  if (!socketError_[0].empty()) {
    StatusBar1->Panels[0].Text = socketError_[0];
    StatusBar1->Panels[1].Text = socketError_[1];
    socketError_ = {};
  }
}

void TMainForm::ClientSocket1Error(platform::TClientSocket&, int& ErrorCode) {
  ShowMessage("Connection Error :" + std::to_string(ErrorCode));
  ErrorCode = 0;
}

}  // namespace console

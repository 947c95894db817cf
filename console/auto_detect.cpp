// "Auto Detect" on the main window, which fills the detection dialog with this machine's COM
// ports, and what the dialog's scan does to the window.
#include <cstdint>
#include <string>

#include "console/main_form.h"
#include "detect/frm_detect.h"
#include "detect/port_list.h"

namespace console {

namespace {

constexpr int kPortCapacity = 256;

bool TickedByDefault(const std::string& baud) {
  return baud == "4800" || baud == "9600" || baud == "38400" || baud == "115200";
}

}  // namespace

void TMainForm::BtnDetectClick(TObject*) {
  detect::TFrmDetect* dialog = detect::FrmDetect;
  if (!dialog) return;
  platform::TCheckListBox* ports = dialog->CheckListBox2;
  ports->Items->Clear();
  std::uint16_t list[kPortCapacity];
  int count = kPortCapacity;
  const int rc = GetSerialPortList(list, &count);
  if (rc != 0) {
    platform::ShowMessage("Detect ComPort Fail : " + std::to_string(rc));
    return;
  }
  for (int i = 0; i < count; ++i) {
    // "COM" without a number names no device: it could never be opened.
    if (list[i] == 0) continue;
    const int at = ports->Items->Add("COM" + std::to_string(list[i]));
    ports->Checked[at] = at == 0;
  }
  platform::TCheckListBox* bauds = dialog->CheckListBox1;
  for (int i = 0; i < bauds->Items->Count(); ++i)
    bauds->Checked[i] = TickedByDefault(bauds->Items->Get(i));

  dialog->Left = Left();
  dialog->Top = Top() + 50;
  dialog->Show();
}

bool TMainForm::SocketInUse() const {
  return UseSocket.load() || ClientSocket1.Active();
}

bool TMainForm::PortOpen() const {
  return ComHandle.load() != 0;
}

void TMainForm::ShowPortChoice(const std::string& port) {
  CmbCom->Text = port;
  CmbCom->Repaint();
}

void TMainForm::ShowBaudChoice(const std::string& baud) {
  CmbBaud->Text = baud;
  CmbBaud->Repaint();
}

void TMainForm::OpenPort(TObject* Sender) {
  BtnOpenClick(Sender);
}

void TMainForm::ClosePort(TObject* Sender) {
  BtnCloseClick(Sender);
}

void TMainForm::RepaintWindow() {
  Repaint();
}

void TMainForm::AttachScanFlag(std::atomic<int>* flag) {
  ScanningFlag = flag;
}

void TMainForm::DetachScanFlag(std::atomic<int>* flag) {
  if (ScanningFlag != flag) return;
  StopReader();
  ScanningFlag = &ownScanning_;
}

}  // namespace console

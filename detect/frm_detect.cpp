#include "detect/frm_detect.h"

#include <string>

#include "console/main_form.h"
#include "console/number_format.h"
#include "platform/vcl/layout_registry.h"
#include "resources/detect_form_layout.h"

namespace detect {

TFrmDetect* FrmDetect = nullptr;

namespace {

// What the main window reads once the dialog is gone: no scan.
std::atomic<int> noDialogScanning{0};

void CheckAll(platform::TCheckListBox* list, bool on) {
  for (int i = 0; i < list->Items->Count(); ++i) list->Checked[i] = on;
}

}  // namespace

#define KV_FIELD(n) .Field(#n, n)
#define KV_EVENT(n) .Event(#n, this, &TFrmDetect::n)

TFrmDetect::TFrmDetect(platform::TComponent* Owner) : TForm(Owner) {
  if (!FrmDetect) FrmDetect = this;
  platform::TLayoutBindings b;
  b KV_FIELD(GroupBox1) KV_FIELD(GroupBox2) KV_FIELD(GroupBox3) KV_FIELD(CheckListBox2)
      KV_FIELD(CheckListBox1) KV_FIELD(Button3) KV_FIELD(Button4) KV_FIELD(BtnBaudAll)
          KV_FIELD(BtnBaudNone) KV_FIELD(EditDetectTime) KV_FIELD(Label1) KV_FIELD(BtnScan)
              KV_FIELD(BtnNoScan);
  b KV_EVENT(BtnScanClick) KV_EVENT(BtnNoScanClick) KV_EVENT(BtnBaudAllClick)
      KV_EVENT(BtnBaudNoneClick) KV_EVENT(Button3Click) KV_EVENT(Button4Click);
  platform::RegisterClass("TFrmDetect", "TForm");
  LoadLayout(kDetectFormLayout, b);
  // Made at start, before any link opens, so no reader is reading the old flag yet.
  if (console::MainForm) console::MainForm->ScanningFlag = &Scanning;
}

#undef KV_FIELD
#undef KV_EVENT

TFrmDetect::~TFrmDetect() {
  console::TMainForm* main = console::MainForm;
  if (main && main->ScanningFlag == &Scanning) {
    // A reader must not outlive the flag it reads.
    main->StopReader();
    main->ScanningFlag = &noDialogScanning;
  }
  if (FrmDetect == this) FrmDetect = nullptr;
}

void TFrmDetect::BtnNoScanClick(TObject*) {
  Hide();
}

void TFrmDetect::BtnBaudAllClick(TObject*) {
  CheckAll(CheckListBox1, true);
}

void TFrmDetect::BtnBaudNoneClick(TObject*) {
  CheckAll(CheckListBox1, false);
}

void TFrmDetect::Button3Click(TObject*) {
  CheckAll(CheckListBox2, true);
}

void TFrmDetect::Button4Click(TObject*) {
  CheckAll(CheckListBox2, false);
}

int TFrmDetect::DetectTime() const {
  const std::string text = EditDetectTime->Text;
  const int ms = console::StrToInt(text);
  // A negative pause would become a sleep of weeks with the window frozen.
  if (ms < 0) throw console::EConvertError("'" + text + "' is not a valid detect time");
  return ms;
}

void TFrmDetect::BtnScanClick(TObject*) {
  console::TMainForm* main = console::MainForm;
  if (!main) return;
  // The socket's reader would report the socket's sentences as a find on a COM port.
  if (main->UseSocket.load() || main->ClientSocket1.Active()) return;
  DetectTime();
  // Opening over a link that is still open would leak its port, locked.
  if (main->ComHandle.load()) main->BtnCloseClick(this);

  Scanning = 1;
  // Cleared on every way out: a scan that found nothing must not leave the display frozen and
  // the open errors silenced.
  struct ClearOnExit {
    std::atomic<int>& flag;
    ~ClearOnExit() { flag = 0; }
  } clear{Scanning};
  Hide();
  main->Repaint();
  Scan();
}

void TFrmDetect::Scan() {
  console::TMainForm* main = console::MainForm;
  for (int p = 0; p < CheckListBox2->Items->Count(); ++p) {
    if (!CheckListBox2->Checked[p]) continue;
    main->CmbCom->Text = CheckListBox2->Items->Get(p);
    main->CmbCom->Repaint();
    for (int b = 0; b < CheckListBox1->Items->Count(); ++b) {
      if (!CheckListBox1->Checked[b]) continue;
      main->CmbBaud->Text = CheckListBox1->Items->Get(b);
      main->CmbBaud->Repaint();
      main->BtnOpenClick(this);
      platform::Sleep(static_cast<std::uint32_t>(DetectTime()));
      if (Scanning.load() != 1) return;
      main->BtnCloseClick(this);
      // The reader may have found the receiver between the check and its stop: this is the
      // combination, so open it again rather than try the next one.
      if (Scanning.load() != 1) {
        main->BtnOpenClick(this);
        return;
      }
    }
  }
}

}  // namespace detect

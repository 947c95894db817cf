#include "detect/frm_detect.h"

#include <charconv>
#include <string>

#include "detect/scan_target.h"
#include "platform/core/thread.h"
#include "platform/vcl/layout_registry.h"
#include "resources/detect_form_layout.h"

namespace detect {

TFrmDetect* FrmDetect = nullptr;

namespace {

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
  if (ScanWindow) ScanWindow->AttachScanFlag(&Scanning);
}

#undef KV_FIELD
#undef KV_EVENT

TFrmDetect::~TFrmDetect() {
  // A reader must not outlive the flag it reads.
  if (ScanWindow) ScanWindow->DetachScanFlag(&Scanning);
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
  int ms = 0;
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, ms);
  if (text.empty() || ec != std::errc() || stop != end)
    throw EConvertError("'" + text + "' is not a valid integer value");
  // A negative pause would become a sleep of weeks with the window frozen.
  if (ms < 0) throw EConvertError("'" + text + "' is not a valid detect time");
  return ms;
}

void TFrmDetect::BtnScanClick(TObject*) {
  ScanTarget* main = ScanWindow;
  if (!main) return;
  // The socket's reader would report the socket's sentences as a find on a COM port.
  if (main->SocketInUse()) return;
  DetectTime();
  // Opening over a link that is still open would leak its port, locked.
  if (main->PortOpen()) main->ClosePort(this);

  Scanning = 1;
  // Cleared on every way out: a scan that found nothing must not leave the display frozen and
  // the open errors silenced.
  struct ClearOnExit {
    std::atomic<int>& flag;
    ~ClearOnExit() { flag = 0; }
  } clear{Scanning};
  Hide();
  main->RepaintWindow();
  Scan();
}

void TFrmDetect::Scan() {
  ScanTarget* main = ScanWindow;
  for (int p = 0; p < CheckListBox2->Items->Count(); ++p) {
    if (!CheckListBox2->Checked[p]) continue;
    main->ShowPortChoice(CheckListBox2->Items->Get(p));
    for (int b = 0; b < CheckListBox1->Items->Count(); ++b) {
      if (!CheckListBox1->Checked[b]) continue;
      main->ShowBaudChoice(CheckListBox1->Items->Get(b));
      main->OpenPort(this);
      platform::Sleep(static_cast<std::uint32_t>(DetectTime()));
      if (Scanning.load() != 1) return;
      main->ClosePort(this);
      // The reader may have found the receiver between the check and its stop: this is the
      // combination, so open it again rather than try the next one.
      if (Scanning.load() != 1) {
        main->OpenPort(this);
        return;
      }
    }
  }
}

}  // namespace detect

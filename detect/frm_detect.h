// The detection dialog: which COM ports and baud rates to try, and the scan that tries them
// with the main window's own "Open" and "Close" (through ScanTarget) until the reader sees a
// valid "$GP" sentence.
#pragma once

#include <atomic>

#include "platform/vcl/vcl.h"

namespace detect {

using platform::TObject;

// A detect time that is no whole number of milliseconds.
class EConvertError : public platform::Exception {
 public:
  using platform::Exception::Exception;
};

class TFrmDetect : public platform::TForm {
 public:
  explicit TFrmDetect(platform::TComponent* Owner);
  ~TFrmDetect() override;
  const char* ClassName() const override { return "TFrmDetect"; }

  // 1 while a scan waits for the receiver; the reader clears it when it finds one.
  std::atomic<int> Scanning{0};

  platform::TGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr, *GroupBox3 = nullptr;
  platform::TCheckListBox* CheckListBox2 = nullptr;  // ports
  platform::TCheckListBox* CheckListBox1 = nullptr;  // baud rates
  platform::TButton *Button3 = nullptr, *Button4 = nullptr;
  platform::TButton *BtnBaudAll = nullptr, *BtnBaudNone = nullptr;
  platform::TEdit* EditDetectTime = nullptr;
  platform::TLabel* Label1 = nullptr;
  platform::TButton *BtnScan = nullptr, *BtnNoScan = nullptr;

  void BtnScanClick(TObject* Sender);
  void BtnNoScanClick(TObject* Sender);
  void BtnBaudAllClick(TObject* Sender);
  void BtnBaudNoneClick(TObject* Sender);
  void Button3Click(TObject* Sender);
  void Button4Click(TObject* Sender);

 private:
  // The pause after each open; EConvertError unless it is a whole number of at least 0 ms.
  int DetectTime() const;
  void Scan();
};

// The dialog, once the application has made it.
extern TFrmDetect* FrmDetect;

}  // namespace detect

// Program start: the application object, the main window and the detection dialog, and the
// message loop.
#include "console/main_form.h"
#include "detect/frm_detect.h"
#include "platform/vcl/guarded_run.h"
#include "platform/vcl/vcl.h"

int main() {
  return platform::RunGuarded([] {
    using platform::Application;
    Application->Initialize();
    Application->Title = "Korvane";
    Application->CreateForm(console::MainForm);
    Application->CreateForm(detect::FrmDetect);
    Application->Run();
  });
}

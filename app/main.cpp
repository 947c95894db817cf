// Program start: the application object, the main window and the detection dialog, and the
// message loop.
#include <exception>

#include "console/main_form.h"
#include "detect/frm_detect.h"
#include "platform/vcl/vcl.h"

int main() {
  using platform::Application;
  try {
    Application->Initialize();
    Application->Title = "Korvane";
    Application->CreateForm(console::MainForm);
    Application->CreateForm(detect::FrmDetect);
    Application->Run();
  } catch (const platform::Exception&) {
    Application->ShowException(std::current_exception());
  } catch (...) {
    // Anything else is shown as the component library's exception with an empty message.
    Application->ShowException(std::make_exception_ptr(platform::Exception("")));
  }
  return 0;
}

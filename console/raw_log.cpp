// The raw log of the receiver stream; the reader writes it, the window opens and closes it.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "console/main_form.h"

namespace console {

void TMainForm::ShowLogging(bool on) {
  ShowCovering(BtnLogging, BtnLog, on);
}

void TMainForm::BtnLogClick(TObject*) {
  if (!UseSocket.load() && ComHandle.load() == 0) {
    platform::ShowMessage("Please Open Com port First");
    return;
  }
  if (!SaveDialog1->Execute()) return;
  const std::string path = SaveDialog1->FileName;
  struct stat st;
  if (stat(path.c_str(), &st) == 0 &&
      platform::Application->MessageBox("File exists. Overwrite this file?", "Save File",
                                        platform::MB_YESNO) != platform::IDYES)
    return;
  if (!LogFile.Open(path)) {
    // Not logging must not look like logging.
    platform::ShowMessage("Can't Open Log File!! " + std::string(std::strerror(errno)));
    return;
  }
  ShowLogging(true);
}

void TMainForm::LogWriteFailed(int error) {
  PostToWindow([this, error] {
    // The failed file is closed already; a log opened since keeps running.
    if (!LogFile.IsOpen()) ShowLogging(false);
    platform::ShowMessage("Log File Write Error!! " + std::system_category().message(error));
  });
}

void TMainForm::BtnLoggingClick(TObject*) {
  if (!LogFile.IsOpen()) return;
  LogFile.Close();
  ShowLogging(false);
}

}  // namespace console

// The application object: creates the Qt application, owns the forms, runs the event loop
// (which also runs the steps other threads hand to the window thread), and shows every modal
// box: messages, questions, the exception box, the save dialog and modal forms. A test installs
// a modal responder to answer those boxes; then nothing is ever shown and nothing blocks.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "platform/vcl/component.h"
#include "platform/vcl/form.h"

namespace platform {

// MessageBox buttons and icons.
constexpr int MB_OK = 0x0;
constexpr int MB_OKCANCEL = 0x1;
constexpr int MB_ABORTRETRYIGNORE = 0x2;
constexpr int MB_YESNOCANCEL = 0x3;
constexpr int MB_YESNO = 0x4;
constexpr int MB_RETRYCANCEL = 0x5;
constexpr int MB_ICONERROR = 0x10;
constexpr int MB_ICONSTOP = MB_ICONERROR;
constexpr int MB_ICONQUESTION = 0x20;
constexpr int MB_ICONWARNING = 0x30;
constexpr int MB_ICONEXCLAMATION = MB_ICONWARNING;
constexpr int MB_ICONINFORMATION = 0x40;
constexpr int MB_DEFBUTTON1 = 0x000;
constexpr int MB_DEFBUTTON2 = 0x100;
constexpr int MB_DEFBUTTON3 = 0x200;

// MessageBox answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

enum TModalKind { mkMessage, mkMessageBox, mkException, mkSaveDialog, mkForm, mkColorDialog };

// One modal box, as shown (or answered by the responder).
struct TModalRequest {
  TModalKind Kind = mkMessage;
  std::string Text;      // the message; for mkForm the form's name
  std::string Caption;   // the box's title
  int Flags = 0;         // MessageBox flags
  std::string FileName;  // mkSaveDialog: proposed on the way in; the responder sets the choice
  std::string Filter;    // mkSaveDialog
  // mkColorDialog: the starting colour and custom colours ("ColorA=BBGGRR" ...) on the way
  // in; the responder sets the choice.
  TColor Color = 0;
  std::vector<std::string> CustomColors;
  int Result = 0;  // the answer (IDYES, 1 for a chosen file, a modal result ...)
};
// Returns the answer: an ID for message boxes, non-zero for "file chosen", a modal result.
using TModalResponder = std::function<int(TModalRequest& request)>;

class TApplication : public TComponent {
 public:
  TApplication();
  const char* ClassName() const override { return "TApplication"; }

  // Creates the Qt application (once) and connects the window thread's step queue and the
  // exception box to it. Everything else calls it on demand too.
  void Initialize();

  // Creates a form owned by the application; the first one becomes the main form.
  template <class T>
  void CreateForm(T*& reference) {
    Initialize();
    T* form = new T(this);
    reference = form;
    FormCreated(form);
    form->AfterConstruction();
  }

  // Shows the main form and runs the event loop until Terminate (closing the main form does
  // that). Then every form gets OnDestroy, every thread is stopped and joined, and the forms
  // are deleted, in that order. Terminated is cleared again so that tests can run it again.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Handles the events waiting now (steps, timers, posted boxes) and returns.
  void ProcessMessages();
  TForm* MainForm() const { return mainForm_; }

  // The caption of ShowMessage and the exception box; by default the program's file name.
  std::string Title;

  int MessageBox(const std::string& text, const std::string& caption, int flags = MB_OK);
  // The standard exception box: the message with a full stop added, an error icon, OK.
  void ShowException(std::exception_ptr e);
  // Posts the exception box: it is shown after the current handler or step has returned.
  void HandleException(std::exception_ptr e);

  void SetModalResponder(TModalResponder responder) { responder_ = std::move(responder); }
  // Every modal box since the last ClearModalLog (at most the latest 1000).
  const std::vector<TModalRequest>& ModalLog() const { return log_; }
  void ClearModalLog() { log_.clear(); }
  // For the layer: shows a box through the responder, or through show when there is none.
  int RunModal(TModalRequest& request, const std::function<int()>& show);

  // For the layer: a form is going away.
  void FormDestroyed(TForm* form);

 private:
  void FormCreated(TForm* form);
  void DestroyForms();

  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  TModalResponder responder_;
  std::vector<TModalRequest> log_;
};

extern TApplication* const Application;

// A box with the text, an OK button and the application's title.
void ShowMessage(const std::string& message);
// The text of an exception as the exception box shows it (before the full stop is added).
std::string ExceptionMessage(std::exception_ptr e);

}  // namespace platform

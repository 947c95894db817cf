#include "platform/vcl/application.h"

#include <errno.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QSocketNotifier>
#include <clocale>
#include <cstdint>

#include "platform/core/thread.h"
#include "platform/vcl/exception.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace {

// Receives the calls posted on the window thread: a plain object, so that they are delivered
// in every event loop, modal ones included.
QObject* gPostTarget = nullptr;
// Other threads wake the window thread through this counter: a write is all they do, so they
// share no memory with Qt. Its notifier fires in every event loop, modal ones included.
int gWakeFd = -1;
constexpr size_t kMaxLogged = 1000;

void Post(std::function<void()> fn) {
  QMetaObject::invokeMethod(gPostTarget, std::move(fn), Qt::QueuedConnection);
}

// Window thread only.
bool gRunPosted = false;
int gRunDepth = 0;
// Steps queued behind the one now running, which may be waiting in a nested loop (a box).
bool gLeftovers = false;

void RunSteps() {
  gRunPosted = false;
  ++gRunDepth;
  gLeftovers = true;
  RunHandler([] { CheckSynchronize(0); }, true);
  // Everything queued when this run began has run.
  gLeftovers = false;
  --gRunDepth;
}

void PostRun() {
  if (gRunPosted) return;
  gRunPosted = true;
  Post(RunSteps);
}

// The notifier only posts the run: posted calls are delivered in every nested loop, also in
// one opened while steps are running, whereas the notifier does not fire again inside itself.
void OnWake() {
  std::uint64_t count;
  // Reset first: a step queued after this wakes the loop again.
  while (read(gWakeFd, &count, sizeof count) < 0 && errno == EINTR) {
  }
  PostRun();
}

// A loop nested inside a run is about to wait: the steps queued behind the running one get
// their turn now, not when that loop ends.
void OnAboutToBlock() {
  if (gRunDepth == 0 || !gLeftovers) return;
  gLeftovers = false;
  PostRun();
}

void Wake() {
  const std::uint64_t one = 1;
  while (write(gWakeFd, &one, sizeof one) < 0 && errno == EINTR) {
  }
}

}  // namespace

namespace qt {

void EnsureApplication() {
  if (gPostTarget) return;
  if (!QCoreApplication::instance()) {
    static int argc = 1;
    static char* argv[] = {program_invocation_name, nullptr};
    new QApplication(argc, argv);
    // Qt took the whole locale from the environment. Numbers in sentences, layouts and files
    // are read and written locale-free anyway; this keeps any C call from using a decimal comma.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    // The layouts name the original desktop's fonts; these are the closest on this one.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  }
  gPostTarget = new QObject;
  gWakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (gWakeFd < 0) throw Exception("Cannot create the window thread's wake-up counter");
  auto* notifier = new QSocketNotifier(gWakeFd, QSocketNotifier::Read, gPostTarget);
  QObject::connect(notifier, &QSocketNotifier::activated, gPostTarget, OnWake);
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                   gPostTarget, OnAboutToBlock);
  SetWakeMainThread(Wake);
  SetExceptionHandler([](std::exception_ptr e) { Application->HandleException(e); });
  // Steps queued before the loop existed.
  Wake();
}

}  // namespace qt

TApplication* const Application = new TApplication;

TApplication::TApplication() : TComponent(nullptr), Title(program_invocation_short_name) {}

void TApplication::Initialize() {
  qt::EnsureApplication();
}

void TApplication::FormCreated(TForm* form) {
  if (!mainForm_) mainForm_ = form;
}

void TApplication::FormDestroyed(TForm* form) {
  if (mainForm_ == form) mainForm_ = nullptr;
}

void TApplication::Run() {
  Initialize();
  if (!terminated_ && mainForm_) mainForm_->Show();
  if (!terminated_) QApplication::exec();
  DestroyForms();
  terminated_ = false;
}

void TApplication::Terminate() {
  terminated_ = true;
  if (QCoreApplication::instance()) QCoreApplication::exit(0);
}

void TApplication::ProcessMessages() {
  Initialize();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TApplication::DestroyForms() {
  // Forms let go of their threads in OnDestroy; then every thread is stopped and joined
  // before anything it might touch is deleted.
  for (int i = ComponentCount() - 1; i >= 0; --i) {
    if (auto* f = dynamic_cast<TForm*>(Components(i))) f->BeforeDestruction();
  }
  StopAllThreads();
  DestroyComponents();
  mainForm_ = nullptr;
}

int TApplication::RunModal(TModalRequest& request, const std::function<int()>& show) {
  const int result = responder_ ? responder_(request) : show();
  request.Result = result;
  if (log_.size() >= kMaxLogged) log_.erase(log_.begin());
  log_.push_back(request);
  return result;
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, int flags) {
  TModalRequest request;
  request.Kind = mkMessageBox;
  request.Text = text;
  request.Caption = caption;
  request.Flags = flags;
  return RunModal(request, [&]() -> int {
    QMessageBox box;
    box.setWindowTitle(qt::Str(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(qt::Str(text));
    switch (flags & 0xF0) {
      case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
      case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
      case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
      case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
      default:
        break;
    }
    struct Choice {
      QMessageBox::StandardButton button;
      int id;
    };
    std::vector<Choice> choices;
    switch (flags & 0xF) {
      case MB_OKCANCEL:
        choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        break;
      case MB_ABORTRETRYIGNORE:
        choices = {{QMessageBox::Abort, IDABORT},
                   {QMessageBox::Retry, IDRETRY},
                   {QMessageBox::Ignore, IDIGNORE}};
        break;
      case MB_YESNOCANCEL:
        choices = {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
      case MB_YESNO:
        choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        break;
      case MB_RETRYCANCEL:
        choices = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
        break;
      default:
        choices = {{QMessageBox::Ok, IDOK}};
        break;
    }
    std::vector<QPushButton*> buttons;
    for (const Choice& c : choices) buttons.push_back(box.addButton(c.button));
    const size_t def = static_cast<size_t>((flags >> 8) & 0xF);
    box.setDefaultButton(buttons[def < buttons.size() ? def : 0]);
    box.setEscapeButton(buttons.back());
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i) {
      if (box.clickedButton() == buttons[i]) return choices[i].id;
    }
    return choices.back().id;
  });
}

std::string ExceptionMessage(std::exception_ptr e) {
  if (!e) return {};
  try {
    std::rethrow_exception(e);
  } catch (const Exception& x) {
    return x.Message;
  } catch (const std::exception& x) {
    return x.what();
  } catch (...) {
    return {};
  }
}

void TApplication::ShowException(std::exception_ptr e) {
  std::string message = ExceptionMessage(e);
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
  TModalRequest request;
  request.Kind = mkException;
  request.Text = message;
  request.Caption = Title;
  request.Flags = MB_OK | MB_ICONSTOP;
  RunModal(request, [&]() -> int {
    QMessageBox box(QMessageBox::Critical, qt::Str(Title), qt::Str(message), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return IDOK;
  });
}

void TApplication::HandleException(std::exception_ptr e) {
  if (!e) return;
  Initialize();
  Post([e] { Application->ShowException(e); });
}

void ShowMessage(const std::string& message) {
  TModalRequest request;
  request.Kind = mkMessage;
  request.Text = message;
  request.Caption = Application->Title;
  Application->RunModal(request, [&]() -> int {
    QMessageBox box(QMessageBox::NoIcon, qt::Str(Application->Title), qt::Str(message),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return IDOK;
  });
}

}  // namespace platform

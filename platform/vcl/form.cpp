#include "platform/vcl/form.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QWidget>

#include "platform/vcl/application.h"
#include "platform/vcl/exception.h"
#include "platform/vcl/layout_reader.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace {

class FormWidget : public QWidget {
 public:
  explicit FormWidget(TForm* form) : form_(form) {}

 protected:
  void closeEvent(QCloseEvent* e) override {
    // The form decides (OnClose); the window system only asks.
    e->ignore();
    form_->CloseRequested();
  }
  void resizeEvent(QResizeEvent* e) override {
    QWidget::resizeEvent(e);
    form_->WindowResized(e->size().width(), e->size().height());
  }

 private:
  TForm* form_;
};

bool FixedSize(TFormBorderStyle s) {
  return s != bsSizeable && s != bsSizeToolWin;
}

}  // namespace

TForm::TForm(TComponent* Owner) : TWinControl(Owner) {
  visible_ = false;
  clientWidth_ = 320;
  clientHeight_ = 240;
  width_ = clientWidth_;
  height_ = clientHeight_;
  auto* w = new FormWidget(this);
  w->setAutoFillBackground(true);
  SetWidget(w);
  ApplyWindowFlags();
}

TForm::~TForm() {
  Application->FormDestroyed(this);
  DestroyComponents();
}

void TForm::LoadLayout(std::string_view text, const TLayoutBindings& bindings) {
  ReadLayout(*this, text, bindings);
}

void TForm::AfterConstruction() {
  creating_ = false;
  if (OnCreate) RunHandler([this] { OnCreate(this); }, true);
  if (visible_) ApplyVisible();
}

void TForm::BeforeDestruction() {
  if (destroyed_) return;
  destroyed_ = true;
  if (OnDestroy) RunHandler([this] { OnDestroy(this); }, true);
}

void TForm::SetClientWidth(int v) {
  const int frame = width_ - clientWidth_;
  clientWidth_ = std::max(0, v);
  width_ = clientWidth_ + frame;
  ApplyGeometry();
  Realign();
}

void TForm::SetClientHeight(int v) {
  const int frame = height_ - clientHeight_;
  clientHeight_ = std::max(0, v);
  height_ = clientHeight_ + frame;
  ApplyGeometry();
  Realign();
}

void TForm::SetBounds(int left, int top, int width, int height) {
  const int frameW = width_ - clientWidth_;
  const int frameH = height_ - clientHeight_;
  left_ = left;
  top_ = top;
  width_ = std::max(frameW, width);
  height_ = std::max(frameH, height);
  clientWidth_ = width_ - frameW;
  clientHeight_ = height_ - frameH;
  ApplyGeometry();
  Realign();
}

void TForm::ApplyGeometry() {
  QWidget* w = Widget();
  if (!w) return;
  if (FixedSize(borderStyle_)) {
    w->setFixedSize(clientWidth_, clientHeight_);
  } else {
    w->setMinimumSize(0, 0);
    w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    w->resize(clientWidth_, clientHeight_);
  }
  if (position_ == poDesigned || placed_) w->move(left_, top_);
}

void TForm::WindowResized(int clientWidth, int clientHeight) {
  if (clientWidth == clientWidth_ && clientHeight == clientHeight_) return;
  width_ += clientWidth - clientWidth_;
  height_ += clientHeight - clientHeight_;
  clientWidth_ = clientWidth;
  clientHeight_ = clientHeight;
  Realign();
}

void TForm::SetCaption(const std::string& v) {
  caption_ = v;
  if (Widget()) Widget()->setWindowTitle(qt::Str(v));
}

void TForm::SetBorderStyle(TFormBorderStyle v) {
  borderStyle_ = v;
  ApplyWindowFlags();
  ApplyGeometry();
}

void TForm::SetBorderIcons(TBorderIcons v) {
  borderIcons_ = v;
  ApplyWindowFlags();
}

void TForm::ApplyWindowFlags() {
  QWidget* w = Widget();
  if (!w) return;
  Qt::WindowFlags f;
  switch (borderStyle_) {
    case bsDialog:
      f = Qt::Dialog;
      break;
    case bsToolWindow:
    case bsSizeToolWin:
      f = Qt::Tool;
      break;
    default:
      f = Qt::Window;
      break;
  }
  if (borderStyle_ == bsNone) {
    f |= Qt::FramelessWindowHint;
  } else {
    f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (borderIcons_.Contains(biSystemMenu)) {
      f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
      const bool normal = borderStyle_ == bsSingle || borderStyle_ == bsSizeable;
      if (normal && borderIcons_.Contains(biMinimize)) f |= Qt::WindowMinimizeButtonHint;
      if (normal && borderIcons_.Contains(biMaximize)) f |= Qt::WindowMaximizeButtonHint;
    }
  }
  const bool shown = w->isVisible();
  w->setWindowFlags(f);
  if (shown) w->show();
}

void TForm::ApplyColor() {
  if (QWidget* w = Widget()) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, qt::Color(color_));
    w->setPalette(pal);
  }
  TWinControl::ApplyColor();
}

bool TForm::BackdropUnder(const TRect&, TColor* colour) const {
  *colour = color_;
  return true;
}

void TForm::SetVisible(bool v) {
  visible_ = v;
  if (Loading() || creating_) return;
  ApplyVisible();
}

void TForm::Show() {
  creating_ = false;
  SetVisible(true);
  if (QWidget* w = Widget()) w->raise();
}

void TForm::PlaceWindow() {
  QWidget* w = Widget();
  if (placed_ || !w) return;
  placed_ = true;
  if (position_ == poScreenCenter || position_ == poDesktopCenter ||
      position_ == poMainFormCenter || position_ == poOwnerFormCenter) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->availableGeometry();
      left_ = area.x() + (area.width() - width_) / 2;
      top_ = area.y() + (area.height() - height_) / 2;
    }
  }
  if (position_ != poDefault && position_ != poDefaultPosOnly) w->move(left_, top_);
}

void TForm::ApplyVisible() {
  QWidget* w = Widget();
  if (!w) return;
  if (visible_) {
    PlaceWindow();
    w->show();
    w->activateWindow();
  } else {
    w->hide();
  }
}

void TForm::SetModalResult(TModalResult v) {
  modalResult_ = v;
  if (modalLoop_ && v != mrNone) modalLoop_->quit();
}

TModalResult TForm::ShowModal() {
  TModalRequest request;
  request.Kind = mkForm;
  request.Text = GetName();
  request.Caption = caption_;
  return Application->RunModal(request, [this]() -> int {
    if (visible_) throw EInvalidOperation("Cannot make a visible window modal");
    QWidget* w = Widget();
    modalResult_ = mrNone;
    w->setWindowModality(Qt::ApplicationModal);
    Show();
    QEventLoop loop;
    modalLoop_ = &loop;
    for (;;) {
      if (modalResult_ == mrNone && !Application->Terminated()) loop.exec();
      if (modalResult_ == mrNone) {
        modalResult_ = mrCancel;
        break;
      }
      TCloseAction action = caHide;
      if (RunClose(action, false) || Application->Terminated()) break;
      modalResult_ = mrNone;
    }
    modalLoop_ = nullptr;
    SetVisible(false);
    w->setWindowModality(Qt::NonModal);
    return modalResult_;
  });
}

bool TForm::RunClose(TCloseAction& action, bool fromEventLoop) {
  if (OnClose) RunHandler([this, &action] { OnClose(this, action); }, fromEventLoop);
  return action != caNone;
}

void TForm::Close() {
  if (modalLoop_) {
    SetModalResult(mrCancel);
    return;
  }
  TCloseAction action = caHide;
  if (!RunClose(action, false)) return;
  if (Application->MainForm() == this) {
    Application->Terminate();
  } else if (action == caFree) {
    Release();
  } else {
    Hide();
  }
}

void TForm::CloseRequested() {
  RunHandler([this] { Close(); }, true);
}

void TForm::Release() {
  QPointer<QWidget> alive(Widget());
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [this, alive] {
        if (!alive) return;
        BeforeDestruction();
        delete this;
      },
      Qt::QueuedConnection);
}

}  // namespace platform

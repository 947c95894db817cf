#include "platform/vcl/plot_widget.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleHints>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>

#include "platform/gdi/dc.h"
#include "platform/gdi/dc_impl.h"
#include "platform/vcl/application.h"
#include "platform/vcl/exception.h"
#include "platform/vcl/picture.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace {

TShiftState Shift(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState s;
  if (modifiers & Qt::ShiftModifier) s = s << ssShift;
  if (modifiers & Qt::AltModifier) s = s << ssAlt;
  if (modifiers & Qt::ControlModifier) s = s << ssCtrl;
  if (buttons & Qt::LeftButton) s = s << ssLeft;
  if (buttons & Qt::RightButton) s = s << ssRight;
  if (buttons & Qt::MiddleButton) s = s << ssMiddle;
  return s;
}

bool Button(Qt::MouseButton b, TMouseButton& out) {
  switch (b) {
    case Qt::LeftButton:
      out = mbLeft;
      return true;
    case Qt::RightButton:
      out = mbRight;
      return true;
    case Qt::MiddleButton:
      out = mbMiddle;
      return true;
    default:
      return false;
  }
}

// The virtual key of a Qt key; 0 for keys that have none here.
unsigned short VirtualKey(int key) {
  static constexpr struct {
    int qt;
    unsigned short vk;
  } kKeys[] = {
      {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},         {Qt::Key_Right, VK_RIGHT},
      {Qt::Key_Down, VK_DOWN},     {Qt::Key_PageUp, VK_PRIOR},  {Qt::Key_PageDown, VK_NEXT},
      {Qt::Key_Home, VK_HOME},     {Qt::Key_End, VK_END},       {Qt::Key_Insert, VK_INSERT},
      {Qt::Key_Delete, VK_DELETE}, {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Return, VK_RETURN},
      {Qt::Key_Enter, VK_RETURN},  {Qt::Key_Space, VK_SPACE}};
  for (const auto& k : kKeys)
    if (k.qt == key) return k.vk;
  // Qt's letter and digit keys are their upper-case characters.
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
    return static_cast<unsigned short>(key);
  return 0;
}

bool IsArrow(unsigned short key) {
  return key >= VK_LEFT && key <= VK_DOWN;
}

Qt::CursorShape QtShape(TCursorShape shape) {
  switch (shape) {
    case TCursorShape::Cross:
      return Qt::CrossCursor;
    case TCursorShape::IBeam:
      return Qt::IBeamCursor;
    case TCursorShape::SizeAll:
      return Qt::SizeAllCursor;
    case TCursorShape::PointingHand:
      return Qt::PointingHandCursor;
    case TCursorShape::OpenHand:
      return Qt::OpenHandCursor;
    case TCursorShape::ClosedHand:
      return Qt::ClosedHandCursor;
    default:
      return Qt::ArrowCursor;
  }
}

}  // namespace

double ScreenAspectRatio() {
  qt::EnsureApplication();
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return 0;
  const QSizeF mm = screen->physicalSize();
  return mm.height() > 0 ? mm.width() / mm.height() : 0;
}

// The window of a TCustomPanel: shows the panel's window image and hands its events over.
class PlotWidget : public QWidget {
 public:
  explicit PlotWidget(TCustomPanel* owner) : owner_(owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    clickTimer_.setSingleShot(true);
    QObject::connect(&clickTimer_, &QTimer::timeout, this, [this] {
      if (owner_) owner_->PerformDoubleClickTimePassed();
    });
  }
  // The panel is going: events that still arrive are dropped.
  void Detach() {
    owner_ = nullptr;
    clickTimer_.stop();
  }
  // A click waits for the double-click time.
  void StartClickTimer() {
    clickTimer_.start(QGuiApplication::styleHints()->mouseDoubleClickInterval());
  }
  void StopClickTimer() { clickTimer_.stop(); }

 protected:
  bool event(QEvent* e) override {
    // Arrow keys the panel wants are its own, not a shortcut's.
    if (owner_ && e->type() == QEvent::ShortcutOverride &&
        IsArrow(VirtualKey(static_cast<QKeyEvent*>(e)->key())) && owner_->WantArrows()) {
      e->accept();
      return true;
    }
    return QWidget::event(e);
  }
  void keyPressEvent(QKeyEvent* e) override {
    const unsigned short key = owner_ ? VirtualKey(e->key()) : 0;
    if (key == 0 || !owner_->PerformKeyDown(key, Shift(e->modifiers(), Qt::NoButton))) {
      QWidget::keyPressEvent(e);
      return;
    }
    e->accept();
  }
  void paintEvent(QPaintEvent*) override {
    if (!owner_) return;
    owner_->PerformEraseBackground();
    if (owner_->paintPending_) owner_->PerformPaint();
    QPainter p(this);
    if (const QImage* image = owner_->windowImage_->Image(); image && !image->isNull())
      p.drawImage(0, 0, *image);
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (!owner_) return;
    TMouseButton b;
    if (!Button(e->button(), b)) return;
    const QPoint pos = e->position().toPoint();
    owner_->PerformMouseDown(b, Shift(e->modifiers(), e->buttons()), pos.x(), pos.y());
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (!owner_) return;
    TMouseButton b;
    if (!Button(e->button(), b)) return;
    const QPoint pos = e->position().toPoint();
    owner_->PerformDblClick();
    owner_->PerformMouseDown(b, Shift(e->modifiers(), e->buttons()) << ssDouble, pos.x(), pos.y());
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (!owner_) return;
    TMouseButton b;
    if (!Button(e->button(), b)) return;
    const QPoint pos = e->position().toPoint();
    owner_->PerformMouseUp(b, Shift(e->modifiers(), e->buttons()), pos.x(), pos.y());
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!owner_) return;
    const QPoint pos = e->position().toPoint();
    owner_->PerformMouseMove(Shift(e->modifiers(), e->buttons()), pos.x(), pos.y());
  }
  void wheelEvent(QWheelEvent* e) override {
    const QPoint pos = e->position().toPoint();
    if (owner_ && owner_->PerformMouseWheel(Shift(e->modifiers(), e->buttons()),
                                            e->angleDelta().y(), pos.x(), pos.y()))
      e->accept();
    else
      e->ignore();
  }
  void enterEvent(QEnterEvent*) override {
    if (owner_) owner_->PerformMouseEnter();
  }
  void leaveEvent(QEvent*) override {
    if (owner_) owner_->PerformMouseLeave();
  }
  void changeEvent(QEvent* e) override {
    if (owner_ && e->type() == QEvent::PaletteChange) owner_->PerformSysColorChange();
    QWidget::changeEvent(e);
  }

 private:
  TCustomPanel* owner_;
  QTimer clickTimer_;
};

TCustomPanel::TCustomPanel(TComponent* Owner, TPanelSurface surface)
    : TWinControl(Owner),
      headless_(surface == TPanelSurface::Headless),
      windowImage_(std::make_unique<TBitmap>()) {
  width_ = 185;
  height_ = 41;
  windowImage_->SetSize(width_, height_);
  if (!headless_) {
    SetWidget(new PlotWidget(this));
  }
}

TCustomPanel::~TCustomPanel() {
  if (PlotWidget* w = View()) w->Detach();
}

PlotWidget* TCustomPanel::View() const {
  return headless_ ? nullptr : static_cast<PlotWidget*>(Widget());
}

TCanvas* TCustomPanel::GetCanvas() const {
  return windowImage_->Canvas;
}

void TCustomPanel::SetBevelInner(const TBevelCut& v) {
  if (v == bevelInner_) return;
  bevelInner_ = v;
  Invalidate();
}

void TCustomPanel::SetBevelOuter(const TBevelCut& v) {
  if (v == bevelOuter_) return;
  bevelOuter_ = v;
  Invalidate();
}

void TCustomPanel::SetBevelWidth(const int& v) {
  const int w = std::max(1, v);
  if (w == bevelWidth_) return;
  bevelWidth_ = w;
  Invalidate();
}

void TCustomPanel::SetBorderWidth(const int& v) {
  const int w = std::max(0, v);
  if (w == borderWidth_) return;
  borderWidth_ = w;
  Invalidate();
}

void TCustomPanel::SetCursor(const TCursor& v) {
  cursor_ = v;
  ApplyCursor();
}

void TCustomPanel::ApplyCursor() {
  if (PlotWidget* w = View()) w->setCursor(QCursor(QtShape(ScreenCursorShape(cursor_))));
}

void TCustomPanel::Invalidate() {
  InvalidateWindow();
}

void TCustomPanel::InvalidateWindow() {
  ++invalidateCount_;
  paintPending_ = true;
  if (PlotWidget* w = View()) w->update();
}

void TCustomPanel::Repaint() {
  Invalidate();
  if (!paintPending_) return;
  if (PlotWidget* w = View(); w && w->isVisible()) {
    w->repaint();
  } else {
    PerformPaint();
  }
}

void TCustomPanel::WindowImageChanged() {
  // Inside a paint the image is copied anyway.
  PlotWidget* w = View();
  if (w && !painting_) w->update();
}

void TCustomPanel::ProcessPaint() {
  if (paintPending_) PerformPaint();
}

void TCustomPanel::SetWindowRound(int round) {
  windowRound_ = std::max(0, round);
  ApplyMask();
}

void TCustomPanel::ApplyMask() {
  PlotWidget* w = View();
  if (!w) return;
  if (windowRound_ > 0 && width_ > 0 && height_ > 0) {
    const gdi::Region r = gdi::Region::RoundRect(0, 0, width_, height_, windowRound_, windowRound_);
    w->setMask(r.impl().rgn);
  } else {
    w->clearMask();
  }
}

TPoint TCustomPanel::ClientCursorPos() const {
  PlotWidget* w = View();
  if (!w) return lastMouse_;
  const QPoint p = w->mapFromGlobal(QCursor::pos());
  return TPoint{p.x(), p.y()};
}

void TCustomPanel::DrawParentBackground(TCanvas* canvas, const TRect& r) const {
  const TWinControl* parent = GetParent();
  if (!canvas || !parent || r.Width() <= 0 || r.Height() <= 0) return;
  QImage under(r.Width(), r.Height(), QImage::Format_RGB32);
  under.fill(qt::Color(ColorToRGB(parent->GetColor())));
  if (PlotWidget* self = View(); self && self->parentWidget()) {
    QPainter p(&under);
    p.scale(static_cast<double>(r.Width()) / std::max(1, width_),
            static_cast<double>(r.Height()) / std::max(1, height_));
    self->parentWidget()->render(&p, QPoint(), QRegion(self->geometry()),
                                 QWidget::DrawWindowBackground);
  }
  canvas->GetHandle()->DrawImage(r, under);
}

void TCustomPanel::Guarded(const std::function<void()>& event) {
  RunHandler(
      [&] {
        try {
          event();
        } catch (const EAbort&) {
        }
      },
      true);
}

void TCustomPanel::PerformPaint() {
  if (painting_) return;
  paintPending_ = false;
  ++paintCount_;
  painting_ = true;
  Guarded([this] { Paint(); });
  painting_ = false;
}

void TCustomPanel::PerformMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  lastMouse_ = TPoint{x, y};
  if (button == mbLeft) {
    leftPressed_ = true;
    doublePress_ = shift.Contains(ssDouble);
  }
  Guarded([&] { MouseDown(button, shift, x, y); });
}

void TCustomPanel::PerformMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  lastMouse_ = TPoint{x, y};
  Guarded([&] { MouseUp(button, shift, x, y); });
  if (button != mbLeft || !leftPressed_) return;
  leftPressed_ = false;
  // The release that ends a double click is no click; nor is one away from the panel.
  if (doublePress_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  clickPending_ = true;
  if (PlotWidget* w = View()) w->StartClickTimer();
}

void TCustomPanel::PerformDoubleClickTimePassed() {
  if (!clickPending_) return;
  clickPending_ = false;
  if (PlotWidget* w = View()) w->StopClickTimer();
  Guarded([this] { Click(); });
}

void TCustomPanel::PerformMouseMove(TShiftState shift, int x, int y) {
  lastMouse_ = TPoint{x, y};
  Guarded([&] { MouseMove(shift, x, y); });
}

bool TCustomPanel::PerformMouseWheel(TShiftState shift, int delta, int x, int y) {
  lastMouse_ = TPoint{x, y};
  bool handled = false;
  Guarded([&] { handled = DoMouseWheel(shift, delta, TPoint{x, y}); });
  return handled;
}

bool TCustomPanel::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  constexpr int kStep = 120;
  // Clamped: a flood of huge deltas neither overflows nor queues endless steps.
  wheelDelta_ = std::clamp(wheelDelta_ + std::clamp(wheelDelta, -100 * kStep, 100 * kStep),
                           -100 * kStep, 100 * kStep);
  bool handled = false;
  while (wheelDelta_ >= kStep || wheelDelta_ <= -kStep) {
    const bool down = wheelDelta_ < 0;
    wheelDelta_ += down ? kStep : -kStep;
    handled =
        (down ? DoMouseWheelDown(shift, mousePos) : DoMouseWheelUp(shift, mousePos)) || handled;
  }
  return handled;
}

void TCustomPanel::PerformDblClick() {
  // The click before it was the double click's first half.
  clickPending_ = false;
  if (PlotWidget* w = View()) w->StopClickTimer();
  leftPressed_ = false;
  doublePress_ = true;
  Guarded([this] { DblClick(); });
}

void TCustomPanel::PerformMouseEnter() {
  Guarded([this] { MouseEnter(); });
}

void TCustomPanel::PerformMouseLeave() {
  Guarded([this] { MouseLeave(); });
}

void TCustomPanel::PerformSysColorChange() {
  Guarded([this] { SysColorChange(); });
}

void TCustomPanel::PerformEraseBackground() {
  Guarded([this] { EraseBackground(); });
}

bool TCustomPanel::PerformKeyDown(unsigned short key, TShiftState shift) {
  if (IsArrow(key) && !WantArrows()) return false;
  Guarded([&] { KeyDown(key, shift); });
  return true;
}

void TCustomPanel::KeyDown(unsigned short& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TCustomPanel::EraseBackground() {
  if (color_ == clNone) return;
  gdi::LogBrush brush;
  brush.Style = gdi::BS_SOLID;
  brush.Color = ColorToRGB(color_);
  GetCanvas()->GetHandle()->FillRect(ClientRect(), brush);
  // The image lost what the panel drew: the paint puts it back.
  paintPending_ = true;
}

void TCustomPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TCustomPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TCustomPanel::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TCustomPanel::Click() {
  if (OnClick) OnClick(this);
}

void TCustomPanel::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TCustomPanel::Resize() {
  if (OnResize) OnResize(this);
}

void TCustomPanel::ApplyColor() {
  TWinControl::ApplyColor();
  if (color_ == appliedColor_) return;
  appliedColor_ = color_;
  Invalidate();
}

void TCustomPanel::BoundsChanged() {
  TWinControl::BoundsChanged();
  windowImage_->SetSize(width_, height_);
  ApplyMask();
  Resize();
  // A panel repaints whole after a resize.
  Invalidate();
}

}  // namespace platform

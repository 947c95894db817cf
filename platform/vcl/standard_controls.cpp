#include "platform/vcl/standard_controls.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>

#include "platform/vcl/custom_paint.h"
#include "platform/vcl/form.h"
#include "platform/vcl/picture.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace {

template <class W>
W* As(const TControl* c) {
  return static_cast<W*>(c->Widget());
}

Qt::Alignment Horizontal(TAlignment a) {
  switch (a) {
    case taRightJustify:
      return Qt::AlignRight;
    case taCenter:
      return Qt::AlignHCenter;
    default:
      return Qt::AlignLeft;
  }
}

class ButtonWidget : public QPushButton {
 public:
  explicit ButtonWidget(TButton* owner) : owner_(owner) {}
  // The button as the style draws it.
  void DrawBase(QPainter& p) {
    QStyleOptionButton option;
    initStyleOption(&option);
    style()->drawControl(QStyle::CE_PushButton, &option, &p, this);
  }

 protected:
  void paintEvent(QPaintEvent* e) override {
    if (!qt::PaintOwnerImage(this, owner_)) QPushButton::paintEvent(e);
  }

 private:
  TButton* owner_;
};

class PanelWidget : public QFrame {
 public:
  std::string caption;
  Qt::Alignment alignment = Qt::AlignHCenter;

 protected:
  void paintEvent(QPaintEvent* e) override {
    QFrame::paintEvent(e);
    if (caption.empty()) return;
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(contentsRect(), alignment | Qt::AlignVCenter, qt::Str(caption));
  }
};

}  // namespace

// --- TLabel ---

TLabel::TLabel(TComponent* Owner) : TControl(Owner) {
  SetParentColor(true);
  auto* w = new QLabel;
  w->setTextFormat(Qt::PlainText);
  w->setAutoFillBackground(true);
  width_ = 65;
  height_ = 13;
  SetWidget(w);
  ApplyAlignment();
}

void TLabel::SetCaption(const std::string& v) {
  caption_ = v;
  if (auto* w = As<QLabel>(this)) w->setText(qt::Str(v));
  AdjustBounds();
}

void TLabel::SetAlignment(TAlignment v) {
  alignment_ = v;
  ApplyAlignment();
}

void TLabel::SetLayout(TTextLayout v) {
  layout_ = v;
  ApplyAlignment();
}

void TLabel::ApplyAlignment() {
  auto* w = As<QLabel>(this);
  if (!w) return;
  Qt::Alignment vertical = Qt::AlignTop;
  if (layout_ == tlCenter) vertical = Qt::AlignVCenter;
  if (layout_ == tlBottom) vertical = Qt::AlignBottom;
  w->setAlignment(Horizontal(alignment_) | vertical);
}

void TLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustBounds();
}

void TLabel::SetWordWrap(bool v) {
  wordWrap_ = v;
  if (auto* w = As<QLabel>(this)) w->setWordWrap(v);
  AdjustBounds();
}

void TLabel::SetTransparent(bool v) {
  transparent_ = v;
  ApplyColor();
}

// The layer places the label, so its size is fixed: a new text then asks its parent for no new
// layout, which would be an event for nothing.
void TLabel::ApplyGeometry() {
  if (auto* w = As<QLabel>(this)) w->setFixedSize(width_, height_);
  TControl::ApplyGeometry();
}

void TLabel::ApplyFont() {
  TControl::ApplyFont();
  AdjustBounds();
}

// A label that is not transparent paints its own background: in its own colour, or in the one
// its parent shows beneath it, so that changing its text repaints the label alone and not every
// control under it. Where the parent's look there is not one known colour, the parent paints it.
void TLabel::ApplyColor() {
  auto* w = As<QLabel>(this);
  if (!w) return;
  TColor fill = color_;
  const bool fills =
      !transparent_ &&
      (OwnBackground() || (GetParent() && GetParent()->BackdropFor(this, BoundsRect(), &fill)));
  w->setAutoFillBackground(fills);
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, qt::Color(fill));
  w->setPalette(pal);
}

void TLabel::Loaded() {
  TControl::Loaded();
  AdjustBounds();
}

void TLabel::AdjustBounds() {
  auto* w = As<QLabel>(this);
  if (!autoSize_ || Loading() || !w) return;
  const QFontMetrics fm(w->font());
  // An empty caption still measures as one blank, as the original platform does.
  const QString text = caption_.empty() ? QStringLiteral(" ") : qt::Str(caption_);
  int width = width_;
  int height = 0;
  if (wordWrap_) {
    height =
        fm.boundingRect(QRect(0, 0, std::max(1, width_), 1 << 20), Qt::TextWordWrap, text).height();
  } else {
    const QRect r = fm.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), 0, text);
    width = r.width();
    height = r.height();
  }
  int left = left_;
  if (alignment_ == taRightJustify && !wordWrap_) left = left_ + width_ - width;
  SetBounds(left, top_, width, height);
}

// --- TButton ---

TButton::TButton(TComponent* Owner) : TWinControl(Owner) {
  auto* w = new ButtonWidget(this);
  width_ = 75;
  height_ = 25;
  SetWidget(w);
  QObject::connect(w, &QPushButton::clicked, w, [this] { RunHandler([this] { Click(); }, true); });
}

void TButton::SetCaption(const std::string& v) {
  caption_ = v;
  if (auto* w = As<QPushButton>(this)) w->setText(qt::Str(v));
}

void TButton::Click() {
  if (ModalResult != mrNone) {
    if (TForm* f = GetParentForm(this)) f->SetModalResult(ModalResult);
  }
  if (OnClick) RunHandler([this] { OnClick(this); }, false);
}

void TButton::SetCustomPaint(bool v) {
  customPaint_ = v;
  Invalidate();
}

void TButton::PaintTo(TBitmap& image) {
  auto* w = As<ButtonWidget>(this);
  if (!w) {
    image.SetSize(width_, height_);
    if (customPaint_) PaintWindow(image.Canvas);
    return;
  }
  qt::PaintThroughImage(
      image, *w, width_, height_, [w](QPainter& p) { w->DrawBase(p); },
      [this](TCanvas* canvas) {
        if (customPaint_) PaintWindow(canvas);
      });
}

// --- TEdit ---

TEdit::TEdit(TComponent* Owner) : TWinControl(Owner) {
  color_ = clWindow;
  auto* w = new QLineEdit;
  width_ = 121;
  height_ = 21;
  SetWidget(w);
  QObject::connect(w, &QLineEdit::textEdited, w, [this] { Change(true); });
}

std::string TEdit::GetText() const {
  auto* w = As<QLineEdit>(this);
  return w ? qt::Latin1(w->text()) : std::string();
}

void TEdit::SetText(const std::string& v) {
  auto* w = As<QLineEdit>(this);
  if (!w || GetText() == v) return;
  w->setText(qt::Str(v));
  Change(false);
}

bool TEdit::GetReadOnly() const {
  auto* w = As<QLineEdit>(this);
  return w && w->isReadOnly();
}

void TEdit::SetReadOnly(bool v) {
  if (auto* w = As<QLineEdit>(this)) w->setReadOnly(v);
}

void TEdit::SetMaxLength(int v) {
  maxLength_ = std::max(0, v);
  if (auto* w = As<QLineEdit>(this)) w->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

void TEdit::ApplyColor() {
  if (auto* w = As<QLineEdit>(this)) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, qt::Color(color_));
    w->setPalette(pal);
  }
}

void TEdit::Change(bool fromEventLoop) {
  if (OnChange && !Loading()) RunHandler([this] { OnChange(this); }, fromEventLoop);
}

// --- TCheckBox ---

TCheckBox::TCheckBox(TComponent* Owner) : TWinControl(Owner) {
  SetParentColor(true);
  auto* w = new QCheckBox;
  width_ = 97;
  height_ = 17;
  SetWidget(w);
  QObject::connect(w, &QCheckBox::clicked, w, [this] { Click(true); });
}

void TCheckBox::SetCaption(const std::string& v) {
  caption_ = v;
  if (auto* w = As<QCheckBox>(this)) w->setText(qt::Str(v));
}

bool TCheckBox::GetChecked() const {
  auto* w = As<QCheckBox>(this);
  return w && w->isChecked();
}

void TCheckBox::SetChecked(bool v) {
  auto* w = As<QCheckBox>(this);
  if (!w || w->isChecked() == v) return;
  w->setChecked(v);
  Click(false);
}

void TCheckBox::Click(bool fromEventLoop) {
  if (OnClick && !Loading()) RunHandler([this] { OnClick(this); }, fromEventLoop);
}

// --- TRadioButton ---

TRadioButton::TRadioButton(TComponent* Owner) : TWinControl(Owner) {
  SetParentColor(true);
  auto* w = new QRadioButton;
  width_ = 113;
  height_ = 17;
  SetWidget(w);
  QObject::connect(w, &QRadioButton::clicked, w, [this] { Click(true); });
}

void TRadioButton::SetCaption(const std::string& v) {
  caption_ = v;
  if (auto* w = As<QRadioButton>(this)) w->setText(qt::Str(v));
}

bool TRadioButton::GetChecked() const {
  auto* w = As<QRadioButton>(this);
  return w && w->isChecked();
}

void TRadioButton::SetChecked(bool v) {
  auto* w = As<QRadioButton>(this);
  if (!w || w->isChecked() == v) return;
  if (v) {
    w->setChecked(true);
    Click(false);
  } else {
    // Qt refuses to uncheck the chosen button of a group; the original platform allows it.
    w->setAutoExclusive(false);
    w->setChecked(false);
    w->setAutoExclusive(true);
  }
}

void TRadioButton::Click(bool fromEventLoop) {
  if (OnClick && !Loading()) RunHandler([this] { OnClick(this); }, fromEventLoop);
}

// --- TGroupBox ---

TGroupBox::TGroupBox(TComponent* Owner) : TWinControl(Owner) {
  auto* w = new QGroupBox;
  width_ = 185;
  height_ = 105;
  SetWidget(w);
}

void TGroupBox::SetCaption(const std::string& v) {
  caption_ = v;
  if (auto* w = As<QGroupBox>(this)) w->setTitle(qt::Str(v));
}

// --- TPanel ---

TPanel::TPanel(TComponent* Owner) : TWinControl(Owner) {
  auto* w = new PanelWidget;
  w->setAutoFillBackground(true);
  width_ = 185;
  height_ = 41;
  SetWidget(w);
  ApplyBevel();
}

void TPanel::SetCaption(const std::string& v) {
  const bool captionShown = !caption_.empty();
  caption_ = v;
  if (auto* w = As<PanelWidget>(this)) {
    w->caption = v;
    w->update();
  }
  // Children painting the panel's colour must leave a caption to show through.
  if (captionShown != !v.empty()) BackdropChanged();
}

void TPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  if (auto* w = As<PanelWidget>(this)) {
    w->alignment = Horizontal(v);
    w->update();
  }
}

void TPanel::SetBevelOuter(TBevelCut v) {
  bevelOuter_ = v;
  ApplyBevel();
}

void TPanel::SetBevelInner(TBevelCut v) {
  bevelInner_ = v;
  ApplyBevel();
}

void TPanel::SetBevelWidth(int v) {
  bevelWidth_ = std::max(1, v);
  ApplyBevel();
}

void TPanel::SetBorderStyle(TBorderStyle v) {
  borderStyle_ = v;
  ApplyBevel();
}

void TPanel::ApplyBevel() {
  auto* w = As<PanelWidget>(this);
  if (!w) return;
  const TBevelCut cut = bevelOuter_ != bvNone ? bevelOuter_ : bevelInner_;
  if (cut == bvRaised || cut == bvLowered) {
    w->setFrameStyle(QFrame::Panel | (cut == bvRaised ? QFrame::Raised : QFrame::Sunken));
    w->setLineWidth(bevelWidth_);
  } else if (borderStyle_ == bsSingle) {
    w->setFrameStyle(QFrame::Box | QFrame::Plain);
    w->setLineWidth(1);
  } else {
    w->setFrameStyle(QFrame::NoFrame);
  }
  // Children that paint the panel's colour must keep off the new frame.
  BackdropChanged();
}

bool TPanel::BackdropUnder(const TRect& area, TColor* colour) const {
  auto* w = As<PanelWidget>(this);
  if (!w || !caption_.empty()) return false;
  const int edge = w->frameWidth();
  if (area.Left < edge || area.Top < edge || area.Right > width_ - edge ||
      area.Bottom > height_ - edge)
    return false;
  if (OwnBackground()) {
    *colour = color_;
    return true;
  }
  const TRect there{area.Left + left_, area.Top + top_, area.Right + left_, area.Bottom + top_};
  return GetParent() && GetParent()->BackdropFor(this, there, colour);
}

void TPanel::ApplyColor() {
  if (auto* w = As<PanelWidget>(this)) {
    w->setAutoFillBackground(OwnBackground());
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, qt::Color(color_));
    w->setPalette(pal);
  }
  TWinControl::ApplyColor();
}

}  // namespace platform

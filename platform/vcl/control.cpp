#include "platform/vcl/control.h"

#include <QPalette>
#include <QWidget>
#include <algorithm>

#include "platform/vcl/exception.h"
#include "platform/vcl/form.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace {

bool Overlap(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

}  // namespace

TControl::TControl(TComponent* Owner) : TComponent(Owner), Font(new TFont) {
  qt::EnsureApplication();
  Font->OnChange = [this] {
    if (!inheriting_) parentFont_ = false;
    ApplyFont();
  };
}

TControl::~TControl() {
  if (parent_) {
    TWinControl* p = parent_;
    parent_ = nullptr;
    auto& list = p->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    p->ControlRemoved(this);
  }
  delete widget_;
  delete Font;
}

void TControl::SetWidget(QWidget* w) {
  widget_ = w;
  QObject::connect(w, &QObject::destroyed, [this] { widget_ = nullptr; });
  w->hide();
  ApplyFont();
  ApplyColor();
  ApplyGeometry();
  w->setEnabled(enabled_);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) {
    TWinControl* old = parent_;
    parent_ = nullptr;
    old->controls_.erase(std::remove(old->controls_.begin(), old->controls_.end(), this),
                         old->controls_.end());
    old->ControlRemoved(this);
    if (widget_) widget_->setParent(nullptr);
    if (align_ != alNone) old->Realign();
  }
  parent_ = parent;
  if (!parent) return;
  parent->controls_.push_back(this);
  parent->ChildMoved(this, BoundsRect(), BoundsRect());
  if (widget_ && parent->ClientWidget()) widget_->setParent(parent->ClientWidget());
  parent->ControlAdded(this);
  if (parentFont_) InheritFont(*parent->Font);
  if (parentColor_) {
    InheritColor(parent->color_);
  } else {
    ApplyColor();
  }
  UpdateToolTip();
  ApplyGeometry();
  ApplyVisible();
  if (align_ != alNone) parent->Realign();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const TRect from = BoundsRect();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  ApplyGeometry();
  BoundsChanged();
  if (parent_) parent_->ChildMoved(this, from, BoundsRect());
  RequestRealign();
}

void TControl::ApplyGeometry() {
  if (widget_) widget_->setGeometry(left_, top_, width_, height_);
}

void TControl::ApplyVisible() {
  if (!widget_) return;
  if (!parent_) {
    widget_->hide();
    return;
  }
  widget_->setVisible(visible_);
  ApplyEnabled();
}

void TControl::SetVisible(bool v) {
  visible_ = v;
  ApplyVisible();
  RequestRealign();
}

void TControl::SetEnabled(bool v) {
  enabled_ = v;
  ApplyEnabled();
}

// A hidden control takes no input at all, not even keys sent to it directly; Enabled keeps
// its own value and applies again once the control is shown.
void TControl::ApplyEnabled() {
  if (widget_) widget_->setEnabled(enabled_ && (visible_ || !parent_));
}

void TControl::SetCaption(const std::string& v) {
  caption_ = v;
}

void TControl::SetHint(const std::string& v) {
  hint_ = v;
  UpdateToolTip();
}

void TControl::SetShowHint(bool v) {
  showHint_ = v;
  parentShowHint_ = false;
  InheritShowHint();
}

void TControl::SetParentShowHint(bool v) {
  parentShowHint_ = v;
  InheritShowHint();
}

bool TControl::EffectiveShowHint() const {
  if (parentShowHint_ && parent_) return parent_->EffectiveShowHint();
  return showHint_;
}

void TControl::UpdateToolTip() {
  if (widget_) widget_->setToolTip(EffectiveShowHint() ? qt::DisplayText(hint_) : QString());
}

void TControl::InheritShowHint() {
  UpdateToolTip();
  if (auto* w = dynamic_cast<TWinControl*>(this)) w->PropagateShowHint();
}

void TControl::SetAlign(TAlign v) {
  if (v == align_) return;
  align_ = v;
  if (parent_) parent_->Realign();
}

void TControl::SetColor(TColor v) {
  color_ = v;
  if (!inheriting_) parentColor_ = false;
  ApplyColor();
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v && parent_) InheritColor(parent_->color_);
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v && parent_) InheritFont(*parent_->Font);
}

void TControl::InheritFont(const TFont& font) {
  inheriting_ = true;
  Font->Assign(font);
  inheriting_ = false;
}

void TControl::InheritColor(TColor color) {
  inheriting_ = true;
  SetColor(color);
  inheriting_ = false;
}

void TControl::ApplyFont() {
  if (!widget_) return;
  widget_->setFont(qt::Font(*Font));
  QPalette pal = widget_->palette();
  const QColor c = qt::Color(Font->GetColor());
  for (auto group : {QPalette::Active, QPalette::Inactive}) {
    pal.setColor(group, QPalette::WindowText, c);
    pal.setColor(group, QPalette::ButtonText, c);
    pal.setColor(group, QPalette::Text, c);
  }
  widget_->setPalette(pal);
}

bool TControl::OwnBackground() const {
  return !parent_ || color_ != parent_->color_;
}

bool TControl::BackdropUnder(const TRect&, TColor*) const {
  return false;
}

void TControl::RequestRealign() {
  if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::Repaint() {
  if (widget_) widget_->repaint();
}

void TControl::Invalidate() {
  if (widget_) widget_->update();
}

void TControl::BringToFront() {
  if (widget_) widget_->raise();
}

// --- TWinControl ---

TWinControl::~TWinControl() {
  while (!controls_.empty()) delete controls_.back();
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) return nullptr;
  return controls_[static_cast<size_t>(index)];
}

void TWinControl::AdoptChild(TComponent* child) {
  if (auto* c = dynamic_cast<TControl*>(child)) c->SetParent(this);
}

void TWinControl::ApplyFont() {
  TControl::ApplyFont();
  for (TControl* c : controls_) {
    if (c->parentFont_) c->InheritFont(*Font);
  }
}

void TWinControl::ApplyColor() {
  for (TControl* c : controls_) {
    if (c->parentColor_) {
      c->InheritColor(color_);
    } else {
      c->ApplyColor();
    }
  }
}

bool TWinControl::BackdropFor(const TControl* child, const TRect& area, TColor* colour) const {
  for (const TControl* c : controls_)
    if (c != child && Overlap(c->BoundsRect(), area)) return false;
  return BackdropUnder(area, colour);
}

void TWinControl::BackdropChanged() {
  for (TControl* c : controls_) c->BackdropChanged();
}

// Moved or resized, the control may have taken its children over another frame, or its own
// frame over them.
void TWinControl::BoundsChanged() {
  Realign();
  BackdropChanged();
}

void TWinControl::ChildMoved(const TControl* moved, const TRect& from, const TRect& to) {
  for (TControl* c : controls_)
    if (c != moved && (Overlap(c->BoundsRect(), from) || Overlap(c->BoundsRect(), to)))
      c->BackdropChanged();
}

void TWinControl::PropagateShowHint() {
  for (TControl* c : controls_) {
    if (c->parentShowHint_) c->InheritShowHint();
  }
}

void TWinControl::Realign() {
  if (aligning_) return;
  aligning_ = true;
  TRect r{0, 0, GetClientWidth(), GetClientHeight()};
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : controls_) {
      if (c->align_ != a || !c->visible_) continue;
      switch (a) {
        case alTop:
          c->SetBounds(r.Left, r.Top, r.Width(), c->height_);
          r.Top += c->height_;
          break;
        case alBottom:
          c->SetBounds(r.Left, r.Bottom - c->height_, r.Width(), c->height_);
          r.Bottom -= c->height_;
          break;
        case alLeft:
          c->SetBounds(r.Left, r.Top, c->width_, r.Height());
          r.Left += c->width_;
          break;
        case alRight:
          c->SetBounds(r.Right - c->width_, r.Top, c->width_, r.Height());
          r.Right -= c->width_;
          break;
        default:
          c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
          break;
      }
    }
  }
  aligning_ = false;
}

TForm* GetParentForm(const TControl* control) {
  const TControl* c = control;
  while (c && c->GetParent()) c = c->GetParent();
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

}  // namespace platform

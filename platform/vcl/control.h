// TControl (a control at a pixel position inside its parent's client area) and TWinControl
// (a control that holds other controls). Every control is backed by one Qt widget, placed at
// exactly Left/Top/Width/Height; the layer's public headers never show Qt types.
#pragma once

#include <string>
#include <vector>

#include "platform/vcl/colors.h"
#include "platform/vcl/component.h"
#include "platform/vcl/geometry.h"
#include "platform/vcl/graphics.h"
#include "platform/vcl/property.h"

class QWidget;

namespace platform {

class TWinControl;
class TForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* Owner);
  ~TControl() override;
  const char* ClassName() const override { return "TControl"; }

  TWinControl* GetParent() const { return parent_; }
  void SetParent(TWinControl* parent);
  int GetLeft() const { return left_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  int GetTop() const { return top_; }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  int GetWidth() const { return width_; }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  int GetHeight() const { return height_; }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual int GetClientWidth() const { return width_; }
  virtual void SetClientWidth(int v) { SetWidth(v); }
  virtual int GetClientHeight() const { return height_; }
  virtual void SetClientHeight(int v) { SetHeight(v); }
  bool GetVisible() const { return visible_; }
  virtual void SetVisible(bool v);
  bool GetEnabled() const { return enabled_; }
  virtual void SetEnabled(bool v);
  virtual std::string GetCaption() const { return caption_; }
  virtual void SetCaption(const std::string& v);
  std::string GetHint() const { return hint_; }
  void SetHint(const std::string& v);
  bool GetShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  bool GetParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool v);
  TAlign GetAlign() const { return align_; }
  void SetAlign(TAlign v);
  TAnchors GetAnchors() const { return anchors_; }
  void SetAnchors(TAnchors v) { anchors_ = v; }
  TColor GetColor() const { return color_; }
  void SetColor(TColor v);
  bool GetParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  bool GetParentFont() const { return parentFont_; }
  void SetParentFont(bool v);

  Property<TWinControl*, TControl, &TControl::GetParent, &TControl::SetParent> Parent{this};
  Property<int, TControl, &TControl::GetLeft, &TControl::SetLeft> Left{this};
  Property<int, TControl, &TControl::GetTop, &TControl::SetTop> Top{this};
  Property<int, TControl, &TControl::GetWidth, &TControl::SetWidth> Width{this};
  Property<int, TControl, &TControl::GetHeight, &TControl::SetHeight> Height{this};
  Property<int, TControl, &TControl::GetClientWidth, &TControl::SetClientWidth> ClientWidth{this};
  Property<int, TControl, &TControl::GetClientHeight, &TControl::SetClientHeight> ClientHeight{
      this};
  Property<bool, TControl, &TControl::GetVisible, &TControl::SetVisible> Visible{this};
  Property<bool, TControl, &TControl::GetEnabled, &TControl::SetEnabled> Enabled{this};
  Property<std::string, TControl, &TControl::GetCaption, &TControl::SetCaption> Caption{this};
  Property<std::string, TControl, &TControl::GetHint, &TControl::SetHint> Hint{this};
  Property<bool, TControl, &TControl::GetShowHint, &TControl::SetShowHint> ShowHint{this};
  Property<bool, TControl, &TControl::GetParentShowHint, &TControl::SetParentShowHint>
      ParentShowHint{this};
  Property<TAlign, TControl, &TControl::GetAlign, &TControl::SetAlign> Align{this};
  // Kept for the layouts; not applied: controls keep their place when the parent resizes.
  Property<TAnchors, TControl, &TControl::GetAnchors, &TControl::SetAnchors> Anchors{this};
  Property<TColor, TControl, &TControl::GetColor, &TControl::SetColor> Color{this};
  Property<bool, TControl, &TControl::GetParentColor, &TControl::SetParentColor> ParentColor{this};
  Property<bool, TControl, &TControl::GetParentFont, &TControl::SetParentFont> ParentFont{this};
  // Setting any of its members clears ParentFont.
  TFont* const Font;

  virtual void SetBounds(int left, int top, int width, int height);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Paints now (also while the window thread is about to sleep).
  void Repaint();
  void Invalidate();
  void BringToFront();

  // For the layer and its tests: the widget behind the control.
  QWidget* Widget() const { return widget_; }
  // For the layer: the one colour this control shows behind a child whose bounds are area
  // (client coordinates), when it shows just that colour there, with no frame, caption or
  // shading of its own.
  virtual bool BackdropUnder(const TRect& area, TColor* colour) const;

 protected:
  // Takes ownership of the widget; called once by each concrete control's constructor.
  void SetWidget(QWidget* w);
  virtual void ApplyGeometry();
  virtual void ApplyFont();
  virtual void ApplyColor() {}
  virtual void BoundsChanged() {}
  // What lies beneath the control may have changed: a parent's size, place, frame or caption.
  virtual void BackdropChanged() {}
  void UpdateToolTip();
  bool EffectiveShowHint() const;
  void InheritFont(const TFont& font);
  void InheritColor(TColor color);
  void InheritShowHint();
  void RequestRealign();
  // A control paints its own background only where its colour differs from its parent's:
  // Qt's pages are not painted in the parent's colour, so an equal colour must not be filled.
  bool OwnBackground() const;
  // Applies Visible to the widget; children of a parent-less control stay hidden.
  virtual void ApplyVisible();
  // Applies Enabled to the widget: a hidden control is disabled too.
  void ApplyEnabled();

  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  std::string caption_;
  TColor color_ = clBtnFace;

 private:
  friend class TWinControl;
  TWinControl* parent_ = nullptr;
  QWidget* widget_ = nullptr;
  std::string hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TAlign align_ = alNone;
  TAnchors anchors_{akLeft, akTop};
  bool parentColor_ = false;
  bool parentFont_ = true;
  bool inheriting_ = false;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* Owner) : TControl(Owner) {}
  // Destroys the child controls first, as the component library does.
  ~TWinControl() override;
  const char* ClassName() const override { return "TWinControl"; }

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const;
  int TabOrder = -1;
  bool TabStop = false;
  // Qt always paints through a back buffer; kept because the console sets it.
  bool DoubleBuffered = false;

  // Places the aligned children (alTop, alBottom, alLeft, alRight, then alClient) inside the
  // client area, in the order they were added.
  void Realign();
  void AdoptChild(TComponent* child) override;

  // For the layer: the widget children are placed in.
  virtual QWidget* ClientWidget() const { return Widget(); }
  // For the layer: BackdropUnder for child over area, or false where another child lies there
  // too (it may be painted beneath child).
  bool BackdropFor(const TControl* child, const TRect& area, TColor* colour) const;
  // For the layer: the children decide again how to paint their background.
  void BackdropChanged() override;

 protected:
  void ApplyFont() override;
  void ApplyColor() override;
  void BoundsChanged() override;
  virtual void ControlAdded(TControl*) {}
  virtual void ControlRemoved(TControl*) {}
  void PropagateShowHint();

 private:
  friend class TControl;
  // Children that lay over either rectangle, other than moved, decide their background again.
  void ChildMoved(const TControl* moved, const TRect& from, const TRect& to);
  std::vector<TControl*> controls_;
  bool aligning_ = false;
};

// The form a control sits on, or nullptr.
TForm* GetParentForm(const TControl* control);

}  // namespace platform

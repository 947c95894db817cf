// The common controls: labels, buttons, edit boxes, check boxes, radio buttons, group boxes
// and panels. Texts are 8-bit and always shown as plain text, never as markup.
#pragma once

#include <string>

#include "platform/vcl/control.h"
#include "platform/vcl/form.h"

namespace platform {

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TControl {
 public:
  explicit TLabel(TComponent* Owner);
  const char* ClassName() const override { return "TLabel"; }

  void SetCaption(const std::string& v) override;
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TTextLayout GetLayout() const { return layout_; }
  void SetLayout(TTextLayout v);
  bool GetAutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool GetWordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  bool GetTransparent() const { return transparent_; }
  void SetTransparent(bool v);

  Property<TAlignment, TLabel, &TLabel::GetAlignment, &TLabel::SetAlignment> Alignment{this};
  Property<TTextLayout, TLabel, &TLabel::GetLayout, &TLabel::SetLayout> Layout{this};
  // The label takes the size of its text; a right-aligned label keeps its right edge.
  Property<bool, TLabel, &TLabel::GetAutoSize, &TLabel::SetAutoSize> AutoSize{this};
  Property<bool, TLabel, &TLabel::GetWordWrap, &TLabel::SetWordWrap> WordWrap{this};
  Property<bool, TLabel, &TLabel::GetTransparent, &TLabel::SetTransparent> Transparent{this};

  void Loaded() override;

 protected:
  void ApplyGeometry() override;
  void ApplyFont() override;
  void ApplyColor() override;
  void BoundsChanged() override { ApplyColor(); }
  void BackdropChanged() override { ApplyColor(); }

 private:
  void ApplyAlignment();
  void AdjustBounds();
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool transparent_ = false;
};

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* Owner);
  const char* ClassName() const override { return "TButton"; }

  void SetCaption(const std::string& v) override;
  // Non-zero: clicking sets the parent form's ModalResult.
  int ModalResult = 0;
  bool Default = false;
  bool Cancel = false;
  TNotifyEvent OnClick;
  // As if the user clicked: sets the form's ModalResult, then runs OnClick.
  virtual void Click();

  // Draws the button as its window shows it into image (made the button's size).
  void PaintTo(TBitmap& image);
  bool CustomPaint() const { return customPaint_; }

 protected:
  // Descendants that paint over the button switch this on: the window's paint then goes
  // through an image, the style's button first, then PaintWindow on that image's canvas.
  void SetCustomPaint(bool v);
  virtual void PaintWindow(TCanvas* canvas) { (void)canvas; }

 private:
  bool customPaint_ = false;
};

class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* Owner);
  const char* ClassName() const override { return "TEdit"; }

  std::string GetText() const;
  void SetText(const std::string& v);
  bool GetReadOnly() const;
  void SetReadOnly(bool v);
  int GetMaxLength() const { return maxLength_; }
  void SetMaxLength(int v);

  // Setting Text runs OnChange, as typing does.
  Property<std::string, TEdit, &TEdit::GetText, &TEdit::SetText> Text{this};
  Property<bool, TEdit, &TEdit::GetReadOnly, &TEdit::SetReadOnly> ReadOnly{this};
  Property<int, TEdit, &TEdit::GetMaxLength, &TEdit::SetMaxLength> MaxLength{this};
  TNotifyEvent OnChange;

 protected:
  void ApplyColor() override;

 private:
  void Change(bool fromEventLoop);
  int maxLength_ = 0;
};

class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* Owner);
  const char* ClassName() const override { return "TCheckBox"; }

  void SetCaption(const std::string& v) override;
  bool GetChecked() const;
  void SetChecked(bool v);
  // Changing Checked runs OnClick, as a click does.
  Property<bool, TCheckBox, &TCheckBox::GetChecked, &TCheckBox::SetChecked> Checked{this};
  TNotifyEvent OnClick;

 private:
  void Click(bool fromEventLoop);
};

// Radio buttons with the same parent form one group: choosing one unchooses the others.
class TRadioButton : public TWinControl {
 public:
  explicit TRadioButton(TComponent* Owner);
  const char* ClassName() const override { return "TRadioButton"; }

  void SetCaption(const std::string& v) override;
  bool GetChecked() const;
  void SetChecked(bool v);
  // Becoming checked runs OnClick.
  Property<bool, TRadioButton, &TRadioButton::GetChecked, &TRadioButton::SetChecked> Checked{this};
  TNotifyEvent OnClick;

 private:
  void Click(bool fromEventLoop);
};

class TGroupBox : public TWinControl {
 public:
  explicit TGroupBox(TComponent* Owner);
  const char* ClassName() const override { return "TGroupBox"; }
  void SetCaption(const std::string& v) override;
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TWinControl {
 public:
  explicit TPanel(TComponent* Owner);
  const char* ClassName() const override { return "TPanel"; }

  void SetCaption(const std::string& v) override;
  TBevelCut GetBevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  TBevelCut GetBevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);
  int GetBevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v);
  TBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

  Property<TBevelCut, TPanel, &TPanel::GetBevelOuter, &TPanel::SetBevelOuter> BevelOuter{this};
  Property<TBevelCut, TPanel, &TPanel::GetBevelInner, &TPanel::SetBevelInner> BevelInner{this};
  Property<int, TPanel, &TPanel::GetBevelWidth, &TPanel::SetBevelWidth> BevelWidth{this};
  // bsSingle draws a line around the panel; bsNone none.
  Property<TBorderStyle, TPanel, &TPanel::GetBorderStyle, &TPanel::SetBorderStyle> BorderStyle{
      this};
  // Where the caption sits.
  Property<TAlignment, TPanel, &TPanel::GetAlignment, &TPanel::SetAlignment> Alignment{this};

  // Inside its bevel and without a caption, a panel shows its own colour or its parent's.
  bool BackdropUnder(const TRect& area, TColor* colour) const override;

 protected:
  void ApplyColor() override;

 private:
  void ApplyBevel();
  TBevelCut bevelOuter_ = bvRaised;
  TBevelCut bevelInner_ = bvNone;
  int bevelWidth_ = 1;
  TBorderStyle borderStyle_ = bsNone;
  TAlignment alignment_ = taCenter;
};

}  // namespace platform

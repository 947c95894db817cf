// Small controls and routines of the property editors: a button that paints a symbol at its
// right, a colour button, a flat drop-down list, the colour dialog routines and the check box
// painter.
#pragma once

#include <functional>
#include <string>

#include "chart/canvas/geometry.h"
#include "platform/vcl/list_controls.h"
#include "platform/vcl/standard_controls.h"

namespace chart {

class TCanvas3D;

// A push button that paints a symbol at its right after the button itself.
class TPlotButton : public platform::TButton {
 public:
  explicit TPlotButton(platform::TComponent* Owner);
  const char* ClassName() const override { return "TPlotButton"; }

  // Links the button to a colour property of instance, read through get and written through
  // set (empty functions: no property). A null instance leaves the button unlinked.
  void LinkProperty(platform::TObject* instance, std::function<TColor()> get,
                    std::function<void(TColor)> set);
  platform::TObject* LinkedInstance() const { return instance_; }
  // Linked to an instance and a property of it.
  bool Linked() const;

  // Where the symbol goes: a box at the button's right, half its height.
  TRect SymbolRectangle() const;

  void SetCaption(const std::string& v) override;
  void SetEnabled(bool v) override;

 protected:
  // Draws the symbol; nothing here.
  virtual void DrawSymbol(TCanvas3D& canvas);
  void PaintWindow(platform::TCanvas* canvas) override;

  std::function<TColor()> linkedGet_;
  std::function<void(TColor)> linkedSet_;

 private:
  platform::TObject* instance_ = nullptr;
};

using TButtonGetColorProc = std::function<TColor()>;

// A button that shows a colour and edits it in the colour dialog when clicked. The colour is
// the callback's when one is set, else the linked property's, else the button's own.
class TButtonColor : public TPlotButton {
 public:
  explicit TButtonColor(platform::TComponent* Owner);
  const char* ClassName() const override { return "TButtonColor"; }

  TColor GetSymbolColor() const;
  // Writes the linked property when linked, else the button's own colour.
  void SetSymbolColor(TColor color);

  TButtonGetColorProc GetColorProc;

  // The colour dialog on the current colour; when another colour is chosen it is stored, the
  // button repaints and OnClick runs.
  void Click() override;

 protected:
  void DrawSymbol(TCanvas3D& canvas) override;

 private:
  TColor color_ = platform::clBlack;
};

// A drop-down list with a flat look while the mouse is not over it and it has no focus.
class TComboFlat : public platform::TComboBox {
 public:
  explicit TComboFlat(platform::TComponent* Owner);
  const char* ClassName() const override { return "TComboFlat"; }

  int GetDropWidth() const;
  void SetDropWidth(const int& v);
  // The dropped list's width, at least Width.
  platform::Property<int, TComboFlat, &TComboFlat::GetDropWidth, &TComboFlat::SetDropWidth>
      DropDownWidth{this};
  // Written to a layout only when it differs from Width.
  bool IsDropDownWidthStored() const { return GetDropWidth() != width_; }

  // Kept for the layouts; the list's rows take the height of their font.
  int ItemHeight = 13;

  bool MouseInControl() const { return mouseInControl_; }

 protected:
  void PaintWindow(platform::TCanvas* canvas) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void FocusChanged() override;

 private:
  bool mouseInControl_ = false;
};

// The colour dialog owned by owner, starting at color, with the custom colours kept in
// PlotCustomEditColors: the chosen colour (the custom colours stored back), or color when the
// dialog is cancelled.
TColor EditColor(platform::TComponent* owner, TColor color);
// True, with color updated, when the dialog chose a different colour.
bool EditColorDialog(platform::TComponent* owner, TColor& color);

// Paints a 13 x 13 check box (isCheckBox) or radio button at (x, y), marked when checked.
// backColor is not used.
void PlotDrawCheckBox(int x, int y, platform::TCanvas* canvas, bool checked, TColor backColor,
                      bool isCheckBox);

}  // namespace chart

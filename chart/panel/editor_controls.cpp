#include "chart/panel/editor_controls.h"

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/canvas_unit.h"
#include "platform/vcl/color_dialog.h"
#include "platform/vcl/graphics.h"
#include "platform/vcl/system_metrics.h"

namespace chart {

using platform::TCanvas;
using platform::TComponent;

// --- TPlotButton ---

TPlotButton::TPlotButton(TComponent* Owner) : platform::TButton(Owner) {
  SetCustomPaint(true);
}

void TPlotButton::LinkProperty(platform::TObject* instance, std::function<TColor()> get,
                               std::function<void(TColor)> set) {
  instance_ = instance;
  if (!instance) return;
  linkedGet_ = std::move(get);
  linkedSet_ = std::move(set);
  Invalidate();
}

bool TPlotButton::Linked() const {
  return instance_ && linkedGet_ && linkedSet_;
}

TRect TPlotButton::SymbolRectangle() const {
  const int w = width_;
  const int h = height_;
  return TRect{w - 19, h - (h / 4) * 3, w - 6, h - h / 4};
}

void TPlotButton::SetCaption(const std::string& v) {
  platform::TButton::SetCaption(v);
  Invalidate();
}

void TPlotButton::SetEnabled(bool v) {
  platform::TButton::SetEnabled(v);
  Repaint();
}

void TPlotButton::DrawSymbol(TCanvas3D&) {}

void TPlotButton::PaintWindow(TCanvas* canvas) {
  if (!canvas) return;
  TPlotCanvas3D symbolCanvas;
  symbolCanvas.SetCanvas(canvas);
  DrawSymbol(symbolCanvas);
}

// --- TButtonColor ---

TButtonColor::TButtonColor(TComponent* Owner) : TPlotButton(Owner) {}

TColor TButtonColor::GetSymbolColor() const {
  if (GetColorProc) return GetColorProc();
  if (Linked()) return platform::ColorToRGB(linkedGet_());
  return color_;
}

void TButtonColor::SetSymbolColor(TColor color) {
  if (Linked()) {
    linkedSet_(color);
  } else {
    color_ = color;
  }
}

void TButtonColor::Click() {
  TColor color = GetSymbolColor();
  if (!EditColorDialog(this, color)) return;
  SetSymbolColor(color);
  Repaint();
  TPlotButton::Click();
}

void TButtonColor::DrawSymbol(TCanvas3D& canvas) {
  const TColor color = GetSymbolColor();
  canvas.Brush->SetColor(color);
  if (color == platform::clNone) return;
  if (!GetEnabled()) canvas.Pen->SetStyle(platform::psClear);
  canvas.Rectangle(SymbolRectangle());
}

// --- TComboFlat ---

TComboFlat::TComboFlat(TComponent* Owner) : platform::TComboBox(Owner) {
  SetHeight(21);
  SetStyle(platform::csDropDownList);
  SetCustomPaint(true);
}

int TComboFlat::GetDropWidth() const {
  return GetDroppedWidth();
}

void TComboFlat::SetDropWidth(const int& v) {
  SetDroppedWidth(v);
}

void TComboFlat::PaintWindow(TCanvas* canvas) {
  if (!canvas || mouseInControl_ || Focused()) return;
  canvas->Pen->SetColor(platform::clBtnFace);
  canvas->Brush->SetStyle(platform::bsClear);
  TRect r{0, 0, width_, height_};
  canvas->Rectangle(r);
  canvas->Rectangle(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  r.Left = r.Right - platform::GetSystemMetrics(platform::SM_CXSIZE) - 2;
  r.Top += 1;
  r.Bottom -= 1;
  canvas->Pen->SetColor(platform::clWindow);
  canvas->Rectangle(r);
  canvas->MoveTo(r.Right - 2, r.Top);
  canvas->LineTo(r.Right - 2, r.Bottom);
}

void TComboFlat::MouseEnter() {
  platform::TComboBox::MouseEnter();
  mouseInControl_ = true;
  Repaint();
}

void TComboFlat::MouseLeave() {
  platform::TComboBox::MouseLeave();
  mouseInControl_ = false;
  Repaint();
}

void TComboFlat::FocusChanged() {
  platform::TComboBox::FocusChanged();
  mouseInControl_ = false;
  Repaint();
}

// --- Colour dialog ---

TColor EditColor(TComponent* owner, TColor color) {
  platform::TColorDialog dialog(owner);
  dialog.CustomColors = PlotCustomEditColors();
  dialog.Color = color;
  if (!dialog.Execute()) return color;
  PlotCustomEditColors() = dialog.CustomColors;
  return dialog.Color;
}

bool EditColorDialog(TComponent* owner, TColor& color) {
  const TColor chosen = EditColor(owner, color);
  if (chosen == color) return false;
  color = chosen;
  return true;
}

}  // namespace chart

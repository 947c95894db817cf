#include "chart/panel/plot_panel.h"

#include <algorithm>
#include <climits>

#include "chart/canvas/geometry.h"
#include "chart/panel/zoom_panning.h"
#include "platform/gdi/dc.h"
#include "platform/vcl/exception.h"

namespace chart {

bool PlotClipWhenPrinting = true;
bool PlotClipWhenMetafiling = true;
bool PlotEraseBack = false;
bool PrintPlotPanel = false;

namespace {

constexpr auto Sat = platform::SaturatedInt;

// A margin in pixels: as given, or percent of the side (integer division).
long long MarginPixels(int margin, TPlotUnits units, long long side) {
  return units == muPixels ? margin : margin * side / 100;
}

}  // namespace

// --- TPlotEventListeners ---

int TPlotEventListeners::Add(IPlotEventListener* listener) {
  const int i = IndexOf(listener);
  if (i >= 0) return i;
  items_.push_back(listener);
  return Count() - 1;
}

IPlotEventListener* TPlotEventListeners::Get(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)];
}

int TPlotEventListeners::Remove(IPlotEventListener* listener) {
  const int i = IndexOf(listener);
  if (i >= 0) items_.erase(items_.begin() + i);
  return i;
}

int TPlotEventListeners::IndexOf(const IPlotEventListener* listener) const {
  const auto it = std::find(items_.begin(), items_.end(), listener);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

// --- TCustomPlotPanel ---

TCustomPlotPanel::TCustomPlotPanel(platform::TComponent* Owner, platform::TPanelSurface surface)
    : TCustomPanel(Owner, surface) {
  AutoRepaint = false;
  ControlCanvas = GetCanvas();
  view3DOptions_ = std::make_unique<TView3DOptions>([this] { Invalidate(); });
  internalCanvas_ = std::make_unique<TPlotCanvas3D>();
  internalCanvas_->SetCanvas(ControlCanvas);
  SetBounds(GetLeft(), GetTop(), 400, 250);
  SavedCursor = GetCursor();
  panning_ = std::make_unique<TZoomPanning>();
  shadow_ = std::make_unique<TPlotShadow>([this] { CanvasChanged(); });
  border_ = std::make_unique<TChartHiddenPen>([this] { CanvasChanged(); });
  border_->SetEndStyle(esFlat);
  border_->EndStyleDefault = esFlat;
  AutoRepaint = true;
}

TCustomPlotPanel::~TCustomPlotPanel() {
  destroying_ = true;
  AutoRepaint = false;
}

void TCustomPlotPanel::SetBooleanProperty(bool& variable, bool value) {
  if (variable == value) return;
  variable = value;
  Invalidate();
}

void TCustomPlotPanel::SetColorProperty(TColor& variable, TColor value) {
  if (variable == value) return;
  variable = value;
  Invalidate();
}

void TCustomPlotPanel::SetDoubleProperty(double& variable, double value) {
  if (!(variable != value)) return;
  variable = value;
  Invalidate();
}

void TCustomPlotPanel::SetIntegerProperty(int& variable, int value) {
  if (variable == value) return;
  variable = value;
  Invalidate();
}

void TCustomPlotPanel::SetStringProperty(std::string& variable, const std::string& value) {
  if (variable == value) return;
  variable = value;
  Invalidate();
}

void TCustomPlotPanel::Invalidate() {
  if (!AutoRepaint || destroying_) return;
  if (internalCanvas_) internalCanvas_->Invalidate();
  InvalidateWindow();
}

void TCustomPlotPanel::CanvasChanged() {
  Invalidate();
}

TColor TCustomPlotPanel::GetBackColor() {
  return GetColor();
}

TRect TCustomPlotPanel::GetRectangle() {
  if (GetParent() || Headless()) return ClientRect();
  return TRect{0, 0, GetWidth(), GetHeight()};
}

void TCustomPlotPanel::Draw() {
  Draw(ControlCanvas, ClientRect());
  WindowImageChanged();
}

void TCustomPlotPanel::Draw(platform::TCanvas* canvas, const TRect& r) {
  // One painter per image for the whole pass, not one per primitive.
  const platform::gdi::PaintPass pass;
  ++drawCount_;
  exportLayout_ = false;
  ChartBounds = internalCanvas_->InitWindow(canvas, view3DOptions_.get(), GetColor(), view3D_, r);
  try {
    // A see-through panel starts each pass on the window from what its parent shows.
    if (GetColor() == platform::clNone && canvas == ControlCanvas)
      DrawParentBackground(internalCanvas_->PlatformCanvas, ChartBounds);
    if (!FixedChartRect) {
      const long long w = static_cast<long long>(ChartBounds.Right) - ChartBounds.Left;
      const long long h = static_cast<long long>(ChartBounds.Bottom) - ChartBounds.Top;
      long long f = GetBorderWidth();
      if (GetBevelInner() != platform::bvNone) f += GetBevelWidth();
      if (GetBevelOuter() != platform::bvNone) f += GetBevelWidth();
      if (border_->GetVisible()) f += border_->GetWidth();
      ChartRect.Left = Sat(ChartBounds.Left + f + MarginPixels(margins_[0], marginUnits_, w));
      ChartRect.Top = Sat(ChartBounds.Top + f + MarginPixels(margins_[1], marginUnits_, h));
      ChartRect.Right = Sat(ChartBounds.Right - f - MarginPixels(margins_[2], marginUnits_, w));
      ChartRect.Bottom = Sat(ChartBounds.Bottom - f - MarginPixels(margins_[3], marginUnits_, h));
    }
    ReCalcWidthHeight();
    // The whole area to fill: the chart paints the panel's background over it first.
    InternalDraw(ChartBounds);
  } catch (...) {
    // A failed pass leaves the buffer stale and the canvas back on the window.
    internalCanvas_->SetCanvas(ControlCanvas);
    throw;
  }
  internalCanvas_->ShowImage(canvas, ControlCanvas, r);
}

// An exactly empty width (or height) becomes the control's whole width (height), reaching
// past the panel; a negative one becomes one pixel. Both are how stored charts have always
// been laid out.
void TCustomPlotPanel::ReCalcWidthHeight() {
  TRect& r = ChartRect;
  if (!FixedChartRect) {
    r.Left = std::max(r.Left, ChartBounds.Left);
    r.Top = std::max(r.Top, ChartBounds.Top);
    if (r.Right < r.Left) {
      r.Right = Sat(r.Left + 1LL);
    } else if (r.Right == r.Left) {
      r.Right = Sat(static_cast<long long>(r.Left) + GetWidth());
    }
    if (r.Bottom < r.Top) {
      r.Bottom = Sat(r.Top + 1LL);
    } else if (r.Bottom == r.Top) {
      r.Bottom = Sat(static_cast<long long>(r.Top) + GetHeight());
    }
  }
  ChartWidth = Sat(static_cast<long long>(r.Right) - r.Left);
  ChartHeight = Sat(static_cast<long long>(r.Bottom) - r.Top);
  RectCenter(r, ChartXCenter, ChartYCenter);
}

void TCustomPlotPanel::Paint() {
  if (Printing) return;
  if (internalCanvas_->ReDrawBitmap()) return;
  Draw();
}

void TCustomPlotPanel::RestoreWindowLayout() {
  if (exportLayout_ && !Printing) Draw();
}

void TCustomPlotPanel::DrawBevel(platform::TBevelCut bevel, TRect& r, int roundSize, int width) {
  if (bevel == platform::bvNone) return;
  TCanvas3D& c = *internalCanvas_;
  if (roundSize > 0) {
    c.Pen->SetColor(bevel == platform::bvLowered ? platform::clBtnShadow
                                                 : platform::clBtnHighlight);
    c.RoundRect(r, roundSize, roundSize);
    r.Left = Sat(static_cast<long long>(r.Left) + width);
    r.Top = Sat(static_cast<long long>(r.Top) + width);
    r.Right = Sat(static_cast<long long>(r.Right) - width);
    r.Bottom = Sat(static_cast<long long>(r.Bottom) - width);
    return;
  }
  const TColor top =
      bevel == platform::bvLowered ? platform::clBtnShadow : platform::clBtnHighlight;
  const TColor bottom =
      bevel == platform::bvRaised ? platform::clBtnShadow : platform::clBtnHighlight;
  c.Frame3D(r, top, bottom, width);
}

void TCustomPlotPanel::DrawPanelBevels(TRect r) {
  TCanvas3D& c = *internalCanvas_;
  if (!c.Pen || !c.Brush) return;
  c.FrontPlaneBegin();
  c.Brush->SetStyle(platform::bsClear);
  if (border_->GetVisible()) {
    c.AssignVisiblePen(border_.get());
    const bool dots = border_->GetSmallDots();
    int d;
    if (dots) {
      d = 1;
    } else {
      const int t = std::max(border_->GetWidth(), INT_MIN + 1) - 1;
      if (t > 0) {
        const int half = t / 2;
        const int lead = half + (t % 2 != 0 ? 1 : 0);
        r.Left = Sat(static_cast<long long>(r.Left) + lead);
        r.Top = Sat(static_cast<long long>(r.Top) + lead);
        d = half % 2 != 0 ? half - 1 : half;
        r.Right = Sat(static_cast<long long>(r.Right) - d);
        r.Bottom = Sat(static_cast<long long>(r.Bottom) - d);
      } else {
        d = t;
      }
    }
    if (borderRound_ < 1) {
      c.Rectangle(r);
      if (!dots) ++d;
    } else {
      --r.Right;
      --r.Bottom;
      c.RoundRect(r, borderRound_, borderRound_);
    }
    r.Left = Sat(static_cast<long long>(r.Left) + d);
    r.Top = Sat(static_cast<long long>(r.Top) + d);
    r.Right = Sat(static_cast<long long>(r.Right) - d);
    r.Bottom = Sat(static_cast<long long>(r.Bottom) - d);
  }
  if (!Printing || PrintPlotPanel) {
    c.Pen->SetStyle(platform::psSolid);
    c.Pen->SetWidth(1);
    c.Pen->SetMode(platform::pmCopy);
    DrawBevel(GetBevelOuter(), r, borderRound_, GetBevelWidth());
    if (GetBorderWidth() != 0) c.Frame3D(r, GetColor(), GetColor(), GetBorderWidth());
    DrawBevel(GetBevelInner(), r, borderRound_, GetBevelWidth());
  }
  c.FrontPlaneEnd();
}

void TCustomPlotPanel::SetControlRounded() {
  if (applyingRegion_ || !(GetParent() || Headless())) return;
  applyingRegion_ = true;
  SetWindowRound(borderRound_ > 0 ? borderRound_ : 0);
  applyingRegion_ = false;
}

// --- settings ---

void TCustomPlotPanel::SetBorder(const TChartPen* value) {
  if (value) border_->Assign(*value);
}

void TCustomPlotPanel::SetBorderRound(const int& value) {
  if (value == borderRound_) return;
  borderRound_ = value;
  if (!Loading()) SetControlRounded();
  Invalidate();
}

platform::TBorderStyle TCustomPlotPanel::GetBorderStyle() const {
  return border_->GetVisible() ? platform::bsSingle : platform::bsNone;
}

void TCustomPlotPanel::SetTheBorderStyle(platform::TBorderStyle value) {
  border_->SetVisible(value == platform::bsSingle);
}

bool TCustomPlotPanel::GetBufferedDisplay() {
  return internalCanvas_->GetUseBuffer();
}

void TCustomPlotPanel::SetBufferedDisplay(const bool& value) {
  internalCanvas_->SetUseBuffer(value);
}

int TCustomPlotPanel::GetMargin(int index) const {
  return index >= 0 && index < 4 ? margins_[index] : 0;
}

void TCustomPlotPanel::SetMargin(int index, int value) {
  if (index >= 0 && index < 4) SetIntegerProperty(margins_[index], value);
}

void TCustomPlotPanel::SetMarginUnits(const TPlotUnits& value) {
  if (value == marginUnits_) return;
  marginUnits_ = value;
  Invalidate();
}

bool TCustomPlotPanel::GetMonochrome() {
  return internalCanvas_->GetMonochrome();
}

void TCustomPlotPanel::SetMonochrome(const bool& value) {
  internalCanvas_->SetMonochrome(value);
}

void TCustomPlotPanel::SetShadow(const TPlotShadow* value) {
  if (value) shadow_->Assign(value);
}

void TCustomPlotPanel::SetView3D(const bool& value) {
  if (value == view3D_) return;
  SetBooleanProperty(view3D_, value);
  TPlotView3DEvent event;
  BroadcastPlotEvent(event);
}

void TCustomPlotPanel::SetView3DOptions(const TView3DOptions* value) {
  if (value) view3DOptions_->Assign(value);
}

void TCustomPlotPanel::SetInternalCanvas(std::unique_ptr<TCanvas3D> canvas) {
  if (!canvas) return;
  canvas->SetCanvas(ControlCanvas);
  if (internalCanvas_) {
    const bool old = AutoRepaint;
    AutoRepaint = false;
    canvas->Assign(*internalCanvas_);
    AutoRepaint = old;
  }
  internalCanvas_ = std::move(canvas);
  if (AutoRepaint) Repaint();
}

void TCustomPlotPanel::SetBrushCanvas(TColor color, TChartBrush* brush, TColor backColor) {
  if (brush && brush->GetStyle() != platform::bsSolid && color == backColor)
    color = backColor == platform::clBlack ? platform::clWhite : platform::clBlack;
  internalCanvas_->AssignBrushColor(brush, color, backColor);
}

bool TCustomPlotPanel::IsScreenHighColor() {
  if (internalCanvas_->GetSupportsFullRotation()) return true;
  const platform::TCanvas* device =
      internalCanvas_->PlatformCanvas ? internalCanvas_->PlatformCanvas : ControlCanvas;
  return device && device->DeviceBitsPerPixel() >= 15;
}

double TCustomPlotPanel::ScreenRatio(platform::TCanvas* canvas) {
  if (!canvas) return 0;
  const double h = canvas->DeviceHeightMm();
  return h > 0 ? canvas->DeviceWidthMm() / h : 0;
}

void TCustomPlotPanel::EraseBackground() {
  // Answered without erasing: the drawing pass covers the window, and an erase first flickers.
  if (PlotEraseBack) TCustomPanel::EraseBackground();
}

bool TCustomPlotPanel::CanClip() {
  if (internalCanvas_->GetSupportsFullRotation()) return false;
  const bool metafiling = internalCanvas_->Metafiling;
  if (!Printing && !metafiling) return true;
  return (Printing && PlotClipWhenPrinting) || (metafiling && PlotClipWhenMetafiling);
}

// --- listeners and mouse ---

TPlotEvent& TCustomPlotPanel::BroadcastPlotEvent(TPlotEvent& event) {
  if (destroying_) return event;
  event.Sender = this;
  const bool mouse = dynamic_cast<TPlotMouseEvent*>(&event) != nullptr;
  // By index: a listener may remove itself (or others) while it runs.
  for (int i = 0; i < listeners_.Count(); ++i) {
    if (IPlotEventListener* l = listeners_.Get(i)) l->PlotEvent(event);
    if (mouse && CancelMouse) break;
  }
  return event;
}

void TCustomPlotPanel::BroadcastMouseEvent(TPlotMouseEventKind kind, platform::TMouseButton button,
                                           platform::TShiftState shift, int x, int y) {
  if (listeners_.Count() == 0) return;
  TPlotMouseEvent event;
  event.Event = kind;
  event.Button = button;
  event.Shift = shift;
  event.X = x;
  event.Y = y;
  BroadcastPlotEvent(event);
}

void TCustomPlotPanel::RemoveListener(IPlotEventListener* listener) {
  listeners_.Remove(listener);
}

void TCustomPlotPanel::MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x,
                                 int y) {
  RestoreWindowLayout();
  CancelMouse = false;
  TCustomPanel::MouseDown(button, shift, x, y);
  BroadcastMouseEvent(meDown, button, shift, x, y);
}

void TCustomPlotPanel::MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x,
                               int y) {
  RestoreWindowLayout();
  TCustomPanel::MouseUp(button, shift, x, y);
  BroadcastMouseEvent(meUp, button, shift, x, y);
}

void TCustomPlotPanel::MouseMove(platform::TShiftState shift, int x, int y) {
  RestoreWindowLayout();
  CancelMouse = false;
  TCustomPanel::MouseMove(shift, x, y);
  BroadcastMouseEvent(meMove, platform::mbLeft, shift, x, y);
}

void TCustomPlotPanel::DblClick() {
  CancelMouse = false;
  TCustomPanel::DblClick();
  if (CancelMouse) platform::Abort();
}

void TCustomPlotPanel::MouseLeave() {
  SetCursor(SavedCursor);
  panning_->Active = false;
  TCustomPanel::MouseLeave();
}

void TCustomPlotPanel::SysColorChange() {
  Repaint();
}

void TCustomPlotPanel::Resize() {
  TCustomPanel::Resize();
  if (!Loading() && borderRound_ > 0) SetControlRounded();
}

void TCustomPlotPanel::Loaded() {
  TCustomPanel::Loaded();
  SavedCursor = GetCursor();
  if (borderRound_ > 0) SetControlRounded();
}

// --- assignment ---

void TCustomPlotPanel::Assign(const platform::TPersistent* source) {
  const auto* p = dynamic_cast<const TCustomPlotPanel*>(source);
  if (!p) platform::AssignError(source, this);
  if (p == this) return;
  border_->Assign(*p->border_);
  SetBorderRound(p->borderRound_);
  SetBufferedDisplay(p->internalCanvas_->GetUseBuffer());
  PrintMargins = p->PrintMargins;
  SetPrintProportional(p->printProportional_);
  SetPrintResolution(p->printResolution_);
  for (int i = 0; i < 4; ++i) SetMargin(i, p->margins_[i]);
  SetMarginUnits(p->marginUnits_);
  SetMonochrome(p->internalCanvas_->GetMonochrome());
  shadow_->Assign(p->shadow_.get());
  view3D_ = p->view3D_;
  view3DOptions_->Assign(p->view3DOptions_.get());
  SetColor(p->GetColor());
}

void TCustomPlotPanel::AssignTo(platform::TPersistent* dest) {
  if (auto* picture = dynamic_cast<platform::TPicture*>(dest)) {
    const std::unique_ptr<platform::TBitmap> bitmap = PlotCreateBitmap();
    picture->Assign(static_cast<const platform::TGraphic*>(bitmap.get()));
    return;
  }
  if (auto* bitmap = dynamic_cast<platform::TBitmap*>(dest)) {
    const std::unique_ptr<platform::TBitmap> made = PlotCreateBitmap();
    bitmap->Assign(*made);
    return;
  }
  platform::AssignError(this, dest);
}

}  // namespace chart

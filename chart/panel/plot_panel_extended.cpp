#include "chart/panel/plot_panel_extended.h"

#include <algorithm>
#include <climits>

#include "platform/vcl/exception.h"

namespace chart {

namespace {

constexpr auto Sat = platform::SaturatedInt;

}  // namespace

TCustomPlotPanelExtended::TCustomPlotPanelExtended(platform::TComponent* Owner,
                                                   platform::TPanelSurface surface)
    : TCustomPlotPanel(Owner, surface), zoom_(std::make_unique<TPlotZoom>()) {}

TCustomPlotPanelExtended::~TCustomPlotPanelExtended() = default;

void TCustomPlotPanelExtended::SetAllowPanning(const TPanningMode& v) {
  allowPanning_ = v;
}

TBackImage* TCustomPlotPanelExtended::GetBackImage() {
  if (!backImage_) {
    backImage_ = std::make_unique<TBackImage>();
    backImage_->OnChange = [this] { CanvasChanged(); };
  }
  return backImage_.get();
}

bool TCustomPlotPanelExtended::HasBackImage() const {
  return backImage_ && backImage_->Graphic() && !backImage_->Graphic()->Empty();
}

void TCustomPlotPanelExtended::SetBackImage(const platform::TPicture* value) {
  if (!value) {
    if (backImage_) {
      backImage_.reset();
      CanvasChanged();
    }
    return;
  }
  if (value != backImage_.get()) GetBackImage()->Assign(value);
}

bool TCustomPlotPanelExtended::GetBackImageInside() const {
  return backImage_ && backImage_->GetInside();
}

void TCustomPlotPanelExtended::SetBackImageInside(const bool& v) {
  GetBackImage()->SetInside(v);
}

TPlotBackImageMode TCustomPlotPanelExtended::GetBackImageMode() {
  return GetBackImage()->GetMode();
}

void TCustomPlotPanelExtended::SetBackImageMode(const TPlotBackImageMode& v) {
  GetBackImage()->SetMode(v);
}

bool TCustomPlotPanelExtended::GetBackImageTransp() const {
  return HasBackImage() && backImage_->Graphic()->GetTransparent();
}

void TCustomPlotPanelExtended::SetBackImageTransp(const bool& v) {
  if (HasBackImage()) backImage_->Graphic()->SetTransparent(v);
}

std::vector<TColor> TCustomPlotPanelExtended::GetPalette() const {
  if (!backImage_) return {};
  const auto* bitmap = dynamic_cast<const platform::TBitmap*>(backImage_->Graphic());
  return bitmap ? bitmap->GetPalette() : std::vector<TColor>{};
}

TPlotGradient* TCustomPlotPanelExtended::GetGradient() {
  if (!gradient_) gradient_ = std::make_unique<TPlotGradient>([this] { CanvasChanged(); });
  return gradient_.get();
}

void TCustomPlotPanelExtended::SetGradient(const TCustomPlotGradient* value) {
  if (!value) {
    if (gradient_) {
      gradient_.reset();
      CanvasChanged();
    }
    return;
  }
  if (value != gradient_.get()) GetGradient()->Assign(value);
}

void TCustomPlotPanelExtended::SetZoom(const TPlotZoom* value) {
  zoom_->Assign(value);
}

void TCustomPlotPanelExtended::Assign(const platform::TPersistent* source) {
  if (const auto* p = dynamic_cast<const TCustomPlotPanelExtended*>(source); p && p != this) {
    SetBackImage(p->backImage_.get());
    SetGradient(p->gradient_.get());
    allowPanning_ = p->allowPanning_;
    zoom_->Assign(p->zoom_.get());
  }
  TCustomPlotPanel::Assign(source);
}

void TCustomPlotPanelExtended::UndoZoom() {
  if (OnUndoZoom) OnUndoZoom(this);
  Invalidate();
  zoomed_ = false;
}

// --- drawing ---

void TCustomPlotPanelExtended::PanelPaint(TRect r) {
  TCanvas3D& c = *GetCanvas3D();
  if (!c.Brush) return;
  c.FrontPlaneBegin();
  TPlotShadow& shadow = *GetShadow();
  if (shadow.GetSize() > 0) {
    c.Brush->SetStyle(platform::bsSolid);
    c.Brush->SetColor(GetParent() ? GetParent()->GetColor() : GetColor());
    c.FillRect(r);
    // The panel gives up the shadow's room at its right and bottom, whichever way the shadow
    // falls: a negative offset widens the panel past them.
    r.Right = Sat(static_cast<long long>(r.Right) - shadow.GetHorizSize());
    r.Bottom = Sat(static_cast<long long>(r.Bottom) - shadow.GetVertSize());
    shadow.Draw(c, r);
  }
  FillPanelRect(r);
  if (HasBackImage() && !backImage_->GetInside()) DrawBitmap(r, 0);
  DrawPanelBevels(r);
  c.FrontPlaneEnd();
}

void TCustomPlotPanelExtended::FillPanelRect(const TRect& r) {
  TCanvas3D& c = *GetCanvas3D();
  if (!c.Brush) return;
  c.FrontPlaneBegin();
  if (gradient_ && gradient_->GetVisible()) {
    gradient_->Draw(c, r);
  } else if (!(Printing && !PrintPlotPanel) && GetColor() != platform::clNone) {
    c.Brush->SetStyle(platform::bsSolid);
    c.Brush->SetColor(GetColor());
    c.EraseBackground(r);
  }
  c.FrontPlaneEnd();
}

void TCustomPlotPanelExtended::DrawBitmap(TRect r, int z) {
  if (!HasBackImage()) return;
  TCanvas3D& c = *GetCanvas3D();
  const platform::TGraphic* g = backImage_->Graphic();
  const bool ortho = GetView3DOptions()->GetOrthogonal();
  if (backImage_->GetMode() == pbmStretch) {
    if (z < 1) {
      c.StretchDraw(r, g);
    } else if (ortho) {
      c.StretchDraw(c.CalcRect3D(r, z), g);
    } else {
      c.StretchDraw(r, g, z);
    }
    return;
  }
  const bool clip = CanClip();
  if (clip) {
    if (z == 0) {
      c.ClipRectangle(r);
    } else {
      c.ClipCube(r, 0, Depth3D);
    }
  }
  if (z > 0 && ortho) {
    r = c.CalcRect3D(r, z);
    if (!GetView3D()) r.Top = Sat(r.Top + 1LL);
  }
  const long long W = static_cast<long long>(r.Right) - r.Left;
  const long long H = static_cast<long long>(r.Bottom) - r.Top;
  const long long w = g->GetWidth();
  const long long h = g->GetHeight();
  const bool stretch3D = z >= 1 && !ortho;
  switch (backImage_->GetMode()) {
    case pbmTile: {
      if (w <= 0 || h <= 0) break;
      // Only the tiles that reach the drawing surface: a huge rectangle costs no more than the
      // surface does.
      TRect surface = c.Bounds;
      if (surface.Right <= surface.Left || surface.Bottom <= surface.Top)
        surface = TRect{0, 0, GetWidth(), GetHeight()};
      const long long x0 = std::max(0LL, static_cast<long long>(surface.Left) - r.Left) / w * w;
      const long long y0 = std::max(0LL, static_cast<long long>(surface.Top) - r.Top) / h * h;
      const long long xEnd = std::min(W, static_cast<long long>(surface.Right) - r.Left);
      const long long yEnd = std::min(H, static_cast<long long>(surface.Bottom) - r.Top);
      for (long long y = y0; y < yEnd; y += h) {
        for (long long x = x0; x < xEnd; x += w) {
          const int left = Sat(r.Left + x);
          const int top = Sat(r.Top + y);
          if (z > 0 && !ortho) {
            c.StretchDraw(TRect{left, top, Sat(left + w), Sat(top + h)}, g, z);
          } else {
            c.Draw(left, top, g);
          }
        }
      }
      break;
    }
    case pbmCenter:
    case pbmCustom: {
      FillPanelRect(r);
      TRect target;
      if (backImage_->GetMode() == pbmCustom) {
        target.Left = Sat(static_cast<long long>(r.Left) + backImage_->GetLeft());
        target.Top = Sat(static_cast<long long>(r.Top) + backImage_->GetTop());
        target.Right = Sat(target.Left + w);
        target.Bottom = Sat(target.Top + h);
      } else {
        const long long dx = (w - W) / 2;
        const long long dy = (h - H) / 2;
        target = TRect{Sat(r.Left - dx), Sat(r.Top - dy), Sat(r.Right + dx), Sat(r.Bottom + dy)};
      }
      if (stretch3D) {
        c.StretchDraw(target, g, z);
      } else {
        c.Draw(target.Left, target.Top, g);
      }
      break;
    }
    default:
      break;
  }
  if (clip) c.UnClipRectangle();
}

void TCustomPlotPanelExtended::DrawZoomRectangle() {
  TCanvas3D& c = *GetCanvas3D();
  if (!c.Brush || !c.Pen) return;
  const TColor back = platform::ColorToRGB(GetBackColor()) & 0xFFFFFF;
  const TColor invert = 0xFFFFFF - back;
  TPlotZoom& zoom = *zoom_;
  if (zoom.HasBrush()) {
    TPlotZoomBrush* brush = zoom.GetBrush();
    SetBrushCanvas((platform::ColorToRGB(brush->GetColor()) & 0xFFFFFF) ^ invert, brush, back);
  } else {
    c.Brush->SetStyle(platform::bsClear);
  }
  TPlotZoomPen* pen = zoom.GetPen();
  // The pen keeps the inverting mode afterwards: it is only ever drawn this way.
  pen->SetMode(platform::pmNotXor);
  c.AssignVisiblePenColor(pen, (platform::ColorToRGB(pen->GetColor()) & 0xFFFFFF) ^ invert);
  if (!zoom.HasBrush() || zoom.GetBrush()->GetStyle() == platform::bsClear)
    c.SetBackMode(cbmTransparent);
  c.Rectangle(zoom.X0, zoom.Y0, zoom.X1, zoom.Y1);
  WindowImageChanged();
}

// --- legacy layout properties ---

bool TCustomPlotPanelExtended::ReadLegacyZoomProperty(const std::string& name,
                                                      const platform::TLayoutValue& value) {
  if (name == "AllowZoom") {
    zoom_->Allow = value.AsBoolean();
  } else if (name == "AnimatedZoom") {
    zoom_->Animated = value.AsBoolean();
  } else if (name == "AnimatedZoomSteps") {
    zoom_->AnimatedSteps = value.AsInteger();
  } else {
    return false;
  }
  return true;
}

void TCustomPlotPanelExtended::ReadPrintMargins(const platform::TLayoutValue& value) {
  const auto& list = value.AsList();
  if (list.size() != 4) throw platform::EReadError("PrintMargins needs four integers");
  PrintMargins =
      TRect{list[0].AsInteger(), list[1].AsInteger(), list[2].AsInteger(), list[3].AsInteger()};
}

bool TCustomPlotPanelExtended::IsPrintMarginsStored() const {
  return PrintMargins.Left != 15 || PrintMargins.Top != 15 || PrintMargins.Right != 15 ||
         PrintMargins.Bottom != 15;
}

}  // namespace chart

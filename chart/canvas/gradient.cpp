#include "chart/canvas/gradient.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "chart/canvas/canvas_unit.h"
#include "platform/gdi/dc.h"
#include "platform/vcl/graphics.h"

namespace chart {

namespace {

// Grey of the colour's components, for monochrome canvases.
TColor GreyOf(TColor color) {
  const TColor c = platform::ColorToRGB(color);
  const int g = (platform::GetRValue(c) + platform::GetGValue(c) + platform::GetBValue(c)) / 3;
  return platform::RGB(g, g, g);
}

TColor CanvasColor(TPlotCanvas& canvas, TColor color) {
  return canvas.GetMonochrome() ? GreyOf(color) : color;
}

int ClampByte(int v) {
  return std::clamp(v, 0, 255);
}

// Restores pen style and brush however the radial fill ends.
class PenBrushGuard {
 public:
  explicit PenBrushGuard(TPlotCanvas& canvas) : canvas_(canvas) {
    if (canvas_.Pen) penStyle_ = canvas_.Pen->GetStyle();
    if (canvas_.Brush) {
      color_ = canvas_.Brush->GetColor();
      brushStyle_ = canvas_.Brush->GetStyle();
    }
  }
  ~PenBrushGuard() {
    if (canvas_.Pen) canvas_.Pen->SetStyle(penStyle_);
    if (canvas_.Brush) {
      canvas_.Brush->SetColor(color_);
      canvas_.Brush->SetStyle(brushStyle_);
    }
  }
  PenBrushGuard(const PenBrushGuard&) = delete;
  PenBrushGuard& operator=(const PenBrushGuard&) = delete;

 private:
  TPlotCanvas& canvas_;
  platform::TPenStyle penStyle_ = platform::psSolid;
  TColor color_ = platform::clWhite;
  platform::TBrushStyle brushStyle_ = platform::bsSolid;
};

class UnClipGuard {
 public:
  explicit UnClipGuard(TPlotCanvas& canvas) : canvas_(canvas) {}
  ~UnClipGuard() { canvas_.UnClipRectangle(); }
  UnClipGuard(const UnClipGuard&) = delete;
  UnClipGuard& operator=(const UnClipGuard&) = delete;

 private:
  TPlotCanvas& canvas_;
};

}  // namespace

TCustomPlotGradient::TCustomPlotGradient(std::function<void()> onChange)
    : onChange_(std::move(onChange)) {}

TCustomPlotGradient::~TCustomPlotGradient() = default;

void TCustomPlotGradient::Changed() {
  if (onChange_) onChange_();
}

void TCustomPlotGradient::Assign(const platform::TPersistent* source) {
  const auto* g = dynamic_cast<const TCustomPlotGradient*>(source);
  if (!g || g == this) return;
  balance_ = g->balance_;
  direction_ = g->direction_;
  endColor_ = g->endColor_;
  midColor_ = g->midColor_;
  radialX_ = g->radialX_;
  radialY_ = g->radialY_;
  startColor_ = g->startColor_;
  visible_ = g->visible_;
  hasMiddle_ = g->hasMiddle_;
  Changed();
}

void TCustomPlotGradient::SetBalance(const int& v) {
  if (v == balance_) return;
  balance_ = v;
  Changed();
}
void TCustomPlotGradient::SetDirection(const TGradientDirection& v) {
  if (v == direction_) return;
  direction_ = v;
  Changed();
}
void TCustomPlotGradient::SetEndColor(const TColor& v) {
  if (v == endColor_) return;
  endColor_ = v;
  Changed();
}
void TCustomPlotGradient::SetRadialX(const int& v) {
  if (v == radialX_) return;
  radialX_ = v;
  Changed();
}
void TCustomPlotGradient::SetRadialY(const int& v) {
  if (v == radialY_) return;
  radialY_ = v;
  Changed();
}
void TCustomPlotGradient::SetStartColor(const TColor& v) {
  if (v == startColor_) return;
  startColor_ = v;
  Changed();
}
void TCustomPlotGradient::SetVisible(const bool& v) {
  if (v == visible_) return;
  visible_ = v;
  Changed();
}

TColor TCustomPlotGradient::GetMidColor() const {
  return hasMiddle_ ? midColor_ : platform::clNone;
}

void TCustomPlotGradient::SetMidColor(const TColor& v) {
  if (hasMiddle_) {
    if (v == platform::clNone) {
      hasMiddle_ = false;
      Changed();
    } else if (v != midColor_) {
      midColor_ = v;
      Changed();
    }
  } else if (v != platform::clNone) {
    hasMiddle_ = true;
    midColor_ = v;
    Changed();
  }
}

void TCustomPlotGradient::UseMiddleColor() {
  if (hasMiddle_) return;
  hasMiddle_ = true;
  Changed();
}

void TCustomPlotGradient::Draw(TPlotCanvas& canvas, const TRect& r, int roundSize) {
  const TColor start = CanvasColor(canvas, startColor_);
  const TColor mid = CanvasColor(canvas, midColor_);
  const TColor end = CanvasColor(canvas, endColor_);
  std::unique_ptr<UnClipGuard> unclip;
  if (roundSize > 0) {
    canvas.ClipRectangle(r, roundSize);
    unclip = std::make_unique<UnClipGuard>(canvas);
  }
  if (direction_ == gdRadial) {
    DrawRadial(canvas, r);
    return;
  }
  if (hasMiddle_ && direction_ != gdDiagonalUp && direction_ != gdDiagonalDown) {
    const int midY = static_cast<int>((static_cast<long long>(r.Top) + r.Bottom) / 2);
    const int midX = static_cast<int>((static_cast<long long>(r.Left) + r.Right) / 2);
    const TRect upper{r.Left, r.Top, r.Right, midY};
    const TRect lower{r.Left, midY, r.Right, r.Bottom};
    const TRect left{r.Left, r.Top, midX, r.Bottom};
    const TRect right{midX, r.Top, r.Right, r.Bottom};
    switch (direction_) {
      case gdTopBottom:
        canvas.GradientFill(upper, mid, end, direction_, 50);
        canvas.GradientFill(lower, start, mid, direction_, 50);
        return;
      case gdBottomTop:
        canvas.GradientFill(upper, start, mid, direction_, 50);
        canvas.GradientFill(lower, mid, end, direction_, 50);
        return;
      case gdLeftRight:
        canvas.GradientFill(left, mid, end, direction_, 50);
        canvas.GradientFill(right, start, mid, direction_, 50);
        return;
      case gdRightLeft:
        canvas.GradientFill(left, start, mid, direction_, 50);
        canvas.GradientFill(right, mid, end, direction_, 50);
        return;
      default:
        canvas.GradientFill(r, start, end, direction_, 50);
        return;
    }
  }
  canvas.GradientFill(r, start, end, direction_, balance_);
}

void TCustomPlotGradient::Draw(TPlotCanvas& canvas, const TFourPoints& p) {
  canvas.ClipPolygon(p);
  UnClipGuard unclip(canvas);
  Draw(canvas, PolygonBounds(p.data(), 3), 0);
}

void TCustomPlotGradient::Draw(TCanvas3D& canvas, const TFourPoints& p, int z) {
  TFourPoints q;
  for (std::size_t i = 0; i < p.size(); ++i) q[i] = canvas.Calculate3DPosition(p[i], z);
  Draw(static_cast<TPlotCanvas&>(canvas), q);
}

void TCustomPlotGradient::Draw(TCanvas3D& canvas, std::span<const TPoint> points, int z,
                               bool is3D) {
  if (points.empty()) return;
  const TRect bounds = PolygonBounds(points.data(), static_cast<int>(points.size()) - 1);
  TRect r = bounds;
  if (is3D) {
    std::vector<TPoint> projected(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
      projected[i] = canvas.Calculate3DPosition(points[i], z);
    canvas.ClipPolygon(projected);
    r = canvas.CalcRect3D(bounds, z);
  } else {
    canvas.ClipPolygon(points);
  }
  UnClipGuard unclip(canvas);
  Draw(static_cast<TPlotCanvas&>(canvas), r, 0);
}

void TCustomPlotGradient::DrawRadial(TPlotCanvas& canvas, const TRect& rect) {
  const TRect r = OrientRectangle(rect);
  // Widths of huge rectangles overflow int; such a fill is as empty as a zero-size one.
  const long long w = static_cast<long long>(r.Right) - r.Left;
  const long long h = static_cast<long long>(r.Bottom) - r.Top;
  if (w <= 0 || h <= 0 || w > 1 << 24 || h > 1 << 24) return;
  canvas.ClipRectangle(r);
  UnClipGuard unclip(canvas);

  const int n = static_cast<int>(std::min<long long>(255, std::max(w, h)));
  const long double hx = w * 0.5L / n;
  const long double hy = h * 0.5L / n;
  const TColor start = platform::ColorToRGB(CanvasColor(canvas, startColor_));
  const TColor end = platform::ColorToRGB(CanvasColor(canvas, endColor_));
  const int sR = platform::GetRValue(start), sG = platform::GetGValue(start),
            sB = platform::GetBValue(start);
  const int difR = platform::GetRValue(end) - sR, difG = platform::GetGValue(end) - sG,
            difB = platform::GetBValue(end) - sB;
  const bool even = balance_ == 50;
  const long double dR = even ? static_cast<long double>(difR) / n : difR;
  const long double dG = even ? static_cast<long double>(difG) / n : difG;
  const long double dB = even ? static_cast<long double>(difB) / n : difB;

  PenBrushGuard restore(canvas);
  if (canvas.Pen) canvas.Pen->SetStyle(platform::psClear);
  if (canvas.Brush) {
    canvas.Brush->SetStyle(platform::bsSolid);
    canvas.Brush->SetColor(end);
  }
  canvas.FillRect(r);

  const int m = (w % 2 != 0 || h % 2 != 0) ? n - 1 : n;
  const long double cx = (radialX_ + 1.0L) + (static_cast<long double>(r.Left) + r.Right) * 0.5L;
  const long double cy = (radialY_ + 1.0L) + (static_cast<long double>(r.Top) + r.Bottom) * 0.5L;
  const long double power = balance_ * 0.015L + 0.5L;

  platform::gdi::Dc* dc = nullptr;
  if (PlotSetDCBrushColor) {
    dc = canvas.GetHandle();
    if (dc) dc->SelectDcBrush();
  }
  for (int i = m; i >= 0; --i) {
    int cr, cg, cb;
    if (even) {
      cr = sR + Round(i * dR);
      cg = sG + Round(i * dG);
      cb = sB + Round(i * dB);
    } else {
      const long double f = std::pow((i + 1.0L) / (m + 1.0L), power);
      cr = sR + Round(f * dR);
      cg = sG + Round(f * dG);
      cb = sB + Round(f * dB);
    }
    const TColor color = platform::RGB(ClampByte(cr), ClampByte(cg), ClampByte(cb));
    const int x0 = Round(cx - i * hx), y0 = Round(cy - i * hy);
    const int x1 = Round(cx + i * hx), y1 = Round(cy + i * hy);
    if (dc) {
      dc->SetDCBrushColor(color);
      dc->Ellipse(x0, y0, x1, y1);
    } else {
      if (canvas.Brush) canvas.Brush->SetColor(color);
      canvas.Ellipse(x0, y0, x1, y1);
    }
  }
}

}  // namespace chart

// Line, area and point series drawing: the shadow and outline passes, segments as lines, stairs,
// 3D ribbons and bands, the area under each segment, and the pointers over them.
#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <utility>

#include "chart/canvas/blend.h"
#include "chart/canvas/canvas3d.h"
#include "chart/canvas/geometry.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"
#include "chart/series/line_series.h"

namespace chart {

namespace {

constexpr auto Sat = platform::SaturatedInt;

TCanvas3D* CanvasOf(const TCustomAxisPanel* chart) {
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  return canvas && canvas->Pen && canvas->Brush ? canvas : nullptr;
}

// An axis moved by delta pixels for a scope.
class AxisShift {
 public:
  AxisShift(TChartAxis* axis, int delta) : axis_(axis) {
    if (!axis_) return;
    saved_ = axis_->PixelSpan();
    auto move = [delta](int v) { return PlotClampPixel(static_cast<long double>(v) + delta); };
    axis_->SetPixelSpan({move(saved_.Start), move(saved_.End), move(saved_.Center)});
  }
  ~AxisShift() {
    if (axis_) axis_->SetPixelSpan(saved_);
  }
  AxisShift(const AxisShift&) = delete;
  AxisShift& operator=(const AxisShift&) = delete;

 private:
  TChartAxis* axis_;
  TChartAxis::TPixelSpan saved_{};
};

// A value for a scope.
template <class T>
class Keep {
 public:
  Keep(T& variable, T value) : variable_(variable), saved_(std::exchange(variable, value)) {}
  ~Keep() { variable_ = saved_; }
  Keep(const Keep&) = delete;
  Keep& operator=(const Keep&) = delete;

 private:
  T& variable_;
  T saved_;
};

}  // namespace

// ---- Passes ------------------------------------------------------------------------------------

void TCustomSeries::DrawAllValues() {
  if (shadow_->GetHorizSize() != 0 || shadow_->GetVertSize() != 0) {
    AxisShift h(GetHorizAxisObj(), shadow_->GetHorizSize());
    AxisShift v(GetVertAxisObj(), shadow_->GetVertSize());
    Keep<TColor> color(passColor_, shadow_->GetColor());
    Keep<bool> pointers(hidePointers_, true);
    TCustomLineSeries::DrawAllValues();
  }
  if (outLine_->GetVisible()) {
    // The line pen is changed for this pass only: no repaint for it.
    TChartPen* pen = GetPen();
    TChartPen saved;
    saved.Assign(*pen);
    Keep<std::function<void()>> quiet(pen->OnChange, {});
    struct PutBack {
      TChartPen* pen;
      const TChartPen& saved;
      ~PutBack() { pen->Assign(saved); }
    } putBack{pen, saved};
    const long long width = 2LL * pen->GetWidth() + outLine_->GetWidth() + 1;
    pen->Assign(*outLine_);
    pen->SetWidth(PlotClampPixel(static_cast<long double>(std::max(0LL, width))));
    Keep<TColor> color(passColor_, outLine_->GetColor());
    TCustomLineSeries::DrawAllValues();
  }
  TCustomLineSeries::DrawAllValues();
}

TColor TCustomSeries::PassSeriesColor() const {
  return passColor_ != platform::clNone ? passColor_ : GetSeriesColor();
}

TColor TCustomSeries::AreaColorOf(TColor pointColor) const {
  if (passColor_ != platform::clNone || areaColor_ == platform::clDefault || GetColorEachPoint())
    return pointColor;
  return areaColor_;
}

// ---- One point ---------------------------------------------------------------------------------

void TCustomSeries::DrawValue(int valueIndex) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = CanvasOf(chart);
  if (!canvas || valueIndex < 0 || valueIndex >= Count()) return;
  auto colorOf = [this](int i) {
    const TColor c = GetValueColor(i);
    return passColor_ != platform::clNone && c != platform::clNone ? passColor_ : c;
  };
  const int x = CalcXPos(valueIndex);
  const int y = CalcYPos(valueIndex);
  const TColor color = colorOf(valueIndex);
  canvas->Pen->SetColor(platform::clBlack);
  if (color != platform::clNone) canvas->Brush->SetColor(color);
  CurrentBottom = GetOriginPos(valueIndex);
  const bool forward = DrawValuesForward();
  const bool isLast = valueIndex == (forward ? LastVisible : FirstVisible);
  const int before = forward ? valueIndex - 1 : valueIndex + 1;
  if (valueIndex == FirstDisplayedIndex() || prevIndex_ != before) {
    PrevX = x;
    PrevY = y;
    PrevBottom = CurrentBottom;
    PrevColor = platform::clNone;
    if (dark3D_) {
      const int w = chart->Width3D();
      SlopeLimit = w == 0 ? 1.0 : std::fabs(static_cast<double>(chart->Height3D()) / w);
    }
    if (valueIndex == FirstVisible && valueIndex > 0) {
      // The segment coming in from the point before the visible range.
      const int p = valueIndex - 1;
      PrevColor = colorOf(p);
      if (drawArea_) {
        PrevX = CalcXPos(p);
        PrevY = CalcYPos(p);
        PrevBottom = GetOriginPos(p);
      } else {
        StartAtEdge(p, x, y);
      }
      prevIndex_ = p;
      if (PrevColor != platform::clNone) DrawSegment(valueIndex, x, y, color, isLast, false);
    }
    if (isLast && color != platform::clNone) DrawPointer(x, y, color, valueIndex);
    if (chart->GetView3D() && drawArea_ && canvas->GetSupportsFullRotation()) {
      if (YIsValue())
        canvas->RectangleZ(x, y, CurrentBottom, StartZ, EndZ);
      else
        canvas->RectangleY(x, y, CurrentBottom, StartZ, EndZ);
    }
  } else {
    DrawSegment(valueIndex, x, y, color, isLast, true);
  }
  PrevX = x;
  PrevY = y;
  PrevBottom = CurrentBottom;
  PrevColor = color;
  prevIndex_ = valueIndex;
}

void TCustomSeries::StartAtEdge(int prev, int x, int y) {
  TCustomAxisPanel* chart = GetParentChart();
  const TRect& r = chart->ChartRect;
  const int px = CalcXPos(prev);
  const int py = CalcYPos(prev);
  // Along the position axis from (a0, b0) to (a1, b1): b at the edge pixel.
  auto at = [](int edge, int a0, int b0, int a1, int b1) {
    if (a1 == a0) return b0;
    const long double t =
        (static_cast<long double>(edge) - a0) / (static_cast<long double>(a1) - a0);
    return PlotClampPixel(b0 + t * (static_cast<long double>(b1) - b0));
  };
  if (YIsValue()) {
    const TChartAxis* axis = GetHorizAxisObj();
    PrevX = axis && axis->GetInverted() ? r.Right : r.Left;
    PrevY = stairs_ ? py : at(PrevX, px, py, x, y);
  } else {
    const TChartAxis* axis = GetVertAxisObj();
    PrevY = axis && axis->GetInverted() ? r.Top : r.Bottom;
    PrevX = stairs_ ? px : at(PrevY, py, px, y, x);
  }
  PrevBottom = GetOriginPos(prev);
}

void TCustomSeries::DrawSegment(int valueIndex, int x, int y, TColor color, bool isLast,
                                bool withPointers) {
  TCustomAxisPanel* chart = GetParentChart();
  if (!CanvasOf(chart)) return;
  const bool moved = x != PrevX || y != PrevY;
  // Nothing joins a null point, in or out.
  if (moved && color != platform::clNone && PrevColor != platform::clNone) {
    const bool is3D = chart->GetView3D();
    if (is3D && (JoinPoints || drawArea_)) DrawLine3D(x, y, color, isLast);
    if (drawArea_)
      DrawAreaSegment(valueIndex, x, y, color, isLast);
    else if (!is3D && JoinPoints)
      DrawLine2D(x, y, color);
  }
  // Pointers lie over the lines; a point that did not move still shows its pointer.
  if (!withPointers) return;
  if (PrevColor != platform::clNone) DrawPointer(PrevX, PrevY, PrevColor, prevIndex_);
  if (isLast && color != platform::clNone) DrawPointer(x, y, color, valueIndex);
}

void TCustomSeries::DrawPointer(int x, int y, TColor color, int valueIndex) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = CanvasOf(chart);
  if (!canvas || hidePointers_ || !pointer_->GetVisible()) return;
  PreparePointer(valueIndex);
  pointer_->PrepareCanvas(canvas, color);
  const TSeriesPointerStyle style =
      OnGetPointerStyle ? OnGetPointerStyle(this, valueIndex) : pointer_->GetStyle();
  pointer_->Draw(x, y, color, style);
}

// ---- Lines -------------------------------------------------------------------------------------

void TCustomSeries::DrawLine3D(int x, int y, TColor color, bool isLast) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = CanvasOf(chart);
  canvas->AssignVisiblePen(GetPen());
  const TColor fill = colorEachLine_ || drawArea_ ? AreaColorOf(color) : PassSeriesColor();
  TChartBrush* brush = GetBrush();
  const TColor back =
      brush->GetColor() == platform::clDefault ? chart->GetColor() : brush->GetColor();
  auto applyBrush = [&] { chart->SetBrushCanvas(fill, brush, back); };
  applyBrush();
  // A monochrome canvas fills white: nothing darker.
  const bool canDark = dark3D_ && !canvas->GetMonochrome();
  auto darkened = [&](const std::function<void()>& face) {
    if (canDark) canvas->InternalDark(canvas->Brush->GetColor(), DarkColorQuantity);
    face();
    if (canDark) applyBrush();
  };
  const int z0 = StartZ, z1 = EndZ;
  if (stairs_) {
    const bool vertical = YIsValue();
    auto flat = [&](int left, int level, int right) {
      canvas->RectangleY(left, level, right, z0, z1);
    };
    auto upright = [&](int at, int a, int b) { canvas->RectangleZ(at, a, b, z0, z1); };
    if (vertical && !invertedStairs_) {
      flat(PrevX, PrevY, x);
      darkened([&] { upright(x, y, PrevY); });
    } else if (vertical) {
      darkened([&] { upright(PrevX, PrevY, y); });
      flat(x, y, PrevX);
    } else if (!invertedStairs_) {
      upright(PrevX, PrevY, y);
      darkened([&] { flat(PrevX, y, x); });
    } else {
      darkened([&] { flat(PrevX, PrevY, x); });
      upright(x, y, PrevY);
    }
    return;
  }
  const bool band = lineHeight_ > 0 && !drawArea_;
  if (band) {
    TFourPoints p{TPoint{x, y}, TPoint{PrevX, PrevY},
                  TPoint{PrevX, Sat(static_cast<long long>(PrevY) + lineHeight_)},
                  TPoint{x, Sat(static_cast<long long>(y) + lineHeight_)}};
    canvas->PlaneFour3D(p, z0, z0);
    if (isLast) canvas->RectangleZ(x, y, Sat(static_cast<long long>(y) + lineHeight_), z0, z1);
  }
  // A segment rising steeper than the depth direction shows its underside.
  const bool steep =
      canDark && !canvas->GetSupportsFullRotation() && x != PrevX && SlopeLimit != 0 &&
      (static_cast<double>(PrevY) - y) / (static_cast<double>(x) - PrevX) > SlopeLimit;
  const long long drop = steep && band ? lineHeight_ : 0;
  auto plane = [&] {
    canvas->Plane3D(TPoint{x, Sat(y + drop)}, TPoint{PrevX, Sat(PrevY + drop)}, z0, z1);
  };
  if (steep)
    darkened(plane);
  else
    plane();
}

void TCustomSeries::DrawLine2D(int x, int y, TColor color) {
  TCanvas3D* canvas = CanvasOf(GetParentChart());
  const TColor lineColor = GetColorEachPoint() && colorEachLine_ ? color : PassSeriesColor();
  canvas->AssignVisiblePenColor(GetPen(), lineColor);
  canvas->Brush->SetStyle(platform::bsClear);
  if (!stairs_) {
    canvas->Line(PrevX, PrevY, x, y);
    return;
  }
  // Runs along the position axis first, rises first when inverted (mirrored when horizontal).
  const bool runFirst = YIsValue() != invertedStairs_;
  canvas->MoveTo(PrevX, PrevY);
  if (runFirst)
    canvas->LineTo(x, PrevY);
  else
    canvas->LineTo(PrevX, y);
  canvas->LineTo(x, y);
}

// ---- Areas -------------------------------------------------------------------------------------

void TCustomSeries::DrawAreaSegment(int /*valueIndex*/, int x, int y, TColor color, bool isLast) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = CanvasOf(chart);
  if (!canvas) return;
  if (areaLinesPen_->GetVisible() && areaLinesPen_->GetColor() != platform::clDefault)
    canvas->AssignVisiblePen(areaLinesPen_.get());
  else
    canvas->AssignVisiblePenColor(areaLinesPen_.get(), color);
  TColor back = areaBrush_->GetColor();
  if (back == platform::clDefault) back = PassSeriesColor();
  const platform::TPicture* image = areaBrush_->ImageIfAny();
  if (image && image->Graphic() && !image->Graphic()->Empty() && back == color)
    back = platform::clWhite;
  chart->SetBrushCanvas(AreaColorOf(color), areaBrush_.get(), back);
  if (chart->GetView3D() && isLast) {
    if (YIsValue())
      canvas->RectangleZ(x, y, CurrentBottom, StartZ, EndZ);
    else
      canvas->RectangleY(x, y, CurrentBottom, StartZ, EndZ);
  }
  if (stairs_)
    DrawAreaStairs(x, y);
  else
    DrawAreaPolygon(x, y);
}

void TCustomSeries::DrawAreaStairs(int x, int y) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = CanvasOf(chart);
  const bool vertical = YIsValue();
  const bool is3D = chart->GetView3D();
  const int z0 = StartZ, z1 = EndZ;
  TRect r;
  if (vertical) {
    const int level = invertedStairs_ ? y : PrevY;
    const int origin = invertedStairs_ ? CurrentBottom : PrevBottom;
    r = TRect{PrevX, level, Sat(x + 1LL), origin};
  } else {
    const int level = invertedStairs_ ? x : PrevX;
    const int origin = invertedStairs_ ? CurrentBottom : PrevBottom;
    r = TRect{origin, PrevY, level, Sat(y + 1LL)};
  }
  std::unique_ptr<TPlotBlend> blend;
  if (transparency_ != 0)
    blend =
        canvas->BeginBlending(OrientRectangle(is3D ? canvas->CalcRect3D(r, z0) : r), transparency_);
  TCustomPlotGradient* gradient = GetGradientObject();
  if (is3D) {
    canvas->RectangleWithZ(r, z0);
    if (canvas->GetSupportsFullRotation()) canvas->RectangleWithZ(r, z1);
  } else if (gradient && gradient->GetVisible()) {
    gradient->Draw(*canvas, OrientRectangle(r));
    if (canvas->Pen->GetStyle() != platform::psClear) {
      canvas->Brush->SetStyle(platform::bsClear);
      canvas->Rectangle(r);
    }
  } else {
    canvas->Rectangle(r);
  }
  if (blend) canvas->EndBlending(std::move(blend));
  if (!GetPen()->GetVisible() || areaLinesPen_->GetVisible()) return;
  canvas->AssignVisiblePen(GetPen());
  const bool runFirst = vertical != invertedStairs_;
  const TPoint corner = runFirst ? TPoint{x, PrevY} : TPoint{PrevX, y};
  canvas->LineWithZ(PrevX, PrevY, corner.X, corner.Y, z0);
  canvas->LineWithZ(corner.X, corner.Y, x, y, z0);
}

void TCustomSeries::DrawAreaPolygon(int x, int y) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = CanvasOf(chart);
  const bool vertical = YIsValue();
  const bool is3D = chart->GetView3D();
  const int z0 = StartZ, z1 = EndZ;
  const TFourPoints p = vertical ? TFourPoints{TPoint{PrevX, PrevBottom}, TPoint{PrevX, PrevY},
                                               TPoint{x, y}, TPoint{x, CurrentBottom}}
                                 : TFourPoints{TPoint{PrevBottom, PrevY}, TPoint{PrevX, PrevY},
                                               TPoint{x, y}, TPoint{CurrentBottom, y}};
  const int rotation = chart->GetView3DOptions()->GetRotation();
  const int z = rotation < 91 || rotation > 269 ? z0 : z1;
  // Edges included: one more to the right and below.
  auto bounds = [](const TFourPoints& q) {
    TRect b{q[0].X, q[0].Y, q[0].X, q[0].Y};
    for (const TPoint& t : q) {
      b.Left = std::min(b.Left, t.X);
      b.Top = std::min(b.Top, t.Y);
      b.Right = std::max(b.Right, t.X);
      b.Bottom = std::max(b.Bottom, t.Y);
    }
    b.Right = Sat(b.Right + 1LL);
    b.Bottom = Sat(b.Bottom + 1LL);
    return b;
  };
  std::unique_ptr<TPlotBlend> blend;
  if (transparency_ != 0) {
    TFourPoints seen = p;
    if (is3D)
      for (TPoint& t : seen) t = canvas->Calculate3DPosition(t, z);
    blend = canvas->BeginBlending(bounds(seen), transparency_);
  }
  TCustomPlotGradient* gradient = GetGradientObject();
  const bool withGradient = gradient && gradient->GetVisible();
  if (is3D) {
    auto face = [&](int depth) {
      if (withGradient)
        gradient->Draw(*canvas, p, depth);
      else
        canvas->PlaneWithZ(p, depth);
    };
    face(z);
    if (canvas->GetSupportsFullRotation() && z != z1) face(z1);
  } else if (withGradient) {
    // One gradient over the value range, whatever part of it this segment covers.
    TRect g = bounds(p);
    if (const TChartAxis* axis = ValueAxis()) {
      const int a = axis->CalcPosValue(MainValues()->MaxValue());
      const int b = axis->CalcPosValue(MainValues()->MinValue());
      if (vertical) {
        g.Top = std::min({g.Top, a, b});
        g.Bottom = std::max({g.Bottom, Sat(a + 1LL), Sat(b + 1LL)});
      } else {
        g.Left = std::min({g.Left, a, b});
        g.Right = std::max({g.Right, Sat(a + 1LL), Sat(b + 1LL)});
      }
    }
    canvas->ClipPolygon(p);
    gradient->Draw(*canvas, g);
    canvas->UnClipRectangle();
    if (canvas->Pen->GetStyle() != platform::psClear) {
      if (vertical)
        canvas->Line(PrevX, PrevY, PrevX, PrevBottom);
      else
        canvas->Line(PrevX, PrevY, PrevBottom, PrevY);
    }
  } else {
    canvas->Polygon(p);
  }
  if (blend) canvas->EndBlending(std::move(blend));
  if (GetPen()->GetVisible()) {
    canvas->AssignVisiblePen(GetPen());
    canvas->LineWithZ(PrevX, PrevY, x, y, z0);
  }
}

}  // namespace chart

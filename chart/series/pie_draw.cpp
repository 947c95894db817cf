// Pie series drawing: the circle gradient, slices flat, 3D and as a donut in the right order,
// the shadow, marks around the rim, the other slice's own legend, and the hit test.
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <numbers>

#include "chart/canvas/canvas3d.h"
#include "chart/common/hit_test.h"
#include "chart/component/legend.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series_pointer.h"
#include "chart/series/pie_series.h"

namespace chart {

namespace {

constexpr auto Sat = platform::SaturatedInt;

// A flag set for a scope.
struct FlagGuard {
  FlagGuard(bool& f, bool value) : flag(f), saved(f) { flag = value; }
  ~FlagGuard() { flag = saved; }
  FlagGuard(const FlagGuard&) = delete;
  FlagGuard& operator=(const FlagGuard&) = delete;
  bool& flag;
  bool saved;
};

}  // namespace

// ---- Circle gradient ---------------------------------------------------------------------------

void TCircledSeries::DrawCircleGradient() {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return;
  const bool is3D = chart->GetView3D();
  if (is3D && !chart->GetView3DOptions()->GetOrthogonal()) return;
  const int left = Sat(static_cast<long long>(CentreX) + 1 - CircleW / 2);
  const int top = Sat(static_cast<long long>(CentreY) + 1 - CircleH / 2);
  TRect r{left, top, Sat(static_cast<long long>(left) + CircleW),
          Sat(static_cast<long long>(top) + CircleH)};
  if (is3D) r = canvas->CalcRect3D(r, EndZ);
  canvas->ClipEllipse(r);
  gradient_->Draw(*canvas, r);
  canvas->UnClipRectangle();
}

// ---- All slices --------------------------------------------------------------------------------

void TPieSeries::DrawAllValues() {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return;
  if (explodeBiggest_ > 0) CalcExplodeBiggest();
  const int last = std::min(LastVisible, Count() - 1);
  int exploded = -1;
  int most = 0;
  for (int i = std::max(FirstVisible, 0); i <= last; ++i)
    if (SliceExplode.Get(i) > most) {
      most = SliceExplode.Get(i);
      exploded = i;
    }
  CheckAngles();
  Exploding = exploded >= 0 || SliceHeightPct.Count() > 0;
  if (exploded >= 0) {
    // Radii cut to 100 / (100 + e): the slice pulled out furthest, moved by e % of the new
    // radius, then reaches no further than the whole circle did.
    const long double f = 100.0L / (100.0L + most);
    const auto rx = static_cast<long long>(RadiusX * f);
    const auto ry = static_cast<long long>(RadiusY * f);
    CircleBox = TRect{Sat(CentreX - rx), Sat(CentreY - ry), Sat(CentreX + rx), Sat(CentreY + ry)};
    AdjustCircleRect();
    CalcRadius();
  }
  AngleToPos(0, RadiusX, RadiusY, RimX, RimY);
  shadow_->DrawEllipse(*canvas, CircleBox, Sat(static_cast<long long>(EndZ) - 10));

  const bool is3D = chart->GetView3D();
  const bool fullRotation = canvas->GetSupportsFullRotation();
  // Slices pulled out or of their own heights hide each other: then the back ones go first.
  if (!is3D || (!Exploding && donutPercent_ == 0) || fullRotation) {
    TCircledSeries::DrawAllValues();
  } else if (FirstVisible >= 0) {
    SliceOrder.clear();
    for (int i = FirstVisible; i <= last; ++i) SliceOrder.push_back(i);
    std::stable_sort(SliceOrder.begin(), SliceOrder.end(),
                     [this](int a, int b) { return CompareSlice(a, b) < 0; });
    // A partial donut shows the cut faces of its two end slices.
    const bool cutEnds = donutPercent_ > 0 && angleSize_ != 360 && !Exploding;
    for (size_t k = 0; k < SliceOrder.size(); ++k) {
      const int i = SliceOrder[k];
      if (i >= Count()) continue;
      if (cutEnds && (i == FirstVisible || i == last)) {
        FlagGuard sides(Exploding, true);
        DrawValue(i);
      } else {
        DrawValue(i);
      }
    }
  }

  TChartLegend* legend = otherSlice_->LegendIfAny();
  if (legend && legend->GetVisible()) {
    if (legend->GetSeries() != this) legend->SetSeries(this);
    FlagGuard members(LegendForOtherSlice, true);
    legend->DrawLegend();
  }
}

// ---- One slice ---------------------------------------------------------------------------------

void TPieSeries::DrawValue(int valueIndex) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas || CircleW < 5 || CircleH < 5) return;
  if (valueIndex < 0 || valueIndex >= Count() || BelongsToOtherSlice(valueIndex)) return;
  GetBrush()->SetStyle(SliceBrushStyle(valueIndex));
  const TColor color = chart->GetMonochrome() ? platform::clBlack : GetValueColor(valueIndex);
  if (color == platform::clNone) {
    if (canvas->Brush) canvas->Brush->SetStyle(platform::bsClear);
  } else {
    chart->SetBrushCanvas(color, GetBrush(), CalcCircleBackColor());
    GetGradient()->SetEndColor(color);
  }
  PreparePiePen(valueIndex);
  DrawPie(valueIndex);
}

void TPieSeries::DrawPie(int valueIndex) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas || valueIndex < 0 || static_cast<size_t>(valueIndex) >= SliceAngles.size()) return;
  const TPieAngle& a = SliceAngles[static_cast<size_t>(valueIndex)];
  const double rotation = RotationRadians();
  int dx = 0, dy = 0;
  CalcExplodedOffset(valueIndex, dx, dy);
  const int cx = Sat(static_cast<long long>(CentreX) + dx);
  const int cy = Sat(static_cast<long long>(CentreY) - dy);
  if (chart->GetView3D()) {
    TPlotGradient* gradient = GetGradient();
    canvas->Pie3D(cx, cy, RadiusX, RadiusY, StartZ, SliceEndZ(valueIndex), a.StartAngle + rotation,
                  a.EndAngle + rotation, dark3D_, Exploding, donutPercent_,
                  gradient->GetVisible() ? gradient : nullptr);
  } else if (donutPercent_ > 0) {
    canvas->Donut(cx, cy, RadiusX, RadiusY, a.StartAngle + rotation, a.EndAngle + rotation,
                  donutPercent_);
  } else {
    // Each slice starts at its own angle, so any drawing order works.
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    AngleToPos(a.StartAngle, RadiusX, RadiusY, x0, y0);
    AngleToPos(a.EndAngle, RadiusX, RadiusY, x1, y1);
    // A slice whose ends share a pixel is too thin to show, unless it is the whole circle.
    if (x1 == x0 && y1 == y0 && Count() != 1 && a.EndAngle - a.StartAngle <= 1) return;
    auto sx = [dx](int v) { return Sat(static_cast<long long>(v) + dx); };
    auto sy = [dy](int v) { return Sat(static_cast<long long>(v) - dy); };
    canvas->Pie(sx(CircleBox.Left), sy(CircleBox.Top), sx(CircleBox.Right), sy(CircleBox.Bottom),
                sx(x0), sy(y0), sx(x1), sy(y1));
    RimX = x1;
    RimY = y1;
  }
}

// ---- Marks -------------------------------------------------------------------------------------

void TPieSeries::DrawMark(int valueIndex, const std::string& text, TSeriesMarkPosition& position) {
  if (valueIndex < 0 || static_cast<size_t>(valueIndex) >= SliceAngles.size() ||
      BelongsToOtherSlice(valueIndex))
    return;
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return;
  int rx = 0, ry = 0;
  CalcExplodedRadius(valueIndex, rx, ry);
  double angle = SliceAngles[static_cast<size_t>(valueIndex)].MidAngle;
  if (canvas->GetSupportsFullRotation()) {
    angle += 3 * std::numbers::pi / 2;
    Marks()->ZPosition = StartZ;
  } else {
    Marks()->ZPosition = SliceEndZ(valueIndex);
  }
  const TMarksCallout* callout = Marks()->GetCallout();
  const double distance = callout->GetDistance();
  const double outer = distance + callout->GetLength();
  position.ArrowStartFixed = true;
  AngleToPos(angle, rx + outer, ry + outer, position.ArrowEnd.X, position.ArrowEnd.Y);
  AngleToPos(angle, rx + distance, ry + distance, position.ArrowStart.X, position.ArrowStart.Y);
  const TPoint end = position.ArrowEnd;
  position.TopLeft.X =
      end.X > CentreX ? end.X : Sat(static_cast<long long>(end.X) - position.Width);
  position.TopLeft.Y =
      end.Y > CentreY ? end.Y : Sat(static_cast<long long>(end.Y) - position.Height);
  if (autoMarkPosition_) Marks()->AntiOverlap(FirstVisible, valueIndex, position);
  TCircledSeries::DrawMark(valueIndex, text, position);
}

// ---- Hit test ----------------------------------------------------------------------------------

int TPieSeries::Clicked(int x, int y) {
  const int found = TCircledSeries::Clicked(x, y);
  if (found != -1 || SliceAngles.empty()) return found;
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return -1;
  const int n = std::min(Count(), static_cast<int>(SliceAngles.size()));
  std::array<TPoint, 32> poly{};
  for (int i = 0; i < n; ++i) {
    // Grouped points are drawn only as the other slice.
    if (BelongsToOtherSlice(i)) continue;
    const TPieAngle& a = SliceAngles[static_cast<size_t>(i)];
    int dx = 0, dy = 0;
    CalcExplodedOffset(i, dx, dy);
    const int z = SliceEndZ(i);
    auto put = [&](size_t k, int px, int py) {
      poly[k] = canvas->Calculate3DPosition(Sat(static_cast<long long>(px) + dx),
                                            Sat(static_cast<long long>(py) - dy), z);
    };
    // The centre, then the rim from the end angle back to the start: the outline closes through
    // the centre, so the whole slice is hit and not only the part beyond its chord.
    put(0, CentreX, CentreY);
    const double step = (a.EndAngle - a.StartAngle) / 30;
    for (size_t k = 1; k < poly.size(); ++k) {
      int px = 0, py = 0;
      AngleToPos(a.EndAngle - static_cast<double>(k - 1) * step, RadiusX, RadiusY, px, py);
      put(k, px, py);
    }
    if (PointInPolygon(TPoint{x, y}, poly.data(), static_cast<int>(poly.size()) - 1)) return i;
  }
  return -1;
}

}  // namespace chart

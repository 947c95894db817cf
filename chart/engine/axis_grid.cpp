// The line work of an axis at the ticks its label loops recorded: the axis line in its modes,
// outer and inner ticks, the grid in 2D and 3D, minor ticks and the minor grid; and drawing an
// axis at positions, spans or ranges given by the caller.
#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

#include "chart/canvas/geometry.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"

namespace chart {

void TChartAxis::DrawAxisLine(int wall) {
  TCanvas3D& c = *chart_->GetCanvas3D();
  const TRect& r = chart_->ChartRect;
  const int pw = axisPen_->GetWidth();
  const TAxisLineMode mode = axisPen_->GetLineMode();
  const int z = iZPos_;
  // A box or cylinder of half-thickness pw around the line.
  const auto solid = [&](bool vertical, int left, int top, int right, int bottom, int z0, int z1) {
    if (mode == lmCylinder)
      c.Cylinder(vertical, left, top, right, bottom, z0, z1, true);
    else
      c.Cube(left, right, top, bottom, z0, z1, true);
  };
  if (IsDepthAxis()) {
    const int y = otherSide_ ? r.Bottom + chart_->CalcWallSize(chart_->BottomAxis()) - iZPos_
                             : r.Top - iZPos_;
    if (mode == lmLine)
      c.ZLine3D(PosAxis, y, iStartPos_, iEndPos_);
    else if (mode == lmCylinder)
      c.DepthCylinder(PosAxis - pw, y - pw, PosAxis + pw, y + pw, iStartPos_, iEndPos_, true);
    else
      c.Cube(PosAxis - pw, PosAxis + pw, y - pw, y + pw, iStartPos_, iEndPos_, true);
    return;
  }
  if (horizontal_) {
    int x0 = iStartPos_, x1 = iEndPos_, y = PosAxis;
    if (!otherSide_) {
      x0 -= chart_->CalcWallSize(chart_->LeftAxis());
      x1 += chart_->CalcWallSize(chart_->RightAxis());
      y += wall;
    }
    if (mode == lmLine)
      c.HorizLine3D(x0, x1, y, z);
    else
      solid(false, x0, y - pw, x1, y + pw, z - pw, z + pw);
    return;
  }
  const int x = otherSide_ ? PosAxis + wall : PosAxis - wall;
  const int y1 = iEndPos_ + chart_->CalcWallSize(chart_->BottomAxis());
  if (mode == lmLine)
    c.VertLine3D(x, iStartPos_, y1, z);
  else
    solid(true, x - pw, iStartPos_, x + pw, y1, z - pw, z + pw);
}

void TChartAxis::DrawTick(int pixel, int offset, int length, int wall) {
  TCanvas3D& c = *chart_->GetCanvas3D();
  if (IsDepthAxis()) {
    const int x0 = otherSide_ ? PosAxis + offset : PosAxis - offset;
    c.HorizLine3D(x0, otherSide_ ? x0 + length : x0 - length, DepthAxisPos(), pixel);
  } else if (horizontal_) {
    const int y0 = otherSide_ ? PosAxis - offset : PosAxis + offset + wall;
    c.VertLine3D(pixel, y0, otherSide_ ? y0 - length : y0 + length, iZPos_);
  } else {
    const int x0 = otherSide_ ? PosAxis + offset + wall : PosAxis - offset - wall;
    c.HorizLine3D(x0, otherSide_ ? x0 + length : x0 - length, pixel, iZPos_);
  }
}

std::vector<int> TChartAxis::MinorPixels() const {
  std::vector<int> out;
  const int m = minorTickCount_;
  if (Tick.empty() || m <= 0) return out;
  const double fraction = 1.0 / (m + 1);
  const auto keep = [&](long double p) {
    const int pixel = PlotClampPixel(p);
    if (pixel > iStartPos_ && pixel < iEndPos_) out.push_back(pixel);
  };
  if (!logarithmic_) {
    if (Tick.size() < 2) return out;
    for (size_t i = 1; i < Tick.size(); ++i)
      for (int j = 1; j <= m; ++j)
        keep(Tick[i] - std::rintl(j * static_cast<long double>(Tick[i] - Tick[i - 1]) * fraction));
    const long double d = static_cast<long double>(Tick[1] - Tick[0]) * fraction;
    for (int j = 1; j <= m; ++j) {
      keep(Tick.front() - std::rintl(j * d));
      keep(Tick.back() + std::rintl(j * d));
    }
    return out;
  }
  // Each cell once, from the labels' own values, the one under the lowest label included.
  const double base = logarithmicBase_, step = LogCellStep;
  std::set<double> starts(LogCells.begin(), LogCells.end());
  if (starts.empty() || !(step > 0 || base > 1)) return out;
  starts.insert(step > 0 ? *starts.begin() - step : *starts.begin() / base);
  for (double v : starts) {
    const double w = step > 0 ? v + step : v * base;
    for (int j = 1; j <= m; ++j) {
      const double value = v + j * (w - v) * fraction;
      if (value > 0 && value >= iMinimum_ && value <= iMaximum_) keep(CalcPosValue(value));
    }
  }
  return out;
}

void TChartAxis::DrawAxisLines() {
  TCanvas3D& c = *chart_->GetCanvas3D();
  c.Brush->SetStyle(platform::bsClear);
  c.SetBackMode(cbmTransparent);
  const int wall = chart_->CalcWallSize(this);
  if (axisPen_->GetVisible()) {
    c.AssignVisiblePen(axisPen_.get());
    if (axisPen_->GetLineMode() != lmLine) {
      c.Pen->SetStyle(platform::psClear);
      c.Brush->SetStyle(platform::bsSolid);
      c.Brush->SetColor(axisPen_->GetColor());
    }
    DrawAxisLine(wall);
  }
  if (ticks_->GetVisible()) {
    c.AssignVisiblePen(ticks_.get());
    for (int p : Tick) DrawTick(p, 1, tickLength_, wall);
  }
  DrawGrids(static_cast<int>(Tick.size()));
  if (ticksInner_->GetVisible()) {
    c.AssignVisiblePen(ticksInner_.get());
    for (int p : Tick) DrawTick(p, -1, -tickInnerLength_, wall);
  }
  if (minorTicks_->GetVisible() || minorGrid_->GetVisible()) {
    const std::vector<int> minor = MinorPixels();
    if (minorTicks_->GetVisible()) {
      c.AssignVisiblePen(minorTicks_.get());
      for (int p : minor) DrawTick(p, 1, minorTickLength_, wall);
    }
    if (minorGrid_->GetVisible()) {
      c.AssignVisiblePen(minorGrid_.get());
      for (int p : minor) DrawGridLine(p);
    }
  }
  c.SetBackMode(cbmOpaque);
}

void TChartAxis::DrawGrids(int tickCount) {
  if (OnBeforeDrawGrid) OnBeforeDrawGrid();
  if (!chart_ || !chart_->GetCanvas3D() || !grid_->GetVisible()) return;
  TCanvas3D& c = *chart_->GetCanvas3D();
  c.SetBackMode(cbmTransparent);
  c.Brush->SetStyle(platform::bsClear);
  c.AssignVisiblePen(grid_.get());
  if (grid_->GetColor() == platform::clDefault) c.Pen->SetColor(platform::clGray);
  const int n = std::min(tickCount, static_cast<int>(Tick.size()));
  const int every = std::max(1, grid_->GetDrawEvery());
  if (grid_->GetCentered()) {
    for (int i = 1; i < n; ++i)
      if (i % every == 0) DrawGridLine(Round((Tick[i] + static_cast<double>(Tick[i - 1])) * 0.5));
  } else {
    for (int i = 0; i < n; ++i)
      if (i % every == 0) DrawGridLine(Tick[i]);
  }
}

void TChartAxis::DrawGridLine(int p) {
  if (!chart_ || !chart_->GetCanvas3D() || !(iStartPos_ < p && p < iEndPos_)) return;
  TCanvas3D& c = *chart_->GetCanvas3D();
  const TRect& r = chart_->ChartRect;
  if (IsDepthAxis()) {
    c.VertLine3D(r.Left, r.Top, r.Bottom, p);
    c.HorizLine3D(r.Left, r.Right, r.Bottom, p);
    return;
  }
  if (!chart_->GetView3D()) {
    if (horizontal_)
      c.DoVertLine(p, r.Top + 1, r.Bottom);
    else
      c.DoHorizLine(r.Left + 1, r.Right, p);
    return;
  }
  const int depth = chart_->Depth3D;
  const bool behind = chart_->GetAxisBehind();
  if (!behind || !BackGridHidden) {
    const int z = behind ? depth : 0;
    if (horizontal_)
      c.VertLine3D(p, r.Top, r.Bottom, z);
    else
      c.HorizLine3D(r.Left, r.Right, p, z);
  }
  if (behind && !SideGridHidden) {
    const int z0 = PlotClampPixel(depth * grid_->GetZPosition() * 0.01L);
    if (z0 == depth) return;
    if (horizontal_)
      c.ZLine3D(p, PosAxis, z0, depth);
    else
      c.ZLine3D(PosAxis, p, z0, depth);
  }
}

void TChartAxis::CustomDrawStartEnd(int posLabels, int posTitle, int posAxis, bool gridVisible,
                                    int startPos, int endPos) {
  PosLabels = posLabels;
  PosTitle = posTitle;
  PosAxis = posAxis;
  iStartPos_ = startPos;
  iEndPos_ = endPos;
  RecalcSizeCenter();
  // The grid's visibility changes for this drawing only: no repaint for it.
  struct GridGuard {
    TAxisGridPen& pen;
    bool visible = pen.GetVisible();
    std::function<void()> onChange = std::exchange(pen.OnChange, {});
    ~GridGuard() {
      pen.SetVisible(visible);
      pen.OnChange = std::move(onChange);
    }
  } guard{*grid_};
  grid_->SetVisible(gridVisible);
  Draw(false);
}

void TChartAxis::CustomDraw(int posLabels, int posTitle, int posAxis, bool gridVisible) {
  InternalCalcPositions();
  CustomDrawStartEnd(posLabels, posTitle, posAxis, gridVisible, iStartPos_, iEndPos_);
}

void TChartAxis::CustomDrawMinMaxStartEnd(int posLabels, int posTitle, int posAxis,
                                          bool gridVisible, double minimum, double maximum,
                                          double increment, int startPos, int endPos) {
  struct RangeGuard {
    TChartAxis& a;
    double min = a.minimum_, max = a.maximum_, inc = a.desiredIncrement_;
    double iMin = a.iMinimum_, iMax = a.iMaximum_;
    bool automatic = a.automatic_;
    ~RangeGuard() {
      a.minimum_ = min;
      a.maximum_ = max;
      a.desiredIncrement_ = inc;
      a.automatic_ = automatic;
      a.iMinimum_ = iMin;
      a.iMaximum_ = iMax;
      a.InternalCalcRange();
    }
  } guard{*this};
  minimum_ = minimum;
  maximum_ = maximum;
  // A negative increment would be rejected by the setter: the automatic one instead.
  desiredIncrement_ = increment >= 0 && std::isfinite(increment) ? increment : 0;
  automatic_ = false;
  iMinimum_ = minimum;
  iMaximum_ = maximum;
  CustomDrawStartEnd(posLabels, posTitle, posAxis, gridVisible, startPos, endPos);
}

void TChartAxis::CustomDrawMinMax(int posLabels, int posTitle, int posAxis, bool gridVisible,
                                  double minimum, double maximum, double increment) {
  CustomDrawMinMaxStartEnd(posLabels, posTitle, posAxis, gridVisible, minimum, maximum, increment,
                           iStartPos_, iEndPos_);
}

}  // namespace chart

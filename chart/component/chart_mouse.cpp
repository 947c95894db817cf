// The chart and the mouse: which part lies under a point, the click events, drag zoom with its
// undo, panning and wheel scrolling.
#include <algorithm>
#include <cmath>
#include <utility>

#include "chart/canvas/geometry.h"
#include "chart/component/chart.h"
#include "chart/component/legend.h"
#include "chart/component/titles.h"
#include "chart/engine/axis.h"
#include "chart/engine/series.h"
#include "chart/engine/series_marks.h"

namespace chart {

double AnimatedZoomFactor = 3.0;
platform::TShiftState PlotScrollKeyShift;

namespace {

bool HoldsAll(platform::TShiftState shift, platform::TShiftState keys) {
  return (shift.Bits() & keys.Bits()) == keys.Bits();
}

}  // namespace

// ---- Clicked parts ---------------------------------------------------------------------------

void TCustomChart::CalcClickedPart(TPoint point, TChartClickedPart& part) {
  RestoreWindowLayout();
  part = CalcNeedClickedPart(point, false);
}

TChartClickedPart TCustomChart::CalcNeedClickedPart(TPoint p, bool needEvents) {
  TChartClickedPart r;
  TChartLegend* legend = legend_.get();
  auto legendClicked = [&](bool customPosition) {
    if (!legend->GetVisible() || legend->GetCustomPosition() != customPosition) return false;
    r.PointIndex = legend->Clicked(p.X, p.Y);
    if (r.PointIndex == -1) return false;
    r.Part = cpLegend;
    return true;
  };
  if (legendClicked(true)) return r;

  // By index from the end: a series' hit test is virtual and may change the list.
  for (int i = SeriesCount() - 1; i >= 0; --i) {
    if (i >= SeriesCount()) continue;
    TChartSeries* s = GetSeries(i);
    if (!s->GetActive()) continue;
    if (needEvents && !s->RaiseClicked() && !OnClickSeries) continue;
    r.PointIndex = s->Clicked(p.X, p.Y);
    if (r.PointIndex != -1) {
      r.Part = cpSeries;
    } else if (s->Marks()->GetVisible()) {
      r.PointIndex = s->Marks()->Clicked(p.X, p.Y);
      if (r.PointIndex != -1) r.Part = cpSeriesMarks;
    }
    if (r.Part != cpNone) {
      r.ASeries = s;
      return r;
    }
  }
  r.PointIndex = -1;

  for (TChartAxis* axis : AxesList()) {
    if (axis->Clicked(p.X, p.Y)) {
      r.Part = cpAxis;
      r.AAxis = axis;
      return r;
    }
  }

  if (legendClicked(false)) return r;
  r.PointIndex = -1;

  const std::pair<TChartTitle*, TChartClickedPartStyle> titles[] = {{title_.get(), cpTitle},
                                                                    {subTitle_.get(), cpSubTitle},
                                                                    {foot_.get(), cpFoot},
                                                                    {subFoot_.get(), cpSubFoot}};
  for (const auto& [t, style] : titles) {
    if (t->Clicked(p.X, p.Y)) {
      r.Part = style;
      return r;
    }
  }

  if (PointInRect(ChartRect, p) && CountActiveSeries() > 0) r.Part = cpChartRect;
  return r;
}

// ---- Mouse events ----------------------------------------------------------------------------

bool TCustomChart::ToolsMouseEvent(TChartMouseEvent event, platform::TMouseButton button,
                                   platform::TShiftState shift, int x, int y) {
  // By index: a tool may remove itself while it runs.
  for (int i = 0; i < Tools().Count(); ++i) {
    TPlotCustomTool* tool = Tools().Get(i);
    if (!tool || !tool->GetActive()) continue;
    tool->ChartMouseEvent(event, button, shift, x, y);
    if (CancelMouse) return true;
  }
  return false;
}

void TCustomChart::MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x,
                             int y) {
  TCustomAxisPanel::MouseDown(button, shift, x, y);
  if (CancelMouse || GetZoom()->Active || Panning()->Active) return;
  CancelMouse = false;
  if (!ToolsMouseEvent(cmeDown, button, shift, x, y)) {
    bool handled = false;
    // A click event marks the click handled unless its handler clears CancelMouse.
    auto raise = [&](const auto& call) {
      CancelMouse = true;
      call();
      handled = CancelMouse;
    };
    bool mayStart = false;
    const TChartClickedPart part = CalcNeedClickedPart(TPoint{x, y}, true);
    switch (part.Part) {
      case cpLegend:
        handled = legend_->DoMouseDown(part.PointIndex);
        if (OnClickLegend) raise([&] { OnClickLegend(this, button, shift, x, y); });
        break;
      case cpAxis:
        if (OnClickAxis) raise([&] { OnClickAxis(this, part.AAxis, button, shift, x, y); });
        mayStart = true;
        break;
      case cpSeries: {
        CancelMouse = false;
        TChartSeries* s = part.ASeries;
        const TSeriesClick& own = shift.Contains(platform::ssDouble) ? s->OnDblClick : s->OnClick;
        if (own) own(s, part.PointIndex, button, shift, x, y);
        handled = CancelMouse;
        if (OnClickSeries)
          raise([&] { OnClickSeries(this, s, part.PointIndex, button, shift, x, y); });
        mayStart = true;
        break;
      }
      case cpTitle:
      case cpSubTitle:
      case cpFoot:
      case cpSubFoot: {
        TChartTitle* t = part.Part == cpTitle      ? title_.get()
                         : part.Part == cpSubTitle ? subTitle_.get()
                         : part.Part == cpFoot     ? foot_.get()
                                                   : subFoot_.get();
        if (OnClickTitle) raise([&] { OnClickTitle(this, t, button, shift, x, y); });
        mayStart = true;
        break;
      }
      case cpChartRect:
        if (OnClickBackground) raise([&] { OnClickBackground(this, button, shift, x, y); });
        mayStart = true;
        break;
      case cpNone:
      case cpSeriesMarks:
        break;
    }
    if (mayStart && !handled) StartZoomOrPanning(button, shift, x, y);
    // A press on the chart rectangle has already been the background's.
    if (!handled && part.Part != cpChartRect && OnClickBackground)
      raise([&] { OnClickBackground(this, button, shift, x, y); });
  }
  CancelMouse = false;
}

void TCustomChart::StartZoomOrPanning(platform::TMouseButton button, platform::TShiftState shift,
                                      int x, int y) {
  if (!ActiveSeriesUseAxis()) return;
  bool started = false;
  TPlotZoom& zoom = *GetZoom();
  if (zoom.Allow && button == zoom.MouseButton && HoldsAll(shift, zoom.KeyShift)) {
    if (zoom.Direction == tzdVertical) x = ChartRect.Left;
    if (zoom.Direction == tzdHorizontal) y = ChartRect.Top;
    zoom.Activate(x, y);
    if (zoom.Direction == tzdVertical) zoom.X1 = ChartRect.Right;
    if (zoom.Direction == tzdHorizontal) zoom.Y1 = ChartRect.Bottom;
    DrawZoomRectangle();
    started = true;
  }
  if (GetAllowPanning() != pmNone && button == ScrollMouseButton &&
      HoldsAll(shift, PlotScrollKeyShift)) {
    Panning()->Activate(x, y);
    started = true;
  }
  if (started) SetCursor(SavedCursor);
}

void TCustomChart::MouseMove(platform::TShiftState shift, int x, int y) {
  TCustomAxisPanel::MouseMove(shift, x, y);
  ToolsMouseEvent(cmeMove, platform::mbLeft, shift, x, y);
  if (CancelMouse) return;
  TPlotZoom& zoom = *GetZoom();
  if (zoom.Active) {
    if (zoom.Direction == tzdVertical) x = ChartRect.Right;
    if (zoom.Direction == tzdHorizontal) y = ChartRect.Bottom;
    if (x != zoom.X1 || y != zoom.Y1) {
      DrawZoomRectangle();
      zoom.X1 = x;
      zoom.Y1 = y;
      DrawZoomRectangle();
    }
  } else if (Panning()->Active) {
    if (!PointInRect(ChartRect, x, y))
      Panning()->Active = false;
    else if (x != Panning()->X1 || y != Panning()->Y1)
      PanTo(x, y);
  } else if (!CheckMouseSeries(x, y)) {
    SetCursor(SavedCursor);
  }
}

void TCustomChart::PanTo(int x, int y) {
  TZoomPanning& pan = *Panning();
  if (ScalesFree) {
    SaveScales(SavedScales);
    ScalesFree = false;
  }
  auto scroll = [this](bool horizontal, int p0, int p1) {
    for (TChartAxis* axis : AxesList()) {
      if (axis->IsDepthAxis() || axis->Horizontal() != horizontal) continue;
      const double d = axis->CalcPosPoint(p0) - axis->CalcPosPoint(p1);
      double aMin = axis->GetMinimum() + d;
      double aMax = axis->GetMaximum() + d;
      bool allow = true;
      if (OnAllowScroll) OnAllowScroll(axis, aMin, aMax, allow);
      if (allow && std::isfinite(aMin) && std::isfinite(aMax)) axis->SetMinMax(aMin, aMax);
    }
  };
  const TPanningMode mode = GetAllowPanning();
  bool scrolled = false;
  if ((mode == pmHorizontal || mode == pmBoth) && x != pan.X1) {
    scroll(true, pan.X1, x);
    scrolled = true;
  }
  if ((mode == pmVertical || mode == pmBoth) && y != pan.Y1) {
    scroll(false, pan.Y1, y);
    scrolled = true;
  }
  pan.X1 = x;
  pan.Y1 = y;
  if (scrolled) {
    if (OnScroll) OnScroll(this);
    Invalidate();
  }
}

void TCustomChart::MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x,
                           int y) {
  CancelMouse = false;
  TCustomAxisPanel::MouseUp(button, shift, x, y);
  TPlotZoom& zoom = *GetZoom();
  if (zoom.Active && button == zoom.MouseButton) {
    zoom.Active = false;
    DrawZoomRectangle();
    if (TCanvas3D* canvas = GetCanvas3D(); canvas && canvas->Pen)
      canvas->Pen->SetMode(platform::pmCopy);
    if (zoom.Direction != tzdVertical) zoom.X1 = x;
    if (zoom.Direction != tzdHorizontal) zoom.Y1 = y;
    const bool wide = std::abs(static_cast<long long>(zoom.X1) - zoom.X0) > zoom.MinimumPixels;
    const bool tall = std::abs(static_cast<long long>(zoom.Y1) - zoom.Y0) > zoom.MinimumPixels;
    const bool counts = zoom.Direction == tzdHorizontal ? wide
                        : zoom.Direction == tzdVertical ? tall
                                                        : wide && tall;
    if (counts) {
      const bool forward = zoom.Direction == tzdVertical ? zoom.Y1 > zoom.Y0 : zoom.X1 > zoom.X0;
      if (zoom.UpLeftZooms || forward)
        CalcZoomPoints();
      else
        UndoZoom();
      Invalidate();
    }
  }
  Panning()->Active = false;
  ToolsMouseEvent(cmeUp, button, shift, x, y);
}

// ---- Zoom ------------------------------------------------------------------------------------

void TCustomChart::CalcZoomPoints() {
  TPlotZoom& zoom = *GetZoom();
  zoom.Check();
  auto across = [&](TChartAxis* a, double& lo, double& hi) {
    lo = a->CalcPosPoint(zoom.X0);
    hi = a->CalcPosPoint(zoom.X1);
  };
  auto down = [&](TChartAxis* a, double& lo, double& hi) {
    lo = a->CalcPosPoint(zoom.Y1);
    hi = a->CalcPosPoint(zoom.Y0);
  };
  double t0, t1, b0, b1, l0, l1, r0, r1;
  across(TopAxis(), t0, t1);
  across(BottomAxis(), b0, b1);
  down(LeftAxis(), l0, l1);
  down(RightAxis(), r0, r1);
  DoZoom(t0, t1, b0, b1, l0, l1, r0, r1);
}

void TCustomChart::DoZoom(double topMin, double topMax, double bottomMin, double bottomMax,
                          double leftMin, double leftMax, double rightMin, double rightMax) {
  if (ScalesFree) {
    SaveScales(SavedScales);
    ScalesFree = false;
  }
  struct Target {
    TChartAxis* axis;
    double min, max;
  };
  const Target targets[] = {{LeftAxis(), leftMin, leftMax},
                            {RightAxis(), rightMin, rightMax},
                            {TopAxis(), topMin, topMax},
                            {BottomAxis(), bottomMin, bottomMax}};
  // A target that is no number (a broken handler or mapping) leaves its axis alone.
  auto usable = [](const Target& t) { return std::isfinite(t.min) && std::isfinite(t.max); };
  TPlotZoom& zoom = *GetZoom();
  if (zoom.Animated) {
    for (int step = 1; step < zoom.AnimatedSteps; ++step) {
      for (const Target& t : targets) {
        if (!usable(t)) continue;
        const double mn = t.axis->GetMinimum(), mx = t.axis->GetMaximum();
        t.axis->SetMinMax(mn + (t.min - mn) / AnimatedZoomFactor,
                          mx - (mx - t.max) / AnimatedZoomFactor);
      }
      Repaint();
    }
  }
  for (const Target& t : targets)
    if (usable(t)) t.axis->SetMinMax(t.min, t.max);
  SetZoomed(true);
  if (OnZoom) OnZoom(this);
}

void TCustomChart::ZoomRect(const TRect& rect) {
  TPlotZoom& zoom = *GetZoom();
  zoom.X0 = rect.Left;
  zoom.Y0 = rect.Top;
  zoom.X1 = rect.Right;
  zoom.Y1 = rect.Bottom;
  CalcZoomPoints();
}

void TCustomChart::ZoomPercent(double percent) {
  const TPlotZoomDirection dir = GetZoom()->Direction;
  double range[4][2];
  TChartAxis* axes[4] = {LeftAxis(), RightAxis(), TopAxis(), BottomAxis()};
  for (int i = 0; i < 4; ++i) {
    TChartAxis* a = axes[i];
    const bool horizontal = a->Horizontal();
    const double A = a->CalcPosPoint(horizontal ? a->IStartPos() : a->IEndPos());
    const double B = a->CalcPosPoint(horizontal ? a->IEndPos() : a->IStartPos());
    const bool covered = horizontal ? dir != tzdVertical : dir != tzdHorizontal;
    const double K = covered ? (B - A) * (percent - 100) * 0.01 : 0;
    range[i][0] = A + K;
    range[i][1] = B - K;
  }
  DoZoom(range[2][0], range[2][1], range[3][0], range[3][1], range[0][0], range[0][1], range[1][0],
         range[1][1]);
  Repaint();
}

void TCustomChart::UndoZoom() {
  if (!ScalesFree) {
    RestoreScales(SavedScales);
    ScalesFree = true;
  }
  TCustomAxisPanel::UndoZoom();
}

void TCustomChart::SaveScales(TAllAxisSavedScales& scales) const {
  scales.clear();
  for (const TChartAxis* axis : AxesList()) {
    if (axis->IsDepthAxis()) continue;
    scales.push_back({axis->Serial(), axis->GetAutomatic(), axis->GetAutomaticMinimum(),
                      axis->GetAutomaticMaximum(), axis->GetMinimum(), axis->GetMaximum()});
  }
}

void TCustomChart::RestoreScales(TAllAxisSavedScales& scales) {
  for (TChartAxis* axis : AxesList()) {
    if (axis->IsDepthAxis()) continue;
    const auto it = std::find_if(scales.begin(), scales.end(), [axis](const TAxisSavedScales& s) {
      return s.Axis == axis->Serial();
    });
    if (it == scales.end()) continue;
    axis->SetAutomatic(it->Auto);
    axis->SetAutomaticMinimum(it->AutoMin);
    axis->SetAutomaticMaximum(it->AutoMax);
    axis->InternalSetMinimum(it->Min);
    axis->InternalSetMaximum(it->Max);
  }
  scales.clear();
}

// ---- Wheel -----------------------------------------------------------------------------------

bool TCustomChart::DoMouseWheelDown(platform::TShiftState shift, TPoint mousePos) {
  const bool result = TCustomAxisPanel::DoMouseWheelDown(shift, mousePos);
  if (PlotUseMouseWheel && UseMouseWheel) ScrollVerticalAxes(true);
  return result;
}

bool TCustomChart::DoMouseWheelUp(platform::TShiftState shift, TPoint mousePos) {
  const bool result = TCustomAxisPanel::DoMouseWheelUp(shift, mousePos);
  if (PlotUseMouseWheel && UseMouseWheel) ScrollVerticalAxes(false);
  return result;
}

void TCustomChart::ScrollVerticalAxes(bool up) {
  for (TChartAxis* axis : AxesList()) {
    if (axis->IsDepthAxis() || axis->Horizontal()) continue;
    const double offset = (axis->GetMaximum() - axis->GetMinimum()) * 0.03;
    axis->Scroll(up ? offset : -offset, false);
  }
}

}  // namespace chart

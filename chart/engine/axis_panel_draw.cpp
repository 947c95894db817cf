// One drawing pass of the chart: background, titles and legend, the layout, walls, axes before or
// after the series, the series in Z order (clipped, then their marks), and the events and tool
// notifications between the steps.
#include <algorithm>
#include <climits>
#include <string>

#include "chart/canvas/geometry.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"

namespace chart {

namespace {

constexpr auto Sat = platform::SaturatedInt;

// The series clip: the chart rectangle with its bottom one pixel lower, to the chart's depth.
// Removed when the scope ends, also when drawing fails.
class SeriesClip {
 public:
  SeriesClip() = default;
  SeriesClip(const SeriesClip&) = delete;
  SeriesClip& operator=(const SeriesClip&) = delete;
  ~SeriesClip() { End(); }
  void Begin(TCustomAxisPanel& chart) {
    if (canvas_ || !chart.CanClip()) return;
    canvas_ = chart.GetCanvas3D();
    TRect r = chart.ChartRect;
    r.Bottom = Sat(static_cast<long long>(r.Bottom) + 1);
    canvas_->ClipCube(r, 0, chart.Width3D());
  }
  void End() {
    if (canvas_) canvas_->UnClipRectangle();
    canvas_ = nullptr;
  }
  bool Set() const { return canvas_ != nullptr; }

 private:
  TCanvas3D* canvas_ = nullptr;
};

void DrawSeriesMarks(TCustomAxisPanel& chart, TChartSeries& s) {
  if (s.Count() == 0 || !s.Marks()->GetVisible()) return;
  SeriesClip clip;
  if (s.Marks()->GetClip()) clip.Begin(chart);
  s.DrawMarks();
}

// A series alone in its Z order.
void DrawOneSeries(TCustomAxisPanel& chart, TChartSeries& s) {
  s.CalcFirstLastVisibleIndex();
  if (s.FirstVisible == -1) return;
  s.DoBeforeDrawValues();
  {
    SeriesClip clip;
    if (s.UseAxis() && chart.GetClipPoints()) clip.Begin(chart);
    s.DrawAllValues();
  }
  DrawSeriesMarks(chart, s);
  s.DoAfterDrawValues();
}

bool SameZ(const TChartSeries* member, const TChartSeries& s) {
  return member->GetActive() && member->GetZOrder() == s.GetZOrder();
}

// The series of s's Z order from s to the end of the list, drawn point by point together.
void DrawZOrderGroup(TCustomAxisPanel& chart, TChartSeries& s) {
  const auto& items = chart.SeriesList().Items();
  const int from = chart.SeriesList().IndexOf(&s);
  if (from < 0) return;
  int first = -1, last = -1;
  bool found = false;
  SeriesClip clip;
  for (int j = from; j < static_cast<int>(items.size()); ++j) {
    TChartSeries* t = items[j];
    if (!SameZ(t, s)) continue;
    t->CalcFirstLastVisibleIndex();
    if (t->FirstVisible == -1) continue;
    if (!found) {
      first = t->FirstVisible;
      last = t->LastVisible;
      found = true;
    } else {
      first = std::max(first, t->FirstVisible);
      last = std::max(last, t->LastVisible);
    }
    t->DoBeforeDrawValues();
    if (chart.GetClipPoints()) clip.Begin(chart);
  }
  if (!found) return;
  auto drawIndex = [&](int i) {
    const bool forward = i >= s.Count() || s.DrawSeriesForward(i);
    // By index and checked each time: an event may change the list.
    const int n = static_cast<int>(items.size());
    for (int k = 0; k < n - from; ++k) {
      const int j = forward ? from + k : n - 1 - k;
      if (j >= static_cast<int>(items.size())) continue;
      TChartSeries* t = items[j];
      if (SameZ(t, s) && i < t->Count()) t->DrawValue(i);
    }
  };
  if (s.DrawValuesForward()) {
    for (int i = first; i <= last; ++i) drawIndex(i);
  } else {
    for (int i = last; i >= first; --i) drawIndex(i);
  }
  clip.End();
  for (int j = from; j < static_cast<int>(items.size()); ++j) {
    TChartSeries* t = items[j];
    if (!SameZ(t, s) || t->FirstVisible == -1) continue;
    DrawSeriesMarks(chart, *t);
    t->DoAfterDrawValues();
  }
}

}  // namespace

void TCustomAxisPanel::InternalDraw(const TRect& rect) {
  struct Restore {
    bool& flag;
    bool saved;
    ~Restore() { flag = saved; }
  } restore{AutoRepaint, AutoRepaint};
  AutoRepaint = false;
  CalcInvertedRotation();
  TRect r = rect;
  TCanvas3D& canvas = *GetCanvas3D();
  const bool fullRotation = canvas.GetSupportsFullRotation();
  if (!fullRotation) PanelPaint(r);
  BroadcastToolEvent(cteBeforeDraw);
  DoOnBeforeDrawChart();
  for (size_t i = 0; i < SeriesList().Items().size(); ++i) {
    TChartSeries* s = SeriesList().Items()[i];
    if (s->GetActive()) s->DoBeforeDrawChart();
  }
  if (!fullRotation) DrawTitlesAndLegend(true);
  CalcZOrder();
  CalcWallsRect();
  r = ChartRect;
  CalcAxesLayout();
  for (size_t i = 0; i < SeriesList().Items().size(); ++i) {
    TChartSeries* s = SeriesList().Items()[i];
    if (s->GetActive()) s->CalcDepthPositions();
  }
  CalcSeriesMargins();
  canvas.Projection(Width3D(), ChartBounds, ChartRect);
  if (fullRotation) {
    const TRect saved = ChartRect;
    ChartRect = r;
    PanelPaint(rect);
    DrawTitlesAndLegend(true);
    ChartRect = saved;
  }
  DrawWalls();
  if (axisBehind_) {
    BroadcastToolEvent(cteBeforeDrawAxes);
    DrawAxes();
  }
  BroadcastToolEvent(cteBeforeDrawSeries);
  DoOnBeforeDrawSeries();
  DrawAllSeries();
  BroadcastToolEvent(cteAfterDrawSeries);
  if (!axisBehind_) {
    BroadcastToolEvent(cteBeforeDrawAxes);
    DrawAxes();
  }
  DrawTitlesAndLegend(false);
  if (GetZoom()->Active) DrawZoomRectangle();
  BroadcastToolEvent(cteAfterDraw);
  canvas.ResetState();
  DoOnAfterDraw();
}

bool TCustomAxisPanel::DrawBackWallAfter(int z) {
  TCanvas3D& canvas = *GetCanvas3D();
  if (canvas.GetSupportsFullRotation()) return false;
  const TFourPoints p = canvas.FourPointsFromRect(ChartRect, z);
  return !PlotCull(p.data());
}

void TCustomAxisPanel::DrawLegendShape(const TRect& rect) {
  TCanvas3D& canvas = *GetCanvas3D();
  canvas.Rectangle(rect);
  if (!canvas.Brush || !canvas.Pen || canvas.Brush->GetColor() != LegendBackColor) return;
  // A symbol the colour of the legend would vanish: outline it again.
  const TColor pen = canvas.Pen->GetColor();
  canvas.Brush->SetStyle(platform::bsClear);
  if (LegendBackColor == platform::clBlack) canvas.Pen->SetColor(platform::clWhite);
  canvas.Rectangle(rect);
  canvas.Pen->SetColor(pen);
}

void TCustomAxisPanel::DrawAxes() {
  if (!axisVisible_) return;
  DoOnBeforeDrawAxes();
  const bool bottomBehindWall = DrawBackWallAfter(0);
  for (size_t i = 0; i < AxesList().size(); ++i) {
    TChartAxis* axis = AxesList()[i];
    if (!axis->LayoutVisible()) continue;
    if (axis == BottomAxis() && bottomBehindWall) continue;
    axis->Draw(true);
  }
}

void TCustomAxisPanel::DrawAllSeries() {
  const bool backwards = DepthAxis()->GetInverted() != DrawBackWallAfter(Width3D());
  const auto& items = SeriesList().Items();
  const size_t n = items.size();
  for (size_t k = 0; k < n; ++k) {
    // By index and checked each time: an event may change the list.
    const size_t j = backwards ? n - 1 - k : k;
    if (j >= items.size()) continue;
    TChartSeries* s = items[j];
    if (!s->GetActive()) continue;
    if (!GetView3D() || !s->MoreSameZOrder())
      DrawOneSeries(*this, *s);
    else if (s->FirstInZOrder())
      DrawZOrderGroup(*this, *s);
  }
}

int TCustomAxisPanel::MaxTextWidth() {
  int widest = 0;
  for (TChartSeries* s : SeriesList().Items())
    for (int i = 0; i < s->Count(); ++i) {
      int lines = 0;
      widest = std::max(widest, MultiLineTextWidth(s->GetXLabel(i), lines));
    }
  return widest;
}

int TCustomAxisPanel::MaxMarkWidth() {
  int widest = 0;
  for (TChartSeries* s : SeriesList().Items())
    if (s->GetActive()) widest = std::max(widest, s->MaxMarkWidth());
  return widest;
}

void TCustomAxisPanel::DoOnBeforeDrawChart() {
  if (OnBeforeDrawChart) OnBeforeDrawChart(this);
}

void TCustomAxisPanel::DoOnBeforeDrawAxes() {
  if (OnBeforeDrawAxes) OnBeforeDrawAxes(this);
}

void TCustomAxisPanel::DoOnBeforeDrawSeries() {
  if (OnBeforeDrawSeries) OnBeforeDrawSeries(this);
}

void TCustomAxisPanel::DoOnAfterDraw() {
  if (OnAfterDraw) OnAfterDraw(this);
}

}  // namespace chart

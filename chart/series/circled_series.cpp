// Circled series: where the circle goes in the chart rectangle, angles and pixels, rotation, the
// circle's back colour, and the 3D view the series wants while it is active.
#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <numbers>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/geometry.h"
#include "chart/common/plot_const.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series_pointer.h"
#include "chart/series/pie_series.h"
#include "platform/vcl/printer.h"

namespace chart {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

constexpr auto Sat = platform::SaturatedInt;

double NormalAngle(double a) {
  a = std::fmod(a, kTwoPi);
  return a < 0 ? a + kTwoPi : a;
}

// The chart's own 3D view, kept while any circled series holds it. Saved once by the first
// holder and given back when the last one leaves, so the order pies come and go in does not
// matter.
struct HeldView {
  TView3DOptions saved{{}};
  std::vector<const TCircledSeries*> holders;
};

std::map<const TCustomAxisPanel*, HeldView>& HeldViews() {
  static std::map<const TCustomAxisPanel*, HeldView> views;
  return views;
}

}  // namespace

TCircledSeries::TCircledSeries(platform::TComponent* Owner) : TChartSeries(Owner) {
  gradient_ = std::make_unique<TPlotGradient>([this] { Repaint(); });
  gradient_->SetStartColor(platform::clWhite);
  gradient_->SetDirection(gdRadial);
  XValues()->SetName(PlotMsg_ValuesAngle);
  // The positions are the slice order, renumbered before every drawing.
  StorePositions = false;
}

TCircledSeries::~TCircledSeries() {
  // The base destructor leaves the chart, but by then this class's slots are gone.
  SetParentProperties(true);
}

// ---- Settings ----------------------------------------------------------------------------------

namespace {

// This series and every other series of its class on the chart.
template <typename F>
void ForSameClass(TCircledSeries* self, F&& f) {
  f(self);
  TCustomAxisPanel* chart = self->GetParentChart();
  if (!chart) return;
  for (TChartSeries* s : chart->SeriesList().Items()) {
    if (s == self || !self->SameClass(s)) continue;
    if (auto* c = dynamic_cast<TCircledSeries*>(s)) f(c);
  }
}

}  // namespace

void TCircledSeries::SetCircled(bool value) {
  ForSameClass(this, [value](TCircledSeries* s) {
    s->circled_ = value;
    if (!s->Loading()) s->customXRadius_ = s->customYRadius_ = 0;
  });
  Repaint();
}

void TCircledSeries::SetCustomXRadius(int value) {
  ForSameClass(this, [value](TCircledSeries* s) { s->customXRadius_ = value; });
  Repaint();
}

void TCircledSeries::SetCustomYRadius(int value) {
  ForSameClass(this, [value](TCircledSeries* s) { s->customYRadius_ = value; });
  Repaint();
}

void TCircledSeries::SetRotationAngle(int value) {
  const int angle = ((value % 360) + 360) % 360;
  rotationRadians_ = angle * std::numbers::pi / 180.0;
  SetIntegerProperty(rotationAngle_, angle);
}

void TCircledSeries::Rotate(int degrees) {
  SetRotationAngle(Sat(static_cast<long long>(rotationAngle_) + degrees % 360));
}

void TCircledSeries::SetGradient(const TCustomPlotGradient* value) {
  if (value) gradient_->Assign(value);
}

// ---- Angles and pixels -------------------------------------------------------------------------

void TCircledSeries::AngleToPos(double angle, double xRadius, double yRadius, int& x,
                                int& y) const {
  const double a = angle + rotationRadians_;
  x = Sat(static_cast<long long>(CentreX) + Round(std::cos(a) * xRadius));
  y = Sat(static_cast<long long>(CentreY) - Round(std::sin(a) * yRadius));
}

double TCircledSeries::PointToAngle(int x, int y) const {
  const double dx = static_cast<double>(x) - CentreX;
  const double dy = static_cast<double>(CentreY) - y;
  double a;
  if (dx == 0)
    a = dy > 0 ? std::numbers::pi / 2 : -std::numbers::pi / 2;
  else if (RadiusX == 0 || RadiusY == 0)
    a = 0;
  else
    a = std::atan2(dy / RadiusY, dx / RadiusX);
  return NormalAngle(NormalAngle(a) - rotationRadians_);
}

double TCircledSeries::PointToRadius(int x, int y) const {
  const TChartAxis* axis = GetVertAxisObj();
  if (!axis) return 0;
  const double dx = RadiusX != 0 ? (static_cast<double>(x) - CentreX) / RadiusX : 0;
  const double dy = RadiusY != 0 ? (static_cast<double>(y) - CentreY) / RadiusY : 0;
  const double range = axis->GetMaximum() - axis->GetMinimum();
  return (range > 0 ? range : 0) * std::sqrt(dx * dx + dy * dy) + axis->GetMinimum();
}

// ---- Circle placement --------------------------------------------------------------------------

void TCircledSeries::AdjustCircleRect() {
  TRect& r = CircleBox;
  if ((static_cast<long long>(r.Right) - r.Left) % 2 != 0) --r.Right;
  if ((static_cast<long long>(r.Bottom) - r.Top) % 2 != 0) --r.Bottom;
  if (static_cast<long long>(r.Right) - r.Left < 4) r.Right = Sat(r.Left + 4LL);
  if (static_cast<long long>(r.Bottom) - r.Top < 4) r.Bottom = Sat(r.Top + 4LL);
  CircleW = Sat(static_cast<long long>(r.Right) - r.Left);
  CircleH = Sat(static_cast<long long>(r.Bottom) - r.Top);
  CentreX = Sat(r.Left + static_cast<long long>(CircleW) / 2);
  CentreY = Sat(r.Top + static_cast<long long>(CircleH) / 2);
}

void TCircledSeries::CalcRadius() {
  if (customXRadius_ != 0) {
    RadiusX = customXRadius_;
    CircleW = Sat(2LL * RadiusX);
  } else {
    RadiusX = CircleW >> 1;
  }
  if (customYRadius_ != 0) {
    RadiusY = customYRadius_;
    CircleH = Sat(2LL * RadiusY);
  } else {
    RadiusY = CircleH >> 1;
  }
  CircleBox = TRect{Sat(static_cast<long long>(CentreX) - RadiusX),
                    Sat(static_cast<long long>(CentreY) - RadiusY),
                    Sat(static_cast<long long>(CentreX) + RadiusX),
                    Sat(static_cast<long long>(CentreY) + RadiusY)};
}

void TCircledSeries::CalcFirstLastVisibleIndex() {
  CalcFirstLastPage(FirstVisible, LastVisible);
}

void TCircledSeries::DoBeforeDrawValues() {
  TChartSeries::DoBeforeDrawValues();
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart) return;
  TCanvas3D& canvas = *chart->GetCanvas3D();
  CircleBox = chart->ChartRect;
  AdjustCircleRect();
  TSeriesMarks* marks = Marks();
  if (marks->GetVisible()) {
    long long l = marks->GetCallout()->GetLength();
    if (marks->GetFrame()->GetVisible()) l += 2LL * marks->GetFrame()->GetWidth();
    canvas.AssignFont(marks->GetFont());
    const long long vert = l + canvas.GetFontHeight();
    const long long w = canvas.TextWidth("W");
    const long long horiz = w + chart->MaxMarkWidth() + l;
    CircleBox.Top = Sat(CircleBox.Top + vert);
    CircleBox.Bottom = Sat(CircleBox.Bottom - vert);
    CircleBox.Left = Sat(CircleBox.Left + horiz);
    CircleBox.Right = Sat(CircleBox.Right - horiz);
    AdjustCircleRect();
  } else {
    CheckOtherSeriesMarks();
  }
  if (circled_) {
    const TRect screen = platform::ScreenRect();
    double r = screen.Bottom - screen.Top > 0
                   ? static_cast<double>(screen.Right - screen.Left) / (screen.Bottom - screen.Top)
                   : 1.0;
    const double ratio = TCustomPlotPanel::ScreenRatio(canvas.PlatformCanvas);
    if (ratio != 0) r /= ratio;
    if (!(r > 0) || !std::isfinite(r)) r = 1;
    CalcRadius();
    const long long c = Round(RadiusY * static_cast<long double>(r));
    if (c < RadiusX) {
      const long long d = RadiusX - c;
      CircleBox.Left = Sat(CircleBox.Left + d);
      CircleBox.Right = Sat(CircleBox.Right - d);
    } else {
      const long long d =
          RadiusY - static_cast<long long>(Round(RadiusX / static_cast<long double>(r)));
      CircleBox.Top = Sat(CircleBox.Top + d);
      CircleBox.Bottom = Sat(CircleBox.Bottom - d);
    }
    AdjustCircleRect();
  }
  CalcRadius();
}

void TCircledSeries::CheckOtherSeriesMarks() {
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart) return;
  for (TChartSeries* s : chart->SeriesList().Items()) {
    if (s == this || !s->GetActive() || !SameClass(s) || !s->Marks()->GetVisible()) continue;
    if (const auto* c = dynamic_cast<const TCircledSeries*>(s)) {
      CircleBox = c->CircleBox;
      AdjustCircleRect();
    }
    return;
  }
}

// ---- Colours -----------------------------------------------------------------------------------

bool TCircledSeries::HasBackColor() const {
  return circleBackColor_ != platform::clDefault && circleBackColor_ != platform::clNone;
}

TColor TCircledSeries::CalcCircleBackColor() {
  if (HasBackColor()) return circleBackColor_;
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart) return platform::clWhite;
  if (chart->GetMonochrome()) return platform::clWhite;
  return chart->GetBackColor();
}

// ---- 3D view -----------------------------------------------------------------------------------

void TCircledSeries::InitCustom3DOptions(TView3DOptions& /*options*/) const {}

void TCircledSeries::SetParentProperties(bool enableParentProps) {
  auto& views = HeldViews();
  if (enableParentProps) {
    if (!viewChart_) return;
    const auto it = views.find(viewChart_);
    TCustomAxisPanel* chart = viewChart_;
    viewChart_ = nullptr;
    if (it == views.end()) return;
    auto& holders = it->second.holders;
    holders.erase(std::remove(holders.begin(), holders.end(), this), holders.end());
    if (!holders.empty()) return;
    if (!chart->Destroying()) chart->GetView3DOptions()->Assign(&it->second.saved);
    views.erase(it);
    if (!chart->Destroying()) chart->Invalidate();
    return;
  }
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart || viewChart_ == chart) return;
  if (viewChart_) SetParentProperties(true);
  if (chart->GetCanvas3D()->GetSupportsFullRotation()) return;
  auto [it, first] = views.try_emplace(chart);
  if (first) it->second.saved.Assign(chart->GetView3DOptions());
  it->second.holders.push_back(this);
  viewChart_ = chart;
  InitCustom3DOptions(*chart->GetView3DOptions());
}

void TCircledSeries::UpdateHeldView() {
  SetParentProperties(!(GetActive() && GetParentChart()));
}

void TCircledSeries::SetActive(bool value) {
  TChartSeries::SetActive(value);
  UpdateHeldView();
}

void TCircledSeries::SetParentChart(TCustomAxisPanel* chart) {
  TChartSeries::SetParentChart(chart);
  UpdateHeldView();
}

void TCircledSeries::Added() {
  TChartSeries::Added();
  UpdateHeldView();
}

void TCircledSeries::Removed() {
  SetParentProperties(true);
  TChartSeries::Removed();
}

void TCircledSeries::DisableRotation() {
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart) return;
  TView3DOptions* o = chart->GetView3DOptions();
  o->SetOrthogonal(false);
  o->SetRotation(0);
  o->SetElevation(305);
}

void TCircledSeries::GalleryChanged3D(bool value) {
  TChartSeries::GalleryChanged3D(value);
  DisableRotation();
  SetCircled(!value);
}

// ---- Series slots ------------------------------------------------------------------------------

void TCircledSeries::Assign(const platform::TPersistent* source) {
  if (const auto* c = dynamic_cast<const TCircledSeries*>(source)) {
    circled_ = c->circled_;
    rotationAngle_ = c->rotationAngle_;
    rotationRadians_ = c->rotationRadians_;
    customXRadius_ = c->customXRadius_;
    customYRadius_ = c->customYRadius_;
    circleBackColor_ = c->circleBackColor_;
    gradient_->Assign(c->gradient_.get());
  }
  TChartSeries::Assign(source);
}

void TCircledSeries::CalcZOrder() {
  // No slot of its own: the circle stands in front of the chart's depth.
  if (IsZOrderAutomatic())
    AutoZOrder = -1;
  else
    TChartSeries::CalcZOrder();
}

double TCircledSeries::MaxXValue() {
  const TChartAxis* axis = GetHorizAxisObj();
  return axis ? axis->GetMaximum() : 0;
}

double TCircledSeries::MinXValue() {
  const TChartAxis* axis = GetHorizAxisObj();
  return axis ? axis->GetMinimum() : 0;
}

double TCircledSeries::MaxYValue() {
  const TChartAxis* axis = GetVertAxisObj();
  return axis ? axis->GetMaximum() : 0;
}

double TCircledSeries::MinYValue() {
  const TChartAxis* axis = GetVertAxisObj();
  return axis ? axis->GetMinimum() : 0;
}

}  // namespace chart

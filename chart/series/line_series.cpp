// Line, area and point series: settings, class set-ups, stacking, extent, origin and margins.
#include "chart/series/line_series.h"

#include <algorithm>
#include <cmath>

#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"

namespace chart {

namespace {

// Both classes are the same one: the switches that make a class are only copied between equals.
bool SameExactClass(const TCustomChartSeries* a, const TCustomChartSeries* b) {
  return a->ClassIncludes(b) && b->ClassIncludes(a);
}

}  // namespace

// ---- Construction and settings -----------------------------------------------------------------

TCustomSeries::TCustomSeries(platform::TComponent* Owner) : TCustomLineSeries(Owner) {
  areaBrush_ = std::make_unique<TChartBrush>([this] { Repaint(); });
  areaBrush_->SetStyle(platform::bsSolid);
  areaLinesPen_ = std::make_unique<TChartPen>([this] { Repaint(); });
  gradient_ = std::make_unique<TPlotGradient>([this] { Repaint(); });
  outLine_ = std::make_unique<TChartHiddenPen>([this] { Repaint(); });
  pointer_ = std::make_unique<TSeriesPointer>(this);
  shadow_ = std::make_unique<TPlotShadow>([this] { Repaint(); });
  shadow_->SetSize(0);
}

TCustomSeries::~TCustomSeries() = default;

void TCustomSeries::SetAreaChartBrush(const TChartBrush* value) {
  if (value) areaBrush_->Assign(*value);
}

platform::TBrushStyle TCustomSeries::GetAreaBrush() const {
  return areaBrush_->GetStyle();
}

void TCustomSeries::SetAreaBrush(platform::TBrushStyle value) {
  areaBrush_->SetStyle(value);
}

void TCustomSeries::SetAreaLinesPen(const TChartPen* value) {
  if (value) areaLinesPen_->Assign(*value);
}

platform::TBrushStyle TCustomSeries::GetLineBrush() const {
  return GetBrush()->GetStyle();
}

void TCustomSeries::SetLineBrush(platform::TBrushStyle value) {
  GetBrush()->SetStyle(value);
}

void TCustomSeries::SetGradient(const TCustomPlotGradient* value) {
  if (value) gradient_->Assign(value);
}

void TCustomSeries::SetOutLine(const TChartPen* value) {
  if (value) outLine_->Assign(*value);
}

void TCustomSeries::SetPointer(const TSeriesPointer* value) {
  if (value) pointer_->Assign(value);
}

void TCustomSeries::SetShadow(const TPlotShadow* value) {
  if (value) shadow_->Assign(value);
}

void TCustomSeries::SetStacked(TCustomSeriesStack value) {
  if (stacked_ == value) return;
  stacked_ = value;
  if (TCustomAxisPanel* chart = GetParentChart())
    for (TChartSeries* s : chart->SeriesList().Items())
      if (ClassIncludes(s)) static_cast<TCustomSeries*>(s)->stacked_ = value;
  Repaint();
}

void TCustomSeries::SetTransparency(int value) {
  SetIntegerProperty(transparency_, std::clamp(value, 0, 100));
}

void TCustomSeries::SetParentChart(TCustomAxisPanel* chart) {
  TCustomLineSeries::SetParentChart(chart);
  pointer_->SetParent(chart);
}

void TCustomSeries::Assign(const platform::TPersistent* source) {
  if (const auto* s = dynamic_cast<const TCustomSeries*>(source); s && s != this) {
    areaBrush_->Assign(*s->areaBrush_);
    areaColor_ = s->areaColor_;
    areaLinesPen_->Assign(*s->areaLinesPen_);
    clickableLine_ = s->clickableLine_;
    colorEachLine_ = s->colorEachLine_;
    dark3D_ = s->dark3D_;
    gradient_->Assign(s->gradient_.get());
    invertedStairs_ = s->invertedStairs_;
    lineHeight_ = s->lineHeight_;
    outLine_->Assign(*s->outLine_);
    pointer_->Assign(s->pointer_.get());
    shadow_->Assign(s->shadow_.get());
    stacked_ = s->stacked_;
    stairs_ = s->stairs_;
    transparency_ = s->transparency_;
    // A line series made from an area keeps its line, and the other way round.
    if (SameExactClass(this, s)) {
      drawArea_ = s->drawArea_;
      JoinPoints = s->JoinPoints;
    }
  }
  TCustomLineSeries::Assign(source);
}

// ---- Stacking ----------------------------------------------------------------------------------

TChartAxis* TCustomSeries::ValueAxis() const {
  return MandatoryAxis();
}

TChartAxis* TCustomSeries::PositionAxis() const {
  return YIsValue() ? GetHorizAxisObj() : GetVertAxisObj();
}

double TCustomSeries::PointOrigin(int valueIndex, bool sumAll) {
  TCustomAxisPanel* chart = GetParentChart();
  if (!chart || valueIndex < 0 || valueIndex >= Count()) return 0;
  const bool positive = MainValues()->GetValue(valueIndex) >= 0;
  double sum = 0;
  for (TChartSeries* s : chart->SeriesList().Items()) {
    if (!sumAll && s == this) break;
    if (!s->GetActive() || !SameClass(s) || s->Count() <= valueIndex) continue;
    const double v = s->GetOriginValue(valueIndex);
    if (positive ? v > 0 : v < 0) sum += v;
  }
  return sum;
}

int TCustomSeries::CalcStackedPos(int valueIndex, double value) {
  TChartAxis* axis = ValueAxis();
  if (!axis) return 0;
  const double origin = PointOrigin(valueIndex, false) + value;
  if (stacked_ == cssStack100) {
    const double total = PointOrigin(valueIndex, true);
    const double percent = origin * 100.0 / total;
    // A total of 0 has no share to show: the point sits at the axis' end.
    if (total == 0 || !std::isfinite(percent)) return axis->IEndPos();
    return axis->CalcPosValue(percent);
  }
  return std::min(axis->CalcPosValue(origin), axis->IEndPos());
}

int TCustomSeries::GetOriginPos(int valueIndex) {
  if (IsStacked()) return CalcStackedPos(valueIndex, 0);
  const TChartAxis* axis = ValueAxis();
  if (!axis) return 0;
  if (YIsValue()) return axis->GetInverted() ? axis->IStartPos() : axis->IEndPos();
  return axis->GetInverted() ? axis->IEndPos() : axis->IStartPos();
}

void TCustomSeries::CalcZOrder() {
  TCustomAxisPanel* chart = GetParentChart();
  // Stacked series share one depth: the last one given out (the first takes a new one).
  if (chart && IsStacked() && IsZOrderAutomatic() && chart->MaxZOrder >= 0) {
    AutoZOrder = chart->MaxZOrder;
    return;
  }
  TCustomLineSeries::CalcZOrder();
}

// ---- Extent ------------------------------------------------------------------------------------

double TCustomSeries::StackedMaxValue(double baseMax) {
  if (stacked_ == cssStack100) return 100;
  double r = baseMax;
  if (stacked_ == cssStack)
    for (int i = 0; i < Count(); ++i)
      r = std::max(r, PointOrigin(i, false) + MainValues()->GetValue(i));
  return r;
}

double TCustomSeries::StackedMinValue(double baseMin) {
  if (stacked_ == cssStack100) return 0;
  double r = baseMin;
  if (stacked_ == cssStack)
    for (int i = 0; i < Count(); ++i)
      r = std::min(r, PointOrigin(i, false) + MainValues()->GetValue(i));
  return r;
}

double TCustomSeries::MaxXValue() {
  const double v = TCustomLineSeries::MaxXValue();
  return YIsValue() ? v : StackedMaxValue(v);
}

double TCustomSeries::MinXValue() {
  const double v = TCustomLineSeries::MinXValue();
  return YIsValue() ? v : StackedMinValue(v);
}

double TCustomSeries::MaxYValue() {
  const double v = TCustomLineSeries::MaxYValue();
  return YIsValue() ? StackedMaxValue(v) : v;
}

double TCustomSeries::MinYValue() {
  const double v = TCustomLineSeries::MinYValue();
  return YIsValue() ? StackedMinValue(v) : v;
}

// ---- Pixels and margins ------------------------------------------------------------------------

int TCustomSeries::CalcXPos(int valueIndex) {
  if (!YIsValue() && IsStacked())
    return CalcStackedPos(valueIndex, MainValues()->GetValue(valueIndex));
  return TCustomLineSeries::CalcXPos(valueIndex);
}

int TCustomSeries::CalcYPos(int valueIndex) {
  if (YIsValue() && IsStacked())
    return CalcStackedPos(valueIndex, MainValues()->GetValue(valueIndex));
  return TCustomLineSeries::CalcYPos(valueIndex);
}

void TCustomSeries::CalcHorizMargins(int& left, int& right) {
  TCustomLineSeries::CalcHorizMargins(left, right);
  pointer_->CalcHorizMargins(left, right);
  if (JoinPoints) {
    if (stairs_) {
      left = std::max(left, GetPen()->GetWidth());
      right = std::max(right, GetPen()->GetWidth());
    }
    if (outLine_->GetVisible()) {
      left = std::max(left, outLine_->GetWidth());
      right = std::max(right, outLine_->GetWidth());
    }
  }
  if (!YIsValue() && Marks()->GetVisible()) right = std::max(left, CalcMarkLength(-1));
}

void TCustomSeries::CalcVerticalMargins(int& top, int& bottom) {
  TCustomLineSeries::CalcVerticalMargins(top, bottom);
  pointer_->CalcVerticalMargins(top, bottom);
  if (JoinPoints) {
    if (stairs_) {
      top = std::max(top, GetPen()->GetWidth());
      bottom = std::max(bottom, GetPen()->GetWidth());
    }
    if (outLine_->GetVisible()) {
      top = std::max(top, outLine_->GetWidth());
      bottom = std::max(bottom, outLine_->GetWidth());
    }
  }
  if (YIsValue() && Marks()->GetVisible()) top = std::max(bottom, CalcMarkLength(-1));
  TCustomAxisPanel* chart = GetParentChart();
  if (lineHeight_ > 0 && !drawArea_ && chart && chart->GetView3D())
    bottom = std::max(bottom, lineHeight_);
}

// ---- The five classes --------------------------------------------------------------------------

TLineSeries::TLineSeries(platform::TComponent* Owner) : TCustomSeries(Owner) {
  JoinPoints = true;
  GetPointer()->Hide();
  CentredFunctionPoint = false;
}

THorizLineSeries::THorizLineSeries(platform::TComponent* Owner) : TLineSeries(Owner) {
  SetHorizontal();
  LimitToVisible = false;
  XValues()->SetOrder(loNone);
  YValues()->SetOrder(loAscending);
}

TPointSeries::TPointSeries(platform::TComponent* Owner) : TCustomSeries(Owner) {
  GetPointer()->Show();
  SetDrawArea(false);
  JoinPoints = false;
  SetClickableLine(false);
  TMarksCallout* callout = Marks()->GetCallout();
  callout->DefaultLength = 0;
  callout->SetLength(0);
}

void TPointSeries::Assign(const platform::TPersistent* source) {
  TCustomSeries::Assign(source);
  SetDrawArea(false);
  JoinPoints = false;
  SetClickableLine(false);
}

int TPointSeries::GetTransparency() const {
  return GetPointer()->GetTransparency();
}

void TPointSeries::SetTransparency(int value) {
  GetPointer()->SetTransparency(value);
}

TAreaSeries::TAreaSeries(platform::TComponent* Owner) : TCustomSeries(Owner) {
  SetDrawArea(true);
  GetPointer()->Hide();
  CentredFunctionPoint = false;
}

TMultiArea TAreaSeries::GetMultiArea() const {
  switch (GetStacked()) {
    case cssStack:
      return maStacked;
    case cssStack100:
      return maStacked100;
    default:
      return maNone;
  }
}

void TAreaSeries::SetMultiArea(TMultiArea value) {
  switch (value) {
    case maStacked:
      SetStacked(cssStack);
      break;
    case maStacked100:
      SetStacked(cssStack100);
      break;
    default:
      SetStacked(cssNone);
      break;
  }
}

void TAreaSeries::Assign(const platform::TPersistent* source) {
  if (const auto* a = dynamic_cast<const TAreaSeries*>(source); a && a != this) {
    useYOrigin_ = a->useYOrigin_;
    yOrigin_ = a->yOrigin_;
  }
  TCustomSeries::Assign(source);
}

int TAreaSeries::GetOriginPos(int valueIndex) {
  // A stack starts on the series below, whatever the origin.
  if (useYOrigin_ && !IsStacked()) {
    const TChartAxis* axis = ValueAxis();
    return axis ? axis->CalcPosValue(yOrigin_) : 0;
  }
  return TCustomSeries::GetOriginPos(valueIndex);
}

double TAreaSeries::MaxXValue() {
  const double v = TCustomSeries::MaxXValue();
  return useYOrigin_ && !YIsValue() ? std::max(v, yOrigin_) : v;
}

double TAreaSeries::MinXValue() {
  const double v = TCustomSeries::MinXValue();
  return useYOrigin_ && !YIsValue() ? std::min(v, yOrigin_) : v;
}

double TAreaSeries::MaxYValue() {
  const double v = TCustomSeries::MaxYValue();
  return useYOrigin_ && YIsValue() ? std::max(v, yOrigin_) : v;
}

double TAreaSeries::MinYValue() {
  const double v = TCustomSeries::MinYValue();
  return useYOrigin_ && YIsValue() ? std::min(v, yOrigin_) : v;
}

THorizAreaSeries::THorizAreaSeries(platform::TComponent* Owner) : TAreaSeries(Owner) {
  SetHorizontal();
  XValues()->SetOrder(loNone);
  YValues()->SetOrder(loAscending);
  GetGradient()->SetDirection(gdRightLeft);
}

}  // namespace chart

// The axis object: construction, settings and their checks, Assign.
#include "chart/engine/axis.h"

#include <cmath>

#include "chart/common/plot_const.h"
#include "chart/engine/axis_panel.h"

namespace chart {

TChartAxis::TChartAxis(TCustomAxisPanel* chart, bool horizontal, bool otherSide)
    : chart_(chart),
      horizontal_(horizontal),
      otherSide_(otherSide),
      zPosition_(otherSide ? 100 : 0.01),
      axisValuesFormat_(PlotMsg_DefValueFormat) {
  SetCalcPosValue();
  items_ = std::make_unique<TAxisItems>(chart);
  auto notify = [this] { Changed(); };
  title_ = std::make_unique<TChartAxisTitle>(chart);
  ticks_ = std::make_unique<TDarkGrayPen>(notify);
  ticksInner_ = std::make_unique<TDarkGrayPen>(notify);
  minorTicks_ = std::make_unique<TDarkGrayPen>(notify);
  grid_ = std::make_unique<TAxisGridPen>(notify);
  minorGrid_ = std::make_unique<TChartHiddenPen>(notify);
  axisPen_ = std::make_unique<TChartAxisPen>(notify);
}

TChartAxis::~TChartAxis() = default;

bool TChartAxis::IsCustom() const {
  if (!chart_) return false;
  const auto& axes = chart_->AxesList();
  for (size_t i = 0; i < axes.size(); ++i)
    if (axes[i] == this) return i > 5;
  return false;
}

void TChartAxis::Changed() {
  if (chart_) chart_->Invalidate();
}

void TChartAxis::SetBool(bool& variable, bool value) {
  if (chart_)
    chart_->SetBooleanProperty(variable, value);
  else
    variable = value;
}

void TChartAxis::SetInt(int& variable, int value) {
  if (chart_)
    chart_->SetIntegerProperty(variable, value);
  else
    variable = value;
}

void TChartAxis::SetDouble(double& variable, double value) {
  if (chart_)
    chart_->SetDoubleProperty(variable, value);
  else
    variable = value;
}

void TChartAxis::SetString(std::string& variable, const std::string& value) {
  if (chart_)
    chart_->SetStringProperty(variable, value);
  else
    variable = value;
}

// ---- Range settings ------------------------------------------------------------------------

void TChartAxis::SetAutomatic(bool value) {
  SetBool(automatic_, value);
  if (chart_ && chart_->Loading()) return;
  automaticMinimum_ = value;
  automaticMaximum_ = value;
}

void TChartAxis::SetAutomaticMaximum(bool value) {
  SetBool(automaticMaximum_, value);
  if (!value)
    automatic_ = false;
  else if (automaticMinimum_)
    automatic_ = true;
}

void TChartAxis::SetAutomaticMinimum(bool value) {
  SetBool(automaticMinimum_, value);
  if (!value)
    automatic_ = false;
  else if (automaticMaximum_)
    automatic_ = true;
}

void TChartAxis::SetMaximum(double value) {
  const bool loading = chart_ && chart_->Loading();
  // NaN and infinities would leave no scale to map with.
  if (!std::isfinite(value) || (!loading && value < minimum_))
    throw AxisException(PlotMsg_AxisMaxMin);
  SetDouble(maximum_, value);
}

void TChartAxis::SetMinimum(double value) {
  const bool loading = chart_ && chart_->Loading();
  if (!std::isfinite(value) || (!loading && value > maximum_))
    throw AxisException(PlotMsg_AxisMinMax);
  SetDouble(minimum_, value);
}

void TChartAxis::SetMaximumOffset(int value) {
  SetInt(maximumOffset_, value);
}
void TChartAxis::SetMinimumOffset(int value) {
  SetInt(minimumOffset_, value);
}

void TChartAxis::SetIncrement(double value) {
  // An unbounded step would leave the label loops nothing to walk.
  if (!(value >= 0) || !std::isfinite(value)) throw AxisException(PlotMsg_AxisIncrementNeg);
  SetDouble(desiredIncrement_, value);
}

void TChartAxis::SetLogarithmic(bool value) {
  if (value == logarithmic_) return;
  if (value && !(chart_ && chart_->Loading())) {
    if (IsDateTime()) throw AxisException(PlotMsg_AxisLogDateTime);
    // The range is checked as the logarithmic axis would take it.
    logarithmic_ = true;
    try {
      AdjustMaxMin();
    } catch (...) {
      logarithmic_ = false;
      throw;
    }
    const bool negative = iMinimum_ < 0 || iMaximum_ < 0;
    logarithmic_ = false;
    if (negative) {
      InternalCalcRange();
      throw AxisException(PlotMsg_AxisLogNotPositive);
    }
  }
  SetBool(logarithmic_, value);
  SetCalcPosValue();
  InternalCalcRange();
}

void TChartAxis::SetLogarithmicBase(double value) {
  if (!(value > 0) || value == 1 || !std::isfinite(value)) throw AxisException(PlotMsg_AxisLogBase);
  SetDouble(logarithmicBase_, value);
}

void TChartAxis::SetInverted(bool value) {
  SetBool(inverted_, value);
}

void TChartAxis::SetHorizontal(bool value) {
  SetBool(horizontal_, value);
  SetCalcPosValue();
}

void TChartAxis::SetOtherSide(bool value) {
  SetBool(otherSide_, value);
}
void TChartAxis::SetVisible(bool value) {
  SetBool(visible_, value);
}
void TChartAxis::SetStartPosition(double value) {
  SetDouble(startPosition_, value);
}
void TChartAxis::SetEndPosition(double value) {
  SetDouble(endPosition_, value);
}
void TChartAxis::SetPositionPercent(double value) {
  SetDouble(positionPercent_, value);
}

void TChartAxis::SetPositionUnits(TPlotUnits value) {
  if (value == positionUnits_) return;
  positionUnits_ = value;
  Changed();
}

void TChartAxis::SetZPosition(double value) {
  SetDouble(zPosition_, value == 0 ? 0.01 : value);
}

bool TChartAxis::IsZPositionStored() const {
  if (IsDepthAxis()) return false;
  return otherSide_ ? zPosition_ != 100 : zPosition_ > 0.011;
}

// ---- Lines, title and labels ---------------------------------------------------------------

void TChartAxis::SetAxis(const TChartAxisPen* value) {
  if (value) axisPen_->Assign(*value);
}
void TChartAxis::SetGrid(const TAxisGridPen* value) {
  if (value) grid_->Assign(*value);
}
void TChartAxis::SetMinorGrid(const TChartHiddenPen* value) {
  if (value) minorGrid_->Assign(*value);
}
void TChartAxis::SetTicks(const TDarkGrayPen* value) {
  if (value) ticks_->Assign(*value);
}
void TChartAxis::SetTicksInner(const TDarkGrayPen* value) {
  if (value) ticksInner_->Assign(*value);
}
void TChartAxis::SetMinorTicks(const TDarkGrayPen* value) {
  if (value) minorTicks_->Assign(*value);
}
void TChartAxis::SetTickLength(int value) {
  SetInt(tickLength_, value);
}
void TChartAxis::SetTickInnerLength(int value) {
  SetInt(tickInnerLength_, value);
}
void TChartAxis::SetMinorTickLength(int value) {
  SetInt(minorTickLength_, value);
}
void TChartAxis::SetMinorTickCount(int value) {
  SetInt(minorTickCount_, value);
}
void TChartAxis::SetTickOnLabelsOnly(bool value) {
  SetBool(tickOnLabelsOnly_, value);
}

void TChartAxis::SetTitle(const TChartAxisTitle* value) {
  if (value) title_->Assign(value);
}
void TChartAxis::SetTitleSize(int value) {
  SetInt(titleSize_, value);
}

bool TChartAxis::GetLabels() const {
  return items_->Format()->GetVisible();
}
void TChartAxis::SetLabels(bool value) {
  items_->Format()->SetVisible(value);
}
TPlotFont* TChartAxis::GetLabelsFont() const {
  return items_->Format()->GetFont();
}
void TChartAxis::SetLabelsFont(const TPlotFont* value) {
  items_->Format()->SetFont(value);
}

void TChartAxis::SetLabelsAlign(TAxisLabelAlign value) {
  if (value == labelsAlign_) return;
  labelsAlign_ = value;
  Changed();
}

void TChartAxis::SetLabelsAlternate(bool value) {
  SetBool(labelsAlternate_, value);
}
void TChartAxis::SetLabelsAngle(int value) {
  SetInt(labelsAngle_, value % 360);
}
void TChartAxis::SetLabelsExponent(bool value) {
  SetBool(labelsExponent_, value);
}
void TChartAxis::SetLabelsMultiLine(bool value) {
  SetBool(labelsMultiLine_, value);
}
void TChartAxis::SetLabelsOnAxis(bool value) {
  SetBool(labelsOnAxis_, value);
}

void TChartAxis::SetLabelsSeparation(int value) {
  if (value < 0) throw AxisException(PlotMsg_AxisLabelSep);
  SetInt(labelsSeparation_, value);
}

void TChartAxis::SetLabelsSize(int value) {
  SetInt(labelsSize_, value);
}

void TChartAxis::SetLabelStyle(TAxisLabelStyle value) {
  if (value == labelStyle_) return;
  labelStyle_ = value;
  Changed();
}

void TChartAxis::SetAxisValuesFormat(const std::string& value) {
  SetString(axisValuesFormat_, value);
}
bool TChartAxis::IsAxisValuesFormatStored() const {
  return axisValuesFormat_ != PlotMsg_DefValueFormat;
}
void TChartAxis::SetDateTimeFormat(const std::string& value) {
  SetString(dateTimeFormat_, value);
}
void TChartAxis::SetExactDateTime(bool value) {
  SetBool(exactDateTime_, value);
}
void TChartAxis::SetRoundFirstLabel(bool value) {
  SetBool(roundFirstLabel_, value);
}

// ---- Assign --------------------------------------------------------------------------------

void TChartAxis::Assign(const platform::TPersistent* source) {
  const auto* a = dynamic_cast<const TChartAxis*>(source);
  if (!a) platform::AssignError(source, this);
  if (a == this) return;
  axisPen_->Assign(*a->axisPen_);
  items_->CopyFrom(*a->items_);
  labelsAlign_ = a->labelsAlign_;
  labelsAlternate_ = a->labelsAlternate_;
  labelsAngle_ = a->labelsAngle_;
  labelsExponent_ = a->labelsExponent_;
  labelsMultiLine_ = a->labelsMultiLine_;
  labelsOnAxis_ = a->labelsOnAxis_;
  labelsSeparation_ = a->labelsSeparation_;
  labelsSize_ = a->labelsSize_;
  labelStyle_ = a->labelStyle_;
  ticks_->Assign(*a->ticks_);
  ticksInner_->Assign(*a->ticksInner_);
  minorTicks_->Assign(*a->minorTicks_);
  grid_->Assign(*a->grid_);
  minorGrid_->Assign(*a->minorGrid_);
  tickLength_ = a->tickLength_;
  tickInnerLength_ = a->tickInnerLength_;
  minorTickLength_ = a->minorTickLength_;
  axisValuesFormat_ = a->axisValuesFormat_;
  desiredIncrement_ = a->desiredIncrement_;
  maximum_ = a->maximum_;
  minimum_ = a->minimum_;
  maximumOffset_ = a->maximumOffset_;
  minimumOffset_ = a->minimumOffset_;
  automatic_ = a->automatic_;
  automaticMaximum_ = a->automaticMaximum_;
  automaticMinimum_ = a->automaticMinimum_;
  title_->Assign(a->title_.get());
  dateTimeFormat_ = a->dateTimeFormat_;
  logarithmic_ = a->logarithmic_;
  logarithmicBase_ = a->logarithmicBase_;
  inverted_ = a->inverted_;
  exactDateTime_ = a->exactDateTime_;
  roundFirstLabel_ = a->roundFirstLabel_;
  tickOnLabelsOnly_ = a->tickOnLabelsOnly_;
  startPosition_ = a->startPosition_;
  endPosition_ = a->endPosition_;
  positionPercent_ = a->positionPercent_;
  positionUnits_ = a->positionUnits_;
  visible_ = a->visible_;
  horizontal_ = a->horizontal_;
  otherSide_ = a->otherSide_;
  SetCalcPosValue();
  Changed();
}

// ---- Depth axis ----------------------------------------------------------------------------

void TChartAxis::InitDepthAxis() {
  // A depth axis runs along its edge of the chart (OtherSide: the bottom), at no offset.
  zPosition_ = 0.01;
  visible_ = false;
  SetCalcPosValue();
}

TChartDepthAxis::TChartDepthAxis(TCustomAxisPanel* chart, bool otherSide)
    : TChartAxis(chart, false, otherSide) {
  InitDepthAxis();
}

void TChartDepthAxis::SetInverted(bool value) {
  TChartAxis::SetInverted(value);
  TCustomAxisPanel* chart = ParentChart();
  if (!chart || chart->AxesList().size() < 6) return;
  TChartAxis* twin = chart->DepthAxis() == this ? chart->DepthTopAxis() : chart->DepthAxis();
  if (auto* depth = dynamic_cast<TChartDepthAxis*>(twin); depth && depth != this)
    depth->StoreInverted(value);
}

}  // namespace chart

// Chart elements: the active flag, pen and brush, the parent chart and the typed setters that
// repaint it; and what every series adds (title, legend flag, identifier, style).
#include "chart/engine/chart_element.h"

#include "chart/engine/axis_panel.h"

namespace chart {

// ---- TCustomChartElement -------------------------------------------------------------------

TCustomChartElement::TCustomChartElement(platform::TComponent* Owner) : TComponent(Owner) {
  brush_ = std::make_unique<TChartBrush>([this] { CanvasChanged(); });
  pen_ = std::make_unique<TChartPen>([this] { CanvasChanged(); });
}

TCustomChartElement::~TCustomChartElement() {
  // The pen and brush must not call back into a half-destroyed element.
  pen_->OnChange = nullptr;
  brush_->OnChange = nullptr;
  pen_.reset();
  brush_.reset();
  // Derived classes leave their chart themselves; here only the link goes.
  parentChart_ = nullptr;
}

void TCustomChartElement::SetActive(bool value) {
  SetBooleanProperty(active_, value);
}

void TCustomChartElement::SetParentChart(TCustomAxisPanel* chart) {
  parentChart_ = chart;
}

void TCustomChartElement::SetPen(const TChartPen* value) {
  if (value) pen_->Assign(*value);
}

void TCustomChartElement::SetBrush(const TChartBrush* value) {
  if (value) brush_->Assign(*value);
}

void TCustomChartElement::Repaint() {
  if (parentChart_) parentChart_->Invalidate();
}

void TCustomChartElement::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TCustomChartElement*>(source);
  if (!other) platform::AssignError(source, this);
  active_ = other->active_;
  brush_->Assign(*other->brush_);
  SetPen(other->pen_.get());
  Tag = other->Tag;
}

platform::TComponent* TCustomChartElement::GetParentComponent() const {
  return parentChart_;
}

void TCustomChartElement::SetParentComponent(platform::TComponent* value) {
  if (auto* chart = dynamic_cast<TCustomAxisPanel*>(value)) SetParentChart(chart);
}

// The chart's typed setters repaint only on a change; without a chart there is nothing to repaint.
void TCustomChartElement::SetBooleanProperty(bool& variable, bool value) {
  if (parentChart_)
    parentChart_->SetBooleanProperty(variable, value);
  else
    variable = value;
}

void TCustomChartElement::SetColorProperty(platform::TColor& variable, platform::TColor value) {
  if (parentChart_)
    parentChart_->SetColorProperty(variable, value);
  else
    variable = value;
}

void TCustomChartElement::SetDoubleProperty(double& variable, double value) {
  if (parentChart_)
    parentChart_->SetDoubleProperty(variable, value);
  else
    variable = value;
}

void TCustomChartElement::SetIntegerProperty(int& variable, int value) {
  if (parentChart_)
    parentChart_->SetIntegerProperty(variable, value);
  else
    variable = value;
}

void TCustomChartElement::SetStringProperty(std::string& variable, const std::string& value) {
  if (parentChart_)
    parentChart_->SetStringProperty(variable, value);
  else
    variable = value;
}

// ---- TCustomChartSeries --------------------------------------------------------------------

TCustomChartSeries::TCustomChartSeries(platform::TComponent* Owner) : TCustomChartElement(Owner) {}

void TCustomChartSeries::SetActive(bool value) {
  TCustomChartElement::SetActive(value);
  if (TCustomAxisPanel* chart = GetParentChart()) chart->BroadcastSeriesEvent(this, seChangeActive);
}

void TCustomChartSeries::SetShowInLegend(bool value) {
  SetBooleanProperty(showInLegend_, value);
}

void TCustomChartSeries::SetTitle(const std::string& value) {
  SetStringProperty(title_, value);
  if (TCustomAxisPanel* chart = GetParentChart()) chart->BroadcastSeriesEvent(this, seChangeTitle);
}

void TCustomChartSeries::Assign(const platform::TPersistent* source) {
  if (const auto* other = dynamic_cast<const TCustomChartSeries*>(source)) {
    showInLegend_ = other->showInLegend_;
    title_ = other->title_;
    style_ = other->style_;
    identifier_ = other->identifier_;
  }
  TCustomChartElement::Assign(source);
}

void TCustomChartSeries::Removed() {
  StoreParentChart(nullptr);
}

void TCustomChartSeries::GalleryChanged3D(bool value) {
  if (TCustomAxisPanel* chart = GetParentChart()) chart->SetView3D(value);
}

bool TCustomChartSeries::SameClass(const TCustomChartSeries* other) const {
  return other && (ClassIncludes(other) || other->ClassIncludes(this));
}

}  // namespace chart

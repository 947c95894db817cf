#include "chart/engine/axis_parts.h"

#include "chart/common/chart_exception.h"
#include "chart/common/format_float.h"
#include "chart/panel/plot_panel.h"

namespace chart {

// ---- Pens ----------------------------------------------------------------------------------

TChartAxisPen::TChartAxisPen(std::function<void()> onChange) : TChartPen() {
  SetWidth(2);
  OnChange = std::move(onChange);
}

void TChartAxisPen::Assign(const platform::TPen& source) {
  if (const auto* pen = dynamic_cast<const TChartAxisPen*>(&source)) lineMode_ = pen->lineMode_;
  TChartPen::Assign(source);
}

void TChartAxisPen::SetLineMode(const TAxisLineMode& value) {
  if (value == lineMode_) return;
  lineMode_ = value;
  Changed();
}

TAxisGridPen::TAxisGridPen(std::function<void()> onChange) : TDottedGrayPen() {
  OnChange = std::move(onChange);
}

void TAxisGridPen::Assign(const platform::TPen& source) {
  if (const auto* pen = dynamic_cast<const TAxisGridPen*>(&source)) {
    drawEvery_ = pen->drawEvery_;
    centered_ = pen->centered_;
    zPosition_ = pen->zPosition_;
  }
  TDottedGrayPen::Assign(source);
}

void TAxisGridPen::SetDrawEvery(const int& value) {
  if (value == drawEvery_) return;
  drawEvery_ = value;
  Changed();
}

void TAxisGridPen::SetCentered(const bool& value) {
  if (value == centered_) return;
  centered_ = value;
  Changed();
}

void TAxisGridPen::SetZPosition(const double& value) {
  if (value == zPosition_) return;
  zPosition_ = value;
  Changed();
}

// ---- Title ---------------------------------------------------------------------------------

TChartAxisTitle::TChartAxisTitle(TCustomPlotPanel* parent) : TPlotCustomShape(parent) {}

void TChartAxisTitle::SetAngle(const int& value) {
  const int v = value % 360;
  if (v == angle_) return;
  angle_ = v;
  Repaint();
}

void TChartAxisTitle::SetCaption(const std::string& value) {
  if (value == caption_) return;
  caption_ = value;
  Repaint();
}

void TChartAxisTitle::Assign(const platform::TPersistent* source) {
  if (const auto* other = dynamic_cast<const TChartAxisTitle*>(source); other && other != this) {
    SetAngle(other->angle_);
    SetCaption(other->caption_);
  }
  TPlotCustomShape::Assign(source);
}

// ---- Custom labels -------------------------------------------------------------------------

TAxisItem::TAxisItem(TCustomPlotPanel* parent) : TPlotCustomShape(parent) {
  DefaultTransparent = true;
  SetTransparent(true);
}

void TAxisItem::SetText(const std::string& value) {
  if (value == text_) return;
  text_ = value;
  Repaint();
}

void TAxisItem::SetValue(const double& value) {
  if (value == value_) return;
  value_ = value;
  Repaint();
}

TAxisItems::TAxisItems(TCustomPlotPanel* parent)
    : parent_(parent), format_(std::make_unique<TPlotCustomShape>(parent)) {
  format_->DefaultTransparent = true;
  format_->SetTransparent(true);
}

TAxisItems::~TAxisItems() = default;

TAxisItem* TAxisItems::Add(double value) {
  auto item = std::make_unique<TAxisItem>(parent_);
  item->SetValue(value);
  items_.push_back(std::move(item));
  if (parent_) parent_->Invalidate();
  return items_.back().get();
}

TAxisItem* TAxisItems::Add(double value, const std::string& text) {
  TAxisItem* item = Add(value);
  item->SetText(text);
  return item;
}

void TAxisItems::CopyFrom(const TAxisItems& other) {
  if (&other == this) return;
  format_->Assign(other.format_.get());
  Clear();
  for (const auto& item : other.items_) Add(item->GetValue(), item->GetText());
}

void TAxisItems::Clear() {
  items_.clear();
  if (parent_) parent_->Invalidate();
}

TAxisItem* TAxisItems::Get(int index) const {
  if (index < 0 || index >= Count())
    throw ChartException(
        chart::Format("Axis item index %d out of bounds (0 to %d).", {index, Count() - 1}));
  return items_[static_cast<size_t>(index)].get();
}

}  // namespace chart

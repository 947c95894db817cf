// Pie series: settings, slice angles, the other slice, explosion and heights, the grid of pies,
// the per-slice lists following the points, samples and gallery.
#include "chart/series/pie_series.h"

#include "chart/component/legend.h"

namespace chart {

// STUB: to be built.
int TSliceValueList::Get(int index) const {
  return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : 0;
}
void TSliceValueList::Set(int, int) {
  (void)owner_;
}
void TSliceValueList::Delete(int) {}
void TSliceValueList::Swap(int, int, int) {}

TPieOtherSlice::TPieOtherSlice(TChartSeries* owner) : owner_(owner) {
  (void)owner_;
}
TPieOtherSlice::~TPieOtherSlice() = default;
void TPieOtherSlice::SetColor(TColor value) {
  color_ = value;
}
TChartLegend* TPieOtherSlice::GetLegend() {
  return legend_.get();
}
void TPieOtherSlice::SetLegend(const TChartLegend*) {}
void TPieOtherSlice::SetStyle(TPieOtherStyle value) {
  style_ = value;
}
std::string TPieOtherSlice::GetText() const {
  return text_;
}
void TPieOtherSlice::SetText(const std::string& value) {
  text_ = value;
}
void TPieOtherSlice::SetValue(double value) {
  value_ = value;
}
void TPieOtherSlice::Assign(const platform::TPersistent*) {}
void TPieOtherSlice::Changed() {}

TPieShadow::TPieShadow(std::function<void()> onChange) : TPlotShadow(std::move(onChange)) {}

TPieSeries::TPieSeries(platform::TComponent* Owner) : TCircledSeries(Owner) {
  otherSlice_ = std::make_unique<TPieOtherSlice>(this);
  shadow_ = std::make_unique<TPieShadow>([this] { Repaint(); });
}
TPieSeries::~TPieSeries() = default;
void TPieSeries::SetAngleSize(int value) {
  angleSize_ = value;
}
void TPieSeries::SetExplodeBiggest(int value) {
  explodeBiggest_ = value;
}
void TPieSeries::SetMultiPie(TMultiPie value) {
  multiPie_ = value;
}
void TPieSeries::SetOtherSlice(const TPieOtherSlice*) {}
void TPieSeries::SetShadow(const TPlotShadow*) {}
void TPieSeries::SetDonutPercent(int value) {
  donutPercent_ = value;
}
int TPieSeries::AddPie(double value, const std::string& label, TColor color) {
  return Add(value, label, color);
}
void TPieSeries::CalcAngles() {}
void TPieSeries::CheckAngles() {}
void TPieSeries::CalcExplodedRadius(int, int& x, int& y) const {
  x = y = 0;
}
void TPieSeries::CalcExplodedOffset(int, int& x, int& y) const {
  x = y = 0;
}
void TPieSeries::CalcExplodeBiggest() {}
int TPieSeries::SliceEndZ(int) const {
  return EndZ;
}
platform::TBrushStyle TPieSeries::SliceBrushStyle(int) const {
  return platform::bsSolid;
}
void TPieSeries::PreparePiePen(int) {}
int TPieSeries::PieCount() const {
  return 1;
}
bool TPieSeries::BelongsToOtherSlice(int) const {
  return false;
}
int TPieSeries::OtherSliceIndex() const {
  return -1;
}
void TPieSeries::RemoveOtherSlice() {}
int TPieSeries::CompareSlice(int, int) const {
  return 0;
}
void TPieSeries::SwapSlice(int, int) {}
void TPieSeries::Assign(const platform::TPersistent* s) {
  TCircledSeries::Assign(s);
}
void TPieSeries::InitCustom3DOptions(TView3DOptions&) const {}
void TPieSeries::CheckOrder() {
  TCircledSeries::CheckOrder();
}
void TPieSeries::Clear() {
  TCircledSeries::Clear();
}
void TPieSeries::ClearLists() {
  TCircledSeries::ClearLists();
}
void TPieSeries::Delete(int i) {
  TCircledSeries::Delete(i);
}
void TPieSeries::SwapValueIndex(int a, int b) {
  TCircledSeries::SwapValueIndex(a, b);
}
void TPieSeries::DoBeforeDrawChart() {}
void TPieSeries::DoBeforeDrawValues() {
  TCircledSeries::DoBeforeDrawValues();
}
void TPieSeries::DoAfterDrawValues() {
  TCircledSeries::DoAfterDrawValues();
}
void TPieSeries::AddSampleValues(int n, bool m) {
  TCircledSeries::AddSampleValues(n, m);
}
void TPieSeries::PrepareForGallery(bool e) {
  TCircledSeries::PrepareForGallery(e);
}
void TPieSeries::CreateSubGallery(const TAddSubChart& a) {
  TCircledSeries::CreateSubGallery(a);
}
void TPieSeries::SetSubGallery(int) {}
int TPieSeries::CountLegendItems() {
  return Count();
}
int TPieSeries::LegendToValueIndex(int i) const {
  return i;
}

}  // namespace chart

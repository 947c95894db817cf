// Point pages: the page count, the clamped page change with its notifications, and the index
// window of the current page for each series.
#include "chart/engine/pages.h"

#include <algorithm>
#include <string>

#include "chart/common/plot_const.h"
#include "chart/engine/axis_panel.h"
#include "chart/engine/series.h"

namespace chart {

void TChartPage::SetAutoScale(bool value) {
  chart_->SetBooleanProperty(autoScale_, value);
}

void TChartPage::SetScaleLastPage(bool value) {
  chart_->SetBooleanProperty(scaleLastPage_, value);
}

int TChartPage::Count() const {
  if (maxPointsPerPage_ <= 0 || chart_->SeriesCount() == 0) return 1;
  const bool yIsValue = chart_->GetSeries(0)->YIsValue();
  TChartAxis* pair[2] = {yIsValue ? chart_->BottomAxis() : chart_->RightAxis(),
                         yIsValue ? chart_->TopAxis() : chart_->LeftAxis()};
  int result = 1;
  for (TChartAxis* axis : pair) {
    int most = 0;
    for (TChartSeries* s : chart_->SeriesList().Items())
      if (s->GetActive() && s->AssociatedToAxis(axis)) most = std::max(most, s->Count());
    if (most > 0) result = std::max(result, (most - 1) / maxPointsPerPage_ + 1);
  }
  return result;
}

void TChartPage::SetCurrent(int value) {
  value = std::min(value, Count());
  if (value < 1) value = 1;
  if (value == current_) return;
  current_ = value;
  chart_->Invalidate();
  TChartChangePage event;
  chart_->BroadcastPlotEvent(event);
  if (chart_->OnPageChange) chart_->OnPageChange(this);
}

void TChartPage::SetMaxPointsPerPage(int value) {
  if (value < 0) throw ChartException(PlotMsg_MaxPointsPerPage);
  chart_->SetIntegerProperty(maxPointsPerPage_, value);
  if (Count() < current_) SetCurrent(Count());
  TChartChangePage event;
  chart_->BroadcastPlotEvent(event);
}

void TChartPage::NextPage() {
  if (maxPointsPerPage_ > 0 && current_ < Count()) SetCurrent(current_ + 1);
}

void TChartPage::PreviousPage() {
  if (maxPointsPerPage_ > 0 && current_ > 1) SetCurrent(current_ - 1);
}

long long TChartPage::FirstValueIndex() const {
  // Assign copies Current unchecked: never start before the first point.
  return (static_cast<long long>(std::max(current_, 1)) - 1) * maxPointsPerPage_;
}

void TChartPage::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TChartPage*>(source);
  if (!other) platform::AssignError(source, this);
  autoScale_ = other->autoScale_;
  current_ = other->current_;
  maxPointsPerPage_ = other->maxPointsPerPage_;
  scaleLastPage_ = other->scaleLastPage_;
}

// ---- The series' page window -------------------------------------------------------------

void TChartSeries::CalcFirstLastPage(int& first, int& last) const {
  const int n = Count();
  if (n == 0) {
    first = last = -1;
    return;
  }
  const TCustomAxisPanel* chart = GetParentChart();
  const long long per = chart ? chart->Pages().GetMaxPointsPerPage() : 0;
  if (per <= 0) {
    first = 0;
    last = n - 1;
    return;
  }
  long long f = chart->Pages().FirstValueIndex();
  if (f >= n) f = per * std::max(0LL, n / per - 1);
  long long l = f + per - 1;
  if (l >= n) l = n % per + f - 1;
  first = static_cast<int>(f);
  last = static_cast<int>(l);
}

// ---- The chart's forwards ----------------------------------------------------------------

void TCustomAxisPanel::SetPages(const TChartPage* value) {
  pages_->Assign(value);
}

void TCustomAxisPanel::NextPage() {
  pages_->NextPage();
}

void TCustomAxisPanel::PreviousPage() {
  pages_->PreviousPage();
}

}  // namespace chart

// The chart's axes list and custom-axes collection, both views of the axes the chart owns.
#include "chart/engine/axes_lists.h"

#include <algorithm>
#include <vector>

#include "chart/engine/axis_panel.h"

namespace chart {

// ---- TChartAxes --------------------------------------------------------------------------------

int TChartAxes::Count() const {
  return static_cast<int>(chart_->AxesList().size());
}

TChartAxis* TChartAxes::Get(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return chart_->AxesList()[static_cast<size_t>(index)];
}

TChartAxis* TChartAxes::BottomAxis() const {
  return chart_->BottomAxis();
}
TChartAxis* TChartAxes::TopAxis() const {
  return chart_->TopAxis();
}
TChartAxis* TChartAxes::LeftAxis() const {
  return chart_->LeftAxis();
}
TChartAxis* TChartAxes::RightAxis() const {
  return chart_->RightAxis();
}
TChartAxis* TChartAxes::DepthAxis() const {
  return chart_->DepthAxis();
}
TChartAxis* TChartAxes::DepthTopAxis() const {
  return chart_->DepthTopAxis();
}

bool TChartAxes::GetBehind() const {
  return chart_->GetAxisBehind();
}
void TChartAxes::SetBehind(bool value) {
  chart_->SetAxisBehind(value);
}
bool TChartAxes::GetVisible() const {
  return chart_->GetAxisVisible();
}
void TChartAxes::SetVisible(bool value) {
  chart_->SetAxisVisible(value);
}

void TChartAxes::Reset() {
  for (TChartAxis* axis : chart_->AxesList()) axis->SetAutomatic(true);
}

bool TChartAxes::GetFastCalc() const {
  return chart_->GetAxesFastCalc();
}
void TChartAxes::FastCalc(bool value) {
  chart_->SetAxesFastCalc(value);
}

// ---- TChartCustomAxes --------------------------------------------------------------------------

int TChartCustomAxes::Count() const {
  return chart_->CustomAxisCount();
}

TChartAxis* TChartCustomAxes::Get(int index) const {
  return chart_->CustomAxis(index);
}

void TChartCustomAxes::Put(int index, const TChartAxis* axis) {
  TChartAxis* item = Get(index);
  if (item && axis && item != axis) item->Assign(axis);
}

void TChartCustomAxes::ResetScales(TChartAxis* axis) {
  // Setting a dependant's range asks again for its own dependants: the outer call walks the
  // whole chain once, so a loop of masters cannot recurse without end.
  if (resetting_ || !axis) return;
  resetting_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{resetting_};
  std::vector<TChartAxis*> pending{axis};
  std::vector<TChartAxis*> done{axis};
  while (!pending.empty()) {
    TChartAxis* master = pending.back();
    pending.pop_back();
    for (int i = 0; i < Count(); ++i) {
      TChartAxis* c = Get(i);
      if (c->MasterAxis != master || std::find(done.begin(), done.end(), c) != done.end()) continue;
      c->SetMinMax(master->GetMinimum(), master->GetMaximum());
      done.push_back(c);
      pending.push_back(c);
    }
  }
}

}  // namespace chart

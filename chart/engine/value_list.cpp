#include "chart/engine/value_list.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "chart/common/chart_exception.h"
#include "chart/common/format_float.h"
#include "chart/common/general.h"
#include "chart/engine/series.h"
#include "chart/engine/series_source.h"

namespace chart {

namespace {

// Shortest text of value with at most 15 significant digits; the exponent form only for very
// large or very small values ("1E20", "1.5E-7").
std::string FloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";
  char buf[400];
  const double a = std::fabs(value);
  std::string mantissa, exponent;
  if (a >= 1e15 || a < 1e-5) {
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    const std::string text(buf, r.ptr);
    const auto e = text.find('e');
    mantissa = text.substr(0, e);
    exponent = "E" + std::to_string(std::atoi(text.c_str() + e + 1));
  } else {
    const int decimals = std::max(0, 14 - static_cast<int>(std::floor(std::log10(a))));
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    mantissa.assign(buf, r.ptr);
  }
  if (mantissa.find('.') != std::string::npos) {
    while (mantissa.back() == '0') mantissa.pop_back();
    if (mantissa.back() == '.') mantissa.pop_back();
  }
  for (char& c : mantissa)
    if (c == '.') c = PlotFormatSettings.DecimalSeparator;
  return mantissa + exponent;
}

}  // namespace

TChartValueList::TChartValueList(TChartSeries* owner, const std::string& name)
    : name_(name), owner_(owner) {
  modified_ = true;
  if (owner_) owner_->ValuesList().Add(this);
  ClearValues();
}

TChartValueList::~TChartValueList() {
  ClearValues();
}

void TChartValueList::CheckIndex(int index) const {
  if (index < 0 || index >= count_) {
    throw ChartException(
        Format("ValueList %s: index %d out of bounds (0 to %d).", {name_, index, count_ - 1}));
  }
}

double TChartValueList::GetValue(int index) const {
  CheckIndex(index);
  return values_[static_cast<size_t>(index)];
}

void TChartValueList::SetValue(int index, double value) {
  CheckIndex(index);
  values_[static_cast<size_t>(index)] = value;
  modified_ = true;
  if (owner_) owner_->NotifyValue(veModify, index);
}

double TChartValueList::First() const {
  return GetValue(0);
}

double TChartValueList::Last() const {
  return GetValue(count_ - 1);
}

int TChartValueList::Count() const {
  CHART_ASSERT(count_ <= Capacity(), "ValueList Count (" + std::to_string(count_) +
                                         ") greater than array length (" +
                                         std::to_string(Capacity()) + ").");
  return count_;
}

void TChartValueList::SetCount(int value) {
  CHART_ASSERT(value >= 0, "ValueList Count must be greater than zero.");
  while (value > Capacity()) Grow();
  count_ = value;
  modified_ = true;
}

void TChartValueList::Grow() {
  const size_t step = static_cast<size_t>(std::max(1, PlotDefaultCapacity));
  const size_t length = values_.size() + step;
  // The array's length grows by whole blocks; the storage under it doubles, so that appending
  // stays cheap for long series.
  if (length > values_.capacity()) values_.reserve(std::max(length, values_.capacity() * 2));
  values_.resize(length);
}

int TChartValueList::AddChartValue(double value) {
  TempValue = value;
  return AddChartValue();
}

int TChartValueList::AddChartValue() {
  const double t = TempValue;
  const int n = count_;
  int index = n;
  if (order_ != loNone && n > 0) {
    const double* v = values_.data();
    if (order_ == loAscending) {
      if (t < v[n - 1]) {
        int i = n - 1;
        while (i >= 0 && v[i] > t) --i;
        index = i + 1;
      }
    } else if (t > v[n - 1]) {
      int i = n - 1;
      while (i >= 0 && v[i] < t) --i;
      index = i + 1;
    }
  }
  if (n >= Capacity()) Grow();
  double* v = values_.data();
  if (index < n)
    std::memmove(v + index + 1, v + index, sizeof(double) * static_cast<size_t>(n - index));
  v[index] = t;
  ++count_;
  modified_ = true;
  return index;
}

void TChartValueList::InsertChartValue(int index, double value) {
  if (index < 0 || index > count_) {
    throw ChartException(
        Format("ValueList %s: insert index %d out of bounds (0 to %d).", {name_, index, count_}));
  }
  if (count_ >= Capacity()) Grow();
  double* v = values_.data();
  if (index < count_)
    std::memmove(v + index + 1, v + index, sizeof(double) * static_cast<size_t>(count_ - index));
  v[index] = value;
  ++count_;
  modified_ = true;
}

void TChartValueList::Delete(int index) {
  CheckIndex(index);
  double* v = values_.data();
  std::memmove(v + index, v + index + 1, sizeof(double) * static_cast<size_t>(count_ - index - 1));
  --count_;
  modified_ = true;
}

void TChartValueList::Delete(int start, int quantity) {
  if (quantity == 0) return;
  if (quantity < 0) {
    throw ChartException(
        Format("ValueList %s: quantity %d to delete is negative.", {name_, quantity}));
  }
  CheckIndex(start);
  // start is inside the list: this difference cannot overflow, the sum could.
  CHART_ASSERT(quantity <= count_ - start, "Quantity of data to delete must be less than Count.");
  double* v = values_.data();
  const int rest = count_ - start - quantity;
  if (rest > 0)
    std::memmove(v + start, v + start + quantity, sizeof(double) * static_cast<size_t>(rest));
  count_ -= quantity;
  modified_ = true;
}

void TChartValueList::ClearValues() {
  count_ = 0;
  std::vector<double>().swap(values_);
  modified_ = true;
}

int TChartValueList::Locate(double value) const {
  return Locate(value, 0, count_ - 1);
}

int TChartValueList::Locate(double value, int first, int last) const {
  first = std::max(first, 0);
  last = std::min(last, count_ - 1);
  for (int i = first; i <= last; ++i)
    if (values_[static_cast<size_t>(i)] == value) return i;
  return -1;
}

double TChartValueList::MaxValue() {
  if (modified_) RecalcStats();
  return maximum_;
}

double TChartValueList::MinValue() {
  if (modified_) RecalcStats();
  return minimum_;
}

double TChartValueList::Total() {
  if (modified_) RecalcStats();
  return total_;
}

double TChartValueList::TotalABS() {
  if (modified_) RecalcStats();
  return totalAbs_;
}

double TChartValueList::Range() {
  if (modified_) RecalcStats();
  return maximum_ - minimum_;
}

void TChartValueList::RecalcStats() {
  if (count_ > Capacity()) count_ = Capacity();
  if (count_ <= 0) {
    minimum_ = maximum_ = total_ = totalAbs_ = 0;
    modified_ = false;
  } else {
    RecalcStats(0);
  }
}

void TChartValueList::RecalcStats(int startIndex) {
  const double* v = values_.data();
  int i = std::max(startIndex, 0);
  if (i == 0 && count_ > 0) {
    minimum_ = maximum_ = total_ = v[0];
    totalAbs_ = std::fabs(v[0]);
    i = 1;
  }
  for (; i < count_; ++i) {
    const double x = v[i];
    if (x < minimum_)
      minimum_ = x;
    else if (x > maximum_)
      maximum_ = x;
    total_ += x;
    totalAbs_ += std::fabs(x);
  }
  modified_ = false;
}

void TChartValueList::Scroll() {
  if (count_ > 1) std::rotate(values_.begin(), values_.begin() + 1, values_.begin() + count_);
}

void TChartValueList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(values_[static_cast<size_t>(index1)], values_[static_cast<size_t>(index2)]);
  modified_ = true;
  if (owner_) owner_->NotifyValue(veModify, index1);
}

void TChartValueList::FillSequence() {
  for (int i = 0; i < count_; ++i) values_[static_cast<size_t>(i)] = i;
  modified_ = true;
  if (owner_) owner_->NotifyValue(veModify, 0);
}

int TChartValueList::CompareValueIndex(int a, int b) const {
  const double va = GetValue(a), vb = GetValue(b);
  const int result = va < vb ? -1 : (va > vb ? 1 : 0);
  return order_ == loDescending ? -result : result;
}

void TChartValueList::Sort() {
  if (order_ == loNone) return;
  const TPlotCompareProc compare = [this](int a, int b) { return CompareValueIndex(a, b); };
  TPlotSwapProc swap;
  if (owner_) {
    swap = [this](int a, int b) { owner_->SwapValueIndex(a, b); };
  } else {
    swap = [this](int a, int b) {
      std::swap(values_[static_cast<size_t>(a)], values_[static_cast<size_t>(b)]);
      modified_ = true;
    };
  }
  PlotSort(0, count_ - 1, compare, swap);
}

void TChartValueList::Assign(const TChartValueList* source) {
  if (!source || source == this) return;
  order_ = source->order_;
  dateTime_ = source->dateTime_;
  valueSource_ = source->valueSource_;
}

std::string TChartValueList::ToString(int index) const {
  return FloatToStr(GetValue(index));
}

void TChartValueList::SetDateTime(bool value) {
  if (owner_)
    owner_->SetBooleanProperty(dateTime_, value);
  else
    dateTime_ = value;
}

void TChartValueList::InitDateTime(bool value) {
  dateTime_ = value;
  defaultDateTime_ = value;
}

void TChartValueList::SetValueSource(const std::string& value) {
  if (value == valueSource_) return;
  valueSource_ = value;
  if (owner_) owner_->CheckDataSource();
}

void TChartValueList::ReadMultiplier(double value) {
  if (value != 1)
    ShowMessageUser(
        "Error: Multiplier property is obsolete.\r"
        "Modify PlotDefs.inc (enable Multiplier) and recompile.");
}

// ---- TChartValueLists --------------------------------------------------------------------------

TChartValueList* TChartValueLists::Get(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

int TChartValueLists::IndexOf(const TChartValueList* list) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == list) return static_cast<int>(i);
  return -1;
}

void TChartValueLists::Add(TChartValueList* list) {
  if (!list || IndexOf(list) >= 0) return;
  items_.emplace_back(list);
}

std::unique_ptr<TChartValueList> TChartValueLists::Extract(TChartValueList* list) {
  const int i = IndexOf(list);
  if (i < 0) return nullptr;
  std::unique_ptr<TChartValueList> result = std::move(items_[static_cast<size_t>(i)]);
  items_.erase(items_.begin() + i);
  return result;
}

void TChartValueLists::Insert(int index, TChartValueList* list) {
  if (!list || IndexOf(list) >= 0) return;
  index = std::clamp(index, 0, Count());
  items_.emplace(items_.begin() + index, list);
}

}  // namespace chart

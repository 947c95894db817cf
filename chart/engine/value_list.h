// One dimension of a series' points (X, Y, a bar's values ...): a growable array of doubles kept
// in the list's order, with cached extremes and totals.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/engine/engine_globals.h"
#include "platform/vcl/component.h"

namespace chart {

class TChartSeries;

class TChartValueList : public platform::TPersistent {
 public:
  // Appends itself to owner's value lists (the owner then owns it).
  TChartValueList(TChartSeries* owner, const std::string& name);
  ~TChartValueList() override;
  const char* ClassName() const override { return "TChartValueList"; }

  // Indexes outside 0..Count-1 raise ChartException.
  double GetValue(int index) const;
  void SetValue(int index, double value);
  double operator[](int index) const { return GetValue(index); }
  double First() const;
  double Last() const;
  int Count() const;
  // Grows the array when needed; a negative count fails an assertion.
  void SetCount(int value);
  // Raw storage for hot loops (Count elements).
  const double* Data() const { return values_.data(); }
  int Capacity() const { return static_cast<int>(values_.size()); }

  // Inserts value in order and returns its index; the caller inserts the point's other values.
  int AddChartValue(double value);
  int AddChartValue();
  virtual void InsertChartValue(int index, double value);
  virtual void ClearValues();
  virtual void Delete(int index);
  void Delete(int start, int quantity);

  int Locate(double value) const;
  int Locate(double value, int first, int last) const;

  double MaxValue();
  double MinValue();
  double Total();
  double TotalABS();
  // Overrides the absolute total until the values next change.
  void SetTotalABS(double value) {
    if (modified_) RecalcStats();
    totalAbs_ = value;
  }
  double Range();
  void RecalcStats();
  void RecalcStats(int startIndex);

  // Element 0 to the end; statistics untouched.
  void Scroll();
  void Exchange(int index1, int index2);
  void FillSequence();
  int CompareValueIndex(int a, int b) const;
  void Sort();

  // Order, DateTime and ValueSource; never the values or the name.
  virtual void Assign(const TChartValueList* source);
  std::string ToString(int index) const;

  bool GetDateTime() const { return dateTime_; }
  void SetDateTime(bool value);
  // Sets DateTime and the value that counts as its default when stored.
  void InitDateTime(bool value);
  bool IsDateTimeStored() const { return dateTime_ != defaultDateTime_; }
  std::string GetName() const { return name_; }
  void SetName(const std::string& value) { name_ = value; }
  TChartListOrder GetOrder() const { return order_; }
  void SetOrder(TChartListOrder value) { order_ = value; }
  std::string GetValueSource() const { return valueSource_; }
  void SetValueSource(const std::string& value);
  TChartSeries* Owner() const { return owner_; }

  // Obsolete stored "Multiplier": read, never written; anything but 1 tells the user.
  void ReadMultiplier(double value);

  // The value the parameterless AddChartValue inserts; descendants of series set it before AddXY.
  double TempValue = 0;
  bool Modified() const { return modified_; }

 private:
  friend class TChartSeries;
  void CheckIndex(int index) const;
  void Grow();

  bool dateTime_ = false;
  double maximum_ = 0, minimum_ = 0;
  std::string name_;
  TChartListOrder order_ = loNone;
  TChartSeries* owner_ = nullptr;
  double total_ = 0, totalAbs_ = 0;
  std::string valueSource_;
  bool defaultDateTime_ = false;
  int count_ = 0;
  std::vector<double> values_;
  bool modified_ = true;
};

// The value lists of a series, in order (0 is X, 1 is Y); owns them.
class TChartValueLists {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // Null for an index outside the list.
  TChartValueList* Get(int index) const;
  TChartValueList* operator[](int index) const { return Get(index); }
  int IndexOf(const TChartValueList* list) const;
  void Add(TChartValueList* list);
  // Takes list out without freeing it.
  std::unique_ptr<TChartValueList> Extract(TChartValueList* list);
  void Insert(int index, TChartValueList* list);
  // Frees every list.
  void Clear() { items_.clear(); }

 private:
  std::vector<std::unique_ptr<TChartValueList>> items_;
};

}  // namespace chart

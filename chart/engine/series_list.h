// Lists of series (not owning them) and the named groups of a chart's series.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace chart {

class TChartSeries;
class TCustomAxisPanel;

class TCustomSeriesList {
 public:
  explicit TCustomSeriesList(TCustomAxisPanel* owner = nullptr) : owner_(owner) {}
  virtual ~TCustomSeriesList() = default;
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises ChartException for an index outside the list.
  TChartSeries* Get(int index) const;
  TChartSeries* operator[](int index) const { return Get(index); }
  void Put(int index, TChartSeries* series);
  int IndexOf(const TChartSeries* series) const;
  bool Contains(const TChartSeries* series) const { return IndexOf(series) >= 0; }
  void Add(TChartSeries* series) { items_.push_back(series); }
  void Insert(int index, TChartSeries* series);
  void Delete(int index);
  // The index it had, or -1.
  int Remove(const TChartSeries* series);
  void Exchange(int a, int b);
  void Clear() { items_.clear(); }
  // Clear on every series.
  void ClearValues();
  void FillSampleValues(int numValues = 0);
  TCustomAxisPanel* Owner() const { return owner_; }
  const std::vector<TChartSeries*>& Items() const { return items_; }

 private:
  TCustomAxisPanel* owner_;
  std::vector<TChartSeries*> items_;
};

enum TSeriesGroupActive { gaYes, gaNo, gaSome };

class TSeriesGroups;

// Series shown and hidden together.
class TSeriesGroup {
 public:
  explicit TSeriesGroup(TSeriesGroups* groups);
  std::string Name;
  TCustomSeriesList& Series() { return series_; }
  void SetSeries(const TCustomSeriesList& value);
  // Appends s; only series of the groups' chart are taken (raises ChartException otherwise).
  void Add(TChartSeries* s);
  TSeriesGroupActive GetActive() const;
  void SetActive(TSeriesGroupActive value);
  void Show() { SetActive(gaYes); }
  void Hide() { SetActive(gaNo); }
  int Index() const;
  // Stored in a layout only when it holds series.
  bool IsSeriesStored() const { return series_.Count() > 0; }

 private:
  TSeriesGroups* groups_;
  TCustomSeriesList series_;
};

class TSeriesGroups {
 public:
  explicit TSeriesGroups(TCustomAxisPanel* chart) : chart_(chart) {}
  int Count() const { return static_cast<int>(items_.size()); }
  TSeriesGroup* Get(int index) const;
  TSeriesGroup* Add();
  void Delete(int index);
  void Clear() { items_.clear(); }
  // Index of the first group holding s, or -1.
  int Contains(const TChartSeries* s) const;
  TSeriesGroup* FindByName(const std::string& name, bool caseSensitive = false) const;
  // Forget s in every group (it is going).
  void RemoveSeries(const TChartSeries* s);
  TCustomAxisPanel* Chart() const { return chart_; }
  int IndexOf(const TSeriesGroup* g) const;

 private:
  TCustomAxisPanel* chart_;
  std::vector<std::unique_ptr<TSeriesGroup>> items_;
};

// The chart's series in drawing order, with their groups.
class TChartSeriesList : public TCustomSeriesList {
 public:
  explicit TChartSeriesList(TCustomAxisPanel* owner) : TCustomSeriesList(owner), groups_(owner) {}
  TSeriesGroups& Groups() { return groups_; }
  TSeriesGroup* AddGroup(const std::string& name);
  bool GetAllActive() const;
  void SetAllActive(bool value);

 private:
  TSeriesGroups groups_;
};

}  // namespace chart

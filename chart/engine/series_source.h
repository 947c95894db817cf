// Small services beside the series: components that fill a series from elsewhere, a series'
// list of data sources, its per-point labels, and the routines that name series and decide what
// their stored data holds.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/vcl/component.h"

namespace chart {

class TChartSeries;
class TCustomAxisPanel;
class TCustomSeriesList;

// The base of components that fill a series from somewhere else; Load does the filling.
class TPlotSeriesSource : public platform::TComponent {
 public:
  explicit TPlotSeriesSource(platform::TComponent* Owner);
  ~TPlotSeriesSource() override;
  const char* ClassName() const override { return "TPlotSeriesSource"; }

  TChartSeries* GetSeries() const { return series_; }
  void SetSeries(TChartSeries* series);
  bool GetActive() const { return active_; }
  void SetActive(bool value);
  void Open() { SetActive(true); }
  void Close();
  void Refresh();
  void Loaded() override;
  virtual void Load() {}
  // Whether deactivating leaves the series' points.
  virtual bool KeepDataOnClose() const { return false; }

  virtual bool Available(TCustomAxisPanel* /*chart*/) const { return true; }
  virtual std::string Description() const { return {}; }
  virtual bool HasNew() const { return false; }
  // True when s's data source is of this class (by class name).
  bool HasSeries(const TChartSeries* s) const;
  // This source's own answer on whether it may feed series of chart.
  virtual bool IsValidFor(TCustomAxisPanel* /*chart*/) const { return true; }

  void Notification(platform::TComponent* component, platform::TOperation operation) override;

 private:
  TChartSeries* series_ = nullptr;
  bool active_ = false;
};

// The components a series takes its data from; entry 0 is its DataSource. Not owning.
class TDataSourcesList {
 public:
  explicit TDataSourcesList(TChartSeries* series) : series_(series) {}
  int Count() const { return static_cast<int>(items_.size()); }
  platform::TComponent* Get(int index) const;
  platform::TComponent* operator[](int index) const { return Get(index); }
  int IndexOf(const platform::TComponent* c) const;
  // Through the series' own data-source setter, which decides whether c is accepted.
  int Add(platform::TComponent* c);
  // Removes entry index and tells the series to drop that source.
  void Delete(int index);
  // Unlinks, empties, and clears the series' points unless they were entered by hand.
  void Clear();
  TChartSeries* Series() const { return series_; }

  // The raw list operations the series itself uses.
  void InternalAdd(platform::TComponent* c) { items_.push_back(c); }
  void InternalRemove(const platform::TComponent* c);
  void InternalClear() { items_.clear(); }
  const std::vector<platform::TComponent*>& Items() const { return items_; }

 private:
  TChartSeries* series_;
  std::vector<platform::TComponent*> items_;
};

// One optional text per point; slots past the end read as empty.
class TLabelsList {
 public:
  explicit TLabelsList(TChartSeries* series) : series_(series) {}
  int Count() const { return static_cast<int>(items_.size()); }
  std::string GetLabel(int index) const;
  // Grows with empty slots up to index for a non-empty text; repaints the series.
  void SetLabel(int index, const std::string& text);
  void InsertLabel(int index, const std::string& text);
  void DeleteLabel(int index);
  // Removes quantity slots from start (those that exist).
  void DeleteRange(int start, int quantity);
  void Exchange(int a, int b);
  int IndexOfLabel(const std::string& text, bool caseSensitive = true) const;
  void Clear() { items_.clear(); }
  void Assign(const TLabelsList& other);

 private:
  TChartSeries* series_;
  std::vector<std::unique_ptr<std::string>> items_;
};

// The title with column separators as blanks, else the name, else "Series" and its 1-based place
// in its chart.
std::string SeriesTitleOrName(const TChartSeries* s);
// Titles (or names) of the series shown in editors, each with its series.
std::vector<std::pair<std::string, TChartSeries*>> FillSeriesItems(const TCustomSeriesList* list,
                                                                   bool useTitles = true);
// What a series' stored data must hold.
bool HasNoMandatoryValues(TChartSeries* s);
bool HasColors(TChartSeries* s);
bool HasLabels(TChartSeries* s);
// A task-modal error box (at most 1023 characters, empty caption).
void ShowMessageUser(const std::string& text);

// The registered source classes: their names.
std::vector<std::string>& PlotSources();

}  // namespace chart

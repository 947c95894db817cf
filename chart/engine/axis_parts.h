// What an axis owns besides its scale: the axis-line and grid pens, the title, and the list of
// custom labels whose format shape also gives the look of the ordinary labels.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/canvas/pens.h"
#include "chart/panel/shape.h"

namespace chart {

class TChartAxis;

enum TAxisLineMode { lmLine, lmCylinder, lmRectangle };

// The axis line: two pixels wide by default.
class TChartAxisPen : public TChartPen {
 public:
  explicit TChartAxisPen(std::function<void()> onChange = {});
  const char* ClassName() const override { return "TChartAxisPen"; }

  void Assign(const platform::TPen& source) override;
  TAxisLineMode GetLineMode() const { return lineMode_; }
  void SetLineMode(const TAxisLineMode& value);

 private:
  TAxisLineMode lineMode_ = lmLine;
};

// The grid: every DrawEvery-th line, on the ticks or centred between them, at a depth.
class TAxisGridPen : public TDottedGrayPen {
 public:
  explicit TAxisGridPen(std::function<void()> onChange = {});
  const char* ClassName() const override { return "TAxisGridPen"; }

  void Assign(const platform::TPen& source) override;
  int GetDrawEvery() const { return drawEvery_; }
  void SetDrawEvery(const int& value);
  bool GetCentered() const { return centered_; }
  void SetCentered(const bool& value);
  double GetZPosition() const { return zPosition_; }
  void SetZPosition(const double& value);
  bool IsZPositionStored() const { return zPosition_ != DefaultZPosition; }
  double DefaultZPosition = 0;

 private:
  int drawEvery_ = 1;
  bool centered_ = false;
  double zPosition_ = 0;
};

class TChartAxisTitle : public TPlotCustomShape {
 public:
  explicit TChartAxisTitle(TCustomPlotPanel* parent = nullptr);
  const char* ClassName() const override { return "TChartAxisTitle"; }

  int GetAngle() const { return angle_; }
  // Kept as the remainder of division by 360.
  void SetAngle(const int& value);
  bool IsAngleStored() const { return angle_ != DefaultAngle; }
  int DefaultAngle = 0;
  std::string GetCaption() const { return caption_; }
  void SetCaption(const std::string& value);

  void Assign(const platform::TPersistent* source) override;

 private:
  int angle_ = 0;
  std::string caption_;
};

// A custom label: its text at an axis value, in its own look.
class TAxisItem : public TPlotCustomShape {
 public:
  explicit TAxisItem(TCustomPlotPanel* parent);
  const char* ClassName() const override { return "TAxisItem"; }

  std::string GetText() const { return text_; }
  void SetText(const std::string& value);
  double GetValue() const { return value_; }
  void SetValue(const double& value);

 private:
  std::string text_;
  double value_ = 0;
};

// The custom labels of an axis (owned) and the format shape of every label of it.
class TAxisItems {
 public:
  explicit TAxisItems(TCustomPlotPanel* parent);
  ~TAxisItems();
  TAxisItems(const TAxisItems&) = delete;
  TAxisItems& operator=(const TAxisItems&) = delete;

  TAxisItem* Add(double value);
  TAxisItem* Add(double value, const std::string& text);
  // Format, then a copy (value and text) of each of other's items.
  void CopyFrom(const TAxisItems& other);
  // Frees every item and repaints.
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises ChartException outside 0..Count-1.
  TAxisItem* Get(int index) const;
  TPlotCustomShape* Format() const { return format_.get(); }

 private:
  TCustomPlotPanel* parent_;
  std::unique_ptr<TPlotCustomShape> format_;
  std::vector<std::unique_ptr<TAxisItem>> items_;
};

}  // namespace chart

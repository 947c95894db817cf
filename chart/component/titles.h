// Boxes a program may pin to a corner of its own (TPlotCustomShapePosition), and the chart's
// text titles: TChartTitle above the chart, TChartFootTitle below it. A title takes its room
// off the chart rectangle when it is drawn before the axes are laid out.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "chart/panel/shape.h"
#include "platform/vcl/control.h"
#include "platform/vcl/string_list.h"

namespace chart {

class TPlotCustomShapePosition : public TPlotCustomShape {
 public:
  explicit TPlotCustomShapePosition(TCustomPlotPanel* parent = nullptr,
                                    const TChartBrushClass& brushClass = {},
                                    const TPlotGradientClass& gradientClass = {});
  const char* ClassName() const override { return "TPlotCustomShapePosition"; }

  bool GetCustomPosition() const { return customPosition_; }
  void SetCustomPosition(const bool& value);
  bool IsCustomPositionStored() const { return customPosition_; }
  // The top-left corner of the bounds; setting either pins the box (CustomPosition on).
  int GetLeft() const { return ShapeBounds.Left; }
  void SetLeft(const int& value);
  int GetTop() const { return ShapeBounds.Top; }
  void SetTop(const int& value);
  // Left and Top are written only for a pinned box.
  bool IsLeftStored() const { return customPosition_; }
  bool IsTopStored() const { return customPosition_; }

  // CustomPosition and, when it is on, the corner; then the shape's settings.
  void Assign(const platform::TPersistent* source) override;

 private:
  void SetCorner(int& variable, int value);
  bool customPosition_ = false;
};

class TChartTitle : public TPlotCustomShapePosition {
 public:
  explicit TChartTitle(TCustomPlotPanel* parent = nullptr);
  ~TChartTitle() override;
  const char* ClassName() const override { return "TChartTitle"; }

  bool GetAdjustFrame() const { return adjustFrame_; }
  void SetAdjustFrame(const bool& value);
  platform::TAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(const platform::TAlignment& value);
  // Each edit of the lines repaints the chart.
  platform::TStrings* GetText() const { return text_.get(); }
  void SetText(const platform::TStrings* value);
  // The first line ("" without lines); setting leaves value as the only line ("" leaves none).
  std::string GetCaption() const;
  void SetCaption(const std::string& value);
  void Clear() { SetCaption(""); }
  // Visible and (x, y) inside the bounds.
  bool Clicked(int x, int y) const;
  TRect GetShapeBounds() const { return ShapeBounds; }

  // The box and its lines; without CustomPosition the chart rectangle gives up the room.
  // Nothing when hidden or without lines.
  void DrawTitle();

  void Assign(const platform::TPersistent* source) override;

  // Titles stand above the chart, foot titles below it.
  bool AnchorTop = true;

 private:
  bool adjustFrame_ = true;
  platform::TAlignment alignment_ = platform::taCenter;
  std::unique_ptr<platform::TStringList> text_;
};

class TChartFootTitle : public TChartTitle {
 public:
  explicit TChartFootTitle(TCustomPlotPanel* parent = nullptr);
  const char* ClassName() const override { return "TChartFootTitle"; }
};

}  // namespace chart

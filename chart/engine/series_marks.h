// The marks of a series: the common look of the small boxes beside its points, plus the
// per-point lists (positions the user moved, per-point formats) that follow the points.
// Placement and drawing come with the chart's drawing.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chart/panel/shape.h"
#include "platform/vcl/string_list.h"

namespace chart {

class TChartSeries;

enum TSeriesMarksStyle {
  smsValue,
  smsPercent,
  smsLabel,
  smsLabelPercent,
  smsLabelValue,
  smsLegend,
  smsPercentTotal,
  smsLabelPercentTotal,
  smsXValue,
  smsXY
};

struct TSeriesMarkPosition {
  TPoint ArrowStart;
  bool ArrowStartFixed = false;
  TPoint ArrowEnd;
  bool Custom = false;
  int Height = 0;
  TPoint TopLeft;
  int Width = 0;
  // The points and the size, not the flags.
  void Assign(const TSeriesMarkPosition& source);
  TRect Bounds() const {
    return TRect{TopLeft.X, TopLeft.Y, TopLeft.X + Width, TopLeft.Y + Height};
  }
};

class TSeriesMarks;

// Indexed by point; entries may be empty.
class TSeriesMarksPositions {
 public:
  explicit TSeriesMarksPositions(const TSeriesMarks* marks = nullptr) : marks_(marks) {}
  int Count() const { return static_cast<int>(items_.size()); }
  // Null past the end or for an empty entry.
  TSeriesMarkPosition* Get(int index) const;
  // Grows, makes the entry, marks it custom and copies position into it. An index more than
  // PlotPointListRoom past the series' last point raises the list-index error.
  void Put(int index, const TSeriesMarkPosition& position);
  void Automatic(int index);
  bool ExistCustom() const;
  void Clear() { items_.clear(); }
  // Appends an entry (null: an empty one).
  void Add(std::unique_ptr<TSeriesMarkPosition> position) { items_.push_back(std::move(position)); }
  // Point bookkeeping; each does nothing past the end.
  void Insert(int index);
  void Delete(int index);
  void DeleteRange(int start, int quantity);
  void Exchange(int a, int b);

 private:
  const TSeriesMarks* marks_;
  std::vector<std::unique_ptr<TSeriesMarkPosition>> items_;
};

class TMarksCallout;

// The marks' gradient: silver to white, right to left.
class TSeriesMarksGradient : public TPlotGradient {
 public:
  explicit TSeriesMarksGradient(std::function<void()> onChange = {});
  const char* ClassName() const override { return "TSeriesMarksGradient"; }
};

// The colour box beside a mark's text, in the point's colour.
class TSeriesMarksSymbol : public TPlotCustomShape {
 public:
  explicit TSeriesMarksSymbol(TCustomPlotPanel* parent);
  const char* ClassName() const override { return "TSeriesMarksSymbol"; }
  bool ShouldDraw() const { return GetVisible() && !GetTransparent(); }
};

// The format of one point's mark.
class TMarksItem : public TPlotCustomShape {
 public:
  explicit TMarksItem(TCustomPlotPanel* parent);
  ~TMarksItem() override;
  const char* ClassName() const override { return "TMarksItem"; }
  // Made on first read.
  platform::TStrings* GetText();
  platform::TStrings* TextIfAny() const { return text_.get(); }
  // Null frees the text; else a copy.
  void SetText(const platform::TStrings* value);

 private:
  std::unique_ptr<platform::TStringList> text_;
};

class TMarksItems {
 public:
  explicit TMarksItems(TSeriesMarks* marks) : marks_(marks) {}
  int Count() const { return static_cast<int>(items_.size()); }
  // Grows and makes the item on first use; as far past the last point as positions may.
  TMarksItem* Get(int index);
  // Without making it.
  TMarksItem* Existing(int index) const;
  void Clear();
  // A copy of every item of other at its own index.
  void Assign(const TMarksItems& other);
  void Insert(int index);
  void Delete(int index);
  void DeleteRange(int start, int quantity);
  void Exchange(int a, int b);
  bool Loaded = false;
  // The layout's binary "Items" (series_data_stream.cpp), stored when any item exists.
  bool IsStored() const;
  std::string WriteItems() const;
  // Replaces the items; a damaged stream raises EReadError and leaves them as they were.
  void ReadItems(std::string_view data);

 private:
  TMarksItem* Make(int index);
  TSeriesMarks* marks_;
  std::vector<std::unique_ptr<TMarksItem>> items_;
};

class TSeriesMarks : public TPlotCustomShape {
 public:
  explicit TSeriesMarks(TChartSeries* series);
  ~TSeriesMarks() override;
  const char* ClassName() const override { return "TSeriesMarks"; }

  TChartSeries* ParentSeries() const { return series_; }
  TSeriesMarksPositions& Positions() { return positions_; }
  TMarksItems& Items() { return items_; }
  // Forgets the positions, and the per-point formats unless they were loaded from a layout.
  void Clear();
  // The series now holds count points, one new at index: the entries of the points after it
  // move up with them.
  void PointInserted(int index, int count);
  // Angle, callout, clip, DrawEvery, style, multi-line, symbol and per-point formats, then the
  // shape settings.
  void Assign(const platform::TPersistent* source) override;
  // The callout, symbol and per-point formats follow the marks to the new panel.
  void SetParent(TCustomPlotPanel* panel) override;

  TSeriesMarksStyle GetStyle() const { return style_; }
  void SetStyle(TSeriesMarksStyle value);
  bool GetMultiLine() const { return multiLine_; }
  void SetMultiLine(bool value);

  // ---- Settings, placement and drawing (series_marks_draw.cpp) -----------------------------
  int GetAngle() const { return angle_; }
  void SetAngle(int value);
  bool GetClip() const { return clip_; }
  void SetClip(bool value);
  int GetDrawEvery() const { return drawEvery_; }
  void SetDrawEvery(int value);
  // Made on first read; a null value frees it.
  TMarksCallout* GetCallout();
  TMarksCallout* CalloutIfAny() const { return callout_.get(); }
  void SetCallout(const TMarksCallout* value);
  TSeriesMarksSymbol* GetSymbol();
  TSeriesMarksSymbol* SymbolIfAny() const { return symbol_.get(); }
  void SetSymbol(const TSeriesMarksSymbol* value);
  // The depth marks are drawn at (the series' middle depth).
  int ZPosition = 0;
  // The point's own format when it has one, else the marks.
  TPlotCustomShape* MarkItem(int index);
  void InitShadow(TPlotShadow* shadow);
  // Moves the box away from the point by the callout's length.
  void ApplyArrowLength(TSeriesMarkPosition& position);
  // Remembers where a mark is drawn, or replaces the position by the one the user placed.
  void UsePosition(int index, TSeriesMarkPosition& position);
  void InternalDraw(int index, TColor color, const std::string& text,
                    TSeriesMarkPosition& position);
  void DrawText(const TRect& r, const std::string& text);
  TPoint ConvertTo2D(TPoint arrow, TPoint topLeft) const;
  // Moves position off the stored marks first..index-1 that it overlaps.
  void AntiOverlap(int first, int index, TSeriesMarkPosition& position);
  // The mark under the point, or -1.
  int Clicked(int x, int y);
  int TextWidth(int index);
  void ResetPositions();

 private:
  TChartSeries* series_;
  TSeriesMarksPositions positions_;
  TMarksItems items_;
  TSeriesMarksStyle style_ = smsLabel;
  bool multiLine_ = false;
  int angle_ = 0;
  bool clip_ = false;
  int drawEvery_ = 1;
  std::unique_ptr<TMarksCallout> callout_;
  std::unique_ptr<TSeriesMarksSymbol> symbol_;
};

// What a series' stored data holds: 1 no mandatory values, 2 colours, 4 labels, 8 positions
// the user placed.
int SeriesGuessContents(TChartSeries* series);

}  // namespace chart

// The chart's key: a framed box listing one row per series or one row per point of a series,
// each with a coloured symbol, laid out in rows and columns beside or above the chart
// rectangle; it pages with the chart, can switch series with check boxes and answers clicks.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/common/chart_exception.h"
#include "chart/component/titles.h"
#include "chart/engine/series.h"
#include "chart/panel/plot_panel.h"
#include "platform/vcl/string_list.h"

namespace chart {

class TCustomChart;
class TChartSeries;
class TCustomChartLegend;

enum TLegendStyle : int { lsAuto, lsSeries, lsValues, lsLastValues };
enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum TCheckBoxesStyle { cbsCheck, cbsRadio };
enum TLegendSymbolPosition { spLeft, spRight };
enum TLegendSymbolSize { lcsPercent, lcsPixels };

class LegendException : public ChartException {
 public:
  using ChartException::ChartException;
};

using TSymbolDrawEvent = std::function<void(platform::TObject* Sender, TChartSeries* Series,
                                            int ValueIndex, const TRect& Rect)>;
using TSymbolCalcHeight = std::function<int()>;
// Sender, var size: extra room on the legend's right.
using TLegendCalcSize = std::function<void(TCustomChartLegend* Sender, int& Size)>;

class TChartLegendGradient : public TPlotGradient {
 public:
  explicit TChartLegendGradient(std::function<void()> onChange = {});
  const char* ClassName() const override { return "TChartLegendGradient"; }
};

class TLegendSymbol : public platform::TPersistent {
 public:
  explicit TLegendSymbol(TCustomChartLegend* legend);
  ~TLegendSymbol() override;
  const char* ClassName() const override { return "TLegendSymbol"; }

  bool GetContinuous() const { return continuous_; }
  void SetContinuous(const bool& v);
  bool GetDefaultPen() const { return defaultPen_; }
  void SetDefaultPen(const bool& v);
  TCustomPlotGradient* GetGradient() const { return gradient_.get(); }
  void SetGradient(const TCustomPlotGradient* v);
  TChartPen* GetPen() const { return pen_.get(); }
  void SetPen(const TChartPen* v);
  TLegendSymbolPosition GetPosition() const { return position_; }
  void SetPosition(const TLegendSymbolPosition& v);
  TPlotShadow* GetShadow() const { return shadow_.get(); }
  void SetShadow(const TPlotShadow* v);
  bool GetSquared() const { return squared_; }
  void SetSquared(const bool& v);
  bool GetVisible() const { return visible_; }
  void SetVisible(const bool& v);
  int GetWidth() const { return width_; }
  void SetWidth(const int& v);
  TLegendSymbolSize GetWidthUnits() const { return widthUnits_; }
  void SetWidthUnits(const TLegendSymbolSize& v);

  // Symbol pixels for a text width: 0 hidden, item height - 5 squared, else Width in pixels or
  // percent of the text width.
  int CalcWidth(int textWidth) const;
  // Shadow, then gradient ending in color or a solid color, outlined by a visible pen.
  void Draw(TColor color, const TRect& r);
  void Assign(const platform::TPersistent* source);

  TSymbolDrawEvent OnDraw;
  // The legend's item height.
  TSymbolCalcHeight CalcHeight;

 private:
  void Repaint();

  TCustomChartLegend* legend_;
  bool continuous_ = false;
  bool defaultPen_ = true;
  std::unique_ptr<TCustomPlotGradient> gradient_;
  std::unique_ptr<TChartPen> pen_;
  TLegendSymbolPosition position_ = spLeft;
  std::unique_ptr<TPlotShadow> shadow_;
  bool squared_ = false;
  bool visible_ = true;
  int width_ = 20;
  TLegendSymbolSize widthUnits_ = lcsPercent;
};

class TLegendTitle : public TPlotShape {
 public:
  explicit TLegendTitle(TCustomPlotPanel* parent = nullptr);
  ~TLegendTitle() override;
  const char* ClassName() const override { return "TLegendTitle"; }

  platform::TStrings* GetText() const { return text_.get(); }
  void SetText(const platform::TStrings* v);
  platform::TAlignment GetTextAlignment() const { return textAlignment_; }
  void SetTextAlignment(const platform::TAlignment& v);
  // The first line; writing leaves value as the only line (none when empty).
  std::string GetCaption() const;
  void SetCaption(const std::string& v);

  // Lines x font height (+2 and twice a visible frame when not transparent); canvas font set.
  int CalcHeight();
  // Widest line + "W" (+ twice a visible frame and the horizontal shadow when not transparent).
  int TotalWidth();
  // The title's bounds inside the legend rectangle r.
  void CalcShapeBounds(const TRect& r);
  void DrawText();
  void Assign(const platform::TPersistent* source) override;

 private:
  int FrameWidth() const;

  std::unique_ptr<platform::TStringList> text_;
  platform::TAlignment textAlignment_ = platform::taLeftJustify;
  int height_ = 0;
};

class TLegendItems;

class TLegendItem : public platform::TObject {
 public:
  explicit TLegendItem(TLegendItems* owner) : owner_(owner) {}
  const std::string& GetText() const { return text_; }
  // Stores the text, marks the items custom and repaints, on change.
  void SetText(const std::string& v);

  platform::TAlignment Align = platform::taLeftJustify;
  int Left = 0;
  int Top = 0;
  TRect SymbolRect{};

 private:
  friend class TCustomChartLegend;
  TLegendItems* owner_;
  std::string text_;
};

class TLegendItems {
 public:
  explicit TLegendItems(TCustomChartLegend* legend) : legend_(legend) {}
  // Far more items than a legend has room to show.
  static constexpr int kMostItems = 1 << 20;
  // Grows the list up to index and makes a missing item; null for a negative index, the
  // list-index error from kMostItems on.
  TLegendItem* Get(int index);
  TLegendItem* operator[](int index) { return Get(index); }
  int Count() const { return static_cast<int>(items_.size()); }
  // Frees every item and repaints.
  void Clear();
  TCustomChartLegend* Legend() const { return legend_; }
  // True once an item's text came from outside: drawing reuses the cached items.
  bool Custom = false;

 private:
  TCustomChartLegend* legend_;
  std::vector<std::unique_ptr<TLegendItem>> items_;
};

class TCustomChartLegend : public TPlotCustomShapePosition {
 public:
  explicit TCustomChartLegend(TCustomPlotPanel* parent = nullptr);
  ~TCustomChartLegend() override;
  const char* ClassName() const override { return "TCustomChartLegend"; }

  // ---- Settings ------------------------------------------------------------------------------
  TLegendAlignment GetAlignment() const { return alignment_; }
  void SetAlignment(const TLegendAlignment& v);
  bool GetCheckBoxes() const { return checkBoxes_; }
  void SetCheckBoxes(const bool& v);
  TCheckBoxesStyle GetCheckBoxesStyle() const { return checkBoxesStyle_; }
  // To radio: only the first shown active series stays active.
  void SetCheckBoxesStyle(const TCheckBoxesStyle& v);
  int GetColorWidth() const;
  void SetColorWidth(const int& v);
  bool GetCurrentPage() const { return currentPage_; }
  void SetCurrentPage(const bool& v);
  TChartHiddenPen* GetDividingLines() const { return dividingLines_.get(); }
  void SetDividingLines(const TChartPen* v);
  int GetFirstValue() const { return firstValue_; }
  // Raises LegendException below 0, leaving the value.
  void SetFirstValue(const int& v);
  bool GetFontSeriesColor() const { return fontSeriesColor_; }
  void SetFontSeriesColor(const bool& v);
  int GetHorizMargin() const { return horizMargin_; }
  void SetHorizMargin(const int& v);
  int GetVertMargin() const { return vertMargin_; }
  void SetVertMargin(const int& v);
  bool GetInverted() const { return inverted_; }
  void SetInverted(const bool& v);
  int GetLeftPercent() const { return leftPercent_; }
  void SetLeftPercent(const int& v);
  int GetTopPercent() const { return topPercent_; }
  void SetTopPercent(const int& v);
  TLegendStyle GetLegendStyle() const { return legendStyle_; }
  void SetLegendStyle(const TLegendStyle& v);
  int GetMaxNumRows() const { return maxNumRows_; }
  void SetMaxNumRows(const int& v);
  TPlotUnits GetPositionUnits() const { return positionUnits_; }
  void SetPositionUnits(const TPlotUnits& v);
  bool GetResizeChart() const { return resizeChart_; }
  void SetResizeChart(const bool& v);
  TLegendSymbol* GetSymbol() const { return symbol_.get(); }
  void SetSymbol(const TLegendSymbol* v);
  TLegendTextStyle GetTextStyle() const { return textStyle_; }
  void SetTextStyle(const TLegendTextStyle& v);
  TLegendTitle* GetTitle() const { return title_.get(); }
  void SetTitle(const TLegendTitle* v);
  int GetTopPos() const { return topPos_; }
  void SetTopPos(const int& v);
  int GetVertSpacing() const { return vertSpacing_; }
  void SetVertSpacing(const int& v);
  TChartSeries* GetSeries() const { return series_; }
  void SetSeries(TChartSeries* v);

  // ---- Queries -------------------------------------------------------------------------------
  bool GetVertical() const { return alignment_ == laLeft || alignment_ == laRight; }
  bool HasCheckBoxes() const { return checkBoxes_ && ResolvedStyle != lsValues; }
  bool ShouldDraw() const;
  // Series, else the chart's first active series.
  TChartSeries* GetLegendSeries() const;
  TRect GetRectLegend() const { return ShapeBounds; }
  TLegendItem* GetItem(int index) { return Items.Get(index); }
  void PrepareSymbolPen();
  // Font height (17 at least with check boxes) + VertSpacing (+ dividing-line width vertical).
  int CalcItemHeight();
  int FirstItemTop();
  void CalcLegendStyle();
  // The item's text before OnGetLegendText.
  std::string FormattedLegend(int index);
  std::string FormattedValue(TChartSeries* series, int valueIndex);

  // ---- Drawing and clicks --------------------------------------------------------------------
  void DrawLegend();
  // The value index of the item drawn under (x, y) by the last drawing, or -1.
  int Clicked(int x, int y);
  // Check-box clicks switch series; True when handled.
  bool DoMouseDown(int index);
  // Until the next drawing, no item answers clicks.
  void ForgetItemAreas() { cells_.clear(); }

  void SetParent(TCustomPlotPanel* panel) override;
  void Assign(const platform::TPersistent* source) override;

  // ---- Run-time state ------------------------------------------------------------------------
  TLegendItems Items{this};
  TLegendStyle ResolvedStyle = lsSeries;
  int ItemCount = 0;
  int LastIndex = 0;
  int ColumnCount = 1;
  int RowCount = 0;
  int SymbolPixels = 0;
  bool AutoColumnWidths = true;
  std::array<int, 2> ColWidths{0, 0};
  bool TitleShown = false;
  // Two columns per item, in value order from FirstValue on.
  std::vector<std::array<std::string, 2>> Texts;
  TLegendCalcSize OnLegendSize;

 private:
  TCustomChart* Chart() const;
  // Through the panel's typed setter (repaints on change); directly without a panel.
  void SetIntegerProperty(int& variable, int value);
  int FrameWidthForLayout() const;
  int FitCount(int start, int step, bool rows) const;
  int CountShownSeries() const;
  // The series listed at item position index (lsSeries, lsLastValues).
  TChartSeries* ListedSeries(int index) const;
  void StoreTexts();
  // The text width W: both column widths and two spaces.
  int CalcTextWidth();
  struct ItemLayout {
    int margin;
    int itemHeight;
    int space;
    int textWidth;
    int itemStart;
    int checkLeft;
  };
  void DrawItems(const ItemLayout& layout);
  void DrawItem(int k, int shown, const ItemLayout& layout);
  void DrawSymbol(TChartSeries* series, int valueIndex, const TRect& r);
  void ResizeChartRect();

  // Where a drawn item answers clicks (right and bottom excluded).
  struct ItemCell {
    TRect Rect;
    int ValueIndex;
  };
  std::vector<ItemCell> cells_;

  TLegendAlignment alignment_ = laRight;
  bool checkBoxes_ = false;
  TCheckBoxesStyle checkBoxesStyle_ = cbsCheck;
  bool currentPage_ = true;
  std::unique_ptr<TChartHiddenPen> dividingLines_;
  int firstValue_ = 0;
  bool fontSeriesColor_ = false;
  int horizMargin_ = 0;
  int vertMargin_ = 0;
  bool inverted_ = false;
  int leftPercent_ = 0;
  int topPercent_ = 0;
  TLegendStyle legendStyle_ = lsAuto;
  int maxNumRows_ = 10;
  TPlotUnits positionUnits_ = muPixels;
  bool resizeChart_ = true;
  std::unique_ptr<TLegendSymbol> symbol_;
  TLegendTextStyle textStyle_ = ltsLeftValue;
  std::unique_ptr<TLegendTitle> title_;
  int topPos_ = 10;
  int vertSpacing_ = 0;
  TChartSeries* series_ = nullptr;
  int titleHeight_ = 0;
};

class TChartLegend : public TCustomChartLegend {
 public:
  using TCustomChartLegend::TCustomChartLegend;
  const char* ClassName() const override { return "TChartLegend"; }
};

}  // namespace chart

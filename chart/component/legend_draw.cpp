// The legend's layout and drawing: style and paging, rows and columns that fit, the texts and
// their column widths, the box, the title, the items, and the room taken off the chart.
#include <algorithm>
#include <climits>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/geometry.h"
#include "chart/common/html_text.h"
#include "chart/component/chart.h"
#include "chart/component/legend.h"
#include "chart/engine/engine_globals.h"
#include "chart/panel/editor_controls.h"

namespace chart {

namespace {

// AutoRepaint off while the legend draws, whatever leaves the drawing.
class RepaintOff {
 public:
  explicit RepaintOff(TCustomPlotPanel& panel) : panel_(panel), saved_(panel.AutoRepaint) {
    panel_.AutoRepaint = false;
  }
  ~RepaintOff() { panel_.AutoRepaint = saved_; }
  RepaintOff(const RepaintOff&) = delete;
  RepaintOff& operator=(const RepaintOff&) = delete;

 private:
  TCustomPlotPanel& panel_;
  bool saved_;
};

bool RightAlignedColumn(int column, TLegendTextStyle style) {
  if (column == 0)
    return style == ltsLeftValue || style == ltsLeftPercent || style == ltsXValue ||
           style == ltsValue || style == ltsPercent || style == ltsXAndValue ||
           style == ltsXAndPercent;
  return style == ltsRightValue || style == ltsRightPercent || style == ltsXAndValue ||
         style == ltsXAndPercent;
}

int ClampCount(long long v) {
  return static_cast<int>(std::clamp<long long>(v, 0, INT_MAX));
}

}  // namespace

void TCustomChartLegend::SetParent(TCustomPlotPanel* panel) {
  TPlotCustomShapePosition::SetParent(panel);
  title_->SetParent(panel);
}

int TCustomChartLegend::FrameWidthForLayout() const {
  if (GetBevel() != platform::bvNone) return GetBevelWidth();
  const TChartPen* frame = GetFrame();
  return frame && frame->GetVisible() ? frame->GetWidth() : 0;
}

int TCustomChartLegend::FitCount(int start, int step, bool rows) const {
  const TCustomChart* chart = Chart();
  if (!chart) return 0;
  const int limit = rows ? chart->ChartRect.Bottom : chart->ChartRect.Right;
  if (start >= limit || step <= 0) return 0;
  const long long size = rows ? chart->ChartRect.Bottom : chart->ChartWidth;
  const long long fit = (size - 2LL * FrameWidthForLayout() - start) / step;
  return std::min(ClampCount(fit), ItemCount);
}

void TCustomChartLegend::StoreTexts() {
  TCustomChart* chart = Chart();
  Texts.clear();
  if (!chart) return;
  for (int i = firstValue_; i <= LastIndex; ++i) {
    const std::string text = chart->FormattedLegend(i);
    std::array<std::string, 2> columns;
    const size_t sep = text.find(PlotColumnSeparator);
    columns[0] = text.substr(0, sep);
    if (sep != std::string::npos) {
      const std::string rest = text.substr(sep + 1);
      columns[1] = rest.substr(0, rest.find(PlotColumnSeparator));
    }
    Texts.push_back(std::move(columns));
  }
}

int TCustomChartLegend::CalcTextWidth() {
  TCanvas3D& canvas = *ParentChart()->GetCanvas3D();
  const bool html = GetTextFormat() == ttfHtml;
  auto width = [&](const std::string& s) {
    if (s.empty()) return 0;
    return html ? HtmlTextExtent(canvas, s).Width : canvas.TextWidth(s);
  };
  if (AutoColumnWidths) {
    ColWidths = {0, 0};
    for (size_t i = 0; i < Texts.size(); ++i) {
      const std::string& first =
          Items.Custom ? Items.Get(static_cast<int>(i))->GetText() : Texts[i][0];
      ColWidths[0] = std::max(ColWidths[0], width(first));
      ColWidths[1] = std::max(ColWidths[1], width(Texts[i][1]));
    }
  }
  return 2 * canvas.TextWidth(" ") - 1 + ColWidths[0] + ColWidths[1];
}

void TCustomChartLegend::DrawLegend() {
  TCustomChart* chart = Chart();
  if (!chart || !chart->GetCanvas3D()) return;
  RepaintOff repaintOff(*chart);
  TCanvas3D& canvas = *chart->GetCanvas3D();
  cells_.clear();
  CalcLegendStyle();
  const int fw = FrameWidthForLayout();
  const bool custom = GetCustomPosition();

  if (custom && positionUnits_ == muPercent) {
    const int w = ShapeBounds.Right - ShapeBounds.Left;
    const int h = ShapeBounds.Bottom - ShapeBounds.Top;
    ShapeBounds.Left = Round(leftPercent_ * static_cast<long double>(chart->GetWidth()) * 0.01L);
    ShapeBounds.Top = Round(topPercent_ * static_cast<long double>(chart->GetHeight()) * 0.01L);
    ShapeBounds.Right = ShapeBounds.Left + w;
    ShapeBounds.Bottom = ShapeBounds.Top + h;
  }

  const int perPage = chart->Pages().GetMaxPointsPerPage();
  const bool pageValues = ResolvedStyle == lsValues && currentPage_ && perPage > 0;
  if (pageValues)
    firstValue_ = ClampCount(chart->Pages().FirstValueIndex());
  else if (perPage > 0 && ResolvedStyle != lsValues)
    firstValue_ = 0;

  int n = 0;
  if (ResolvedStyle == lsValues) {
    TChartSeries* s = GetLegendSeries();
    n = s && s->GetShowInLegend() ? s->CountLegendItems() : 0;
  } else {
    n = CountShownSeries();
  }
  ItemCount = std::max(0, n - firstValue_);
  if (pageValues) ItemCount = std::min(ItemCount, perPage);

  chart->LegendBackColor = GetColor();
  canvas.AssignFont(GetFont());
  TitleShown = title_->GetVisible() && title_->GetText()->Count() > 0;
  if (TitleShown) {
    titleHeight_ = title_->CalcHeight();
    canvas.AssignFont(GetFont());
  }
  const int space = canvas.TextWidth(" ");
  const int itemHeight = CalcItemHeight();
  const int checkExtra = HasCheckBoxes() ? 15 : 0;

  int textWidth = 0;
  if (GetVertical()) {
    if (!custom)
      ShapeBounds.Top =
          chart->ChartBounds.Top +
          Round(topPos_ *
                static_cast<long double>(chart->ChartBounds.Bottom - chart->ChartBounds.Top) *
                0.01L);
    ColumnCount = 1;
    RowCount = FitCount(FirstItemTop(), itemHeight, true);
    LastIndex = firstValue_ + std::min(ItemCount, RowCount) - 1;
    StoreTexts();
  } else {
    LastIndex = firstValue_ + ItemCount - 1;
    StoreTexts();
    textWidth = CalcTextWidth();
    SymbolPixels = symbol_->CalcWidth(textWidth);
    if (!custom) {
      if (alignment_ == laBottom) {
        int amount = (chart->GetShadow() ? chart->GetShadow()->GetVertSize() : 0) + fw + 1;
        if (OnLegendSize) OnLegendSize(this, amount);
        ShapeBounds.Bottom = chart->ChartRect.Bottom - amount;
      } else {
        ShapeBounds.Top = chart->ChartRect.Top + fw + 1;
      }
    }
    ColumnCount = FitCount(8, SymbolPixels + textWidth + (HasCheckBoxes() ? 35 : 8), false);
    if (ColumnCount < 1)
      RowCount = 0;
    else
      RowCount = std::min((ItemCount - 1) / ColumnCount + 1, maxNumRows_);
    RowCount = std::max(RowCount, 0);
    LastIndex = firstValue_ +
                static_cast<int>(std::min<long long>(
                    ItemCount, static_cast<long long>(ColumnCount) * RowCount)) -
                1;
  }
  if (LastIndex < firstValue_) return;

  // Height.
  const int margin = Round(itemHeight * 0.1L);
  int height = itemHeight * RowCount + 2 + 2 * margin;
  if (TitleShown) {
    height += titleHeight_ + 2;
    if (!title_->GetTransparent() && title_->GetShadow())
      height += std::abs(title_->GetShadow()->GetVertSize());
  }
  if (alignment_ == laBottom && !custom)
    ShapeBounds.Top = ShapeBounds.Bottom - height;
  else
    ShapeBounds.Bottom = ShapeBounds.Top + height;

  // Width.
  int itemStart = 0;
  if (GetVertical()) {
    textWidth = CalcTextWidth();
    SymbolPixels = symbol_->CalcWidth(textWidth + 10);
    int width = textWidth + 10 + SymbolPixels;
    if (OnLegendSize) OnLegendSize(this, width);
    if (TitleShown) {
      width = std::max(width, title_->TotalWidth());
      canvas.AssignFont(GetFont());
    }
    if (!custom) {
      if (alignment_ == laLeft) {
        ShapeBounds.Left = chart->ChartRect.Left + fw + 1;
      } else {
        const int shadow = GetShadow() ? GetShadow()->GetHorizSize() : 0;
        ShapeBounds.Left = chart->ChartRect.Right - shadow - fw - 1 - width - checkExtra;
      }
    }
    itemStart = ShapeBounds.Left + checkExtra;
    ShapeBounds.Right = itemStart + width;
  } else {
    int width = ColumnCount * (textWidth + SymbolPixels + 6) + 10;
    if (HasCheckBoxes()) width += ColumnCount * 13 + 8;
    if (TitleShown) {
      width = std::max(width, title_->TotalWidth());
      canvas.AssignFont(GetFont());
    }
    const int half = std::min(chart->ChartWidth, width) / 2;
    if (!custom)
      ShapeBounds.Left = Round(topPos_ *
                               static_cast<long double>(chart->ChartBounds.Right -
                                                        chart->ChartBounds.Left - 2 * half) *
                               0.01L) +
                         chart->ChartXCenter - half;
    ShapeBounds.Right = ShapeBounds.Left + 2 * half;
    itemStart = ShapeBounds.Left + checkExtra;
  }

  if (chart->OnGetLegendRect) chart->OnGetLegendRect(chart, ShapeBounds);
  Draw();
  if (TitleShown) {
    title_->CalcShapeBounds(ShapeBounds);
    title_->Draw();
    title_->DrawText();
  }
  canvas.AssignFont(GetFont());
  DrawItems(ItemLayout{margin, itemHeight, space, textWidth, itemStart, ShapeBounds.Left + 4});
  chart->LegendPen = nullptr;
  ResizeChartRect();
}

void TCustomChartLegend::DrawItems(const ItemLayout& layout) {
  if (!Items.Custom) Items.Clear();
  const int shown = LastIndex - firstValue_ + 1;
  for (int k = 0; k < shown; ++k) DrawItem(k, shown, layout);
}

void TCustomChartLegend::DrawItem(int k, int shown, const ItemLayout& l) {
  TCustomChart* chart = Chart();
  TCanvas3D& canvas = *chart->GetCanvas3D();
  const int valueIndex = inverted_ ? LastIndex - k : firstValue_ + k;
  const bool checks = HasCheckBoxes();

  canvas.Brush->SetColor(GetColor());
  canvas.Brush->SetStyle(platform::bsClear);
  PrepareSymbolPen();

  int row = k;
  int offset = 0;
  if (!GetVertical()) {
    row = k / ColumnCount;
    offset = (k % ColumnCount) * (l.textWidth + SymbolPixels + 6 + (checks ? 15 : 0));
  }
  const int start = l.itemStart + offset;
  int symbolLeft = start + 6;
  int textLeft = start + SymbolPixels + 10;
  if (symbol_->GetPosition() == spLeft) {
    if (symbol_->GetShadow()->GetHorizSize() > 0) textLeft += symbol_->GetShadow()->GetHorizSize();
  } else {
    textLeft = start + 6;
    symbolLeft = start + l.textWidth + 6;
  }
  int y = FirstItemTop() + l.margin + 1 + row * l.itemHeight + vertSpacing_ / 2;
  // The item answers clicks in its row, from its column's start (its check box, else the item)
  // to the next column's; the outer columns reach the box's sides.
  const int columnStart = (checks ? l.checkLeft : l.itemStart) + offset;
  TRect cell{ShapeBounds.Left, y, ShapeBounds.Right, y + l.itemHeight};
  if (!GetVertical()) {
    if (k % ColumnCount > 0) cell.Left = columnStart;
    if (k % ColumnCount < ColumnCount - 1)
      cell.Right = columnStart + l.textWidth + SymbolPixels + 6 + (checks ? 15 : 0);
  }
  cells_.push_back({cell, valueIndex});
  if (chart->OnGetLegendPos) chart->OnGetLegendPos(chart, valueIndex, symbolLeft, y, textLeft);

  TChartSeries* listed = ResolvedStyle == lsValues ? nullptr : ListedSeries(valueIndex);
  TChartSeries* legendSeries = ResolvedStyle == lsValues ? GetLegendSeries() : nullptr;
  if (fontSeriesColor_) {
    if (listed)
      canvas.Font->SetColor(listed->GetSeriesColor());
    else if (legendSeries)
      canvas.Font->SetColor(legendSeries->LegendItemColor(valueIndex));
  }

  // Texts, two columns.
  canvas.SetBackMode(cbmTransparent);
  const bool html = GetTextFormat() == ttfHtml;
  const size_t textIndex = static_cast<size_t>(valueIndex - firstValue_);
  TLegendItem* item = Items.Get(k);
  int x = textLeft;
  for (int column = 0; column < 2; ++column) {
    const bool right = ResolvedStyle != lsSeries && RightAlignedColumn(column, textStyle_);
    std::string text = textIndex < Texts.size() ? Texts[textIndex][column] : std::string();
    int tx = right ? x + ColWidths[column] : x;
    int ty = y + (checks ? 1 : 0);
    platform::TAlignment align = right ? platform::taRightJustify : platform::taLeftJustify;
    if (column == 0) {
      if (Items.Custom) {
        tx = item->Left;
        ty = item->Top;
        text = item->GetText();
        align = item->Align;
      } else {
        item->Left = tx;
        item->Top = ty;
        item->text_ = text;
        item->Align = align;
      }
    }
    if (!text.empty()) {
      canvas.SetTextAlign(align == platform::taRightJustify ? 2u : 0u);
      canvas.TextOut(tx, ty, text, html);
    }
    x += ColWidths[column] + l.space;
  }
  canvas.SetTextAlign(0);

  // Symbol.
  TRect r;
  if (Items.Custom) {
    r = item->SymbolRect;
  } else {
    r = TRect{symbolLeft, y + 2, symbolLeft + SymbolPixels,
              y + l.itemHeight + 1 - (vertSpacing_ + 3)};
    if (symbol_->GetContinuous()) {
      if (k > 0) r.Top = y;
      if (k < shown - 1) r.Bottom = y + l.itemHeight + 1;
    }
    item->SymbolRect = r;
  }
  if (ResolvedStyle == lsValues) {
    if (legendSeries) DrawSymbol(legendSeries, legendSeries->LegendToValueIndex(valueIndex), r);
  } else {
    if (checks && listed) {
      PlotDrawCheckBox(l.checkLeft + offset, y - 1 + (l.itemHeight - vertSpacing_ - 11) / 2,
                       canvas.PlatformCanvas, listed->GetActive(), GetColor(),
                       checkBoxesStyle_ == cbsCheck);
    }
    DrawSymbol(listed, -1, r);
  }

  // Dividing lines between items.
  TChartHiddenPen* lines = dividingLines_.get();
  if (k > 0 && lines->GetVisible()) {
    canvas.AssignVisiblePen(lines);
    if (GetVertical()) {
      const int ly = y - vertSpacing_ / 2;
      canvas.Line(ShapeBounds.Left, ly, ShapeBounds.Right, ly);
    } else if (offset > 0) {
      const int lx = ShapeBounds.Left + offset + 2;
      canvas.Line(lx, ShapeBounds.Top, lx, ShapeBounds.Bottom);
    }
  }
}

void TCustomChartLegend::DrawSymbol(TChartSeries* series, int valueIndex, const TRect& r) {
  if (symbol_->OnDraw) {
    symbol_->OnDraw(this, series, valueIndex, r);
    return;
  }
  if (SymbolPixels <= 0) return;
  if (series)
    series->DrawLegend(valueIndex, r);
  else
    symbol_->Draw(platform::clWhite, r);
}

void TCustomChartLegend::ResizeChartRect() {
  TCustomChart* chart = Chart();
  if (chart->FixedChartRect || !resizeChart_ || GetCustomPosition()) return;
  TRect& cr = chart->ChartRect;
  switch (alignment_) {
    case laLeft:
      cr.Left = ShapeBounds.Right;
      break;
    case laRight:
      cr.Right = ShapeBounds.Left;
      break;
    case laTop:
      cr.Top = ShapeBounds.Bottom + (chart->GetShadow() ? chart->GetShadow()->GetVertSize() : 0);
      break;
    case laBottom:
      cr.Bottom = ShapeBounds.Top;
      break;
  }
  if (GetVertical()) {
    const int m = horizMargin_ != 0 ? horizMargin_ : 3 * chart->ChartWidth / 100;
    if (alignment_ == laLeft)
      cr.Left += m;
    else
      cr.Right -= m;
  } else {
    const int m = vertMargin_ != 0 ? vertMargin_ : 4 * chart->ChartHeight / 100;
    if (alignment_ == laTop)
      cr.Top += m;
    else
      cr.Bottom -= m;
  }
  chart->ReCalcWidthHeight();
}

}  // namespace chart

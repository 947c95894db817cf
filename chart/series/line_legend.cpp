// Line, area and point series: legend symbols and canvases, gallery entries and drawing order.
#include <algorithm>

#include "chart/canvas/canvas3d.h"
#include "chart/common/plot_const.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"
#include "chart/series/line_series.h"

namespace chart {

namespace {

// The pointer centred in rect: a third of it at most beside a line, else half + 1.
void PlotPointerDrawLegend(TCanvas3D* canvas, TSeriesPointer* pointer, TColor color,
                           const TRect& rect, bool drawPen) {
  const int w = rect.Right - rect.Left, h = rect.Bottom - rect.Top;
  const int maxH = drawPen ? w / 3 : w / 2 + 1;
  const int maxV = drawPen ? h / 3 : h / 2 + 1;
  pointer->PrepareCanvas(canvas, color);
  pointer->DrawPointer(canvas, false, rect.Left + w / 2, rect.Top + h / 2,
                       std::min(pointer->GetHorizSize(), maxH),
                       std::min(pointer->GetVertSize(), maxV), color, pointer->GetStyle());
}

bool HasImage(const TChartBrush* brush) {
  const platform::TPicture* image = brush->ImageIfAny();
  return image && image->Graphic() && !image->Graphic()->Empty();
}

}  // namespace

// ---- Legend ------------------------------------------------------------------------------------

void TCustomSeries::PrepareLegendCanvas(int valueIndex, TColor& backColor,
                                        platform::TBrushStyle& brushStyle) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return;
  const TColor color = valueIndex == -1 ? GetSeriesColor() : LegendItemColor(valueIndex);
  if (drawArea_) {
    TChartPen* pen = areaLinesPen_.get();
    if (pen->GetColor() == platform::clDefault)
      canvas->AssignVisiblePenColor(pen, color);
    else
      canvas->AssignVisiblePen(pen);
    if (areaColor_ != platform::clDefault) backColor = areaColor_;
    brushStyle = areaBrush_->GetStyle();
  } else {
    canvas->AssignVisiblePenColor(GetLinePen(), color);
    brushStyle = GetLineBrush();
  }
}

void TCustomSeries::DrawLegendShape(int valueIndex, const TRect& rect) {
  TCustomAxisPanel* chart = GetParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return;
  const TColor color = valueIndex == -1 ? GetSeriesColor() : LegendItemColor(valueIndex);
  const int middle = rect.Top + (rect.Bottom - rect.Top) / 2;
  if (pointer_->GetVisible()) {
    if (JoinPoints) canvas->DoHorizLine(rect.Left, rect.Right, middle);
    PlotPointerDrawLegend(canvas, pointer_.get(), color, rect, GetLinePen()->GetVisible());
    return;
  }
  if (drawArea_) {
    if (gradient_->GetVisible()) {
      gradient_->Draw(*canvas, rect);
      return;
    }
    if (HasImage(areaBrush_.get()))
      canvas->AssignBrushColor(areaBrush_.get(), color, canvas->GetBackColor());
  } else if (JoinPoints && !chart->GetView3D()) {
    canvas->DoHorizLine(rect.Left, rect.Right, middle);
    return;
  }
  TChartSeries::DrawLegendShape(valueIndex, rect);
}

// ---- Gallery -----------------------------------------------------------------------------------

void TLineSeries::CreateSubGallery(const TAddSubChart& addSubChart) {
  TCustomSeries::CreateSubGallery(addSubChart);
  if (!addSubChart) return;
  for (const std::string* s :
       {&PlotMsg_Stairs, &PlotMsg_Points, &PlotMsg_Height, &PlotMsg_Hollow, &PlotMsg_Colors,
        &PlotMsg_Marks, &PlotMsg_NoBorder, &PlotMsg_Outline})
    addSubChart(*s);
}

void TLineSeries::SetSubGallery(int index) {
  switch (index) {
    case 1:
      SetStairs(true);
      break;
    case 2:
      GetPointer()->SetVisible(true);
      break;
    case 3:
      SetLineHeight(5);
      break;
    case 4:
      SetLineBrush(platform::bsClear);
      break;
    case 5:
      SetColorEachPoint(true);
      break;
    case 6:
      Marks()->SetVisible(true);
      break;
    case 7:
      GetLinePen()->SetVisible(false);
      break;
    case 8:
      GetOutLine()->SetVisible(true);
      break;
    default:
      break;
  }
}

void TPointSeries::CreateSubGallery(const TAddSubChart& addSubChart) {
  TCustomSeries::CreateSubGallery(addSubChart);
  if (!addSubChart) return;
  for (const std::string* s : {&PlotMsg_Colors, &PlotMsg_Marks, &PlotMsg_Hollow, &PlotMsg_NoBorder,
                               &PlotMsg_Gradient, &PlotMsg_Point2D})
    addSubChart(*s);
  if (!CanDoExtra()) return;
  for (const std::string* s : {&PlotMsg_Triangle, &PlotMsg_Star, &PlotMsg_Circle, &PlotMsg_DownTri,
                               &PlotMsg_Cross, &PlotMsg_Diamond})
    addSubChart(*s);
}

void TPointSeries::SetSubGallery(int index) {
  TSeriesPointer* pointer = GetPointer();
  switch (index) {
    case 1:
      SetColorEachPoint(true);
      break;
    case 2:
      Marks()->SetVisible(true);
      break;
    case 3:
      pointer->GetBrush()->SetStyle(platform::bsClear);
      break;
    case 4:
      pointer->GetFrame()->SetVisible(false);
      break;
    case 5:
      pointer->GetGradient()->SetVisible(true);
      break;
    case 6:
      pointer->SetDraw3D(false);
      break;
    case 7:
      pointer->SetStyle(psTriangle);
      break;
    case 8:
      pointer->SetStyle(psStar);
      break;
    case 9:
      pointer->SetStyle(psCircle);
      pointer->SetSize(8);
      break;
    case 10:
      pointer->SetStyle(psDownTriangle);
      break;
    case 11:
      pointer->SetStyle(psCross);
      break;
    case 12:
      pointer->SetStyle(psDiamond);
      break;
    default:
      break;
  }
}

void TPointSeries::PrepareForGallery(bool isEnabled) {
  TCustomSeries::PrepareForGallery(isEnabled);
  TCustomAxisPanel* chart = GetParentChart();
  GetPointer()->SetSize(chart && chart->GetWidth() < 50 ? 4 : 6);
  if (chart && chart->SeriesList().IndexOf(this) == 1) GetPointer()->SetStyle(psTriangle);
}

void TAreaSeries::CreateSubGallery(const TAddSubChart& addSubChart) {
  TCustomSeries::CreateSubGallery(addSubChart);
  if (!addSubChart) return;
  for (const std::string* s :
       {&PlotMsg_Stairs, &PlotMsg_Marks, &PlotMsg_Colors, &PlotMsg_Hollow, &PlotMsg_NoLines,
        &PlotMsg_Stack, &PlotMsg_Stack100, &PlotMsg_Points, &PlotMsg_Gradient})
    addSubChart(*s);
}

void TAreaSeries::SetSubGallery(int index) {
  switch (index) {
    case 1:
      SetStairs(true);
      break;
    case 2:
      Marks()->SetVisible(true);
      break;
    case 3:
      SetColorEachPoint(true);
      break;
    case 4:
      SetAreaBrush(platform::bsClear);
      break;
    case 5:
      GetAreaLinesPen()->SetVisible(false);
      break;
    case 6:
      SetMultiArea(maStacked);
      break;
    case 7:
      SetMultiArea(maStacked100);
      break;
    case 8:
      GetPointer()->SetVisible(true);
      break;
    case 9:
      GetGradient()->SetVisible(true);
      break;
    default:
      break;
  }
}

void TAreaSeries::PrepareForGallery(bool isEnabled) {
  TCustomSeries::PrepareForGallery(isEnabled);
  GetGradient()->SetEndColor(GetSeriesColor());
  GetGradient()->SetVisible(true);
}

// ---- Drawing order -----------------------------------------------------------------------------

bool TAreaSeries::DrawSeriesForward(int valueIndex) const {
  if (GetMultiArea() == maNone) return TCustomSeries::DrawSeriesForward(valueIndex);
  const TChartAxis* axis = MandatoryAxis();
  return !(axis && axis->GetInverted());
}

}  // namespace chart

// Published properties of the bar series and the functions, by the names a form layout uses.
#include "chart/series/series_registration.h"

#include <string>
#include <vector>

#include "chart/component/component_registration.h"
#include "chart/component/legend.h"
#include "chart/engine/engine_registration.h"
#include "chart/series/bar_series.h"
#include "chart/series/fast_line_series.h"
#include "chart/series/line_series.h"
#include "chart/series/pie_series.h"
#include "chart/series/plot_functions.h"

namespace chart {

using namespace layout;
using platform::RegisterClass;
using platform::RegisterComponentClass;

namespace {

const std::vector<std::string> kBrushStyle{"bsSolid",    "bsClear",     "bsHorizontal",
                                           "bsVertical", "bsFDiagonal", "bsBDiagonal",
                                           "bsCross",    "bsDiagCross"};

void RegisterLineSeries() {
  using L = TCustomLineSeries;
  RegisterClass("TCustomLineSeries", "TChartSeries")
      .Object<L>("LinePen", "TChartPen", Sub(&L::GetLinePen));
  using C = TCustomSeries;
  RegisterClass("TCustomSeries", "TCustomLineSeries")
      .Value<C>("ClickableLine", Bool(&C::SetClickableLine))
      .Object<C>("Pointer", "TSeriesPointer", Sub(&C::GetPointer))
      .Event("OnClickPointer", &C::OnClickPointer)
      .Event("OnGetPointerStyle", &C::OnGetPointerStyle);
  const std::vector<std::string> stacked{"cssNone", "cssOverlap", "cssStack", "cssStack100"};
  RegisterComponentClass<TLineSeries>("TLineSeries", "TCustomSeries")
      .Object<C>("Brush", "TChartBrush", Sub(&C::GetBrush))
      .Value<C>("LineBrush", Enum<platform::TBrushStyle>(&C::SetLineBrush, kBrushStyle))
      .Value<C>("ColorEachLine", Bool(&C::SetColorEachLine))
      .Value<C>("Dark3D", Bool(&C::SetDark3D))
      .Value<C>("InvertedStairs", Bool(&C::SetInvertedStairs))
      .Value<C>("LineHeight", Int(&C::SetLineHeight))
      .Object<C>("OutLine", "TChartHiddenPen", Sub(&C::GetOutLine))
      .Object<C>("Shadow", "TPlotShadow", Sub(&C::GetShadow))
      .Value<C>("Stacked", Enum<TCustomSeriesStack>(&C::SetStacked, stacked))
      .Value<C>("Stairs", Bool(&C::SetStairs));
  RegisterComponentClass<THorizLineSeries>("THorizLineSeries", "TLineSeries");
  RegisterComponentClass<TPointSeries>("TPointSeries", "TCustomSeries")
      .Value<C>("Stacked", Enum<TCustomSeriesStack>(&C::SetStacked, stacked))
      .Value<C>("Transparency", Int(&C::SetTransparency));
  using A = TAreaSeries;
  RegisterComponentClass<A>("TAreaSeries", "TCustomSeries")
      .Object<C>("AreaChartBrush", "TChartBrush", Sub(&C::GetAreaChartBrush))
      .Value<C>("AreaBrush", Enum<platform::TBrushStyle>(&C::SetAreaBrush, kBrushStyle))
      .Value<C>("AreaColor", Color(&C::SetAreaColor))
      .Object<C>("AreaLinesPen", "TChartPen", Sub(&C::GetAreaLinesPen))
      .Value<C>("ColorEachLine", Bool(&C::SetColorEachLine))
      .Value<C>("Dark3D", Bool(&C::SetDark3D))
      .Value<C>("DrawArea", Bool(&C::SetDrawArea))
      .Object<C>("Gradient", "TPlotGradient", Sub(&C::GetGradient))
      .Value<C>("InvertedStairs", Bool(&C::SetInvertedStairs))
      .Value<C>("Stairs", Bool(&C::SetStairs))
      .Value<C>("Transparency", Int(&C::SetTransparency))
      .Value<A>("MultiArea",
                Enum<TMultiArea>(&A::SetMultiArea, {"maNone", "maStacked", "maStacked100"}))
      .Value<A>("UseYOrigin", Bool(&A::SetUseYOrigin))
      .Value<A>("YOrigin", Double(&A::SetYOrigin));
  RegisterComponentClass<THorizAreaSeries>("THorizAreaSeries", "TAreaSeries");

  using F = TFastLineSeries;
  RegisterComponentClass<F>("TFastLineSeries", "TCustomLineSeries")
      .Value<F>("AutoRepaint", Bool(&F::SetAutoRepaint))
      .Value<F>("DrawAllPoints", Bool(&F::SetDrawAllPoints))
      .Value<F>("IgnoreNulls", Bool(&F::SetIgnoreNulls))
      .Value<F>("InvertedStairs", Bool(&F::SetInvertedStairs))
      .Value<F>("Stairs", Bool(&F::SetStairs));
}

void RegisterPieSeries() {
  RegisterClass("TPieShadow", "TPlotShadow");
  using O = TPieOtherSlice;
  RegisterClass("TPieOtherSlice", "TPersistent")
      .Value<O>("Color", Color(&O::SetColor))
      .Object<O>("Legend", "TChartLegend", Sub(&O::GetLegend))
      .Value<O>("Style",
                Enum<TPieOtherStyle>(&O::SetStyle, {"poNone", "poBelowPercent", "poBelowValue"}))
      .Value<O>("Text", Str(&O::SetText))
      .Value<O>("Value", Double(&O::SetValue));
  using C = TCircledSeries;
  RegisterClass("TCircledSeries", "TChartSeries")
      .Value<C>("Circled", Bool(&C::SetCircled))
      .Value<C>("CustomXRadius", Int(&C::SetCustomXRadius))
      .Value<C>("CustomYRadius", Int(&C::SetCustomYRadius))
      .Value<C>("RotationAngle", Int(&C::SetRotationAngle))
      .Value<C>("CircleBackColor", Color(&C::SetCircleBackColor));
  using P = TPieSeries;
  RegisterComponentClass<P>("TPieSeries", "TCircledSeries")
      .Value<P>("AngleSize", Int(&P::SetAngleSize))
      .Value<P>("AutoMarkPosition", Bool(&P::SetAutoMarkPosition))
      .Value<P>("Dark3D", Bool(&P::SetDark3D))
      .Value<P>("DarkPen", Int(&P::SetDarkPen))
      .Value<P>("ExplodeBiggest", Int(&P::SetExplodeBiggest))
      .Object<C>("Gradient", "TPlotGradient", Sub(&C::GetGradient))
      .Value<P>("MultiPie", Enum<TMultiPie>(&P::SetMultiPie, {"mpAutomatic", "mpDisabled"}))
      .Object<P>("OtherSlice", "TPieOtherSlice", Sub(&P::GetOtherSlice))
      .Object<P>("PiePen", "TChartPen", Sub(&P::GetPiePen))
      .Object<P>("PieValues", "TChartValueList", Sub(&P::GetPieValues))
      .Object<P>("Shadow", "TPieShadow", Sub(&P::GetShadow))
      .Value<P>("UsePatterns", Bool(&P::SetUsePatterns));
}

}  // namespace

void RegisterSeriesLayoutClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterEngineLayoutClasses();
  // The pie's other slice may hold a legend.
  RegisterComponentLayoutClasses();

  RegisterClass("TBarSeriesGradient", "TCustomPlotGradient")
      .Value<TBarSeriesGradient>("Relative", Bool(&TBarSeriesGradient::SetRelative));
  using B = TCustomBarSeries;
  RegisterClass("TCustomBarSeries", "TChartSeries")
      .Value<B>("AutoBarSize", Bool(&B::SetAutoBarSize))
      .Value<B>("AutoMarkPosition", Bool(&B::SetAutoMarkPosition))
      .Value<B>("BarStyle",
                Enum<TBarStyle>(&B::SetBarStyle,
                                {"bsRectangle", "bsPyramid", "bsInvPyramid", "bsCilinder",
                                 "bsEllipse", "bsArrow", "bsRectGradient", "bsCone", "bsBevel",
                                 "bsSlantCube", "bsDiamond", "bsInvArrow", "bsInvCone"}))
      .Value<B>("BarWidthPercent", Int(&B::SetBarWidthPercent))
      .Value<B>("BevelSize", Int(&B::SetBevelSize))
      .Value<B>("Dark3D", Bool(&B::SetDark3D))
      .Value<B>("DepthPercent", Int(&B::SetDepthPercent))
      .Object<B>("Gradient", "TBarSeriesGradient", Sub(&B::GetGradient))
      .Value<B>("MultiBar",
                Enum<TMultiBar>(&B::SetMultiBar, {"mbNone", "mbSide", "mbStacked", "mbStacked100",
                                                  "mbSideAll", "mbSelfStack"}))
      .Value<B>("OffsetPercent", Int(&B::SetOffsetPercent))
      .Value<B>("SideMargins", Bool(&B::SetSideMargins))
      .Value<B>("StackGroup", Int(&B::SetStackGroup))
      .Object<B>("TickLines", "TChartHiddenPen", Sub(&B::GetTickLines))
      .Value<B>("UseYOrigin", Bool(&B::SetUseYOrigin))
      .Value<B>("YOrigin", Double(&B::SetYOrigin))
      .Object<B>("BarBrush", "TChartBrush", Sub(&B::GetBarBrush))
      .Object<B>("BarPen", "TChartPen", Sub(&B::GetBarPen))
      .Event("OnGetBarStyle", &B::OnGetBarStyle);
  platform::RegisterComponentClass<TBarSeries>("TBarSeries", "TCustomBarSeries")
      .Value<TBarSeries>("CustomBarWidth", Int(&TBarSeries::SetCustomBarWidth));
  RegisterComponentClass<THorizBarSeries>("THorizBarSeries", "TCustomBarSeries")
      .Value<THorizBarSeries>("CustomBarHeight", Int(&THorizBarSeries::SetCustomBarHeight));
  RegisterLineSeries();
  RegisterPieSeries();

  platform::RegisterComponentClass<THighPlotFunction>("THighPlotFunction", "TPlotFunction");

  RegisterComponentClass<TAddPlotFunction>("TAddPlotFunction", "TPlotFunction");
  RegisterComponentClass<TManySeriesPlotFunction>("TManySeriesPlotFunction", "TPlotFunction");
  RegisterComponentClass<TSubtractPlotFunction>("TSubtractPlotFunction", "TManySeriesPlotFunction");
  RegisterComponentClass<TMultiplyPlotFunction>("TMultiplyPlotFunction", "TManySeriesPlotFunction");
  RegisterComponentClass<TDividePlotFunction>("TDividePlotFunction", "TManySeriesPlotFunction");
  RegisterComponentClass<TLowPlotFunction>("TLowPlotFunction", "TPlotFunction");
  RegisterComponentClass<TAveragePlotFunction>("TAveragePlotFunction", "TPlotFunction")
      .Value<TAveragePlotFunction>("IncludeNulls", Bool(&TAveragePlotFunction::SetIncludeNulls));
  using F = TCustomPlotFunction;
  RegisterComponentClass<F>("TCustomPlotFunction", "TPlotFunction")
      .Value<F>("NumPoints", Int(&F::SetNumPoints))
      .Value<F>("StartX", Double(&F::SetStartX))
      .Event("OnCalculate", &F::OnCalculate);
  using S = TCustomSortedFunction;
  RegisterComponentClass<S>("TCustomSortedFunction", "TPlotFunction");
  RegisterComponentClass<TMedianPlotFunction>("TMedianPlotFunction", "TCustomSortedFunction")
      .Value<S>("IncludeNulls", Bool(&S::SetIncludeNulls));
  RegisterComponentClass<TModePlotFunction>("TModePlotFunction", "TCustomSortedFunction")
      .Value<S>("IncludeNulls", Bool(&S::SetIncludeNulls));
}

}  // namespace chart

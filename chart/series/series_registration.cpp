// Published properties of the bar series and the functions, by the names a form layout uses.
#include "chart/series/series_registration.h"

#include "chart/engine/engine_registration.h"
#include "chart/series/bar_series.h"
#include "chart/series/plot_functions.h"

namespace chart {

using namespace layout;
using platform::RegisterClass;

void RegisterSeriesLayoutClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterEngineLayoutClasses();

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

  platform::RegisterComponentClass<THighPlotFunction>("THighPlotFunction", "TPlotFunction");

  using platform::RegisterComponentClass;
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

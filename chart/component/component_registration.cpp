// Published properties of the chart, its titles, walls and legend, by the names a form layout
// uses.
#include "chart/component/component_registration.h"

#include "chart/component/chart.h"
#include "chart/component/legend.h"
#include "chart/component/series_registry.h"
#include "chart/component/titles.h"
#include "chart/component/walls.h"
#include "chart/engine/engine_registration.h"

namespace chart {

using namespace layout;
using platform::RegisterClass;

namespace {

void RegisterTitlesAndWalls() {
  RegisterClass("TPlotCustomShapePosition", "TPlotCustomShape")
      .Value<TPlotCustomShapePosition>("CustomPosition",
                                       Bool(&TPlotCustomShapePosition::SetCustomPosition))
      .Value<TPlotCustomShapePosition>("Left", Int(&TPlotCustomShapePosition::SetLeft))
      .Value<TPlotCustomShapePosition>("Top", Int(&TPlotCustomShapePosition::SetTop));
  RegisterClass("TChartTitle", "TPlotCustomShapePosition")
      .Value<TChartTitle>("AdjustFrame", Bool(&TChartTitle::SetAdjustFrame))
      .Value<TChartTitle>("Alignment",
                          Enum<platform::TAlignment>(&TChartTitle::SetAlignment, kAlignment))
      .Object<TChartTitle>("Text", "TStrings", Sub(&TChartTitle::GetText));
  RegisterClass("TChartFootTitle", "TChartTitle");

  RegisterClass("TCustomChartWall", "TPlotCustomShape")
      .Value<TCustomChartWall>("AutoHide", Bool(&TCustomChartWall::SetAutoHide))
      .Value<TCustomChartWall>("Dark3D", Bool(&TCustomChartWall::SetDark3D))
      .Value<TCustomChartWall>("Size", Int(&TCustomChartWall::SetSize))
      .Object<TCustomChartWall>("Pen", "TChartPen", Sub(&TCustomChartWall::GetPen));
  RegisterClass("TChartWall", "TCustomChartWall");
  RegisterClass("TChartBackWall", "TChartWall");
  RegisterClass("TChartRightWall", "TChartWall");
}

void RegisterLegend() {
  RegisterClass("TLegendSymbol", "TPersistent")
      .Value<TLegendSymbol>("Continuous", Bool(&TLegendSymbol::SetContinuous))
      .Value<TLegendSymbol>("DefaultPen", Bool(&TLegendSymbol::SetDefaultPen))
      .Object<TLegendSymbol>("Gradient", "TPlotGradient", Sub(&TLegendSymbol::GetGradient))
      .Object<TLegendSymbol>("Pen", "TChartPen", Sub(&TLegendSymbol::GetPen))
      .Value<TLegendSymbol>("Position", Enum<TLegendSymbolPosition>(&TLegendSymbol::SetPosition,
                                                                    {"spLeft", "spRight"}))
      .Object<TLegendSymbol>("Shadow", "TPlotShadow", Sub(&TLegendSymbol::GetShadow))
      .Value<TLegendSymbol>("Squared", Bool(&TLegendSymbol::SetSquared))
      .Value<TLegendSymbol>("Visible", Bool(&TLegendSymbol::SetVisible))
      .Value<TLegendSymbol>("Width", Int(&TLegendSymbol::SetWidth))
      .Value<TLegendSymbol>("WidthUnits", Enum<TLegendSymbolSize>(&TLegendSymbol::SetWidthUnits,
                                                                  {"lcsPercent", "lcsPixels"}));
  RegisterClass("TLegendTitle", "TPlotShape")
      .Object<TLegendTitle>("Text", "TStrings", Sub(&TLegendTitle::GetText))
      .Value<TLegendTitle>("TextAlignment",
                           Enum<platform::TAlignment>(&TLegendTitle::SetTextAlignment, kAlignment));

  using L = TCustomChartLegend;
  RegisterClass("TCustomChartLegend", "TPlotCustomShapePosition")
      .Value<L>("Alignment", Enum<TLegendAlignment>(&L::SetAlignment,
                                                    {"laLeft", "laRight", "laTop", "laBottom"}))
      .Value<L>("CheckBoxes", Bool(&L::SetCheckBoxes))
      .Value<L>("CheckBoxesStyle",
                Enum<TCheckBoxesStyle>(&L::SetCheckBoxesStyle, {"cbsCheck", "cbsRadio"}))
      .Value<L>("ColorWidth", Int(&L::SetColorWidth))
      .Value<L>("CurrentPage", Bool(&L::SetCurrentPage))
      .Object<L>("DividingLines", "TChartHiddenPen", Sub(&L::GetDividingLines))
      .Value<L>("FirstValue", Int(&L::SetFirstValue))
      .Value<L>("FontSeriesColor", Bool(&L::SetFontSeriesColor))
      .Value<L>("HorizMargin", Int(&L::SetHorizMargin))
      .Value<L>("VertMargin", Int(&L::SetVertMargin))
      .Value<L>("Inverted", Bool(&L::SetInverted))
      .Value<L>("LeftPercent", Int(&L::SetLeftPercent))
      .Value<L>("TopPercent", Int(&L::SetTopPercent))
      .Value<L>("LegendStyle", Enum<TLegendStyle>(&L::SetLegendStyle, {"lsAuto", "lsSeries",
                                                                       "lsValues", "lsLastValues"}))
      .Value<L>("MaxNumRows", Int(&L::SetMaxNumRows))
      .Value<L>("PositionUnits", Enum<TPlotUnits>(&L::SetPositionUnits, kPlotUnits))
      .Value<L>("ResizeChart", Bool(&L::SetResizeChart))
      .Object<L>("Symbol", "TLegendSymbol", Sub(&L::GetSymbol))
      .Value<L>("TextStyle",
                Enum<TLegendTextStyle>(
                    &L::SetTextStyle, {"ltsPlain", "ltsLeftValue", "ltsRightValue",
                                       "ltsLeftPercent", "ltsRightPercent", "ltsXValue", "ltsValue",
                                       "ltsPercent", "ltsXAndValue", "ltsXAndPercent"}))
      .Object<L>("Title", "TLegendTitle", Sub(&L::GetTitle))
      .Value<L>("TopPos", Int(&L::SetTopPos))
      .Value<L>("VertSpacing", Int(&L::SetVertSpacing));
  RegisterClass("TChartLegend", "TCustomChartLegend");
}

void RegisterChart() {
  RegisterClass("TCustomChart", "TCustomAxisPanel")
      .Object<TCustomChart>("Title", "TChartTitle", Sub(&TCustomChart::Title))
      .Object<TCustomChart>("SubTitle", "TChartTitle", Sub(&TCustomChart::SubTitle))
      .Object<TCustomChart>("Foot", "TChartTitle", Sub(&TCustomChart::Foot))
      .Object<TCustomChart>("SubFoot", "TChartTitle", Sub(&TCustomChart::SubFoot))
      .Object<TCustomChart>("BackWall", "TChartBackWall", Sub(&TCustomChart::BackWall))
      .Object<TCustomChart>("BottomWall", "TChartWall", Sub(&TCustomChart::BottomWall))
      .Object<TCustomChart>("LeftWall", "TChartWall", Sub(&TCustomChart::LeftWall))
      .Object<TCustomChart>("RightWall", "TChartRightWall", Sub(&TCustomChart::RightWall))
      .Object<TCustomChart>("Frame", "TChartPen", Sub(&TCustomChart::Frame))
      .Object<TCustomChart>("Legend", "TChartLegend", Sub(&TCustomChart::Legend))
      .Value<TCustomChart>("ScrollMouseButton",
                           [](TCustomChart& c, const TLayoutValue& v) {
                             c.ScrollMouseButton =
                                 static_cast<platform::TMouseButton>(v.AsEnum(kMouseButton));
                           })
      .Event("OnGetLegendPos", &TCustomChart::OnGetLegendPos)
      .Event("OnGetLegendRect", &TCustomChart::OnGetLegendRect)
      .Event("OnGetLegendText", &TCustomChart::OnGetLegendText)
      // Read, never written: a colour by name or by number.
      .Value<TCustomChart>("BackColor", Color(&TCustomChart::SetBackColor))
      // 0 leaves the palette alone; 1 and above apply the named palette (or empty it).
      .Value<TCustomChart>("ColorPaletteIndex", [](TCustomChart& c, const TLayoutValue& v) {
        const int index = v.AsInteger();
        if (index >= 1)
          TColorPalettes::ApplyPalette(&c, index);
        else
          c.ColorPaletteIndex = index;
      });
  platform::RegisterComponentClass<TChart>("TChart", "TCustomChart");
}

}  // namespace

void RegisterComponentLayoutClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  PlotChartUnitStart();
  RegisterEngineLayoutClasses();
  RegisterTitlesAndWalls();
  RegisterLegend();
  RegisterChart();
}

}  // namespace chart

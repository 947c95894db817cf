// Published properties of the panels, drawing tools, shapes, axes, pages, value lists, marks and
// the series base, by the names a form layout uses.
#include "chart/engine/engine_registration.h"

#include "chart/engine/axis_panel.h"
#include "chart/engine/plot_function.h"
#include "chart/engine/series.h"
#include "chart/engine/series_pointer.h"
#include "chart/engine/tools.h"
#include "chart/panel/plot_panel_extended.h"
#include "chart/panel/shape.h"

namespace chart {

using namespace layout;
using platform::RegisterClass;

void TCustomAxisPanel::AdoptChild(platform::TComponent* child) {
  if (auto* element = dynamic_cast<TCustomChartElement*>(child)) {
    element->SetParentComponent(this);
  } else {
    TCustomPlotPanelExtended::AdoptChild(child);
  }
}

void TChartSeries::AdoptChild(platform::TComponent* child) {
  if (auto* function = dynamic_cast<TPlotFunction*>(child)) function->SetParentComponent(this);
}

namespace {

void RegisterPensAndFills() {
  RegisterClass("TChartPen", "TPen")
      .Value<TChartPen>("Visible", Bool(&TChartPen::SetVisible))
      .Value<TChartPen>("SmallDots", Bool(&TChartPen::SetSmallDots))
      .Value<TChartPen>("SmallSpace", Int(&TChartPen::SetSmallSpace))
      .Value<TChartPen>("EndStyle", Enum<TPenEndStyle>(&TChartPen::SetEndStyle,
                                                       {"esRound", "esSquare", "esFlat"}));
  for (const char* name :
       {"TChartHiddenPen", "TDottedGrayPen", "TDarkGrayPen", "TWhitePen", "TPlotZoomPen"}) {
    RegisterClass(name, "TChartPen");
  }
  RegisterClass("TChartAxisPen", "TChartPen")
      .Value<TChartAxisPen>("LineMode",
                            Enum<TAxisLineMode>(&TChartAxisPen::SetLineMode,
                                                {"lmLine", "lmCylinder", "lmRectangle"}));
  RegisterClass("TAxisGridPen", "TDottedGrayPen")
      .Value<TAxisGridPen>("DrawEvery", Int(&TAxisGridPen::SetDrawEvery))
      .Value<TAxisGridPen>("ZPosition", Double(&TAxisGridPen::SetZPosition));
  RegisterClass("TChartBrush", "TBrush")
      .Object<TChartBrush>("Image", "TPicture", Sub(&TChartBrush::GetImage));
  RegisterClass("TPlotZoomBrush", "TChartBrush");

  RegisterClass("TCustomPlotGradient", "TPersistent")
      .Value<TCustomPlotGradient>("Balance", Int(&TCustomPlotGradient::SetBalance))
      .Value<TCustomPlotGradient>(
          "Direction",
          Enum<TGradientDirection>(&TCustomPlotGradient::SetDirection, kGradientDirection))
      .Value<TCustomPlotGradient>("EndColor", Color(&TCustomPlotGradient::SetEndColor))
      .Value<TCustomPlotGradient>("MidColor", Color(&TCustomPlotGradient::SetMidColor))
      .Value<TCustomPlotGradient>("RadialX", Int(&TCustomPlotGradient::SetRadialX))
      .Value<TCustomPlotGradient>("RadialY", Int(&TCustomPlotGradient::SetRadialY))
      .Value<TCustomPlotGradient>("StartColor", Color(&TCustomPlotGradient::SetStartColor))
      .Value<TCustomPlotGradient>("Visible", Bool(&TCustomPlotGradient::SetVisible));
  RegisterClass("TPlotGradient", "TCustomPlotGradient");
  RegisterClass("TPlotFontGradient", "TCustomPlotGradient")
      .Value<TPlotFontGradient>("Outline", Bool(&TPlotFontGradient::SetOutline));

  RegisterClass("TPlotShadow", "TPersistent")
      .Value<TPlotShadow>("Color", Color(&TPlotShadow::SetColor))
      .Value<TPlotShadow>("HorizSize", Int(&TPlotShadow::SetHorizSize))
      .Value<TPlotShadow>("VertSize", Int(&TPlotShadow::SetVertSize))
      .Value<TPlotShadow>("Smooth", Bool(&TPlotShadow::SetSmooth))
      .Value<TPlotShadow>("Transparency", Int(&TPlotShadow::SetTransparency));

  RegisterClass("TPlotFont", "TFont")
      .Value<TPlotFont>("InterCharSize", Int(&TPlotFont::SetInterCharSize))
      .Object<TPlotFont>("Gradient", "TPlotFontGradient", Sub(&TPlotFont::GetGradient))
      .Object<TPlotFont>("OutLine", "TChartHiddenPen", Sub(&TPlotFont::GetOutLine))
      .Object<TPlotFont>("Shadow", "TPlotShadow", Sub(&TPlotFont::GetShadow));
}

void RegisterShapes() {
  RegisterClass("TPlotCustomShapeBrushPen", "TPersistent")
      .Object<TPlotCustomShapeBrushPen>("Brush", "TChartBrush",
                                        Sub(&TPlotCustomShapeBrushPen::GetBrush))
      .Object<TPlotCustomShapeBrushPen>("Frame", "TChartPen",
                                        Sub(&TPlotCustomShapeBrushPen::GetFrame))
      .Value<TPlotCustomShapeBrushPen>("Visible", Bool(&TPlotCustomShapeBrushPen::SetVisible));
  RegisterClass("TPlotCustomShape", "TPlotCustomShapeBrushPen")
      .Value<TPlotCustomShape>("Bevel",
                               Enum<platform::TBevelCut>(&TPlotCustomShape::SetBevel, kBevelCut))
      .Value<TPlotCustomShape>("BevelWidth", Int(&TPlotCustomShape::SetBevelWidth))
      .Value<TPlotCustomShape>("Color", Color(&TPlotCustomShape::SetColor))
      .Object<TPlotCustomShape>("Font", "TPlotFont", Sub(&TPlotCustomShape::GetFont))
      .Object<TPlotCustomShape>("Gradient", "TPlotGradient", Sub(&TPlotCustomShape::GetGradient))
      .Object<TPlotCustomShape>("Shadow", "TPlotShadow", Sub(&TPlotCustomShape::GetShadow))
      .Value<TPlotCustomShape>(
          "ShapeStyle", Enum<TChartObjectShapeStyle>(&TPlotCustomShape::SetShapeStyle, kShapeStyle))
      .Value<TPlotCustomShape>("TextFormat",
                               Enum<TTextFormat>(&TPlotCustomShape::SetTextFormat, kTextFormat))
      .Value<TPlotCustomShape>("Transparent", Bool(&TPlotCustomShape::SetTransparent))
      .Value<TPlotCustomShape>("Transparency", Int(&TPlotCustomShape::SetTransparency))
      // Old layouts: read, never written.
      .Value<TPlotCustomShape>("ShadowColor", Color(&TPlotCustomShape::SetShadowColor))
      .Value<TPlotCustomShape>("ShadowSize", Int(&TPlotCustomShape::ReadShadowSize));
  RegisterClass("TPlotShape", "TPlotCustomShape");
}

void RegisterPanels() {
  RegisterClass("TView3DOptions", "TPersistent")
      .Value<TView3DOptions>("Elevation", Int(&TView3DOptions::SetElevationInteger))
      .Value<TView3DOptions>("FontZoom", Int(&TView3DOptions::SetFontZoom))
      .Value<TView3DOptions>("HorizOffset", Int(&TView3DOptions::SetHorizOffset))
      .Value<TView3DOptions>("Orthogonal", Bool(&TView3DOptions::SetOrthogonal))
      .Value<TView3DOptions>("OrthoAngle", Int(&TView3DOptions::SetOrthoAngle))
      .Value<TView3DOptions>("Perspective", Int(&TView3DOptions::SetPerspective))
      .Value<TView3DOptions>("Rotation", Int(&TView3DOptions::SetRotationInteger))
      .Value<TView3DOptions>("Tilt", Int(&TView3DOptions::SetTilt))
      .Value<TView3DOptions>("VertOffset", Int(&TView3DOptions::SetVertOffset))
      .Value<TView3DOptions>("Zoom", Int(&TView3DOptions::SetZoom))
      .Value<TView3DOptions>("ZoomText", Bool(&TView3DOptions::SetZoomText));
  RegisterClass("TPlotZoom", "TPersistent")
      .Value<TPlotZoom>("Allow",
                        [](TPlotZoom& z, const TLayoutValue& v) { z.Allow = v.AsBoolean(); })
      .Value<TPlotZoom>("Animated",
                        [](TPlotZoom& z, const TLayoutValue& v) { z.Animated = v.AsBoolean(); })
      .Value<TPlotZoom>(
          "AnimatedSteps",
          [](TPlotZoom& z, const TLayoutValue& v) { z.AnimatedSteps = v.AsInteger(); })
      .Object<TPlotZoom>("Brush", "TPlotZoomBrush", Sub(&TPlotZoom::GetBrush))
      .Value<TPlotZoom>("Direction",
                        [](TPlotZoom& z, const TLayoutValue& v) {
                          z.Direction = static_cast<TPlotZoomDirection>(
                              v.AsEnum({"tzdHorizontal", "tzdVertical", "tzdBoth"}));
                        })
      .Value<TPlotZoom>(
          "KeyShift",
          [](TPlotZoom& z, const TLayoutValue& v) {
            z.KeyShift = platform::TShiftState::FromBits(v.AsSetBits(
                {"ssShift", "ssAlt", "ssCtrl", "ssLeft", "ssRight", "ssMiddle", "ssDouble"}));
          })
      .Value<TPlotZoom>(
          "MinimumPixels",
          [](TPlotZoom& z, const TLayoutValue& v) { z.MinimumPixels = v.AsInteger(); })
      .Value<TPlotZoom>("MouseButton",
                        [](TPlotZoom& z, const TLayoutValue& v) {
                          z.MouseButton =
                              static_cast<platform::TMouseButton>(v.AsEnum(kMouseButton));
                        })
      .Object<TPlotZoom>("Pen", "TPlotZoomPen", Sub(&TPlotZoom::GetPen))
      .Value<TPlotZoom>("UpLeftZooms",
                        [](TPlotZoom& z, const TLayoutValue& v) { z.UpLeftZooms = v.AsBoolean(); });
  RegisterClass("TBackImage", "TPicture")
      .Value<TBackImage>("Inside", Bool(&TBackImage::SetInside))
      .Value<TBackImage>("Left", Int(&TBackImage::SetLeft))
      .Value<TBackImage>("Top", Int(&TBackImage::SetTop))
      .Value<TBackImage>(
          "Mode", Enum<TPlotBackImageMode>(&TBackImage::SetMode,
                                           {"pbmStretch", "pbmTile", "pbmCenter", "pbmCustom"}));

  using platform::TCustomPanel;
  RegisterClass("TCustomPlotPanel", "TWinControl")
      .Value<TCustomPlotPanel>("BevelInner",
                               Enum<platform::TBevelCut>(&TCustomPanel::SetBevelInner, kBevelCut))
      .Value<TCustomPlotPanel>("BevelOuter",
                               Enum<platform::TBevelCut>(&TCustomPanel::SetBevelOuter, kBevelCut))
      .Value<TCustomPlotPanel>("BevelWidth", Int(&TCustomPanel::SetBevelWidth))
      .Value<TCustomPlotPanel>("BorderWidth", Int(&TCustomPanel::SetBorderWidth))
      .Event("OnClick", &TCustomPanel::OnClick)
      .Event("OnDblClick", &TCustomPanel::OnDblClick)
      .Object<TCustomPlotPanel>("Border", "TChartHiddenPen", Sub(&TCustomPlotPanel::GetBorder))
      .Value<TCustomPlotPanel>("BorderRound", Int(&TCustomPlotPanel::SetBorderRound))
      .Value<TCustomPlotPanel>("MarginLeft", Int(&TCustomPlotPanel::SetMarginLeft))
      .Value<TCustomPlotPanel>("MarginTop", Int(&TCustomPlotPanel::SetMarginTop))
      .Value<TCustomPlotPanel>("MarginRight", Int(&TCustomPlotPanel::SetMarginRight))
      .Value<TCustomPlotPanel>("MarginBottom", Int(&TCustomPlotPanel::SetMarginBottom))
      .Value<TCustomPlotPanel>("MarginUnits",
                               Enum<TPlotUnits>(&TCustomPlotPanel::SetMarginUnits, kPlotUnits))
      .Value<TCustomPlotPanel>("Monochrome", Bool(&TCustomPlotPanel::SetMonochrome))
      .Value<TCustomPlotPanel>("PrintProportional", Bool(&TCustomPlotPanel::SetPrintProportional))
      .Object<TCustomPlotPanel>("Shadow", "TPlotShadow", Sub(&TCustomPlotPanel::GetShadow))
      .Value<TCustomPlotPanel>("View3D", Bool(&TCustomPlotPanel::SetView3D))
      .Object<TCustomPlotPanel>("View3DOptions", "TView3DOptions",
                                Sub(&TCustomPlotPanel::GetView3DOptions))
      .Event("OnBeforePrint", &TCustomPlotPanel::OnBeforePrint)
      // Old layouts: bsSingle shows the border, anything else hides it.
      .Value<TCustomPlotPanel>("BorderStyle",
                               Enum<platform::TBorderStyle>(&TCustomPlotPanel::SetTheBorderStyle,
                                                            {"bsNone", "bsSingle"}));
  auto legacyZoom = [](const char* name) {
    return [name](TCustomPlotPanelExtended& p, const TLayoutValue& v) {
      p.ReadLegacyZoomProperty(name, v);
    };
  };
  RegisterClass("TCustomPlotPanelExtended", "TCustomPlotPanel")
      .Value<TCustomPlotPanelExtended>(
          "AllowPanning", Enum<TPanningMode>(&TCustomPlotPanelExtended::SetAllowPanning,
                                             {"pmNone", "pmHorizontal", "pmVertical", "pmBoth"}))
      .Object<TCustomPlotPanelExtended>("BackImage", "TBackImage",
                                        Sub(&TCustomPlotPanelExtended::GetBackImage))
      .Value<TCustomPlotPanelExtended>("BackImageInside",
                                       Bool(&TCustomPlotPanelExtended::SetBackImageInside))
      .Value<TCustomPlotPanelExtended>(
          "BackImageMode",
          Enum<TPlotBackImageMode>(&TCustomPlotPanelExtended::SetBackImageMode,
                                   {"pbmStretch", "pbmTile", "pbmCenter", "pbmCustom"}))
      .Value<TCustomPlotPanelExtended>("BackImageTransp",
                                       Bool(&TCustomPlotPanelExtended::SetBackImageTransp))
      .Object<TCustomPlotPanelExtended>("Gradient", "TPlotGradient",
                                        Sub(&TCustomPlotPanelExtended::GetGradient))
      .Object<TCustomPlotPanelExtended>("Zoom", "TPlotZoom",
                                        Sub(&TCustomPlotPanelExtended::GetZoom))
      .Event("OnScroll", &TCustomPlotPanelExtended::OnScroll)
      .Event("OnUndoZoom", &TCustomPlotPanelExtended::OnUndoZoom)
      .Event("OnZoom", &TCustomPlotPanelExtended::OnZoom)
      .Value<TCustomPlotPanelExtended>(
          "PrintMargins",
          [](TCustomPlotPanelExtended& p, const TLayoutValue& v) { p.ReadPrintMargins(v); })
      .Value<TCustomPlotPanelExtended>("AllowZoom", legacyZoom("AllowZoom"))
      .Value<TCustomPlotPanelExtended>("AnimatedZoom", legacyZoom("AnimatedZoom"))
      .Value<TCustomPlotPanelExtended>("AnimatedZoomSteps", legacyZoom("AnimatedZoomSteps"));
}

void RegisterAxes() {
  RegisterClass("TChartAxisTitle", "TPlotCustomShape")
      .Value<TChartAxisTitle>("Angle", Int(&TChartAxisTitle::SetAngle))
      .Value<TChartAxisTitle>("Caption", Str(&TChartAxisTitle::SetCaption));
  RegisterClass("TChartAxis", "TPersistent")
      .Value<TChartAxis>("Automatic", Bool(&TChartAxis::SetAutomatic))
      .Value<TChartAxis>("AutomaticMaximum", Bool(&TChartAxis::SetAutomaticMaximum))
      .Value<TChartAxis>("AutomaticMinimum", Bool(&TChartAxis::SetAutomaticMinimum))
      .Value<TChartAxis>("Maximum", Double(&TChartAxis::SetMaximum))
      .Value<TChartAxis>("Minimum", Double(&TChartAxis::SetMinimum))
      .Value<TChartAxis>("MaximumOffset", Int(&TChartAxis::SetMaximumOffset))
      .Value<TChartAxis>("MinimumOffset", Int(&TChartAxis::SetMinimumOffset))
      .Value<TChartAxis>("Increment", Double(&TChartAxis::SetIncrement))
      .Value<TChartAxis>("Logarithmic", Bool(&TChartAxis::SetLogarithmic))
      .Value<TChartAxis>("LogarithmicBase", Double(&TChartAxis::SetLogarithmicBase))
      .Value<TChartAxis>("Inverted", Bool(&TChartAxis::SetInverted))
      .Value<TChartAxis>("Horizontal", Bool(&TChartAxis::SetHorizontal))
      .Value<TChartAxis>("OtherSide", Bool(&TChartAxis::SetOtherSide))
      .Value<TChartAxis>("Visible", Bool(&TChartAxis::SetVisible))
      .Value<TChartAxis>("StartPosition", Double(&TChartAxis::SetStartPosition))
      .Value<TChartAxis>("EndPosition", Double(&TChartAxis::SetEndPosition))
      .Value<TChartAxis>("PositionPercent", Double(&TChartAxis::SetPositionPercent))
      .Value<TChartAxis>("PositionUnits",
                         Enum<TPlotUnits>(&TChartAxis::SetPositionUnits, kPlotUnits))
      .Value<TChartAxis>("ZPosition", Double(&TChartAxis::SetZPosition))
      .Object<TChartAxis>("Axis", "TChartAxisPen", Sub(&TChartAxis::GetAxis))
      .Object<TChartAxis>("Grid", "TAxisGridPen", Sub(&TChartAxis::GetGrid))
      .Value<TChartAxis>("GridCentered", Bool(&TChartAxis::SetGridCentered))
      .Object<TChartAxis>("MinorGrid", "TChartHiddenPen", Sub(&TChartAxis::GetMinorGrid))
      .Object<TChartAxis>("Ticks", "TDarkGrayPen", Sub(&TChartAxis::GetTicks))
      .Object<TChartAxis>("TicksInner", "TDarkGrayPen", Sub(&TChartAxis::GetTicksInner))
      .Object<TChartAxis>("MinorTicks", "TDarkGrayPen", Sub(&TChartAxis::GetMinorTicks))
      .Value<TChartAxis>("TickLength", Int(&TChartAxis::SetTickLength))
      .Value<TChartAxis>("TickInnerLength", Int(&TChartAxis::SetTickInnerLength))
      .Value<TChartAxis>("MinorTickLength", Int(&TChartAxis::SetMinorTickLength))
      .Value<TChartAxis>("MinorTickCount", Int(&TChartAxis::SetMinorTickCount))
      .Value<TChartAxis>("TickOnLabelsOnly", Bool(&TChartAxis::SetTickOnLabelsOnly))
      .Object<TChartAxis>("Title", "TChartAxisTitle", Sub(&TChartAxis::GetTitle))
      .Value<TChartAxis>("TitleSize", Int(&TChartAxis::SetTitleSize))
      .Value<TChartAxis>("Labels", Bool(&TChartAxis::SetLabels))
      .Object<TChartAxis>("LabelsFont", "TPlotFont", Sub(&TChartAxis::GetLabelsFont))
      .Value<TChartAxis>("LabelsAlign", Enum<TAxisLabelAlign>(&TChartAxis::SetLabelsAlign,
                                                              {"alDefault", "alOpposite"}))
      .Value<TChartAxis>("LabelsAlternate", Bool(&TChartAxis::SetLabelsAlternate))
      .Value<TChartAxis>("LabelsAngle", Int(&TChartAxis::SetLabelsAngle))
      .Value<TChartAxis>("LabelsExponent", Bool(&TChartAxis::SetLabelsExponent))
      .Value<TChartAxis>("LabelsMultiLine", Bool(&TChartAxis::SetLabelsMultiLine))
      .Value<TChartAxis>("LabelsOnAxis", Bool(&TChartAxis::SetLabelsOnAxis))
      .Value<TChartAxis>("LabelsSeparation", Int(&TChartAxis::SetLabelsSeparation))
      .Value<TChartAxis>("LabelsSize", Int(&TChartAxis::SetLabelsSize))
      .Value<TChartAxis>("LabelStyle", Enum<TAxisLabelStyle>(&TChartAxis::SetLabelStyle,
                                                             {"talAuto", "talNone", "talValue",
                                                              "talMark", "talText"}))
      .Value<TChartAxis>("AxisValuesFormat", Str(&TChartAxis::SetAxisValuesFormat))
      .Value<TChartAxis>("DateTimeFormat", Str(&TChartAxis::SetDateTimeFormat))
      .Value<TChartAxis>("ExactDateTime", Bool(&TChartAxis::SetExactDateTime))
      .Value<TChartAxis>("RoundFirstLabel", Bool(&TChartAxis::SetRoundFirstLabel))
      .Event("OnDrawLabel", &TChartAxis::OnDrawLabel);
  RegisterClass("TChartDepthAxis", "TChartAxis");

  RegisterClass("TChartPage", "TPersistent")
      .Value<TChartPage>("AutoScale", Bool(&TChartPage::SetAutoScale))
      .Value<TChartPage>("Current", Int(&TChartPage::SetCurrent))
      .Value<TChartPage>("MaxPointsPerPage", Int(&TChartPage::SetMaxPointsPerPage))
      .Value<TChartPage>("ScaleLastPage", Bool(&TChartPage::SetScaleLastPage));

  RegisterClass("TCustomAxisPanel", "TCustomPlotPanelExtended")
      .Value<TCustomAxisPanel>("AxisBehind", Bool(&TCustomAxisPanel::SetAxisBehind))
      .Value<TCustomAxisPanel>("AxisVisible", Bool(&TCustomAxisPanel::SetAxisVisible))
      .Value<TCustomAxisPanel>("ClipPoints", Bool(&TCustomAxisPanel::SetClipPoints))
      .Value<TCustomAxisPanel>("Chart3DPercent", Int(&TCustomAxisPanel::Set3DPercent))
      .Value<TCustomAxisPanel>("View3DWalls", Bool(&TCustomAxisPanel::SetView3DWalls))
      .Object<TCustomAxisPanel>("BottomAxis", "TChartAxis", Sub(&TCustomAxisPanel::BottomAxis))
      .Object<TCustomAxisPanel>("TopAxis", "TChartAxis", Sub(&TCustomAxisPanel::TopAxis))
      .Object<TCustomAxisPanel>("LeftAxis", "TChartAxis", Sub(&TCustomAxisPanel::LeftAxis))
      .Object<TCustomAxisPanel>("RightAxis", "TChartAxis", Sub(&TCustomAxisPanel::RightAxis))
      .Object<TCustomAxisPanel>("DepthAxis", "TChartDepthAxis", Sub(&TCustomAxisPanel::DepthAxis))
      .Object<TCustomAxisPanel>("DepthTopAxis", "TChartDepthAxis",
                                Sub(&TCustomAxisPanel::DepthTopAxis))
      .Object<TCustomAxisPanel>(
          "Pages", "TChartPage",
          [](TCustomAxisPanel& p) -> platform::TPersistent* { return &p.Pages(); })
      .Collection<TCustomAxisPanel>(
          "CustomAxes", "TChartAxis",
          [](TCustomAxisPanel& p) {
            while (p.CustomAxisCount() > 0) p.RemoveCustomAxis(p.CustomAxis(0));
          },
          [](TCustomAxisPanel& p) -> platform::TPersistent* { return p.AddCustomAxis(false); })
      .Event("OnAfterDraw", &TCustomAxisPanel::OnAfterDraw)
      .Event("OnBeforeDrawAxes", &TCustomAxisPanel::OnBeforeDrawAxes)
      .Event("OnBeforeDrawChart", &TCustomAxisPanel::OnBeforeDrawChart)
      .Event("OnBeforeDrawSeries", &TCustomAxisPanel::OnBeforeDrawSeries)
      .Event("OnGetAxisLabel", &TCustomAxisPanel::OnGetAxisLabel)
      .Event("OnGetNextAxisLabel", &TCustomAxisPanel::OnGetNextAxisLabel)
      .Event("OnPageChange", &TCustomAxisPanel::OnPageChange)
      // Old layouts kept the page settings on the chart itself: read, never written.
      .Value<TCustomAxisPanel>("MaxPointsPerPage", Int(&TCustomAxisPanel::SetPointsPerPage))
      .Value<TCustomAxisPanel>("Page", Int(&TCustomAxisPanel::SetPage))
      .Value<TCustomAxisPanel>("ScaleLastPage", Bool(&TCustomAxisPanel::SetScaleLastPage));
}

void RegisterMarks() {
  RegisterClass("TSeriesPointer", "TPlotCustomShapeBrushPen")
      .Object<TSeriesPointer>("Pen", "TChartPen", Sub(&TSeriesPointer::GetFrame))
      .Value<TSeriesPointer>(
          "Style",
          Enum<TSeriesPointerStyle>(&TSeriesPointer::SetStyle,
                                    {"psRectangle", "psCircle", "psTriangle", "psDownTriangle",
                                     "psCross", "psDiagCross", "psStar", "psDiamond", "psSmallDot",
                                     "psNothing", "psLeftTriangle", "psRightTriangle"}))
      .Value<TSeriesPointer>("HorizSize", Int(&TSeriesPointer::SetHorizSize))
      .Value<TSeriesPointer>("VertSize", Int(&TSeriesPointer::SetVertSize))
      .Value<TSeriesPointer>("InflateMargins", Bool(&TSeriesPointer::SetInflateMargins))
      .Value<TSeriesPointer>("Dark3D", Bool(&TSeriesPointer::SetDark3D))
      .Value<TSeriesPointer>("Draw3D", Bool(&TSeriesPointer::SetDraw3D))
      .Object<TSeriesPointer>("Gradient", "TPlotGradient", Sub(&TSeriesPointer::GetGradient))
      .Value<TSeriesPointer>("Transparency", Int(&TSeriesPointer::SetTransparency));
  RegisterClass("TCallout", "TSeriesPointer")
      .Object<TCallout>("Arrow", "TWhitePen", Sub(&TCallout::GetArrow))
      .Value<TCallout>("ArrowHead", Enum<TArrowHeadStyle>(&TCallout::SetArrowHead,
                                                          {"ahNone", "ahLine", "ahSolid"}))
      .Value<TCallout>("ArrowHeadSize", Int(&TCallout::SetArrowHeadSize))
      .Value<TCallout>("Distance", Int(&TCallout::SetDistance));
  RegisterClass("TMarksCallout", "TCallout")
      .Value<TMarksCallout>("Length", Int(&TMarksCallout::SetLength));

  RegisterClass("TSeriesMarksSymbol", "TPlotCustomShape");
  RegisterClass("TSeriesMarks", "TPlotCustomShape")
      .Value<TSeriesMarks>(
          "Style", Enum<TSeriesMarksStyle>(&TSeriesMarks::SetStyle,
                                           {"smsValue", "smsPercent", "smsLabel", "smsLabelPercent",
                                            "smsLabelValue", "smsLegend", "smsPercentTotal",
                                            "smsLabelPercentTotal", "smsXValue", "smsXY"}))
      .Value<TSeriesMarks>("DrawEvery", Int(&TSeriesMarks::SetDrawEvery))
      .Value<TSeriesMarks>("Angle", Int(&TSeriesMarks::SetAngle))
      .Value<TSeriesMarks>("Clip", Bool(&TSeriesMarks::SetClip))
      .Value<TSeriesMarks>("MultiLine", Bool(&TSeriesMarks::SetMultiLine))
      .Value<TSeriesMarks>("BackColor", Color(&TSeriesMarks::SetColor))
      .Object<TSeriesMarks>("Callout", "TMarksCallout", Sub(&TSeriesMarks::GetCallout))
      .Object<TSeriesMarks>(
          "Arrow", "TWhitePen",
          [](TSeriesMarks& m) -> platform::TPersistent* { return m.GetCallout()->GetArrow(); })
      .Value<TSeriesMarks>(
          "ArrowLength",
          [](TSeriesMarks& m, const TLayoutValue& v) { m.GetCallout()->SetLength(v.AsInteger()); })
      .Object<TSeriesMarks>("Symbol", "TSeriesMarksSymbol", Sub(&TSeriesMarks::GetSymbol))
      .Value<TSeriesMarks>("Items", [](TSeriesMarks& m, const TLayoutValue& v) {
        m.Items().ReadItems(v.AsBinary());
      });
  RegisterClass("TMarksItem", "TPlotCustomShape")
      .Object<TMarksItem>("Text", "TStrings", Sub(&TMarksItem::GetText));
}

void RegisterSeriesBase() {
  RegisterClass("TChartValueList", "TPersistent")
      .Value<TChartValueList>("DateTime", Bool(&TChartValueList::SetDateTime))
      .Value<TChartValueList>("Name", Str(&TChartValueList::SetName))
      .Value<TChartValueList>("Order",
                              Enum<TChartListOrder>(&TChartValueList::SetOrder,
                                                    {"loNone", "loAscending", "loDescending"}))
      .Value<TChartValueList>("ValueSource", Str(&TChartValueList::SetValueSource))
      // Old layouts: read, never written.
      .Value<TChartValueList>("Multiplier", Double(&TChartValueList::ReadMultiplier));

  RegisterClass("TCustomChartElement", "TComponent")
      .Value<TCustomChartElement>("Active", Bool(&TCustomChartElement::SetActive))
      .Value<TCustomChartElement>("ShowInEditor", Bool(&TCustomChartElement::SetShowInEditor))
      .Value<TCustomChartElement>(
          "ParentChart",
          Reference<TCustomAxisPanel, TCustomChartElement>(
              [](TCustomChartElement& e, TCustomAxisPanel* chart) { e.SetParentChart(chart); }));
  // A tool's axis is stored as its index in the chart's axes list ("AxisID").
  RegisterClass("TPlotCustomTool", "TCustomChartElement");
  RegisterClass("TPlotCustomToolAxis", "TPlotCustomTool")
      .Value<TPlotCustomToolAxis>(
          "AxisID", [](TPlotCustomToolAxis& t, const TLayoutValue& v, TLayoutContext& ctx) {
            const int index = v.AsInteger();
            const int line = v.Line;
            ctx.AddFixup([&t, index, line] {
              TCustomAxisPanel* chart = t.GetParentChart();
              const int count = chart ? static_cast<int>(chart->AxesList().size()) : 0;
              if (index < 0 || index >= count) {
                throw platform::EReadError("line " + std::to_string(line) + ": no axis " +
                                           std::to_string(index));
              }
              t.SetAxis(chart->AxesList()[index]);
            });
          });
  RegisterClass("TCustomChartSeries", "TCustomChartElement")
      .Value<TCustomChartSeries>("ShowInLegend", Bool(&TCustomChartSeries::SetShowInLegend))
      .Value<TCustomChartSeries>("Title", Str(&TCustomChartSeries::SetTitle))
      .Value<TCustomChartSeries>("Identifier", Str(&TCustomChartSeries::SetIdentifier))
      // Bit i for the i-th style flag; only the low six bits mean anything.
      .Value<TCustomChartSeries>("Style", [](TCustomChartSeries& s, const TLayoutValue& v) {
        s.SetStyle(static_cast<TChartSeriesStyle>(v.AsInteger()));
      });

  // A custom axis is stored as its index in the chart's custom axes.
  auto customAxis = [](bool horizontal) {
    return [horizontal](TChartSeries& s, const TLayoutValue& v, TLayoutContext& ctx) {
      const int index = v.AsInteger();
      const int line = v.Line;
      ctx.AddFixup([&s, index, line, horizontal] {
        TCustomAxisPanel* chart = s.GetParentChart();
        TChartAxis* axis = chart ? chart->CustomAxes().Get(index) : nullptr;
        if (!axis) {
          throw platform::EReadError("line " + std::to_string(line) + ": no custom axis " +
                                     std::to_string(index));
        }
        if (horizontal) {
          s.SetCustomHorizAxis(axis);
        } else {
          s.SetCustomVertAxis(axis);
        }
      });
    };
  };
  RegisterClass("TChartSeries", "TCustomChartSeries")
      .Value<TChartSeries>("ColorEachPoint", Bool(&TChartSeries::SetColorEachPoint))
      .Value<TChartSeries>("ColorSource", Str(&TChartSeries::SetColorSource))
      .Value<TChartSeries>("Cursor",
                           [](TChartSeries& s, const TLayoutValue& v) { s.Cursor = v.AsInteger(); })
      .Value<TChartSeries>("DataSource", Reference<platform::TComponent, TChartSeries>(
                                             [](TChartSeries& s, platform::TComponent* source) {
                                               s.SetDataSource(source);
                                             }))
      .Value<TChartSeries>("DataSources",
                           [](TChartSeries& s, const TLayoutValue& v) {
                             std::vector<std::string> names;
                             for (const TLayoutValue& item : v.AsList()) {
                               names.push_back(item.ValueKind == TLayoutValue::vkIdent
                                                   ? item.AsIdent()
                                                   : item.AsString());
                             }
                             s.SourceNamesToLoad = std::move(names);
                           })
      .Value<TChartSeries>("Depth", Int(&TChartSeries::SetDepth))
      .Value<TChartSeries>("HorizAxis", Enum<THorizAxis>(&TChartSeries::SetHorizAxis,
                                                         {"aTopAxis", "aBottomAxis",
                                                          "aBothHorizAxis", "aCustomHorizAxis"}))
      .Value<TChartSeries>("VertAxis", Enum<TVertAxis>(&TChartSeries::SetVertAxis,
                                                       {"aLeftAxis", "aRightAxis", "aBothVertAxis",
                                                        "aCustomVertAxis"}))
      .Value<TChartSeries>("CustomHorizAxis", customAxis(true))
      .Value<TChartSeries>("CustomVertAxis", customAxis(false))
      .Object<TChartSeries>("Marks", "TSeriesMarks", Sub(&TChartSeries::Marks))
      .Value<TChartSeries>("PercentFormat", Str(&TChartSeries::SetPercentFormat))
      .Value<TChartSeries>("ValueFormat", Str(&TChartSeries::SetValueFormat))
      .Value<TChartSeries>("SeriesColor", Color(&TChartSeries::SetSeriesColor))
      .Value<TChartSeries>("XLabelsSource", Str(&TChartSeries::SetLabelsSource))
      .Value<TChartSeries>("Data",
                           [](TChartSeries& s, const TLayoutValue& v) { s.ReadData(v.AsBinary()); })
      .Object<TChartSeries>("XValues", "TChartValueList", Sub(&TChartSeries::XValues))
      .Object<TChartSeries>("YValues", "TChartValueList", Sub(&TChartSeries::YValues))
      .Event("AfterDrawValues", &TChartSeries::AfterDrawValues)
      .Event("BeforeDrawValues", &TChartSeries::BeforeDrawValues)
      .Event("OnAfterAdd", &TChartSeries::OnAfterAdd)
      .Event("OnBeforeAdd", &TChartSeries::OnBeforeAdd)
      .Event("OnClearValues", &TChartSeries::OnClearValues)
      .Event("OnClick", &TChartSeries::OnClick)
      .Event("OnDblClick", &TChartSeries::OnDblClick)
      .Event("OnGetMarkText", &TChartSeries::OnGetMarkText)
      .Event("OnMouseEnter", &TChartSeries::OnMouseEnter)
      .Event("OnMouseLeave", &TChartSeries::OnMouseLeave);

  RegisterClass("TPlotFunction", "TComponent")
      .Value<TPlotFunction>("Period", Double(&TPlotFunction::SetPeriod))
      .Value<TPlotFunction>("PeriodAlign",
                            Enum<TFunctionPeriodAlign>(&TPlotFunction::SetPeriodAlign,
                                                       {"paFirst", "paCenter", "paLast"}))
      .Value<TPlotFunction>(
          "PeriodStyle",
          Enum<TFunctionPeriodStyle>(&TPlotFunction::SetPeriodStyle, {"psNumPoints", "psRange"}));
}

}  // namespace

void RegisterEngineLayoutClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterPensAndFills();
  RegisterShapes();
  RegisterPanels();
  RegisterAxes();
  RegisterMarks();
  RegisterSeriesBase();
}

}  // namespace chart

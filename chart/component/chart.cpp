// The chart component: construction of its titles, walls and legend, the titles and legend in
// the drawing pass, legend texts, pages and the order of the series.
#include "chart/component/chart.h"

#include "chart/common/plot_const.h"
#include "chart/component/legend.h"
#include "chart/component/titles.h"
#include "chart/component/walls.h"
#include "chart/engine/series.h"

namespace chart {

TCustomChart::TCustomChart(platform::TComponent* Owner, platform::TPanelSurface surface)
    : TCustomAxisPanel(Owner, surface) {
  AutoRepaint = false;
  title_ = std::make_unique<TChartTitle>(this);
  subTitle_ = std::make_unique<TChartTitle>(this);
  foot_ = std::make_unique<TChartFootTitle>(this);
  subFoot_ = std::make_unique<TChartFootTitle>(this);
  walls_ = std::make_unique<TChartWalls>(this);
  legend_ = std::make_unique<TChartLegend>(this);
  AutoRepaint = true;
}

TCustomChart::~TCustomChart() {
  AutoRepaint = false;
  subTitle_.reset();
  title_.reset();
  subFoot_.reset();
  foot_.reset();
  walls_.reset();
  legend_.reset();
}

void TCustomChart::SetTitle(const TChartTitle* value) {
  if (value) title_->Assign(value);
}

void TCustomChart::SetSubTitle(const TChartTitle* value) {
  if (value) subTitle_->Assign(value);
}

void TCustomChart::SetFoot(const TChartTitle* value) {
  if (value) foot_->Assign(value);
}

void TCustomChart::SetSubFoot(const TChartTitle* value) {
  if (value) subFoot_->Assign(value);
}

void TCustomChart::SetLegend(const TChartLegend* value) {
  if (value) legend_->Assign(value);
}

TColor TCustomChart::GetBackColor() {
  TChartBackWall* back = BackWall();
  return !back || back->GetTransparent() ? TCustomAxisPanel::GetBackColor() : back->GetColor();
}

void TCustomChart::SetBackColor(TColor color) {
  TChartBackWall* back = BackWall();
  back->SetColor(color);
  // A stored layout keeps its own brush style.
  if (GetParent() && !Loading()) back->GetBrush()->SetStyle(platform::bsSolid);
}

// ---- Titles and legend in the drawing pass ------------------------------------------------------

void TCustomChart::DrawTitles(bool customPosition) {
  // Title before sub-title and foot before sub-foot: each takes the room the one before left.
  for (TChartTitle* t : {title_.get(), subTitle_.get(), static_cast<TChartTitle*>(foot_.get()),
                         static_cast<TChartTitle*>(subFoot_.get())})
    if (t->GetCustomPosition() == customPosition) t->DrawTitle();
}

void TCustomChart::DrawTitlesAndLegend(bool beforeSeries) {
  TCanvas3D* canvas = GetCanvas3D();
  canvas->FrontPlaneBegin();
  if (beforeSeries) {
    // Only a legend drawn in this pass answers clicks.
    legend_->ForgetItemAreas();
    if (legend_->GetCustomPosition() || !legend_->ShouldDraw()) {
      DrawTitles(false);
    } else if (legend_->GetVertical()) {
      legend_->DrawLegend();
      DrawTitles(false);
    } else {
      DrawTitles(false);
      legend_->DrawLegend();
    }
  } else {
    if (legend_->GetCustomPosition() && legend_->ShouldDraw()) legend_->DrawLegend();
    DrawTitles(true);
  }
  canvas->FrontPlaneEnd();
  if (!beforeSeries && ActiveSeriesUseAxis() && GetView3D()) DrawWallsInFront();
}

void TCustomChart::DrawLegendShape(const TRect& rect) {
  TLegendSymbol* symbol = legend_->GetSymbol();
  const TCustomPlotGradient* g = symbol->GetGradient();
  const TPlotShadow* shadow = symbol->GetShadow();
  TCanvas3D* canvas = GetCanvas3D();
  if (((g && g->GetVisible()) || (shadow && shadow->GetSize() != 0)) && canvas->Brush)
    symbol->Draw(canvas->Brush->GetColor(), rect);
  else
    TCustomAxisPanel::DrawLegendShape(rect);
}

// ---- Legend texts -------------------------------------------------------------------------------

std::string TCustomChart::FormattedLegend(int index) {
  std::string text = legend_->FormattedLegend(index);
  if (OnGetLegendText) OnGetLegendText(this, legend_->ResolvedStyle, index, text);
  return text;
}

std::string TCustomChart::FormattedValueLegend(TChartSeries* series, int valueIndex) {
  if (!series) return {};
  return legend_->FormattedValue(series, valueIndex);
}

bool TCustomChart::IsFreeSeriesColor(TColor color, bool checkBackground,
                                     const TChartSeries* skip) const {
  if (!TCustomAxisPanel::IsFreeSeriesColor(color, checkBackground, skip)) return false;
  return !(checkBackground && BackWall() && color == BackWall()->GetColor());
}

std::string TCustomChart::AxisTitleOrName(const TChartAxis* axis) const {
  if (!axis) return {};
  std::string caption = axis->GetTitle()->GetCaption();
  if (!caption.empty()) return caption;
  if (axis == DepthTopAxis()) return PlotMsg_DepthTopAxis;
  if (axis->IsDepthAxis()) return PlotMsg_DepthAxis;
  if (axis->Horizontal()) return axis->OtherSide() ? PlotMsg_TopAxis : PlotMsg_BottomAxis;
  return axis->OtherSide() ? PlotMsg_RightAxis : PlotMsg_LeftAxis;
}

// ---- Pages and series order ---------------------------------------------------------------------

void TCustomChart::NextPage() {
  Pages().NextPage();
}

void TCustomChart::PreviousPage() {
  Pages().PreviousPage();
}

void TCustomChart::SeriesUp(TChartSeries* series) {
  const int i = SeriesList().IndexOf(series);
  if (i > 0) ExchangeSeries(i, i - 1);
}

void TCustomChart::SeriesDown(TChartSeries* series) {
  const int i = SeriesList().IndexOf(series);
  if (i >= 0 && i < SeriesCount() - 1) ExchangeSeries(i, i + 1);
}

void TCustomChart::RemoveAllSeries() {
  while (SeriesCount() > 0) RemoveSeries(0);
}

TChartSeries* TCustomChart::GetASeries() const {
  for (TChartSeries* s : SeriesList().Items())
    if (s->GetActive()) return s;
  return nullptr;
}

void TCustomChart::Assign(const platform::TPersistent* source) {
  if (const auto* other = dynamic_cast<const TCustomChart*>(source); other && other != this) {
    ColorPaletteIndex = other->ColorPaletteIndex;
    SetFoot(other->foot_.get());
    SetLegend(other->legend_.get());
    ScrollMouseButton = other->ScrollMouseButton;
    SetSubFoot(other->subFoot_.get());
    SetSubTitle(other->subTitle_.get());
    SetTitle(other->title_.get());
    walls_->Assign(other->walls_.get());
  }
  TCustomAxisPanel::Assign(source);
}

}  // namespace chart

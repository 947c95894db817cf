#include "chart/component/legend.h"

#include <algorithm>
#include <cstdlib>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/geometry.h"
#include "chart/common/plot_const.h"
#include "chart/component/chart.h"
#include "chart/engine/engine_globals.h"

namespace chart {

namespace {

int VisiblePenWidth(const TChartPen* pen) {
  return pen && pen->GetVisible() ? pen->GetWidth() : 0;
}

}  // namespace

// --- TChartLegendGradient ---

TChartLegendGradient::TChartLegendGradient(std::function<void()> onChange)
    : TPlotGradient(std::move(onChange)) {
  SetDirection(gdLeftRight);
  SetStartColor(platform::clSilver);
  SetEndColor(platform::clWhite);
}

// --- TLegendSymbol ---

TLegendSymbol::TLegendSymbol(TCustomChartLegend* legend) : legend_(legend) {
  auto changed = [this] { Repaint(); };
  gradient_ = std::make_unique<TPlotGradient>(changed);
  pen_ = std::make_unique<TChartPen>(changed);
  shadow_ = std::make_unique<TPlotShadow>(changed);
}

TLegendSymbol::~TLegendSymbol() = default;

void TLegendSymbol::Repaint() {
  if (legend_) legend_->Repaint();
}

namespace {

// Stores value; true when it changed.
template <class T>
bool Change(T& variable, const T& value) {
  if (variable == value) return false;
  variable = value;
  return true;
}

}  // namespace

void TLegendSymbol::SetContinuous(const bool& v) {
  if (Change(continuous_, v)) Repaint();
}
void TLegendSymbol::SetDefaultPen(const bool& v) {
  if (Change(defaultPen_, v)) Repaint();
}
void TLegendSymbol::SetGradient(const TCustomPlotGradient* v) {
  if (v) gradient_->Assign(v);
}
void TLegendSymbol::SetPen(const TChartPen* v) {
  if (v) pen_->Assign(*v);
}
void TLegendSymbol::SetPosition(const TLegendSymbolPosition& v) {
  if (Change(position_, v)) Repaint();
}
void TLegendSymbol::SetShadow(const TPlotShadow* v) {
  if (v) shadow_->Assign(v);
}
void TLegendSymbol::SetSquared(const bool& v) {
  if (Change(squared_, v)) Repaint();
}
void TLegendSymbol::SetVisible(const bool& v) {
  if (Change(visible_, v)) Repaint();
}
void TLegendSymbol::SetWidth(const int& v) {
  if (Change(width_, v)) Repaint();
}
void TLegendSymbol::SetWidthUnits(const TLegendSymbolSize& v) {
  if (Change(widthUnits_, v)) Repaint();
}

int TLegendSymbol::CalcWidth(int textWidth) const {
  if (!visible_) return 0;
  if (squared_) return (CalcHeight ? CalcHeight() : 0) - 5;
  if (widthUnits_ == lcsPixels) return width_;
  return Round(static_cast<long double>(textWidth) * width_ * 0.01L);
}

void TLegendSymbol::Draw(TColor color, const TRect& r) {
  TCustomPlotPanel* panel = legend_ ? legend_->ParentChart() : nullptr;
  if (!panel || !panel->GetCanvas3D()) return;
  TCanvas3D& canvas = *panel->GetCanvas3D();
  if (shadow_->GetSize() != 0) shadow_->Draw(canvas, r);
  canvas.AssignVisiblePen(pen_.get());
  if (gradient_->GetVisible()) {
    gradient_->SetEndColor(color);
    gradient_->Draw(canvas, r);
    canvas.Brush->SetStyle(platform::bsClear);
  } else {
    canvas.Brush->SetStyle(platform::bsSolid);
    canvas.Brush->SetColor(color);
  }
  if (pen_->GetVisible()) canvas.Rectangle(r);
}

void TLegendSymbol::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TLegendSymbol*>(source);
  if (!other || other == this) return;
  continuous_ = other->continuous_;
  defaultPen_ = other->defaultPen_;
  gradient_->Assign(other->gradient_.get());
  pen_->Assign(*other->pen_);
  position_ = other->position_;
  shadow_->Assign(other->shadow_.get());
  squared_ = other->squared_;
  visible_ = other->visible_;
  width_ = other->width_;
  widthUnits_ = other->widthUnits_;
  Repaint();
}

// --- TLegendTitle ---

TLegendTitle::TLegendTitle(TCustomPlotPanel* parent) : TPlotShape(parent) {
  text_ = std::make_unique<platform::TStringList>();
  text_->OnChange = [this] {
    if (ParentChart()) ParentChart()->CanvasChanged();
  };
  SetTransparent(true);
  DefaultTransparent = true;
  const platform::TFontStyles bold{platform::fsBold};
  GetFont()->SetStyle(bold);
  GetFont()->DefaultStyle = bold;
  if (TPlotShadow* shadow = GetShadow()) {
    shadow->SetSize(2);
    shadow->SetColor(platform::clSilver);
    shadow->DefaultSize = 2;
    shadow->DefaultColor = platform::clSilver;
  }
}

TLegendTitle::~TLegendTitle() = default;

void TLegendTitle::SetText(const platform::TStrings* v) {
  if (!v) return;
  text_->Assign(*v);
  Repaint();
}

void TLegendTitle::SetTextAlignment(const platform::TAlignment& v) {
  if (textAlignment_ == v) return;
  textAlignment_ = v;
  Repaint();
}

std::string TLegendTitle::GetCaption() const {
  return text_->Count() > 0 ? text_->Get(0) : std::string();
}

void TLegendTitle::SetCaption(const std::string& v) {
  text_->Clear();
  if (!v.empty()) text_->Add(v);
}

int TLegendTitle::FrameWidth() const {
  return VisiblePenWidth(GetFrame());
}

int TLegendTitle::CalcHeight() {
  if (!ParentChart() || !ParentChart()->GetCanvas3D()) return 0;
  TCanvas3D& canvas = *ParentChart()->GetCanvas3D();
  canvas.AssignFont(GetFont());
  height_ = text_->Count() * canvas.GetFontHeight();
  if (!GetTransparent()) height_ += 2 + 2 * FrameWidth();
  return height_;
}

int TLegendTitle::TotalWidth() {
  if (!ParentChart() || !ParentChart()->GetCanvas3D()) return 0;
  TCanvas3D& canvas = *ParentChart()->GetCanvas3D();
  canvas.AssignFont(GetFont());
  int widest = 0;
  for (int i = 0; i < text_->Count(); ++i)
    widest = std::max(widest, canvas.TextWidth(text_->Get(i)));
  int w = widest + canvas.TextWidth("W");
  if (!GetTransparent()) w += 2 * FrameWidth() + (GetShadow() ? GetShadow()->GetHorizSize() : 0);
  return w;
}

void TLegendTitle::CalcShapeBounds(const TRect& r) {
  ShapeBounds = TRect{r.Left + 2, r.Top + 2, r.Right - 2, r.Top + 2 + height_};
  if (GetTransparent() || !GetShadow()) return;
  const int h = GetShadow()->GetHorizSize();
  const int v = GetShadow()->GetVertSize();
  if (h > 0) ShapeBounds.Right -= h;
  if (h < 0) ShapeBounds.Left -= h;
  if (v < 0) ShapeBounds.Top -= v;
}

void TLegendTitle::DrawText() {
  if (!ParentChart() || !ParentChart()->GetCanvas3D()) return;
  TCanvas3D& canvas = *ParentChart()->GetCanvas3D();
  canvas.AssignFont(GetFont());
  canvas.SetTextAlign(0);
  canvas.SetBackMode(cbmTransparent);
  const int m = canvas.TextWidth("W");
  const int fh = canvas.GetFontHeight();
  const TRect& r = ShapeBounds;
  if (GetTextFormat() == ttfHtml) {
    // Every line at once; the HTML renderer breaks the lines itself.
    canvas.TextOut(r.Left + m / 2, r.Top + 1, text_->GetText(), true);
    return;
  }
  for (int i = 0; i < text_->Count(); ++i) {
    const std::string line = text_->Get(i);
    const int w = canvas.TextWidth(line);
    int x = r.Left + m / 2;
    if (textAlignment_ == platform::taRightJustify)
      x = r.Right - w - m / 2;
    else if (textAlignment_ == platform::taCenter)
      x = (r.Left + r.Right) / 2 - w / 2;
    canvas.TextOut(x, r.Top + 1 + i * fh, line);
  }
}

void TLegendTitle::Assign(const platform::TPersistent* source) {
  if (const auto* other = dynamic_cast<const TLegendTitle*>(source); other && other != this) {
    text_->Assign(*other->text_);
    textAlignment_ = other->textAlignment_;
  }
  TPlotShape::Assign(source);
}

// --- TLegendItem, TLegendItems ---

void TLegendItem::SetText(const std::string& v) {
  if (text_ == v) return;
  text_ = v;
  owner_->Custom = true;
  if (owner_->Legend()) owner_->Legend()->Repaint();
}

TLegendItem* TLegendItems::Get(int index) {
  if (index < 0) return nullptr;
  CheckListIndex(index, kMostItems - 1);
  if (index >= Count()) items_.resize(static_cast<size_t>(index) + 1);
  auto& slot = items_[static_cast<size_t>(index)];
  if (!slot) slot = std::make_unique<TLegendItem>(this);
  return slot.get();
}

void TLegendItems::Clear() {
  items_.clear();
  if (legend_) legend_->Repaint();
}

// --- TCustomChartLegend: settings ---

TCustomChartLegend::TCustomChartLegend(TCustomPlotPanel* parent)
    : TPlotCustomShapePosition(parent, {}, [](std::function<void()> onChange) {
        return std::unique_ptr<TCustomPlotGradient>(
            std::make_unique<TChartLegendGradient>(std::move(onChange)));
      }) {
  dividingLines_ = std::make_unique<TChartHiddenPen>([this] { Repaint(); });
  symbol_ = std::make_unique<TLegendSymbol>(this);
  symbol_->CalcHeight = [this] { return CalcItemHeight(); };
  title_ = std::make_unique<TLegendTitle>(parent);
}

TCustomChartLegend::~TCustomChartLegend() = default;

TCustomChart* TCustomChartLegend::Chart() const {
  return dynamic_cast<TCustomChart*>(ParentChart());
}

void TCustomChartLegend::SetAlignment(const TLegendAlignment& v) {
  if (alignment_ == v) return;
  alignment_ = v;
  Repaint();
}

void TCustomChartLegend::SetCheckBoxes(const bool& v) {
  SetBooleanProperty(checkBoxes_, v);
}

void TCustomChartLegend::SetCheckBoxesStyle(const TCheckBoxesStyle& v) {
  if (checkBoxesStyle_ == v) return;
  checkBoxesStyle_ = v;
  if (v == cbsRadio && Chart()) {
    bool first = true;
    for (TChartSeries* s : Chart()->SeriesList().Items()) {
      if (!s->GetShowInLegend() || !s->GetActive()) continue;
      if (!first) s->SetActive(false);
      first = false;
    }
  }
  Repaint();
}

int TCustomChartLegend::GetColorWidth() const {
  return symbol_->GetWidth();
}

void TCustomChartLegend::SetColorWidth(const int& v) {
  symbol_->SetWidth(v);
}

void TCustomChartLegend::SetCurrentPage(const bool& v) {
  SetBooleanProperty(currentPage_, v);
}

void TCustomChartLegend::SetDividingLines(const TChartPen* v) {
  if (v) dividingLines_->Assign(*v);
}

void TCustomChartLegend::SetFirstValue(const int& v) {
  if (v < 0) throw LegendException(PlotMsg_LegendFirstValue);
  SetIntegerProperty(firstValue_, v);
}

void TCustomChartLegend::SetIntegerProperty(int& variable, int value) {
  if (ParentChart())
    ParentChart()->SetIntegerProperty(variable, value);
  else
    variable = value;
}

void TCustomChartLegend::SetFontSeriesColor(const bool& v) {
  SetBooleanProperty(fontSeriesColor_, v);
}
void TCustomChartLegend::SetHorizMargin(const int& v) {
  SetIntegerProperty(horizMargin_, v);
}
void TCustomChartLegend::SetVertMargin(const int& v) {
  SetIntegerProperty(vertMargin_, v);
}
void TCustomChartLegend::SetInverted(const bool& v) {
  SetBooleanProperty(inverted_, v);
}
void TCustomChartLegend::SetLeftPercent(const int& v) {
  SetIntegerProperty(leftPercent_, v);
}
void TCustomChartLegend::SetTopPercent(const int& v) {
  SetIntegerProperty(topPercent_, v);
}

void TCustomChartLegend::SetLegendStyle(const TLegendStyle& v) {
  if (legendStyle_ == v) return;
  legendStyle_ = v;
  CalcLegendStyle();
  Repaint();
}

void TCustomChartLegend::SetMaxNumRows(const int& v) {
  SetIntegerProperty(maxNumRows_, v);
}

void TCustomChartLegend::SetPositionUnits(const TPlotUnits& v) {
  if (positionUnits_ == v) return;
  positionUnits_ = v;
  Repaint();
}

void TCustomChartLegend::SetResizeChart(const bool& v) {
  SetBooleanProperty(resizeChart_, v);
}

void TCustomChartLegend::SetSymbol(const TLegendSymbol* v) {
  symbol_->Assign(v);
}

void TCustomChartLegend::SetTextStyle(const TLegendTextStyle& v) {
  if (textStyle_ == v) return;
  textStyle_ = v;
  Repaint();
}

void TCustomChartLegend::SetTitle(const TLegendTitle* v) {
  title_->Assign(v);
}

void TCustomChartLegend::SetTopPos(const int& v) {
  SetIntegerProperty(topPos_, v);
}

void TCustomChartLegend::SetVertSpacing(const int& v) {
  SetIntegerProperty(vertSpacing_, v);
}

void TCustomChartLegend::SetSeries(TChartSeries* v) {
  series_ = v;
  Repaint();
}

void TCustomChartLegend::Assign(const platform::TPersistent* source) {
  if (const auto* o = dynamic_cast<const TCustomChartLegend*>(source); o && o != this) {
    alignment_ = o->alignment_;
    checkBoxes_ = o->checkBoxes_;
    checkBoxesStyle_ = o->checkBoxesStyle_;
    currentPage_ = o->currentPage_;
    dividingLines_->Assign(*o->dividingLines_);
    firstValue_ = o->firstValue_;
    fontSeriesColor_ = o->fontSeriesColor_;
    horizMargin_ = o->horizMargin_;
    vertMargin_ = o->vertMargin_;
    inverted_ = o->inverted_;
    leftPercent_ = o->leftPercent_;
    topPercent_ = o->topPercent_;
    legendStyle_ = o->legendStyle_;
    maxNumRows_ = o->maxNumRows_;
    positionUnits_ = o->positionUnits_;
    resizeChart_ = o->resizeChart_;
    symbol_->Assign(o->symbol_.get());
    textStyle_ = o->textStyle_;
    title_->Assign(o->title_.get());
    topPos_ = o->topPos_;
    vertSpacing_ = o->vertSpacing_;
  }
  TPlotCustomShapePosition::Assign(source);
}

// --- TCustomChartLegend: queries ---

bool TCustomChartLegend::ShouldDraw() const {
  if (!GetVisible()) return false;
  if (HasCheckBoxes()) return true;
  const TCustomChart* chart = Chart();
  return chart && chart->CountActiveSeries() > 0;
}

TChartSeries* TCustomChartLegend::GetLegendSeries() const {
  TCustomChart* chart = Chart();
  if (!chart) return nullptr;
  // A series that left the chart is no longer the legend's.
  if (series_) {
    const auto& items = chart->SeriesList().Items();
    if (std::find(items.begin(), items.end(), series_) != items.end()) return series_;
  }
  return chart->GetASeries();
}

void TCustomChartLegend::PrepareSymbolPen() {
  if (TCustomChart* chart = Chart())
    chart->LegendPen = symbol_->GetDefaultPen() ? nullptr : symbol_->GetPen();
}

int TCustomChartLegend::CalcItemHeight() {
  TCustomPlotPanel* panel = ParentChart();
  if (!panel || !panel->GetCanvas3D()) return 0;
  int h = panel->GetCanvas3D()->GetFontHeight();
  if (HasCheckBoxes()) h = std::max(h, 17);
  h += vertSpacing_;
  if (GetVertical()) h += VisiblePenWidth(dividingLines_.get());
  return h;
}

int TCustomChartLegend::FirstItemTop() {
  int top = ShapeBounds.Top;
  if (TitleShown) {
    top += titleHeight_ + 2;
    if (!title_->GetTransparent() && title_->GetShadow())
      top += std::abs(title_->GetShadow()->GetVertSize());
  }
  return top;
}

void TCustomChartLegend::CalcLegendStyle() {
  if (legendStyle_ != lsAuto) {
    ResolvedStyle = legendStyle_;
  } else if (checkBoxes_) {
    ResolvedStyle = lsSeries;
  } else {
    const TCustomChart* chart = Chart();
    ResolvedStyle = chart && chart->CountActiveSeries() > 1 ? lsSeries : lsValues;
  }
}

TChartSeries* TCustomChartLegend::ListedSeries(int index) const {
  const TCustomChart* chart = Chart();
  return chart ? chart->SeriesLegend(index, !checkBoxes_) : nullptr;
}

int TCustomChartLegend::CountShownSeries() const {
  const TCustomChart* chart = Chart();
  if (!chart) return 0;
  int n = 0;
  for (const TChartSeries* s : chart->SeriesList().Items())
    if (s->GetShowInLegend() && (checkBoxes_ || s->GetActive())) ++n;
  return n;
}

std::string TCustomChartLegend::FormattedLegend(int index) {
  TCustomChart* chart = Chart();
  if (!chart) return {};
  switch (ResolvedStyle) {
    case lsSeries:
      return chart->SeriesTitleLegend(index, !checkBoxes_);
    case lsValues:
      return chart->FormattedValueLegend(GetLegendSeries(), index);
    case lsLastValues: {
      TChartSeries* s = ListedSeries(index);
      return s ? chart->FormattedValueLegend(s, s->CountLegendItems() - 1) : std::string();
    }
    default:
      return {};
  }
}

std::string TCustomChartLegend::FormattedValue(TChartSeries* series, int valueIndex) {
  if (!series || valueIndex == -1) return {};
  const std::string s = series->LegendString(valueIndex, textStyle_);
  // One row: a blank for each line break, CR LF ones included.
  std::string row;
  for (size_t start = 0, next = 0; start < s.size(); start = next) {
    const size_t end = PlotLineEnd(s, start, next);
    row.append(s, start, end - start);
    if (end < s.size()) row += ' ';
  }
  return row;
}

// --- TCustomChartLegend: clicks ---

int TCustomChartLegend::Clicked(int x, int y) {
  TRect r = ShapeBounds;
  if (OnLegendSize) {
    int extra = 0;
    OnLegendSize(this, extra);
    r.Right -= extra;
  }
  if (!PointInRect(r, x, y)) return -1;
  for (const ItemCell& cell : cells_)
    if (x >= cell.Rect.Left && x < cell.Rect.Right && y >= cell.Rect.Top && y < cell.Rect.Bottom)
      return cell.ValueIndex;
  return -1;
}

bool TCustomChartLegend::DoMouseDown(int index) {
  if (!HasCheckBoxes() || index == -1) return false;
  if (checkBoxesStyle_ == cbsRadio) {
    for (int i = 0;; ++i) {
      TChartSeries* s = ListedSeries(i);
      if (!s) break;
      s->SetActive(i == index);
    }
  } else if (TChartSeries* s = ListedSeries(index)) {
    s->SetActive(!s->GetActive());
  }
  return true;
}

}  // namespace chart

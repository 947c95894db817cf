#include "chart/canvas/plot_font.h"

#include "chart/canvas/canvas_unit.h"
#include "chart/canvas/plot_canvas.h"

namespace chart {

void TPlotFontGradient::Assign(const platform::TPersistent* source) {
  if (const auto* g = dynamic_cast<const TPlotFontGradient*>(source)) outline_ = g->outline_;
  TCustomPlotGradient::Assign(source);
}

void TPlotFontGradient::SetOutline(const bool& v) {
  if (v == outline_) return;
  outline_ = v;
  Changed();
}

TPlotFont::TPlotFont(std::function<void()> onChange) : notify_(std::move(onChange)) {
  SetColor(platform::clBlack);
  SetCharset(1);
  SetName(GetDefaultFontName);
  SetSize(GetDefaultFontSize);
  OnChange = notify_;
}

TPlotFont::~TPlotFont() {
  // Each canvas takes itself off the list as it lets go.
  while (!canvases_.empty()) canvases_.back()->SetCurrentFont(nullptr);
}

void TPlotFont::Assign(const platform::TFont& source) {
  if (&source == this) return;
  if (const auto* f = dynamic_cast<const TPlotFont*>(&source)) {
    SetGradient(f->gradient_.get());
    interCharSize_ = f->interCharSize_;
    SetOutLine(f->outLine_.get());
    SetShadow(f->shadow_.get());
  }
  platform::TFont::Assign(source);
}

void TPlotFont::SetInterCharSize(const int& v) {
  if (v == interCharSize_) return;
  interCharSize_ = v;
  Changed();
}

TPlotFontGradient* TPlotFont::GetGradient() {
  if (!gradient_) gradient_ = std::make_unique<TPlotFontGradient>(notify_);
  return gradient_.get();
}
TChartHiddenPen* TPlotFont::GetOutLine() {
  if (!outLine_) outLine_ = std::make_unique<TChartHiddenPen>(notify_);
  return outLine_.get();
}
TPlotShadow* TPlotFont::GetShadow() {
  if (!shadow_) shadow_ = std::make_unique<TPlotShadow>(notify_);
  return shadow_.get();
}

void TPlotFont::SetGradient(const TPlotFontGradient* v) {
  if (!v)
    gradient_.reset();
  else if (v != gradient_.get())
    GetGradient()->Assign(v);
}
void TPlotFont::SetOutLine(const TChartHiddenPen* v) {
  if (!v)
    outLine_.reset();
  else if (v != outLine_.get())
    GetOutLine()->Assign(*v);
}
void TPlotFont::SetShadow(const TPlotShadow* v) {
  if (!v)
    shadow_.reset();
  else if (v != shadow_.get())
    GetShadow()->Assign(v);
}

bool TPlotFont::IsHeightStored() const {
  return GetSize() != GetDefaultFontSize;
}
bool TPlotFont::IsNameStored() const {
  return GetName() != GetDefaultFontName;
}

}  // namespace chart

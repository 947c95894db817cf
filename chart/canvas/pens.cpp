#include "chart/canvas/pens.h"

#include "platform/vcl/picture.h"

namespace chart {

using platform::gdi::LogPen;

TChartPen::TChartPen(std::function<void()> onChange) {
  OnChange = std::move(onChange);
}

void TChartPen::Assign(const platform::TPen& source) {
  if (&source == this) return;
  if (const auto* pen = dynamic_cast<const TChartPen*>(&source)) {
    visible_ = pen->visible_;
    smallDots_ = pen->smallDots_;
    smallSpace_ = pen->smallSpace_;
    endStyle_ = pen->endStyle_;
  }
  platform::TPen::Assign(source);
}

void TChartPen::SetEndStyle(const TPenEndStyle& v) {
  if (v == endStyle_) return;
  endStyle_ = v;
  Changed();
}
void TChartPen::SetSmallDots(const bool& v) {
  if (v == smallDots_) return;
  smallDots_ = v;
  Changed();
}
void TChartPen::SetSmallSpace(const int& v) {
  if (v == smallSpace_) return;
  smallSpace_ = v;
  Changed();
}
void TChartPen::SetVisible(const bool& v) {
  if (v == visible_) return;
  visible_ = v;
  Changed();
}

// The fixed-default pens set their values before the owner's handler is installed, so making
// one notifies nobody.
TChartHiddenPen::TChartHiddenPen(std::function<void()> onChange) : TChartPen() {
  SetVisible(false);
  VisibleDefault = false;
  OnChange = std::move(onChange);
}
TDottedGrayPen::TDottedGrayPen(std::function<void()> onChange) : TChartPen() {
  SetColor(platform::clGray);
  SetStyle(platform::psDot);
  OnChange = std::move(onChange);
}
TDarkGrayPen::TDarkGrayPen(std::function<void()> onChange) : TChartPen() {
  SetColor(platform::clGray);
  OnChange = std::move(onChange);
}
TWhitePen::TWhitePen(std::function<void()> onChange) : TChartPen() {
  SetColor(platform::clWhite);
  OnChange = std::move(onChange);
}

TChartBrush::TChartBrush(std::function<void()> onChange) {
  SetColor(platform::clDefault);
  OnChange = std::move(onChange);
}

TChartBrush::~TChartBrush() = default;

void TChartBrush::Assign(const platform::TBrush& source) {
  if (&source == this) return;
  if (const auto* brush = dynamic_cast<const TChartBrush*>(&source)) SetImage(brush->image_.get());
  platform::TBrush::Assign(source);
}

void TChartBrush::Clear() {
  SetStyle(platform::bsClear);
  SetImage(nullptr);
}

platform::TPicture* TChartBrush::GetImage() {
  if (!image_) {
    image_ = std::make_unique<platform::TPicture>();
    image_->OnChange = [this] { Changed(); };
  }
  return image_.get();
}

void TChartBrush::SetImage(const platform::TPicture* picture) {
  if (picture) {
    if (picture != image_.get()) GetImage()->Assign(picture);
  } else {
    image_.reset();
  }
  Changed();
}

LogPen PlotCreatePenSmallDots(TColor color, int space) {
  LogPen pen;
  pen.Color = platform::ColorToRGB(color);
  pen.Width = 1;
  if (space <= 0) {
    pen.Style = platform::gdi::PS_COSMETIC | platform::gdi::PS_ALTERNATE;
  } else {
    pen.Style = platform::gdi::PS_GEOMETRIC | platform::gdi::PS_USERSTYLE;
    // Zero-length dashes show only their round caps; a huge space stays a huge gap.
    const unsigned gap = static_cast<unsigned>(space) + 1u;
    pen.UserStyle = {0, gap};
  }
  return pen;
}

namespace {

std::uint32_t EndStyleBits(TPenEndStyle style) {
  switch (style) {
    case esSquare:
      return platform::gdi::PS_ENDCAP_SQUARE | platform::gdi::PS_JOIN_BEVEL;
    case esFlat:
      return platform::gdi::PS_ENDCAP_FLAT | platform::gdi::PS_JOIN_MITER;
    case esRound:
      break;
  }
  return platform::gdi::PS_ENDCAP_ROUND | platform::gdi::PS_JOIN_ROUND;
}

}  // namespace

void PlotSetPlotPen(platform::TPen* pen, const TChartPen* chartPen, TColor color,
                    platform::gdi::Dc* dc) {
  if (!pen || !chartPen) return;
  if (chartPen->GetSmallDots()) {
    // Mode first: any property change drops a native pen.
    pen->SetMode(chartPen->GetMode());
    pen->SetHandle(PlotCreatePenSmallDots(color, chartPen->GetSmallSpace()));
    return;
  }
  if (chartPen->GetWidth() < 2) {
    pen->Assign(*chartPen);
    if (pen->GetColor() != color) pen->SetColor(color);
    if (PlotCheckPenWidth && pen->GetStyle() != platform::psSolid && pen->GetWidth() == 1)
      pen->SetWidth(0);
    return;
  }
  pen->Assign(*chartPen);
  pen->SetColor(color);
  LogPen wide = pen->Handle();  // the style bits of the pen's Style, in its colour
  wide.Style = platform::gdi::PS_GEOMETRIC | (wide.Style & platform::gdi::PS_STYLE_MASK) |
               EndStyleBits(chartPen->GetEndStyle());
  wide.Width = chartPen->GetWidth();
  wide.UserStyle.clear();
  pen->SetHandle(wide);
  if (dc) dc->SetROP2(platform::PenModeToRop2(chartPen->GetMode()));
}

}  // namespace chart

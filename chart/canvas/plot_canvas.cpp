#include "chart/canvas/plot_canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

#include "chart/canvas/blend.h"
#include "chart/canvas/canvas_unit.h"
#include "chart/canvas/pens.h"
#include "chart/canvas/plot_font.h"
#include "chart/canvas/shadow.h"
#include "platform/vcl/graphics.h"
#include "platform/vcl/picture.h"

namespace chart {

namespace gdi = platform::gdi;

THtmlTextOut PlotHtmlTextOut = nullptr;

namespace {

// The whole drawable plane, for cutting a shape out when there is no clip yet.
constexpr int kPlaneLimit = 0x3FFFFFF;

}  // namespace

TPlotCanvas::TPlotCanvas() = default;

TPlotCanvas::~TPlotCanvas() {
  SetCurrentFont(nullptr);
}

void TPlotCanvas::SetCurrentFont(TPlotFont* font) {
  if (font == currentFont_) return;
  if (currentFont_) std::erase(currentFont_->canvases_, this);
  currentFont_ = font;
  if (font) font->canvases_.push_back(this);
}

void TPlotCanvas::SetCanvas(platform::TCanvas* canvas) {
  PlatformCanvas = canvas;
  Font = canvas ? canvas->Font : nullptr;
  Pen = canvas ? canvas->Pen : nullptr;
  Brush = canvas ? canvas->Brush : nullptr;
}

void TPlotCanvas::ResetState() {
  if (Pen) {
    Pen->SetColor(platform::clBlack);
    Pen->SetWidth(1);
    Pen->SetStyle(platform::psSolid);
  }
  if (Brush) {
    Brush->SetColor(platform::clWhite);
    Brush->SetStyle(platform::bsSolid);
  }
  if (Font) {
    Font->SetColor(platform::clBlack);
    Font->SetStyle(platform::TFontStyles{});
    Font->SetCharset(1);
    Font->SetName(GetDefaultFontName);
    Font->SetSize(GetDefaultFontSize);
  }
  Transparency = 0;
  SetCurrentFont(nullptr);
  SetBackColor(platform::clWhite);
  SetBackMode(cbmTransparent);
  SetTextAlign(TA_LEFT | TA_TOP);
}

void TPlotCanvas::AssignVisiblePen(platform::TPen* pen) {
  if (pen) AssignVisiblePenColor(pen, pen->GetColor());
}

void TPlotCanvas::AssignVisiblePenColor(platform::TPen* pen, TColor color) {
  if (!pen || !Pen) return;
  if (GetMonochrome()) color = platform::clBlack;
  if (auto* chartPen = dynamic_cast<TChartPen*>(pen)) {
    if (!chartPen->GetVisible()) {
      Pen->SetStyle(platform::psClear);
      return;
    }
    if (IsWindowsNT && !GetSupportsFullRotation()) {
      PlotSetPlotPen(Pen, chartPen, color, GetHandle());
      return;
    }
  }
  Pen->Assign(*pen);
  Pen->SetColor(color);
  if (PlotCheckPenWidth && Pen->GetStyle() != platform::psSolid && Pen->GetWidth() == 1)
    Pen->SetWidth(0);
}

void TPlotCanvas::AssignBrush(TChartBrush* brush, TColor backColor) {
  if (brush) AssignBrushColor(brush, brush->GetColor(), backColor);
}

void TPlotCanvas::AssignBrushColor(TChartBrush* brush, TColor color, TColor backColor) {
  if (!brush || !Brush) return;
  if (GetMonochrome()) color = platform::clWhite;

  const platform::TPicture* image = brush->ImageIfAny();
  const platform::TGraphic* graphic = image ? image->Graphic() : nullptr;
  if (!graphic || graphic->Empty()) graphic = brush->GetBitmap();
  if (graphic) {
    // The canvas brush draws with its own copy: the brush and its picture may go before the
    // canvas next draws, and a picture that holds no bitmap keeps its graphic.
    auto pattern = std::make_unique<platform::TBitmap>();
    pattern->Assign(*graphic);
    Brush->SetStyle(platform::bsClear);
    Brush->SetBitmap(pattern.get());
    brushImage_ = std::move(pattern);
    if (gdi::Dc* dc = GetHandle()) dc->SetTextColor(platform::ColorToRGB(color));
    SetBackMode(cbmOpaque);
    SetBackColor(backColor);
    return;
  }

  if (Brush->GetBitmap()) Brush->SetBitmap(nullptr);
  brushImage_.reset();
  if (Brush->GetColor() != color) Brush->SetColor(color);
  if (Brush->GetStyle() != brush->GetStyle()) Brush->SetStyle(brush->GetStyle());
  if (backColor == platform::clNone) {
    SetBackMode(cbmTransparent);
  } else {
    SetBackMode(cbmOpaque);
    SetBackColor(backColor);
  }
}

void TPlotCanvas::InternalDark(TColor color, int amount) {
  const TColor c = ApplyDark(color, amount);
  if (Brush && Brush->GetStyle() != platform::bsSolid)
    SetBackColor(c);
  else if (Brush)
    Brush->SetColor(c);
}

void TPlotCanvas::AssignFont(TPlotFont* font) {
  if (!font || !Font) return;
  font->SetPixelsPerInch(Font->GetPixelsPerInch());
  Font->Assign(*font);
  if (FontZoom != 100) {
    const int size = font->GetSize();
    int zoomed = Round(static_cast<long double>(size) * FontZoom * 0.01L);
    // Size 0 would mean the device's default size, a larger font: keep at least one point.
    if (zoomed == 0) zoomed = size < 0 ? -1 : 1;
    Font->SetSize(zoomed);
  }
  if (GetMonochrome()) Font->SetColor(platform::clBlack);
  if (gdi::Dc* dc = GetHandle()) {
    if (dc->GetTextCharacterExtra() != font->GetInterCharSize())
      dc->SetTextCharacterExtra(font->GetInterCharSize());
  }
  SetCurrentFont(font);
}

int TPlotCanvas::TextWidth(const std::string& text) {
  gdi::Dc* dc = GetHandle();
  if (!dc) return 0;
  int w = dc->GetTextExtent(text).X;
  if (currentFont_)
    if (const TPlotShadow* s = currentFont_->ShadowIfAny()) w += std::abs(s->GetHorizSize());
  return w;
}

int TPlotCanvas::TextHeight(const std::string& text) {
  gdi::Dc* dc = GetHandle();
  if (!dc) return 0;
  int h = dc->GetTextExtent(text).Y;
  if (currentFont_)
    if (const TPlotShadow* s = currentFont_->ShadowIfAny()) h += std::abs(s->GetVertSize());
  return h;
}

int TPlotCanvas::GetFontHeight() {
  return TextHeight("W");
}

void TPlotCanvas::Rectangle(const TRect& r) {
  Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

void TPlotCanvas::DoRectangle(const TRect& r) {
  Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}

void TPlotCanvas::Ellipse(const TRect& r) {
  Ellipse(r.Left, r.Top, r.Right, r.Bottom);
}

void TPlotCanvas::RoundRect(const TRect& r, int x3, int y3) {
  RoundRect(r.Left, r.Top, r.Right, r.Bottom, x3, y3);
}

void TPlotCanvas::Line(const TPoint& p0, const TPoint& p1) {
  Line(p0.X, p0.Y, p1.X, p1.Y);
}

void TPlotCanvas::TextOut(int x, int y, const std::string& text, bool html) {
  if (html && PlotHtmlTextOut)
    PlotHtmlTextOut(*this, x, y, text);
  else
    TextOut(x, y, text);
}

void TPlotCanvas::Frame3D(TRect& r, TColor topColor, TColor bottomColor, int width) {
  if (!Pen) return;
  Pen->SetWidth(1);
  Pen->SetStyle(platform::psSolid);
  // Steps saturate: a frame of an extreme rectangle must not overflow its corners.
  auto step = [](int& v, int by) { v = platform::SaturatedInt(static_cast<long long>(v) + by); };
  step(r.Right, -1);
  step(r.Bottom, -1);
  // A width beyond half the rectangle only draws frames over each other.
  const int n = std::clamp(width, 0, 0x8000);
  for (int i = 0; i < n; ++i) {
    Pen->SetColor(topColor);
    const TPoint top[3] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
    Polyline(top);
    Pen->SetColor(bottomColor);
    int beforeLeft = r.Left;
    step(beforeLeft, -1);
    const TPoint bottom[3] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {beforeLeft, r.Bottom}};
    Polyline(bottom);
    step(r.Left, 1);
    step(r.Top, 1);
    step(r.Right, -1);
    step(r.Bottom, -1);
  }
  step(r.Right, 1);
  step(r.Bottom, 1);
}

std::unique_ptr<TPlotBlend> TPlotCanvas::BeginBlending(const TRect& r,
                                                       TPlotTransparency transparency) {
  Transparency = std::clamp(transparency, 0, 100);
  return std::make_unique<TPlotBlend>(*this, r, Transparency);
}

void TPlotCanvas::EndBlending(std::unique_ptr<TPlotBlend> blend) {
  // Each blend mixes at the transparency it was started with, whatever was started since.
  if (blend) blend->DoBlend();
}

void TPlotCanvas::SetClipRegion(const gdi::Region& region) {
  gdi::Dc* dc = GetHandle();
  if (!dc) return;
  gdi::Region current;
  if (dc->GetClipRgn(current) == 1)
    savedClips_.emplace_back(std::move(current));
  else
    savedClips_.emplace_back(std::nullopt);
  dc->ExtSelectClipRgn(&region, gdi::RGN_AND);
}

void TPlotCanvas::UnClipCanvas() {
  gdi::Dc* dc = GetHandle();
  std::optional<gdi::Region> saved;
  if (!savedClips_.empty()) {
    saved = std::move(savedClips_.back());
    savedClips_.pop_back();
  }
  if (!dc) return;
  dc->SelectClipRgn(saved ? &*saved : nullptr);
}

void TPlotCanvas::ClipRectangle(const TRect& r, int roundSize) {
  gdi::Dc* dc = GetHandle();
  if (!dc) return;
  TPoint p[2] = {{r.Left, r.Top}, {r.Right, r.Bottom}};
  dc->LPtoDP(p, 2);
  SetClipRegion(gdi::Region::RoundRect(p[0].X, p[0].Y, p[1].X, p[1].Y, roundSize, roundSize));
}

void TPlotCanvas::ClipEllipse(const TRect& r, bool inverted) {
  gdi::Dc* dc = GetHandle();
  if (!dc) return;
  TPoint p[2] = {{r.Left, r.Top}, {r.Right, r.Bottom}};
  dc->LPtoDP(p, 2);
  const gdi::Region ellipse = gdi::Region::Ellipse(p[0].X, p[0].Y, p[1].X, p[1].Y);
  if (!inverted) {
    SetClipRegion(ellipse);
    return;
  }
  // Cut the ellipse out of the clip in force (without one: out of the whole plane). Saved like
  // every other clip, so its UnClipRectangle brings the clip back.
  gdi::Region current;
  const bool had = dc->GetClipRgn(current) == 1;
  gdi::Region cut;
  cut.Combine(
      had ? current : gdi::Region::Rect(-kPlaneLimit, -kPlaneLimit, kPlaneLimit, kPlaneLimit),
      ellipse, gdi::RGN_DIFF);
  if (had)
    savedClips_.emplace_back(std::move(current));
  else
    savedClips_.emplace_back(std::nullopt);
  dc->SelectClipRgn(&cut);
}

void TPlotCanvas::ClipPolygon(std::span<const TPoint> points) {
  gdi::Dc* dc = GetHandle();
  if (!dc) return;
  // Converted on a copy: callers draw with their points after clipping.
  std::vector<TPoint> device(points.begin(), points.end());
  if (device.size() > static_cast<std::size_t>(INT_MAX)) return;
  const int count = static_cast<int>(device.size());
  dc->LPtoDP(device.data(), count);
  SetClipRegion(gdi::Region::Polygon(device.data(), count, gdi::ALTERNATE));
}

bool TPlotCanvas::ConvexHull(TPointArray& points) {
  return chart::ConvexHull(points);
}

void ClipEllipse(TPlotCanvas& canvas, const TRect& r) {
  canvas.ClipEllipse(r, false);
}

void ClipRoundRectangle(TPlotCanvas& canvas, const TRect& r, int size) {
  canvas.ClipRectangle(r, size);
}

void ClipPolygon(TPlotCanvas& canvas, std::span<const TPoint> points) {
  canvas.ClipPolygon(points);
}

}  // namespace chart

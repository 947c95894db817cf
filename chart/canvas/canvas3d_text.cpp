// Text of the 3D canvas: the chart font's shadow, outline and gradient (through paths on the
// device context), text at a depth with zoomed fonts, and rotated labels.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "chart/canvas/blend.h"
#include "chart/canvas/canvas3d.h"
#include "chart/canvas/plot_font.h"
#include "platform/gdi/dc.h"

namespace chart {

namespace gdi = platform::gdi;

int PlotFontAntiAlias = gdi::ANTIALIASED_QUALITY;

namespace {

constexpr auto Sat = platform::SaturatedInt;

// Larger point sizes than this cannot show on any surface; keeping below it also keeps the
// pixel height computable.
constexpr int kMaxZoomedPointSize = 16384;

// The device context with the canvas's pen and brush and, when given, `font` selected.
gdi::Dc* Prepared(TPlotCanvas3D& canvas, const gdi::LogFont* font) {
  gdi::Dc* dc = canvas.GetHandle();
  if (dc && font) dc->SelectFont(*font);
  return dc;
}

const TPlotShadow* FontShadow(const TPlotCanvas3D& canvas) {
  return canvas.CurrentFont() ? canvas.CurrentFont()->ShadowIfAny() : nullptr;
}

// The rectangle of a text at (x, y) under the device context's alignment, shadow included.
TRect TextBox(TPlotCanvas3D& canvas, int x, int y, const std::string& text,
              const gdi::LogFont* font) {
  gdi::Dc* dc = Prepared(canvas, font);
  if (!dc) return TRect{x, y, x, y};
  const TPoint extent = dc->GetTextExtent(text);
  const int ascent = dc->GetTextMetrics().Ascent;
  long long w = extent.X, h = extent.Y;
  if (const TPlotShadow* s = FontShadow(canvas)) {
    w += std::llabs(s->GetHorizSize());
    h += std::llabs(s->GetVertSize());
  }
  const unsigned align = dc->GetTextAlign();
  long long left, right, top;
  switch (align & gdi::TA_CENTER) {
    case gdi::TA_RIGHT:
      left = static_cast<long long>(x) - w;
      right = x;
      break;
    case gdi::TA_CENTER:
      left = x - w / 2;
      right = x + w / 2;
      break;
    default:
      left = x;
      right = x + w;
      break;
  }
  switch (align & gdi::TA_BASELINE) {
    case gdi::TA_BASELINE:
      top = static_cast<long long>(y) - ascent;
      break;
    case gdi::TA_BOTTOM:
      top = static_cast<long long>(y) - h;
      break;
    default:
      top = y;
      break;
  }
  return TRect{Sat(left), Sat(top), Sat(right), Sat(top + h)};
}

// The canvas font at the zoomed size, or false when zooming leaves the size as it is.
bool ZoomedFont(const TPlotCanvas3D& canvas, gdi::LogFont& font) {
  if (!canvas.ZoomFonts || canvas.ZoomScale == 1 || !canvas.Font) return false;
  const int size = canvas.Font->GetSize();
  // Never size 0: the platform would pick its default size instead of a small one.
  const int zoomed =
      std::clamp(Round(static_cast<long double>(size) * canvas.ZoomScale), 1, kMaxZoomedPointSize);
  if (zoomed == size) return false;
  font = canvas.Font->ToLogFont();
  font.Height = -gdi::MulDiv(zoomed, canvas.Font->GetPixelsPerInch(), 72);
  return true;
}

// The text with the chart font's effects, in `font` when given (else the canvas font).
void TextOutInFont(TPlotCanvas3D& canvas, int x, int y, const std::string& text,
                   const gdi::LogFont* font) {
  gdi::Dc* dc = Prepared(canvas, font);
  if (!dc || !canvas.Font) return;

  if (const TPlotShadow* shadow = FontShadow(canvas)) {
    const int hs = shadow->GetHorizSize();
    const int vs = shadow->GetVertSize();
    if (hs != 0 || vs != 0) {
      // A negative offset keeps the shadow at the given point and moves the text instead.
      int sx = Sat(static_cast<long long>(x) + hs);
      int sy = Sat(static_cast<long long>(y) + vs);
      if (hs < 0) {
        sx = x;
        x = Sat(static_cast<long long>(x) - hs);
      }
      if (vs < 0) {
        sy = y;
        y = Sat(static_cast<long long>(y) - vs);
      }
      std::unique_ptr<TPlotBlend> blend;
      if (shadow->GetTransparency() > 0)
        blend =
            canvas.BeginBlending(TextBox(canvas, sx, sy, text, font), shadow->GetTransparency());
      dc = Prepared(canvas, font);
      dc->SetTextColor(platform::ColorToRGB(shadow->GetColor()));
      dc->TextOut(sx, sy, text);
      if (blend) canvas.EndBlending(std::move(blend));
    }
  }

  const TColor fontColor = canvas.Font->GetColor();
  TChartHiddenPen* outline = canvas.CurrentFont() ? canvas.CurrentFont()->OutLineIfAny() : nullptr;
  if (outline && !outline->GetVisible()) outline = nullptr;
  TPlotFontGradient* gradient =
      canvas.CurrentFont() ? canvas.CurrentFont()->GradientIfAny() : nullptr;
  if (gradient && !gradient->GetVisible()) gradient = nullptr;

  if (!outline && !gradient) {
    dc = Prepared(canvas, font);
    dc->SetTextColor(platform::ColorToRGB(fontColor));
    dc->TextOut(x, y, text);
    if (font) canvas.GetHandle();
    return;
  }

  if (outline)
    canvas.AssignVisiblePen(outline);
  else
    canvas.Pen->SetStyle(platform::psClear);
  canvas.Brush->SetColor(fontColor);
  canvas.Brush->SetStyle(platform::bsSolid);
  auto recordPath = [&] {
    dc = Prepared(canvas, font);
    dc->SetTextColor(platform::ColorToRGB(fontColor));
    dc->SetBkMode(gdi::TRANSPARENT);
    dc->BeginPath();
    dc->TextOut(x, y, text);
    dc->EndPath();
  };

  if (gradient) {
    recordPath();
    if (gradient->GetOutline()) dc->WidenPath();
    // The glyphs clip the gradient; afterwards the clip in force before comes back.
    gdi::Region saved;
    const bool hadClip = dc->GetClipRgn(saved) == 1;
    dc->SelectClipPath(gdi::RGN_AND);
    gradient->Draw(canvas, TextBox(canvas, x, y, text, font), 0);
    dc = canvas.GetHandle();
    dc->SelectClipRgn(hadClip ? &saved : nullptr);
    if (gradient->GetOutline() || !outline) {
      if (font) canvas.GetHandle();
      return;
    }
    canvas.Brush->SetStyle(platform::bsClear);
  }

  recordPath();
  if (fontColor == platform::clNone)
    dc->StrokePath();
  else
    dc->StrokeAndFillPath();
  if (font) canvas.GetHandle();
}

}  // namespace

TRect TPlotCanvas3D::TextRect(int x, int y, const std::string& text) {
  return TextBox(*this, x, y, text, nullptr);
}

void TPlotCanvas3D::TextOut(int x, int y, const std::string& text) {
  TextOutInFont(*this, x, y, text, nullptr);
}

void TPlotCanvas3D::TextOut3D(int x, int y, int z, const std::string& text) {
  Calc3DPos(x, y, z);
  gdi::LogFont font;
  if (ZoomedFont(*this, font))
    TextOutInFont(*this, x, y, text, &font);
  else
    TextOut(x, y, text);
}

void TPlotCanvas3D::RotateLabel(int x, int y, const std::string& text, double angle) {
  if (!Font) return;
  long double a = std::isfinite(angle) ? std::fmod(static_cast<long double>(angle), 360.0L) : 0;
  if (a < 0) a += 360;
  if (a >= 360) a = 0;
  Brush->SetStyle(platform::bsClear);
  gdi::LogFont font;
  if (!ZoomedFont(*this, font)) font = Font->ToLogFont();
  font.Escapement = font.Orientation = Round(a * 10);
  font.OutPrecision = 7;
  font.Quality = PlotFontAntiAlias;
  TextOutInFont(*this, x, y, text, &font);
}

void TPlotCanvas3D::RotateLabel3D(int x, int y, int z, const std::string& text, double angle) {
  Calc3DPos(x, y, z);
  RotateLabel(x, y, text, angle);
}

}  // namespace chart

#include "platform/vcl/graphics.h"

#include <QImage>
#include <cmath>

#include "platform/gdi/dc.h"
#include "platform/gdi/qt_color.h"
#include "platform/vcl/picture.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace qt {

QColor Color(TColor c) {
  if (c == clNone || c == clDefault) return QColor(Qt::transparent);
  return gdi::ToQColor(c);
}

TColor FromQColor(const QColor& c) {
  return gdi::FromQRgb(c.rgb());
}

QFont Font(const TFont& f) {
  QFont q(Str(f.GetName()));
  const int h = f.GetHeight();
  // A positive height is the cell height; the character height is about 80 % of it.
  const int px = h < 0 ? -h : (h > 0 ? std::max(1, h * 4 / 5) : 11);
  q.setPixelSize(px);
  q.setBold(f.GetStyle().Contains(fsBold));
  q.setItalic(f.GetStyle().Contains(fsItalic));
  q.setUnderline(f.GetStyle().Contains(fsUnderline));
  q.setStrikeOut(f.GetStyle().Contains(fsStrikeOut));
  return q;
}

}  // namespace qt

// --- TFont ---

void TFont::SetName(const std::string& v) {
  name_ = v;
  Changed();
}
int TFont::GetSize() const {
  return static_cast<int>(std::lround(-height_ * 72.0 / pixelsPerInch_));
}
void TFont::SetSize(const int& v) {
  height_ = -static_cast<int>(std::lround(v * static_cast<double>(pixelsPerInch_) / 72.0));
  Changed();
}
void TFont::SetHeight(const int& v) {
  height_ = v;
  Changed();
}
void TFont::SetColor(const TColor& v) {
  color_ = v;
  Changed();
}
void TFont::SetStyle(const TFontStyles& v) {
  style_ = v;
  Changed();
}
void TFont::Assign(const TFont& other) {
  if (&other == this) return;
  name_ = other.name_;
  height_ = other.height_;
  color_ = other.color_;
  style_ = other.style_;
  charset_ = other.charset_;
  Changed();
}
void TFont::Changed() {
  ++version_;
  if (OnChange) OnChange();
}
gdi::LogFont TFont::ToLogFont() const {
  gdi::LogFont f;
  f.Height = height_;
  f.Weight = style_.Contains(fsBold) ? 700 : 400;
  f.Italic = style_.Contains(fsItalic);
  f.Underline = style_.Contains(fsUnderline);
  f.StrikeOut = style_.Contains(fsStrikeOut);
  f.CharSet = charset_;
  f.FaceName = name_;
  return f;
}

// --- TPen ---

int PenModeToRop2(TPenMode mode) {
  static constexpr int kRop2[] = {
      gdi::R2_BLACK,       gdi::R2_WHITE,      gdi::R2_NOP,         gdi::R2_NOT,
      gdi::R2_COPYPEN,     gdi::R2_NOTCOPYPEN, gdi::R2_MERGEPENNOT, gdi::R2_MASKPENNOT,
      gdi::R2_MERGENOTPEN, gdi::R2_MASKNOTPEN, gdi::R2_MERGEPEN,    gdi::R2_NOTMERGEPEN,
      gdi::R2_MASKPEN,     gdi::R2_NOTMASKPEN, gdi::R2_XORPEN,      gdi::R2_NOTXORPEN};
  const auto i = static_cast<unsigned>(mode);
  return i < std::size(kRop2) ? kRop2[i] : gdi::R2_COPYPEN;
}

TPen::TPen() = default;
TPen::~TPen() = default;

void TPen::Changed(bool changed) {
  // A property change describes a new pen: the native one no longer applies.
  if (changed || handle_) ++version_;
  handle_.reset();
  if (OnChange) OnChange();
}
void TPen::SetColor(const TColor& v) {
  const bool changed = v != color_;
  color_ = v;
  Changed(changed);
}
void TPen::SetWidth(const int& v) {
  const int width = v < 0 ? 0 : v;
  const bool changed = width != width_;
  width_ = width;
  Changed(changed);
}
void TPen::SetStyle(const TPenStyle& v) {
  const bool changed = v != style_;
  style_ = v;
  Changed(changed);
}
void TPen::SetMode(const TPenMode& v) {
  const bool changed = v != mode_;
  mode_ = v;
  Changed(changed);
}
void TPen::SetHandle(const gdi::LogPen& pen) {
  handle_ = std::make_unique<gdi::LogPen>(pen);
  ++version_;
  if (OnChange) OnChange();
}
gdi::LogPen TPen::Handle() const {
  if (handle_) return *handle_;
  static constexpr std::uint32_t kStyles[] = {gdi::PS_SOLID,      gdi::PS_DASH,       gdi::PS_DOT,
                                              gdi::PS_DASHDOT,    gdi::PS_DASHDOTDOT, gdi::PS_NULL,
                                              gdi::PS_INSIDEFRAME};
  gdi::LogPen p;
  const auto i = static_cast<unsigned>(style_);
  p.Style = i < std::size(kStyles) ? kStyles[i] : gdi::PS_SOLID;
  p.Width = width_;
  p.Color = ColorToRGB(color_);
  return p;
}
void TPen::Assign(const TPen& other) {
  if (&other == this) return;
  const bool changed = color_ != other.color_ || width_ != other.width_ || style_ != other.style_ ||
                       mode_ != other.mode_;
  color_ = other.color_;
  width_ = other.width_;
  style_ = other.style_;
  mode_ = other.mode_;
  Changed(changed);
}

// --- TBrush ---

void TBrush::Changed(bool changed) {
  if (changed) ++version_;
  if (OnChange) OnChange();
}
void TBrush::SetColor(const TColor& v) {
  const bool changed = v != color_ || style_ == bsClear;
  color_ = v;
  if (style_ == bsClear) style_ = bsSolid;
  Changed(changed);
}
void TBrush::SetStyle(const TBrushStyle& v) {
  const bool changed = v != style_;
  style_ = v;
  Changed(changed);
}
void TBrush::SetBitmap(TBitmap* const& v) {
  const bool changed = v != bitmap_;
  bitmap_ = v;
  Changed(changed);
}
void TBrush::Assign(const TBrush& other) {
  if (&other == this) return;
  const bool changed = color_ != other.color_ || style_ != other.style_ || bitmap_ != other.bitmap_;
  color_ = other.color_;
  style_ = other.style_;
  bitmap_ = other.bitmap_;
  Changed(changed);
}

// --- TCanvas ---

TCanvas::TCanvas() : Font(new TFont), Pen(new TPen), Brush(new TBrush) {
  Font->SetColor(clBlack);
  Font->OnChange = [this] { fontChanged_ = true; };
}

TCanvas::~TCanvas() {
  delete Font;
  delete Pen;
  delete Brush;
}

void TCanvas::Changed() {
  if (OnChange) OnChange();
}

namespace {

bool Drawable(const QImage* image) {
  return image && !image->isNull();
}

// The image with the pixels of key see-through.
QImage WithoutColor(const QImage& image, TColor key) {
  QImage out = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb k = qt::Color(key).rgb() & 0xFFFFFF;
  for (int y = 0; y < out.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((line[x] & 0xFFFFFF) == k) line[x] = 0;
  }
  return out;
}

}  // namespace

// Every primitive goes through the device context, with this canvas's pen, brush and font
// realised into it first.

void TCanvas::MoveTo(int x, int y) {
  PenPos = Point(x, y);
}

void TCanvas::LineTo(int x, int y) {
  gdi::Dc* dc = GetHandle();
  dc->MoveToEx(PenPos.X, PenPos.Y);
  dc->LineTo(x, y);
  PenPos = Point(x, y);
  if (Drawable(image_)) Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (x2 <= x1 || y2 <= y1) return;
  GetHandle()->Rectangle(x1, y1, x2, y2);
  if (Drawable(image_)) Changed();
}

void TCanvas::FillRect(const TRect& r) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  gdi::Dc* dc = GetHandle();
  dc->FillRect(r, dc->CurrentBrush());
  if (Drawable(image_)) Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (x2 <= x1 || y2 <= y1) return;
  GetHandle()->Ellipse(x1, y1, x2, y2);
  if (Drawable(image_)) Changed();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  qt::EnsureApplication();
  gdi::Dc* dc = GetHandle();
  dc->TextOut(x, y, text);
  PenPos = Point(x + dc->GetTextExtent(text).X, y);
  if (Drawable(image_)) Changed();
}

int TCanvas::TextWidth(const std::string& text) {
  qt::EnsureApplication();
  return GetHandle()->GetTextExtent(text).X;
}

int TCanvas::TextHeight(const std::string& text) {
  qt::EnsureApplication();
  return GetHandle()->GetTextExtent(text).Y;
}

void TCanvas::Draw(int x, int y, const TGraphic* graphic) {
  const QImage* src = qt::GraphicImage(graphic);
  if (!src || src->isNull()) return;
  StretchDraw(Bounds(x, y, src->width(), src->height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic* graphic) {
  const QImage* src = qt::GraphicImage(graphic);
  if (!src || src->isNull() || r.Width() <= 0 || r.Height() <= 0) return;
  if (graphic->GetTransparent()) {
    GetHandle()->DrawImage(r, WithoutColor(*src, graphic->TransparentColor()));
  } else {
    GetHandle()->DrawImage(r, *src);
  }
  if (Drawable(image_)) Changed();
}

TColor TCanvas::GetPixel(int x, int y) const {
  if (!Drawable(image_)) return -1;
  return const_cast<TCanvas*>(this)->GetHandle()->GetPixel(x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (!Drawable(image_)) return;
  if (GetHandle()->SetPixel(x, y, color) != -1) Changed();
}

}  // namespace platform

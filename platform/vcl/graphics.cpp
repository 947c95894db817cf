#include "platform/vcl/graphics.h"

#include <strings.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <cmath>
#include <cstdlib>

#include "platform/gdi/dc.h"
#include "platform/vcl/picture.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace qt {

QColor Color(TColor c) {
  if (c == clNone || c == clDefault) return QColor(Qt::transparent);
  const TColor rgb = ColorToRGB(c);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& c) {
  return RGB(c.red(), c.green(), c.blue());
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

QPen Pen(const TPen& p) {
  Qt::PenStyle style = Qt::SolidLine;
  switch (p.GetStyle()) {
    case psDash:
      style = Qt::DashLine;
      break;
    case psDot:
      style = Qt::DotLine;
      break;
    case psDashDot:
      style = Qt::DashDotLine;
      break;
    case psDashDotDot:
      style = Qt::DashDotDotLine;
      break;
    case psClear:
      return QPen(Qt::NoPen);
    default:
      break;
  }
  QPen pen(Color(p.GetColor()));
  pen.setStyle(style);
  pen.setWidth(p.GetWidth() <= 1 ? 0 : p.GetWidth());
  return pen;
}

QBrush Brush(const TBrush& b) {
  Qt::BrushStyle style = Qt::SolidPattern;
  switch (b.GetStyle()) {
    case bsClear:
      return QBrush(Qt::NoBrush);
    case bsHorizontal:
      style = Qt::HorPattern;
      break;
    case bsVertical:
      style = Qt::VerPattern;
      break;
    case bsFDiagonal:
      style = Qt::FDiagPattern;
      break;
    case bsBDiagonal:
      style = Qt::BDiagPattern;
      break;
    case bsCross:
      style = Qt::CrossPattern;
      break;
    case bsDiagCross:
      style = Qt::DiagCrossPattern;
      break;
    default:
      break;
  }
  return QBrush(Color(b.GetColor()), style);
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

void TPen::Changed() {
  // A property change describes a new pen: the native one no longer applies.
  handle_.reset();
  if (OnChange) OnChange();
}
void TPen::SetColor(const TColor& v) {
  color_ = v;
  Changed();
}
void TPen::SetWidth(const int& v) {
  width_ = v < 0 ? 0 : v;
  Changed();
}
void TPen::SetStyle(const TPenStyle& v) {
  style_ = v;
  Changed();
}
void TPen::SetMode(const TPenMode& v) {
  mode_ = v;
  Changed();
}
void TPen::SetHandle(const gdi::LogPen& pen) {
  handle_ = std::make_unique<gdi::LogPen>(pen);
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
  color_ = other.color_;
  width_ = other.width_;
  style_ = other.style_;
  mode_ = other.mode_;
  Changed();
}

// --- TBrush ---

void TBrush::Changed() {
  if (OnChange) OnChange();
}
void TBrush::SetColor(const TColor& v) {
  color_ = v;
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}
void TBrush::SetStyle(const TBrushStyle& v) {
  style_ = v;
  Changed();
}
void TBrush::SetBitmap(TBitmap* const& v) {
  bitmap_ = v;
  Changed();
}
void TBrush::Assign(const TBrush& other) {
  if (&other == this) return;
  color_ = other.color_;
  style_ = other.style_;
  bitmap_ = other.bitmap_;
  Changed();
}

// --- TCanvas ---

TCanvas::TCanvas() : Font(new TFont), Pen(new TPen), Brush(new TBrush) {
  Font->SetColor(clBlack);
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

void Prepare(QPainter& p, const TCanvas& c) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(qt::Pen(*c.Pen));
  p.setBrush(qt::Brush(*c.Brush));
}

}  // namespace

void TCanvas::MoveTo(int x, int y) {
  PenPos = Point(x, y);
}

void TCanvas::LineTo(int x, int y) {
  const TPoint from = PenPos;
  PenPos = Point(x, y);
  if (!Drawable(image_) || (from.X == x && from.Y == y)) return;
  // The end point is not drawn: stop one step short along the longer axis.
  const int dx = x - from.X, dy = y - from.Y;
  const int steps = std::max(std::abs(dx), std::abs(dy));
  const int ex = x - static_cast<int>(std::lround(static_cast<double>(dx) / steps));
  const int ey = y - static_cast<int>(std::lround(static_cast<double>(dy) / steps));
  QPainter p(image_);
  Prepare(p, *this);
  p.drawLine(from.X, from.Y, ex, ey);
  p.end();
  Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  if (!Drawable(image_) || x2 <= x1 || y2 <= y1) return;
  QPainter p(image_);
  Prepare(p, *this);
  if (Pen->GetStyle() == psClear) {
    p.fillRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1), qt::Brush(*Brush));
  } else {
    p.drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
  }
  p.end();
  Changed();
}

void TCanvas::FillRect(const TRect& r) {
  if (!Drawable(image_) || r.Width() <= 0 || r.Height() <= 0) return;
  QPainter p(image_);
  p.fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()), qt::Brush(*Brush));
  p.end();
  Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  if (!Drawable(image_) || x2 <= x1 || y2 <= y1) return;
  QPainter p(image_);
  Prepare(p, *this);
  if (Pen->GetStyle() == psClear) {
    p.drawEllipse(QRect(x1, y1, x2 - x1, y2 - y1));
  } else {
    p.drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
  }
  p.end();
  Changed();
}

namespace {
// Canvas text has crisp pixels in exactly the font colour, as the original platform's.
QFont CanvasFont(const TFont& f) {
  QFont q = qt::Font(f);
  q.setStyleStrategy(QFont::NoAntialias);
  return q;
}
}  // namespace

void TCanvas::TextOut(int x, int y, const std::string& text) {
  qt::EnsureApplication();
  const QFont font = CanvasFont(*Font);
  const QFontMetrics fm(font);
  const QString s = qt::Str(text);
  const int w = fm.horizontalAdvance(s);
  PenPos = Point(x + w, y);
  if (!Drawable(image_)) return;
  QPainter p(image_);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setFont(font);
  if (Brush->GetStyle() != bsClear) {
    p.fillRect(QRect(x, y, w, fm.height()), qt::Color(Brush->GetColor()));
  }
  p.setPen(qt::Color(Font->GetColor()));
  p.drawText(x, y + fm.ascent(), s);
  p.end();
  Changed();
}

int TCanvas::TextWidth(const std::string& text) {
  qt::EnsureApplication();
  return QFontMetrics(CanvasFont(*Font)).horizontalAdvance(qt::Str(text));
}

int TCanvas::TextHeight(const std::string&) {
  qt::EnsureApplication();
  return QFontMetrics(CanvasFont(*Font)).height();
}

void TCanvas::Draw(int x, int y, const TGraphic* graphic) {
  const QImage* src = qt::GraphicImage(graphic);
  if (!src || src->isNull()) return;
  StretchDraw(Bounds(x, y, src->width(), src->height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic* graphic) {
  const QImage* src = qt::GraphicImage(graphic);
  if (!Drawable(image_) || !src || src->isNull() || r.Width() <= 0 || r.Height() <= 0) return;
  QPainter p(image_);
  p.drawImage(QRect(r.Left, r.Top, r.Width(), r.Height()), *src);
  p.end();
  Changed();
}

TColor TCanvas::GetPixel(int x, int y) const {
  if (!Drawable(image_) || !image_->valid(x, y)) return -1;
  return qt::FromQColor(QColor(image_->pixel(x, y)));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (!Drawable(image_) || !image_->valid(x, y)) return;
  image_->setPixel(x, y, qt::Color(color).rgb());
  Changed();
}

}  // namespace platform

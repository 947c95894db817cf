// Text: the selected font as Qt sees it, the alignment flags turned into offsets from the
// reference point (in the rotated frame when the font has an escapement), the opaque cell.
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QTextLayout>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>

#include "platform/gdi/dc_impl.h"
#include "platform/gdi/qt_color.h"

namespace platform::gdi {

namespace {

std::atomic<bool> gTextAntialiasing{true};

// Fonts need the GUI application; without one, text measures and draws nothing.
bool HaveFonts() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

struct TextLayout {
  int width = 0, ascent = 0, descent = 0;
  int dx = 0, baseline = 0;  // offsets of the text start and baseline from the reference point
};

TextLayout Layout(const Dc::Impl::FontEntry& font, int width, unsigned align) {
  TextLayout t;
  t.width = width;
  t.ascent = font.ascent;
  t.descent = font.descent;
  if ((align & TA_CENTER) == TA_CENTER) {
    t.dx = -(t.width / 2);
  } else if (align & TA_RIGHT) {
    t.dx = -t.width;
  }
  if ((align & TA_BASELINE) == TA_BASELINE) {
    t.baseline = 0;
  } else if (align & TA_BOTTOM) {
    t.baseline = -t.descent;
  } else {
    t.baseline = t.ascent;
  }
  return t;
}

}  // namespace

void SetTextAntialiasing(bool allowed) {
  gTextAntialiasing = allowed;
}

namespace {

// Loading or removing application fonts changes what a font measures: the measures kept so far
// are dropped.
std::atomic<unsigned> gFontGeneration{1};

unsigned FontGeneration() {
  static std::mutex mutex;
  static std::atomic<QCoreApplication*> watched{nullptr};
  QCoreApplication* app = QCoreApplication::instance();
  if (app != watched.load()) {
    const std::lock_guard lock(mutex);
    if (app != watched.load()) {
      watched = app;
      ++gFontGeneration;
      if (auto* gui = qobject_cast<QGuiApplication*>(app))
        QObject::connect(gui, &QGuiApplication::fontDatabaseChanged, [] { ++gFontGeneration; });
    }
  }
  return gFontGeneration.load();
}

QFont MakeFont(const LogFont& font, double scaleX, double scaleY, int charExtra, bool smooth) {
  QFont f(Latin1(font.FaceName.empty() ? std::string("Arial") : font.FaceName));
  const double sy = std::abs(scaleY);
  double px = 11 * sy;
  if (font.Height < 0) {
    px = -static_cast<double>(font.Height) * sy;
  } else if (font.Height > 0) {
    // A cell height: the em size that gives this ascent + descent.
    QFont probe = f;
    probe.setPixelSize(100);
    const QFontMetricsF fm(probe);
    const double cell = fm.ascent() + fm.descent();
    px = font.Height * sy * (cell > 0 ? 100.0 / cell : 1.0);
  }
  f.setPixelSize(static_cast<int>(std::clamp(std::lround(px), 1L, 4000L)));
  f.setWeight(
      static_cast<QFont::Weight>(std::clamp(font.Weight <= 0 ? 400 : font.Weight, 1, 1000)));
  f.setItalic(font.Italic);
  f.setUnderline(font.Underline);
  f.setStrikeOut(font.StrikeOut);
  f.setKerning(false);
  if (charExtra != 0) {
    f.setLetterSpacing(QFont::AbsoluteSpacing, std::round(charExtra * std::abs(scaleX)));
  }
  f.setStyleStrategy(smooth ? QFont::PreferAntialias : QFont::NoAntialias);
  return f;
}

}  // namespace

Dc::Impl::FontEntry::Shaped& Dc::Impl::FontEntry::Text(const std::string& text) {
  const auto it = texts.find(text);
  if (it != texts.end()) return it->second;
  // Bounded: a drawing names few texts, a long-lived one may name many.
  if (texts.size() >= 4096) {
    texts.clear();
    inkedImages = 0;
  }
  Shaped& shaped = texts[text];
  shaped.advance = QFontMetrics(qfont).horizontalAdvance(Latin1(text));
  return shaped;
}

bool Dc::Impl::FontEntry::LaidOut(const std::string& text, Shaped& shaped) {
  // Shaping a text costs more than drawing it, and labels are drawn again at every paint. Only
  // plain text is kept: line breaks, tabs and the font's own lines are left to drawText.
  if (font.Underline || font.StrikeOut) return false;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return false;
  }
  if (!shaped.laidOut) {
    QTextLayout layout(Latin1(text), qfont);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    shaped.ascent = line.isValid() ? line.ascent() : 0;
    shaped.runs = layout.glyphRuns();
    shaped.laidOut = true;
  }
  return true;
}

const Dc::Impl::FontEntry::Shaped::Inked& Dc::Impl::FontEntry::Ink(Shaped& shaped, TColor color,
                                                                   const QPointF& fraction) {
  for (const Shaped::Inked& i : shaped.inked)
    if (i.color == color && i.fraction.x() == fraction.x() && i.fraction.y() == fraction.y())
      return i;
  if (shaped.inked.size() >= 2) {
    shaped.inked.erase(shaped.inked.begin());
    --inkedImages;
  }
  // Bounded: a long-lived surface may draw many texts again.
  if (inkedImages >= kInkedImages) {
    for (auto& [name, other] : texts) other.inked.clear();
    inkedImages = 0;
  }
  ++inkedImages;
  Shaped::Inked& i = shaped.inked.emplace_back();
  i.color = color;
  i.fraction = fraction;
  QRectF reach;
  for (const QGlyphRun& run : shaped.runs) reach |= run.boundingRect();
  // Room for what hinting and rounding add to the outlines.
  const int margin = 2 + qfont.pixelSize() / 4;
  const QRect box = reach.toAlignedRect().adjusted(-margin, -margin, margin, margin);
  i.offset = box.topLeft();
  i.image = QImage(box.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  i.image.fill(Qt::transparent);
  QPainter p(&i.image);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setPen(ToQColor(color));
  for (const QGlyphRun& run : shaped.runs) p.drawGlyphRun(fraction - QPointF(box.topLeft()), run);
  return i;
}

Dc::Impl::FontEntry& Dc::Impl::Font() const {
  const unsigned generation = FontGeneration();
  if (generation != fontGeneration) {
    fonts.clear();
    fontGeneration = generation;
  }
  const bool smooth = font.Quality == ANTIALIASED_QUALITY && gTextAntialiasing;
  // The one used last, while nothing it was chosen by changed.
  if (!fonts.empty() && frontStamp == fontStamp && fonts.front()->smooth == smooth)
    return *fonts.front();
  frontStamp = fontStamp;
  const double sx = ScaleX(), sy = ScaleY();
  for (size_t i = 0; i < fonts.size(); ++i) {
    FontEntry& e = *fonts[i];
    if (e.font == font && e.scaleX == sx && e.scaleY == sy && e.charExtra == charExtra &&
        e.smooth == smooth) {
      if (i > 0) std::rotate(fonts.begin(), fonts.begin() + i, fonts.begin() + i + 1);
      return *fonts.front();
    }
  }
  auto e = std::make_unique<FontEntry>();
  e->font = font;
  e->scaleX = sx;
  e->scaleY = sy;
  e->charExtra = charExtra;
  e->smooth = smooth;
  e->qfont = MakeFont(font, sx, sy, charExtra, smooth);
  const QFontMetrics fm(e->qfont);
  e->ascent = fm.ascent();
  e->descent = fm.descent();
  e->averageCharWidth = fm.averageCharWidth();
  if (fonts.size() >= 8) fonts.pop_back();
  fonts.insert(fonts.begin(), std::move(e));
  return *fonts.front();
}

bool Dc::TextOut(int x, int y, const std::string& text) {
  d_->Record("TextOut", {x, y}, text);
  if (!HaveFonts()) return false;
  Impl::FontEntry& entry = d_->Font();
  const QFont& font = entry.qfont;
  Impl::FontEntry::Shaped& shaped = entry.Text(text);
  const TextLayout t = Layout(entry, shaped.advance, d_->textAlign);
  const QPoint origin = d_->Dev(x, y);
  const double angle = std::fmod(d_->font.Escapement / 10.0, 360.0);
  QTransform frame;
  frame.translate(origin.x(), origin.y());
  frame.rotate(-angle);
  if (d_->pathOpen) {
    QPainterPath glyphs;
    glyphs.addText(t.dx, t.baseline, font, Latin1(text));
    d_->path.addPath(frame.map(glyphs));
    return true;
  }
  if (text.empty()) return true;
  const QRect cell(t.dx, t.baseline - t.ascent, t.width, t.ascent + t.descent);
  if (d_->KeepsVector(false)) {
    VectorStep step;
    step.kind = VectorStep::Kind::Text;
    step.transform = frame;
    step.font = font;
    step.text = Latin1(text);
    step.at = QPointF(t.dx, t.baseline);
    step.cell = cell;
    if (d_->bkMode == OPAQUE) step.background = ToQColor(d_->bkColor);
    step.color = ToQColor(d_->textColor);
    d_->Keep(std::move(step));
  }
  const auto p = d_->Paint();
  if (!p) return true;
  if (angle == 0 && entry.LaidOut(text, shaped)) {
    // Straight text needs no transform: the same pixels at the reference point.
    if (d_->bkMode == OPAQUE) p->fillRect(cell.translated(origin), ToQColor(d_->bkColor));
    const QPointF at(origin.x() + t.dx, origin.y() + t.baseline - shaped.ascent);
    // Glyph pixels are all or nothing unless the font is smoothed: an image of them copies as
    // they would be drawn on surfaces that hold plain colours.
    const QImage::Format format = d_->target->format();
    if (shaped.drawn < 2) ++shaped.drawn;
    if (!entry.smooth && shaped.drawn > 1 &&
        (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32_Premultiplied)) {
      const QPointF whole(std::floor(at.x()), std::floor(at.y()));
      const auto& inked = entry.Ink(shaped, d_->textColor, at - whole);
      p->drawImage(whole.toPoint() + inked.offset, inked.image);
      return true;
    }
    p->setPen(d_->TextPen());
    for (const QGlyphRun& run : shaped.runs) p->drawGlyphRun(at, run);
    return true;
  }
  p->setTransform(frame);
  if (d_->bkMode == OPAQUE) p->fillRect(cell, ToQColor(d_->bkColor));
  if (d_->keptFont != font) {
    p->setFont(font);
    d_->keptFont = font;
  }
  p->setPen(d_->TextPen());
  p->drawText(QPoint(t.dx, t.baseline), Latin1(text));
  return true;
}

TPoint Dc::GetTextExtent(const std::string& text) const {
  if (!HaveFonts()) return TPoint{};
  Impl::FontEntry& font = d_->Font();
  const double w = font.Advance(text), h = font.ascent + font.descent;
  return TPoint{static_cast<int>(std::lround(w / std::abs(d_->ScaleX()))),
                static_cast<int>(std::lround(h / std::abs(d_->ScaleY())))};
}

TextMetrics Dc::GetTextMetrics() const {
  TextMetrics m;
  if (!HaveFonts()) return m;
  const Impl::FontEntry& font = d_->Font();
  m.Ascent = font.ascent;
  m.Descent = font.descent;
  m.Height = m.Ascent + m.Descent;
  m.InternalLeading = std::max(0, m.Height - font.qfont.pixelSize());
  m.AveCharWidth = font.averageCharWidth;
  return m;
}

}  // namespace platform::gdi

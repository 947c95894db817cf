// Private to the device context: its state and the helpers its source files share. Everything
// is drawn in device pixels: logical coordinates are mapped first, so the clip, the hatches and
// cosmetic pens stay device-sized whatever the mapping.
#pragma once

#include <QGlyphRun>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/qt_color.h"

namespace platform::gdi {

struct Region::Impl {
  QRegion rgn;
};

// Coordinates handed to Qt stay inside this range, so that its fixed-point rasteriser never
// overflows on absurd input.
constexpr int kCoordLimit = 1 << 24;
int ClampCoord(long long v);

// The pixels whose centres lie inside the polygon (fill rule ALTERNATE or WINDING), as a region;
// rows far outside any surface are left out.
QRegion ScanPolygons(const QList<QPolygonF>& polygons, int fillMode);
inline QRegion ScanPolygon(const QPolygonF& polygon, int fillMode) {
  return ScanPolygons({polygon}, fillMode);
}

// A round rectangle on whole pixels: box in device pixels (right and bottom left out), w x h the
// corner ellipse. The outline runs through the centres of the outermost pixels, the same on the
// left as on the right and at the top as at the bottom; inside is what it encloses, all both.
struct RoundRectPixels {
  QRegion all, outline, inside;
};
RoundRectPixels ScanRoundRect(const QRect& box, long long w, long long h);

// A one-pixel line from one point to another as Qt draws it, leaving out the end point as the
// platform does. Qt leaves out the pixel at the far end of its own (left to right, top to
// bottom) order, so a line that runs the other way is moved one step back towards its start.
// False when the two points are one: nothing is drawn.
inline bool CosmeticLine(const QPointF& from, const QPointF& to, QLineF& line) {
  const double dx = to.x() - from.x(), dy = to.y() - from.y();
  const double steps = std::max(std::abs(dx), std::abs(dy));
  if (!(steps > 0)) return false;
  const bool reversed = std::abs(dx) >= std::abs(dy) ? dx < 0 : dy < 0;
  const QPointF back = reversed ? QPointF(-dx / steps, -dy / steps) : QPointF();
  line = QLineF(from + back, to + back);
  return true;
}

// A one-pixel solid line as drawn: the line Qt is given (CosmeticLine), or, when it runs along a
// row between whole pixels, the rectangle of its pixels, which Qt fills in far less time than it
// strokes the line, with the same pixels. (A column fills no quicker than it strokes.)
struct CosmeticSegment {
  QLineF line;
  bool straight = false;
  QRect run;
};
inline bool MakeSegment(const QPointF& from, const QPointF& to, CosmeticSegment& s) {
  if (!CosmeticLine(from, to, s.line)) return false;
  const double x0 = from.x(), y0 = from.y(), x1 = to.x(), y1 = to.y();
  const bool whole =
      x0 == std::floor(x0) && y0 == std::floor(y0) && x1 == std::floor(x1) && y1 == std::floor(y1);
  s.straight = whole && y0 == y1;
  if (s.straight) {
    // From the first point up to the one before the last.
    const int a = static_cast<int>(x0), b = static_cast<int>(x1);
    const int lo = b > a ? a : b + 1;
    s.run = QRect(lo, static_cast<int>(y0), std::abs(b - a), 1);
  }
  return true;
}

// The pen of fills and the brush of lines: none.
inline const QPen kNoPen{Qt::NoPen};
inline const QBrush kNoBrush{Qt::NoBrush};

// Draws the lines a device context still holds back for image, so that its pixels may be read.
void DrawQueued(const QImage* image);
// Whether a paint pass is running on this thread.
bool InPaintPass();

// One drawing kept for vector devices, in device pixels, with the clip it was drawn under.
struct VectorStep {
  enum class Kind { Fill, Stroke, Text, Image };
  Kind kind = Kind::Fill;
  std::optional<QRegion> clip;
  QPainterPath path;     // Fill, Stroke
  QBrush brush;          // Fill
  QPen pen;              // Stroke
  QColor background;     // Fill: opaque hatch gaps; Stroke: opaque dash gaps; Text: the cell
  QTransform transform;  // Text: text coordinates to device
  QFont font;
  QString text;
  QPointF at;  // Text: baseline start
  QRectF cell;
  QColor color;
  QImage image;  // Image, drawn into target
  QRectF target;
};

struct VectorLog::Impl {
  std::vector<VectorStep> steps;
};

struct Dc::Impl {
  QImage* target = nullptr;
  DcRecorder recorder;
  std::shared_ptr<VectorLog> vector;

  int bkMode = OPAQUE;
  TColor bkColor = clWhite;
  TColor textColor = clBlack;
  unsigned textAlign = TA_LEFT | TA_TOP;
  int rop2 = R2_COPYPEN;
  int charExtra = 0;
  int arcDirection = AD_COUNTERCLOCKWISE;
  int polyFillMode = ALTERNATE;
  TPoint pos;  // logical

  LogPen pen;
  LogBrush brush;
  LogFont font;
  TColor dcBrushColor = clWhite;
  TColor dcPenColor = clBlack;
  bool dcBrushSelected = false;
  bool dcPenSelected = false;

  std::optional<QRegion> clip;

  bool pathOpen = false;
  QPainterPath path;  // device pixels

  int mapMode = MM_TEXT;
  int winOrgX = 0, winOrgY = 0, winExtX = 1, winExtY = 1;
  int vpOrgX = 0, vpOrgY = 0, vpExtX = 1, vpExtY = 1;

  bool Drawable() const { return target && !target->isNull(); }
  // Hands the primitive to the recorder with the state it is drawn with; brush overrides the
  // selected one (FillRect). Without a recorder nothing is built.
  void Record(const char* op, std::initializer_list<int> args, const std::string& text = {},
              const LogBrush* brush = nullptr) const {
    if (recorder) Emit(op, std::vector<int>(args), text, brush);
  }
  void Emit(const char* op, std::vector<int> args, const std::string& text,
            const LogBrush* brush) const;

  // Bumped whenever what the selected pen draws changes (the pen, the DC pen colour, the raster
  // operation, the mapping), so that the pen Qt draws with is worked out once per change.
  unsigned penStamp = 1;
  void PenChanged() {
    ++penStamp;
    ++selectStamp;
  }
  // The mapping scales pens and fonts.
  void MappingChanged() {
    ++penStamp;
    ++fontStamp;
  }
  unsigned selectStamp = 1;  // see Dc::SelectionStamp

  // Mapping, logical -> device.
  double ScaleX() const;
  double ScaleY() const;
  QPointF DevF(int x, int y) const;
  QPoint Dev(int x, int y) const;
  // A logical rectangle in device pixels, normalised (left <= right, top <= bottom).
  QRect DevRect(int l, int t, int r, int b) const;  // right/bottom exclusive, as x, y, w, h
  // A logical length (pen width, font height) in device pixels.
  double DevLength(double v) const;

  // Starts a painter on the target with antialiasing off and the clip set; false when there is
  // nothing to draw on.
  bool Begin(QPainter& p) const;
  // The painter one primitive draws with, with the clip set, no transform, copy mode and a
  // transparent background; what it was last given stays (pen, brush, font). Lines still
  // waiting are drawn first. It stays open from primitive to primitive during a paint pass, and
  // always when the target's owner ends it (keepOpen); otherwise it ends when the primitive
  // returns. Null when there is nothing to draw on.
  class Painting {
   public:
    Painting(const Impl& d, QPainter* p) : d_(d), p_(p) {
      if (p_) ++d_.painting;
    }
    ~Painting() {
      if (p_ && --d_.painting == 0 && !d_.KeepsPainter()) d_.EndKept();
    }
    Painting(const Painting&) = delete;
    Painting& operator=(const Painting&) = delete;
    explicit operator bool() const { return p_ != nullptr; }
    QPainter* operator->() const { return p_; }
    QPainter& operator*() const { return *p_; }

   private:
    const Impl& d_;
    QPainter* p_;
  };
  Painting Paint() const;
  QPainter* Painter() const;
  // Ends the kept painter, if any, after drawing the lines still waiting.
  void EndKept() const;
  bool keepOpen = false;
  mutable int painting = 0;  // primitives drawing now
  bool KeepsPainter() const { return keepOpen || InPaintPass(); }

  // The painter kept open on the target, the image it paints and the clip it was given.
  mutable std::unique_ptr<QPainter> kept;
  mutable const QImage* painted = nullptr;
  mutable std::optional<QRegion> keptClip;
  // The font last given to the kept painter: setting a font costs a font lookup.
  mutable std::optional<QFont> keptFont;
  // The text colour as a pen, made again only when the colour changes.
  const QPen& TextPen() const {
    if (!textPen || textPenColor != textColor) {
      textPen = QPen(ToQColor(textColor));
      textPenColor = textColor;
    }
    return *textPen;
  }
  mutable std::optional<QPen> textPen;
  mutable TColor textPenColor = 0;
  // Sets the composition mode, background mode and background only when they change.
  static void SetComposition(QPainter& p, QPainter::CompositionMode mode);
  static void SetBackground(QPainter& p, bool opaque, TColor color);

  // During a paint pass, one-pixel solid lines in one pen are gathered and drawn as one run:
  // drawing a line costs far less than setting up its drawing. They are drawn before anything
  // else is drawn, the clip changes or somebody reads the image. queuedRuns: the rows among them
  // (MakeSegment); queuedStamp: the pen they are drawn in, queuedInk its colour;
  // queuedBox: where the ends of the other lines must lie (see Queue).
  mutable std::vector<QLineF> queued;
  mutable std::vector<QRect> queuedRuns;
  mutable unsigned queuedStamp = 0;
  mutable QBrush queuedInk;
  mutable QRect queuedBox;
  static constexpr std::size_t kQueuedLines = 4096;
  bool Queued() const { return !queued.empty() || !queuedRuns.empty(); }
  // Adds a line to the open run, or (start) opens a run in the pen the painter was just given;
  // false when the line cannot join a run and must be drawn alone.
  bool Queue(const CosmeticSegment& segment, bool start) const;
  // Draws a line that does not join a run, with the painter set for its pen.
  void DrawAlone(QPainter& p, const CosmeticSegment& segment) const;
  void DrawQueued() const;
  // Draws the lines any device context holds back for the target.
  void DrawQueuedOnTarget() const {
    if (kept && painted == target)
      DrawQueued();
    else
      platform::gdi::DrawQueued(target);
  }
  // Sets the pen's raster operation on the painter; false for R2_NOP (nothing to draw).
  bool ApplyRop(QPainter& p) const;
  // The colour a pen or brush draws in under the raster operation (R2_BLACK and R2_WHITE
  // replace it).
  QColor RopColor(TColor c) const;

  // The selected pen and brush as Qt draws them. A null QPen style means nothing is stroked.
  struct PenSpec {
    QPen qpen{Qt::NoPen};
    bool null = true;
    bool cosmetic = true;  // one device pixel, the end point left out
    bool styled = false;   // dashes: gaps filled with the background colour when OPAQUE
    bool insideFrame = false;
    bool geometric = false;  // made as a geometric pen: gaps are never filled
    double width = 1;        // device pixels
    // A wide pen of odd width is drawn half a pixel off, centred on the pixel its points name.
    QPointF StrokeShift() const {
      const bool odd = static_cast<long long>(width + 0.5) % 2 == 1;
      return !cosmetic && !insideFrame && odd ? QPointF(0.5, 0.5) : QPointF();
    }
  };
  // The selected pen as Qt draws it, worked out again only after the pen changed.
  const PenSpec& Pen() const;
  PenSpec MakePen(const LogPen& pen) const;
  // The pens worked out last: drawings go back and forth between a few. madePen: the one in
  // use, worked out for the pen stamp madeStamp; a new one takes the place of the oldest.
  struct MadePen {
    LogPen pen;
    double scaleX = 1, scaleY = 1;
    int rop2 = R2_COPYPEN;
    PenSpec spec;
    QBrush ink;  // the pen's colour as a brush, for outlines filled as rectangles
  };
  static constexpr std::size_t kMadeKept = 4;
  mutable std::vector<MadePen> madePens;
  mutable std::size_t madePen = 0, nextPen = 0;
  mutable unsigned madeStamp = 0;
  // The pen's colour as a brush.
  const QBrush& PenInk() const {
    Pen();
    return madePens[madePen].ink;
  }
  LogPen EffectivePen() const;
  LogBrush EffectiveBrush() const;
  // rop: a shape's fill, drawn under the raster operation (R2_BLACK/R2_WHITE recolour it). Made
  // once for the last few brushes.
  const QBrush& Brush(const LogBrush& b, bool rop) const;
  QBrush MakeBrush(const LogBrush& b, bool rop) const;
  struct MadeBrush {
    LogBrush brush;
    bool rop = false;
    int rop2 = 0;
    TColor textColor = 0, bkColor = 0;
    QBrush made;
  };
  // The brushes made last; a new one takes the place of the oldest.
  mutable std::vector<MadeBrush> madeBrushes;
  mutable std::size_t nextBrush = 0;
  // Sets the background mode and colour the brush needs (hatch gaps, monochrome patterns).
  void PrepareBrush(QPainter& p, const LogBrush& b) const;

  // Fills then strokes a closed shape given as device-space paths (fill may be empty). box: the
  // pixels the fill covers when it is a whole-pixel rectangle, filled as one (far cheaper than
  // scanning the path, the same pixels).
  void DrawShape(const QPainterPath& fill, const QPainterPath& outline, bool fillShape,
                 const QRect* box = nullptr);
  void StrokePathDev(const QPainterPath& path);
  // A line from one point to another, as StrokePathDev draws it.
  void StrokeLine(const QPointF& from, const QPointF& to);
  void FillPathDev(const QPainterPath& path);

  // The arc of an eight-coordinate primitive: the ellipse rectangle (device, float) and the
  // start and sweep as QPainterPath angles (degrees, counter-clockwise positive).
  struct ArcGeometry {
    QRectF rect;
    double start = 0;
    double sweep = 360;
  };
  ArcGeometry Arc(int l, int t, int r, int b, int xs, int ys, int xe, int ye) const;

  // The selected font as Qt draws it, with its metrics and the text widths measured in it:
  // building a font and shaping text cost more than drawing it.
  struct FontEntry {
    LogFont font;
    double scaleX = 1, scaleY = 1;
    int charExtra = 0;
    bool smooth = false;
    QFont qfont;
    int ascent = 0, descent = 0, averageCharWidth = 0;
    // A text in this font: its width, and once drawn straight, its glyphs where a painter's
    // drawText puts them (its baseline at ascent).
    struct Shaped {
      int advance = 0;
      bool laidOut = false;
      QList<QGlyphRun> runs;
      double ascent = 0;
      // Drawn again and again, the text's pixels in one colour at one fraction of a pixel, kept
      // as an image to copy: the same pixels for far less than drawing each glyph.
      struct Inked {
        TColor color = 0;
        QPointF fraction;
        QPoint offset;  // of the image's corner from the whole pixel the glyphs start at
        QImage image;
      };
      std::vector<Inked> inked;
      int drawn = 0;
    };
    std::unordered_map<std::string, Shaped> texts;
    int inkedImages = 0;
    static constexpr int kInkedImages = 256;
    Shaped& Text(const std::string& text);
    // The width of text in this font, in device pixels.
    int Advance(const std::string& text) { return Text(text).advance; }
    // Lays out the glyphs of text, shaped (Text) once; false when the text is drawn with
    // drawText instead (it is not plain printable text, or the font draws lines of its own).
    bool LaidOut(const std::string& text, Shaped& shaped);
    // The kept image of shaped text in color, its glyphs starting at the fraction of a pixel.
    const Shaped::Inked& Ink(Shaped& shaped, TColor color, const QPointF& fraction);
  };
  FontEntry& Font() const;
  // Most recently used first; all dropped when the application's fonts change.
  mutable std::vector<std::unique_ptr<FontEntry>> fonts;
  mutable unsigned fontGeneration = 0;
  // Bumped when the font, the character extra or the mapping changes; frontStamp: the value
  // the first of fonts was chosen at.
  unsigned fontStamp = 1;
  mutable unsigned frontStamp = 0;
  QRegion SurfaceRegion() const;

  // Whether a drawing is kept for vector devices: only while a log is kept, and, for drawings
  // under the raster operation (rop), only when the operation ignores what lies below.
  bool KeepsVector(bool rop) const;
  void Keep(VectorStep step) const;
  void KeepFill(const QPainterPath& path, const LogBrush& b, bool rop) const;
  void KeepStroke(const QPainterPath& path, const PenSpec& s) const;
  void KeepImage(const QRect& target, const QImage& image) const;
};

}  // namespace platform::gdi

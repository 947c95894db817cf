// One emulated device context: the drawing state and primitives the chart library and the
// component layer's canvas draw through, with the pixel rules of the platform they were written
// for (right and bottom edges excluded, LineTo leaves out its end point, a null pen shrinks a
// filled shape by one, no antialiasing). Drawn with QPainter into a QImage, but no Qt type
// appears here.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/types.h"

class QImage;
class QPainter;

namespace platform::gdi {

// Background modes (SetBkMode).
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Text alignment flags (SetTextAlign).
constexpr unsigned TA_LEFT = 0;
constexpr unsigned TA_RIGHT = 2;
constexpr unsigned TA_CENTER = 6;
constexpr unsigned TA_TOP = 0;
constexpr unsigned TA_BOTTOM = 8;
constexpr unsigned TA_BASELINE = 24;

// Raster operations of pens and shape fills (SetROP2).
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Arc directions and polygon fill modes.
constexpr int AD_COUNTERCLOCKWISE = 1;
constexpr int AD_CLOCKWISE = 2;
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// Region combination modes (CombineRgn, ExtSelectClipRgn, SelectClipPath).
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

// What the clip calls return: the kind of region that results, or an error.
constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// Mapping modes.
constexpr int MM_TEXT = 1;
constexpr int MM_ANISOTROPIC = 8;

// Block-transfer raster operations (BitBlt, StretchBlt, PatBlt).
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t PATCOPY = 0x00F00021;

// Pen style bits (LogPen::Style): the style in the low nibble, end cap and join above, and
// whether the pen is geometric (ExtCreatePen).
constexpr std::uint32_t PS_SOLID = 0;
constexpr std::uint32_t PS_DASH = 1;
constexpr std::uint32_t PS_DOT = 2;
constexpr std::uint32_t PS_DASHDOT = 3;
constexpr std::uint32_t PS_DASHDOTDOT = 4;
constexpr std::uint32_t PS_NULL = 5;
constexpr std::uint32_t PS_INSIDEFRAME = 6;
constexpr std::uint32_t PS_USERSTYLE = 7;
constexpr std::uint32_t PS_ALTERNATE = 8;
constexpr std::uint32_t PS_STYLE_MASK = 0x0000000F;
constexpr std::uint32_t PS_ENDCAP_ROUND = 0x00000000;
constexpr std::uint32_t PS_ENDCAP_SQUARE = 0x00000100;
constexpr std::uint32_t PS_ENDCAP_FLAT = 0x00000200;
constexpr std::uint32_t PS_JOIN_ROUND = 0x00000000;
constexpr std::uint32_t PS_JOIN_BEVEL = 0x00001000;
constexpr std::uint32_t PS_JOIN_MITER = 0x00002000;
constexpr std::uint32_t PS_COSMETIC = 0x00000000;
constexpr std::uint32_t PS_GEOMETRIC = 0x00010000;

// A pen as the device context draws it. Width 0 is one device pixel whatever the mapping; a
// cosmetic pen (not PS_GEOMETRIC) of width 1 is the same. UserStyle holds the dash and gap
// lengths of PS_USERSTYLE.
struct LogPen {
  std::uint32_t Style = PS_SOLID;
  int Width = 1;
  TColor Color = 0;
  std::vector<std::uint32_t> UserStyle;
  friend bool operator==(const LogPen&, const LogPen&) = default;
};

// Brush styles (LogBrush::Style) and hatch kinds (LogBrush::Hatch).
constexpr int BS_SOLID = 0;
constexpr int BS_NULL = 1;
constexpr int BS_HATCHED = 2;
constexpr int BS_PATTERN = 3;
constexpr int HS_HORIZONTAL = 0;
constexpr int HS_VERTICAL = 1;
constexpr int HS_FDIAGONAL = 2;
constexpr int HS_BDIAGONAL = 3;
constexpr int HS_CROSS = 4;
constexpr int HS_DIAGCROSS = 5;

// A brush. BS_PATTERN tiles Pattern from the device origin; a monochrome pattern paints its
// 0-bits in the text colour and its 1-bits in the background colour.
struct LogBrush {
  int Style = BS_SOLID;
  TColor Color = 0xFFFFFF;
  int Hatch = HS_HORIZONTAL;
  std::shared_ptr<const QImage> Pattern;
  bool Monochrome = false;
  friend bool operator==(const LogBrush&, const LogBrush&) = default;
};

// Font qualities.
constexpr int NONANTIALIASED_QUALITY = 3;
constexpr int ANTIALIASED_QUALITY = 4;

// A font. Height < 0: character height in pixels (the em size); > 0: cell height; 0: the
// default size. Escapement in tenths of a degree, counter-clockwise.
struct LogFont {
  int Height = -11;
  int Escapement = 0;
  int Orientation = 0;
  int Weight = 400;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  int CharSet = 1;
  int OutPrecision = 0;
  int Quality = 0;
  std::string FaceName = "Arial";
  friend bool operator==(const LogFont&, const LogFont&) = default;
};

struct TextMetrics {
  int Height = 0;  // ascent + descent
  int Ascent = 0;
  int Descent = 0;
  int InternalLeading = 0;
  int AveCharWidth = 0;
};

// A region in device pixels. Rectangles exclude their right and bottom edges.
class Region {
 public:
  Region();
  Region(const Region&);
  Region& operator=(const Region&);
  ~Region();

  static Region Rect(int l, int t, int r, int b);
  // w and h are the corner ellipse's diameters.
  static Region RoundRect(int l, int t, int r, int b, int w, int h);
  static Region Ellipse(int l, int t, int r, int b);
  static Region Polygon(const TPoint* points, int count, int fillMode);

  // CombineRgn: this := a op b (RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY takes a).
  void Combine(const Region& a, const Region& b, int mode);
  bool Empty() const;
  bool Contains(int x, int y) const;
  TRect BoundingBox() const;
  friend bool operator==(const Region&, const Region&);

  // For the device context: the region's pixels.
  struct Impl;
  const Impl& impl() const { return *impl_; }
  Impl& impl() { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

// One primitive as a recorder sees it: its name, its integer arguments as passed, and the
// state it was drawn with. Texts carry their string.
struct DcCall {
  std::string Op;
  std::vector<int> Args;
  std::string Text;
  LogPen Pen;
  LogBrush Brush;
  TColor BkColor = 0;
  int BkMode = OPAQUE;
  TColor TextColor = 0;
  int Rop2 = R2_COPYPEN;
};
using DcRecorder = std::function<void(const DcCall&)>;

// What a device context drew, kept besides its pixels as vector steps in device pixels, so that
// the drawing can be painted again through one painter on any device: an SVG or PDF document, a
// printer. Raster operations that combine with what lies below are not kept.
class VectorLog {
 public:
  VectorLog();
  ~VectorLog();
  VectorLog(const VectorLog&) = delete;
  VectorLog& operator=(const VectorLog&) = delete;

  // Paints the steps in order, one device pixel to one unit of the painter. clipByShape is for
  // devices that ignore the painter's clip (SVG): shapes are cut to the clip before they are
  // drawn, and fills vector documents have no pattern for go in as images.
  void Play(QPainter& painter, bool clipByShape = false) const;
  std::size_t Size() const;
  void Clear();

  struct Impl;
  Impl& impl() { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

class Dc {
 public:
  // Draws into target (not owned; may be null: then nothing is drawn but state and the
  // recorder still work).
  explicit Dc(QImage* target);
  ~Dc();
  Dc(const Dc&) = delete;
  Dc& operator=(const Dc&) = delete;

  void SetTarget(QImage* target);
  QImage* Target() const;
  // For targets whose owner calls EndPainting before it replaces, resizes, reformats or destroys
  // them, or paints on them itself: the painter stays open from primitive to primitive also
  // outside a paint pass, which saves starting one for each.
  void KeepPainterOpen(bool keep);

  // Every primitive is also handed to the recorder, before it is drawn.
  void SetRecorder(DcRecorder recorder);
  // Every later drawing is also kept in log (null: pixels only).
  void KeepVector(std::shared_ptr<VectorLog> log);
  const std::shared_ptr<VectorLog>& KeptVector() const;

  // State.
  int SetBkMode(int mode);
  int GetBkMode() const;
  TColor SetBkColor(TColor color);
  TColor GetBkColor() const;
  TColor SetTextColor(TColor color);
  TColor GetTextColor() const;
  unsigned SetTextAlign(unsigned flags);
  unsigned GetTextAlign() const;
  int SetROP2(int rop);
  int GetROP2() const;
  int SetTextCharacterExtra(int extra);
  int GetTextCharacterExtra() const;
  int SetArcDirection(int dir);
  int GetArcDirection() const;
  int SetPolyFillMode(int mode);
  int GetPolyFillMode() const;
  bool MoveToEx(int x, int y, TPoint* old = nullptr);
  TPoint GetCurrentPosition() const;

  // Selected objects; each returns the one selected before.
  LogPen SelectPen(const LogPen& pen);
  LogBrush SelectBrush(const LogBrush& brush);
  LogFont SelectFont(const LogFont& font);
  const LogPen& CurrentPen() const;
  const LogBrush& CurrentBrush() const;
  const LogFont& CurrentFont() const;
  // Changes whenever a pen, brush or font is selected, the DC pen or brush colour changes or the
  // raster operation does.
  unsigned SelectionStamp() const;
  // The stock DC brush and pen: selected, their colour follows SetDCBrushColor/SetDCPenColor.
  void SelectDcBrush();
  void SelectDcPen();
  TColor SetDCBrushColor(TColor color);
  TColor SetDCPenColor(TColor color);

  // Primitives (logical coordinates).
  bool Rectangle(int l, int t, int r, int b);
  bool RoundRect(int l, int t, int r, int b, int w, int h);
  bool Ellipse(int l, int t, int r, int b);
  bool Arc(int l, int t, int r, int b, int xs, int ys, int xe, int ye);
  bool Pie(int l, int t, int r, int b, int xs, int ys, int xe, int ye);
  bool ArcTo(int l, int t, int r, int b, int xs, int ys, int xe, int ye);
  bool LineTo(int x, int y);
  bool Polyline(const TPoint* points, int count);
  bool Polygon(const TPoint* points, int count);
  // Fills [l, r) x [t, b) with brush (no outline, no raster operation).
  bool FillRect(const TRect& rect, const LogBrush& brush);
  // Fills (x, y, w, h) with the selected brush; rop PATCOPY.
  bool PatBlt(int x, int y, int w, int h, std::uint32_t rop);
  TColor SetPixel(int x, int y, TColor color);
  // -1 (CLR_INVALID) outside the surface or the clip.
  TColor GetPixel(int x, int y) const;

  // Text at the reference point given by the text alignment, in the selected font and the
  // text colour; OPAQUE fills the text cell with the background colour first.
  bool TextOut(int x, int y, const std::string& text);
  // Width and height of the text in the selected font (character extra included).
  TPoint GetTextExtent(const std::string& text) const;
  TextMetrics GetTextMetrics() const;

  // Paths: between BeginPath and EndPath, LineTo, ArcTo, Polyline, Polygon and TextOut are
  // recorded instead of drawn.
  bool BeginPath();
  bool EndPath();
  bool AbortPath();
  bool WidenPath();
  bool StrokePath();
  bool FillPath();
  bool StrokeAndFillPath();
  bool SelectClipPath(int mode);

  // Clipping, in device pixels. GetClipRgn: 1 and a copy of the clip when there is one, else 0.
  int GetClipRgn(Region& out) const;
  // null: no clip.
  int SelectClipRgn(const Region* region);
  int ExtSelectClipRgn(const Region* region, int mode);

  // Mapping.
  int SetMapMode(int mode);
  int GetMapMode() const;
  void SetWindowOrgEx(int x, int y);
  void SetWindowExtEx(int w, int h);
  void SetViewportOrgEx(int x, int y);
  void SetViewportExtEx(int w, int h);
  void LPtoDP(TPoint* points, int count) const;
  void DPtoLP(TPoint* points, int count) const;

  // Block transfers from another device context's surface.
  bool BitBlt(int x, int y, int w, int h, const Dc& src, int sx, int sy, std::uint32_t rop);
  bool StretchBlt(int x, int y, int w, int h, const Dc& src, int sx, int sy, int sw, int sh,
                  std::uint32_t rop);
  // An image drawn into a rectangle (scaled when the sizes differ).
  bool DrawImage(const TRect& dest, const QImage& image);

  // Depth of the surface in bits per pixel, and its pixels per inch.
  int BitsPerPixel() const;
  int PixelsPerInch() const;

  // The state, private to the device context's own files.
  struct Impl;

 private:
  bool Blit(int x, int y, int w, int h, const Dc& src, int sx, int sy, int sw, int sh,
            std::uint32_t rop);
  std::unique_ptr<Impl> d_;
};

// While one lives on a thread, the device contexts drawing on that thread keep one painter open
// on their surface from primitive to primitive (a chart's whole drawing pass) instead of starting
// one for every primitive, and gather runs of one-pixel lines in one pen into one drawing. A kept
// painter ends with the outermost pass, or sooner: when its device context is retargeted or
// destroyed, when another device context draws on the same image, and at EndPainting; lines
// still gathered are drawn before the device context's pixels are read or copied. Outside a pass
// every primitive finishes its painting before it returns, and its painter ends with it unless
// the device context keeps it open (Dc::KeepPainterOpen).
class PaintPass {
 public:
  PaintPass();
  ~PaintPass();
  PaintPass(const PaintPass&) = delete;
  PaintPass& operator=(const PaintPass&) = delete;
};

// Ends the painter a device context keeps open on image, if there is one. Whoever owns an image
// calls it before replacing, resizing, reformatting, copying or destroying it.
void EndPainting(const QImage* image);

// Text antialiasing for fonts of ANTIALIASED_QUALITY (on by default); tests turn it off so that
// text pixels are the same everywhere. Other qualities are never antialiased.
void SetTextAntialiasing(bool allowed);

// a * b / c with a 64-bit intermediate, rounded half away from zero; -1 when c is 0 or the
// result does not fit.
int MulDiv(int a, int b, int c);

}  // namespace platform::gdi

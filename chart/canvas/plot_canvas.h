// The canvas every chart drawing goes through: TPlotCanvas (flat operations, pen, brush and
// font assignment, clipping) and TCanvas3D (depth, solids and the projection). The one concrete
// canvas is TPlotCanvas3D (canvas3d.h), which draws through the platform canvas's device context.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "chart/canvas/geometry.h"
#include "platform/gdi/dc.h"

namespace platform {
class TCanvas;
class TPen;
class TBrush;
class TFont;
class TGraphic;
class TBitmap;
}  // namespace platform

namespace chart {

class TChartPen;
class TChartBrush;
class TPlotFont;
class TPlotBlend;
class TView3DOptions;
class TCustomPlotGradient;

enum TCanvasBackMode { cbmNone = 0, cbmTransparent = 1, cbmOpaque = 2 };
enum TPlotCanvasSurfaceStyle { tcsSolid, tcsWire, tcsDot };
enum TGradientDirection {
  gdTopBottom,
  gdBottomTop,
  gdLeftRight,
  gdRightLeft,
  gdFromCenter,
  gdFromTopLeft,
  gdFromBottomLeft,
  gdRadial,
  gdDiagonalUp,
  gdDiagonalDown
};
// Percent 0..100.
using TPlotTransparency = int;
using TPlotCanvasCalcPoints =
    std::function<bool(int x, int z, TPoint3D& p0, TPoint3D& p1, TColor& c0, TColor& c1)>;

// Text alignment flags: the device context's.
using platform::gdi::TA_BASELINE;
using platform::gdi::TA_BOTTOM;
using platform::gdi::TA_CENTER;
using platform::gdi::TA_LEFT;
using platform::gdi::TA_RIGHT;
using platform::gdi::TA_TOP;

class TPlotCanvas;
// Draws HTML-formatted text; set by the text renderer when it starts. Unset: plain text.
using THtmlTextOut = void (*)(TPlotCanvas& canvas, int x, int y, const std::string& text);
extern THtmlTextOut PlotHtmlTextOut;

class TPlotCanvas {
 public:
  TPlotCanvas();
  virtual ~TPlotCanvas();
  TPlotCanvas(const TPlotCanvas&) = delete;
  TPlotCanvas& operator=(const TPlotCanvas&) = delete;

  // 0-13: state of the device context.
  virtual TColor GetBackColor() = 0;
  virtual TCanvasBackMode GetBackMode() = 0;
  virtual platform::gdi::Dc* GetHandle() = 0;
  virtual bool GetMonochrome() = 0;
  virtual TColor GetPixel(int x, int y) = 0;
  virtual bool GetSupportsFullRotation() = 0;
  virtual unsigned GetTextAlign() = 0;
  virtual bool GetUseBuffer() = 0;
  virtual void SetBackColor(TColor color) = 0;
  virtual void SetBackMode(TCanvasBackMode mode) = 0;
  virtual void SetMonochrome(bool value) = 0;
  virtual void SetPixel(int x, int y, TColor color) = 0;
  virtual void SetTextAlign(unsigned align) = 0;
  virtual void SetUseBuffer(bool value) = 0;

  // 14-16
  virtual void AssignVisiblePenColor(platform::TPen* pen, TColor color);
  // The blend keeps its own transparency and the surface it was taken from.
  virtual std::unique_ptr<TPlotBlend> BeginBlending(const TRect& r, TPlotTransparency transparency);
  virtual void EndBlending(std::unique_ptr<TPlotBlend> blend);

  // 17-31: flat drawing.
  virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  // Angles in radians.
  virtual void Donut(int xCenter, int yCenter, int xRadius, int yRadius, double startAngle,
                     double endAngle, double holePercent) = 0;
  virtual void Draw(int x, int y, const platform::TGraphic* graphic) = 0;
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  virtual void FillRect(const TRect& r) = 0;
  virtual void Frame3D(TRect& r, TColor topColor, TColor bottomColor, int width);
  virtual void LineTo(int x, int y) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void Rectangle(int x0, int y0, int x1, int y1) = 0;
  virtual void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) = 0;
  virtual void StretchDraw(const TRect& r, const platform::TGraphic* graphic) = 0;
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  virtual int TextWidth(const std::string& text);
  virtual int TextHeight(const std::string& text);

  // 32-45: clipping and the rest of the flat operations.
  virtual void ClipRectangle(const TRect& r) = 0;
  virtual void ClipRectangle(const TRect& r, int roundSize);
  virtual void ClipEllipse(const TRect& r, bool inverted = false);
  // The caller's points are never changed.
  virtual void ClipPolygon(std::span<const TPoint> points);
  virtual void DoHorizLine(int x0, int x1, int y) = 0;
  virtual void DoVertLine(int x, int y0, int y1) = 0;
  virtual void EraseBackground(const TRect& r) = 0;
  virtual void GradientFill(const TRect& r, TColor startColor, TColor endColor,
                            TGradientDirection direction, int balance = 50) = 0;
  virtual void Invalidate() = 0;
  virtual void Line(int x0, int y0, int x1, int y1) = 0;
  virtual void Polyline(std::span<const TPoint> points) = 0;
  virtual void Polygon(std::span<const TPoint> points) = 0;
  virtual void RotateLabel(int x, int y, const std::string& text, double angle) = 0;
  virtual void UnClipRectangle() = 0;

  // Concrete operations.
  void SetCanvas(platform::TCanvas* canvas);
  void ResetState();
  void AssignVisiblePen(platform::TPen* pen);
  void AssignBrush(TChartBrush* brush, TColor backColor);
  void AssignBrushColor(TChartBrush* brush, TColor color, TColor backColor);
  void InternalDark(TColor color, int amount);
  void AssignFont(TPlotFont* font);
  int GetFontHeight();
  void Rectangle(const TRect& r);
  void DoRectangle(const TRect& r);
  void Ellipse(const TRect& r);
  void RoundRect(const TRect& r, int x3, int y3);
  void Line(const TPoint& p0, const TPoint& p1);
  void TextOut(int x, int y, const std::string& text, bool html);
  static bool ConvexHull(TPointArray& points);

  platform::TCanvas* PlatformCanvas = nullptr;
  platform::TFont* Font = nullptr;
  platform::TPen* Pen = nullptr;
  platform::TBrush* Brush = nullptr;
  bool Metafiling = false;
  TPlotTransparency Transparency = 0;
  TRect Bounds;
  // The chart font last assigned; null once that font is freed.
  TPlotFont* CurrentFont() const { return currentFont_; }
  double FontZoom = 100;

 protected:
  // The clip protocol. Each clip saves the clip in force before it (the device context's own
  // included) on this canvas's stack and intersects the new region (device units) with it;
  // UnClipCanvas restores the clip saved by the matching clip, or none when nothing is saved.
  void SetClipRegion(const platform::gdi::Region& region);
  void UnClipCanvas();
  // A new drawing starts: clips left open by an earlier one are forgotten.
  void ForgetSavedClips() { savedClips_.clear(); }

 private:
  friend class TPlotFont;
  // Keeps the font's list of the canvases it is current on in step.
  void SetCurrentFont(TPlotFont* font);

  TPlotFont* currentFont_ = nullptr;
  std::vector<std::optional<platform::gdi::Region>> savedClips_;
  // A brush image that is not a bitmap, converted for the brush (which does not own it).
  std::unique_ptr<platform::TBitmap> brushImage_;
};

// Clip routines of the canvas unit: an ellipse (not inverted), a rounded rectangle, a polygon.
void ClipEllipse(TPlotCanvas& canvas, const TRect& r);
void ClipRoundRectangle(TPlotCanvas& canvas, const TRect& r, int size);
void ClipPolygon(TPlotCanvas& canvas, std::span<const TPoint> points);

class TCanvas3D : public TPlotCanvas {
 public:
  // 46-51
  virtual TColor GetPixel3D(int x, int y, int z) = 0;
  virtual bool GetSupports3DText() = 0;
  virtual void SetPixel3D(int x, int y, int z, TColor color) = 0;
  virtual void Calculate2DPosition(int& x, int& y, int z) = 0;
  virtual TPoint Calculate3DPosition(int x, int y, int z) = 0;
  virtual TRect InitWindow(platform::TCanvas* canvas, TView3DOptions* options, TColor backColor,
                           bool is3D, const TRect& r) = 0;
  // 52-55
  virtual void Assign(TCanvas3D& other);
  virtual void Projection(int maxDepth, const TRect& bounds, const TRect& rect) = 0;
  virtual void ShowImage(platform::TCanvas* destination, platform::TCanvas* defaultCanvas,
                         const TRect& r) = 0;
  virtual bool ReDrawBitmap() = 0;
  // 56-88: depth and solids.
  virtual void Arrow(bool filled, const TPoint& from, const TPoint& to, int headWidth,
                     int headHeight, int z, double arrowPercent) = 0;
  virtual void ClipCube(const TRect& r, int minZ, int maxZ) = 0;
  virtual void Cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                    bool darkSides, int conePercent) = 0;
  virtual void Cube(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) = 0;
  virtual void Cylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                        bool darkSides) = 0;
  virtual void DisableRotation() {}
  virtual void EllipseWithZ(int x1, int y1, int x2, int y2, int z) = 0;
  virtual void EnableRotation() {}
  virtual void HorizLine3D(int left, int right, int y, int z) = 0;
  virtual void VertLine3D(int x, int top, int bottom, int z) = 0;
  virtual void ZLine3D(int x, int y, int z0, int z1) = 0;
  virtual void FrontPlaneBegin();
  virtual void FrontPlaneEnd();
  virtual void LineWithZ(int x0, int y0, int x1, int y1, int z) = 0;
  virtual void MoveTo3D(int x, int y, int z) = 0;
  virtual void LineTo3D(int x, int y, int z) = 0;
  // Angles in radians; gradient may be null.
  virtual void Pie3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1,
                     double startAngle, double endAngle, bool darkSides, bool drawSides,
                     int donutPercent, TCustomPlotGradient* gradient) = 0;
  virtual void Plane3D(const TPoint& a, const TPoint& b, int z0, int z1) = 0;
  virtual void PlaneWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3, const TPoint& p4,
                          int z) = 0;
  virtual void PlaneFour3D(TFourPoints& points, int z0, int z1) = 0;
  virtual void PolygonWithZ(std::span<const TPoint> points, int z) = 0;
  virtual void Polyline(std::span<const TPoint> points, int z) = 0;
  virtual void Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                       bool darkSides) = 0;
  virtual void PyramidTrunc(const TRect& r, int startZ, int endZ, int truncX, int truncZ) = 0;
  virtual void RectangleWithZ(const TRect& r, int z) = 0;
  virtual void RectangleY(int left, int y, int right, int z0, int z1) = 0;
  virtual void RectangleZ(int x, int top, int bottom, int z0, int z1) = 0;
  virtual void RotateLabel3D(int x, int y, int z, const std::string& text, double angle) = 0;
  virtual void Sphere(int x, int y, int z, double radius) = 0;
  virtual void Surface3D(TPlotCanvasSurfaceStyle style, bool sameBrush, int numXValues,
                         int numZValues, const TPlotCanvasCalcPoints& calcPoints) = 0;
  virtual void TextOut3D(int x, int y, int z, const std::string& text) = 0;
  virtual void Triangle3D(const TPoint3D& p0, const TPoint3D& p1, const TPoint3D& p2, TColor c0,
                          TColor c1, TColor c2) = 0;
  virtual void TriangleWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3, int z) = 0;

  using TPlotCanvas::Polyline;

  // Concrete operations.
  void Arrow(bool filled, const TPoint& from, const TPoint& to, int headWidth, int headHeight,
             int z);
  TPoint Calculate3DPosition(const TPoint3D& p);
  TPoint Calculate3DPosition(const TPoint& p, int z);
  TRect CalcRect3D(const TRect& r, int z);
  TFourPoints FourPointsFromRect(const TRect& r, int z);
  TRect RectFromRectZ(const TRect& r, int z);
  void Cube(const TRect& r, int z0, int z1, bool darkSides);
  void LineWithZ(const TPoint& p0, const TPoint& p1, int z);
  void MoveTo3D(const TPoint3D& p);
  void LineTo3D(const TPoint3D& p);
  void PlaneWithZ(const TFourPoints& p, int z);
  void Rectangle(const TRect& r, int z);
  void Rectangle(int left, int top, int right, int bottom, int z);
  using TPlotCanvas::Rectangle;
  void RotatedEllipse(int left, int top, int right, int bottom, int z, double angle);
  // A cylinder along the depth from z0 to z1, its ends the ellipse inscribed in the rectangle:
  // the sides that face the viewer, then the end nearer them.
  void DepthCylinder(int left, int top, int right, int bottom, int z0, int z1, bool darkSides);
  // The graphic on the plane at depth z, one projected cell per source pixel. The caller's
  // graphic is left as it was.
  void StretchDraw(const TRect& r, const platform::TGraphic* graphic, int z);
  using TPlotCanvas::StretchDraw;
  // Degrees; an end of exactly 0 becomes 360.
  static void CalcPieAngles(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4,
                            double& startAngle, double& endAngle);

  TView3DOptions* View3DOptions = nullptr;
  int RotationLocks = 0;
  bool OrthogonalView = false;
  int CentreX = 0;
  int CentreY = 0;
  int CentreZ = 0;
  struct {
    double X = 0, Y = 0, Z = 0;
  } RotationShift;
};

}  // namespace chart

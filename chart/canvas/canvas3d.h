// The one concrete chart canvas: draws through the platform canvas's device context, into an
// off-screen buffer bitmap by default, and projects 3D points (oblique, rotated, perspective).
// Its operations are spread over canvas3d_*.cpp: window and projection, flat primitives and
// clipping, solids, text and gradient fill.
#pragma once

#include <memory>

#include "chart/canvas/plot_canvas.h"

namespace platform {
class TBitmap;
}

namespace chart {

class TPlotCanvas3D : public TCanvas3D {
 public:
  TPlotCanvas3D();
  ~TPlotCanvas3D() override;

  // State (window and projection).
  TColor GetBackColor() override;
  TCanvasBackMode GetBackMode() override;
  platform::gdi::Dc* GetHandle() override;
  bool GetMonochrome() override;
  TColor GetPixel(int x, int y) override;
  bool GetSupportsFullRotation() override;
  unsigned GetTextAlign() override;
  bool GetUseBuffer() override;
  void SetBackColor(TColor color) override;
  void SetBackMode(TCanvasBackMode mode) override;
  void SetMonochrome(bool value) override;
  void SetPixel(int x, int y, TColor color) override;
  void SetTextAlign(unsigned align) override;
  void SetUseBuffer(bool value) override;
  void Invalidate() override;
  TColor GetPixel3D(int x, int y, int z) override;
  bool GetSupports3DText() override;
  void SetPixel3D(int x, int y, int z, TColor color) override;
  void Calculate2DPosition(int& x, int& y, int z) override;
  TPoint Calculate3DPosition(int x, int y, int z) override;
  using TCanvas3D::Calculate3DPosition;
  TRect InitWindow(platform::TCanvas* canvas, TView3DOptions* options, TColor backColor, bool is3D,
                   const TRect& r) override;
  void Projection(int maxDepth, const TRect& bounds, const TRect& rect) override;
  void ShowImage(platform::TCanvas* destination, platform::TCanvas* defaultCanvas,
                 const TRect& r) override;
  bool ReDrawBitmap() override;
  void DisableRotation() override;
  void EnableRotation() override;
  void DeleteBitmap();
  void TransferBitmap(int x, int y, platform::TCanvas* destination);

  // Flat primitives and clipping.
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Donut(int xCenter, int yCenter, int xRadius, int yRadius, double startAngle, double endAngle,
             double holePercent) override;
  void Draw(int x, int y, const platform::TGraphic* graphic) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  using TPlotCanvas::Ellipse;
  void FillRect(const TRect& r) override;
  void LineTo(int x, int y) override;
  void MoveTo(int x, int y) override;
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Rectangle(int x0, int y0, int x1, int y1) override;
  using TCanvas3D::Rectangle;
  void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) override;
  using TPlotCanvas::RoundRect;
  void StretchDraw(const TRect& r, const platform::TGraphic* graphic) override;
  using TCanvas3D::StretchDraw;
  void ClipRectangle(const TRect& r) override;
  using TPlotCanvas::ClipRectangle;
  void DoHorizLine(int x0, int x1, int y) override;
  void DoVertLine(int x, int y0, int y1) override;
  void EraseBackground(const TRect& r) override;
  void Line(int x0, int y0, int x1, int y1) override;
  using TPlotCanvas::Line;
  void Polyline(std::span<const TPoint> points) override;
  void Polygon(std::span<const TPoint> points) override;
  void UnClipRectangle() override;
  void PolygonFour();
  void ClipCube(const TRect& r, int minZ, int maxZ) override;
  void EllipseWithZ(int x1, int y1, int x2, int y2, int z) override;
  void HorizLine3D(int left, int right, int y, int z) override;
  void VertLine3D(int x, int top, int bottom, int z) override;
  void ZLine3D(int x, int y, int z0, int z1) override;
  void LineWithZ(int x0, int y0, int x1, int y1, int z) override;
  using TCanvas3D::LineWithZ;
  void MoveTo3D(int x, int y, int z) override;
  using TCanvas3D::MoveTo3D;
  void LineTo3D(int x, int y, int z) override;
  using TCanvas3D::LineTo3D;
  void Plane3D(const TPoint& a, const TPoint& b, int z0, int z1) override;
  void PlaneWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3, const TPoint& p4,
                  int z) override;
  using TCanvas3D::PlaneWithZ;
  void PlaneFour3D(TFourPoints& points, int z0, int z1) override;
  void PolygonWithZ(std::span<const TPoint> points, int z) override;
  void Polyline(std::span<const TPoint> points, int z) override;
  void RectangleWithZ(const TRect& r, int z) override;
  void RectangleY(int left, int y, int right, int z0, int z1) override;
  void RectangleZ(int x, int top, int bottom, int z0, int z1) override;
  void Surface3D(TPlotCanvasSurfaceStyle style, bool sameBrush, int numXValues, int numZValues,
                 const TPlotCanvasCalcPoints& calcPoints) override;
  void Triangle3D(const TPoint3D& p0, const TPoint3D& p1, const TPoint3D& p2, TColor c0, TColor c1,
                  TColor c2) override;
  void TriangleWithZ(const TPoint& p1, const TPoint& p2, const TPoint& p3, int z) override;

  // Solids.
  void Arrow(bool filled, const TPoint& from, const TPoint& to, int headWidth, int headHeight,
             int z, double arrowPercent) override;
  using TCanvas3D::Arrow;
  void Cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides,
            int conePercent) override;
  void Cube(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) override;
  using TCanvas3D::Cube;
  void Cylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                bool darkSides) override;
  void Pie3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1, double startAngle,
             double endAngle, bool darkSides, bool drawSides, int donutPercent,
             TCustomPlotGradient* gradient) override;
  void Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
               bool darkSides) override;
  void PyramidTrunc(const TRect& r, int startZ, int endZ, int truncX, int truncZ) override;
  void Sphere(int x, int y, int z, double radius) override;

  // Text and gradient fill.
  void TextOut(int x, int y, const std::string& text) override;
  using TPlotCanvas::TextOut;
  void TextOut3D(int x, int y, int z, const std::string& text) override;
  void RotateLabel(int x, int y, const std::string& text, double angle) override;
  void RotateLabel3D(int x, int y, int z, const std::string& text, double angle) override;
  void GradientFill(const TRect& r, TColor startColor, TColor endColor,
                    TGradientDirection direction, int balance = 50) override;
  // The rectangle a text at (x, y) covers under the current alignment.
  TRect TextRect(int x, int y, const std::string& text);

  // The forward projection, in place and on copies.
  void Calc3DPos(int& x, int& y, int z) const;
  void Calc3DPoint(TPoint& p, int x, int y, int z) const;
  void Calc3DPoint(TPoint& p, double x, double y, int z) const;
  void Calc3DTPoint(TPoint& p, int z) const;
  TPoint Calc3DTPoint3D(const TPoint3D& p) const;
  void CalcPerspective(const TRect& r);
  void CalcTrigValues();

  int OffsetX = 0;
  int OffsetY = 0;
  long double ElevationSin = 0, RotationSin = 0, TiltSin = 0;
  long double ElevationCos = 1, RotationCos = 1, TiltCos = 1;
  double TrigC2S3 = 0, TrigC2C3 = 0, TrigXX = 0, TrigYX = 0, TrigXZ = 0, TrigYZ = 0;
  bool WasView3D = false;
  std::unique_ptr<platform::TBitmap> BufferBitmap;
  bool BufferStale = true;
  bool Monochrome = false;
  unsigned TextAlign = 0;
  bool PerspectiveOn = false;
  bool TiltOn = false;
  double ObliqueX = 1, ObliqueY = 1;
  double PerspectiveFactor = 0;
  double ZoomScale = 1;
  bool ZoomFonts = true;
  bool UseBuffer = true;
  bool View3D = false;
  bool KeepBuffer = false;
  TFourPoints QuadPoints{};
};

// Faces of cylinders and cones; darkening amounts of 3D sides.
extern int PlotNumCylinderSides;
extern int PlotDefaultConePercent;
extern int DarkColorQuantity;
extern int DarkerColorQuantity;
// Quality of rotated fonts.
extern int PlotFontAntiAlias;

}  // namespace chart

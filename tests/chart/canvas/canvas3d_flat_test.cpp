// The 3D canvas's buffer, flat primitives and clipping.
#include <climits>
#include <cmath>
#include <limits>
#include <numbers>

#include "canvas_fixture.h"
#include "chart/canvas/canvas_unit.h"

namespace {

namespace gdi = platform::gdi;
using platform::TColor;
using platform::TPoint;
using platform::TRect;

using FlatTest = canvastest::CanvasTest;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TRect ClipBox(chart::TPlotCanvas3D& canvas) {
  gdi::Region clip;
  if (canvas.GetHandle()->GetClipRgn(clip) != 1) return TRect{-1, -1, -1, -1};
  return clip.BoundingBox();
}

bool Clipped(chart::TPlotCanvas3D& canvas) {
  gdi::Region clip;
  return canvas.GetHandle()->GetClipRgn(clip) == 1;
}

TEST_F(FlatTest, BufferIsRedrawnOnlyAfterAFinishedDrawing) {
  EXPECT_FALSE(canvas.ReDrawBitmap());
  EXPECT_EQ(Start(false, TRect{20, 30, 120, 90}), (TRect{0, 0, 100, 60}));
  ASSERT_TRUE(canvas.BufferBitmap);
  EXPECT_EQ(canvas.BufferBitmap->GetWidth(), 100);
  EXPECT_FALSE(canvas.ReDrawBitmap());
  canvas.Brush->SetColor(platform::clRed);
  canvas.FillRect(TRect{0, 0, 10, 10});
  platform::TBitmap window;
  window.SetSize(200, 150);
  canvas.ShowImage(window.Canvas, window.Canvas, TRect{20, 30, 120, 90});
  EXPECT_EQ(window.Canvas->GetHandle()->GetPixel(25, 35), platform::clRed);
  EXPECT_EQ(window.Canvas->GetHandle()->GetPixel(35, 45), platform::clWhite);
  EXPECT_EQ(canvas.PlatformCanvas, window.Canvas);

  window.Canvas->GetHandle()->SetPixel(25, 35, platform::clBlue);
  EXPECT_TRUE(canvas.ReDrawBitmap());
  EXPECT_EQ(window.Canvas->GetHandle()->GetPixel(5, 5), platform::clRed);
  EXPECT_TRUE(canvas.ReDrawBitmap());
  canvas.Invalidate();
  EXPECT_FALSE(canvas.ReDrawBitmap());
}

TEST_F(FlatTest, UnbufferedExportKeepsTheBufferOnlyWhenAsked) {
  Start(false);
  platform::TBitmap window;
  window.SetSize(300, 200);
  canvas.ShowImage(window.Canvas, window.Canvas, TRect{0, 0, 300, 200});
  ASSERT_TRUE(canvas.ReDrawBitmap());

  canvas.KeepBuffer = true;
  canvas.SetUseBuffer(false);
  EXPECT_TRUE(canvas.BufferBitmap);
  EXPECT_TRUE(canvas.ReDrawBitmap());
  canvas.SetUseBuffer(true);
  canvas.KeepBuffer = false;

  // Dropped while the canvas draws on it: the canvas is left on nothing, not on freed memory.
  Start(false);
  canvas.SetUseBuffer(false);
  EXPECT_FALSE(canvas.BufferBitmap);
  EXPECT_TRUE(canvas.BufferStale);
  EXPECT_FALSE(canvas.ReDrawBitmap());
  EXPECT_EQ(canvas.PlatformCanvas, nullptr);
  canvas.Rectangle(0, 0, 10, 10);
  canvas.ClipRectangle(TRect{0, 0, 5, 5});
  canvas.UnClipRectangle();
  EXPECT_EQ(canvas.TextWidth("x"), 0);

  // Unbuffered drawings go straight to the given canvas.
  EXPECT_EQ(canvas.InitWindow(window.Canvas, &options, 0, false, TRect{5, 5, 50, 50}),
            (TRect{5, 5, 50, 50}));
  EXPECT_EQ(canvas.PlatformCanvas, window.Canvas);
}

TEST_F(FlatTest, PolygonCountIsHighestIndexPlusOne) {
  Start(false);
  const TPoint triangle[3] = {{10, 10}, {40, 10}, {10, 40}};
  canvas.Polygon(triangle);
  const auto polys = Ops("Polygon");
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].Args, (std::vector<int>{10, 10, 40, 10, 10, 40}));
}

TEST_F(FlatTest, WidePenPixelIsADotInThePenColour) {
  Start(false);
  canvas.Pen->SetColor(platform::clBlue);
  canvas.Pen->SetWidth(3);
  canvas.SetPixel3D(50, 50, 0, platform::clRed);
  EXPECT_TRUE(Ops("SetPixel").empty());
  ASSERT_EQ(Ops("LineTo").size(), 1u);
  EXPECT_EQ(Ops("LineTo")[0].Args, (std::vector<int>{50, 50}));
  EXPECT_EQ(Ops("LineTo")[0].Pen.Width, 3);
  EXPECT_EQ(Ops("MoveToEx").back().Args, (std::vector<int>{50, 50}));
  int blue = 0;
  for (int x = 45; x <= 55; ++x) blue += Pixel(x, 50) == platform::clBlue;
  EXPECT_EQ(blue, 3);
  EXPECT_EQ(Pixel(50, 50), platform::clBlue);

  canvas.Pen->SetWidth(1);
  canvas.SetPixel3D(80, 50, 0, platform::clRed);
  ASSERT_EQ(Ops("SetPixel").size(), 1u);
  EXPECT_EQ(Pixel(80, 50), platform::clRed);
  EXPECT_EQ(Pixel(81, 50), platform::clWhite);
}

TEST_F(FlatTest, ClipCube) {
  Start(false);
  canvas.ClipCube(TRect{10, 10, 100, 100}, 0, 50);
  EXPECT_EQ(ClipBox(canvas), (TRect{11, 11, 100, 99}));
  canvas.UnClipRectangle();
  EXPECT_FALSE(Clipped(canvas));

  Start(true);
  canvas.Projection(50, TRect{}, TRect{0, 0, 200, 150});
  canvas.ClipCube(TRect{40, 80, 120, 140}, 0, 50);
  // The outline of the projected box: the front face and the back face 50 up and right.
  const TRect box = ClipBox(canvas);
  EXPECT_EQ(box.Left, 40);
  EXPECT_EQ(box.Top, 80 - 50);
  EXPECT_NEAR(box.Right, 120 + 50, 1);
  EXPECT_NEAR(box.Bottom, 140, 1);
  gdi::Region clip;
  canvas.GetHandle()->GetClipRgn(clip);
  EXPECT_TRUE(clip.Contains(80, 110));    // inside the front face
  EXPECT_TRUE(clip.Contains(150, 50));    // inside the back face
  EXPECT_FALSE(clip.Contains(45, 35));    // above the front face, left of the back face
  EXPECT_FALSE(clip.Contains(160, 135));  // right of the front face, below the back face
  canvas.UnClipRectangle();
}

TEST_F(FlatTest, DonutWithoutHoleIsAPie) {
  Start(false);
  const double half = std::numbers::pi / 2;
  canvas.Donut(100, 100, 40, 20, 0, half, 0);
  auto arcs = Ops("ArcTo");
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ(arcs[0].Args, (std::vector<int>{60, 80, 140, 120, 140, 100, 100, 80}));
  auto lines = Ops("LineTo");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Args, (std::vector<int>{100, 100}));
  EXPECT_EQ(lines[1].Args, (std::vector<int>{140, 100}));

  calls.clear();
  canvas.Donut(100, 100, 40, 20, 0, half, 50);
  arcs = Ops("ArcTo");
  ASSERT_EQ(arcs.size(), 2u);
  EXPECT_EQ(arcs[1].Args, (std::vector<int>{80, 90, 120, 110, 100, 90, 120, 100}));
  EXPECT_EQ(Ops("LineTo")[0].Args, (std::vector<int>{100, 90}));
  EXPECT_EQ(canvas.GetHandle()->GetArcDirection(), gdi::AD_COUNTERCLOCKWISE);
}

TEST_F(FlatTest, DonutFillsItsRingSector) {
  Start(false);
  canvas.Brush->SetColor(platform::clRed);
  canvas.Donut(150, 120, 140, 100, 0.3, 2.5, 40);
  // In the ring at 30, 90 and 140 degrees; the hole; below the sector.
  EXPECT_EQ(Pixel(235, 86), platform::clRed);
  EXPECT_EQ(Pixel(150, 40), platform::clRed);
  EXPECT_EQ(Pixel(96, 88), platform::clRed);
  EXPECT_EQ(Pixel(150, 100), platform::clWhite);
  EXPECT_EQ(Pixel(150, 180), platform::clWhite);
}

TEST_F(FlatTest, EllipseWithZCoversBothEdgesIn2D) {
  Start(false);
  canvas.Brush->SetColor(platform::clRed);
  canvas.Pen->SetColor(platform::clRed);
  canvas.EllipseWithZ(10, 10, 20, 30, 0);
  ASSERT_EQ(Ops("Ellipse").size(), 1u);
  EXPECT_EQ(Ops("Ellipse")[0].Args, (std::vector<int>{10, 10, 21, 31}));
  EXPECT_EQ(Pixel(10, 20), platform::clRed);
  EXPECT_EQ(Pixel(20, 20), platform::clRed);
  EXPECT_EQ(Pixel(21, 20), platform::clWhite);
  EXPECT_EQ(Pixel(15, 30), platform::clRed);
  EXPECT_EQ(Pixel(15, 31), platform::clWhite);

  // The oblique view excludes the right and bottom edges.
  Start(true);
  canvas.Projection(0, TRect{}, TRect{0, 0, 300, 200});
  canvas.EllipseWithZ(10, 10, 20, 30, 0);
  EXPECT_EQ(Ops("Ellipse")[0].Args, (std::vector<int>{10, 10, 20, 30}));

  // The rotated view: an outline of 64 points and 63 fan triangles without a pen.
  options.SetOrthogonal(false);
  Start(true);
  canvas.Projection(0, TRect{}, TRect{0, 0, 300, 200});
  canvas.EllipseWithZ(100, 50, 200, 150, 0);
  EXPECT_EQ(Ops("Polygon").size(), 63u);
  EXPECT_EQ(Ops("Polygon")[0].Pen.Style & gdi::PS_STYLE_MASK, gdi::PS_NULL);
  ASSERT_EQ(Ops("Polyline").size(), 1u);
  EXPECT_EQ(Ops("Polyline")[0].Args.size(), 128u);
  EXPECT_EQ(canvas.Pen->GetStyle(), platform::psSolid);
}

TEST_F(FlatTest, RotatedEllipseTurnsAboutItsCentre) {
  Start(false);
  canvas.RotatedEllipse(0, 0, 100, 50, 0, 90);
  EXPECT_EQ(Ops("Polygon").size(), 63u);
  const auto outline = Ops("Polyline");
  ASSERT_EQ(outline.size(), 1u);
  const std::vector<int>& a = outline[0].Args;
  ASSERT_EQ(a.size(), 128u);
  // Starts at the bottom of the unturned ellipse, turned a quarter: right of the centre.
  EXPECT_EQ(a[0], 75);
  EXPECT_EQ(a[1], 25);
  EXPECT_EQ(a[126], a[0]);
  EXPECT_EQ(a[127], a[1]);
  int minX = INT_MAX, maxX = INT_MIN, minY = INT_MAX, maxY = INT_MIN;
  for (std::size_t i = 0; i < a.size(); i += 2) {
    minX = std::min(minX, a[i]);
    maxX = std::max(maxX, a[i]);
    minY = std::min(minY, a[i + 1]);
    maxY = std::max(maxY, a[i + 1]);
  }
  EXPECT_EQ(minX, 25);
  EXPECT_EQ(maxX, 75);
  EXPECT_NEAR(minY, -25, 1);
  EXPECT_NEAR(maxY, 75, 1);
}

TEST_F(FlatTest, UnclipWithoutAClipLeavesTheContextUnclipped) {
  Start(false);
  canvas.UnClipRectangle();
  EXPECT_FALSE(Clipped(canvas));
  canvas.UnClipRectangle();
  EXPECT_FALSE(Clipped(canvas));
}

TEST_F(FlatTest, NestedClipsRestoreTheEnclosingClip) {
  Start(false);
  const gdi::Region outer = gdi::Region::Rect(0, 0, 150, 150);
  canvas.GetHandle()->SelectClipRgn(&outer);
  canvas.ClipRectangle(TRect{10, 10, 100, 100});
  EXPECT_EQ(ClipBox(canvas), (TRect{10, 10, 100, 100}));
  canvas.ClipRectangle(TRect{50, 50, 200, 200});
  EXPECT_EQ(ClipBox(canvas), (TRect{50, 50, 100, 100}));
  canvas.ClipEllipse(TRect{60, 60, 90, 90});
  EXPECT_EQ(ClipBox(canvas), (TRect{60, 60, 90, 90}));
  canvas.UnClipRectangle();
  EXPECT_EQ(ClipBox(canvas), (TRect{50, 50, 100, 100}));
  canvas.UnClipRectangle();
  EXPECT_EQ(ClipBox(canvas), (TRect{10, 10, 100, 100}));
  canvas.UnClipRectangle();
  EXPECT_EQ(ClipBox(canvas), (TRect{0, 0, 150, 150}));
  canvas.UnClipRectangle();
  EXPECT_FALSE(Clipped(canvas));
}

TEST_F(FlatTest, InvertedEllipseCutsTheEllipseOutOfTheClip) {
  Start(false);
  // No clip yet: everything but the ellipse.
  canvas.ClipEllipse(TRect{20, 20, 80, 80}, true);
  gdi::Region clip;
  ASSERT_EQ(canvas.GetHandle()->GetClipRgn(clip), 1);
  EXPECT_FALSE(clip.Contains(50, 50));
  EXPECT_TRUE(clip.Contains(5, 5));
  EXPECT_TRUE(clip.Contains(299, 199));
  canvas.UnClipRectangle();
  EXPECT_FALSE(Clipped(canvas));

  // Inside a clip: the clip minus the ellipse; the part of the ellipse outside stays out.
  canvas.ClipRectangle(TRect{0, 0, 100, 100});
  canvas.ClipEllipse(TRect{60, 60, 140, 140}, true);
  canvas.GetHandle()->GetClipRgn(clip);
  EXPECT_TRUE(clip.Contains(10, 10));
  EXPECT_FALSE(clip.Contains(95, 95));
  EXPECT_FALSE(clip.Contains(120, 100));
  canvas.UnClipRectangle();
  EXPECT_EQ(ClipBox(canvas), (TRect{0, 0, 100, 100}));
  canvas.UnClipRectangle();
}

TEST_F(FlatTest, PolygonClipIsInDeviceUnitsOfACopy) {
  Start(false);
  gdi::Dc* dc = canvas.GetHandle();
  dc->SetMapMode(gdi::MM_ANISOTROPIC);
  dc->SetWindowExtEx(100, 100);
  dc->SetViewportExtEx(200, 200);
  const std::vector<TPoint> points = {{10, 10}, {50, 10}, {50, 40}, {10, 40}};
  const std::vector<TPoint> before = points;
  canvas.ClipPolygon(points);
  EXPECT_EQ(points, before);
  const TRect box = ClipBox(canvas);
  EXPECT_EQ(box.Left, 20);
  EXPECT_EQ(box.Top, 20);
  EXPECT_NEAR(box.Right, 100, 1);
  EXPECT_NEAR(box.Bottom, 80, 1);
  canvas.UnClipRectangle();
  dc->SetMapMode(gdi::MM_TEXT);
}

TEST_F(FlatTest, StretchDrawOnAPlaneLeavesTheCallersBitmap) {
  platform::TBitmap image;
  image.SetSize(2, 2);
  const TColor colours[4] = {platform::clRed, platform::clLime, platform::clBlue,
                             platform::clYellow};
  for (int i = 0; i < 4; ++i) image.Canvas->SetPixel(i % 2, i / 2, colours[i]);
  const bool dcBrush = chart::PlotSetDCBrushColor;
  for (bool useDcBrush : {true, false}) {
    chart::PlotSetDCBrushColor = useDcBrush;
    Start(false);
    canvas.StretchDraw(TRect{10, 10, 30, 50}, &image, 0);
    const auto cells = Ops("Polygon");
    ASSERT_EQ(cells.size(), 4u) << useDcBrush;
    EXPECT_EQ(cells[0].Args, (std::vector<int>{10, 10, 20, 10, 20, 30, 10, 30}));
    EXPECT_EQ(cells[3].Args, (std::vector<int>{20, 30, 30, 30, 30, 50, 20, 50}));
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(Pixel(12 + 10 * (i % 2), 15 + 20 * (i / 2)), colours[i]) << i << useDcBrush;
    }
    EXPECT_EQ(Pixel(9, 15), platform::clWhite);
    EXPECT_EQ(image.GetPixelFormat(), platform::pfDevice);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(image.Canvas->GetPixel(i % 2, i / 2), colours[i]);
    EXPECT_EQ(canvas.Pen->GetStyle(), platform::psSolid);
    // The brush is the canvas's own again afterwards.
    calls.clear();
    canvas.Brush->SetColor(platform::clFuchsia);
    canvas.Rectangle(100, 100, 110, 110);
    EXPECT_EQ(Ops("Rectangle")[0].Brush.Color, platform::clFuchsia);
  }
  chart::PlotSetDCBrushColor = dcBrush;

  calls.clear();
  platform::TBitmap empty;
  canvas.StretchDraw(TRect{10, 10, 30, 50}, &empty, 0);
  canvas.StretchDraw(TRect{10, 10, 30, 50}, nullptr, 0);
  EXPECT_TRUE(Ops("Polygon").empty());
}

// Out-of-range input draws nothing wrong and never crashes.
TEST_F(FlatTest, BadInputIsHarmless) {
  platform::TBitmap tiny;
  tiny.SetSize(1, 1);
  for (int view = 0; view < 3; ++view) {
    const bool is3D = view > 0;
    options.SetOrthogonal(view == 1);
    Start(is3D, TRect{50, 50, 10, 10});
    EXPECT_EQ(canvas.BufferBitmap->GetWidth(), 0);
    Start(is3D);
    canvas.Projection(INT_MAX, TRect{}, TRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    canvas.Donut(100, 100, 40, 40, 1e300, kNaN, -500);
    canvas.Donut(100, 100, -40, INT_MAX, -1e18, 1e18, kNaN);
    canvas.RotatedEllipse(10, 10, 60, 40, 0, kNaN);
    canvas.RotatedEllipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX, 1e300);
    canvas.EllipseWithZ(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN);
    canvas.EllipseWithZ(50, 50, 10, 10, 0);
    canvas.Polygon({});
    canvas.Polyline({});
    canvas.PolygonWithZ({}, 5);
    canvas.Polyline(std::span<const TPoint>{}, 5);
    canvas.ClipPolygon({});
    canvas.UnClipRectangle();
    canvas.ClipCube(TRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, INT_MIN, INT_MAX);
    canvas.UnClipRectangle();
    canvas.ClipEllipse(TRect{0, 0, 0, 0}, true);
    canvas.UnClipRectangle();
    TRect zero{};
    canvas.Frame3D(zero, 0, 0, -5);
    EXPECT_EQ(zero, TRect{});
    canvas.Frame3D(zero, 0, 0, 3);
    canvas.SetPixel3D(INT_MAX, INT_MIN, INT_MAX, platform::clRed);
    canvas.StretchDraw(TRect{100, 100, 0, 0}, &tiny, 0);
    canvas.CalcRect3D(TRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, INT_MAX);
    int x = INT_MAX, y = INT_MIN;
    canvas.Calculate2DPosition(x, y, INT_MAX);
  }
  EXPECT_FALSE(Clipped(canvas));
}

}  // namespace

// The recorder sees every primitive with its arguments and state before it is drawn; a device
// context without a surface keeps its state; bad input never crashes.
#include <climits>

#include "tests/gdi/dc_fixture.h"

namespace gditest {
namespace {

TEST_F(DcTest, RecorderSeesCallsBeforeTheyAreDrawn) {
  Recorder rec;
  TColor seen = -2;
  dc.SetRecorder([&](const DcCall& c) {
    rec.calls.push_back(c);
    if (c.Op == "Rectangle") seen = Px(5, 5);
  });
  dc.SelectPen(Pen(PS_DASH, 0, clRed));
  dc.SelectBrush(Solid(clBlue));
  dc.SetBkColor(clYellow);
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(clGreen);
  dc.SetROP2(R2_XORPEN);
  dc.Rectangle(1, 2, 30, 40);
  EXPECT_EQ(seen, clWhite);
  dc.TextOut(3, 4, "abc");
  const TPoint pts[] = {{1, 1}, {5, 6}, {9, 2}};
  dc.Polygon(pts, 3);
  dc.FillRect(TRect{0, 0, 2, 2}, Solid(clTeal));
  ASSERT_EQ(rec.Ops(), (std::vector<std::string>{"Rectangle", "TextOut", "Polygon", "FillRect"}));
  const DcCall& r = rec.calls[0];
  EXPECT_EQ(r.Args, (std::vector<int>{1, 2, 30, 40}));
  EXPECT_EQ(r.Pen.Style, PS_DASH);
  EXPECT_EQ(r.Pen.Color, clRed);
  EXPECT_EQ(r.Brush.Color, clBlue);
  EXPECT_EQ(r.BkColor, clYellow);
  EXPECT_EQ(r.BkMode, TRANSPARENT);
  EXPECT_EQ(r.TextColor, clGreen);
  EXPECT_EQ(r.Rop2, R2_XORPEN);
  EXPECT_EQ(rec.Only("TextOut")[0].Text, "abc");
  EXPECT_EQ(rec.Only("Polygon")[0].Args, (std::vector<int>{1, 1, 5, 6, 9, 2}));
  EXPECT_EQ(rec.Only("FillRect")[0].Brush.Color, clTeal);
}

TEST(DcNoSurface, KeepsStateAndRecordsButDrawsNothing) {
  ASSERT_TRUE(SetUpText());
  Dc dc(nullptr);
  Recorder rec;
  rec.Attach(dc);
  dc.SelectDcBrush();
  dc.SetDCBrushColor(clRed);
  EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
  EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
  EXPECT_EQ(dc.SetBkMode(0), TRANSPARENT);  // not a mode: ignored
  EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
  dc.MoveToEx(3, 4);
  dc.LineTo(10, 12);
  EXPECT_EQ(dc.GetCurrentPosition(), (TPoint{10, 12}));
  dc.Rectangle(0, 0, 5, 5);
  dc.PatBlt(0, 0, 5, 5, PATCOPY);
  dc.TextOut(0, 0, "x");
  EXPECT_EQ(dc.GetPixel(0, 0), -1);
  EXPECT_EQ(dc.SetPixel(0, 0, clRed), -1);
  EXPECT_GT(dc.GetTextExtent("x").X, 0);
  EXPECT_EQ(rec.Only("PatBlt").at(0).Brush.Color, clRed);
  EXPECT_EQ(rec.Ops(), (std::vector<std::string>{"MoveToEx", "LineTo", "Rectangle", "PatBlt",
                                                 "TextOut", "SetPixel"}));
  Region r;
  const Region box = Region::Rect(0, 0, 4, 4);
  EXPECT_EQ(dc.ExtSelectClipRgn(&box, RGN_AND), SIMPLEREGION);
  EXPECT_EQ(dc.GetClipRgn(r), 1);
  EXPECT_EQ(r, box);
}

TEST_F(DcTest, BadInputNeverCrashes) {
  dc.SelectBrush(Solid(clRed));
  const int H = INT_MAX, L = INT_MIN;
  // Inverted and empty shapes.
  dc.Rectangle(10, 10, 10, 20);
  dc.Ellipse(5, 5, 5, 5);
  dc.RoundRect(3, 3, 3, 30, -50, L);
  dc.Arc(0, 0, 0, 0, 0, 0, 0, 0);
  dc.Pie(10, 10, 10, 0, 5, 5, 5, 5);
  EXPECT_EQ(Count(clRed), 0);
  dc.RoundRect(0, 0, 10, 10, -50, L);  // absurd corners: a plain shape
  dc.Pie(10, 10, 0, 0, 5, 5, 5, 5);    // corners the other way round
  EXPECT_GT(Count(clRed), 0);
  // Empty and absent polygons.
  EXPECT_FALSE(dc.Polygon(nullptr, 5));
  const TPoint one[] = {{1, 1}};
  EXPECT_FALSE(dc.Polygon(one, 1));
  EXPECT_FALSE(dc.Polygon(one, -3));
  EXPECT_FALSE(dc.Polyline(one, 0));
  EXPECT_TRUE(Region::Polygon(nullptr, 4, ALTERNATE).Empty());
  EXPECT_TRUE(Region::Polygon(one, 1, WINDING).Empty());
  // Huge coordinates: drawn clipped to the surface.
  dc.SelectPen(Pen(PS_NULL, 1));
  dc.Rectangle(L, L, H, H);
  EXPECT_EQ(Count(clRed), 64 * 64);
  dc.SelectPen(Pen(PS_DASHDOT, 0, clBlue));
  dc.MoveToEx(L, L);
  dc.LineTo(H, H);
  dc.Ellipse(L, L, H, H);
  dc.Pie(L, 0, H, 10, H, L, L, H);
  dc.ArcTo(-H, -H, H, H, 0, 0, 1, 1);
  const TPoint far[] = {{L, L}, {H, 0}, {0, H}, {L, H}};
  dc.Polygon(far, 4);
  dc.Polyline(far, 4);
  dc.PatBlt(H, H, H, H, PATCOPY);
  dc.PatBlt(L, L, -5, H, PATCOPY);
  dc.SetPixel(H, L, clRed);
  EXPECT_EQ(dc.GetPixel(L, H), -1);
  dc.TextOut(H, L, "far away");
  dc.FillRect(TRect{L, L, H, H}, Solid(clGreen));
  EXPECT_EQ(Px(10, 10), clGreen);
  const Region huge = Region::Ellipse(L, L, H, H);
  EXPECT_FALSE(huge.Empty());
  dc.SelectClipRgn(&huge);
  EXPECT_TRUE(Region::RoundRect(L, L, H, H, H, H).Contains(0, 0));
  dc.SelectClipRgn(nullptr);
  // Absurd pens, brushes, fonts and modes.
  LogPen wide = Pen(PS_GEOMETRIC | PS_USERSTYLE, H);
  wide.UserStyle = {0, 0, H};
  dc.SelectPen(wide);
  dc.MoveToEx(0, 0);
  dc.LineTo(30, 30);
  LogPen style = Pen(PS_USERSTYLE, 0);
  dc.SelectPen(style);  // no dashes at all
  dc.LineTo(0, 30);
  dc.SelectPen(Pen(0xFFFF, -4));
  dc.LineTo(5, 5);
  LogBrush odd;
  odd.Style = 99;
  odd.Hatch = -7;
  dc.SelectBrush(odd);
  dc.Rectangle(0, 0, 20, 20);
  odd.Style = BS_HATCHED;
  dc.SelectBrush(odd);
  dc.Rectangle(0, 0, 20, 20);
  odd.Style = BS_PATTERN;  // without an image
  dc.SelectBrush(odd);
  dc.PatBlt(0, 0, 20, 20, PATCOPY);
  LogFont f;
  f.Height = L;
  f.Weight = H;
  f.Escapement = L;
  f.FaceName.clear();
  dc.SelectFont(f);
  dc.TextOut(5, 5, std::string("\0\xff\x01", 3));
  f.Height = H;
  dc.SelectFont(f);
  dc.GetTextExtent("x");
  dc.SetTextCharacterExtra(H);
  dc.TextOut(0, 0, "");
  dc.SetROP2(999);
  EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
  dc.SetArcDirection(0);
  EXPECT_EQ(dc.GetArcDirection(), AD_COUNTERCLOCKWISE);
  // Mapping with absurd extents.
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowExtEx(1, 1);
  dc.SetViewportExtEx(H, L);
  dc.Rectangle(0, 0, 10, 10);
  dc.TextOut(1, 1, "x");
  dc.SetWindowExtEx(0, 0);  // refused
  TPoint p{H, L};
  dc.DPtoLP(&p, 1);
  dc.LPtoDP(nullptr, 3);
  // Paths out of order.
  EXPECT_FALSE(dc.EndPath());
  EXPECT_TRUE(dc.StrokePath());
  dc.BeginPath();
  EXPECT_FALSE(dc.FillPath());
  EXPECT_FALSE(dc.SelectClipPath(RGN_AND));
  dc.AbortPath();
  EXPECT_FALSE(dc.SelectClipPath(42));
  // Block transfers from nothing, with odd sizes.
  Dc none(nullptr);
  EXPECT_FALSE(dc.BitBlt(0, 0, 10, 10, none, 0, 0, SRCCOPY));
  dc.SetMapMode(MM_TEXT);
  EXPECT_TRUE(dc.BitBlt(0, 0, -10, H, dc, L, 0, SRCCOPY));
  EXPECT_TRUE(dc.StretchBlt(0, 0, 0, 10, dc, 0, 0, 10, 10, SRCCOPY));
  EXPECT_FALSE(dc.DrawImage(TRect{0, 0, 5, 5}, QImage()));
}

}  // namespace
}  // namespace gditest

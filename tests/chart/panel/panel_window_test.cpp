// What the panel asks of its window and device: colour depth and page ratio, the background
// erase, a see-through colour, arrow keys, the shadow's room and the back image's palette.
#include <QBuffer>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include "platform/vcl/form.h"
#include "tests/chart/panel/panel_fixture.h"

namespace paneltest {
namespace {

using platform::ColorToRGB;

TEST_F(PanelTest, DepthAndRatioComeFromTheDeviceDrawnOn) {
  const struct {
    platform::TPixelFormat format;
    bool high;
  } rows[] = {{platform::pf1bit, false},
              {platform::pf8bit, false},
              {platform::pf16bit, true},
              {platform::pf24bit, true},
              {platform::pfDevice, true}};
  for (const auto& row : rows) {
    TestPanel p;
    bool seen = !row.high;
    p.During = [&](TestPanel& q) { seen = q.IsScreenHighColor(); };
    p.PlotCreateBitmap(platform::clWhite, TRect{0, 0, 40, 30}, row.format);
    EXPECT_EQ(seen, row.high) << row.format;
  }
  // A bitmap reports the screen's size; a page of 240 x 720 dots at 300 x 600 dpi is
  // 20.32 x 30.48 mm.
  platform::TBitmap page;
  page.SetSize(240, 720);
  EXPECT_DOUBLE_EQ(chart::TCustomPlotPanel::ScreenRatio(page.Canvas),
                   platform::ScreenAspectRatio());
  page.Canvas->SetDeviceResolution(300, 600);
  EXPECT_NEAR(chart::TCustomPlotPanel::ScreenRatio(page.Canvas), 2.0 / 3, 1e-12);
  page.SetSize(10, 0);
  EXPECT_EQ(chart::TCustomPlotPanel::ScreenRatio(page.Canvas), 0);
  EXPECT_EQ(chart::TCustomPlotPanel::ScreenRatio(nullptr), 0);
}

TEST_F(PanelTest, TheEraseBeforeAPaintFollowsPlotEraseBack) {
  for (const bool erase : {false, true}) {
    TestPanel p;
    p.ProcessPaint();
    p.GetCanvas()->SetPixel(200, 125, platform::clRed);
    chart::PlotEraseBack = erase;
    p.PerformEraseBackground();
    chart::PlotEraseBack = false;
    EXPECT_EQ(WindowPixel(p, 200, 125), erase ? ColorToRGB(platform::clBtnFace) : platform::clRed);
    EXPECT_EQ(p.PaintPending(), erase);
    // The paint after an erase copies the drawing back without drawing again.
    p.ProcessPaint();
    EXPECT_EQ(p.DrawCount(), 1);
  }
}

TEST_F(PanelTest, APanelWithoutColourShowsItsParent) {
  const struct {
    TColor colour;
    QRgb shown;
  } rows[] = {{platform::clNone, 0xFF0000}, {platform::clBlue, 0x0000FF}};
  for (const auto& [colour, shown] : rows) {
    platform::TForm form(nullptr);
    form.SetColor(platform::clRed);
    auto* p = new TestPanel(platform::TPanelSurface::Window);
    p->SetBevelOuter(platform::bvNone);
    p->SetColor(colour);
    p->SetParent(&form);
    form.SetClientWidth(420);
    form.SetClientHeight(270);
    form.Show();
    for (int i = 0; i < 10; ++i) platform::Application->ProcessMessages();
    const QImage shot = p->Widget()->grab().toImage();
    EXPECT_EQ(shot.pixel(200, 125) & 0xFFFFFF, shown) << colour;
  }
}

TEST_F(PanelTest, ArrowKeysReachThePanelAndNotAShortcut) {
  TestPanel chartPanel(platform::TPanelSurface::Window);
  platform::TCustomPanel plain(nullptr);  // wants no arrows: they are the window's around it
  const struct {
    platform::TCustomPanel* panel;
    Qt::Key key;
    unsigned short seen;
  } rows[] = {{&chartPanel, Qt::Key_Left, platform::VK_LEFT},
              {&chartPanel, Qt::Key_Down, platform::VK_DOWN},
              {&chartPanel, Qt::Key_A, 'A'},
              {&plain, Qt::Key_Left, 0},
              {&plain, Qt::Key_A, 'A'}};
  for (const auto& row : rows) {
    unsigned short seen = 0;
    row.panel->OnKeyDown = [&](platform::TObject*, unsigned short& k, platform::TShiftState) {
      seen = k;
    };
    QKeyEvent override(QEvent::ShortcutOverride, row.key, Qt::NoModifier);
    override.ignore();
    QCoreApplication::sendEvent(row.panel->Widget(), &override);
    QKeyEvent press(QEvent::KeyPress, row.key, Qt::NoModifier);
    QCoreApplication::sendEvent(row.panel->Widget(), &press);
    EXPECT_EQ(seen, row.seen) << row.key;
    EXPECT_EQ(override.isAccepted(), row.panel == &chartPanel && row.key != Qt::Key_A);
  }
}

TEST_F(PanelTest, TheShadowTakesItsRoomOffTheRightAndBottom) {
  const TColor gray = platform::clGray, white = platform::clWhite, red = platform::clRed;
  const struct {
    int h, v;
    std::vector<Probe> probes;
  } rows[] = {
      // Panel (0, 0, 394, 244), shadow (6, 6, 400, 250); the red behind shows beside it.
      {6, 6, {{393, 243, white}, {397, 125, gray}, {2, 247, red}, {100, 247, gray}}},
      // Panel (0, 0, 406, 246): it reaches past the right edge; shadow (-6, 4, 400, 250).
      {-6, 4, {{2, 100, white}, {399, 125, white}, {100, 248, gray}, {398, 248, gray}}},
  };
  for (const auto& row : rows) {
    TestPanel p;
    p.SetBevelOuter(platform::bvNone);
    p.SetColor(red);
    chart::TPlotGradient* g = p.GetGradient();
    g->SetStartColor(white);
    g->SetEndColor(white);
    g->SetVisible(true);
    chart::TPlotShadow* s = p.GetShadow();
    s->SetColor(gray);
    s->SetSmooth(false);
    s->SetHorizSize(row.h);
    s->SetVertSize(row.v);
    p.ProcessPaint();
    for (const Probe& probe : row.probes)
      EXPECT_EQ(WindowPixel(p, probe.x, probe.y), probe.expected) << probe.x << "," << probe.y;
  }
}

TEST_F(PanelTest, ThePaletteIsTheBackImagesWhenItIsAnIndexedBitmap) {
  // A BMP file of three colours, stored indexed (8 bits per pixel) or not (32).
  QImage image(4, 2, QImage::Format_Indexed8);
  image.setColorTable({qRgb(255, 0, 0), qRgb(0, 128, 0), qRgb(0, 0, 255)});
  image.fill(1);
  for (const bool indexed : {true, false}) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    (indexed ? image : image.convertToFormat(QImage::Format_RGB32)).save(&buffer, "BMP");
    TestPanel p;
    EXPECT_TRUE(p.GetPalette().empty());
    p.GetBackImage()->Bitmap()->LoadFromData(bytes.toStdString());
    const std::vector<TColor> three{platform::clRed, platform::clGreen, platform::clBlue};
    EXPECT_EQ(p.GetPalette(), indexed ? three : std::vector<TColor>{}) << indexed;
  }
}

}  // namespace
}  // namespace paneltest

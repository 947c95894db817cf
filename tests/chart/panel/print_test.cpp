// Printing: the page arithmetic as pure functions, the panel stretched onto a printer canvas at
// its PrintResolution, and a whole print going to a PDF file when no printer is set up.
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>

#include "chart/panel/print_margins.h"
#include "platform/vcl/picture.h"
#include "platform/vcl/printer.h"
#include "tests/chart/panel/panel_fixture.h"

namespace paneltest {
namespace {

TEST(PrintMargins, ProportionalMarginsKeepThePanelShape) {
  struct Case {
    const char* what;
    int w, h, pageW, pageH, dpiX, dpiY;
    TRect margins;
  } cases[] = {
      // h < w: top = round((3508 - 0.7 x 2480 x 0.625) x 100 / 3508) div 2 = round(69.07) div 2.
      {"wide panel, portrait page", 400, 250, 2480, 3508, 300, 300, {15, 34, 15, 34}},
      // Landscape: round((2480 - 0.7 x 3508 x 0.625) x 100 / 2480) = round(38.11) = 38 -> 19.
      {"wide panel, landscape page", 400, 250, 3508, 2480, 300, 300, {15, 19, 15, 19}},
      // A square panel takes the other branch: round((2480 - 0.7 x 3508) x 100 / 2480) = 1 -> 0.
      {"square panel", 300, 300, 2480, 3508, 300, 300, {0, 15, 0, 15}},
      // Tall: left = round((2480 - 0.7 x 3508 x 0.5) x 100 / 2480) div 2 = round(50.49) div 2.
      {"tall panel", 200, 400, 2480, 3508, 300, 300, {25, 15, 25, 15}},
      // Twice as many dots down as across: the chart's height in Y dots doubles, 0.7 x 1000 x
      // 0.5 x 2 = 700 of 2000: round(65) div 2 = 32. (With the ratio the wrong way up: 45.)
      {"wide panel, unequal resolution", 400, 200, 1000, 2000, 300, 600, {15, 32, 15, 32}},
      // Tall on the same printer: width in X dots = 0.7 x 2000 x 0.5 / 2 = 350 of 1000: 65 -> 32.
      {"tall panel, unequal resolution", 200, 400, 1000, 2000, 300, 600, {32, 15, 32, 15}},
      {"panel not laid out", 0, 0, 2480, 3508, 300, 300, {15, 15, 15, 15}},
      {"negative panel", -5, 10, 2480, 3508, 300, 300, {15, 15, 15, 15}},
      {"no page", 400, 250, 0, 0, 300, 300, {15, 15, 15, 15}},
      {"no resolution", 400, 250, 2480, 3508, 0, 0, {15, 34, 15, 34}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(chart::CalcProportionalMargins(c.w, c.h, c.pageW, c.pageH, c.dpiX, c.dpiY), c.margins)
        << c.what;
  }
}

TEST(PrintMargins, PrintRectIsThePageInsideItsMargins) {
  EXPECT_EQ(chart::ChartPrintRect(TRect{15, 15, 15, 15}, 2480, 3508),
            (TRect{372, 526, 2108, 2982}));
  EXPECT_EQ(chart::ChartPrintRect(TRect{15, 34, 15, 34}, 2480, 3508),
            (TRect{372, 1193, 2108, 2315}));
  // 12.5 rounds to the even 12.
  EXPECT_EQ(chart::ChartPrintRect(TRect{25, 25, 25, 25}, 50, 50), (TRect{12, 12, 38, 38}));
  EXPECT_EQ(chart::ChartPrintRect(TRect{0, 0, 0, 0}, 0, 0), (TRect{0, 0, 0, 0}));
}

TEST(PrintMargins, MetaBoundsScaleTheRectangleToTheReducedPanel) {
  struct Case {
    TRect r;
    int resolution;
    bool ok;
    TRect mapped;
    int dw, dh, lw, lh;
  } cases[] = {
      {{0, 0, 800, 500}, 0, true, {0, 0, 400, 250}, 800, 500, 400, 250},
      {{100, 200, 900, 700}, 50, true, {25, 50, 225, 175}, 800, 500, 200, 125},
      // Corners given the wrong way round are put in order first.
      {{900, 700, 100, 200}, 50, true, {25, 50, 225, 175}, 800, 500, 200, 125},
      // Out of range: clamped to 99 (1 % of the panel) and to -100 (twice the panel).
      {{0, 0, 800, 500}, 100, true, {0, 0, 4, 2}, 800, 500, 4, 2},
      {{0, 0, 800, 500}, 250, true, {0, 0, 4, 2}, 800, 500, 4, 2},
      {{0, 0, 800, 500}, -1000, true, {0, 0, 800, 500}, 800, 500, 800, 500},
      // Nothing to print: no division by the empty size.
      {{10, 10, 10, 500}, 0, false, {10, 10, 10, 500}, 0, 490, 0, 490},
  };
  for (const Case& c : cases) {
    TRect r = c.r;
    int dw = -1, dh = -1, lw = -1, lh = -1;
    EXPECT_EQ(chart::CalcMetaBounds(r, TRect{0, 0, 400, 250}, c.resolution, dw, dh, lw, lh), c.ok);
    EXPECT_EQ(r, c.mapped) << c.resolution;
    EXPECT_EQ(dw, c.dw);
    EXPECT_EQ(dh, c.dh);
    EXPECT_EQ(lw, c.lw);
    EXPECT_EQ(lh, c.lh);
  }
  TRect r{0, 0, 100, 100};
  int dw, dh, lw, lh;
  EXPECT_FALSE(chart::CalcMetaBounds(r, TRect{0, 0, 0, 0}, 0, dw, dh, lw, lh));
}

TEST_F(PanelTest, PrintResolutionIsKeptInItsRange) {
  TestPanel p;
  p.SetPrintResolution(100);
  EXPECT_EQ(p.GetPrintResolution(), 99);
  p.SetPrintResolution(-500);
  EXPECT_EQ(p.GetPrintResolution(), -100);
  p.SetPrintResolution(50);
  EXPECT_EQ(p.GetPrintResolution(), 50);
}

// A red square at (10, 10)-(20, 20) of the panel, drawn on whatever the pass draws on.
void RedSquare(TestPanel& panel) {
  chart::TCanvas3D& c = *panel.GetCanvas3D();
  c.Brush->SetStyle(platform::bsSolid);
  c.Brush->SetColor(platform::clRed);
  c.FillRect(TRect{10, 10, 20, 20});
}

bool IsRed(platform::TBitmap& b, int x, int y) {
  return b.Canvas->GetPixel(x, y) == platform::clRed;
}

TEST_F(PanelTest, ThePanelIsStretchedOntoThePrinterRectangleAtItsResolution) {
  struct Case {
    int resolution;
    int scale;
  } cases[] = {{0, 2}, {50, 4}};
  for (const Case& c : cases) {
    TestPanel p;
    p.SetPrintResolution(c.resolution);
    p.During = RedSquare;
    platform::TBitmap page;
    page.SetSize(800, 500);
    TRect seen{};
    platform::TCanvas* seenCanvas = nullptr;
    bool printingSeen = false;
    p.OnBeforePrint = [&](platform::TObject* sender, platform::TCanvas* canvas, const TRect& r) {
      EXPECT_EQ(sender, &p);
      seenCanvas = canvas;
      seen = r;
      printingSeen = p.Printing;
    };
    p.PrintPartialCanvas(page.Canvas, TRect{0, 0, 800, 500});
    EXPECT_EQ(seenCanvas, page.Canvas);
    EXPECT_TRUE(printingSeen);
    EXPECT_FALSE(p.Printing);
    EXPECT_EQ(seen, (TRect{0, 0, 800 / c.scale, 500 / c.scale}));
    const int s = c.scale;
    EXPECT_TRUE(IsRed(page, 10 * s, 10 * s)) << c.resolution;
    EXPECT_TRUE(IsRed(page, 20 * s - 1, 20 * s - 1)) << c.resolution;
    EXPECT_FALSE(IsRed(page, 10 * s - 1, 10 * s)) << c.resolution;
    EXPECT_FALSE(IsRed(page, 20 * s, 20 * s - 1)) << c.resolution;
    // The mapping is the printer's again afterwards.
    EXPECT_EQ(page.Canvas->GetHandle()->GetMapMode(), platform::gdi::MM_TEXT);
  }
}

TEST_F(PanelTest, AnEmptyPrintRectangleDrawsNothing) {
  TestPanel p;
  p.During = RedSquare;
  platform::TBitmap page;
  page.SetSize(100, 100);
  bool called = false;
  p.OnBeforePrint = [&](platform::TObject*, platform::TCanvas*, const TRect&) { called = true; };
  p.PrintPartialCanvas(page.Canvas, TRect{50, 50, 50, 90});
  p.PrintPartialCanvas(page.Canvas, TRect{0, 0, 0, 0});
  p.PrintPartialCanvas(nullptr, TRect{0, 0, 10, 10});
  EXPECT_FALSE(called);
  EXPECT_EQ(p.InternalDraws, 0);
}

// The first page of a PDF file rendered on white paper at one pixel per point.
QImage PrintedPage(const std::string& file) {
  QPdfDocument doc(nullptr);
  if (doc.load(QString::fromStdString(file)) != QPdfDocument::Error::None || doc.pageCount() < 1)
    return QImage();
  const QImage ink = doc.render(0, doc.pagePointSize(0).toSize());
  QImage page(ink.size(), QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter(&page).drawImage(0, 0, ink);
  return page;
}

double RedShare(const QImage& page) {
  long long red = 0;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x) red += page.pixel(x, y) == qRgb(255, 0, 0);
  return page.isNull() ? 0 : static_cast<double>(red) / (page.width() * page.height());
}

// The chart rectangle in red: drawn where the page shows it.
void RedChart(TestPanel& panel) {
  chart::TCanvas3D& c = *panel.GetCanvas3D();
  c.Brush->SetStyle(platform::bsSolid);
  c.Brush->SetColor(platform::clRed);
  c.FillRect(panel.LastChartRect);
}

class NoPrinter : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    platform::TPrinter::SetPrinterList([] { return std::vector<std::string>{}; });
  }
  void TearDown() override {
    platform::TPrinter::SetPrinterList({});
    platform::Printer().OutputFileName.clear();
    platform::Printer().Title.clear();
  }
};

TEST_F(NoPrinter, APrintWithoutAPrinterBecomesAPdfFile) {
  const std::string file = KORVANE_BINARY_DIR "/chart-panel-print.pdf";
  QFile::remove(QString::fromStdString(file));
  platform::TPrinter& printer = platform::Printer();
  printer.OutputFileName = file;
  EXPECT_EQ(printer.PrinterName(), "");
  TestPanel p;
  p.SetName("Chart1");
  p.During = [](TestPanel& panel) {
    RedChart(panel);
    chart::TCanvas3D& c = *panel.GetCanvas3D();
    c.Brush->SetStyle(platform::bsClear);
    c.TextOut(panel.LastChartRect.Left + 10, panel.LastChartRect.Top + 10, "Signal levels");
  };
  int before = 0;
  p.OnBeforePrint = [&](platform::TObject*, platform::TCanvas*, const TRect&) { ++before; };
  printer.SetOrientation(platform::poPortrait);
  p.PrintLandscape();
  EXPECT_EQ(before, 1);
  EXPECT_EQ(printer.GetOrientation(), platform::poPortrait);
  EXPECT_FALSE(printer.Printing());
  EXPECT_EQ(printer.Title, "Chart1");
  EXPECT_EQ(printer.LastFileName(), file);
  // Proportional margins were computed for the landscape page and kept.
  EXPECT_EQ(p.PrintMargins.Left, 15);
  EXPECT_GT(p.PrintMargins.Top, 15);
  QFile pdf(QString::fromStdString(file));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.read(5) == "%PDF-");
  // One landscape page with the chart's text on it as text, and its red rectangle.
  QPdfDocument doc(nullptr);
  ASSERT_EQ(doc.load(QString::fromStdString(file)), QPdfDocument::Error::None);
  EXPECT_EQ(doc.pageCount(), 1);
  const QSizeF page = doc.pagePointSize(0);
  EXPECT_GT(page.width(), page.height());
  EXPECT_TRUE(doc.getAllText(0).text().contains("Signal levels"));
  EXPECT_GT(RedShare(PrintedPage(file)), 0.25);
}

TEST_F(NoPrinter, AFailedDrawingAbortsThePrintAndLetsTheErrorThrough) {
  const std::string fresh = KORVANE_BINARY_DIR "/chart-panel-fresh.pdf";
  const std::string again = KORVANE_BINARY_DIR "/chart-panel-abort.pdf";
  platform::TPrinter& printer = platform::Printer();
  printer.OutputFileName = fresh;
  TestPanel first;
  first.During = RedChart;
  first.Print();
  QFile::remove(QString::fromStdString(again));
  printer.OutputFileName = again;
  TestPanel p;
  p.During = [](TestPanel&) { throw platform::Exception("drawing failed"); };
  EXPECT_THROW(p.Print(), platform::Exception);
  EXPECT_FALSE(printer.Printing());
  EXPECT_FALSE(p.Printing);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(again)));
  // The printer takes the next document, whose page is the one a fresh panel prints.
  p.During = RedChart;
  EXPECT_NO_THROW(p.Print());
  const QImage page = PrintedPage(again);
  EXPECT_GT(RedShare(page), 0.1);
  EXPECT_EQ(page, PrintedPage(fresh));
  QFile::remove(QString::fromStdString(fresh));
}

}  // namespace
}  // namespace paneltest

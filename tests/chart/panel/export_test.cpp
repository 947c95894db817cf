// The panel in files and on the clipboard: bitmaps read back pixel-equal to what the window
// shows, pictures whose SVG and PDF hold shapes and text that render as the picture was drawn,
// rectangles away from the origin, bad names.
#include "chart/panel/export.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <fstream>
#include <sstream>

#include "chart/panel/shape.h"
#include "platform/vcl/export_targets.h"
#include "tests/chart/panel/showcase.h"

namespace paneltest {
namespace {

const std::string kDir = KORVANE_BINARY_DIR "/";

// Two boxes for the showcase: a rounded one with a shadow and a gradient, and a translucent
// one turned by 30 degrees.
const ShowcaseStep kShapes("shapes", [](TestPanel& panel, const TRect&) {
  chart::TPlotShape rounded(&panel);
  rounded.SetShapeStyle(chart::fosRoundRectangle);
  rounded.GetShadow()->SetSize(5);
  rounded.GetShadow()->SetColor(platform::clGray);
  rounded.GetGradient()->SetStartColor(0x80FFFF);
  rounded.GetGradient()->SetEndColor(0x0080FF);
  rounded.GetGradient()->SetVisible(true);
  rounded.GetFrame()->SetColor(platform::clMaroon);
  rounded.ShapeBounds = TRect{250, 150, 350, 200};
  rounded.Draw();
  chart::TPlotShape turned(&panel);
  turned.SetColor(platform::clRed);
  turned.SetTransparency(40);
  turned.SetBevel(platform::bvRaised);
  turned.DrawRectRotated(TRect{45, 150, 125, 190}, 30, 0);
});

QImage Rgb(const QImage& image) {
  return image.convertToFormat(QImage::Format_RGB32);
}

QImage BitmapImage(const platform::TBitmap& b) {
  return b.Image() ? Rgb(*b.Image()) : QImage();
}

// The root element's name and viewBox, the images, shapes and texts inside; empty name when
// the text is no XML.
struct SvgInfo {
  QString root, viewBox, title;
  int images = 0, shapes = 0;
  QStringList texts;
};
SvgInfo ReadSvg(const QByteArray& bytes) {
  SvgInfo info;
  QXmlStreamReader xml(bytes);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QStringView name = xml.name();
    if (info.root.isEmpty()) {
      info.root = name.toString();
      info.viewBox = xml.attributes().value("viewBox").toString();
    }
    if (name == QStringLiteral("image")) ++info.images;
    if (name == QStringLiteral("path") || name == QStringLiteral("polyline") ||
        name == QStringLiteral("rect"))
      ++info.shapes;
    if (name == QStringLiteral("text")) info.texts << xml.readElementText().trimmed();
    if (name == QStringLiteral("title") && info.title.isEmpty()) info.title = xml.readElementText();
  }
  if (xml.hasError()) return SvgInfo{};
  return info;
}

QImage RenderSvg(const QByteArray& bytes, const QSize& size) {
  QImage img(size, QImage::Format_RGB32);
  img.fill(Qt::white);
  QSvgRenderer renderer(bytes);
  if (!renderer.isValid()) return QImage();
  QPainter p(&img);
  renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
  return img;
}

// A PDF file's pages, read back: their count, the first page's size in points and its text, and
// the first page rendered at size.
struct PdfInfo {
  bool loaded = false;
  int pages = 0;
  QSizeF points;
  QString text, title;
  QImage page;
};
PdfInfo ReadPdf(const std::string& file, const QSize& size) {
  PdfInfo info;
  QPdfDocument doc(nullptr);
  if (doc.load(QString::fromStdString(file)) != QPdfDocument::Error::None) return info;
  info.loaded = true;
  info.pages = doc.pageCount();
  if (info.pages == 0) return info;
  info.points = doc.pagePointSize(0);
  info.text = doc.getAllText(0).text();
  info.title = doc.metaData(QPdfDocument::MetaDataField::Title).toString();
  info.page = doc.render(0, size).convertToFormat(QImage::Format_RGB32);
  return info;
}

QByteArray FileBytes(const std::string& name) {
  QFile f(QString::fromStdString(name));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Pixels of a rendering at four times the size that differ from the picture's pixel beneath,
// at the corners of the panel less its shadow (frame and bevels) and in its back image.
int Differing(const QImage& big, const QImage& picture) {
  int n = 0;
  for (int y = 0; y < big.height(); ++y) {
    for (int x = 0; x < big.width(); ++x) {
      const int px = x / 4, py = y / 4;
      const bool corner = (px < 12 || px >= 382) && (py < 12 || py >= 232);
      const bool image = px >= 167 && px < 227 && py >= 102 && py < 142;
      const QRgb a = big.pixel(x, y), b = picture.pixel(px, py);
      n += (corner || image) &&
           (std::abs(qRed(a) - qRed(b)) > 8 || std::abs(qGreen(a) - qGreen(b)) > 8 ||
            std::abs(qBlue(a) - qBlue(b)) > 8);
    }
  }
  return n;
}

TEST_F(PanelTest, ShowcaseExportsOpenAgain) {
  const auto p = MakeShowcasePanel();
  p->SetName("SkyChart");
  p->ProcessPaint();
  const QImage shown = Rgb(WindowCopy(*p));
  ASSERT_EQ(shown.size(), QSize(400, 250));
  // The turned box is translucent over the gradient: neither red nor the background.
  const TColor mixed = WindowPixel(*p, 85, 170);
  EXPECT_NE(mixed, platform::clRed);
  EXPECT_GT(mixed & 0xFF, ((mixed >> 8) & 0xFF) + 60);
  EXPECT_GT((mixed >> 8) & 0xFF, 0x40);

  for (const char* name : {"chart-panel-shapes.png", "chart-panel-shapes.bmp"}) {
    const std::string file = kDir + name;
    QFile::remove(QString::fromStdString(file));
    p->SaveToBitmapFile(file);
    const QImage back(QString::fromStdString(file));
    ASSERT_FALSE(back.isNull()) << name;
    EXPECT_EQ(Rgb(back), shown) << name;
  }
  QFile::remove(QString::fromStdString(kDir + "chart-panel-shapes.bmp"));
  EXPECT_TRUE(FileBytes(kDir + "chart-panel-shapes.png").startsWith("\x89PNG"));

  // The pictures hold the panel as drawn for a picture (no translucency), as shapes, with the
  // back image the one image inside.
  const QImage picture = BitmapImage(p->PlotCreateMetafile(true, p->GetRectangle())->Bitmap());
  const std::string svg = kDir + "chart-panel.svg";
  p->SaveToMetafileEnh(svg);
  const SvgInfo info = ReadSvg(FileBytes(svg));
  EXPECT_EQ(info.root, "svg");
  EXPECT_EQ(info.viewBox, "0 0 400 250");
  EXPECT_EQ(info.title, "SkyChart");
  EXPECT_EQ(info.images, 1);
  EXPECT_GT(info.shapes, 10);
  const QImage svgShown = RenderSvg(FileBytes(svg), QSize(400, 250));
  EXPECT_LT(gditest::Mismatch(picture, svgShown), 0.02);
  EXPECT_LT(gditest::Mismatch(svgShown, picture), 0.02);
  // Looked at closely, the frame's corners and the back image are the picture's own pixels.
  EXPECT_EQ(Differing(RenderSvg(FileBytes(svg), QSize(1600, 1000)), picture), 0);

  const std::string pdf = kDir + "chart-panel.pdf";
  p->SaveToMetafile(pdf);
  EXPECT_TRUE(FileBytes(pdf).startsWith("%PDF-"));
  const PdfInfo read = ReadPdf(pdf, QSize(400, 250));
  ASSERT_TRUE(read.loaded);
  EXPECT_EQ(read.pages, 1);
  // One page of 400 x 250 pixels at 96 per inch, in points.
  EXPECT_EQ(read.points, QSizeF(300, 187.5));
  EXPECT_EQ(read.title, "SkyChart");
  EXPECT_LT(gditest::Mismatch(picture, read.page), 0.02);
  EXPECT_LT(gditest::Mismatch(read.page, picture), 0.02);
  EXPECT_EQ(Differing(ReadPdf(pdf, QSize(1600, 1000)).page, picture), 0);

  // None of it touched the window, and the next paint shows the same panel.
  EXPECT_EQ(Rgb(WindowCopy(*p)), shown);
  p->PerformPaint();
  EXPECT_EQ(Rgb(WindowCopy(*p)), shown);
}

// A red box and a caption, half of it past a clip that stops at x = 200.
void BoxAndCaption(TestPanel& panel) {
  chart::TCanvas3D& c = *panel.GetCanvas3D();
  c.Brush->SetStyle(platform::bsSolid);
  c.Brush->SetColor(platform::clRed);
  c.FillRect(TRect{20, 20, 120, 80});
  c.Font->SetSize(14);
  c.Font->SetColor(platform::clNavy);
  c.Brush->SetStyle(platform::bsClear);
  c.TextOut(150, 40, "Satellites in view");
  c.ClipRectangle(TRect{0, 100, 200, 240});
  c.Brush->SetStyle(platform::bsSolid);
  c.Brush->SetColor(platform::clGreen);
  c.Pen->SetColor(platform::clBlack);
  c.Ellipse(150, 120, 250, 220);
  c.UnClipRectangle();
}

TEST_F(PanelTest, PicturesHoldShapesAndTextAndKeepToTheClip) {
  TestPanel p;
  p.During = BoxAndCaption;
  const QImage picture = BitmapImage(p.PlotCreateMetafile(true, p.GetRectangle())->Bitmap());
  // The clipped half of the ellipse is not drawn.
  const auto green = [](QRgb c) { return qGreen(c) > qRed(c) + 60; };
  EXPECT_FALSE(green(picture.pixel(230, 170)));
  EXPECT_EQ(picture.pixel(170, 170), qRgb(0, 128, 0));

  const std::string svgFile = kDir + "chart-panel-text.svg";
  p.SaveToMetafile(svgFile);
  const QByteArray svg = FileBytes(svgFile);
  QFile::remove(QString::fromStdString(svgFile));
  const SvgInfo info = ReadSvg(svg);
  EXPECT_EQ(info.images, 0);
  EXPECT_TRUE(info.texts.contains("Satellites in view")) << info.texts.join('|').toStdString();
  const QImage svgShown = RenderSvg(svg, QSize(400, 250));
  EXPECT_LT(gditest::Mismatch(picture, svgShown), 0.02);
  EXPECT_LT(gditest::Mismatch(svgShown, picture), 0.02);
  EXPECT_FALSE(green(svgShown.pixel(230, 170)));
  EXPECT_TRUE(green(svgShown.pixel(170, 170)));

  const std::string pdfFile = kDir + "chart-panel-text.pdf";
  p.SaveToMetafile(pdfFile);
  const PdfInfo pdf = ReadPdf(pdfFile, QSize(400, 250));
  QFile::remove(QString::fromStdString(pdfFile));
  ASSERT_TRUE(pdf.loaded);
  EXPECT_TRUE(pdf.text.contains("Satellites in view")) << pdf.text.toStdString();
  EXPECT_LT(gditest::Mismatch(picture, pdf.page), 0.02);
  EXPECT_LT(gditest::Mismatch(pdf.page, picture), 0.02);
  EXPECT_FALSE(green(pdf.page.pixel(230, 170)));
  EXPECT_TRUE(green(pdf.page.pixel(170, 170)));
}

TEST_F(PanelTest, ARectangleAwayFromTheOriginExportsLikeOneAtTheOrigin) {
  const auto p = MakeShowcasePanel();
  const std::string away = kDir + "chart-panel-away.png", origin = kDir + "chart-panel-origin.png";
  p->SaveToBitmapFile(away, TRect{100, 50, 300, 200});
  p->SaveToBitmapFile(origin, TRect{0, 0, 200, 150});
  const QImage a(QString::fromStdString(away)), o(QString::fromStdString(origin));
  QFile::remove(QString::fromStdString(away));
  QFile::remove(QString::fromStdString(origin));
  ASSERT_EQ(a.size(), QSize(200, 150));
  EXPECT_EQ(Rgb(a), Rgb(o));
  // The panel's own border sits at the picture's edge.
  EXPECT_EQ(a.pixel(0, 75), qRgb(0, 0, 128));
  EXPECT_EQ(a.pixel(199 - 6, 75), qRgb(0, 0, 128));

  const auto ma = p->PlotCreateMetafile(true, TRect{100, 50, 300, 200});
  const auto mo = p->PlotCreateMetafile(true, TRect{0, 0, 200, 150});
  EXPECT_EQ(ma->Width(), 200);
  EXPECT_EQ(ma->Height(), 150);
  EXPECT_EQ(BitmapImage(ma->Bitmap()), BitmapImage(mo->Bitmap()));
}

TEST_F(PanelTest, TheClipboardCarriesTheImageAndTheSvg) {
  const auto p = MakeShowcasePanel();
  p->ProcessPaint();
  const QImage shown = Rgb(WindowCopy(*p));
  QClipboard* clipboard = QGuiApplication::clipboard();
  ASSERT_NE(clipboard, nullptr);
  p->CopyToClipboardBitmap();
  EXPECT_EQ(Rgb(clipboard->image()), shown);

  p->CopyToClipboardMetafile(true, TRect{0, 0, 120, 80});
  const QMimeData* data = clipboard->mimeData();
  ASSERT_NE(data, nullptr);
  ASSERT_TRUE(data->hasFormat("image/svg+xml"));
  const SvgInfo info = ReadSvg(data->data("image/svg+xml"));
  EXPECT_EQ(info.root, "svg");
  EXPECT_EQ(info.viewBox, "0 0 120 80");
  EXPECT_EQ(Rgb(clipboard->image()).size(), QSize(120, 80));
}

TEST_F(PanelTest, PicturesOfEmptyRectanglesAndOldExtensions) {
  TestPanel p;
  const auto empty = p.PlotCreateMetafile(false, TRect{10, 10, 10, 10});
  EXPECT_EQ(empty->Width(), 1);
  EXPECT_EQ(empty->Height(), 1);
  EXPECT_FALSE(empty->Enhanced());
  const auto backwards = p.PlotCreateMetafile(true, TRect{300, 200, 100, 50});
  EXPECT_EQ(backwards->Width(), 1);

  // The old picture names keep their extension and hold SVG.
  const std::string emf = kDir + "chart-panel-test.emf";
  p.SaveToMetafileEnh(emf);
  EXPECT_EQ(ReadSvg(FileBytes(emf)).viewBox, "0 0 400 250");
  QFile::remove(QString::fromStdString(emf));
  EXPECT_EQ(platform::PictureFormatOf("A.PDF"), platform::TExportFormat::Pdf);
  EXPECT_EQ(platform::PictureFormatOf("a.wmf"), platform::TExportFormat::Svg);
  EXPECT_EQ(platform::BitmapFormatOf("a.Png"), platform::TExportFormat::Png);
  EXPECT_EQ(platform::BitmapFormatOf("png"), platform::TExportFormat::Bmp);
}

TEST_F(PanelTest, FilesThatCannotBeWrittenRaiseAndLeaveThePanelWhole) {
  TestPanel p;
  p.ProcessPaint();
  const QImage shown = Rgb(WindowCopy(p));
  const std::string bad = "/nonexistent-folder/x/chart";
  EXPECT_THROW(p.SaveToBitmapFile(bad + ".png"), platform::EFCreateError);
  EXPECT_THROW(p.SaveToBitmapFile(""), platform::EFCreateError);
  EXPECT_THROW(p.SaveToMetafile(bad + ".svg"), platform::EFCreateError);
  EXPECT_THROW(p.SaveToMetafileEnh(bad + ".pdf"), platform::EFCreateError);
  EXPECT_THROW(p.SaveToMetafile(""), platform::EFCreateError);
  EXPECT_NO_THROW(p.SaveToBitmapFile(kDir + "chart-panel-negative.bmp", TRect{5, 5, -20, -20}));
  QFile::remove(QString::fromStdString(kDir + "chart-panel-negative.bmp"));
  p.PerformPaint();
  EXPECT_EQ(Rgb(WindowCopy(p)), shown);
}

TEST_F(PanelTest, BitmapsOfEmptyRectanglesAreOneWhitePixel) {
  TestPanel p;
  p.SetColor(platform::clRed);
  const std::string file = kDir + "chart-panel-empty.bmp";
  for (const TRect r : {TRect{5, 5, -20, -20}, TRect{10, 10, 10, 10}, TRect{300, 200, 100, 50}}) {
    SCOPED_TRACE(testing::Message() << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom);
    p.SaveToBitmapFile(file, r);
    QImage saved;
    ASSERT_TRUE(saved.load(QString::fromStdString(file), "BMP"));
    EXPECT_EQ(saved.size(), QSize(1, 1));
    EXPECT_EQ(saved.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    p.CopyToClipboardBitmap(r);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(1, 1));
    EXPECT_EQ(copied.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
  }
  QFile::remove(QString::fromStdString(file));
}

class Lines : public chart::TPlotExportData {
 public:
  std::string AsString() override { return "x;y\r\n1;2\r\n"; }
};

TEST_F(PanelTest, ExportDataGoesToStreamsFilesAndTheClipboard) {
  Lines lines;
  std::ostringstream out;
  lines.SaveToStream(out);
  EXPECT_EQ(out.str(), "x;y\r\n1;2\r\n");
  const std::string file = kDir + "chart-panel-data.txt";
  { std::ofstream(file) << "old contents that are longer than the new ones"; }
  lines.SaveToFile(file);
  EXPECT_EQ(FileBytes(file), QByteArray("x;y\r\n1;2\r\n"));
  QFile::remove(QString::fromStdString(file));
  lines.CopyToClipboard();
  EXPECT_EQ(platform::ClipboardText(), "x;y\r\n1;2\r\n");
  chart::TPlotExportData none;
  none.CopyToClipboard();
  EXPECT_EQ(platform::ClipboardText(), "");
  EXPECT_THROW(lines.SaveToFile("/nonexistent-folder/x.txt"), platform::EFCreateError);
}

}  // namespace
}  // namespace paneltest

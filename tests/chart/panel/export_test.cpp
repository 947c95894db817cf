// The panel in files and on the clipboard: bitmaps read back pixel-equal to what the window
// shows, pictures that parse as SVG or start as PDF, rectangles away from the origin, bad names.
#include "chart/panel/export.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
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

// The root element's name and viewBox, and whether an image is inside; empty name when the
// text is no XML.
struct SvgInfo {
  QString root, viewBox;
  bool image = false;
};
SvgInfo ReadSvg(const QByteArray& bytes) {
  SvgInfo info;
  QXmlStreamReader xml(bytes);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (info.root.isEmpty()) {
      info.root = xml.name().toString();
      info.viewBox = xml.attributes().value("viewBox").toString();
    }
    if (xml.name() == QStringLiteral("image")) info.image = true;
  }
  if (xml.hasError()) return SvgInfo{};
  return info;
}

QByteArray FileBytes(const std::string& name) {
  QFile f(QString::fromStdString(name));
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(PanelTest, ShowcaseExportsOpenAgain) {
  const auto p = MakeShowcasePanel();
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

  const std::string svg = kDir + "chart-panel.svg";
  p->SaveToMetafileEnh(svg);
  const SvgInfo info = ReadSvg(FileBytes(svg));
  EXPECT_EQ(info.root, "svg");
  EXPECT_EQ(info.viewBox, "0 0 400 250");
  EXPECT_TRUE(info.image);

  const std::string pdf = kDir + "chart-panel.pdf";
  p->SaveToMetafile(pdf);
  const QByteArray bytes = FileBytes(pdf);
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  // One page of 400 x 250 pixels at 96 per inch, in points (187.5 rounds up).
  EXPECT_TRUE(bytes.contains("/MediaBox [0 0 300.000000 188.000000]"));

  // None of it touched the window, and the next paint shows the same panel.
  EXPECT_EQ(Rgb(WindowCopy(*p)), shown);
  p->PerformPaint();
  EXPECT_EQ(Rgb(WindowCopy(*p)), shown);
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

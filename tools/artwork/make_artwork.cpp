// Draws the main window's two pictures: the sky-plot background (an 8-bit BMP) and the About
// logo (a JPEG), into OUTPUT_DIR (the repository's resources folder). Built by the optional
// target korvane-make-artwork, or by hand:
//   g++ -std=c++20 -fPIC make_artwork.cpp $(pkg-config --cflags --libs Qt6Gui) -ljpeg
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

// The JPEG library's header expects these types to be declared first.
#include <jpeglib.h>

namespace {

// The sky plot's geometry is fixed by the console's plotting: zenith at (90, 90), horizon 72 px
// out, 0.8 px per degree of elevation.
constexpr int kSkySize = 177;
constexpr int kCentre = 90;
constexpr int kHorizon = 72;

const QRgb kOutside = qRgb(10, 16, 14);
const QRgb kSky = qRgb(18, 42, 34);
const QRgb kCross = qRgb(52, 104, 80);
const QRgb kRing = qRgb(70, 150, 110);
const QRgb kHorizonRing = qRgb(130, 210, 160);
const QRgb kLetter = qRgb(210, 235, 220);

// Midpoint circle: exact pixels, so the rings sit where the plot math says they are.
void Circle(QImage& img, int cx, int cy, int r, QRgb c) {
  auto plot = [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < img.width() && y < img.height()) img.setPixel(x, y, c);
  };
  int x = r, y = 0, err = 1 - r;
  while (x >= y) {
    plot(cx + x, cy + y), plot(cx - x, cy + y), plot(cx + x, cy - y), plot(cx - x, cy - y);
    plot(cx + y, cy + x), plot(cx - y, cy + x), plot(cx + y, cy - x), plot(cx - y, cy - x);
    ++y;
    if (err < 0) {
      err += 2 * y + 1;
    } else {
      --x;
      err += 2 * (y - x) + 1;
    }
  }
}

void FillDisc(QImage& img, int cx, int cy, int r, QRgb c) {
  for (int y = cy - r; y <= cy + r; ++y) {
    for (int x = cx - r; x <= cx + r; ++x) {
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) img.setPixel(x, y, c);
    }
  }
}

QImage DrawSkyPlot() {
  QImage img(kSkySize, kSkySize, QImage::Format_RGB32);
  img.fill(kOutside);
  FillDisc(img, kCentre, kCentre, kHorizon, kSky);
  for (int d = -kHorizon; d <= kHorizon; ++d) {
    img.setPixel(kCentre + d, kCentre, kCross);
    img.setPixel(kCentre, kCentre + d, kCross);
  }
  Circle(img, kCentre, kCentre, 24, kRing);  // 60 degrees elevation
  Circle(img, kCentre, kCentre, 48, kRing);  // 30 degrees
  // Two pixels wide, without the holes two neighbouring midpoint circles leave.
  for (int y = 0; y < kSkySize; ++y) {
    for (int x = 0; x < kSkySize; ++x) {
      const int d2 = (x - kCentre) * (x - kCentre) + (y - kCentre) * (y - kCentre);
      if (4 * d2 >= 143 * 143 && 4 * d2 <= 147 * 147) img.setPixel(x, y, kHorizonRing);
    }
  }

  // Letters unsmoothed: the BMP keeps a small palette.
  QPainter p(&img);
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(10);
  f.setBold(true);
  f.setStyleStrategy(QFont::NoAntialias);
  p.setFont(f);
  p.setPen(QColor(kLetter));
  const int m = kCentre - kHorizon - 2;  // the margin outside the horizon
  p.drawText(QRect(kCentre - 8, 0, 16, m), Qt::AlignCenter, QStringLiteral("N"));
  p.drawText(QRect(kCentre - 8, kSkySize - m, 16, m), Qt::AlignCenter, QStringLiteral("S"));
  p.drawText(QRect(0, kCentre - 8, m, 16), Qt::AlignCenter, QStringLiteral("W"));
  p.drawText(QRect(kSkySize - m, kCentre - 8, m, 16), Qt::AlignCenter, QStringLiteral("E"));
  p.end();
  return img;
}

void Put16(std::string& s, std::uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// An uncompressed 8-bit BMP, bottom-up rows padded to 4 bytes.
bool WriteBmp8(const QImage& img, const std::string& path) {
  std::map<QRgb, int> index;
  std::vector<QRgb> palette;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      const QRgb c = img.pixel(x, y) | 0xFF000000u;
      if (index.emplace(c, static_cast<int>(palette.size())).second) palette.push_back(c);
    }
  }
  if (palette.size() > 256) {
    std::fprintf(stderr, "sky plot has %zu colours, more than a palette holds\n", palette.size());
    return false;
  }
  const std::uint32_t stride = (static_cast<std::uint32_t>(img.width()) + 3) & ~3u;
  const std::uint32_t offset = 14 + 40 + 256 * 4;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(img.height());
  std::string s;
  s += "BM";
  Put32(s, offset + imageSize);
  Put32(s, 0);
  Put32(s, offset);
  Put32(s, 40);
  Put32(s, static_cast<std::uint32_t>(img.width()));
  Put32(s, static_cast<std::uint32_t>(img.height()));
  Put16(s, 1);
  Put16(s, 8);
  Put32(s, 0);  // BI_RGB
  Put32(s, imageSize);
  Put32(s, 3780);  // 96 dpi
  Put32(s, 3780);
  Put32(s, 256);
  Put32(s, 0);
  for (int i = 0; i < 256; ++i) {
    const QRgb c = i < static_cast<int>(palette.size()) ? palette[static_cast<size_t>(i)] : 0;
    s.push_back(static_cast<char>(qBlue(c)));
    s.push_back(static_cast<char>(qGreen(c)));
    s.push_back(static_cast<char>(qRed(c)));
    s.push_back(0);
  }
  for (int y = img.height() - 1; y >= 0; --y) {
    std::uint32_t x = 0;
    for (; x < static_cast<std::uint32_t>(img.width()); ++x) {
      s.push_back(static_cast<char>(index[img.pixel(static_cast<int>(x), y) | 0xFF000000u]));
    }
    for (; x < stride; ++x) s.push_back(0);
  }
  std::ofstream out(path, std::ios::binary);
  out.write(s.data(), static_cast<std::streamsize>(s.size()));
  return static_cast<bool>(out.flush());
}

QImage DrawLogo() {
  QImage img(213, 73, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor navy(20, 44, 92), orange(232, 120, 24), pale(226, 234, 246);

  // Emblem: a globe with one orbit and its satellite.
  const QPointF c(36, 36.5);
  p.setPen(Qt::NoPen);
  p.setBrush(pale);
  p.drawEllipse(c, 27, 27);
  p.setPen(QPen(navy, 2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, 22, 22);
  p.drawEllipse(c, 9, 22);
  p.drawLine(QPointF(c.x() - 22, c.y()), QPointF(c.x() + 22, c.y()));
  p.save();
  p.translate(c);
  p.rotate(-24);
  p.setPen(QPen(orange, 2.5));
  p.drawEllipse(QPointF(0, 0), 33, 11);
  p.setPen(Qt::NoPen);
  p.setBrush(orange);
  p.drawEllipse(QPointF(27, -6.5), 4.5, 4.5);
  p.restore();

  // Wordmark.
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setBold(true);
  const QString word = QStringLiteral("KORVANE");
  int px = 28;
  for (; px > 10; --px) {
    f.setPixelSize(px);
    if (QFontMetrics(f).horizontalAdvance(word) <= 126) break;
  }
  p.setFont(f);
  p.setPen(navy);
  p.drawText(QRect(76, 12, 132, 34), Qt::AlignHCenter | Qt::AlignVCenter, word);
  p.setPen(Qt::NoPen);
  p.setBrush(orange);
  p.drawRect(QRectF(78, 50, 128, 3));
  p.end();
  return img;
}

bool WriteJpeg(const QImage& img, const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, f);
  cinfo.image_width = static_cast<JDIMENSION>(img.width());
  cinfo.image_height = static_cast<JDIMENSION>(img.height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 90, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(img.width()) * 3);
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      const QRgb c = img.pixel(x, y);
      row[static_cast<size_t>(x) * 3] = static_cast<JSAMPLE>(qRed(c));
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<JSAMPLE>(qGreen(c));
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<JSAMPLE>(qBlue(c));
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const std::string dir = argv[1];
  if (!WriteBmp8(DrawSkyPlot(), dir + "/skyplot.bmp")) {
    std::fprintf(stderr, "cannot write %s/skyplot.bmp\n", dir.c_str());
    return 1;
  }
  if (!WriteJpeg(DrawLogo(), dir + "/logo.jpg")) {
    std::fprintf(stderr, "cannot write %s/logo.jpg\n", dir.c_str());
    return 1;
  }
  return 0;
}

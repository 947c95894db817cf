#include "platform/vcl/export_targets.h"

#include <QBuffer>
#include <QByteArray>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "platform/gdi/dc.h"
#include "platform/vcl/picture.h"

namespace platform {

namespace {

bool EndsWith(const std::string& name, const char* ext) {
  const std::size_t n = std::char_traits<char>::length(ext);
  if (name.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(name[name.size() - n + i])) != ext[i]) return false;
  return true;
}

[[noreturn]] void CannotCreate(const std::string& fileName) {
  throw EFCreateError("Cannot create file \"" + fileName + "\"");
}

QImage PixelsOf(const TBitmap& bitmap) {
  const QImage* image = bitmap.Image();
  if (!image || image->isNull()) {
    // A file or the clipboard takes no empty image: one pixel of the white a bitmap starts as.
    QImage blank(1, 1, QImage::Format_RGB32);
    blank.fill(Qt::white);
    return blank;
  }
  return image->convertToFormat(QImage::Format_RGB32);
}

// The picture on a white page of size units. clipByShape: the device ignores the clip.
void PaintPicture(QPaintDevice& device, const gdi::VectorLog& log, const QSize& size,
                  bool clipByShape) {
  QPainter p(&device);
  // Pictures keep their pixels: a PDF would otherwise hold them as JPEG.
  p.setRenderHint(QPainter::LosslessImageRendering);
  p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  log.Play(p, clipByShape);
}

QByteArray SvgBytes(const gdi::VectorLog& log, const QSize& size, const std::string& title) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator svg;
  svg.setTitle(QString::fromStdString(title));
  svg.setOutputDevice(&buffer);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(96);
  // Qt's SVG writer leaves clips out.
  PaintPicture(svg, log, size, true);
  buffer.close();
  return bytes;
}

void AppendNumber(std::string& out, double v) {
  char buf[32];
  const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  out.append(buf, end);
}

// Qt gives a PDF page whole points and puts the picture's top at the page's top, so a picture
// of 250 pixels (187.5 points) would get an extra half point of white below. The page box is
// set to the picture's own size, in place and no longer than before, so the file's offsets
// stay right.
bool TrimPageBox(const std::string& fileName, double width, double height) {
  QFile file(QString::fromStdString(fileName));
  if (!file.open(QIODevice::ReadWrite)) return false;
  const QByteArray bytes = file.readAll();
  const QByteArray key = "/MediaBox [";
  const qsizetype at = bytes.indexOf(key);
  if (at < 0 || bytes.indexOf(key, at + 1) >= 0) return false;
  const qsizetype start = at + key.size();
  const qsizetype close = bytes.indexOf(']', start);
  if (close < 0) return false;
  const std::string box = bytes.mid(start, close - start).toStdString();
  double v[4] = {};
  const char* p = box.data();
  const char* end = p + box.size();
  for (double& n : v) {
    while (p < end && *p == ' ') ++p;
    const auto r = std::from_chars(p, end, n);
    if (r.ec != std::errc()) return false;
    p = r.ptr;
  }
  if (v[0] != 0 || v[1] != 0) return false;
  std::string fixed = "0 ";
  AppendNumber(fixed, v[3] - height);
  fixed += ' ';
  AppendNumber(fixed, width);
  fixed += ' ';
  AppendNumber(fixed, v[3]);
  if (fixed.size() > box.size()) return false;
  fixed.resize(box.size(), ' ');
  return file.seek(start) && file.write(fixed.data(), static_cast<qint64>(fixed.size())) ==
                                 static_cast<qint64>(fixed.size());
}

}  // namespace

TExportFormat BitmapFormatOf(const std::string& fileName) {
  return EndsWith(fileName, ".png") ? TExportFormat::Png : TExportFormat::Bmp;
}

TExportFormat PictureFormatOf(const std::string& fileName) {
  return EndsWith(fileName, ".pdf") ? TExportFormat::Pdf : TExportFormat::Svg;
}

void SaveBitmapToFile(const TBitmap& bitmap, const std::string& fileName) {
  const char* format = BitmapFormatOf(fileName) == TExportFormat::Png ? "PNG" : "BMP";
  if (fileName.empty() || !PixelsOf(bitmap).save(QString::fromStdString(fileName), format))
    CannotCreate(fileName);
}

void CopyBitmapToClipboard(const TBitmap& bitmap) {
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setImage(PixelsOf(bitmap));
}

void CopyTextToClipboard(const std::string& text) {
  if (QClipboard* clipboard = QGuiApplication::clipboard())
    clipboard->setText(QString::fromStdString(text));
}

std::string ClipboardText() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard ? clipboard->text().toStdString() : std::string();
}

// --- TMetafile ---

TMetafile::TMetafile(int width, int height, bool enhanced)
    : bitmap_(std::make_unique<TBitmap>()),
      vector_(std::make_shared<gdi::VectorLog>()),
      enhanced_(enhanced) {
  // Anything larger than a poster at print resolution is a mistake, not a picture.
  constexpr int kLimit = 1 << 14;
  bitmap_->SetSize(std::clamp(width, 1, kLimit), std::clamp(height, 1, kLimit));
  bitmap_->Canvas->GetHandle()->KeepVector(vector_);
}

TMetafile::~TMetafile() = default;

int TMetafile::Width() const {
  return bitmap_->GetWidth();
}

int TMetafile::Height() const {
  return bitmap_->GetHeight();
}

TCanvas* TMetafile::Canvas() {
  return bitmap_->Canvas;
}

std::string TMetafile::ToSvg() const {
  return SvgBytes(*vector_, QSize(Width(), Height()), Title).toStdString();
}

void TMetafile::SaveToFile(const std::string& fileName) const {
  if (fileName.empty()) CannotCreate(fileName);
  const QSize size(Width(), Height());
  if (PictureFormatOf(fileName) == TExportFormat::Svg) {
    QFile file(QString::fromStdString(fileName));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) CannotCreate(fileName);
    const QByteArray bytes = SvgBytes(*vector_, size, Title);
    if (file.write(bytes) != bytes.size()) CannotCreate(fileName);
    return;
  }
  {
    QFile probe(QString::fromStdString(fileName));
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate)) CannotCreate(fileName);
  }
  // One page the size of the picture, at the screen's 96 pixels per inch.
  const QSizeF points(size.width() * 72.0 / 96, size.height() * 72.0 / 96);
  {
    QPdfWriter pdf(QString::fromStdString(fileName));
    pdf.setTitle(QString::fromStdString(Title));
    pdf.setResolution(96);
    pdf.setPageLayout(
        QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    PaintPicture(pdf, *vector_, size, false);
  }
  if (points.width() != std::round(points.width()) ||
      points.height() != std::round(points.height()))
    TrimPageBox(fileName, points.width(), points.height());
}

void TMetafile::CopyToClipboard() const {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return;
  const QImage image = PixelsOf(*bitmap_);
  auto* data = new QMimeData;
  data->setImageData(image);
  data->setData("image/svg+xml", SvgBytes(*vector_, image.size(), Title));
  clipboard->setMimeData(data);
}

}  // namespace platform

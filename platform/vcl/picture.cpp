#include "platform/vcl/picture.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <cstdint>

#include "platform/gdi/dc.h"
#include "platform/vcl/exception.h"
#include "platform/vcl/jpeg_image.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace qt {
const QImage* GraphicImage(const TGraphic* g) {
  return g ? g->Image() : nullptr;
}
}  // namespace qt

TGraphic::~TGraphic() = default;
int TGraphic::GetWidth() const {
  const QImage* i = Image();
  return i ? i->width() : 0;
}
int TGraphic::GetHeight() const {
  const QImage* i = Image();
  return i ? i->height() : 0;
}
void TGraphic::Changed() {
  if (OnChange) OnChange();
}

void TGraphic::SetTransparent(const bool& v) {
  if (v == transparent_) return;
  transparent_ = v;
  Changed();
}

TColor TGraphic::TransparentColor() const {
  const QImage* i = Image();
  if (!i || i->isNull()) return clNone;
  return qt::FromQColor(i->pixelColor(0, i->height() - 1));
}

namespace {

// The image a format is held in: indexed bitmaps keep full-depth pixels, so that they can be
// drawn on, beside their palette.
QImage::Format StorageFormat(TPixelFormat f) {
  switch (f) {
    case pf24bit:
      return QImage::Format_BGR888;
    case pf16bit:
      return QImage::Format_RGB16;
    default:
      return QImage::Format_RGB32;
  }
}

bool Indexed(TPixelFormat f) {
  return f == pf1bit || f == pf8bit;
}

std::vector<TColor> ColorsOf(const QList<QRgb>& table) {
  std::vector<TColor> colors;
  colors.reserve(static_cast<size_t>(table.size()));
  for (const QRgb c : table) colors.push_back(qt::FromQColor(QColor::fromRgb(c)));
  return colors;
}

}  // namespace

// --- TBitmap ---

TBitmap::TBitmap() : Canvas(new TCanvas) {
  Canvas->OnChange = [this] { Changed(); };
}

// A device context may keep a painter open on the image during a paint pass: it ends before
// the image is handed out, copied, reformatted, replaced or destroyed.
TBitmap::~TBitmap() {
  gdi::EndPainting(image_.get());
  delete Canvas;
}

void TBitmap::Retarget() {
  Canvas->SetTarget(image_.get());
  Canvas->SetDeviceBitsPerPixel(BitsPerPixel());
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == width_ && height == height_) return;
  gdi::EndPainting(image_.get());
  std::unique_ptr<QImage> next;
  if (width > 0 && height > 0) {
    next = std::make_unique<QImage>(width, height, StorageFormat(pixelFormat_));
    if (!next->isNull()) {
      next->fill(Qt::white);
      if (image_ && !image_->isNull()) {
        QPainter p(next.get());
        p.drawImage(0, 0, *image_);
      }
    }
  }
  image_ = std::move(next);
  width_ = width;
  height_ = height;
  if (Indexed(pixelFormat_)) Reduce();
  Retarget();
  Changed();
}

void TBitmap::Reduce() {
  palette_.clear();
  if (!image_ || image_->isNull()) return;
  gdi::EndPainting(image_.get());
  const QImage indexed = image_->convertToFormat(
      pixelFormat_ == pf1bit ? QImage::Format_Mono : QImage::Format_Indexed8,
      Qt::ThresholdDither | Qt::AvoidDither);
  // A monochrome bitmap is black and white, in that order, whatever order Qt's table has.
  palette_ = pixelFormat_ == pf1bit ? std::vector<TColor>{clBlack, clWhite}
                                    : ColorsOf(indexed.colorTable());
  *image_ = indexed.convertToFormat(QImage::Format_RGB32);
}

void TBitmap::SetPixelFormat(const TPixelFormat& v) {
  if (v == pixelFormat_) return;
  pixelFormat_ = v;
  palette_.clear();
  if (image_ && !image_->isNull()) {
    gdi::EndPainting(image_.get());
    if (Indexed(v)) {
      Reduce();
    } else {
      *image_ = image_->convertToFormat(StorageFormat(v));
    }
  }
  Retarget();
}

int TBitmap::BitsPerPixel() const {
  switch (pixelFormat_) {
    case pf1bit:
      return 1;
    case pf8bit:
      return 8;
    case pf16bit:
      return 16;
    case pf24bit:
      return 24;
    default:
      return 32;
  }
}

std::uint8_t* TBitmap::ScanLine(int y) {
  if (!image_ || image_->isNull() || y < 0 || y >= image_->height()) return nullptr;
  gdi::EndPainting(image_.get());
  return image_->scanLine(y);
}

const QImage* TBitmap::Image() const {
  gdi::EndPainting(image_.get());
  return image_.get();
}

void TBitmap::SetImage(const QImage& image) {
  gdi::EndPainting(image_.get());
  palette_.clear();
  if (image.isNull()) {
    image_.reset();
    width_ = height_ = 0;
  } else {
    image_ = std::make_unique<QImage>(image.convertToFormat(StorageFormat(pixelFormat_)));
    width_ = image_->width();
    height_ = image_->height();
    if (Indexed(pixelFormat_)) {
      if (image.colorCount() > 0) {
        palette_ = ColorsOf(image.colorTable());
      } else {
        Reduce();
      }
    }
  }
  Retarget();
  Changed();
}

void TBitmap::Assign(const TGraphic& source) {
  if (&source == this) return;
  const QImage* img = source.Image();
  SetImage(img ? *img : QImage());
}

void TBitmap::LoadFromData(const std::string& bytes) {
  QImage img;
  if (!img.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                        static_cast<int>(std::min<size_t>(bytes.size(), INT32_MAX)))) {
    throw EInvalidGraphic("Bitmap image is not valid");
  }
  if (img.colorCount() > 0) {
    pixelFormat_ = img.depth() == 1 ? pf1bit : pf8bit;
  } else if (Indexed(pixelFormat_)) {
    pixelFormat_ = pfDevice;
  }
  SetImage(img);
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
  auto copy = std::make_unique<TBitmap>();
  copy->pixelFormat_ = pixelFormat_;
  if (image_) {
    gdi::EndPainting(image_.get());
    copy->image_ = std::make_unique<QImage>(*image_);
    copy->width_ = width_;
    copy->height_ = height_;
    copy->Retarget();
  }
  copy->palette_ = palette_;
  copy->SetTransparent(GetTransparent());
  return copy;
}

// --- TPicture ---

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
  if (OnChange) OnChange();
}

void TPicture::Hook() {
  if (graphic_) graphic_->OnChange = [this] { Changed(); };
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  Hook();
  Changed();
}

TBitmap* TPicture::Bitmap() {
  if (auto* b = dynamic_cast<TBitmap*>(graphic_.get())) return b;
  SetGraphic(std::make_unique<TBitmap>());
  return static_cast<TBitmap*>(graphic_.get());
}

void TPicture::Assign(const TPicture* source) {
  if (source == this) return;
  Assign(source ? source->Graphic() : nullptr);
}

void TPicture::Assign(const TGraphic* source) {
  if (source && source == graphic_.get()) return;
  SetGraphic(source ? source->Clone() : nullptr);
}

void TPicture::ReadData(const std::string& data) {
  if (data.empty()) {
    SetGraphic(nullptr);
    return;
  }
  const size_t nameLen = static_cast<unsigned char>(data[0]);
  if (1 + nameLen + 4 > data.size()) throw EInvalidGraphic("Picture data is truncated");
  const std::string cls = data.substr(1, nameLen);
  const auto* p = reinterpret_cast<const unsigned char*>(data.data()) + 1 + nameLen;
  const std::uint32_t size = p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t{p[3]} << 24);
  const size_t start = 1 + nameLen + 4;
  if (size > data.size() - start) throw EInvalidGraphic("Picture data is truncated");
  const std::string bytes = data.substr(start, size);
  if (cls == "TBitmap") {
    auto b = std::make_unique<TBitmap>();
    b->LoadFromData(bytes);
    SetGraphic(std::move(b));
  } else if (cls == "TJPEGImage") {
    auto j = std::make_unique<TJPEGImage>();
    j->LoadFromData(bytes);
    SetGraphic(std::move(j));
  } else {
    throw EInvalidGraphic("Unknown picture format " + cls);
  }
}

}  // namespace platform

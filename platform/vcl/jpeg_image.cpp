#include "platform/vcl/jpeg_image.h"

#include <QImage>
#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/vcl/exception.h"

// The JPEG library's header expects these types to be declared first.
#include <jpeglib.h>

namespace platform {

namespace {

// The library's default error handler exits the process; ours jumps back to the decoder,
// which then reports the message as an exception.
struct Decoder {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  std::jmp_buf jump{};
  char message[JMSG_LENGTH_MAX] = {};
  std::vector<unsigned char> pixels;
  int width = 0;
  int height = 0;
  int components = 0;
};

void OnFatal(j_common_ptr info) {
  auto* d = reinterpret_cast<Decoder*>(info->client_data);
  (*info->err->format_message)(info, d->message);
  std::longjmp(d->jump, 1);
}

void OnWarning(j_common_ptr, int) {}

// Only trivially destructible locals live between setjmp and longjmp; the state is in *d.
bool Decode(Decoder* d, const unsigned char* data, unsigned long size) {
  d->info.err = jpeg_std_error(&d->errors);
  d->errors.error_exit = OnFatal;
  d->errors.emit_message = OnWarning;
  d->info.client_data = d;
  if (setjmp(d->jump)) {
    jpeg_destroy_decompress(&d->info);
    return false;
  }
  jpeg_create_decompress(&d->info);
  jpeg_mem_src(&d->info, data, size);
  jpeg_read_header(&d->info, TRUE);
  const bool cmyk = d->info.jpeg_color_space == JCS_CMYK || d->info.jpeg_color_space == JCS_YCCK;
  d->info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&d->info);
  d->width = static_cast<int>(d->info.output_width);
  d->height = static_cast<int>(d->info.output_height);
  d->components = d->info.output_components;
  constexpr unsigned long long kMaxPixels = 64ull * 1024 * 1024;
  if (d->width <= 0 || d->height <= 0 ||
      static_cast<unsigned long long>(d->width) * d->height > kMaxPixels) {
    std::snprintf(d->message, sizeof d->message, "Image is too large");
    jpeg_destroy_decompress(&d->info);
    return false;
  }
  d->pixels.resize(static_cast<size_t>(d->width) * d->height * d->components);
  while (d->info.output_scanline < d->info.output_height) {
    JSAMPROW row =
        d->pixels.data() + static_cast<size_t>(d->info.output_scanline) * d->width * d->components;
    jpeg_read_scanlines(&d->info, &row, 1);
  }
  jpeg_finish_decompress(&d->info);
  jpeg_destroy_decompress(&d->info);
  return true;
}

}  // namespace

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::LoadFromData(const std::string& bytes) {
  auto d = std::make_unique<Decoder>();
  if (!Decode(d.get(), reinterpret_cast<const unsigned char*>(bytes.data()),
              static_cast<unsigned long>(bytes.size()))) {
    throw EInvalidGraphic(std::string("JPEG error: ") + d->message);
  }
  auto image = std::make_unique<QImage>(d->width, d->height, QImage::Format_RGB32);
  if (image->isNull()) throw EInvalidGraphic("JPEG error: out of memory");
  const unsigned char* src = d->pixels.data();
  for (int y = 0; y < d->height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image->scanLine(y));
    for (int x = 0; x < d->width; ++x, src += d->components) {
      if (d->components == 4) {
        // Adobe writes CMYK inverted: each channel is already 255 - ink.
        const int k = src[3];
        line[x] = qRgb(src[0] * k / 255, src[1] * k / 255, src[2] * k / 255);
      } else {
        line[x] = qRgb(src[0], src[1], src[2]);
      }
    }
  }
  image_ = std::move(image);
  data_ = bytes;
  Changed();
}

void TJPEGImage::LoadFromFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EInvalidGraphic("Cannot open file " + path);
  LoadFromData(std::string(std::istreambuf_iterator<char>(in), {}));
}

int TJPEGImage::GetWidth() const {
  return image_ ? image_->width() : 0;
}
int TJPEGImage::GetHeight() const {
  return image_ ? image_->height() : 0;
}

std::unique_ptr<TGraphic> TJPEGImage::Clone() const {
  auto copy = std::make_unique<TJPEGImage>();
  if (image_) copy->image_ = std::make_unique<QImage>(*image_);
  copy->data_ = data_;
  copy->SetTransparent(GetTransparent());
  return copy;
}

}  // namespace platform

// Where a chart goes besides its window: bitmap files (PNG or BMP by the name's extension),
// pictures that vector tools open (SVG or PDF by the name's extension), and the clipboard.
// A picture is drawn through a canvas like a bitmap; besides its pixels it keeps what was drawn
// as shapes, lines and text, and its documents hold those, one pixel to one unit, with images
// kept lossless.
#pragma once

#include <memory>
#include <string>

#include "platform/vcl/exception.h"
#include "platform/vcl/graphics.h"

namespace platform {

class TBitmap;
namespace gdi {
class VectorLog;
}

// A file that cannot be written.
class EFCreateError : public Exception {
 public:
  using Exception::Exception;
};

enum class TExportFormat { Bmp, Png, Svg, Pdf };
// ".png" (any case) is PNG; anything else BMP.
TExportFormat BitmapFormatOf(const std::string& fileName);
// ".pdf" (any case) is PDF; anything else SVG.
TExportFormat PictureFormatOf(const std::string& fileName);

// EFCreateError when the file cannot be written.
void SaveBitmapToFile(const TBitmap& bitmap, const std::string& fileName);
void CopyBitmapToClipboard(const TBitmap& bitmap);
void CopyTextToClipboard(const std::string& text);
std::string ClipboardText();

// A drawing kept as a picture: Width x Height pixels (at least 1 x 1), drawn through Canvas,
// white to start with.
class TMetafile {
 public:
  TMetafile(int width, int height, bool enhanced);
  ~TMetafile();
  TMetafile(const TMetafile&) = delete;
  TMetafile& operator=(const TMetafile&) = delete;

  int Width() const;
  int Height() const;
  bool Enhanced() const { return enhanced_; }
  TCanvas* Canvas();
  const TBitmap& Bitmap() const { return *bitmap_; }
  const gdi::VectorLog& Vector() const { return *vector_; }
  // The documents' title.
  std::string Title;

  // The picture as an SVG document of Width x Height.
  std::string ToSvg() const;
  // SVG or PDF by the name's extension; EFCreateError when the file cannot be written.
  void SaveToFile(const std::string& fileName) const;
  // The image, and the SVG as "image/svg+xml".
  void CopyToClipboard() const;

 private:
  std::unique_ptr<TBitmap> bitmap_;
  std::shared_ptr<gdi::VectorLog> vector_;
  bool enhanced_ = true;
};

}  // namespace platform

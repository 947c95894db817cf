// Graphics and pictures: TGraphic (something with pixels), TBitmap (a drawable bitmap with a
// canvas) and TPicture (the holder a TImage shows, assignable from another picture).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/vcl/component.h"
#include "platform/vcl/graphics.h"
#include "platform/vcl/property.h"

class QImage;

namespace platform {

class TGraphic : public TPersistent {
 public:
  ~TGraphic() override;
  const char* ClassName() const override { return "TGraphic"; }

  virtual int GetWidth() const;
  virtual int GetHeight() const;
  bool Empty() const { return GetWidth() <= 0 || GetHeight() <= 0; }
  virtual std::unique_ptr<TGraphic> Clone() const = 0;

  // For the layer: the pixels to draw; nullptr when there are none.
  virtual const QImage* Image() const = 0;

  // A transparent graphic is drawn without the pixels of its transparent colour: the
  // bottom-left pixel's. A copy keeps the setting.
  bool GetTransparent() const { return transparent_; }
  void SetTransparent(const bool& v);
  TColor TransparentColor() const;

  std::function<void()> OnChange;

 protected:
  void Changed();

 private:
  bool transparent_ = false;
};

// pf1bit and pf8bit are indexed: the pixels use only the colours of the bitmap's palette.
enum TPixelFormat { pfDevice, pf24bit, pf1bit, pf8bit, pf16bit };

class TBitmap : public TGraphic {
 public:
  TBitmap();
  ~TBitmap() override;
  const char* ClassName() const override { return "TBitmap"; }

  int GetWidth() const override { return width_; }
  int GetHeight() const override { return height_; }
  // Resizing keeps the top-left content and fills new area with white.
  void SetWidth(const int& v) { SetSize(v, height_); }
  void SetHeight(const int& v) { SetSize(width_, v); }
  void SetSize(int width, int height);

  Property<int, TBitmap, &TBitmap::GetWidth, &TBitmap::SetWidth> Width{this};
  Property<int, TBitmap, &TBitmap::GetHeight, &TBitmap::SetHeight> Height{this};
  TCanvas* const Canvas;

  // pf24bit: rows of blue, green, red bytes for per-pixel code; pfDevice: the drawing format.
  // Changing it keeps the pixels, reduced to the palette it makes for an indexed format.
  TPixelFormat GetPixelFormat() const { return pixelFormat_; }
  void SetPixelFormat(const TPixelFormat& v);
  Property<TPixelFormat, TBitmap, &TBitmap::GetPixelFormat, &TBitmap::SetPixelFormat> PixelFormat{
      this};
  // The bytes of row y (null outside the bitmap): 3 per pixel in pf24bit, 2 in pf16bit, 4 in
  // the others (indexed bitmaps are drawn on at full depth).
  std::uint8_t* ScanLine(int y);
  // The depth the format stands for: 1, 8, 16, 24, or 32 for pfDevice.
  int BitsPerPixel() const;
  // The colours of an indexed bitmap; empty for the others.
  const std::vector<TColor>& GetPalette() const { return palette_; }

  // Copies the pixels of any graphic (a decoded JPEG, another bitmap).
  void Assign(const TGraphic& source);
  // Reads a BMP file image from memory; EInvalidGraphic when it is not one. A file of up to
  // 8 bits per pixel loads as an indexed bitmap with the file's palette.
  void LoadFromData(const std::string& bytes);

  std::unique_ptr<TGraphic> Clone() const override;
  const QImage* Image() const override;
  // For the layer: replaces the pixels.
  void SetImage(const QImage& image);

 private:
  void Retarget();
  // Indexed formats: the pixels reduced to a palette made for them.
  void Reduce();
  std::unique_ptr<QImage> image_;
  TPixelFormat pixelFormat_ = pfDevice;
  std::vector<TColor> palette_;
  int width_ = 0;
  int height_ = 0;
};

class TPicture : public TPersistent {
 public:
  TPicture();
  ~TPicture() override;
  const char* ClassName() const override { return "TPicture"; }

  TGraphic* Graphic() const { return graphic_.get(); }
  void SetGraphic(std::unique_ptr<TGraphic> graphic);
  // The picture's bitmap; when it holds something else (or nothing) that is replaced by an
  // empty bitmap first.
  TBitmap* Bitmap();
  int Width() const { return graphic_ ? graphic_->GetWidth() : 0; }
  int Height() const { return graphic_ ? graphic_->GetHeight() : 0; }

  // A copy of the other picture's graphic (nothing when it is empty).
  void Assign(const TPicture* source);
  void Assign(const TGraphic* source);

  // The layout's Picture.Data: a class name (one length byte, then the name: TBitmap or
  // TJPEGImage), a 32-bit little-endian byte count, then the BMP or JPEG file image.
  void ReadData(const std::string& data);

  std::function<void()> OnChange;

 private:
  void Changed();
  void Hook();
  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace platform

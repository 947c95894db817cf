// Drawing tools and the canvas: TFont, TPen, TBrush and TCanvas. A canvas draws into a bitmap
// with the component library's pixel rules: shapes exclude their right and bottom edge, lines
// exclude their end point, no antialiasing.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/vcl/colors.h"
#include "platform/vcl/component.h"
#include "platform/vcl/geometry.h"
#include "platform/vcl/property.h"

class QImage;

namespace platform {

namespace gdi {
class Dc;
struct LogPen;
struct LogFont;
}  // namespace gdi

class TGraphic;
class TBitmap;

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

// Screen resolution the layouts are written for: Size (points) and Height (pixels) convert at it.
constexpr int kPixelsPerInch = 96;

class TFont : public TPersistent {
 public:
  const char* ClassName() const override { return "TFont"; }

  std::string GetName() const { return name_; }
  void SetName(const std::string& v);
  int GetSize() const;
  void SetSize(const int& v);
  int GetHeight() const { return height_; }
  void SetHeight(const int& v);
  TColor GetColor() const { return color_; }
  void SetColor(const TColor& v);
  TFontStyles GetStyle() const { return style_; }
  void SetStyle(const TFontStyles& v);
  int GetCharset() const { return charset_; }
  void SetCharset(const int& v) {
    charset_ = v;
    ++version_;
  }

  Property<std::string, TFont, &TFont::GetName, &TFont::SetName> Name{this};
  Property<int, TFont, &TFont::GetSize, &TFont::SetSize> Size{this};
  // Negative: character height in pixels; positive: cell height.
  Property<int, TFont, &TFont::GetHeight, &TFont::SetHeight> Height{this};
  Property<TColor, TFont, &TFont::GetColor, &TFont::SetColor> Color{this};
  Property<TFontStyles, TFont, &TFont::GetStyle, &TFont::SetStyle> Style{this};
  Property<int, TFont, &TFont::GetCharset, &TFont::SetCharset> Charset{this};

  int GetPixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(const int& v) { pixelsPerInch_ = v > 0 ? v : kPixelsPerInch; }
  // Size converts to Height at this resolution.
  Property<int, TFont, &TFont::GetPixelsPerInch, &TFont::SetPixelsPerInch> PixelsPerInch{this};

  virtual void Assign(const TFont& other);
  // The font as the device context takes it.
  gdi::LogFont ToLogFont() const;
  // Called after every change; the owner re-applies the font to its widget.
  std::function<void()> OnChange;
  // Changes with every change of what ToLogFont gives.
  unsigned Version() const { return version_; }

 protected:
  void Changed();

 private:
  unsigned version_ = 0;
  int pixelsPerInch_ = kPixelsPerInch;
  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TColor color_ = clWindowText;
  TFontStyles style_;
  int charset_ = 1;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};
// The device context's raster operation (R2_*) of a pen mode.
int PenModeToRop2(TPenMode mode);

class TPen : public TPersistent {
 public:
  TPen();
  ~TPen() override;
  const char* ClassName() const override { return "TPen"; }

  TColor GetColor() const { return color_; }
  void SetColor(const TColor& v);
  // 0 is one device pixel whatever the mapping.
  int GetWidth() const { return width_; }
  void SetWidth(const int& v);
  TPenStyle GetStyle() const { return style_; }
  void SetStyle(const TPenStyle& v);
  TPenMode GetMode() const { return mode_; }
  void SetMode(const TPenMode& v);

  Property<TColor, TPen, &TPen::GetColor, &TPen::SetColor> Color{this};
  Property<int, TPen, &TPen::GetWidth, &TPen::SetWidth> Width{this};
  Property<TPenStyle, TPen, &TPen::GetStyle, &TPen::SetStyle> Style{this};
  Property<TPenMode, TPen, &TPen::GetMode, &TPen::SetMode> Mode{this};

  // A native pen that replaces what the properties describe, until a property changes.
  void SetHandle(const gdi::LogPen& pen);
  bool HasHandle() const { return handle_ != nullptr; }
  // The pen the device context draws with: the native one, or one made from the properties.
  gdi::LogPen Handle() const;

  virtual void Assign(const TPen& other);
  // Called after every change.
  std::function<void()> OnChange;
  // Changes whenever the pen becomes another.
  unsigned Version() const { return version_; }

 protected:
  void Changed() { Changed(true); }
  // changed: the pen is another than before.
  void Changed(bool changed);

 private:
  unsigned version_ = 0;
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
  std::unique_ptr<gdi::LogPen> handle_;
};

enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

class TBrush : public TPersistent {
 public:
  const char* ClassName() const override { return "TBrush"; }

  TColor GetColor() const { return color_; }
  void SetColor(const TColor& v);
  TBrushStyle GetStyle() const { return style_; }
  void SetStyle(const TBrushStyle& v);
  // A pattern that tiles instead of the style (not owned; null: none).
  TBitmap* GetBitmap() const { return bitmap_; }
  void SetBitmap(TBitmap* const& v);

  Property<TColor, TBrush, &TBrush::GetColor, &TBrush::SetColor> Color{this};
  Property<TBrushStyle, TBrush, &TBrush::GetStyle, &TBrush::SetStyle> Style{this};
  Property<TBitmap*, TBrush, &TBrush::GetBitmap, &TBrush::SetBitmap> Bitmap{this};

  virtual void Assign(const TBrush& other);
  // Called after every change.
  std::function<void()> OnChange;
  // Changes whenever the brush becomes another (not when its bitmap's pixels do).
  unsigned Version() const { return version_; }

 protected:
  void Changed() { Changed(true); }
  // changed: the brush is another than before.
  void Changed(bool changed);

 private:
  unsigned version_ = 0;
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  TBitmap* bitmap_ = nullptr;
};

class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;
  const char* ClassName() const override { return "TCanvas"; }

  TFont* const Font;
  TPen* const Pen;
  TBrush* const Brush;
  TPoint PenPos;

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void FillRect(const TRect& r);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  // Text with its top-left corner at (x, y), on the brush colour unless the brush is bsClear.
  void TextOut(int x, int y, const std::string& text);
  int TextWidth(const std::string& text);
  int TextHeight(const std::string& text);
  void Draw(int x, int y, const TGraphic* graphic);
  void StretchDraw(const TRect& r, const TGraphic* graphic);

  // 0x00BBGGRR of a pixel; -1 outside the bitmap.
  TColor GetPixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

  class PixelRow {
   public:
    PixelRow(TCanvas* c, int x) : c_(c), x_(x) {}
    class Ref {
     public:
      Ref(TCanvas* c, int x, int y) : c_(c), x_(x), y_(y) {}
      operator TColor() const { return c_->GetPixel(x_, y_); }
      Ref& operator=(TColor color) {
        c_->SetPixel(x_, y_, color);
        return *this;
      }

     private:
      TCanvas* c_;
      int x_, y_;
    };
    Ref operator[](int y) const { return Ref(c_, x_, y); }

   private:
    TCanvas* c_;
    int x_;
  };
  // Pixels[x][y]
  class PixelGrid {
   public:
    explicit PixelGrid(TCanvas* c) : c_(c) {}
    PixelRow operator[](int x) const { return PixelRow(c_, x); }

   private:
    TCanvas* c_;
  };
  PixelGrid Pixels{this};

  // The device context with this canvas's pen, brush and font selected (each only when it
  // changed since it was last selected).
  gdi::Dc* GetHandle();

  // The device behind the canvas: its depth in bits per pixel, and its size in millimetres (a
  // page from its resolution; a bitmap reports the screen's, as memory devices do; 0 unknown).
  int DeviceBitsPerPixel() const;
  double DeviceWidthMm() const;
  double DeviceHeightMm() const;

  // For the layer: the bitmap drawn into (nullptr: drawing does nothing) and the change hook.
  void SetTarget(QImage* image) { image_ = image; }
  std::function<void()> OnChange;
  // For the layer: the depth the surface stands for (0: its own), and the resolution of a
  // device other than the screen (a printer page; 0: none).
  void SetDeviceBitsPerPixel(int bits) { deviceBits_ = bits; }
  void SetDeviceResolution(int dpiX, int dpiY) {
    dpiX_ = dpiX;
    dpiY_ = dpiY;
  }

 private:
  void Changed();
  // Select the canvas's pen (with its raster operation), brush (with the background it sets)
  // and font (with its text colour) where the device context holds another.
  void SelectPen(gdi::Dc& dc);
  void SelectBrush(gdi::Dc& dc);
  void SelectFont(gdi::Dc& dc);
  QImage* image_ = nullptr;
  int deviceBits_ = 0;
  int dpiX_ = 0;
  int dpiY_ = 0;
  // Made on first use.
  std::shared_ptr<gdi::Dc> dc_;
  // The font changed since it was last selected into the device context.
  bool fontChanged_ = true;
  // What was selected into the device context at the last GetHandle: the device context's
  // selection and the tools' versions. While none of them changes, nothing needs selecting.
  unsigned selected_ = 0, penVersion_ = 0, brushVersion_ = 0, fontVersion_ = 0;
};

}  // namespace platform

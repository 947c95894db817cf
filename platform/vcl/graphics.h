// Drawing tools and the canvas: TFont, TPen, TBrush and TCanvas. A canvas draws into a bitmap
// with the component library's pixel rules: shapes exclude their right and bottom edge, lines
// exclude their end point, no antialiasing.
#pragma once

#include <functional>
#include <string>

#include "platform/vcl/colors.h"
#include "platform/vcl/component.h"
#include "platform/vcl/geometry.h"
#include "platform/vcl/property.h"

class QImage;

namespace platform {

class TGraphic;

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
  void SetCharset(const int& v) { charset_ = v; }

  Property<std::string, TFont, &TFont::GetName, &TFont::SetName> Name{this};
  Property<int, TFont, &TFont::GetSize, &TFont::SetSize> Size{this};
  // Negative: character height in pixels; positive: cell height.
  Property<int, TFont, &TFont::GetHeight, &TFont::SetHeight> Height{this};
  Property<TColor, TFont, &TFont::GetColor, &TFont::SetColor> Color{this};
  Property<TFontStyles, TFont, &TFont::GetStyle, &TFont::SetStyle> Style{this};
  Property<int, TFont, &TFont::GetCharset, &TFont::SetCharset> Charset{this};

  void Assign(const TFont& other);
  // Called after every change; the owner re-applies the font to its widget.
  std::function<void()> OnChange;

 private:
  void Changed();
  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TColor color_ = clWindowText;
  TFontStyles style_;
  int charset_ = 1;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

class TPen : public TPersistent {
 public:
  const char* ClassName() const override { return "TPen"; }

  TColor GetColor() const { return color_; }
  void SetColor(const TColor& v) { color_ = v; }
  int GetWidth() const { return width_; }
  void SetWidth(const int& v) { width_ = v < 1 ? 1 : v; }
  TPenStyle GetStyle() const { return style_; }
  void SetStyle(const TPenStyle& v) { style_ = v; }

  Property<TColor, TPen, &TPen::GetColor, &TPen::SetColor> Color{this};
  Property<int, TPen, &TPen::GetWidth, &TPen::SetWidth> Width{this};
  Property<TPenStyle, TPen, &TPen::GetStyle, &TPen::SetStyle> Style{this};

  void Assign(const TPen& other);

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
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
  void SetStyle(const TBrushStyle& v) { style_ = v; }

  Property<TColor, TBrush, &TBrush::GetColor, &TBrush::SetColor> Color{this};
  Property<TBrushStyle, TBrush, &TBrush::GetStyle, &TBrush::SetStyle> Style{this};

  void Assign(const TBrush& other);

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
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

  // For the layer: the bitmap drawn into (nullptr: drawing does nothing) and the change hook.
  void SetTarget(QImage* image) { image_ = image; }
  std::function<void()> OnChange;

 private:
  void Changed();
  QImage* image_ = nullptr;
};

}  // namespace platform

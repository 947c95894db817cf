// Framed boxes: the brush, frame and visibility every chart box has (TPlotCustomShapeBrushPen),
// the look of a box (TPlotCustomShape: bevel, colour, font, shadow, gradient, round corners,
// transparency) and its one drawing routine, a rectangle optionally turned and placed at a
// depth. Titles, legend, walls, marks and pointers build on them.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "chart/canvas/gradient.h"
#include "chart/canvas/pens.h"
#include "chart/canvas/plot_font.h"
#include "chart/canvas/shadow.h"
#include "platform/vcl/component.h"
#include "platform/vcl/standard_controls.h"

namespace chart {

class TCustomPlotPanel;
class TCanvas3D;

enum TChartObjectShapeStyle { fosRectangle, fosRoundRectangle };
enum TTextFormat { ttfNormal, ttfHtml };

// The corners of r turned by angle degrees about its centre: (Left, Top), (Right, Top),
// (Right, Bottom), (Left, Bottom).
TFourPoints RectToFourPoints(const TRect& r, double angle);

// A bevel inside r (shrunk by width afterwards): rounded in one colour when roundSize > 0, else
// a 3D frame; nothing for bvNone.
void DrawBevel(TCanvas3D& canvas, platform::TBevelCut bevel, TRect& r, int roundSize, int width);

using TChartBrushClass = std::function<std::unique_ptr<TChartBrush>(std::function<void()>)>;

class TPlotCustomShapeBrushPen : public platform::TPersistent {
 public:
  // brushClass makes the fill brush (null: a TChartBrush).
  explicit TPlotCustomShapeBrushPen(TCustomPlotPanel* parent = nullptr,
                                    const TChartBrushClass& brushClass = {});
  ~TPlotCustomShapeBrushPen() override;
  const char* ClassName() const override { return "TPlotCustomShapeBrushPen"; }

  virtual void SetParent(TCustomPlotPanel* panel) { parent_ = panel; }
  TCustomPlotPanel* ParentChart() const { return parent_; }

  TChartBrush* GetBrush() const { return brush_.get(); }
  void SetBrush(const TChartBrush* value);
  TChartPen* GetFrame() const { return frame_.get(); }
  void SetPen(const TChartPen* value);
  bool GetVisible() const { return visible_; }
  void SetVisible(const bool& value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

  // The parent's Invalidate (nothing without a parent).
  void Repaint();
  virtual void CanvasChanged() { Repaint(); }
  // Brush, Frame and Visible of another brush-pen; anything else is ignored.
  virtual void Assign(const platform::TPersistent* source);

 protected:
  void SetBooleanProperty(bool& variable, bool value);
  void SetColorProperty(TColor& variable, TColor value);

 private:
  TCustomPlotPanel* parent_ = nullptr;
  std::unique_ptr<TChartBrush> brush_;
  std::unique_ptr<TChartPen> frame_;
  bool visible_ = true;
};

class TPlotCustomShape : public TPlotCustomShapeBrushPen {
 public:
  explicit TPlotCustomShape(TCustomPlotPanel* parent = nullptr,
                            const TChartBrushClass& brushClass = {},
                            const TPlotGradientClass& gradientClass = {});
  ~TPlotCustomShape() override;
  const char* ClassName() const override { return "TPlotCustomShape"; }

  // Black, 3 by 3, and those as the values not written to a layout.
  static void InitShadow(TPlotShadow& shadow);

  platform::TBevelCut GetBevel() const { return bevel_; }
  void SetBevel(const platform::TBevelCut& value);
  int GetBevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(const int& value);
  TColor GetColor() const { return color_; }
  void SetColor(const TColor& value);
  TPlotFont* GetFont() const { return font_.get(); }
  void SetFont(const TPlotFont* value);
  // Null once SetShadow(nullptr) freed it.
  TPlotShadow* GetShadow() const { return shadow_.get(); }
  void SetShadow(const TPlotShadow* value);
  TChartObjectShapeStyle GetShapeStyle() const { return shapeStyle_; }
  void SetShapeStyle(const TChartObjectShapeStyle& value);
  TTextFormat GetTextFormat() const { return textFormat_; }
  void SetTextFormat(const TTextFormat& value);
  bool GetTransparent() const { return transparent_; }
  void SetTransparent(const bool& value);
  bool IsTransparentStored() const { return transparent_ != DefaultTransparent; }
  // Made on first read.
  TCustomPlotGradient* GetGradient();
  TCustomPlotGradient* GradientIfAny() const { return gradient_.get(); }
  void SetGradient(const TCustomPlotGradient* value);
  // Percent, 0..100 (clamped).
  TPlotTransparency GetTransparency() const { return transparency_; }
  void SetTransparency(const TPlotTransparency& value);

  // The shadow's colour and size (the larger offset; setting sets both). No shadow: clNone, 0.
  TColor GetShadowColor() const;
  void SetShadowColor(const TColor& value);
  int GetShadowSize() const;
  void SetShadowSize(const int& value);
  // Old layouts: "ShadowColor" (a colour name such as clBlack, or an integer) and "ShadowSize".
  // False for a value that is neither.
  bool ReadShadowColor(const std::string& value);
  void ReadShadowSize(int value);

  // Width and height count both edges of ShapeBounds.
  int GetWidth() const { return ShapeBounds.Right - ShapeBounds.Left + 1; }
  void SetWidth(int value) { ShapeBounds.Right = ShapeBounds.Left + value - 1; }
  int GetHeight() const { return ShapeBounds.Bottom - ShapeBounds.Top + 1; }
  void SetHeight(int value) { ShapeBounds.Bottom = ShapeBounds.Top + value - 1; }

  void Assign(const platform::TPersistent* source) override;

  void Draw() { DrawRectRotated(ShapeBounds, 0, 0); }
  // On the parent's canvas: shadow, gradient or brush, frame and bevel of r turned by angle
  // degrees at depth z. Nothing without a parent or when Transparent.
  void DrawRectRotated(const TRect& r, double angle, int z);

  TRect ShapeBounds;
  bool DefaultTransparent = false;

 private:
  void Outline(TCanvas3D& canvas, const TRect& r, double angle, int z);
  void DrawShadow(TCanvas3D& canvas, const TRect& r, double angle, int z);
  // The rectangle whose outline is the shadow of r: moved by the shadow's offsets, and by the
  // frame's width when the frame shows.
  TRect ShadowRect(const TRect& r) const;

  TPlotGradientClass gradientClass_;
  platform::TBevelCut bevel_ = platform::bvNone;
  int bevelWidth_ = 2;
  TColor color_ = platform::clWhite;
  std::unique_ptr<TPlotFont> font_;
  std::unique_ptr<TPlotShadow> shadow_;
  TChartObjectShapeStyle shapeStyle_ = fosRectangle;
  TTextFormat textFormat_ = ttfNormal;
  bool transparent_ = false;
  std::unique_ptr<TCustomPlotGradient> gradient_;
  TPlotTransparency transparency_ = 0;
};

// The stand-alone shape; it publishes the properties.
class TPlotShape : public TPlotCustomShape {
 public:
  using TPlotCustomShape::TPlotCustomShape;
  const char* ClassName() const override { return "TPlotShape"; }
};

}  // namespace chart

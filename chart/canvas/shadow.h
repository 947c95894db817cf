// An offset shadow behind a rectangle or ellipse, optionally fading towards white at its edge
// and translucent.
#pragma once

#include <functional>
#include <memory>

#include "chart/canvas/plot_canvas.h"
#include "platform/vcl/component.h"

namespace chart {

class TPlotShadow : public platform::TPersistent {
 public:
  explicit TPlotShadow(std::function<void()> onChange = {});
  ~TPlotShadow() override;
  const char* ClassName() const override { return "TPlotShadow"; }

  // Colour, sizes, smoothness and transparency of another shadow; anything else is ignored.
  void Assign(const platform::TPersistent* source);

  TColor GetColor() const { return color_; }
  void SetColor(const TColor& v);
  int GetHorizSize() const { return horizSize_; }
  void SetHorizSize(const int& v);
  int GetVertSize() const { return vertSize_; }
  void SetVertSize(const int& v);
  // The larger of the two sizes; writing sets both.
  int GetSize() const;
  void SetSize(const int& v);
  bool GetSmooth() const { return smooth_; }
  void SetSmooth(const bool& v);
  // Percent, 0..100 (clamped).
  TPlotTransparency GetTransparency() const { return transparency_; }
  void SetTransparency(const TPlotTransparency& v);

  bool IsColorStored() const { return color_ != DefaultColor; }
  bool IsHorizStored() const { return horizSize_ != DefaultSize; }
  bool IsVertStored() const { return vertSize_ != DefaultSize; }

  // The values that are not written to a layout; owners change them (shapes: black, 3).
  TColor DefaultColor = platform::clSilver;
  int DefaultSize = 0;

  // False (nothing to draw) for clNone or both sizes 0; else sets brush and pen and starts the
  // blend of a translucent shadow.
  bool PrepareCanvas(TCanvas3D& canvas, const TRect& r, int z);
  void FinishBlending(TPlotCanvas& canvas);
  void Draw(TCanvas3D& canvas, const TRect& r, int z = 0);
  void DrawEllipse(TCanvas3D& canvas, const TRect& r, int z = 0);

 private:
  void Changed();

  std::function<void()> onChange_;
  TColor color_ = platform::clSilver;
  int horizSize_ = 0;
  int vertSize_ = 0;
  bool smooth_ = true;
  TPlotTransparency transparency_ = 0;
  std::unique_ptr<TPlotBlend> blend_;
};

}  // namespace chart

// A fill from a start colour to an end colour in one of ten directions, optionally through a
// middle colour, with a movable balance point, or radial about a movable centre.
#pragma once

#include <functional>
#include <memory>
#include <span>

#include "chart/canvas/plot_canvas.h"
#include "platform/vcl/component.h"

namespace chart {

class TCustomPlotGradient : public platform::TPersistent {
 public:
  explicit TCustomPlotGradient(std::function<void()> onChange = {});
  ~TCustomPlotGradient() override;
  const char* ClassName() const override { return "TCustomPlotGradient"; }

  // Every setting, the middle-colour flag included; a source that is no gradient is ignored.
  virtual void Assign(const platform::TPersistent* source);

  int GetBalance() const { return balance_; }
  void SetBalance(const int& v);
  TGradientDirection GetDirection() const { return direction_; }
  void SetDirection(const TGradientDirection& v);
  TColor GetEndColor() const { return endColor_; }
  void SetEndColor(const TColor& v);
  // clNone while no middle colour is in use.
  TColor GetMidColor() const;
  // clNone removes the middle colour; another colour sets it.
  void SetMidColor(const TColor& v);
  int GetRadialX() const { return radialX_; }
  void SetRadialX(const int& v);
  int GetRadialY() const { return radialY_; }
  void SetRadialY(const int& v);
  TColor GetStartColor() const { return startColor_; }
  void SetStartColor(const TColor& v);
  bool GetVisible() const { return visible_; }
  void SetVisible(const bool& v);
  bool HasMiddleColor() const { return hasMiddle_; }
  void UseMiddleColor();

  // The main entry: clipped to rounded corners of roundSize when above 0.
  void Draw(TPlotCanvas& canvas, const TRect& r, int roundSize = 0);
  // Clipped to the four points, filling their bounding rectangle.
  void Draw(TPlotCanvas& canvas, const TFourPoints& p);
  // The four points projected at depth z first.
  void Draw(TCanvas3D& canvas, const TFourPoints& p, int z);
  // Clipped to the polygon of points (projected at z when is3D).
  void Draw(TCanvas3D& canvas, std::span<const TPoint> points, int z, bool is3D);
  // Ellipses from the outside in, centre in the start colour; an empty rectangle draws nothing.
  void DrawRadial(TPlotCanvas& canvas, const TRect& r);

 protected:
  void Changed();
  std::function<void()> onChange_;

 private:
  int balance_ = 50;
  TGradientDirection direction_ = gdTopBottom;
  TColor endColor_ = platform::clYellow;
  TColor midColor_ = platform::clNone;
  int radialX_ = 0;
  int radialY_ = 0;
  TColor startColor_ = platform::clWhite;
  bool visible_ = false;
  bool hasMiddle_ = false;
};

class TPlotGradient : public TCustomPlotGradient {
 public:
  using TCustomPlotGradient::TCustomPlotGradient;
  const char* ClassName() const override { return "TPlotGradient"; }
};

// The class hook owners use to make their gradient (shapes pick the font gradient for text).
using TPlotGradientClass =
    std::function<std::unique_ptr<TCustomPlotGradient>(std::function<void()> onChange)>;

}  // namespace chart

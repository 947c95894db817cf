// The chart font: the platform font with extra space between characters, an outline pen, a
// shadow and a gradient, the last three made on first read.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "chart/canvas/gradient.h"
#include "chart/canvas/pens.h"
#include "chart/canvas/shadow.h"
#include "platform/vcl/graphics.h"

namespace chart {

class TPlotCanvas;

class TPlotFontGradient : public TCustomPlotGradient {
 public:
  using TCustomPlotGradient::TCustomPlotGradient;
  const char* ClassName() const override { return "TPlotFontGradient"; }

  void Assign(const platform::TPersistent* source) override;

  // Fill only the outline of the text.
  bool GetOutline() const { return outline_; }
  void SetOutline(const bool& v);

 private:
  bool outline_ = false;
};

class TPlotFont : public platform::TFont {
 public:
  explicit TPlotFont(std::function<void()> onChange = {});
  ~TPlotFont() override;
  const char* ClassName() const override { return "TPlotFont"; }

  // From another chart font also gradient, spacing, outline and shadow.
  void Assign(const platform::TFont& source) override;

  int GetInterCharSize() const { return interCharSize_; }
  void SetInterCharSize(const int& v);

  // Made on first read, with the font's notification.
  TPlotFontGradient* GetGradient();
  TChartHiddenPen* GetOutLine();
  TPlotShadow* GetShadow();
  // The sub-object if it has been made, without making it.
  TPlotFontGradient* GradientIfAny() const { return gradient_.get(); }
  TChartHiddenPen* OutLineIfAny() const { return outLine_.get(); }
  TPlotShadow* ShadowIfAny() const { return shadow_.get(); }
  // Null frees the sub-object; otherwise it is assigned into (made first).
  void SetGradient(const TPlotFontGradient* v);
  void SetOutLine(const TChartHiddenPen* v);
  void SetShadow(const TPlotShadow* v);

  bool IsColorStored() const { return GetColor() != DefaultColor; }
  bool IsHeightStored() const;
  bool IsNameStored() const;
  bool IsStyleStored() const { return !(GetStyle() == DefaultStyle); }

  // The values that are not written to a layout; owners change them.
  TColor DefaultColor = platform::clBlack;
  platform::TFontStyles DefaultStyle;

 private:
  friend class TPlotCanvas;

  std::function<void()> notify_;
  // The canvases whose current font this is: they forget it when it goes.
  std::vector<TPlotCanvas*> canvases_;
  int interCharSize_ = 0;
  std::unique_ptr<TPlotFontGradient> gradient_;
  std::unique_ptr<TChartHiddenPen> outLine_;
  std::unique_ptr<TPlotShadow> shadow_;
};

}  // namespace chart

// The chart's pens and brushes: the platform pen and brush with the few settings chart elements
// need (visibility, small dots, end caps, an image pattern), and the routines that turn a chart
// pen into the device context's pen.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "chart/canvas/canvas_unit.h"
#include "platform/gdi/dc.h"
#include "platform/vcl/graphics.h"

namespace platform {
class TPicture;
}

namespace chart {

using platform::TColor;

enum TPenEndStyle : std::uint8_t { esRound = 0, esSquare = 1, esFlat = 2 };

class TChartPen : public platform::TPen {
 public:
  explicit TChartPen(std::function<void()> onChange = {});
  const char* ClassName() const override { return "TChartPen"; }

  // From another chart pen also Visible, SmallDots, SmallSpace and EndStyle (not the defaults).
  void Assign(const platform::TPen& source) override;

  TPenEndStyle GetEndStyle() const { return endStyle_; }
  void SetEndStyle(const TPenEndStyle& v);
  bool GetSmallDots() const { return smallDots_; }
  void SetSmallDots(const bool& v);
  int GetSmallSpace() const { return smallSpace_; }
  void SetSmallSpace(const int& v);
  bool GetVisible() const { return visible_; }
  void SetVisible(const bool& v);

  void Hide() { SetVisible(false); }
  void Show() { SetVisible(true); }

  bool IsEndStored() const { return endStyle_ != EndStyleDefault; }
  bool IsVisibleStored() const { return visible_ != VisibleDefault; }

  // The values that are not written to a layout; descendants change them.
  TPenEndStyle EndStyleDefault = esRound;
  bool VisibleDefault = true;

 private:
  TPenEndStyle endStyle_ = esRound;
  bool smallDots_ = false;
  int smallSpace_ = 0;
  bool visible_ = true;
};

class TChartHiddenPen : public TChartPen {
 public:
  explicit TChartHiddenPen(std::function<void()> onChange = {});
  const char* ClassName() const override { return "TChartHiddenPen"; }
};

class TDottedGrayPen : public TChartPen {
 public:
  explicit TDottedGrayPen(std::function<void()> onChange = {});
  const char* ClassName() const override { return "TDottedGrayPen"; }
};

class TDarkGrayPen : public TChartPen {
 public:
  explicit TDarkGrayPen(std::function<void()> onChange = {});
  const char* ClassName() const override { return "TDarkGrayPen"; }
};

class TWhitePen : public TChartPen {
 public:
  explicit TWhitePen(std::function<void()> onChange = {});
  const char* ClassName() const override { return "TWhitePen"; }
};

class TChartBrush : public platform::TBrush {
 public:
  // Colour starts as clDefault: the owner substitutes its own colour.
  explicit TChartBrush(std::function<void()> onChange = {});
  ~TChartBrush() override;
  const char* ClassName() const override { return "TChartBrush"; }

  // From another chart brush also its image (none clears this one's).
  void Assign(const platform::TBrush& source) override;
  // bsClear and no image.
  void Clear();

  // Made on first read; loading a graphic into it notifies the owner.
  platform::TPicture* GetImage();
  // The image if one has been made, without making it.
  platform::TPicture* ImageIfAny() const { return image_.get(); }
  // A copy of picture, or (null) no image; notifies in both cases.
  void SetImage(const platform::TPicture* picture);

  bool IsColorStored() const { return GetColor() != platform::clDefault; }

 private:
  std::unique_ptr<platform::TPicture> image_;
};

// A pen of one-pixel dots: every other pixel for space <= 0, else dots space + 1 pixels apart.
platform::gdi::LogPen PlotCreatePenSmallDots(TColor color, int space);

// Prepares pen from chartPen in color; wide pens also set dc's raster operation (dc may be null).
void PlotSetPlotPen(platform::TPen* pen, const TChartPen* chartPen, TColor color,
                    platform::gdi::Dc* dc);

}  // namespace chart

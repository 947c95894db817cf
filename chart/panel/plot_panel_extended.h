// The drawing panel with what a chart needs around its plot: a background of a gradient or a
// picture, the panel shadow, the zoom settings and the rectangle drawn while zooming, the
// permission to pan, and the undo of a zoom.
#pragma once

#include <memory>
#include <vector>

#include "chart/canvas/gradient.h"
#include "chart/panel/back_image.h"
#include "chart/panel/plot_panel.h"
#include "chart/panel/zoom_panning.h"
#include "platform/vcl/layout_text.h"

namespace chart {

enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };

class TCustomPlotPanelExtended : public TCustomPlotPanel {
 public:
  explicit TCustomPlotPanelExtended(
      platform::TComponent* Owner,
      platform::TPanelSurface surface = platform::TPanelSurface::Window);
  ~TCustomPlotPanelExtended() override;
  const char* ClassName() const override { return "TCustomPlotPanelExtended"; }

  // The background of rectangle r: the gradient, or the panel colour.
  virtual void FillPanelRect(const TRect& r);
  // The whole panel behind the chart: shadow, background, back image (unless inside), bevels.
  virtual void PanelPaint(TRect r);
  // The back image into r at depth z, in its mode.
  void DrawBitmap(TRect r, int z);
  // The zoom rectangle, inverted over what is there: drawing it twice leaves no trace.
  void DrawZoomRectangle();
  // Calls OnUndoZoom, repaints and forgets the zoom; the chart resets its axes first.
  virtual void UndoZoom();

  TPanningMode GetAllowPanning() const { return allowPanning_; }
  void SetAllowPanning(const TPanningMode& v);
  // Made on first read.
  TBackImage* GetBackImage();
  bool HasBackImage() const;
  // Null frees the back image; else a copy goes into it.
  void SetBackImage(const platform::TPicture* value);
  bool GetBackImageInside() const;
  void SetBackImageInside(const bool& v);
  TPlotBackImageMode GetBackImageMode();
  void SetBackImageMode(const TPlotBackImageMode& v);
  // The back image's graphic leaves out its transparent colour (the bottom-left pixel's).
  bool GetBackImageTransp() const;
  void SetBackImageTransp(const bool& v);
  // The back image's palette when it is an indexed bitmap; empty otherwise.
  std::vector<TColor> GetPalette() const override;
  // Made on first read.
  TPlotGradient* GetGradient();
  bool HasGradient() const { return gradient_ != nullptr; }
  void SetGradient(const TCustomPlotGradient* value);
  TPlotZoom* GetZoom() const { return zoom_.get(); }
  void SetZoom(const TPlotZoom* value);

  bool GetAllowZoom() const { return zoom_->Allow; }
  void SetAllowZoom(const bool& v) { zoom_->Allow = v; }
  bool GetAnimatedZoom() const { return zoom_->Animated; }
  void SetAnimatedZoom(const bool& v) { zoom_->Animated = v; }
  int GetAnimatedZoomSteps() const { return zoom_->AnimatedSteps; }
  void SetAnimatedZoomSteps(const int& v) { zoom_->AnimatedSteps = v; }

  // From another extended panel the back image, gradient, panning and zoom; then the panel's.
  void Assign(const platform::TPersistent* source) override;

  // Legacy properties of stored layouts: "AllowZoom", "AnimatedZoom" (Boolean) and
  // "AnimatedZoomSteps" (integer) go into Zoom. False for another name.
  bool ReadLegacyZoomProperty(const std::string& name, const platform::TLayoutValue& value);
  // "PrintMargins": four integers, left, top, right, bottom. Written only when stored.
  void ReadPrintMargins(const platform::TLayoutValue& value);
  bool IsPrintMarginsStored() const;

  bool Zoomed() const { return zoomed_; }
  // Set by the chart after it zoomed.
  void SetZoomed(bool v) { zoomed_ = v; }

  platform::TNotifyEvent OnAfterDraw;
  platform::TNotifyEvent OnScroll;
  platform::TNotifyEvent OnUndoZoom;
  platform::TNotifyEvent OnZoom;

 private:
  TPanningMode allowPanning_ = pmBoth;
  std::unique_ptr<TPlotGradient> gradient_;
  std::unique_ptr<TPlotZoom> zoom_;
  std::unique_ptr<TBackImage> backImage_;
  bool zoomed_ = false;
};

}  // namespace chart

// The panel every chart is drawn on. One paint is one drawing pass into the canvas's buffer:
// the canvas prepares its target, the panel computes the chart rectangle from its bounds,
// frame and margins, the descendant draws (InternalDraw), and the buffer is copied to the
// window. A repaint with nothing changed only copies the buffer again. Listeners (tools) get
// the panel's events and its mouse, in order, until one sets CancelMouse.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/pens.h"
#include "chart/canvas/shadow.h"
#include "chart/canvas/view3d.h"
#include "chart/panel/print_margins.h"
#include "platform/vcl/mouse.h"
#include "platform/vcl/picture.h"
#include "platform/vcl/plot_widget.h"
#include "platform/vcl/printer.h"

namespace platform {
class TMetafile;
}

namespace chart {

using platform::TPoint;
using platform::TRect;

class TCustomPlotPanel;
class TZoomPanning;

enum TPlotUnits { muPercent, muPixels };

// Events a panel broadcasts to its listeners.
class TPlotEvent {
 public:
  virtual ~TPlotEvent() = default;
  TCustomPlotPanel* Sender = nullptr;
};

enum TPlotMouseEventKind { meDown, meUp, meMove };

class TPlotMouseEvent : public TPlotEvent {
 public:
  TPlotMouseEventKind Event = meDown;
  platform::TMouseButton Button = platform::mbLeft;
  platform::TShiftState Shift;
  int X = 0;
  int Y = 0;
};

// View3D changed.
class TPlotView3DEvent : public TPlotEvent {};

class IPlotEventListener {
 public:
  virtual ~IPlotEventListener() = default;
  virtual void PlotEvent(TPlotEvent& event) = 0;
};

// The listeners of one panel, in order. Not owned: a listener removes itself before it goes.
class TPlotEventListeners {
 public:
  // The index the listener has (it is never added twice).
  int Add(IPlotEventListener* listener);
  // Null for an index outside the list.
  IPlotEventListener* Get(int index) const;
  // The index it had, or -1.
  int Remove(IPlotEventListener* listener);
  int IndexOf(const IPlotEventListener* listener) const;
  int Count() const { return static_cast<int>(items_.size()); }

 private:
  std::vector<IPlotEventListener*> items_;
};

using TPlotPrintEvent =
    std::function<void(platform::TObject* Sender, platform::TCanvas* Canvas, const TRect& R)>;

// Switches of the panel unit.
extern bool PlotClipWhenPrinting;
extern bool PlotClipWhenMetafiling;
extern bool PlotEraseBack;
extern bool PrintPlotPanel;

class TCustomPlotPanel : public platform::TCustomPanel {
 public:
  explicit TCustomPlotPanel(platform::TComponent* Owner,
                            platform::TPanelSurface surface = platform::TPanelSurface::Window);
  ~TCustomPlotPanel() override;
  const char* ClassName() const override { return "TCustomPlotPanel"; }

  // Typed setters: store and Invalidate, only when the value differs.
  void SetBooleanProperty(bool& variable, bool value);
  void SetColorProperty(TColor& variable, TColor value);
  void SetDoubleProperty(double& variable, double value);
  void SetIntegerProperty(int& variable, int value);
  void SetStringProperty(std::string& variable, const std::string& value);

  // Nothing while AutoRepaint is off; else the buffer turns stale and the window gets a paint.
  void Invalidate() override;
  // The change notification of owned pens, brushes, shadow and gradient.
  virtual void CanvasChanged();

  // One drawing pass onto canvas (the window's by default) within r.
  void Draw();
  virtual void Draw(platform::TCanvas* canvas, const TRect& r);
  // The panel's own rectangle: the client area.
  virtual TRect GetRectangle();
  virtual TColor GetBackColor();
  // Recomputes ChartWidth, ChartHeight and the centre from ChartRect (see the .cpp).
  void ReCalcWidthHeight();
  virtual void DrawPanelBevels(TRect r);

  // Settings.
  TChartHiddenPen* GetBorder() const { return border_.get(); }
  void SetBorder(const TChartPen* value);
  int GetBorderRound() const { return borderRound_; }
  void SetBorderRound(const int& value);
  // Legacy "BorderStyle": bsSingle shows the border, anything else hides it.
  platform::TBorderStyle GetBorderStyle() const;
  void SetTheBorderStyle(platform::TBorderStyle value);
  bool GetBufferedDisplay();
  void SetBufferedDisplay(const bool& value);
  // 0 left, 1 top, 2 right, 3 bottom; other indexes read 0 and are not stored.
  int GetMargin(int index) const;
  void SetMargin(int index, int value);
  int GetMarginLeft() const { return margins_[0]; }
  void SetMarginLeft(const int& v) { SetMargin(0, v); }
  int GetMarginTop() const { return margins_[1]; }
  void SetMarginTop(const int& v) { SetMargin(1, v); }
  int GetMarginRight() const { return margins_[2]; }
  void SetMarginRight(const int& v) { SetMargin(2, v); }
  int GetMarginBottom() const { return margins_[3]; }
  void SetMarginBottom(const int& v) { SetMargin(3, v); }
  TPlotUnits GetMarginUnits() const { return marginUnits_; }
  void SetMarginUnits(const TPlotUnits& value);
  bool GetMonochrome();
  void SetMonochrome(const bool& value);
  bool GetPrintProportional() const { return printProportional_; }
  void SetPrintProportional(const bool& v) { SetBooleanProperty(printProportional_, v); }
  int GetPrintResolution() const { return printResolution_; }
  // Clamped to kMinPrintResolution..kMaxPrintResolution.
  void SetPrintResolution(const int& v) {
    SetIntegerProperty(printResolution_, ClampPrintResolution(v));
  }
  TPlotShadow* GetShadow() const { return shadow_.get(); }
  void SetShadow(const TPlotShadow* value);
  bool GetView3D() const { return view3D_; }
  // Broadcasts a TPlotView3DEvent after a change.
  void SetView3D(const bool& value);
  TView3DOptions* GetView3DOptions() const { return view3DOptions_.get(); }
  void SetView3DOptions(const TView3DOptions* value);

  // The drawing canvas. Setting one takes it over (null is ignored), carries the old one's
  // settings into it, and repaints.
  TCanvas3D* GetCanvas3D() const { return internalCanvas_.get(); }
  void SetInternalCanvas(std::unique_ptr<TCanvas3D> canvas);
  // The canvas's brush from brush in color; a pattern the colour of the background shows
  // black instead (white on black).
  void SetBrushCanvas(TColor color, TChartBrush* brush, TColor backColor);
  // From the depth of the device drawn on: 15 bits per pixel or more.
  bool IsScreenHighColor();
  // Width by height of the canvas's device in millimetres; 0 without a height.
  static double ScreenRatio(platform::TCanvas* canvas);
  // Whether drawing may clip now (printing and metafiling follow their switches).
  bool CanClip();
  TPoint GetCursorPos() const { return ClientCursorPos(); }

  // Listeners and events.
  // Returns the event (Sender set to the panel).
  TPlotEvent& BroadcastPlotEvent(TPlotEvent& event);
  void BroadcastMouseEvent(TPlotMouseEventKind kind, platform::TMouseButton button,
                           platform::TShiftState shift, int x, int y);
  TPlotEventListeners& Listeners() { return listeners_; }
  void RemoveListener(IPlotEventListener* listener);

  // From another panel: Border, BorderRound, BufferedDisplay, the print settings, margins and
  // units, Monochrome, Shadow, View3D, View3DOptions and Color. Anything else cannot be
  // assigned (EConvertError-like platform::Exception).
  virtual void Assign(const platform::TPersistent* source);
  // Into a graphic or picture: a bitmap of the panel. Anything else cannot be assigned.
  virtual void AssignTo(platform::TPersistent* dest);
  void Loaded() override;

  // Export (export.cpp): a drawing pass onto canvas without touching the window's buffer.
  // The canvas returns to the window afterwards, also when drawing fails.
  void NonBufferDraw(platform::TCanvas* canvas, const TRect& r);
  void DrawToMetaCanvas(platform::TCanvas* canvas, const TRect& r);
  std::unique_ptr<platform::TBitmap> PlotCreateBitmap(TColor backColor, const TRect& r,
                                                      platform::TPixelFormat pixelFormat);
  std::unique_ptr<platform::TBitmap> PlotCreateBitmap();
  // Files and clipboard (export.cpp). Bitmaps are PNG or BMP by the name's extension, pictures
  // SVG or PDF; a rectangle away from the origin is drawn as if it were at the origin.
  void SaveToBitmapFile(const std::string& fileName);
  void SaveToBitmapFile(const std::string& fileName, const TRect& r);
  void CopyToClipboardBitmap();
  void CopyToClipboardBitmap(const TRect& r);
  std::unique_ptr<platform::TMetafile> PlotCreateMetafile(bool enhanced, const TRect& r);
  void SaveToMetafile(const std::string& fileName);
  void SaveToMetafileEnh(const std::string& fileName);
  void SaveToMetafileRect(bool enhanced, const std::string& fileName, const TRect& r);
  void CopyToClipboardMetafile(bool enhanced);
  void CopyToClipboardMetafile(bool enhanced, const TRect& r);
  // Printing (print.cpp), on the program's printer.
  void Print();
  void PrintPortrait();
  void PrintLandscape();
  void PrintOrientation(platform::TPrinterOrientation orientation);
  // r in printer pixels.
  void PrintRect(const TRect& r);
  void PrintPartial(const TRect& r);
  void PrintPartialCanvas(platform::TCanvas* canvas, const TRect& r);
  TRect ChartPrintRect();
  TRect CalcProportionalMargins();

  // Read and set by the layers above.
  bool MultiDepth = true;
  bool AutoRepaint = true;
  bool CancelMouse = false;
  TRect ChartBounds;
  TRect ChartRect;
  int ChartWidth = 0;
  int ChartHeight = 0;
  int ChartXCenter = 0;
  int ChartYCenter = 0;
  bool FixedChartRect = false;
  int Depth3D = 0;
  int Depth3DY = 0;
  platform::TCanvas* ControlCanvas = nullptr;
  platform::TCursor SavedCursor = platform::crDefault;
  bool Printing = false;
  // Percent of the page: left, top, right, bottom.
  TRect PrintMargins{15, 15, 15, 15};
  TPlotPrintEvent OnBeforePrint;
  TZoomPanning* Panning() const { return panning_.get(); }

  // Drawing passes run (headless tests count paints against these).
  int DrawCount() const { return drawCount_; }

 protected:
  // The chart proper over the area to fill (ChartBounds), with ChartRect already computed; the
  // axis panel fills it in.
  virtual void InternalDraw(const TRect& /*bounds*/) {}
  void Paint() override;
  void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
  void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
  void MouseMove(platform::TShiftState shift, int x, int y) override;
  void DblClick() override;
  void MouseLeave() override;
  void SysColorChange() override;
  void Resize() override;
  // Erases only when PlotEraseBack is set.
  void EraseBackground() override;
  bool WantArrows() const override { return true; }
  void SetControlRounded();
  bool Destroying() const { return destroying_; }
  // After an export, the chart rectangle, axes, legend and series are laid out for the
  // export's surface: the window's pass runs again, so that the mouse meets what it shows.
  void RestoreWindowLayout();

 private:
  void DrawBevel(platform::TBevelCut bevel, TRect& r, int roundSize, int width);

  std::unique_ptr<TCanvas3D> internalCanvas_;
  std::unique_ptr<TChartHiddenPen> border_;
  std::unique_ptr<TPlotShadow> shadow_;
  std::unique_ptr<TView3DOptions> view3DOptions_;
  std::unique_ptr<TZoomPanning> panning_;
  TPlotEventListeners listeners_;
  int borderRound_ = 0;
  int margins_[4] = {3, 4, 3, 4};
  TPlotUnits marginUnits_ = muPercent;
  bool printProportional_ = true;
  int printResolution_ = 0;
  bool view3D_ = true;
  bool applyingRegion_ = false;
  bool destroying_ = false;
  // The last drawing pass was an export's.
  bool exportLayout_ = false;
  int drawCount_ = 0;
};

}  // namespace chart

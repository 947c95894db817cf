// The panel on the printer page: margins that keep the screen proportions, the panel drawn at
// its screen size (less PrintResolution percent) and stretched onto the printed rectangle.
#include <optional>

#include "chart/panel/plot_panel.h"
#include "platform/gdi/dc.h"

namespace chart {

TRect TCustomPlotPanel::CalcProportionalMargins() {
  const TRect p = GetRectangle();
  platform::TPrinter& printer = platform::Printer();
  int pageW = 0, pageH = 0, dpiX = 1, dpiY = 1;
  try {
    pageW = printer.PageWidth();
    pageH = printer.PageHeight();
    dpiX = printer.DpiX();
    dpiY = printer.DpiY();
  } catch (const platform::EPrinter&) {
    // No printer: the screen's proportions, square pixels.
    pageW = pageH = 0;
  }
  if (pageW <= 0 || pageH <= 0) {
    const TRect screen = platform::ScreenRect();
    pageW = screen.Right - screen.Left;
    pageH = screen.Bottom - screen.Top;
    dpiX = dpiY = 1;
  }
  return chart::CalcProportionalMargins(p.Right - p.Left, p.Bottom - p.Top, pageW, pageH, dpiX,
                                        dpiY);
}

TRect TCustomPlotPanel::ChartPrintRect() {
  if (GetPrintProportional()) PrintMargins = CalcProportionalMargins();
  platform::TPrinter& printer = platform::Printer();
  return chart::ChartPrintRect(PrintMargins, printer.PageWidth(), printer.PageHeight());
}

void TCustomPlotPanel::Print() {
  PrintRect(ChartPrintRect());
}

void TCustomPlotPanel::PrintPortrait() {
  PrintOrientation(platform::poPortrait);
}

void TCustomPlotPanel::PrintLandscape() {
  PrintOrientation(platform::poLandscape);
}

void TCustomPlotPanel::PrintOrientation(platform::TPrinterOrientation orientation) {
  platform::TPrinter& printer = platform::Printer();
  struct Restore {
    platform::TPrinter& printer;
    platform::TPrinterOrientation old;
    ~Restore() { printer.SetOrientation(old); }
  } restore{printer, printer.GetOrientation()};
  printer.SetOrientation(orientation);
  Print();
}

void TCustomPlotPanel::PrintRect(const TRect& r) {
  platform::TPrinter& printer = platform::Printer();
  if (!GetName().empty()) printer.Title = GetName();
  printer.BeginDoc();
  try {
    PrintPartial(r);
    printer.EndDoc();
  } catch (...) {
    printer.Abort();
    if (printer.Printing()) printer.EndDoc();
    throw;
  }
}

void TCustomPlotPanel::PrintPartial(const TRect& r) {
  PrintPartialCanvas(platform::Printer().Canvas(), r);
}

void TCustomPlotPanel::PrintPartialCanvas(platform::TCanvas* canvas, const TRect& rect) {
  if (!canvas) return;
  TRect r = rect;
  int deviceW = 0, deviceH = 0, logicalW = 0, logicalH = 0;
  // An empty rectangle or panel prints nothing (and divides by nothing).
  if (!chart::CalcMetaBounds(r, GetRectangle(), GetPrintResolution(), deviceW, deviceH, logicalW,
                             logicalH))
    return;
  namespace gdi = platform::gdi;
  gdi::Dc* dc = canvas->GetHandle();
  const int oldMode = dc->SetMapMode(gdi::MM_ANISOTROPIC);
  dc->SetWindowOrgEx(0, 0);
  dc->SetWindowExtEx(logicalW, logicalH);
  dc->SetViewportExtEx(deviceW, deviceH);
  dc->SetViewportOrgEx(0, 0);
  gdi::Region oldClip;
  const bool hadClip = dc->GetClipRgn(oldClip) == 1;
  bool clipped = false;
  struct Restore {
    TCustomPlotPanel& panel;
    gdi::Dc* dc;
    int oldMode;
    const bool& clipped;
    bool hadClip;
    const gdi::Region& oldClip;
    ~Restore() {
      panel.Printing = false;
      if (clipped) dc->SelectClipRgn(hadClip ? &oldClip : nullptr);
      dc->SetMapMode(oldMode);
    }
  } restore{*this, dc, oldMode, clipped, hadClip, oldClip};
  Printing = true;
  if (CanClip()) {
    TPoint corners[2] = {{r.Left, r.Top}, {r.Right, r.Bottom}};
    dc->LPtoDP(corners, 2);
    const gdi::Region region =
        gdi::Region::Rect(corners[0].X, corners[0].Y, corners[1].X, corners[1].Y);
    dc->ExtSelectClipRgn(&region, gdi::RGN_AND);
    clipped = true;
  }
  if (OnBeforePrint) OnBeforePrint(this, canvas, r);
  DrawToMetaCanvas(canvas, r);
}

}  // namespace chart

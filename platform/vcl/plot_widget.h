// TCustomPanel: a panel control whose window is an image. Everything the control draws goes
// into its window image through Canvas, at any time (also from mouse handlers); the window's
// paint event runs Paint only when the control was invalidated, and otherwise just copies the
// image to the screen. A headless panel has no window at all: the same image, the same
// counters, and paints run when the caller asks for them (tests, off-screen charts).
#pragma once

#include <memory>
#include <vector>

#include "platform/vcl/colors.h"
#include "platform/vcl/control.h"
#include "platform/vcl/cursors.h"
#include "platform/vcl/mouse.h"
#include "platform/vcl/standard_controls.h"

namespace platform {

class TBitmap;
class PlotWidget;

enum class TPanelSurface { Window, Headless };

// The screen's physical width divided by its height; 0 when the height is unknown.
double ScreenAspectRatio();

class TCustomPanel : public TWinControl {
 public:
  explicit TCustomPanel(TComponent* Owner, TPanelSurface surface = TPanelSurface::Window);
  ~TCustomPanel() override;
  const char* ClassName() const override { return "TCustomPanel"; }

  bool Headless() const { return headless_; }

  // Bevels and the border width; the panel draws them itself (in Paint). A change invalidates.
  TBevelCut GetBevelInner() const { return bevelInner_; }
  void SetBevelInner(const TBevelCut& v);
  TBevelCut GetBevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(const TBevelCut& v);
  int GetBevelWidth() const { return bevelWidth_; }
  // At least 1.
  void SetBevelWidth(const int& v);
  int GetBorderWidth() const { return borderWidth_; }
  // At least 0.
  void SetBorderWidth(const int& v);
  TCursor GetCursor() const { return cursor_; }
  void SetCursor(const TCursor& v);

  Property<TBevelCut, TCustomPanel, &TCustomPanel::GetBevelInner, &TCustomPanel::SetBevelInner>
      BevelInner{this};
  Property<TBevelCut, TCustomPanel, &TCustomPanel::GetBevelOuter, &TCustomPanel::SetBevelOuter>
      BevelOuter{this};
  Property<int, TCustomPanel, &TCustomPanel::GetBevelWidth, &TCustomPanel::SetBevelWidth>
      BevelWidth{this};
  Property<int, TCustomPanel, &TCustomPanel::GetBorderWidth, &TCustomPanel::SetBorderWidth>
      BorderWidth{this};
  Property<TCursor, TCustomPanel, &TCustomPanel::GetCursor, &TCustomPanel::SetCursor> Cursor{this};

  // The window's canvas: draws into the window image, which is Width x Height.
  TCanvas* GetCanvas() const;
  // The window image as it is now (what the screen shows after the next copy).
  const TBitmap& WindowImage() const { return *windowImage_; }
  TRect ClientRect() const { return TRect{0, 0, width_, height_}; }

  // Marks the window for a paint (Paint runs at the next paint event). Descendants gate it.
  virtual void Invalidate();
  // Paints now: Paint runs at once (windowed: and the screen is refreshed).
  void Repaint();
  // Something was drawn on Canvas outside a paint: the screen copies the image again, without
  // running Paint.
  void WindowImageChanged();

  // The window region: a rectangle rounded with corner ellipses of round x round pixels, or
  // (round <= 0) none.
  void SetWindowRound(int round);
  int WindowRound() const { return windowRound_; }

  // The mouse position in client coordinates (headless: the last one seen).
  TPoint ClientCursorPos() const;

  // The colours the window wants the display to have; none by default.
  virtual std::vector<TColor> GetPalette() const { return {}; }

  // Draws what the parent shows beneath the panel into canvas at r (the panel's client area
  // mapped there): the parent's own background, without sibling controls; the parent's colour
  // when there is no window to draw from. Nothing without a parent.
  void DrawParentBackground(TCanvas* canvas, const TRect& r) const;

  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  // A left press and release on the panel. It is held back until the double-click time has
  // passed without a second press, so that a double click runs OnDblClick alone.
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  // Keys while the panel has the focus (it takes it when clicked).
  TKeyEvent OnKeyDown;

  // What the window system's events do. The window calls them; a caller drives a headless
  // panel (or a test a windowed one) through them. Exceptions never leave them: they are shown
  // in the application's exception box after the event, and EAbort ends the event silently.
  void PerformPaint();
  void PerformMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void PerformMouseUp(TMouseButton button, TShiftState shift, int x, int y);
  void PerformMouseMove(TShiftState shift, int x, int y);
  // A turn of the wheel by delta (120 a step; above 0 away from the user) at (x, y). True when
  // the panel used it.
  bool PerformMouseWheel(TShiftState shift, int delta, int x, int y);
  void PerformDblClick();
  // The double-click time has passed: the held-back click, if any, runs now. A window's timer
  // calls it; a headless panel's caller (or a test) does.
  void PerformDoubleClickTimePassed();
  bool ClickPending() const { return clickPending_; }
  void PerformMouseEnter();
  void PerformMouseLeave();
  void PerformSysColorChange();
  // Before a paint event: the window's background is erased, or not (see EraseBackground).
  void PerformEraseBackground();
  // A key pressed while the panel has the focus. Arrow keys reach KeyDown only when the panel
  // wants them (WantArrows); otherwise they are left to the window around it. False when the
  // key was left there.
  bool PerformKeyDown(unsigned short key, TShiftState shift);
  // Runs the pending paint, if any (what the event loop does for a window).
  void ProcessPaint();

  // Counters: window invalidations that reached the window, and paint events run.
  bool PaintPending() const { return paintPending_; }
  int InvalidateCount() const { return invalidateCount_; }
  int PaintCount() const { return paintCount_; }

 protected:
  // Draws the whole panel into Canvas.
  virtual void Paint() {}
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  // Each whole step of the turns so far goes to DoMouseWheelDown or DoMouseWheelUp.
  virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
  virtual bool DoMouseWheelDown(TShiftState /*shift*/, TPoint /*mousePos*/) { return false; }
  virtual bool DoMouseWheelUp(TShiftState /*shift*/, TPoint /*mousePos*/) { return false; }
  virtual void Click();
  virtual void DblClick();
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  virtual void SysColorChange() {}
  virtual void Resize();
  virtual void KeyDown(unsigned short& key, TShiftState shift);
  virtual bool WantArrows() const { return false; }
  // Fills the window with the panel's colour (nothing for clNone); the next paint then draws
  // the panel again.
  virtual void EraseBackground();
  // The window needs a paint: counted, and the window is asked for a paint event.
  void InvalidateWindow();

  void ApplyColor() override;
  void BoundsChanged() override;

 private:
  friend class PlotWidget;
  void Guarded(const std::function<void()>& event);
  void ApplyCursor();
  void ApplyMask();
  // The window; null when headless or once the window is gone.
  PlotWidget* View() const;

  bool headless_;
  std::unique_ptr<TBitmap> windowImage_;
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TCursor cursor_ = crDefault;
  TColor appliedColor_ = clBtnFace;
  int windowRound_ = 0;
  bool paintPending_ = true;
  bool painting_ = false;
  int invalidateCount_ = 0;
  int paintCount_ = 0;
  TPoint lastMouse_{0, 0};
  // Click tracking: a left press seen, the release after a double click, a click held back.
  bool leftPressed_ = false;
  bool doublePress_ = false;
  bool clickPending_ = false;
  // Wheel units not yet a whole step (fine-grained wheels and touchpads).
  int wheelDelta_ = 0;
};

}  // namespace platform

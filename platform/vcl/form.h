// TForm: a top-level window whose client area is exactly ClientWidth x ClientHeight pixels.
// A form is filled from its layout text (LoadLayout) in the derived class's constructor; the
// application's CreateForm then runs OnCreate and shows the form when the layout made it visible.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/vcl/control.h"

class QEventLoop;

namespace platform {

class TLayoutBindings;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* Owner);
  ~TForm() override;
  const char* ClassName() const override { return "TForm"; }

  int GetClientWidth() const override { return clientWidth_; }
  void SetClientWidth(int v) override;
  int GetClientHeight() const override { return clientHeight_; }
  void SetClientHeight(int v) override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetCaption(const std::string& v) override;
  void SetVisible(bool v) override;
  TFormBorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v);
  TBorderIcons GetBorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons v);
  TPosition GetPosition() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  TModalResult GetModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult v);

  // bsSingle and bsDialog windows have a fixed size: the user cannot resize them.
  Property<TFormBorderStyle, TForm, &TForm::GetBorderStyle, &TForm::SetBorderStyle> BorderStyle{
      this};
  // Without biMaximize the window has no maximise button.
  Property<TBorderIcons, TForm, &TForm::GetBorderIcons, &TForm::SetBorderIcons> BorderIcons{this};
  // poDesigned places the window at Left/Top of the screen; the centred kinds centre it.
  Property<TPosition, TForm, &TForm::GetPosition, &TForm::SetPosition> Position{this};
  // Setting a non-zero value ends ShowModal.
  Property<TModalResult, TForm, &TForm::GetModalResult, &TForm::SetModalResult> ModalResult{this};

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;

  // Reads the form's layout text; see layout_reader.h.
  void LoadLayout(std::string_view text, const TLayoutBindings& bindings);
  // Runs OnCreate and shows the form if its layout set Visible. CreateForm calls it; call it
  // yourself after constructing a form with new.
  void AfterConstruction();
  // Runs OnDestroy once.
  void BeforeDestruction() override;

  void Show();
  void Hide() { SetVisible(false); }
  // Runs the form as a modal window until ModalResult is set. With the application's modal
  // responder installed the form is not shown: the responder's answer is the result.
  TModalResult ShowModal();
  // Runs OnClose; hides the form (or, for the main form, ends the application).
  void Close();
  // Deletes the form once the current event has been handled.
  void Release();

  // For the layer: the window was asked to close by the window system.
  void CloseRequested();
  void WindowResized(int clientWidth, int clientHeight);
  // The form fills its client area with its colour.
  bool BackdropUnder(const TRect& area, TColor* colour) const override;

 protected:
  void ApplyGeometry() override;
  void ApplyVisible() override;
  void ApplyColor() override;

 private:
  void ApplyWindowFlags();
  void PlaceWindow();
  bool RunClose(TCloseAction& action, bool fromEventLoop);

  int clientWidth_ = 0;
  int clientHeight_ = 0;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  TPosition position_ = poDesigned;
  TModalResult modalResult_ = mrNone;
  QEventLoop* modalLoop_ = nullptr;
  bool creating_ = true;
  bool destroyed_ = false;
  bool placed_ = false;
};

}  // namespace platform

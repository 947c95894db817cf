// A control that shows a picture. Its Canvas draws into the picture's bitmap (made the size of
// the control when the picture is empty); the control repaints after every drawing call.
#pragma once

#include "platform/vcl/control.h"
#include "platform/vcl/picture.h"

namespace platform {

class TImage : public TControl {
 public:
  explicit TImage(TComponent* Owner);
  ~TImage() override;
  const char* ClassName() const override { return "TImage"; }

  // EInvalidOperation when the picture holds something other than a bitmap (a JPEG).
  TCanvas* GetCanvas();
  bool GetStretch() const { return stretch_; }
  void SetStretch(bool v);
  bool GetCenter() const { return center_; }
  void SetCenter(bool v);
  bool GetAutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);

  TPicture* const Picture;
  Property<TCanvas*, TImage, &TImage::GetCanvas, nullptr> Canvas{this};
  // The picture scaled to the control's size.
  Property<bool, TImage, &TImage::GetStretch, &TImage::SetStretch> Stretch{this};
  Property<bool, TImage, &TImage::GetCenter, &TImage::SetCenter> Center{this};
  // The control takes the picture's size.
  Property<bool, TImage, &TImage::GetAutoSize, &TImage::SetAutoSize> AutoSize{this};
  // Kept for the layouts: pictures here are opaque.
  bool Transparent = false;

 protected:
  void BoundsChanged() override { ApplyOpaque(); }

 private:
  void PictureChanged();
  void ApplyOpaque();
  bool stretch_ = false;
  bool center_ = false;
  bool autoSize_ = false;
};

}  // namespace platform

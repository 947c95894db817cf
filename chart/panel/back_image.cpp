#include "chart/panel/back_image.h"

namespace chart {

void TBackImage::Assign(const platform::TPicture* source) {
  if (source == this) return;
  if (const auto* b = dynamic_cast<const TBackImage*>(source)) {
    inside_ = b->inside_;
    left_ = b->left_;
    top_ = b->top_;
    mode_ = b->mode_;
  }
  platform::TPicture::Assign(source);
}

void TBackImage::Notify() {
  if (OnChange) OnChange();
}

void TBackImage::SetInside(const bool& v) {
  if (v == inside_) return;
  inside_ = v;
  Notify();
}

void TBackImage::SetLeft(const int& v) {
  if (v == left_) return;
  left_ = v;
  Notify();
}

void TBackImage::SetTop(const int& v) {
  if (v == top_) return;
  top_ = v;
  Notify();
}

void TBackImage::SetMode(const TPlotBackImageMode& v) {
  if (v == mode_) return;
  mode_ = v;
  Notify();
}

}  // namespace chart

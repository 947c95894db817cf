#include "platform/vcl/image.h"

#include <QPainter>
#include <QWidget>

#include "platform/vcl/exception.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace {

class ImageWidget : public QWidget {
 public:
  explicit ImageWidget(TImage* image) : image_(image) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    const QImage* img = qt::GraphicImage(image_->Picture->Graphic());
    if (!img || img->isNull()) return;
    QPainter p(this);
    if (image_->GetStretch()) {
      p.drawImage(rect(), *img);
    } else if (image_->GetCenter()) {
      p.drawImage((width() - img->width()) / 2, (height() - img->height()) / 2, *img);
    } else {
      p.drawImage(0, 0, *img);
    }
  }

 private:
  TImage* image_;
};

}  // namespace

TImage::TImage(TComponent* Owner) : TControl(Owner), Picture(new TPicture) {
  width_ = 105;
  height_ = 105;
  SetWidget(new ImageWidget(this));
  Picture->OnChange = [this] { PictureChanged(); };
}

TImage::~TImage() {
  Picture->OnChange = nullptr;
  delete Widget();
  delete Picture;
}

TCanvas* TImage::GetCanvas() {
  TGraphic* g = Picture->Graphic();
  if (!g) {
    TBitmap* b = Picture->Bitmap();
    b->SetSize(width_, height_);
    return b->Canvas;
  }
  auto* b = dynamic_cast<TBitmap*>(g);
  if (!b) throw EInvalidOperation("Can only modify an image if it contains a bitmap");
  return b->Canvas;
}

void TImage::SetStretch(bool v) {
  stretch_ = v;
  ApplyOpaque();
  Invalidate();
}

void TImage::SetCenter(bool v) {
  center_ = v;
  Invalidate();
}

void TImage::SetAutoSize(bool v) {
  autoSize_ = v;
  PictureChanged();
}

void TImage::PictureChanged() {
  if (autoSize_ && Picture->Width() > 0 && Picture->Height() > 0) {
    SetBounds(left_, top_, Picture->Width(), Picture->Height());
  }
  ApplyOpaque();
  Invalidate();
}

// An opaque picture that covers the control paints all of it, so a change of the picture
// repaints the control alone and not its parents beneath.
void TImage::ApplyOpaque() {
  QWidget* w = Widget();
  const QImage* img = qt::GraphicImage(Picture->Graphic());
  const bool covers = img && !img->isNull() && !img->hasAlphaChannel() &&
                      (stretch_ || (img->width() >= width_ && img->height() >= height_));
  if (w && w->testAttribute(Qt::WA_OpaquePaintEvent) != covers)
    w->setAttribute(Qt::WA_OpaquePaintEvent, covers);
}

}  // namespace platform

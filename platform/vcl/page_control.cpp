#include "platform/vcl/page_control.h"

#include <QPainter>
#include <QResizeEvent>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabWidget>
#include <algorithm>

#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace {

QTabWidget* Tabs(const TPageControl* pc) {
  return static_cast<QTabWidget*>(pc->Widget());
}

class PageWidget : public QWidget {
 public:
  explicit PageWidget(TTabSheet* sheet) : sheet_(sheet) {}

 protected:
  void resizeEvent(QResizeEvent* e) override {
    QWidget::resizeEvent(e);
    sheet_->PageResized(e->size().width(), e->size().height());
  }
  // A new palette or style can fill the pane in another colour.
  void changeEvent(QEvent* e) override {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::PaletteChange || e->type() == QEvent::StyleChange)
      sheet_->BackdropChanged();
  }

 private:
  TTabSheet* sheet_;
};

// The colour the style fills the pages' pane with, when it fills it with one colour: the pane
// is drawn once, small, and its inside must be that colour throughout.
bool PaneColour(QTabWidget* tabs, TColor* colour) {
  constexpr int kSide = 40;
  constexpr int kFrame = 6;
  QImage pane(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
  pane.fill(Qt::transparent);
  QStyleOptionTabWidgetFrame option;
  option.initFrom(tabs);
  option.rect = pane.rect();
  {
    QPainter p(&pane);
    tabs->style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &p, tabs);
  }
  const QRgb inside = pane.pixel(kFrame, kFrame);
  if (qAlpha(inside) != 255) return false;
  for (int y = kFrame; y < kSide - kFrame; ++y)
    for (int x = kFrame; x < kSide - kFrame; ++x)
      if (pane.pixel(x, y) != inside) return false;
  *colour = qt::FromQColor(QColor(inside));
  return true;
}

}  // namespace

TPageControl::TPageControl(TComponent* Owner) : TWinControl(Owner) {
  auto* w = new QTabWidget;
  width_ = 289;
  height_ = 193;
  SetWidget(w);
}

int TPageControl::PageCount() const {
  return static_cast<int>(pages_.size());
}

TTabSheet* TPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount()) return nullptr;
  return pages_[static_cast<size_t>(index)];
}

TTabSheet* TPageControl::GetActivePage() const {
  QTabWidget* w = Tabs(this);
  if (!w) return nullptr;
  QWidget* current = w->currentWidget();
  for (TTabSheet* p : pages_) {
    if (p->Widget() == current) return p;
  }
  return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
  QTabWidget* w = Tabs(this);
  if (!w || !page || page->GetPageControl() != this) return;
  w->setCurrentWidget(page->Widget());
}

void TPageControl::ControlAdded(TControl* c) {
  auto* sheet = dynamic_cast<TTabSheet*>(c);
  QTabWidget* w = Tabs(this);
  if (!sheet || !w) return;
  pages_.push_back(sheet);
  w->addTab(sheet->Widget(), qt::Str(sheet->caption_));
  // Until the page is laid out, its size is the control's less the tabs and border.
  sheet->width_ = std::max(0, width_ - 8);
  sheet->height_ = std::max(0, height_ - 28);
  sheet->ApplyTab();
}

void TPageControl::ControlRemoved(TControl* c) {
  auto* sheet = dynamic_cast<TTabSheet*>(c);
  if (!sheet) return;
  pages_.erase(std::remove(pages_.begin(), pages_.end(), sheet), pages_.end());
  if (QTabWidget* w = Tabs(this)) {
    const int index = sheet->Widget() ? w->indexOf(sheet->Widget()) : -1;
    if (index >= 0) w->removeTab(index);
  }
}

TTabSheet::TTabSheet(TComponent* Owner) : TWinControl(Owner) {
  auto* w = new PageWidget(this);
  SetWidget(w);
}

TPageControl* TTabSheet::GetPageControl() const {
  return dynamic_cast<TPageControl*>(GetParent());
}

int TTabSheet::PageIndex() const {
  TPageControl* pc = GetPageControl();
  if (!pc) return -1;
  auto it = std::find(pc->pages_.begin(), pc->pages_.end(), this);
  return static_cast<int>(it - pc->pages_.begin());
}

void TTabSheet::SetCaption(const std::string& v) {
  caption_ = v;
  ApplyTab();
}

void TTabSheet::SetTabVisible(bool v) {
  tabVisible_ = v;
  ApplyTab();
}

void TTabSheet::ApplyTab() {
  TPageControl* pc = GetPageControl();
  QTabWidget* w = pc ? Tabs(pc) : nullptr;
  if (!w || !Widget()) return;
  const int index = w->indexOf(Widget());
  if (index < 0) return;
  w->setTabText(index, qt::Str(caption_));
  w->setTabVisible(index, tabVisible_);
}

bool TTabSheet::BackdropUnder(const TRect&, TColor* colour) const {
  TPageControl* pc = GetPageControl();
  QTabWidget* tabs = pc ? Tabs(pc) : nullptr;
  return tabs && PaneColour(tabs, colour);
}

void TTabSheet::PageResized(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  Realign();
}

}  // namespace platform

#include "platform/vcl/status_bar.h"

#include <QPainter>
#include <QStyleOptionFrame>
#include <QWidget>

#include "platform/vcl/exception.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace {

class StatusWidget : public QWidget {
 public:
  explicit StatusWidget(TStatusBar* bar) : bar_(bar) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    if (bar_->GetSimplePanel()) {
      DrawPanel(p, rect(), bar_->GetSimpleText(), taLeftJustify);
      return;
    }
    int x = 0;
    const int n = bar_->Panels.Count();
    for (int i = 0; i < n; ++i) {
      const TStatusPanel& panel = bar_->Panels[i];
      const int w = i == n - 1 ? std::max(0, width() - x) : panel.GetWidth();
      DrawPanel(p, QRect(x, 0, w, height()), panel.GetText(), panel.GetAlignment());
      x += w;
    }
  }

 private:
  void DrawPanel(QPainter& p, const QRect& r, const std::string& text, TAlignment a) {
    const QRect inner = r.adjusted(0, 2, -2, 0);
    p.save();
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(inner.topLeft(), inner.topRight());
    p.drawLine(inner.topLeft(), inner.bottomLeft());
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(inner.bottomLeft(), inner.bottomRight());
    p.drawLine(inner.topRight(), inner.bottomRight());
    p.restore();
    Qt::Alignment align = Qt::AlignLeft;
    if (a == taCenter) align = Qt::AlignHCenter;
    if (a == taRightJustify) align = Qt::AlignRight;
    p.drawText(inner.adjusted(2, 0, -2, 0), align | Qt::AlignVCenter | Qt::TextSingleLine,
               qt::Str(text));
  }

  TStatusBar* bar_;
};

}  // namespace

void TStatusPanel::SetText(const std::string& v) {
  text_ = v;
  bar_->PanelsChanged();
}

void TStatusPanel::SetWidth(int v) {
  width_ = std::max(0, v);
  bar_->PanelsChanged();
}

void TStatusPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  bar_->PanelsChanged();
}

TStatusPanel& TStatusPanels::operator[](int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  return *panels_[static_cast<size_t>(index)];
}

TStatusPanel* TStatusPanels::Add() {
  panels_.push_back(std::make_unique<TStatusPanel>(bar_));
  bar_->PanelsChanged();
  return panels_.back().get();
}

void TStatusPanels::Clear() {
  panels_.clear();
  bar_->PanelsChanged();
}

TStatusBar::TStatusBar(TComponent* Owner) : TWinControl(Owner) {
  auto* w = new StatusWidget(this);
  w->setAutoFillBackground(true);
  width_ = 150;
  height_ = 19;
  SetWidget(w);
  SetAlign(alBottom);
}

void TStatusBar::SetSimplePanel(bool v) {
  simplePanel_ = v;
  PanelsChanged();
}

void TStatusBar::SetSimpleText(const std::string& v) {
  simpleText_ = v;
  PanelsChanged();
}

void TStatusBar::PanelsChanged() {
  if (Widget()) Widget()->update();
}

}  // namespace platform

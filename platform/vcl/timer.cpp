#include "platform/vcl/timer.h"

#include <QTimer>

#include "platform/vcl/qt_bridge.h"

namespace platform {

TTimer::TTimer(TComponent* Owner) : TComponent(Owner) {
  qt::EnsureApplication();
  timer_ = new QTimer;
  QObject::connect(timer_, &QTimer::timeout, timer_, [this] {
    // OnTimer is checked per tick: a handler may be bound or cleared while the timer runs.
    if (OnTimer) RunHandler([this] { OnTimer(this); }, true);
  });
}

TTimer::~TTimer() {
  delete timer_;
}

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Update();
}

void TTimer::SetInterval(int v) {
  interval_ = v < 0 ? 0 : v;
  Update();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  Update();
}

void TTimer::Update() {
  timer_->stop();
  if (enabled_ && interval_ > 0 && !Loading()) timer_->start(interval_);
}

}  // namespace platform

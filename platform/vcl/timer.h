// A timer on the window thread: OnTimer runs every Interval ms while Enabled (and inside modal
// boxes too). A zero interval or no handler stops it.
#pragma once

#include "platform/vcl/component.h"

class QTimer;

namespace platform {

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* Owner);
  ~TTimer() override;
  const char* ClassName() const override { return "TTimer"; }

  bool GetEnabled() const { return enabled_; }
  void SetEnabled(bool v);
  int GetInterval() const { return interval_; }
  void SetInterval(int v);

  Property<bool, TTimer, &TTimer::GetEnabled, &TTimer::SetEnabled> Enabled{this};
  // Milliseconds; setting it restarts the count.
  Property<int, TTimer, &TTimer::GetInterval, &TTimer::SetInterval> Interval{this};
  TNotifyEvent OnTimer;

  void Loaded() override;

 private:
  void Update();
  QTimer* timer_;
  bool enabled_ = true;
  int interval_ = 1000;
};

}  // namespace platform

// A headless chart whose device-context calls are recorded, for the drawing tests.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "chart/engine/axis_panel.h"
#include "platform/gdi/dc.h"

namespace enginetest {

template <class Base>
class RecordingChart : public Base {
 public:
  using Ints = std::vector<int>;
  using Call = platform::gdi::DcCall;

  RecordingChart(int width, int height, bool is3D = false)
      : Base(nullptr, platform::TPanelSurface::Headless), Area{0, 0, width, height} {
    this->SetView3D(is3D);
    this->SetBounds(0, 0, width, height);
  }
  // A series of type S added to the chart, owned by form.
  template <class S>
  S* New() {
    auto* s = new S(&form);
    this->AddSeries(s);
    return s;
  }
  // Without a step, the full pass. With one, the chart is laid out on Area (the series' working
  // state first, as the full pass does) and the step runs in place of the drawing.
  void Record(std::function<void()> step = {}) {
    calls.clear();
    Paint(std::move(step), false);
  }
  void Layout() {
    Record([] {});
  }
  // The full pass, then the step; only the step's calls are kept.
  void RecordAfter(std::function<void()> step) { Paint(std::move(step), true); }
  // Runs the step with the calls it makes added to calls.
  void Capture(const std::function<void()>& step) {
    platform::gdi::Dc* dc = this->GetCanvas3D()->GetHandle();
    dc->SetRecorder([this](const Call& c) { calls.push_back(c); });
    step();
    dc->SetRecorder({});
  }

  std::vector<Call> Only(const std::string& op) const {
    std::vector<Call> out;
    for (const auto& c : calls)
      if (c.Op == op) out.push_back(c);
    return out;
  }
  std::vector<Ints> Args(const std::string& op) const {
    std::vector<Ints> out;
    for (const auto& c : calls)
      if (c.Op == op) out.push_back(c.Args);
    return out;
  }
  // Straight segments drawn, as (from, to) pairs of MoveToEx/LineTo and polylines.
  std::vector<std::pair<platform::TPoint, platform::TPoint>> Segments() const {
    std::vector<std::pair<platform::TPoint, platform::TPoint>> out;
    platform::TPoint at{0, 0};
    for (const auto& c : calls) {
      if (c.Op == "MoveToEx") at = {c.Args[0], c.Args[1]};
      if (c.Op == "LineTo") {
        out.push_back({at, {c.Args[0], c.Args[1]}});
        at = {c.Args[0], c.Args[1]};
      }
      if (c.Op == "Polyline")
        for (size_t i = 2; i + 1 < c.Args.size(); i += 2)
          out.push_back({{c.Args[i - 2], c.Args[i - 1]}, {c.Args[i], c.Args[i + 1]}});
    }
    return out;
  }

  platform::TRect Area;
  std::vector<Call> calls;
  platform::TComponent form{nullptr};

 protected:
  void InternalDraw(const platform::TRect& r) override {
    // Taken first: a step that paints again must not run itself.
    auto step = std::exchange(during, {});
    if (after) {
      Base::InternalDraw(r);
      calls.clear();
      Capture(step);
    } else if (step) {
      Capture([&] {
        this->AutoRepaint = false;
        for (auto* s : this->SeriesList().Items())
          if (s->GetActive()) s->DoBeforeDrawChart();
        this->CalcLayout(Area);
        for (auto* s : this->SeriesList().Items()) s->CalcFirstLastVisibleIndex();
        step();
        this->AutoRepaint = true;
      });
    } else {
      Capture([&] { Base::InternalDraw(r); });
    }
  }

 private:
  void Paint(std::function<void()> step, bool afterPass) {
    during = std::move(step);
    after = afterPass && during;
    this->Invalidate();
    this->ProcessPaint();
    during = {};
    after = false;
  }
  std::function<void()> during;
  bool after = false;
};

using AxisChart = RecordingChart<chart::TCustomAxisPanel>;

}  // namespace enginetest

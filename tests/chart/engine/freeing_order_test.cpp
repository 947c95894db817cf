// Freeing charts, series, linked series, sources and functions in every order: after each step
// no live object points at a freed one (and AddressSanitizer sees no stale access).
#include <map>
#include <set>
#include <string>
#include <vector>

#include "chart/engine/plot_function.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartSeries;
using FreeingOrderTest = EngineTest;

// Knows which components are still alive: each tells it when it goes.
class Watcher : public platform::TComponent {
 public:
  Watcher() : TComponent(nullptr) {}
  void Watch(platform::TComponent* c) {
    alive.insert(c);
    FreeNotification(c);
  }
  void Notification(platform::TComponent* c, platform::TOperation op) override {
    if (op == platform::opRemove) alive.erase(c);
  }
  bool Alive(const void* p) const {
    return !p || alive.count(static_cast<platform::TComponent*>(const_cast<void*>(p))) > 0;
  }
  std::set<platform::TComponent*> alive;
};

TEST_F(FreeingOrderTest, NoLinkOutlivesWhatItPointsAt) {
  // S is a source series; L copies it; M computes from it with function f; P takes its data from
  // a source component C that P owns.
  const struct {
    const char* name;
    std::vector<std::string> steps;  // a name frees that object; "out:X" takes X off the chart
  } cases[] = {
      {"series before chart", {"S", "L", "M", "P", "chart"}},
      {"chart before series", {"chart"}},
      {"source before linked series", {"S", "L"}},
      {"linked series before source", {"L", "M", "S"}},
      {"function before series", {"f", "M"}},
      {"series before function", {"M"}},
      {"source component before its series", {"C", "P"}},
      {"linked series off the chart, then its source", {"out:L", "S", "chart"}},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    Watcher watch;
    auto* form = new platform::TComponent(nullptr);
    auto* chart = new chart::TCustomAxisPanel(form, platform::TPanelSurface::Headless);
    std::map<std::string, platform::TComponent*> objects{{"chart", chart}};
    auto series = [&](const char* name) {
      auto* s = new TChartSeries(form);
      chart->AddSeries(s);
      objects[name] = s;
      return s;
    };
    TChartSeries *s = series("S"), *l = series("L"), *m = series("M"), *p = series("P");
    auto* f = new chart::TPlotFunction(form);
    auto* c = new chart::TPlotSeriesSource(p);
    objects["f"] = f;
    objects["C"] = c;
    for (auto& [name, o] : objects) watch.Watch(o);
    l->SetDataSource(s);
    m->SetFunction(f);
    m->SetDataSource(s);
    c->SetSeries(p);
    for (int i = 0; i < 5; ++i) s->AddXY(i, i * i);

    auto check = [&](const std::string& after) {
      for (platform::TComponent* o : watch.alive) {
        if (auto* x = dynamic_cast<TChartSeries*>(o)) {
          EXPECT_TRUE(watch.Alive(x->GetParentChart())) << after;
          EXPECT_TRUE(watch.Alive(x->FunctionOf())) << after;
          for (platform::TComponent* d : x->DataSources().Items())
            EXPECT_TRUE(watch.Alive(d)) << after;
          for (TChartSeries* y : x->LinkedSeries().Items()) EXPECT_TRUE(watch.Alive(y)) << after;
        } else if (auto* g = dynamic_cast<chart::TPlotFunction*>(o)) {
          EXPECT_TRUE(watch.Alive(g->GetParentSeries())) << after;
        } else if (auto* src = dynamic_cast<chart::TPlotSeriesSource*>(o)) {
          EXPECT_TRUE(watch.Alive(src->GetSeries())) << after;
        } else if (o == chart) {
          for (TChartSeries* y : chart->SeriesList().Items()) EXPECT_TRUE(watch.Alive(y)) << after;
        }
      }
    };
    check("set-up");
    for (const std::string& step : k.steps) {
      if (step.rfind("out:", 0) == 0) {
        chart->RemoveSeries(static_cast<TChartSeries*>(objects[step.substr(4)]));
      } else {
        platform::TComponent* o = objects[step];
        ASSERT_TRUE(watch.Alive(o)) << step;
        delete o;
      }
      check(step);
      // What is left still works.
      if (watch.Alive(s)) s->AddXY(9, 9);
      if (watch.Alive(s)) s->Clear();
    }
    delete form;
    EXPECT_TRUE(watch.alive.empty());
  }
}

}  // namespace
}  // namespace enginetest

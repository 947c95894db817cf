// The gallery and tool registries, and creating, cloning, swapping and retyping series.
#include "chart/component/series_registry.h"

#include <algorithm>
#include <utility>

#include "chart/common/general.h"
#include "chart/common/plot_const.h"
#include "chart/component/legend.h"
#include "chart/engine/class_create.h"
#include "chart/engine/plot_function.h"
#include "chart/engine/series.h"
#include "chart/engine/series_list.h"
#include "chart/engine/tools.h"

namespace chart {

namespace {

TPlotSeriesTypes& SeriesTypes() {
  // Registering before the unit's start (or after its end) must not write through null.
  if (!PlotSeriesTypes) PlotChartUnitStart();
  return *PlotSeriesTypes;
}

TPlotToolTypes& ToolTypes() {
  if (!PlotToolTypes) PlotChartUnitStart();
  return *PlotToolTypes;
}

bool Contains(const std::vector<const platform::TClassInfo*>& classes,
              const platform::TClassInfo* c) {
  return c && std::find(classes.begin(), classes.end(), c) != classes.end();
}

// Frees a half-made series if a later step raises.
struct SeriesGuard {
  TChartSeries* series;
  ~SeriesGuard() { delete series; }
  TChartSeries* Release() { return std::exchange(series, nullptr); }
};

// Every series that takes its data from oldSeries takes it from newSeries instead, in the same
// place of its source list.
void MoveDependants(TChartSeries* oldSeries, TChartSeries* newSeries) {
  const std::vector<TChartSeries*> linked = oldSeries->LinkedSeries().Items();
  for (TChartSeries* l : linked) {
    TDataSourcesList& sources = l->DataSources();
    std::vector<platform::TComponent*> items = sources.Items();
    const bool hadNew = std::find(items.begin(), items.end(), newSeries) != items.end();
    for (auto it = items.begin(); it != items.end();) {
      if (*it == oldSeries && !hadNew) {
        *it++ = newSeries;
      } else if (*it == oldSeries) {
        it = items.erase(it);
      } else {
        ++it;
      }
    }
    sources.InternalClear();
    for (platform::TComponent* c : items) sources.InternalAdd(c);
    l->RemoveFreeNotification(oldSeries);
    l->FreeNotification(newSeries);
    newSeries->AddLinkedSeries(l);
    oldSeries->RemoveLinkedSeries(l);
  }
}

}  // namespace

const platform::TClassInfo* ClassOf(const platform::TObject* obj) {
  return obj ? platform::FindClass(obj->ClassName()) : nullptr;
}

// ---- Registries --------------------------------------------------------------------------------

TPlotSeriesType* TPlotSeriesTypes::Get(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

TPlotSeriesType* TPlotSeriesTypes::Find(TChartSeriesClass seriesClass) const {
  if (!seriesClass) return nullptr;
  for (const auto& e : items_)
    if (e->SeriesKind == seriesClass && !e->FunctionKind) return e.get();
  return nullptr;
}

void TPlotSeriesTypes::RemoveIf(const std::function<bool(const TPlotSeriesType&)>& remove) {
  std::erase_if(items_, [&](const std::unique_ptr<TPlotSeriesType>& e) { return remove(*e); });
}

TPlotToolClass TPlotToolTypes::Get(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)];
}

int TPlotToolTypes::IndexOf(TPlotToolClass toolClass) const {
  const auto it = std::find(items_.begin(), items_.end(), toolClass);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TPlotToolTypes::Remove(TPlotToolClass toolClass) {
  std::erase(items_, toolClass);
}

void RegisterPlotSeriesFunction(TChartSeriesClass seriesClass, TFunctionClass functionClass,
                                const std::string* galleryName, const std::string* galleryTab,
                                int gallerySeriesCount) {
  if (!seriesClass && !functionClass) return;
  TPlotSeriesTypes& types = SeriesTypes();
  for (int i = 0; i < types.Count(); ++i) {
    const TPlotSeriesType* e = types.Get(i);
    if (e->SeriesKind == seriesClass && e->FunctionKind == functionClass) return;
  }
  auto entry = std::make_unique<TPlotSeriesType>();
  entry->SeriesKind = seriesClass;
  entry->FunctionKind = functionClass;
  entry->GalleryName = galleryName;
  entry->GalleryTab = galleryTab;
  entry->GallerySeriesCount = gallerySeriesCount;
  types.Add(std::move(entry));
}

void RegisterPlotSeries(TChartSeriesClass seriesClass, const std::string* galleryName,
                        const std::string* galleryTab, int gallerySeriesCount) {
  RegisterPlotSeriesFunction(seriesClass, nullptr, galleryName, galleryTab, gallerySeriesCount);
}

void RegisterPlotSeries(TChartSeriesClass seriesClass, const std::string* galleryName) {
  RegisterPlotSeries(seriesClass, galleryName, &PlotMsg_GalleryStandard, 2);
}

void RegisterPlotFunction(TFunctionClass functionClass, const std::string* galleryName,
                          const std::string* galleryTab, int gallerySeriesCount) {
  RegisterPlotSeriesFunction(nullptr, functionClass, galleryName, galleryTab, gallerySeriesCount);
}

void RegisterPlotBasicFunction(TFunctionClass functionClass, const std::string* galleryName) {
  RegisterPlotFunction(functionClass, galleryName, &PlotMsg_GalleryStandard, 2);
}

void UnRegisterPlotSeries(const std::vector<TChartSeriesClass>& classes) {
  if (!PlotSeriesTypes) return;
  PlotSeriesTypes->RemoveIf(
      [&](const TPlotSeriesType& e) { return Contains(classes, e.SeriesKind); });
}

void UnRegisterPlotFunctions(const std::vector<TFunctionClass>& classes) {
  if (!PlotSeriesTypes) return;
  PlotSeriesTypes->RemoveIf(
      [&](const TPlotSeriesType& e) { return Contains(classes, e.FunctionKind); });
}

void RegisterPlotTools(const std::vector<TPlotToolClass>& classes) {
  TPlotToolTypes& tools = ToolTypes();
  for (TPlotToolClass c : classes)
    if (c && tools.IndexOf(c) < 0) tools.Add(c);
}

void UnRegisterPlotTools(const std::vector<TPlotToolClass>& classes) {
  if (!PlotToolTypes) return;
  for (TPlotToolClass c : classes) PlotToolTypes->Remove(c);
}

// ---- Names -------------------------------------------------------------------------------------

std::string GetGallerySeriesName(const TChartSeries* series) {
  if (!series) return {};
  if (PlotSeriesTypes) {
    if (const TPlotSeriesType* e = PlotSeriesTypes->Find(ClassOf(series)); e && e->GalleryName)
      return *e->GalleryName;
  }
  return series->ClassName();
}

std::string GetNewSeriesName(const platform::TComponent* owner) {
  return PlotGetUniqueName(owner, "Series");
}

// ---- Creating and cloning ----------------------------------------------------------------------

TPlotFunction* CreateNewPlotFunction(TChartSeries* series, TFunctionClass functionClass) {
  platform::TComponent* owner = series ? series->Owner() : nullptr;
  TPlotFunction* f = CreateOf<TPlotFunction>(functionClass, owner, "function");
  f->SetParentSeries(series);
  f->SetName(PlotGetUniqueName(owner, "PlotFunction"));
  return f;
}

TChartSeries* CreateNewSeries(platform::TComponent* owner, TCustomAxisPanel* chart,
                              TChartSeriesClass seriesClass, TFunctionClass functionClass) {
  if (!owner) owner = chart;
  if (chart) {
    for (TChartSeries* s : chart->SeriesList().Items())
      if (s->Owner() == chart) owner = chart;
  }
  SeriesGuard guard{CreateOf<TChartSeries>(seriesClass, owner, "series")};
  guard.series->SetName(GetNewSeriesName(owner));
  guard.series->SetParentChart(chart);
  if (functionClass) CreateNewPlotFunction(guard.series, functionClass);
  return guard.Release();
}

TChartSeries* CloneChartSeries(TChartSeries* series) {
  return CloneChartSeries(series, series ? series->GetParentChart() : nullptr);
}

TChartSeries* CloneChartSeries(TChartSeries* series, TCustomAxisPanel* chart) {
  return CloneChartSeries(series, series ? series->Owner() : nullptr, chart);
}

TChartSeries* CloneChartSeries(TChartSeries* series, platform::TComponent* owner,
                               TCustomAxisPanel* chart) {
  if (!series) return nullptr;
  TPlotFunction* function = series->FunctionOf();
  SeriesGuard guard{
      CreateNewSeries(owner, chart, ClassOf(series), function ? ClassOf(function) : nullptr)};
  guard.series->Assign(series);
  // The clone's own function computes as the original's does.
  if (TPlotFunction* mine = guard.series->FunctionOf(); mine && function) mine->Assign(function);
  return guard.Release();
}

// ---- Replacing ---------------------------------------------------------------------------------

void AssignSeries(TChartSeries*& oldSeries, TChartSeries*& newSeries) {
  if (oldSeries == newSeries || !oldSeries || !newSeries) return;
  TChartSeries* o = oldSeries;
  TChartSeries* n = newSeries;
  n->Assign(o);
  n->AfterDrawValues = o->AfterDrawValues;
  n->BeforeDrawValues = o->BeforeDrawValues;
  n->OnAfterAdd = o->OnAfterAdd;
  n->OnBeforeAdd = o->OnBeforeAdd;
  n->OnClearValues = o->OnClearValues;
  n->OnClick = o->OnClick;
  n->OnDblClick = o->OnDblClick;
  n->OnGetMarkText = o->OnGetMarkText;

  MoveDependants(o, n);

  TCustomAxisPanel* chart = o->GetParentChart();
  if (chart) {
    for (int i = 0; i < chart->Tools().Count(); ++i) {
      auto* tool = dynamic_cast<TPlotCustomToolSeries*>(chart->Tools().Get(i));
      if (tool && tool->GetSeries() == o) tool->SetSeries(n);
    }
    // The new series must be in the list to take the old one's place.
    if (n->GetParentChart() != chart) n->SetParentChart(chart);
    chart->ExchangeSeries(o, n);
  }
  const std::string name = o->GetName();
  delete o;
  oldSeries = nullptr;
  n->SetName(name);
  if (chart) chart->BroadcastSeriesEvent(n, seChangeTitle);

  n->CheckDataSource();
  if (n->HandEntered) n->RefreshSeries();
}

void ChangeSeriesType(TChartSeries*& series, TChartSeriesClass newClass) {
  if (!series || !newClass || newClass == ClassOf(series)) return;
  TChartSeries* created =
      CreateNewSeries(series->Owner(), series->GetParentChart(), newClass, nullptr);
  if (!created) return;
  AssignSeries(series, created);
  series = created;
}

void ChangeAllSeriesType(TCustomAxisPanel* chart, TChartSeriesClass newClass) {
  if (!chart) return;
  for (int i = 0; i < chart->SeriesCount(); ++i) {
    TChartSeries* s = chart->GetSeries(i);
    ChangeSeriesType(s, newClass);
  }
}

// ---- Legend symbol on any canvas ---------------------------------------------------------------

void PaintSeriesLegend(TChartSeries* series, platform::TCanvas* canvas, const TRect& rect,
                       TCustomChart* referenceChart) {
  if (!series || !canvas) return;
  std::unique_ptr<TCustomChart> temporary;
  struct Borrow {
    TChartSeries* series = nullptr;
    ~Borrow() {
      if (series) series->SetParentChart(nullptr);
    }
  } borrow;
  if (!series->GetParentChart()) {
    TCustomChart* host = referenceChart;
    if (!host) {
      temporary = std::make_unique<TCustomChart>(nullptr, platform::TPanelSurface::Headless);
      host = temporary.get();
    }
    series->SetParentChart(host);
    borrow.series = series;
  }
  TCustomAxisPanel* panel = series->GetParentChart();
  auto* chart = dynamic_cast<TCustomChart*>(panel);
  canvas->Brush->SetStyle(platform::bsSolid);
  if (chart) {
    canvas->Brush->SetColor(chart->Legend()->GetColor());
    chart->Legend()->PrepareSymbolPen();
  }
  struct Restore {
    TCustomAxisPanel* panel;
    TCanvas3D* c3d = nullptr;
    platform::TCanvas* saved = nullptr;
    ~Restore() {
      if (c3d) c3d->SetCanvas(saved);
      panel->LegendPen = nullptr;
    }
  } restore{panel};
  TCanvas3D* c3d = panel->GetCanvas3D();
  if (c3d && !c3d->GetSupportsFullRotation()) {
    restore.c3d = c3d;
    restore.saved = c3d->PlatformCanvas;
    c3d->SetCanvas(canvas);
  }
  series->DrawLegend(-1, rect);
}

}  // namespace chart

// The walls' settings, and the chart's wall steps of the drawing pass: the back wall in 2D, the
// four walls in 3D, their room beside the axes and the chart rectangle they leave.
#include "chart/component/walls.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include "chart/canvas/canvas3d.h"
#include "chart/canvas/view3d.h"
#include "chart/component/chart.h"
#include "chart/engine/series.h"

namespace chart {

namespace {

constexpr auto Sat = platform::SaturatedInt;

void EndBlend(TCanvas3D& canvas, std::unique_ptr<TPlotBlend>& blend) {
  if (blend) canvas.EndBlending(std::move(blend));
}

}  // namespace

// --- TCustomChartWall ---

TCustomChartWall::TCustomChartWall(TCustomPlotPanel* parent) : TPlotCustomShape(parent) {
  InitColor(platform::clDefault);
}

void TCustomChartWall::SetAutoHide(const bool& value) {
  SetBooleanProperty(autoHide_, value);
}

void TCustomChartWall::SetDark3D(const bool& value) {
  SetBooleanProperty(dark3D_, value);
}

void TCustomChartWall::SetSize(const int& value) {
  if (ParentChart())
    ParentChart()->SetIntegerProperty(size_, value);
  else
    size_ = value;
}

void TCustomChartWall::InitColor(TColor color) {
  SetColor(color);
  WallDefaultColor = color;
}

bool TCustomChartWall::HasGradient() const {
  return GradientIfAny() && GradientIfAny()->GetVisible();
}

bool TCustomChartWall::ApplyDark3D() const {
  return GetBrush()->GetStyle() != platform::bsClear && !GetBrush()->GetBitmap() && dark3D_;
}

bool TCustomChartWall::ShouldDraw() const {
  const auto* chart = dynamic_cast<const TCustomAxisPanel*>(ParentChart());
  return chart && chart->GetView3DWalls() && GetVisible() && !autoHide_;
}

std::unique_ptr<TPlotBlend> TCustomChartWall::TryDrawWall(int x, int bottom) {
  if (GetTransparent()) return nullptr;
  auto* chart = dynamic_cast<TCustomAxisPanel*>(ParentChart());
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return nullptr;
  const int top = chart->ChartRect.Top, depth = chart->Width3D();
  const TFourPoints p{
      canvas->Calculate3DPosition(x, top, 0), canvas->Calculate3DPosition(x, top, depth),
      canvas->Calculate3DPosition(x, bottom, depth), canvas->Calculate3DPosition(x, bottom, 0)};
  std::unique_ptr<TPlotBlend> blend;
  if (GetTransparency() != 0)
    blend = canvas->BeginBlending(RectFromPolygon(p.data(), 4), GetTransparency());
  if (HasGradient()) {
    GradientIfAny()->Draw(static_cast<TPlotCanvas&>(*canvas), p);
    if (canvas->Brush) canvas->Brush->SetStyle(platform::bsClear);
  }
  return blend;
}

void TCustomChartWall::Assign(const platform::TPersistent* source) {
  if (const auto* other = dynamic_cast<const TCustomChartWall*>(source); other && other != this) {
    SetSize(other->size_);
    SetDark3D(other->dark3D_);
    SetAutoHide(other->autoHide_);
  }
  TPlotCustomShape::Assign(source);
}

TChartBackWall::TChartBackWall(TCustomPlotPanel* parent) : TChartWall(parent) {
  InitColor(platform::clSilver);
  SetTransparent(true);
  DefaultTransparent = true;
}

// --- TChartWalls ---

TChartWalls::TChartWalls(TCustomChart* chart) : chart_(chart) {
  back_ = std::make_unique<TChartBackWall>(chart);
  left_ = std::make_unique<TChartWall>(chart);
  left_->InitColor(0x80FFFF);
  bottom_ = std::make_unique<TChartWall>(chart);
  bottom_->InitColor(platform::clWhite);
  right_ = std::make_unique<TChartRightWall>(chart);
  right_->SetVisible(false);
  right_->InitColor(platform::clSilver);
}

TChartWalls::~TChartWalls() = default;

void TChartWalls::SetBack(const TChartBackWall* value) {
  if (value) back_->Assign(value);
}

void TChartWalls::SetBottom(const TChartWall* value) {
  if (value) bottom_->Assign(value);
}

void TChartWalls::SetLeft(const TChartWall* value) {
  if (value) left_->Assign(value);
}

void TChartWalls::SetRight(const TChartRightWall* value) {
  if (value) right_->Assign(value);
}

int TChartWalls::GetSize() const {
  return left_->GetSize();
}

void TChartWalls::SetSize(const int& value) {
  left_->SetSize(value);
  right_->SetSize(value);
  back_->SetSize(value);
  bottom_->SetSize(value);
}

bool TChartWalls::GetVisible() const {
  return chart_ && chart_->GetView3DWalls();
}

void TChartWalls::SetVisible(const bool& value) {
  if (chart_) chart_->SetView3DWalls(value);
}

void TChartWalls::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TChartWalls*>(source);
  if (!other) platform::AssignError(source, this);
  if (other == this) return;
  SetBack(other->back_.get());
  SetBottom(other->bottom_.get());
  SetLeft(other->left_.get());
  SetRight(other->right_.get());
}

// --- The chart's walls ---

TChartBackWall* TCustomChart::BackWall() const {
  return walls_ ? walls_->Back() : nullptr;
}

TChartWall* TCustomChart::LeftWall() const {
  return walls_ ? walls_->Left() : nullptr;
}

TChartWall* TCustomChart::BottomWall() const {
  return walls_ ? walls_->Bottom() : nullptr;
}

TChartRightWall* TCustomChart::RightWall() const {
  return walls_ ? walls_->Right() : nullptr;
}

TChartPen* TCustomChart::Frame() const {
  return BackWall() ? BackWall()->GetPen() : nullptr;
}

bool TCustomChart::ActiveSeriesUseAxis() const {
  bool anyActive = false;
  for (TChartSeries* s : SeriesList().Items()) {
    if (!s->GetActive()) continue;
    anyActive = true;
    if (s->UseAxis()) return true;
  }
  return !anyActive;
}

void TCustomChart::PrepareWallCanvas(TChartWall* wall) {
  TCanvas3D* canvas = GetCanvas3D();
  canvas->AssignVisiblePen(wall->GetPen());
  if (wall->GetTransparent()) {
    if (canvas->Brush) canvas->Brush->SetStyle(platform::bsClear);
  } else {
    SetBrushCanvas(wall->GetColor(), wall->GetBrush(), GetBackColor());
  }
}

int TCustomChart::CalcWallSize(const TChartAxis* axis) const {
  if (!GetView3D() || !GetView3DWalls() || !walls_) return 0;
  const TCustomChartWall* wall = BackWall();
  if (axis == LeftAxis())
    wall = LeftWall();
  else if (axis == BottomAxis())
    wall = BottomWall();
  else if (axis == RightAxis())
    wall = RightWall();
  return wall->GetVisible() ? wall->GetSize() : 0;
}

void TCustomChart::CalcWallsRect() {
  CalcSize3DWalls();
  if (!GetView3D() || !GetView3DOptions()->GetOrthogonal() || FixedChartRect) return;
  const long long s = ActiveSeriesUseAxis() ? BackWall()->GetSize() : 0;
  const long long depth = std::llabs(Width3D()) + s;
  if (GetView3DOptions()->GetOrthoAngle() <= 90) {
    long long right = ChartRect.Right - depth;
    if (RightWall()->GetVisible()) right -= RightWall()->GetSize() + 1LL;
    ChartRect.Right = Sat(right);
  } else {
    long long left = ChartRect.Left + depth;
    if (LeftWall()->GetVisible()) left += LeftWall()->GetSize() + 1LL;
    ChartRect.Left = Sat(left);
  }
  ChartRect.Top = Sat(ChartRect.Top + s + std::llabs(Height3D()));
  ReCalcWidthHeight();
}

bool TCustomChart::DrawWallFirst(int x) {
  TCanvas3D* canvas = GetCanvas3D();
  if (canvas->GetSupportsFullRotation()) return true;
  const int b = Sat(static_cast<long long>(ChartRect.Bottom) + CalcWallSize(BottomAxis()));
  const TPoint p[3] = {canvas->Calculate3DPosition(x, ChartRect.Top, 0),
                       canvas->Calculate3DPosition(x, b, 0),
                       canvas->Calculate3DPosition(
                           x, b, Sat(static_cast<long long>(BackWall()->GetSize()) + Width3D()))};
  return PlotCull(p);
}

void TCustomChart::DrawLeftWall() {
  TCanvas3D& canvas = *GetCanvas3D();
  TChartWall* wall = LeftWall();
  PrepareWallCanvas(wall);
  const TRect& r = ChartRect;
  const int b = Sat(static_cast<long long>(r.Bottom) + CalcWallSize(BottomAxis()));
  auto blend = wall->TryDrawWall(r.Left, b);
  if (wall->GetSize() < 1)
    canvas.RectangleZ(r.Left, r.Top, b, 0, Width3D());
  else
    canvas.Cube(Sat(static_cast<long long>(r.Left) - wall->GetSize()), r.Left, r.Top, b, 0,
                Width3D(), wall->ApplyDark3D());
  EndBlend(canvas, blend);
}

void TCustomChart::DrawRightWall() {
  TCanvas3D& canvas = *GetCanvas3D();
  TChartRightWall* wall = RightWall();
  PrepareWallCanvas(wall);
  const TRect& r = ChartRect;
  const int b = Sat(static_cast<long long>(r.Bottom) + CalcWallSize(BottomAxis()));
  auto blend = wall->TryDrawWall(r.Right, b);
  if (wall->GetSize() < 1) {
    canvas.RectangleZ(r.Right, r.Top, b, 0, Sat(Width3D() + 1LL));
  } else {
    const int s = BackWall()->GetVisible() ? BackWall()->GetSize() : 0;
    canvas.Cube(r.Right, Sat(static_cast<long long>(r.Right) + wall->GetSize()), r.Top, b, 0,
                Sat(static_cast<long long>(Width3D()) + s), wall->ApplyDark3D());
  }
  EndBlend(canvas, blend);
}

void TCustomChart::DrawBottomWall() {
  TCanvas3D& canvas = *GetCanvas3D();
  TChartWall* wall = BottomWall();
  PrepareWallCanvas(wall);
  const TRect& r = ChartRect;
  const int depth = Width3D();
  const int y = canvas.GetSupportsFullRotation() ? Sat(r.Bottom + 1LL) : r.Bottom;
  int left = r.Left;
  if (LeftWall()->GetVisible() && LeftWall()->GetAutoHide() && DrawLeftWallFirst())
    left = Sat(static_cast<long long>(left) - CalcWallSize(LeftAxis()));
  std::unique_ptr<TPlotBlend> blend;
  if (!wall->GetTransparent()) {
    const TFourPoints p{canvas.Calculate3DPosition(left, r.Bottom, 0),
                        canvas.Calculate3DPosition(left, r.Bottom, depth),
                        canvas.Calculate3DPosition(r.Right, r.Bottom, depth),
                        canvas.Calculate3DPosition(r.Right, r.Bottom, 0)};
    if (wall->GetTransparency() != 0)
      blend = canvas.BeginBlending(RectFromPolygon(p.data(), 4), wall->GetTransparency());
    if (wall->HasGradient()) {
      wall->GradientIfAny()->Draw(static_cast<TPlotCanvas&>(canvas), p);
      if (canvas.Brush) canvas.Brush->SetStyle(platform::bsClear);
    }
  }
  if (wall->GetSize() < 1)
    canvas.RectangleY(left, y, r.Right, 0, depth);
  else
    canvas.Cube(left, r.Right, y, Sat(static_cast<long long>(y) + wall->GetSize()), 0, depth,
                wall->ApplyDark3D());
  EndBlend(canvas, blend);
}

void TCustomChart::DrawBackWall() {
  TCanvas3D& canvas = *GetCanvas3D();
  TChartBackWall* wall = BackWall();
  PrepareWallCanvas(wall);
  const TRect& c = ChartRect;
  const int depth = Width3D();
  const bool blending = !wall->GetTransparent() && wall->GetTransparency() != 0;
  std::unique_ptr<TPlotBlend> blend;
  if (!GetView3D()) {
    // The outline's right and bottom edges are exclusive: one more pixel reaches the axes.
    const TRect r{c.Left, c.Top, Sat(c.Right + 1LL), Sat(c.Bottom + 1LL)};
    if (blending) blend = canvas.BeginBlending(r, wall->GetTransparency());
    if (wall->HasGradient() && !wall->GetTransparent()) {
      wall->GradientIfAny()->Draw(canvas, r);
      if (canvas.Brush) canvas.Brush->SetStyle(platform::bsClear);
    }
    canvas.Rectangle(r);
  } else {
    const bool cube = wall->GetSize() >= 1;
    const TRect r =
        cube ? TRect{Sat(static_cast<long long>(c.Left) - CalcWallSize(LeftAxis())), c.Top, c.Right,
                     Sat(static_cast<long long>(c.Bottom) + CalcWallSize(BottomAxis()))}
             : c;
    if (blending)
      blend = canvas.BeginBlending(canvas.CalcRect3D(r, depth), wall->GetTransparency());
    if (!wall->GetTransparent() && wall->HasGradient()) {
      TCustomPlotGradient* g = wall->GradientIfAny();
      if (GetView3DOptions()->GetOrthogonal()) {
        g->Draw(canvas, canvas.CalcRect3D(r, depth));
      } else if (canvas.GetSupportsFullRotation()) {
        // A fully rotating canvas places flat fills at the depth itself.
        g->Draw(canvas, RectToFourPoints(r, 0), depth);
      } else {
        g->Draw(static_cast<TPlotCanvas&>(canvas), canvas.FourPointsFromRect(r, depth));
      }
      if (!canvas.GetSupportsFullRotation() && canvas.Brush)
        canvas.Brush->SetStyle(platform::bsClear);
    }
    if (cube) {
      const int s = depth < 0 ? -wall->GetSize() : wall->GetSize();
      canvas.Cube(r, depth, Sat(static_cast<long long>(depth) + s), wall->ApplyDark3D());
    } else {
      canvas.RectangleWithZ(r, depth);
    }
  }
  EndBlend(canvas, blend);
  if (HasBackImage() && GetBackImageInside()) {
    TRect r = c;
    if (wall->GetPen()->GetVisible()) {
      r.Left = Sat(r.Left + 1LL);
      r.Top = Sat(r.Top + 1LL);
    }
    DrawBitmap(r, GetView3D() ? depth : 0);
  }
}

void TCustomChart::DrawWalls() {
  if (!ActiveSeriesUseAxis() || !walls_) return;
  const bool is3D = GetView3D(), walls = GetView3DWalls();
  if (is3D && walls && RightWall()->GetVisible() && !DrawRightWallAfter()) DrawRightWall();
  if (walls && BackWall()->GetVisible() && !DrawBackWallAfter(Width3D())) DrawBackWall();
  if (!is3D || !walls) return;
  if (LeftWall()->GetVisible() && !DrawLeftWallFirst()) DrawLeftWall();
  if (BottomWall()->GetVisible()) DrawBottomWall();
  if (DrawBackWallAfter(0)) {
    if (IsAxisVisible(TopAxis())) TopAxis()->Draw(true);
    if (IsAxisVisible(BottomAxis())) BottomAxis()->Draw(true);
  }
}

void TCustomChart::DrawSideAxisWithoutBackGrid(TChartAxis* axis) {
  if (!IsAxisVisible(axis)) return;
  axis->BackGridHidden = true;
  struct Restore {
    TChartAxis* a;
    ~Restore() { a->BackGridHidden = false; }
  } restore{axis};
  axis->Draw(false);
}

void TCustomChart::DrawWallsInFront() {
  if (DrawRightWallAfter()) {
    if (RightWall()->ShouldDraw()) DrawRightWall();
    DrawSideAxisWithoutBackGrid(RightAxis());
  }
  if (DrawLeftWallFirst()) {
    if (LeftWall()->ShouldDraw()) DrawLeftWall();
    DrawSideAxisWithoutBackGrid(LeftAxis());
  }
  if (DrawBackWallAfter(Width3D())) {
    for (TChartAxis* axis : {TopAxis(), BottomAxis()}) {
      if (!IsAxisVisible(axis)) continue;
      axis->SideGridHidden = true;
      axis->DrawGrids(static_cast<int>(axis->Tick.size()));
      axis->SideGridHidden = false;
    }
    if (BackWall()->ShouldDraw()) DrawBackWall();
  }
}

}  // namespace chart

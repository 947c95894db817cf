// Where marks go and how they are drawn: positions the user placed, callouts, the symbol, the
// text lines, moving marks off each other, and finding the mark under the mouse.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "chart/canvas/canvas3d.h"
#include "chart/engine/engine_globals.h"
#include "chart/engine/series.h"
#include "chart/engine/series_marks.h"
#include "chart/engine/series_pointer.h"
#include "chart/panel/plot_panel.h"

namespace chart {

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  for (;;) {
    std::string::size_type next = 0;
    const auto end = PlotLineEnd(text, start, next);
    lines.push_back(text.substr(start, end - start));
    if (end == text.size()) return lines;
    start = next;
  }
}

// Right and bottom edges are exclusive: boxes that only touch do not overlap.
bool Overlap(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

int NormalAngle(int angle) {
  return ((angle % 360) + 360) % 360;
}

}  // namespace

// ---- TSeriesMarksGradient, TSeriesMarksSymbol --------------------------------------------------

TSeriesMarksGradient::TSeriesMarksGradient(std::function<void()> onChange) {
  // Defaults, not changes: nobody is told.
  SetDirection(gdRightLeft);
  SetEndColor(platform::clWhite);
  SetStartColor(platform::clSilver);
  onChange_ = std::move(onChange);
}

TSeriesMarksSymbol::TSeriesMarksSymbol(TCustomPlotPanel* parent) : TPlotCustomShape(parent) {
  SetVisible(false);
  if (TPlotShadow* shadow = GetShadow()) {
    shadow->SetSize(1);
    shadow->DefaultSize = 1;
  }
}

// ---- Settings ----------------------------------------------------------------------------------

void TSeriesMarks::SetAngle(int value) {
  if (series_)
    series_->SetIntegerProperty(angle_, value);
  else
    angle_ = value;
}

void TSeriesMarks::SetClip(bool value) {
  if (series_)
    series_->SetBooleanProperty(clip_, value);
  else
    clip_ = value;
}

void TSeriesMarks::SetDrawEvery(int value) {
  // Every index is tested against it with a modulo: 0 and below mean every mark.
  value = std::max(1, value);
  if (series_)
    series_->SetIntegerProperty(drawEvery_, value);
  else
    drawEvery_ = value;
}

TMarksCallout* TSeriesMarks::GetCallout() {
  if (!callout_) {
    callout_ = std::make_unique<TMarksCallout>(series_);
    callout_->SetParent(ParentChart());
  }
  return callout_.get();
}

void TSeriesMarks::SetCallout(const TMarksCallout* value) {
  if (value == callout_.get()) return;
  if (!value) {
    callout_.reset();
    Repaint();
    return;
  }
  GetCallout()->Assign(value);
}

TSeriesMarksSymbol* TSeriesMarks::GetSymbol() {
  if (!symbol_) symbol_ = std::make_unique<TSeriesMarksSymbol>(ParentChart());
  return symbol_.get();
}

void TSeriesMarks::SetSymbol(const TSeriesMarksSymbol* value) {
  if (value == symbol_.get()) return;
  if (!value) {
    symbol_.reset();
    Repaint();
    return;
  }
  GetSymbol()->Assign(value);
}

void TSeriesMarks::Assign(const platform::TPersistent* source) {
  if (const auto* other = dynamic_cast<const TSeriesMarks*>(source); other && other != this) {
    angle_ = other->angle_;
    SetCallout(other->callout_.get());
    clip_ = other->clip_;
    drawEvery_ = other->drawEvery_;
    style_ = other->style_;
    multiLine_ = other->multiLine_;
    SetSymbol(other->symbol_.get());
    items_.Assign(other->items_);
  }
  TPlotCustomShape::Assign(source);
}

void TSeriesMarks::SetParent(TCustomPlotPanel* panel) {
  TPlotCustomShape::SetParent(panel);
  if (callout_) callout_->SetParent(panel);
  if (symbol_) symbol_->SetParent(panel);
  // Items keep no pointer to a chart the series has left.
  for (int i = 0; i < items_.Count(); ++i)
    if (TMarksItem* item = items_.Existing(i)) item->SetParent(panel);
}

void TSeriesMarks::InitShadow(TPlotShadow* shadow) {
  if (!shadow) return;
  shadow->SetColor(platform::clGray);
  shadow->SetSize(1);
  shadow->DefaultColor = platform::clGray;
  shadow->DefaultSize = 1;
}

TPlotCustomShape* TSeriesMarks::MarkItem(int index) {
  if (TMarksItem* item = items_.Existing(index)) return item;
  return this;
}

// ---- Placement ---------------------------------------------------------------------------------

void TSeriesMarks::ApplyArrowLength(TSeriesMarkPosition& position) {
  if (callout_) callout_->ApplyArrowLength(position);
}

void TSeriesMarks::UsePosition(int index, TSeriesMarkPosition& position) {
  if (index < 0) return;
  TSeriesMarkPosition* stored = positions_.Get(index);
  if (!stored) {
    positions_.Put(index, position);
    positions_.Automatic(index);
    return;
  }
  if (!stored->Custom) {
    stored->Assign(position);
    return;
  }
  const TPoint start = position.ArrowStart;
  position.Assign(*stored);
  if (position.ArrowStartFixed) position.ArrowStart = start;
}

TPoint TSeriesMarks::ConvertTo2D(TPoint arrow, TPoint topLeft) const {
  TCustomPlotPanel* chart = ParentChart();
  if (!chart || !chart->GetView3D()) return topLeft;
  TCanvas3D* canvas = chart->GetCanvas3D();
  if (!canvas || canvas->GetSupports3DText()) return topLeft;
  const TPoint a = canvas->Calculate3DPosition(arrow, ZPosition);
  return TPoint{a.X + topLeft.X - arrow.X, a.Y - (arrow.Y - topLeft.Y)};
}

namespace {

// What a mark covers on screen: its box, its frame's width at the right and bottom, and its
// shadow on the side the shadow falls.
TRect CoveredRect(const TSeriesMarks& marks, const TSeriesMarkPosition& p,
                  TPlotCustomShape& format) {
  const TPoint tl = marks.ConvertTo2D(p.ArrowEnd, p.TopLeft);
  TRect r{tl.X, tl.Y, tl.X + p.Width, tl.Y + p.Height};
  if (format.GetFrame()->GetVisible()) {
    r.Right += format.GetFrame()->GetWidth();
    r.Bottom += format.GetFrame()->GetWidth();
  }
  if (const TPlotShadow* shadow = format.GetShadow()) {
    const int h = shadow->GetHorizSize(), v = shadow->GetVertSize();
    (h > 0 ? r.Right : r.Left) += h;
    (v > 0 ? r.Bottom : r.Top) += v;
  }
  return r;
}

}  // namespace

void TSeriesMarks::AntiOverlap(int first, int index, TSeriesMarkPosition& position) {
  first = std::max(0, first);
  if (index <= first) return;
  TPlotCustomShape& own = *MarkItem(index);
  // The first overlap decides the direction; every later one pushes the same way, so a mark
  // never moves back onto one it has left and each stored mark moves it at most once.
  int direction = 0;
  for (int pass = first; pass <= index; ++pass) {
    bool moved = false;
    for (int i = first; i < index; ++i) {
      const TSeriesMarkPosition* other = positions_.Get(i);
      if (!other) continue;
      const TRect n = CoveredRect(*this, position, own);
      const TRect o = CoveredRect(*this, *other, *MarkItem(i));
      if (!Overlap(n, o)) continue;
      if (direction == 0) direction = n.Top < o.Top ? -1 : 1;
      const int dy = direction < 0 ? o.Top - n.Bottom : o.Bottom - n.Top;
      position.TopLeft.Y += dy;
      position.ArrowEnd.Y += dy;
      moved = true;
    }
    if (!moved) return;
  }
}

int TSeriesMarks::Clicked(int x, int y) {
  const int every = std::max(1, drawEvery_);
  for (int i = positions_.Count() - 1; i >= 0; --i) {
    if (i % every != 0) continue;
    const TSeriesMarkPosition* p = positions_.Get(i);
    if (!p) continue;
    const TPoint tl = ConvertTo2D(p->ArrowEnd, p->TopLeft);
    if (x >= tl.X && x < tl.X + p->Width && y >= tl.Y && y < tl.Y + p->Height) return i;
  }
  return -1;
}

int TSeriesMarks::TextWidth(int index) {
  TCustomPlotPanel* chart = ParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas || !series_) return 0;
  canvas->AssignFont(MarkItem(index)->GetFont());
  int widest = 0;
  for (const std::string& line : SplitLines(series_->GetMarkText(index)))
    widest = std::max(widest, canvas->TextWidth(line));
  return widest;
}

void TSeriesMarks::ResetPositions() {
  for (int i = 0; i < positions_.Count(); ++i) positions_.Automatic(i);
  if (series_) series_->Repaint();
}

// ---- Drawing -----------------------------------------------------------------------------------

void TSeriesMarks::InternalDraw(int index, TColor color, const std::string& text,
                                TSeriesMarkPosition& position) {
  UsePosition(index, position);
  TPlotCustomShape& format = *MarkItem(index);
  TCustomPlotPanel* chart = ParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas || !canvas->Pen || !canvas->Brush) return;

  if (callout_ && (callout_->GetVisible() || callout_->GetArrow()->GetVisible()))
    callout_->Draw(color, position.ArrowStart, ZPosition, position.ArrowEnd);

  if (format.GetTransparent()) {
    canvas->Brush->SetStyle(platform::bsClear);
    canvas->SetBackMode(cbmTransparent);
  } else {
    canvas->AssignBrushColor(format.GetBrush(), format.GetColor(), chart->GetBackColor());
  }
  canvas->AssignVisiblePen(format.GetFrame());

  const int angle = NormalAngle(angle_);
  position.TopLeft = ConvertTo2D(position.ArrowEnd, position.TopLeft);
  TRect r{position.TopLeft.X, position.TopLeft.Y, position.TopLeft.X + position.Width,
          position.TopLeft.Y + position.Height};
  format.DrawRectRotated(r, angle, ZPosition + 1);

  int symbolWidth = -1;
  if (symbol_ && symbol_->ShouldDraw()) {
    symbol_->SetColor(series_ ? series_->GetValueColor(index) : color);
    const int fh = canvas->GetFontHeight();
    const TRect box{r.Left + 4, r.Top + 3, r.Left + fh - 1, r.Top + fh - 2};
    symbol_->DrawRectRotated(box, angle, ZPosition + 1);
    symbolWidth = box.Right - box.Left;
  }

  canvas->Brush->SetStyle(platform::bsClear);
  canvas->SetBackMode(cbmTransparent);
  canvas->SetTextAlign(TA_CENTER);
  r.Left += 2;
  if (symbolWidth >= 0) r.Left += symbolWidth + 4;
  DrawText(r, text);
}

void TSeriesMarks::DrawText(const TRect& r, const std::string& text) {
  TCustomPlotPanel* chart = ParentChart();
  TCanvas3D* canvas = chart ? chart->GetCanvas3D() : nullptr;
  if (!canvas) return;
  int x = 0, y = 0;
  RectCenter(r, x, y);
  if (GetTextFormat() == ttfHtml) {
    canvas->TextOut(x, r.Top, text, true);
    return;
  }
  const int angle = NormalAngle(angle_);
  const bool text3D = canvas->GetSupports3DText();
  const int fh = canvas->GetFontHeight();
  const int frame = GetFrame()->GetVisible() ? GetFrame()->GetWidth() : 0;
  const long double a = static_cast<long double>(angle) * std::numbers::pi_v<long double> / 180;
  const std::vector<std::string> lines = SplitLines(text);
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    int lx = x, ly = 0;
    if (angle == 0) {
      ly = r.Top + i * fh + frame;
    } else {
      const long double d = static_cast<long double>(i) * fh + y - r.Bottom;
      lx = x + Round(std::sin(a) * d);
      ly = y + Round(std::cos(a) * d);
      if (angle == 90) ++lx;
    }
    const std::string& line = lines[static_cast<size_t>(i)];
    if (text3D) {
      if (angle != 0)
        canvas->RotateLabel3D(lx, ly, ZPosition, line, angle);
      else
        canvas->TextOut3D(lx, ly, ZPosition, line);
    } else if (angle != 0) {
      canvas->RotateLabel(lx, ly, line, angle);
    } else {
      canvas->TextOut(lx, ly, line);
    }
  }
}

}  // namespace chart

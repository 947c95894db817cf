#include "chart/component/titles.h"

#include <algorithm>
#include <climits>

#include "chart/canvas/canvas3d.h"
#include "chart/engine/engine_globals.h"
#include "chart/panel/plot_panel.h"

namespace chart {

namespace {

constexpr auto Sat = platform::SaturatedInt;

}  // namespace

// --- TPlotCustomShapePosition ---

TPlotCustomShapePosition::TPlotCustomShapePosition(TCustomPlotPanel* parent,
                                                   const TChartBrushClass& brushClass,
                                                   const TPlotGradientClass& gradientClass)
    : TPlotCustomShape(parent, brushClass, gradientClass) {}

void TPlotCustomShapePosition::SetCustomPosition(const bool& value) {
  SetBooleanProperty(customPosition_, value);
}

void TPlotCustomShapePosition::SetCorner(int& variable, int value) {
  SetCustomPosition(true);
  if (ParentChart())
    ParentChart()->SetIntegerProperty(variable, value);
  else
    variable = value;
}

void TPlotCustomShapePosition::SetLeft(const int& value) {
  SetCorner(ShapeBounds.Left, value);
}

void TPlotCustomShapePosition::SetTop(const int& value) {
  SetCorner(ShapeBounds.Top, value);
}

void TPlotCustomShapePosition::Assign(const platform::TPersistent* source) {
  if (const auto* other = dynamic_cast<const TPlotCustomShapePosition*>(source);
      other && other != this) {
    SetCustomPosition(other->customPosition_);
    if (other->customPosition_) {
      SetLeft(other->GetLeft());
      SetTop(other->GetTop());
    }
  }
  TPlotCustomShape::Assign(source);
}

// --- TChartTitle ---

TChartTitle::TChartTitle(TCustomPlotPanel* parent) : TPlotCustomShapePosition(parent) {
  text_ = std::make_unique<platform::TStringList>();
  text_->OnChange = [this] {
    if (ParentChart()) ParentChart()->CanvasChanged();
  };
  SetTransparent(true);
  DefaultTransparent = true;
  GetFont()->SetColor(platform::clBlue);
  GetFont()->DefaultColor = platform::clBlue;
}

TChartTitle::~TChartTitle() = default;

void TChartTitle::SetAdjustFrame(const bool& value) {
  SetBooleanProperty(adjustFrame_, value);
}

void TChartTitle::SetAlignment(const platform::TAlignment& value) {
  if (value == alignment_) return;
  alignment_ = value;
  Repaint();
}

void TChartTitle::SetText(const platform::TStrings* value) {
  if (!value || value == text_.get()) return;
  text_->Assign(*value);
  Repaint();
}

std::string TChartTitle::GetCaption() const {
  return text_->Count() > 0 ? text_->Get(0) : std::string();
}

void TChartTitle::SetCaption(const std::string& value) {
  text_->Clear();
  if (!value.empty()) text_->Add(value);
}

bool TChartTitle::Clicked(int x, int y) const {
  return GetVisible() && PointInRect(ShapeBounds, x, y);
}

void TChartTitle::Assign(const platform::TPersistent* source) {
  if (const auto* other = dynamic_cast<const TChartTitle*>(source); other && other != this) {
    SetAdjustFrame(other->adjustFrame_);
    SetAlignment(other->alignment_);
    SetText(other->text_.get());
  }
  TPlotCustomShapePosition::Assign(source);
}

void TChartTitle::DrawTitle() {
  TCustomPlotPanel* panel = ParentChart();
  const int n = text_->Count();
  if (!panel || !GetVisible() || n == 0) return;
  TCanvas3D* canvas = panel->GetCanvas3D();
  if (!canvas) return;

  int fw = 0;
  if (GetFrame()->GetVisible() && GetFrame()->GetColor() != platform::clDefault)
    fw = GetFrame()->GetWidth();
  if (GetBevel() != platform::bvNone) fw = GetBevelWidth();

  const bool custom = GetCustomPosition();
  TRect& r = ShapeBounds;
  if (!custom) {
    r = panel->ChartRect;
    if (AnchorTop) r.Top = Sat(static_cast<long long>(r.Top) + fw);
  }
  canvas->AssignFont(GetFont());
  canvas->SetTextAlign(TA_LEFT | TA_TOP);
  const int h = canvas->GetFontHeight();
  const long long linesHeight = static_cast<long long>(n) * h;
  if (AnchorTop || custom)
    r.Bottom = Sat(r.Top + linesHeight);
  else
    r.Top = Sat(r.Bottom - linesHeight);
  if (!custom)
    r = TRect{Sat(static_cast<long long>(r.Left) - fw), Sat(static_cast<long long>(r.Top) - fw),
              Sat(static_cast<long long>(r.Right) + fw),
              Sat(static_cast<long long>(r.Bottom) + fw)};

  const int m = canvas->TextWidth("W");
  if (adjustFrame_) {
    int widest = 0;
    for (int i = 0; i < n; ++i) widest = std::max(widest, canvas->TextWidth(text_->Get(i)));
    const long long t = static_cast<long long>(m) + fw + widest;
    switch (alignment_) {
      case platform::taLeftJustify:
        r.Right = Sat(r.Left + t);
        break;
      case platform::taRightJustify:
        r.Left = Sat(r.Right - t);
        break;
      case platform::taCenter: {
        if (custom) r.Right = Sat(r.Left + t);
        const long long centre = (static_cast<long long>(r.Left) + r.Right) / 2;
        r.Left = Sat(centre - t / 2);
        r.Right = Sat(centre + t / 2);
        break;
      }
    }
  }

  Draw();
  canvas->SetBackMode(cbmTransparent);

  auto lineY = [&](long long a) {
    return AnchorTop ? Sat(r.Top + a) : Sat(static_cast<long long>(r.Bottom) - h - a);
  };
  const int x0 = Sat(r.Left + static_cast<long long>(m / 2));
  if (GetTextFormat() == ttfHtml) {
    canvas->TextOut(x0, lineY(fw), text_->GetText(), true);
  } else {
    for (int i = 0; i < n; ++i) {
      const std::string line = text_->Get(i);
      int x = x0;
      if (alignment_ == platform::taRightJustify)
        x = Sat(static_cast<long long>(r.Right) - canvas->TextWidth(line) - m / 2);
      else if (alignment_ == platform::taCenter)
        x = Sat((static_cast<long long>(r.Left) + r.Right) / 2 - canvas->TextWidth(line) / 2);
      canvas->TextOut(x, lineY(static_cast<long long>(i) * h + fw), line);
    }
  }

  if (custom) return;
  if (!panel->FixedChartRect) {
    long long d = static_cast<long long>(PlotTitleFootDistance) + fw;
    if (!GetTransparent() && GetShadow()) d += GetShadow()->GetVertSize();
    if (AnchorTop)
      panel->ChartRect.Top = Sat(r.Bottom + d);
    else
      panel->ChartRect.Bottom = Sat(r.Bottom - d - linesHeight);
  }
  panel->ReCalcWidthHeight();
}

// --- TChartFootTitle ---

TChartFootTitle::TChartFootTitle(TCustomPlotPanel* parent) : TChartTitle(parent) {
  AnchorTop = false;
  GetFont()->SetColor(platform::clRed);
  GetFont()->DefaultColor = platform::clRed;
  const platform::TFontStyles italic{platform::fsItalic};
  GetFont()->SetStyle(italic);
  GetFont()->DefaultStyle = italic;
}

}  // namespace chart

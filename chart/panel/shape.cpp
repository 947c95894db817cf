#include "chart/panel/shape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "chart/canvas/blend.h"
#include "chart/canvas/canvas3d.h"
#include "chart/panel/plot_panel.h"

namespace chart {

namespace {

// Corner radius of rounded shapes and of their gradient's clip.
constexpr int kShapeRoundSize = 16;

TRect Moved(const TRect& r, int dx, int dy) {
  auto add = [](int a, int b) {
    return static_cast<int>(std::clamp(static_cast<long long>(a) + b, -(1LL << 30), 1LL << 30));
  };
  return TRect{add(r.Left, dx), add(r.Top, dy), add(r.Right, dx), add(r.Bottom, dy)};
}

// What a box turned by angle covers: its rectangle, or the bounds of its four turned corners.
TRect Footprint(const TRect& r, double angle) {
  if (angle == 0) return r;
  const TFourPoints p = RectToFourPoints(r, angle);
  return RectFromPolygon(p.data(), static_cast<int>(p.size()));
}

TRect Union(const TRect& a, const TRect& b) {
  return TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
               std::max(a.Bottom, b.Bottom)};
}

}  // namespace

TFourPoints RectToFourPoints(const TRect& r, double angle) {
  int cx = 0, cy = 0;
  RectCenter(r, cx, cy);
  const long double a = static_cast<long double>(angle) * std::numbers::pi_v<long double> / 180;
  const long double s = std::sin(a), c = std::cos(a);
  const TPoint corners[4] = {
      {r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}};
  TFourPoints p;
  for (int i = 0; i < 4; ++i) {
    const long double x = static_cast<long double>(corners[i].X) - cx;
    const long double y = static_cast<long double>(corners[i].Y) - cy;
    p[i].X = Round(Round(x * c + y * s) + static_cast<long double>(cx));
    p[i].Y = Round(Round(-x * s + y * c) + static_cast<long double>(cy));
  }
  return p;
}

void DrawBevel(TCanvas3D& canvas, platform::TBevelCut bevel, TRect& r, int roundSize, int width) {
  if (bevel == platform::bvNone || !canvas.Pen) return;
  if (roundSize > 0) {
    canvas.Pen->SetColor(bevel == platform::bvLowered ? platform::clBtnShadow
                                                      : platform::clBtnHighlight);
    canvas.RoundRect(r, roundSize, roundSize);
    const TRect a = Moved(r, width, width), b = Moved(r, -width, -width);
    r = TRect{a.Left, a.Top, b.Right, b.Bottom};
    return;
  }
  const TColor top =
      bevel == platform::bvLowered ? platform::clBtnShadow : platform::clBtnHighlight;
  const TColor bottom =
      bevel == platform::bvRaised ? platform::clBtnShadow : platform::clBtnHighlight;
  canvas.Frame3D(r, top, bottom, width);
}

// --- TPlotCustomShapeBrushPen ---

TPlotCustomShapeBrushPen::TPlotCustomShapeBrushPen(TCustomPlotPanel* parent,
                                                   const TChartBrushClass& brushClass)
    : parent_(parent) {
  auto notify = [this] { CanvasChanged(); };
  brush_ = brushClass ? brushClass(notify) : std::make_unique<TChartBrush>(notify);
  frame_ = std::make_unique<TChartPen>(notify);
}

TPlotCustomShapeBrushPen::~TPlotCustomShapeBrushPen() = default;

void TPlotCustomShapeBrushPen::SetBrush(const TChartBrush* value) {
  if (value) brush_->Assign(*value);
}

void TPlotCustomShapeBrushPen::SetPen(const TChartPen* value) {
  if (value) frame_->Assign(*value);
}

void TPlotCustomShapeBrushPen::SetVisible(const bool& value) {
  SetBooleanProperty(visible_, value);
}

void TPlotCustomShapeBrushPen::Repaint() {
  if (parent_) parent_->Invalidate();
}

void TPlotCustomShapeBrushPen::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TPlotCustomShapeBrushPen*>(source);
  if (!other || other == this) return;
  brush_->Assign(*other->brush_);
  frame_->Assign(*other->frame_);
  SetVisible(other->visible_);
}

void TPlotCustomShapeBrushPen::SetBooleanProperty(bool& variable, bool value) {
  if (parent_)
    parent_->SetBooleanProperty(variable, value);
  else
    variable = value;
}

void TPlotCustomShapeBrushPen::SetColorProperty(TColor& variable, TColor value) {
  if (parent_)
    parent_->SetColorProperty(variable, value);
  else
    variable = value;
}

// --- TPlotCustomShape ---

TPlotCustomShape::TPlotCustomShape(TCustomPlotPanel* parent, const TChartBrushClass& brushClass,
                                   const TPlotGradientClass& gradientClass)
    : TPlotCustomShapeBrushPen(parent, brushClass), gradientClass_(gradientClass) {
  auto notify = [this] { CanvasChanged(); };
  shadow_ = std::make_unique<TPlotShadow>(notify);
  InitShadow(*shadow_);
  font_ = std::make_unique<TPlotFont>(notify);
}

TPlotCustomShape::~TPlotCustomShape() = default;

void TPlotCustomShape::InitShadow(TPlotShadow& shadow) {
  shadow.SetColor(platform::clBlack);
  shadow.SetSize(3);
  shadow.DefaultColor = platform::clBlack;
  shadow.DefaultSize = 3;
}

void TPlotCustomShape::SetBevel(const platform::TBevelCut& value) {
  if (value == bevel_) return;
  bevel_ = value;
  Repaint();
}

void TPlotCustomShape::SetBevelWidth(const int& value) {
  if (value == bevelWidth_) return;
  bevelWidth_ = value;
  Repaint();
}

void TPlotCustomShape::SetColor(const TColor& value) {
  SetColorProperty(color_, value);
}

void TPlotCustomShape::SetFont(const TPlotFont* value) {
  if (value) font_->Assign(*value);
}

void TPlotCustomShape::SetShadow(const TPlotShadow* value) {
  if (!value) {
    if (!shadow_) return;
    shadow_.reset();
    Repaint();
    return;
  }
  if (!shadow_) {
    shadow_ = std::make_unique<TPlotShadow>([this] { CanvasChanged(); });
    InitShadow(*shadow_);
  }
  shadow_->Assign(value);
}

void TPlotCustomShape::SetShapeStyle(const TChartObjectShapeStyle& value) {
  if (value == shapeStyle_) return;
  shapeStyle_ = value;
  Repaint();
}

void TPlotCustomShape::SetTextFormat(const TTextFormat& value) {
  if (value == textFormat_) return;
  textFormat_ = value;
  Repaint();
}

void TPlotCustomShape::SetTransparent(const bool& value) {
  SetBooleanProperty(transparent_, value);
}

TCustomPlotGradient* TPlotCustomShape::GetGradient() {
  if (!gradient_) {
    auto notify = [this] { CanvasChanged(); };
    gradient_ = gradientClass_ ? gradientClass_(notify) : nullptr;
    if (!gradient_) gradient_ = std::make_unique<TPlotGradient>(notify);
  }
  return gradient_.get();
}

void TPlotCustomShape::SetGradient(const TCustomPlotGradient* value) {
  if (!value) {
    if (!gradient_) return;
    gradient_.reset();
    Repaint();
    return;
  }
  GetGradient()->Assign(value);
}

void TPlotCustomShape::SetTransparency(const TPlotTransparency& value) {
  const TPlotTransparency v = std::clamp(value, 0, 100);
  if (v == transparency_) return;
  transparency_ = v;
  Repaint();
}

TColor TPlotCustomShape::GetShadowColor() const {
  return shadow_ ? shadow_->GetColor() : platform::clNone;
}

void TPlotCustomShape::SetShadowColor(const TColor& value) {
  if (shadow_) shadow_->SetColor(value);
}

int TPlotCustomShape::GetShadowSize() const {
  return shadow_ ? shadow_->GetSize() : 0;
}

void TPlotCustomShape::SetShadowSize(const int& value) {
  if (shadow_) shadow_->SetSize(value);
}

bool TPlotCustomShape::ReadShadowColor(const std::string& value) {
  TColor color = 0;
  if (platform::IdentToColor(value, color)) {
    SetShadowColor(color);
    return true;
  }
  // An integer, decimal or "$" hexadecimal, as layouts write colours without a name.
  const bool hex = !value.empty() && value[0] == '$';
  const std::string digits = hex ? value.substr(1) : value;
  if (digits.empty()) return false;
  long long v = 0;
  std::size_t i = 0;
  const bool negative = !hex && digits[0] == '-';
  if (negative) i = 1;
  if (i == digits.size()) return false;
  for (; i < digits.size(); ++i) {
    const char ch = digits[i];
    int d = -1;
    if (ch >= '0' && ch <= '9') d = ch - '0';
    if (hex && ch >= 'a' && ch <= 'f') d = ch - 'a' + 10;
    if (hex && ch >= 'A' && ch <= 'F') d = ch - 'A' + 10;
    if (d < 0) return false;
    v = v * (hex ? 16 : 10) + d;
    if (v > 0xFFFFFFFFLL) return false;
  }
  if (negative) v = -v;
  if (v < -0x80000000LL) return false;
  SetShadowColor(static_cast<TColor>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v))));
  return true;
}

void TPlotCustomShape::ReadShadowSize(int value) {
  SetShadowSize(value);
}

void TPlotCustomShape::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TPlotCustomShape*>(source);
  if (other && other != this) {
    SetBevel(other->bevel_);
    SetBevelWidth(other->bevelWidth_);
    SetColor(other->color_);
    SetFont(other->font_.get());
    SetGradient(other->gradient_.get());
    SetShapeStyle(other->shapeStyle_);
    SetShadow(other->shadow_.get());
    SetTextFormat(other->textFormat_);
    SetTransparent(other->transparent_);
    SetTransparency(other->transparency_);
  }
  TPlotCustomShapeBrushPen::Assign(source);
}

void TPlotCustomShape::Outline(TCanvas3D& canvas, const TRect& r, double angle, int z) {
  if (angle > 0) {
    const TFourPoints p = RectToFourPoints(r, angle);
    canvas.Polygon(std::span<const TPoint>(p.data(), p.size()));
  } else if (canvas.GetSupportsFullRotation()) {
    canvas.RectangleWithZ(r, z);
  } else if (shapeStyle_ == fosRoundRectangle) {
    canvas.RoundRect(r.Left, r.Top, r.Right, r.Bottom, kShapeRoundSize, kShapeRoundSize);
  } else {
    canvas.Rectangle(r);
  }
}

TRect TPlotCustomShape::ShadowRect(const TRect& r) const {
  int h = shadow_->GetHorizSize(), v = shadow_->GetVertSize();
  if (std::max(h, v) > 0 && GetFrame()->GetVisible()) {
    h += GetFrame()->GetWidth();
    v += GetFrame()->GetWidth();
  }
  return Moved(r, h, v);
}

void TPlotCustomShape::DrawShadow(TCanvas3D& canvas, const TRect& r, double angle, int z) {
  const bool plain = angle == 0 && shapeStyle_ == fosRectangle;
  if (plain) {
    const bool bracket = !canvas.GetSupportsFullRotation();
    if (bracket) canvas.FrontPlaneBegin();
    shadow_->Draw(canvas, r, z);
    if (bracket) canvas.FrontPlaneEnd();
  }
  // A translucent box also casts the shadow of its own outline; an opaque one only the plain
  // shadow of a rectangle.
  if (transparency_ <= 0) return;
  if (!canvas.Pen || !canvas.Brush) return;
  canvas.Pen->SetStyle(platform::psClear);
  canvas.Brush->SetStyle(platform::bsSolid);
  canvas.Brush->SetColor(shadow_->GetColor());
  const TRect moved = ShadowRect(r);
  std::unique_ptr<TPlotBlend> blend;
  if (shadow_->GetTransparency() > 0)
    blend = canvas.BeginBlending(Footprint(moved, angle), shadow_->GetTransparency());
  Outline(canvas, moved, angle, z);
  if (blend) canvas.EndBlending(std::move(blend));
}

void TPlotCustomShape::DrawRectRotated(const TRect& r, double angle, int z) {
  if (transparent_ || !ParentChart()) return;
  TCanvas3D* c = ParentChart()->GetCanvas3D();
  if (!c || !c->Pen || !c->Brush) return;
  TCanvas3D& canvas = *c;

  const bool shadowed =
      shadow_ && shadow_->GetSize() != 0 && GetBrush()->GetStyle() != platform::bsClear;
  std::unique_ptr<TPlotBlend> blend;
  if (transparency_ > 0) {
    // The shadow is blended with the box, also where it reaches beyond it.
    TRect area = Footprint(r, angle);
    if (shadowed) area = Union(area, Footprint(ShadowRect(r), angle));
    blend = canvas.BeginBlending(area, transparency_);
  }

  if (shadowed) DrawShadow(canvas, r, angle, z);

  if (gradient_ && gradient_->GetVisible()) {
    if (angle < 1) {
      gradient_->Draw(canvas, r,
                      !canvas.GetSupportsFullRotation() && shapeStyle_ == fosRoundRectangle
                          ? kShapeRoundSize
                          : 0);
    } else {
      const TFourPoints p = RectToFourPoints(r, angle);
      if (canvas.GetSupportsFullRotation())
        gradient_->Draw(canvas, p, z);
      else
        gradient_->Draw(static_cast<TPlotCanvas&>(canvas), p);
    }
    // The outline must not paint over the gradient.
    canvas.Brush->SetStyle(platform::bsClear);
  } else {
    // A brush left at the default colour fills in the shape's own colour.
    const TColor brushColor = GetBrush()->GetColor();
    canvas.AssignBrushColor(GetBrush(), brushColor == platform::clDefault ? color_ : brushColor,
                            color_);
  }
  canvas.AssignVisiblePen(GetFrame());
  Outline(canvas, r, angle, z);
  if (angle == 0) {
    TRect bevel = r;
    DrawBevel(canvas, bevel_, bevel, 0, bevelWidth_);
  }
  if (blend) canvas.EndBlending(std::move(blend));
}

}  // namespace chart

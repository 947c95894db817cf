// Drawing one axis: the title, then the labels the loops computed, placed, aligned and rotated
// by angle, in optional boxes, multi-line and with exponents; then the line work.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "chart/canvas/geometry.h"
#include "chart/engine/axis.h"
#include "chart/engine/axis_panel.h"

namespace chart {

namespace {

// Lines of a label: separators, plus one when text follows the last one.
int CountLines(const std::string& text) {
  int lines = 0;
  for (size_t start = 0, next = 0; start < text.size(); start = next) {
    PlotLineEnd(text, start, next);
    ++lines;
  }
  return lines;
}

// The room of the labels across the axis (for labels aligned to the far side).
int LabelsRoom(TChartAxis& axis, TCanvas3D& canvas) {
  int size = axis.GetLabelsSize();
  if (size == 0) {
    const int a = axis.GetLabelsAngle();
    const bool thin = axis.Horizontal() ? (a == 0 || a == 180) : (a == 90 || a == 270);
    canvas.AssignFont(axis.GetLabelsFont());
    size = thin ? canvas.GetFontHeight() : axis.MaxLabelsWidth();
  }
  return axis.GetLabelsAlternate() ? 2 * size : size;
}

}  // namespace

void TChartAxis::Draw(bool calcPosAxis) {
  TCanvas3D* canvas = chart_ ? chart_->GetCanvas3D() : nullptr;
  if (!canvas) return;
  isDateTime_ = IsDateTime();
  if (calcPosAxis) PosAxis = ApplyPosition(GetRectangleEdge(chart_->ChartRect), chart_->ChartRect);
  if (title_->GetVisible() && !title_->GetCaption().empty()) {
    if (IsDepthAxis())
      DrawTitle(PosTitle, DepthAxisPos());
    else if (horizontal_)
      DrawTitle(iCenterPos_, PosTitle);
    else
      DrawTitle(PosTitle, iCenterPos_);
  }
  CalcLabelsAndTicks();

  // The axis drawn before this one leaves the text background opaque.
  canvas->SetBackMode(cbmTransparent);
  int alternate = 0;
  for (TAxisLabelItem& label : LabelItems) {
    if (!label.Shown) continue;
    TPlotCustomShape* format = label.Format;
    canvas->AssignFont(format ? format->GetFont() : GetLabelsFont());
    canvas->Brush->SetStyle(platform::bsClear);
    const int fh = canvas->GetFontHeight();
    if (IsDepthAxis()) {
      int p = label.Pixel;
      const TView3DOptions* view = chart_->GetView3DOptions();
      if (view && (view->GetRotation() == 360 || view->GetOrthogonal())) p += fh / 2;
      const int x = otherSide_ ? PosLabels : PosLabels - canvas->TextWidth("W") / 2 - 2;
      canvas->SetTextAlign(DepthAxisAlign());
      canvas->TextOut3D(x, DepthAxisPos(), p, label.Text);
      continue;
    }
    int pos = PosLabels;
    if (labelsAlternate_) {
      // Horizontal axes start plain, vertical ones pushed out.
      const bool pushed = horizontal_ ? alternate % 2 == 1 : alternate % 2 == 0;
      if (pushed) {
        if (horizontal_)
          pos += otherSide_ ? -fh : fh;
        else
          pos += otherSide_ ? MaxLabelsWidth() : -MaxLabelsWidth();
        canvas->AssignFont(format ? format->GetFont() : GetLabelsFont());
      }
      ++alternate;
    }
    if (horizontal_)
      DrawAxisLabel(label.Pixel, pos, labelsAngle_, label.Text, format);
    else
      DrawAxisLabel(pos, label.Pixel, labelsAngle_, label.Text, format);
  }
  DrawAxisLines();
}

void TChartAxis::DrawTitle(int x, int y) {
  TCanvas3D* canvas = chart_ ? chart_->GetCanvas3D() : nullptr;
  if (!canvas) return;
  canvas->AssignFont(title_->GetFont());
  canvas->SetBackMode(cbmTransparent);
  if (IsDepthAxis()) {
    canvas->SetTextAlign(DepthAxisAlign());
    canvas->TextOut3D(x, y, chart_->Depth3D / 2, title_->GetCaption());
    return;
  }
  const bool exponent = labelsExponent_;
  labelsExponent_ = false;
  struct Restore {
    bool& flag;
    bool value;
    ~Restore() { flag = value; }
  } restore{labelsExponent_, exponent};
  DrawAxisLabel(x, y, title_->GetAngle(), title_->GetCaption(), nullptr);
}

void TChartAxis::DrawAxisLabel(int x, int y, int angle, const std::string& text,
                               TPlotCustomShape* format) {
  TCanvas3D* canvas = chart_ ? chart_->GetCanvas3D() : nullptr;
  if (!canvas) return;
  const int fh = canvas->GetFontHeight();
  const int h = fh / 2;
  const int a = angle == 360 ? 0 : angle;
  unsigned align = 0;
  if (horizontal_) {
    switch (a) {
      case 0:
        align = otherSide_ ? 14 : 6;
        break;
      case 45:
        if (!otherSide_) {
          const int d = Round(canvas->TextWidth(text) * std::sin(M_PI / 4));
          x -= d;
          y += d;
        } else {
          const int d = canvas->TextWidth("Wj");
          x -= d;
          y -= d;
        }
        break;
      case 90:
        align = otherSide_ ? 0 : 2;
        x -= h;
        break;
      case 180:
        align = otherSide_ ? 6 : 14;
        break;
      case 270:
        align = otherSide_ ? 2 : 0;
        x += h;
        break;
      default:
        break;
    }
  } else {
    switch (a) {
      case 0:
        if (labelsAlign_ == alDefault) {
          align = otherSide_ ? 0 : 2;
        } else {
          TPlotFont* font = canvas->CurrentFont();
          const int room = LabelsRoom(*this, *canvas);
          if (font) canvas->AssignFont(font);
          align = otherSide_ ? 2 : 0;
          x += otherSide_ ? room : -room;
        }
        y -= h;
        break;
      case 90:
        align = otherSide_ ? 6 : 14;
        break;
      case 180:
        align = otherSide_ ? 2 : 0;
        y += h;
        break;
      case 270:
        align = otherSide_ ? 14 : 6;
        break;
      default:
        break;
    }
  }

  int n = CountLines(text);
  const int H = (a == 180 || a == 270) ? -fh : fh;
  const int half = Round(H * 0.5 * (n + 1));
  if (horizontal_) {
    if (a == 0) y -= otherSide_ ? H * n : H;
    if (a == 90 || a == 270) x -= half;
    if (a == 180) y -= otherSide_ ? H : H * n;
  } else {
    if (a == 0 || a == 180) y -= half;
    if (a == 90) x -= otherSide_ ? H : H * n;
    if (a == 270) x -= otherSide_ ? H * n : H;
  }

  const int z = iZPos_;
  TPlotCustomShape* box = format ? format : items_->Format();
  if (!box->GetTransparent()) {
    int lines = 0;
    const int width = chart_->MultiLineTextWidth(text, lines);
    const int height = fh * lines;
    const int m = canvas->TextWidth("W") / 2;
    TRect r{x, y + H, x + width, y + H + height};
    if (align > 7) {
      r.Top -= height;
      r.Bottom -= height;
    }
    if ((align & 6) == 2) {
      r.Left -= width;
      r.Right -= width;
    } else if ((align & 6) == 6) {
      r.Left -= width / 2;
      r.Right -= width / 2;
    }
    r.Left -= m;
    r.Right += m;
    if (z != 0) r = canvas->CalcRect3D(r, z);
    box->DrawRectRotated(r, labelsAngle_, z);
    canvas->Brush->SetStyle(platform::bsClear);
    canvas->SetBackMode(cbmTransparent);
  }

  canvas->SetTextAlign(align);
  std::string shown = text;
  bool drawLabel = true;
  int zz = z;
  if (OnDrawLabel) {
    OnDrawLabel(this, x, y, zz, shown, drawLabel);
    n = CountLines(shown);
  }
  if (drawLabel && n > 0) {
    size_t start = 0;
    for (int line = 0; line < n; ++line) {
      size_t next = 0;
      const size_t end = PlotLineEnd(shown, start, next);
      const std::string part = shown.substr(start, end - start);
      start = next;
      if (a == 0) {
        y += H;
        if (labelsExponent_)
          WriteWithExponent(x, y, zz, part, align);
        else
          canvas->TextOut3D(x, y, zz, part);
        continue;
      }
      if (a == 90 || a == 270) x += H;
      if (a == 180) y += H;
      canvas->RotateLabel3D(x, y, zz, part, angle);
    }
  }
  canvas->SetTextAlign(0);
}

void TChartAxis::WriteWithExponent(int x, int y, int z, const std::string& text, unsigned align) {
  TCanvas3D* canvas = chart_->GetCanvas3D();
  std::string upper = text;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const size_t e = upper.find('E');
  if (e == std::string::npos) {
    canvas->TextOut3D(x, y, z, text);
    return;
  }
  const std::string mantissa = text.substr(0, e), exponent = text.substr(e + 1);
  const int fh = canvas->GetFontHeight();
  const int raise = (fh - 1) / 2 - 2;
  const int size = canvas->Font->GetSize();
  const auto small = [&] { canvas->Font->SetSize(size - size / 4); };
  if ((align & 6) == 0) {
    const int mantissaWidth = canvas->TextWidth(mantissa);
    canvas->TextOut3D(x, y, z, mantissa);
    small();
    canvas->TextOut3D(x + mantissaWidth + 1, y - raise, z, exponent);
  } else {
    small();
    const int exponentWidth = canvas->TextWidth(exponent);
    canvas->TextOut3D(x, y - raise, z, exponent);
    canvas->Font->SetSize(size);
    canvas->TextOut3D(x - exponentWidth - 1, y, z, mantissa);
  }
  canvas->Font->SetSize(size);
}

}  // namespace chart

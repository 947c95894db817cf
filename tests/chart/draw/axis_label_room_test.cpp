// The value labels of an axis never run into one another, whatever the range, the size of the
// chart and the format: the boxes of the texts drawn, as the device context places them, do not
// overlap.
#include <memory>
#include <string>
#include <vector>

#include "chart/common/date_time.h"
#include "chart/engine/axis.h"
#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

namespace gdi = platform::gdi;
using platform::TRect;

// A headless chart whose drawing pass records the box of every text it writes.
class LabelChart : public chart::TCustomAxisPanel {
 public:
  LabelChart(int width, int height) : TCustomAxisPanel(nullptr, platform::TPanelSurface::Headless) {
    SetView3D(false);
    SetBounds(0, 0, width, height);
    AddSeries(series.get());
  }
  std::vector<TRect> Boxes() {
    boxes.clear();
    texts.clear();
    Invalidate();
    ProcessPaint();
    return boxes;
  }
  std::unique_ptr<chart::TChartSeries> series = std::make_unique<chart::TChartSeries>(nullptr);
  std::vector<TRect> boxes;
  std::vector<std::string> texts;

 protected:
  void InternalDraw(const TRect& r) override {
    gdi::Dc* dc = GetCanvas3D()->GetHandle();
    dc->SetRecorder([this, dc](const gdi::DcCall& c) {
      if (c.Op != "TextOut") return;
      const platform::TPoint size = dc->GetTextExtent(c.Text);
      const unsigned align = dc->GetTextAlign();
      int left = c.Args[0], top = c.Args[1];
      if ((align & gdi::TA_CENTER) == gdi::TA_CENTER)
        left -= size.X / 2;
      else if (align & gdi::TA_RIGHT)
        left -= size.X;
      if (align & gdi::TA_BOTTOM) top -= size.Y;
      boxes.push_back(TRect{left, top, left + size.X, top + size.Y});
      texts.push_back(c.Text);
    });
    TCustomAxisPanel::InternalDraw(r);
    dc->SetRecorder({});
  }
};

bool Overlap(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TEST_F(EngineTest, AxisValueLabelsNeverOverlap) {
  const double monday = chart::EncodeDate(2024, 1, 1);
  enum { kPlain = 0, kAlternate = 1, kMultiLine = 2 };
  const struct Case {
    const char* what;
    bool horizontal;
    double min, max;
    bool dateTime;
    const char* format;  // the value or date-time format; empty: the default
    int width, height, flags;
    std::size_t labels;  // at least
  } cases[] = {
      {"3..9, narrower at the ends", true, 3, 9, false, "", 400, 300, kPlain, 7},
      {"3..9 on a narrow chart", true, 3, 9, false, "", 160, 120, kPlain, 4},
      {"two decimals", true, 0.05, 0.9, false, "0.00", 300, 200, kPlain, 4},
      {"large values", true, 0, 2.5e6, false, "", 250, 200, kPlain, 3},
      {"negative to positive", true, -7, 3, false, "", 260, 150, kPlain, 6},
      {"day names", true, monday, monday + 7, true, "dddd", 370, 200, kPlain, 4},
      {"day names on a tiny axis", true, monday, monday + 7, true, "dddd", 110, 200, kPlain, 1},
      {"a day in hours", true, monday, monday + 1, true, "", 180, 150, kPlain, 2},
      {"month names", true, monday, monday + 300, true, "mmmm", 450, 200, kPlain, 5},
      {"alternate rows", true, 3, 9, false, "", 200, 150, kAlternate, 7},
      {"vertical 3..9", false, 3, 9, false, "", 300, 80, kPlain, 3},
      {"vertical large values", false, -1e6, 1e6, false, "", 300, 120, kPlain, 3},
      {"vertical two-line dates", false, monday, monday + 30, true, "mmm d", 300, 110, kMultiLine,
       2},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    LabelChart c(k.width, k.height);
    // More points than labels: whole-number steps are not forced on the axis.
    for (int n = 0; n <= 200; ++n) {
      const double v = k.min + (k.max - k.min) * n / 200;
      c.series->AddXY(v, v);
    }
    chart::TChartAxis* axis = k.horizontal ? c.BottomAxis() : c.LeftAxis();
    (k.horizontal ? c.LeftAxis() : c.BottomAxis())->SetLabels(false);
    (k.horizontal ? c.series->XValues() : c.series->YValues())->SetDateTime(k.dateTime);
    if (*k.format) {
      if (k.dateTime)
        axis->SetDateTimeFormat(k.format);
      else
        axis->SetAxisValuesFormat(k.format);
    }
    axis->SetLabelsAlternate(k.flags & kAlternate);
    axis->SetLabelsMultiLine(k.flags & kMultiLine);
    axis->SetMinMax(k.min, k.max);
    const std::vector<TRect> boxes = c.Boxes();
    EXPECT_GE(boxes.size(), k.labels);
    std::string crowded;
    for (std::size_t i = 0; i < boxes.size() && crowded.empty(); ++i)
      for (std::size_t j = i + 1; j < boxes.size() && crowded.empty(); ++j)
        if (Overlap(boxes[i], boxes[j])) crowded = c.texts[i] + " and " + c.texts[j];
    EXPECT_EQ(crowded, "");
  }
}

}  // namespace
}  // namespace enginetest

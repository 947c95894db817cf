// The signal chart of the main window: its start picture against the golden numbers (bars, labels,
// marks), paging by click, the view switch by double click, and the bar refresh.
#include <QImage>
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "chart/component/chart.h"
#include "chart/component/titles.h"
#include "chart/engine/axis.h"
#include "chart/engine/series.h"
#include "chart/engine/series_marks.h"
#include "tests/console/console_fixture.h"
#include "tests/support/gdi_test_support.h"

namespace consoletest {
namespace {

namespace gdi = platform::gdi;
constexpr platform::TColor kBlue = 0xFF0000, kRed = 0x0000FF, kWhite = 0xFFFFFF;

int Slot(int k) {  // bar k's centre on a full page: 17 px a bar from 21
  return 21 + 17 * (k - 1);
}

class SignalChartTest : public ConsoleTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gditest::SetUpText());
    ConsoleTest::SetUp();
    c = form->ChartSNR;
    c->OnBeforeDrawChart = [this](platform::TObject*) {
      c->GetCanvas3D()->GetHandle()->SetRecorder(rec.Hook());
    };
    c->OnAfterDraw = [this](platform::TObject*) { c->GetCanvas3D()->GetHandle()->SetRecorder({}); };
  }
  // One drawing pass, recorded; the picture is the chart's window image.
  QImage Render() {
    rec.Clear();
    c->Repaint();
    return c->WindowImage().Image()->copy();
  }
  int FontHeight(chart::TPlotFont* f) {
    c->GetCanvas3D()->AssignFont(f);
    return c->GetCanvas3D()->GetFontHeight();
  }
  // The calls writing text; the rectangles standing on bottom filled in colour.
  std::vector<gdi::DcCall> Texts(const std::string& text) {
    std::vector<gdi::DcCall> out;
    for (const auto& call : rec.Only("TextOut"))
      if (call.Text == text) out.push_back(call);
    return out;
  }
  std::vector<std::vector<int>> Bars(int bottom, platform::TColor colour) {
    std::vector<std::vector<int>> out;
    for (const auto& call : rec.Only("Rectangle"))
      if (call.Args[3] == bottom && call.Brush.Color == colour) out.push_back(call.Args);
    return out;
  }
  void Click() {
    c->PerformMouseDown(platform::mbLeft, {}, 100, 50);
    c->PerformMouseUp(platform::mbLeft, {}, 100, 50);
    c->PerformDoubleClickTimePassed();
  }
  chart::TChart* c = nullptr;
  gditest::Recorder rec;
};

// 20 satellites in view (25 reported), PRN 1..20 with signal 21..40, the odd ones used; the
// ephemeris level of PRN n is n mod 5 (4: none known).
std::unique_ptr<reader::ReceiverState> TwentySatellites() {
  auto s = std::make_unique<reader::ReceiverState>();
  s->Fix.SatsInView = 25;
  for (int i = 0; i < reader::kMaxSatellites; ++i)
    s->Satellites[i] = {i + 1, 21 + i, 45, 10 * i, static_cast<std::uint8_t>(i % 2 == 0)};
  for (int n = 1; n <= reader::kChannelCount; ++n) s->EphLevel[n - 1] = static_cast<int8_t>(n % 5);
  s->SatListComplete = 1;
  s->EphemerisUpdated = 1;
  return s;
}

TEST_F(SignalChartTest, StartPictureClickAndDoubleClick) {
  ASSERT_EQ(c->GetWidth(), 297);
  ASSERT_EQ(c->GetHeight(), 113);
  ASSERT_FALSE(c->GetView3D());
  // Neither zoom nor panning moves the fixed scale or the pages.
  EXPECT_FALSE(c->GetAllowZoom());
  EXPECT_EQ(c->GetAllowPanning(), chart::pmNone);
  QImage shot = Render();
  // Font-dependent rows: labels at 108 - label height, 7 px (axis pen and ticks) under the
  // chart's bottom; the chart's top 5 px under the title's box (from 5, framed by fw).
  const int labelsH = FontHeight(c->BottomAxis()->GetLabelsFont());
  const int bottom = 108 - labelsH - 7;
  const chart::TChartPen* titleFrame = c->Title()->GetFrame();
  const int fw = titleFrame->GetVisible() && titleFrame->GetColor() != platform::clDefault
                     ? titleFrame->GetWidth()
                     : 0;
  ASSERT_EQ(c->Title()->GetBevel(), platform::bvNone);
  const int chartTop = 5 + fw + FontHeight(c->Title()->GetFont()) + fw + 5 + fw;
  const int top = bottom - static_cast<int>(std::lround(55.0 * (bottom - chartTop) / 70));
  chart::TSeriesMarks* marks = c->GetSeries(0)->Marks();
  ASSERT_TRUE(marks->GetFrame()->GetVisible());
  const int frame = marks->GetFrame()->GetWidth();
  const int markH = FontHeight(marks->GetFont()) + 2 * frame;
  const int markW =
      c->GetCanvas3D()->TextWidth("55") + c->GetCanvas3D()->TextWidth("W") + 2 * frame;

  const auto bars = Bars(bottom, kBlue);
  ASSERT_EQ(bars.size(), 16u);
  for (int k = 1; k <= 16; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(bars[k - 1], (std::vector<int>{Slot(k) - 6, top, Slot(k) + 7, bottom}));
    const auto label = Texts(std::to_string(k));
    ASSERT_EQ(label.size(), 1u);
    EXPECT_EQ(label[0].Args, (std::vector<int>{Slot(k), bottom + 7}));
    // The mark's box over its callout, which runs 3 px up from the bar's top; its text is
    // centred on the box less 2 px at the left.
    const int markLeft = Slot(k) - markW / 2, markTop = top - markH - 2;
    const auto mark = Texts("55");
    ASSERT_EQ(mark.size(), 16u);
    EXPECT_EQ(mark[k - 1].Args,
              (std::vector<int>{(2 * markLeft + 2 + markW) / 2, markTop + frame}));
    bool box = false;
    for (const auto& r : rec.Only("Rectangle"))
      box |= r.Args == std::vector<int>{markLeft, markTop, markLeft + markW, markTop + markH};
    EXPECT_TRUE(box);
    // Pixels: the fill is blue, the pen is on the edges, and the right edge is exclusive.
    const int mid = (top + bottom) / 2;
    const QRgb fill = shot.pixel(Slot(k), mid), pen = shot.pixel(Slot(k) - 6, mid);
    EXPECT_EQ(fill & 0xFFFFFF, 0x0000FFu);
    EXPECT_NE(pen, fill);
    EXPECT_EQ(shot.pixel(Slot(k) + 6, mid), pen);
    EXPECT_EQ(shot.pixel(Slot(k) + 7, mid), shot.pixel(Slot(k) - 7, mid));
    EXPECT_NE(shot.pixel(Slot(k) + 7, mid), pen);
  }
  bool callout = false;
  const auto lines = rec.calls;
  for (size_t i = 1; i < lines.size(); ++i)
    callout |= lines[i - 1].Op == "MoveToEx" && lines[i].Op == "LineTo" &&
               lines[i - 1].Args[0] == Slot(1) && lines[i].Args[0] == Slot(1) &&
               std::min(lines[i - 1].Args[1], lines[i].Args[1]) == top - 3 &&
               std::max(lines[i - 1].Args[1], lines[i].Args[1]) == top;
  EXPECT_TRUE(callout);

  // A click turns the page; the labels of 17..32 stand where 1..16 stood.
  Click();
  EXPECT_EQ(c->GetPage(), 2);
  Render();
  for (int k = 1; k <= 16; ++k) {
    const auto label = Texts(std::to_string(16 + k));
    ASSERT_EQ(label.size(), 1u);
    EXPECT_EQ(label[0].Args[0], Slot(k));
  }
  Click();
  ASSERT_EQ(c->GetPage(), 1);

  // A double click (press, release, double press, release) switches views without turning the
  // page first, even after the double-click time.
  c->PerformMouseDown(platform::mbLeft, {}, 100, 50);
  c->PerformMouseUp(platform::mbLeft, {}, 100, 50);
  c->PerformDblClick();
  c->PerformMouseDown(platform::mbLeft, platform::TShiftState() << platform::ssDouble, 100, 50);
  c->PerformMouseUp(platform::mbLeft, {}, 100, 50);
  c->PerformDoubleClickTimePassed();
  EXPECT_EQ(c->GetPage(), 1);
  EXPECT_EQ(form->ChannelChartMode, 1);
  EXPECT_EQ(c->GetSeries(0)->Count() + c->GetSeries(1)->Count(), 0);
  Render();
  const auto title = Texts("CNR");
  ASSERT_EQ(title.size(), 1u);
  EXPECT_EQ(title[0].TextColor, kRed);
  EXPECT_TRUE(Bars(bottom, kBlue).empty());
  c->PerformDblClick();
  EXPECT_EQ(form->ChannelChartMode, 0);
  EXPECT_EQ(c->Title()->GetFont()->GetColor(), kBlue);
}

TEST_F(SignalChartTest, TwentySatellitesFillTwoPages) {
  auto s = TwentySatellites();
  form->RefreshDisplay(*s);
  EXPECT_EQ(s->SatListComplete.load(), 0);
  EXPECT_EQ(s->EphemerisUpdated.load(), 0);
  ASSERT_EQ(c->GetSeries(0)->Count(), 20);
  Click();
  ASSERT_EQ(c->GetPage(), 2);
  Render();
  // Series 2's bars (ephemeris colours, height 10) come after every bar of series 1.
  size_t lastSignal = 0, firstEphemeris = rec.calls.size();
  std::vector<int> centres;
  for (size_t i = 0; i < rec.calls.size(); ++i) {
    const gdi::DcCall& r = rec.calls[i];
    if (r.Op != "Rectangle") continue;
    if (r.Brush.Color == kBlue || r.Brush.Color == kWhite) {
      lastSignal = i;
      if (r.Args[2] - r.Args[0] > 1 && r.Args[3] - r.Args[1] > 20)
        centres.push_back((r.Args[0] + r.Args[2]) / 2);
    }
    for (platform::TColor e : {0x008000, 0x0000FF, 0x0080FA, 0x00FA7A})
      if (r.Brush.Color == static_cast<platform::TColor>(e))
        firstEphemeris = std::min(firstEphemeris, i);
  }
  EXPECT_EQ(centres, (std::vector<int>{21, 106, 191, 276}));
  EXPECT_LT(lastSignal, firstEphemeris);
  EXPECT_LT(firstEphemeris, rec.calls.size());
  for (int k = 0; k < 4; ++k) {
    const auto label = Texts(std::to_string(17 + k));
    ASSERT_FALSE(label.empty());
    for (const auto& l : label) EXPECT_EQ(l.Args[0], 21 + 85 * k);
  }
}

// Each ephemeris bar stands under its own satellite's signal bar, also when the satellites
// change without a new ephemeris, or an ephemeris comes alone; the table ends at 20.
TEST_F(SignalChartTest, EphemerisBarsStandUnderTheirSatellites) {
  auto s = TwentySatellites();
  form->RefreshDisplay(*s);
  for (int pass = 0; pass < 3; ++pass) {
    if (pass == 1) {  // fewer satellites, others silent, no ephemeris news
      std::swap(s->Satellites[0], s->Satellites[7]);
      s->Satellites[3].Snr = 0;
      s->Fix.SatsInView = 12;
      s->SatListComplete = 1;
    } else if (pass == 2) {  // new levels alone
      for (int n = 1; n <= reader::kChannelCount; ++n) s->EphLevel[n - 1] = 3;
      s->EphemerisUpdated = 1;
    }
    form->RefreshDisplay(*s);
    chart::TChartSeries *sig = c->GetSeries(0), *eph = c->GetSeries(1);
    SCOPED_TRACE(pass);
    ASSERT_EQ(sig->Count(), pass == 0 ? 20 : 11);
    int withLevel = 0;
    for (int i = 0; i < sig->Count(); ++i) {
      const int prn = std::stoi(sig->GetXLabel(i));
      withLevel += pass == 2 || prn % 5 != 4;
    }
    ASSERT_EQ(eph->Count(), withLevel);
    for (int j = 0; j < eph->Count(); ++j) {
      const int x = static_cast<int>(eph->XValues()->GetValue(j));
      EXPECT_EQ(eph->GetXLabel(j), sig->GetXLabel(x));
      EXPECT_EQ(eph->YValues()->GetValue(j), 10.0);
    }
  }
}

// Opening a COM port or socket link leaves no bar, value mark or bar label drawn from before.
TEST_F(SignalChartTest, OpeningALinkEmptiesTheChart) {
  auto drawn = [this] {  // labels, marks, ephemeris bars
    const platform::TColor ephemeris[] = {0x008000, 0x0000FF, 0x0080FA, 0x00FA7A};
    size_t bars = 0;
    for (const auto& r : rec.Only("Rectangle"))
      bars += std::count(std::begin(ephemeris), std::end(ephemeris), r.Brush.Color);
    return std::vector<size_t>{Texts("30").size(), Texts("5").size(), bars};
  };
  for (bool socket : {false, true}) {
    SCOPED_TRACE(socket ? "socket" : "COM port");
    form->RefreshDisplay(*TwentySatellites());
    Render();
    for (size_t n : drawn()) ASSERT_GT(n, 0u);
    if (socket) {
      StartTcpReceiver();
      Connect();
    } else {
      StartPtyReceiver();
      OpenPort();
    }
    EXPECT_EQ(c->GetSeries(0)->Count() + c->GetSeries(1)->Count(), 0);
    Render();
    EXPECT_EQ(drawn(), (std::vector<size_t>{0, 0, 0}));
    (socket ? form->BtnDisconnect : form->BtnClose)->Click();
    ASSERT_TRUE(WaitUntil([&] { return !form->UseSocket.load() && !form->ReaderThread; }));
  }
}

// Wheel steps either way leave the fixed 0..70 scale as it is; the wheel is left to the window
// around the chart.
TEST_F(SignalChartTest, MouseLeavesTheScaleAlone) {
  ASSERT_TRUE(chart::PlotUseMouseWheel);
  Render();
  chart::TChartAxis* left = c->LeftAxis();
  for (int delta : {-120, 120, -240}) {
    EXPECT_FALSE(c->PerformMouseWheel({}, delta, 150, 50));
    EXPECT_EQ(left->GetMinimum(), 0.0);
    EXPECT_EQ(left->GetMaximum(), 70.0);
  }
}

}  // namespace
}  // namespace consoletest

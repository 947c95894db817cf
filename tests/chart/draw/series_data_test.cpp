// A series' own points and per-point mark formats stored in the form layout: exact sizes,
// nothing stored for defaults, every point looked at, and damaged or cut streams refused with
// the series left as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "chart/series/bar_series.h"
#include "chart/series/series_registration.h"
#include "platform/vcl/exception.h"
#include "platform/vcl/form.h"
#include "platform/vcl/layout_reader.h"
#include "tests/chart/engine/engine_fixture.h"

namespace {

using chart::TChartSeries;
using platform::clBlue;
using platform::clDefault;
using platform::EReadError;

// Everything a read must restore, in comparable form.
using Snapshot =
    std::tuple<std::vector<double>, std::vector<double>, std::vector<std::string>,
               std::vector<platform::TColor>, std::vector<std::tuple<int, int, int, int, bool>>>;
Snapshot Take(TChartSeries& s) {
  Snapshot out;
  auto& [xs, ys, labels, colors, marks] = out;
  const auto* own = s.PointColors();
  for (int i = 0; i < s.Count(); ++i) {
    xs.push_back(s.XValues()->GetValue(i));
    ys.push_back(s.YValues()->GetValue(i));
    labels.push_back(s.GetXLabel(i));
    // The series' own colour as a point's colour reads back as no colour of its own.
    const platform::TColor c = own && i < static_cast<int>(own->size()) ? (*own)[i] : clDefault;
    colors.push_back(c == s.GetSeriesColor() ? clDefault : c);
    const auto* p = s.Marks()->Positions().Get(i);
    marks.emplace_back(p ? p->TopLeft.X : -1, p ? p->TopLeft.Y : -1, p ? p->Width : -1,
                       p ? p->ArrowEnd.Y : -1, p && p->Custom);
  }
  return out;
}

class SeriesData : public enginetest::EngineTest {
 protected:
  chart::TBarSeries* Bars() { return new chart::TBarSeries(&form); }
  // Writes a, reads it into a fresh series and expects the same points.
  TChartSeries* RoundTrip(TChartSeries& a) {
    TChartSeries* b = Bars();
    if (!a.YIsValue()) b->SetHorizontal();
    b->ReadData(a.WriteData());
    EXPECT_EQ(Take(*b), Take(a));
    EXPECT_TRUE(b->HandEntered);
    return b;
  }
  platform::TComponent form{nullptr};
};

TEST_F(SeriesData, WritesTheGoldenSizesAndReadsThemBack) {
  // X 0..15, Y 55, nothing else: flags 0, count 16, then the value alone: 1 + 4 + 16 x 8 = 133.
  // The console's start state (X 1..16, Y 55, labels "1".."16", own colour blue = the series'
  // colour): positions (X 1 is not 0) and labels, no colours: 1 + 4 + 16 x (8 + 8 + 1) plus the
  // label bytes 9 x 1 + 7 x 2 = 5 + 272 + 23 = 300.
  struct Case {
    double firstX;
    bool labelled;
    std::uint8_t flags;
    size_t size;
  } cases[] = {{0, false, 0, 133}, {1, true, 1 | 4, 300}};
  for (const Case& c : cases) {
    auto* s = Bars();
    s->SetSeriesColor(clBlue);
    for (int n = 0; n < 16; ++n)
      s->AddXY(c.firstX + n, 55, c.labelled ? std::to_string(n + 1) : "", clBlue);
    s->HandEntered = true;
    const std::string data = s->WriteData();
    ASSERT_EQ(data.size(), c.size);
    EXPECT_EQ(static_cast<std::uint8_t>(data[0]), c.flags);
    EXPECT_EQ(std::string(data.substr(1, 4)), std::string("\x10\0\0\0", 4));
    TChartSeries* back = Bars();
    back->ReadData(data);
    EXPECT_EQ(back->Count(), 16);
    EXPECT_EQ(back->YValues()->GetValue(15), 55);
    EXPECT_EQ(back->XValues()->GetValue(15), c.firstX + 15);
    EXPECT_EQ(back->GetXLabel(9), c.labelled ? "10" : "");
  }
}

TEST_F(SeriesData, DefaultsStoreNothing) {
  auto* s = Bars();
  EXPECT_FALSE(s->IsDataStored());
  EXPECT_FALSE(s->Marks()->Items().IsStored());
  s->AddXY(1, 2);
  EXPECT_FALSE(s->IsDataStored());
}

TEST_F(SeriesData, LabelsColoursAndPositionsLateInTheSeriesAreKept) {
  auto* s = Bars();
  s->BeginUpdate();
  for (int i = 0; i < 20000; ++i) s->AddXY(i == 15000 ? 15000.5 : i, i % 7);
  s->EndUpdate();
  s->SetXLabel(150, "late");
  s->SetValueColor(10001, 0x123456);
  EXPECT_EQ(static_cast<std::uint8_t>(s->WriteData()[0]), 1 | 2 | 4);
  TChartSeries* b = RoundTrip(*s);
  EXPECT_EQ(b->GetXLabel(150), "late");
  EXPECT_EQ(b->GetValueColor(10001), 0x123456);
  EXPECT_EQ(b->XValues()->GetValue(15000), 15000.5);
}

TEST_F(SeriesData, RefusesEveryCutAndLeavesTheSeriesAsItWas) {
  auto* s = Bars();
  s->AddXY(2, 5, "a", 0xFF);
  s->AddXY(3, 6, "", clDefault);
  s->AddXY(7, 1, "long label");
  chart::TSeriesMarkPosition moved;
  moved.TopLeft = {1, 2};
  moved.ArrowEnd = {3, 4};
  moved.Width = 5;
  s->Marks()->Positions().Put(1, moved);
  const std::string data = s->WriteData();
  ASSERT_EQ(static_cast<std::uint8_t>(data[0]), 15);
  RoundTrip(*s);
  s->Marks()->Items().Get(2)->SetColor(0x00FF00);
  const std::string items = s->Marks()->Items().WriteItems();

  auto* target = Bars();
  target->AddXY(9, 9, "kept", 0x777777);
  target->Marks()->Items().Get(0)->SetColor(0x111111);
  const Snapshot before = Take(*target);
  for (size_t cut = 0; cut < data.size(); ++cut)
    EXPECT_THROW(target->ReadData(data.substr(0, cut)), EReadError) << cut;
  for (size_t cut = 0; cut < items.size(); ++cut)
    EXPECT_THROW(target->Marks()->Items().ReadItems(items.substr(0, cut)), EReadError) << cut;
  EXPECT_EQ(Take(*target), before);
  EXPECT_EQ(target->Marks()->Items().Existing(0)->GetColor(), 0x111111);
  EXPECT_FALSE(target->HandEntered);
}

TEST_F(SeriesData, EdgeCases) {
  using Build = std::function<void(TChartSeries&)>;
  using Check = std::function<void(TChartSeries&, const std::string&)>;
  const std::string zero(1, '\0');
  struct Case {
    const char* name;
    Build build;
    std::string data;  // read instead of writing build's series when not empty
    Check check;
  } cases[] = {
      {"own colours equal to the series colour are not stored",
       [](TChartSeries& s) {
         s.SetSeriesColor(0x4080C0);
         s.AddXY(0, 1, "", 0x4080C0);
         s.AddXY(1, 2, "", 0x4080C0);
       },
       {},
       [](TChartSeries& b, const std::string& d) {
         EXPECT_EQ(d[0], 0);
         b.SetSeriesColor(0x4080C0);
         EXPECT_EQ(b.GetValueColor(1), 0x4080C0);
       }},
      {"an empty label among labels has length 0",
       [](TChartSeries& s) {
         s.AddXY(0, 1, "x");
         s.AddXY(1, 2, "");
       },
       {},
       [](TChartSeries&, const std::string& d) {
         EXPECT_EQ(d.size(), 5u + 2 * 9 + 1);
         EXPECT_EQ(d[5 + 8 + 1 + 1 + 8], 0);
       }},
      {"a horizontal series stores Y as positions and X as values",
       [](TChartSeries& s) {
         s.SetHorizontal();
         s.AddXY(10, 3);
       },
       {},
       [](TChartSeries&, const std::string& d) {
         double pos, value;
         memcpy(&pos, d.data() + 5, 8);
         memcpy(&value, d.data() + 13, 8);
         EXPECT_EQ(pos, 3);
         EXPECT_EQ(value, 10);
       }},
      {"zero records replace every point", [](TChartSeries& s) { s.AddXY(4, 4); },
       std::string("\0\0\0\0\0", 5),
       [](TChartSeries& b, const std::string&) { EXPECT_EQ(b.Count(), 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* s = Bars();
    c.build(*s);
    if (c.data.empty()) {
      const std::string d = s->WriteData();
      auto* b = static_cast<chart::TBarSeries*>(RoundTrip(*s));
      c.check(*b, d);
    } else {
      s->ReadData(c.data);
      c.check(*s, c.data);
    }
  }
  // Damaged, not merely short: unknown flags, negative or oversized counts, trailing bytes.
  for (const std::string& bad :
       {std::string("\x10\0\0\0\0", 5), std::string("\0\xff\xff\xff\xff", 5),
        std::string("\0\xff\xff\xff\x7f", 5) + std::string(16, 'x'),
        std::string("\0\0\0\0\0", 5) + zero}) {
    auto* s = Bars();
    s->AddXY(1, 1);
    EXPECT_THROW(s->ReadData(bad), EReadError);
    EXPECT_EQ(s->Count(), 1);
  }
}

TEST_F(SeriesData, ItemsRoundTripThroughTheLayout) {
  auto* s = Bars();
  for (int i = 0; i < 3; ++i) s->AddXY(i, i + 1, "p" + std::to_string(i));
  s->HandEntered = true;
  auto& items = s->Marks()->Items();
  items.Get(1)->SetColor(0x0000FF);
  items.Get(1)->GetText()->Add("first");
  items.Get(1)->GetText()->Add("second");
  items.Get(3)->SetTransparent(true);
  items.Get(3)->GetFont()->SetHeight(-13);
  ASSERT_TRUE(items.IsStored());

  auto hex = [](const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes)
      out += "0123456789ABCDEF"[c >> 4], out += "0123456789ABCDEF"[c & 15];
    return out;
  };
  chart::RegisterChartLayoutClasses();
  platform::TForm f(nullptr);
  // Items first: the points read after them find their items waiting at their indexes.
  platform::ReadLayout(f,
                       "object Form1: TForm\n  object Series1: TBarSeries\n    Marks.Items = {" +
                           hex(items.WriteItems()) + "}\n    Data = {" + hex(s->WriteData()) +
                           "}\n  end\nend\n",
                       {});
  auto* b = dynamic_cast<TChartSeries*>(f.FindComponent("Series1"));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(Take(*b), Take(*s));
  auto& read = b->Marks()->Items();
  EXPECT_TRUE(read.Loaded);
  ASSERT_EQ(read.Count(), 4);
  EXPECT_EQ(read.Existing(0), nullptr);
  EXPECT_EQ(read.Existing(2), nullptr);
  EXPECT_EQ(read.Existing(1)->GetColor(), 0x0000FF);
  EXPECT_EQ(read.Existing(1)->GetText()->GetText(), "first\r\nsecond\r\n");
  EXPECT_TRUE(read.Existing(3)->GetTransparent());
  EXPECT_EQ(read.Existing(3)->GetFont()->GetHeight(), -13);
  EXPECT_EQ(read.Existing(3)->GetColor(), platform::clInfoBk);
  EXPECT_EQ(read.WriteItems(), items.WriteItems());
  b->AddXY(-1, 0);  // only a point before them moves them
  EXPECT_EQ(read.Existing(2)->GetText()->Get(0), "first");
}

}  // namespace

// The live display redraws only what changed, and shows the same as a full redraw would: after
// every clear path, the next refresh brings everything back.
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "console/sky_plot_math.h"
#include "tests/console/console_fixture.h"

namespace {

using consoletest::ConsoleTest;

constexpr platform::TColor kBlack = 0x000000, kRed = 0x0000FF, kYellow = 0x00FFFF, kBlue = 0xFF0000,
                           kPale = 0xF0CAA6;

// A 3D fix with three satellites (two heard) and channel status.
std::unique_ptr<reader::ReceiverState> FixState() {
  auto s = std::make_unique<reader::ReceiverState>();
  reader::FixInfo& f = s->Fix;
  f.Year = 2024, f.Month = 3, f.Day = 15, f.Hour = 9, f.Minute = 5, f.Second = 7.25f;
  f.Latitude = 48.1173f, f.Longitude = 11.5167f, f.Altitude = 545.4f;
  f.Dimension = 2, f.Quality = 1;
  f.SpeedKmh = 12.5f, f.Course = 84.4f, f.Pdop = 1.9f, f.Hdop = 1.1f, f.Vdop = 1.5f;
  f.SatsInView = 3;
  // Out of order: the refresh sorts them.
  s->Satellites[0] = {17, 40, 0, 90, 0};  // (161, 89)
  s->Satellites[1] = {4, 0, 0, 0, 0};     // (90, 18), not heard
  s->Satellites[2] = {9, 35, 90, 0, 0};   // (90, 90)
  s->SatListComplete = 1;
  for (int i = 0; i < reader::kChannelCount; ++i) s->Channels[i] = {i + 1, 30 + i, 2};
  s->ChannelsUpdated.store(1);
  return s;
}

// Everything the steps write that a person sees.
struct Shown {
  std::vector<std::string> texts;
  platform::TColor fixColour = 0;
  bool gridEnabled = false;
  QImage plot;
  bool operator==(const Shown&) const = default;
};

class StatusDisplayTest : public ConsoleTest {
 protected:
  Shown Capture() {
    Shown s;
    for (platform::TLabel* l :
         {f().LabelDate, f().LabelTime, f().LabelLat, f().LabelLon, f().LabelAlt, f().LabelFix,
          f().LabelSpeed, f().LabelTrack, f().LabelPDOP, f().LabelHDOP, f().LabelVDOP})
      s.texts.push_back(l->Caption);
    for (int row = 1; row <= reader::kChannelCount; ++row)
      for (int col = 0; col < 4; ++col) s.texts.push_back(f().StringGrid1->GetCell(col, row));
    s.fixColour = f().LabelFix->Font->Color;
    s.gridEnabled = f().StringGrid1->Enabled;
    s.plot = Plot();
    return s;
  }
  QImage Plot() { return *f().ImgSV->Picture->Graphic()->Image(); }
  QImage CleanPlot() { return *f().ImgSVOrig->Picture->Graphic()->Image(); }
  platform::TColor Pixel(int x, int y) { return f().ImgSV->Canvas->GetPixel(x, y); }
  // Inside the link indicator, clear of its outline.
  platform::TColor Indicator() { return Pixel(f().ImgSV->Height - 20, 17); }
  // Inside a satellite's disc, below its number.
  platform::TColor Disc(int elevation, int azimuth) {
    console::SkyPoint p = console::SkyPosition(azimuth, elevation);
    return Pixel(p.x, p.y + 9);
  }
  console::TMainForm& f() { return *form; }
};

// "$GP" sentences in order, cut at 255 characters; not the receiver's own, nor an unfinished one.
TEST_F(StatusDisplayTest, RawBoxTakesEachChunksSentencesInOrder) {
  const std::string longLine = "$GPTXT," + std::string(300, 'A');
  const std::string chunks[] = {"$GPGGA,1*00\r\n$PQVU500,200*00\r\n$GPRMC,2*00\r\n$GPGS", "",
                                "junk$GPVTG,3\r\n$PQVUCHN,1\r\n", longLine + "\r\n$GPZDA,4\r\n",
                                "$GPGLL,5\n$GPGSA,6\r\n"};
  for (const std::string& chunk : chunks) form->ShowRawSentences(chunk.c_str());
  EXPECT_EQ(form->MemoNMEA->Lines->Count(), 7);
  EXPECT_EQ(form->MemoNMEA->Lines->GetText(), "$GPGGA,1*00\r\n$GPRMC,2*00\r\n$GPVTG,3\r\n" +
                                                  longLine.substr(0, 255) +
                                                  "\r\n$GPZDA,4\r\n$GPGLL,5\r\n$GPGSA,6\r\n");
}

TEST_F(StatusDisplayTest, EveryClearPathIsFollowedByAFullRefresh) {
  auto s = FixState();
  form->RefreshDisplay(*s);
  const Shown full = Capture();
  ASSERT_EQ(full.texts[0], "2024/3/15");
  ASSERT_EQ(full.texts[5], "3D SPS");
  ASSERT_EQ(full.texts[11 + 1], "1");  // channel 1's satellite
  ASSERT_EQ(Disc(90, 0), kBlue);
  ASSERT_EQ(Disc(0, 0), kPale);
  ASSERT_EQ(Disc(0, 90), kBlue);
  ASSERT_EQ(Indicator(), kYellow);

  struct Path {
    const char* name;
    std::function<void()> clear;
  } paths[] = {
      {"status reset", [&] { form->ResetStatusDisplay(); }},
      {"Confirm", [&] { form->BtnConfirm->Click(); }},
      {"Close", [&] { form->BtnClose->Click(); }},
      {"Open",
       [&] {
         StartPtyReceiver();
         OpenPort();
         form->Timer1->Tag = 0;  // no blink from a tick during the opening
       }},
  };
  for (const Path& p : paths) {
    p.clear();
    EXPECT_EQ(Plot(), CleanPlot()) << p.name;
    s->SatListComplete = 1;  // the refresh took the last list
    form->RefreshDisplay(*s);
    EXPECT_TRUE(Capture() == full) << p.name;
  }
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(StatusDisplayTest, ARefreshRedrawsOnlyWhatChanged) {
  auto s = FixState();
  form->RefreshDisplay(*s);
  // A mark that only a redraw of the plot would wipe out.
  form->ImgSV->Canvas->SetPixel(2, 170, 0x123456);
  EXPECT_EQ(s->SatListComplete.load(), 0) << "taken by the refresh";
  s->SatListComplete = 1;
  form->RefreshDisplay(*s);
  EXPECT_EQ(Pixel(2, 170), 0x123456) << "nothing changed, nothing redrawn";

  ASSERT_EQ(s->Satellites[1].Prn, 9) << "sorted by number";
  s->Satellites[1].Snr = 0;
  s->SatListComplete = 1;
  form->RefreshDisplay(*s);
  EXPECT_NE(Pixel(2, 170), 0x123456);
  EXPECT_EQ(Disc(90, 0), kPale);
  EXPECT_EQ(Indicator(), kYellow) << "drawn again over the new plot";

  // The indicator blinks; with a log open it blinks red.
  struct Step {
    int tag;
    bool logging;
    platform::TColor colour;
  } steps[] = {{1, false, kBlack}, {2, false, kYellow}, {2, true, kRed},
               {3, true, kBlack},  {4, true, kRed},     {4, false, kYellow}};
  for (const Step& st : steps) {
    form->Timer1->Tag = st.tag;
    form->BtnLogging->Visible = st.logging;
    form->RefreshDisplay(*s);
    EXPECT_EQ(Indicator(), st.colour) << st.tag << " " << st.logging;
  }

  // Labels follow their values; a lost fix turns red and back.
  s->Fix.Dimension = 0;
  s->Fix.Second = 8.5f;
  form->RefreshDisplay(*s);
  EXPECT_EQ(std::string(form->LabelFix->Caption), "NoFix ");
  EXPECT_EQ(form->LabelFix->Font->Color, kRed);
  EXPECT_EQ(std::string(form->LabelTime->Caption), "9:5:8.500");
  s->Fix.Dimension = 1;
  s->Fix.Quality = 2;
  form->RefreshDisplay(*s);
  EXPECT_EQ(std::string(form->LabelFix->Caption), "2D DGPS");
  EXPECT_EQ(form->LabelFix->Font->Color, kBlack);

  s->Channels[31] = {5, 0, 1};
  form->RefreshDisplay(*s);
  EXPECT_EQ(form->StringGrid1->GetCell(1, 32), "5");
  EXPECT_EQ(form->StringGrid1->GetCell(3, 32), "Searching");
}

// A value that alone changes reaches its own label, and no other label changes.
TEST_F(StatusDisplayTest, EachFixValueReachesItsOwnLabel) {
  auto s = FixState();
  form->RefreshDisplay(*s);
  // One change for each label, in the labels' order.
  const std::pair<void (*)(reader::FixInfo&), const char*> cases[] = {
      {[](reader::FixInfo& x) { x.Day = 16; }, "2024/3/16"},
      {[](reader::FixInfo& x) { x.Minute = 6; }, "9:6:7.250"},
      {[](reader::FixInfo& x) { x.Latitude = -1.5f; }, "S   1.50000"},
      {[](reader::FixInfo& x) { x.Longitude = -2.75f; }, "W 2.75000"},
      {[](reader::FixInfo& x) { x.Altitude = 12.5f; }, "12.5"},
      {[](reader::FixInfo& x) { x.Quality = 2; }, "3D DGPS"},
      {[](reader::FixInfo& x) { x.SpeedKmh = 3.5f; }, "3.5"},
      {[](reader::FixInfo& x) { x.Course = 181.0f; }, "181.0"},
      {[](reader::FixInfo& x) { x.Pdop = 2.5f; }, "2.5"},
      {[](reader::FixInfo& x) { x.Hdop = 0.5f; }, "0.5"},
      {[](reader::FixInfo& x) { x.Vdop = 3.5f; }, "3.5"},
  };
  for (std::size_t label = 0; label < std::size(cases); ++label) {
    std::vector<std::string> expected = Capture().texts;
    expected[label] = cases[label].second;
    cases[label].first(s->Fix);
    form->RefreshDisplay(*s);
    EXPECT_EQ(Capture().texts, expected);
  }
}

}  // namespace

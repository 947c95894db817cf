// The live display: raw sentences, fix labels, sky plot, link indicator, channel grid and the
// signal chart's refresh.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "console/main_form.h"
#include "console/number_format.h"
#include "console/sky_plot_math.h"

namespace console {

namespace {

constexpr platform::TColor kBlack = 0x000000;
constexpr platform::TColor kRed = 0x0000FF;
constexpr platform::TColor kYellow = 0x00FFFF;
constexpr platform::TColor kBlue = 0xFF0000;
constexpr platform::TColor kPale = 0xF0CAA6;
constexpr std::size_t kRawLineMax = 255;

std::string OneDecimal(float v) {
  return FloatToStrF(v, 7, 1);
}

// "NoFix " alone, or the dimension followed by the quality.
std::string FixText(const reader::FixInfo& f) {
  std::string fix;
  switch (f.Dimension) {
    case 0:
      return "NoFix ";
    case 1:
      fix = "2D ";
      break;
    case 2:
      fix = "3D ";
      break;
    default:
      break;
  }
  switch (f.Quality) {
    case 1:
      return fix + "SPS";
    case 2:
      return fix + "DGPS";
    case 6:
      return fix + "Est";
    default:
      return fix;
  }
}

// A label's text is set only when it differs: setting it lays the label out again.
void ShowText(platform::TLabel* label, const std::string& text) {
  if (label->GetCaption() != text) label->Caption = text;
}

}  // namespace

void TMainForm::ShowRawSentences(const char* sentences) {
  platform::TStringList lines;
  const char* p = sentences;
  while ((p = std::strstr(p, "$GP")) != nullptr) {
    const char* end = std::strstr(p, "\r\n");
    if (!end) break;
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(end - p), kRawLineMax);
    lines.Add(std::string(p, n));
    p = end + 2;
  }
  // In one go: the box lays its text out once a chunk, not once a line.
  MemoNMEA->Lines->AddStrings(lines);
}

TMainForm::SkyDots TMainForm::SkyDotsOf(const reader::ReceiverState& s) {
  SkyDots dots;
  const int count = reader::SatCount(s.Fix);
  for (int i = 0; i < count; ++i) {
    const reader::SatelliteInfo& sat = s.Satellites[i];
    if (sat.Prn > 0) dots.dot[dots.count++] = {sat.Prn, sat.Elevation, sat.Azimuth, sat.Snr > 0};
  }
  return dots;
}

void TMainForm::ShowCleanSkyPlot() {
  ImgSV->Picture->Assign(ImgSVOrig->Picture);
  skyShown_ = {};
}

void TMainForm::DrawSkyPlot(reader::ReceiverState& s) {
  ShowCleanSkyPlot();
  platform::TCanvas* canvas = ImgSV->Canvas;
  canvas->Font->Color = kYellow;
  const int count = reader::SatCount(s.Fix);
  for (int i = 0; i < count; ++i) {
    const reader::SatelliteInfo& sat = s.Satellites[i];
    if (sat.Prn <= 0) continue;
    SkyPoint p = SkyPosition(sat.Azimuth, sat.Elevation);
    canvas->Brush->Color = sat.Snr > 0 ? kBlue : kPale;
    canvas->Ellipse(p.x - 12, p.y - 12, p.x + 12, p.y + 12);
    canvas->TextOut(p.x - 6, p.y - 6, std::to_string(sat.Prn));
  }
  skyShown_.dots = SkyDotsOf(s);
  skyShown_.drawn = true;
}

void TMainForm::RefreshDisplay(reader::ReceiverState& s) {
  const reader::FixInfo& f = s.Fix;
  if (s.SatListComplete) {
    std::stable_sort(s.Satellites, s.Satellites + reader::SatCount(f),
                     [](const reader::SatelliteInfo& a, const reader::SatelliteInfo& b) {
                       return a.Prn < b.Prn;
                     });
    // The same dots on the same picture would draw the same pixels.
    if (!skyShown_.drawn || !(skyShown_.dots == SkyDotsOf(s))) DrawSkyPlot(s);
  }

  // Drawn over the plot: again after every redraw or reset of the picture, else only when its
  // colour changes.
  const platform::TColor indicator =
      (Timer1->Tag & 1) ? kBlack : (BtnLogging->Visible ? kRed : kYellow);
  if (!skyShown_.indicatorDrawn || skyShown_.indicator != indicator) {
    platform::TCanvas* canvas = ImgSV->Canvas;
    const int h = ImgSV->Height;
    canvas->Brush->Color = indicator;
    canvas->Ellipse(h - 32, 5, h - 7, 30);
    skyShown_.indicator = indicator;
    skyShown_.indicatorDrawn = true;
  }

  if (!fixShown_ || !(*fixShown_ == f)) ShowFix(f);

  // The grid sets only the cells whose text changes.
  if (s.ChannelsUpdated.load() &&
      (!StringGrid1->Enabled ||
       !std::equal(channelsShown_.begin(), channelsShown_.end(), s.Channels))) {
    static const char* const kStates[] = {"Idle", "Searching", "Tracking"};
    if (!StringGrid1->Enabled) StringGrid1->Enabled = true;
    for (int i = 0; i < reader::kChannelCount; ++i) {
      const reader::ChannelInfo& ch = s.Channels[i];
      StringGrid1->SetCell(0, i + 1, std::to_string(i + 1));
      StringGrid1->SetCell(1, i + 1, std::to_string(ch.Prn));
      StringGrid1->SetCell(2, i + 1, std::to_string(ch.Snr));
      StringGrid1->SetCell(3, i + 1, kStates[ch.State < 2 ? ch.State : 2]);
    }
    std::copy(s.Channels, s.Channels + reader::kChannelCount, channelsShown_.begin());
  }

  RefreshSignalChart(s);
}

// Only the labels whose values changed since the fix last shown are worked out again.
void TMainForm::ShowFix(const reader::FixInfo& f) {
  const reader::FixInfo* was = fixShown_ ? &*fixShown_ : nullptr;
  auto changed = [&](auto... fields) { return !was || (... || !(was->*fields == f.*fields)); };
  using F = reader::FixInfo;
  if (changed(&F::Year, &F::Month, &F::Day))
    ShowText(LabelDate,
             std::to_string(f.Year) + "/" + std::to_string(f.Month) + "/" + std::to_string(f.Day));
  if (changed(&F::Hour, &F::Minute, &F::Second))
    ShowText(LabelTime, std::to_string(f.Hour) + ":" + std::to_string(f.Minute) + ":" +
                            FloatToStrF(f.Second, 7, 3));
  if (changed(&F::Latitude))
    ShowText(LabelLat, std::string(f.Latitude > 0 ? "N   " : "S   ") +
                           FloatToStrF(std::fabs(f.Latitude), 7, 5));
  if (changed(&F::Longitude))
    ShowText(LabelLon, std::string(f.Longitude > 0 ? "E " : "W ") +
                           FloatToStrF(std::fabs(f.Longitude), 7, 5));
  if (changed(&F::Altitude)) ShowText(LabelAlt, OneDecimal(f.Altitude));

  if (changed(&F::Dimension, &F::Quality)) {
    ShowText(LabelFix, FixText(f));
    const platform::TColor fixColour = f.Dimension == 0 ? kRed : kBlack;
    if (LabelFix->ParentFont || LabelFix->Font->Color != fixColour)
      LabelFix->Font->Color = fixColour;
  }

  if (changed(&F::SpeedKmh)) ShowText(LabelSpeed, OneDecimal(f.SpeedKmh));
  if (changed(&F::Course)) ShowText(LabelTrack, OneDecimal(f.Course));
  if (changed(&F::Pdop)) ShowText(LabelPDOP, OneDecimal(f.Pdop));
  if (changed(&F::Hdop)) ShowText(LabelHDOP, OneDecimal(f.Hdop));
  if (changed(&F::Vdop)) ShowText(LabelVDOP, OneDecimal(f.Vdop));
  fixShown_ = f;
}

void TMainForm::ClearFixDisplay() {
  ShowCleanSkyPlot();
  fixShown_.reset();
  for (platform::TLabel* l : {LabelDate, LabelTime, LabelLat, LabelLon, LabelAlt, LabelFix,
                              LabelSpeed, LabelTrack, LabelPDOP, LabelHDOP, LabelVDOP})
    l->Caption = "";
}

void TMainForm::EmptyStatusBars() {
  for (platform::TStatusBar* bar : {StatusBar1, StatusBar2})
    for (int i = 0; i < bar->Panels.Count(); ++i) bar->Panels[i].Text = "";
}

void TMainForm::ResetStatusDisplay() {
  Caption = "Korvane";
  LabelVersion->Caption = "";
  LabelCustomer->Caption = "";
  ClearSignalChart();
  ClearFixDisplay();
  EmptyStatusBars();
}

}  // namespace console

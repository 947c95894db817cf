// Start state, the receiver link over a pseudo-terminal and TCP, and the live display.
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <regex>
#include <sstream>

#include "chart/component/chart.h"
#include "chart/engine/series.h"
#include "console/number_format.h"
#include "console/sentences.h"
#include "console/sky_plot_math.h"
#include "tests/console/command_util.h"
#include "tests/support/blocked_thread.h"

using namespace consoletest;
using console::TMainForm;

namespace {

std::vector<platform::TControl*> CommandControls(TMainForm* f) {
  return {f->BtnHot,        f->BtnWarm,         f->BtnCold,         f->BtnFactory,  f->BtnLog,
          f->BtnDGPSSet,    f->BtnDGPSQuery,    f->BtnDatumQuery,   f->BtnDatumSet, f->BtnConfirm,
          f->BtnDefault,    f->BtnNMEAQuery,    f->BtnQuery,        f->BtnTCXO,     f->BtnWakeUp,
          f->BtnSetFixRate, f->BtnQueryFixRate, f->BtnSetBaud,      f->ChkBoxPower, f->BtnIntegrity,
          f->BtnQIntegrity, f->BtnFlashSet,     f->ChkFlashProtect, f->BtnQFlash,   f->BtnAuth,
          f->Cmb101Com,     f->Cmb101Baud,      f->Cmb101SV,        f->CmbDegrade,  f->Btn101Open};
}

const std::string kStartupQueries = std::string("$PQVU605*31\r\n") + '\0' +
                                    "$PQVU414*33\r\n$PQVU400*36\r\n$PQVU602*36\r\n"
                                    "$PQVU401*37\r\n$PQVU419*3E\r\n$PQVU490*3F\r\n"
                                    "$PQVU430*35\r\n";

std::string WithoutZeros(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), '\0'), s.end());
  return s;
}

TEST_F(ConsoleTest, StartState) {
  EXPECT_EQ(std::string(form->Caption), "Korvane");
  EXPECT_TRUE(form->TabSheet1->TabVisible);
  EXPECT_TRUE(form->TabSheet6->TabVisible);
  for (auto* tab : {form->TabSheet2, form->TabSheet3, form->TabSheet4, form->TabSheet5})
    EXPECT_FALSE(tab->TabVisible) << std::string(tab->Caption);
  for (platform::TControl* c : CommandControls(form))
    EXPECT_FALSE(c->Enabled) << std::string(c->Name);
  EXPECT_FALSE(form->StringGrid1->Enabled);
  EXPECT_EQ(form->StringGrid1->GetCell(1, 0), "SVid");
  EXPECT_EQ(form->StringGrid1->GetCell(3, 0), "Status");
  EXPECT_EQ(std::string(form->CmbBaud->Text), "38400");
  EXPECT_EQ(std::string(form->CmbCom->Text), "COM1");
  EXPECT_EQ(form->CmbMCHN->ItemIndex, -1);
  EXPECT_EQ(std::string(form->LabelPercent->Caption), "15.0%");
  EXPECT_FALSE(form->BtnClose->Visible);
  EXPECT_TRUE(form->BtnOpen->Visible);
  EXPECT_EQ(form->Left, 0);
  EXPECT_EQ(form->Top, 0);
  EXPECT_FALSE(platform::TBorderIcons(form->BorderIcons).Contains(platform::biMaximize));
  EXPECT_EQ(form->ClientWidth, 302);
  EXPECT_EQ(form->ClientHeight, 438);
}

TEST_F(ConsoleTest, OpenSendsStartupQueriesInOrder) {
  StartPtyReceiver();
  lines.clear();
  const auto start = std::chrono::steady_clock::now();
  OpenPort();
  const auto end = std::chrono::steady_clock::now();
  ASSERT_TRUE(link->WaitReceived([](const std::string& r) { return r.size() >= 105; }, 3000ms));
  EXPECT_EQ(link->Received(), kStartupQueries);
  // One write a sentence, each followed by 100 ms.
  EXPECT_TRUE(WroteAndWaited(lines,
                             {{"$PQVU605*31\r\n", true, 100},
                              {"$PQVU414*33\r\n", false, 100},
                              {"$PQVU400*36\r\n", false, 100},
                              {"$PQVU602*36\r\n", false, 100},
                              {"$PQVU401*37\r\n", false, 100},
                              {"$PQVU419*3E\r\n", false, 100},
                              {"$PQVU490*3F\r\n", false, 100},
                              {"$PQVU430*35\r\n", false, 100}},
                             true, start, end));
  for (platform::TControl* c : CommandControls(form))
    EXPECT_TRUE(c->Enabled) << std::string(c->Name);
  EXPECT_TRUE(form->BtnClose->Visible);
  EXPECT_FALSE(form->BtnDetect->Enabled);
  EXPECT_FALSE(form->BtnConnect->Enabled);
  EXPECT_TRUE(form->Timer1->Enabled);
  EXPECT_EQ(std::string(form->LabelCurrent->Caption), "Disable");
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ConsoleTest, DisplayShowsTheFix) {
  StartPtyReceiver();
  OpenPort();
  link->EmitCycleNow();
  sim::EpochTruth truth = link->WithModel([](sim::SimReceiver& m) { return m.LastEpoch(); });
  link->EmitCycleNow();
  ASSERT_TRUE(WaitUntil([&] { return std::string(form->LabelDate->Caption) == "2024/3/15"; }));
  EXPECT_EQ(std::string(form->LabelFix->Caption), "3D SPS");
  EXPECT_EQ(form->LabelFix->Font->Color, platform::TColor(0));
  EXPECT_TRUE(std::regex_match(std::string(form->LabelTime->Caption),
                               std::regex(R"(8:30:[0-9]+\.[0-9]{3})")))
      << std::string(form->LabelTime->Caption);
  std::string lat = form->LabelLat->Caption, lon = form->LabelLon->Caption;
  EXPECT_TRUE(std::regex_match(lat, std::regex(R"(N   25\.0[0-9]{4})"))) << lat;
  EXPECT_TRUE(std::regex_match(lon, std::regex(R"(E 121\.56[0-9]{3})"))) << lon;
  EXPECT_NEAR(std::stod(lat.substr(4)), truth.kinematics.latitude, 1e-4);
  EXPECT_EQ(std::string(form->LabelAlt->Caption),
            console::FloatToStrF(truth.kinematics.altitude_msl + truth.kinematics.geoid_separation,
                                 7, 1));
  EXPECT_EQ(std::string(form->LabelPDOP->Caption), console::FloatToStrF(float(truth.pdop), 7, 1));
  // The raw box holds the "$GP" lines, never the receiver's own sentences.
  ASSERT_TRUE(WaitUntil([&] { return form->MemoNMEA->Lines->Count() >= 9; }));
  bool sawGsv = false;
  for (int i = 0; i < form->MemoNMEA->Lines->Count(); ++i) {
    std::string line = form->MemoNMEA->Lines->Get(i);
    EXPECT_EQ(line.rfind("$GP", 0), 0u) << line;
    EXPECT_EQ(line.find('\r'), std::string::npos);
    sawGsv |= line.rfind("$GPGSV", 0) == 0;
  }
  EXPECT_TRUE(sawGsv);
  // The channel grid fills once channel status has been decoded.
  ASSERT_TRUE(WaitUntil([&] { return bool(form->StringGrid1->Enabled); }));
  EXPECT_EQ(form->StringGrid1->GetCell(0, 1), "1");
  EXPECT_EQ(form->StringGrid1->GetCell(1, 1), std::to_string(truth.channels[0].prn));
  EXPECT_EQ(form->StringGrid1->GetCell(3, 1), "Tracking");
  EXPECT_EQ(form->StringGrid1->GetCell(3, 32), "Idle");
}

TEST_F(ConsoleTest, SkyPlotDiscsAtTheirPixels) {
  StartPtyReceiver();
  OpenPort();
  link->EmitCycleNow();
  sim::EpochTruth truth = link->WithModel([](sim::SimReceiver& m) { return m.LastEpoch(); });
  link->EmitCycleNow();
  ASSERT_TRUE(WaitUntil([&] { return std::string(form->LabelFix->Caption) == "3D SPS"; }));
  // A complete satellite list has been shown: the chart has its bars.
  ASSERT_TRUE(WaitUntil([&] { return form->ChartSNR->GetSeries(0)->Count() > 0; }));
  platform::Application->ProcessMessages();
  platform::TCanvas* canvas = form->ImgSV->Canvas;
  int checked = 0;
  for (const auto& sat : truth.in_view) {
    console::SkyPoint p = console::SkyPosition(sat.azimuth, sat.elevation);
    // Away from the number written in the middle, and from a neighbour's disc.
    bool alone = true;
    for (const auto& other : truth.in_view) {
      if (other.prn == sat.prn) continue;
      console::SkyPoint q = console::SkyPosition(other.azimuth, other.elevation);
      if (std::abs(q.x - p.x) < 26 && std::abs(q.y - p.y) < 26) alone = false;
    }
    if (!alone || p.y + 9 >= 177) continue;
    platform::TColor c = canvas->GetPixel(p.x, p.y + 9);
    EXPECT_EQ(c, sat.snr > 0 ? platform::TColor(0xFF0000) : platform::TColor(0xF0CAA6))
        << "PRN " << sat.prn << " at " << p.x << "," << p.y;
    // Its number is written in yellow from (x - 6, y - 6).
    int yellow = 0;
    for (int y = p.y - 6; y < p.y + 8; ++y)
      for (int x = p.x - 6; x < p.x + 10; ++x) yellow += canvas->GetPixel(x, y) == 0x00FFFF;
    EXPECT_GT(yellow, 3) << "PRN " << sat.prn;
    ++checked;
  }
  EXPECT_GE(checked, 3);
  // The link indicator sits in the top right corner.
  platform::TColor indicator = canvas->GetPixel(177 - 20, 17);
  EXPECT_TRUE(indicator == platform::TColor(0x00FFFF) || indicator == platform::TColor(0))
      << std::hex << indicator;
}

TEST_F(ConsoleTest, MissingPortIsReported) {
  form->CmbCom->Text = "/dev/korvane-no-such-port";
  form->BtnOpen->Click();
  EXPECT_EQ(form->ComHandle.load(), 0);
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Can't Open ComPort!!"});
  EXPECT_FALSE(form->BtnClose->Visible);
  EXPECT_EQ(form->ReaderThread, nullptr);
  for (platform::TControl* c : CommandControls(form)) EXPECT_FALSE(c->Enabled);
  // Nothing is sent without a link, and the click does not wait.
  lines.clear();
  form->BtnQueryFixRate->Click();
  EXPECT_TRUE(lines.empty());
}

TEST_F(ConsoleTest, NonNumericBaudOpensNothing) {
  StartPtyReceiver();
  form->CmbCom->Text = link->SlavePath();
  form->CmbBaud->Text = "fast";
  form->BtnOpen->Click();
  platform::Application->ProcessMessages();
  EXPECT_EQ(form->ComHandle.load(), 0);
  auto messages = TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("fast"), std::string::npos);
}

TEST_F(ConsoleTest, CloseWhileLoggingClosesTheLog) {
  StartPtyReceiver();
  OpenPort();
  char path[] = "/tmp/korvane-close-log-XXXXXX";
  close(mkstemp(path));
  saveAs = path;
  form->BtnLog->Click();
  ASSERT_TRUE(form->LogFile.IsOpen());
  ASSERT_TRUE(form->BtnLogging->Visible);
  form->BtnClose->Click();
  EXPECT_FALSE(form->LogFile.IsOpen());
  EXPECT_FALSE(form->BtnLogging->Visible);
  EXPECT_TRUE(form->BtnLog->Visible);
  EXPECT_EQ(form->ComHandle.load(), 0);
  EXPECT_EQ(form->ReaderThread, nullptr);
  EXPECT_FALSE(form->Timer1->Enabled);
  for (platform::TControl* c : CommandControls(form)) EXPECT_FALSE(c->Enabled);
  EXPECT_TRUE(form->BtnConnect->Enabled);
  EXPECT_TRUE(form->CmbCom->Enabled);
  // The port is free again at once.
  form->BtnOpen->Click();
  EXPECT_NE(form->ComHandle.load(), 0);
  unlink(path);
}

TEST_F(ConsoleTest, SocketConnectAndPeerDisconnect) {
  StartTcpReceiver();
  Connect();
  ASSERT_TRUE(link->WaitReceived([](const std::string& r) { return r.size() >= 104; }, 3000ms));
  EXPECT_EQ(link->Received(), WithoutZeros(kStartupQueries)) << "no zero bytes over TCP";
  EXPECT_FALSE(form->BtnOpen->Enabled);
  EXPECT_TRUE(form->BtnDisconnect->Visible);
  EXPECT_FALSE(form->EditIP->Enabled);
  ASSERT_NE(form->ReaderThread, nullptr);
  link->EmitCycleNow();
  link->EmitCycleNow();
  ASSERT_TRUE(WaitUntil([&] { return std::string(form->LabelFix->Caption) == "3D SPS"; }));
  link->CloseClient();
  ASSERT_TRUE(WaitUntil([&] { return !form->UseSocket.load(); }));
  EXPECT_EQ(form->ReaderThread, nullptr);
  EXPECT_FALSE(form->BtnDisconnect->Visible);
  EXPECT_TRUE(form->BtnOpen->Enabled);
  EXPECT_TRUE(form->EditIP->Enabled);
  EXPECT_EQ(std::string(form->LabelFix->Caption), "");
  for (platform::TControl* c : CommandControls(form)) EXPECT_FALSE(c->Enabled);
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(ConsoleTest, SocketErrorsAndBadPorts) {
  form->EditIP->Text = "127.0.0.1";
  form->EditSocket->Text = "70000";
  form->BtnConnect->Click();
  platform::Application->ProcessMessages();
  EXPECT_FALSE(form->ClientSocket1.Active());
  EXPECT_EQ(TakeMessages().size(), 1u) << "the conversion error";
  // A port nobody listens on: "Connection Error :" and the errno.
  StartTcpReceiver();
  uint16_t port = link->Port();
  link->Stop();
  form->EditSocket->Text = std::to_string(port);
  form->BtnConnect->Click();
  ASSERT_TRUE(WaitUntil([&] { return !boxes.empty(); }));
  auto messages = TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Connection Error :" + std::to_string(ECONNREFUSED));
  EXPECT_FALSE(form->UseSocket.load());
}

TEST_F(ConsoleTest, ClosingTheWindowWithARunningReader) {
  StartPtyReceiver(true, 20);
  OpenPort();
  ASSERT_TRUE(WaitUntil([&] { return form->MemoNMEA->Lines->Count() > 5; }));
  // Leave a step pending: the reader is blocked in it while the window goes away.
  const pid_t reader = korvane_test::ThreadNamed("NMEAThread");
  ASSERT_NE(reader, 0);
  ASSERT_TRUE(korvane_test::WaitUntilBlockedIn(reader, korvane_test::kFutexCalls));
  delete form;
  form = nullptr;
  EXPECT_EQ(platform::LiveThreadCount(), 0);
}

TEST_F(ConsoleTest, ScreenshotWithAFix) {
  StartPtyReceiver();
  OpenPort();
  link->EmitCycleNow();
  link->EmitCycleNow();
  ASSERT_TRUE(WaitUntil([&] { return std::string(form->LabelDate->Caption) == "2024/3/15"; }));
  // A complete satellite list has been shown: the chart has its bars.
  ASSERT_TRUE(WaitUntil([&] { return form->ChartSNR->GetSeries(0)->Count() > 0; }));
  for (int i = 0; i < 5; ++i) platform::Application->ProcessMessages();
  QImage shot = form->Widget()->grab().toImage();
  EXPECT_EQ(shot.width(), 302);
  std::string file = std::string(KORVANE_BINARY_DIR) + "/main_window_fix.png";
  EXPECT_TRUE(shot.save(QString::fromStdString(file)));
}

}  // namespace

namespace {

TEST_F(ConsoleTest, HostileStatesDrawWithoutHarm) {
  auto s = std::make_unique<reader::ReceiverState>();
  // Twelve satellites with one number, and a count that is not a count.
  s->Fix.SatsInView = 12;
  s->SatListComplete = 1;
  for (int i = 0; i < 12; ++i) s->Satellites[i] = {7, 40, 45, 90 * (i % 4), 0};
  form->RefreshDisplay(*s);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(s->Satellites[i].Prn, 7);
  s->Fix.SatsInView = -5;
  s->Fix.Altitude = 1e38f;
  s->Fix.Latitude = std::numeric_limits<float>::quiet_NaN();
  form->RefreshDisplay(*s);
  EXPECT_LT(std::string(form->LabelAlt->Caption).size(), 16u);
  EXPECT_EQ(std::string(form->LabelLat->Caption), "S   NAN");
  s->Fix.SatsInView = 25;
  s->SatListComplete = 1;
  for (int i = 0; i < reader::kMaxSatellites; ++i)
    s->Satellites[i] = {reader::kMaxSatellites - i, 30, 2000000000, -2000000000, 0};
  form->RefreshDisplay(*s);
  EXPECT_EQ(s->Satellites[0].Prn, 1) << "the 20 table entries are sorted";
  EXPECT_EQ(s->Satellites[19].Prn, 20);
}

TEST_F(ConsoleTest, ReceiverTextIsShownAsPlainText) {
  auto s = std::make_unique<reader::ReceiverState>();
  std::strcpy(s->Firmware.Version, "<b>X</b>");
  std::strcpy(s->Firmware.Customer, "\xE9t\xE9");
  form->ShowFirmwareInfo(*s);
  EXPECT_EQ(std::string(form->LabelVersion->Caption), "<b>X</b>");
  EXPECT_EQ(std::string(form->Caption), "Korvane (f/w: <b>X</b> \xE9t\xE9)");
  EXPECT_EQ(form->StatusBar2->Panels[1].Text(), " / ");
}

}  // namespace

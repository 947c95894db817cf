// The command buttons against the simulated receiver: the bytes it read, their order, the
// waits between them, over the COM port (pseudo-terminal) and the socket.
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/console/command_util.h"

namespace consoletest {
namespace {

using console::TMainForm;
using platform::TButton;

enum class LinkKind { Com, Tcp };

void PrintTo(LinkKind k, std::ostream* os) {
  *os << (k == LinkKind::Com ? "COM port" : "socket");
}

struct CommandCase {
  const char* name;
  std::function<void(TMainForm&)> prepare;
  TButton* TMainForm::*button;
  std::vector<Write> writes;  // as on the COM port
  bool comOnly = false;       // over the socket: nothing sent, the same waits
  bool armsReopen = false;    // on the COM port
};

void Nothing(TMainForm&) {}

class CommandBytes : public CommandTest, public ::testing::WithParamInterface<LinkKind> {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    if (GetParam() == LinkKind::Com)
      OpenQuiet();
    else
      ConnectQuiet();
  }

  void RunTable(const std::vector<CommandCase>& cases) {
    const bool com = GetParam() == LinkKind::Com;
    for (const CommandCase& c : cases) {
      SCOPED_TRACE(c.name);
      link->ClearRecords();
      c.prepare(*form);
      lines.clear();
      const auto start = Clock::now();
      (form->*c.button)->Click();
      const auto end = Clock::now();
      if (com) {
        EXPECT_TRUE(SawWritesOnPort(*link, lines, c.writes, start, end));
        EXPECT_EQ(form->ReopenPending, c.armsReopen ? 1 : 0);
      } else if (c.comOnly) {
        // Nothing sent: the same waits all the same.
        EXPECT_TRUE(WroteAndWaited(lines, {}, false, start, end, TotalWaitMs(c.writes, 0)));
        EXPECT_EQ(link->Received(), "");
        EXPECT_EQ(form->ReopenPending, 0);
      } else {
        const std::string expected = AsText(c.writes);
        link->WaitReceived([&](const std::string& r) { return r.size() >= expected.size(); },
                           std::chrono::seconds(2));
        EXPECT_EQ(Visible(link->Received()), Visible(expected));
        EXPECT_TRUE(WroteAndWaited(lines, c.writes, false, start, end));
        EXPECT_EQ(form->ReopenPending, 0);
      }
      form->ReopenPending = 0;
      platform::Application->ProcessMessages();
      EXPECT_EQ(CountKind(platform::mkException), 0);
      TakeMessages();
    }
  }
};

TEST_P(CommandBytes, QueryButtons) {
  RunTable({
      {"version", Nothing, &TMainForm::BtnQuery, {{"$PQVU605*31\r\n", true, 100}}},
      {"TCXO", Nothing, &TMainForm::BtnTCXO, {{"$PQVU456*35\r\n", true, 100}}},
      {"fix rate", Nothing, &TMainForm::BtnQueryFixRate, {{"$PQVU400*36\r\n", false, 100}}},
      {"SBAS mode", Nothing, &TMainForm::BtnQIntegrity, {{"$PQVU419*3E\r\n", false, 100}}},
      {"output rates", Nothing, &TMainForm::BtnNMEAQuery, {{"$PQVU414*33\r\n", false, 100}}},
      {"flash", Nothing, &TMainForm::BtnQFlash, {{"$PQVU490*3F\r\n", false, 100}}},
      {"datum", Nothing, &TMainForm::BtnDatumQuery, {{"$PQVU430*35\r\n", false, 100}}},
      {"DGPS",
       Nothing,
       &TMainForm::BtnDGPSQuery,
       {{"$PQVU602*36\r\n", false, 100}, {"$PQVU401*37\r\n", false, 100}}},
      {"wake up", Nothing, &TMainForm::BtnWakeUp, {{"$PQVU188*33\r\n", true, 100}}},
      {"authorization", Nothing, &TMainForm::BtnAuth, {{"$PQVU809*33\r\n", true, 100}}},
  });
}

TEST_P(CommandBytes, SettingButtons) {
  RunTable({
      {"fix rate 5 Hz",
       [](TMainForm& f) { f.CmbFixRate->ItemIndex = 4; },
       &TMainForm::BtnSetFixRate,
       {{"$PQVU220,200*2C\r\n", false, 100}}},
      {"fix rate 3 Hz",
       [](TMainForm& f) { f.CmbFixRate->ItemIndex = 2; },
       &TMainForm::BtnSetFixRate,
       {{"$PQVU220,333*2D\r\n", false, 100}}},
      {"fix rate 1 Hz",
       [](TMainForm& f) { f.CmbFixRate->ItemIndex = 0; },
       &TMainForm::BtnSetFixRate,
       {{"$PQVU220,1000*1F\r\n", false, 100}}},
      {"fix rate 1000 Hz typed",
       [](TMainForm& f) { f.CmbFixRate->Text = "1000"; },
       &TMainForm::BtnSetFixRate,
       {{"$PQVU220,1*2F\r\n", false, 100}}},
      {"SBAS integrity",
       [](TMainForm& f) { f.RadioIntegrity->Checked = true; },
       &TMainForm::BtnIntegrity,
       {{"$PQVU319,1*24\r\n", false, 100}}},
      {"SBAS test",
       [](TMainForm& f) { f.RadioTest->Checked = true; },
       &TMainForm::BtnIntegrity,
       {{"$PQVU319,0*25\r\n", false, 100}}},
      {"DGPS SBAS",
       [](TMainForm& f) { f.RadioWAASEnable->Checked = true; },
       &TMainForm::BtnDGPSSet,
       {{"$PQVU313,1*2E\r\n", false, 100}, {"$PQVU301,2*2E\r\n", true, 100}}},
      {"DGPS RTCM",
       [](TMainForm& f) { f.RadioRTCMEnable->Checked = true; },
       &TMainForm::BtnDGPSSet,
       {{"$PQVU250,1,0,9600*17\r\n", false, 100}, {"$PQVU301,1*2D\r\n", true, 100}}},
      {"DGPS off",
       [](TMainForm& f) { f.RadioBothDisable->Checked = true; },
       &TMainForm::BtnDGPSSet,
       {{"$PQVU313,0*2F\r\n", false, 100}, {"$PQVU301,0*2C\r\n", true, 100}}},
      {"datum 5",
       [](TMainForm& f) { f.CmbDatum->ItemIndex = 5; },
       &TMainForm::BtnDatumSet,
       {{"$PQVU330,5*2B\r\n", false, 100}}},
      // At start the box shows item 0 with no item chosen: item 0 goes out, not -1.
      {"datum as at start",
       [](TMainForm& f) {
         f.CmbDatum->ItemIndex = -1;
         f.CmbDatum->Text = "(0) WGS1984 \"International\"";
       },
       &TMainForm::BtnDatumSet,
       {{"$PQVU330,0*2E\r\n", false, 100}}},
      {"flash, layout defaults",
       [](TMainForm& f) {
         f.CmbFixRate->ItemIndex = 0;
         f.RadioBothDisable->Checked = true;
         f.CmbDatum->ItemIndex = -1;
         f.CmbDatum->Text = "(0) WGS1984 \"International\"";
         f.CmbMCHN->ItemIndex = -1;
         f.CmbMCHN->Text = "0";
       },
       &TMainForm::BtnFlashSet,
       {{"$PQVU390,0,1,38400,1,1,1,1,1,1,0,0,0,0,9600*09\r\n", false, 0}},
       false,
       true},
      {"flash, write protected",
       [](TMainForm& f) { f.ChkFlashProtect->Checked = true; },
       &TMainForm::BtnFlashSet,
       {{"$PQVU390,1,1,38400,1,1,1,1,1,1,0,0,0,0,9600*08\r\n", false, 0}},
       false,
       true},
      {"baud rate",
       Nothing,
       &TMainForm::BtnSetBaud,
       {{"$PQVU251,38400*27\r\n", false, 100}},
       true,
       true},
  });
}

INSTANTIATE_TEST_SUITE_P(Links, CommandBytes, ::testing::Values(LinkKind::Com, LinkKind::Tcp),
                         [](const auto& info) {
                           return info.param == LinkKind::Com ? "ComPort" : "Socket";
                         });

struct RestartCase {
  const char* name;
  TButton* TMainForm::*button;
  const char* sentence;
  std::uint8_t kind;
  bool versionQuery;
};

void PrintTo(const RestartCase& c, std::ostream* os) {
  *os << c.name;
}

class Restarts : public CommandTest, public ::testing::WithParamInterface<RestartCase> {};

// The restart sentence, one second, then the authorization; cold start and factory reset add
// the version query. Each goes out with its zero byte on the COM port.
TEST_P(Restarts, WritesAndWaitsOnComPort) {
  const RestartCase& c = GetParam();
  OpenQuiet();
  std::vector<Write> writes = {{c.sentence, true, 1000}, {"$PQVU809*33\r\n", true, 0}};
  if (c.versionQuery) writes.push_back({"$PQVU605*31\r\n", true, 100});
  lines.clear();
  const auto start = Clock::now();
  (form->*c.button)->Click();
  const auto end = Clock::now();
  EXPECT_TRUE(SawWritesOnPort(*link, lines, writes, start, end));
  EXPECT_EQ(form->RestartKind, c.kind);
  EXPECT_EQ(int(form->Timer1->Interval), 100);
  EXPECT_NE(form->ReaderThread, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Restarts,
    ::testing::Values(RestartCase{"Hot", &TMainForm::BtnHot, "$PQVU101*32\r\n", 1, false},
                      RestartCase{"Warm", &TMainForm::BtnWarm, "$PQVU102*31\r\n", 2, false},
                      RestartCase{"Cold", &TMainForm::BtnCold, "$PQVU103*30\r\n", 3, true},
                      RestartCase{"Factory", &TMainForm::BtnFactory, "$PQVU104*37\r\n", 4, true}),
    [](const auto& info) { return std::string(info.param.name); });

// 1500 ms, then the 51 characters in pieces of 16, 16, 16 and 3, 100 ms apart, then 100 ms;
// the fix display is cleared and the receiver confirms.
TEST_F(CommandTest, ConfirmWritesTheOutputRatesInPieces) {
  OpenQuiet();
  form->LabelLat->Caption = "2446.1234 N";
  form->LabelPDOP->Caption = "1.5";
  const std::string sentence = "$PQVU314,1,1,1,1,1,1,0,0,0,0,0,0,0,0,0,0,0,0,0*28\r\n";
  ASSERT_EQ(sentence.size(), 51u);
  const std::vector<Write> writes = {{sentence.substr(0, 16), false, 100},
                                     {sentence.substr(16, 16), false, 100},
                                     {sentence.substr(32, 16), false, 100},
                                     {sentence.substr(48), false, 100}};
  ASSERT_TRUE(form->BtnConfirm->Enabled);
  lines.clear();
  const auto start = Clock::now();
  form->BtnConfirm->Click();
  const auto end = Clock::now();
  EXPECT_TRUE(SawWritesOnPort(*link, lines, writes, start, end, 1500));
  EXPECT_EQ(std::string(form->LabelLat->Caption), "");
  EXPECT_EQ(std::string(form->LabelPDOP->Caption), "");
  EXPECT_NE(form->ReaderThread, nullptr);

  ASSERT_TRUE(AwaitAnswerTo(sentence));
  EXPECT_EQ(form->AckOkCommand.load(), 314);
  form->Timer1Timer(nullptr);
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{"NMEA Setting OK!!"});
}

// Without a link every command button returns at once and nothing reaches the receiver; the
// output-rate "Confirm" still clears the fix display.
TEST_F(CommandTest, NoLinkSendsNothingAndDoesNotWait) {
  StartPtyReceiver();
  form->LabelLat->Caption = "2446.1234 N";
  form->RadioRTCMEnable->Checked = true;
  TButton* TMainForm::*const buttons[] = {
      &TMainForm::BtnHot,        &TMainForm::BtnWarm,      &TMainForm::BtnCold,
      &TMainForm::BtnFactory,    &TMainForm::BtnAuth,      &TMainForm::BtnWakeUp,
      &TMainForm::BtnQuery,      &TMainForm::BtnTCXO,      &TMainForm::BtnQueryFixRate,
      &TMainForm::BtnQIntegrity, &TMainForm::BtnNMEAQuery, &TMainForm::BtnQFlash,
      &TMainForm::BtnDatumQuery, &TMainForm::BtnDGPSQuery, &TMainForm::BtnSetFixRate,
      &TMainForm::BtnSetBaud,    &TMainForm::BtnDGPSSet,   &TMainForm::BtnIntegrity,
      &TMainForm::BtnDatumSet,   &TMainForm::BtnFlashSet,  &TMainForm::BtnConfirm,
      &TMainForm::BtnDefault};
  for (TButton* TMainForm::*b : buttons) {
    const std::string name = (form->*b)->Name;
    SCOPED_TRACE(name);
    EXPECT_TRUE(ClickIsQuiet(form->*b));
  }
  EXPECT_EQ(link->Received(), "");
  EXPECT_EQ(form->ReopenPending, 0);
  EXPECT_EQ(form->RestartKind, 0);
  EXPECT_EQ(form->ReaderThread, nullptr);
  EXPECT_EQ(std::string(form->LabelLat->Caption), "");
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{});
}

// Typed texts that are no rate, or that would smuggle fields or whole sentences into the
// command: one exception box, nothing written, no wait, no reopen armed.
TEST_F(CommandTest, TypedJunkIsRefusedWhole) {
  OpenQuiet();
  struct JunkCase {
    const char* name;
    std::function<void(TMainForm&)> type;
    TButton* TMainForm::*button;
    platform::TModalKind box;
  } const cases[] = {
      {"second sentence in the baud rate",
       [](TMainForm& f) { f.CmbSetBaud->Text = "9600\r\n$PQVU104"; }, &TMainForm::BtnSetBaud,
       platform::mkException},
      {"unlisted baud rate", [](TMainForm& f) { f.CmbSetBaud->Text = "230400"; },
       &TMainForm::BtnSetBaud, platform::mkException},
      {"empty baud rate", [](TMainForm& f) { f.CmbSetBaud->Text = ""; }, &TMainForm::BtnSetBaud,
       platform::mkException},
      {"fix rate x", [](TMainForm& f) { f.CmbFixRate->Text = "x"; }, &TMainForm::BtnSetFixRate,
       platform::mkException},
      {"fix rate 0", [](TMainForm& f) { f.CmbFixRate->Text = "0"; }, &TMainForm::BtnSetFixRate,
       platform::mkException},
      {"fix rate -5", [](TMainForm& f) { f.CmbFixRate->Text = "-5"; }, &TMainForm::BtnSetFixRate,
       platform::mkException},
      {"fix rate 1001, a 0 ms interval", [](TMainForm& f) { f.CmbFixRate->Text = "1001"; },
       &TMainForm::BtnSetFixRate, platform::mkException},
      {"fix rate 5000", [](TMainForm& f) { f.CmbFixRate->Text = "5000"; },
       &TMainForm::BtnSetFixRate, platform::mkException},
      {"300 characters of RTCM baud rate",
       [](TMainForm& f) {
         f.RadioRTCMEnable->Checked = true;
         f.CmbRTCMBaud->Text = std::string(300, '9');
       },
       &TMainForm::BtnDGPSSet, platform::mkException},
      {"extra field in the RTCM baud rate",
       [](TMainForm& f) {
         f.RadioRTCMEnable->Checked = true;
         f.CmbRTCMBaud->Text = "9600,1";
       },
       &TMainForm::BtnDGPSSet, platform::mkException},
      {"checksum in an output rate", [](TMainForm& f) { f.CmbGSV->Text = "1*2"; },
       &TMainForm::BtnFlashSet, platform::mkException},
      {"flash fix rate 0", [](TMainForm& f) { f.CmbFixRate->Text = "0"; }, &TMainForm::BtnFlashSet,
       platform::mkException},
      {"flash fix rate 1001", [](TMainForm& f) { f.CmbFixRate->Text = "1001"; },
       &TMainForm::BtnFlashSet, platform::mkException},
      {"unlisted baud rate in the flash settings",
       [](TMainForm& f) { f.CmbSetBaud->Text = "230400"; }, &TMainForm::BtnFlashSet,
       platform::mkException},
      {"letter in an output rate", [](TMainForm& f) { f.CmbGLL->Text = "x"; },
       &TMainForm::BtnConfirm, platform::mkException},
      {"output rate above 255", [](TMainForm& f) { f.CmbGSV->Text = "256"; },
       &TMainForm::BtnConfirm, platform::mkMessage},
  };
  for (const JunkCase& c : cases) {
    SCOPED_TRACE(c.name);
    link->ClearRecords();
    c.type(*form);
    EXPECT_TRUE(ClickIsQuiet(form->*c.button));
    platform::Application->ProcessMessages();
    EXPECT_EQ(CountKind(c.box), 1);
    EXPECT_EQ(boxes.size(), 1u);
    if (c.box == platform::mkMessage && !boxes.empty()) {
      EXPECT_EQ(boxes[0].Text,
                "Warning!! The value of NMEA frequency doesn't allow more than 255.");
    }
    TakeMessages();
    EXPECT_EQ(Visible(link->Received()), "");
    EXPECT_EQ(form->ReopenPending, 0);
    // Back to the layout's texts for the next case.
    form->CmbSetBaud->Text = "38400";
    form->CmbFixRate->Text = "1";
    form->CmbRTCMBaud->Text = "9600";
    form->CmbGSV->Text = "1";
    form->CmbGLL->Text = "1";
  }
  // A datum text that is no item sends nothing, quietly.
  link->ClearRecords();
  form->CmbDatum->ItemIndex = -1;
  form->CmbDatum->Text = "(999) Nowhere";
  EXPECT_TRUE(ClickIsQuiet(form->BtnDatumSet));
  EXPECT_EQ(link->Received(), "");
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{});
}

}  // namespace
}  // namespace consoletest

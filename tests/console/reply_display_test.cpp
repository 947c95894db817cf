// Replies of the receiver to the console's queries, through the simulated receiver's socket:
// each puts the receiver's setting into the controls that would set it.
#include <functional>
#include <string>

#include "tests/console/command_util.h"

namespace consoletest {
namespace {

using console::TMainForm;

struct ReplyCase {
  const char* name;
  std::string sentences;
  std::function<void(TMainForm&)> check;
};

std::string Text(platform::TComboBox* c) {
  return c->Text;
}

class Replies : public CommandTest {
 protected:
  void RunTable(const std::vector<ReplyCase>& cases) {
    for (const ReplyCase& c : cases) {
      SCOPED_TRACE(c.name);
      ASSERT_TRUE(Deliver(c.sentences));
      c.check(*form);
      platform::Application->ProcessMessages();
      EXPECT_EQ(TakeMessages(), std::vector<std::string>{});
    }
  }
};

TEST_F(Replies, SettingsRepliesBeforeAndAfterAFix) {
  ConnectQuiet();
  // A reader that has seen no version reply yet (it keeps a model and SDK it once got).
  form->StopReader();
  form->StartReader();
  RunTable({
      {"fix interval 200 ms", Sentence("PQVU500,200"),
       [](TMainForm& f) {
         EXPECT_EQ(f.CmbFixRate->ItemIndex, 4);
         EXPECT_EQ(Text(f.CmbFixRate), "5");
         EXPECT_EQ(std::string(f.LabelHz->Caption), "5");
         EXPECT_EQ(std::string(f.LabelPercent->Caption), "74.9%");
       }},
      {"fix interval 1000 ms", Sentence("PQVU500,1000"),
       [](TMainForm& f) {
         EXPECT_EQ(Text(f.CmbFixRate), "1");
         EXPECT_EQ(std::string(f.LabelHz->Caption), "1");
         EXPECT_EQ(std::string(f.LabelPercent->Caption), "15.0%");
       }},
      {"datum 5", Sentence("PQVU530,5"), [](TMainForm& f) { EXPECT_EQ(f.CmbDatum->ItemIndex, 5); }},
      {"DGPS SBAS", Sentence("PQVU501,2"),
       [](TMainForm& f) {
         EXPECT_TRUE(f.RadioWAASEnable->Checked);
         EXPECT_FALSE(f.RadioBothDisable->Checked);
       }},
      {"DGPS RTCM", Sentence("PQVU501,1"),
       [](TMainForm& f) {
         EXPECT_TRUE(f.RadioRTCMEnable->Checked);
         EXPECT_FALSE(f.RadioWAASEnable->Checked);
       }},
      {"DGPS off", Sentence("PQVU501,0"),
       [](TMainForm& f) {
         EXPECT_TRUE(f.RadioBothDisable->Checked);
         EXPECT_FALSE(f.RadioRTCMEnable->Checked);
       }},
      {"SBAS integrity", Sentence("PQVU519,1"),
       [](TMainForm& f) { EXPECT_TRUE(f.RadioIntegrity->Checked); }},
      {"SBAS test", Sentence("PQVU519,0"),
       [](TMainForm& f) {
         EXPECT_TRUE(f.RadioTest->Checked);
         EXPECT_FALSE(f.RadioIntegrity->Checked);
       }},
      {"TCXO before any fix", Sentence("PQVU556,0,0.0000012"),
       [](TMainForm& f) { EXPECT_EQ(std::string(f.LabelTCXO->Caption), "No Fix(Unknown)"); }},
      {"RTCM 38400", Sentence("PQVU702,0,0,38400"),
       [](TMainForm& f) { EXPECT_EQ(Text(f.CmbRTCMBaud), "38400"); }},
      {"RTCM at an unlisted rate", Sentence("PQVU702,0,0,12345"),
       [](TMainForm& f) {
         EXPECT_EQ(f.CmbRTCMBaud->ItemIndex, 1);
         EXPECT_EQ(Text(f.CmbRTCMBaud), "9600");
       }},
      {"RTCM 4800", Sentence("PQVU702,0,0,4800"),
       [](TMainForm& f) { EXPECT_EQ(Text(f.CmbRTCMBaud), "4800"); }},
      {"RTCM 9600", Sentence("PQVU702,0,0,9600"),
       [](TMainForm& f) { EXPECT_EQ(Text(f.CmbRTCMBaud), "9600"); }},
      {"version without model and SDK", Sentence("PQVU705,2.13,KORVANE"),
       [](TMainForm& f) {
         EXPECT_EQ(std::string(f.LabelVersion->Caption), "2.13");
         EXPECT_EQ(std::string(f.LabelCustomer->Caption), "KORVANE");
         EXPECT_EQ(std::string(f.Caption), "Korvane (f/w: 2.13 KORVANE)");
         EXPECT_EQ(std::string(f.StatusBar2->Panels[0].Text), "Model / SDK");
         EXPECT_EQ(std::string(f.StatusBar2->Panels[1].Text), " / ");
       }},
      {"version with model and SDK", Sentence("PQVU705,2.14,ACME,KV-32S,SDK 4.1"),
       [](TMainForm& f) {
         EXPECT_EQ(std::string(f.Caption), "Korvane (f/w: 2.14 ACME)");
         EXPECT_EQ(std::string(f.StatusBar2->Panels[1].Text), "KV-32S / SDK 4.1");
       }},
      // GLL 2, RMC 3, VTG 0, GGA 1, GSA 5, GSV 4, eleven skipped fields, ZDA 6, MCHN 7:
      // 30 + 25 + 76 + 13 + 65 + 9 + 29 = 247 bytes a fix at 3840 bytes a second.
      {"output rates", Sentence("PQVU514,2,3,0,1,5,4,0,0,0,0,0,0,0,0,0,0,0,6,7"),
       [](TMainForm& f) {
         EXPECT_EQ(Text(f.CmbGLL), "2");
         EXPECT_EQ(Text(f.CmbRMC), "3");
         EXPECT_EQ(Text(f.CmbVTG), "0");
         EXPECT_EQ(Text(f.CmbGGA), "1");
         EXPECT_EQ(Text(f.CmbGSA), "5");
         EXPECT_EQ(Text(f.CmbGSV), "4");
         EXPECT_EQ(Text(f.CmbZDA), "6");
         EXPECT_EQ(Text(f.CmbMCHN), "7");
         EXPECT_EQ(std::string(f.LabelPercent->Caption), "6.4%");
       }},
      // Fields the reply lacks leave their combo boxes alone.
      {"short output-rate reply", Sentence("PQVU514,3,4"),
       [](TMainForm& f) {
         EXPECT_EQ(Text(f.CmbGLL), "3");
         EXPECT_EQ(Text(f.CmbRMC), "4");
         EXPECT_EQ(Text(f.CmbGSV), "4");
         EXPECT_EQ(Text(f.CmbMCHN), "7");
         EXPECT_EQ(std::string(f.LabelPercent->Caption), "6.0%");
       }},
  });

  // The flash count, without the sentinel that Deliver adds after it.
  link->SendRaw(Sentence("PQVU590,7") + Release());
  EXPECT_TRUE(WaitUntil([&] {
    return std::string(form->GroupBox15->Caption) ==
           "Write setting into flash (remain  7  times to modify)";
  }));

  // With a fix the offset shows below 100 ppm and nothing from 100 ppm on.
  link->EmitCycleNow();
  link->SendRaw(Release());
  ASSERT_TRUE(WaitUntil([&] { return form->ReaderThread->FixDimension() != 0; }));
  RunTable({
      {"TCXO 1.2 ppm", Sentence("PQVU556,1,0.0000012"),
       [](TMainForm& f) { EXPECT_EQ(std::string(f.LabelTCXO->Caption), "1.2  (ppm)"); }},
      {"TCXO 150 ppm", Sentence("PQVU556,1,0.000150"),
       [](TMainForm& f) { EXPECT_EQ(std::string(f.LabelTCXO->Caption), ""); }},
  });
}

// A fix interval the list has no item for: the combo box goes empty, the line-load estimate
// of a reply step raises nothing, and the reader goes on decoding.
TEST_F(Replies, FixIntervalWithoutAnItem) {
  ConnectQuiet();
  form->StopReader();
  form->StartReader();  // a fresh reader: no fix rate known yet
  const std::string before = form->LabelPercent->Caption;
  RunTable({
      {"3000 ms on a fresh reader", Sentence("PQVU500,3000"),
       [&](TMainForm& f) {
         EXPECT_EQ(f.CmbFixRate->ItemIndex, -1);
         EXPECT_EQ(Text(f.CmbFixRate), "");
         EXPECT_EQ(std::string(f.LabelHz->Caption), "0");
         EXPECT_EQ(std::string(f.LabelPercent->Caption), before);
       }},
      {"100 ms (10 Hz)", Sentence("PQVU500,100"),
       [&](TMainForm& f) {
         EXPECT_EQ(Text(f.CmbFixRate), "");
         EXPECT_EQ(std::string(f.LabelHz->Caption), "10");
       }},
      {"200 ms after them", Sentence("PQVU500,200"),
       [&](TMainForm& f) {
         EXPECT_EQ(Text(f.CmbFixRate), "5");
         EXPECT_EQ(std::string(f.LabelPercent->Caption), "74.9%");
       }},
  });
  Pump(50);
  EXPECT_EQ(CountKind(platform::mkException), 0);
}

}  // namespace
}  // namespace consoletest

// The line-load estimate of group "rs232 bandwith": the percentage, its colour and whether
// "Confirm" may send.
#include <functional>
#include <string>

#include "console/number_format.h"
#include "tests/console/command_util.h"

namespace consoletest {
namespace {

using console::TMainForm;
using platform::TObject;

constexpr platform::TColor kRed = 0x0000FF;
constexpr platform::TColor kBlack = 0x000000;

struct LoadCase {
  const char* name;
  std::function<void(TMainForm&)> change;
  const char* shown;  // nullptr: the text is not checked
  bool red;
};

void RunLoadTable(TMainForm& form, const std::vector<LoadCase>& cases, bool confirmFollows) {
  for (const LoadCase& c : cases) {
    SCOPED_TRACE(c.name);
    c.change(form);
    if (c.shown) {
      EXPECT_EQ(std::string(form.LabelPercent->Caption), c.shown);
    }
    EXPECT_EQ(platform::TColor(form.LabelPercent->Font->Color), c.red ? kRed : kBlack);
    if (confirmFollows) {
      EXPECT_EQ(bool(form.BtnConfirm->Enabled), !c.red);
    }
  }
}

// The user's change, then the handler the control runs for it.
std::function<void(TMainForm&)> Typed(platform::TComboBox* TMainForm::*combo, const char* text,
                                      void (TMainForm::*handler)(TObject*)) {
  return [=](TMainForm& f) {
    (f.*combo)->Text = text;
    (f.*handler)(nullptr);
  };
}

std::function<void(TMainForm&)> Chosen(platform::TComboBox* TMainForm::*combo, int index,
                                       void (TMainForm::*handler)(TObject*)) {
  return [=](TMainForm& f) {
    (f.*combo)->ItemIndex = index;
    (f.*handler)(nullptr);
  };
}

void AllOff(TMainForm& f) {
  for (platform::TComboBox* c :
       {f.CmbGLL, f.CmbRMC, f.CmbVTG, f.CmbGSA, f.CmbGSV, f.CmbGGA, f.CmbZDA, f.CmbMCHN})
    c->ItemIndex = 0;
  f.CmbGLLChange(nullptr);
}

// On an open COM port "Confirm" follows the estimate: on at 100 % or less, off above.
TEST_F(CommandTest, LineLoadOnTheComPort) {
  OpenQuiet();
  RunLoadTable(
      *form,
      {
          {"layout defaults at 38400", [](TMainForm&) {}, "15.0%", false},
          {"4800 baud", Typed(&TMainForm::CmbSetBaud, "4800", &TMainForm::CmbSetBaudChange),
           "119.8%", true},
          {"38400 again", Typed(&TMainForm::CmbSetBaud, "38400", &TMainForm::CmbSetBaudChange),
           "15.0%", false},
          {"GSV every 3rd fix", Chosen(&TMainForm::CmbGSV, 3, &TMainForm::CmbGSVChange), "10.5%",
           false},
          {"MCHN every fix", Chosen(&TMainForm::CmbMCHN, 1, &TMainForm::CmbMCHNChange), "15.8%",
           false},
          {"MCHN without a chosen item counts as off",
           Chosen(&TMainForm::CmbMCHN, -1, &TMainForm::CmbMCHNChange), "10.5%", false},
          {"5 Hz", Chosen(&TMainForm::CmbFixRate, 4, &TMainForm::CmbFixRateChange), "52.5%", false},
          {"Default", [](TMainForm& f) { f.BtnDefault->Click(); }, "74.9%", false},
          {"1 Hz", Chosen(&TMainForm::CmbFixRate, 0, &TMainForm::CmbFixRateChange), "15.0%", false},
          {"all off", AllOff, "0.0%", false},
          {"a line of 0 bytes a second, nothing to carry",
           Typed(&TMainForm::CmbSetBaud, "5", &TMainForm::CmbSetBaudChange), nullptr, true},
          {"defaults on a line of 0 bytes a second", [](TMainForm& f) { f.BtnDefault->Click(); },
           nullptr, true},
          {"negative baud rate",
           Typed(&TMainForm::CmbSetBaud, "-9600", &TMainForm::CmbSetBaudChange), nullptr, true},
          {"4800 baud, 5 Hz, all off",
           [](TMainForm& f) {
             AllOff(f);
             f.CmbSetBaud->Text = "4800";
             f.CmbFixRate->ItemIndex = 4;
             f.CmbFixRateChange(nullptr);
           },
           "0.0%", false},
      },
      true);
  EXPECT_EQ(std::string(form->LabelHz->Caption), "5");

  // A text that is no number, typed by the user: the conversion error.
  form->CmbSetBaud->Text = "fast";
  EXPECT_THROW(form->CmbSetBaudChange(nullptr), console::EConvertError);
  form->CmbSetBaud->Text = "38400";
  form->CmbFixRate->Text = "";
  EXPECT_THROW(form->CmbFixRateChange(nullptr), console::EConvertError);
}

// Without a link "Confirm" stays off; over the socket the estimate turns it off but never on.
TEST_F(CommandTest, LineLoadWithoutTheComPort) {
  EXPECT_EQ(std::string(form->LabelPercent->Caption), "15.0%");
  EXPECT_FALSE(form->BtnConfirm->Enabled);
  const std::vector<LoadCase> cases = {
      {"4800 baud", Typed(&TMainForm::CmbSetBaud, "4800", &TMainForm::CmbSetBaudChange), "119.8%",
       true},
      {"38400 again", Typed(&TMainForm::CmbSetBaud, "38400", &TMainForm::CmbSetBaudChange), "15.0%",
       false},
  };
  RunLoadTable(*form, cases, false);
  EXPECT_FALSE(form->BtnConfirm->Enabled);

  ConnectQuiet();
  EXPECT_TRUE(form->BtnConfirm->Enabled);
  RunLoadTable(*form, cases, false);
  EXPECT_FALSE(form->BtnConfirm->Enabled);
}

}  // namespace
}  // namespace consoletest

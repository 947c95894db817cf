// The main window's layout, read into a bare form: controls, defaults, bindings, geometry and
// the embedded pictures.
#include "resources/main_form_layout.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QTabWidget>
#include <QWidget>
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "chart/component/chart.h"
#include "chart/series/series_registration.h"
#include "platform/vcl/vcl.h"

namespace {

// Before the first Qt object: no display is needed.
const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

using namespace platform;

// Every handler the window's controls name, control + event.
const std::vector<std::string> kHandlers = {
    "FormCreate",        "BtnHotClick",        "BtnWarmClick",         "BtnColdClick",
    "BtnFactoryClick",   "CmbBaudChange",      "BtnOpenClick",         "BtnCloseClick",
    "BtnDetectClick",    "BtnConnectClick",    "BtnDisconnectClick",   "CmbGLLChange",
    "CmbRMCChange",      "CmbVTGChange",       "CmbGSAChange",         "CmbGSVChange",
    "CmbGGAChange",      "CmbZDAChange",       "CmbMCHNChange",        "BtnDefaultClick",
    "BtnNMEAQueryClick", "BtnConfirmClick",    "CmbSetBaudChange",     "BtnSetBaudClick",
    "CmbFixRateChange",  "BtnSetFixRateClick", "BtnQueryFixRateClick", "BtnLogClick",
    "BtnLoggingClick",   "BtnDGPSQueryClick",  "BtnDGPSSetClick",      "BtnDatumQueryClick",
    "BtnDatumSetClick",  "BtnWakeUpClick",     "BtnIntegrityClick",    "BtnQIntegrityClick",
    "BtnFlashSetClick",  "BtnQFlashClick",     "BtnAuthClick",         "Btn101OpenClick",
    "Btn101CloseClick",  "BtnTestAcqClick",    "BtnTestTrackClick",    "BtnTestAllClick",
    "BtnTestStopClick",  "BtnQueryClick",      "BtnTCXOClick",         "Timer1Timer",
    "Timer2Timer",       "ShowTabExecute",     "FactoryResetExecute",  "SockConnectionExecute",
    "ShowTCXOExecute",   "ShowVersionExecute", "ChartSNRClick",        "ChartSNRDblClick",
};

// The sky plot's colours as drawn by tools/artwork/make_artwork.cpp.
constexpr TColor kCrossColor = RGB(52, 104, 80);
constexpr TColor kHorizonColor = RGB(130, 210, 160);
constexpr TColor kSkyColor = RGB(18, 42, 34);

class MainFormLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    chart::RegisterChartLayoutClasses();
    form_ = std::make_unique<TForm>(nullptr);
    form_->LoadLayout(kMainFormLayout, Bindings(kHandlers));
  }

  TLayoutBindings Bindings(const std::vector<std::string>& names) {
    TLayoutBindings b;
    for (const std::string& name : names) {
      b.Event(name, TNotifyEvent([this, name](TObject*) { calls_.push_back(name); }));
    }
    return b;
  }

  template <class T = TComponent>
  T* Find(const std::string& name) {
    T* c = dynamic_cast<T*>(form_->FindComponent(name));
    EXPECT_NE(c, nullptr) << name << " missing or not a " << typeid(T).name();
    return c;
  }

  // The one handler an event ran, or "" when it is not bound.
  std::string Fire(const TNotifyEvent& event, TObject* sender) {
    calls_.clear();
    if (!event) return "";
    event(sender);
    return calls_.size() == 1 ? calls_[0] : "?";
  }

  // Shows the window off screen so that Qt lays out the pages.
  void ShowForm() {
    form_->Show();
    Application->ProcessMessages();
  }

  // Top-left of a control in the window's client coordinates.
  QPoint InForm(const TControl* c) { return c->Widget()->mapTo(form_->Widget(), QPoint(0, 0)); }

  std::unique_ptr<TForm> form_;
  std::vector<std::string> calls_;
};

std::vector<std::string> Items(const TComboBox* c) {
  std::vector<std::string> out;
  for (int i = 0; i < c->Items->Count(); ++i) out.push_back(c->Items->Get(i));
  return out;
}

std::vector<std::string> Numbers(int from, int to, int step = 1) {
  std::vector<std::string> out;
  for (int i = from; i <= to; i += step) out.push_back(std::to_string(i));
  return out;
}

TEST_F(MainFormLayout, WindowAndPages) {
  EXPECT_EQ(form_->GetName(), "MainForm");
  EXPECT_EQ(form_->GetCaption(), "Korvane");
  EXPECT_EQ(form_->GetClientWidth(), 302);
  EXPECT_EQ(form_->GetClientHeight(), 438);
  EXPECT_EQ(form_->GetBorderStyle(), bsSingle);
  EXPECT_EQ(form_->Font->GetName(), "MS Sans Serif");
  EXPECT_EQ(form_->Font->GetSize(), 8);
  EXPECT_TRUE(form_->GetVisible());

  auto* pc = Find<TPageControl>("PageControl1");
  ASSERT_NE(pc, nullptr);
  EXPECT_EQ(pc->GetWidth(), 305);
  EXPECT_EQ(pc->GetHeight(), 473);
  struct Page {
    const char* name;
    const char* caption;
    bool tab;
  };
  const Page pages[] = {{"TabSheet1", "Status", true},   {"TabSheet2", "Setup", false},
                        {"TabSheet3", "Channel", false}, {"TabSheet4", "Test", false},
                        {"TabSheet5", "GPS-101", false}, {"TabSheet6", "About", true}};
  ASSERT_EQ(pc->PageCount(), 6);
  auto* tabs = static_cast<QTabWidget*>(pc->Widget());
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(pages[i].name);
    TTabSheet* sheet = pc->Pages(i);
    EXPECT_EQ(sheet->GetName(), pages[i].name);
    EXPECT_EQ(sheet->GetCaption(), pages[i].caption);
    EXPECT_EQ(sheet->GetTabVisible(), pages[i].tab);
    // What the user sees: the hidden pages have no tab at all.
    EXPECT_EQ(tabs->isTabVisible(i), pages[i].tab);
    EXPECT_EQ(tabs->tabText(i).toStdString(), pages[i].caption);
  }
  EXPECT_EQ(pc->GetActivePage(), pc->Pages(0));
}

TEST_F(MainFormLayout, ControlsCaptionsAndStates) {
  struct Expect {
    const char* name;
    const char* cls;
    const char* caption;  // nullptr: not checked
    bool visible;
    bool enabled;
  };
  const Expect expected[] = {
      {"Panel1", "TPanel", nullptr, true, true},
      {"ImgSV", "TImage", nullptr, true, true},
      {"ImgSVOrig", "TImage", nullptr, false, true},
      {"LabelDate", "TLabel", "", true, true},
      {"LabelTime", "TLabel", "", true, true},
      {"LabelLat", "TLabel", "", true, true},
      {"LabelLon", "TLabel", "", true, true},
      {"LabelAlt", "TLabel", "", true, true},
      {"LabelFix", "TLabel", "", true, true},
      {"LabelSpeed", "TLabel", "", true, true},
      {"LabelTrack", "TLabel", "", true, true},
      {"LabelPDOP", "TLabel", "", true, true},
      {"LabelHDOP", "TLabel", "", true, true},
      {"LabelVDOP", "TLabel", "", true, true},
      {"BtnHot", "TButton", "Hot Start", true, true},
      {"BtnWarm", "TButton", "Warm Start", true, true},
      {"BtnCold", "TButton", "Cold Start", true, true},
      {"BtnFactory", "TButton", "Factory Reset", false, true},
      {"GrpComport", "TGroupBox", "Comport", true, true},
      {"CmbCom", "TComboBox", nullptr, true, true},
      {"CmbBaud", "TComboBox", nullptr, true, true},
      {"BtnOpen", "TButton", "Open", true, true},
      {"BtnClose", "TButton", "Close", false, true},
      {"BtnDetect", "TButton", "Auto Detect", true, true},
      {"GrpSocket", "TGroupBox", "Socket", false, true},
      {"EditIP", "TEdit", nullptr, true, true},
      {"EditSocket", "TEdit", nullptr, true, true},
      {"BtnConnect", "TButton", "Connect", true, true},
      {"BtnDisconnect", "TButton", "Disconnect", false, true},
      {"StatusBar1", "TStatusBar", nullptr, true, true},
      {"StatusBar2", "TStatusBar", nullptr, true, true},
      {"CmbGLL", "TComboBox", nullptr, true, true},
      {"CmbMCHN", "TComboBox", nullptr, true, true},
      {"BtnDefault", "TButton", "Default", true, false},
      {"BtnNMEAQuery", "TButton", "Query", true, true},
      {"BtnConfirm", "TButton", "Confirm", true, false},
      {"LabelHz", "TLabel", "1", true, true},
      {"LabelPercent", "TLabel", "0.0%", true, true},
      {"BtnSetBaud", "TButton", "Set", true, true},
      {"BtnSetFixRate", "TButton", "Set", true, true},
      {"BtnQueryFixRate", "TButton", "Query", true, true},
      {"BtnLog", "TButton", "NMEA Log", true, true},
      {"BtnLogging", "TButton", "Logging ...", false, true},
      {"MemoNMEA", "TMemo", nullptr, true, true},
      {"RadioWAASEnable", "TRadioButton", "SBAS(WAAS/EGNOS/MSAS)", true, true},
      {"RadioRTCMEnable", "TRadioButton", "RTCM", true, true},
      {"RadioBothDisable", "TRadioButton", "Disable", true, true},
      {"BtnDGPSQuery", "TButton", "Query", true, true},
      {"BtnDGPSSet", "TButton", "Set", true, false},
      {"BtnDatumQuery", "TButton", "Query", true, true},
      {"BtnDatumSet", "TButton", "Set", true, true},
      {"StringGrid1", "TStringGrid", nullptr, true, true},
      {"BtnWakeUp", "TButton", "Wake Up", true, false},
      {"LabelCurrent", "TLabel", "", true, true},
      {"ChkBoxPower", "TCheckBox", "Test Mode (rapidly drop current while fix)", true, true},
      {"RadioIntegrity", "TRadioButton", "Integrity", true, true},
      {"RadioTest", "TRadioButton", "Test", true, true},
      {"BtnIntegrity", "TButton", "Set", true, true},
      {"BtnQIntegrity", "TButton", "Query", true, true},
      {"GroupBox15", "TGroupBox", "Write setting into flash (remain  0  times to modify)", true,
       true},
      {"ChkFlashProtect", "TCheckBox", "Setting write protection", true, true},
      {"BtnFlashSet", "TButton", "Set", true, true},
      {"BtnQFlash", "TButton", "Query", true, true},
      {"BtnAuth", "TButton", "Send", true, true},
      {"Btn101Open", "TButton", "Open", true, true},
      {"Btn101Close", "TButton", "Close", false, true},
      {"LabelAcqResult", "TLabel", "?", true, true},
      {"LabelTrackResult", "TLabel", "?", true, true},
      {"CmbAcqIteration", "TComboBox", nullptr, false, true},
      {"BtnAcqExport", "TButton", nullptr, false, true},
      {"CmbTrackIteration", "TComboBox", nullptr, false, true},
      {"BtnTrackExport", "TButton", nullptr, false, true},
      {"BtnTestAcq", "TButton", "Acq Only", true, true},
      {"BtnTestTrack", "TButton", "Track Only", true, true},
      {"BtnTestAll", "TButton", "Test All", true, true},
      {"BtnTestStop", "TButton", "Stop !", true, false},
      {"Image2", "TImage", nullptr, true, true},
      {"LabelVersion", "TLabel", "", true, true},
      {"LabelCustomer", "TLabel", "", true, true},
      {"BtnQuery", "TButton", "Query", true, false},
      {"GroupBox6", "TGroupBox", "TCXO", false, true},
      {"LabelTCXO", "TLabel", "", true, true},
      {"BtnTCXO", "TButton", "Query", true, true},
  };
  for (const Expect& e : expected) {
    SCOPED_TRACE(e.name);
    auto* c = Find<TControl>(e.name);
    if (!c) continue;
    EXPECT_STREQ(c->ClassName(), e.cls);
    if (e.caption) {
      EXPECT_EQ(c->GetCaption(), e.caption);
    }
    EXPECT_EQ(c->GetVisible(), e.visible);
    EXPECT_EQ(c->GetEnabled(), e.enabled);
  }

  // The fix labels sit on the panel, right-aligned, beside their fixed captions.
  const std::map<std::string, std::string> captions = {
      {"LabelDate", "Date  : "},        {"LabelTime", "Time  : "},   {"LabelLat", "Lat    : "},
      {"LabelLon", "Lon   : "},         {"LabelAlt", "Alt     : "},  {"LabelFix", "Fix Type : "},
      {"LabelSpeed", "Spd (km/hr) : "}, {"LabelTrack", "Track  : "}, {"LabelPDOP", "PDOP : "},
      {"LabelHDOP", "HDOP : "},         {"LabelVDOP", "VDOP : "}};
  auto* panel = Find<TPanel>("Panel1");
  ASSERT_NE(panel, nullptr);
  for (const auto& [name, caption] : captions) {
    SCOPED_TRACE(name);
    auto* value = Find<TLabel>(name);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->GetParent(), panel);
    EXPECT_EQ(value->GetAlignment(), taRightJustify);
    const TLabel* fixed = nullptr;
    for (int i = 0; i < panel->ControlCount(); ++i) {
      auto* l = dynamic_cast<TLabel*>(panel->Controls(i));
      if (l && l->GetCaption() == caption) fixed = l;
    }
    ASSERT_NE(fixed, nullptr) << "no label \"" << caption << "\"";
    EXPECT_EQ(fixed->GetTop(), value->GetTop());
    EXPECT_LE(fixed->GetLeft() + fixed->GetWidth(), value->GetLeft());
  }
  for (const char* name : {"Label23", "Label24"}) {
    SCOPED_TRACE(name);
    auto* l = Find<TLabel>(name);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->GetCaption().find_first_not_of(' '), std::string::npos);
    EXPECT_TRUE(l->Font->GetStyle().Contains(fsBold));
    EXPECT_TRUE(l->Font->GetStyle().Contains(fsStrikeOut));
  }

  auto* ip = Find<TEdit>("EditIP");
  auto* port = Find<TEdit>("EditSocket");
  ASSERT_TRUE(ip && port);
  EXPECT_EQ(ip->GetText(), "127.0.0.1");
  EXPECT_EQ(port->GetText(), "7005");
  EXPECT_EQ(ip->GetParent(), Find<TControl>("GrpSocket"));

  struct Radio {
    const char* name;
    bool checked;
  };
  for (const Radio& r : {Radio{"RadioWAASEnable", false}, Radio{"RadioRTCMEnable", false},
                         Radio{"RadioBothDisable", true}, Radio{"RadioIntegrity", true},
                         Radio{"RadioTest", false}}) {
    SCOPED_TRACE(r.name);
    auto* b = Find<TRadioButton>(r.name);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetChecked(), r.checked);
  }
  for (const char* name : {"ChkBoxPower", "ChkFlashProtect"}) {
    auto* b = Find<TCheckBox>(name);
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(b->GetChecked()) << name;
  }

  auto* memo = Find<TMemo>("MemoNMEA");
  ASSERT_NE(memo, nullptr);
  EXPECT_TRUE(memo->GetReadOnly());
  EXPECT_EQ(memo->GetScrollBars(), ssBoth);
  EXPECT_EQ(memo->Lines->Count(), 0);

  auto* grid = Find<TStringGrid>("StringGrid1");
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->GetColCount(), 4);
  EXPECT_EQ(grid->GetRowCount(), 33);
  EXPECT_EQ(grid->GetFixedRows(), 1);
  EXPECT_EQ(grid->GetDefaultRowHeight(), 15);
  const int widths[] = {50, 50, 50, 122};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(grid->GetColWidth(i), widths[i]) << "column " << i;

  auto* all = Find<TButton>("BtnTestAll");
  ASSERT_NE(all, nullptr);
  EXPECT_EQ(all->GetHint(), "Tracking test first, and then Acq test");
  EXPECT_TRUE(all->GetShowHint());
}

TEST_F(MainFormLayout, ComboDefaultsAndItems) {
  const std::vector<std::string> bauds = {"4800",  "9600",  "14400", "19200",
                                          "38400", "57600", "115200"};
  std::vector<std::string> coms;
  for (int i = 1; i <= 100; ++i) coms.push_back("COM" + std::to_string(i));
  struct Expect {
    const char* name;
    std::vector<std::string> items;
    int index;
    const char* text;
  };
  const Expect expected[] = {
      {"CmbCom", coms, -1, "COM1"},
      {"CmbBaud", bauds, 4, "38400"},
      {"CmbGLL", Numbers(0, 10), 1, "1"},
      {"CmbRMC", Numbers(0, 10), 1, "1"},
      {"CmbVTG", Numbers(0, 10), 1, "1"},
      {"CmbGSA", Numbers(0, 10), 1, "1"},
      {"CmbGSV", Numbers(0, 10), 1, "1"},
      {"CmbGGA", Numbers(0, 10), 1, "1"},
      {"CmbZDA", Numbers(0, 10), 0, "0"},
      {"CmbMCHN", Numbers(0, 10), -1, "0"},
      {"CmbSetBaud", bauds, -1, "38400"},
      {"CmbFixRate", Numbers(1, 5), 0, "1"},
      {"CmbRTCMBaud", bauds, 1, "9600"},
      {"Cmb101Com", coms, -1, "COM1"},
      {"Cmb101Baud", bauds, -1, "19200"},
      {"Cmb101SV", Numbers(1, 37), -1, "14"},
      {"CmbDegrade", Numbers(0, 100), -1, "40"},
      {"CmbAcqCNR", Numbers(10, 60), -1, "20"},
      {"CmbAcqTime", Numbers(10, 180, 10), -1, "60"},
      {"CmbTrackCNR", Numbers(10, 60), -1, "15"},
      {"CmbTrackDur", Numbers(10, 180, 10), -1, "30"},
  };
  for (const Expect& e : expected) {
    SCOPED_TRACE(e.name);
    auto* c = Find<TComboBox>(e.name);
    if (!c) continue;
    EXPECT_EQ(Items(c), e.items);
    EXPECT_EQ(c->GetItemIndex(), e.index);
    EXPECT_EQ(c->GetText(), e.text);
    // Typed values are allowed (a baud rate, a time-out), so every box is editable.
    EXPECT_EQ(c->GetStyle(), csDropDown);
  }
}

TEST_F(MainFormLayout, DatumList) {
  auto* c = Find<TComboBox>("CmbDatum");
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(c->Items->Count(), 223);
  EXPECT_EQ(c->GetItemIndex(), -1);
  EXPECT_EQ(c->GetText(), "(0) WGS1984 \"International\"");
  const std::map<int, std::string> spot = {
      {0, "(0) WGS1984 \"International\""},
      {2, "(2) Tokyo \"Mean For Japan;South Korea;Okinawa\""},
      {3, "(3) User \"Setting\tUser Setting\""},
      {16, "(16) Antigua Island Astro1943 \"Antigua(Leeward Islands)\""},
      {32, "(32) Astro Tern Island (FRIG) 1961 \"Tern Island\""},
      {83, "(83) Hongkong 1963 Hongkong"},
      {107, "(107) M'Poraloko \"Gabon\""},
      {173, "(173) Provisional South Chilean 1963 \"Chile (Near 53 deg S) (Hito XVIII)\""},
      {180, "(180) S-42 (Pulkovo 1942) \"Hungary\""},
      {222, "(222) Zanderij \"Suriname\""},
  };
  for (const auto& [i, text] : spot) EXPECT_EQ(c->Items->Get(i), text) << "item " << i;
  // Each item starts with its own index and carries its region in quotes (but item 83).
  for (int i = 0; i < 223; ++i) {
    const std::string item = c->Items->Get(i);
    const std::string head = "(" + std::to_string(i) + ") ";
    EXPECT_EQ(item.compare(0, head.size(), head), 0) << item;
    const auto quotes = std::count(item.begin(), item.end(), '"');
    EXPECT_EQ(quotes, i == 83 ? 0 : 2) << item;
    if (i != 83) {
      EXPECT_EQ(item.back(), '"') << item;
    }
  }
}

TEST_F(MainFormLayout, EveryHandlerIsBoundToItsControl) {
  // Each handler name is its control's name plus the event.
  std::set<std::string> fired;
  for (const std::string& h : kHandlers) {
    SCOPED_TRACE(h);
    std::string got;
    auto strip = [&h](const std::string& suffix) { return h.substr(0, h.size() - suffix.size()); };
    if (h == "FormCreate") {
      got = Fire(form_->OnCreate, form_.get());
    } else if (h.starts_with("ChartSNR")) {
      auto* c = Find<chart::TChart>("ChartSNR");
      if (c) got = Fire(h.ends_with("DblClick") ? c->OnDblClick : c->OnClick, c);
    } else if (h.ends_with("Execute")) {
      auto* a = Find<TAction>(strip("Execute"));
      if (a) got = Fire(a->OnExecute, a);
    } else if (h.ends_with("Timer") && h.starts_with("Timer")) {
      auto* t = Find<TTimer>(strip("Timer"));
      if (t) got = Fire(t->OnTimer, t);
    } else if (h.ends_with("Change")) {
      auto* c = Find<TComboBox>(strip("Change"));
      if (c) got = Fire(c->OnChange, c);
    } else if (h.ends_with("Click")) {
      auto* b = Find<TButton>(strip("Click"));
      if (b) got = Fire(b->OnClick, b);
    }
    EXPECT_EQ(got, h);
    fired.insert(got);
  }
  EXPECT_EQ(fired.size(), kHandlers.size());

  // No other event of any component is bound.
  int bound = form_->OnCreate ? 1 : 0;
  for (int i = 0; i < form_->ComponentCount(); ++i) {
    TComponent* c = form_->Components(i);
    if (auto* b = dynamic_cast<TButton*>(c)) bound += b->OnClick ? 1 : 0;
    if (auto* b = dynamic_cast<TComboBox*>(c)) bound += b->OnChange ? 1 : 0;
    if (auto* b = dynamic_cast<TEdit*>(c)) bound += b->OnChange ? 1 : 0;
    if (auto* b = dynamic_cast<TCheckBox*>(c)) bound += b->OnClick ? 1 : 0;
    if (auto* b = dynamic_cast<TRadioButton*>(c)) bound += b->OnClick ? 1 : 0;
    if (auto* b = dynamic_cast<TTimer*>(c)) bound += b->OnTimer ? 1 : 0;
    if (auto* b = dynamic_cast<TAction*>(c)) bound += b->OnExecute ? 1 : 0;
    if (auto* b = dynamic_cast<TCustomPanel*>(c))
      bound += (b->OnClick ? 1 : 0) + (b->OnDblClick ? 1 : 0);
  }
  EXPECT_EQ(bound, static_cast<int>(kHandlers.size()));
}

TEST_F(MainFormLayout, NonVisualComponents) {
  struct Act {
    const char* name;
    const char* caption;
    TShortCut shortCut;
  };
  const Act acts[] = {{"ShowTab", "Action1", scCtrl | scAlt | 'S'},
                      {"FactoryReset", "FactoryReset", scCtrl | scAlt | 'F'},
                      {"SockConnection", "SockConnection", scCtrl | scAlt | 'W'},
                      {"ShowTCXO", "ShowTCXO", scCtrl | scAlt | 'T'},
                      {"ShowVersion", "ShowVersion", scCtrl | scAlt | 'V'}};
  auto* list = Find<TActionList>("ActionList1");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->ActionCount(), 5);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(acts[i].name);
    TAction* a = list->Actions(i);
    EXPECT_EQ(a->GetName(), acts[i].name);
    EXPECT_EQ(a->Caption, acts[i].caption);
    EXPECT_EQ(a->GetShortCut(), acts[i].shortCut);
    EXPECT_TRUE(a->GetEnabled());
  }
  EXPECT_EQ(list->Actions(0)->GetShortCut(), 0xC053);

  for (const char* name : {"Timer1", "Timer2"}) {
    auto* t = Find<TTimer>(name);
    ASSERT_NE(t, nullptr);
    EXPECT_FALSE(t->GetEnabled()) << name;
    EXPECT_EQ(t->GetInterval(), 1000) << name;
  }
  auto* save = Find<TSaveDialog>("SaveDialog1");
  ASSERT_NE(save, nullptr);
  EXPECT_EQ(save->FileName, "Korvane.nma");
  EXPECT_EQ(save->Filter, "NMEA Files|*.nma|Text Files|*.txt|All Files|*.*");

  struct Bar {
    const char* name;
    TAlignment alignment;
  };
  for (const Bar& bar : {Bar{"StatusBar1", taCenter}, Bar{"StatusBar2", taLeftJustify}}) {
    SCOPED_TRACE(bar.name);
    auto* b = Find<TStatusBar>(bar.name);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->Panels.Count(), 2);
    EXPECT_EQ(b->Panels[0].GetWidth(), 100);
    EXPECT_EQ(b->Panels[1].GetWidth(), 50);
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(b->Panels[i].GetAlignment(), bar.alignment);
      EXPECT_EQ(b->Panels[i].GetText(), "");
    }
    EXPECT_EQ(b->GetAlign(), alNone);
  }
}

TEST_F(MainFormLayout, Pictures) {
  auto* sky = Find<TImage>("ImgSV");
  auto* clean = Find<TImage>("ImgSVOrig");
  auto* logo = Find<TImage>("Image2");
  ASSERT_TRUE(sky && clean && logo);
  for (TImage* img : {sky, clean}) {
    SCOPED_TRACE(img->GetName());
    ASSERT_NE(dynamic_cast<TBitmap*>(img->Picture->Graphic()), nullptr);
    EXPECT_EQ(img->Picture->Width(), 177);
    EXPECT_EQ(img->Picture->Height(), 177);
    EXPECT_EQ(img->GetWidth(), 177);
    EXPECT_EQ(img->GetHeight(), 177);
    TCanvas* canvas = img->GetCanvas();
    struct Px {
      int x, y;
      TColor color;
    };
    // Zenith, the horizon at 72 px in each direction, and open sky between the rings.
    for (const Px& p :
         {Px{90, 90, kCrossColor}, Px{162, 90, kHorizonColor}, Px{18, 90, kHorizonColor},
          Px{90, 18, kHorizonColor}, Px{90, 162, kHorizonColor}, Px{100, 80, kSkyColor},
          Px{130, 60, kSkyColor}}) {
      EXPECT_EQ(canvas->GetPixel(p.x, p.y), p.color) << p.x << "," << p.y;
    }
    // Inside the horizon only sky and grid colours; the corner is outside it.
    EXPECT_NE(canvas->GetPixel(2, 2), kSkyColor);
  }
  // The clean copy is a separate bitmap: drawing on the plot leaves it alone.
  sky->GetCanvas()->SetPixel(100, 80, clRed);
  EXPECT_EQ(clean->GetCanvas()->GetPixel(100, 80), kSkyColor);

  auto* jpeg = dynamic_cast<TJPEGImage*>(logo->Picture->Graphic());
  ASSERT_NE(jpeg, nullptr);
  EXPECT_EQ(jpeg->GetWidth(), 213);
  EXPECT_EQ(jpeg->GetHeight(), 73);
  EXPECT_TRUE(logo->GetStretch());
  EXPECT_EQ(logo->GetWidth(), 213);
  EXPECT_EQ(logo->GetHeight(), 73);
}

// Pairs that the window shows one at a time at the same place.
bool SharePlace(const std::string& a, const std::string& b) {
  static const std::set<std::pair<std::string, std::string>> pairs = {
      {"BtnClose", "BtnOpen"},       {"BtnConnect", "BtnDisconnect"}, {"BtnLog", "BtnLogging"},
      {"GrpComport", "GrpSocket"},   {"ImgSV", "ImgSVOrig"},          {"Btn101Close", "Btn101Open"},
      {"PageControl1", "StatusBar2"}};
  return pairs.count({std::min(a, b), std::max(a, b)}) > 0;
}

bool Overlap(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}
bool Overlap(const TControl* a, const TControl* b) {
  return Overlap(a->BoundsRect(), b->BoundsRect());
}

void CollectParents(TWinControl* w, std::vector<TWinControl*>& out) {
  out.push_back(w);
  for (int i = 0; i < w->ControlCount(); ++i) {
    if (auto* c = dynamic_cast<TWinControl*>(w->Controls(i))) CollectParents(c, out);
  }
}

TEST_F(MainFormLayout, GeometryNoOverlapAndInsideParents) {
  ShowForm();
  std::vector<TWinControl*> parents;
  CollectParents(form_.get(), parents);
  int checked = 0;
  for (TWinControl* parent : parents) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      TControl* a = parent->Controls(i);
      if (dynamic_cast<TTabSheet*>(a)) continue;  // the pages share the page control's area
      const std::string an = a->GetName();
      // Hidden ones too: each takes the place it will be shown at.
      for (int j = i + 1; j < parent->ControlCount(); ++j) {
        TControl* b = parent->Controls(j);
        if (SharePlace(an, b->GetName())) continue;
        EXPECT_FALSE(Overlap(a, b))
            << an << " overlaps " << b->GetName() << " on " << parent->GetName();
        ++checked;
      }
      // The page control hangs past the window's edge and StatusBar2 lies below it, by design.
      if (an == "PageControl1" || an == "StatusBar2") continue;
      EXPECT_GE(a->GetLeft(), 0) << an;
      EXPECT_GE(a->GetTop(), 0) << an;
      EXPECT_LE(a->GetLeft() + a->GetWidth(), parent->GetClientWidth()) << an;
      EXPECT_LE(a->GetTop() + a->GetHeight(), parent->GetClientHeight()) << an;
    }
  }
  EXPECT_GT(checked, 500);

  // Everything on the pages is in view at the window's normal size.
  auto* pc = Find<TPageControl>("PageControl1");
  ASSERT_NE(pc, nullptr);
  for (int p = 0; p < pc->PageCount(); ++p) {
    TTabSheet* sheet = pc->Pages(p);
    const QPoint origin = InForm(sheet);
    for (int i = 0; i < sheet->ControlCount(); ++i) {
      const TControl* c = sheet->Controls(i);
      EXPECT_LE(origin.y() + c->GetTop() + c->GetHeight(), form_->GetClientHeight())
          << c->GetName() << " is cut off at the bottom of " << sheet->GetName();
      EXPECT_LE(origin.x() + c->GetLeft() + c->GetWidth(), form_->GetClientWidth())
          << c->GetName() << " is cut off at the right of " << sheet->GetName();
    }
  }

  // The chart has its place below the sky-plot panel to itself.
  auto* status = Find<TTabSheet>("TabSheet1");
  ASSERT_NE(status, nullptr);
  const TRect chart = Bounds(0, 195, 297, 113);
  for (int i = 0; i < status->ControlCount(); ++i) {
    const bool own = status->Controls(i)->GetName() == "ChartSNR";
    EXPECT_EQ(own ? status->Controls(i)->BoundsRect() == chart
                  : !Overlap(status->Controls(i)->BoundsRect(), chart),
              true)
        << status->Controls(i)->GetName();
  }
}

TEST_F(MainFormLayout, SecondStatusBarComesIntoViewWhenTheWindowGrows) {
  ShowForm();
  auto* bar = Find<TStatusBar>("StatusBar2");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetParent(), form_.get());
  EXPECT_EQ(bar->GetLeft(), 0);
  EXPECT_EQ(bar->GetTop(), form_->GetClientHeight());
  EXPECT_EQ(bar->GetWidth(), form_->GetClientWidth());
  ASSERT_GT(bar->GetHeight(), 0);
  QWidget* window = form_->Widget();
  const QPoint inBar(150, 438 + bar->GetHeight() / 2);
  EXPECT_FALSE(window->rect().contains(inBar));

  form_->SetClientHeight(438 + bar->GetHeight());
  Application->ProcessMessages();
  ASSERT_TRUE(window->rect().contains(inBar));
  // On top of the page control, which also reaches down there.
  QWidget* hit = window->childAt(inBar);
  ASSERT_NE(hit, nullptr);
  EXPECT_TRUE(hit == bar->Widget() || bar->Widget()->isAncestorOf(hit));
}

// The longest texts the console writes into its fixed-width labels.
const std::map<std::string, std::string> kLongestTexts = {
    {"LabelDate", "2099/12/31"},
    {"LabelTime", "23:59:59.999"},
    {"LabelLat", "N   89.99999"},
    {"LabelLon", "W 179.99999"},
    {"LabelAlt", "18000.0"},
    {"LabelFix", "3D DGPS"},
    {"LabelSpeed", "999.9"},
    {"LabelTrack", "359.9"},
    {"LabelPDOP", "99.9"},
    {"LabelHDOP", "99.9"},
    {"LabelVDOP", "99.9"},
    {"LabelHz", "5"},
    {"LabelPercent", "862.5%"},
    {"LabelCurrent", "Disable"},
    {"LabelTCXO", "No Fix(Unknown)"},
    {"LabelVersion", "KV-1.02.0033 build 2025-12-08"},
    {"LabelCustomer", "Customer name of 29 letters."},
    {"LabelAcqResult", "-245"},
    {"LabelTrackResult", "-245"},
};

TEST_F(MainFormLayout, LabelsHoldTheirLongestTexts) {
  ShowForm();
  for (const auto& [name, text] : kLongestTexts) {
    auto* l = Find<TLabel>(name);
    ASSERT_NE(l, nullptr);
    EXPECT_FALSE(l->GetAutoSize()) << name;
    const QFontMetrics m(l->Widget()->font());
    EXPECT_LE(m.horizontalAdvance(QString::fromLatin1(text.c_str())), l->GetWidth())
        << name << " cuts \"" << text << "\"";
  }
}

TEST_F(MainFormLayout, ScreenshotOfStatusPage) {
  ShowForm();
  const QImage shot = form_->Widget()->grab().toImage();
  ASSERT_EQ(shot.width(), 302);
  ASSERT_EQ(shot.height(), 438);
  const std::string dir = KORVANE_BINARY_DIR;
  EXPECT_TRUE(shot.save(QString::fromStdString(dir + "/main_form_status.png")));

  // The sky plot is on screen where its control is.
  auto* sky = Find<TImage>("ImgSV");
  ASSERT_NE(sky, nullptr);
  const QPoint zenith = InForm(sky) + QPoint(90, 90);
  const QPoint horizon = InForm(sky) + QPoint(162, 90);
  EXPECT_EQ(shot.pixel(zenith) & 0xFFFFFF, 0x346850u);   // RGB(52, 104, 80)
  EXPECT_EQ(shot.pixel(horizon) & 0xFFFFFF, 0x82D2A0u);  // RGB(130, 210, 160)

  // For a person to look at: a live-looking window with the hidden things shown, and every
  // page with its tab.
  for (const auto& [name, text] : kLongestTexts) {
    if (auto* l = Find<TLabel>(name)) l->SetCaption(text);
  }
  for (const char* name : {"BtnFactory", "GrpSocket", "GroupBox6"}) {
    if (auto* c = Find<TControl>(name)) c->Show();
  }
  if (auto* c = Find<TControl>("GrpComport")) c->Hide();
  auto* bar = Find<TStatusBar>("StatusBar2");
  ASSERT_NE(bar, nullptr);
  bar->Panels[0].SetText("Model / SDK");
  form_->SetClientHeight(438 + bar->GetHeight());
  auto* pc = Find<TPageControl>("PageControl1");
  ASSERT_NE(pc, nullptr);
  for (int p = 0; p < pc->PageCount(); ++p) pc->Pages(p)->SetTabVisible(true);
  for (int p = 0; p < pc->PageCount(); ++p) {
    TTabSheet* sheet = pc->Pages(p);
    pc->SetActivePage(sheet);
    Application->ProcessMessages();
    const std::string file = dir + "/main_form_" + sheet->GetCaption() + "_shown.png";
    EXPECT_TRUE(form_->Widget()->grab().save(QString::fromStdString(file)));
  }
}

TEST_F(MainFormLayout, DamagedLayoutsAreRefused) {
  const std::string text(kMainFormLayout);
  const size_t bitmap = text.find("Picture.Data = {");
  ASSERT_NE(bitmap, std::string::npos);
  const size_t bmHeader = text.find("424D", bitmap);  // "BM"
  ASSERT_NE(bmHeader, std::string::npos);
  std::string badBitmap = text;
  badBitmap.replace(bmHeader, 4, "5858");
  std::string oddHex = text;
  oddHex.insert(bmHeader, "A");
  std::string shortData = text;
  shortData.erase(bmHeader, 200);
  struct Case {
    const char* what;
    std::string text;
  };
  const Case cases[] = {
      {"empty", ""},
      {"cut in the middle", text.substr(0, text.size() / 2)},
      {"cut inside the pictures", text.substr(0, bitmap + 400)},
      {"cut before the last end", text.substr(0, text.rfind("end"))},
      {"not a bitmap", badBitmap},
      {"odd hex digits", oddHex},
      {"picture shorter than its count", shortData},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TForm f(nullptr);
    EXPECT_THROW(f.LoadLayout(c.text, Bindings(kHandlers)), EReadError);
  }

  // Each handler the text names must be supplied.
  for (const char* missing : {"BtnOpenClick", "ShowVersionExecute", "FormCreate"}) {
    std::vector<std::string> names = kHandlers;
    names.erase(std::find(names.begin(), names.end(), missing));
    TForm f(nullptr);
    try {
      f.LoadLayout(kMainFormLayout, Bindings(names));
      ADD_FAILURE() << "read without " << missing;
    } catch (const EReadError& e) {
      EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    }
  }
}

}  // namespace

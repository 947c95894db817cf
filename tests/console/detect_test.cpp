// "Auto Detect" and the detection dialog's scan, against simulated receivers on
// pseudo-terminals that answer only at their own baud rate.
#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "detect/frm_detect.h"
#include "platform/core/registry.h"
#include "platform/core/serial.h"
#include "tests/console/console_fixture.h"

using namespace consoletest;

namespace {

const std::vector<std::string> kBauds = {"4800",  "9600",  "14400", "19200",
                                         "38400", "57600", "115200"};

std::vector<std::string> Items(platform::TCheckListBox* list) {
  std::vector<std::string> out;
  for (int i = 0; i < list->Items->Count(); ++i) out.push_back(list->Items->Get(i));
  return out;
}

std::vector<bool> Ticks(platform::TCheckListBox* list) {
  std::vector<bool> out;
  for (int i = 0; i < list->Items->Count(); ++i) out.push_back(list->Checked[i]);
  return out;
}

std::vector<std::uint32_t> Bauds(const std::vector<sim::SpeedChange>& changes) {
  std::vector<std::uint32_t> out;
  for (const auto& c : changes) out.push_back(c.baud);
  return out;
}

class DetectTest : public ConsoleTest {
 protected:
  void SetUp() override {
    ConsoleTest::SetUp();
    platform::SetRegistryRealDevicesHidden(true);
    platform::RegistryClearTestValues();
    dialog = new detect::TFrmDetect(platform::Application);
    dialog->AfterConstruction();
  }
  void TearDown() override {
    // The window first: it stops its reader, which reads the dialog's flag.
    ConsoleTest::TearDown();
    delete dialog;
    for (auto& l : links) l->Stop();
    for (const std::string& name : mapped) platform::SetComNameOverride(name, "");
    platform::RegistryClearTestValues();
    platform::SetRegistryRealDevicesHidden(false);
  }

  void ListPort(const std::string& com) {
    platform::RegistryAddTestValue("\\Device\\ttyKV" + std::to_string(mapped.size()), REG_SZ, com);
  }
  // A port in the registry that names a device that does not exist.
  void AddMissingPort(const std::string& com) {
    ListPort(com);
    MapPort(com, "/dev/korvane-no-such-port");
  }
  // A receiver on a pty, listed as com, that answers only when opened at baud.
  sim::Link* AddReceiverPort(const std::string& com, int baud) {
    sim::SimReceiver model;
    sim::Settings settings = model.CurrentSettings();
    settings.baud = baud;
    model.SetSettings(settings);
    sim::LinkOptions options;
    options.period_ms = 100;
    options.match_line_speed = true;
    links.push_back(std::make_unique<sim::Link>(model, options));
    std::string error;
    EXPECT_TRUE(links.back()->StartPty(&error)) << error;
    ListPort(com);
    MapPort(com, links.back()->SlavePath());
    return links.back().get();
  }
  void MapPort(const std::string& com, const std::string& path) {
    platform::SetComNameOverride(com, path);
    mapped.push_back(com);
  }
  // Auto Detect, then every listed port and exactly these baud rates ticked.
  void PrepareScan(const std::vector<std::string>& bauds, const std::string& detectMs) {
    form->BtnDetect->Click();
    ASSERT_TRUE(dialog->Visible);
    dialog->Button3->Click();
    dialog->BtnBaudNone->Click();
    for (int i = 0; i < dialog->CheckListBox1->Items->Count(); ++i)
      for (const std::string& b : bauds)
        if (dialog->CheckListBox1->Items->Get(i) == b) dialog->CheckListBox1->Checked[i] = true;
    dialog->EditDetectTime->Text = detectMs;
  }

  detect::TFrmDetect* dialog = nullptr;
  std::vector<std::unique_ptr<sim::Link>> links;
  std::vector<std::string> mapped;
};

TEST_F(DetectTest, DialogLayoutAndTickButtons) {
  EXPECT_EQ(detect::FrmDetect, dialog);
  EXPECT_EQ(form->ScanningFlag, &dialog->Scanning);
  EXPECT_EQ(dialog->Scanning.load(), 0);
  EXPECT_FALSE(dialog->Visible) << "created hidden";
  EXPECT_EQ(std::string(dialog->Caption), "NMEA Comport");
  EXPECT_EQ(dialog->BorderStyle(), platform::bsDialog);
  EXPECT_EQ(dialog->ClientWidth, 301);
  EXPECT_EQ(dialog->ClientHeight, 388);
  EXPECT_EQ(std::string(dialog->GroupBox1->Caption), "ComPort");
  EXPECT_EQ(std::string(dialog->GroupBox2->Caption), "Baudrate");
  EXPECT_EQ(std::string(dialog->GroupBox3->Caption), "Detect Time");
  EXPECT_EQ(dialog->CheckListBox2->Parent(), dialog->GroupBox1);
  EXPECT_EQ(dialog->CheckListBox1->Parent(), dialog->GroupBox2);
  EXPECT_EQ(dialog->EditDetectTime->Parent(), dialog->GroupBox3);
  EXPECT_EQ(Items(dialog->CheckListBox1), kBauds);
  EXPECT_EQ(dialog->CheckListBox1->Columns, 2);
  EXPECT_EQ(std::string(dialog->EditDetectTime->Text), "2000");
  EXPECT_EQ(std::string(dialog->Label1->Caption), "ms");
  struct Caption {
    platform::TButton* button;
    const char* text;
  };
  for (const Caption& c : {Caption{dialog->Button3, "Select All"},
                           {dialog->Button4, "None"},
                           {dialog->BtnBaudAll, "Select All"},
                           {dialog->BtnBaudNone, "None"},
                           {dialog->BtnScan, "Scan"},
                           {dialog->BtnNoScan, "Cancel"}}) {
    EXPECT_EQ(std::string(c.button->Caption), c.text);
  }

  for (const char* p : {"COM1", "COM2", "COM3"}) dialog->CheckListBox2->Items->Add(p);
  struct Case {
    platform::TButton* button;
    platform::TCheckListBox* list;
    bool ticked;
  };
  for (const Case& c : {Case{dialog->Button3, dialog->CheckListBox2, true},
                        {dialog->Button4, dialog->CheckListBox2, false},
                        {dialog->BtnBaudAll, dialog->CheckListBox1, true},
                        {dialog->BtnBaudNone, dialog->CheckListBox1, false}}) {
    c.list->Checked[0] = !c.ticked;
    c.button->Click();
    EXPECT_EQ(Ticks(c.list), std::vector<bool>(c.list->Items->Count(), c.ticked))
        << std::string(c.button->Name);
  }
  dialog->Show();
  platform::Application->ProcessMessages();
  QImage shot = dialog->Widget()->grab().toImage();
  EXPECT_EQ(shot.width(), 301);
  EXPECT_EQ(shot.height(), 388);
  shot.save(QString::fromStdString(std::string(KORVANE_BINARY_DIR) + "/detect_dialog.png"));
  dialog->BtnNoScan->Click();
  EXPECT_FALSE(dialog->Visible);
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(DetectTest, AutoDetectFillsTheDialog) {
  struct Case {
    const char* what;
    std::vector<std::string> data;
    std::vector<std::string> items;  // empty with a message: the dialog stays hidden
    std::string message;
  };
  const std::vector<std::string> many(300, "COM5");
  const Case cases[] = {
      {"sorted, first ticked", {"COM36", "COM1", "COM12"}, {"COM1", "COM12", "COM36"}, ""},
      {"one port", {"COM7"}, {"COM7"}, ""},
      {"COM alone names no device", {"COM", "COM5"}, {"COM5"}, ""},
      {"no port at all", {}, {}, "Detect ComPort Fail : 1"},
      {"more ports than the list holds", many, {}, "Detect ComPort Fail : 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::RegistryClearTestValues();
    for (size_t i = 0; i < c.data.size(); ++i)
      platform::RegistryAddTestValue("\\Device\\Serial" + std::to_string(i), REG_SZ, c.data[i]);
    // Leftovers of an earlier run, and wrong baud ticks, that the click must replace.
    dialog->Hide();
    dialog->CheckListBox2->Items->Add("COM99");
    dialog->CheckListBox2->Checked[0] = true;
    dialog->BtnBaudAll->Click();
    dialog->CheckListBox1->Checked[0] = false;

    form->BtnDetect->Click();
    platform::Application->ProcessMessages();
    EXPECT_EQ(Items(dialog->CheckListBox2), c.items);
    if (!c.message.empty()) {
      EXPECT_EQ(TakeMessages(), std::vector<std::string>{c.message});
      EXPECT_FALSE(dialog->Visible);
      continue;
    }
    EXPECT_TRUE(TakeMessages().empty());
    std::vector<bool> ports(c.items.size(), false);
    ports[0] = true;
    EXPECT_EQ(Ticks(dialog->CheckListBox2), ports);
    EXPECT_EQ(Ticks(dialog->CheckListBox1),
              (std::vector<bool>{true, true, false, false, true, false, true}));
    EXPECT_TRUE(dialog->Visible);
    EXPECT_EQ(dialog->Left, form->Left());
    EXPECT_EQ(dialog->Top, form->Top() + 50);
  }
}

TEST_F(DetectTest, ScanFindsTheReceiverAtItsBaudRate) {
  sim::Link* silent = AddReceiverPort("COM3", 4800);
  sim::Link* receiver = AddReceiverPort("COM7", 38400);
  PrepareScan({"9600", "38400"}, "300");
  ASSERT_EQ(Items(dialog->CheckListBox2), (std::vector<std::string>{"COM3", "COM7"}));

  dialog->BtnScan->Click();

  EXPECT_FALSE(dialog->Visible);
  EXPECT_EQ(dialog->Scanning.load(), 0);
  EXPECT_NE(form->ComHandle.load(), 0);
  EXPECT_EQ(std::string(form->CmbCom->Text), "COM7");
  EXPECT_EQ(std::string(form->CmbBaud->Text), "38400");
  EXPECT_TRUE(form->BtnClose->Visible);
  EXPECT_TRUE(TakeMessages().empty()) << "no message during or after the scan";
  // Opened while scanning: no start-up queries went to either port.
  EXPECT_EQ(receiver->Received(), "");
  EXPECT_EQ(silent->Received(), "");
  // The tries in order: COM3 at 9600 then 38400, then COM7 at 9600 then 38400 (the scan stops
  // at the receiver, so COM3 tried at all was tried first). Each pty starts at 38400, which the
  // receiver's thread may or may not see before the first try.
  ASSERT_TRUE(WaitUntil([&] { return receiver->LineSpeeds().size() >= 2; }));
  const auto silentSpeeds = silent->LineSpeeds();
  const auto receiverSpeeds = receiver->LineSpeeds();
  auto tries = [](const auto& speeds) {
    std::vector<std::uint32_t> v = Bauds(speeds);
    if (v.size() == 3 && v[0] == 38400) v.erase(v.begin());
    return v;
  };
  EXPECT_EQ(tries(silentSpeeds), (std::vector<std::uint32_t>{9600, 38400}));
  EXPECT_EQ(tries(receiverSpeeds), (std::vector<std::uint32_t>{9600, 38400}));

  // The link is the receiver's, and the display runs again.
  ASSERT_TRUE(WaitUntil([&] { return form->MemoNMEA->Lines->Count() > 0; }));
  form->SendVersionQuery();
  EXPECT_TRUE(receiver->WaitReceived(
      [](const std::string& r) { return r.find("$PQVU605*31\r\n") != std::string::npos; }, 2000ms));
  EXPECT_EQ(silent->Received(), "");
}

TEST_F(DetectTest, ScanClosesAnOpenPortFirst) {
  sim::Link* receiver = AddReceiverPort("COM7", 38400);
  PrepareScan({"38400"}, "300");
  // With the dialog up, the user opens the receiver's port at the wrong rate.
  form->CmbCom->Text = "COM7";
  form->CmbBaud->Text = "9600";
  form->BtnOpen->Click();
  const HANDLE first = form->ComHandle.load();
  ASSERT_NE(first, 0);
  TakeMessages();
  dialog->BtnScan->Click();
  // The same device opened again: only possible once the first handle is closed.
  EXPECT_NE(form->ComHandle.load(), 0);
  EXPECT_NE(form->ComHandle.load(), first);
  EXPECT_EQ(dialog->Scanning.load(), 0);
  EXPECT_EQ(receiver->LineSpeeds().back().baud, 38400u);
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(DetectTest, UnsuccessfulScanClearsScanning) {
  AddReceiverPort("COM3", 4800);
  AddMissingPort("COM9");
  PrepareScan({"9600", "115200"}, "50");
  dialog->BtnScan->Click();
  platform::Application->ProcessMessages();
  EXPECT_EQ(dialog->Scanning.load(), 0);
  EXPECT_EQ(form->ComHandle.load(), 0) << "the last combination is closed";
  EXPECT_EQ(form->ReaderThread, nullptr);
  EXPECT_TRUE(TakeMessages().empty()) << "failed opens are silent while scanning";
  // Open errors are shown again.
  form->CmbCom->Text = "/dev/korvane-no-such-port";
  form->BtnOpen->Click();
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Can't Open ComPort!!"});
}

TEST_F(DetectTest, BadDetectTimeOpensNothing) {
  sim::Link* receiver = AddReceiverPort("COM7", 9600);
  for (const char* text : {"-1", "x", "", "1.5", "99999999999"}) {
    SCOPED_TRACE(text);
    PrepareScan({"9600"}, text);
    lines.clear();
    dialog->BtnScan->Click();
    EXPECT_TRUE(lines.empty()) << "the scan waited or wrote";
    platform::Application->ProcessMessages();
    EXPECT_EQ(TakeMessages().size(), 1u) << "one conversion error";
    EXPECT_EQ(dialog->Scanning.load(), 0);
    EXPECT_EQ(form->ComHandle.load(), 0);
    EXPECT_TRUE(dialog->Visible);
  }
  Pump(60);
  for (std::uint32_t baud : Bauds(receiver->LineSpeeds()))
    EXPECT_EQ(baud, 38400u) << "the port was never set up";
  // The window still answers.
  form->CmbCom->Text = "/dev/korvane-no-such-port";
  form->BtnOpen->Click();
  EXPECT_EQ(TakeMessages(), std::vector<std::string>{"Can't Open ComPort!!"});
}

TEST_F(DetectTest, ScanDoesNothingWhileTheSocketIsConnected) {
  sim::Link* port = AddReceiverPort("COM7", 9600);
  StartTcpReceiver();
  Connect();
  PrepareScan({"9600"}, "50");
  dialog->BtnScan->Click();
  Pump(60);
  EXPECT_EQ(form->ComHandle.load(), 0);
  EXPECT_TRUE(form->UseSocket.load());
  EXPECT_EQ(dialog->Scanning.load(), 0);
  EXPECT_EQ(Bauds(port->LineSpeeds()), std::vector<std::uint32_t>{38400}) << "never opened";
  EXPECT_TRUE(TakeMessages().empty());
}

}  // namespace

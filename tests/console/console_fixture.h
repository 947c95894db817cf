// The main window against the simulated receiver: Qt offscreen, every modal box recorded and
// answered, the window's steps run by pumping the event loop.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console/main_form.h"
#include "platform/core/line_trace.h"
#include "platform/core/thread.h"
#include "platform/vcl/vcl.h"
#include "tools/simreceiver/sim_link.h"

namespace consoletest {

using namespace std::chrono_literals;

inline const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

// Handles events until pred holds or the time is up; returns pred().
inline bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred() && std::chrono::steady_clock::now() < end) {
    platform::Application->ProcessMessages();
    platform::CheckSynchronize(2);
  }
  return pred();
}

// Handles events for a while.
inline void Pump(int ms) {
  WaitUntil([] { return false; }, ms);
}

class ConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Application->Initialize();
    platform::Application->SetModalResponder([this](platform::TModalRequest& r) {
      boxes.push_back(r);
      if (r.Kind == platform::mkSaveDialog) {
        if (saveAs.empty()) return 0;
        r.FileName = saveAs;
        return 1;
      }
      if (r.Kind == platform::mkMessageBox) return answer;
      return platform::IDOK;
    });
    form = new console::TMainForm(platform::Application);
    form->AfterConstruction();
    platform::Application->ProcessMessages();
    platform::SetLineTrace([this](const platform::LineEvent& e) { lines.push_back(e); });
  }
  void TearDown() override {
    platform::SetLineTrace(nullptr);
    delete form;
    form = nullptr;
    platform::CheckSynchronize(0);
    if (link) link->Stop();
    platform::Application->SetModalResponder(nullptr);
  }

  // A simulated receiver on a pseudo-terminal; no cycles until the test emits them.
  void StartPtyReceiver(bool autoCycles = false, int periodMs = 1000) {
    sim::LinkOptions options;
    options.auto_cycles = autoCycles;
    options.period_ms = periodMs;
    link = std::make_unique<sim::Link>(sim::SimReceiver(), options);
    std::string error;
    ASSERT_TRUE(link->StartPty(&error)) << error;
  }
  void StartTcpReceiver(bool autoCycles = false) {
    sim::LinkOptions options;
    options.auto_cycles = autoCycles;
    link = std::make_unique<sim::Link>(sim::SimReceiver(), options);
    std::string error;
    ASSERT_TRUE(link->StartTcp(0, &error)) << error;
  }
  // Opens the COM link on the receiver's pseudo-terminal, as a user typing its path.
  void OpenPort() {
    form->CmbCom->Text = link->SlavePath();
    form->BtnOpen->Click();
    ASSERT_NE(form->ComHandle.load(), 0);
  }
  void Connect() {
    form->EditIP->Text = "127.0.0.1";
    form->EditSocket->Text = std::to_string(link->Port());
    form->BtnConnect->Click();
    ASSERT_TRUE(WaitUntil([&] { return form->UseSocket.load(); }));
  }
  // Messages shown since the last call.
  std::vector<std::string> TakeMessages() {
    std::vector<std::string> out;
    for (const auto& b : boxes)
      if (b.Kind == platform::mkMessage || b.Kind == platform::mkMessageBox ||
          b.Kind == platform::mkException)
        out.push_back(b.Text);
    boxes.clear();
    return out;
  }

  console::TMainForm* form = nullptr;
  std::unique_ptr<sim::Link> link;
  // The window's writes, sends and Sleeps, as it made them; tests clear it before an action.
  std::vector<platform::LineEvent> lines;
  std::vector<platform::TModalRequest> boxes;
  std::string saveAs;
  int answer = platform::IDYES;
};

}  // namespace consoletest

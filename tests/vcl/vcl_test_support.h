// Shared by the layer's tests: Qt runs offscreen, and every modal box is answered by a
// responder, so that no test shows a window or waits for a person.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <functional>

#include "platform/core/thread.h"
#include "platform/vcl/vcl.h"

namespace vcltest {

// Before the first Qt object: no display is needed.
inline const bool kOffscreen = (setenv("QT_QPA_PLATFORM", "offscreen", 1), true);

inline int DefaultAnswer(platform::TModalRequest& r) {
  switch (r.Kind) {
    case platform::mkMessageBox:
      return platform::IDOK;
    case platform::mkForm:
      return platform::mrCancel;
    case platform::mkSaveDialog:
      return 0;
    default:
      return platform::IDOK;
  }
}

inline void ProcessEvents(int rounds = 5) {
  for (int i = 0; i < rounds; ++i) platform::Application->ProcessMessages();
}

// Handles events until pred holds or timeoutMs has passed; returns pred().
inline bool WaitUntil(const std::function<bool()>& pred, int timeoutMs = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred() && std::chrono::steady_clock::now() < end) {
    platform::Application->ProcessMessages();
    platform::Sleep(1);
  }
  return pred();
}

class VclTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Application->Initialize();
    platform::Application->SetModalResponder(DefaultAnswer);
    ProcessEvents();
    platform::Application->ClearModalLog();
  }
  void TearDown() override {
    ProcessEvents();
    platform::Application->SetModalResponder(DefaultAnswer);
  }
  static const std::vector<platform::TModalRequest>& Log() {
    return platform::Application->ModalLog();
  }
};

}  // namespace vcltest

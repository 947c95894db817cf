// The save dialog. Execute goes through the application's modal responder when one is set.
#pragma once

#include <string>

#include "platform/vcl/component.h"
#include "platform/vcl/geometry.h"

namespace platform {

enum TOpenOption {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofShowHelp,
  ofNoValidate,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofShareAware,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate,
  ofNoNetworkButton,
  ofNoLongNames,
  ofOldStyleDialog,
  ofNoDereferenceLinks,
  ofEnableIncludeNotify,
  ofEnableSizing
};
using TOpenOptions = TSet<TOpenOption>;

class TSaveDialog : public TComponent {
 public:
  explicit TSaveDialog(TComponent* Owner) : TComponent(Owner) {}
  const char* ClassName() const override { return "TSaveDialog"; }

  // Proposed before Execute, chosen after it.
  std::string FileName;
  // "Description|pattern|Description|pattern", e.g. "NMEA Files|*.nma|All Files|*.*".
  std::string Filter;
  int FilterIndex = 1;  // 1-based
  std::string DefaultExt;
  std::string InitialDir;
  std::string Title;
  // Only ofOverwritePrompt changes anything: without it the dialog does not ask about
  // replacing an existing file.
  TOpenOptions Options{ofHideReadOnly, ofEnableSizing};

  // True when the user chose a file (FileName then holds it).
  bool Execute();
};

}  // namespace platform

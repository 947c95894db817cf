// The colour dialog. Execute goes through the application's modal responder when one is set.
#pragma once

#include <string>
#include <vector>

#include "platform/vcl/colors.h"
#include "platform/vcl/component.h"

namespace platform {

class TColorDialog : public TComponent {
 public:
  explicit TColorDialog(TComponent* Owner) : TComponent(Owner) {}
  const char* ClassName() const override { return "TColorDialog"; }

  // Proposed before Execute, chosen after it.
  TColor Color = clBlack;
  // The sixteen custom colours as "ColorA=BBGGRR" ... "ColorP=BBGGRR" (hexadecimal colour
  // values); entries of another form are ignored. Filled with all sixteen after Execute.
  std::vector<std::string> CustomColors;

  // True when the user chose a colour (Color and CustomColors then hold the choice); a
  // cancelled dialog changes neither.
  bool Execute();
};

// Custom colour entries: the slot (0-15) and colour of one, false when it is not one.
bool ParseCustomColor(const std::string& entry, int& slot, TColor& color);
std::string FormatCustomColor(int slot, TColor color);

}  // namespace platform

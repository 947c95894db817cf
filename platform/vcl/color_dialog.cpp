#include "platform/vcl/color_dialog.h"

#include <QColorDialog>
#include <algorithm>
#include <charconv>

#include "platform/vcl/application.h"
#include "platform/vcl/qt_bridge.h"

namespace platform {

namespace {

constexpr int kSlots = 16;

}  // namespace

bool ParseCustomColor(const std::string& entry, int& slot, TColor& color) {
  // "ColorA=" and one to six hexadecimal digits.
  if (entry.size() < 8 || entry.size() > 13 || entry.compare(0, 5, "Color") != 0 || entry[6] != '=')
    return false;
  const char letter = entry[5];
  if (letter < 'A' || letter >= 'A' + kSlots) return false;
  unsigned value = 0;
  const char* first = entry.data() + 7;
  const char* last = entry.data() + entry.size();
  const auto [end, ec] = std::from_chars(first, last, value, 16);
  if (ec != std::errc() || end != last || value > 0xFFFFFF) return false;
  slot = letter - 'A';
  color = static_cast<TColor>(value);
  return true;
}

std::string FormatCustomColor(int slot, TColor color) {
  char digits[8];
  const auto [end, ec] =
      std::to_chars(digits, digits + sizeof digits, static_cast<unsigned>(color) & 0xFFFFFFu, 16);
  (void)ec;
  std::string hex(digits, end);
  for (char& c : hex) c = static_cast<char>(c >= 'a' ? c - 'a' + 'A' : c);
  std::string out = "Color";
  out += static_cast<char>('A' + std::clamp(slot, 0, kSlots - 1));
  out += '=';
  out.append(6 - std::min<size_t>(6, hex.size()), '0');
  out += hex;
  return out;
}

bool TColorDialog::Execute() {
  TModalRequest request;
  request.Kind = mkColorDialog;
  request.Color = Color;
  request.CustomColors = CustomColors;
  const int chosen = Application->RunModal(request, [&]() -> int {
    for (const std::string& entry : CustomColors) {
      int slot = 0;
      TColor c = 0;
      if (ParseCustomColor(entry, slot, c)) QColorDialog::setCustomColor(slot, qt::Color(c));
    }
    QColorDialog dialog(qt::Color(Color));
    if (dialog.exec() != QDialog::Accepted) return 0;
    request.Color = qt::FromQColor(dialog.selectedColor());
    request.CustomColors.clear();
    for (int i = 0; i < kSlots; ++i)
      request.CustomColors.push_back(
          FormatCustomColor(i, qt::FromQColor(QColorDialog::customColor(i))));
    return 1;
  });
  if (!chosen) return false;
  Color = request.Color;
  CustomColors = request.CustomColors;
  return true;
}

}  // namespace platform

// The one place colours are resolved: named colours by identifier and system colours through
// one fixed table.
#include <strings.h>

#include "platform/gdi/types.h"

namespace platform {

namespace {

struct NamedColor {
  const char* name;
  TColor color;
};

constexpr NamedColor kNamedColors[] = {
    {"clBlack", clBlack},
    {"clMaroon", clMaroon},
    {"clGreen", clGreen},
    {"clOlive", clOlive},
    {"clNavy", clNavy},
    {"clPurple", clPurple},
    {"clTeal", clTeal},
    {"clGray", clGray},
    {"clSilver", clSilver},
    {"clRed", clRed},
    {"clLime", clLime},
    {"clYellow", clYellow},
    {"clBlue", clBlue},
    {"clFuchsia", clFuchsia},
    {"clAqua", clAqua},
    {"clWhite", clWhite},
    {"clLtGray", clLtGray},
    {"clDkGray", clDkGray},
    {"clMoneyGreen", clMoneyGreen},
    {"clSkyBlue", clSkyBlue},
    {"clCream", clCream},
    {"clMedGray", clMedGray},
    {"clScrollBar", clScrollBar},
    {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu},
    {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText},
    {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder},
    {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace},
    {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace},
    {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText},
    {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow},
    {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk},
    {"clNone", clNone},
    {"clDefault", clDefault},
};

// The system colours of a classic light grey desktop, by index, as 0x00BBGGRR. One fixed table,
// so that drawings look the same on every machine.
constexpr TColor kSystemColors[] = {
    0xC8C8C8,  // clScrollBar
    0x000000,  // clBackground
    0xD1B499,  // clActiveCaption
    0xDBCDBF,  // clInactiveCaption
    0xF0F0F0,  // clMenu
    0xFFFFFF,  // clWindow
    0x646464,  // clWindowFrame
    0x000000,  // clMenuText
    0x000000,  // clWindowText
    0x000000,  // clCaptionText
    0xB4B4B4,  // clActiveBorder
    0xFCF7F4,  // clInactiveBorder
    0xABABAB,  // clAppWorkSpace
    0xFF9933,  // clHighlight
    0xFFFFFF,  // clHighlightText
    0xF0F0F0,  // clBtnFace
    0xA0A0A0,  // clBtnShadow
    0x6D6D6D,  // clGrayText
    0x000000,  // clBtnText
    0x544E43,  // clInactiveCaptionText
    0xFFFFFF,  // clBtnHighlight
    0x696969,  // cl3DDkShadow
    0xE3E3E3,  // cl3DLight
    0x000000,  // clInfoText
    0xE1FFFF,  // clInfoBk
    0xB5B5B5,  // (unused)
    0xCC6600,  // clHotLight
    0xEAD1B9,  // clGradientActiveCaption
    0xF2E4D7,  // clGradientInactiveCaption
    0xFF9933,  // clMenuHighlight
    0xF0F0F0,  // clMenuBar
};

}  // namespace

bool IdentToColor(const std::string& ident, TColor& color) {
  for (const NamedColor& n : kNamedColors) {
    if (strcasecmp(n.name, ident.c_str()) == 0) {
      color = n.color;
      return true;
    }
  }
  return false;
}

TColor ColorToRGB(TColor color) {
  const auto u = static_cast<std::uint32_t>(color);
  if ((u & 0xFF000000u) != 0xFF000000u && (u & 0xFF000000u) != 0x80000000u) return color;
  const std::uint32_t index = u & 0xFFu;
  constexpr std::uint32_t count = sizeof(kSystemColors) / sizeof(kSystemColors[0]);
  return index < count ? kSystemColors[index] : clBlack;
}

}  // namespace platform

// The one place colours are resolved: named colours by identifier and system colours through
// the desktop palette.
#include <strings.h>

#include <QGuiApplication>
#include <QPalette>

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

// The desktop palette role of each system colour index.
QPalette::ColorRole SystemRole(int index, QPalette::ColorGroup& group) {
  group = QPalette::Active;
  switch (index) {
    case 5:
      return QPalette::Base;
    case 7:
    case 8:
    case 18:
      return QPalette::WindowText;
    case 9:
    case 14:
      return QPalette::HighlightedText;
    case 13:
    case 2:
      return QPalette::Highlight;
    case 16:
      return QPalette::Dark;
    case 17:
      group = QPalette::Disabled;
      return QPalette::WindowText;
    case 20:
      return QPalette::Light;
    case 21:
      return QPalette::Shadow;
    case 22:
      return QPalette::Midlight;
    case 23:
      return QPalette::ToolTipText;
    case 24:
      return QPalette::ToolTipBase;
    default:
      return QPalette::Window;
  }
}

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
  if (!QGuiApplication::instance()) return (u & 0xFF) == 5 ? clWhite : clSilver;
  QPalette::ColorGroup group;
  const QPalette::ColorRole role = SystemRole(static_cast<int>(u & 0xFF), group);
  const QColor c = QGuiApplication::palette().color(group, role);
  return RGB(c.red(), c.green(), c.blue());
}

}  // namespace platform

// Published properties of the base classes and the drawing tools.
#include "platform/vcl/graphics.h"
#include "platform/vcl/picture.h"
#include "platform/vcl/published_helpers.h"
#include "platform/vcl/string_list.h"

namespace platform {

using namespace published;

namespace {

struct Charset {
  const char* name;
  int value;
};
constexpr Charset kCharsets[] = {
    {"ANSI_CHARSET", 0},      {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},      {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},   {"GB2312_CHARSET", 134},   {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},   {"TURKISH_CHARSET", 162},  {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},  {"ARABIC_CHARSET", 178},   {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},     {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
};

}  // namespace

void RegisterGraphicsClasses() {
  RegisterClass("TPersistent", "");
  RegisterClass("TComponent", "TPersistent")
      .Value<TComponent>("Tag", [](TComponent& c, const TLayoutValue& v) { c.Tag = v.AsInteger(); })
      // Design-time positions of non-visual components.
      .Ignore("Left")
      .Ignore("Top");

  RegisterClass("TFont", "TPersistent")
      .Value<TFont>("Name", Str(&TFont::SetName))
      .Value<TFont>("Size", Int(&TFont::SetSize))
      .Value<TFont>("Height", Int(&TFont::SetHeight))
      .Value<TFont>("Color", Color(&TFont::SetColor))
      .Value<TFont>("Style", Set<TFontStyle>(&TFont::SetStyle,
                                             {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}))
      .Value<TFont>("Charset",
                    [](TFont& f, const TLayoutValue& v) {
                      if (v.ValueKind == TLayoutValue::vkInteger) {
                        f.SetCharset(v.AsInteger());
                        return;
                      }
                      const std::string& name = v.AsIdent();
                      for (const Charset& c : kCharsets) {
                        if (name == c.name) {
                          f.SetCharset(c.value);
                          return;
                        }
                      }
                      throw EReadError("unknown character set " + name);
                    })
      .Ignore("Pitch");

  RegisterClass("TPen", "TPersistent")
      .Value<TPen>("Color", Color(&TPen::SetColor))
      .Value<TPen>("Width", Int(&TPen::SetWidth))
      .Value<TPen>("Style",
                   Enum<TPenStyle>(&TPen::SetStyle, {"psSolid", "psDash", "psDot", "psDashDot",
                                                     "psDashDotDot", "psClear", "psInsideFrame"}));
  RegisterClass("TBrush", "TPersistent")
      .Value<TBrush>("Color", Color(&TBrush::SetColor))
      .Value<TBrush>("Style",
                     Enum<TBrushStyle>(&TBrush::SetStyle,
                                       {"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                        "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"}));

  RegisterClass("TStrings", "TPersistent")
      .Value<TStrings>("Strings", [](TStrings& s, const TLayoutValue& v) {
        const auto& items = v.AsList();
        std::vector<std::string> lines;
        for (const TLayoutValue& item : items) lines.push_back(item.AsString());
        s.Clear();
        for (const std::string& line : lines) s.Add(line);
      });

  RegisterClass("TPicture", "TPersistent")
      .Value<TPicture>("Data",
                       [](TPicture& p, const TLayoutValue& v) { p.ReadData(v.AsBinary()); });
}

}  // namespace platform

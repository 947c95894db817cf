// Reading the HTML text renderer's mark-up: attributes, numbers, colours, entities, and the
// FONT tag applied to a font. Malformed mark-up raises HtmlParserException.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/types.h"

namespace platform {
class TFont;
}

namespace chart::html {

// Font sizes stay within this many points either way, so that no mark-up asks the platform
// for a font of absurd size.
constexpr int kMaxFontSize = 1000;

std::string Upper(std::string_view text);
std::string_view Trim(std::string_view text);
// One pair of surrounding double quotes removed.
std::string_view Unquote(std::string_view text);
// "&lt;", "&gt;", "&amp;" and "&quot;" read in one pass, so "&amp;lt;" stays "&lt;".
std::string DecodeEntities(std::string_view text);
// A whole decimal integer with an optional sign; false for anything else.
bool ReadInt(std::string_view text, long long& value);

struct Attribute {
  std::string Name;   // upper case
  std::string Value;  // trimmed, case kept
};
// "name=value name2=value2": each value runs to the last blank before the next "=".
std::vector<Attribute> ReadAttributes(std::string_view text);

// The colour names BLACK, RED, BLUE, YELLOW, WHITE, GREEN, LIME, "#RRGGBB", the platform's colour
// names (with or without their "cl") and decimal numbers.
platform::TColor ReadColor(std::string_view value);

void SetFontSize(platform::TFont& font, long long size);
// Applies a "<FONT ...>" tag: NAME or FAMILY, SIZE (absolute, or relative with a sign), COLOR,
// WEIGHT (one of BOLD, ITALIC, NORMAL, STRIKE, UNDERLINE).
void ApplyFontTag(std::string_view tag, platform::TFont& font);

}  // namespace chart::html

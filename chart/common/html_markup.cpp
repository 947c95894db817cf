#include "chart/common/html_markup.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

#include "chart/common/html_text.h"
#include "platform/vcl/graphics.h"

namespace chart::html {

using platform::TColor;

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view Unquote(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    return text.substr(1, text.size() - 2);
  return text;
}

std::string DecodeEntities(std::string_view text) {
  static constexpr struct {
    std::string_view Entity;
    char Char;
  } kEntities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}};
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    bool replaced = false;
    if (text[i] == '&') {
      for (const auto& e : kEntities) {
        if (text.substr(i, e.Entity.size()) == e.Entity) {
          out += e.Char;
          i += e.Entity.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

bool ReadInt(std::string_view text, long long& value) {
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text.front()))) return false;
  }
  const char* end = text.data() + text.size();
  const auto [p, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && p == end;
}

std::vector<Attribute> ReadAttributes(std::string_view text) {
  std::vector<Attribute> out;
  for (;;) {
    const size_t eq = text.find('=');
    if (eq == std::string_view::npos) break;
    Attribute a;
    a.Name = Upper(Trim(text.substr(0, eq)));
    std::string_view rest = text.substr(eq + 1);
    const size_t next = rest.find('=');
    if (next == std::string_view::npos) {
      a.Value = std::string(Trim(rest));
      text = {};
    } else {
      // The next name starts after the last blank before its "=".
      const size_t blank = rest.find_last_of(" \t\r\n", next);
      const size_t cut = blank == std::string_view::npos ? next : blank;
      a.Value = std::string(Trim(rest.substr(0, cut)));
      text = rest.substr(cut);
    }
    out.push_back(std::move(a));
  }
  return out;
}

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

[[noreturn]] void BadColor(std::string_view value) {
  throw HtmlParserException("'" + std::string(value) + "' is not a valid color value");
}

}  // namespace

TColor ReadColor(std::string_view raw) {
  const std::string value = Upper(Trim(Unquote(Trim(raw))));
  static constexpr struct {
    std::string_view Name;
    TColor Color;
  } kNames[] = {{"BLACK", 0x000000}, {"RED", 0x0000FF},   {"BLUE", 0xFF0000}, {"YELLOW", 0x00FFFF},
                {"WHITE", 0xFFFFFF}, {"GREEN", 0x008000}, {"LIME", 0x00FF00}};
  for (const auto& n : kNames)
    if (value == n.Name) return n.Color;
  if (!value.empty() && value.front() == '#') {
    if (value.size() != 7) BadColor(value);
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
      const int hi = HexDigit(value[1 + 2 * i]);
      const int lo = HexDigit(value[2 + 2 * i]);
      if (hi < 0 || lo < 0) BadColor(value);
      rgb[i] = hi * 16 + lo;
    }
    return rgb[0] | (rgb[1] << 8) | (rgb[2] << 16);
  }
  TColor color = 0;
  if (platform::IdentToColor(value, color) || platform::IdentToColor("CL" + value, color))
    return color;
  long long number = 0;
  if (ReadInt(value, number) && number >= INT32_MIN && number <= UINT32_MAX)
    return static_cast<TColor>(static_cast<std::uint32_t>(number));
  BadColor(value);
}

void SetFontSize(platform::TFont& font, long long size) {
  font.SetSize(static_cast<int>(std::clamp<long long>(size, -kMaxFontSize, kMaxFontSize)));
}

void ApplyFontTag(std::string_view tag, platform::TFont& font) {
  // "<FONT " and ">" are not attributes.
  if (tag.size() < 7) return;
  for (const Attribute& a : ReadAttributes(tag.substr(6, tag.size() - 7))) {
    if (a.Name == "NAME" || a.Name == "FAMILY") {
      font.SetName(std::string(Unquote(a.Value)));
    } else if (a.Name == "SIZE") {
      const std::string_view v = Unquote(a.Value);
      long long n = 0;
      if (!ReadInt(v, n))
        throw HtmlParserException("'" + a.Value + "' is not a valid integer value");
      const bool relative = !v.empty() && (v.front() == '+' || v.front() == '-');
      SetFontSize(font, relative ? font.GetSize() + n : n);
    } else if (a.Name == "COLOR") {
      font.SetColor(ReadColor(a.Value));
    } else if (a.Name == "WEIGHT") {
      const std::string w = Upper(Unquote(a.Value));
      platform::TFontStyles style;
      if (w == "BOLD")
        style = style << platform::fsBold;
      else if (w == "ITALIC")
        style = style << platform::fsItalic;
      else if (w == "STRIKE")
        style = style << platform::fsStrikeOut;
      else if (w == "UNDERLINE")
        style = style << platform::fsUnderline;
      else if (w != "NORMAL")
        throw HtmlParserException("Unknown field in FONT WEIGHT=" + a.Value);
      font.SetStyle(style);
    } else {
      throw HtmlParserException("Unknown field in FONT: " + a.Name);
    }
  }
}

}  // namespace chart::html

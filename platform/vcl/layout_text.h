// The form layout text: nested `object Name: TClass ... end` blocks holding `Name = value`
// properties. Values: integers, reals, 'strings' (with #nn character codes and + joining parts
// across lines), identifiers (clBlue, True, taCenter), sets [a, b], lists ( ... ), binary
// {hex} and collections < item ... end >. Errors raise EReadError naming the line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/vcl/colors.h"

namespace platform {

struct TLayoutProperty;

struct TLayoutItem {
  int Line = 0;
  std::vector<TLayoutProperty> Properties;
};

class TLayoutValue {
 public:
  enum Kind { vkInteger, vkReal, vkString, vkIdent, vkSet, vkList, vkBinary, vkCollection };

  Kind ValueKind = vkInteger;
  int Line = 0;
  std::int64_t Integer = 0;
  double Real = 0;
  std::string Text;  // string, identifier, or the bytes of a binary value
  std::vector<std::string> Set;
  std::vector<TLayoutValue> List;
  std::vector<TLayoutItem> Items;

  // Checked reads: a value of another kind raises EReadError.
  int AsInteger() const;
  double AsReal() const;  // integers too
  const std::string& AsString() const;
  const std::string& AsIdent() const;
  bool AsBoolean() const;  // True / False
  TColor AsColor() const;  // a colour name or a number
  const std::string& AsBinary() const;
  const std::vector<std::string>& AsSet() const;
  const std::vector<TLayoutValue>& AsList() const;
  const std::vector<TLayoutItem>& AsCollection() const;
  // An identifier out of names (case ignored), as its index.
  int AsEnum(const std::vector<std::string>& names) const;
  // A set of identifiers out of names, as a bit mask of their indexes.
  std::uint32_t AsSetBits(const std::vector<std::string>& names) const;
};

struct TLayoutProperty {
  std::string Name;  // may be a dotted path: Font.Color, Items.Strings
  TLayoutValue Value;
  int Line = 0;
};

struct TLayoutObject {
  std::string Name;
  std::string ClassName;
  bool Inherited = false;
  int Line = 0;
  std::vector<TLayoutProperty> Properties;
  std::vector<TLayoutObject> Children;
};

TLayoutObject ParseLayout(std::string_view text);

}  // namespace platform

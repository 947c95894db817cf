// Small adapters from layout values to the classes' setters, used by the registration of
// published properties (the layer's and the chart library's).
#pragma once

#include <string>
#include <vector>

#include "platform/vcl/geometry.h"
#include "platform/vcl/layout_registry.h"

namespace platform::published {

template <class C, class A>
auto Int(void (C::*set)(A)) {
  return [set](C& c, const TLayoutValue& v) { (c.*set)(v.AsInteger()); };
}
template <class C, class A>
auto Bool(void (C::*set)(A)) {
  return [set](C& c, const TLayoutValue& v) { (c.*set)(v.AsBoolean()); };
}
template <class C, class A>
auto Str(void (C::*set)(A)) {
  return [set](C& c, const TLayoutValue& v) { (c.*set)(v.AsString()); };
}
template <class C, class A>
auto Color(void (C::*set)(A)) {
  return [set](C& c, const TLayoutValue& v) { (c.*set)(v.AsColor()); };
}
template <class E, class C, class A>
auto Enum(void (C::*set)(A), std::vector<std::string> names) {
  return [set, names](C& c, const TLayoutValue& v) { (c.*set)(static_cast<E>(v.AsEnum(names))); };
}
template <class E, class C, class A>
auto Set(void (C::*set)(A), std::vector<std::string> names) {
  return [set, names](C& c, const TLayoutValue& v) {
    (c.*set)(TSet<E>::FromBits(v.AsSetBits(names)));
  };
}
// A plain data member.
template <class C, class T>
auto Field(T C::*member) {
  return [member](C& c, const TLayoutValue& v) {
    if constexpr (std::is_same_v<T, bool>) {
      c.*member = v.AsBoolean();
    } else if constexpr (std::is_same_v<T, std::string>) {
      c.*member = v.AsString();
    } else {
      c.*member = v.AsInteger();
    }
  };
}

inline const std::vector<std::string> kAlignment{"taLeftJustify", "taRightJustify", "taCenter"};
inline const std::vector<std::string> kScrollStyle{"ssNone", "ssHorizontal", "ssVertical",
                                                   "ssBoth"};
inline const std::vector<std::string> kModalResult{"mrNone",  "mrOk",     "mrCancel", "mrAbort",
                                                   "mrRetry", "mrIgnore", "mrYes",    "mrNo"};

}  // namespace platform::published

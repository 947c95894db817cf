// The chart library's classes in the form-layout reader: how each is created and how its
// published properties are set by name. Each registration routine runs once and registers what
// it needs below it first; a program calls RegisterChartLayoutClasses (series_registration.h)
// before it reads a layout holding a chart.
#pragma once

#include <string>
#include <vector>

#include "platform/vcl/layout_registry.h"
#include "platform/vcl/published_helpers.h"

namespace chart {

// Panels, pens, brushes, shapes, axes, pages, value lists, marks, callouts, the series base.
void RegisterEngineLayoutClasses();

// Adapters from layout values to setters, shared by the registration files.
namespace layout {

using platform::TLayoutContext;
using platform::TLayoutValue;

using platform::published::Bool;
using platform::published::Color;
using platform::published::Enum;
using platform::published::Int;
using platform::published::kAlignment;
using platform::published::Str;

template <class C, class A>
auto Double(void (C::*set)(A)) {
  return [set](C& c, const TLayoutValue& v) { (c.*set)(v.AsReal()); };
}
// An owned sub-object reached by a dotted path.
template <class C, class T>
auto Sub(T* (C::*get)() const) {
  return [get](C& c) -> platform::TPersistent* { return (c.*get)(); };
}
template <class C, class T>
auto Sub(T* (C::*get)()) {
  return [get](C& c) -> platform::TPersistent* { return (c.*get)(); };
}
// A component named in the layout, set once every object exists.
template <class T, class C, class F>
auto Reference(F set) {
  return [set](C& c, const TLayoutValue& v, TLayoutContext& ctx) {
    const std::string name = v.AsIdent();
    const int line = v.Line;
    ctx.AddFixup([&c, set, name, line, &ctx] {
      auto* target = dynamic_cast<T*>(ctx.Root().FindComponent(name));
      if (!target) {
        throw platform::EReadError("line " + std::to_string(line) +
                                   ": no suitable component named " + name);
      }
      set(c, target);
    });
  };
}

inline const std::vector<std::string> kBevelCut{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
inline const std::vector<std::string> kPlotUnits{"muPercent", "muPixels"};
inline const std::vector<std::string> kMouseButton{"mbLeft", "mbRight", "mbMiddle"};
inline const std::vector<std::string> kShapeStyle{"fosRectangle", "fosRoundRectangle"};
inline const std::vector<std::string> kTextFormat{"ttfNormal", "ttfHtml"};
inline const std::vector<std::string> kGradientDirection{
    "gdTopBottom",   "gdBottomTop",      "gdLeftRight", "gdRightLeft",  "gdFromCenter",
    "gdFromTopLeft", "gdFromBottomLeft", "gdRadial",    "gdDiagonalUp", "gdDiagonalDown"};

}  // namespace layout

}  // namespace chart

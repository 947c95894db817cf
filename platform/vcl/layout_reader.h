// Reads a form layout into an existing root component (a form): the root's own properties are
// set, every nested object is created by class name with the root as its owner and the
// enclosing object as its parent, properties are set by name and events bound by handler name.
// Any fault (syntax, unknown class or property, bad value, missing handler or field) raises
// EReadError with the line number.
//
// Layouts are compiled into the program as strings, one header per layout, e.g.
//   inline constexpr std::string_view kMainFormLayout = R"LAYOUT(object MainForm: TMainForm ...
// and read in the form's constructor: LoadLayout(kMainFormLayout, bindings).
#pragma once

#include <string_view>

#include "platform/vcl/layout_registry.h"

namespace platform {

void ReadLayout(TComponent& root, std::string_view text, const TLayoutBindings& bindings);

}  // namespace platform

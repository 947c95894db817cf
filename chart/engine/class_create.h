// Making a component from its class record (the form-layout registry's), checked for its kind.
#pragma once

#include <string>

#include "chart/common/chart_exception.h"
#include "platform/vcl/layout_registry.h"

namespace chart {

// A new T owned by owner. A class that cannot create, or makes something other than a T,
// raises ChartException (what it made is freed again); kind names the T in the message.
template <class T>
T* CreateOf(const platform::TClassInfo* cls, platform::TComponent* owner, const char* kind) {
  if (!cls || !cls->Create) {
    throw ChartException(std::string(cls ? cls->Name : "(none)") + " cannot create a " + kind);
  }
  platform::TComponent* c = cls->Create(owner);
  if (auto* t = dynamic_cast<T*>(c)) return t;
  delete c;
  throw ChartException(cls->Name + " is not a " + kind + " class");
}

}  // namespace chart

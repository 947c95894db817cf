#include "platform/vcl/component.h"

#include <strings.h>

#include <algorithm>

#include "platform/vcl/application.h"
#include "platform/vcl/exception.h"

namespace platform {

TComponent::TComponent(TComponent* Owner) {
  if (Owner) Owner->Insert(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_) owner_->Remove(this);
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* c = components_.back();
    components_.pop_back();
    c->owner_ = nullptr;
    delete c;
  }
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) return nullptr;
  return components_[static_cast<size_t>(index)];
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (strcasecmp(c->name_.c_str(), name.c_str()) == 0) return c;
  }
  return nullptr;
}

void TComponent::AdoptChild(TComponent*) {}

void TComponent::SetName(const std::string& value) {
  if (value == name_) return;
  if (owner_ && !value.empty()) {
    TComponent* other = owner_->FindComponent(value);
    if (other && other != this) {
      throw EComponentError("A component named " + value + " already exists");
    }
  }
  name_ = value;
}

void TComponent::Insert(TComponent* c) {
  components_.push_back(c);
  c->owner_ = this;
}

void TComponent::Remove(TComponent* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it != components_.end()) components_.erase(it);
  c->owner_ = nullptr;
}

namespace {
int gHandlerDepth = 0;  // window thread only
}

void RunHandler(const std::function<void()>& handler, bool fromEventLoop) {
  if (!handler) return;
  if (!fromEventLoop && gHandlerDepth > 0) {
    handler();
    return;
  }
  const int saved = gHandlerDepth;
  gHandlerDepth = 1;
  try {
    handler();
  } catch (...) {
    Application->HandleException(std::current_exception());
  }
  gHandlerDepth = saved;
}

}  // namespace platform

#include "platform/vcl/component.h"

#include <strings.h>

#include <algorithm>

#include "platform/vcl/application.h"
#include "platform/vcl/exception.h"

namespace platform {

void AssignError(const TObject* source, const TObject* dest) {
  throw Exception(std::string("Cannot assign a ") + (source ? source->ClassName() : "nil") +
                  " to a " + dest->ClassName());
}

TComponent::TComponent(TComponent* Owner) {
  if (Owner) Owner->Insert(this);
}

TComponent::~TComponent() {
  MarkDestroying();
  DestroyComponents();
  if (owner_) owner_->Remove(this);
}

void TComponent::MarkDestroying() {
  destroying_ = true;
  // Each side forgets the other before it is told, so a Notification may link or unlink freely.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& theirs = other->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    other->Notification(this, opRemove);
  }
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
    freeNotifies_.push_back(other);
  auto& theirs = other->freeNotifies_;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  if (!other) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other),
                      freeNotifies_.end());
  auto& theirs = other->freeNotifies_;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::InsertComponent(TComponent* c) {
  if (!c || c->owner_ == this) return;
  if (c->owner_) c->owner_->Remove(c);
  Insert(c);
}

void TComponent::RemoveComponent(TComponent* c) {
  if (c && c->owner_ == this) Remove(c);
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  const auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int index) {
  if (!owner_) return;
  auto& list = owner_->components_;
  const int from = ComponentIndex();
  if (from < 0) return;
  index = std::clamp(index, 0, static_cast<int>(list.size()) - 1);
  list.erase(list.begin() + from);
  list.insert(list.begin() + index, this);
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

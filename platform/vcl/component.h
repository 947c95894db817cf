// The base classes: TObject, TPersistent (things with published properties), and TComponent
// (named, owned: an owner destroys what it owns), plus the rule for running event handlers.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/vcl/property.h"

namespace platform {

class TObject {
 public:
  virtual ~TObject() = default;
  // The class name the layout reader looks up; each layer class returns its own.
  virtual const char* ClassName() const { return "TObject"; }
};

class TPersistent : public TObject {
 public:
  const char* ClassName() const override { return "TPersistent"; }
};

// What an Assign does with a source it cannot take: raises Exception "Cannot assign a <source
// class> to a <dest class>" ("nil" for no source).
[[noreturn]] void AssignError(const TObject* source, const TObject* dest);

using TNotifyEvent = std::function<void(TObject* Sender)>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* Owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  const char* ClassName() const override { return "TComponent"; }

  std::string GetName() const { return name_; }
  void SetName(const std::string& value);

  // Unique among the owner's components (case ignored); empty names are allowed.
  Property<std::string, TComponent, &TComponent::GetName, &TComponent::SetName> Name{this};
  int Tag = 0;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;
  // Case-insensitive search among the owned components; nullptr when absent.
  TComponent* FindComponent(const std::string& name) const;

  // True while the layout reader fills this component in; events do not fire then.
  bool Loading() const { return loading_; }
  void SetLoading(bool value) { loading_ = value; }
  // Called by the layout reader after the whole layout is read.
  virtual void Loaded() { loading_ = false; }
  // Called by the layout reader for an object nested inside this one in the text.
  virtual void AdoptChild(TComponent* child);
  // Runs before the object is deleted by its owner or the application (forms fire OnDestroy).
  virtual void BeforeDestruction() {}
  // Deletes every owned component, newest first.
  void DestroyComponents();

  // Links that do not own: other is told (Notification with opRemove) when this component goes,
  // and this one when other goes. Either side may go first.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);
  virtual void Notification(TComponent* /*component*/, TOperation /*operation*/) {}
  // True from the start of destruction on: set by the most derived destructor that cares
  // (MarkDestroying), and by this class's destructor in any case.
  bool Destroying() const { return destroying_; }
  // Moves c from its owner (if any) to this component's owned list.
  void InsertComponent(TComponent* c);
  // Takes c out of this component's owned list; c then has no owner.
  void RemoveComponent(TComponent* c);
  int ComponentIndex() const;
  // Moves this component to position index among its owner's components.
  void SetComponentIndex(int index);

 protected:
  // Marks the component as going and tells those linked by FreeNotification, while the derived
  // object is still whole. Safe to call more than once.
  void MarkDestroying();

 private:
  void Insert(TComponent* c);
  void Remove(TComponent* c);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::string name_;
  bool loading_ = false;
  bool destroying_ = false;
};

// Runs an event handler. Called with fromEventLoop for events that come from the window
// system (clicks, timers, shortcuts): the handler's exceptions are caught and shown in the
// application's exception box once the handler has returned. Called without it (Click(),
// Execute() from code) inside another handler, the exception goes on to that handler's caller,
// as it would in the component library; from code outside any handler it is caught as well.
void RunHandler(const std::function<void()>& handler, bool fromEventLoop);

}  // namespace platform

// The registries behind the layout reader: each class registers how to create it and how to
// set its published properties by name. Other libraries (the chart library) register their
// own classes the same way before reading a layout that uses them.
#pragma once

#include <strings.h>

#include <any>
#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/vcl/component.h"
#include "platform/vcl/exception.h"
#include "platform/vcl/layout_text.h"

namespace platform {

struct CaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  }
};

class TLayoutContext;
class TClassInfo;

// nullptr when the class is unknown. The layer's own classes are always registered.
const TClassInfo* FindClass(const std::string& name);

// What a form hands the reader: its event handlers by name, and the fields to fill with the
// components the layout creates.
class TLayoutBindings {
 public:
  template <class Sig>
  TLayoutBindings& Event(const std::string& name, std::function<Sig> handler) {
    handlers_[name] = std::move(handler);
    return *this;
  }
  TLayoutBindings& Event(const std::string& name, TNotifyEvent handler) {
    return Event<void(TObject*)>(name, std::move(handler));
  }
  template <class C, class R, class... A>
  TLayoutBindings& Event(const std::string& name, C* object, R (C::*method)(A...)) {
    return Event<R(A...)>(name, std::function<R(A...)>([object, method](A... args) -> R {
                            return (object->*method)(std::forward<A>(args)...);
                          }));
  }
  // After reading, field points at the component of that name; a missing component or one of
  // another class raises EReadError.
  template <class T>
  TLayoutBindings& Field(const std::string& name, T*& field) {
    fields_.emplace_back(name, [&field](TComponent* c) {
      field = dynamic_cast<T*>(c);
      return field != nullptr;
    });
    return *this;
  }

  const std::any* FindHandler(const std::string& name) const;
  void BindFields(const TComponent& root) const;

 private:
  std::map<std::string, std::any, CaseLess> handlers_;
  std::vector<std::pair<std::string, std::function<bool(TComponent*)>>> fields_;
};

class TLayoutContext {
 public:
  TLayoutContext(TComponent& root, const TLayoutBindings& bindings)
      : root_(root), bindings_(bindings) {}

  TComponent& Root() const { return root_; }
  // The handler bound to name; EReadError when there is none or it has another signature.
  template <class Sig>
  std::function<Sig> Handler(const std::string& name) const {
    const std::any* a = bindings_.FindHandler(name);
    if (!a) throw EReadError("no handler named " + name);
    const auto* fn = std::any_cast<std::function<Sig>>(a);
    if (!fn) throw EReadError("handler " + name + " has the wrong signature");
    return *fn;
  }
  // Runs after every object is created (for references to components by name).
  void AddFixup(std::function<void()> fixup) { fixups_.push_back(std::move(fixup)); }
  void RunFixups();
  // Sets properties on target through the registered properties of info.
  void Apply(TPersistent& target, const TClassInfo& info,
             const std::vector<TLayoutProperty>& properties);

 private:
  TComponent& root_;
  const TLayoutBindings& bindings_;
  std::vector<std::function<void()>> fixups_;
};

using TPropertySetter =
    std::function<void(TPersistent& target, const TLayoutValue& value, TLayoutContext& ctx)>;
using TSubObjectGetter = std::function<TPersistent*(TPersistent& target)>;

struct TPropertyInfo {
  TPropertySetter Set;      // a value property
  TSubObjectGetter Object;  // or a sub-object reached by a dotted path (Font, Items)
  std::string ObjectClass;  // the registered class of that sub-object
};

class TClassInfo {
 public:
  TClassInfo(std::string name, const TClassInfo* parent) : Name(std::move(name)), Parent(parent) {}

  std::string Name;
  const TClassInfo* Parent;
  // Null for classes that are only reached as sub-objects (TFont, TStrings).
  std::function<TComponent*(TComponent* owner)> Create;

  // Looks in this class, then its ancestors.
  const TPropertyInfo* FindProperty(const std::string& name) const;

  template <class C, class F>
  TClassInfo& Value(const std::string& name, F set) {
    return Add(
        name,
        TPropertyInfo{
            [set, name](TPersistent& t, const TLayoutValue& v, TLayoutContext& ctx) {
              if constexpr (std::is_invocable_v<F, C&, const TLayoutValue&, TLayoutContext&>) {
                set(Cast<C>(t, name), v, ctx);
              } else {
                set(Cast<C>(t, name), v);
              }
            },
            nullptr, ""});
  }
  template <class C, class F>
  TClassInfo& Object(const std::string& name, const std::string& objectClass, F get) {
    return Add(name, TPropertyInfo{nullptr,
                                   [get, name](TPersistent& t) -> TPersistent* {
                                     return get(Cast<C>(t, name));
                                   },
                                   objectClass});
  }
  // OnClick = BtnOpenClick: the handler of that name from the form's bindings.
  template <class C, class Sig>
  TClassInfo& Event(const std::string& name, std::function<Sig> C::*member) {
    return Value<C>(name, [member](C& c, const TLayoutValue& v, TLayoutContext& ctx) {
      c.*member = ctx.Handler<Sig>(v.AsIdent());
    });
  }
  // Panels = < item ... end >: clear empties the collection, add appends an item and returns
  // it; each item's properties are set through the registered properties of itemClass.
  template <class C, class Clear, class AddItem>
  TClassInfo& Collection(const std::string& name, const std::string& itemClass, Clear clear,
                         AddItem add) {
    return Value<C>(name,
                    [clear, add, itemClass](C& c, const TLayoutValue& v, TLayoutContext& ctx) {
                      const TClassInfo* info = FindClass(itemClass);
                      if (!info) throw EReadError("class " + itemClass + " not found");
                      const auto& items = v.AsCollection();
                      clear(c);
                      for (const TLayoutItem& item : items)
                        ApplyItem(ctx, *add(c), *info, item.Properties);
                    });
  }
  // Accepted and ignored: design-time values that change nothing at run time.
  TClassInfo& Ignore(const std::string& name);

 private:
  template <class C>
  static C& Cast(TPersistent& t, const std::string& name) {
    auto* c = dynamic_cast<C*>(&t);
    if (!c) throw EReadError("property " + name + " does not apply to " + t.ClassName());
    return *c;
  }
  TClassInfo& Add(const std::string& name, TPropertyInfo info);
  static void ApplyItem(TLayoutContext& ctx, TPersistent& item, const TClassInfo& info,
                        const std::vector<TLayoutProperty>& properties);

  std::map<std::string, TPropertyInfo, CaseLess> properties_;
};

// Registers (or returns the registered) class; parent names an already registered class.
TClassInfo& RegisterClass(const std::string& name, const std::string& parent);
template <class T>
TClassInfo& RegisterComponentClass(const std::string& name, const std::string& parent) {
  TClassInfo& info = RegisterClass(name, parent);
  info.Create = [](TComponent* owner) -> TComponent* { return new T(owner); };
  return info;
}
// Registration of the layer's classes (called once, before the first lookup).
void RegisterGraphicsClasses();
void RegisterControlClasses();
void RegisterListClasses();
void RegisterOtherClasses();

}  // namespace platform

#include "platform/vcl/layout_reader.h"

#include <atomic>
#include <memory>
#include <mutex>

namespace platform {

namespace {

using Registry = std::map<std::string, std::unique_ptr<TClassInfo>, CaseLess>;

Registry& Classes() {
  static Registry* r = new Registry;
  return *r;
}

std::atomic<bool> gRegistering{false};

// The layer's classes come first, so that other libraries can derive from them.
void EnsureRegistered() {
  static std::once_flag once;
  if (gRegistering.load()) return;
  std::call_once(once, [] {
    gRegistering.store(true);
    RegisterGraphicsClasses();
    RegisterControlClasses();
    RegisterListClasses();
    RegisterOtherClasses();
    gRegistering.store(false);
  });
}

[[noreturn]] void Fail(int line, const std::string& what) {
  throw EReadError("line " + std::to_string(line) + ": " + what);
}

bool HasLine(const std::string& message) {
  return message.rfind("line ", 0) == 0;
}

void ReadObject(const TLayoutObject& obj, TComponent& parent, TLayoutContext& ctx,
                std::vector<TComponent*>& loaded) {
  const TClassInfo* info = FindClass(obj.ClassName);
  if (!info || !info->Create) Fail(obj.Line, "class " + obj.ClassName + " not found");
  if (obj.Inherited) Fail(obj.Line, "inherited objects are not supported");
  TComponent* c = info->Create(&ctx.Root());
  c->SetLoading(true);
  loaded.push_back(c);
  try {
    c->SetName(obj.Name);
    parent.AdoptChild(c);
  } catch (const std::exception& e) {
    Fail(obj.Line, obj.Name + ": " + e.what());
  }
  ctx.Apply(*c, *info, obj.Properties);
  for (const TLayoutObject& child : obj.Children) ReadObject(child, *c, ctx, loaded);
}

}  // namespace

TClassInfo& RegisterClass(const std::string& name, const std::string& parent) {
  EnsureRegistered();
  Registry& r = Classes();
  auto it = r.find(name);
  if (it != r.end()) return *it->second;
  const TClassInfo* base = nullptr;
  if (!parent.empty()) {
    auto p = r.find(parent);
    if (p == r.end()) throw EReadError("class " + parent + " is not registered");
    base = p->second.get();
  }
  auto info = std::make_unique<TClassInfo>(name, base);
  TClassInfo& ref = *info;
  r.emplace(name, std::move(info));
  return ref;
}

const TClassInfo* FindClass(const std::string& name) {
  EnsureRegistered();
  auto it = Classes().find(name);
  return it == Classes().end() ? nullptr : it->second.get();
}

const TPropertyInfo* TClassInfo::FindProperty(const std::string& name) const {
  for (const TClassInfo* c = this; c; c = c->Parent) {
    auto it = c->properties_.find(name);
    if (it != c->properties_.end()) return &it->second;
  }
  return nullptr;
}

TClassInfo& TClassInfo::Add(const std::string& name, TPropertyInfo info) {
  properties_[name] = std::move(info);
  return *this;
}

TClassInfo& TClassInfo::Ignore(const std::string& name) {
  return Add(name,
             TPropertyInfo{[](TPersistent&, const TLayoutValue&, TLayoutContext&) {}, nullptr, ""});
}

void TClassInfo::ApplyItem(TLayoutContext& ctx, TPersistent& item, const TClassInfo& info,
                           const std::vector<TLayoutProperty>& properties) {
  ctx.Apply(item, info, properties);
}

const std::any* TLayoutBindings::FindHandler(const std::string& name) const {
  auto it = handlers_.find(name);
  return it == handlers_.end() ? nullptr : &it->second;
}

void TLayoutBindings::BindFields(const TComponent& root) const {
  for (const auto& [name, bind] : fields_) {
    TComponent* c = root.FindComponent(name);
    if (!c) throw EReadError("the layout has no component named " + name);
    if (!bind(c)) {
      throw EReadError("component " + name + " is a " + c->ClassName() +
                       ", not the class its field expects");
    }
  }
}

void TLayoutContext::RunFixups() {
  auto fixups = std::move(fixups_);
  fixups_.clear();
  for (auto& f : fixups) f();
}

void TLayoutContext::Apply(TPersistent& target, const TClassInfo& info,
                           const std::vector<TLayoutProperty>& properties) {
  for (const TLayoutProperty& p : properties) {
    try {
      TPersistent* t = &target;
      const TClassInfo* ci = &info;
      size_t start = 0;
      for (;;) {
        const size_t dot = p.Name.find('.', start);
        const std::string seg = p.Name.substr(start, dot == std::string::npos ? dot : dot - start);
        const TPropertyInfo* pi = ci->FindProperty(seg);
        if (dot == std::string::npos) {
          if (!pi || !pi->Set) throw EReadError("property " + p.Name + " does not exist");
          pi->Set(*t, p.Value, *this);
          break;
        }
        if (!pi || !pi->Object) throw EReadError("property " + p.Name + " does not exist");
        t = pi->Object(*t);
        ci = FindClass(pi->ObjectClass);
        if (!t || !ci) throw EReadError("property " + p.Name + " does not exist");
        start = dot + 1;
      }
    } catch (const std::exception& e) {
      if (HasLine(e.what())) throw;
      const auto* named = dynamic_cast<const TComponent*>(&target);
      const std::string who = named && !named->GetName().empty() ? named->GetName() + "." : "";
      Fail(p.Line, who + p.Name + ": " + e.what());
    }
  }
}

void ReadLayout(TComponent& root, std::string_view text, const TLayoutBindings& bindings) {
  const TLayoutObject obj = ParseLayout(text);
  const TClassInfo* info = FindClass(root.ClassName());
  if (!info) Fail(obj.Line, std::string("class ") + root.ClassName() + " not found");
  TLayoutContext ctx(root, bindings);
  std::vector<TComponent*> loaded;
  root.SetLoading(true);
  try {
    if (!obj.Name.empty()) {
      try {
        root.SetName(obj.Name);
      } catch (const std::exception& e) {
        Fail(obj.Line, e.what());
      }
    }
    ctx.Apply(root, *info, obj.Properties);
    for (const TLayoutObject& child : obj.Children) ReadObject(child, root, ctx, loaded);
    ctx.RunFixups();
  } catch (...) {
    for (TComponent* c : loaded) c->SetLoading(false);
    root.SetLoading(false);
    throw;
  }
  for (TComponent* c : loaded) c->Loaded();
  root.Loaded();
  bindings.BindFields(root);
}

}  // namespace platform

// String lists: TStrings is the interface controls expose (combo items, memo lines), and
// TStringList the plain list. An index outside the list raises EStringListError.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/vcl/component.h"
#include "platform/vcl/property.h"

namespace platform {

class TStrings : public TPersistent {
 public:
  const char* ClassName() const override { return "TStrings"; }

  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual void Put(int index, const std::string& value) = 0;
  virtual void Insert(int index, const std::string& value) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  int Add(const std::string& value);
  // Appends every line of other; a list shown on screen may take them in one go.
  virtual void AddStrings(const TStrings& other);
  void Assign(const TStrings& other);
  // Case-insensitive, as the component library compares list entries; -1 when absent.
  int IndexOf(const std::string& value) const;

  // Every line followed by CR LF; setting splits at CR LF, LF or CR.
  std::string GetText() const;
  void SetText(const std::string& value);

  IndexedProperty<std::string, TStrings, &TStrings::Get, &TStrings::Put> Strings{this};
  Property<std::string, TStrings, &TStrings::GetText, &TStrings::SetText> Text{this};
  IndexedProperty<std::string, TStrings, &TStrings::Get, &TStrings::Put>::Ref operator[](int i) {
    return Strings[i];
  }

 protected:
  void CheckIndex(int index, int limit) const;
};

class TStringList : public TStrings {
 public:
  const char* ClassName() const override { return "TStringList"; }

  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& value) override;
  void Insert(int index, const std::string& value) override;
  void Delete(int index) override;
  void Clear() override;

  // Runs after every change of the lines (clearing an empty list changes nothing).
  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
  std::vector<std::string> items_;
};

}  // namespace platform

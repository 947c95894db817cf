#include "platform/vcl/string_list.h"

#include <strings.h>

#include "platform/vcl/exception.h"

namespace platform {

int TStrings::Add(const std::string& value) {
  const int index = Count();
  Insert(index, value);
  return index;
}

void TStrings::AddStrings(const TStrings& other) {
  if (&other == this) {
    const int n = Count();
    for (int i = 0; i < n; ++i) Add(Get(i));
    return;
  }
  for (int i = 0; i < other.Count(); ++i) Add(other.Get(i));
}

void TStrings::Assign(const TStrings& other) {
  if (&other == this) return;
  Clear();
  AddStrings(other);
}

int TStrings::IndexOf(const std::string& value) const {
  const int n = Count();
  for (int i = 0; i < n; ++i) {
    const std::string s = Get(i);
    if (s.size() == value.size() && strncasecmp(s.c_str(), value.c_str(), s.size()) == 0) {
      return i;
    }
  }
  return -1;
}

std::string TStrings::GetText() const {
  std::string out;
  const int n = Count();
  for (int i = 0; i < n; ++i) {
    out += Get(i);
    out += "\r\n";
  }
  return out;
}

void TStrings::SetText(const std::string& value) {
  Clear();
  size_t start = 0;
  while (start < value.size()) {
    size_t end = value.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      Add(value.substr(start));
      break;
    }
    Add(value.substr(start, end - start));
    if (value[end] == '\r' && end + 1 < value.size() && value[end + 1] == '\n') ++end;
    start = end + 1;
  }
}

void TStrings::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) {
    throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
  }
}

std::string TStringList::Get(int index) const {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)];
}

void TStringList::Put(int index, const std::string& value) {
  CheckIndex(index, Count());
  items_[static_cast<size_t>(index)] = value;
  Changed();
}

void TStringList::Insert(int index, const std::string& value) {
  CheckIndex(index, Count() + 1);
  items_.insert(items_.begin() + index, value);
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count());
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

}  // namespace platform

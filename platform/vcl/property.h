// Members that read and write through their owner's getter and setter, so that
// `Button->Caption = "Open"` updates the widget at once and `std::string s = Label->Caption`
// reads the current text. A setter of nullptr makes the member read-only.
#pragma once

#include <cstddef>
#include <ostream>
#include <type_traits>

namespace platform {

template <class T, class O, auto Get, auto Set>
class Property {
 public:
  explicit Property(O* owner) : owner_(owner) {}
  Property(const Property&) = delete;

  T operator()() const { return (owner_->*Get)(); }
  operator T() const { return (owner_->*Get)(); }
  T operator->() const requires std::is_pointer_v<T> { return (owner_->*Get)(); }

  Property& operator=(const T& value) requires(!std::is_same_v<decltype(Set), std::nullptr_t>) {
    (owner_->*Set)(value);
    return *this;
  }
  Property& operator=(const Property& other) requires(
      !std::is_same_v<decltype(Set), std::nullptr_t>) {
    (owner_->*Set)(other());
    return *this;
  }

  Property& operator+=(const T& v) requires std::is_arithmetic_v<T> {
    return *this = static_cast<T>((*this)() + v);
  }
  Property& operator-=(const T& v) requires std::is_arithmetic_v<T> {
    return *this = static_cast<T>((*this)() - v);
  }
  Property& operator++() requires std::is_integral_v<T> { return *this += 1; }
  T operator++(int) requires std::is_integral_v<T> {
    T old = (*this)();
    *this += 1;
    return old;
  }

  friend bool operator==(const Property& a, const T& b) { return a() == b; }
  friend bool operator==(const Property& a, const Property& b) { return a() == b(); }
  friend std::ostream& operator<<(std::ostream& os, const Property& p) { return os << p(); }

 private:
  O* owner_;
};

// An indexed member: `Items->Strings[2] = "x"`, `CheckListBox1->Checked[0]`.
template <class T, class O, auto Get, auto Set>
class IndexedProperty {
 public:
  class Ref {
   public:
    Ref(O* owner, int index) : owner_(owner), index_(index) {}
    Ref(const Ref&) = default;
    T operator()() const { return (owner_->*Get)(index_); }
    operator T() const { return (owner_->*Get)(index_); }
    Ref& operator=(const T& value) requires(!std::is_same_v<decltype(Set), std::nullptr_t>) {
      (owner_->*Set)(index_, value);
      return *this;
    }
    // Assigns the value, as the component library's indexed properties do; never rebinds.
    Ref& operator=(const Ref& other) requires(!std::is_same_v<decltype(Set), std::nullptr_t>) {
      (owner_->*Set)(index_, other());
      return *this;
    }
    friend bool operator==(const Ref& a, const T& b) { return a() == b; }
    friend bool operator==(const Ref& a, const Ref& b) { return a() == b(); }
    friend std::ostream& operator<<(std::ostream& os, const Ref& r) { return os << r(); }

   private:
    O* owner_;
    int index_;
  };

  explicit IndexedProperty(O* owner) : owner_(owner) {}
  IndexedProperty(const IndexedProperty&) = delete;
  Ref operator[](int index) const { return Ref(owner_, index); }

 private:
  O* owner_;
};

}  // namespace platform

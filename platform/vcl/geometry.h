// Points and rectangles (from the device context's types) and the small bit sets the component
// library uses for styles and options.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/gdi/types.h"

namespace platform {

// A set of enumeration values (at most 32): `TFontStyles() << fsBold << fsItalic`.
template <class E>
class TSet {
 public:
  TSet() = default;
  TSet(std::initializer_list<E> values) {
    for (E e : values) bits_ |= Bit(e);
  }
  friend TSet operator<<(TSet s, E e) {
    s.bits_ |= Bit(e);
    return s;
  }
  friend TSet operator>>(TSet s, E e) {
    s.bits_ &= ~Bit(e);
    return s;
  }
  static TSet FromBits(std::uint32_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }
  bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  bool Empty() const { return bits_ == 0; }
  std::uint32_t Bits() const { return bits_; }
  friend bool operator==(const TSet&, const TSet&) = default;

 private:
  static std::uint32_t Bit(E e) { return 1u << static_cast<unsigned>(e); }
  std::uint32_t bits_ = 0;
};

}  // namespace platform

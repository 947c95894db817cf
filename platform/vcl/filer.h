// Binary property lists as components stream them inside a binary layout property: a list is a
// begin marker, name/value pairs and an end marker; every value starts with a one-byte type tag.
// The reader checks every length against the bytes left before it allocates and raises
// EReadError on a damaged or truncated stream.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/vcl/layout_text.h"

namespace platform {

class TWriter {
 public:
  // Untagged little-endian int32 (counts that precede lists).
  void WriteRawInteger(std::int32_t value);
  void WriteListBegin();
  void WriteListEnd();
  // Stands where a list is expected but there is nothing to store.
  void WriteNil();
  void WriteProperty(const std::string& name, const TLayoutValue& value);
  void WriteValue(const TLayoutValue& value);
  const std::string& Data() const { return data_; }

 private:
  void WriteShortString(const std::string& text);
  void WriteLongString(const std::string& text);
  void WriteBytes(const void* bytes, std::size_t size);

  std::string data_;
};

class TReader {
 public:
  explicit TReader(std::string_view data) : data_(data) {}
  std::int32_t ReadRawInteger();
  // True (and consumed) when the next value is the nil marker.
  bool NextIsNil();
  void ReadListBegin();
  // True when the current list has no more properties.
  bool EndOfList();
  void ReadListEnd();
  TLayoutProperty ReadProperty();
  TLayoutValue ReadValue();
  bool AtEnd() const { return pos_ == data_.size(); }

 private:
  TLayoutValue ReadValue(int depth);
  std::uint8_t ReadByte();
  std::string_view ReadBytes(std::size_t size);
  std::string ReadShortString();
  std::string ReadLongString();

  std::string_view data_;
  std::size_t pos_ = 0;
};

}  // namespace platform

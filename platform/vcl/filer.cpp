#include "platform/vcl/filer.h"

#include <bit>

#include "platform/vcl/exception.h"

namespace platform {

namespace {

enum TValueTag : std::uint8_t {
  tagEndOfList = 0,
  tagList = 1,
  tagInt32 = 2,
  tagInt64 = 3,
  tagDouble = 4,
  tagString = 5,
  tagIdent = 6,
  tagSet = 7,
  tagBinary = 8,
  tagNil = 9,
};

// Lists inside lists: deeper than this is a damaged stream, not a layout.
constexpr int kMaxDepth = 16;

[[noreturn]] void Damaged(const std::string& what) {
  throw EReadError("Stream read error: " + what);
}

template <class T>
void PutLittle(std::string& out, T value) {
  for (std::size_t i = 0; i < sizeof(T); ++i)
    out.push_back(static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF));
}

template <class T>
T GetLittle(std::string_view bytes) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i)
    v |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  return static_cast<T>(v);
}

}  // namespace

// ---- TWriter -----------------------------------------------------------------------------------

void TWriter::WriteBytes(const void* bytes, std::size_t size) {
  data_.append(static_cast<const char*>(bytes), size);
}

void TWriter::WriteRawInteger(std::int32_t value) {
  PutLittle(data_, static_cast<std::uint32_t>(value));
}

void TWriter::WriteListBegin() {
  data_.push_back(static_cast<char>(tagList));
}

void TWriter::WriteListEnd() {
  data_.push_back(static_cast<char>(tagEndOfList));
}

void TWriter::WriteNil() {
  data_.push_back(static_cast<char>(tagNil));
}

void TWriter::WriteShortString(const std::string& text) {
  if (text.empty() || text.size() > 255) throw Exception("invalid property name '" + text + "'");
  data_.push_back(static_cast<char>(text.size()));
  WriteBytes(text.data(), text.size());
}

void TWriter::WriteLongString(const std::string& text) {
  WriteRawInteger(static_cast<std::int32_t>(text.size()));
  WriteBytes(text.data(), text.size());
}

void TWriter::WriteProperty(const std::string& name, const TLayoutValue& value) {
  WriteShortString(name);
  WriteValue(value);
}

void TWriter::WriteValue(const TLayoutValue& value) {
  switch (value.ValueKind) {
    case TLayoutValue::vkInteger:
      if (value.Integer >= INT32_MIN && value.Integer <= INT32_MAX) {
        data_.push_back(static_cast<char>(tagInt32));
        PutLittle(data_, static_cast<std::uint32_t>(value.Integer));
      } else {
        data_.push_back(static_cast<char>(tagInt64));
        PutLittle(data_, static_cast<std::uint64_t>(value.Integer));
      }
      break;
    case TLayoutValue::vkReal:
      data_.push_back(static_cast<char>(tagDouble));
      PutLittle(data_, std::bit_cast<std::uint64_t>(value.Real));
      break;
    case TLayoutValue::vkString:
      data_.push_back(static_cast<char>(tagString));
      WriteLongString(value.Text);
      break;
    case TLayoutValue::vkIdent:
      data_.push_back(static_cast<char>(tagIdent));
      WriteShortString(value.Text);
      break;
    case TLayoutValue::vkSet:
      data_.push_back(static_cast<char>(tagSet));
      for (const std::string& e : value.Set) WriteShortString(e);
      data_.push_back(0);
      break;
    case TLayoutValue::vkList:
      data_.push_back(static_cast<char>(tagList));
      for (const TLayoutValue& item : value.List) WriteValue(item);
      WriteListEnd();
      break;
    case TLayoutValue::vkBinary:
      data_.push_back(static_cast<char>(tagBinary));
      WriteLongString(value.Text);
      break;
    case TLayoutValue::vkCollection:
      throw EReadError("collections cannot be written to a binary property");
  }
}

// ---- TReader -----------------------------------------------------------------------------------

std::uint8_t TReader::ReadByte() {
  if (pos_ >= data_.size()) Damaged("the data ends early");
  return static_cast<std::uint8_t>(data_[pos_++]);
}

std::string_view TReader::ReadBytes(std::size_t size) {
  if (size > data_.size() - pos_) Damaged("the data ends early");
  std::string_view out = data_.substr(pos_, size);
  pos_ += size;
  return out;
}

std::int32_t TReader::ReadRawInteger() {
  return static_cast<std::int32_t>(GetLittle<std::uint32_t>(ReadBytes(4)));
}

std::string TReader::ReadShortString() {
  const std::size_t n = ReadByte();
  if (n == 0) Damaged("empty name");
  return std::string(ReadBytes(n));
}

std::string TReader::ReadLongString() {
  const std::int32_t n = ReadRawInteger();
  if (n < 0) Damaged("negative length " + std::to_string(n));
  return std::string(ReadBytes(static_cast<std::size_t>(n)));
}

bool TReader::NextIsNil() {
  if (pos_ < data_.size() && static_cast<std::uint8_t>(data_[pos_]) == tagNil) {
    ++pos_;
    return true;
  }
  return false;
}

void TReader::ReadListBegin() {
  if (ReadByte() != tagList) Damaged("a list was expected");
}

bool TReader::EndOfList() {
  if (pos_ >= data_.size()) Damaged("the list is not closed");
  return static_cast<std::uint8_t>(data_[pos_]) == tagEndOfList;
}

void TReader::ReadListEnd() {
  if (ReadByte() != tagEndOfList) Damaged("the end of a list was expected");
}

TLayoutProperty TReader::ReadProperty() {
  TLayoutProperty p;
  p.Name = ReadShortString();
  p.Value = ReadValue(0);
  return p;
}

TLayoutValue TReader::ReadValue() {
  return ReadValue(0);
}

TLayoutValue TReader::ReadValue(int depth) {
  TLayoutValue v;
  const std::uint8_t tag = ReadByte();
  switch (tag) {
    case tagInt32:
      v.ValueKind = TLayoutValue::vkInteger;
      v.Integer = static_cast<std::int32_t>(GetLittle<std::uint32_t>(ReadBytes(4)));
      break;
    case tagInt64:
      v.ValueKind = TLayoutValue::vkInteger;
      v.Integer = static_cast<std::int64_t>(GetLittle<std::uint64_t>(ReadBytes(8)));
      break;
    case tagDouble:
      v.ValueKind = TLayoutValue::vkReal;
      v.Real = std::bit_cast<double>(GetLittle<std::uint64_t>(ReadBytes(8)));
      break;
    case tagString:
      v.ValueKind = TLayoutValue::vkString;
      v.Text = ReadLongString();
      break;
    case tagIdent:
      v.ValueKind = TLayoutValue::vkIdent;
      v.Text = ReadShortString();
      break;
    case tagSet:
      v.ValueKind = TLayoutValue::vkSet;
      while (ReadByte() != 0) {
        --pos_;
        v.Set.push_back(ReadShortString());
      }
      break;
    case tagList:
      if (depth >= kMaxDepth) Damaged("lists nested too deeply");
      v.ValueKind = TLayoutValue::vkList;
      while (!EndOfList()) v.List.push_back(ReadValue(depth + 1));
      ++pos_;
      break;
    case tagBinary:
      v.ValueKind = TLayoutValue::vkBinary;
      v.Text = ReadLongString();
      break;
    default:
      Damaged("unknown value type " + std::to_string(tag));
  }
  return v;
}

}  // namespace platform

// Field access shared by every sentence decoder: the checksum test, the bounded field copy and
// the number readers. Receiver text is untrusted: nothing here reads past a field or writes
// past a buffer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace reader {

// NMEA checksum test of the sentence that begins text (looks only at the first '*').
bool ChecksumOk(const char* text, std::size_t length);

// Copies the field that starts at src (up to the first ',' or '*') into dst, which holds cap
// bytes. True when the field is non-empty and fits (cap - 1 characters at most); otherwise dst
// becomes empty. A null src gives false and leaves dst unchanged.
bool GetField(const char* src, char* dst, std::size_t cap);

enum class FieldRead { Ok, Empty, Bad };

// Steps through a sentence from comma to comma. The walk stops at the first '*': what follows
// it is not covered by the checksum.
class FieldWalker {
 public:
  explicit FieldWalker(const char* line) : line_(line) {}
  // Moves to the next field; false when no ',' follows (the sentence ends there).
  bool Next();
  // Reads the current field. Bad: longer than cap - 1 characters (dst left empty).
  FieldRead Read(char* dst, std::size_t cap) const;
  // The text of the current field and its length, without copying.
  const char* Start() const { return cur_; }
  std::size_t Length() const;

 private:
  const char* line_;
  const char* cur_ = nullptr;
  // End of the current field once measured, so that Next does not walk it a second time.
  mutable const char* end_ = nullptr;
};

// atol/atof as in the "C" locale, whatever the process locale, with defined results for any
// text: integers saturate to the 32-bit range, reals that do not fit a float become +-infinity.
std::int32_t ParseLong(const char* text);
double ParseReal(const char* text);
float ToFloat(double v);

// ParseLong of the two characters at p alone (both are read).
inline std::int32_t ParseTwoDigits(const char* p) {
  if (p[0] >= '0' && p[0] <= '9' && p[1] >= '0' && p[1] <= '9')
    return (p[0] - '0') * 10 + (p[1] - '0');
  const char two[3] = {p[0], p[1], 0};
  return ParseLong(two);
}

}  // namespace reader

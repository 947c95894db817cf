// Sentence text helpers shared by the simulated receiver and its tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// "$" + body + "*HH\r\n" with upper-case digits.
std::string MakeSentence(std::string_view body_without_dollar);

// Two upper-case hexadecimal digits.
std::string HexByte(uint8_t value);

// True when `line` is "$...*HH" (optionally followed by "\r\n") with upper-case digits that match.
bool ChecksumValid(std::string_view line);

// Fields of "$TAG,f1,f2*HH\r\n": element 0 is the tag without "$", then every field.
// Returns nothing when there is no "$" at the start or no "*".
std::optional<std::vector<std::string>> SplitSentence(std::string_view line);

// Splits a byte stream into lines ending in "\r\n" (the terminator is kept).
// A trailing fragment without "\r\n" is returned as the last element.
std::vector<std::string> SplitLines(std::string_view bytes);

// Strict decimal parse of a whole field: optional sign, digits only.
std::optional<long> ParseInt(std::string_view text);

}  // namespace sim

// Command sentences to the receiver: "$PQVU" + number + fields + "*" + checksum + "\r\n".
#pragma once

#include <optional>
#include <string>

namespace console {

// The XOR of every character after the '$' of body, as two upper-case hex digits.
std::string ComputeChecksumHex(const std::string& body);

// body + "*" + checksum + "\r\n"; nothing when the whole would exceed maxLength characters.
std::optional<std::string> BuildSentence(const std::string& body, std::size_t maxLength = 100);

// Fixed sentences (CR LF included).
inline constexpr const char* kHotStart = "$PQVU101*32\r\n";
inline constexpr const char* kWarmStart = "$PQVU102*31\r\n";
inline constexpr const char* kColdStart = "$PQVU103*30\r\n";
inline constexpr const char* kFactoryReset = "$PQVU104*37\r\n";
inline constexpr const char* kAuthorization = "$PQVU809*33\r\n";
inline constexpr const char* kWakeUp = "$PQVU188*33\r\n";
inline constexpr const char* kVersionQuery = "$PQVU605*31\r\n";
inline constexpr const char* kTcxoQuery = "$PQVU456*35\r\n";
inline constexpr const char* kCurrentTest = "$PQVU160*35\r\n";
inline constexpr const char* kFixRateQuery = "$PQVU400*36\r\n";
inline constexpr const char* kIntegrityQuery = "$PQVU419*3E\r\n";
inline constexpr const char* kNmeaRatesQuery = "$PQVU414*33\r\n";
inline constexpr const char* kFlashQuery = "$PQVU490*3F\r\n";
inline constexpr const char* kDatumQuery = "$PQVU430*35\r\n";
inline constexpr const char* kRtcmQuery = "$PQVU602*36\r\n";
inline constexpr const char* kDgpsQuery = "$PQVU401*37\r\n";
inline constexpr const char* kSbasOn = "$PQVU313,1*2E\r\n";
inline constexpr const char* kSbasOff = "$PQVU313,0*2F\r\n";
inline constexpr const char* kDgpsSbas = "$PQVU301,2*2E\r\n";
inline constexpr const char* kDgpsRtcm = "$PQVU301,1*2D\r\n";
inline constexpr const char* kDgpsNone = "$PQVU301,0*2C\r\n";
inline constexpr const char* kIntegrityMode = "$PQVU319,1*24\r\n";
inline constexpr const char* kTestMode = "$PQVU319,0*25\r\n";

}  // namespace console

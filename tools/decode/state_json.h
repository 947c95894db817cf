// The receiver state as one line of JSON, keys named as the state's members. Kept out of the
// reader library so that the reader carries no JSON dependency.
#pragma once

#include <cstdint>
#include <string>

#include "reader/receiver_state.h"

namespace decode {

// One JSON object on one line, without the line end. Receiver text is 8-bit and taken as
// Latin-1; reals print as the shortest text that reads back as the same float, NaN as null.
std::string StateToJson(const reader::ReceiverState& s, std::int32_t ackOk, std::int32_t ackFail);

}  // namespace decode

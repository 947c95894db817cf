// The receiver state as one JSON object, keys named as the state's members.
#pragma once

#include <cstdint>
#include <string>

#include "reader/receiver_state.h"

namespace reader {

std::string StateToJson(const ReceiverState& s, std::int32_t ackOk, std::int32_t ackFail);

}  // namespace reader

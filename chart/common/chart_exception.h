// The chart library's exception: its message is one of the message-table texts, filled in.
#pragma once

#include <string>

#include "platform/vcl/exception.h"

namespace chart {

class ChartException : public platform::Exception {
 public:
  using platform::Exception::Exception;
};

}  // namespace chart

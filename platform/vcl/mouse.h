// Mouse buttons, the shift state that comes with every mouse and key event, and the handler
// types of mouse events.
#pragma once

#include <functional>

#include "platform/vcl/component.h"
#include "platform/vcl/geometry.h"

namespace platform {

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

}  // namespace platform

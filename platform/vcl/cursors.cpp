#include "platform/vcl/cursors.h"

#include <map>
#include <mutex>

namespace platform {

namespace {

std::mutex cursorsMutex;

std::map<TCursor, TCursorShape>& Extra() {
  static std::map<TCursor, TCursorShape> cursors;
  return cursors;
}

}  // namespace

void SetScreenCursor(TCursor id, TCursorShape shape) {
  std::lock_guard<std::mutex> lock(cursorsMutex);
  Extra()[id] = shape;
}

void RemoveScreenCursor(TCursor id) {
  std::lock_guard<std::mutex> lock(cursorsMutex);
  Extra().erase(id);
}

bool HasScreenCursor(TCursor id) {
  std::lock_guard<std::mutex> lock(cursorsMutex);
  return Extra().count(id) > 0;
}

TCursorShape ScreenCursorShape(TCursor id) {
  switch (id) {
    case crCross:
      return TCursorShape::Cross;
    case crIBeam:
      return TCursorShape::IBeam;
    case crSizeAll:
      return TCursorShape::SizeAll;
    case crHandPoint:
      return TCursorShape::PointingHand;
    default:
      break;
  }
  std::lock_guard<std::mutex> lock(cursorsMutex);
  const auto it = Extra().find(id);
  return it == Extra().end() ? TCursorShape::Arrow : it->second;
}

}  // namespace platform

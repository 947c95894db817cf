// Cursor numbers as the component layer knows them: the standard ones, and a screen-wide list
// of extra cursors that components register under numbers of their own.
#pragma once

namespace platform {

using TCursor = int;

constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crHandPoint = -21;

// Shapes an extra cursor can take.
enum class TCursorShape { Arrow, Cross, IBeam, SizeAll, PointingHand, OpenHand, ClosedHand };

// Adds (or replaces) an extra cursor under number id.
void SetScreenCursor(TCursor id, TCursorShape shape);
void RemoveScreenCursor(TCursor id);
bool HasScreenCursor(TCursor id);
// The shape a control with this cursor shows: a standard cursor's own, a registered one's, the
// arrow for an unknown number.
TCursorShape ScreenCursorShape(TCursor id);

}  // namespace platform

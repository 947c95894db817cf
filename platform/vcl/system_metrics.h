// Sizes of the desktop's window parts, by the original platform's metric indexes.
#pragma once

namespace platform {

// The width of a button in a window's title bar.
constexpr int SM_CXSIZE = 30;

// The metric in pixels; 0 for an index not known here.
int GetSystemMetrics(int index);

}  // namespace platform

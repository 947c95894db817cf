// Small helpers the solids of the 3D canvas share (not for use outside canvas3d_solids*.cpp).
#pragma once

#include "chart/canvas/canvas3d.h"

namespace chart::solids {

// Clamped into the 32-bit range.
int Sat(long long v);
// (U - V) x (W - V), the facing test's cross product, without overflow.
long double Cross(const TPoint& u, const TPoint& v, const TPoint& w);
// The colour a solid darkens from: the brush colour of a solid brush, else the back colour.
TColor FaceColor(TPlotCanvas& canvas);
void RestoreFaceColor(TPlotCanvas3D& canvas, TColor c);

}  // namespace chart::solids

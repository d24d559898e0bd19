#pragma once

#include "layout/octilinearlayout.h"

#include <QPoint>

#include <vector>

// Mending a schematic where it leaves the eight directions or crosses lines that the ground does
// not, a few pixels at a time, after the grid's layout.

namespace lirsk {

// Moves stations of a schematic (their places in pixels, in point order) by at most `reach`
// pixels (three times that for a station of a new crossing) where that draws more of their links
// horizontally, vertically or at 45 degrees, or makes fewer new crossings, never worse in either,
// never nearer than `gap` pixels to another station or to a link not its own, never further than
// `reach` from a station a walk joins it to where it was nearer, and never turning the links
// around a station out of their order on the ground: a station alone to where its links meet the
// eight directions through its neighbours, or the straight run of a line beyond a station shifted
// across itself, its bend at the far end taking the shift up.
void repairSchematic(const OctilinearInput& geography, std::vector<QPoint>& placed, int reach,
                     int gap);

} // namespace lirsk

#pragma once

#include <QString>

// How much room a stop name takes on the map. The generator links QtCore only, so it cannot ask
// a font; it adds up the advance widths of Arial (the face the metro maps use), which the
// metric-compatible Liberation Sans shares.

namespace mapgen {

// Width in pixels of the text in Arial at the given size in points, on a 96 dpi screen.
int arialTextWidth(const QString& text, int points);
// Height in pixels of one line of Arial at that size (ascent plus descent), rounded up.
int arialLineHeight(int points);

} // namespace mapgen

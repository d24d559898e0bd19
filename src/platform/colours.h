#pragma once

#include "model/graphmap.h"

#include <QColor>

// Map colours as the screen shows them: 0x00BBGGRR plain colours, 0xFF0000nn the desktop's
// system colour number nn, taken from the application palette.

namespace lirsk {

QColor systemColour(int index);
QColor toQColor(Colour colour);
// The window background (system colour 5) that clears the graph image.
QColor windowColour();

} // namespace lirsk

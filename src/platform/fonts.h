#pragma once

#include "model/graphmap.h"

#include <QFont>
#include <QString>

// Font faces stored in maps are Windows faces ("MS Sans Serif", "Arial", "Times New Roman");
// each is shown in an installed face that has the Cyrillic letters.

namespace lirsk {

// The installed family that stands for a stored face name.
QString mapFontFace(const QString& storedFace);
// The screen font of a stored font: the mapped face, the size at 96 pixels an inch, the style.
QFont toQFont(const FontSpec& spec);

} // namespace lirsk

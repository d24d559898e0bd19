#pragma once

#include <QPoint>
#include <QString>

class QPainter;

namespace lirsk {

// Draws a line of text in the painter's font and pen with its top left at a point, as
// QPainter::drawText does at the point's baseline. On a picture painted without scaling (the
// map at 100 %, repainted at every step of a drag) each text is shaped once and kept.
void drawPlainText(QPainter& painter, const QPoint& topLeft, int ascent, const QString& text);

} // namespace lirsk

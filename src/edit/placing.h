#pragma once

#include "document/edits.h"

#include <QPoint>

#include <vector>

// Where stops go when a map maker lines them up: on a grid, side by side, evenly spaced. Each
// gives the new places of the stops; a stop's name moves along with it.

namespace lirsk {

enum class Alignment { Left, Centre, Right, Top, Middle, Bottom };

// The grid point nearest to a point (a step below 2 leaves the point as it is).
QPoint snapToGrid(const QPoint& point, int step);

// The stops moved by (dx, dy), none past the map's top or left edge.
std::vector<StopPlace> shiftedPlaces(const GraphMap& map, const std::vector<StopIndex>& stops,
                                     int dx, int dy);
// The stops' boxes lined up on one edge, or their centres on the middle, of the box of them all.
std::vector<StopPlace> alignedPlaces(const GraphMap& map, const std::vector<StopIndex>& stops,
                                     Alignment alignment);
// The stops' centres spaced evenly between the two outermost, across or down.
std::vector<StopPlace> spreadPlaces(const GraphMap& map, const std::vector<StopIndex>& stops,
                                    Qt::Orientation orientation);

} // namespace lirsk

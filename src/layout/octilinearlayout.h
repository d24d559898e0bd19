#pragma once

#include <QPoint>
#include <QPointF>

#include <utility>
#include <vector>

// A schematic drawing of a transit network: every station on a square grid, every link a straight
// line running horizontally, vertically or at 45 degrees, neighbouring stations of a line one grid
// step apart where there is room, lines bending only at the junctions between them and at few
// stations, and the drawing's topology that of the geography: the links around each junction in
// their geographic order, and no two links crossing that do not cross on the ground.

namespace lirsk {

struct OctilinearInput {
    std::vector<QPointF> points;            // each station's geographic place (any unit, y down)
    std::vector<std::pair<int, int>> links; // undirected, between points; repeats are ignored
    std::vector<std::pair<int, int>> walks; // stations kept near each other, not joined by lines
    // Links drawn through the stations they pass by, not among `links`: each the stations from
    // one end to the other; a line bends at the stations between only where it must.
    std::vector<std::vector<int>> expresses;
};

struct OctilinearLayout {
    std::vector<QPoint> cells; // each station's grid cell, in point order
    int links = 0;             // distinct links laid out
    int octilinearLinks = 0;   // of them, how many run in one of the eight directions
    int newCrossings = 0;      // pairs of links that cross here but not on the ground
};

// Lays the network out on the grid.
OctilinearLayout layOutOctilinear(const OctilinearInput& input);

// The pairs of links that cross at one point among the placed positions but not among the
// geographic ones; links that share a station never count.
int countNewCrossings(const OctilinearInput& geography, const std::vector<QPointF>& placed);

} // namespace lirsk

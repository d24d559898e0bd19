#pragma once

#include <vector>

// The arrows of the map as plain geometry: every figure is a list of strokes in map coordinates
// (integer pixels, x to the right, y downwards), ready for any canvas to draw with its own pen.

namespace lirsk {

struct MapPoint {
    int x = 0;
    int y = 0;
    bool operator==(const MapPoint&) const = default;
};

// One polyline: the pen goes through the points in order.
using Stroke = std::vector<MapPoint>;

// A straight one-way arc: the shaft and the head, or nothing when both ends coincide.
struct StraightArcShape {
    bool drawn = false;
    MapPoint tip;  // the head's point, setback short of the end
    MapPoint base; // where the head's wings meet the shaft
    std::vector<Stroke> strokes;
};

// A curved arc: one of a pair of opposite arcs between the same stops, bowed to its own left.
struct CurvedArcShape {
    bool drawn = false;
    MapPoint tip;
    MapPoint mid;    // middle of the chord from the start to the tip
    MapPoint centre; // centre of the circle the curve follows
    int radius = 0;
    // The curve runs counter-clockwise on the screen from the ray centre -> tip to the ray
    // centre -> start; the angles are in degrees, counter-clockwise from the positive x axis.
    double startAngle = 0;
    double spanAngle = 0;
    MapPoint start;   // the arc's start point (for the second ray)
    MapPoint labelAt; // top-left corner of the length text, on the bulge side
    std::vector<Stroke> head;
};

// Arrow type 0 is the eared arrow, any other value the unfilled triangle. A setback of 0 puts
// the tip on the end point. arrowAngle is the ratio of a head's length to its half-width.
StraightArcShape straightArc(int x1, int y1, int x2, int y2, int setback, int arrowType,
                             int arrowSize, double arrowAngle);
CurvedArcShape curvedArc(int x1, int y1, int x2, int y2, int setback, int arrowType, int arrowSize,
                         double arrowAngle);

// Where a link's length goes: the midpoint of the two stop centres.
MapPoint midpointLabel(MapPoint from, MapPoint to);

// The corner ellipse of a selected stop's rounded square.
int selectedCornerSize(int side);

} // namespace lirsk

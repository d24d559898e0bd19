#include "view/arrowgeometry.h"

#include "model/numberformat.h"

#include <cmath>
#include <numbers>

namespace lirsk {

namespace {

int rnd(double v) {
    return roundHalfEven(v);
}

int distance(double dx, double dy) {
    return rnd(std::sqrt(dx * dx + dy * dy));
}

// The point setback pixels short of the end, on the way from the start.
MapPoint tipOf(int x1, int y1, int x2, int y2, int length, int setback) {
    if (setback == 0)
        return {x2, y2};
    const double q = double(length) / setback;
    return {rnd(x2 - (double(x2) - x1) / q), rnd(y2 - (double(y2) - y1) / q)};
}

// The two wings stand at right angles to the head, |tip - base| / angle away from the base. A
// zero angle (only a damaged file holds one) folds them onto the base.
std::pair<MapPoint, MapPoint> wingsOf(MapPoint base, MapPoint tip, double angle) {
    if (angle == 0 || !std::isfinite(angle))
        return {base, base};
    const MapPoint w1{rnd(base.x + (double(base.y) - tip.y) / angle),
                      rnd(base.y + (double(tip.x) - base.x) / angle)};
    const MapPoint w2{rnd(base.x + (double(tip.y) - base.y) / angle),
                      rnd(base.y + (double(base.x) - tip.x) / angle)};
    return {w1, w2};
}

double rayAngle(MapPoint from, MapPoint to) {
    return std::atan2(double(from.y) - to.y, double(to.x) - from.x) * 180.0 / std::numbers::pi;
}

} // namespace

StraightArcShape straightArc(int x1, int y1, int x2, int y2, int setback, int arrowType,
                             int arrowSize, double arrowAngle) {
    StraightArcShape shape;
    const int length = distance(double(x2) - x1, double(y2) - y1);
    if (length == 0)
        return shape;
    shape.drawn = true;
    const MapPoint tip = tipOf(x1, y1, x2, y2, length, setback);
    const double q = double(length) / arrowSize;
    const MapPoint base{rnd(tip.x - (double(tip.x) - x1) / q),
                        rnd(tip.y - (double(tip.y) - y1) / q)};
    const auto [w1, w2] = wingsOf(base, tip, arrowAngle);
    shape.tip = tip;
    shape.base = base;
    if (arrowType == 0) {
        shape.strokes.push_back({{x1, y1}, {x2, y2}});
        shape.strokes.push_back({w1, tip, w2});
    } else {
        shape.strokes.push_back({{x1, y1}, base});
        shape.strokes.push_back({tip, w1, w2, tip});
    }
    return shape;
}

CurvedArcShape curvedArc(int x1, int y1, int x2, int y2, int setback, int arrowType, int arrowSize,
                         double arrowAngle) {
    CurvedArcShape shape;
    const int length = distance(double(x2) - x1, double(y2) - y1);
    if (length == 0)
        return shape;
    const MapPoint tip = tipOf(x1, y1, x2, y2, length, setback);
    const int chord = distance(double(tip.x) - x1, double(tip.y) - y1);
    const int half = chord / 2;
    // A chord of one pixel has no middle to bow from: nothing is drawn, as for no chord at all.
    if (half == 0)
        return shape;
    shape.drawn = true;
    const double q = double(chord) / half;
    const MapPoint mid{rnd(tip.x - (double(tip.x) - x1) / q),
                       rnd(tip.y - (double(tip.y) - y1) / q)};
    const MapPoint centre{rnd(mid.x + (double(mid.y) - tip.y) / 0.5),
                          rnd(mid.y + (double(tip.x) - mid.x) / 0.5)};
    shape.tip = tip;
    shape.mid = mid;
    shape.centre = centre;
    shape.radius = rnd(half * 2.24);
    shape.start = {x1, y1};
    shape.startAngle = rayAngle(centre, tip);
    double span = rayAngle(centre, shape.start) - shape.startAngle;
    while (span <= 0)
        span += 360;
    while (span > 360)
        span -= 360;
    shape.spanAngle = span;
    shape.labelAt = {rnd(mid.x - (double(mid.y) - tip.y) / 4.0),
                     rnd(mid.y - (double(tip.x) - mid.x) / 4.0)};

    const MapPoint ref{rnd(mid.x - (double(mid.y) - tip.y) / 2.0),
                       rnd(mid.y - (double(tip.x) - mid.x) / 2.0)};
    const double c = double(chord) / arrowSize;
    const MapPoint base{rnd(tip.x - (double(tip.x) - ref.x) / c),
                        rnd(tip.y - (double(tip.y) - ref.y) / c)};
    const auto [w1, w2] = wingsOf(base, tip, arrowAngle);
    Stroke head{w1, tip, w2};
    if (arrowType == 1)
        head.push_back(w1);
    shape.head.push_back(head);
    return shape;
}

MapPoint midpointLabel(MapPoint from, MapPoint to) {
    return {rnd(from.x + (double(to.x) - from.x) / 2.0),
            rnd(from.y + (double(to.y) - from.y) / 2.0)};
}

int selectedCornerSize(int side) {
    return rnd(side / 3.913);
}

} // namespace lirsk

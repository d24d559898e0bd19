#include "edit/placing.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace lirsk {

namespace {

StopPlace movedBy(const Stop& stop, int dx, int dy) {
    return {stop.Left + dx, stop.Top + dy, stop.Label.Left + dx, stop.Label.Top + dy};
}

// A stop's left edge, right edge and centre across (or top, bottom and middle down).
struct Extent {
    int low, high, centre;
};
Extent extentOf(const Stop& stop, Qt::Orientation orientation) {
    return orientation == Qt::Horizontal ? Extent{stop.Left, stop.Left + stop.Width, stop.centreX()}
                                         : Extent{stop.Top, stop.Top + stop.Height, stop.centreY()};
}

StopPlace movedAlong(const Stop& stop, Qt::Orientation orientation, int delta) {
    return orientation == Qt::Horizontal ? movedBy(stop, delta, 0) : movedBy(stop, 0, delta);
}

} // namespace

QPoint snapToGrid(const QPoint& point, int step) {
    if (step < 2)
        return point;
    const auto snap = [step](int value) { return int(std::lround(double(value) / step)) * step; };
    return {snap(point.x()), snap(point.y())};
}

std::vector<StopPlace> shiftedPlaces(const GraphMap& map, const std::vector<StopIndex>& stops,
                                     int dx, int dy) {
    // The group moves as one: no further than its leftmost and topmost stop can go.
    for (const StopIndex index : stops) {
        dx = std::max(dx, -map.stop(index).Left);
        dy = std::max(dy, -map.stop(index).Top);
    }
    std::vector<StopPlace> places;
    for (const StopIndex index : stops)
        places.push_back(movedBy(map.stop(index), dx, dy));
    return places;
}

std::vector<StopPlace> alignedPlaces(const GraphMap& map, const std::vector<StopIndex>& stops,
                                     Alignment alignment) {
    const Qt::Orientation orientation = alignment == Alignment::Left ||
                                                alignment == Alignment::Centre ||
                                                alignment == Alignment::Right
                                            ? Qt::Horizontal
                                            : Qt::Vertical;
    int low = INT_MAX, high = INT_MIN;
    for (const StopIndex index : stops) {
        const Extent e = extentOf(map.stop(index), orientation);
        low = std::min(low, e.low);
        high = std::max(high, e.high);
    }
    std::vector<StopPlace> places;
    for (const StopIndex index : stops) {
        const Stop& stop = map.stop(index);
        const Extent e = extentOf(stop, orientation);
        int delta = 0;
        switch (alignment) {
        case Alignment::Left:
        case Alignment::Top:
            delta = low - e.low;
            break;
        case Alignment::Right:
        case Alignment::Bottom:
            delta = high - e.high;
            break;
        case Alignment::Centre:
        case Alignment::Middle:
            delta = (low + high) / 2 - e.centre;
            break;
        }
        places.push_back(movedAlong(stop, orientation, delta));
    }
    return places;
}

std::vector<StopPlace> spreadPlaces(const GraphMap& map, const std::vector<StopIndex>& stops,
                                    Qt::Orientation orientation) {
    std::vector<std::size_t> order(stops.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const auto centre = [&](std::size_t i) {
        return extentOf(map.stop(stops[i]), orientation).centre;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return centre(a) < centre(b); });
    std::vector<StopPlace> places;
    for (const StopIndex index : stops)
        places.push_back(placeOf(map.stop(index)));
    if (order.size() < 3)
        return places;
    const double first = centre(order.front()), last = centre(order.back());
    const double gap = (last - first) / double(order.size() - 1);
    for (std::size_t k = 1; k + 1 < order.size(); ++k) {
        const std::size_t i = order[k];
        const int delta = int(std::lround(first + gap * double(k))) - centre(i);
        places[i] = movedAlong(map.stop(stops[i]), orientation, delta);
    }
    return places;
}

} // namespace lirsk

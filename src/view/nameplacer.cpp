#include "view/nameplacer.h"

#include "view/maprenderer.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace lirsk {

namespace {

// Far out a name is never drawn less than this many pixels high.
constexpr double kLegibleNamePixels = 10;
// The gap between a name and its stop, in screen pixels.
constexpr double kGap = 2;
// What a place costs: each stroke it crosses, each step farther out, half a line up or down;
// against that the places round a stop cost one more each in their order.
constexpr double kStrokeCost = 10;
constexpr double kRingCost = 12;
constexpr double kShiftCost = 3;
// How many steps out from its stop a name may stand: far out, where a name stands for a wider
// part of the city, fewer.
constexpr int kRings = 8;
constexpr int kRingsFarOut = 3;

// A stroke of the drawn map in screen pixels: its ends, half its width and the routes in it.
struct Stroke {
    QPointF a, b;
    double halfWidth;
    int routes;
};

// Whether the segment a-b meets the rectangle (Liang and Barsky's clipping).
bool meets(const QPointF& a, const QPointF& b, const QRectF& r) {
    double t0 = 0, t1 = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x() - r.left(), r.right() - a.x(), a.y() - r.top(), r.bottom() - a.y()};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0)
                return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

QRect gridBox(const QRectF& r) {
    return r.toAlignedRect();
}

class Placer {
public:
    Placer(const GraphMap& map, const LineBundles& lines, double zoom)
        : m_map(map), m_lines(lines), m_zoom(zoom) {
        collectMarks();
        collectStrokes();
    }

    // The free place round a stop with the fewest strokes under it, or an empty one.
    QRectF bestPlace(StopIndex stop, const QSizeF& size) const {
        const QPointF c = centre(stop);
        const double w = size.width(), h = size.height();
        // Right, left, above, below, then the corners; each first beside the stop's mark, then
        // farther out in steps of three quarters of a line.
        constexpr int kDirections[][2] = {{1, 0},  {-1, 0}, {0, -1},  {0, 1},
                                          {1, -1}, {1, 1},  {-1, -1}, {-1, 1}};
        // What could be in the way of any of the places, looked up once.
        const int rings = m_zoom < 1.0 ? kRingsFarOut : kRings;
        const double farthest = m_radius[std::size_t(stop)] + kGap + rings * h + 2;
        const QRectF around(c.x() - farthest - w, c.y() - farthest - h, 2 * (farthest + w),
                            2 * (farthest + h));
        std::vector<QRectF> near;
        for (const int item : m_taken.query(gridBox(around)))
            if (item != stop)
                near.push_back(m_takenBoxes[std::size_t(item)]);
        const auto clear = [&](const QRectF& place) {
            if (!m_bounds.contains(place))
                return false;
            // At least a pixel apart from anything else.
            const QRectF apart = place.adjusted(-1, -1, 1, 1);
            return std::none_of(near.begin(), near.end(),
                                [&](const QRectF& box) { return box.intersects(apart); });
        };
        QRectF best;
        double bestCost = 0;
        const auto consider = [&](const QRectF& place, double cost) {
            if ((!best.isEmpty() && cost >= bestCost) || !clear(place))
                return;
            cost += kStrokeCost * strokesUnder(place);
            if (best.isEmpty() || cost < bestCost) {
                best = place;
                bestCost = cost;
            }
        };
        for (int ring = 0; ring < rings; ++ring) {
            const double reach = m_radius[std::size_t(stop)] + kGap + ring * h * 0.75;
            for (int k = 0; k < int(std::size(kDirections)); ++k) {
                const int dx = kDirections[k][0], dy = kDirections[k][1];
                const double along = dx && dy ? reach * 0.7 : reach;
                const double left = dx > 0   ? c.x() + along
                                    : dx < 0 ? c.x() - along - w
                                             : c.x() - w / 2;
                const double top = dy > 0   ? c.y() + along
                                   : dy < 0 ? c.y() - along - h
                                            : c.y() - h / 2;
                const double cost = kRingCost * ring + k;
                consider(QRectF(left, top, w, h), cost);
                // Beside the stop, a name may also stand half a line higher or lower.
                if (dy == 0 && ring == 0) {
                    consider(QRectF(left, top - h / 2, w, h), cost + kShiftCost);
                    consider(QRectF(left, top + h / 2, w, h), cost + kShiftCost);
                }
            }
        }
        return best;
    }

    // Whether a place is inside the map and clear of every other stop and every name taken.
    bool isFree(const QRectF& place, StopIndex own) const {
        if (!m_bounds.contains(place))
            return false;
        // At least a pixel apart from anything else.
        const QRectF apart = place.adjusted(-1, -1, 1, 1);
        for (const int item : m_taken.query(gridBox(apart))) {
            if (item == own)
                continue;
            if (m_takenBoxes[std::size_t(item)].intersects(apart))
                return false;
        }
        return true;
    }

    void take(const QRectF& place) {
        const int item = int(m_takenBoxes.size());
        m_takenBoxes.push_back(place);
        m_taken.insert(item, gridBox(place));
    }

    void setBounds(const QRectF& bounds) { m_bounds = bounds; }

private:
    QPointF centre(StopIndex stop) const {
        const MapPoint c = shownCentre(m_map.stop(stop));
        return QPointF(c.x, c.y) * m_zoom;
    }

    // Every stop's mark as a box taken (numbered as the stops).
    void collectMarks() {
        const double width = lineStrokeWidth(m_zoom);
        for (StopIndex i = 0; i < m_map.stopCount(); ++i) {
            const int routes = m_zoom < kOneLineBelow ? 1 : m_lines.widthAt(i);
            // The larger of the stop's mark and its own circle, where the mouse takes it.
            const double radius =
                std::max(routes >= 2 ? routes * width / 2 + width * 0.4 : width * 1.1,
                         double(shownSize(m_map.stop(i).Radius)));
            m_radius.push_back(std::max(radius * m_zoom, 2.0));
            const QPointF c = centre(i);
            const double r = m_radius.back();
            take(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r));
        }
    }

    void collectStrokes() {
        const double width = lineStrokeWidth(m_zoom) * m_zoom;
        for (const LineBundle& b : m_lines.bundles())
            addStroke(b.a, b.b, width * double(b.routes.size()) / 2, int(b.routes.size()));
        for (StopIndex i = 0; i < m_map.stopCount(); ++i)
            for (const Link& link : m_map.stop(i).Links)
                if (m_lines.find(i, link.To) < 0)
                    addStroke(i, link.To, 1, 1);
    }

    void addStroke(StopIndex from, StopIndex to, double halfWidth, int routes) {
        const Stroke s{centre(from), centre(to), halfWidth, routes};
        m_strokeGrid.insert(int(m_strokes.size()),
                            gridBox(QRectF(s.a, s.b).normalized().adjusted(-halfWidth, -halfWidth,
                                                                           halfWidth, halfWidth)));
        m_strokes.push_back(s);
    }

    int strokesUnder(const QRectF& place) const {
        int count = 0;
        for (const int k : m_strokeGrid.query(gridBox(place))) {
            const Stroke& s = m_strokes[std::size_t(k)];
            if (meets(s.a, s.b,
                      place.adjusted(-s.halfWidth, -s.halfWidth, s.halfWidth, s.halfWidth)))
                count += s.routes;
        }
        return count;
    }

    const GraphMap& m_map;
    const LineBundles& m_lines;
    double m_zoom;
    QRectF m_bounds;
    std::vector<double> m_radius;
    std::vector<QRectF> m_takenBoxes;
    SpatialGrid m_taken{64};
    std::vector<Stroke> m_strokes;
    SpatialGrid m_strokeGrid{128};
};

} // namespace

void NamesAtZooms::keep(NamesAtZoom names) {
    // A placement holds a box per stop: a handful is enough for zooming back and forth.
    constexpr std::size_t kKept = 4;
    if (m_kept.size() == kKept)
        m_kept.erase(m_kept.begin());
    m_kept.push_back(std::move(names));
}

std::optional<NamesAtZoom> NamesAtZooms::take(double zoom) {
    const auto found = std::find_if(m_kept.begin(), m_kept.end(),
                                    [zoom](const NamesAtZoom& kept) { return kept.zoom == zoom; });
    if (found == m_kept.end())
        return std::nullopt;
    NamesAtZoom names = std::move(*found);
    m_kept.erase(found);
    return names;
}

double nameScale(int height, double zoom, bool placedByProgram) {
    if (zoom >= 1.0)
        return placedByProgram ? 1.0 / zoom : 1.0;
    if (height <= 0 || height * zoom >= kLegibleNamePixels)
        return 1.0;
    return kLegibleNamePixels / (height * zoom);
}

NamePlaces placeNames(const GraphMap& map, const LineBundles& lines,
                      const std::vector<StopIndex>& order, const std::vector<bool>& placed,
                      const std::vector<QSize>& natural, double zoom, const QRectF& bounds) {
    NamePlaces result;
    result.boxes.assign(std::size_t(map.stopCount()), QRectF());
    Placer placer(map, lines, zoom);
    placer.setBounds(QRectF(bounds.topLeft() * zoom, bounds.size() * zoom));
    const auto shownSize = [&](StopIndex stop) {
        const QSize size = natural[std::size_t(stop)];
        const double scale = nameScale(size.height(), zoom, placed[std::size_t(stop)]) * zoom;
        return QSizeF(size.width() * scale, size.height() * scale);
    };
    const auto show = [&](StopIndex stop, const QRectF& onScreen) {
        placer.take(onScreen);
        const QRectF box(onScreen.topLeft() / zoom, onScreen.size() / zoom);
        result.boxes[std::size_t(stop)] = box;
        result.shown.insert(stop, box.toAlignedRect());
    };
    // Names kept at their stored places go first: closer in every one of them shows.
    const auto named = [&](StopIndex stop) {
        return map.stop(stop).Label.Visible && !natural[std::size_t(stop)].isEmpty();
    };
    for (const StopIndex stop : order) {
        if (placed[std::size_t(stop)] || !named(stop))
            continue;
        const Stop& s = map.stop(stop);
        const QRectF onScreen(QPointF(s.Label.Left, s.Label.Top) * zoom, shownSize(stop));
        if (zoom >= 1.0 || placer.isFree(onScreen, stop))
            show(stop, onScreen);
    }
    for (const StopIndex stop : order) {
        if (!placed[std::size_t(stop)] || !named(stop))
            continue;
        const QRectF place = placer.bestPlace(stop, shownSize(stop));
        if (!place.isEmpty())
            show(stop, place);
    }
    return result;
}

NamePlaces placeDescribedNames(const GraphMap& map, const MapDescription& description,
                               const LineBundles& lines, double zoom, const QRectF& bounds) {
    const std::vector<bool> placed = namesPlacedByProgram(map, description.placedNames);
    if (std::find(placed.begin(), placed.end(), true) == placed.end())
        return {};
    std::vector<QSize> sizes;
    for (const Stop& stop : map.stops())
        sizes.push_back(nameLabelRect(stop).size());
    return placeNames(map, lines, namesByImportance(map), placed, sizes, zoom, bounds);
}

std::vector<StopIndex> namesByImportance(const GraphMap& map) {
    struct Rank {
        int routes, links;
        StopIndex stop;
    };
    std::vector<int> links(std::size_t(map.stopCount()), 0);
    for (const Stop& stop : map.stops())
        for (const Link& link : stop.Links)
            if (map.isStop(link.To))
                ++links[std::size_t(link.To)];
    std::vector<Rank> ranks;
    for (StopIndex i = 0; i < map.stopCount(); ++i) {
        const Stop& stop = map.stop(i);
        if (stop.Label.Visible && !stop.Label.Caption.isEmpty())
            ranks.push_back({int(stop.Routes.count(QLatin1Char(' '))),
                             int(stop.Links.size()) + links[std::size_t(i)], i});
    }
    std::sort(ranks.begin(), ranks.end(), [](const Rank& a, const Rank& b) {
        if (a.routes != b.routes)
            return a.routes > b.routes;
        if (a.links != b.links)
            return a.links > b.links;
        return a.stop < b.stop;
    });
    std::vector<StopIndex> order;
    for (const Rank& r : ranks)
        order.push_back(r.stop);
    return order;
}

std::vector<bool> namesPlacedByProgram(const GraphMap& map, const QList<PlacedName>& placed) {
    QHash<int, std::pair<int, int>> offsets;
    for (const PlacedName& name : placed)
        offsets.insert(name.stopId, {name.dx, name.dy});
    std::vector<bool> result(std::size_t(map.stopCount()), false);
    for (StopIndex i = 0; i < map.stopCount(); ++i) {
        const Stop& stop = map.stop(i);
        const auto it = offsets.constFind(stop.Id);
        result[std::size_t(i)] = stop.Label.Visible && it != offsets.cend() &&
                                 it->first == stop.Label.Left - stop.Left &&
                                 it->second == stop.Label.Top - stop.Top;
    }
    return result;
}

} // namespace lirsk

#include "layout/schematicmap.h"

#include "layout/octilinearlayout.h"
#include "layout/schematicrepair.h"
#include "view/linebundles.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>

namespace lirsk {

QList<LaidOutStop> placesOf(const GraphMap& map) {
    QList<LaidOutStop> places;
    places.reserve(map.stopCount());
    for (const Stop& stop : map.stops())
        places.append({stop.Id, stop.Left, stop.Top});
    return places;
}

void moveToLayout(GraphMap& map, const QList<LaidOutStop>& places) {
    const StopIdLookup byId(map);
    for (const LaidOutStop& place : places) {
        const StopIndex index = byId.find(place.stopId);
        if (index == NoStop)
            continue;
        Stop& stop = map.stop(index);
        const int dx = place.left - stop.Left, dy = place.top - stop.Top;
        stop.Left = place.left;
        stop.Top = place.top;
        stop.Label.Left = saturatedSum(stop.Label.Left, dx);
        stop.Label.Top = saturatedSum(stop.Label.Top, dy);
    }
}

namespace {

// Pixels between the stations of one interchange in the schematic.
constexpr int kInterchangeSpacing = 8;

// Each station's interchange: stations of different lines that a short walk joins are laid out as
// one place, so the lines through them meet there as they do on the ground; two platforms of the
// same lines stay apart, each on its own track. A walk counts as short up to this share of the
// median length of a ride between neighbouring stations, and the stations of one interchange are
// all that close to each other: walks that chain from one interchange to the next (a downtown's
// stations a few hundred metres apart) do not make them one, which would pull lines together
// that the ground keeps apart. The shortest walks join first.
std::vector<int> interchanges(const OctilinearInput& input, const QStringList& routes) {
    constexpr double kShortWalk = 0.6;
    const auto length = [&](std::pair<int, int> link) {
        const QPointF d =
            input.points[std::size_t(link.first)] - input.points[std::size_t(link.second)];
        return std::hypot(d.x(), d.y());
    };
    std::vector<double> rides;
    for (const auto& link : input.links)
        rides.push_back(length(link));
    std::vector<int> parent(input.points.size());
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&](int v) {
        while (parent[std::size_t(v)] != v)
            v = parent[std::size_t(v)] = parent[std::size_t(parent[std::size_t(v)])];
        return v;
    };
    if (!rides.empty()) {
        std::nth_element(rides.begin(), rides.begin() + rides.size() / 2, rides.end());
        const double shortWalk = kShortWalk * rides[rides.size() / 2];
        std::vector<std::pair<int, int>> walks;
        for (const auto& walk : input.walks)
            if (length(walk) <= shortWalk &&
                routes[std::size_t(walk.first)] != routes[std::size_t(walk.second)])
                walks.push_back(walk);
        std::sort(walks.begin(), walks.end(),
                  [&](const auto& x, const auto& y) { return length(x) < length(y); });
        std::vector<std::vector<int>> members(input.points.size());
        for (std::size_t v = 0; v < members.size(); ++v)
            members[v] = {int(v)};
        for (const auto& [a, b] : walks) {
            const int ra = root(a), rb = root(b);
            if (ra == rb)
                continue;
            const std::vector<int>&ma = members[std::size_t(ra)], &mb = members[std::size_t(rb)];
            const bool close = std::ranges::all_of(ma, [&](int x) {
                return std::ranges::all_of(mb, [&](int y) { return length({x, y}) <= shortWalk; });
            });
            if (!close)
                continue;
            parent[std::size_t(ra)] = rb;
            members[std::size_t(rb)].insert(members[std::size_t(rb)].end(), ma.begin(), ma.end());
        }
    }
    std::vector<int> group(input.points.size(), -1), number(input.points.size(), -1);
    int groups = 0;
    for (std::size_t v = 0; v < group.size(); ++v) {
        int& n = number[std::size_t(root(int(v)))];
        if (n < 0)
            n = groups++;
        group[v] = n;
    }
    return group;
}

// The network with each interchange one station at the middle of its stations.
OctilinearInput joined(const OctilinearInput& input, const std::vector<int>& group) {
    OctilinearInput result;
    const int groups = group.empty() ? 0 : *std::max_element(group.begin(), group.end()) + 1;
    result.points.assign(std::size_t(groups), QPointF());
    std::vector<int> members(std::size_t(groups), 0);
    for (std::size_t v = 0; v < group.size(); ++v) {
        result.points[std::size_t(group[v])] += input.points[v];
        ++members[std::size_t(group[v])];
    }
    for (int g = 0; g < groups; ++g)
        result.points[std::size_t(g)] /= members[std::size_t(g)];
    const auto map = [&](const std::vector<std::pair<int, int>>& from,
                         std::vector<std::pair<int, int>>& to) {
        for (auto [a, b] : from)
            if (group[std::size_t(a)] != group[std::size_t(b)])
                to.emplace_back(group[std::size_t(a)], group[std::size_t(b)]);
    };
    map(input.links, result.links);
    map(input.walks, result.walks);
    for (const std::vector<int>& express : input.expresses) {
        std::vector<int> stations;
        for (const int v : express)
            if (stations.empty() || stations.back() != group[std::size_t(v)])
                stations.push_back(group[std::size_t(v)]);
        if (stations.size() > 2)
            result.expresses.push_back(std::move(stations));
    }
    return result;
}

// Where each station of an interchange sits from the interchange's place, in pixels. A station
// whose lines run straight through the place (or end there) moves along them, so they stay
// straight; the one station whose lines turn there keeps the place itself; others go in a row
// along a way no line takes.
std::vector<QPoint> spreadInterchanges(const OctilinearInput& input, const std::vector<int>& group,
                                       const std::vector<QPoint>& cells) {
    constexpr QPoint kAxis[4] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}};
    const std::size_t count = group.size();
    // Each station's axis (0..3), -1 for lines that turn there or none, -2 for no line at all.
    std::vector<int> axis(count, -2);
    for (const auto& [a, b] : input.links)
        for (const auto& [here, there] : {std::pair(a, b), std::pair(b, a)}) {
            const QPoint d = cells[std::size_t(group[std::size_t(there)])] -
                             cells[std::size_t(group[std::size_t(here)])];
            const QPoint unit((d.x() > 0) - (d.x() < 0), (d.y() > 0) - (d.y() < 0));
            int way = -1;
            for (int k = 0; k < 4; ++k)
                if (unit == kAxis[k] || unit == -kAxis[k])
                    way = k;
            int& mine = axis[std::size_t(here)];
            mine = mine == -2 ? way : (mine == way ? mine : -1);
        }
    std::vector<std::vector<int>> members(cells.size());
    for (std::size_t v = 0; v < count; ++v)
        members[std::size_t(group[v])].push_back(int(v));
    std::vector<QPoint> aside(count);
    for (const std::vector<int>& stations : members) {
        if (stations.size() < 2)
            continue;
        bool centreTaken = false, axisTaken[4] = {};
        std::vector<int> turning;
        for (const int v : stations) {
            if (axis[std::size_t(v)] >= 0)
                axisTaken[axis[std::size_t(v)]] = true;
            else if (!centreTaken && axis[std::size_t(v)] == -1)
                centreTaken = true;
            else
                turning.push_back(v);
        }
        const int free = int(std::find(std::begin(axisTaken), std::end(axisTaken), false) -
                             std::begin(axisTaken));
        for (int k = 0; k < 4; ++k) {
            std::vector<int> row;
            for (const int v : stations)
                if (axis[std::size_t(v)] == k || (k == free % 4 && std::ranges::count(turning, v)))
                    row.push_back(v);
            // In their order on the ground along the axis, centred on the place.
            const QPointF unit = kAxis[k];
            std::sort(row.begin(), row.end(), [&](int x, int y) {
                return QPointF::dotProduct(input.points[std::size_t(x)], unit) <
                       QPointF::dotProduct(input.points[std::size_t(y)], unit);
            });
            const int m = int(row.size());
            const int shift = centreTaken && m % 2 == 1 ? 1 : 0;
            for (int j = 0; j < m; ++j)
                aside[std::size_t(row[std::size_t(j)])] =
                    kAxis[k] * ((2 * j - (m - 1) + shift) * kInterchangeSpacing / 2);
            centreTaken = centreTaken || (m % 2 == 1);
        }
    }
    return aside;
}

// The figures of the stations as placed, each at its own place: a station of an interchange
// beside the place of the diagram bends the lines through it a little.
SchematicFigures figuresOf(const OctilinearInput& input, const std::vector<QPointF>& placed) {
    QSet<std::pair<int, int>> links;
    for (const auto& [a, b] : input.links)
        links.insert(std::minmax(a, b));
    SchematicFigures figures;
    figures.links = int(links.size());
    for (const auto& [a, b] : links) {
        const QPointF d = placed[std::size_t(a)] - placed[std::size_t(b)];
        if (d.x() == 0 || d.y() == 0 || std::abs(d.x()) == std::abs(d.y()))
            ++figures.octilinearLinks;
    }
    figures.newCrossings = countNewCrossings(input, placed);
    return figures;
}

} // namespace

bool schematicPlaces(const GraphMap& map, const MapDescription* description,
                     QList<LaidOutStop>* places, SchematicFigures* figures, QString* error) {
    if (map.stopCount() > kMaxSchematicStations) {
        *error = QCoreApplication::translate(
                     "Schematic", "схема строится для сетей метро, трамвая и железной дороги, "
                                  "до %1 станций, а на этой карте их %2")
                     .arg(kMaxSchematicStations)
                     .arg(map.stopCount());
        return false;
    }
    QSet<std::pair<int, int>> walks;
    if (description)
        for (const auto& walk : description->walks)
            walks.insert(walk);
    OctilinearInput input;
    for (const Stop& stop : map.stops())
        input.points.emplace_back(stop.centreX(), stop.centreY());
    // An express drawn through the stations it passes is laid out as those stations' line.
    const LineBundles lines = description ? LineBundles(map, *description) : LineBundles();
    for (StopIndex from = 0; from < map.stopCount(); ++from)
        for (const Link& link : map.stop(from).Links) {
            const std::vector<StopIndex> through = lines.drawnThrough(from, link.To);
            if (!through.empty()) {
                input.expresses.push_back({from});
                input.expresses.back().insert(input.expresses.back().end(), through.begin(),
                                              through.end());
                input.expresses.back().push_back(link.To);
                continue;
            }
            (walks.contains({map.stop(from).Id, map.stop(link.To).Id}) ? input.walks : input.links)
                .emplace_back(from, link.To);
        }
    QStringList routes;
    for (const Stop& stop : map.stops())
        routes.append(stop.Routes);
    const std::vector<int> group = interchanges(input, routes);
    const OctilinearLayout layout = layOutOctilinear(joined(input, group));
    int left = INT_MAX, top = INT_MAX;
    for (const QPoint& cell : layout.cells) {
        left = std::min(left, cell.x());
        top = std::min(top, cell.y());
    }
    // The outermost stations keep room for their names.
    constexpr int kMargin = 3 * kSchematicStep;
    places->clear();
    const std::vector<QPoint> aside = spreadInterchanges(input, group, layout.cells);
    std::vector<QPoint> centres;
    for (StopIndex i = 0; i < map.stopCount(); ++i) {
        const QPoint cell = layout.cells[std::size_t(group[std::size_t(i)])];
        centres.push_back(QPoint(kMargin, kMargin) + (cell - QPoint(left, top)) * kSchematicStep +
                          aside[std::size_t(i)]);
    }
    repairSchematic(input, centres, 2 * kSchematicStep, kInterchangeSpacing);
    QPoint least(INT_MAX, INT_MAX);
    for (const QPoint& centre : centres)
        least = QPoint(std::min(least.x(), centre.x()), std::min(least.y(), centre.y()));
    for (QPoint& centre : centres)
        centre += QPoint(kMargin, kMargin) - least;
    for (StopIndex i = 0; i < map.stopCount(); ++i) {
        const Stop& stop = map.stop(i);
        const QPoint at = centres[std::size_t(i)] - QPoint(stop.Radius, stop.Radius);
        places->append({stop.Id, at.x(), at.y()});
    }
    *figures = figuresOf(input, std::vector<QPointF>(centres.begin(), centres.end()));
    return true;
}

} // namespace lirsk

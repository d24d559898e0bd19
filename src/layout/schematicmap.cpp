#include "layout/schematicmap.h"

#include "layout/octilinearlayout.h"
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

// Each station's interchange: stations a short walk joins are laid out as one place, so the
// lines through them meet there as they do on the ground. A walk counts as short up to this
// share of the median length of a ride between neighbouring stations.
std::vector<int> interchanges(const OctilinearInput& input) {
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
        for (const auto& walk : input.walks)
            if (length(walk) <= shortWalk)
                parent[std::size_t(root(walk.first))] = root(walk.second);
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
    const std::vector<int> group = interchanges(input);
    const OctilinearLayout layout = layOutOctilinear(joined(input, group));
    int left = INT_MAX, top = INT_MAX;
    for (const QPoint& cell : layout.cells) {
        left = std::min(left, cell.x());
        top = std::min(top, cell.y());
    }
    // The outermost stations keep room for their names.
    constexpr int kMargin = 3 * kSchematicStep;
    places->clear();
    // The stations of an interchange side by side in a row across its place.
    std::vector<int> members(layout.cells.size(), 0), seen(layout.cells.size(), 0);
    for (const int g : group)
        ++members[std::size_t(g)];
    for (StopIndex i = 0; i < map.stopCount(); ++i) {
        const Stop& stop = map.stop(i);
        const std::size_t g = std::size_t(group[std::size_t(i)]);
        const QPoint cell = layout.cells[g];
        const int aside = (2 * seen[g]++ - (members[g] - 1)) * kInterchangeSpacing / 2;
        places->append({stop.Id, kMargin + (cell.x() - left) * kSchematicStep - stop.Radius + aside,
                        kMargin + (cell.y() - top) * kSchematicStep - stop.Radius});
    }
    *figures = {layout.links, layout.octilinearLinks, layout.newCrossings};
    return true;
}

} // namespace lirsk

#include "layout/schematicmap.h"

#include "layout/octilinearlayout.h"
#include "view/linebundles.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <climits>

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
    const OctilinearLayout layout = layOutOctilinear(input);
    int left = INT_MAX, top = INT_MAX;
    for (const QPoint& cell : layout.cells) {
        left = std::min(left, cell.x());
        top = std::min(top, cell.y());
    }
    // The outermost stations keep room for their names.
    constexpr int kMargin = 3 * kSchematicStep;
    places->clear();
    for (StopIndex i = 0; i < map.stopCount(); ++i) {
        const Stop& stop = map.stop(i);
        const QPoint cell = layout.cells[std::size_t(i)];
        places->append({stop.Id, kMargin + (cell.x() - left) * kSchematicStep - stop.Radius,
                        kMargin + (cell.y() - top) * kSchematicStep - stop.Radius});
    }
    *figures = {layout.links, layout.octilinearLinks, layout.newCrossings};
    return true;
}

} // namespace lirsk

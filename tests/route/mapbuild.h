#pragma once

#include "model/graphmap.h"

#include <QString>

// Building maps in code for the route tests and benchmarks: stops with given ids, links with
// given weights, without any window behind the map.

namespace lirsk::mapbuild {

inline StopIndex addStop(GraphMap& map, int id, const QString& name = QString(),
                         const QString& routes = QString(), int x = 0, int y = 0) {
    const StopIndex index = map.AddStop(x, y, false);
    Stop& stop = map.stop(index);
    stop.Id = id;
    stop.Label.Caption = name.isEmpty() ? QString::number(id) : name;
    stop.Routes = routes;
    if (id > map.MaxStopId)
        map.MaxStopId = id;
    return index;
}

inline Link& addArc(GraphMap& map, StopIndex from, StopIndex to, double length, double time) {
    return map.AddLink(from, to, {0, length, time});
}

inline void addRoad(GraphMap& map, StopIndex a, StopIndex b, double length, double time) {
    addArc(map, a, b, length, time);
    addArc(map, b, a, length, time);
}

} // namespace lirsk::mapbuild

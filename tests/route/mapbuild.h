#pragma once

#include "model/graphmap.h"

#include <QString>

// Building maps in code for the route tests and benchmarks: stops with given ids, links with
// given weights, without any window behind the map.

namespace lirsk::mapbuild {

inline StopRef addStop(GraphMap& map, int id, const QString& name = QString(),
                       const QString& routes = QString(), int x = 0, int y = 0) {
    StopRef stop = map.AddStop(x, y, id, name, false);
    stop->Id = id;
    stop->Label.Caption = name.isEmpty() ? QString::number(id) : name;
    stop->Routes = routes;
    if (id > map.MaxStopId)
        map.MaxStopId = id;
    return stop;
}

inline Link* addArc(GraphMap& map, StopRef from, StopRef to, double length, double time) {
    Link* link = map.AddLink(from, to);
    link->Length = length;
    link->Time = time;
    return link;
}

inline void addRoad(GraphMap& map, StopRef a, StopRef b, double length, double time) {
    addArc(map, a, b, length, time);
    addArc(map, b, a, length, time);
}

} // namespace lirsk::mapbuild

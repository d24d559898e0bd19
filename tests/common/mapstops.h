#pragma once

// Finding the stops of a map in a test: by name, and where to press on one.

#include "model/graphmap.h"

#include <QPoint>

namespace testing {

// The first stop in list order with this name, or NoStop.
inline lirsk::StopIndex stopNamed(const lirsk::GraphMap& map, const QString& name) {
    for (lirsk::StopIndex stop = 0; stop < map.stopCount(); ++stop)
        if (map.stop(stop).Label.Caption == name)
            return stop;
    return lirsk::NoStop;
}

// The middle of a stop's box, in map coordinates.
inline QPoint centreOf(const lirsk::Stop& stop) {
    return {stop.Left + stop.Width / 2, stop.Top + stop.Height / 2};
}

} // namespace testing

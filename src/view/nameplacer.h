#pragma once

#include "model/graphmap.h"
#include "model/mapdescription.h"
#include "view/linebundles.h"
#include "view/spatialgrid.h"

#include <QRectF>
#include <QSizeF>

#include <optional>
#include <vector>

// Names placed at a zoom where they overprint no other name and no stop, cross as few strokes as
// they can and stay inside the map; a name that finds no such place waits for a closer zoom. The
// places are worked out in screen pixels with the real font's metrics and given back in map
// coordinates.

namespace lirsk {

struct NamePlaces {
    // Each stop's name as shown (map coordinates), empty where it is not shown at this zoom.
    std::vector<QRectF> boxes;
    // The boxes shown, numbered by stop.
    SpatialGrid shown{128};
};

// The names placed at a few zooms seen last, so that zooming in and out again places them once:
// which stops' names show, and where the program placed its own.
struct NamesAtZoom {
    double zoom = 0;
    std::vector<bool> shown;
    NamePlaces places;
};
class NamesAtZooms {
public:
    void clear() { m_kept.clear(); }
    // Keeps a placement, forgetting the one kept longest when there are too many.
    void keep(NamesAtZoom names);
    // Gives up the placement at a zoom, if one is kept.
    std::optional<NamesAtZoom> take(double zoom);

private:
    std::vector<NamesAtZoom> m_kept; // the one kept last at the end
};

// How many times its size a name is drawn at a zoom: far out never under a legible height; a
// name the program places keeps its size on the screen closer in, too.
double nameScale(int height, double zoom, bool placedByProgram);

// Places the names of the stops in `order` (first placed first). A stop whose `placed` entry is
// false keeps its stored place: shown at 100 % and closer, farther out where no name placed before
// it is in the way. `natural` is each name's size at 100 % (empty: no name); `bounds` the map.
NamePlaces placeNames(const GraphMap& map, const LineBundles& lines,
                      const std::vector<StopIndex>& order, const std::vector<bool>& placed,
                      const std::vector<QSize>& natural, double zoom, const QRectF& bounds);

// The names of a map that the description lists as the program's to place, at a zoom within the
// map's bounds, most important first (nothing placed when there are none).
NamePlaces placeDescribedNames(const GraphMap& map, const MapDescription& description,
                               const LineBundles& lines, double zoom, const QRectF& bounds);

// The stops that have names, most important first: more routes, then more links, then the
// map's order.
std::vector<StopIndex> namesByImportance(const GraphMap& map);

// The stops whose names the program places: the names still where the description says the
// map's maker put them.
std::vector<bool> namesPlacedByProgram(const GraphMap& map, const QList<PlacedName>& placed);

} // namespace lirsk

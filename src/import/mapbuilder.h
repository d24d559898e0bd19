#pragma once

#include "import/gtfsfeed.h"
#include "import/gtfsimport.h"
#include "import/importprogress.h"
#include "import/tripbuilder.h"

// The map made from what the readers and the trips gave: a stop per station served, names
// placed, a link per ride, walking roads, and the description.

namespace lirsk::gtfs {

// Everything read from a feed that the map is built from.
struct FeedTables {
    AgencyInfo agency;
    RouteTable routes;
    TripTable trips;
    StopTable stops;
    NameReadings readings;
    std::vector<Shape> shapes;
    TransferTable transfers;
    FareTable fares;
    Rides rides;
};

// Gives each route that calls its code: the map's letter and the short name without spaces; a
// short name that several routes share gets the route type, and the route_id where even that
// is shared.
void nameRoutes(RouteTable& routes, ImportProgress& progress);

// Fills the empty map and the result's description and notes from the feed.
void buildMap(FeedTables& feed, const GtfsImportOptions& options, GraphMap& map,
              GtfsImportResult& result, ImportProgress& progress);

} // namespace lirsk::gtfs

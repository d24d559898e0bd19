#pragma once

#include "import/feedfile.h"
#include "import/gtfsfeed.h"
#include "import/gtfsimport.h"

#include <QMap>

// One reader for each file of a feed. Each takes the file open at its first record and fills its
// table; false with the file's error() set when a record is broken.

namespace lirsk::gtfs {

// agency.txt: the first agency, whose name titles the map, its language and time zone.
bool readAgencies(FeedFile& f, AgencyInfo* agency);
// translations.txt: the readings of the stops' names.
bool readTranslations(FeedFile& f, NameReadings* readings);
// routes.txt: the routes the options keep (a route without agency_id is the first agency's).
bool readRoutes(FeedFile& f, const GtfsImportOptions& options, std::string_view firstAgencyId,
                RouteTable* routes);
// routes.txt for a summary: the number of routes of each basic type.
bool countRouteTypes(FeedFile& f, QMap<int, int>* types);
// trips.txt: the trips of the routes kept, and the shapes they name.
bool readTrips(FeedFile& f, const IdMap& routeIds, TripTable* trips);
// stops.txt: every stop, and the stations they make.
bool readStops(FeedFile& f, StopTable* stops);
// stop_times.txt: the calls of the trips kept.
bool readStopTimes(FeedFile& f, const IdMap& tripIds, const StopTable& stops, StopTimeRows* times);
// shapes.txt: the points of the shapes named, each shape in sequence order.
bool readShapes(FeedFile& f, const IdMap& shapeIds, std::vector<Shape>* shapes);
// transfers.txt: the transfers between different stations.
bool readTransfers(FeedFile& f, const StopTable& stops, TransferTable* transfers);
// fare_attributes.txt: the commonest price, the first of equally common ones, of the prices a
// map's description can hold (0 up to kMaxImportedFare); the others are counted.
bool readFareAttributes(FeedFile& f, FareTable* fares);

} // namespace lirsk::gtfs

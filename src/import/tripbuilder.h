#pragma once

#include "import/gtfsfeed.h"
#include "import/importprogress.h"

#include <unordered_map>
#include <vector>

// The trips gone through in stop order: which stations they serve, and what they say about each
// ride from one station to the next.

namespace lirsk::gtfs {

// What the trips say about one ordered pair of stations served one after the other.
struct RideStats {
    std::vector<int> times; // seconds, one a trip that gives both times
    double shapeLength = 0; // the sum of the lengths along shapes
    int shapeCount = 0;
    std::vector<int> routes; // the routes whose trips ride it, ascending
};
using Rides = std::unordered_map<std::uint64_t, RideStats>; // by pairKey of stations

// Goes through the calls (emptied on return) trip by trip: marks the stations served and the
// routes that call, counts each route's trips at each station and gathers the rides.
void buildTrips(std::vector<StopTime>& calls, const TripTable& trips,
                const std::vector<Shape>& shapes, StopTable& stops, RouteTable& routes,
                Rides* rides, ImportProgress& progress);

// The calls of one trip in order: blank times of stops that are not timepoints filled, one given
// time serving both and the rest spread by distance between the nearest given ones.
void fillBlankTimes(std::vector<StopTime>& calls, const StopTable& stops);

// Platforms of one station called in a row become one call at the station.
void mergePlatforms(std::vector<StopTime>& calls, const StopTable& stops);

} // namespace lirsk::gtfs

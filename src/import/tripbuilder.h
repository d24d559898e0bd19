#pragma once

#include "import/gtfsfeed.h"
#include "import/importprogress.h"

#include <unordered_map>
#include <vector>

// The trips gone through in stop order: which stations they serve, and what they say about each
// ride from one station to the next.

namespace lirsk::gtfs {

// The times the trips take over one ride, each with how many trips take it: a ride's trips
// mostly take a few times, so this is much smaller than a time a trip.
class RideTimes {
public:
    void add(int seconds);
    bool empty() const { return m_counts.empty(); }
    // The number of distinct times.
    std::size_t distinct() const { return m_counts.size(); }
    // The middle time, or the mean of the middle two rounded half away from zero.
    int median() const;

private:
    int nth(qint64 k) const;                   // the k-th smallest time from 0
    std::vector<std::pair<int, int>> m_counts; // ascending by time
    qint64 m_total = 0;
};

// What the trips say about one ordered pair of stations served one after the other.
struct RideStats {
    RideTimes times;        // seconds, of each trip that gives both times
    double shapeLength = 0; // the sum of the lengths along shapes
    int shapeCount = 0;
    std::vector<int> routes; // the routes whose trips ride it, ascending
};
using Rides = std::unordered_map<std::uint64_t, RideStats>; // by pairKey of stations

// Goes through the calls (freed on return) trip by trip: marks the stations served and the
// routes that call, counts each route's trips at each station and gathers the rides.
void buildTrips(StopTimeRows& calls, const TripTable& trips, const std::vector<Shape>& shapes,
                StopTable& stops, RouteTable& routes, Rides* rides, ImportProgress& progress);

// The calls of one trip in order: blank times of stops that are not timepoints filled, one given
// time serving both and the rest spread by distance between the nearest given ones.
void fillBlankTimes(std::vector<StopTime>& calls, const StopTable& stops);

// Platforms of one station called in a row become one call at the station.
void mergePlatforms(std::vector<StopTime>& calls, const StopTable& stops);

} // namespace lirsk::gtfs

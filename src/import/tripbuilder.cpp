#include "import/tripbuilder.h"

#include "import/geo.h"
#include "import/shapeprojection.h"

#include <algorithm>
#include <cmath>

namespace lirsk::gtfs {

namespace {

// Marks the stations the trip calls at and counts its route's trips there (in tripsAt, by
// station and route).
void countCalls(const std::vector<StopTime>& calls, int route, StopTable& stops, RouteTable& routes,
                std::unordered_map<std::uint64_t, int>& tripsAt) {
    for (const StopTime& c : calls) {
        const int station = stops.rows[std::size_t(c.stop)].station;
        stops.stations[std::size_t(station)].served = true;
        ++tripsAt[pairKey(station, route)];
    }
    if (!calls.empty()) {
        routes.rows[std::size_t(route)].calls = true;
        ++routes.rows[std::size_t(route)].trips;
    }
}

// The rides of one trip: each hop's time, and its length along the shape where the stops lie
// at positions along it.
void addRides(const std::vector<StopTime>& calls, int route, const std::vector<double>* along,
              const StopTable& stops, Rides& rides, ImportProgress& progress) {
    for (std::size_t k = 0; k + 1 < calls.size(); ++k) {
        const int a = stops.rows[std::size_t(calls[k].stop)].station;
        const int b = stops.rows[std::size_t(calls[k + 1].stop)].station;
        RideStats& ride = rides[pairKey(a, b)];
        const auto at = std::lower_bound(ride.routes.begin(), ride.routes.end(), route);
        if (at == ride.routes.end() || *at != route)
            ride.routes.insert(at, route);
        if (calls[k].departure >= 0 && calls[k + 1].arrival >= calls[k].departure)
            ride.times.add(calls[k + 1].arrival - calls[k].departure);
        if (along) {
            const auto [la1, lo1] = stops.place(calls[k].stop);
            const auto [la2, lo2] = stops.place(calls[k + 1].stop);
            const double straight = greatCircle(la1, lo1, la2, lo2);
            const double onShape = (*along)[k + 1] - (*along)[k];
            // A shape that runs shorter than the straight line missed the stops.
            if (onShape >= straight * 0.9) {
                ride.shapeLength += onShape;
                ++ride.shapeCount;
            }
        }
        progress.tick(0);
    }
}

} // namespace

void RideTimes::add(int seconds) {
    const auto at = std::lower_bound(m_counts.begin(), m_counts.end(), seconds,
                                     [](const auto& count, int s) { return count.first < s; });
    if (at != m_counts.end() && at->first == seconds)
        ++at->second;
    else
        m_counts.insert(at, {seconds, 1});
    ++m_total;
}

int RideTimes::nth(qint64 k) const {
    for (const auto& [seconds, count] : m_counts) {
        if (k < count)
            return seconds;
        k -= count;
    }
    return m_counts.back().first;
}

int RideTimes::median() const {
    const qint64 mid = m_total / 2;
    if (m_total % 2)
        return nth(mid);
    return int(std::lround((double(nth(mid - 1)) + nth(mid)) / 2));
}

void fillBlankTimes(std::vector<StopTime>& calls, const StopTable& stops) {
    for (StopTime& c : calls) {
        if (c.arrival < 0)
            c.arrival = c.departure;
        if (c.departure < 0)
            c.departure = c.arrival;
    }
    for (std::size_t k = 0; k < calls.size();) {
        if (calls[k].arrival >= 0) {
            ++k;
            continue;
        }
        std::size_t j = k;
        while (j < calls.size() && calls[j].arrival < 0)
            ++j;
        if (k > 0 && j < calls.size()) {
            std::vector<double> along{0};
            for (std::size_t m = k; m <= j; ++m) {
                const auto [la1, lo1] = stops.place(calls[m - 1].stop);
                const auto [la2, lo2] = stops.place(calls[m].stop);
                along.push_back(along.back() + greatCircle(la1, lo1, la2, lo2));
            }
            const double from = calls[k - 1].departure, span = calls[j].arrival - from;
            for (std::size_t m = k; m < j; ++m) {
                const double share = along.back() > 0 ? along[m - k + 1] / along.back()
                                                      : double(m - k + 1) / double(j - k + 1);
                calls[m].arrival = calls[m].departure = int(std::lround(from + span * share));
            }
        }
        k = j;
    }
}

void mergePlatforms(std::vector<StopTime>& calls, const StopTable& stops) {
    std::size_t kept = 0;
    for (std::size_t k = 0; k < calls.size(); ++k) {
        if (kept > 0 && stops.rows[std::size_t(calls[kept - 1].stop)].station ==
                            stops.rows[std::size_t(calls[k].stop)].station) {
            calls[kept - 1].departure = calls[k].departure;
            continue;
        }
        calls[kept++] = calls[k];
    }
    calls.resize(kept);
}

void buildTrips(StopTimeRows& all, const TripTable& trips, const std::vector<Shape>& shapes,
                StopTable& stops, RouteTable& routes, Rides* rides, ImportProgress& progress) {
    ShapeProjector projector(shapes, progress);
    std::unordered_map<std::uint64_t, int> tripsAt;
    std::vector<StopTime> calls;
    all.forEachTrip(
        [&](std::uint32_t tripIndex, const std::vector<std::uint32_t>& rows) {
            calls.clear();
            for (const std::uint32_t k : rows)
                calls.push_back(all[k].unpacked());
            const TripRow& trip = trips.rows[tripIndex];
            fillBlankTimes(calls, stops);
            mergePlatforms(calls, stops);
            countCalls(calls, trip.route, stops, routes, tripsAt);
            addRides(calls, trip.route, projector.positions(trip.shape, calls, stops), stops,
                     *rides, progress);
            return true;
        },
        &progress);
    all = StopTimeRows();
    for (const auto& [key, count] : tripsAt)
        stops.stations[std::size_t(pairFirst(key))].routeTrips.emplace_back(pairSecond(key), count);
}

} // namespace lirsk::gtfs

#include "memoryfeed.h"

#include "import/geo.h"
#include "timetable/feeddata.h"
#include "timetable/journeysearch.h"

#include <QRandomGenerator>
#include <QTest>

#include <array>
#include <cmath>
#include <map>
#include <set>

// Thousands of random small feeds (service days with exceptions, overnight trips, frequencies,
// stops without boarding or alighting, platforms, walks, change times, forbidden changes, loops,
// a clock change): every journey search against a plain backward scan of the connections.

using namespace lirsk;
using namespace lirsktest;

namespace {

constexpr int kDays = 5;
constexpr qint64 kInf = std::numeric_limits<qint64>::max();

struct Call {
    int station, arrival, departure, sequence;
    bool blank, board, alight;
    int along; // shape_dist_traveled
};
struct Trip {
    QByteArray id;
    int rank = 0; // of the id in byte order
    int service;
    std::vector<Call> calls;
    int runStart = -1, runEnd = 0, headway = 0; // frequencies.txt
    int before = -1;                            // the trip this one goes on from
    int route = 0;
};

// The rest of a journey: arrival, walking seconds, stops passed, (trip_id, stop_sequence)
// boarded (the trip_id as its place in byte order).
struct Rest {
    qint64 arrival = kInf;
    int walk = 0, stops = 0;
    std::array<std::pair<int, int>, kMaxRides> boarded{};
    bool operator<(const Rest& o) const {
        return std::tie(arrival, walk, stops, boarded) <
               std::tie(o.arrival, o.walk, o.stops, o.boarded);
    }
};
Rest plus(Rest r, int walk, int stops) {
    r.walk += walk;
    r.stops += stops;
    return r;
}

using Answer = std::tuple<qint64, qint64, int, int, int, std::vector<std::pair<QByteArray, int>>>;

// One random feed: what it says, and the rules of a journey worked out from it directly.
struct World {
    QRandomGenerator random;
    QByteArray zone = "UTC";
    QDate first{2026, 6, 1};
    int stations = 0;
    std::vector<double> lon;
    std::vector<int> change; // seconds, -1 forbidden, -2 by default
    std::map<std::pair<int, int>, int> walks;
    std::vector<std::vector<bool>> serviceDays;
    std::vector<Trip> trips;
    std::vector<QByteArray> ids; // of the trips, in byte order
    Feed feed;

    explicit World(quint32 seed) : random(seed) {}
    int pick(int low, int high) { return int(random.bounded(low, high + 1)); }
    bool chance(int percent) { return pick(1, 100) <= percent; }
    static QString clock(int s) {
        return QStringLiteral("%1:%2:%3")
            .arg(s / 3600)
            .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
            .arg(s % 60, 2, 10, QLatin1Char('0'));
    }
    qint64 dayBase(int day) const {
        return QDateTime(first.addDays(day), QTime(12, 0), QTimeZone(zone)).toSecsSinceEpoch() -
               12 * 3600;
    }
    double metres(int a, int b) const { return greatCircle(0, lon[a], 0, lon[b]); }
    void make();
    std::vector<QStringList> makeStations();
    void makeServices();
    void makeTrips(const std::vector<QStringList>& platforms);
    void makeWalks(const std::vector<QStringList>& platforms);
};

// Stations along the equator, some with two platforms (their stop_ids by station).
std::vector<QStringList> World::makeStations() {
    stations = pick(3, 6);
    QString stops = QStringLiteral("stop_id,stop_name,stop_lat,stop_lon,parent_station\n");
    std::vector<QStringList> platforms(static_cast<std::size_t>(stations));
    double at = 0;
    for (int s = 0; s < stations; ++s) {
        at = QString::number(at + pick(60, 900) / 111195.0, 'f', 7).toDouble();
        lon.push_back(at);
        stops +=
            QStringLiteral("S%1,%2,0,%3,\n").arg(s).arg(QChar('A' + pick(0, 3))).arg(at, 0, 'f', 7);
        platforms[std::size_t(s)] << QStringLiteral("S%1").arg(s);
        if (chance(30))
            for (const char* p : {"a", "b"}) {
                stops += QStringLiteral("S%1%2,,,,S%1\n").arg(s).arg(QLatin1String(p));
                platforms[std::size_t(s)] << QStringLiteral("S%1%2").arg(s).arg(QLatin1String(p));
            }
    }
    feed["stops.txt"] = stops;
    return platforms;
}

// Services by weekdays over a few days, with dates added and removed.
void World::makeServices() {
    QString calendar = QStringLiteral("service_id,monday,tuesday,wednesday,thursday,friday,"
                                      "saturday,sunday,start_date,end_date\n");
    QString dates = QStringLiteral("service_id,date,exception_type\n");
    const int services = pick(1, 3);
    for (int v = 0; v < services; ++v) {
        std::vector<bool> days(kDays);
        const int from = pick(0, 2), to = pick(from, kDays - 1);
        if (chance(80)) {
            calendar += QStringLiteral("V%1").arg(v);
            int mask = 0;
            for (int d = 0; d < 7; ++d) {
                mask |= (chance(60) ? 1 : 0) << d;
                calendar += (mask >> d & 1) ? QStringLiteral(",1") : QStringLiteral(",0");
            }
            calendar += QStringLiteral(",%1,%2\n")
                            .arg(first.addDays(from).toString(QStringLiteral("yyyyMMdd")),
                                 first.addDays(to).toString(QStringLiteral("yyyyMMdd")));
            for (int d = from; d <= to; ++d)
                days[std::size_t(d)] = mask >> (first.addDays(d).dayOfWeek() - 1) & 1;
        }
        for (int d = 0; d < kDays; ++d)
            if (chance(20)) {
                days[std::size_t(d)] = chance(50);
                dates += QStringLiteral("V%1,%2,%3\n")
                             .arg(v)
                             .arg(first.addDays(d).toString(QStringLiteral("yyyyMMdd")))
                             .arg(days[std::size_t(d)] ? 1 : 2);
            }
        serviceDays.push_back(days);
    }

    feed["calendar.txt"] = calendar;
    feed["calendar_dates.txt"] = dates;
}

void World::makeTrips(const std::vector<QStringList>& platforms) {
    const int services = int(serviceDays.size());
    QString tripsText = QStringLiteral("route_id,service_id,trip_id\n");
    QString times = QStringLiteral("trip_id,arrival_time,departure_time,stop_id,stop_sequence,"
                                   "pickup_type,drop_off_type,shape_dist_traveled\n");
    QString frequencies = QStringLiteral("trip_id,start_time,end_time,headway_secs,exact_times\n");
    const int tripCount = pick(3, 10);
    for (int t = 0; t < tripCount; ++t) {
        Trip trip;
        trip.id = QByteArray::number(pick(10, 99)) + "t" + QByteArray::number(t);
        trip.service = pick(0, services - 1);
        trip.route = pick(0, 2);
        int time = (chance(25) ? pick(1380, 1560) : pick(400, 560)) * 60, along = 0;
        int station = -1;
        if (t > 0 && chance(50)) {
            // Going on from where an earlier trip calls, soon after it arrives there.
            trip.before = pick(0, t - 1);
            const Trip& before = trips[std::size_t(trip.before)];
            const Call& at = before.calls[std::size_t(pick(1, int(before.calls.size()) - 1))];
            station = at.station;
            time = at.arrival + pick(0, 8) * 60;
            trip.service = before.service;
        }
        const int calls = pick(2, 5), step = chance(30) ? 10 : 1;
        for (int k = 0; k < calls; ++k) {
            Call c{k == 0 && station >= 0 ? station : pick(0, stations - 1),
                   time,
                   time + pick(0, 2) * 60,
                   (k + 1) * step,
                   k > 0 && k + 1 < calls && chance(20),
                   !chance(10),
                   !chance(10),
                   along};
            trip.calls.push_back(c);
            time = c.departure + pick(1, 10) * 60;
            along += pick(1, 9);
        }
        if (t > 0 && chance(25)) {
            // A twin of an earlier trip about a day earlier or later, its own running times:
            // one of them may overtake the other's run of the next day.
            const Trip& twin = trips[std::size_t(pick(0, t - 1))];
            const int shift =
                (twin.calls[0].departure < 86400 ? 1 : -1) * (1440 - pick(-20, 20)) * 60;
            trip.route = twin.route;
            trip.service = twin.service;
            trip.calls = twin.calls;
            for (std::size_t k = 0; k < trip.calls.size(); ++k) {
                Call& c = trip.calls[k];
                c.blank = false;
                c.arrival =
                    k == 0 ? twin.calls[0].arrival + shift
                           : trip.calls[k - 1].departure +
                                 std::max(60, twin.calls[k].arrival - twin.calls[k - 1].departure +
                                                  pick(-3, 3) * 60);
                c.departure = c.arrival + twin.calls[k].departure - twin.calls[k].arrival;
            }
        }
        // Blank times are spread by shape_dist_traveled between the given ones.
        for (std::size_t k = 1; k + 1 < trip.calls.size(); ++k) {
            Call& c = trip.calls[k];
            if (!c.blank)
                continue;
            std::size_t i = k - 1, j = k;
            while (trip.calls[i].blank)
                --i;
            while (trip.calls[j].blank)
                ++j;
            const Call &from = trip.calls[i], &to = trip.calls[j];
            const double share = double(c.along - from.along) / double(to.along - from.along);
            c.arrival = c.departure =
                int(std::floor(from.departure + (to.arrival - from.departure) * share));
        }
        if (chance(15)) {
            trip.runStart = trip.calls[0].departure + pick(-30, 30) * 60;
            trip.runEnd = trip.runStart + pick(10, 60) * 60;
            trip.headway = pick(7, 20) * 60;
            frequencies +=
                QStringLiteral("%1,%2,%3,%4,%5\n")
                    .arg(QString::fromUtf8(trip.id), clock(trip.runStart), clock(trip.runEnd))
                    .arg(trip.headway)
                    .arg(pick(0, 1));
        }
        tripsText += QStringLiteral("R%1,V%2,%3\n")
                         .arg(trip.route)
                         .arg(trip.service)
                         .arg(QString::fromUtf8(trip.id));
        for (const Call& c : trip.calls) {
            const QStringList& names = platforms[std::size_t(c.station)];
            times +=
                QStringLiteral("%1,%2,%3,%4,%5,%6,%7,%8\n")
                    .arg(QString::fromUtf8(trip.id), c.blank ? QString() : World::clock(c.arrival),
                         c.blank ? QString() : World::clock(c.departure),
                         names[pick(0, int(names.size()) - 1)])
                    .arg(c.sequence)
                    .arg(c.board ? pick(0, 1) * 2 : 1)
                    .arg(c.alight ? pick(0, 1) * 3 : 1)
                    .arg(c.along);
        }
        trips.push_back(trip);
    }

    feed["trips.txt"] = tripsText;
    feed["stop_times.txt"] = times;
    feed["frequencies.txt"] = frequencies;
}

void World::makeWalks(const std::vector<QStringList>& platforms) {
    // Walks between the stations some trip calls at: closer than 250 m (no more than 8 here),
    // in ceil(metres) seconds; the transfers listed replace them in their direction, a refusal
    // removes them.
    std::vector<bool> served(static_cast<std::size_t>(stations));
    for (const Trip& t : trips)
        for (const Call& c : t.calls)
            served[std::size_t(c.station)] = true;
    for (int a = 0; a < stations; ++a)
        for (int b = 0; b < stations; ++b)
            if (a != b && metres(a, b) < 250)
                walks[{a, b}] = int(std::ceil(metres(a, b)));
    change.assign(std::size_t(stations), -2);
    QString transfers =
        QStringLiteral("from_stop_id,to_stop_id,transfer_type,min_transfer_time,from_trip_id\n");
    std::map<std::pair<int, int>, int> listed;
    std::set<std::pair<int, int>> refused;
    for (int n = pick(0, 4); n > 0; --n) {
        const int a = pick(0, stations - 1), b = chance(50) ? a : pick(0, stations - 1);
        const int type = pick(0, 3), time = chance(70) ? pick(0, 400) : -1;
        const bool narrowed = chance(15);
        const QStringList& pa = platforms[std::size_t(a)];
        const QStringList& pb = platforms[std::size_t(b)];
        transfers += QStringLiteral("%1,%2,%3,%4,%5\n")
                         .arg(pa[pick(0, int(pa.size()) - 1)], pb[pick(0, int(pb.size()) - 1)])
                         .arg(type)
                         .arg(time < 0 ? QString() : QString::number(time),
                              narrowed ? QString::fromUtf8(trips[0].id) : QString());
        if (narrowed)
            continue;
        if (a == b) {
            int& c = change[std::size_t(a)];
            if (type == 3)
                c = -1;
            else if (type == 2 && time >= 0 && c != -1)
                c = std::max(c, time);
        } else if (type == 3) {
            refused.insert({a, b});
        } else {
            const int seconds = time >= 0 ? time : int(std::ceil(metres(a, b)));
            const auto it = listed.find({a, b});
            listed[{a, b}] = it == listed.end() ? seconds : std::min(it->second, seconds);
        }
    }
    for (const auto& [pair, seconds] : listed)
        walks[pair] = seconds;
    for (const auto& pair : refused)
        walks.erase(pair);
    for (auto it = walks.begin(); it != walks.end();)
        it = served[std::size_t(it->first.first)] && served[std::size_t(it->first.second)]
                 ? std::next(it)
                 : walks.erase(it);
    feed["transfers.txt"] = transfers;
}

void World::make() {
    if (chance(25)) {
        zone = "Europe/Amsterdam";
        first = QDate(2026, 10, 23); // the clocks go back on the 25th
    }
    const std::vector<QStringList> platforms = makeStations();
    makeServices();
    makeTrips(platforms);
    makeWalks(platforms);
    for (const Trip& t : trips)
        ids.push_back(t.id);
    std::sort(ids.begin(), ids.end());
    for (Trip& t : trips)
        t.rank = int(std::lower_bound(ids.begin(), ids.end(), t.id) - ids.begin());
    feed["agency.txt"] = QStringLiteral("agency_id,agency_name,agency_timezone\nA,Agency,%1\n")
                             .arg(QString::fromUtf8(zone));
    feed["routes.txt"] = "route_id,route_short_name,route_type\nR0,1,3\nR1,2,3\nR2,3,0\n";
}

// The journeys by a backward scan of every connection, latest departure first, keeping for each
// station and number of rides left the best rest of a journey from each departure on.
std::vector<Answer> scan(const World& w, const std::vector<int>& from, const std::vector<int>& to,
                         qint64 start, int window, int changeTime) {
    struct Run {
        const Trip* trip;
        qint64 shift; // seconds since the epoch of the trip's time 0
    };
    struct Connection {
        qint64 departure, arrival;
        int run, call;
    };
    std::vector<Run> runs;
    std::vector<Connection> connections;
    for (const Trip& t : w.trips)
        for (int d = 0; d < kDays; ++d) {
            if (!w.serviceDays[std::size_t(t.service)][std::size_t(d)])
                continue;
            std::vector<qint64> shifts{w.dayBase(d)};
            if (t.runStart >= 0) {
                shifts.clear();
                for (int s = t.runStart; s < t.runEnd; s += t.headway)
                    shifts.push_back(w.dayBase(d) + s - t.calls[0].departure);
            }
            for (const qint64 shift : shifts) {
                for (int k = 0; k + 1 < int(t.calls.size()); ++k)
                    connections.push_back({shift + t.calls[std::size_t(k)].departure,
                                           shift + t.calls[std::size_t(k) + 1].arrival,
                                           int(runs.size()), k});
                runs.push_back({&t, shift});
            }
        }
    std::sort(connections.begin(), connections.end(),
              [](const Connection& a, const Connection& b) { return a.departure > b.departure; });
    const auto isTo = [&](int s) { return std::count(to.begin(), to.end(), s) > 0; };
    const std::size_t stations = std::size_t(w.stations), lefts = kMaxRides + 1;
    // By station and rides left: departures, latest first, with the best rest from each on.
    std::vector<std::vector<std::pair<qint64, Rest>>> profile(stations * lefts);
    // By run, call, station boarded at and rides left after: the best rest riding on.
    std::vector<Rest> onBoard(runs.size() * 5 * stations * lefts);
    const auto riding = [&](int run, int call, int at, int left) -> Rest& {
        return onBoard[((std::size_t(run) * 5 + std::size_t(call)) * stations + std::size_t(at)) *
                           lefts +
                       std::size_t(left)];
    };
    const auto ready = [&](int s, qint64 at, int left) {
        const auto& p = profile[std::size_t(s) * lefts + std::size_t(left)];
        auto it =
            std::partition_point(p.begin(), p.end(), [&](const auto& e) { return e.first >= at; });
        return it == p.begin() ? Rest() : std::prev(it)->second;
    };
    const auto arrived = [&](int s, qint64 at, int left) {
        Rest best;
        if (left == 0 && isTo(s))
            best.arrival = at;
        const int c = w.change[std::size_t(s)] == -2 ? changeTime : w.change[std::size_t(s)];
        if (left > 0 && c >= 0)
            best = std::min(best, ready(s, at + c, left));
        for (const auto& [pair, seconds] : w.walks)
            if (pair.first == s && (left > 0 || isTo(pair.second))) {
                Rest r = left > 0 ? ready(pair.second, at + seconds, left) : Rest{at + seconds};
                if (r.arrival != kInf)
                    best = std::min(best, plus(r, seconds, 0));
            }
        return best;
    };
    std::map<std::pair<qint64, int>, Rest> best; // departure, rides
    const auto boardValue = [&](const Connection& c, int left) {
        const Call& call = runs[std::size_t(c.run)].trip->calls[std::size_t(c.call)];
        Rest r = riding(c.run, c.call, call.station, left - 1);
        std::rotate(r.boarded.rbegin(), r.boarded.rbegin() + 1, r.boarded.rend());
        r.boarded[0] = {runs[std::size_t(c.run)].trip->rank, call.sequence};
        return r;
    };
    for (const Connection& c : connections) {
        const Trip& t = *runs[std::size_t(c.run)].trip;
        const Call& next = t.calls[std::size_t(c.call) + 1];
        for (int left = 0; left < kMaxRides; ++left)
            for (int k = 0; k <= c.call; ++k) {
                const int at = t.calls[std::size_t(k)].station;
                Rest r = next.alight && next.station != at ? arrived(next.station, c.arrival, left)
                                                           : Rest();
                if (c.call + 2 < int(t.calls.size()))
                    r = std::min(r, riding(c.run, c.call + 1, at, left));
                riding(c.run, c.call, at, left) = r.arrival == kInf ? r : plus(r, 0, 1);
            }
        const Call& call = t.calls[std::size_t(c.call)];
        if (!call.board || c.departure >= start + 24 * 3600)
            continue;
        for (int left = 1; left <= kMaxRides; ++left) {
            auto& p = profile[std::size_t(call.station) * lefts + std::size_t(left)];
            const Rest r = boardValue(c, left);
            p.emplace_back(c.departure, p.empty() ? r : std::min(r, p.back().second));
        }
        // A journey leaving at the departure, or walking first to leave on it.
        const auto leave = [&](qint64 departure, int walk) {
            if (departure < start)
                return;
            for (int k = 1; k <= kMaxRides; ++k) {
                const Rest r = boardValue(c, k);
                if (r.arrival != kInf) {
                    const auto [it, added] = best.try_emplace({departure, k}, plus(r, walk, 0));
                    it->second = std::min(it->second, plus(r, walk, 0));
                }
            }
        };
        if (std::count(from.begin(), from.end(), call.station))
            leave(c.departure, 0);
        for (const auto& [pair, seconds] : w.walks)
            if (pair.second == call.station && std::count(from.begin(), from.end(), pair.first))
                leave(c.departure - seconds, seconds);
    }

    std::vector<Answer> all;
    int walkOnly = std::numeric_limits<int>::max();
    for (const auto& [pair, seconds] : w.walks)
        if (std::count(from.begin(), from.end(), pair.first) && isTo(pair.second))
            walkOnly = std::min(walkOnly, seconds);
    if (walkOnly != std::numeric_limits<int>::max())
        all.emplace_back(start, start + walkOnly, 0, walkOnly, 0,
                         std::vector<std::pair<QByteArray, int>>());
    for (const auto& [key, r] : best)
        if (window == 0 || key.first < start + window * 60) {
            std::vector<std::pair<QByteArray, int>> boarded;
            for (int k = 0; k < key.second; ++k)
                boarded.emplace_back(w.ids[std::size_t(r.boarded[std::size_t(k)].first)],
                                     r.boarded[std::size_t(k)].second);
            all.emplace_back(key.first, r.arrival, key.second, r.walk, r.stops, boarded);
        }
    std::vector<Answer> kept;
    if (window == 0) {
        // Each number of rides at its earliest arrival, leaving as late as that allows, kept
        // when it arrives before every journey with fewer rides.
        std::map<int, Answer> byRides;
        for (const Answer& a : all) {
            const auto it = byRides.find(std::get<2>(a));
            if (it == byRides.end() ||
                std::tuple(std::get<1>(a), -std::get<0>(a)) <
                    std::tuple(std::get<1>(it->second), -std::get<0>(it->second)))
                byRides[std::get<2>(a)] = a;
        }
        qint64 earliest = kInf;
        for (const auto& [rides, a] : byRides)
            if (std::get<1>(a) < earliest) {
                earliest = std::get<1>(a);
                kept.push_back(a);
            }
    } else {
        // A walk leaving when a ride leaves beats it when it arrives no later.
        const auto beats = [&](const Answer& o, const Answer& a) {
            return std::get<0>(o) >= std::get<0>(a) && std::get<1>(o) <= std::get<1>(a) &&
                   std::get<2>(o) <= std::get<2>(a) &&
                   (std::get<0>(o) > std::get<0>(a) || std::get<1>(o) < std::get<1>(a) ||
                    std::get<2>(o) < std::get<2>(a));
        };
        for (const Answer& a : all)
            if (std::none_of(all.begin(), all.end(),
                             [&](const Answer& o) { return beats(o, a); }) &&
                (std::get<2>(a) == 0 || walkOnly == std::numeric_limits<int>::max() ||
                 std::get<1>(a) < std::get<0>(a) + walkOnly))
                kept.push_back(a);
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

} // namespace

class TestJourneyScan : public QObject {
    Q_OBJECT

private slots:
    void randomFeeds();
};

void TestJourneyScan::randomFeeds() {
    int searched = 0, withRides = 0, withChanges = 0;
    for (quint32 seed = 1; seed <= 2000; ++seed) {
        World w(seed);
        w.make();
        Timetable timetable;
        QStringList stationIds;
        for (int s = 0; s < w.stations; ++s)
            stationIds << QStringLiteral("S%1").arg(s);
        const QString error = buildFrom(w.feed, stationIds, &timetable);
        if (!error.isEmpty())
            continue; // no trip runs on any day
        std::vector<int> ofStation(std::size_t(w.stations), -1);
        for (int s = 0; s < int(timetable.stations().size()); ++s)
            ofStation[timetable.text(timetable.stations()[std::size_t(s)].stopId).mid(1).toInt()] =
                s;
        JourneySearch search(timetable);
        for (int q = 0; q < 4; ++q) {
            // Mostly from where some trip starts, shortly before it leaves on a day it runs, often
            // to where a trip going on from it ends.
            const Trip& later = w.trips[std::size_t(w.pick(0, int(w.trips.size()) - 1))];
            const Trip& near = later.before >= 0 && w.chance(70)
                                   ? w.trips[std::size_t(later.before)]
                                   : w.trips[std::size_t(w.pick(0, int(w.trips.size()) - 1))];
            std::vector<int> days;
            for (int d = 0; d < kDays; ++d)
                if (w.serviceDays[std::size_t(near.service)][std::size_t(d)])
                    days.push_back(d);
            std::vector<int> from{near.calls[0].station}, to;
            if (&near != &later && later.calls.back().station != from[0])
                to.push_back(later.calls.back().station);
            for (int s = 0; s < w.stations; ++s)
                if (ofStation[std::size_t(s)] >= 0 && s != from[0] &&
                    std::count(to.begin(), to.end(), s) == 0 &&
                    (to.empty() ? w.chance(50) : w.chance(15)))
                    (to.empty() || w.chance(50) ? to : from).push_back(s);
            if (to.empty())
                continue;
            JourneyQuery query;
            for (const int s : from)
                query.from.push_back(ofStation[std::size_t(s)]);
            for (const int s : to)
                query.to.push_back(ofStation[std::size_t(s)]);
            const int day = days.empty() || w.chance(10)
                                ? w.pick(0, kDays - 1)
                                : days[std::size_t(w.pick(0, int(days.size()) - 1))];
            query.departure =
                w.dayBase(day) + (w.chance(85) ? near.calls[0].departure - w.pick(0, 40) * 60
                                               : w.pick(360, 1500) * 60);
            query.windowMinutes = w.chance(30) ? w.pick(20, 120) : 0;
            query.changeTime = w.pick(0, 3) * 100;
            std::vector<Answer> found;
            for (const Journey& j : search.search(query)) {
                std::vector<std::pair<QByteArray, int>> boarded;
                for (const JourneyLeg& leg : j.legs)
                    if (leg.kind == JourneyLeg::Kind::Ride) {
                        const Timetable::Pattern& p =
                            timetable.patterns()[std::size_t(leg.pattern)];
                        boarded.emplace_back(
                            timetable.text(timetable.trips()[std::size_t(leg.trip)].tripId)
                                .toUtf8(),
                            int(timetable.stopsOf(p)[std::size_t(leg.boardCall)].sequence));
                    }
                found.emplace_back(j.departure, j.arrival, j.rides, j.walkSeconds, j.stopsPassed,
                                   boarded);
            }
            std::sort(found.begin(), found.end());
            const std::vector<Answer> expected =
                scan(w, from, to, query.departure, query.windowMinutes, query.changeTime);
            ++searched;
            const auto rides = [&](int n) {
                return std::any_of(expected.begin(), expected.end(),
                                   [&](const Answer& a) { return std::get<2>(a) >= n; });
            };
            withRides += rides(1);
            withChanges += rides(2);
            if (found != expected) {
                qWarning() << "seed" << seed << "query" << q << "from" << from << "to" << to << "at"
                           << query.departure << "window" << query.windowMinutes << "change"
                           << query.changeTime;
                for (auto it = w.feed.cbegin(); it != w.feed.cend(); ++it)
                    qWarning().noquote() << it.key() << "\n" << it.value();
                for (const Answer& a : found)
                    qWarning() << "found" << std::get<0>(a) << std::get<1>(a) << std::get<2>(a)
                               << std::get<3>(a) << std::get<4>(a) << std::get<5>(a).size();
                for (const Answer& a : expected)
                    qWarning() << "expected" << std::get<0>(a) << std::get<1>(a) << std::get<2>(a)
                               << std::get<3>(a) << std::get<4>(a) << std::get<5>(a).size();
                QFAIL("the search and the connection scan differ");
            }
        }
    }
    // The feeds must give journeys to compare: rides, and changes.
    QVERIFY2(withRides > searched / 3 && withChanges > searched / 20,
             qPrintable(QStringLiteral("%1 searches, %2 with rides, %3 with changes")
                            .arg(searched)
                            .arg(withRides)
                            .arg(withChanges)));
}

QTEST_GUILESS_MAIN(TestJourneyScan)
#include "tst_journeyscan.moc"

#pragma once

#include "timetable/timetable.h"

#include <memory>
#include <vector>

// Journeys by the timetable: from a set of stations to another, leaving at or after a time (or
// within a window of departures), with at most 8 rides.
//
// A journey boards at an origin station or after one walk from it; between two rides it changes
// inside a station (the next departure no earlier than the arrival plus the station's change
// time; no change where changes are forbidden) or walks once; it may end with one walk. Every
// ride boards in [t, t + 24 h) of the time asked. The answer is the Pareto set of (arrival,
// rides); of equal journeys the one that leaves latest, then walks least, then passes fewest
// stops, then has the smallest list of (trip_id, stop_sequence) boarded stands.

namespace lirsk {

struct JourneyLeg {
    enum class Kind { Ride, Walk };
    Kind kind = Kind::Walk;
    int from = 0, to = 0;              // stations
    qint64 departure = 0, arrival = 0; // seconds since the epoch
    // Rides only: the timetable's pattern and trip, and the calls boarded and left.
    int pattern = -1;
    int trip = -1;
    int boardCall = 0, alightCall = 0;
};

struct Journey {
    qint64 departure = 0, arrival = 0; // seconds since the epoch
    int rides = 0;
    int walkSeconds = 0;
    int stopsPassed = 0;
    std::vector<JourneyLeg> legs;
};

struct JourneyQuery {
    std::vector<int> from, to; // stations; the two sets must not meet
    qint64 departure = 0;      // seconds since the epoch
    // 0: the journeys leaving at or after the departure; else every journey leaving within this
    // many minutes from it that no other in the window beats (leaves no earlier, arrives no
    // later, with no more rides).
    int windowMinutes = 0;
    int changeTime = kDefaultChangeTime; // where transfers.txt gives none, seconds
};

constexpr int kMaxRides = 8;

// Keeps its working memory between searches; one search at a time.
class JourneySearch {
public:
    explicit JourneySearch(const Timetable& timetable);
    ~JourneySearch();
    JourneySearch(const JourneySearch&) = delete;
    JourneySearch& operator=(const JourneySearch&) = delete;

    // The journeys, earliest departure first.
    std::vector<Journey> search(const JourneyQuery& query);

    struct Work;

private:
    std::unique_ptr<Work> work_;
};

} // namespace lirsk

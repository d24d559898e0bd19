#pragma once

#include "timetable/journeysearch.h"

#include <optional>

// The working state of a journey search, apart from the timetable: round by round, the earliest
// arrivals from the origins (forward) and the latest departures still reaching the destination
// by an arrival (backward), then the choice among the journeys that meet both.

namespace lirsk {

// A trip of a pattern on one service day.
struct Run {
    int day = 0;
    std::uint32_t trip = 0; // within its pattern
    bool operator==(const Run&) const = default;
};

// Labels for rounds 0..kMaxRides of every station: a value set in a round holds for every later
// round too, so a round's array gives the best with at most that many rides.
class RoundLabels {
public:
    void resize(std::size_t stations, TimetableTime none);
    TimetableTime at(int round, std::size_t station) const {
        return values_[std::size_t(round) * stations_ + station];
    }
    // Whether the value is better than the round's (earlier, or later when latest is set); if so
    // it is set for this round and the later ones up to lastRound where it is better too.
    bool improve(int round, std::size_t station, TimetableTime value, bool latest,
                 int lastRound = kMaxRides);
    void clear();

private:
    std::size_t stations_ = 0;
    TimetableTime none_ = kNever;
    std::vector<TimetableTime> values_;
    std::vector<std::uint32_t> touched_;
    std::vector<bool> isTouched_;
};

struct JourneySearch::Work {
    explicit Work(const Timetable& t);

    const Timetable& timetable;
    std::size_t stationCount = 0;
    // The query.
    TimetableTime start = 0;     // the time asked
    TimetableTime windowEnd = 0; // rides board before this
    int changeTime = kDefaultChangeTime;
    std::vector<bool> isOrigin, isDestination;

    // Forward: arrivals by a ride, and arrivals on foot (or the start itself), each round.
    RoundLabels rides, walks;
    TimetableTime destination[kMaxRides + 1];
    std::vector<std::uint32_t> marked, next, improvedByRide;
    std::vector<bool> isMarked, isImprovedByRide;
    std::vector<std::uint32_t> patternFrom; // the first call to scan of each pattern
    std::vector<std::uint32_t> markedPatterns;
    // Leaving at an exact time: where the first ride may board, and how long after leaving.
    bool exactStart = false;
    TimetableTime leaving = 0;
    std::vector<std::pair<std::uint32_t, TimetableTime>> startOffsets;

    // Backward, for one arrival and number of rides: the latest arrival by a ride at a station
    // and the latest boarding there from which the rest reaches the destination in time.
    RoundLabels alights, boards;

    int change(std::size_t station) const { return timetable.changeTime(int(station), changeTime); }
    TimetableTime departure(const Timetable::Pattern& p, std::uint32_t call, const Run& r) const {
        return timetable.dayBase(r.day) + TimetableTime(timetable.departuresAt(p, call)[r.trip]);
    }
    TimetableTime arrival(const Timetable::Pattern& p, std::uint32_t call, const Run& r) const {
        return timetable.dayBase(r.day) + TimetableTime(timetable.arrivalsAt(p, call)[r.trip]);
    }
    bool runs(const Timetable::Pattern& p, const Run& r) const {
        return timetable.runsOn(p.firstTrip + r.trip, r.day);
    }
    // The earliest run that leaves the call at or after `at` and before the window's end.
    std::optional<Run> earliestRun(const Timetable::Pattern& p, std::uint32_t call,
                                   TimetableTime at) const;
    // The run after `after` at the call in time order, if it leaves by `until`.
    std::optional<Run> nextRun(const Timetable::Pattern& p, std::uint32_t call, const Run& after,
                               TimetableTime until) const;
    // The latest run that arrives at the call by `by` (times[...] are arrivals) or leaves it
    // by `by` (departures), and left its calls no earlier than the start.
    std::optional<Run> latestRun(const Timetable::Pattern& p, std::uint32_t call, TimetableTime by,
                                 bool departing) const;

    // The times of leaving an origin for the rides from `station`, reached `walk` seconds after
    // leaving, for leaving from the start up to `last` (not included).
    void departuresFrom(std::uint32_t station, TimetableTime walk, TimetableTime last,
                        std::vector<TimetableTime>& leaves) const;

    void startQuery(const JourneyQuery& q);
    // Forward rounds from the origins at `leave`, keeping what earlier calls found (a window is
    // searched from its latest departure back, each search for the journeys that leave exactly
    // then: their first ride at `leave`, or after the walk to it).
    void forward(TimetableTime leave, bool exactly);
    // The earliest run one can board at the call when ready there at `ready` in the round.
    std::optional<Run> boardable(const Timetable::Pattern& p, std::uint32_t call,
                                 TimetableTime ready, int round) const;
    void scanForward(std::uint32_t pattern, int round);
    void reachByRide(int round, std::uint32_t station, TimetableTime at);
    void reachOnFoot(int round, std::uint32_t station, TimetableTime at);
    TimetableTime readyAt(int round, std::size_t station) const;

    // Backward rounds from the destinations at `arrive` with at most `rideCount` rides, pruned
    // by the forward labels; gives the latest departure from an origin.
    TimetableTime backward(TimetableTime arrive, int rideCount);
    void scanBackward(std::uint32_t pattern, std::uint32_t lastCall, int round);
    void boardLatest(int round, std::uint32_t station, TimetableTime at);
    void alightLatest(int round, std::uint32_t station, TimetableTime at);

    // The journey leaving at `leave` and arriving at `arrive` with `rideCount` rides that walks
    // least, then passes fewest stops, then boards the smallest (trip_id, stop_sequence) list.
    std::optional<Journey> choose(TimetableTime leave, TimetableTime arrive, int rideCount) const;
    std::optional<Journey> walkOnly() const;
};

} // namespace lirsk

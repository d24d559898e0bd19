#pragma once

#include "timetable/journeysearch.h"

#include <optional>

// The working state of a journey search, apart from the timetable: round by round, the earliest
// arrivals from the origins (forward) and the latest departures still reaching the destination
// by an arrival (backward), then the choice among the journeys that meet both.

namespace lirsk {

// The times of a pattern's trips at one call, trip by trip: arrivals, or departures.
class CallTimes {
public:
    CallTimes(const Timetable& t, const Timetable::Pattern& p, std::uint32_t call, bool departing)
        : size_(p.tripCount) {
        if (departing) {
            departures_ = t.departuresFrom(p, call).data();
        } else {
            arrivals_ = &t.stopTime(p, 0, call);
            stride_ = p.stopCount;
        }
    }
    std::uint32_t size() const { return size_; }
    TimetableTime operator[](std::uint32_t trip) const {
        return TimetableTime(departures_ ? departures_[trip]
                                         : arrivals_[std::size_t(trip) * stride_].arrival);
    }
    TimetableTime front() const { return (*this)[0]; }
    TimetableTime back() const { return (*this)[size_ - 1]; }
    // The first trip whose time is t or later (size() when none is).
    std::uint32_t firstFrom(TimetableTime t) const {
        std::uint32_t low = 0, high = size_;
        while (low < high) {
            const std::uint32_t middle = (low + high) / 2;
            if ((*this)[middle] < t)
                low = middle + 1;
            else
                high = middle;
        }
        return low;
    }

private:
    const std::uint32_t* departures_ = nullptr;
    const Timetable::StopTime* arrivals_ = nullptr;
    std::size_t stride_ = 0;
    std::uint32_t size_;
};

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
        return values_[station * kRounds + std::size_t(round)];
    }
    // Whether the value is better than the round's (earlier, or later when latest is set); if so
    // it is set for this round and the later ones up to lastRound where it is better too.
    bool improve(int round, std::size_t station, TimetableTime value, bool latest,
                 int lastRound = kMaxRides);
    void clear();

private:
    static constexpr std::size_t kRounds = kMaxRides + 1; // a station's rounds side by side
    TimetableTime none_ = kNever;
    std::vector<TimetableTime> values_;
    std::vector<std::uint32_t> touched_;
    std::vector<std::uint8_t> isTouched_;
};

struct JourneySearch::Work {
    explicit Work(const Timetable& t);

    const Timetable& timetable;
    std::size_t stationCount = 0;
    // The query.
    TimetableTime start = 0;     // the time asked
    TimetableTime windowEnd = 0; // rides board before this
    std::vector<int> changeAt;   // each station's change time, -1 where changes are forbidden
    std::vector<std::uint8_t> isOrigin, isDestination;
    // At least how long from each station to a destination (riding without waits, walking).
    std::vector<TimetableTime> toGo;
    std::vector<std::vector<std::uint32_t>> buckets;
    std::vector<std::uint8_t> settled;
    void boundToGo();
    // The service days whose trips can be boarded within the query's reach (a day's trips run
    // up to 72 h), and on which of them each pattern runs (bit k: day dayFirst + k).
    int dayFirst = 0, dayEnd = 0;
    std::vector<std::uint8_t> activeDays;
    static constexpr int kReachDays = 5;

    // Forward: arrivals by a ride, and when one can board at each station (after a change, a
    // walk, or at the start), each round.
    RoundLabels rides, ready;
    TimetableTime destination[kMaxRides + 1];
    // Stations where one can board sooner than before: marked in a round for the next one.
    std::vector<std::uint32_t> marked, boardFrom, improvedByRide;
    std::vector<std::uint8_t> isMarked, isBoardFrom, isImprovedByRide;
    // The first and last calls of each pattern where one may board in the round (backward:
    // the last call to scan back from).
    std::vector<std::uint32_t> patternFrom, patternTo;
    std::vector<std::uint32_t> markedPatterns;
    // Leaving at an exact time: where the first ride may board, and how long after leaving.
    bool exactStart = false;
    TimetableTime leaving = 0;
    std::vector<std::pair<std::uint32_t, TimetableTime>> startOffsets;

    // Backward, for one arrival and number of rides: the latest arrival by a ride at a station
    // and the latest boarding there from which the rest reaches the destination in time.
    RoundLabels alights, boards;

    // Runs are ordered by their time at a call, then by day, then by their place in the pattern;
    // the timetable keeps that order the same at every call of a pattern.
    TimetableTime departure(const Timetable::Pattern& p, std::uint32_t call, const Run& r) const {
        return timetable.dayBase(r.day) +
               TimetableTime(timetable.stopTime(p, r.trip, call).departure);
    }
    TimetableTime arrival(const Timetable::Pattern& p, std::uint32_t call, const Run& r) const {
        return timetable.dayBase(r.day) +
               TimetableTime(timetable.stopTime(p, r.trip, call).arrival);
    }
    bool runs(const Timetable::Pattern& p, const Run& r) const {
        return timetable.runsOn(p.firstTrip + r.trip, r.day);
    }
    // A run's place in that order at a call: its time there, day, place in the pattern.
    using RunKey = std::tuple<TimetableTime, int, std::uint32_t>;
    // The first run after `after` at the call that leaves before `before`.
    std::optional<Run> firstRun(std::uint32_t pattern, std::uint32_t call, const RunKey& after,
                                TimetableTime before) const;
    // The earliest run that leaves the call at or after `at` and before the window's end.
    std::optional<Run> earliestRun(std::uint32_t pattern, std::uint32_t call,
                                   TimetableTime at) const;
    // The run after `after` at the call, if it leaves by `until` and before the window's end.
    std::optional<Run> nextRun(std::uint32_t pattern, std::uint32_t call, const Run& after,
                               TimetableTime until) const;
    // The latest run that arrives at the call by `by` (or leaves it by `by`, departing), and
    // that is there no earlier than the start.
    std::optional<Run> latestRun(std::uint32_t pattern, std::uint32_t call, TimetableTime by,
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
    std::optional<Run> boardable(std::uint32_t pattern, std::uint32_t call, TimetableTime ready,
                                 int round) const;
    void scanForward(std::uint32_t pattern, int round);
    bool mayCatchEarlier(const Timetable::Pattern& p, std::uint32_t call, const Run& run,
                         TimetableTime at) const;
    void reachByRide(int round, std::uint32_t station, TimetableTime at);
    void reachOnFoot(int round, std::uint32_t station, TimetableTime at);
    // The earliest one can board at the station with at most `round` rides behind, in any round.
    TimetableTime earliestReady(std::size_t station) const {
        return std::min(ready.at(0, station), ready.at(kMaxRides, station));
    }

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

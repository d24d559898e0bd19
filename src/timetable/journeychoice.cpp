#include "timetable/journeywork.h"

#include <algorithm>
#include <array>

namespace lirsk {

namespace {

constexpr std::uint32_t kNoCall = std::numeric_limits<std::uint32_t>::max();
constexpr TimetableTime kNone = -kNever;

// What a journey has done so far, in the order journeys of equal times are told apart.
struct Prefix {
    int walk = 0;
    int stops = 0;
    int rides = 0;
    std::array<std::uint64_t, kMaxRides> boarded{}; // trip_id's rank, then stop_sequence

    bool operator<(const Prefix& o) const {
        if (walk != o.walk)
            return walk < o.walk;
        if (stops != o.stops)
            return stops < o.stops;
        return std::lexicographical_compare(boarded.begin(), boarded.begin() + rides,
                                            o.boarded.begin(), o.boarded.begin() + o.rides);
    }
};

// A place in time a journey can be at: ready to board at a station, or just arrived there by a
// ride; how it got there (from which node of the step before) and what it did so far.
struct Node {
    enum class Step { Start, Walk, Change, Ride };
    std::uint32_t station = 0;
    TimetableTime time = 0;
    bool exact = false; // the first ride must leave at exactly this time
    Step step = Step::Start;
    int parent = -1;
    std::uint32_t from = 0; // a walk's or a ride's first station
    std::uint32_t pattern = 0, boardCall = 0, alightCall = 0;
    Run run;
    Prefix prefix;
};

// Of the nodes at the same station, time and start rule, the one with the least prefix.
std::vector<Node> merged(std::vector<Node> nodes) {
    std::sort(nodes.begin(), nodes.end(), [](const Node& a, const Node& b) {
        if (a.station != b.station || a.time != b.time || a.exact != b.exact)
            return std::tie(a.station, a.time, a.exact) < std::tie(b.station, b.time, b.exact);
        return a.prefix < b.prefix;
    });
    nodes.erase(std::unique(nodes.begin(), nodes.end(),
                            [](const Node& a, const Node& b) {
                                return a.station == b.station && a.time == b.time &&
                                       a.exact == b.exact;
                            }),
                nodes.end());
    return nodes;
}

} // namespace

void JourneySearch::Work::alightLatest(int round, std::uint32_t station, TimetableTime at) {
    // No journey from the origins arrives there by a ride so early.
    if (at < rides.at(kMaxRides, station) || !alights.improve(round, station, at, true))
        return;
    if (!isMarked[station]) {
        isMarked[station] = true;
        marked.push_back(station);
    }
}

void JourneySearch::Work::boardLatest(int round, std::uint32_t station, TimetableTime at) {
    if (at < start || at < earliestReady(station) || !boards.improve(round, station, at, true))
        return;
    if (!isImprovedByRide[station]) {
        isImprovedByRide[station] = true;
        improvedByRide.push_back(station);
    }
}

TimetableTime JourneySearch::Work::backward(TimetableTime arrive, int rideCount) {
    alights.clear();
    boards.clear();
    for (std::uint32_t s = 0; s < stationCount; ++s)
        if (isDestination[s]) {
            alightLatest(0, s, arrive);
            for (const Timetable::Walk& w : timetable.walksTo(int(s)))
                alightLatest(0, w.to, arrive - TimetableTime(w.seconds));
        }
    for (int round = 1; round <= rideCount && !marked.empty(); ++round) {
        // Only where one may arrive later than in the round before can a ride leave later.
        boardFrom.swap(marked);
        for (const std::uint32_t s : boardFrom) {
            isMarked[s] = false;
            isBoardFrom[s] = true;
            for (const Timetable::Call& c : timetable.alightingsAt(int(s))) {
                if (!activeDays[c.pattern])
                    continue;
                std::uint32_t& last = patternFrom[c.pattern];
                if (last == kNoCall)
                    markedPatterns.push_back(c.pattern);
                last = last == kNoCall ? c.index : std::max(last, c.index);
            }
        }
        for (const std::uint32_t p : markedPatterns) {
            scanBackward(p, patternFrom[p], round);
            patternFrom[p] = kNoCall;
        }
        markedPatterns.clear();
        for (const std::uint32_t s : boardFrom)
            isBoardFrom[s] = false;
        boardFrom.clear();
        for (const std::uint32_t s : improvedByRide) {
            isImprovedByRide[s] = false;
            const TimetableTime at = boards.at(round, s);
            if (changeAt[s] >= 0)
                alightLatest(round, s, at - changeAt[s]);
            for (const Timetable::Walk& w : timetable.walksTo(int(s)))
                alightLatest(round, w.to, at - TimetableTime(w.seconds));
        }
        improvedByRide.clear();
    }
    for (const std::uint32_t s : marked)
        isMarked[s] = false;
    marked.clear();
    TimetableTime latest = kNone;
    for (std::uint32_t s = 0; s < stationCount; ++s)
        if (isOrigin[s]) {
            latest = std::max(latest, boards.at(rideCount, s));
            for (const Timetable::Walk& w : timetable.walksFrom(int(s)))
                latest = std::max(latest, boards.at(rideCount, w.to) - TimetableTime(w.seconds));
        }
    return latest;
}

// One round back along a pattern from its last call reached in the round before: the latest
// run that still arrives in time somewhere after, boarded as late as the window allows.
void JourneySearch::Work::scanBackward(std::uint32_t pattern, std::uint32_t lastCall, int round) {
    const Timetable::Pattern& p = timetable.patterns()[pattern];
    const std::span<const Timetable::PatternStop> calls = timetable.stopsOf(p);
    const auto board = [&](std::uint32_t i, const Run& run) {
        std::optional<Run> boarded = run;
        if (departure(p, i, run) >= windowEnd)
            boarded = latestRun(pattern, i, windowEnd - 1, true);
        if (boarded)
            boardLatest(round, calls[i].station(), departure(p, i, *boarded));
    };
    const auto latestTo = [&](std::uint32_t j) -> std::optional<Run> {
        const TimetableTime by = calls[j].canAlight() && isBoardFrom[calls[j].station()]
                                     ? alights.at(round - 1, calls[j].station())
                                     : kNone;
        return by > kNone ? latestRun(pattern, j, by, false) : std::nullopt;
    };
    if (timetable.revisits(pattern)) {
        for (std::uint32_t j = lastCall; j > 0; --j)
            if (const std::optional<Run> run = latestTo(j))
                for (std::uint32_t i = 0; i < j; ++i)
                    if (calls[i].canBoard() && calls[i].station() != calls[j].station())
                        board(i, *run);
        return;
    }
    std::optional<Run> run;
    for (std::uint32_t i = lastCall + 1; i-- > 0;) {
        if (run && calls[i].canBoard())
            board(i, *run);
        const std::optional<Run> later = latestTo(i);
        if (later && (!run || std::tuple(arrival(p, i, *later), later->day, later->trip) >
                                  std::tuple(arrival(p, i, *run), run->day, run->trip)))
            run = later;
    }
}

std::optional<Journey> JourneySearch::Work::walkOnly() const {
    std::optional<Journey> best;
    for (std::uint32_t s = 0; s < stationCount; ++s)
        if (isOrigin[s])
            for (const Timetable::Walk& w : timetable.walksFrom(int(s)))
                if (isDestination[w.to] && (!best || int(w.seconds) < best->walkSeconds)) {
                    JourneyLeg leg;
                    leg.from = int(s);
                    leg.to = int(w.to);
                    leg.departure = timetable.toUtc(start);
                    leg.arrival = timetable.toUtc(start + TimetableTime(w.seconds));
                    best = Journey{leg.departure, leg.arrival, 0, int(w.seconds), 0, {leg}};
                }
    return best;
}

std::optional<Journey> JourneySearch::Work::choose(TimetableTime leave, TimetableTime arrive,
                                                   int rideCount) const {
    // ready[r]: where the journey can board its ride r + 1; arrived[r]: where ride r left it.
    const std::size_t rideSteps = std::size_t(rideCount);
    std::vector<std::vector<Node>> ready(rideSteps), arrived(rideSteps + 1);
    std::vector<Node> nodes;
    for (std::uint32_t s = 0; s < stationCount; ++s)
        if (isOrigin[s]) {
            nodes.push_back({s, leave, true, Node::Step::Start, -1, s, 0, 0, 0, {}, {}});
            for (const Timetable::Walk& w : timetable.walksFrom(int(s))) {
                Node n{w.to, leave + TimetableTime(w.seconds),
                       true, Node::Step::Walk,
                       -1,   s,
                       0,    0,
                       0,    {},
                       {}};
                n.prefix.walk = int(w.seconds);
                nodes.push_back(n);
            }
        }
    ready[0] = merged(std::move(nodes));
    for (int r = 0; r < rideCount; ++r) {
        const int left = rideCount - r; // rides still to take, this one among them
        nodes.clear();
        for (std::size_t k = 0; k < ready[std::size_t(r)].size(); ++k) {
            const Node& at = ready[std::size_t(r)][k];
            const TimetableTime until = boards.at(left, at.station);
            if (at.time > until)
                continue;
            for (const Timetable::Call& c : timetable.boardingsAt(int(at.station))) {
                const Timetable::Pattern& p = timetable.patterns()[c.pattern];
                const std::span<const Timetable::PatternStop> calls = timetable.stopsOf(p);
                if (!activeDays[c.pattern])
                    continue;
                for (std::optional<Run> run = earliestRun(c.pattern, c.index, at.time); run;
                     run = nextRun(c.pattern, c.index, *run, until)) {
                    const TimetableTime leaves = departure(p, c.index, *run);
                    if (leaves > until || (at.exact && leaves != at.time))
                        break;
                    for (std::uint32_t j = c.index + 1; j < calls.size(); ++j) {
                        const std::uint32_t to = calls[j].station();
                        const TimetableTime a = arrival(p, j, *run);
                        if (!calls[j].canAlight() || to == at.station ||
                            a > alights.at(left - 1, to))
                            continue;
                        Node n{to,      a, false, Node::Step::Ride, int(k), at.station, c.pattern,
                               c.index, j, *run,  at.prefix};
                        n.prefix.stops += int(j - c.index);
                        const Timetable::Trip& trip = timetable.trips()[p.firstTrip + run->trip];
                        n.prefix.boarded[std::size_t(n.prefix.rides++)] =
                            (std::uint64_t(trip.idRank) << 32) | calls[c.index].sequence;
                        nodes.push_back(n);
                    }
                }
            }
        }
        arrived[std::size_t(r) + 1] = merged(std::move(nodes));
        if (r + 1 == rideCount)
            break;
        nodes.clear();
        for (std::size_t k = 0; k < arrived[std::size_t(r) + 1].size(); ++k) {
            const Node& at = arrived[std::size_t(r) + 1][k];
            const int c = changeAt[at.station];
            if (c >= 0 && at.time + c <= boards.at(left - 1, at.station))
                nodes.push_back({at.station,
                                 at.time + c,
                                 false,
                                 Node::Step::Change,
                                 int(k),
                                 at.station,
                                 0,
                                 0,
                                 0,
                                 {},
                                 at.prefix});
            for (const Timetable::Walk& w : timetable.walksFrom(int(at.station))) {
                const TimetableTime t = at.time + TimetableTime(w.seconds);
                if (t > boards.at(left - 1, w.to))
                    continue;
                Node n{w.to, t, false, Node::Step::Walk, int(k), at.station, 0,
                       0,    0, {},    at.prefix};
                n.prefix.walk += int(w.seconds);
                nodes.push_back(n);
            }
        }
        ready[std::size_t(r) + 1] = merged(std::move(nodes));
    }

    // The journey's end: at a destination by the last ride, or one walk after it.
    const std::vector<Node>& ends = arrived[std::size_t(rideCount)];
    int best = -1;
    std::optional<Timetable::Walk> finalWalk;
    Prefix bestPrefix;
    const auto consider = [&](int k, const Prefix& prefix, std::optional<Timetable::Walk> walk) {
        if (best < 0 || prefix < bestPrefix) {
            best = k;
            bestPrefix = prefix;
            finalWalk = walk;
        }
    };
    for (std::size_t k = 0; k < ends.size(); ++k) {
        const Node& at = ends[k];
        if (isDestination[at.station] && at.time <= arrive)
            consider(int(k), at.prefix, std::nullopt);
        for (const Timetable::Walk& w : timetable.walksFrom(int(at.station)))
            if (isDestination[w.to] && at.time + TimetableTime(w.seconds) <= arrive) {
                Prefix p = at.prefix;
                p.walk += int(w.seconds);
                consider(int(k), p, w);
            }
    }
    if (best < 0)
        return std::nullopt;

    // Back from the end to the start, leg by leg.
    Journey journey{timetable.toUtc(leave), timetable.toUtc(arrive), rideCount,
                    bestPrefix.walk,        bestPrefix.stops,        {}};
    const auto walkLeg = [&](std::uint32_t from, std::uint32_t to, TimetableTime departs,
                             TimetableTime arrives) {
        JourneyLeg leg;
        leg.from = int(from);
        leg.to = int(to);
        leg.departure = timetable.toUtc(departs);
        leg.arrival = timetable.toUtc(arrives);
        journey.legs.push_back(leg);
    };
    if (finalWalk)
        walkLeg(ends[std::size_t(best)].station, finalWalk->to, ends[std::size_t(best)].time,
                ends[std::size_t(best)].time + TimetableTime(finalWalk->seconds));
    for (int r = rideCount, k = best; r > 0; --r) {
        const Node& a = arrived[std::size_t(r)][std::size_t(k)];
        const Timetable::Pattern& p = timetable.patterns()[a.pattern];
        JourneyLeg ride;
        ride.kind = JourneyLeg::Kind::Ride;
        ride.from = int(a.from);
        ride.to = int(a.station);
        ride.departure = timetable.toUtc(departure(p, a.boardCall, a.run));
        ride.arrival = timetable.toUtc(a.time);
        ride.pattern = int(a.pattern);
        ride.trip = int(p.firstTrip + a.run.trip);
        ride.boardCall = int(a.boardCall);
        ride.alightCall = int(a.alightCall);
        journey.legs.push_back(ride);
        const Node& b = ready[std::size_t(r) - 1][std::size_t(a.parent)];
        k = b.parent;
        if (b.step == Node::Step::Walk)
            walkLeg(b.from, b.station,
                    k >= 0 ? arrived[std::size_t(r) - 1][std::size_t(k)].time : leave, b.time);
    }
    std::reverse(journey.legs.begin(), journey.legs.end());
    return journey;
}

} // namespace lirsk

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

namespace {

// Walks the journeys that leave at `leave` and arrive by `arrive` with `rides` rides, ride by
// ride, keeping at each place in time the best of what got there.
class Chooser {
public:
    Chooser(const JourneySearch::Work& w, TimetableTime leave, TimetableTime arrive, int rides)
        : w_(w), leave_(leave), arrive_(arrive), rides_(rides), ready_(std::size_t(rides)),
          arrived_(std::size_t(rides) + 1) {}

    std::optional<Journey> choose() {
        start();
        for (int r = 0; r < rides_; ++r) {
            ride(r);
            if (r + 1 < rides_)
                transfer(r + 1);
        }
        return end();
    }

private:
    static Node next(Node::Step step, std::uint32_t station, TimetableTime time, int parent,
                     std::uint32_t from, const Prefix& prefix) {
        Node n;
        n.step = step;
        n.station = station;
        n.time = time;
        n.parent = parent;
        n.from = from;
        n.prefix = prefix;
        return n;
    }
    void start();
    void ride(int r);
    void transfer(int r);
    std::optional<Journey> end() const;
    Journey journey(int last, const Prefix& prefix, std::optional<Timetable::Walk> walk) const;

    const JourneySearch::Work& w_;
    TimetableTime leave_, arrive_;
    int rides_;
    // ready_[r]: where the journey can board its ride r + 1; arrived_[r]: where ride r left it.
    std::vector<std::vector<Node>> ready_, arrived_;
};

// At an origin at the time of leaving, or a walk from one, the first ride leaving then.
void Chooser::start() {
    std::vector<Node> nodes;
    for (std::uint32_t s = 0; s < w_.stationCount; ++s)
        if (w_.isOrigin[s]) {
            nodes.push_back(next(Node::Step::Start, s, leave_, -1, s, {}));
            for (const Timetable::Walk& walk : w_.timetable.walksFrom(int(s))) {
                Prefix p;
                p.walk = int(walk.seconds);
                nodes.push_back(next(Node::Step::Walk, walk.to,
                                     leave_ + TimetableTime(walk.seconds), -1, s, p));
            }
        }
    for (Node& n : nodes)
        n.exact = true;
    ready_[0] = merged(std::move(nodes));
}

// Ride r + 1 from each place it can board, on every run that still reaches the destination in
// time (as the backward labels say), to every call where it may end.
void Chooser::ride(int r) {
    const int left = rides_ - r; // rides still to take, this one among them
    const Timetable& t = w_.timetable;
    std::vector<Node> nodes;
    for (std::size_t k = 0; k < ready_[std::size_t(r)].size(); ++k) {
        const Node& at = ready_[std::size_t(r)][k];
        const TimetableTime until = w_.boards.at(left, at.station);
        if (at.time > until)
            continue;
        for (const Timetable::Call& c : t.boardingsAt(int(at.station))) {
            if (!w_.activeDays[c.pattern])
                continue;
            const Timetable::Pattern& p = t.patterns()[c.pattern];
            const std::span<const Timetable::PatternStop> calls = t.stopsOf(p);
            for (std::optional<Run> run = w_.earliestRun(c.pattern, c.index, at.time); run;
                 run = w_.nextRun(c.pattern, c.index, *run, until)) {
                const TimetableTime leaves = w_.departure(p, c.index, *run);
                if (leaves > until || (at.exact && leaves != at.time))
                    break;
                Prefix boarded = at.prefix;
                boarded.boarded[std::size_t(boarded.rides++)] =
                    (std::uint64_t(t.trips()[p.firstTrip + run->trip].idRank) << 32) |
                    calls[c.index].sequence;
                for (std::uint32_t j = c.index + 1; j < calls.size(); ++j) {
                    const TimetableTime a = w_.arrival(p, j, *run);
                    const std::uint32_t to = calls[j].station();
                    if (!calls[j].canAlight() || to == at.station ||
                        a > w_.alights.at(left - 1, to))
                        continue;
                    Node n = next(Node::Step::Ride, to, a, int(k), at.station, boarded);
                    n.prefix.stops += int(j - c.index);
                    n.pattern = c.pattern;
                    n.boardCall = c.index;
                    n.alightCall = j;
                    n.run = *run;
                    nodes.push_back(n);
                }
            }
        }
    }
    arrived_[std::size_t(r) + 1] = merged(std::move(nodes));
}

// After ride r: a change inside the station, or a walk, to where ride r + 1 can still board.
void Chooser::transfer(int r) {
    const int left = rides_ - r;
    std::vector<Node> nodes;
    for (std::size_t k = 0; k < arrived_[std::size_t(r)].size(); ++k) {
        const Node& at = arrived_[std::size_t(r)][k];
        const int c = w_.changeAt[at.station];
        if (c >= 0 && at.time + c <= w_.boards.at(left, at.station))
            nodes.push_back(
                next(Node::Step::Change, at.station, at.time + c, int(k), at.station, at.prefix));
        for (const Timetable::Walk& walk : w_.timetable.walksFrom(int(at.station))) {
            const TimetableTime t = at.time + TimetableTime(walk.seconds);
            if (t > w_.boards.at(left, walk.to))
                continue;
            Node n = next(Node::Step::Walk, walk.to, t, int(k), at.station, at.prefix);
            n.prefix.walk += int(walk.seconds);
            nodes.push_back(n);
        }
    }
    ready_[std::size_t(r)] = merged(std::move(nodes));
}

// The journey's end: at a destination by the last ride, or one walk after it.
std::optional<Journey> Chooser::end() const {
    const std::vector<Node>& ends = arrived_[std::size_t(rides_)];
    int best = -1;
    std::optional<Timetable::Walk> walk;
    Prefix bestPrefix;
    const auto consider = [&](int k, const Prefix& prefix, std::optional<Timetable::Walk> last) {
        if (best < 0 || prefix < bestPrefix) {
            best = k;
            bestPrefix = prefix;
            walk = last;
        }
    };
    for (std::size_t k = 0; k < ends.size(); ++k) {
        const Node& at = ends[k];
        if (w_.isDestination[at.station] && at.time <= arrive_)
            consider(int(k), at.prefix, std::nullopt);
        for (const Timetable::Walk& last : w_.timetable.walksFrom(int(at.station)))
            if (w_.isDestination[last.to] && at.time + TimetableTime(last.seconds) <= arrive_) {
                Prefix p = at.prefix;
                p.walk += int(last.seconds);
                consider(int(k), p, last);
            }
    }
    if (best < 0)
        return std::nullopt;
    return journey(best, bestPrefix, walk);
}

// Back from the end to the start, leg by leg.
Journey Chooser::journey(int last, const Prefix& prefix,
                         std::optional<Timetable::Walk> walk) const {
    const Timetable& t = w_.timetable;
    Journey journey{t.toUtc(leave_), t.toUtc(arrive_), rides_, prefix.walk, prefix.stops, {}};
    const auto walkLeg = [&](std::uint32_t from, std::uint32_t to, TimetableTime departs,
                             TimetableTime arrives) {
        JourneyLeg leg;
        leg.from = int(from);
        leg.to = int(to);
        leg.departure = t.toUtc(departs);
        leg.arrival = t.toUtc(arrives);
        journey.legs.push_back(leg);
    };
    const Node& end = arrived_[std::size_t(rides_)][std::size_t(last)];
    if (walk)
        walkLeg(end.station, walk->to, end.time, end.time + TimetableTime(walk->seconds));
    for (int r = rides_, k = last; r > 0; --r) {
        const Node& a = arrived_[std::size_t(r)][std::size_t(k)];
        const Timetable::Pattern& p = t.patterns()[a.pattern];
        JourneyLeg ride;
        ride.kind = JourneyLeg::Kind::Ride;
        ride.from = int(a.from);
        ride.to = int(a.station);
        ride.departure = t.toUtc(w_.departure(p, a.boardCall, a.run));
        ride.arrival = t.toUtc(a.time);
        ride.pattern = int(a.pattern);
        ride.trip = int(p.firstTrip + a.run.trip);
        ride.boardCall = int(a.boardCall);
        ride.alightCall = int(a.alightCall);
        journey.legs.push_back(ride);
        const Node& b = ready_[std::size_t(r) - 1][std::size_t(a.parent)];
        k = b.parent;
        if (b.step == Node::Step::Walk)
            walkLeg(b.from, b.station,
                    k >= 0 ? arrived_[std::size_t(r) - 1][std::size_t(k)].time : leave_, b.time);
    }
    std::reverse(journey.legs.begin(), journey.legs.end());
    return journey;
}

} // namespace

std::optional<Journey> JourneySearch::Work::choose(TimetableTime leave, TimetableTime arrive,
                                                   int rideCount) const {
    return Chooser(*this, leave, arrive, rideCount).choose();
}

} // namespace lirsk

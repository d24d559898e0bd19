#include "timetable/journeysearch.h"

#include "timetable/journeywork.h"

#include <algorithm>

namespace lirsk {

namespace {

constexpr std::uint32_t kNoCall = std::numeric_limits<std::uint32_t>::max();

} // namespace

void RoundLabels::resize(std::size_t stations, TimetableTime none) {
    none_ = none;
    values_.assign(stations * kRounds, none);
    isTouched_.assign(stations, 0);
    touched_.clear();
}

bool RoundLabels::improve(int round, std::size_t station, TimetableTime value, bool latest,
                          int lastRound) {
    const auto better = [&](TimetableTime old) { return latest ? value > old : value < old; };
    if (!better(values_[station * kRounds + std::size_t(round)]))
        return false;
    for (int r = round; r <= lastRound; ++r) {
        TimetableTime& v = values_[station * kRounds + std::size_t(r)];
        if (!better(v))
            break;
        v = value;
    }
    if (!isTouched_[station]) {
        isTouched_[station] = true;
        touched_.push_back(std::uint32_t(station));
    }
    return true;
}

void RoundLabels::clear() {
    for (const std::uint32_t s : touched_) {
        for (int r = 0; r <= kMaxRides; ++r)
            values_[std::size_t(s) * kRounds + std::size_t(r)] = none_;
        isTouched_[s] = false;
    }
    touched_.clear();
}

JourneySearch::Work::Work(const Timetable& t) : timetable(t), stationCount(t.stations().size()) {
    changeAt.assign(stationCount, kDefaultChangeTime);
    isOrigin.assign(stationCount, false);
    isDestination.assign(stationCount, false);
    for (RoundLabels* labels : {&rides, &ready})
        labels->resize(stationCount, kNever);
    alights.resize(stationCount, -kNever);
    boards.resize(stationCount, -kNever);
    isMarked.assign(stationCount, false);
    isBoardFrom.assign(stationCount, false);
    isImprovedByRide.assign(stationCount, false);
    patternFrom.assign(t.patterns().size(), kNoCall);
    patternTo.assign(t.patterns().size(), 0);
}

// The days of a pattern's runs may overlap at a call (trips past midnight): each day whose runs
// can be there in time gives its own first, and the earliest of those wins.
std::optional<Run> JourneySearch::Work::firstRun(std::uint32_t pattern, std::uint32_t call,
                                                 const RunKey& after, TimetableTime before) const {
    const Timetable::Pattern& p = timetable.patterns()[pattern];
    const CallTimes times(timetable, p, call, true);
    const TimetableTime lowest = times.front(), highest = times.back();
    const TimetableTime from = std::get<0>(after);
    std::optional<Run> best;
    TimetableTime bestTime = kNever;
    for (int d = dayFirst; d < dayEnd; ++d) {
        const TimetableTime base = timetable.dayBase(d);
        if (base + lowest >= std::min(before, bestTime))
            break;
        if (base + highest < from || !(activeDays[pattern] >> (d - dayFirst) & 1))
            continue;
        for (std::uint32_t j = times.firstFrom(from - base); j < times.size(); ++j) {
            const TimetableTime t = base + times[j];
            if (t >= std::min(before, bestTime))
                break;
            if (RunKey(t, d, j) > after && runs(p, {d, j})) {
                best = Run{d, j};
                bestTime = t;
                break;
            }
        }
    }
    return best;
}

std::optional<Run> JourneySearch::Work::earliestRun(std::uint32_t pattern, std::uint32_t call,
                                                    TimetableTime at) const {
    return firstRun(pattern, call, RunKey(at, -1, 0), windowEnd);
}

std::optional<Run> JourneySearch::Work::nextRun(std::uint32_t pattern, std::uint32_t call,
                                                const Run& after, TimetableTime until) const {
    const Timetable::Pattern& p = timetable.patterns()[pattern];
    return firstRun(pattern, call, RunKey(departure(p, call, after), after.day, after.trip),
                    std::min(windowEnd, until + 1));
}

std::optional<Run> JourneySearch::Work::latestRun(std::uint32_t pattern, std::uint32_t call,
                                                  TimetableTime by, bool departing) const {
    const Timetable::Pattern& p = timetable.patterns()[pattern];
    const CallTimes times(timetable, p, call, departing);
    const TimetableTime lowest = times.front(), highest = times.back();
    std::optional<Run> best;
    TimetableTime bestTime = -kNever;
    for (int d = dayEnd - 1; d >= dayFirst; --d) {
        const TimetableTime base = timetable.dayBase(d);
        if (base + highest < std::max(start, bestTime + 1))
            break;
        if (base + lowest > by || !(activeDays[pattern] >> (d - dayFirst) & 1))
            continue;
        for (std::uint32_t j = times.firstFrom(by - base + 1); j-- > 0;) {
            const TimetableTime t = base + times[j];
            if (t < std::max(start, bestTime + 1))
                break;
            if (runs(p, {d, j})) {
                best = Run{d, j};
                bestTime = t;
                break;
            }
        }
    }
    return best;
}

void JourneySearch::Work::departuresFrom(std::uint32_t station, TimetableTime walk,
                                         TimetableTime last,
                                         std::vector<TimetableTime>& leaves) const {
    for (const Timetable::Call& c : timetable.boardingsAt(int(station))) {
        if (!activeDays[c.pattern])
            continue;
        const Timetable::Pattern& p = timetable.patterns()[c.pattern];
        for (std::optional<Run> run = earliestRun(c.pattern, c.index, start + walk);
             run && departure(p, c.index, *run) - walk < last;
             run = nextRun(c.pattern, c.index, *run, last + walk - 1))
            leaves.push_back(departure(p, c.index, *run) - walk);
    }
}

void JourneySearch::Work::startQuery(const JourneyQuery& q) {
    for (RoundLabels* labels : {&rides, &ready})
        labels->clear();
    std::fill(isOrigin.begin(), isOrigin.end(), false);
    std::fill(isDestination.begin(), isDestination.end(), false);
    for (const int s : q.from)
        isOrigin[std::size_t(s)] = true;
    for (const int s : q.to)
        isDestination[std::size_t(s)] = true;
    std::fill(std::begin(destination), std::end(destination), kNever);
    start =
        TimetableTime(std::clamp<qint64>(timetable.fromUtc(q.departure), -kNever / 2, kNever / 2));
    windowEnd = start + 24 * 3600;
    boundToGo();
    for (std::size_t s = 0; s < stationCount; ++s)
        changeAt[s] = timetable.changeTime(int(s), q.changeTime);
    startOffsets.clear();
    for (const int s : q.from) {
        startOffsets.emplace_back(std::uint32_t(s), 0);
        for (const Timetable::Walk& w : timetable.walksFrom(s))
            startOffsets.emplace_back(w.to, TimetableTime(w.seconds));
    }
    std::sort(startOffsets.begin(), startOffsets.end());
    // The days whose trips may be boarded between the start and the window's end.
    const std::span<const TimetableTime> bases = timetable.dayBases();
    dayFirst =
        int(std::upper_bound(bases.begin(), bases.end(), start - TimetableTime(kMaxStopTime)) -
            bases.begin());
    dayEnd = std::min(dayFirst + kReachDays,
                      int(std::lower_bound(bases.begin(), bases.end(), windowEnd) - bases.begin()));
    // A pattern's days whose trips run then and are still on their way at the start.
    const std::span<const Timetable::Pattern> patterns = timetable.patterns();
    activeDays.assign(patterns.size(), 0);
    for (std::size_t p = 0; p < patterns.size(); ++p) {
        const Timetable::Pattern& pattern = patterns[p];
        const auto [first, last] = timetable.span(p);
        for (int d = dayFirst; d < dayEnd; ++d)
            if (timetable.dayBase(d) + last >= start && timetable.dayBase(d) + first < windowEnd &&
                (!timetable.sharesDays(p) || timetable.runsOn(pattern.firstTrip, d)))
                activeDays[p] |= std::uint8_t(1 << (d - dayFirst));
    }
}

// Shortest paths back from the destinations over the least times of the hops and the walks, in
// buckets of one second (no hop or walk is longer than the buckets go round). Once an origin is
// reached at distance d, nothing farther than 2d + 1 h away is worked out: stations beyond are
// at least that far, which is all a journey that cannot take that long needs to know.
void JourneySearch::Work::boundToGo() {
    toGo.assign(stationCount, kNever);
    settled.assign(stationCount, 0);
    const std::size_t round = std::size_t(timetable.longestHop()) + 1;
    buckets.resize(round);
    std::size_t pending = 0;
    for (std::uint32_t s = 0; s < stationCount; ++s)
        if (isDestination[s]) {
            toGo[s] = 0;
            buckets[0].push_back(s);
            ++pending;
        }
    TimetableTime limit = kNever, d = 0;
    for (; pending > 0 && d <= limit; ++d) {
        std::vector<std::uint32_t>& bucket = buckets[std::size_t(d) % round];
        for (std::size_t k = 0; k < bucket.size(); ++k) {
            const std::uint32_t s = bucket[k];
            --pending;
            if (toGo[s] != d || settled[s])
                continue;
            settled[s] = 1;
            if (isOrigin[s] && limit == kNever)
                limit = 2 * d + 3600;
            for (const auto& edges : {timetable.hopsTo(int(s)), timetable.walksTo(int(s))})
                for (const Timetable::Walk& e : edges)
                    if (d + TimetableTime(e.seconds) < toGo[e.to]) {
                        toGo[e.to] = d + TimetableTime(e.seconds);
                        buckets[std::size_t(toGo[e.to]) % round].push_back(e.to);
                        ++pending;
                    }
        }
        bucket.clear();
    }
    if (pending == 0)
        return; // every station left is out of reach
    for (std::vector<std::uint32_t>& bucket : buckets)
        bucket.clear();
    for (std::uint32_t s = 0; s < stationCount; ++s)
        if (!settled[s])
            toGo[s] = d;
}

void JourneySearch::Work::reachByRide(int round, std::uint32_t station, TimetableTime at) {
    // No way on from there arrives sooner than the best arrival.
    if (at + toGo[station] > destination[round] || !rides.improve(round, station, at, false))
        return;
    if (isDestination[station])
        for (int r = round; r <= kMaxRides; ++r)
            destination[r] = std::min(destination[r], at);
    if (!isImprovedByRide[station]) {
        isImprovedByRide[station] = true;
        improvedByRide.push_back(station);
    }
    if (changeAt[station] >= 0 && ready.improve(round, station, at + changeAt[station], false) &&
        !isMarked[station]) {
        isMarked[station] = true;
        marked.push_back(station);
    }
}

void JourneySearch::Work::reachOnFoot(int round, std::uint32_t station, TimetableTime at) {
    // Leaving at an exact time, one boards the first ride then or never.
    const int lastRound = exactStart && round == 0 ? 0 : kMaxRides;
    if (at + toGo[station] > destination[round])
        return;
    if (isDestination[station])
        for (int r = round; r <= kMaxRides; ++r)
            destination[r] = std::min(destination[r], at);
    if (ready.improve(round, station, at, false, lastRound) && !isMarked[station]) {
        isMarked[station] = true;
        marked.push_back(station);
    }
}

std::optional<Run> JourneySearch::Work::boardable(std::uint32_t pattern, std::uint32_t call,
                                                  TimetableTime at, int round) const {
    if (round != 1 || !exactStart)
        return earliestRun(pattern, call, at);
    // The first ride leaves exactly when one gets there: at an origin, or after a walk from one.
    const Timetable::Pattern& p = timetable.patterns()[pattern];
    const std::uint32_t station = timetable.stopsOf(p)[call].station();
    const auto [first, last] = std::equal_range(
        startOffsets.begin(), startOffsets.end(), std::pair(station, TimetableTime(0)),
        [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto it = first; it != last; ++it) {
        const TimetableTime exact = leaving + it->second;
        const std::optional<Run> run = earliestRun(pattern, call, exact);
        if (run && departure(p, call, *run) == exact)
            return run;
    }
    return std::nullopt;
}

void JourneySearch::Work::forward(TimetableTime leave, bool exactly) {
    exactStart = exactly;
    leaving = leave;
    for (std::uint32_t s = 0; s < stationCount; ++s)
        if (isOrigin[s]) {
            reachOnFoot(0, s, leave);
            for (const Timetable::Walk& w : timetable.walksFrom(int(s)))
                reachOnFoot(0, w.to, leave + TimetableTime(w.seconds));
        }
    for (int round = 1; round <= kMaxRides && !marked.empty(); ++round) {
        // Only where one got sooner in the round before can a ride go anywhere sooner: from
        // elsewhere the same runs were boarded in an earlier round.
        boardFrom.swap(marked);
        for (const std::uint32_t s : boardFrom) {
            isMarked[s] = false;
            // Nothing from there can beat what was found since it was marked.
            if (ready.at(round - 1, s) + toGo[s] > destination[round])
                continue;
            isBoardFrom[s] = true;
            for (const Timetable::Call& c : timetable.boardingsAt(int(s))) {
                if (!activeDays[c.pattern])
                    continue;
                std::uint32_t& from = patternFrom[c.pattern];
                if (from == kNoCall)
                    markedPatterns.push_back(c.pattern);
                from = std::min(from, c.index);
                patternTo[c.pattern] = std::max(patternTo[c.pattern], c.index);
            }
        }
        for (const std::uint32_t p : markedPatterns) {
            scanForward(p, round);
            patternFrom[p] = kNoCall;
            patternTo[p] = 0;
        }
        markedPatterns.clear();
        for (const std::uint32_t s : boardFrom)
            isBoardFrom[s] = false;
        boardFrom.clear();
        for (const std::uint32_t s : improvedByRide) {
            isImprovedByRide[s] = false;
            const TimetableTime at = rides.at(round, s);
            for (const Timetable::Walk& w : timetable.walksFrom(int(s)))
                reachOnFoot(round, w.to, at + TimetableTime(w.seconds));
        }
        improvedByRide.clear();
    }
    for (const std::uint32_t s : marked)
        isMarked[s] = false;
    marked.clear();
}

// One round along a pattern from its first call reached in the round before: the earliest run
// one can catch, caught earlier wherever one can.
void JourneySearch::Work::scanForward(std::uint32_t pattern, int round) {
    const Timetable::Pattern& p = timetable.patterns()[pattern];
    const std::span<const Timetable::PatternStop> calls = timetable.stopsOf(p);
    const std::uint32_t from = patternFrom[pattern];
    if (timetable.revisits(pattern)) {
        // A loop: each boarding on its own, so that no ride ends where it began.
        for (std::uint32_t b = from; b < calls.size(); ++b) {
            const TimetableTime at = calls[b].canBoard() && isBoardFrom[calls[b].station()]
                                         ? ready.at(round - 1, calls[b].station())
                                         : kNever;
            const std::optional<Run> run =
                at < kNever ? boardable(pattern, b, at, round) : std::nullopt;
            for (std::uint32_t j = b + 1; run && j < calls.size(); ++j)
                if (calls[j].canAlight() && calls[j].station() != calls[b].station())
                    reachByRide(round, calls[j].station(), arrival(p, j, *run));
        }
        return;
    }
    std::optional<Run> run;
    const std::uint32_t to = patternTo[pattern];
    for (std::uint32_t i = from; i < calls.size(); ++i) {
        const std::uint32_t s = calls[i].station();
        if (run && calls[i].canAlight()) {
            const TimetableTime at = arrival(p, i, *run);
            // Past the last boarding, a run later than the best arrival gets nowhere sooner.
            if (i > to && at > destination[round])
                break;
            reachByRide(round, s, at);
        }
        if (i > to)
            continue;
        if (!calls[i].canBoard() || !isBoardFrom[s])
            continue;
        const TimetableTime at = ready.at(round - 1, s);
        if (at + toGo[s] > destination[round] || (run && !mayCatchEarlier(p, i, *run, at)))
            continue;
        if (const std::optional<Run> earlier = boardable(pattern, i, at, round))
            run = earlier;
    }
}

// Whether some run before the one held leaves the call at or after `at`: the one before it on
// its day, or one of the day before or after (runs of days next to each other may meet).
bool JourneySearch::Work::mayCatchEarlier(const Timetable::Pattern& p, std::uint32_t call,
                                          const Run& run, TimetableTime at) const {
    const CallTimes times(timetable, p, call, true);
    const TimetableTime base = timetable.dayBase(run.day);
    const TimetableTime leaves = base + times[run.trip];
    if (at > leaves)
        return false;
    return (run.trip > 0 && base + times[run.trip - 1] >= at) ||
           (run.day > dayFirst && timetable.dayBase(run.day - 1) + times.back() >= at) ||
           (run.day + 1 < dayEnd && timetable.dayBase(run.day + 1) + times.front() < leaves);
}

JourneySearch::JourneySearch(const Timetable& timetable)
    : work_(std::make_unique<Work>(timetable)) {}

JourneySearch::~JourneySearch() = default;

std::vector<Journey> JourneySearch::search(const JourneyQuery& query) {
    Work& w = *work_;
    std::vector<Journey> found;
    const auto meets = [&](int s) {
        return std::find(query.to.begin(), query.to.end(), s) != query.to.end();
    };
    if (query.from.empty() || query.to.empty() ||
        std::any_of(query.from.begin(), query.from.end(), meets))
        return found;
    w.startQuery(query);
    // Each journey of the Pareto set: the latest departure for its arrival, and of those that
    // leave then, the one that walks least, passes fewest stops, boards the least trip ids.
    const auto add = [&](TimetableTime leave, int rides) {
        const TimetableTime latest = w.backward(w.destination[rides], rides);
        if (std::optional<Journey> j =
                w.choose(leave == kNever ? latest : leave, w.destination[rides], rides))
            found.push_back(std::move(*j));
    };
    if (query.windowMinutes <= 0) {
        w.forward(w.start, false);
        for (int k = 1; k <= kMaxRides; ++k)
            if (w.destination[k] < w.destination[k - 1])
                add(kNever, k);
    } else {
        // Later departures first, each search keeping what the later ones found, so that
        // what a departure adds is what leaving then gains; its journeys are chosen at once,
        // while the labels bound what leaving then or later can reach.
        const TimetableTime windowLast = w.start + query.windowMinutes * 60;
        std::vector<TimetableTime> leaves;
        for (std::uint32_t s = 0; s < w.stationCount; ++s)
            if (w.isOrigin[s]) {
                w.departuresFrom(s, 0, windowLast, leaves);
                for (const Timetable::Walk& walk : w.timetable.walksFrom(int(s)))
                    w.departuresFrom(walk.to, TimetableTime(walk.seconds), windowLast, leaves);
            }
        std::sort(leaves.begin(), leaves.end(), std::greater<>());
        leaves.erase(std::unique(leaves.begin(), leaves.end()), leaves.end());
        for (const TimetableTime leave : leaves) {
            TimetableTime before[kMaxRides + 1];
            std::copy(std::begin(w.destination), std::end(w.destination), before);
            w.forward(leave, true);
            for (int k = 1; k <= kMaxRides; ++k)
                if (w.destination[k] < before[k] && w.destination[k] < w.destination[k - 1])
                    add(leave, k);
        }
    }
    if (std::optional<Journey> walk = w.walkOnly())
        found.push_back(std::move(*walk));
    // In a window the walk at the time asked may still beat rides leaving then.
    const auto beaten = [&](const Journey& j) {
        return std::any_of(found.begin(), found.end(), [&](const Journey& o) {
            return o.departure >= j.departure && o.arrival <= j.arrival && o.rides <= j.rides &&
                   (o.departure > j.departure || o.arrival < j.arrival || o.rides < j.rides);
        });
    };
    std::vector<Journey> kept;
    for (const Journey& j : found)
        if (query.windowMinutes <= 0 || !beaten(j))
            kept.push_back(j);
    std::sort(kept.begin(), kept.end(), [](const Journey& a, const Journey& b) {
        return std::tie(a.departure, a.arrival, a.rides) <
               std::tie(b.departure, b.arrival, b.rides);
    });
    return kept;
}

} // namespace lirsk

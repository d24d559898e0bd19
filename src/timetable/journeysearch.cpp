#include "timetable/journeysearch.h"

#include "timetable/journeywork.h"

#include <algorithm>

namespace lirsk {

namespace {

constexpr std::uint32_t kNoCall = std::numeric_limits<std::uint32_t>::max();

} // namespace

void RoundLabels::resize(std::size_t stations, TimetableTime none) {
    stations_ = stations;
    none_ = none;
    values_.assign(stations * (kMaxRides + 1), none);
    isTouched_.assign(stations, false);
    touched_.clear();
}

bool RoundLabels::improve(int round, std::size_t station, TimetableTime value, bool latest,
                          int lastRound) {
    const auto better = [&](TimetableTime old) { return latest ? value > old : value < old; };
    if (!better(values_[std::size_t(round) * stations_ + station]))
        return false;
    for (int r = round; r <= lastRound; ++r) {
        TimetableTime& v = values_[std::size_t(r) * stations_ + station];
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
            values_[std::size_t(r) * stations_ + s] = none_;
        isTouched_[s] = false;
    }
    touched_.clear();
}

JourneySearch::Work::Work(const Timetable& t) : timetable(t), stationCount(t.stations().size()) {
    isOrigin.assign(stationCount, false);
    isDestination.assign(stationCount, false);
    rides.resize(stationCount, kNever);
    walks.resize(stationCount, kNever);
    alights.resize(stationCount, -kNever);
    boards.resize(stationCount, -kNever);
    isMarked.assign(stationCount, false);
    isImprovedByRide.assign(stationCount, false);
    patternFrom.assign(t.patterns().size(), kNoCall);
}

std::optional<Run> JourneySearch::Work::earliestRun(const Timetable::Pattern& p, std::uint32_t call,
                                                    TimetableTime at) const {
    const std::span<const std::uint32_t> times = timetable.departuresAt(p, call);
    const TimetableTime lowest = TimetableTime(times.front()),
                        highest = TimetableTime(times.back());
    const std::span<const TimetableTime> bases = timetable.dayBases();
    // Runs of a day all leave before those of the next: the first day with one late enough
    // holds the earliest.
    for (auto day = std::lower_bound(bases.begin(), bases.end(), at - highest); day != bases.end();
         ++day) {
        if (*day + lowest >= windowEnd)
            return std::nullopt;
        const TimetableTime wanted = at - *day;
        auto it = wanted <= lowest
                      ? times.begin()
                      : std::lower_bound(times.begin(), times.end(), std::uint32_t(wanted));
        for (; it != times.end(); ++it) {
            if (*day + TimetableTime(*it) >= windowEnd)
                return std::nullopt;
            const Run r{int(day - bases.begin()), std::uint32_t(it - times.begin())};
            if (runs(p, r))
                return r;
        }
    }
    return std::nullopt;
}

std::optional<Run> JourneySearch::Work::nextRun(const Timetable::Pattern& p, std::uint32_t call,
                                                const Run& after, TimetableTime until) const {
    const std::span<const std::uint32_t> times = timetable.departuresAt(p, call);
    for (Run r{after.day, after.trip + 1}; r.day < timetable.dayCount(); ++r.day, r.trip = 0)
        for (; r.trip < times.size(); ++r.trip) {
            const TimetableTime t = timetable.dayBase(r.day) + TimetableTime(times[r.trip]);
            if (t > until || t >= windowEnd)
                return std::nullopt;
            if (runs(p, r))
                return r;
        }
    return std::nullopt;
}

std::optional<Run> JourneySearch::Work::latestRun(const Timetable::Pattern& p, std::uint32_t call,
                                                  TimetableTime by, bool departing) const {
    const std::span<const std::uint32_t> times =
        departing ? timetable.departuresAt(p, call) : timetable.arrivalsAt(p, call);
    const TimetableTime lowest = TimetableTime(times.front()),
                        highest = TimetableTime(times.back());
    const std::span<const TimetableTime> bases = timetable.dayBases();
    for (auto day = std::upper_bound(bases.begin(), bases.end(), by - lowest);
         day != bases.begin();) {
        --day;
        if (*day + highest < start)
            return std::nullopt;
        const TimetableTime wanted = by - *day;
        auto it = wanted >= highest
                      ? times.end()
                      : std::upper_bound(times.begin(), times.end(), std::uint32_t(wanted));
        while (it != times.begin()) {
            --it;
            if (*day + TimetableTime(*it) < start)
                return std::nullopt;
            const Run r{int(day - bases.begin()), std::uint32_t(it - times.begin())};
            if (runs(p, r))
                return r;
        }
    }
    return std::nullopt;
}

void JourneySearch::Work::departuresFrom(std::uint32_t station, TimetableTime walk,
                                         TimetableTime last,
                                         std::vector<TimetableTime>& leaves) const {
    for (const Timetable::Call& c : timetable.boardingsAt(int(station))) {
        const Timetable::Pattern& p = timetable.patterns()[c.pattern];
        for (std::optional<Run> run = earliestRun(p, c.index, start + walk);
             run && departure(p, c.index, *run) - walk < last;
             run = nextRun(p, c.index, *run, last + walk - 1))
            leaves.push_back(departure(p, c.index, *run) - walk);
    }
}

void JourneySearch::Work::startQuery(const JourneyQuery& q) {
    rides.clear();
    walks.clear();
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
    changeTime = q.changeTime;
    startOffsets.clear();
    for (const int s : q.from) {
        startOffsets.emplace_back(std::uint32_t(s), 0);
        for (const Timetable::Walk& w : timetable.walksFrom(s))
            startOffsets.emplace_back(w.to, TimetableTime(w.seconds));
    }
    std::sort(startOffsets.begin(), startOffsets.end());
}

TimetableTime JourneySearch::Work::readyAt(int round, std::size_t station) const {
    const TimetableTime byRide = rides.at(round, station);
    const int c = change(station);
    const TimetableTime afterChange = byRide < kNever && c >= 0 ? byRide + c : kNever;
    return std::min(afterChange, walks.at(round, station));
}

void JourneySearch::Work::reachByRide(int round, std::uint32_t station, TimetableTime at) {
    if (at > destination[round] || !rides.improve(round, station, at, false))
        return;
    if (isDestination[station])
        for (int r = round; r <= kMaxRides; ++r)
            destination[r] = std::min(destination[r], at);
    if (!isImprovedByRide[station]) {
        isImprovedByRide[station] = true;
        improvedByRide.push_back(station);
    }
    if (change(station) >= 0 && !isMarked[station]) {
        isMarked[station] = true;
        marked.push_back(station);
    }
}

void JourneySearch::Work::reachOnFoot(int round, std::uint32_t station, TimetableTime at) {
    // Leaving at an exact time, one boards the first ride then or never.
    const int lastRound = exactStart && round == 0 ? 0 : kMaxRides;
    if (at > destination[round] || !walks.improve(round, station, at, false, lastRound))
        return;
    if (isDestination[station])
        for (int r = round; r <= kMaxRides; ++r)
            destination[r] = std::min(destination[r], at);
    if (!isMarked[station]) {
        isMarked[station] = true;
        marked.push_back(station);
    }
}

std::optional<Run> JourneySearch::Work::boardable(const Timetable::Pattern& p, std::uint32_t call,
                                                  TimetableTime ready, int round) const {
    if (round != 1 || !exactStart)
        return earliestRun(p, call, ready);
    // The first ride leaves exactly when one gets there: at an origin, or after a walk from one.
    const std::uint32_t station = timetable.stopsOf(p)[call].station();
    const auto [first, last] = std::equal_range(
        startOffsets.begin(), startOffsets.end(), std::pair(station, TimetableTime(0)),
        [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto it = first; it != last; ++it) {
        const TimetableTime at = leaving + it->second;
        const std::optional<Run> run = earliestRun(p, call, at);
        if (run && departure(p, call, *run) == at)
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
        for (const std::uint32_t s : marked) {
            isMarked[s] = false;
            for (const Timetable::Call& c : timetable.boardingsAt(int(s))) {
                std::uint32_t& from = patternFrom[c.pattern];
                if (from == kNoCall)
                    markedPatterns.push_back(c.pattern);
                from = std::min(from, c.index);
            }
        }
        marked.clear();
        for (const std::uint32_t p : markedPatterns) {
            scanForward(p, round);
            patternFrom[p] = kNoCall;
        }
        markedPatterns.clear();
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
            const TimetableTime ready =
                calls[b].canBoard() ? readyAt(round - 1, calls[b].station()) : kNever;
            const std::optional<Run> run =
                ready < kNever ? boardable(p, b, ready, round) : std::nullopt;
            for (std::uint32_t j = b + 1; run && j < calls.size(); ++j)
                if (calls[j].canAlight() && calls[j].station() != calls[b].station())
                    reachByRide(round, calls[j].station(), arrival(p, j, *run));
        }
        return;
    }
    std::optional<Run> run;
    for (std::uint32_t i = from; i < calls.size(); ++i) {
        const std::uint32_t s = calls[i].station();
        if (run && calls[i].canAlight())
            reachByRide(round, s, arrival(p, i, *run));
        if (!calls[i].canBoard())
            continue;
        const TimetableTime ready = readyAt(round - 1, s);
        if (ready < kNever && (!run || ready <= departure(p, i, *run))) {
            const std::optional<Run> earlier = boardable(p, i, ready, round);
            if (earlier)
                run = earlier;
        }
    }
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
    struct Entry {
        TimetableTime leave, arrive;
        int rides;
    };
    std::vector<Entry> entries;
    if (query.windowMinutes <= 0) {
        w.forward(w.start, false);
        for (int k = 1; k <= kMaxRides; ++k)
            if (w.destination[k] < w.destination[k - 1])
                entries.push_back({kNever, w.destination[k], k});
    } else {
        // Later departures first, each search keeping what the later ones found, so that
        // what a departure adds is what leaving then gains.
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
                    entries.push_back({leave, w.destination[k], k});
        }
    }
    if (std::optional<Journey> walk = w.walkOnly())
        found.push_back(std::move(*walk));
    for (const Entry& e : entries) {
        const TimetableTime latest = w.backward(e.arrive, e.rides);
        const TimetableTime leave = e.leave == kNever ? latest : e.leave;
        if (std::optional<Journey> j = w.choose(leave, e.arrive, e.rides))
            found.push_back(std::move(*j));
    }
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

#include "route/criteria.h"

#include "route/report.h"

#include <QCoreApplication>
#include <QHash>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <map>
#include <queue>
#include <tuple>
#include <utility>

namespace lirsk {

namespace {

// The searches' messages, translated in the context "RouteSearch".
struct RouteSearchText {
    Q_DECLARE_TR_FUNCTIONS(RouteSearch)
};

constexpr double kNoTime = std::numeric_limits<double>::infinity();

// The cost of a way or of part of one, compared in this order.
struct Cost {
    int transfers = 0;
    double time = 0;
    int stops = 0;

    bool operator<(const Cost& o) const {
        return std::tie(transfers, time, stops) < std::tie(o.transfers, o.time, o.stops);
    }
};

struct Queued {
    Cost cost;
    int at; // a stop's rank, or a state
    bool operator>(const Queued& o) const {
        return o.cost < cost || (!(cost < o.cost) && at > o.at);
    }
};
using MinQueue = std::priority_queue<Queued, std::vector<Queued>, std::greater<Queued>>;

} // namespace

struct WaySearch::Index {
    const GraphMap& map;
    std::vector<StopIndex> byRank; // the stops taking part, in list order
    std::vector<int> rank;         // by stop index; -1 for a stop that takes no part
    // The first link of each source to each target: incoming by target, outgoing by source.
    std::vector<int> inStart, inFrom;
    std::vector<double> inTime;
    std::vector<int> outStart, outTo;
    std::vector<double> outTime;
    bool negativeTimes = false;
    bool anyTime = false;

    // The routes of each stop as a set of piece numbers; equal sets share one number.
    std::vector<int> ownSet;
    std::vector<std::vector<int>> sets; // sorted piece numbers

    // Scratch of one search by stop rank.
    std::vector<double> time;
    std::vector<int> stops, next;
    std::vector<char> done;

    // Scratch of a search of the fewest changes, by state (a stop and the routes its ride began
    // with, as the report walks from the finish).
    struct State {
        int stop, set;
        Cost cost;
        int next; // the state one stop nearer the finish, -1 at the finish
        bool done;
    };
    std::vector<State> states;
    // The states by stop and set: open addressing, a slot in use when its mark is this search's.
    std::vector<int> slotState;
    std::vector<std::uint32_t> slotMark;
    std::uint32_t mark = 0;

    explicit Index(const GraphMap& map);
    int rankOf(StopIndex stop) const {
        return stop >= 0 && std::size_t(stop) < rank.size() ? rank[std::size_t(stop)] : -1;
    }
    bool shares(int a, int b) const;
    CriterionResult fastest(int s, int f);
    CriterionResult fewestChanges(int s, int f);
    std::vector<double> timesFrom(int s);
    int leastChangingWalk(int s, int f, const std::vector<double>& left);
    std::vector<int> withoutLoops(const std::vector<int>& walk, bool& looped) const;
    int stateOf(int stop, int set);
    SearchResult found(std::vector<int> wayRanks) const;
    Cost costOf(const std::vector<int>& wayRanks) const;
    void bestSimpleWay(int s, int f, const std::vector<double>& left, Cost lower, Cost& best,
                       std::vector<int>& way);
};

WaySearch::Index::Index(const GraphMap& map) : map(map) {
    const QHash<int, StopIndex> byId = map.stopsById();
    rank.assign(std::size_t(map.stopCount()), -1);
    for (StopIndex i = 0; i < map.stopCount(); ++i)
        if (byId.value(map.stop(i).Id) == i) {
            rank[std::size_t(i)] = int(byRank.size());
            byRank.push_back(i);
        }
    const std::size_t n = byRank.size();

    outStart.assign(n + 1, 0);
    inStart.assign(n + 1, 0);
    std::vector<int> lastSource(n, -1);
    for (std::size_t u = 0; u < n; ++u) {
        for (const Link& link : map.stop(byRank[u]).Links) {
            const int v = rankOf(link.To);
            if (v < 0)
                continue;
            if (link.Time < 0 || std::isnan(link.Time))
                negativeTimes = true;
            anyTime = anyTime || link.Time != 0;
            if (lastSource[std::size_t(v)] == int(u))
                continue;
            lastSource[std::size_t(v)] = int(u);
            outTo.push_back(v);
            outTime.push_back(link.Time);
            ++inStart[std::size_t(v) + 1];
        }
        outStart[u + 1] = int(outTo.size());
    }
    for (std::size_t r = 0; r < n; ++r)
        inStart[r + 1] += inStart[r];
    inFrom.resize(outTo.size());
    inTime.resize(outTo.size());
    std::vector<int> fill(inStart.begin(), inStart.end() - 1);
    for (std::size_t u = 0; u < n; ++u)
        for (int k = outStart[u]; k < outStart[u + 1]; ++k) {
            const int at = fill[std::size_t(outTo[std::size_t(k)])]++;
            inFrom[std::size_t(at)] = int(u);
            inTime[std::size_t(at)] = outTime[std::size_t(k)];
        }

    QHash<QString, int> pieces;
    QHash<QString, int> setOfText;
    std::map<std::vector<int>, int> setNumbers;
    ownSet.resize(n);
    for (std::size_t r = 0; r < n; ++r) {
        const QString& text = map.stop(byRank[r]).Routes;
        if (const auto it = setOfText.constFind(text); it != setOfText.constEnd()) {
            ownSet[r] = *it;
            continue;
        }
        std::vector<int> set;
        for (const QString& piece : SplitRoutes(text)) {
            auto it = pieces.constFind(piece);
            if (it == pieces.constEnd())
                it = pieces.insert(piece, int(pieces.size()));
            set.push_back(*it);
        }
        std::sort(set.begin(), set.end());
        set.erase(std::unique(set.begin(), set.end()), set.end());
        const auto [it, added] = setNumbers.try_emplace(set, int(sets.size()));
        if (added)
            sets.push_back(set);
        ownSet[r] = it->second;
        setOfText.insert(text, it->second);
    }
}

bool WaySearch::Index::shares(int a, int b) const {
    if (a == b)
        return true;
    const std::vector<int>& x = sets[std::size_t(a)];
    const std::vector<int>& y = sets[std::size_t(b)];
    for (std::size_t i = 0, j = 0; i < x.size() && j < y.size();) {
        if (x[i] == y[j])
            return true;
        if (x[i] < y[j])
            ++i;
        else
            ++j;
    }
    return false;
}

SearchResult WaySearch::Index::found(std::vector<int> wayRanks) const {
    SearchResult result;
    result.outcome = SearchOutcome::Found;
    for (const int r : wayRanks)
        result.way.push_back(byRank[std::size_t(r)]);
    // Added from the finish towards the start along the first links, as FindWay adds them.
    for (std::size_t k = 0; k + 1 < result.way.size(); ++k) {
        const Link* link = map.FindLink(result.way[k + 1], result.way[k]);
        result.length += link->Length;
        result.time += link->Time;
    }
    return result;
}

CriterionResult WaySearch::Index::fastest(int s, int f) {
    const std::size_t n = byRank.size();
    time.assign(n, kNoTime);
    stops.assign(n, 0);
    next.assign(n, -1);
    done.assign(n, 0);
    MinQueue queue;
    time[std::size_t(f)] = 0;
    queue.push({{0, 0, 0}, f});
    // From the finish backwards, so that each stop's time is added up as the report adds it.
    while (!queue.empty()) {
        const int v = queue.top().at;
        queue.pop();
        if (done[std::size_t(v)])
            continue;
        done[std::size_t(v)] = 1;
        if (v == s)
            break;
        const Cost here{0, time[std::size_t(v)], stops[std::size_t(v)]};
        for (int k = inStart[std::size_t(v)]; k < inStart[std::size_t(v) + 1]; ++k) {
            const auto u = std::size_t(inFrom[std::size_t(k)]);
            const Cost reach{0, here.time + inTime[std::size_t(k)], here.stops + 1};
            if (reach < Cost{0, time[u], stops[u]}) {
                time[u] = reach.time;
                stops[u] = reach.stops;
                next[u] = v;
                queue.push({reach, int(u)});
            }
        }
    }
    CriterionResult result;
    if (!done[std::size_t(s)])
        return result;
    std::vector<int> way;
    for (int r = s; r >= 0; r = next[std::size_t(r)])
        way.push_back(r);
    std::reverse(way.begin(), way.end());
    result.found = found(std::move(way));
    return result;
}

std::vector<double> WaySearch::Index::timesFrom(int s) {
    std::vector<double> least(byRank.size(), kNoTime);
    std::vector<char> settled(byRank.size(), 0);
    MinQueue queue;
    least[std::size_t(s)] = 0;
    queue.push({{0, 0, 0}, s});
    while (!queue.empty()) {
        const int u = queue.top().at;
        queue.pop();
        if (settled[std::size_t(u)])
            continue;
        settled[std::size_t(u)] = 1;
        for (int k = outStart[std::size_t(u)]; k < outStart[std::size_t(u) + 1]; ++k) {
            const auto v = std::size_t(outTo[std::size_t(k)]);
            const double t = least[std::size_t(u)] + outTime[std::size_t(k)];
            if (t < least[v]) {
                least[v] = t;
                queue.push({{0, t, 0}, int(v)});
            }
        }
    }
    return least;
}

int WaySearch::Index::stateOf(int stop, int set) {
    const auto slotOf = [this](int stop, int set) {
        const std::uint64_t key = (std::uint64_t(std::uint32_t(stop)) << 32) | std::uint32_t(set);
        const std::size_t mask = slotState.size() - 1;
        std::size_t slot = std::size_t((key * 0x9E3779B97F4A7C15ULL) >> 20) & mask;
        while (slotMark[slot] == mark) {
            const State& there = states[std::size_t(slotState[slot])];
            if (there.stop == stop && there.set == set)
                break;
            slot = (slot + 1) & mask;
        }
        return slot;
    };
    std::size_t slot = slotOf(stop, set);
    if (slotMark[slot] == mark)
        return slotState[slot];
    if (2 * (states.size() + 1) > slotState.size()) {
        // Twice the slots, every state placed anew.
        slotState.assign(2 * slotState.size(), -1);
        slotMark.assign(slotState.size(), 0);
        mark = 1;
        for (std::size_t x = 0; x < states.size(); ++x) {
            const std::size_t at = slotOf(states[x].stop, states[x].set);
            slotMark[at] = mark;
            slotState[at] = int(x);
        }
        slot = slotOf(stop, set);
    }
    slotMark[slot] = mark;
    slotState[slot] = int(states.size());
    states.push_back({stop, set, {std::numeric_limits<int>::max(), kNoTime, 0}, -1, false});
    return slotState[slot];
}

Cost WaySearch::Index::costOf(const std::vector<int>& wayRanks) const {
    Cost cost;
    int ride = ownSet[std::size_t(wayRanks.front())];
    for (std::size_t k = 1; k < wayRanks.size(); ++k) {
        const auto r = std::size_t(wayRanks[k]);
        if (!shares(ownSet[r], ride)) {
            ++cost.transfers;
            ride = ownSet[r];
        }
        cost.time += map.FindLink(byRank[r], byRank[std::size_t(wayRanks[k - 1])])->Time;
        ++cost.stops;
    }
    return cost;
}

// Every simple way from the finish back to the start, depth first, pruned by the least time that
// is left to the start (`left`, by stop) and by the best way so far, which it replaces when one
// beats it. Ends as soon as a way changes no more often and takes no longer than `lower` (the
// least over all walks).
void WaySearch::Index::bestSimpleWay(int s, int f, const std::vector<double>& left, Cost lower,
                                     Cost& best, std::vector<int>& way) {
    std::vector<char> onWay(byRank.size(), 0);
    struct Step {
        int stop, ride, k;
        Cost cost;
    };
    std::vector<Step> path{{f, ownSet[std::size_t(f)], inStart[std::size_t(f)], {}}};
    onWay[std::size_t(f)] = 1;
    const int startSet = ownSet[std::size_t(s)];
    while (!path.empty()) {
        Step& top = path.back();
        if (top.stop == s || top.k == inStart[std::size_t(top.stop) + 1]) {
            if (top.stop == s && top.cost < best) {
                best = top.cost;
                way.clear();
                for (const Step& step : path)
                    way.push_back(step.stop);
                if (std::tie(best.transfers, best.time) <= std::tie(lower.transfers, lower.time))
                    return;
            }
            onWay[std::size_t(top.stop)] = 0;
            path.pop_back();
            continue;
        }
        const int k = top.k++;
        const int u = inFrom[std::size_t(k)];
        if (onWay[std::size_t(u)] || left[std::size_t(u)] == kNoTime)
            continue;
        Step step{u, top.ride, inStart[std::size_t(u)], top.cost};
        if (!shares(ownSet[std::size_t(u)], top.ride)) {
            step.ride = ownSet[std::size_t(u)];
            ++step.cost.transfers;
        }
        step.cost.time += inTime[std::size_t(k)];
        ++step.cost.stops;
        // A ride that the start does not share ends before the start.
        const int atLeast = step.cost.transfers + (shares(startSet, step.ride) ? 0 : 1);
        const Cost bound{atLeast, step.cost.time + left[std::size_t(u)], step.cost.stops};
        if (!(bound < best))
            continue;
        onWay[std::size_t(u)] = 1;
        path.push_back(step);
    }
}

// The least costly walk from the finish back to the start over (stop, routes of the ride)
// states; the state it reached the start in, or -1 when it reached none.
int WaySearch::Index::leastChangingWalk(int s, int f, const std::vector<double>& left) {
    states.clear();
    if (slotState.empty() || ++mark == 0) {
        slotState.assign(std::bit_ceil(4 * byRank.size() + 16), -1);
        slotMark.assign(slotState.size(), 0);
        mark = 1;
    }
    // Ordered by the cost so far plus what is left at least: the least time from the start, and
    // one more transfer for a ride that the start does not share. Both only grow along a way, so
    // the first state of the start taken from the queue is the best.
    const int startSet = ownSet[std::size_t(s)];
    const auto keyOf = [&](const State& x) {
        return Cost{x.cost.transfers + (shares(startSet, x.set) ? 0 : 1),
                    x.cost.time + left[std::size_t(x.stop)], x.cost.stops};
    };
    MinQueue queue;
    const int first = stateOf(f, ownSet[std::size_t(f)]);
    states[std::size_t(first)].cost = {};
    queue.push({keyOf(states[std::size_t(first)]), first});
    while (!queue.empty()) {
        const int x = queue.top().at;
        queue.pop();
        if (states[std::size_t(x)].done)
            continue;
        states[std::size_t(x)].done = true;
        const State here = states[std::size_t(x)];
        if (here.stop == s)
            return x;
        for (int k = inStart[std::size_t(here.stop)]; k < inStart[std::size_t(here.stop) + 1];
             ++k) {
            const int u = inFrom[std::size_t(k)];
            if (left[std::size_t(u)] == kNoTime)
                continue;
            const int own = ownSet[std::size_t(u)];
            const bool stays = shares(own, here.set);
            const Cost reach{here.cost.transfers + (stays ? 0 : 1),
                             here.cost.time + inTime[std::size_t(k)], here.cost.stops + 1};
            const int y = stateOf(u, stays ? here.set : own);
            State& there = states[std::size_t(y)];
            if (reach < there.cost) {
                there.cost = reach;
                there.next = x;
                queue.push({keyOf(there), y});
            }
        }
    }
    return -1;
}

// The stops of a walk with every loop cut out, in the walk's order; `looped` tells whether there
// was one.
std::vector<int> WaySearch::Index::withoutLoops(const std::vector<int>& walk, bool& looped) const {
    std::vector<int> seen(byRank.size(), -1);
    std::vector<int> simple;
    looped = false;
    for (const int r : walk) {
        if (seen[std::size_t(r)] >= 0) {
            looped = true;
            while (simple.back() != r) {
                seen[std::size_t(simple.back())] = -1;
                simple.pop_back();
            }
            continue;
        }
        seen[std::size_t(r)] = int(simple.size());
        simple.push_back(r);
    }
    return simple;
}

CriterionResult WaySearch::Index::fewestChanges(int s, int f) {
    const std::vector<double> left = timesFrom(s);
    const int reached = leastChangingWalk(s, f, left);
    CriterionResult result;
    if (reached < 0)
        return result;

    // The least over all walks. A walk that comes through a stop twice may change fewer times
    // than any simple way (riding a loop to start the ride again with other routes): then the
    // simple ways are searched for the best, starting from the walk with its loops cut out.
    std::vector<int> walk;
    for (int x = reached; x >= 0; x = states[std::size_t(x)].next)
        walk.push_back(states[std::size_t(x)].stop);
    std::reverse(walk.begin(), walk.end());
    bool looped = false;
    std::vector<int> simple = withoutLoops(walk, looped);
    if (looped) {
        Cost best = costOf(simple);
        bestSimpleWay(s, f, left, states[std::size_t(reached)].cost, best, simple);
    }
    result.found = found(std::move(simple));
    return result;
}

WaySearch::WaySearch(const GraphMap& map) : map_(map) {}

WaySearch::~WaySearch() = default;

CriterionResult WaySearch::search(Criterion criterion, StopIndex start, StopIndex finish) {
    if (criterion == Criterion::Shortest) {
        if (!shortest_)
            shortest_.emplace(map_);
        return {shortest_->search(start, finish), Refusal::None};
    }

    CriterionResult result;
    if (!index_)
        index_ = std::make_unique<Index>(map_);
    Index& index = *index_;
    if (index.negativeTimes) {
        result.refusal = Refusal::NegativeTimes;
        return result;
    }
    if (criterion == Criterion::Fastest && !index.anyTime) {
        result.refusal = Refusal::NoTimes;
        return result;
    }
    const int s = index.rankOf(start);
    const int f = index.rankOf(finish);
    if (s < 0 || f < 0)
        return result;
    if (index.outStart[std::size_t(s)] == index.outStart[std::size_t(s) + 1]) {
        result.found.outcome = SearchOutcome::NoWayMessage;
        return result;
    }
    return criterion == Criterion::Fastest ? index.fastest(s, f) : index.fewestChanges(s, f);
}

CriterionResult findWayBy(Criterion criterion, const GraphMap& map, StopIndex start,
                          StopIndex finish) {
    WaySearch search(map);
    return search.search(criterion, start, finish);
}

QString failureText(Criterion criterion, const CriterionResult& result) {
    switch (result.refusal) {
    case Refusal::None:
        break;
    case Refusal::NegativeTimes:
        return RouteSearchText::tr("Путь не найден: на карте есть дороги с отрицательным или "
                                   "неопределённым временем в пути.");
    case Refusal::NoTimes:
        return RouteSearchText::tr(
            "Самый быстрый путь не найти: у дорог карты не задано время в пути.");
    }
    switch (result.found.outcome) {
    case SearchOutcome::Found:
        return QString();
    case SearchOutcome::NoWayMessage:
        return RouteSearchText::tr("Пути нет");
    case SearchOutcome::Unreached:
        if (criterion != Criterion::Shortest)
            return RouteSearchText::tr("Путь не найден: до конечной остановки не доехать");
        return result.found.passesCapped ? negativeCycleText() : QString();
    case SearchOutcome::LoopingWay:
        return RouteSearchText::tr("Путь не найден: на карте есть дороги с отрицательной длиной, и "
                                   "путь замыкается сам на себя.");
    case SearchOutcome::NegativeCycle:
        return negativeCycleText();
    }
    return QString();
}

QString criterionName(Criterion criterion) {
    switch (criterion) {
    case Criterion::Shortest:
        return QStringLiteral("shortest");
    case Criterion::Fastest:
        return QStringLiteral("fastest");
    case Criterion::FewestChanges:
        return QStringLiteral("changes");
    }
    return QString();
}

bool criterionFromName(const QString& name, Criterion* criterion) {
    for (const Criterion c : {Criterion::Shortest, Criterion::Fastest, Criterion::FewestChanges})
        if (name == criterionName(c)) {
            *criterion = c;
            return true;
        }
    return false;
}

} // namespace lirsk

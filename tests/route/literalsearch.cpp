#include "literalsearch.h"

#include <vector>

namespace lirsk::literal {

SearchResult FindWay(const GraphMap& map, StopIndex start, StopIndex finish) {
    SearchResult result;
    const std::size_t size = std::size_t(map.MaxStopId) + 1;
    const auto idOf = [&](StopIndex stop) { return std::size_t(map.stop(stop).Id); };

    // 1. Clear.
    std::vector<bool> frontier(size, false), candidates(size, false), changed(size, false),
        feeders(size, false);
    const std::size_t n = std::size_t(map.stopCount());
    std::vector<double>& pathLength = result.pathLength;
    std::vector<double>& pathTime = result.pathTime;
    std::vector<int>& pathPrev = result.pathPrev;
    pathLength.assign(n, UnreachedLength);
    pathTime.assign(n, UnreachedLength);
    pathPrev.assign(n, -1);
    pathLength[std::size_t(start)] = 0;
    pathTime[std::size_t(start)] = 0;

    // 2. Seed.
    bool anyFrontier = false;
    for (const Link& r : map.stop(start).Links) {
        const StopIndex t = r.To;
        frontier[idOf(t)] = true;
        anyFrontier = true;
        for (const Link& l : map.stop(t).Links)
            candidates[idOf(l.To)] = true;
        pathLength[std::size_t(t)] = r.Length;
        pathTime[std::size_t(t)] = r.Time;
        pathPrev[std::size_t(t)] = map.stop(start).Id;
    }

    // 4. No outgoing link.
    if (!anyFrontier) {
        result.outcome = SearchOutcome::NoWayMessage;
        return result;
    }

    const auto anySet = [](const std::vector<bool>& set) {
        for (bool b : set)
            if (b)
                return true;
        return false;
    };

    // 5. Passes, at most one per stop.
    while (anySet(candidates)) {
        if (result.passes == map.stopCount()) {
            result.passesCapped = true;
            break;
        }
        ++result.passes;
        std::fill(changed.begin(), changed.end(), false);
        for (int pos = 0; pos <= map.MaxStopId; ++pos) {
            if (!candidates[std::size_t(pos)])
                continue;
            std::fill(feeders.begin(), feeders.end(), false);
            for (const Stop& s : map.stops())
                for (const Link& l : s.Links)
                    if (map.stop(l.To).Id == pos)
                        feeders[std::size_t(s.Id)] = true;
            for (int i = 0; i <= map.MaxStopId; ++i) {
                if (!feeders[std::size_t(i)] || !frontier[std::size_t(i)])
                    continue;
                const auto p = std::size_t(map.FindStopById(pos));
                const StopIndex in = map.FindStopById(i);
                const Link* w = nullptr;
                for (const Link& l : map.stop(in).Links) {
                    if (map.stop(l.To).Id == pos) {
                        w = &l;
                        break;
                    }
                }
                const double candidate = pathLength[std::size_t(in)] + w->Length;
                if (candidate < pathLength[p]) {
                    ++result.lowerings;
                    pathLength[p] = candidate;
                    pathTime[p] = pathTime[std::size_t(in)] + w->Time;
                    pathPrev[p] = i;
                    changed[std::size_t(pos)] = true;
                }
            }
        }
        std::fill(candidates.begin(), candidates.end(), false);
        for (int pos = 0; pos <= map.MaxStopId; ++pos)
            if (changed[std::size_t(pos)])
                for (const Link& l : map.stop(map.FindStopById(pos)).Links)
                    candidates[idOf(l.To)] = true;
        frontier = changed;
        if (!anySet(frontier))
            break;
    }

    // 7. Unreached.
    if (pathLength[std::size_t(finish)] == UnreachedLength)
        return result;

    // 8. The way back, finish first.
    std::vector<StopIndex> way{finish};
    for (StopIndex current = finish; current != start;) {
        current = map.FindStopById(pathPrev[std::size_t(current)]);
        if (current == NoStop || int(way.size()) >= map.stopCount()) {
            result.outcome = SearchOutcome::LoopingWay;
            return result;
        }
        way.push_back(current);
    }
    for (std::size_t k = 0; k + 1 < way.size(); ++k) {
        const Link* link = map.FindLink(way[k + 1], way[k]);
        result.length += link->Length;
        result.time += link->Time;
    }
    result.outcome = SearchOutcome::Found;
    result.way = std::move(way);
    return result;
}

} // namespace lirsk::literal

#include "literalsearch.h"

#include <vector>

namespace lirsk::literal {

SearchResult FindWay(GraphMap& map, StopRef start, StopRef finish) {
    SearchResult result;
    const std::size_t size = std::size_t(map.MaxStopId) + 1;

    // 1. Clear.
    std::vector<bool> frontier(size, false), candidates(size, false), changed(size, false),
        feeders(size, false);
    for (const auto& stop : map.stops()) {
        stop->PathLength = UnreachedLength;
        stop->PathTime = UnreachedLength;
    }
    start->PathLength = 0;
    start->PathTime = 0;

    // 2. Seed.
    bool anyFrontier = false;
    for (const auto& r : start->Links) {
        StopRef t = r->To;
        frontier[std::size_t(t->Id)] = true;
        anyFrontier = true;
        for (const auto& l : t->Links)
            candidates[std::size_t(l->To->Id)] = true;
        t->PathLength = r->Length;
        t->PathTime = r->Time;
        t->PathPrev = start->Id;
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
            for (const auto& s : map.stops())
                for (const auto& l : s->Links)
                    if (l->To->Id == pos)
                        feeders[std::size_t(s->Id)] = true;
            for (int i = 0; i <= map.MaxStopId; ++i) {
                if (!feeders[std::size_t(i)] || !frontier[std::size_t(i)])
                    continue;
                StopRef p = map.FindStopById(pos);
                StopRef in = map.FindStopById(i);
                const Link* w = nullptr;
                for (const auto& l : in->Links) {
                    if (l->To->Id == pos) {
                        w = l.get();
                        break;
                    }
                }
                const double candidate = in->PathLength + w->Length;
                if (candidate < p->PathLength) {
                    ++result.lowerings;
                    p->PathLength = candidate;
                    p->PathTime = in->PathTime + w->Time;
                    p->PathPrev = i;
                    changed[std::size_t(pos)] = true;
                }
            }
        }
        std::fill(candidates.begin(), candidates.end(), false);
        for (int pos = 0; pos <= map.MaxStopId; ++pos)
            if (changed[std::size_t(pos)])
                for (const auto& l : map.FindStopById(pos)->Links)
                    candidates[std::size_t(l->To->Id)] = true;
        frontier = changed;
        if (!anySet(frontier))
            break;
    }

    // 7. Unreached.
    if (finish->PathLength == UnreachedLength)
        return result;

    // 8. The way back, finish first.
    std::vector<StopRef> way{finish};
    for (StopRef current = finish; current != start;) {
        current = map.FindStopById(current->PathPrev);
        if (!current || int(way.size()) >= map.stopCount()) {
            result.outcome = SearchOutcome::LoopingWay;
            return result;
        }
        way.push_back(current);
    }
    for (std::size_t k = 0; k + 1 < way.size(); ++k) {
        const Link* link = GraphMap::FindLink(way[k + 1], way[k]);
        result.length += link->Length;
        result.time += link->Time;
    }
    result.outcome = SearchOutcome::Found;
    result.way = std::move(way);
    return result;
}

} // namespace lirsk::literal

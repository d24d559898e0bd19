#pragma once

#include "model/graphmap.h"

#include <cstdint>
#include <vector>

// The shortest way between two stops of a map, by the sum of the links' Length.
//
// The search relaxes path lengths pass by pass outwards from the start:
//  - the start's direct successors are seeded unconditionally with the length and time of the
//    start's link to them (links in list order) and form the first frontier;
//  - each pass examines the candidates (targets of the frontier's links) in ascending Id, and for
//    each candidate its feeders (stops of the frontier with a link to it) in ascending Id, using
//    the feeder's first link to the candidate; a strictly shorter length replaces the candidate's
//    PathLength, PathTime and PathPrev at once, within the pass;
//  - the stops lowered in a pass form the next frontier; the passes end when nothing was lowered
//    or the lowered stops have no links.
// Between equally long ways the one found first stands; PathTime never decides anything.
// A stop whose PathLength is exactly UnreachedLength counts as unreached.
//
// The search gives the values it worked with for every stop of the map, in its result:
// PathLength and PathTime (UnreachedLength where not reached, 0 at the start) and PathPrev (the Id
// of the stop before this one on its way; -1 where the search set none).
//
// The map file may break the usual invariants. Ids are taken as they are (nothing is sized by
// MaxStopId, an Id above it is an Id like any other); of several stops with one Id only the
// first in list order takes part, and the others are never reached. Negative lengths may leave
// the passes unsettled: the passes are capped at the number of stops taking part (enough for
// any map without a cycle of negative total length), and a way that loops back on itself is
// reported as such instead of being followed forever. Now and then (after passes 1, 2, 4, 8 …)
// the search follows the stops lowered in that pass back along PathPrev: when that comes round
// to a stop again, and the lengths of the links the passes lower along that round add up
// (exactly) to less than zero, the passes would go on to their cap, so the search ends there
// (NegativeCycle). Without such a cycle nothing of this changes any result.

namespace lirsk {

constexpr double UnreachedLength = 262136.0;

enum class SearchOutcome {
    Found,         // the way is in SearchResult::way
    NoWayMessage,  // the start has no outgoing link: the window says "Пути нет"
    Unreached,     // the finish kept exactly UnreachedLength (no way along the links' directions,
                   // or only one of 262136 m or more through other stops): nothing is shown
    LoopingWay,    // negative lengths made the way back from the finish loop: no way can be shown
    NegativeCycle, // a cycle of negative total length is reachable from the start: no way is
                   // shortest (negativeCycleText), and the search ended as soon as it was seen
};

// What the map window and gaftool say when a cycle of negative length leaves no shortest way.
QString negativeCycleText();

struct SearchResult {
    SearchOutcome outcome = SearchOutcome::Unreached;
    // The stops of the way, finish first and start last (only when Found).
    std::vector<StopIndex> way;
    // Sums of the Length (metres) and Time (seconds) of the links of the way, added from the
    // finish towards the start (only when Found).
    double length = 0;
    double time = 0;
    // The passes hit their cap: some cycle of negative total length kept lowering lengths, so the
    // values below (and a found way) are not shortest.
    bool passesCapped = false;
    // How much work the search did: passes run and PathLength lowerings made in them.
    int passes = 0;
    qint64 lowerings = 0;
    // By stop index: PathLength, PathTime and PathPrev as the search left them (empty for the
    // searches by other criteria).
    std::vector<double> pathLength;
    std::vector<double> pathTime;
    std::vector<int> pathPrev;
};

// The indexes one search runs on: stops in ascending Id, the links grouped by target and sorted
// by their source's Id, each stop's outgoing links. Built in time linear in the links (plus
// sorting the ids when they are sparse); valid as long as the map's stops, links and weights stay
// unchanged.
class RouteIndex {
public:
    explicit RouteIndex(const GraphMap& map);

    // Runs the search from start to finish (two stops of the map) and rebuilds the way. A start or
    // finish that takes no part in the search (no stop of this map, or sharing an earlier stop's
    // Id) leaves the finish unreached.
    SearchResult search(StopIndex start, StopIndex finish);

    int stopsInSearch() const { return int(byRank_.size()); }

private:
    // The first link of one source to one target. The slots are grouped by target in ascending
    // rank and, within a target, sorted by the source's rank: ascending slots are the order in
    // which a pass tries its candidates and their feeders.
    struct Slot {
        double length;
        double time;
        int from; // rank of the source stop
        int to;   // rank of the target stop
    };

    // A link of a stop, in the stop's list order: the slot of its first link to the same target.
    struct OutLink {
        int slot;
        int to; // rank of the target stop
    };

    // What the search keeps of each stop.
    struct Label {
        double length; // PathLength
        double time;   // PathTime
        // The length of the first link from prev to this stop: the one the passes lower along.
        double via;
        int prev;        // rank, or -1 while not set by this search
        int changedPass; // last lowered in this pass (0: seeded, -1: neither)
    };

    void rankStops();
    void indexLinks();
    int rankOf(StopIndex stop) const;
    void resetScratch(int startRank);
    // Makes the slots of the stop's links active for the next pass: the stop is in its frontier.
    void activateLinksOf(int from);
    bool seed(StopIndex start, int startRank);
    void runPass(int pass, std::vector<int>& changed, qint64& lowerings);
    bool runPasses(SearchResult& result);
    void rebuildWay(int s, int f, SearchResult& result) const;
    // Follows prev back from each of the stops; true when that closes a cycle of negative total
    // length.
    bool negativeCycleFrom(const std::vector<int>& stops);
    void writeBack(int startRank, SearchResult& result) const;

    const GraphMap& map_;
    std::vector<StopIndex> byRank_; // stops taking part, ascending Id
    std::vector<int> rankOfStop_;   // by stop index; -1 for a stop that takes no part
    std::vector<Slot> slots_;
    std::vector<int> outStart_; // offsets into outLinks_, by rank
    std::vector<OutLink> outLinks_;
    bool nonNegative_ = true; // no link of a stop taking part is shorter than zero (or undefined)

    // Scratch of one search, by rank.
    std::vector<Label> label_;
    // Which walk back along prev last came through each stop (negativeCycleFrom).
    std::vector<std::int64_t> walked_;
    std::int64_t walks_ = 0;
    // The active slots of a pass (those whose source is in its frontier): a bitset with one
    // summary bit per word, so that they come out in ascending order at a cost of about their
    // number.
    std::vector<std::uint64_t> activeWords_;
    std::vector<std::uint64_t> activeSummary_;
    bool anyActive_ = false;
};

// Builds the indexes and runs one search. The map window redraws its map, then: Found, it draws
// each step from way[k + 1] to way[k] and reports the way (BuildRouteReport in route/report.h);
// NoWayMessage, it shows "Пути нет"; Unreached, nothing more; LoopingWay, it can tell the user that
// negative road lengths left the way unfound.
SearchResult FindWay(const GraphMap& map, StopIndex start, StopIndex finish);

} // namespace lirsk

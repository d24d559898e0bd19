#pragma once

#include "route/findway.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

// The way between two stops by the traveller's choice: the shortest (FindWay, as it is), the
// fastest, or the one with the fewest changes.
//
// Fastest: the least sum of the links' Time; among equal sums the way with fewer stops; further
// ties are settled the same way on every run. Fewest changes: the fewest transfers as the route
// report counts them (BuildRouteReport: from the finish, each stop against the routes of the stop
// where the current ride began), among simple ways; among those the least time, then fewer stops.
//
// Both run on the stops that the shortest search takes part in (the first stop of each Id) and,
// like it, on the first link from one stop to another; the time of a way is added from the finish
// towards the start, as SearchResult gives it. Their results carry no PathLength, PathTime or
// PathPrev. A found way comes back as FindWay gives one: finish first,
// with the sums of its links' Length and Time, for BuildRouteReport.

namespace lirsk {

enum class Criterion {
    Shortest,      // FindWay: the least length, bit for bit as it always was
    Fastest,       // the least time
    FewestChanges, // the fewest transfers, then the least time
};

// Why a search by time was not run.
enum class Refusal {
    None,
    NegativeTimes, // a link of the map has a negative (or undefined) time
    NoTimes,       // every link's time is 0: the map has no times to find the fastest way by
};

struct CriterionResult {
    // The outcome and way as FindWay gives them. The searches by time answer Found, NoWayMessage
    // (the start has no outgoing link) or Unreached; Unreached too when they refuse.
    SearchResult found;
    Refusal refusal = Refusal::None;
};

// The indexes of the searches, each built for a map at its first search; valid as long as the
// map's stops, links and weights stay unchanged (as RouteIndex).
class WaySearch {
public:
    explicit WaySearch(const GraphMap& map);
    ~WaySearch();
    WaySearch(const WaySearch&) = delete;
    WaySearch& operator=(const WaySearch&) = delete;

    CriterionResult search(Criterion criterion, StopIndex start, StopIndex finish);

private:
    struct Index;
    const GraphMap& map_;
    std::unique_ptr<Index> index_;
    std::optional<RouteIndex> shortest_;
};

// Builds the indexes and runs one search.
CriterionResult findWayBy(Criterion criterion, const GraphMap& map, StopIndex start,
                          StopIndex finish);

// What the map window tells the user when a search found no way: the message text, or an empty
// text when it says nothing (the shortest search leaves an unreached finish without a word).
QString failureText(Criterion criterion, const CriterionResult& result);

// The criterion's name in gaftool's arguments and JSON: "shortest", "fastest", "changes".
QString criterionName(Criterion criterion);
// The criterion of a name; false when the name is none of them.
bool criterionFromName(const QString& name, Criterion* criterion);

} // namespace lirsk

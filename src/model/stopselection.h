#pragma once

#include "model/graphmap.h"

#include <vector>

namespace lirsk {

// The marked stops of a map: a set of stop indices, ascending.
class StopSelection {
public:
    bool contains(StopIndex stop) const;
    int count() const { return int(stops_.size()); }
    bool isEmpty() const { return stops_.empty(); }
    const std::vector<StopIndex>& stops() const { return stops_; }
    // Whether it was not there before.
    bool insert(StopIndex stop);
    bool erase(StopIndex stop);
    void clear() { stops_.clear(); }
    void assign(std::vector<StopIndex> ascending) { stops_ = std::move(ascending); }
    // Stops (ascending) left the map: they leave the set, and the marks of later stops follow
    // them down.
    void stopsTaken(const std::vector<StopIndex>& taken);
    // Stops came (back) at these indices (ascending): the marks of later stops move up.
    void stopsPutBack(const std::vector<StopIndex>& indices);

private:
    std::vector<StopIndex> stops_;
};

} // namespace lirsk

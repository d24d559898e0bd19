#pragma once

#include "model/graphmap.h"

#include <vector>

namespace lirsk {

// The marked stops of a map: a set of stop indices, ascending.
class StopSelection {
public:
    bool contains(StopIndex stop) const;
    int count() const { return int(m_stops.size()); }
    bool isEmpty() const { return m_stops.empty(); }
    const std::vector<StopIndex>& stops() const { return m_stops; }
    // Whether it was not there before.
    bool insert(StopIndex stop);
    bool erase(StopIndex stop);
    void clear() { m_stops.clear(); }
    void assign(std::vector<StopIndex> ascending) { m_stops = std::move(ascending); }
    // Stops (ascending) left the map: they leave the set, and the marks of later stops follow
    // them down.
    void stopsTaken(const std::vector<StopIndex>& taken);
    // Stops came (back) at these indices (ascending): the marks of later stops move up.
    void stopsPutBack(const std::vector<StopIndex>& indices);

private:
    std::vector<StopIndex> m_stops;
};

} // namespace lirsk

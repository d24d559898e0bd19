#include "model/stopselection.h"

#include <algorithm>

namespace lirsk {

bool StopSelection::contains(StopIndex stop) const {
    return std::binary_search(m_stops.begin(), m_stops.end(), stop);
}

bool StopSelection::insert(StopIndex stop) {
    const auto it = std::lower_bound(m_stops.begin(), m_stops.end(), stop);
    if (it != m_stops.end() && *it == stop)
        return false;
    m_stops.insert(it, stop);
    return true;
}

bool StopSelection::erase(StopIndex stop) {
    const auto it = std::lower_bound(m_stops.begin(), m_stops.end(), stop);
    if (it == m_stops.end() || *it != stop)
        return false;
    m_stops.erase(it);
    return true;
}

void StopSelection::stopsTaken(const std::vector<StopIndex>& taken) {
    if (taken.empty() || m_stops.empty())
        return;
    std::vector<StopIndex> kept;
    kept.reserve(m_stops.size());
    std::size_t below = 0; // taken stops before the current one
    for (const StopIndex stop : m_stops) {
        while (below < taken.size() && taken[below] < stop)
            ++below;
        if (below < taken.size() && taken[below] == stop)
            continue;
        kept.push_back(stop - StopIndex(below));
    }
    m_stops = std::move(kept);
}

void StopSelection::stopsPutBack(const std::vector<StopIndex>& indices) {
    if (indices.empty() || m_stops.empty())
        return;
    // A stop that is now at s was at the s-th place left free between the returning ones.
    std::size_t passed = 0;
    for (StopIndex& stop : m_stops) {
        while (passed < indices.size() && indices[passed] <= stop + StopIndex(passed))
            ++passed;
        stop += StopIndex(passed);
    }
}

} // namespace lirsk

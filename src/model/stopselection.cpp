#include "model/stopselection.h"

#include <algorithm>

namespace lirsk {

bool StopSelection::contains(StopIndex stop) const {
    return std::binary_search(stops_.begin(), stops_.end(), stop);
}

bool StopSelection::insert(StopIndex stop) {
    const auto it = std::lower_bound(stops_.begin(), stops_.end(), stop);
    if (it != stops_.end() && *it == stop)
        return false;
    stops_.insert(it, stop);
    return true;
}

bool StopSelection::erase(StopIndex stop) {
    const auto it = std::lower_bound(stops_.begin(), stops_.end(), stop);
    if (it == stops_.end() || *it != stop)
        return false;
    stops_.erase(it);
    return true;
}

void StopSelection::stopsTaken(const std::vector<StopIndex>& taken) {
    if (taken.empty() || stops_.empty())
        return;
    std::vector<StopIndex> kept;
    kept.reserve(stops_.size());
    std::size_t below = 0; // taken stops before the current one
    for (const StopIndex stop : stops_) {
        while (below < taken.size() && taken[below] < stop)
            ++below;
        if (below < taken.size() && taken[below] == stop)
            continue;
        kept.push_back(stop - StopIndex(below));
    }
    stops_ = std::move(kept);
}

void StopSelection::stopsPutBack(const std::vector<StopIndex>& indices) {
    if (indices.empty() || stops_.empty())
        return;
    // A stop that is now at s was at the s-th place left free between the returning ones.
    std::size_t passed = 0;
    for (StopIndex& stop : stops_) {
        while (passed < indices.size() && indices[passed] <= stop + StopIndex(passed))
            ++passed;
        stop += StopIndex(passed);
    }
}

} // namespace lirsk

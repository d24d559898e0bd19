#pragma once

#include <span>
#include <string_view>
#include <utility>
#include <vector>

// Which stations a traveller walks between: each station's nearest others within a short walk.
// The map's walking roads and a timetable's walks are made from the same list.

namespace lirsk {

class ImportProgress;

// Walks join stations strictly closer than this, in metres of great circle.
constexpr double kWalkingDistance = 250;
// A station walks to at most this many others: the nearest, ties by distance and then by id.
constexpr int kMaxWalkingNeighbours = 8;

struct WalkingPlace {
    double lat, lon;     // degrees
    std::string_view id; // the stop_id that orders places at equal distances
};

struct WalkingNeighbour {
    int place;
    double metres;
};

class WalkingNeighbours {
public:
    // Finds the neighbours of every place through a k-d tree of the distinct positions, so that
    // a crowd of stations at one point costs no more than the same number spread out.
    WalkingNeighbours(const std::vector<WalkingPlace>& places, ImportProgress& progress);

    // The neighbours of a place, nearest first.
    std::span<const WalkingNeighbour> of(int place) const {
        return {list_.data() + first_[std::size_t(place)],
                list_.data() + first_[std::size_t(place) + 1]};
    }
    // Every pair (a < b) where either is a neighbour of the other, in order.
    std::vector<std::pair<int, int>> pairs() const;

private:
    std::vector<std::size_t> first_;
    std::vector<WalkingNeighbour> list_;
};

} // namespace lirsk

#pragma once

#include <cstdint>
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

// A transfers.txt row from one place to another.
struct PlaceTransfer {
    int from, to;
    int type;
    int minTime; // seconds; -1 when the row gives none
};

// A walk from one place to another.
struct PlaceWalk {
    int from, to;
    std::uint32_t seconds;
    double metres; // great circle
};

// The walks between places, one way each: to and from each place's neighbours in a second a
// metre, rounded up; the transfers.txt rows of types 0 to 2 from one place to another replace the
// distance walk in their direction by the least of their times (a row without one counts the
// distance), and a row of type 3 takes the walk in its direction away whatever the others say.
// In order of (from, to).
std::vector<PlaceWalk> placeWalks(const std::vector<WalkingPlace>& places,
                                  const std::vector<PlaceTransfer>& transfers,
                                  ImportProgress& progress);

} // namespace lirsk

#include "import/walkingneighbours.h"

#include "import/geo.h"
#include "import/importprogress.h"

#include <nanoflann.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace lirsk {

namespace {

// The distinct positions of the places, each with its places ordered by id, as points on the
// Earth's surface in metres (chords are shorter than arcs, and in the same order).
struct Positions {
    std::vector<std::array<double, 3>> points;
    std::vector<std::vector<int>> places;

    std::size_t kdtree_get_point_count() const { return points.size(); }
    double kdtree_get_pt(std::size_t k, std::size_t axis) const { return points[k][axis]; }
    template <class Box> bool kdtree_get_bbox(Box&) const { return false; }
};

using Tree = nanoflann::KDTreeSingleIndexAdaptor<nanoflann::L2_Simple_Adaptor<double, Positions>,
                                                 Positions, 3, std::uint32_t>;

Positions positionsOf(const std::vector<WalkingPlace>& places, ImportProgress& progress) {
    std::vector<int> order(places.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = int(k);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        progress.tick(0);
        const WalkingPlace &p = places[std::size_t(a)], &q = places[std::size_t(b)];
        return std::tie(p.lat, p.lon, p.id) < std::tie(q.lat, q.lon, q.id);
    });
    Positions result;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const WalkingPlace& p = places[std::size_t(order[k])];
        if (k == 0 || p.lat != places[std::size_t(order[k - 1])].lat ||
            p.lon != places[std::size_t(order[k - 1])].lon) {
            const double lat = radians(p.lat), lon = radians(p.lon);
            result.points.push_back({kEarthRadius * std::cos(lat) * std::cos(lon),
                                     kEarthRadius * std::cos(lat) * std::sin(lon),
                                     kEarthRadius * std::sin(lat)});
            result.places.emplace_back();
        }
        result.places.back().push_back(order[k]);
    }
    return result;
}

struct Candidate {
    double metres;
    std::string_view id;
    int place;
};

} // namespace

WalkingNeighbours::WalkingNeighbours(const std::vector<WalkingPlace>& places,
                                     ImportProgress& progress) {
    const Positions positions = positionsOf(places, progress);
    const Tree tree(3, positions);
    // A place needs its own position's places and the nearest others' up to this many: only the
    // first so many places of a position by id can be among anyone's neighbours.
    const std::size_t wanted = kMaxWalkingNeighbours + 1;
    const double reach = (kWalkingDistance + 1) * (kWalkingDistance + 1);
    std::vector<std::vector<WalkingNeighbour>> found(places.size());
    std::vector<std::uint32_t> nearest(wanted);
    std::vector<double> squares(wanted);
    std::vector<std::pair<std::uint32_t, double>> within;
    std::vector<Candidate> candidates;
    for (std::size_t at = 0; at < positions.points.size(); ++at) {
        const double* point = positions.points[at].data();
        // The radius that holds enough places, and every position tied at its edge.
        const std::size_t n = tree.knnSearch(point, wanted, nearest.data(), squares.data());
        std::size_t count = 0, last = 0;
        while (last < n && (count += positions.places[nearest[last]].size()) < wanted)
            ++last;
        const double edge = std::min(reach, squares[std::min(last, n - 1)] * (1 + 1e-9) + 1e-9);
        tree.radiusSearch(point, edge, within, nanoflann::SearchParams(32, 0, false));
        const WalkingPlace& here = places[std::size_t(positions.places[at].front())];
        candidates.clear();
        for (const auto& [other, square] : within) {
            const std::vector<int>& there = positions.places[other];
            const WalkingPlace& p = places[std::size_t(there.front())];
            const double metres = greatCircle(here.lat, here.lon, p.lat, p.lon);
            if (metres < kWalkingDistance || other == at)
                for (std::size_t k = 0; k < std::min(there.size(), wanted); ++k)
                    candidates.push_back(
                        {other == at ? 0 : metres, places[std::size_t(there[k])].id, there[k]});
        }
        std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
            return std::tie(a.metres, a.id, a.place) < std::tie(b.metres, b.id, b.place);
        });
        for (const int place : positions.places[at]) {
            std::vector<WalkingNeighbour>& list = found[std::size_t(place)];
            for (const Candidate& c : candidates)
                if (c.place != place && list.size() < std::size_t(kMaxWalkingNeighbours))
                    list.push_back({c.place, c.metres});
        }
        progress.tick(double(at) / double(positions.points.size()));
    }
    first_.push_back(0);
    for (const std::vector<WalkingNeighbour>& list : found) {
        list_.insert(list_.end(), list.begin(), list.end());
        first_.push_back(list_.size());
    }
}

std::vector<std::pair<int, int>> WalkingNeighbours::pairs() const {
    std::vector<std::pair<int, int>> result;
    for (std::size_t a = 0; a + 1 < first_.size(); ++a)
        for (const WalkingNeighbour& n : of(int(a)))
            result.emplace_back(std::min(int(a), n.place), std::max(int(a), n.place));
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    return result;
}

std::vector<PlaceWalk> placeWalks(const std::vector<WalkingPlace>& places,
                                  const std::vector<PlaceTransfer>& transfers,
                                  ImportProgress& progress) {
    const auto metresBetween = [&](int a, int b) {
        const WalkingPlace &p = places[std::size_t(a)], &q = places[std::size_t(b)];
        return greatCircle(p.lat, p.lon, q.lat, q.lon);
    };
    // Every candidate walk, the listed ones marked: of a pair, the least listed time stands, else
    // the distance.
    struct Candidate {
        PlaceWalk walk;
        bool byDistance;
    };
    std::vector<Candidate> candidates;
    std::vector<std::pair<int, int>> refused;
    for (const PlaceTransfer& t : transfers) {
        if (t.from == t.to || t.type > 3)
            continue;
        if (t.type == 3) {
            refused.emplace_back(t.from, t.to);
            continue;
        }
        const double metres = metresBetween(t.from, t.to);
        progress.grow(candidates);
        candidates.push_back(
            {{t.from, t.to,
              t.minTime >= 0 ? std::uint32_t(t.minTime) : std::uint32_t(std::ceil(metres)), metres},
             false});
    }
    const WalkingNeighbours neighbours(places, progress);
    for (int a = 0; a < int(places.size()); ++a)
        for (const WalkingNeighbour& n : neighbours.of(a)) {
            const std::uint32_t seconds = std::uint32_t(std::ceil(n.metres));
            for (const auto& [from, to] : {std::pair(a, n.place), std::pair(n.place, a)}) {
                progress.grow(candidates);
                candidates.push_back({{from, to, seconds, n.metres}, true});
            }
        }
    std::sort(candidates.begin(), candidates.end(), [&](const Candidate& x, const Candidate& y) {
        progress.tick(0);
        return std::tie(x.walk.from, x.walk.to, x.byDistance, x.walk.seconds) <
               std::tie(y.walk.from, y.walk.to, y.byDistance, y.walk.seconds);
    });
    std::sort(refused.begin(), refused.end());
    std::vector<PlaceWalk> walks;
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        const PlaceWalk& w = candidates[k].walk;
        if ((k == 0 || w.from != candidates[k - 1].walk.from ||
             w.to != candidates[k - 1].walk.to) &&
            !std::binary_search(refused.begin(), refused.end(), std::pair(w.from, w.to)))
            walks.push_back(w);
        progress.tick(0);
    }
    return walks;
}

} // namespace lirsk

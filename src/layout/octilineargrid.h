#pragma once

// The grid that the octilinear layout places stations on, and the layout's working state; shared
// by the files of the layout only.

#include "layout/octilinearlayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <unordered_map>
#include <unordered_set>

namespace lirsk::octilinear {

constexpr int kDirections = 8;
constexpr QPoint kDirection[kDirections] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                                            {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
constexpr int kCellSize = 4; // grid steps a side of an index cell
// What a crossing costs where no place is left without one: more than moving far.
constexpr double kCrossingCost = 1000;

inline std::uint64_t key(int x, int y) {
    return (std::uint64_t(std::uint32_t(x)) << 32) | std::uint32_t(y);
}

inline long long cross(QPoint o, QPoint a, QPoint b) {
    return (long long)(a.x() - o.x()) * (b.y() - o.y()) -
           (long long)(a.y() - o.y()) * (b.x() - o.x());
}

inline int sign(long long v) {
    return (v > 0) - (v < 0);
}

// Steps along an octilinear vector (diagonal steps count one), 0 when it is not octilinear.
inline int octilinearSteps(QPoint v) {
    const int ax = std::abs(v.x()), ay = std::abs(v.y());
    if (ax == 0 || ay == 0 || ax == ay)
        return std::max(ax, ay);
    return 0;
}

inline QPoint unitOf(QPoint v) {
    return {sign(v.x()), sign(v.y())};
}

// The index of a direction, -1 for none.
inline int directionIndex(QPoint unit) {
    for (int d = 0; d < kDirections; ++d)
        if (kDirection[d] == unit)
            return d;
    return -1;
}

// How far two directions turn from each other, in eighths of a turn (0..4).
inline int turn(int a, int b) {
    const int t = std::abs(a - b) % kDirections;
    return std::min(t, kDirections - t);
}

// The cost of a line turning by so many eighths at a station.
inline double bendCost(int eighths) {
    constexpr double kCost[5] = {0, 1, 3, 8, 20};
    return kCost[eighths];
}

inline double angleOf(QPointF v) {
    return std::atan2(v.y(), v.x());
}

// The difference of a direction from a geographic angle, in eighths of a turn.
inline double deviation(int d, double angle) {
    double diff = std::abs(angleOf(QPointF(kDirection[d])) - angle);
    diff = std::fmod(diff, 2 * std::numbers::pi);
    if (diff > std::numbers::pi)
        diff = 2 * std::numbers::pi - diff;
    return diff / (std::numbers::pi / 4);
}

struct Segment {
    QPoint a, b;
    int link = -1;
};

// A run of links between two junctions (stations with other than two links), or from a junction
// to the end of a branch, through the stations in between.
struct Chain {
    std::vector<int> nodes; // from one end to the other, both ends included
    std::vector<int> links; // between consecutive nodes
    int from() const { return nodes.front(); }
    int to() const { return nodes.back(); }
    int inner() const { return int(nodes.size()) - 2; }
};

struct Candidate {
    std::vector<std::pair<int, QPoint>> places;
    std::vector<Segment> segments;
    double cost = 0;
};

class Layout {
public:
    explicit Layout(const OctilinearInput& input);
    OctilinearLayout run();

private:
    void buildChains();
    void findGeographicCrossings();
    double unitLength() const;
    double groundLength(int a, int b) const;

    bool conflicts(const Segment& s, const std::vector<Segment>& pending) const;
    bool inTheWay(const Segment& s, const std::vector<Segment>& pending) const;
    bool sideKept(const Segment& s, int node, QPoint at) const;
    bool besideRightly(int node, QPoint p) const;
    bool nodeBlocked(QPoint p, const std::vector<std::pair<int, QPoint>>& pending) const;
    bool keepsOrder(int node, const std::vector<Segment>& pending) const;
    void commit(const Candidate& c);

    bool routeChain(const Chain& chain, bool reversed, QPoint endAt, Candidate& into) const;
    bool shapeChain(const std::vector<int>& nodes, const std::vector<int>& links,
                    const std::vector<QPoint>& corners, Candidate& into, double* cost) const;
    void placeJunction(int junction);
    void placeJunctionAnywhere(int junction, QPointF want,
                               const std::vector<std::pair<int, bool>>& placedChains);
    void walkBranch(const Chain& chain, bool reversed);
    void placeAlone(int node);
    void reserveBranches(int junction);
    QPointF predicted(int node) const;
    QPointF fitted(int node) const;
    bool nearerTheRest(int a, int b) const;
    double nearness(int node, QPoint p) const;

    const OctilinearInput& m_input;
    mutable int m_clashes = 0; // what a place would cross when crossings are allowed
    int m_relaxed = 0; // 1: links around a junction may leave their order; 2: also the eight ways
    int m_count = 0;
    double m_unit = 1;
    std::vector<std::pair<int, int>> m_links;
    std::vector<int> m_passedBy; // each station: the express links that pass it by
    std::vector<std::vector<int>> m_walkingTo;
    std::vector<std::vector<std::pair<int, int>>> m_adjacent; // (neighbour, link)
    std::vector<Chain> m_chains;
    std::vector<std::vector<int>> m_chainsAt; // chains ending at each junction
    std::unordered_set<std::uint64_t> m_crossingOnGround;
    std::vector<QPoint> m_cell;
    // The stations placed so far, for the grid's best fit to the ground (a scale and a shift).
    struct Fit {
        double count = 0, groundSquares = 0, products = 0;
        QPointF ground, grid;
    } m_fit;
    std::vector<bool> m_placed;
    std::vector<Segment> m_segments;
    std::unordered_map<std::uint64_t, std::vector<int>> m_segmentIndex;
    std::unordered_map<std::uint64_t, int> m_nodeAt;
    // Cells kept free for the first station of a branch not laid out yet, by chain.
    std::unordered_map<int, std::uint64_t> m_reserved;
    std::unordered_set<std::uint64_t> m_reservedCells;
};

// Calls f with the key of every index cell that the box of a-b touches.
template <class F> void forCells(QPoint a, QPoint b, F f) {
    const auto cell = [](int v) { return v >= 0 ? v / kCellSize : -((-v - 1) / kCellSize) - 1; };
    const int x0 = cell(std::min(a.x(), b.x())), x1 = cell(std::max(a.x(), b.x()));
    const int y0 = cell(std::min(a.y(), b.y())), y1 = cell(std::max(a.y(), b.y()));
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y)
            f(key(x, y));
}

} // namespace lirsk::octilinear

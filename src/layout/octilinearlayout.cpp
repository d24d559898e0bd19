#include "layout/octilinearlayout.h"

#include "layout/octilineargrid.h"

#include <QRectF>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <numbers>
#include <unordered_map>
#include <unordered_set>

// The method follows the grid-graph idea of octilinear metro-map drawing (Bast, Brosi and Storandt,
// "Efficient generation of geographically accurate transit maps", 2018): stations go on the nodes
// of a square grid one junction at a time, busiest and most constrained first, each at the free
// node near where the geography puts it from its placed neighbours; the lines between two
// junctions are routed over the grid in the eight directions, and a place that would cross what
// is drawn, overlap it or turn the links around a junction out of their geographic order is not
// taken; as there, a junction's ports are kept for the lines still to come: the cell beside it
// in the way of each branch not laid out yet stays free while any place obeys every rule, and a
// station keeps the side of the lines drawn beside it that it has on the ground. Stations with no
// placed neighbour go where the ground puts them by the scale and shift that fit the stations
// placed so far. Here a link is one straight line between two stations, so a line bends only at a
// station: the stations between two junctions are spread evenly over one straight run or two
// runs with a station at the corner, and a branch to its terminus follows the geography station
// by station, turning only where the geography turns by more than about half of 45 degrees.

namespace lirsk {

namespace octilinear {

Layout::Layout(const OctilinearInput& input)
    : m_input(input), m_count(int(input.points.size())), m_adjacent(m_count), m_chainsAt(m_count),
      m_cell(m_count), m_placed(m_count, false) {
    std::unordered_set<std::uint64_t> seen;
    for (auto [a, b] : input.links) {
        if (a == b || a < 0 || b < 0 || a >= m_count || b >= m_count)
            continue;
        if (!seen.insert(key(std::min(a, b), std::max(a, b))).second)
            continue;
        const int link = int(m_links.size());
        m_links.emplace_back(a, b);
        m_adjacent[a].emplace_back(b, link);
        m_adjacent[b].emplace_back(a, link);
    }
    m_passedBy.assign(m_count, 0);
    for (const std::vector<int>& express : input.expresses)
        for (std::size_t k = 1; k + 1 < express.size(); ++k)
            if (express[k] >= 0 && express[k] < m_count)
                ++m_passedBy[express[k]];
    m_unit = unitLength();
    m_walkingTo.resize(m_count);
    for (auto [a, b] : input.walks)
        if (a != b && a >= 0 && b >= 0 && a < m_count && b < m_count) {
            m_walkingTo[a].push_back(b);
            m_walkingTo[b].push_back(a);
        }
}

double Layout::groundLength(int a, int b) const {
    const QPointF d = m_input.points[a] - m_input.points[b];
    return std::hypot(d.x(), d.y());
}

double Layout::unitLength() const {
    std::vector<double> lengths;
    for (int v = 0; v < m_count; ++v)
        for (auto [b, link] : m_adjacent[v])
            if (b > v)
                lengths.push_back(groundLength(v, b));
    if (lengths.empty())
        return 1;
    std::nth_element(lengths.begin(), lengths.begin() + lengths.size() / 2, lengths.end());
    return std::max(lengths[lengths.size() / 2], 1e-9);
}

void Layout::buildChains() {
    std::vector<bool> junction(m_count), used(m_links.size(), false);
    for (int v = 0; v < m_count; ++v)
        junction[v] = m_adjacent[v].size() != 2;
    const auto walk = [&](int start, int link, int next) {
        Chain chain{{start}, {}};
        for (;;) {
            used[link] = true;
            chain.links.push_back(link);
            chain.nodes.push_back(next);
            if (junction[next])
                break;
            const auto& [n0, l0] = m_adjacent[next][0];
            const auto& [n1, l1] = m_adjacent[next][1];
            const bool first = l0 != link;
            link = first ? l0 : l1;
            next = first ? n0 : n1;
            if (used[link])
                break;
        }
        m_chainsAt[chain.from()].push_back(int(m_chains.size()));
        if (chain.to() != chain.from())
            m_chainsAt[chain.to()].push_back(int(m_chains.size()));
        m_chains.push_back(std::move(chain));
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (int v = 0; v < m_count; ++v) {
            if (!junction[v])
                continue;
            for (auto [next, link] : m_adjacent[v])
                if (!used[link])
                    walk(v, link, next);
        }
        // A ring of stations with two links each gets a junction of its own.
        for (std::size_t link = 0; link < m_links.size(); ++link)
            if (!used[link]) {
                junction[m_links[link].first] = true;
                break;
            }
    }
}

void Layout::findGeographicCrossings() {
    const auto& p = m_input.points;
    for (std::size_t i = 0; i < m_links.size(); ++i) {
        const auto [a, b] = m_links[i];
        const QRectF ri = QRectF(p[a], p[b]).normalized();
        for (std::size_t j = i + 1; j < m_links.size(); ++j) {
            const auto [c, d] = m_links[j];
            if (a == c || a == d || b == c || b == d)
                continue;
            const QRectF rj = QRectF(p[c], p[d]).normalized();
            if (ri.right() < rj.left() || rj.right() < ri.left() || ri.bottom() < rj.top() ||
                rj.bottom() < ri.top())
                continue;
            const auto side = [](QPointF o, QPointF s, QPointF t) {
                const double v =
                    (s.x() - o.x()) * (t.y() - o.y()) - (s.y() - o.y()) * (t.x() - o.x());
                return (v > 0) - (v < 0);
            };
            if (side(p[a], p[b], p[c]) * side(p[a], p[b], p[d]) <= 0 &&
                side(p[c], p[d], p[a]) * side(p[c], p[d], p[b]) <= 0)
                m_crossingOnGround.insert(key(int(i), int(j)));
        }
    }
}

// Spreads the stations of a run over straight runs between the corners (a station at each
// corner), as evenly as the runs' steps allow; false when they do not fit or get in the way.
bool Layout::shapeChain(const std::vector<int>& nodes, const std::vector<int>& links,
                        const std::vector<QPoint>& corners, Candidate& into, double* cost) const {
    const int clashesBefore = m_clashes;
    const int runs = int(corners.size()) - 1, gaps = int(links.size());
    if (runs > gaps)
        return false;
    std::vector<int> steps(runs), share(runs, 1);
    int total = 0;
    for (int r = 0; r < runs; ++r) {
        steps[r] = octilinearSteps(corners[r + 1] - corners[r]);
        if (steps[r] == 0 && m_relaxed == 2 && gaps == 1)
            steps[r] = 1;
        if (steps[r] == 0)
            return false;
        total += steps[r];
    }
    if (total < gaps)
        return false;
    for (int left = gaps - runs; left > 0; --left) {
        int best = -1;
        for (int r = 0; r < runs; ++r)
            if (share[r] < steps[r] &&
                (best < 0 || double(steps[r]) / share[r] > double(steps[best]) / share[best]))
                best = r;
        ++share[best];
    }
    // A corner where an express line passes by would bend it off its stations: the corner moves
    // to the nearest station it does not pass by, where the runs allow.
    if (runs == 2 && m_passedBy[nodes[share[0]]] > 0) {
        for (int shift = 1; shift <= 3; ++shift) {
            const int first = share[0] + (shift % 2 ? (shift + 1) / 2 : -shift / 2);
            if (first >= 1 && first <= steps[0] && gaps - first >= 1 && gaps - first <= steps[1] &&
                m_passedBy[nodes[first]] == 0) {
                share = {first, gaps - first};
                break;
            }
        }
        *cost += 6 * m_passedBy[nodes[share[0]]];
    }
    Candidate shaped = into;
    int k = 0;
    QPoint previous = corners[0];
    for (int r = 0; r < runs; ++r) {
        const QPoint unit = unitOf(corners[r + 1] - corners[r]);
        for (int j = 1; j <= share[r]; ++j) {
            const QPoint at =
                j == share[r]
                    ? corners[r + 1]
                    : corners[r] + unit * int(std::lround(double(j) * steps[r] / share[r]));
            ++k;
            const bool last = k == gaps;
            if (!last && (nodeBlocked(at, shaped.places) || !besideRightly(nodes[k], at)))
                return false;
            const Segment s{previous, at, links[k - 1]};
            if (conflicts(s, shaped.segments))
                return false;
            shaped.segments.push_back(s);
            if (!last)
                shaped.places.emplace_back(nodes[k], at);
            previous = at;
        }
    }
    // Evenness: the longest gap against the shortest.
    double longest = 0, shortest = 1e9;
    for (int r = 0; r < runs; ++r) {
        longest = std::max(longest, double(steps[r]) / share[r]);
        shortest = std::min(shortest, double(steps[r]) / share[r]);
    }
    *cost +=
        longest - shortest + 0.3 * (total - gaps) + kCrossingCost * (m_clashes - clashesBefore);
    into = std::move(shaped);
    return true;
}

// Routes a chain whose start is placed to its end at endAt, in one straight run or two with a
// corner station; the cheapest shape that fits goes into the candidate.
bool Layout::routeChain(const Chain& chain, bool reversed, QPoint endAt, Candidate& into) const {
    std::vector<int> nodes = chain.nodes, links = chain.links;
    if (reversed) {
        std::reverse(nodes.begin(), nodes.end());
        std::reverse(links.begin(), links.end());
    }
    const QPoint start = m_cell[nodes.front()];
    const QPoint v = endAt - start;
    std::vector<std::vector<QPoint>> shapes;
    if (octilinearSteps(v) > 0 || (m_relaxed == 2 && chain.inner() == 0))
        shapes.push_back({start, endAt});
    if (chain.inner() >= 1) {
        const int ax = std::abs(v.x()), ay = std::abs(v.y()), diagonal = std::min(ax, ay);
        const QPoint diag(sign(v.x()) * diagonal, sign(v.y()) * diagonal);
        for (const QPoint corner : {start + diag, endAt - diag, QPoint(endAt.x(), start.y()),
                                    QPoint(start.x(), endAt.y())})
            if (corner != start && corner != endAt)
                shapes.push_back({start, corner, endAt});
    }
    // The geography of the stations between, mapped onto the ends as placed.
    const QPointF g0 = m_input.points[nodes.front()], g1 = m_input.points[nodes.back()];
    const double ground = std::hypot(g1.x() - g0.x(), g1.y() - g0.y());
    bool any = false;
    Candidate best;
    double bestCost = 0;
    for (const auto& corners : shapes) {
        Candidate shaped = into;
        double cost = 0;
        if (!shapeChain(nodes, links, corners, shaped, &cost))
            continue;
        for (std::size_t c = 1; c + 1 < corners.size(); ++c) {
            const int before = directionIndex(unitOf(corners[c] - corners[c - 1]));
            const int after = directionIndex(unitOf(corners[c + 1] - corners[c]));
            cost += 2 * bendCost(turn(before, after));
        }
        if (ground > 0 && chain.inner() > 0) {
            const std::complex<double> gz(g1.x() - g0.x(), g1.y() - g0.y());
            const std::complex<double> dz(v.x(), v.y());
            const std::complex<double> map = dz / gz;
            for (const auto& [node, at] : shaped.places) {
                const QPointF g = m_input.points[node] - g0;
                const std::complex<double> want = map * std::complex<double>(g.x(), g.y());
                cost += 0.5 * std::abs(want - std::complex<double>(at.x() - start.x(),
                                                                   at.y() - start.y()));
            }
        }
        if (!any || cost < bestCost) {
            any = true;
            bestCost = cost;
            best = std::move(shaped);
        }
    }
    if (!any)
        return false;
    best.cost += bestCost;
    into = std::move(best);
    return true;
}

// What a place costs for its neighbourhood: a station crowded by others is hard to read, one
// far from the stations a walk joins it to reads as another interchange.
double Layout::nearness(int node, QPoint p) const {
    double cost = 0;
    for (int x = -1; x <= 1; ++x)
        for (int y = -1; y <= 1; ++y)
            cost += 2 * m_nodeAt.contains(key(p.x() + x, p.y() + y));
    for (const int other : m_walkingTo[node])
        if (m_placed[other]) {
            const QPoint d = m_cell[other] - p;
            cost += std::max(std::abs(d.x()), std::abs(d.y()));
        }
    return cost;
}

QPointF Layout::predicted(int node) const {
    QPointF sum;
    int count = 0;
    for (int c : m_chainsAt[node]) {
        const Chain& chain = m_chains[c];
        const int other = chain.from() == node ? chain.to() : chain.from();
        if (!m_placed[other] || other == node)
            continue;
        QPointF v = (m_input.points[node] - m_input.points[other]) / m_unit;
        const double steps = std::max(std::abs(v.x()), std::abs(v.y()));
        const double least = chain.inner() + 1;
        if (steps < least)
            v = steps > 0 ? v * (least / steps) : QPointF(least, 0);
        sum += QPointF(m_cell[other]) + v;
        ++count;
    }
    if (count == 0)
        return fitted(node);
    return sum / count;
}

// Where the ground puts a station on the grid as laid out so far: the scale and shift that fit
// the placed stations best (least squares), applied to its geographic place.
QPointF Layout::fitted(int node) const {
    const QPointF g = m_input.points[node] / m_unit;
    if (m_fit.count < 2)
        return g;
    const double n = m_fit.count;
    const double spread = m_fit.groundSquares - QPointF::dotProduct(m_fit.ground, m_fit.ground) / n;
    const double scale =
        spread > 0 ? (m_fit.products - QPointF::dotProduct(m_fit.ground, m_fit.grid) / n) / spread
                   : 1;
    return scale * g + (m_fit.grid - scale * m_fit.ground) / n;
}

void Layout::placeJunction(int junction) {
    const QPointF want = predicted(junction);
    std::vector<std::pair<int, bool>> placedChains; // chain, whether it ends at the junction
    int direct = -1;
    for (int c : m_chainsAt[junction]) {
        const Chain& chain = m_chains[c];
        if (chain.from() == chain.to())
            continue;
        const bool endsHere = chain.to() == junction;
        const int other = endsHere ? chain.from() : chain.to();
        if (!m_placed[other])
            continue;
        placedChains.emplace_back(c, endsHere);
        if (chain.inner() == 0 && direct < 0)
            direct = other;
    }
    const auto evaluate = [&](QPoint p, Candidate* out) {
        if (nodeBlocked(p, {}) || !besideRightly(junction, p))
            return false;
        Candidate c;
        c.places.emplace_back(junction, p);
        const QPointF off = QPointF(p) - want;
        c.cost = 0.5 * (off.x() * off.x() + off.y() * off.y()) + nearness(junction, p);
        for (auto [index, endsHere] : placedChains) {
            if (!routeChain(m_chains[index], !endsHere, p, c))
                return false;
        }
        // The order around the junction and around each neighbour junction.
        m_cell[junction] = p;
        bool ordered = keepsOrder(junction, c.segments);
        for (auto [index, endsHere] : placedChains) {
            const Chain& chain = m_chains[index];
            ordered = ordered && keepsOrder(endsHere ? chain.from() : chain.to(), c.segments);
        }
        if (!ordered && m_relaxed == 0)
            return false;
        *out = std::move(c);
        return true;
    };
    Candidate best;
    bool found = false;
    const auto consider = [&](QPoint p) {
        Candidate c;
        if (evaluate(p, &c) && (!found || c.cost < best.cost)) {
            best = std::move(c);
            found = true;
        }
    };
    // First every rule; then the links around a junction out of their order; then a link
    // straight to a neighbour junction out of the eight directions; at last crossings.
    for (m_relaxed = 0; m_relaxed <= 3 && !found; ++m_relaxed) {
        if (direct >= 0 && m_relaxed < 2) {
            const QPoint from = m_cell[direct];
            const QPointF off = want - QPointF(from);
            const int reach = int(std::max(std::abs(off.x()), std::abs(off.y()))) * 2 + 6;
            for (int s = 1; s <= reach; ++s)
                for (const QPoint d : kDirection)
                    consider(from + d * s);
            continue;
        }
        const QPoint centre(int(std::lround(want.x())), int(std::lround(want.y())));
        for (int radius = 0, lastRing = -1; radius <= 30 && !found; radius = radius * 2 + 2) {
            for (int x = -radius; x <= radius; ++x)
                for (int y = -radius; y <= radius; ++y)
                    if (std::max(std::abs(x), std::abs(y)) > lastRing)
                        consider(centre + QPoint(x, y));
            lastRing = radius;
        }
    }
    m_relaxed = 0;
    if (!found) {
        placeJunctionAnywhere(junction, want, placedChains);
        return;
    }
    commit(best);
}

// Where no place fits a junction: it goes to the nearest free node, the stations of its placed
// chains evenly between their ends, its links drawn straight.
void Layout::placeJunctionAnywhere(int junction, QPointF want,
                                   const std::vector<std::pair<int, bool>>& placedChains) {
    const QPoint centre(int(std::lround(want.x())), int(std::lround(want.y())));
    QPoint at = centre;
    for (int radius = 0; nodeBlocked(at, {}); ++radius)
        at = centre + QPoint(radius % 2 ? radius : -radius, 0);
    Candidate alone;
    alone.places = {{junction, at}};
    commit(alone);
    for (auto [index, endsHere] : placedChains) {
        const Chain& chain = m_chains[index];
        Candidate rest;
        for (int k = 1; k + 1 < int(chain.nodes.size()); ++k) {
            const int node = chain.nodes[k];
            const double t = double(k) / (chain.nodes.size() - 1);
            const QPointF a = m_cell[chain.from()], b = m_cell[chain.to()];
            QPoint p((a + (b - a) * t).toPoint());
            while (nodeBlocked(p, rest.places))
                p += QPoint(0, 1);
            rest.places.emplace_back(node, p);
        }
        commit(rest);
        for (std::size_t k = 0; k < chain.links.size(); ++k) {
            Candidate link;
            link.segments.push_back(
                {m_cell[chain.nodes[k]], m_cell[chain.nodes[k + 1]], chain.links[k]});
            commit(link);
        }
    }
}

// Lays out a branch from its placed start to its free end station by station, each link in the
// direction nearest the geography's over the next two links, turning as little as it can.
void Layout::walkBranch(const Chain& chain, bool reversed) {
    std::vector<int> nodes = chain.nodes, links = chain.links;
    if (reversed) {
        std::reverse(nodes.begin(), nodes.end());
        std::reverse(links.begin(), links.end());
    }
    int previousDirection = -1;
    for (std::size_t k = 0; k + 1 < nodes.size(); ++k) {
        const int here = nodes[k], next = nodes[k + 1];
        if (m_placed[next]) {
            // A ring back to its junction closes where it began.
            commit({{}, {{m_cell[here], m_cell[next], links[k]}}, 0});
            break;
        }
        const int ahead = nodes[std::min(k + 2, nodes.size() - 1)];
        const double angle = angleOf(m_input.points[ahead] - m_input.points[here]);
        const double length = std::hypot(m_input.points[next].x() - m_input.points[here].x(),
                                         m_input.points[next].y() - m_input.points[here].y()) /
                              m_unit;
        Candidate best;
        bool found = false;
        for (int reach = 3; reach <= 24 && !found; reach *= 2)
            for (int d = 0; d < kDirections; ++d)
                for (int s = 1; s <= reach; ++s) {
                    const QPoint at = m_cell[here] + kDirection[d] * s;
                    if (nodeBlocked(at, {}) || !besideRightly(next, at))
                        continue;
                    Candidate c;
                    c.places.emplace_back(next, at);
                    c.segments.push_back({m_cell[here], at, links[k]});
                    m_clashes = 0;
                    if (conflicts(c.segments.back(), {}))
                        continue;
                    // The last station of a ring back to its junction closes it in a straight run.
                    if (k + 2 < nodes.size() && m_placed[nodes[k + 2]] && m_relaxed < 2) {
                        const Segment closing{at, m_cell[nodes[k + 2]], links[k + 1]};
                        if (octilinearSteps(closing.b - closing.a) == 0 ||
                            conflicts(closing, c.segments))
                            continue;
                    }
                    m_cell[next] = at;
                    m_placed[next] = true;
                    const bool ordered = keepsOrder(here, {});
                    m_placed[next] = false;
                    if (!ordered && m_relaxed == 0)
                        continue;
                    c.cost = kCrossingCost * m_clashes + 2 * deviation(d, angle) +
                             std::abs(s - std::clamp(length, 1.0, 2.0)) + nearness(next, at);
                    if (previousDirection >= 0)
                        c.cost +=
                            (1.5 + 6 * m_passedBy[here]) * bendCost(turn(previousDirection, d));
                    if (!found || c.cost < best.cost) {
                        best = std::move(c);
                        found = true;
                    }
                }
        if (!found && m_relaxed < 3) {
            // Boxed in: the links around the station may leave their order, then cross.
            ++m_relaxed;
            --k;
            continue;
        }
        m_relaxed = 0;
        if (!found) {
            // Boxed in: the rest of the branch goes straight on past what is in the way.
            QPoint at = m_cell[here] + QPoint(1, 0);
            while (nodeBlocked(at, {}))
                at += QPoint(1, 0);
            best.places = {{next, at}};
            best.segments = {{m_cell[here], at, links[k]}};
        }
        previousDirection = directionIndex(unitOf(best.segments.back().b - m_cell[here]));
        commit(best);
    }
}

// Keeps a cell free beside a junction for the first station of each branch from it, in the way
// nearest the ground's, so that the lines laid out before it leave the branch its way out.
void Layout::reserveBranches(int junction) {
    for (int c : m_chainsAt[junction]) {
        const Chain& chain = m_chains[c];
        const bool reversed = chain.to() == junction;
        const int far = reversed ? chain.from() : chain.to();
        if (far == junction || m_placed[far] || m_adjacent[far].size() != 1 ||
            m_reserved.contains(c))
            continue;
        const int first = reversed ? chain.nodes[chain.nodes.size() - 2] : chain.nodes[1];
        const int link = reversed ? chain.links.back() : chain.links.front();
        const double angle = angleOf(m_input.points[first] - m_input.points[junction]);
        int best = -1;
        for (int d = 0; d < kDirections; ++d) {
            const QPoint at = m_cell[junction] + kDirection[d];
            m_clashes = 0;
            if (nodeBlocked(at, {}) || conflicts({m_cell[junction], at, link}, {}))
                continue;
            if (best < 0 || deviation(d, angle) < deviation(best, angle))
                best = d;
        }
        if (best < 0)
            continue;
        const QPoint at = m_cell[junction] + kDirection[best];
        m_reserved[c] = key(at.x(), at.y());
        m_reservedCells.insert(key(at.x(), at.y()));
    }
}

// Whether station a is nearer than b to the middle of the stations placed, as the fit puts them.
bool Layout::nearerTheRest(int a, int b) const {
    const QPointF middle = m_fit.grid / m_fit.count;
    const QPointF da = fitted(a) - middle, db = fitted(b) - middle;
    return QPointF::dotProduct(da, da) < QPointF::dotProduct(db, db);
}

void Layout::placeAlone(int node) {
    const QPointF want = fitted(node);
    const QPoint centre(int(std::lround(want.x())), int(std::lround(want.y())));
    for (int radius = 0;; ++radius)
        for (int x = -radius; x <= radius; ++x)
            for (int y = -radius; y <= radius; ++y)
                if (!nodeBlocked(centre + QPoint(x, y), {})) {
                    commit({{{node, centre + QPoint(x, y)}}, {}, 0});
                    return;
                }
}

OctilinearLayout Layout::run() {
    buildChains();
    findGeographicCrossings();
    const auto degree = [&](int v) { return int(m_adjacent[v].size()); };
    std::vector<int> junctions;
    for (int v = 0; v < m_count; ++v)
        if (!m_chainsAt[v].empty() && degree(v) != 1)
            junctions.push_back(v);
    const QPointF middle = [&] {
        QPointF sum;
        for (const QPointF& p : m_input.points)
            sum += p;
        return m_count ? sum / m_count : sum;
    }();
    // Junctions: each next the one with most placed neighbours, then most links.
    std::vector<int> placedNeighbours(m_count, 0);
    for (;;) {
        int next = -1;
        for (int v : junctions) {
            if (m_placed[v])
                continue;
            const auto better = [&] {
                if (placedNeighbours[v] != placedNeighbours[next])
                    return placedNeighbours[v] > placedNeighbours[next];
                if (degree(v) != degree(next))
                    return degree(v) > degree(next);
                const QPointF a = m_input.points[v] - middle, b = m_input.points[next] - middle;
                return a.x() * a.x() + a.y() * a.y() < b.x() * b.x() + b.y() * b.y();
            };
            if (next < 0 || better())
                next = v;
        }
        if (next < 0)
            break;
        placeJunction(next);
        for (int c : m_chainsAt[next]) {
            const Chain& chain = m_chains[c];
            const int other = chain.from() == next ? chain.to() : chain.from();
            if (other != next)
                ++placedNeighbours[other];
        }
        reserveBranches(next);
    }
    // Rings that start and end at one junction, branches and lone lines.
    for (const Chain& chain : m_chains) {
        if (const auto it = m_reserved.find(int(&chain - m_chains.data()));
            it != m_reserved.end()) {
            m_reservedCells.erase(it->second);
            m_reserved.erase(it);
        }
        if (chain.from() == chain.to() && m_placed[chain.from()]) {
            walkBranch(chain, false);
            continue;
        }
        if (m_placed[chain.from()] && m_placed[chain.to()])
            continue;
        bool reversed = !m_placed[chain.from()] && m_placed[chain.to()];
        if (!m_placed[chain.from()] && !m_placed[chain.to()]) {
            // A line of its own starts at its end nearer the rest and runs out into the open.
            reversed = m_fit.count > 0 && nearerTheRest(chain.to(), chain.from());
            placeAlone(reversed ? chain.to() : chain.from());
        }
        walkBranch(chain, reversed);
    }
    for (int v = 0; v < m_count; ++v)
        if (!m_placed[v])
            placeAlone(v);

    OctilinearLayout result;
    result.cells = m_cell;
    result.links = int(m_links.size());
    std::vector<QPointF> placed(m_cell.begin(), m_cell.end());
    for (auto [a, b] : m_links)
        if (octilinearSteps(m_cell[b] - m_cell[a]) > 0)
            ++result.octilinearLinks;
    result.newCrossings = countNewCrossings(m_input, placed);
    return result;
}

} // namespace octilinear

OctilinearLayout layOutOctilinear(const OctilinearInput& input) {
    octilinear::Layout layout(input);
    return layout.run();
}

int countNewCrossings(const OctilinearInput& geography, const std::vector<QPointF>& placed) {
    std::vector<std::pair<int, int>> links;
    std::unordered_set<std::uint64_t> seen;
    const int n = int(placed.size());
    for (auto [a, b] : geography.links)
        if (a != b && a >= 0 && b >= 0 && a < n && b < n &&
            seen.insert(octilinear::key(std::min(a, b), std::max(a, b))).second)
            links.emplace_back(a, b);
    const auto crosses = [&](const std::vector<QPointF>& p, std::pair<int, int> s,
                             std::pair<int, int> t) {
        const auto side = [](QPointF o, QPointF a, QPointF b) {
            const double v = (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
            return (v > 1e-9) - (v < -1e-9);
        };
        return side(p[s.first], p[s.second], p[t.first]) *
                       side(p[s.first], p[s.second], p[t.second]) <
                   0 &&
               side(p[t.first], p[t.second], p[s.first]) *
                       side(p[t.first], p[t.second], p[s.second]) <
                   0;
    };
    int count = 0;
    for (std::size_t i = 0; i < links.size(); ++i)
        for (std::size_t j = i + 1; j < links.size(); ++j) {
            const auto [a, b] = links[i];
            const auto [c, d] = links[j];
            if (a == c || a == d || b == c || b == d)
                continue;
            if (crosses(placed, links[i], links[j]) &&
                !crosses(geography.points, links[i], links[j]))
                ++count;
        }
    return count;
}

} // namespace lirsk

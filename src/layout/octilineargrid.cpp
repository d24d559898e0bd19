// What a place on the grid would cross, cover or turn out of order, and taking a place.

#include "layout/octilineargrid.h"

namespace lirsk::octilinear {

namespace {

// Whether point p lies on segment a-b, ends included.
bool onSegment(QPoint p, QPoint a, QPoint b) {
    return cross(a, b, p) == 0 && std::min(a.x(), b.x()) <= p.x() &&
           p.x() <= std::max(a.x(), b.x()) && std::min(a.y(), b.y()) <= p.y() &&
           p.y() <= std::max(a.y(), b.y());
}

// Whether two segments get in each other's way: they overlap, one runs through an end of the
// other, or they cross where their links do not cross on the ground.
bool clash(const Segment& s, const Segment& t, const std::unordered_set<std::uint64_t>& allowed) {
    const bool sharedEnd = s.a == t.a || s.a == t.b || s.b == t.a || s.b == t.b;
    if (sharedEnd) {
        const QPoint shared = (s.a == t.a || s.a == t.b) ? s.a : s.b;
        const QPoint sOther = shared == s.a ? s.b : s.a;
        const QPoint tOther = shared == t.a ? t.b : t.a;
        if (sOther == tOther)
            return true;
        return cross(shared, sOther, tOther) == 0 &&
               (long long)(sOther.x() - shared.x()) * (tOther.x() - shared.x()) +
                       (long long)(sOther.y() - shared.y()) * (tOther.y() - shared.y()) >
                   0;
    }
    const int d1 = sign(cross(s.a, s.b, t.a)), d2 = sign(cross(s.a, s.b, t.b));
    const int d3 = sign(cross(t.a, t.b, s.a)), d4 = sign(cross(t.a, t.b, s.b));
    if (d1 * d2 < 0 && d3 * d4 < 0)
        return !allowed.contains(key(std::min(s.link, t.link), std::max(s.link, t.link)));
    return onSegment(t.a, s.a, s.b) || onSegment(t.b, s.a, s.b) || onSegment(s.a, t.a, t.b) ||
           onSegment(s.b, t.a, t.b);
}

} // namespace

// Whether a segment gets in the way of what is drawn or pending; when crossings are allowed it
// never does, but each one it would make is counted.
bool Layout::conflicts(const Segment& s, const std::vector<Segment>& pending) const {
    const bool found = inTheWay(s, pending);
    if (m_relaxed < 3)
        return found;
    m_clashes += found;
    return false;
}

bool Layout::inTheWay(const Segment& s, const std::vector<Segment>& pending) const {
    bool found = false;
    forCells(s.a, s.b, [&](std::uint64_t cell) {
        if (found)
            return;
        const auto it = m_segmentIndex.find(cell);
        if (it != m_segmentIndex.end())
            for (int t : it->second)
                if (clash(s, m_segments[t], m_crossingOnGround)) {
                    found = true;
                    return;
                }
    });
    if (found)
        return true;
    // No station other than its ends on the new segment, and those beside it on their side.
    const int steps = octilinearSteps(s.b - s.a);
    const QPoint unit = unitOf(s.b - s.a);
    for (int k = 1; k < steps; ++k) {
        const QPoint p = s.a + unit * k;
        if (m_nodeAt.contains(key(p.x(), p.y())) ||
            (m_relaxed == 0 && m_reservedCells.contains(key(p.x(), p.y()))))
            return true;
    }
    // The cells beside the segment: across it, and for a diagonal also those half a step off.
    const bool diagonal = unit.x() != 0 && unit.y() != 0;
    for (int k = 0; m_relaxed == 0 && k <= steps; ++k)
        for (const QPoint off : kDirection) {
            const int along = QPoint::dotProduct(off, unit);
            if (along != 0 && !(along == 1 && diagonal && (off.x() == 0 || off.y() == 0)))
                continue;
            const QPoint p = s.a + unit * k + off;
            const auto it = m_nodeAt.find(key(p.x(), p.y()));
            if (it != m_nodeAt.end() && !sideKept(s, it->second, p))
                return true;
        }
    for (const Segment& t : pending)
        if (clash(s, t, m_crossingOnGround))
            return true;
    return false;
}

// Whether a station beside a drawn link is on the side of it that it is on on the ground. Only a
// station beside the link both on the ground (between its ends) and in the drawing (between its
// ends, at most about a step away) counts: farther apart, the drawing may bend the ground.
bool Layout::sideKept(const Segment& s, int node, QPoint at) const {
    const auto [u, v] = m_links[std::size_t(s.link)];
    if (node == u || node == v || at == s.a || at == s.b)
        return true;
    const QPointF drawn(s.b - s.a);
    QPointF gu = m_input.points[u], gv = m_input.points[v];
    if (QPointF::dotProduct(gv - gu, drawn) < 0)
        std::swap(gu, gv);
    const QPointF ground = gv - gu, g = m_input.points[node] - gu;
    const double groundLength = QPointF::dotProduct(ground, ground);
    const double drawnLength = QPointF::dotProduct(drawn, drawn);
    if (groundLength <= 0 || drawnLength <= 0)
        return true;
    const double t = QPointF::dotProduct(g, ground) / groundLength;
    const double tDrawn = QPointF::dotProduct(QPointF(at - s.a), drawn) / drawnLength;
    const long long side = cross(s.a, s.b, at);
    if (t <= 0 || t >= 1 || tDrawn <= 0 || tDrawn >= 1 || side * side > 2 * drawnLength)
        return true;
    const double groundSide = ground.x() * g.y() - ground.y() * g.x();
    return side == 0 || (side > 0) == (groundSide > 0);
}

// Whether a station at p keeps its side of every link drawn near it.
bool Layout::besideRightly(int node, QPoint p) const {
    if (m_relaxed > 0)
        return true;
    bool kept = true;
    forCells(p - QPoint(1, 1), p + QPoint(1, 1), [&](std::uint64_t cell) {
        const auto it = m_segmentIndex.find(cell);
        if (it != m_segmentIndex.end())
            for (int t : it->second)
                kept = kept && sideKept(m_segments[std::size_t(t)], node, p);
    });
    return kept;
}

bool Layout::nodeBlocked(QPoint p, const std::vector<std::pair<int, QPoint>>& pending) const {
    if (m_nodeAt.contains(key(p.x(), p.y())) ||
        (m_relaxed == 0 && m_reservedCells.contains(key(p.x(), p.y()))))
        return true;
    for (const auto& [node, at] : pending)
        if (at == p)
            return true;
    bool found = false;
    forCells(p, p, [&](std::uint64_t cell) {
        const auto it = m_segmentIndex.find(cell);
        if (it != m_segmentIndex.end())
            for (int t : it->second)
                found = found || onSegment(p, m_segments[t].a, m_segments[t].b);
    });
    return found;
}

// Whether the links drawn at a junction, with the pending ones, run around it in the order of
// their geographic directions.
bool Layout::keepsOrder(int node, const std::vector<Segment>& pending) const {
    if (m_adjacent[node].size() < 3)
        return true;
    struct Around {
        double ground, drawn;
    };
    std::vector<Around> around;
    const QPointF g = m_input.points[node];
    for (auto [next, link] : m_adjacent[node]) {
        QPoint other;
        bool drawn = false;
        for (const Segment& s : pending)
            if (s.link == link) {
                other = s.a == m_cell[node] ? s.b : s.a;
                drawn = true;
            }
        if (!drawn && m_placed[node] && m_placed[next]) {
            other = m_cell[next];
            drawn = true;
        }
        if (drawn)
            around.push_back(
                {angleOf(m_input.points[next] - g), angleOf(QPointF(other - m_cell[node]))});
    }
    if (around.size() < 3)
        return true;
    std::sort(around.begin(), around.end(),
              [](const Around& a, const Around& b) { return a.ground < b.ground; });
    // Drawn angles in ground order must go round once: exactly one descent in the cycle.
    int descents = 0;
    for (std::size_t k = 0; k < around.size(); ++k)
        if (around[(k + 1) % around.size()].drawn <= around[k].drawn)
            ++descents;
    return descents == 1;
}

void Layout::commit(const Candidate& c) {
    for (const auto& [node, at] : c.places) {
        m_cell[node] = at;
        m_placed[node] = true;
        m_nodeAt[key(at.x(), at.y())] = node;
        const QPointF g = m_input.points[std::size_t(node)] / m_unit;
        m_fit.count += 1;
        m_fit.ground += g;
        m_fit.grid += QPointF(at);
        m_fit.groundSquares += QPointF::dotProduct(g, g);
        m_fit.products += QPointF::dotProduct(g, QPointF(at));
    }
    for (const Segment& s : c.segments) {
        const int index = int(m_segments.size());
        m_segments.push_back(s);
        forCells(s.a, s.b, [&](std::uint64_t cell) { m_segmentIndex[cell].push_back(index); });
    }
}

} // namespace lirsk::octilinear

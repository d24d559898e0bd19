#include "layout/schematicrepair.h"

#include <QPointF>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <unordered_set>

// A local repair in the spirit of the metro-map literature's post-processing (as in Nöllenburg
// and Wolff's and in Bast, Brosi and Storandt's octilinear drawings: a layout that is not perfect
// mended station by station): each move is taken only if it makes the drawing better and no
// worse in any respect.

namespace lirsk {

namespace {

constexpr QPoint kAxes[4] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
// How many times the reach a station of a new crossing may go: a crossing misleads more than a
// station a little further from where the grid put it.
constexpr int kCrossingReach = 3;

bool isOctilinear(QPoint d) {
    return d != QPoint() && (d.x() == 0 || d.y() == 0 || std::abs(d.x()) == std::abs(d.y()));
}

QPoint unitOf(QPoint d) {
    return {(d.x() > 0) - (d.x() < 0), (d.y() > 0) - (d.y() < 0)};
}

template <class P> double side(P o, P a, P b) {
    return double(a.x() - o.x()) * (b.y() - o.y()) - double(a.y() - o.y()) * (b.x() - o.x());
}

template <class P> bool properlyCross(P a, P b, P c, P d) {
    if (std::max(a.x(), b.x()) < std::min(c.x(), d.x()) ||
        std::max(c.x(), d.x()) < std::min(a.x(), b.x()) ||
        std::max(a.y(), b.y()) < std::min(c.y(), d.y()) ||
        std::max(c.y(), d.y()) < std::min(a.y(), b.y()))
        return false;
    const auto sign = [](double v) { return (v > 1e-9) - (v < -1e-9); };
    return sign(side(a, b, c)) * sign(side(a, b, d)) < 0 &&
           sign(side(c, d, a)) * sign(side(c, d, b)) < 0;
}

// Where the line through w1 along a1 meets the line through w2 along a2, when at a whole pixel.
std::optional<QPoint> meeting(QPoint w1, QPoint a1, QPoint w2, QPoint a2) {
    const int det = a2.x() * a1.y() - a1.x() * a2.y();
    const QPoint d = w2 - w1;
    const int numerator = a2.x() * d.y() - a2.y() * d.x();
    if (det == 0 || numerator % det != 0)
        return std::nullopt;
    return w1 + a1 * (numerator / det);
}

double squaredDistanceToSegment(QPoint p, QPoint a, QPoint b) {
    const QPointF ab(b - a), ap(p - a);
    const double length = QPointF::dotProduct(ab, ab);
    const double t = length > 0 ? std::clamp(QPointF::dotProduct(ap, ab) / length, 0.0, 1.0) : 0.0;
    const QPointF off = ap - ab * t;
    return QPointF::dotProduct(off, off);
}

// How a group of stations stands: links out of the eight directions, new crossings, and stations
// or links closer than the gap. Better means fewer of some and no more of any.
struct Standing {
    int bent = 0, crossings = 0, crowding = 0, disorder = 0, stretched = 0;
    bool betterThan(const Standing& o) const {
        return bent <= o.bent && crossings <= o.crossings && crowding <= o.crowding &&
               disorder <= o.disorder && stretched <= o.stretched &&
               (bent < o.bent || crossings < o.crossings);
    }
};

class Repair {
public:
    Repair(const OctilinearInput& geography, std::vector<QPoint>& placed, int reach, int gap);
    void run();

private:
    Standing standing(const std::vector<int>& stations) const;
    bool tryMoves(const std::vector<std::pair<int, QPoint>>& moves, const Standing* now = nullptr);
    void moveAlone(int station, int reachFactor);
    void shiftRun(int fixed, int first);
    std::vector<int> neighbours(int station) const;
    bool inGroundOrder(int station) const;

    const OctilinearInput& m_ground;
    std::vector<QPoint>& m_placed;
    int m_reach, m_gap;
    std::vector<std::pair<int, int>> m_links;
    std::vector<std::vector<int>> m_linksAt;
    std::vector<std::vector<int>> m_walkingTo;
    std::unordered_set<std::uint64_t> m_crossingOnGround;
};

std::uint64_t pairKey(int a, int b) {
    return (std::uint64_t(std::min(a, b)) << 32) | std::uint32_t(std::max(a, b));
}

Repair::Repair(const OctilinearInput& geography, std::vector<QPoint>& placed, int reach, int gap)
    : m_ground(geography), m_placed(placed), m_reach(reach), m_gap(gap), m_linksAt(placed.size()),
      m_walkingTo(placed.size()) {
    std::unordered_set<std::uint64_t> seen;
    const int count = int(placed.size());
    for (auto [a, b] : geography.links)
        if (a != b && a >= 0 && b >= 0 && a < count && b < count &&
            seen.insert(pairKey(a, b)).second) {
            m_linksAt[std::size_t(a)].push_back(int(m_links.size()));
            m_linksAt[std::size_t(b)].push_back(int(m_links.size()));
            m_links.emplace_back(a, b);
        }
    for (auto [a, b] : geography.walks)
        if (a != b && a >= 0 && b >= 0 && a < count && b < count) {
            m_walkingTo[std::size_t(a)].push_back(b);
            m_walkingTo[std::size_t(b)].push_back(a);
        }
    const auto& g = geography.points;
    for (std::size_t i = 0; i < m_links.size(); ++i)
        for (std::size_t j = i + 1; j < m_links.size(); ++j) {
            const auto [a, b] = m_links[i];
            const auto [c, d] = m_links[j];
            if (properlyCross(g[std::size_t(a)], g[std::size_t(b)], g[std::size_t(c)],
                              g[std::size_t(d)]))
                m_crossingOnGround.insert(pairKey(int(i), int(j)));
        }
}

Standing Repair::standing(const std::vector<int>& stations) const {
    std::vector<int> links;
    for (int s : stations)
        links.insert(links.end(), m_linksAt[std::size_t(s)].begin(),
                     m_linksAt[std::size_t(s)].end());
    std::sort(links.begin(), links.end());
    links.erase(std::unique(links.begin(), links.end()), links.end());
    const auto at = [&](int station) { return m_placed[std::size_t(station)]; };
    Standing result;
    const double gap = double(m_gap) * m_gap, clearance = gap / 4;
    for (int e : links) {
        const auto [a, b] = m_links[std::size_t(e)];
        result.bent += !isOctilinear(at(b) - at(a));
        for (std::size_t f = 0; f < m_links.size(); ++f) {
            const auto [c, d] = m_links[f];
            if (a == c || a == d || b == c || b == d ||
                (int(f) < e && std::binary_search(links.begin(), links.end(), int(f))))
                continue;
            result.crossings += properlyCross(at(a), at(b), at(c), at(d)) &&
                                !m_crossingOnGround.contains(pairKey(e, int(f)));
        }
        const int left = std::min(at(a).x(), at(b).x()) - m_gap;
        const int right = std::max(at(a).x(), at(b).x()) + m_gap;
        const int top = std::min(at(a).y(), at(b).y()) - m_gap;
        const int bottom = std::max(at(a).y(), at(b).y()) + m_gap;
        for (std::size_t v = 0; v < m_placed.size(); ++v) {
            const QPoint p = m_placed[v];
            if (p.x() >= left && p.x() <= right && p.y() >= top && p.y() <= bottom && int(v) != a &&
                int(v) != b)
                result.crowding += squaredDistanceToSegment(p, at(a), at(b)) < clearance;
        }
    }
    std::vector<int> ordered = stations;
    for (int s : stations)
        for (int w : m_walkingTo[std::size_t(s)]) {
            const QPoint d = m_placed[std::size_t(w)] - at(s);
            result.stretched += QPoint::dotProduct(d, d) > m_reach * m_reach;
        }
    for (int s : stations) {
        for (std::size_t v = 0; v < m_placed.size(); ++v) {
            const QPointF d(m_placed[v] - at(s));
            result.crowding += int(v) != s && QPointF::dotProduct(d, d) < gap;
        }
        const std::vector<int> around = neighbours(s);
        ordered.insert(ordered.end(), around.begin(), around.end());
    }
    std::sort(ordered.begin(), ordered.end());
    ordered.erase(std::unique(ordered.begin(), ordered.end()), ordered.end());
    for (int s : ordered)
        result.disorder += !inGroundOrder(s);
    return result;
}

// Whether the links at a station run around it in the order of their directions on the ground.
bool Repair::inGroundOrder(int station) const {
    const std::vector<int> around = neighbours(station);
    if (around.size() < 3)
        return true;
    std::vector<std::pair<double, double>> angles; // on the ground, drawn
    const QPointF g = m_ground.points[std::size_t(station)];
    const QPoint p = m_placed[std::size_t(station)];
    for (int w : around) {
        const QPointF dg = m_ground.points[std::size_t(w)] - g;
        const QPoint dp = m_placed[std::size_t(w)] - p;
        angles.emplace_back(std::atan2(dg.y(), dg.x()), std::atan2(dp.y(), dp.x()));
    }
    std::sort(angles.begin(), angles.end());
    int descents = 0;
    for (std::size_t k = 0; k < angles.size(); ++k)
        descents += angles[(k + 1) % angles.size()].second <= angles[k].second;
    return descents == 1;
}

bool Repair::tryMoves(const std::vector<std::pair<int, QPoint>>& moves, const Standing* now) {
    std::vector<int> stations;
    std::vector<QPoint> before;
    for (const auto& [s, to] : moves) {
        stations.push_back(s);
        before.push_back(m_placed[std::size_t(s)]);
    }
    const Standing old = now ? *now : standing(stations);
    for (const auto& [s, to] : moves)
        m_placed[std::size_t(s)] = to;
    if (standing(stations).betterThan(old))
        return true;
    for (std::size_t k = 0; k < moves.size(); ++k)
        m_placed[std::size_t(moves[k].first)] = before[k];
    return false;
}

std::vector<int> Repair::neighbours(int station) const {
    std::vector<int> result;
    for (int e : m_linksAt[std::size_t(station)]) {
        const auto [a, b] = m_links[std::size_t(e)];
        result.push_back(a == station ? b : a);
    }
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    return result;
}

// The station alone to the places near it where the lines through its neighbours in the eight
// directions meet (or onto one such line), the best one that is better.
void Repair::moveAlone(int station, int reachFactor) {
    const QPoint here = m_placed[std::size_t(station)];
    const std::vector<int> around = neighbours(station);
    std::vector<QPoint> places;
    for (std::size_t i = 0; i < around.size(); ++i) {
        const QPoint w1 = m_placed[std::size_t(around[i])];
        for (const QPoint a1 : kAxes) {
            // Onto the line itself, at the nearest whole pixels.
            const QPoint off = here - w1;
            const int length = a1.x() * a1.x() + a1.y() * a1.y();
            const int along = off.x() * a1.x() + off.y() * a1.y();
            const int low = int(std::floor(double(along) / length));
            places.push_back(w1 + a1 * low);
            places.push_back(w1 + a1 * (low + 1));
            for (std::size_t j = i + 1; j < around.size(); ++j) {
                const QPoint w2 = m_placed[std::size_t(around[j])];
                for (const QPoint a2 : kAxes)
                    if (const auto meet = meeting(w1, a1, w2, a2))
                        places.push_back(*meet);
            }
        }
    }
    const double reach = double(m_reach) * m_reach * reachFactor * reachFactor;
    const Standing now = standing({station});
    std::sort(places.begin(), places.end(), [&](QPoint a, QPoint b) {
        return QPoint::dotProduct(a - here, a - here) < QPoint::dotProduct(b - here, b - here);
    });
    for (const QPoint to : places) {
        const QPoint d = to - here;
        if (to == here || QPoint::dotProduct(d, d) > reach)
            continue;
        if (tryMoves({{station, to}}, &now))
            return;
    }
}

// The straight run of a line from `first` on, away from `fixed`, shifted across itself so that
// the link between them runs along it; the station where the run bends moves to where its next
// link keeps its direction, a terminus with the run.
void Repair::shiftRun(int fixed, int first) {
    std::vector<int> run{first};
    int previous = fixed;
    QPoint unit;
    std::vector<std::pair<int, QPoint>> moves;
    QPoint shift;
    for (;;) {
        const int here = run.back();
        std::vector<int> next = neighbours(here);
        std::erase(next, previous);
        if (next.empty()) { // a terminus: it moves with the run
            moves.emplace_back(here, m_placed[std::size_t(here)] + shift);
            break;
        }
        if (next.size() != 1 || run.size() > 40)
            return;
        const QPoint step = m_placed[std::size_t(next[0])] - m_placed[std::size_t(here)];
        if (!isOctilinear(step))
            return;
        if (run.size() == 1) {
            unit = unitOf(step);
            const QPoint off = m_placed[std::size_t(fixed)] - m_placed[std::size_t(first)];
            const int length = QPoint::dotProduct(unit, unit);
            const int along = QPoint::dotProduct(off, unit);
            if (along % length != 0)
                return;
            shift = off - unit * (along / length);
            if (shift == QPoint() || QPoint::dotProduct(shift, shift) > m_reach * m_reach)
                return;
        } else if (unitOf(step) != unit) {
            // The bend: on the run's new line where the next link keeps its direction.
            const auto meet = meeting(m_placed[std::size_t(here)] + shift, unit,
                                      m_placed[std::size_t(next[0])], unitOf(step));
            if (!meet)
                return;
            moves.emplace_back(here, *meet);
            break;
        }
        moves.emplace_back(here, m_placed[std::size_t(here)] + shift);
        previous = here;
        run.push_back(next[0]);
    }
    tryMoves(moves);
}

void Repair::run() {
    for (int pass = 0; pass < 6; ++pass) {
        std::vector<bool> wanted(m_placed.size(), false), crossing(m_placed.size(), false);
        std::vector<std::pair<int, int>> bent;
        for (std::size_t e = 0; e < m_links.size(); ++e) {
            const auto [a, b] = m_links[e];
            if (!isOctilinear(m_placed[std::size_t(b)] - m_placed[std::size_t(a)])) {
                bent.emplace_back(a, b);
                wanted[std::size_t(a)] = wanted[std::size_t(b)] = true;
            }
            for (std::size_t f = e + 1; f < m_links.size(); ++f) {
                const auto [c, d] = m_links[f];
                if (a == c || a == d || b == c || b == d ||
                    m_crossingOnGround.contains(pairKey(int(e), int(f))))
                    continue;
                const auto at = [&](int v) { return m_placed[std::size_t(v)]; };
                if (properlyCross(at(a), at(b), at(c), at(d)))
                    for (int v : {a, b, c, d})
                        wanted[std::size_t(v)] = crossing[std::size_t(v)] = true;
            }
        }
        const std::vector<QPoint> before = m_placed;
        for (auto [a, b] : bent) {
            shiftRun(a, b);
            shiftRun(b, a);
        }
        for (std::size_t v = 0; v < wanted.size(); ++v)
            if (wanted[v])
                moveAlone(int(v), crossing[v] ? kCrossingReach : 1);
        if (m_placed == before)
            break;
    }
}

} // namespace

void repairSchematic(const OctilinearInput& geography, std::vector<QPoint>& placed, int reach,
                     int gap) {
    Repair(geography, placed, reach, gap).run();
}

} // namespace lirsk

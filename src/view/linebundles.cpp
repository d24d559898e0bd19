#include "view/linebundles.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace lirsk {

namespace {

// A route with no colour of its own is drawn in dark grey.
constexpr Colour kPlainLine = 0x404040;
// How far along a shared stretch two routes are followed to find where they part.
constexpr int kLongestStretch = 32;
// The most routes drawn side by side over one link (the first rows of the route table).
constexpr std::size_t kMostSideBySide = 32;

std::uint64_t pairOf(StopIndex x, StopIndex y) {
    const auto [a, b] = std::minmax(x, y);
    return (std::uint64_t(std::uint32_t(a)) << 32) | std::uint32_t(b);
}

struct Vector {
    double x, y;
};

Vector centreOf(const GraphMap& map, StopIndex stop) {
    const Stop& s = map.stop(stop);
    return {s.Left + s.Radius * 1.0, s.Top + s.Radius * 1.0};
}

// The angle from one direction to the next, negative turning left on the screen (y downwards).
double turn(const Vector& in, const Vector& out) {
    return std::atan2(in.x * out.y - in.y * out.x, in.x * out.x + in.y * out.y);
}

} // namespace

LineBundles::LineBundles(const GraphMap& map, const MapDescription& description) {
    for (const DescribedRoute& route : description.routes)
        m_colours.push_back(route.color.value_or(kPlainLine));
    const StopIdLookup byId(map);
    LinkLookup links(map);
    for (const DescribedLink& link : description.links) {
        const StopIndex from = byId.find(link.from), to = byId.find(link.to);
        if (from == NoStop || to == NoStop || from == to || links.find(from, to) < 0)
            continue;
        const auto [it, added] = m_byPair.emplace(pairOf(from, to), int(m_bundles.size()));
        if (added)
            m_bundles.push_back({std::min(from, to), std::max(from, to), {}});
        std::vector<int>& routes = m_bundles[std::size_t(it->second)].routes;
        for (const int route : link.routes)
            if (route >= 0 && route < int(m_colours.size()))
                routes.push_back(route);
    }
    m_atStop.resize(std::size_t(map.stopCount()));
    for (std::size_t k = 0; k < m_bundles.size(); ++k) {
        m_atStop[std::size_t(m_bundles[k].a)].push_back(int(k));
        m_atStop[std::size_t(m_bundles[k].b)].push_back(int(k));
    }
    // Whether an express runs along the stopping lines is a fact of the ground: a schematic
    // bends the lines at stations it passes by, the express still runs along them.
    if (description.layouts && description.layouts->schematicShown) {
        GraphMap ground = map;
        const StopIdLookup byId(map);
        for (const LaidOutStop& place : description.layouts->geographic)
            if (const StopIndex stop = byId.find(place.stopId); stop != NoStop) {
                ground.stop(stop).Left = place.left;
                ground.stop(stop).Top = place.top;
            }
        drawExpressAlongLocal(ground);
    } else {
        drawExpressAlongLocal(map);
    }
    for (auto& stopBundles : m_atStop)
        stopBundles.clear();
    for (std::size_t k = 0; k < m_bundles.size(); ++k) {
        std::vector<int>& routes = m_bundles[k].routes;
        std::sort(routes.begin(), routes.end());
        routes.erase(std::unique(routes.begin(), routes.end()), routes.end());
        if (routes.size() > kMostSideBySide)
            routes.resize(kMostSideBySide);
        if (routes.empty())
            continue;
        m_atStop[std::size_t(m_bundles[k].a)].push_back(int(k));
        m_atStop[std::size_t(m_bundles[k].b)].push_back(int(k));
    }
    std::vector<std::vector<int>> ordered;
    for (LineBundle& bundle : m_bundles) {
        LineBundle copy = bundle;
        order(map, copy);
        ordered.push_back(std::move(copy.routes));
    }
    for (std::size_t k = 0; k < m_bundles.size(); ++k)
        m_bundles[k].routes = std::move(ordered[k]);
}

// An express passes stations without stopping, so its link joins two stations that are not
// neighbours; on a transit map it runs beside the stopping lines over the track between them. A
// link is drawn that way when a chain of shorter links leads from one end to the other through
// stations that lie along it, in order, near the straight line, and not much longer than it;
// otherwise it stays a line of its own. The shortest such links go first, so a longer express
// runs beside the stopping lines, not beside another express.
void LineBundles::drawExpressAlongLocal(const GraphMap& map) {
    std::vector<std::pair<double, int>> byLength;
    for (std::size_t k = 0; k < m_bundles.size(); ++k) {
        const Vector a = centreOf(map, m_bundles[k].a), b = centreOf(map, m_bundles[k].b);
        byLength.emplace_back(std::hypot(b.x - a.x, b.y - a.y), int(k));
    }
    std::sort(byLength.begin(), byLength.end());
    std::vector<bool> alongOthers(m_bundles.size(), false);
    for (const auto& [length, k] : byLength) {
        if (length <= 0)
            continue;
        const std::vector<int> chain = localChain(map, k, length, alongOthers);
        if (chain.empty())
            continue;
        std::vector<StopIndex>& through = m_through[k];
        StopIndex at = m_bundles[std::size_t(k)].a;
        for (auto link = chain.begin(); link + 1 != chain.end(); ++link) {
            const LineBundle& step = m_bundles[std::size_t(*link)];
            at = step.a == at ? step.b : step.a;
            through.push_back(at);
        }
        for (const int link : chain)
            m_bundles[std::size_t(link)].routes.insert(m_bundles[std::size_t(link)].routes.end(),
                                                       m_bundles[std::size_t(k)].routes.begin(),
                                                       m_bundles[std::size_t(k)].routes.end());
        m_bundles[std::size_t(k)].routes.clear();
        alongOthers[std::size_t(k)] = true;
    }
}

// The chain of links along which bundle k is drawn, or none (see drawExpressAlongLocal).
std::vector<int> LineBundles::localChain(const GraphMap& map, int k, double length,
                                         const std::vector<bool>& alongOthers) const {
    // A station counts as along the link within this share of its length from the straight
    // line, and the chain may be this much longer than the link.
    constexpr double kAside = 0.3, kLonger = 1.3;
    constexpr int kMostLinks = 48;
    const LineBundle& bundle = m_bundles[std::size_t(k)];
    const Vector a = centreOf(map, bundle.a), b = centreOf(map, bundle.b);
    const Vector along{(b.x - a.x) / length, (b.y - a.y) / length};
    const auto progress = [&](StopIndex stop, double* aside) {
        const Vector p = centreOf(map, stop);
        const Vector d{p.x - a.x, p.y - a.y};
        *aside = std::abs(d.x * along.y - d.y * along.x);
        return (d.x * along.x + d.y * along.y) / length;
    };
    // Depth first from a, each step to a station further along than the last.
    struct Step {
        StopIndex stop;
        double at;
        double walked;
        std::size_t next; // the next of the stop's bundles to try
        int via;          // the bundle that led here
    };
    std::vector<Step> path{{bundle.a, 0, 0, 0, -1}};
    // Each station is tried once: a chain through it failed the first time, or was found.
    std::unordered_set<StopIndex> tried{bundle.a};
    while (!path.empty()) {
        Step& top = path.back();
        const std::vector<int>& out = m_atStop[std::size_t(top.stop)];
        if (top.next == out.size() || int(path.size()) > kMostLinks) {
            path.pop_back();
            continue;
        }
        const int link = out[top.next++];
        if (link == k || alongOthers[std::size_t(link)])
            continue;
        const LineBundle& step = m_bundles[std::size_t(link)];
        const StopIndex to = step.a == top.stop ? step.b : step.a;
        const Vector p = centreOf(map, top.stop), q = centreOf(map, to);
        const double walked = top.walked + std::hypot(q.x - p.x, q.y - p.y);
        if (walked > kLonger * length)
            continue;
        if (to == bundle.b) {
            std::vector<int> chain{link};
            for (std::size_t i = path.size(); i-- > 1;)
                chain.push_back(path[i].via);
            return chain;
        }
        double aside = 0;
        const double at = progress(to, &aside);
        if (at > top.at && at < 1 && aside <= kAside * length && tried.insert(to).second)
            path.push_back({to, at, walked, 0, link});
    }
    return {};
}

std::vector<StopIndex> LineBundles::drawnThrough(StopIndex from, StopIndex to) const {
    const int k = find(from, to);
    const auto it = m_through.find(k);
    if (k < 0 || it == m_through.end())
        return {};
    std::vector<StopIndex> through = it->second;
    if (m_bundles[std::size_t(k)].a != from)
        std::reverse(through.begin(), through.end());
    return through;
}

int LineBundles::find(StopIndex x, StopIndex y) const {
    const auto it = m_byPair.find(pairOf(x, y));
    return it == m_byPair.end() ? -1 : it->second;
}

const std::vector<int>& LineBundles::at(StopIndex stop) const {
    static const std::vector<int> none;
    return std::size_t(stop) < m_atStop.size() ? m_atStop[std::size_t(stop)] : none;
}

int LineBundles::widthAt(StopIndex stop) const {
    std::size_t most = 0;
    for (const int k : at(stop))
        most = std::max(most, m_bundles[std::size_t(k)].routes.size());
    return int(most);
}

Colour LineBundles::colour(int route) const {
    return route >= 0 && route < int(m_colours.size()) ? m_colours[std::size_t(route)] : kPlainLine;
}

bool LineBundles::carries(int bundle, int route) const {
    const std::vector<int>& routes = m_bundles[std::size_t(bundle)].routes;
    return std::binary_search(routes.begin(), routes.end(), route);
}

// Which side r1 takes of r2 where they part, following both from the bundle on over `to` while
// they go on together: -1 left (it turns more to the left there), 1 right, 0 when they do not
// part within reach or part the same way.
int LineBundles::splitSide(const GraphMap& map, int bundle, StopIndex from, StopIndex to, int r1,
                           int r2) const {
    for (int step = 0; step < kLongestStretch; ++step) {
        std::vector<int> next1, next2;
        for (const int k : at(to)) {
            if (k == bundle)
                continue;
            if (carries(k, r1))
                next1.push_back(k);
            if (carries(k, r2))
                next2.push_back(k);
        }
        if (next1.size() == 1 && next1 == next2) {
            const LineBundle& b = m_bundles[std::size_t(next1.front())];
            bundle = next1.front();
            from = to;
            to = b.a == to ? b.b : b.a;
            continue;
        }
        const Vector p = centreOf(map, from), q = centreOf(map, to);
        const Vector in{q.x - p.x, q.y - p.y};
        const auto meanTurn = [&](const std::vector<int>& next) {
            double sum = 0;
            for (const int k : next) {
                const LineBundle& b = m_bundles[std::size_t(k)];
                const Vector r = centreOf(map, b.a == to ? b.b : b.a);
                sum += turn(in, {r.x - q.x, r.y - q.y});
            }
            return next.empty() ? 0.0 : sum / double(next.size());
        };
        const double t1 = meanTurn(next1), t2 = meanTurn(next2);
        constexpr double kSameWay = 1e-6;
        return t1 < t2 - kSameWay ? -1 : t1 > t2 + kSameWay ? 1 : 0;
    }
    return 0;
}

// Which of two routes goes left of the other going from a to b: -1 r1, 1 r2, 0 either.
int LineBundles::compare(const GraphMap& map, const LineBundle& bundle, int r1, int r2) const {
    const int k = find(bundle.a, bundle.b);
    if (const int ahead = splitSide(map, k, bundle.a, bundle.b, r1, r2))
        return ahead;
    // Behind, going the other way, left and right change places.
    return -splitSide(map, k, bundle.b, bundle.a, r1, r2);
}

// The order of a bundle's routes after the line-ordering idea of LOOM (Bast, Brosi, Storandt:
// metro maps with lines side by side ordered so that they cross and part as little as they can):
// two routes that run together keep the order of the place where they part, on every link of
// their common stretch, so they cross nowhere but where one must pass the other. Each route's
// place is the number of routes it goes right of.
void LineBundles::order(const GraphMap& map, LineBundle& bundle) const {
    const std::size_t n = bundle.routes.size();
    std::vector<int> rightOf(n, 0);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j) {
            const int side = compare(map, bundle, bundle.routes[i], bundle.routes[j]);
            if (side > 0)
                ++rightOf[i];
            else if (side < 0)
                ++rightOf[j];
        }
    std::vector<std::size_t> places(n);
    for (std::size_t i = 0; i < n; ++i)
        places[i] = i;
    std::stable_sort(places.begin(), places.end(),
                     [&](std::size_t x, std::size_t y) { return rightOf[x] < rightOf[y]; });
    std::vector<int> routes;
    for (const std::size_t i : places)
        routes.push_back(bundle.routes[i]);
    bundle.routes = std::move(routes);
}

} // namespace lirsk

#include "route/findway.h"

#include <QCoreApplication>

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>
#include <utility>

namespace lirsk {

namespace {

// The searches' messages, translated in the context "RouteSearch".
struct RouteSearchText {
    Q_DECLARE_TR_FUNCTIONS(RouteSearch)
};

// Ids up to this many per stop are looked up in a table; sparser ids by binary search.
constexpr qint64 kDenseIdsPerStop = 4;
constexpr qint64 kDenseIdsSlack = 64;

// Whether the exact sum of the numbers is below zero; nothing when some is not finite. The sum
// is kept as parts that do not overlap (each one the rounding error of the next), so the
// largest part has the sign of the exact sum.
std::optional<bool> sumIsNegative(const std::vector<double>& values) {
    std::vector<double> parts;
    for (double x : values) {
        if (!std::isfinite(x))
            return std::nullopt;
        std::size_t kept = 0;
        for (double y : parts) {
            if (std::abs(x) < std::abs(y))
                std::swap(x, y);
            const double high = x + y;
            const double low = y - (high - x);
            if (low != 0)
                parts[kept++] = low;
            x = high;
        }
        parts.resize(kept);
        parts.push_back(x);
    }
    return !parts.empty() && parts.back() < 0;
}

} // namespace

QString negativeCycleText() {
    return RouteSearchText::tr("Путь не найден: на карте есть дороги с отрицательной длиной, и "
                               "кратчайший путь не определён.");
}

RouteIndex::RouteIndex(const GraphMap& map) : map_(map) {
    rankStops();
    indexLinks();
}

// The first stop in list order of each id takes part, ranked by ascending id.
void RouteIndex::rankStops() {
    const auto& stops = map_.stops();
    const qint64 n = qint64(stops.size());

    int minId = 0, maxId = -1;
    for (const Stop& stop : stops) {
        if (maxId < minId) {
            minId = maxId = stop.Id;
            continue;
        }
        minId = std::min(minId, stop.Id);
        maxId = std::max(maxId, stop.Id);
    }

    if (n > 0 && minId >= 0 && qint64(maxId) < kDenseIdsPerStop * n + kDenseIdsSlack) {
        std::vector<int> firstAt(std::size_t(maxId) + 1, -1);
        for (qint64 i = 0; i < n; ++i) {
            int& slot = firstAt[std::size_t(stops[std::size_t(i)].Id)];
            if (slot < 0)
                slot = int(i);
        }
        for (const int at : firstAt)
            if (at >= 0)
                byRank_.push_back(at);
    } else if (n > 0) {
        std::vector<std::pair<int, int>> idAt; // (id, list position)
        idAt.reserve(std::size_t(n));
        for (qint64 i = 0; i < n; ++i)
            idAt.emplace_back(stops[std::size_t(i)].Id, int(i));
        std::sort(idAt.begin(), idAt.end());
        for (std::size_t k = 0; k < idAt.size(); ++k)
            if (k == 0 || idAt[k].first != idAt[k - 1].first)
                byRank_.push_back(idAt[k].second);
    }
    rankOfStop_.assign(std::size_t(n), -1);
    for (std::size_t r = 0; r < byRank_.size(); ++r)
        rankOfStop_[std::size_t(byRank_[r])] = int(r);
}

// Two walks over the links, sources in ascending rank. Of several links from one source to one
// target only the first feeds the target; each of them activates that first link's slot. The
// first walk counts each target's slots, the second places them.
void RouteIndex::indexLinks() {
    const std::size_t m = byRank_.size();
    outStart_.assign(m + 1, 0);
    // For each target, the source that reached it last: a later link of the same pair is not
    // the first.
    std::vector<int> lastSource(m, -1);
    const auto walk = [&](const auto& visit) {
        std::fill(lastSource.begin(), lastSource.end(), -1);
        for (std::size_t u = 0; u < m; ++u)
            for (const Link& link : map_.stop(byRank_[u]).Links)
                if (const int v = rankOf(link.To); v >= 0) {
                    const bool first = lastSource[std::size_t(v)] != int(u);
                    lastSource[std::size_t(v)] = int(u);
                    visit(int(u), v, link, first);
                }
    };
    std::vector<int> nextSlot(m + 1, 0); // by target, once the counts are summed
    std::size_t links = 0;
    walk([&](int, int v, const Link&, bool first) {
        nextSlot[std::size_t(v) + 1] += first;
        ++links;
    });
    // Slots by target; the sources are walked in ascending rank, so each target's come out
    // sorted.
    for (std::size_t r = 0; r < m; ++r)
        nextSlot[r + 1] += nextSlot[r];
    slots_.resize(std::size_t(nextSlot[m]));
    outLinks_.reserve(links);
    std::vector<int> firstSlot(m, -1); // by target: the slot of the current source's first link
    std::size_t placed = 0;
    walk([&](int u, int v, const Link& link, bool first) {
        for (; placed < std::size_t(u); ++placed)
            outStart_[placed + 1] = int(outLinks_.size());
        if (first) {
            firstSlot[std::size_t(v)] = nextSlot[std::size_t(v)]++;
            slots_[std::size_t(firstSlot[std::size_t(v)])] = {link.Length, link.Time, u, v};
        }
        outLinks_.push_back({firstSlot[std::size_t(v)], v});
        nonNegative_ = nonNegative_ && link.Length >= 0;
    });
    for (; placed < m; ++placed)
        outStart_[placed + 1] = int(outLinks_.size());
}

int RouteIndex::rankOf(StopIndex stop) const {
    return stop >= 0 && std::size_t(stop) < rankOfStop_.size() ? rankOfStop_[std::size_t(stop)]
                                                               : -1;
}

void RouteIndex::writeBack(int startRank, SearchResult& result) const {
    const std::size_t n = rankOfStop_.size();
    result.pathLength.assign(n, UnreachedLength);
    result.pathTime.assign(n, UnreachedLength);
    result.pathPrev.assign(n, -1);
    if (startRank < 0)
        return;
    for (std::size_t r = 0; r < byRank_.size(); ++r) {
        const auto stop = std::size_t(byRank_[r]);
        const Label& label = label_[r];
        result.pathLength[stop] = label.length;
        result.pathTime[stop] = label.time;
        if (label.prev >= 0)
            result.pathPrev[stop] = map_.stop(byRank_[std::size_t(label.prev)]).Id;
    }
}

bool RouteIndex::negativeCycleFrom(const std::vector<int>& stops) {
    const std::int64_t checkStart = walks_;
    std::vector<double> lengths;
    for (const int from : stops) {
        const std::int64_t walk = ++walks_;
        int u = from;
        while (u >= 0 && walked_[std::size_t(u)] <= checkStart) {
            walked_[std::size_t(u)] = walk;
            u = label_[std::size_t(u)].prev;
        }
        // Stopped at a stop an earlier walk of this check went through, or at the start of
        // every way: no new cycle.
        if (u < 0 || walked_[std::size_t(u)] != walk)
            continue;
        lengths.clear();
        int v = u;
        do {
            lengths.push_back(label_[std::size_t(v)].via);
            v = label_[std::size_t(v)].prev;
        } while (v != u);
        if (sumIsNegative(lengths).value_or(false))
            return true;
    }
    return false;
}

void RouteIndex::resetScratch(int startRank) {
    const std::size_t m = byRank_.size();
    label_.assign(m, Label{UnreachedLength, UnreachedLength, 0, -1, -1});
    walked_.assign(m, 0);
    walks_ = 0;
    activeWords_.assign((slots_.size() + 63) / 64, 0);
    activeSummary_.assign((activeWords_.size() + 63) / 64, 0);
    anyActive_ = false;
    label_[std::size_t(startRank)].length = 0;
    label_[std::size_t(startRank)].time = 0;
}

void RouteIndex::activateLinksOf(int from) {
    std::uint64_t* const words = activeWords_.data();
    std::uint64_t* const summary = activeSummary_.data();
    // Without negative lengths a stop cannot lower the stop it was last lowered from, and that
    // one (lower in rank) is tried before the stop can be lowered again in the pass.
    const int back = label_[std::size_t(from)].prev;
    const int skipped = nonNegative_ && back < from ? back : -1;
    const int begin = outStart_[std::size_t(from)], end = outStart_[std::size_t(from) + 1];
    // A skipped link still makes its target a candidate: the next pass runs, as the search would
    // run it, and lowers nothing through that link.
    anyActive_ = anyActive_ || begin < end;
    for (int k = begin; k < end; ++k) {
        const OutLink& out = outLinks_[std::size_t(k)];
        if (out.to == skipped)
            continue;
        const auto x = std::size_t(out.slot);
        words[x >> 6] |= std::uint64_t(1) << (x & 63);
        summary[x >> 12] |= std::uint64_t(1) << ((x >> 6) & 63);
    }
}

// The start's successors take the length of the start's link to them, unconditionally; false
// when the start has none.
bool RouteIndex::seed(StopIndex start, int startRank) {
    bool anySuccessor = false;
    for (const Link& link : map_.stop(start).Links) {
        const int t = rankOf(link.To);
        if (t < 0)
            continue;
        anySuccessor = true;
        Label& target = label_[std::size_t(t)];
        if (target.changedPass != 0) {
            target.changedPass = 0;
            activateLinksOf(t);
            // The passes go on with the first link to t, whichever of several seeded it.
            target.via = link.Length;
        }
        target.length = link.Length;
        target.time = link.Time;
        target.prev = startRank;
    }
    return anySuccessor;
}

// Pass `pass`: the candidates in ascending rank, each with its feeders of the frontier in
// ascending rank, that is the active slots in ascending order; the stops it lowers go to
// `changed`, and the active slots are cleared.
void RouteIndex::runPass(int pass, std::vector<int>& changed, qint64& lowerings) {
    Label* const label = label_.data();
    const Slot* const bySlot = slots_.data();
    std::uint64_t* const words = activeWords_.data();
    std::uint64_t* const summary = activeSummary_.data();
    for (std::size_t sw = 0; sw < activeSummary_.size(); ++sw) {
        for (std::uint64_t sbits = summary[sw]; sbits; sbits &= sbits - 1) {
            const std::size_t w = (sw << 6) + std::size_t(std::countr_zero(sbits));
            for (std::uint64_t bits = words[w]; bits; bits &= bits - 1) {
                const Slot& in = bySlot[(w << 6) + std::size_t(std::countr_zero(bits))];
                const Label& feeder = label[in.from];
                Label& target = label[in.to];
                const double candidate = feeder.length + in.length;
                if (candidate < target.length) {
                    ++lowerings;
                    target.length = candidate;
                    target.time = feeder.time + in.time;
                    target.prev = in.from;
                    target.via = in.length;
                    if (target.changedPass != pass) {
                        target.changedPass = pass;
                        changed.push_back(in.to);
                    }
                }
            }
            words[w] = 0;
        }
        summary[sw] = 0;
    }
}

// The passes, until one lowers nothing (or its stops have no links), the cap is hit, or a cycle
// of negative length shows; true in the last case.
bool RouteIndex::runPasses(SearchResult& result) {
    const int cap = int(byRank_.size());
    std::vector<int> changed;
    for (int pass = 1; anyActive_; ++pass) {
        if (pass > cap) {
            result.passesCapped = true;
            break;
        }
        result.passes = pass;
        changed.clear();
        anyActive_ = false;
        runPass(pass, changed, result.lowerings);
        for (const int u : changed)
            activateLinksOf(u);
        if (std::has_single_bit(unsigned(pass)) && negativeCycleFrom(changed))
            return true;
    }
    return false;
}

// The way back along PathPrev from f to s, with its sums; a way without repeated stops has fewer
// steps than there are stops.
void RouteIndex::rebuildWay(int s, int f, SearchResult& result) const {
    std::vector<StopIndex> way{byRank_[std::size_t(f)]};
    for (int cur = f; cur != s;) {
        cur = label_[std::size_t(cur)].prev;
        if (cur < 0 || way.size() >= byRank_.size()) {
            result.outcome = SearchOutcome::LoopingWay;
            return;
        }
        way.push_back(byRank_[std::size_t(cur)]);
    }
    double length = 0, time = 0;
    for (std::size_t k = 0; k + 1 < way.size(); ++k) {
        const Link* link = map_.FindLink(way[k + 1], way[k]);
        length += link->Length;
        time += link->Time;
    }
    result.outcome = SearchOutcome::Found;
    result.way = std::move(way);
    result.length = length;
    result.time = time;
}

SearchResult RouteIndex::search(StopIndex start, StopIndex finish) {
    SearchResult result;
    const int s = rankOf(start);
    const int f = rankOf(finish);
    if (s < 0 || f < 0) {
        writeBack(-1, result);
        return result;
    }
    resetScratch(s);
    if (!seed(start, s)) {
        writeBack(s, result);
        result.outcome = SearchOutcome::NoWayMessage;
        return result;
    }
    const bool negativeCycle = runPasses(result);
    writeBack(s, result);
    if (negativeCycle)
        result.outcome = SearchOutcome::NegativeCycle;
    else if (label_[std::size_t(f)].length != UnreachedLength)
        rebuildWay(s, f, result);
    return result;
}

SearchResult FindWay(const GraphMap& map, StopIndex start, StopIndex finish) {
    RouteIndex index(map);
    return index.search(start, finish);
}

} // namespace lirsk

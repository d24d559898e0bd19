#include "route/findway.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>
#include <utility>

namespace lirsk {

namespace {

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
    return QStringLiteral("Путь не найден: на карте есть дороги с отрицательной длиной, и "
                          "кратчайший путь не определён.");
}

RouteIndex::RouteIndex(const GraphMap& map) : map_(map) {
    const auto& stops = map.stops();
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

    // The first stop in list order of each id takes part, ranked by ascending id.
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

    const std::size_t m = byRank_.size();
    inStart_.assign(m + 1, 0);
    outStart_.assign(m + 1, 0);

    // One walk over the links, sources in ascending rank. Of several links from one source to
    // one target only the first feeds the target.
    struct Kept {
        int to, from;
        double length, time;
    };
    std::size_t links = 0;
    for (const StopIndex stop : byRank_)
        links += map.stop(stop).Links.size();
    std::vector<Kept> kept;
    kept.reserve(links);
    outTargets_.reserve(links);
    std::vector<int> lastSource(m, -1);
    for (std::size_t u = 0; u < m; ++u) {
        for (const Link& link : map.stop(byRank_[u]).Links) {
            const int v = rankOf(link.To);
            if (v < 0)
                continue;
            outTargets_.push_back(v);
            if (lastSource[std::size_t(v)] != int(u)) {
                lastSource[std::size_t(v)] = int(u);
                kept.push_back({v, int(u), link.Length, link.Time});
                ++inStart_[std::size_t(v) + 1];
            }
        }
        outStart_[u + 1] = int(outTargets_.size());
    }

    // Incoming lists by target; the sources were walked in ascending rank, so each comes out
    // sorted.
    for (std::size_t r = 0; r < m; ++r)
        inStart_[r + 1] += inStart_[r];
    inLinks_.resize(kept.size());
    inTimes_.resize(kept.size());
    std::vector<int> inFill(inStart_.begin(), inStart_.end() - 1);
    for (const Kept& k : kept) {
        const std::size_t at = std::size_t(inFill[std::size_t(k.to)]++);
        inLinks_[at] = {k.length, k.from};
        inTimes_[at] = k.time;
    }
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
        result.pathLength[stop] = node_[r].length;
        result.pathTime[stop] = time_[r];
        if (prev_[r] >= 0)
            result.pathPrev[stop] = map_.stop(byRank_[std::size_t(prev_[r])]).Id;
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
            u = prev_[std::size_t(u)];
        }
        // Stopped at a stop an earlier walk of this check went through, or at the start of
        // every way: no new cycle.
        if (u < 0 || walked_[std::size_t(u)] != walk)
            continue;
        lengths.clear();
        int v = u;
        do {
            lengths.push_back(via_[std::size_t(v)]);
            v = prev_[std::size_t(v)];
        } while (v != u);
        if (sumIsNegative(lengths).value_or(false))
            return true;
    }
    return false;
}

SearchResult RouteIndex::search(StopIndex start, StopIndex finish) {
    SearchResult result;
    const std::size_t m = byRank_.size();
    const int s = rankOf(start);
    const int f = rankOf(finish);
    if (s < 0 || f < 0) {
        writeBack(-1, result);
        return result;
    }

    node_.assign(m, Node{UnreachedLength, 0, 0});
    time_.assign(m, UnreachedLength);
    prev_.assign(m, -1);
    via_.assign(m, 0);
    walked_.assign(m, 0);
    walks_ = 0;
    candidateWords_.assign((m + 63) / 64, 0);
    candidateSummary_.assign((candidateWords_.size() + 63) / 64, 0);
    node_[std::size_t(s)].length = 0;
    time_[std::size_t(s)] = 0;

    Node* const node = node_.data();
    double* const times = time_.data();
    int* const prev = prev_.data();
    double* const via = via_.data();
    std::uint64_t* const words = candidateWords_.data();
    std::uint64_t* const summary = candidateSummary_.data();
    const std::size_t summaryCount = candidateSummary_.size();
    const int* const inStart = inStart_.data();
    const InLink* const inLinks = inLinks_.data();
    const double* const inTimes = inTimes_.data();
    const int* const outStart = outStart_.data();
    const int* const outTargets = outTargets_.data();

    bool anyCandidate = false;
    const auto addCandidatesOf = [&](int from) {
        for (int k = outStart[from]; k < outStart[from + 1]; ++k) {
            const auto x = std::size_t(outTargets[k]);
            words[x >> 6] |= std::uint64_t(1) << (x & 63);
            summary[x >> 12] |= std::uint64_t(1) << ((x >> 6) & 63);
            anyCandidate = true;
        }
    };

    // Seed: the start's successors take the length of the start's link to them, unconditionally.
    bool anySuccessor = false;
    for (const Link& link : map_.stop(start).Links) {
        const int t = rankOf(link.To);
        if (t < 0)
            continue;
        anySuccessor = true;
        if (node[t].frontierPass != 1) {
            node[t].frontierPass = 1;
            addCandidatesOf(t);
            // The passes go on with the first link to t, whichever of several seeded it.
            via[t] = link.Length;
        }
        node[t].length = link.Length;
        times[t] = link.Time;
        prev[t] = s;
    }
    if (!anySuccessor) {
        writeBack(s, result);
        result.outcome = SearchOutcome::NoWayMessage;
        return result;
    }

    // Passes. Pass p examines its candidates, in ascending rank, against the frontier marked p;
    // the stops it lowers form the frontier of pass p + 1 and their targets its candidates.
    const int cap = int(m);
    std::vector<int> changed;
    for (int pass = 1; anyCandidate; ++pass) {
        if (pass > cap) {
            result.passesCapped = true;
            break;
        }
        result.passes = pass;
        changed.clear();
        anyCandidate = false;
        for (std::size_t sw = 0; sw < summaryCount; ++sw) {
            for (std::uint64_t sbits = summary[sw]; sbits; sbits &= sbits - 1) {
                const std::size_t w = (sw << 6) + std::size_t(std::countr_zero(sbits));
                for (std::uint64_t bits = words[w]; bits; bits &= bits - 1) {
                    const int v = int((w << 6) + std::size_t(std::countr_zero(bits)));
                    Node& target = node[v];
                    for (int k = inStart[v]; k < inStart[v + 1]; ++k) {
                        const InLink& in = inLinks[k];
                        const Node& feeder = node[in.from];
                        if (feeder.frontierPass != pass)
                            continue;
                        const double candidate = feeder.length + in.length;
                        if (candidate < target.length) {
                            ++result.lowerings;
                            target.length = candidate;
                            times[v] = times[in.from] + inTimes[k];
                            prev[v] = in.from;
                            via[v] = in.length;
                            if (target.changedPass != pass) {
                                target.changedPass = pass;
                                changed.push_back(v);
                            }
                        }
                    }
                }
                words[w] = 0;
            }
            summary[sw] = 0;
        }
        for (const int u : changed) {
            node[u].frontierPass = pass + 1;
            addCandidatesOf(u);
        }
        if (std::has_single_bit(unsigned(pass)) && negativeCycleFrom(changed)) {
            writeBack(s, result);
            result.outcome = SearchOutcome::NegativeCycle;
            return result;
        }
    }
    writeBack(s, result);

    if (node[f].length == UnreachedLength)
        return result;

    // The way back along PathPrev; a way without repeated stops has fewer than m steps.
    std::vector<StopIndex> way{byRank_[std::size_t(f)]};
    for (int cur = f; cur != s;) {
        cur = prev_[std::size_t(cur)];
        if (cur < 0 || way.size() >= m) {
            result.outcome = SearchOutcome::LoopingWay;
            return result;
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
    return result;
}

SearchResult FindWay(const GraphMap& map, StopIndex start, StopIndex finish) {
    RouteIndex index(map);
    return index.search(start, finish);
}

} // namespace lirsk

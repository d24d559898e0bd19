#include "timetable/feeddata.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <numeric>
#include <unordered_map>

namespace lirsk {

namespace {

constexpr double kEarthRadius = 6371008.8;
// Stations closer than this are joined on foot, each to its kNearest nearest.
constexpr double kWalkingDistance = 250;
constexpr std::size_t kNearest = 8;

double radians(double degrees) {
    return degrees * std::numbers::pi / 180;
}

std::uint64_t pairKey(std::uint32_t a, std::uint32_t b) {
    return (std::uint64_t(a) << 32) | b;
}

// Walking seconds for a distance: a metre a second, rounded up.
std::uint32_t walkSeconds(double metres) {
    return std::uint32_t(std::ceil(metres));
}

} // namespace

double greatCircleMetres(double lat1, double lon1, double lat2, double lon2) {
    const double dLat = radians(lat2 - lat1), dLon = radians(lon2 - lon1);
    const double a =
        std::sin(dLat / 2) * std::sin(dLat / 2) +
        std::cos(radians(lat1)) * std::cos(radians(lat2)) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(a)));
}

namespace {

// Each station's 8 nearest stations closer than the walking distance, equally near ones by
// stop_id, both ways: the walk's seconds by the pair (from << 32 | to).
std::unordered_map<std::uint64_t, std::uint32_t>
nearestWalks(const std::vector<Timetable::Station>& placed,
             const std::vector<const QByteArray*>& stopIds) {
    const auto distance = [&](std::uint32_t a, std::uint32_t b) {
        return greatCircleMetres(placed[a].lat, placed[a].lon, placed[b].lat, placed[b].lon);
    };
    // Cells of the walking distance in latitude, and at least that in longitude everywhere.
    double widest = 0;
    for (const Timetable::Station& s : placed)
        widest = std::max(widest, std::abs(s.lat));
    const double cellLat = kWalkingDistance / (kEarthRadius * std::numbers::pi / 180);
    const double cellLon =
        cellLat / std::max(0.01, std::cos(radians(std::min(89.0, widest + 0.01))));
    const auto cellOf = [&](const Timetable::Station& s) {
        return std::pair(std::int64_t(std::floor(s.lat / cellLat)),
                         std::int64_t(std::floor(s.lon / cellLon)));
    };
    std::map<std::pair<std::int64_t, std::int64_t>, std::vector<std::uint32_t>> cells;
    for (std::uint32_t s = 0; s < placed.size(); ++s)
        cells[cellOf(placed[s])].push_back(s);

    std::unordered_map<std::uint64_t, std::uint32_t> walks;
    std::vector<std::pair<double, std::uint32_t>> near;
    for (std::uint32_t s = 0; s < placed.size(); ++s) {
        near.clear();
        const auto [row, column] = cellOf(placed[s]);
        for (std::int64_t r = row - 1; r <= row + 1; ++r)
            for (std::int64_t c = column - 2; c <= column + 2; ++c) {
                const auto it = cells.find({r, c});
                for (std::size_t k = 0; it != cells.end() && k < it->second.size(); ++k) {
                    const std::uint32_t other = it->second[k];
                    const double metres = other != s ? distance(s, other) : kWalkingDistance;
                    if (metres < kWalkingDistance)
                        near.emplace_back(metres, other);
                }
            }
        std::sort(near.begin(), near.end(), [&](const auto& x, const auto& y) {
            return x.first != y.first ? x.first < y.first : *stopIds[x.second] < *stopIds[y.second];
        });
        near.resize(std::min(near.size(), kNearest));
        for (const auto& [metres, other] : near) {
            walks[pairKey(s, other)] = walkSeconds(metres);
            walks[pairKey(other, s)] = walkSeconds(metres);
        }
    }
    return walks;
}

} // namespace

void addWalks(const std::vector<FeedStation>& stations, const std::vector<FeedStop>& stops,
              const std::vector<FeedTransfer>& transfers, TimetableParts& parts) {
    const std::vector<Timetable::Station>& placed = parts.stations;
    std::vector<const QByteArray*> stopIds(placed.size());
    for (const FeedStation& s : stations)
        if (s.index >= 0)
            stopIds[std::size_t(s.index)] = &stops[std::size_t(s.stop)].id;
    std::unordered_map<std::uint64_t, std::uint32_t> walks = nearestWalks(placed, stopIds);

    // transfers.txt between two stations: the least of its times replaces the distance walk in
    // its direction, and a refusal removes the walk whatever the other rows say.
    std::unordered_map<std::uint64_t, std::uint32_t> listed;
    std::vector<std::uint64_t> refused;
    for (const FeedTransfer& t : transfers) {
        const int a = stations[std::size_t(t.from)].index, b = stations[std::size_t(t.to)].index;
        if (a < 0 || b < 0 || a == b || t.type > 3)
            continue;
        const std::uint64_t key = pairKey(std::uint32_t(a), std::uint32_t(b));
        if (t.type == 3) {
            refused.push_back(key);
            continue;
        }
        const std::uint32_t seconds =
            t.minTime >= 0 ? std::uint32_t(t.minTime)
                           : walkSeconds(greatCircleMetres(
                                 placed[std::size_t(a)].lat, placed[std::size_t(a)].lon,
                                 placed[std::size_t(b)].lat, placed[std::size_t(b)].lon));
        const auto [it, added] = listed.emplace(key, seconds);
        if (!added)
            it->second = std::min(it->second, seconds);
    }
    for (const auto& [key, seconds] : listed)
        walks[key] = seconds;
    for (const std::uint64_t key : refused)
        walks.erase(key);

    std::vector<std::pair<std::uint64_t, std::uint32_t>> sorted(walks.begin(), walks.end());
    std::sort(sorted.begin(), sorted.end());
    parts.walkFirst.assign(placed.size() + 1, 0);
    for (const auto& [key, seconds] : sorted) {
        // A walk of three days or more is no walk.
        if (seconds >= kMaxStopTime)
            continue;
        ++parts.walkFirst[std::size_t(key >> 32) + 1];
        parts.walks.push_back({std::uint32_t(key & 0xFFFFFFFF), seconds});
    }
    std::partial_sum(parts.walkFirst.begin(), parts.walkFirst.end(), parts.walkFirst.begin());
}

} // namespace lirsk

#include "import/shapeprojection.h"

#include "import/geo.h"

namespace lirsk::gtfs {

namespace {

// A stop is looked for along the shape from the stop before it no further than this many
// segments, nor than the larger of kWindowMetres and kWindowRatio times the straight line from
// the stop before: a shape far from its stops is not searched to its end for every stop.
constexpr std::size_t kWindowSegments = 10000;
constexpr double kWindowMetres = 5000;
constexpr double kWindowRatio = 3;

} // namespace

std::vector<double> positionsOnShape(const Shape& shape, const std::vector<double>& cumulative,
                                     const std::vector<std::pair<double, double>>& stops,
                                     ImportProgress& progress) {
    std::vector<double> result;
    std::size_t segment = 0;
    double along = 0;
    for (std::size_t n = 0; n < stops.size(); ++n) {
        const auto [lat, lon] = stops[n];
        const double window =
            n == 0 ? HUGE_VAL
                   : std::max(kWindowMetres,
                              kWindowRatio *
                                  greatCircle(stops[n - 1].first, stops[n - 1].second, lat, lon));
        double best = -1, bestDistance = 0;
        std::size_t bestSegment = segment;
        std::size_t k = segment;
        for (; k + 1 < shape.size() && k - segment < kWindowSegments &&
               cumulative[k] - along <= window;
             ++k) {
            const ShapePoint& p = shape[k];
            const ShapePoint& q = shape[k + 1];
            const double c = std::cos(radians((p.lat + q.lat) / 2));
            const double qx = radians(q.lon - p.lon) * c * kEarthRadius;
            const double qy = radians(q.lat - p.lat) * kEarthRadius;
            const double sx = radians(lon - p.lon) * c * kEarthRadius;
            const double sy = radians(lat - p.lat) * kEarthRadius;
            const double len2 = qx * qx + qy * qy;
            double t = len2 > 0 ? std::clamp((sx * qx + sy * qy) / len2, 0.0, 1.0) : 0;
            const double segmentLength = cumulative[k + 1] - cumulative[k];
            if (k == segment && cumulative[k] + t * segmentLength < along)
                t = segmentLength > 0 ? (along - cumulative[k]) / segmentLength : 0;
            const double dx = sx - t * qx, dy = sy - t * qy;
            const double distance = std::sqrt(dx * dx + dy * dy);
            // The earliest of nearly equal candidates wins; past a close one found, a few
            // kilometres more of shape cannot hold the stop.
            if (best < 0 || distance + 10 < bestDistance) {
                best = cumulative[k] + t * segmentLength;
                bestDistance = distance;
                bestSegment = k;
            }
            if (bestDistance < 150 && cumulative[k] - best > 3000)
                break;
        }
        if (best < 0)
            best = along;
        along = best;
        progress.tick(0, qint64(k - segment) / 16 + 1);
        segment = bestSegment;
        result.push_back(best);
    }
    return result;
}

const std::vector<double>& ShapeProjector::cumulative(int shape) {
    const Shape& points = shapes_[std::size_t(shape)];
    std::vector<double>& lengths = cumulative_[std::size_t(shape)];
    if (lengths.empty()) {
        lengths.push_back(0);
        for (std::size_t k = 1; k < points.size(); ++k) {
            lengths.push_back(lengths.back() + greatCircle(points[k - 1].lat, points[k - 1].lon,
                                                           points[k].lat, points[k].lon));
            progress_.tick(0);
        }
    }
    return lengths;
}

const std::vector<double>* ShapeProjector::positions(int shape, const std::vector<StopTime>& calls,
                                                     const StopTable& stops) {
    if (shape < 0 || shapes_[std::size_t(shape)].size() < 2)
        return nullptr;
    key_.assign(reinterpret_cast<const char*>(&shape), sizeof(int));
    for (const StopTime& c : calls)
        key_.append(reinterpret_cast<const char*>(&c.stop), sizeof(int));
    auto found = patterns_.find(key_);
    if (found == patterns_.end()) {
        places_.clear();
        for (const StopTime& c : calls)
            places_.push_back(stops.place(c.stop));
        found = patterns_
                    .emplace(key_, positionsOnShape(shapes_[std::size_t(shape)], cumulative(shape),
                                                    places_, progress_))
                    .first;
    }
    return &found->second;
}

} // namespace lirsk::gtfs

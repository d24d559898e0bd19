#pragma once

#include "import/gtfsfeed.h"
#include "import/importprogress.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// Where a trip's stops lie along its shape, for the lengths of its rides.

namespace lirsk::gtfs {

// Positions along a shape (metres from its start, cumulative[k] at point k) of the stops of one
// trip, each at or after the one before, so that a loop's last stop lands at its end and not
// back at its start.
std::vector<double> positionsOnShape(const Shape& shape, const std::vector<double>& cumulative,
                                     const std::vector<std::pair<double, double>>& stops,
                                     ImportProgress& progress);

// Positions on shapes, worked out once for each shape and sequence of stops.
class ShapeProjector {
public:
    ShapeProjector(const std::vector<Shape>& shapes, ImportProgress& progress)
        : shapes_(shapes), progress_(progress), cumulative_(shapes.size()) {}

    // The positions of a trip's calls along its shape; null when the trip has no shape of at
    // least two points.
    const std::vector<double>* positions(int shape, const std::vector<StopTime>& calls,
                                         const StopTable& stops);

private:
    const std::vector<double>& cumulative(int shape);

    const std::vector<Shape>& shapes_;
    ImportProgress& progress_;
    std::vector<std::vector<double>> cumulative_;
    std::unordered_map<std::string, std::vector<double>> patterns_;
    std::string key_;
    std::vector<std::pair<double, double>> places_;
};

} // namespace lirsk::gtfs

#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>

// Distances on the Earth's surface between points given in degrees.

namespace lirsk {

constexpr double kEarthRadius = 6371008.8; // metres, the mean radius

constexpr double radians(double degrees) {
    return degrees * std::numbers::pi / 180;
}

// The great-circle distance in metres (haversine).
inline double greatCircle(double lat1, double lon1, double lat2, double lon2) {
    const double dLat = radians(lat2 - lat1);
    const double dLon = radians(lon2 - lon1);
    const double a =
        std::sin(dLat / 2) * std::sin(dLat / 2) +
        std::cos(radians(lat1)) * std::cos(radians(lat2)) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(a)));
}

} // namespace lirsk

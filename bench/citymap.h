#pragma once

#include "model/graphmap.h"

#include <QString>

#include <memory>
#include <utility>

// City-sized maps for the window benchmarks, reproducible from their size.

namespace bench {

// A city of about `stops` stops on a square grid of streets 40 pixels apart: the streets along
// the rows are two-way roads, the avenues along the columns one-way arcs, downwards in even
// columns and upwards in odd ones (so every stop reaches every other), three links per stop.
// Lengths 80 to 200 m, about 5 m/s; each row is served by a bus route, each column by a
// trolleybus route.
std::unique_ptr<lirsk::GraphMap> cityMap(int stops);

// The radial network of the route benchmarks (networks.h) laid out as a map: the 64 lines as
// rays from the centre stop, their stations 16 pixels apart, each stop named after its line and
// station.
std::unique_ptr<lirsk::GraphMap> radialCityMap(int stops);

// The two stops of a map of about `stops` stops that lie farthest apart: the opposite corners
// of a city, the ends of two opposite lines of a radial network.
std::pair<lirsk::StopIndex, lirsk::StopIndex> farApart(const lirsk::GraphMap& map, bool radial);

// Writes cityMap(stops) to a map file, as a map of the given city (which chooses the background
// picture of the built-in cities); false with the error when that fails.
bool writeCityMap(int stops, const QString& path, QString* error, const QString& mapCity = {});
// Writes radialCityMap(stops) to a map file.
bool writeRadialMap(int stops, const QString& path, QString* error);

} // namespace bench

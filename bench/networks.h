#pragma once

#include "model/graphmap.h"

#include <memory>

// Generated networks for the route benchmarks, reproducible from their size.

namespace bench {

// A square grid of streets: roads between neighbours, one in ten of them a one-way arc, lengths
// 80 to 200 m, a speed of about 5 m/s.
std::unique_ptr<lirsk::GraphMap> gridNetwork(int stops);

// A metro-like radial network: 64 lines from the centre, rings joining neighbouring lines every
// eighth stop, stations 30 to 60 m apart along the lines (so that the whole network stays well
// under the 262 km the search takes for unreached).
std::unique_ptr<lirsk::GraphMap> radialNetwork(int stops);

// A city on a square grid of two-way streets 80 to 200 m long, each driven at its own speed (3 to
// 15 m/s, so that times are not proportional to lengths). Every row is a bus route, every column
// a trolleybus route, and every fourth row and fifth column also an express route over the same
// stops: each stop carries two to four overlapping routes.
std::unique_ptr<lirsk::GraphMap> routedCity(int stops);

} // namespace bench

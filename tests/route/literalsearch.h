#pragma once

#include "route/findway.h"

// The route search done the plain way, step by step: four flag sets indexed by stop Id, every
// link of the map scanned once per candidate to find its feeders, stops looked up by walking the
// stop list. Slow on purpose; the tests and the benchmarks hold the indexed search
// against it. Only for maps that keep the usual invariants (ids unique, 0 .. MaxStopId).
// Passes are capped and the way back is checked for loops as in the indexed search.

namespace lirsk::literal {

SearchResult FindWay(const GraphMap& map, StopIndex start, StopIndex finish);

} // namespace lirsk::literal

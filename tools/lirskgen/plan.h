#pragma once

#include "city.h"

#include <QImage>
#include <QList>
#include <QRect>

// The city plan under the Lirsk maps: river, parks, districts, railway and named streets.

namespace lirsk::city {

// Draws the plan. Street names keep clear of `keepClear` (the stops and their names on every
// map drawn over the plan), so that nothing printed on the plan hides under them.
QImage drawPlan(const City& city, const QList<QRect>& keepClear);

} // namespace lirsk::city

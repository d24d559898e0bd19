#pragma once

#include "model/graphmap.h"

#include <QJsonObject>
#include <QString>

// A map as JSON text, so that maps can be written and reviewed as text:
// {"header": {...}, "stops": [{..., "links": [{"to", "price", "length", "time", "is_arc"}]}]}.
// Stops in list order, links in each stop's list order, colours as unsigned 32-bit numbers.

namespace lirsk {

QJsonObject mapToJson(const GraphMap& map);

// Fills an empty map. Missing keys keep the values a new map or a new stop has; "is_arc" is
// derived, not read. The first stop in list order with an id answers for it in "to".
bool mapFromJson(const QJsonObject& json, GraphMap& map, QString* error);

} // namespace lirsk

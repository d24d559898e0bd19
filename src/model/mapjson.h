#pragma once

#include "model/graphmap.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

// A map as JSON text, so that maps can be written and reviewed as text:
// {"header": {...}, "stops": [{..., "links": [{"to", "price", "length", "time", "is_arc"}]}]}.
// Stops in list order, links in each stop's list order, colours as unsigned 32-bit numbers.

namespace lirsk {

QJsonObject mapToJson(const GraphMap& map);
// The JSON text of a map. The object above keeps a negative zero as the string "-0" (the
// toolkit's JSON numbers drop the sign of zero); the text has the number -0.0 there.
QByteArray mapToJsonText(const GraphMap& map,
                         QJsonDocument::JsonFormat format = QJsonDocument::Indented);

// Fills an empty map. Missing keys keep the values a new map or a new stop has; "is_arc" is
// derived, not read. The first stop in list order with an id answers for it in "to".
bool mapFromJson(const QJsonObject& json, GraphMap& map, QString* error);
// The same from JSON text, where a fraction may be the number -0.0 (or the string "-0").
bool mapFromJsonText(const QByteArray& text, GraphMap& map, QString* error);

} // namespace lirsk

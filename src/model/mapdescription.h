#pragma once

#include "model/graphmap.h"

#include <QList>
#include <QString>

#include <optional>

// A map's own description: a JSON file (UTF-8) beside the map with the same name and the
// extension .gafd. It gives a map that is not built in what the built-in table gives the others:
// the code letter, the route table, the fare rule and its unit, the picture and the title.

namespace lirsk {

struct DescribedRoute {
    QString code;   // the route's token in the stops' routes texts ("G1-tram")
    QString number; // what the traveller reads ("1")
    QString name;
    std::optional<Colour> color; // 0x00BBGGRR
};

struct MapDescription {
    QString mapCode;
    QList<DescribedRoute> routes;
    double baseFare = 0;
    double transferFare = 0;
    QString fareUnit = QStringLiteral("руб.");
    QString picture; // relative to the description's folder, or absolute
    QString title;
};

// "city.gaf" -> "city.gafd"; a path without the .gaf extension gets ".gafd" added.
QString descriptionPathFor(const QString& mapPath);

enum class DescriptionRead { Absent, Read, Broken };
// Reads the description beside mapPath, if there is one; Broken with the reason in error.
DescriptionRead readMapDescription(const QString& mapPath, MapDescription* description,
                                   QString* error);
QByteArray describeAsJson(const MapDescription& description);
// Writes the description beside mapPath through saveWholeFile.
bool saveMapDescription(const QString& mapPath, const MapDescription& description, QString* error);

// Writes the map's bytes to mapPath and, when given, its description beside it, as one save: the
// description first, and if the map then cannot be written the description file is put back as
// it was (or removed when there was none), so that neither is left without the other.
bool saveMapAndDescription(const QString& mapPath, const QByteArray& mapBytes,
                           const MapDescription* description, QString* error);

} // namespace lirsk
